// How DAO field types live in SQLite columns: declared type names, storage and conversions.
//
// The declared type is Jet's SQL name, so that the file reads well in any SQLite tool: BIT, BYTE,
// SHORT, LONG, CURRENCY, SINGLE, DOUBLE, DATETIME, BINARY(n) / VARBINARY(n), CHAR(n) / TEXT(n),
// LONGBINARY, LONGTEXT (Jet's MEMO). Attributes other than the name's own fixed or variable bit
// go in as a word before the size: "TEXT ATTR34(255)". A counter is the table's
// INTEGER PRIMARY KEY AUTOINCREMENT, known again by the engine's autoincrement flag.
//
// Storage: integers and BIT (0/1) as INTEGER, CURRENCY as INTEGER ten-thousandths, SINGLE and
// DOUBLE as REAL, DATETIME as "YYYY-MM-DD HH:MM:SS" text (sorts as it should, whole seconds),
// text as UTF-8 TEXT, binaries as BLOB.
#pragma once

#include "platform/dao/dao_detail.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dao_detail {

struct FieldDesc {
    std::string name;
    short type = 0;
    long size = 0;
    long attributes = 0;
    short ordinal = 0;
    bool required = false;
    std::string defaultValue;

    bool counter() const { return (attributes & dbAutoIncrField) != 0; }
    // Long values that a walk over many records should not drag along.
    bool large() const { return type == dbLongBinary || type == dbMemo || type == dbBinary; }
};

// A stored value as the engine holds it.
struct Value {
    enum Kind : std::uint8_t { Null, Integer, Real, Text, Blob };
    Kind kind = Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string bytes; // Text (UTF-8) and Blob

    static Value OfInteger(std::int64_t v) {
        Value value;
        value.kind = Integer;
        value.integer = v;
        return value;
    }
};

// Fills in what the caller left open (size and fixed/variable bit) and refuses what Jet refuses.
FieldDesc NormalizeNewField(const char* name, short type, long size, long attributes);
// `"name" TYPE` for CREATE TABLE / ADD COLUMN.
std::string ColumnDefinition(const FieldDesc& field);
// Type, size and attributes back from a declared type; unknown declarations map by affinity.
void DescribeDeclaredType(std::string_view declared, FieldDesc& field);

// The variant as the field stores it (ChangeType semantics); throws 3421 when it cannot be
// converted and 3163 when text or bytes exceed the field size (checkSize).
Value ToStored(const FieldDesc& field, const COleVariant& value, bool checkSize = true);
// A stored value read back as the field's variant type.
void ToVariant(const FieldDesc& field, const Value& value, COleVariant& out);
void ColumnToVariant(const FieldDesc& field, sqlite3_stmt* statement, int column, COleVariant& out);
Value ColumnValue(sqlite3_stmt* statement, int column);
// Whether the engine's IS would hold between two stored values (numbers compare by value).
bool SameStoredValue(const Value& a, const Value& b);
void Bind(sqlite3_stmt* statement, int parameter, const Value& value);

// OLE dates and the ISO text they are stored as, whole seconds.
std::optional<std::string> DateToIso(double date);
std::optional<double> IsoToDate(std::string_view text);

} // namespace dao_detail
