// Keeps a control from repainting while it is filled: one repaint at the end instead of one per
// row, item and cell.
#pragma once

#include "platform/window.h"

class RedrawPause {
public:
    explicit RedrawPause(CWnd& window) : m_window(window) { m_window.SetRedraw(FALSE); }
    ~RedrawPause() { m_window.SetRedraw(TRUE); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    CWnd& m_window;
};
