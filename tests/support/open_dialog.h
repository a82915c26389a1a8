// Steps that end a script's dialog run with Escape. A dialog that ended already stays the active
// window until the step returns, hidden; Escape on it would overwrite the result it ended with,
// so a step that means to cancel checks first.
#pragma once

#include "platform/ui_driver.h"

#include <gtest/gtest.h>

// Whether the dialog of the innermost modal run is still up.
inline bool StillOpen(UiDriver& driver) {
    const CWnd* window = driver.ActiveWindow();
    return window && window->IsWindowVisible();
}

inline void EscapeOpenDialog(UiDriver& driver) {
    EXPECT_TRUE(StillOpen(driver)) << "the dialog ended before Escape";
    driver.PressKey(VK_ESCAPE);
}
