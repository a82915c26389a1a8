// What a right click on a list or tree asks its parent for, checked the same way for both.
#pragma once

#include "platform/afxwin.h"
#include "platform/ui_driver.h"

#include <gtest/gtest.h>

#include <functional>

// After one right click on `control` that its parent left alone: one context menu asked for, from
// the control, where the click was (`clientPoint`) in screen coordinates. Then `rightClick` again,
// with the parent taking NM_RCLICK (a nonzero result): no menu asked for.
inline void ExpectAMenuOnlyForAClickLeftAlone(RecordingWindow& host, CWnd& control,
                                              CPoint clientPoint,
                                              const std::function<void()>& rightClick) {
    control.ClientToScreen(&clientPoint);
    ASSERT_EQ(host.contextMenus.size(), 1u);
    EXPECT_EQ(host.contextMenus[0].from, control.m_hWnd);
    EXPECT_EQ(host.contextMenus[0].screen, clientPoint);
    host.answer = [](NMHDR* header) { return header->code == NM_RCLICK ? 1 : 0; };
    rightClick();
    EXPECT_EQ(host.contextMenus.size(), 1u);
    host.answer = nullptr;
}
