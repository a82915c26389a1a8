// Scripting what a person does with the windows of the layer, for tests. A test queues steps;
// every modal loop (dialog, message box, popup menu) runs the next step whenever it is idle, so
// a step may open a nested modal loop whose own idle time runs the steps after it. A loop the
// script leaves running is cancelled and reported as a failure, never left to hang.
//
// The same test bodies run against every backend: they take a UiDriver and compute their points
// from the layer's own geometry (item rectangles, hit tests), never from fixed pixels.
#pragma once

#include "platform/cstring.h"
#include "platform/list_ctrl.h"
#include "platform/toolbar_ctrl.h"
#include "platform/tree_ctrl.h"
#include "platform/window.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CMenu;

struct MenuItemInfo {
    UINT id = 0;  // command; 0 for separators and sub-menus
    CString text; // as given, with its & marks
    bool separator = false;
    bool grayed = false; // MF_GRAYED or MF_DISABLED
    bool checked = false;
    bool popup = false;
    std::vector<MenuItemInfo> subItems;
};

// The items of `menu` as they stand now, sub-menus included (empty for no menu).
std::vector<MenuItemInfo> DescribeMenu(CMenu* menu);

struct MessageBoxInfo {
    CString text;
    CString caption;
    UINT type = MB_OK;
    int answer = 0; // the button the box returned
};

enum class MouseButton { Left, Right };

class UiDriver {
public:
    using Step = std::function<void(UiDriver& driver)>;
    virtual ~UiDriver() = default;

    // ---- The script ----
    virtual UiDriver& Then(Step step) = 0;
    virtual std::size_t PendingSteps() const = 0;
    // What went wrong: loops left running, menu items that could not be chosen, ...
    virtual const std::vector<std::string>& Failures() const = 0;
    virtual void ReportFailure(std::string failure) = 0;
    // Delivers whatever is posted and paints what is invalid (done after every action).
    virtual void Flush() = 0;

    // ---- Windows ----
    // The window of the innermost running modal loop (a dialog), or null.
    virtual CWnd* ActiveWindow() const = 0;
    // A control of the active window.
    CWnd* Control(UINT id) const;
    // The client area's size of a top-level window, as a person drags the border of its frame.
    virtual void ResizeWindow(CWnd& topLevel, int width, int height) = 0;
    // The window's place on the screen (its window rectangle's top left), as a person drags its
    // caption.
    virtual void DragWindowTo(CWnd& topLevel, CPoint screenTopLeft) = 0;
    // The close button on a top-level window's frame, as a person clicks it.
    virtual void ClickCloseButton(CWnd& topLevel) = 0;
    // The title shown on a top-level window's frame; empty for a window without a caption.
    virtual std::string FrameTitle(CWnd& topLevel) const = 0;
    // The size of the icon a top-level window's frame shows; empty for none.
    virtual CSize FrameIconSize(CWnd& topLevel) const = 0;

    // ---- Mouse, at points in `window`'s client coordinates ----
    virtual void MouseMove(CWnd& window, CPoint point, UINT keys = 0) = 0;
    virtual void MouseDown(CWnd& window, CPoint point, MouseButton button = MouseButton::Left,
                           UINT keys = 0) = 0;
    virtual void MouseUp(CWnd& window, CPoint point, MouseButton button = MouseButton::Left,
                         UINT keys = 0) = 0;
    // Second press of a double click (the first is an ordinary click just before).
    virtual void MouseDoubleDown(CWnd& window, CPoint point, UINT keys = 0) = 0;
    // Lets the double-click time pass (a click on a selected label then starts editing it).
    virtual void ElapseDoubleClickTime() = 0;
    // Lets `milliseconds` pass with the buttons held as they are (a held scroll arrow repeats).
    virtual void Wait(int milliseconds) = 0;
    // Turns the wheel by `notches` (positive: away from the person, which scrolls up) with the
    // pointer at `point`.
    virtual void MouseWheel(CWnd& window, CPoint point, int notches, UINT keys = 0) = 0;
    // Tilts the wheel, or swipes the touch pad, sideways by `notches` (positive: to the right).
    virtual void MouseWheelSideways(CWnd& window, CPoint point, int notches) = 0;

    void Click(CWnd& window, CPoint point, UINT keys = 0);
    void DoubleClick(CWnd& window, CPoint point, UINT keys = 0);
    void RightClick(CWnd& window, CPoint point, UINT keys = 0);
    // A click after which the double-click time passes.
    void SlowClick(CWnd& window, CPoint point, UINT keys = 0);
    // Presses the left button at `from` and moves on to `to` at once, quicker than a toolkit
    // can follow each step; the button stays held, or is released there with `release`.
    virtual void PressAndMoveAtOnce(CWnd& window, CPoint from, CPoint to, bool release = false);
    // Press at `from`, move through `through` to `to`, release there.
    void Drag(CWnd& window, CPoint from, std::initializer_list<CPoint> through, CPoint to,
              UINT keys = 0);

    // ---- Keyboard, to the window with the focus ----
    // `modifiers`: MK_SHIFT and MK_CONTROL held during the key.
    virtual void PressKey(UINT virtualKey, UINT modifiers = 0) = 0;
    virtual void TypeText(std::string_view text) = 0;

    // ---- Helpers by item, from the layer's geometry ----
    // Clicks the push button, check box or other control `id` of the active window.
    void PressButton(UINT id);
    // Centre of the item's part (LVIR_ICON, LVIR_LABEL, LVIR_BOUNDS) in list client coordinates,
    // scrolled into view first.
    CPoint ListItemPoint(CListCtrl& list, int index, UINT part = LVIR_LABEL);
    int FindListItem(const CListCtrl& list, std::string_view text, int subItem = 0) const;
    void ClickListItem(CListCtrl& list, int index, UINT keys = 0);
    void DoubleClickListItem(CListCtrl& list, int index, UINT keys = 0);
    void RightClickListItem(CListCtrl& list, int index, UINT keys = 0);
    void SlowClickListItem(CListCtrl& list, int index);
    // Centre of the column's header (report view).
    CPoint ColumnHeaderPoint(CListCtrl& list, int column);
    void ClickColumnHeader(CListCtrl& list, int column);
    // Centre of the label or of the +/- button, scrolled into view first.
    CPoint TreeItemPoint(CTreeCtrl& tree, HTREEITEM item);
    CPoint TreeButtonPoint(CTreeCtrl& tree, HTREEITEM item);
    // The first item in tree order with this text; or by a path of texts from the top level.
    HTREEITEM FindTreeItem(const CTreeCtrl& tree, std::string_view text) const;
    HTREEITEM FindTreeItem(const CTreeCtrl& tree,
                           std::initializer_list<std::string_view> path) const;
    void ClickTreeItem(CTreeCtrl& tree, HTREEITEM item, UINT keys = 0);
    void DoubleClickTreeItem(CTreeCtrl& tree, HTREEITEM item);
    void RightClickTreeItem(CTreeCtrl& tree, HTREEITEM item);
    void SlowClickTreeItem(CTreeCtrl& tree, HTREEITEM item);
    void ClickTreeButton(CTreeCtrl& tree, HTREEITEM item);
    void ClickToolbarButton(CToolBarCtrl& toolbar, UINT command);

    // ---- Popup menus (while one is tracked, i.e. inside a step) ----
    virtual bool MenuShown() const = 0;
    // The items of the open popup as shown: a backend with a toolkit reads them from the
    // toolkit's own menu.
    virtual std::vector<MenuItemInfo> MenuItems() const = 0;
    // Chooses the command anywhere in the menu or its sub-menus; false (and nothing happens,
    // the menu stays open) when there is no such item or it is greyed.
    virtual bool ChooseMenuItem(UINT command) = 0;
    virtual void DismissMenu() = 0;

    // ---- Message boxes ----
    // Answers for the next boxes, in order; a box without a queued answer gets its first button
    // unless interactive boxes are on.
    virtual void QueueMessageBoxAnswer(int button) = 0;
    // Interactive: a box runs a modal loop of its own, and a step answers it.
    virtual void SetInteractiveMessageBoxes(bool interactive) = 0;
    virtual const MessageBoxInfo* MessageBoxShown() const = 0;
    // The label on the open box's button for `answer` (IDYES, ...), & mark included; empty when
    // the box has no such button.
    virtual std::string MessageBoxButtonLabel(int answer) const = 0;
    virtual void AnswerMessageBox(int button) = 0;
    virtual const std::vector<MessageBoxInfo>& Messages() const = 0;
    virtual const std::vector<UINT>& Beeps() const = 0;

    // ---- What is on the screen ----
    // The colour at a client point of a window as last painted (0x00BBGGRR), CLR_INVALID when
    // it cannot be read.
    virtual COLORREF PixelAt(CWnd& window, CPoint point) = 0;
    virtual HCURSOR CurrentCursor() const = 0;
};

// ---- Running the same tests on every backend ----

using UiDriverFactory = std::function<std::unique_ptr<UiDriver>()>;
// A backend makes its driver known under its name ("headless" is there from the start).
void RegisterUiDriver(std::string name, UiDriverFactory factory);
// A test binary that runs the suites for other backends only.
void UnregisterUiDriver(const std::string& name);
std::vector<std::string> UiDriverNames();
std::unique_ptr<UiDriver> MakeUiDriver(const std::string& name);

// A top-level window that records what its children tell it (WM_NOTIFY with the data a
// handler reads, WM_COMMAND) and lets a test decide the answer to a notification.
class RecordingWindow : public CWnd {
public:
    struct Notification {
        UINT code = 0;
        UINT id = 0;
        HWND from = nullptr;
        // List view notifications.
        int item = -1;
        int subItem = 0;
        UINT newState = 0;
        UINT oldState = 0;
        UINT changed = 0;
        CPoint point;
        LPARAM lParam = 0;
        // Tree view notifications.
        UINT action = 0;
        HTREEITEM itemOld = nullptr;
        HTREEITEM itemNew = nullptr;
        // Label edits: the text, or none for a cancelled edit, and the room given for it.
        bool hasText = false;
        CString text;
        int textMax = 0;
        // Custom draw.
        DWORD drawStage = 0;
        CRect rect;
    };
    struct Command {
        UINT id;
        UINT code;
        HWND from;
    };
    // WM_CONTEXTMENU: the window it came from and the point, in screen coordinates.
    struct ContextMenu {
        HWND from;
        CPoint screen;
    };

    // Creates the window at `rect` (screen coordinates), visible.
    BOOL Create(const CRect& rect, LPCTSTR title = "test window");

    std::vector<Notification> notifications;
    std::vector<Command> commands;
    std::vector<ContextMenu> contextMenus;
    // Decides the result of a notification (nothing set: 0).
    std::function<LRESULT(NMHDR* header)> answer;
    // Called for every notification after it was recorded, with the result chosen.
    std::function<void(NMHDR* header)> observe;

    // The recorded notifications with this code.
    std::vector<Notification> Recorded(UINT code) const;
    void Clear() {
        notifications.clear();
        commands.clear();
        contextMenus.clear();
    }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
