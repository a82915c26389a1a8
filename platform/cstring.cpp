#include "platform/cstring.h"

#include "resources/string_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

char AsciiLower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

char AsciiUpper(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool IsCSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int CString::Compare(const char* other) const {
    return Sign(std::strcmp(c_str(), other ? other : ""));
}

int CString::CompareNoCase(const char* other) const {
    const auto* a = reinterpret_cast<const unsigned char*>(c_str());
    const auto* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;; ++a, ++b) {
        const unsigned char ca = AsciiLower(static_cast<char>(*a));
        const unsigned char cb = AsciiLower(static_cast<char>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength() - std::max(first, 0));
}

CString CString::Mid(int first, int count) const {
    const long long length = GetLength();
    const long long start = std::clamp<long long>(first, 0, length);
    const long long available = length - start;
    const long long take = std::clamp<long long>(count, 0, available);
    return CString(m_text.substr(start, take));
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    const int take = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(m_text.size() - take));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    const auto found = m_text.find(ch, start);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const auto found = m_text.find(sub, start);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::ReverseFind(char ch) const {
    const auto found = m_text.rfind(ch);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::Replace(const char* oldText, const char* newText) {
    if (!oldText || !*oldText)
        return 0;
    const std::string_view from(oldText);
    const std::string_view to(newText ? newText : "");
    std::string result;
    int count = 0;
    std::size_t position = 0;
    for (std::size_t found; (found = m_text.find(from, position)) != std::string::npos;) {
        result.append(m_text, position, found - position);
        result.append(to);
        position = found + from.size();
        ++count;
    }
    if (count > 0) {
        result.append(m_text, position);
        m_text = std::move(result);
    }
    return count;
}

void CString::MakeUpper() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiUpper);
}

void CString::MakeLower() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiLower);
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    m_text.erase(m_text.begin(), std::find_if_not(m_text.begin(), m_text.end(), IsCSpace));
    return *this;
}

CString& CString::TrimRight() {
    m_text.erase(std::find_if_not(m_text.rbegin(), m_text.rend(), IsCSpace).base(), m_text.end());
    return *this;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) { // an encoding error in the arguments; MFC would assert
        m_text.clear();
        return;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    m_text = std::move(text);
}

BOOL CString::LoadString(UINT id) {
    const char* text = FindLibraryString(id);
    m_text = text ? text : "";
    return text ? TRUE : FALSE;
}

void AfxFormatString1(CString& result, UINT id, const char* argument) {
    CString format;
    if (!format.LoadString(id))
        return; // as MFC: a missing string leaves the result as it was
    // Built in one pass so that a "%1" inside the argument is not expanded again.
    format.Replace("%1", argument ? argument : "");
    result = format;
}
