#include "host/chunk_list.h"
#include "platform/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ChunkListTest, KeysComeOutOfTheBlockInOrderAndANullBlockHasNone) {
    EXPECT_TRUE(refhost::TakeChunkList(nullptr).empty());

    // The count, then the keys, little-endian.
    const BYTE bytes[] = {3, 0, 0, 0, 7, 0, 0, 0, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof bytes);
    ASSERT_NE(block, nullptr);
    {
        GlobalLockGuard lock(block);
        std::memcpy(lock.data(), bytes, sizeof bytes);
    }
    EXPECT_EQ(refhost::TakeChunkList(block),
              (std::vector<std::uint32_t>{7, 0x01020304u, 0xFFFFFFFEu}));
    EXPECT_EQ(GlobalSize(block), 0u); // freed: the handle is no longer live
}

} // namespace
