#include "platform/dao/catalog.h"

#include <algorithm>
#include <cctype>

namespace dao_detail {
namespace {

constexpr const char kIndexCatalog[] = "_dao_index";

bool Hidden(std::string_view table) {
    return SameName(table, kIndexCatalog) ||
           (table.size() >= 7 && SameName(table.substr(0, 7), "sqlite_"));
}

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text,
                              static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

void BindText(sqlite3_stmt* statement, int parameter, std::string_view text) {
    sqlite3_bind_text64(statement, parameter, text.data(), text.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

// Runs a statement that returns no rows; throws the engine's message.
void Run(Connection& connection, sqlite3_stmt* statement) {
    ResetOnExit reset(statement);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        connection.Fail(rc);
}

bool CatalogExists(Connection& connection) {
    Statement query = connection.Prepare(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '_dao_index'");
    return sqlite3_step(query.get()) == SQLITE_ROW;
}

void WriteFlags(Connection& connection, const std::string& engineName, const std::string& table,
                long flags) {
    if (flags == 0 && !CatalogExists(connection))
        return;
    connection.Exec("CREATE TABLE IF NOT EXISTS _dao_index (name TEXT PRIMARY KEY COLLATE NOCASE, "
                    "tbl TEXT NOT NULL COLLATE NOCASE, flags INTEGER NOT NULL)");
    // A stale row may remain from an index dropped behind the layer's back.
    Statement remove = connection.Prepare("DELETE FROM _dao_index WHERE name = ?1");
    BindText(remove.get(), 1, engineName);
    Run(connection, remove.get());
    if (flags == 0)
        return;
    Statement insert =
        connection.Prepare("INSERT INTO _dao_index (name, tbl, flags) VALUES (?1, ?2, ?3)");
    BindText(insert.get(), 1, engineName);
    BindText(insert.get(), 2, table);
    sqlite3_bind_int64(insert.get(), 3, flags);
    Run(connection, insert.get());
}

void CreateIndexStatements(Connection& connection, const std::string& table,
                           const IndexDesc& index) {
    const std::string engineName = table + "." + index.name;
    std::string sql = index.unique || index.primary() ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += QuoteIdentifier(engineName) + " ON " + QuoteIdentifier(table) + " (";
    for (std::size_t i = 0; i < index.columns.size(); ++i) {
        if (i)
            sql += ", ";
        sql += QuoteIdentifier(index.columns[i]);
        if (index.descending[i])
            sql += " DESC";
    }
    sql += ")";
    connection.Exec(sql.c_str());
    WriteFlags(connection, engineName, table, index.flags);
}

void CheckSinglePrimary(const IndexDesc& index, const std::vector<IndexDesc>& existing) {
    if (!index.primary())
        return;
    for (const IndexDesc& other : existing)
        if (other.primary())
            ThrowDao(3283, "Primary key already exists.");
}

} // namespace

std::optional<std::string> FindTable(Connection& connection, std::string_view name) {
    if (Hidden(name))
        return std::nullopt;
    Statement query = connection.Prepare(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    BindText(query.get(), 1, name);
    const int rc = sqlite3_step(query.get());
    if (rc == SQLITE_ROW)
        return Text(query.get(), 0);
    if (rc != SQLITE_DONE)
        connection.Fail(rc);
    return std::nullopt;
}

namespace {

std::int64_t SchemaCookie(Connection& connection, ShapeCache& cache) {
    if (!cache.cookieQuery)
        cache.cookieQuery = connection.Prepare("PRAGMA schema_version", true);
    sqlite3_stmt* query = cache.cookieQuery.get();
    const int rc = sqlite3_step(query);
    const std::int64_t cookie = rc == SQLITE_ROW ? sqlite3_column_int64(query, 0) : -1;
    sqlite3_reset(query);
    if (rc != SQLITE_ROW)
        connection.Fail(rc);
    return cookie;
}

} // namespace

std::shared_ptr<const TableShape> DescribeTable(Connection& connection, std::string_view name) {
    ShapeCache& cache = connection.shapes();
    const std::int64_t cookie = SchemaCookie(connection, cache);
    if (cache.generation != connection.schemaGeneration() || cache.cookie != cookie) {
        cache.tables.clear();
        cache.generation = connection.schemaGeneration();
        cache.cookie = cookie;
    }
    const std::string key = NameKey(name);
    if (auto it = cache.tables.find(key); it != cache.tables.end())
        return it->second;
    const std::optional<std::string> table = FindTable(connection, name);
    if (!table)
        return nullptr;
    auto shape = std::make_shared<TableShape>();
    shape->name = *table;
    shape->fields = ReadFields(connection, shape->name);
    shape->indexes = ReadIndexes(connection, shape->name, shape->fields);
    cache.tables.emplace(key, shape);
    return shape;
}

void ThrowNoSuchTable(Connection& connection, std::string_view name) {
    // Preparing a read of the table gets the engine's own words for it.
    const std::string probe = "SELECT 1 FROM " + QuoteIdentifier(name);
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(connection.db(), probe.c_str(), -1, &raw, nullptr);
    Statement statement(raw);
    const std::string message =
        raw ? "no such table: " + std::string(name) : std::string(sqlite3_errmsg(connection.db()));
    CDaoException error(DAO_ERROR_ITEM_NOT_FOUND, CString(message), CString("SQLite"));
    error.m_scode = raw ? SQLITE_ERROR : sqlite3_extended_errcode(connection.db());
    throw error;
}

std::vector<FieldDesc> ReadFields(Connection& connection, const std::string& table) {
    Statement query = connection.Prepare("SELECT cid, name, type, \"notnull\", dflt_value, pk "
                                         "FROM pragma_table_info(?1) ORDER BY cid");
    BindText(query.get(), 1, table);
    std::vector<FieldDesc> fields;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        FieldDesc field;
        field.ordinal = static_cast<short>(sqlite3_column_int(query.get(), 0));
        field.name = Text(query.get(), 1);
        field.required = sqlite3_column_int(query.get(), 3) != 0;
        field.defaultValue = Text(query.get(), 4);
        DescribeDeclaredType(Text(query.get(), 2), field);
        if (sqlite3_column_int(query.get(), 5) != 0) {
            int notNull = 0, primaryKey = 0, autoIncrement = 0;
            if (sqlite3_table_column_metadata(connection.db(), "main", table.c_str(),
                                              field.name.c_str(), nullptr, nullptr, &notNull,
                                              &primaryKey, &autoIncrement) == SQLITE_OK &&
                autoIncrement) {
                field.type = dbLong;
                field.size = 4;
                field.attributes = dbAutoIncrField | dbFixedField;
            }
        }
        fields.push_back(std::move(field));
    }
    if (rc != SQLITE_DONE)
        connection.Fail(rc);
    return fields;
}

std::vector<IndexDesc> ReadIndexes(Connection& connection, const std::string& table,
                                   const std::vector<FieldDesc>& fields) {
    // The schema table keeps indexes in the order they were made; the pragma's own order is not.
    Statement list =
        connection.Prepare("SELECT m.name, l.\"unique\", l.origin FROM sqlite_master AS m "
                           "JOIN pragma_index_list(?1) AS l ON l.name = m.name "
                           "WHERE m.type = 'index' AND l.partial = 0 ORDER BY m.rowid");
    BindText(list.get(), 1, table);
    Statement columns = connection.Prepare(
        "SELECT cid, name, \"desc\" FROM pragma_index_xinfo(?1) WHERE key ORDER BY seqno");
    std::vector<IndexDesc> indexes;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) {
        IndexDesc index;
        index.engineName = Text(list.get(), 0);
        index.unique = sqlite3_column_int(list.get(), 1) != 0;
        if (Text(list.get(), 2) == "pk")
            index.flags |= kIndexPrimary;
        const std::size_t dot = index.engineName.find('.');
        index.name = dot != std::string::npos &&
                             SameName(std::string_view(index.engineName).substr(0, dot), table)
                         ? index.engineName.substr(dot + 1)
                         : index.engineName;
        sqlite3_reset(columns.get());
        BindText(columns.get(), 1, index.engineName);
        bool plain = true; // expression indexes cannot be walked as DAO indexes
        while (sqlite3_step(columns.get()) == SQLITE_ROW) {
            const int cid = sqlite3_column_int(columns.get(), 0);
            if (cid < 0 || std::size_t(cid) >= fields.size()) {
                plain = false;
                break;
            }
            index.fieldOrdinals.push_back(cid);
            index.columns.push_back(fields[std::size_t(cid)].name);
            index.descending.push_back(sqlite3_column_int(columns.get(), 2) != 0);
        }
        if (plain && !index.columns.empty())
            indexes.push_back(std::move(index));
    }
    if (rc != SQLITE_DONE)
        connection.Fail(rc);

    if (!indexes.empty() && CatalogExists(connection)) {
        Statement flags = connection.Prepare("SELECT name, flags FROM _dao_index WHERE tbl = ?1");
        BindText(flags.get(), 1, table);
        while (sqlite3_step(flags.get()) == SQLITE_ROW) {
            const std::string name = Text(flags.get(), 0);
            for (IndexDesc& index : indexes)
                if (SameName(index.engineName, name))
                    index.flags |= sqlite3_column_int(flags.get(), 1);
        }
    }
    return indexes;
}

IndexDesc NewIndex(const CDaoIndexInfo& info) {
    IndexDesc index;
    index.name = info.m_strName.str();
    if (index.name.empty() || index.name.find_first_of(".!`[]") != std::string::npos) {
        const std::string message = "'" + index.name + "' is not a valid name.";
        ThrowDao(3125, message.c_str());
    }
    const CDaoIndexFieldInfo* fields = info.m_pFieldInfos;
    std::size_t count = info.m_nFields > 0 ? std::size_t(info.m_nFields) : 0;
    if (!fields && !info.m_ownedFieldInfos.empty()) {
        fields = info.m_ownedFieldInfos.data();
        count = info.m_ownedFieldInfos.size();
    }
    if (!fields || count == 0)
        ThrowDao(3413, "Index has no fields.");
    for (std::size_t i = 0; i < count; ++i) {
        index.columns.push_back(fields[i].m_strName.str());
        index.descending.push_back(fields[i].m_bDescending != FALSE);
    }
    index.flags = (info.m_bPrimary ? kIndexPrimary : 0) |
                  (info.m_bClustered ? kIndexClustered : 0) |
                  (info.m_bIgnoreNulls ? kIndexIgnoreNulls : 0) |
                  (info.m_bRequired ? kIndexRequired : 0) | (info.m_bForeign ? kIndexForeign : 0);
    index.unique = info.m_bUnique || info.m_bPrimary;
    return index;
}

void FillIndexInfo(const IndexDesc& index, CDaoIndexInfo& info, DWORD options) {
    info.m_strName = CString(index.name);
    info.m_ownedFieldInfos.clear();
    for (std::size_t i = 0; i < index.columns.size(); ++i) {
        CDaoIndexFieldInfo field;
        field.m_strName = CString(index.columns[i]);
        field.m_bDescending = index.descending[i] ? TRUE : FALSE;
        info.m_ownedFieldInfos.push_back(std::move(field));
    }
    info.m_pFieldInfos = info.m_ownedFieldInfos.data();
    info.m_nFields = static_cast<short>(info.m_ownedFieldInfos.size());
    info.m_bPrimary = index.primary() ? TRUE : FALSE;
    info.m_bUnique = index.unique || index.primary() ? TRUE : FALSE;
    if (options & AFX_DAO_SECONDARY_INFO) {
        info.m_bClustered = (index.flags & kIndexClustered) ? TRUE : FALSE;
        info.m_bIgnoreNulls = (index.flags & kIndexIgnoreNulls) ? TRUE : FALSE;
        info.m_bRequired = (index.flags & kIndexRequired) ? TRUE : FALSE;
        info.m_bForeign = (index.flags & kIndexForeign) ? TRUE : FALSE;
    }
}

void FillFieldInfo(const FieldDesc& field, const std::string& table, CDaoFieldInfo& info,
                   DWORD options) {
    info.m_strName = CString(field.name);
    info.m_nType = field.type;
    info.m_lSize = field.size;
    info.m_lAttributes = field.attributes;
    info.m_nOrdinalPosition = field.ordinal;
    if (options & AFX_DAO_SECONDARY_INFO) {
        info.m_bRequired = field.required ? TRUE : FALSE;
        info.m_bAllowZeroLength = field.type == dbText || field.type == dbMemo ? TRUE : FALSE;
        info.m_strSourceField = CString(field.name);
        info.m_strSourceTable = CString(table);
    }
    if ((options & AFX_DAO_ALL_INFO) == AFX_DAO_ALL_INFO)
        info.m_strDefaultValue = CString(field.defaultValue);
}

void CreateTable(Connection& connection, const std::string& table,
                 const std::vector<FieldDesc>& fields, const std::vector<IndexDesc>& indexes) {
    if (fields.empty())
        ThrowDao(3264, "No field defined --- cannot append TableDef or Index.");
    if (std::count_if(fields.begin(), fields.end(),
                      [](const FieldDesc& f) { return f.counter(); }) > 1)
        ThrowDao(3259, "Only one counter field per table.");
    // A plain name goes in bare so that the engine's "table X already exists" names it as given.
    const bool plain = !table.empty() && !std::isdigit(static_cast<unsigned char>(table[0])) &&
                       std::all_of(table.begin(), table.end(),
                                   [](unsigned char c) { return std::isalnum(c) || c == '_'; }) &&
                       !sqlite3_keyword_check(table.data(), static_cast<int>(table.size()));
    std::string sql = "CREATE TABLE " + (plain ? table : QuoteIdentifier(table)) + " (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            sql += ", ";
        sql += ColumnDefinition(fields[i]);
    }
    sql += ")";
    Savepoint savepoint(connection);
    connection.Exec(sql.c_str());
    std::vector<IndexDesc> made;
    for (const IndexDesc& index : indexes) {
        CheckSinglePrimary(index, made);
        CreateIndexStatements(connection, table, index);
        made.push_back(index);
    }
    savepoint.Commit();
}

void AddColumn(Connection& connection, const std::string& table, const FieldDesc& field) {
    if (field.counter())
        ThrowDao(3259, "A counter field cannot be added to an existing table.");
    const std::string sql =
        "ALTER TABLE " + QuoteIdentifier(table) + " ADD COLUMN " + ColumnDefinition(field);
    connection.Exec(sql.c_str());
}

void CreateIndex(Connection& connection, const std::string& table, const IndexDesc& index,
                 const std::vector<IndexDesc>& existing) {
    CheckSinglePrimary(index, existing);
    Savepoint savepoint(connection);
    CreateIndexStatements(connection, table, index);
    savepoint.Commit();
}

void DropIndex(Connection& connection, const IndexDesc& index) {
    Savepoint savepoint(connection);
    connection.Exec(("DROP INDEX " + QuoteIdentifier(index.engineName)).c_str());
    if (CatalogExists(connection)) {
        Statement remove = connection.Prepare("DELETE FROM _dao_index WHERE name = ?1");
        BindText(remove.get(), 1, index.engineName);
        Run(connection, remove.get());
    }
    savepoint.Commit();
}

void DropTable(Connection& connection, const std::string& table) {
    Savepoint savepoint(connection);
    connection.Exec(("DROP TABLE " + QuoteIdentifier(table)).c_str());
    if (CatalogExists(connection)) {
        Statement remove = connection.Prepare("DELETE FROM _dao_index WHERE tbl = ?1");
        BindText(remove.get(), 1, table);
        Run(connection, remove.get());
    }
    savepoint.Commit();
}

} // namespace dao_detail
