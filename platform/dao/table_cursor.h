// The engine side of a table-type recordset: one live statement walking the current index, the
// position it stands on, and the edit buffer.
#pragma once

#include "platform/dao/catalog.h"
#include "platform/dao/walk_plan.h"

#include <optional>
#include <unordered_map>

namespace dao_detail {

class TableCursor final : public Client {
public:
    TableCursor(Connection& connection, const std::string& table, int options);
    // On a table as described a moment ago.
    TableCursor(Connection& connection, const std::shared_ptr<const TableShape>& shape,
                int options);
    ~TableCursor() override;
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    void Suspend() override;
    void Detach() override;
    bool attached() const { return m_connection != nullptr; }
    bool updatable() const { return !m_readOnly; }

    void SetCurrentIndex(const char* name);
    const std::string& currentIndex() const { return m_indexName; }
    bool Seek(const char* comparison, const COleVariant* keys, std::size_t count);
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    bool eof() {
        Settle();
        return m_eof;
    }
    bool bof() {
        Settle();
        return m_bof;
    }

    void Edit();
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    short editMode() const { return m_editMode; }

    void GetFieldValue(int index, COleVariant& value);
    // GetFieldValue's answer for a small field the walk carries, when it is a whole number or
    // text; false (nothing done, nothing thrown) in every other case.
    bool ReadWalkInteger(int index, std::int32_t& value) const;
    bool ReadWalkText(int index, CString& value) const;
    void SetFieldValue(int index, const COleVariant& value);
    int FieldIndex(const char* name) const;
    const std::vector<FieldDesc>& fields() const { return m_fields; }
    const std::string& table() const { return m_table; }
    long RecordCount();

    COleVariant Bookmark();
    void MoveToBookmark(const COleVariant& bookmark);
    COleVariant LastModifiedBookmark() const;
    std::string DescribePlan(const char* comparison);

private:
    enum class At { None, Record, Deleted };
    struct Found {
        std::int64_t rowid;
        std::vector<Value> key;
    };

    Connection& db() const;
    void UseIndex(const IndexDesc* index);
    void BuildWalkColumns();
    void WidenWalk(std::size_t index);
    bool RestepWider();
    void RestepAtSamePlace();
    void RequireUpdatable() const;
    void DropEdit() {
        m_editMode = dbEditNone;
        if (!m_buffer.empty())
            m_buffer.clear();
    }
    void DropStatements();
    // Goes to the first record when the move there is still owed (after an open or a change of
    // index, nothing has positioned the cursor yet).
    void Settle() {
        if (m_firstPending)
            MoveFirst();
    }

    sqlite3_stmt* Cached(Segment segment, bool backward);
    sqlite3_stmt* BindSegment(Segment segment, bool backward);
    void StartWalk();
    void ReleaseHeld();
    // Lets go of the walk and its plan: the cursor is on no walked record.
    void EndWalk();
    bool StepWalk();
    void BecomeCurrent();
    bool WalkRowHasBoundKey() const;
    // Whether an "=" seek found its key by stepping the walk on; nothing when stepping could not
    // tell and a full search must.
    std::optional<bool> SeekByStepping(const std::vector<Value>& key);
    int m_stepBudget = 8;         // steps SeekByStepping tries before a full search; 0: none
    int m_searchesSinceProbe = 0; // full searches made at once since the last single step
    // The walk's column of a field on a current, unchanged record outside an edit, or -1.
    int FreshWalkColumn(int index) const {
        if (!m_live || m_at != At::Record || m_editMode != dbEditNone || !m_walk ||
            m_seenVersion != m_state->version || index < 0 || std::size_t(index) >= m_fields.size())
            return -1;
        return m_walkColumn[std::size_t(index)];
    }
    void NoCurrent(bool bof, bool eof);
    std::optional<Found> FindBackward(bool withRowid, bool inclusive);
    void PositionAt(const Found& found);
    std::optional<std::vector<Value>> KeyOf(std::int64_t rowid);
    // The current record's rowid; on a live walk read from its row the first time it is needed.
    std::int64_t CurrentRowid();
    void CaptureKey();
    void EnsureLive();
    void Reposition();
    void Write(sqlite3_stmt* statement);

    Connection* m_connection;
    TableState* m_state;
    std::string m_table;
    bool m_readOnly;
    std::vector<FieldDesc> m_fields;
    std::vector<IndexDesc> m_indexes;

    // The current index and the statements made for it.
    std::string m_indexName;
    WalkShape m_shape;
    std::vector<int> m_keyFields;
    std::vector<int> m_walkColumn; // per field: its column in the walk's rows, or -1
    std::string m_walkColumns;
    // Fields read through this cursor so far: the walk carries these besides the key, so that a
    // listing that reads two fields of a wide table steps over two columns, not all of them.
    std::vector<bool> m_wanted;
    bool m_carryRowid = false;
    int m_rowidColumn = -1;   // the walk's column of the rowid, or -1
    std::string m_keyColumns; // rowid and the key columns
    std::unordered_map<std::uint32_t, Statement> m_segments;
    Statement m_keyByRowid;
    std::vector<Statement> m_fieldByRowid;
    Statement m_count;
    std::unordered_map<std::string, Statement> m_writes;
    // Updates and inserts by kind and fields written (see Update), with the scratch to find them.
    std::unordered_map<std::string, Statement> m_updates;
    std::vector<std::size_t> m_setFields;
    std::string m_writeKey;

    // The walk: segments still to run, the statement stepping now, and the values they bind.
    std::vector<Segment> m_plan;
    std::size_t m_next = 0;
    sqlite3_stmt* m_walk = nullptr;
    int m_stepsInStatement = 0;     // rows m_walk has given so far
    sqlite3_stmt* m_held = nullptr; // the walk before a restart, open until the new one stepped
    std::vector<Value> m_bound;
    std::vector<Value> m_seekKey; // a seek's key as stored, converted before the walk is touched
    std::int64_t m_boundRowid = 0;

    // The position. On a record the walk stands on it (m_live) or m_key holds its key, taken when
    // the walk was let go; a deleted record keeps its place until the next move.
    bool m_firstPending = false;
    At m_at = At::None;
    bool m_bof = true;
    bool m_eof = true;
    bool m_live = false;
    std::int64_t m_rowid = 0;
    bool m_rowidPending = false; // m_rowid still to be read from the walk's current row
    std::vector<Value> m_key;
    std::uint64_t m_seenVersion = 0;

    short m_editMode = dbEditNone;
    std::int64_t m_editRowid = 0;
    std::vector<std::optional<Value>> m_buffer;
    std::optional<std::int64_t> m_lastModified;
};

} // namespace dao_detail
