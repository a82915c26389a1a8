#include "host/schema.h"

#include "platform/ole_date_time.h"

#include <span>

namespace refhost {
namespace {

long AttributesOf(short type) {
    switch (type) {
    case dbText:
    case dbMemo:
    case dbLongBinary:
    case dbBinary:
        return dbVariableField;
    default:
        return dbFixedField;
    }
}

void AddFields(CDaoTableDef& table, std::span<const FieldDef> fields) {
    for (const FieldDef& field : fields)
        table.CreateField(field.name, field.type, field.size, AttributesOf(field.type));
}

void AddIndex(CDaoTableDef& table, const char* name, const char* field, bool primary, bool unique) {
    CDaoIndexFieldInfo indexField;
    indexField.m_strName = field;
    CDaoIndexInfo index;
    index.m_strName = name;
    index.m_pFieldInfos = &indexField;
    index.m_nFields = 1;
    index.m_bPrimary = primary ? TRUE : FALSE;
    index.m_bUnique = unique ? TRUE : FALSE;
    table.CreateIndex(index);
}

void CreateChunksTable(CDaoDatabase& database) {
    CDaoTableDef table(&database);
    table.Create(kChunksTable);
    AddFields(table, kChunkFields);
    table.Append();
    AddIndex(table, kChunkKeyIndex, kChunkFields[chunk_col::SysId].name, true, true);
    AddIndex(table, kChunkFolderIndex, kChunkFields[chunk_col::DirId].name, false, false);
    table.Close();
}

void CreateCollectionTable(CDaoDatabase& database, const char* title) {
    CDaoTableDef table(&database);
    table.Create(kCollectionTable);
    AddFields(table, kCollectionFields);
    table.Append();
    table.Close();

    CDaoRecordset records(&database);
    records.Open(dbOpenTable, kCollectionTable);
    records.AddNew();
    records.SetFieldValue(collection_col::SysId, COleVariant(std::int32_t{1}));
    records.SetFieldValue(collection_col::Title, COleVariant(title));
    records.SetFieldValue(collection_col::CreateDate, COleVariant(COleDateTime::GetCurrentTime()));
    records.SetFieldValue(collection_col::Version, COleVariant(std::int32_t{kSchemaVersion}));
    records.SetFieldValue(collection_col::MaxFolderSysId, COleVariant(std::int32_t{0}));
    records.Update();
    records.Close();
}

void CreateEntriesTable(CDaoDatabase& database) {
    CDaoTableDef table(&database);
    table.Create(kEntriesTable);
    AddFields(table, kEntryFields);
    table.Append();
    AddIndex(table, kEntryChunkIndex, kEntryFields[entry_col::ChunkSysId].name, false, false);
    table.Close();
}

} // namespace

void CreateHostTables(CDaoDatabase& database, const char* title) {
    CreateChunksTable(database);
    CreateCollectionTable(database, title);
    CreateEntriesTable(database);
}

} // namespace refhost
