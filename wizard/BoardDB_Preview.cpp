// The preview pictures of the outline pages.
#include "wizard/BoardDB_Preview.h"

#include <algorithm>
#include <cmath>

#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "pcb/Pcbclass_Object.h"
#include "wizard/BoardDB_Geometry.h"

namespace {

// The largest pixel coordinate a preview passes to drawing; far beyond any picture,
// well within what GDI takes.
constexpr double PreviewPixelLimit = 1000000;

constexpr TColor PreviewEdgeColor = clOlive;
constexpr TColor PreviewKeepOutColor = clFuchsia;
constexpr int PreviewKeepOutInset = 3;

}  // namespace

int PreviewPixels(double Length, double Scale) {
  const double Pixels = StoredDouble(Length * Scale);
  if (std::isnan(Pixels)) return 0;
  return RoundCoord(std::clamp(Pixels, -PreviewPixelLimit, PreviewPixelLimit));
}

bool FitBoardInPreview(const TBoardInfoFromUser& Info, TImage* Image, TRect& Rect,
                       double Factor, double& Scale) {
  Rect = ::Rect(0, 0, 0, 0);
  Scale = 0;
  // A cleared size would divide by zero; such a board has nothing to show.
  if (Info.BoardWidth <= 0 || Info.BoardHeight <= 0) return false;
  const int IW = Image->Width();
  const int IH = Image->Height();
  Scale = std::min(StoredDouble((IW - 2) * Factor / Info.BoardWidth),
                   StoredDouble((IH - 2) * Factor / Info.BoardHeight));
  const int W = PreviewPixels(Info.BoardWidth, Scale);
  const int H = PreviewPixels(Info.BoardHeight, Scale);
  const int Left = (IW - W) / 2;
  const int Top = (IH - H) / 2;
  Rect = ::Rect(Left, Top, Left + W, Top + H);
  return true;
}

void DrawPreviewOutline(TImage* Image, const TRect& Rect, TPoint BottomLeft,
                        TPoint TopLeft, TPoint TopRight, TPoint BottomRight, int Offset) {
  const int O = Offset;
  const int L = Rect.left, T = Rect.top, R = Rect.right, B = Rect.bottom;
  const TPoint& BL = BottomLeft;
  const TPoint& TL = TopLeft;
  const TPoint& TR = TopRight;
  const TPoint& BR = BottomRight;
  Image->Canvas()->Polyline({MakePoint(L + TL.x + O, T + O), MakePoint(R - TR.x - O, T + O),
                             MakePoint(R - TR.x - O, T + TR.y + O),
                             MakePoint(R - O, T + TR.y + O), MakePoint(R - O, B - BR.y - O),
                             MakePoint(R - BR.x - O, B - BR.y - O),
                             MakePoint(R - BR.x - O, B - O), MakePoint(L + BL.x + O, B - O),
                             MakePoint(L + BL.x + O, B - BL.y - O),
                             MakePoint(L + O, B - BL.y - O), MakePoint(L + O, T + TL.y + O),
                             MakePoint(L + TL.x + O, T + TL.y + O),
                             MakePoint(L + TL.x + O, T + O)});
}

void DrawHorzDimensionArrow(TImage* Image, int X1, int X2, int Y) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->MoveTo(X1, Y);
  C->LineTo(X2, Y);
  C->Polyline({MakePoint(X1 + 8, Y - 2), MakePoint(X1, Y), MakePoint(X1 + 8, Y + 2)});
  C->Polyline({MakePoint(X2 - 8, Y - 2), MakePoint(X2, Y), MakePoint(X2 - 8, Y + 2)});
}

void DrawVertDimensionArrow(TImage* Image, int X, int Y1, int Y2) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->MoveTo(X, Y1);
  C->LineTo(X, Y2);
  C->Polyline({MakePoint(X - 2, Y1 + 8), MakePoint(X, Y1), MakePoint(X + 2, Y1 + 8)});
  C->Polyline({MakePoint(X - 2, Y2 - 8), MakePoint(X, Y2), MakePoint(X + 2, Y2 - 8)});
}

void DrawPreviewLeader(TImage* Image, std::initializer_list<TPoint> Points) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psDot);
  bool First = true;
  for (const TPoint& P : Points) {
    if (First)
      C->MoveTo(P.x, P.y);
    else
      C->LineTo(P.x, P.y);
    First = false;
  }
}

int ControlMiddleY(TImage* Image, TControl* Control) {
  return Control->Top() - Image->Top() + Control->Height() / 2;
}

void DrawPreviewFrame(TImage* Image, const TRect* Board, const TPoint Notches[4]) {
  TCanvas* C = Image->Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(::Rect(0, 0, Image->Width(), Image->Height()));
  if (!Board) return;
  const TPoint& TL = Notches[bcUpperLeft];
  const TPoint& BL = Notches[bcLowerLeft];
  const TPoint& TR = Notches[bcUpperRight];
  const TPoint& BR = Notches[bcLowerRight];
  C->Pen()->SetColor(PreviewEdgeColor);
  DrawPreviewOutline(Image, *Board, BL, TL, TR, BR, 0);
  C->Pen()->SetColor(PreviewKeepOutColor);
  DrawPreviewOutline(Image, *Board, BL, TL, TR, BR, PreviewKeepOutInset);
}
