// A DAO-shaped data layer over SQLite: databases, table definitions with fields and named
// indexes, and table-type recordsets that walk an index and seek on it.
#pragma once

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/ole_variant.h"

#include <memory>
#include <vector>

// Recordset types and options.
constexpr int dbOpenTable = 1;
constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;
constexpr int dbDenyWrite = 1;
constexpr int dbDenyRead = 2;
constexpr int dbReadOnly = 4;
constexpr int dbAppendOnly = 8;

// Field types.
constexpr short dbBoolean = 1;
constexpr short dbByte = 2;
constexpr short dbInteger = 3;
constexpr short dbLong = 4;
constexpr short dbCurrency = 5;
constexpr short dbSingle = 6;
constexpr short dbDouble = 7;
constexpr short dbDate = 8;
constexpr short dbBinary = 9;
constexpr short dbText = 10;
constexpr short dbLongBinary = 11;
constexpr short dbMemo = 12;

// Field attributes.
constexpr long dbFixedField = 1;
constexpr long dbVariableField = 2;
constexpr long dbAutoIncrField = 16;
constexpr long dbUpdatableField = 32;

// How much GetFieldInfo / GetIndexInfo fill in.
constexpr DWORD AFX_DAO_PRIMARY_INFO = 1;
constexpr DWORD AFX_DAO_SECONDARY_INFO = 2;
constexpr DWORD AFX_DAO_ALL_INFO = 3;

// Edit modes.
constexpr short dbEditNone = 0;
constexpr short dbEditInProgress = 1;
constexpr short dbEditAdd = 2;

// DAO's own error numbers, used where the layer itself refuses an operation:
//   3021 "No current record."                 3020 "Update or CancelUpdate without AddNew or Edit."
//   3019 "Operation invalid without a current index."
//   3027 "Cannot update. Database or object is read-only."
//   3421 "Data type conversion error."        3163 "The field is too small to accept ..."
//   3265 "Item not found in this collection." 3420 "Object invalid or no longer set."
//   3167 "Record is deleted."                 3800 "'X' is not an index in this table."
constexpr long DAO_ERROR_NO_CURRENT_RECORD = 3021;
constexpr long DAO_ERROR_UPDATE_WITHOUT_EDIT = 3020;
constexpr long DAO_ERROR_NO_CURRENT_INDEX = 3019;
constexpr long DAO_ERROR_READ_ONLY = 3027;
constexpr long DAO_ERROR_CONVERSION = 3421;
constexpr long DAO_ERROR_FIELD_TOO_SMALL = 3163;
constexpr long DAO_ERROR_ITEM_NOT_FOUND = 3265;
constexpr long DAO_ERROR_OBJECT_CLOSED = 3420;
// Errors raised by the engine carry its own message (sqlite3_errmsg) as the description, its
// extended result code in m_scode, and the nearest Jet number where hosts test for one: 3022
// duplicate key, 3314 null in a required field, 3260 locked, 3024 cannot open, 3343 not a
// database, 3027 read-only, 3265 no such table. Everything else is this generic number.
constexpr long DAO_ERROR_ENGINE_MESSAGE = 3000;

struct CDaoFieldInfo {
    CString m_strName;
    short m_nType = 0;
    long m_lSize = 0;
    long m_lAttributes = 0;
    short m_nOrdinalPosition = 0;
    BOOL m_bRequired = FALSE;
    BOOL m_bAllowZeroLength = FALSE;
    long m_lCollatingOrder = 0;
    CString m_strForeignName;
    CString m_strSourceField;
    CString m_strSourceTable;
    CString m_strValidationRule;
    CString m_strValidationText;
    CString m_strDefaultValue;
};

struct CDaoIndexFieldInfo {
    CString m_strName;
    BOOL m_bDescending = FALSE;
};

struct CDaoIndexInfo {
    CString m_strName;
    CDaoIndexFieldInfo* m_pFieldInfos = nullptr; // m_nFields entries
    short m_nFields = 0;
    BOOL m_bPrimary = FALSE;
    BOOL m_bUnique = FALSE;
    BOOL m_bClustered = FALSE;
    BOOL m_bIgnoreNulls = FALSE;
    BOOL m_bRequired = FALSE;
    BOOL m_bForeign = FALSE;
    long m_lDistinctCount = 0;

    CDaoIndexInfo() = default;
    CDaoIndexInfo(const CDaoIndexInfo&) = delete;
    CDaoIndexInfo& operator=(const CDaoIndexInfo&) = delete;
    // Filled by GetIndexInfo: m_pFieldInfos then points into this storage.
    std::vector<CDaoIndexFieldInfo> m_ownedFieldInfos;
};

namespace dao_detail {
class Connection;
struct TableShape;
class TableCursor;
} // namespace dao_detail

class CDaoDatabase {
public:
    CDaoDatabase();
    virtual ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Opens an existing database file; throws CDaoException with the engine's message when the
    // file is missing, is not a database, or is locked.
    void Open(const char* path, BOOL exclusive = FALSE, BOOL readOnly = FALSE,
              const char* connect = "");
    // Creates a new database file; throws when the file already exists.
    void Create(const char* path);
    void Close();
    BOOL IsOpen() const;
    BOOL CanUpdate() const;
    CString GetName() const;

    // Runs SQL directly (for hosts that keep tables of their own).
    void Execute(const char* sql);
    BOOL TableExists(const char* name);
    void DeleteTableDef(const char* name);

    dao_detail::Connection& connection() const;

private:
    std::unique_ptr<dao_detail::Connection> m_connection;
};

class CDaoTableDef {
public:
    explicit CDaoTableDef(CDaoDatabase* database);
    virtual ~CDaoTableDef();
    CDaoTableDef(const CDaoTableDef&) = delete;
    CDaoTableDef& operator=(const CDaoTableDef&) = delete;

    // A new table definition; fields and indexes collect until Append creates the table.
    void Create(const char* name, long attributes = 0, const char* sourceTable = nullptr,
                const char* connect = nullptr);
    // An existing table; throws when there is none of that name.
    void Open(const char* name);
    void Append();
    void Close();
    BOOL IsOpen() const;
    CString GetName() const;

    void CreateField(const char* name, short type, long size, long attributes = 0);
    void CreateField(CDaoFieldInfo& info);
    void CreateIndex(CDaoIndexInfo& info);
    void DeleteIndex(const char* name);

    short GetFieldCount();
    void GetFieldInfo(int index, CDaoFieldInfo& info, DWORD infoOptions = AFX_DAO_PRIMARY_INFO);
    void GetFieldInfo(const char* name, CDaoFieldInfo& info,
                      DWORD infoOptions = AFX_DAO_PRIMARY_INFO);
    short GetIndexCount();
    void GetIndexInfo(int index, CDaoIndexInfo& info, DWORD infoOptions = AFX_DAO_PRIMARY_INFO);
    void GetIndexInfo(const char* name, CDaoIndexInfo& info,
                      DWORD infoOptions = AFX_DAO_PRIMARY_INFO);
    long GetRecordCount();

    CDaoDatabase* m_pDatabase;

private:
    struct State;
    std::unique_ptr<State> m_state;
    friend class CDaoRecordset;
    // The table as Open or the last schema read found it, while nothing changed the schema
    // through this database since; null otherwise.
    std::shared_ptr<const dao_detail::TableShape> CurrentShape() const;
    void Remember(std::shared_ptr<const dao_detail::TableShape> shape);
};

class CDaoRecordset {
public:
    explicit CDaoRecordset(CDaoDatabase* database = nullptr);
    virtual ~CDaoRecordset();
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // Only table-type recordsets exist. dbReadOnly refuses every write. Without a current index
    // records come in the order they were added; with one, in key order and records of equal keys
    // in the order they were added. A walk survives writes through other recordsets: it goes on
    // from where its record now stands (or stood, when deleted).
    void Open(CDaoTableDef* tableDef, int openType = dbOpenTable, int options = 0);
    void Open(int openType, const char* tableName, int options = 0);
    void Close();
    BOOL IsOpen() const;
    BOOL CanUpdate() const;

    // Orders the recordset by the named index and makes its first record current.
    void SetCurrentIndex(const char* indexName);
    CString GetCurrentIndex() const;
    // Comparison "=", ">=", ">", "<=" or "<" on the current index, in the index's order (on a
    // descending column ">" finds smaller values); "<=" and "<" find the last match. Fewer keys
    // than index fields match a prefix. FALSE when nothing matches: then there is no current
    // record and IsEOF is TRUE.
    BOOL Seek(const char* comparison, COleVariant* key1, COleVariant* key2 = nullptr,
              COleVariant* key3 = nullptr);
    BOOL Seek(const char* comparison, COleVariant* keys, WORD keyCount);

    void MoveFirst();
    void MoveNext();
    void MovePrev();
    void MoveLast();
    BOOL IsEOF() const;
    BOOL IsBOF() const;

    void Edit();
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    short GetEditMode() const;

    // By position (from 0) or name; the edit buffer's value while an edit is pending.
    COleVariant GetFieldValue(int index);
    void GetFieldValue(int index, COleVariant& value);
    COleVariant GetFieldValue(const char* name);
    // Shortcuts of GetFieldValue for long listings, without a variant: a whole-number field
    // (Byte, Integer, Long; Boolean as -1/0) as an integer, a text field as text. They answer
    // false, having done nothing, wherever GetFieldValue would give anything else (null, another
    // type, a pending edit, no current record): the caller then asks GetFieldValue.
    bool ReadFieldInteger(int index, std::int32_t& value);
    bool ReadFieldText(int index, CString& value);
    // Into the edit buffer, converted to the field's type.
    void SetFieldValue(int index, const COleVariant& value);
    void SetFieldValue(int index, const char* text);
    void SetFieldValue(const char* name, const COleVariant& value);
    void SetFieldValueNull(int index);

    short GetFieldCount();
    void GetFieldInfo(int index, CDaoFieldInfo& info, DWORD infoOptions = AFX_DAO_PRIMARY_INFO);
    long GetRecordCount();

    // The current record's bookmark (VT_ARRAY | VT_UI1, the record's 8-byte rowid), and the record
    // last added or changed. After AddNew and Update the current record stays what it was.
    COleVariant GetBookmark();
    void SetBookmark(COleVariant bookmark);
    COleVariant GetLastModifiedBookmark();

    // EXPLAIN QUERY PLAN of the statements that Seek(comparison) and MoveNext run on the current
    // index, one detail line each; lets tests show that both are index searches.
    CString DescribeNavigationPlan(const char* comparison = "=");

    CDaoDatabase* m_pDatabase;

private:
    std::unique_ptr<dao_detail::TableCursor> m_cursor;
};
