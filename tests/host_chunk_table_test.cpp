#include "host/chunk_table.h"
#include "host/project.h"
#include "host/schema.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

namespace col = refhost::chunk_col;

class ChunkTableTest : public ::testing::Test {
protected:
    ChunkTableTest()
        : project(refhost::Project::Create(dir.File("projekt.db"))), chunks(project->database()) {}

    std::vector<std::string> EntryNames(ChunkId chunk) {
        std::vector<std::string> names;
        for (const refhost::Entry& entry : chunks.Entries(chunk))
            names.push_back(std::to_string(entry.key) + ":" + entry.name);
        return names;
    }

    TempDir dir;
    std::unique_ptr<refhost::Project> project;
    refhost::ChunkTable chunks;
};

TEST_F(ChunkTableTest, NewChunksTakeTheHighestKeyPlusOne) {
    EXPECT_EQ(refhost::HighestChunkKey(project->database()), 0u);
    EXPECT_EQ(chunks.Create("Straßenbahn", 0), 1u);
    EXPECT_EQ(chunks.Create("Größe", 4), 2u);
    EXPECT_EQ(chunks.Create("Überblick", 4), 3u);
    ASSERT_TRUE(chunks.Remove(1));
    EXPECT_EQ(chunks.Create("Café", 0), 4u); // a gap below the highest stays
    ASSERT_TRUE(chunks.Remove(4));
    EXPECT_EQ(chunks.Create("Ölgemälde", 0), 4u);

    EXPECT_EQ(chunks.Name(2), "Größe");
    EXPECT_EQ(chunks.Folder(2), 4u);
    EXPECT_EQ(chunks.Name(1), std::nullopt);
    EXPECT_EQ(chunks.Folder(1), std::nullopt);
}

TEST_F(ChunkTableTest, NewChunkIsDatedNowWithNothingElseSet) {
    const COleDateTime before = COleDateTime::GetCurrentTime();
    const ChunkId chunk = chunks.Create("Hafen", 3);
    const COleVariant created = chunks.GetField(chunk, col::CreateDate);
    const COleVariant modified = chunks.GetField(chunk, col::ModifyDate);
    ASSERT_EQ(created.vt, VT_DATE);
    EXPECT_TRUE(created == modified);
    EXPECT_GE(created.date, before.m_dt - 1.0 / 86400);
    EXPECT_LE(created.date, COleDateTime::GetCurrentTime().m_dt + 1.0 / 86400);
    EXPECT_TRUE(chunks.GetField(chunk, col::Preview).IsNull());
    EXPECT_TRUE(chunks.GetField(chunk, col::Text).IsNull());
    EXPECT_TRUE(chunks.GetField(chunk, col::Photographer).IsNull());
}

TEST_F(ChunkTableTest, UnusableNamesAreRefused) {
    EXPECT_EQ(chunks.Create("", 0), kNoChunk);
    EXPECT_EQ(chunks.Create(nullptr, 0), kNoChunk);
    EXPECT_EQ(chunks.Create(std::string(256, 'x').c_str(), 0), kNoChunk);
    const ChunkId longest = chunks.Create(std::string(255, 'x').c_str(), 0);
    ASSERT_NE(longest, kNoChunk);
    EXPECT_FALSE(chunks.Rename(longest, ""));
    EXPECT_EQ(chunks.Name(longest), std::string(255, 'x'));
    const EntryId entry = chunks.AddEntry(longest, "Notiz");
    EXPECT_FALSE(chunks.RenameEntry(longest, entry, ""));
    EXPECT_FALSE(chunks.RenameEntry(longest, entry, std::string(256, 'y').c_str()));
    ASSERT_EQ(chunks.Entries(longest).size(), 1u);
    EXPECT_EQ(chunks.Entries(longest)[0].name, "Notiz");
    EXPECT_EQ(refhost::HighestChunkKey(project->database()), longest);
}

TEST_F(ChunkTableTest, RenameRenewsTheModifyDate) {
    const ChunkId chunk = chunks.Create("Alt", 0);
    // Old dates for the only chunk, written past the chunk table, whose every write renews
    // ModifyDate.
    project->database().Execute(
        "UPDATE CHUNKS SET CreateDate = '2000-01-01', ModifyDate = '2001-02-03'");

    ASSERT_TRUE(chunks.Rename(chunk, "Neu"));
    EXPECT_EQ(chunks.Name(chunk), "Neu");
    EXPECT_GT(chunks.GetField(chunk, col::ModifyDate).date, COleDateTime(2020, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(COleDateTime(chunks.GetField(chunk, col::CreateDate).date),
              COleDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_FALSE(chunks.Rename(chunk + 1, "Fehlt"));
}

// Values of every type round-trip in DaoRecordsetTest.EveryTypeRoundTrips; here what the chunk
// table makes of texts, pictures and nulls.
TEST_F(ChunkTableTest, TextsPicturesAndNullsReadBack) {
    const ChunkId chunk = chunks.Create("Gemälde", 0);
    ASSERT_TRUE(chunks.SetText(chunk, "Zeile 1\r\nÄußerung"));
    const COleVariant text = chunks.GetField(chunk, col::Text);
    ASSERT_EQ(text.vt, VT_ARRAY | VT_UI1);
    EXPECT_EQ(std::string(text.byteVal.begin(), text.byteVal.end()), "Zeile 1\r\nÄußerung");

    const std::vector<BYTE> picture{40, 0, 0, 0, 9, 8, 7};
    ASSERT_TRUE(chunks.SetPreview(chunk, picture));
    EXPECT_EQ(chunks.GetField(chunk, col::Preview).byteVal, picture);
    ASSERT_TRUE(chunks.SetPreview(chunk, {}));
    EXPECT_TRUE(chunks.GetField(chunk, col::Preview).IsNull());

    ASSERT_TRUE(chunks.SetField(chunk, col::Photographer, COleVariant("Zoë Weiß")));
    EXPECT_EQ(chunks.GetField(chunk, col::Photographer).strVal, "Zoë Weiß");
    ASSERT_TRUE(chunks.SetField(chunk, col::Photographer, COleVariant::Null()));
    EXPECT_TRUE(chunks.GetField(chunk, col::Photographer).IsNull());
    EXPECT_FALSE(chunks.SetText(chunk + 1, "fehlt"));
}

TEST_F(ChunkTableTest, EntriesAreKeyedWithinTheirChunk) {
    const ChunkId first = chunks.Create("Erstes", 0);
    const ChunkId second = chunks.Create("Zweites", 0);
    EXPECT_EQ(chunks.AddEntry(first, "Ausschnitt"), 1u);
    EXPECT_EQ(chunks.AddEntry(second, "Notiz"), 1u);
    EXPECT_EQ(chunks.AddEntry(first, "Übersicht"), 2u);
    EXPECT_EQ(chunks.AddEntry(first, "Zoom"), 3u);
    EXPECT_EQ(chunks.AddEntry(first, ""), 0u);
    EXPECT_EQ(chunks.AddEntry(second + 1, "kein Standbild"), 0u);

    EXPECT_TRUE(chunks.RenameEntry(first, 2, "Überblick"));
    EXPECT_FALSE(chunks.RenameEntry(second, 2, "fehlt"));
    EXPECT_TRUE(chunks.RemoveEntry(first, 1));
    EXPECT_FALSE(chunks.RemoveEntry(first, 1));
    EXPECT_EQ(EntryNames(first), (std::vector<std::string>{"2:Überblick", "3:Zoom"}));
    EXPECT_EQ(EntryNames(second), (std::vector<std::string>{"1:Notiz"}));
    EXPECT_EQ(chunks.AddEntry(first, "Detail"), 4u);
}

TEST_F(ChunkTableTest, RemovingAChunkRemovesOnlyItsEntries) {
    const ChunkId first = chunks.Create("Erstes", 0);
    const ChunkId second = chunks.Create("Zweites", 0);
    const ChunkId third = chunks.Create("Drittes", 0);
    for (const char* name : {"a", "b", "c"}) {
        chunks.AddEntry(first, name);
        chunks.AddEntry(second, name);
        chunks.AddEntry(third, name);
    }
    ASSERT_TRUE(chunks.Remove(second));
    EXPECT_FALSE(chunks.Exists(second));
    EXPECT_TRUE(chunks.Entries(second).empty());
    EXPECT_EQ(chunks.Entries(first).size(), 3u);
    EXPECT_EQ(chunks.Entries(third).size(), 3u);
    EXPECT_FALSE(chunks.Remove(second));
}

} // namespace
