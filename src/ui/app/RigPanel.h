#pragma once

#include "rig/RigConfig.h"

#include <QObject>
#include <QString>

class LampShape;
class QButtonGroup;
class QToolButton;
class RigControl;
struct Spot;

// The main window's rig buttons and what they drive: "Rig 1" and "Rig 2"
// (SpeedButton8/9, at most one down, both may be up) open their rig,
// "close" (SpeedButton10) closes it, the lamp Shape2 shows it. It keeps the
// rig state under the design's names (omni, sceltorig1, sceltorig2) and
// tunes the chosen rig: to the frequency digits of a clicked pane line by
// the panes' mode table, or to a DX window spot in the spot's own mode.
class RigPanel : public QObject
{
    Q_OBJECT
public:
    struct Buttons
    {
        QToolButton* rig1 = nullptr;  // SpeedButton8
        QToolButton* rig2 = nullptr;  // SpeedButton9
        QToolButton* close = nullptr; // SpeedButton10
        LampShape* lamp = nullptr;    // Shape2
    };

    RigPanel(RigBackend backend, Buttons buttons, QObject* parent = nullptr);

    RigControl* rigControl() const { return OmniRig; }
    bool isOpen() const { return omni; }
    bool isChosen(int rigNumber) const { return rigNumber == 1 ? sceltorig1 : sceltorig2; }

    // SpeedButton8Click / SpeedButton9Click: the open runs on the rig worker;
    // its outcome comes back to opened().
    void open(int rigNumber);
    // SpeedButton10Click.
    void close();
    // TuneRig: the frequency digits of a clicked line ("140250").
    void TuneRig(const QString& stringafreq);
    // A spot of the DX window, by its own mode.
    void tuneToSpot(const Spot& spot);
    // Alt+F2: the chosen rig steps to its next mode.
    void cycleMode();

private:
    void opened(int rigNumber, bool ok);

    Buttons m_buttons;
    RigControl* OmniRig = nullptr;
    QButtonGroup* RigButtons = nullptr;
    bool omni = false; // the rig-control connection is open
    bool sceltorig1 = false;
    bool sceltorig2 = false;
};
