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

class Writer {
 public:
  void Put8(std::uint32_t V) { Bytes.push_back(V & 0xFF); }
  void Put16(std::uint32_t V) {
    Put8(V);
    Put8(V >> 8);
  }
  void Put32(std::uint32_t V) {
    Put16(V & 0xFFFF);
    Put16(V >> 16);
  }
  std::vector<std::uint8_t> Bytes;
};

bool WriteGlyph(const std::string& Path, Picture Rows) {
  for (int Y = 0; Y < Size; ++Y)
    if (std::strlen(Rows[Y]) != Size) {
      std::fprintf(stderr, "%s: row %d is not %d wide\n", Path.c_str(), Y, Size);
      return false;
    }
  const std::uint32_t Stride = (Size * 3 + 3) / 4 * 4;
  const std::uint32_t ImageBytes = Stride * Size;
  const std::uint32_t Offset = 14 + 40;
  Writer W;
  W.Put8('B');
  W.Put8('M');
  W.Put32(Offset + ImageBytes);
  W.Put32(0);
  W.Put32(Offset);
  W.Put32(40);
  W.Put32(Size);
  W.Put32(Size);  // bottom-up
  W.Put16(1);
  W.Put16(24);
  W.Put32(0);  // BI_RGB
  W.Put32(ImageBytes);
  W.Put32(2835);
  W.Put32(2835);
  W.Put32(0);
  W.Put32(0);
  for (int Y = Size - 1; Y >= 0; --Y) {
    for (int X = 0; X < Size; ++X) {
      const std::uint8_t V = Rows[Y][X] == 'k' ? 0 : 255;
      W.Put8(V);
      W.Put8(V);
      W.Put8(V);
    }
    for (std::uint32_t Pad = Size * 3; Pad < Stride; ++Pad) W.Put8(0);
  }
  FILE* Out = std::fopen(Path.c_str(), "wb");
  if (!Out) return false;
  const bool Ok = std::fwrite(W.Bytes.data(), 1, W.Bytes.size(), Out) == W.Bytes.size();
  return std::fclose(Out) == 0 && Ok;
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
