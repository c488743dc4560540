// The skinned window frame on real windows: the frame's metrics and the client area
// the system gives the form, hit codes near every edge and corner, the tool window's
// buttons, the minimum size, re-layout while loading and after, the client size kept
// when the frame changes, and the frame's pixels as they reach the screen (also saved
// as a picture in the build folder, to be looked at).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/GdiScopes.h"
#include "host/HostPng.h"
#include "skin/KsControls.h"
#include "skin/KsForms.h"
#include "skin/KsUtils.h"
#include "skin/TeThemeXPImpl.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

bool Near(COLORREF A, COLORREF B, int Tolerance) {
  return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
         std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
}

// Saves the window, frame included, as a PNG file; false when that is not possible.
bool SaveWindowPicture(HWND Window, const std::string& FileName) {
  RECT R;
  GetWindowRect(Window, &R);
  const int W = R.right - R.left, H = R.bottom - R.top;
  TOwned<TKsBitmap> Shot(NewObject<TKsBitmap>());
  Shot->SetSize(W, H);
  HDC DC = GetWindowDC(Window);
  BitBlt(Shot->DC(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
  ReleaseDC(Window, DC);
  return SaveBitmapAsPng(Shot->Handle(), FileName);
}

class KsFrameTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = Keep(NewObject<TForm>(nullptr, CreateNew));
    Form->SetCaption("Skinned frame");
    Form->SetBounds(60, 60, 400, 300);
    Frame = NewObject<TKsCustomForm>(Form);
    Frame->SetActive(true);
    Form->Show();
    Pump();
    Frame->UpdateFrame();
    Pump();
  }
  HWND Window() { return Form->Handle(); }
  RECT WindowRect() {
    RECT R;
    GetWindowRect(Window(), &R);
    return R;
  }
  // WM_NCHITTEST at a point of the window.
  LRESULT Hit(int X, int Y) {
    const RECT R = WindowRect();
    return SendMessageA(Window(), WM_NCHITTEST, 0, MAKELPARAM(R.left + X, R.top + Y));
  }
  void RepaintFrame() {
    RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
  }
  // Whether the screen shows the desktop wherever Target (a window rectangle on the
  // screen) lies outside the window as it is now: the part a move there copies from the
  // screen for a blended or shadowed frame to be composed over. The desktop is another
  // process's window: the part a window has left reaches the screen repainted when that
  // process gets to it, so on a busy machine the screen may still show the window where
  // it was a move or a test before, and a frame moved there is composed over that.
  bool DesktopShowsUnder(const RECT& Target) {
    const int SX = GetSystemMetrics(SM_XVIRTUALSCREEN), SY = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT Shown{SX, SY, SX + GetSystemMetrics(SM_CXVIRTUALSCREEN), SY + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT Part;
    if (!IntersectRect(&Part, &Target, &Shown)) return true;
    TOwned<TKsBitmap> Shot(NewObject<TKsBitmap>());
    Shot->SetSize(Part.right - Part.left, Part.bottom - Part.top);
    const TScreenDC Screen;
    BitBlt(Shot->DC(), 0, 0, Shot->Width(), Shot->Height(), Screen.DC(), Part.left, Part.top, SRCCOPY);
    const RECT Now = WindowRect();
    const TKsColor Desktop = Rgb(ColorToKsColor(clBackground, 0));
    for (int Y = 0; Y < Shot->Height(); ++Y)
      for (int X = 0; X < Shot->Width(); ++X)
        if (!PtInRect(&Now, POINT{Part.left + X, Part.top + Y}) && Rgb(Shot->ScanLine(Y)[X]) != Desktop) return false;
    return true;
  }

  // Larger than the screen, only its right (or bottom-right) part shown, and moved: that
  // part looks as it does at a size that fits, whether the buffer holds the whole window
  // (a blended one at 1500 x 1200), the part shown (a blended one past its cap, at 4200 x
  // 2100) or the screen (the shared bitmap). Seen: the right edge and the shadow 200 rows
  // down the screen, the client above, the close glyph if shown.
  void ExpectLargeWindowsShowAsOneThatFits() {
    Form->Constraints()->SetMaxWidth(5000);
    Form->Constraints()->SetMaxHeight(3000);
    auto Seen = [&](int X, int Y, int W, int H) {
      // Every placement is composed over the desktop, once the screen shows it there.
      const RECT Target{X, Y, X + W, Y + H};
      EXPECT_TRUE(PumpUntil([&] { return DesktopShowsUnder(Target); }, 20000))
          << "the desktop was not repainted where the window goes";
      Form->SetBounds(X, Y, W, H);
      Pump();
      RepaintFrame();
      const int Row = std::max(200, 200 - Y);
      TRect C, Close;
      Frame->GetClientArea(C);
      Frame->GetButtonRect(kbiClose, Close);
      std::vector<COLORREF> Pixels{WindowPixel(Window(), Frame->FrameWidth() - 1, Row),
                                   WindowPixel(Window(), W - 1, Row),
                                   ScreenPixel(Window(), C.right - C.left - 10, Row - 100 - C.top)};
      if (Y >= 0)
        Pixels.push_back(WindowPixel(Window(), (Close.left + Close.right) / 2, (Close.top + Close.bottom) / 2 - 1));
      return Pixels;
    };
    const std::vector<COLORREF> Fits = Seen(810, 40, 200, 320);
    for (const auto& [X, Y, W, H] : {std::array{-800, 400, 1500, 1200}, std::array{-800, -700, 1500, 1200},
                                     std::array{-3800, 400, 4200, 2100}, std::array{-3700, 450, 4200, 2100},
                                     std::array{-3800, -1500, 4200, 2100}, std::array{-700, 420, 1500, 1200}}) {
      SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H) + " at " + std::to_string(X) + ", " +
                   std::to_string(Y));
      const auto Shown = Seen(X, Y, W, H);
      EXPECT_EQ(Shown, std::vector(Fits.begin(), Fits.begin() + Shown.size()));
    }
  }

  TForm* Form = nullptr;
  TKsCustomForm* Frame = nullptr;
};

TEST_F(KsFrameTest, TheConstructorTakesTheFormOverWithItsDefaults) {
  EXPECT_EQ(Form->BorderStyle(), bsSizeable);
  EXPECT_TRUE(Form->BorderIcons().Bits() == 0);
  EXPECT_EQ(Frame->BorderStyle(), kbsStandard);
  EXPECT_EQ(Frame->BorderIcons().Bits(), 0x6Fu);
  EXPECT_EQ(Frame->BlendValue(), 150);
  EXPECT_EQ(Frame->ShadowWidth(), 4);
  EXPECT_EQ(Frame->MagneticValue(), 20);
  EXPECT_EQ(Frame->ShowAnimationTime(), 400);
  EXPECT_EQ(Frame->SysMenuShowAnimationTime(), 300);
  EXPECT_TRUE(Frame->FramePaintEnabled());
  EXPECT_TRUE(IsWindow(Frame->TrayWindow()));
  EXPECT_FALSE(IsWindowVisible(Frame->TrayWindow()));
  EXPECT_EQ(Frame->GetFrameBuffer(), SharedBitmap) << "without Blend the shared bitmap is the buffer";
}

TEST_F(KsFrameTest, MetricsFollowTheVisualStyleTest) {
  const bool Styled = IsVisualStyleAvailable();
  EXPECT_EQ(Frame->CaptionHeight(), Styled ? 19 : GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(Frame->FrameBorderWidth(), Styled ? 3 : GetSystemMetrics(SM_CXFRAME));
  Frame->SetBorderStyle(kbsToolWindow);
  EXPECT_EQ(Frame->CaptionHeight(), Styled ? 15 : GetSystemMetrics(SM_CYSMCAPTION));
  Frame->SetBorderStyle(kbsNone);
  EXPECT_EQ(Frame->CaptionHeight(), 0);
}

TEST_F(KsFrameTest, TheSystemGivesTheFormTheClientAreaOfTheFrame) {
  const RECT W = WindowRect();
  EXPECT_EQ(Frame->FrameWidth(), W.right - W.left);
  EXPECT_EQ(Frame->FrameHeight(), W.bottom - W.top);
  TRect C;
  Frame->GetClientArea(C);
  const int B = Frame->FrameBorderWidth();
  EXPECT_EQ(C.left, B);
  EXPECT_EQ(C.top, B + Frame->CaptionHeight());
  RECT Client;
  GetClientRect(Window(), &Client);
  EXPECT_EQ(Client.right, C.right - C.left);
  EXPECT_EQ(Client.bottom, C.bottom - C.top);
  POINT Origin{0, 0};
  ClientToScreen(Window(), &Origin);
  EXPECT_EQ(Origin.x - W.left, C.left);
  EXPECT_EQ(Origin.y - W.top, C.top);
}

TEST_F(KsFrameTest, HitCodesNearEveryEdgeAndCorner) {
  const int FW = Frame->FrameWidth(), FH = Frame->FrameHeight();
  const int B = Frame->FrameBorderWidth();
  const int Mid = FH / 2, Centre = FW / 2;
  EXPECT_EQ(Hit(0, 0), HTTOPLEFT);
  EXPECT_EQ(Hit(19, 1), HTTOPLEFT) << "the top edge within 20 pixels of the left end";
  EXPECT_EQ(Hit(1, 19), HTTOPLEFT) << "the left edge within 20 pixels of the top";
  EXPECT_EQ(Hit(Centre, 1), HTTOP);
  EXPECT_EQ(Hit(FW - 1, 0), HTTOPRIGHT);
  EXPECT_EQ(Hit(FW - 1, 19), HTTOPRIGHT);
  EXPECT_EQ(Hit(1, Mid), HTLEFT);
  EXPECT_EQ(Hit(FW - 1, Mid), HTRIGHT);
  EXPECT_EQ(Hit(1, FH - 1), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(19, FH - 1), HTBOTTOMLEFT);
  EXPECT_EQ(Hit(Centre, FH - 1), HTBOTTOM);
  EXPECT_EQ(Hit(FW - 19, FH - 1), HTBOTTOMRIGHT);
  EXPECT_EQ(Hit(FW - 1, FH - 19), HTBOTTOMRIGHT);
  EXPECT_EQ(Hit(Centre - 40, B + 2), HTCAPTION);
  EXPECT_EQ(Hit(Centre, Mid), HTCLIENT);
  TRect Close;
  Frame->GetButtonRect(kbiClose, Close);
  ASSERT_FALSE(IsEmptyRect(Close));
  EXPECT_EQ(Hit((Close.left + Close.right) / 2, (Close.top + Close.bottom) / 2), HTCLOSE);
  EXPECT_EQ(Frame->HitTest((Close.left + Close.right) / 2, (Close.top + Close.bottom) / 2), khtClose);
  TRect Roll;
  Frame->GetButtonRect(kbiRollup, Roll);
  EXPECT_EQ(Frame->HitTest(Roll.left + 1, Roll.top + 1), khtRollup);
  EXPECT_EQ(Hit(Roll.left + 1, Roll.top + 1), HTMINBUTTON);

  Frame->SetCanResize(false);
  Frame->SetCanMove(false);
  EXPECT_EQ(Hit(1, Mid), HTCLIENT);
  EXPECT_EQ(Hit(0, 0), HTCLIENT);
  EXPECT_EQ(Hit(Centre - 40, B + 2), HTCLIENT);
  EXPECT_EQ(Hit((Close.left + Close.right) / 2, (Close.top + Close.bottom) / 2), HTCLOSE);
}

TEST_F(KsFrameTest, AWindowWithoutFrameAnswersClientEverywhere) {
  Frame->SetBorderStyle(kbsNone);
  Pump();
  const int FW = Frame->FrameWidth(), FH = Frame->FrameHeight();
  TRect C;
  Frame->GetClientArea(C);
  EXPECT_TRUE(SameRect(C, TRect{0, 0, FW, FH}));
  RECT Client;
  GetClientRect(Window(), &Client);
  EXPECT_EQ(Client.right, FW);
  EXPECT_EQ(Client.bottom, FH);
  for (int Y = 0; Y < FH; Y += 3)
    for (int X = 0; X < FW; X += 3) ASSERT_EQ(Frame->HitTest(X, Y), khtClient) << X << "," << Y;
  EXPECT_EQ(Hit(0, 0), HTCLIENT);
  EXPECT_EQ(Hit(FW - 1, FH - 1), HTCLIENT);
  for (int Kind = 0; Kind < 7; ++Kind) {
    TRect R;
    Frame->GetButtonRect(Kind, R);
    EXPECT_TRUE(IsEmptyRect(R)) << Kind;
  }
}

TEST_F(KsFrameTest, AToolWindowShowsOnlyItsCloseButton) {
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray});
  Frame->SetBorderStyle(kbsToolWindow);
  TRect Close;
  Frame->GetButtonRect(kbiClose, Close);
  EXPECT_FALSE(IsEmptyRect(Close));
  TRect C;
  Frame->GetClientArea(C);
  EXPECT_EQ(Close.right, C.right - 2);
  for (int Kind = 1; Kind < 7; ++Kind) {
    TRect R;
    Frame->GetButtonRect(Kind, R);
    EXPECT_TRUE(IsEmptyRect(R)) << Kind;
  }
}

TEST_F(KsFrameTest, ButtonsArePlacedFromRightToLeft) {
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray});
  TRect Close, Max, Min, Roll, Tray, Help, Icon;
  Frame->GetButtonRect(kbiClose, Close);
  Frame->GetButtonRect(kbiMaximize, Max);
  Frame->GetButtonRect(kbiMinimize, Min);
  Frame->GetButtonRect(kbiRollup, Roll);
  Frame->GetButtonRect(kbiTray, Tray);
  Frame->GetButtonRect(kbiHelp, Help);
  Frame->GetButtonRect(kbiSystemMenu, Icon);
  const int W = RectWidth(Close);
  EXPECT_EQ(Max.right, Close.left - 2);
  EXPECT_EQ(Min.right, Max.left);
  EXPECT_EQ(Roll.right, Min.left - 2);
  EXPECT_EQ(Tray.right, Roll.left);
  EXPECT_EQ(Help.right, Tray.left - 2);
  for (const TRect* R : {&Max, &Min, &Roll, &Tray, &Help}) EXPECT_EQ(RectWidth(*R), W);
  TRect C;
  Frame->GetClientArea(C);
  EXPECT_EQ(Icon.left, C.left);
  EXPECT_EQ(RectWidth(Icon), RectHeight(Icon));
  EXPECT_EQ(Close.top, C.top - Frame->CaptionHeight() + 2);
  // Without the maximize button the others close up.
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiMinimize});
  Frame->GetButtonRect(kbiMinimize, Min);
  EXPECT_EQ(Min.right, Close.left - 2);
}

TEST_F(KsFrameTest, TheWindowIsNeverSmallerThan150By40) {
  Form->SetBounds(60, 60, 100, 20);
  Pump();
  RECT R = WindowRect();
  EXPECT_EQ(R.right - R.left, 150);
  EXPECT_EQ(R.bottom - R.top, 40);
  Form->Constraints()->SetMinWidth(200);
  Form->SetBounds(60, 60, 100, 20);
  Pump();
  R = WindowRect();
  EXPECT_EQ(R.right - R.left, 200);
}

TEST_F(KsFrameTest, BorderIconsSetWhileLoadingDoNotLayOutTheFrameAndAfterLoadedDo) {
  int CalcSizes = 0;
  struct TCounter : TObject {
    int* N;
    void Before(TObject*, TMessage& M, bool&) {
      if (M.Msg == WM_NCCALCSIZE) ++*N;
    }
  } Counter;
  Counter.N = &CalcSizes;
  TKsHook* Watch = NewObject<TKsHook>(nullptr);
  Watch->OnBeforeMessage = THookMessageEvent::Bind<&TCounter::Before>(&Counter);
  Watch->SetControl(Form);
  Frame->SetComponentStateFlag(csLoading, true);
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose});
  Frame->SetBorderStyle(kbsToolWindow);
  Pump();
  EXPECT_EQ(CalcSizes, 0);
  static_cast<TComponent*>(Frame)->Loaded();  // as the form reader does
  Pump();
  EXPECT_GT(CalcSizes, 0) << "Loaded brings the frame up";
  CalcSizes = 0;
  Frame->SetBorderIcons(TKsBorderIcons{kbiClose, kbiHelp});
  Pump();
  EXPECT_GT(CalcSizes, 0);
  Watch->Free();
}

TEST_F(KsFrameTest, UpdateFrameKeepsTheClientSize) {
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  Pump();
  const RECT Before = WindowRect();
  Frame->SetBorderStyle(kbsToolWindow);
  Pump();
  RECT Client;
  GetClientRect(Window(), &Client);
  EXPECT_EQ(Client.right, 300);
  EXPECT_EQ(Client.bottom, 200);
  const RECT After = WindowRect();
  EXPECT_LT(After.bottom - After.top, Before.bottom - Before.top) << "the tool caption is lower";
  Frame->SetBorderStyle(kbsNone);
  Pump();
  GetClientRect(Window(), &Client);
  EXPECT_EQ(Client.right, 300);
  EXPECT_EQ(Client.bottom, 200);
  EXPECT_EQ(WindowRect().right - WindowRect().left, 300);
}

TEST_F(KsFrameTest, ADialogTakenOverKeepsTheClientSizeItWasGiven) {
  // As a form file gives it: a dialog frame, the client size, then the kit's frame.
  TForm* Dialog = Keep(NewObject<TForm>(nullptr, CreateNew));
  Dialog->SetBorderStyle(bsDialog);
  Dialog->SetClientWidth(297);
  Dialog->SetClientHeight(161);
  TKsCustomForm* DialogFrame = NewObject<TKsCustomForm>(Dialog);
  EXPECT_EQ(Dialog->BorderStyle(), bsSizeable);
  EXPECT_EQ(Dialog->ClientWidth(), 297) << "the sizeable frame is thicker than the dialog's";
  EXPECT_EQ(Dialog->ClientHeight(), 161);
  DialogFrame->SetActive(true);
  Dialog->Show();
  Pump();
  DialogFrame->UpdateFrame();
  Pump();
  EXPECT_EQ(Dialog->ClientWidth(), 297);
  EXPECT_EQ(Dialog->ClientHeight(), 161);
}

TEST_F(KsFrameTest, TheFrameIsPaintedWithRaisedEdgeCaptionGradientAndCloseGlyph) {
  RepaintFrame();
  const int FW = Frame->FrameWidth(), FH = Frame->FrameHeight();
  const int Mid = FH / 2;
  EXPECT_EQ(WindowPixel(Window(), 0, Mid), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(WindowPixel(Window(), 1, Mid), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(WindowPixel(Window(), FW - 1, Mid), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(WindowPixel(Window(), FW - 2, Mid), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(Window(), Mid, FH - 1), GetSysColor(COLOR_3DDKSHADOW));
  TRect C;
  Frame->GetClientArea(C);
  if (C.left > 2) {
    EXPECT_EQ(WindowPixel(Window(), 2, Mid), GetSysColor(COLOR_BTNFACE));
  }

  const bool Active = Frame->WindowActive();
  const COLORREF From = GetSysColor(Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF To = GetSysColor(Active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  const int BandTop = C.top - Frame->CaptionHeight();
  EXPECT_TRUE(Near(WindowPixel(Window(), C.left, BandTop), From, 8));
  EXPECT_TRUE(Near(WindowPixel(Window(), C.right - 1, BandTop), To, 8));

  TRect Close;
  Frame->GetButtonRect(kbiClose, Close);
  int Glyph = 0, Face = 0;
  for (int Y = Close.top + 2; Y < Close.bottom - 2; ++Y)
    for (int X = Close.left + 2; X < Close.right - 2; ++X) {
      const COLORREF P = WindowPixel(Window(), X, Y);
      if (P == GetSysColor(COLOR_BTNTEXT)) ++Glyph;
      if (P == GetSysColor(COLOR_BTNFACE)) ++Face;
    }
  EXPECT_GT(Glyph, 6) << "the cross of the close glyph";
  EXPECT_GT(Face, Glyph) << "on the button's face";
  EXPECT_EQ(WindowPixel(Window(), (Close.left + Close.right) / 2, (Close.top + Close.bottom) / 2 - 1),
            GetSysColor(COLOR_BTNTEXT));

  // The client background is the form's colour.
  EXPECT_EQ(ScreenPixel(Window(), 10, 10), static_cast<COLORREF>(ColorToRGB(Form->Color())));

  char Module[MAX_PATH];
  GetModuleFileNameA(nullptr, Module, MAX_PATH);
  std::string Folder(Module);
  Folder = Folder.substr(0, Folder.find_last_of("\\/"));
  Folder = Folder.substr(0, Folder.find_last_of("\\/") + 1);  // build/ above bin/
  const std::string Name = Folder + "skinned-frame.png";
  EXPECT_TRUE(SaveWindowPicture(Window(), Name));

  // Larger than the screen, painted in the shared bitmap, without a shadow and with one.
  ExpectLargeWindowsShowAsOneThatFits();
  Frame->SetDropShadow(true);
  Frame->UpdateFrame();
  ExpectLargeWindowsShowAsOneThatFits();
  POINT Org{-1, -1};
  GetWindowOrgEx(SharedBitmap->DC(), &Org);
  EXPECT_TRUE(SharedBitmap->Origin().x == 0 && SharedBitmap->Origin().y == 0 && Org.x == 0 && Org.y == 0)
      << "the shared bitmap is left as it was found";
}

TEST_F(KsFrameTest, ABlendedShadowedFrameHasItsOwnBufferAndAFrameInsideTheShadow) {
  Frame->SetComponentStateFlag(csLoading, true);
  Frame->SetBlend(true);
  Frame->SetDropShadow(true);
  static_cast<TComponent*>(Frame)->Loaded();
  Form->SetBounds(60, 60, 420, 320);
  Pump();
  ASSERT_NE(Frame->GetFrameBuffer(), SharedBitmap);
  EXPECT_EQ(Frame->WindowWidth(), 420);
  EXPECT_EQ(Frame->FrameWidth(), 420 - Frame->ShadowWidth());
  EXPECT_EQ(Frame->FrameHeight(), 320 - Frame->ShadowWidth());
  EXPECT_EQ(Frame->GetFrameBuffer()->Width(), 420);
  RepaintFrame();
  // The frame was painted into the component's buffer and composed there.
  EXPECT_NE(Frame->GetFrameBuffer()->GetPixel(0, 100), KsColorTransparent);
  EXPECT_NE(Frame->GetFrameBuffer()->GetPixel(Frame->FrameWidth() - 1, 100), KsColorTransparent);

  ExpectLargeWindowsShowAsOneThatFits();
}

TEST_F(KsFrameTest, TheFormsShortCutHandlerIsGivenBackWhenTheFrameGoes) {
  int Asked = 0;
  struct TAsk : TObject {
    int* N;
    void ShortCut(TMessage&, bool&) { ++*N; }
  } Ask;
  Ask.N = &Asked;
  Form->OnShortCut = TShortCutEvent::Bind<&TAsk::ShortCut>(&Ask);
  static_cast<TComponent*>(Frame)->Loaded();
  TMessage Key{WM_KEYDOWN, VK_F2, 0, 0};
  Form->IsShortCut(Key);
  EXPECT_EQ(Asked, 1) << "the frame passes the key on";
  Frame->Free();
  Frame = nullptr;
  EXPECT_TRUE(Form->OnShortCut == TShortCutEvent::Bind<&TAsk::ShortCut>(&Ask));
  Form->IsShortCut(Key);
  EXPECT_EQ(Asked, 2);
}

TEST_F(KsFrameTest, TheFormAnswersWhetherItBlends) {
  EXPECT_EQ(SendMessageA(Window(), KM_ISFORMBLENDED, 0, 0), 0);
  Frame->SetBlend(true);
  EXPECT_EQ(SendMessageA(Window(), KM_ISFORMBLENDED, 0, 0), 1);
  Frame->SetBlend(false);
}

TEST_F(KsFrameTest, UnhookingGivesTheWindowBackToTheSystem) {
  Frame->SetActive(false);
  Form->SetHeight(Form->Height() + 1);
  Pump();
  EXPECT_EQ(SendMessageA(Window(), KM_ISFORMBLENDED, 0, 0), 0);
  RECT Client;
  GetClientRect(Window(), &Client);
  EXPECT_LT(Client.right, WindowRect().right - WindowRect().left);
}

}  // namespace
