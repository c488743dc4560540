// The button editor on real windows: its collection, clicks by position and by the
// click key, the buttons-only widths, and the buttons a form file keeps.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/ScopeExit.h"
#include "editors/dxExEdtr_ButtonEdit.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using edittest::TTestContainer;
using uitest::Pump;

struct HeldKeysGuard {
  explicit HeldKeysGuard(std::vector<int> Keys) { uitest::HeldKeys = std::move(Keys); }
  ~HeldKeysGuard() { uitest::HeldKeys.clear(); }
};

class ButtonEditTest : public EditTest {
 protected:
  TdxInplaceButtonEdit* ShownEdit() {
    Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceButtonEdit>(Host);
    Edit->Style()->SetButtonStyle(bts3D);
    Edit->OnButtonClick = TdxEditButtonClickEvent::Bind<&ButtonEditTest::NoteClick>(this);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Pump();
    return Edit;
  }
  void NoteClick(TObject* /*Sender*/, int AbsoluteIndex) { Clicks.push_back(AbsoluteIndex); }
  static TOwned<TdxButtonEditViewData> LaidOut(TdxInplaceButtonEdit* Edit, TdxEditDrawInfo& DrawInfo) {
    TOwned<TdxButtonEditViewData> Data(static_cast<TdxButtonEditViewData*>(Edit->CreateViewData(false)));
    Edit->EditClass()->CalcDrawInfo(Data.get(), false, DrawInfo);
    return Data;
  }
  // Presses and releases the button whose window column holds X (window coordinates).
  static void Click(TdxInplaceButtonEdit* Edit, int X) {
    RECT W;
    GetWindowRect(Edit->Handle(), &W);
    LPARAM At = MAKELPARAM(W.left + X, (W.top + W.bottom) / 2);
    LRESULT Code = SendMessageA(Edit->Handle(), WM_NCHITTEST, 0, At);
    SendMessageA(Edit->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(Code), At);
    SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, 0);
    Pump();
  }
  TTestContainer* Host = nullptr;
  std::vector<int> Clicks;
};

TEST_F(ButtonEditTest, StartsWithOneEllipsisButtonThatIsTheDefault) {
  auto* Edit = ShownEdit();
  ASSERT_EQ(1, Edit->Buttons()->Count());
  EXPECT_TRUE(Edit->Buttons()->GetItem(0)->Default());
  EXPECT_EQ(0x400D, Edit->ClickKey());
  TdxEditDrawInfo DrawInfo;
  auto Data = LaidOut(Edit, DrawInfo);
  ASSERT_EQ(1, Data->ButtonCount);
  EXPECT_EQ(bkEllipsis, Data->Buttons[0].Kind);
}

TEST_F(ButtonEditTest, ClickOnTheSecondDrawnButtonReportsItsCollectionIndex) {
  auto* Edit = ShownEdit();
  Edit->Buttons()->Add();
  Edit->Buttons()->Add();
  Edit->Buttons()->GetItem(1)->SetVisible(false);
  Pump();
  TdxEditDrawInfo DrawInfo;
  auto Data = LaidOut(Edit, DrawInfo);
  ASSERT_EQ(2, Data->ButtonCount);
  TRect Rects[dxMaxEditButtonCount];
  TdxInplaceDropDownEdit::GetButtonRects(DrawInfo, Data.get(), Rects);
  Click(Edit, (Rects[1].left + Rects[1].right) / 2);
  Click(Edit, (Rects[0].left + Rects[0].right) / 2);
  EXPECT_EQ((std::vector<int>{2, 0}), Clicks);
  EXPECT_EQ(-1, Edit->PressedButton());
}

TEST_F(ButtonEditTest, NinthButtonRaisesAndLeavesEight) {
  auto* Edit = ShownEdit();
  for (int I = 1; I < 8; ++I) Edit->Buttons()->Add();
  EXPECT_THROW(Edit->Buttons()->Add(), Exception);
  EXPECT_EQ(8, Edit->Buttons()->Count());
}

TEST_F(ButtonEditTest, ClickKeyClicksTheDefaultUnlessReadOnly) {
  auto* Edit = ShownEdit();
  Edit->Buttons()->Add()->SetDefault(true);
  HeldKeysGuard Ctrl({VK_CONTROL});
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(std::vector<int>{1}, Clicks);
  Edit->SetReadOnly(true);
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(1u, Clicks.size()) << "a read-only editor does not click";
}

TEST_F(ButtonEditTest, ButtonsOnlyFillTheEditorUnlessThereAreNone) {
  auto* Edit = ShownEdit();
  Edit->SetViewStyle(bvsButtonsOnly);
  Edit->Buttons()->Add();
  Pump();
  TdxEditDrawInfo DrawInfo;
  auto Data = LaidOut(Edit, DrawInfo);
  ASSERT_TRUE(Data->ButtonsOnly);
  EXPECT_EQ(DrawInfo.ContentRect.left, DrawInfo.ContentRect.right) << "no text";
  TRect Inner = DrawInfo.BorderRect;
  InflateRect(&Inner, -DrawInfo.BorderSize, -DrawInfo.BorderSize);
  EXPECT_EQ(Inner.right - Inner.left, Data->Buttons[0].Width + Data->Buttons[1].Width);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), Data->Buttons[0].Width);
  Edit->Buttons()->Clear();
  auto Empty = LaidOut(Edit, DrawInfo);
  EXPECT_FALSE(Empty->ButtonsOnly);
  EXPECT_LT(DrawInfo.ContentRect.left, DrawInfo.ContentRect.right);
}

TEST_F(ButtonEditTest, FormFileKeepsNoButtonsAsNone) {
  RegisterClass(&TdxInplaceButtonEdit::StaticClass());
  auto Unregister = ScopeExit([] { UnRegisterClass(&TdxInplaceButtonEdit::StaticClass()); });
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("EditForm");
  auto* Empty = NewObject<TdxInplaceButtonEdit>(Form.get());
  Empty->SetName("Empty");
  Empty->SetParent(Form.get());
  Empty->Buttons()->Clear();
  auto* Two = NewObject<TdxInplaceButtonEdit>(Form.get());
  Two->SetName("Two");
  Two->SetParent(Form.get());
  Two->Buttons()->Add()->SetKind(bkDown);
  AnsiString Text = WriteComponentText(Form.get());

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "EditForm");
  auto* ReadEmpty = ObjectAs<TdxInplaceButtonEdit>(Copy->FindComponent("Empty"));
  auto* ReadTwo = ObjectAs<TdxInplaceButtonEdit>(Copy->FindComponent("Two"));
  ASSERT_TRUE(ReadEmpty && ReadTwo);
  EXPECT_EQ(0, ReadEmpty->Buttons()->Count());
  ASSERT_EQ(2, ReadTwo->Buttons()->Count()) << Text.c_str();
  EXPECT_EQ(bkDown, ReadTwo->Buttons()->GetItem(1)->Kind());
}

TEST_F(ButtonEditTest, FormFileKeepsAButtonsGlyphAndNoneForTheOthers) {
  RegisterClass(&TdxInplaceButtonEdit::StaticClass());
  auto Unregister = ScopeExit([] { UnRegisterClass(&TdxInplaceButtonEdit::StaticClass()); });
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("EditForm");
  auto* Edit = NewObject<TdxInplaceButtonEdit>(Form.get());
  Edit->SetName("Edit");
  Edit->SetParent(Form.get());
  TOwned<TBitmap> Picture(NewObject<TBitmap>(7, 5));
  Picture->Canvas()->SetPixels(3, 2, clRed);
  Picture->Canvas()->SetPixels(0, 0, clLime);
  TdxEditButton* WithGlyph = Edit->Buttons()->Add();
  WithGlyph->SetKind(bkGlyph);
  WithGlyph->SetGlyph(Picture.get());
  AnsiString Text = WriteComponentText(Form.get());
  std::size_t First = Text.find("Glyph.Data");
  ASSERT_NE(AnsiString::npos, First) << Text.c_str();
  EXPECT_EQ(AnsiString::npos, Text.find("Glyph.Data", First + 1)) << "a button without a picture writes none";

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "EditForm");
  auto* Read = ObjectAs<TdxInplaceButtonEdit>(Copy->FindComponent("Edit"));
  ASSERT_TRUE(Read);
  ASSERT_EQ(2, Read->Buttons()->Count());
  EXPECT_FALSE(Read->Buttons()->GetItem(0)->HasGlyph());
  TdxEditButton* Back = Read->Buttons()->GetItem(1);
  ASSERT_TRUE(Back->HasGlyph());
  EXPECT_EQ(7, Back->Glyph()->Width());
  EXPECT_EQ(5, Back->Glyph()->Height());
  EXPECT_EQ(ColorToRGB(clRed), static_cast<COLORREF>(Back->Glyph()->Canvas()->Pixels(3, 2)));
  EXPECT_EQ(ColorToRGB(clLime), static_cast<COLORREF>(Back->Glyph()->Canvas()->Pixels(0, 0)));
}

}  // namespace
