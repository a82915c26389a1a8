// A one-line edit in a top-level window of its own, not a dialog, as a host's window holds one.
#pragma once

#include "platform/afxwin.h"
#include "platform/ui_driver.h"

struct EditInWindow {
    RecordingWindow owner;
    CEdit edit;

    bool Create() {
        return owner.Create(CRect(0, 0, 200, 100)) &&
               edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(5, 5, 150, 25),
                           &owner, 31);
    }
};
