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
