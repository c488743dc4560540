// The kit bitmap's life: sizes and failures, single pixels, whole-bitmap operations,
// vertical text, assignment to and from the class library's graphics, and its exchange
// record.
#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/Streams.h"
#include "skin/KsBitmap.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/skin/BitmapTestSupport.h"

using namespace skintest;

namespace {

TEST(KsBitmapTest, SizesAreAbsoluteAndOnlyARealChangeMakesANewImage) {
  const int HandlesBefore = GdiHandleCount();
  HGDIOBJ Exposed[2] = {};
  {
    TOwned<TKsBitmap> B(NewObject<TKsBitmap>());
    uitest::TChangeCounter Changes;
    B->OnChange = Changes.Event();
    EXPECT_TRUE(B->Empty());
    B->SetSize(-20, 10);
    EXPECT_EQ(B->Width() * 100 + B->Height(), 2010);
    EXPECT_EQ(B->BitmapInfo().bmiHeader.biHeight, -10);  // top-down rows
    EXPECT_EQ(Changes.Count, 1);
    B->Fill(0x12345678);
    B->SetSize(0, 10);
    B->SetSize(20, -10);
    EXPECT_EQ(Changes.Count, 1);
    EXPECT_EQ(B->GetPixel(19, 9), 0x12345678u);
    EXPECT_EQ(B->Bits()[9 * 20 + 19], 0x12345678u);
    B->SetSize(3, 4);
    EXPECT_EQ(Changes.Count, 2);
    EXPECT_EQ(GdiHandleCount(), HandlesBefore + 2);  // the DIB and its DC
    Exposed[0] = B->Handle();
    Exposed[1] = B->DC();
  }
  EXPECT_EQ(GdiHandleCount(), HandlesBefore);
  for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
}

TEST(KsBitmapTest, AFailedResizeLeavesItEmptyAndAnEmptyBitmapDoesNothing) {
  const int HandlesBefore = GdiHandleCount();
  TOwned<TKsBitmap> B = MakeBitmap(4, 4);
  try {
    B->SetSize(100000, 100000);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Can't allocate the DIB handle");
  }
  EXPECT_TRUE(B->Empty());
  EXPECT_EQ(B->Width() + B->Height(), 0);
  EXPECT_EQ(GdiHandleCount(), HandlesBefore);
  B->Fill(1);
  B->FillRect(TRect{0, 0, 5, 5}, 1);
  B->SetPixel(0, 0, 1);
  EXPECT_EQ(B->GetPixel(0, 0), KsColorBlack);
  EXPECT_EQ(B->TextWidth("Text"), 0);
  EXPECT_EQ(B->TextHeight("Text"), 0);

  // TrySetSize answers the failure instead; the most negative side has a length too.
  B->SetSize(4, 4);
  EXPECT_FALSE(B->TrySetSize(-2147483647 - 1, 3));
  EXPECT_TRUE(B->Empty());
  EXPECT_TRUE(B->TrySetSize(5, 3));
  EXPECT_EQ(B->Width() * B->Height(), 15);
  EXPECT_TRUE(B->TrySetSize(0, 7));  // nothing to do
  EXPECT_EQ(B->Height(), 3);
  EXPECT_EQ(GdiHandleCount(), HandlesBefore + 2);
}

TEST(KsBitmapTest, TextInAFontFarHigherThanTheBitmapDrawsInBothWeights) {
  for (bool Bold : {false, true}) {
    TOwned<TKsBitmap> B = MakeBitmap(330, 30, 0xFFFFFFFF);
    B->Font()->SetHeight(82404);
    if (Bold) B->Font()->SetStyle({fsBold});
    B->Font()->SetColor(clBlack);
    const int Height = B->TextHeight("Component1");
    EXPECT_GT(Height, 30);
    B->DrawText("Component1", TRect{18, (30 - Height) / 2, 330, (30 - Height) / 2 + Height}, 0);
    B->DrawText("mW@", TRect{0, -Height / 2, 330, Height}, 0);
  }
}

TEST(KsBitmapTest, SinglePixelsStayInsideAndWholeBitmapWorkReachesTheLast) {
  TGuardedBitmap B(3, 2, 0x11111111);
  for (TPoint P : {TPoint{3, 0}, TPoint{0, 2}, TPoint{-1, 0}, TPoint{0, -1}}) {
    EXPECT_EQ(B->GetPixel(P.x, P.y), KsColorBlack);
    B->SetPixel(P.x, P.y, 0x22222222);
  }
  EXPECT_EQ(B.Pixels(), std::vector<TKsColor>(6, 0x11111111));
  B->SetAlpha(0xFF);
  EXPECT_EQ(B.Pixels(), std::vector<TKsColor>(6, 0xFF111111));
  B->Fill(0x01020304);
  EXPECT_EQ(B.Pixels(), std::vector<TKsColor>(6, 0x01020304));
  EXPECT_TRUE(B.GuardsIntact());
}

TEST(KsBitmapTest, TheTransparentColourAndTheShiftsLeaveClearPixels) {
  TOwned<TKsBitmap> B = MakeBitmap(4, 1);
  const TKsColor Start[] = {0xFF7F007F, 0x337F007F, 0x80FF0000, 0x00FF0000};
  for (int X = 0; X < 4; ++X) B->SetPixel(X, 0, Start[X]);
  B->SetTransparentColor(0x127F007F);  // alpha plays no part in the match
  B->ShiftHueAll(85);
  EXPECT_EQ(PixelsOf(B.get()), (std::vector<TKsColor>{KsColorTransparent, KsColorTransparent, 0xFF00FF00, 0x00FF0000}));
  B->ShiftBrightnessAll(-0x10);
  EXPECT_EQ(B->GetPixel(2, 0), 0xFF00EF00u);
  EXPECT_EQ(B->GetPixel(3, 0), 0x00FF0000u);
}

TEST(KsBitmapTest, VerticalTextTurnsAQuarterInsideItsRectangle) {
  const TRect R{5, 3, 25, 63};
  TOwned<TKsBitmap> Clockwise = MakeBitmap(40, 70, 0), Counter = MakeBitmap(40, 70, 0);
  for (TKsBitmap* B : {Clockwise.get(), Counter.get()}) B->Font()->SetColor(clBlue);
  Clockwise->DrawVerticalText("WWW", R, DT_SINGLELINE, true);
  Counter->DrawVerticalText("WWW", R, DT_SINGLELINE, false);
  int Ink = 0, Top = 70, Bottom = 0, Left = 40, Right = 0;
  for (int Y = 0; Y < 70; ++Y)
    for (int X = 0; X < 40; ++X) {
      const TKsColor C = Clockwise->GetPixel(X, Y);
      if (C == 0) continue;
      ++Ink;
      EXPECT_EQ(C, 0xFF0000FFu);
      EXPECT_TRUE(InRect(R, X, Y)) << X << "," << Y;
      // The two turns are half a turn apart about the rectangle's centre.
      EXPECT_NE(Counter->GetPixel(R.left + R.right - 1 - X, R.top + R.bottom - 1 - Y), 0u);
      Top = std::min(Top, Y), Bottom = std::max(Bottom, Y), Left = std::min(Left, X), Right = std::max(Right, X);
    }
  EXPECT_GT(Ink, 20);
  EXPECT_GT(Bottom - Top, 2 * (Right - Left));  // the text runs down
  const std::vector<TKsColor> Turned = PixelsOf(Counter.get());
  EXPECT_EQ(Turned.size() - std::count(Turned.begin(), Turned.end(), 0u), static_cast<std::size_t>(Ink));
}

TEST(KsBitmapTest, VerticalTextInARectangleFarLargerThanTheBitmapDrawsWhatShows) {
  // Around the same centre as a rectangle that fits, reaching millions of pixels past
  // the bitmap on both sides of the text's run: the same visible pixels, both turns.
  const TRect Fits{5, 3, 25, 63};
  const int Far = 15000000;
  for (bool Clockwise : {true, false}) {
    TOwned<TKsBitmap> Near = MakeBitmap(40, 70, 0), Huge = MakeBitmap(40, 70, 0);
    for (TKsBitmap* B : {Near.get(), Huge.get()}) B->Font()->SetColor(clBlue);
    Near->DrawVerticalText("WWW", Fits, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Clockwise);
    Huge->DrawVerticalText("WWW", TRect{Fits.left, Fits.top - Far, Fits.right, Fits.bottom + Far},
                           DT_SINGLELINE | DT_CENTER | DT_VCENTER, Clockwise);
    const std::vector<TKsColor> Expected = PixelsOf(Near.get());
    EXPECT_GT(Expected.size() - std::count(Expected.begin(), Expected.end(), 0u), 20u);
    EXPECT_EQ(PixelsOf(Huge.get()), Expected) << (Clockwise ? "clockwise" : "counter-clockwise");
  }
  // A rectangle wholly outside draws nothing.
  TOwned<TKsBitmap> Outside = MakeBitmap(40, 70, 0);
  Outside->DrawVerticalText("WWW", TRect{50, -Far, 70, Far}, DT_SINGLELINE, false);
  const std::vector<TKsColor> None = PixelsOf(Outside.get());
  EXPECT_EQ(static_cast<std::size_t>(std::count(None.begin(), None.end(), 0u)), None.size());
}

TEST(KsBitmapTest, AssignedGraphicsAreDrawnInOpaque) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(5, 4));
  Bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(10, 20, 30)));
  Bitmap->Canvas()->FillRect(TRect{0, 0, 5, 4});
  Bitmap->Canvas()->SetPixels(4, 3, clRed);
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Bitmap.get());
  TOwned<TKsBitmap> B(NewObject<TKsBitmap>());
  B->Assign(Picture.get());
  EXPECT_EQ(B->Width() * 100 + B->Height(), 504);
  EXPECT_EQ(B->GetPixel(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(B->GetPixel(4, 3), 0xFFFF0000u);

  TOwned<TMetafile> Metafile(NewObject<TMetafile>());
  Metafile->SetWidth(8);
  Metafile->SetHeight(6);
  {
    TOwned<TMetafileCanvas> Recorder(NewObject<TMetafileCanvas>(Metafile.get(), nullptr));
    Recorder->Brush()->SetColor(clLime);
    Recorder->Rectangle(0, 0, 8, 6);
  }
  TOwned<TKsBitmap> Drawn(NewObject<TKsBitmap>());
  Drawn->Assign(Metafile.get());
  EXPECT_EQ(Drawn->GetPixel(Drawn->Width() / 2, Drawn->Height() / 2), 0xFF00FF00u);

  // Another kit bitmap copies nothing; anything else is refused.
  TOwned<TKsBitmap> Other = MakeBitmap(2, 2, 0xFFFFFFFF);
  B->Assign(Other.get());
  EXPECT_EQ(B->GetPixel(0, 0), 0xFF0A141Eu);
  EXPECT_THROW(B->Assign(B->Font()), EConvertError);
}

TEST(KsBitmapTest, AssignedToBitmapsPicturesStreamsAndTheClipboard) {
  TOwned<TKsBitmap> B = MakeBitmap(3, 2);
  Paint(B.get(), [](int X, int Y) { return 0xFF000000u | (X << 16) | (Y << 8) | 0x55; });
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(1, 1));
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->Assign(B.get());
  EXPECT_EQ(Bitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(Bitmap->Width() * 10 + Bitmap->Height(), 32);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(2, 1), static_cast<TColor>(RGB(2, 1, 0x55)));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(B.get());
  EXPECT_EQ(Picture->Bitmap()->Canvas()->Pixels(1, 0), static_cast<TColor>(RGB(1, 0, 0x55)));

  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Bitmap->SaveToStream(Stream.get());
  Stream->SetPosition(0);
  TOwned<TKsBitmap> Loaded(NewObject<TKsBitmap>());
  Loaded->LoadFromStream(Stream.get());
  EXPECT_EQ(PixelsOf(Loaded.get()), PixelsOf(B.get()));

  Clipboard()->Assign(B.get());
  TOwned<TBitmap> Pasted(NewObject<TBitmap>());
  Pasted->Assign(Clipboard());
  EXPECT_EQ(Pasted->Canvas()->Pixels(2, 1), static_cast<TColor>(RGB(2, 1, 0x55)));
}

TEST(KsBitmapTest, TheRecordDescribesItAndBorrowedHandlesAreNeverFreed) {
  TOwned<TKsBitmap> Owner = MakeBitmap(7, 5, 0xFF123456);
  const TGlobalBufferInfo Info = Owner->ExportBufferInfo();
  EXPECT_EQ(Info.Handle, Owner->Handle());
  EXPECT_EQ(Info.DC, Owner->DC());
  EXPECT_EQ(Info.Bits, Owner->Bits());
  EXPECT_EQ(Info.Width * 10 + Info.Height, 75);
  EXPECT_EQ(Info.BitmapInfo.bmiHeader.biHeight, -5);
  const int HandlesBefore = GdiHandleCount();
  {
    TOwned<TKsBitmap> Borrower = MakeBitmap(2, 2);
    const HGDIOBJ Own[] = {Borrower->Handle(), Borrower->DC()};
    Borrower->AdoptBufferInfo(Info);
    for (HGDIOBJ Handle : Own) EXPECT_EQ(GetObjectType(Handle), 0u) << "its own are deleted";
    EXPECT_TRUE(Borrower->Shared());
    Borrower->FillRect(TRect{0, 0, 1, 1}, 0xFF000001);
    EXPECT_EQ(Owner->GetPixel(0, 0), 0xFF000001u);  // one image, two objects
  }
  EXPECT_EQ(GdiHandleCount(), HandlesBefore);  // its own freed, the borrowed kept
  EXPECT_EQ(GetObjectType(Owner->DC()), static_cast<DWORD>(OBJ_MEMDC));
  TOwned<TKsBitmap> Resized(NewObject<TKsBitmap>());
  Resized->AdoptBufferInfo(Info);
  Resized->SetSize(3, 3);  // a resize gives it handles of its own
  EXPECT_FALSE(Resized->Shared());
  EXPECT_EQ(GetObjectType(Owner->Handle()), static_cast<DWORD>(OBJ_BITMAP));
}

}  // namespace
