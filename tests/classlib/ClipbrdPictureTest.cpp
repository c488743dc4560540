// The registered picture format of the clipboard: it answers for every picture format
// the graphic classes read, and for nothing else.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Clipbrd.h"

namespace {

TEST(ClipboardPictureTest, ThePictureFormatIsRegisteredUnderItsName) {
  ASSERT_NE(0u, CF_PICTURE);
  EXPECT_EQ(CF_PICTURE, RegisterClipboardFormatA(SPictureClipboardFormat));
}

TEST(ClipboardPictureTest, HasFormatOfThePictureFormatAnswersForAnyPicture) {
  TClipboard* Clip = Clipboard();
  Clip->Clear();
  EXPECT_FALSE(Clip->HasFormat(CF_PICTURE));
  Clip->SetAsText("no picture");
  EXPECT_FALSE(Clip->HasFormat(CF_PICTURE));
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(4, 4));
  Clip->Assign(Bitmap.get());
  EXPECT_TRUE(Clip->HasFormat(CF_PICTURE));
  TOwned<TMetafile> Metafile(NewObject<TMetafile>());
  Metafile->SetWidth(10);
  Metafile->SetHeight(10);
  {
    TOwned<TMetafileCanvas> Canvas(NewObject<TMetafileCanvas>(Metafile.get(), nullptr));
    Canvas->FillRect(Rect(0, 0, 10, 10));
  }
  Clip->Assign(Metafile.get());
  ASSERT_TRUE(Clip->HasFormat(CF_ENHMETAFILE));
  EXPECT_TRUE(Clip->HasFormat(CF_PICTURE));
  Clip->Clear();
  EXPECT_FALSE(Clip->HasFormat(CF_PICTURE));
}

}  // namespace
