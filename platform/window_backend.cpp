#include "platform/window_backend.h"

#include "platform/headless/headless_backend.h"

namespace {
WindowBackend* g_backend = nullptr;
} // namespace

WindowBackend& CurrentWindowBackend() {
    return g_backend ? *g_backend : headless::DefaultHeadlessBackend();
}

WindowBackend* SetWindowBackend(WindowBackend* backend) {
    WindowBackend* previous = g_backend;
    g_backend = backend;
    return previous;
}

void DrawSurface::Edge(const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
    FillRect(CRect(r.left, r.top, r.right - 1, r.top + 1), topLeft);
    FillRect(CRect(r.left, r.top, r.left + 1, r.bottom - 1), topLeft);
    FillRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
    FillRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}
