// Kit MDI children through a long random sequence of what a user and a program do to
// them (states, closing with each action, freeing, activation, renaming, moving and
// sizing them, showing or maximizing a hidden one, the system's commands, the client's
// scroll bars, the parent resized and its window made again) (a fixed seed, so a
// failure repeats): every step settles, and after it the parent's caption names exactly
// the maximized active child, the menu bar shows that child's buttons exactly then, the
// active child is a shown one, every maximized child fills the client, and the client
// shows a scroll bar exactly where a shown child lies outside it (none while a child is
// maximized), with a range that an arrow does not go past.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "skin/KsForms.h"
#include "skin/KsItems.h"
#include "skin/KsMenuBar.h"
#include "tests/skin/KitUiSupport.h"
#include "tests/skin/MDIClientSupport.h"
#include "tests/support/CursorSupport.h"

using namespace kittest;
using namespace mditest;

namespace {

// A bar whose form file has been read: it has the child-window buttons.
class TLoadedBar : public TKsCustomMenuBar {
 public:
  explicit TLoadedBar(TComponent* AOwner) : TKsCustomMenuBar(AOwner) {}
  void ReadDone() { Loaded(); }
};

// The action every child's close event answers with (the default one, unless set).
struct TCloseChoice : TObject {
  bool Default = false;
  TCloseAction Action = caHide;
  void Close(TObject*, TCloseAction& Chosen) {
    if (!Default) Chosen = Action;
  }
};

// Whether R covers the whole of Area.
bool Covers(const TRect& R, const TRect& Area) {
  return R.left <= Area.left && R.top <= Area.top && R.right >= Area.right && R.bottom >= Area.bottom;
}

class KsMDISequenceTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    PlaceCursor(1020, 760);  // off the windows
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
  // A child by what it shows: Hidden ones (not shown, not in the tray), in the Tray,
  // or Moveable ones (shown, not maximized); nullptr when there is none.
  enum TKind { Hidden, Tray, Moveable };
  TForm* ChildThat(TKind Kind) {
    std::vector<TForm*> Found;
    for (TForm* Child : Children) {
      const TKsWindowState State = FrameOf(Child)->WindowState();
      const bool Shown = IsWindowVisible(Child->Handle());
      if ((Kind == Hidden && !Shown && State != kwsTray) || (Kind == Tray && State == kwsTray) ||
          (Kind == Moveable && Shown && State != kwsMaximized))
        Found.push_back(Child);
    }
    return Found.empty() ? nullptr : Found[Pick(0, static_cast<int>(Found.size()) - 1)];
  }
  // A scroll bar's request: the children move toward the bar's end, no further than
  // they reach beyond the client, and not at all without the bar.
  void Scroll(int Bar, WORD Code) {
    int Before[2], After[2];
    ChildrenReach(Client(), Before, After);
    const bool Shown = ShowsScrollBar(Client(), Bar);
    const bool Forward = Code == SB_LINEDOWN || Code == SB_PAGEDOWN || Code == SB_BOTTOM;
    const int Room = Shown ? (Forward ? After[Bar] : Before[Bar]) : 0;
    const TPoint Was{Children.front()->Left(), Children.front()->Top()};
    SendMessageA(Client(), Bar == 0 ? WM_HSCROLL : WM_VSCROLL, Code, 0);
    const TPoint Now{Children.front()->Left(), Children.front()->Top()};
    const int Moved = (Bar == 0 ? Now.x - Was.x : Now.y - Was.y) * (Forward ? -1 : 1);
    if (Moved < 0 || Moved > Room)
      StepFault = "the children moved " + std::to_string(Moved) + " where they reach " + std::to_string(Room);
  }
  // One random step; its name goes to the trail.
  void Step() {
    if (Children.empty()) {
      Trail += "new child; ";
      NewChild();
      Pump();
      return;
    }
    TForm* Child = ReachableChild();
    TKsCustomForm* Frame = Child ? FrameOf(Child) : nullptr;
    // The scroll bars' requests and showing a child in the tray come more often.
    int Kind = Pick(0, 27);
    if (Kind >= 24) Kind = Kind <= 26 ? 20 : 22;
    const std::string Name = Child ? Child->Caption() : std::string("-");
    auto Note = [&](const std::string& What) { Trail += What + "; "; };
    if (Kind >= 5 && Kind <= 8 && Frame) {
      static const TCloseAction Actions[] = {caHide, caMinimize, caFree, caNone};
      static const char* Names[] = {"caHide", "caMinimize", "caFree", "caNone"};
      Choice.Default = false;
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
      const TRect R = Bounds(Pick(0, 200), Pick(0, 150), Pick(300, 800), Pick(250, 600));
      Note("resize the parent to " + std::to_string(R.right - R.left) + " x " + std::to_string(R.bottom - R.top));
      Parent->SetBoundsRect(R);
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
    } else if (Kind == 16 && Child) {
      Note("free " + Name);
      std::erase(Children, Child);
      Child->Free();
    } else if (Kind == 17 && Frame) {
      Note("close " + Name + " by default");
      Choice.Default = true;
      Frame->CloseForm();
    } else if (Kind == 18) {
      if (TForm* Moved = ChildThat(Moveable)) {
        RECT Area;
        GetClientRect(Client(), &Area);
        const int Side = Pick(0, 3), By = Pick(1, 150);
        static const char* Sides[] = {"left", "top", "right", "bottom"};
        Note("move " + Moved->Caption() + " out by " + std::to_string(By) + " on the " + Sides[Side]);
        TRect R = Moved->BoundsRect();
        const int DX = Side == 0 ? -By - R.left : Side == 2 ? Area.right + By - R.right : 0;
        const int DY = Side == 1 ? -By - R.top : Side == 3 ? Area.bottom + By - R.bottom : 0;
        Moved->SetBounds(R.left + DX, R.top + DY, R.right - R.left, R.bottom - R.top);
      }
    } else if (Kind == 19) {
      if (TForm* Sized = ChildThat(Moveable); Sized && FrameOf(Sized)->WindowState() == kwsNormal) {
        const int Width = Pick(150, 400), Height = Pick(100, 400);
        Note("resize " + Sized->Caption() + " to " + std::to_string(Width) + " x " + std::to_string(Height));
        Sized->SetBounds(Sized->Left(), Sized->Top(), Width, Height);
      }
    } else if (Kind == 20 && !Children.empty()) {
      static const WORD Codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
      static const char* CodeNames[] = {"line back", "line on", "page back", "page on", "to the start", "to the end"};
      const int Bar = Pick(0, 1), Code = Pick(0, 5);
      Note(std::string(Bar == 0 ? "horizontal" : "vertical") + " scroll " + CodeNames[Code]);
      Scroll(Bar, Codes[Code]);
    } else if (Kind == 21) {
      if (TForm* Unseen = ChildThat(Hidden)) {
        Note("maximize hidden " + Unseen->Caption());
        FrameOf(Unseen)->Maximize();
      }
    } else if (Kind == 22) {
      if (TForm* InTray = ChildThat(Tray)) {
        Note("show " + InTray->Caption() + " in the tray");
        InTray->Show();
      }
    } else if (Kind == 23 && Child && IsWindowVisible(Child->Handle())) {
      static const WPARAM Commands[] = {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE};
      static const char* CommandNames[] = {"SC_MAXIMIZE", "SC_MINIMIZE", "SC_RESTORE"};
      const int Command = Pick(0, 2);
      Note(std::string(CommandNames[Command]) + " " + Name);
      SendMessageA(Child->Handle(), WM_SYSCOMMAND, Commands[Command], 0);
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
    bool AnyMaximized = false;
    for (TForm* Child : Children) AnyMaximized = AnyMaximized || FrameOf(Child)->WindowState() == kwsMaximized;
    if (const std::string Bars = ScrollBarDisagreement(Client(), AnyMaximized); !Bars.empty()) return Bars;
    return std::exchange(StepFault, std::string());
  }

  std::mt19937 Random{20261207u};
  TCustomForm* SavedMainForm = nullptr;
  TForm* Parent = nullptr;
  TLoadedBar* Bar = nullptr;
  std::vector<TForm*> Children;
  TCloseChoice Choice;
  int Made = 0;
  std::string Trail;
  std::string StepFault;
};

TEST_F(KsMDISequenceTest, TheCaptionButtonsActiveChildAndSizesFollowEveryStep) {
  for (int I = 0; I < 3; ++I) NewChild();
  Pump();
  ASSERT_EQ(Disagreement(), "");
  // A step whose messages keep asking for one another is stopped and fails.
  TMessageLoopGuard Guard;
  for (int I = 0; I < 300; ++I) {
    Guard.Reset();
    Step();
    ASSERT_FALSE(Guard.Tripped()) << "step " << I << " did not settle: " << Trail;
    const std::string Wrong = Disagreement();
    ASSERT_EQ(Wrong, "") << "after step " << I << ": " << Trail;
    if (Trail.size() > 600) Trail.erase(0, Trail.size() - 400);
  }
}

}  // namespace
