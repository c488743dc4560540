// The kit's push button: kinds and their glyphs, layout of glyph and caption, the
// kit's face, keyboard and mouse.
#include "skin/KsButtons.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "classlib/ModuleInit.h"
#include "classlib/StdCtrls.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TKsCustomButton)
TCLASS_IMPL(TKsButtonActionLink)

// ---------------------------------------------------------------------------------
// Kinds

namespace {

struct TKindInfo {
  const char* Caption;
  TModalResult ModalResult;
  const char* Resource;
};

constexpr TKindInfo KindInfo[] = {
    {"", mrNone, ""},
    {"OK", mrOk, "KSBTN_OK"},
    {"Cancel", mrCancel, "KSBTN_CANCEL"},
    {"&Help", mrNone, "KSBTN_HELP"},
    {"&Yes", mrYes, "KSBTN_YES"},
    {"&No", mrNo, "KSBTN_NO"},
    {"&Close", mrNone, "KSBTN_CLOSE"},
    {"Abort", mrAbort, "KSBTN_ABORT"},
    {"&Retry", mrRetry, "KSBTN_RETRY"},
    {"&Ignore", mrIgnore, "KSBTN_IGNORE"},
    {"&All", mrAll, "KSBTN_ALL"},
};
constexpr std::size_t KindCount = std::size(KindInfo);

const TKindInfo& InfoOf(TBitBtnKind Kind) {
  const auto Index = static_cast<std::size_t>(Kind);
  return KindInfo[Index < KindCount ? Index : 0];
}

std::array<TBitmap*, KindCount> KindGlyphs{};

bool KindIsDefault(TBitBtnKind Kind) { return Kind == bkOK || Kind == bkYes; }

}  // namespace

AnsiString KsButtonKindCaption(TBitBtnKind Kind) { return InfoOf(Kind).Caption; }
TModalResult KsButtonKindModalResult(TBitBtnKind Kind) { return InfoOf(Kind).ModalResult; }
AnsiString KsButtonKindResource(TBitBtnKind Kind) { return InfoOf(Kind).Resource; }

TBitmap* KsButtonKindGlyph(TBitBtnKind Kind) {
  const auto Index = static_cast<std::size_t>(Kind);
  if (Kind == bkCustom || Index >= KindCount) return nullptr;
  if (!KindGlyphs[Index]) {
    TOwned<TBitmap> Glyph(NewObject<TBitmap>());
    const char* Name = KindInfo[Index].Resource;
    // As the system's bitmap loader: a missing resource gives no image.
    if (FindResourceA(HInstance, Name, MAKEINTRESOURCEA(2)))  // RT_BITMAP
      Glyph->LoadFromResourceName(HInstance, Name);
    KindGlyphs[Index] = Glyph.release();
  }
  return KindGlyphs[Index];
}

// ---------------------------------------------------------------------------------
// Construction and properties

TKsCustomButton::TKsCustomButton(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks});
  SetTabStop(true);
  FGlyph = NewObject<TBitmap>();
  FGlyph->OnChange = TNotifyEvent::Bind<&TKsCustomButton::GlyphChanged>(this);
  SetColor(KsColorToColor(KsColorFace));
  SetTransparent(true);
  SetBounds(0, 0, 75, 25);
}

void TKsCustomButton::BeforeDestruction() {
  Destroying();
  FreeAndNil(FActionLink);
  TKsCustomControl::BeforeDestruction();
}

TKsCustomButton::~TKsCustomButton() {
  FreeAndNil(FGlyphPixels);
  FreeAndNil(FGlyph);
}

void TKsCustomButton::Loaded() {
  inherited::Loaded();
  FDefaultRead = false;
  if (TBasicAction* A = Action()) ActionChange(A, true);
  Invalidate();
}

void TKsCustomButton::SetDefault(bool Value) {
  FDefault = Value;
  if (ComponentState().Contains(csLoading)) FDefaultRead = true;
  if (HandleAllocated()) {
    // Every button of the form works out again whether it shows the default frame.
    if (TCustomForm* Form = GetParentForm(this))
      Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
  }
  Invalidate();
}

void TKsCustomButton::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

void TKsCustomButton::GlyphChanged(TObject* /*Sender*/) {
  FreeAndNil(FGlyphPixels);  // copied again at the next paint
  const int W = FGlyph->Width();
  const int H = FGlyph->Height();
  if (H > 0 && W > 0 && W % H == 0) {
    const int Count = W / H;
    FNumGlyphs = Count > 4 ? 1 : Count;
  }
  Invalidate();
}

void TKsCustomButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TKsCustomButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TKsCustomButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TKsCustomButton::SetBlackAndWhiteGlyph(bool Value) {
  if (FBlackAndWhiteGlyph == Value) return;
  FBlackAndWhiteGlyph = Value;
  Invalidate();
}

void TKsCustomButton::SetKind(TBitBtnKind Value) {
  if (FKind == Value) return;
  if (Value != bkCustom) {
    // A form file writes the caption, the default and the glyph before the kind: what
    // it gave stands, the kind gives the rest.
    const bool Loading = ComponentState().Contains(csLoading);
    if (!Loading || !FDefaultRead) SetDefault(KindIsDefault(Value));
    if (!Loading || Caption().empty()) SetCaption(KsButtonKindCaption(Value));
    FModalResult = KsButtonKindModalResult(Value);
    if (!Loading || FGlyph->Empty()) {
      SetGlyph(KsButtonKindGlyph(Value));
      SetNumGlyphs(2);
    }
  }
  FKind = Value;
  Invalidate();
}

bool TKsCustomButton::DefaultStored() const { return FDefault || KindIsDefault(FKind); }

bool TKsCustomButton::ModalResultStored() const {
  return FModalResult != mrNone || KsButtonKindModalResult(FKind) != mrNone;
}

void TKsCustomButton::SetDown(Byte Value) {
  if (FDown == Value) return;
  FDown = Value;
  Invalidate();
}

void TKsCustomButton::Click() {
  if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  TBasicAction* A = Action();
  if (OnClick.Assigned() && A && !(A->OnExecute == OnClick))
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
  else
    inherited::Click();
}

// ---------------------------------------------------------------------------------
// Action

TBasicAction* TKsCustomButton::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TKsCustomButton::SetAction(TBasicAction* Value) {
  if (!Value) {
    FreeAndNil(FActionLink);
    return;
  }
  if (!FActionLink) FActionLink = NewObject<TKsButtonActionLink>(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = TNotifyEvent::Bind<&TKsCustomButton::DoActionChange>(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TKsCustomButton::DoActionChange(TObject* Sender) {
  if (FActionLink && Sender == FActionLink->Action()) ActionChange(Sender, false);
}

void TKsCustomButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  if (!Sender || !Sender->Is<TCustomAction>()) return;
  auto* A = static_cast<TCustomAction*>(Sender);
  if (!CheckDefaults || Caption().empty()) SetCaption(A->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(A->Enabled());
  if (!CheckDefaults || HelpContext() == 0) SetHelpContext(A->HelpContext());
  if (!CheckDefaults || Hint().empty()) SetHint(A->Hint());
  if (!CheckDefaults || Visible()) SetVisible(A->Visible());
  if (!CheckDefaults || !OnClick.Assigned()) OnClick = A->OnExecute;
  // The action's image becomes the glyph, over any glyph the button had.
  TCustomImageList* Images = A->Images();
  if (Images && A->ImageIndex() >= 0 && A->ImageIndex() < Images->Count()) {
    TOwned<TBitmap> Image(NewObject<TBitmap>());
    Image->SetSize(Images->Width(), Images->Height());
    TCanvas* C = Image->Canvas();
    // The bottom-left pixel's colour is the glyph's transparent colour.
    C->Brush()->SetColor(static_cast<TColor>(RGB(255, 0, 255)));
    C->FillRect(TRect{0, 0, Images->Width(), Images->Height()});
    ImageList_Draw(Images->Handle(), A->ImageIndex(), C->Handle(), 0, 0, ILD_TRANSPARENT);
    SetGlyph(Image.get());
    SetNumGlyphs(1);
  }
}

void TKsCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

// ---------------------------------------------------------------------------------
// TKsButtonActionLink

TKsButtonActionLink::TKsButtonActionLink(TKsCustomButton* AClient)
    : TActionLink(AClient), FButton(AClient) {}

TCustomAction* TKsButtonActionLink::CustomAction() const {
  TBasicAction* A = Action();
  return A && A->Is<TCustomAction>() ? static_cast<TCustomAction*>(A) : nullptr;
}

bool TKsButtonActionLink::IsCaptionLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Caption() == FButton->Caption();
}
bool TKsButtonActionLink::IsEnabledLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Enabled() == FButton->Enabled();
}
bool TKsButtonActionLink::IsHelpContextLinked() {
  TCustomAction* A = CustomAction();
  return A && A->HelpContext() == FButton->HelpContext();
}
bool TKsButtonActionLink::IsHintLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Hint() == FButton->Hint();
}
bool TKsButtonActionLink::IsVisibleLinked() {
  TCustomAction* A = CustomAction();
  return A && A->Visible() == FButton->Visible();
}
bool TKsButtonActionLink::IsOnExecuteLinked() {
  return Action() && Action()->OnExecute == FButton->OnClick;
}
void TKsButtonActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) FButton->SetCaption(Value);
}
void TKsButtonActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FButton->SetEnabled(Value);
}
void TKsButtonActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FButton->SetHelpContext(Value);
}
void TKsButtonActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FButton->SetHint(Value);
}
void TKsButtonActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FButton->SetVisible(Value);
}
void TKsButtonActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FButton->OnClick = Value;
}

// ---------------------------------------------------------------------------------
// Layout

TSize TKsCustomButton::GlyphSize() const {
  if (FGlyph->Empty()) return TSize{0, 0};
  return TSize{FGlyph->Width() / std::max(FNumGlyphs, 1), FGlyph->Height()};
}

TSize TKsCustomButton::CaptionSize() {
  Buffer()->SetFont(BufferFont());
  const AnsiString Text = Caption();
  return TSize{Buffer()->TextWidth(Text), Buffer()->TextHeight(Text)};
}

TRect TKsCustomButton::GetContentRect() {
  const TSize Text = CaptionSize();
  const TSize G = GlyphSize();
  TRect R{0, 0, Text.cx, Text.cy};
  if (!FGlyph->Empty()) {
    if (FLayout == blGlyphTop || FLayout == blGlyphBottom)
      R.bottom += G.cy + FSpacing;
    else
      R.right += G.cx + FSpacing;
    R.right = std::max<LONG>(R.right, G.cx);
    R.bottom = std::max<LONG>(R.bottom, G.cy);
  }
  int DX = (Width() - R.right) / 2;
  int DY = (Height() - R.bottom) / 2;
  if (FDown) {
    ++DX;
    ++DY;
  }
  OffsetRect(&R, DX, DY);
  return R;
}

TRect TKsCustomButton::GetTextRect() {
  TRect R = GetContentRect();
  if (FGlyph->Empty()) return R;
  const TSize G = GlyphSize();
  switch (FLayout) {
    case blGlyphLeft: R.left += G.cx + FSpacing; break;
    case blGlyphRight: R.right -= G.cx + FSpacing; break;
    case blGlyphTop: R.top += G.cy + FSpacing; break;
    case blGlyphBottom: R.bottom -= G.cy + FSpacing; break;
  }
  return R;
}

TRect TKsCustomButton::GetGlyphRect() {
  TRect R = GetContentRect();
  const TSize G = GlyphSize();
  switch (FLayout) {
    case blGlyphLeft: R.right = R.left + G.cx + FSpacing; break;
    case blGlyphRight: R.left = R.right - G.cx - FSpacing; break;
    case blGlyphTop: R.bottom = R.top + G.cy + FSpacing; break;
    case blGlyphBottom: R.top = R.bottom - G.cy - FSpacing; break;
  }
  return R;
}

// ---------------------------------------------------------------------------------
// Drawing

void TKsCustomButton::PaintBuffer() {
  inherited::PaintBuffer();
  DrawFace();
  DrawCaption();
  DrawGlyph();
}

void TKsCustomButton::DrawFace() {
  TRect R{0, 0, Width(), Height()};
  if (FHasFocus || FDefaultActive) {
    Buffer()->FrameRect(R, KsColorBlack);
    R = GrowRect(R, -1);
  }
  const TKsColor Face = ColorToKsColor(Color(), 255);
  const TKsColor Shadow = ColorToKsColor(clBtnShadow, 255);
  Buffer()->FillRect(R, Face);
  if (FDown == 0) {
    Buffer()->DrawEdge(R, ColorToKsColor(clBtnHighlight, 255), KsColorBlack);
    R = GrowRect(R, -1);
    Buffer()->DrawEdge(R, Face, Shadow);
  } else {
    Buffer()->DrawEdge(R, Shadow, Shadow);
  }
  if (FHasFocus) Buffer()->DrawFocusRect(GrowRect(TRect{0, 0, Width(), Height()}, -4), Shadow);
}

void TKsCustomButton::DrawGlyph() {
  if (FGlyph->Empty()) return;
  const TSize Image = GlyphSize();
  if (Image.cx <= 0 || Image.cy <= 0) return;
  if (!FGlyphPixels) {
    FGlyphPixels = NewObject<TKsBitmap>();
    FGlyphPixels->Assign(FGlyph);
  }
  TKsBitmap* Pixels = FGlyphPixels;
  const TKsColor Key = Pixels->GetPixel(0, FGlyph->Height() - 1) & 0x00FFFFFF;
  const TRect Place = GetGlyphRect();
  const int DX = Place.left + (RectWidth(Place) - Image.cx) / 2;
  const int DY = Place.top + (RectHeight(Place) - Image.cy) / 2;
  const bool IsEnabled = Enabled();
  const int SX = (FNumGlyphs <= 1 || IsEnabled) ? 0 : Image.cx;
  const bool Grey = FBlackAndWhiteGlyph && !MouseInControl();
  for (int Y = 0; Y < Image.cy; ++Y) {
    for (int X = 0; X < Image.cx; ++X) {
      TKsColor C = Pixels->GetPixel(SX + X, Y) & 0x00FFFFFF;
      if (C == Key) continue;
      float H, S, L;
      if (Grey) {
        KsColorToHSL(C, H, S, L);
        const Cardinal Level = static_cast<Byte>(KsRound(L * 255.0));
        C = Level << 16 | Level << 8 | Level;
      }
      if (!IsEnabled) {
        KsColorToHSL(C, H, S, L);
        // Wraps as a byte: 160 to 210.
        const Cardinal Level = static_cast<Byte>(KsRound(L * 50.0) - 96);
        C = Level << 16 | Level << 8 | Level;
      }
      Buffer()->SetPixel(DX + X, DY + Y, C | 0xFF000000u);
    }
  }
}

void TKsCustomButton::DrawCaption() {
  const AnsiString Text = Caption();
  const TSize Size = CaptionSize();
  const TRect Text0 = CenterRect(TRect{0, 0, Size.cx, Size.cy}, GetTextRect());
  const UINT Flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_CENTER));
  TFont* Font = Buffer()->Font();
  if (!Enabled()) {
    Font->SetColor(clBtnHighlight);
    TRect Embossed = Text0;
    OffsetRect(&Embossed, 1, 1);
    Buffer()->DrawText(Text, Embossed, Flags);
    Font->SetColor(clBtnShadow);
  }
  Buffer()->DrawText(Text, Text0, Flags);
}

// ---------------------------------------------------------------------------------
// Keyboard and mouse

void TKsCustomButton::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !Shift.Contains(ssAlt)) SetDown(1);
  inherited::KeyDown(Key, Shift);
}

void TKsCustomButton::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    SetDown(0);
    Key = 0;
    inherited::KeyUp(Key, Shift);
    Click();  // last: a click may free the button
    return;
  }
  inherited::KeyUp(Key, Shift);
}

void TKsCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (CanFocus()) SetFocus();
  FDown = 1;
  Invalidate();
  FTracking = true;
}

void TKsCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FTracking) return;
  const TRect Client = ClientRect();
  const bool Inside = X >= 0 && X < Client.right && Y >= 0 && Y < Client.bottom;
  SetDown(Inside ? 1 : 0);
}

void TKsCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FTracking) return;
  FTracking = false;
  FDown = 0;
  Invalidate();
  // Released where it was pressed: a click (last, as it may free the button).
  if (X >= 0 && X < Width() && Y >= 0 && Y < Height()) Click();
}

void TKsCustomButton::MouseEnter() {
  inherited::MouseEnter();
  Invalidate();
}

void TKsCustomButton::MouseLeave() {
  inherited::MouseLeave();
  Invalidate();
}

void TKsCustomButton::FocusGained() {
  inherited::FocusGained();
  Invalidate();
}

void TKsCustomButton::FocusLost() {
  inherited::FocusLost();
  Invalidate();
}

void TKsCustomButton::CMDialogKey(TMessage& Message) {
  const bool Takes = (Message.WParam == VK_RETURN && (FDefaultActive || FHasFocus)) ||
                     (Message.WParam == VK_ESCAPE && FModalResult == mrCancel);
  if (Takes && KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  inherited::Dispatch(Message);
}

void TKsCustomButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  inherited::Dispatch(Message);
}

void TKsCustomButton::CMFocusChanged(TMessage& Message) {
  auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
  // Another button (or this one) with the focus takes Enter itself.
  const bool Active =
      (Sender && (Sender->Is<TKsCustomButton>() || Sender->Is<TButton>())) ? false : FDefault;
  if (Active != FDefaultActive) {
    FDefaultActive = Active;
    Invalidate();
  }
  inherited::Dispatch(Message);
}

void TKsCustomButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsButtons() {
  RegisterClass(&TKsCustomButton::StaticClass());
  TPublish<TKsCustomButton> P;
  P.Prop("Action", &TKsCustomButton::Action, &TKsCustomButton::SetAction);
  P.Prop("BlackAndWhiteGlyph", &TKsCustomButton::BlackAndWhiteGlyph,
         &TKsCustomButton::SetBlackAndWhiteGlyph);
  P.Prop("Caption", &TKsCustomButton::Caption, &TKsCustomButton::SetCaption);
  P.Prop("Default", &TKsCustomButton::Default, &TKsCustomButton::SetDefault)
      .NoDefault()
      .Stored(&TKsCustomButton::DefaultStored);
  P.Prop("Glyph", &TKsCustomButton::Glyph, &TKsCustomButton::SetGlyph);
  P.Prop("Kind", &TKsCustomButton::Kind, &TKsCustomButton::SetKind);
  P.Prop("Layout", &TKsCustomButton::Layout, &TKsCustomButton::SetLayout);
  P.Prop("ModalResult", &TKsCustomButton::ModalResult, &TKsCustomButton::SetModalResult)
      .NoDefault()
      .Stored(&TKsCustomButton::ModalResultStored);
  P.Prop("NumGlyphs", &TKsCustomButton::NumGlyphs, &TKsCustomButton::SetNumGlyphs).Default(1);
  P.Prop("Spacing", &TKsCustomButton::Spacing, &TKsCustomButton::SetSpacing).Default(4);
  P.Prop("TabStop", &TKsCustomButton::TabStop, &TKsCustomButton::SetTabStop).Default(true);
  P.Prop("Transparent", &TKsCustomButton::Transparent, &TKsCustomButton::SetTransparent)
      .Default(true);
}

void DoneKsButtons() {
  UnRegisterPublished(&TKsCustomButton::StaticClass());
  UnRegisterClass(&TKsCustomButton::StaticClass());
  for (TBitmap*& Glyph : KindGlyphs) FreeAndNil(Glyph);
}
