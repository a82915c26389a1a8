// Dialogs, data exchange, modal runs, message boxes, popup menus and the toolbar, on every
// backend.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"
#include "platform/window_backend.h"
#include "tests/support/edit_in_window.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr UINT kNameEdit = 100;
constexpr UINT kCheck = 101;
constexpr UINT kNested = 102;

constexpr std::array<ControlTemplate, 5> kControls{{
    {kNameEdit, ControlClass::Edit, "", 10, 10, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
     0},
    {kCheck, ControlClass::Button, "Check", 10, 30, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {kNested, ControlClass::Button, "More", 10, 50, 40, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
    {IDOK, ControlClass::Button, "OK", 60, 50, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {IDCANCEL, ControlClass::Button, "Abbrechen", 110, 50, 40, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
}};

constexpr DialogTemplate kTemplate{
    .id = 9001,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT,
    .exStyle = 0,
    .title = "Test",
    .fontName = "MS Sans Serif",
    .pointSize = 8,
    .x = 0,
    .y = 0,
    .cx = 160,
    .cy = 70,
    .controls = kControls,
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(kTemplate, parent) {}

    CString m_name;
    int m_check = 0;
    int initCalls = 0;
    std::function<void()> onNested;
    std::vector<std::pair<UINT, int>> sizes;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, kNameEdit, m_name);
        DDV_MaxChars(dx, m_name, 5);
        DDX_Check(dx, kCheck, m_check);
    }
    BOOL OnInitDialog() override {
        ++initCalls;
        return CDialog::OnInitDialog();
    }
    afx_msg void OnNested() {
        if (onNested)
            onNested();
    }
    afx_msg void OnSize(UINT type, int cx, int cy) {
        CDialog::OnSize(type, cx, cy);
        sizes.emplace_back(type, cx * 10000 + cy);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(kNested, OnNested)
ON_WM_SIZE()
END_MESSAGE_MAP()

class DialogConformance : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        driver = MakeUiDriver(GetParam());
        if (!driver)
            GTEST_SKIP() << GetParam() << " backend not available";
    }
    std::unique_ptr<UiDriver> driver;
};

TEST_P(DialogConformance, EnterEndsWithOkAndTransfersTheControls) {
    TestDialog dialog;
    dialog.m_name = "ab";
    driver->Then([&](UiDriver& d) {
        CString text;
        d.Control(kNameEdit)->GetWindowText(text);
        EXPECT_EQ(text, "ab"); // loaded by OnInitDialog
        EXPECT_EQ(CWnd::GetFocus(), d.Control(kNameEdit));
        d.PressKey(VK_END);
        d.TypeText("cd");
        d.PressButton(kCheck);
    });
    driver->Then([](UiDriver& d) { d.PressKey(VK_RETURN); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_name, "abcd");
    EXPECT_EQ(dialog.m_check, 1);
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_TRUE(driver->Failures().empty());
    EXPECT_EQ(dialog.m_hWnd, nullptr); // the window is gone after the run
}

TEST_P(DialogConformance, EscapeAndTheCancelButtonEndWithoutTransfer) {
    TestDialog dialog;
    driver->Then([](UiDriver& d) {
        d.TypeText("xyz");
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_name, "");

    TestDialog again;
    driver->Then([](UiDriver& d) { d.PressButton(IDCANCEL); });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(DialogConformance, ValidationFailureKeepsTheDialogOpen) {
    TestDialog dialog;
    driver->Then([&](UiDriver& d) {
        // Set past the limit directly: OK must refuse with a message.
        d.Control(kNameEdit)->SetWindowText("toolong");
        d.PressButton(IDOK);
        EXPECT_FALSE(d.Messages().empty());
        EXPECT_EQ(CWnd::GetFocus(), d.Control(kNameEdit));
        EXPECT_EQ(d.ActiveWindow(), &dialog);
    });
    driver->Then([](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(driver->Messages().size(), 1u);
}

TEST_P(DialogConformance, RunLeftOpenByTheScriptIsCancelledAndReported) {
    TestDialog dialog;
    dialog.m_name = "kept";
    driver->Then([](UiDriver& d) { d.TypeText("!"); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(driver->Failures().size(), 1u);
    EXPECT_NE(driver->Failures()[0].find("Test"), std::string::npos);
    EXPECT_EQ(dialog.m_name, "kept");
}

TEST_P(DialogConformance, MissingTemplateFailsTheRun) {
    CDialog dialog(4711u);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(DialogConformance, MessageBoxesAnswerFromTheQueueOrAStep) {
    driver->QueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("Replace?", MB_YESNO | MB_ICONQUESTION), IDNO);
    // Nothing queued: the first button.
    EXPECT_EQ(AfxMessageBox("Done."), IDOK);
    ASSERT_EQ(driver->Messages().size(), 2u);
    EXPECT_EQ(driver->Messages()[0].text, "Replace?");
    EXPECT_EQ(driver->Messages()[0].answer, IDNO);
    EXPECT_EQ(driver->Messages()[0].type & MB_TYPEMASK, MB_YESNO);

    driver->SetInteractiveMessageBoxes(true);
    driver->Then([](UiDriver& d) {
        ASSERT_NE(d.MessageBoxShown(), nullptr);
        EXPECT_EQ(d.MessageBoxShown()->text, "Sure?");
        EXPECT_EQ(d.MessageBoxButtonLabel(IDYES), "&Ja");
        EXPECT_EQ(d.MessageBoxButtonLabel(IDNO), "&Nein");
        EXPECT_EQ(d.MessageBoxButtonLabel(IDCANCEL), "");
        d.AnswerMessageBox(IDYES);
    });
    EXPECT_EQ(AfxMessageBox("Sure?", MB_YESNO), IDYES);
    driver->Then([](UiDriver& d) { d.PressKey('N'); });
    EXPECT_EQ(AfxMessageBox("Really?", MB_YESNOCANCEL), IDNO) << "the letter of \"&Nein\"";
    MessageBeep(MB_ICONEXCLAMATION);
    EXPECT_EQ(driver->Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(DialogConformance, AnUnansweredInteractiveBoxIsReportedAndGetsItsFirstButton) {
    driver->SetInteractiveMessageBoxes(true);
    EXPECT_EQ(AfxMessageBox("Nobody answers", MB_YESNO), IDYES);
    ASSERT_EQ(driver->Failures().size(), 1u);
    EXPECT_NE(driver->Failures()[0].find("Nobody answers"), std::string::npos);
}

TEST_P(DialogConformance, TabWalksTheTabStopsAndTheDefaultIdDecidesEnter) {
    TestDialog dialog;
    std::vector<int> visited;
    driver->Then([&](UiDriver& d) {
        for (int i = 0; i < 5; ++i) {
            visited.push_back(CWnd::GetFocus()->GetDlgCtrlID());
            d.PressKey(VK_TAB);
        }
        EXPECT_EQ(CWnd::GetFocus(), d.Control(kNameEdit)) << "the walk wraps around";
        d.PressKey(VK_TAB, MK_SHIFT);
        EXPECT_EQ(CWnd::GetFocus(), d.Control(IDCANCEL));
        // An edit reached by Tab has its whole text selected: typing replaces it.
        auto* name = static_cast<CEdit*>(d.Control(kNameEdit));
        name->SetWindowText("Alt");
        name->SetSel(1, 1);
        d.PressKey(VK_TAB);
        EXPECT_EQ(CWnd::GetFocus(), name);
        d.TypeText("Neu");
        CString typed;
        name->GetWindowText(typed);
        EXPECT_EQ(typed, "Neu");
        name->SetSel(0, 0);
        d.PressKey(VK_TAB, MK_SHIFT);
        d.PressKey(VK_TAB); // back and forth, the same
        int start = 0;
        int end = 0;
        name->GetSel(start, end);
        EXPECT_EQ(std::pair(start, end), std::pair(0, 3));
        name->SetSel(3, 3);
        dialog.GotoDlgCtrl(d.Control(IDOK));
        dialog.GotoDlgCtrl(name);
        name->GetSel(start, end);
        EXPECT_EQ(std::pair(start, end), std::pair(0, 3)) << "GotoDlgCtrl selects as Tab does";
        d.PressKey(VK_TAB, MK_SHIFT);
        EXPECT_EQ(CWnd::GetFocus(), d.Control(IDCANCEL));
        EXPECT_EQ(LOWORD(dialog.GetDefID()), static_cast<WORD>(IDOK));
        dialog.SetDefID(IDCANCEL);
        d.Control(kNameEdit)->SetFocus();
        d.PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(visited, (std::vector<int>{kNameEdit, kCheck, kNested, IDOK, IDCANCEL}));
}

TEST_P(DialogConformance, ReturnOnAFocusedPushButtonPressesThatButton) {
    TestDialog dialog;
    driver->Then([&](UiDriver& d) {
        dialog.SetDefID(IDCANCEL);
        d.Control(IDOK)->SetFocus();
        d.PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

class EndsAtOnce : public CDialog {
public:
    EndsAtOnce() : CDialog(kTemplate) {}
    CButton check;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kCheck, check); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        EXPECT_EQ(CWnd::FromHandle(check.m_hWnd), &check); // attached by DDX_Control
        check.SetCheck(BST_CHECKED);
        EndDialog(77);
        return TRUE;
    }
};

TEST_P(DialogConformance, EndingDuringInitialisationSkipsTheRun) {
    EndsAtOnce dialog;
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_TRUE(driver->Failures().empty()) << "no loop ran, so nothing was left running";
    EXPECT_EQ(dialog.check.m_hWnd, nullptr);
}

TEST_P(DialogConformance, ClosingTheWindowCancels) {
    TestDialog dialog;
    driver->Then([&](UiDriver&) { dialog.SendMessage(WM_CLOSE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_P(DialogConformance, AnOwnerIsDisabledForTheRunOnlyIfItWasEnabledAndTheEndHidesTheDialog) {
    RecordingWindow owner;
    ASSERT_TRUE(owner.Create(CRect(0, 0, 300, 200)));
    for (const bool enabledBefore : {true, false}) {
        owner.EnableWindow(enabledBefore);
        TestDialog dialog(&owner);
        driver->Then([&](UiDriver&) {
            EXPECT_FALSE(owner.IsWindowEnabled());
            dialog.EndDialog(IDCANCEL);
            EXPECT_FALSE(dialog.IsWindowVisible()) << "hidden at once, gone at the loop's end";
        });
        dialog.DoModal();
        EXPECT_EQ(owner.IsWindowEnabled() != FALSE, enabledBefore);
    }
}

// A dialog that exchanges one number with its edit.
template <typename Number> class NumberDialog : public CDialog {
public:
    explicit NumberDialog(Number initial) : CDialog(kTemplate), number(initial) {}
    Number number;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kNameEdit, number); }
};

class MenuConformance : public DialogConformance {
protected:
    void SetUp() override {
        DialogConformance::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(owner.Create(CRect(50, 50, 300, 300)));
        ASSERT_TRUE(menu.CreatePopupMenu());
        CMenu sub;
        ASSERT_TRUE(sub.CreatePopupMenu());
        sub.AppendMenu(MF_STRING, 57346, "&Verzeichnis");
        sub.AppendMenu(MF_STRING | MF_GRAYED, 57347, "&Standbild");
        ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu), "Erzeugen"));
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_GRAYED, 57350, "Ein&fügen");
        menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 57353, "&Wählen");
        menu.AppendMenu(MF_STRING | MF_CHECKED, 57354, "&Liste");
    }
    RecordingWindow owner;
    CMenu menu;
};

TEST_P(MenuConformance, ChoosingPostsTheCommandToTheOwner) {
    driver->Then([](UiDriver& d) {
        ASSERT_TRUE(d.MenuShown());
        // As shown on the screen: on the toolkit's side these are read from its own menu.
        const std::vector<MenuItemInfo> items = d.MenuItems();
        ASSERT_EQ(items.size(), 5u);
        EXPECT_EQ(items[0].text, "&Wählen");
        EXPECT_EQ(items[0].id, 57353u);
        EXPECT_FALSE(items[0].grayed);
        EXPECT_FALSE(items[0].checked);
        EXPECT_TRUE(items[1].popup);
        EXPECT_EQ(items[1].text, "Erzeugen");
        ASSERT_EQ(items[1].subItems.size(), 2u);
        EXPECT_EQ(items[1].subItems[0].id, 57346u);
        EXPECT_FALSE(items[1].subItems[0].grayed);
        EXPECT_TRUE(items[1].subItems[1].grayed);
        EXPECT_TRUE(items[2].separator);
        EXPECT_TRUE(items[3].grayed);
        EXPECT_EQ(items[4].text, "&Liste");
        EXPECT_TRUE(items[4].checked);
        EXPECT_FALSE(items[4].grayed);
        EXPECT_FALSE(d.ChooseMenuItem(57350)); // greyed: the menu stays up
        EXPECT_FALSE(d.ChooseMenuItem(57347));
        EXPECT_TRUE(d.MenuShown());
        EXPECT_TRUE(d.ChooseMenuItem(57346));
    });
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 60, 60, &owner));
    driver->Flush();
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0].id, 57346u);
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(MenuConformance, DismissingChoosesNothing) {
    // Enabling answers the item's state before; an item the menu lacks answers -1.
    EXPECT_EQ(menu.EnableMenuItem(57350, MF_ENABLED), UINT{MF_GRAYED});
    EXPECT_EQ(menu.EnableMenuItem(57350, MF_GRAYED), UINT{MF_ENABLED});
    EXPECT_EQ(menu.EnableMenuItem(4711, MF_GRAYED), static_cast<UINT>(-1));
    driver->Then([](UiDriver& d) { d.DismissMenu(); });
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, 60, 60, &owner);
    driver->Flush();
    EXPECT_TRUE(owner.commands.empty());
    driver->Then([](UiDriver& d) { d.ChooseMenuItem(57353); });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 60, 60, &owner), 57353);
    driver->Flush();
    EXPECT_TRUE(owner.commands.empty()); // returned, not posted
    EXPECT_TRUE(driver->Failures().empty());
}

TEST_P(MenuConformance, MenuLeftOpenIsDismissedAndReported) {
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, 60, 60, &owner);
    EXPECT_EQ(driver->Failures().size(), 1u);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_P(DialogConformance, ToolbarClicksReachTheParentAsCommands) {
    RecordingWindow owner;
    ASSERT_TRUE(owner.Create(CRect(0, 0, 300, 100)));
    CToolBarCtrl toolbar;
    ASSERT_TRUE(toolbar.Create(WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER, CRect(0, 0, 50, 50),
                               &owner, 1117));
    TBBUTTON buttons[] = {
        {0, 57346, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
        {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, 0},
        {1, 32783, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
        {2, 32787, 0, TBSTYLE_BUTTON, 0, 0},
    };
    ASSERT_TRUE(toolbar.AddButtons(4, buttons));
    EXPECT_EQ(toolbar.GetButtonCount(), 4);
    CRect first;
    CRect separator;
    CRect third;
    toolbar.GetItemRect(0, &first);
    toolbar.GetItemRect(1, &separator);
    toolbar.GetItemRect(2, &third);
    EXPECT_EQ(separator.left, first.right);
    EXPECT_EQ(third.left, separator.right);
    EXPECT_LT(separator.Width(), first.Width());

    driver->ClickToolbarButton(toolbar, 32783);
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0].id, 32783u);
    EXPECT_EQ(owner.commands[0].from, toolbar.m_hWnd);
    driver->ClickToolbarButton(toolbar, 32787); // disabled
    EXPECT_EQ(owner.commands.size(), 1u);

    // Pressed and let go over another button: the first comes up again and nothing is sent.
    driver->MouseDown(toolbar, first.CenterPoint());
    EXPECT_TRUE(toolbar.IsButtonPressed(57346));
    driver->MouseUp(toolbar, third.CenterPoint());
    EXPECT_FALSE(toolbar.IsButtonPressed(57346));
    EXPECT_EQ(owner.commands.size(), 1u);

    // A hidden button takes no room: the separator and the buttons after it move up.
    toolbar.HideButton(57346, TRUE);
    CRect moved;
    toolbar.GetItemRect(2, &moved);
    EXPECT_EQ(moved.left, third.left - first.Width());
    driver->Click(toolbar, first.CenterPoint());
    ASSERT_EQ(owner.commands.size(), 2u);
    EXPECT_EQ(owner.commands[1].id, 32783u);
    toolbar.HideButton(57346, FALSE);

    toolbar.CheckButton(32783, TRUE);
    EXPECT_TRUE(toolbar.IsButtonChecked(32783));
    EXPECT_FALSE(toolbar.IsButtonChecked(57346));
    toolbar.CheckButton(32783, FALSE);
    EXPECT_FALSE(toolbar.IsButtonChecked(32783));
    EXPECT_FALSE(toolbar.CheckButton(4242, TRUE));
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogConformance, testing::ValuesIn(UiDriverNames()));
INSTANTIATE_TEST_SUITE_P(Backends, MenuConformance, testing::ValuesIn(UiDriverNames()));

} // namespace
