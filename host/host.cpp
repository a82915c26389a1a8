#include "host/host.h"

#include "host/entry_table.h"

namespace refhost {
namespace {

Host* g_activeHost = nullptr;

std::string Quoted(const char* text) {
    return text ? '"' + std::string(text) + '"' : "null";
}

std::string Args(ChunkId chunk) {
    return std::to_string(chunk);
}
std::string Args(ChunkId chunk, EntryId entry) {
    return std::to_string(chunk) + ", " + std::to_string(entry);
}

bool HasEntry(ChunkTable& chunks, ChunkId chunk, EntryId entry) {
    for (const Entry& candidate : chunks.Entries(chunk)) {
        if (candidate.key == entry)
            return true;
    }
    return false;
}

// Without an active host every request is refused.
ChunkId SlotCreateChunk(const char* name, FolderId folder) {
    return g_activeHost ? g_activeHost->CreateChunk(name, folder) : kNoChunk;
}
std::int32_t SlotMayRemoveChunk(ChunkId chunk) {
    return g_activeHost ? g_activeHost->MayRemoveChunk(chunk) : 0;
}
std::int32_t SlotRemoveChunk(ChunkId chunk) {
    return g_activeHost ? g_activeHost->RemoveChunk(chunk) : 0;
}
std::int32_t SlotMayRemoveEntry(ChunkId chunk, EntryId entry) {
    return g_activeHost ? g_activeHost->MayRemoveEntry(chunk, entry) : 0;
}
std::int32_t SlotRemoveEntry(ChunkId chunk, EntryId entry) {
    return g_activeHost ? g_activeHost->RemoveEntry(chunk, entry) : 0;
}
std::int32_t SlotMayRenameChunk(ChunkId chunk) {
    return g_activeHost ? g_activeHost->MayRenameChunk(chunk) : 0;
}
std::int32_t SlotRenameChunk(ChunkId chunk, const char* name) {
    return g_activeHost ? g_activeHost->RenameChunk(chunk, name) : 0;
}
std::int32_t SlotMayRenameEntry(ChunkId chunk, EntryId entry) {
    return g_activeHost ? g_activeHost->MayRenameEntry(chunk, entry) : 0;
}
std::int32_t SlotRenameEntry(ChunkId chunk, EntryId entry, const char* name) {
    return g_activeHost ? g_activeHost->RenameEntry(chunk, entry, name) : 0;
}
HGLOBAL SlotGetEntries(ChunkId chunk) {
    return g_activeHost ? g_activeHost->GetEntries(chunk) : nullptr;
}

EXPLORER_CALLBACK g_callbacks{
    SlotCreateChunk, SlotMayRemoveChunk, SlotRemoveChunk, SlotMayRemoveEntry, SlotRemoveEntry,
    nullptr,         SlotMayRenameChunk, SlotRenameChunk, SlotMayRenameEntry, SlotRenameEntry,
    SlotGetEntries,
};

void SetRefused(bool refuse, auto& set, const auto& key) {
    if (refuse)
        set.insert(key);
    else
        set.erase(key);
}

} // namespace

Host::Host(CDaoDatabase& database) : m_chunks(database), m_previous(g_activeHost) {
    g_activeHost = this;
}

Host::~Host() {
    if (g_activeHost == this)
        g_activeHost = m_previous;
}

Host* Host::Active() {
    return g_activeHost;
}

EXPLORER_CALLBACK* Host::Callbacks() {
    return &g_callbacks;
}

void Host::RefuseChunkRemoval(ChunkId chunk, bool refuse) {
    SetRefused(refuse, m_noChunkRemoval, chunk);
}
void Host::RefuseChunkRename(ChunkId chunk, bool refuse) {
    SetRefused(refuse, m_noChunkRename, chunk);
}
void Host::RefuseEntryRemoval(ChunkId chunk, EntryId entry, bool refuse) {
    SetRefused(refuse, m_noEntryRemoval, EntryRef{chunk, entry});
}
void Host::RefuseEntryRename(ChunkId chunk, EntryId entry, bool refuse) {
    SetRefused(refuse, m_noEntryRename, EntryRef{chunk, entry});
}

template <typename Result, typename Work> Result Host::Guarded(Result failure, Work&& work) {
    try {
        return work();
    } catch (const CException& error) {
        m_calls.push_back("  failed: " + error.GetErrorMessage().str());
        error.ReportError(MB_OK);
    } catch (const std::exception& error) {
        m_calls.push_back(std::string("  failed: ") + error.what());
    }
    return failure;
}

void Host::Log(const std::string& call, const std::string& result) {
    m_calls.push_back(call + " -> " + result);
}

ChunkId Host::CreateChunk(const char* name, FolderId folder) {
    const ChunkId key = Guarded(
        kNoChunk, [&] { return m_refuseCreation ? kNoChunk : m_chunks.Create(name, folder); });
    Log("CreateChunk(" + Quoted(name) + ", " + std::to_string(folder) + ")",
        key == kNoChunk ? "0xFFFFFFFF" : std::to_string(key));
    return key;
}

std::int32_t Host::MayRemoveChunk(ChunkId chunk) {
    const std::int32_t allowed = Guarded(
        0, [&] { return !m_noChunkRemoval.contains(chunk) && m_chunks.Exists(chunk) ? 1 : 0; });
    Log("MayRemoveChunk(" + Args(chunk) + ")", std::to_string(allowed));
    return allowed;
}

std::int32_t Host::RemoveChunk(ChunkId chunk) {
    const std::int32_t done = Guarded(
        0, [&] { return !m_noChunkRemoval.contains(chunk) && m_chunks.Remove(chunk) ? 1 : 0; });
    Log("RemoveChunk(" + Args(chunk) + ")", std::to_string(done));
    return done;
}

std::int32_t Host::MayRemoveEntry(ChunkId chunk, EntryId entry) {
    const std::int32_t allowed = Guarded(0, [&] {
        return !m_noEntryRemoval.contains({chunk, entry}) && HasEntry(m_chunks, chunk, entry) ? 1
                                                                                              : 0;
    });
    Log("MayRemoveEntry(" + Args(chunk, entry) + ")", std::to_string(allowed));
    return allowed;
}

std::int32_t Host::RemoveEntry(ChunkId chunk, EntryId entry) {
    const std::int32_t done = Guarded(0, [&] {
        return !m_noEntryRemoval.contains({chunk, entry}) && m_chunks.RemoveEntry(chunk, entry) ? 1
                                                                                                : 0;
    });
    Log("RemoveEntry(" + Args(chunk, entry) + ")", std::to_string(done));
    return done;
}

std::int32_t Host::MayRenameChunk(ChunkId chunk) {
    const std::int32_t allowed = Guarded(
        0, [&] { return !m_noChunkRename.contains(chunk) && m_chunks.Exists(chunk) ? 1 : 0; });
    Log("MayRenameChunk(" + Args(chunk) + ")", std::to_string(allowed));
    return allowed;
}

std::int32_t Host::RenameChunk(ChunkId chunk, const char* name) {
    const std::int32_t done = Guarded(0, [&] {
        return !m_noChunkRename.contains(chunk) && m_chunks.Rename(chunk, name) ? 1 : 0;
    });
    Log("RenameChunk(" + Args(chunk) + ", " + Quoted(name) + ")", std::to_string(done));
    return done;
}

std::int32_t Host::MayRenameEntry(ChunkId chunk, EntryId entry) {
    const std::int32_t allowed = Guarded(0, [&] {
        return !m_noEntryRename.contains({chunk, entry}) && HasEntry(m_chunks, chunk, entry) ? 1
                                                                                             : 0;
    });
    Log("MayRenameEntry(" + Args(chunk, entry) + ")", std::to_string(allowed));
    return allowed;
}

std::int32_t Host::RenameEntry(ChunkId chunk, EntryId entry, const char* name) {
    const std::int32_t done = Guarded(0, [&] {
        return !m_noEntryRename.contains({chunk, entry}) && m_chunks.RenameEntry(chunk, entry, name)
                   ? 1
                   : 0;
    });
    Log("RenameEntry(" + Args(chunk, entry) + ", " + Quoted(name) + ")", std::to_string(done));
    return done;
}

HGLOBAL Host::GetEntries(ChunkId chunk) {
    std::size_t count = 0;
    HGLOBAL block = Guarded(HGLOBAL{}, [&] {
        const std::vector<Entry> entries = m_chunks.Entries(chunk);
        count = std::min(entries.size(), kMaxTableEntries);
        return BuildEntryTable(entries);
    });
    Log("GetEntries(" + Args(chunk) + ")", block ? std::to_string(count) + " entries" : "null");
    return block;
}

} // namespace refhost
