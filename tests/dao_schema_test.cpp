// Databases, table definitions and the metadata they keep across closing and reopening.
#include "platform/dao/dao.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/raw_sqlite.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

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
        // Indexes with the other flags: clustered with ignore-nulls, ignore-nulls with required.
        struct FlagIndex {
            const char* name;
            const char* field;
            BOOL clustered, required;
        };
        for (FlagIndex index :
             {FlagIndex{"Flags", "CODE", TRUE, FALSE}, FlagIndex{"Needed", "PLAIN", FALSE, TRUE}}) {
            CDaoIndexInfo flags;
            CDaoIndexFieldInfo key;
            key.m_strName = index.field;
            flags.m_strName = index.name;
            flags.m_pFieldInfos = &key;
            flags.m_nFields = 1;
            flags.m_bClustered = index.clustered;
            flags.m_bIgnoreNulls = TRUE;
            flags.m_bRequired = index.required;
            table.CreateIndex(flags);
        }
    }

    void Reopen() {
        db.Close();
        db.Open(path.c_str());
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

TEST_F(DaoSchemaTest, IndexesAreAddedAndDroppedOnAnOpenTable) {
    CreateAllTypesTable();
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    AddIndex(table, "Money", {{"MONEY", FALSE}});
    EXPECT_EQ(table.GetIndexCount(), 6);
    EXPECT_EQ(DaoErrorOf([&] {
                  AddIndex(table, "Second", {{"MONEY", FALSE}}, FALSE, TRUE);
              }),
              3283);

    table.DeleteIndex("ByName");
    table.DeleteIndex("Flags");
    Reopen();
    CDaoTableDef reopened(&db);
    reopened.Open("ALLTYPES");
    ASSERT_EQ(reopened.GetIndexCount(), 4);
    CDaoIndexInfo last;
    reopened.GetIndexInfo(3, last);
    EXPECT_STREQ(last.m_strName, "Money");
    EXPECT_EQ(DaoErrorOf([&] { reopened.DeleteIndex("ByName"); }), DAO_ERROR_ITEM_NOT_FOUND);

    // An index of the same name on another table is a different index.
    CDaoTableDef other(&db);
    other.Create("OTHER");
    other.CreateField("NAME", dbText, 10);
    AddIndex(other, "ByName", {{"NAME", FALSE}});
    other.Append();
    EXPECT_EQ(other.GetIndexCount(), 1);
}

TEST_F(DaoSchemaTest, CreateFieldRefusesWhatJetRefuses) {
    CDaoTableDef table(&db);
    table.Create("T");
    EXPECT_EQ(DaoErrorOf([&] { table.CreateField("X", 99, 4); }), 3259);
    EXPECT_EQ(DaoErrorOf([&] { table.CreateField("X", dbText, 4, dbAutoIncrField); }), 3259);
    table.CreateField("X", dbLong, 4);
    EXPECT_EQ(DaoErrorOf([&] { table.CreateField("x", dbLong, 4); }), 3191);
    for (const char* name : {"", "A.B", "A!B", "A`B", "A[B", "A]B"})
        EXPECT_EQ(DaoErrorOf([&] { table.CreateField(name, dbLong, 4); }), 3125) << name;
    EXPECT_EQ(table.GetFieldCount(), 1);
}

TEST_F(DaoSchemaTest, ATableWithTwoCountersOrTwoPrimaryKeysIsNotMade) {
    CDaoTableDef counters(&db);
    counters.Create("COUNTERS");
    counters.CreateField("A", dbLong, 4, dbAutoIncrField);
    counters.CreateField("B", dbLong, 4, dbAutoIncrField);
    EXPECT_EQ(DaoErrorOf([&] { counters.Append(); }), 3259);

    CDaoTableDef keys(&db);
    keys.Create("KEYS");
    keys.CreateField("A", dbLong, 4);
    keys.CreateField("B", dbLong, 4);
    AddIndex(keys, "First", {{"A", FALSE}}, TRUE, TRUE);
    EXPECT_EQ(DaoErrorOf([&] {
                  AddIndex(keys, "Second", {{"B", FALSE}}, TRUE, TRUE);
                  keys.Append();
              }),
              3283);
    EXPECT_FALSE(db.TableExists("COUNTERS"));
    EXPECT_FALSE(db.TableExists("KEYS"));
}

TEST_F(DaoSchemaTest, TablesOtherProgramsMadeReadByTheirDeclaredTypes) {
    db.Execute("CREATE TABLE MADE_ELSEWHERE (a integer, b varchar(40) NOT NULL, c NVARCHAR, "
               "d Clob, e BLOB, f, g boolean, h timestamp, i REAL, j NUMERIC(10, 2))");
    struct Expected {
        short type;
        long size;
        long attributes;
        BOOL required;
    };
    const Expected expected[] = {
        {dbLong, 4, dbFixedField, FALSE},          {dbText, 40, dbVariableField, TRUE},
        {dbMemo, 0, dbVariableField, FALSE},       {dbMemo, 0, dbVariableField, FALSE},
        {dbLongBinary, 0, dbVariableField, FALSE}, {dbLongBinary, 0, dbVariableField, FALSE},
        {dbBoolean, 1, dbFixedField, FALSE},       {dbDate, 8, dbFixedField, FALSE},
        {dbDouble, 8, dbFixedField, FALSE},        {dbDouble, 8, dbFixedField, FALSE}};
    CDaoTableDef table(&db);
    table.Open("MADE_ELSEWHERE");
    ASSERT_EQ(table.GetFieldCount(), static_cast<short>(std::size(expected)));
    for (short i = 0; i < table.GetFieldCount(); ++i) {
        CDaoFieldInfo info;
        table.GetFieldInfo(i, info, AFX_DAO_ALL_INFO);
        SCOPED_TRACE(info.m_strName.str());
        EXPECT_EQ(info.m_nType, expected[i].type);
        EXPECT_EQ(info.m_lSize, expected[i].size);
        EXPECT_EQ(info.m_lAttributes, expected[i].attributes);
        EXPECT_EQ(info.m_bRequired, expected[i].required);
    }
}

TEST_F(DaoSchemaTest, AColumnAnotherProgramAddsIsSeen) {
    CreateAllTypesTable();
    {
        CDaoTableDef table(&db);
        table.Open("ALLTYPES");
        EXPECT_EQ(table.GetFieldCount(), static_cast<short>(std::size(kFields)));
    }
    ASSERT_EQ(RawExec(path, "ALTER TABLE ALLTYPES ADD COLUMN LATER LONG"), "");
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    ASSERT_EQ(table.GetFieldCount(), static_cast<short>(std::size(kFields) + 1));
    CDaoFieldInfo info;
    table.GetFieldInfo(table.GetFieldCount() - 1, info);
    EXPECT_STREQ(info.m_strName, "LATER");
}

TEST_F(DaoSchemaTest, TableDefinitionsFollowChangesMadeThroughOthers) {
    CreateAllTypesTable();
    CDaoTableDef first(&db);
    first.Open("ALLTYPES");
    CDaoTableDef second(&db);
    second.Open("ALLTYPES");
    EXPECT_EQ(first.GetIndexCount(), 5);
    second.DeleteIndex("Flags");
    second.CreateField("LATER", dbLong, 4);
    EXPECT_EQ(first.GetIndexCount(), 4);
    EXPECT_EQ(first.GetFieldCount(), static_cast<short>(std::size(kFields) + 1));

    // Fields are found by name as well, in any case.
    CDaoFieldInfo info;
    first.GetFieldInfo("later", info);
    EXPECT_STREQ(info.m_strName, "LATER");
    EXPECT_EQ(info.m_nType, dbLong);
    EXPECT_EQ(DaoErrorOf([&] { first.GetFieldInfo("NONE", info); }), DAO_ERROR_ITEM_NOT_FOUND);
    EXPECT_EQ(DaoErrorOf([&] { first.GetFieldInfo(first.GetFieldCount(), info); }),
              DAO_ERROR_ITEM_NOT_FOUND);

    // An index dropped before the table is made is not made.
    CDaoTableDef pending(&db);
    pending.Create("PENDING");
    pending.CreateField("A", dbLong, 4);
    AddIndex(pending, "Kept", {{"A", FALSE}}, TRUE, TRUE);
    AddIndex(pending, "Dropped", {{"A", TRUE}});
    pending.DeleteIndex("dropped");
    EXPECT_EQ(DaoErrorOf([&] { pending.DeleteIndex("Dropped"); }), DAO_ERROR_ITEM_NOT_FOUND);
    pending.Append();
    ASSERT_EQ(pending.GetIndexCount(), 1);
    CDaoIndexInfo kept;
    pending.GetIndexInfo(0, kept);
    EXPECT_STREQ(kept.m_strName, "Kept");

    // A table that is not there cannot be dropped, and no table is made on a closed database.
    std::string description;
    EXPECT_EQ(DaoErrorOf([&] { db.DeleteTableDef("MISSING"); }, &description),
              DAO_ERROR_ITEM_NOT_FOUND);
    EXPECT_EQ(description, "no such table: MISSING");

    // A dropped table takes its indexes' flags along: the same table and index made again by
    // another program have a plain index, not the primary key.
    db.DeleteTableDef("PENDING");
    ASSERT_EQ(RawExec(path, "CREATE TABLE PENDING (A INTEGER); "
                            "CREATE INDEX \"PENDING.Kept\" ON PENDING (A)"),
              "");
    CDaoTableDef remade(&db);
    remade.Open("PENDING");
    ASSERT_EQ(remade.GetIndexCount(), 1);
    CDaoIndexInfo plain;
    remade.GetIndexInfo(0, plain);
    EXPECT_FALSE(plain.m_bPrimary);
    EXPECT_FALSE(plain.m_bUnique);
    db.Close();
    CDaoTableDef late(&db);
    EXPECT_EQ(DaoErrorOf([&] { late.Create("LATE"); }), DAO_ERROR_OBJECT_CLOSED);
}

TEST_F(DaoSchemaTest, AWalkGoesOnAcrossSchemaChangesOfItsTable) {
    CreateAllTypesTable();
    {
        CDaoRecordset adding(&db);
        adding.Open(dbOpenTable, "ALLTYPES");
        for (const char* name : {"A", "B", "C", "D"}) {
            adding.AddNew();
            adding.SetFieldValue("NAME", COleVariant(name));
            adding.Update();
        }
    }
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "ALLTYPES");
    records.SetCurrentIndex("ByName");
    records.MoveNext(); // on B, with the walk open
    CDaoTableDef table(&db);
    table.Open("ALLTYPES");
    AddIndex(table, "ByMoney", {{"MONEY", FALSE}});
    EXPECT_STREQ(records.GetFieldValue("NAME").strVal, "B");
    records.MoveNext();
    table.CreateField("LATER", dbLong, 4);
    EXPECT_STREQ(records.GetFieldValue("NAME").strVal, "C");
    table.DeleteIndex("ByMoney");
    records.MoveNext();
    EXPECT_STREQ(records.GetFieldValue("NAME").strVal, "D");
    records.MoveNext();
    EXPECT_TRUE(records.IsEOF());
}

class DaoOpenTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(DaoOpenTest, MissingAndForeignFilesDoNotOpenAndNoFileIsCreated) {
    const std::string missing = dir.File("missing.db");
    const std::string foreign = dir.File("notes.txt");
    std::ofstream(foreign) << std::string(4096, 'x');
    const std::pair<std::string, const char*> files[] = {{missing, "unable to open database file"},
                                                         {foreign, "file is not a database"}};
    for (const auto& [path, message] : files) {
        CDaoDatabase db;
        std::string description;
        DaoErrorOf([&, &path = path] { db.Open(path.c_str()); }, &description);
        EXPECT_EQ(description, message);
        EXPECT_FALSE(db.IsOpen());
    }
    EXPECT_FALSE(std::ifstream(missing).good());
}

TEST_F(DaoOpenTest, CreateRefusesAnExistingFile) {
    const std::string path = dir.File("twice.db");
    CDaoDatabase first;
    first.Create(path.c_str());
    EXPECT_TRUE(first.CanUpdate());
    EXPECT_EQ(first.GetName(), path.c_str());
    CDaoDatabase second;
    EXPECT_EQ(DaoErrorOf([&] { second.Create(path.c_str()); }), 3204);
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
    std::string description;
    DaoErrorOf([&] { other.Open(path.c_str()); }, &description);
    EXPECT_EQ(description, "database is locked");
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
    // Nothing runs on a recordset or a table definition that was never opened.
    CDaoRecordset neverOpened(&db);
    EXPECT_EQ(DaoErrorOf([&] { neverOpened.MoveNext(); }), DAO_ERROR_OBJECT_CLOSED);
    CDaoTableDef neverOpenedDef(&db);
    EXPECT_EQ(DaoErrorOf([&] { neverOpened.Open(&neverOpenedDef); }), DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(DaoErrorOf([&] {
                  AddIndex(neverOpenedDef, "ByA", {{"A", FALSE}});
              }),
              DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(DaoErrorOf([&] { neverOpenedDef.CreateField("B", dbLong, 4); }),
              DAO_ERROR_OBJECT_CLOSED);
    db.Close();
    EXPECT_FALSE(records.IsOpen());
    EXPECT_EQ(DaoErrorOf([&] { records.MoveNext(); }), DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(DaoErrorOf([&] { db.Execute("SELECT 1"); }), DAO_ERROR_OBJECT_CLOSED);

    // Opening another file closes the first, with its recordsets.
    db.Open(path.c_str());
    records.Open(dbOpenTable, "T");
    const std::string other = dir.File("other.db");
    {
        CDaoDatabase creator;
        creator.Create(other.c_str());
    }
    db.Open(other.c_str());
    EXPECT_FALSE(records.IsOpen());
    EXPECT_FALSE(db.TableExists("T"));
}

} // namespace
