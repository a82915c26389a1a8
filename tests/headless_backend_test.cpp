// What the headless backend puts on its framebuffers, how it routes the pointer, its timers and
// what it does when nobody scripts a modal run. What every backend does alike is in the conformance
// suites; these are the exact pixels and the headless rules.
#include "platform/afxwin.h"
#include "platform/headless/test_driver.h"
#include "platform/window_system.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

class HeadlessPainting : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(CRect(10, 10, 310, 250)));
        // Painted first: drawing outside a paint would be painted over by a pending one.
        driver.Flush();
    }
    headless::TestDriver driver;
    RecordingWindow host;
};

// A list shows its selection with the focus or LVS_SHOWSELALWAYS (as in the conformance dialogs);
// with neither only the drop target shows highlighted.
TEST_F(HeadlessPainting, WithoutTheFocusOnlyTheDropTargetIsHighlighted) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_LIST, CRect(0, 0, 200, 200), &host, 5));
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        list.InsertItem(list.GetItemCount(), name);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_DROPHILITED, LVIS_DROPHILITED);
    host.SetFocus();
    driver.Flush();
    auto labelSpot = [&](int item) {
        CRect label;
        list.GetItemRect(item, &label, LVIR_LABEL);
        return CPoint(label.left, label.top + 1); // padding, never covered by text
    };
    EXPECT_EQ(driver.PixelAt(list, labelSpot(1)), kWhite);
    EXPECT_EQ(driver.PixelAt(list, labelSpot(2)), GetSysColor(COLOR_HIGHLIGHT));
}

// The tree's selection shows as the focus comes and goes.
TEST_F(HeadlessPainting, ATreeRepaintsItsSelectionWithTheFocus) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &host, 6));
    const HTREEITEM item = tree.InsertItem("Alpha");
    tree.SelectItem(item);
    host.SetFocus();
    driver.Flush();
    CRect label;
    tree.GetItemRect(item, &label, TRUE);
    const CPoint spot(label.left + 1, label.top + 1); // inside the focus frame, before the text
    EXPECT_EQ(driver.PixelAt(tree, spot), kWhite);
    tree.SetFocus();
    driver.Flush();
    EXPECT_EQ(driver.PixelAt(tree, spot), GetSysColor(COLOR_HIGHLIGHT));
    host.SetFocus();
    driver.Flush();
    EXPECT_EQ(driver.PixelAt(tree, spot), kWhite);
}

// Records the presses, wheel turns and losses of the capture that reach it.
class MouseWindow : public CWnd {
public:
    struct Turn {
        int delta;
        UINT keys;
        CPoint screen;
        bool sideways;
    };
    std::vector<CPoint> presses;
    std::vector<Turn> turns;
    int captureLost = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (message == WM_LBUTTONDOWN)
            presses.push_back(point);
        else if (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL)
            turns.push_back({GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam), point,
                             message == WM_MOUSEHWHEEL});
        else if (message == WM_CAPTURECHANGED)
            ++captureLost;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(HeadlessPainting, CaptureTakesThePointerOutsideTheWindowAndReportsItsLoss) {
    MouseWindow child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 60), &host, 9));
    child.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &child);
    driver.Click(host, CPoint(200, 100));
    EXPECT_EQ(child.presses, std::vector<CPoint>{CPoint(190, 90)}); // the child's coordinates
    ReleaseCapture();
    EXPECT_EQ(child.captureLost, 1);

    // A window that goes takes its capture with it, and only its own.
    MouseWindow other;
    ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(70, 10, 90, 30), &host, 10));
    child.SetCapture();
    other.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), &child);
    child.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

// Records the timer messages it gets, with the time they came.
class TimerWindow : public RecordingWindow {
public:
    std::vector<std::pair<UINT_PTR, DWORD>> ticks;
    std::function<void(UINT_PTR id)> onTick;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            ticks.emplace_back(static_cast<UINT_PTR>(wParam), GetTickCount());
            if (onTick)
                onTick(static_cast<UINT_PTR>(wParam));
        }
        return RecordingWindow::WindowProc(message, wParam, lParam);
    }
};

TEST(HeadlessTimers, TimersFallDueAsTheScriptLetsTimePassAndStopWhenKilled) {
    headless::TestDriver driver;
    TimerWindow window;
    ASSERT_TRUE(window.Create(CRect(10, 10, 200, 100)));
    const DWORD start = GetTickCount();
    EXPECT_EQ(winsys::SetTimer(window.m_hWnd, 7, 100), 7u);
    EXPECT_EQ(winsys::SetTimer(window.m_hWnd, 8, 150), 8u);
    driver.Wait(99);
    EXPECT_TRUE(window.ticks.empty()); // headless time stands still otherwise
    driver.Wait(251);                  // to 350
    using Ticks = std::vector<std::pair<UINT_PTR, DWORD>>;
    EXPECT_EQ(window.ticks, (Ticks{{7, start + 100},
                                   {8, start + 150},
                                   {7, start + 200},
                                   {7, start + 300},
                                   {8, start + 300}}));
    // Set again, a timer starts afresh; killed, it is gone.
    window.ticks.clear();
    winsys::SetTimer(window.m_hWnd, 7, 40);
    EXPECT_TRUE(winsys::KillTimer(window.m_hWnd, 8));
    EXPECT_FALSE(winsys::KillTimer(window.m_hWnd, 8));
    driver.Wait(100);
    EXPECT_EQ(window.ticks, (Ticks{{7, start + 390}, {7, start + 430}}));
    // A timer killed by a handler earlier in the same round does not run.
    window.ticks.clear();
    winsys::KillTimer(window.m_hWnd, 7);
    winsys::SetTimer(window.m_hWnd, 1, 100);
    winsys::SetTimer(window.m_hWnd, 2, 100);
    window.onTick = [&](UINT_PTR id) {
        if (id == 1)
            winsys::KillTimer(window.m_hWnd, 2);
    };
    driver.Wait(100);
    EXPECT_EQ(window.ticks, (Ticks{{1, start + 550}}));
    // A destroyed window's timers go with it, and it gets no new ones.
    const HWND gone = window.m_hWnd;
    window.DestroyWindow();
    EXPECT_FALSE(winsys::NextTimerDue().has_value());
    winsys::Defer(gone, [] {});
    EXPECT_EQ(winsys::SetTimer(gone, 3, 100), 0u);
    EXPECT_FALSE(winsys::NextTimerDue().has_value());
}

TEST(HeadlessModalLoops, WithoutAScriptALoopIsCancelledAndRemembered) {
    constexpr ControlTemplate controls[] = {
        {IDOK, ControlClass::Button, "OK", 5, 5, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}};
    const DialogTemplate plain{
        1, WS_POPUP | WS_CAPTION, 0, "Alone", "MS Sans Serif", 8, 0, 0, 60, 30, controls};
    headless::HeadlessBackend& backend = headless::DefaultHeadlessBackend();
    const std::size_t before = backend.UnscriptedFailures().size();
    CDialog dialog(plain);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(backend.UnscriptedFailures().size(), before + 1);
    EXPECT_NE(backend.UnscriptedFailures().back().find("Alone"), std::string::npos);
}

} // namespace
