#include "platform/dao/table_cursor.h"

using dao_detail::TableCursor;
using dao_detail::ThrowDao;

namespace {

TableCursor& Live(const std::unique_ptr<TableCursor>& cursor) {
    if (!cursor || !cursor->attached())
        ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
    return *cursor;
}

} // namespace

CDaoRecordset::CDaoRecordset(CDaoDatabase* database) : m_pDatabase(database) {}

CDaoRecordset::~CDaoRecordset() = default;

void CDaoRecordset::Open(CDaoTableDef* tableDef, int openType, int options) {
    if (!tableDef || !tableDef->IsOpen())
        ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
    m_pDatabase = tableDef->m_pDatabase;
    // The table definition has just read the table: the cursor takes its description from there.
    if (std::shared_ptr<const dao_detail::TableShape> shape = tableDef->CurrentShape();
        shape && openType == dbOpenTable) {
        Close();
        m_cursor = std::make_unique<TableCursor>(m_pDatabase->connection(), shape, options);
        return;
    }
    Open(openType, tableDef->GetName(), options);
}

void CDaoRecordset::Open(int openType, const char* tableName, int options) {
    if (openType != dbOpenTable)
        ThrowDao(3251, "Operation is not supported for this type of object.");
    if (!m_pDatabase)
        ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
    Close();
    m_cursor = std::make_unique<TableCursor>(m_pDatabase->connection(), tableName ? tableName : "",
                                             options);
}

void CDaoRecordset::Close() {
    m_cursor.reset();
}

BOOL CDaoRecordset::IsOpen() const {
    return m_cursor && m_cursor->attached() ? TRUE : FALSE;
}

BOOL CDaoRecordset::CanUpdate() const {
    return IsOpen() && m_cursor->updatable() ? TRUE : FALSE;
}

void CDaoRecordset::SetCurrentIndex(const char* indexName) {
    Live(m_cursor).SetCurrentIndex(indexName);
}

CString CDaoRecordset::GetCurrentIndex() const {
    return m_cursor ? CString(m_cursor->currentIndex()) : CString();
}

BOOL CDaoRecordset::Seek(const char* comparison, COleVariant* key1, COleVariant* key2,
                         COleVariant* key3) {
    if (key1 && !key2) // one key, as most seeks go: no copy
        return Seek(comparison, key1, 1);
    COleVariant keys[3];
    WORD count = 0;
    for (COleVariant* key : {key1, key2, key3}) {
        if (!key)
            break;
        keys[count++] = *key;
    }
    return Seek(comparison, keys, count);
}

BOOL CDaoRecordset::Seek(const char* comparison, COleVariant* keys, WORD keyCount) {
    return Live(m_cursor).Seek(comparison, keys, keyCount) ? TRUE : FALSE;
}

void CDaoRecordset::MoveFirst() {
    Live(m_cursor).MoveFirst();
}

void CDaoRecordset::MoveNext() {
    Live(m_cursor).MoveNext();
}

void CDaoRecordset::MovePrev() {
    Live(m_cursor).MovePrev();
}

void CDaoRecordset::MoveLast() {
    Live(m_cursor).MoveLast();
}

BOOL CDaoRecordset::IsEOF() const {
    return Live(m_cursor).eof() ? TRUE : FALSE;
}

BOOL CDaoRecordset::IsBOF() const {
    return Live(m_cursor).bof() ? TRUE : FALSE;
}

void CDaoRecordset::Edit() {
    Live(m_cursor).Edit();
}

void CDaoRecordset::AddNew() {
    Live(m_cursor).AddNew();
}

void CDaoRecordset::Update() {
    Live(m_cursor).Update();
}

void CDaoRecordset::CancelUpdate() {
    Live(m_cursor).CancelUpdate();
}

void CDaoRecordset::Delete() {
    Live(m_cursor).Delete();
}

short CDaoRecordset::GetEditMode() const {
    return m_cursor && m_cursor->attached() ? m_cursor->editMode() : dbEditNone;
}

COleVariant CDaoRecordset::GetFieldValue(int index) {
    COleVariant value;
    Live(m_cursor).GetFieldValue(index, value);
    return value;
}

void CDaoRecordset::GetFieldValue(int index, COleVariant& value) {
    Live(m_cursor).GetFieldValue(index, value);
}

COleVariant CDaoRecordset::GetFieldValue(const char* name) {
    TableCursor& cursor = Live(m_cursor);
    COleVariant value;
    cursor.GetFieldValue(cursor.FieldIndex(name), value);
    return value;
}

bool CDaoRecordset::ReadFieldInteger(int index, std::int32_t& value) {
    return m_cursor && m_cursor->attached() && m_cursor->ReadWalkInteger(index, value);
}

bool CDaoRecordset::ReadFieldText(int index, CString& value) {
    return m_cursor && m_cursor->attached() && m_cursor->ReadWalkText(index, value);
}

void CDaoRecordset::SetFieldValue(int index, const COleVariant& value) {
    Live(m_cursor).SetFieldValue(index, value);
}

void CDaoRecordset::SetFieldValue(int index, const char* text) {
    COleVariant value;
    if (text) {
        value.vt = VT_BSTR;
        value.strVal = CString(text);
    } else {
        value.vt = VT_NULL;
    }
    Live(m_cursor).SetFieldValue(index, value);
}

void CDaoRecordset::SetFieldValue(const char* name, const COleVariant& value) {
    TableCursor& cursor = Live(m_cursor);
    cursor.SetFieldValue(cursor.FieldIndex(name), value);
}

void CDaoRecordset::SetFieldValueNull(int index) {
    COleVariant null;
    null.vt = VT_NULL;
    Live(m_cursor).SetFieldValue(index, null);
}

short CDaoRecordset::GetFieldCount() {
    return static_cast<short>(Live(m_cursor).fields().size());
}

void CDaoRecordset::GetFieldInfo(int index, CDaoFieldInfo& info, DWORD infoOptions) {
    TableCursor& cursor = Live(m_cursor);
    if (index < 0 || std::size_t(index) >= cursor.fields().size())
        ThrowDao(DAO_ERROR_ITEM_NOT_FOUND, "Item not found in this collection.");
    dao_detail::FillFieldInfo(cursor.fields()[std::size_t(index)], cursor.table(), info,
                              infoOptions);
}

long CDaoRecordset::GetRecordCount() {
    return Live(m_cursor).RecordCount();
}

COleVariant CDaoRecordset::GetBookmark() {
    return Live(m_cursor).Bookmark();
}

void CDaoRecordset::SetBookmark(COleVariant bookmark) {
    Live(m_cursor).MoveToBookmark(bookmark);
}

COleVariant CDaoRecordset::GetLastModifiedBookmark() {
    return Live(m_cursor).LastModifiedBookmark();
}

CString CDaoRecordset::DescribeNavigationPlan(const char* comparison) {
    return CString(Live(m_cursor).DescribePlan(comparison));
}
