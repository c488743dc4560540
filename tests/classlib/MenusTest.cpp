// Pop-up menus: the item tree, the system menu built from it, clicks chosen through the
// menu-loop seam, WM_CONTEXTMENU on controls, form files, and shortcut texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestClasses.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

// What the menu-loop seam saw, and the item path it chooses ("Edit|Copy"; "" for
// none): it reads the real system menu it is given.
struct TTrackCall {
  HMENU Menu = nullptr;
  UINT Flags = 0;
  int X = 0, Y = 0;
  HWND Owner = nullptr;
};
std::vector<TTrackCall> TrackCalls;
std::string Choice;

std::string MenuString(HMENU Menu, UINT Position) {
  char Buffer[128] = {};
  GetMenuStringA(Menu, Position, Buffer, sizeof(Buffer), MF_BYPOSITION);
  return Buffer;
}

UINT FakeTrack(HMENU Menu, UINT Flags, int X, int Y, HWND Owner) {
  TrackCalls.push_back({Menu, Flags, X, Y, Owner});
  std::string Path = Choice;
  while (!Path.empty()) {
    std::string Part = Path.substr(0, Path.find('|'));
    Path = Path.size() > Part.size() ? Path.substr(Part.size() + 1) : "";
    const int Count = GetMenuItemCount(Menu);
    int Found = -1;
    for (int I = 0; I < Count && Found < 0; ++I)
      if (MenuString(Menu, static_cast<UINT>(I)) == Part) Found = I;
    if (Found < 0) return 0;
    if (Path.empty()) return GetMenuItemID(Menu, Found);
    Menu = GetSubMenu(Menu, Found);
  }
  return 0;
}

// The system menu as text: captions, "-" for separators, "(grayed)", "(checked)" and
// sub-menus in brackets.
std::string Describe(HMENU Menu) {
  std::string Text;
  for (int I = 0; I < GetMenuItemCount(Menu); ++I) {
    MENUITEMINFOA Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    GetMenuItemInfoA(Menu, static_cast<UINT>(I), TRUE, &Info);
    if (!Text.empty()) Text += ",";
    if (Info.fType & MFT_SEPARATOR) {
      Text += "-";
      continue;
    }
    Text += MenuString(Menu, static_cast<UINT>(I));
    if (Info.fState & MFS_GRAYED) Text += "(grayed)";
    if (Info.fState & MFS_CHECKED) Text += "(checked)";
    if (Info.hSubMenu) Text += "[" + Describe(Info.hSubMenu) + "]";
  }
  return Text;
}

// An item that counts the living ones.
class TCountedItem : public TMenuItem {
 public:
  explicit TCountedItem(TComponent* AOwner) : TMenuItem(AOwner) { ++Live; }
  ~TCountedItem() override { --Live; }
  inline static int Live = 0;
};

class MenusTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedTrack = TrackPopupMenuProc;
    TrackPopupMenuProc = FakeTrack;
    TrackCalls.clear();
    Choice.clear();
    Clicks.clear();
    Clicked = Keep(NewObject<TNotifyHandler>([this](TObject* Sender) {
      Clicks.push_back(static_cast<TMenuItem*>(Sender)->Caption());
    }));
  }
  void TearDown() override {
    UiTest::TearDown();
    TrackPopupMenuProc = SavedTrack;
  }

  TMenuItem* NewItem(const AnsiString& Caption, TComponent* Owner = nullptr) {
    TMenuItem* Item = NewObject<TMenuItem>(Owner);
    Item->SetCaption(Caption);
    Item->OnClick = Clicked->Event();
    return Item;
  }
  // "&Open", "-", "&Edit" with "Cu&t", "&Copy", "&Paste", and "E&xit".
  TPopupMenu* EditingMenu() {
    TPopupMenu* Menu = Keep(NewObject<TPopupMenu>(nullptr));
    Menu->Items()->Add(NewItem("&Open"));
    Menu->Items()->Add(NewItem("-"));
    TMenuItem* Edit = NewItem("&Edit");
    Menu->Items()->Add(Edit);
    for (const char* Caption : {"Cu&t", "&Copy", "&Paste"}) Edit->Add(NewItem(Caption));
    Menu->Items()->Add(NewItem("E&xit"));
    return Menu;
  }

  TTrackPopupMenuProc SavedTrack = nullptr;
  TNotifyHandler* Clicked = nullptr;
  std::vector<std::string> Clicks;
};

}  // namespace

// ---------------------------------------------------------------------------------
// The item tree

TEST_F(MenusTest, ItemsAddInsertDeleteAndFind) {
  TPopupMenu* Menu = Keep(NewObject<TPopupMenu>(nullptr));
  TMenuItem* Root = Menu->Items();
  TMenuItem* A = NewItem("A");
  TMenuItem* C = NewItem("C");
  Root->Add(A);
  Root->Add(C);
  TMenuItem* B = NewItem("B");
  Root->Insert(1, B);
  ASSERT_EQ(Root->Count(), 3);
  EXPECT_EQ(Root->Items(1), B);
  EXPECT_EQ(B->Parent(), Root);
  EXPECT_EQ(C->MenuIndex(), 2);
  EXPECT_EQ(Root->IndexOf(C), 2);

  Root->Delete(0);  // taken out, not freed
  EXPECT_EQ(A->Parent(), nullptr);
  EXPECT_EQ(A->MenuIndex(), -1);
  EXPECT_EQ(Root->Items(0), B);
  Root->Remove(C);
  EXPECT_EQ(Root->Count(), 1);
  A->Free();
  C->Free();

  ExpectRaises<EMenuError>([&] { Root->Items(1); }, "Menu index out of range");
  ExpectRaises<EMenuError>([&] { Root->Insert(3, NewItem("late")); }, "Menu index out of range");
  ExpectRaises<EMenuError>([&] { Root->Add(B); }, "Menu inserted twice");
  TMenuItem* Child = NewItem("child");
  B->Add(Child);
  ExpectRaises<EMenuError>([&] { Child->Add(B); }, "Menu inserted twice");
  ExpectRaises<EMenuError>([&] { B->Add(B); }, "Menu inserted twice");
  ExpectRaises<EMenuError>([&] { Child->Add(Root); }, "Menu inserted twice");
  ExpectRaises<EMenuError>([&] { Root->Remove(Child); }, "Sub-menu is not in menu");
  // A parent read from a form file that refuses the item leaves it where it was.
  ExpectRaises<EMenuError>([&] { B->SetParentComponent(Child); }, "Menu inserted twice");
  TComponent* Other = Keep(NewObject<TComponent>(nullptr));
  ExpectRaises<EMenuError>([&] { B->SetParentComponent(Other); },
                           "A menu item cannot have a TComponent as its parent");
  EXPECT_EQ(B->Parent(), Root);
  EXPECT_EQ(Root->Count(), 1);
  EXPECT_EQ(Child->Parent(), B);
}

TEST_F(MenusTest, FreeingAnItemFreesItsItemsAndLeavesItsParent) {
  TPopupMenu* Menu = EditingMenu();
  TMenuItem* Edit = Menu->Items()->Items(2);
  const UINT CopyCommand = Edit->Items(1)->Command();
  ASSERT_EQ(Menu->FindItem(CopyCommand), Edit->Items(1));
  Edit->Free();
  EXPECT_EQ(Menu->Items()->Count(), 3);
  EXPECT_EQ(Menu->FindItem(CopyCommand), nullptr);
  Menu->Items()->Clear();
  EXPECT_EQ(Menu->Items()->Count(), 0);
}

TEST_F(MenusTest, ItemsOwnedByAFormGoWithItInEitherOrder) {
  for (bool MenuFirst : {true, false}) {
    TForm* Form = NewObject<TForm>(nullptr);
    TPopupMenu* Menu = MenuFirst ? NewObject<TPopupMenu>(Form) : nullptr;
    TMenuItem* Parent = NewObject<TCountedItem>(Form);
    TMenuItem* Child = NewObject<TCountedItem>(Form);
    if (!Menu) Menu = NewObject<TPopupMenu>(Form);
    Menu->Items()->Add(Parent);
    Parent->Add(Child);
    EXPECT_EQ(Form->ComponentCount(), 3);
    EXPECT_EQ(TCountedItem::Live, 2);
    Form->Free();
    EXPECT_EQ(TCountedItem::Live, 0);
  }
}

TEST_F(MenusTest, CommandsAreUniqueAndGivenOutAgain) {
  TMenuItem* A = NewItem("A");
  TMenuItem* B = NewItem("B");
  EXPECT_NE(A->Command(), 0u);
  EXPECT_NE(A->Command(), B->Command());
  const UINT Freed = A->Command();
  A->Free();
  TMenuItem* C = NewItem("C");
  EXPECT_EQ(C->Command(), Freed);
  B->Free();
  C->Free();
}

// ---------------------------------------------------------------------------------
// The system menu

TEST_F(MenusTest, TheSystemMenuShowsTheItems) {
  TPopupMenu* Menu = EditingMenu();
  TMenuItem* Edit = Menu->Items()->Items(2);
  Edit->Items(0)->SetEnabled(false);
  Edit->Items(2)->SetChecked(true);
  Edit->Items(1)->SetShortCut(ShortCut('C', {ssCtrl}));
  HMENU Handle = Menu->Handle();
  ASSERT_TRUE(IsMenu(Handle));
  EXPECT_EQ(Describe(Handle), "&Open,-,&Edit[Cu&t(grayed),&Copy\tCtrl+C,&Paste(checked)],E&xit");
  EXPECT_EQ(GetMenuItemID(Handle, 0), Menu->Items()->Items(0)->Command());
}

TEST_F(MenusTest, TheSystemMenuIsBuiltAgainOnlyAfterAChange) {
  TPopupMenu* Menu = EditingMenu();
  HMENU First = Menu->Handle();
  EXPECT_EQ(Menu->Handle(), First);
  Menu->Items()->Items(0)->SetCaption("&Open");  // the same caption: no change
  EXPECT_EQ(Menu->Handle(), First);
  Menu->Items()->Items(3)->SetShortCut(ShortCut(VK_F4, {ssAlt}));
  EXPECT_EQ(GetMenuItemCount(Menu->Handle()), 4);
  EXPECT_EQ(MenuString(Menu->Handle(), 3), "E&xit\tAlt+F4");
  First = Menu->Handle();

  Menu->Items()->Items(0)->SetCaption("&Load");
  Menu->Items()->Items(2)->Items(1)->Free();
  Menu->Items()->Insert(0, NewItem("New"));
  HMENU Second = Menu->Handle();
  EXPECT_FALSE(IsMenu(First));  // the old one is destroyed
  EXPECT_EQ(Describe(Second), "New,&Load,-,&Edit[Cu&t,&Paste],E&xit\tAlt+F4");
}

// ---------------------------------------------------------------------------------
// Popup and clicks through the menu-loop seam

TEST_F(MenusTest, PopupRunsTheLoopAtThePointAndClicksTheChoice) {
  TPopupMenu* Menu = EditingMenu();
  Choice = "&Edit|&Paste";
  Menu->Popup(120, 80);
  ASSERT_EQ(TrackCalls.size(), 1u);
  EXPECT_EQ(TrackCalls[0].Menu, Menu->Handle());
  EXPECT_EQ(TrackCalls[0].X, 120);
  EXPECT_EQ(TrackCalls[0].Y, 80);
  EXPECT_TRUE(TrackCalls[0].Flags & TPM_RETURNCMD);
  EXPECT_TRUE(IsWindow(TrackCalls[0].Owner));
  EXPECT_FALSE(IsWindowVisible(TrackCalls[0].Owner));
  EXPECT_EQ(Menu->PopupPoint(), Point(120, 80));
  EXPECT_EQ(Clicks, std::vector<std::string>{"&Paste"});

  Choice = "E&xit";
  Menu->Popup(0, 0);
  Choice.clear();  // the menu closed without a choice
  Menu->Popup(0, 0);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"&Paste", "E&xit"}));
}

TEST_F(MenusTest, OnlyEnabledItemsOfTheMenuItselfClick) {
  TPopupMenu* Menu = EditingMenu();
  TPopupMenu* Other = EditingMenu();
  Menu->Items()->Items(0)->SetEnabled(false);
  EXPECT_TRUE(Menu->DispatchCommand(Menu->Items()->Items(0)->Command()));
  EXPECT_FALSE(Menu->DispatchCommand(Other->Items()->Items(0)->Command()));
  EXPECT_FALSE(Menu->DispatchCommand(0));
  EXPECT_FALSE(Menu->DispatchCommand(0xEFFF));
  EXPECT_TRUE(Clicks.empty());
  Menu->Items()->Items(0)->SetEnabled(true);
  Menu->Items()->Items(0)->Click();
  EXPECT_EQ(Clicks, std::vector<std::string>{"&Open"});
}

TEST_F(MenusTest, AClickRunsAfterTheLoopAndMayChangeTheMenu) {
  TPopupMenu* Menu = EditingMenu();
  TNotifyHandler* ClearAll = Keep(NewObject<TNotifyHandler>([Menu](TObject*) { Menu->Items()->Clear(); }));
  Menu->Items()->Items(0)->OnClick = ClearAll->Event();
  Choice = "&Open";
  Menu->Popup(10, 10);
  EXPECT_EQ(Menu->Items()->Count(), 0);
  EXPECT_EQ(GetMenuItemCount(Menu->Handle()), 0);
}

// ---------------------------------------------------------------------------------
// WM_CONTEXTMENU on controls

TEST_F(MenusTest, ContextMenuOnAControlOpensItsMenuAtThePoint) {
  TForm* Form = ShownForm();
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(20, 30, 100, 50);
  TPopupMenu* Menu = EditingMenu();
  Probe->SetPopupMenu(Menu);
  const TPoint Inside = Probe->ClientToScreen(Point(10, 5));
  Choice = "&Open";
  LRESULT Result = SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()),
                                MAKELPARAM(Inside.x, Inside.y));
  EXPECT_NE(Result, 0);
  ASSERT_EQ(TrackCalls.size(), 1u);
  EXPECT_EQ(TrackCalls[0].X, Inside.x);
  EXPECT_EQ(TrackCalls[0].Y, Inside.y);
  EXPECT_EQ(Menu->PopupComponent(), Probe);
  EXPECT_EQ(Clicks, std::vector<std::string>{"&Open"});

  // The menu key sends (-1, -1): the menu opens at the client area's corner.
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()), MAKELPARAM(-1, -1));
  ASSERT_EQ(TrackCalls.size(), 2u);
  const TPoint Corner = Probe->ClientToScreen(Point(0, 0));
  EXPECT_EQ(TrackCalls[1].X, Corner.x);
  EXPECT_EQ(TrackCalls[1].Y, Corner.y);
}

TEST_F(MenusTest, ContextMenuWithoutAMenuGoesToTheParent) {
  TForm* Form = ShownForm();
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(20, 30, 100, 50);
  TPopupMenu* FormMenu = EditingMenu();
  Form->SetPopupMenu(FormMenu);
  const TPoint Inside = Probe->ClientToScreen(Point(10, 5));
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()),
               MAKELPARAM(Inside.x, Inside.y));
  ASSERT_EQ(TrackCalls.size(), 1u);
  EXPECT_EQ(TrackCalls[0].Menu, FormMenu->Handle());
  EXPECT_EQ(TrackCalls[0].X, Inside.x);
  EXPECT_EQ(FormMenu->PopupComponent(), Form);

  // A point outside the control's client area is not the control's.
  TPopupMenu* ProbeMenu = EditingMenu();
  Probe->SetPopupMenu(ProbeMenu);
  const TPoint Outside = Probe->ClientToScreen(Point(150, 5));
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()),
               MAKELPARAM(Outside.x, Outside.y));
  ASSERT_EQ(TrackCalls.size(), 2u);
  EXPECT_EQ(TrackCalls[1].Menu, FormMenu->Handle());
}

TEST_F(MenusTest, ContextMenuOverAGraphicChildOpensTheChildsMenu) {
  TForm* Form = ShownForm();
  TLabel* Label = NewObject<TLabel>(Form);
  Label->SetParent(Form);
  Label->SetAutoSize(false);
  Label->SetBounds(50, 60, 80, 20);
  TPopupMenu* LabelMenu = EditingMenu();
  TPopupMenu* FormMenu = EditingMenu();
  Label->SetPopupMenu(LabelMenu);
  Form->SetPopupMenu(FormMenu);
  const TPoint OverLabel = Form->ClientToScreen(Point(55, 65));
  SendMessageA(Form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form->Handle()),
               MAKELPARAM(OverLabel.x, OverLabel.y));
  const TPoint Beside = Form->ClientToScreen(Point(5, 5));
  SendMessageA(Form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form->Handle()),
               MAKELPARAM(Beside.x, Beside.y));
  Label->SetPopupMenu(nullptr);
  SendMessageA(Form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form->Handle()),
               MAKELPARAM(OverLabel.x, OverLabel.y));
  ASSERT_EQ(TrackCalls.size(), 3u);
  EXPECT_EQ(TrackCalls[0].Menu, LabelMenu->Handle());
  EXPECT_EQ(TrackCalls[1].Menu, FormMenu->Handle());
  EXPECT_EQ(TrackCalls[2].Menu, FormMenu->Handle());
  EXPECT_EQ(LabelMenu->PopupComponent(), Label);
}

TEST_F(MenusTest, ARightClickOpensTheMenuUnderTheMouse) {
  TForm* Form = ShownForm();
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(20, 30, 100, 50);
  TLabel* Label = NewObject<TLabel>(Form);
  Label->SetParent(Form);
  Label->SetAutoSize(false);
  Label->SetBounds(150, 60, 80, 20);
  TPopupMenu* ProbeMenu = EditingMenu();
  TPopupMenu* LabelMenu = EditingMenu();
  Probe->SetPopupMenu(ProbeMenu);
  Label->SetPopupMenu(LabelMenu);
  Choice = "E&xit";
  // The system turns the release of the right button into WM_CONTEXTMENU.
  SendMessageA(Probe->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 9));
  SendMessageA(Probe->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(7, 9));
  SendMessageA(Form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(160, 65));
  SendMessageA(Form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(160, 65));
  ASSERT_EQ(TrackCalls.size(), 2u);
  EXPECT_EQ(TrackCalls[0].Menu, ProbeMenu->Handle());
  EXPECT_EQ(Point(TrackCalls[0].X, TrackCalls[0].Y), Probe->ClientToScreen(Point(7, 9)));
  EXPECT_EQ(TrackCalls[1].Menu, LabelMenu->Handle());
  EXPECT_EQ(Point(TrackCalls[1].X, TrackCalls[1].Y), Form->ClientToScreen(Point(160, 65)));
  EXPECT_EQ(Clicks, (std::vector<std::string>{"E&xit", "E&xit"}));
}

// Notes the requests OnContextPopup sees and answers them as told.
class TContextPopupLog : public TObject {
 public:
  void Popup(TObject* Sender, TPoint MousePos, bool& Handled) {
    Senders.push_back(Sender);
    Points.push_back(MousePos);
    Handled = Handle;
  }
  TContextPopupEvent Event() { return TContextPopupEvent::Bind<&TContextPopupLog::Popup>(this); }
  bool Handle = true;
  std::vector<TObject*> Senders;
  std::vector<TPoint> Points;
};

// The menu key and a right click reach OnContextPopup first, with the point in client
// coordinates; handled, the control's menu stays closed and the parent's too.
TEST_F(MenusTest, OnContextPopupFromTheMenuKeyOrARightClickKeepsTheMenusClosedWhenHandled) {
  TForm* Form = ShownForm();
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(20, 30, 100, 50);
  Probe->SetPopupMenu(EditingMenu());
  Form->SetPopupMenu(EditingMenu());
  TContextPopupLog* Popups = Keep(NewObject<TContextPopupLog>());
  Probe->OnContextPopup = Popups->Event();
  // The menu key: the system sends the point (-1, -1).
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()),
               MAKELPARAM(-1, -1));
  SendMessageA(Probe->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 9));
  SendMessageA(Probe->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(7, 9));
  EXPECT_TRUE(TrackCalls.empty());
  ASSERT_EQ(Popups->Points.size(), 2u);
  EXPECT_EQ(Popups->Points[0], Point(-1, -1));
  EXPECT_EQ(Popups->Points[1], Point(7, 9));
  EXPECT_EQ(Popups->Senders[1], Probe);
}

// Not handled, the request goes on: to the control's menu, or without one to the
// parent, whose own handler hears it in its coordinates.
TEST_F(MenusTest, OnContextPopupNotHandledLetsTheMenuOpenOrTheParentHaveIt) {
  TForm* Form = ShownForm();
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(20, 30, 100, 50);
  TPopupMenu* ProbeMenu = EditingMenu();
  TPopupMenu* FormMenu = EditingMenu();
  Probe->SetPopupMenu(ProbeMenu);
  Form->SetPopupMenu(FormMenu);
  TContextPopupLog* ProbePopups = Keep(NewObject<TContextPopupLog>());
  TContextPopupLog* FormPopups = Keep(NewObject<TContextPopupLog>());
  ProbePopups->Handle = false;
  FormPopups->Handle = false;
  Probe->OnContextPopup = ProbePopups->Event();
  Form->OnContextPopup = FormPopups->Event();
  SendMessageA(Probe->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 9));
  SendMessageA(Probe->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(7, 9));
  ASSERT_EQ(TrackCalls.size(), 1u);
  EXPECT_EQ(TrackCalls[0].Menu, ProbeMenu->Handle());
  EXPECT_TRUE(FormPopups->Points.empty());

  Probe->SetPopupMenu(nullptr);
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Probe->Handle()),
               MAKELPARAM(-1, -1));
  ASSERT_EQ(TrackCalls.size(), 2u);
  EXPECT_EQ(TrackCalls[1].Menu, FormMenu->Handle());
  EXPECT_EQ(ProbePopups->Points, (std::vector<TPoint>{Point(7, 9), Point(-1, -1)}));
  EXPECT_EQ(FormPopups->Points, (std::vector<TPoint>{Point(-1, -1)}));
  EXPECT_EQ(FormPopups->Senders, (std::vector<TObject*>{Form}));
}

TEST_F(MenusTest, AFreedMenuLeavesTheControlAndAFreedControlTheMenu) {
  TForm* Form = ShownForm();
  TPopupMenu* Menu = NewObject<TPopupMenu>(nullptr);
  TProbe* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetPopupMenu(Menu);
  Menu->SetPopupComponent(Probe);
  Menu->Free();
  EXPECT_EQ(Probe->PopupMenu(), nullptr);

  TPopupMenu* Second = EditingMenu();
  Probe->SetPopupMenu(Second);
  SendMessageA(Probe->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
  EXPECT_EQ(Second->PopupComponent(), Probe);
  Probe->Free();
  EXPECT_EQ(Second->PopupComponent(), nullptr);
}

TEST_F(MenusTest, AnExceptionInAClickReachesTheApplication) {
  TForm* Form = ShownForm();
  TPopupMenu* Menu = EditingMenu();
  TNotifyHandler* Raise = Keep(NewObject<TNotifyHandler>([](TObject*) { throw EInvalidOperation("no way"); }));
  Menu->Items()->Items(0)->OnClick = Raise->Event();
  Form->SetPopupMenu(Menu);
  Choice = "&Open";
  SendMessageA(Form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
  EXPECT_EQ(Log->Messages, std::vector<std::string>{"no way"});
}

// ---------------------------------------------------------------------------------
// Form files

TEST_F(MenusTest, AFormFileMakesTheMenuItsItemsAndTheReference) {
  formtest::RegisterFormTestClasses();
  formtest::FormLog.clear();
  TOwned<formtest::TTestForm> Form(NewObject<formtest::TTestForm>(nullptr, CreateNew));
  const AnsiString Text =
      "form frmTest: TTestForm\n"
      "  PopupMenu = pmMain\n"
      "  component pmMain: TPopupMenu\n"
      "    component mniOpen: TMenuItem\n"
      "      Caption = \"&Open\"\n"
      "      OnClick = rbnClick\n"
      "    end\n"
      "    component mniMore: TMenuItem\n"
      "      Caption = \"More\"\n"
      "      component mniDeep: TMenuItem\n"
      "        Caption = \"Deep\"\n"
      "        Enabled = False\n"
      "        Checked = True\n"
      "        Tag = 7\n"
      "        ShortCut = 16452\n"
      "      end\n"
      "    end\n"
      "  end\n"
      "end\n";
  ReadComponentText(Form.get(), Text, "menus");
  auto* Menu = ObjectAs<TPopupMenu>(Form->FindComponent("pmMain"));
  ASSERT_NE(Menu, nullptr);
  EXPECT_EQ(Form->PopupMenu(), Menu);
  EXPECT_EQ(Describe(Menu->Handle()), "&Open,More[Deep\tCtrl+D(grayed)(checked)]");
  EXPECT_EQ(Menu->Items()->Items(1)->Items(0)->Tag(), 7);
  formtest::FormLog.clear();
  Choice = "&Open";
  Menu->Popup(0, 0);
  EXPECT_EQ(formtest::FormLog, std::vector<std::string>{"click mniOpen"});

  // Written back, the items nest in their menu and read again the same.
  const AnsiString Written = WriteComponentText(Form.get());
  EXPECT_NE(Written.find("PopupMenu = pmMain"), AnsiString::npos);
  TOwned<formtest::TTestForm> Copy(NewObject<formtest::TTestForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Written, "copy");
  auto* CopyMenu = ObjectAs<TPopupMenu>(Copy->FindComponent("pmMain"));
  ASSERT_NE(CopyMenu, nullptr);
  EXPECT_EQ(Describe(CopyMenu->Handle()), "&Open,More[Deep\tCtrl+D(grayed)(checked)]");
  EXPECT_EQ(WriteComponentText(Copy.get()), Written);
  Form.reset();
  Copy.reset();
  formtest::UnregisterFormTestClasses();
}

// ---------------------------------------------------------------------------------
// Shortcuts

TEST(ShortCutTest, TextsOfModifiersAndKeys) {
  EXPECT_EQ(ShortCutToText(scCtrl | VK_RETURN), "Ctrl+Enter");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, {ssAlt})), "Alt+F4");
  EXPECT_EQ(ShortCutToText(ShortCut('A', {ssCtrl, ssShift})), "Shift+Ctrl+A");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {})), "Del");
  EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | VK_NUMPAD5), "Shift+Ctrl+Alt+Num 5");
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCut(0x100, {ssCtrl}), scNone);
  Word Key = 0;
  TShiftState Shift;
  ShortCutToKey(scCtrl | scAlt | 'Q', Key, Shift);
  EXPECT_EQ(Key, 'Q');
  EXPECT_EQ(Shift, (TShiftState{ssCtrl, ssAlt}));
}

TEST(ShortCutTest, TextsReadBackInAnyCaseAndOrder) {
  EXPECT_EQ(TextToShortCut("Ctrl+Enter"), scCtrl | VK_RETURN);
  EXPECT_EQ(TextToShortCut("alt+f4"), scAlt | VK_F4);
  EXPECT_EQ(TextToShortCut("CTRL+SHIFT+a"), scCtrl | scShift | 'A');
  EXPECT_EQ(TextToShortCut("F12"), VK_F12);
  for (const char* Bad : {"", "Ctrl+", "Ctrl+Ctrl+A", "Hyper+A", "Ctrl+Nothing", "A+Ctrl"}) {
    SCOPED_TRACE(Bad);
    EXPECT_EQ(TextToShortCut(Bad), scNone);
  }
}

TEST(ShortCutTest, EveryNamedShortcutRoundTrips) {
  // Keys whose names are the library's own read back exactly; the others carry the
  // keyboard layout's names, which two keys may share: their text reads back the same.
  auto OwnName = [](Word Key) {
    return (Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z') ||
           (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) || (Key >= VK_F1 && Key <= VK_F24) ||
           (Key >= VK_SPACE && Key <= VK_DOWN) || Key == VK_BACK || Key == VK_TAB ||
           Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_INSERT || Key == VK_DELETE;
  };
  int Exact = 0;
  for (Word Key = 1; Key <= 0xFF; ++Key) {
    for (int Modifiers : {0, int(scShift), int(scCtrl), int(scAlt), scShift | scCtrl | scAlt}) {
      const TShortCut Value = static_cast<TShortCut>(Key | Modifiers);
      const AnsiString Text = ShortCutToText(Value);
      if (OwnName(Key)) {
        ++Exact;
        EXPECT_EQ(TextToShortCut(Text), Value) << Text;
      } else if (!Text.empty()) {
        EXPECT_EQ(ShortCutToText(TextToShortCut(Text)), Text) << Text;
      }
    }
  }
  EXPECT_EQ(Exact, (26 + 10 + 10 + 24 + 15) * 5);
}
