// The drop-down protocol on real windows: a test editor with a small list popup
// opens and closes it through the button in its frame (hit test, non-client presses,
// capture), the keys and the wheel, and the private messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "classlib/Forms.h"
#include "classlib/Messages.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr_DropDown.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using edittest::TTestContainer;
using uitest::Pump;

// A list of rows 16 pixels high that notes what reaches it; a press picks a row.
class TTestListPopup : public TdxInplacePopupControl {
  TCLASS_DECL(TTestListPopup, TdxInplacePopupControl)
 public:
  explicit TTestListPopup(TComponent* AOwner) : TdxInplacePopupControl(AOwner) {
    SetIsPopup(true);
    SetBounds(0, 0, 80, 64);
  }
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN:
        Presses.push_back(TPoint{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))});
        Row = Presses.back().y / 16;
        return;
      case WM_VSCROLL: Scrolls.push_back(static_cast<int>(Message.WParam)); return;
      case WM_KEYDOWN: Keys.push_back(static_cast<Word>(Message.WParam)); return;
      case WM_CLOSE: ClosePopup(); return;
    }
    TdxInplacePopupControl::Dispatch(Message);
  }
  int Row = 0;
  std::vector<TPoint> Presses;
  std::vector<int> Scrolls;
  std::vector<Word> Keys;
};
TCLASS_IMPL(TTestListPopup)

// Drops the list down, and takes the chosen row back as its text.
class TTestDropDownEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TTestDropDownEdit, TdxInplaceDropDownEdit)
 public:
  explicit TTestDropDownEdit(TComponent* AOwner) : TdxInplaceDropDownEdit(AOwner) {
    List = NewObject<TTestListPopup>(this);
    OnKeyPress = TKeyPressEvent::Bind<&TTestDropDownEdit::NoteChar>(this);
  }
  void DropDown() override {
    if (!CanEditLinked()) return;
    ::SetFocus(Handle());
    DoEditButtonClick();
    SetPopup(List);
    List->SetEditor(this);
    PositionPopup(List, true);
    List->ShowPopup();
    SetDroppedDownValue(true);
    ++DropDowns;
  }
  void CloseUp(bool Accept) override {
    if (!DroppedDown()) return;
    if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
    SetWindowPos(List->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetDroppedDownValue(false);
    Variant Value = AnsiString("row ") + AnsiString(std::to_string(List->Row).c_str());
    DoCloseUp(Value, Accept);
    (Accept ? Accepts : Cancels)++;
    if (Accept) SetTextIfModifiable(VarToStr(Value));
  }
  void ScrollValue(int Delta, bool /*Wrap*/) override { Steps.push_back(Delta); }
  void DropDownTextChanged(const AnsiString& Text) override { Texts.push_back(Text); }

  TTestListPopup* List = nullptr;
  int DropDowns = 0;
  int Accepts = 0;
  int Cancels = 0;
  std::vector<int> Steps;
  std::vector<char> Chars;
  std::vector<AnsiString> Texts;

 private:
  void NoteChar(TObject* /*Sender*/, char& Key) { Chars.push_back(Key); }
};
TCLASS_IMPL(TTestDropDownEdit)

class DropDownEditTest : public EditTest {
 protected:
  TTestDropDownEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TTestDropDownEdit>(Host);
    Edit->Style()->SetButtonStyle(bts3D);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  static int ClientWidth(TWinControl* Control) {
    RECT R;
    GetClientRect(Control->Handle(), &R);
    return R.right;
  }
  // The screen point at the middle of the editor's last button column.
  static LPARAM ButtonPoint(TTestDropDownEdit* Edit) {
    RECT W;
    GetWindowRect(Edit->Handle(), &W);
    int X = W.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    return MAKELPARAM(X, (W.top + W.bottom) / 2);
  }
  static void PressButton(TTestDropDownEdit* Edit, UINT Msg = WM_NCLBUTTONDOWN) {
    LPARAM At = ButtonPoint(Edit);
    LRESULT Code = SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, At);
    SendMessageA(Edit->Handle(), Msg, static_cast<WPARAM>(Code), At);
  }
  static void ReleaseButton(TTestDropDownEdit* Edit) {
    SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(140, 5));
  }
  static int ViewButtons(TTestDropDownEdit* Edit, TdxEditButtonDrawData* First = nullptr) {
    TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
    auto* DropDown = dynamic_cast<TdxDropDownEditViewData*>(Data.get());
    if (First) *First = DropDown->Buttons[0];
    return DropDown->ButtonCount;
  }
  TTestContainer* Host = nullptr;
};

TEST_F(DropDownEditTest, ArrowButtonIsScrollBarWideAndAnEmptyGlyphChangesNothing) {
  auto* Edit = ShownEdit();
  TdxEditButtonDrawData Button;
  ASSERT_EQ(1, ViewButtons(Edit, &Button));
  EXPECT_EQ(bkDown, Button.Kind);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), Button.Width);
  int Client = ClientWidth(Edit);
  TOwned<TBitmap> Empty(NewObject<TBitmap>());
  Edit->SetButtonGlyph(Empty.get());
  ViewButtons(Edit, &Button);
  EXPECT_EQ(bkDown, Button.Kind);
  EXPECT_EQ(Client, ClientWidth(Edit));
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(10, 8));
  Edit->SetButtonGlyph(Glyph.get());
  ViewButtons(Edit, &Button);
  EXPECT_EQ(bkGlyph, Button.Kind);
  EXPECT_EQ(Client + GetSystemMetrics(SM_CXVSCROLL) - 14, ClientWidth(Edit)) << "the text takes the room";
}

TEST_F(DropDownEditTest, HideInactiveGivesTheTextTheButtonRoom) {
  auto* Edit = ShownEdit();
  int WithButton = ClientWidth(Edit);
  Edit->Style()->SetButtonTransparence(ebtHideInactive);
  ::SetFocus(Host->Handle());
  Edit->StyleLayoutChanged();
  Pump();
  EXPECT_EQ(0, ViewButtons(Edit));
  EXPECT_EQ(WithButton + GetSystemMetrics(SM_CXVSCROLL), ClientWidth(Edit));
  ::SetFocus(Edit->Handle());
  Edit->StyleLayoutChanged();
  Pump();
  EXPECT_EQ(1, ViewButtons(Edit));
  EXPECT_EQ(WithButton, ClientWidth(Edit));
}

TEST_F(DropDownEditTest, HitTestMakesTheButtonHotAndAPressOpens) {
  auto* Edit = ShownEdit();
  EXPECT_EQ(HTBORDER, SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, ButtonPoint(Edit)));
  EXPECT_EQ(0, Edit->HotButton());
  RECT W;
  GetWindowRect(Edit->Handle(), &W);
  EXPECT_NE(HTBORDER, SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.left + 20, W.top + 8)));
  EXPECT_EQ(-1, Edit->HotButton());
  PressButton(Edit);
  EXPECT_EQ(0, Edit->PressedButton());
  EXPECT_EQ(Edit->Handle(), GetCapture());
  Pump();
  EXPECT_TRUE(Edit->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(Edit->List->Handle()));
  EXPECT_EQ(1, Edit->DropDowns);
  RECT Popup;
  GetWindowRect(Edit->List->Handle(), &Popup);
  EXPECT_EQ(W.bottom, Popup.top) << "the list opens under the editor";
}

TEST_F(DropDownEditTest, PressAndDragIntoTheListPressesTheList) {
  auto* Edit = ShownEdit();
  PressButton(Edit);
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  RECT Popup;
  GetWindowRect(Edit->List->Handle(), &Popup);
  POINT Inside{Popup.left + 10, Popup.top + 40};
  POINT InEdit = Inside;
  ScreenToClient(Edit->Handle(), &InEdit);
  SendMessageA(Edit->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(InEdit.x, InEdit.y));
  POINT InList = Inside;
  ScreenToClient(Edit->List->Handle(), &InList);
  ASSERT_EQ(1u, Edit->List->Presses.size());
  EXPECT_EQ(InList.x, Edit->List->Presses[0].x);
  EXPECT_EQ(InList.y, Edit->List->Presses[0].y);
  EXPECT_EQ(-1, Edit->PressedButton());
  EXPECT_NE(Edit->Handle(), GetCapture());
}

TEST_F(DropDownEditTest, DoubleClickOpensThenClosesWithoutAccepting) {
  auto* Edit = ShownEdit();
  PressButton(Edit);
  Pump();
  ReleaseButton(Edit);
  PressButton(Edit, WM_NCLBUTTONDBLCLK);
  Pump();
  EXPECT_EQ(1, Edit->DropDowns);
  EXPECT_EQ(1, Edit->Cancels);
  EXPECT_EQ(0, Edit->Accepts);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(Edit->List->Handle()));
}

TEST_F(DropDownEditTest, EnterAcceptsAndLeavesNoCharacter) {
  auto* Edit = ShownEdit();
  // A posted key is translated into its character, as typed keys are.
  PostMessageA(Edit->Handle(), WM_KEYDOWN, 'A', 1);
  Pump();
  ASSERT_EQ(1u, Edit->Chars.size());
  Edit->Chars.clear();
  Host->HostChars.clear();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->DroppedDown());
  Edit->List->Row = 2;
  PostMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_EQ(1, Edit->Accepts);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(AnsiString("row 2"), VarToStr(Edit->GetEditValue()));
  EXPECT_TRUE(Edit->Chars.empty());
  EXPECT_TRUE(Host->HostChars.empty());
}

TEST_F(DropDownEditTest, OpenListTakesTheKeysAndAltUpAccepts) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
  ASSERT_TRUE(Edit->DroppedDown());
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_NEXT, 1);
  EXPECT_EQ(std::vector<Word>{VK_NEXT}, Edit->List->Keys);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(1, Edit->Cancels);
  EXPECT_EQ(0, Edit->Accepts);
}

TEST_F(DropDownEditTest, NavigationKeysOnlyKeepTypingInTheEditor) {
  auto* Edit = ShownEdit();
  Edit->SetForwardNavigationKeysOnly(true);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->DroppedDown());
  SendMessageA(Edit->Handle(), WM_CHAR, 'x', 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_HOME, 1);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, 'Q', 1);
  ASSERT_EQ(1u, Edit->Texts.size());
  EXPECT_EQ(AnsiString("x"), Edit->Texts[0]);
  EXPECT_EQ(std::vector<Word>{VK_DOWN}, Edit->List->Keys) << "Home stays in a native editor, Q goes nowhere";
}

TEST_F(DropDownEditTest, WheelStepsAClosedEditorAndScrollsAnOpenList) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ((std::vector<int>{1, -1}), Edit->Steps);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  SendMessageA(Edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ((std::vector<int>{SB_LINEDOWN, SB_LINEUP}), Edit->List->Scrolls);
  EXPECT_EQ(2u, Edit->Steps.size());
  EXPECT_TRUE(Host->HostMessages.empty()) << "the editor keeps the wheel";
}

TEST_F(DropDownEditTest, ClosedMessageClearsDroppedDown) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->DroppedDown());
  SendMessageA(Edit->Handle(), WM_DXPOPUPCLOSED, 0, 0);
  EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DropDownEditTest, NoPressOrCaptureOutlivesCancelModeOrAReleaseElsewhere) {
  auto* Edit = ShownEdit();
  Edit->SetReadOnly(true);  // a press that does not open
  PressButton(Edit);
  ASSERT_EQ(0, Edit->PressedButton());
  SendMessageA(Edit->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(-1, Edit->PressedButton());
  EXPECT_EQ(nullptr, GetCapture());
  PressButton(Edit);
  ReleaseCapture();
  EXPECT_EQ(-1, Edit->PressedButton()) << "losing the capture releases the button";
  Pump();
  EXPECT_EQ(0, Edit->DropDowns) << "a read-only editor does not open";
}

TEST_F(DropDownEditTest, HidingTheEditorClosesTheList) {
  auto* Edit = ShownEdit();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(IsWindowVisible(Edit->List->Handle()));
  Edit->Hide();
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(Edit->List->Handle()));
}

TEST_F(DropDownEditTest, WithoutKeptFocusTheKeysStayWithTheEditor) {
  auto* Edit = ShownEdit();
  Edit->SetPopupKeepsEditorFocus(false);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(1, Edit->DropDowns);
  EXPECT_EQ(Edit->List->Handle(), GetFocus()) << "the shown list takes the focus";
  EXPECT_TRUE(Edit->IsPopupVisible());
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_NEXT, 1);
  EXPECT_TRUE(Edit->List->Keys.empty()) << "nothing is routed to the list";
  EXPECT_EQ(std::vector<Word>{VK_NEXT}, Host->HostKeys);
  // A press on the button of an open editor that does not share the focus opens nothing more.
  PressButton(Edit);
  Pump();
  EXPECT_EQ(0, Edit->Cancels);
  EXPECT_EQ(1, Edit->DropDowns);
}

TEST_F(DropDownEditTest, ClientAreaAsButtonOpensOnAPressAndClosesOnTheNext) {
  auto* Edit = ShownEdit();
  Edit->ClientAreaIsButton = true;
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  EXPECT_EQ(-1, Edit->PressedButton()) << "no button of the frame is pressed";
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(1, Edit->DropDowns);
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(1, Edit->Cancels);
  EXPECT_EQ(0, Edit->Accepts);
  // The host's forwarded release of the opening click opens a closed editor too.
  Edit->HostMouseUp();
  EXPECT_EQ(2, Edit->DropDowns);
}

TEST_F(DropDownEditTest, ListAtTheWorkAreasEdgesOpensInsideIt) {
  auto* Edit = ShownEdit();
  TRect Area;
  RECT W;
  GetWindowRect(Edit->Handle(), &W);
  GetWorkAreaAt(TPoint{W.left, W.top}, Area);
  // The form moves so that the editor sits against the work area's bottom and right.
  TCustomForm* Form = GetParentForm(Host);
  Form->SetBounds(Form->Left() + Area.right - W.right - 2, Form->Top() + Area.bottom - W.bottom - 2,
                  Form->Width(), Form->Height());
  Pump();
  Edit->List->SetWidth(200);
  GetWindowRect(Edit->Handle(), &W);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->DroppedDown());
  RECT Popup;
  GetWindowRect(Edit->List->Handle(), &Popup);
  EXPECT_EQ(W.top, Popup.bottom) << "no room below: the list opens above the editor";
  EXPECT_LE(Popup.right, Area.right);
  EXPECT_GE(Popup.left, Area.left);
  EXPECT_GE(Popup.top, Area.top);
}

TEST_F(DropDownEditTest, NoHintWhileTheListIsOpen) {
  auto* Edit = ShownEdit();
  EXPECT_EQ(0, Edit->Perform(CM_HINTSHOW, 0, 0));
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_F4, 1);
  ASSERT_TRUE(Edit->IsPopupVisible());
  EXPECT_EQ(1, Edit->Perform(CM_HINTSHOW, 0, 0));
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(0, Edit->Perform(CM_HINTSHOW, 0, 0));
}

}  // namespace
