// Multiple-document forms on real windows: the MDI parent's client window below its
// aligned controls, child forms made in the main form's client, their window states,
// activation and closing, the MDI keys of the application's loop, and form files.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Classes_Streaming.h"
#include "classlib/ExtCtrls.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

using namespace uitest;

namespace {

// A window's rectangle in the client coordinates of another window.
RECT RectIn(HWND Window, HWND Other) {
  RECT R;
  GetWindowRect(Window, &R);
  MapWindowPoints(HWND_DESKTOP, Other, reinterpret_cast<POINT*>(&R), 2);
  return R;
}

RECT ClientRectOf(HWND Window) {
  RECT R;
  GetClientRect(Window, &R);
  return R;
}

bool SameRect(const RECT& A, const RECT& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

std::string Text(const RECT& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
         std::to_string(R.bottom);
}

// Holds Ctrl in the thread's key state, as the system's MDI keys read it.
class THeldControlKey {
 public:
  THeldControlKey() {
    GetKeyboardState(FSaved);
    BYTE Keys[256];
    GetKeyboardState(Keys);
    Keys[VK_CONTROL] = Keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(Keys);
  }
  ~THeldControlKey() { SetKeyboardState(FSaved); }

 private:
  BYTE FSaved[256];
};

class MDIFormTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Parent = NewObject<TForm>(nullptr, CreateNew);
    Parent->SetName("frmParent");
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetBounds(60, 40, 600, 450);
    Bar = NewObject<TPanel>(Parent);
    Bar->SetParent(Parent);
    Bar->SetHeight(30);
    Bar->SetAlign(alTop);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
  }
  void TearDown() override {
    for (TCustomForm* Child : Children) Child->Free();
    Children.clear();
    Parent->Free();
    UiTest::TearDown();
  }
  TForm* NewChild(const AnsiString& Caption, bool Show = true) {
    TForm* Child = NewObject<TForm>(nullptr, CreateNew);
    Children.push_back(Child);
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption(Caption);
    Child->SetBounds(10 + 20 * static_cast<int>(Children.size()), 10, 250, 180);
    if (Show) {
      Child->Show();
      Pump();
    }
    return Child;
  }
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
  EXPECT_EQ(GetParent(Client()), Parent->Handle());
  auto Expected = [&] {
    RECT R = ClientRectOf(Parent->Handle());
    R.top += Bar->Height();
    return R;
  };
  EXPECT_TRUE(SameRect(RectIn(Client(), Parent->Handle()), Expected())) << Text(RectIn(Client(), Parent->Handle()));

  Parent->SetBounds(80, 50, 500, 380);
  Pump();
  EXPECT_TRUE(SameRect(RectIn(Client(), Parent->Handle()), Expected())) << Text(RectIn(Client(), Parent->Handle()));
  // The system's own resize of the window goes through the frame's default handling.
  SetWindowPos(Parent->Handle(), nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_TRUE(SameRect(RectIn(Client(), Parent->Handle()), Expected())) << Text(RectIn(Client(), Parent->Handle()));
  // The bar stays over the client.
  POINT InBar{20, 10};
  EXPECT_EQ(ChildWindowFromPoint(Parent->Handle(), InBar), Bar->Handle());

  // A window made again brings a client of its own, and the visible children with it.
  TForm* Child = NewChild("Kept");
  const HWND OldClient = Client();
  Parent->SetBorderStyle(bsSingle);
  Pump();
  ASSERT_TRUE(Parent->HandleAllocated());
  EXPECT_TRUE(Client());
  EXPECT_NE(Client(), OldClient);
  EXPECT_FALSE(IsWindow(OldClient));
  ASSERT_TRUE(Child->HandleAllocated());
  EXPECT_EQ(GetParent(Child->Handle()), Client());
  EXPECT_TRUE(IsWindowVisible(Child->Handle()));
  EXPECT_EQ(Parent->MDIChildCount(), 1);

  // A plain form has none.
  TForm* Plain = Keep(NewObject<TForm>(nullptr, CreateNew));
  Plain->HandleNeeded();
  EXPECT_EQ(Plain->ClientHandle(), nullptr);
  EXPECT_EQ(Plain->MDIChildCount(), 0);
  EXPECT_EQ(Plain->ActiveMDIChild(), nullptr);
}

TEST_F(MDIFormTest, ChildFormsLiveInTheMainFormsClientAndFollowActivation) {
  TForm* First = NewChild("First");
  TForm* Second = NewChild("Second");
  for (TForm* Child : {First, Second}) {
    EXPECT_EQ(GetParent(Child->Handle()), Client());
    EXPECT_TRUE(GetWindowLongA(Child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(Child->MDIParent(), Parent);
  }
  // Bounds are in the client's coordinates.
  EXPECT_EQ(RectIn(Second->Handle(), Client()).left, Second->Left());
  EXPECT_EQ(Second->Left(), 50);

  EXPECT_EQ(Parent->MDIChildCount(), 2);
  EXPECT_EQ(Parent->ActiveMDIChild(), Second);
  EXPECT_EQ(Parent->MDIChildren(0), Second) << "the active child first";
  EXPECT_EQ(Parent->MDIChildren(1), First);
  EXPECT_EQ(Parent->MDIChildren(2), nullptr);
  EXPECT_TRUE(Second->Active());
  EXPECT_FALSE(First->Active());

  TChangeCounter Activations;
  First->OnActivate = Activations.Event();
  SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(First->Handle()), 0);
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), First);
  EXPECT_TRUE(First->Active());
  EXPECT_EQ(Activations.Count, 1) << "as the focus comes in";
  EXPECT_FALSE(Second->Active());
  EXPECT_EQ(Parent->MDIChildren(0), First);

  // A child freed leaves the client's bookkeeping in order.
  Second->Free();
  Children.pop_back();
  Pump();
  EXPECT_EQ(Parent->MDIChildCount(), 1);
  EXPECT_EQ(Parent->ActiveMDIChild(), First);

  // Without an MDI parent as the main form there is nowhere to put a child.
  Application->SetMainForm(nullptr);
  TForm* Orphan = NewChild("Orphan", false);
  ExpectRaises<EInvalidOperation>([&] { Orphan->HandleNeeded(); },
                                  "Cannot create MDI child form '': the main form is not an MDI parent form");
  EXPECT_FALSE(Orphan->HandleAllocated());
  TForm* Plain = Keep(NewObject<TForm>(nullptr, CreateNew));
  Application->SetMainForm(Plain);
  ExpectRaises<EInvalidOperation>([&] { Orphan->HandleNeeded(); },
                                  "Cannot create MDI child form '': the main form is not an MDI parent form");
  Application->SetMainForm(Parent);
  Orphan->HandleNeeded();
  EXPECT_EQ(GetParent(Orphan->Handle()), Client());
}

TEST_F(MDIFormTest, WindowStatesMaximizeMinimizeAndRestoreInsideTheClient) {
  TForm* First = NewChild("First");
  TForm* Second = NewChild("Second");
  const TRect Normal = Second->BoundsRect();
  Second->SetWindowState(wsMaximized);
  Pump();
  EXPECT_TRUE(IsZoomed(Second->Handle()));
  EXPECT_EQ(Second->WindowState(), wsMaximized);
  // The client area of a maximized child is the MDI client's.
  RECT Area = ClientRectOf(Second->Handle());
  MapWindowPoints(Second->Handle(), Client(), reinterpret_cast<POINT*>(&Area), 2);
  EXPECT_TRUE(SameRect(Area, ClientRectOf(Client()))) << Text(Area);

  Second->SetWindowState(wsNormal);
  Pump();
  EXPECT_FALSE(IsZoomed(Second->Handle()));
  EXPECT_EQ(Second->BoundsRect(), Normal);

  First->SetWindowState(wsMinimized);
  Pump();
  EXPECT_TRUE(IsIconic(First->Handle()));
  EXPECT_EQ(GetParent(First->Handle()), Client()) << "minimized inside the client";
  EXPECT_EQ(First->WindowState(), wsMinimized);
  First->SetWindowState(wsNormal);
  Pump();
  EXPECT_FALSE(IsIconic(First->Handle()));

  // A child made maximized comes up maximized.
  TForm* Third = NewChild("Third", false);
  Third->SetWindowState(wsMaximized);
  Third->Show();
  Pump();
  EXPECT_TRUE(IsZoomed(Third->Handle()));
}

TEST_F(MDIFormTest, ClosingAChildMinimizesItUnlessItsCloseEventChoosesAnotherAction) {
  TForm* First = NewChild("First");
  First->Close();
  Pump();
  EXPECT_TRUE(IsIconic(First->Handle()));
  EXPECT_EQ(Parent->MDIChildCount(), 1);

  TForm* Second = NewChild("Second");
  struct TFree : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caFree; }
  } Free;
  Second->OnClose = TCloseEvent::Bind<&TFree::Close>(&Free);
  Children.pop_back();  // it frees itself
  Second->Close();
  Pump();
  EXPECT_EQ(Parent->MDIChildCount(), 1);
  EXPECT_EQ(Parent->MDIChildren(0), First);
}

TEST_F(MDIFormTest, TheApplicationsLoopGivesTheClientItsCtrlF6AndCtrlF4) {
  TForm* First = NewChild("First");
  TForm* Second = NewChild("Second");
  ASSERT_EQ(Parent->ActiveMDIChild(), Second);
  {
    THeldControlKey Ctrl;
    PostMessageA(Second->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
    EXPECT_EQ(Parent->ActiveMDIChild(), First);
    PostMessageA(First->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
    EXPECT_EQ(Parent->ActiveMDIChild(), Second);
    // Ctrl+F4 closes the active child: it is minimized.
    PostMessageA(Second->Handle(), WM_KEYDOWN, VK_F4, 1);
    Pump();
  }
  EXPECT_TRUE(IsIconic(Second->Handle()));
  EXPECT_FALSE(IsIconic(First->Handle()));
  // F6 alone is an ordinary key.
  PostMessageA(First->Handle(), WM_KEYDOWN, VK_F6, 1);
  Pump();
  EXPECT_FALSE(IsIconic(First->Handle()));
}

TEST_F(MDIFormTest, FormFilesWithBothStylesReadBackIntoWorkingForms) {
  // The fixture's parent steps aside for one read from a file.
  Application->SetMainForm(nullptr);
  TForm* FileParent = Keep(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(FileParent, R"(form frmFileParent: TForm
  Left = 120
  Top = 90
  Width = 500
  Height = 400
  Caption = "File parent"
  FormStyle = fsMDIForm
end
)", "parent");
  TForm* FileChild = NewObject<TForm>(nullptr, CreateNew);
  Children.push_back(FileChild);
  ReadComponentText(FileChild, R"(form frmFileChild: TForm
  Left = 15
  Top = 25
  Width = 200
  Height = 150
  Caption = "File child"
  FormStyle = fsMDIChild
end
)", "child");
  EXPECT_EQ(FileParent->FormStyle(), fsMDIForm);
  EXPECT_EQ(FileChild->FormStyle(), fsMDIChild);
  Application->SetMainForm(FileParent);
  FileParent->Show();
  FileChild->Show();
  Pump();
  ASSERT_TRUE(FileParent->ClientHandle());
  EXPECT_EQ(GetParent(FileChild->Handle()), FileParent->ClientHandle());
  EXPECT_EQ(FileParent->ActiveMDIChild(), FileChild);
  EXPECT_EQ(RectIn(FileChild->Handle(), FileParent->ClientHandle()).left, 15);
  // And they write their styles back.
  EXPECT_NE(WriteComponentText(FileChild).find("FormStyle = fsMDIChild"), std::string::npos);
  EXPECT_NE(WriteComponentText(FileParent).find("FormStyle = fsMDIForm"), std::string::npos);
  FileChild->Free();
  Children.pop_back();
  Application->SetMainForm(Parent);
}

}  // namespace
