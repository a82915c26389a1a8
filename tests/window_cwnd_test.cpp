// CWnd and its message maps: placement and coordinates, text, styles, child lookup, sibling order,
// subclassing with Default(), the dispatch of commands and notifications to the right entry, and
// the simple controls (edit, button) as the dialog code drives them.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"
#include "tests/support/edit_in_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <vector>

namespace {

// A control subclass that sees keys first, as the browser's list and tree do.
class KeyWatchingEdit : public CEdit {
public:
    std::vector<UINT> keys;
    bool swallowDelete = false;

protected:
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags) {
        keys.push_back(key);
        if (key == VK_DELETE && swallowDelete)
            return;
        CEdit::OnKeyDown(key, repeat, flags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyWatchingEdit, CEdit)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

constexpr UINT kUserMessage = WM_USER + 7;

class Parent : public CWnd {
public:
    std::vector<std::string> calls;

    BOOL Create(const CRect& rect) {
        return CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME,
                        rect, nullptr, 0);
    }

protected:
    afx_msg void OnFirst() { calls.push_back("first"); }
    afx_msg void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    afx_msg void OnClicked() { calls.push_back("clicked"); }
    afx_msg void OnAnyClick(UINT id, NMHDR* header, LRESULT* result) {
        calls.push_back("notify " + std::to_string(id) + " " + std::to_string(header->code));
        *result = 5;
    }
    afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) {
        calls.push_back("user " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
ON_COMMAND(500, OnFirst)
ON_COMMAND_RANGE(501, 503, OnRange)
ON_BN_CLICKED(600, OnClicked)
ON_NOTIFY_RANGE(NM_CLICK, 700, 710, OnAnyClick)
ON_MESSAGE(kUserMessage, OnUser)
END_MESSAGE_MAP()

// A derived map adds entries in front of its base's; what it leaves out the base still gets.
class DerivedParent : public Parent {
public:
    int ownFirst = 0;

protected:
    afx_msg void OnOwnFirst() { ++ownFirst; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedParent, Parent)
ON_COMMAND(500, OnOwnFirst)
END_MESSAGE_MAP()

// What a window shows as its text.
std::string TextOf(CWnd& window) {
    CString value;
    window.GetWindowText(value);
    return std::string(value.str());
}

// An edit's selection, in characters.
std::pair<int, int> SelectionOf(CEdit& edit) {
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    return {start, end};
}

class CWndTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        driver = MakeUiDriver(GetParam());
        if (!driver)
            GTEST_SKIP() << GetParam() << " backend not available";
        ASSERT_TRUE(parent.Create(CRect(100, 120, 500, 420)));
    }
    std::unique_ptr<UiDriver> driver;
    DerivedParent parent;
};

TEST_P(CWndTest, ChildPlacementAndCoordinatesAgree) {
    CStatic label;
    ASSERT_TRUE(label.Create("Name:", WS_CHILD | WS_VISIBLE, CRect(10, 20, 90, 40), &parent, 5));
    CRect window;
    label.GetWindowRect(&window);
    CPoint origin(0, 0);
    parent.ClientToScreen(&origin);
    EXPECT_EQ(window, CRect(origin.x + 10, origin.y + 20, origin.x + 90, origin.y + 40));
    CRect mapped = window;
    parent.ScreenToClient(&mapped);
    EXPECT_EQ(mapped, CRect(10, 20, 90, 40));
    CPoint point(3, 4);
    label.MapWindowPoints(&parent, &point, 1);
    EXPECT_EQ(point, CPoint(13, 24));

    label.MoveWindow(30, 40, 50, 10);
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(label.GetWindowPlacement(&placement));
    EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(30, 40, 80, 50));
    placement.rcNormalPosition.right = 120;
    label.SetWindowPlacement(&placement);
    label.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 90);
    EXPECT_NE(label.GetStyle() & WS_VISIBLE, 0u);
    placement.showCmd = SW_HIDE; // a placement shows or hides as well
    label.SetWindowPlacement(&placement);
    EXPECT_EQ(label.GetStyle() & WS_VISIBLE, 0u);
    label.SetWindowPos(nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    label.GetWindowRect(&window);
    parent.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(5, 6, 95, 16));
}

TEST_P(CWndTest, ClientAreaLeavesOutBordersAndEdges) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 100, 80), &parent, 6));
    CRect client;
    list.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 98, 78));
    list.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    list.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 96, 76));
}

TEST_P(CWndTest, TextStylesVisibilityAndLookup) {
    CButton check;
    ASSERT_TRUE(check.Create("Nur lesen", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                             CRect(10, 10, 100, 25), &parent, 1003));
    EXPECT_EQ(parent.GetDlgItem(1003), &check);
    EXPECT_EQ(check.GetDlgCtrlID(), 1003);
    EXPECT_EQ(check.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(42), nullptr);
    CString text;
    check.GetWindowText(text);
    EXPECT_EQ(text, "Nur lesen");
    parent.SetDlgItemText(1003, "Lesen");
    EXPECT_EQ(check.GetWindowTextLength(), 5);
    char buffer[4];
    EXPECT_EQ(check.GetWindowText(buffer, 4), 3);
    EXPECT_STREQ(buffer, "Les");

    EXPECT_TRUE(check.IsWindowVisible());
    check.ShowWindow(SW_HIDE);
    EXPECT_FALSE(check.IsWindowVisible());
    check.ShowWindow(SW_SHOW);
    parent.ShowWindow(SW_HIDE);
    EXPECT_FALSE(check.IsWindowVisible()); // hidden with its parent
    parent.ShowWindow(SW_SHOW);

    EXPECT_TRUE(check.ModifyStyle(0, WS_TABSTOP));
    EXPECT_FALSE(check.ModifyStyle(0, WS_TABSTOP));
    EXPECT_TRUE(check.GetStyle() & WS_TABSTOP);
    check.EnableWindow(FALSE);
    EXPECT_FALSE(check.IsWindowEnabled());
    driver->Click(check, CPoint(5, 5)); // a disabled control takes no clicks
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    check.EnableWindow(TRUE);
    driver->Click(check, CPoint(5, 5));
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
}

TEST_P(CWndTest, SubclassSeesKeysFirstAndDefaultDoesTheRest) {
    // A control without an object of its own, as a dialog template makes them.
    CEdit plain;
    ASSERT_TRUE(
        plain.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 30), &parent, 77));
    HWND handle = plain.Detach();
    KeyWatchingEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(77, &parent));
    EXPECT_EQ(CWnd::FromHandle(handle), &edit) << "the subclass is the window's object now";
    KeyWatchingEdit second;
    EXPECT_FALSE(second.SubclassDlgItem(77, &parent)) << "a window has one permanent object";
    edit.SetWindowText("abc");
    edit.SetFocus();
    driver->PressKey(VK_END);
    driver->PressKey(VK_BACK);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "ab");
    edit.swallowDelete = true;
    driver->PressKey(VK_HOME);
    driver->PressKey(VK_DELETE);
    edit.GetWindowText(text);
    EXPECT_EQ(text, "ab") << "a key the subclass keeps never reaches the control";
    edit.swallowDelete = false;
    driver->PressKey(VK_DELETE);
    edit.GetWindowText(text);
    EXPECT_EQ(text, "b");
    EXPECT_EQ(edit.keys, (std::vector<UINT>{VK_END, VK_BACK, VK_HOME, VK_DELETE, VK_DELETE}));
}

TEST_P(CWndTest, CommandsAndNotificationsFindTheirEntries) {
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0), 0);
    EXPECT_EQ(parent.ownFirst, 1);
    EXPECT_TRUE(parent.calls.empty()) << "the derived entry hides the base's";
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(502, 0), 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(504, 0), 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(600, BN_CLICKED), 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(600, EN_CHANGE), 0);
    NMHDR header{nullptr, 705, NM_CLICK};
    const LRESULT result = parent.SendMessage(WM_NOTIFY, 705, reinterpret_cast<LPARAM>(&header));
    header.code = NM_DBLCLK;
    parent.SendMessage(WM_NOTIFY, 705, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(parent.SendMessage(kUserMessage, 3, 4), 42);
    EXPECT_EQ(parent.calls,
              (std::vector<std::string>{"range 502", "clicked",
                                        "notify 705 " + std::to_string(NM_CLICK), "user 3 4"}));
    EXPECT_EQ(result, 5);

    // Code 1 without a control is an accelerator, taken as a menu command; from a control it is
    // that control's own notification, not a click.
    parent.calls.clear();
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(502, 1), 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(600, 1), reinterpret_cast<LPARAM>(parent.m_hWnd));
    EXPECT_EQ(parent.calls, (std::vector<std::string>{"range 502"}));

    // Found entries are remembered: the same answers come back however often and in whatever order
    // messages, codes and ids (hits, misses, range ends) follow each other, window by window.
    Parent base;
    ASSERT_TRUE(base.Create(CRect(0, 0, 100, 100)));
    parent.calls.clear();
    std::vector<std::string> expected;
    for (int round = 0; round < 3; ++round) {
        for (UINT id = 495; id <= 512; ++id) {
            parent.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            base.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            if (id >= 501 && id <= 503)
                expected.push_back("range " + std::to_string(id));
        }
        for (UINT id = 695; id <= 715; ++id) {
            for (UINT code : {UINT(NM_CLICK), UINT(NM_DBLCLK)}) {
                NMHDR click{nullptr, id, code};
                const LRESULT clickResult =
                    parent.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&click));
                const bool handled = code == UINT(NM_CLICK) && id >= 700 && id <= 710;
                EXPECT_EQ(clickResult, handled ? 5 : 0) << id << " " << code;
                if (handled)
                    expected.push_back("notify " + std::to_string(id) + " " + std::to_string(code));
            }
        }
    }
    EXPECT_EQ(parent.calls, expected);
    EXPECT_EQ(parent.ownFirst, 4);
    EXPECT_EQ(std::count(base.calls.begin(), base.calls.end(), "first"), 3);
    base.DestroyWindow();
}

TEST_P(CWndTest, PostedMessagesArriveLaterInOrder) {
    parent.PostMessage(kUserMessage, 1, 0);
    parent.PostMessage(kUserMessage, 2, 0);
    EXPECT_TRUE(parent.calls.empty());
    driver->Flush();
    EXPECT_EQ(parent.calls, (std::vector<std::string>{"user 1 0", "user 2 0"}));
}

TEST_P(CWndTest, DestroyingDetachesTheObject) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 9));
    HWND handle = edit.m_hWnd;
    EXPECT_TRUE(IsWindow(handle));
    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(parent.m_hWnd, nullptr);
    EXPECT_FALSE(edit.DestroyWindow());
    EXPECT_EQ(edit.GetDlgCtrlID(), 0);
}

TEST_P(CWndTest, WindowsInUseUntilTheirEndAreGoneAfterIt) {
    CEdit first;
    CEdit second;
    ASSERT_TRUE(first.Create(WS_CHILD, CRect(0, 0, 10, 10), &parent, 11));
    ASSERT_TRUE(second.Create(WS_CHILD, CRect(0, 20, 10, 30), &parent, 12));
    const HWND firstHandle = first.m_hWnd;
    const HWND secondHandle = second.m_hWnd;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(IsWindow(firstHandle));
        EXPECT_TRUE(IsWindow(secondHandle));
    }
    second.DestroyWindow();
    EXPECT_TRUE(IsWindow(firstHandle));
    EXPECT_FALSE(IsWindow(secondHandle));
    first.DestroyWindow();
    EXPECT_FALSE(IsWindow(firstHandle));
    EXPECT_FALSE(IsWindow(secondHandle));
}

TEST_P(CWndTest, SiblingsKeepTheirOrderUntilMovedInIt) {
    CStatic first, second, third;
    ASSERT_TRUE(first.Create("1", WS_CHILD, CRect(0, 0, 10, 10), &parent, 21));
    ASSERT_TRUE(second.Create("2", WS_CHILD, CRect(0, 10, 10, 20), &parent, 22));
    ASSERT_TRUE(third.Create("3", WS_CHILD, CRect(0, 20, 10, 30), &parent, 23));
    auto order = [&] {
        std::vector<int> ids;
        for (CWnd* child = parent.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            ids.push_back(child->GetDlgCtrlID());
        return ids;
    };
    EXPECT_EQ(order(), (std::vector<int>{21, 22, 23}));
    EXPECT_EQ(third.GetWindow(GW_HWNDPREV), &second);
    EXPECT_EQ(first.GetWindow(GW_HWNDPREV), nullptr);
    EXPECT_EQ(second.GetWindow(GW_HWNDFIRST), &first);
    EXPECT_EQ(second.GetWindow(GW_HWNDLAST), &third);
    const UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE;
    first.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, keepPlace);
    EXPECT_EQ(order(), (std::vector<int>{22, 23, 21}));
    first.SetWindowPos(&second, 0, 0, 0, 0, keepPlace);
    EXPECT_EQ(order(), (std::vector<int>{22, 21, 23}));
    third.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, keepPlace);
    EXPECT_EQ(order(), (std::vector<int>{23, 22, 21}));
    second.SetWindowPos(&third, 0, 0, 0, 0, keepPlace | SWP_NOZORDER);
    EXPECT_EQ(order(), (std::vector<int>{23, 22, 21}));
    EXPECT_TRUE(parent.IsChild(&second));
    Parent stranger;
    ASSERT_TRUE(stranger.Create(CRect(0, 0, 50, 50)));
    EXPECT_FALSE(stranger.IsChild(&second));
    EXPECT_FALSE(second.IsChild(&parent));
    EXPECT_FALSE(parent.IsChild(nullptr));
}

TEST_P(CWndTest, DeviceContextsAreGivenBackOnceAndAGoneWindowHasNoPlace) {
    CDC* dc = parent.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(parent.ReleaseDC(dc), 1);
    EXPECT_EQ(parent.ReleaseDC(dc), 0);
    CStatic label;
    ASSERT_TRUE(label.Create("x", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 24));
    EXPECT_TRUE(label.RedrawWindow());
    label.DestroyWindow();
    WINDOWPLACEMENT placement{};
    EXPECT_FALSE(label.GetWindowPlacement(&placement));
    EXPECT_FALSE(label.SetWindowPlacement(&placement));
    EXPECT_FALSE(label.RedrawWindow());
}

TEST_P(CWndTest, EditSelectionLimitAndReadOnly) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 200, 30), &parent, 8));
    edit.SetWindowText("Grüße");
    edit.SetSel(1, 3);
    EXPECT_EQ(SelectionOf(edit), (std::pair{1, 3}));
    edit.ReplaceSel("ä");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Gäße");
    edit.SetSel(0, -1);
    EXPECT_EQ(SelectionOf(edit).second, 4);
    edit.LimitText(6);
    EXPECT_EQ(edit.GetLimitText(), 6u);
    edit.SetFocus();
    driver->PressKey(VK_END);
    driver->TypeText("xyz");
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Gäßexy");
    edit.SetReadOnly(TRUE);
    driver->PressKey(VK_BACK);
    edit.GetWindowText(text);
    EXPECT_EQ(text, "Gäßexy");
    driver->TypeText("q");
    EXPECT_FALSE(driver->Beeps().empty()) << "typing into a read-only edit beeps";

    // A text a Windows program wrote: each byte that is no UTF-8 is a character of its own, even
    // one that looks like the tail of another ("20°C" with the degree sign as byte 0xB0).
    edit.SetReadOnly(FALSE);
    edit.SetWindowText("20\xB0"
                       "C");
    edit.SetSel(0, -1);
    EXPECT_EQ(SelectionOf(edit).second, 4);
    driver->PressKey(VK_HOME);
    for (int i = 0; i < 3; ++i)
        driver->PressKey(VK_RIGHT);
    driver->PressKey(VK_BACK);
    edit.GetWindowText(text);
    EXPECT_EQ(text, "20C");
}

TEST_P(CWndTest, AMultiLineEditScrollsByItsBarAndTheWheel) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            CRect(10, 10, 200, 110), &parent, 9));
    std::string text;
    for (int i = 1; i <= 40; ++i)
        text += "Zeile " + std::to_string(i) + "\r\n";
    text += "Ende";
    edit.SetWindowText(text.c_str());
    EXPECT_EQ(edit.GetLineCount(), 41);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);

    CRect client;
    edit.GetClientRect(&client);
    driver->MouseWheel(edit, client.CenterPoint(), -1); // towards the person: three lines down
    EXPECT_EQ(edit.GetFirstVisibleLine(), 3);
    edit.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 4);
    edit.SendMessage(WM_VSCROLL, SB_BOTTOM);
    const int lastTop = edit.GetFirstVisibleLine();
    const int page = 41 - lastTop;
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 20);
    edit.SendMessage(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(edit.GetFirstVisibleLine(), lastTop - page);
    edit.SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
    edit.LineScroll(7);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 7);

    // A click in the second line shown puts the caret at the start of "Zeile 9", nine characters
    // a line ("Zeile 8" and the line end) after the start of the text.
    int lineHeight = 0;
    {
        CClientDC dc(&edit);
        lineHeight = dc.GetTextExtent("Zeile").cy;
    }
    driver->Click(edit, CPoint(1, 1 + lineHeight + lineHeight / 2));
    EXPECT_EQ(SelectionOf(edit), (std::pair{8 * 9, 8 * 9}));
    // Only lines shown whole are drawn: with room for six and a half, the half is blank.
    CRect frame;
    edit.GetWindowRect(&frame);
    edit.MoveWindow(10, 10, static_cast<int>(frame.Width()),
                    static_cast<int>(frame.Height() - client.Height()) + 1 + 6 * lineHeight +
                        lineHeight / 2);
    edit.GetClientRect(&client);
    const long shownBottom = 1 + 6 * lineHeight;
    parent.SetFocus();
    const COLORREF paper = driver->PixelAt(edit, CPoint(client.right - 1, client.bottom - 1));
    bool bandInked = false;
    for (long y = shownBottom; y < client.bottom; ++y)
        for (long x = client.left; x < client.right; ++x)
            bandInked = bandInked || driver->PixelAt(edit, CPoint(x, y)) != paper;
    EXPECT_FALSE(bandInked);

    // Drawn out past the bottom, here onto the blank band, the selection reaches the last line
    // shown whole. While the pointer stays out there the text scrolls a line each tenth of a
    // second, taking the selection along; back inside, the scrolling stops.
    auto lineStart = [&](int line) { // "Zeile <line + 1>" with its line end
        return static_cast<int>(text.find("Zeile " + std::to_string(line + 1) + "\r"));
    };
    driver->ElapseDoubleClickTime();
    driver->MouseDown(edit, CPoint(1, 1 + lineHeight + lineHeight / 2));
    driver->MouseMove(edit, CPoint(3, shownBottom + 1), MK_LBUTTON);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 7) << "a move does not scroll";
    EXPECT_EQ(SelectionOf(edit), (std::pair{lineStart(8), lineStart(7 + 5)}));
    driver->Wait(350);
    const int scrolledTo = edit.GetFirstVisibleLine();
    EXPECT_GT(scrolledTo, 7);
    EXPECT_LE(scrolledTo, 10);
    EXPECT_EQ(SelectionOf(edit), (std::pair{lineStart(8), lineStart(scrolledTo + 5)}));
    driver->MouseMove(edit, CPoint(3, 1 + lineHeight / 2), MK_LBUTTON);
    driver->Wait(300);
    EXPECT_EQ(edit.GetFirstVisibleLine(), scrolledTo);
    EXPECT_EQ(SelectionOf(edit), (std::pair{lineStart(8), lineStart(scrolledTo)}));
    driver->MouseMove(edit, CPoint(3, -5), MK_LBUTTON); // past the top, then let go
    driver->MouseUp(edit, CPoint(3, -5));
    driver->Wait(300);
    EXPECT_EQ(edit.GetFirstVisibleLine(), scrolledTo) << "the release stops the scrolling";

    // A new text starts at the top again.
    edit.SetWindowText("Neu");
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
    EXPECT_EQ(edit.GetLineCount(), 1);
}

TEST_P(CWndTest, AMultiLineEditsCaretMovesByLinesAndPagesAndTheTextFollowsIt) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
                            CRect(10, 10, 200, 110), &parent, 9));
    // Ten bytes a line with its break.
    std::string text;
    for (int i = 10; i < 50; ++i)
        text += "Zeile " + std::to_string(i) + "\r\n";
    text += "Zeile 50";
    edit.SetWindowText(text.c_str());
    edit.SetFocus();
    driver->PressKey(VK_END);
    EXPECT_EQ(SelectionOf(edit), (std::pair{8, 8})) << "the end of the line, not of the text";
    driver->PressKey(VK_DOWN);
    EXPECT_EQ(SelectionOf(edit), (std::pair{18, 18}));
    driver->PressKey(VK_RIGHT); // over the line break in one step
    EXPECT_EQ(SelectionOf(edit), (std::pair{20, 20}));
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(SelectionOf(edit), (std::pair{18, 18}));
    driver->PressKey(VK_HOME);
    driver->PressKey(VK_DOWN, MK_SHIFT);
    EXPECT_EQ(SelectionOf(edit), (std::pair{10, 20}));

    // The text follows the caret down and up; a page key moves both by a page.
    driver->PressKey(VK_END, MK_CONTROL);
    EXPECT_EQ(SelectionOf(edit), (std::pair{408, 408}));
    const int lastTop = edit.GetFirstVisibleLine();
    const int page = 41 - lastTop;
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 20);
    driver->PressKey(VK_PRIOR);
    EXPECT_EQ(edit.GetFirstVisibleLine(), lastTop - page);
    EXPECT_EQ(SelectionOf(edit).first, (40 - page) * 10 + 8) << "as far from the left as before";
    driver->PressKey(VK_HOME, MK_CONTROL);
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 0}));
    EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
    edit.LineScroll(20);
    driver->PressKey(VK_DOWN); // the caret was scrolled out of sight: the text comes back to it
    EXPECT_EQ(SelectionOf(edit), (std::pair{10, 10}));
    EXPECT_EQ(edit.GetFirstVisibleLine(), 1);
    edit.SetSel(300, 300);
    EXPECT_EQ(edit.GetFirstVisibleLine(), 30 - page + 1) << "SetSel scrolls the caret into view";

    // Across a shorter line Up and Down keep the caret's distance from the left.
    edit.SetWindowText("Hafenstra\xC3\x9F"
                       "e 12\r\nKai\r\nHafenstra\xC3\x9F"
                       "e 14");
    driver->PressKey(VK_END);
    driver->PressKey(VK_DOWN);
    EXPECT_EQ(SelectionOf(edit), (std::pair{19, 19})) << "the end of Kai (in characters)";
    driver->PressKey(VK_DOWN);
    EXPECT_EQ(SelectionOf(edit), (std::pair{35, 35}));

    // The focused edit shows its selection in the selection's colours, on each line it covers.
    CRect client;
    edit.GetClientRect(&client);
    auto highlighted = [&](long top, long bottom) {
        for (long y = top; y < bottom; ++y)
            for (long x = client.left; x < client.right; ++x)
                if (driver->PixelAt(edit, CPoint(x, y)) == GetSysColor(COLOR_HIGHLIGHT))
                    return true;
        return false;
    };
    int lineHeight = 0;
    {
        CClientDC dc(&edit);
        lineHeight = dc.GetTextExtent("Kai").cy;
    }
    edit.SetSel(2, 17); // from the first line into the second
    EXPECT_TRUE(highlighted(1, 1 + lineHeight));
    EXPECT_TRUE(highlighted(1 + lineHeight, 1 + 2 * lineHeight));
    EXPECT_FALSE(highlighted(1 + 2 * lineHeight, 1 + 3 * lineHeight));
    parent.SetFocus();
    EXPECT_FALSE(highlighted(client.top, client.bottom));

    // A line wider than the edit scrolls sideways with the caret: at its end, a click at the
    // left edge lands far into the line.
    edit.SetFocus();
    std::string wide;
    for (int i = 0; i < 20; ++i)
        wide += "0123456789";
    edit.SetWindowText((wide + "\r\nkurz").c_str());
    driver->PressKey(VK_END);
    driver->Click(edit, CPoint(3, 1 + lineHeight / 2));
    EXPECT_GT(SelectionOf(edit).first, 150);
    driver->PressKey(VK_HOME);
    driver->ElapseDoubleClickTime();
    driver->Click(edit, CPoint(3, 1 + lineHeight / 2));
    EXPECT_EQ(SelectionOf(edit).first, 0);

    // A line break goes as one character.
    edit.SetReadOnly(FALSE);
    edit.SetWindowText("AB\r\nCD");
    edit.SetSel(4, 4);
    driver->PressKey(VK_BACK);
    EXPECT_EQ(TextOf(edit), "ABCD");
}

TEST_P(CWndTest, AOneLineEditsTextStaysPutUntilTheCaretPassesAnEdgeThenJumpsAThird) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 130, 30), &parent, 9));
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "0123456789";
    edit.SetWindowText(text.c_str());
    edit.SetFocus();
    CRect client;
    edit.GetClientRect(&client);
    long digit = 0;
    {
        CClientDC dc(&edit);
        digit = dc.GetTextExtent("0").cx;
    }
    ASSERT_GT(digit, 0);
    const long right = client.right - 2; // where the text area ends
    const long width = right - 2;
    auto x = [&](int index) { return edit.PosFromChar(static_cast<UINT>(index)).x; };
    EXPECT_EQ(x(0), 2);
    EXPECT_EQ(x(200), -1) << "past the text";

    // At the end the text ends at the right edge; the caret then moves left in a still text.
    driver->PressKey(VK_END);
    EXPECT_EQ(x(199) + digit, right);
    const long endView = x(199);
    driver->PressKey(VK_LEFT);
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(x(199), endView);
    // A click leaves the character under the pointer where it is.
    const long middle = x(190) + digit / 2 - 1;
    driver->Click(edit, CPoint(middle, 5));
    EXPECT_EQ(SelectionOf(edit).first, 190);
    EXPECT_EQ(x(199), endView);

    // Home brings the start back; Right moves the caret through a still text until it passes the
    // right edge, where the text jumps and the caret stands a third of the width inside.
    driver->PressKey(VK_HOME);
    EXPECT_EQ(x(0), 2);
    int caret = 0;
    while (2 + (caret + 1) * digit <= right) {
        driver->PressKey(VK_RIGHT);
        ++caret;
    }
    EXPECT_EQ(x(0), 2);
    driver->PressKey(VK_RIGHT);
    ++caret;
    EXPECT_LT(x(0), 2);
    EXPECT_NEAR(x(caret), right - width / 3, digit);
    // Left goes back through the still text, and past the left edge jumps a third as well.
    const long shifted = x(0);
    const int firstShown = static_cast<int>((2 - shifted + digit - 1) / digit);
    for (int i = caret; i > firstShown; --i)
        driver->PressKey(VK_LEFT);
    EXPECT_EQ(x(0), shifted);
    driver->PressKey(VK_LEFT);
    EXPECT_GT(x(0), shifted);
    EXPECT_NEAR(x(firstShown - 1), 2 + width / 3, digit);

    // Typed on at the end, the text only moves as far as the new character needs.
    driver->PressKey(VK_END);
    driver->TypeText("9");
    EXPECT_EQ(x(200) + digit, right);

    // A selection drawn out past the right edge stops there; while the pointer stays out, the
    // caret goes on a character each tenth of a second, and the text jumps when it must.
    edit.SetSel(0, 0);
    EXPECT_EQ(x(0), 2);
    const int lastShown = static_cast<int>(width / digit); // the boundary at the right edge
    driver->MouseDown(edit, CPoint(2 + digit / 2 + 1, 5));
    driver->MouseMove(edit, CPoint(right + 20, 5), MK_LBUTTON);
    EXPECT_EQ(SelectionOf(edit), (std::pair{1, lastShown}));
    EXPECT_EQ(x(0), 2);
    driver->Wait(250);
    driver->MouseUp(edit, CPoint(right + 20, 5));
    const auto [from, to] = SelectionOf(edit);
    EXPECT_EQ(from, 1);
    EXPECT_GT(to, lastShown);
    EXPECT_LE(to, lastShown + 2);
    EXPECT_LT(x(0), 2) << "the caret passed the edge: the text jumped";
    EXPECT_NEAR(x(to), right - width / 3, digit);

    // A text of thousands of characters shows its end as well, however far its start lies left.
    text.clear();
    for (int i = 0; i < 300; ++i)
        text += "0123456789";
    edit.SetWindowText(text.c_str());
    driver->PressKey(VK_END);
    EXPECT_EQ(x(2999) + digit, right);
    parent.SetFocus(); // no caret: what shows is the text
    const COLORREF background = driver->PixelAt(edit, CPoint(client.right - 1, 1));
    bool inked = false;
    for (long x = client.left; x < client.right && !inked; ++x)
        for (long y = client.top; y < client.bottom && !inked; ++y)
            inked = driver->PixelAt(edit, CPoint(x, y)) != background;
    EXPECT_TRUE(inked);
}

TEST_P(CWndTest, DraggingOverAnEditSelectsAndAShiftClickExtends) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 200, 30), &parent, 9));
    const std::string text = "Hafen Nord";
    edit.SetWindowText(text.c_str());
    // On the boundary before character n.
    auto at = [&](std::size_t n) {
        CClientDC dc(&edit);
        return CPoint(2 + dc.GetTextExtent(text.substr(0, n).c_str()).cx, 8);
    };
    driver->Drag(edit, at(1), {at(3)}, at(5));
    EXPECT_EQ(SelectionOf(edit), (std::pair{1, 5}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "the release ends the drag";
    driver->Click(edit, at(8), MK_SHIFT);
    EXPECT_EQ(SelectionOf(edit), (std::pair{1, 8}));
    // Backwards, past the start of the text.
    driver->Drag(edit, at(4), {}, CPoint(-20, 8));
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 4}));
    // A drag quicker than the toolkit, its move made before the press is handled, selects as far.
    driver->ElapseDoubleClickTime();
    driver->PressAndMoveAtOnce(edit, at(2), at(7));
    EXPECT_EQ(SelectionOf(edit), (std::pair{2, 7})) << "with the button still held";
    driver->MouseUp(edit, at(7));
    // Released at once as well: the release comes where the pointer went.
    driver->ElapseDoubleClickTime();
    driver->PressAndMoveAtOnce(edit, at(1), at(6), true);
    EXPECT_EQ(SelectionOf(edit), (std::pair{1, 6}));
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(CWndTest, EditsMoveSelectAndDeleteByWords) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 250, 30), &parent, 9));
    const std::string text = "Fähre  am Kai";
    edit.SetWindowText(text.c_str());
    // Inside the character at byte n, a little right of its left edge. The selection counts
    // characters.
    auto inside = [&](std::size_t n) {
        CClientDC dc(&edit);
        return CPoint(4 + dc.GetTextExtent(text.substr(0, n).c_str()).cx, 8);
    };
    // A double click selects the word under the pointer and the blanks after it.
    driver->DoubleClick(edit, inside(1));
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 7})) << "\"Fähre  \"";
    driver->ElapseDoubleClickTime();
    driver->DoubleClick(edit, inside(12));
    EXPECT_EQ(SelectionOf(edit), (std::pair{10, 13})) << "\"Kai\"";
    // Dragging on from a double click takes whole words, either way.
    driver->ElapseDoubleClickTime();
    driver->Click(edit, inside(1));
    driver->MouseDoubleDown(edit, inside(1));
    driver->MouseMove(edit, inside(9), MK_LBUTTON);
    driver->MouseUp(edit, inside(9));
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 10})) << "\"Fähre  am \"";
    driver->ElapseDoubleClickTime();
    driver->Click(edit, inside(12));
    driver->MouseDoubleDown(edit, inside(12));
    driver->MouseMove(edit, inside(9), MK_LBUTTON);
    driver->MouseUp(edit, inside(9));
    EXPECT_EQ(SelectionOf(edit), (std::pair{7, 13})) << "\"am Kai\"";

    driver->PressKey(VK_HOME);
    driver->PressKey(VK_RIGHT, MK_CONTROL);
    EXPECT_EQ(SelectionOf(edit), (std::pair{7, 7}));
    driver->PressKey(VK_RIGHT, MK_CONTROL | MK_SHIFT);
    EXPECT_EQ(SelectionOf(edit), (std::pair{7, 10}));
    driver->PressKey(VK_END);
    driver->PressKey(VK_LEFT, MK_CONTROL);
    driver->PressKey(VK_LEFT, MK_CONTROL);
    EXPECT_EQ(SelectionOf(edit), (std::pair{7, 7}));

    // Ctrl with Backspace and Delete take a word.
    driver->PressKey(VK_BACK, MK_CONTROL);
    EXPECT_EQ(TextOf(edit), "am Kai");
    driver->PressKey(VK_DELETE, MK_CONTROL);
    EXPECT_EQ(TextOf(edit), "Kai");
    driver->PressKey('Z', MK_CONTROL);
    EXPECT_EQ(TextOf(edit), "am Kai");

    // A change under a word drag ends it: the words it held are gone, and the drag goes on by
    // characters.
    CPoint onKai;
    {
        CClientDC dc(&edit);
        onKai = CPoint(4 + dc.GetTextExtent("am K").cx, 8);
    }
    driver->ElapseDoubleClickTime();
    driver->Click(edit, onKai);
    driver->MouseDoubleDown(edit, onKai);
    driver->PressKey('Z', MK_CONTROL); // back to "Kai", the caret at its start
    driver->MouseMove(edit, CPoint(-20, 8), MK_LBUTTON);
    driver->MouseUp(edit, CPoint(-20, 8));
    driver->TypeText("x");
    EXPECT_EQ(TextOf(edit), "xKai");
}

TEST_P(CWndTest, EditsCopyCutAndPasteThroughTheClipboard) {
    CEdit name;
    CEdit other;
    CEdit pane;
    ASSERT_TRUE(name.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 200, 30), &parent, 9));
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                             CRect(10, 40, 200, 60), &parent, 10));
    ASSERT_TRUE(pane.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_READONLY,
                            CRect(10, 70, 200, 150), &parent, 11));
    name.SetWindowText("Hafen");
    name.SetFocus();
    driver->PressKey('A', MK_CONTROL); // everything
    driver->PressKey('C', MK_CONTROL);
    driver->PressKey(VK_END);
    driver->PressKey('V', MK_CONTROL);
    EXPECT_EQ(TextOf(name), "HafenHafen");
    name.SetSel(0, 5);
    driver->PressKey('X', MK_CONTROL);
    EXPECT_EQ(TextOf(name), "Hafen");
    other.SetFocus();
    driver->PressKey(VK_INSERT, MK_SHIFT); // what the other edit cut
    EXPECT_EQ(TextOf(other), "Hafen");
    other.SetSel(0, 2);
    driver->PressKey(VK_INSERT, MK_CONTROL);
    other.SetSel(0, -1);
    driver->PressKey(VK_DELETE, MK_SHIFT);
    EXPECT_EQ(TextOf(other), "");
    other.Paste();
    EXPECT_EQ(TextOf(other), "Hafen");

    // From a read-only pane text can be copied, not cut, and nothing pasted into it. A one-line
    // edit takes what was copied up to its first line break.
    pane.SetWindowText("Zeile 1\r\nZeile 2");
    pane.SetFocus();
    driver->PressKey('A', MK_CONTROL);
    driver->PressKey('X', MK_CONTROL);
    driver->PressKey('V', MK_CONTROL);
    EXPECT_EQ(TextOf(pane), "Zeile 1\r\nZeile 2");
    EXPECT_EQ(driver->Beeps().size(), 2u);
    pane.Copy();
    name.SetSel(0, -1);
    name.Paste();
    EXPECT_EQ(TextOf(name), "Zeile 1");
}

TEST_P(CWndTest, EditsUndoTheirLastChangeAndRedoItByUndoingAgain) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(10, 10, 200, 30), &parent, 9));
    edit.SetWindowText("Hafen");
    EXPECT_FALSE(edit.CanUndo()) << "a text set anew is nothing to undo";
    edit.SetFocus();
    driver->PressKey(VK_END);
    driver->TypeText(" Nord"); // typed in one go: one change
    EXPECT_TRUE(edit.CanUndo());
    driver->PressKey('Z', MK_CONTROL);
    EXPECT_EQ(TextOf(edit), "Hafen");
    driver->PressKey('Z', MK_CONTROL);
    EXPECT_EQ(TextOf(edit), "Hafen Nord");

    // A replaced selection comes back selected.
    edit.SetSel(0, 5);
    driver->TypeText("Kai");
    EXPECT_EQ(TextOf(edit), "Kai Nord");
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), "Hafen Nord");
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 5}));
    // Typing after the caret moved is a change of its own.
    driver->PressKey(VK_END);
    driver->TypeText("x");
    driver->PressKey(VK_LEFT);
    driver->TypeText("y");
    EXPECT_EQ(TextOf(edit), "Hafen Nordyx");
    edit.Undo();
    EXPECT_EQ(TextOf(edit), "Hafen Nordx");

    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.Undo());
    EXPECT_EQ(TextOf(edit), "Hafen Nordx");
    driver->PressKey(VK_END);
    driver->PressKey(VK_BACK);
    edit.SetReadOnly(TRUE); // what is read-only is not changed back either
    EXPECT_FALSE(edit.Undo());
    EXPECT_EQ(TextOf(edit), "Hafen Nord");
}

TEST_P(CWndTest, AnEditAtItsLimitReportsOnlyWhatItCutsAndReturnLeavesOneLineAlone) {
    EditInWindow window;
    ASSERT_TRUE(window.Create());
    CEdit& edit = window.edit;
    RecordingWindow& owner = window.owner;
    edit.SetLimitText(5);
    EXPECT_EQ(edit.GetLimitText(), 5u);
    edit.SetFocus();
    auto cuts = [&] {
        return std::count_if(
            owner.commands.begin(), owner.commands.end(),
            [](const RecordingWindow::Command& c) { return c.code == EN_MAXTEXT; });
    };
    driver->TypeText("abc");
    edit.ReplaceSel("de");
    EXPECT_EQ(TextOf(edit), "abcde");
    EXPECT_EQ(cuts(), 0) << "a text that just fits is not cut";
    edit.ReplaceSel("f");
    EXPECT_EQ(TextOf(edit), "abcde");
    EXPECT_EQ(cuts(), 1);
    driver->PressKey(VK_RETURN);
    EXPECT_EQ(TextOf(edit), "abcde");
    edit.SetLimitText(0);
    driver->PressKey(VK_RETURN);
    EXPECT_EQ(TextOf(edit), "abcde") << "a one-line edit takes no line break";
}

TEST_P(CWndTest, ButtonsReportClicksToTheirParent) {
    RecordingWindow owner;
    ASSERT_TRUE(owner.Create(CRect(0, 0, 200, 100)));
    CButton push;
    ASSERT_TRUE(push.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 60, 25),
                            &owner, IDOK));
    driver->Click(push, CPoint(10, 10));
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0].id, static_cast<UINT>(IDOK));
    EXPECT_EQ(owner.commands[0].code, BN_CLICKED);
    // Released outside the button: no click.
    driver->MouseDown(push, CPoint(10, 10));
    driver->MouseUp(owner, CPoint(150, 80));
    EXPECT_EQ(owner.commands.size(), 1u);
    CButton check;
    ASSERT_TRUE(
        check.Create("x", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(5, 40, 60, 60), &owner, 3));
    driver->Click(check, CPoint(3, 3));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED) << "a plain check box leaves checking to its owner";
}

// Handlers that fail with exceptions, as a handler fails on a store error.
class FailingWindow : public CWnd {
public:
    bool failCreate = false;

    BOOL Create(const CRect& rect) {
        return CreateEx(0, nullptr, "failing", WS_POPUP | WS_VISIBLE | WS_CAPTION, rect, nullptr,
                        0);
    }

protected:
    afx_msg LRESULT OnCreateMessage(WPARAM, LPARAM) {
        if (failCreate)
            throw CDaoException(AFX_DAO_ERROR_ENGINE, "Die Tabelle fehlt.");
        return 0;
    }
    afx_msg LRESULT OnOutOfMemory(WPARAM, LPARAM) { throw std::bad_alloc(); }
    afx_msg LRESULT OnReportedAlready(WPARAM, LPARAM) { throw CUserException(); }
    DECLARE_MESSAGE_MAP()
};

constexpr UINT kOutOfMemoryMessage = WM_USER + 8;
constexpr UINT kReportedMessage = WM_USER + 9;

BEGIN_MESSAGE_MAP(FailingWindow, CWnd)
ON_MESSAGE(WM_CREATE, OnCreateMessage)
ON_MESSAGE(kOutOfMemoryMessage, OnOutOfMemory)
ON_MESSAGE(kReportedMessage, OnReportedAlready)
END_MESSAGE_MAP()

TEST_P(CWndTest, AnExceptionEndsItsMessageWithTheErrorShown) {
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope(notifier);
    FailingWindow refused;
    refused.failCreate = true;
    EXPECT_FALSE(refused.Create(CRect(0, 0, 200, 100))); // a failed WM_CREATE creates nothing
    EXPECT_EQ(refused.m_hWnd, nullptr);
    ASSERT_EQ(notifier.messages.size(), 1u);
    EXPECT_EQ(notifier.messages[0].text, "Die Tabelle fehlt.");
    EXPECT_EQ(notifier.messages[0].type, static_cast<UINT>(MB_ICONEXCLAMATION));

    // (A failing click in a running dialog is part of the conformance suite.)
    FailingWindow window;
    ASSERT_TRUE(window.Create(CRect(0, 0, 200, 100)));
    EXPECT_EQ(window.SendMessage(kOutOfMemoryMessage, 0, 0), 0);
    ASSERT_EQ(notifier.messages.size(), 2u);
    EXPECT_EQ(notifier.messages[1].text, "Nicht genügend Arbeitsspeicher.");
    // What was reported where it was thrown is not shown again.
    EXPECT_EQ(window.SendMessage(kReportedMessage, 0, 0), 0);
    EXPECT_EQ(notifier.messages.size(), 2u);
    // An action the layer runs by a timer of its own (a deferred label edit) fails the same way.
    winsys::Defer(window.m_hWnd, [] { throw CDaoException(AFX_DAO_ERROR_ENGINE, "Zu spät."); });
    winsys::RunDueTimers(CurrentWindowBackend().TickCount() + GetDoubleClickTime());
    ASSERT_EQ(notifier.messages.size(), 3u);
    EXPECT_EQ(notifier.messages[2].text, "Zu spät.");
    EXPECT_FALSE(winsys::NextTimerDue()); // the one-shot timer is gone
    window.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Backends, CWndTest, testing::ValuesIn(UiDriverNames()));

} // namespace
