#include "store/shared_recordsets.h"

#include "interface/context.h"

#include <cstring>

CDaoRecordset ExplorerRecordset;
CDaoRecordset ChunksRecordset;

namespace {

int explorerDepth = 0;
int chunksDepth = 0;

constexpr const char kOwnerIndex[] = "OWNER";

bool HasIndex(CDaoTableDef& table, const char* name) {
    const short count = table.GetIndexCount();
    for (short i = 0; i < count; ++i) {
        CDaoIndexInfo info;
        table.GetIndexInfo(i, info, AFX_DAO_PRIMARY_INFO);
        if (info.m_strName.CompareNoCase(name) == 0) // index names ignore case, as the engine's do
            return true;
    }
    return false;
}

// Tables made before the owner index existed get it on first use.
void EnsureOwnerIndex(CDaoTableDef& table) {
    if (HasIndex(table, kOwnerIndex) || IsReadOnly())
        return;
    CDaoIndexFieldInfo field;
    field.m_strName = "ID_OWNER";
    field.m_bDescending = FALSE;
    CDaoIndexInfo index;
    index.m_strName = kOwnerIndex;
    index.m_pFieldInfos = &field;
    index.m_nFields = 1;
    table.CreateIndex(index);
}

// Opens `recordset` on `tableName` for the outermost scope; failures are shown and leave it closed.
void OpenSharedRecordset(CDaoRecordset& recordset, CDaoDatabase* database, const char* tableName,
                         const char* indexName, const char* defaultIndex, bool ownerIndexOnDemand) {
    if (!database || !database->IsOpen())
        return;
    try {
        CDaoTableDef table(database);
        table.Open(tableName);
        if (ownerIndexOnDemand && indexName && std::strcmp(indexName, kOwnerIndex) == 0)
            EnsureOwnerIndex(table);
        recordset.Open(&table, dbOpenTable, IsReadOnly() ? dbReadOnly : 0);
        recordset.SetCurrentIndex(indexName ? indexName : defaultIndex);
        table.Close();
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        if (recordset.IsOpen())
            recordset.Close();
    }
}

void EndSharedScope(CDaoRecordset& recordset, int& depth) {
    if (--depth == 0 && recordset.IsOpen()) {
        try {
            recordset.Close();
        } catch (const CException&) {
            // Closing drops a pending edit; nothing is left to report from a destructor.
        }
    }
}

int SeekShared(CDaoRecordset& recordset, std::uint32_t key) {
    if (!recordset.IsOpen())
        return 0;
    COleVariant value(static_cast<std::int32_t>(key));
    return recordset.Seek("=", &value) ? 1 : 0;
}

} // namespace

ExplorerTableScope::ExplorerTableScope(CDaoDatabase* database, const char* indexName) {
    if (explorerDepth == 0)
        OpenSharedRecordset(ExplorerRecordset, database, "EXPLORER", indexName, "I1", true);
    ++explorerDepth;
}

ExplorerTableScope::~ExplorerTableScope() {
    EndSharedScope(ExplorerRecordset, explorerDepth);
}

ChunksTableScope::ChunksTableScope(CDaoDatabase* database, const char* indexName) {
    if (chunksDepth == 0)
        OpenSharedRecordset(ChunksRecordset, database, "CHUNKS", indexName, "CSysID_INDEX", false);
    ++chunksDepth;
}

ChunksTableScope::~ChunksTableScope() {
    EndSharedScope(ChunksRecordset, chunksDepth);
}

int SeekFolder(std::uint32_t key) {
    return SeekShared(ExplorerRecordset, key);
}

int SeekChunk(std::uint32_t key) {
    return SeekShared(ChunksRecordset, key);
}

void CancelPendingEdit(CDaoRecordset& records) {
    try {
        if (records.IsOpen() && records.GetEditMode() != dbEditNone)
            records.CancelUpdate();
    } catch (const CException&) {
    }
}

int ExplorerScopeDepth() {
    return explorerDepth;
}

int ChunksScopeDepth() {
    return chunksDepth;
}
