// Draws the in-place editors' images and writes them into the folder named on the
// command line. Runs on the build machine.
// - The blob editor's glyphs "DXINPLACE_*": 24-bit, 16 x 16 on RGB(128, 128, 0), the
//   colour the editors mask out; each "_NULL" variant is the same outline, empty.
// - The popup toolbar's glyphs "DXTOOL_*": 24-bit, 16 x 16 on the same colour, which
//   is their bottom-left pixel (the image list's transparent colour).
// - The hand cursor "DX_HANDPOINT.cur": 32 x 32, monochrome, the hot spot at the
//   fingertip.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GenFiles.h"

namespace {

constexpr int Size = 16;

using gen::Rgb;
constexpr Rgb Key{128, 128, 0};

Rgb Colour(char C) {
  switch (C) {
    case 'k': return {0, 0, 0};
    case 'w': return {255, 255, 255};
    case 's': return {192, 192, 192};
    case 'g': return {128, 128, 128};
    case 'y': return {255, 255, 0};
    case 'b': return {0, 128, 255};
    case 'n': return {0, 0, 128};
    case 'r': return {255, 0, 0};
    case 'm': return {128, 0, 0};
    case 't': return {0, 128, 128};
    case 'e': return {0, 160, 0};
    default: return Key;
  }
}

using Picture = const char* const[Size];

// Rows of 16 characters: '.' is the background, letters are colours (see Colour).
// Empty keeps the outline (black turns grey) and whitens everything else.
bool WriteGlyph(const std::string& Path, Picture Rows, bool Empty) {
  for (int Y = 0; Y < Size; ++Y)
    if (std::strlen(Rows[Y]) != Size) {
      std::fprintf(stderr, "%s: row %d is not %d wide\n", Path.c_str(), Y, Size);
      return false;
    }
  const auto Pixel = [&](int X, int Y) {
    char C = Rows[Y][X];
    if (Empty && C != '.') C = C == 'k' ? 'g' : 'w';
    return Colour(C);
  };
  return gen::WriteFile(Path, gen::Bitmap24(Size, Size, Pixel));
}

// ---------------------------------------------------------------------------------
// The blob editor's glyphs

Picture Blob = {
    "................", "....kkkkkkkk....", "..kkwwwwwwwwkk..", ".kwwwwwwwwwwwwk.",
    ".kkwwwwwwwwwwkk.", ".ktkkkkkkkkkktk.", ".kttttttttttttk.", ".kttttttttttttk.",
    ".kttttttttttttk.", ".kttttttttttttk.", ".kttttttttttttk.", ".kttttttttttttk.",
    ".kkttttttttttkk.", "..kkttttttttkk..", "....kkkkkkkk....", "................",
};

Picture Memo = {
    "................", "..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwkwk...",
    "..kwkkkkwwkkkk..", "..kwwwwwwwwwwk..", "..kwkkkkkkkwwk..", "..kwwwwwwwwwwk..",
    "..kwkkkkkkkwwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkkwwk..", "..kwwwwwwwwwwk..",
    "..kwkkkkkwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................",
};

Picture Pict = {
    "................", ".kkkkkkkkkkkkkk.", ".kbbbbbbbbbbbbk.", ".kbbbbbbbbyybbk.",
    ".kbbbbbbbyyyybk.", ".kbbbbbbbyyyybk.", ".kbbbbbbbbyybbk.", ".kbbbbebbbbbbbk.",
    ".kbbbeeebbbbbbk.", ".kbbeeeeebbebbk.", ".kbeeeeeeeeeeek.", ".keeeeeeeeeeeek.",
    ".keeeeeeeeeeeek.", ".kkkkkkkkkkkkkk.", "................", "................",
};

Picture Ole = {
    "................", ".kkkkkkkkkk.....", ".kwwwwwwwwkk....", ".kwwwwwwwwkwk...",
    ".kwbbbbwwwkkkk..", ".kwbbbbwwwwwwk..", ".kwbbbbwwrrwwk..", ".kwbbbbwrrrrwk..",
    ".kwwwwwwrrrrwk..", ".kwwwwwwwrrwwk..", ".kwwggggggwwwk..", ".kwwwwwwwwwwwk..",
    ".kwwggggggggwk..", ".kwwwwwwwwwwwk..", ".kkkkkkkkkkkkk..", "................",
};

// ---------------------------------------------------------------------------------
// The popup toolbar's glyphs

Picture Cut = {
    "................", "....k.....k.....", "....k.....k.....", "....k.....k.....",
    "....kk...kk.....", ".....k...k......", ".....kk.kk......", "......kkk.......",
    ".......k........", "......rkr.......", "....rrr.rrr.....", "...r..r.r..r....",
    "...r..r.r..r....", "...r..r.r..r....", "....rr...rr.....", "................",
};

Picture Copy = {
    "................", ".kkkkkk.........", ".kwwwwkk........", ".kwkkwkwk.......",
    ".kwwwwkkkkkkk...", ".kwkkkkwwwwkkk..", ".kwwwwkwkkwkwk..", ".kwkkkkwwwwkkkk.",
    ".kwwwwkwkkkkwwk.", ".kkkkkkwwwwwwwk.", "......kwkkkkkwk.", "......kwwwwwwwk.",
    "......kwkkkkkwk.", "......kwwwwwwwk.", "......kkkkkkkkk.", "................",
};

Picture Paste = {
    "................", "......kkkk......", "..kkkkyyyykkkk..", ".kmmmkkkkkkmmmk.",
    ".kmmmmmmmmmmmmk.", ".kmmmmkkkkkkkkk.", ".kmmmmkwwwwwwwk.", ".kmmmmkwkkkkkwk.",
    ".kmmmmkwwwwwwwk.", ".kmmmmkwkkkkkwk.", ".kmmmmkwwwwwwwk.", ".kmmmmkwkkkkwwk.",
    ".kmmmmkwwwwwwwk.", "..kkkkkkkkkkkkk.", "................", "................",
};

Picture Delete = {
    "................", "................", "..rr........rr..", "..rrr......rrr..",
    "...rrr....rrr...", "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......",
    "......rrrr......", ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...",
    "..rrr......rrr..", "..rr........rr..", "................", "................",
};

Picture Load = {
    "................", "................", "..kkkk..........", ".kyyyyk.........",
    ".kyyyyykkkkkk...", ".kyyyyyyyyyyk...", ".kyykkkkkkkkkkk.", ".kyksssssssssk..",
    ".kykssssssssk...", ".kksssssssssk...", ".kkssssssssk....", ".kssssssssk.....",
    ".kkkkkkkkkk.....", "................", "................", "................",
};

Picture Save = {
    "................", ".kkkkkkkkkkkkkk.", ".knkwwwwwwwwknk.", ".knkwwwwwwwwknk.",
    ".knkwwwwwwwwknk.", ".knkwwwwwwwwknk.", ".knnkkkkkkkknnk.", ".knnnnnnnnnnnnk.",
    ".knnkkkkkkkknnk.", ".knnkssssksknnk.", ".knnkssssksknnk.", ".knnkssssksknnk.",
    "..kkkkkkkkkkkkk.", "................", "................", "................",
};

// ---------------------------------------------------------------------------------
// The hand cursor: '.' transparent, 'k' black, 'w' white; the hot spot is (5, 0).

constexpr int CursorSize = 32;
constexpr int HotX = 5, HotY = 0;
const char* const Hand[] = {
    ".....kk..........", "....kwwk.........", "....kwwk.........", "....kwwk.........",
    "....kwwk.........", "....kwwkkk.......", "....kwwkwwkkk....", "....kwwkwwkwwkk..",
    ".kk.kwwkwwkwwkwk.", "kwwkkwwwwwwwwkwwk", "kwwwkwwwwwwwwwwwk", ".kwwkwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk", "..kwwwwwwwwwwwwwk", "...kwwwwwwwwwwwwk", "...kwwwwwwwwwwwk.",
    "....kwwwwwwwwwwk.", "....kwwwwwwwwwwk.", ".....kwwwwwwwwk..", ".....kwwwwwwwwk..",
    ".....kkkkkkkkkk..",
};

char HandAt(int X, int Y) {
  constexpr int Rows = static_cast<int>(sizeof(Hand) / sizeof(Hand[0]));
  if (Y >= Rows) return '.';
  const char* Row = Hand[Y];
  return X < static_cast<int>(std::strlen(Row)) ? Row[X] : '.';
}

bool WriteCursor(const std::string& Path) {
  return gen::WriteFile(Path, gen::MonoCursor(CursorSize, HotX, HotY, HandAt));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string Dir = std::string(argv[1]) + "/";
  struct Item {
    const char* Name;
    Picture& Rows;
  };
  const Item Blobs[] = {{"BLOB", Blob}, {"MEMO", Memo}, {"PICT", Pict}, {"OLE", Ole}};
  const Item Tools[] = {{"CUT", Cut},       {"COPY", Copy}, {"PASTE", Paste},
                        {"DELETE", Delete}, {"LOAD", Load}, {"SAVE", Save}};
  bool Ok = true;
  for (const Item& I : Blobs) {
    const std::string Name = Dir + "DXINPLACE_" + I.Name;
    Ok = WriteGlyph(Name + ".bmp", I.Rows, false) && Ok;
    Ok = WriteGlyph(Name + "_NULL.bmp", I.Rows, true) && Ok;
  }
  for (const Item& I : Tools) Ok = WriteGlyph(Dir + "DXTOOL_" + I.Name + ".bmp", I.Rows, false) && Ok;
  Ok = WriteCursor(Dir + "DX_HANDPOINT.cur") && Ok;
  return Ok ? 0 : 1;
}
