// Kit MDI children through a long random sequence of what a user and a program do to
// them (states, closing with each action, activation, renaming, the parent resized and
// its window made again) (a fixed seed, so a failure repeats): after every step the parent's caption
// names exactly the maximized active child, the menu bar shows that child's buttons
// exactly then, the active child is a shown one and every maximized child fills the
// client.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/KsForms.h"
#include "skin/KsItems.h"
#include "skin/KsMenuBar.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// A bar whose form file has been read: it has the child-window buttons.
class TLoadedBar : public TKsCustomMenuBar {
 public:
  explicit TLoadedBar(TComponent* AOwner) : TKsCustomMenuBar(AOwner) {}
  void ReadDone() { Loaded(); }
};

// The action every child's close event answers with.
struct TCloseChoice : TObject {
  TCloseAction Action = caHide;
  void Close(TObject*, TCloseAction& Chosen) { Chosen = Action; }
};

// Whether R covers the whole of Area.
bool Covers(const TRect& R, const TRect& Area) {
  return R.left <= Area.left && R.top <= Area.top && R.right >= Area.right && R.bottom >= Area.bottom;
}

class KsMDISequenceTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SetCursorPos(1020, 760);  // off the windows
    SavedMainForm = Application->MainForm();
    Parent = NewObject<TForm>(nullptr, CreateNew);
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetCaption("Parent");
    Parent->SetBounds(40, 30, 640, 480);
    Bar = NewObject<TLoadedBar>(Parent);
    Bar->SetParent(Parent);
    Bar->ReadDone();
    auto* ParentFrame = NewObject<TKsCustomForm>(Parent);
    ParentFrame->SetActive(true);
    ParentFrame->SetMenuBar(Bar);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
  }
  void TearDown() override {
    for (TForm* Child : Children) Child->Free();
    Parent->Free();
    Application->SetMainForm(SavedMainForm);
    UiTest::TearDown();
  }
  HWND Client() const { return Parent->ClientHandle(); }
  static TKsCustomForm* FrameOf(TCustomForm* Child) { return ActiveKsForm(Child); }
  void NewChild() {
    auto* Child = NewObject<TForm>(nullptr, CreateNew);
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption("Child " + std::to_string(++Made));
    Child->SetBounds(Pick(0, 200), Pick(0, 120), Pick(180, 300), Pick(120, 220));
    Child->OnClose = TCloseEvent::Bind<&TCloseChoice::Close>(&Choice);
    NewObject<TKsCustomForm>(Child)->SetActive(true);
    Child->Show();
    Children.push_back(Child);
  }
  int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); }
  // A child the user can reach: shown, or its icon in the tray.
  TForm* ReachableChild() {
    std::vector<TForm*> Reachable;
    for (TForm* Child : Children)
      if (IsWindowVisible(Child->Handle()) || FrameOf(Child)->WindowState() == kwsTray) Reachable.push_back(Child);
    return Reachable.empty() ? nullptr : Reachable[Pick(0, static_cast<int>(Reachable.size()) - 1)];
  }
  // One random step; its name goes to the trail.
  void Step() {
    TForm* Child = ReachableChild();
    TKsCustomForm* Frame = Child ? FrameOf(Child) : nullptr;
    const int Kind = Pick(0, 15);
    const std::string Name = Child ? Child->Caption() : std::string("-");
    auto Note = [&](const std::string& What) { Trail += What + "; "; };
    if (Kind >= 5 && Kind <= 8 && Frame) {
      static const TCloseAction Actions[] = {caHide, caMinimize, caFree, caNone};
      static const char* Names[] = {"caHide", "caMinimize", "caFree", "caNone"};
      Choice.Action = Actions[Kind - 5];
      Note("close " + Name + " " + Names[Kind - 5]);
      if (Choice.Action == caFree) std::erase(Children, Child);
      Frame->CloseForm();
    } else if (Kind == 0 && Frame) {
      Note("maximize " + Name);
      Frame->Maximize();
    } else if (Kind == 1 && Frame) {
      Note("minimize " + Name);
      Frame->Minimize();
    } else if (Kind == 2 && Frame) {
      Note("restore " + Name);
      Frame->Restore();
    } else if (Kind == 3 && Frame) {
      Note("roll up " + Name);
      Frame->Rollup();
    } else if (Kind == 4 && Frame) {
      Note("tray " + Name);
      Frame->MinimizeToTray();
    } else if (Kind == 9 && Child && IsWindowVisible(Child->Handle())) {
      Note("activate " + Name);
      SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child->Handle()), 0);
    } else if (Kind == 10 && Parent->ActiveMDIChild()) {
      Note("Ctrl+F6");
      THeldControlKey Ctrl;
      PostMessageA(Parent->ActiveMDIChild()->Handle(), WM_KEYDOWN, VK_F6, 1);
      Pump();
    } else if (Kind == 11) {
      Note("resize the parent");
      Parent->SetBounds(Pick(0, 200), Pick(0, 150), Pick(300, 800), Pick(250, 600));
    } else if (Kind == 12) {
      Note("make the parent's window again");
      Parent->SetBorderIcons(Parent->BorderIcons().Contains(biHelp) ? TBorderIcons{biSystemMenu}
                                                                    : TBorderIcons{biSystemMenu, biHelp});
    } else if (Kind == 13) {
      for (TForm* Hidden : Children)
        if (!IsWindowVisible(Hidden->Handle()) && FrameOf(Hidden)->WindowState() != kwsTray) {
          Note("show " + Hidden->Caption());
          Hidden->Show();
          break;
        }
    } else if (Kind == 14 && Children.size() < 4) {
      Note("new child");
      NewChild();
    } else if (Kind == 15 && Child) {
      Note("rename " + Name);
      Child->SetCaption("Child " + std::to_string(++Made));
    } else if (Kind == 14 && Frame && Frame->WindowState() == kwsTray) {
      Note("tray icon double-clicked " + Name);
      SendMessageA(Frame->TrayWindow(), KM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
    }
    Pump();
  }
  // What disagrees with what is shown, or nothing.
  std::string Disagreement() {
    TCustomForm* Active = Parent->ActiveMDIChild();
    const bool MaximizedActive = Active && FrameOf(Active)->WindowState() == kwsMaximized;
    const AnsiString Caption = MaximizedActive ? "Parent - [" + Active->Caption() + "]" : AnsiString("Parent");
    if (Parent->Caption() != Caption) return "the caption is \"" + Parent->Caption() + "\", not \"" + Caption + "\"";
    if (Bar->MDIChild() != (MaximizedActive ? Active : nullptr)) return "the bar's buttons are another child's";
    if (Bar->CloseButton()->Visible() != MaximizedActive) return "the bar's buttons show or hide wrongly";
    const auto SystemActive = reinterpret_cast<HWND>(SendMessageA(Client(), WM_MDIGETACTIVE, 0, 0));
    bool AnyShown = false;
    for (TForm* Child : Children) AnyShown = AnyShown || IsWindowVisible(Child->Handle());
    if (AnyShown && !IsWindowVisible(SystemActive)) return "the active child is hidden";
    RECT Area;
    GetClientRect(Client(), &Area);
    for (TForm* Child : Children)
      if (FrameOf(Child)->WindowState() == kwsMaximized && !Covers(Child->BoundsRect(), Area))
        return Child->Caption() + " is maximized but does not fill the client";
    if (!Log->Messages.empty()) return "an exception: " + Log->Messages.front();
    return "";
  }

  std::mt19937 Random{20261207u};
  TCustomForm* SavedMainForm = nullptr;
  TForm* Parent = nullptr;
  TLoadedBar* Bar = nullptr;
  std::vector<TForm*> Children;
  TCloseChoice Choice;
  int Made = 0;
  std::string Trail;
};

TEST_F(KsMDISequenceTest, TheCaptionButtonsActiveChildAndSizesFollowEveryStep) {
  for (int I = 0; I < 3; ++I) NewChild();
  Pump();
  ASSERT_EQ(Disagreement(), "");
  for (int I = 0; I < 300; ++I) {
    Step();
    const std::string Wrong = Disagreement();
    ASSERT_EQ(Wrong, "") << "after step " << I << ": " << Trail;
    if (Trail.size() > 600) Trail.erase(0, Trail.size() - 400);
  }
}

}  // namespace
