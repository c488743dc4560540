#include "editors/dxCntner_Style.h"

#include <algorithm>

#include "classlib/UpdateScope.h"
#include "editors/dxCntner_Edit.h"

TCLASS_IMPL(TdxStyleController)
TCLASS_IMPL(TdxEditStyleController)
TCLASS_IMPL(TdxCheckEditStyleController)
TCLASS_IMPL(TdxEditStyle)

namespace {

TdxEditStyleController* DefaultController = nullptr;

}  // namespace

TdxEditStyleController* DefaultEditStyleController() { return DefaultController; }

// ---------------------------------------------------------------------------------
// TdxStyleController

void TdxStyleController::BeforeDestruction() {
  Destroying();
  // Out of the list first: what an editor does now must not reach this list again.
  std::vector<TdxInplaceEdit*> Edits;
  Edits.swap(FEdits);
  for (TdxInplaceEdit* Edit : Edits)
    if (Edit->StyleController() == this) Edit->SetStyleController(nullptr);
  FEdits.clear();
  inherited::BeforeDestruction();
}

void TdxStyleController::AddEdit(TdxInplaceEdit* Edit) {
  if (std::find(FEdits.begin(), FEdits.end(), Edit) == FEdits.end()) FEdits.push_back(Edit);
}

void TdxStyleController::RemoveEdit(TdxInplaceEdit* Edit) {
  auto It = std::find(FEdits.begin(), FEdits.end(), Edit);
  if (It != FEdits.end()) FEdits.erase(It);
}

TdxInplaceEdit* TdxStyleController::Edits(int Index) const {
  if (Index < 0 || Index >= EditCount()) throw EListError(SListIndexError, {Index});
  return FEdits[Index];
}

void TdxStyleController::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TdxStyleController::Changed() {
  if (FUpdateCount != 0 || ComponentState().Contains(csLoading)) return;
  // A handler may attach or free editors: the editors of the moment are told, each
  // only while it is still attached.
  const std::vector<TdxInplaceEdit*> Edits = FEdits;
  for (TdxInplaceEdit* Edit : Edits)
    if (std::find(FEdits.begin(), FEdits.end(), Edit) != FEdits.end()) EditStyleChanged(Edit);
}

void TdxStyleController::EditStyleChanged(TdxInplaceEdit* Edit) {
  if (OnStyleChanged.Assigned()) OnStyleChanged(this, Edit);
}

void TdxStyleController::Loaded() {
  inherited::Loaded();
  Changed();
}

// ---------------------------------------------------------------------------------
// TdxEditStyleController

template <class T>
void TdxEditStyleController::SetValue(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TdxEditStyleController::SetBorderColor(TColor Value) { SetValue(FBorderColor, Value); }
void TdxEditStyleController::SetBorderStyle(TdxEditBorderStyle Value) { SetValue(FBorderStyle, Value); }
void TdxEditStyleController::SetButtonStyle(TdxEditButtonViewStyle Value) { SetValue(FButtonStyle, Value); }
void TdxEditStyleController::SetButtonTransparence(TdxEditButtonTransparence Value) {
  SetValue(FButtonTransparence, Value);
}
void TdxEditStyleController::SetEdges(TdxEditEdges Value) { SetValue(FEdges, Value); }
void TdxEditStyleController::SetHotTrack(bool Value) { SetValue(FHotTrack, Value); }
void TdxEditStyleController::SetShadow(bool Value) { SetValue(FShadow, Value); }

void TdxEditStyleController::EditStyleChanged(TdxInplaceEdit* Edit) {
  if (Edit->StyleController() && Edit->StyleController() != this) return;
  Edit->StyleLayoutChanged();
  inherited::EditStyleChanged(Edit);
}

void TdxEditStyleController::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxEditStyleController>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  TUpdateScope Updating(this);
  SetBorderColor(Other->BorderColor());
  SetBorderStyle(Other->BorderStyle());
  SetButtonStyle(Other->ButtonStyle());
  SetButtonTransparence(Other->ButtonTransparence());
  SetEdges(Other->Edges());
  SetHotTrack(Other->HotTrack());
  SetShadow(Other->Shadow());
}

void TdxEditStyleController::RestoreDefaults() {
  TUpdateScope Updating(this);
  SetBorderColor(dxDefaultBorderColor);
  SetBorderStyle(dxDefaultBorderStyle);
  SetButtonStyle(dxDefaultButtonStyle);
  SetButtonTransparence(dxDefaultButtonTransparence);
  SetEdges(dxAllEdges);
  SetHotTrack(false);
  SetShadow(false);
}

// ---------------------------------------------------------------------------------
// TdxCheckEditStyleController

TdxCheckEditStyleController::TdxCheckEditStyleController(TComponent* AOwner)
    : TdxEditStyleController(AOwner) {
  SetBorderStyle(dxCheckDefaultBorderStyle);
  SetButtonStyle(dxCheckDefaultButtonStyle);
}

void TdxCheckEditStyleController::RestoreDefaults() {
  TUpdateScope Updating(this);
  inherited::RestoreDefaults();
  SetBorderStyle(dxCheckDefaultBorderStyle);
  SetButtonStyle(dxCheckDefaultButtonStyle);
}

// ---------------------------------------------------------------------------------
// TdxEditStyle

TdxEditStyle* TdxEditStyleMetaClass::Create(TdxInplaceEdit* /*Edit*/) const {
  throw EInvalidOperation("Cannot create an edit style of class %s", {ClassName()});
}

void TdxEditStyle::AfterConstruction() {
  inherited::AfterConstruction();
  if (TdxEditStyleController* Controller = GetDefaultStyleController()) Controller->AddEdit(FEdit);
}

void TdxEditStyle::BeforeDestruction() {
  if (TdxEditStyleController* Controller = GetDefaultStyleController()) Controller->RemoveEdit(FEdit);
  inherited::BeforeDestruction();
}

TPersistent* TdxEditStyle::GetOwner() { return FEdit; }

TdxEditStyleController* TdxEditStyle::GetDefaultStyleController() { return DefaultController; }

TdxEditStyleController* TdxEditStyle::ActiveController() {
  if (FEdit && FEdit->StyleController()) return FEdit->StyleController();
  return GetDefaultStyleController();
}

void TdxEditStyle::Changed() {
  if (FEdit) FEdit->StyleLayoutChanged();
}

template <class T>
void TdxEditStyle::SetValue(TdxEditStyleValue Bit, T& Field, T Value) {
  if (FAssignedValues.Contains(Bit) && Field == Value) return;
  Field = Value;
  FAssignedValues.Include(Bit);
  Changed();
}

void TdxEditStyle::SetAssignedValues(TdxEditStyleValues Value) {
  if (FAssignedValues == Value) return;
  FAssignedValues = Value;
  Changed();
}

void TdxEditStyle::RestoreDefaults() {
  FAssignedValues = {};
  Changed();
}

TColor TdxEditStyle::BorderColor() {
  return FAssignedValues.Contains(svBorderColor) ? FBorderColor : GetDefaultBorderColor();
}
void TdxEditStyle::SetBorderColor(TColor Value) { SetValue(svBorderColor, FBorderColor, Value); }

TdxEditBorderStyle TdxEditStyle::BorderStyle() {
  return FAssignedValues.Contains(svBorderStyle) ? FBorderStyle : GetDefaultBorderStyle();
}
void TdxEditStyle::SetBorderStyle(TdxEditBorderStyle Value) { SetValue(svBorderStyle, FBorderStyle, Value); }

TdxEditButtonViewStyle TdxEditStyle::ButtonStyle() {
  return FAssignedValues.Contains(svButtonStyle) ? FButtonStyle : GetDefaultButtonStyle();
}
void TdxEditStyle::SetButtonStyle(TdxEditButtonViewStyle Value) { SetValue(svButtonStyle, FButtonStyle, Value); }

TdxEditButtonTransparence TdxEditStyle::ButtonTransparence() {
  return FAssignedValues.Contains(svButtonTransparence) ? FButtonTransparence
                                                        : GetDefaultButtonTransparence();
}
void TdxEditStyle::SetButtonTransparence(TdxEditButtonTransparence Value) {
  SetValue(svButtonTransparence, FButtonTransparence, Value);
}

TdxEditEdges TdxEditStyle::Edges() {
  return FAssignedValues.Contains(svEdges) ? FEdges : GetDefaultEdges();
}
void TdxEditStyle::SetEdges(TdxEditEdges Value) { SetValue(svEdges, FEdges, Value); }

bool TdxEditStyle::HotTrack() {
  return FAssignedValues.Contains(svHotTrack) ? FHotTrack : GetDefaultHotTrack();
}
void TdxEditStyle::SetHotTrack(bool Value) { SetValue(svHotTrack, FHotTrack, Value); }

bool TdxEditStyle::Shadow() { return FAssignedValues.Contains(svShadow) ? FShadow : GetDefaultShadow(); }
void TdxEditStyle::SetShadow(bool Value) { SetValue(svShadow, FShadow, Value); }

TColor TdxEditStyle::GetDefaultBorderColor() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->BorderColor() : dxDefaultBorderColor;
}

TdxEditBorderStyle TdxEditStyle::GetDefaultBorderStyle() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->BorderStyle() : dxDefaultBorderStyle;
}

TdxEditButtonViewStyle TdxEditStyle::GetDefaultButtonStyle() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->ButtonStyle() : dxDefaultButtonStyle;
}

TdxEditButtonTransparence TdxEditStyle::GetDefaultButtonTransparence() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->ButtonTransparence() : dxDefaultButtonTransparence;
}

TdxEditEdges TdxEditStyle::GetDefaultEdges() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->Edges() : dxAllEdges;
}

bool TdxEditStyle::GetDefaultHotTrack() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->HotTrack() : false;
}

bool TdxEditStyle::GetDefaultShadow() {
  TdxEditStyleController* Controller = ActiveController();
  return Controller ? Controller->Shadow() : false;
}

void TdxEditStyle::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxEditStyle>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  SetBorderColor(Other->BorderColor());
  SetBorderStyle(Other->BorderStyle());
  SetButtonStyle(Other->ButtonStyle());
  SetButtonTransparence(Other->ButtonTransparence());
  SetEdges(Other->Edges());
  SetHotTrack(Other->HotTrack());
  SetShadow(Other->Shadow());
}

// ---------------------------------------------------------------------------------
// Start and end

namespace {

template <TdxEditStyleValue Bit>
bool Assigned(TdxEditStyle* Style) {
  return Style->AssignedValues().Contains(Bit);
}

void PublishControllerValues() {
  TPublish<TdxEditStyleController> P;
  P.Prop("BorderColor", &TdxEditStyleController::BorderColor, &TdxEditStyleController::SetBorderColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .Default(dxDefaultBorderColor);
  P.Prop("BorderStyle", &TdxEditStyleController::BorderStyle, &TdxEditStyleController::SetBorderStyle)
      .Default(dxDefaultBorderStyle);
  P.Prop("ButtonStyle", &TdxEditStyleController::ButtonStyle, &TdxEditStyleController::SetButtonStyle)
      .Default(dxDefaultButtonStyle);
  P.Prop("ButtonTransparence", &TdxEditStyleController::ButtonTransparence,
         &TdxEditStyleController::SetButtonTransparence)
      .Default(dxDefaultButtonTransparence);
  P.Prop("Edges", &TdxEditStyleController::Edges, &TdxEditStyleController::SetEdges).Default(dxAllEdges);
  P.Prop("HotTrack", &TdxEditStyleController::HotTrack, &TdxEditStyleController::SetHotTrack);
  P.Prop("Shadow", &TdxEditStyleController::Shadow, &TdxEditStyleController::SetShadow);
  P.Prop("OnStyleChanged", &TdxStyleController::OnStyleChanged);
  // The check controller's two values of its own are written when they differ from
  // its own defaults.
  TPublish<TdxCheckEditStyleController> Check;
  Check.Prop("BorderStyle", &TdxEditStyleController::BorderStyle, &TdxEditStyleController::SetBorderStyle)
      .Default(dxCheckDefaultBorderStyle);
  Check.Prop("ButtonStyle", &TdxEditStyleController::ButtonStyle, &TdxEditStyleController::SetButtonStyle)
      .Default(dxCheckDefaultButtonStyle);
}

void PublishStyleValues() {
  TPublish<TdxEditStyle> P;
  P.Prop("AssignedValues", &TdxEditStyle::AssignedValues, &TdxEditStyle::SetAssignedValues);
  P.Prop("BorderColor", &TdxEditStyle::BorderColor, &TdxEditStyle::SetBorderColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .Stored(Assigned<svBorderColor>)
      .NoDefault();
  P.Prop("BorderStyle", &TdxEditStyle::BorderStyle, &TdxEditStyle::SetBorderStyle)
      .Stored(Assigned<svBorderStyle>)
      .NoDefault();
  P.Prop("ButtonStyle", &TdxEditStyle::ButtonStyle, &TdxEditStyle::SetButtonStyle)
      .Stored(Assigned<svButtonStyle>)
      .NoDefault();
  P.Prop("ButtonTransparence", &TdxEditStyle::ButtonTransparence, &TdxEditStyle::SetButtonTransparence)
      .Stored(Assigned<svButtonTransparence>)
      .NoDefault();
  P.Prop("Edges", &TdxEditStyle::Edges, &TdxEditStyle::SetEdges).Stored(Assigned<svEdges>).NoDefault();
  P.Prop("HotTrack", &TdxEditStyle::HotTrack, &TdxEditStyle::SetHotTrack)
      .Stored(Assigned<svHotTrack>)
      .NoDefault();
  P.Prop("Shadow", &TdxEditStyle::Shadow, &TdxEditStyle::SetShadow).Stored(Assigned<svShadow>).NoDefault();
}

}  // namespace

void InitEditStyles() {
  RegisterClass(&TdxEditStyleController::StaticClass());
  RegisterClass(&TdxCheckEditStyleController::StaticClass());
  PublishControllerValues();
  PublishStyleValues();
  DefaultController = NewObject<TdxEditStyleController>(nullptr);
}

void DoneEditStyles() {
  // The reference goes first: the editors that outlive the controller (a form still
  // alive at unload) then answer the constant defaults instead of reaching a freed
  // controller.
  FreeAndNil(DefaultController);
  UnRegisterPublished(&TdxEditStyle::StaticClass());
  UnRegisterPublished(&TdxCheckEditStyleController::StaticClass());
  UnRegisterPublished(&TdxEditStyleController::StaticClass());
  UnRegisterClass(&TdxCheckEditStyleController::StaticClass());
  UnRegisterClass(&TdxEditStyleController::StaticClass());
}
