#include "store/folder_records.h"
#include "tests/support/library_fixture.h"
#include "tests/support/raw_sqlite.h"

namespace {

using InitTest = LibraryTest;

TEST_F(InitTest, FirstCompleteInitWinsAndLaterOnesAreRefusedWithTheMessage) {
    EXPECT_EQ(EXPL_Init(&db(), nullptr, 1), 0);
    EXPECT_EQ(g_context.readOnly, 1);
    EXPECT_EQ(g_context.database, nullptr);

    EXPECT_EQ(EXPL_Init(&db(), &m_callback, 0), 1);
    EXPECT_EQ(g_context.readOnly, 0);
    EXPECT_TRUE(m_notifier.messages.empty());

    CDaoDatabase other;
    EXPLORER_CALLBACK otherCallback{};
    EXPECT_EQ(EXPL_Init(&other, &otherCallback, 1), 0);
    ASSERT_EQ(m_notifier.messages.size(), 1u);
    EXPECT_STREQ(m_notifier.messages[0].text, "Error sharing violaton DLL !!!  [ZOK]");
    EXPECT_STREQ(m_notifier.messages[0].caption, "Tarvosil");
    EXPECT_EQ(m_notifier.messages[0].type, MB_OK);
    ASSERT_EQ(m_notifier.beeps.size(), 1u);
    EXPECT_EQ(m_notifier.beeps[0], MB_OK);
    EXPECT_EQ(g_context.database, &db());
    EXPECT_EQ(g_context.callback, &m_callback);
    EXPECT_EQ(g_context.readOnly, 0);
}

TEST_F(InitTest, EntryPointsBeforeInitTouchNothing) {
    CString path("unchanged");
    int count = 77;
    EXPECT_EQ(EXPL_IsFolderExist(0), 0);
    EXPECT_EQ(EXPL_GetPath(5, path), 0);
    EXPECT_EQ(EXPL_GetDirIDs(0, count), nullptr);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(EXPL_CreateFolder("A", 0, -1), 0);
    // The flag is -1 until EXPL_Init: creating the table is a read-only no-op that succeeds.
    EXPECT_EQ(EXPL_CreateNewTable(), 1);
    EXPECT_FALSE(db().TableExists("EXPLORER"));
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(InitTest, CreateNewTableBuildsTheFolderTableWithItsRoot) {
    InitLibrary(0, false);
    const CTime before = CTime::GetCurrentTime();
    ASSERT_EQ(EXPL_CreateNewTable(), 1);

    CDaoTableDef table(&db());
    table.Open("EXPLORER");
    struct Expected {
        const char* name;
        short type;
        long size;
        long attributes;
    };
    const Expected fields[] = {{"_CODE", dbLong, 4, 17},     {"ID", dbLong, 4, 1},
                               {"NAME", dbText, 255, 2},     {"DATE", dbDate, 8, 1},
                               {"INFO", dbLongBinary, 0, 2}, {"ID_OWNER", dbLong, 4, 1},
                               {"PASS_R", dbText, 255, 2},   {"PASS_W", dbText, 255, 2}};
    ASSERT_EQ(table.GetFieldCount(), 8);
    for (int i = 0; i < 8; ++i) {
        CDaoFieldInfo info;
        table.GetFieldInfo(i, info, AFX_DAO_ALL_INFO);
        EXPECT_STREQ(info.m_strName, fields[i].name);
        EXPECT_EQ(info.m_nType, fields[i].type) << fields[i].name;
        EXPECT_EQ(info.m_lSize, fields[i].size) << fields[i].name;
        EXPECT_EQ(info.m_lAttributes, fields[i].attributes) << fields[i].name;
    }
    ASSERT_EQ(table.GetIndexCount(), 2);
    CDaoIndexInfo primary, owner;
    table.GetIndexInfo("I1", primary, AFX_DAO_ALL_INFO);
    table.GetIndexInfo("OWNER", owner, AFX_DAO_ALL_INFO);
    EXPECT_TRUE(primary.m_bPrimary && primary.m_bUnique);
    ASSERT_EQ(primary.m_nFields, 1);
    EXPECT_STREQ(primary.m_pFieldInfos[0].m_strName, "ID");
    EXPECT_FALSE(primary.m_pFieldInfos[0].m_bDescending);
    EXPECT_FALSE(owner.m_bPrimary || owner.m_bUnique || owner.m_bClustered ||
                 owner.m_bIgnoreNulls || owner.m_bRequired || owner.m_bForeign);
    ASSERT_EQ(owner.m_nFields, 1);
    EXPECT_STREQ(owner.m_pFieldInfos[0].m_strName, "ID_OWNER");
    EXPECT_FALSE(owner.m_pFieldInfos[0].m_bDescending);
    EXPECT_EQ(table.GetRecordCount(), 1);
    table.Close();

    const std::string file = m_project->path();
    EXPECT_EQ(RawRow(file, "SELECT _CODE, ID, NAME, INFO, ID_OWNER, PASS_R, PASS_W FROM EXPLORER"),
              "1|0|ROOT|NULL|-1|-|-");
    const std::string created = RawRow(file, "SELECT DATE FROM EXPLORER");
    EXPECT_GE(created, before.Format("%Y-%m-%d %H:%M:%S").str());
    EXPECT_LE(created, CTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S").str());

    // A second call reports the engine's refusal once and leaves the table as it was.
    EXPECT_EQ(EXPL_CreateNewTable(), 0);
    ASSERT_EQ(m_notifier.messages.size(), 1u);
    EXPECT_NE(m_notifier.messages[0].text.Find("already exists"), -1)
        << m_notifier.messages[0].text;
    CDaoTableDef again(&db());
    again.Open("EXPLORER");
    EXPECT_EQ(again.GetRecordCount(), 1);
    EXPECT_EQ(again.GetIndexCount(), 2);
}

TEST_F(InitTest, ReadOnlyFlagCreatesNoTable) {
    InitLibrary(1, false);
    EXPECT_EQ(EXPL_CreateNewTable(), 1);
    EXPECT_FALSE(db().TableExists("EXPLORER"));
    EXPECT_TRUE(m_notifier.messages.empty());
}

TEST_F(InitTest, DirIdsBlockListsSubFoldersInOwnerOrder) {
    InitLibrary();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", 0);
    MakeFolder("A1", a);

    int count = -5;
    void* block = EXPL_GetDirIDs(0, count);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(count, 2);
    auto handle = static_cast<HGLOBAL>(block);
    EXPECT_EQ(GlobalSize(handle), 8u);
    EXPECT_EQ(GlobalLockCount(handle), 0u); // handed out unlocked
    {
        GlobalLockGuard lock(handle);
        const auto* bytes = static_cast<const unsigned char*>(lock.data());
        EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24, static_cast<int>(a));
        EXPECT_EQ(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24, static_cast<int>(b));
    }
    EXPECT_EQ(GlobalFree(handle), nullptr);

    count = 9;
    EXPECT_EQ(EXPL_GetDirIDs(b, count), nullptr);
    EXPECT_EQ(count, 0);
}

// Paths of deeper folders, existence and folders made under a key of their own go through these
// entry points in CliTest.FolderCommandsWorkOnTheLibrarysTable.
TEST_F(InitTest, GetPathGivesTheRootAnEmptyPathAndFailsOnAMissingFolder) {
    InitLibrary();
    CString path("stale");
    EXPECT_EQ(EXPL_GetPath(0, path), 1);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(EXPL_GetPath(999, path), 0);
}

} // namespace
