// Draws the tree list's row-indicator glyphs and writes them into the folder named on
// the command line. Runs on the build machine.
// - "DXGRID_ARROW", "DXGRID_EDIT", "DXGRID_INSERT", "DXGRID_MULTIDOT" and
//   "DXGRID_MULTIARROW": 24-bit, 10 x 10, black on white; white is the colour the
//   tree list's image list masks out.
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
  return 0;
}
