#include "editors/dxExEdtr_Buttons.h"

#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"
#include "classlib/UpdateScope.h"
#include "editors/dxDrawing.h"

TCLASS_IMPL(TdxEditButton)
TCLASS_IMPL(TdxEditButtons)

// ---------------------------------------------------------------------------------
// Drawing

namespace {

int RectWidth(const TRect& R) { return R.right - R.left; }
int RectHeight(const TRect& R) { return R.bottom - R.top; }

bool IsFlatStyle(TdxEditButtonViewStyle Style) { return Style == btsFlat || Style == btsSimple; }

void FillColour(HDC DC, const TRect& R, COLORREF Colour) {
  LOGBRUSH Log = {BS_SOLID, Colour, 0};
  TSharedObject<HBRUSH> Brush(AcquireSharedBrush(Log));
  ::FillRect(DC, &R, Brush.Handle());
}

void FillTriangle(HDC DC, const POINT (&Points)[3], COLORREF Colour) {
  LOGPEN PenLog = {PS_SOLID, {1, 0}, Colour};
  LOGBRUSH BrushLog = {BS_SOLID, Colour, 0};
  TSharedObject<HPEN> Pen(AcquireSharedPen(PenLog));
  TSharedObject<HBRUSH> Brush(AcquireSharedBrush(BrushLog));
  TSelection PenIn(DC, Pen.Handle());
  TSelection BrushIn(DC, Brush.Handle());
  Polygon(DC, Points, 3);
}

// A spin button's arrow: an odd size about half the face's width, the point up or down.
void DrawSpinArrow(HDC DC, const TRect& R, Byte Arrow, int Offset, COLORREF Colour) {
  int A = (RectWidth(R) - 2) / 2;
  if (A % 2 == 0) ++A;
  int X = (R.left + R.right - A) / 2 + Offset;
  int Y = (R.top + R.bottom - A / 2) / 2 - 1 + Offset;
  if (Arrow == 1) {
    POINT Points[3] = {{X, Y + A / 2}, {X + A / 2, Y}, {X + A - 1, Y + A / 2}};
    FillTriangle(DC, Points, Colour);
  } else {
    POINT Points[3] = {{X, Y + 1}, {X + A - 1, Y + 1}, {X + A / 2, Y + 1 + A / 2}};
    FillTriangle(DC, Points, Colour);
  }
}

// The three dots of an ellipsis button, the arrow of a drop-down one, or a spin
// arrow, at an offset.
void DrawMark(HDC DC, const TRect& R, const TdxEditButtonDrawData& Button, bool FlatStyle, int Offset,
              COLORREF Colour) {
  if (Button.SpinArrow != 0) {
    DrawSpinArrow(DC, R, Button.SpinArrow, Offset, Colour);
    return;
  }
  TdxEditButtonKind Kind = Button.Kind;
  if (Kind == bkEllipsis) {
    int D = RectWidth(R) + (FlatStyle ? 1 : 0) >= 16 ? 2 : 1;
    int X = (R.left + R.right - D) / 2 + Offset;
    int Y = (R.top + R.bottom - D / 2) / 2 - RectHeight(R) % 2 + Offset;
    for (int I = -1; I <= 1; ++I) FillColour(DC, TRect{X + 2 * I * D, Y, X + 2 * I * D + D, Y + D}, Colour);
    return;
  }
  int A = RectWidth(R) / 2;
  if (A % 2 == 0) ++A;
  int X = (R.left + R.right - A) / 2 + Offset;
  int Y = (R.top + R.bottom - A / 2) / 2 - RectHeight(R) % 2 + Offset;
  POINT Points[3] = {{X, Y}, {X + A - 1, Y}, {X + A / 2, Y + A / 2}};
  FillTriangle(DC, Points, Colour);
}

}  // namespace

void DrawEditButton(HDC DC, const TRect& Rect, const TdxEditButtonDrawData& Button,
                    const TdxEditButtonLook& Look, bool Pressed, bool Transparent, bool Hot) {
  TdxEditButtonViewStyle S = Look.Style == btsDefault ? bts3D : Look.Style;
  if (S == btsSimple && (Pressed || Hot)) S = btsFlat;
  HBRUSH Background = Look.BackgroundBrush ? Look.BackgroundBrush : GetSysColorBrush(COLOR_WINDOW);
  HBRUSH Face = Transparent ? Background : GetSysColorBrush(COLOR_BTNFACE);
  COLORREF GlyphColour = GetSysColor(COLOR_BTNTEXT);
  UINT Edge = Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
  UINT Flags = BF_ADJUST;
  if (!Transparent && Button.Kind != bkGlyph) Flags |= BF_MIDDLE;
  bool FillFace = false;
  TRect R = Rect;
  switch (S) {
    case btsFlat:
      if (!Transparent) {
        TRect Column = {R.left, R.top, R.left + 1, R.bottom};
        ::FillRect(DC, &Column, GetSysColorBrush(COLOR_BTNFACE));
        ++R.left;
      }
      DrawEdge(DC, &R, Edge, BF_RECT | Flags);
      break;
    case btsSimple:
      if (!Transparent) {
        FrameRect(DC, &R, Background);
        InflateRect(&R, -1, -1);
        TRect Column = {R.left, R.top, R.left + 1, R.bottom};
        ::FillRect(DC, &Column, Background);
        ++R.left;
        FillFace = true;
      } else {
        InflateRect(&R, -1, -1);
      }
      break;
    case btsHotFlat:
      FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
      InflateRect(&R, -1, -1);
      // Pressed, the glyph turns to the window colour on the button text's face. Hot,
      // it keeps the button text on the shadow's face: the window colour can be nearly
      // as light as the shadow (white on light grey).
      if (Pressed && !Transparent)
        GlyphColour = GetSysColor(COLOR_WINDOW);
      else if (Hot && !Pressed && Transparent)
        GlyphColour = GetSysColor(COLOR_BTNSHADOW);
      if (!Transparent) {
        int FaceColour = COLOR_BTNFACE;
        if (Look.Enabled && Pressed) FaceColour = COLOR_BTNTEXT;
        else if (Look.Enabled && Hot) FaceColour = COLOR_BTNSHADOW;
        Face = GetSysColorBrush(FaceColour);
        FillFace = true;
      }
      break;
    default:
      if (Pressed) {
        DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | Flags);
        DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_LEFT | BF_TOP | Flags);
      } else {
        DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | Flags);
      }
      break;
  }
  if (FillFace && Button.Kind != bkGlyph) ::FillRect(DC, &R, Face);

  bool Moves = Pressed && S != btsHotFlat;
  if (Button.Kind == bkGlyph) {
    if (!Button.Glyph || Button.Glyph->Empty()) return;
    int GlyphWidth = Button.Glyph->Width(), GlyphHeight = Button.Glyph->Height();
    int FreeWidth = RectWidth(R) - GlyphWidth, FreeHeight = RectHeight(R) - GlyphHeight;
    int X = FreeWidth / 2, Y = FreeHeight / 2;
    if (Pressed && IsFlatStyle(S) && FreeWidth % 2 != 0) ++X;
    if (Moves) {
      int Shift = S == bts3D ? 2 : 1;
      X += Shift;
      Y += Shift;
    }
    DrawBitmapOnBrush(DC, Face, R, Button.Glyph, TRect{X, Y, X + GlyphWidth, Y + GlyphHeight});
    return;
  }
  int Offset = Moves ? 1 : 0;
  if (Look.Enabled) {
    DrawMark(DC, R, Button, IsFlatStyle(S), Offset, GlyphColour);
  } else {
    DrawMark(DC, R, Button, IsFlatStyle(S), Offset + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawMark(DC, R, Button, IsFlatStyle(S), Offset, GetSysColor(COLOR_BTNSHADOW));
  }
}

int DefaultEditButtonWidth(TdxEditButtonViewStyle Style, const TdxEditButtonDrawData& Button) {
  bool Flat = IsFlatStyle(Style);
  if (Button.Kind == bkGlyph && Button.Glyph && Button.Glyph->Width() > 0)
    return Button.Glyph->Width() + 2 + (Flat ? 1 : 0) + (Style == bts3D ? 2 : 0);
  return GetSystemMetrics(SM_CXVSCROLL) - (Flat ? 1 : 0);
}

// ---------------------------------------------------------------------------------
// TdxEditButton

TCollection* TdxEditButton::CheckRoom(TCollection* ACollection) {
  if (ACollection && ACollection->Count() >= dxMaxEditButtonCount)
    throw Exception(SdxTooManyButtons, {dxMaxEditButtonCount});
  return ACollection;
}

TdxEditButton::TdxEditButton(TCollection* ACollection) : TCollectionItem(CheckRoom(ACollection)) {}

TdxEditButton::~TdxEditButton() { FreeAndNil(FGlyph); }

void TdxEditButton::Assign(TPersistent* Source) {
  auto* From = dynamic_cast<TdxEditButton*>(Source);
  if (!From) {
    TCollectionItem::Assign(Source);
    return;
  }
  TUpdateScope Updating(Collection());
  RestoreDefaults();
  SetDefault(From->Default());
  SetGlyph(From->FGlyph);
  SetKind(From->Kind());
  SetLeftAlignment(From->LeftAlignment());
  SetVisible(From->Visible());
  SetWidth(From->Width());
}

void TdxEditButton::RestoreDefaults() {
  FreeAndNil(FGlyph);
  FKind = bkEllipsis;
  FLeftAlignment = false;
  FVisible = true;
  FWidth = 0;
}

void TdxEditButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value)
    if (auto* Buttons = dynamic_cast<TdxEditButtons*>(Collection()))
      for (int I = 0; I < Buttons->Count(); ++I) Buttons->GetItem(I)->FDefault = false;
  FDefault = Value;
  Changed(true);
}

TBitmap* TdxEditButton::Glyph() {
  if (!FGlyph) FGlyph = NewObject<TBitmap>();
  return FGlyph;
}

void TdxEditButton::SetGlyph(TBitmap* Value) {
  if (Value)
    Glyph()->Assign(Value);
  else
    FreeAndNil(FGlyph);
  Changed(true);
}

void TdxEditButton::SetKind(TdxEditButtonKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  Changed(true);
}

void TdxEditButton::SetLeftAlignment(bool Value) {
  if (FLeftAlignment == Value) return;
  FLeftAlignment = Value;
  Changed(true);
}

void TdxEditButton::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(true);
}

void TdxEditButton::SetWidth(int Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(true);
}

// ---------------------------------------------------------------------------------
// TdxEditButtons

void TdxEditButtons::RestoreDefaults() {
  TUpdateScope Updating(this);
  for (int I = 0; I < Count(); ++I) GetItem(I)->RestoreDefaults();
}

int TdxEditButtons::VisibleCount() const {
  int N = 0;
  for (int I = 0; I < Count(); ++I) N += GetItem(I)->Visible() ? 1 : 0;
  return N;
}

int TdxEditButtons::VisibleIndexToIndex(int VisibleIndex) const {
  int Position = 0;
  for (int I = 0; I < Count(); ++I) {
    if (!GetItem(I)->Visible()) continue;
    if (Position == VisibleIndex) return I;
    ++Position;
  }
  return -1;
}

TdxEditButton* TdxEditButtons::GetVisibleItem(int VisibleIndex) const {
  int I = VisibleIndexToIndex(VisibleIndex);
  return I < 0 ? nullptr : GetItem(I);
}

void TdxEditButtons::Update(TCollectionItem* /*Item*/) {
  auto* Owner = dynamic_cast<TComponent*>(GetOwner());
  if (Owner && Owner->ComponentState().Contains(csLoading)) return;
  if (Count() == 1) GetItem(0)->FDefault = true;
}
