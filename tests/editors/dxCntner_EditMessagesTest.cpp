// The hosted editor's window messages: what it hands to its host (key-ups, double
// clicks, the wheel, focus changes), the character that Enter leaves behind, the
// immediate-editor click, and the editor outside a container.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "editors/dxCntner.h"
#include "editors/dxCntner_Edit.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;
using uitest::TProbe;

namespace {

class EditMessagesTest : public EditTest {};

TEST_F(EditMessagesTest, KeyUpsAndDoubleClicksInPlaceGoToTheHostOnly) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  SendMessageA(Edit->Handle(), WM_KEYUP, 'A', 0xC0000001);
  EXPECT_EQ(std::vector<Word>{'A'}, Host->HostKeysUp);
  EXPECT_TRUE(Edit->OwnKeysUp.empty());

  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(1, Host->DoubleClicks);
}

TEST_F(EditMessagesTest, AQuickClickOnAnImmediateEditorIsADoubleClick) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->ShowAt(Rect(5, 5, 80, 20));
  // Not immediate: a press is a press.
  Edit->ClickTime = static_cast<DWORD>(GetMessageTime());
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(0, Host->DoubleClicks);
  EXPECT_EQ(0u, Edit->ClickTime);

  Host->Immediate = true;
  Edit->ClickTime = static_cast<DWORD>(GetMessageTime());
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(1, Host->DoubleClicks);
  EXPECT_EQ(0u, Edit->ClickTime);

  // Once the click time is used up, a press stays a press.
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(1, Host->DoubleClicks);

  // The system's double-click time decides, whatever it is set to: a press a
  // millisecond inside it is a double click, one at its end a press.
  const DWORD Now = static_cast<DWORD>(GetMessageTime());
  Edit->ClickTime = Now - (GetDoubleClickTime() - 1);
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(2, Host->DoubleClicks);
  Edit->ClickTime = Now - GetDoubleClickTime();
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(2, Host->DoubleClicks);
}

TEST_F(EditMessagesTest, TheWheelGoesToTheHostAfterACancelMode) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ((std::vector<UINT>{CM_CANCELMODE, WM_MOUSEWHEEL}), Host->HostMessages);
}

TEST_F(EditMessagesTest, EnterLeavesNoCharacterBehindForTheEditor) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  PostMessageA(Edit->Handle(), WM_CHAR, '\r', 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_EQ(std::vector<Word>{VK_RETURN}, Host->HostKeys);
  EXPECT_TRUE(Host->HostChars.empty());
  EXPECT_TRUE(Edit->OwnChars.empty());

  // Another key leaves its character in the queue.
  PostMessageA(Edit->Handle(), WM_CHAR, 'x', 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, 'X', 1);
  Pump();
  EXPECT_EQ(std::vector<char>{'x'}, Edit->OwnChars);
}

TEST_F(EditMessagesTest, TheHostHearsOfTheEditorGainingAndLosingTheFocus) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  auto* Probe = NewObject<TProbe>(GetParentForm(Host));
  Probe->SetParent(GetParentForm(Host));
  Probe->SetBounds(10, 150, 40, 20);
  Pump();
  Edit->ShowAt(Rect(5, 5, 80, 20));
  int AfterGain = Host->FocusChanges;
  EXPECT_GE(AfterGain, 1);

  Probe->SetFocus();
  Pump();
  EXPECT_EQ(Probe->Handle(), GetFocus());
  EXPECT_EQ(AfterGain + 1, Host->FocusChanges);

  // Focus that goes to the host itself is no change for it.
  Edit->SetFocus();
  Pump();
  int Before = Host->FocusChanges;
  ::SetFocus(Host->Handle());
  Pump();
  EXPECT_EQ(Before, Host->FocusChanges);
}

TEST_F(EditMessagesTest, AHostThatRefusesChangesKeepsTheTextButMarksItModified) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetText("kept");
  Host->AllowModify = false;
  Edit->SetTextIfModifiable("new");
  EXPECT_EQ("kept", Edit->Text());
  EXPECT_TRUE(Edit->Modified());
  Host->AllowModify = true;
  Edit->SetTextIfModifiable("new");
  EXPECT_EQ("new", Edit->Text());
}

TEST_F(EditMessagesTest, OutsideAContainerTheEditorKeepsItsKeysAndFollowsTheFontsHeight) {
  TForm* Form = ShownForm();
  auto* Edit = NewObject<TOutsideEdit>(Form);
  Edit->SetParent(Form);
  Edit->HandleNeeded();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_UP, 1);
  SendMessageA(Edit->Handle(), WM_KEYUP, VK_UP, 0xC0000001);
  EXPECT_EQ(std::vector<Word>{VK_UP}, Edit->OwnKeys);
  EXPECT_EQ(std::vector<Word>{VK_UP}, Edit->OwnKeysUp);
  EXPECT_FALSE(SendMessageA(Edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);

  // With AutoSize the height is the font's: text height and both 3D borders.
  Edit->SetWidth(90);
  TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
  int Expected = TOutsideEdit::StaticClass().GetEditHeight(ViewData.get()) + 4;
  EXPECT_EQ(Expected, Edit->Height());
  EXPECT_EQ(90, Edit->Width());
}

}  // namespace

namespace {

TEST_F(EditMessagesTest, TheValueIsTheTextAndNullClearsIt) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetEditValue(Variant(42));
  EXPECT_EQ("42", Edit->Text());
  Variant Value = Edit->GetEditValue();
  EXPECT_EQ(varString, Value.VarType());
  EXPECT_EQ("42", VarToStr(Value));
  Variant Display;
  Edit->GetDisplayValue(Display);
  EXPECT_EQ("42", VarToStr(Display));
  Edit->SetEditValue(Variant::Null());
  EXPECT_EQ("", Edit->Text());
}

}  // namespace

namespace {

TEST_F(EditMessagesTest, ClipboardChangesReachTheWindowOnlyWhileTheValueMayChange) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Host->AllowModify = false;
  for (UINT Msg : {WM_PASTE, WM_CUT, WM_CLEAR}) SendMessageA(Edit->Handle(), Msg, 0, 0);
  EXPECT_TRUE(Edit->ClipboardMessages.empty());
  Host->AllowModify = true;
  Edit->SetReadOnly(true);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_TRUE(Edit->ClipboardMessages.empty());
  Edit->SetReadOnly(false);
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(std::vector<UINT>{WM_PASTE}, Edit->ClipboardMessages);
}

TEST_F(EditMessagesTest, F2IsTheEditorsUnlessTheHostsKeyEventTakesIt) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F2, 1);
  EXPECT_EQ(1, Edit->F2Edits);
  // The editor's own key event does not see it.
  EXPECT_TRUE(Edit->OwnKeys.empty());

  struct TTaker : TObject {
    void KeyDown(TObject* /*Sender*/, Word& Key, TShiftState /*Shift*/) { Key = 0; }
  };
  auto* Taker = Keep(NewObject<TTaker>());
  Host->OnKeyDown = TKeyEvent::Bind<&TTaker::KeyDown>(Taker);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F2, 1);
  EXPECT_EQ(1, Edit->F2Edits);
}

TEST_F(EditMessagesTest, MouseEnterAndLeaveFireTheirEventsOnceAndMakeTheEditorHot) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  int Enters = 0;
  int Leaves = 0;
  auto* OnEnter = Keep(NewObject<uitest::TNotifyHandler>([&](TObject*) { ++Enters; }));
  auto* OnLeave = Keep(NewObject<uitest::TNotifyHandler>([&](TObject*) { ++Leaves; }));
  Edit->OnMouseEnter = OnEnter->Event();
  Edit->OnMouseLeave = OnLeave->Event();
  Edit->Style()->SetHotTrack(true);

  Edit->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(1, Enters);
  EXPECT_TRUE(Edit->MouseInside());
  TOwned<TdxEditViewData> Hot(Edit->CreateViewData(false));
  EXPECT_TRUE(Hot->Hot);

  Edit->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(1, Leaves);
  EXPECT_FALSE(Edit->MouseInside());
  TOwned<TdxEditViewData> Cold(Edit->CreateViewData(false));
  EXPECT_FALSE(Cold->Hot);
}

TEST_F(EditMessagesTest, APaintedEditorErasesNothingAndShowsTheArrowOverItsClientArea) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  HDC DC = GetDC(Edit->Handle());
  EXPECT_EQ(1, SendMessageA(Edit->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0));
  ReleaseDC(Edit->Handle(), DC);
  EXPECT_EQ(1, SendMessageA(Edit->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Edit->Handle()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

}  // namespace
