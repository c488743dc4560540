#include "pcb/Pcbclass_Rules.h"

#include "pcb/PCBProcs.h"

TCLASS_IMPL(TPcbRule)
TCLASS_IMPL(TPcbScope)
TCLASS_IMPL(TPcbRuleExt)

// --- TPcbRule ---

TPcbRule::TPcbRule(Integer AHandle) : TPCBObject(AHandle) { ObjectId = eRuleObject; }

Integer TPcbRule::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  return PcbApi_QueryRule(Mode, Handle, RuleKind, RuleByte1, RuleByte2, RuleByte3,
                          RuleByte4, RuleByte5, RuleByte6, RuleText1, RuleText2, RuleText3,
                          RuleText4, RuleByte7, RuleByte8, RuleValue1, RuleValue2,
                          RuleValue3, RuleValue4, RuleText5, RuleText6, RuleText7,
                          RuleText8, RuleText9, RuleText10);
}

// --- TPcbScope ---

TPcbScope::TPcbScope(Integer ARuleHandle, Byte AScopeIndex)
    : RuleHandle(ARuleHandle), ScopeIndex(AScopeIndex) {}

void TPcbScope::Notify(void* Ptr, TListNotification Action) {
  if (Action == lnDeleted) delete static_cast<TSubScopeRecord*>(Ptr);
  inherited::Notify(Ptr, Action);
}

int TPcbScope::AddRecord(const TSubScopeRecord& Record) {
  return Add(new TSubScopeRecord(Record));
}

Integer TPcbScope::Exchange(TExchangeMode Mode) {
  if (Mode == ExchangeWrite || Mode == ExchangeWriteAlt) {
    // The editor's list is replaced wholesale, so the list order becomes its order.
    PcbApi_SetState_DeleteAllSubScopes(RuleHandle, ScopeIndex);
    for (int I = 0; I < Count(); ++I) {
      const TSubScopeRecord& R = *Records(I);
      PcbApi_SetState_AddSubscope(RuleHandle, ScopeIndex, R.Kind, R.Name, R.SubByte1,
                                  R.SubByte2, R.SubValue1, R.SubValue2, R.SubValue3,
                                  R.SubValue4);
    }
    return 0;
  }
  if (Mode != ExchangeRead) return 0;

  Clear();
  const Integer RecordCount = PcbApi_GetState_SubScopesCount(RuleHandle, ScopeIndex);
  if (RecordCount <= 0) return 1;  // an empty scope
  for (Integer Index = 0; Index < RecordCount; ++Index) {
    TSubScopeRecord* R = new TSubScopeRecord{};
    Add(R);
    PcbApi_GetState_SubscopeAt(RuleHandle, ScopeIndex, Index, R->Kind, R->Name, R->SubByte1,
                               R->SubByte2, R->SubValue1, R->SubValue2, R->SubValue3,
                               R->SubValue4);
  }
  return 0;
}

// --- TPcbRuleExt ---

TPcbRuleExt::TPcbRuleExt(Integer AHandle)
    : TPCBObject(AHandle),
      Scope1(NewObject<TPcbScope>(AHandle, Byte(0))),
      Scope2(NewObject<TPcbScope>(AHandle, Byte(1))) {
  ObjectId = eRuleObject;
}

TPcbRuleExt::~TPcbRuleExt() {
  // The records of both scopes, then the lists.
  Scope1->Clear();
  Scope2->Clear();
  FreeAndNil(Scope1);
  FreeAndNil(Scope2);
}

Integer TPcbRuleExt::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  Integer Status = PcbApi_QueryRuleExt(Mode, Handle, RuleKind, RuleExtByte1, RuleExtByte2);
  if (Status == 1) return 1;
  Status = PcbApi_QueryRuleExtEx(Mode, Handle, Name);
  if (Status == 1) return 1;
  // A wrapper re-pointed to another rule takes its scopes along.
  Scope1->RuleHandle = Handle;
  Scope2->RuleHandle = Handle;
  Scope1->Exchange(Mode);
  Scope2->Exchange(Mode);
  return Status;
}
