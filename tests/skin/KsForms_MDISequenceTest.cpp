// Kit MDI children, and a plain child without a kit frame, through a long random
// sequence of what a user and a program do to them (states, closing with each action by
// the frame and by the form, hiding, freeing, activation, renaming, moving and sizing
// them, showing or maximizing a hidden one, a maximized one hidden, a child placed
// within a scroll bar's width of the client's right and bottom edges, the system's
// commands, the client's scroll bars, the parent resized and its window made again) (a
// fixed seed, so a failure repeats): every step settles, and after it the menu bar
// shows the buttons of the active kit child exactly when it is maximized (behind a
// plain active child, those of a maximized kit child when there is one), the parent's
// caption names the maximized active child, else the child of the bar's buttons, the
// active child is a shown one, every maximized child shows and fills the client, and
// the client shows a scroll bar exactly where a shown child lies outside it (none while
// a child is maximized), with a range that an arrow does not go past.
#include <gtest/gtest.h>

#include <algorithm>
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
    FreeObject(Parent);
    Application->SetMainForm(SavedMainForm);
    UiTest::TearDown();
  }
  HWND Client() const { return Parent->ClientHandle(); }
  // A kit child's frame; nullptr for the plain child.
  static TKsCustomForm* FrameOf(TCustomForm* Child) { return ActiveKsForm(Child); }
  // A child's state: its frame's, or for the plain child the system's.
  static TKsWindowState StateOf(TCustomForm* Child) {
    if (const TKsCustomForm* Frame = FrameOf(Child)) return Frame->WindowState();
    return IsZoomed(Child->Handle()) ? kwsMaximized : IsIconic(Child->Handle()) ? kwsMinimized : kwsNormal;
  }
  bool HasPlainChild() const {
    for (TForm* Child : Children)
      if (!FrameOf(Child)) return true;
    return false;
  }
  // A new child: a kit one, or the plain one when there is none.
  void NewChild() {
    const bool Plain = !HasPlainChild();
    auto* Child = NewObject<TForm>(nullptr, CreateNew);
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption((Plain ? "Plain " : "Child ") + std::to_string(++Made));
    Child->SetBounds(Pick(0, 200), Pick(0, 120), Pick(180, 300), Pick(120, 220));
    Child->OnClose = TCloseEvent::Bind<&TCloseChoice::Close>(&Choice);
    if (!Plain) NewObject<TKsCustomForm>(Child)->SetActive(true);
    Child->Show();
    Children.push_back(Child);
  }
  int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); }
  template <class T>
  T* PickOf(const std::vector<T*>& Found) {
    return Found.empty() ? nullptr : Found[Pick(0, static_cast<int>(Found.size()) - 1)];
  }
  // A child the user can reach: shown, or its icon in the tray.
  TForm* ReachableChild() {
    std::vector<TForm*> Reachable;
    for (TForm* Child : Children)
      if (IsWindowVisible(Child->Handle()) || StateOf(Child) == kwsTray) Reachable.push_back(Child);
    return PickOf(Reachable);
  }
  // A child by what it shows: Hidden ones (not shown, not in the tray), in the Tray,
  // Moveable ones (shown, not maximized), or Kit ones shown (with a frame); nullptr when
  // there is none.
  enum TKind { Hidden, Tray, Moveable, ShownKit };
  TForm* ChildThat(TKind Kind) {
    std::vector<TForm*> Found;
    for (TForm* Child : Children) {
      const TKsWindowState State = StateOf(Child);
      const bool Shown = IsWindowVisible(Child->Handle());
      if ((Kind == Hidden && !Shown && State != kwsTray) || (Kind == Tray && State == kwsTray) ||
          (Kind == Moveable && Shown && State != kwsMaximized) || (Kind == ShownKit && Shown && FrameOf(Child)))
        Found.push_back(Child);
    }
    return PickOf(Found);
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
  // The client's area without scroll bars.
  RECT FullArea() {
    RECT Area;
    GetClientRect(Client(), &Area);
    if (ShowsScrollBar(Client(), 0)) Area.bottom += GetSystemMetrics(SM_CYHSCROLL);
    if (ShowsScrollBar(Client(), 1)) Area.right += GetSystemMetrics(SM_CXVSCROLL);
    return Area;
  }
  // How far inside the client's right and bottom edges a child is placed so that either
  // bar alone would put it outside for the other: less than a bar's width each.
  TPoint WithinABar() {
    return TPoint{Pick(1, GetSystemMetrics(SM_CXVSCROLL) - 1), Pick(1, GetSystemMetrics(SM_CYHSCROLL) - 1)};
  }
  // One random step (another kind is drawn while the one drawn finds nothing to act
  // on); its name goes to the trail.
  void Step() {
    const std::size_t Was = Trail.size();
    for (int Draw = 0; Draw < 100 && Trail.size() == Was; ++Draw) TryStep();
    Pump();
  }
  void TryStep() {
    if (Children.empty()) {
      Trail += "new child; ";
      NewChild();
      return;
    }
    TForm* Child = ReachableChild();
    TKsCustomForm* Frame = Child ? FrameOf(Child) : nullptr;
    const bool Shown = Child && IsWindowVisible(Child->Handle());
    // The scroll bars' requests, showing a child in the tray and the placing of a child
    // within a bar's width of the edges come more often.
    int Kind = Pick(0, 34);
    if (Kind >= 29) Kind = Kind <= 30 ? 20 : Kind <= 32 ? 22 : 27;
    const std::string Name = Child ? Child->Caption() : std::string("-");
    auto Note = [&](const std::string& What) { Trail += What + "; "; };
    static const TCloseAction Actions[] = {caHide, caMinimize, caFree, caNone};
    static const char* ActionNames[] = {"caHide", "caMinimize", "caFree", "caNone"};
    if (Kind >= 5 && Kind <= 8 && Frame) {
      Choice.Default = false;
      Choice.Action = Actions[Kind - 5];
      Note("close " + Name + " " + ActionNames[Kind - 5]);
      if (Choice.Action == caFree) std::erase(Children, Child);
      Frame->CloseForm();
    } else if (Kind <= 2 && Child && !Frame && Shown) {
      // The plain child's states are the system's.
      static const WPARAM Commands[] = {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE};
      static const char* CommandNames[] = {"SC_MAXIMIZE", "SC_MINIMIZE", "SC_RESTORE"};
      Note(std::string(CommandNames[Kind]) + " " + Name);
      SendMessageA(Child->Handle(), WM_SYSCOMMAND, Commands[Kind], 0);
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
    } else if (Kind == 9 && Shown) {
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
      if (TForm* Hidden = ChildThat(TKind::Hidden)) {
        Note("show " + Hidden->Caption());
        Hidden->Show();
      }
    } else if (Kind == 14 && Children.size() < 4) {
      Note("new child");
      NewChild();
    } else if (Kind == 15 && Child) {
      Note("rename " + Name);
      Child->SetCaption((Frame ? "Child " : "Plain ") + std::to_string(++Made));
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
      if (TForm* Sized = ChildThat(Moveable); Sized && StateOf(Sized) == kwsNormal) {
        const int Width = Pick(150, 400), Height = Pick(100, 400);
        Note("resize " + Sized->Caption() + " to " + std::to_string(Width) + " x " + std::to_string(Height));
        Sized->SetBounds(Sized->Left(), Sized->Top(), Width, Height);
      }
    } else if (Kind == 20) {
      static const WORD Codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
      static const char* CodeNames[] = {"line back", "line on", "page back", "page on", "to the start", "to the end"};
      const int Bar = Pick(0, 1), Code = Pick(0, 5);
      Note(std::string(Bar == 0 ? "horizontal" : "vertical") + " scroll " + CodeNames[Code]);
      Scroll(Bar, Codes[Code]);
    } else if (Kind == 21) {
      if (TForm* Unseen = ChildThat(TKind::Hidden); Unseen && FrameOf(Unseen)) {
        Note("maximize hidden " + Unseen->Caption());
        FrameOf(Unseen)->Maximize();
      }
    } else if (Kind == 22) {
      if (TForm* InTray = ChildThat(Tray)) {
        Note("show " + InTray->Caption() + " in the tray");
        InTray->Show();
      }
    } else if (Kind == 23 && Frame && Shown) {
      static const WPARAM Commands[] = {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE};
      static const char* CommandNames[] = {"SC_MAXIMIZE", "SC_MINIMIZE", "SC_RESTORE"};
      const int Command = Pick(0, 2);
      Note(std::string(CommandNames[Command]) + " " + Name);
      SendMessageA(Child->Handle(), WM_SYSCOMMAND, Commands[Command], 0);
    } else if (Kind == 24 && Shown) {
      // Closed by its form (as a program does), not by the frame.
      const int Action = Pick(0, 4);
      Choice.Default = Action == 4;
      if (!Choice.Default) Choice.Action = Actions[Action];
      Note("form closes " + Name + " " + (Choice.Default ? "by default" : ActionNames[Action]));
      if (!Choice.Default && Choice.Action == caFree) std::erase(Children, Child);
      Child->Close();
    } else if (Kind == 25 && Shown) {
      const bool ByVisible = Pick(0, 1) == 1;
      Note((ByVisible ? "switch Visible off for " : "hide ") + Name);
      if (ByVisible)
        Child->SetVisible(false);
      else
        Child->Hide();
    } else if (Kind == 26) {
      // A kit child maximized, then hidden by the frame's close, its form's close (both
      // with caHide set in the close event) or its form's Hide.
      if (TForm* Kit = ChildThat(ShownKit)) {
        const int How = Pick(0, 2);
        static const char* HowNames[] = {"the frame's close with caHide", "its form's close with caHide", "Hide"};
        Note("maximize " + Kit->Caption() + " and hide it by " + HowNames[How]);
        if (FrameOf(Kit)->WindowState() != kwsMaximized) FrameOf(Kit)->Maximize();
        Pump();
        Choice.Default = false;
        Choice.Action = caHide;
        if (How == 0)
          FrameOf(Kit)->CloseForm();
        else if (How == 1)
          Kit->Close();
        else
          Kit->Hide();
      }
    } else if (Kind == 27 || Kind == 28) {
      // A child within a bar's width of the right and bottom edges, by its own move or by
      // the parent's resize: it fits without bars, but not beside either bar alone. The
      // other children are brought inside first and the child put out by half a bar on
      // the right, so that the horizontal bar shows when it comes there, for no other
      // child.
      TForm* Placed = ChildThat(Moveable);
      if (!Placed || StateOf(Placed) != kwsNormal) return;
      const int BarWidth = GetSystemMetrics(SM_CXVSCROLL), BarHeight = GetSystemMetrics(SM_CYHSCROLL);
      RECT Area = FullArea();
      const RECT Inner{Area.left, Area.top, Area.right - BarWidth, Area.bottom - BarHeight};
      if (Placed->Width() > Inner.right || Placed->Height() > Inner.bottom) return;
      for (TForm* Other : Children)
        if (Other != Placed && IsWindowVisible(Other->Handle()) && StateOf(Other) != kwsMaximized)
          Other->SetBounds(std::clamp(Other->Left(), 0, std::max<int>(0, Inner.right - Other->Width())),
                           std::clamp(Other->Top(), 0, std::max<int>(0, Inner.bottom - Other->Height())), Other->Width(),
                           Other->Height());
      Placed->SetBounds(Area.right + BarWidth / 2 - Placed->Width(), Area.bottom - BarHeight - Placed->Height(),
                        Placed->Width(), Placed->Height());
      Pump();
      const TPoint In = WithinABar();
      Area = FullArea();
      if (Kind == 27) {
        Note("place " + Placed->Caption() + " " + std::to_string(In.x) + " and " + std::to_string(In.y) +
             " inside the right and bottom edges");
        Placed->SetBounds(Area.right - In.x - Placed->Width(), Area.bottom - In.y - Placed->Height(), Placed->Width(),
                          Placed->Height());
      } else {
        const int DX = Placed->Left() + Placed->Width() + In.x - Area.right;
        const int DY = Placed->Top() + Placed->Height() + In.y - Area.bottom;
        Note("resize the parent by " + std::to_string(DX) + " x " + std::to_string(DY) + " to put " +
             Placed->Caption() + " " + std::to_string(In.x) + " and " + std::to_string(In.y) +
             " inside the right and bottom edges");
        Parent->SetBounds(Parent->Left(), Parent->Top(), Parent->Width() + DX, Parent->Height() + DY);
      }
    }
  }
  // What disagrees with what is shown, or nothing.
  std::string Disagreement() {
    TCustomForm* Active = Parent->ActiveMDIChild();
    const bool MaximizedActive = Active && StateOf(Active) == kwsMaximized;
    std::vector<TCustomForm*> MaximizedKits;
    for (TForm* Child : Children)
      if (FrameOf(Child) && StateOf(Child) == kwsMaximized && IsWindowVisible(Child->Handle()))
        MaximizedKits.push_back(Child);
    // The bar shows the buttons of the active kit child when it is maximized; behind a
    // plain active child, those of a maximized kit child (none when there is none). The
    // caption names the maximized active child, else the child of the bar's buttons.
    TCustomForm* Buttons = MaximizedActive && FrameOf(Active) ? Active : nullptr;
    if (Active && !FrameOf(Active) && !MaximizedKits.empty()) {
      if (std::find(MaximizedKits.begin(), MaximizedKits.end(), Bar->MDIChild()) == MaximizedKits.end())
        return "the bar does not show a maximized kit child's buttons behind the plain active child";
      Buttons = Bar->MDIChild();
    }
    TCustomForm* Named = MaximizedActive ? Active : Buttons;
    const AnsiString Caption = Named ? "Parent - [" + Named->Caption() + "]" : AnsiString("Parent");
    if (Parent->Caption() != Caption) return "the caption is \"" + Parent->Caption() + "\", not \"" + Caption + "\"";
    if (Bar->MDIChild() != Buttons) return "the bar's buttons are another child's";
    if (Bar->CloseButton()->Visible() != (Buttons != nullptr)) return "the bar's buttons show or hide wrongly";
    const auto SystemActive = reinterpret_cast<HWND>(SendMessageA(Client(), WM_MDIGETACTIVE, 0, 0));
    bool AnyShown = false;
    for (TForm* Child : Children) AnyShown = AnyShown || IsWindowVisible(Child->Handle());
    if (AnyShown && !IsWindowVisible(SystemActive)) return "the active child is hidden";
    RECT Area;
    GetClientRect(Client(), &Area);
    bool AnyMaximized = false;
    for (TForm* Child : Children) {
      if (StateOf(Child) != kwsMaximized) continue;
      if (!IsWindowVisible(Child->Handle())) return Child->Caption() + " is maximized but hidden";
      if (FrameOf(Child) && !Covers(Child->BoundsRect(), Area))
        return Child->Caption() + " is maximized but does not fill the client";
      AnyMaximized = true;
    }
    if (!Log->Messages.empty()) return "an exception: " + Log->Messages.front();
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
