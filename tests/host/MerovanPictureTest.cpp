// The editor stand-in's board pictures: what DrawDocument paints where, read back from
// the PNG file it writes.
#include "tests/host/MerovanTestSupport.h"

#include <algorithm>
#include <cmath>

#include "host/MerovanPicture.h"
#include "tests/host/PictureTestSupport.h"

namespace {

using Merovan::LayerColour;
using Merovan::OutlineColour;
using Merovan::PictureBackground;

// The fitting rule of the pictures: the extent of the drawn objects, centred, scaled
// alike in X and Y to the picture less a margin of a twentieth of its smaller side,
// Y up.
struct TFit {
  double Scale = 0, CX = 0, CY = 0;
  int Width = 0, Height = 0;

  TFit(double Left, double Bottom, double Right, double Top, int W, int H)
      : CX((Left + Right) / 2), CY((Bottom + Top) / 2), Width(W), Height(H) {
    const double Margin = std::max(2, std::min(W, H) / 20);
    Scale = std::min((W - 2 * Margin) / (Right - Left), (H - 2 * Margin) / (Top - Bottom));
  }
  POINT At(double X, double Y) const {
    return POINT{std::lround(Width / 2.0 + (X - CX) * Scale),
                 std::lround(Height / 2.0 - (Y - CY) * Scale)};
  }
  // A point Pixels to the right of and Down pixels below the board point (X, Y).
  POINT Near(double X, double Y, int Right, int Down) const {
    POINT P = At(X, Y);
    return POINT{P.x + Right, P.y + Down};
  }
};

class MerovanPictureTest : public MerovanTest {
 protected:
  void SetUp() override {
    MerovanTest::SetUp();
    if (HasFatalFailure()) return;
    Folder = NewScratchFolder("merovan-picture-");
    ASSERT_FALSE(Folder.empty());
  }
  void TearDown() override {
    RemoveScratchFolder(Folder);
    MerovanTest::TearDown();
  }

  TPicture Draw(int Width, int Height) {
    const std::string File = Folder + "board.png";
    EXPECT_TRUE(DrawDocument(Board, File.c_str(), Width, Height));
    TPicture Picture = LoadPicture(File);
    EXPECT_EQ(Picture.Width, Width);
    EXPECT_EQ(Picture.Height, Height);
    return Picture;
  }

  Integer AddHalfArc(Integer X, Integer Y, Integer Radius, Integer Width, Byte Layer) {
    return Add<TArcFields>(eArcObject, QueryArc, [&](TArcFields& F) {
      F.X = X, F.Y = Y, F.Radius = Radius, F.LineWidth = Width, F.Layer = Layer;
      F.StartAngle = 0, F.EndAngle = 180;
    });
  }

  Integer AddVia(Integer X, Integer Y, Integer Size) {
    Integer Handle = PcbApi_CreateObject(eViaObject);
    TTrackFields H;  // the common prefix
    Integer ViaSize = 0, Hole = 0;
    Byte Byte1 = 0, Byte2 = 0;
    auto Exchange = [&](TExchangeMode Mode) {
      return PcbApi_QueryVia(Mode, Handle, H.Flags, H.HeaderWord, H.Layer, H.HeaderValue1,
                             H.HeaderByte, H.HeaderValue2, H.X, H.Y, ViaSize, Hole, Byte1,
                             Byte2);
    };
    EXPECT_EQ(Exchange(ExchangeRead), 0);
    H.X = X, H.Y = Y, ViaSize = Size, Hole = Size / 4;
    EXPECT_EQ(Exchange(ExchangeWrite), 0);
    EXPECT_EQ(PcbApi_AddObjectToContainer(Board, Handle), 0);
    return Handle;
  }

  std::string Folder;
};

TEST_F(MerovanPictureTest, TrackShowsItsLayerColourWhereItLiesAndBackgroundElsewhere) {
  AddTrack(0, 0, 10000000, 0, 1, 2000000);
  const TPicture Picture = Draw(400, 200);
  ASSERT_TRUE(Picture.Loaded());
  // The track with its round ends: -1e6..11e6 by -1e6..1e6.
  const TFit Fit(-1000000, -1000000, 11000000, 1000000, 400, 200);
  const int Half = static_cast<int>(1000000 * Fit.Scale);
  for (double X : {0.0, 5000000.0, 10000000.0}) {
    EXPECT_EQ(Picture.At(Fit.At(X, 0)), LayerColour(1)) << X;
    EXPECT_EQ(Picture.At(Fit.Near(X, 0, 0, -Half * 4 / 5)), LayerColour(1)) << X;
    EXPECT_EQ(Picture.At(Fit.Near(X, 0, 0, Half * 4 / 5)), LayerColour(1)) << X;
  }
  EXPECT_EQ(Picture.At(Fit.Near(5000000, 0, 0, -Half - 5)), PictureBackground);
  EXPECT_EQ(Picture.At(Fit.Near(5000000, 0, 0, Half + 5)), PictureBackground);
  EXPECT_EQ(Picture.At(Fit.Near(-1000000, 0, -5, 0)), PictureBackground);
  EXPECT_EQ(Picture.At(0, 0), PictureBackground);
  EXPECT_EQ(Picture.At(399, 199), PictureBackground);
}

TEST_F(MerovanPictureTest, YGrowsUpwardAndTheTopLayerLiesOverTheBottom) {
  // A bottom-layer track above a top-layer one, and a bottom-layer track across it,
  // added after it.
  AddTrack(0, 0, 8000000, 0, 1, 1000000);
  AddTrack(0, 6000000, 8000000, 6000000, 32, 1000000);
  AddTrack(4000000, -3000000, 4000000, 3000000, 32, 1000000);
  const TPicture Picture = Draw(300, 300);
  const TFit Fit(-500000, -3500000, 8500000, 6500000, 300, 300);
  EXPECT_LT(Fit.At(2000000, 6000000).y, Fit.At(2000000, 0).y);
  EXPECT_EQ(Picture.At(Fit.At(2000000, 6000000)), LayerColour(32));
  EXPECT_EQ(Picture.At(Fit.At(2000000, 0)), LayerColour(1));
  EXPECT_EQ(Picture.At(Fit.At(4000000, 0)), LayerColour(1));
  EXPECT_EQ(Picture.At(Fit.At(4000000, -2000000)), LayerColour(32));
}

TEST_F(MerovanPictureTest, ArcsAreDrawnCounterClockwiseFromTheirStartAngle) {
  // A keep-out half circle from 0 to 180 degrees: the upper half.
  AddHalfArc(0, 0, 5000000, 500000, 56);
  const TPicture Picture = Draw(300, 300);
  // The extent is that half, widened by half the line width.
  const TFit Fit(-5250000, -250000, 5250000, 5250000, 300, 300);
  EXPECT_EQ(Picture.At(Fit.At(0, 5000000)), LayerColour(56));
  EXPECT_EQ(Picture.At(Fit.At(-3535534, 3535534)), LayerColour(56));
  EXPECT_EQ(Picture.At(Fit.At(5000000, 0)), LayerColour(56));
  EXPECT_EQ(Picture.At(Fit.At(0, 0)), PictureBackground);
}

TEST_F(MerovanPictureTest, OutlineIsDrawnInItsOwnColourAroundAnEmptyInside) {
  PcbApi_CreateBoardOutline(Board);
  const Integer Outline = Walk(eBoardOutlineObject).at(0);
  TPolygonFields P;
  ASSERT_EQ(QueryPolygon(ExchangeRead, Outline, P), 0);
  const Integer Corners[5][2] = {{0, 0}, {6000000, 0}, {6000000, 4000000}, {0, 4000000}, {0, 0}};
  P.SegmentCount = 4;
  for (int I = 0; I < 5; ++I) P.Segments[I].X = Corners[I][0], P.Segments[I].Y = Corners[I][1];
  ASSERT_EQ(QueryPolygon(ExchangeWrite, Outline, P), 0);
  const TPicture Picture = Draw(320, 240);
  const TFit Fit(0, 0, 6000000, 4000000, 320, 240);
  EXPECT_EQ(Picture.At(Fit.At(3000000, 0)), OutlineColour);
  EXPECT_EQ(Picture.At(Fit.At(6000000, 2000000)), OutlineColour);
  EXPECT_EQ(Picture.At(Fit.At(3000000, 4000000)), OutlineColour);
  EXPECT_EQ(Picture.At(Fit.At(0, 2000000)), OutlineColour);
  EXPECT_EQ(Picture.At(Fit.At(3000000, 2000000)), PictureBackground);
}

TEST_F(MerovanPictureTest, TextIsPaintedInsideItsBox) {
  Add<TTextFields>(eTextObject, QueryText, [](TTextFields& F) {
    F.X = 0, F.Y = 0, F.Size = 2000000, F.Layer = 33, F.Text = "HH";
  });
  // A second object widens the extent so that the text's box is well inside.
  AddTrack(0, -2000000, 4000000, -2000000, 32, 100000);
  const TPicture Picture = Draw(300, 300);
  // The text's box is 2 characters of its size wide, one size high.
  const TFit Fit(-50000, -2050000, 4050000, 2000000, 300, 300);
  const POINT TopLeft = Fit.At(0, 2000000), BottomRight = Fit.At(4000000, 0);
  const int Inside = Picture.Count(LayerColour(33), TopLeft.x, TopLeft.y, BottomRight.x + 1,
                                   BottomRight.y + 1);
  EXPECT_GT(Inside, 20);
  EXPECT_EQ(Picture.Count(LayerColour(33)), Inside);
}

TEST_F(MerovanPictureTest, DimensionDrawsItsLineBetweenAnchorsAndMarksItsTextLocation) {
  const Integer Left = AddVia(0, 0, 500000);
  const Integer Right = AddVia(10000000, 0, 500000);
  const Integer Dimension = PcbApi_CreateDimensionObject(eLinearDimension);
  ASSERT_EQ(PcbApi_References_Add(Dimension, Left, 0, 0, 0), 0);
  ASSERT_EQ(PcbApi_References_Add(Dimension, Right, 0, 0, 0), 0);
  ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 5000000, 3000000), 0);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Board, Dimension), 0);
  const TPicture Picture = Draw(400, 200);
  const TFit Fit(-250000, -250000, 10250000, 3000000, 400, 200);
  const COLORREF Colour = LayerColour(57);  // a new dimension's layer
  EXPECT_EQ(Picture.At(Fit.At(5000000, 0)), Colour);
  EXPECT_EQ(Picture.At(Fit.At(2500000, 0)), Colour);
  EXPECT_EQ(Picture.At(Fit.At(0, 0)), PictureBackground);  // the via's hole
  EXPECT_EQ(Picture.At(Fit.At(5000000, 3000000)), Colour);
  EXPECT_EQ(Picture.At(Fit.At(5000000, 1500000)), PictureBackground);
}

// A horizontal baseline dimension over three vias: one measurement line from the first
// to each further via, through its text location (the nearest first), with extension
// lines down from the vias; nothing joins the vias themselves.
TEST_F(MerovanPictureTest, BaselineDimensionDrawsAMeasurementLinePerPositionThroughItsTextLocation) {
  const Integer Vias[] = {AddVia(0, 0, 500000), AddVia(4000000, 0, 500000),
                          AddVia(10000000, 0, 500000)};
  const Integer Dimension = PcbApi_CreateDimensionObject(eBaselineDimension);
  for (Integer Via : Vias) ASSERT_EQ(PcbApi_References_Add(Dimension, Via, 0, 0, 0), 0);
  ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 2000000, -2000000), 0);
  ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 5000000, -4000000), 0);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Board, Dimension), 0);
  const TPicture Picture = Draw(400, 300);
  const TFit Fit(-250000, -4000000, 10250000, 250000, 400, 300);
  const COLORREF Colour = LayerColour(57);
  // The 400 mil line at Y -200 mil, the 1000 mil one at Y -400 mil.
  EXPECT_EQ(Picture.At(Fit.At(3000000, -2000000)), Colour);
  EXPECT_EQ(Picture.At(Fit.At(6000000, -2000000)), PictureBackground);
  EXPECT_EQ(Picture.At(Fit.At(8000000, -4000000)), Colour);
  // Extension lines from the first and the last via.
  EXPECT_EQ(Picture.At(Fit.At(0, -3000000)), Colour);
  EXPECT_EQ(Picture.At(Fit.At(10000000, -3000000)), Colour);
  // Between the vias the board stays clear.
  EXPECT_EQ(Picture.At(Fit.At(7000000, 0)), PictureBackground);
}

TEST_F(MerovanPictureTest, EmptyBoardGivesABackgroundPicture) {
  const TPicture Picture = Draw(64, 48);
  ASSERT_TRUE(Picture.Loaded());
  EXPECT_EQ(Picture.Count(PictureBackground), 64 * 48);
}

TEST_F(MerovanPictureTest, RefusesUnknownBoardsSizesOutOfRangeAndUnwritableFiles) {
  const std::string File = Folder + "refused.png";
  EXPECT_FALSE(DrawDocument(Board + 100000, File.c_str(), 100, 100));
  EXPECT_FALSE(DrawDocument(Board, File.c_str(), MinPictureSide - 1, 100));
  EXPECT_FALSE(DrawDocument(Board, File.c_str(), 100, MaxPictureSide + 1));
  EXPECT_FALSE(DrawDocument(Board, "", 100, 100));
  EXPECT_FALSE(DrawDocument(Board, (Folder + "missing\\refused.png").c_str(), 100, 100));
  EXPECT_TRUE(FilesIn(Folder).empty());
  EXPECT_TRUE(DrawDocument(Board, File.c_str(), MinPictureSide, MinPictureSide));
}

}  // namespace
