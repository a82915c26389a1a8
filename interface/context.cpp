#include "interface/context.h"

ExplorerContext g_context;

void ReloadLibraryContext() {
    g_context = ExplorerContext{};
}
