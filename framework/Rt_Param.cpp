#include "framework/Rt_Param.h"

#include <cstring>

#include "classlib/StrUtils.h"

TCLASS_IMPL(TParameter)
TCLASS_IMPL(TParameterList)

namespace {

// The name a parameter keeps for Name: trimmed and cut to its longest length. Blanks the
// cut leaves at the end go as well, so that the name reads back the same from a built
// text.
AnsiString StoredName(const AnsiString& Name) {
  return TrimRight(Trim(Name).substr(0, MaxParameterNameLength));
}

}  // namespace

TParameter::TParameter(const AnsiString& AName, const AnsiString& AValue)
    : FName(StoredName(AName)), FValue(AValue) {}

void ParseParameterString(TParameterList* List, const AnsiString& Text) {
  List->Clear();
  // A scanner with two modes: the name until the first "=", then the value.
  AnsiString Name, Value;
  bool InValue = false;
  auto EndEntry = [&] {
    AnsiString Trimmed = Trim(Name);
    if (InValue && !Trimmed.empty()) List->Add(NewObject<TParameter>(Trimmed, Value));
    Name.clear();
    Value.clear();
    InValue = false;
  };
  for (char C : Text) {
    if (C == '|')
      EndEntry();
    else if (C == '=' && !InValue)
      InValue = true;
    else
      (InValue ? Value : Name) += C;
  }
  EndEntry();
}

void ParseParameterString(TParameterList* List, const char* Text) {
  ParseParameterString(List, AnsiString(Text ? Text : ""));
}

TParameter* FindParameter(const TParameterList* List, const AnsiString& Name) {
  // Compared as stored: a name longer than a parameter keeps finds the parameter it made.
  AnsiString Wanted = StoredName(Name);
  for (int I = 0; I < List->Count(); ++I) {
    TParameter* Parameter = List->Items(I);
    if (SameText(Parameter->Name(), Wanted)) return Parameter;
  }
  return nullptr;
}

AnsiString BuildParameterString(const TParameterList* List) {
  AnsiString Result;
  for (int I = 0; I < List->Count(); ++I) {
    if (I > 0) Result += '|';
    TParameter* Parameter = List->Items(I);
    Result += Parameter->Name();
    Result += '=';
    Result += Parameter->Value();
  }
  return Result;
}

bool BuildParameterString(const TParameterList* List, char* Buffer, int BufferSize) {
  AnsiString Text = BuildParameterString(List);
  if (!Buffer || BufferSize <= 0 || Text.size() >= static_cast<std::size_t>(BufferSize))
    return false;
  std::memcpy(Buffer, Text.c_str(), Text.size() + 1);
  return true;
}

bool SetParameterInString(char* Buffer, int BufferSize, const AnsiString& Name,
                          const AnsiString& Value) {
  if (!Buffer || BufferSize <= 0) return false;
  // The text has no escapes: a name with "=" or "|", or a value with "|", would be
  // written as other parameters than the one set, and a zero would end the text.
  const AnsiString NewName = Trim(Name), NewValue = Trim(Value);
  if (NewName.find_first_of(AnsiString("=|\0", 3)) != AnsiString::npos ||
      NewValue.find_first_of(AnsiString("|\0", 2)) != AnsiString::npos)
    return false;
  // The text ends at its zero, or at the end of the buffer when it has none.
  AnsiString Text(Buffer, strnlen(Buffer, static_cast<std::size_t>(BufferSize)));
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), Text);
  if (TParameter* Existing = FindParameter(List.get(), NewName))
    Existing->SetValue(NewValue);
  else if (!NewName.empty())
    List->Add(NewObject<TParameter>(NewName, NewValue));
  return BuildParameterString(List.get(), Buffer, BufferSize);
}
