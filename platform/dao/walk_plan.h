// Which statements walk an index from a given key, in index order.
//
// Index entries sort by (key columns..., rowid), NULL before any value in an ascending column and
// after every value in a descending one. The entries at or after a bound (v1..vm[, rowid]) are cut
// into segments, each an equality on the leading key columns plus one range on the next column;
// the engine seeks each segment on the index, so neither a seek nor a restart scans:
//
//   k1 IS v1 AND k2 IS v2 AND rowid > r      (the rest of the bound's own duplicates)
//   k1 IS v1 AND k2 > v2                     (the rest of v1's group)
//   k1 > v1                                  (everything after)
//
// A descending column adds a segment of its NULLs; a NULL bound value changes "> v" into
// "IS NOT NULL" or drops the segment. A walk from a key prefix (no rowid) joins the prefix's own
// group and the rest of its last column's range into one ">=" segment: a seek and the moves after
// it then run as one statement, one read transaction. Walking backwards cuts the entries before the
// bound the same way, nearest first, each asked for with LIMIT 1.
#pragma once

#include "platform/dao/field_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dao_detail {

enum class Range : std::uint8_t {
    None,        // every entry with the equal prefix
    Greater,     // next key column > bound value
    Less,        // next key column < bound value
    AtLeast,     // next key column >= bound value
    AtMost,      // next key column <= bound value
    IsNull,      // next key column IS NULL
    NotNull,     // next key column IS NOT NULL
    RowidAfter,  // all key columns equal, rowid > bound rowid
    RowidFrom,   // ... rowid >= bound rowid
    RowidBefore, // ... rowid < bound rowid
    RowidUpTo,   // ... rowid <= bound rowid
};

struct Segment {
    std::uint8_t equal = 0; // leading key columns compared with IS
    Range range = Range::None;

    friend bool operator==(const Segment&, const Segment&) = default;
};

// The segments holding the entries at (inclusive) or strictly after the bound, in walk order.
// bound.size() key values, a prefix of the index; withRowid only when the bound is a whole key.
void ForwardSegments(const std::vector<bool>& descending, const std::vector<Value>& bound,
                     bool withRowid, bool inclusive, std::vector<Segment>& out);
// The segments holding the entries at or before the bound, nearest first.
void BackwardSegments(const std::vector<bool>& descending, const std::vector<Value>& bound,
                      bool withRowid, bool inclusive, std::vector<Segment>& out);

struct WalkShape {
    std::string table;
    std::string index; // the engine's index name; empty walks in rowid order
    std::vector<std::string> keyColumns;
    std::vector<bool> descending;
};

// SELECT <columns> FROM the table over one segment, in index order (backward: reversed, LIMIT 1).
// Key value i binds as ?(i+1), the rowid as ?(keyColumns.size()+1).
std::string SegmentSql(const WalkShape& shape, Segment segment, bool backward,
                       const std::string& columns);

} // namespace dao_detail
