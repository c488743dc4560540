// The editor stand-in's dimensions, design rules with their scopes and constraints,
// and object classes with their members.
#include "tests/host/MerovanTestSupport.h"

namespace {

class MerovanRulesTest : public MerovanTest {
 protected:
  struct TReferenceValues {
    Integer V[4] = {};
  };

  TReferenceValues Reference(Integer Dimension, Integer Index, Integer* Status = nullptr) {
    TReferenceValues R;
    Integer Result = PcbApi_References_At(ExchangeRead, Dimension, Index, R.V[0], R.V[1],
                                          R.V[2], R.V[3]);
    if (Status) *Status = Result;
    return R;
  }

  Integer Count(Integer (*Counter)(Integer, Integer&), Integer Handle) {
    Integer N = -1;
    EXPECT_EQ(Counter(Handle, N), 0);
    return N;
  }

  // Exchanges the extended dimension record with only the kind and DimValue2 of
  // interest.
  Integer ExtDimension(TExchangeMode Mode, Integer Handle, Byte& Kind, Integer& Value2) {
    Integer V = 0;
    Byte B = 0;
    PcbString T;
    TPcbWide Wide = 0;
    return PcbApi_QueryExtDimension(Mode, Handle, Kind, V, Value2, V, B, V, T, B, V, T, T,
                                    Wide, V, V, V, B, V, V, V);
  }

  Byte RuleKind(Integer Rule) {
    Byte Kind = 99, E1 = 0, E2 = 0;
    EXPECT_EQ(PcbApi_QueryRuleExt(ExchangeRead, Rule, Kind, E1, E2), 0);
    return Kind;
  }
};

TEST_F(MerovanRulesTest, DiameterDimensionStartsWithTwoZeroedReferences) {
  Integer Dimension = PcbApi_CreateDimensionObject(eLinearDiameterDimension);
  ASSERT_NE(Dimension, 0);
  ASSERT_EQ(Count(PcbApi_References_Count, Dimension), 2);
  EXPECT_EQ(Count(PcbApi_TextLocations_Count, Dimension), 0);
  for (int I = 0; I < 2; ++I) {
    TReferenceValues R = Reference(Dimension, I);
    EXPECT_EQ(R.V[0] | R.V[1] | R.V[2] | R.V[3], 0);
  }
  // The wrapper's write reaches the references the dimension holds.
  Integer Arc = AddArc(0, 0, 100, 1), Zero = 0, Anchor = 5;
  ASSERT_EQ(PcbApi_References_At(ExchangeWrite, Dimension, 1, Arc, Zero, Zero, Anchor), 0);
  EXPECT_EQ(Reference(Dimension, 1).V[0], Arc);
  EXPECT_EQ(Reference(Dimension, 1).V[3], 5);
  Integer Status = 0;
  Reference(Dimension, 2, &Status);
  EXPECT_EQ(Status, 1);
  EXPECT_EQ(PcbApi_References_At(ExchangeWrite, Dimension, -1, Arc, Zero, Zero, Anchor), 1);

  // The kind is fixed: a write leaves it, and the kind decides the linear value's query.
  Byte Kind = 0;
  Integer Position = 0;
  ASSERT_EQ(ExtDimension(ExchangeRead, Dimension, Kind, Position), 0);
  EXPECT_EQ(Kind, eLinearDiameterDimension);
  Kind = eLinearDimension, Position = -1200000;
  ASSERT_EQ(ExtDimension(ExchangeWrite, Dimension, Kind, Position), 0);
  Kind = 0, Position = 0;
  ExtDimension(ExchangeRead, Dimension, Kind, Position);
  EXPECT_EQ(Kind, eLinearDiameterDimension);
  EXPECT_EQ(Position, -1200000);
  double Linear = 42;
  EXPECT_EQ(PcbApi_QueryLinearDimension(ExchangeWrite, Dimension, Linear), 0);
  EXPECT_EQ(PcbApi_QueryBaselineDimension(ExchangeWrite, Dimension, Linear), 1);
  Linear = 0;
  PcbApi_QueryLinearDimension(ExchangeRead, Dimension, Linear);
  EXPECT_EQ(Linear, 42);
}

TEST_F(MerovanRulesTest, DimensionListsGrowByAddsUpTo200Entries) {
  Integer Dimension = PcbApi_CreateDimensionObject(eBaselineDimension);
  EXPECT_EQ(Count(PcbApi_References_Count, Dimension), 0);
  for (int I = 0; I < 200; ++I) {
    ASSERT_EQ(PcbApi_References_Add(Dimension, I, 0, 0, 1), 0);
    ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, I, -I), 0);
  }
  EXPECT_EQ(PcbApi_References_Add(Dimension, 1, 0, 0, 1), 1);
  EXPECT_EQ(PcbApi_TextLocations_Add(Dimension, 1, 1), 1);
  EXPECT_EQ(Count(PcbApi_References_Count, Dimension), 200);
  EXPECT_EQ(Count(PcbApi_TextLocations_Count, Dimension), 200);
  Integer X = 0, Y = 0;
  ASSERT_EQ(PcbApi_TextLocations_At(ExchangeRead, Dimension, 199, X, Y), 0);
  EXPECT_EQ(X * 1000 + Y, 199 * 1000 - 199);
  EXPECT_EQ(PcbApi_TextLocations_At(ExchangeRead, Dimension, 200, X, Y), 1);
  EXPECT_EQ(Reference(Dimension, 150).V[0], 150);
  // A dimension of a kind the editor does not know is not made; a plain one is kind 8.
  EXPECT_EQ(PcbApi_CreateDimensionObject(0), 0);
  EXPECT_EQ(PcbApi_CreateDimensionObject(11), 0);
  Byte Kind = 0;
  Integer Position = 0;
  ExtDimension(ExchangeRead, PcbApi_CreateObject(eDimensionObject), Kind, Position);
  EXPECT_EQ(Kind, eDefaultDimension);
  EXPECT_EQ(PcbApi_References_Add(AddTrack(0, 0, 1, 1), 0, 0, 0, 0), 1);
}

TEST_F(MerovanRulesTest, NewRulesHoldUsableConstraintsOfTheirKind) {
  Integer Clearance = PcbApi_CreateRuleObject(eClearanceRule);
  Integer Width = PcbApi_CreateRuleObject(eWidthRule);
  Integer Corner = PcbApi_CreateRuleObject(eRoutingCornerStyleRule);
  Integer Via = PcbApi_CreateRuleObject(eRoutingViaStyleRule);
  Integer Layers = PcbApi_CreateRuleObject(eRoutingLayersRule);
  Integer Plane = PcbApi_CreateRuleObject(ePlaneConnectStyleRule);
  Integer ViaCount = PcbApi_CreateRuleObject(eMaximumViaCountRule);
  EXPECT_EQ(PcbApi_CreateRuleObject(50), 0);

  Integer Gap = 0, Min = 0, Max = 0, Preferred = 0, First = 0, Second = 0, Hole = 0,
          Style = -1, ViaWidth = 0, V[4] = {}, Vias = 0;
  Byte CornerStyle = 0, PlaneStyle = 0;
  TRoutingLayersBlock Block = {};
  ASSERT_EQ(PcbApi_QueryRuleClearanceConstraint(ExchangeRead, Clearance, Gap), 0);
  ASSERT_EQ(
      PcbApi_QueryRuleMaxMinWidthConstraintExt(ExchangeRead, Width, Min, Max, Preferred),
      0);
  ASSERT_EQ(PcbApi_QueryRuleRoutingCornerStyleRule(ExchangeRead, Corner, CornerStyle,
                                                   Second, First),
            0);
  ASSERT_EQ(PcbApi_QueryRuleRoutingViaStyleRule(ExchangeRead, Via, Hole, Style, ViaWidth),
            0);
  ASSERT_EQ(PcbApi_QueryRuleRoutingLayersRule(ExchangeRead, Layers, Block), 0);
  ASSERT_EQ(PcbApi_QueryRulePowerPlaneConnectStyleRule(ExchangeRead, Plane, PlaneStyle,
                                                       V[0], V[1], V[2], V[3]),
            0);
  ASSERT_EQ(PcbApi_QueryRuleMaximumViaCountRule(ExchangeRead, ViaCount, Vias), 0);
  EXPECT_EQ(Gap, 100000);  // 10 mil
  for (Integer Size :
       {Min, Max, Preferred, First, Second, Hole, ViaWidth, V[0], V[1], V[2], V[3], Vias})
    EXPECT_GT(Size, 0);
  EXPECT_LT(Hole, ViaWidth);
  EXPECT_EQ(Block.Layers[0] * 10 + Block.Layers[31], 12);

  // Written values come back; a constraint of another kind's rule is refused.
  Gap = 123456;
  Block.Layers[5] = 2;
  ASSERT_EQ(PcbApi_QueryRuleClearanceConstraint(ExchangeWrite, Clearance, Gap), 0);
  ASSERT_EQ(PcbApi_QueryRuleRoutingLayersRule(ExchangeWrite, Layers, Block), 0);
  EXPECT_EQ(PcbApi_QueryRuleClearanceConstraint(ExchangeRead, Width, Gap), 1);
  EXPECT_EQ(PcbApi_QueryRuleMaximumViaCountRule(ExchangeRead, Clearance, Vias), 1);
  EXPECT_EQ(PcbApi_QueryRuleClearanceConstraint(3, Clearance, Gap), 1);
  Gap = 0;
  Block = {};
  PcbApi_QueryRuleClearanceConstraint(ExchangeRead, Clearance, Gap);
  PcbApi_QueryRuleRoutingLayersRule(ExchangeRead, Layers, Block);
  EXPECT_EQ(Gap, 123456);
  EXPECT_EQ(Block.Layers[5], 2);

  // The kind stays what the rule was made as.
  Byte Kind = eWidthRule, E1 = 3, E2 = 4;
  ASSERT_EQ(PcbApi_QueryRuleExt(ExchangeWrite, Clearance, Kind, E1, E2), 0);
  EXPECT_EQ(RuleKind(Clearance), eClearanceRule);
  EXPECT_EQ(RuleKind(ViaCount), eMaximumViaCountRule);
}

// The records' fields and the rule's name come back through the rule wrapper's tests.
TEST_F(MerovanRulesTest, EachScopeIndexKeepsItsOwnSubScopes) {
  Integer Rule = PcbApi_CreateRuleObject(eClearanceRule);
  PcbApi_SetState_AddSubscope(Rule, 0, 0, "", 0, 0, 0, 0, 0, 0);
  PcbApi_SetState_AddSubscope(Rule, 0, 8, "GND", 1, 2, 3, 4, 5, 6);
  PcbApi_SetState_AddSubscope(Rule, 1, 8, "VCC", 0, 0, 0, 0, 0, 0);
  PcbApi_SetState_AddSubscope(Rule, 2, 8, "Lost", 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 0), 2);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 1), 1);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 2), 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule + 1000, 0), 0);

  TSubScopeRecord Untouched{};
  Untouched.Kind = 77;
  PcbApi_GetState_SubscopeAt(Rule, 1, 1, Untouched.Kind, Untouched.Name, Untouched.SubByte1,
                             Untouched.SubByte2, Untouched.SubValue1, Untouched.SubValue2,
                             Untouched.SubValue3, Untouched.SubValue4);
  EXPECT_EQ(Untouched.Kind, 77);

  PcbApi_SetState_DeleteAllSubScopes(Rule, 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 0), 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 1), 1);
  for (int I = 0; I < 250; ++I)
    PcbApi_SetState_AddSubscope(Rule, 0, 0, "", 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(PcbApi_GetState_SubScopesCount(Rule, 0), 200);

  PcbString Name;
  EXPECT_EQ(PcbApi_QueryRuleExtEx(ExchangeRead, AddTrack(0, 0, 1, 1), Name), 1);
}

// The member list itself is read and written through the class wrapper's tests.
TEST_F(MerovanRulesTest, ClassesTakeMode2AsAWriteAndOtherKindsRefuseMembers) {
  Integer Class = PcbApi_CreateObject(eClassObject);
  Word HeaderWord = 0;
  Byte B1 = 1, B2 = 2;
  PcbString Name = "Power";
  ASSERT_EQ(PcbApi_QueryClass(ExchangeWriteAlt, Class, HeaderWord, B1, B2, Name), 0);
  Name = "", B1 = B2 = 0;
  PcbApi_QueryClass(ExchangeRead, Class, HeaderWord, B1, B2, Name);
  EXPECT_EQ(Name.ToString() + char('0' + B1) + char('0' + B2), "Power12");
  Integer Net = PcbApi_CreateObject(eNetObject);
  EXPECT_EQ(PcbApi_AddMemberToClass(Net, "GND"), 1);
  EXPECT_EQ(PcbApi_QueryClass(ExchangeRead, Net, HeaderWord, B1, B2, Name), 1);
}

}  // namespace
