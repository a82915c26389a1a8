#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/shared_recordsets.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/library_fixture.h"
#include "tests/support/listing_values.h"
#include "tests/support/raw_sqlite.h"

namespace {

using FolderRecordsTest = LibraryTest;

TEST_F(FolderRecordsTest, FreshKeysComeFromTheCounterAndExplicitKeysLeaveIt) {
    InitLibrary();
    m_project->RaiseFolderCounter(41);
    const std::string before = CTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S").str();
    EXPECT_EQ(CreateFolderRecord("Neu", 0, -1), 42);
    EXPECT_EQ(m_project->FolderCounter(), 42);
    // Dated when it was made.
    const std::string made = RawRow(m_project->path(), "SELECT DATE FROM EXPLORER WHERE ID = 42");
    EXPECT_GE(made, before);
    EXPECT_LE(made, CTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S").str());
    EXPECT_EQ(CreateFolderRecord("Fest", 42, 7), 7);
    EXPECT_EQ(m_project->FolderCounter(), 42);

    // A key that is taken already: the engine's refusal is shown, nothing is added.
    EXPECT_EQ(CreateFolderRecord("Doppelt", 0, 7), 0);
    ASSERT_EQ(m_notifier.messages.size(), 1u);
    CString path;
    EXPECT_EQ(GetFolderPath(7, path), 1);
    EXPECT_STREQ(path, "\\Neu\\Fest");
}

TEST_F(FolderRecordsTest, NoFreshKeyMeansNoFolder) {
    InitLibrary();
    // A counter that cannot be read, one below zero, one at the top of the key range (2^30 - 1).
    for (const char* counter : {"NULL", "-1", "1073741823"}) {
        db().Execute((std::string("UPDATE COLLECTION SET MaxFolderSysID = ") + counter).c_str());
        EXPECT_EQ(NextFolderKey(), -1) << counter;
        EXPECT_EQ(CreateFolderRecord("A", 0, -1), 0) << counter;
    }
    // The top key itself is still handed out; without a counter record no key is.
    db().Execute("UPDATE COLLECTION SET MaxFolderSysID = 1073741822");
    EXPECT_EQ(CreateFolderRecord("B", 0, -1), 1073741823);
    db().Execute("DELETE FROM COLLECTION");
    EXPECT_EQ(CreateFolderRecord("C", 0, -1), 0);
    CDWordArray keys;
    EXPECT_EQ(GetSubFolders(0, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{1073741823}));
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(FolderRecordsTest, SubFoldersComeInOwnerIndexOrderWithParallelNames) {
    InitLibrary();
    const FolderId b = MakeFolder("B", 0);
    const FolderId c = MakeFolder("C", 0);
    const FolderId b1 = MakeFolder("B1", b);
    const FolderId a = MakeFolder("A", 0);

    CDWordArray keys;
    CStringArray names;
    keys.Add(999); // emptied first
    ASSERT_EQ(GetSubFolders(0, keys, &names), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{b, c, a}));
    EXPECT_EQ(Names(names), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(keys.GetGrowBy(), 50);

    ASSERT_EQ(GetSubFolders(b, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{b1}));
    ASSERT_EQ(GetSubFolders(c, keys, &names), 1);
    EXPECT_TRUE(keys.IsEmpty());
    EXPECT_TRUE(names.IsEmpty());

    // The root is the one folder owned by -1, and it is nobody's sub-folder.
    EXPECT_EQ(HasSubFolders(0xFFFFFFFFu), 1);
    ASSERT_EQ(GetSubFolders(0xFFFFFFFFu, keys, &names), 1);
    EXPECT_TRUE(keys.IsEmpty());
    EXPECT_EQ(HasSubFolders(b), 1);
    EXPECT_EQ(HasSubFolders(c), 0);
    EXPECT_EQ(ExplorerScopeDepth(), 0);
}

TEST_F(FolderRecordsTest, BrokenAndCyclicOwnerChainsEndWithFailure) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    ASSERT_EQ(CreateFolderRecord("Waise", 31337, 600), 600);

    CString path;
    EXPECT_EQ(GetFolderPath(600, path), 0);
    EXPECT_STREQ(path, "\\Waise"); // the part built before the chain broke

    // A and B own each other: no walk may run forever.
    db().Execute(
        ("UPDATE EXPLORER SET ID_OWNER = " + std::to_string(b) + " WHERE ID = " + std::to_string(a))
            .c_str());
    EXPECT_EQ(GetFolderPath(b, path), 0);
    EXPECT_EQ(IsDescendant(a, b), 1);
    EXPECT_EQ(IsDescendant(a, 600), 0);
    EXPECT_EQ(IsDescendant(b, b), 1); // inside a cycle a folder does lie below itself
}

TEST_F(FolderRecordsTest, RenameAndDeleteTouchOnlyTheirRecord) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    const FolderId a1 = MakeFolder("A1", a);
    ASSERT_EQ(a, 1u);
    // An old date, so that a rename that writes today's date shows.
    db().Execute("UPDATE EXPLORER SET DATE = '2001-02-03' WHERE ID = 1");
    const auto record = [&] {
        return RawRow(m_project->path(), "SELECT NAME, DATE, INFO, ID_OWNER, PASS_R, PASS_W "
                                         "FROM EXPLORER WHERE ID = 1");
    };
    const std::string renamed = "Überblick|2001-02-03|NULL|0|-|-";

    EXPECT_EQ(RenameFolderRecord(a, "Überblick"), 1);
    EXPECT_EQ(record(), renamed);
    CString path;
    GetFolderPath(a1, path);
    EXPECT_STREQ(path, "\\Überblick\\A1");
    EXPECT_EQ(RenameFolderRecord(4711, "X"), 0);
    // A name longer than the field: the put fails and nothing changes.
    EXPECT_EQ(RenameFolderRecord(a, std::string(300, 'x').c_str()), 0);
    EXPECT_EQ(record(), renamed);

    EXPECT_EQ(DeleteFolderRecord(a), 1);
    EXPECT_EQ(FolderExists(a), 0);
    EXPECT_EQ(FolderExists(a1), 1); // sub-folders are left to the caller
    EXPECT_EQ(DeleteFolderRecord(a), 0);
    EXPECT_TRUE(m_notifier.messages.empty());
    EXPECT_EQ(ExplorerScopeDepth(), 0);
}

TEST_F(FolderRecordsTest, AnInnerScopeKeepsTheOuterScopesIndexAndRecordAndTheOutermostCloses) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    MakeFolder("B", a);
    {
        ExplorerTableScope outer(g_context.database);
        ASSERT_EQ(SeekFolder(a), 1);
        {
            ExplorerTableScope inner(g_context.database, "OWNER");
            EXPECT_STREQ(ExplorerRecordset.GetCurrentIndex(), "I1");
            CString name;
            EXPECT_EQ(CDaoRecord(&ExplorerRecordset).GetField(explorer_field::Name, name), 1);
            EXPECT_STREQ(name, "A");
        }
        EXPECT_TRUE(ExplorerRecordset.IsOpen());
        EXPECT_EQ(ExplorerScopeDepth(), 1);
    }
    // No statement on the table is left behind once the outermost scope is gone.
    EXPECT_FALSE(ExplorerRecordset.IsOpen());
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(FolderRecordsTest, OwnerIndexIsCreatedOnFirstUseUnlessReadOnly) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", 0);
    {
        CDaoTableDef table(&db());
        table.Open("EXPLORER");
        table.DeleteIndex("OWNER");
    }
    ReloadLibraryContext();
    ASSERT_EQ(EXPL_Init(&db(), &m_callback, 1), 1);
    CDWordArray keys;
    // Read-only: the index is not made, opening on it fails with a message, nothing is listed.
    EXPECT_EQ(GetSubFolders(0, keys, nullptr), 1);
    EXPECT_TRUE(keys.IsEmpty());
    EXPECT_EQ(m_notifier.messages.size(), 1u);
    EXPECT_EQ(ExplorerScopeDepth(), 0);

    ReloadLibraryContext();
    ASSERT_EQ(EXPL_Init(&db(), &m_callback, 0), 1);
    EXPECT_EQ(GetSubFolders(0, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{a, b}));
    CDaoTableDef table(&db());
    table.Open("EXPLORER");
    CDaoIndexInfo owner;
    table.GetIndexInfo("OWNER", owner, AFX_DAO_ALL_INFO);
    EXPECT_FALSE(owner.m_bPrimary || owner.m_bUnique);
    EXPECT_EQ(m_notifier.messages.size(), 1u);

    // Index names are matched regardless of case: an owner index another program spelt "owner"
    // is used as it is, not made a second time.
    table.DeleteIndex("OWNER");
    AddIndex(table, "owner", {{"ID_OWNER", FALSE}});
    table.Close();
    EXPECT_EQ(GetSubFolders(0, keys, nullptr), 1);
    EXPECT_EQ(Keys(keys), (std::vector<DWORD>{a, b}));
    EXPECT_EQ(m_notifier.messages.size(), 1u);
}

TEST_F(FolderRecordsTest, MissingFolderTableFailsSoundly) {
    InitLibrary(0, false);
    CString path("x");
    EXPECT_EQ(FolderExists(1), 0);
    EXPECT_EQ(GetFolderPath(1, path), 0);
    EXPECT_EQ(RenameFolderRecord(1, "x"), 0);
    EXPECT_EQ(DeleteFolderRecord(1), 0);
    EXPECT_EQ(ExplorerScopeDepth(), 0);
    // Each failed opening was shown with the engine's own message.
    ASSERT_EQ(m_notifier.messages.size(), 4u);
    EXPECT_NE(m_notifier.messages[0].text.Find("EXPLORER"), -1) << m_notifier.messages[0].text;
}

// The engine keeps the file as it was; what matters is that every refusal is reported and failed.
TEST_F(FolderRecordsTest, WritesToAReadOnlyDatabaseFailWithTheEngineMessage) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    const std::string file = m_project->path();
    ReloadLibraryContext();
    CDaoDatabase readOnly;
    readOnly.Open(file.c_str(), FALSE, TRUE);
    ASSERT_EQ(EXPL_Init(&readOnly, &m_callback, 0), 1);
    EXPECT_EQ(RenameFolderRecord(a, "B"), 0);
    EXPECT_EQ(DeleteFolderRecord(a), 0);
    EXPECT_EQ(CreateFolderRecord("C", 0, -1), 0);
    EXPECT_EQ(m_notifier.messages.size(), 3u);
}

} // namespace
