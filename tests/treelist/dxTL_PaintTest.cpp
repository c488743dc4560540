// The tree list's paint on a real window, read back from a paint into a memory DC: the
// selection colours focused and unfocused, the expand box, ShowRoot's shift, the grid
// colour, the shadow of the ultra-flat look, a control with nothing to show, the
// custom-draw events' Done and colour, headers clipped to their visible part, and the
// handle count after a paint and after one whose handler raised, and a band
// handler's font kept to its band. Positions come from
// the layout record; colours from ColorToRGB.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Nodes.h"

using namespace uitest;

namespace {

class THandlers : public TObject {
 public:
  int Draws = 0, Cells = 0;
  bool DoneInDraw = false, Raise = false;
  TColor NewColor = clNone;
  TRect HeaderRect{};
  int Footers = 0;
  void Exists(TObject*, TdxTreeListColumn*, bool& Exist) { Exist = true; }
  void Footer(TObject*, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*, AnsiString&, TColor&, TFont*,
              TAlignment&, bool&) {
    ++Footers;
  }
  int Failures = 0;
  void Failed(TObject*, const Exception&) { ++Failures; }
  void Draw(TObject*, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*, const AnsiString&, TFont*, TColor&,
            bool, bool, bool& Done) {
    ++Draws;
    if (Raise) throw EConvertError("handler");
    Done = DoneInDraw;
  }
  void Cell(TObject*, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*, bool, bool, bool, AnsiString&,
            TColor& Color, TFont*, TAlignment&, bool&) {
    ++Cells;
    if (NewColor != clNone) Color = NewColor;
  }
  void Header(TObject*, TdxTreeListColumn* Column, TCanvas*, TRect Rect, AnsiString&, TColor&, TFont*, TAlignment&,
              TdxTreeListColumnSort&, bool&) {
    if (Column->Index() == 0) HeaderRect = Rect;
  }
  // Notes the font colour each band's handler receives, then turns the font red.
  std::vector<TColor> BandFontColors;
  void Band(TObject*, TdxTreeListBand*, TCanvas*, TRect, AnsiString&, TColor&, TFont* Font, TAlignment&, bool&) {
    BandFontColors.push_back(Font->Color());
    Font->SetColor(clRed);
  }
};

class TreeListPaintTest : public tltest::TreeListWindowTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TdxTreeList>(ShownForm(500, 400));
    Tree->SetBounds(0, 0, 300, 200);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->HandleNeeded();
  }
  void TearDown() override {
    Buffer.reset();
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeListColumn* AddColumn(int Width = 150) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetWidth(Width);
    return C;
  }
  // A parent with one child and a plain node below, in one column.
  void Fill() {
    Column = AddColumn();
    Parent = Tree->Add();
    Parent->SetStrings(0, "");
    Parent->AddChild();
    Plain = Tree->Add();
    Pump();
  }
  // Paints the whole client area into a fresh buffer.
  void Paint() {
    const TRect R = Tree->ClientRect();
    Buffer = std::make_unique<TMemoryDC>(nullptr, R.right, R.bottom);
    SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Buffer->DC()), 0);
  }
  COLORREF At(int X, int Y) const { return GetPixel(Buffer->DC(), X, Y); }
  // The row of Node: its top, from the record.
  int RowTop(TdxTreeListNode* Node) {
    TdxTreeListDrawInfo DI = Layout();
    int Top = DI.CellsRect.top;
    for (const TdxTreeListRowInfo& Row : DI.Rows) {
      if (Row.Node == Node) return Top;
      Top += Row.RowHeight;
    }
    return -1;
  }
  // A point inside the text-free right end of Node's cell in the first column.
  POINT CellPoint(TdxTreeListNode* Node) {
    TdxTreeListDrawInfo DI = Layout();
    return POINT{DI.Headers[0].CellRect.right - 5, RowTop(Node) + Tree->DefaultRowHeight() / 2};
  }
  void FocusSelect(TdxTreeListNode* Node) {
    Node->SetFocused(true);
    Node->SetSelected(true);
    Pump();
  }

  TdxTreeListColumn* Column = nullptr;
  TdxTreeListNode* Parent = nullptr;
  TdxTreeListNode* Plain = nullptr;
  std::unique_ptr<TMemoryDC> Buffer;
};

TEST_F(TreeListPaintTest, SelectedCellsFollowTheFocusAndHideSelection) {
  Fill();
  FocusSelect(Plain);
  SetFocus(Tree->Handle());
  Pump();
  Paint();
  POINT P = CellPoint(Plain);
  EXPECT_EQ(ColorToRGB(Tree->HighlightColor()), At(P.x, P.y));
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(CellPoint(Parent).x, CellPoint(Parent).y));

  SetFocus(nullptr);
  Pump();
  Paint();
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(P.x, P.y)) << "HideSelection: drawn normally";
  Tree->SetHideSelection(false);
  Tree->SetHideSelectionColor(TColor(RGB(10, 200, 30)));
  Pump();
  Paint();
  EXPECT_EQ(RGB(10, 200, 30), At(P.x, P.y));
}

TEST_F(TreeListPaintTest, AnUnfocusedControlFramesItsFocusedCellByInverting) {
  Fill();
  Tree->SetOptions(TdxTreeListOptions(Tree->Options()).Exclude(aoRowSelect));
  FocusSelect(Plain);
  SetFocus(nullptr);
  Pump();
  Paint();
  const TdxTreeListDrawInfo DI = Layout();
  const int Right = DI.Headers[0].CellRect.right, Top = RowTop(Plain);
  const COLORREF Inverse = ColorToRGB(Tree->Color()) ^ 0xFFFFFF;
  EXPECT_NE(Inverse, At(Right - 5, Top)) << "HideFocusRect (True by default) hides the inactive frame";
  Tree->SetHideFocusRectFlag(false);
  Pump();
  Paint();
  EXPECT_EQ(Inverse, At(Right - 5, Top));
  EXPECT_EQ(Inverse, At(Right - 1, Top + 5));
  EXPECT_EQ(Inverse, At(Right - 1, Top)) << "the top line's corner inverted once only";
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(Right - 5, Top + 5));
}

TEST_F(TreeListPaintTest, TheExpandBoxShowsThePlusBarOnlyWhenCollapsed) {
  Fill();
  const int I = Tree->LevelIndent();
  const int Left = Layout().CellsRect.left;
  const int M = RowTop(Parent) + Tree->DefaultRowHeight() / 2;
  const int BoxLeft = (2 * Left + I - 1 - 9) / 2;
  const COLORREF Frame = GetSysColor(COLOR_GRAYTEXT), Bar = GetSysColor(COLOR_WINDOWTEXT);
  Paint();
  EXPECT_EQ(Frame, At(BoxLeft, M - 4));
  EXPECT_EQ(Frame, At(BoxLeft + 8, M + 4));
  EXPECT_EQ(Bar, At(BoxLeft + 2, M));
  EXPECT_EQ(Bar, At(BoxLeft + 4, M - 2)) << "the plus bar of a collapsed node";
  Parent->SetExpanded(true);
  Pump();
  Paint();
  EXPECT_EQ(Bar, At(BoxLeft + 2, M));
  EXPECT_NE(Bar, At(BoxLeft + 4, M - 2));

  Tree->SetShowRoot(false);
  Pump();
  Paint();
  EXPECT_NE(Frame, At(BoxLeft, M - 4)) << "top-level nodes lose their button column";
}

TEST_F(TreeListPaintTest, TreeLinesJoinAChildToItsParentsColumn) {
  Fill();
  Parent->SetExpanded(true);
  Tree->SetTreeLineStyle(tlSolid);
  Tree->SetTreeLineColor(TColor(RGB(200, 0, 0)));
  Pump();
  Paint();
  TdxTreeListNode* Child = Parent->Items(0);
  const int I = Tree->LevelIndent(), H = Tree->DefaultRowHeight();
  const int X0 = Layout().CellsRect.left + I, C = X0 + I / 2 - 1;
  const int Top = RowTop(Child), M = Top + H / 2;
  EXPECT_EQ(RGB(200, 0, 0), At(X0 + I - 1, M)) << "the horizontal reaches the content";
  EXPECT_EQ(RGB(200, 0, 0), At(C, Top + 1));
  EXPECT_NE(RGB(200, 0, 0), At(C, M + 2)) << "the last child's line ends at its middle";
  // The parent's own column runs on below its button only while a sibling follows.
  EXPECT_EQ(RGB(200, 0, 0), At(C - I, M)) << "Plain follows Parent";
  Tree->SetShowLines(false);
  Pump();
  Paint();
  EXPECT_NE(RGB(200, 0, 0), At(X0 + I - 1, M));
}

TEST_F(TreeListPaintTest, GridLinesDefaultToTheButtonShadow) {
  Fill();
  Tree->SetShowGrid(true);
  Tree->SetGridLineColor(clNone);
  Pump();
  Paint();
  const TdxTreeListDrawInfo DI = Layout();
  const int X = DI.Headers[0].CellRect.right - 1;
  EXPECT_EQ(ColorToRGB(clBtnShadow), At(X, RowTop(Plain) + 3));
  EXPECT_EQ(ColorToRGB(clBtnShadow), At(X - 20, RowTop(Plain) + Tree->DefaultRowHeight() - 1));
  Tree->SetGridLineColor(TColor(RGB(200, 0, 0)));
  Pump();
  Paint();
  EXPECT_EQ(RGB(200, 0, 0), At(X, RowTop(Plain) + 3));
}

TEST_F(TreeListPaintTest, UltraFlatShadowFillsABandWithoutColumns) {
  Fill();
  Tree->Bands()->Add();
  Tree->SetLookAndFeel(lfUltraFlat);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_FALSE(DI.EmptyBands.empty());
  const TRect E = DI.EmptyBands[0].Rect;
  ASSERT_LT(E.left, E.right);
  Paint();
  EXPECT_EQ(RGB(160, 160, 160), At(E.left + 2, (E.top + E.bottom) / 2));
  Tree->SetLookAndFeel(lfStandard);
  Pump();
  Paint();
  const TRect S = Layout().EmptyBands[0].Rect;
  EXPECT_EQ(ColorToRGB(clBtnShadow), At(S.left + 2, (S.top + S.bottom) / 2));
}

TEST_F(TreeListPaintTest, NothingToShowLeavesTheCornersAndColor) {
  Tree->Bands()->Clear();
  Tree->SetColor(TColor(RGB(20, 40, 60)));
  Pump();
  Paint();
  const TdxTreeListDrawInfo DI = Layout();
  EXPECT_EQ(RGB(20, 40, 60), At(150, 150));
  if (DI.HeaderButtonRect.right > DI.HeaderButtonRect.left) {
    EXPECT_EQ(ColorToRGB(Tree->HeaderColor()),
              At((DI.HeaderButtonRect.left + DI.HeaderButtonRect.right) / 2,
                 (DI.HeaderButtonRect.top + DI.HeaderButtonRect.bottom) / 2));
  }
}

TEST_F(TreeListPaintTest, CustomDrawDoneSkipsTheCellEventAndColoursFillTheCell) {
  Fill();
  THandlers H;
  Tree->OnCustomDraw = TdxTLCustomDrawEvent::Bind<&THandlers::Draw>(&H);
  Tree->OnCustomDrawCell = TdxTLCustomDrawCellEvent::Bind<&THandlers::Cell>(&H);
  H.DoneInDraw = true;
  Paint();
  EXPECT_GT(H.Draws, 0);
  EXPECT_EQ(0, H.Cells);

  H.DoneInDraw = false;
  H.NewColor = Tree->Color();
  Paint();
  EXPECT_GT(H.Cells, 0);
  const POINT P = CellPoint(Plain);
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(P.x, P.y));
  H.NewColor = TColor(RGB(0, 128, 255));
  Paint();
  EXPECT_EQ(RGB(0, 128, 255), At(P.x, P.y));
}

TEST_F(TreeListPaintTest, AScrolledHeaderGetsItsFullRectangleButDrawsOnlyItsVisiblePart) {
  Tree->SetShowIndicator(false);
  Tree->Bands()->Items(0)->SetWidth(500);
  AddColumn(250);
  AddColumn(250);
  Tree->Add();
  Pump();
  Tree->SetLeftCoord(100);
  Pump();
  THandlers H;
  Tree->OnCustomDrawColumnHeader = TdxTLCustomDrawHeaderEvent::Bind<&THandlers::Header>(&H);
  Paint();
  const TdxTreeListDrawInfo DI = Layout();
  const TdxTreeListHeaderInfo& First = DI.Headers[0];
  ASSERT_LT(First.CellRect.left, First.CellClipRect.left);
  EXPECT_EQ(First.CellRect.left, H.HeaderRect.left);
  EXPECT_EQ(First.CellRect.right, H.HeaderRect.right);
  // The caption's button edge at the full rectangle's left lies outside the client.
  EXPECT_EQ(ColorToRGB(Tree->HeaderColor()), At(First.CellClipRect.left, (First.CellRect.top + First.CellRect.bottom) / 2));
}

// A band handler's font change lasts for its own band only: the next band's handler
// gets the band font again.
TEST_F(TreeListPaintTest, ABandHandlersFontChangeEndsWithItsBand) {
  Tree->SetShowBands(true);
  Tree->Bands()->Add();
  Tree->BandFont()->SetColor(clBlue);
  Pump();
  THandlers H;
  Tree->OnCustomDrawBand = TdxTLCustomDrawBandEvent::Bind<&THandlers::Band>(&H);
  Paint();
  EXPECT_EQ(H.BandFontColors, (std::vector<TColor>{clBlue, clBlue}));
}

TEST_F(TreeListPaintTest, APaintLeavesNoHandleBehindEvenWhenAHandlerRaises) {
  Fill();
  Paint();
  Buffer.reset();
  const int Before = GdiHandleCount();
  Paint();
  Buffer.reset();
  EXPECT_EQ(Before, GdiHandleCount());
  THandlers H;
  H.Raise = true;
  Tree->OnCustomDraw = TdxTLCustomDrawEvent::Bind<&THandlers::Draw>(&H);
  Application->OnException = TExceptionEvent::Bind<&THandlers::Failed>(&H);
  Paint();
  Buffer.reset();
  Application->OnException = nullptr;
  EXPECT_EQ(1, H.Failures) << "the window procedure handed the handler's exception on";
  EXPECT_EQ(Before, GdiHandleCount());
}

// The paint composes only the part it covers: a control 30000 pixels each way (a
// bitmap of its client would take 3.6 GB) paints what its DC shows as one of ordinary
// size does, whole or in any part.
TEST_F(TreeListPaintTest, AControlFarLargerThanItsDCPaintsThePartTheDCShows) {
  Fill();
  FocusSelect(Plain);
  Paint();
  std::vector<COLORREF> Whole;
  for (int Y = 0; Y < 200; ++Y)
    for (int X = 0; X < 300; ++X) Whole.push_back(At(X, Y));

  Tree->SetBounds(0, 0, 30000, 30000);
  Pump();
  for (const TRect& Part : {TRect{0, 0, 300, 200}, TRect{37, 11, 173, 129}}) {
    TMemoryDC DC(nullptr, 300, 200);
    const RECT All{0, 0, 300, 200};
    FillRect(DC.DC(), &All, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    IntersectClipRect(DC.DC(), Part.left, Part.top, Part.right, Part.bottom);
    SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(DC.DC()), 0);
    SelectClipRgn(DC.DC(), nullptr);
    for (int Y = 0; Y < 200; ++Y)
      for (int X = 0; X < 300; ++X) {
        const bool Inside = X >= Part.left && X < Part.right && Y >= Part.top && Y < Part.bottom;
        ASSERT_EQ(GetPixel(DC.DC(), X, Y), Inside ? Whole[Y * 300 + X] : RGB(0, 0, 0))
            << X << "," << Y << " of the part from " << Part.left << "," << Part.top;
      }
  }
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
}

TEST_F(TreeListPaintTest, FooterCellsNeedTheExistenceAnswer) {
  Fill();
  Tree->SetShowFooter(true);
  THandlers H;
  Tree->OnCustomDrawFooter = TdxTLCustomDrawFooterEvent::Bind<&THandlers::Footer>(&H);
  Pump();
  Paint();
  EXPECT_EQ(0, H.Footers);
  const TdxTreeListDrawInfo DI = Layout();
  const TRect F = DI.FooterRect;
  const int X = (DI.Headers[0].CellRect.left + DI.Headers[0].CellRect.right) / 2;
  EXPECT_EQ(ColorToRGB(Tree->HeaderColor()), At(X, F.top + 3)) << "no cell frame without a cell";
  Tree->OnIsExistFooterCell = TdxTLIsExistFooterCellEvent::Bind<&THandlers::Exists>(&H);
  Paint();
  EXPECT_EQ(1, H.Footers);
  // lfStandard: the panel's frame, its raised edge and one pixel in; the cell one in
  // again, framed sunken: its top line in the button shadow.
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), At(X, F.top + 3));
}

}  // namespace
