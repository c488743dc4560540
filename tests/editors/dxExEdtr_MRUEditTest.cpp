// The most-recently-used editor: the items that validation keeps in order of use, its
// second button and Ctrl+Enter.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "editors/dxExEdtr_MRUEdit.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::HeldKeys;
using uitest::Pump;

class TOutsideMRUEdit : public TdxInplaceMRUEdit {
  TCLASS_DECL(TOutsideMRUEdit, TdxInplaceMRUEdit)
 public:
  using TdxInplaceMRUEdit::TdxInplaceMRUEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsideMRUEdit)

class MRUEditTest : public EditTest {
 protected:
  TOutsideMRUEdit* ShownEdit(std::initializer_list<const char*> Items) {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<TOutsideMRUEdit>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 24);
    for (const char* Item : Items) Edit->Items()->Add(Item);
    Pump();
    ::SetFocus(Edit->Handle());
    Pump();
    return Edit;
  }
  // The value entered and validated as a user's change.
  static void Enter(TdxInplaceMRUEdit* Edit, const char* Text) {
    Edit->SetText(Text);
    Edit->SetModified(true);
    Edit->Validate();
  }
  static std::string ItemsOf(TdxInplaceMRUEdit* Edit) {
    std::string Result;
    for (int I = 0; I < Edit->Items()->Count(); ++I) Result += (I ? "," : "") + Edit->Items()->Strings(I);
    return Result;
  }
  static int ViewButtons(TdxInplaceMRUEdit* Edit, TdxEditButtonDrawData* Buttons) {
    TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
    auto* DropDown = dynamic_cast<TdxDropDownEditViewData*>(Data.get());
    for (int I = 0; I < DropDown->ButtonCount; ++I) Buttons[I] = DropDown->Buttons[I];
    return DropDown->ButtonCount;
  }
};

TEST_F(MRUEditTest, AValidatedValueMovesToTheTopAndTheListIsCutToMaxItemCount) {
  auto* Edit = ShownEdit({"A", "B", "C"});
  EXPECT_FALSE(Edit->ImmediateDropDown());
  Edit->SetMaxItemCount(3);
  Enter(Edit, "D");
  EXPECT_EQ("D,A,B", ItemsOf(Edit));
  Enter(Edit, "B");
  EXPECT_EQ("B,D,A", ItemsOf(Edit));
  Edit->SetMaxItemCount(2);
  EXPECT_EQ("B,D", ItemsOf(Edit));
}

TEST_F(MRUEditTest, ANegativeLimitIsNoLimitAndNothingIsAddedUnmodifiedOrEmpty) {
  auto* Edit = ShownEdit({"A", "B", "C"});
  Edit->SetMaxItemCount(-5);
  EXPECT_EQ(0, Edit->MaxItemCount());
  for (char C = 'D'; C <= 'M'; ++C) Enter(Edit, std::string(1, C).c_str());
  EXPECT_EQ(13, Edit->Items()->Count());
  Edit->SetText("Z");
  Edit->SetModified(false);
  Edit->Validate();
  Enter(Edit, "");
  EXPECT_EQ(13, Edit->Items()->Count());
  EXPECT_EQ("M", Edit->Items()->Strings(0));
}

// A sorted list could take neither the insert at the top nor the move.
TEST_F(MRUEditTest, ASortedEditorValidatesAndKeepsTheOrderOfUse) {
  auto* Edit = ShownEdit({"C", "A", "B"});
  Edit->SetItemsSorted(true);
  EXPECT_TRUE(Edit->ItemsSorted());
  EXPECT_NO_THROW(Enter(Edit, "D"));
  EXPECT_NO_THROW(Enter(Edit, "A"));
  EXPECT_EQ("A,D,C,B", ItemsOf(Edit));
}

TEST_F(MRUEditTest, TheSecondButtonIsAnEllipsisOrTakesTheCustomGlyph) {
  auto* Edit = ShownEdit({});
  TdxEditButtonDrawData Buttons[dxMaxEditButtonCount];
  ASSERT_EQ(2, ViewButtons(Edit, Buttons));
  EXPECT_EQ(bkDown, Buttons[0].Kind);
  EXPECT_EQ(bkEllipsis, Buttons[1].Kind);
  EXPECT_EQ(1, Buttons[1].Index);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), Buttons[1].Width);

  TOwned<TBitmap> Glyph(NewObject<TBitmap>(9, 7));
  Edit->SetButtonGlyph(Glyph.get());
  ASSERT_EQ(2, ViewButtons(Edit, Buttons));
  EXPECT_EQ(bkDown, Buttons[0].Kind);
  EXPECT_EQ(nullptr, Buttons[0].Glyph);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), Buttons[0].Width);
  EXPECT_EQ(bkGlyph, Buttons[1].Kind);
  EXPECT_NE(nullptr, Buttons[1].Glyph);

  Edit->SetShowEllipsis(false);
  EXPECT_EQ(1, ViewButtons(Edit, Buttons));
  EXPECT_EQ(bkGlyph, Buttons[0].Kind);
}

TEST_F(MRUEditTest, CtrlEnterAndTheSecondButtonFireTheButtonClickWithoutDroppingDown) {
  auto* Edit = ShownEdit({"A"});
  uitest::TChangeCounter Clicks;
  Edit->OnButtonClick = Clicks.Event();
  HeldKeys = {VK_CONTROL};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(1, Clicks.Count);
  EXPECT_EQ(Edit, Clicks.Sender);
  Edit->SetShowEllipsis(false);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(1, Clicks.Count);
  HeldKeys.clear();

  Edit->SetShowEllipsis(true);
  Edit->ButtonDown(false, 1);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  Edit->ButtonClick(1);
  EXPECT_EQ(2, Clicks.Count);
  Edit->ReleasePressedButton();
  Edit->ButtonDown(false, 0);
  Pump();
  EXPECT_TRUE(Edit->DroppedDown());
}

// In a grid Enter with any shift goes to the host: Ctrl+Enter is the editor's own
// before that, and the host hears nothing of it.
TEST_F(MRUEditTest, InAGridCtrlEnterClicksTheButtonAndTheHostGetsNoKey) {
  edittest::TTestContainer* Host = ShownContainer();
  auto* Edit = HostedEdit<TdxInplaceMRUEdit>(Host);
  Edit->ShowAt(Rect(5, 5, 150, 25));
  Pump();
  uitest::TChangeCounter Clicks;
  Edit->OnButtonClick = Clicks.Event();
  HeldKeys = {VK_CONTROL};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(1, Clicks.Count);
  EXPECT_TRUE(Host->HostKeys.empty());
  // Without the second button the key is the host's, as plain Enter is.
  Edit->SetShowEllipsis(false);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  HeldKeys.clear();
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(1, Clicks.Count);
  EXPECT_EQ((std::vector<Word>{VK_RETURN, VK_RETURN}), Host->HostKeys);
}

}  // namespace
