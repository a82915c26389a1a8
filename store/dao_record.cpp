#include "store/dao_record.h"

#include <cstring>
#include <utility>

CDaoRecord::CDaoRecord(CDaoRecordset* recordset) : m_recordset(recordset) {}

CDaoRecord::~CDaoRecord() = default;

bool CDaoRecord::IsField(int field) {
    return m_recordset && m_recordset->IsOpen() && field >= 1 &&
           field <= m_recordset->GetFieldCount();
}

// Reads never throw past the accessor: a failed read is a 0 result the caller tests.
int CDaoRecord::GetFieldTrace(int field, COleVariant& value) {
    if (!IsField(field))
        return 0;
    try {
        m_recordset->GetFieldValue(field - 1, value);
        return 1;
    } catch (const CException&) {
        return 0;
    }
}

int CDaoRecord::GetField(int field, std::int32_t& value) {
    if (m_recordset && m_recordset->ReadFieldInteger(field - 1, value))
        return 1;
    COleVariant read;
    if (!GetFieldTrace(field, read))
        return 0;
    switch (read.vt) {
    case VT_I4:
        value = read.lVal;
        return 1;
    case VT_I2:
        value = read.iVal;
        return 1;
    case VT_UI1:
        value = read.bVal;
        return 1;
    case VT_BOOL:
        value = read.boolVal;
        return 1;
    default: // null, text, fractions, dates: not a 32-bit integer
        return 0;
    }
}

int CDaoRecord::GetField(int field, CString& value) {
    if (m_recordset && m_recordset->ReadFieldText(field - 1, value))
        return 1;
    COleVariant read;
    if (!GetFieldTrace(field, read))
        return 0;
    if (read.vt == VT_NULL) {
        value.Empty();
        return 1;
    }
    if (read.vt != VT_BSTR)
        return 0;
    value = std::move(read.strVal);
    return 1;
}

int CDaoRecord::GetField(int field, COleDateTime& value) {
    COleVariant read;
    if (!GetFieldTrace(field, read) || read.vt != VT_DATE)
        return 0;
    value = COleDateTime(read.date);
    return 1;
}

int CDaoRecord::PutFieldTrace(int field, COleVariant& value) {
    if (!IsField(field) || m_recordset->GetEditMode() == dbEditNone)
        return 0;
    try {
        if (value.vt == VT_NULL || value.vt == VT_EMPTY)
            m_recordset->SetFieldValueNull(field - 1);
        else
            m_recordset->SetFieldValue(field - 1, value);
        return 1;
    } catch (const CException&) {
        return 0;
    }
}

int CDaoRecord::PutField(int field, std::int32_t value) {
    COleVariant variant(value);
    return PutFieldTrace(field, variant);
}

int CDaoRecord::PutField(int field, CString& value) {
    COleVariant variant(value);
    return PutFieldTrace(field, variant);
}

int CDaoRecord::PutField(int field, CTime value) {
    COleVariant variant{COleDateTime(value)};
    return PutFieldTrace(field, variant);
}

int CDaoRecord::SetBlobNULL(int field) {
    COleVariant null = COleVariant::Null();
    return PutFieldTrace(field, null);
}

int CDaoRecord::GetBLOB(int field, char** data, unsigned long& size, unsigned long* /*extra*/) {
    COleVariant read;
    if (!data || !GetFieldTrace(field, read))
        return 0;
    const void* bytes = nullptr;
    std::size_t length = 0;
    if (read.vt == (VT_ARRAY | VT_UI1)) {
        bytes = read.byteVal.data();
        length = read.byteVal.size();
    } else if (read.vt == VT_BSTR) {
        bytes = read.strVal.c_str();
        length = read.strVal.GetLength();
    } else if (read.vt != VT_NULL) {
        return 0;
    }
    *data = nullptr;
    size = 0;
    if (length == 0)
        return 1;
    // One spare zero byte, so text stored in a binary field can be used as a C string.
    auto buffer = std::make_unique<char[]>(length + 1);
    std::memcpy(buffer.get(), bytes, length);
    buffer[length] = '\0';
    *data = buffer.get();
    size = static_cast<unsigned long>(length);
    m_blobs.push_back(std::move(buffer));
    return 1;
}

int CDaoRecord::FreeLastAssignMem() {
    if (m_blobs.empty())
        return 0;
    m_blobs.pop_back();
    return 1;
}

int IsHaveAddPrefix(const char* fieldName) {
    const std::size_t prefixLength = std::strlen(kExtraColumnPrefix);
    return fieldName && std::strlen(fieldName) > prefixLength &&
           CString(fieldName, static_cast<int>(prefixLength)).CompareNoCase(kExtraColumnPrefix) ==
               0;
}

CString FilterAddPrefix(const char* fieldName) {
    if (!IsHaveAddPrefix(fieldName))
        return CString(fieldName);
    return CString(fieldName + std::strlen(kExtraColumnPrefix));
}
