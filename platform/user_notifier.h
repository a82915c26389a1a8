// Message boxes and beeps go to a replaceable notifier: the window backend shows them, tests
// record them and script the answers.
#pragma once

#include "platform/cstring.h"

#include <deque>
#include <vector>

class UserNotifier {
public:
    virtual ~UserNotifier() = default;
    // Shows `text` under `caption` with the buttons of `type`; returns the button pressed.
    virtual int ShowMessage(const CString& text, const CString& caption, UINT type) = 0;
    virtual void Beep(UINT type) = 0;
};

// What a box of `type` answers when nobody is there to press a button: its first button.
int FirstMessageBoxButton(UINT type);

// A box's buttons, left to right as Windows places them: the answer each gives and its label,
// whose underlined letter follows the '&'.
struct MessageBoxButton {
    int answer;
    const char* label;
};
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);
// What a key pressed in a box of `type` answers, as Windows' boxes take keys: a button's
// underlined letter (with Alt or without), Enter the default button, Escape the cancel button or
// the only button; 0 when the box ignores the key. Letters come as their upper-case codes.
int MessageBoxKeyAnswer(UINT type, UINT key);

// The notifier in effect (never null: a default writes to standard error and answers with the
// first button). Returns the previous one.
UserNotifier& CurrentUserNotifier();
UserNotifier* SetUserNotifier(UserNotifier* notifier);

// Installs a notifier for the lifetime of the scope.
class ScopedUserNotifier {
public:
    explicit ScopedUserNotifier(UserNotifier& notifier) : m_previous(SetUserNotifier(&notifier)) {}
    ~ScopedUserNotifier() { SetUserNotifier(m_previous); }
    ScopedUserNotifier(const ScopedUserNotifier&) = delete;
    ScopedUserNotifier& operator=(const ScopedUserNotifier&) = delete;

private:
    UserNotifier* m_previous;
};

// Records every message and beep; answers from a script, then with the first button.
class RecordingNotifier : public UserNotifier {
public:
    struct Message {
        CString text;
        CString caption;
        UINT type;
    };

    int ShowMessage(const CString& text, const CString& caption, UINT type) override;
    void Beep(UINT type) override { beeps.push_back(type); }

    void Answer(int button) { answers.push_back(button); }

    std::vector<Message> messages;
    std::vector<UINT> beeps;
    std::deque<int> answers;
};

// A message box through the notifier in effect, modal to the application: afterwards the control
// that had the focus in a dialog gets it back as Windows' dialogs give it back.
int ShowMessageBox(const CString& text, const CString& caption, UINT type);
// The caption is the application title (string AFX_IDS_APP_TITLE).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
BOOL MessageBeep(UINT type);
