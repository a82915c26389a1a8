// The library's string table.
#pragma once

#include "platform/win_types.h"

// The text of string `id`, or null when the table has none.
const char* FindLibraryString(UINT id);
