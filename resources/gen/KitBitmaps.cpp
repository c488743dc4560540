// Draws the kit's bitmaps and writes them as BMP files into the folder named on the
// command line. Runs on the build machine.
// - Caption-button images: 24-bit, 16 x 16 black glyphs on RGB(255, 0, 255), the
//   colour the kit masks out.
// - Push-button glyphs: 4-bit with the 16-colour palette, 32 x 16, the normal image
//   and the disabled one side by side; the bottom-left pixel's colour (olive) is the
//   transparent one.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Size = 16;

struct Rgb {
  std::uint8_t R, G, B;
};
constexpr Rgb Key{255, 0, 255};
constexpr Rgb Ink{0, 0, 0};

class Glyph {
 public:
  Glyph() : Pixels(Size * Size, Key) {}

  void Set(int X, int Y, Rgb C = Ink) {
    if (X >= 0 && Y >= 0 && X < Size && Y < Size) Pixels[Y * Size + X] = C;
  }
  // The inclusive rectangle (X1, Y1)-(X2, Y2).
  void Fill(int X1, int Y1, int X2, int Y2, Rgb C = Ink) {
    for (int Y = Y1; Y <= Y2; ++Y)
      for (int X = X1; X <= X2; ++X) Set(X, Y, C);
  }
  // A window outline: a title bar TitleRows thick, one-pixel sides and bottom.
  void Window(int X1, int Y1, int X2, int Y2, int TitleRows) {
    Fill(X1, Y1, X2, Y1 + TitleRows - 1);
    Fill(X1, Y1, X1, Y2);
    Fill(X2, Y1, X2, Y2);
    Fill(X1, Y2, X2, Y2);
  }
  // A triangle with its point at row Tip and its base, Rows - 1 rows away, pointing up
  // (Down false) or down; the point is two pixels wide, at columns 7 and 8.
  void Triangle(int Tip, int Rows, bool Down) {
    for (int K = 0; K < Rows; ++K) Fill(7 - K, Down ? Tip - K : Tip + K, 8 + K, Down ? Tip - K : Tip + K);
  }

  // 24-bit BMP, rows bottom-up (48 bytes a row need no padding).
  bool Write(const std::string& Path) const {
    std::vector<std::uint8_t> File;
    auto Put16 = [&File](std::uint32_t V) {
      File.push_back(V & 0xFF);
      File.push_back((V >> 8) & 0xFF);
    };
    auto Put32 = [&Put16](std::uint32_t V) {
      Put16(V & 0xFFFF);
      Put16(V >> 16);
    };
    const std::uint32_t RowBytes = Size * 3;
    const std::uint32_t ImageBytes = RowBytes * Size;
    const std::uint32_t Offset = 14 + 40;
    File.push_back('B');
    File.push_back('M');
    Put32(Offset + ImageBytes);
    Put32(0);
    Put32(Offset);
    Put32(40);      // header size
    Put32(Size);    // width
    Put32(Size);    // height, positive: bottom-up
    Put16(1);       // planes
    Put16(24);      // bits per pixel
    Put32(0);       // BI_RGB
    Put32(ImageBytes);
    Put32(2835);    // 72 dots per inch
    Put32(2835);
    Put32(0);
    Put32(0);
    for (int Y = Size - 1; Y >= 0; --Y)
      for (int X = 0; X < Size; ++X) {
        const Rgb& C = Pixels[Y * Size + X];
        File.push_back(C.B);
        File.push_back(C.G);
        File.push_back(C.R);
      }
    FILE* Out = std::fopen(Path.c_str(), "wb");
    if (!Out) return false;
    const bool Ok = std::fwrite(File.data(), 1, File.size(), Out) == File.size();
    return std::fclose(Out) == 0 && Ok;
  }

 private:
  std::vector<Rgb> Pixels;
};

Glyph Close() {
  Glyph G;
  // Two diagonals across (4, 4)-(11, 11), two pixels thick inside that square.
  for (int I = 0; I < 8; ++I) {
    G.Set(4 + I, 4 + I);
    G.Set(11 - I, 4 + I);
    if (I < 7) {
      G.Set(5 + I, 4 + I);
      G.Set(10 - I, 4 + I);
    }
  }
  return G;
}

Glyph Minimize() {
  Glyph G;
  G.Fill(4, 11, 11, 12);
  return G;
}

Glyph Maximize() {
  Glyph G;
  G.Window(3, 3, 12, 12, 2);
  return G;
}

Glyph Restore() {
  Glyph G;
  G.Window(6, 2, 12, 8, 2);   // the window behind
  G.Fill(3, 6, 9, 12, Key);   // the front window hides it
  G.Window(3, 6, 9, 12, 2);
  return G;
}

Glyph Rollup() {
  Glyph G;
  G.Fill(3, 3, 12, 4);        // the caption the window rolls into
  G.Triangle(7, 4, false);
  return G;
}

Glyph Tray() {
  Glyph G;
  G.Triangle(9, 4, true);
  G.Fill(3, 11, 12, 12);      // the tray
  return G;
}

// ---------------------------------------------------------------------------------
// Push-button glyphs

// The 16-colour palette, as RGB.
constexpr Rgb Palette[16] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
                             {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
                             {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
                             {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
enum : std::uint8_t {
  cBlack, cMaroon, cGreen, cOlive, cNavy, cPurple, cTeal, cSilver,
  cGrey, cRed, cLime, cYellow, cBlue, cFuchsia, cAqua, cWhite
};
constexpr std::uint8_t ButtonKey = cOlive;

// One 16 x 16 image in palette indexes; Write adds the disabled image, an embossed
// grey copy (white one pixel right and down, grey over it).
class ButtonGlyph {
 public:
  ButtonGlyph() : Pixels(Size * Size, ButtonKey) {}
  // Rows of 16 characters: '.' transparent, else a colour letter (see Letter).
  explicit ButtonGlyph(const char* const (&Rows)[Size]) : ButtonGlyph() {
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) Set(X, Y, Letter(Rows[Y][X]));
  }

  void Set(int X, int Y, std::uint8_t C) {
    if (X >= 0 && Y >= 0 && X < Size && Y < Size) Pixels[Y * Size + X] = C;
  }
  std::uint8_t At(int X, int Y) const { return Pixels[Y * Size + X]; }
  // Every pixel whose centre lies within In(X, Y) takes colour C.
  template <class F>
  void Shape(F In, std::uint8_t C) {
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X)
        if (In(X + 0.5, Y + 0.5)) Set(X, Y, C);
  }

  bool Write(const std::string& Path) const {
    constexpr int Width = 2 * Size;
    std::vector<std::uint8_t> Image(Width * Size, ButtonKey);
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) Image[Y * Width + X] = At(X, Y);
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X)
        if (At(X, Y) != ButtonKey && X + 1 < Size && Y + 1 < Size)
          Image[(Y + 1) * Width + Size + X + 1] = cWhite;
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X)
        if (At(X, Y) != ButtonKey) Image[Y * Width + Size + X] = cGrey;

    std::vector<std::uint8_t> File;
    auto Put16 = [&File](std::uint32_t V) {
      File.push_back(V & 0xFF);
      File.push_back((V >> 8) & 0xFF);
    };
    auto Put32 = [&Put16](std::uint32_t V) {
      Put16(V & 0xFFFF);
      Put16(V >> 16);
    };
    const std::uint32_t RowBytes = Width / 2;  // 16: no padding
    const std::uint32_t ImageBytes = RowBytes * Size;
    const std::uint32_t Offset = 14 + 40 + 16 * 4;
    File.push_back('B');
    File.push_back('M');
    Put32(Offset + ImageBytes);
    Put32(0);
    Put32(Offset);
    Put32(40);      // header size
    Put32(Width);
    Put32(Size);    // bottom-up
    Put16(1);       // planes
    Put16(4);       // bits per pixel
    Put32(0);       // BI_RGB
    Put32(ImageBytes);
    Put32(2835);
    Put32(2835);
    Put32(16);      // colours used
    Put32(0);
    for (const Rgb& C : Palette) {
      File.push_back(C.B);
      File.push_back(C.G);
      File.push_back(C.R);
      File.push_back(0);
    }
    for (int Y = Size - 1; Y >= 0; --Y)
      for (int X = 0; X < Width; X += 2)
        File.push_back(static_cast<std::uint8_t>(Image[Y * Width + X] << 4 | Image[Y * Width + X + 1]));
    FILE* Out = std::fopen(Path.c_str(), "wb");
    if (!Out) return false;
    const bool Ok = std::fwrite(File.data(), 1, File.size(), Out) == File.size();
    return std::fclose(Out) == 0 && Ok;
  }

 private:
  static std::uint8_t Letter(char C) {
    switch (C) {
      case 'k': return cBlack;
      case 'm': return cMaroon;
      case 'g': return cGreen;
      case 'G': return cLime;
      case 'n': return cNavy;
      case 't': return cTeal;
      case 's': return cSilver;
      case 'e': return cGrey;
      case 'r': return cRed;
      case 'y': return cYellow;
      case 'b': return cBlue;
      case 'w': return cWhite;
      default: return ButtonKey;
    }
  }

  std::vector<std::uint8_t> Pixels;
};

double Distance(double X, double Y) { return std::hypot(X - 8.0, Y - 8.0); }

ButtonGlyph ButtonOk() {
  const char* const Rows[Size] = {
      "................", "................", "................", "...........gg...",
      "..........ggg...", ".........ggg....", "..gg....ggg.....", "..ggg..ggg......",
      "...gggggg.......", "....gggg........", ".....gg.........", "................",
      "................", "................", "................", "................"};
  return ButtonGlyph(Rows);
}

ButtonGlyph ButtonCancel() {
  const char* const Rows[Size] = {
      "................", "................", "..rr.......rr...", "..rrr.....rrr...",
      "...rrr...rrr....", "....rrr.rrr.....", ".....rrrrr......", "......rrr.......",
      ".....rrrrr......", "....rrr.rrr.....", "...rrr...rrr....", "..rrr.....rrr...",
      "..rr.......rr...", "................", "................", "................"};
  return ButtonGlyph(Rows);
}

ButtonGlyph ButtonHelp() {
  const char* const Rows[Size] = {
      "................", ".....bbbbbb.....", "....bbbbbbbb....", "....bb....bb....",
      "..........bb....", ".........bbb....", "........bbb.....", ".......bbb......",
      ".......bb.......", ".......bb.......", "................", ".......bb.......",
      ".......bb.......", "................", "................", "................"};
  return ButtonGlyph(Rows);
}

ButtonGlyph ButtonYes() {
  const char* const Rows[Size] = {
      "................", "................", "............gg..", "...........gGg..",
      "..........gGg...", ".........gGg....", "..gg....gGg.....", ".gGGg..gGg......",
      "..gGGggGg.......", "...gGGGg........", "....gGg.........", ".....g..........",
      "................", "................", "................", "................"};
  return ButtonGlyph(Rows);
}

ButtonGlyph ButtonNo() {
  ButtonGlyph G;
  G.Shape([](double X, double Y) { return Distance(X, Y) >= 4.6 && Distance(X, Y) <= 6.6; }, cRed);
  G.Shape([](double X, double Y) { return std::fabs(X - Y) <= 1.0 && Distance(X, Y) <= 6.6; }, cRed);
  return G;
}

ButtonGlyph ButtonClose() {
  ButtonGlyph G;
  G.Shape([](double X, double Y) { return X > 4 && X < 12 && Y > 2 && Y < 15; }, cTeal);
  G.Shape([](double X, double Y) {
    const bool Inside = X > 5 && X < 11 && Y > 3 && Y < 14;
    return X > 4 && X < 12 && Y > 2 && Y < 15 && !Inside;
  }, cBlack);
  G.Set(9, 9, cYellow);
  return G;
}

ButtonGlyph ButtonAbort() {
  ButtonGlyph G;
  G.Shape([](double X, double Y) { return Distance(X, Y) <= 6.6; }, cRed);
  G.Shape([](double X, double Y) { return X > 4 && X < 12 && Y > 7 && Y < 9.5; }, cWhite);
  return G;
}

ButtonGlyph ButtonRetry() {
  ButtonGlyph G;
  // A ring open at the top right, with the arrow's head at the open end.
  G.Shape([](double X, double Y) {
    const double D = Distance(X, Y);
    return D >= 3.6 && D <= 5.6 && !(X > 8 && Y < 8);
  }, cGreen);
  G.Shape([](double X, double Y) { return Y > 2 && Y < 9 && X > 9 && X < 16 - (Y - 2) && X > 8 + (9 - Y) / 2; }, cGreen);
  return G;
}

ButtonGlyph ButtonIgnore() {
  ButtonGlyph G;
  // An arrow arching over a bar.
  G.Shape([](double X, double Y) {
    const double D = std::hypot(X - 8.0, Y - 11.0);
    return D >= 4.6 && D <= 6.2 && Y < 11;
  }, cNavy);
  G.Shape([](double X, double Y) { return Y > 8 && Y < 13 && X > 11 && X < 16 && std::fabs(X - 13.5) < (13 - Y) * 0.7 + 0.5; }, cNavy);
  G.Shape([](double X, double Y) { return X > 7 && X < 9 && Y > 9 && Y < 15; }, cRed);
  return G;
}

ButtonGlyph ButtonAll() {
  const char* const Rows[Size] = {
      "................", "................", "...........g....", "..........gg....",
      ".........gg..g..", "..g.....gg..gg..", "..gg...gg..gg...", "...gg.gg..gg....",
      "....ggg..gg.....", ".....g..gg......", "......ggg.......", ".......g........",
      "................", "................", "................", "................"};
  return ButtonGlyph(Rows);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string Folder = argv[1];
  const struct {
    const char* Name;
    Glyph Image;
  } Images[] = {{"KSE_CLOSE", Close()},     {"KSE_MINIMIZE", Minimize()},
                {"KSE_MAXIMIZE", Maximize()}, {"KSE_RESTORE", Restore()},
                {"KSE_ROLLUP", Rollup()},   {"KSE_TRAY", Tray()}};
  for (const auto& Image : Images) {
    const std::string Path = Folder + "/" + Image.Name + ".bmp";
    if (!Image.Image.Write(Path)) {
      std::fprintf(stderr, "cannot write %s\n", Path.c_str());
      return 1;
    }
  }
  const struct {
    const char* Name;
    ButtonGlyph Image;
  } Buttons[] = {{"KSBTN_OK", ButtonOk()},         {"KSBTN_CANCEL", ButtonCancel()},
                 {"KSBTN_HELP", ButtonHelp()},     {"KSBTN_YES", ButtonYes()},
                 {"KSBTN_NO", ButtonNo()},         {"KSBTN_CLOSE", ButtonClose()},
                 {"KSBTN_ABORT", ButtonAbort()},   {"KSBTN_RETRY", ButtonRetry()},
                 {"KSBTN_IGNORE", ButtonIgnore()}, {"KSBTN_ALL", ButtonAll()}};
  for (const auto& Button : Buttons) {
    const std::string Path = Folder + "/" + Button.Name + ".bmp";
    if (!Button.Image.Write(Path)) {
      std::fprintf(stderr, "cannot write %s\n", Path.c_str());
      return 1;
    }
  }
  return 0;
}
