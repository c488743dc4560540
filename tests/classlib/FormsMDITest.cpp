// Multiple-document forms on real windows: the MDI parent's client window below its
// aligned controls, child forms made in the main form's client, their window states,
// activation and closing, the MDI keys of the application's loop, and form files.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "classlib/Classes_Streaming.h"
#include "classlib/ExtCtrls.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

// A window's rectangle in the client coordinates of another window.
TRect RectIn(HWND Window, HWND Other) {
  RECT R;
  GetWindowRect(Window, &R);
  MapWindowPoints(HWND_DESKTOP, Other, reinterpret_cast<POINT*>(&R), 2);
  return R;
}

TRect ClientRectOf(HWND Window) {
  RECT R;
  GetClientRect(Window, &R);
  return R;
}

constexpr const char* NoParent = "Cannot create MDI child form '': the main form is not an MDI parent form";

class MDIFormTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Parent = NewObject<TForm>(nullptr, CreateNew);
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetBounds(60, 40, 600, 450);
    Bar = AddChild<TPanel>(Parent);
    Bar->SetHeight(30);
    Bar->SetAlign(alTop);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
  }
  void TearDown() override {
    for (TCustomForm* Child : Children) Child->Free();
    FreeObject(Parent);
    UiTest::TearDown();
  }
  TForm* NewChild(bool Show = true) {
    TForm* Child = NewObject<TForm>(nullptr, CreateNew);
    Children.push_back(Child);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(10 + 20 * static_cast<int>(Children.size()), 10, 250, 180);
    if (Show) Child->Show();
    Pump();
    return Child;
  }
  // The child frees itself: the fixture leaves it alone.
  void Forget(TCustomForm* Child) { std::erase(Children, Child); }
  HWND Client() const { return Parent->ClientHandle(); }

  TForm* Parent = nullptr;
  TPanel* Bar = nullptr;
  std::vector<TCustomForm*> Children;
};

TEST_F(MDIFormTest, TheParentsClientFillsWhatItsAlignedControlsLeaveThroughEveryResize) {
  ASSERT_TRUE(Client());
  char Class[32] = {};
  GetClassNameA(Client(), Class, sizeof(Class));
  EXPECT_STRCASEEQ(Class, "MDIClient");
  auto Expected = [&] {
    TRect R = ClientRectOf(Parent->Handle());
    R.top += Bar->Height();
    return R;
  };
  EXPECT_EQ(RectIn(Client(), Parent->Handle()), Expected());
  Parent->SetBounds(80, 50, 500, 380);
  Pump();
  EXPECT_EQ(RectIn(Client(), Parent->Handle()), Expected());
  // A resize by the system goes through the frame's own handling first.
  SetWindowPos(Parent->Handle(), nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(RectIn(Client(), Parent->Handle()), Expected());
  EXPECT_EQ(ChildWindowFromPoint(Parent->Handle(), POINT{20, 10}), Bar->Handle()) << "the bar stays over it";

  // A window made again brings a client of its own, and the visible children with it.
  TForm* Child = NewChild();
  const HWND OldClient = Client();
  Parent->SetBorderStyle(bsSingle);
  Pump();
  EXPECT_TRUE(Client() && Client() != OldClient && !IsWindow(OldClient));
  EXPECT_EQ(GetParent(Child->Handle()), Client());
  EXPECT_TRUE(IsWindowVisible(Child->Handle()));

  TForm* Plain = Keep(NewObject<TForm>(nullptr, CreateNew));
  Plain->HandleNeeded();
  EXPECT_EQ(Plain->ClientHandle(), nullptr);
  EXPECT_EQ(Plain->MDIChildCount(), 0);
}

TEST_F(MDIFormTest, ChildFormsLiveInTheMainFormsClientAndFollowActivation) {
  TForm* First = NewChild();
  TForm* Second = NewChild();
  for (TForm* Child : {First, Second}) {
    EXPECT_EQ(GetParent(Child->Handle()), Client());
    EXPECT_TRUE(GetWindowLongA(Child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(Child->MDIParent(), Parent);
  }
  EXPECT_EQ(RectIn(Second->Handle(), Client()).left, 50) << "bounds in the client's coordinates";
  EXPECT_EQ(Parent->MDIChildCount(), 2);
  EXPECT_EQ(Parent->ActiveMDIChild(), Second) << "shown last, active";
  EXPECT_EQ(Parent->MDIChildren(0), Second);
  EXPECT_EQ(Parent->MDIChildren(1), First);
  EXPECT_TRUE(Second->Active());

  TChangeCounter Activations;
  First->OnActivate = Activations.Event();
  SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(First->Handle()), 0);
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), First);
  EXPECT_TRUE(First->Active());
  EXPECT_FALSE(Second->Active());
  EXPECT_EQ(Activations.Count, 1) << "as the focus comes in";

  // Freed, a child leaves the client's list in order.
  Second->Free();
  Forget(Second);
  Pump();
  EXPECT_EQ(Parent->MDIChildCount(), 1);
  EXPECT_EQ(Parent->ActiveMDIChild(), First);

  // Without an MDI parent as the main form there is nowhere to put a child.
  TForm* Orphan = NewChild(false);
  Application->SetMainForm(Keep(NewObject<TForm>(nullptr, CreateNew)));
  ExpectRaises<EInvalidOperation>([&] { Orphan->HandleNeeded(); }, NoParent);
  Application->SetMainForm(nullptr);
  ExpectRaises<EInvalidOperation>([&] { Orphan->HandleNeeded(); }, NoParent);
  EXPECT_FALSE(Orphan->CanCreateWindow());
  // A form with a window is not made a child there: it keeps its style and its window.
  TForm* Plain = Keep(NewObject<TForm>(nullptr, CreateNew));
  const HWND Window = Plain->Handle();
  ExpectRaises<EInvalidOperation>([&] { Plain->SetFormStyle(fsMDIChild); }, NoParent);
  EXPECT_EQ(Plain->FormStyle(), fsNormal);
  EXPECT_EQ(Plain->Handle(), Window);
  Application->SetMainForm(Parent);
  EXPECT_TRUE(Orphan->CanCreateWindow());
  Orphan->HandleNeeded();
  EXPECT_EQ(GetParent(Orphan->Handle()), Client());
}

TEST_F(MDIFormTest, WindowStatesMaximizeMinimizeAndRestoreInsideTheClient) {
  TForm* First = NewChild();
  TForm* Second = NewChild();
  const TRect Normal = Second->BoundsRect();
  Second->SetWindowState(wsMaximized);
  Pump();
  EXPECT_TRUE(IsZoomed(Second->Handle()));
  TRect Area = ClientRectOf(Second->Handle());
  MapWindowPoints(Second->Handle(), Client(), reinterpret_cast<POINT*>(&Area), 2);
  EXPECT_EQ(Area, ClientRectOf(Client())) << "its client area is the MDI client's";
  Second->SetWindowState(wsNormal);
  Pump();
  EXPECT_EQ(Second->BoundsRect(), Normal);

  First->SetWindowState(wsMinimized);
  Pump();
  EXPECT_TRUE(IsIconic(First->Handle()));
  EXPECT_EQ(GetParent(First->Handle()), Client());

  TForm* Third = NewChild(false);
  Third->SetWindowState(wsMaximized);
  Third->Show();
  Pump();
  EXPECT_TRUE(IsZoomed(Third->Handle())) << "made maximized";
}

TEST_F(MDIFormTest, CtrlF6MovesBetweenChildrenAndClosingMinimizesUnlessTheCloseEventSaysOtherwise) {
  TForm* First = NewChild();
  TForm* Second = NewChild();
  {
    THeldControlKey Ctrl;
    PostMessageA(Second->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
    EXPECT_EQ(Parent->ActiveMDIChild(), First);
    PostMessageA(First->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
    EXPECT_EQ(Parent->ActiveMDIChild(), Second);
    PostMessageA(Second->Handle(), WM_KEYDOWN, VK_F4, 1);
    Pump();
  }
  EXPECT_TRUE(IsIconic(Second->Handle())) << "Ctrl+F4 closes, which minimizes";
  PostMessageA(First->Handle(), WM_KEYDOWN, VK_F4, 1);
  Pump();
  EXPECT_FALSE(IsIconic(First->Handle())) << "F4 alone";

  struct TFree : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caFree; }
  } Free;
  First->OnClose = TCloseEvent::Bind<&TFree::Close>(&Free);
  Forget(First);
  First->Close();
  Pump();
  EXPECT_EQ(Parent->MDIChildCount(), 1);
}

TEST_F(MDIFormTest, FormFilesWithBothStylesReadBackIntoWorkingForms) {
  Application->SetMainForm(nullptr);
  TForm* FileParent = Keep(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(FileParent, R"(form frmFileParent: TForm
  Width = 500
  Height = 400
  FormStyle = fsMDIForm
end
)", "parent");
  TForm* FileChild = NewChild(false);
  ReadComponentText(FileChild, R"(form frmFileChild: TForm
  Left = 15
  Top = 25
  FormStyle = fsMDIChild
end
)", "child");
  Application->SetMainForm(FileParent);
  FileParent->Show();
  FileChild->Show();
  Pump();
  ASSERT_TRUE(FileParent->ClientHandle());
  EXPECT_EQ(FileParent->ActiveMDIChild(), FileChild);
  EXPECT_EQ(RectIn(FileChild->Handle(), FileParent->ClientHandle()).left, 15);
  EXPECT_NE(WriteComponentText(FileChild).find("FormStyle = fsMDIChild"), std::string::npos);
  EXPECT_NE(WriteComponentText(FileParent).find("FormStyle = fsMDIForm"), std::string::npos);
  FileChild->Free();
  Forget(FileChild);
  Application->SetMainForm(Parent);
}

}  // namespace

namespace {

TEST_F(MDIFormTest, AParentsWindowMadeAgainKeepsItsActiveChildAndAHiddenChildIsNotActive) {
  TForm* First = NewChild();
  TForm* Second = NewChild();
  SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(First->Handle()), 0);
  Pump();
  for (bool Maximized : {false, true}) {
    First->SetWindowState(Maximized ? wsMaximized : wsNormal);
    Pump();
    const HWND Before = Client();
    Parent->SetBorderIcons(Maximized ? TBorderIcons{biSystemMenu} : TBorderIcons{biSystemMenu, biMinimize});
    Pump();
    ASSERT_NE(Client(), Before);
    EXPECT_EQ(Parent->ActiveMDIChild(), First) << "maximized " << Maximized;
    {
      THeldControlKey Ctrl;
      PostMessageA(First->Handle(), WM_KEYDOWN, VK_F6, 1);
      Pump();
    }
    EXPECT_EQ(Parent->ActiveMDIChild(), Second) << "Ctrl+F6 works, maximized " << Maximized;
    SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(First->Handle()), 0);
    Pump();
  }
  First->SetWindowState(wsNormal);
  Pump();

  // The active child hidden: the other one is active; the last one hidden: none is.
  First->Hide();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Second);
  Second->Hide();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), nullptr);
  First->Show();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), First);
  // A window shown where no shown child is active takes the activation, however it is
  // shown; so does the first shown child of a parent's window made again.
  First->Hide();
  Pump();
  ASSERT_EQ(Parent->ActiveMDIChild(), nullptr);
  ShowWindow(Second->Handle(), SW_SHOWNA);
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Second);
  ShowWindow(Second->Handle(), SW_HIDE);
  Pump();
  ASSERT_EQ(Parent->ActiveMDIChild(), nullptr);
  Second->Show();
  SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(First->Handle()), 0);
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Second);
}

// A maximized child hidden (by Hide, by Visible, by its close with caHide), beside a
// shown child or as the last shown one, stays hidden and leaves no child maximized: the
// parent's caption is its own. Shown again, it is maximized again; its window made
// while it is hidden is not maximized.
TEST_F(MDIFormTest, AMaximizedChildHiddenStaysHiddenAndLeavesNoChildMaximized) {
  Parent->SetCaption("Parent");
  TForm* First = NewChild();
  TForm* Second = NewChild();
  First->SetCaption("First");
  Second->SetCaption("Second");
  struct THide : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caHide; }
  } Hide;
  Second->OnClose = TCloseEvent::Bind<&THide::Close>(&Hide);
  const TRect Normal = Second->BoundsRect();
  using THideStep = void (*)(TForm*);
  const std::pair<const char*, THideStep> Ways[] = {
      {"Hide", [](TForm* Child) { Child->Hide(); }},
      {"Visible", [](TForm* Child) { Child->SetVisible(false); }},
      {"Close", [](TForm* Child) { Child->Close(); }},
  };
  for (bool Last : {false, true}) {
    if (Last) First->Hide();
    for (const auto& [Name, HideChild] : Ways) {
      const std::string Where = std::string(Name) + (Last ? ", the last shown child" : ", beside a shown child");
      SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Second->Handle()), 0);
      Second->SetWindowState(wsMaximized);
      Pump();
      ASSERT_TRUE(IsZoomed(Second->Handle())) << Where;
      ASSERT_EQ(Parent->Caption(), "Parent - [Second]") << Where;
      HideChild(Second);
      Pump();
      EXPECT_FALSE(IsWindowVisible(Second->Handle())) << Where;
      EXPECT_FALSE(IsZoomed(Second->Handle()) || IsZoomed(First->Handle())) << Where;
      EXPECT_EQ(Parent->Caption(), "Parent") << Where;
      EXPECT_EQ(Parent->ActiveMDIChild(), Last ? nullptr : First) << Where;
      // Shown again, it is maximized as its window state still says.
      Second->Show();
      Pump();
      EXPECT_TRUE(IsZoomed(Second->Handle())) << Where;
      EXPECT_EQ(Parent->Caption(), "Parent - [Second]") << Where;
      Second->SetWindowState(wsNormal);
      Pump();
      EXPECT_EQ(Second->BoundsRect(), Normal) << Where;
    }
  }
  // Hidden maximized, its window made again (with the parent's) or first made hidden
  // is not maximized until it shows.
  Second->SetWindowState(wsMaximized);
  Second->Hide();
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu});
  Pump();
  EXPECT_FALSE(IsZoomed(Second->Handle())) << "made again hidden";
  TForm* Third = NewChild(false);
  Third->SetWindowState(wsMaximized);
  EXPECT_FALSE(IsZoomed(Third->Handle())) << "made hidden";
  EXPECT_EQ(Parent->Caption(), "Parent");
  Third->Show();
  Pump();
  EXPECT_TRUE(IsZoomed(Third->Handle())) << "shown";
}

}  // namespace
