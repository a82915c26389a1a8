// What the store's listings filled in, as plain vectors that tests compare and print.
#pragma once

#include "platform/collections.h"

#include <string>
#include <vector>

inline std::vector<DWORD> Keys(const CDWordArray& keys) {
    return {keys.begin(), keys.end()};
}

inline std::vector<std::string> Names(const CStringArray& names) {
    std::vector<std::string> out;
    for (const CString& name : names)
        out.push_back(name.str());
    return out;
}
