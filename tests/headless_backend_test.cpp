// What the headless backend puts on its framebuffers, how it routes the pointer and the wheel, its
// timers and what it does when nobody scripts a modal run. What every backend does alike is in the
// conformance suites; these are the exact pixels and the headless rules.
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

// Fills `images` with one image, `size` pixels square, all in one dark colour.
void MakeOneColourImage(CImageList& images, int size) {
    ASSERT_TRUE(images.Create(size, size, ILC_COLOR24, 1, 0));
    CBitmap bitmap;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0x123456);
    ASSERT_TRUE(bitmap.CreateFromPixels(size, size, pixels.data()));
    ASSERT_EQ(images.Add(&bitmap, CLR_NONE), 0);
}

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

TEST_F(HeadlessPainting, HalftoneInversionFlipsEveryOtherPixelAndUndoesItself) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_EQ(driver.PixelAt(host, CPoint(20, 20)), face);
    auto invert = [&] {
        CDC* dc = host.GetDC();
        ASSERT_NE(dc, nullptr);
        CBrush* previous = dc->SelectObject(CDC::GetHalftoneBrush());
        dc->PatBlt(20, 20, 3, 50, PATINVERT);
        dc->SelectObject(previous);
        host.ReleaseDC(dc);
    };
    invert();
    const COLORREF inverted = face ^ 0xFFFFFF;
    const COLORREF a = driver.PixelAt(host, CPoint(20, 20));
    const COLORREF b = driver.PixelAt(host, CPoint(21, 20));
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == face && b == inverted) || (a == inverted && b == face));
    EXPECT_EQ(driver.PixelAt(host, CPoint(20, 21)), b);    // a checkerboard
    EXPECT_EQ(driver.PixelAt(host, CPoint(23, 20)), face); // outside the bar
    invert();
    for (int x = 20; x < 23; ++x)
        for (int y = 20; y < 70; ++y)
            ASSERT_EQ(driver.PixelAt(host, CPoint(x, y)), face) << x << "," << y;
}

TEST_F(HeadlessPainting, ThreeDimensionalFrameUsesItsTwoColours) {
    {
        CClientDC dc(&host);
        dc.Draw3dRect(CRect(50, 50, 53, 90), GetSysColor(COLOR_BTNHIGHLIGHT),
                      GetSysColor(COLOR_BTNSHADOW));
    }
    EXPECT_EQ(driver.PixelAt(host, CPoint(50, 50)), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(driver.PixelAt(host, CPoint(50, 88)), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(driver.PixelAt(host, CPoint(52, 50)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(driver.PixelAt(host, CPoint(51, 89)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(driver.PixelAt(host, CPoint(51, 60)), GetSysColor(COLOR_BTNFACE));
}

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

// A tree already shown repaints when its images or its indentation change.
TEST_F(HeadlessPainting, ATreeRepaintsForNewImagesAndIndentation) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &host, 6));
    const HTREEITEM parent = tree.InsertItem("");
    const HTREEITEM child = tree.InsertItem("", parent);
    tree.Expand(parent, TVE_EXPAND);
    driver.Flush();
    CImageList images;
    ASSERT_NO_FATAL_FAILURE(MakeOneColourImage(images, 16));
    auto iconSpot = [&] {
        CRect label;
        tree.GetItemRect(child, &label, TRUE);
        return CPoint(label.left - 8, label.CenterPoint().y);
    };
    EXPECT_EQ(driver.PixelAt(tree, iconSpot()), kWhite);

    tree.SetImageList(&images, TVSIL_NORMAL);
    driver.Flush();
    const COLORREF icon = driver.PixelAt(tree, iconSpot());
    EXPECT_NE(icon, kWhite);
    tree.SetIndent(tree.GetIndent() + 40);
    driver.Flush();
    EXPECT_EQ(driver.PixelAt(tree, iconSpot()), icon);
}

TEST_F(HeadlessPainting, ScaledPixelsFillTheDestination) {
    const std::uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}; // 2 x 2
    {
        CClientDC dc(&host);
        dc.DrawPixelsScaled(CRect(100, 100, 108, 108), 2, 2, pixels, CRect(0, 0, 2, 2));
    }
    EXPECT_EQ(driver.PixelAt(host, CPoint(100, 100)), RGB(255, 0, 0));
    EXPECT_EQ(driver.PixelAt(host, CPoint(107, 100)), RGB(0, 255, 0));
    EXPECT_EQ(driver.PixelAt(host, CPoint(100, 107)), RGB(0, 0, 255));
    EXPECT_EQ(driver.PixelAt(host, CPoint(104, 104)), kWhite);
}

TEST_F(HeadlessPainting, FramebufferIsTheWholeWindowAndSaves) {
    const headless::Framebuffer* framebuffer = driver.Screenshot(host);
    ASSERT_NE(framebuffer, nullptr);
    EXPECT_EQ(framebuffer->Width(), 300);
    EXPECT_EQ(framebuffer->Height(), 240);
    // The caption bar above the client area.
    EXPECT_EQ(framebuffer->At(150, 10) & 0xFFFFFF, 0x000080u);
    const std::string path = testing::TempDir() + "/headless_frame.ppm";
    ASSERT_TRUE(framebuffer->SavePpm(path));
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    file >> magic >> width >> height;
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 240);
    std::remove(path.c_str());
}

TEST_F(HeadlessPainting, CursorFollowsTheWindowUnderThePointer) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 100, 30), &host, 3));
    driver.MouseMove(edit, CPoint(5, 5));
    EXPECT_EQ(DescribeCursor(driver.CurrentCursor()).standardName, IDC_IBEAM);
    EXPECT_EQ(GetCursor(), driver.CurrentCursor());
    driver.MouseMove(host, CPoint(200, 150));
    EXPECT_EQ(DescribeCursor(driver.CurrentCursor()).standardName, IDC_ARROW);
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

TEST_F(HeadlessPainting, WheelTurnsGoUnderThePointerAndAddUpPartsOfANotch) {
    MouseWindow parent;
    ASSERT_TRUE(parent.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 240), &host, 8));
    CButton button;
    ASSERT_TRUE(button.Create("Knopf", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 30),
                              &parent, 9));
    CListCtrl list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 40, 200, 140), &parent, 10));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 400);
    for (int i = 0; i < 50; ++i)
        list.InsertItem(i, "Zeile");

    // A control with no use for the wheel hands the turn to its parent, as it came: the pointer
    // in screen coordinates, the keys held.
    driver.MouseWheel(button, CPoint(5, 5), -1, MK_CONTROL);
    ASSERT_EQ(parent.turns.size(), 1u);
    EXPECT_EQ(parent.turns[0].delta, -WHEEL_DELTA);
    EXPECT_EQ(parent.turns[0].keys, static_cast<UINT>(MK_CONTROL));
    CPoint screen(5, 5);
    button.ClientToScreen(&screen);
    EXPECT_EQ(parent.turns[0].screen, screen);
    EXPECT_FALSE(parent.turns[0].sideways);
    driver.MouseWheelSideways(button, CPoint(5, 5), 1);
    ASSERT_EQ(parent.turns.size(), 2u);
    EXPECT_EQ(parent.turns[1].delta, WHEEL_DELTA);
    EXPECT_TRUE(parent.turns[1].sideways);

    // The list keeps its turns. Parts of a notch add up to one; turning back starts afresh.
    CPoint middle(50, 50);
    list.ClientToScreen(&middle);
    std::vector<int> tops;
    for (int delta : {-60, -60, -90, 60, 60}) {
        winsys::InjectWheel(middle, delta, 0);
        tops.push_back(list.GetTopIndex());
    }
    EXPECT_EQ(tops, (std::vector<int>{0, 3, 3, 3, 0})); // the 90 towards the person are forgotten
    // Each way of turning adds up its own parts: half a notch up and half a notch to the right
    // move nothing; another half to the right moves the list.
    auto rowLeft = [&] {
        CRect bounds;
        list.GetItemRect(0, &bounds, LVIR_BOUNDS);
        return bounds.left;
    };
    winsys::InjectWheel(middle, 60, 0);
    winsys::InjectWheel(middle, 60, 0, winsys::WheelAxis::Sideways);
    EXPECT_EQ(rowLeft(), 0);
    winsys::InjectWheel(middle, 60, 0, winsys::WheelAxis::Sideways);
    EXPECT_LT(rowLeft(), 0);
    EXPECT_EQ(parent.turns.size(), 2u);
}

TEST_F(HeadlessPainting, AScrollBarShowsArrowsAThumbAndADitheredTrack) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 210, 150), &host, 4));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 150);
    for (int i = 0; i < 50; ++i)
        list.InsertItem(i, "Zeile");
    driver.Flush();
    ASSERT_EQ(list.GetStyle() & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_VSCROLL));
    CRect client;
    list.GetClientRect(&client);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_EQ(client.right, 200 - bar);
    const long middle = client.right + bar / 2;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    // The arrows' tips: up at the top, down at the bottom.
    EXPECT_EQ(driver.PixelAt(list, CPoint(middle, bar / 2 - 2)), GetSysColor(COLOR_BTNTEXT));
    // Each arrow is a raised button: lit inside its top-left edge, shaded inside its bottom-right.
    for (const long top : {0L, client.bottom - bar}) {
        EXPECT_EQ(driver.PixelAt(list, CPoint(client.right + 1, top + 1)), light) << top;
        EXPECT_EQ(driver.PixelAt(list, CPoint(client.right + bar - 2, top + bar - 2)),
                  GetSysColor(COLOR_BTNSHADOW))
            << top;
    }
    EXPECT_EQ(driver.PixelAt(list, CPoint(middle, client.bottom - bar / 2 + 1)),
              GetSysColor(COLOR_BTNTEXT));
    // At the top the thumb follows the up arrow; below it, the track alternates its two colours.
    EXPECT_EQ(driver.PixelAt(list, CPoint(middle, bar + 4)), face);
    const long y = client.bottom - bar - 3;
    const COLORREF a = driver.PixelAt(list, CPoint(middle, y));
    const COLORREF b = driver.PixelAt(list, CPoint(middle + 1, y));
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == face && b == light) || (a == light && b == face));
    // A right click there is nobody's click: the list reports none to its parent.
    host.Clear();
    driver.RightClick(list, CPoint(middle, y));
    EXPECT_TRUE(host.Recorded(NM_RCLICK).empty());
    driver.RightClick(list, CPoint(20, 30));
    EXPECT_EQ(host.Recorded(NM_RCLICK).size(), 1u);
}

// A list item's drag image shows its label where the label lies in the item.
TEST_F(HeadlessPainting, AListItemsDragImageShowsItsLabel) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 120, 100), &host, 7));
    list.InsertItem(0, "WWWWWW");
    CPoint corner;
    std::unique_ptr<CImageList> image = list.CreateDragImage(0, &corner);
    ASSERT_TRUE(image);
    CRect label;
    ASSERT_TRUE(list.GetItemRect(0, &label, LVIR_LABEL));
    // Drawn clear of the list, so that only the image can show the text.
    const CPoint at(140, 110);
    label.OffsetRect(at.x - corner.x, at.y - corner.y);
    CDC* dc = host.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(image->Draw(dc, 0, at, ILD_NORMAL));
    host.ReleaseDC(dc);
    int ink = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
            ink += driver.PixelAt(host, CPoint(x, y)) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(ink, label.Width());
}

TEST_F(HeadlessPainting, DragImageFunctionsMoveTheImageTheBackendShows) {
    CImageList images;
    ASSERT_NO_FATAL_FAILURE(MakeOneColourImage(images, 32));
    ASSERT_TRUE(images.BeginDrag(0, CPoint(4, 5)));
    EXPECT_TRUE(driver.DragImage().dragging);
    EXPECT_FALSE(driver.DragImage().visible);
    CImageList::DragEnter(&host, CPoint(40, 50));
    EXPECT_TRUE(driver.DragImage().visible);
    EXPECT_EQ(driver.DragImage().lockWindow, host.m_hWnd);
    CImageList::DragMove(CPoint(70, 80));
    EXPECT_EQ(driver.DragImage().position, CPoint(70, 80));
    EXPECT_EQ(driver.DragImage().hotspot, CPoint(4, 5));
    EXPECT_EQ(driver.DragImage().image.width, 32);
    CImageList::DragLeave(&host);
    EXPECT_FALSE(driver.DragImage().visible);
    CImageList::EndDrag();
    EXPECT_FALSE(driver.DragImage().dragging);
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

// Notes the keys it is sent, each with whether Control and Shift were down.
class KeyLog : public CWnd {
public:
    std::vector<std::string> keys;

protected:
    afx_msg void OnKeyDown(UINT key, UINT, UINT) { Note("down", key); }
    afx_msg void OnKeyUp(UINT key, UINT, UINT) { Note("up", key); }
    void Note(const char* what, UINT key) {
        keys.push_back(std::string(what) + " " + std::to_string(key) +
                       (GetKeyState(VK_CONTROL) < 0 ? " control" : "") +
                       (GetKeyState(VK_SHIFT) < 0 ? " shift" : ""));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyLog, CWnd)
ON_WM_KEYDOWN()
ON_WM_KEYUP()
END_MESSAGE_MAP()

TEST(HeadlessKeys, AKeyGoesDownAndUpAndItsModifiersAreLetGoAfterIt) {
    headless::TestDriver driver;
    KeyLog window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "keys", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100),
                                nullptr, 0));
    window.SetFocus();
    driver.PressKey('A', MK_CONTROL);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    driver.MouseDown(window, CPoint(5, 5), MouseButton::Left, MK_CONTROL | MK_SHIFT);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    driver.MouseUp(window, CPoint(5, 5));
    driver.PressKey('B', MK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    driver.PressKey('C');
    EXPECT_EQ(window.keys,
              (std::vector<std::string>{"down 65 control", "up 65 control", "down 66 shift",
                                        "up 66 shift", "down 67", "up 67"}));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

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
