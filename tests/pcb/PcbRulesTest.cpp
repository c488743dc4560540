// Rules against the editor stand-in: the flat rule record, and the rule with its name
// and two scopes, whose sub-scope lists are replaced wholesale in both directions.
#include <gtest/gtest.h>

#include <cstring>

#include "pcb/Pcbclass.h"
#include "tests/pcb/PcbEditorFixture.h"

namespace {

TSubScopeRecord SubScope(Byte Kind, const char* Name, Integer Base) {
  TSubScopeRecord R{};
  R.Kind = Kind;
  R.Name = Name;
  R.SubByte1 = Byte(Base + 1);
  R.SubByte2 = Byte(Base + 2);
  R.SubValue1 = Base * 10 + 1;
  R.SubValue2 = Base * 10 + 2;
  R.SubValue3 = Base * 10 + 3;
  R.SubValue4 = Base * 10 + 4;
  return R;
}

// Puts a sub-scope into the editor's rule directly.
void AddToEditor(Integer Rule, Byte Scope, const TSubScopeRecord& R) {
  PcbApi_SetState_AddSubscope(Rule, Scope, R.Kind, R.Name, R.SubByte1, R.SubByte2,
                              R.SubValue1, R.SubValue2, R.SubValue3, R.SubValue4);
}

bool SameRecord(const TSubScopeRecord* A, const TSubScopeRecord& B) {
  return A && std::memcmp(A, &B, sizeof(TSubScopeRecord)) == 0;
}

}  // namespace

using PcbRuleRecord = PcbEditorTest;

#define RULE_FIELDS(F)                                                                     \
  F(BitField2) F(BitField3) F(RuleByte1) F(RuleByte2) F(RuleByte3) F(RuleByte4) F(RuleByte5) \
  F(RuleByte6) F(RuleText1) F(RuleText2) F(RuleText3) F(RuleText4) F(RuleByte7) F(RuleByte8) \
  F(RuleValue1) F(RuleValue2) F(RuleValue3) F(RuleValue4) F(RuleText5) F(RuleText6)          \
  F(RuleText7) F(RuleText8) F(RuleText9) F(RuleText10)

TEST_F(PcbRuleRecord, EveryFieldComesBackAndTheKindIsTheEditors) {
  const Integer H = NewRuleHandle(eRoutingViaStyleRule);
  EXPECT_ROUND_TRIP(TPcbRule, H, RULE_FIELDS, 0);
  TOwned<TPcbRule> Rule(NewObject<TPcbRule>(H));
  EXPECT_EQ(Rule->ObjectId, eRuleObject);
  Rule->RuleKind = 3;  // not the editor's to change
  StartLog();
  EXPECT_EQ(Rule->Exchange(ExchangeWrite), 0);
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryRule"}));
  Rule->Exchange(ExchangeRead);
  EXPECT_EQ(Rule->RuleKind, eRoutingViaStyleRule);
}

using PcbRuleScopes = PcbEditorTest;

TEST_F(PcbRuleScopes, ReadReplacesEachScopeWithTheEditorsRecords) {
  const Integer H = NewRuleHandle(eClearanceRule);
  const TSubScopeRecord A = SubScope(8, "GND", 1), B = SubScope(0, "", 2),
                        C = SubScope(8, "VCC", 3);
  AddToEditor(H, 0, A);
  AddToEditor(H, 0, B);
  AddToEditor(H, 0, C);

  TOwned<TPcbRuleExt> Rule(NewObject<TPcbRuleExt>(H));
  Rule->Scope2->AddRecord(SubScope(5, "stale", 9));
  EXPECT_EQ(Rule->Exchange(ExchangeRead), 0);
  ASSERT_EQ(Rule->Scope1->Count(), 3);
  EXPECT_TRUE(SameRecord(Rule->Scope1->Records(0), A));
  EXPECT_TRUE(SameRecord(Rule->Scope1->Records(1), B));
  EXPECT_TRUE(SameRecord(Rule->Scope1->Records(2), C));
  EXPECT_EQ(Rule->Scope2->Count(), 0);
  EXPECT_EQ(Rule->RuleKind, eClearanceRule);
  // An empty scope reports 1; a second read does not pile records up.
  EXPECT_EQ(Rule->Scope2->Exchange(ExchangeRead), 1);
  EXPECT_EQ(Rule->Scope1->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Rule->Scope1->Count(), 3);
}

TEST_F(PcbRuleScopes, WriteReplacesTheEditorsScopesInListOrder) {
  const Integer H = NewRuleHandle(eWidthRule);
  AddToEditor(H, 0, SubScope(8, "old one", 4));
  AddToEditor(H, 0, SubScope(8, "old two", 5));
  AddToEditor(H, 1, SubScope(8, "old three", 6));

  TOwned<TPcbRuleExt> Rule(NewObject<TPcbRuleExt>(H));
  Rule->Exchange(ExchangeRead);
  Rule->Name = "Width rule";
  Rule->RuleExtByte1 = 0x21;
  Rule->RuleExtByte2 = 0x42;
  Rule->Scope1->Clear();
  const TSubScopeRecord First = SubScope(8, "NetB", 7), Second = SubScope(0, "", 8);
  Rule->Scope1->AddRecord(First);
  Rule->Scope1->AddRecord(Second);
  Rule->Scope2->Clear();
  StartLog();
  EXPECT_EQ(Rule->Exchange(ExchangeWrite), 0);
  EXPECT_EQ(StopLog(),
            (std::vector<std::string>{
                Call("PcbApi_GetObjectBitField2", 0, H), Call("PcbApi_GetObjectBitField3", 0, H),
                Call("PcbApi_QueryRuleExt", 0, H), Call("PcbApi_QueryRuleExtEx", 0, H),
                Call("PcbApi_SetState_DeleteAllSubScopes", H, 0),
                "PcbApi_SetState_AddSubscope " + std::to_string(H) +
                    " 0 8 \"NetB\" 8 9 71 72 73 74",
                "PcbApi_SetState_AddSubscope " + std::to_string(H) + " 0 0 \"\" 9 10 81 82 83 84",
                Call("PcbApi_SetState_DeleteAllSubScopes", H, 1)}));

  TOwned<TPcbRuleExt> Reader(NewObject<TPcbRuleExt>(H));
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Name.ToString(), "Width rule");
  EXPECT_EQ(Reader->RuleExtByte1, 0x21);
  EXPECT_EQ(Reader->RuleExtByte2, 0x42);
  ASSERT_EQ(Reader->Scope1->Count(), 2);
  EXPECT_TRUE(SameRecord(Reader->Scope1->Records(0), First));
  EXPECT_TRUE(SameRecord(Reader->Scope1->Records(1), Second));
  EXPECT_EQ(Reader->Scope2->Count(), 0);
}

TEST_F(PcbRuleScopes, ModesBeyondReadAndWriteDoNothing) {
  const Integer H = NewRuleHandle(eClearanceRule);
  AddToEditor(H, 0, SubScope(8, "kept", 1));
  TOwned<TPcbScope> Scope(NewObject<TPcbScope>(H, Byte(0)));
  Scope->AddRecord(SubScope(0, "", 2));
  StartLog();
  EXPECT_EQ(Scope->Exchange(3), 0);
  EXPECT_TRUE(StopLog().empty());
  EXPECT_EQ(Scope->Count(), 1);
  // Mode 2 writes.
  EXPECT_EQ(Scope->Exchange(ExchangeWriteAlt), 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(H, 0), 1);
}

TEST_F(PcbRuleScopes, RepointedRuleReadsTheScopesOfItsNewRule) {
  const Integer First = NewRuleHandle(eClearanceRule);
  const Integer Second = NewRuleHandle(eMaximumViaCountRule);
  AddToEditor(First, 0, SubScope(8, "first", 1));
  AddToEditor(Second, 1, SubScope(8, "second", 2));
  TOwned<TPcbRuleExt> Rule(NewObject<TPcbRuleExt>(First));
  Rule->Exchange(ExchangeRead);
  ASSERT_EQ(Rule->Scope1->Count(), 1);

  Rule->Handle = Second;
  Rule->Exchange(ExchangeRead);
  EXPECT_EQ(Rule->RuleKind, eMaximumViaCountRule);
  EXPECT_EQ(Rule->Scope1->Count(), 0);
  ASSERT_EQ(Rule->Scope2->Count(), 1);
  EXPECT_EQ(Rule->Scope2->Records(0)->Name.ToString(), "second");
  EXPECT_EQ(Rule->Scope2->RuleHandle, Second);
}

TEST_F(PcbRuleScopes, StatusOneFromTheRuleQueriesStopsBeforeTheScopes) {
  const Integer Track = NewObjectHandle(eTrackObject);
  TOwned<TPcbRuleExt> Rule(NewObject<TPcbRuleExt>(Track));
  Rule->Scope1->AddRecord(SubScope(0, "", 1));
  StartLog();
  EXPECT_EQ(Rule->Exchange(ExchangeRead), 1);
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryRuleExt"}));
  EXPECT_EQ(Rule->Scope1->Count(), 1);
}
