#include "platform/numeric_date_format.h"

#include <charconv>

namespace numeric_date_format {
namespace {

std::string_view Composite(char conversion) {
    switch (conversion) {
    case 'D':
        return "%m/%d/%y";
    case 'F':
        return "%Y-%m-%d";
    case 'R':
        return "%H:%M";
    case 'T':
        return "%H:%M:%S";
    default:
        return {};
    }
}

bool IsNumeric(char conversion) {
    return std::string_view("demyYHMS%").find(conversion) != std::string_view::npos;
}

// `value` in decimal at `at`, padded on the left with `pad` to `width` characters (at most two);
// returns the end. `at` has room for twelve characters.
char* WriteNumber(char* at, int value, int width, char pad) {
    if (value >= 0 && value < 100 && width == 2) {
        *at++ = value < 10 ? pad : static_cast<char>('0' + value / 10);
        *at++ = static_cast<char>('0' + value % 10);
        return at;
    }
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length)
        *at++ = pad;
    for (const char* digit = digits; digit != end; ++digit)
        *at++ = *digit;
    return at;
}

} // namespace

std::optional<std::string> Compile(std::string_view format) {
    std::string compiled;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            compiled += format[i];
            continue;
        }
        if (++i >= format.size())
            return std::nullopt;
        const char conversion = format[i];
        if (const std::string_view spelled = Composite(conversion); !spelled.empty())
            compiled += spelled;
        else if (IsNumeric(conversion))
            (compiled += '%') += conversion;
        else
            return std::nullopt;
    }
    return compiled;
}

void Append(std::string& out, std::string_view compiled, const std::tm& tm) {
    // Written into a buffer and handed over in pieces: appending number by number costs more than
    // the numbers themselves.
    char buffer[128];
    char* at = buffer;
    constexpr std::ptrdiff_t kLongestPiece = 12;
    for (std::size_t i = 0; i < compiled.size(); ++i) {
        if (buffer + sizeof buffer - at < kLongestPiece) {
            out.append(buffer, at);
            at = buffer;
        }
        if (compiled[i] != '%' || i + 1 >= compiled.size()) {
            *at++ = compiled[i];
            continue;
        }
        switch (compiled[++i]) {
        case 'd':
            at = WriteNumber(at, tm.tm_mday, 2, '0');
            break;
        case 'e':
            at = WriteNumber(at, tm.tm_mday, 2, ' ');
            break;
        case 'm':
            at = WriteNumber(at, tm.tm_mon + 1, 2, '0');
            break;
        case 'y':
            at = WriteNumber(at, (tm.tm_year + 1900) % 100, 2, '0');
            break;
        case 'Y':
            at = WriteNumber(at, tm.tm_year + 1900, 1, '0');
            break;
        case 'H':
            at = WriteNumber(at, tm.tm_hour, 2, '0');
            break;
        case 'M':
            at = WriteNumber(at, tm.tm_min, 2, '0');
            break;
        case 'S':
            at = WriteNumber(at, tm.tm_sec, 2, '0');
            break;
        default: // "%%"
            *at++ = compiled[i];
            break;
        }
    }
    out.append(buffer, at);
}

} // namespace numeric_date_format
