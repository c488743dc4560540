// The tree list's paint: one layout record, every brush taken once from the shared
// cache, the client area composed in one off-screen buffer and copied once. The
// buffer is clipped to what the paint has to cover, and every area is tested with
// RectVisible before it is drawn. The buffer starts in Color, so the empty areas need
// no pass of their own; the panels come first (corners, bands, headers, indicator,
// footer), each excluded from the clip once drawn, then the rows (dxTL_PaintRows.cpp).
#include <algorithm>

#include "classlib/ImgList.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Painter.h"

namespace {

TSharedObject<HBRUSH> SolidBrush(TColor Color) {
  return TSharedObject<HBRUSH>(AcquireSharedBrush(LOGBRUSH{BS_SOLID, ColorToRGB(Color), 0}));
}

}  // namespace

// ---------------------------------------------------------------------------------
// The clip push

void TTreeListClip::Push(const TRect& R) {
  Pop();
  FSaved.Reset(CountHandle(CreateRectRgn(0, 0, 0, 0)));
  FHadRegion = GetClipRgn(FDC, FSaved.Handle()) == 1;
  IntersectClipRect(FDC, R.left, R.top, R.right, R.bottom);
  FRect = R;
  FPushed = true;
}

void TTreeListClip::Pop() {
  if (!FPushed) return;
  SelectClipRgn(FDC, FHadRegion ? FSaved.Handle() : nullptr);
  FSaved.Reset();
  FPushed = false;
}

// ---------------------------------------------------------------------------------
// The context

TTreeListPainter::TTreeListPainter(TCustomdxTreeListControl& Tree, HDC Buffer)
    : T(Tree),
      DC(Buffer),
      Clip(Buffer),
      ColorBrush(SolidBrush(Tree.Color())),
      BandBrush(SolidBrush(Tree.BandColor())),
      HeaderBrush(SolidBrush(Tree.HeaderColor())),
      GroupBrush(SolidBrush(Tree.GroupNodeColor())),
      ShadowBrush(SolidBrush(Tree.LookAndFeel() == lfUltraFlat ? TColor(0xA0A0A0) : clBtnShadow)),
      HighlightBrush(SolidBrush(Tree.HighlightColor())),
      TreeLineBrush(SolidBrush(Tree.TreeLineColor())),
      HideSelectionBrush(SolidBrush(Tree.HideSelectionColor())),
      RowFooterBrush(SolidBrush(Tree.RowFooterColor())),
      FixedLineBrush(SolidBrush(Tree.FixedBandLineColor())) {
  Canvas.SetHandle(DC);
  T.CalcDrawInfo(DI);
  BuildColumnTable();
}

TTreeListPainter::~TTreeListPainter() { Canvas.SetHandle(nullptr); }

void TTreeListPainter::Run() {
  TRect All = DI.CR;
  if (Visible(All)) FillRect(DC, &All, ColorBrush.Handle());
  PaintBands();
  PaintHeaders();
  PaintIndicator();
  PaintFooter();
  PaintRows();
}

// Each header entry's column: its colour, brush and text colour, asked once.
void TTreeListPainter::BuildColumnTable() {
  Columns.resize(DI.Headers.size());
  const COLORREF Base = ColorToRGB(T.Color());
  for (size_t I = 0; I < DI.Headers.size(); ++I) {
    const int Column = DI.Headers[I].Column;
    TColumnPaint& C = Columns[I];
    C.Color = T.GetColumnColor(Column);
    if (ColorToRGB(C.Color) == Base) {
      C.Brush = ColorBrush.Handle();
    } else {
      C.Own = SolidBrush(C.Color);
      C.Brush = C.Own.Handle();
    }
    C.TextColor = T.IsColumnFontAssigned(Column) ? T.GetColumnFont(Column)->Color() : T.Font()->Color();
  }
}

// The event's colour when it changed one, else the given brush.
HBRUSH TTreeListPainter::BrushFor(TColor Color, TColor Given, HBRUSH GivenBrush, TSharedObject<HBRUSH>& Own) {
  if (ColorToRGB(Color) == ColorToRGB(Given)) return GivenBrush;
  Own = SolidBrush(Color);
  return Own.Handle();
}

// OnGetLevelColor's answer for a level: a brush of its own when it changed the colour.
HBRUSH TTreeListPainter::LevelBrush(int Level, TColor Given, HBRUSH GivenBrush, TColor* Answer) {
  if (Answer) *Answer = Given;
  if (!T.IsLevelColorEvent()) return GivenBrush;
  TColor Color = Given;
  T.GetLevelColor(Level, Color);
  if (Answer) *Answer = Color;
  if (ColorToRGB(Color) == ColorToRGB(Given)) return GivenBrush;
  if (!LevelOwn || ColorToRGB(Color) != ColorToRGB(LevelOwnColor)) {
    LevelOwn = SolidBrush(Color);
    LevelOwnColor = Color;
  }
  return LevelOwn.Handle();
}

bool TTreeListPainter::ControlFocused() const {
  HWND Focus = GetFocus();
  return Focus && T.HandleAllocated() && (Focus == T.Handle() || IsChild(T.Handle(), Focus));
}

void TTreeListPainter::ExcludeFromClip(const TRect& R) {
  if (!IsRectEmpty(&R)) ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
}

// ---------------------------------------------------------------------------------
// Panels

void TTreeListPainter::Corner(const TRect& R, HBRUSH Brush, bool Pressed) {
  if (!Visible(R)) return;
  TRect Face = R;
  if (T.LookAndFeel() == lfUltraFlat) {
    DrawEdge(DC, &Face, BDR_SUNKENOUTER, BF_TOP | BF_RIGHT | BF_BOTTOM | BF_FLAT | BF_ADJUST);
    FillRect(DC, &Face, Brush);
    if (Pressed) InvertRect(DC, &Face);
  } else {
    DrawButtonFaceInverted(DC, R, Brush, T.LookAndFeel(), hekButton, Pressed, T.LookAndFeel() == lfFlat);
  }
}

// A band or header button: the event sees the full rectangle, the drawing is cut to
// the visible part; a pressed button of a flat look is inverted.
void TTreeListPainter::Button(THeaderButton& B, const TRect& ClipRect) {
  TSavedDC Saved(DC);
  IntersectClipRect(DC, ClipRect.left, ClipRect.top, ClipRect.right, ClipRect.bottom);
  DrawHeaderButton(DC, B);
  if (B.Pressed && B.Look != lfStandard) InvertRect(DC, &B.Bounds);
}

void TTreeListPainter::PaintBands() {
  const TdxTreeListPressedState& Pressed = T.PressedState();
  Corner(DI.BandButtonRect, BandBrush.Handle(), Pressed.BandCorner);
  if (IsRectEmpty(&DI.BandRect) || DI.Bands.empty()) return;
  Canvas.Font()->Assign(T.BandFont());
  for (const TdxTreeListBandInfo& Band : DI.Bands) {
    if (!Visible(Band.BandClipRect)) continue;
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
    if (!Done) {
      TSharedObject<HBRUSH> Own;
      THeaderButton B;
      B.Bounds = Band.BandRect;
      B.Brush = BrushFor(Color, T.BandColor(), BandBrush.Handle(), Own);
      B.Look = T.LookAndFeel();
      B.Alignment = Alignment;
      B.MultiLine = T.BandRowCount() > 1;
      B.Pressed = Pressed.Band == Index;
      B.Text = Text;
      TextColor(Canvas.Font()->Color());
      TSelection Font(DC, Canvas.Font()->Handle());
      Button(B, Band.BandClipRect);
    }
    // A handler's font changes last for its own band only.
    if (T.IsBandCustomDraw()) Canvas.Font()->Assign(T.BandFont());
  }
  // The fixed bands' separators over the band panel's height.
  const int W = T.FixedBandLineWidth();
  if (DI.FixedLeftIndex >= 0 && !IsRectEmpty(&DI.FixedBandLeftRect)) {
    const TRect Strip{DI.FixedBandLeftRect.right - W, DI.BandRect.top, DI.FixedBandLeftRect.right,
                      DI.BandRect.bottom};
    if (Visible(Strip)) FillRect(DC, &Strip, FixedLineBrush.Handle());
  }
  if (DI.FixedRightIndex >= 0 && !IsRectEmpty(&DI.FixedBandRightRect)) {
    const TRect Strip{DI.FixedBandRightRect.left, DI.BandRect.top, DI.FixedBandRightRect.left + W,
                      DI.BandRect.bottom};
    if (Visible(Strip)) FillRect(DC, &Strip, FixedLineBrush.Handle());
  }
}

void TTreeListPainter::PaintHeaders() {
  const TdxTreeListPressedState& Pressed = T.PressedState();
  Corner(DI.HeaderButtonRect, HeaderBrush.Handle(), Pressed.HeaderCorner);
  if (IsRectEmpty(&DI.HeaderRect) || DI.Headers.empty()) return;
  Canvas.Font()->Assign(T.HeaderFont());
  for (const TdxTreeListHeaderInfo& H : DI.Headers) {
    // The record's extended rectangle runs from the cell's top: the part below the
    // cell is the header rows the cell leaves empty.
    const TRect Below{H.ExtendedRect.left, std::max<int>(H.ExtendedRect.top, H.CellRect.bottom),
                      H.ExtendedRect.right, H.ExtendedRect.bottom};
    if (Visible(Below)) FillRect(DC, &Below, ShadowBrush.Handle());
    if (!Visible(H.CellClipRect)) continue;
    AnsiString Text = T.GetHeaderCaption(H.Column);
    TAlignment Alignment = T.GetColumnHeaderAlignment(H.Column);
    TdxTreeListColumnSort Sorted = T.GetColumnSorted(H.Column);
    const TdxHeaderHotState Hot = T.GetHeaderHotState(H.Column);
    TColor Color = T.HeaderColor();
    bool Done = false;
    if (T.IsHeaderCustomDraw(H.Column)) {
      TSavedDC Saved(DC);
      IntersectClipRect(DC, H.CellClipRect.left, H.CellClipRect.top, H.CellClipRect.right, H.CellClipRect.bottom);
      T.CustomDrawHeader(H.Column, &Canvas, H.CellRect, Text, Color, Canvas.Font(), Alignment, Sorted, Done);
    }
    if (!Done) {
      TSharedObject<HBRUSH> Own;
      THeaderButton B;
      B.Bounds = H.CellRect;
      B.Brush = BrushFor(Color, T.HeaderColor(), HeaderBrush.Handle(), Own);
      B.Look = T.LookAndFeel();
      B.EdgeKind = H.FirstInRow ? (H.LastInRow ? hekButton : hekFirst) : (H.LastInRow ? hekLast : hekInner);
      if (T.HasHeaderGlyph(H.Column)) B.Glyph = T.GetHeaderGlyph(H.Column)->Handle();
      B.Sort = Sorted;
      B.Alignment = Alignment;
      B.MultiLine = H.LineCount > 1 || T.HeaderPanelRowCount() > 1;
      B.Pressed = Pressed.Header == H.Column || Hot.Contains(hhsPressed);
      B.Text = Text;
      TextColor(Canvas.Font()->Color());
      TSelection Font(DC, Canvas.Font()->Handle());
      Button(B, H.CellClipRect);
    }
    // A handler's font changes last for its own header only.
    if (T.IsHeaderCustomDraw(H.Column)) Canvas.Font()->Assign(T.HeaderFont());
  }
  for (const TdxTreeListEmptyBandInfo& E : DI.EmptyBands)
    if (Visible(E.Rect)) FillRect(DC, &E.Rect, ShadowBrush.Handle());
}

// One indicator cell per row: a button face with the row's glyph centred in it; then
// the whole indicator leaves the clip.
void TTreeListPainter::PaintIndicator() {
  if (IsRectEmpty(&DI.IndRect) || DI.Rows.empty()) return;
  TCustomImageList* Glyphs = dxTreeListIndicatorImages();
  int Top = DI.CellsRect.top;
  for (const TdxTreeListRowInfo& Row : DI.Rows) {
    TRect Cell{DI.IndRect.left, Top, DI.IndRect.right, Top + Row.RowHeight};
    Top += Row.RowHeight;
    if (DI.LastRowBottom >= 0) Cell.bottom = std::min<int>(Cell.bottom, DI.LastRowBottom + 1);
    if (!Visible(Cell)) continue;
    if (T.LookAndFeel() == lfUltraFlat) {
      TRect Face = Cell;
      DrawEdge(DC, &Face, BDR_SUNKENOUTER, BF_RIGHT | BF_BOTTOM | BF_FLAT | BF_ADJUST);
      FillRect(DC, &Face, HeaderBrush.Handle());
    } else {
      TRect Face = Cell;
      DrawButtonFace(DC, Face, HeaderBrush.Handle(), T.LookAndFeel(), hekButton, false);
    }
    const int Kind = T.GetNodeIndicatorKind(Row.Node);
    if (Kind > 0 && Glyphs) {
      const int X = Cell.left + (Cell.right - Cell.left - Glyphs->Width()) / 2;
      const int Y = Cell.top + (Cell.bottom - Cell.top - Glyphs->Height()) / 2;
      Glyphs->Draw(&Canvas, X, Y, Kind - 1);
    }
  }
  ExcludeFromClip(DI.IndRect);
}

void TTreeListPainter::PaintFooter() {
  if (!T.ShowFooter() || IsRectEmpty(&DI.FooterRect)) return;
  TRect R = DI.FooterRect;
  const int Widen = T.LookAndFeel() == lfStandard ? 2 : 1;
  if (DI.FixedLeftIndex < 0 && T.LeftCoord() != 0) R.left -= Widen;
  if (DI.FixedRightIndex < 0 && DI.BandsRightEdge >= R.right) R.right += Widen;
  if (!Visible(R)) return;
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
  for (size_t I = 0; I < DI.Headers.size(); ++I) {
    const TdxTreeListHeaderInfo& H = DI.Headers[I];
    TRect Cell{H.CellRect.left, R.top + Line * H.RowIndex, H.CellRect.right, R.top + Line * (H.RowIndex + H.LineCount)};
    InflateRect(&Cell, -1, -1);
    if (H.FirstCell) Cell.left += 1;
    if (!Visible(Cell) || !T.IsExistFooterCell(H.Column)) continue;
    // A cell cut by a fixed band is drawn inside the scrolling part only.
    if (H.CellClipRect.left != H.CellRect.left || H.CellClipRect.right != H.CellRect.right)
      Clip.Push(TRect{H.CellClipRect.left, Cell.top, H.CellClipRect.right, Cell.bottom});
    FrameFooterCell(Cell);
    TdxTreeListCellPaint Paint;
    Paint.Canvas = &Canvas;
    Paint.Rect = Cell;
    Paint.Column = H.Column;
    Paint.FooterIndex = -1;
    Paint.Color = T.HeaderColor();
    Paint.TextColor = T.Font()->Color();
    Paint.Brush = HeaderBrush.Handle();
    Paint.MultiLine = H.LineCount > 1;
    Paint.LeftEdge = H.FirstCell;
    Paint.RightEdge = H.LastCell;
    Paint.ColumnColor = Columns[I].Color;
    Paint.ColumnBrush = Columns[I].Brush;
    T.DrawFooterCell(Paint);
    Clip.Pop();
  }
  ExcludeFromClip(DI.FooterRect);
}

// The frame of a footer or row-footer cell; R becomes the inside.
void TTreeListPainter::FrameFooterCell(TRect& R) {
  if (T.LookAndFeel() == lfUltraFlat)
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  else
    DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&R, -1, -1);
}

// ---------------------------------------------------------------------------------
// The control's paint

void TCustomdxTreeListControl::Paint() {
  HDC Target = Canvas()->Handle();
  const TRect Client = ClientRect();
  // Only what the paint has to cover is composed and copied.
  TRect Box{};
  if (GetClipBox(Target, &Box) == NULLREGION) return;
  IntersectRect(&Box, &Box, &Client);
  if (Box.right <= Box.left || Box.bottom <= Box.top) return;
  // The sizing line and drag marks stay off the buffer; they come back however the
  // paint ends.
  HideDragMarks();
  auto Marks = AtScopeEnd([this] { ShowDragMarks(); });
  // The buffer holds the box alone (however tall the control), its window origin at the
  // box's corner so that the painter works in client coordinates; patterns keep their
  // phase in them.
  const int Width = Box.right - Box.left, Height = Box.bottom - Box.top;
  TMemoryDC Buffer(Target, Width, Height);
  {
    TSavedDC Saved(Buffer.DC());
    SetWindowOrgEx(Buffer.DC(), Box.left, Box.top, nullptr);
    SetBrushOrgEx(Buffer.DC(), ((-Box.left) % 8 + 8) % 8, ((-Box.top) % 8 + 8) % 8, nullptr);
    IntersectClipRect(Buffer.DC(), Box.left, Box.top, Box.right, Box.bottom);
    TTreeListPainter Painter(*this, Buffer.DC());
    Painter.Run();
  }
  BitBlt(Target, Box.left, Box.top, Width, Height, Buffer.DC(), 0, 0, SRCCOPY);
}

void TCustomdxTreeListControl::SetPressedState(const TdxTreeListPressedState& Value) {
  if (Value == FPressed) return;
  FPressed = Value;
  Invalidate();
}

TColor TCustomdxTreeListControl::GetGridLineColorOrDefault() const {
  return GridLineColor() == clNone ? clBtnShadow : GridLineColor();
}
