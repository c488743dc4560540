// The kit's menu bar on real windows: its height from its items, the etched line on
// the side facing the client area, Alt with a letter opening that item's sub-menu
// (keys posted from a timer while the bar tracks), the child-window buttons of a
// multiple-document main form (laid out, painted and clicked with a real maximized
// child), the frame asking the bar for shortcuts, and the bar's items in form files.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Menus.h"
#include "classlib/StrUtils.h"
#include "skin/KsControlBar.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"
#include "skin/KsPopup.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeMenus.h"
#include "tests/skin/KitUiSupport.h"
#include "tests/support/CursorSupport.h"

using namespace kittest;

namespace {

TKsCustomItem* NewItem(const char* Caption, TKsCustomItem* Parent) {
  auto* Item = NewObject<TKsCustomItem>(Parent->Owner());
  Item->SetCaption(Caption);
  Parent->Add(Item);
  return Item;
}

class TClickCount : public TObject {
 public:
  void Clicked(TObject*) { ++Clicks; }
  int Clicks = 0;
};

// A bar whose form file has been read.
class TLoadedBar : public TKsCustomMenuBar {
 public:
  explicit TLoadedBar(TComponent* AOwner) : TKsCustomMenuBar(AOwner) {}
  void ReadDone() { Loaded(); }
};

// A frame whose form file has been read: it hooks the form's shortcuts.
class TLoadedFrame : public TKsCustomForm {
 public:
  explicit TLoadedFrame(TComponent* AOwner) : TKsCustomForm(AOwner) {}
  void ReadDone() { Loaded(); }
};

class KsMenuBarTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    PlaceCursor(1000, 700);  // away from the bar and its popups
    Form = ShownForm(400, 300);
  }
  void TearDown() override {
    Steps.clear();
    UiTest::TearDown();
  }
  TKsCustomMenuBar* AddBar(TAlign Align) {
    auto* Bar = NewObject<TKsCustomMenuBar>(Form);
    Bar->SetAlign(Align);
    Bar->SetParent(Form);
    File = NewItem("&File", Bar->Items());
    NewItem("&Open", File);
    Edit = NewItem("&Edit", Bar->Items());
    NewItem("Cu&t", Edit);
    Bar->View()->UpdateSize();
    return Bar;
  }

  TForm* Form = nullptr;
  TKsCustomItem* File = nullptr;
  TKsCustomItem* Edit = nullptr;
};

TEST_F(KsMenuBarTest, TheBarTakesItsItemsHeightAndEtchesTheSideFacingTheClient) {
  auto* Top = AddBar(alTop);
  auto* Bottom = AddBar(alBottom);
  EXPECT_EQ(Top->GetBarClientRect(), (TRect{0, 0, 400, Top->Height() - 2}));
  EXPECT_EQ(Bottom->GetBarClientRect(), (TRect{0, 2, 400, Bottom->Height()}));
  const TRect Item = Top->View()->GetItemRect(File);
  EXPECT_GT(Item.bottom - Item.top, 0);
  EXPECT_EQ(Top->Height(), Item.bottom - Item.top + 2);
  EXPECT_EQ(Bottom->Top(), 300 - Bottom->Height());

  PaintNow(Form);
  PaintNow(Top);
  PaintNow(Bottom);
  const COLORREF Shadow = ColorToRGB(clBtnShadow), Highlight = ColorToRGB(clBtnHighlight);
  ASSERT_NE(Shadow, Highlight);
  const int H = Top->Height();
  EXPECT_EQ(ScreenPixel(Top->Handle(), 300, H - 2), Shadow);
  EXPECT_EQ(ScreenPixel(Top->Handle(), 300, H - 1), Highlight);
  EXPECT_EQ(ScreenPixel(Top->Handle(), 300, 0), static_cast<COLORREF>(ColorToRGB(clMenu)));
  EXPECT_EQ(ScreenPixel(Bottom->Handle(), 300, 0), Shadow);
  EXPECT_EQ(ScreenPixel(Bottom->Handle(), 300, 1), Highlight);
  EXPECT_EQ(ScreenPixel(Bottom->Handle(), 300, H - 1), static_cast<COLORREF>(ColorToRGB(clMenu)));

  // Without AutoSize the bar keeps the height it is given.
  Top->SetAutoSize(false);
  Top->SetBounds(0, 0, 400, 40);
  Top->View()->UpdateSize();
  EXPECT_EQ(Top->Height(), 40);
}

TEST_F(KsMenuBarTest, AltAndALetterOpensThatItemsSubMenu) {
  auto* Bar = AddBar(alTop);
  int Shown = -1;
  TKsCustomItem* ShownItem = nullptr;
  StartSteps({[&] {
                // Alt is bit 29 of the key data.
                PostMessageA(Form->Handle(), WM_SYSCHAR, 'e', (1 << 29) | 1);
              },
              When([] { return PopupWindowCount() > 0 && PopupWindows(0)->View()->Tracking(); },
                   [&] {
                     Shown = PopupWindowCount();
                     ShownItem = PopupWindows(0)->View()->Items();
                     PostMessageA(PopupWindows(0)->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
                   }),
              When([] { return PopupWindowCount() == 0; },
                   [&] { PostMessageA(Bar->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); })});
  PumpUntil(StepsDone, 2 * StepPatienceMs);
  PumpUntil([&] { return !Bar->View()->Tracking() && PopupWindowCount() == 0; });
  EXPECT_EQ(Shown, 1);
  EXPECT_EQ(ShownItem, Edit);
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_FALSE(Bar->View()->Tracking());

  // A letter no item has, or one without Alt, is not the bar's.
  EXPECT_EQ(Bar->Perform(CM_DIALOGCHAR, 'x', 1 << 29), 0);
  EXPECT_EQ(Bar->Perform(CM_DIALOGCHAR, 'e', 0), 0);
}

TEST_F(KsMenuBarTest, ChildWindowButtonsOnlyOnAMultipleDocumentMainForm) {
  auto* Plain = NewObject<TLoadedBar>(Form);
  Plain->SetParent(Form);
  NewItem("&File", Plain->Items());
  Plain->ReadDone();
  EXPECT_EQ(Plain->CloseButton(), nullptr);
  EXPECT_FALSE(Plain->Items()->Items(0)->InControlBar());
  // In a control bar its items know it.
  auto* Bands = NewObject<TKsCustomControlBar>(Form);
  Bands->SetParent(Form);
  Plain->SetParent(Bands);
  Plain->ReadDone();
  EXPECT_TRUE(Plain->Items()->Items(0)->InControlBar());

  TOwned<TForm> Main(NewObject<TForm>(nullptr));
  Main->SetFormStyle(fsMDIForm);
  auto* Bar = NewObject<TLoadedBar>(Main.get());
  Bar->SetParent(Main.get());
  NewItem("&File", Bar->Items());
  Bar->ReadDone();
  ASSERT_NE(Bar->CloseButton(), nullptr);
  EXPECT_EQ(Bar->Items()->Items(0), Bar->IconButton());
  EXPECT_EQ(Bar->Items()->Count(), 5);
  EXPECT_FALSE(Bar->CloseButton()->Visible());

  auto* Child = NewObject<TForm>(nullptr);
  Bar->ShowMDIButtons(Child);
  EXPECT_TRUE(Bar->CloseButton()->Visible());
  EXPECT_EQ(Bar->MDIChild(), Child);
  EXPECT_EQ(Bar->Items()->Items(1)->MDIChild(), Child);
  Child->Free();  // the bar hears of it and hides the buttons
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  EXPECT_FALSE(Bar->MinimizeButton()->Visible());
}

TEST_F(KsMenuBarTest, TheFrameAsksTheBarForShortcutsFirst) {
  auto* Bar = AddBar(alTop);
  TKsCustomItem* Open = File->Items(0);
  Open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
  auto* Count = Keep(NewObject<TClickCount>());
  Open->OnClick = TNotifyEvent::Bind<&TClickCount::Clicked>(Count);
  auto* Frame = NewObject<TLoadedFrame>(Form);
  Frame->SetMinimizeApplication(false);
  Frame->SetActive(true);
  Frame->SetMenuBar(Bar);
  Frame->ReadDone();
  Pump();
  TMessage Key{WM_KEYDOWN, 'O', 0, 0};
  HeldKeys = {VK_CONTROL};
  EXPECT_TRUE(Form->IsShortCut(Key));
  HeldKeys.clear();
  Pump();
  EXPECT_EQ(Count->Clicks, 1);

  // A frame made in code, never loaded, asks its bar too, and then the form's own handler.
  TOwned<TForm> Other(NewObject<TForm>(nullptr, CreateNew));
  Other->SetBounds(300, 200, 300, 200);
  struct TOwnHandler : TObject {
    int Keys = 0;
    void ShortCut(TMessage&, bool&) { ++Keys; }
  } Own;
  Other->OnShortCut = TShortCutEvent::Bind<&TOwnHandler::ShortCut>(&Own);
  auto* OtherBar = NewObject<TKsCustomMenuBar>(Other.get());
  OtherBar->SetParent(Other.get());
  TKsCustomItem* OtherFile = NewItem("&File", OtherBar->Items());
  TKsCustomItem* Save = NewItem("&Save", OtherFile);
  Save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  Save->OnClick = TNotifyEvent::Bind<&TClickCount::Clicked>(Count);
  auto* CodeFrame = NewObject<TKsCustomForm>(Other.get());
  CodeFrame->SetMinimizeApplication(false);
  CodeFrame->SetActive(true);
  CodeFrame->SetMenuBar(OtherBar);
  Other->Show();
  Pump();
  TMessage SaveKey{WM_KEYDOWN, 'S', 0, 0};
  HeldKeys = {VK_CONTROL};
  EXPECT_TRUE(Other->IsShortCut(SaveKey));
  TMessage Plain{WM_KEYDOWN, 'Q', 0, 0};
  EXPECT_FALSE(Other->IsShortCut(Plain));
  HeldKeys.clear();
  Pump();
  EXPECT_EQ(Count->Clicks, 2);
  EXPECT_EQ(Own.Keys, 1) << "keys the bar does not take reach the form's own handler";
}

// How often Word stands in Text.
int Occurrences(const AnsiString& Text, const AnsiString& Word) {
  int Count = 0;
  for (std::size_t At = Text.find(Word); At != AnsiString::npos; At = Text.find(Word, At + 1)) ++Count;
  return Count;
}

TEST_F(KsMenuBarTest, ABarMadeInCodeHandsItsReadingOrderToItsItems) {
  auto* Bar = AddBar(alTop);
  Bar->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(File->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(Edit->BiDiMode(), bdRightToLeft);
  TKsCustomItem* Help = NewItem("&Help", Bar->Items());
  EXPECT_EQ(Help->BiDiMode(), bdRightToLeft);
  // From the form, as a parent's reading order reaches its controls.
  Form->SetBiDiMode(bdLeftToRight);
  Bar->SetParentBiDiMode(true);
  EXPECT_EQ(Bar->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(File->BiDiMode(), bdLeftToRight);
}

TEST_F(KsMenuBarTest, AFormFileHoldsEachItemOnceAndReadsBackTheSameTree) {
  const char* Source =
      "form frmBar: TForm\n"
      "  component mnuBar: TKsCustomMenuBar\n"
      "    component mnuFile: TKsCustomItem\n"
      "      Caption = \"&File\"\n"
      "      component mnuOpen: TKsCustomItem\n"
      "        Caption = \"&Open\"\n"
      "      end\n"
      "    end\n"
      "    component mnuHelp: TKsCustomItem\n"
      "      Caption = \"&Help\"\n"
      "    end\n"
      "  end\n"
      "end\n";
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(), Source, "bar");
  const AnsiString Text = WriteComponentText(Root.get());
  for (const char* Name : {"mnuFile", "mnuOpen", "mnuHelp"})
    EXPECT_EQ(Occurrences(Text, Name), 1) << Name << "\n" << Text;
  EXPECT_EQ(Occurrences(Text, "existing"), 0) << Text;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Bar = ObjectAs<TKsCustomMenuBar>(Copy->FindComponent("mnuBar"));
  auto* File = ObjectAs<TKsCustomItem>(Copy->FindComponent("mnuFile"));
  ASSERT_TRUE(Bar && File);
  int TopItems = 0;
  for (int I = 0; I < Bar->Items()->Count(); ++I) TopItems += Bar->Items()->Items(I)->MDIButtonKind() == 0;
  EXPECT_EQ(TopItems, 2);
  EXPECT_EQ(File->Count(), 1);
  EXPECT_EQ(File->Items(0)->Name(), "mnuOpen");
}

TEST_F(KsMenuBarTest, AFormFileKeepsTheBarsAlignmentWhateverItIs) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  const std::pair<const char*, TAlign> Bars[] = {
      {"mnuNone", alNone}, {"mnuTop", alTop}, {"mnuBottom", alBottom}};
  for (const auto& [Name, Align] : Bars) {
    auto* Bar = NewObject<TKsCustomMenuBar>(Root.get());
    Bar->SetName(Name);
    Bar->SetParent(Root.get());
    Bar->SetAlign(Align);
  }
  const AnsiString Text = WriteComponentText(Root.get());
  EXPECT_EQ(Occurrences(Text, "Align = alTop"), 0) << "the bar's own default\n" << Text;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  for (const auto& [Name, Align] : Bars) {
    auto* Bar = ObjectAs<TKsCustomMenuBar>(Copy->FindComponent(Name));
    ASSERT_NE(Bar, nullptr) << Name;
    EXPECT_EQ(Bar->Align(), Align) << Name;
  }
}

// ---------------------------------------------------------------------------------
// The buttons of a maximized child window on the main form's bar: a kit MDI parent with
// the bar and two kit MDI children

class KsMenuBarChildButtonsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    PlaceCursor(1000, 700);  // the mouse is made of messages
    SavedMainForm = Application->MainForm();
    Main = NewObject<TForm>(nullptr, CreateNew);
    Main->SetFormStyle(fsMDIForm);
    Main->SetCaption("Parent");
    Main->SetBounds(40, 30, 500, 400);
    Bar = MakeBar(Main);
    Bar->SetParent(Main);
    AddItems();
    ReadBar();
    auto* MainFrame = NewObject<TKsCustomForm>(Main);
    MainFrame->SetActive(true);
    MainFrame->SetMenuBar(Bar);
    Application->SetMainForm(Main);
    Main->Show();
    Pump();
    for (int I = 0; I < 2; ++I) Frames[I] = NewChild(I == 0 ? "Child 1" : "Child 2", 20 + 40 * I);
  }
  void TearDown() override {
    Steps.clear();
    for (TKsCustomForm* Frame : Frames)
      if (Frame) Frame->Owner()->Free();
    FreeObject(Main);
    Application->SetMainForm(SavedMainForm);
    UiTest::TearDown();
  }
  virtual TLoadedBar* MakeBar(TForm* Form) { return NewObject<TLoadedBar>(Form); }
  virtual void AddItems() {
    File = NewBarItem("&File", Bar->Items());
    NewBarItem("&Open", File);
    Edit = NewBarItem("&Edit", Bar->Items());
  }
  // As after reading the bar from a form file.
  virtual void ReadBar() { Bar->ReadDone(); }
  // An item of the bar's item class.
  TKsCustomItem* NewBarItem(const char* Caption, TKsCustomItem* Parent) {
    auto* Item = static_cast<TKsCustomItem*>(AsComponentClass(Bar->GetItemClass())->Create(Main));
    Item->SetCaption(Caption);
    Parent->Add(Item);
    return Item;
  }
  TKsCustomForm* NewChild(const char* Caption, int Left) {
    auto* Child = NewObject<TForm>(nullptr, CreateNew);
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption(Caption);
    Child->SetBounds(Left, 30, 220, 160);
    auto* Frame = NewObject<TKsCustomForm>(Child);
    Frame->SetActive(true);
    Child->Show();
    Pump();
    return Frame;
  }
  TForm* Child(int I) const { return static_cast<TForm*>(Frames[I]->Owner()); }
  void Activate(int I) {
    SendMessageA(Main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child(I)->Handle()), 0);
    Pump();
  }
  // Activated and maximized through the child's frame, which hands the bar its buttons.
  void Maximize(int I) {
    Activate(I);
    if (Frames[I]->WindowState() != kwsMaximized) Frames[I]->Maximize();
    Pump();
  }
  TRect RectOf(TKsCustomItem* Item) { return Bar->View()->GetItemRect(Item); }
  bool ButtonsShown() {
    for (TKsCustomItem* B : {Bar->IconButton(), Bar->MinimizeButton(), Bar->RestoreButton(), Bar->CloseButton()})
      if (!B->Visible()) return false;
    return true;
  }
  // How many pixels of R on the bar's window are not the menu colour.
  int InkIn(const TRect& R) {
    PaintNow(Bar);
    const COLORREF Menu = ColorToRGB(clMenu);
    int Ink = 0;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) Ink += ScreenPixel(Bar->Handle(), X, Y) != Menu;
    return Ink;
  }
  // The user's click on a button of the bar: the mouse comes onto it, presses and
  // releases (the press starts the bar's tracking, whose loop takes the rest).
  void Click(TKsCustomItem* Button) {
    const TRect R = RectOf(Button);
    const TPoint At{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
    PostMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
    for (const int X : {R.left + 1, At.x}) PostMessageA(Bar->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, At.y));
    PostMessageA(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
    Pump(50);
  }

  TCustomForm* SavedMainForm = nullptr;
  TForm* Main = nullptr;
  TLoadedBar* Bar = nullptr;
  TKsCustomItem* File = nullptr;
  TKsCustomItem* Edit = nullptr;
  TKsCustomForm* Frames[2] = {nullptr, nullptr};
};

TEST_F(KsMenuBarChildButtonsTest, AMaximizedChildsIconLeadsTheRowAndItsOtherButtonsEndIt) {
  const TRect FileAlone = RectOf(File);
  EXPECT_EQ(FileAlone.left, 0);
  EXPECT_FALSE(Bar->IconButton()->Visible());

  Maximize(0);
  ASSERT_TRUE(ButtonsShown());
  EXPECT_EQ(Bar->IconButton()->MDIChild(), Child(0));
  const TRect Icon = RectOf(Bar->IconButton());
  const int w = Icon.right - Icon.left;
  ASSERT_GT(w, 0);
  EXPECT_EQ(Icon, (TRect{0, 0, w, w})) << "a child-window button is square";
  const TRect FileRect = RectOf(File);
  EXPECT_EQ(FileRect.left, Icon.right) << "no item lies over the icon";
  EXPECT_EQ(FileRect.right - FileRect.left, FileAlone.right - FileAlone.left);
  EXPECT_EQ(RectOf(Edit).left, FileRect.right);
  const int W = Bar->Width(), H = Bar->Height();
  EXPECT_EQ(RectOf(Bar->CloseButton()), (TRect{W - w, 0, W, H}));
  EXPECT_EQ(RectOf(Bar->RestoreButton()), (TRect{W - 2 * w, 0, W - w, H}));
  EXPECT_EQ(RectOf(Bar->MinimizeButton()), (TRect{W - 3 * w, 0, W - 2 * w, H}));

  EXPECT_GT(InkIn(Icon), 0);
  EXPECT_GT(InkIn(RectOf(Bar->CloseButton())), 0);

  // The mouse finds each where it is drawn.
  const auto HotAt = [&](int X, int Y) {
    Bar->View()->HitTest(Bar->ClientToScreen(TPoint{X, Y}));
    return Bar->View()->HotItem();
  };
  EXPECT_EQ(HotAt(2, 2), Bar->IconButton());
  EXPECT_EQ(HotAt(FileRect.left + 2, 2), File);
  EXPECT_EQ(HotAt(W - 2, 2), Bar->CloseButton());
  EXPECT_EQ(HotAt(W - 3 * w + 2, 2), Bar->MinimizeButton());
  HotAt(-1, -1);

  // The other child activated brings its own buttons.
  Activate(1);
  EXPECT_EQ(Bar->MDIChild(), Child(1));
  EXPECT_EQ(Bar->CloseButton()->MDIChild(), Child(1));
  EXPECT_TRUE(ButtonsShown());

  // Restored, the bar's ends are bare again.
  Frames[1]->Restore();
  Pump();
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  EXPECT_EQ(InkIn(TRect{W - 3 * w, 0, W, H - 2}), 0);
  EXPECT_EQ(RectOf(File), FileAlone);
}

// A bar made in code: no form file ever calls its Loaded.
class KsCodeMenuBarChildButtonsTest : public KsMenuBarChildButtonsTest {
 protected:
  void ReadBar() override {}
};

TEST_F(KsCodeMenuBarChildButtonsTest, ABarMadeInCodeShowsAMaximizedChildsButtonsAndTheyAct) {
  const TRect FileAlone = RectOf(File);
  Maximize(0);
  ASSERT_TRUE(Bar->IconButton() && Bar->MinimizeButton() && Bar->RestoreButton() && Bar->CloseButton());
  ASSERT_TRUE(ButtonsShown());
  EXPECT_EQ(Bar->Items()->Items(0), Bar->IconButton());
  EXPECT_EQ(Bar->Items()->Count(), 6);
  EXPECT_EQ(Bar->CloseButton()->MDIChild(), Child(0));
  const int W = Bar->Width(), H = Bar->Height();
  const TRect Close = RectOf(Bar->CloseButton());
  EXPECT_EQ(Close.right, W);
  EXPECT_GT(InkIn(Close), 0);
  EXPECT_EQ(RectOf(File).left, RectOf(Bar->IconButton()).right);

  Click(Bar->RestoreButton());
  EXPECT_EQ(Frames[0]->WindowState(), kwsNormal);
  EXPECT_FALSE(ButtonsShown());
  EXPECT_EQ(RectOf(File), FileAlone);
  // Maximized again, the same four buttons come back.
  TKsCustomItem* Made = Bar->CloseButton();
  Maximize(1);
  EXPECT_EQ(Bar->CloseButton(), Made);
  EXPECT_EQ(Bar->Items()->Count(), 6);
  EXPECT_TRUE(ButtonsShown());
  EXPECT_GT(InkIn(TRect{Close.left, 0, W, H - 2}), 0);
}

TEST_F(KsMenuBarChildButtonsTest, TheButtonsActOnTheMaximizedChildThroughItsFrame) {
  const TRect Normal = Child(0)->BoundsRect();
  Maximize(0);
  ASSERT_EQ(Main->Caption(), "Parent - [Child 1]");
  Click(Bar->RestoreButton());
  EXPECT_EQ(Frames[0]->WindowState(), kwsNormal);
  EXPECT_EQ(Child(0)->BoundsRect(), Normal);
  EXPECT_EQ(Main->Caption(), "Parent");
  EXPECT_FALSE(ButtonsShown());
  EXPECT_EQ(Bar->MDIChild(), nullptr);

  Maximize(0);
  Click(Bar->MinimizeButton());
  EXPECT_EQ(Frames[0]->WindowState(), kwsMinimized);
  EXPECT_FALSE(ButtonsShown());

  // Close follows the child's close action: minimized when it can be, else it stays.
  Maximize(1);
  Click(Bar->CloseButton());
  EXPECT_EQ(Frames[1]->WindowState(), kwsMinimized);
  EXPECT_TRUE(IsWindowVisible(Child(1)->Handle()));
  EXPECT_FALSE(ButtonsShown());
  TKsBorderIcons Icons = Frames[1]->BorderIcons();
  Icons.Exclude(kbiMinimize);
  Frames[1]->SetBorderIcons(Icons);
  Frames[1]->Restore();
  Maximize(1);
  ASSERT_EQ(Frames[1]->WindowState(), kwsMaximized);
  Click(Bar->CloseButton());
  EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
  EXPECT_TRUE(IsWindowVisible(Child(1)->Handle()));
  EXPECT_EQ(Bar->MDIChild(), Child(1));

  // The icon shows the child's own system menu; once it is closed nothing of the bar
  // stays hot and the child is as it was.
  AnsiString FirstEntry;
  StartSteps({When([] { return PopupWindowCount() > 0 && PopupWindows(0)->View()->Tracking(); },
                   [&] {
                     FirstEntry = PopupWindows(0)->View()->Items()->Items(0)->Caption();
                     PostMessageA(PopupWindows(0)->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
                   })});
  Click(Bar->IconButton());
  PumpUntil(StepsDone, 2 * StepPatienceMs);
  Pump(50);
  ASSERT_NE(Frames[1]->SystemMenu(), nullptr);
  EXPECT_EQ(FirstEntry, Frames[1]->SystemMenu()->Items(0)->Caption());
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_EQ(Bar->View()->HotItem(), nullptr);
  EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
}

// A bar of themed items, with a painter that fills each child-window button in a colour
// of its own and notes the state flags it is given.
class TThemedBar : public TLoadedBar {
 public:
  explicit TThemedBar(TComponent* AOwner) : TLoadedBar(AOwner) {}
  TClass GetItemClass() const override { return &TTeThemeItem::StaticClass(); }
};

constexpr int ThemedHeight = 24;
const TColor ButtonColors[5] = {clBlack, static_cast<TColor>(RGB(200, 0, 0)), static_cast<TColor>(RGB(0, 160, 0)),
                                static_cast<TColor>(RGB(0, 0, 200)), static_cast<TColor>(RGB(200, 200, 0))};
constexpr TColor ThemedItemColor = static_cast<TColor>(RGB(90, 90, 90));

class TButtonPainter : public TTeTheme {
  TCLASS_DECL(TButtonPainter, TTeTheme)
 public:
  static void GetName(AnsiString& Name) { Name = "Button Painter"; }
  static bool IsAvailable() { return true; }
  // The flags of the last paint of each kind of button.
  inline static bool Selected[5];
  inline static bool Raised[5];
  void MeasureMenuBarItem(TKsBitmap*, TKsCustomItem*, int& Width, int& Height) override {
    Width = 40;
    Height = ThemedHeight;
  }
  void DrawMenuBarItem(TKsBitmap* Bitmap, TKsCustomItem*, const TRect& Rect, bool, bool) override {
    Bitmap->FillRect(Rect, ColorToKsColor(ThemedItemColor, 255));
  }
  void DrawMenuBarMDIButton(TKsBitmap* Bitmap, TKsCustomItem* Item, const TRect& Rect, bool ASelected,
                            bool ARaised) override {
    const Byte Kind = Item->MDIButtonKind();
    Selected[Kind] = ASelected;
    Raised[Kind] = ARaised;
    Bitmap->FillRect(Rect, ColorToKsColor(ButtonColors[Kind], 255));
  }
};
TCLASS_IMPL(TButtonPainter)

class KsThemedMenuBarChildButtonsTest : public KsMenuBarChildButtonsTest {
 protected:
  void SetUp() override {
    KsMenuBarChildButtonsTest::SetUp();
    auto* Engine = NewObject<TTeThemeEngine>(Main);
    Engine->SetTheme(NewObject<TButtonPainter>());
    ObjectAs<TTeThemeItem>(Bar->Items())->SetThemeEngine(Engine);
    Bar->View()->UpdateSize();
  }
  TLoadedBar* MakeBar(TForm* Form) override { return NewObject<TThemedBar>(Form); }
  COLORREF BarPixel(int X, int Y) { return ScreenPixel(Bar->Handle(), X, Y); }
};

TEST_F(KsThemedMenuBarChildButtonsTest, TheThemeMeasuresAndPaintsTheButtonsOfAMaximizedChild) {
  ASSERT_TRUE(ObjectAs<TTeThemeItem>(Bar->CloseButton()));
  Maximize(0);
  ASSERT_TRUE(ButtonsShown());
  EXPECT_EQ(Bar->Height(), ThemedHeight + 2);
  EXPECT_EQ(RectOf(Bar->IconButton()), (TRect{0, 0, ThemedHeight, ThemedHeight})) << "square, as high as the theme says";
  EXPECT_EQ(RectOf(File).left, ThemedHeight);

  PaintNow(Bar);
  const int W = Bar->Width(), w = ThemedHeight;
  const auto Colour = [](int Kind) { return static_cast<COLORREF>(ButtonColors[Kind]); };
  EXPECT_EQ(BarPixel(1, 1), Colour(4)) << "the icon's cell";
  EXPECT_EQ(BarPixel(ThemedHeight + 2, 2), static_cast<COLORREF>(ThemedItemColor));
  EXPECT_EQ(BarPixel(W - 2, 2), Colour(1));
  EXPECT_EQ(BarPixel(W - w - 2, 2), Colour(2));
  EXPECT_EQ(BarPixel(W - 2 * w - 2, 2), Colour(3));
  EXPECT_FALSE(TButtonPainter::Selected[1]);
  EXPECT_TRUE(TButtonPainter::Raised[1]);

  // The button under the mouse is painted selected and raised (the bar is not tracking).
  Bar->View()->HitTest(Bar->ClientToScreen(TPoint{W - 2, 2}));
  PaintNow(Bar);
  EXPECT_TRUE(TButtonPainter::Selected[1]);
  EXPECT_TRUE(TButtonPainter::Raised[1]);
  EXPECT_FALSE(TButtonPainter::Selected[2]);
  Bar->View()->HitTest(TPoint{-1, -1});
}


// A bar made in code that gets its items only after its form is shown and laid out
// (the empty bar then being only its etched line high).
class KsLateItemsMenuBarTest : public KsCodeMenuBarChildButtonsTest {
 protected:
  void AddItems() override {}
  // The bar's own line in a form file written now.
  AnsiString WrittenHeight() {
    Bar->SetName("mnuBar");
    const AnsiString Text = WriteComponentText(Main);
    const std::size_t At = Text.find("Height = ", Text.find("mnuBar"));
    return At == AnsiString::npos ? AnsiString() : Text.substr(At, Text.find_first_of("\r\n", At) - At);
  }
};

TEST_F(KsLateItemsMenuBarTest, TheBarFitsItsItemsWheneverTheyChange) {
  ASSERT_EQ(Bar->Height(), 2);
  File = NewBarItem("&File", Bar->Items());
  const int Row = RectOf(File).bottom - RectOf(File).top;
  ASSERT_GT(Row, 2);
  EXPECT_EQ(Bar->Height(), Row + 2) << "an item added";
  EXPECT_EQ(WrittenHeight(), "Height = " + IntToStr(Row + 2));
  Edit = NewBarItem("&Edit", Bar->Items());
  File->SetVisible(false);
  Edit->SetCaption("&Edit it");
  EXPECT_EQ(Bar->Height(), Row + 2);
  Edit->SetVisible(false);
  EXPECT_EQ(Bar->Height(), 2) << "no item visible";
  File->SetVisible(true);
  EXPECT_EQ(Bar->Height(), Row + 2) << "an item shown";
  File->Free();
  Edit->Free();
  File = Edit = nullptr;
  EXPECT_EQ(Bar->Height(), 2) << "the items gone";

  // A maximized child's buttons are a row of their own: square and the bar's height.
  Maximize(0);
  ASSERT_TRUE(ButtonsShown());
  const int W = Bar->Width();
  EXPECT_EQ(Bar->Height(), Row + 2);
  EXPECT_EQ(RectOf(Bar->CloseButton()), (TRect{W - Row, 0, W, Row + 2}));
  // An item that another painter measures higher, while the child stays maximized.
  auto* Engine = NewObject<TTeThemeEngine>(Main);
  Engine->SetTheme(NewObject<TButtonPainter>());
  auto* Themed = NewObject<TTeThemeItem>(Main);
  Themed->SetCaption("&View");
  Bar->Items()->Add(Themed);
  EXPECT_EQ(Bar->Height(), Row + 2);
  Themed->SetThemeEngine(Engine);
  EXPECT_EQ(Bar->Height(), ThemedHeight + 2) << "the painter's height";
  Themed->SetThemeEngine(nullptr);
  EXPECT_EQ(Bar->Height(), Row + 2);
  Frames[0]->Restore();
  Pump();
  Themed->Free();
  EXPECT_EQ(Bar->Height(), 2) << "the buttons hidden";

  // AutoSize switched on again fits the bar at once.
  Bar->SetAutoSize(false);
  Bar->SetBounds(0, 0, W, 40);
  EXPECT_EQ(Bar->Height(), 40);
  Bar->SetAutoSize(true);
  EXPECT_EQ(Bar->Height(), 2);

  // A form file's height stands for a bar without AutoSize, whatever was read before.
  const char* Source =
      "form frmBar: TForm\n"
      "  component mnuFixed: TKsCustomMenuBar\n"
      "    Height = 40\n"
      "    AutoSize = False\n"
      "  end\n"
      "end\n";
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(), Source, "fixed");
  auto* Fixed = ObjectAs<TKsCustomMenuBar>(Root->FindComponent("mnuFixed"));
  ASSERT_NE(Fixed, nullptr);
  EXPECT_EQ(Fixed->Height(), 40);
}

}  // namespace
