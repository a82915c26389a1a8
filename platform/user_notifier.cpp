#include "platform/user_notifier.h"

#include "platform/window_system.h"

#include <cctype>
#include <cstdio>
#include <cstring>

int FirstMessageBoxButton(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default: // MB_OK, MB_OKCANCEL
        return IDOK;
    }
}

std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Abbrechen"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "&Abbrechen"}, {IDRETRY, "&Wiederholen"}, {IDIGNORE, "&Ignorieren"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "&Ja"}, {IDNO, "&Nein"}, {IDCANCEL, "Abbrechen"}};
    case MB_YESNO:
        return {{IDYES, "&Ja"}, {IDNO, "&Nein"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "&Wiederholen"}, {IDCANCEL, "Abbrechen"}};
    default:
        return {{IDOK, "OK"}};
    }
}

int MessageBoxKeyAnswer(UINT type, UINT key) {
    const std::vector<MessageBoxButton> buttons = MessageBoxButtons(type);
    switch (key) {
    case VK_RETURN: {
        const std::size_t defaultButton = (type & MB_DEFMASK) / MB_DEFBUTTON2;
        return buttons[defaultButton < buttons.size() ? defaultButton : 0].answer;
    }
    case VK_ESCAPE:
        for (const MessageBoxButton& button : buttons)
            if (button.answer == IDCANCEL)
                return IDCANCEL;
        return buttons.size() == 1 ? buttons.front().answer : 0;
    default:
        for (const MessageBoxButton& button : buttons)
            if (const char* amp = std::strchr(button.label, '&');
                amp && static_cast<UINT>(std::toupper(static_cast<unsigned char>(amp[1]))) == key)
                return button.answer;
        return 0;
    }
}

namespace {

class StandardErrorNotifier : public UserNotifier {
public:
    int ShowMessage(const CString& text, const CString& caption, UINT type) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return FirstMessageBoxButton(type);
    }
    void Beep(UINT) override {}
};

StandardErrorNotifier g_defaultNotifier;
UserNotifier* g_notifier = &g_defaultNotifier;

} // namespace

UserNotifier& CurrentUserNotifier() {
    return *g_notifier;
}

UserNotifier* SetUserNotifier(UserNotifier* notifier) {
    UserNotifier* previous = g_notifier;
    g_notifier = notifier ? notifier : &g_defaultNotifier;
    return previous;
}

int RecordingNotifier::ShowMessage(const CString& text, const CString& caption, UINT type) {
    messages.push_back({text, caption, type});
    if (answers.empty())
        return FirstMessageBoxButton(type);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

int ShowMessageBox(const CString& text, const CString& caption, UINT type) {
    const HWND focus = winsys::Focus();
    const int answer = CurrentUserNotifier().ShowMessage(text, caption, type);
    // A dialog active again gives the focus back to its control as the dialog manager does: an
    // edit with all its text selected, ready to be typed over.
    if (focus && winsys::Live(focus) && winsys::Focus() == focus) {
        const HWND top = winsys::TopLevelOf(focus);
        if (top && top != focus && top->kind == WindowKind::Dialog)
            winsys::DialogSetFocus(focus);
    }
    return answer;
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    CString caption;
    caption.LoadString(AFX_IDS_APP_TITLE);
    return ShowMessageBox(CString(text), caption, type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(stringId); // as MFC: a missing string shows an empty box
    return AfxMessageBox(text, type, helpId);
}

BOOL MessageBeep(UINT type) {
    CurrentUserNotifier().Beep(type);
    return TRUE;
}
