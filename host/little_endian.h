// Little-endian stores into and loads from byte buffers, for the blocks the host hands out and
// receives.
#pragma once

#include "platform/win_types.h"

#include <cstdint>

namespace refhost {

inline void Store16(BYTE* at, std::uint16_t value) {
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

inline void Store32(BYTE* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<BYTE>(value >> (8 * i));
}

inline std::uint32_t Load32(const BYTE* at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

} // namespace refhost
