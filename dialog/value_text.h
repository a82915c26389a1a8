// Field values of chunk records as the text of list cells, and typed text back as field values.
#pragma once

#include "platform/cstring.h"
#include "platform/ole_date_time.h"
#include "platform/ole_variant.h"

#include <cstdint>

// The decimal text of `number` ("%1ld").
CString FormatLong(std::int32_t number);

// The cell text of a field value; nonzero on success. Types without a text of their own are
// changed in place into a string value; when that fails the error is shown and the result is 0.
int VariantToText(CString& text, COleVariant& value);
// The same, with dates written in a date format read beforehand: for converting many values in
// one go.
int VariantToText(CString& text, COleVariant& value, const DateTimeFormat& dates);

// The field value of a typed text for a field of DAO type `fieldType`; nonzero when the field can
// take it. Empty text is null. Conversion errors are shown and give 0.
int TextToVariant(COleVariant& value, const CString& text, WORD fieldType);
