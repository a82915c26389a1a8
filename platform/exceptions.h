// The exception hierarchy; every exception knows its own message and can show it to the user.
#pragma once

#include "platform/cstring.h"

#include <exception>

// Subclasses override GetErrorMessage() and bring the buffer form back into scope with
// `using CException::GetErrorMessage;`.
class CException : public std::exception {
public:
    // The message shown to the user.
    virtual CString GetErrorMessage() const = 0;
    // Copies the message into `buffer` (always terminated); FALSE when there is none.
    BOOL GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext = nullptr) const;
    // Shows the message in a message box with `type` buttons; `fallbackId` names a string-table
    // text used when the message is empty. Returns the button pressed.
    int ReportError(UINT type = MB_OK, UINT fallbackId = 0) const;
    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

// DAO error numbers kept by the data layer.
constexpr long AFX_DAO_ERROR_ENGINE = -1;

struct CDaoErrorInfo {
    long m_lErrorCode = 0;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    long m_lHelpContext = 0;
};

class CDaoException : public CException {
public:
    CDaoException(long errorCode, CString description, CString source = "DAO");
    using CException::GetErrorMessage; // the buffer form, hidden by the override otherwise
    CString GetErrorMessage() const override;
    long GetErrorCode() const { return m_errorInfo.m_lErrorCode; }

    SCODE m_scode = 0;
    const CDaoErrorInfo* m_pErrorInfo = &m_errorInfo;

private:
    CDaoErrorInfo m_errorInfo;

public:
    CDaoException(const CDaoException& other);
    CDaoException& operator=(const CDaoException& other);
};

class COleException : public CException {
public:
    COleException(SCODE code, CString message) : m_sc(code), m_message(std::move(message)) {}
    using CException::GetErrorMessage;
    CString GetErrorMessage() const override { return m_message; }
    SCODE m_sc;

private:
    CString m_message;
};

constexpr SCODE DISP_E_TYPEMISMATCH = static_cast<SCODE>(0x80020005);
constexpr SCODE DISP_E_OVERFLOW = static_cast<SCODE>(0x8002000A);
constexpr SCODE E_OUTOFMEMORY = static_cast<SCODE>(0x8007000E);

class CMemoryException : public CException {
public:
    using CException::GetErrorMessage;
    CString GetErrorMessage() const override;
};

class CInvalidArgException : public CException {
public:
    explicit CInvalidArgException(CString message) : m_message(std::move(message)) {}
    using CException::GetErrorMessage;
    CString GetErrorMessage() const override { return m_message; }

private:
    CString m_message;
};
