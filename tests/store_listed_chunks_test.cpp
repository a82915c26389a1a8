#include "host/chunk_table.h"
#include "host/schema.h"
#include "store/chunk_records.h"
#include "store/item_tag.h"
#include "store/listed_chunks.h"
#include "store/shared_recordsets.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/library_fixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Enough chunks that a listing walks the folder index rather than seeking each one.
constexpr int kListed = 40;

class ListedChunksTest : public LibraryTest {
protected:
    void SetUp() override {
        InitLibrary();
        a = MakeFolder("A", 0);
        b = MakeFolder("B", 0);
        // A's chunks lie between B's, as chunks filed over time do.
        for (int i = 0; i < kListed; ++i) {
            ASSERT_NE(chunks.Create(("a" + std::to_string(i)).c_str(), a), kNoChunk);
            ASSERT_NE(chunks.Create(("b" + std::to_string(i)).c_str(), b), kNoChunk);
        }
    }

    // The name the reader's record gives for each key, "-" where it finds none; `walkedToEnd`
    // tells whether the reader still walked after the last key.
    std::vector<std::string> ReadNames(const CDWordArray& keys, bool* walkedToEnd = nullptr) {
        std::vector<std::string> names;
        ChunksTableScope scope(g_context.database);
        ListedChunkReader reader(keys);
        for (int i = 0; i < keys.GetSize(); ++i) {
            CString name;
            if (!reader.Find(i))
                names.push_back("-");
            else if (reader.Record().GetField(chunk_field::UsrId, name))
                names.push_back(name.c_str());
            else
                names.push_back("?");
        }
        if (walkedToEnd)
            *walkedToEnd = reader.IsWalking();
        EXPECT_STREQ(ChunksRecordset.GetCurrentIndex(), "CSysID_INDEX");
        return names;
    }

    static std::vector<std::string> Numbered(const char* prefix) {
        std::vector<std::string> names;
        for (int i = 0; i < kListed; ++i)
            names.push_back(prefix + std::to_string(i));
        return names;
    }

    // The numbered names of one prefix, then those of another.
    static std::vector<std::string> Numbered(const char* first, const char* then) {
        std::vector<std::string> names = Numbered(first);
        for (std::string& name : Numbered(then))
            names.push_back(std::move(name));
        return names;
    }

    refhost::ChunkTable chunks{db()};
    FolderId a = 0, b = 0;
};

TEST_F(ListedChunksTest, FindsEachListedChunkEvenWhenTheFolderChangedSinceTheListing) {
    CDWordArray keys;
    CStringArray names;
    ASSERT_EQ(GetFolderChunks(a, keys, &names), 1);
    ASSERT_EQ(keys.GetSize(), kListed);
    bool walked = false;
    EXPECT_EQ(ReadNames(keys, &walked), Numbered("a"));
    EXPECT_TRUE(walked);

    // Since the listing: one chunk went to B, one was removed, one new came to A.
    CDWordArray moved;
    moved.Add(MakeTag(keys[10], ItemKind::Chunk));
    ASSERT_EQ(MoveItems(moved, b), 1);
    ASSERT_TRUE(chunks.Remove(keys[20]));
    ASSERT_NE(chunks.Create("neu", a), kNoChunk);
    std::vector<std::string> expected = Numbered("a");
    expected[20] = "-";
    EXPECT_EQ(ReadNames(keys, &walked), expected);
    EXPECT_FALSE(walked);

    // The first chunk gone: it cannot start the walk, and the others are found all the same.
    ASSERT_TRUE(chunks.Remove(keys[0]));
    expected[0] = "-";
    EXPECT_EQ(ReadNames(keys), expected);
    // Listed again into the same arrays: the new listing replaces the old one.
    ASSERT_EQ(GetFolderChunks(a, keys, &names), 1);
    EXPECT_EQ(keys.GetSize(), kListed - 2);
    EXPECT_EQ(names.GetSize(), keys.GetSize());
    EXPECT_EQ(ChunksScopeDepth(), 0);
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(ListedChunksTest, KeysInAnyOrderOrFromSeveralFoldersAreFound) {
    CDWordArray inA;
    CDWordArray inB;
    ASSERT_EQ(GetFolderChunks(a, inA, nullptr), 1);
    ASSERT_EQ(GetFolderChunks(b, inB, nullptr), 1);

    CDWordArray reversed;
    for (int i = inA.GetSize(); i-- > 0;)
        reversed.Add(inA[i]);
    std::vector<std::string> expected = Numbered("a");
    std::reverse(expected.begin(), expected.end());
    bool walked = true;
    EXPECT_EQ(ReadNames(reversed, &walked), expected);
    EXPECT_FALSE(walked);

    // A's list and then B's: the walk of A ends where B's keys begin.
    CDWordArray both;
    both.Append(inA);
    both.Append(inB);
    both.Add(4711); // no such chunk
    expected = Numbered("a", "b");
    expected.push_back("-");
    EXPECT_EQ(ReadNames(both), expected);

    // B's list and then A's: the walk of B, the last folder, runs off the end of the index.
    CDWordArray bThenA;
    bThenA.Append(inB);
    bThenA.Append(inA);
    EXPECT_EQ(ReadNames(bThenA), Numbered("b", "a"));

    // One key twice in a row.
    CDWordArray twice;
    twice.Append(inA);
    twice.InsertAt(1, inA[0]);
    expected = Numbered("a");
    expected.insert(expected.begin() + 1, "a0");
    EXPECT_EQ(ReadNames(twice), expected);
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(ListedChunksTest, WithoutAUniqueKeyIndexEveryKeyIsSought) {
    CDWordArray keys;
    ASSERT_EQ(GetFolderChunks(a, keys, nullptr), 1);
    {
        CDaoTableDef table(&db());
        table.Open("CHUNKS");
        table.DeleteIndex("CSysID_INDEX");
        AddIndex(table, "CSysID_INDEX", {{"ChunkSysID", FALSE}});
    }
    // Two records with one key: a seek finds the first, where a walk would meet a5.
    ASSERT_TRUE(chunks.SetField(keys[5], refhost::chunk_col::SysId,
                                COleVariant(static_cast<std::int32_t>(keys[4]))));
    keys[5] = keys[4];
    std::vector<std::string> expected = Numbered("a");
    expected[5] = "a4";
    bool walked = true;
    EXPECT_EQ(ReadNames(keys, &walked), expected);
    EXPECT_FALSE(walked);
}

} // namespace
