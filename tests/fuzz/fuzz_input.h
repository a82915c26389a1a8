// Reading a fuzz input as a sequence of choices, and stored values another program could have
// written, as SQL literals.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool More() const { return m_at < m_size; }
    // The next byte; 0 once the input is used up.
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    // Up to `count` of the next bytes.
    std::string Bytes(std::size_t count) {
        count = std::min(count, m_size - m_at);
        std::string bytes(reinterpret_cast<const char*>(m_data + m_at), count);
        m_at += count;
        return bytes;
    }
    // The rest of the input.
    std::string Rest() { return Bytes(m_size - m_at); }
    // Eight bytes as the bits of a number (zeros past the end).
    template <typename Number> Number Bits() {
        static_assert(sizeof(Number) == 8);
        const std::string bytes = Bytes(8);
        Number number{};
        std::memcpy(&number, bytes.data(), bytes.size());
        return number;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

inline std::string HexDigits(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

// Any real as a literal the engine reads back as that real: infinities as an overflowing
// literal, NaN (which the engine stores as null) as NULL.
inline std::string RealLiteral(double real) {
    if (real != real)
        return "NULL";
    if (real > 1.7976931348623157e308 || real < -1.7976931348623157e308)
        return real < 0 ? "-1e999" : "1e999";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", real);
    return text;
}

// A value of any storage class, chosen by the input: null, a small or any whole number, a real,
// text, bytes, or a date as this layer writes it.
inline std::string StoredValueLiteral(FuzzInput& in) {
    switch (in.Byte() % 7) {
    case 0:
        return "NULL";
    case 1:
        return std::to_string(static_cast<int>(in.Byte() % 12) - 1);
    case 2:
        return std::to_string(in.Bits<std::int64_t>());
    case 3:
        return RealLiteral(in.Bits<double>());
    case 4:
        return "CAST(X'" + HexDigits(in.Bytes(in.Byte() % 32)) + "' AS TEXT)";
    case 5:
        return "X'" + HexDigits(in.Bytes(in.Byte() % 32)) + "'";
    default: {
        const std::uint8_t month = in.Byte(), hour = in.Byte();
        return "'2024-" + std::to_string(month % 14) + "-15 " + std::to_string(hour % 26) +
               ":00:00'";
    }
    }
}
