#include "platform/global_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_set>

// The handle is the address of a control record; the data lives in a separate allocation so that
// a moveable block can really move. Handles are checked against a registry of live blocks rather
// than by a magic number inside the record: reading a freed record's magic would itself be a
// use-after-free. A freed address that the heap hands out again for a new block is, as on Win32,
// indistinguishable from that new block.
struct GlobalBlock {
    UINT flags;
    UINT lockCount = 0;
    std::size_t size;
    std::unique_ptr<unsigned char[]> data;
};

namespace {

constexpr UINT kKnownFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;
// Beyond this no allocator could succeed; refusing up front also keeps the sanitizers' allocator,
// which aborts on absurd requests, out of it.
constexpr std::size_t kMaxBlockSize = PTRDIFF_MAX;

struct Registry {
    std::mutex mutex;
    std::unordered_set<const GlobalBlock*> live;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool IsLive(HGLOBAL block) {
    if (!block)
        return false;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.live.contains(block);
}

// Null when the bytes cannot be had; a zero-size block still gets a distinct, lockable address.
std::unique_ptr<unsigned char[]> AllocateData(std::size_t bytes, bool zero) {
    if (bytes > kMaxBlockSize)
        return nullptr;
    std::unique_ptr<unsigned char[]> data(
        new (std::nothrow) unsigned char[std::max<std::size_t>(bytes, 1)]);
    if (data && zero)
        std::memset(data.get(), 0, bytes);
    return data;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
    if (flags & ~kKnownFlags)
        return nullptr;
    auto data = AllocateData(bytes, flags & GMEM_ZEROINIT);
    if (!data)
        return nullptr;
    std::unique_ptr<GlobalBlock> block(new (std::nothrow)
                                           GlobalBlock{flags, 0, bytes, std::move(data)});
    if (!block)
        return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    try {
        registry.live.insert(block.get());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return block.release();
}

void* GlobalLock(HGLOBAL block) {
    if (!IsLive(block))
        return nullptr;
    ++block->lockCount;
    return block->data.get();
}

BOOL GlobalUnlock(HGLOBAL block) {
    if (!IsLive(block) || block->lockCount == 0)
        return FALSE;
    --block->lockCount;
    return block->lockCount > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    if (!block)
        return nullptr;
    {
        Registry& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        if (registry.live.erase(block) == 0)
            return block;
    }
    // Win32 frees a locked block as well; pointers into it are then dangling there too.
    delete block;
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL block) {
    return IsLive(block) ? block->size : 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags) {
    if (!IsLive(block) || (flags & ~kKnownFlags))
        return nullptr;
    // Pointers handed out by GlobalLock stay valid: a locked or fixed block keeps its address and
    // can therefore only shrink.
    const bool mayMove = (block->flags & GMEM_MOVEABLE) && block->lockCount == 0;
    if (!mayMove) {
        if (bytes > block->size)
            return nullptr;
        block->size = bytes;
        return block;
    }
    // A moveable block always moves, so that code keeping a pointer across an unlock shows up.
    auto data = AllocateData(bytes, false);
    if (!data)
        return nullptr;
    const std::size_t kept = std::min(bytes, block->size);
    std::memcpy(data.get(), block->data.get(), kept);
    if (flags & GMEM_ZEROINIT)
        std::memset(data.get() + kept, 0, bytes - kept);
    block->data = std::move(data);
    block->size = bytes;
    return block;
}

UINT GlobalLockCount(HGLOBAL block) {
    return IsLive(block) ? block->lockCount : 0;
}
