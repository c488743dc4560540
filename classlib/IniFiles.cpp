#include "classlib/IniFiles.h"

#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/FloatConv.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "classlib/ScopeExit.h"
#include "classlib/StringLists.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TCustomIniFile)
TCLASS_IMPL(TIniFile)
TCLASS_IMPL(TMemIniFile)
TCLASS_IMPL(TRegIniFile)

namespace {

// A temporary string list, freed at the end of the scope.
class TTempStrings {
 public:
  TTempStrings() : FList(NewObject<TStringList>()) {}
  ~TTempStrings() { FList->Free(); }
  TTempStrings(const TTempStrings&) = delete;
  TTempStrings& operator=(const TTempStrings&) = delete;
  TStringList* operator->() const { return FList; }
  TStringList* get() const { return FList; }

 private:
  TStringList* FList;
};

// Frees a registry object at the end of the scope.
class TRegistryHolder {
 public:
  explicit TRegistryHolder(TRegistry* Reg) : FReg(Reg) {}
  ~TRegistryHolder() { FreeObject(FReg); }
  TRegistryHolder(const TRegistryHolder&) = delete;
  TRegistryHolder& operator=(const TRegistryHolder&) = delete;
  TRegistry* operator->() const { return FReg; }
  explicit operator bool() const { return FReg != nullptr; }

 private:
  TRegistry* FReg;
};

}  // namespace

// ---- TCustomIniFile ----

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
  TTempStrings Keys;
  ReadSection(Section, Keys.get());
  return Keys->Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
  TTempStrings Keys;
  ReadSection(Section, Keys.get());
  return Keys->IndexOf(Ident) >= 0;
}

int TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident,
                                int Default) {
  return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident,
                                  int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident,
                              bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident,
                               bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident,
                                 double Default) {
  AnsiString Text = ReadString(Section, Ident, "");
  return Text.empty() ? Default : StrToFloatDef(Text, Default);
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident,
                                double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

void TCustomIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  TTempStrings Keys;
  ReadSection(Section, Keys.get());
  TUpdateScope Updating(Strings);
  Strings->Clear();
  for (int I = 0; I < Keys->Count(); ++I) {
    AnsiString Key = Keys->Strings(I);
    Strings->Add(Key + "=" + ReadString(Section, Key, ""));
  }
}

// ---- TIniFile ----

TIniFile::~TIniFile() { UpdateFile(); }

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) {
  // The system cuts a value to the buffer and then returns size - 1: grow until the
  // value fits.
  std::vector<char> Buffer(2048);
  for (;;) {
    DWORD Len = GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(),
                                         Buffer.data(), static_cast<DWORD>(Buffer.size()),
                                         FFileName.c_str());
    if (Len + 1 < Buffer.size()) return AnsiString(Buffer.data(), Len);
    Buffer.resize(Buffer.size() * 2);
  }
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value) {
  if (!WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), Value.c_str(),
                                  FFileName.c_str()))
    throw EIniFileException(SIniFileWriteError, {FFileName});
}

void TIniFile::ReadList(const char* Section, TStrings* Strings) {
  // For a list the system returns size - 2 when it had to cut it.
  std::vector<char> Buffer(4096);
  DWORD Len;
  for (;;) {
    Len = GetPrivateProfileStringA(Section, nullptr, nullptr, Buffer.data(),
                                   static_cast<DWORD>(Buffer.size()), FFileName.c_str());
    if (Len + 2 < Buffer.size()) break;
    Buffer.resize(Buffer.size() * 2);
  }
  TUpdateScope Updating(Strings);
  Strings->Clear();
  for (DWORD P = 0; P < Len && Buffer[P];) {
    AnsiString Name(Buffer.data() + P);
    Strings->Add(Name);
    P += static_cast<DWORD>(Name.size()) + 1;
  }
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  ReadList(Section.c_str(), Strings);
}

void TIniFile::ReadSections(TStrings* Strings) { ReadList(nullptr, Strings); }

void TIniFile::EraseSection(const AnsiString& Section) {
  if (!WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, FFileName.c_str()))
    throw EIniFileException(SIniFileWriteError, {FFileName});
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), nullptr, FFileName.c_str());
}

void TIniFile::UpdateFile() {
  // All null: the system writes its cached copy of the file.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, FFileName.c_str());
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const AnsiString& AFileName) : TCustomIniFile(AFileName) {
  LoadValues();
}

void TMemIniFile::LoadValues() {
  if (FFileName.empty() || !FileExists(FFileName)) {
    Clear();
    return;
  }
  TTempStrings List;
  List->LoadFromFile(FFileName);
  SetStrings(List.get());
}

void TMemIniFile::Clear() { FSections.clear(); }

TMemIniFile::TSection* TMemIniFile::FindSection(const AnsiString& Section) {
  for (TSection& Sect : FSections)
    if (AnsiSameText(Sect.Name, Section)) return &Sect;
  return nullptr;
}

TMemIniFile::TSection& TMemIniFile::AddSection(const AnsiString& Section) {
  if (TSection* Existing = FindSection(Section)) return *Existing;
  FSections.push_back(TSection{Section, {}});
  return FSections.back();
}

int TMemIniFile::IndexOfName(const TSection& Sect, const AnsiString& Ident) {
  for (std::size_t I = 0; I < Sect.Lines.size(); ++I) {
    const AnsiString& Line = Sect.Lines[I];
    std::size_t Eq = Line.find('=');
    if (Eq != AnsiString::npos && AnsiSameText(Line.substr(0, Eq), Ident))
      return static_cast<int>(I);
  }
  return -1;
}

AnsiString TMemIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) {
  const TSection* Sect = FindSection(Section);
  if (!Sect) return Default;
  int I = IndexOfName(*Sect, Ident);
  if (I < 0) return Default;
  const AnsiString& Line = Sect->Lines[I];
  return Line.substr(Line.find('=') + 1);
}

void TMemIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value) {
  TSection& Sect = AddSection(Section);
  AnsiString Line = Ident + "=" + Value;
  int I = IndexOfName(Sect, Ident);
  if (I >= 0)
    Sect.Lines[I] = Line;
  else
    Sect.Lines.push_back(Line);
}

void TMemIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  TUpdateScope Updating(Strings);
  Strings->Clear();
  if (const TSection* Sect = FindSection(Section))
    for (const AnsiString& Line : Sect->Lines) {
      std::size_t Eq = Line.find('=');
      if (Eq != AnsiString::npos) Strings->Add(Line.substr(0, Eq));
    }
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  TUpdateScope Updating(Strings);
  Strings->Clear();
  for (const TSection& Sect : FSections) Strings->Add(Sect.Name);
}

void TMemIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  TUpdateScope Updating(Strings);
  Strings->Clear();
  if (const TSection* Sect = FindSection(Section))
    for (const AnsiString& Line : Sect->Lines) Strings->Add(Line);
}

void TMemIniFile::EraseSection(const AnsiString& Section) {
  for (auto It = FSections.begin(); It != FSections.end(); ++It)
    if (AnsiSameText(It->Name, Section)) {
      FSections.erase(It);
      return;
    }
}

void TMemIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  if (TSection* Sect = FindSection(Section)) {
    int I = IndexOfName(*Sect, Ident);
    if (I >= 0) Sect->Lines.erase(Sect->Lines.begin() + I);
  }
}

void TMemIniFile::GetStrings(TStrings* List) {
  TUpdateScope Updating(List);
  List->Clear();
  for (const TSection& Sect : FSections) {
    List->Add("[" + Sect.Name + "]");
    for (const AnsiString& Line : Sect.Lines) List->Add(Line);
    List->Add("");
  }
}

void TMemIniFile::SetStrings(TStrings* List) {
  Clear();
  TSection* Current = nullptr;
  for (int I = 0; I < List->Count(); ++I) {
    AnsiString S = Trim(List->Strings(I));
    if (S.empty() || S[0] == ';') continue;
    if (S.size() >= 2 && S.front() == '[' && S.back() == ']') {
      // A repeated section continues the first one of that name.
      Current = &AddSection(Trim(S.substr(1, S.size() - 2)));
    } else if (Current) {
      std::size_t Eq = S.find('=');
      if (Eq != AnsiString::npos)
        Current->Lines.push_back(Trim(S.substr(0, Eq)) + "=" + Trim(S.substr(Eq + 1)));
      else
        Current->Lines.push_back(S);
    }
  }
}

void TMemIniFile::UpdateFile() {
  TTempStrings List;
  GetStrings(List.get());
  List->SaveToFile(FFileName);
}

void TMemIniFile::Rename(const AnsiString& AFileName, bool Reload) {
  FFileName = AFileName;
  if (Reload) LoadValues();
}

// ---- TRegIniFile ----

TRegIniFile::TRegIniFile(const AnsiString& AFileName, REGSAM Access)
    : TCustomIniFile(AFileName), FRegistry(NewObject<TRegistry>(Access)) {
  FRegistry->OpenKey(AFileName, true);
}

TRegIniFile::~TRegIniFile() { FreeObjectSafely(FRegistry); }

bool TRegIniFile::OpenKey(const AnsiString& Key, bool CanCreate) {
  return FRegistry->OpenKey(Key, CanCreate);
}

void TRegIniFile::CloseKey() { FRegistry->CloseKey(); }

bool TRegIniFile::KeyExists(const AnsiString& Key) { return FRegistry->KeyExists(Key); }

TRegistry* TRegIniFile::OpenSection(const AnsiString& Section, bool CanCreate) {
  // The section's key is opened in a registry object of its own whose root is where
  // the section path starts, so FRegistry's current key stays as it is.
  bool FromRoot = !Section.empty() && Section[0] == '\\';
  AnsiString Path = FromRoot ? Section.substr(1) : Section;
  HKEY Base = !FromRoot && FRegistry->CurrentKey() ? FRegistry->CurrentKey()
                                                   : FRegistry->RootKey();
  TRegistry* Reg = NewObject<TRegistry>(FRegistry->Access());
  Reg->SetRootKey(Base);
  auto Undo = ScopeExit([&] { Reg->Free(); });
  const bool Opened = Reg->OpenKey(Path, CanCreate);
  Undo.Dismiss();
  if (!Opened) {
    Reg->Free();
    if (CanCreate) throw ERegistryException(SRegCreateFailed, {Section});
    return nullptr;
  }
  return Reg;
}

AnsiString TRegIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) {
  TRegistryHolder Reg(OpenSection(Section, false));
  if (!Reg) return Default;
  TRegDataInfo Info;
  if (!Reg->GetDataInfo(Ident, Info)) return Default;
  if (Info.RegData == rdInteger) return IntToStr(Reg->ReadInteger(Ident));
  return Reg->ReadString(Ident);
}

void TRegIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value) {
  TRegistryHolder Reg(OpenSection(Section, true));
  Reg->WriteString(Ident, Value);
}

int TRegIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident,
                             int Default) {
  TRegistryHolder Reg(OpenSection(Section, false));
  if (!Reg) return Default;
  TRegDataInfo Info;
  if (!Reg->GetDataInfo(Ident, Info)) return Default;
  switch (Info.RegData) {
    case rdInteger:
      return Info.DataSize == sizeof(DWORD) ? Reg->ReadInteger(Ident) : Default;
    case rdString:
    case rdExpandString:
      return StrToIntDef(Reg->ReadString(Ident), Default);
    default:
      return Default;
  }
}

void TRegIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  TRegistryHolder Reg(OpenSection(Section, false));
  if (Reg)
    Reg->GetValueNames(Strings);
  else
    Strings->Clear();
}

void TRegIniFile::ReadSections(TStrings* Strings) {
  TRegistryHolder Reg(OpenSection("", false));
  if (Reg)
    Reg->GetKeyNames(Strings);
  else
    Strings->Clear();
}

void TRegIniFile::EraseSection(const AnsiString& Section) { FRegistry->DeleteKey(Section); }

void TRegIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  TRegistryHolder Reg(OpenSection(Section, false));
  if (Reg) Reg->DeleteValue(Ident);
}
