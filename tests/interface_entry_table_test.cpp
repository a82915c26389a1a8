#include "interface/entry_table_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Builds a host block from raw bytes.
HGLOBAL Block(const std::vector<unsigned char>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    GlobalLockGuard lock(block);
    std::memcpy(lock.data(), bytes.data(), bytes.size());
    return block;
}

void Put16(std::vector<unsigned char>& bytes, std::size_t at, unsigned value) {
    bytes[at] = value & 0xFF;
    bytes[at + 1] = (value >> 8) & 0xFF;
}

void PutEntry(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t key,
              const char* name) {
    for (int i = 0; i < 4; ++i)
        bytes[at + 4 + i] = (key >> (8 * i)) & 0xFF;
    std::memcpy(bytes.data() + at + 24, name, std::strlen(name) + 1);
}

TEST(EntryTable, ReadsEntriesByOffsetCountAndSize) {
    std::vector<unsigned char> bytes(16 + 3 * 40, 0xEE);
    Put16(bytes, 2, 16);
    Put16(bytes, 4, 3);
    Put16(bytes, 6, 40);
    PutEntry(bytes, 16, 7, "Kapitel 1");
    PutEntry(bytes, 56, 0x12345678, "Übersicht");
    PutEntry(bytes, 96, 9, "");
    const auto entries = ReadEntryTable(Block(bytes));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, 7u);
    EXPECT_STREQ(entries[0].name, "Kapitel 1");
    EXPECT_EQ(entries[1].key, 0x12345678u);
    EXPECT_STREQ(entries[1].name, "Übersicht");
    EXPECT_STREQ(entries[2].name, "");
}

TEST(EntryTable, MalformedTablesAreReadOnlyWithinTheBlock) {
    EXPECT_TRUE(ReadEntryTable(nullptr).empty());
    EXPECT_TRUE(ReadEntryTable(Block({0, 0, 8, 0})).empty()); // shorter than the header

    std::vector<unsigned char> zeroCount(64, 0);
    Put16(zeroCount, 2, 8);
    Put16(zeroCount, 6, 40);
    EXPECT_TRUE(ReadEntryTable(Block(zeroCount)).empty());

    // The count promises more entries than fit; the last name has no terminating zero.
    std::vector<unsigned char> truncated(8 + 40 + 30, 0);
    Put16(truncated, 2, 8);
    Put16(truncated, 4, 500);
    Put16(truncated, 6, 40);
    PutEntry(truncated, 8, 1, "Eins");
    for (std::size_t i = 48 + 4; i < 48 + 8; ++i)
        truncated[i] = 2;
    for (std::size_t i = 48 + 24; i < truncated.size(); ++i)
        truncated[i] = 'z';
    const auto entries = ReadEntryTable(Block(truncated));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].name, "Eins");
    EXPECT_EQ(entries[1].key, 0x02020202u);
    EXPECT_EQ(entries[1].name.GetLength(), 6); // up to the end of the block

    // The block ends one byte into the second entry's key: that entry is not read.
    std::vector<unsigned char> shortKey(8 + 40 + 7, 0);
    Put16(shortKey, 2, 8);
    Put16(shortKey, 4, 2);
    Put16(shortKey, 6, 40);
    PutEntry(shortKey, 8, 1, "Eins");
    EXPECT_EQ(ReadEntryTable(Block(shortKey)).size(), 1u);
    shortKey.push_back(3); // now the key ends with the block: read, without a name
    const auto keyAtEnd = ReadEntryTable(Block(shortKey));
    ASSERT_EQ(keyAtEnd.size(), 2u);
    EXPECT_EQ(keyAtEnd[1].key, 0x03000000u);
    EXPECT_STREQ(keyAtEnd[1].name, "");

    // A name whose terminating zero is the block's last byte ends there.
    std::vector<unsigned char> lastZero(8 + 24 + 5, 0xEE);
    Put16(lastZero, 2, 8);
    Put16(lastZero, 4, 1);
    Put16(lastZero, 6, 40);
    PutEntry(lastZero, 8, 1, "Eins");
    const auto exact = ReadEntryTable(Block(lastZero));
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].name.GetLength(), 4);

    // A first-entry offset past the block.
    std::vector<unsigned char> offside(32, 0);
    Put16(offside, 2, 0xFFF0);
    Put16(offside, 4, 2);
    Put16(offside, 6, 40);
    EXPECT_TRUE(ReadEntryTable(Block(offside)).empty());
}

} // namespace
