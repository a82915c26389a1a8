// strftime formats made only of plain text and numeric conversions, written without strftime.
// Those conversions read nothing of the locale, so the text is strftime's own; writing it directly
// spares strftime's cost for each of many dates (a list of 100,000 rows shows two per row).
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace numeric_date_format {

// The format with its composites (%D, %F, %R, %T) spelled out; nothing when it holds any other
// conversion (%d %e %m %y %Y %H %M %S %% are the numeric ones), a flag, a width, a modifier or a
// "%" at its end.
std::optional<std::string> Compile(std::string_view format);

// Appends the text of a compiled format for `tm`.
void Append(std::string& out, std::string_view compiled, const std::tm& tm);

} // namespace numeric_date_format
