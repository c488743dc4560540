#include "wizard/EditCoord.h"

#include "classlib/Format.h"
#include "classlib/FormatSettings.h"

TCLASS_IMPL(TEditCoordEx)

namespace {

struct TUnitLook {
  double Factor;  // units per mil
  int Decimals;
  const char* Suffix;
};

// By TUnit: eMetric, eImperial.
constexpr TUnitLook UnitLooks[2] = {{0.0254, 1, "mm"}, {1.0, 0, "mil"}};

const TUnitLook& LookOf(TUnit Unit) { return UnitLooks[Unit == eMetric ? 0 : 1]; }

// Lengths are shown with a point whatever the user's locale says.
const TFormatSettings& PointSettings() {
  static const TFormatSettings Settings = [] {
    TFormatSettings S;
    S.DecimalSeparator = '.';
    S.ThousandSeparator = ',';
    return S;
  }();
  return Settings;
}

}  // namespace

TEditCoordEx::TEditCoordEx(TComponent* AOwner) : TEdit(AOwner) {
  // The name never becomes the text.
  TControlStyle Style = ControlStyle();
  Style.Exclude(csSetCaption);
  SetControlStyle(Style);
  // The edit keeps the height it is given whichever look it shows.
  SetAutoSize(false);
}

void TEditCoordEx::AfterConstruction() {
  inherited::AfterConstruction();
  ShowPlainLook();
  UpdateText();
}

double TEditCoordEx::CoordToUnitValue(Integer Coord, TUnit Unit) {
  return static_cast<double>(Coord) * LookOf(Unit).Factor / 10000.0;
}

void TEditCoordEx::SetUnits(TUnit Value) {
  if (FUnits == Value) return;
  FUnits = Value;
  UpdateText();
}

void TEditCoordEx::SetValue(Integer Value) {
  if (FValue == Value) return;
  FValue = Value;
  UpdateText();
  DoValueChange();
}

void TEditCoordEx::SetHyperlink(bool Value) {
  if (FHyperlink == Value) return;
  FHyperlink = Value;
  if (FHyperlink && !Focused())
    ShowHyperlinkLook();
  else
    ShowPlainLook();
}

void TEditCoordEx::DoValueChange() {
  if (OnValueChange.Assigned()) OnValueChange(this);
}

void TEditCoordEx::UpdateText() {
  const TUnitLook& Look = LookOf(FUnits);
  SetText(FormatArgs("%.*f %s", {Look.Decimals, CoordToUnitValue(FValue, FUnits), Look.Suffix},
                     PointSettings()));
}

void TEditCoordEx::ParseText() {
  TCoord Coord = 0;
  TUnit Unit = FUnits;
  StrToCoord(PcbString(Text()), Coord, Unit);
  // Setting the value shows it rounded to the unit's precision; that text is read
  // again (CM_TEXTCHANGED), so the value ends as shown. A text that reads as the value
  // held already (letters where it was 0) shows that value as well.
  if (Coord == FValue)
    UpdateText();
  else
    SetValue(Coord);
}

void TEditCoordEx::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (!FBorderShown) Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TEditCoordEx::SetBorderShown(bool Value) {
  if (FBorderShown == Value) return;
  FBorderShown = Value;
  if (!HandleAllocated() || BorderStyle() == bsNone) return;
  // The frame changes in place: making the window again while it gains or loses the
  // focus would disturb the focus change under way.
  LONG_PTR ExStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  if (Value)
    ExStyle |= WS_EX_CLIENTEDGE;
  else
    ExStyle &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
  SetWindowLongPtrA(FHandle, GWL_EXSTYLE, ExStyle);
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

namespace {
// Sets a flag for the length of a scope.
struct TBusyScope {
  bool& Flag;
  explicit TBusyScope(bool& AFlag) : Flag(AFlag) { Flag = true; }
  ~TBusyScope() { Flag = false; }
};
}  // namespace

void TEditCoordEx::ShowPlainLook() {
  if (FBusy) return;
  TBusyScope Busy(FBusy);
  // The window's own colour, no longer the parent's: SetColor alone keeps following the
  // parent when the parent's colour happened to be clWindow already.
  SetParentColor(false);
  SetColor(clWindow);
  SetCursor(crDefault);
  Font()->SetColor(clWindowText);
  Font()->SetStyle(TFontStyles{});
  SetBorderShown(true);
}

void TEditCoordEx::ShowHyperlinkLook() {
  if (FBusy) return;
  TBusyScope Busy(FBusy);
  SetParentColor(true);
  SetCursor(crHandPoint);
  Font()->SetColor(clBlue);
  Font()->SetStyle(TFontStyles{fsUnderline});
  SetBorderShown(false);
}

void TEditCoordEx::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      ParseText();
      if (FHyperlink) ShowPlainLook();
      break;
    case WM_KILLFOCUS:
      inherited::Dispatch(Message);
      ParseText();
      if (FHyperlink) ShowHyperlinkLook();
      break;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      ParseText();
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}

void InitEditCoord() {
  RegisterClass(&TEditCoordEx::StaticClass());
  TPublish<TEditCoordEx> P;
  P.Prop("Units", &TEditCoordEx::Units, &TEditCoordEx::SetUnits).Default(eImperial);
  P.Prop("Value", &TEditCoordEx::Value, &TEditCoordEx::SetValue);
  P.Prop("Hyperlink", &TEditCoordEx::Hyperlink, &TEditCoordEx::SetHyperlink);
  P.Prop("OnValueChange", &TEditCoordEx::OnValueChange);
}

void DoneEditCoord() {
  UnRegisterPublished(&TEditCoordEx::StaticClass());
  UnRegisterClass(&TEditCoordEx::StaticClass());
}
