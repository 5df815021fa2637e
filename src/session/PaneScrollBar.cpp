#include "session/PaneScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

PaneScrollBar::PaneScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
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
    const Look now = look();
    if (change != SliderOrientationChange && now == m_shown)
        return;
    m_shown = now;
    QScrollBar::sliderChange(change);
}
