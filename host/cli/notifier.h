// Message boxes of the library, as a command-line tool shows them: one line on standard error.
#pragma once

#include "platform/user_notifier.h"

namespace explorer_cli {

// Every message the library shows here reports a failure, so any message fails the command.
class StderrNotifier : public UserNotifier {
public:
    int ShowMessage(const CString& text, const CString& caption, UINT type) override;
    void Beep(UINT) override {}

    bool reported() const { return m_reported; }

private:
    bool m_reported = false;
};

} // namespace explorer_cli
