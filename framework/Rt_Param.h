// Parameter strings of host processes: entries of a name, "=" and a value, joined by
// "|" ("Action=Sheet|Zoom=2"). Names are trimmed and compared without regard to
// letter case; values are kept exactly as written. There is no escape for "|".
#pragma once

#include "classlib/Lists.h"

// The longest name a parameter keeps; longer names are cut.
inline constexpr std::size_t MaxParameterNameLength = 255;

// One "Name=Value" entry. The name is kept trimmed and cut to MaxParameterNameLength
// characters (with the blanks the cut leaves at its end trimmed too). An empty value
// stands for no value.
class TParameter : public TObject {
  TCLASS_DECL(TParameter, TObject)
 public:
  TParameter(const AnsiString& AName, const AnsiString& AValue);

  const AnsiString& Name() const { return FName; }
  const AnsiString& Value() const { return FValue; }
  void SetValue(const AnsiString& AValue) { FValue = AValue; }

 private:
  AnsiString FName;
  AnsiString FValue;
};

// A list of parameters in text order; it owns its items and frees them.
class TParameterList : public TObjectList {
  TCLASS_DECL(TParameterList, TObjectList)
 public:
  TParameterList() : TObjectList(true) {}

  int Add(TParameter* Parameter) { return TObjectList::Add(Parameter); }
  TParameter* Items(int Index) const { return static_cast<TParameter*>(TObjectList::Get(Index)); }
  TParameter* operator[](int Index) const { return Items(Index); }
};

// Empties List, freeing its items, then appends one parameter per entry of Text in
// text order. The first "=" of an entry ends the name; an entry without "=" or with a
// blank name is dropped; duplicate names are all kept. A null Text is empty.
void ParseParameterString(TParameterList* List, const AnsiString& Text);
void ParseParameterString(TParameterList* List, const char* Text);

// The first parameter whose name equals Name trimmed and cut as a parameter keeps it,
// ignoring letter case; nullptr when there is none.
TParameter* FindParameter(const TParameterList* List, const AnsiString& Name);

// The list as text: "Name=Value" entries joined by "|"; empty for an empty list.
AnsiString BuildParameterString(const TParameterList* List);

// Writes the list's text with its terminating zero into Buffer, which holds
// BufferSize characters, the zero included. When the text does not fit, Buffer is
// left unchanged and the result is false.
bool BuildParameterString(const TParameterList* List, char* Buffer, int BufferSize);

// Sets one parameter in the zero-terminated text in Buffer (BufferSize characters,
// the zero included): the value is trimmed; an existing parameter of that name keeps
// its stored name and takes the value, otherwise a new entry is appended unless the
// trimmed Name is blank. The whole list is then written back. False, with Buffer left
// unchanged, when the result does not fit, or when the text cannot hold the parameter:
// a trimmed Name with "=" or "|", a trimmed Value with "|", or a zero in either.
bool SetParameterInString(char* Buffer, int BufferSize, const AnsiString& Name,
                          const AnsiString& Value);
