// The board maker's design rules: the values and scopes of the rules it makes from the
// record, read back from the editor.
#include "tests/wizard/MakerTemplates.h"
#include "wizard/Rules.h"

namespace {

class MakerRulesTest : public MakerTemplateTest {
 protected:
  // Builds a blank template board and reads its rules.
  void BuildRules() {
    Info->IsCustom = false;
    Info->TemplateFileName.clear();
    const Integer Board = Build();
    ASSERT_NE(Board, 0);
    Read = Rules(Board);
  }

  // The one rule of the kind; nullptr (and a failure) when there is not exactly one.
  TPcbRuleExt* Rule(Byte Kind) {
    TPcbRuleExt* Found = nullptr;
    for (const auto& R : Read)
      if (R->RuleKind == Kind) {
        EXPECT_EQ(Found, nullptr) << "two rules of kind " << int(Kind);
        Found = R.get();
      }
    EXPECT_NE(Found, nullptr) << "no rule of kind " << int(Kind);
    return Found;
  }

  // The rules step alone, with the record as it is, on a blank template board built
  // from the default sizes; reads its rules.
  void ApplyRules() {
    TOwned<TBoardInfoFromUser> Defaults(NewObject<TBoardInfoFromUser>());
    Defaults->IsCustom = false;
    TOwned<TTarvik> Maker(NewObject<TTarvik>(Defaults.get(), nullptr));
    Maker->BuildBoard();
    ASSERT_NE(Maker->Document, nullptr);
    const Integer Board = PcbApi_GetBoardHandleFromFileName(PcbString(Maker->Document->GetFileName()));
    ASSERT_NE(Board, 0);
    TOwned<TPcbBoard> Wrapper(NewObject<TPcbBoard>(Board));
    AddDesignRules(Wrapper.get(), Info);
    Read = Rules(Board);
  }

  std::vector<Integer> Widths() {
    std::vector<Integer> W(3);  // minimum, maximum, preferred
    if (TPcbRuleExt* R = Rule(eWidthRule))
      PcbApi_QueryRuleMaxMinWidthConstraintExt(ExchangeRead, R->Handle, W[0], W[1], W[2]);
    return W;
  }

  std::vector<Integer> ViaStyle() {
    std::vector<Integer> V(3);  // hole, style, width
    if (TPcbRuleExt* R = Rule(eRoutingViaStyleRule))
      PcbApi_QueryRuleRoutingViaStyleRule(ExchangeRead, R->Handle, V[0], V[1], V[2]);
    return V;
  }

  std::vector<int> RoutingLayers() {
    TRoutingLayersBlock Block{};
    if (TPcbRuleExt* R = Rule(eRoutingLayersRule))
      PcbApi_QueryRuleRoutingLayersRule(ExchangeRead, R->Handle, Block);
    return std::vector<int>(Block.Layers, Block.Layers + 32);
  }

  std::vector<TOwned<TPcbRuleExt>> Read;
};

TEST_F(MakerRulesTest, DefaultRecordGivesOneRuleOfEachKindWithItsValuesAndScopes) {
  BuildRules();
  ASSERT_EQ(SortedKinds(Read), (std::vector<int>{0, 2, 6, 9, 10, 11}));
  for (const auto& R : Read) {
    // Width and clearance apply to both objects of a pair, the others to one.
    const bool Pair = R->RuleKind == eWidthRule || R->RuleKind == eClearanceRule;
    EXPECT_EQ(ScopeKinds(R->Scope1), std::vector<int>{0}) << int(R->RuleKind);
    EXPECT_EQ(ScopeKinds(R->Scope2), Pair ? std::vector<int>{0} : std::vector<int>{})
        << int(R->RuleKind);
    EXPECT_EQ(R->Name.Length, 0);
  }

  EXPECT_EQ(Widths(), (std::vector<Integer>{80000, 80000, 80000}));
  Integer Gap = 0;
  PcbApi_QueryRuleClearanceConstraint(ExchangeRead, Rule(eClearanceRule)->Handle, Gap);
  EXPECT_EQ(Gap, 80000);

  std::vector<int> Routing(32, 0);
  Routing[0] = 1;   // top layer, odd
  Routing[31] = 2;  // bottom layer, even
  EXPECT_EQ(RoutingLayers(), Routing);

  Byte Corner = 0;
  Integer Second = 0, First = 0;
  PcbApi_QueryRuleRoutingCornerStyleRule(ExchangeRead, Rule(eRoutingCornerStyleRule)->Handle,
                                         Corner, Second, First);
  EXPECT_EQ(std::vector<Integer>({Corner, Second, First}),
            (std::vector<Integer>{1, 1000000, 1000000}));

  EXPECT_EQ(ViaStyle(), (std::vector<Integer>{250000, 0, 400000}));

  Byte Style = 9;
  Integer V1 = 0, V2 = 0, V3 = 0, V4 = 0;
  PcbApi_QueryRulePowerPlaneConnectStyleRule(ExchangeRead, Rule(ePlaneConnectStyleRule)->Handle,
                                             Style, V1, V2, V3, V4);
  EXPECT_EQ(std::vector<Integer>({Style, V1, V2, V3, V4}),
            (std::vector<Integer>{0, 200000, 100000, 4, 100000}));
}

TEST_F(MakerRulesTest, RoutingLayersOfFourSignalLayers) {
  Info->SignalLayers = 4;
  BuildRules();
  std::vector<int> Routing(32, 0);
  Routing[0] = 1;
  Routing[1] = 2;  // layer 2
  Routing[2] = 1;  // layer 3
  Routing[31] = 2;
  EXPECT_EQ(RoutingLayers(), Routing);
}

TEST_F(MakerRulesTest, ViaStyles) {
  Info->ViaStyle = vsBlindBuried;
  BuildRules();
  EXPECT_EQ(ViaStyle()[1], 1);

  Info->ViaStyle = vsNone;
  BuildRules();
  ASSERT_EQ(SortedKinds(Read), (std::vector<int>{0, 2, 6, 9, 10, 18}));
  Integer Count = -1;
  PcbApi_QueryRuleMaximumViaCountRule(ExchangeRead, Rule(eMaximumViaCountRule)->Handle, Count);
  EXPECT_EQ(Count, 0);
  EXPECT_EQ(ScopeKinds(Rule(eMaximumViaCountRule)->Scope1), std::vector<int>{0});
}

TEST_F(MakerRulesTest, ZeroSizesKeepTheEditorsDefaults) {
  // The maker refuses a record with such sizes (it makes no board); the rules step
  // itself still leaves the editor's defaults for them.
  Info->MinViaWidth = 0;
  Info->MinTrackSize = 0;
  EXPECT_THROW(Build(), EBoardBuildError);
  ApplyRules();
  EXPECT_EQ(ViaStyle(), (std::vector<Integer>{250000, 0, 500000}));
  EXPECT_EQ(Widths(), (std::vector<Integer>{100000, 100000, 100000}));

  Info->MinViaWidth = 400000;
  Info->MinViaHoleSize = 0;
  ApplyRules();
  EXPECT_EQ(ViaStyle(), (std::vector<Integer>{280000, 0, 400000}));
}

}  // namespace
