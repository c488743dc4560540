// What the tree list's unit holds once for every tree list: the ten cursors in the
// screen's cursor table, the captions of the customizing box and a 1 x 1 image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "classlib/Controls.h"
#include "classlib/SysTypes.h"

inline constexpr TCursor crdxTLDelete = -1124;
inline constexpr TCursor crdxTLFullScroll = -1131;
inline constexpr TCursor crdxTLHorScroll = -1132;
inline constexpr TCursor crdxTLVerScroll = -1133;
inline constexpr TCursor crdxTLUpScroll = -1134;
inline constexpr TCursor crdxTLRightScroll = -1135;
inline constexpr TCursor crdxTLDownScroll = -1136;
inline constexpr TCursor crdxTLLeftScroll = -1137;
inline constexpr TCursor crdxTLDragCopy = -1138;
inline constexpr TCursor crdxTLMultiDragCopy = -1139;

// Each cursor's index and name, in the order they are loaded (the module keeps each
// one's .cur file as raw data numbered -Index).
struct TdxTLCursorResource {
  TCursor Index;
  const char* Name;
};
extern const TdxTLCursorResource dxTLCursorResources[10];

// The customizing box's captions.
extern AnsiString dxTLCustomizeCaption;
extern AnsiString dxTLBandsCaption;
extern AnsiString dxTLHeadersCaption;
// The 1 x 1 image list; null outside the unit's life.
HIMAGELIST dxTLDummyImageList();

// Loads the cursors into Screen's table and makes the image list; the end destroys
// them. A counter keeps a second start from loading again.
void InitdxTLResources();
void DonedxTLResources();
