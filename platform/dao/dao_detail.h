// Private to the data layer: the engine connection, statement ownership and error translation.
#pragma once

#include "platform/dao/dao.h"

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dao_detail {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, ConnectionCloser>;

// Resets a shared statement on scope exit so that it holds no read lock between uses.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* statement) : m_statement(statement) {}
    ~ResetOnExit() { sqlite3_reset(m_statement); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* m_statement;
};

// "name" with embedded quotes doubled.
std::string QuoteIdentifier(std::string_view name);
// ASCII case-insensitive equality, as the engine compares identifiers.
bool SameName(std::string_view a, std::string_view b);
// The name with ASCII letters in lower case: a key under which SameName names meet.
std::string NameKey(std::string_view name);

[[noreturn]] void ThrowDao(long code, const char* description);
// The engine's current message for `db`, with a DAO number chosen from the extended result code.
[[noreturn]] void ThrowEngine(sqlite3* db, int resultCode);

// Something that holds live statements on a table and must let go of them before the table is
// written or its schema changes.
class Client {
public:
    virtual ~Client() = default;
    // The table is about to change: remember the position, reset every statement.
    virtual void Suspend() = 0;
    // The connection is closing: finalize everything and forget it.
    virtual void Detach() = 0;
};

struct TableState {
    std::uint64_t version = 0; // bumped by every write through the layer
    std::vector<Client*> clients;
};

// What every connection of the layer is opened with besides the caller's flags, and the engine
// settings it gets right after. Listings walk an index and visit the rows it points to all over the
// table: a page cache of 8 MiB keeps a project of a few hundred thousand records in memory between
// calls where the engine's default of 2 MiB would read much of it from the file again, and reading
// the file through a memory map (up to 256 MiB of it) spares a copy of every page read.
constexpr int kConnectionFlags = SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX;
constexpr const char* kConnectionSettings = "PRAGMA cache_size=-8192; PRAGMA mmap_size=268435456";

struct TableShape;

// The tables' descriptions as the catalog read them, kept while the schema stays as it was then:
// neither changed through the layer (generation) nor by anybody else (the engine's schema cookie).
struct ShapeCache {
    std::uint64_t generation = 0;
    std::int64_t cookie = -1;
    Statement cookieQuery;
    std::unordered_map<std::string, std::shared_ptr<const TableShape>> tables; // by lower-case name
};

class Connection {
public:
    // Opens or creates the file; throws CDaoException with the engine's message.
    Connection(const char* path, int flags, bool exclusive);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* db() const { return m_db.get(); }
    const std::string& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }

    Statement Prepare(std::string_view sql, bool persistent = false);
    // Statements kept for reuse: a cursor hands its walks back when it lets go of them, and the
    // next cursor asking for the same SQL takes one instead of preparing it again (the tree asks
    // each folder it shows whether it has sub-folders, on a table opened for just that).
    Statement Reuse(const std::string& sql);
    void Keep(Statement statement);
    // Runs one or more statements that return no rows of interest.
    void Exec(const char* sql);
    [[noreturn]] void Fail(int resultCode) const { ThrowEngine(m_db.get(), resultCode); }
    void RequireWritable() const;

    // Shared per-table counters; the reference stays valid for the connection's life.
    TableState& Table(std::string_view name);
    void Attach(std::string_view table, Client* client);
    void Release(std::string_view table, Client* client);
    // Every client on `table` suspends; call before writing it, then AfterWrite.
    void BeforeWrite(TableState& table);
    void AfterWrite(TableState& table) { ++table.version; }
    // Statements of unknown reach (Execute, schema changes): every client suspends.
    void BeforeAnyChange();
    void AfterAnyChange();
    void DetachAll();

    std::uint64_t schemaGeneration() const { return m_schemaGeneration; }
    ShapeCache& shapes() { return m_shapes; }

private:
    std::string m_path;
    bool m_readOnly = false;
    std::uint64_t m_schemaGeneration = 0;
    std::unordered_map<std::string, std::unique_ptr<TableState>> m_tables; // by lower-case name
    Handle m_db;
    // After m_db: their statements go before the connection closes.
    ShapeCache m_shapes;
    std::unordered_multimap<std::string, Statement> m_kept; // by SQL text
};

// Around statements of unknown reach: clients let go before, cursors restart after.
class ChangeScope {
public:
    explicit ChangeScope(Connection& connection) : m_connection(connection) {
        m_connection.BeforeAnyChange();
    }
    ~ChangeScope() { m_connection.AfterAnyChange(); }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    Connection& m_connection;
};

// SAVEPOINT that rolls back unless committed; nests inside a host's BEGIN.
class Savepoint {
public:
    explicit Savepoint(Connection& connection);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void Commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace dao_detail
