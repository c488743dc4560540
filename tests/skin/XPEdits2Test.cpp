// The self-drawn edit on real windows: keys, clipboard, the password display, the
// selection after edits, and the hook that repaints transparent edits.
#include <gtest/gtest.h>

#include "classlib/Classes_Streaming.h"
#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "skin/XPEdits2.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// Counts the invalidations the hook and the edit itself ask for.
class TCountingEdit : public TCustomXPEdit {
 public:
  using TCustomXPEdit::TCustomXPEdit;
  void Invalidate() override {
    ++Invalidations;
    TCustomXPEdit::Invalidate();
  }
  int Invalidations = 0;
};

class XPEditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(400, 300);
  }
  TCustomXPEdit* NewEdit(const AnsiString& Text, int Left = 10, int Top = 10) {
    auto* Edit = NewObject<TCustomXPEdit>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(Left, Top, 121, 21);
    Edit->SetText(Text);
    Edit->SetFocus();
    Pump();
    return Edit;
  }
  void Type(WPARAM Key) {
    PostMessageA(GetFocus(), WM_CHAR, Key, 1);
    Pump();
  }
  TForm* Form = nullptr;
};

TEST_F(XPEditTest, PastingStopsAtMaxLengthAndThePasswordStaysRealOnTheClipboard) {
  TCustomXPEdit* Edit = NewEdit("ab");
  Edit->SetMaxLength(3);
  Edit->SetSelStart(2);
  Clipboard()->SetAsText("xyz");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->Text(), "abx");
  EXPECT_EQ(Edit->CaretIndex(), 3);
  EXPECT_EQ(Edit->SelLength(), 0);

  Edit->SetMaxLength(0);
  Edit->SetPasswordChar('*');
  Edit->SetText("secret");
  EXPECT_EQ(Edit->DisplayText(), "******");
  Edit->SelectAll();
  EXPECT_EQ(Edit->SelText(), "secret");
  Edit->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "secret");
}

TEST_F(XPEditTest, ShiftExtendsTheSelectionAndBackspaceWithShiftLeavesItCollapsed) {
  TCustomXPEdit* Edit = NewEdit("abc");
  Edit->SetSelStart(3);
  HeldKeys = {VK_SHIFT};
  PressKey(VK_LEFT);
  EXPECT_EQ(Edit->SelStart(), 2);
  EXPECT_EQ(Edit->SelLength(), 1);
  HeldKeys.clear();
  PressKey(VK_LEFT);
  EXPECT_EQ(Edit->SelLength(), 0);
  EXPECT_EQ(Edit->CaretIndex(), 1);

  Edit->SetSelStart(3);
  HeldKeys = {VK_SHIFT};
  Type(VK_BACK);
  Type(VK_BACK);
  HeldKeys.clear();
  EXPECT_EQ(Edit->Text(), "a");
  EXPECT_EQ(Edit->SelLength(), 0);
  EXPECT_EQ(Edit->CaretIndex(), 1);
}

TEST_F(XPEditTest, KeysMoveByWordsAndEditAtTheCaret) {
  TCustomXPEdit* Edit = NewEdit("one two  three");
  Edit->SetSelStart(14);
  HeldKeys = {VK_CONTROL};
  PressKey(VK_LEFT);
  EXPECT_EQ(Edit->CaretIndex(), 9);
  PressKey(VK_LEFT);
  EXPECT_EQ(Edit->CaretIndex(), 4);
  PressKey(VK_RIGHT);
  EXPECT_EQ(Edit->CaretIndex(), 9);
  HeldKeys.clear();
  PressKey(VK_HOME);
  PressKey(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "ne two  three");
  Type('O');
  EXPECT_EQ(Edit->Text(), "One two  three");
  Edit->SetCharCase(1);
  PressKey(VK_END);
  Type('s');
  EXPECT_EQ(Edit->Text(), "One two  threeS");
}

TEST_F(XPEditTest, AReadOnlyEditIgnoresTypingAndItsCutOnlyCopies) {
  TCustomXPEdit* Edit = NewEdit("keep");
  Edit->SetReadOnly(true);
  Edit->SelectAll();
  Type('x');
  Type(VK_BACK);
  EXPECT_EQ(Edit->Text(), "keep");
  Clipboard()->SetAsText("");
  Edit->CutToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "keep");
  EXPECT_EQ(Edit->Text(), "keep");
}

TEST_F(XPEditTest, TheHookRepaintsTransparentEditsUnderAChangedSiblingOnly) {
  auto* Near = NewObject<TCountingEdit>(Form);
  Near->SetParent(Form);
  Near->SetBounds(10, 10, 121, 21);
  auto* Far = NewObject<TCountingEdit>(Form);
  Far->SetParent(Form);
  Far->SetBounds(10, 200, 121, 21);
  auto* Sibling = NewObject<TProbe>(Form);
  Sibling->SetParent(Form);
  Sibling->SetBounds(50, 5, 40, 30);
  Pump();
  EXPECT_TRUE(XPEditHookInstalled());
  Near->Invalidations = Far->Invalidations = 0;
  Sibling->SetBounds(50, 5, 60, 30);  // WM_SIZE, sent
  EXPECT_GT(Near->Invalidations, 0);
  EXPECT_EQ(Far->Invalidations, 0);

  Near->Invalidations = 0;
  Near->SetTransparent(false);
  Near->Invalidations = 0;
  Sibling->SetBounds(50, 5, 70, 30);
  EXPECT_EQ(Near->Invalidations, 0);
}

TEST_F(XPEditTest, TheHookLivesExactlyWhileEditsDo) {
  const int Before = XPEditCount();
  auto* A = NewObject<TCustomXPEdit>(nullptr);
  auto* B = NewObject<TCustomXPEdit>(nullptr);
  EXPECT_EQ(XPEditCount(), Before + 2);
  EXPECT_TRUE(XPEditHookInstalled());
  A->Free();
  EXPECT_TRUE(XPEditHookInstalled());
  B->Free();
  EXPECT_EQ(XPEditCount(), Before);
  EXPECT_EQ(XPEditHookInstalled(), Before > 0);
}

TEST_F(XPEditTest, TypingOrPastingInsideTheTextPaintsItToItsEnd) {
  TCustomXPEdit* Edit = NewEdit("abc");
  Edit->SetTransparent(false);
  Edit->Colors()->SetColor(clWhite);
  Edit->Font()->SetColor(clBlack);
  // Some ink between the left ends of two characters of the text on the screen.
  auto InkBetween = [&](const AnsiString& Before, const AnsiString& Through) {
    PaintNow(Edit);
    const int From = 3 + Edit->Canvas()->TextWidth(Before), To = 3 + Edit->Canvas()->TextWidth(Through);
    for (int X = From; X < To; ++X)
      for (int Y = 3; Y < 3 + Edit->Canvas()->TextHeight("Xg"); ++Y)
        if (ScreenPixel(Edit->Handle(), X, Y) != RGB(255, 255, 255)) return true;
    return false;
  };
  Edit->SetSelStart(1);
  Type('x');
  ASSERT_EQ(Edit->Text(), "axbc");
  EXPECT_EQ(Edit->VisibleCount(), 4);
  EXPECT_TRUE(InkBetween("axb", "axbc")) << "the last c is drawn";

  Clipboard()->SetAsText("yz");
  Edit->SetSelStart(2);
  Type(22);  // Ctrl+V
  ASSERT_EQ(Edit->Text(), "axyzbc");
  EXPECT_EQ(Edit->VisibleCount(), 6);
  EXPECT_TRUE(InkBetween("axyzb", "axyzbc"));
}

TEST_F(XPEditTest, ATransparentEditErasesDeletedTextOnAFormAndOnAFrame) {
  Form->SetColor(clWhite);
  auto* Frame = NewObject<TFrame>(Form);
  Frame->SetParent(Form);
  Frame->SetBounds(10, 60, 200, 60);
  Frame->SetColor(clWhite);
  for (TWinControl* Parent : {static_cast<TWinControl*>(Form), static_cast<TWinControl*>(Frame)}) {
    auto* Edit = NewObject<TCustomXPEdit>(Form);
    Edit->SetParent(Parent);
    Edit->SetBounds(10, 10, 121, 21);
    Edit->Font()->SetColor(clBlack);
    Edit->SetText("MMMMMM");
    ASSERT_TRUE(Edit->Transparent());
    // The pixels not white where the last three characters stood.
    const int From = 3 + Edit->Canvas()->TextWidth("MMM"), To = 3 + Edit->Canvas()->TextWidth("MMMMMM");
    auto InkInDeletedPlace = [&] {
      // What is owed to the parent and the edit is painted; nothing more.
      Pump();
      RedrawWindow(Parent->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      int Ink = 0;
      for (int X = From; X < To; ++X)
        for (int Y = 3; Y < 3 + Edit->Canvas()->TextHeight("M"); ++Y)
          Ink += ScreenPixel(Edit->Handle(), X, Y) != RGB(255, 255, 255);
      return Ink;
    };
    const char* Name = Parent == Form ? "on a form" : "on a frame";
    EXPECT_GT(InkInDeletedPlace(), 0) << Name;
    for (int I = 0; I < 3; ++I) Edit->Perform(WM_CHAR, VK_BACK, 1);
    ASSERT_EQ(Edit->Text(), "MMM");
    EXPECT_EQ(InkInDeletedPlace(), 0) << Name;
  }
}

TEST_F(XPEditTest, AnOpaqueEditPaintsItsFrameAndTheSelection) {
  TCustomXPEdit* Edit = NewEdit("MMMM");
  Edit->SetTransparent(false);
  Edit->Colors()->SetFrameColor(static_cast<TColor>(RGB(0, 128, 0)));
  Edit->Colors()->SetColor(static_cast<TColor>(RGB(255, 255, 0)));
  Edit->SetFocus();
  Edit->SelectAll();
  PaintNow(Edit);
  EXPECT_EQ(ScreenPixel(Edit->Handle(), 0, 0), RGB(0, 128, 0));
  EXPECT_EQ(ScreenPixel(Edit->Handle(), 1, 1), RGB(255, 255, 0));
  EXPECT_EQ(ScreenPixel(Edit->Handle(), 5, 3), ColorToRGB(clHighlight));
  EXPECT_EQ(ScreenPixel(Edit->Handle(), Edit->Width() - 5, 4), RGB(255, 255, 0));
}

TEST_F(XPEditTest, EnteringByTheKeyboardSelectsAllAndByAClickNot) {
  TCustomXPEdit* First = NewEdit("first");
  TCustomXPEdit* Second = NewEdit("second", 10, 50);
  First->SetFocus();
  Pump();
  EXPECT_EQ(First->SelLength(), 5);
  Second->SetSelStart(0);
  HeldKeys = {VK_LBUTTON};
  Second->SetFocus();
  Pump();
  HeldKeys.clear();
  EXPECT_EQ(Second->SelLength(), 0);
}

TEST_F(XPEditTest, ALongTextScrollsWithTheCaretAndTheMouseSelectsByCharacters) {
  TCustomXPEdit* Edit = NewEdit(AnsiString(60, 'x'));
  Edit->SetSelStart(0);
  PressKey(VK_END);
  EXPECT_EQ(Edit->CaretIndex(), 60);
  EXPECT_GT(Edit->FirstVisible(), 0);
  EXPECT_LE(Edit->FirstVisible() + Edit->FullVisibleCount(), 60);
  EXPECT_GE(Edit->FirstVisible() + Edit->VisibleCount(), 60);
  PressKey(VK_HOME);
  EXPECT_EQ(Edit->FirstVisible(), 0);

  Edit->SetText("abcdef");
  Edit->SetSelStart(0);
  const int XOf3 = [&] {
    for (int X = 0; X < 120; ++X)
      if (Edit->CharIndexAt(X) == 3) return X;
    return -1;
  }();
  ASSERT_GT(XOf3, 0);
  Edit->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(XOf3, 8));
  EXPECT_EQ(Edit->CaretIndex(), 3);
  Edit->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 8));
  Edit->Perform(WM_LBUTTONUP, 0, MAKELPARAM(110, 8));
  EXPECT_EQ(Edit->SelStart(), 3);
  EXPECT_EQ(Edit->SelLength(), 3);
  EXPECT_EQ(Edit->SelText(), "def");
  // Moving after the release no longer selects.
  Edit->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(4, 8));
  EXPECT_EQ(Edit->SelLength(), 3);
}

TEST_F(XPEditTest, ColoursAssignThroughTheirSettersAndADisabledEditPaintsGreyed) {
  TCustomXPEdit* Edit = NewEdit("");
  Edit->SetTransparent(false);
  auto* Other = NewObject<TXPEditColors>(nullptr);
  Other->SetColor(static_cast<TColor>(RGB(1, 2, 3)));
  Other->SetDisabledLightColor(static_cast<TColor>(RGB(200, 0, 0)));
  Edit->Colors()->Assign(Other);
  Other->Free();
  EXPECT_EQ(Edit->Color(), static_cast<TColor>(RGB(1, 2, 3)));
  Edit->SetEnabled(false);
  PaintNow(Edit);
  EXPECT_EQ(ScreenPixel(Edit->Handle(), 0, 0), RGB(172, 168, 153));
  EXPECT_EQ(ScreenPixel(Edit->Handle(), 5, 5), RGB(200, 0, 0));
}

TEST_F(XPEditTest, OemConversionDropsWhatTheOemCodePageLacksAndKeepsTheRest) {
  // e acute exists in the OEM code page, the euro sign (0x80 here) does not.
  const AnsiString Text = "caf\xE9 5\x80";
  TCustomXPEdit* Plain = NewEdit(Text);
  EXPECT_EQ(Plain->Text(), Text);

  TCustomXPEdit* Edit = NewEdit("", 10, 50);
  Edit->SetOEMConvert(true);
  Edit->SetText(Text);
  const AnsiString Read = Edit->Text();
  ASSERT_EQ(Read.size(), Text.size());
  EXPECT_EQ(Read.substr(0, 6), "caf\xE9 5");
  EXPECT_NE(Read[6], '\x80');
  EXPECT_EQ(Edit->DisplayText(), Read);

  // Typed characters go the same way.
  Edit->SetText("");
  Type(0xE9);
  Type(0x80);
  EXPECT_EQ(Edit->Text().size(), 2u);
  EXPECT_EQ(Edit->Text()[0], '\xE9');
  EXPECT_NE(Edit->Text()[1], '\x80');
}

TEST_F(XPEditTest, TheMouseOverTheEditUnderlinesItsText) {
  TCustomXPEdit* Edit = NewEdit("____");
  Edit->SetText("HHHH");
  Edit->SetTransparent(false);
  Edit->Colors()->SetColor(static_cast<TColor>(RGB(255, 255, 255)));
  Edit->Font()->SetColor(static_cast<TColor>(RGB(0, 0, 255)));
  Edit->SetSelStart(0);
  // The blue pixels of every row of the text line.
  auto BlueRows = [&] {
    PaintNow(Edit);
    std::vector<int> Rows;
    for (int Y = 3; Y < Edit->Height() - 2; ++Y) {
      int Count = 0;
      for (int X = 3; X < Edit->Width() - 3; ++X)
        if (ScreenPixel(Edit->Handle(), X, Y) == RGB(0, 0, 255)) ++Count;
      Rows.push_back(Count);
    }
    return Rows;
  };
  const std::vector<int> Plain = BlueRows();
  Edit->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(Edit->Font()->Style().Contains(fsUnderline));
  // A row below the letters fills with blue under all four of them.
  const std::vector<int> Hot = BlueRows();
  ASSERT_EQ(Hot.size(), Plain.size());
  int Grown = 0;
  for (std::size_t Y = 0; Y < Hot.size(); ++Y) Grown = std::max(Grown, Hot[Y] - Plain[Y]);
  EXPECT_GT(Grown, 20);
  Edit->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(Edit->Font()->Style().Contains(fsUnderline));
  EXPECT_EQ(BlueRows(), Plain);
}

TEST_F(XPEditTest, AFormFileSetsTheColoursAndTheFlags) {
  TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Root.get(),
                    "form frmEdits: TForm\n"
                    "  component edtName: TCustomXPEdit\n"
                    "    Colors.FrameColor = clRed\n"
                    "    Colors.Color = 0x00C0FFFF\n"
                    "    Colors.DisabledDarkColor = clGray\n"
                    "    AutoSelect = False\n"
                    "    CharCase = 1\n"
                    "    HideSelection = False\n"
                    "    MaxLength = 8\n"
                    "    OEMConvert = True\n"
                    "    PasswordChar = 42\n"
                    "    ReadOnly = True\n"
                    "    Transparent = False\n"
                    "    Text = \"secret\"\n"
                    "  end\n"
                    "end\n",
                    "edits");
  auto* Edit = ObjectAs<TCustomXPEdit>(Root->FindComponent("edtName"));
  ASSERT_NE(Edit, nullptr);
  EXPECT_EQ(Edit->Colors()->FrameColor(), clRed);
  EXPECT_EQ(Edit->Colors()->Color(), static_cast<TColor>(0x00C0FFFF));
  EXPECT_EQ(Edit->Color(), static_cast<TColor>(0x00C0FFFF));
  EXPECT_EQ(Edit->Colors()->DisabledDarkColor(), clGray);
  EXPECT_FALSE(Edit->AutoSelect());
  EXPECT_EQ(Edit->CharCase(), 1);
  EXPECT_FALSE(Edit->HideSelection());
  EXPECT_EQ(Edit->MaxLength(), 8);
  EXPECT_TRUE(Edit->OEMConvert());
  EXPECT_EQ(Edit->PasswordChar(), '*');
  EXPECT_TRUE(Edit->ReadOnly());
  EXPECT_FALSE(Edit->Transparent());
  EXPECT_EQ(Edit->Text(), "secret");
  EXPECT_EQ(Edit->DisplayText(), "******");

  const AnsiString Written = WriteComponentText(Root.get());
  for (const char* Expected : {"Colors.FrameColor = clRed", "MaxLength = 8", "Transparent = False",
                               "OEMConvert = True"})
    EXPECT_NE(Written.find(Expected), AnsiString::npos) << Expected << "\n" << Written;
  EXPECT_EQ(Written.find("Colors.DisabledLightColor"), AnsiString::npos) << Written;
}

}  // namespace
