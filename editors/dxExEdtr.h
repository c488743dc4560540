// Routines and shared resources of the extended editors (date, check, blob, graphic,
// time, currency and hyperlink editors): date text with keywords, the date mask and
// display format and the currency display format built from the format settings, the
// shared image lists, the check-box glyph size, a point relative to a window's outer
// corner, and the hand cursor.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/DateTime.h"
#include "classlib/FormatSettings.h"
#include "editors/dxGrDate.h"

class TCustomImageList;

// The screen cursor number of the hand (the "DX_HANDPOINT" cursor resource).
inline constexpr TCursor crdxHandPoint = -1140;

// The system's check-box strip (OBM_CHECKBOXES), a 4 x 3 grid of glyphs.
inline constexpr int dxObmCheckBoxes = 32759;

// Reads a keyword at the start of Text, in any case: TODAY, YESTERDAY, TOMORROW, the
// weekday names (the next such day, today included), FIRST .. SEVENTH (that day of the
// current week from Sunday), BOM and EOM (first and last day of the month) and NOW,
// then an optional "+n" or "-n" days. False, and Date untouched, when no keyword
// starts the text; an offset that is not a number, or that leaves the years 1..9999,
// is ignored.
bool SmartTextToDate(const AnsiString& Text, TDateTime& Date);
// A text in the form DateToText writes under the format settings (so that every text
// DateToText made reads back as its date and time, to the second), a keyword, or else
// the system's variant conversion; false for an empty text or one the conversion
// refuses. With "." as the date separator the first two dots read as blanks for the
// keywords and the conversion.
bool TextToDate(const AnsiString& Text, TDateTime& Date);
// The format settings' short date, and a blank and their long time when the time (to
// the second) is not 0; "" for NullDate. The settings are read from the user's locale.
// A year the short date writes with two digits is written with four where two would
// read as another year (outside 1930 .. 2029), so that the text reads back as the date.
AnsiString DateToText(TDateTime Date);
// DateToText, or the date in DateDisplayFormat; "" for NullDate.
AnsiString FormatDateValue(bool UseDisplayFormat, TDateTime Date);

// The edit mask of the short date format: "M/d/yyyy" gives "!99\\/99\\/9999;1; ", and
// "dd'.'MM'.'yyyy" "!99.99.9999;1; ". Every literal of the format, quoted or not, stays
// a literal: one the mask would read as a position, separator or directive is escaped.
// "" (no mask) for a format with day or month names.
AnsiString DateEditMask(const TFormatSettings& Settings = FormatSettings);
// The year field of a text shown through DateEditMask(Settings): its first character
// and its width (2, or 4 for a long year); false for a format without the mask or without
// a year.
bool DateMaskYearField(int& Start, int& Width, const TFormatSettings& Settings = FormatSettings);
// Whether Text, shown through DateEditMask(Settings) with Blank (or a space) in its empty
// positions, is a date or one still being typed: some values of its fields make a date,
// a field taking the number its digits make as they stand (the date's reading passes
// over blanks: "3 " is March) or one a filling of its blanks makes. So a complete month
// is 01 to 12, a day 01 to 31 and within its month once the month and the year are
// complete, a four-digit year 0001 to 9999; "1 " is a month, "2 " with a day of 30 is
// none. True for a text of another length, or a format without the mask.
bool IsPossibleMaskedDate(const AnsiString& Text, char Blank, const TFormatSettings& Settings = FormatSettings);
// The short date format for the class library's date-time format, with every lone d or
// M doubled: "d.M.yy" gives "dd.MM.yy". Its literals stay literals: quoted text, and
// any character that format reads as a separator or field ("/" and ":" among them),
// go in quotes; "M/d/yyyy" gives "MM'/'dd'/'yyyy".
AnsiString DateDisplayFormat(const TFormatSettings& Settings = FormatSettings);
// The currency's positive and negative display format: "$,0.00;-$,0.00" in en-US.
AnsiString CurrencyDisplayFormat(const TFormatSettings& Settings = FormatSettings);

// P, a screen point, relative to the window's outer top-left corner.
bool WindowPointFromScreen(HWND Window, TPoint& P);

// Loaded when the unit starts.
extern int EditCheckBoxWidth;
extern int EditCheckBoxHeight;
// The blob editor's eight glyphs: for blob, memo, picture and OLE, each the empty
// ("_NULL") glyph then the full one.
TCustomImageList* BlobImages();
// The popup toolbar's six glyphs (cut, copy, paste, delete, load, save), or nullptr.
TCustomImageList* PopupToolImages();
// The blob popup's button captions: OK, Cancel, Close.
const AnsiString& dxBlobButtonCaption(int Index);

// Time steps and bounds of the time editor.
extern TDateTime dxOneSecond;
extern TDateTime dxOneMinute;
extern TDateTime dxOneHour;
extern TDateTime dxMinTime;
extern TDateTime dxMaxTime;

void InitdxExEdtr();
void DonedxExEdtr();
