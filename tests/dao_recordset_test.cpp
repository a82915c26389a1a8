// Field types through table-type recordsets: every type written and read back, and values that
// other programs wrote as the engine holds them; what writes and seeks refuse, and the index
// searches they run.
#include "platform/dao/dao.h"
#include "tests/support/people_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

struct FieldDef {
    const char* name;
    short type;
    long size;
};

void CreateTable(CDaoDatabase& db, const char* name, std::initializer_list<FieldDef> fields) {
    CDaoTableDef table(&db);
    table.Create(name);
    for (const FieldDef& field : fields)
        table.CreateField(field.name, field.type, field.size);
    table.Append();
}

using DaoRecordsetTest = PeopleTableTest;

TEST_F(DaoRecordsetTest, EveryTypeRoundTrips) {
    CreateTable(db, "TYPES",
                {{"B", dbBoolean, 1},
                 {"Y", dbByte, 1},
                 {"S", dbInteger, 2},
                 {"L", dbLong, 4},
                 {"C", dbCurrency, 8},
                 {"F", dbSingle, 4},
                 {"D", dbDouble, 8},
                 {"T", dbDate, 8},
                 {"BIN", dbBinary, 4},
                 {"TXT", dbText, 20},
                 {"LB", dbLongBinary, 0},
                 {"M", dbMemo, 0}});
    const CByteArray bytes{0, 1, 2, 255};
    CURRENCY money;
    money.int64 = 123456789; // 12345.6789
    // A value for each field, of the type it reads back as (the memo's digits stay text); the
    // date is set per record: 2024-03-15 13:45:30 and 1850-06-01 06:00:00.
    const short date = 7;
    const COleVariant values[] = {COleVariant(VARIANT_TRUE, VT_BOOL),
                                  COleVariant(BYTE{200}),
                                  COleVariant(std::int16_t{-1234}),
                                  Long(-70000),
                                  COleVariant(COleCurrency(money)),
                                  COleVariant(1.5f),
                                  COleVariant(2.25),
                                  COleVariant(),
                                  COleVariant(bytes),
                                  COleVariant("Größe"),
                                  COleVariant(bytes),
                                  COleVariant("0123")};
    const DATE dates[] = {45366.0 + 49530.0 / 86400.0, -18109.25};
    {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "TYPES");
        for (const DATE when : dates) {
            records.AddNew();
            for (short i = 0; i < short(std::size(values)); ++i)
                records.SetFieldValue(i, i == date ? COleVariant(COleDateTime(when)) : values[i]);
            records.Update();
        }
        records.AddNew(); // all null
        records.Update();
    }
    db.Close();
    db.Open(path.c_str());
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "TYPES");
    for (const DATE when : dates) {
        for (short i = 0; i < short(std::size(values)); ++i) {
            const COleVariant read = records.GetFieldValue(i);
            if (i == date) {
                EXPECT_EQ(read.vt, VT_DATE);
                EXPECT_NEAR(read.date, when, 0.5 / 86400);
            } else {
                EXPECT_TRUE(read == values[i]) << i;
            }
        }
        records.MoveNext();
    }
    for (short i = 0; i < records.GetFieldCount(); ++i)
        EXPECT_EQ(records.GetFieldValue(i).vt, VT_NULL) << i;
}

TEST_F(DaoRecordsetTest, ValuesOtherProgramsWroteReadByTheFieldsType) {
    CreateTable(db, "FOREIGN_ROWS",
                {{"T", dbDate, 8}, {"TXT", dbText, 40}, {"LB", dbLongBinary, 0}});
    auto insert = [&](const char* column, const std::string& value) {
        db.Execute(("INSERT INTO FOREIGN_ROWS (" + std::string(column) + ") VALUES (" + value + ")")
                       .c_str());
    };
    // Bytes, text and numbers read as text in a text field and as bytes in a binary one; numbers
    // as their text.
    const std::pair<const char*, const char*> stored[] = {
        {"x'4869'", "Hi"}, {"'Text'", "Text"}, {"42", "42"}, {"2.5", "2.5"}};
    for (const auto& [literal, text] : stored)
        insert("TXT, LB", literal + std::string(", ") + literal);
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "FOREIGN_ROWS");
    for (const auto& [literal, text] : stored) {
        EXPECT_STREQ(records.GetFieldValue(1).strVal, text) << literal;
        const COleVariant read = records.GetFieldValue(2);
        EXPECT_EQ(read.vt, VT_ARRAY | VT_UI1) << literal;
        EXPECT_EQ(std::string(read.byteVal.begin(), read.byteVal.end()), text) << literal;
        records.MoveNext();
    }

    // In a date field numbers and the ISO forms of text are dates; texts near them, or any other,
    // are handed over as the text they are.
    const std::pair<const char*, double> dates[] = {
        {"'2024-03-15 13:45:30'", 45366.0 + 49530.0 / 86400.0},
        {"'2024-03-15'", 45366.0},
        {"'2024-03-15T13:45'", 45366.0 + 49500.0 / 86400.0},
        {"'2024-03-15 13:45:30.75'", 45366.0 + 49530.75 / 86400.0},
        {"'1899-12-29T06:00:00.000250'", -1.0 - 21600.00025 / 86400.0},
        {"'1899-12-29 06:00:00'", -1.25},
        {"'0100-01-01 00:00:00'", -657434.0},
        {"'9999-12-31 23:59:59'", 2958465.0 + 86399.0 / 86400.0},
        {"45366.5", 45366.5}};
    const char* notDates[] = {"2024-3-15",
                              "2024-03-15 13:45:3",
                              "2024-13-01",
                              "2024-03-00",
                              "2024-03-15 24:00",
                              "2024-03-15 13:60",
                              "2024-03-15 13:45:60",
                              "2024-03-15 13:45-30",
                              "0099-12-31",
                              "2024-03-15X13:45",
                              "2024-03-15 13:45:30Z",
                              "2024/03/15",
                              "2024-03/15",
                              "+024-03-15",
                              "2024-03-15 13-45",
                              "2024-03-15 13:45:30.",
                              "2024-03-15 13:45:30.5Z",
                              "2024-03-15 13:45.5",
                              "2024-03-15.5"};
    db.Execute("DELETE FROM FOREIGN_ROWS");
    for (const auto& [literal, date] : dates)
        insert("T", literal);
    for (const char* text : notDates)
        insert("T", "'" + std::string(text) + "'");
    records.MoveFirst();
    for (const auto& [literal, date] : dates) {
        const COleVariant read = records.GetFieldValue(0);
        EXPECT_EQ(read.vt, VT_DATE) << literal;
        EXPECT_NEAR(read.date, date, 1e-9) << literal;
        records.MoveNext();
    }
    for (const char* text : notDates) {
        const COleVariant read = records.GetFieldValue(0);
        EXPECT_EQ(read.vt, VT_BSTR) << text;
        EXPECT_STREQ(read.strVal, text);
        records.MoveNext();
    }
    EXPECT_TRUE(records.IsEOF());
}

// Adds people A, B and C with K 3, 2 and 1 through `records`.
void AddThreePeople(CDaoRecordset& records) {
    for (auto [name, k] : {std::pair{"A", 3}, std::pair{"B", 2}, std::pair{"C", 1}}) {
        records.AddNew();
        records.SetFieldValue("NAME", COleVariant(name));
        records.SetFieldValue("K", Long(k));
        records.Update();
    }
}

TEST_F(DaoRecordsetTest, WritesNeedAnEditAnUpdatableRecordsetAndAField) {
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    AddThreePeople(records);
    // The record added last is the last modified one, and then the one edited last.
    records.SetBookmark(records.GetLastModifiedBookmark());
    EXPECT_EQ(Name(records), "C");
    records.MoveFirst();
    records.Edit();
    records.SetFieldValue("K", Long(30));
    records.Update();
    records.MoveLast();
    records.SetBookmark(records.GetLastModifiedBookmark());
    EXPECT_EQ(Name(records), "A");

    // An update with no edit adds nothing; every move, and starting an addition, ends an edit
    // unsaved.
    EXPECT_EQ(DaoErrorOf([&] { records.Update(); }), DAO_ERROR_UPDATE_WITHOUT_EDIT);
    EXPECT_EQ(records.GetRecordCount(), 3);
    const std::function<void()> leaves[] = {
        [&] { records.MovePrev(); }, [&] { records.MoveNext(); }, [&] { records.MoveFirst(); },
        [&] { records.MoveLast(); }, [&] { records.AddNew(); }};
    for (std::size_t i = 0; i < std::size(leaves); ++i) {
        SCOPED_TRACE(i);
        records.MoveFirst();
        records.MoveNext();
        records.Edit();
        records.SetFieldValue("NAME", COleVariant("X"));
        leaves[i]();
        EXPECT_NE(records.GetEditMode(), dbEditInProgress);
        if (records.GetEditMode() == dbEditAdd)
            records.CancelUpdate();
        EXPECT_EQ(DaoErrorOf([&] { records.Update(); }), DAO_ERROR_UPDATE_WITHOUT_EDIT);
    }
    EXPECT_EQ(Walk(records, "Name"), (std::vector<std::string>{"A", "B", "C"}));

    records.MoveFirst();
    records.Edit();
    for (int field : {-1, 4}) {
        EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue(field, Long(1)); }),
                  DAO_ERROR_ITEM_NOT_FOUND)
            << field;
        EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue(field); }), DAO_ERROR_ITEM_NOT_FOUND)
            << field;
    }
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("NONE", Long(1)); }),
              DAO_ERROR_ITEM_NOT_FOUND);
    records.CancelUpdate();

    CDaoRecordset reader(&db);
    reader.Open(dbOpenTable, "PEOPLE", dbReadOnly);
    EXPECT_EQ(DaoErrorOf([&] { reader.Edit(); }), DAO_ERROR_READ_ONLY);
    EXPECT_EQ(DaoErrorOf([&] { reader.AddNew(); }), DAO_ERROR_READ_ONLY);
    EXPECT_EQ(DaoErrorOf([&] { reader.Delete(); }), DAO_ERROR_READ_ONLY);
    EXPECT_EQ(reader.GetEditMode(), dbEditNone);

    // An edit whose record another recordset deleted meanwhile writes nothing and ends.
    records.MoveFirst();
    records.Edit();
    records.SetFieldValue("NAME", COleVariant("Y"));
    CDaoRecordset other(&db);
    other.Open(dbOpenTable, "PEOPLE");
    other.Delete(); // A, the first one added, as above
    EXPECT_EQ(DaoErrorOf([&] { records.Update(); }), 3167);
    EXPECT_EQ(records.GetEditMode(), dbEditNone);
    EXPECT_EQ(Walk(records, "Name"), (std::vector<std::string>{"B", "C"}));
}

TEST_F(DaoRecordsetTest, DatesAreKeptFromTheYear100ToTheYear9999) {
    CreateTable(db, "DATES", {{"T", dbDate, 8}});
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "DATES");
    const DATE first = -657434.0;                    // 1 January 100, midnight
    const DATE last = 2958465.0 + 86399.0 / 86400.0; // 31 December 9999, 23:59:59
    for (const DATE date : {first, last}) {
        records.AddNew();
        records.SetFieldValue(0, COleVariant(COleDateTime(date)));
        records.Update();
    }
    for (const DATE outside : {first - 1, last + 1.0 / 86400.0}) {
        records.AddNew();
        EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue(0, COleVariant(COleDateTime(outside))); }),
                  DAO_ERROR_CONVERSION)
            << outside;
        records.CancelUpdate();
    }
    records.MoveFirst();
    EXPECT_EQ(records.GetFieldValue(0).date, first);
    records.MoveNext();
    EXPECT_DOUBLE_EQ(records.GetFieldValue(0).date, last);
    EXPECT_EQ(records.GetRecordCount(), 2);
}

TEST_F(DaoRecordsetTest, SeeksAndMovesAreIndexSearches) {
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    for (const char* index : {"K", "KName", "KDown", "Name"}) {
        records.SetCurrentIndex(index);
        for (const char* comparison : {"=", ">=", ">", "<=", "<"}) {
            const std::string plan = records.DescribeNavigationPlan(comparison).str();
            SCOPED_TRACE(std::string(index) + " " + comparison + "\n" + plan);
            EXPECT_NE(plan.find("Seek: SEARCH"), std::string::npos);
            EXPECT_NE(plan.find("MoveNext: SEARCH"), std::string::npos);
            std::size_t lines = 0;
            for (std::size_t at = 0; at < plan.size(); at = plan.find('\n', at) + 1) {
                const std::string line = plan.substr(at, plan.find('\n', at) - at);
                EXPECT_NE(line.find("INDEX"), std::string::npos) << line;
                EXPECT_EQ(line.find("SCAN"), std::string::npos) << line;
                EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
                ++lines;
            }
            EXPECT_GE(lines, 2u);
        }
    }
    // A seek needs the current index and at most as many keys as it has fields.
    COleVariant keys[] = {Long(1), COleVariant("A")};
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", keys, WORD{2}); }), 3001);
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", keys, WORD{0}); }), 3001);
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("~", keys, WORD{1}); }), 3001);
    records.SetCurrentIndex("");
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", keys, WORD{1}); }), DAO_ERROR_NO_CURRENT_INDEX);
    EXPECT_EQ(DaoErrorOf([&] { records.DescribeNavigationPlan(); }), DAO_ERROR_NO_CURRENT_INDEX);
}

// Seeks land where the index order says, with duplicates, a NULL key and a descending index; a
// NULL key written or sought after a real one is not mistaken for it.
TEST_F(DaoRecordsetTest, SeeksFollowTheIndexOrderWithDuplicatesNullsAndDescendingKeys) {
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    const std::pair<int, const char*> people[] = {{10, "a"}, {20, "b1"}, {20, "b2"}, {30, "c"}};
    for (const auto& [key, name] : people) {
        records.AddNew();
        records.SetFieldValue("K", Long(key));
        records.SetFieldValue("NAME", COleVariant(name));
        records.Update();
    }
    records.AddNew();
    records.SetFieldValue("K", Long(5));
    records.SetFieldValue("NAME", COleVariant("n"));
    records.Update();
    records.SetCurrentIndex("Name");
    COleVariant n("n");
    ASSERT_TRUE(records.Seek("=", &n));
    records.Edit();
    records.SetFieldValueNull(1);
    records.Update();

    records.SetCurrentIndex("K"); // NULL sorts first
    COleVariant twenty = Long(20);
    ASSERT_TRUE(records.Seek(">", &twenty));
    EXPECT_EQ(Rest(records), (std::vector<std::string>{"c"}));
    ASSERT_TRUE(records.Seek(">=", &twenty));
    EXPECT_FALSE(records.IsBOF());
    EXPECT_EQ(Rest(records), (std::vector<std::string>{"b1", "b2", "c"}));
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue("NAME"); }), DAO_ERROR_NO_CURRENT_RECORD);
    COleVariant null;
    null.vt = VT_NULL;
    ASSERT_TRUE(records.Seek("=", &null));
    EXPECT_EQ(Name(records), "n");
    records.MovePrev();
    EXPECT_TRUE(records.IsBOF());

    records.SetCurrentIndex("KDown"); // NULL sorts last
    COleVariant between = Long(25);
    ASSERT_TRUE(records.Seek(">=", &between));
    EXPECT_EQ(Rest(records), (std::vector<std::string>{"b1", "b2", "a", "n"}));
}

} // namespace
