#include "platform/exceptions.h"

#include "platform/user_notifier.h"
#include "platform/utf8.h"

#include <cstring>

namespace {
const char kNoMessage[] = "Keine Fehlermeldung verfügbar.";
} // namespace

BOOL CException::GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext) const {
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxLength == 0)
        return FALSE;
    const CString message = GetErrorMessage();
    // Cut between characters, not through one.
    const std::size_t length = FittingPrefixLength(message.str(), maxLength - 1);
    std::memcpy(buffer, message.c_str(), length);
    buffer[length] = '\0';
    return message.IsEmpty() ? FALSE : TRUE;
}

int CException::ReportError(UINT type, UINT fallbackId) const {
    CString message = GetErrorMessage();
    if (message.IsEmpty() && (fallbackId == 0 || !message.LoadString(fallbackId)))
        message = kNoMessage;
    return AfxMessageBox(message, type);
}

const char* CException::what() const noexcept {
    try {
        m_what = GetErrorMessage().str();
        return m_what.c_str();
    } catch (...) { // out of memory while copying the message
        return "CException";
    }
}

CDaoException::CDaoException(long errorCode, CString description, CString source) {
    m_errorInfo.m_lErrorCode = errorCode;
    m_errorInfo.m_strDescription = std::move(description);
    m_errorInfo.m_strSource = std::move(source);
}

// The error information may have been pointed elsewhere; a copy holds its own copy of it.
CDaoException::CDaoException(const CDaoException& other)
    : CException(other), m_scode(other.m_scode),
      m_pErrorInfo(other.m_pErrorInfo ? &m_errorInfo : nullptr),
      m_errorInfo(other.m_pErrorInfo ? *other.m_pErrorInfo : other.m_errorInfo) {}

CDaoException& CDaoException::operator=(const CDaoException& other) {
    if (this != &other) {
        CException::operator=(other);
        m_scode = other.m_scode;
        m_errorInfo = other.m_pErrorInfo ? *other.m_pErrorInfo : other.m_errorInfo;
        m_pErrorInfo = other.m_pErrorInfo ? &m_errorInfo : nullptr;
    }
    return *this;
}

CString CDaoException::GetErrorMessage() const {
    return m_pErrorInfo ? m_pErrorInfo->m_strDescription : CString();
}

CString CMemoryException::GetErrorMessage() const {
    return "Nicht genügend Arbeitsspeicher.";
}
