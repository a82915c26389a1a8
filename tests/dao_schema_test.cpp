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

} // namespace
