// The locale the user's environment names, as a desktop program takes it: LC_ALL, then the
// category's own variable, then LANG. Used by the date, currency and variant conversions without
// touching the process-wide locale.
#pragma once

#include <locale.h>
#include <string>

namespace user_locale {

enum class Category { Time, Numeric };

struct Locale {
    locale_t handle; // owned by a process-wide cache, valid until exit
    bool isC;        // "C", "POSIX", "C.<codeset>", or a name that could not be loaded
};

// Re-reads the environment on each call; loaded locales are cached by name.
Locale Current(Category category);

// RADIXCHAR and THOUSEP of the user's numeric locale ("." and "" in the "C" locale).
std::string DecimalSeparator();
std::string GroupSeparator();

// A number as the user writes it: blanks, optional sign, digits grouped by the locale's separator
// (in threes), the locale's decimal separator, an optional exponent, blanks.
struct ParsedNumber {
    bool negative = false;
    std::string integerDigits;  // without separators, may be empty
    std::string fractionDigits; // may be empty
    int exponent = 0;           // power of ten from an "E" part
};
bool ParseNumber(const char* text, ParsedNumber& number);
// A double from ParseNumber's result (infinite when out of the double's range).
double ToDouble(const ParsedNumber& number);

} // namespace user_locale
