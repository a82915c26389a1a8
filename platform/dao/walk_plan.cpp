#include "platform/dao/walk_plan.h"

namespace dao_detail {
namespace {

Segment Make(std::size_t equal, Range range) {
    return Segment{static_cast<std::uint8_t>(equal), range};
}

// Entries whose column `i` comes strictly after `value` in index order, columns before it equal.
void After(std::size_t i, bool descending, const Value& value, std::vector<Segment>& out) {
    const bool null = value.kind == Value::Null;
    if (!descending) {
        out.push_back(Make(i, null ? Range::NotNull : Range::Greater));
    } else if (!null) {
        out.push_back(Make(i, Range::Less));
        out.push_back(Make(i, Range::IsNull));
    }
}

// Entries whose column `i` comes strictly before `value`, nearest first.
void Before(std::size_t i, bool descending, const Value& value, std::vector<Segment>& out) {
    const bool null = value.kind == Value::Null;
    if (descending) {
        out.push_back(Make(i, null ? Range::NotNull : Range::Greater));
    } else if (!null) {
        out.push_back(Make(i, Range::Less));
        out.push_back(Make(i, Range::IsNull));
    }
}

void AppendCondition(std::string& where, const std::string& condition) {
    where += where.empty() ? " WHERE " : " AND ";
    where += condition;
}

} // namespace

void ForwardSegments(const std::vector<bool>& descending, const std::vector<Value>& bound,
                     bool withRowid, bool inclusive, std::vector<Segment>& out) {
    out.clear();
    const std::size_t m = bound.size();
    if (withRowid) {
        out.push_back(Make(m, inclusive ? Range::RowidFrom : Range::RowidAfter));
    } else if (inclusive && m > 0) {
        // The group of the whole prefix and what follows it in the last column, as one range.
        const std::size_t last = m - 1;
        const bool null = bound[last].kind == Value::Null;
        if (!descending[last]) {
            // NULL sorts first, so from a NULL everything with the shorter prefix follows.
            out.push_back(Make(last, null ? Range::None : Range::AtLeast));
        } else if (null) {
            out.push_back(Make(m, Range::None)); // NULLs come last in a descending column
        } else {
            out.push_back(Make(last, Range::AtMost));
            out.push_back(Make(last, Range::IsNull));
        }
        for (std::size_t i = last; i-- > 0;)
            After(i, descending[i], bound[i], out);
        return;
    } else if (inclusive) {
        out.push_back(Make(m, Range::None));
    }
    for (std::size_t i = m; i-- > 0;)
        After(i, descending[i], bound[i], out);
}

void BackwardSegments(const std::vector<bool>& descending, const std::vector<Value>& bound,
                      bool withRowid, bool inclusive, std::vector<Segment>& out) {
    out.clear();
    const std::size_t m = bound.size();
    if (withRowid)
        out.push_back(Make(m, inclusive ? Range::RowidUpTo : Range::RowidBefore));
    else if (inclusive)
        out.push_back(Make(m, Range::None));
    for (std::size_t i = m; i-- > 0;)
        Before(i, descending[i], bound[i], out);
}

std::string SegmentSql(const WalkShape& shape, Segment segment, bool backward,
                       const std::string& columns) {
    const std::size_t n = shape.keyColumns.size();
    std::string sql = "SELECT " + columns + " FROM " + QuoteIdentifier(shape.table);
    // The walk's whole point is the index; naming it makes the engine refuse rather than scan.
    if (!shape.index.empty())
        sql += " INDEXED BY " + QuoteIdentifier(shape.index);
    std::string where;
    for (std::size_t i = 0; i < segment.equal && i < n; ++i)
        AppendCondition(where,
                        QuoteIdentifier(shape.keyColumns[i]) + " IS ?" + std::to_string(i + 1));
    const std::string next =
        segment.equal < n ? QuoteIdentifier(shape.keyColumns[segment.equal]) : "";
    const std::string nextParam = "?" + std::to_string(segment.equal + 1);
    const std::string rowidParam = "?" + std::to_string(n + 1);
    switch (segment.range) {
    case Range::None:
        break;
    case Range::Greater:
        AppendCondition(where, next + " > " + nextParam);
        break;
    case Range::Less:
        AppendCondition(where, next + " < " + nextParam);
        break;
    case Range::AtLeast:
        AppendCondition(where, next + " >= " + nextParam);
        break;
    case Range::AtMost:
        AppendCondition(where, next + " <= " + nextParam);
        break;
    case Range::IsNull:
        AppendCondition(where, next + " IS NULL");
        break;
    case Range::NotNull:
        AppendCondition(where, next + " IS NOT NULL");
        break;
    case Range::RowidAfter:
        AppendCondition(where, "rowid > " + rowidParam);
        break;
    case Range::RowidFrom:
        AppendCondition(where, "rowid >= " + rowidParam);
        break;
    case Range::RowidBefore:
        AppendCondition(where, "rowid < " + rowidParam);
        break;
    case Range::RowidUpTo:
        AppendCondition(where, "rowid <= " + rowidParam);
        break;
    }
    sql += where + " ORDER BY ";
    for (std::size_t i = 0; i < n; ++i)
        sql += QuoteIdentifier(shape.keyColumns[i]) +
               (shape.descending[i] != backward ? " DESC, " : ", ");
    sql += backward ? "rowid DESC LIMIT 1" : "rowid";
    return sql;
}

} // namespace dao_detail
