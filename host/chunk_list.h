// The block of chosen stills a multiple choice hands the host: a 32-bit count, then that many
// 32-bit chunk keys, little-endian, in global memory the host owns.
#pragma once

#include <cstdint>
#include <vector>

namespace refhost {

// The keys in the block, which is freed; none for a null block (a single choice).
std::vector<std::uint32_t> TakeChunkList(void* block);

} // namespace refhost
