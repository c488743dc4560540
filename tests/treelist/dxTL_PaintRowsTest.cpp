// The tree list's rows and panels as painted, read back from a paint into a memory DC:
// the row indicator's glyphs, images and state images, the Outlook style's group
// colours and expand glyphs, previews, row footers, fixed-band separators, pressed
// buttons, the incremental search's prefix, cells drawn by their column's editor kind,
// the bracket around each row, the clip push, a paint confined to its clip box, the
// preview's selection colours and the hot cell's view data.
// Positions come from the layout record and the control's sizes.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImgList.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Nodes.h"
#include "treelist/dxTL_Painter.h"

using namespace uitest;

namespace {

// A tree list that reports an incremental search and counts its row brackets.
class TProbeTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int SearchColumn = -1;
  AnsiString SearchText;
  int Begun = 0, Ended = 0;
  bool GetSearchState(int& Column, AnsiString& Text) override {
    Column = SearchColumn;
    Text = SearchText;
    return SearchColumn >= 0;
  }
  void BeginRow(TdxTreeListNode*) override { ++Begun; }
  void EndRow(TdxTreeListNode*) override { ++Ended; }
  // A second selected node beside the focused one.
  TdxTreeListNode* AlsoSelected = nullptr;
  bool IsNodeSelected(TdxTreeListNode* Node) override {
    return Node == AlsoSelected || TdxTreeList::IsNodeSelected(Node);
  }
};

class TRowPaintHandlers : public TObject {
 public:
  TColor LevelZero = clNone;
  TColor PreviewColor = clNone;
  bool Raise = false;
  void Preview(TObject*, TdxTreeListNode*, AnsiString& Text) { Text = "preview"; }
  void PreviewCell(TObject*, TCanvas*, TRect, TdxTreeListNode*, bool, AnsiString&, TColor& Color, TColor&, TFont*,
                   bool&) {
    if (PreviewColor != clNone) Color = PreviewColor;
  }
  void Level(TObject*, int Level, TColor& Color) {
    if (Level == 0 && LevelZero != clNone) Color = LevelZero;
  }
  void IsFooter(TObject*, int, bool& Exist) { Exist = true; }
  void RowFooterCell(TObject*, TdxTreeListNode*, TdxTreeListColumn*, int, bool& Exist) { Exist = true; }
  void Draw(TObject*, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*, const AnsiString&, TFont*, TColor&, bool,
            bool, bool&) {
    if (Raise) throw EConvertError("handler");
  }
  int Failures = 0;
  void Failed(TObject*, const Exception&) { ++Failures; }
};

class TreeListRowPaintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TProbeTreeList>(ShownForm(500, 400));
    Tree->SetBounds(0, 0, 300, 220);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->HandleNeeded();
    Column = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    Column->SetWidth(200);
  }
  void TearDown() override {
    Buffer.reset();
    if (Tree) Tree->SetImages(nullptr);
    FreeAndNil(Tree);
    FreeAndNil(Images);
    UiTest::TearDown();
  }
  void Paint() {
    const TRect R = Tree->ClientRect();
    Buffer = std::make_unique<TMemoryDC>(nullptr, R.right, R.bottom);
    SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Buffer->DC()), 0);
  }
  COLORREF At(int X, int Y) const { return GetPixel(Buffer->DC(), X, Y); }
  int Count(const TRect& R, COLORREF Colour) const {
    int N = 0;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) N += At(X, Y) == Colour;
    return N;
  }
  TdxTreeListDrawInfo Layout() {
    TdxTreeListDrawInfo DI;
    Tree->CalcDrawInfo(DI);
    return DI;
  }
  // Node's row: from the record's top to its height.
  TRect RowOf(TdxTreeListNode* Node) {
    TdxTreeListDrawInfo DI = Layout();
    int Top = DI.CellsRect.top;
    for (const TdxTreeListRowInfo& Row : DI.Rows) {
      if (Row.Node == Node) return TRect{DI.CellsRect.left, Top, DI.CellsRect.right, Top + Row.RowHeight};
      Top += Row.RowHeight;
    }
    return TRect{0, 0, 0, 0};
  }
  // A 16 x 16 image list of one solid image.
  void SolidImages(COLORREF Colour) {
    Images = NewObject<TImageList>(nullptr);
    Images->SetSize(16, 16);
    TOwned<TBitmap> B(NewObject<TBitmap>());
    B->SetWidth(16);
    B->SetHeight(16);
    B->Canvas()->Brush()->SetColor(static_cast<TColor>(Colour));
    B->Canvas()->FillRect(TRect{0, 0, 16, 16});
    Images->Add(B.get(), nullptr);
  }

  TProbeTreeList* Tree = nullptr;
  TdxTreeListColumn* Column = nullptr;
  TImageList* Images = nullptr;
  std::unique_ptr<TMemoryDC> Buffer;
};

TEST_F(TreeListRowPaintTest, TheIndicatorShowsTheArrowAtTheFocusedRowAndTheDotAtOtherSelectedRows) {
  ASSERT_NE(nullptr, dxTreeListIndicatorImages());
  EXPECT_EQ(5, dxTreeListIndicatorImages()->Count());
  Tree->SetShowIndicator(true);
  Tree->SetOptions(TdxTreeListOptions(Tree->Options()).Include(aoMultiSelect));
  TdxTreeListNode* A = Tree->Add();
  TdxTreeListNode* B = Tree->Add();
  TdxTreeListNode* C = Tree->Add();
  A->SetFocused(true);
  // Focusing does not select: the selection list holds the focused node once selected.
  A->SetSelected(true);
  Tree->AlsoSelected = B;
  Pump();
  Paint();
  const TRect Ind = Layout().IndRect;
  auto Glyph = [&](TdxTreeListNode* Node) {
    const TRect Row = RowOf(Node);
    return Count(TRect{Ind.left, Row.top, Ind.right, Row.bottom}, RGB(0, 0, 0));
  };
  const int Arrow = Glyph(A), Dot = Glyph(B);
  EXPECT_GT(Arrow, 0);
  EXPECT_GT(Dot, 0);
  EXPECT_NE(Arrow, Dot) << "two different glyphs";
  EXPECT_EQ(0, Glyph(C));
  EXPECT_EQ(0, Tree->GetNodeIndicatorKind(C));
  EXPECT_EQ(4, Tree->GetNodeIndicatorKind(B));
  EXPECT_EQ(5, Tree->GetNodeIndicatorKind(A)) << "focused and selected under multi-select";
  Tree->SetOptions(TdxTreeListOptions(Tree->Options()).Exclude(aoMultiSelect));
  EXPECT_EQ(1, Tree->GetNodeIndicatorKind(A));
}

TEST_F(TreeListRowPaintTest, ImagesStandRightBeforeTheContent) {
  SolidImages(RGB(0, 160, 0));
  Tree->SetImages(Images);
  TdxTreeListNode* With = Tree->Add();
  With->SetImageIndex(0);
  TdxTreeListNode* Without = Tree->Add();
  Without->SetImageIndex(-1);
  Without->SetFocused(true);
  Pump();
  Paint();
  const int Content = Layout().CellsRect.left + Tree->GetNodeContentOffset(With);
  const TRect Row = RowOf(With);
  const int Mid = (Row.top + Row.top + Tree->DefaultRowHeight()) / 2;
  EXPECT_EQ(RGB(0, 160, 0), At(Content - 8, Mid));
  EXPECT_NE(RGB(0, 160, 0), At(Content - 17, Mid)) << "16 pixels wide";
  const TRect Empty = RowOf(Without);
  EXPECT_EQ(Content, Layout().CellsRect.left + Tree->GetNodeContentOffset(Without))
      << "an image index of -1 keeps the room";
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(Content - 8, (Empty.top + Empty.bottom) / 2));
  // A selected row shows its SelectedIndex.
  Without->SetSelectedIndex(0);
  Paint();
  EXPECT_EQ(RGB(0, 160, 0), At(Content - 8, (Empty.top + Empty.bottom) / 2));
}

TEST_F(TreeListRowPaintTest, TheOutlookStyleColoursGroupsAndTheirLevelsAndDrawsTheGlyphs) {
  TRowPaintHandlers H;
  Tree->SetPaintStyle(psOutlook);
  Tree->SetGroupNodeColor(TColor(RGB(210, 220, 230)));
  TdxTreeListNode* Group = Tree->Add();
  Group->AddChild();
  Pump();
  Paint();
  const TRect Row = RowOf(Group);
  const int I = Tree->LevelIndent();
  const int Right = Layout().Headers[0].CellRect.right;
  EXPECT_EQ(RGB(210, 220, 230), At(Right - 5, Row.top + 4)) << "the group row's cell";
  // The collapsed glyph, 12 x 12, centred in the level's indent cell.
  const POINT G = CenteredOrigin(TRect{Row.left, Row.top, Row.left + I - 1, Row.bottom}, 12, 12);
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), At(G.x + 5, G.y + 4)) << "the plus bar";
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), At(G.x + 4, G.y + 5)) << "the minus bar";
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), At(G.x + 3, G.y + 3));

  H.LevelZero = TColor(RGB(250, 200, 0));
  Tree->OnGetLevelColor = TdxTLGetLevelColorEvent::Bind<&TRowPaintHandlers::Level>(&H);
  Paint();
  EXPECT_EQ(RGB(250, 200, 0), At(Right - 5, Row.top + 4));
  EXPECT_EQ(RGB(250, 200, 0), At(Row.left + 1, Row.top + 1)) << "the indent cell of level 0";

  // A system colour change draws the glyphs again and repaints.
  ValidateRect(Tree->Handle(), nullptr);
  Tree->Perform(CM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(GetUpdateRect(Tree->Handle(), nullptr, FALSE));
  Paint();
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), At(G.x + 5, G.y + 4));

  // The ultra-flat look frames an 11 x 11 box instead.
  Tree->SetLookAndFeel(lfUltraFlat);
  Pump();
  Paint();
  const TRect Flat = RowOf(Group);
  const POINT B = CenteredOrigin(TRect{Flat.left, Flat.top, Flat.left + I - 1, Flat.bottom}, 11, 11);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), At(B.x, B.y + 5));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), At(B.x + 5, B.y + 4)) << "the plus bar";
}

TEST_F(TreeListRowPaintTest, AColumnOfItsOwnColourFillsItsCells) {
  Column->SetColor(TColor(RGB(255, 240, 200)));
  TdxTreeListNode* Node = Tree->Add();
  Tree->Add()->SetFocused(true);
  Pump();
  Paint();
  const TRect Row = RowOf(Node);
  EXPECT_EQ(RGB(255, 240, 200), At(Layout().Headers[0].CellRect.right - 4, (Row.top + Row.bottom) / 2));
}

TEST_F(TreeListRowPaintTest, APreviewFillsTheRowBelowItsCellsAndTakesItsHandlersColour) {
  TRowPaintHandlers H;
  Tree->OnGetPreviewText = TdxTLGetPreviewTextEvent::Bind<&TRowPaintHandlers::Preview>(&H);
  Tree->SetOptions(TdxTreeListOptions(Tree->Options()).Include(aoPreview));
  Tree->PreviewFont()->SetColor(TColor(RGB(0, 0, 200)));
  TdxTreeListNode* Node = Tree->Add();
  Pump();
  const TRect Row = RowOf(Node);
  const TRect Preview{Layout().CellsRect.left + Tree->GetNodeContentOffset(Node) + Tree->IndentDesc(),
                      Row.top + Tree->DefaultRowHeight(), Layout().Headers[0].CellRect.right - 2, Row.bottom};
  ASSERT_LT(Preview.top, Preview.bottom);
  Paint();
  EXPECT_GT(Count(Preview, RGB(0, 0, 200)), 0) << "the text in PreviewFont's colour";
  H.PreviewColor = TColor(RGB(230, 250, 200));
  Tree->OnCustomDrawPreviewCell = TdxTLCustomDrawPreviewCellEvent::Bind<&TRowPaintHandlers::PreviewCell>(&H);
  Paint();
  EXPECT_EQ(RGB(230, 250, 200), At(Preview.right - 3, (Preview.top + Preview.bottom) / 2));
}

// The preview is a cell of no column in its row's selection: highlighted in a selected
// row under multi-select and under an inverted selection (no column is the focused
// one), and in the focused row while a drag runs over the unfocused control.
TEST_F(TreeListRowPaintTest, ThePreviewTakesTheRowsSelectionAsACellOfNoColumn) {
  TRowPaintHandlers H;
  Tree->OnGetPreviewText = TdxTLGetPreviewTextEvent::Bind<&TRowPaintHandlers::Preview>(&H);
  const COLORREF Shown = RGB(200, 220, 240);
  Tree->SetHideSelection(false);
  Tree->SetHideSelectionColor(TColor(Shown));
  Tree->SetHighlightColor(TColor(Shown));
  Tree->SetOptions(TdxTreeListOptions{aoPreview, aoMultiSelect});
  TdxTreeListNode* Node = Tree->Add();
  Node->SetSelected(true);
  Pump();
  SetFocus(nullptr);
  const TRect Row = RowOf(Node);
  const int CellY = Row.top + Tree->DefaultRowHeight() / 2;
  const int PreviewY = (Row.top + Tree->DefaultRowHeight() + Row.bottom) / 2;
  const int X = Layout().Headers[0].CellRect.right - 3;
  ASSERT_LT(CellY, Row.top + Tree->DefaultRowHeight());
  ASSERT_GT(PreviewY, Row.top + Tree->DefaultRowHeight());
  Paint();
  EXPECT_EQ(Shown, At(X, CellY));
  EXPECT_EQ(Shown, At(X, PreviewY));

  Tree->SetOptions(TdxTreeListOptions{aoPreview});
  Tree->SetOptionsEx(TdxTreeListOptionsEx(Tree->OptionsEx()).Include(aoInvertSelect));
  Paint();
  EXPECT_NE(Shown, At(X, CellY)) << "the focused cell of an inverted selection";
  EXPECT_EQ(Shown, At(X, PreviewY));

  Tree->SetOptionsEx(TdxTreeListOptionsEx(Tree->OptionsEx()).Exclude(aoInvertSelect));
  Paint();
  EXPECT_NE(Shown, At(X, PreviewY)) << "a plain focused row's preview";
  TDragObject Drag;
  Tree->SetDragObject(&Drag);
  Paint();
  Tree->SetDragObject(nullptr);
  EXPECT_EQ(Shown, At(X, PreviewY));
}

// Under hot tracking the hot cell's view data says it is hot, in the paint and in the
// row measure alike; once the mouse leaves the cells, nothing is.
TEST_F(TreeListRowPaintTest, TheHotCellIsPaintedAndMeasuredHot) {
  Tree->SetOptionsEx(TdxTreeListOptionsEx(Tree->OptionsEx()).Include(aoHotTrack).Include(aoRowAutoHeight));
  TdxTreeListNode* Node = Tree->Add();
  Node->SetStrings(0, "hot");
  Pump();
  const TRect Row = RowOf(Node);
  const int X = Layout().Headers[0].CellRect.right - 10;
  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, (Row.top + Row.bottom) / 2));
  ASSERT_TRUE(Tree->IsHotCell(Node, 0));
  TdxEditViewData* View = Column->GetViewData();
  auto Measure = [&] {
    Node->ResetCachedRowHeight();
    int LineHeight = Tree->DefaultRowHeight();
    Tree->GetRowLineCount(Node, LineHeight);
  };
  Paint();
  EXPECT_TRUE(View->Hot);
  View->Hot = false;
  Measure();
  EXPECT_TRUE(View->Hot);

  SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Row.bottom + 20));
  ASSERT_FALSE(Tree->IsHotCell(Node, 0));
  Paint();
  EXPECT_FALSE(View->Hot);
  View->Hot = true;
  Measure();
  EXPECT_FALSE(View->Hot);
}

TEST_F(TreeListRowPaintTest, RowFootersTakeTheirColourAndTheirLevelsColour) {
  TRowPaintHandlers H;
  Tree->SetShowRowFooter(true);
  Tree->SetRowFooterColor(TColor(RGB(200, 240, 200)));
  Tree->OnIsLevelFooter = TdxTLIsLevelFooterEvent::Bind<&TRowPaintHandlers::IsFooter>(&H);
  TdxTreeListNode* Parent = Tree->Add();
  TdxTreeListNode* Child = Parent->AddChild();
  Parent->SetExpanded(true);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_EQ(2u, DI.Rows.size());
  ASSERT_EQ(1, DI.Rows[1].LevelFooterCount);
  const TRect Row = RowOf(Child);
  const int Y = Row.bottom - DI.Rows[1].LevelFooterHeight / 2;
  const int X = DI.Headers[0].CellRect.right - 4;
  Paint();
  EXPECT_EQ(RGB(200, 240, 200), At(X, Y));
  H.LevelZero = TColor(RGB(240, 200, 200));
  Tree->OnGetLevelColor = TdxTLGetLevelColorEvent::Bind<&TRowPaintHandlers::Level>(&H);
  Paint();
  EXPECT_EQ(RGB(240, 200, 200), At(X, Y)) << "the footer of level 0 in its level's colour";
}

TEST_F(TreeListRowPaintTest, AFixedBandIsSeparatedOverItsRowsAndTheBandPanel) {
  Tree->SetShowBands(true);
  Tree->SetFixedBandLineColor(TColor(RGB(120, 0, 120)));
  Tree->Bands()->Items(0)->SetWidth(120);
  Tree->Bands()->Items(0)->SetFixed(bfLeft);
  Tree->Bands()->Add()->SetWidth(300);
  TdxTreeListColumn* Second = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Second->SetBandIndex(1);
  TdxTreeListNode* Node = Tree->Add();
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_GE(DI.FixedLeftIndex, 0);
  const int X = DI.FixedBandLeftRect.right - 1;
  Paint();
  EXPECT_EQ(RGB(120, 0, 120), At(X, (DI.BandRect.top + DI.BandRect.bottom) / 2));
  EXPECT_EQ(RGB(120, 0, 120), At(X, (RowOf(Node).top + RowOf(Node).bottom) / 2));
}

TEST_F(TreeListRowPaintTest, APressedHeaderOfAFlatLookIsInverted) {
  Tree->SetLookAndFeel(lfFlat);
  Tree->Add();
  Pump();
  const TRect Cell = Layout().Headers[0].CellRect;
  const POINT P{Cell.right - 6, (Cell.top + Cell.bottom) / 2};
  Paint();
  const COLORREF Up = At(P.x, P.y);
  EXPECT_EQ(ColorToRGB(Tree->HeaderColor()), Up);
  ValidateRect(Tree->Handle(), nullptr);
  TdxTreeListPressedState Pressed;
  Pressed.Header = Column->Index();
  Tree->SetPressedState(Pressed);
  EXPECT_TRUE(GetUpdateRect(Tree->Handle(), nullptr, FALSE)) << "a change repaints";
  Paint();
  EXPECT_EQ(Up ^ 0xFFFFFF, At(P.x, P.y));
}

TEST_F(TreeListRowPaintTest, TheSearchPrefixTakesTheSearchColoursOrTheInverse) {
  TdxTreeListNode* Node = Tree->Add();
  Node->SetStrings(0, "MMMMMMMM");
  Node->SetFocused(true);
  Node->SetSelected(true);
  SetFocus(Tree->Handle());
  Pump();
  const TRect Row = RowOf(Node);
  const TRect Cell{Layout().Headers[0].CellRect.left, Row.top, Layout().Headers[0].CellRect.right, Row.bottom};
  Tree->SearchColumn = 0;
  Tree->SearchText = "MMMM";
  Tree->SetAutoSearchColor(TColor(RGB(255, 255, 0)));
  Paint();
  const int Prefix = Count(Cell, RGB(255, 255, 0));
  EXPECT_GT(Prefix, 0);
  Tree->SearchText = "MM";
  Paint();
  EXPECT_LT(Count(Cell, RGB(255, 255, 0)), Prefix) << "only the matched prefix";
  Tree->SetAutoSearchColor(clNone);
  Paint();
  EXPECT_GT(Count(Cell, ColorToRGB(Tree->HighlightColor()) ^ 0xFFFFFF), 0);
}

TEST_F(TreeListRowPaintTest, CellsAreDrawnByTheirColumnsEditorKind) {
  Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(60);
  TdxTreeListNode* Lower = Tree->Add();
  Lower->SetStrings(0, "abc");
  Lower->SetStrings(1, "ABC");
  Column->SetCharCase(ecUpperCase);
  Tree->Add();
  Pump();
  Paint();
  // The upper-case column shows "abc" as the other column shows "ABC".
  const TdxTreeListDrawInfo DI = Layout();
  const TRect Row = RowOf(Lower);
  const int A = DI.Headers[0].CellRect.left + Tree->GetNodeContentOffset(Lower), B = DI.Headers[1].CellRect.left;
  int Differences = 0, Ink = 0;
  for (int Y = Row.top; Y < Row.bottom; ++Y)
    for (int X = 0; X < 30; ++X) {
      Differences += At(A + X, Y) != At(B + X, Y);
      Ink += At(B + X, Y) != ColorToRGB(Tree->Color());
    }
  EXPECT_GT(Ink, 0);
  EXPECT_EQ(0, Differences);
}

TEST_F(TreeListRowPaintTest, EveryRowBracketIsClosedEvenWhenAHandlerRaises) {
  TRowPaintHandlers H;
  Tree->Add();
  Tree->Add();
  Pump();
  Paint();
  EXPECT_GT(Tree->Begun, 0);
  EXPECT_EQ(Tree->Begun, Tree->Ended);
  H.Raise = true;
  Tree->OnCustomDraw = TdxTLCustomDrawEvent::Bind<&TRowPaintHandlers::Draw>(&H);
  Application->OnException = TExceptionEvent::Bind<&TRowPaintHandlers::Failed>(&H);
  Paint();
  Application->OnException = nullptr;
  EXPECT_EQ(1, H.Failures);
  EXPECT_EQ(Tree->Begun, Tree->Ended);
}

TEST_F(TreeListRowPaintTest, ASecondClipPushPopsTheFirstAndLeaksNoRegion) {
  TMemoryDC DC(nullptr, 100, 100);
  const int Before = GdiHandleCount();
  {
    TTreeListClip Clip(DC.DC());
    Clip.Push(TRect{0, 0, 50, 50});
    Clip.Push(TRect{40, 40, 90, 90});
    TRect Box{};
    GetClipBox(DC.DC(), &Box);
    EXPECT_EQ(40, Box.left);
    EXPECT_EQ(90, Box.right) << "not cut by the first push";
  }
  HRGN Probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(0, GetClipRgn(DC.DC(), Probe)) << "no clip left behind";
  DeleteObject(Probe);
  EXPECT_EQ(Before, GdiHandleCount());
}

TEST_F(TreeListRowPaintTest, APaintCoversOnlyItsClipBox) {
  Tree->Add();
  Pump();
  const TRect R = Tree->ClientRect();
  Buffer = std::make_unique<TMemoryDC>(nullptr, R.right, R.bottom);
  const TRect All{0, 0, R.right, R.bottom};
  HBRUSH Magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(Buffer->DC(), &All, Magenta);
  DeleteObject(Magenta);
  IntersectClipRect(Buffer->DC(), 100, 100, 150, 150);
  SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Buffer->DC()), 0);
  SelectClipRgn(Buffer->DC(), nullptr);
  EXPECT_EQ(RGB(255, 0, 255), At(50, 50));
  EXPECT_EQ(ColorToRGB(Tree->Color()), At(120, 120));
}

TEST_F(TreeListRowPaintTest, EachHeaderEntryCarriesItsVisibleIndex) {
  TdxTreeListColumn* Second = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Second->SetVisible(false);
  Pump();
  const TdxTreeListDrawInfo DI = Layout();
  ASSERT_EQ(2u, DI.Headers.size());
  for (const TdxTreeListHeaderInfo& H : DI.Headers) EXPECT_EQ(Tree->GetVisibleColumnIndex(H.Column), H.VisibleColumn);
  EXPECT_EQ(1, DI.Headers[1].VisibleColumn);
}

}  // namespace
