// The buffered control bases: buffer sizing, the blend composition, the parent's
// background, painting children into the buffer, and the messages of both bases.
#include "skin/KsControls.h"

#include <algorithm>
#include <limits>

#include "classlib/GdiScopes.h"

#include "skin/KsUtils.h"

TCLASS_IMPL(TKsCustomControl)
TCLASS_IMPL(TKsGraphicControl)

int BufferGrainSize(int Length, int Grain) {
  const long long Size = (static_cast<long long>(Length) / Grain + 1) * Grain;
  return static_cast<int>(std::min<long long>(Size, std::numeric_limits<int>::max()));
}

TPoint ShownBufferExtent(int ControlWidth, int ControlHeight) {
  return TPoint{std::min(ControlWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                std::min(ControlHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN))};
}

namespace {

// A rectangle in 64-bit coordinates: a control's far edge may lie past the int range.
struct TWideRect {
  long long Left, Top, Right, Bottom;
  void Cut(long long L, long long T, long long R, long long B) {
    Left = std::max(Left, L);
    Top = std::max(Top, T);
    Right = std::min(Right, R);
    Bottom = std::min(Bottom, B);
  }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

TPoint ClientToScreenOf(HWND Window) {
  POINT P{0, 0};
  ClientToScreen(Window, &P);
  return P;
}

}  // namespace

TRect ShownControlPart(TControl* Control) {
  TWideRect Part{0, 0, Control->Width(), Control->Height()};
  TWinControl* Parent = Control->Parent();
  auto* Windowed = ObjectAs<TWinControl>(Control);
  TWinControl* Holder = Windowed ? Windowed : Parent;
  if (Holder && Holder->HandleAllocated()) {
    // The windows exist, and so do their parents': cut on the screen.
    const TPoint Origin = ClientToScreenOf(Holder->Handle());
    const long long X = static_cast<long long>(Origin.x) + (Windowed ? 0 : Control->Left());
    const long long Y = static_cast<long long>(Origin.y) + (Windowed ? 0 : Control->Top());
    for (TWinControl* P = Parent; P && P->HandleAllocated(); P = P->Parent()) {
      RECT Client;
      GetClientRect(P->Handle(), &Client);
      const TPoint At = ClientToScreenOf(P->Handle());
      Part.Cut(At.x - X, At.y - Y, At.x + Client.right - X, At.y + Client.bottom - Y);
    }
    const long long SX = GetSystemMetrics(SM_XVIRTUALSCREEN), SY = GetSystemMetrics(SM_YVIRTUALSCREEN);
    Part.Cut(SX - X, SY - Y, SX + GetSystemMetrics(SM_CXVIRTUALSCREEN) - X,
             SY + GetSystemMetrics(SM_CYVIRTUALSCREEN) - Y);
  } else {
    // Before the windows: each parent's client area by the bounds the library keeps.
    long long X = 0, Y = 0;
    for (TControl* C = Control; TWinControl* P = C->Parent(); C = P) {
      X += C->Left();
      Y += C->Top();
      const TRect Client = P->ClientRect();
      Part.Cut(Client.left - X, Client.top - Y, Client.right - X, Client.bottom - Y);
    }
  }
  if (Part.Empty()) return TRect{0, 0, 0, 0};
  const TPoint Screen = ShownBufferExtent(static_cast<int>(Part.Right - Part.Left),
                                          static_cast<int>(Part.Bottom - Part.Top));
  return TRect{static_cast<int>(Part.Left), static_cast<int>(Part.Top),
               static_cast<int>(Part.Left + Screen.x), static_cast<int>(Part.Top + Screen.y)};
}

namespace {

bool Designing(const TComponent* Component) {
  return Component->ComponentState().Contains(csDesigning);
}

bool OwnerBlended(const TComponent* Control) {
  if (Designing(Control)) return false;
  auto* Owner = ObjectAs<TWinControl>(Control->Owner());
  if (!Owner || !Owner->HandleAllocated()) return false;
  return SendMessageA(Owner->Handle(), KM_ISFORMBLENDED, 0, 0) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------------
// TKsBufferState

TKsBufferState::TKsBufferState()
    : FBuffer(NewObject<TKsBitmap>()), FBlendBuffer(NewObject<TKsBitmap>()), FFont(NewObject<TFont>()) {}

TKsBufferState::~TKsBufferState() {
  FreeAndNil(FFont);
  FreeAndNil(FBlendBuffer);
  FreeAndNil(FBuffer);
}

bool TKsBufferState::SetTransparent(bool Value) {
  if (Transparent == Value) return false;
  Transparent = Value;
  return true;
}

bool TKsBufferState::SetBlend(bool Value) {
  if (Blend == Value) return false;
  Blend = Value;
  return true;
}

bool TKsBufferState::SetBlendValue(int Value) {
  if (BlendValue == Value) return false;
  BlendValue = Value;
  return true;
}

// At run time a whole buffer grows when it is smaller than the control and shrinks only
// when it is more than one grain larger.
bool TKsBufferState::Resize(bool Design) {
  if (ControlWidth < 0 || ControlHeight < 0 || FGrain == 0) return false;
  const int W = BufferGrainSize(ControlWidth, FGrain);
  const int H = BufferGrainSize(ControlHeight, FGrain);
  bool Changed = false;
  bool Whole = static_cast<long long>(W) * H <= KsWholeBufferPixels;
  if (Whole) {
    const int BW = FBuffer->Width();
    const int BH = FBuffer->Height();
    const bool Grow = BW < ControlWidth || BH < ControlHeight;
    const bool Shrink = BW - ControlWidth > FGrain || BH - ControlHeight > FGrain;
    if (Design || FPartial || ((Grow || Shrink) && (BW != W || BH != H))) {
      FBuffer->TrySetSize(W, H);
      FBuffer->SetOrigin(TPoint{0, 0});
      Changed = true;
    }
    Whole = !FBuffer->Empty();
    if (Whole) FPartial = false;
  }
  if (!Whole) {
    // Too large, or more than the system gives: a buffer of what a screen can show,
    // from the control's top-left until Place moves it.
    const TPoint Shown = ShownBufferExtent(ControlWidth, ControlHeight);
    const int PW = BufferGrainSize(Shown.x, FGrain);
    const int PH = BufferGrainSize(Shown.y, FGrain);
    if (Design || !FPartial || FBuffer->Width() != PW || FBuffer->Height() != PH) {
      FBuffer->TrySetSize(PW, PH);
      FBuffer->SetOrigin(TPoint{0, 0});
      Changed = true;
    }
    FPartial = true;
  }
  if (Design) {
    if (Blend) MatchBlendBuffer();
  } else if (Blend && !FBuffer->Empty() && (FBlendBuffer->Width() != FBuffer->Width() ||
                                            FBlendBuffer->Height() != FBuffer->Height())) {
    MatchBlendBuffer();
    Changed = true;
  }
  if (Changed) NeedsRepaint = true;
  return Changed;
}

bool TKsBufferState::Place(const TRect& Shown) {
  if (!FPartial || FBuffer->Empty() || Shown.right <= Shown.left || Shown.bottom <= Shown.top)
    return false;
  const TRect Held = FBuffer->Bounds();
  if (Held.left <= Shown.left && Held.top <= Shown.top && Shown.right <= Held.right &&
      Shown.bottom <= Held.bottom)
    return false;
  // As far as the shown part's corner, but never past the control's far end, so that
  // the buffer holds as much of the control as it can.
  const TPoint Origin{std::max(0, std::min<int>(Shown.left, ControlWidth - FBuffer->Width())),
                      std::max(0, std::min<int>(Shown.top, ControlHeight - FBuffer->Height()))};
  FBuffer->SetOrigin(Origin);
  NeedsRepaint = true;
  return true;
}

bool TKsBufferState::CanPaint() const {
  return !FBuffer->Empty() && ControlWidth > 0 && ControlHeight > 0;
}

TRect TKsBufferState::PaintedRect() const {
  const TRect Held = FBuffer->Bounds();
  return TRect{Held.left, Held.top, std::min<int>(ControlWidth, Held.right),
               std::min<int>(ControlHeight, Held.bottom)};
}

bool TKsBufferState::MatchBlendBuffer() {
  if (FBuffer->Empty()) return false;
  if (FBlendBuffer->Width() != FBuffer->Width() || FBlendBuffer->Height() != FBuffer->Height())
    FBlendBuffer->TrySetSize(FBuffer->Width(), FBuffer->Height());
  if (FBlendBuffer->Empty()) return false;
  FBlendBuffer->SetOrigin(FBuffer->Origin());
  return true;
}

void TKsBufferState::BeginBlend() {
  FBlendBuffer->SetAlpha(255);
  if (Transparent) FBlendBuffer->Draw(FBuffer, FBuffer->Origin().x, FBuffer->Origin().y);
}

void TKsBufferState::EndBlend() {
  FBuffer->SetAlpha(static_cast<Byte>(std::clamp(BlendValue, 0, 255)));
  FBuffer->DrawUnder(FBlendBuffer, FBlendBuffer->Bounds(), FBuffer->Origin().x, FBuffer->Origin().y);
}

// ---------------------------------------------------------------------------------
// TKsCustomControl

TKsCustomControl::TKsCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

void TKsCustomControl::SetTransparent(bool Value) {
  if (FBuffering.SetTransparent(Value)) Invalidate();
}

void TKsCustomControl::SetBlend(bool Value) {
  if (FBuffering.SetBlend(Value)) Invalidate();
}

void TKsCustomControl::SetBlendValue(int Value) {
  if (FBuffering.SetBlendValue(Value)) Invalidate();
}

bool TKsCustomControl::IsOwnerBlended() { return OwnerBlended(this); }

int TKsCustomControl::GetScrollBarSize() { return GetSystemMetrics(SM_CYVTHUMB); }

void TKsCustomControl::ResizeBuffer() {
  LayoutScrollBars();
  const bool Resized = FBuffering.Resize(Designing(this));
  if (PlaceBuffer() || Resized) UpdateBuffer();
}

bool TKsCustomControl::PlaceBuffer() {
  return FBuffering.Partial() && FBuffering.Place(ShownControlPart(this));
}

void TKsCustomControl::UpdateBuffer() {
  if (!Parent()) return;
  PlaceBuffer();
  const bool Design = Designing(this);
  if (!Design && !Visible()) return;
  if (!FBuffering.CanPaint()) return;
  if (!Design && !FBuffering.NeedsRepaint && !IsOwnerBlended()) return;
  FBuffering.Paint(
      Font(), true, [this](HDC DC) { PaintParentBackground(DC); },
      [this] {
        PaintBuffer();
        if (!Blend()) PaintScrollCorner();
      });
}

void TKsCustomControl::PaintBuffer() {
  if (!Transparent()) Buffer()->Fill(ColorToKsColor(Color(), 255));
}

void TKsCustomControl::PaintParentBackground(HDC DC) {
  TWinControl* TheParent = Parent();
  if (!TheParent || !HandleAllocated() || !TheParent->HandleAllocated()) return;
  TSavedDC Saved(DC);
  // The parent paints in its client coordinates; this control's client origin must
  // land on the DC's (0, 0).
  const TPoint Origin = TheParent->ScreenToClient(ClientOrigin());
  OffsetWindowOrgEx(DC, Origin.x, Origin.y, nullptr);
  SendMessageA(TheParent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC),
               KsParentBackgroundRequest);
  TheParent->PaintControls(DC, nullptr);
}

void TKsCustomControl::PaintChildrenToBuffer() {
  TKsBitmap* Buffer = this->Buffer();
  HDC DC = Buffer->DC();
  const bool Design = Designing(this);
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Child = Controls(I);
    const bool Shown = Design ? !Child->ControlStyle().Contains(csNoDesignVisible) : Child->Visible();
    if (auto* Kit = ObjectAs<TKsGraphicControl>(Child)) {
      if (!Shown) continue;
      // The child paints over what lies under it in this buffer, both counted in the
      // child's coordinates over the part of it that its buffer holds.
      struct TFromParent {
        TKsGraphicControl* Kit;
        ~TFromParent() { Kit->SetPaintingFromParent(false); }
      } FromParent{Kit};
      Kit->SetPaintingFromParent(true);
      Kit->PlaceBuffer();
      TKsBitmap* Own = Kit->Buffer();
      const TRect Held = Own->Bounds();
      const TRect Part{Held.left, Held.top, std::min<LONG>(Held.right, Kit->Width()), std::min<LONG>(Held.bottom, Kit->Height())};
      const long long Left = static_cast<long long>(Kit->Left()) + Part.left;
      const long long Top = static_cast<long long>(Kit->Top()) + Part.top;
      // Only a part that lies within this buffer's coordinates is exchanged.
      if (Left + (Part.right - Part.left) > std::numeric_limits<int>::max() ||
          Top + (Part.bottom - Part.top) > std::numeric_limits<int>::max())
        continue;
      const TRect Under{static_cast<int>(Left), static_cast<int>(Top),
                        static_cast<int>(Left + (Part.right - Part.left)),
                        static_cast<int>(Top + (Part.bottom - Part.top))};
      Buffer->Draw(Own, Part.left, Part.top, Under);
      Kit->SetNeedsRepaint(true);
      Kit->UpdateBuffer();
      Own->Draw(Buffer, Under.left, Under.top, Part);
      continue;
    }
    if (auto* Window = ObjectAs<TWinControl>(Child)) {
      if (!Window->HandleAllocated() ||
          (GetWindowLongA(Window->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0)
        continue;
    }
    RECT R = Child->BoundsRect();
    if (!Shown || !RectVisible(DC, &R)) continue;
    TSavedDC Saved(DC);
    classlib_detail::MoveWindowOrg(DC, Child->Left(), Child->Top());
    IntersectClipRect(DC, 0, 0, Child->Width(), Child->Height());
    Child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TKsCustomControl::Invalidate() {
  if (Designing(this))
    ResizeBuffer();
  else
    FBuffering.NeedsRepaint = true;
  inherited::Invalidate();
}

void TKsCustomControl::Repaint() {
  if (Designing(this))
    ResizeBuffer();
  else
    FBuffering.NeedsRepaint = true;
  inherited::Repaint();
}

void TKsCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  FBuffering.ControlWidth = Width();
  FBuffering.ControlHeight = Height();
  ResizeBuffer();
}

void TKsCustomControl::Loaded() {
  inherited::Loaded();
  ResizeBuffer();
}

void TKsCustomControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
}

void TKsCustomControl::MouseEnter() {
  FBuffering.MouseInControl = true;
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}

void TKsCustomControl::MouseLeave() {
  FBuffering.MouseInControl = false;
  if (OnMouseLeave.Assigned()) OnMouseLeave(this);
}

void TKsCustomControl::FocusGained() {
  FHasFocus = true;
  Invalidate();
}

void TKsCustomControl::FocusLost() {
  FHasFocus = false;
  Invalidate();
}

void TKsCustomControl::WMPaint(TMessage& Message) {
  TPaintDC Painting(FHandle, Message.WParam);
  HDC DC = Painting.DC();
  if (!Buffer()->Empty()) {
    // A paint message always repaints: something uncovered the window.
    FBuffering.NeedsRepaint = true;
    UpdateBuffer();
    PaintChildrenToBuffer();
    Buffer()->DrawToDC(DC, Buffer()->Origin().x, Buffer()->Origin().y);
  }
  Message.Result = 0;
}

void TKsCustomControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC && !Buffer()->Empty() && (Message.LParam & KsEraseIntoDC) != 0) {
    UpdateBuffer();
    // Only the control's own area: the buffer's extra grain holds nothing of it.
    const TRect Part = FBuffering.PaintedRect();
    Buffer()->DrawRectToDC(DC, Part.left, Part.top, Part);
  }
  // Ordinary erasing does nothing: the paint covers the whole window.
  Message.Result = 1;
}

void TKsCustomControl::WMWindowPosChanging(TMessage& Message) {
  auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (Pos) {
    if ((Pos->flags & SWP_NOSIZE) == 0) {
      FBuffering.ControlWidth = Pos->cx;
      FBuffering.ControlHeight = Pos->cy;
      ResizeBuffer();
    }
    if (Designing(this) && Blend()) Pos->flags |= SWP_NOCOPYBITS;
  }
  inherited::Dispatch(Message);
}

void TKsCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); return;
    case WM_SETFOCUS: FocusGained(); break;
    case WM_KILLFOCUS: FocusLost(); break;
    // The base classes would only fire the events, which MouseEnter and MouseLeave do.
    case CM_MOUSEENTER: MouseEnter(); return;
    case CM_MOUSELEAVE: MouseLeave(); return;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    // The built-in bars send these with a position, not a window, in lParam: they are
    // the control's own and never reflected.
    case WM_HSCROLL:
    case WM_VSCROLL: Message.Result = 0; return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TKsGraphicControl

TKsGraphicControl::TKsGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

void TKsGraphicControl::SetTransparent(bool Value) {
  if (FBuffering.SetTransparent(Value)) Invalidate();
}

void TKsGraphicControl::SetBlend(bool Value) {
  if (FBuffering.SetBlend(Value)) Invalidate();
}

void TKsGraphicControl::SetBlendValue(int Value) {
  if (FBuffering.SetBlendValue(Value)) Invalidate();
}

bool TKsGraphicControl::IsOwnerBlended() { return OwnerBlended(this); }

void TKsGraphicControl::ResizeBuffer() {
  const bool Resized = FBuffering.Resize(Designing(this));
  if (PlaceBuffer() || Resized) UpdateBuffer();
}

bool TKsGraphicControl::PlaceBuffer() {
  return FBuffering.Partial() && FBuffering.Place(ShownControlPart(this));
}

void TKsGraphicControl::UpdateBuffer() {
  if (!Parent()) return;
  PlaceBuffer();
  if (!Designing(this) && !Visible()) return;
  if (!FBuffering.CanPaint() || !FBuffering.NeedsRepaint) return;
  // A windowed kit parent that paints this control has put its background here.
  FBuffering.Paint(
      Font(), !FPaintingFromParent, [this](HDC DC) { DrawParentImage(this, DC); },
      [this] { PaintBuffer(); });
}

void TKsGraphicControl::PaintBuffer() {
  if (!Transparent()) Buffer()->Fill(ColorToKsColor(Color(), 255));
}

void TKsGraphicControl::Paint() {
  if (Buffer()->Empty()) return;
  FBuffering.NeedsRepaint = true;
  UpdateBuffer();
  if (!FBuffering.NeedsRepaint) Buffer()->DrawToCanvas(Canvas(), Buffer()->Origin().x, Buffer()->Origin().y);
}

void TKsGraphicControl::Invalidate() {
  if (Designing(this))
    ResizeBuffer();
  else
    FBuffering.NeedsRepaint = true;
  inherited::Invalidate();
}

void TKsGraphicControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  FBuffering.ControlWidth = Width();
  FBuffering.ControlHeight = Height();
  ResizeBuffer();
}

void TKsGraphicControl::Loaded() {
  inherited::Loaded();
  Invalidate();
}

void TKsGraphicControl::MouseEnter() {
  FBuffering.MouseInControl = true;
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}

void TKsGraphicControl::MouseLeave() {
  FBuffering.MouseInControl = false;
  if (OnMouseLeave.Assigned()) OnMouseLeave(this);
}

void TKsGraphicControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: MouseEnter(); return;
    case CM_MOUSELEAVE: MouseLeave(); return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

namespace {
template <class C>
void PublishBufferedControl() {
  TPublish<C> P;
  // The kit's controls start with a colour of their own.
  P.Prop("ParentColor", &C::ParentColor, &C::SetParentColor).Default(false);
  P.Prop("Transparent", &C::Transparent, &C::SetTransparent);
  P.Prop("Blend", &C::Blend, &C::SetBlend);
  P.Prop("BlendValue", &C::BlendValue, &C::SetBlendValue).Default(KsDefaultBlendValue);
}
}  // namespace

void InitKsControls() {
  PublishBufferedControl<TKsCustomControl>();
  PublishBufferedControl<TKsGraphicControl>();
}

void DoneKsControls() {
  UnRegisterPublished(&TKsGraphicControl::StaticClass());
  UnRegisterPublished(&TKsCustomControl::StaticClass());
}
