// Draws the kit's caption-button images and writes them as 24-bit BMP files into the
// folder named on the command line: 16 x 16 black glyphs on RGB(255, 0, 255), the
// colour the kit masks out. Runs on the build machine.
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
  return 0;
}
