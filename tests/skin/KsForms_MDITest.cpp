// The skinned frame on multiple-document forms, with real windows: a kit MDI parent
// with a menu bar and two kit MDI children. The children's defaults and metrics in the
// client, the client painted through the parent form, a maximized child without a
// frame and named in the parent's caption (following activation, Ctrl+F6, restore and
// minimize), the parent's resize, closing, the drag outline in the client, the client's
// scroll bars, hidden and tray children maximized or shown, and the themed window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/KsControls.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "tests/skin/KitUiSupport.h"
#include "tests/skin/MDIClientSupport.h"
#include "tests/support/CursorSupport.h"

using namespace kittest;
using namespace mditest;

namespace {

constexpr TColor ParentColor = static_cast<TColor>(RGB(0, 128, 0));
constexpr TColor ChildColor = static_cast<TColor>(RGB(200, 40, 40));
constexpr TColor PaintColor = static_cast<TColor>(RGB(0, 0, 255));

TRect ClientRectOf(HWND Window) {
  RECT R;
  GetClientRect(Window, &R);
  return R;
}

// Fills a square of the form's client area in its paint handler.
struct TSquarePainter : TObject {
  TForm* Form = nullptr;
  TRect Square{0, 0, 0, 0};
  void Paint(TObject*) {
    Form->Canvas()->Brush()->SetColor(PaintColor);
    Form->Canvas()->FillRect(Square);
  }
};

class KsMDIFormTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    PlaceCursor(1020, 760);  // off the windows: the drags are made of messages
    Parent = NewObject<TForm>(nullptr, CreateNew);
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetCaption("Parent");
    Parent->SetColor(ParentColor);
    Parent->SetBounds(40, 30, 640, 480);
    Bar = AddChild<TKsCustomMenuBar>(Parent);
    ParentFrame = MakeFrame(Parent);
    ParentFrame->SetMenuBar(Bar);
    Application->SetMainForm(Parent);
    ShowWithFrame(Parent, ParentFrame);
    for (int I = 0; I < 2; ++I) {
      Children[I] = NewObject<TForm>(nullptr, CreateNew);
      Children[I]->SetFormStyle(fsMDIChild);
      Children[I]->SetCaption(I == 0 ? "Child 1" : "Child 2");
      Children[I]->SetColor(ChildColor);
      Children[I]->SetBounds(20 + 40 * I, 30, 260, 180);
      Frames[I] = MakeFrame(Children[I]);
      ShowWithFrame(Children[I], Frames[I]);
    }
  }
  void TearDown() override {
    for (TForm* Child : Children)
      if (Child) Child->Free();
    FreeObject(Parent);
    UiTest::TearDown();
  }
  virtual TKsCustomForm* MakeFrame(TForm* Form) {
    auto* Frame = NewObject<TKsCustomForm>(Form);
    Frame->SetActive(true);
    return Frame;
  }
  void ShowWithFrame(TForm* Form, TKsCustomForm* Frame) {
    Form->Show();
    Pump();
    Frame->UpdateFrame();
    Pump();
  }
  HWND Client() const { return Parent->ClientHandle(); }
  void Activate(TForm* Child) {
    SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child->Handle()), 0);
    Pump();
  }
  // A non-client mouse message at a point of a child's window.
  void Send(TForm* Child, UINT Msg, const TPoint& P) {
    RECT W;
    GetWindowRect(Child->Handle(), &W);
    SendMessageA(Child->Handle(), Msg, HTCAPTION, MAKELPARAM(W.left + P.x, W.top + P.y));
    Pump();
  }

  TForm* Parent = nullptr;
  TKsCustomMenuBar* Bar = nullptr;
  TKsCustomForm* ParentFrame = nullptr;
  TForm* Children[2] = {nullptr, nullptr};
  TKsCustomForm* Frames[2] = {nullptr, nullptr};
};

TEST_F(KsMDIFormTest, AChildsFrameTakesTheChildDefaultsAndMeasuresInTheClient) {
  TKsCustomForm* Frame = Frames[0];
  EXPECT_EQ(Frame->BorderIcons(), (TKsBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup}));
  EXPECT_EQ(Frame->MagneticValue(), 9);
  EXPECT_FALSE(Frame->MinimizeApplication());
  EXPECT_TRUE(ParentFrame->BorderIcons().Contains(kbiTray)) << "the parent keeps the usual ones";

  const TRect Area = ClientRectOf(Client());
  TRect Max, Min;
  Frame->GetMaximizedRect(Max);
  EXPECT_EQ(Max, TRect(0, 0, Area.right + 1, Area.bottom + 1));
  Frame->GetMinimizedRect(Min);
  EXPECT_EQ(Min.bottom, Area.bottom) << "at the client's bottom, not the work area's";
  TRect R = Bounds(Area.right - 100 + 8, 40, 100, 80);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.right, Area.right) << "the client's edges are the magnetic ones";
  R = Bounds(Area.right - 100 + 9, 40, 100, 80);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.right, Area.right + 9);
}

TEST_F(KsMDIFormTest, AChildActivatedShowsItsOwnFrameNotTheSystemsCaption) {
  // Side by side, so that each caption is seen whole.
  Children[0]->SetBounds(0, 0, 250, 150);
  Children[1]->SetBounds(300, 0, 250, 150);
  Pump();
  const auto CaptionRow = [&](TForm* Child) {
    std::vector<COLORREF> Row;
    const int Y = Frames[0]->FrameBorderWidth() + Frames[0]->CaptionHeight() / 2;
    for (int X = 0; X < Child->Width(); X += 3) Row.push_back(WindowPixel(Child->Handle(), X, Y));
    return Row;
  };
  for (int I : {1, 0, 1}) {
    Activate(Children[I]);
    ASSERT_EQ(Parent->ActiveMDIChild(), Children[I]);
    const std::vector<COLORREF> Shown = CaptionRow(Children[I]);
    Frames[I]->PaintNonClient();
    EXPECT_EQ(Shown, CaptionRow(Children[I])) << "child " << I + 1 << ": the screen shows the kit's frame";
  }
}

TEST_F(KsMDIFormTest, TheClientIsPaintedThroughTheParentFormAndPassesTheMouseOn) {
  WNDCLASSA Class;
  GetClassInfoA(nullptr, "MDIClient", &Class);
  // Pixels: the parent's paint handler draws in the client, over the parent's colour.
  for (TForm* Child : Children) Child->SetBounds(300, 200, 200, 150);
  TSquarePainter Painter;
  Painter.Form = Parent;
  POINT Offset{0, 0};
  MapWindowPoints(Client(), Parent->Handle(), &Offset, 1);
  Painter.Square = Bounds(Offset.x + 20, Offset.y + 20, 40, 40);
  Parent->OnPaint = TNotifyEvent::Bind<&TSquarePainter::Paint>(&Painter);
  RedrawWindow(Client(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump();
  EXPECT_EQ(ScreenPixel(Client(), 30, 30), static_cast<COLORREF>(PaintColor));
  EXPECT_EQ(ScreenPixel(Client(), 120, 30), static_cast<COLORREF>(ParentColor));
  Parent->OnPaint = nullptr;
  // The parent's own background is left to the client.
  TOwned<TKsBitmap> Probe(NewObject<TKsBitmap>());
  Probe->SetSize(8, 8);
  Probe->Fill(0xFF112233);
  EXPECT_EQ(SendMessageA(Parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Probe->DC()), 0), 1);
  EXPECT_EQ(Rgb(Probe->GetPixel(2, 2)), 0x112233u);
  // A transparent kit control asking for it gets it.
  SendMessageA(Parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Probe->DC()), KsParentBackgroundRequest);
  EXPECT_EQ(Rgb(Probe->GetPixel(2, 2)), Rgb(ColorToKsColor(ParentColor, 255)));

  // An empty spot lets the mouse through to the parent; the sunken edge goes when
  // the client sizes its scroll range.
  POINT Empty{100, 100};
  ClientToScreen(Client(), &Empty);
  EXPECT_EQ(SendMessageA(Client(), WM_NCHITTEST, 0, MAKELPARAM(Empty.x, Empty.y)), HTTRANSPARENT);
  SendMessageA(Client(), 0x3F, 0, 0);
  EXPECT_FALSE(GetWindowLongA(Client(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // A window made again: its new client is subclassed too; the frame gone, the
  // client's own procedure is back.
  const HWND Before = Client();
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu});
  Pump();
  ASSERT_NE(Client(), Before);
  EXPECT_EQ(SendMessageA(Client(), WM_NCHITTEST, 0, MAKELPARAM(Empty.x, Empty.y)), HTTRANSPARENT);
  ParentFrame->Free();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Client(), GWLP_WNDPROC)), Class.lpfnWndProc);
}

TEST_F(KsMDIFormTest, AMaximizedChildFillsTheClientUnframedAndNamesItselfInTheParentsCaption) {
  const TRect Normal[2] = {Children[0]->BoundsRect(), Children[1]->BoundsRect()};
  Activate(Children[0]);
  Frames[0]->Maximize();
  Pump();
  // The empty bar grew to hold the child's buttons, and the client's new size fits the
  // maximized child to it.
  EXPECT_EQ(Children[0]->BoundsRect(), ClientRectOf(Client()));
  EXPECT_EQ(ClientRectOf(Children[0]->Handle()).right, Children[0]->Width()) << "no frame";
  EXPECT_EQ(WindowPixel(Children[0]->Handle(), 3, 3), static_cast<COLORREF>(ChildColor));
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[0]);
  EXPECT_TRUE(Frames[1]->IsMDIChildMaximized());
  EXPECT_TRUE(ParentFrame->IsMDIChildMaximized());

  // Another child activated (here by Ctrl+F6) takes over the client, the caption and
  // the buttons; its new caption shows there too.
  {
    THeldControlKey Ctrl;
    PostMessageA(Children[0]->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
  }
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[1]);
  EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 2]");
  EXPECT_EQ(Bar->MDIChild(), Children[1]);
  Children[1]->SetCaption("Renamed");
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]") << "nothing needs to read the child's caption first";

  // The parent's resize resizes the maximized child with the client.
  Parent->SetBounds(30, 20, 700, 520);
  Pump();
  EXPECT_EQ(Children[1]->BoundsRect(), ClientRectOf(Client()));

  // Restored: the caption comes back, the buttons go, every child has its bounds.
  Frames[1]->Restore();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  for (int I = 0; I < 2; ++I) EXPECT_EQ(Children[I]->BoundsRect(), Normal[I]) << I;
  EXPECT_NE(WindowPixel(Children[1]->Handle(), 3, 3), static_cast<COLORREF>(ChildColor)) << "its frame is back";
  // Minimized from maximized: the same.
  Frames[1]->Maximize();
  Frames[1]->Minimize();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  EXPECT_EQ(Children[1]->BoundsRect().bottom, ClientRectOf(Client()).bottom);

  // Rolled up or sent to the tray from maximized: no maximized child is left, so the
  // parent has its caption back and the bar no buttons; back again, both return.
  Frames[1]->Restore();  // back to maximized, as it was minimized from there
  Pump();
  using TLeave = void (TKsCustomForm::*)();
  for (TLeave Leave : {&TKsCustomForm::Rollup, &TKsCustomForm::MinimizeToTray}) {
    ASSERT_EQ(Frames[1]->WindowState(), kwsMaximized);
    ASSERT_EQ(Parent->Caption(), "Parent - [Renamed]");
    (Frames[1]->*Leave)();
    Pump();
    EXPECT_EQ(Parent->Caption(), "Parent");
    EXPECT_EQ(Bar->MDIChild(), nullptr);
    Frames[1]->Restore();
    Pump();
    EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
    EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]");
    EXPECT_EQ(Bar->MDIChild(), Children[1]);
  }

  // A parent's caption with brackets of its own keeps them, as does a child's.
  Frames[1]->Restore();
  Parent->SetCaption("Board [draft]");
  Children[1]->SetCaption("Layer - [top]");
  Frames[1]->Maximize();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Board [draft] - [Layer - [top]]");
  Children[1]->SetCaption("Layer - [bottom]");
  Pump();
  EXPECT_EQ(Parent->Caption(), "Board [draft] - [Layer - [bottom]]");
  Frames[1]->Restore();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Board [draft]");
}

TEST_F(KsMDIFormTest, WhileAChildIsMaximizedTheCaptionAndButtonsFollowTheActiveChild) {
  const auto ExpectWithActive = [&](int I, const char* Where) {
    EXPECT_EQ(Parent->ActiveMDIChild(), Children[I]) << Where;
    EXPECT_EQ(Frames[I]->WindowState(), kwsMaximized) << Where;
    EXPECT_EQ(Parent->Caption(), I == 0 ? "Parent - [Child 1]" : "Parent - [Child 2]") << Where;
    EXPECT_EQ(Bar->MDIChild(), Children[I]) << Where;
  };
  Activate(Children[0]);
  Frames[0]->Maximize();
  Pump();
  // Back and forth: the child activated again is still maximized behind the other.
  Activate(Children[1]);
  ExpectWithActive(1, "forth");
  Activate(Children[0]);
  ExpectWithActive(0, "back");
  // Activated twice before the queue runs: the child left meanwhile is not maximized
  // over the active one.
  Frames[0]->Restore();
  Pump();
  ASSERT_EQ(Frames[1]->WindowState(), kwsNormal);
  Frames[0]->Maximize();
  Pump();
  for (TForm* Child : {Children[1], Children[0]})
    SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child->Handle()), 0);
  Pump();
  ExpectWithActive(0, "twice");
  EXPECT_EQ(Frames[1]->WindowState(), kwsNormal);
}

TEST_F(KsMDIFormTest, ClosingAChildMinimizesItWhenItCanAndOtherwiseKeepsItOpen) {
  SendMessageA(Children[0]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(Frames[0]->WindowState(), kwsMinimized);
  EXPECT_TRUE(IsWindowVisible(Children[0]->Handle()));

  TKsBorderIcons Icons = Frames[1]->BorderIcons();
  Icons.Exclude(kbiMinimize);
  Frames[1]->SetBorderIcons(Icons);
  const TRect Before = Children[1]->BoundsRect();
  Frames[1]->CloseForm();
  Pump();
  EXPECT_EQ(Frames[1]->WindowState(), kwsNormal);
  EXPECT_EQ(Children[1]->BoundsRect(), Before);

  // Hidden by its close event while maximized: the parent has its caption back.
  struct THide : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caHide; }
  } Hide;
  Children[1]->OnClose = TCloseEvent::Bind<&THide::Close>(&Hide);
  Frames[1]->Maximize();
  ASSERT_EQ(Parent->Caption(), "Parent - [Child 2]");
  Frames[1]->CloseForm();
  Pump();
  EXPECT_FALSE(IsWindowVisible(Children[1]->Handle()));
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);

  // The parent freed first: the children's frames do not try to make windows for them.
  Parent->Free();
  Parent = NewObject<TForm>(nullptr, CreateNew);
  Pump(50);
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
}

TEST_F(KsMDIFormTest, ACaptionDragOutlinesTheChildInTheClientAndSnapsToItsEdges) {
  TForm* Child = Children[0];
  TKsCustomForm* Frame = Frames[0];
  Frame->SetSimpleDrag(true);
  const TPoint Grip{120, Frame->FrameBorderWidth() + 4};
  ASSERT_EQ(Frame->HitTest(Grip.x, Grip.y), khtCaption);
  const int Width = Child->Width(), Height = Child->Height();
  Send(Child, WM_NCLBUTTONDOWN, Grip);
  // An outline away from the client's edges (right of the other child) first, then
  // one 5 pixels from the client's left and 4 from its top: inside the magnetic 9.
  const COLORREF MiddleUnder = ScreenPixel(Client(), 330, 150);
  Send(Child, WM_NCMOUSEMOVE, TPoint{Grip.x + 310, Grip.y + 70});
  EXPECT_EQ(Child->Left(), 20) << "a simple drag moves only the outline";
  EXPECT_EQ(ScreenPixel(Client(), 330, 150), MiddleUnder ^ 0xFFFFFFu) << "the outline, in client coordinates";
  const TPoint Near{Grip.x - 15, Grip.y - 26};
  const COLORREF EdgeUnder = ScreenPixel(Client(), 0, 60);
  Send(Child, WM_NCMOUSEMOVE, Near);
  EXPECT_EQ(ScreenPixel(Client(), 330, 150), MiddleUnder) << "the last outline erased";
  EXPECT_EQ(ScreenPixel(Client(), 0, 60), EdgeUnder ^ 0xFFFFFFu) << "snapped onto the client's left edge";
  Send(Child, WM_NCLBUTTONUP, Near);
  EXPECT_EQ(Child->BoundsRect(), Bounds(0, 0, Width, Height));
}

// Whether the window shows the scroll bar Bar (SB_HORZ or SB_VERT).
bool ShowsBar(HWND Window, int Bar) {
  return (GetWindowLongA(Window, GWL_STYLE) & (Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

TEST_F(KsMDIFormTest, TheClientShowsAScrollBarOnlyForAChildOutsideItAndTheBarScrolls) {
  // Both children lie inside the client: no bar.
  EXPECT_TRUE(PumpUntil([&] { return !ShowsBar(Client(), SB_HORZ) && !ShowsBar(Client(), SB_VERT); }, 1500))
      << "horizontal " << ShowsBar(Client(), SB_HORZ) << ", vertical " << ShowsBar(Client(), SB_VERT);
  EXPECT_FALSE(GetWindowLongA(Client(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "the sunken edge is gone";
  // A child partly right of the client: a horizontal bar whose range reaches it.
  const int Width = ClientRectOf(Client()).right;
  Children[0]->SetBounds(Width - 60, 30, 260, 180);
  ASSERT_TRUE(PumpUntil([&] { return ShowsBar(Client(), SB_HORZ); }, 1500));
  EXPECT_FALSE(ShowsBar(Client(), SB_VERT));
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  GetScrollInfo(Client(), SB_HORZ, &Info);
  EXPECT_EQ(Info.nMin, 0);
  EXPECT_EQ(Info.nMax + 1 - Info.nMin - static_cast<int>(Info.nPage), 200)
      << "it scrolls as far as the child sticks out";
  // Its arrow scrolls the children left.
  const int Left = Children[0]->Left(), Other = Children[1]->Left();
  SendMessageA(Client(), WM_HSCROLL, SB_LINERIGHT, 0);
  Pump();
  EXPECT_LT(Children[0]->Left(), Left);
  EXPECT_EQ(Children[1]->Left() - Other, Children[0]->Left() - Left);
  // Back inside: the bar goes.
  Children[0]->SetBounds(20, 30, 260, 180);
  Children[1]->SetBounds(60, 30, 260, 180);
  EXPECT_TRUE(PumpUntil([&] { return !ShowsBar(Client(), SB_HORZ); }, 1500));

  // The parent made narrower than the children: the bar comes; wide again, it goes.
  Parent->SetBounds(40, 30, 200, 480);
  EXPECT_TRUE(PumpUntil([&] { return ShowsBar(Client(), SB_HORZ); }, 1500)) << "the parent narrowed";
  Parent->SetBounds(40, 30, 640, 480);
  EXPECT_TRUE(PumpUntil([&] { return !ShowsBar(Client(), SB_HORZ); }, 1500)) << "the parent widened";
  // A child without a frame of its own counts as well, moved without a change of size.
  auto* Plain = NewObject<TForm>(nullptr, CreateNew);
  Plain->SetFormStyle(fsMDIChild);
  Plain->SetBounds(30, 40, 200, 150);
  Plain->Show();
  Plain->SetBounds(ClientRectOf(Client()).right - 60, 40, 200, 150);
  EXPECT_TRUE(PumpUntil([&] { return ShowsBar(Client(), SB_HORZ); }, 1500)) << "a plain child outside";
  Plain->SetBounds(30, 40, 200, 150);
  EXPECT_TRUE(PumpUntil([&] { return !ShowsBar(Client(), SB_HORZ); }, 1500)) << "a plain child back inside";
  Plain->Free();
}

// The scroll bars settle after every change, and only where a child lies outside: a
// resize after which each bar would ask for the other, a child outside freed or closed
// for good, a bar wanted again after a maximized child went, an arrow at the end.
TEST_F(KsMDIFormTest, TheClientsScrollBarsSettleWhereAChildLiesOutsideAfterEveryChange) {
  TMessageLoopGuard Guard;
  const auto Settled = [&](const char* Where) {
    Pump();
    EXPECT_FALSE(Guard.Tripped()) << Where << ": the client kept asking for its scroll range";
    EXPECT_EQ(ScrollBarDisagreement(Client(), ParentFrame->IsMDIChildMaximized()), "") << Where;
    Guard.Reset();
  };
  Settled("at the start");
  // A child out by half a bar's width on the right, its bottom a bar's height above the
  // client's: the horizontal bar alone. The parent made a bar wider and half a bar
  // lower: either bar alone would put the child outside for the other, both none.
  const TRect Area = ClientRectOf(Client());
  const int BarWidth = GetSystemMetrics(SM_CXVSCROLL), BarHeight = GetSystemMetrics(SM_CYHSCROLL);
  Children[1]->SetBounds(Area.right + BarWidth / 2 - 200, Area.bottom - BarHeight - 150, 200, 150);
  Settled("a child outside on the right");
  ASSERT_TRUE(GetWindowLongA(Client(), GWL_STYLE) & WS_HSCROLL);
  Parent->SetBounds(Parent->Left(), Parent->Top(), Parent->Width() + BarWidth, Parent->Height() - BarHeight / 2);
  Settled("the parent resized");

  // A child outside freed, or closed with caFree: no bar is left for it.
  struct TFree : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caFree; }
  } Free;
  for (bool Closed : {false, true}) {
    auto* Outside = NewObject<TForm>(nullptr, CreateNew);
    Outside->SetFormStyle(fsMDIChild);
    Outside->SetBounds(-120, 40, 200, 150);
    ShowWithFrame(Outside, MakeFrame(Outside));
    Settled("a child outside on the left");
    ASSERT_TRUE(GetWindowLongA(Client(), GWL_STYLE) & WS_HSCROLL);
    if (Closed) {
      Outside->OnClose = TCloseEvent::Bind<&TFree::Close>(&Free);
      ActiveKsForm(Outside)->CloseForm();
    } else {
      Outside->Free();
    }
    Settled(Closed ? "the child outside closed with caFree" : "the child outside freed");
  }

  // A child outside, another maximized and closed (which minimizes it): the bar is back.
  Children[0]->SetBounds(-200, 40, 260, 180);
  Children[1]->SetBounds(60, 30, 260, 180);
  Settled("a child outside on the left again");
  Activate(Children[1]);
  Frames[1]->Maximize();
  Settled("the other child maximized");
  Frames[1]->CloseForm();
  ASSERT_EQ(Frames[1]->WindowState(), kwsMinimized);
  Settled("the maximized child closed");

  // Outside on the left only: the right arrow moves nothing, the left arrow moves the
  // children right until the child is inside, and no further.
  Children[0]->SetBounds(-150, 40, 200, 150);
  Settled("a child outside on the left only");
  const int Left = Children[0]->Left();
  SendMessageA(Client(), WM_HSCROLL, SB_LINERIGHT, 0);
  Settled("the right arrow");
  EXPECT_EQ(Children[0]->Left(), Left) << "nothing lies to the right";
  for (int I = 0; I < 20; ++I) {
    SendMessageA(Client(), WM_HSCROLL, SB_LINELEFT, 0);
    Settled("the left arrow");
  }
  EXPECT_EQ(Children[0]->Left(), 0) << "the left arrow stops where the child is inside";

  // The parent's window made again: the new client's bars are sized as well.
  Children[0]->SetBounds(-100, 40, 200, 150);
  Settled("a child outside on the left once more");
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu});
  Settled("the parent's window made again");
  Frames[1]->Maximize();
  Settled("a child maximized");
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu, biHelp});
  Settled("the parent's window made again with a child maximized");
}

// A child hidden by its close event, or in the tray, that code maximizes or shows comes
// back shown and active, and the parent's caption and the bar's buttons follow it.
TEST_F(KsMDIFormTest, AHiddenOrTrayChildMaximizedOrShownComesBackShownAndActive) {
  struct THide : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caHide; }
  } Hide;
  const auto ExpectShownAndActive = [&](int I, TKsWindowState State, const char* Where) {
    EXPECT_TRUE(IsWindowVisible(Children[I]->Handle())) << Where;
    EXPECT_TRUE(Children[I]->Visible()) << Where;
    EXPECT_EQ(Parent->ActiveMDIChild(), Children[I]) << Where;
    EXPECT_EQ(Frames[I]->WindowState(), State) << Where;
    const bool Maximized = State == kwsMaximized;
    EXPECT_EQ(Parent->Caption(), Maximized ? "Parent - [" + Children[I]->Caption() + "]" : AnsiString("Parent"))
        << Where;
    EXPECT_EQ(Bar->MDIChild(), Maximized ? Children[I] : nullptr) << Where;
  };
  // Closed with caHide, then maximized by code.
  Children[1]->OnClose = TCloseEvent::Bind<&THide::Close>(&Hide);
  Frames[1]->CloseForm();
  Pump();
  ASSERT_EQ(Parent->ActiveMDIChild(), Children[0]);
  Frames[1]->Maximize();
  Pump();
  ExpectShownAndActive(1, kwsMaximized, "a hidden child maximized");
  Frames[1]->Restore();
  Pump();

  // In the tray while another child is maximized, then shown: out of the tray and
  // maximized as the active child is.
  Activate(Children[0]);
  Frames[0]->Maximize();
  Frames[1]->MinimizeToTray();
  Pump();
  ASSERT_EQ(Parent->Caption(), "Parent - [Child 1]");
  Children[1]->Show();
  Pump();
  ExpectShownAndActive(1, kwsMaximized, "a child in the tray shown");
  Frames[1]->Restore();
  Frames[0]->Restore();
  Pump();

  // Back from the tray by its icon: the active child.
  Frames[1]->MinimizeToTray();
  Pump();
  ASSERT_EQ(Parent->ActiveMDIChild(), Children[0]);
  SendMessageA(Frames[1]->TrayWindow(), KM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
  Pump();
  ExpectShownAndActive(1, kwsNormal, "its tray icon double-clicked");

  // In the tray, closed with caHide, then shown: out of the tray as well.
  Frames[1]->MinimizeToTray();
  Frames[1]->CloseForm();
  Pump();
  ASSERT_FALSE(Children[1]->Visible());
  Children[1]->Show();
  Pump();
  ExpectShownAndActive(1, kwsNormal, "a child in the tray hidden and shown");

  // The maximized child freed: the parent has its caption back, the other child stays
  // as it was.
  Frames[1]->Maximize();
  Pump();
  Children[1]->Free();
  Children[1] = nullptr;
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);
  EXPECT_EQ(Frames[0]->WindowState(), kwsNormal);
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
}

// The parent of 480 x 480 (a client of 472 x 453) with a plain child 1 (without a kit
// frame) and a kit child 2, each 112 x 122.
class KsMDIPlainSiblingTest : public KsMDIFormTest {
 protected:
  void SetUp() override {
    KsMDIFormTest::SetUp();
    for (TForm*& Child : Children) FreeAndNil(Child);
    Parent->SetBounds(40, 30, 480, 480);
    Plain = NewObject<TForm>(nullptr, CreateNew);
    Plain->SetFormStyle(fsMDIChild);
    Plain->SetCaption("Child 1");
    Plain->SetBounds(10, 10, 112, 122);
    Plain->Show();
    MakeKit();
  }
  void TearDown() override {
    FreeAndNil(Plain);
    KsMDIFormTest::TearDown();
  }
  void MakeKit() {
    TForm* Kit = Children[1] = NewObject<TForm>(nullptr, CreateNew);
    Kit->SetFormStyle(fsMDIChild);
    Kit->SetCaption("Child 2");
    Kit->SetBounds(60, 30, 112, 122);
    Kit->OnClose = TCloseEvent::Bind<&TClose::Close>(&Close);
    ShowWithFrame(Kit, Frames[1] = MakeFrame(Kit));
  }

  struct TClose : TObject {
    TCloseAction Action = caHide;
    void Close(TObject*, TCloseAction& Chosen) { Chosen = Action; }
  } Close;
  TForm* Plain = nullptr;
};

// However the maximized kit child leaves the shown children or the maximized state
// while the plain child lies outside the client, no shown child is left maximized, the
// parent has its own caption and the bar no buttons, and the client shows the bar the
// plain child needs, also after the parent's resize and the plain child's activation.
TEST_F(KsMDIPlainSiblingTest, AMaximizedKitChildLeavingLeavesNothingMaximized) {
  const auto ExpectNothingMaximized = [&](const std::string& Where) {
    Pump();
    const bool Shown = Children[1] && IsWindowVisible(Children[1]->Handle());
    EXPECT_FALSE(Shown && Frames[1]->WindowState() == kwsMaximized) << Where << ": a shown child is maximized";
    EXPECT_FALSE(ParentFrame->IsMDIChildMaximized()) << Where << ": the parent counts a child maximized";
    EXPECT_EQ(Parent->Caption(), "Parent") << Where;
    EXPECT_EQ(Bar->MDIChild(), nullptr) << Where;
    EXPECT_EQ(ScrollBarDisagreement(Client(), false), "") << Where;
    EXPECT_TRUE(GetWindowLongA(Client(), GWL_STYLE) & WS_HSCROLL) << Where << ": the plain child lies outside";
  };
  const auto Freed = [&] { Children[1] = nullptr; };
  using TLeave = std::function<void()>;
  const std::pair<const char*, TLeave> Ways[] = {
      {"closed with caHide", [&] { Close.Action = caHide; Frames[1]->CloseForm(); }},
      {"closed by its form with caHide", [&] { Close.Action = caHide; Children[1]->Close(); }},
      {"hidden", [&] { Children[1]->Hide(); }},
      {"made invisible", [&] { Children[1]->SetVisible(false); }},
      {"closed with caMinimize", [&] { Close.Action = caMinimize; Frames[1]->CloseForm(); }},
      {"minimized to the tray", [&] { Frames[1]->MinimizeToTray(); }},
      {"freed",
       [&] {
         Children[1]->Free();
         Freed();
       }},
      {"closed with caFree",
       [&] {
         Close.Action = caFree;
         Frames[1]->CloseForm();
         Freed();  // the queue frees it
       }},
  };
  for (const auto& [Name, Leave] : Ways) {
    const std::string Way = Name;
    if (!Children[1]) MakeKit();
    // The kit child maximized, the plain one moved out on the right.
    Plain->SetBounds(10, 10, 112, 122);
    Children[1]->SetBounds(60, 30, 112, 122);
    Frames[1]->Maximize();
    Pump();
    ASSERT_EQ(Parent->Caption(), "Parent - [Child 2]") << Way;
    Plain->SetBounds(405, 128, 112, 122);
    Pump();
    Leave();
    ExpectNothingMaximized(Way);
    Parent->SetBounds(40, 30, 480, 470);
    ExpectNothingMaximized(Way + ", the parent resized");
    Parent->SetBounds(40, 30, 480, 480);
    Activate(Plain);
    ExpectNothingMaximized(Way + ", the plain child activated");
    if (!Children[1]) continue;
    // Shown again, the kit child comes back as the close left it.
    const TKsWindowState Left = Frames[1]->WindowState();
    Children[1]->Show();
    Pump();
    EXPECT_EQ(Frames[1]->WindowState(), Left == kwsTray ? kwsMaximized : Left) << Way;
    // Back to normal (a child minimized from maximized goes back there first).
    Frames[1]->Restore();
    if (Frames[1]->WindowState() != kwsNormal) Frames[1]->Restore();
    Pump();
    ASSERT_EQ(Parent->Caption(), "Parent") << Way;
  }
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
}

// The plain child maximized by the system in front of the maximized kit child is the
// only child the parent's caption names, also renamed; the kit child activated again
// takes the caption back. Hidden maximized, the plain child counts as maximized no
// more.
TEST_F(KsMDIPlainSiblingTest, ThePlainChildMaximizedInFrontIsTheOnlyChildNamed) {
  Frames[1]->Maximize();
  Activate(Plain);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 2]") << "the kit child behind keeps its buttons and name";
  EXPECT_EQ(Bar->MDIChild(), Children[1]);
  SendMessageA(Plain->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  ASSERT_TRUE(IsZoomed(Plain->Handle()));
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[1]) << "the bar's buttons stay the kit child's";
  Plain->SetCaption("Renamed");
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]");
  Activate(Children[1]);
  EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
  EXPECT_FALSE(IsZoomed(Plain->Handle()));
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 2]");
  // The plain child in front maximized again, then the kit child restored by code.
  Activate(Plain);
  SendMessageA(Plain->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]");
  Frames[1]->Restore();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]") << "the plain child is still maximized";
  SendMessageA(Plain->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent");

  // The plain child maximized and hidden keeps its window state, but no child shows
  // maximized: the kit child activated is not maximized for it, and the client shows
  // the bar for the kit child outside.
  Plain->SetWindowState(wsMaximized);
  Pump();
  Plain->Hide();
  Children[1]->SetBounds(405, 128, 112, 122);
  Activate(Children[1]);
  Pump();
  EXPECT_EQ(Plain->WindowState(), wsMaximized);
  EXPECT_EQ(Frames[1]->WindowState(), kwsNormal);
  EXPECT_FALSE(ParentFrame->IsMDIChildMaximized());
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(ScrollBarDisagreement(Client(), false), "");
  EXPECT_TRUE(GetWindowLongA(Client(), GWL_STYLE) & WS_HSCROLL);
}

// The parent's caption, the bar's buttons, the active child and the children's sizes
// on paths that reach or leave the maximized state other than the plain ones above.
TEST_F(KsMDIFormTest, TheCaptionButtonsActiveChildAndSizesMatchWhatIsShownOnEveryPath) {
  const auto ExpectPlain = [&](const char* Where) {
    EXPECT_EQ(Parent->Caption(), "Parent") << Where;
    EXPECT_EQ(Bar->MDIChild(), nullptr) << Where;
  };
  // Rolled up, maximized, restored: rolled up again, nothing maximized.
  Activate(Children[0]);
  Frames[0]->Rollup();
  Frames[0]->Maximize();
  Pump();
  ASSERT_EQ(Parent->Caption(), "Parent - [Child 1]");
  Frames[0]->Restore();
  Pump();
  EXPECT_EQ(Frames[0]->WindowState(), kwsRollup);
  ExpectPlain("rolled up again");
  Frames[0]->Restore();
  Pump();

  // The system's maximize of a child the kit has maximized: the kit keeps the state.
  using TSystemMaximize = std::function<void(TForm*)>;
  const TSystemMaximize SystemMaximizes[] = {
      [](TForm* Child) { SendMessageA(Child->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
      [](TForm* Child) { Child->SetWindowState(wsMaximized); }};
  for (const TSystemMaximize& SystemMaximize : SystemMaximizes) {
    Frames[0]->Maximize();
    Pump();
    SystemMaximize(Children[0]);
    Pump();
    EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
    EXPECT_EQ(Frames[0]->WindowState(), kwsMaximized);
    Frames[0]->Restore();
    Pump();
    ExpectPlain("restored after the system's maximize");
    EXPECT_FALSE(IsZoomed(Children[0]->Handle()));
    // And of a normal child: the kit maximizes it.
    SystemMaximize(Children[0]);
    Pump();
    EXPECT_EQ(Frames[0]->WindowState(), kwsMaximized);
    EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
    EXPECT_EQ(Bar->MDIChild(), Children[0]);
    Frames[0]->Restore();
    Pump();
    ExpectPlain("restored again");
  }

  // The system's minimize: the kit's, with the window where the kit puts it.
  Activate(Children[0]);
  for (WPARAM Command : {WPARAM{SC_MINIMIZE}, WPARAM{SC_RESTORE}}) {
    SendMessageA(Children[0]->Handle(), WM_SYSCOMMAND, Command, 0);
    Pump();
    EXPECT_EQ(Frames[0]->WindowState(), Command == SC_MINIMIZE ? kwsMinimized : kwsNormal);
    EXPECT_FALSE(IsIconic(Children[0]->Handle()));
  }
  Children[0]->SetWindowState(wsMinimized);
  Pump();
  EXPECT_EQ(Frames[0]->WindowState(), kwsMinimized);
  EXPECT_FALSE(IsIconic(Children[0]->Handle()));
  TRect Min;
  Frames[0]->GetMinimizedRect(Min);
  EXPECT_EQ(Children[0]->BoundsRect().bottom, Min.bottom);
  Frames[0]->Restore();
  Pump();

  // A background child maximized comes to the front first.
  Activate(Children[1]);
  Frames[0]->Maximize();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[0]);

  // A maximized child behind the active one follows the parent's size too.
  Activate(Children[1]);
  ASSERT_EQ(Frames[1]->WindowState(), kwsMaximized);
  Parent->SetBounds(30, 20, 400, 560);
  Pump();
  for (int I = 0; I < 2; ++I) EXPECT_EQ(Children[I]->BoundsRect(), ClientRectOf(Client())) << I;
  // Renamed behind the active one, it is not named in the parent's caption.
  Children[0]->SetCaption("Behind");
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 2]");
  Children[0]->SetCaption("Child 1");
  Frames[1]->Restore();
  Pump();

  // The active child hidden by its close event is no longer the active one.
  struct THide : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caHide; }
  } Hide;
  Activate(Children[1]);
  Children[1]->OnClose = TCloseEvent::Bind<&THide::Close>(&Hide);
  Frames[1]->CloseForm();
  Pump();
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);

  // The parent's window made again with a maximized child: still active and maximized.
  Activate(Children[0]);
  Frames[0]->Maximize();
  Pump();
  const HWND Before = Client();
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu});
  Pump();
  ASSERT_NE(Client(), Before);
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[0]);
}

// The parent's window made again keeps every child's bounds, whatever its state, and
// the normal bounds it goes back to.
TEST_F(KsMDIFormTest, MakingTheParentsWindowAgainKeepsEveryChildsBounds) {
  using TStep = void (TKsCustomForm::*)();
  const TStep States[] = {&TKsCustomForm::Rollup, &TKsCustomForm::Minimize, &TKsCustomForm::MinimizeToTray};
  const char* const Names[] = {"rolled up", "minimized", "in the tray"};
  for (int S = 0; S < 3; ++S) {
    const TRect Normal[2] = {Children[0]->BoundsRect(), Children[1]->BoundsRect()};
    (Frames[0]->*States[S])();
    Pump();
    const TRect Shown = Children[0]->BoundsRect();
    const HWND Before = Client();
    Parent->SetBorderIcons(S % 2 ? TBorderIcons{biSystemMenu, biMinimize} : TBorderIcons{biSystemMenu});
    Pump();
    ASSERT_NE(Client(), Before);
    SendMessageA(Client(), 0x3F, 0, 0);
    Pump();
    EXPECT_EQ(Children[0]->BoundsRect(), Shown) << Names[S];
    EXPECT_EQ(Children[1]->BoundsRect(), Normal[1]) << Names[S] << ": the normal one";
    Frames[0]->Restore();
    Pump();
    EXPECT_EQ(Children[0]->BoundsRect(), Normal[0]) << Names[S] << ": restored";
  }
  // The same for a rolled-up form of its own (the parent).
  const TRect Normal = Parent->BoundsRect();
  ParentFrame->Rollup();
  Pump();
  const TRect Rolled = Parent->BoundsRect();
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});
  Pump();
  EXPECT_EQ(Parent->BoundsRect(), Rolled) << "the parent rolled up";
  ParentFrame->Restore();
  Pump();
  EXPECT_EQ(Parent->BoundsRect(), Normal) << "the parent unrolled";
}

// The same with themed frames: a maximized child has no region and the unthemed
// metrics, and the engine's refresh repaints the parent's client.
class KsThemedMDIFormTest : public KsMDIFormTest {
 protected:
  TKsCustomForm* MakeFrame(TForm* Form) override {
    if (!Engine) Engine = Keep(NewObject<TTeThemeEngine>(nullptr));
    auto* Frame = NewObject<TTeThemeForm>(Form);
    Frame->SetThemeEngine(Engine);
    return Frame;
  }
  TTeThemeEngine* Engine = nullptr;
};

TEST_F(KsThemedMDIFormTest, AMaximizedChildIsUnshapedAndTheEngineRepaintsTheClient) {
  auto* Frame = ObjectAs<TTeThemeForm>(Frames[0]);
  ASSERT_TRUE(Frame && Frame->IsThemed());
  HRGN Shape = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(Children[0]->Handle(), Shape), ERROR) << "a normal child is shaped";
  Activate(Children[0]);
  Frame->Maximize();
  Pump();
  EXPECT_EQ(GetWindowRgn(Children[0]->Handle(), Shape), ERROR) << "no region";
  DeleteObject(Shape);
  TRect Area, Max;
  Frame->GetClientArea(Area);
  EXPECT_EQ(Area, TRect(0, 0, Frame->FrameWidth(), Frame->FrameHeight()));
  Frame->GetMaximizedRect(Max);
  const TRect Inside = ClientRectOf(Client());
  EXPECT_EQ(Max, TRect(0, 0, Inside.right + 1, Inside.bottom + 1));
  EXPECT_EQ(ClientRectOf(Children[0]->Handle()).right, Children[0]->Width()) << "no frame";

  // The engine's refresh repaints the whole client of its MDI parent, also where the
  // parent's frame lays nothing out again (it is switched off), which would repaint it.
  ParentFrame->SetActive(false);
  Pump();
  ValidateRect(Client(), nullptr);
  Engine->RefreshThemeForms();
  HRGN Update = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetUpdateRgn(Client(), Update, FALSE), ERROR);
  HRGN Whole = CreateRectRgn(0, 0, Inside.right, Inside.bottom);
  EXPECT_TRUE(EqualRgn(Update, Whole));
  DeleteObject(Whole);
  DeleteObject(Update);
}

}  // namespace
