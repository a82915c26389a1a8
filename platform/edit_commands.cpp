// Edits' commands: copying the selection, cutting it, pasting in its place, selecting everything
// and undoing the last change, by message and by the keys Windows gives them.
#include "platform/control_classes.h"

#include "platform/menu.h"
#include "platform/user_notifier.h"
#include "platform/win_styles.h"
#include "platform/window.h"
#include "platform/window_backend.h"

#include <algorithm>

namespace {

enum class EditAction { None, Copy, Cut, Paste, Clear, SelectAll, Undo, CanUndo, ForgetUndo };

EditAction ActionOfKey(UINT key) {
    const bool control = winsys::KeyDown(VK_CONTROL);
    const bool shift = winsys::KeyDown(VK_SHIFT);
    if (control && !shift) {
        switch (key) {
        case 'C':
        case VK_INSERT:
            return EditAction::Copy;
        case 'X':
            return EditAction::Cut;
        case 'V':
            return EditAction::Paste;
        case 'A':
            return EditAction::SelectAll;
        case 'Z':
            return EditAction::Undo;
        default:
            return EditAction::None;
        }
    }
    if (shift && !control && key == VK_INSERT)
        return EditAction::Paste;
    if (shift && !control && key == VK_DELETE)
        return EditAction::Cut;
    return EditAction::None;
}

EditAction ActionOf(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_COPY:
        return EditAction::Copy;
    case WM_CUT:
        return EditAction::Cut;
    case WM_PASTE:
        return EditAction::Paste;
    case WM_CLEAR:
        return EditAction::Clear;
    case WM_UNDO:
    case EM_UNDO:
        return EditAction::Undo;
    case EM_CANUNDO:
        return EditAction::CanUndo;
    case EM_EMPTYUNDOBUFFER:
        return EditAction::ForgetUndo;
    case WM_KEYDOWN:
        return ActionOfKey(static_cast<UINT>(wParam));
    default:
        return EditAction::None;
    }
}

} // namespace

void EditClass::CopySelection(HWND window) const {
    const WindowData* data = winsys::Live(window);
    if (!data || selStart == selEnd)
        return;
    const std::string text = data->text.str();
    const auto from = static_cast<std::size_t>(std::min(selStart, selEnd));
    const auto to = static_cast<std::size_t>(std::max(selStart, selEnd));
    CurrentWindowBackend().SetClipboardText(text.substr(from, to - from));
}

void EditClass::Paste(HWND window) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return;
    std::optional<std::string> text = CurrentWindowBackend().ClipboardText();
    if (!text)
        return;
    // A one-line edit takes the text up to its first line break.
    if (!(data->style & ES_MULTILINE))
        text->resize(std::min(text->size(), text->find_first_of("\r\n")));
    ReplaceSelection(window, *text, true);
}

void EditClass::Undo(HWND window) {
    const WindowData* data = winsys::Live(window);
    if (!data || !undo)
        return;
    UndoState present{data->text.str(), selStart, selEnd};
    const std::string text = std::move(undo->text);
    selStart = undo->selStart;
    selEnd = undo->selEnd;
    undo = std::move(present);
    typedEnd = -1;
    ChangeText(window, text, true);
}

void EditClass::ShowContextMenu(HWND window, CPoint screenPoint) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return;
    const bool editable = Editable(*data);
    const bool selected = selStart != selEnd;
    CMenu menu;
    menu.CreatePopupMenu();
    // The items carry the messages they send, as Windows' edits number them.
    auto add = [&](UINT message, const char* text, bool enabled) {
        menu.AppendMenu(MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), message, text);
    };
    add(WM_UNDO, "&Rückgängig", editable && undo.has_value());
    menu.AppendMenu(MF_SEPARATOR);
    add(WM_CUT, "&Ausschneiden", editable && selected);
    add(WM_COPY, "&Kopieren", selected);
    add(WM_PASTE, "&Einfügen", editable && CurrentWindowBackend().ClipboardText().has_value());
    add(WM_CLEAR, "&Löschen", editable && selected);
    menu.AppendMenu(MF_SEPARATOR);
    add(EM_SETSEL, "Alles &markieren", data->text.GetLength() > 0);
    const auto chosen = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                            screenPoint.x, screenPoint.y, CWnd::FromHandle(window)));
    if (!winsys::Live(window))
        return;
    if (chosen == EM_SETSEL)
        winsys::Send(window, EM_SETSEL, 0, -1);
    else if (chosen)
        winsys::Send(window, chosen, 0, 0);
}

bool EditClass::HandleEditCommand(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return false;
    const EditAction action = ActionOf(message, wParam);
    if (action == EditAction::None)
        return false;
    result = 0;
    const bool editable = Editable(*data);
    switch (action) {
    case EditAction::Copy:
        CopySelection(window);
        break;
    case EditAction::Cut:
    case EditAction::Clear:
    case EditAction::Paste:
        if (!editable) {
            if (message == WM_KEYDOWN)
                MessageBeep(0);
            break;
        }
        if (action == EditAction::Paste) {
            Paste(window);
        } else if (selStart != selEnd) {
            if (action == EditAction::Cut)
                CopySelection(window);
            ReplaceSelection(window, "", true);
        }
        break;
    case EditAction::SelectAll:
        selStart = 0;
        selEnd = static_cast<int>(data->text.GetLength());
        winsys::Invalidate(window, nullptr);
        break;
    case EditAction::Undo:
        result = undo && editable ? TRUE : FALSE;
        if (result)
            Undo(window);
        break;
    case EditAction::CanUndo:
        result = undo ? TRUE : FALSE;
        break;
    case EditAction::ForgetUndo:
        undo.reset();
        break;
    case EditAction::None:
        break;
    }
    return true;
}
