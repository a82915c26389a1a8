// A table for recordset tests, PEOPLE, with indexes of every kind: on a nullable key with
// duplicates, on two fields, descending, and unique.
#pragma once

#include "platform/dao/dao.h"
#include "tests/support/dao_helpers.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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
