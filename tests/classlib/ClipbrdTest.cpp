#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Clipbrd.h"

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { Clip.reset(NewObject<TClipboard>()); }
  TOwned<TClipboard> Clip;
};

TEST_F(ClipboardTest, TextRoundTrip) {
  Clip->SetAsText("Board Profile\r\nline 2");
  EXPECT_TRUE(Clip->HasFormat(CF_TEXT));
  EXPECT_EQ(Clip->AsText(), "Board Profile\r\nline 2");
  EXPECT_EQ(Clipboard()->AsText(), "Board Profile\r\nline 2")
      << "one clipboard for the process";
  Clip->Clear();
  EXPECT_FALSE(Clip->HasFormat(CF_TEXT));
  EXPECT_EQ(Clip->AsText(), "");
}

TEST_F(ClipboardTest, DataSetInsideOneOpeningStaysTogether) {
  Clip->Open();
  Clip->SetAsText("first");
  HGLOBAL Extra = GlobalAlloc(GMEM_MOVEABLE, 4);
  Clip->SetAsHandle(RegisterClipboardFormatA("Tarvik test format"), Extra);
  Clip->Close();
  EXPECT_TRUE(Clip->HasFormat(CF_TEXT)) << "the second format did not empty the clipboard";
  EXPECT_TRUE(Clip->HasFormat(RegisterClipboardFormatA("Tarvik test format")));
  Clip->SetAsText("second");
  EXPECT_FALSE(Clip->HasFormat(RegisterClipboardFormatA("Tarvik test format")));
}

TEST_F(ClipboardTest, BitmapsGoThroughTheClipboard) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(6, 4));
  Bitmap->Canvas()->SetPixels(5, 3, clRed);
  Clip->Assign(Bitmap.get());
  EXPECT_TRUE(Clip->HasFormat(CF_BITMAP));

  TOwned<TBitmap> Pasted(NewObject<TBitmap>());
  Pasted->Assign(Clip.get());
  EXPECT_EQ(Pasted->Width(), 6);
  EXPECT_EQ(Pasted->Height(), 4);
  EXPECT_EQ(Pasted->Canvas()->Pixels(5, 3), clRed);
  EXPECT_EQ(Pasted->Canvas()->Pixels(0, 0), clWhite);

  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Clip.get());
  ASSERT_TRUE(Picture->Graphic() && Picture->Graphic()->Is<TBitmap>());
  EXPECT_EQ(Picture->Width(), 6);
}
