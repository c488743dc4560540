// The tree list's paint: one layout record, every brush taken once from the shared
// cache, the whole client area composed in one off-screen buffer and copied once. The
// buffer starts in Color, so the empty areas need no pass of their own; the panels
// come first (corners, bands, headers, indicator), then the rows: indent cells and
// expand buttons, then the cells with their selection colours, focus rectangles and
// custom-draw events, and the grid in one PolyPolyline.
#include <algorithm>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxDrawing.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Draw.h"
#include "treelist/dxTL_Nodes.h"

namespace {

TSharedObject<HBRUSH> SolidBrush(TColor Color) {
  return TSharedObject<HBRUSH>(AcquireSharedBrush(LOGBRUSH{BS_SOLID, ColorToRGB(Color), 0}));
}

bool Empty(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }

}  // namespace

// One paint's context: the record, the buffer with a canvas on it, the brushes.
class TTreeListPainter {
 public:
  TTreeListPainter(TCustomdxTreeListControl& Tree, HDC Buffer)
      : T(Tree),
        DC(Buffer),
        ColorBrush(SolidBrush(Tree.Color())),
        BandBrush(SolidBrush(Tree.BandColor())),
        HeaderBrush(SolidBrush(Tree.HeaderColor())),
        ShadowBrush(SolidBrush(Tree.LookAndFeel() == lfUltraFlat ? TColor(0xA0A0A0) : clBtnShadow)),
        HighlightBrush(SolidBrush(Tree.HighlightColor())),
        HideSelectionBrush(SolidBrush(Tree.HideSelectionColor())),
        FixedLineBrush(SolidBrush(Tree.FixedBandLineColor())),
        TreeLineBrush(SolidBrush(Tree.TreeLineColor())) {
    Canvas.SetHandle(DC);
    T.CalcDrawInfo(DI);
  }
  ~TTreeListPainter() { Canvas.SetHandle(nullptr); }

  void Run() {
    FillRect(DC, &DI.CR, ColorBrush.Handle());
    PaintBands();
    PaintHeaders();
    PaintIndicator();
    PaintFooter();
    PaintRows();
  }

 private:
  void Corner(const TRect& R, HBRUSH Brush) {
    if (Empty(R)) return;
    TRect Face = R;
    if (T.LookAndFeel() == lfUltraFlat) {
      DrawEdge(DC, &Face, BDR_SUNKENOUTER, BF_TOP | BF_RIGHT | BF_BOTTOM | BF_FLAT | BF_ADJUST);
      FillRect(DC, &Face, Brush);
    } else {
      DrawButtonFace(DC, Face, Brush, T.LookAndFeel(), hekButton, false);
    }
  }

  // A band or header button: the event sees the full rectangle, the drawing is cut to
  // the visible part.
  void Button(THeaderButton& B, const TRect& Clip) {
    TSavedDC Saved(DC);
    IntersectClipRect(DC, Clip.left, Clip.top, Clip.right, Clip.bottom);
    DrawHeaderButton(DC, B);
  }

  void PaintBands() {
    Corner(DI.BandButtonRect, BandBrush.Handle());
    if (Empty(DI.BandRect) || DI.Bands.empty()) return;
    Canvas.Font()->Assign(T.BandFont());
    for (const TdxTreeListBandInfo& Band : DI.Bands) {
      const int Index = T.GetAbsoluteBandIndex(Band.Index);
      AnsiString Text = T.GetBandCaption(Index);
      TAlignment Alignment = T.GetBandAlignment(Index);
      TColor Color = T.BandColor();
      bool Done = false;
      if (T.IsBandCustomDraw()) {
        TSavedDC Saved(DC);
        IntersectClipRect(DC, Band.BandClipRect.left, Band.BandClipRect.top, Band.BandClipRect.right,
                          Band.BandClipRect.bottom);
        T.CustomDrawBand(Index, &Canvas, Band.BandRect, Text, Color, Canvas.Font(), Alignment, Done);
      }
      if (Done) continue;
      TSharedObject<HBRUSH> Own;
      THeaderButton B;
      B.Bounds = Band.BandRect;
      B.Brush = BrushFor(Color, T.BandColor(), BandBrush, Own);
      B.Look = T.LookAndFeel();
      B.Alignment = Alignment;
      B.MultiLine = T.BandRowCount() > 1;
      B.Text = Text;
      TextColor(Canvas.Font()->Color());
      TSelection Font(DC, Canvas.Font()->Handle());
      Button(B, Band.BandClipRect);
    }
  }

  void PaintHeaders() {
    Corner(DI.HeaderButtonRect, HeaderBrush.Handle());
    if (Empty(DI.HeaderRect) || DI.Headers.empty()) return;
    Canvas.Font()->Assign(T.HeaderFont());
    for (const TdxTreeListHeaderInfo& H : DI.Headers) {
      AnsiString Text = T.GetHeaderCaption(H.Column);
      TAlignment Alignment = T.GetColumnHeaderAlignment(H.Column);
      TdxTreeListColumnSort Sorted = T.GetColumnSorted(H.Column);
      TColor Color = T.HeaderColor();
      bool Done = false;
      if (T.IsHeaderCustomDraw(H.Column)) {
        TSavedDC Saved(DC);
        IntersectClipRect(DC, H.CellClipRect.left, H.CellClipRect.top, H.CellClipRect.right,
                          H.CellClipRect.bottom);
        T.CustomDrawHeader(H.Column, &Canvas, H.CellRect, Text, Color, Canvas.Font(), Alignment, Sorted, Done);
        Canvas.Font()->Assign(T.HeaderFont());
      }
      if (!Done) {
        TSharedObject<HBRUSH> Own;
        THeaderButton B;
        B.Bounds = H.CellRect;
        B.Brush = BrushFor(Color, T.HeaderColor(), HeaderBrush, Own);
        B.Look = T.LookAndFeel();
        B.EdgeKind = H.FirstInRow ? (H.LastInRow ? hekButton : hekFirst) : (H.LastInRow ? hekLast : hekInner);
        if (T.HasHeaderGlyph(H.Column)) B.Glyph = T.GetHeaderGlyph(H.Column)->Handle();
        B.Sort = Sorted;
        B.Alignment = Alignment;
        B.MultiLine = H.LineCount > 1 || T.HeaderPanelRowCount() > 1;
        B.Text = Text;
        TextColor(Canvas.Font()->Color());
        TSelection Font(DC, Canvas.Font()->Handle());
        Button(B, H.CellClipRect);
      }
      // The record's extended rectangle runs from the cell's top: the part below the
      // cell is the header rows the cell leaves empty.
      const TRect Below{H.ExtendedRect.left, std::max<int>(H.ExtendedRect.top, H.CellRect.bottom),
                        H.ExtendedRect.right, H.ExtendedRect.bottom};
      if (!Empty(Below)) FillRect(DC, &Below, ShadowBrush.Handle());
    }
    for (const TdxTreeListEmptyBandInfo& E : DI.EmptyBands)
      if (!Empty(E.Rect)) FillRect(DC, &E.Rect, ShadowBrush.Handle());
  }

  void PaintIndicator() {
    if (Empty(DI.IndRect) || DI.Rows.empty()) return;
    int Top = DI.CellsRect.top;
    for (const TdxTreeListRowInfo& Row : DI.Rows) {
      TRect Cell{DI.IndRect.left, Top, DI.IndRect.right, Top + Row.RowHeight};
      if (DI.LastRowBottom >= 0) Cell.bottom = std::min<int>(Cell.bottom, DI.LastRowBottom + 1);
      Corner(Cell, HeaderBrush.Handle());
      Top += Row.RowHeight;
    }
  }

  // The event's colour when it changed one, else the panel's own brush.
  static HBRUSH BrushFor(TColor Color, TColor Given, const TSharedObject<HBRUSH>& Panel,
                         TSharedObject<HBRUSH>& Own) {
    if (ColorToRGB(Color) == ColorToRGB(Given)) return Panel.Handle();
    Own = SolidBrush(Color);
    return Own.Handle();
  }
  void TextColor(TColor Color) { SetTextColor(DC, ColorToRGB(Color)); }

  bool ControlFocused() const {
    HWND Focus = GetFocus();
    return Focus && T.HandleAllocated() && (Focus == T.Handle() || IsChild(T.Handle(), Focus));
  }

  void PaintFooter();
  void PaintFooterCell(const TdxTreeListHeaderInfo& H, TRect R);
  void PaintRows();
  void PaintTreePart(const TdxTreeListRowInfo& Row, int Top);
  void PaintTreeLines(const TdxTreeListRowInfo& Row, int Top, int Bottom, int DL);
  void PaintCells(const TdxTreeListRowInfo& Row, int Top, bool Focused);

  TCustomdxTreeListControl& T;
  HDC DC;
  TCanvas Canvas;
  TdxTreeListDrawInfo DI;
  TSharedObject<HBRUSH> ColorBrush, BandBrush, HeaderBrush, ShadowBrush, HighlightBrush, HideSelectionBrush,
      FixedLineBrush, TreeLineBrush;
  std::vector<POINT> Grid;
};

void TTreeListPainter::PaintFooter() {
  if (!T.ShowFooter() || Empty(DI.FooterRect)) return;
  TRect R = DI.FooterRect;
  const int Widen = T.LookAndFeel() == lfStandard ? 2 : 1;
  if (DI.FixedLeftIndex < 0 && T.LeftCoord() != 0) R.left -= Widen;
  if (DI.FixedRightIndex < 0 && DI.BandsRightEdge >= R.right) R.right += Widen;
  if (T.LookAndFeel() == lfStandard) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&R, -1, -1);
    R.left -= 1;
    DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT);
  } else {
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_TOP);
    R.top += 1;
    if (T.LookAndFeel() == lfUltraFlat)
      FillRect(DC, &R, HeaderBrush.Handle());
    else
      DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT);
  }
  InflateRect(&R, -1, -1);
  FillRect(DC, &R, HeaderBrush.Handle());
  Canvas.Font()->Assign(T.Font());
  const int Line = T.FooterLineHeight();
  for (const TdxTreeListHeaderInfo& H : DI.Headers) {
    TRect Cell{H.CellRect.left, R.top + Line * H.RowIndex, H.CellRect.right,
               R.top + Line * (H.RowIndex + H.LineCount)};
    InflateRect(&Cell, -1, -1);
    if (H.FirstCell) Cell.left += 1;
    if (Empty(Cell) || !T.IsExistFooterCell(H.Column)) continue;
    PaintFooterCell(H, Cell);
  }
}

void TTreeListPainter::PaintFooterCell(const TdxTreeListHeaderInfo& H, TRect R) {
  if (T.LookAndFeel() == lfUltraFlat)
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  else
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&R, -1, -1);
  AnsiString Text;
  T.GetFooterCellText(nullptr, H.Column, -1, Text);
  TAlignment Alignment = T.GetColumnAlignment(H.Column);
  TColor Color = T.HeaderColor();
  bool Done = false;
  if (T.IsFooterCustomDraw(-1)) {
    Canvas.Font()->SetColor(T.Font()->Color());
    T.CustomDrawFooter(&Canvas, R, nullptr, H.Column, -1, Text, Color, Canvas.Font(), Alignment, Done);
  }
  if (!Done) {
    TSharedObject<HBRUSH> Own;
    TCellText Cell;
    Cell.Bounds = R;
    Cell.Brush = BrushFor(Color, T.HeaderColor(), HeaderBrush, Own);
    Cell.Background = Color;
    Cell.Alignment = Alignment;
    Cell.EndEllipsis = T.IsDrawEndEllipsis();
    Cell.MultiLine = H.LineCount > 1;
    Cell.Text = Text;
    TextColor(Canvas.Font()->Color());
    TSelection Font(DC, Canvas.Font()->Handle());
    DrawCellText(DC, Cell);
  }
  Canvas.Font()->Assign(T.Font());
}

void TTreeListPainter::PaintRows() {
  if (Empty(DI.CellsRect) || DI.Bands.empty()) return;
  const bool Focused = ControlFocused();
  int Top = DI.CellsRect.top;
  for (const TdxTreeListRowInfo& Row : DI.Rows) {
    PaintTreePart(Row, Top);
    PaintCells(Row, Top, Focused);
    Top += Row.RowHeight;
  }
  if (T.ShowGrid() && !DI.Headers.empty()) {
    const int X = DI.BandsRightEdge;
    Grid.push_back(POINT{X, DI.CellsRect.top});
    Grid.push_back(POINT{X, DI.LastRowBottom >= 0 ? DI.LastRowBottom + 1 : DI.CellsRect.bottom});
  }
  if (Grid.empty()) return;
  const TColor GridColor = T.GridLineColor() == clNone ? clBtnShadow : T.GridLineColor();
  TSharedObject<HPEN> Pen(AcquireSharedPen(LOGPEN{PS_SOLID, {1, 0}, ColorToRGB(T.ShowGrid() ? GridColor : T.Color())}));
  TSelection Selected(DC, Pen.Handle());
  std::vector<DWORD> Counts(Grid.size() / 2, 2);
  PolyPolyline(DC, Grid.data(), Counts.data(), static_cast<DWORD>(Counts.size()));
}

void TTreeListPainter::PaintTreePart(const TdxTreeListRowInfo& Row, int Top) {
  TdxTreeListNode* Node = Row.Node;
  const int I = T.LevelIndent();
  const int L = Node->Level();
  const bool Parent = Node->HasChildren() || Node->Count() > 0;
  const int DL = DI.CellsRect.left - (DI.FixedLeftIndex < 0 ? T.LeftCoord() : 0) - (T.ShowRoot() ? 0 : I);
  const int Bottom = Top + Row.RowHeight - Row.LevelFooterHeight;
  const int Cells = Parent || T.PaintStyle() == psStandard ? L + 1 : L;
  TSavedDC Saved(DC);
  const int Right = DI.CellsRect.left + (T.GetNodeContentOffset(Node) - 0);
  IntersectClipRect(DC, DI.CellsRect.left, Top, std::max<int>(DI.CellsRect.left, Right), Bottom);
  TRect Indent{DL, Top, DL + Cells * I, Bottom};
  FillRect(DC, &Indent, ColorBrush.Handle());
  if (T.ShowLines() && T.PaintStyle() == psStandard) PaintTreeLines(Row, Top, Bottom, DL);
  if (!T.ShowButtons() || !Parent || T.PaintStyle() != psStandard) return;
  // The 9 x 9 box in the node's own indent cell, centred on the row's middle.
  const int CellLeft = DL + L * I;
  const int M = Top + Row.RowHeight / 2;
  const int Left = (CellLeft + CellLeft + I - 1 - 9) / 2;
  TRect Box{Left, M - 4, Left + 9, M + 5};
  FrameRect(DC, &Box, GetSysColorBrush(COLOR_GRAYTEXT));
  TRect Minus{Box.left + 2, Box.top + 4, Box.right - 2, Box.top + 5};
  FillRect(DC, &Minus, GetSysColorBrush(COLOR_WINDOWTEXT));
  if (!Node->Expanded()) {
    TRect Plus{Box.left + 4, Box.top + 2, Box.left + 5, Box.bottom - 2};
    FillRect(DC, &Plus, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
}

void TTreeListPainter::PaintTreeLines(const TdxTreeListRowInfo& Row, int Top, int Bottom, int DL) {
  TdxTreeListNode* Node = Row.Node;
  const int I = T.LevelIndent();
  const int X0 = DL + Node->Level() * I;
  int C = X0 + I / 2 - 1;
  const int M = Top + Row.RowHeight / 2;
  const bool Button = T.ShowButtons() && (Node->HasChildren() || Node->Count() > 0);
  const bool First = T.Count() > 0 && Node == T.Items(0);
  const int Last = Bottom - 1;
  // Dotted lines: the checker's two colours follow the data area's parity, so the
  // dots of neighbouring rows line up.
  TSavedTextState Colours(DC);
  HBRUSH Brush = TreeLineBrush.Handle();
  if (T.TreeLineStyle() == tlDot) {
    const bool Same = (DI.CellsRect.left & 1) == (DI.CellsRect.top & 1);
    SetBkColor(DC, ColorToRGB(Same ? T.TreeLineColor() : T.Color()));
    SetTextColor(DC, ColorToRGB(Same ? T.Color() : T.TreeLineColor()));
    Brush = CheckerBrush();
  }
  auto Line = [&](int X1, int Y1, int X2, int Y2) {
    if (X2 < X1 || Y2 < Y1) return;
    const TRect R{X1, Y1, X2 + 1, Y2 + 1};
    FillRect(DC, &R, Brush);
  };
  Line(Button ? C + 5 : C, M, X0 + I - 1, M);
  if (Button) {
    Line(C, First ? M : Top, C, M - 5);
    if (!Node->IsLast()) Line(C, M + 5, C, Last);
  } else {
    Line(C, First ? M : Top, C, Node->IsLast() ? M : Last);
  }
  for (TdxTreeListNode* Up = Node->Parent(); Up; Up = Up->Parent()) {
    C -= I;
    if (!Up->IsLast()) Line(C, Top, C, Last);
  }
}

void TTreeListPainter::PaintCells(const TdxTreeListRowInfo& Row, int Top, bool Focused) {
  TdxTreeListNode* Node = Row.Node;
  const int H = T.DefaultRowHeight();
  const TdxTreeListOptions Options = T.Options();
  const bool RowSelect = Options.Contains(aoRowSelect);
  const bool Invert = T.OptionsEx().Contains(aoInvertSelect);
  const bool Multi = Options.Contains(aoMultiSelect);
  const bool FocusedNode = Node == T.FocusedNode();
  const int FocusedColumn = T.FocusedColumn();
  Canvas.Font()->Assign(T.Font());
  for (const TdxTreeListHeaderInfo& Header : DI.Headers) {
    TRect R{Header.CellRect.left, Top + H * Header.RowIndex, Header.CellRect.right,
            Top + H * (Header.RowIndex + Header.LineCount)};
    if (Header.BandIndex == 0) {
      const int BandLeft = DI.CellsRect.left - (DI.FixedLeftIndex < 0 ? T.LeftCoord() : 0);
      R.left = std::max<int>(R.left, BandLeft + T.GetNodeContentOffset(Node));
    }
    if (T.ShowGrid()) {
      Grid.push_back(POINT{R.right - 1, R.top});
      Grid.push_back(POINT{R.right - 1, R.bottom});
      Grid.push_back(POINT{R.left, R.bottom - 1});
      Grid.push_back(POINT{R.right, R.bottom - 1});
      R.right -= 1;
      R.bottom -= 1;
    }
    if (Empty(R)) continue;
    const int VisibleColumn = T.GetVisibleColumnIndex(Header.Column);
    const bool IsFocusedColumn = VisibleColumn == FocusedColumn;
    bool Selected = false;
    if (Row.Selected) {
      if (RowSelect || (Multi && !Invert))
        Selected = true;
      else if (Multi && Invert && !FocusedNode)
        Selected = true;
      else
        Selected = Invert ? !IsFocusedColumn : IsFocusedColumn;
    }
    TColor Back = T.GetColumnColor(Header.Column);
    TColor Text = T.IsColumnFontAssigned(Header.Column) ? T.GetColumnFont(Header.Column)->Color() : T.Font()->Color();
    HBRUSH Brush = nullptr;
    TSharedObject<HBRUSH> Own;
    if (Selected && (!T.HideSelection() || Focused)) {
      Back = Focused ? T.HighlightColor() : T.HideSelectionColor();
      Text = Focused ? T.HighlightTextColor() : T.HideSelectionTextColor();
      Brush = Focused ? HighlightBrush.Handle() : HideSelectionBrush.Handle();
    } else {
      Brush = BrushFor(Back, T.Color(), ColorBrush, Own);
    }
    TdxTreeListColumn* Column = T.Columns(Header.Column);
    TCellText Cell;
    Cell.Bounds = R;
    Cell.Alignment = T.GetColumnAlignment(Header.Column);
    Cell.Text = Column->GetDisplayText(Node);
    bool Done = false;
    const bool FocusedCell = Focused && FocusedNode && (Invert || RowSelect || IsFocusedColumn);
    if (T.IsCellCustomDraw(Header.Column)) {
      TdxTLCellDrawArgs Args{&Canvas, R, Node, Column, Selected, FocusedCell, false, Cell.Text,
                             Back, Canvas.Font(), Cell.Alignment, false};
      Canvas.Font()->SetColor(Text);
      T.CustomDrawCell(Args);
      Done = Args.Done;
      if (!Done) {
        if (ColorToRGB(Args.Color) != ColorToRGB(Back)) {
          Own = SolidBrush(Args.Color);
          Brush = Own.Handle();
          Back = Args.Color;
        }
        Text = Canvas.Font()->Color();
        Cell.Text = Args.Text;
        Cell.Alignment = Args.Alignment;
      }
      Canvas.Font()->Assign(T.Font());
    }
    if (!Done) {
      Cell.Brush = Brush;
      Cell.Background = Back;
      Cell.EndEllipsis = T.IsDrawEndEllipsis();
      Cell.MultiLine = Header.LineCount > 1;
      TextColor(Text);
      TSelection Font(DC, T.IsColumnFontAssigned(Header.Column) ? T.GetColumnFont(Header.Column)->Handle()
                                                                 : Canvas.Font()->Handle());
      DrawCellText(DC, Cell);
    }
    if (!RowSelect && !Invert && FocusedNode && IsFocusedColumn && !T.HideFocusRect()) {
      if (Focused) {
        TSavedTextState Colours(DC);
        SetBkColor(DC, 0);
        SetTextColor(DC, 0xFFFFFF);
        DrawFocusRect(DC, &R);
      } else {
        // The inactive frame: four inverted lines that do not overlap.
        const TRect Lines[] = {{R.left, R.top, R.right, R.top + 1},
                               {R.right - 1, R.top + 1, R.right, R.bottom},
                               {R.left, R.top + 1, R.left + 1, R.bottom},
                               {R.left + 1, R.bottom - 1, R.right - 1, R.bottom}};
        for (const TRect& Line : Lines) InvertRect(DC, &Line);
      }
    }
  }
}

void TCustomdxTreeListControl::Paint() {
  HDC Target = Canvas()->Handle();
  const TRect Client = ClientRect();
  TMemoryDC Buffer(Target, Client.right, Client.bottom);
  {
    TTreeListPainter Painter(*this, Buffer.DC());
    Painter.Run();
  }
  BitBlt(Target, 0, 0, Client.right, Client.bottom, Buffer.DC(), 0, 0, SRCCOPY);
}
