#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include "classlib/ImgList.h"
#include "tests/classlib/UiTestSupport.h"

// A 16 x 16 image list holding one image: a red 8 x 8 square on fuchsia, which is
// the mask colour. Drawn at (10, 10) on a green target.
class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartCount = GdiHandleCount();
    List.reset(NewObject<TImageList>());
    Image.reset(NewObject<TBitmap>(16, 16));
    Image->Canvas()->Brush()->SetColor(clFuchsia);
    Image->Canvas()->FillRect(Rect(0, 0, 16, 16));
    Image->Canvas()->Brush()->SetColor(clRed);
    Image->Canvas()->FillRect(Rect(4, 4, 12, 12));
    Target.reset(NewObject<TBitmap>(40, 40));
  }
  void TearDown() override {
    if (!Image || !Target) return;  // a SetUp that stopped early: nothing to count
    const HGDIOBJ Exposed[] = {Image->Handle(), Target->Handle(), Target->Canvas()->Handle()};
    List.reset();
    Image.reset();
    Target.reset();
    EXPECT_EQ(GdiHandleCount(), StartCount);
    for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
  }

  TColor DrawnAt(int X, int Y) { return Target->Canvas()->Pixels(10 + X, 10 + Y); }
  void Draw(bool Enabled = true, int Index = 0) {
    Target->Canvas()->Brush()->SetColor(clGreen);
    Target->Canvas()->FillRect(Rect(0, 0, 40, 40));
    List->Draw(Target->Canvas(), 10, 10, Index, Enabled);
  }

  int StartCount = 0;
  TOwned<TImageList> List;
  TOwned<TBitmap> Image;
  TOwned<TBitmap> Target;
};

TEST_F(ImageListTest, MaskedImagesDrawNormallyAndOverTheBackgroundColour) {
  EXPECT_EQ(List->AddMasked(Image.get(), clFuchsia), 0);
  EXPECT_EQ(List->Count(), 1);
  EXPECT_EQ(Image->Canvas()->Pixels(0, 0), clFuchsia) << "the caller's image is left alone";
  Draw();
  EXPECT_EQ(DrawnAt(8, 8), clRed);
  EXPECT_EQ(DrawnAt(1, 1), clGreen) << "masked out";
  List->SetBkColor(clYellow);
  Draw();
  EXPECT_EQ(DrawnAt(8, 8), clRed);
  EXPECT_EQ(DrawnAt(1, 1), clYellow);
  EXPECT_EQ(DrawnAt(16, 16), clGreen);

  // clDefault takes the image's own transparent colour, the bottom-left pixel.
  EXPECT_EQ(List->AddMasked(Image.get(), clDefault), 1);
  List->SetBkColor(clNone);
  Draw(true, 1);
  EXPECT_EQ(DrawnAt(8, 8), clRed);
  EXPECT_EQ(DrawnAt(1, 1), clGreen);
}

TEST_F(ImageListTest, DisabledImagesDrawAsAnEmbossedSilhouette) {
  List->AddMasked(Image.get(), clFuchsia);
  Draw(false);
  const TColor Shadow = static_cast<TColor>(ColorToRGB(clBtnShadow));
  const TColor Highlight = static_cast<TColor>(ColorToRGB(clBtnHighlight));
  EXPECT_EQ(DrawnAt(4, 4), Shadow);
  EXPECT_EQ(DrawnAt(11, 11), Shadow);
  EXPECT_EQ(DrawnAt(12, 12), Highlight) << "the highlight, one pixel down and right";
  EXPECT_EQ(DrawnAt(12, 4), clGreen);
  EXPECT_EQ(DrawnAt(1, 1), clGreen);
}

TEST_F(ImageListTest, SelectedStyleBlendsTheBlendColour) {
  List->AddMasked(Image.get(), clFuchsia);
  List->SetBlendColor(clBlue);
  List->SetDrawingStyle(dsSelected);
  Draw();
  // Half of the square's pixels or half of each pixel: blue enters, red leaves.
  int Red = 0, Blue = 0;
  for (int Y = 4; Y < 12; ++Y)
    for (int X = 4; X < 12; ++X) {
      COLORREF C = static_cast<COLORREF>(DrawnAt(X, Y));
      Red += GetRValue(C);
      Blue += GetBValue(C);
    }
  EXPECT_GT(Blue, 64 * 255 / 4);
  EXPECT_LT(Red, 64 * 255 * 3 / 4);
  EXPECT_EQ(DrawnAt(1, 1), clGreen);

  List->Draw(Target->Canvas(), 10, 10, 0, dsNormal, itMask);
  EXPECT_EQ(DrawnAt(8, 8), clBlack) << "the mask of the square";
}

TEST_F(ImageListTest, ChangeLinksHearOfChangesUntilEitherSideGoes) {
  uitest::TChangeCounter Changes;
  TOwned<TChangeLink> Link(NewObject<TChangeLink>());
  Link->OnChange = Changes.Event();
  List->RegisterChanges(Link.get());
  EXPECT_EQ(Link->Sender(), List.get());
  List->AddMasked(Image.get(), clFuchsia);
  List->Add(Image.get(), nullptr);
  List->SetBkColor(clWhite);
  List->Delete(0);
  EXPECT_EQ(Changes.Count, 4);
  EXPECT_EQ(Changes.Sender, List.get());
  ExpectRaises<EInvalidOperation>([&] { List->Delete(1); }, "Invalid ImageList Index");
  List->SetSize(24, 24);
  EXPECT_EQ(List->Count(), 0) << "a new size empties the list";

  TOwned<TChangeLink> Second(NewObject<TChangeLink>());
  List->RegisterChanges(Second.get());
  Second.reset();  // unregisters itself
  List->Clear();
  EXPECT_EQ(Changes.Count, 6);
  List.reset();
  EXPECT_EQ(Link->Sender(), nullptr) << "the list is gone";
}
