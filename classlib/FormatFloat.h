// A number through a format picture, as the class library's FormatFloat does.
//
// The picture has up to three sections separated by ";": for positive numbers, for
// negative numbers (shown without a sign of their own) and for zero; an empty or
// missing negative or zero section takes the positive one (a negative number then gets
// a leading "-"). In a section, "0" is a digit place that always shows a digit, "#" one
// that shows a digit only where the number has one, the first "." places the decimal
// separator, a "," anywhere groups the integer digits by thousands, "E+", "E-", "e+"
// and "e-" followed by "0"s make the scientific form (the "+" always shows the
// exponent's sign), and text in single or double quotes is copied as it stands, as is
// every other character. An empty picture gives the general format with 15 digits.
#pragma once

#include "classlib/FormatSettings.h"
#include "classlib/SysTypes.h"

AnsiString FormatFloat(const AnsiString& Format, double Value, const TFormatSettings& Settings = FormatSettings);
