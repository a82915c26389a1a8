// The texts of one list row's sub-items (columns 1, 2, ...), kept in one block, each ended by a
// zero byte. A list of many rows filled cell by cell then costs about one allocation per row rather
// than one for the row's cells and one more for each long text. Texts reach the list as C strings,
// so none of them holds a zero byte. Layer-internal, part of the list view's model.
#pragma once

#include <string>
#include <string_view>

class SubItemTexts {
public:
    // The text of `subItem` (from 1); empty for a sub-item that was never given one.
    std::string_view Get(int subItem) const;
    // Sets the text of `subItem` (from 1), up to its first zero byte.
    void Set(int subItem, std::string_view text);
    // A column inserted or deleted at `subItem` (from 1): the texts from there on move with their
    // columns.
    void InsertEmpty(int subItem);
    void Erase(int subItem);

private:
    // Where the text of `subItem` starts; only for subItem <= m_count.
    std::size_t Start(int subItem) const;

    std::string m_block;
    int m_count = 0; // sub-items 1 to m_count have a place in the block
};
