#include "platform/dao/dao_detail.h"

#include <algorithm>

namespace dao_detail {
namespace {

// Hosts written against Jet test a few error numbers; the nearest Jet number is kept for those,
// everything else is the generic engine number. The description is always the engine's own.
long DaoCodeFor(int extendedCode) {
    switch (extendedCode) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return 3022; // duplicate values in the index
    case SQLITE_CONSTRAINT_NOTNULL:
        return 3314; // field cannot contain a Null value
    default:
        break;
    }
    switch (extendedCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return 3260; // currently locked
    case SQLITE_CANTOPEN:
        return 3024; // could not find file
    case SQLITE_NOTADB:
        return 3343; // unrecognized database format
    case SQLITE_READONLY:
        return DAO_ERROR_READ_ONLY;
    default:
        return DAO_ERROR_ENGINE_MESSAGE;
    }
}

constexpr int kBusyTimeoutMs = 300;

} // namespace

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    quoted += '"';
    return quoted;
}

bool SameName(std::string_view a, std::string_view b) {
    // The engine folds ASCII only, whatever the locale.
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : int(c); };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](unsigned char x, unsigned char y) { return fold(x) == fold(y); });
}

std::string NameKey(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

void ThrowDao(long code, const char* description) {
    throw CDaoException(code, CString(description));
}

void ThrowEngine(sqlite3* db, int resultCode) {
    const int extended = db ? sqlite3_extended_errcode(db) : resultCode;
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    CDaoException error(DaoCodeFor(extended), CString(message), CString("SQLite"));
    error.m_scode = extended;
    throw error;
}

Connection::Connection(const char* path, int flags, bool exclusive)
    : m_path(path ? path : ""), m_readOnly((flags & SQLITE_OPEN_READONLY) != 0) {
    sqlite3* raw = nullptr;
    // No per-call locking (NOMUTEX): a database and its recordsets are used from one thread at a
    // time, as DAO objects are.
    const int rc = sqlite3_open_v2(m_path.c_str(), &raw, flags | kConnectionFlags, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK) {
        if (!raw)
            ThrowEngine(nullptr, rc);
        Fail(rc);
    }
    sqlite3_extended_result_codes(m_db.get(), 1);
    sqlite3_busy_timeout(m_db.get(), kBusyTimeoutMs);
    Exec(kConnectionSettings);
    if (exclusive)
        Exec("PRAGMA locking_mode=EXCLUSIVE");
    // The engine reads the file lazily; reading the schema now reports a foreign or locked file at
    // open, as Jet does.
    Exec("SELECT count(*) FROM sqlite_master");
    // In exclusive mode a write lock, once taken, is kept: take it now to keep everybody out.
    if (exclusive && !m_readOnly)
        Exec("BEGIN EXCLUSIVE; COMMIT");
}

Connection::~Connection() {
    DetachAll();
}

Statement Connection::Prepare(std::string_view sql, bool persistent) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v3(m_db.get(), sql.data(), static_cast<int>(sql.size()),
                                      persistent ? SQLITE_PREPARE_PERSISTENT : 0, &raw, nullptr);
    Statement statement(raw);
    if (rc != SQLITE_OK)
        Fail(rc);
    return statement;
}

Statement Connection::Reuse(const std::string& sql) {
    if (auto it = m_kept.find(sql); it != m_kept.end()) {
        Statement statement = std::move(it->second);
        m_kept.erase(it);
        return statement;
    }
    return Prepare(sql, true);
}

void Connection::Keep(Statement statement) {
    constexpr std::size_t kMostKept = 64;
    if (!statement)
        return;
    sqlite3_reset(statement.get());
    sqlite3_clear_bindings(statement.get());
    if (m_kept.size() >= kMostKept)
        m_kept.erase(m_kept.begin());
    std::string sql = sqlite3_sql(statement.get());
    m_kept.emplace(std::move(sql), std::move(statement));
}

void Connection::Exec(const char* sql) {
    const int rc = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc);
}

void Connection::RequireWritable() const {
    if (m_readOnly)
        ThrowDao(DAO_ERROR_READ_ONLY, "Cannot update. Database or object is read-only.");
}

TableState& Connection::Table(std::string_view name) {
    auto& slot = m_tables[NameKey(name)];
    if (!slot)
        slot = std::make_unique<TableState>();
    return *slot;
}

void Connection::Attach(std::string_view table, Client* client) {
    Table(table).clients.push_back(client);
}

void Connection::Release(std::string_view table, Client* client) {
    auto& clients = Table(table).clients;
    clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
}

void Connection::BeforeWrite(TableState& table) {
    for (Client* client : table.clients)
        client->Suspend();
}

void Connection::BeforeAnyChange() {
    for (auto& [name, table] : m_tables)
        BeforeWrite(*table);
}

void Connection::AfterAnyChange() {
    m_kept.clear(); // made for a schema that may be gone
    for (auto& [name, table] : m_tables)
        AfterWrite(*table);
    ++m_schemaGeneration;
}

void Connection::DetachAll() {
    for (auto& [name, table] : m_tables) {
        // Detach unregisters nothing itself; take the list first.
        std::vector<Client*> clients;
        clients.swap(table->clients);
        for (Client* client : clients)
            client->Detach();
    }
}

Savepoint::Savepoint(Connection& connection) : m_connection(connection) {
    m_connection.Exec("SAVEPOINT dao_layer");
}

Savepoint::~Savepoint() {
    if (m_open) {
        // Both statements succeed on an open savepoint; an error here has nothing left to undo.
        sqlite3_exec(m_connection.db(), "ROLLBACK TO dao_layer; RELEASE dao_layer", nullptr,
                     nullptr, nullptr);
    }
}

void Savepoint::Commit() {
    m_connection.Exec("RELEASE dao_layer");
    m_open = false;
}

} // namespace dao_detail
