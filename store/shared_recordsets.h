// The two process-wide table-type recordsets on EXPLORER and CHUNKS, opened by nesting scopes.
#pragma once

#include "platform/dao/dao.h"

#include <cstdint>

extern CDaoRecordset ExplorerRecordset;
extern CDaoRecordset ChunksRecordset;

// While at least one scope exists the table's shared recordset is open; the outermost scope
// chooses the current index (null: the table's default index).
class ExplorerTableScope {
public:
    explicit ExplorerTableScope(CDaoDatabase* database, const char* indexName = nullptr);
    ~ExplorerTableScope();
    ExplorerTableScope(const ExplorerTableScope&) = delete;
    ExplorerTableScope& operator=(const ExplorerTableScope&) = delete;
};

class ChunksTableScope {
public:
    explicit ChunksTableScope(CDaoDatabase* database, const char* indexName = nullptr);
    ~ChunksTableScope();
    ChunksTableScope(const ChunksTableScope&) = delete;
    ChunksTableScope& operator=(const ChunksTableScope&) = delete;
};

// Seek "=" on the shared recordset's current index; nonzero when found (the record is current).
// Zero too when the recordset is not open because its scope failed to open the table.
int SeekFolder(std::uint32_t key);
int SeekChunk(std::uint32_t key);

// Drops an edit left pending by a failed write, so that no later Update of the recordset stores it.
void CancelPendingEdit(CDaoRecordset& records);

// Nesting depth of the scopes (for tests of the scope discipline).
int ExplorerScopeDepth();
int ChunksScopeDepth();
