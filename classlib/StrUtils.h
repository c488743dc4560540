// String helpers. Plain forms (UpperCase, CompareText, SameText) treat only ASCII
// letters; the Ansi forms follow the user's locale through the system.
#pragma once

#include "classlib/SysTypes.h"

// Removes leading and trailing characters up to and including the space (control
// characters too).
AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);

AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
// Ordinal comparison, negative, zero or positive.
int CompareStr(const AnsiString& S1, const AnsiString& S2);
// Ordinal comparison ignoring the case of ASCII letters.
int CompareText(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);

AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);
// Locale comparisons through the system (user default locale).
int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);

AnsiString IntToStr(Int64 Value);
// At least Digits digits; a count that memory cannot give raises EOutOfMemory, as
// StringOfChar's does.
AnsiString IntToHex(Int64 Value, int Digits);
// Decimal, or hexadecimal with a leading "$" or "0x"; surrounding blanks allowed.
// StrToInt raises EConvertError "'%s' is not a valid integer value".
bool TryStrToInt(const AnsiString& S, int& Value);
bool TryStrToInt64(const AnsiString& S, Int64& Value);
int StrToInt(const AnsiString& S);
Int64 StrToInt64(const AnsiString& S);
int StrToIntDef(const AnsiString& S, int Default);
bool StrToBool(const AnsiString& S);  // "True"/"False" (any case) or a number
AnsiString BoolToStr(bool B, bool UseBoolStrs = false);  // "-1"/"0" or "True"/"False"

// Quoting as used by comma text: the text in Quote characters, inner quotes doubled.
AnsiString AnsiQuotedStr(const AnsiString& S, char Quote);
AnsiString QuotedStr(const AnsiString& S);
// Reads a quoted string starting at Pos (0-based, at the opening quote), undoubling
// inner quotes; Pos ends after the closing quote (or at the end of the text).
AnsiString AnsiExtractQuotedStr(const AnsiString& S, std::size_t& Pos, char Quote);

// 1-based position of Sub in S, 0 when absent.
int Pos(const AnsiString& Sub, const AnsiString& S);
AnsiString StringReplaceAll(const AnsiString& S, const AnsiString& OldPattern,
                            const AnsiString& NewPattern, bool IgnoreCase = false);
AnsiString StringOfChar(char Ch, int Count);
