// The process-wide context: the host's database, its callback record and the read-only flag.
#pragma once

#include "interface/explorer_callback.h"

class CDaoDatabase;

struct ExplorerContext {
    CDaoDatabase* database = nullptr;
    EXPLORER_CALLBACK* callback = nullptr;
    // 0: full access; anything else read-only. -1 until EXPL_Init has stored the host's value.
    int readOnly = -1;
};

// Set when the library is loaded; written afterwards only by EXPL_Init.
extern ExplorerContext g_context;

// A database was given to EXPL_Init and is open.
bool DatabaseOpen();

inline bool IsReadOnly() {
    return g_context.readOnly != 0;
}

// What loading the library does: no database, no callback record, flag -1. A host never needs it;
// tests use it to start from a freshly loaded library.
void ReloadLibraryContext();
