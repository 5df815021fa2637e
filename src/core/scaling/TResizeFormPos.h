#pragma once

// Where a window goes when it is first shown; rpDefault keeps its position.
enum class TResizeFormPos
{
    rpDefault = 0,
    rpTopLeft = 1,
    rpTopCenter = 2,
    rpTopRight = 3,
    rpMiddleLeft = 4,
    rpMiddleCenter = 5,
    rpMiddleRight = 6,
    rpBottomLeft = 7,
    rpBottomCenter = 8,
    rpBottomRight = 9,
};
