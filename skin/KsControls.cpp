// The buffered control bases: buffer sizing, the blend composition, the parent's
// background, painting children into the buffer, and the messages of both bases.
#include "skin/KsControls.h"

#include <algorithm>

#include "skin/KsUtils.h"

TCLASS_IMPL(TKsCustomControl)
TCLASS_IMPL(TKsGraphicControl)

int BufferGrainSize(int Length, int Grain) { return (Length / Grain + 1) * Grain; }

namespace {

bool Designing(const TComponent* Component) {
  return Component->ComponentState().Contains(csDesigning);
}

// Sizes Buffer, and BlendBuffer while blending, for a control of Width x Height;
// true when anything changed. At run time the buffer grows when it is smaller than
// the control and shrinks only when it is more than one grain larger.
bool FitBuffers(TKsBitmap* Buffer, TKsBitmap* BlendBuffer, int Width, int Height, int Grain,
                bool Blend, bool Design) {
  const int W = BufferGrainSize(Width, Grain);
  const int H = BufferGrainSize(Height, Grain);
  if (Design) {
    Buffer->SetSize(W, H);
    if (Blend) BlendBuffer->SetSize(W, H);
    return true;
  }
  bool Changed = false;
  const int BW = Buffer->Width();
  const int BH = Buffer->Height();
  const bool Grow = BW < Width || BH < Height;
  const bool Shrink = BW - Width > Grain || BH - Height > Grain;
  if ((Grow || Shrink) && (BW != W || BH != H)) {
    Buffer->SetSize(W, H);
    Changed = true;
  }
  if (Blend && (BlendBuffer->Width() != Buffer->Width() || BlendBuffer->Height() != Buffer->Height())) {
    BlendBuffer->SetSize(Buffer->Width(), Buffer->Height());
    Changed = true;
  }
  return Changed;
}

// The blend buffer takes the buffer's size (Blend may have been turned on since the
// last resize).
void MatchBlendBuffer(TKsBitmap* Buffer, TKsBitmap* BlendBuffer) {
  if (BlendBuffer->Width() != Buffer->Width() || BlendBuffer->Height() != Buffer->Height())
    BlendBuffer->SetSize(Buffer->Width(), Buffer->Height());
}

// Before PaintBuffer, with the background in BlendBuffer: the background made opaque
// and, for a transparent control, laid into the buffer to paint over.
void BeginBlend(TKsBitmap* Buffer, TKsBitmap* BlendBuffer, bool Transparent) {
  BlendBuffer->SetAlpha(255);
  if (Transparent) BlendBuffer->Draw(Buffer, 0, 0);
}

// After PaintBuffer: the painting at BlendValue's opacity over the background.
void EndBlend(TKsBitmap* Buffer, TKsBitmap* BlendBuffer, int BlendValue) {
  Buffer->SetAlpha(static_cast<Byte>(std::clamp(BlendValue, 0, 255)));
  Buffer->DrawUnder(BlendBuffer, TRect{0, 0, Buffer->Width(), Buffer->Height()}, 0, 0);
}

bool OwnerBlended(const TComponent* Control) {
  if (Designing(Control)) return false;
  auto* Owner = ObjectAs<TWinControl>(Control->Owner());
  if (!Owner || !Owner->HandleAllocated()) return false;
  return SendMessageA(Owner->Handle(), KM_ISFORMBLENDED, 0, 0) != 0;
}

// Restores a DC saved for the length of a scope.
struct TSavedDC {
  HDC DC;
  int Saved;
  explicit TSavedDC(HDC ADC) : DC(ADC), Saved(SaveDC(ADC)) {}
  ~TSavedDC() { RestoreDC(DC, Saved); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
};

}  // namespace

// ---------------------------------------------------------------------------------
// TKsCustomControl

TKsCustomControl::TKsCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  FBuffer = NewObject<TKsBitmap>();
  FBlendBuffer = NewObject<TKsBitmap>();
  FBufferFont = NewObject<TFont>();
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TKsCustomControl::~TKsCustomControl() {
  FreeAndNil(FBufferFont);
  FreeAndNil(FBlendBuffer);
  FreeAndNil(FBuffer);
}

void TKsCustomControl::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TKsCustomControl::SetBlend(bool Value) {
  if (FBlend == Value) return;
  FBlend = Value;
  Invalidate();
}

void TKsCustomControl::SetBlendValue(int Value) {
  if (FBlendValue == Value) return;
  FBlendValue = Value;
  Invalidate();
}

bool TKsCustomControl::IsOwnerBlended() { return OwnerBlended(this); }

int TKsCustomControl::GetScrollBarSize() { return GetSystemMetrics(SM_CYVTHUMB); }

void TKsCustomControl::ResizeBuffer() {
  if (!FBuffer || FControlWidth < 0 || FControlHeight < 0 || FBufferGrain == 0) return;
  if (FitBuffers(FBuffer, FBlendBuffer, FControlWidth, FControlHeight, FBufferGrain, FBlend,
                 Designing(this))) {
    FNeedsRepaint = true;
    UpdateBuffer();
  }
}

void TKsCustomControl::UpdateBuffer() {
  if (!Parent()) return;
  const bool Design = Designing(this);
  if (!Design && !Visible()) return;
  if (FBuffer->Empty() || FBuffer->Width() * FBuffer->Height() == 0) return;
  if (FControlWidth <= 0 || FControlHeight <= 0) return;
  if (!Design && !FNeedsRepaint && !IsOwnerBlended()) return;
  FBufferFont->Assign(Font());
  if (FBlend) {
    MatchBlendBuffer(FBuffer, FBlendBuffer);
    PaintParentBackground(FBlendBuffer->DC());
    BeginBlend(FBuffer, FBlendBuffer, FTransparent);
    PaintBuffer();
    EndBlend(FBuffer, FBlendBuffer, FBlendValue);
  } else {
    if (FTransparent) PaintParentBackground(FBuffer->DC());
    PaintBuffer();
  }
  FNeedsRepaint = false;
}

void TKsCustomControl::PaintBuffer() {
  if (!FTransparent) FBuffer->Fill(ColorToKsColor(Color(), 255));
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
  HDC DC = FBuffer->DC();
  const bool Design = Designing(this);
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Child = Controls(I);
    const bool Shown = Design ? !Child->ControlStyle().Contains(csNoDesignVisible) : Child->Visible();
    if (auto* Kit = ObjectAs<TKsGraphicControl>(Child)) {
      if (!Shown) continue;
      // The child paints over what lies under it in this buffer.
      struct TFromParent {
        TKsGraphicControl* Kit;
        ~TFromParent() { Kit->SetPaintingFromParent(false); }
      } FromParent{Kit};
      Kit->SetPaintingFromParent(true);
      FBuffer->Draw(Kit->Buffer(), 0, 0, Kit->BoundsRect());
      Kit->SetNeedsRepaint(true);
      Kit->UpdateBuffer();
      Kit->Buffer()->Draw(FBuffer, Kit->Left(), Kit->Top(), TRect{0, 0, Kit->Width(), Kit->Height()});
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
    FNeedsRepaint = true;
  inherited::Invalidate();
}

void TKsCustomControl::Repaint() {
  if (Designing(this))
    ResizeBuffer();
  else
    FNeedsRepaint = true;
  inherited::Repaint();
}

void TKsCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  FControlWidth = Width();
  FControlHeight = Height();
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
  FMouseInControl = true;
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}

void TKsCustomControl::MouseLeave() {
  FMouseInControl = false;
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
  if (!FBuffer->Empty()) {
    // A paint message always repaints: something uncovered the window.
    FNeedsRepaint = true;
    UpdateBuffer();
    PaintChildrenToBuffer();
    FBuffer->DrawToDC(DC, 0, 0);
  }
  Message.Result = 0;
}

void TKsCustomControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC && !FBuffer->Empty() && (Message.LParam & KsEraseIntoDC) != 0) {
    UpdateBuffer();
    // Only the control's own area: the buffer's extra grain holds nothing of it.
    FBuffer->DrawRectToDC(DC, 0, 0, TRect{0, 0, FControlWidth, FControlHeight});
  }
  // Ordinary erasing does nothing: the paint covers the whole window.
  Message.Result = 1;
}

void TKsCustomControl::WMWindowPosChanging(TMessage& Message) {
  auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (Pos) {
    if ((Pos->flags & SWP_NOSIZE) == 0) {
      FControlWidth = Pos->cx;
      FControlHeight = Pos->cy;
      ResizeBuffer();
    }
    if (Designing(this) && FBlend) Pos->flags |= SWP_NOCOPYBITS;
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
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TKsGraphicControl

TKsGraphicControl::TKsGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  FBuffer = NewObject<TKsBitmap>();
  FBlendBuffer = NewObject<TKsBitmap>();
  FBufferFont = NewObject<TFont>();
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TKsGraphicControl::~TKsGraphicControl() {
  FreeAndNil(FBufferFont);
  FreeAndNil(FBlendBuffer);
  FreeAndNil(FBuffer);
}

void TKsGraphicControl::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TKsGraphicControl::SetBlend(bool Value) {
  if (FBlend == Value) return;
  FBlend = Value;
  Invalidate();
}

void TKsGraphicControl::SetBlendValue(int Value) {
  if (FBlendValue == Value) return;
  FBlendValue = Value;
  Invalidate();
}

bool TKsGraphicControl::IsOwnerBlended() { return OwnerBlended(this); }

void TKsGraphicControl::ResizeBuffer() {
  if (!FBuffer || FControlWidth < 0 || FControlHeight < 0 || FBufferGrain == 0) return;
  if (FitBuffers(FBuffer, FBlendBuffer, FControlWidth, FControlHeight, FBufferGrain, FBlend,
                 Designing(this))) {
    FNeedsRepaint = true;
    UpdateBuffer();
  }
}

void TKsGraphicControl::UpdateBuffer() {
  if (!Parent()) return;
  if (!Designing(this) && !Visible()) return;
  if (FBuffer->Empty() || FBuffer->Width() * FBuffer->Height() == 0) return;
  if (FControlWidth <= 0 || FControlHeight <= 0) return;
  if (!FNeedsRepaint) return;
  FBufferFont->Assign(Font());
  if (FBlend) {
    MatchBlendBuffer(FBuffer, FBlendBuffer);
    DrawParentImage(this, FBlendBuffer->DC());
    BeginBlend(FBuffer, FBlendBuffer, FTransparent);
    PaintBuffer();
    EndBlend(FBuffer, FBlendBuffer, FBlendValue);
  } else {
    // A windowed kit parent that paints this control has put its background here.
    if (FTransparent && !FPaintingFromParent) DrawParentImage(this, FBuffer->DC());
    PaintBuffer();
  }
  FNeedsRepaint = false;
}

void TKsGraphicControl::PaintBuffer() {
  if (!FTransparent) FBuffer->Fill(ColorToKsColor(Color(), 255));
}

void TKsGraphicControl::Paint() {
  if (FBuffer->Empty()) return;
  FNeedsRepaint = true;
  UpdateBuffer();
  if (!FNeedsRepaint) FBuffer->DrawToCanvas(Canvas(), 0, 0);
}

void TKsGraphicControl::Invalidate() {
  if (Designing(this))
    ResizeBuffer();
  else
    FNeedsRepaint = true;
  inherited::Invalidate();
}

void TKsGraphicControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  FControlWidth = Width();
  FControlHeight = Height();
  ResizeBuffer();
}

void TKsGraphicControl::Loaded() {
  inherited::Loaded();
  Invalidate();
}

void TKsGraphicControl::MouseEnter() {
  FMouseInControl = true;
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}

void TKsGraphicControl::MouseLeave() {
  FMouseInControl = false;
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
