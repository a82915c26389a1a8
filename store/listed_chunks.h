// The records of listed chunks, looked up one after another.
#pragma once

#include "platform/collections.h"
#include "platform/dao/dao.h"
#include "store/dao_record.h"

#include <cstdint>

// Chunks listed by GetFolderChunks lie in that order on the folder index, so a listing that looks
// them up in turn finds each one a step further on there. A seek by key searches the key index and
// then the table for every chunk instead, which for a folder whose chunks were filed over time,
// scattered through the table, is most of what a listing costs. A key the walk does not meet where
// it expects it (a chunk moved or removed since the list was read, a list in another order) ends
// the walk: from there on every key is sought, just as SeekChunk does.
//
// Used inside a scope of the shared chunk recordset, whose current index stays as it is.
class ListedChunkReader {
public:
    explicit ListedChunkReader(const CDWordArray& keys);
    ListedChunkReader(const ListedChunkReader&) = delete;
    ListedChunkReader& operator=(const ListedChunkReader&) = delete;

    // Makes the record of keys[i] current, nonzero when found; 0 when no chunk has the key, as
    // SeekChunk answers. Keys are asked for in list order.
    int Find(int i);
    // The fields of the record found last.
    CDaoRecord& Record() { return m_onWalk ? m_walkRecord : m_sharedRecord; }
    // Whether the keys are still being met on the walk rather than sought.
    bool IsWalking() const { return m_state == State::Walking; }

private:
    enum class State { NotStarted, Walking, Seeking };

    // On the record of keys[0] that the seek found: the walk goes to the same record on the
    // folder index.
    bool StartWalk();
    bool StepTo(std::uint32_t key);

    const CDWordArray& m_keys;
    CDaoRecordset m_walk;
    CDaoRecord m_walkRecord{&m_walk};
    CDaoRecord m_sharedRecord;
    State m_state = State::NotStarted;
    bool m_onWalk = false;
    int m_at = -1; // the list position of the walk's record
    std::int32_t m_folder = 0;
};
