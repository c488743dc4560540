#include "framework/Rt_RecentExpressions.h"

#include <algorithm>

#include "classlib/FileUtils.h"
#include "classlib/IniFiles.h"
#include "classlib/StrUtils.h"
#include "framework/RT_ServerImplementation.h"
#include "framework/Rt_Util.h"
#include "treenode/dcRecList.h"

TCLASS_IMPL(TRecentExpression)
TCLASS_IMPL(TRecentExpressionList)

TRecentExpressionList* RecentExpressionList = nullptr;

namespace {

const char* const FixedDescription = "(All)";

}  // namespace

AnsiString EscapeRecentExpression(const AnsiString& Expression) {
  return StringReplaceAll(StringReplaceAll(Expression, "|", "||"), "\r\n", "|");
}

AnsiString UnescapeRecentExpression(const AnsiString& Text) {
  // Built back to front, then turned around.
  AnsiString Result;
  for (int I = static_cast<int>(Text.size()) - 1; I >= 0; --I) {
    if (Text[I] != '|') {
      Result += Text[I];
    } else if (I > 0 && Text[I - 1] == '|') {
      Result += '|';
      --I;  // the first of the pair is taken with it
    } else {
      Result += "\n\r";
    }
  }
  std::reverse(Result.begin(), Result.end());
  return Result;
}

TRecentExpressionList::TRecentExpressionList() : TStringList(true) {
  FListeners = NewObject<TMethodList>();
  SetCaseSensitive(false);
  AddObject("", NewObject<TRecentExpression>("", FixedDescription, true));
}

TRecentExpressionList::~TRecentExpressionList() { FreeObjectSafely(FListeners); }

void TRecentExpressionList::AfterConstruction() {
  inherited::AfterConstruction();
  IServerModule* Module = nullptr;
  GetServerModule(&Module);
  if (Module) {
    const char* Name = Module->GetModuleName();
    FKind = Name ? Name : "";
    Module->Release();
  }
  // A store that cannot be read leaves the list with what was read so far: the
  // module starts all the same.
  try {
    AnsiString UserFile = UserFileName();
    if (!UserFile.empty() && FileExists(UserFile))
      LoadRecentExpressions(UserFile);
    else
      LoadRecentExpressions(ExampleFileName());
  } catch (...) {
  }
}

void TRecentExpressionList::BeforeDestruction() {
  // Each store on its own, so that one that cannot be written does not keep the
  // other from being saved or the list from being freed.
  try {
    SaveToRegistry();
  } catch (...) {
  }
  try {
    SaveToUserFile();
  } catch (...) {
  }
  inherited::BeforeDestruction();
}

void TRecentExpressionList::SaveRecentExpressions() {
  SaveToRegistry();
  SaveToUserFile();
}

void TRecentExpressionList::SaveToRegistry() {
  TOwned<TRegIniFile> Registry(NewObject<TRegIniFile>(RecentExpressionsRegistryKey));
  WriteRecentExpressions(Registry.get());
}

void TRecentExpressionList::SaveToUserFile() {
  AnsiString UserFile = UserFileName();
  if (UserFile.empty()) return;
  TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(UserFile));
  WriteRecentExpressions(Ini.get());
  Ini->UpdateFile();
}

AnsiString TRecentExpressionList::SectionName() const {
  return "Recent " + FKind + " Filter Expressions";
}

AnsiString TRecentExpressionList::UserFileName() const {
  AnsiString Folder = GetMakerAppDataFolder();
  if (Folder.empty()) return "";
  return IncludeTrailingPathDelimiter(Folder) + FKind + "RecentFilters.Txt";
}

AnsiString TRecentExpressionList::ExampleFileName() const {
  return ExtractFilePath(GetModuleFileNameStr(nullptr)) + "System\\Example" + FKind +
         "Filters.Txt";
}

void TRecentExpressionList::AddExpression(const AnsiString& Expression,
                                          const AnsiString& Description) {
  if (Expression.empty()) return;
  AddObject(Expression, NewObject<TRecentExpression>(Expression, Description, false));
  if (Count() > MaxRecentExpressions) Delete(Count() - 1);
}

TRecentExpression* TRecentExpressionList::GetExpressionItem(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return static_cast<TRecentExpression*>(GetObject(Index));
}

void TRecentExpressionList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  // Both indexes are checked before anything changes, so a bad one loses no entry.
  for (int Index : {CurIndex, NewIndex})
    if (Index < 0 || Index >= Count()) throw EStringListError(SListIndexError, {Index});
  AnsiString S = Get(CurIndex);
  TObject* Entry = GetObject(CurIndex);
  PutObject(CurIndex, nullptr);  // so that Delete does not free it
  Delete(CurIndex);
  InsertObject(NewIndex, S, Entry);
  for (int I = 0; I < FListeners->GetCount(); ++I) {
    TMethod Listener;
    FListeners->GetItem(I, Listener);
    TNotifyEvent Notify(Listener);
    Notify(this);
  }
}

void TRecentExpressionList::LoadRecentExpressions(const AnsiString& Path) {
  if (!FileExists(Path)) return;
  bool NewFormat;
  {
    TOwned<TMemIniFile> Ini(NewObject<TMemIniFile>(Path));
    NewFormat = SameText(Ini->ReadString(SectionName(), "NewFileFormat", ""), "True");
    if (NewFormat) ReadRecentExpressions(Ini.get());
  }
  if (!NewFormat) ReadOldFormat(Path);
}

void TRecentExpressionList::ReadRecentExpressions(TCustomIniFile* Store) {
  AnsiString Section = SectionName();
  // Number n holds entry n - 1 of the list, so no number past the list's capacity names
  // an entry it could keep; a damaged store's count may be anything up to MaxInt.
  int Last = std::min(Store->ReadInteger(Section, "RecentExpressionCount", 0),
                      MaxRecentExpressions);
  // Once the list is full every further entry would be dropped: stop reading there.
  for (int I = 1; I <= Last && Count() < MaxRecentExpressions; ++I) {
    AnsiString Number = IntToStr(I);
    AddExpression(UnescapeRecentExpression(Store->ReadString(Section, "RecentExpression" + Number, "")),
                  Store->ReadString(Section, "RecentDescription" + Number, ""));
  }
}

void TRecentExpressionList::ReadOldFormat(const AnsiString& Path) {
  TOwned<TStringList> Lines(NewObject<TStringList>());
  Lines->LoadFromFile(Path);
  // Runs of non-blank lines are expressions; a blank line or the end of the file
  // ends one.
  AnsiString Expression;
  bool Open = false;
  auto EndExpression = [&] {
    if (Open) AddExpression(Expression, "");
    Expression.clear();
    Open = false;
  };
  for (int I = 0; I < Lines->Count(); ++I) {
    AnsiString Line = Lines->Strings(I);
    if (Trim(Line).empty()) {
      EndExpression();
    } else {
      if (Open) Expression += "\r\n";
      Expression += Line;
      Open = true;
    }
  }
  EndExpression();
}

void TRecentExpressionList::WriteRecentExpressions(TCustomIniFile* Store) {
  AnsiString Section = SectionName();
  Store->EraseSection(Section);
  Store->WriteString(Section, "NewFileFormat", "True");
  Store->WriteInteger(Section, "RecentExpressionCount", Count());
  // The fixed entry at index 0 is never written: numbers start at 2.
  for (int I = 1; I < Count(); ++I) {
    AnsiString Number = IntToStr(I + 1);
    TRecentExpression* Entry = GetExpressionItem(I);
    AnsiString Expression = Entry ? Entry->Expression() : Get(I);
    AnsiString Description = Entry ? Entry->Description() : AnsiString();
    Store->WriteString(Section, "RecentExpression" + Number, EscapeRecentExpression(Expression));
    Store->WriteString(Section, "RecentDescription" + Number, Description);
  }
}
