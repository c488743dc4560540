// Panning: the modal loop of a middle-button press. A round mark is put on the screen
// at the press, the mouse is captured, and a thread timer scrolls toward the mouse
// until a click, Escape, a lost capture or the end of the message loop ends it; the
// mark, the timer and the capture never outlive it.
#include "treelist/dxTL_Pan.h"

#include <algorithm>
#include <cstdlib>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ModuleInit.h"
#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Resources.h"

namespace {

UINT_PTR StartThreadTimer(UINT Interval) { return SetTimer(nullptr, 0, Interval, nullptr); }
void StopThreadTimer(UINT_PTR Id) { KillTimer(nullptr, Id); }

const TdxTreeListPanMotion* ActiveMotion = nullptr;
HWND ActiveMark = nullptr;
HWND ActiveWindow = nullptr;

TCursor PanCursor(const TdxTreeListPanMotion& Motion, bool HasHorz, bool HasVert) {
  switch (Motion.Direction()) {
    case 1: return crdxTLLeftScroll;
    case 2: return crdxTLUpScroll;
    case 3: return crdxTLRightScroll;
    case 4: return crdxTLDownScroll;
    default:
      if (HasHorz && HasVert) return crdxTLFullScroll;
      return HasHorz ? crdxTLHorScroll : crdxTLVerScroll;
  }
}

}  // namespace

TdxTLPanStartTimer dxTLPanStartTimer = StartThreadTimer;
TdxTLPanStopTimer dxTLPanStopTimer = StopThreadTimer;

const TdxTreeListPanMotion* dxTLActivePanMotion() { return ActiveMotion; }
HWND dxTLActivePanMark() { return ActiveMark; }
HWND dxTLActivePanWindow() { return ActiveWindow; }

// ---------------------------------------------------------------------------------
// Direction and speed

TdxTreeListPanMotion::TdxTreeListPanMotion(TPoint Origin, int MarkWidth, int MarkHeight, bool HasHorz,
                                           bool HasVert, const TRect& Screen)
    : FOrigin(Origin), FMarkWidth(MarkWidth), FHasHorz(HasHorz), FHasVert(HasVert) {
  const int Left = Origin.x - MarkWidth / 2, Top = Origin.y - MarkHeight / 2;
  FDeadZone = TRect{Left, Top, Left + MarkWidth, Top + MarkHeight};
  // A direction the control cannot scroll in never leaves the dead zone.
  if (!HasHorz) {
    FDeadZone.left = Screen.left;
    FDeadZone.right = Screen.right;
  }
  if (!HasVert) {
    FDeadZone.top = Screen.top;
    FDeadZone.bottom = Screen.bottom;
  }
}

void TdxTreeListPanMotion::MoveTo(TPoint P) {
  if (P.x >= FDeadZone.left && P.x < FDeadZone.right && P.y >= FDeadZone.top && P.y < FDeadZone.bottom) {
    FDirection = 0;
    FSpeed = 0;
    return;
  }
  FLeftDeadZone = true;
  const int Dx = P.x - FOrigin.x, Dy = P.y - FOrigin.y;
  int Distance = 0;
  if (FHasHorz && (!FHasVert || std::abs(Dx) > std::abs(Dy))) {
    FDirection = Dx >= 0 ? 3 : 1;
    Distance = std::abs(Dx);
  } else {
    FDirection = Dy >= 0 ? 4 : 2;
    Distance = std::abs(Dy);
  }
  FSpeed = std::clamp((Distance - FMarkWidth / 2) / 5 + 1, 1, 12);
}

UINT TdxTreeListPanMotion::Tick(WPARAM& Code) {
  ++FTicks;
  if (FDirection == 0 || FSpeed < 1 || FTicks % TicksPerStep() != 0) return 0;
  Code = FDirection <= 2 ? SB_LINEUP : SB_LINEDOWN;
  return FDirection % 2 == 1 ? WM_HSCROLL : WM_VSCROLL;
}

// ---------------------------------------------------------------------------------
// The loop

void TCustomdxTreeList::Pan() {
  if (!HandleAllocated()) return;
  const HWND Window = Handle();
  const LONG Style = GetWindowLongA(Window, GWL_STYLE);
  const bool HasHorz = (Style & WS_HSCROLL) != 0, HasVert = (Style & WS_VSCROLL) != 0;
  POINT Origin{0, 0};
  GetCursorPos(&Origin);
  const char* Name = HasHorz && HasVert ? "DXGRID_FULLSCROLLBITMAP"
                     : HasHorz          ? "DXGRID_HORSCROLLBITMAP"
                                        : "DXGRID_VERSCROLLBITMAP";
  TOwnedBitmap Picture(CountHandle(LoadBitmapA(HInstance, Name)));
  BITMAP Size{};
  if (Picture) GetObjectA(Picture.Handle(), sizeof(Size), &Size);
  const int Width = std::max<int>(Size.bmWidth, 1), Height = std::max<int>(Size.bmHeight, 1);

  bool Quit = false;
  int QuitCode = 0;
  {
    // Everything the loop sets up goes at its end, however it ends.
    HWND Mark = nullptr;
    UINT_PTR Timer = 0;
    auto CleanUp = ScopeExit([&] {
      ActiveMotion = nullptr;
      ActiveMark = nullptr;
      ActiveWindow = nullptr;
      if (GetCapture() == Window) ReleaseCapture();
      if (Timer) dxTLPanStopTimer(Timer);
      if (Mark) DestroyWindow(Mark);
    });
    Mark = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, Origin.x - Width / 2, Origin.y - Height / 2,
                           Width, Height, Window, nullptr, HInstance, nullptr);
    if (Mark) {
      SetWindowRegion(Mark, TOwnedRegion(CountHandle(CreateEllipticRgn(0, 0, Width + 1, Height + 1))), false);
      SetWindowPos(Mark, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      TClientDC DC(Mark);
      if (Picture) {
        TMemoryDC Memory(DC.DC());
        TSelection Selected(Memory.DC(), Picture.Handle());
        BitBlt(DC.DC(), 0, 0, Width, Height, Memory.DC(), 0, 0, SRCCOPY);
      }
      TOwnedRegion Ring(CountHandle(CreateEllipticRgn(0, 0, Width + 1, Height + 1)));
      FrameRgn(DC.DC(), Ring.Handle(), GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
      ValidateRect(Mark, nullptr);
    }
    const TRect ScreenRect = GetSystemMetrics(SM_CXVIRTUALSCREEN) > 0 ? Screen->DesktopRect()
                                                                     : TRect{0, 0, Screen->Width(), Screen->Height()};
    TdxTreeListPanMotion Motion(Origin, Width, Height, HasHorz, HasVert, ScreenRect);
    Motion.MoveTo(Origin);
    ActiveMotion = &Motion;
    ActiveMark = Mark;
    ActiveWindow = Window;
    ::SetCursor(Screen->Cursors(PanCursor(Motion, HasHorz, HasVert)));
    Timer = dxTLPanStartTimer(dxTLPanTickInterval);
    SetCapture(Window);

    POINT Last = Origin;
    bool Done = false;
    while (!Done && GetCapture() == Window) {
      MSG Msg;
      if (!GetMessageA(&Msg, nullptr, 0, 0)) {
        Quit = true;
        QuitCode = static_cast<int>(Msg.wParam);
        break;
      }
      switch (Msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
          if (Msg.wParam == VK_ESCAPE) Done = true;
          break;
        case WM_TIMER:
          if (!Msg.hwnd && Msg.wParam == Timer) {
            WPARAM Code = 0;
            if (const UINT Scroll = Motion.Tick(Code)) SendMessageA(Window, Scroll, Code, 0);
          } else {
            DispatchMessageA(&Msg);
          }
          break;
        case WM_MOUSEMOVE: {
          POINT P{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
          if (Msg.hwnd) ::ClientToScreen(Msg.hwnd, &P);
          if (P.x != Last.x || P.y != Last.y) {
            Last = P;
            Motion.MoveTo(P);
            ::SetCursor(Screen->Cursors(PanCursor(Motion, HasHorz, HasVert)));
          }
          break;
        }
        case WM_MBUTTONUP:
          // A click without moving leaves panning on until the next click.
          if (Motion.LeftDeadZone()) Done = true;
          break;
        case WM_PAINT:
          if (Msg.hwnd == Mark) {
            ValidateRect(Mark, nullptr);
            break;
          }
          DispatchMessageA(&Msg);
          break;
        default:
          if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSEWHEEL) {
            Done = true;
            break;
          }
          TranslateMessage(&Msg);
          DispatchMessageA(&Msg);
          break;
      }
    }
  }
  // The end of the message loop reaches the loop outside once panning is over.
  if (Quit) PostQuitMessage(QuitCode);
}
