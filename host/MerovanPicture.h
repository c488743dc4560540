// A board drawn to a PNG picture: the outline, tracks, arcs, texts, fills, pads, vias,
// polygons and dimensions, each layer in its own colour on a dark background, scaled
// to fit the picture with a margin, Y up. GDI draws into a DIB section; GDI+ saves it.
// host/README.md lists the colours and the fitting rule.
#pragma once

#include <windows.h>

#include <string>

#include "host/MerovanModel.h"

namespace Merovan {

inline constexpr COLORREF PictureBackground = RGB(20, 24, 32);
// The board outline object, whatever its layer.
inline constexpr COLORREF OutlineColour = RGB(255, 255, 255);

// The colour of the objects on Layer (0..82; anything else is grey).
constexpr COLORREF LayerColour(int Layer) {
  constexpr COLORREF MidLayers[6] = {RGB(230, 190, 40),  RGB(60, 200, 90),
                                     RGB(200, 80, 220),  RGB(60, 200, 210),
                                     RGB(240, 140, 50),  RGB(160, 160, 250)};
  constexpr COLORREF Planes[2] = {RGB(90, 190, 90), RGB(190, 130, 70)};
  constexpr COLORREF Mechanical[4] = {RGB(220, 200, 140), RGB(140, 210, 220),
                                      RGB(230, 160, 120), RGB(170, 220, 130)};
  switch (Layer) {
    case 1: return RGB(230, 50, 50);     // top
    case 32: return RGB(60, 110, 240);   // bottom
    case 33: return RGB(250, 240, 80);   // top overlay
    case 34: return RGB(180, 150, 60);   // bottom overlay
    case 35: return RGB(160, 160, 160);  // top paste
    case 36: return RGB(120, 120, 120);  // bottom paste
    case 37: return RGB(170, 70, 170);   // top solder
    case 38: return RGB(120, 50, 140);   // bottom solder
    case 55: return RGB(190, 60, 60);    // drill guide
    case 56: return RGB(255, 60, 255);   // keep-out
    case 73: return RGB(200, 80, 80);    // drill drawing
    case 74: return RGB(200, 200, 200);  // multi-layer (pads and vias)
    default: break;
  }
  if (Layer >= 2 && Layer <= 31) return MidLayers[(Layer - 2) % 6];
  if (Layer >= 39 && Layer <= 54) return Planes[(Layer - 39) % 2];
  if (Layer >= 57 && Layer <= 72) return Mechanical[(Layer - 57) % 4];
  return RGB(128, 128, 128);
}

// Draws Board into a Width x Height PNG file. False when the picture cannot be made
// or written.
bool DrawBoardPicture(TStore& Store, const TBoard& Board, const std::string& FileName,
                      int Width, int Height);

}  // namespace Merovan
