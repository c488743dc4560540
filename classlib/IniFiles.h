// Settings stores with the ini-file shape: sections holding named values.
//
// TCustomIniFile is the common interface, so storage code can hold any of them:
// TIniFile works on a file through the system's profile functions, TMemIniFile keeps a
// whole file in memory until UpdateFile, and TRegIniFile maps sections to registry keys.
#pragma once

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"

class TStrings;
class TRegistry;

inline constexpr const char* SIniFileWriteError = "Unable to write to %s";

class TCustomIniFile : public TObject {
  TCLASS_DECL(TCustomIniFile, TObject)
 public:
  explicit TCustomIniFile(const AnsiString& AFileName) : FFileName(AFileName) {}

  const AnsiString& FileName() const { return FFileName; }

  // True when the section holds at least one value.
  virtual bool SectionExists(const AnsiString& Section);
  virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

  virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) = 0;
  virtual void WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value) = 0;
  // Decimal, or hexadecimal with "$" or "0x"; Default when the text is no number.
  virtual int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
  virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
  // A number other than 0 is true; written as "1" or "0".
  virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  // Numbers in the text of the current format settings; Default when not a number.
  virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
  virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

  // The following replace the contents of Strings.
  // The names of the section's values, in stored order.
  virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
  // The names of all sections, in stored order.
  virtual void ReadSections(TStrings* Strings) = 0;
  // The section's values as "Name=Value" lines.
  virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings);

  // Removes the section with all its values.
  virtual void EraseSection(const AnsiString& Section) = 0;
  virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
  // Makes the changes permanent where the store keeps them back.
  virtual void UpdateFile() = 0;

 protected:
  AnsiString FFileName;
};

// An ini file through the system's profile functions. A file name without a folder is
// looked for in the Windows folder, as the system does.
class TIniFile : public TCustomIniFile {
  TCLASS_DECL(TIniFile, TCustomIniFile)
 public:
  explicit TIniFile(const AnsiString& AFileName) : TCustomIniFile(AFileName) {}
  // Flushes the system's cached copy of the file.
  ~TIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) override;
  // Raises EIniFileException "Unable to write to %s" when the system refuses.
  void WriteString(const AnsiString& Section, const AnsiString& Ident,
                   const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override;

 private:
  // A zero-separated list that ends with two zeros, read with a buffer that grows
  // until the list fits.
  void ReadList(const char* Section, TStrings* Strings);
};

// A whole ini file in memory: read at construction (a missing file is empty), written
// back by UpdateFile only. Sections and names compare without regard to case; order is
// kept. Comment lines (";") and blank lines are dropped on reading.
class TMemIniFile : public TCustomIniFile {
  TCLASS_DECL(TMemIniFile, TCustomIniFile)
 public:
  explicit TMemIniFile(const AnsiString& AFileName);

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident,
                   const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Writes "[Section]" lines, "Name=Value" lines and a blank line after each section.
  void UpdateFile() override;

  void Clear();
  // The contents as the lines of a file, replacing the list's contents.
  void GetStrings(TStrings* List);
  // Replaces the contents with the lines of an ini file.
  void SetStrings(TStrings* List);
  // Changes the file name; with Reload the contents are read again from the new file.
  void Rename(const AnsiString& AFileName, bool Reload);

 private:
  struct TSection {
    AnsiString Name;
    std::vector<AnsiString> Lines;  // "Name=Value", or a line without "=" kept as read
  };

  void LoadValues();
  TSection* FindSection(const AnsiString& Section);
  TSection& AddSection(const AnsiString& Section);
  static int IndexOfName(const TSection& Sect, const AnsiString& Ident);

  std::vector<TSection> FSections;
};

// Sections as registry keys, values as registry values. FileName is the key path
// below HKEY_CURRENT_USER (opened, and created when missing, at construction); a
// section is a subkey of it, or, with a leading "\", a key path from the root key.
// Integers are written as decimal strings; reading also accepts REG_DWORD values.
class TRegIniFile : public TCustomIniFile {
  TCLASS_DECL(TRegIniFile, TCustomIniFile)
 public:
  explicit TRegIniFile(const AnsiString& AFileName, REGSAM Access = KEY_ALL_ACCESS);
  ~TRegIniFile() override;
  TRegIniFile(const TRegIniFile&) = delete;
  TRegIniFile& operator=(const TRegIniFile&) = delete;

  // The registry object whose current key sections are taken from.
  TRegistry* Registry() const { return FRegistry; }
  // Forwarded to the registry object: changing the current key changes where
  // relative sections are.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  void CloseKey();
  bool KeyExists(const AnsiString& Key);

  // A REG_DWORD value reads as its decimal text.
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident,
                   const AnsiString& Value) override;
  int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  // The subkeys of the current key.
  void ReadSections(TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override {}

 private:
  // A registry object of its own opened on the section's key, or nullptr when the
  // key is missing (and not to be created).
  TRegistry* OpenSection(const AnsiString& Section, bool CanCreate);

  TRegistry* FRegistry;
};
