#include "platform/global_memory.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace {
bool AllZero(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}
} // namespace

TEST(GlobalMemoryTest, AllocationRefusesWhatCannotBeHad) {
    static_assert(GHND == 66);
    GlobalBlockOwner block(GlobalAlloc(GHND, 100));
    ASSERT_NE(block.get(), nullptr);
    EXPECT_EQ(GlobalSize(block.get()), 100u);
    {
        GlobalLockGuard lock(block.get());
        ASSERT_NE(lock.data(), nullptr);
        EXPECT_TRUE(AllZero(lock.data(), 100));
        EXPECT_EQ(lock.size(), 100u);
    }
    EXPECT_EQ(GlobalAlloc(0x1000, 16), nullptr); // unknown flag
    EXPECT_EQ(GlobalAlloc(GHND, SIZE_MAX), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(PTRDIFF_MAX) + 1), nullptr);

    GlobalBlockOwner empty(GlobalAlloc(GMEM_FIXED, 0));
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(GlobalSize(empty.get()), 0u);
    GlobalLockGuard lock(empty.get());
    EXPECT_NE(lock.data(), nullptr); // locked, even with nothing in it
    EXPECT_EQ(GlobalLockCount(empty.get()), 1u);
}

TEST(GlobalMemoryTest, LocksAreCounted) {
    GlobalBlockOwner block(GlobalAlloc(GMEM_MOVEABLE, 8));
    void* first = GlobalLock(block.get());
    void* second = GlobalLock(block.get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(GlobalLockCount(block.get()), 2u);
    EXPECT_TRUE(GlobalUnlock(block.get()));
    EXPECT_FALSE(GlobalUnlock(block.get()));
    EXPECT_FALSE(GlobalUnlock(block.get())); // not locked at all
    EXPECT_EQ(GlobalLockCount(block.get()), 0u);
    {
        GlobalLockGuard guard(block.get());
        EXPECT_EQ(GlobalLockCount(block.get()), 1u);
    }
    EXPECT_EQ(GlobalLockCount(block.get()), 0u);
}

TEST(GlobalMemoryTest, StaleAndForeignHandlesAreRefused) {
    HGLOBAL block = GlobalAlloc(GHND, 32);
    GlobalLock(block);
    EXPECT_EQ(GlobalFree(block), nullptr); // a locked block is freed too, as on Win32
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GlobalLockCount(block), 0u);
    EXPECT_EQ(GlobalReAlloc(block, 8, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(block), block);

    long notABlock = 0;
    const auto foreign = reinterpret_cast<HGLOBAL>(&notABlock);
    EXPECT_EQ(GlobalLock(foreign), nullptr);
    EXPECT_EQ(GlobalFree(foreign), foreign);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);

    HGLOBAL released = nullptr;
    {
        GlobalBlockOwner owner(GlobalAlloc(GHND, 4));
        released = owner.release();
    }
    EXPECT_EQ(GlobalSize(released), 4u);
    HGLOBAL owned = nullptr;
    {
        GlobalBlockOwner owner(GlobalAlloc(GHND, 4));
        owned = owner.get();
    }
    EXPECT_EQ(GlobalSize(owned), 0u);
    EXPECT_EQ(GlobalFree(released), nullptr);
}
