// Databases, table definitions and the metadata they keep across closing and reopening.
#include "platform/dao/dao.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

namespace {

// Runs `action`, expecting a CDaoException; returns it.
CDaoException ExpectDaoError(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDaoException& error) {
        return error;
    }
    ADD_FAILURE() << "no CDaoException";
    return CDaoException(0, "");
}

std::string Description(const CDaoException& error) {
    return error.m_pErrorInfo->m_strDescription.str();
}

struct FieldCase {
    const char* name;
    short type;
    long size;
    long attributes;
    // As read back.
    long expectedSize;
    long expectedAttributes;
};

// Every type, the counter, and attributes beyond the type's default.
constexpr FieldCase kFields[] = {
    {"ID", dbLong, 4, dbAutoIncrField, 4, dbAutoIncrField | dbFixedField},
    {"FLAG", dbBoolean, 0, 0, 1, dbFixedField},
    {"SMALL", dbByte, 0, dbFixedField, 1, dbFixedField},
    {"SHORTV", dbInteger, 0, 0, 2, dbFixedField},
    {"LONGV", dbLong, 4, dbFixedField | dbUpdatableField, 4, dbFixedField | dbUpdatableField},
    {"MONEY", dbCurrency, 0, 0, 8, dbFixedField},
    {"SINGLEV", dbSingle, 0, 0, 4, dbFixedField},
    {"DOUBLEV", dbDouble, 0, 0, 8, dbFixedField},
    {"WHEN", dbDate, 8, dbFixedField, 8, dbFixedField},
    {"FIXEDBIN", dbBinary, 16, dbFixedField, 16, dbFixedField},
    {"VARBIN", dbBinary, 32, 0, 32, dbVariableField},
    {"NAME", dbText, 40, dbVariableField | dbUpdatableField, 40,
     dbVariableField | dbUpdatableField},
    {"CODE", dbText, 8, dbFixedField, 8, dbFixedField},
    {"PLAIN", dbText, 0, 0, 255, dbVariableField},
    {"DATA", dbLongBinary, 0, 0, 0, dbVariableField},
    {"NOTES", dbMemo, 0, dbVariableField, 0, dbVariableField},
};

class DaoSchemaTest : public ::testing::Test {
protected:
    void SetUp() override { db.Create(path.c_str()); }

    void CreateAllTypesTable() {
        CDaoTableDef table(&db);
        table.Create("ALLTYPES");
        for (const FieldCase& field : kFields)
            table.CreateField(field.name, field.type, field.size, field.attributes);
        table.Append();
        AddIndex(table, "PrimaryKey", {{"ID", FALSE}}, TRUE, TRUE);
        AddIndex(table, "ByName", {{"NAME", FALSE}}, TRUE);
        AddIndex(table, "ByWhen", {{"WHEN", TRUE}, {"NAME", FALSE}});
        CDaoIndexInfo flags;
        CDaoIndexFieldInfo code;
        code.m_strName = "CODE";
        flags.m_strName = "Flags";
        flags.m_pFieldInfos = &code;
        flags.m_nFields = 1;
        flags.m_bClustered = TRUE;
        flags.m_bIgnoreNulls = TRUE;
        flags.m_bRequired = TRUE;
        table.CreateIndex(flags);
    }

    void Reopen(BOOL readOnly = FALSE) {
        db.Close();
        db.Open(path.c_str(), FALSE, readOnly);
    }

    TempDir dir;
    std::string path = dir.File("schema.db");
    CDaoDatabase db;
};

TEST_F(DaoSchemaTest, FieldsKeepTypeSizeAttributesAndOrderAcrossReopen) {
    CreateAllTypesTable();
    Reopen();

    CDaoTableDef table(&db);
    table.Open("alltypes"); // Jet names are case-insensitive; the name comes back as created
    EXPECT_STREQ(table.GetName(), "ALLTYPES");
    ASSERT_EQ(table.GetFieldCount(), static_cast<short>(std::size(kFields)));
    for (short i = 0; i < table.GetFieldCount(); ++i) {
        const FieldCase& expected = kFields[i];
        CDaoFieldInfo info;
        table.GetFieldInfo(i, info, AFX_DAO_ALL_INFO);
        SCOPED_TRACE(expected.name);
        EXPECT_STREQ(info.m_strName, expected.name);
        EXPECT_EQ(info.m_nType, expected.type);
        EXPECT_EQ(info.m_lSize, expected.expectedSize);
        EXPECT_EQ(info.m_lAttributes, expected.expectedAttributes);
        EXPECT_EQ(info.m_nOrdinalPosition, i);
    }

    // The recordset reports the same.
    CDaoRecordset records(&db);
    records.Open(&table);
    CDaoFieldInfo info;
    records.GetFieldInfo(11, info);
    EXPECT_STREQ(info.m_strName, "NAME");
    EXPECT_EQ(info.m_lAttributes, dbVariableField | dbUpdatableField);
    EXPECT_EQ(records.GetFieldCount(), table.GetFieldCount());
}

TEST_F(DaoSchemaTest, IndexesKeepFlagsFieldsDirectionAndCreationOrder) {
    CreateAllTypesTable();
    Reopen();

    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    ASSERT_EQ(table.GetIndexCount(), 4);

    CDaoIndexInfo primary;
    table.GetIndexInfo(0, primary, AFX_DAO_PRIMARY_INFO);
    EXPECT_STREQ(primary.m_strName, "PrimaryKey");
    EXPECT_TRUE(primary.m_bPrimary);
    EXPECT_TRUE(primary.m_bUnique); // primary implies unique
    ASSERT_EQ(primary.m_nFields, 1);
    EXPECT_STREQ(primary.m_pFieldInfos[0].m_strName, "ID");

    CDaoIndexInfo byName;
    table.GetIndexInfo(1, byName, AFX_DAO_ALL_INFO);
    EXPECT_STREQ(byName.m_strName, "ByName");
    EXPECT_FALSE(byName.m_bPrimary);
    EXPECT_TRUE(byName.m_bUnique);
    EXPECT_FALSE(byName.m_bClustered);

    CDaoIndexInfo byWhen;
    table.GetIndexInfo("BYWHEN", byWhen, AFX_DAO_ALL_INFO);
    EXPECT_STREQ(byWhen.m_strName, "ByWhen");
    EXPECT_FALSE(byWhen.m_bUnique);
    ASSERT_EQ(byWhen.m_nFields, 2);
    EXPECT_EQ(byWhen.m_pFieldInfos, byWhen.m_ownedFieldInfos.data());
    EXPECT_STREQ(byWhen.m_pFieldInfos[0].m_strName, "WHEN");
    EXPECT_TRUE(byWhen.m_pFieldInfos[0].m_bDescending);
    EXPECT_STREQ(byWhen.m_pFieldInfos[1].m_strName, "NAME");
    EXPECT_FALSE(byWhen.m_pFieldInfos[1].m_bDescending);

    CDaoIndexInfo flags;
    table.GetIndexInfo(3, flags, AFX_DAO_ALL_INFO);
    EXPECT_STREQ(flags.m_strName, "Flags");
    EXPECT_FALSE(flags.m_bUnique);
    EXPECT_TRUE(flags.m_bClustered);
    EXPECT_TRUE(flags.m_bIgnoreNulls);
    EXPECT_TRUE(flags.m_bRequired);
    EXPECT_FALSE(flags.m_bForeign);

    // The layer's own catalog stays out of sight.
    EXPECT_FALSE(db.TableExists("_dao_index"));
    EXPECT_TRUE(db.TableExists("alltypes"));
    EXPECT_FALSE(db.TableExists("sqlite_master"));
}

TEST_F(DaoSchemaTest, UniqueIndexRefusesDuplicatesWithTheEnginesMessage) {
    CreateAllTypesTable();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "ALLTYPES");
    records.AddNew();
    records.SetFieldValue("NAME", COleVariant("same"));
    records.Update();
    records.AddNew();
    records.SetFieldValue("NAME", COleVariant("same"));
    const CDaoException error = ExpectDaoError([&] { records.Update(); });
    EXPECT_EQ(Description(error), "UNIQUE constraint failed: ALLTYPES.NAME");
    EXPECT_EQ(error.GetErrorCode(), 3022);
    EXPECT_EQ(records.GetEditMode(), dbEditAdd); // still pending, nothing written
    records.CancelUpdate();
    EXPECT_EQ(records.GetRecordCount(), 1);

    CDaoIndexInfo distinct;
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    table.GetIndexInfo("ByName", distinct, AFX_DAO_ALL_INFO);
    EXPECT_EQ(distinct.m_lDistinctCount, 1);
}

TEST_F(DaoSchemaTest, IndexesAreAddedAndDroppedOnAnOpenTable) {
    CreateAllTypesTable();
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    AddIndex(table, "Money", {{"MONEY", FALSE}});
    EXPECT_EQ(table.GetIndexCount(), 5);
    const CDaoException twice = ExpectDaoError([&] {
        AddIndex(table, "Second", {{"MONEY", FALSE}}, FALSE, TRUE);
    });
    EXPECT_EQ(twice.GetErrorCode(), 3283);

    table.DeleteIndex("ByName");
    table.DeleteIndex("Flags");
    Reopen();
    CDaoTableDef reopened(&db);
    reopened.Open("ALLTYPES");
    ASSERT_EQ(reopened.GetIndexCount(), 3);
    CDaoIndexInfo last;
    reopened.GetIndexInfo(2, last);
    EXPECT_STREQ(last.m_strName, "Money");
    EXPECT_EQ(ExpectDaoError([&] { reopened.DeleteIndex("ByName"); }).GetErrorCode(),
              DAO_ERROR_ITEM_NOT_FOUND);

    // An index of the same name on another table is a different index.
    CDaoTableDef other(&db);
    other.Create("OTHER");
    other.CreateField("NAME", dbText, 10);
    AddIndex(other, "ByName", {{"NAME", FALSE}});
    other.Append();
    EXPECT_EQ(other.GetIndexCount(), 1);
}

TEST_F(DaoSchemaTest, FieldsAreAddedToAnOpenTableButNoCounter) {
    CreateAllTypesTable();
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    table.CreateField("EXTRA", dbText, 12, dbVariableField);
    EXPECT_THROW(table.CreateField("COUNTER2", dbLong, 4, dbAutoIncrField), CDaoException);
    Reopen();
    CDaoTableDef reopened(&db);
    reopened.Open("ALLTYPES");
    CDaoFieldInfo info;
    reopened.GetFieldInfo("extra", info, AFX_DAO_SECONDARY_INFO);
    EXPECT_EQ(info.m_nType, dbText);
    EXPECT_EQ(info.m_lSize, 12);
    EXPECT_EQ(info.m_nOrdinalPosition, static_cast<short>(std::size(kFields)));
}

TEST_F(DaoSchemaTest, RecordsetsSeeSchemaChangesMadeHereOrByAnotherConnection) {
    CreateAllTypesTable();
    const short fieldCount = static_cast<short>(std::size(kFields));
    {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "ALLTYPES");
        EXPECT_EQ(records.GetFieldCount(), fieldCount);
    }
    // Another connection to the file adds a column and an index.
    {
        CDaoDatabase other;
        other.Open(path.c_str());
        other.Execute("ALTER TABLE ALLTYPES ADD COLUMN LATER TEXT(8)");
        other.Execute("CREATE INDEX \"ALLTYPES.ByLater\" ON ALLTYPES (LATER)");
    }
    {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "alltypes");
        EXPECT_EQ(records.GetFieldCount(), fieldCount + 1);
        EXPECT_NO_THROW(records.SetCurrentIndex("ByLater"));
    }
    // And through this database: a field added, an index dropped.
    {
        CDaoTableDef table(&db);
        table.Open("ALLTYPES");
        table.CreateField("LATEST", dbLong, 4);
        table.DeleteIndex("ByLater");
    }
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "ALLTYPES");
    EXPECT_EQ(records.GetFieldCount(), fieldCount + 2);
    EXPECT_EQ(ExpectDaoError([&] { records.SetCurrentIndex("ByLater"); }).GetErrorCode(), 3800);
    // A recordset opened on a table definition: what the definition found at its opening, and
    // what changed through this database after it.
    {
        CDaoDatabase other;
        other.Open(path.c_str());
        other.Execute("ALTER TABLE ALLTYPES ADD COLUMN FROM_OTHER LONG");
    }
    {
        CDaoTableDef definition(&db);
        definition.Open("ALLTYPES");
        CDaoRecordset onDefinition(&db);
        onDefinition.Open(&definition);
        EXPECT_EQ(onDefinition.GetFieldCount(), fieldCount + 3);
        definition.CreateField("FROM_DEFINITION", dbLong, 4);
        onDefinition.Open(&definition);
        EXPECT_EQ(onDefinition.GetFieldCount(), fieldCount + 4);
        db.Execute("ALTER TABLE ALLTYPES ADD COLUMN FROM_SQL LONG");
        onDefinition.Open(&definition);
        EXPECT_EQ(onDefinition.GetFieldCount(), fieldCount + 5);
        CDaoFieldInfo last;
        onDefinition.GetFieldInfo(fieldCount + 4, last);
        EXPECT_STREQ(last.m_strName, "FROM_SQL");
    }
    // A table dropped elsewhere is gone here too.
    {
        CDaoDatabase other;
        other.Open(path.c_str());
        other.Execute("CREATE TABLE GONE (X INTEGER)");
    }
    CDaoRecordset gone(&db);
    gone.Open(dbOpenTable, "GONE");
    gone.Close();
    {
        CDaoDatabase other;
        other.Open(path.c_str());
        other.Execute("DROP TABLE GONE");
    }
    EXPECT_EQ(ExpectDaoError([&] { gone.Open(dbOpenTable, "GONE"); }).GetErrorCode(),
              DAO_ERROR_ITEM_NOT_FOUND);
}

TEST_F(DaoSchemaTest, TablesThatExistOrDoNotReportTheEngine) {
    CreateAllTypesTable();
    CDaoTableDef again(&db);
    again.Create("ALLTYPES");
    again.CreateField("X", dbLong, 4);
    EXPECT_EQ(Description(ExpectDaoError([&] { again.Append(); })),
              "table ALLTYPES already exists");

    CDaoTableDef missing(&db);
    const CDaoException notFound = ExpectDaoError([&] { missing.Open("NOPE"); });
    EXPECT_EQ(notFound.GetErrorCode(), DAO_ERROR_ITEM_NOT_FOUND);
    EXPECT_EQ(Description(notFound), "no such table: NOPE");
    CDaoRecordset records(&db);
    EXPECT_EQ(Description(ExpectDaoError([&] { records.Open(dbOpenTable, "NOPE"); })),
              "no such table: NOPE");
    EXPECT_FALSE(records.IsOpen());

    db.DeleteTableDef("alltypes");
    EXPECT_FALSE(db.TableExists("ALLTYPES"));
    EXPECT_THROW(db.DeleteTableDef("ALLTYPES"), CDaoException);
    // Its index names are free again.
    CreateAllTypesTable();
    EXPECT_TRUE(db.TableExists("ALLTYPES"));
}

TEST_F(DaoSchemaTest, CreateFieldRefusesWhatJetRefuses) {
    CDaoTableDef table(&db);
    table.Create("T");
    EXPECT_EQ(ExpectDaoError([&] { table.CreateField("X", 99, 4); }).GetErrorCode(), 3259);
    EXPECT_EQ(
        ExpectDaoError([&] { table.CreateField("X", dbText, 4, dbAutoIncrField); }).GetErrorCode(),
        3259);
    table.CreateField("X", dbLong, 4);
    EXPECT_EQ(ExpectDaoError([&] { table.CreateField("x", dbLong, 4); }).GetErrorCode(), 3191);
    EXPECT_EQ(table.GetFieldCount(), 1);
}

class DaoOpenTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(DaoOpenTest, MissingFileIsNotCreated) {
    const std::string path = dir.File("missing.db");
    CDaoDatabase db;
    const CDaoException error = ExpectDaoError([&] { db.Open(path.c_str()); });
    EXPECT_EQ(Description(error), "unable to open database file");
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST_F(DaoOpenTest, ForeignFileIsNotADatabase) {
    const std::string path = dir.File("notes.txt");
    std::ofstream(path) << std::string(4096, 'x');
    CDaoDatabase db;
    const CDaoException error = ExpectDaoError([&] { db.Open(path.c_str()); });
    EXPECT_EQ(Description(error), "file is not a database");
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(DaoOpenTest, CreateRefusesAnExistingFile) {
    const std::string path = dir.File("twice.db");
    CDaoDatabase first;
    first.Create(path.c_str());
    EXPECT_TRUE(first.CanUpdate());
    EXPECT_EQ(first.GetName(), path.c_str());
    CDaoDatabase second;
    EXPECT_EQ(ExpectDaoError([&] { second.Create(path.c_str()); }).GetErrorCode(), 3204);
}

TEST_F(DaoOpenTest, ExclusiveOpenLocksOthersOut) {
    const std::string path = dir.File("locked.db");
    {
        CDaoDatabase creator;
        creator.Create(path.c_str());
        creator.Execute("CREATE TABLE T (A LONG)");
    }
    CDaoDatabase owner;
    owner.Open(path.c_str(), TRUE, FALSE);
    CDaoDatabase other;
    const CDaoException error = ExpectDaoError([&] { other.Open(path.c_str()); });
    EXPECT_EQ(Description(error), "database is locked");
    owner.Close();
    other.Open(path.c_str());
    EXPECT_TRUE(other.TableExists("T"));
}

TEST_F(DaoOpenTest, ClosingTheDatabaseClosesItsRecordsets) {
    const std::string path = dir.File("close.db");
    CDaoDatabase db;
    db.Create(path.c_str());
    db.Execute("CREATE TABLE T (A LONG); INSERT INTO T VALUES (1)");
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "T");
    ASSERT_TRUE(records.IsOpen());
    db.Close();
    EXPECT_FALSE(records.IsOpen());
    EXPECT_EQ(ExpectDaoError([&] { records.MoveNext(); }).GetErrorCode(), DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(ExpectDaoError([&] { db.Execute("SELECT 1"); }).GetErrorCode(),
              DAO_ERROR_OBJECT_CLOSED);
}

} // namespace
