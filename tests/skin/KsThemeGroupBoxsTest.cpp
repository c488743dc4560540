// The themed group box and radio group on real windows: the painter's group box, the
// radio group's buttons made from Items and laid out in columns, ItemIndex and Columns
// clamped, clicks, and a form file whose ItemIndex lies past its items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ThemeTestPainter.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/StdCtrls.h"
#include "skin/KsThemeGroupBoxs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;
using namespace themetest;

namespace {

class GroupBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(420, 300);
  }
  TTeThemeRadioGroup* AddGroup(int Count) {
    auto* G = NewObject<TTeThemeRadioGroup>(Form);
    G->SetName("rgTest");
    G->SetParent(Form);
    G->SetBounds(10, 10, 310, 200);
    G->OnClick = Recorder.Event();
    for (int I = 0; I < Count; ++I) G->Items()->Add("Item " + std::to_string(I));
    return G;
  }
  static void Mouse(TWinControl* Control, UINT Msg, int X, int Y) {
    SendMessageA(Control->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
  }

  TForm* Form = nullptr;
  std::vector<std::string> Clicks;
  TNotifyHandler Recorder{[this](TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }};
};

// ---------------------------------------------------------------------------------
// Themed group box

TEST_F(GroupBoxTest, AThemedGroupBoxDrawsThroughThePainterAndSurvivesItsEngine) {
  TThemeRegistryScope Scope;
  auto* Engine = NewObject<TTeThemeEngine>(nullptr);
  Engine->SetTheme(NewObject<TRecordingPainter>());
  auto* G = NewObject<TTeThemeGroupBox>(Form);
  G->SetParent(Form);
  G->SetCaption("Box");
  G->SetThemeEngine(Engine);
  TRecordingPainter::Log.clear();
  G->Invalidate();
  G->UpdateBuffer();
  EXPECT_EQ(TRecordingPainter::Log.back(), TTeThemeSlot::DrawGroupBox);
  FreeObject(Engine);
  EXPECT_EQ(G->ThemeEngine(), nullptr);
  TRecordingPainter::Log.clear();
  G->Invalidate();
  G->UpdateBuffer();
  EXPECT_TRUE(TRecordingPainter::Log.empty());
}

// ---------------------------------------------------------------------------------
// Radio group

TEST_F(GroupBoxTest, ColumnsAndItemIndexAreClamped) {
  auto* G = AddGroup(3);
  G->SetColumns(0);
  EXPECT_EQ(G->Columns(), 1);
  G->SetColumns(17);
  EXPECT_EQ(G->Columns(), 16);
  G->SetItemIndex(5);
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_TRUE(G->Buttons(2)->Checked());
  G->SetItemIndex(-7);
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_FALSE(G->Buttons(2)->Checked());
  // Deleting items past the index moves it to the last one left.
  G->SetItemIndex(2);
  G->Items()->Delete(2);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(G->ButtonCount(), 2);
  G->Items()->Clear();
  EXPECT_EQ(G->ItemIndex(), -1);
  EXPECT_EQ(G->ButtonCount(), 0);
}

TEST_F(GroupBoxTest, SevenItemsInThreeColumnsSitThreeThreeAndOne) {
  auto* G = AddGroup(7);
  G->SetColumns(3);
  Pump();
  std::vector<int> Lefts, Tops;
  for (int I = 0; I < 7; ++I) {
    Lefts.push_back(G->Buttons(I)->Left());
    Tops.push_back(G->Buttons(I)->Top());
    EXPECT_TRUE(G->Buttons(I)->Visible());
  }
  const int Width = (310 - 10) / 3;
  EXPECT_EQ(Lefts, (std::vector<int>{8, 8, 8, 8 + Width, 8 + Width, 8 + Width, 8 + 2 * Width}));
  EXPECT_EQ(Tops[0], Tops[3]);
  EXPECT_EQ(Tops[0], Tops[6]);
  EXPECT_LT(Tops[0], Tops[1]);
  EXPECT_LT(Tops[1], Tops[2]);
  EXPECT_EQ(G->Buttons(0)->Width(), Width);
}

TEST_F(GroupBoxTest, AMouseCheckRaisesTheGroupsClickOnceAndUpdatesItemIndex) {
  auto* G = AddGroup(3);
  Pump();
  auto* B = G->Buttons(1);
  Mouse(B, WM_LBUTTONDOWN, 5, 5);
  Mouse(B, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(G->ItemIndex(), 1);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"rgTest"}));
  // Re-checking the current item as the group updates its buttons raises nothing.
  G->Items()->Add("More");
  EXPECT_EQ(Clicks.size(), 1u);
  // A programmatic change clicks too.
  G->SetItemIndex(0);
  EXPECT_EQ(Clicks.size(), 2u);
  EXPECT_FALSE(B->Checked());
}

TEST_F(GroupBoxTest, WithoutItemTabStopNoButtonIsATabStopAlsoForNewOnes) {
  auto* G = AddGroup(2);
  G->SetItemIndex(0);
  EXPECT_TRUE(G->Buttons(0)->TabStop());
  G->SetItemTabStop(false);
  EXPECT_FALSE(G->Buttons(0)->TabStop());
  G->Items()->Add("Late");
  G->SetItemIndex(2);
  for (int I = 0; I < G->ButtonCount(); ++I) EXPECT_FALSE(G->Buttons(I)->TabStop()) << I;
}

TEST_F(GroupBoxTest, AFormFileWithItemIndexPastItsItemsLoadsAndButtonsAreNotStreamed) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmGroup: TForm\n"
                    "  component rgRead: TTeThemeRadioGroup\n"
                    "    Left = 8\n"
                    "    Top = 8\n"
                    "    Width = 200\n"
                    "    Height = 120\n"
                    "    ItemIndex = 9\n"
                    "    Items = lines\n"
                    "      \"One\"\n"
                    "      \"Two\"\n"
                    "      \"Three\"\n"
                    "    end\n"
                    "  end\n"
                    "end\n",
                    "group");
  auto* G = ObjectAs<TTeThemeRadioGroup>(Root->FindComponent("rgRead"));
  ASSERT_NE(G, nullptr);
  EXPECT_EQ(G->ButtonCount(), 3);
  EXPECT_EQ(G->ItemIndex(), 2);
  EXPECT_TRUE(G->Buttons(2)->Checked());
  const AnsiString Text = WriteComponentText(Root.get());
  EXPECT_EQ(Text.find("TTeThemeGroupButton"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("ItemIndex = 2"), AnsiString::npos) << Text;
}

TEST_F(GroupBoxTest, AControlPutOnARadioGroupComesBackFromItsFormFileWithoutTheButtons) {
  Form->SetName("frmGroup");
  TTeThemeRadioGroup* G = AddGroup(3);
  auto* Box = NewObject<TCheckBox>(Form);
  Box->SetName("chkOnGroup");
  Box->SetParent(G);
  const AnsiString Text = WriteComponentText(Form);
  EXPECT_NE(Text.find("component chkOnGroup: TCheckBox"), AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("TTeThemeGroupButton"), AnsiString::npos) << Text;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Again = ObjectAs<TTeThemeRadioGroup>(Copy->FindComponent("rgTest"));
  ASSERT_NE(Again, nullptr);
  auto* BoxAgain = ObjectAs<TCheckBox>(Copy->FindComponent("chkOnGroup"));
  ASSERT_NE(BoxAgain, nullptr);
  EXPECT_EQ(BoxAgain->Parent(), Again);
  EXPECT_EQ(Again->ButtonCount(), 3);
  EXPECT_EQ(Again->ControlCount(), 4);
}

}  // namespace
