#include "interface/context.h"

#include "platform/dao/dao.h"

ExplorerContext g_context;

void ReloadLibraryContext() {
    g_context = ExplorerContext{};
}

bool DatabaseOpen() {
    return g_context.database && g_context.database->IsOpen();
}
