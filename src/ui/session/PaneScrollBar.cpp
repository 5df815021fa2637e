#include "session/PaneScrollBar.h"

#include <QPaintEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <utility>

PaneScrollBar::PaneScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
}

PaneScrollBar::Batch::Batch(QScrollBar* bar) : m_bar(qobject_cast<PaneScrollBar*>(bar))
{
    if (m_bar)
        ++m_bar->m_batches;
}

PaneScrollBar::Batch::~Batch()
{
    if (m_bar && --m_bar->m_batches == 0 && std::exchange(m_bar->m_changedInBatch, false))
        m_bar->show(SliderValueChange);
}

PaneScrollBar::Look PaneScrollBar::look() const
{
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    Look l;
    l.slider = style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
    l.atMinimum = value() == minimum();
    l.atMaximum = value() == maximum();
    l.empty = minimum() == maximum();
    return l;
}

void PaneScrollBar::sliderChange(SliderChange change)
{
    if (change == SliderOrientationChange) {
        m_shown = look();
        QScrollBar::sliderChange(change);
        return;
    }
    if (m_batches > 0) {
        m_changedInBatch = true;
        return;
    }
    show(change);
}

void PaneScrollBar::show(SliderChange change)
{
    const Look now = look();
    if (now == m_shown)
        return;
    const Look before = std::exchange(m_shown, now);
    if (before.atMinimum != now.atMinimum || before.atMaximum != now.atMaximum
        || before.empty != now.empty || !before.slider.isValid() || !now.slider.isValid()) {
        QScrollBar::sliderChange(change);
        return;
    }
    // Only the slider moved or changed its length: the groove and the arrows
    // look the same, so only the pixels under the old and the new slider are
    // painted again (styles draw its outline a pixel or two outside its
    // rectangle). The groove is painted for the whole bar, clipped to them,
    // so the pixels are the ones a full repaint gives.
    update(before.slider.united(now.slider).adjusted(-2, -2, 2, 2));
}

bool PaneScrollBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
        // Qt repaints the bar as it is now; what was shown before no longer
        // tells which pixels a later change leaves right, so that change is
        // painted in full.
        m_shown = Look{};
        break;
    default:
        break;
    }
    return QScrollBar::event(event);
}

void PaneScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (event->rect().contains(rect()))
        m_shown = look();
}
