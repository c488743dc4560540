// Design rules: the flat copy of the editor's general rule record (TPcbRule), and the
// rule with its kind, name and two scopes (TPcbRuleExt). A scope is the list of
// sub-scope records that says which objects a rule applies to.
#pragma once

#include "classlib/Lists.h"
#include "pcb/Pcbclass_Object.h"

class TPcbRule : public TPCBObject {
  TCLASS_DECL(TPcbRule, TPCBObject)
 public:
  explicit TPcbRule(Integer AHandle = 0);

  Byte RuleKind = 0;
  Byte RuleByte1 = 0;
  Byte RuleByte2 = 0;
  Byte RuleByte3 = 0;
  Byte RuleByte4 = 0;
  Byte RuleByte5 = 0;
  Byte RuleByte6 = 0;
  PcbString RuleText1;
  PcbString RuleText2;
  PcbString RuleText3;
  PcbString RuleText4;
  Byte RuleByte7 = 0;
  Byte RuleByte8 = 0;
  Integer RuleValue1 = 0;
  Integer RuleValue2 = 0;
  Integer RuleValue3 = 0;
  Integer RuleValue4 = 0;
  PcbString RuleText5;
  PcbString RuleText6;
  PcbString RuleText7;
  PcbString RuleText8;
  PcbString RuleText9;
  PcbString RuleText10;

  // The state bytes, then the rule record with the fields in declared order.
  Integer Exchange(TExchangeMode Mode) override;
};

// One scope of a rule: a list of pointers to sub-scope records that the list owns. A
// record leaves the list freed (Delete, Remove, Clear, Put and the list's end), so
// records added with Add must come from new; AddRecord makes the copy itself.
class TPcbScope : public TList {
  TCLASS_DECL(TPcbScope, TList)
 public:
  TPcbScope(Integer ARuleHandle, Byte AScopeIndex);

  Integer RuleHandle;  // the rule's editor handle
  Byte ScopeIndex;     // 0 the first scope, 1 the second

  TSubScopeRecord* Records(int Index) const {
    return static_cast<TSubScopeRecord*>(Get(Index));
  }
  // Appends a copy of Record; its index.
  int AddRecord(const TSubScopeRecord& Record);

  // Write (mode 0 or 2): the editor's sub-scopes become the records, in list order;
  // returns 0. Read (mode 1): the records become the editor's; returns 1 when the
  // scope is empty, else 0. Any other mode does nothing and returns 0.
  Integer Exchange(TExchangeMode Mode);

 protected:
  void Notify(void* Ptr, TListNotification Action) override;
};

class TPcbRuleExt : public TPCBObject {
  TCLASS_DECL(TPcbRuleExt, TPCBObject)
 public:
  explicit TPcbRuleExt(Integer AHandle = 0);
  TPcbRuleExt(const TPcbRuleExt&) = delete;
  TPcbRuleExt& operator=(const TPcbRuleExt&) = delete;
  ~TPcbRuleExt() override;

  Byte RuleKind = 0;  // the kind the rule was created with
  PcbString Name;
  Byte RuleExtByte1 = 0;
  Byte RuleExtByte2 = 0;
  TPcbScope* Scope1;  // owned; scope index 0
  TPcbScope* Scope2;  // owned; scope index 1

  // The state bytes, the kind record and the name (a status of exactly 1 from either
  // stops the exchange and is returned), then both scopes of the rule Handle now
  // designates; returns the name query's status.
  Integer Exchange(TExchangeMode Mode) override;
};
