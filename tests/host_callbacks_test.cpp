#include "host/entry_table.h"
#include "host/host.h"
#include "host/project.h"
#include "interface/entry_table_reader.h"
#include "platform/user_notifier.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint16_t Read16(const BYTE* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
std::uint32_t Read32(const BYTE* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

class CallbackTest : public ::testing::Test {
protected:
    CallbackTest()
        : project(refhost::Project::Create(dir.File("projekt.db"))), host(project->database()),
          slots(*refhost::Host::Callbacks()) {}

    TempDir dir;
    std::unique_ptr<refhost::Project> project;
    refhost::Host host;
    EXPLORER_CALLBACK& slots;
};

TEST_F(CallbackTest, CreateChunkFilesANewChunkOrAnswersNoChunk) {
    const ChunkId first = slots.CreateChunk("Neuer Standbild", 5);
    const ChunkId second = slots.CreateChunk("Neuer Standbild (2)", 0);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);
    EXPECT_EQ(host.chunks().Folder(first), 5u);
    EXPECT_EQ(host.chunks().Name(second), "Neuer Standbild (2)");

    host.RefuseChunkCreation();
    EXPECT_EQ(slots.CreateChunk("Verboten", 0), kNoChunk);
    EXPECT_FALSE(host.chunks().Exists(3));
}

TEST_F(CallbackTest, RemovalFollowsThePermissions) {
    const ChunkId kept = host.chunks().Create("Geschützt", 0);
    const ChunkId gone = host.chunks().Create("Frei", 0);
    host.RefuseChunkRemoval(kept);

    EXPECT_EQ(slots.MayRemoveChunk(kept), 0);
    EXPECT_EQ(slots.RemoveChunk(kept), 0); // refused even without asking first
    EXPECT_TRUE(host.chunks().Exists(kept));

    EXPECT_NE(slots.MayRemoveChunk(gone), 0);
    EXPECT_NE(slots.RemoveChunk(gone), 0);
    EXPECT_FALSE(host.chunks().Exists(gone));
    EXPECT_EQ(slots.MayRemoveChunk(gone), 0); // nothing left to remove

    host.RefuseChunkRemoval(kept, false);
    EXPECT_NE(slots.MayRemoveChunk(kept), 0);
}

TEST_F(CallbackTest, RenamingFollowsThePermissions) {
    const ChunkId fixed = host.chunks().Create("Fest", 0);
    const ChunkId free = host.chunks().Create("Frei", 0);
    host.RefuseChunkRename(fixed);

    EXPECT_EQ(slots.MayRenameChunk(fixed), 0);
    EXPECT_EQ(slots.RenameChunk(fixed, "Anders"), 0);
    EXPECT_EQ(host.chunks().Name(fixed), "Fest");

    EXPECT_NE(slots.MayRenameChunk(free), 0);
    EXPECT_NE(slots.RenameChunk(free, "Straßenbahn"), 0);
    EXPECT_EQ(host.chunks().Name(free), "Straßenbahn");
    EXPECT_EQ(slots.MayRenameChunk(free + 1), 0);
}

TEST_F(CallbackTest, EntryPermissionsAreKeptPerChunkAndEntry) {
    const ChunkId a = host.chunks().Create("A", 0);
    const ChunkId b = host.chunks().Create("B", 0);
    host.chunks().AddEntry(a, "Eins");
    host.chunks().AddEntry(a, "Zwei");
    host.chunks().AddEntry(b, "Eins");
    host.RefuseEntryRemoval(a, 1);
    host.RefuseEntryRename(a, 2);

    EXPECT_EQ(slots.MayRemoveEntry(a, 1), 0);
    EXPECT_EQ(slots.RemoveEntry(a, 1), 0);
    EXPECT_NE(slots.MayRemoveEntry(b, 1), 0); // same entry key, other chunk
    EXPECT_NE(slots.MayRenameEntry(a, 1), 0);
    EXPECT_EQ(slots.MayRenameEntry(a, 2), 0);
    EXPECT_EQ(slots.RenameEntry(a, 2, "Anders"), 0);
    EXPECT_EQ(slots.MayRemoveEntry(a, 9), 0); // no such entry

    EXPECT_NE(slots.RenameEntry(a, 1, "Übersicht"), 0);
    EXPECT_NE(slots.RemoveEntry(b, 1), 0);
    ASSERT_EQ(host.chunks().Entries(a).size(), 2u);
    EXPECT_EQ(host.chunks().Entries(a)[0].name, "Übersicht");
    EXPECT_EQ(host.chunks().Entries(a)[1].name, "Zwei");
    EXPECT_TRUE(host.chunks().Entries(b).empty());
}

TEST_F(CallbackTest, EntryTableHasTheAgreedLayout) {
    const ChunkId chunk = host.chunks().Create("Mit Einträgen", 0);
    host.chunks().AddEntry(chunk, "Ausschnitt");
    host.chunks().AddEntry(chunk, "Größe");
    host.chunks().AddEntry(chunk, "Zoom");
    host.chunks().RemoveEntry(chunk, 1);

    GlobalBlockOwner block(slots.GetEntries(chunk));
    ASSERT_NE(block.get(), nullptr);
    EXPECT_EQ(GlobalLockCount(block.get()), 0u); // handed over unlocked
    {
        GlobalLockGuard lock(block.get());
        const auto* bytes = static_cast<const BYTE*>(lock.data());
        const std::uint16_t first = Read16(bytes + 2);
        const std::uint16_t count = Read16(bytes + 4);
        const std::uint16_t size = Read16(bytes + 6);
        ASSERT_EQ(count, 2);
        ASSERT_GE(size, 24 + 256);
        ASSERT_LE(first + std::size_t{count} * size, lock.size());
        EXPECT_EQ(Read32(bytes + first + 4), 2u);
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes + first + 24), "Größe");
        EXPECT_EQ(Read32(bytes + first + size + 4), 3u);
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes + first + size + 24), "Zoom");
    }
    EXPECT_EQ(slots.GetEntries(host.chunks().Create("Leer", 0)), nullptr);
    EXPECT_EQ(slots.GetEntries(99), nullptr);
}

TEST(EntryTable, LongNamesAreCutBetweenCharacters) {
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "ä"; // two bytes each
    HGLOBAL block = refhost::BuildEntryTable({{7, name}});
    ASSERT_NE(block, nullptr);
    const std::vector<ChunkEntry> read = ReadEntryTable(block);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name.GetLength(), 254); // 127 whole characters within 255 bytes
    EXPECT_EQ(read[0].name.str(), name.substr(0, 254));
    EXPECT_EQ(refhost::BuildEntryTable({}), nullptr);

    // Windows-1252 bytes another program wrote: each a character, kept up to the limit.
    for (const auto& [stored, kept] :
         {std::pair{std::string(300, '\x80'), std::string(255, '\x80')},
          std::pair{std::string(253, 'x') + "\xE4" + "ab", std::string(253, 'x') + "\xE4" + "a"},
          std::pair{std::string(254, 'x') + "\xE2\x82\xAC", std::string(254, 'x')},
          std::pair{std::string(253, 'x') + "\xE2\x82\xAC", std::string(253, 'x')},
          std::pair{std::string(252, 'x') + "\xF0\x9F\x98\x80", std::string(252, 'x')},
          std::pair{std::string(251, 'x') + "\xF0\x9F\x98\x80",
                    std::string(251, 'x') + "\xF0\x9F\x98\x80"}}) {
        GlobalBlockOwner table(refhost::BuildEntryTable({{7, stored}}));
        const std::vector<ChunkEntry> entries = ReadEntryTable(table.get());
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name.str(), kept);
    }
}

TEST_F(CallbackTest, EveryRequestIsLoggedWithItsAnswer) {
    const ChunkId chunk = slots.CreateChunk("Café", 3);
    host.RefuseChunkRemoval(chunk);
    slots.MayRemoveChunk(chunk);
    slots.MayRenameChunk(chunk);
    slots.RenameChunk(chunk, "Ölgemälde");
    slots.MayRenameEntry(chunk, 4);
    slots.RemoveEntry(chunk, 4);
    slots.GetEntries(chunk);
    host.chunks().AddEntry(chunk, "Notiz");
    GlobalBlockOwner entries(slots.GetEntries(chunk));
    EXPECT_EQ(host.calls(), (std::vector<std::string>{
                                "CreateChunk(\"Café\", 3) -> 1",
                                "MayRemoveChunk(1) -> 0",
                                "MayRenameChunk(1) -> 1",
                                "RenameChunk(1, \"Ölgemälde\") -> 1",
                                "MayRenameEntry(1, 4) -> 0",
                                "RemoveEntry(1, 4) -> 0",
                                "GetEntries(1) -> null",
                                "GetEntries(1) -> 1 entries",
                            }));
    host.ClearCalls();
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(CallbackTest, DatabaseFaultsAreShownAndRefused) {
    RecordingNotifier notifier;
    ScopedUserNotifier scope(notifier);
    project->database().DeleteTableDef("ENTRIES");
    const ChunkId chunk = host.chunks().Create("Ohne Einträge", 0);
    EXPECT_EQ(slots.GetEntries(chunk), nullptr);
    EXPECT_EQ(slots.RemoveChunk(chunk), 0);
    EXPECT_EQ(notifier.messages.size(), 2u);
    EXPECT_TRUE(host.chunks().Exists(chunk));
}

TEST_F(CallbackTest, TheLatestHostAnswersUntilItEnds) {
    TempDir otherDir;
    auto other = refhost::Project::Create(otherDir.File("anderes.db"));
    {
        refhost::Host inner(other->database());
        EXPECT_EQ(refhost::Host::Active(), &inner);
        EXPECT_EQ(slots.CreateChunk("Innen", 0), 1u);
        EXPECT_TRUE(host.calls().empty());
        EXPECT_EQ(inner.calls().size(), 1u);
    }
    EXPECT_EQ(refhost::Host::Active(), &host);
    EXPECT_FALSE(host.chunks().Exists(1));
    EXPECT_TRUE(refhost::ChunkTable(other->database()).Exists(1));
}

TEST(CallbackWithoutHost, EveryRequestIsRefused) {
    ASSERT_EQ(refhost::Host::Active(), nullptr);
    EXPLORER_CALLBACK& slots = *refhost::Host::Callbacks();
    EXPECT_EQ(slots.CreateChunk("Niemand", 0), kNoChunk);
    EXPECT_EQ(slots.MayRemoveChunk(1), 0);
    EXPECT_EQ(slots.RenameEntry(1, 1, "x"), 0);
    EXPECT_EQ(slots.GetEntries(1), nullptr);
}

} // namespace
