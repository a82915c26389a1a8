// CToolBarCtrl: a row of image buttons; a click sends WM_COMMAND with the button's command to the
// toolbar's parent.
#pragma once

#include "platform/window.h"

class CToolBarCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds `count` images from the library's bitmap `bitmapId` (images of the bitmap size, 16 x
    // 15 unless SetBitmapSize said otherwise); the index of the first.
    int AddBitmap(int count, UINT bitmapId);
    int AddBitmap(int count, CBitmap* bitmap);
    BOOL AddButtons(int count, LPTBBUTTON buttons);
    BOOL InsertButton(int index, LPTBBUTTON button);
    BOOL DeleteButton(int index);
    int GetButtonCount() const;
    BOOL GetButton(int index, LPTBBUTTON button) const;
    int CommandToIndex(UINT command) const;
    // The button's rectangle in the toolbar's client coordinates.
    BOOL GetItemRect(int index, LPRECT rect) const;

    BOOL CheckButton(int command, BOOL check = TRUE);
    BOOL IsButtonChecked(int command) const;
    BOOL EnableButton(int command, BOOL enable = TRUE);
    BOOL IsButtonEnabled(int command) const;
    BOOL PressButton(int command, BOOL press = TRUE);
    BOOL IsButtonPressed(int command) const;
    BOOL HideButton(int command, BOOL hide = TRUE);
    BOOL IsButtonHidden(int command) const;
    int GetState(int command) const;
    BOOL SetState(int command, UINT state);

    BOOL SetBitmapSize(CSize size);
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    void AutoSize();
};
