#include "interface/context.h"
#include "platform/dao/dao.h"
#include "platform/ole_date_time.h"
#include "store/dao_record.h"
#include "store/folder_records.h"

namespace {

struct FieldDefinition {
    const char* name;
    short type;
    long size;
    long attributes;
};

constexpr FieldDefinition kExplorerFields[] = {
    {"_CODE", dbLong, 4, dbAutoIncrField | dbFixedField},
    {"ID", dbLong, 4, dbFixedField},
    {"NAME", dbText, 255, dbVariableField},
    {"DATE", dbDate, 8, dbFixedField},
    {"INFO", dbLongBinary, 0, dbVariableField},
    {"ID_OWNER", dbLong, 4, dbFixedField},
    {"PASS_R", dbText, 255, dbVariableField},
    {"PASS_W", dbText, 255, dbVariableField},
};

void AddRootFolder(CDaoDatabase* database) {
    CDaoTableDef table(database);
    table.Open("EXPLORER");
    CDaoRecordset records(database);
    records.Open(&table, dbOpenTable, 0);
    table.Close();
    records.AddNew();
    {
        CDaoRecord record(&records);
        CString name("ROOT");
        CString placeholder(kPasswordPlaceholder);
        record.PutField(explorer_field::Id, 0);
        record.PutField(explorer_field::Name, name);
        record.PutField(explorer_field::Date, CTime::GetCurrentTime());
        record.SetBlobNULL(explorer_field::Info);
        record.PutField(explorer_field::Owner, -1);
        record.PutField(explorer_field::PassR, placeholder);
        record.PutField(explorer_field::PassW, placeholder);
    }
    records.Update();
    records.Close();
}

} // namespace

int CreateExplorerTable() {
    if (IsReadOnly())
        return 1;
    CDaoDatabase* database = g_context.database;
    if (!database || !database->IsOpen())
        return 0;
    try {
        CDaoTableDef table(database);
        table.Create("EXPLORER", 0, nullptr, nullptr);
        for (const FieldDefinition& field : kExplorerFields)
            table.CreateField(field.name, field.type, field.size, field.attributes);
        table.Append();

        CDaoIndexFieldInfo indexField;
        indexField.m_strName = "ID";
        indexField.m_bDescending = FALSE;
        CDaoIndexInfo index;
        index.m_strName = "I1";
        index.m_pFieldInfos = &indexField;
        index.m_nFields = 1;
        index.m_bPrimary = TRUE;
        index.m_bUnique = TRUE;
        table.CreateIndex(index);

        index.m_strName = "OWNER";
        indexField.m_strName = "ID_OWNER";
        index.m_bPrimary = FALSE;
        index.m_bUnique = FALSE;
        table.CreateIndex(index);
        table.Close();

        AddRootFolder(database);
        return 1;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        return 0;
    }
}
