// The PcbApi_ exports about object classes and design rules: class members, the rule
// records, their two scopes of sub-scopes, and the constraint of each rule kind.
#include "host/MerovanPrivate.h"

using namespace Merovan;

namespace {

template <class T>
T* Target(TExchangeMode Mode, Integer Handle) {
  return ValidMode(Mode) ? Store().ObjectAs<T>(Handle) : nullptr;
}

// The rule when the mode is valid and it is of Kind: each constraint query serves the
// rules of one kind.
TRuleConstraints* Constraints(TExchangeMode Mode, Integer Handle, Byte Kind) {
  TRule* Rule = Target<TRule>(Mode, Handle);
  return Rule && Rule->Kind == Kind ? &Rule->Constraints : nullptr;
}

// Scope 0 or 1 of a rule, or nullptr.
std::vector<TSubScope>* Scope(Integer RuleHandle, Byte ScopeIndex) {
  TRule* Rule = Store().ObjectAs<TRule>(RuleHandle);
  return Rule && ScopeIndex < 2 ? &Rule->Scopes[ScopeIndex] : nullptr;
}

}  // namespace

extern "C" {

// ---------------------------------------------------------------------------------
// Object classes

Integer PCBAPI_STD PcbApi_QueryClass(TExchangeMode Mode, Integer Handle, Word& HeaderWord,
                                     Byte& ClassByte1, Byte& ClassByte2, PcbString& Name) {
  LogCall("PcbApi_QueryClass", Mode, Handle);
  return Status([&] {
    TObject* Obj = nullptr;
    TClass* C = ValidMode(Mode) ? Store().ObjectAs<TClass>(Handle, &Obj) : nullptr;
    if (!C) return 1;
    TSwap{Mode}(Obj->Header.HeaderWord, HeaderWord)(C->Byte1, ClassByte1)(
        C->Byte2, ClassByte2)(C->Name, Name);
    return 0;
  });
}

// Status 1 past the last member (and for a handle that is not a class).
Integer PCBAPI_STD PcbApi_GetMemberFromClassAt(Integer ClassHandle, Integer Index,
                                               PcbString& MemberName) {
  LogCall("PcbApi_GetMemberFromClassAt", ClassHandle, Index);
  return Status([&] {
    TClass* C = Store().ObjectAs<TClass>(ClassHandle);
    if (!C || Index < 0 || Index >= static_cast<Integer>(C->Members.size())) return 1;
    MemberName = C->Members[Index];
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_AddMemberToClass(Integer ClassHandle,
                                           const PcbString& MemberName) {
  LogCall("PcbApi_AddMemberToClass", ClassHandle, MemberName);
  return Status([&] {
    TClass* C = Store().ObjectAs<TClass>(ClassHandle);
    if (!C) return 1;
    C->Members.push_back(MemberName.ToString());
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_RemoveAllMembersFromClass(Integer ClassHandle) {
  LogCall("PcbApi_RemoveAllMembersFromClass", ClassHandle);
  return Status([&] {
    TClass* C = Store().ObjectAs<TClass>(ClassHandle);
    if (!C) return 1;
    C->Members.clear();
    return 0;
  });
}

// ---------------------------------------------------------------------------------
// Rules. The rule kind is fixed when the rule is made: reported, never written.

Integer PCBAPI_STD PcbApi_QueryRule(
    TExchangeMode Mode, Integer Handle, Byte& RuleKind, Byte& RuleByte1, Byte& RuleByte2,
    Byte& RuleByte3, Byte& RuleByte4, Byte& RuleByte5, Byte& RuleByte6,
    PcbString& RuleText1, PcbString& RuleText2, PcbString& RuleText3, PcbString& RuleText4,
    Byte& RuleByte7, Byte& RuleByte8, Integer& RuleValue1, Integer& RuleValue2,
    Integer& RuleValue3, Integer& RuleValue4, PcbString& RuleText5, PcbString& RuleText6,
    PcbString& RuleText7, PcbString& RuleText8, PcbString& RuleText9,
    PcbString& RuleText10) {
  LogCall("PcbApi_QueryRule", Mode, Handle);
  return Status([&] {
    TRule* R = Target<TRule>(Mode, Handle);
    if (!R) return 1;
    Byte* B = R->Bytes;
    std::string* T = R->Texts;
    TSwap{Mode}.Out(R->Kind, RuleKind)(B[0], RuleByte1)(B[1], RuleByte2)(B[2], RuleByte3)(
        B[3], RuleByte4)(B[4], RuleByte5)(B[5], RuleByte6)(T[0], RuleText1)(
        T[1], RuleText2)(T[2], RuleText3)(T[3], RuleText4)(B[6], RuleByte7)(
        B[7], RuleByte8)(R->Values[0], RuleValue1)(R->Values[1], RuleValue2)(
        R->Values[2], RuleValue3)(R->Values[3], RuleValue4)(T[4], RuleText5)(
        T[5], RuleText6)(T[6], RuleText7)(T[7], RuleText8)(T[8], RuleText9)(T[9],
                                                                            RuleText10);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleExt(TExchangeMode Mode, Integer Handle, Byte& RuleKind,
                                       Byte& RuleExtByte1, Byte& RuleExtByte2) {
  LogCall("PcbApi_QueryRuleExt", Mode, Handle);
  return Status([&] {
    TRule* R = Target<TRule>(Mode, Handle);
    if (!R) return 1;
    TSwap{Mode}.Out(R->Kind, RuleKind)(R->ExtBytes[0], RuleExtByte1)(R->ExtBytes[1],
                                                                     RuleExtByte2);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleExtEx(TExchangeMode Mode, Integer Handle,
                                         PcbString& Name) {
  LogCall("PcbApi_QueryRuleExtEx", Mode, Handle);
  return Status([&] {
    TRule* R = Target<TRule>(Mode, Handle);
    if (!R) return 1;
    TSwap{Mode}(R->Name, Name);
    return 0;
  });
}

// Scopes: index 0 and 1 of a rule. The void functions change nothing for an unknown
// rule or scope index.
void PCBAPI_STD PcbApi_SetState_DeleteAllSubScopes(Integer RuleHandle, Byte ScopeIndex) {
  LogCall("PcbApi_SetState_DeleteAllSubScopes", RuleHandle, ScopeIndex);
  HostGuardVoid([&] {
    if (auto* List = Scope(RuleHandle, ScopeIndex)) List->clear();
  });
}

void PCBAPI_STD PcbApi_SetState_AddSubscope(Integer RuleHandle, Byte ScopeIndex, Byte Kind,
                                            const PcbString& Name, Byte SubByte1,
                                            Byte SubByte2, Integer SubValue1,
                                            Integer SubValue2, Integer SubValue3,
                                            Integer SubValue4) {
  LogCall("PcbApi_SetState_AddSubscope", RuleHandle, ScopeIndex, Kind, Name, SubByte1,
          SubByte2, SubValue1, SubValue2, SubValue3, SubValue4);
  HostGuardVoid([&] {
    auto* List = Scope(RuleHandle, ScopeIndex);
    if (!List || List->size() >= SubScopeCapacity) return;
    List->push_back(TSubScope{Kind,
                              Name.ToString(),
                              SubByte1,
                              SubByte2,
                              {SubValue1, SubValue2, SubValue3, SubValue4}});
  });
}

Integer PCBAPI_STD PcbApi_GetState_SubScopesCount(Integer RuleHandle, Byte ScopeIndex) {
  LogCall("PcbApi_GetState_SubScopesCount", RuleHandle, ScopeIndex);
  return Answer<Integer>(0, [&]() -> Integer {
    auto* List = Scope(RuleHandle, ScopeIndex);
    return List ? static_cast<Integer>(List->size()) : 0;
  });
}

void PCBAPI_STD PcbApi_GetState_SubscopeAt(Integer RuleHandle, Byte ScopeIndex,
                                           Integer Index, Byte& Kind, PcbString& Name,
                                           Byte& SubByte1, Byte& SubByte2,
                                           Integer& SubValue1, Integer& SubValue2,
                                           Integer& SubValue3, Integer& SubValue4) {
  LogCall("PcbApi_GetState_SubscopeAt", RuleHandle, ScopeIndex, Index);
  HostGuardVoid([&] {
    auto* List = Scope(RuleHandle, ScopeIndex);
    if (!List || Index < 0 || Index >= static_cast<Integer>(List->size())) return;
    TSubScope& S = (*List)[Index];
    TSwap{ExchangeRead}(S.Kind, Kind)(S.Name, Name)(S.Byte1, SubByte1)(S.Byte2, SubByte2)(
        S.Values[0], SubValue1)(S.Values[1], SubValue2)(S.Values[2], SubValue3)(S.Values[3],
                                                                                SubValue4);
  });
}

// ---------------------------------------------------------------------------------
// Constraints

Integer PCBAPI_STD PcbApi_QueryRuleClearanceConstraint(TExchangeMode Mode, Integer Handle,
                                                       Integer& Gap) {
  LogCall("PcbApi_QueryRuleClearanceConstraint", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eClearanceRule);
    if (!C) return 1;
    TSwap{Mode}(C->Gap, Gap);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleMaxMinWidthConstraintExt(TExchangeMode Mode,
                                                            Integer Handle,
                                                            Integer& MinWidth,
                                                            Integer& MaxWidth,
                                                            Integer& PreferredWidth) {
  LogCall("PcbApi_QueryRuleMaxMinWidthConstraintExt", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eWidthRule);
    if (!C) return 1;
    TSwap{Mode}(C->MinWidth, MinWidth)(C->MaxWidth, MaxWidth)(C->PreferredWidth,
                                                              PreferredWidth);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleRoutingCornerStyleRule(TExchangeMode Mode,
                                                          Integer Handle, Byte& Style,
                                                          Integer& SecondSize,
                                                          Integer& FirstSize) {
  LogCall("PcbApi_QueryRuleRoutingCornerStyleRule", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eRoutingCornerStyleRule);
    if (!C) return 1;
    TSwap{Mode}(C->CornerStyle, Style)(C->CornerSecondSize, SecondSize)(C->CornerFirstSize,
                                                                        FirstSize);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleRoutingViaStyleRule(TExchangeMode Mode, Integer Handle,
                                                       Integer& HoleSize, Integer& Style,
                                                       Integer& Width) {
  LogCall("PcbApi_QueryRuleRoutingViaStyleRule", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eRoutingViaStyleRule);
    if (!C) return 1;
    TSwap{Mode}(C->ViaHoleSize, HoleSize)(C->ViaStyle, Style)(C->ViaWidth, Width);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleRoutingLayersRule(TExchangeMode Mode, Integer Handle,
                                                     TRoutingLayersBlock& Layers) {
  LogCall("PcbApi_QueryRuleRoutingLayersRule", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eRoutingLayersRule);
    if (!C) return 1;
    TSwap{Mode}(C->RoutingLayers, Layers);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRulePowerPlaneConnectStyleRule(
    TExchangeMode Mode, Integer Handle, Byte& Style, Integer& Value1, Integer& Value2,
    Integer& Value3, Integer& Value4) {
  LogCall("PcbApi_QueryRulePowerPlaneConnectStyleRule", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, ePlaneConnectStyleRule);
    if (!C) return 1;
    TSwap{Mode}(C->PlaneStyle, Style)(C->PlaneValues[0], Value1)(C->PlaneValues[1], Value2)(
        C->PlaneValues[2], Value3)(C->PlaneValues[3], Value4);
    return 0;
  });
}

Integer PCBAPI_STD PcbApi_QueryRuleMaximumViaCountRule(TExchangeMode Mode, Integer Handle,
                                                       Integer& Count) {
  LogCall("PcbApi_QueryRuleMaximumViaCountRule", Mode, Handle);
  return Status([&] {
    TRuleConstraints* C = Constraints(Mode, Handle, eMaximumViaCountRule);
    if (!C) return 1;
    TSwap{Mode}(C->MaxViaCount, Count);
    return 0;
  });
}

}  // extern "C"
