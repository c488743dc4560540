// The tree list's drawing routines on a memory DC, read back by pixels: button faces
// in each look, the pressed inversion, the sort arrows, the header button's sort-mark
// cell, the two paths of the cell text routine with their strips, and the preview's
// indent. Positions come from the routines' rectangles and the font's measured extent.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/GdiScopes.h"
#include "treelist/dxTL_Draw.h"

namespace {

constexpr COLORREF Marker = RGB(1, 2, 3);
constexpr COLORREF Face = RGB(200, 30, 40);

class DrawTest : public testing::Test {
 protected:
  void SetUp() override {
    StartCount = GdiHandleCount();
    Memory = std::make_unique<TMemoryDC>(nullptr, 120, 40);
    Fill(TRect{0, 0, 120, 40}, Marker);
  }
  void TearDown() override {
    FaceBrush.Reset();
    OtherBrush.Reset();
    Memory.reset();
    EXPECT_EQ(StartCount, GdiHandleCount());
  }
  HDC DC() const { return Memory->DC(); }
  void Fill(const TRect& R, COLORREF Color) {
    SetBkColor(DC(), Color);
    ExtTextOutA(DC(), 0, 0, ETO_OPAQUE, &R, "", 0, nullptr);
  }
  COLORREF Pixel(int X, int Y) const { return GetPixel(DC(), X, Y); }
  // Columns in [From, To) holding a pixel of the given colour in rows [Top, Bottom).
  bool AnyPixel(int From, int To, int Top, int Bottom, COLORREF Color) const {
    for (int X = From; X < To; ++X)
      for (int Y = Top; Y < Bottom; ++Y)
        if (Pixel(X, Y) == Color) return true;
    return false;
  }
  HBRUSH Brush(COLORREF Color, TSharedObject<HBRUSH>& Holder) {
    Holder.Reset(AcquireSharedBrush(LOGBRUSH{BS_SOLID, Color, 0}));
    return Holder.Handle();
  }

  int StartCount = 0;
  std::unique_ptr<TMemoryDC> Memory;
  TSharedObject<HBRUSH> FaceBrush, OtherBrush;
};

TEST_F(DrawTest, ButtonFacesLeaveTheirInnerRectangleFilled) {
  HBRUSH B = Brush(Face, FaceBrush);
  TRect R{10, 5, 60, 25};
  DrawButtonFace(DC(), R, B, lfStandard, hekButton, false);
  EXPECT_EQ((TRect{11, 6, 58, 23}), R) << "one pixel left and top, two right and bottom";
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), Pixel(59, 15));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), Pixel(30, 24));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Pixel(58, 15));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), Pixel(10, 15));
  EXPECT_EQ(Face, Pixel(11, 6));

  R = TRect{10, 5, 60, 25};
  DrawButtonFace(DC(), R, B, lfUltraFlat, hekButton, false);
  EXPECT_EQ((TRect{12, 6, 58, 24}), R);
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), Pixel(59, 15)) << "the one-pixel ring is left as it was";
  EXPECT_EQ(Face, Pixel(11, 6));

  R = TRect{0, 0, 40, 20};
  DrawButtonFace(DC(), R, B, lfFlat, hekInner, false);
  EXPECT_EQ((TRect{2, 1, 38, 19}), R);
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), Pixel(20, 0));
  EXPECT_EQ(Face, Pixel(39, 1)) << "an inner cell's right edge starts two pixels down";
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Pixel(39, 2));
}

TEST_F(DrawTest, APressedFlatButtonIsInvertedWhenAsked) {
  HBRUSH B = Brush(Face, FaceBrush);
  const TRect R{10, 5, 60, 25};
  DrawButtonFaceInverted(DC(), R, B, lfFlat, hekButton, true, true);
  EXPECT_EQ(Face ^ 0xFFFFFF, Pixel(30, 15));
  DrawButtonFaceInverted(DC(), R, B, lfFlat, hekButton, true, false);
  EXPECT_EQ(Face, Pixel(30, 15));
  DrawButtonFaceInverted(DC(), R, B, lfFlat, hekButton, false, true);
  EXPECT_EQ(Face, Pixel(30, 15));
}

TEST_F(DrawTest, SortArrowsStartAtTheirFirstPointsAndLeaveOutTheirLast) {
  const TRect Cell{0, 0, 16, 20};
  const int X0 = 16 / 2 - 4, Top = 10 - 3, Bottom = 10 + 4;
  const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW), Light = GetSysColor(COLOR_BTNHIGHLIGHT);
  DrawSortMark(DC(), Cell, csUp);
  EXPECT_EQ(Shadow, Pixel(X0 + 3, Top));
  EXPECT_EQ(Light, Pixel(X0 + 1, Bottom - 1));
  EXPECT_EQ(Light, Pixel(X0 + 6, Bottom - 1));
  EXPECT_EQ(Light, Pixel(X0 + 7, Bottom - 1)) << "the second segment starts there";
  EXPECT_EQ(Marker, Pixel(X0 + 4, Top - 1)) << "the polyline's last point is left out";

  Fill(Cell, Marker);
  DrawSortMark(DC(), Cell, csDown);
  EXPECT_EQ(Shadow, Pixel(X0 + 7, Top));
  EXPECT_EQ(Shadow, Pixel(X0, Top));
  EXPECT_EQ(Light, Pixel(X0 + 7, Top + 1));
  EXPECT_EQ(Marker, Pixel(X0 + 3, Bottom)) << "the end point is left out";

  Fill(Cell, Marker);
  DrawSortMark(DC(), Cell, csNone);
  EXPECT_FALSE(AnyPixel(0, 16, 0, 20, Shadow));
}

TEST_F(DrawTest, AHeaderButtonKeepsItsSortMarkInTheRightmostSixteenPixels) {
  HBRUSH B = Brush(Face, FaceBrush);
  THeaderButton Button;
  Button.Bounds = TRect{0, 0, 100, 20};
  Button.Brush = B;
  Button.Sort = csDown;
  Button.Text = "";
  DrawHeaderButton(DC(), Button);
  // lfStandard, not pressed: the face leaves (1, 1, 98, 18); the content (2, 2, 97, 16).
  const TRect Mark{97 - 16, 2, 97, 16};
  const int X0 = (Mark.left + Mark.right) / 2 - 4, Top = (Mark.top + Mark.bottom) / 2 - 3;
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Pixel(X0 + 7, Top));
  EXPECT_EQ(Face, Pixel(X0 - 1, Top));

  Fill(Button.Bounds, Marker);
  Button.Bounds = TRect{0, 0, 18, 20};  // content 13 wide: no room for the mark
  DrawHeaderButton(DC(), Button);
  EXPECT_FALSE(AnyPixel(2, 15, 2, 16, GetSysColor(COLOR_BTNSHADOW)));
}

TEST(DrawCentring, ImagesAreCentredRoundingTheOddPixelDownAndRight) {
  EXPECT_EQ(4, CenteredOrigin(TRect{0, 0, 10, 10}, 3, 3).x);
  EXPECT_EQ(4, CenteredOrigin(TRect{0, 0, 10, 10}, 2, 3).x);
  EXPECT_EQ(13, CenteredOrigin(TRect{10, 10, 20, 20}, 4, 4).y);
}

TEST_F(DrawTest, TheCellTextsFastPathFillsItsStripsWithTheBrushAndTheRestOpaque) {
  HBRUSH B = Brush(Face, FaceBrush);
  SelectObject(DC(), GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(DC(), RGB(0, 0, 0));
  TCellText Cell;
  Cell.Bounds = TRect{10, 5, 110, 30};
  Cell.Brush = B;
  Cell.Alignment = taRightJustify;
  Cell.Text = "Wg";
  Cell.Background = clWhite;
  DrawCellText(DC(), Cell);
  SIZE Extent{};
  GetTextExtentPoint32A(DC(), "Wg", 2, &Extent);
  EXPECT_EQ(Face, Pixel(108, 20)) << "right strip";
  EXPECT_EQ(Face, Pixel(11, 20)) << "left strip of a right-aligned cell";
  EXPECT_EQ(RGB(255, 255, 255), Pixel(12, 20));
  EXPECT_TRUE(AnyPixel(108 - Extent.cx, 108, 6, 6 + Extent.cy, RGB(0, 0, 0)));
  EXPECT_FALSE(AnyPixel(12, 108 - Extent.cx, 5, 30, RGB(0, 0, 0)));

  Cell.Alignment = taLeftJustify;
  Fill(Cell.Bounds, Marker);
  DrawCellText(DC(), Cell);
  EXPECT_EQ(RGB(255, 255, 255), Pixel(10, 20)) << "no left strip for left-aligned text";
  EXPECT_TRUE(AnyPixel(12, 12 + Extent.cx, 6, 6 + Extent.cy, RGB(0, 0, 0)));
  EXPECT_FALSE(AnyPixel(12 + Extent.cx, 108, 5, 30, RGB(0, 0, 0)));
}

// The characters a cell's drawing hands to the device, as an enhanced metafile records
// them.
int CALLBACK CountTextOut(HDC, HANDLETABLE*, const ENHMETARECORD* Record, int, LPARAM Data) {
  if (Record->iType == EMR_EXTTEXTOUTA || Record->iType == EMR_EXTTEXTOUTW)
    *reinterpret_cast<int*>(Data) += static_cast<int>(reinterpret_cast<const EMREXTTEXTOUTA*>(Record)->emrtext.nChars);
  return 1;
}

// A text far wider than its cell goes to the device only as far as it shows, in every
// alignment (the system renders every glyph it is handed, clipped or not, at a cost that
// grows with the font's size), and shows as the whole text drawn clipped does.
TEST_F(DrawTest, ACellTextFarWiderThanItsCellGoesOutOnlyAsFarAsItShows) {
  HBRUSH B = Brush(Face, FaceBrush);
  const auto Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  TCellText Cell;
  Cell.Bounds = TRect{10, 5, 110, 30};
  Cell.Brush = B;
  Cell.Background = clWhite;
  Cell.Text = "Wg" + std::string(5000, 'v') + "Tail";
  const int Length = static_cast<int>(Cell.Text.size());
  for (TAlignment Alignment : {taLeftJustify, taRightJustify, taCenter}) {
    Cell.Alignment = Alignment;
    HDC Recording = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    SelectObject(Recording, Font);
    DrawCellText(Recording, Cell);
    HENHMETAFILE Metafile = CloseEnhMetaFile(Recording);
    int Sent = 0;
    EnumEnhMetaFile(nullptr, Metafile, CountTextOut, &Sent, nullptr);
    DeleteEnhMetaFile(Metafile);
    EXPECT_GT(Sent, 0) << Alignment;
    EXPECT_LT(Sent, 60) << Alignment;

    Fill(TRect{0, 0, 120, 40}, Marker);
    SelectObject(DC(), Font);
    SetTextColor(DC(), RGB(0, 0, 0));
    DrawCellText(DC(), Cell);
    // Left-aligned, it shows as the whole text drawn clipped (drawn whole from further
    // left, the system's glyph positions drift from the measured extents over thousands
    // of characters, so the other alignments are only checked to show).
    TMemoryDC Expected(nullptr, 120, 40);
    SelectObject(Expected.DC(), Font);
    SetBkColor(Expected.DC(), RGB(255, 255, 255));
    SetTextColor(Expected.DC(), RGB(0, 0, 0));
    TRect TextRect{10, 5, 108, 30};
    TRect Compared = TextRect;
    if (Alignment == taLeftJustify) {
      ExtTextOutA(Expected.DC(), 12, 6, ETO_OPAQUE | ETO_CLIPPED, &TextRect, Cell.Text.data(),
                  static_cast<UINT>(Length), nullptr);
    } else {
      TextRect.left += 2;
      Compared.right = Compared.left;
    }
    int Differ = 0, Ink = 0;
    for (int PX = TextRect.left; PX < TextRect.right; ++PX)
      for (int PY = TextRect.top; PY < TextRect.bottom; ++PY) {
        if (PX >= Compared.left && PX < Compared.right) Differ += Pixel(PX, PY) != GetPixel(Expected.DC(), PX, PY);
        Ink += Pixel(PX, PY) == RGB(0, 0, 0);
      }
    EXPECT_EQ(0, Differ) << Alignment;
    EXPECT_GT(Ink, 0) << Alignment;
  }
}

TEST_F(DrawTest, TheCellTextsSimplePathFillsTheWholeCellWithTheBrush) {
  HBRUSH B = Brush(Face, FaceBrush);
  SelectObject(DC(), GetStockObject(DEFAULT_GUI_FONT));
  TCellText Cell;
  Cell.Bounds = TRect{10, 5, 110, 30};
  Cell.Brush = B;
  Cell.EndEllipsis = true;
  Cell.Text = "";
  Cell.Background = clWhite;
  DrawCellText(DC(), Cell);
  EXPECT_EQ(Face, Pixel(50, 20)) << "the brush, not the background colour";
  EXPECT_EQ(Marker, Pixel(9, 20));
}

TEST_F(DrawTest, PreviewTextStartsAfterItsIndent) {
  HBRUSH B = Brush(RGB(255, 255, 255), FaceBrush);
  DrawPreviewText(DC(), TRect{0, 0, 120, 40}, B, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), clBlack,
                  30, "WWWW WWWW");
  EXPECT_FALSE(AnyPixel(0, 31, 0, 40, RGB(0, 0, 0)));
  EXPECT_TRUE(AnyPixel(31, 119, 1, 39, RGB(0, 0, 0)));
  EXPECT_EQ(RGB(255, 255, 255), Pixel(0, 0));
}

}  // namespace
