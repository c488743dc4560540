#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 255, 0);

// Paints a blue square in the middle only, so that whatever is under the rest shows;
// notes the kind of DC (window or memory) that each paint and each erase received.
class TSquareWindow : public TCustomControl {
 public:
  explicit TSquareWindow(TComponent* AOwner) : TCustomControl(AOwner) {}
  std::vector<DWORD> PaintDCs;
  std::vector<DWORD> EraseDCs;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND)
      EraseDCs.push_back(GetObjectType(reinterpret_cast<HGDIOBJ>(Message.WParam)));
    TCustomControl::Dispatch(Message);
  }

 protected:
  void Paint() override {
    PaintDCs.push_back(GetObjectType(Canvas()->Handle()));
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(TRect{10, 10, 20, 20});
  }
};

// A memory DC filled green, to see what an erase or a copy does to it.
class TGreenDC {
 public:
  explicit TGreenDC(int Width = 40, int Height = 40) : Screen(GetDC(nullptr)), DC(CreateCompatibleDC(Screen)) {
    Bitmap = CreateCompatibleBitmap(Screen, Width, Height);
    Old = SelectObject(DC, Bitmap);
    RECT R{0, 0, Width, Height};
    HBRUSH Brush = CreateSolidBrush(Green);
    FillRect(DC, &R, Brush);
    DeleteObject(Brush);
  }
  ~TGreenDC() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
    ReleaseDC(nullptr, Screen);
  }
  COLORREF Pixel(int X, int Y) const { return GetPixel(DC, X, Y); }
  WPARAM WParam() const { return reinterpret_cast<WPARAM>(DC); }

  HDC Screen;
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
};

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
  // The colour on the screen at a client point of the form, once it is repainted.
  COLORREF Shown(int X, int Y) {
    Form->Repaint();
    return ScreenPixel(Form->Handle(), X, Y);
  }
  TSquareWindow* AddSquare() {
    auto* Window = NewObject<TSquareWindow>(Form);
    Window->SetBounds(100, 20, 30, 30);
    Window->SetColor(clRed);
    Window->SetParent(Form);
    return Window;
  }

  TForm* Form = nullptr;
  TColourBox* Box = nullptr;
};

TEST_F(PaintTest, TheParentPaintsAGraphicControlInItsBoundsWhileItIsVisible) {
  EXPECT_EQ(Shown(20, 30), Red);
  EXPECT_EQ(Shown(59, 54), Red);  // the last pixel inside
  EXPECT_EQ(Shown(60, 54), White);
  EXPECT_EQ(Shown(59, 55), White);
  EXPECT_EQ(Shown(19, 30), White);
  EXPECT_GT(Box->Paints, 0);
  // Hidden it is not painted; moved it is painted at its new place.
  Box->Hide();
  EXPECT_EQ(Shown(30, 40), White);
  Box->Show();
  Box->SetBounds(100, 100, 10, 10);
  EXPECT_EQ(Shown(30, 40), White);
  EXPECT_EQ(Shown(105, 105), Red);
}

TEST_F(PaintTest, ZOrderDecidesWhichGraphicControlShows) {
  auto* Over = NewObject<TColourBox>(Form, clBlue);
  Over->SetBounds(40, 40, 40, 40);
  Over->SetParent(Form);
  EXPECT_EQ(Shown(45, 45), Blue);
  Over->SendToBack();
  EXPECT_EQ(Shown(45, 45), Red);
  EXPECT_EQ(Shown(70, 70), Blue);
}

TEST_F(PaintTest, PaintToDrawsTheFormWithItsGraphicAndWindowedChildren) {
  AddSquare();
  TGreenDC Target(200, 150);
  Form->PaintTo(Target.DC, 0, 0);
  EXPECT_EQ(Target.Pixel(5, 5), White);
  EXPECT_EQ(Target.Pixel(30, 40), Red);
  EXPECT_EQ(Target.Pixel(110, 30), Blue);
}

TEST_F(PaintTest, AnOpaqueLabelFillsWithItsColourAndATransparentOneDoesNot) {
  Box->Hide();
  auto* Label = AddChild<TLabel>(Form);
  Label->SetCaption(" ");
  Label->SetAutoSize(false);
  Label->SetBounds(10, 10, 50, 20);
  Label->SetColor(clRed);
  EXPECT_EQ(Shown(12, 12), Red);
  Label->SetTransparent(true);
  EXPECT_EQ(Shown(12, 12), White);
}

TEST_F(PaintTest, AnOpaqueControlSkipsTheEraseAndOthersFillWithTheirColour) {
  auto* Window = AddSquare();
  {
    TGreenDC Target;
    EXPECT_EQ(Window->Perform(WM_ERASEBKGND, Target.WParam(), 0), 1);
    EXPECT_EQ(Target.Pixel(5, 5), Red);
  }
  Window->SetControlStyle(Window->ControlStyle() + TControlStyle{csOpaque});
  {
    TGreenDC Target;
    EXPECT_EQ(Window->Perform(WM_ERASEBKGND, Target.WParam(), 0), 1) << "erasing counts as done";
    EXPECT_EQ(Target.Pixel(5, 5), Green) << "and leaves the DC alone";
  }
  // On the screen: what was there stays where the paint does not reach.
  Window->Repaint();
  HDC DC = GetDC(Window->Handle());
  BitBlt(DC, 0, 0, 30, 30, TGreenDC(30, 30).DC, 0, 0, SRCCOPY);
  ReleaseDC(Window->Handle(), DC);
  RedrawWindow(Window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(ScreenPixel(Window->Handle(), 2, 2), Green);
  EXPECT_EQ(ScreenPixel(Window->Handle(), 15, 15), Blue);
}

TEST_F(PaintTest, ADoubleBufferedControlPaintsInAMemoryBitmapAndCopiesItOnce) {
  auto* Window = AddSquare();
  Window->SetDoubleBuffered(true);
  Window->EraseDCs.clear();
  RedrawWindow(Window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  ASSERT_FALSE(Window->PaintDCs.empty());
  EXPECT_EQ(Window->PaintDCs.back(), static_cast<DWORD>(OBJ_MEMDC));
  // The window's own erase came and did nothing; the erase in the bitmap filled it.
  EXPECT_NE(std::find(Window->EraseDCs.begin(), Window->EraseDCs.end(), static_cast<DWORD>(OBJ_MEMDC)),
            Window->EraseDCs.end());
  EXPECT_EQ(ScreenPixel(Window->Handle(), 2, 2), Red) << "the background erased in the bitmap";
  EXPECT_EQ(ScreenPixel(Window->Handle(), 15, 15), Blue);
  EXPECT_EQ(ScreenPixel(Window->Handle(), 29, 29), Red);
  {
    TGreenDC Target;
    Window->Perform(WM_ERASEBKGND, Target.WParam(), 0);
    EXPECT_EQ(Target.Pixel(5, 5), Green) << "an erase outside its bitmap is skipped";
  }
  {
    TGreenDC Target;
    Window->PaintTo(Target.DC, 0, 0);
    EXPECT_EQ(Target.Pixel(5, 5), Red) << "a copy is still erased";
    EXPECT_EQ(Target.Pixel(15, 15), Blue);
  }
  // A partial paint copies only its part, at its place.
  RECT Part{12, 0, 30, 30};
  RedrawWindow(Window->Handle(), &Part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(ScreenPixel(Window->Handle(), 15, 15), Blue);
  EXPECT_EQ(ScreenPixel(Window->Handle(), 25, 5), Red);
}

}  // namespace
