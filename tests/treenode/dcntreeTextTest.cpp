#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "treenode/dcntree.h"

namespace {

// A canvas on a memory DC with a known font.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DC = CreateCompatibleDC(nullptr);
    Canvas = NewObject<TCanvas>();
    Canvas->SetHandle(DC);
    Canvas->Font()->SetName("Tahoma");
    Canvas->Font()->SetHeight(-14);
    HGDIOBJ Old = SelectObject(DC, Canvas->Font()->Handle());
    GetTextMetricsA(DC, &TM);
    SelectObject(DC, Old);
  }
  void TearDown() override {
    if (Canvas) Canvas->SetHandle(nullptr);
    FreeObject(Canvas);
    DeleteDC(DC);
  }
  int Width(const char* Text) {
    HGDIOBJ Old = SelectObject(DC, Canvas->Font()->Handle());
    SIZE Size{};
    GetTextExtentPoint32A(DC, Text, static_cast<int>(std::strlen(Text)), &Size);
    SelectObject(DC, Old);
    return Size.cx;
  }
  // The lines FindWrapPos cuts Text into, with the line ends stepped over as the
  // height routine does.
  std::vector<std::string> Lines(const char* Text, int W) {
    std::vector<std::string> Result;
    for (const char* P = Text; *P;) {
      const char* End;
      const char* Start = FindWrapPos(Canvas, P, End, 0, W);
      Result.emplace_back(Start, End);
      if (*End == '\r') ++End;
      if (*End == '\n') ++End;
      P = End;
    }
    return Result;
  }
  HDC DC = nullptr;
  TCanvas* Canvas = nullptr;
  TEXTMETRICA TM{};
};

TEST_F(TextTest, ALoneCrAndCrLfEachEndOneLine) {
  EXPECT_EQ(WrappedTextHeight(Canvas, "ab\rcd", 1000), 2 * TM.tmHeight);
  EXPECT_EQ(WrappedTextHeight(Canvas, "ab\r\ncd", 1000), 2 * TM.tmHeight);
  EXPECT_EQ(WrappedTextHeight(Canvas, "ab\ncd", 1000), 2 * TM.tmHeight);
  EXPECT_EQ(WrappedTextHeight(Canvas, "ab\n\ncd", 1000), 3 * TM.tmHeight);
  EXPECT_EQ(WrappedTextHeight(Canvas, "ab\r\rcd", 1000), 3 * TM.tmHeight);
  EXPECT_EQ(WrappedTextHeight(Canvas, "abcd", 1000), TM.tmHeight);
  EXPECT_EQ(NodeTextHeight(Canvas, "", 1000, true), TM.tmHeight);
  EXPECT_EQ(NodeTextHeight(Canvas, "a\r\nb", 1000, true), 2 * TM.tmHeight);
}

TEST_F(TextTest, AnOverLongWordIsCutInsideTheWord) {
  EXPECT_EQ(Lines("abcdefgh", Width("abc")), (std::vector<std::string>{"abc", "def", "gh"}));
}

TEST_F(TextTest, AWidthBelowOneCharacterStillTakesOneCharacterPerLine) {
  EXPECT_EQ(Lines("abc", 1), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(WrappedTextHeight(Canvas, "abc", 1), 3 * TM.tmHeight);
}

TEST_F(TextTest, LinesWrapAfterTheirLastBlank) {
  EXPECT_EQ(Lines("ab cd", Width("ab c")), (std::vector<std::string>{"ab ", "cd"}));
  // A line that ends exactly on a blank keeps it for the next line to skip.
  EXPECT_EQ(Lines("abc def", Width("abc")), (std::vector<std::string>{"abc", "def"}));
}

TEST_F(TextTest, LongTextsAreMeasuredAcrossRunsOf256Characters) {
  std::string Long(600, 'i');
  EXPECT_EQ(Lines(Long.c_str(), 100000).size(), 1u);
  EXPECT_EQ(WrappedTextHeight(Canvas, Long.c_str(), 100000), TM.tmHeight);
}

TEST(FontHeightCacheTest, The21stFontReusesTheLeastUsedEntry) {
  TOwned<TFontHeightCache> Cache(NewObject<TFontHeightCache>());
  std::vector<TOwned<TFont>> Fonts;
  for (int I = 0; I < FontHeightCacheSize + 1; ++I) {
    Fonts.emplace_back(NewObject<TFont>());
    Fonts.back()->SetName("Tahoma");
    Fonts.back()->SetHeight(-(8 + I));
  }
  for (int I = 0; I < FontHeightCacheSize; ++I) Cache->GetFontHeight(Fonts[I].get());
  for (int I = 0; I < FontHeightCacheSize; ++I)
    if (I != 5) Cache->GetFontHeight(Fonts[I].get());  // every entry but the sixth used twice
  EXPECT_EQ(Cache->LeastUsedFontEntry(), 5);
  int Height = Cache->GetFontHeight(Fonts[FontHeightCacheSize].get());
  EXPECT_EQ(Cache->Count(), FontHeightCacheSize);
  EXPECT_TRUE(SameFont(Cache->EntryFont(5), Fonts[FontHeightCacheSize].get()));
  EXPECT_EQ(Cache->UseCount(5), 1);
  EXPECT_EQ(Height % 2, 0);
  EXPECT_EQ(Cache->FindCachedFontHeight(Fonts[5].get()), -1);
}

TEST(FontHeightCacheTest, TheModuleListExistsAndGivesEvenHeights) {
  ASSERT_NE(FontHeights, nullptr);
  TOwned<TFont> Font(NewObject<TFont>());
  Font->SetHeight(-13);
  EXPECT_EQ(GetFontHeight(Font.get()) % 2, 0);
  EXPECT_EQ(FontHeights->FindCachedFontHeight(Font.get()), GetFontHeight(Font.get()));
}

TEST(CheckBoxGlyphTest, TheGlyphIsAQuarterAndAThirdOfTheSystemBitmap) {
  HBITMAP Bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759));
  ASSERT_NE(Bitmap, nullptr);
  BITMAP Info{};
  GetObjectA(Bitmap, sizeof(Info), &Info);
  DeleteObject(Bitmap);
  EXPECT_EQ(CheckBoxWidth(), Info.bmWidth / 4);
  EXPECT_EQ(CheckBoxHeight(), Info.bmHeight / 3);
  EXPECT_GT(CheckBoxWidth(), 0);
}

TEST(GeometryTest, CentringAndVerticalTests) {
  EXPECT_EQ(MidValue(-3, 0), -1);
  TRect R{0, 0, 10, 4};
  CenterRect(R, TRect{100, 50, 121, 61});
  EXPECT_EQ(R.left, 105);
  EXPECT_EQ(R.right, 115);
  EXPECT_EQ(R.top, 53);
  EXPECT_EQ(R.bottom, 57);
  EXPECT_TRUE(RectTopInside(TRect{0, 5, 1, 20}, TRect{0, 5, 1, 10}));
  EXPECT_FALSE(RectTopInside(TRect{0, 10, 1, 20}, TRect{0, 5, 1, 10}));
  EXPECT_TRUE(RectsOverlapVertically(TRect{0, 0, 1, 20}, TRect{0, 5, 1, 10}));
  EXPECT_FALSE(RectInsideVertically(TRect{0, 6, 1, 11}, TRect{0, 5, 1, 10}));
  EXPECT_TRUE(RectInsideVertically(TRect{0, 6, 1, 10}, TRect{0, 5, 1, 10}));
}

}  // namespace
