// The store of recently used filter expressions of the module's document kind.
//
// The list starts with the fixed entry "(All)" and holds at most 100 entries. It is
// loaded when it is created (from the user's file, else from the host's example file)
// and saved when it is freed, to the registry and to the user's file. The server
// module creates and frees the module-wide instance RecentExpressionList.
//
// Stores, in the section "Recent " + Kind + " Filter Expressions":
//   NewFileFormat=True
//   RecentExpressionCount=<entries, the fixed one included>
//   RecentExpression<n>=<escaped expression>, RecentDescription<n>=<description>
// for n = 2 .. count (entry n - 1 of the list; the fixed entry is never written).
// The old format is a plain text file: runs of non-blank lines are expressions, their
// lines joined with CR LF, separated by blank lines.
#pragma once

#include "classlib/StringLists.h"

class TCustomIniFile;
class TMethodList;

inline constexpr int MaxRecentExpressions = 100;
// The current user's registry key of the stores (below HKEY_CURRENT_USER).
inline constexpr const char* RecentExpressionsRegistryKey = "Software\\Norvane\\Corvista";

// One entry: an expression and its description.
class TRecentExpression : public TObject {
  TCLASS_DECL(TRecentExpression, TObject)
 public:
  TRecentExpression(const AnsiString& AExpression, const AnsiString& ADescription, bool AFixed)
      : FExpression(AExpression), FDescription(ADescription), FFixed(AFixed) {}

  const AnsiString& Expression() const { return FExpression; }
  const AnsiString& Description() const { return FDescription; }
  bool Fixed() const { return FFixed; }

 private:
  AnsiString FExpression;
  AnsiString FDescription;
  bool FFixed;
};

// Each string is an expression; its object is the entry's TRecentExpression, which
// the list owns (Delete, Clear and Free free it). Unsorted, not case sensitive.
class TRecentExpressionList : public TStringList {
  TCLASS_DECL(TRecentExpressionList, TStringList)
 public:
  TRecentExpressionList();
  ~TRecentExpressionList() override;
  TRecentExpressionList(const TRecentExpressionList&) = delete;
  TRecentExpressionList& operator=(const TRecentExpressionList&) = delete;

  // Takes Kind from the module-wide server module and loads the user's file, or the
  // example file when the user has none.
  void AfterConstruction() override;
  // Saves to the registry, then to the user's file. A store that cannot be written
  // is skipped: freeing the list never fails.
  void BeforeDestruction() override;

  // Appends an entry unless Expression is empty; once the list is full, later
  // additions are dropped.
  void AddExpression(const AnsiString& Expression, const AnsiString& Description);
  // The entry at Index, or nullptr when Index is out of range.
  TRecentExpression* GetExpressionItem(int Index) const;
  // Moves the entry (string and object) and tells every listener, with the list as
  // the sender. Both indexes must be in range (else EStringListError, nothing moved).
  void Move(int CurIndex, int NewIndex) override;

  // Reads a file in the new format when its section says NewFileFormat=True (any
  // case), otherwise in the old format. A missing file adds nothing.
  void LoadRecentExpressions(const AnsiString& Path);
  // Adds the entries of the new format held in Store.
  void ReadRecentExpressions(TCustomIniFile* Store);
  // Erases the section of Store and writes the whole list into it in the new format.
  void WriteRecentExpressions(TCustomIniFile* Store);
  // Writes the registry store, then the user's file; failures raise.
  void SaveRecentExpressions();

  // The module name read at creation ("Tarvik"); empty without a server module.
  const AnsiString& Kind() const { return FKind; }
  AnsiString SectionName() const;
  // The user's file, in the maker's application-data folder (created when missing).
  AnsiString UserFileName() const;
  // The host's example file, in "System\" beside the host executable.
  AnsiString ExampleFileName() const;
  // Notify methods called after an entry has moved.
  TMethodList* Listeners() const { return FListeners; }

 private:
  void ReadOldFormat(const AnsiString& Path);
  void SaveToRegistry();
  void SaveToUserFile();

  AnsiString FKind;
  TMethodList* FListeners = nullptr;
};

// The module-wide store; made and freed by the server module.
extern TRecentExpressionList* RecentExpressionList;

// The escaping of an expression in the new format: every "|" is doubled, then every
// CR LF becomes one "|". Unescaping reads from the end: "||" is a "|", a lone "|" is
// CR LF.
AnsiString EscapeRecentExpression(const AnsiString& Expression);
AnsiString UnescapeRecentExpression(const AnsiString& Text);
