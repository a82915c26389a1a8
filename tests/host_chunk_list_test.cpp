#include "host/chunk_list.h"
#include "host/little_endian.h"
#include "platform/global_memory.h"

#include <gtest/gtest.h>

namespace {

TEST(ChunkListTest, KeysComeOutOfTheBlockInOrderAndANullBlockHasNone) {
    EXPECT_TRUE(refhost::TakeChunkList(nullptr).empty());

    const std::uint32_t keys[] = {7, 0x01020304u, 0xFFFFFFFEu};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4 * (1 + std::size(keys)));
    ASSERT_NE(block, nullptr);
    {
        GlobalLockGuard lock(block);
        auto* bytes = static_cast<BYTE*>(lock.data());
        refhost::Store32(bytes, std::size(keys));
        for (std::size_t i = 0; i < std::size(keys); ++i)
            refhost::Store32(bytes + 4 + 4 * i, keys[i]);
    }
    EXPECT_EQ(refhost::TakeChunkList(block),
              (std::vector<std::uint32_t>{7, 0x01020304u, 0xFFFFFFFEu}));
    EXPECT_EQ(GlobalSize(block), 0u); // freed: the handle is no longer live
}

} // namespace
