// Pictures of every page of the wizard dialog as it is on the screen, saved as PNG
// files into build/wizard-pages/ (beside build/bin) for a person to look at. The test
// checks that each picture was taken and saved, and that the dialog shows the page's
// picture: many colours where the picture is, one where the page is blank. A picture
// of controls that a test placed on a page, which no user sees, is named "test-only-".
#include "tests/wizard/WizardFixture.h"

#include "host/HostPng.h"
#include "skin/KsPopup.h"
#include "tests/skin/KitUiSupport.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/fDetails.h"
#include "wizard/fInnerCut.h"
#include "wizard/fManufact.h"

#include <set>

namespace wiztest {
namespace {

std::string PicturesFolder() { return HostFolder() + "..\\wizard-pages\\"; }

// The window as the screen shows it: its pixels (0x00RRGGBB, rows from the top),
// saved as a PNG file too.
struct TShot {
  int Width = 0, Height = 0;
  std::vector<DWORD> Pixels;
  bool Saved = false;
  DWORD At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y) * Width + X] & 0xFFFFFF; }
  // How many colours the rectangle holds.
  std::size_t Colours(int Left, int Top, int Right, int Bottom) const {
    std::set<DWORD> Found;
    for (int Y = Top; Y < Bottom; ++Y)
      for (int X = Left; X < Right; ++X) Found.insert(At(X, Y));
    return Found.size();
  }
};

TShot TakeShot(HWND Window, const std::string& FileName) {
  TShot Shot;
  RECT R;
  GetWindowRect(Window, &R);
  Shot.Width = R.right - R.left;
  Shot.Height = R.bottom - R.top;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Shot.Width;
  Info.bmiHeader.biHeight = -Shot.Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HDC Screen = GetDC(nullptr);
  HDC Memory = CreateCompatibleDC(Screen);
  HBITMAP Bitmap = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = SelectObject(Memory, Bitmap);
  BitBlt(Memory, 0, 0, Shot.Width, Shot.Height, Screen, R.left, R.top, SRCCOPY);
  SelectObject(Memory, Old);
  GdiFlush();
  const auto* Pixels = static_cast<const DWORD*>(Bits);
  Shot.Pixels.assign(Pixels, Pixels + static_cast<std::size_t>(Shot.Width) * Shot.Height);

  Shot.Saved = SaveBitmapAsPng(Bitmap, FileName);
  DeleteObject(Bitmap);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
  return Shot;
}

using ScreenshotTest = WizardTest;

TEST_F(ScreenshotTest, EveryPageIsSavedAsAPicture) {
  ForceDirectories(PicturesFolder());
  std::vector<std::pair<int, TShot>> Shots;
  std::vector<TStep> Steps;
  for (int I = 0; I < 14; ++I) {
    Steps.push_back([I](TForm_BoardWizard* D) {
      // Every page, those that never take part too.
      if (I > 0) D->ShowPage(I);
    });
    Steps.push_back([&Shots](TForm_BoardWizard* D) {
      D->Repaint();
      uitest::Pump(20);
      TfraBasic* Page = D->ActivePage();
      std::string Name = PicturesFolder() + std::to_string(Page->Tag()) + "-" + Page->ClassName() + ".png";
      Shots.emplace_back(Page->Tag(), TakeShot(D->Handle(), Name));
    });
  }
  // The other look of two pages: the details page with a circle, the technology
  // page with through-hole components.
  std::vector<TShot> ChoiceShots;
  const std::pair<int, const char*> Choices[] = {{3, "40-TfraDetails-circular"}, {11, "120-TfraManufact-thruhole"}};
  for (const auto& [Index, Name] : Choices) {
    Steps.push_back([Index](TForm_BoardWizard* D) {
      D->ShowPage(Index);
      if (Index == 3)
        Click(D->fraDetails->rbnCircular);
      else
        Click(D->fraManufact->rbnTHComps);
    });
    Steps.push_back([&ChoiceShots, Name](TForm_BoardWizard* D) {
      D->Repaint();
      uitest::Pump(20);
      ChoiceShots.push_back(TakeShot(D->Handle(), PicturesFolder() + Name + ".png"));
    });
  }
  // Two coordinate edits on an interior page: one with the focus (the plain look), one
  // without (the hyperlink look).
  TEditCoordEx* Edits[2] = {};
  Steps.push_back([&Edits](TForm_BoardWizard* D) {
    D->ShowPage(2);
    TfraBasic* Page = D->ActivePage();
    for (int I = 0; I < 2; ++I) {
      Edits[I] = NewObject<TEditCoordEx>(Page);
      Edits[I]->SetBounds(40, 90 + I * 40, 120, 21);
      Edits[I]->SetParent(Page);
      Edits[I]->SetValue(50000000);
      Edits[I]->SetHyperlink(true);
    }
    Edits[0]->SetFocus();
  });
  TShot EditShot;
  Steps.push_back([&EditShot](TForm_BoardWizard* D) {
    uitest::Pump(20);
    EditShot = TakeShot(D->Handle(), PicturesFolder() + "test-only-coordinate-edits.png");
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_TRUE(EditShot.Saved);
  ASSERT_EQ(ChoiceShots.size(), 2u);
  for (const TShot& Shot : ChoiceShots) EXPECT_TRUE(Shot.Saved);

  ASSERT_EQ(Shots.size(), 14u);
  for (const auto& [Tag, Shot] : Shots) {
    SCOPED_TRACE(Tag);
    EXPECT_TRUE(Shot.Saved);
    ASSERT_GT(Shot.Width, 497);
    ASSERT_GT(Shot.Height, 361);
  }
}

// The kit frame's system menu over the dialog, opened by a right click on the caption:
// only Close, as the dialog's border icons allow. Taken from a step inside the menu's
// own loop, once the menu is open.
TShot MenuShot;
int MenuWindows = 0;
std::vector<AnsiString> MenuCaptions;
HWND MenuDialog = nullptr;
void ShootSystemMenu() {
  MenuWindows = PopupWindowCount();
  TKsPopupWindow* Popup = PopupWindows(0);
  uitest::Pump(20);
  for (int I = 0; I < Popup->Item()->Count(); ++I) MenuCaptions.push_back(Popup->Item()->Items(I)->Caption());
  MenuShot = TakeShot(MenuDialog, PicturesFolder() + "system-menu.png");
  PostMessageA(Popup->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(ScreenshotTest, TheSystemMenuIsSavedOverTheDialog) {
  ForceDirectories(PicturesFolder());
  MenuWindows = 0;
  MenuCaptions.clear();
  Run({[](TForm_BoardWizard* D) {
         MenuDialog = D->Handle();
         RECT Window;
         GetWindowRect(D->Handle(), &Window);
         const LPARAM Caption = MAKELPARAM(Window.left + 60, Window.top + 8);
         kittest::StartSteps(
             {kittest::When([] { return PopupWindowCount() > 0 && PopupWindows(0)->View()->Tracking(); },
                            ShootSystemMenu)});
         SendMessageA(D->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, Caption);
         SendMessageA(D->Handle(), WM_NCRBUTTONUP, HTCAPTION, Caption);
       },
       [](TForm_BoardWizard* D) { Click(D->btnCancel); }});
  kittest::Steps.clear();
  EXPECT_EQ(MenuWindows, 1);
  EXPECT_EQ(MenuCaptions, std::vector<AnsiString>{"&Close"});
  EXPECT_TRUE(MenuShot.Saved);
  EXPECT_EQ(PopupWindowCount(), 0);
}

// The pages of the board's shape again, with answers that fill their previews: two arc
// sides, four notches, and a cut-out clear of them.
TEST_F(ScreenshotTest, TheShapePagesAreSavedWithTheirPreviewsFilled) {
  ForceDirectories(PicturesFolder());
  std::vector<TShot> Shots;
  std::vector<TStep> Steps;
  // The page shown, saved as "<Tag>-<class>-<Suffix>.png".
  const auto Shoot = [&Shots](const char* Suffix) {
    return [&Shots, Suffix](TForm_BoardWizard* D) {
      D->Repaint();
      uitest::Pump(20);
      TfraBasic* Page = D->ActivePage();
      Shots.push_back(TakeShot(D->Handle(), PicturesFolder() + std::to_string(Page->Tag()) +
                                                "-" + Page->ClassName() + "-" + Suffix + ".png"));
    };
  };
  Steps.push_back([](TForm_BoardWizard* D) {
    TBoardInfoFromUser* Info = D->BoardInfo;
    Info->OutlineShape = osCustom;
    Info->ArcSide[bsTop] = Info->ArcSide[bsRight] = true;
    Info->ArcHeight[bsTop] = MilToCoord(600);
    Info->ArcHeight[bsRight] = MilToCoord(400);
    D->ShowPage(4);
  });
  Steps.push_back(Shoot("filled"));
  Steps.push_back([](TForm_BoardWizard* D) {
    TBoardInfoFromUser* Info = D->BoardInfo;
    Info->OutlineShape = osRectangular;
    Info->CornerCutoff = Info->InnerCutoff = true;
    Info->CornerCut[bcUpperLeft] = MakePoint(MilToCoord(800), MilToCoord(600));
    Info->CornerCut[bcLowerLeft] = MakePoint(MilToCoord(500), MilToCoord(500));
    Info->CornerCut[bcUpperRight] = MakePoint(MilToCoord(600), MilToCoord(900));
    Info->CornerCut[bcLowerRight] = MakePoint(MilToCoord(1000), MilToCoord(400));
    Info->InnerCutOffset = MakePoint(MilToCoord(1500), MilToCoord(1200));
    Info->InnerCutSize = MakePoint(MilToCoord(1800), MilToCoord(1400));
    D->ShowPage(5);
  });
  Steps.push_back(Shoot("filled"));
  Steps.push_back([](TForm_BoardWizard* D) { D->ShowPage(6); });
  Steps.push_back(Shoot("filled"));
  // A cut-out into a notch, with the error mark at the moment it shows.
  bool MarkShown = false;
  Steps.push_back([&MarkShown](TForm_BoardWizard* D) {
    TfraInnerCut* Page = D->fraInnerCut;
    Page->edtXDistance->SetValue(MilToCoord(300));
    Page->edtYDistance->SetValue(MilToCoord(300));
    Page->tmrError->OnTimer(Page->tmrError);
    MarkShown = Page->imgError->Visible() && !D->btnNext->Enabled();
  });
  Steps.push_back(Shoot("error"));
  Steps.push_back([](TForm_BoardWizard* D) { Click(D->btnCancel); });
  Run(Steps);
  EXPECT_TRUE(MarkShown);
  ASSERT_EQ(Shots.size(), 4u);
  for (const TShot& Shot : Shots) EXPECT_TRUE(Shot.Saved);
}

}  // namespace
}  // namespace wiztest
