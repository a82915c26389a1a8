#include "host/cli/notifier.h"

#include <cstdio>

namespace explorer_cli {

int StderrNotifier::ShowMessage(const CString& text, const CString&, UINT type) {
    std::fprintf(stderr, "explorer-cli: %s\n", text.c_str());
    m_reported = true;
    // Nobody can answer: take the choice that changes nothing.
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
        return IDNO;
    case MB_OKCANCEL:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

} // namespace explorer_cli
