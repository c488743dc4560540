// The wizard dialog as its form files lay it out: the window, the buttons, the pages'
// panel, and every page in it with its Tag, class and header.
#include "tests/wizard/WizardFixture.h"

#include "framework/Rt_forms.h"
#include "skin/KsUtils.h"
#include "wizard/fComplete.h"
#include "wizard/fMUnits.h"
#include "wizard/fIntPage.h"
#include "wizard/fWelcome.h"

namespace wiztest {
namespace {

using DialogLayoutTest = WizardTest;

TEST_F(DialogLayoutTest, TheWindowAndItsButtons) {
  Run({[this](TForm_BoardWizard* D) {
    EXPECT_EQ(D->Name(), "BoardWizardForm");
    EXPECT_EQ(D->Caption(), "PCB Board Wizard");
    EXPECT_EQ(D->ClientWidth(), 497);
    EXPECT_EQ(D->ClientHeight(), 361);
    EXPECT_EQ(D->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(D->Font()->Height(), -11);
    // The kit's frame gives the close and help buttons; the system's frame none.
    const LONG Style = GetWindowLongA(D->Handle(), GWL_STYLE);
    const LONG ExStyle = GetWindowLongA(D->Handle(), GWL_EXSTYLE);
    EXPECT_FALSE(Style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ExStyle & WS_EX_CONTEXTHELP) << "the kit's help button enters context help through it";
    EXPECT_EQ(GetWindow(D->Handle(), GW_OWNER), Host->MainWindow());
    TTeThemeForm* Frame = D->TeThemeForm1;
    ASSERT_NE(Frame, nullptr);
    EXPECT_TRUE(Frame->Active());
    EXPECT_EQ(Frame->ThemeEngine(), D->TeThemeEngine1);
    EXPECT_EQ(Frame->BorderIcons(), (TKsBorderIcons{kbiClose, kbiHelp}));
    EXPECT_EQ(Frame->BorderStyle(), kbsStandard);
    RECT Window;
    GetWindowRect(D->Handle(), &Window);
    // What the frame's buttons answer where the mouse is over them; the edges do not
    // size the dialog.
    auto HitAt = [&](int X, int Y) {
      return SendMessageA(D->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Window.left + X, Window.top + Y));
    };
    auto HitAtButton = [&](int Kind) {
      TRect R;
      Frame->GetButtonRect(Kind, R);
      EXPECT_FALSE(IsEmptyRect(R)) << Kind;
      return HitAt((R.left + R.right) / 2, (R.top + R.bottom) / 2);
    };
    EXPECT_EQ(HitAtButton(kbiClose), HTCLOSE);
    EXPECT_EQ(HitAtButton(kbiHelp), HTHELP);
    for (int Kind : {kbiMinimize, kbiMaximize, kbiRollup, kbiTray}) {
      TRect R;
      Frame->GetButtonRect(Kind, R);
      EXPECT_TRUE(IsEmptyRect(R)) << Kind;
    }
    EXPECT_EQ(HitAt(1, (Window.bottom - Window.top) / 2), HTCLIENT);

    EXPECT_EQ(D->Panel_Top->BoundsRect(), Bounds(0, 0, 497, 312));
    EXPECT_EQ(D->pnlButtons->BoundsRect(), Bounds(0, 312, 497, 49));
    struct {
      TTeThemeButton* Button;
      int Left;
      const char* Caption;
    } Buttons[] = {{D->btnFinish, 184, "Finish"},
                   {D->btnBack, 263, "< Back"},
                   {D->btnNext, 336, "Next >"},
                   {D->btnCancel, 416, "Cancel"}};
    for (const auto& B : Buttons) {
      EXPECT_EQ(B.Button->Parent(), D->pnlButtons);
      EXPECT_EQ(B.Button->BoundsRect(), Bounds(B.Left, 16, 73, 25)) << B.Caption;
      EXPECT_EQ(B.Button->Caption(), B.Caption);
      EXPECT_EQ(B.Button->ThemeEngine(), D->TeThemeEngine1);
    }
    EXPECT_EQ(D->btnCancel->ModalResult(), mrCancel);
    Click(D->btnCancel);
  }});
}

TEST_F(DialogLayoutTest, EveryPageFillsThePanelWithItsTagClassAndHeader) {
  struct TExpected {
    int Tag;
    const char* Class;
    const char* Title;
  };
  const TExpected Expected[] = {
      {10, "TfraWelcome", nullptr},
      {20, "TfraMUnits", "Measure Units"},
      {30, "TfraProfiles", "Board Profile"},
      {40, "TfraDetails", "Custom Board Details"},
      {50, "TfraOutline", "Custom Board Outline"},
      {60, "TfraCornerCut", "Corner Cutoff"},
      {70, "TfraInnerCut", "Inner Cutoff"},
      {80, "TfraTitleBlk", "Title Block Info"},
      {90, "TfraLayers", "Layers"},
      {100, "TfraLayerStack", "Custom Layer Stack"},
      {110, "TfraViaStyle", "Via Style"},
      {120, "TfraManufact", "Component/Track technology"},
      {130, "TfraTrackVia", "Track/Via attributes"},
      {150, "TfraComplete", nullptr},
  };
  Run({[&](TForm_BoardWizard* D) {
    ASSERT_EQ(D->PageCount(), 14);
    for (int I = 0; I < D->PageCount(); ++I) {
      TfraBasic* Page = D->Page(I);
      SCOPED_TRACE(Page->ClassName());
      EXPECT_EQ(Page->Tag(), Expected[I].Tag);
      EXPECT_EQ(Page->ClassName(), Expected[I].Class);
      EXPECT_EQ(Page->Name(), AnsiString(Expected[I].Class).substr(1));
      EXPECT_EQ(Page->Owner(), D->Panel_Top);
      EXPECT_EQ(Page->Parent(), D->Panel_Top);
      EXPECT_EQ(Page->BoundsRect(), Bounds(0, 0, 497, 312));
      EXPECT_EQ(Page->Visible(), I == 0);
      if (auto* Interior = ObjectAs<TfraIntPage>(Page)) {
        ASSERT_NE(Expected[I].Title, nullptr);
        EXPECT_EQ(Interior->lblHeaderTitle->Caption(), Expected[I].Title);
        EXPECT_EQ(Interior->Image2->Picture()->Width(), 48);
      } else {
        auto* Exterior = ObjectAs<TfraExtPage>(Page);
        ASSERT_NE(Exterior, nullptr);
        EXPECT_EQ(Exterior->Image1->Picture()->Width(), 164);
        EXPECT_EQ(Exterior->Image1->Picture()->Height(), 312);
      }
    }
    EXPECT_EQ(D->fraWelcome->Label1->Caption(), "Welcome To PCB Board Wizard");
    EXPECT_EQ(D->fraComplete->Label1->Caption(), "Completing The PCB Board Wizard");
    EXPECT_EQ(D->fraComplete->chxOpenTemplate->Caption(), "&Open This Template for Editing");
    Click(D->btnCancel);
  }});
}

TEST_F(DialogLayoutTest, TheFramesCloseButtonCancelsTheWizard) {
  Run({[](TForm_BoardWizard* D) {
    TRect R;
    D->TeThemeForm1->GetButtonRect(kbiClose, R);
    RECT Window;
    GetWindowRect(D->Handle(), &Window);
    const LPARAM At = MAKELPARAM(Window.left + (R.left + R.right) / 2, Window.top + (R.top + R.bottom) / 2);
    SendMessageA(D->Handle(), WM_NCLBUTTONDOWN, HTCLOSE, At);
    SendMessageA(D->Handle(), WM_NCLBUTTONUP, HTCLOSE, At);
    EXPECT_EQ(D->ModalResult(), mrCancel);
  }});
}

struct THelpCall {
  std::string File;
  UINT Command;
  ULONG_PTR Data;
};
std::vector<THelpCall> HelpCalls;
BOOL RecordHelp(HWND, const char* File, UINT Command, ULONG_PTR Data) {
  HelpCalls.push_back({File ? File : "", Command, Data});
  return TRUE;
}

TEST_F(DialogLayoutTest, F1OnAPageOpensThePagesTopicOfTheModulesHelp) {
  const TWinHelpProc SavedHelp = WinHelpProc;
  WinHelpProc = RecordHelp;
  HelpCalls.clear();
  HelpLocation = {WizardHostRoot() + "Help\\", "Tarvik.dll"};
  Run({[](TForm_BoardWizard* D) { Click(D->btnNext); },
       [](TForm_BoardWizard* D) { D->fraMUnits->rbnMetric->SetFocus(); },
       [](TForm_BoardWizard*) { PressKey(VK_F1); },
       [](TForm_BoardWizard* D) { Click(D->btnCancel); }});
  HelpLocation = {};
  WinHelpProc = SavedHelp;
  // The host's help map gives the units page's frame the context 1020.
  ASSERT_EQ(HelpCalls.size(), 1u);
  EXPECT_EQ(ExtractFileName(HelpCalls[0].File), "Tarvik.hlp");
  EXPECT_EQ(HelpCalls[0].Command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(HelpCalls[0].Data, 1020u);
}

}  // namespace
}  // namespace wiztest
