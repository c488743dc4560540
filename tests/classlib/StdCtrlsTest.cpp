// The standard controls over real windows: radio buttons and check boxes, the spin edit,
// the combo box, the edit, the list box, the speed button, the image and the image list
// as a component.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Buttons.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/Spin.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

class StdCtrlsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Clicks.clear();
    Form = ShownForm(400, 300);
  }
  template <class T>
  T* Add(const char* Name, int Left, int Top, TWinControl* Parent = nullptr) {
    T* Control = NewObject<T>(Form);
    Control->SetName(Name);
    Control->SetParent(Parent ? Parent : Form);
    Control->SetLeft(Left);
    Control->SetTop(Top);
    return Control;
  }
  TNotifyEvent Recorder() { return Handler.Event(); }
  // A user's click with the left button in the middle of a window.
  static void ClickWindow(HWND Window) {
    RECT R;
    GetClientRect(Window, &R);
    LPARAM At = MAKELPARAM(R.right / 2, R.bottom / 2);
    SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At);
    SendMessageA(Window, WM_LBUTTONUP, 0, At);
    Pump();
  }

  TForm* Form = nullptr;
  std::vector<std::string> Clicks;
  TNotifyHandler Handler{[this](TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }};
};

TEST_F(StdCtrlsTest, RadioButtonsUncheckTheirSiblingsAndClickOnAChangeOnly) {
  auto* Group = Add<TPanel>("pnlGroup", 0, 0);
  auto* A = Add<TRadioButton>("rbnA", 5, 5, Group);
  auto* B = Add<TRadioButton>("rbnB", 5, 25, Group);
  auto* Outside = Add<TRadioButton>("rbnOutside", 200, 5);
  for (TRadioButton* R : {A, B, Outside}) R->OnClick = Recorder();
  Outside->SetChecked(true);
  A->SetChecked(true);
  A->SetChecked(true);  // no change: no click
  EXPECT_EQ(Clicks, (std::vector<std::string>{"rbnOutside", "rbnA"}));
  B->SetChecked(true);
  EXPECT_FALSE(A->Checked());
  EXPECT_TRUE(Outside->Checked());  // another parent
  EXPECT_EQ(SendMessageA(A->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(B->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(B->TabStop());
  EXPECT_FALSE(A->TabStop());
  B->SetChecked(false);  // unchecking runs nothing
  EXPECT_EQ(Clicks, (std::vector<std::string>{"rbnOutside", "rbnA", "rbnB"}));

  // The user's click checks it once; a second click changes nothing.
  ClickWindow(A->Handle());
  ClickWindow(A->Handle());
  EXPECT_TRUE(A->Checked());
  EXPECT_EQ(Clicks.back(), "rbnA");
  EXPECT_EQ(Clicks.size(), 4u);
}

TEST_F(StdCtrlsTest, CheckBoxesClickOnAChangeAndTheUserTogglesThem) {
  auto* Box = Add<TCheckBox>("chkBox", 5, 5);
  Box->OnClick = Recorder();
  Box->SetChecked(false);
  EXPECT_TRUE(Clicks.empty());
  Box->SetChecked(true);
  Box->SetChecked(true);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(SendMessageA(Box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickWindow(Box->Handle());
  EXPECT_FALSE(Box->Checked());
  Box->SetAllowGrayed(true);
  ClickWindow(Box->Handle());
  ClickWindow(Box->Handle());
  EXPECT_EQ(Box->State(), cbGrayed);
  EXPECT_EQ(SendMessageA(Box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(Clicks.size(), 4u);
}

TEST_F(StdCtrlsTest, ASpinEditClampsItsValueAndReadsANonNumberAsItsMinimum) {
  auto* Spin = Add<TSpinEdit>("sedLayers", 5, 5);
  auto* Other = Add<TEdit>("edtOther", 5, 60);
  Spin->SetMinValue(2);
  Spin->SetMaxValue(32);
  Spin->SetIncrement(2);
  EXPECT_EQ(Spin->Value(), 2);  // 0 was below the range
  Spin->SetValue(40);
  EXPECT_EQ(Spin->Value(), 32);
  EXPECT_EQ(Spin->Text(), "32");
  Spin->SetValue(-5);
  EXPECT_EQ(Spin->Text(), "2");
  Spin->SetText("abc");
  EXPECT_EQ(Spin->Value(), 2);
  Spin->SetText("99");
  EXPECT_EQ(Spin->Value(), 32);
  Spin->SetText("7");
  EXPECT_EQ(Spin->Value(), 7);
  // A number too long for an integer is past the end of the range on its side.
  Spin->SetText("99999999999999");
  EXPECT_EQ(Spin->Value(), 32);
  Spin->SetText(" -99999999999999");
  EXPECT_EQ(Spin->Value(), 2);
  Spin->SetText("+99999999999999");
  EXPECT_EQ(Spin->Value(), 32);
  Spin->SetText("9999999999-9");
  EXPECT_EQ(Spin->Value(), 2);
  Spin->SetText("7");

  // The Up key and the upper arrow add the increment, the Down key takes it.
  Spin->SetFocus();
  Pump();
  PostMessageA(Spin->Handle(), WM_KEYDOWN, VK_UP, 1);
  Pump();
  EXPECT_EQ(Spin->Value(), 9);
  PostMessageA(Spin->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(Spin->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump();
  EXPECT_EQ(Spin->Value(), 5);
  ASSERT_NE(Spin->UpDownHandle(), nullptr);
  RECT Arrows;
  GetClientRect(Spin->UpDownHandle(), &Arrows);
  LPARAM Upper = MAKELPARAM(Arrows.right / 2, 2);
  SendMessageA(Spin->UpDownHandle(), WM_LBUTTONDOWN, MK_LBUTTON, Upper);
  SendMessageA(Spin->UpDownHandle(), WM_LBUTTONUP, 0, Upper);
  Pump();
  EXPECT_EQ(Spin->Value(), 7);

  // Only digits and a sign can be typed; leaving puts the text back into range.
  PostMessageA(Spin->Handle(), WM_CHAR, 'x', 1);
  Pump();
  EXPECT_EQ(Spin->Text(), "7");
  Spin->SetText("100");
  Other->SetFocus();
  Pump();
  EXPECT_EQ(Spin->Text(), "32");
}

TEST_F(StdCtrlsTest, AComboBoxSelectsByIndexAndReportsTheUsersChoiceOnly) {
  auto* Combo = NewObject<TComboBox>(Form);
  Combo->SetName("cbxLayer");
  Combo->SetStyle(csDropDownList);
  Combo->Items()->Add("None");
  Combo->Items()->Add("Mechanical 1");
  Combo->SetItemIndex(1);  // before the window exists
  Combo->SetParent(Form);
  int Changes = 0;
  TNotifyHandler OnChange([&](TObject*) { ++Changes; });
  Combo->OnChange = OnChange.Event();
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Combo->Text(), "Mechanical 1");
  Combo->Items()->Add("Mechanical 2");
  EXPECT_EQ(SendMessageA(Combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  Combo->SetItemIndex(Combo->Items()->IndexOf("None"));
  EXPECT_EQ(Combo->Text(), "None");
  EXPECT_EQ(Changes, 0);
  // The Down key selects the next item, as the user's choice.
  Combo->SetFocus();
  Pump();
  PostMessageA(Combo->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump();
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Changes, 1);
  // The items and the selection survive a new window.
  Combo->SetStyle(csDropDown);
  EXPECT_EQ(SendMessageA(Combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_LT(Combo->Height(), 40);  // the closed height, not the open list's
}

TEST_F(StdCtrlsTest, AnEditReportsEveryChangeAndTogglesItsBorder) {
  auto* Edit = Add<TEdit>("edtName", 5, 5);
  int Changes = 0;
  TNotifyHandler OnChange([&](TObject*) { ++Changes; });
  Edit->OnChange = OnChange.Event();
  Edit->SetText("abc");
  EXPECT_EQ(Changes, 1);
  Edit->SetFocus();
  Pump();
  Edit->SetSelStart(3);
  PostMessageA(Edit->Handle(), WM_CHAR, 'd', 1);
  Pump();
  EXPECT_EQ(Edit->Text(), "abcd");
  EXPECT_EQ(Changes, 2);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_NE(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  Edit->SetBorderStyle(bsNone);
  EXPECT_EQ(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(Edit->Text(), "abcd");
  EXPECT_TRUE(Edit->Modified());
}

// Binds a lambda as a key event.
class TKeyHandler : public TObject {
 public:
  explicit TKeyHandler(std::function<void(Word&)> AFn) : Fn(std::move(AFn)) {}
  void Run(TObject*, Word& Key, TShiftState) { Fn(Key); }
  TKeyEvent Event() { return TKeyEvent::Bind<&TKeyHandler::Run>(this); }
  std::function<void(Word&)> Fn;
};

// An edit whose window the system refuses to make while Refuse is set.
class TRefusedEdit : public TEdit {
 public:
  using TEdit::TEdit;
  bool Refuse = false;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override {
    if (!Refuse) TEdit::CreateWindowHandle(Params);
  }
};

// The system makes no window with a caption of 32,767 characters or more, and cuts one
// of 65,536 or more: an edit made, or made again, with a longer text keeps its window
// and all its text, and making the window is no change of the text.
TEST_F(StdCtrlsTest, AnEditMadeWithATextPastTheCaptionLimitKeepsItsWindowAndText) {
  for (std::size_t Length : {32767u, 40000u, 70000u}) {
    auto* Edit = NewObject<TEdit>(Form);
    int Changes = 0;
    TNotifyHandler OnChange([&](TObject*) { ++Changes; });
    Edit->OnChange = OnChange.Event();
    const std::string Long(Length, 'x');
    Edit->SetText(Long);
    Edit->SetParent(Form);
    Edit->HandleNeeded();
    ASSERT_TRUE(Edit->HandleAllocated()) << Length;
    EXPECT_EQ(Edit->Text().size(), Length);
    Edit->SetBorderStyle(bsNone);
    ASSERT_TRUE(Edit->HandleAllocated()) << Length;
    EXPECT_EQ(Edit->Text().size(), Length);
    EXPECT_EQ(Changes, 1) << Length;
    Edit->Free();
  }
  EXPECT_TRUE(Log->Messages.empty());
}

// A window that cannot be made: the control keeps its text, the failure is reported
// once through the application, a later key whose handling needs the window raises
// nothing more, and the next change that makes the window makes it.
TEST_F(StdCtrlsTest, AFailureToMakeAWindowIsReportedOnceAndTheNextUseMakesIt) {
  auto* Edit = Add<TRefusedEdit>("edtRefused", 5, 5);
  Edit->SetText("kept");
  Edit->HandleNeeded();
  Edit->Refuse = true;
  EXPECT_NO_THROW(Edit->SetBorderStyle(bsNone));
  EXPECT_FALSE(Edit->HandleAllocated());
  EXPECT_EQ(Edit->Text(), "kept");
  ASSERT_EQ(Log->Messages.size(), 1u);
  TKeyHandler AsksForTheWindow([&](Word&) { Edit->SelStart(); });
  Form->OnKeyDown = AsksForTheWindow.Event();
  for (int Key = 0; Key < 3; ++Key) SendMessageA(Form->Handle(), WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(Log->Messages.size(), 1u);
  EXPECT_FALSE(Edit->HandleAllocated());
  Edit->Refuse = false;
  Edit->SetBorderStyle(bsSingle);
  ASSERT_TRUE(Edit->HandleAllocated());
  EXPECT_EQ(Edit->Text(), "kept");
  EXPECT_NE(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  SendMessageA(Form->Handle(), WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(Log->Messages.size(), 1u);
  Form->OnKeyDown = nullptr;
  // A control without a parent that gets no window on a new one stays without one, in
  // its own font.
  auto* Orphan = NewObject<TRefusedEdit>(Form);
  const int Height = Orphan->Font()->Height();
  Form->Font()->SetHeight(Height - 4);
  Orphan->Refuse = true;
  EXPECT_THROW(Orphan->SetParent(Form), EOSError);
  EXPECT_EQ(Orphan->Parent(), nullptr);
  EXPECT_EQ(Orphan->Font()->Height(), Height);
  // One that gets no window on a new parent stays on its old one where it was, among its
  // siblings and in the tab order.
  auto* Panel = Add<TPanel>("pnlRefused", 5, 40);
  Add<TEdit>("edtBefore", 5, 5, Panel);
  auto* Between = Add<TRefusedEdit>("edtBetween", 5, 30, Panel);
  auto* After = Add<TEdit>("edtAfter", 5, 55, Panel);
  Between->Refuse = true;
  EXPECT_THROW(Between->SetParent(Form), EOSError);
  EXPECT_EQ(Between->Parent(), Panel);
  EXPECT_EQ(Panel->Controls(1), Between);
  EXPECT_EQ(Between->TabOrder(), 1);
  Between->Refuse = false;
  EXPECT_EQ(GetWindow(Between->Handle(), GW_HWNDPREV), After->Handle());
}

TEST_F(StdCtrlsTest, AnOwnerDrawnListBoxMeasuresAndDrawsEachItem) {
  auto* List = NewObject<TListBox>(Form);
  List->SetStyle(lbOwnerDrawVariable);
  List->Items()->Add("short");
  List->Items()->Add("tall");
  std::vector<int> Drawn;
  struct THandlers : TObject {
    std::vector<int>* Drawn;
    void Measure(TWinControl*, int Index, int& Height) { Height = Index == 1 ? 40 : 12; }
    void Draw(TWinControl*, int Index, const TRect&, TOwnerDrawState) { Drawn->push_back(Index); }
  } Handlers;
  Handlers.Drawn = &Drawn;
  List->OnMeasureItem = TMeasureItemEvent::Bind<&THandlers::Measure>(&Handlers);
  List->OnDrawItem = TDrawItemEvent::Bind<&THandlers::Draw>(&Handlers);
  List->SetParent(Form);
  List->SetBounds(5, 5, 150, 100);
  List->Repaint();
  Pump();
  EXPECT_EQ(List->ItemRect(0).bottom - List->ItemRect(0).top, 12);
  EXPECT_EQ(List->ItemRect(1).bottom - List->ItemRect(1).top, 40);
  EXPECT_EQ(List->ItemAtPos(Point(10, 30), true), 1);
  EXPECT_EQ(List->ItemAtPos(Point(10, 90), true), -1);
  EXPECT_NE(std::find(Drawn.begin(), Drawn.end(), 1), Drawn.end());
}

TEST_F(StdCtrlsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
  auto* Bar = Add<TPanel>("pnlBar", 0, 0);
  auto MakeButton = [&](const char* Name, int Left) {
    auto* Button = NewObject<TSpeedButton>(Form);
    Button->SetName(Name);
    Button->SetParent(Bar);
    Button->SetBounds(Left, 5, 23, 22);
    Button->SetGroupIndex(1);
    Button->OnClick = Recorder();
    return Button;
  };
  TSpeedButton* First = MakeButton("sbnFirst", 5);
  TSpeedButton* Second = MakeButton("sbnSecond", 30);
  // Clicks with the mouse on the parent's window, over each button.
  auto ClickAt = [&](int X) {
    SendMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, 10));
    SendMessageA(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, 10));
    Pump();
  };
  ClickAt(10);
  EXPECT_TRUE(First->Down());
  ClickAt(35);
  EXPECT_TRUE(Second->Down());
  EXPECT_FALSE(First->Down());
  ClickAt(35);  // without AllowAllUp one stays down
  EXPECT_TRUE(Second->Down());
  EXPECT_EQ(Clicks, (std::vector<std::string>{"sbnFirst", "sbnSecond", "sbnSecond"}));
}

TEST_F(StdCtrlsTest, AnImageScalesItsPictureIntoItsBoundsKeepingTheShape) {
  auto* Image = NewObject<TImage>(Form);
  Image->SetBounds(0, 0, 100, 50);
  Image->Picture()->Bitmap()->SetSize(40, 40);
  EXPECT_EQ(Image->DestRect(), Rect(0, 0, 40, 40));
  Image->SetProportional(true);
  Image->Picture()->Bitmap()->SetSize(200, 50);
  EXPECT_EQ(Image->DestRect(), Rect(0, 12, 100, 37));
  Image->SetStretch(true);
  Image->Picture()->Bitmap()->SetSize(10, 50);
  EXPECT_EQ(Image->DestRect(), Rect(45, 0, 55, 50));
  // The canvas draws on the picture's bitmap; another graphic has none.
  Image->Canvas()->Pixels(0, 0);
  Image->Picture()->Metafile();
  ExpectRaises<EInvalidOperation>([&] { Image->Canvas(); }, SImageCanvasNeedsBitmap);
}

TEST_F(StdCtrlsTest, AnImageListIsAComponentWhoseImagesAFormFileKeeps) {
  TOwned<TForm> Holder(NewObject<TForm>(nullptr, CreateNew));
  auto* List = NewObject<TImageList>(Holder.get());
  List->SetName("imlIcons");
  EXPECT_EQ(List->Owner(), Holder.get());
  TOwned<TBitmap> Image(NewObject<TBitmap>(32, 16));
  Image->Canvas()->Brush()->SetColor(clFuchsia);
  Image->Canvas()->FillRect(Rect(0, 0, 32, 16));
  Image->Canvas()->Brush()->SetColor(clRed);
  Image->Canvas()->FillRect(Rect(20, 4, 28, 12));
  List->AddMasked(Image.get(), clFuchsia);
  ASSERT_EQ(List->Count(), 2);

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), WriteComponentText(Holder.get()), "copy");
  auto* Read = ObjectAs<TImageList>(Copy->FindComponent("imlIcons"));
  ASSERT_NE(Read, nullptr);
  ASSERT_EQ(Read->Count(), 2);
  TOwned<TBitmap> Target(NewObject<TBitmap>(16, 16));
  Target->Canvas()->Brush()->SetColor(clGreen);
  Target->Canvas()->FillRect(Rect(0, 0, 16, 16));
  Read->Draw(Target->Canvas(), 0, 0, 1);
  EXPECT_EQ(Target->Canvas()->Pixels(8, 8), clRed);
  EXPECT_EQ(Target->Canvas()->Pixels(1, 1), clGreen);  // the mask came along
}

}  // namespace
