#include "store/listed_chunks.h"

#include "interface/context.h"
#include "store/chunk_records.h"
#include "store/shared_recordsets.h"

namespace {

constexpr const char kFolderIndex[] = "DirID_INDEX";

// Below this many keys the seeks cost less than opening the walk.
constexpr int kFewestForWalk = 32;

// Whether the chunk recordset's current index finds at most one record per chunk key: then the
// record the walk meets with a key is the one a seek finds.
bool KeyIndexIsUnique(CDaoTableDef& table) {
    const CString index = ChunksRecordset.GetCurrentIndex();
    if (index.IsEmpty())
        return false;
    CDaoIndexInfo info;
    table.GetIndexInfo(index, info);
    CDaoFieldInfo keyField;
    table.GetFieldInfo(chunk_field::SysId - 1, keyField);
    return info.m_bUnique && info.m_nFields == 1 &&
           info.m_pFieldInfos[0].m_strName.CompareNoCase(keyField.m_strName) == 0;
}

} // namespace

ListedChunkReader::ListedChunkReader(const CDWordArray& keys)
    : m_keys(keys), m_sharedRecord(&ChunksRecordset) {}

int ListedChunkReader::Find(int i) {
    if (m_state == State::Walking) {
        if (i == m_at + 1 && StepTo(m_keys[i])) {
            m_at = i;
            return 1;
        }
        m_state = State::Seeking;
    }
    m_onWalk = false;
    const int found = SeekChunk(m_keys[i]);
    if (m_state == State::NotStarted) {
        m_state = State::Seeking;
        if (found && i == 0 && m_keys.GetSize() >= kFewestForWalk && StartWalk()) {
            m_state = State::Walking;
            m_at = 0;
            m_onWalk = true;
        }
    }
    return found;
}

bool ListedChunkReader::StartWalk() {
    if (!m_sharedRecord.GetField(chunk_field::DirId, m_folder) || !g_context.database)
        return false;
    try {
        CDaoTableDef table(g_context.database);
        table.Open("CHUNKS");
        if (!KeyIndexIsUnique(table))
            return false;
        m_walk.Open(&table, dbOpenTable, dbReadOnly);
        m_walk.SetCurrentIndex(kFolderIndex);
        COleVariant folder(m_folder);
        std::int32_t key = 0;
        if (m_walk.Seek("=", &folder) && m_walkRecord.GetField(chunk_field::SysId, key) &&
            static_cast<std::uint32_t>(key) == m_keys[0])
            return true;
    } catch (const CException&) {
        // A table without the folder index, say: the seeks find every chunk all the same.
    }
    if (m_walk.IsOpen())
        m_walk.Close();
    return false;
}

bool ListedChunkReader::StepTo(std::uint32_t key) {
    try {
        m_walk.MoveNext();
    } catch (const CException&) {
        return false; // the seek that follows answers as it would have anyway
    }
    if (m_walk.IsEOF())
        return false;
    std::int32_t folder = 0;
    std::int32_t found = 0;
    return m_walkRecord.GetField(chunk_field::DirId, folder) && folder == m_folder &&
           m_walkRecord.GetField(chunk_field::SysId, found) &&
           static_cast<std::uint32_t>(found) == key;
}
