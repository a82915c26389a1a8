// A field of every DAO type holding whatever another program stored: read, shown as cell text,
// and that text and the input's own typed back into the field.
#include "dialog/value_text.h"
#include "platform/app.h"
#include "platform/dao/dao.h"
#include "platform/exceptions.h"
#include "platform/user_notifier.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/temp_dir.h"

#include <memory>
#include <string>

namespace {

struct Column {
    const char* declared;
    WORD type;
};

constexpr Column kColumns[] = {{"BIT", dbBoolean},
                               {"BYTE", dbByte},
                               {"SHORT", dbInteger},
                               {"LONG", dbLong},
                               {"CURRENCY", dbCurrency},
                               {"SINGLE", dbSingle},
                               {"DOUBLE", dbDouble},
                               {"DATETIME", dbDate},
                               {"BINARY(8)", dbBinary},
                               {"VARBINARY(16)", dbBinary},
                               {"CHAR(10)", dbText},
                               {"TEXT(20)", dbText},
                               {"LONGBINARY", dbLongBinary},
                               {"LONGTEXT", dbMemo},
                               {"MEMO", dbMemo}};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

struct Fixture {
    Fixture() {
        database.Create(dir.File("values.db").c_str());
        std::string sql = "CREATE TABLE T (";
        for (int i = 0; i < kColumnCount; ++i)
            sql +=
                std::string(i ? ", " : "") + "c" + std::to_string(i) + " " + kColumns[i].declared;
        database.Execute((sql + ")").c_str());
    }

    CWinApp app;
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope{notifier};
    TempDir dir;
    CDaoDatabase database;
    DateTimeFormat dates;
};

void WriteValue(CDaoRecordset& records, int column, const COleVariant& value) {
    records.Edit();
    records.SetFieldValue(column, value);
    records.Update();
    COleVariant stored = records.GetFieldValue(column);
    CString text;
    VariantToText(text, stored);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    FuzzInput in(data, size);
    const int column = in.Byte() % kColumnCount;
    const WORD type = kColumns[column].type;
    fixture.database.Execute("DELETE FROM T");
    fixture.database.Execute(
        ("INSERT INTO T (c" + std::to_string(column) + ") VALUES (" + StoredValueLiteral(in) + ")")
            .c_str());
    const CString typed(in.Rest().c_str());
    try {
        CDaoRecordset records(&fixture.database);
        records.Open(dbOpenTable, "T");
        const COleVariant stored = records.GetFieldValue(column);
        CString text;
        COleVariant forList = stored;
        VariantToText(text, forList, fixture.dates);
        COleVariant forCell = stored;
        VariantToText(text, forCell);
        COleVariant value;
        if (TextToVariant(value, text, type))
            WriteValue(records, column, value);
        if (TextToVariant(value, typed, type))
            WriteValue(records, column, value);
    } catch (const CException&) {
        // Refusals are answers too; what matters is that nothing breaks on the way.
    }
    fixture.notifier.messages.clear();
    return 0;
}
