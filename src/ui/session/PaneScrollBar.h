#pragma once

#include <QRect>
#include <QScrollBar>

// A scroll bar that repaints only what changes in what it shows. A pane that
// grows by a line many times a second moves its range and value each time,
// while the slider moves or shrinks by a pixel only every so many lines;
// repainting the bar (and the window under it) for every line is most of the
// cost of a line on a real display.
class PaneScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit PaneScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Range, steps and value set while a Batch lives are shown together when
    // it ends, so the states in between (a new range before its value) are
    // never painted.
    class Batch
    {
    public:
        explicit Batch(QScrollBar* bar);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        PaneScrollBar* m_bar;
    };

protected:
    void sliderChange(SliderChange change) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

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
    void show(SliderChange change);

    Look m_shown;
    int m_batches = 0;
    bool m_changedInBatch = false;
};
