// Reads a database file through an SQLite connection of its own, past the DAO layer: what the
// library really wrote, not what its own reads make of it.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

using RawConnection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// A connection to `path`, closed with its owner; `status` is the engine's answer to the open (the
// connection is there to ask for the message even when the open failed).
inline RawConnection OpenRaw(const std::string& path, int flags, int& status) {
    sqlite3* opened = nullptr;
    status = sqlite3_open_v2(path.c_str(), &opened, flags, nullptr);
    return RawConnection(opened, &sqlite3_close);
}

// The first row `sql` gives, its columns as text joined by '|' and "NULL" for a null; empty when
// there is no row, the engine's message when the statement fails.
inline std::string RawRow(const std::string& path, const std::string& sql) {
    int status = SQLITE_OK;
    const RawConnection db = OpenRaw(path, SQLITE_OPEN_READONLY, status);
    sqlite3_stmt* prepared = nullptr;
    if (status != SQLITE_OK ||
        sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &prepared, nullptr) != SQLITE_OK)
        return std::string("error: ") + sqlite3_errmsg(db.get());
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(prepared,
                                                                               &sqlite3_finalize);
    std::string row;
    if (sqlite3_step(statement.get()) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(statement.get()); ++i) {
            const unsigned char* text = sqlite3_column_text(statement.get(), i);
            row +=
                (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
    }
    return row;
}
