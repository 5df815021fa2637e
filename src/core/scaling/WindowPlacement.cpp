#include "scaling/WindowPlacement.h"

#include <algorithm>

QSize WindowPlacement::firstShowSize(int formWidth, int formHeight, const QSize& current,
                                     const QSize& monitor)
{
    QSize s = formWidth > 0 && formHeight > 0 ? QSize(formWidth, formHeight) : current;
    return QSize(std::min(s.width(), monitor.width()), std::min(s.height(), monitor.height()));
}

namespace {

enum class Column
{
    Keep,
    Start,
    Center,
    End
};

Column horizontal(TResizeFormPos pos)
{
    switch (pos) {
    case TResizeFormPos::rpTopLeft:
    case TResizeFormPos::rpMiddleLeft:
    case TResizeFormPos::rpBottomLeft:
        return Column::Start;
    case TResizeFormPos::rpTopCenter:
    case TResizeFormPos::rpMiddleCenter:
    case TResizeFormPos::rpBottomCenter:
        return Column::Center;
    case TResizeFormPos::rpTopRight:
    case TResizeFormPos::rpMiddleRight:
    case TResizeFormPos::rpBottomRight:
        return Column::End;
    case TResizeFormPos::rpDefault:
        break;
    }
    return Column::Keep;
}

Column vertical(TResizeFormPos pos)
{
    switch (pos) {
    case TResizeFormPos::rpTopLeft:
    case TResizeFormPos::rpTopCenter:
    case TResizeFormPos::rpTopRight:
        return Column::Start;
    case TResizeFormPos::rpMiddleLeft:
    case TResizeFormPos::rpMiddleCenter:
    case TResizeFormPos::rpMiddleRight:
        return Column::Center;
    case TResizeFormPos::rpBottomLeft:
    case TResizeFormPos::rpBottomCenter:
    case TResizeFormPos::rpBottomRight:
        return Column::End;
    case TResizeFormPos::rpDefault:
        break;
    }
    return Column::Keep;
}

// One axis of the table. start and extent are the work area's, size the
// window's, inside the margin on the near side and total the margins of both
// sides. The far side also takes the near margin off, so the visible frame
// ends on the work area's edge, as the centred rows do.
int axis(Column c, int current, int start, int extent, int size, int inside, int total)
{
    switch (c) {
    case Column::Keep:
        return current;
    case Column::Start:
        return start - inside;
    case Column::Center:
        return start + (extent + total - size) / 2 - inside;
    case Column::End:
        return start + extent + total - size - inside;
    }
    return current;
}

} // namespace

std::optional<QPoint> WindowPlacement::place(TResizeFormPos pos, const QPoint& topLeft,
                                             const QSize& size, const QRect& workArea,
                                             const FrameMargins& margins, bool compositor,
                                             bool maximized)
{
    if (maximized)
        return std::nullopt;
    const int aw = workArea.width();
    const int ah = workArea.height();
    const int w = size.width();
    const int h = size.height();
    int x = topLeft.x();
    int y = topLeft.y();
    if (x + w > workArea.left() + aw)
        x = workArea.left() + aw - w;
    if (y + h > workArea.top() + ah)
        y = workArea.top() + ah - h;

    if (compositor && margins.h > 0 && margins.v > 0) {
        x = axis(horizontal(pos), x, workArea.left(), aw, w, margins.left, margins.h);
        y = axis(vertical(pos), y, workArea.top(), ah, h, margins.top, margins.v);
    } else {
        x = axis(horizontal(pos), x, workArea.left(), aw, w, 0, 0);
        y = axis(vertical(pos), y, workArea.top(), ah, h, 0, 0);
        x = std::max(x, workArea.left());
        y = std::max(y, workArea.top());
    }
    return QPoint(x, y);
}
