// A table for recordset tests, PEOPLE, with indexes of every kind: on a nullable key with
// duplicates, on two fields, descending, and unique.
#pragma once

#include "platform/dao/dao.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

inline COleVariant Long(std::int32_t value) {
    return COleVariant(value);
}

// PEOPLE: ID counter, K long (nullable, duplicates), NAME text(10), PHOTO long binary.
class PeopleTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Create(path.c_str());
        CDaoTableDef table(&db);
        table.Create("PEOPLE");
        table.CreateField("ID", dbLong, 4, dbAutoIncrField);
        table.CreateField("K", dbLong, 4);
        table.CreateField("NAME", dbText, 10);
        table.CreateField("PHOTO", dbLongBinary, 0);
        table.Append();
        AddIndex(table, "K", {{"K", FALSE}});
        AddIndex(table, "KName", {{"K", FALSE}, {"NAME", FALSE}});
        AddIndex(table, "KDown", {{"K", TRUE}});
        AddIndex(table, "Name", {{"NAME", FALSE}}, TRUE);
    }

    // Adds the rows in this order; a null key where k is absent.
    void AddPeople(std::vector<std::pair<std::optional<int>, const char*>> rows) {
        CDaoRecordset records(&db);
        records.Open(dbOpenTable, "PEOPLE");
        for (auto [k, name] : rows) {
            records.AddNew();
            if (k)
                records.SetFieldValue("K", Long(*k));
            records.SetFieldValue("NAME", COleVariant(name));
            records.Update();
        }
    }

    void AddSample() {
        AddPeople({{2, "b1"}, {1, "a1"}, {2, "b2"}, {3, "c1"}, {1, "a2"}, {{}, "n1"}, {2, "b3"}});
    }

    static std::string Name(CDaoRecordset& records) {
        return records.GetFieldValue("NAME").strVal.str();
    }

    // Names from the current record to the end.
    static std::vector<std::string> Rest(CDaoRecordset& records) {
        std::vector<std::string> names;
        for (; !records.IsEOF(); records.MoveNext())
            names.push_back(Name(records));
        return names;
    }

    static std::vector<std::string> Walk(CDaoRecordset& records, const char* index) {
        records.SetCurrentIndex(index);
        return Rest(records);
    }

    TempDir dir;
    std::string path = dir.File("people.db");
    CDaoDatabase db;
};
