// The tree list's painter: one paint's context, shared by the panel steps
// (dxTL_Paint.cpp) and the row steps (dxTL_PaintRows.cpp). Private to the tree list's
// painting; users include treelist/dxTL.h.
//
// The context: the layout record computed once, the buffer's canvas, the brushes taken
// once from the shared cache, a table of what each header entry's column paints with
// (its colour and brush, its font, asked once per paint), the clip push of cells that
// straddle a fixed band, and the grid segments gathered for one PolyPolyline.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/GdiScopes.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Draw.h"

// One pushed clip rectangle at a time: a second push pops the first, so no saved
// region is lost; the destructor pops.
class TTreeListClip {
 public:
  explicit TTreeListClip(HDC DC) : FDC(DC) {}
  TTreeListClip(const TTreeListClip&) = delete;
  TTreeListClip& operator=(const TTreeListClip&) = delete;
  ~TTreeListClip() { Pop(); }
  void Push(const TRect& R);
  void Pop();
  bool Pushed() const { return FPushed; }
  const TRect& Rect() const { return FRect; }

 private:
  HDC FDC;
  TOwnedRegion FSaved;
  bool FHadRegion = false;
  bool FPushed = false;
  TRect FRect{0, 0, 0, 0};
};

class TTreeListPainter {
 public:
  TTreeListPainter(TCustomdxTreeListControl& Tree, HDC Buffer);
  ~TTreeListPainter();
  void Run();

 private:
  // What a header entry's column paints with, asked once per paint.
  struct TColumnPaint {
    TColor Color = clWindow;  // the column's colour
    HBRUSH Brush = nullptr;   // its brush: the Color brush when the colours agree
    TSharedObject<HBRUSH> Own;
    TColor TextColor = clWindowText;  // its own font's colour, else the control font's
  };
  // What a row paints with, worked out once per row.
  struct TRowPaint {
    const TdxTreeListRowInfo* Info = nullptr;
    TdxTreeListNode* Node = nullptr;
    int Top = 0;
    int Bottom = 0;       // above the row's level footers
    int CellsBottom = 0;  // below the cell lines, above the preview
    int Level = 0;
    bool Parent = false;    // has children
    bool Group = false;     // a node with children in the Outlook style
    int BandLeft = 0;       // the first band's left edge, scrolled
    int IndentLeft = 0;     // where level 0's indent cell starts
    int ContentLeft = 0;    // right of the node's indent and images
    bool FocusedNode = false;
  };

  // Panels (dxTL_Paint.cpp)
  void Corner(const TRect& R, HBRUSH Brush, bool Pressed);
  void Button(THeaderButton& B, const TRect& Clip);
  void PaintBands();
  void PaintHeaders();
  void PaintIndicator();
  void PaintFooter();
  void FrameFooterCell(TRect& R);
  void BuildColumnTable();
  void ExcludeFromClip(const TRect& R);

  // Rows (dxTL_PaintRows.cpp)
  void PaintRows();
  TRowPaint RowFor(const TdxTreeListRowInfo& Row, int Top);
  void PaintTreePart(const TRowPaint& Row);
  void PaintTreeLines(const TRowPaint& Row);
  void PaintExpandButton(const TRowPaint& Row);
  void PaintImages(const TRowPaint& Row, HBRUSH Brush);
  void PaintCells(const TRowPaint& Row);
  void PaintPreview(const TRowPaint& Row);
  void SelectionAndColours(const TRowPaint& Row, const TColumnPaint* Column, bool IsFocusedColumn,
                           TdxTreeListCellPaint& Cell);
  void PaintRowFooters(const TRowPaint& Row);
  void PaintFixedSeparators(int Top, int Bottom);
  void AddGridLine(int X1, int Y1, int X2, int Y2);
  int GridStart(const TRowPaint& Row, const TdxTreeListRowInfo* Next) const;

  // Colours
  HBRUSH LevelBrush(int Level, TColor Given, HBRUSH GivenBrush, TColor* Answer = nullptr);
  static HBRUSH BrushFor(TColor Color, TColor Given, HBRUSH GivenBrush, TSharedObject<HBRUSH>& Own);
  void TextColor(TColor Color) { SetTextColor(DC, ColorToRGB(Color)); }
  bool Visible(const TRect& R) const { return R.right > R.left && R.bottom > R.top && RectVisible(DC, &R); }
  bool ControlFocused() const;

  TCustomdxTreeListControl& T;
  HDC DC;
  TCanvas Canvas;
  TdxTreeListDrawInfo DI;
  TTreeListClip Clip;
  TSharedObject<HBRUSH> ColorBrush, BandBrush, HeaderBrush, GroupBrush, ShadowBrush, HighlightBrush,
      TreeLineBrush, HideSelectionBrush, RowFooterBrush, FixedLineBrush;
  // The last colour OnGetLevelColor answered other than the one it was given.
  TSharedObject<HBRUSH> LevelOwn;
  TColor LevelOwnColor = clNone;
  std::vector<TColumnPaint> Columns;  // parallel to DI.Headers
  std::vector<POINT> Grid;
  bool Focused = false;
  // The memory DC the expand glyphs are copied from, made on first use.
  TOwnedDC GlyphDC;
};
