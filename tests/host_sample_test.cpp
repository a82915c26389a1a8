#include "host/chunk_table.h"
#include "host/sample.h"
#include "host/schema.h"
#include "store/chunk_records.h"
#include "tests/support/library_fixture.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

namespace col = refhost::chunk_col;

using Rows = std::vector<std::vector<COleVariant>>;

// Every record of `table` in the order of `index`, the listed columns only (all when empty).
Rows ReadTable(CDaoDatabase& database, const char* table, const char* index,
               std::vector<int> columns = {}) {
    CDaoRecordset records(&database);
    records.Open(dbOpenTable, table, dbReadOnly);
    records.SetCurrentIndex(index);
    if (columns.empty()) {
        for (int i = 0; i < records.GetFieldCount(); ++i)
            columns.push_back(i);
    }
    Rows rows;
    for (; !records.IsEOF(); records.MoveNext()) {
        std::vector<COleVariant> row;
        for (int column : columns)
            row.push_back(records.GetFieldValue(column));
        rows.push_back(std::move(row));
    }
    return rows;
}

class SampleTest : public LibraryTest {
protected:
    refhost::SampleSummary Populate(int folders, int chunks, std::uint64_t seed = 1) {
        refhost::SampleOptions options;
        options.folders = folders;
        options.chunks = chunks;
        options.seed = seed;
        return refhost::PopulateSample(*m_project, options);
    }
};

TEST_F(SampleTest, MakesTheFoldersAndChunksAskedFor) {
    InitLibrary(0, /*withFolderTable=*/false);
    const refhost::SampleSummary summary = Populate(30, 300);
    EXPECT_TRUE(m_notifier.messages.empty());

    // Folder keys come from the project's counter: 1 to 30, all under the root's tree.
    ASSERT_EQ(summary.folders.size(), 30u);
    EXPECT_EQ(*std::max_element(summary.folders.begin(), summary.folders.end()), 30u);
    EXPECT_EQ(m_project->FolderCounter(), 30);
    const Rows folders = ReadTable(db(), "EXPLORER", "I1", {1});
    EXPECT_EQ(folders.size(), 31u);
    EXPECT_GE(summary.depth, 4);
    CString deepest;
    ASSERT_EQ(EXPL_GetPath(summary.folders[3], deepest), 1);
    EXPECT_EQ(std::count(deepest.str().begin(), deepest.str().end(), '\\'), 4);

    const Rows chunks = ReadTable(db(), "CHUNKS", "CSysID_INDEX");
    ASSERT_EQ(chunks.size(), 300u);
    EXPECT_EQ(summary.firstChunk, 1u);
    EXPECT_EQ(summary.lastChunk, 300u);
    EXPECT_GT(summary.entries, 50);
    EXPECT_EQ(ReadTable(db(), "ENTRIES", refhost::kEntryChunkIndex).size(),
              static_cast<std::size_t>(summary.entries));

    // Every chunk lies in a folder the library knows, and the library lists it there.
    std::map<FolderId, int> perFolder;
    int nonAscii = 0;
    for (const auto& row : chunks) {
        const FolderId folder = static_cast<FolderId>(refhost::VariantToLong(row[col::DirId]));
        ++perFolder[folder];
        EXPECT_NE(EXPL_IsFolderExist(folder), 0) << folder;
        const std::string& name = row[col::UsrId].strVal.str();
        nonAscii += std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; });
    }
    EXPECT_GT(perFolder[0], 0);
    EXPECT_GT(perFolder.size(), 15u);
    EXPECT_GT(nonAscii, 30);
    // Names are numbered in the order the chunks were made; most chunks have a comment.
    int commented = 0;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const std::string name = chunks[i][col::UsrId].strVal.str();
        const std::string number = " " + std::to_string(i + 1);
        EXPECT_TRUE(name.size() > number.size() && name.ends_with(number)) << name;
        commented += chunks[i][col::Comments].vt == VT_BSTR;
    }
    EXPECT_GT(commented, 150);
    EXPECT_LT(commented, 300);
    for (const auto& [folder, count] : perFolder) {
        CDWordArray keys;
        ASSERT_EQ(GetFolderChunks(folder, keys, nullptr), 1);
        EXPECT_EQ(keys.GetSize(), count) << folder;
    }
}

TEST_F(SampleTest, PreviewsAreValidPackedDibsOfEveryDepth) {
    InitLibrary();
    Populate(5, 60);
    std::set<int> depths;
    int missing = 0;
    for (const auto& row : ReadTable(db(), "CHUNKS", "CSysID_INDEX")) {
        const COleVariant& preview = row[col::Preview];
        if (preview.IsNull()) {
            ++missing;
            continue;
        }
        const CByteArray& dib = preview.byteVal;
        ASSERT_GE(dib.size(), 40u);
        auto read32 = [&](std::size_t at) {
            return dib[at] | dib[at + 1] << 8 | dib[at + 2] << 16 | dib[at + 3] << 24;
        };
        const int width = read32(4), height = read32(8), bits = dib[14] | dib[15] << 8;
        EXPECT_TRUE(width >= 16 && width <= 64 && height >= 16 && height <= 48);
        const int palette = bits <= 8 ? 1 << bits : 0;
        const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
        EXPECT_EQ(dib.size(), 40 + 4 * palette + stride * height);
        depths.insert(bits);
    }
    EXPECT_EQ(depths, (std::set<int>{1, 4, 8, 24, 32}));
    EXPECT_GT(missing, 0);
}

TEST_F(SampleTest, ExtraColumnsHoldTheirTypesWithSomeNulls) {
    InitLibrary();
    Populate(3, 120);
    const std::map<int, VARTYPE> types{{col::Photographer, VT_BSTR}, {col::PictureNumber, VT_I4},
                                       {col::Released, VT_BOOL},     {col::Fee, VT_CY},
                                       {col::ShotDate, VT_DATE},     {col::Exposure, VT_R8}};
    const Rows chunks = ReadTable(db(), "CHUNKS", "CSysID_INDEX");
    for (const auto& [column, type] : types) {
        int nulls = 0, values = 0;
        for (const auto& row : chunks) {
            if (row[column].IsNull()) {
                ++nulls;
            } else {
                ++values;
                EXPECT_EQ(row[column].vt, type) << "column " << column;
            }
        }
        EXPECT_GT(nulls, 0) << "column " << column;
        EXPECT_GT(values, nulls) << "column " << column;
    }
    int texts = 0;
    for (const auto& row : chunks)
        texts += !row[col::Text].IsNull();
    EXPECT_GT(texts, 60);
}

TEST_F(SampleTest, AddsToWhatTheProjectHolds) {
    InitLibrary();
    const FolderId own = MakeFolder("Eigenes", 0);
    refhost::ChunkTable(db()).Create("Vorher", own);
    const refhost::SampleSummary summary = Populate(4, 10);
    EXPECT_EQ(summary.firstChunk, 2u);
    EXPECT_EQ(summary.lastChunk, 11u);
    EXPECT_EQ(summary.folders.front(), own + 1);
    EXPECT_EQ(refhost::ChunkTable(db()).Name(1), "Vorher");
}

TEST_F(SampleTest, NeedsTheLibraryOnThisProject) {
    refhost::SampleOptions options;
    EXPECT_THROW(refhost::PopulateSample(*m_project, options), std::logic_error);
    EXPECT_FALSE(db().TableExists("EXPLORER"));
}

} // namespace
