#include "platform/dao/catalog.h"

#include <filesystem>

using dao_detail::Connection;

CDaoDatabase::CDaoDatabase() = default;

CDaoDatabase::~CDaoDatabase() {
    Close();
}

void CDaoDatabase::Open(const char* path, BOOL exclusive, BOOL readOnly, const char* /*connect*/) {
    Close();
    // No SQLITE_OPEN_CREATE: a missing file is an error, as it is for Jet.
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    m_connection = std::make_unique<Connection>(path, flags, exclusive != FALSE);
}

void CDaoDatabase::Create(const char* path) {
    Close();
    std::error_code error;
    if (!path || std::filesystem::exists(path, error))
        dao_detail::ThrowDao(3204, "Database already exists.");
    m_connection =
        std::make_unique<Connection>(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, false);
}

void CDaoDatabase::Close() {
    if (!m_connection)
        return;
    m_connection->DetachAll();
    m_connection.reset();
}

BOOL CDaoDatabase::IsOpen() const {
    return m_connection ? TRUE : FALSE;
}

BOOL CDaoDatabase::CanUpdate() const {
    return m_connection && !m_connection->readOnly() ? TRUE : FALSE;
}

CString CDaoDatabase::GetName() const {
    return m_connection ? CString(m_connection->path()) : CString();
}

void CDaoDatabase::Execute(const char* sql) {
    Connection& db = connection();
    // The statement may write any table or change the schema: every cursor lets go first.
    dao_detail::ChangeScope change(db);
    db.Exec(sql ? sql : "");
}

BOOL CDaoDatabase::TableExists(const char* name) {
    return dao_detail::FindTable(connection(), name ? name : "") ? TRUE : FALSE;
}

void CDaoDatabase::DeleteTableDef(const char* name) {
    Connection& db = connection();
    db.RequireWritable();
    const std::string requested = name ? name : "";
    const std::optional<std::string> table = dao_detail::FindTable(db, requested);
    if (!table)
        dao_detail::ThrowNoSuchTable(db, requested);
    dao_detail::ChangeScope change(db);
    dao_detail::DropTable(db, *table);
}

dao_detail::Connection& CDaoDatabase::connection() const {
    if (!m_connection)
        dao_detail::ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
    return *m_connection;
}
