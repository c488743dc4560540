// The editors' drop-down window: its border and shadow band, clicks that reach it and
// never take the activation, the editor's form kept active, and the closed
// notification to its editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "editors/dxCntner_Popup.h"
#include "tests/editors/CursorSupport.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

// A form that notes the WM_NCACTIVATE messages it receives.
class TCaptionForm : public TForm {
  TCLASS_DECL(TCaptionForm, TForm)
 public:
  using TForm::TForm;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_NCACTIVATE) Captions.push_back(Message.WParam != 0);
    TForm::Dispatch(Message);
  }
  std::vector<bool> Captions;
};

// An editor that counts the closed notifications of its popup.
class TDropEdit : public TTestEdit {
  TCLASS_DECL(TDropEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_DXPOPUPCLOSED) ++Closed;
    TTestEdit::Dispatch(Message);
  }
  int Closed = 0;
};

// A drop-down as the editors make them, noting the presses that reach it.
class TTestPopup : public TdxInplacePopupControl {
  TCLASS_DECL(TTestPopup, TdxInplacePopupControl)
 public:
  explicit TTestPopup(TComponent* AOwner) : TdxInplacePopupControl(AOwner) { SetIsPopup(true); }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDOWN) ++Presses;
    TdxInplacePopupControl::Dispatch(Message);
  }
  int Presses = 0;
};

}  // namespace

TCLASS_IMPL(TCaptionForm)
TCLASS_IMPL(TDropEdit)
TCLASS_IMPL(TTestPopup)

namespace {

class PopupControlTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Form = Keep(NewObject<TCaptionForm>(nullptr));
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 300, 200);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Pump();
    Edit = NewObject<TDropEdit>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 100, 20);
    Edit->HandleNeeded();
    Popup = NewObject<TTestPopup>(Form);
    Popup->SetEditor(Edit);
  }
  // The popup at (X, Y) on the screen, W x H with its border and shadow, shown.
  void ShowAt(int X, int Y, int W, int H) {
    Popup->SetBounds(X, Y, W, H);
    Popup->ShowPopup();
    Pump();
  }
  RECT WindowRect() {
    RECT R;
    GetWindowRect(Popup->Handle(), &R);
    return R;
  }

  TCaptionForm* Form = nullptr;
  TDropEdit* Edit = nullptr;
  TTestPopup* Popup = nullptr;
};

TEST_F(PopupControlTest, IsAPopupOwnedByTheEditorsForm) {
  ShowAt(100, 300, 80, 60);
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
  EXPECT_EQ(Form->Handle(), GetWindow(Popup->Handle(), GW_OWNER));
  EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongA(Popup->Handle(), GWL_STYLE) & (WS_POPUP | WS_CHILD));
}

TEST_F(PopupControlTest, TheBorderKindsNarrowTheClientArea) {
  const struct {
    TdxPopupBorder Border;
    int Width;
  } Cases[] = {{pbDefault, 0}, {pbSingle, 1}, {pbFrame3D, 4}, {pbFlat, 2}};
  for (const auto& Case : Cases) {
    Popup->SetPopupBorder(Case.Border);
    ShowAt(100, 300, 80, 60);
    RECT Client;
    GetClientRect(Popup->Handle(), &Client);
    EXPECT_EQ(80 - 2 * Case.Width, Client.right) << Case.Border;
    EXPECT_EQ(60 - 2 * Case.Width, Client.bottom) << Case.Border;
    POINT Origin{0, 0};
    ClientToScreen(Popup->Handle(), &Origin);
    EXPECT_EQ(100 + Case.Width, Origin.x) << Case.Border;
  }
}

TEST_F(PopupControlTest, WithShadowTheWindowIsTwoPixelsLargerRightAndBelow) {
  Popup->SetPopupBorder(pbSingle);
  Popup->SetShadow(true);
  ShowAt(100, 300, 80, 60);
  RECT Client;
  GetClientRect(Popup->Handle(), &Client);
  RECT W = WindowRect();
  EXPECT_EQ(W.right - W.left, Client.right + 2 * 1 + 2);
  EXPECT_EQ(W.bottom - W.top, Client.bottom + 2 * 1 + 2);
  POINT Origin{0, 0};
  ClientToScreen(Popup->Handle(), &Origin);
  EXPECT_EQ(W.left + 1, Origin.x);
  EXPECT_EQ(W.top + 1, Origin.y);
}

TEST_F(PopupControlTest, AClickInTheShadowBandReachesThePopup) {
  Popup->SetPopupBorder(pbFlat);
  Popup->SetShadow(true);
  ShowAt(100, 300, 80, 60);
  RECT W = WindowRect();
  // The band along the right and the bottom belongs to the window.
  EXPECT_EQ(Popup->Handle(), WindowFromPoint(POINT{W.right - 1, W.top + 30}));
  EXPECT_EQ(Popup->Handle(), WindowFromPoint(POINT{W.left + 40, W.bottom - 1}));
  EXPECT_EQ(Popup->Handle(), WindowFromPoint(POINT{W.right - 1, W.bottom - 1}));
  // The corners the shadow leaves out belong to the window below.
  EXPECT_NE(Popup->Handle(), WindowFromPoint(POINT{W.right - 1, W.top}));
  EXPECT_NE(Popup->Handle(), WindowFromPoint(POINT{W.left, W.bottom - 1}));

  // Without a shadow the window has no region.
  Popup->SetShadow(false);
  ShowAt(100, 300, 80, 60);
  W = WindowRect();
  EXPECT_EQ(Popup->Handle(), WindowFromPoint(POINT{W.right - 1, W.top}));
}

TEST_F(PopupControlTest, TheShadowBandIsPaintedInTheShadowColour) {
  Popup->SetPopupBorder(pbSingle);
  Popup->SetShadow(true);
  ShowAt(100, 300, 80, 60);
  RedrawWindow(Popup->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC DC = GetWindowDC(Popup->Handle());
  const COLORREF Band = GetPixel(DC, 79, 30);
  const COLORREF Bottom = GetPixel(DC, 40, 59);
  ReleaseDC(Popup->Handle(), DC);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Band);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Bottom);
}

TEST_F(PopupControlTest, AClickInsideLeavesTheEditorsFormActive) {
  ShowAt(100, 300, 80, 60);
  // Shown, the popup keeps the form's caption active.
  ASSERT_FALSE(Form->Captions.empty());
  EXPECT_TRUE(Form->Captions.back());
  Form->Captions.clear();
  HWND Active = GetActiveWindow();

  EXPECT_EQ(MA_NOACTIVATE, SendMessageA(Popup->Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Form->Handle()),
                                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
  // A press of the real mouse in the middle of it.
  ASSERT_TRUE(RealClick(130, 330));
  uitest::PumpUntil([&] { return Popup->Presses > 0; }, 10000);
  Pump();
  EXPECT_EQ(1, Popup->Presses);
  EXPECT_EQ(Active, GetActiveWindow());
  for (bool Caption : Form->Captions) EXPECT_TRUE(Caption);
}

TEST_F(PopupControlTest, AnotherWindowTakingTheActivationTurnsTheFormsCaptionInactive) {
  ShowAt(100, 300, 80, 60);
  Form->Captions.clear();
  // Back to the editor's form: nothing for its caption.
  SendMessageA(Popup->Handle(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Form->Handle()));
  EXPECT_TRUE(Form->Captions.empty());
  // Another window: the form's caption turns inactive.
  SendMessageA(Popup->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(std::vector<bool>{false}, Form->Captions);
}

TEST_F(PopupControlTest, ClosingPostsTheClosedNotificationAlsoWhenHidden) {
  ShowAt(100, 300, 80, 60);
  Popup->ClosePopup();
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
  EXPECT_EQ(0, Edit->Closed);  // posted, not sent
  Pump();
  EXPECT_EQ(1, Edit->Closed);

  Popup->ClosePopup();
  Pump();
  EXPECT_EQ(2, Edit->Closed);
}

TEST_F(PopupControlTest, LosingTheFocusClosesThePopup) {
  ShowAt(100, 300, 80, 60);
  ::SetFocus(Popup->Handle());
  ::SetFocus(Edit->Handle());
  Pump();
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
  EXPECT_EQ(1, Edit->Closed);
}

}  // namespace
