// Reads a database file through an SQLite connection of its own, past the DAO layer: what the
// library really wrote, not what its own reads make of it.
#pragma once

#include <sqlite3.h>

#include <string>

// The first row `sql` gives, its columns as text joined by '|' and "NULL" for a null; empty when
// there is no row, the engine's message when the statement fails.
inline std::string RawRow(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::string row;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        row = std::string("error: ") + sqlite3_errmsg(db);
    } else if (sqlite3_step(statement) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            row +=
                (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return row;
}
