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
