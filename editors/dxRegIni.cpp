#include "editors/dxRegIni.h"

#include "classlib/StringLists.h"

TCLASS_IMPL(TdxRegIniWrapper)

// The ini and registry classes share TCustomIniFile's operations, so every operation
// but EraseSectionsWithPrefix reaches the right implementation through them.

int TdxRegIniWrapper::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) {
  return Storage->ReadInteger(Section, Ident, Default);
}

void TdxRegIniWrapper::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
  Storage->WriteInteger(Section, Ident, Value);
}

bool TdxRegIniWrapper::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
  return Storage->ReadBool(Section, Ident, Default);
}

void TdxRegIniWrapper::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  Storage->WriteBool(Section, Ident, Value);
}

void TdxRegIniWrapper::ReadSections(TStrings* Strings) { Storage->ReadSections(Strings); }

void TdxRegIniWrapper::EraseSection(const AnsiString& Section) { Storage->EraseSection(Section); }

void TdxRegIniWrapper::EraseSectionsWithPrefix(const AnsiString& Prefix) {
  if (!IsIniFile()) return;
  TOwned<TStringList> Sections(NewObject<TStringList>());
  Storage->ReadSections(Sections.get());
  for (int I = 0; I < Sections->Count(); ++I) {
    AnsiString Name = Sections->Strings(I);
    if (Name.compare(0, Prefix.size(), Prefix) == 0) Storage->EraseSection(Name);
  }
}

bool TdxRegIniWrapper::IsIniFile() const {
  return Storage->Is<TIniFile>() || Storage->Is<TMemIniFile>();
}
