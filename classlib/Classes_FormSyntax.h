// The parsed text of a form file, shared by the parser and the reader of the
// Classes unit (not for use outside it).
#pragma once

#include <vector>

#include "classlib/SysTypes.h"

namespace classlib_detail {

enum class TValueKind { Ident, Integer, Float, String, Set, Binary, Lines, Items };

struct TFormProperty;

struct TFormItem {
  int Line = 0;
  std::vector<TFormProperty> Properties;
};

struct TFormValue {
  TValueKind Kind = TValueKind::Ident;
  AnsiString Text;                  // an identifier (dotted), a string, or the number as written
  Int64 Integer = 0;
  double Float = 0;
  std::vector<AnsiString> Strings;  // the names of a set, the strings of lines
  std::vector<Byte> Bytes;          // binary data
  std::vector<TFormItem> Items;     // collection items
};

struct TFormProperty {
  AnsiString Path;  // Name or Sub.Name
  int Line = 0;
  TFormValue Value;
};

enum class TBlockKind { Form, Component, Existing };

struct TFormBlock {
  TBlockKind Kind = TBlockKind::Component;
  AnsiString Name;
  AnsiString ClassName;  // may be empty for an existing component
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormBlock> Children;
};

// Parses a whole file; a syntax error or a truncated file raises EFormFileError
// naming FormName, the innermost component open at the error and the line.
TFormBlock ParseFormText(const AnsiString& Text, const AnsiString& FormName);

// A value as a readable quote for messages.
AnsiString DescribeValue(const TFormValue& Value);

}  // namespace classlib_detail
