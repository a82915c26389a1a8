// Spacing and text measure that the list view's geometry and painting share.
#pragma once

#include "platform/cstring.h"
#include "platform/window_system.h"

namespace list_view_layout {

constexpr int kImageMargin = 2;
constexpr int kLabelPadding = 2;
constexpr int kHeaderTextMargin = 6;

inline int Width(HWND window, const CString& text) {
    return winsys::MetricsOf(window).TextWidth(text.str());
}

} // namespace list_view_layout
