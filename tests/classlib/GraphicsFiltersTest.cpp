// The file-dialog filters and default extensions of the registered graphic formats.
#include <gtest/gtest.h>

#include "classlib/Graphics.h"

namespace {

TEST(GraphicFilterTest, TheFilterListsTheFormatsOfTheClassAndItsDescendants) {
  EXPECT_EQ(
      "All (*.bmp;*.emf;*.ico)|*.bmp;*.emf;*.ico|Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|"
      "Icons (*.ico)|*.ico",
      GraphicFilter(&TGraphic::StaticClass()));
  EXPECT_EQ("All (*.bmp)|*.bmp|Bitmaps (*.bmp)|*.bmp", GraphicFilter(&TBitmap::StaticClass()));
  EXPECT_EQ("", GraphicFilter(&TPicture::StaticClass()));
}

TEST(GraphicFilterTest, TheDefaultExtensionIsTheClasssFirst) {
  EXPECT_EQ("bmp", GraphicExtension(&TBitmap::StaticClass()));
  EXPECT_EQ("emf", GraphicExtension(&TMetafile::StaticClass()));
  EXPECT_EQ("ico", GraphicExtension(&TIcon::StaticClass()));
  EXPECT_EQ("", GraphicExtension(&TPicture::StaticClass()));
}

}  // namespace
