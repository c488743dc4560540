// The paint's objects that outlive one paint: the row indicator's image list (made
// once when the unit starts, from the DXGRID bitmaps), the Outlook style's expand
// glyphs and the scratch font kept per control.
#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "treelist/dxTL_CellPaint.h"

namespace {

TCustomImageList* TheIndicatorImages = nullptr;

// Draws one 12 x 12 glyph: a raised button face with the minus bar, and the plus bar
// when collapsed.
TOwnedBitmap MakeExpandGlyph(bool Collapsed) {
  constexpr int S = TdxTreeListExpandGlyphs::Size;
  TScreenDC Screen;
  TOwnedBitmap Bitmap(CountHandle(CreateCompatibleBitmap(Screen.DC(), S, S)));
  TMemoryDC DC(Screen.DC());
  TSelection Selected(DC.DC(), Bitmap.Handle());
  RECT R{0, 0, S, S};
  DrawEdge(DC.DC(), &R, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
  DrawEdge(DC.DC(), &R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  InflateRect(&R, -1, -1);
  DrawEdge(DC.DC(), &R, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
  R.right -= 1;
  R.bottom -= 1;
  FillRect(DC.DC(), &R, GetSysColorBrush(COLOR_BTNFACE));
  const RECT Minus{3, 5, 8, 6};
  FillRect(DC.DC(), &Minus, GetSysColorBrush(COLOR_BTNTEXT));
  if (Collapsed) {
    const RECT Plus{5, 3, 6, 8};
    FillRect(DC.DC(), &Plus, GetSysColorBrush(COLOR_BTNTEXT));
  }
  return Bitmap;
}

}  // namespace

void TdxTreeListExpandGlyphs::Make() {
  FCollapsed = MakeExpandGlyph(true);
  FExpanded = MakeExpandGlyph(false);
}

TdxTreeListPaintState::TdxTreeListPaintState() : ScratchFont(NewObject<TFont>()) {}
TdxTreeListPaintState::~TdxTreeListPaintState() { FreeAndNil(ScratchFont); }

void TdxTreeListPaintStateFree::operator()(TdxTreeListPaintState* State) const { delete State; }

TCustomImageList* dxTreeListIndicatorImages() { return TheIndicatorImages; }

void InitdxTLPaint() {
  TOwned<TCustomImageList> List;
  for (const char* Name : {"DXGRID_ARROW", "DXGRID_EDIT", "DXGRID_INSERT", "DXGRID_MULTIDOT", "DXGRID_MULTIARROW"}) {
    TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
    Bitmap->LoadFromResourceName(HInstance, Name);
    if (!List) List.reset(NewObject<TCustomImageList>(Bitmap->Width(), Bitmap->Height()));
    List->AddMasked(Bitmap.get(), clWhite);
  }
  TheIndicatorImages = List.release();
}

void DonedxTLPaint() { FreeAndNil(TheIndicatorImages); }
