#include "skin/KsSpeedContainers.h"

#include "classlib/TypInfo.h"

TCLASS_IMPL(TKsSpeedDivider)
TCLASS_IMPL(TKsSpeedContainer)

namespace {

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

void FrameForDesigner(TKsBitmap* Buffer, int Width, int Height) {
  Buffer->FrameRect(TRect{0, 0, Width, Height}, KsColorGray);
}

}  // namespace

TKsSpeedDivider::TKsSpeedDivider(TComponent* AOwner) : TKsGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 8, Height());
  SetTransparent(true);
}

void TKsSpeedDivider::PaintBuffer() {
  inherited::PaintBuffer();
  if (Designing(this)) FrameForDesigner(Buffer(), Width(), Height());
}

TKsSpeedContainer::TKsSpeedContainer(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetTransparent(true);
}

// The background is the parent's: nothing of the base's fill.
void TKsSpeedContainer::PaintBuffer() {
  if (Designing(this)) FrameForDesigner(Buffer(), Width(), Height());
}

void InitKsSpeedContainers() {
  RegisterClass(&TKsSpeedDivider::StaticClass());
  RegisterClass(&TKsSpeedContainer::StaticClass());
  // Both start transparent.
  {
    TPublish<TKsSpeedDivider> P;
    P.Prop("Transparent", &TKsSpeedDivider::Transparent, &TKsSpeedDivider::SetTransparent).Default(true);
  }
  {
    TPublish<TKsSpeedContainer> P;
    P.Prop("Transparent", &TKsSpeedContainer::Transparent, &TKsSpeedContainer::SetTransparent).Default(true);
  }
}

void DoneKsSpeedContainers() {
  UnRegisterPublished(&TKsSpeedContainer::StaticClass());
  UnRegisterPublished(&TKsSpeedDivider::StaticClass());
  UnRegisterClass(&TKsSpeedContainer::StaticClass());
  UnRegisterClass(&TKsSpeedDivider::StaticClass());
}
