// The data area of the tree list's paint: the tree pass (indent cells, tree lines,
// expand buttons, state images and images) under one clip to the tree part, then the
// cell pass (fixed-band separators, cells with their selection colours and focus
// rectangles, previews, row footers), the grid gathered on the way and drawn with one
// PolyPolyline. What a row needs of the node and the layout is worked out once per
// row (RowFor) and handed down.
#include <algorithm>

#include "classlib/ImgList.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "editors/dxDrawing.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Painter.h"

TTreeListPainter::TRowPaint TTreeListPainter::RowFor(const TdxTreeListRowInfo& Info, int Top) {
  TRowPaint R;
  R.Info = &Info;
  R.Node = Info.Node;
  R.Top = Top;
  R.Bottom = Top + Info.RowHeight - Info.LevelFooterHeight;
  R.Level = R.Node->Level();
  R.Parent = R.Node->HasChildren() || R.Node->Count() > 0;
  R.Group = R.Parent && T.PaintStyle() == psOutlook;
  R.CellsBottom = std::min(R.Bottom, Top + T.DefaultRowHeight() * T.HeaderPanelRowCount() +
                                         (R.Group && !T.ShowGrid() ? 1 : 0));
  R.BandLeft = DI.CellsRect.left - (DI.FixedLeftIndex < 0 ? T.LeftCoord() : 0);
  R.IndentLeft = R.BandLeft - (T.ShowRoot() ? 0 : T.LevelIndent());
  R.ContentLeft = R.BandLeft + T.GetNodeContentOffset(R.Node);
  R.FocusedNode = R.Node == T.FocusedNode();
  return R;
}

void TTreeListPainter::PaintRows() {
  const TRect Right = DI.EmptyRectRight, Below = DI.EmptyRectBottom;
  if (Visible(Right)) FillRect(DC, &Right, ColorBrush.Handle());
  if (Visible(Below)) FillRect(DC, &Below, ColorBrush.Handle());
  if (!Visible(DI.CellsRect) || DI.Bands.empty()) return;
  Focused = ControlFocused();
  // Every row's frame, worked out once for both passes.
  std::vector<TRowPaint> Rows;
  Rows.reserve(DI.Rows.size());
  int Top = DI.CellsRect.top;
  for (size_t I = 0; I < DI.Rows.size(); ++I) {
    Rows.push_back(RowFor(DI.Rows[I], Top));
    Top += DI.Rows[I].RowHeight;
  }
  if (!Rows.empty()) {
    // The tree part: the first band's width from the data area's left, scrolled.
    const int Width = DI.FirstBandWidth - (DI.FixedLeftIndex < 0 ? T.LeftCoord() : 0);
    const TRect Tree{DI.CellsRect.left, DI.CellsRect.top, DI.CellsRect.left + std::max(Width, 0),
                     DI.CellsRect.bottom};
    if (Visible(Tree)) {
      Clip.Push(Tree);
      TSavedTextState Colours(DC);
      for (const TRowPaint& Row : Rows) {
        T.BeginRow(Row.Node);
        auto RowEnd = AtScopeEnd([&] { T.EndRow(Row.Node); });
        PaintTreePart(Row);
      }
      Clip.Pop();
    }
  }
  Canvas.Font()->Assign(T.Font());
  TextColor(T.Font()->Color());
  for (size_t I = 0; I < Rows.size(); ++I) {
    const TRowPaint& Row = Rows[I];
    if (!Visible(TRect{DI.CellsRect.left, Row.Top, DI.CellsRect.right, Row.Top + Row.Info->RowHeight})) continue;
    T.BeginRow(Row.Node);
    auto RowEnd = AtScopeEnd([&] { T.EndRow(Row.Node); });
    PaintFixedSeparators(Row.Top, Row.Top + Row.Info->RowHeight);
    PaintCells(Row);
    if (Row.Info->PreviewLineCount > 0) PaintPreview(Row);
    if (Row.Info->LevelFooterCount > 0) PaintRowFooters(Row);
    if (T.ShowGrid()) {
      // Under the indent, from where the row's grid line starts to the content.
      const TdxTreeListRowInfo* Next = I + 1 < Rows.size() ? Rows[I + 1].Info : nullptr;
      const int Y = Row.Bottom - 1;
      AddGridLine(Row.BandLeft + GridStart(Row, Next), Y, Row.ContentLeft, Y);
    }
  }
  if (T.ShowGrid() && !DI.Headers.empty()) {
    const int X = DI.BandsRightEdge;
    AddGridLine(X, DI.CellsRect.top, X, DI.LastRowBottom >= 0 ? DI.LastRowBottom + 1 : DI.CellsRect.bottom);
  }
  if (Grid.empty()) return;
  const TColor GridColor = T.ShowGrid() ? T.GetGridLineColorOrDefault() : T.Color();
  TSharedObject<HPEN> Pen(AcquireSharedPen(LOGPEN{PS_SOLID, {1, 0}, ColorToRGB(GridColor)}));
  TSelection Selected(DC, Pen.Handle());
  std::vector<DWORD> Counts(Grid.size() / 2, 2);
  PolyPolyline(DC, Grid.data(), Counts.data(), static_cast<DWORD>(Counts.size()));
}

// A segment from (X1, Y1) to (X2, Y2), the end excluded; cut to the pushed clip's
// sides.
void TTreeListPainter::AddGridLine(int X1, int Y1, int X2, int Y2) {
  if (Clip.Pushed()) {
    X1 = std::max<int>(X1, Clip.Rect().left);
    X2 = std::min<int>(X2, Clip.Rect().right);
  }
  if (X2 < X1 || Y2 < Y1 || (X1 == X2 && Y1 == Y2)) return;
  Grid.push_back(POINT{X1, Y1});
  Grid.push_back(POINT{X2, Y2});
}

// Where the grid line under a row's indent starts, from the band's left.
int TTreeListPainter::GridStart(const TRowPaint& Row, const TdxTreeListRowInfo* Next) const {
  const int I = T.LevelIndent();
  int Start = Row.Level * I;
  if (Row.Node->Expanded() && Row.Parent) Start += I - 1;
  if (!Row.Parent && Row.Node->IsLast()) Start -= I;
  if (Next && Next->Node->Level() < Row.Level) Start = Next->Node->Level() * I;
  if (!Next) Start = 0;
  if (!T.ShowRoot()) Start -= I;
  return std::max(Start, T.ShowRoot() ? 0 : -I);
}

// ---------------------------------------------------------------------------------
// The tree pass

void TTreeListPainter::PaintTreePart(const TRowPaint& Row) {
  const TRect Whole{Row.IndentLeft, Row.Top, Row.ContentLeft, Row.Top + Row.Info->RowHeight};
  if (!Visible(Whole)) return;
  const int I = T.LevelIndent();
  const bool Standard = T.PaintStyle() == psStandard;
  // The indent cells: the buffer's Color already stands in the standard style; the
  // Outlook style colours the levels of a group.
  HBRUSH ImageBrush = ColorBrush.Handle();
  if (!Standard) {
    const int Cells = Row.Parent ? Row.Level + 1 : Row.Level;
    const int Coloured = Row.Parent ? Row.Level : Row.Level - 1;
    for (int C = 0; C < Cells; ++C) {
      const int Above = Row.Info->LevelFooterCount > 0 ? T.GetFooterCountAboveLevel(Row.Node, C) : 0;
      TRect Cell{Row.IndentLeft + C * I, Row.Top, Row.IndentLeft + (C + 1) * I,
                 Row.Top + Row.Info->RowHeight - std::max(Above, 0) * T.RowFooterHeight()};
      if (!Visible(Cell)) continue;
      FillRect(DC, &Cell, C <= Coloured ? LevelBrush(C, T.GroupNodeColor(), GroupBrush.Handle()) : ColorBrush.Handle());
    }
    if (Row.Parent) ImageBrush = LevelBrush(Row.Level, T.GroupNodeColor(), GroupBrush.Handle());
  }
  if (Standard && T.ShowLines()) PaintTreeLines(Row);
  if (T.ShowButtons() && Row.Parent) PaintExpandButton(Row);
  PaintImages(Row, ImageBrush);
}

void TTreeListPainter::PaintTreeLines(const TRowPaint& Row) {
  TdxTreeListNode* Node = Row.Node;
  const int I = T.LevelIndent();
  const int X0 = Row.IndentLeft + Row.Level * I;
  int C = X0 + I / 2 - 1;
  const int Top = Row.Top, Last = Row.Bottom - 1;
  const int M = Top + Row.Info->RowHeight / 2;
  const bool Button = T.ShowButtons() && Row.Parent;
  const bool First = T.Count() > 0 && Node == T.Items(0);
  // Dotted lines: the checker's two colours follow the data area's parity, so the
  // dots of neighbouring rows line up (the caller keeps the DC's colours).
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
  // A first child leaves its parent's image: the line starts higher by the part of
  // the row above that the image leaves free.
  int Upper = Top;
  const int ImageHeight = T.Images() ? T.Images()->Height() : 0;
  if (ImageHeight > 0 && Node->Parent() && Node->Index() == 0 && Row.Info != &DI.Rows.front())
    Upper -= std::max((Row.Info[-1].RowHeight - ImageHeight) / 2, 0);
  Line(Button ? C + 5 : C, M, X0 + I - 1, M);
  if (Button) {
    Line(C, First ? M : Upper, C, M - 5);
    if (!Node->IsLast()) Line(C, M + 5, C, Last);
  } else {
    Line(C, First ? M : Upper, C, Node->IsLast() ? M : Last);
  }
  for (TdxTreeListNode* Up = Node->Parent(); Up; Up = Up->Parent()) {
    C -= I;
    if (!Up->IsLast()) Line(C, Top, C, Last);
  }
}

void TTreeListPainter::PaintExpandButton(const TRowPaint& Row) {
  const int I = T.LevelIndent();
  const int Left = Row.IndentLeft + Row.Level * I;
  const TRect Cell{Left, Row.Top, Left + I - 1, Row.Bottom};
  if (!Visible(Cell)) return;
  const bool Collapsed = !Row.Node->Expanded();
  const int M = Row.Top + Row.Info->RowHeight / 2;
  if (T.PaintStyle() == psStandard) {
    // The 9 x 9 box centred on the row's middle.
    const int BoxLeft = (Cell.left + Cell.right - 9) / 2;
    const TRect Box{BoxLeft, M - 4, BoxLeft + 9, M + 5};
    FrameRect(DC, &Box, GetSysColorBrush(COLOR_GRAYTEXT));
    const TRect Minus{Box.left + 2, Box.top + 4, Box.right - 2, Box.top + 5};
    FillRect(DC, &Minus, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (Collapsed) {
      const TRect Plus{Box.left + 4, Box.top + 2, Box.left + 5, Box.bottom - 2};
      FillRect(DC, &Plus, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    return;
  }
  if (T.LookAndFeel() == lfUltraFlat) {
    // An 11 x 11 box with a one-pixel shadow.
    const POINT At = CenteredOrigin(Cell, 11, 11);
    TRect Box{At.x, At.y, At.x + 11, At.y + 11};
    TRect Shadow = Box;
    OffsetRect(&Shadow, 1, 1);
    DrawEdge(DC, &Shadow, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM | BF_FLAT);
    HBRUSH Frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    FrameRect(DC, &Box, Frame);
    Box.right -= 1;
    Box.bottom -= 1;
    const TRect Minus{Box.left + 3, Box.top + 5, Box.left + 8, Box.top + 6};
    FillRect(DC, &Minus, Frame);
    if (Collapsed) {
      const TRect Plus{Box.left + 5, Box.top + 3, Box.left + 6, Box.top + 8};
      FillRect(DC, &Plus, Frame);
    }
    return;
  }
  TdxTreeListExpandGlyphs& Glyphs = T.PaintState().Glyphs;
  if (!Glyphs.Collapsed()) Glyphs.Make();
  if (!GlyphDC) GlyphDC.Reset(CountHandle(CreateCompatibleDC(DC)));
  constexpr int S = TdxTreeListExpandGlyphs::Size;
  const POINT At = CenteredOrigin(Cell, S, S);
  TSelection Selected(GlyphDC.Handle(), Collapsed ? Glyphs.Collapsed() : Glyphs.Expanded());
  BitBlt(DC, At.x, At.y, S, S, GlyphDC.Handle(), 0, 0, SRCCOPY);
}

// The state image, then the image, right before the content.
void TTreeListPainter::PaintImages(const TRowPaint& Row, HBRUSH Brush) {
  TCustomImageList* Images = T.Images();
  TCustomImageList* States = T.StateImages();
  const int StateIndex = Row.Node->StateIndex();
  const int StateWidth = States && StateIndex != -1 ? States->Width() : 0;
  const int ImageWidth = Images ? Images->Width() : 0;
  int X = Row.ContentLeft - ImageWidth - StateWidth;
  if (StateWidth > 0) {
    const TRect R{X, Row.Top, X + StateWidth, Row.CellsBottom};
    if (Visible(R)) {
      FillRect(DC, &R, Brush);
      const POINT At = CenteredOrigin(R, States->Width(), States->Height());
      if (StateIndex >= 0 && StateIndex < States->Count()) States->Draw(&Canvas, At.x, At.y, StateIndex);
    }
    X += StateWidth;
  }
  if (ImageWidth <= 0) return;
  const TRect R{X, Row.Top, X + ImageWidth, Row.CellsBottom};
  if (!Visible(R)) return;
  FillRect(DC, &R, Brush);
  const int Index = Row.Info->Selected ? Row.Node->SelectedIndex() : Row.Node->ImageIndex();
  if (Index < 0 || Index >= Images->Count()) return;
  const POINT At = CenteredOrigin(R, Images->Width(), Images->Height());
  Images->Draw(&Canvas, At.x, At.y, Index);
}

// ---------------------------------------------------------------------------------
// The cell pass

void TTreeListPainter::PaintFixedSeparators(int Top, int Bottom) {
  const int W = T.FixedBandLineWidth();
  if (DI.FixedLeftIndex >= 0) {
    const TRect Strip{DI.FixedBandLeftRect.right - W, Top, DI.FixedBandLeftRect.right, Bottom};
    if (Visible(Strip)) FillRect(DC, &Strip, FixedLineBrush.Handle());
  }
  if (DI.FixedRightIndex >= 0) {
    const TRect Strip{DI.FixedBandRightRect.left, Top, DI.FixedBandRightRect.left + W, Bottom};
    if (Visible(Strip)) FillRect(DC, &Strip, FixedLineBrush.Handle());
  }
}

void TTreeListPainter::PaintCells(const TRowPaint& Row) {
  const int H = T.DefaultRowHeight();
  const TdxTreeListOptions Options = T.Options();
  const bool RowSelect = Options.Contains(aoRowSelect);
  const bool Invert = T.OptionsEx().Contains(aoInvertSelect);
  const int FocusedColumn = T.FocusedColumn();
  const bool MultiLineRow = Row.Info->RowLineCount > 1;
  const int Rows = T.HeaderPanelRowCount();
  const bool Preview = Row.Info->PreviewLineCount > 0;
  const bool BothGrids = T.ShowGrid() && T.ShowPreviewGrid();
  // Without grid lines a group row of the Outlook style starts with a one-pixel
  // separator above its cells.
  const int Extra = Row.Group && !T.ShowGrid() ? 1 : 0;
  if (Extra) {
    const TRect Line{Row.ContentLeft, Row.Top, DI.BandsRightEdge + 1, Row.Top + 1};
    if (Visible(Line)) FillRect(DC, &Line, ShadowBrush.Handle());
  }
  for (size_t I = 0; I < DI.Headers.size(); ++I) {
    const TdxTreeListHeaderInfo& Header = DI.Headers[I];
    const TColumnPaint& Column = Columns[I];
    TRect R{Header.CellRect.left, Row.Top + Extra + H * Header.RowIndex, Header.CellRect.right,
            Row.Top + Extra + H * (Header.RowIndex + Header.LineCount)};
    if (Header.BandIndex == 0) R.left = std::max<int>(R.left, Row.ContentLeft);
    // A cell cut by a fixed band is drawn inside the scrolling part only.
    const bool Cut = Header.CellClipRect.left != Header.CellRect.left || Header.CellClipRect.right != Header.CellRect.right;
    if (Cut) Clip.Push(TRect{Header.CellClipRect.left, R.top, Header.CellClipRect.right, R.bottom});
    auto PopAtEnd = ScopeExit([&] {
      if (Cut) Clip.Pop();
    });
    if (T.ShowGrid()) {
      // Inner lines of a multi-line row under their cells; the last line's under the
      // row, or, with a preview, the preview's own lines.
      if (Header.RowIndex + Header.LineCount < Rows) {
        AddGridLine(R.left, R.bottom - 1, R.right, R.bottom - 1);
        R.bottom -= 1;
      } else if (Preview) {
        if (BothGrids) R.bottom -= 1;
      } else {
        R.bottom = std::min<int>(R.bottom - (BothGrids ? 1 : 0), Row.Bottom - 1);
        AddGridLine(R.left, Row.Bottom - 1, R.right, Row.Bottom - 1);
      }
      AddGridLine(R.right - 1, R.top, R.right - 1, R.bottom + (Preview ? 0 : 1));
      R.right -= 1;
    }
    if (!Visible(R)) continue;
    const bool IsFocusedColumn = Header.VisibleColumn == FocusedColumn;
    TdxTreeListCellPaint Cell;
    Cell.Canvas = &Canvas;
    Cell.Rect = R;
    Cell.Node = Row.Node;
    Cell.Column = Header.Column;
    SelectionAndColours(Row, &Column, IsFocusedColumn, Cell);
    Cell.Focused = Focused && Row.FocusedNode && (Invert || RowSelect || IsFocusedColumn);
    Cell.MultiLine = Header.LineCount > 1 || MultiLineRow || Header.MultiLine;
    Cell.LeftEdge = Header.FirstCell;
    Cell.RightEdge = Header.LastCell;
    Cell.ColumnColor = Column.Color;
    Cell.ColumnBrush = Column.Brush;
    T.DrawDataCell(Cell);
    if (!RowSelect && !Invert && Row.FocusedNode && IsFocusedColumn) {
      if (Focused && !T.HideFocusRect()) {
        TSavedTextState Colours(DC);
        SetBkColor(DC, 0);
        SetTextColor(DC, 0xFFFFFF);
        DrawFocusRect(DC, &R);
      } else if (!Focused && !T.HideFocusRectFlag() && !T.DragObject()) {
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

// The preview below the cells, from the content's left to the bands' right edge.
void TTreeListPainter::PaintPreview(const TRowPaint& Row) {
  // The text gets the whole height between the lines: the rectangle reaches over the
  // grid lines above and below it, which the grid draws again at the end.
  const bool BothGrids = T.ShowGrid() && T.ShowPreviewGrid();
  TRect R{Row.ContentLeft, Row.CellsBottom - (BothGrids ? 1 : 0), DI.BandsRightEdge + (T.ShowGrid() ? 0 : 1),
          Row.Bottom};
  if (BothGrids) AddGridLine(R.left, R.top, R.right + 1, R.top);
  if (T.ShowGrid()) AddGridLine(R.left, R.bottom - 1, R.right + 1, R.bottom - 1);
  if (!Visible(R)) return;
  TdxTreeListCellPaint Cell;
  Cell.Canvas = &Canvas;
  Cell.Rect = R;
  Cell.Node = Row.Node;
  SelectionAndColours(Row, nullptr, false, Cell);
  T.DrawPreview(Cell);
}

// Whether a cell of the row shows selected, and its background, text colour and brush.
// The preview is a cell of no column (Column null), never the focused column.
void TTreeListPainter::SelectionAndColours(const TRowPaint& Row, const TColumnPaint* Column,
                                           bool IsFocusedColumn, TdxTreeListCellPaint& Cell) {
  const TdxTreeListOptions Options = T.Options();
  const bool RowSelect = Options.Contains(aoRowSelect);
  const bool Invert = T.OptionsEx().Contains(aoInvertSelect);
  const bool Multi = Options.Contains(aoMultiSelect);
  bool Selected = false;
  if (Row.Info->Selected) {
    if (RowSelect || (Multi && !Invert))
      Selected = true;
    else if (Multi && Invert && !Row.FocusedNode)
      Selected = true;
    else
      Selected = Invert ? !IsFocusedColumn : IsFocusedColumn;
  }
  Cell.Selected = Selected && (!T.HideSelection() || Focused);
  // A drag over the unfocused control shows where the focus follows it.
  if (!Focused && Row.FocusedNode && T.DragObject()) {
    Cell.Color = T.HighlightColor();
    Cell.TextColor = T.HighlightTextColor();
    Cell.Brush = HighlightBrush.Handle();
  } else if (Cell.Selected) {
    Cell.Color = Focused ? T.HighlightColor() : T.HideSelectionColor();
    Cell.TextColor = Focused ? T.HighlightTextColor() : T.HideSelectionTextColor();
    Cell.Brush = Focused ? HighlightBrush.Handle() : HideSelectionBrush.Handle();
  } else if (Row.Group || Row.Info->Group) {
    Cell.Color = T.GroupNodeColor();
    Cell.TextColor = T.GroupNodeTextColor() == clNone ? T.Font()->Color() : T.GroupNodeTextColor();
    Cell.Brush = LevelBrush(Row.Level, T.GroupNodeColor(), GroupBrush.Handle(), &Cell.Color);
  } else if (Column) {
    Cell.Color = Column->Color;
    Cell.TextColor = Column->TextColor;
    Cell.Brush = Column->Brush;
  } else {
    Cell.Color = T.Color();
    Cell.TextColor = T.Font()->Color();
    Cell.Brush = ColorBrush.Handle();
  }
}

// The row's level footers, each a band of framed cells in RowFooterColor (or its
// level's colour).
void TTreeListPainter::PaintRowFooters(const TRowPaint& Row) {
  const int GridPixel = T.ShowGrid() ? 1 : 0;
  const int FootersTop = Row.Top + Row.Info->RowHeight - Row.Info->LevelFooterHeight;
  const int Line = T.FooterLineHeight();
  for (int F = 0; F < Row.Info->LevelFooterCount; ++F) {
    TRect R{};
    T.CalcRowFooterRect(Row.Node, F, R, DI, GridPixel, FootersTop);
    if (!Visible(R)) continue;
    const int Level = T.GetLevelFooterLevel(Row.Node, F);
    TColor Color = T.RowFooterColor();
    HBRUSH Brush = LevelBrush(Level, T.RowFooterColor(), RowFooterBrush.Handle(), &Color);
    FillRect(DC, &R, Brush);
    for (size_t I = 0; I < DI.Headers.size(); ++I) {
      const TdxTreeListHeaderInfo& H = DI.Headers[I];
      TRect Cell{std::max<int>(H.CellRect.left, R.left), R.top + 1 + Line * H.RowIndex, H.CellRect.right,
                 R.top + 1 + Line * (H.RowIndex + H.LineCount)};
      Cell.right = std::min<int>(Cell.right, R.right);
      InflateRect(&Cell, -1, -1);
      if (!Visible(Cell) || !T.IsExistRowFooterCell(Row.Node, H.Column, F)) continue;
      FrameFooterCell(Cell);
      TdxTreeListCellPaint Paint;
      Paint.Canvas = &Canvas;
      Paint.Rect = Cell;
      Paint.Node = Row.Node;
      Paint.Column = H.Column;
      Paint.FooterIndex = F;
      Paint.Color = Color;
      Paint.TextColor = T.RowFooterTextColor();
      Paint.Brush = Brush;
      Paint.MultiLine = H.LineCount > 1;
      Paint.LeftEdge = H.FirstCell;
      Paint.RightEdge = H.LastCell;
      Paint.ColumnColor = Columns[I].Color;
      Paint.ColumnBrush = Columns[I].Brush;
      T.DrawFooterCell(Paint);
    }
  }
}
