// The window layer: timers, its own and the windows'.
#include "platform/window_system.h"
#include "platform/window_system_internal.h"

#include "platform/window.h"

#include <algorithm>

namespace winsys_internal {

void PutTimer(Timer timer) {
    if (!winsys::Live(timer.window))
        return;
    std::vector<Timer>& timers = Sys().timers;
    auto found = std::find_if(timers.begin(), timers.end(), [&](const Timer& other) {
        return other.window == timer.window && other.id == timer.id;
    });
    if (found == timers.end())
        timers.push_back(std::move(timer));
    else
        *found = std::move(timer);
    CurrentWindowBackend().TimersChanged();
}

} // namespace winsys_internal

using namespace winsys_internal;

namespace winsys {

void Defer(HWND window, std::function<void()> action) {
    // A one-shot timer of the layer's own; a newer action for the window takes the older's place.
    PutTimer({window, kDeferredTimer, GetDoubleClickTime(),
              CurrentWindowBackend().TickCount() + GetDoubleClickTime(),
              [window, action = std::move(action)] {
                  KillTimer(window, kDeferredTimer);
                  action();
              }});
}

void CancelDeferred(HWND window) {
    KillTimer(window, kDeferredTimer);
}

// ---- Timers ----

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse) {
    if (!Live(window))
        return 0;
    elapse = std::max<UINT>(elapse, 10);
    PutTimer({window, id, elapse, CurrentWindowBackend().TickCount() + elapse, {}});
    return id;
}

bool KillTimer(HWND window, UINT_PTR id) {
    const std::size_t removed = std::erase_if(
        Sys().timers, [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    return removed > 0;
}

std::optional<DWORD> NextTimerDue() {
    std::optional<DWORD> next;
    for (const Timer& timer : Sys().timers)
        if (!next || static_cast<std::int32_t>(timer.due - *next) < 0)
            next = timer.due;
    return next;
}

void RunDueTimers(DWORD now) {
    std::vector<Timer>& timers = Sys().timers;
    std::erase_if(timers, [](const Timer& timer) { return !Live(timer.window); });
    // Collected first: a timer's window may set or kill timers while it handles its message.
    std::vector<Timer> due;
    for (Timer& timer : timers)
        if (static_cast<std::int32_t>(now - timer.due) >= 0) {
            timer.due = now + timer.elapse;
            due.push_back(timer);
        }
    for (const Timer& timer : due) {
        // One killed or set anew by an earlier handler of this round is not run.
        const bool stillSet = std::any_of(timers.begin(), timers.end(), [&](const Timer& other) {
            return other.window == timer.window && other.id == timer.id && other.due == timer.due;
        });
        if (!stillSet || !Live(timer.window))
            continue;
        if (timer.action) {
            // The layer's own action fails as a message handler does.
            RunHandler(WM_TIMER, [&] {
                timer.action();
                return LRESULT{0};
            });
        } else {
            Send(timer.window, WM_TIMER, timer.id, 0);
        }
    }
}

} // namespace winsys
