#include "app/RigPanel.h"

#include "app/LampShape.h"
#include "rig/RigControl.h"
#include "rig/SpotTuning.h"
#include "settings/DesignLook.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QToolButton>

RigPanel::RigPanel(RigBackend backend, Buttons buttons, QObject* parent)
    : QObject(parent), m_buttons(buttons), OmniRig(new RigControl(std::move(backend), this))
{
    connect(OmniRig, &RigControl::opened, this, &RigPanel::opened);
    // Rig 1 and Rig 2: at most one down, both may be up.
    RigButtons = new QButtonGroup(this);
    RigButtons->setExclusive(false);
    RigButtons->addButton(m_buttons.rig1, 1);
    RigButtons->addButton(m_buttons.rig2, 2);
    connect(RigButtons, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool down) {
        if (!down)
            return;
        for (QAbstractButton* other : RigButtons->buttons()) {
            if (other != b)
                other->setChecked(false);
        }
    });
}

// "Rig 1" and "Rig 2" have already toggled as group buttons do when their
// handler runs.
void RigPanel::open(int rigNumber)
{
    OmniRig->open(rigNumber);
}

void RigPanel::opened(int rigNumber, bool ok)
{
    if (!ok) {
        // No message; the earlier state stays, only the close button goes.
        m_buttons.close->setEnabled(false);
        return;
    }
    m_buttons.lamp->setBrushColor(QColor::fromRgb(DesignLook::kLime));
    omni = true;
    sceltorig2 = rigNumber == 2;
    sceltorig1 = rigNumber == 1;
    m_buttons.close->setEnabled(true);
    (rigNumber == 1 ? m_buttons.rig1 : m_buttons.rig2)->setChecked(true);
}

void RigPanel::close()
{
    if (!omni)
        return;
    m_buttons.lamp->setBrushColor(QColor::fromRgb(DesignLook::kRed));
    omni = false;
    OmniRig->close();
    m_buttons.close->setEnabled(false);
    m_buttons.rig1->setChecked(false);
    m_buttons.rig2->setChecked(false);
    sceltorig1 = false;
    sceltorig2 = false;
}

void RigPanel::TuneRig(const QString& stringafreq)
{
    if (stringafreq.isEmpty())
        return;
    if (sceltorig1)
        OmniRig->tune(1, stringafreq);
    if (sceltorig2)
        OmniRig->tune(2, stringafreq);
}

void RigPanel::tuneToSpot(const Spot& spot)
{
    if (!omni)
        return;
    const RigTuning::TunePlan plan = SpotTuning::plan(spot);
    if (sceltorig1)
        OmniRig->tune(1, plan);
    if (sceltorig2)
        OmniRig->tune(2, plan);
}

void RigPanel::cycleMode()
{
    if (omni && sceltorig1)
        OmniRig->cycleMode(1);
    if (omni && sceltorig2)
        OmniRig->cycleMode(2);
}
