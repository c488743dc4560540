#include "wizard/Rules.h"

#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Maker.h"

namespace {

// Sub-scope kinds: the whole board, and an object named by the entry.
constexpr Byte WholeBoardScope = 0;
constexpr Byte NamedScope = 8;

// Via style given to the editor, by the record's ViaStyle (none, blind and buried,
// thru-hole); NoViaStyle asks for a maximum via count of 0 instead.
constexpr Byte NoViaStyle = 3;
constexpr Byte ViaStyleTable[3] = {NoViaStyle, 1, 0};

// Routing value of a signal layer by (used x 2 + layer number mod 2): an unused layer
// is not routed, a used odd layer gets 1 and a used even layer 2.
constexpr Byte RoutingLayerTable[4] = {0, 0, 2, 1};

// The corner style and both corner sizes, and the plane connection, the wizard sets.
constexpr Byte CornerStyle = 1;
constexpr double CornerSizeMils = 100;
constexpr Byte PlaneConnectStyle = 0;
constexpr double PlaneConnectValue1Mils = 20;
constexpr double PlaneConnectValue2Mils = 10;
constexpr Integer PlaneConnectValue3 = 4;
constexpr double PlaneConnectValue4Mils = 10;

// The step, as the build's errors name it.
constexpr const char* RulesStep = "The board's design rules could not be made";

// The board whose old rules RemoveOldRule takes out; set around the walk.
TPcbBoard* RuleRemovalBoard = nullptr;
// Set by RemoveOldRule when the board kept a rule it was asked to give up.
bool RuleRemovalRefused = false;

// A new editor rule of a kind and its wrapper. The rule goes with the wrapper unless it
// was added to the board.
class TNewRule {
 public:
  explicit TNewRule(Byte RuleKind)
      : FMade(PcbApi_CreateRuleObject(RuleKind), RulesStep, "create a rule"),
        FRule(NewObject<TPcbRuleExt>(FMade.Handle())) {}

  TPcbRuleExt* get() const { return FRule.get(); }
  Integer Handle() const { return FMade.Handle(); }
  void AddTo(TPcbBoard* Board) { FMade.AddTo(Board, RulesStep, "add a rule to the board"); }

 private:
  TNewEditorObject FMade;
  TOwned<TPcbRuleExt> FRule;
};

void ReadConstraint(Integer Status) {
  CheckEditorStatus(Status, RulesStep, "read a rule's constraint");
}

void WriteConstraint(Integer Status) {
  CheckEditorStatus(Status, RulesStep, "write a rule's constraint");
}

void ReadRule(TPcbRuleExt* Rule) {
  CheckEditorStatus(Rule->Exchange(ExchangeRead), RulesStep, "read a rule");
}

void WriteRule(TPcbRuleExt* Rule) {
  CheckEditorStatus(Rule->Exchange(ExchangeWrite), RulesStep, "write a rule");
}

TSubScopeRecord ScopeEntry(Byte Kind, const AnsiString& Name = AnsiString()) {
  TSubScopeRecord Entry{};
  Entry.Kind = Kind;
  Entry.Name = PcbString(Name);
  return Entry;
}

void ReplaceScope(TPcbScope* Scope, const TSubScopeRecord& Entry) {
  Scope->Clear();
  Scope->AddRecord(Entry);
}

}  // namespace

bool IsWizardRuleKind(Byte RuleKind) {
  switch (RuleKind) {
    case eClearanceRule:
    case eWidthRule:
    case ePlaneConnectStyleRule:
    case eRoutingLayersRule:
    case eRoutingCornerStyleRule:
    case eRoutingViaStyleRule:
    case eMaximumViaCountRule:
      return true;
    default:
      return false;
  }
}

// --- Scopes ---

void ResetRuleScope(TPcbRuleExt* Rule) {
  ReadRule(Rule);
  ReplaceScope(Rule->Scope1, ScopeEntry(WholeBoardScope));
  WriteRule(Rule);
}

void ResetRuleScopes(TPcbRuleExt* Rule) {
  ReadRule(Rule);
  ReplaceScope(Rule->Scope1, ScopeEntry(WholeBoardScope));
  ReplaceScope(Rule->Scope2, ScopeEntry(WholeBoardScope));
  WriteRule(Rule);
}

void SetRuleScopeName(TPcbRuleExt* Rule, const AnsiString& Name) {
  ReadRule(Rule);
  ReplaceScope(Rule->Scope1,
               Name.empty() ? ScopeEntry(WholeBoardScope) : ScopeEntry(NamedScope, Name));
  WriteRule(Rule);
}

// --- Rule makers ---

Integer AddWidthRule(TPcbBoard* Board, TCoord MinWidth, TCoord PreferredWidth,
                     TCoord MaxWidth) {
  TNewRule Rule(eWidthRule);
  ResetRuleScopes(Rule.get());
  Rule.AddTo(Board);
  Integer Min = 0, Max = 0, Preferred = 0;
  ReadConstraint(PcbApi_QueryRuleMaxMinWidthConstraintExt(ExchangeRead, Rule.Handle(), Min,
                                                          Max, Preferred));
  if (MinWidth != 0) Min = MinWidth;
  if (MaxWidth != 0) Max = MaxWidth;
  if (PreferredWidth != 0) Preferred = PreferredWidth;
  WriteConstraint(PcbApi_QueryRuleMaxMinWidthConstraintExt(ExchangeWrite, Rule.Handle(),
                                                           Min, Max, Preferred));
  return Rule.Handle();
}

Integer AddClearanceRule(TPcbBoard* Board, TCoord Gap) {
  TNewRule Rule(eClearanceRule);
  ResetRuleScopes(Rule.get());
  Rule.AddTo(Board);
  WriteConstraint(PcbApi_QueryRuleClearanceConstraint(ExchangeWrite, Rule.Handle(), Gap));
  return Rule.Handle();
}

Integer AddRoutingLayersRule(TPcbBoard* Board, const TRoutingLayersBlock& Layers) {
  TNewRule Rule(eRoutingLayersRule);
  ResetRuleScope(Rule.get());
  Rule.AddTo(Board);
  TRoutingLayersBlock Block = Layers;
  WriteConstraint(PcbApi_QueryRuleRoutingLayersRule(ExchangeWrite, Rule.Handle(), Block));
  return Rule.Handle();
}

Integer AddRoutingCornerRule(TPcbBoard* Board, Byte Style, TCoord FirstSize,
                             TCoord SecondSize) {
  TNewRule Rule(eRoutingCornerStyleRule);
  ResetRuleScope(Rule.get());
  Rule.AddTo(Board);
  WriteConstraint(PcbApi_QueryRuleRoutingCornerStyleRule(ExchangeWrite, Rule.Handle(),
                                                         Style, SecondSize, FirstSize));
  return Rule.Handle();
}

Integer AddViaStyleRule(TPcbBoard* Board, const AnsiString& Name, TCoord ViaWidth,
                        TCoord HoleSize, Byte Style) {
  TNewRule Rule(eRoutingViaStyleRule);
  SetRuleScopeName(Rule.get(), Name);
  Rule.AddTo(Board);
  Integer Hole = 0, EditorStyle = 0, Width = 0;
  ReadConstraint(PcbApi_QueryRuleRoutingViaStyleRule(ExchangeRead, Rule.Handle(), Hole,
                                                     EditorStyle, Width));
  if (HoleSize != 0) Hole = HoleSize;
  if (ViaWidth != 0) Width = ViaWidth;
  EditorStyle = Style;
  WriteConstraint(PcbApi_QueryRuleRoutingViaStyleRule(ExchangeWrite, Rule.Handle(), Hole,
                                                      EditorStyle, Width));
  return Rule.Handle();
}

Integer AddMaxViaCountRule(TPcbBoard* Board, Integer Count) {
  TNewRule Rule(eMaximumViaCountRule);
  ResetRuleScope(Rule.get());
  Rule.AddTo(Board);
  WriteConstraint(PcbApi_QueryRuleMaximumViaCountRule(ExchangeWrite, Rule.Handle(), Count));
  return Rule.Handle();
}

Integer AddPlaneConnectRule(TPcbBoard* Board, const AnsiString& Name, Byte Style,
                            Integer Value1, Integer Value2, Integer Value3,
                            Integer Value4) {
  TNewRule Rule(ePlaneConnectStyleRule);
  SetRuleScopeName(Rule.get(), Name);
  Rule.AddTo(Board);
  WriteConstraint(PcbApi_QueryRulePowerPlaneConnectStyleRule(
      ExchangeWrite, Rule.Handle(), Style, Value1, Value2, Value3, Value4));
  return Rule.Handle();
}

// --- The removal and the whole set ---

void RemoveOldRule(Integer RuleHandle) {
  if (!RuleRemovalBoard) return;
  TOwned<TPcbRuleExt> Rule(NewObject<TPcbRuleExt>(RuleHandle));
  // A rule whose kind cannot be read is left alone.
  if (Rule->Exchange(ExchangeRead) != 0) return;
  // A rule the board keeps is noted; the step raises once the walk is over.
  if (IsWizardRuleKind(Rule->RuleKind) && RuleRemovalBoard->RemoveObject(RuleHandle) != 0)
    RuleRemovalRefused = true;
}

void AddDesignRules(TPcbBoard* Board, const TBoardInfoFromUser* Info) {
  RuleRemovalRefused = false;
  bool Complete = false;
  {
    // The walk's callback reaches the board through the unit's variable.
    struct TRemovalScope {
      explicit TRemovalScope(TPcbBoard* Board) { RuleRemovalBoard = Board; }
      ~TRemovalScope() { RuleRemovalBoard = nullptr; }
    } Scope(Board);
    Complete = Board->IterateObjects(RemoveOldRule, TObjectSet{eRuleObject},
                                     TLayerSet{NoLayer}, 0);
  }
  if (!Complete) RaiseEditorRefusal(RulesStep, "make an iterator");
  if (RuleRemovalRefused) RaiseEditorRefusal(RulesStep, "take a rule off the board");

  AddWidthRule(Board, Info->MinTrackSize, Info->MinTrackSize, Info->MinTrackSize);
  AddClearanceRule(Board, Info->MinClearance);

  TRoutingLayersBlock Layers{};
  for (int L = 1; L <= 32; ++L)
    Layers.Layers[L - 1] =
        RoutingLayerTable[(Info->GetLayerUsed(TLayer(L)) ? 2 : 0) + L % 2];
  AddRoutingLayersRule(Board, Layers);

  AddRoutingCornerRule(Board, CornerStyle, MilToCoord(CornerSizeMils),
                       MilToCoord(CornerSizeMils));

  const Byte ViaStyle = Info->ViaStyle < 3 ? ViaStyleTable[Info->ViaStyle] : NoViaStyle;
  if (ViaStyle == NoViaStyle)
    AddMaxViaCountRule(Board, 0);
  else
    AddViaStyleRule(Board, AnsiString(), Info->MinViaWidth, Info->MinViaHoleSize, ViaStyle);

  AddPlaneConnectRule(Board, AnsiString(), PlaneConnectStyle,
                      MilToCoord(PlaneConnectValue1Mils),
                      MilToCoord(PlaneConnectValue2Mils), PlaneConnectValue3,
                      MilToCoord(PlaneConnectValue4Mils));
}
