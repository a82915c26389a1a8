#include "platform/user_locale.h"

#include <algorithm>
#include <cstdlib>
#include <langinfo.h>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <type_traits>

namespace user_locale {
namespace {

struct LocaleFree {
    void operator()(locale_t handle) const { freelocale(handle); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleFree>;

struct Cache {
    std::mutex mutex;
    // Null for a name that could not be loaded, so that it is tried only once.
    std::map<std::string, LocaleHandle, std::less<>> loaded;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

const char* EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

bool NamesCLocale(std::string_view name) {
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// Looks a name up in the cache, loading it the first time; null when it cannot be loaded.
locale_t Load(const std::string& name) {
    Cache& cache = TheCache();
    std::lock_guard lock(cache.mutex);
    auto found = cache.loaded.find(name);
    if (found == cache.loaded.end())
        found =
            cache.loaded.emplace(name, LocaleHandle(newlocale(LC_ALL_MASK, name.c_str(), nullptr)))
                .first;
    return found->second.get();
}

locale_t CLocale() {
    locale_t handle = Load("C");
    if (!handle) // newlocale cannot refuse "C" short of running out of memory
        throw std::bad_alloc();
    return handle;
}

std::string LangInfo(nl_item item) {
    return nl_langinfo_l(item, Current(Category::Numeric).handle);
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

std::size_t CountDigits(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - at;
}

} // namespace

Locale Current(Category category) {
    const char* name = EnvironmentValue("LC_ALL");
    if (!name)
        name = EnvironmentValue(category == Category::Time ? "LC_TIME" : "LC_NUMERIC");
    if (!name)
        name = EnvironmentValue("LANG");
    if (name && !NamesCLocale(name)) {
        if (locale_t handle = Load(name))
            return {handle, false};
    }
    return {CLocale(), true};
}

std::string DecimalSeparator() {
    std::string separator = LangInfo(RADIXCHAR);
    return separator.empty() ? "." : separator;
}

std::string GroupSeparator() {
    return LangInfo(THOUSEP);
}

bool ParseNumber(const char* text, ParsedNumber& number) {
    number = ParsedNumber();
    if (!text)
        return false;
    const std::string decimal = DecimalSeparator();
    const std::string group = GroupSeparator();
    std::string_view rest(text);
    auto skipBlanks = [&rest] {
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
    };

    skipBlanks();
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        number.negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Grouping is only taken in threes: in a locale that groups with "." a mistyped "1.5" must not
    // silently become 15.
    std::size_t digits = CountDigits(rest, 0);
    number.integerDigits.assign(rest.substr(0, digits));
    rest.remove_prefix(digits);
    while (!group.empty() && digits > 0 && rest.starts_with(group) &&
           CountDigits(rest, group.size()) == 3) {
        number.integerDigits.append(rest.substr(group.size(), 3));
        rest.remove_prefix(group.size() + 3);
    }
    if (rest.starts_with(decimal)) {
        rest.remove_prefix(decimal.size());
        digits = CountDigits(rest, 0);
        number.fractionDigits.assign(rest.substr(0, digits));
        rest.remove_prefix(digits);
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty())
        return false;
    if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
        rest.remove_prefix(1);
        bool negativeExponent = false;
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
            negativeExponent = rest.front() == '-';
            rest.remove_prefix(1);
        }
        digits = CountDigits(rest, 0);
        if (digits == 0)
            return false;
        long exponent = 0;
        for (char ch : rest.substr(0, digits))
            exponent = std::min(exponent * 10 + (ch - '0'), 100000L); // far beyond any double
        number.exponent = static_cast<int>(negativeExponent ? -exponent : exponent);
        rest.remove_prefix(digits);
    }
    skipBlanks();
    return rest.empty();
}

double ToDouble(const ParsedNumber& number) {
    std::string text = number.negative ? "-" : "";
    text += number.integerDigits.empty() ? "0" : number.integerDigits;
    text += '.';
    text += number.fractionDigits;
    text += 'e';
    text += std::to_string(number.exponent);
    return strtod_l(text.c_str(), nullptr, CLocale());
}

} // namespace user_locale
