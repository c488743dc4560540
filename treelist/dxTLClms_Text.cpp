// The memo, check, spin, hyperlink, time and currency column kinds.
#include "treelist/dxTLClms_Text.h"

#include <cmath>

#include "classlib/FloatConv.h"
#include "classlib/FormatFloat.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms_Common.h"
#include "treelist/dxTLStrings.h"

TCLASS_IMPL(TdxInplaceTreeListMemoEdit)
TCLASS_IMPL(TdxInplaceTreeListCheckEdit)
TCLASS_IMPL(TdxInplaceTreeListSpinEdit)
TCLASS_IMPL(TdxInplaceTreeListHyperLinkEdit)
TCLASS_IMPL(TdxInplaceTreeListTimeEdit)
TCLASS_IMPL(TdxInplaceTreeListCurrencyEdit)
TCLASS_IMPL(TdxTreeListMemoColumn)
TCLASS_IMPL(TdxTreeListCheckColumn)
TCLASS_IMPL(TdxTreeListSpinColumn)
TCLASS_IMPL(TdxTreeListHyperLinkColumn)
TCLASS_IMPL(TdxTreeListTimeColumn)
TCLASS_IMPL(TdxTreeListCurrencyColumn)

namespace {

AnsiString CheckTrueText;
AnsiString CheckFalseText;

AnsiString LoadText(UINT Id, const char* Fallback) {
  char Buffer[256];
  const int Length = LoadStringA(HInstance, Id, Buffer, sizeof(Buffer));
  return Length > 0 ? AnsiString(Buffer, Length) : AnsiString(Fallback);
}

// The number of a cell text for the spin editor: 0 when empty or no number.
double SpinNumber(const AnsiString& Text) {
  double Value = 0;
  if (Text.empty() || !TryStrToFloat(Text, Value)) return 0;
  return Value;
}

// The spin editor's text of a number.
AnsiString SpinText(double Value, TdxValueType Type) {
  if (Type == vtFloat) return FloatToStrF(Value, ffGeneral, 15, 0);
  constexpr double Limit = 9223372036854775808.0;
  double Rounded = std::nearbyint(Value);
  if (Rounded >= Limit) Rounded = std::nextafter(Limit, 0.0);
  if (Rounded < -Limit) Rounded = -Limit;
  return IntToStr(static_cast<Int64>(Rounded));
}

// Stores an editor of kind E in Node's cell: its text, or an empty cell when its
// value is 0. False when Editor is of another kind.
template <class E>
bool StoreTextUnlessZero(TdxTreeListNode* Node, int Index, TdxInplaceEdit* Editor,
                         Variant& Value) {
  auto* Edit = ObjectAs<E>(Editor);
  if (!Edit) return false;
  Node->SetStrings(Index, Edit->GetValue() == 0 ? AnsiString() : Edit->StoredText());
  Value = Node->Values(Index);
  return true;
}

}  // namespace

const AnsiString& dxTLCheckTrueText() { return CheckTrueText; }
const AnsiString& dxTLCheckFalseText() { return CheckFalseText; }

void LoaddxTLCheckTexts() {
  CheckTrueText = LoadText(IDS_DXTL_CHECKTRUE, "True");
  CheckFalseText = LoadText(IDS_DXTL_CHECKFALSE, "False");
}

void FreedxTLCheckTexts() {
  CheckTrueText = AnsiString();
  CheckFalseText = AnsiString();
}

// ---------------------------------------------------------------------------------
// TdxTreeListMemoColumn

TdxTreeListMemoColumn::TdxTreeListMemoColumn(TComponent* AOwner) : TdxTreeListColumn(AOwner) {
  SetHeaderMaxLineCount(0);
}

void TdxTreeListMemoColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListMemoColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetHideScrollBars(Other->FHideScrollBars);
  SetScrollBars(Other->FScrollBars);
  SetSelectionBar(Other->FSelectionBar);
  SetWantReturns(Other->FWantReturns);
  SetWantTabs(Other->FWantTabs);
  SetWordWrap(Other->FWordWrap);
}

void TdxTreeListMemoColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetHeaderMaxLineCount(0);
  FHideScrollBars = true;
  FScrollBars = ssNone;
  FSelectionBar = false;
  FWantReturns = true;
  FWantTabs = false;
  FWordWrap = true;
}

TdxInplaceEditClass TdxTreeListMemoColumn::GetEditorClass() {
  return &TdxInplaceTreeListMemoEdit::StaticClass();
}

void TdxTreeListMemoColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceMemoEdit>(Editor);
  if (!Edit) return;
  Edit->SetHideScrollBars(FHideScrollBars);
  Edit->SetScrollBars(FScrollBars);
  Edit->SetSelectionBar(FSelectionBar);
  Edit->SetWantReturns(FWantReturns);
  Edit->SetWantTabs(FWantTabs);
  Edit->SetWordWrap(FWordWrap);
}

void TdxTreeListMemoColumn::FillViewData(TdxEditViewData* ViewData,
                                         const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  if (auto* Text = ObjectAs<TdxTextEditViewData>(ViewData)) Text->SelectionBar = FSelectionBar;
}

void TdxTreeListMemoColumn::SetHideScrollBars(bool Value) {
  if (StoreChanged(FHideScrollBars, Value)) Changed(false);
}
void TdxTreeListMemoColumn::SetScrollBars(TScrollStyle Value) { if (StoreChanged(FScrollBars, Value)) Changed(false); }
void TdxTreeListMemoColumn::SetSelectionBar(bool Value) { if (StoreChanged(FSelectionBar, Value)) Changed(false); }
void TdxTreeListMemoColumn::SetWantReturns(bool Value) { if (StoreChanged(FWantReturns, Value)) Changed(false); }
void TdxTreeListMemoColumn::SetWantTabs(bool Value) { if (StoreChanged(FWantTabs, Value)) Changed(false); }
void TdxTreeListMemoColumn::SetWordWrap(bool Value) { if (StoreChanged(FWordWrap, Value)) Changed(false); }

// ---------------------------------------------------------------------------------
// TdxTreeListCheckColumn

TdxTreeListCheckColumn::TdxTreeListCheckColumn(TComponent* AOwner)
    : TdxTreeListColumn(AOwner),
      FValueChecked(CheckTrueText),
      FValueUnchecked(CheckFalseText) {
  SetMinWidth(16);
}

TdxTreeListCheckColumn::~TdxTreeListCheckColumn() { FreeAndNil(FGlyph); }

void TdxTreeListCheckColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListCheckColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetAllowGrayed(Other->FAllowGrayed);
  SetBorder3D(Other->FBorder3D);
  if (Other->HasGlyph()) SetGlyph(Other->FGlyph);
  SetGlyphCount(Other->FGlyphCount);
  SetShowNullFieldStyle(Other->FShowNullFieldStyle);
  SetValueChecked(Other->FValueChecked);
  SetValueGrayed(Other->FValueGrayed);
  SetValueUnchecked(Other->FValueUnchecked);
  OnToggleClick = Other->OnToggleClick;
}

void TdxTreeListCheckColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  SetMinWidth(16);
  FAllowGrayed = false;
  FBorder3D = false;
  if (FGlyph) FGlyph->Assign(nullptr);
  FGlyphCount = 6;
  FShowNullFieldStyle = nsUnchecked;
  FValueChecked = CheckTrueText;
  FValueGrayed.clear();
  FValueUnchecked = CheckFalseText;
}

TdxInplaceEditClass TdxTreeListCheckColumn::GetEditorClass() {
  return &TdxInplaceTreeListCheckEdit::StaticClass();
}

TdxCheckBoxState TdxTreeListCheckColumn::StateOfText(const AnsiString& Text) const {
  if (AnsiCompareText(Text, FValueChecked) == 0) return cbsChecked;
  if (AnsiCompareText(Text, FValueUnchecked) == 0) return cbsUnchecked;
  return cbsGrayed;
}

const AnsiString& TdxTreeListCheckColumn::TextOfState(TdxCheckBoxState State) const {
  if (State == cbsChecked) return FValueChecked;
  if (State == cbsUnchecked) return FValueUnchecked;
  return FValueGrayed;
}

void TdxTreeListCheckColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceCheckEdit>(Editor);
  if (!Edit) return;
  Edit->SetAlignment(taCenter);
  Edit->SetAllowGrayed(FAllowGrayed);
  Edit->Style()->SetButtonStyle(FBorder3D ? bts3D : btsSimple);
  Edit->SetGlyph(HasGlyph() ? FGlyph : nullptr);
  Edit->SetGlyphCount(FGlyphCount);
  Edit->SetShowNullFieldStyle(FShowNullFieldStyle);
}

void TdxTreeListCheckColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                                Variant& Value) {
  const int State = StateOfText(Node->Strings(Index()));
  Editor->SetEditValue(Variant(State));
  Value = Editor->GetEditValue();
}

void TdxTreeListCheckColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                    TdxInplaceEdit* Editor, Variant& Value) {
  if (auto* Edit = ObjectAs<TdxInplaceCheckEdit>(Editor))
    Node->SetStrings(Index(), TextOfState(Edit->State()));
  Value = Node->Values(Index());
}

void TdxTreeListCheckColumn::EditChange(TObject* Sender) {
  inherited::EditChange(Sender);
  TCustomdxTreeListControl* Tree = TreeList();
  if (Tree && Tree->ContainerFlag()) return;
  auto* Edit = ObjectAs<TdxInplaceCheckEdit>(Sender);
  if (!Edit || !OnToggleClick.Assigned()) return;
  OnToggleClick(this, TextOfState(Edit->State()), Edit->State());
}

void TdxTreeListCheckColumn::FillViewData(TdxEditViewData* ViewData,
                                          const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  ViewData->Alignment = taCenter;
  ViewData->ButtonStyle = FBorder3D ? bts3D : btsSimple;
  auto* Data = ObjectAs<TdxCheckEditViewData>(ViewData);
  if (!Data) return;
  Data->State = StateOfText(StoredCellText(this, CellInfo));
  Data->Caption.clear();
  Data->Glyph = HasGlyph() ? FGlyph : nullptr;
  Data->GlyphCount = FGlyphCount;
  Data->ShowNullFieldStyle = FShowNullFieldStyle;
}

void TdxTreeListCheckColumn::GetDisplayFormatText(TdxTreeListNode* /*Node*/, AnsiString& Text) {
  Text = TextOfState(StateOfText(Text));
}

int TdxTreeListCheckColumn::GetMinRowHeight() {
  return HasGlyph() ? FGlyph->Height() : EditCheckBoxHeight + 2;
}

void TdxTreeListCheckColumn::SetAllowGrayed(bool Value) { if (StoreChanged(FAllowGrayed, Value)) Changed(false); }
void TdxTreeListCheckColumn::SetBorder3D(bool Value) { if (StoreChanged(FBorder3D, Value)) Changed(false); }

TBitmap* TdxTreeListCheckColumn::Glyph() {
  if (!FGlyph) FGlyph = NewObject<TBitmap>();
  return FGlyph;
}

void TdxTreeListCheckColumn::SetGlyph(TBitmap* Value) {
  if (Value == FGlyph) return;
  if (!Value) {
    FreeAndNil(FGlyph);
  } else {
    Glyph()->Assign(Value);
  }
  Changed(true);
}

void TdxTreeListCheckColumn::SetGlyphCount(int Value) { if (StoreChanged(FGlyphCount, Value)) Changed(false); }
void TdxTreeListCheckColumn::SetShowNullFieldStyle(TdxShowNullFieldStyle Value) {
  if (StoreChanged(FShowNullFieldStyle, Value)) Changed(false);
}
void TdxTreeListCheckColumn::SetValueChecked(const AnsiString& Value) {
  if (StoreChanged(FValueChecked, Value)) Changed(false);
}
void TdxTreeListCheckColumn::SetValueGrayed(const AnsiString& Value) {
  if (StoreChanged(FValueGrayed, Value)) Changed(false);
}
void TdxTreeListCheckColumn::SetValueUnchecked(const AnsiString& Value) {
  if (StoreChanged(FValueUnchecked, Value)) Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListSpinColumn

void TdxTreeListSpinColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListSpinColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetEditorEnabled(Other->FEditorEnabled);
  SetIncrement(Other->FIncrement);
  SetMinValue(Other->FMinValue);
  SetMaxValue(Other->FMaxValue);
  SetShowButtonStyle(Other->FShowButtonStyle);
  SetUseCtrlIncrement(Other->FUseCtrlIncrement);
  SetValueType(Other->FValueType);
}

void TdxTreeListSpinColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FEditorEnabled = true;
  FIncrement = 1.0;
  FMinValue = 0;
  FMaxValue = 0;
  FShowButtonStyle = TdxShowButtonStyle::sbDefault;
  FUseCtrlIncrement = false;
  FValueType = vtInt;
}

TdxInplaceEditClass TdxTreeListSpinColumn::GetEditorClass() {
  return &TdxInplaceTreeListSpinEdit::StaticClass();
}

void TdxTreeListSpinColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceSpinEdit>(Editor);
  if (!Edit) return;
  Edit->SetEditorEnabled(FEditorEnabled);
  Edit->SetIncrement(FIncrement);
  Edit->SetMinMaxValues(FMinValue, FMaxValue);
  Edit->SetUseCtrlIncrement(FUseCtrlIncrement);
  Edit->SetValueType(FValueType);
}

void TdxTreeListSpinColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                               Variant& Value) {
  inherited::AssignNodeToEditor(Node, Editor, Value);
  auto* Edit = ObjectAs<TdxInplaceSpinEdit>(Editor);
  if (!Edit) return;
  Edit->SetValue(SpinNumber(Node->Strings(Index())));
  Value = Variant(Edit->GetValue());
}

void TdxTreeListSpinColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                   TdxInplaceEdit* Editor, Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceSpinEdit>(Editor);
  if (!Edit) {
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
    return;
  }
  Node->SetStrings(Index(), SpinText(Edit->GetValue(), Edit->ValueType()));
  Value = Node->Values(Index());
}

void TdxTreeListSpinColumn::FillViewData(TdxEditViewData* ViewData,
                                         const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  if (auto* Data = ObjectAs<TdxSpinEditViewData>(ViewData)) {
    Data->ButtonsVisible = ShowEditButton(CellInfo.Node);
    Data->HotButton = sbNone;
    Data->PressedButton = sbNone;
  }
}

bool TdxTreeListSpinColumn::IsShowButton(bool Default) {
  return EditorShowsButton(this, FShowButtonStyle, Default);
}

bool TdxTreeListSpinColumn::ShowEditButton(TdxTreeListNode* Node) {
  return PaintedCellShowsButton(this, FShowButtonStyle, Node);
}

void TdxTreeListSpinColumn::SetEditorEnabled(bool Value) { if (StoreChanged(FEditorEnabled, Value)) Changed(false); }
void TdxTreeListSpinColumn::SetIncrement(double Value) { if (StoreChanged(FIncrement, Value)) Changed(false); }
void TdxTreeListSpinColumn::SetMinValue(double Value) { if (StoreChanged(FMinValue, Value)) Changed(false); }
void TdxTreeListSpinColumn::SetMaxValue(double Value) { if (StoreChanged(FMaxValue, Value)) Changed(false); }
void TdxTreeListSpinColumn::SetShowButtonStyle(TdxShowButtonStyle Value) {
  if (StoreChanged(FShowButtonStyle, Value)) Changed(false);
}
void TdxTreeListSpinColumn::SetUseCtrlIncrement(bool Value) {
  if (StoreChanged(FUseCtrlIncrement, Value)) Changed(false);
}
void TdxTreeListSpinColumn::SetValueType(TdxValueType Value) { if (StoreChanged(FValueType, Value)) Changed(false); }

// ---------------------------------------------------------------------------------
// TdxTreeListHyperLinkColumn

TdxTreeListHyperLinkColumn::~TdxTreeListHyperLinkColumn() { FreeAndNil(FLinkFont); }

void TdxTreeListHyperLinkColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListHyperLinkColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetEditBackgroundColor(Other->FEditBackgroundColor);
  SetEditFontColor(Other->FEditFontColor);
  SetSingleClick(Other->FSingleClick);
  SetStartKey(Other->FStartKey);
  OnStartClick = Other->OnStartClick;
}

void TdxTreeListHyperLinkColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FEditBackgroundColor = static_cast<TColor>(0xFFFFFF);
  FEditFontColor = static_cast<TColor>(0xFF0000);
  FSingleClick = false;
  FStartKey = dxCtrlEnter;
  FLinkValid = false;
}

TdxInplaceEditClass TdxTreeListHyperLinkColumn::GetEditorClass() {
  return &TdxInplaceTreeListHyperLinkEdit::StaticClass();
}

void TdxTreeListHyperLinkColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceHyperLinkEdit>(Editor);
  if (!Edit) return;
  Edit->SetColor(FEditBackgroundColor);
  Edit->SetLinkColor(FEditFontColor);
  Edit->SetSingleClick(FSingleClick);
  Edit->SetStartKey(FStartKey);
  Edit->OnStartClick =
      OnStartClick.Assigned()
          ? TNotifyEvent::Bind<&TdxTreeListHyperLinkColumn::EditorStartClick>(this)
          : TNotifyEvent();
}

void TdxTreeListHyperLinkColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  inherited::ReleaseEditor(Editor);
  if (auto* Edit = ObjectAs<TdxInplaceHyperLinkEdit>(Editor)) Unbind(Edit->OnStartClick);
}

void TdxTreeListHyperLinkColumn::EditorStartClick(TObject* /*Sender*/) {
  if (OnStartClick.Assigned()) OnStartClick(this);
}

TFont* TdxTreeListHyperLinkColumn::LinkFont() {
  TFont* Source = Font();
  const HFONT SourceHandle = Source->Handle();
  if (FLinkFont && FLinkValid && FLinkSource == SourceHandle) return FLinkFont;
  if (!FLinkFont) FLinkFont = NewObject<TFont>();
  FLinkFont->Assign(Source);
  TFontStyles Style = FLinkFont->Style();
  Style.Include(fsUnderline);
  FLinkFont->SetStyle(Style);
  if (FSingleClick) FLinkFont->SetColor(FEditFontColor);
  FLinkSource = SourceHandle;
  FLinkValid = true;
  return FLinkFont;
}

void TdxTreeListHyperLinkColumn::FillViewData(TdxEditViewData* ViewData,
                                              const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  TFont* Link = LinkFont();
  ViewData->Font = Link->Handle();
  if (!CellInfo.Selected) ViewData->TextColor = ColorToRGB(Link->Color());
  if (auto* Data = ObjectAs<TdxHyperLinkEditViewData>(ViewData))
    Data->HandCursor = FSingleClick && !CellInfo.Text.empty();
}

TCursor TdxTreeListHyperLinkColumn::GetCellCursor(TdxTreeListNode* Node) {
  if (FSingleClick && Node && !Trim(Node->Strings(Index())).empty()) return crdxHandPoint;
  return inherited::GetCellCursor(Node);
}

void TdxTreeListHyperLinkColumn::FontChanged(TObject* Sender) {
  FLinkValid = false;
  inherited::FontChanged(Sender);
}

void TdxTreeListHyperLinkColumn::LinkChanged() {
  FLinkValid = false;
  Changed(false);
}

void TdxTreeListHyperLinkColumn::SetEditBackgroundColor(TColor Value) {
  if (StoreChanged(FEditBackgroundColor, Value)) Changed(false);
}
void TdxTreeListHyperLinkColumn::SetEditFontColor(TColor Value) {
  if (StoreChanged(FEditFontColor, Value)) LinkChanged();
}
void TdxTreeListHyperLinkColumn::SetSingleClick(bool Value) {
  if (StoreChanged(FSingleClick, Value)) LinkChanged();
}
void TdxTreeListHyperLinkColumn::SetStartKey(TShortCut Value) { if (StoreChanged(FStartKey, Value)) Changed(false); }

// ---------------------------------------------------------------------------------
// TdxTreeListTimeColumn

void TdxTreeListTimeColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListTimeColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetTimeEditFormat(Other->FTimeEditFormat);
  SetUseCtrlIncrement(Other->FUseCtrlIncrement);
}

void TdxTreeListTimeColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FTimeEditFormat = tfHourMinSec;
  FUseCtrlIncrement = false;
}

TdxInplaceEditClass TdxTreeListTimeColumn::GetEditorClass() {
  return &TdxInplaceTreeListTimeEdit::StaticClass();
}

void TdxTreeListTimeColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceTimeEdit>(Editor);
  if (!Edit) return;
  Edit->SetTimeEditFormat(FTimeEditFormat);
  Edit->SetUseCtrlIncrement(FUseCtrlIncrement);
}

void TdxTreeListTimeColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                               Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceTimeEdit>(Editor);
  if (!Edit) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  Edit->LoadText(Node->Strings(Index()));
  Value = Variant(Edit->Text());
}

void TdxTreeListTimeColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                   TdxInplaceEdit* Editor, Variant& Value) {
  if (!StoreTextUnlessZero<TdxInplaceTimeEdit>(Node, Index(), Editor, Value))
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
}

void TdxTreeListTimeColumn::SetTimeEditFormat(TdxTimeEditFormat Value) {
  if (StoreChanged(FTimeEditFormat, Value)) Changed(false);
}
void TdxTreeListTimeColumn::SetUseCtrlIncrement(bool Value) {
  if (StoreChanged(FUseCtrlIncrement, Value)) Changed(false);
}

// ---------------------------------------------------------------------------------
// TdxTreeListCurrencyColumn

TdxTreeListCurrencyColumn::TdxTreeListCurrencyColumn(TComponent* AOwner)
    : TdxTreeListColumn(AOwner), FDisplayFormat(CurrencyDisplayFormat()) {}

void TdxTreeListCurrencyColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListCurrencyColumn>(Source);
  TUpdateScope Updating(Other ? TreeList() : nullptr);
  inherited::Assign(Source);
  if (!Other) return;
  SetDecimalPlaces(Other->FDecimalPlaces);
  if (Other->FDisplayFormatAssigned) SetDisplayFormat(Other->FDisplayFormat);
  SetMinValue(Other->FMinValue);
  SetMaxValue(Other->FMaxValue);
  SetUseThousandSeparator(Other->FUseThousandSeparator);
}

void TdxTreeListCurrencyColumn::RestoreDefaults() {
  inherited::RestoreDefaults();
  FDecimalPlaces = 2;
  FDisplayFormat = CurrencyDisplayFormat();
  FDisplayFormatAssigned = false;
  FMinValue = 0;
  FMaxValue = 0;
  FUseThousandSeparator = false;
}

TdxInplaceEditClass TdxTreeListCurrencyColumn::GetEditorClass() {
  return &TdxInplaceTreeListCurrencyEdit::StaticClass();
}

void TdxTreeListCurrencyColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  inherited::AssignEditorSettings(Editor);
  auto* Edit = ObjectAs<TdxInplaceCurrencyEdit>(Editor);
  if (!Edit) return;
  Edit->SetDecimalPlaces(FDecimalPlaces);
  // The editor shows and edits the plain amount; the format paints the other cells.
  Edit->SetDisplayFormat(AnsiString());
  Edit->SetMinMaxValues(FMinValue, FMaxValue);
  Edit->SetUseThousandSeparator(FUseThousandSeparator);
}

void TdxTreeListCurrencyColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                                   Variant& Value) {
  auto* Edit = ObjectAs<TdxInplaceCurrencyEdit>(Editor);
  if (!Edit) {
    inherited::AssignNodeToEditor(Node, Editor, Value);
    return;
  }
  Edit->SetText(AnsiString());
  const AnsiString Text = Node->Strings(Index());
  double Amount = 0;
  if (!Text.empty()) TdxInplaceCurrencyEdit::TextToDouble(Text, Amount);
  Edit->SetValue(Amount);
  if (Edit->GetValue() == 0) Edit->SetText(AnsiString());
  Value = Variant(Edit->GetValue());
}

void TdxTreeListCurrencyColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                                       TdxInplaceEdit* Editor, Variant& Value) {
  if (!StoreTextUnlessZero<TdxInplaceCurrencyEdit>(Node, Index(), Editor, Value))
    inherited::SetNodeValueFromEditor(Node, Editor, Value);
}

void TdxTreeListCurrencyColumn::FillViewData(TdxEditViewData* ViewData,
                                             const TdxTreeListCellInfo& CellInfo) {
  inherited::FillViewData(ViewData, CellInfo);
  auto* Data = ObjectAs<TdxTextEditViewData>(ViewData);
  if (!Data || FDisplayFormat.empty()) return;
  // A text that is no amount is shown as it is.
  double Amount = 0;
  if (!CellInfo.Text.empty() && !TdxInplaceCurrencyEdit::TextToDouble(CellInfo.Text, Amount))
    return;
  Data->SetText(FormatFloat(FDisplayFormat, Amount));
}

void TdxTreeListCurrencyColumn::LocaleChanged() {
  if (FDisplayFormatAssigned) return;
  if (StoreChanged(FDisplayFormat, CurrencyDisplayFormat())) Changed(false);
}

void TdxTreeListCurrencyColumn::SetDecimalPlaces(unsigned Value) {
  if (StoreChanged(FDecimalPlaces, Value)) Changed(false);
}
void TdxTreeListCurrencyColumn::SetDisplayFormat(const AnsiString& Value) {
  FDisplayFormatAssigned = true;
  if (StoreChanged(FDisplayFormat, Value)) Changed(false);
}
void TdxTreeListCurrencyColumn::SetMinValue(double Value) { if (StoreChanged(FMinValue, Value)) Changed(false); }
void TdxTreeListCurrencyColumn::SetMaxValue(double Value) { if (StoreChanged(FMaxValue, Value)) Changed(false); }
void TdxTreeListCurrencyColumn::SetUseThousandSeparator(bool Value) {
  if (StoreChanged(FUseThousandSeparator, Value)) Changed(false);
}
