// The kit's scroll bar: geometry, painting, stepping, the repeat timer and the thumb
// drag.
#include "skin/KsScrollBar.h"

#include <algorithm>
#include <cmath>

#include "skin/KsUtils.h"

TCLASS_IMPL(TKsCustomScrollBar)

namespace {

// Rounds half to even, as the position arithmetic has always rounded.
std::int64_t RoundEven(double Value) { return static_cast<std::int64_t>(std::nearbyint(Value)); }

// The positions from Min to Max, both included: up to 2^32.
std::int64_t Span(int Min, int Max) { return std::int64_t{Max} - Min + 1; }

// A page size no longer than the range.
int PageSizeIn(std::int64_t PageSize, int Min, int Max) {
  return static_cast<int>(std::min(PageSize, Span(Min, Max)));
}

// A value kept to Min..Max.
int ClampTo(std::int64_t Value, std::int64_t Min, std::int64_t Max) {
  return static_cast<int>(std::clamp(Value, Min, Max));
}

TKsColor Opaque(TColor Color) { return ColorToKsColor(Color, 255); }

int ThumbMetric() { return GetSystemMetrics(SM_CYVTHUMB); }

}  // namespace

TKsCustomScrollBar::TKsCustomScrollBar(TComponent* AOwner) : TKsGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 121, ThumbMetric() + 2 * FBorderWidth);
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse});
}

// ---------------------------------------------------------------------------------
// Properties

bool TKsCustomScrollBar::Loading() const { return ComponentState().Contains(csLoading); }

// While a form file is read each value is kept as it comes, whatever the others are
// yet: Loaded brings them into range together.
void TKsCustomScrollBar::SetPosition(int Value) {
  if (Loading()) {
    FPosition = Value;
    return;
  }
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  Change();
  Invalidate();
}

void TKsCustomScrollBar::SetMax(int Value) {
  if (Loading()) {
    FMax = Value;
    return;
  }
  Value = std::max(Value, FMin);
  if (Value == FMax) return;
  FMax = Value;
  if (FPosition > FMax) SetPosition(FMax);
  FPageSize = PageSizeIn(FPageSize, FMin, FMax);
  Invalidate();
}

void TKsCustomScrollBar::SetMin(int Value) {
  if (Loading()) {
    FMin = Value;
    return;
  }
  Value = std::min(Value, FMax);
  if (Value == FMin) return;
  FMin = Value;
  if (FPosition < FMin) SetPosition(FMin);
  FPageSize = PageSizeIn(FPageSize, FMin, FMax);
  Invalidate();
}

void TKsCustomScrollBar::SetPageSize(int Value) {
  if (Value < 0) return;
  if (Loading()) {
    FPageSize = Value;
    return;
  }
  Value = PageSizeIn(Value, FMin, FMax);
  if (Value == FPageSize) return;
  FPageSize = Value;
  Invalidate();
}

void TKsCustomScrollBar::Loaded() {
  inherited::Loaded();
  FMax = std::max(FMax, FMin);
  FPosition = std::clamp(FPosition, FMin, FMax);
  FPageSize = PageSizeIn(FPageSize, FMin, FMax);
  Invalidate();
}

void TKsCustomScrollBar::SetKind(TScrollBarKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  if (ComponentState().Contains(csDesigning)) {
    const bool Swap = Vertical() ? Width() > Height() : Height() > Width();
    if (Swap) SetBounds(Left(), Top(), Height(), Width());
  }
  Invalidate();
}

void TKsCustomScrollBar::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  Invalidate();
}

void TKsCustomScrollBar::SetShowButtons(bool Value) {
  if (Value == FShowButtons) return;
  FShowButtons = Value;
  Invalidate();
}

void TKsCustomScrollBar::SetDecRepeat(bool Value) {
  if (Value == FDecRepeat) return;
  FDecRepeat = Value;
  if (Value) {
    FIncRepeat = false;
    StartRepeat(false);
  } else {
    StopRepeat();
  }
}

void TKsCustomScrollBar::SetIncRepeat(bool Value) {
  if (Value == FIncRepeat) return;
  FIncRepeat = Value;
  if (Value) {
    FDecRepeat = false;
    StartRepeat(false);
  } else {
    StopRepeat();
  }
}

void TKsCustomScrollBar::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TKsCustomScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll.Assigned()) OnScroll(this, ScrollCode, ScrollPos);
}

// ---------------------------------------------------------------------------------
// Geometry

int TKsCustomScrollBar::GetButtonSize() {
  const int S = ThumbMetric();
  const int Room = AxisLength() - 2 * FBorderWidth;
  return Room >= 2 * S ? S : Room / 2;
}

TRect TKsCustomScrollBar::GetDecButtonRect() {
  const int B = GetButtonSize();
  const int BW = FBorderWidth;
  if (Vertical()) return TRect{BW, BW, Width() - BW, BW + B};
  return TRect{BW, BW, BW + B, Height() - BW};
}

TRect TKsCustomScrollBar::GetIncButtonRect() {
  const int B = GetButtonSize();
  const int BW = FBorderWidth;
  if (Vertical()) return TRect{BW, Height() - BW - B, Width() - BW, Height() - BW};
  return TRect{Width() - BW - B, BW, Width() - BW, Height() - BW};
}

TRect TKsCustomScrollBar::GetTrackRect() {
  TRect R{0, 0, Width(), Height()};
  InflateRect(&R, -FBorderWidth, -FBorderWidth);
  if (FShowButtons) {
    const int B = GetButtonSize();
    if (Vertical()) {
      R.top += B;
      R.bottom -= B;
    } else {
      R.left += B;
      R.right -= B;
    }
  }
  return R;
}

int TKsCustomScrollBar::TrackStart() {
  const TRect R = GetTrackRect();
  return Vertical() ? R.top : R.left;
}

int TKsCustomScrollBar::TrackLength() {
  const TRect R = GetTrackRect();
  return Vertical() ? R.bottom - R.top : R.right - R.left;
}

int TKsCustomScrollBar::ThumbLength() {
  const int S = ThumbMetric();
  if (FPageSize < 1) return S;
  const double Exact = double(FPageSize) * TrackLength() / double(Span(FMin, FMax));
  const int Length = static_cast<int>(RoundEven(Exact));
  return std::max(Length, (S / 3) * 2);
}

int TKsCustomScrollBar::GetThumbSize() {
  const int Length = ThumbLength();
  return TrackLength() > Length ? Length : 0;
}

std::int64_t TKsCustomScrollBar::ThumbRange() const {
  return Span(FMin, FMax) - 1 - FPageSize + (FPageSize != 0 ? 1 : 0);
}

int TKsCustomScrollBar::ThumbStart() {
  const int Start = TrackStart();
  const int Free = TrackLength() - GetThumbSize();
  const std::int64_t Range = ThumbRange();
  if (Range < 1) return Start;
  if (FPosition > std::int64_t{FMax} - FPageSize + 1) return Start + Free;
  const double Offset = double(std::int64_t{FPosition} - FMin) * Free / double(Range);
  return Start + static_cast<int>(RoundEven(Offset));
}

// A drag reaches Max - PageSize + 1, the first position of the last page; with a
// fixed-size thumb (PageSize 0) it reaches Max.
int TKsCustomScrollBar::PositionFromCoord(int Coord) {
  const int Free = TrackLength() - GetThumbSize();
  const std::int64_t Range = ThumbRange();
  std::int64_t P = 0;
  if (Free != 0 && Range >= 1)
    P = RoundEven(double(Coord - TrackStart()) * double(Range) / Free + FMin);
  const std::int64_t Last = FPageSize != 0 ? std::int64_t{FMax} - FPageSize + 1 : FMax;
  return ClampTo(P, FMin, std::max<std::int64_t>(FMin, Last));
}

TRect TKsCustomScrollBar::GetThumbRect() {
  const TRect T = GetTrackRect();
  const int Start = ThumbStart();
  const int Length = GetThumbSize();
  if (Vertical()) return TRect{T.left, Start, T.right, Start + Length};
  return TRect{Start, T.top, Start + Length, T.bottom};
}

TRect TKsCustomScrollBar::GetPageDecRect() {
  TRect R = GetTrackRect();
  const int Start = ThumbStart();
  (Vertical() ? R.bottom : R.right) = Start;
  return R;
}

TRect TKsCustomScrollBar::GetPageIncRect() {
  TRect R = GetTrackRect();
  const int End = ThumbStart() + GetThumbSize();
  (Vertical() ? R.top : R.left) = End;
  return R;
}

bool TKsCustomScrollBar::IsInDecButton(const TPoint& P) {
  const TRect R = GetDecButtonRect();
  return PtInRect(&R, P);
}

bool TKsCustomScrollBar::IsInIncButton(const TPoint& P) {
  const TRect R = GetIncButtonRect();
  return PtInRect(&R, P);
}

bool TKsCustomScrollBar::IsInThumb(const TPoint& P) {
  const TRect R = GetThumbRect();
  return PtInRect(&R, P);
}

bool TKsCustomScrollBar::IsInPageDec(const TPoint& P) {
  const TRect R = GetPageDecRect();
  return PtInRect(&R, P);
}

bool TKsCustomScrollBar::IsInPageInc(const TPoint& P) {
  const TRect R = GetPageIncRect();
  return PtInRect(&R, P);
}

// ---------------------------------------------------------------------------------
// Painting

void TKsCustomScrollBar::PaintBuffer() {
  inherited::PaintBuffer();
  DrawBorder();
  DrawTrack();
  if (FShowButtons) {
    DrawDecButton();
    DrawIncButton();
  }
  const bool Design = ComponentState().Contains(csDesigning);
  const TRect Thumb = GetThumbRect();
  if ((Enabled() || Design) && Thumb.right > Thumb.left && Thumb.bottom > Thumb.top) DrawThumb();
  if (FPageDecPressed && FPageDecHot) Buffer()->FillRect(GetPageDecRect(), Opaque(cl3DDkShadow));
  if (FPageIncPressed && FPageIncHot) Buffer()->FillRect(GetPageIncRect(), Opaque(cl3DDkShadow));
}

void TKsCustomScrollBar::DrawBorder() {
  if (FBorderWidth > 0)
    Buffer()->DrawEdge(TRect{0, 0, Width(), Height()}, Opaque(clBtnShadow), Opaque(clBtnHighlight));
}

void TKsCustomScrollBar::DrawTrack() {
  Buffer()->FillHalftone(GetTrackRect(), Opaque(clScrollBar), Opaque(clBtnHighlight));
}

void TKsCustomScrollBar::DrawArrow(const TRect& R, bool Decrement, bool Pressed) {
  UINT State = Vertical() ? (Decrement ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                          : (Decrement ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  if (Pressed) State |= DFCS_PUSHED | DFCS_FLAT;
  if (!Enabled() && !ComponentState().Contains(csDesigning)) State |= DFCS_INACTIVE;
  RECT Box = R;
  DrawFrameControl(Buffer()->DC(), &Box, DFC_SCROLL, State);
  GdiFlush();
  // The system draws without alpha.
  Buffer()->SetAlphaRect(R, 255);
}

void TKsCustomScrollBar::DrawDecButton() {
  DrawArrow(GetDecButtonRect(), true, FDecButtonPressed && FDecButtonHot);
}

void TKsCustomScrollBar::DrawIncButton() {
  DrawArrow(GetIncButtonRect(), false, FIncButtonPressed && FIncButtonHot);
}

void TKsCustomScrollBar::DrawThumb() {
  TRect R = GetThumbRect();
  TKsBitmap* B = Buffer();
  B->FillRect(R, Opaque(clBtnFace));
  if (Dragging()) {
    B->FrameRect(R, Opaque(clBtnShadow));
    return;
  }
  TRect Inner = R;
  InflateRect(&Inner, -1, -1);
  B->DrawEdge(Inner, Opaque(clBtnHighlight), Opaque(clBtnShadow));
  B->DrawEdge(R, Opaque(cl3DLight), Opaque(cl3DDkShadow));
}

// ---------------------------------------------------------------------------------
// Stepping and repeating

void TKsCustomScrollBar::Step(Word Key) {
  const std::int64_t Page = FPageSize > 0 ? FPageSize : FLargeChange;
  std::int64_t P = FPosition;
  TScrollCode Code;
  switch (Key) {
    case VK_PRIOR: P -= Page; Code = scPageUp; break;
    case VK_NEXT: P += Page; Code = scPageDown; break;
    case VK_LEFT:
    case VK_UP: P -= FSmallChange; Code = scLineUp; break;
    case VK_RIGHT:
    case VK_DOWN: P += FSmallChange; Code = scLineDown; break;
    case VK_HOME: P = FMin; Code = scTop; break;
    case VK_END: P = FMax; Code = scBottom; break;
    default: return;
  }
  int Pos = ClampTo(P, FMin, FMax);
  Scroll(Code, Pos);
  SetPosition(Pos);
  if (Code == scLineUp && FPosition <= FMin) SetDecRepeat(false);
  if (Code == scLineDown && FPosition >= FMax) SetIncRepeat(false);
}

void TKsCustomScrollBar::StartRepeat(bool First) {
  if (!FRepeatTimer) {
    FRepeatTimer = NewObject<TTimer>(this);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->OnTimer = TNotifyEvent::Bind<&TKsCustomScrollBar::RepeatStep>(this);
  }
  if (First) {
    RepeatStep(FRepeatTimer);
    FRepeatTimer->SetInterval(KeyRepeatDelay());
  } else {
    FRepeatTimer->SetInterval(KeyRepeatInterval());
  }
  FRepeatTimer->SetEnabled(true);
}

void TKsCustomScrollBar::StopRepeat() {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TKsCustomScrollBar::RepeatStep(TObject*) {
  FRepeatTimer->SetInterval(KeyRepeatInterval());
  if ((FDecButtonPressed && FDecButtonHot) || FDecRepeat) {
    Step(VK_LEFT);
  } else if ((FIncButtonPressed && FIncButtonHot) || FIncRepeat) {
    Step(VK_RIGHT);
  } else {
    const bool DecWas = FPageDecHot;
    const bool IncWas = FPageIncHot;
    FPageDecHot = IsInPageDec(FMousePos);
    FPageIncHot = IsInPageInc(FMousePos);
    if (FPageDecPressed && FPageDecHot)
      Step(VK_PRIOR);
    else if (FPageIncPressed && FPageIncHot)
      Step(VK_NEXT);
    if (DecWas != FPageDecHot || IncWas != FPageIncHot) Invalidate();
  }
}

// ---------------------------------------------------------------------------------
// Mouse

bool TKsCustomScrollBar::UpdateHot() {
  const TPoint P = FMousePos;
  const bool Thumb = IsInThumb(P);
  const bool Dec = FShowButtons && IsInDecButton(P);
  const bool Inc = FShowButtons && IsInIncButton(P);
  const bool PageDec = IsInPageDec(P);
  const bool PageInc = IsInPageInc(P);
  const bool Changed = Thumb != FThumbHot || Dec != FDecButtonHot || Inc != FIncButtonHot ||
                       PageDec != FPageDecHot || PageInc != FPageIncHot;
  FThumbHot = Thumb;
  FDecButtonHot = Dec;
  FIncButtonHot = Inc;
  FPageDecHot = PageDec;
  FPageIncHot = PageInc;
  return Changed;
}

void TKsCustomScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  // A press comes after a move there; the hot parts are those under the press.
  FMousePos = TPoint{X, Y};
  UpdateHot();
  const TPoint P{X, Y};
  if (IsInThumb(P)) {
    FDragOffset = (Vertical() ? Y : X) - ThumbStart();
    int Pos = FPosition;
    Scroll(scTrack, Pos);
    SetPosition(Pos);
    Invalidate();
  }
  FDecButtonPressed = FShowButtons && IsInDecButton(P);
  FIncButtonPressed = FShowButtons && IsInIncButton(P);
  FPageDecPressed = IsInPageDec(P);
  FPageIncPressed = IsInPageInc(P);
  if ((FDecButtonPressed && FDecButtonHot) || (FIncButtonPressed && FIncButtonHot) ||
      (FPageDecPressed && FPageDecHot) || (FPageIncPressed && FPageIncHot)) {
    Invalidate();
    StartRepeat(true);
  }
}

void TKsCustomScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  FMousePos = TPoint{X, Y};
  if (Dragging()) {
    const int Start = TrackStart();
    const int Coord = std::clamp((Vertical() ? Y : X) - FDragOffset, Start, Start + TrackLength());
    const int P = PositionFromCoord(Coord);
    int Reported = P;
    Scroll(scTrack, Reported);
    // While tracking the handler's answer is not applied.
    SetPosition(P);
  }
  if (UpdateHot()) Invalidate();
}

void TKsCustomScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) EndTracking();
}

void TKsCustomScrollBar::EndTracking() {
  if (Dragging()) {
    int Pos = FPosition;
    Scroll(scPosition, Pos);
    SetPosition(Pos);
  }
  FDragOffset = -1;
  FDecButtonPressed = FIncButtonPressed = FPageDecPressed = FPageIncPressed = false;
  StopRepeat();
  int Pos = FPosition;
  Scroll(scEndScroll, Pos);
  SetPosition(Pos);
  Invalidate();
}

void TKsCustomScrollBar::MouseLeave() {
  inherited::MouseLeave();
  const bool AnyHot = FThumbHot || FDecButtonHot || FIncButtonHot || FPageDecHot || FPageIncHot;
  FThumbHot = FDecButtonHot = FIncButtonHot = FPageDecHot = FPageIncHot = false;
  if (AnyHot) Invalidate();
}

void TKsCustomScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_CANCELMODE: {
      // The capture is gone: a drag or a repeat ends as on a release.
      const bool Tracking = Dragging() || FDecButtonPressed || FIncButtonPressed ||
                            FPageDecPressed || FPageIncPressed;
      inherited::Dispatch(Message);
      if (Tracking) EndTracking();
      return;
    }
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsScrollBar() {
  using C = TKsCustomScrollBar;
  RegisterClass(&C::StaticClass());
  TPublish<C> P;
  P.Prop("Position", &C::Position, &C::SetPosition).Default(0);
  P.Prop("Min", &C::Min, &C::SetMin).Default(0);
  P.Prop("Max", &C::Max, &C::SetMax).Default(100);
  P.Prop("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(1);
  P.Prop("PageSize", &C::PageSize, &C::SetPageSize).Default(0);
  P.Prop("Kind", &C::Kind, &C::SetKind);
  P.Prop("ShowButtons", &C::ShowButtons, &C::SetShowButtons).Default(true);
  P.Prop("LargeChange", &C::LargeChange, &C::SetLargeChange).Default(1);
  P.Prop("SmallChange", &C::SmallChange, &C::SetSmallChange).Default(1);
  P.Prop("OnChange", &C::OnChange);
  P.Prop("OnScroll", &C::OnScroll);
}

void DoneKsScrollBar() {
  UnRegisterPublished(&TKsCustomScrollBar::StaticClass());
  UnRegisterClass(&TKsCustomScrollBar::StaticClass());
}
