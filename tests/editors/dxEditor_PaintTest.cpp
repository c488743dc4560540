// The text editor's cells, painted without a window from a view data: where the text
// goes, the letter case and password rules, the native edit's own window left alone,
// and the measuring of a word-wrapped text.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "classlib/Graphics.h"
#include "editors/dxDrawing.h"
#include "editors/dxEditor.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/SurfaceSupport.h"

using namespace edittest;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Fill = RGB(1, 2, 3);

using surfacetest::TSurface;

class TextCellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LOGFONTA Log{};
    Log.lfHeight = -13;
    Log.lfQuality = NONANTIALIASED_QUALITY;
    std::strcpy(Log.lfFaceName, "Tahoma");
    Font = CreateFontIndirectA(&Log);
    Brush = CreateSolidBrush(RGB(255, 0, 0));
    ViewData.reset(static_cast<TdxTextEditViewData*>(TdxInplaceTextEdit::StaticClass().NewViewData()));
    ViewData->Font = Font;
    ViewData->Brush = Brush;
    ViewData->TextColor = Black;
    ViewData->BackgroundColor = White;
  }
  void TearDown() override {
    ViewData.reset();
    DeleteObject(Font);
    DeleteObject(Brush);
  }
  void Draw(TSurface& S, const TRect& R, bool IsWindow = false) {
    TdxInplaceTextEdit::StaticClass().DrawContent(S.DC(), R, IsWindow, ViewData.get());
  }
  // Text drawn plainly with the cell's font at (X, Y).
  void Reference(TSurface& S, int X, int Y, const std::string& Text) {
    HGDIOBJ Old = SelectObject(S.DC(), Font);
    SetTextColor(S.DC(), Black);
    SetBkMode(S.DC(), TRANSPARENT);
    TextOutA(S.DC(), X, Y, Text.c_str(), static_cast<int>(Text.size()));
    SelectObject(S.DC(), Old);
  }
  int LineHeight() {
    TSurface S(1, 1);
    HGDIOBJ Old = SelectObject(S.DC(), Font);
    SIZE Size{};
    GetTextExtentPoint32A(S.DC(), "Wg", 2, &Size);
    SelectObject(S.DC(), Old);
    return Size.cy;
  }

  HFONT Font = nullptr;
  HBRUSH Brush = nullptr;
  TOwned<TdxTextEditViewData> ViewData;
};

TEST_F(TextCellTest, ACellIsDrawnWithoutAWindowInsideItsOffsets) {
  ViewData->SetText("Hi there");
  EXPECT_EQ(8, ViewData->TextLength);
  ViewData->Offsets = Rect(3, 2, 0, 0);
  TSurface Cell(120, 24);
  Draw(Cell, Rect(0, 0, 120, 24));
  // The background colour fills the cell; the text starts one pixel plus the offsets in.
  EXPECT_EQ(White, Cell.At(0, 0));
  EXPECT_EQ(White, Cell.At(119, 23));
  TSurface Expected(120, 24);
  Reference(Expected, 1 + 3, 1 + 2, "Hi there");
  const TRect Ink = Cell.Ink(Black);
  const TRect ExpectedInk = Expected.Ink(Black);
  EXPECT_EQ(ExpectedInk.left, Ink.left);
  EXPECT_EQ(ExpectedInk.top, Ink.top);
  EXPECT_EQ(ExpectedInk.right, Ink.right);
  EXPECT_EQ(ExpectedInk.bottom, Ink.bottom);

  // Right aligned, the text ends a pixel before the right edge, and one more.
  ViewData->Offsets = Rect(0, 0, 0, 0);
  ViewData->Alignment = taRightJustify;
  TSurface Right(120, 24);
  Draw(Right, Rect(0, 0, 120, 24));
  TSurface RightExpected(120, 24);
  HGDIOBJ Old = SelectObject(RightExpected.DC(), Font);
  SIZE Size{};
  GetTextExtentPoint32A(RightExpected.DC(), "Hi there", 8, &Size);
  SelectObject(RightExpected.DC(), Old);
  Reference(RightExpected, 120 - 2 - Size.cx, 1, "Hi there");
  EXPECT_EQ(RightExpected.Ink(Black).right, Right.Ink(Black).right);
}

TEST_F(TextCellTest, TheCaseAndThePasswordCharacterApplyAsInTheLiveControl) {
  const TRect R = Rect(0, 0, 100, 20);
  ViewData->SetText("abc");
  ViewData->CharCase = ecUpperCase;
  TSurface Upper(100, 20);
  Draw(Upper, R);
  ViewData->SetText("ABC");
  ViewData->CharCase = ecNormal;
  TSurface Plain(100, 20);
  Draw(Plain, R);
  EXPECT_TRUE(Upper.SameAs(Plain));

  ViewData->SetText("abc");
  ViewData->PasswordChar = '*';
  TSurface Hidden(100, 20);
  Draw(Hidden, R);
  ViewData->SetText("***");
  ViewData->PasswordChar = '\0';
  TSurface Stars(100, 20);
  Draw(Stars, R);
  EXPECT_TRUE(Hidden.SameAs(Stars));
  EXPECT_FALSE(Hidden.SameAs(Plain));
}

TEST_F(TextCellTest, ANativeEditsOwnWindowIsLeftToTheControl) {
  ViewData->SetText("abc");
  ViewData->NativeEdit = true;
  TSurface S(60, 20);
  Draw(S, Rect(0, 0, 60, 20), true);
  EXPECT_EQ(-1, S.Ink(White).left);
  EXPECT_EQ(-1, S.Ink(Black).left);
  // Without a window it is painted.
  Draw(S, Rect(0, 0, 60, 20), false);
  EXPECT_NE(-1, S.Ink(Black).left);
}

TEST_F(TextCellTest, MeasuringAWrappedTextReportsItsLines) {
  const std::string Text = "one two three four five six seven eight nine ten";
  ViewData->SetText(Text);
  ViewData->VerticalLayout = 3;
  ViewData->MeasureOnly = true;
  TSurface S(70, 20);
  Draw(S, Rect(0, 0, 70, 20));
  // Nothing is drawn.
  EXPECT_EQ(Fill, S.At(0, 0));
  EXPECT_EQ(Fill, S.At(35, 10));

  // The lines the system breaks the text into, in the text rectangle's width.
  HGDIOBJ Old = SelectObject(S.DC(), Font);
  RECT Wrapped{1, 1, 69, 19};
  DrawTextA(S.DC(), Text.c_str(), -1, &Wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(S.DC(), Old);
  const int Lines = (Wrapped.bottom - Wrapped.top) / LineHeight();
  EXPECT_GT(Lines, 2);
  EXPECT_EQ(Lines, ViewData->LineCount);
  EXPECT_EQ(LineHeight(), ViewData->TextHeight);
  EXPECT_EQ(Wrapped.bottom - Wrapped.top, ViewData->NeededHeight);

  // An empty text needs nothing.
  ViewData->SetText("");
  Draw(S, Rect(0, 0, 70, 20));
  EXPECT_EQ(0, ViewData->LineCount);
  EXPECT_EQ(0, ViewData->NeededHeight);
}

class TextEditViewDataTest : public EditTest {};

TEST_F(TextEditViewDataTest, ALiveEditorFillsItsTextViewData) {
  TTestContainer* Host = ShownContainer();
  auto* Edit = HostedEdit<TdxInplaceTextEdit>(Host);
  Edit->SetEditValue(Variant("abc"));
  Edit->SetPasswordChar('#');
  Edit->SetCharCase(ecLowerCase);
  TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
  auto* Text = ObjectAs<TdxTextEditViewData>(ViewData.get());
  ASSERT_NE(nullptr, Text);
  EXPECT_EQ("abc", Text->Text);
  EXPECT_EQ(3, Text->TextLength);
  EXPECT_EQ('#', Text->PasswordChar);
  EXPECT_EQ(ecLowerCase, Text->CharCase);
  EXPECT_TRUE(Text->NativeEdit);
  EXPECT_FALSE(Text->FocusRectMode);
}

}  // namespace
