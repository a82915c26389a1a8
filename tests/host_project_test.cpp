#include "host/chunk_table.h"
#include "host/project.h"
#include "host/schema.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

struct ExpectedField {
    const char* name;
    short type;
};

// The host's CHUNKS as the library and the host's users know it, written out independently of
// the schema table it is checked against.
const ExpectedField kChunks[] = {
    {"ChunkSysID", dbLong},
    {"ChunkUsrID", dbText},
    {"TextTitle", dbText},
    {"CreateDate", dbDate},
    {"ModifyDate", dbDate},
    {"Ver", dbLong},
    {"ChunkFlags", dbLong},
    {"Links", dbLongBinary},
    {"Bookmarks", dbLongBinary},
    {"Comments", dbMemo},
    {"Text", dbLongBinary},
    {"OLE", dbLongBinary},
    {"OCX", dbLongBinary},
    {"Fonts", dbLongBinary},
    {"Attributes", dbLong},
    {"DataSegm", dbLongBinary},
    {"Objects", dbLongBinary},
    {"DirID", dbLong},
    {"Author", dbText},
    {"Keywords", dbText},
    {"Revision", dbInteger},
    {"Preview", dbLongBinary},
    {"ADD_Fotograf", dbText},
    {"ADD_Bildnummer", dbLong},
    {"ADD_Freigegeben", dbBoolean},
    {"ADD_Honorar", dbCurrency},
    {"ADD_Aufnahmedatum", dbDate},
    {"ADD_Belichtung", dbDouble},
};

class ProjectTest : public ::testing::Test {
protected:
    ProjectTest() : project(refhost::Project::Create(dir.File("projekt.db"))) {}

    TempDir dir;
    std::unique_ptr<refhost::Project> project;
};

TEST_F(ProjectTest, ChunksHasTheHostsFieldsInOrder) {
    CDaoTableDef table(&project->database());
    table.Open("CHUNKS");
    ASSERT_EQ(table.GetFieldCount(), static_cast<short>(std::size(kChunks)));
    for (int i = 0; i < table.GetFieldCount(); ++i) {
        CDaoFieldInfo info;
        table.GetFieldInfo(i, info);
        EXPECT_EQ(info.m_strName, kChunks[i].name) << "field " << i + 1;
        EXPECT_EQ(info.m_nType, kChunks[i].type) << "field " << i + 1;
    }
    CDaoFieldInfo name;
    table.GetFieldInfo(1, name);
    EXPECT_EQ(name.m_lSize, 255);
    EXPECT_STREQ(kChunks[refhost::kFirstExtraColumn].name, "ADD_Fotograf"); // the first ADD_ field
}

TEST_F(ProjectTest, IndexesFindChunksByKeyAndByFolderAndEntriesByChunk) {
    struct ExpectedIndex {
        const char* table;
        const char* name;
        const char* field;
        bool primary; // and unique
    };
    for (const ExpectedIndex& expected :
         {ExpectedIndex{"CHUNKS", "CSysID_INDEX", "ChunkSysID", true},
          {"CHUNKS", "DirID_INDEX", "DirID", false},
          {"ENTRIES", "ChunkSysID_INDEX", "ChunkSysID", false}}) {
        CDaoTableDef table(&project->database());
        table.Open(expected.table);
        CDaoIndexInfo index;
        table.GetIndexInfo(expected.name, index, AFX_DAO_ALL_INFO);
        ASSERT_EQ(index.m_nFields, 1) << expected.name;
        EXPECT_EQ(index.m_pFieldInfos[0].m_strName, expected.field) << expected.name;
        EXPECT_EQ(index.m_bPrimary != FALSE, expected.primary) << expected.name;
        EXPECT_EQ(index.m_bUnique != FALSE, expected.primary) << expected.name;
    }
}

TEST_F(ProjectTest, CollectionHoldsOneRecordWithTheFolderCounter) {
    CDaoTableDef table(&project->database());
    table.Open("COLLECTION");
    ASSERT_GE(table.GetFieldCount(), 5);
    CDaoFieldInfo info;
    table.GetFieldInfo(4, info);
    EXPECT_EQ(info.m_strName, "MaxFolderSysID");
    EXPECT_EQ(info.m_nType, dbLong);
    EXPECT_EQ(table.GetRecordCount(), 1);
    table.Close();
    // Named after its file, in the version of the tables made, made today.
    CDaoRecordset record(&project->database());
    record.Open(dbOpenTable, "COLLECTION");
    EXPECT_EQ(record.GetFieldValue(refhost::collection_col::Title).strVal, "projekt");
    EXPECT_EQ(record.GetFieldValue(refhost::collection_col::Version).lVal, refhost::kSchemaVersion);
    const COleVariant made = record.GetFieldValue(refhost::collection_col::CreateDate);
    ASSERT_EQ(made.vt, VT_DATE);
    EXPECT_LT(std::abs(made.date - COleDateTime::GetCurrentTime().m_dt), 1.0);
    record.Close();

    EXPECT_EQ(project->FolderCounter(), 0);
    project->RaiseFolderCounter(7);
    EXPECT_EQ(project->FolderCounter(), 7);
    project->RaiseFolderCounter(3); // never lowered
    EXPECT_EQ(project->FolderCounter(), 7);
}

TEST_F(ProjectTest, ReopenedProjectKeepsTablesAndRecords) {
    const ChunkId chunk = refhost::ChunkTable(project->database()).Create("Café", 0);
    const std::string path = project->path();
    project.reset();

    project = refhost::Project::Open(path);
    EXPECT_TRUE(project->database().TableExists("ENTRIES"));
    EXPECT_FALSE(project->database().TableExists("EXPLORER")); // the library's own, made by it
    EXPECT_EQ(refhost::ChunkTable(project->database()).Name(chunk), "Café");
}

TEST(Project, NeverOverwritesNorInventsAFile) {
    TempDir dir;
    const std::string path = dir.File("vorhanden.db");
    std::ofstream(path) << "kein Projekt";
    EXPECT_THROW(refhost::Project::Create(path), CDaoException);
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kein Projekt");

    EXPECT_THROW(refhost::Project::Open(dir.File("fehlt.db")), CDaoException);
    EXPECT_FALSE(std::filesystem::exists(dir.File("fehlt.db")));
}

} // namespace
