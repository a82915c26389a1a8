#include "host/chunk_table.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"
#include "store/item_tag.h"
#include "store/shared_recordsets.h"
#include "tests/support/library_fixture.h"
#include "tests/support/listing_values.h"

namespace {

class ChunkRecordsTest : public LibraryTest {
protected:
    void SetUp() override {
        InitLibrary();
        a = MakeFolder("A", 0);
        b = MakeFolder("B", 0);
        a1 = MakeFolder("A1", a);
        x = chunks.Create("Straßenbahn", a);
        y = chunks.Create("Café", b);
        z = chunks.Create("Ölgemälde", a);
        rootChunk = chunks.Create("Wurzel", 0);
    }

    refhost::ChunkTable chunks{db()};
    FolderId a = 0, b = 0, a1 = 0;
    ChunkId x = 0, y = 0, z = 0, rootChunk = 0;
};

TEST_F(ChunkRecordsTest, ChunksOfAFolderComeInIndexOrderWithNames) {
    CDWordArray keys;
    CStringArray names;
    ASSERT_EQ(GetFolderChunks(a, keys, &names), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{x, z}));
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_STREQ(names[0], "Straßenbahn");
    EXPECT_STREQ(names[1], "Ölgemälde");
    EXPECT_EQ(keys.GetGrowBy(), 50);

    ASSERT_EQ(GetFolderChunks(a1, keys, &names), 1);
    EXPECT_TRUE(keys.IsEmpty());
    EXPECT_TRUE(names.IsEmpty());
    ASSERT_EQ(GetFolderChunks(0, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{rootChunk}));

    EXPECT_EQ(HasChunks(a), 1);
    EXPECT_EQ(HasChunks(a1), 0);
    EXPECT_EQ(GetChunkFolder(y), static_cast<std::int32_t>(b));
    EXPECT_EQ(GetChunkFolder(rootChunk), 0);
    EXPECT_EQ(GetChunkFolder(4711), 0); // the same answer as a chunk in the root
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

TEST_F(ChunkRecordsTest, MoveItemsRefilesFoldersAndChunksUpToTheFirstMissingKey) {
    CDWordArray items;
    EXPECT_EQ(MoveItems(items, b), 1); // nothing to move

    items.Add(MakeTag(a1, ItemKind::Folder));
    items.Add(MakeTag(x, ItemKind::Chunk));
    items.Add(MakeTag(9999, ItemKind::Folder));
    items.Add(MakeTag(z, ItemKind::Chunk));
    EXPECT_EQ(MoveItems(items, b), 0);
    EXPECT_EQ(GetFolderOwner(a1), static_cast<std::int32_t>(b));
    EXPECT_EQ(GetChunkFolder(x), static_cast<std::int32_t>(b));
    EXPECT_EQ(GetChunkFolder(z), static_cast<std::int32_t>(a)); // after the missing key
    EXPECT_TRUE(m_notifier.messages.empty());

    // Entries count as chunks here; a missing chunk ends the move as well.
    items.RemoveAll();
    items.Add(MakeTag(z, ItemKind::Entry));
    items.Add(MakeTag(4711, ItemKind::Chunk));
    EXPECT_EQ(MoveItems(items, a1), 0);
    EXPECT_EQ(GetChunkFolder(z), static_cast<std::int32_t>(a1));
    EXPECT_EQ(ExplorerScopeDepth(), 0);
    EXPECT_EQ(ChunksScopeDepth(), 0);

    // Within a folder the chunks keep the order in which their records were added.
    CDWordArray keys;
    GetFolderChunks(b, keys, nullptr);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{x, y}));
}

TEST_F(ChunkRecordsTest, ReadOnlyFlagMovesNothing) {
    ReloadLibraryContext();
    ASSERT_EQ(EXPL_Init(&db(), &m_callback, 1), 1);
    const std::string before = ReadFileBytes();
    CDWordArray items;
    items.Add(MakeTag(a1, ItemKind::Folder));
    items.Add(MakeTag(x, ItemKind::Chunk));
    EXPECT_EQ(MoveItems(items, b), 1);
    EXPECT_EQ(ReadFileBytes(), before);
    EXPECT_EQ(GetChunkFolder(x), static_cast<std::int32_t>(a));
}

TEST_F(ChunkRecordsTest, UnreadableFolderFieldAndMissingIndexFailSoundly) {
    db().Execute(
        ("UPDATE CHUNKS SET DirID = NULL WHERE ChunkSysID = " + std::to_string(x)).c_str());
    EXPECT_EQ(GetChunkFolder(x), 0);
    CDWordArray keys;
    // The null DirID sorts before every folder key: the walk for folder 0 does not start on it.
    EXPECT_EQ(GetFolderChunks(0, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{rootChunk}));

    {
        CDaoTableDef table(&db());
        table.Open("CHUNKS");
        table.DeleteIndex("DirID_INDEX");
    }
    EXPECT_EQ(HasChunks(a), 0);
    EXPECT_EQ(GetFolderChunks(a, keys, nullptr), 1);
    EXPECT_TRUE(keys.IsEmpty());
    ASSERT_EQ(m_notifier.messages.size(), 2u);
    EXPECT_NE(m_notifier.messages[0].text.Find("DirID_INDEX"), -1) << m_notifier.messages[0].text;
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

TEST_F(ChunkRecordsTest, MoveIntoAReadOnlyDatabaseStopsAtTheFirstWriteWithTheEngineMessage) {
    const std::string file = m_project->path();
    ReloadLibraryContext();
    CDaoDatabase readOnly;
    readOnly.Open(file.c_str(), FALSE, TRUE);
    ASSERT_EQ(EXPL_Init(&readOnly, &m_callback, 0), 1);
    CDWordArray items;
    items.Add(MakeTag(x, ItemKind::Chunk));
    items.Add(MakeTag(z, ItemKind::Chunk));
    EXPECT_EQ(MoveItems(items, b), 0);
    EXPECT_EQ(m_notifier.messages.size(), 1u); // one message: z is not tried
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

} // namespace
