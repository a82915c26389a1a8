// Edits and the clipboard: copying the selection, cutting it, pasting in its place, and selecting
// everything, by message and by the keys Windows gives them.
#include "platform/control_classes.h"

#include "platform/user_notifier.h"
#include "platform/win_styles.h"
#include "platform/window_backend.h"

#include <algorithm>

namespace {

enum class ClipboardAction { None, Copy, Cut, Paste, Clear, SelectAll };

ClipboardAction ActionOfKey(UINT key) {
    const bool control = winsys::KeyDown(VK_CONTROL);
    const bool shift = winsys::KeyDown(VK_SHIFT);
    if (control && !shift) {
        switch (key) {
        case 'C':
        case VK_INSERT:
            return ClipboardAction::Copy;
        case 'X':
            return ClipboardAction::Cut;
        case 'V':
            return ClipboardAction::Paste;
        case 'A':
            return ClipboardAction::SelectAll;
        default:
            return ClipboardAction::None;
        }
    }
    if (shift && !control && key == VK_INSERT)
        return ClipboardAction::Paste;
    if (shift && !control && key == VK_DELETE)
        return ClipboardAction::Cut;
    return ClipboardAction::None;
}

ClipboardAction ActionOf(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_COPY:
        return ClipboardAction::Copy;
    case WM_CUT:
        return ClipboardAction::Cut;
    case WM_PASTE:
        return ClipboardAction::Paste;
    case WM_CLEAR:
        return ClipboardAction::Clear;
    case WM_KEYDOWN:
        return ActionOfKey(static_cast<UINT>(wParam));
    default:
        return ClipboardAction::None;
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

bool EditClass::HandleClipboard(HWND window, UINT message, WPARAM wParam) {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return false;
    const ClipboardAction action = ActionOf(message, wParam);
    if (action == ClipboardAction::None)
        return false;
    const bool editable = !readOnly && !(data->style & ES_READONLY);
    switch (action) {
    case ClipboardAction::Copy:
        CopySelection(window);
        break;
    case ClipboardAction::Cut:
    case ClipboardAction::Clear:
    case ClipboardAction::Paste:
        if (!editable) {
            if (message == WM_KEYDOWN)
                MessageBeep(0);
            break;
        }
        if (action == ClipboardAction::Paste) {
            Paste(window);
        } else if (selStart != selEnd) {
            if (action == ClipboardAction::Cut)
                CopySelection(window);
            ReplaceSelection(window, "", true);
        }
        break;
    case ClipboardAction::SelectAll:
        selStart = 0;
        selEnd = static_cast<int>(data->text.GetLength());
        winsys::Invalidate(window, nullptr);
        break;
    case ClipboardAction::None:
        break;
    }
    return true;
}
