// Transparent holders for rows of tool buttons: TKsSpeedDivider, a thin separator,
// and TKsSpeedContainer, a windowed container. Neither paints anything of its own at
// run time; while designing both frame themselves in gray so that they can be seen.
#pragma once

#include "skin/KsControls.h"

class TKsSpeedDivider : public TKsGraphicControl {
  TCLASS_DECL(TKsSpeedDivider, TKsGraphicControl)
 public:
  // 8 wide and transparent.
  explicit TKsSpeedDivider(TComponent* AOwner);

 protected:
  void PaintBuffer() override;
};

class TKsSpeedContainer : public TKsCustomControl {
  TCLASS_DECL(TKsSpeedContainer, TKsCustomControl)
 public:
  // Transparent, and takes child controls.
  explicit TKsSpeedContainer(TComponent* AOwner);

 protected:
  void PaintBuffer() override;
};

// The unit's start (both classes streamable) and end.
void InitKsSpeedContainers();
void DoneKsSpeedContainers();
