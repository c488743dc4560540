// Draws the tree list's row-indicator glyphs and writes them into the folder named on
// the command line. Runs on the build machine.
// - "DXGRID_ARROW", "DXGRID_EDIT", "DXGRID_INSERT", "DXGRID_MULTIDOT" and
//   "DXGRID_MULTIARROW": 24-bit, 10 x 10, black on white; white is the colour the
//   tree list's image list masks out.
// - "DXGRID_FULLSCROLLBITMAP", "DXGRID_HORSCROLLBITMAP" and "DXGRID_VERSCROLLBITMAP":
//   24-bit, 28 x 28, the mark of panning: a light disc with a dot in the middle and
//   arrows toward the directions the view can pan (all four, left and right, up and
//   down). The window that shows it is cut to the disc.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GenFiles.h"

namespace {

constexpr int Size = 10;

using Picture = const char* const[Size];

// '.' white (transparent), 'k' black.
Picture Arrow = {
    "..........",
    "...k......",
    "...kk.....",
    "...kkk....",
    "...kkkk...",
    "...kkkk...",
    "...kkk....",
    "...kk.....",
    "...k......",
    "..........",
};

Picture Edit = {
    "..........",
    "..kkk.kk..",
    "....k.....",
    "....k.....",
    "....k.....",
    "....k.....",
    "....k.....",
    "....k.....",
    "..kk.kkk..",
    "..........",
};

Picture Insert = {
    "..........",
    "....k.....",
    ".k..k..k..",
    "..k.k.k...",
    "...kkk....",
    ".kkkkkkk..",
    "...kkk....",
    "..k.k.k...",
    ".k..k..k..",
    "....k.....",
};

Picture MultiDot = {
    "..........",
    "..........",
    "..........",
    "....kk....",
    "...kkkk...",
    "...kkkk...",
    "....kk....",
    "..........",
    "..........",
    "..........",
};

Picture MultiArrow = {
    "..........",
    ".k........",
    ".kk.......",
    ".kkk......",
    ".kkkk..kk.",
    ".kkkk..kk.",
    ".kkk......",
    ".kk.......",
    ".k........",
    "..........",
};

bool WriteGlyph(const std::string& Path, Picture Rows) {
  for (int Y = 0; Y < Size; ++Y)
    if (std::strlen(Rows[Y]) != Size) {
      std::fprintf(stderr, "%s: row %d is not %d wide\n", Path.c_str(), Y, Size);
      return false;
    }
  const auto Pixel = [&](int X, int Y) {
    const std::uint8_t V = Rows[Y][X] == 'k' ? 0 : 255;
    return gen::Rgb{V, V, V};
  };
  return gen::WriteFile(Path, gen::Bitmap24(Size, Size, Pixel));
}

constexpr int MarkSize = 28;

// Whether (X, Y) lies on an arrow head pointing away from the centre: Dir 0 up,
// 1 right, 2 down, 3 left. The head is a triangle 4 pixels deep, its tip 3 pixels
// inside the disc's edge.
bool OnArrow(int X, int Y, int Dir) {
  const int C = MarkSize / 2;
  // Along: distance from the centre toward the edge; Across: sideways offset.
  int Along = 0, Across = 0;
  switch (Dir) {
    case 0: Along = C - Y; Across = X - C; break;
    case 1: Along = X - C; Across = Y - C; break;
    case 2: Along = Y - C; Across = X - C; break;
    default: Along = C - X; Across = Y - C; break;
  }
  const int Tip = C - 3;
  const int Depth = Tip - Along;  // 0 at the tip
  return Depth >= 0 && Depth <= 4 && (Across < 0 ? -Across : Across) <= Depth;
}

bool WriteMark(const std::string& Path, bool Horz, bool Vert) {
  const auto Pixel = [&](int X, int Y) {
    const int C = MarkSize / 2;
    const int Dx = X - C, Dy = Y - C;
    const int R2 = Dx * Dx + Dy * Dy;
    if (R2 <= 4) return gen::Rgb{0, 0, 0};  // the dot
    bool Arrow = false;
    if (Vert) Arrow = Arrow || OnArrow(X, Y, 0) || OnArrow(X, Y, 2);
    if (Horz) Arrow = Arrow || OnArrow(X, Y, 1) || OnArrow(X, Y, 3);
    if (Arrow) return gen::Rgb{0, 0, 0};
    return gen::Rgb{240, 240, 240};
  };
  return gen::WriteFile(Path, gen::Bitmap24(MarkSize, MarkSize, Pixel));
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", Argv[0]);
    return 2;
  }
  const std::string Dir = std::string(Argv[1]) + "/";
  const struct {
    const char* Name;
    const char* const* Rows;
  } Glyphs[] = {{"DXGRID_ARROW", Arrow},
                {"DXGRID_EDIT", Edit},
                {"DXGRID_INSERT", Insert},
                {"DXGRID_MULTIDOT", MultiDot},
                {"DXGRID_MULTIARROW", MultiArrow}};
  for (const auto& G : Glyphs)
    if (!WriteGlyph(Dir + G.Name + ".bmp", G.Rows)) return 1;
  if (!WriteMark(Dir + "DXGRID_FULLSCROLLBITMAP.bmp", true, true)) return 1;
  if (!WriteMark(Dir + "DXGRID_HORSCROLLBITMAP.bmp", true, false)) return 1;
  if (!WriteMark(Dir + "DXGRID_VERSCROLLBITMAP.bmp", false, true)) return 1;
  return 0;
}
