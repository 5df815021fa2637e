#pragma once

#include <QWidget>

class QPushButton;
class QScrollArea;
class TResizeKit;

// The guide window that explains how to get the radio under the program's
// control: the lines of the guide with two pictures in a scroll box, a panel
// for Linux users (rigctld, or the [Rig1]/[Rig2] keys), and a button back to
// the main window. Hidden until the rig button of the tool panel shows it.
class Tguidaomnirig : public QWidget
{
    Q_OBJECT
public:
    explicit Tguidaomnirig(QWidget* parent = nullptr);

    // The lines of the guide, top to bottom.
    static QStringList guideLines();

    QScrollArea* ScrollBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // Back to Terminal Window
    TResizeKit* ResizeKit1 = nullptr;

    void BitBtn1Click();
    // A wheel notch up (delta +120) scrolls 120 pixels towards the top.
    void ScrollBox1MouseWheel(int wheelDelta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
