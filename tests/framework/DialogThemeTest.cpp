// The dialogs' theming: the theme engine and themed frame found or made at Loaded,
// the client size kept, and controls inserted later themed too.
#include <gtest/gtest.h>

#include "classlib/Classes_Streaming.h"
#include "classlib/StdCtrls.h"
#include "skin/KsThemeButtons.h"
#include "skin/KsThemeCheckBoxs.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "skin/KsThemeGroupBoxs.h"
#include "skin/KsThemeXP.h"
#include "skin/XPEdits2.h"
#include "tests/framework/DialogTestSupport.h"

namespace {

using dlgtest::DialogTest;

class TThemedDialog : public TServerDialog {
  TCLASS_DECL(TThemedDialog, TServerDialog)
 public:
  explicit TThemedDialog(TComponent* AOwner) : TServerDialog(AOwner, CreateNew) {}
  void Loaded() override {
    TServerDialog::Loaded();
    PainterAtLoaded = ThemeEngine()->Theme();
  }
  TTeTheme* PainterAtLoaded = nullptr;  // the painter the dialog's Loaded left
};
TCLASS_IMPL(TThemedDialog)

const char* const WithTheme = R"(form ThemedDialog: TThemedDialog
  BorderStyle = bsDialog
  ClientWidth = 497
  ClientHeight = 361
  component Engine1: TTeThemeEngine
    UseNativeXPTheme = True
  end
  component Frame1: TTeThemeForm
    Active = True
    BorderIcons = [kbiClose]
    CanMove = False
    CanResize = False
    ThemeEngine = Engine1
  end
  component Engine2: TTeThemeEngine
  end
  component lblHint: TLabel
    Caption = "hint"
    Font.Color = clGrayText
  end
  component btnOk: TTeThemeButton
    Caption = "OK"
  end
end
)";

const char* const WithCheckBoxes = R"(form ThemedDialog: TThemedDialog
  BorderStyle = bsDialog
  ClientWidth = 300
  ClientHeight = 200
  component chkGrey: TTeThemeCheckBox
    Caption = "grey"
    Height = 30
    Font.Color = clGrayText
  end
  component chkPlain: TTeThemeCheckBox
    Caption = "plain"
  end
end
)";

const char* const WithoutTheme = R"(form ThemedDialog: TThemedDialog
  BorderStyle = %s
  ClientWidth = 300
  ClientHeight = 200
end
)";

class DialogThemeTest : public DialogTest {
 protected:
  TThemedDialog* Read(const AnsiString& Text) {
    TThemedDialog* Dialog = Keep(NewObject<TThemedDialog>(nullptr));
    ReadComponentText(Dialog, Text, "ThemedDialog");
    return Dialog;
  }
  static AnsiString Without(const char* BorderStyle) {
    char Text[512];
    snprintf(Text, sizeof(Text), WithoutTheme, BorderStyle);
    return Text;
  }
};

TEST_F(DialogThemeTest, ThemeComponentsOfTheFormFileAreKeptAndSetUp) {
  TThemedDialog* Dialog = Read(WithTheme);
  auto* Engine = ObjectAs<TTeThemeEngine>(Dialog->FindComponent("Engine1"));
  auto* Frame = ObjectAs<TTeThemeForm>(Dialog->FindComponent("Frame1"));
  EXPECT_EQ(Dialog->ThemeEngine(), Engine) << "the lowest index wins";
  EXPECT_EQ(Dialog->ThemeForm(), Frame);
  EXPECT_EQ(Dialog->ComponentCount(), 5) << "nothing made";
  EXPECT_TRUE(Frame->CanMove()) << "the file's False is overruled";
  EXPECT_FALSE(Frame->CanResize()) << "left as the file has it";
  EXPECT_EQ(Frame->BorderIcons(), (TKsBorderIcons{kbiClose, kbiHelp}));
  EXPECT_EQ(Frame->ThemeEngine(), Engine);
  EXPECT_TRUE(Frame->Magnetic());
  EXPECT_EQ(Frame->SysMenuShowAnimationTime(), 300);
  ASSERT_NE(Engine->Theme(), nullptr);
  EXPECT_EQ(Engine->Theme()->ThemeClass(), &TTeThemeXP::StaticClass());
  EXPECT_TRUE(Engine->UseNativeXPTheme());
  // Every control with a "ThemeEngine" property has the dialog's engine.
  EXPECT_EQ(ObjectAs<TTeThemeButton>(Dialog->FindComponent("btnOk"))->ThemeEngine(), Engine);
  auto* Label = ObjectAs<TLabel>(Dialog->FindComponent("lblHint"));
  EXPECT_EQ(Label->Font()->Color(), cl3DDkShadow);
  EXPECT_EQ(Label->Font()->Name(), "Arial");
}

// The dialog tells its engine that loading is done; the form reader does not tell it
// again, which would build the painter anew and refresh the dialog's frame for nothing.
TEST_F(DialogThemeTest, TheEngineOfTheFormFileKeepsThePainterTheDialogsLoadedInstalled) {
  TThemedDialog* Dialog = Read(WithTheme);
  ASSERT_NE(Dialog->PainterAtLoaded, nullptr);
  EXPECT_EQ(Dialog->ThemeEngine()->Theme(), Dialog->PainterAtLoaded);
}

TEST_F(DialogThemeTest, TheDialogKeepsItsClientSizeUnderTheThemedFrame) {
  TThemedDialog* Dialog = Read(WithTheme);
  Dialog->Show();
  uitest::Pump();
  RECT Client;
  GetClientRect(Dialog->Handle(), &Client);
  EXPECT_EQ(Client.right, 497);
  EXPECT_EQ(Client.bottom, 361);
  EXPECT_EQ(Dialog->ClientWidth(), 497);
  EXPECT_EQ(Dialog->ClientHeight(), 361);
}

TEST_F(DialogThemeTest, ADialogWithoutThemeComponentsGetsBothOwnedByIt) {
  TThemedDialog* Fixed = Read(Without("bsDialog"));
  ASSERT_NE(Fixed->ThemeEngine(), nullptr);
  ASSERT_NE(Fixed->ThemeForm(), nullptr);
  EXPECT_EQ(Fixed->ThemeEngine()->Owner(), Fixed);
  EXPECT_EQ(Fixed->ThemeForm()->Owner(), Fixed);
  EXPECT_FALSE(Fixed->ThemeForm()->CanResize());
  EXPECT_TRUE(Fixed->ThemeForm()->CanMove());
  EXPECT_EQ(Fixed->ThemeForm()->ThemeEngine(), Fixed->ThemeEngine());
  EXPECT_EQ(Fixed->ClientWidth(), 300);
  EXPECT_EQ(Fixed->ClientHeight(), 200);

  TThemedDialog* Sizeable = Read(Without("bsSizeable"));
  EXPECT_TRUE(Sizeable->ThemeForm()->CanResize());
}

TEST_F(DialogThemeTest, AFrameInsertedLaterTakesColourElevenAndItsControlsTheEngine) {
  TThemedDialog* Dialog = Read(Without("bsDialog"));
  Dialog->Show();
  uitest::Pump();
  TFrame* Frame = NewObject<TFrame>(Dialog);
  Frame->SetColor(clRed);
  auto* Button = NewObject<TTeThemeButton>(Frame);
  Button->SetParent(Frame);
  EXPECT_EQ(Button->ThemeEngine(), nullptr) << "not below the dialog yet";
  Frame->SetParent(Dialog);
  EXPECT_EQ(Frame->Color(), Dialog->ThemeEngine()->Theme()->GetColor(11));
  EXPECT_EQ(Button->ThemeEngine(), Dialog->ThemeEngine());

  // A control added to the frame afterwards is themed as it goes in.
  auto* Second = NewObject<TTeThemeButton>(Frame);
  Second->SetParent(Frame);
  EXPECT_EQ(Second->ThemeEngine(), Dialog->ThemeEngine());

  // A control the dialog comes to own is themed when it is made, before it has a parent.
  auto* Owned = NewObject<TTeThemeButton>(Dialog);
  EXPECT_EQ(Owned->ThemeEngine(), Dialog->ThemeEngine());
}

TEST_F(DialogThemeTest, ThemingTwiceIsThemingOnce) {
  TThemedDialog* Dialog = Read(WithTheme);
  const AnsiString Once = WriteComponentText(Dialog);
  Dialog->ApplyDialogTheme(Dialog);
  EXPECT_EQ(WriteComponentText(Dialog), Once);
  auto* Label = ObjectAs<TLabel>(Dialog->FindComponent("lblHint"));
  EXPECT_EQ(Label->Font()->Color(), cl3DDkShadow);
}

TEST_F(DialogThemeTest, AThemedCheckBoxGetsHeight19AndGreyTextTurnsDarkShadowInArial) {
  TThemedDialog* Dialog = Read(WithCheckBoxes);
  auto* Grey = ObjectAs<TTeThemeCheckBox>(Dialog->FindComponent("chkGrey"));
  auto* Plain = ObjectAs<TTeThemeCheckBox>(Dialog->FindComponent("chkPlain"));
  ASSERT_NE(Grey, nullptr);
  ASSERT_NE(Plain, nullptr);
  EXPECT_EQ(Grey->Height(), 19);
  EXPECT_EQ(Plain->Height(), 19);
  EXPECT_EQ(Grey->ThemeEngine(), Dialog->ThemeEngine());
  EXPECT_EQ(Grey->Font()->Color(), cl3DDkShadow);
  EXPECT_EQ(Grey->Font()->Name(), "Arial");
  EXPECT_NE(Plain->Font()->Name(), "Arial");
  // One inserted later is themed the same way.
  auto* Late = NewObject<TTeThemeCheckBox>(Dialog);
  Late->SetParent(Dialog);
  EXPECT_EQ(Late->Height(), 19);
}

TEST_F(DialogThemeTest, AnEditInAThemedGroupBoxTakesWindowColoursAndOneOutsideWritesBlue) {
  TThemedDialog* Dialog = Read(WithCheckBoxes);
  auto* Group = NewObject<TTeThemeGroupBox>(Dialog);
  Group->SetParent(Dialog);
  auto* Inside = NewObject<TCustomXPEdit>(Dialog);
  Inside->SetParent(Group);
  auto* Outside = NewObject<TCustomXPEdit>(Dialog);
  Outside->SetParent(Dialog);

  EXPECT_EQ(Inside->Font()->Color(), clWindowText);
  EXPECT_EQ(Inside->Colors()->FrameColor(), clBtnShadow);
  EXPECT_EQ(Inside->Colors()->Color(), clWindow);
  EXPECT_EQ(Inside->Color(), clWindow);
  EXPECT_FALSE(Inside->Transparent());

  EXPECT_EQ(Outside->Font()->Color(), static_cast<TColor>(0xFF0000));
  EXPECT_TRUE(Outside->Transparent());
  EXPECT_EQ(Outside->Colors()->FrameColor(), static_cast<TColor>(RGB(127, 157, 185)));
}

}  // namespace
