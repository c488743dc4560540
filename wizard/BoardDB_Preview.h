// The preview pictures of the outline pages. They draw on an image's canvas in pixels,
// Y growing downward; the shapes come from BoardDB_Geometry.h.
#pragma once

#include <initializer_list>

#include "classlib/Types.h"
#include "wizard/BoardDB.h"

class TControl;
class TImage;

// The pixels of a length at a preview's scale: rounded, and kept within a range that
// drawing takes without overflow (a board far smaller than its cut-outs scales them far
// beyond the picture).
int PreviewPixels(double Length, double Scale);

// Where the board goes in the image: centred, filling Factor of the image less a pixel
// on every side, its shape kept. Scale is pixels per host unit. A board without width
// or height (0 or less) has no place: false, with an empty Rect and a Scale of 0.
bool FitBoardInPreview(const TBoardInfoFromUser& Info, TImage* Image, TRect& Rect,
                       double Factor, double& Scale);

// The board's edge Offset pixels inside Rect, one closed line with the canvas's pen;
// each corner loses a notch of the given size in pixels (x wide, y high).
void DrawPreviewOutline(TImage* Image, const TRect& Rect, TPoint BottomLeft,
                        TPoint TopLeft, TPoint TopRight, TPoint BottomRight, int Offset);

// A dimension line with an open arrow head at each end, 8 pixels long and 2 to each
// side, in a solid black pen (which stays the canvas's pen).
void DrawHorzDimensionArrow(TImage* Image, int X1, int X2, int Y);
void DrawVertDimensionArrow(TImage* Image, int X, int Y1, int Y2);

// A dotted leader through the points with the canvas's pen colour; the pen stays
// dotted, at the last point.
void DrawPreviewLeader(TImage* Image, std::initializer_list<TPoint> Points);

// The vertical middle of a control beside the image, in the image's coordinates: where
// the control's leader line meets the image.
int ControlMiddleY(TImage* Image, TControl* Control);

// The picture frame of the cut-off pages: the image filled with the button face and,
// when there is a board, its edge in olive and its keep-out 3 pixels inside in fuchsia,
// each corner with its notch (Notches in pixels, indexed by TBoardCorner).
void DrawPreviewFrame(TImage* Image, const TRect* Board, const TPoint Notches[4]);
