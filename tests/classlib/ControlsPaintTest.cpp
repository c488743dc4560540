#include <gtest/gtest.h>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

// Fills itself with one colour.
class TColourBox : public TGraphicControl {
 public:
  TColourBox(TComponent* AOwner, TColor AFill) : TGraphicControl(AOwner), Fill(AFill) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }

 private:
  TColor Fill;
};

class TColourWindow : public TCustomControl {
 public:
  TColourWindow(TComponent* AOwner, TColor AFill) : TCustomControl(AOwner), Fill(AFill) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }

 private:
  TColor Fill;
};

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

class PaintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(200, 150);
    Form->SetColor(clWhite);
    Box = NewObject<TColourBox>(Form, clRed);
    Box->SetBounds(20, 30, 40, 25);
    Box->SetParent(Form);
  }
  // The colour on the screen at a client point of the form.
  COLORREF ScreenPixel(int X, int Y) {
    Form->Repaint();
    HDC DC = GetDC(Form->Handle());
    COLORREF Result = GetPixel(DC, X, Y);
    ReleaseDC(Form->Handle(), DC);
    return Result;
  }

  TForm* Form = nullptr;
  TColourBox* Box = nullptr;
};

TEST_F(PaintTest, TheParentPaintsAGraphicControlInItsBounds) {
  EXPECT_EQ(ScreenPixel(20, 30), Red);
  EXPECT_EQ(ScreenPixel(59, 54), Red);  // the last pixel inside
  EXPECT_EQ(ScreenPixel(60, 54), White);
  EXPECT_EQ(ScreenPixel(59, 55), White);
  EXPECT_EQ(ScreenPixel(19, 30), White);
  EXPECT_GT(Box->Paints, 0);
}

TEST_F(PaintTest, AHiddenGraphicControlIsNotPaintedAndAMovedOneIsPaintedAtItsNewPlace) {
  Box->Hide();
  EXPECT_EQ(ScreenPixel(30, 40), White);
  Box->Show();
  Box->SetBounds(100, 100, 10, 10);
  EXPECT_EQ(ScreenPixel(30, 40), White);
  EXPECT_EQ(ScreenPixel(105, 105), Red);
}

TEST_F(PaintTest, ZOrderDecidesWhichGraphicControlShows) {
  auto* Over = NewObject<TColourBox>(Form, clBlue);
  Over->SetBounds(40, 40, 40, 40);
  Over->SetParent(Form);
  EXPECT_EQ(ScreenPixel(45, 45), Blue);
  Over->SendToBack();
  EXPECT_EQ(ScreenPixel(45, 45), Red);
  EXPECT_EQ(ScreenPixel(70, 70), Blue);
}

TEST_F(PaintTest, PaintToDrawsTheFormWithItsGraphicAndWindowedChildren) {
  auto* Window = NewObject<TColourWindow>(Form, clBlue);
  Window->SetBounds(100, 20, 30, 30);
  Window->SetParent(Form);
  HDC ScreenDC = GetDC(nullptr);
  HDC DC = CreateCompatibleDC(ScreenDC);
  HBITMAP Bitmap = CreateCompatibleBitmap(ScreenDC, 200, 150);
  HGDIOBJ Old = SelectObject(DC, Bitmap);
  Form->PaintTo(DC, 0, 0);
  EXPECT_EQ(GetPixel(DC, 5, 5), White);
  EXPECT_EQ(GetPixel(DC, 30, 40), Red);
  EXPECT_EQ(GetPixel(DC, 110, 30), Blue);
  SelectObject(DC, Old);
  DeleteObject(Bitmap);
  DeleteDC(DC);
  ReleaseDC(nullptr, ScreenDC);
}

TEST_F(PaintTest, AnOpaqueLabelFillsWithItsColourAndATransparentOneDoesNot) {
  Box->Hide();
  auto* Label = NewObject<TLabel>(Form);
  Label->SetParent(Form);
  Label->SetCaption(" ");
  Label->SetAutoSize(false);
  Label->SetBounds(10, 10, 50, 20);
  Label->SetColor(clRed);
  EXPECT_EQ(ScreenPixel(12, 12), Red);
  Label->SetTransparent(true);
  EXPECT_EQ(ScreenPixel(12, 12), White);
}

}  // namespace
