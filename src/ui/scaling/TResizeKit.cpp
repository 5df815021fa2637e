#include "scaling/TResizeKit.h"

#include "scaling/Taskbar.h"
#include "scaling/WindowPlacement.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBox>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace {

const char* const kIconReference = "resizeKitIconSize";

QList<TResizeKit*>& instances()
{
    static QList<TResizeKit*> list;
    return list;
}

// Fonts given in pixels keep their pixels; fonts given in points are drawn
// at the screen's density by Qt already.
bool inPixels(const QFont& f)
{
    return f.pixelSize() > 0;
}

int sizeOf(const QFont& f)
{
    return inPixels(f) ? f.pixelSize() : qRound(f.pointSizeF());
}

QFont withSize(QFont f, int size)
{
    size = std::max(size, 1);
    if (inPixels(f))
        f.setPixelSize(size);
    else
        f.setPointSize(size);
    return f;
}

// The children of a plain panel sit where the window's layout put them, so
// they are controls of the window too. The inner parts of a composite widget
// (a list's viewport, a combo box's button) and the children of a layout are
// placed by their own widget and are left alone.
bool holdsControls(const QWidget* w)
{
    if (w->layout())
        return false;
    if (qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QLabel*>(w) ||
        qobject_cast<const QSplitter*>(w) || qobject_cast<const QStackedWidget*>(w) ||
        qobject_cast<const QToolBox*>(w))
        return false;
    return qobject_cast<const QFrame*>(w) || qobject_cast<const QGroupBox*>(w) ||
           w->metaObject() == &QWidget::staticMetaObject;
}

bool isScrollPage(const QWidget* w)
{
    const QWidget* viewport = w->parentWidget();
    auto* box = viewport ? qobject_cast<const QScrollArea*>(viewport->parentWidget()) : nullptr;
    return box && box->widget() == w;
}

void collect(QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        out.append(w);
        if (holdsControls(w))
            collect(w, out);
        // The page of a scroll box is laid out like a panel; only its
        // position belongs to the scroll box.
        if (auto* box = qobject_cast<QScrollArea*>(w);
            box && box->widget() && !box->widgetResizable()) {
            out.append(box->widget());
            if (holdsControls(box->widget()))
                collect(box->widget(), out);
        }
    }
}

} // namespace

const QList<TResizeKit*>& TResizeKit::ReSizeInst()
{
    return instances();
}

TResizeKit* TResizeKit::attach(QWidget* owner, const Design& design)
{
    auto* kit = new TResizeKit(owner, design);
    kit->Loaded();
    return kit;
}

TResizeKit::TResizeKit(QWidget* owner, const Design& design)
    : QObject(owner), m_owner(owner), m_design(design)
{
    setObjectName(QStringLiteral("ResizeKit1"));
}

TResizeKit::~TResizeKit()
{
    instances().removeOne(this);
}

QList<TResizeKit::Control> TResizeKit::controls() const
{
    QList<QWidget*> widgets;
    if (!m_owner || m_owner->layout())
        return {};
    collect(m_owner, widgets);
    QList<Control> list;
    QHash<QString, int> seen;
    for (QWidget* w : widgets) {
        const QString name = w->objectName();
        if (FNoResizeCtls.contains(name))
            continue;
        list.append({w, name, seen[name]++});
    }
    return list;
}

void TResizeKit::Loaded()
{
    QWidget* owner = m_owner;
    FOwnerWidth = m_design.DesignFrmW;
    FOwnerHeight = m_design.DesignFrmH;
    if (QScreen* s = owner->screen()) {
        FRunDpiW = qRound(s->logicalDotsPerInchX());
        FRunDpiH = qRound(s->logicalDotsPerInchY());
    }
    const double dw = ScaleMath::densityFactor(m_design.DesignDpiW, FRunDpiW);
    const double dh = ScaleMath::densityFactor(m_design.DesignDpiH, FRunDpiH);

    instances().append(this);
    FOwnerFormName = owner->objectName();

    if (inPixels(owner->font()))
        owner->setFont(withSize(owner->font(), ScaleMath::round(sizeOf(owner->font()) / dw)));
    FOwnerFont = owner->font();
    m_ownerFontSet = sizeOf(FOwnerFont);

    const QList<Control> list = controls();
    for (const Control& c : list) {
        QWidget* w = c.widget;
        TCtrlInfo e;
        e.hasFont = true;
        e.ParentFont = e.OrgParentFont = !w->testAttribute(Qt::WA_SetFont);
        if (!e.ParentFont && inPixels(w->font()))
            w->setFont(withSize(w->font(), ScaleMath::round(sizeOf(w->font()) / dw)));
        e.fontSize = e.OldFontSize = sizeOf(w->font());
        if (c.name.trimmed().isEmpty()) {
            // A control without a name gets one, so its entry can be found.
            e.Name = ControlRegistry::addedName(++FAddCnt);
            w->setObjectName(e.Name);
        } else {
            e.Name = c.name;
        }
        e.reference = e.old = w->geometry();
        FCtrls.add(e);
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull())
            b->setProperty(
                kIconReference,
                ScaleMath::densityAdjusted(QRect(QPoint(), b->iconSize()), dw, dh).size());
    }

    // The reference layout is the design layout at this screen's density.
    const QList<Control> named = controls();
    for (const Control& c : named) {
        if (TCtrlInfo* e = FCtrls.find(c.name, c.occurrence)) {
            if (dw != 1.0 || dh != 1.0)
                c.widget->setGeometry(ScaleMath::densityAdjusted(e->reference, dw, dh));
            e->reference = e->old = c.widget->geometry();
        }
    }
    recordCounts(named);
    if (QScreen* s = owner->screen())
        FMaxSize = s->geometry().size();

    // Nothing else scales a window for a denser screen, so its client area
    // grows with its controls.
    if (dw != 1.0 || dh != 1.0)
        owner->resize(ScaleMath::round(FOwnerWidth / dw), ScaleMath::round(FOwnerHeight / dh));

    m_ownMinimum = owner->minimumSize();
    m_ownMaximum = owner->maximumSize();
    owner->installEventFilter(this);
}

void TResizeKit::recordCounts(const QList<Control>& list)
{
    FCtlCnt = list.size();
    FChildCtlCnt = 0;
    for (const Control& c : list)
        FChildCtlCnt += c.widget->children().size();
}

void TResizeKit::registerLate(const Control& c)
{
    QString name = c.name;
    if (name.trimmed().isEmpty()) {
        name = ControlRegistry::addedName(FAddCnt + 1);
        c.widget->setObjectName(name);
    }
    ++FAddCnt;
    const QVariant text = c.widget->property("text");
    if (text.isValid() && text.toString().startsWith(QLatin1String("RKitAdd")))
        c.widget->setProperty("text", QString());
    FCtrls.add(ControlRegistry::lateEntry(name, c.widget->geometry(), sizeOf(c.widget->font()),
                                          !c.widget->testAttribute(Qt::WA_SetFont), FPrev));
}

void TResizeKit::DynamicAdd()
{
    const QList<Control> list = controls();
    for (const Control& c : list) {
        if (c.name.trimmed().isEmpty() || c.occurrence >= FCtrls.count(c.name))
            registerLate(c);
    }
    recordCounts(controls());
}

void TResizeKit::DynamicDelete()
{
    const QList<Control> list = controls();
    QHash<QString, int> live;
    for (const Control& c : list)
        ++live[c.name];
    FCtrls.removeMissing(live);
    recordCounts(list);
}

// A window that gained or lost controls since the last registration (either
// count changed) is registered again: the new controls are added and the
// entries of the gone ones removed.
void TResizeKit::updateRegistry()
{
    const QList<Control> list = controls();
    int childCount = 0;
    for (const Control& c : list)
        childCount += c.widget->children().size();
    if (list.size() == FCtlCnt && childCount == FChildCtlCnt)
        return;
    DynamicDelete();
    DynamicAdd();
}

void TResizeKit::setNoResizeCtl(const QString& names)
{
    FNoResizeCtl = names;
    FNoResizeCtls = NameList(names);
}

void TResizeKit::setNoResizeFntCtl(const QString& names)
{
    FNoResizeFntCtl = names;
    FNoResizeFntCtls = NameList(names);
}

void TResizeKit::scaleFont(QWidget* w, TCtrlInfo& e, double factor)
{
    // Qt's counterpart of the parent-font flag: the control was never given
    // a font of its own.
    const bool parentFont = !w->testAttribute(Qt::WA_SetFont);
    e.ParentFont = parentFont;
    const int now = sizeOf(w->font());
    // The program gave the control a font of its own, or took it away, or
    // changed the size of its own font since the last pass: what it shows
    // now is the new reference.
    if (parentFont != e.OrgParentFont || (!parentFont && now != e.OldFontSize)) {
        e.fontSize = ScaleMath::referenceFromCurrent(now, FPrev.font);
        e.OrgParentFont = parentFont;
    }
    // A control that uses its parent's font ends with the parent's scaled
    // font. A style sheet (the window's themes) stops Qt from passing a
    // parent's font on, so the control is given it here, and keeps counting
    // as one that uses its parent's font.
    QWidget* parent = w->parentWidget();
    const int size = parentFont && parent ? sizeOf(parent->font())
                                          : ScaleMath::controlFontSize(e.fontSize, factor);
    if (now != size) {
        w->setFont(withSize(w->font(), size));
        w->setAttribute(Qt::WA_SetFont, !parentFont);
    }
    e.OldFontSize = sizeOf(w->font());
}

// A button's picture grows and shrinks with its button, like its text.
void TResizeKit::scaleIcon(QWidget* w, double factor)
{
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (!b || b->icon().isNull())
        return;
    // The size at factor 1.0 travels with the button.
    QSize reference = b->property(kIconReference).toSize();
    if (!reference.isValid()) {
        reference = QSize(ScaleMath::referenceFromCurrent(b->iconSize().width(), FPrev.font),
                          ScaleMath::referenceFromCurrent(b->iconSize().height(), FPrev.font));
        b->setProperty(kIconReference, reference);
    }
    b->setIconSize(QSize(ScaleMath::ownerFontSize(reference.width(), factor),
                         ScaleMath::ownerFontSize(reference.height(), factor)));
}

void TResizeKit::scalingPass(const QSize& client)
{
    QWidget* owner = m_owner;
    if (!owner || owner->isMinimized())
        return;
    const ScaleMath::Factors f =
        ScaleMath::passFactors(client, QSize(FOwnerWidth, FOwnerHeight), m_design.DesignDpiW,
                               m_design.DesignDpiH, FRunDpiW, FRunDpiH);
    updateRegistry();

    if (FResizeFont && !FNoResizeFntCtls.contains(owner->objectName())) {
        // A font the program gave the window since the last pass becomes
        // the reference.
        if (sizeOf(owner->font()) != m_ownerFontSet ||
            owner->font().family() != FOwnerFont.family())
            FOwnerFont = withSize(
                owner->font(), ScaleMath::referenceFromCurrent(sizeOf(owner->font()), FPrev.font));
        const int size = ScaleMath::ownerFontSize(sizeOf(FOwnerFont), f.font);
        if (size != sizeOf(owner->font()))
            owner->setFont(withSize(FOwnerFont, size));
        m_ownerFontSet = sizeOf(owner->font());
    }

    const bool drawing = owner->updatesEnabled();
    owner->setUpdatesEnabled(false);
    const QList<Control> list = controls();
    for (const Control& c : list) {
        TCtrlInfo* e = FCtrls.find(c.name, c.occurrence);
        if (!e)
            continue;
        if (FResizeFont && !FNoResizeFntCtls.contains(c.name) && e->hasFont)
            scaleFont(c.widget, *e, f.font);
        scaleIcon(c.widget, f.font);
        const QRect bounds = ScaleMath::scaledBounds(e->reference, f.x, f.y);
        if (isScrollPage(c.widget))
            c.widget->resize(bounds.size());
        else
            c.widget->setGeometry(bounds);
        e->old = c.widget->geometry();
    }
    FPrev = f;
    owner->setUpdatesEnabled(drawing);

    if (!owner->isMaximized()) {
        m_maximizedSeen = false;
    } else if (!m_maximizedSeen) {
        m_maximizedSeen = true;
        maximizeCorrection();
    }
    if (OnExitResize)
        OnExitResize(this, f.x, f.y);
    // Qt delivers the size a window was given while hidden just before it is
    // shown; that pass does not count as the window having been resized, or
    // the first showing would never place it.
    if (owner->isVisible())
        FIsResized = true;
    applyLimits();
}

QSize TResizeKit::frameExtra() const
{
    const QRect frame = m_owner->frameGeometry();
    const QRect client = m_owner->geometry();
    return QSize(frame.width() - client.width(), frame.height() - client.height());
}

// The window's limits as the system knows them: the largest size is the
// monitor less the panel (or the chosen maximum, when smaller), the smallest
// the chosen minimum. A drag can go no further than these, and a maximized
// window fills no more.
void TResizeKit::applyLimits()
{
    QWidget* owner = m_owner;
    QScreen* s = owner ? owner->screen() : nullptr;
    if (!s || owner->isMinimized())
        return;
    FMaxSize = s->geometry().size();
    const QSize extra = frameExtra();
    const SizeLimits& limits = m_settings.limits();
    const std::optional<SizeLimits::Answer> answer = limits.query(
        s->geometry().size(), Taskbar::fromWorkArea(s->geometry(), s->availableGeometry()),
        m_settings.ValidTaskbar, owner->isMaximized(), owner->frameGeometry(),
        s->availableGeometry(), owner->frameGeometry().topLeft());
    QSize maximum = owner->maximumSize();
    if (answer)
        maximum = (answer->maxSize - extra).expandedTo(QSize(1, 1));
    QSize minimum = m_ownMinimum;
    if (limits.hasMin())
        minimum = QSize(limits.minWidth, limits.minHeight) - extra;
    maximum = maximum.expandedTo(minimum);
    if (owner->minimumSize() != minimum)
        owner->setMinimumSize(minimum);
    if (owner->maximumSize() != maximum)
        owner->setMaximumSize(maximum);
}

void TResizeKit::restoreLimits()
{
    if (!m_owner)
        return;
    m_owner->setMinimumSize(m_ownMinimum);
    m_owner->setMaximumSize(m_ownMaximum);
}

void TResizeKit::maximizeCorrection()
{
    QWidget* owner = m_owner;
    QScreen* s = owner->screen();
    if (!s)
        return;
    // A Qt style sheet never draws the window frame, so the correction for
    // a style that does is never needed here.
    const std::optional<QRect> r =
        m_settings.limits().maximizeCorrection(owner->frameGeometry(), s->geometry(), false);
    if (r)
        owner->move(r->topLeft());
}

void TResizeKit::firstShow()
{
    QWidget* owner = m_owner;
    QScreen* s = owner->screen();
    if (!s || owner->isMinimized())
        return;
    applyLimits();
    const QSize size =
        WindowPlacement::firstShowSize(m_settings.FormWidth(), m_settings.FormHeight(),
                                       owner->frameGeometry().size(), s->geometry().size());
    placeWindow(size);
}

// The window rectangle Qt moves is the visible frame, so there are no
// invisible margins to allow for.
void TResizeKit::placeWindow(const QSize& outer)
{
    QWidget* owner = m_owner;
    QScreen* s = owner->screen();
    if (!s)
        return;
    const std::optional<QPoint> at =
        WindowPlacement::place(m_settings.FormPos, owner->frameGeometry().topLeft(), outer,
                               s->availableGeometry(), {}, false, owner->isMaximized());
    if (!at)
        return;
    if (outer != owner->frameGeometry().size())
        owner->resize(outer - frameExtra());
    owner->move(*at);
}

void TResizeKit::setFormPos(TResizeFormPos pos)
{
    if (pos == m_settings.FormPos)
        return;
    m_settings.FormPos = pos;
    if (m_owner && FEnabled)
        placeWindow(m_owner->frameGeometry().size());
}

void TResizeKit::setFormMaxWidth(int value)
{
    m_settings.setFormMaxWidth(value);
    if (FEnabled)
        applyLimits();
}

void TResizeKit::setFormMaxHeight(int value)
{
    m_settings.setFormMaxHeight(value);
    if (FEnabled)
        applyLimits();
}

void TResizeKit::setFormMinWidth(int value)
{
    m_settings.setFormMinWidth(value);
    if (FEnabled)
        applyLimits();
}

void TResizeKit::setFormMinHeight(int value)
{
    m_settings.setFormMinHeight(value);
    if (FEnabled)
        applyLimits();
}

void TResizeKit::setValidTaskbar(bool on)
{
    m_settings.ValidTaskbar = on;
    if (FEnabled)
        applyLimits();
}

void TResizeKit::setEnabled(bool on)
{
    if (on == FEnabled || !m_owner)
        return;
    FEnabled = on;
    if (on) {
        m_owner->installEventFilter(this);
        applyLimits();
    } else {
        m_owner->removeEventFilter(this);
        restoreLimits();
    }
}

bool TResizeKit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_owner || !FEnabled)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        if (!FIsResized)
            firstShow();
        else
            applyLimits();
        break;
    case QEvent::Resize:
        scalingPass(static_cast<QResizeEvent*>(event)->size());
        break;
    case QEvent::WindowStateChange: {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (!m_owner->isMaximized())
            m_maximizedSeen = false;
        if (change->oldState().testFlag(Qt::WindowMinimized) && !m_owner->isMinimized())
            scalingPass(m_owner->size()); // restored
        else if (m_owner->isMaximized() && !m_maximizedSeen) {
            m_maximizedSeen = true;
            maximizeCorrection();
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
