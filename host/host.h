// The host side of EXPLORER_CALLBACK: the library's requests carried out on the project's chunks
// and entries, with permissions the host decides and a log of every request.
#pragma once

#include "host/chunk_table.h"
#include "interface/explorer_callback.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace refhost {

// The callback slots are plain function pointers without a context argument, so they act on one
// active host: a Host becomes active when it is made and hands the part back to the one active
// before it when it ends. One host per project database; hosts nest, they do not run side by side.
class Host {
public:
    explicit Host(CDaoDatabase& database);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The active host, or null.
    static Host* Active();
    // The record to hand to EXPL_Init; it stays valid for the life of the process.
    static EXPLORER_CALLBACK* Callbacks();

    ChunkTable& chunks() { return m_chunks; }

    // Permissions: everything is allowed until refused here. A refused removal or rename is
    // refused both when the library asks for permission and when it asks for the change itself.
    void RefuseChunkRemoval(ChunkId chunk, bool refuse = true);
    void RefuseChunkRename(ChunkId chunk, bool refuse = true);
    void RefuseEntryRemoval(ChunkId chunk, EntryId entry, bool refuse = true);
    void RefuseEntryRename(ChunkId chunk, EntryId entry, bool refuse = true);
    void RefuseChunkCreation(bool refuse = true) { m_refuseCreation = refuse; }

    // One line per request, in order: the slot, its arguments and the answer, as in
    // `RenameChunk(5, "Neu") -> 1`.
    const std::vector<std::string>& calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }

    // The slots' work, also callable directly.
    ChunkId CreateChunk(const char* name, FolderId folder);
    std::int32_t MayRemoveChunk(ChunkId chunk);
    std::int32_t RemoveChunk(ChunkId chunk);
    std::int32_t MayRemoveEntry(ChunkId chunk, EntryId entry);
    std::int32_t RemoveEntry(ChunkId chunk, EntryId entry);
    std::int32_t MayRenameChunk(ChunkId chunk);
    std::int32_t RenameChunk(ChunkId chunk, const char* name);
    std::int32_t MayRenameEntry(ChunkId chunk, EntryId entry);
    std::int32_t RenameEntry(ChunkId chunk, EntryId entry, const char* name);
    HGLOBAL GetEntries(ChunkId chunk);

private:
    using EntryRef = std::pair<ChunkId, EntryId>;

    // Runs `work`; a database fault is shown to the user and answered with `failure`.
    template <typename Result, typename Work> Result Guarded(Result failure, Work&& work);
    void Log(const std::string& call, const std::string& result);

    ChunkTable m_chunks;
    Host* m_previous;
    std::set<ChunkId> m_noChunkRemoval;
    std::set<ChunkId> m_noChunkRename;
    std::set<EntryRef> m_noEntryRemoval;
    std::set<EntryRef> m_noEntryRename;
    bool m_refuseCreation = false;
    std::vector<std::string> m_calls;
};

} // namespace refhost
