// The raw side of the benchmarks: a plain SQLite connection opened with the engine settings the
// DAO layer gives its own connections (no per-call locking, the same page cache), so that a ratio
// measures the layers above the engine and not a difference in configuration.
#pragma once

#include "platform/dao/dao_detail.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

inline sqlite3* OpenRawConnection(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags | dao_detail::kConnectionFlags, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_exec(db, dao_detail::kConnectionSettings, nullptr, nullptr, nullptr);
    return db;
}
