// One storage interface over an ini file or the registry, so that layout code writes
// either without knowing which: the wrapper forwards each operation to its storage
// object (a TIniFile or TMemIniFile, or a TRegIniFile), which it does not own.
#pragma once

#include "classlib/IniFiles.h"
#include "classlib/Objects.h"

class TStrings;

class TdxRegIniWrapper : public TObject {
  TCLASS_DECL(TdxRegIniWrapper, TObject)
 public:
  // Set by the creator after construction; not owned.
  TCustomIniFile* Storage = nullptr;

  int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
  bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  // The sections of an ini file; the subkeys of the registry storage's key.
  void ReadSections(TStrings* Strings);
  // A registry section goes with its values and subkeys.
  void EraseSection(const AnsiString& Section);
  // Ini storage: erases every section whose name starts with Prefix (case counts; an
  // empty Prefix erases them all), from a list of the sections read before the first
  // erase. Registry storage: does nothing (its layouts are erased as whole keys).
  void EraseSectionsWithPrefix(const AnsiString& Prefix);

 private:
  bool IsIniFile() const;
};
