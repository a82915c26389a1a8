// The host's chunks as filed into folders by their DirID.
#pragma once

#include "interface/explorer_callback.h"
#include "platform/collections.h"

#include <cstdint>

// Field numbers of CHUNKS that the library relies on.
namespace chunk_field {
constexpr int SysId = 1;
constexpr int UsrId = 2;
constexpr int ModifyDate = 5;
constexpr int Text = 11;
constexpr int DirId = 18;
constexpr int Picture = 22;
} // namespace chunk_field

std::int32_t GetChunkFolder(ChunkId key);
int HasChunks(FolderId folder);
int GetFolderChunks(FolderId folder, CDWordArray& keys, CStringArray* names);
// Items are ItemTags: kind in bits 31-30 (0 folder, else chunk), key in bits 29-0.
int MoveItems(const CDWordArray& items, FolderId target);
