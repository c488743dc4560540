// The kit's control bar on real windows: bands too wide for the bar pushed, narrowed to
// their minimum and wrapped without overlap, the bar's height following its rows, a
// band tracked by its grabber, a control dragged onto the bar docked and tracked on,
// and the grabber's ridges painted.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "classlib/ScopeExit.h"
#include "skin/KsControlBar.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

class KsControlBarTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(400, 300);
    Bar = NewObject<TKsCustomControlBar>(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 300, 50);
  }
  TProbe* AddTo(TWinControl* Parent, int Left, int Width, int MinWidth = 0) {
    auto* P = NewObject<TProbe>(Form);
    P->Constraints()->SetMinWidth(MinWidth);
    P->SetBounds(Left, 2, Width, 22);
    P->SetParent(Parent);
    return P;
  }
  // The bands of a row never overlap and stay inside the bar.
  void ExpectRowsSound() {
    for (int I = 0; I < Bar->BandCount(); ++I) {
      const TKsBand& A = Bar->Bands(I);
      EXPECT_GE(A.Pos.x, 0);
      EXPECT_LE(A.Pos.x + A.Width, Bar->ClientWidth()) << "band " << I;
      for (int J = I + 1; J < Bar->BandCount(); ++J) {
        const TKsBand& B = Bar->Bands(J);
        if (A.Pos.y != B.Pos.y) continue;
        EXPECT_TRUE(A.Pos.x + A.Width <= B.Pos.x || B.Pos.x + B.Width <= A.Pos.x) << I << " overlaps " << J;
      }
    }
  }
  // Mouse input at a point of the bar.
  void Mouse(UINT Msg, int X, int Y) {
    SendMessageA(Bar->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
  }

  TForm* Form = nullptr;
  TKsCustomControlBar* Bar = nullptr;
};

TEST_F(KsControlBarTest, BandsTooWideAreNarrowedToTheirMinimumThenWrapWithoutOverlap) {
  const int Frame = Bar->Height() - Bar->ClientHeight();
  auto* A = AddTo(Bar, 11, 150, 100);
  auto* B = AddTo(Bar, 170, 150, 100);
  ExpectRowsSound();
  EXPECT_EQ(A->Top(), B->Top());
  EXPECT_EQ(B->Width(), Bar->ClientWidth() - 2 * 13 - 150);  // the last band gave way
  EXPECT_EQ(Bar->Height(), 26 + Frame);

  auto* C = AddTo(Bar, 290, 150, 100);
  ExpectRowsSound();
  for (TControl* P : {static_cast<TControl*>(A), static_cast<TControl*>(B), static_cast<TControl*>(C)})
    EXPECT_GE(P->Width(), 100);
  EXPECT_EQ(A->Top(), 2);
  EXPECT_EQ(B->Top(), 2);
  EXPECT_EQ(C->Top(), 28);  // the third starts a row of its own
  EXPECT_EQ(C->Left(), 11);
  EXPECT_EQ(Bar->Height(), 52 + Frame);
  EXPECT_TRUE(Bar->BandOf(C)->Break);

  // A band that goes passes its row's start on; the bar shrinks to its rows.
  A->Free();
  EXPECT_EQ(Bar->BandCount(), 2);
  EXPECT_EQ(Bar->BandOf(A), nullptr);
  ExpectRowsSound();
  EXPECT_EQ(B->Top(), 2);
  EXPECT_EQ(C->Top(), 28);
}

TEST_F(KsControlBarTest, ABandDraggedByItsGrabberPushesAndChangesRows) {
  auto* A = AddTo(Bar, 11, 60);
  auto* B = AddTo(Bar, 150, 60);
  ASSERT_EQ(B->Left(), 150);
  // The grabber lies left of the control, inside the band.
  Mouse(WM_LBUTTONDOWN, 150 - 6, 12);
  EXPECT_EQ(Bar->TrackControl(), B);
  Mouse(WM_MOUSEMOVE, 30, 12);  // over A: A has no room before it, B is pushed right
  EXPECT_EQ(A->Left(), 11);
  EXPECT_EQ(B->Left(), 73 + 11);
  ExpectRowsSound();
  Mouse(WM_MOUSEMOVE, 30, 12 + 26);  // below the row: a row of its own
  EXPECT_EQ(B->Top(), 28);
  EXPECT_EQ(B->Left(), 30 - 5 + 11);  // the press was 5 right of the band's edge
  Mouse(WM_LBUTTONUP, 30, 12 + 26);
  EXPECT_EQ(Bar->TrackControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(KsControlBarTest, AControlDraggedOntoADockingBarBecomesItsChildAndIsTrackedOn) {
  AddTo(Bar, 11, 60);
  auto* Loose = AddTo(Form, 100, 60);
  Loose->SetBounds(100, 200, 60, 22);
  ASSERT_TRUE(Bar->DockSite());

  Bar->SetNoDock(true);  // refused: the drag ends with no target
  PostMessageA(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 20));
  PostMessageA(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 20));
  Loose->BeginDrag(true);
  EXPECT_EQ(Loose->Parent(), Form);

  Bar->SetNoDock(false);
  PostMessageA(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 20));
  Loose->BeginDrag(true);
  EXPECT_EQ(Loose->Parent(), Bar);
  EXPECT_NE(Bar->BandOf(Loose), nullptr);
  Pump();  // the press the bar posted to itself
  EXPECT_EQ(Bar->TrackControl(), Loose);
  EXPECT_EQ(GetCapture(), Bar->Handle());
  Mouse(WM_MOUSEMOVE, 220, 12);
  ExpectRowsSound();
  Mouse(WM_LBUTTONUP, 220, 12);
  EXPECT_EQ(Bar->TrackControl(), nullptr);

  // A control that refuses the bar's font is not docked: it stays where it was, and the
  // user hears a beep instead of an error.
  auto* Refusing = NewObject<TFontRefuser>(Form);
  Refusing->SetBounds(100, 200, 60, 22);
  Refusing->SetParent(Form);
  Bar->Font()->SetHeight(2000);
  static int Beeps;
  Beeps = 0;
  const TMessageBeepProc Saved = std::exchange(MessageBeepProc, [](UINT) { return BOOL(++Beeps); });
  auto Restore = ScopeExit([&] { MessageBeepProc = Saved; });
  PostMessageA(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 20));
  EXPECT_NO_THROW(Refusing->BeginDrag(true));
  EXPECT_EQ(Refusing->Parent(), Form);
  EXPECT_EQ(Bar->BandOf(Refusing), nullptr);
  EXPECT_EQ(Beeps, 1);
}

TEST_F(KsControlBarTest, EachBandHasAFrameAndTwoGrabberRidges) {
  auto* A = AddTo(Bar, 11, 60);
  PaintNow(Bar);
  const TKsBand* Band = Bar->BandOf(A);
  ASSERT_NE(Band, nullptr);
  const int L = Band->Pos.x, T = Band->Pos.y;
  auto Pixel = [&](int X, int Y) { return Rgb(Bar->Buffer()->GetPixel(X, Y)); };
  const TKsColor Highlight = Rgb(ColorToKsColor(clBtnHighlight, 255));
  const TKsColor Shadow = Rgb(ColorToKsColor(clBtnShadow, 255));
  const TKsColor Face = Rgb(ColorToKsColor(Bar->Color(), 255));
  EXPECT_EQ(Pixel(L, T + 10), Highlight);  // the frame's left edge
  EXPECT_EQ(Pixel(L + 3, T + 10), Highlight);
  EXPECT_EQ(Pixel(L + 4, T + 10), Face);
  EXPECT_EQ(Pixel(L + 5, T + 10), Shadow);
  EXPECT_EQ(Pixel(L + 6, T + 10), Highlight);
  EXPECT_EQ(Pixel(L + 8, T + 10), Shadow);
  EXPECT_EQ(Pixel(L + 3, T + 1), Face);  // the ridges start 2 below the top
}

// Answers a preferred width for every band, and notes and allows every band drag.
struct TBandLog : TObject {
  int Preferred = 0;
  int Drags = 0;
  void BandInfo(TObject*, TControl*, TRect&, int& PreferredSize, int&) {
    if (Preferred > 0) PreferredSize = Preferred;
  }
  void BandDrag(TObject*, TControl*, bool& Drag) {
    ++Drags;
    Drag = true;
  }
};

TEST_F(KsControlBarTest, AWrappedBandTakesItsPreferredWidth) {
  TBandLog Log;
  Log.Preferred = 90;
  Bar->OnBandInfo = TBandInfoEvent::Bind<&TBandLog::BandInfo>(&Log);
  Bar->SetBounds(0, 0, 100 + Bar->Width() - Bar->ClientWidth(), 50);
  auto* A = AddTo(Bar, 11, 60, 50);
  auto* B = AddTo(Bar, 84, 60, 50);
  ExpectRowsSound();
  ASSERT_TRUE(Bar->BandOf(B)->Break) << "two bands of at least 63 do not share 100 pixels";
  EXPECT_EQ(Bar->BandOf(B)->Width, 90);
  EXPECT_EQ(B->Width(), 90 - 13);
  EXPECT_EQ(B->Left(), 11);
  EXPECT_EQ(A->Top(), 2);
  EXPECT_EQ(B->Top(), 28);
}

TEST_F(KsControlBarTest, CtrlPressedWhileTrackingStartsTheDragAtOnce) {
  TBandLog Log;
  Bar->OnBandDrag = TBandDragEvent::Bind<&TBandLog::BandDrag>(&Log);
  Bar->SetAutoDock(false);  // the drag ends wherever the mouse is, never docked back
  AddTo(Bar, 11, 60);
  auto* B = AddTo(Bar, 150, 60);
  Mouse(WM_LBUTTONDOWN, 150 - 6, 12);
  ASSERT_EQ(Bar->TrackControl(), B);
  // Ctrl goes down where the keyboard focus is; no mouse move follows. The release
  // ends the drag's own loop.
  PostMessageA(Form->Handle(), WM_KEYDOWN, VK_CONTROL, 0);
  PostMessageA(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150 - 6, 12));
  Pump();
  EXPECT_EQ(Log.Drags, 1);
  EXPECT_EQ(Bar->TrackControl(), nullptr);

  // Other keys, and Ctrl with no band tracked, start nothing.
  Mouse(WM_LBUTTONDOWN, 150 - 6, 12);
  PostMessageA(Form->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  Pump();
  EXPECT_EQ(Bar->TrackControl(), B);
  Mouse(WM_LBUTTONUP, 150 - 6, 12);
  PostMessageA(Form->Handle(), WM_KEYDOWN, VK_CONTROL, 0);
  Pump();
  EXPECT_EQ(Log.Drags, 1);
}

}  // namespace
