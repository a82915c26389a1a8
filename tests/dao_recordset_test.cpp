// Table-type recordsets. Moves, seeks and writes in long random interleavings are checked against
// a model in dao_walk_model_test.cpp; the tests here take what the model leaves out: the order
// without an index, an empty table, refusals, seek keys that convert, the plans and the widening of
// walks, recordsets side by side, SQL and schema changes, counters, the fields a write sets, field
// types, long values and read-only use.
#include "platform/dao/dao.h"
#include "tests/support/people_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

using Names = std::vector<std::string>;

TEST_F(DaoRecordsetTest, UntilAnIndexIsChosenRecordsComeInTheOrderAdded) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    EXPECT_STREQ(records.GetCurrentIndex(), "");
    EXPECT_EQ(Rest(records), (Names{"b1", "a1", "b2", "c1", "a2", "n1", "b3"}));
    records.SetCurrentIndex("KDown");
    EXPECT_STREQ(records.GetCurrentIndex(), "KDown");
}

TEST_F(DaoRecordsetTest, EmptyRecordsetIsBothBofAndEof) {
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    EXPECT_TRUE(records.IsBOF());
    EXPECT_TRUE(records.IsEOF());
    EXPECT_EQ(records.GetRecordCount(), 0);
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue(0); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(DaoErrorOf([&] { records.MoveNext(); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(DaoErrorOf([&] { records.MovePrev(); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(DaoErrorOf([&] { records.Edit(); }), DAO_ERROR_NO_CURRENT_RECORD);
}

TEST_F(DaoRecordsetTest, UnknownNamesSeeksWithoutAnIndexAndClosedRecordsetsAreRefused) {
    AddSample();
    CDaoRecordset records(&db);
    EXPECT_EQ(DaoErrorOf([&] { records.MoveNext(); }), DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(DaoErrorOf([&] { records.Open(dbOpenDynaset, "PEOPLE"); }), 3251);
    records.Open(dbOpenTable, "PEOPLE");
    COleVariant one = Long(1);
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", &one); }), DAO_ERROR_NO_CURRENT_INDEX);
    std::string description;
    EXPECT_EQ(DaoErrorOf([&] { records.SetCurrentIndex("Nope"); }, &description), 3800);
    EXPECT_EQ(description, "'Nope' is not an index in this table.");
    records.SetCurrentIndex("K");
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("~", &one); }), 3001);
    COleVariant two = Long(2);
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", &one, &two); }), 3001); // K has one field
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue("NOPE"); }), DAO_ERROR_ITEM_NOT_FOUND);
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue(17); }), DAO_ERROR_ITEM_NOT_FOUND);
    records.Close();
    EXPECT_FALSE(records.IsOpen());
}

TEST_F(DaoRecordsetTest, SeekKeysConvertToTheKeysTypeAndOneThatCannotMovesNothing) {
    AddSample(); // K order: n1 a1 a2 b1 b2 b3 c1
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K");
    // A key that does not convert is an error, not a miss, and leaves the recordset where it was:
    // on the first record, still owed after the change of index, or where the last seek went.
    COleVariant bad("two");
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", &bad); }), DAO_ERROR_CONVERSION);
    EXPECT_EQ(Name(records), "n1");
    COleVariant text("2");
    ASSERT_TRUE(records.Seek("=", &text));
    EXPECT_EQ(Name(records), "b1");
    EXPECT_EQ(DaoErrorOf([&] { records.Seek("=", &bad); }), DAO_ERROR_CONVERSION);
    EXPECT_EQ(Name(records), "b1");
}

TEST_F(DaoRecordsetTest, SeekAndMoveNextAreIndexSearches) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    EXPECT_THROW(records.DescribeNavigationPlan("="), CDaoException);
    for (const char* index : {"K", "KName", "KDown"}) {
        records.SetCurrentIndex(index);
        for (const char* op : {"=", ">=", ">", "<=", "<"}) {
            SCOPED_TRACE(std::string(index) + " " + op);
            const std::string plan = records.DescribeNavigationPlan(op).str();
            std::istringstream lines(plan);
            int seeks = 0, moves = 0;
            for (std::string line; std::getline(lines, line);) {
                EXPECT_EQ(line.find("SEARCH PEOPLE USING "), line.find(':') + 2) << line;
                EXPECT_NE(line.find("INDEX PEOPLE." + std::string(index) + " ("), std::string::npos)
                    << line;
                EXPECT_EQ(line.find("SCAN"), std::string::npos) << line;
                EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line;
                seeks += line.rfind("Seek:", 0) == 0;
                moves += line.rfind("MoveNext:", 0) == 0;
            }
            EXPECT_GE(seeks, 1);
            EXPECT_GE(moves, 1);
        }
    }
}

TEST_F(DaoRecordsetTest, CounterValuesIncreaseAndAreNeverReused) {
    AddPeople({{1, "a"}, {2, "b"}, {3, "c"}});
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.MoveLast();
    EXPECT_EQ(records.GetFieldValue("ID").lVal, 3);
    records.Delete();
    records.AddNew();
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("ID", Long(9)); }), 3164);
    records.SetFieldValue("NAME", COleVariant("d"));
    records.Update();
    records.SetBookmark(records.GetLastModifiedBookmark());
    EXPECT_EQ(records.GetFieldValue("ID").vt, VT_I4);
    EXPECT_EQ(records.GetFieldValue("ID").lVal, 4);
    EXPECT_EQ(Name(records), "d");

    db.Close();
    db.Open(path.c_str());
    CDaoRecordset reopened(&db);
    reopened.Open(dbOpenTable, "PEOPLE");
    reopened.AddNew();
    reopened.Update();
    reopened.SetBookmark(reopened.GetLastModifiedBookmark());
    EXPECT_EQ(reopened.GetFieldValue("ID").lVal, 5);
}

TEST_F(DaoRecordsetTest, WhatAWalkTakesUpMidwayComesFromTheRecordItStandsOn) {
    // Forty records of one key between two others. The first read of a field, and the first need
    // of the record's identity (a bookmark, an edit), make the walk carry more from there on,
    // wherever in a group of equal keys and however far from its start it stands.
    std::vector<std::pair<std::optional<int>, const char*>> rows{{1, "a"}};
    std::vector<std::string> names(40);
    for (int i = 0; i < 40; ++i) {
        names[std::size_t(i)] = "k" + std::to_string(i);
        rows.push_back({5, names[std::size_t(i)].c_str()});
    }
    rows.push_back({9, "z"});
    AddPeople(rows);
    enum class First { Read, Bookmark, Edit };
    for (First first : {First::Read, First::Bookmark, First::Edit}) {
        for (int moves : {0, 1, 2, 15, 16, 17, 30, 39}) {
            SCOPED_TRACE(std::to_string(int(first)) + " after " + std::to_string(moves));
            CDaoRecordset records(&db);
            records.Open(dbOpenTable, "PEOPLE");
            records.SetCurrentIndex("K");
            COleVariant five = Long(5);
            ASSERT_TRUE(records.Seek(">=", &five));
            for (int i = 0; i < moves; ++i)
                records.MoveNext(); // nothing read on the way
            const std::string here = names[std::size_t(moves)];
            if (first == First::Bookmark) {
                const COleVariant mark = records.GetBookmark();
                records.MoveFirst();
                records.SetBookmark(mark);
            } else if (first == First::Edit) {
                records.Edit();
                records.SetFieldValue("NAME", COleVariant((here + "x").c_str()));
                records.Update();
                names[std::size_t(moves)] = here + "x";
            }
            Names expected(names.begin() + moves, names.end());
            expected.push_back("z");
            EXPECT_EQ(Rest(records), expected);
            ASSERT_TRUE(records.Seek("=", &five)); // the wider walk seeks and walks as before
            EXPECT_EQ(Name(records), names[0]);
            EXPECT_EQ(records.GetFieldValue("ID").lVal, 2);
            records.MoveNext();
            EXPECT_EQ(records.GetFieldValue("ID").lVal, 3);
            EXPECT_EQ(Name(records), names[1]);
        }
    }
}

TEST_F(DaoRecordsetTest, RecordsetsOpenedOneAfterAnotherAndSideBySideWalkAlike) {
    AddSample(); // K order: n1 a1 a2 b1 b2 b3 c1
    // The statements one recordset leaves behind serve the next ones: each walks on its own,
    // with its own keys, also while another walks the same way.
    for (int round = 0; round < 3; ++round) {
        CDaoRecordset first(&db);
        first.Open(dbOpenTable, "PEOPLE");
        first.SetCurrentIndex("K");
        COleVariant two = Long(2);
        ASSERT_TRUE(first.Seek(">=", &two));
        CDaoRecordset second(&db);
        second.Open(dbOpenTable, "PEOPLE");
        second.SetCurrentIndex("K");
        COleVariant one = Long(1);
        ASSERT_TRUE(second.Seek(">=", &one));
        EXPECT_EQ(Name(first), "b1");
        EXPECT_EQ(Rest(second), (Names{"a1", "a2", "b1", "b2", "b3", "c1"}));
        EXPECT_EQ(Rest(first), (Names{"b1", "b2", "b3", "c1"}));
        COleVariant nine = Long(9);
        EXPECT_FALSE(first.Seek("=", &nine));
    }
}

TEST_F(DaoRecordsetTest, StatementsAndSchemaChangesLetGoOfWalksWhichGoOnAfterwards) {
    AddSample(); // K order: n1 a1 a2 b1 b2 b3 c1
    CDaoRecordset walker(&db);
    walker.Open(dbOpenTable, "PEOPLE");
    walker.SetCurrentIndex("K");
    COleVariant two = Long(2);
    ASSERT_TRUE(walker.Seek("=", &two));
    db.Execute("CREATE TABLE SIDE (A LONG)");
    db.DeleteTableDef("SIDE"); // the engine drops no table while a statement reads
    EXPECT_EQ(Rest(walker), (Names{"b1", "b2", "b3", "c1"}));
}

TEST_F(DaoRecordsetTest, EachWriteChangesJustTheFieldsItWasGiven) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("Name");
    auto set = [&](std::optional<int> k, const char* name) {
        if (k)
            records.SetFieldValue("K", Long(*k));
        if (name)
            records.SetFieldValue("NAME", COleVariant(name));
        records.Update();
    };
    auto edit = [&](const char* name, std::optional<int> k, const char* newName) {
        COleVariant key(name);
        ASSERT_TRUE(records.Seek("=", &key)) << name;
        records.Edit();
        set(k, newName);
    };
    edit("a1", 7, nullptr);
    edit("a2", std::nullopt, "a9");
    edit("b1", 8, "b8");
    edit("b2", std::nullopt, nullptr);
    edit("b3", 9, nullptr);
    records.AddNew(); // a new record's fields are null until set, whatever record is current
    EXPECT_EQ(records.GetEditMode(), dbEditAdd);
    EXPECT_EQ(records.GetFieldValue("NAME").vt, VT_NULL);
    set(std::nullopt, "x1");
    EXPECT_EQ(records.GetEditMode(), dbEditNone);
    records.AddNew();
    set(4, nullptr);
    records.AddNew();
    set(5, "x2");

    std::vector<std::string> rows;
    records.SetCurrentIndex("K");
    for (; !records.IsEOF(); records.MoveNext()) {
        const COleVariant k = records.GetFieldValue("K");
        const COleVariant name = records.GetFieldValue("NAME");
        rows.push_back((k.vt == VT_NULL ? std::string("-") : std::to_string(k.lVal)) + " " +
                       (name.vt == VT_NULL ? std::string("-") : name.strVal.str()));
    }
    EXPECT_EQ(rows, (Names{"- n1", "- x1", "1 a9", "2 b2", "3 c1", "4 -", "5 x2", "7 a1", "8 b8",
                           "9 b3"}));
}

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
                              "2024-03-15X13:45",
                              "2024-03-15 13:45:30Z",
                              "2024/03/15",
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

TEST_F(DaoRecordsetTest, RealsBeyondAFieldsRangeReadAsTheEngineHoldsThem) {
    CreateTable(db, "WIDE_REALS",
                {{"CY", dbCurrency, 8}, {"F", dbSingle, 4}, {"LB", dbLongBinary, 0}});
    db.Execute("INSERT INTO WIDE_REALS VALUES (1e300, 1e300, 1e300), (-1e300, -1e300, -1e300), "
               "(-2.5, 1e20, -2.5)");
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "WIDE_REALS");
    const auto bytes = [&] {
        const COleVariant read = records.GetFieldValue(2);
        return std::string(read.byteVal.begin(), read.byteVal.end());
    };
    // Whole numbers are held to 64 bits, singles go to infinity, bytes keep the number's text.
    EXPECT_EQ(records.GetFieldValue(0).cyVal.int64, INT64_MAX);
    EXPECT_EQ(records.GetFieldValue(1).fltVal, std::numeric_limits<float>::infinity());
    EXPECT_EQ(bytes(), "1.0000000000000001e+300");
    records.MoveNext();
    EXPECT_EQ(records.GetFieldValue(0).cyVal.int64, INT64_MIN);
    EXPECT_EQ(records.GetFieldValue(1).fltVal, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(bytes(), "-1.0000000000000001e+300");
    records.MoveNext();
    EXPECT_EQ(records.GetFieldValue(0).cyVal.int64, -2);
    EXPECT_EQ(records.GetFieldValue(1).fltVal, 1e20f);
    EXPECT_EQ(bytes(), "-2.5");
}

TEST_F(DaoRecordsetTest, ShortcutReadsAgreeWithTheVariantOrDecline) {
    CreateTable(db, "SMALL_TYPES",
                {{"B", dbBoolean, 1},
                 {"Y", dbByte, 1},
                 {"S", dbInteger, 2},
                 {"L", dbLong, 4},
                 {"D", dbDouble, 8},
                 {"TXT", dbText, 20},
                 {"M", dbMemo, 0}});
    db.Execute("INSERT INTO SMALL_TYPES VALUES (7, 200, -1234, -70000, 2.5, 'Größe', 'lang')");
    db.Execute("INSERT INTO SMALL_TYPES VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "SMALL_TYPES");
    std::int32_t number = 99;
    CString text("unberührt");
    // A field the walk does not carry yet is declined; once read it is carried.
    EXPECT_FALSE(records.ReadFieldInteger(3, number));
    EXPECT_EQ(number, 99);
    for (short i = 0; i < records.GetFieldCount(); ++i)
        records.GetFieldValue(i);
    const std::int32_t expected[] = {VARIANT_TRUE, 200, -1234, -70000};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(records.ReadFieldInteger(i, number)) << i;
        EXPECT_EQ(number, expected[i]) << i;
        EXPECT_FALSE(records.ReadFieldText(i, text)) << i;
    }
    EXPECT_FALSE(records.ReadFieldInteger(4, number)); // a fraction is no whole number
    ASSERT_TRUE(records.ReadFieldText(5, text));
    EXPECT_STREQ(text, "Größe");
    EXPECT_FALSE(records.ReadFieldText(6, text)); // long values stay out of the walk
    EXPECT_STREQ(text, "Größe");
    EXPECT_FALSE(records.ReadFieldInteger(5, number));
    EXPECT_FALSE(records.ReadFieldInteger(7, number)); // no such field
    EXPECT_FALSE(records.ReadFieldInteger(-1, number));

    // A pending edit is read from its buffer: the shortcut leaves that to GetFieldValue.
    records.Edit();
    records.SetFieldValue(3, Long(5));
    EXPECT_FALSE(records.ReadFieldInteger(3, number));
    EXPECT_EQ(records.GetFieldValue(3).lVal, 5);
    records.Update();
    // After a write the walk has to find its record again, which only GetFieldValue does.
    EXPECT_FALSE(records.ReadFieldInteger(3, number));
    EXPECT_EQ(records.GetFieldValue(3).lVal, 5);
    ASSERT_TRUE(records.ReadFieldInteger(3, number));
    EXPECT_EQ(number, 5);

    records.MoveNext(); // all null
    number = 99;
    text = "unberührt";
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(records.ReadFieldInteger(i, number)) << i;
        EXPECT_FALSE(records.ReadFieldText(i, text)) << i;
    }
    EXPECT_EQ(number, 99);
    EXPECT_STREQ(text, "unberührt");
    records.MoveNext(); // past the end
    EXPECT_FALSE(records.ReadFieldInteger(3, number));
    records.Close();
    EXPECT_FALSE(records.ReadFieldInteger(3, number));
}

TEST_F(DaoRecordsetTest, ConversionFailuresLeaveTheRecordAsItWas) {
    AddPeople({{7, "seven"}});
    CDaoTableDef table(&db);
    table.Open("PEOPLE");
    table.CreateField("SMALL", dbByte, 1);
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.Edit();
    std::string description;
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("NAME", COleVariant("far too long")); },
                         &description),
              DAO_ERROR_FIELD_TOO_SMALL);
    EXPECT_EQ(description, "The field is too small to accept the amount of data you attempted "
                           "to add. Try inserting or pasting less data.");
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("K", COleVariant("seven")); }, &description),
              DAO_ERROR_CONVERSION);
    EXPECT_EQ(description, "Data type conversion error.");
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("SMALL", Long(300)); }), DAO_ERROR_CONVERSION);
    EXPECT_EQ(DaoErrorOf([&] { records.SetFieldValue("SMALL", Long(-1)); }), DAO_ERROR_CONVERSION);
    // Bytes that are no UTF-8 are a character each, as they show: eleven euro signs are too many.
    EXPECT_EQ(DaoErrorOf([&] {
                  records.SetFieldValue("NAME", COleVariant(std::string(11, '\x80').c_str()));
              }),
              DAO_ERROR_FIELD_TOO_SMALL);
    records.SetFieldValue("NAME", COleVariant("Gr\xF6\xDF"
                                              "e \xE4\xF6\xFC\xDF")); // ten characters
    records.SetFieldValue("NAME", COleVariant("zehnzeichn"));
    records.Update();
    EXPECT_EQ(records.GetFieldValue("K").lVal, 7);
    EXPECT_EQ(records.GetFieldValue("SMALL").vt, VT_NULL);
    EXPECT_STREQ(records.GetFieldValue("NAME").strVal, "zehnzeichn");
}

TEST_F(DaoRecordsetTest, LargeBlobsRoundTripAndFollowTheCurrentRecord) {
    std::vector<BYTE> photo(3 * 1024 * 1024 / 2);
    for (std::size_t i = 0; i < photo.size(); ++i)
        photo[i] = static_cast<BYTE>(i * 7 + i / 251);
    const std::vector<BYTE> thumbnail{1, 2, 3};
    AddPeople({{2, "large"}, {1, "small"}, {3, "none"}});
    {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "PEOPLE");
        records.Edit();
        records.SetFieldValue("PHOTO", COleVariant(photo));
        EXPECT_EQ(records.GetFieldValue("PHOTO").byteVal.size(), photo.size());
        records.Update();
        records.MoveNext();
        records.Edit();
        records.SetFieldValue("PHOTO", COleVariant(thumbnail));
        records.Update();
    }
    db.Close();
    db.Open(path.c_str(), FALSE, TRUE);
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K");
    // Long values are read by record as asked for, whichever way the walk went.
    EXPECT_TRUE(records.GetFieldValue("PHOTO").byteVal == thumbnail);
    records.MoveNext();
    const COleVariant read = records.GetFieldValue("PHOTO");
    EXPECT_EQ(read.vt, VT_ARRAY | VT_UI1);
    EXPECT_TRUE(read.byteVal == photo);
    records.MoveNext();
    EXPECT_EQ(records.GetFieldValue("PHOTO").vt, VT_NULL);
    records.MovePrev();
    records.MovePrev();
    EXPECT_TRUE(records.GetFieldValue("PHOTO").byteVal == thumbnail);
}

TEST_F(DaoRecordsetTest, ReadOnlyRecordsetsAndDatabasesWriteNothing) {
    AddSample();
    db.Close();
    const std::string before = FileBytes(path);
    auto refusals = [](CDaoRecordset& records) {
        EXPECT_FALSE(records.CanUpdate());
        EXPECT_EQ(DaoErrorOf([&] { records.Edit(); }), DAO_ERROR_READ_ONLY);
        EXPECT_EQ(DaoErrorOf([&] { records.AddNew(); }), DAO_ERROR_READ_ONLY);
        EXPECT_EQ(DaoErrorOf([&] { records.Delete(); }), DAO_ERROR_READ_ONLY);
        EXPECT_EQ(DaoErrorOf([&] { records.Update(); }), DAO_ERROR_UPDATE_WITHOUT_EDIT);
        EXPECT_EQ(DaoErrorOf([&] { records.CancelUpdate(); }), DAO_ERROR_UPDATE_WITHOUT_EDIT);
        EXPECT_EQ(records.GetEditMode(), dbEditNone);
    };
    {
        db.Open(path.c_str());
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "PEOPLE", dbReadOnly);
        refusals(records);
        db.Close();
    }
    {
        db.Open(path.c_str(), FALSE, TRUE);
        EXPECT_FALSE(db.CanUpdate());
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "PEOPLE");
        refusals(records);
        CDaoTableDef table(&db);
        table.Open("PEOPLE");
        EXPECT_EQ(DaoErrorOf([&] { table.CreateField("X", dbLong, 4); }), DAO_ERROR_READ_ONLY);
        EXPECT_EQ(DaoErrorOf([&] { db.DeleteTableDef("PEOPLE"); }), DAO_ERROR_READ_ONLY);
        std::string description;
        DaoErrorOf([&] { db.Execute("DELETE FROM PEOPLE"); }, &description);
        EXPECT_EQ(description, "attempt to write a readonly database");
        db.Close();
    }
    EXPECT_TRUE(FileBytes(path) == before);
}

} // namespace
