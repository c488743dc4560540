// Lists of strings with attached objects: the abstract TStrings and the stored,
// optionally sorted TStringList.
#pragma once

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Objects.h"

class TStream;

// The abstract list of strings. A descendant stores the strings (TStringList, a
// control's items) and implements Get, GetCount, Insert, Delete and Clear; every other
// operation is built on those and may be overridden for speed.
//
// Text is every line followed by CR LF; setting it splits on CR, LF or CR LF.
// CommaText and DelimitedText quote an item with QuoteChar when it is empty or holds a
// control character, the quote, the delimiter or (unless StrictDelimiter) a space;
// reading splits on the delimiter and on blanks (only on the delimiter when
// StrictDelimiter) and honours quotes, and the parts are then assigned (Assign), so a
// descendant that checks an assigned list checks them too. CommaText always uses ','
// and '"'. Names and Values read "name=value" lines (NameValueSeparator, '=').
class TStrings : public TPersistent {
  TCLASS_DECL(TStrings, TPersistent)
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // The storage operations.
  virtual AnsiString Get(int Index) const = 0;
  virtual void Put(int Index, const AnsiString& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual int GetCount() const = 0;
  virtual void Insert(int Index, const AnsiString& S) = 0;
  virtual void InsertObject(int Index, const AnsiString& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Move(int CurIndex, int NewIndex);
  virtual void Exchange(int Index1, int Index2);
  virtual void SetCapacity(int NewCapacity);

  // Property-style access.
  int Count() const { return GetCount(); }
  AnsiString Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }

  // Adding; each returns the index of the string.
  virtual int Add(const AnsiString& S);
  virtual int AddObject(const AnsiString& S, TObject* AObject);
  void Append(const AnsiString& S) { Add(S); }
  virtual void AddStrings(const TStrings* Strings);

  // Searching; -1 when absent. Strings compare through CompareStrings.
  virtual int IndexOf(const AnsiString& S) const;
  virtual int IndexOfName(const AnsiString& Name) const;
  virtual int IndexOfObject(const TObject* AObject) const;

  // "name=value" lines. Names(Index) is "" for a line without the separator;
  // SetValue with an empty value deletes the line; a new name is added at the end.
  AnsiString Names(int Index) const;
  AnsiString Values(const AnsiString& Name) const;
  void SetValue(const AnsiString& Name, const AnsiString& Value);
  AnsiString ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const AnsiString& Value);
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }

  AnsiString Text() const { return GetTextStr(); }
  void SetText(const AnsiString& Value) { SetTextStr(Value); }
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& Value);
  AnsiString DelimitedText() const;
  void SetDelimitedText(const AnsiString& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Nested update brackets; SetUpdateState runs on the outermost ones.
  void BeginUpdate();
  void EndUpdate();

  // Copies the strings and objects of another TStrings (and its separators);
  // anything else goes to TPersistent::Assign.
  void Assign(TPersistent* Source) override;
  // Same count and the same strings, compared exactly.
  bool Equals(const TStrings* Strings) const;

  // Files and streams hold the text: lines end with CR LF, LF or CR when read, CR LF
  // when written. Loading replaces the contents with the rest of the stream; a rest
  // past 2 GB - 1 raises EOutOfMemory.
  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const AnsiString& FileName) const;
  virtual void SaveToStream(TStream* Stream) const;

 protected:
  virtual AnsiString GetTextStr() const;
  virtual void SetTextStr(const AnsiString& Value);
  // Called with true when the first BeginUpdate starts a batch of changes and with
  // false when the last EndUpdate ends it.
  virtual void SetUpdateState(bool Updating);
  // Negative, zero or positive; not case sensitive here.
  virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
  int UpdateCount() const { return FUpdateCount; }

 private:
  AnsiString ExtractName(const AnsiString& S) const;
  AnsiString JoinDelimited(char Delim, char Quote, bool Strict) const;
  void SplitDelimited(const AnsiString& Value, char Delim, char Quote, bool Strict);

  int FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the items at Index1 and Index2 of List: negative, zero or positive.
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);

// A stored list of strings with objects.
//
// When Sorted, Add and AddObject insert at the sorted place and Duplicates decides
// what a second equal string does (dupIgnore: nothing, the existing index is returned;
// dupAccept: it is added; dupError: EStringListError). Insert, Put and Move are not
// allowed on a sorted list. CaseSensitive (false by default) picks AnsiCompareStr over
// AnsiCompareText for finding and sorting.
//
// OnChanging and OnChange run before and after each change. Inside BeginUpdate /
// EndUpdate the first change of the batch runs OnChanging and the closing EndUpdate
// runs OnChange once, only when something changed.
//
// With OwnsObjects (false by default) the list frees the objects of the strings it
// deletes, clears or is freed with, without raising (see FreeObjectSafely).
class TStringList : public TStrings {
  TCLASS_DECL(TStringList, TStrings)
 public:
  explicit TStringList(bool AOwnsObjects = false) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override;
  void Insert(int Index, const AnsiString& S) override;
  void InsertObject(int Index, const AnsiString& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  void Move(int CurIndex, int NewIndex) override;
  void Exchange(int Index1, int Index2) override;
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  // Raises EStringListError "List capacity out of bounds (%d)" below Count or past
  // what the list holds (see MaxListSize).
  void SetCapacity(int NewCapacity) override;
  int Add(const AnsiString& S) override;
  // On a sorted list with dupIgnore, an existing string keeps its object.
  int AddObject(const AnsiString& S, TObject* AObject) override;
  int IndexOf(const AnsiString& S) const override;

  // Binary search of a sorted list: true when S is there, Index is then its (first)
  // position, otherwise the position where it would be inserted.
  virtual bool Find(const AnsiString& S, int& Index) const;
  // Sorts an unsorted list with the shared stable merge sort; Compare sees the list
  // in its order before the sort.
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  void InsertItem(int Index, const AnsiString& S, TObject* AObject);

 private:
  struct TStringItem {
    AnsiString FString;
    TObject* FObject = nullptr;
  };

  static int StringListCompareStrings(TStringList* List, int Index1, int Index2);
  void CheckIndex(int Index) const;
  void DoSort(TStringListSortCompare Compare);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects;
  bool FChangedInUpdate = false;
};
