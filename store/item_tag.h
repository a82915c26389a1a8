// The 32-bit item data of every tree item and list row: the kind in bits 31-30, the key in 29-0.
#pragma once

#include <cstdint>

using ItemTag = std::uint32_t;

enum class ItemKind : std::uint32_t { Folder = 0, Chunk = 1, Entry = 2 };

constexpr ItemTag NoItem = 0xFFFFFFFFu;
constexpr std::uint32_t kTagKeyMask = 0x3FFFFFFFu;

constexpr ItemTag MakeTag(std::uint32_t key, ItemKind kind) {
    return (static_cast<std::uint32_t>(kind) << 30) | (key & kTagKeyMask);
}
constexpr ItemKind TagKind(ItemTag tag) {
    return static_cast<ItemKind>(tag >> 30);
}
constexpr std::uint32_t TagKey(ItemTag tag) {
    return tag & kTagKeyMask;
}
