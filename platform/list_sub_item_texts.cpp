#include "platform/list_sub_item_texts.h"

namespace {

// Room for short texts in the first cells a row is given, so that a row filled cell by cell
// usually grows its block once.
constexpr std::size_t kFirstBlockSize = 96;

} // namespace

std::size_t SubItemTexts::Start(int subItem) const {
    std::size_t start = 0;
    for (int i = 1; i < subItem; ++i)
        start = m_block.find('\0', start) + 1;
    return start;
}

std::string_view SubItemTexts::Get(int subItem) const {
    if (subItem < 1 || subItem > m_count)
        return {};
    const std::size_t start = Start(subItem);
    return std::string_view(m_block).substr(start, m_block.find('\0', start) - start);
}

void SubItemTexts::Set(int subItem, std::string_view text) {
    if (subItem < 1)
        return;
    text = text.substr(0, text.find('\0'));
    if (m_block.capacity() < kFirstBlockSize)
        m_block.reserve(kFirstBlockSize);
    if (subItem > m_count) {
        // Empty places for the sub-items in between, then the text at the end.
        m_block.append(static_cast<std::size_t>(subItem - m_count - 1), '\0');
        m_block.append(text);
        m_block += '\0';
        m_count = subItem;
        return;
    }
    const std::size_t start = Start(subItem);
    m_block.replace(start, m_block.find('\0', start) - start, text);
}

void SubItemTexts::InsertEmpty(int subItem) {
    if (subItem < 1 || subItem > m_count)
        return; // nothing held from there on moves
    m_block.insert(Start(subItem), 1, '\0');
    ++m_count;
}

void SubItemTexts::Erase(int subItem) {
    if (subItem < 1 || subItem > m_count)
        return;
    const std::size_t start = Start(subItem);
    m_block.erase(start, m_block.find('\0', start) - start + 1);
    --m_count;
}
