// Field access by field number (counted from 1 in the table's field order) on the current record
// of an open recordset.
#pragma once

#include "platform/dao/dao.h"

#include <cstdint>
#include <memory>
#include <vector>

// Fields whose names start with this prefix are extra columns shown in the item list; the rest of
// the name is the column title.
constexpr const char kExtraColumnPrefix[] = "ADD_";

class CDaoRecord {
public:
    explicit CDaoRecord(CDaoRecordset* recordset);
    virtual ~CDaoRecord();
    CDaoRecord(const CDaoRecord&) = delete;
    CDaoRecord& operator=(const CDaoRecord&) = delete;

    // Each returns nonzero on success; on 0 the value is left as it was.
    int GetField(int field, std::int32_t& value);
    int GetField(int field, CString& value);
    int GetField(int field, COleDateTime& value);
    int GetFieldTrace(int field, COleVariant& value);

    // Into the edit buffer, between the recordset's Edit or AddNew and its Update.
    int PutField(int field, std::int32_t value);
    int PutField(int field, CString& value);
    int PutField(int field, CTime value);
    int PutFieldTrace(int field, COleVariant& value);
    int SetBlobNULL(int field);

    // The bytes of a binary or text field in a buffer owned by this record, valid until
    // FreeLastAssignMem or the record's end; size 0 (and a null pointer) for an empty or null
    // value.
    int GetBLOB(int field, char** data, unsigned long& size, unsigned long* extra);
    int FreeLastAssignMem();

private:
    bool IsField(int field);

    CDaoRecordset* m_recordset;
    std::vector<std::unique_ptr<char[]>> m_blobs;
};

int IsHaveAddPrefix(const char* fieldName);
CString FilterAddPrefix(const char* fieldName);
