#include "platform/ole_currency.h"

#include "platform/user_locale.h"

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr std::int64_t kScale = 10000;
const char kInvalidText[] = "Invalid Currency";

} // namespace

COleCurrency::COleCurrency(std::int64_t units, std::int32_t fractionalUnits) {
    SetCurrency(units, fractionalUnits);
}

COleCurrency COleCurrency::FromScaled(std::int64_t tenThousandths) {
    CURRENCY value;
    value.int64 = tenThousandths;
    return COleCurrency(value);
}

void COleCurrency::SetCurrency(std::int64_t units, std::int32_t fractionalUnits) {
    std::int64_t scaled = 0;
    if (__builtin_mul_overflow(units, kScale, &scaled) ||
        __builtin_add_overflow(scaled, static_cast<std::int64_t>(fractionalUnits), &scaled)) {
        m_cur.int64 = 0;
        m_status = invalid;
        return;
    }
    m_cur.int64 = scaled;
    m_status = valid;
}

CString COleCurrency::Format(DWORD /*flags*/) const {
    if (m_status == null)
        return CString();
    if (m_status != valid)
        return CString(kInvalidText);
    const bool negative = m_cur.int64 < 0;
    // Unsigned, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(m_cur.int64)
                                             : static_cast<std::uint64_t>(m_cur.int64);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / kScale);
    std::string fraction = std::to_string(magnitude % kScale + kScale).substr(1); // four digits
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty())
        text += user_locale::DecimalSeparator() + fraction;
    return CString(std::move(text));
}

bool COleCurrency::ParseCurrency(const char* text, DWORD /*flags*/) {
    user_locale::ParsedNumber number;
    bool ok = user_locale::ParseNumber(text, number) && number.exponent == 0;
    // The magnitude in ten-thousandths, rounded half away from zero at the fifth decimal.
    std::uint64_t magnitude = 0;
    const std::string fraction = (number.fractionDigits + "0000").substr(0, 4);
    for (char digit : number.integerDigits + fraction) {
        if (!ok)
            break;
        ok = !__builtin_mul_overflow(magnitude, 10u, &magnitude) &&
             !__builtin_add_overflow(magnitude, static_cast<unsigned>(digit - '0'), &magnitude);
    }
    if (ok && number.fractionDigits.size() > 4 && number.fractionDigits[4] >= '5')
        ok = !__builtin_add_overflow(magnitude, 1u, &magnitude);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
        (number.negative ? 1 : 0);
    if (!ok || magnitude > limit) {
        m_cur.int64 = 0;
        m_status = invalid;
        return false;
    }
    m_cur.int64 = number.negative ? static_cast<std::int64_t>(0 - magnitude)
                                  : static_cast<std::int64_t>(magnitude);
    m_status = valid;
    return true;
}
