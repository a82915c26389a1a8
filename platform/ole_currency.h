// COleCurrency: fixed point with four decimal places, held in a 64-bit integer.
#pragma once

#include "platform/cstring.h"

#include <cstdint>

struct CURRENCY {
    std::int64_t int64 = 0; // the amount times 10,000
};

class COleCurrency {
public:
    enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };

    COleCurrency() = default;
    COleCurrency(CURRENCY value) : m_cur(value) {}
    // units plus fractionalUnits / 10,000 (fractionalUnits may be negative).
    COleCurrency(std::int64_t units, std::int32_t fractionalUnits);

    static COleCurrency FromScaled(std::int64_t tenThousandths);

    CurrencyStatus GetStatus() const { return m_status; }
    void SetStatus(CurrencyStatus status) { m_status = status; }
    void SetCurrency(std::int64_t units, std::int32_t fractionalUnits);

    // The amount with the user's decimal separator (LC_ALL, LC_NUMERIC, LANG), no grouping, no
    // symbol, trailing zeros of the fraction dropped (as the platform's type change does).
    CString Format(DWORD flags = 0) const;
    // Accepts an optional sign, digits with the locale's grouping separator, the locale's decimal
    // separator and up to four more decimals (further decimals are rounded). False leaves the
    // status invalid.
    bool ParseCurrency(const char* text, DWORD flags = 0);

    friend bool operator==(const COleCurrency& a, const COleCurrency& b) {
        return a.m_status == b.m_status && a.m_cur.int64 == b.m_cur.int64;
    }
    friend bool operator<(const COleCurrency& a, const COleCurrency& b) {
        return a.m_cur.int64 < b.m_cur.int64;
    }

    CURRENCY m_cur;
    CurrencyStatus m_status = valid;
};
