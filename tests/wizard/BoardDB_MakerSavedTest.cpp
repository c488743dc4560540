// A board the maker built, seen as the host shows it: saved as text and drawn.
#include <string>

#include "tests/host/PictureTestSupport.h"
#include "tests/wizard/MakerFixture.h"

namespace {

int CountOf(const std::string& Text, const std::string& Part) {
  int Count = 0;
  for (std::size_t At = Text.find(Part); At != std::string::npos; At = Text.find(Part, At + 1))
    ++Count;
  return Count;
}

// The bounds of the pixels of one colour.
struct TExtent {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
};

TExtent ExtentOf(const TPicture& Picture, COLORREF Colour) {
  TExtent E;
  for (int Y = 0; Y < Picture.Height; ++Y)
    for (int X = 0; X < Picture.Width; ++X)
      if (Picture.At(X, Y) == Colour) {
        E.Left = X < E.Left ? X : E.Left;
        E.Right = X > E.Right ? X : E.Right;
        E.Top = Y < E.Top ? Y : E.Top;
        E.Bottom = Y > E.Bottom ? Y : E.Bottom;
      }
  return E;
}

}  // namespace

TEST_F(MakerTest, ADefaultBoardIsSavedAsTextAndDrawnWithItsKeepOutInsideTheOutline) {
  // The default record: a 5000 x 4000 mil rectangle at (2000, 3000) mil, keep-out 50 mil
  // inside it, the legend, no dimension layer.
  const Integer Board = Build();
  ASSERT_NE(Board, 0);
  const std::string Folder = NewScratchFolder("tarvik-saved-");
  ASSERT_FALSE(Folder.empty());

  auto Save = EditorExport<TMerovanSaveDocument>("SaveDocument");
  auto Draw = EditorExport<TMerovanDrawDocument>("DrawDocument");
  ASSERT_TRUE(Save && Draw);
  ASSERT_TRUE(Save(Board, (Folder + "board.txt").c_str()));
  const std::string Text = FileText(Folder + "board.txt");
  EXPECT_EQ(Text.compare(0, 13, "MerovanBoard "), 0);
  EXPECT_EQ(CountOf(Text, "Kind=\"BoardOutline\""), 1);
  // The four keep-out tracks and the two legend texts.
  EXPECT_EQ(CountOf(Text, "Kind=\"Track\""), 4);
  EXPECT_EQ(CountOf(Text, "Kind=\"Text\""), 2);
  EXPECT_NE(Text.find("\".LEGEND\""), std::string::npos);
  EXPECT_NE(Text.find("\"Drill Drawing.\""), std::string::npos);
  // The bottom keep-out track: (2050, 3050) to (6950, 3050) mil.
  EXPECT_NE(Text.find("X=20500000 Y=30500000"), std::string::npos);
  EXPECT_NE(Text.find("X2=69500000 Y2=30500000"), std::string::npos);

  ASSERT_TRUE(Draw(Board, (Folder + "board.png").c_str(), 400, 300));
  const TPicture Picture = LoadPicture(Folder + "board.png");
  ASSERT_TRUE(Picture.Loaded());
  const TExtent Outline = ExtentOf(Picture, RGB(255, 255, 255));
  const TExtent KeepOut = ExtentOf(Picture, RGB(255, 60, 255));
  ASSERT_GE(Outline.Right, 0);
  ASSERT_GE(KeepOut.Right, 0);
  // The keep-out lies inside the outline on every side, and the board is wider than high.
  EXPECT_LT(Outline.Left, KeepOut.Left);
  EXPECT_LT(Outline.Top, KeepOut.Top);
  EXPECT_GT(Outline.Right, KeepOut.Right);
  EXPECT_GT(Outline.Bottom, KeepOut.Bottom);
  EXPECT_GT(Outline.Right - Outline.Left, Outline.Bottom - Outline.Top);
}
