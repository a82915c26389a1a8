// CString: 8-bit text (UTF-8 on this platform) with the MFC operations the library uses.
#pragma once

#include "platform/win_types.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length)
        : m_text(text ? std::string(text, length) : std::string()) {}
    CString(std::string text) : m_text(std::move(text)) {}
    CString(std::string_view text) : m_text(text) {}
    CString(char ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(index); }
    void SetAt(int index, char ch) { m_text.at(index) = ch; }
    char operator[](int index) const { return m_text.at(index); }

    operator const char*() const { return m_text.c_str(); }
    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator=(const char* text) {
        m_text = text ? text : "";
        return *this;
    }
    // The first `length` bytes of `text` (which may hold zeros), reusing this string's storage.
    void SetString(const char* text, int length) {
        if (text && length > 0)
            m_text.assign(text, static_cast<std::size_t>(length));
        else
            m_text.clear();
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const char* text) {
        if (text)
            m_text += text;
        return *this;
    }
    CString& operator+=(char ch) {
        m_text += ch;
        return *this;
    }

    // Byte-wise comparison (strcmp).
    int Compare(const char* other) const;
    // ASCII case folding only, like _stricmp in the "C" locale.
    int CompareNoCase(const char* other) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int Replace(const char* oldText, const char* newText);

    void MakeUpper(); // ASCII only
    void MakeLower(); // ASCII only

    // White space as isspace in the "C" locale: blank, tab, newline, vertical tab, form feed, CR.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    // Loads string `id` from the library's string table; FALSE (and an empty text) when missing.
    BOOL LoadString(UINT id);

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    friend CString operator+(const CString& a, const char* b) {
        return CString(a.m_text + (b ? b : ""));
    }
    friend CString operator+(const char* a, const CString& b) {
        return CString((a ? a : "") + b.m_text);
    }
    friend CString operator+(const CString& a, char b) { return CString(a.m_text + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

private:
    std::string m_text;
};

// Replaces "%1" in the string-table text `id` with `argument` into `result`.
void AfxFormatString1(CString& result, UINT id, const char* argument);
