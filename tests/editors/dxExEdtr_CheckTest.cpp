// The check editor on real windows: the toggle cycle, Space with key repeat, the mouse
// press that follows the cursor, read-only editors, values without a change, and the
// strip of pictures drawn on a surface.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Messages.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Check.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/SurfaceSupport.h"

namespace {

using edittest::EditTest;
using edittest::TTestContainer;
using uitest::Pump;

// The editor's class as a form places it, outside a grid.
class TOutsideCheckEdit : public TdxInplaceCheckEdit {
  TCLASS_DECL(TOutsideCheckEdit, TdxInplaceCheckEdit)
 public:
  using TdxInplaceCheckEdit::TdxInplaceCheckEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsideCheckEdit)

class CheckEditTest : public EditTest {
 public:
  void NoteChange(TObject* /*Sender*/) { ++Changes; }

 protected:
  TdxInplaceCheckEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceCheckEdit>(Host);
    Edit->OnChange = TNotifyEvent::Bind<&CheckEditTest::NoteChange>(this);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static void Space(TdxInplaceCheckEdit* Edit, int Repeats) {
    for (int I = 0; I < Repeats; ++I) {
      SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_SPACE, I == 0 ? 1 : 0x40000001);
      SendMessageA(Edit->Handle(), WM_CHAR, ' ', I == 0 ? 1 : 0x40000001);
    }
    SendMessageA(Edit->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  }
  TTestContainer* Host = nullptr;
  int Changes = 0;
};

TEST_F(CheckEditTest, GrayedCycleAndTheSharedControllersLook) {
  // Outside a grid the editor's own style answers with the check controller's values.
  TOwned<TdxInplaceCheckEdit> Alone(NewObject<TdxInplaceCheckEdit>(nullptr));
  EXPECT_EQ(&TdxCheckEditStyle::StaticClass(), Alone->Style()->ClassType());
  EXPECT_EQ(xbsNone, Alone->Style()->BorderStyle());
  EXPECT_EQ(bts3D, Alone->Style()->ButtonStyle());
  auto* Edit = ShownEdit();
  Edit->SetAllowGrayed(true);
  Edit->Toggle();
  EXPECT_EQ(cbsGrayed, Edit->State());
  Edit->Toggle();
  EXPECT_EQ(cbsChecked, Edit->State());
  Edit->Toggle();
  EXPECT_EQ(cbsUnchecked, Edit->State());
  EXPECT_EQ(3, Changes);
  // Back at the state the edit began with: no edit.
  EXPECT_FALSE(Edit->Modified());
  Edit->SetAllowGrayed(false);
  Edit->Toggle();
  EXPECT_EQ(cbsChecked, Edit->State());
  EXPECT_TRUE(Edit->Modified());
}

TEST_F(CheckEditTest, SpaceTogglesOncePerPressDespiteKeyRepeat) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(Edit->Pressed());
  EXPECT_EQ(cbsUnchecked, Edit->State()) << "the toggle waits for the release";
  SendMessageA(Edit->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(cbsChecked, Edit->State());
  Space(Edit, 5);
  EXPECT_EQ(cbsUnchecked, Edit->State());
  EXPECT_FALSE(Edit->Pressed());
  // A space that comes without its key-down, as the typing that opened the editor.
  SendMessageA(Edit->Handle(), WM_CHAR, ' ', 1);
  EXPECT_EQ(cbsChecked, Edit->State());
}

TEST_F(CheckEditTest, ReadOnlyNeverToggles) {
  auto* Edit = ShownEdit();
  Edit->SetReadOnly(true);
  Space(Edit, 1);
  SendMessageA(Edit->Handle(), WM_CHAR, ' ', 1);
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Edit->HostMouseUp();
  Edit->Toggle();
  EXPECT_EQ(cbsUnchecked, Edit->State());
  EXPECT_EQ(0, Changes);
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(CheckEditTest, DraggingOutUnpressesAndAReleaseOutsideDoesNotToggle) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(Edit->Pressed());
  EXPECT_TRUE(Edit->Tracking());
  EXPECT_EQ(Edit->Handle(), GetCapture());
  SendMessageA(Edit->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 300));
  EXPECT_FALSE(Edit->Pressed());
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 300));
  EXPECT_EQ(cbsUnchecked, Edit->State());
  EXPECT_FALSE(Edit->Tracking());
  EXPECT_NE(Edit->Handle(), GetCapture());
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(Edit->Pressed());
  EXPECT_FALSE(Edit->Tracking());
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(cbsChecked, Edit->State());
}

TEST_F(CheckEditTest, ValuesSetFireNoChangeAndKeepModified) {
  auto* Edit = ShownEdit();
  Edit->SetEditValue(Variant(2));
  EXPECT_EQ(cbsGrayed, Edit->State());
  EXPECT_EQ(0, Changes);
  EXPECT_FALSE(Edit->Modified());
  EXPECT_EQ(2, Edit->GetEditValue().AsInteger());
  Edit->SetModified(true);
  Edit->SetEditValue(Variant(1));
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(0, Changes);
  Edit->SetState(cbsUnchecked);
  EXPECT_EQ(1, Changes) << "a state set in code clicks";
}

TEST_F(CheckEditTest, StripPicturesByStateAndPress) {
  // Six pictures: the released three, then the pressed three.
  EXPECT_EQ(1, TdxInplaceCheckEdit::GlyphIndex(cbsChecked, false, 6));
  EXPECT_EQ(5, TdxInplaceCheckEdit::GlyphIndex(cbsGrayed, true, 6));
  // Three: pressed looks as released.
  EXPECT_EQ(1, TdxInplaceCheckEdit::GlyphIndex(cbsChecked, true, 3));
  EXPECT_EQ(0, TdxInplaceCheckEdit::GlyphIndex(cbsUnchecked, true, 3));
  // One or two: never a picture past the strip's end.
  EXPECT_EQ(1, TdxInplaceCheckEdit::GlyphIndex(cbsGrayed, false, 2));
  EXPECT_EQ(0, TdxInplaceCheckEdit::GlyphIndex(cbsChecked, true, 1));
}

TEST_F(CheckEditTest, StripIsCutIntoCellsAndDrawnInTheCheck) {
  const COLORREF Colours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
  TOwned<TBitmap> Strip(NewObject<TBitmap>(30, 10));
  Strip->SetTransparentColor(clFuchsia);
  for (int I = 0; I < 3; ++I) {
    RECT Cell{I * 10, 0, I * 10 + 10, 10};
    Strip->Canvas()->Brush()->SetColor(static_cast<TColor>(Colours[I]));
    FillRect(Strip->Canvas()->Handle(), &Cell, Strip->Canvas()->Brush()->Handle());
  }
  int W = 0, H = 0;
  ASSERT_TRUE(TdxInplaceCheckEdit::GetCheckGlyphSize(Strip.get(), 3, W, H));
  EXPECT_EQ(10, W);
  EXPECT_EQ(10, H);
  for (TdxCheckBoxState State : {cbsUnchecked, cbsChecked, cbsGrayed}) {
    surfacetest::TSurface Surface(60, 20, RGB(255, 255, 255));
    TOwned<TdxEditViewData> Data(TdxInplaceCheckEdit::StaticClass().NewViewData());
    auto* Check = static_cast<TdxCheckEditViewData*>(Data.get());
    Check->Glyph = Strip.get();
    Check->GlyphCount = 3;
    Check->State = State;
    Check->Pressed = true;
    Check->Alignment = taCenter;
    Check->Brush = GetSysColorBrush(COLOR_WINDOW);
    TdxInplaceCheckEdit::StaticClass().DrawContent(Surface.DC(), TRect{0, 0, 60, 20}, false, Data.get());
    EXPECT_EQ(TRect({25, 5, 35, 15}), Surface.Ink(Colours[State])) << "state " << int(State);
  }
}

TEST_F(CheckEditTest, MeasuringAnswersOneLineOfTheCheck) {
  TOwned<TdxEditViewData> Data(TdxInplaceCheckEdit::StaticClass().NewViewData());
  Data->MeasureOnly = true;
  surfacetest::TSurface Surface(40, 40);
  COLORREF Before = Surface.At(20, 20);
  TdxInplaceCheckEdit::StaticClass().DrawContent(Surface.DC(), TRect{0, 0, 40, 40}, false, Data.get());
  EXPECT_EQ(1, Data->LineCount);
  EXPECT_EQ(EditCheckBoxHeight, Data->NeededHeight);
  EXPECT_EQ(Before, Surface.At(20, 20)) << "nothing is drawn";
  EXPECT_GE(TdxInplaceCheckEdit::StaticClass().GetEditHeight(Data.get()), EditCheckBoxHeight);
}

TEST_F(CheckEditTest, CaptionAcceleratorFocusesAndToggles) {
  TForm* Form = ShownForm(300, 200);
  auto* Edit = NewObject<TOutsideCheckEdit>(Form);
  Edit->SetParent(Form);
  Edit->SetCaption("&Go");
  Edit->HandleNeeded();
  Pump();
  EXPECT_EQ(0, Edit->Perform(CM_DIALOGCHAR, 'x', 0));
  EXPECT_EQ(1, Edit->Perform(CM_DIALOGCHAR, 'g', 0));
  EXPECT_EQ(Edit->Handle(), GetFocus());
  EXPECT_EQ(cbsChecked, Edit->State());
  EXPECT_EQ(0, SendMessageA(Edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) << "outside a grid";
}

}  // namespace
