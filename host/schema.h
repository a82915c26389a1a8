// The reference host's own tables: CHUNKS with its items, COLLECTION with the folder key counter
// and ENTRIES with the entries inside chunks. Field positions count from 0, as the recordset does.
#pragma once

#include "platform/dao/dao.h"

#include <array>

namespace refhost {

constexpr const char kChunksTable[] = "CHUNKS";
constexpr const char kCollectionTable[] = "COLLECTION";
constexpr const char kEntriesTable[] = "ENTRIES";

constexpr const char kChunkKeyIndex[] = "CSysID_INDEX";
constexpr const char kChunkFolderIndex[] = "DirID_INDEX";
constexpr const char kEntryChunkIndex[] = "ChunkSysID_INDEX";

struct FieldDef {
    const char* name;
    short type;
    long size;
};

// CHUNKS in field order: the library reads fields 1, 2, 5, 11, 18 and 22 by number, and shows the
// fields with the extra-column prefix as list columns.
namespace chunk_col {
constexpr int SysId = 0;
constexpr int UsrId = 1;
constexpr int TextTitle = 2;
constexpr int CreateDate = 3;
constexpr int ModifyDate = 4;
constexpr int Ver = 5;
constexpr int ChunkFlags = 6;
constexpr int Links = 7;
constexpr int Bookmarks = 8;
constexpr int Comments = 9;
constexpr int Text = 10;
constexpr int Ole = 11;
constexpr int Ocx = 12;
constexpr int Fonts = 13;
constexpr int Attributes = 14;
constexpr int DataSegm = 15;
constexpr int Objects = 16;
constexpr int DirId = 17;
constexpr int Author = 18;
constexpr int Keywords = 19;
constexpr int Revision = 20;
constexpr int Preview = 21;
constexpr int Photographer = 22;
constexpr int PictureNumber = 23;
constexpr int Released = 24;
constexpr int Fee = 25;
constexpr int ShotDate = 26;
constexpr int Exposure = 27;
} // namespace chunk_col

inline constexpr std::array<FieldDef, 28> kChunkFields{{
    {"ChunkSysID", dbLong, 4},
    {"ChunkUsrID", dbText, 255},
    {"TextTitle", dbText, 255},
    {"CreateDate", dbDate, 8},
    {"ModifyDate", dbDate, 8},
    {"Ver", dbLong, 4},
    {"ChunkFlags", dbLong, 4},
    {"Links", dbLongBinary, 0},
    {"Bookmarks", dbLongBinary, 0},
    {"Comments", dbMemo, 0},
    {"Text", dbLongBinary, 0},
    {"OLE", dbLongBinary, 0},
    {"OCX", dbLongBinary, 0},
    {"Fonts", dbLongBinary, 0},
    {"Attributes", dbLong, 4},
    {"DataSegm", dbLongBinary, 0},
    {"Objects", dbLongBinary, 0},
    {"DirID", dbLong, 4},
    {"Author", dbText, 64},
    {"Keywords", dbText, 255},
    {"Revision", dbInteger, 2},
    {"Preview", dbLongBinary, 0},
    {"ADD_Fotograf", dbText, 64},
    {"ADD_Bildnummer", dbLong, 4},
    {"ADD_Freigegeben", dbBoolean, 1},
    {"ADD_Honorar", dbCurrency, 8},
    {"ADD_Aufnahmedatum", dbDate, 8},
    {"ADD_Belichtung", dbDouble, 8},
}};

// The first extra column; every field from here on carries the prefix.
constexpr int kFirstExtraColumn = chunk_col::Photographer;

namespace collection_col {
constexpr int SysId = 0;
constexpr int Title = 1;
constexpr int CreateDate = 2;
constexpr int Version = 3;
constexpr int MaxFolderSysId = 4;
} // namespace collection_col

inline constexpr std::array<FieldDef, 5> kCollectionFields{{
    {"CollectionSysID", dbLong, 4},
    {"Title", dbText, 255},
    {"CreateDate", dbDate, 8},
    {"Version", dbLong, 4},
    {"MaxFolderSysID", dbLong, 4},
}};

namespace entry_col {
constexpr int ChunkSysId = 0;
constexpr int EntryKey = 1;
constexpr int Name = 2;
} // namespace entry_col

inline constexpr std::array<FieldDef, 3> kEntryFields{{
    {"ChunkSysID", dbLong, 4},
    {"EntryKey", dbLong, 4},
    {"Name", dbText, 255},
}};

// Longest name a chunk or an entry may have, in bytes.
constexpr int kMaxNameLength = 255;
// What COLLECTION.Version holds for the tables made here.
constexpr int kSchemaVersion = 1;

// Creates CHUNKS, COLLECTION (with its one record, title `title`) and ENTRIES with their indexes.
// Throws CDaoException when a table exists already.
void CreateHostTables(CDaoDatabase& database, const char* title);

} // namespace refhost
