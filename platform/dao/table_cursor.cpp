#include "platform/dao/table_cursor.h"

#include <algorithm>
#include <cstring>

namespace dao_detail {
namespace {

[[noreturn]] void ThrowNoCurrentRecord() {
    ThrowDao(DAO_ERROR_NO_CURRENT_RECORD, "No current record.");
}

[[noreturn]] void ThrowRecordDeleted() {
    ThrowDao(3167, "Record is deleted.");
}

[[noreturn]] void ThrowInvalidArgument() {
    ThrowDao(3001, "Invalid argument.");
}

enum class Comparison { Equal, AtLeast, Greater, AtMost, Less };

Comparison ParseComparison(const char* text) {
    const std::string_view op = text ? text : "";
    if (op == "=")
        return Comparison::Equal;
    if (op == ">=")
        return Comparison::AtLeast;
    if (op == ">")
        return Comparison::Greater;
    if (op == "<=")
        return Comparison::AtMost;
    if (op == "<")
        return Comparison::Less;
    ThrowInvalidArgument();
}

COleVariant RowidBookmark(std::int64_t rowid) {
    COleVariant bookmark;
    bookmark.vt = VT_ARRAY | VT_UI1;
    bookmark.byteVal.resize(sizeof rowid);
    std::memcpy(bookmark.byteVal.data(), &rowid, sizeof rowid);
    return bookmark;
}

std::uint32_t SegmentKey(Segment segment, bool backward) {
    return segment.equal | static_cast<std::uint32_t>(segment.range) << 8 |
           static_cast<std::uint32_t>(backward) << 16;
}

} // namespace

namespace {

std::shared_ptr<const TableShape> Described(Connection& connection, const std::string& table) {
    std::shared_ptr<const TableShape> shape = DescribeTable(connection, table);
    if (!shape)
        ThrowNoSuchTable(connection, table);
    return shape;
}

} // namespace

TableCursor::TableCursor(Connection& connection, const std::string& table, int options)
    : TableCursor(connection, Described(connection, table), options) {}

TableCursor::TableCursor(Connection& connection, const std::shared_ptr<const TableShape>& shape,
                         int options)
    : m_connection(&connection) {
    m_table = shape->name;
    m_state = &connection.Table(m_table);
    m_readOnly = (options & dbReadOnly) != 0 || connection.readOnly();
    m_fields = shape->fields;
    m_indexes = shape->indexes;
    m_fieldByRowid.resize(m_fields.size());
    connection.Attach(m_table, this);
    try {
        UseIndex(nullptr);
    } catch (...) {
        DropStatements();
        connection.Release(m_table, this);
        throw;
    }
}

TableCursor::~TableCursor() {
    if (!m_connection)
        return;
    DropStatements();
    m_connection->Release(m_table, this);
}

Connection& TableCursor::db() const {
    if (!m_connection)
        ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
    return *m_connection;
}

void TableCursor::Suspend() {
    Settle(); // the first record as it is before the change, as an eager open would have found it
    CaptureKey();
    EndWalk();
}

void TableCursor::Detach() {
    DropStatements();
    m_count.reset();
    m_writes.clear();
    m_updates.clear();
    m_connection = nullptr;
    m_state = nullptr;
    m_at = At::None;
    m_bof = m_eof = true;
    DropEdit();
}

void TableCursor::DropStatements() {
    // The position goes with the statements: whoever drops them closes or moves first next.
    EndWalk();
    for (auto& [key, statement] : m_segments)
        db().Keep(std::move(statement));
    m_segments.clear();
    db().Keep(std::move(m_keyByRowid));
    for (Statement& statement : m_fieldByRowid)
        statement.reset();
}

void TableCursor::UseIndex(const IndexDesc* index) {
    // The cursor goes to the first record in the new order when something first looks at where
    // it stands: a table opened to be searched at once never reads its first record.
    DropStatements();
    m_firstPending = true;
    m_indexName = index ? index->name : std::string();
    m_shape.table = m_table;
    m_shape.index = index ? index->engineName : std::string();
    m_shape.keyColumns = index ? index->columns : std::vector<std::string>();
    m_shape.descending = index ? index->descending : std::vector<bool>();
    m_keyFields = index ? index->fieldOrdinals : std::vector<int>();

    BuildWalkColumns();
    m_keyColumns = "rowid";
    for (const std::string& key : m_shape.keyColumns)
        m_keyColumns += ", " + QuoteIdentifier(key);
    m_key.clear();
}

void TableCursor::BuildWalkColumns() {
    // The walk carries the key and the fields read so far. Long values stay out of it (the engine
    // would read their overflow pages on every step) unless the index needs them; fields outside
    // the walk are read by rowid, and a small one read once joins the walk.
    m_wanted.resize(m_fields.size(), false);
    m_walkColumn.assign(m_fields.size(), -1);
    // The rowid joins the walk once something needs it (a bookmark, an edit); a walk in rowid
    // order has nothing else to go by.
    const bool rowid = m_carryRowid || m_shape.keyColumns.empty();
    m_rowidColumn = rowid ? 0 : -1;
    m_walkColumns = rowid ? "rowid" : "";
    int column = rowid ? 1 : 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const bool key =
            std::find(m_keyFields.begin(), m_keyFields.end(), int(i)) != m_keyFields.end();
        if (!key && (m_fields[i].large() || !m_wanted[i]))
            continue;
        m_walkColumn[i] = column++;
        m_walkColumns += (m_walkColumns.empty() ? "" : ", ") + QuoteIdentifier(m_fields[i].name);
    }
}

void TableCursor::WidenWalk(std::size_t index) {
    m_wanted[index] = true;
    if (RestepWider())
        return;
    Suspend();
    BuildWalkColumns();
    m_segments.clear(); // prepared for the old column list
    Reposition();
    if (m_at != At::Record)
        ThrowRecordDeleted();
}

bool TableCursor::RestepWider() {
    // A listing reads its fields on the first record of its walk. Running that walk's statement
    // again with the wider column list and stepping back to the record keeps the walk in one range
    // ("key >= k"), where resuming from the record's rowid would split it into the rest of the
    // record's group and what follows, and make the engine check the rowid on every step.
    constexpr int kRestepLimit = 16;
    if (m_at != At::Record || !m_live || !m_walk || m_stepsInStatement > kRestepLimit ||
        m_seenVersion != m_state->version)
        return false;
    BuildWalkColumns();
    RestepAtSamePlace();
    return true;
}

void TableCursor::RestepAtSamePlace() {
    // The old statement stays open until the new one stands where it stood: both read inside one
    // transaction, so they see the same rows in the same order, and counting steps is exact.
    ReleaseHeld();
    const Segment segment = m_plan[m_next - 1];
    Statement old;
    for (auto& [key, statement] : m_segments)
        if (statement.get() == m_walk)
            old = std::move(statement);
    m_segments.clear(); // prepared for the old column list
    sqlite3_stmt* fresh = BindSegment(segment, false);
    int steps = 0;
    int rc = SQLITE_ROW;
    while (steps < m_stepsInStatement && (rc = sqlite3_step(fresh)) == SQLITE_ROW)
        ++steps;
    if (rc != SQLITE_ROW) {
        NoCurrent(false, true);
        sqlite3_reset(fresh);
        if (rc == SQLITE_DONE)
            ThrowRecordDeleted();
        db().Fail(rc);
    }
    m_walk = fresh;
}

void TableCursor::SetCurrentIndex(const char* name) {
    DropEdit();
    const std::string wanted = name ? name : "";
    if (wanted.empty()) {
        UseIndex(nullptr);
    } else {
        const IndexDesc* found = nullptr;
        for (const IndexDesc& index : m_indexes)
            if (SameName(index.name, wanted))
                found = &index;
        if (!found) {
            const std::string message = "'" + wanted + "' is not an index in this table.";
            ThrowDao(3800, message.c_str());
        }
        UseIndex(found);
    }
}

sqlite3_stmt* TableCursor::Cached(Segment segment, bool backward) {
    // A walk that restarts on the segment it stood on takes the segment's second statement: the
    // first is still held open (see StartWalk).
    constexpr std::uint32_t kSecondStatement = 1u << 24;
    const std::uint32_t key = SegmentKey(segment, backward);
    Statement* slot = &m_segments[key];
    if (*slot && slot->get() == m_held)
        slot = &m_segments[key | kSecondStatement];
    if (!*slot)
        *slot = db().Reuse(
            SegmentSql(m_shape, segment, backward, backward ? m_keyColumns : m_walkColumns));
    return slot->get();
}

sqlite3_stmt* TableCursor::BindSegment(Segment segment, bool backward) {
    sqlite3_stmt* statement = Cached(segment, backward);
    sqlite3_reset(statement);
    const int parameters = sqlite3_bind_parameter_count(statement);
    for (std::size_t i = 0; i < m_bound.size() && int(i) < parameters; ++i)
        Bind(statement, int(i) + 1, m_bound[i]);
    const int rowidParameter = int(m_shape.keyColumns.size()) + 1;
    if (rowidParameter <= parameters)
        sqlite3_bind_int64(statement, rowidParameter, m_boundRowid);
    return statement;
}

void TableCursor::StartWalk() {
    // The walk being replaced stays open until its successor has taken its first step: with a
    // statement open all along, the connection's read transaction and its file locks carry over to
    // the new walk instead of being let go and taken anew, which costs more than the search itself
    // when a listing looks its records up one by one.
    ReleaseHeld();
    m_held = m_walk;
    m_walk = nullptr;
    m_next = 0;
    m_live = false;
}

void TableCursor::EndWalk() {
    ReleaseHeld();
    if (m_walk)
        sqlite3_reset(m_walk);
    m_walk = nullptr;
    m_plan.clear();
    m_next = 0;
    m_live = false;
}

void TableCursor::ReleaseHeld() {
    if (m_held)
        sqlite3_reset(m_held);
    m_held = nullptr;
}

bool TableCursor::StepWalk() {
    struct ReleaseAtEnd {
        TableCursor& cursor;
        ~ReleaseAtEnd() { cursor.ReleaseHeld(); }
    } release{*this};
    for (;;) {
        if (!m_walk) {
            if (m_next >= m_plan.size())
                return false;
            m_walk = BindSegment(m_plan[m_next++], false);
            m_stepsInStatement = 0;
        }
        const int rc = sqlite3_step(m_walk);
        if (rc == SQLITE_ROW) {
            ++m_stepsInStatement;
            return true;
        }
        sqlite3_stmt* finished = m_walk;
        m_walk = nullptr;
        ResetOnExit reset(finished);
        if (rc != SQLITE_DONE)
            db().Fail(rc);
    }
}

void TableCursor::BecomeCurrent() {
    m_at = At::Record;
    m_rowidPending = true; // read from the walk when somebody asks: a listing never does
    m_live = true;
    m_bof = m_eof = false;
    m_seenVersion = m_state->version;
}

void TableCursor::NoCurrent(bool bof, bool eof) {
    EndWalk();
    m_at = At::None;
    m_bof = bof;
    m_eof = eof;
}

std::optional<TableCursor::Found> TableCursor::FindBackward(bool withRowid, bool inclusive) {
    std::vector<Segment> plan;
    BackwardSegments(m_shape.descending, m_bound, withRowid, inclusive, plan);
    for (Segment segment : plan) {
        sqlite3_stmt* statement = BindSegment(segment, true);
        ResetOnExit reset(statement);
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            Found found{sqlite3_column_int64(statement, 0), {}};
            for (std::size_t i = 0; i < m_shape.keyColumns.size(); ++i)
                found.key.push_back(ColumnValue(statement, int(i) + 1));
            return found;
        }
        if (rc != SQLITE_DONE)
            db().Fail(rc);
    }
    return std::nullopt;
}

void TableCursor::PositionAt(const Found& found) {
    m_bound = found.key;
    m_boundRowid = found.rowid;
    ForwardSegments(m_shape.descending, m_bound, true, true, m_plan);
    StartWalk();
    if (StepWalk())
        BecomeCurrent();
    else
        NoCurrent(false, true);
}

std::optional<std::vector<Value>> TableCursor::KeyOf(std::int64_t rowid) {
    if (!m_keyByRowid) {
        const std::string columns = m_shape.keyColumns.empty() ? "1" : m_keyColumns;
        m_keyByRowid = db().Reuse("SELECT " + columns + " FROM " + QuoteIdentifier(m_table) +
                                  " WHERE rowid = ?1");
    }
    sqlite3_stmt* statement = m_keyByRowid.get();
    ResetOnExit reset(statement);
    sqlite3_bind_int64(statement, 1, rowid);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE)
        return std::nullopt;
    if (rc != SQLITE_ROW)
        db().Fail(rc);
    std::vector<Value> key;
    for (std::size_t i = 0; i < m_shape.keyColumns.size(); ++i)
        key.push_back(ColumnValue(statement, int(i) + 1));
    return key;
}

std::int64_t TableCursor::CurrentRowid() {
    if (m_rowidPending && m_walk) {
        if (m_rowidColumn < 0) {
            m_carryRowid = true;
            BuildWalkColumns();
            RestepAtSamePlace();
        }
        m_rowid = sqlite3_column_int64(m_walk, m_rowidColumn);
        m_rowidPending = false;
    }
    return m_rowid;
}

void TableCursor::CaptureKey() {
    if (m_at != At::Record || !m_live || !m_walk)
        return;
    CurrentRowid();
    m_key.resize(m_keyFields.size());
    for (std::size_t i = 0; i < m_keyFields.size(); ++i)
        m_key[i] = ColumnValue(m_walk, m_walkColumn[std::size_t(m_keyFields[i])]);
}

void TableCursor::Reposition() {
    // The record may have moved (its key changed) or gone since the walk was let go.
    CaptureKey();
    std::optional<std::vector<Value>> key = KeyOf(CurrentRowid());
    if (!key) {
        if (m_walk)
            sqlite3_reset(m_walk);
        m_walk = nullptr;
        m_live = false;
        m_at = At::Deleted;
        return;
    }
    m_key = *key;
    PositionAt(Found{CurrentRowid(), m_key});
}

void TableCursor::EnsureLive() {
    if (m_at == At::Deleted)
        ThrowRecordDeleted();
    if (m_at != At::Record)
        ThrowNoCurrentRecord();
    if (m_live && m_seenVersion == m_state->version)
        return;
    Reposition();
    if (m_at != At::Record)
        ThrowRecordDeleted();
}

void TableCursor::MoveFirst() {
    m_firstPending = false;
    DropEdit();
    m_bound.clear();
    ForwardSegments(m_shape.descending, m_bound, false, true, m_plan);
    StartWalk();
    if (StepWalk())
        BecomeCurrent();
    else
        NoCurrent(true, true);
}

void TableCursor::MoveLast() {
    m_firstPending = false;
    DropEdit();
    m_bound.clear();
    if (std::optional<Found> found = FindBackward(false, true))
        PositionAt(*found);
    else
        NoCurrent(true, true);
}

void TableCursor::MoveNext() {
    Settle();
    DropEdit();
    if (m_at == At::Record && (!m_live || m_seenVersion != m_state->version))
        Reposition();
    switch (m_at) {
    case At::Record:
        if (StepWalk())
            BecomeCurrent();
        else
            NoCurrent(false, true);
        return;
    case At::Deleted:
        m_bound = m_key;
        m_boundRowid = CurrentRowid();
        ForwardSegments(m_shape.descending, m_bound, true, false, m_plan);
        StartWalk();
        if (StepWalk())
            BecomeCurrent();
        else
            NoCurrent(false, true);
        return;
    case At::None:
        if (m_bof && !m_eof) {
            MoveFirst();
            return;
        }
        ThrowNoCurrentRecord();
    }
}

void TableCursor::MovePrev() {
    Settle();
    DropEdit();
    if (m_at == At::None) {
        if (m_eof && !m_bof) {
            MoveLast();
            return;
        }
        ThrowNoCurrentRecord();
    }
    if (m_at == At::Record && (!m_live || m_seenVersion != m_state->version))
        Reposition();
    CaptureKey();
    m_bound = m_key;
    m_boundRowid = CurrentRowid();
    if (std::optional<Found> found = FindBackward(true, false))
        PositionAt(*found);
    else
        NoCurrent(true, false);
}

bool TableCursor::Seek(const char* comparison, const COleVariant* keys, std::size_t count) {
    if (m_shape.index.empty())
        ThrowDao(DAO_ERROR_NO_CURRENT_INDEX, "Operation invalid without a current index.");
    if (!keys || count == 0 || count > m_keyFields.size())
        ThrowInvalidArgument();
    const Comparison op = ParseComparison(comparison);
    // Converted aside first: a key that does not convert leaves the walk as it was.
    m_seekKey.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        m_seekKey[i] = ToStored(m_fields[std::size_t(m_keyFields[i])], keys[i], false);
    m_firstPending = false;
    DropEdit();
    if (op == Comparison::Equal)
        if (const std::optional<bool> found = SeekByStepping(m_seekKey))
            return *found;
    m_bound.swap(m_seekKey);
    if (op == Comparison::AtMost || op == Comparison::Less) {
        if (std::optional<Found> found = FindBackward(false, op == Comparison::AtMost)) {
            PositionAt(*found);
            return m_at == At::Record;
        }
        NoCurrent(false, true);
        return false;
    }
    ForwardSegments(m_shape.descending, m_bound, false, op != Comparison::Greater, m_plan);
    StartWalk();
    // The first segment runs on past the keys' own entries: "=" matches only inside them.
    if (StepWalk() && (op != Comparison::Equal || WalkRowHasBoundKey())) {
        BecomeCurrent();
        return true;
    }
    NoCurrent(false, true);
    return false;
}

std::optional<bool> TableCursor::SeekByStepping(const std::vector<Value>& key) {
    // Records looked up one after another in the order of their keys (a listing filling in each
    // record's fields) find the next key a few entries further on the index, and a few steps of
    // the walk cost a fraction of a new search. Kept to one-column ascending integer indexes,
    // where "the current key lies before the sought one" is a plain comparison. How many steps to
    // try follows how far the last lookups had to go: records lying far apart get a search at once,
    // and only every so often a single step to see whether they have come closer again.
    constexpr int kMostSteps = 8;
    constexpr int kProbeEvery = 16;
    if (key.size() != 1 || m_keyFields.size() != 1 || m_shape.descending[0] ||
        key[0].kind != Value::Integer || m_at != At::Record || !m_live || !m_walk ||
        m_seenVersion != m_state->version)
        return std::nullopt;
    const int column = m_walkColumn[std::size_t(m_keyFields[0])];
    const std::int64_t sought = key[0].integer;
    if (sqlite3_column_type(m_walk, column) != SQLITE_INTEGER ||
        sqlite3_column_int64(m_walk, column) >= sought)
        return std::nullopt;
    int budget = m_stepBudget;
    if (budget == 0) {
        if (++m_searchesSinceProbe < kProbeEvery)
            return std::nullopt;
        m_searchesSinceProbe = 0;
        budget = 1;
    }
    // Every entry with the sought key comes after the current one, so the first entry reached
    // that has it is the first of them, and one with a greater key says there is none. The walk
    // covers the rest of the index, and its own bound stays what it was: its later segments
    // need it.
    for (int step = 0; step < budget; ++step) {
        if (!StepWalk())
            break;
        if (sqlite3_column_type(m_walk, column) != SQLITE_INTEGER)
            break;
        const std::int64_t at = sqlite3_column_int64(m_walk, column);
        if (at == sought) {
            m_stepBudget = std::min(kMostSteps, budget * 2);
            BecomeCurrent();
            return true;
        }
        if (at > sought) {
            NoCurrent(false, true);
            return false;
        }
    }
    // The full search that follows finds the place anew. The walk stays open until that search
    // has started (see StartWalk), but it no longer stands on a current record.
    m_stepBudget = budget / 2;
    m_live = false;
    m_at = At::None;
    m_bof = false;
    m_eof = true;
    return std::nullopt;
}

bool TableCursor::WalkRowHasBoundKey() const {
    for (std::size_t i = 0; i < m_bound.size(); ++i) {
        const int column = m_walkColumn[std::size_t(m_keyFields[i])];
        if (!SameStoredValue(ColumnValue(m_walk, column), m_bound[i]))
            return false;
    }
    return true;
}

void TableCursor::RequireUpdatable() const {
    if (m_readOnly)
        ThrowDao(DAO_ERROR_READ_ONLY, "Cannot update. Database or object is read-only.");
}

void TableCursor::Edit() {
    RequireUpdatable();
    Settle();
    DropEdit();
    EnsureLive();
    m_editMode = dbEditInProgress;
    m_editRowid = CurrentRowid();
    m_buffer.assign(m_fields.size(), std::nullopt);
}

void TableCursor::AddNew() {
    RequireUpdatable();
    Settle(); // the record current before the addition stays current after it
    DropEdit();
    db();
    m_editMode = dbEditAdd;
    m_buffer.assign(m_fields.size(), std::nullopt);
}

void TableCursor::CancelUpdate() {
    if (m_editMode == dbEditNone)
        ThrowDao(DAO_ERROR_UPDATE_WITHOUT_EDIT, "Update or CancelUpdate without AddNew or Edit.");
    DropEdit();
}

void TableCursor::Write(sqlite3_stmt* statement) {
    Connection& connection = db();
    // Every cursor on the table lets go of its walk first and restarts from its place afterwards.
    connection.BeforeWrite(*m_state);
    struct Bump {
        Connection& connection;
        TableState& state;
        ~Bump() { connection.AfterWrite(state); }
    } bump{connection, *m_state};
    ResetOnExit reset(statement);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE)
        connection.Fail(rc);
    sqlite3_clear_bindings(statement); // large values stay bound otherwise
}

void TableCursor::Update() {
    if (m_editMode == dbEditNone)
        ThrowDao(DAO_ERROR_UPDATE_WITHOUT_EDIT, "Update or CancelUpdate without AddNew or Edit.");
    RequireUpdatable();
    std::vector<std::size_t>& set = m_setFields;
    set.clear();
    for (std::size_t i = 0; i < m_buffer.size(); ++i)
        if (m_buffer[i])
            set.push_back(i);
    if (m_editMode == dbEditInProgress && set.empty()) {
        m_lastModified = m_editRowid;
        DropEdit();
        return;
    }
    // The statement for this kind of write and these fields, made on first use: moving many
    // records writes the same field of each.
    std::string& key = m_writeKey;
    key.assign(1, m_editMode == dbEditInProgress ? 'U' : 'I');
    for (std::size_t i : set) {
        key += static_cast<char>('0' + i % 64);
        key += static_cast<char>('0' + i / 64 % 64);
    }
    Statement& statement = m_updates[key];
    if (!statement) {
        const std::string table = QuoteIdentifier(m_table);
        std::string sql;
        if (m_editMode == dbEditInProgress) {
            sql = "UPDATE " + table + " SET ";
            for (std::size_t i = 0; i < set.size(); ++i)
                sql += (i ? ", " : "") + QuoteIdentifier(m_fields[set[i]].name) + " = ?" +
                       std::to_string(i + 1);
            sql += " WHERE rowid = ?" + std::to_string(set.size() + 1);
        } else if (set.empty()) {
            sql = "INSERT INTO " + table + " DEFAULT VALUES";
        } else {
            std::string names, values;
            for (std::size_t i = 0; i < set.size(); ++i) {
                names += (i ? ", " : "") + QuoteIdentifier(m_fields[set[i]].name);
                values += (i ? ", ?" : "?") + std::to_string(i + 1);
            }
            sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + values + ")";
        }
        statement = db().Prepare(sql, true);
    }
    for (std::size_t i = 0; i < set.size(); ++i)
        Bind(statement.get(), int(i) + 1, *m_buffer[set[i]]);
    if (m_editMode == dbEditInProgress)
        sqlite3_bind_int64(statement.get(), int(set.size()) + 1, m_editRowid);
    // A failed write keeps the edit pending, as Jet does: the caller may fix it or cancel.
    Write(statement.get());
    if (m_editMode == dbEditInProgress && sqlite3_changes(db().db()) == 0) {
        DropEdit();
        ThrowRecordDeleted();
    }
    m_lastModified = m_editMode == dbEditAdd ? sqlite3_last_insert_rowid(db().db()) : m_editRowid;
    // Before the write this cursor, as every cursor on the table, kept its record's keys as they
    // were. New keys put the record in a new place, which stays its place also should another
    // recordset delete it before this one moves.
    if (m_editMode == dbEditInProgress && m_at == At::Record && m_rowid == m_editRowid &&
        std::any_of(m_keyFields.begin(), m_keyFields.end(),
                    [&](int field) { return m_buffer[std::size_t(field)].has_value(); }))
        if (std::optional<std::vector<Value>> written = KeyOf(m_editRowid))
            m_key = std::move(*written);
    DropEdit();
}

void TableCursor::Delete() {
    RequireUpdatable();
    Settle();
    DropEdit();
    EnsureLive();
    const std::string sql = "DELETE FROM " + QuoteIdentifier(m_table) + " WHERE rowid = ?1";
    Statement& statement = m_writes[sql];
    if (!statement)
        statement = db().Prepare(sql, true);
    sqlite3_bind_int64(statement.get(), 1, CurrentRowid());
    Write(statement.get());
    if (sqlite3_changes(db().db()) == 0)
        ThrowRecordDeleted();
    m_at = At::Deleted;
}

int TableCursor::FieldIndex(const char* name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (SameName(m_fields[i].name, name ? name : ""))
            return int(i);
    ThrowDao(DAO_ERROR_ITEM_NOT_FOUND, "Item not found in this collection.");
}

void TableCursor::GetFieldValue(int index, COleVariant& value) {
    if (index < 0 || std::size_t(index) >= m_fields.size())
        ThrowDao(DAO_ERROR_ITEM_NOT_FOUND, "Item not found in this collection.");
    const FieldDesc& field = m_fields[std::size_t(index)];
    if (m_editMode != dbEditNone && m_buffer[std::size_t(index)]) {
        ToVariant(field, *m_buffer[std::size_t(index)], value);
        return;
    }
    if (m_editMode == dbEditAdd) {
        ToVariant(field, Value(), value);
        return;
    }
    Settle();
    EnsureLive();
    if (m_walkColumn[std::size_t(index)] < 0 && !field.large())
        WidenWalk(std::size_t(index));
    const int column = m_walkColumn[std::size_t(index)];
    if (column >= 0) {
        ColumnToVariant(field, m_walk, column, value);
        return;
    }
    Statement& slot = m_fieldByRowid[std::size_t(index)];
    if (!slot)
        slot = db().Prepare("SELECT " + QuoteIdentifier(field.name) + " FROM " +
                                QuoteIdentifier(m_table) + " WHERE rowid = ?1",
                            true);
    ResetOnExit reset(slot.get());
    sqlite3_bind_int64(slot.get(), 1, CurrentRowid());
    const int rc = sqlite3_step(slot.get());
    if (rc == SQLITE_DONE)
        ThrowRecordDeleted();
    if (rc != SQLITE_ROW)
        db().Fail(rc);
    ColumnToVariant(field, slot.get(), 0, value);
}

bool TableCursor::ReadWalkInteger(int index, std::int32_t& value) const {
    const int column = FreshWalkColumn(index);
    if (column < 0)
        return false;
    // The variant path converts whatever is stored but null; so does the engine here, and only a
    // zero can be a null in disguise.
    const std::int64_t stored = sqlite3_column_int64(m_walk, column);
    if (stored == 0 && sqlite3_column_type(m_walk, column) == SQLITE_NULL)
        return false;
    // The same narrowing as the variant types these fields read as.
    switch (m_fields[std::size_t(index)].type) {
    case dbBoolean:
        value = stored != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case dbByte:
        value = static_cast<BYTE>(stored);
        return true;
    case dbInteger:
        value = static_cast<std::int16_t>(stored);
        return true;
    case dbLong:
        value = static_cast<std::int32_t>(stored);
        return true;
    default:
        return false;
    }
}

bool TableCursor::ReadWalkText(int index, CString& value) const {
    const int column = FreshWalkColumn(index);
    if (column < 0)
        return false;
    const short type = m_fields[std::size_t(index)].type;
    if (type != dbText && type != dbMemo)
        return false;
    sqlite3_value* cell = sqlite3_column_value(m_walk, column);
    if (sqlite3_value_type(cell) != SQLITE_TEXT)
        return false;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(cell));
    value.SetString(text, sqlite3_value_bytes(cell));
    return true;
}

void TableCursor::SetFieldValue(int index, const COleVariant& value) {
    if (m_editMode == dbEditNone)
        ThrowDao(DAO_ERROR_UPDATE_WITHOUT_EDIT, "Update or CancelUpdate without AddNew or Edit.");
    if (index < 0 || std::size_t(index) >= m_fields.size())
        ThrowDao(DAO_ERROR_ITEM_NOT_FOUND, "Item not found in this collection.");
    const FieldDesc& field = m_fields[std::size_t(index)];
    if (field.counter())
        ThrowDao(3164, "Field cannot be updated.");
    m_buffer[std::size_t(index)] = ToStored(field, value);
}

long TableCursor::RecordCount() {
    if (!m_count)
        m_count = db().Prepare("SELECT count(*) FROM " + QuoteIdentifier(m_table), true);
    ResetOnExit reset(m_count.get());
    const int rc = sqlite3_step(m_count.get());
    if (rc != SQLITE_ROW)
        db().Fail(rc);
    return static_cast<long>(sqlite3_column_int64(m_count.get(), 0));
}

COleVariant TableCursor::Bookmark() {
    Settle();
    if (m_at == At::Deleted)
        ThrowRecordDeleted();
    if (m_at != At::Record)
        ThrowNoCurrentRecord();
    return RowidBookmark(CurrentRowid());
}

void TableCursor::MoveToBookmark(const COleVariant& bookmark) {
    std::int64_t rowid = 0;
    if (bookmark.vt == (VT_ARRAY | VT_UI1) && bookmark.byteVal.size() == sizeof rowid)
        std::memcpy(&rowid, bookmark.byteVal.data(), sizeof rowid);
    else if (bookmark.vt == VT_I4)
        rowid = bookmark.lVal;
    else
        ThrowDao(3159, "Not a valid bookmark.");
    m_firstPending = false;
    DropEdit();
    std::optional<std::vector<Value>> key = KeyOf(rowid);
    if (!key)
        ThrowRecordDeleted();
    PositionAt(Found{rowid, std::move(*key)});
}

COleVariant TableCursor::LastModifiedBookmark() const {
    if (!m_lastModified)
        ThrowNoCurrentRecord();
    return RowidBookmark(*m_lastModified);
}

std::string TableCursor::DescribePlan(const char* comparison) {
    if (m_shape.index.empty())
        ThrowDao(DAO_ERROR_NO_CURRENT_INDEX, "Operation invalid without a current index.");
    const Comparison op = ParseComparison(comparison);
    // The plan does not depend on the values, only on which of them are null: none here.
    const std::vector<Value> sample(m_keyFields.size(), Value::OfInteger(0));
    std::vector<std::pair<std::string, std::string>> statements;
    std::vector<Segment> plan;
    if (op == Comparison::AtMost || op == Comparison::Less) {
        BackwardSegments(m_shape.descending, sample, false, op == Comparison::AtMost, plan);
        for (Segment segment : plan)
            statements.emplace_back("Seek", SegmentSql(m_shape, segment, true, m_keyColumns));
        ForwardSegments(m_shape.descending, sample, true, true, plan);
        for (Segment segment : plan)
            statements.emplace_back("MoveNext", SegmentSql(m_shape, segment, false, m_walkColumns));
    } else {
        ForwardSegments(m_shape.descending, sample, false, op != Comparison::Greater, plan);
        for (std::size_t i = 0; i < plan.size(); ++i)
            statements.emplace_back(i == 0 ? "Seek" : "MoveNext",
                                    SegmentSql(m_shape, plan[i], false, m_walkColumns));
    }
    // After a write the walk restarts just past its record.
    ForwardSegments(m_shape.descending, sample, true, false, plan);
    for (Segment segment : plan)
        statements.emplace_back("MoveNext", SegmentSql(m_shape, segment, false, m_walkColumns));

    std::string lines;
    for (const auto& [label, sql] : statements) {
        Statement explain = db().Prepare("EXPLAIN QUERY PLAN " + sql);
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(explain.get())) == SQLITE_ROW) {
            const auto* detail =
                reinterpret_cast<const char*>(sqlite3_column_text(explain.get(), 3));
            lines += label + ": " + (detail ? detail : "") + "\n";
        }
        if (rc != SQLITE_DONE)
            db().Fail(rc);
    }
    return lines;
}

} // namespace dao_detail
