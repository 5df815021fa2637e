#pragma once

#include "scaling/ControlRegistry.h"
#include "scaling/NameList.h"
#include "scaling/ResizeKitSettings.h"
#include "scaling/ScaleMath.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <functional>

class QWidget;

// Keeps a window's controls and fonts in proportion to its client area,
// places the window when it is first shown and holds it within its size
// limits. It watches the window's events (an event filter, so it acts before
// the window's own handlers) and is owned by the window as "ResizeKit1".
//
//   ResizeKit1 = TResizeKit::attach(this, {815, 647, 96, 96});
//
// after the window's controls are made. Controls made later are registered
// at the next pass or by DynamicAdd().
class TResizeKit : public QObject
{
    Q_OBJECT
public:
    // The window's stored design values: its client size and the screen
    // density it was laid out at.
    struct Design
    {
        int DesignFrmW = 0;
        int DesignFrmH = 0;
        int DesignDpiW = 96;
        int DesignDpiH = 96;
    };

    static TResizeKit* attach(QWidget* owner, const Design& design);
    ~TResizeKit() override;

    // Called after each pass with the component and the horizontal and
    // vertical factor.
    std::function<void(TResizeKit*, double, double)> OnExitResize;

    // Placement and limits; the size setters raise EInvalidOperation.
    TResizeFormPos FormPos() const { return m_settings.FormPos; }
    void setFormPos(TResizeFormPos pos);
    int FormWidth() const { return m_settings.FormWidth(); }
    int FormHeight() const { return m_settings.FormHeight(); }
    int FormMaxWidth() const { return m_settings.FormMaxWidth(); }
    int FormMaxHeight() const { return m_settings.FormMaxHeight(); }
    int FormMinWidth() const { return m_settings.FormMinWidth(); }
    int FormMinHeight() const { return m_settings.FormMinHeight(); }
    void setFormWidth(int value) { m_settings.setFormWidth(value); }
    void setFormHeight(int value) { m_settings.setFormHeight(value); }
    void setFormMaxWidth(int value);
    void setFormMaxHeight(int value);
    void setFormMinWidth(int value);
    void setFormMinHeight(int value);
    bool ValidTaskbar() const { return m_settings.ValidTaskbar; }
    void setValidTaskbar(bool on);

    bool ResizeFont() const { return FResizeFont; }
    void setResizeFont(bool on) { FResizeFont = on; }
    QString NoResizeCtl() const { return FNoResizeCtl; }
    void setNoResizeCtl(const QString& names);
    QString NoResizeFntCtl() const { return FNoResizeFntCtl; }
    void setNoResizeFntCtl(const QString& names);

    // Off: the window's events pass by untouched and the window has its own
    // placement and limits. On again: the component watches the window once
    // more; the registry and the reference layout stay as they were.
    bool Enabled() const { return FEnabled; }
    void setEnabled(bool on);

    // Registers the controls not yet registered / forgets those that are
    // gone.
    void DynamicAdd();
    void DynamicDelete();

    const ControlRegistry& registry() const { return FCtrls; }
    int runDpiW() const { return FRunDpiW; }
    int runDpiH() const { return FRunDpiH; }
    bool isResized() const { return FIsResized; }
    ScaleMath::Factors lastFactors() const { return FPrev; }

    // Every live component of the program.
    static const QList<TResizeKit*>& ReSizeInst();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TResizeKit(QWidget* owner, const Design& design);

    struct Control
    {
        QWidget* widget;
        QString name;
        int occurrence; // how many controls of the same name come before it
    };
    QList<Control> controls() const;
    void Loaded();
    void registerLate(const Control& c);
    void updateRegistry();
    void recordCounts(const QList<Control>& list);
    void scalingPass(const QSize& client);
    void scaleFont(QWidget* w, TCtrlInfo& e, double factor);
    void scaleIcon(QWidget* w, double factor);
    void firstShow();
    void placeWindow(const QSize& outer);
    void applyLimits();
    void restoreLimits();
    void maximizeCorrection();
    QSize frameExtra() const;

    QPointer<QWidget> m_owner;
    Design m_design;
    ResizeKitSettings m_settings;
    QString FOwnerFormName;
    int FOwnerWidth = 0;
    int FOwnerHeight = 0;
    QFont FOwnerFont;
    int m_ownerFontSet = 0; // the owner's font size after the last pass
    ControlRegistry FCtrls;
    NameList FNoResizeCtls;
    NameList FNoResizeFntCtls;
    QString FNoResizeCtl;
    QString FNoResizeFntCtl;
    int FAddCnt = 0;
    ScaleMath::Factors FPrev;
    int FRunDpiW = 0;
    int FRunDpiH = 0;
    bool FIsResized = false;
    bool FResizeFont = true;
    bool FEnabled = true;
    int FCtlCnt = 0;
    int FChildCtlCnt = 0;
    QSize FMaxSize;
    bool m_maximizedSeen = false;
    QSize m_ownMinimum; // the window's own limits, given back when switched off
    QSize m_ownMaximum;
};
