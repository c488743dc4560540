// The grid's hint window: where it ends up on the screen, that it never takes the
// mouse nor the activation, and its colours.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "editors/dxCntner_Hint.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

class HintWindowTest : public EditTest {
 protected:
  TdxContainerHintWindow* NewHint() { return Keep(NewObject<TdxContainerHintWindow>(nullptr)); }
  static RECT WindowRect(HWND Wnd) {
    RECT R;
    GetWindowRect(Wnd, &R);
    return R;
  }
};

TEST_F(HintWindowTest, AHintNearTheLowerRightCornerEndsAtTheScreenEdges) {
  const int ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  TdxContainerHintWindow* Hint = NewHint();
  Hint->ActivateHint(Point(ScreenWidth - 5, ScreenHeight - 5), "A hint with a few words", nullptr);
  Pump();
  RECT R = WindowRect(Hint->Handle());
  EXPECT_TRUE(IsWindowVisible(Hint->Handle()));
  EXPECT_EQ(ScreenWidth, R.right);
  EXPECT_EQ(ScreenHeight, R.bottom);
  EXPECT_GT(R.right - R.left, 20);

  // Away from the edges it stays where it was asked to be.
  Hint->ActivateHint(Point(30, 40), "A hint with a few words", nullptr);
  R = WindowRect(Hint->Handle());
  EXPECT_EQ(30, R.left);
  EXPECT_EQ(40, R.top);
}

TEST_F(HintWindowTest, AHintTallerThanTheScreenStartsAtTheTop) {
  const int ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  std::string Text;
  for (int I = 0; I < 200; ++I) Text += "line " + std::to_string(I) + "\r\n";
  TdxContainerHintWindow* Hint = NewHint();
  Hint->ActivateHint(Point(50, 300), Text, nullptr);
  RECT R = WindowRect(Hint->Handle());
  EXPECT_EQ(0, R.top);
  EXPECT_GT(R.bottom - R.top, ScreenHeight);
}

TEST_F(HintWindowTest, MaxWidthWrapsTheTextAndTheSizeIsTheTextsPlusSix) {
  TdxContainerHintWindow* Hint = NewHint();
  Hint->ActivateHintEx(Point(10, 10), 60, false, nullptr, "several words that will not fit in one line");
  RECT R = WindowRect(Hint->Handle());
  EXPECT_LE(R.right - R.left, 60 + 6);
  // Measured as the hint measures: its own font, word-wrapped in 60 pixels.
  HDC DC = GetDC(nullptr);
  HGDIOBJ Saved = SelectObject(DC, Hint->Canvas()->Font()->Handle());
  RECT Text{0, 0, 60, 0};
  const char* S = "several words that will not fit in one line";
  DrawTextA(DC, S, -1, &Text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(DC, Saved);
  ReleaseDC(nullptr, DC);
  EXPECT_EQ(Text.right + 6, R.right - R.left);
  EXPECT_EQ(Text.bottom + 6, R.bottom - R.top);
}

TEST_F(HintWindowTest, TheMouseAndTheActivationStayWithTheWindowBelow) {
  TForm* Form = ShownForm(300, 200);
  TdxContainerHintWindow* Hint = NewHint();
  Hint->ActivateHint(Point(60, 60), "over the form", nullptr);
  Pump();
  EXPECT_EQ(HTTRANSPARENT, SendMessageA(Hint->Handle(), WM_NCHITTEST, 0, MAKELPARAM(65, 65)));
  RECT R = WindowRect(Hint->Handle());
  EXPECT_EQ(Form->Handle(), WindowFromPoint(POINT{R.left + 3, R.top + 3}));
  EXPECT_EQ(Form->Handle(), GetActiveWindow());
  const LONG ExStyle = GetWindowLongA(Hint->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(ExStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ExStyle & WS_EX_TOPMOST);
  EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongA(Hint->Handle(), GWL_STYLE) & (WS_POPUP | WS_CHILD));
}

TEST_F(HintWindowTest, PaintsARaisedEdgeAroundTheInfoColour) {
  TdxContainerHintWindow* Hint = NewHint();
  Hint->ActivateHint(Point(100, 100), "x", nullptr);
  uitest::PaintNow(Hint);
  RECT R = WindowRect(Hint->Handle());
  const int W = R.right - R.left;
  const int H = R.bottom - R.top;
  EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), uitest::ScreenPixel(Hint->Handle(), 0, H / 2));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), uitest::ScreenPixel(Hint->Handle(), W - 1, H / 2));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), uitest::ScreenPixel(Hint->Handle(), W - 2, H - 2));
}

}  // namespace
