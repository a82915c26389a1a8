// Table and index definitions as read from (and written to) the engine's schema.
//
// Jet names indexes per table, the engine per database: an index "OWNER" of table "EXPLORER" is
// the engine's "EXPLORER.OWNER". Index properties the engine has no use for (primary, clustered,
// ignore nulls, required, foreign) live in the layer's own table _dao_index, made on first need.
#pragma once

#include "platform/dao/field_types.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dao_detail {

constexpr long kIndexPrimary = 1;
constexpr long kIndexClustered = 2;
constexpr long kIndexIgnoreNulls = 4;
constexpr long kIndexRequired = 8;
constexpr long kIndexForeign = 16;

struct IndexDesc {
    std::string engineName; // empty until the index exists
    std::string name;       // as DAO reports it
    std::vector<std::string> columns;
    std::vector<bool> descending;
    std::vector<int> fieldOrdinals; // positions in the table's field list
    bool unique = false;
    long flags = 0;

    bool primary() const { return (flags & kIndexPrimary) != 0; }
};

// The table's name as created, for user tables only (not the engine's or the layer's own).
std::optional<std::string> FindTable(Connection& connection, std::string_view name);
// 3265 with the engine's "no such table: NAME".
[[noreturn]] void ThrowNoSuchTable(Connection& connection, std::string_view name);

// A table's name as created, its fields and its indexes, read once and then kept on the
// connection until the schema changes (through the layer or by anybody else); null for a table
// that is not there (or is the engine's or the layer's own).
struct TableShape {
    std::string name;
    std::vector<FieldDesc> fields;
    std::vector<IndexDesc> indexes;
};
std::shared_ptr<const TableShape> DescribeTable(Connection& connection, std::string_view name);

std::vector<FieldDesc> ReadFields(Connection& connection, const std::string& table);
std::vector<IndexDesc> ReadIndexes(Connection& connection, const std::string& table,
                                   const std::vector<FieldDesc>& fields);
// The index as given by the caller, checked: a name, at least one field.
IndexDesc NewIndex(const CDaoIndexInfo& info);
void FillIndexInfo(const IndexDesc& index, CDaoIndexInfo& info, DWORD options);
void FillFieldInfo(const FieldDesc& field, const std::string& table, CDaoFieldInfo& info,
                   DWORD options);

// Each runs in a savepoint of its own and leaves nothing behind when it fails.
void CreateTable(Connection& connection, const std::string& table,
                 const std::vector<FieldDesc>& fields, const std::vector<IndexDesc>& indexes);
void AddColumn(Connection& connection, const std::string& table, const FieldDesc& field);
void CreateIndex(Connection& connection, const std::string& table, const IndexDesc& index,
                 const std::vector<IndexDesc>& existing);
void DropIndex(Connection& connection, const IndexDesc& index);
void DropTable(Connection& connection, const std::string& table);

} // namespace dao_detail
