#include "editors/dxExEdtr_Check.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "classlib/Messages.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxCheckEditViewData)
TCLASS_IMPL(TdxCheckEditStyle)
TCLASS_IMPL(TdxInplaceCheckEdit)

namespace {

TdxCheckEditStyleController* TheCheckController = nullptr;

// The DrawFrameControl state of the system's check box.
UINT FrameControlState(const TdxCheckEditViewData* Data) {
  UINT State = DFCS_BUTTONCHECK;
  if (!Data->Enabled) {
    State |= DFCS_BUTTON3STATE | DFCS_PUSHED |
             (Data->State == cbsUnchecked ? DFCS_INACTIVE : DFCS_CHECKED);
  } else {
    if (Data->State == cbsChecked) State |= DFCS_CHECKED;
    if (Data->State == cbsGrayed) {
      State |= DFCS_BUTTON3STATE;
      if (Data->ShowNullFieldStyle == nsInactive) State |= DFCS_INACTIVE;
      if (Data->ShowNullFieldStyle == nsGrayedChecked) State |= DFCS_CHECKED;
    }
    if (Data->Pressed) State |= DFCS_PUSHED;
  }
  if (Data->ButtonStyle != bts3D) State |= DFCS_FLAT;
  return State;
}

// The system's check box in Check, framed by the editor's own border in the flat and
// simple styles.
void DrawSystemCheck(HDC DC, const TRect& Check, const TdxCheckEditViewData* Data) {
  TRect R = Check;
  UINT State = FrameControlState(Data);
  TdxEditButtonViewStyle Style = Data->ButtonStyle;
  if (Style != btsFlat && Style != btsSimple) {
    DrawFrameControl(DC, &R, DFC_BUTTON, State);
    return;
  }
  {
    TSavedDC Saved(DC);
    TRect Clip = Check;
    if (Style == btsFlat) InflateRect(&Clip, -1, -1);
    IntersectClipRect(DC, Clip.left, Clip.top, Clip.right, Clip.bottom);
    DrawFrameControl(DC, &R, DFC_BUTTON, State);
  }
  if (Style == btsFlat) {
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_ADJUST | BF_RECT);
    DrawEdge(DC, &R, BDR_SUNKENINNER, BF_FLAT | BF_RECT);
  } else {
    InflateRect(&R, -1, -1);
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  }
}

}  // namespace

TdxCheckEditStyleController* CheckEditStyleController() { return TheCheckController; }

TdxEditStyleController* TdxCheckEditStyle::GetDefaultStyleController() { return TheCheckController; }

TdxInplaceCheckEdit::TdxInplaceCheckEdit(TComponent* AOwner) : TdxInplaceEdit(AOwner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
}

TdxInplaceCheckEdit::~TdxInplaceCheckEdit() { FreeAndNil(FGlyph); }

// ---------------------------------------------------------------------------------
// Class operations

TdxEditViewDataClass TdxInplaceCheckEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxCheckEditViewData::StaticClass();
}

TdxEditStyleClass TdxInplaceCheckEdit::GetStyleClass(MetaType::TSelf /*Self*/) {
  return &TdxCheckEditStyle::StaticClass();
}

bool TdxInplaceCheckEdit::GetCheckGlyphSize(TBitmap* Glyph, int GlyphCount, int& Width, int& Height) {
  Width = EditCheckBoxWidth;
  Height = EditCheckBoxHeight;
  if (!Glyph || GlyphCount < 1 || Glyph->Empty()) return false;
  Width = Glyph->Width() / GlyphCount;
  Height = Glyph->Height();
  return true;
}

TRect TdxInplaceCheckEdit::PlaceCheck(TRect& R, TAlignment Alignment, int Width, int Height) {
  if (Alignment == taCenter) {
    int X = (R.left + R.right - Width) / 2, Y = (R.top + R.bottom - Height) / 2;
    return TRect{X, Y, X + Width, Y + Height};
  }
  InflateRect(&R, -2, -2);
  int Top = (R.top + R.bottom - Height) / 2;
  if (Alignment == taRightJustify) {
    TRect Check{R.right - Width, Top, R.right, Top + Height};
    R.right -= Width + 3;
    return Check;
  }
  TRect Check{R.left, Top, R.left + Width, Top + Height};
  R.left += Width + 3;
  return Check;
}

int TdxInplaceCheckEdit::GlyphIndex(TdxCheckBoxState State, bool Pressed, int GlyphCount) {
  int Index = State + (Pressed ? 3 : 0);
  while (Index >= GlyphCount && Index > 2) Index %= 3;
  // A strip of one or two pictures: its last one, never a cell past its end.
  return std::max(0, std::min(Index, GlyphCount - 1));
}

bool TdxInplaceCheckEdit::DrawContent(MetaType::TSelf /*Self*/, HDC DC, const TRect& Rect, bool /*IsWindow*/,
                                      TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxCheckEditViewData>(ViewData);
  if (!Data) return false;
  int W = 0, H = 0;
  bool UseGlyph = GetCheckGlyphSize(Data->Glyph, Data->GlyphCount, W, H);
  if (Data->MeasureOnly) {
    Data->LineCount = 1;
    Data->TextHeight = H;
    Data->NeededHeight = H;
    return true;
  }
  TRect R = Rect;
  TRect Check = PlaceCheck(R, Data->Alignment, W, H);
  if (Data->Alignment == taCenter) {
    if (!Data->NoBackground && Data->Brush) ::FillRect(DC, &Rect, Data->Brush);
  } else {
    UINT Flags = DXTR_PREFIX | DXTR_VCENTER | (Data->Alignment == taRightJustify ? DXTR_RIGHT : DXTR_LEFT);
    if (Data->Focused) Flags |= DXTR_FOCUSRECT;
    if (Data->FitText) Flags |= DXTR_FOCUSTEXT;
    if (Data->NoBackground) Flags |= DXTR_NOFILL;
    const char* Text = Data->Caption.c_str();
    int Length = static_cast<int>(Data->Caption.size());
    auto Background = static_cast<TColor>(Data->BackgroundColor);
    if (Data->Enabled) {
      DrawTextInRect(DC, Text, Length, nullptr, static_cast<TColor>(Data->TextColor), Background, Data->Font,
                     Data->Brush, Flags, R, Rect);
    } else {
      TRect Shifted = R;
      OffsetRect(&Shifted, 1, 1);
      DrawTextInRect(DC, Text, Length, nullptr, static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)), Background,
                     Data->Font, Data->Brush, Flags & ~DXTR_FOCUSRECT, Shifted, Rect);
      DrawTextInRect(DC, Text, Length, nullptr, static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)), Background,
                     Data->Font, Data->Brush, Flags | DXTR_NOFILL, R, Rect);
    }
  }
  if (UseGlyph) {
    int Index = GlyphIndex(Data->State, Data->Pressed, Data->GlyphCount);
    HBRUSH Brush = Data->Brush ? Data->Brush : GetSysColorBrush(COLOR_WINDOW);
    // The strip is placed so that the chosen cell covers the check.
    DrawBitmapOnBrush(DC, Brush, Check, Data->Glyph, TRect{-Index * W, 0, -Index * W + Data->Glyph->Width(), H});
  } else {
    DrawSystemCheck(DC, Check, Data);
  }
  return true;
}

int TdxInplaceCheckEdit::GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData) {
  int Height = std::max(inherited::GetEditHeight(Self, ViewData), EditCheckBoxHeight);
  auto* Data = ObjectAs<TdxCheckEditViewData>(ViewData);
  if (Data && Data->Glyph && !Data->Glyph->Empty()) Height = std::max(Height, Data->Glyph->Height());
  if (Data && Data->Alignment != taCenter) {
    TEXTMETRICA Metrics{};
    TScreenDC Screen;
    TSelection Font(Screen.DC(), Data->Font ? Data->Font : GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(Screen.DC(), &Metrics);
    Height = std::max(Height, static_cast<int>(Metrics.tmHeight) + 4);
  }
  return Height;
}

TdxEditViewData* TdxInplaceCheckEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  if (auto* Data = ObjectAs<TdxCheckEditViewData>(ViewData.get())) {
    Data->State = FState;
    Data->Caption = GetText();
    Data->FitText = true;
    Data->Glyph = HasGlyph() ? FGlyph : nullptr;
    Data->GlyphCount = FGlyphCount;
    Data->ShowNullFieldStyle = FShowNullFieldStyle;
    Data->Pressed = FPressed;
    Data->VerticalLayout = 1;
  }
  return ViewData.release();
}

// ---------------------------------------------------------------------------------
// Values

TBitmap* TdxInplaceCheckEdit::Glyph() {
  if (!FGlyph) FGlyph = NewObject<TBitmap>();
  return FGlyph;
}

void TdxInplaceCheckEdit::SetGlyph(TBitmap* Value) {
  if (!Value)
    FreeAndNil(FGlyph);
  else
    Glyph()->Assign(Value);
  StyleLayoutChanged();
}

void TdxInplaceCheckEdit::SetGlyphCount(int Value) {
  if (FGlyphCount == Value) return;
  FGlyphCount = Value;
  if (FGlyph) StyleLayoutChanged();
}

void TdxInplaceCheckEdit::SetShowNullFieldStyle(TdxShowNullFieldStyle Value) {
  if (FShowNullFieldStyle == Value) return;
  FShowNullFieldStyle = Value;
  InvalidateCheck();
}

void TdxInplaceCheckEdit::SetState(TdxCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  InvalidateCheck();
  if (!ComponentState().Contains(csLoading)) Click();
}

void TdxInplaceCheckEdit::Click() {
  if (ValueLoading) return;
  inherited::Click();
  Change();
}

void TdxInplaceCheckEdit::Toggle() {
  if (!CanModify()) return;
  switch (FState) {
    case cbsUnchecked: SetState(FAllowGrayed ? cbsGrayed : cbsChecked); break;
    case cbsChecked: SetState(cbsUnchecked); break;
    default: SetState(cbsChecked); break;
  }
  // Toggled back to the state the edit began with: no edit.
  SetModified(FState != FSavedState || SavedModified());
}

void TdxInplaceCheckEdit::SetEditValue(const Variant& Value) {
  TFlagScope Loading(ValueLoading);
  int State = VarIsClear(Value) ? cbsUnchecked : Value.AsInteger();
  SetState(static_cast<TdxCheckBoxState>(std::clamp(State, 0, 2)));
}

Variant TdxInplaceCheckEdit::GetEditValue() { return Variant(static_cast<int>(FState)); }

void TdxInplaceCheckEdit::GetDisplayValue(Variant& Value) { Value = Variant(static_cast<int>(FState)); }

void TdxInplaceCheckEdit::HostMouseUp() { Toggle(); }

void TdxInplaceCheckEdit::SaveRestorePoint() {
  inherited::SaveRestorePoint();
  FSavedState = FState;
}

void TdxInplaceCheckEdit::RevertToSaved() {
  if (!GetModified()) return;
  {
    TFlagScope Loading(ValueLoading);
    SetState(FSavedState);
  }
  SetModified(SavedModified());
}

// ---------------------------------------------------------------------------------
// Pressing

void TdxInplaceCheckEdit::InvalidateCheck() {
  if (!HandleAllocated()) return;
  TRect R = GetClientRect();
  int W = 0, H = 0;
  GetCheckGlyphSize(HasGlyph() ? FGlyph : nullptr, FGlyphCount, W, H);
  TRect Check = PlaceCheck(R, Alignment(), W, H);
  InvalidateRect(Handle(), &Check, FALSE);
}

void TdxInplaceCheckEdit::SetPressed(bool Value) {
  if (FPressed == Value) return;
  FPressed = Value;
  InvalidateCheck();
}

void TdxInplaceCheckEdit::StopTracking() {
  if (!FTracking) return;
  FTracking = false;
  SetPressed(false);
  SetMouseCapture(false);
}

void TdxInplaceCheckEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !FPressed) SetPressed(true);
  if (Key == VK_LEFT) MoveColumn(true);
  if (Key == VK_RIGHT) MoveColumn(false);
  inherited::KeyDown(Key, Shift);
}

void TdxInplaceCheckEdit::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  // A space without its key-down (typing that opened the editor) toggles here.
  if (InPlace() && Key == ' ' && !FPressed && CanEditLinked()) Toggle();
}

void TdxInplaceCheckEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && FPressed) {
    SetPressed(false);
    if (CanEditLinked()) Toggle();
  }
  inherited::KeyUp(Key, Shift);
}

void TdxInplaceCheckEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetMouseCapture(true);
    FTracking = true;
    TRect Client = GetClientRect();
    POINT P{X, Y};
    SetPressed(PtInRect(&Client, P) != 0);
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TdxInplaceCheckEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (FTracking) {
    TRect Client = GetClientRect();
    POINT P{X, Y};
    SetPressed(PtInRect(&Client, P) != 0);
  }
  inherited::MouseMove(Shift, X, Y);
}

void TdxInplaceCheckEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool WasPressed = FPressed;
  StopTracking();
  if (Button == mbLeft && WasPressed && CanEditLinked()) Toggle();
  inherited::MouseUp(Button, Shift, X, Y);
}

void TdxInplaceCheckEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      if (InPlace())
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
      else
        Message.Result &= ~static_cast<LRESULT>(DLGC_WANTCHARS);
      break;
    case WM_CANCELMODE:
      StopTracking();
      inherited::Dispatch(Message);
      break;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      StyleLayoutChanged();
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, GetText()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxCheckEdit() {
  TheCheckController = NewObject<TdxCheckEditStyleController>(nullptr);
  RegisterClass(&TdxCheckEditStyle::StaticClass());
  TPublish<TdxInplaceCheckEdit> P;
  P.Prop("AllowGrayed", &TdxInplaceCheckEdit::AllowGrayed, &TdxInplaceCheckEdit::SetAllowGrayed).Default(false);
  P.Prop("Glyph", &TdxInplaceCheckEdit::Glyph, &TdxInplaceCheckEdit::SetGlyph).Stored(&TdxInplaceCheckEdit::HasGlyph);
  P.Prop("GlyphCount", &TdxInplaceCheckEdit::GlyphCount, &TdxInplaceCheckEdit::SetGlyphCount).Default(6);
  P.Prop("ShowNullFieldStyle", &TdxInplaceCheckEdit::ShowNullFieldStyle, &TdxInplaceCheckEdit::SetShowNullFieldStyle)
      .Default(nsGrayedChecked);
}

void DonedxCheckEdit() {
  UnRegisterPublished(&TdxInplaceCheckEdit::StaticClass());
  UnRegisterClass(&TdxCheckEditStyle::StaticClass());
  FreeAndNil(TheCheckController);
}
