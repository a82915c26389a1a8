// The folder table: create, rename, delete, look up and walk folders.
#pragma once

#include "interface/explorer_callback.h"
#include "platform/collections.h"
#include "platform/cstring.h"

#include <cstdint>

// Field numbers of EXPLORER.
namespace explorer_field {
constexpr int Code = 1;
constexpr int Id = 2;
constexpr int Name = 3;
constexpr int Date = 4;
constexpr int Info = 5;
constexpr int Owner = 6;
constexpr int PassR = 7;
constexpr int PassW = 8;
} // namespace explorer_field

// What PASS_R and PASS_W hold in every folder the library creates.
constexpr const char kPasswordPlaceholder[] = "-";

// Creates EXPLORER with its indexes and the root folder (see EXPL_CreateNewTable).
int CreateExplorerTable();

std::int32_t CreateFolderRecord(const char* name, std::int32_t owner, std::int32_t key);
std::int32_t NextFolderKey();
int RenameFolderRecord(FolderId key, const char* name);
int DeleteFolderRecord(FolderId key);
int FolderExists(FolderId key);
std::int32_t GetFolderOwner(FolderId key);
int HasSubFolders(FolderId key);
int GetSubFolders(FolderId key, CDWordArray& keys, CStringArray* names);
int GetFolderPath(FolderId key, CString& path);
int IsDescendant(FolderId folder, FolderId candidate);
