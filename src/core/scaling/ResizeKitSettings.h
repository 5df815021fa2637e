#pragma once

#include "scaling/SizeLimits.h"
#include "scaling/TResizeFormPos.h"

#include <QString>

// The placement and size settings of a window's scaling component. 0 means
// none and is always accepted; any other value must fit the others, or the
// setter raises EInvalidOperation with the reason, in Japanese for a user
// whose language is Japanese.
class ResizeKitSettings
{
public:
    TResizeFormPos FormPos = TResizeFormPos::rpDefault;
    bool ValidTaskbar = true;

    int FormWidth() const { return m_formWidth; }
    int FormHeight() const { return m_formHeight; }
    int FormMaxWidth() const { return m_limits.maxWidth; }
    int FormMaxHeight() const { return m_limits.maxHeight; }
    int FormMinWidth() const { return m_limits.minWidth; }
    int FormMinHeight() const { return m_limits.minHeight; }
    const SizeLimits& limits() const { return m_limits; }

    void setFormWidth(int value);
    void setFormHeight(int value);
    void setFormMaxWidth(int value);
    void setFormMaxHeight(int value);
    void setFormMinWidth(int value);
    void setFormMinHeight(int value);

private:
    int m_formWidth = 0;
    int m_formHeight = 0;
    SizeLimits m_limits;
};
