// A project database as the host application keeps it: opened or created here, closed when the
// Project ends.
#pragma once

#include "platform/dao/dao.h"

#include <cstdint>
#include <memory>
#include <string>

namespace refhost {

class Project {
public:
    // A new database file with the host's tables (see CreateHostTables). Throws CDaoException when
    // the file exists or cannot be made; a file left half made is removed again.
    static std::unique_ptr<Project> Create(const std::string& path);
    // An existing database file; throws CDaoException when it is missing or no database.
    static std::unique_ptr<Project> Open(const std::string& path);

    ~Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    CDaoDatabase& database() { return m_database; }
    const std::string& path() const { return m_path; }

    // COLLECTION.MaxFolderSysID: the highest folder key handed out; -1 when there is no record.
    std::int32_t FolderCounter();
    // Raises the counter to `key` when it is lower, so that keys drawn later do not collide with a
    // folder made under a key of its own.
    void RaiseFolderCounter(std::int32_t key);

private:
    explicit Project(std::string path) : m_path(std::move(path)) {}

    CDaoDatabase m_database;
    std::string m_path;
};

// One SQLite transaction around many writes; rolled back unless committed.
class Transaction {
public:
    explicit Transaction(CDaoDatabase& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    CDaoDatabase& m_database;
    bool m_open = true;
};

} // namespace refhost
