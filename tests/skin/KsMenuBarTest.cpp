// The kit's menu bar on real windows: its height from its items, the etched line on
// the side facing the client area, Alt with a letter opening that item's sub-menu
// (keys posted from a timer while the bar tracks), the child-window buttons of a
// multiple-document main form, the frame asking the bar for shortcuts, and the bar's
// items in form files.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Menus.h"
#include "skin/KsControlBar.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"
#include "skin/KsPopup.h"
#include "tests/skin/KitUiSupport.h"

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
    SetCursorPos(1000, 700);  // away from the bar and its popups
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
              [&] {},
              [&] {
                Shown = PopupWindowCount();
                if (Shown > 0) {
                  ShownItem = PopupWindows(0)->View()->Items();
                  PostMessageA(PopupWindows(0)->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
                }
              },
              [&] { PostMessageA(Bar->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); }});
  PumpUntil([] { return NextStep >= Steps.size(); });
  Pump(100);
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

TEST_F(KsMenuBarTest, AChildsIconButtonComesBeforeTheItemsAndItsOtherButtonsAtTheBarsRightEnd) {
  TOwned<TForm> Main(NewObject<TForm>(nullptr));
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(0, 0, 400, 300);
  auto* Bar = NewObject<TLoadedBar>(Main.get());
  Bar->SetParent(Main.get());
  TKsCustomItem* MainFile = NewItem("&File", Bar->Items());
  TKsCustomItem* MainEdit = NewItem("&Edit", Bar->Items());
  Bar->ReadDone();
  ASSERT_NE(Bar->IconButton(), nullptr);
  TKsMenuBarView* View = Bar->View();
  const TRect FileAlone = View->GetItemRect(MainFile);
  EXPECT_EQ(FileAlone.left, 0);

  TOwned<TForm> Child(NewObject<TForm>(nullptr));
  Bar->ShowMDIButtons(Child.get());
  const TRect Icon = View->GetItemRect(Bar->IconButton());
  const int w = Icon.right - Icon.left;
  ASSERT_GT(w, 0);
  EXPECT_EQ(Icon.left, 0);
  EXPECT_EQ(Icon.bottom - Icon.top, w) << "a child-window button is square";
  const TRect File = View->GetItemRect(MainFile);
  const TRect Edit = View->GetItemRect(MainEdit);
  EXPECT_EQ(File.left, Icon.right) << "no item lies over the icon";
  EXPECT_EQ(File.right - File.left, FileAlone.right - FileAlone.left);
  EXPECT_EQ(Edit.left, File.right);
  const int W = Bar->Width(), H = Bar->Height();
  EXPECT_EQ(View->GetItemRect(Bar->CloseButton()), (TRect{W - w, 0, W, H}));
  EXPECT_EQ(View->GetItemRect(Bar->RestoreButton()), (TRect{W - 2 * w, 0, W - w, H}));
  EXPECT_EQ(View->GetItemRect(Bar->MinimizeButton()), (TRect{W - 3 * w, 0, W - 2 * w, H}));

  // The mouse finds each where it is drawn.
  Main->Show();
  Pump();
  const auto HotAt = [&](int X, int Y) {
    View->HitTest(Bar->ClientToScreen(TPoint{X, Y}));
    return View->HotItem();
  };
  EXPECT_EQ(HotAt(Icon.left + 2, Icon.top + 2), Bar->IconButton());
  EXPECT_EQ(HotAt(File.left + 2, File.top + 2), MainFile);
  EXPECT_EQ(HotAt(W - 2, 2), Bar->CloseButton());
  EXPECT_EQ(HotAt(W - 3 * w + 2, 2), Bar->MinimizeButton());

  Bar->HideMDIButtons();
  EXPECT_EQ(View->GetItemRect(MainFile), FileAlone);
  EXPECT_EQ(HotAt(2, 2), MainFile);
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
}

// How often Word stands in Text.
int Occurrences(const AnsiString& Text, const AnsiString& Word) {
  int Count = 0;
  for (std::size_t At = Text.find(Word); At != AnsiString::npos; At = Text.find(Word, At + 1)) ++Count;
  return Count;
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
// The buttons of a maximized child window on the main form's bar

class KsMenuBarChildButtonsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SetCursorPos(1000, 700);
    Main = Keep(NewObject<TForm>(nullptr, CreateNew));
    Main->SetFormStyle(fsMDIForm);
    Main->SetCaption("Parent");
    Main->SetBounds(60, 60, 500, 400);
    Bar = NewObject<TLoadedBar>(Main);
    Bar->SetParent(Main);
    NewItem("&Open", NewItem("&File", Bar->Items()));
    Bar->ReadDone();
    Main->Show();
    Pump();
  }
  void TearDown() override {
    Steps.clear();
    UiTest::TearDown();
  }
  // A child window dressed by a kit frame, shown.
  TKsCustomForm* NewChild(const char* Caption) {
    auto* Child = Keep(NewObject<TForm>(nullptr, CreateNew));
    Child->SetCaption(Caption);
    Child->SetBounds(10, 10, 200, 150);
    auto* Frame = NewObject<TKsCustomForm>(Child);
    Frame->SetMinimizeApplication(false);
    Frame->SetActive(true);
    Child->Show();
    Pump();
    return Frame;
  }
  void Maximize(TKsCustomForm* Frame) {
    if (Frame->WindowState() != kwsMaximized) Frame->Maximize();
    Bar->ShowMDIButtons(static_cast<TCustomForm*>(Frame->Owner()));
    Pump();
  }
  // The user's click on a button of the bar: the mouse comes onto it, presses and
  // releases (the press starts the bar's tracking, whose loop takes the rest).
  void Click(TKsCustomItem* Button) {
    const TRect R = Bar->View()->GetItemRect(Button);
    const TPoint At{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
    PostMessageA(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
    for (const int X : {R.left + 1, At.x}) PostMessageA(Bar->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, At.y));
    PostMessageA(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
    Pump(50);
  }

  TForm* Main = nullptr;
  TLoadedBar* Bar = nullptr;
};

TEST_F(KsMenuBarChildButtonsTest, TheButtonsActOnTheChildThroughItsFrame) {
  TKsCustomForm* One = NewChild("Child 1");
  Maximize(One);
  ASSERT_TRUE(Bar->RestoreButton()->Visible());
  Click(Bar->RestoreButton());
  EXPECT_EQ(One->WindowState(), kwsNormal);

  Maximize(One);
  Click(Bar->MinimizeButton());
  EXPECT_EQ(One->WindowState(), kwsMinimized);

  // The icon shows the child's own system menu; once it is closed nothing of the bar
  // stays hot.
  One->Restore();
  Maximize(One);
  AnsiString FirstEntry;
  int Shown = 0;
  StartSteps({[&] {
    Shown = PopupWindowCount();
    if (Shown == 0) {
      --NextStep;  // again at the next tick
      return;
    }
    FirstEntry = PopupWindows(0)->View()->Items()->Items(0)->Caption();
    PostMessageA(PopupWindows(0)->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  }});
  Click(Bar->IconButton());
  PumpUntil([] { return NextStep >= Steps.size(); });
  Pump(50);
  EXPECT_EQ(Shown, 1);
  EXPECT_EQ(FirstEntry, One->SystemMenu() ? One->SystemMenu()->Items(0)->Caption() : AnsiString("?"));
  EXPECT_EQ(PopupWindowCount(), 0);
  EXPECT_EQ(Bar->View()->HotItem(), nullptr);
  EXPECT_EQ(One->WindowState(), kwsMaximized);
}

}  // namespace
