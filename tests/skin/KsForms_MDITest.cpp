// The skinned frame on multiple-document forms, with real windows: a kit MDI parent
// with a menu bar and two kit MDI children. The children's defaults and metrics in the
// client, the client painted through the parent form, a maximized child without a
// frame and named in the parent's caption (following activation, Ctrl+F6 and restore),
// the parent's resize, closing, the drag outline in the client, and the themed window.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Controls.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

constexpr TColor ParentColor = static_cast<TColor>(RGB(0, 128, 0));
constexpr TColor ChildColor = static_cast<TColor>(RGB(200, 40, 40));
constexpr TColor PaintColor = static_cast<TColor>(RGB(0, 0, 255));

RECT ClientRectOf(HWND Window) {
  RECT R;
  GetClientRect(Window, &R);
  return R;
}

// A pixel of a window as it is on the screen, in window coordinates (frame included).
COLORREF WindowPixel(HWND Window, int X, int Y) {
  HDC DC = GetWindowDC(Window);
  const COLORREF C = GetPixel(DC, X, Y);
  ReleaseDC(Window, DC);
  return C;
}

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
         std::to_string(R.bottom);
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

class KsMDIFormTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SetCursorPos(1020, 760);  // off the windows: the drags are made of messages
    Parent = NewObject<TForm>(nullptr, CreateNew);
    Parent->SetFormStyle(fsMDIForm);
    Parent->SetCaption("Parent");
    Parent->SetColor(ParentColor);
    Parent->SetBounds(40, 30, 640, 480);
    Bar = NewObject<TKsCustomMenuBar>(Parent);
    Bar->SetParent(Parent);
    ParentFrame = MakeFrame(Parent);
    ParentFrame->SetMenuBar(Bar);
    Application->SetMainForm(Parent);
    Parent->Show();
    Pump();
    ParentFrame->UpdateFrame();
    Pump();
    Children[0] = NewChild("Child 1", 20);
    Children[1] = NewChild("Child 2", 60);
    Frames[0] = ActiveKsForm(Children[0]);
    Frames[1] = ActiveKsForm(Children[1]);
  }
  void TearDown() override {
    for (TForm* Child : Children)
      if (Child) Child->Free();
    Parent->Free();
    UiTest::TearDown();
  }
  // A themed frame with its own engine when Themed, else the unthemed one.
  virtual TKsCustomForm* MakeFrame(TForm* Form) {
    auto* Frame = NewObject<TKsCustomForm>(Form);
    Frame->SetActive(true);
    return Frame;
  }
  TForm* NewChild(const AnsiString& Caption, int Left) {
    TForm* Child = NewObject<TForm>(nullptr, CreateNew);
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption(Caption);
    Child->SetColor(ChildColor);
    Child->SetBounds(Left, 30, 260, 180);
    TKsCustomForm* Frame = MakeFrame(Child);
    Child->Show();
    Pump();
    Frame->UpdateFrame();
    Pump();
    return Child;
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
  TRect ClientArea() const {
    const RECT R = ClientRectOf(Client());
    return TRect{R.left, R.top, R.right, R.bottom};
  }

  TForm* Parent = nullptr;
  TKsCustomMenuBar* Bar = nullptr;
  TKsCustomForm* ParentFrame = nullptr;
  TForm* Children[2] = {nullptr, nullptr};
  TKsCustomForm* Frames[2] = {nullptr, nullptr};
};

TEST_F(KsMDIFormTest, AChildsFrameTakesTheChildDefaultsAndMeasuresInTheClient) {
  TKsCustomForm* Frame = Frames[0];
  EXPECT_FALSE(Frame->BorderIcons().Contains(kbiTray));
  EXPECT_TRUE(Frame->BorderIcons().Contains(kbiRollup));
  EXPECT_EQ(Frame->MagneticValue(), 9);
  EXPECT_FALSE(Frame->MinimizeApplication());
  EXPECT_TRUE(ParentFrame->BorderIcons().Contains(kbiTray)) << "the parent keeps the usual ones";
  EXPECT_EQ(ParentFrame->MagneticValue(), 20);

  const TRect Area = ClientArea();
  TRect Max;
  Frame->GetMaximizedRect(Max);
  EXPECT_EQ(Max, TRect(0, 0, Area.right + 1, Area.bottom + 1)) << Text(Max);
  TRect Min;
  Frame->GetMinimizedRect(Min);
  EXPECT_EQ(Min.bottom, Area.bottom) << "at the client's bottom, not the work area's";
  EXPECT_EQ(Min.left, 0);

  // The client's edges are the magnetic ones.
  TRect R = Bounds(Area.right - 100 + 8, 40, 100, 80);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.right, Area.right);
  R = Bounds(Area.right - 100 + 9, 40, 100, 80);
  Frame->SnapToEdges(R);
  EXPECT_EQ(R.right, Area.right + 9);
}

TEST_F(KsMDIFormTest, TheClientIsPaintedThroughTheParentFormAndPassesTheMouseOn) {
  const HWND Before = Client();
  const WNDPROC ClassProc = [] {
    WNDCLASSA Class;
    GetClassInfoA(nullptr, "MDIClient", &Class);
    return Class.lpfnWndProc;
  }();
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Client(), GWLP_WNDPROC)), ClassProc);

  // Pixels: the parent's paint handler draws in the client, over the parent's colour.
  for (TForm* Child : Children) Child->SetBounds(300, 200, 200, 150);
  TSquarePainter Painter;
  Painter.Form = Parent;
  POINT Offset{0, 0};
  MapWindowPoints(Client(), Parent->Handle(), &Offset, 1);
  Painter.Square = Bounds(Offset.x + 20, Offset.y + 20, 40, 40);
  Parent->OnPaint = TNotifyEvent::Bind<&TSquarePainter::Paint>(&Painter);
  RedrawWindow(Client(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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

  // An empty spot of the client lets the mouse through to the parent; its sunken edge
  // goes when it sizes its scroll range.
  POINT Empty{100, 100};
  ClientToScreen(Client(), &Empty);
  EXPECT_EQ(SendMessageA(Client(), WM_NCHITTEST, 0, MAKELPARAM(Empty.x, Empty.y)), HTTRANSPARENT);
  SendMessageA(Client(), 0x3F, 0, 0);
  EXPECT_FALSE(GetWindowLongA(Client(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // A window made again: its new client is subclassed too.
  Parent->SetBorderIcons(TBorderIcons{biSystemMenu});
  Pump();
  ASSERT_NE(Client(), Before);
  EXPECT_EQ(SendMessageA(Client(), WM_NCHITTEST, 0, MAKELPARAM(Empty.x, Empty.y)), HTTRANSPARENT);
  // The frame gone, the client's own procedure is back.
  ParentFrame->Free();
  ParentFrame = nullptr;
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Client(), GWLP_WNDPROC)), ClassProc);
}

TEST_F(KsMDIFormTest, AMaximizedChildFillsTheClientUnframedAndNamesItselfInTheParentsCaption) {
  const TRect Normal[2] = {Children[0]->BoundsRect(), Children[1]->BoundsRect()};
  Activate(Children[0]);
  Frames[0]->Maximize();
  Pump();
  const TRect Area = ClientArea();
  EXPECT_EQ(Children[0]->BoundsRect(), TRect(0, 0, Area.right + 1, Area.bottom + 1));
  const RECT Inside = ClientRectOf(Children[0]->Handle());
  EXPECT_EQ(Inside.right, Children[0]->Width()) << "no frame";
  EXPECT_EQ(Inside.bottom, Children[0]->Height());
  EXPECT_EQ(WindowPixel(Children[0]->Handle(), 3, 3), static_cast<COLORREF>(ChildColor));
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[0]);
  EXPECT_TRUE(Frames[1]->IsMDIChildMaximized());
  EXPECT_TRUE(ParentFrame->IsMDIChildMaximized());

  // The other child activated takes over the client, the caption and the buttons.
  Activate(Children[1]);
  EXPECT_EQ(Frames[1]->WindowState(), kwsMaximized);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 2]");
  EXPECT_EQ(Bar->MDIChild(), Children[1]);
  // Its caption changed shows there too.
  Children[1]->SetCaption("Renamed");
  EXPECT_EQ(Children[1]->Caption(), "Renamed");
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent - [Renamed]");

  // Resizing the parent resizes the maximized child with the client.
  Parent->SetBounds(30, 20, 700, 520);
  Pump();
  const RECT Grown = ClientRectOf(Client());
  EXPECT_EQ(Children[1]->Width(), Grown.right);
  EXPECT_EQ(Children[1]->Height(), Grown.bottom);

  // Restored: the caption comes back, the buttons go, every child has its bounds.
  Frames[1]->Restore();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  for (int I = 0; I < 2; ++I) {
    EXPECT_EQ(Frames[I]->WindowState(), kwsNormal) << I;
    EXPECT_EQ(Children[I]->BoundsRect(), Normal[I]) << I;
  }
  EXPECT_FALSE(ParentFrame->IsMDIChildMaximized());
  EXPECT_NE(WindowPixel(Children[1]->Handle(), 3, 3), static_cast<COLORREF>(ChildColor)) << "its frame is back";

  // Minimized from maximized: the same.
  Frames[1]->Maximize();
  Pump();
  ASSERT_EQ(Parent->Caption(), "Parent - [Renamed]");
  Frames[1]->Minimize();
  Pump();
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
  EXPECT_EQ(Children[1]->Top() + Children[1]->Height(), ClientArea().bottom);
}

TEST_F(KsMDIFormTest, CtrlF6MovesBetweenChildrenAndTheMaximizedStateGoesAlong) {
  Activate(Children[1]);
  Frames[1]->Maximize();
  Pump();
  {
    THeldControlKey Ctrl;
    PostMessageA(Children[1]->Handle(), WM_KEYDOWN, VK_F6, 1);
    Pump();
  }
  EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);
  EXPECT_EQ(Frames[0]->WindowState(), kwsMaximized);
  EXPECT_EQ(Parent->Caption(), "Parent - [Child 1]");
  EXPECT_EQ(Bar->MDIChild(), Children[0]);
}

TEST_F(KsMDIFormTest, ClosingAChildMinimizesItWhenItCanAndOtherwiseKeepsItOpen) {
  const TRect Area = ClientArea();
  SendMessageA(Children[0]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(Frames[0]->WindowState(), kwsMinimized);
  EXPECT_EQ(Children[0]->Top() + Children[0]->Height(), Area.bottom);
  EXPECT_TRUE(IsWindowVisible(Children[0]->Handle()));

  TKsBorderIcons Icons = Frames[1]->BorderIcons();
  Icons.Exclude(kbiMinimize);
  Frames[1]->SetBorderIcons(Icons);
  const TRect Before = Children[1]->BoundsRect();
  Frames[1]->CloseForm();
  Pump();
  EXPECT_EQ(Frames[1]->WindowState(), kwsNormal);
  EXPECT_EQ(Children[1]->BoundsRect(), Before);
  EXPECT_TRUE(IsWindowVisible(Children[1]->Handle()));

  // Hidden by its close event while maximized: the parent has its caption back.
  struct THide : TObject {
    void Close(TObject*, TCloseAction& Action) { Action = caHide; }
  } Hide;
  Children[1]->OnClose = TCloseEvent::Bind<&THide::Close>(&Hide);
  Frames[1]->Maximize();
  Pump();
  ASSERT_EQ(Parent->Caption(), "Parent - [Child 2]");
  Frames[1]->CloseForm();
  Pump();
  EXPECT_FALSE(IsWindowVisible(Children[1]->Handle()));
  EXPECT_EQ(Parent->Caption(), "Parent");
  EXPECT_EQ(Bar->MDIChild(), nullptr);
}

TEST_F(KsMDIFormTest, ACaptionDragOutlinesTheChildInTheClientAndSnapsToItsEdges) {
  TForm* Child = Children[0];
  TKsCustomForm* Frame = Frames[0];
  Frame->SetSimpleDrag(true);
  const TPoint Grip{120, Frame->FrameBorderWidth() + 4};
  ASSERT_EQ(Frame->HitTest(Grip.x, Grip.y), khtCaption);
  const int Width = Child->Width(), Height = Child->Height();
  Send(Child, WM_NCLBUTTONDOWN, Grip);
  ASSERT_TRUE(Frame->Dragging());
  // An outline away from the client's edges first (right of the other child), then
  // one 5 pixels from the client's left and 4 from its top: inside the magnetic 9.
  const TPoint Middle{Grip.x + 330 - Child->Left(), Grip.y + 100 - Child->Top()};
  const COLORREF MiddleUnder = ScreenPixel(Client(), 330, 150);
  Send(Child, WM_NCMOUSEMOVE, Middle);
  EXPECT_EQ(Child->Left(), 20) << "a simple drag moves only the outline";
  EXPECT_EQ(ScreenPixel(Client(), 330, 150), MiddleUnder ^ 0xFFFFFFu) << "the outline, in client coordinates";
  const TPoint Near{Grip.x + 5 - Child->Left(), Grip.y + 4 - Child->Top()};
  const COLORREF EdgeUnder = ScreenPixel(Client(), 0, 60);
  Send(Child, WM_NCMOUSEMOVE, Near);
  EXPECT_EQ(ScreenPixel(Client(), 330, 150), MiddleUnder) << "the last outline erased";
  EXPECT_EQ(ScreenPixel(Client(), 0, 60), EdgeUnder ^ 0xFFFFFFu) << "snapped onto the client's left edge";
  Send(Child, WM_NCLBUTTONUP, Near);
  EXPECT_FALSE(Frame->Dragging());
  EXPECT_EQ(Child->BoundsRect(), Bounds(0, 0, Width, Height));
}

// The same with themed frames: a maximized child has no region and the unthemed
// metrics, and the engine's refresh repaints the parent's client.
class KsThemedMDIFormTest : public KsMDIFormTest {
 protected:
  TKsCustomForm* MakeFrame(TForm* Form) override {
    if (!Engine) Engine = NewObject<TTeThemeEngine>(nullptr);
    auto* Frame = NewObject<TTeThemeForm>(Form);
    Frame->SetThemeEngine(Engine);
    return Frame;
  }
  void TearDown() override {
    KsMDIFormTest::TearDown();
    Engine->Free();
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
  TRect Area;
  Frame->GetClientArea(Area);
  EXPECT_EQ(Area, TRect(0, 0, Frame->FrameWidth(), Frame->FrameHeight()));
  TRect Max;
  Frame->GetMaximizedRect(Max);
  const TRect Client = ClientArea();
  EXPECT_EQ(Max, TRect(0, 0, Client.right + 1, Client.bottom + 1));
  const RECT Inside = ClientRectOf(Children[0]->Handle());
  EXPECT_EQ(Inside.right, Children[0]->Width()) << "no frame";

  ValidateRect(this->Client(), nullptr);
  Engine->RefreshThemeForms();
  RECT Update;
  EXPECT_TRUE(GetUpdateRect(this->Client(), &Update, FALSE));
}

// An active child's WM_NCACTIVATE goes on to the system's MDI child procedure, whose
// own caption must not show over the kit's.
TEST_F(KsThemedMDIFormTest, AChildActivatedAgainKeepsTheKitsActiveCaption) {
  Children[1]->SetBounds(300, 200, 260, 180);
  Activate(Children[0]);
  EXPECT_TRUE(Frames[0]->WindowActive());
  const COLORREF Painted = WindowPixel(Children[0]->Handle(), 60, 12);
  Activate(Children[1]);
  EXPECT_FALSE(Frames[0]->WindowActive());
  EXPECT_TRUE(Frames[1]->WindowActive());
  EXPECT_NE(WindowPixel(Children[0]->Handle(), 60, 12), Painted) << "inactive caption";
  Activate(Children[0]);
  EXPECT_EQ(WindowPixel(Children[0]->Handle(), 60, 12), Painted);
}

}  // namespace
