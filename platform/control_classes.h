// The window classes of the layer's controls: their state and their default behaviour.
// Layer-internal.
#pragma once

#include "platform/commctrl.h"
#include "platform/mouse_wheel.h"
#include "platform/win_styles.h"
#include "platform/window_system.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class TreeView;
class ListView;

std::unique_ptr<WindowClass> MakeWindowClass(WindowKind kind);
std::unique_ptr<WindowClass> MakeTreeViewClass();
std::unique_ptr<WindowClass> MakeListViewClass();
std::unique_ptr<WindowClass> MakeToolBarClass();

// ---- Dialog ----
class DialogClass : public WindowClass {
public:
    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT defaultId = IDOK;
    HWND lastFocus = nullptr;
};

// ---- Edit ----
class EditClass : public WindowClass {
public:
    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HCURSOR ClassCursor() const override;

    // Byte offsets into the window text.
    int selStart = 0;
    int selEnd = 0;
    UINT limit = 0; // characters; 0 = no limit of ours
    // Not read-only: created so, or made so by EM_SETREADONLY.
    bool Editable(const WindowData& data) const { return !(data.style & ES_READONLY); }
    // A label editor of a list or tree: Enter and Escape end the edit, losing the focus commits.
    std::function<void(bool commit)> labelEditEnd;

    // The mouse while a selection is dragged out, from the button's press to its release.
    std::optional<winsys::ScopedCapture> dragging;
    // A drag that began with a double click takes whole words, keeping the first word selected.
    std::optional<std::pair<int, int>> draggedWord;
    // Where the pointer last was, moved onto the text area, and on which side of that area it
    // lies (-1, 0 or 1 across and down); the timer that moves the selection on while it is out.
    CPoint dragPoint;
    CSize dragSide;
    bool dragTimer = false;
    static constexpr UINT_PTR kDragTimer = 1;
    // The pointer moved while a selection is drawn out: the selection reaches it, or the text
    // area's edge when it lies beyond.
    void DragTo(HWND window, CPoint point);
    // A tick of the drag's timer: the caret goes on a character or a line towards the pointer,
    // and the text follows it.
    void DragStep(HWND window);
    // The selection from where the drag began to `offset`, by words when it began with a
    // double click.
    void SelectDraggedTo(HWND window, int offset);
    void EndDrag(HWND window);
    // Where the text is drawn: inside the margins and, in a multi-line edit, the lines shown
    // whole.
    CRect TextArea(HWND window) const;
    // The byte offset a click at `point` (client coordinates) puts the caret at.
    int OffsetAtPoint(HWND window, CPoint point) const;

    // How many pixels the text is scrolled to the left.
    int scrollX = 0;
    // Scrolls the text so that the caret shows: sideways, and in a multi-line edit up or down.
    // Past a side edge the text jumps by a good part of its width rather than a character.
    void ScrollCaretIntoView(HWND window);
    // The client point where the character at byte `offset` is drawn, or nullopt past the end.
    std::optional<CPoint> PointOfOffset(HWND window, int offset) const;

    // Multi-line: the line shown at the top, and the wheel's turns.
    int firstLine = 0;
    WheelTurns wheel;
    // Up and Down keep the caret as far from the left as it was when the first of them was
    // pressed, across shorter lines: that distance, and the caret offset the last of them left.
    std::optional<std::pair<int, int>> lineKeyColumn; // {caret offset, x}

    // `typed`: characters typed at the caret, which the next typed ones join into one change to
    // undo.
    void ReplaceSelection(HWND window, std::string_view text, bool notify, bool typed = false);
    // Every change of the text by the edit itself (typing, cutting, pasting, undoing) ends here.
    void ChangeText(HWND window, const std::string& text, bool notify);
    void Paint(HWND window);

    // ---- Clipboard and undo ----
    // The clipboard's and undo's messages and keys (Ctrl+C, X, V, A and Z; Ctrl+Insert,
    // Shift+Insert and Shift+Delete); false for any other.
    bool HandleEditCommand(HWND window, UINT message, WPARAM wParam, LRESULT& result);
    void CopySelection(HWND window) const;
    void Paste(HWND window);
    // One level, as Windows' edits keep it: the text and selection before the last change.
    // Undoing swaps them with the present ones, so undoing again redoes.
    struct UndoState {
        std::string text;
        int selStart = 0;
        int selEnd = 0;
    };
    std::optional<UndoState> undo;
    int typedEnd = -1; // where the last typed characters end while typing goes on there
    void Undo(HWND window);
    // The edit's own menu of these commands, at a right click or the menu key.
    void ShowContextMenu(HWND window, CPoint screenPoint);

    // ---- Multi-line ----
    // The messages that scroll a multi-line edit; false for any other.
    bool HandleLineMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT& result);
    // Shows `line` at the top, as far as the text goes; the bar follows.
    void ScrollToLine(HWND window, long long line);
    // Moves the caret as Up, Down, Page Up, Page Down, Home and End do (Ctrl with Home and End:
    // to the text's start and end; Shift: the selection follows); false for any other key.
    bool MoveByLineKey(HWND window, UINT key);
    void UpdateLineBar(HWND window);
    void PaintLines(HWND window, CDC& dc, const std::string& text, bool focused);
    // OffsetAtPoint in a multi-line edit.
    int LineOffsetAt(HWND window, CPoint point) const;
};

// The boundary between characters of `line` nearest to `x` pixels from its start.
int OffsetAtX(std::string_view line, int x, const FontMetrics& metrics);

// ---- Button ----
class ButtonClass : public WindowClass {
public:
    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    int check = BST_UNCHECKED;
    bool pressed = false;
    void Paint(HWND window);
};

// ---- Static ----
class StaticClass : public WindowClass {
public:
    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// ---- Toolbar ----
struct PixelImage;
class ToolBarClass : public WindowClass {
public:
    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<TBBUTTON> buttons;
    std::vector<std::shared_ptr<PixelImage>> images;
    CSize bitmapSize{16, 15};
    CSize buttonSize{23, 22};
    int pressedIndex = -1;

    CRect ButtonRect(int index) const;
    int ButtonAt(CPoint point) const;
    int IndexOf(int command) const;
    void Paint(HWND window);
};

// The edit box of an in-place label edit: a child of `owner` over `rect` holding `text`. `end`
// runs once the box ends the edit (Enter or Escape, or the focus going elsewhere). The owner
// notes the box as its editor before giving it the focus. Null when the box cannot be made.
HWND CreateLabelEditor(HWND owner, const CRect& rect, const char* text,
                       std::function<void(bool commit)> end);
// Gives a label editor just made the focus, its whole text selected.
void FocusLabelEditor(HWND edit);
// The text of a label editor whose edit is ending; from here on the box no longer ends it itself.
std::string DetachLabelEditor(HWND edit);
// Destroys a label editor; its owner gets the focus back when the box had it.
void DestroyLabelEditor(HWND owner, HWND edit);

EditClass* EditOf(HWND window);
ButtonClass* ButtonOf(HWND window);
ToolBarClass* ToolBarOf(HWND window);
DialogClass* DialogOf(HWND window);
TreeView* TreeViewOf(HWND window);
ListView* ListViewOf(HWND window);

// Shared drawing helpers of the controls.
void DrawEdge3d(CDC& dc, const CRect& rect, bool sunken);
// One line of an edit's text at `x`, `y`, with the part from `from` to `to` (offsets into `line`)
// in the selection's colours, or the caret at `from` when they are equal; neither when `from` is
// negative.
void PaintEditLine(CDC& dc, int x, int y, std::string_view line, int from, int to,
                   const FontMetrics& metrics);
