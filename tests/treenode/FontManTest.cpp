#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/Exceptions.h"
#include "treenode/FontMan.h"

namespace {

HFONT MakeFont(int Height, const char* Face = "Tahoma") {
  return CreateFontA(-Height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Face);
}

// What the system measures for one character of Font.
int SystemCharWidth(HFONT Font, char C) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font);
  SIZE Size{};
  GetTextExtentPoint32A(DC, &C, 1, &Size);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return Size.cx;
}

class FontManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Manager->Free();
    for (HFONT F : Fonts) DeleteObject(F);
  }
  HFONT Font(int Height) {
    Fonts.push_back(MakeFont(Height));
    return Fonts.back();
  }
  int Extent(HFONT F, const char* Text, int* Widths = nullptr) {
    return Manager->TextExtent(F, Text, Widths, static_cast<int>(std::strlen(Text)));
  }
  TFontManager* Manager = NewObject<TFontManager>();
  std::vector<HFONT> Fonts;
};

TEST_F(FontManagerTest, WidthsAreTheSystemsCharacterWidths) {
  HFONT F = Font(20);
  int Widths[3] = {};
  int Total = Extent(F, "Wil", Widths);
  EXPECT_EQ(Widths[0], SystemCharWidth(F, 'W'));
  EXPECT_EQ(Widths[1], SystemCharWidth(F, 'i'));
  EXPECT_EQ(Widths[2], SystemCharWidth(F, 'l'));
  EXPECT_EQ(Total, Widths[0] + Widths[1] + Widths[2]);
  EXPECT_EQ(Manager->OrderEntry(0)->Metrics[4], [&] {
    HDC DC = GetDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, F);
    TEXTMETRICA TM{};
    GetTextMetricsA(DC, &TM);
    SelectObject(DC, Old);
    ReleaseDC(nullptr, DC);
    return static_cast<int>(TM.tmHeight);
  }());
}

TEST_F(FontManagerTest, ACharacterZeroEndsTheText) {
  HFONT F = Font(16);
  const char Text[] = {'a', 'b', '\0', 'W', 'W'};
  int Widths[5] = {-1, -1, -1, -1, -1};
  EXPECT_EQ(Manager->TextExtent(F, Text, Widths, 5), Extent(F, "ab"));
  EXPECT_EQ(Widths[2], -1);
}

TEST_F(FontManagerTest, The33rdFontEvictsTheLeastRecentlyUsed) {
  std::vector<HFONT> F;
  for (int I = 0; I < FontCacheSize + 1; ++I) F.push_back(Font(8 + I));
  for (int I = 0; I < FontCacheSize; ++I) Extent(F[I], "x");
  Extent(F[0], "x");  // the first font is used again: now the second is the oldest
  Extent(F[FontCacheSize], "x");
  EXPECT_TRUE(Manager->IsCached(F[0]));
  EXPECT_FALSE(Manager->IsCached(F[1]));
  EXPECT_TRUE(Manager->IsCached(F[FontCacheSize]));
  EXPECT_EQ(Manager->OrderEntry(0)->Handle, F[FontCacheSize]);
  // Asking for the evicted font loads it again, in place of the next oldest.
  EXPECT_EQ(Extent(F[1], "W"), SystemCharWidth(F[1], 'W'));
  EXPECT_TRUE(Manager->IsCached(F[1]));
  EXPECT_FALSE(Manager->IsCached(F[2]));
}

TEST_F(FontManagerTest, ADeletedFontsHandleIsNeverAnsweredFromTheCache) {
  HFONT F = MakeFont(18);
  Extent(F, "abc");
  ASSERT_TRUE(Manager->IsCached(F));
  DeleteObject(F);
  EXPECT_THROW(Extent(F, "abc"), Exception);
  EXPECT_FALSE(Manager->IsCached(F));  // a failed load leaves no entry
  // The cache goes on working for live fonts.
  HFONT G = Font(18);
  EXPECT_EQ(Extent(G, "W"), SystemCharWidth(G, 'W'));
}

TEST_F(FontManagerTest, AnEntryWhoseHandleNowDescribesAnotherFontIsReloaded) {
  HFONT F = Font(22);
  int Real = Extent(F, "W");
  TFontCacheEntry* Entry = Manager->OrderEntry(0);
  Entry->Widths[static_cast<unsigned char>('W')] = 999;
  EXPECT_EQ(Extent(F, "W"), 999);  // a true hit answers from the table
  // As when GDI has handed the handle of a freed font to another one: the stored
  // description no longer matches the handle's.
  Entry->Description.lfHeight += 5;
  EXPECT_EQ(Extent(F, "W"), Real);
  EXPECT_TRUE(Manager->IsCached(F));
}

TEST_F(FontManagerTest, TheCumulativeExtentPathGivesTheSameWidths) {
  HFONT F = Font(17);
  int NT[256];
  ASSERT_TRUE(Manager->LoadFontWidths(F, NT, nullptr));
  auto Saved = FontManIsWinNT;
  FontManIsWinNT = [] { return false; };
  int Other[256];
  int Metrics[5] = {};
  bool Ok = Manager->LoadFontWidths(F, Other, Metrics);
  FontManIsWinNT = Saved;
  ASSERT_TRUE(Ok);
  for (int C = 32; C < 127; ++C) EXPECT_EQ(Other[C], NT[C]) << C;
  EXPECT_GT(Metrics[4], 0);
}

TEST(FontManagerUnit, TheGlobalManagerMeasuresThroughFontTextExtent) {
  ASSERT_NE(FontManager, nullptr);
  HFONT F = MakeFont(15);
  EXPECT_EQ(FontTextExtent(F, "WW", 2), 2 * SystemCharWidth(F, 'W'));
  DeleteObject(F);
}

}  // namespace
