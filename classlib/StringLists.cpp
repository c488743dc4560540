#include "classlib/StringLists.h"

#include <algorithm>
#include <climits>

#include "classlib/Lists.h"
#include "classlib/Memory.h"
#include "classlib/StrUtils.h"
#include "classlib/Streams.h"
#include "classlib/UpdateScope.h"

// ---------------------------------------------------------------------------------
// TStrings

TCLASS_IMPL(TStrings)

void TStrings::Put(int Index, const AnsiString& S) {
  TObject* Obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, Obj);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateScope Updating(this);
  AnsiString S = Get(CurIndex);
  TObject* Obj = GetObject(CurIndex);
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, S, Obj);
}

void TStrings::Exchange(int Index1, int Index2) {
  TUpdateScope Updating(this);
  AnsiString S = Get(Index1);
  TObject* Obj = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, S);
  PutObject(Index2, Obj);
}

void TStrings::SetCapacity(int) {}

int TStrings::Add(const AnsiString& S) {
  int Result = GetCount();
  Insert(Result, S);
  return Result;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  int Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(const TStrings* Strings) {
  TUpdateScope Updating(this);
  for (int I = 0, N = Strings->GetCount(); I < N; ++I)
    AddObject(Strings->Get(I), Strings->GetObject(I));
}

int TStrings::IndexOf(const AnsiString& S) const {
  for (int I = 0, N = GetCount(); I < N; ++I)
    if (CompareStrings(Get(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const {
  for (int I = 0, N = GetCount(); I < N; ++I) {
    AnsiString S = Get(I);
    std::size_t P = S.find(FNameValueSeparator);
    if (P != AnsiString::npos && CompareStrings(S.substr(0, P), Name) == 0) return I;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int I = 0, N = GetCount(); I < N; ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

AnsiString TStrings::ExtractName(const AnsiString& S) const {
  std::size_t P = S.find(FNameValueSeparator);
  return P == AnsiString::npos ? AnsiString() : S.substr(0, P);
}

AnsiString TStrings::Names(int Index) const { return ExtractName(Get(Index)); }

AnsiString TStrings::Values(const AnsiString& Name) const {
  int I = IndexOfName(Name);
  return I < 0 ? AnsiString() : ValueFromIndex(I);
}

void TStrings::SetValue(const AnsiString& Name, const AnsiString& Value) {
  int I = IndexOfName(Name);
  if (!Value.empty()) {
    if (I < 0) I = Add(AnsiString());
    Put(I, Name + FNameValueSeparator + Value);
  } else if (I >= 0) {
    Delete(I);
  }
}

AnsiString TStrings::ValueFromIndex(int Index) const {
  AnsiString S = Get(Index);
  std::size_t P = S.find(FNameValueSeparator);
  return P == AnsiString::npos ? AnsiString() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(int Index, const AnsiString& Value) {
  if (Value.empty()) {
    Delete(Index);
    return;
  }
  Put(Index, Names(Index) + FNameValueSeparator + Value);
}

AnsiString TStrings::GetTextStr() const {
  AnsiString Result;
  for (int I = 0, N = GetCount(); I < N; ++I) {
    Result += Get(I);
    Result += "\r\n";
  }
  return Result;
}

void TStrings::SetTextStr(const AnsiString& Value) {
  TUpdateScope Updating(this);
  Clear();
  std::size_t P = 0, Len = Value.size();
  while (P < Len) {
    std::size_t Start = P;
    while (P < Len && Value[P] != '\r' && Value[P] != '\n') ++P;
    Add(Value.substr(Start, P - Start));
    if (P < Len && Value[P] == '\r') ++P;
    if (P < Len && Value[P] == '\n') ++P;
  }
}

namespace {
bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' ' && C != '\0'; }
}  // namespace

AnsiString TStrings::CommaText() const { return JoinDelimited(',', '"', false); }

void TStrings::SetCommaText(const AnsiString& Value) { SplitDelimited(Value, ',', '"', false); }

AnsiString TStrings::DelimitedText() const {
  return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const AnsiString& Value) {
  SplitDelimited(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

AnsiString TStrings::JoinDelimited(char Delim, char Quote, bool Strict) const {
  AnsiString Result;
  for (int I = 0, N = GetCount(); I < N; ++I) {
    AnsiString S = Get(I);
    bool Quoted = S.empty();
    for (char C : S) {
      // A strict reader splits only on the delimiter, so blanks need no quotes there;
      // control characters always get them.
      if (C == Quote || C == Delim || static_cast<unsigned char>(C) < ' ' ||
          (C == ' ' && !Strict)) {
        Quoted = true;
        break;
      }
    }
    if (I > 0) Result += Delim;
    Result += Quoted ? AnsiQuotedStr(S, Quote) : S;
  }
  return Result;
}

void TStrings::SplitDelimited(const AnsiString& Value, char Delim, char Quote, bool Strict) {
  // The parts are gathered first and then assigned, so that a list that checks what it
  // is given takes the new contents or refuses them as a whole. The gathering list has
  // this one's separators, which the assignment copies back unchanged.
  TOwned<TStringList> Parts(NewObject<TStringList>());
  Parts->SetDelimiter(FDelimiter);
  Parts->SetQuoteChar(FQuoteChar);
  Parts->SetNameValueSeparator(FNameValueSeparator);
  Parts->SetStrictDelimiter(FStrictDelimiter);
  std::size_t P = 0, Len = Value.size();
  auto SkipBlanks = [&] {
    if (!Strict)
      while (P < Len && IsBlank(Value[P])) ++P;
  };
  SkipBlanks();
  while (P < Len) {
    if (Value[P] == Quote) {
      Parts->Add(AnsiExtractQuotedStr(Value, P, Quote));
    } else {
      std::size_t Start = P;
      while (P < Len && Value[P] != Delim && (Strict || !IsBlank(Value[P]))) ++P;
      Parts->Add(Value.substr(Start, P - Start));
    }
    SkipBlanks();
    if (P < Len && Value[P] == Delim) {
      ++P;
      if (P == Len) Parts->Add(AnsiString());  // a trailing delimiter ends with an empty item
      SkipBlanks();
    }
  }
  Assign(Parts.get());
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return AnsiCompareText(S1, S2);
}

void TStrings::Assign(TPersistent* Source) {
  TStrings* Strings = ObjectAs<TStrings>(Source);
  if (!Strings) {
    inherited::Assign(Source);
    return;
  }
  if (Strings == this) return;
  TUpdateScope Updating(this);
  Clear();
  FDelimiter = Strings->FDelimiter;
  FQuoteChar = Strings->FQuoteChar;
  FNameValueSeparator = Strings->FNameValueSeparator;
  FStrictDelimiter = Strings->FStrictDelimiter;
  AddStrings(Strings);
}

bool TStrings::Equals(const TStrings* Strings) const {
  int N = GetCount();
  if (N != Strings->GetCount()) return false;
  for (int I = 0; I < N; ++I)
    if (Get(I) != Strings->Get(I)) return false;
  return true;
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  TOwned<TFileStream> Stream(NewObject<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

void TStrings::LoadFromStream(TStream* Stream) {
  // A text past 2 GB (a file of 4 GB and more would otherwise be cut to its size
  // modulo 4 GB) cannot be held.
  const Int64 Left = std::max<Int64>(Stream->Size() - Stream->Position(), 0);
  if (Left > INT_MAX) throw EOutOfMemory(SOutOfMemory);
  AnsiString S =
      GrowOrRaise([&] { return AnsiString(static_cast<std::size_t>(Left), '\0'); });
  if (!S.empty()) Stream->ReadBuffer(S.data(), static_cast<int>(S.size()));
  SetTextStr(S);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
  TOwned<TFileStream> Stream(NewObject<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get());
}

void TStrings::SaveToStream(TStream* Stream) const {
  AnsiString S = GetTextStr();
  Stream->WriteBuffer(S.data(), static_cast<int>(S.size()));
}

// ---------------------------------------------------------------------------------
// TStringList

TCLASS_IMPL(TStringList)

TStringList::~TStringList() {
  if (FOwnsObjects)
    for (TStringItem& Item : FList) FreeObjectSafely(Item.FObject);
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) throw EStringListError(SListIndexError, {Index});
}

void TStringList::Changing() {
  if (UpdateCount() == 0) {
    if (OnChanging.Assigned()) OnChanging(this);
  } else if (!FChangedInUpdate) {
    // The first change of a batch announces the batch.
    FChangedInUpdate = true;
    if (OnChanging.Assigned()) OnChanging(this);
  }
}

void TStringList::Changed() {
  if (UpdateCount() == 0) {
    if (OnChange.Assigned()) OnChange(this);
  } else {
    FChangedInUpdate = true;
  }
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    FChangedInUpdate = false;
  } else if (FChangedInUpdate) {
    FChangedInUpdate = false;
    Changed();
  }
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

AnsiString TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[Index].FString;
}

void TStringList::Put(int Index, const AnsiString& S) {
  if (FSorted) throw EStringListError(SSortedListError);
  CheckIndex(Index);
  Changing();
  FList[Index].FString = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[Index].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[Index].FObject = AObject;
  Changed();
}

int TStringList::GetCount() const { return static_cast<int>(FList.size()); }

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
  if (FSorted) throw EStringListError(SSortedListError);
  if (Index < 0 || Index > GetCount()) throw EStringListError(SListIndexError, {Index});
  InsertItem(Index, S, AObject);
}

int TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const AnsiString& S, TObject* AObject) {
  int Result = GetCount();
  if (FSorted && Find(S, Result)) {
    if (FDuplicates == dupIgnore) return Result;
    if (FDuplicates == dupError) throw EStringListError(SDuplicateString);
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* Obj = FList[Index].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) FreeObjectSafely(Obj);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& Item : Old) FreeObjectSafely(Item.FObject);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) throw EStringListError(SSortedListError);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  auto Base = FList.begin();
  if (CurIndex < NewIndex)
    std::rotate(Base + CurIndex, Base + CurIndex + 1, Base + NewIndex + 1);
  else
    std::rotate(Base + NewIndex, Base + CurIndex, Base + CurIndex + 1);
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[Index1], FList[Index2]);
  Changed();
}

void TStringList::SetCapacity(int NewCapacity) {
  if (NewCapacity < GetCount() || !classlib_detail::FitsList(FList, NewCapacity))
    throw EStringListError(SListCapacityError, {NewCapacity});
  classlib_detail::SetListCapacity(FList, NewCapacity);
}

int TStringList::IndexOf(const AnsiString& S) const {
  if (!FSorted) return inherited::IndexOf(S);
  int Index;
  return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
  bool Result = false;
  int L = 0, H = GetCount() - 1;
  while (L <= H) {
    int I = L + (H - L) / 2;
    int C = CompareStrings(FList[I].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

int TStringList::StringListCompareStrings(TStringList* List, int Index1, int Index2) {
  return List->CompareStrings(List->FList[Index1].FString, List->FList[Index2].FString);
}

void TStringList::Sort() { CustomSort(StringListCompareStrings); }

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (!FSorted && GetCount() > 1) DoSort(Compare);
}

void TStringList::DoSort(TStringListSortCompare Compare) {
  if (GetCount() < 2) return;
  Changing();
  std::vector<int> Order =
      MergeSortOrder(GetCount(), [this, Compare](int A, int B) { return Compare(this, A, B); });
  std::vector<TStringItem> Sorted;
  Sorted.reserve(FList.size());
  for (int I : Order) Sorted.push_back(std::move(FList[I]));
  FList.swap(Sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  // The order depends on the comparison: a sorted list sorts itself again.
  if (FSorted) DoSort(StringListCompareStrings);
}
