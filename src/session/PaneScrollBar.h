#pragma once

#include <QRect>
#include <QScrollBar>

// A scroll bar that repaints only when what it shows changes. A pane that
// grows by a line many times a second moves its range and value each time,
// while the slider moves by a pixel only every so many lines; repainting the
// bar (and the window under it) for every line is most of the cost of a line
// on a real display.
class PaneScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit PaneScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;

private:
    struct Look
    {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool empty = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    Look m_shown;
};
