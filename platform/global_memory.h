// Global memory: blocks handed across the library boundary by handle, locked to get a pointer.
#pragma once

#include "platform/win_types.h"

#include <cstddef>

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT; // 66

// Null when the size cannot be had (0 bytes is a valid, empty block). Unknown flag bits are
// refused.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// A pointer to the block, valid until the matching GlobalUnlock; null for a handle that is not
// live.
void* GlobalLock(HGLOBAL block);
// FALSE once the lock count is back at 0 (as Win32 reports it), TRUE while still locked.
BOOL GlobalUnlock(HGLOBAL block);
// Null on success; the handle itself when it could not be freed (not a live block).
HGLOBAL GlobalFree(HGLOBAL block);
// The block's size in bytes; 0 for a handle that is not live.
std::size_t GlobalSize(HGLOBAL block);
// Resizes; a moveable block that is not locked may move. Null on failure (the block is unchanged).
HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags);
// The current lock count of a live block.
UINT GlobalLockCount(HGLOBAL block);

// Locks a block for the lifetime of the guard.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : m_block(block), m_data(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (m_data)
            GlobalUnlock(m_block);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* data() const { return m_data; }
    std::size_t size() const { return m_data ? GlobalSize(m_block) : 0; }

private:
    HGLOBAL m_block;
    void* m_data;
};

// Owns a block until it is released to someone else.
class GlobalBlockOwner {
public:
    explicit GlobalBlockOwner(HGLOBAL block = nullptr) : m_block(block) {}
    ~GlobalBlockOwner() {
        if (m_block)
            GlobalFree(m_block);
    }
    GlobalBlockOwner(const GlobalBlockOwner&) = delete;
    GlobalBlockOwner& operator=(const GlobalBlockOwner&) = delete;

    HGLOBAL get() const { return m_block; }
    HGLOBAL release() {
        HGLOBAL block = m_block;
        m_block = nullptr;
        return block;
    }

private:
    HGLOBAL m_block;
};
