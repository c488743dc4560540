// The tree list's three draw operations and the content of a data cell. A data cell
// fires its custom-draw events and is then painted by its column's editor kind from
// the cell view data, as the editor that opens over it would paint itself; the
// incremental search paints the matched prefix over it. Footer, row-footer and
// preview cells fire their events and draw their texts directly. A handler's font
// changes are undone after its cell through the scratch font.
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "editors/dxEditor.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Draw.h"

namespace {

TSharedObject<HBRUSH> SolidBrush(TColor Color) {
  return TSharedObject<HBRUSH>(AcquireSharedBrush(LOGBRUSH{BS_SOLID, ColorToRGB(Color), 0}));
}

// A colour a handler changed replaces the cell's background and brush.
void TakeColor(TdxTreeListCellPaint& Cell, TColor Color, TSharedObject<HBRUSH>& Own) {
  if (ColorToRGB(Color) == ColorToRGB(Cell.Color)) return;
  Own = SolidBrush(Color);
  Cell.Brush = Own.Handle();
  Cell.Color = Color;
}

TColor Inverse(TColor Color) { return static_cast<TColor>(ColorToRGB(Color) ^ 0xFFFFFF); }

}  // namespace

TdxTreeListPaintState& TCustomdxTreeList::PaintState() {
  if (!FPaintState) FPaintState.reset(new TdxTreeListPaintState);
  return *FPaintState;
}

Byte TdxTreeList::GetNodeIndicatorKind(TdxTreeListNode* Node) {
  const bool Selected = Node->Selected();
  if (Node == FocusedNode()) return Selected && Options().Contains(aoMultiSelect) ? 5 : 1;
  return Selected ? 4 : 0;
}

void TCustomdxTreeListControl::DrawDataCell(TdxTreeListCellPaint& Cell) {
  TdxTreeListNode* Node = Cell.Node;
  if (Node) BeginRow(Node);
  auto RowEnd = AtScopeEnd([&] {
    if (Node) EndRow(Node);
  });
  TdxTreeListColumn* Column = Columns(Cell.Column);
  TCanvas* Canvas = Cell.Canvas;
  AnsiString Text = Column->GetDisplayText(Node);
  TAlignment Alignment = GetColumnAlignment(Cell.Column);
  const bool OwnFont = IsColumnFontAssigned(Cell.Column);
  const bool Event = IsCellCustomDraw(Cell.Column);
  TFont* Scratch = PaintState().ScratchFont;
  bool Replaced = false;
  auto RestoreFont = ScopeExit([&] {
    if (Replaced) Canvas->Font()->Assign(Scratch);
  });
  if (OwnFont || Event) {
    if (!OwnFont) Canvas->Font()->SetColor(Cell.TextColor);
    Scratch->Assign(Canvas->Font());
    Replaced = true;
    if (OwnFont) {
      Canvas->Font()->Assign(GetColumnFont(Cell.Column));
      if (Cell.Selected)
        Canvas->Font()->SetColor(Cell.TextColor);
      else
        Cell.TextColor = Canvas->Font()->Color();
    }
  }
  TSharedObject<HBRUSH> Own;
  if (Event) {
    TdxTLCellDrawArgs Args{Canvas, Cell.Rect, Node, Column, Cell.Selected, Cell.Focused, false, Text,
                           Cell.Color, Canvas->Font(), Alignment, false};
    CustomDrawCell(Args);
    if (Args.Done) return;
    TakeColor(Cell, Args.Color, Own);
    Cell.TextColor = Canvas->Font()->Color();
    Text = Args.Text;
    Alignment = Args.Alignment;
  }
  TdxTreeListCellViewData& Data = PaintState().ViewData;
  Data.Brush = Cell.Brush;
  Data.Font = Canvas->Font()->Handle();
  Data.Color = Cell.Color;
  Data.TextColor = Cell.TextColor;
  Data.Alignment = Alignment;
  Data.Text = Text;
  Data.PrefixLength = 0;
  Data.Selected = Cell.Selected;
  Data.InvertSelect = OptionsEx().Contains(aoInvertSelect);
  Data.LeftEdge = Cell.LeftEdge;
  Data.RightEdge = Cell.RightEdge;
  Data.MultiLine = Cell.MultiLine;
  Data.PrefixPass = false;
  Data.EndEllipsis = IsDrawEndEllipsis();
  Data.Node = Node;
  Data.NewItemRow = false;
  Data.SelectionColor = Cell.Focused ? HighlightColor() : HideSelectionColor();
  Data.ColumnColor = Cell.ColumnColor;
  Data.ColumnBrush = Cell.ColumnBrush;
  Data.Hot = IsHotCell(Node, Cell.Column);
  Data.Bounds = TRect{-2, -2, Cell.Rect.right - Cell.Rect.left + 2, Cell.Rect.bottom - Cell.Rect.top + 2};
  DrawCellContent(Canvas, Cell.Rect, Data, Cell.Column);
  if (!Cell.Focused || !Node) return;
  int SearchColumn = -1;
  AnsiString SearchText;
  if (GetSearchState(SearchColumn, SearchText) && SearchColumn == Cell.Column && !SearchText.empty()) {
    // The matched prefix in the search colours, over the text just drawn.
    Data.Color = AutoSearchColor() == clNone ? Inverse(Cell.Color) : AutoSearchColor();
    Data.TextColor = AutoSearchTextColor() == clNone ? Inverse(Cell.TextColor) : AutoSearchTextColor();
    Data.PrefixLength = static_cast<int>(SearchText.size());
    Data.PrefixPass = true;
    DrawCellContent(Canvas, Cell.Rect, Data, Cell.Column);
  }
  // The focused cell of a selected row (row or inverted selection) carries the focus
  // rectangle; its inner sides reach the neighbours so the row reads as one.
  const bool RowFocus = Options().Contains(aoRowSelect) || OptionsEx().Contains(aoInvertSelect);
  if (!RowFocus || HideFocusRect()) return;
  TRect R = Cell.Rect;
  InflateRect(&R, -1, -1);
  if (!Cell.LeftEdge) R.left -= 1;
  if (!Cell.RightEdge) R.right += 1;
  TSavedTextState Colours(Canvas->Handle());
  SetBkColor(Canvas->Handle(), 0);
  SetTextColor(Canvas->Handle(), 0xFFFFFF);
  DrawFocusRect(Canvas->Handle(), &R);
}

void TCustomdxTreeListControl::DrawCellContent(TCanvas* Canvas, const TRect& Rect, TdxTreeListCellViewData& Data,
                                               int Column) {
  HDC DC = Canvas->Handle();
  TdxTreeListColumn* C = Columns(Column);
  TRect R = Rect;
  if (Data.InvertSelect && !Data.PrefixPass) C->FillCellFrame(DC, R, Data.LeftEdge, Data.RightEdge, Data.Brush);
  if (Data.PrefixPass) {
    // Only the prefix, opaque in the search colours, where the whole text stands.
    TCellText Prefix;
    Prefix.Bounds = R;
    Prefix.Pass = 1;
    Prefix.Alignment = Data.Alignment;
    Prefix.Count = Data.PrefixLength;
    Prefix.Text = Data.Text;
    Prefix.Background = Data.Color;
    TSavedTextState Saved(DC);
    Saved.SelectFont(Data.Font);
    SetTextColor(DC, ColorToRGB(Data.TextColor));
    DrawCellText(DC, Prefix);
    return;
  }
  // The column knows the node for the whole paint (a column that forwards to another
  // per node picks by it).
  TValueScope<TdxTreeListNode*> Current(C->CurrentNodeField(), Data.Node);
  TdxEditViewData* View = C->GetViewData();
  TdxTreeListCellInfo Info;
  Info.Bounds = Data.Bounds;
  Info.Node = Data.Node;
  Info.Color = Data.Color;
  Info.TextColor = Data.TextColor;
  Info.Brush = Data.Brush;
  Info.Text = Data.Text;
  Info.Alignment = Data.Alignment;
  Info.Selected = Data.Selected;
  Info.FontHandle = Data.Font;
  C->FillViewData(View, Info);
  View->Hot = Data.Hot;
  if (Data.MultiLine) View->VerticalLayout = 3;
  if (auto* Text = ObjectAs<TdxTextEditViewData>(View)) Text->EndEllipsis = Data.EndEllipsis;
  // The editor's whole paint over the cell grown by 2 pixels: without a border its
  // content is the cell, less the room of its buttons, which it paints as well.
  TRect Outer = R;
  InflateRect(&Outer, 2, 2);
  C->GetEditorClass()->Draw(DC, Outer, View, nullptr);
}

void TCustomdxTreeListControl::DrawFooterCell(TdxTreeListCellPaint& Cell) {
  TdxTreeListNode* Node = Cell.Node;
  if (Node) BeginRow(Node);
  auto RowEnd = AtScopeEnd([&] {
    if (Node) EndRow(Node);
  });
  TCanvas* Canvas = Cell.Canvas;
  AnsiString Text;
  GetFooterCellText(Node, Cell.Column, Cell.FooterIndex, Text);
  TAlignment Alignment = GetColumnAlignment(Cell.Column);
  TFont* Scratch = PaintState().ScratchFont;
  bool Replaced = false;
  auto RestoreFont = ScopeExit([&] {
    if (Replaced) Canvas->Font()->Assign(Scratch);
  });
  TSharedObject<HBRUSH> Own;
  if (IsFooterCustomDraw(Cell.FooterIndex)) {
    Canvas->Font()->SetColor(Cell.TextColor);
    Scratch->Assign(Canvas->Font());
    Replaced = true;
    TColor Color = Cell.Color;
    bool Done = false;
    CustomDrawFooter(Canvas, Cell.Rect, Node, Cell.Column, Cell.FooterIndex, Text, Color, Canvas->Font(), Alignment,
                     Done);
    if (Done) return;
    TakeColor(Cell, Color, Own);
    Cell.TextColor = Canvas->Font()->Color();
  }
  TCellText Draw;
  Draw.Bounds = Cell.Rect;
  Draw.Brush = Cell.Brush;
  Draw.Background = Cell.Color;
  Draw.Alignment = Alignment;
  Draw.EndEllipsis = IsDrawEndEllipsis();
  Draw.MultiLine = Cell.MultiLine;
  Draw.Text = Text;
  HDC DC = Canvas->Handle();
  TSavedTextState Saved(DC);
  Saved.SelectFont(Canvas->Font()->Handle());
  SetTextColor(DC, ColorToRGB(Cell.TextColor));
  DrawCellText(DC, Draw);
}

void TCustomdxTreeListControl::DrawPreview(TdxTreeListCellPaint& Cell) {
  TCanvas* Canvas = Cell.Canvas;
  AnsiString Text;
  GetPreviewText(Cell.Node, Text);
  if (ColorToRGB(Cell.Color) != ColorToRGB(HighlightColor())) Cell.TextColor = PreviewFont()->Color();
  TFont* Scratch = PaintState().ScratchFont;
  Scratch->Assign(Canvas->Font());
  auto RestoreFont = ScopeExit([&] { Canvas->Font()->Assign(Scratch); });
  Canvas->Font()->Assign(PreviewFont());
  TSharedObject<HBRUSH> Own;
  if (IsPreviewCustomDraw()) {
    TColor Color = Cell.Color, TextColor = Cell.TextColor;
    bool Done = false;
    CustomDrawPreview(Canvas, Cell.Rect, Cell.Node, Cell.Selected, Text, Color, TextColor, Canvas->Font(), Done);
    if (Done) return;
    TakeColor(Cell, Color, Own);
    Cell.TextColor = TextColor;
  }
  DrawPreviewText(Canvas->Handle(), Cell.Rect, Cell.Brush, Canvas->Font()->Handle(), Cell.TextColor, IndentDesc(),
                  Text);
}
