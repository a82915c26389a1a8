// Dates, amounts and numbers from any bits, written in every format and with any format text,
// and any text read back as a date, an amount or a value of each type.
#include "dialog/value_text.h"
#include "platform/app.h"
#include "platform/exceptions.h"
#include "platform/ole_currency.h"
#include "platform/ole_date_time.h"
#include "platform/ole_variant.h"
#include "platform/user_notifier.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

struct Fixture {
    CWinApp app;
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope{notifier};
    DateTimeFormat dates;
};

void ShowAsText(COleVariant& value, const DateTimeFormat& dates) {
    CString text;
    VariantToText(text, value, dates);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    FuzzInput in(data, size);
    const std::uint8_t flags = in.Byte();
    const double real = in.Bits<double>();
    const std::string rest = in.Rest();
    const CString text(rest.c_str());

    const COleDateTime date(real);
    CString written;
    fixture.dates.Format(written, date, flags & 3);
    (void)date.Format(static_cast<DWORD>(flags & 3));
    (void)date.Format(text.c_str());
    (void)date.GetYear();
    (void)date.GetDayOfWeek();
    (void)date.GetDayOfYear();
    COleDateTime parsed;
    parsed.ParseDateTime(text.c_str(), flags >> 4);
    parsed.ParseDateTime(written.c_str());

    CURRENCY amount;
    std::memcpy(&amount.int64, &real, sizeof amount.int64);
    (void)COleCurrency(amount).Format();
    COleCurrency money;
    money.ParseCurrency(text.c_str());
    (void)FormatLong(static_cast<std::int32_t>(amount.int64));

    for (const VARTYPE type : {VT_DATE, VT_R8, VT_R4, VT_I4, VT_I2, VT_UI1, VT_CY, VT_BOOL}) {
        try {
            COleVariant fromText(text);
            fromText.ChangeType(type);
            ShowAsText(fromText, fixture.dates);
        } catch (const CException&) {
        }
        try {
            COleVariant fromReal;
            fromReal.vt = VT_R8;
            fromReal.dblVal = real;
            fromReal.ChangeType(type);
            ShowAsText(fromReal, fixture.dates);
        } catch (const CException&) {
        }
    }
    fixture.notifier.messages.clear();
    return 0;
}
