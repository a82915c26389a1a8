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

// `value` in decimal, padded on the left with `pad` to `width` characters.
void AppendNumber(std::string& out, int value, int width, char pad) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const int length = static_cast<int>(end - digits);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), pad);
    out.append(digits, end);
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
    for (std::size_t i = 0; i < compiled.size(); ++i) {
        if (compiled[i] != '%' || i + 1 >= compiled.size()) {
            out += compiled[i];
            continue;
        }
        switch (compiled[++i]) {
        case 'd':
            AppendNumber(out, tm.tm_mday, 2, '0');
            break;
        case 'e':
            AppendNumber(out, tm.tm_mday, 2, ' ');
            break;
        case 'm':
            AppendNumber(out, tm.tm_mon + 1, 2, '0');
            break;
        case 'y':
            AppendNumber(out, (tm.tm_year + 1900) % 100, 2, '0');
            break;
        case 'Y':
            AppendNumber(out, tm.tm_year + 1900, 1, '0');
            break;
        case 'H':
            AppendNumber(out, tm.tm_hour, 2, '0');
            break;
        case 'M':
            AppendNumber(out, tm.tm_min, 2, '0');
            break;
        case 'S':
            AppendNumber(out, tm.tm_sec, 2, '0');
            break;
        default: // "%%"
            out += compiled[i];
            break;
        }
    }
}

} // namespace numeric_date_format
