// A cache of what was made from a text (its width, its drawn mask), looked up by the text. It is
// dropped whole when it holds too many texts or too many bytes: a dialog needs a few hundred short
// texts, but a list scrolled over long names would otherwise keep every one of them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

template <class Value> class TextCache {
public:
    TextCache(std::size_t maxTexts, std::size_t maxBytes)
        : m_maxTexts(maxTexts), m_maxBytes(maxBytes) {}

    const Value* Find(std::string_view text) const {
        const auto it = m_values.find(text);
        return it == m_values.end() ? nullptr : &it->second;
    }

    // Keeps `value` for `text` (a text already cached keeps its value); `valueBytes` is what the
    // value holds beyond itself. The reference lasts until the next insertion, which may drop the
    // cache.
    const Value& Insert(std::string_view text, Value value, std::size_t valueBytes = 0) {
        if (m_values.size() >= m_maxTexts || m_bytes >= m_maxBytes) {
            m_values.clear();
            m_bytes = 0;
        }
        auto [it, inserted] = m_values.try_emplace(std::string(text), std::move(value));
        if (inserted)
            m_bytes += text.size() + valueBytes;
        return it->second;
    }

    std::size_t Texts() const { return m_values.size(); }
    // The texts' bytes and what their values hold.
    std::size_t Bytes() const { return m_bytes; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::size_t m_maxTexts;
    std::size_t m_maxBytes;
    std::size_t m_bytes = 0;
    std::unordered_map<std::string, Value, Hash, std::equal_to<>> m_values;
};
