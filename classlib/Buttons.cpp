#include "classlib/Buttons.h"

#include <algorithm>

TCLASS_IMPL(TSpeedButton)

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle({csCaptureMouse, csDoubleClicks, csSetCaption});
  FWidth = 23;
  FHeight = 22;
  FGlyph = NewObject<TBitmap>();
  FGlyph->OnChange = TNotifyEvent::Bind<&TSpeedButton::GlyphChanged>(this);
}

TSpeedButton::~TSpeedButton() { FreeAndNil(FGlyph); }

void TSpeedButton::GlyphChanged(TObject* /*Sender*/) {
  // A strip of square images gives their number.
  if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
    int Count = FGlyph->Width() / FGlyph->Height();
    if (Count >= 1 && Count <= 4) FNumGlyphs = Count;
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (FDown == Value) return;
  if (FDown && !FAllowAllUp) return;  // a group keeps one button down
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Repaint();
  }
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  SetControlStyle(Value ? ControlStyle() - TControlStyle{csOpaque} : ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}

// Tells the other buttons of the group, which release themselves (CM_BUTTONPRESSED
// with the group index and this button) and take on AllowAllUp.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage Message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
  for (int I = 0; I < Parent()->ControlCount(); ++I) {
    TControl* Control = Parent()->Controls(I);
    if (Control != this) Control->Perform(Message.Msg, Message.WParam, Message.LParam);
  }
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TButtonState NewState = FDown ? bsExclusive : bsUp;
  if (X >= 0 && X < Width() && Y >= 0 && Y < Height()) NewState = FDown ? bsExclusive : bsDown;
  if (NewState != FState) {
    FState = NewState;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  bool Inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = FMouseInControl && Inside;
    Invalidate();
  } else if (Inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (Inside) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
      auto* Sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
      if (static_cast<int>(Message.WParam) == FGroupIndex && Sender != this && FGroupIndex != 0) {
        if (Sender->Down() && FDown) {
          FDown = false;
          FState = bsUp;
          Invalidate();
        }
        FAllowAllUp = Sender->AllowAllUp();
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        Click();
        Message.Result = 1;
      } else {
        inherited::Dispatch(Message);
      }
      break;
    case CM_ENABLEDCHANGED:
      FState = Enabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
      inherited::Dispatch(Message);
      break;
    case CM_MOUSEENTER:
      FMouseInControl = true;
      if (FFlat && Enabled()) Invalidate();
      inherited::Dispatch(Message);
      break;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      if (FFlat && Enabled()) Invalidate();
      inherited::Dispatch(Message);
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

void TSpeedButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  bool Pressed = FState == bsDown || FState == bsExclusive;
  if (!FTransparent) {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
  }
  HDC DC = C->Handle();
  if (!FFlat) {
    RECT Frame = R;
    UINT Edge = Pressed ? EDGE_SUNKEN : EDGE_RAISED;
    DrawEdge(DC, &Frame, Edge, BF_RECT);
  } else if (Pressed || (FMouseInControl && Enabled())) {
    RECT Frame = R;
    DrawEdge(DC, &Frame, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  DrawGlyphAndText(R, Pressed ? 1 : 0);
}

void TSpeedButton::DrawGlyphAndText(const TRect& Client, int Offset) {
  TCanvas* C = Canvas();
  int GlyphW = FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs;
  int GlyphH = FGlyph->Empty() ? 0 : FGlyph->Height();
  AnsiString Text = Caption();
  C->Font()->Assign(Font());
  TSize TextSize{0, 0};
  if (!Text.empty()) {
    RECT Measure{0, 0, Client.right, 0};
    HDC DC = C->Handle();
    C->TextExtent(" ");  // selects the font
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &Measure, DT_CALCRECT | DT_SINGLELINE);
    TextSize = {Measure.right - Measure.left, Measure.bottom - Measure.top};
  }
  bool Horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  int Width = Client.right - Client.left, Height = Client.bottom - Client.top;
  int Spacing = (GlyphW > 0 && !Text.empty()) ? FSpacing : 0;
  int Total = Horizontal ? GlyphW + Spacing + TextSize.cx : GlyphH + Spacing + TextSize.cy;
  int Start = FMargin >= 0 ? FMargin : ((Horizontal ? Width : Height) - Total) / 2;
  TPoint GlyphPos, TextPos;
  switch (FLayout) {
    case blGlyphLeft:
      GlyphPos = Point(Start, (Height - GlyphH) / 2);
      TextPos = Point(Start + GlyphW + Spacing, (Height - TextSize.cy) / 2);
      break;
    case blGlyphRight:
      GlyphPos = Point(Width - Start - GlyphW, (Height - GlyphH) / 2);
      TextPos = Point(Width - Start - GlyphW - Spacing - TextSize.cx, (Height - TextSize.cy) / 2);
      break;
    case blGlyphTop:
      GlyphPos = Point((Width - GlyphW) / 2, Start);
      TextPos = Point((Width - TextSize.cx) / 2, Start + GlyphH + Spacing);
      break;
    case blGlyphBottom:
      GlyphPos = Point((Width - GlyphW) / 2, Height - Start - GlyphH);
      TextPos = Point((Width - TextSize.cx) / 2, Height - Start - GlyphH - Spacing - TextSize.cy);
      break;
  }
  if (GlyphW > 0) {
    // The image of the state, or the first one.
    int Index = 0;
    switch (FState) {
      case bsDisabled: Index = 1; break;
      case bsDown: Index = 2; break;
      case bsExclusive: Index = 3; break;
      default: break;
    }
    if (Index >= FNumGlyphs) Index = 0;
    TOwned<TBitmap> Image(NewObject<TBitmap>(GlyphW, GlyphH));
    Image->Canvas()->CopyRect(Rect(0, 0, GlyphW, GlyphH), FGlyph->Canvas(),
                              Rect(Index * GlyphW, 0, (Index + 1) * GlyphW, GlyphH));
    Image->SetTransparentColor(FGlyph->Canvas()->Pixels(0, GlyphH - 1));
    Image->SetTransparent(true);
    C->Draw(GlyphPos.x + Client.left + Offset, GlyphPos.y + Client.top + Offset, Image.get());
  }
  if (!Text.empty()) {
    HDC DC = C->Handle();
    C->TextExtent(" ");
    SetBkMode(DC, TRANSPARENT);
    RECT TextRect{TextPos.x + Client.left + Offset, TextPos.y + Client.top + Offset, 0, 0};
    TextRect.right = TextRect.left + TextSize.cx;
    TextRect.bottom = TextRect.top + TextSize.cy;
    if (!Enabled()) {
      OffsetRect(&TextRect, 1, 1);
      SetTextColor(DC, ColorToRGB(clBtnHighlight));
      DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &TextRect, DT_SINGLELINE);
      OffsetRect(&TextRect, -1, -1);
      SetTextColor(DC, ColorToRGB(clBtnShadow));
    } else {
      SetTextColor(DC, ColorToRGB(Font()->Color()));
    }
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &TextRect, DT_SINGLELINE);
  }
}

void InitButtons() {
  RegisterClass(&TSpeedButton::StaticClass());
  TPublish<TSpeedButton> P;
  P.Prop("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
  P.Prop("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
  P.Prop("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  P.Prop("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
  P.Prop("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
  P.Prop("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  P.Prop("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout);
  P.Prop("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  P.Prop("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  P.Prop("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  P.Prop("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
}

void DoneButtons() {
  UnRegisterPublished(&TSpeedButton::StaticClass());
  UnRegisterClass(&TSpeedButton::StaticClass());
}
