// Table-type recordsets: walking indexes, seeking, editing, and what is refused.
#include "platform/dao/dao.h"
#include "tests/support/people_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

long DaoErrorOf(const std::function<void()>& action, std::string* description = nullptr) {
    try {
        action();
    } catch (const CDaoException& error) {
        if (description)
            *description = error.m_pErrorInfo->m_strDescription.str();
        return error.GetErrorCode();
    }
    ADD_FAILURE() << "no CDaoException";
    return 0;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct FieldSpec {
    const char* name;
    short type;
    long size;
};

void CreateTable(CDaoDatabase& db, const char* name, std::initializer_list<FieldSpec> fields) {
    CDaoTableDef table(&db);
    table.Create(name);
    for (const FieldSpec& field : fields)
        table.CreateField(field.name, field.type, field.size);
    table.Append();
}

using DaoRecordsetTest = PeopleTableTest;

using Names = std::vector<std::string>;

TEST_F(DaoRecordsetTest, WalksInKeyOrderWithDuplicatesInTheOrderAdded) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    // No index: the order records were added in.
    EXPECT_EQ(Rest(records), (Names{"b1", "a1", "b2", "c1", "a2", "n1", "b3"}));
    EXPECT_EQ(Walk(records, "K"), (Names{"n1", "a1", "a2", "b1", "b2", "b3", "c1"}));
    EXPECT_EQ(Walk(records, "KDown"), (Names{"c1", "b1", "b2", "b3", "a1", "a2", "n1"}));
    EXPECT_EQ(Walk(records, "Name"), (Names{"a1", "a2", "b1", "b2", "b3", "c1", "n1"}));
    EXPECT_STREQ(records.GetCurrentIndex(), "Name");

    records.MoveLast();
    EXPECT_EQ(Name(records), "n1");
    records.MovePrev();
    EXPECT_EQ(Name(records), "c1");
    records.SetCurrentIndex("KDown");
    records.MoveNext();
    records.MovePrev();
    EXPECT_EQ(Name(records), "c1");
    records.MovePrev();
    EXPECT_TRUE(records.IsBOF());
    EXPECT_FALSE(records.IsEOF());
    records.MoveNext();
    EXPECT_EQ(Name(records), "c1");
}

TEST_F(DaoRecordsetTest, EmptyRecordsetIsBothBofAndEof) {
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    EXPECT_TRUE(records.IsBOF());
    EXPECT_TRUE(records.IsEOF());
    EXPECT_EQ(records.GetRecordCount(), 0);
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue(0); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(DaoErrorOf([&] { records.MoveNext(); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(DaoErrorOf([&] { records.Edit(); }), DAO_ERROR_NO_CURRENT_RECORD);
}

TEST_F(DaoRecordsetTest, AnUpdateMovesTheRecordAndTheWalkFollowsIt) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K");
    COleVariant two = Long(2);
    ASSERT_TRUE(records.Seek("=", &two));
    records.MoveNext();
    ASSERT_EQ(Name(records), "b2");
    records.Edit();
    records.SetFieldValue("K", Long(0));
    EXPECT_EQ(records.GetFieldValue("K").lVal, 0); // the edit buffer while pending
    records.Update();
    // Still on b2, now between n1 and the ones: the walk goes on from its new place.
    EXPECT_EQ(Rest(records), (Names{"b2", "a1", "a2", "b1", "b3", "c1"}));
    EXPECT_EQ(Walk(records, "K"), (Names{"n1", "b2", "a1", "a2", "b1", "b3", "c1"}));
}

TEST_F(DaoRecordsetTest, DeleteLeavesNoCurrentRecordUntilTheNextMove) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K");
    COleVariant one = Long(1);
    ASSERT_TRUE(records.Seek("=", &one));
    records.Delete();
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue("NAME"); }), 3167);
    EXPECT_THROW(records.Delete(), CDaoException);
    records.MoveNext();
    EXPECT_EQ(Name(records), "a2");
    records.MoveNext();
    records.Delete(); // b1
    records.MovePrev();
    EXPECT_EQ(Name(records), "a2");
    COleVariant three = Long(3);
    ASSERT_TRUE(records.Seek("=", &three));
    records.Delete(); // the last one
    records.MoveNext();
    EXPECT_TRUE(records.IsEOF());
    EXPECT_EQ(Walk(records, "K"), (Names{"n1", "a2", "b2", "b3"}));
    EXPECT_EQ(records.GetRecordCount(), 4);
}

TEST_F(DaoRecordsetTest, SeekFindsEachComparisonOnAnIndexWithDuplicates) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    EXPECT_EQ(DaoErrorOf([&] {
                  COleVariant key = Long(1);
                  records.Seek("=", &key);
              }),
              DAO_ERROR_NO_CURRENT_INDEX);
    records.SetCurrentIndex("K");
    auto seek = [&](const char* op, int key) -> std::string {
        COleVariant value = Long(key);
        return records.Seek(op, &value) ? Name(records) : "<none>";
    };
    EXPECT_EQ(seek("=", 2), "b1");
    EXPECT_EQ(Rest(records), (Names{"b1", "b2", "b3", "c1"}));
    EXPECT_EQ(seek("=", 5), "<none>");
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue("NAME"); }), DAO_ERROR_NO_CURRENT_RECORD);
    EXPECT_EQ(seek(">=", 2), "b1");
    EXPECT_EQ(seek(">=", 4), "<none>");
    EXPECT_EQ(seek(">", 1), "b1");
    EXPECT_EQ(seek(">", 3), "<none>");
    EXPECT_EQ(seek("<=", 2), "b3");
    EXPECT_EQ(Rest(records), (Names{"b3", "c1"}));
    EXPECT_EQ(seek("<=", 0), "n1"); // nulls sort first
    EXPECT_EQ(seek("<", 2), "a2");
    EXPECT_EQ(seek("<", 1), "n1");
    EXPECT_EQ(DaoErrorOf([&] { seek("~", 1); }), 3001);

    // A walk from a seek runs on past the key's own entries; a key between groups matches none.
    EXPECT_EQ(seek(">=", 1), "a1");
    EXPECT_EQ(Rest(records), (Names{"a1", "a2", "b1", "b2", "b3", "c1"}));
    EXPECT_EQ(seek("=", 0), "<none>");
    COleVariant null;
    null.vt = VT_NULL;
    ASSERT_TRUE(records.Seek("=", &null));
    EXPECT_EQ(Rest(records), (Names{"n1", "a1", "a2", "b1", "b2", "b3", "c1"}));

    // Descending: the comparison follows the index order.
    records.SetCurrentIndex("KDown");
    EXPECT_EQ(seek("=", 2), "b1");
    EXPECT_EQ(Rest(records), (Names{"b1", "b2", "b3", "a1", "a2", "n1"}));
    EXPECT_EQ(seek(">", 2), "a1");
    EXPECT_EQ(seek("<", 2), "c1");
    EXPECT_EQ(seek(">=", 0), "n1");
    EXPECT_EQ(seek("<=", 3), "c1");
    EXPECT_EQ(seek("=", 4), "<none>");
    EXPECT_EQ(seek("=", 0), "<none>");
    ASSERT_TRUE(records.Seek("=", &null));
    EXPECT_EQ(Rest(records), (Names{"n1"}));
}

TEST_F(DaoRecordsetTest, SeeksOneAfterAnotherFindWhatASeekFromNowhereFinds) {
    AddPeople({{1, "a1"}, {2, "b1"}, {4, "d1"}, {2, "b2"}, {5, "e1"}, {{}, "n1"}, {7, "g1"}});
    CDaoRecordset walker(&db);
    walker.Open(dbOpenTable, "PEOPLE");
    walker.SetCurrentIndex("K");
    // Runs upwards with gaps and repeats, steps back down, and past the last key.
    const int keys[] = {1, 2, 2, 3, 4, 5, 7, 1, 4, 6, 7, 8, 0, 1, 2, 5};
    for (int key : keys) {
        SCOPED_TRACE(key);
        COleVariant value = Long(key);
        CDaoRecordset fresh(&db);
        fresh.Open(dbOpenTable, "PEOPLE");
        fresh.SetCurrentIndex("K");
        const BOOL expected = fresh.Seek("=", &value);
        ASSERT_EQ(walker.Seek("=", &value), expected);
        if (expected) {
            EXPECT_EQ(Name(walker), Name(fresh));
        }
        if (key == 4) { // and the walk goes on from there as it would
            EXPECT_EQ(Rest(walker), Rest(fresh));
            ASSERT_TRUE(walker.Seek("=", &value));
        }
    }
    // Far ahead (more entries between than a few steps cover), just ahead, and past the end.
    std::vector<std::pair<std::optional<int>, const char*>> run;
    std::vector<std::string> names;
    for (int k = 10; k < 40; ++k)
        names.push_back("r" + std::to_string(k));
    for (int k = 10; k < 40; ++k)
        run.push_back({k, names[std::size_t(k - 10)].c_str()});
    AddPeople(run);
    for (int key : {10, 35, 36, 38, 39, 41, 12, 21, 22, 30}) {
        SCOPED_TRACE(key);
        COleVariant value = Long(key);
        const bool expected = key >= 10 && key < 40;
        ASSERT_EQ(walker.Seek("=", &value), expected ? TRUE : FALSE);
        if (expected) {
            EXPECT_EQ(Name(walker), "r" + std::to_string(key));
        }
    }
    // Far apart one after another, long enough for stepping to be given up and tried again now
    // and then; then neighbours again, with a miss between: each seek finds just its own record.
    std::vector<std::string> spreadNames;
    for (int k = 100; k < 400; ++k)
        spreadNames.push_back("s" + std::to_string(k));
    std::vector<std::pair<std::optional<int>, const char*>> spread;
    for (int k = 100; k < 400; ++k)
        spread.push_back({k, spreadNames[std::size_t(k - 100)].c_str()});
    AddPeople(spread);
    std::vector<int> sought;
    for (int k = 100; k < 300; k += 10)
        sought.push_back(k);
    for (int k = 300; k < 400; ++k)
        sought.push_back(k == 350 ? 1000 : k);
    for (int key : sought) {
        SCOPED_TRACE(key);
        COleVariant value = Long(key);
        ASSERT_EQ(walker.Seek("=", &value), key < 400 ? TRUE : FALSE);
        if (key < 400) {
            EXPECT_EQ(Name(walker), "s" + std::to_string(key));
        }
    }
    // A record written elsewhere between two seeks is seen by the next one.
    COleVariant one = Long(1), three = Long(3);
    ASSERT_TRUE(walker.Seek("=", &one));
    AddPeople({{3, "c1"}});
    ASSERT_TRUE(walker.Seek("=", &three));
    EXPECT_EQ(Name(walker), "c1");
}

TEST_F(DaoRecordsetTest, SeekOnSeveralKeysAndOnAPrefix) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("KName");
    COleVariant k = Long(2);
    COleVariant name("b2");
    ASSERT_TRUE(records.Seek("=", &k, &name));
    EXPECT_EQ(Rest(records), (Names{"b2", "b3", "c1"}));
    ASSERT_TRUE(records.Seek("=", &k));
    EXPECT_EQ(Name(records), "b1");
    ASSERT_TRUE(records.Seek(">", &k));
    EXPECT_EQ(Name(records), "c1");
    COleVariant b1("b1");
    ASSERT_TRUE(records.Seek("<", &k, &b1));
    EXPECT_EQ(Name(records), "a2");
    COleVariant zz("zz");
    ASSERT_TRUE(records.Seek("<=", &k, &zz));
    EXPECT_EQ(Name(records), "b3");
    EXPECT_FALSE(records.Seek("=", &k, &zz));
    COleVariant b25("b25"); // between two names of one group
    EXPECT_FALSE(records.Seek("=", &k, &b25));
    ASSERT_TRUE(records.Seek(">=", &k, &b25));
    EXPECT_EQ(Rest(records), (Names{"b3", "c1"}));
    // The key converts to the column's type; one that cannot is an error, not a miss.
    COleVariant text("2");
    ASSERT_TRUE(records.Seek("=", &text));
    EXPECT_EQ(Name(records), "b1");
    COleVariant bad("two");
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

TEST_F(DaoRecordsetTest, AddNewLeavesTheCurrentRecordWhereItWas) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K");
    COleVariant two = Long(2);
    ASSERT_TRUE(records.Seek("=", &two));
    const COleVariant bookmark = records.GetBookmark();
    records.AddNew();
    EXPECT_EQ(records.GetFieldValue("NAME").vt, VT_NULL);
    records.SetFieldValue("K", Long(2));
    records.SetFieldValue("NAME", COleVariant("b0"));
    EXPECT_EQ(records.GetEditMode(), dbEditAdd);
    records.Update();
    EXPECT_EQ(records.GetEditMode(), dbEditNone);
    EXPECT_EQ(Name(records), "b1");
    EXPECT_TRUE(records.GetBookmark() == bookmark);
    EXPECT_EQ(Rest(records), (Names{"b1", "b2", "b3", "b0", "c1"}));
    EXPECT_EQ(DaoErrorOf([&] { records.Update(); }), DAO_ERROR_UPDATE_WITHOUT_EDIT);
    records.SetBookmark(bookmark);
    EXPECT_EQ(Name(records), "b1");
}

TEST_F(DaoRecordsetTest, MovesWithoutReadsStillKnowTheirRecord) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("K"); // n1 a1 a2 b1 b2 b3 c1
    records.MoveNext();
    records.MoveNext();
    const COleVariant a2 = records.GetBookmark(); // nothing read on the way
    records.MoveNext();
    records.MovePrev();
    EXPECT_TRUE(records.GetBookmark() == a2);
    records.MoveNext();
    records.MoveNext(); // b2, moved to and deleted without a read
    records.Delete();
    AddPeople({{0, "z0"}}); // a write elsewhere makes the walk find its place again
    records.MoveNext();
    EXPECT_EQ(Name(records), "b3");
    records.SetBookmark(a2);
    EXPECT_EQ(Name(records), "a2");
    EXPECT_EQ(Walk(records, "K"), (Names{"n1", "z0", "a1", "a2", "b1", "b3", "c1"}));
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

TEST_F(DaoRecordsetTest, AfterOpenOrAChangeOfIndexTheCurrentRecordIsTheFirstOneThen) {
    AddSample(); // K order: n1 a1 a2 b1 b2 b3 c1
    // Records written before anything looked at the recordset come after its first record: through
    // another recordset, through SQL, or through the recordset itself.
    CDaoRecordset opened(&db);
    opened.Open(dbOpenTable, "PEOPLE");
    CDaoRecordset indexed(&db);
    indexed.Open(dbOpenTable, "PEOPLE");
    indexed.MoveLast();
    indexed.SetCurrentIndex("Name");
    CDaoRecordset self(&db);
    self.Open(dbOpenTable, "PEOPLE");
    self.SetCurrentIndex("Name");
    AddPeople({{0, "0a"}}); // first by name
    db.Execute("DELETE FROM PEOPLE WHERE NAME = 'b1'");
    self.AddNew();
    self.SetFieldValue("K", Long(-1));
    self.SetFieldValue("NAME", COleVariant("00"));
    self.Update();
    EXPECT_EQ(DaoErrorOf([&] { opened.GetFieldValue("NAME"); }), 3167) << "b1 was deleted";
    opened.MoveNext();
    EXPECT_EQ(Name(opened), "a1");
    EXPECT_EQ(Rest(indexed), (Names{"a1", "a2", "b2", "b3", "c1", "n1"}));
    EXPECT_EQ(Name(self), "a1");
    EXPECT_EQ(Rest(self), (Names{"a1", "a2", "b2", "b3", "c1", "n1"}));

    // Nothing positions a recordset that is searched at once, and a search that fails to convert
    // its key leaves the first record owed.
    CDaoRecordset searched(&db);
    searched.Open(dbOpenTable, "PEOPLE");
    searched.SetCurrentIndex("K");
    COleVariant bad("zwei");
    EXPECT_EQ(DaoErrorOf([&] { searched.Seek("=", &bad); }), DAO_ERROR_CONVERSION);
    EXPECT_EQ(Name(searched), "n1");
    COleVariant three = Long(3);
    ASSERT_TRUE(searched.Seek("=", &three));
    EXPECT_EQ(Name(searched), "c1");
    EXPECT_FALSE(searched.IsBOF());
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
    // And after the table changed shape.
    db.Execute("ALTER TABLE PEOPLE ADD COLUMN NOTE TEXT(5)");
    db.Execute("UPDATE PEOPLE SET NOTE = 'x' || NAME");
    CDaoRecordset after(&db);
    after.Open(dbOpenTable, "PEOPLE");
    after.SetCurrentIndex("K");
    COleVariant three = Long(3);
    ASSERT_TRUE(after.Seek("=", &three));
    EXPECT_STREQ(after.GetFieldValue("NOTE").strVal, "xc1");
}

TEST_F(DaoRecordsetTest, EachWriteChangesJustTheFieldsItWasGiven) {
    AddSample();
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "PEOPLE");
    records.SetCurrentIndex("Name");
    auto edit = [&](const char* name, std::optional<int> k, const char* newName) {
        COleVariant key(name);
        ASSERT_TRUE(records.Seek("=", &key)) << name;
        records.Edit();
        if (k)
            records.SetFieldValue("K", Long(*k));
        if (newName)
            records.SetFieldValue("NAME", COleVariant(newName));
        records.Update();
    };
    edit("a1", 7, nullptr);
    edit("a2", std::nullopt, "a9");
    edit("b1", 8, "b8");
    edit("b2", std::nullopt, nullptr);
    edit("b3", 9, nullptr);
    records.AddNew();
    records.SetFieldValue("NAME", COleVariant("x1"));
    records.Update();
    records.AddNew();
    records.SetFieldValue("K", Long(4));
    records.Update();
    records.AddNew();
    records.SetFieldValue("NAME", COleVariant("x2"));
    records.SetFieldValue("K", Long(5));
    records.Update();

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

TEST_F(DaoRecordsetTest, AWalkSurvivesWritesThroughAnotherRecordset) {
    AddSample();
    CDaoRecordset walker(&db);
    walker.Open(dbOpenTable, "PEOPLE");
    walker.SetCurrentIndex("K");
    COleVariant two = Long(2);
    ASSERT_TRUE(walker.Seek("=", &two)); // b1

    CDaoRecordset writer(&db);
    writer.Open(dbOpenTable, "PEOPLE");
    writer.SetCurrentIndex("Name");
    COleVariant b2("b2");
    ASSERT_TRUE(writer.Seek("=", &b2));
    writer.Delete();
    writer.AddNew();
    writer.SetFieldValue("K", Long(2));
    writer.SetFieldValue("NAME", COleVariant("b4"));
    writer.Update();
    writer.AddNew(); // before the walker: never seen
    writer.SetFieldValue("K", Long(1));
    writer.SetFieldValue("NAME", COleVariant("a3"));
    writer.Update();

    EXPECT_EQ(Name(walker), "b1");
    walker.MoveNext();
    EXPECT_EQ(Name(walker), "b3");

    // The walker's own record deleted behind it: it goes on after it.
    COleVariant b3("b3");
    ASSERT_TRUE(writer.Seek("=", &b3));
    writer.Delete();
    EXPECT_EQ(DaoErrorOf([&] { walker.GetFieldValue("NAME"); }), 3167);
    walker.MoveNext();
    EXPECT_EQ(Rest(walker), (Names{"b4", "c1"}));

    // Execute and schema changes let go of every walk too.
    ASSERT_TRUE(walker.Seek("=", &two));
    db.Execute("CREATE TABLE SIDE (A LONG)");
    db.DeleteTableDef("SIDE");
    EXPECT_EQ(Rest(walker), (Names{"b1", "b4", "c1"}));
}

TEST_F(DaoRecordsetTest, RestartsFindTheirPlaceAmongNullKeysAndDescendingOrder) {
    AddSample();
    CDaoRecordset walker(&db);
    walker.Open(dbOpenTable, "PEOPLE");
    walker.SetCurrentIndex("K");
    ASSERT_EQ(Name(walker), "n1");
    CDaoRecordset writer(&db);
    writer.Open(dbOpenTable, "PEOPLE");
    writer.SetCurrentIndex("Name");
    writer.AddNew();
    writer.SetFieldValue("NAME", COleVariant("n2"));
    writer.Update();
    COleVariant a1("a1");
    ASSERT_TRUE(writer.Seek("=", &a1));
    writer.Delete();
    EXPECT_EQ(Rest(walker), (Names{"n1", "n2", "a2", "b1", "b2", "b3", "c1"}));

    // Nulls come last going down; deleting the walker's record keeps its place.
    walker.SetCurrentIndex("KDown");
    COleVariant one = Long(1);
    ASSERT_TRUE(walker.Seek("=", &one));
    EXPECT_EQ(Name(walker), "a2");
    COleVariant a2("a2");
    ASSERT_TRUE(writer.Seek("=", &a2));
    writer.Delete();
    walker.MoveNext();
    EXPECT_EQ(Rest(walker), (Names{"n1", "n2"}));
    walker.MovePrev();
    EXPECT_EQ(Name(walker), "n2");
    walker.MovePrev();
    walker.MovePrev();
    EXPECT_EQ(Name(walker), "b3");
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
    money.int64 = 123456789;                       // 12345.6789
    const DATE when = 45366.0 + 49530.0 / 86400.0; // 2024-03-15 13:45:30
    const DATE early = -18109.25;                  // 1850-06-01 06:00:00
    {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "TYPES");
        for (const COleVariant& date :
             {COleVariant(COleDateTime(when)), COleVariant(COleDateTime(early))}) {
            records.AddNew();
            records.SetFieldValue(0, COleVariant(std::int16_t{-1}, VT_BOOL));
            records.SetFieldValue(1, COleVariant(BYTE{200}));
            records.SetFieldValue(2, COleVariant(std::int16_t{-1234}));
            records.SetFieldValue(3, Long(-70000));
            records.SetFieldValue(4, COleVariant(COleCurrency(money)));
            records.SetFieldValue(5, COleVariant(1.5f));
            records.SetFieldValue(6, COleVariant(2.25));
            records.SetFieldValue(7, date);
            records.SetFieldValue(8, COleVariant(bytes));
            records.SetFieldValue(9, COleVariant("Größe"));
            records.SetFieldValue(10, COleVariant(bytes));
            records.SetFieldValue(11, COleVariant("0123")); // must stay text
            records.Update();
        }
        records.AddNew(); // all null
        records.Update();
    }
    db.Close();
    db.Open(path.c_str());
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "TYPES");
    COleVariant v = records.GetFieldValue(0);
    EXPECT_EQ(v.vt, VT_BOOL);
    EXPECT_EQ(v.boolVal, VARIANT_TRUE);
    v = records.GetFieldValue(1);
    EXPECT_EQ(v.vt, VT_UI1);
    EXPECT_EQ(v.bVal, 200);
    v = records.GetFieldValue(2);
    EXPECT_EQ(v.vt, VT_I2);
    EXPECT_EQ(v.iVal, -1234);
    v = records.GetFieldValue(3);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, -70000);
    v = records.GetFieldValue(4);
    EXPECT_EQ(v.vt, VT_CY);
    EXPECT_EQ(v.cyVal.int64, 123456789);
    v = records.GetFieldValue(5);
    EXPECT_EQ(v.vt, VT_R4);
    EXPECT_EQ(v.fltVal, 1.5f);
    v = records.GetFieldValue(6);
    EXPECT_EQ(v.vt, VT_R8);
    EXPECT_EQ(v.dblVal, 2.25);
    v = records.GetFieldValue(7);
    EXPECT_EQ(v.vt, VT_DATE);
    EXPECT_NEAR(v.date, when, 0.5 / 86400);
    v = records.GetFieldValue(8);
    EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
    EXPECT_EQ(v.byteVal, bytes);
    v = records.GetFieldValue(9);
    EXPECT_EQ(v.vt, VT_BSTR);
    EXPECT_STREQ(v.strVal, "Größe");
    EXPECT_EQ(records.GetFieldValue(10).byteVal, bytes);
    EXPECT_STREQ(records.GetFieldValue(11).strVal, "0123");
    records.MoveNext();
    EXPECT_NEAR(records.GetFieldValue(7).date, early, 0.5 / 86400);
    records.MoveNext();
    for (short i = 0; i < records.GetFieldCount(); ++i)
        EXPECT_EQ(records.GetFieldValue(i).vt, VT_NULL) << i;
}

TEST_F(DaoRecordsetTest, ValuesOtherProgramsWroteReadByTheFieldsType) {
    CreateTable(db, "FOREIGN_ROWS",
                {{"T", dbDate, 8}, {"TXT", dbText, 40}, {"LB", dbLongBinary, 0}});
    db.Execute("INSERT INTO FOREIGN_ROWS (T, TXT, LB) VALUES ('2024-03-15 13:45:30', x'4869', "
               "'Text')");
    db.Execute("INSERT INTO FOREIGN_ROWS (T, TXT, LB) VALUES ('gestern', 42, 42)");
    db.Execute("INSERT INTO FOREIGN_ROWS (T, TXT, LB) VALUES (45366.5, 2.5, 2.5)");
    CDaoRecordset records(&db);
    records.Open(dbOpenTable, "FOREIGN_ROWS");
    // Bytes, text and numbers in a binary field all come as bytes, numbers as their text.
    auto bytesOf = [&](short field) {
        const COleVariant read = records.GetFieldValue(field);
        EXPECT_EQ(read.vt, VT_ARRAY | VT_UI1);
        return std::string(read.byteVal.begin(), read.byteVal.end());
    };
    COleVariant v = records.GetFieldValue(0);
    EXPECT_EQ(v.vt, VT_DATE);
    EXPECT_NEAR(v.date, 45366.0 + 49530.0 / 86400.0, 0.5 / 86400);
    EXPECT_STREQ(records.GetFieldValue(1).strVal, "Hi"); // bytes in a text field read as text
    EXPECT_EQ(bytesOf(2), "Text");
    records.MoveNext();
    v = records.GetFieldValue(0); // not a date: handed over as the text it is
    EXPECT_EQ(v.vt, VT_BSTR);
    EXPECT_STREQ(v.strVal, "gestern");
    EXPECT_STREQ(records.GetFieldValue(1).strVal, "42");
    EXPECT_EQ(bytesOf(2), "42");
    records.MoveNext();
    v = records.GetFieldValue(0);
    EXPECT_EQ(v.vt, VT_DATE);
    EXPECT_EQ(v.date, 45366.5);
    EXPECT_STREQ(records.GetFieldValue(1).strVal, "2.5");
    EXPECT_EQ(bytesOf(2), "2.5");

    // Date texts: the ISO forms are dates, anything near them stays text.
    const std::pair<const char*, double> dates[] = {
        {"2024-03-15", 45366.0},
        {"2024-03-15T13:45", 45366.0 + 49500.0 / 86400.0},
        {"1899-12-29 06:00:00", -1.25},
        {"0100-01-01 00:00:00", -657434.0},
        {"9999-12-31 23:59:59", 2958465.0 + 86399.0 / 86400.0}};
    const char* notDates[] = {"2024-3-15",           "2024-03-15 13:45:3", "2024-13-01",
                              "2024-03-00",          "2024-03-15 24:00",   "2024-03-15 13:60",
                              "2024-03-15 13:45:60", "2024-03-15X13:45",   "2024-03-15 13:45:30Z",
                              "2024/03/15",          "+024-03-15",         "2024-03-15 13-45"};
    db.Execute("DELETE FROM FOREIGN_ROWS");
    for (const auto& [text, date] : dates)
        db.Execute(("INSERT INTO FOREIGN_ROWS (T) VALUES ('" + std::string(text) + "')").c_str());
    for (const char* text : notDates)
        db.Execute(("INSERT INTO FOREIGN_ROWS (T) VALUES ('" + std::string(text) + "')").c_str());
    records.MoveFirst();
    for (const auto& [text, date] : dates) {
        v = records.GetFieldValue(0);
        EXPECT_EQ(v.vt, VT_DATE) << text;
        EXPECT_NEAR(v.date, date, 0.5 / 86400) << text;
        records.MoveNext();
    }
    for (const char* text : notDates) {
        v = records.GetFieldValue(0);
        EXPECT_EQ(v.vt, VT_BSTR) << text;
        EXPECT_STREQ(v.strVal, text);
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
    records.SetFieldValue("NAME", COleVariant("zehnzeichn")); // ten characters, twelve bytes
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

TEST_F(DaoRecordsetTest, UnknownIndexAndClosedRecordsetAreRefused) {
    AddSample();
    CDaoRecordset records(&db);
    EXPECT_EQ(DaoErrorOf([&] { records.MoveNext(); }), DAO_ERROR_OBJECT_CLOSED);
    EXPECT_EQ(DaoErrorOf([&] { records.Open(dbOpenDynaset, "PEOPLE"); }), 3251);
    records.Open(dbOpenTable, "PEOPLE");
    std::string description;
    EXPECT_EQ(DaoErrorOf([&] { records.SetCurrentIndex("Nope"); }, &description), 3800);
    EXPECT_EQ(description, "'Nope' is not an index in this table.");
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue("NOPE"); }), DAO_ERROR_ITEM_NOT_FOUND);
    EXPECT_EQ(DaoErrorOf([&] { records.GetFieldValue(17); }), DAO_ERROR_ITEM_NOT_FOUND);
    records.Close();
    EXPECT_FALSE(records.IsOpen());
}

} // namespace
