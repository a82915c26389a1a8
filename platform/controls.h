// The simple controls: edit, static text and buttons.
#pragma once

#include "platform/window.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Selects from `start` to `end` (characters); -1 as start removes the selection, -1 as end
    // means the end of the text.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const;
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
    // At most `maxChars` characters can be typed (0: the default limit).
    void LimitText(int maxChars = 0);
    void SetLimitText(UINT maxChars);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void Clear();
    // The selection to the clipboard, and the clipboard's text in its place.
    void Copy();
    void Cut();
    void Paste();
    // The last change taken back (undoing again redoes it), whether there is one, and forgetting
    // it.
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    // Multi-line edits: lines of the text, the top one shown, and scrolling by lines.
    int GetLineCount() const;
    int GetFirstVisibleLine() const;
    void LineScroll(int lines, int chars = 0);
    // Where character `index` is drawn (its top left, client coordinates); (-1, -1) for an index
    // at or past the end of the text.
    CPoint PosFromChar(UINT index) const;
};

class CStatic : public CWnd {
public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class CButton : public CWnd {
public:
    BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
};
