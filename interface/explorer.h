// The library's entry points: what a host includes.
//
// A host opens its project database, calls EXPL_Init once with it, its callback record and a
// read-only flag, and may then call every other entry point, one at a time, from its user-interface
// thread. Blocks returned as void* are global memory handles (HGLOBAL) that the host frees with
// GlobalFree.
#pragma once

#include "interface/explorer_callback.h"
#include "platform/cstring.h"
#include "platform/dao/dao.h"

#include <cstdint>

int EXPL_Init(CDaoDatabase* database, EXPLORER_CALLBACK* callback, int readOnly);

// The browser dialog. Each returns 1 when the user confirmed with OK and only then writes its
// reference parameters; 0 leaves them as they were.
int EXPL_GetFolder(std::uint32_t& item, std::uint32_t& folder, const char* title);
int EXPL_GetTarget(std::uint32_t& item, std::uint32_t& entry, std::uint32_t& folder,
                   const char* title);
// `chunkList` receives a block of the picked chunk keys (a 32-bit count, then the keys) when two
// or more were chosen, else null.
int EXPL_GetChunk(std::uint32_t& chunk, int& readOnlyCheck, std::uint32_t& folder, void*& chunkList,
                  const char* title);
int EXPL_ChunkSaveAs(std::uint32_t& chunk, CString& name, std::uint32_t& folder, const char* title);

int EXPL_CreateNewTable();
std::int32_t EXPL_CreateFolder(const char* name, std::int32_t owner, std::int32_t key);
int EXPL_IsFolderExist(std::uint32_t key);
int EXPL_GetPath(std::uint32_t key, CString& path);
void* EXPL_GetDirIDs(std::uint32_t key, int& count);
