// CWnd and its message maps: placement and coordinates, text, styles, child lookup, subclassing
// with Default(), the dispatch of commands and notifications to the right entry, and
// the simple controls (edit, button) as the dialog code drives them.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"
#include "tests/support/edit_in_window.h"

#include <gmock/gmock.h>
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
    std::vector<CSize> sizes; // WM_SIZE, apart: the toolkit sends it when it likes

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
    afx_msg void OnSize(UINT, int width, int height) { sizes.emplace_back(width, height); }
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
ON_WM_SIZE()
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

// A width or a height alone changed by the frame's border, and the frame dragged by its caption.
TEST_P(CWndTest, DraggingTheFrameResizesAndMovesTheWindow) {
    CRect client;
    parent.GetClientRect(&client);
    for (const CSize size : {CSize(client.Width() + 60, client.Height()), CSize(300, 200)}) {
        parent.sizes.clear();
        driver->ResizeWindow(parent, size.cx, size.cy);
        parent.GetClientRect(&client);
        EXPECT_EQ(client, CRect(CPoint(0, 0), size));
        EXPECT_THAT(parent.sizes, testing::Contains(size));
    }
    driver->DragWindowTo(parent, CPoint(150, 170));
    CRect window;
    parent.GetWindowRect(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(150, 170));
    parent.GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(300, 200));
    EXPECT_THAT(driver->Failures(), testing::IsEmpty());
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
    auto wordDrag = [&](std::size_t from, std::size_t to) {
        driver->ElapseDoubleClickTime();
        driver->Click(edit, inside(from));
        driver->MouseDoubleDown(edit, inside(from));
        driver->MouseMove(edit, inside(to), MK_LBUTTON);
        driver->MouseUp(edit, inside(to));
    };
    wordDrag(1, 9);
    EXPECT_EQ(SelectionOf(edit), (std::pair{0, 10})) << "\"Fähre  am \"";
    wordDrag(12, 9);
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

INSTANTIATE_TEST_SUITE_P(Backends, CWndTest, testing::ValuesIn(UiDriverNames()));

} // namespace
