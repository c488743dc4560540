// Draws the tree list's ten cursors and writes them as .cur files into the folder
// named on the command line. Runs on the build machine. Every cursor is 32 x 32,
// monochrome: black shapes with a one-pixel white ring, the rest transparent.
// - "DXTLDELETECURSOR": a diagonal cross, the hot spot at its middle.
// - "DXTL_FULLSCROLLCURSOR", "DXTL_HORSCROLLCURSOR", "DXTL_VERSCROLLCURSOR": a dot
//   with arrow heads in all four, the two horizontal or the two vertical directions.
// - "DXTL_UPSCROLLCURSOR", "DXTL_RIGHTSCROLLCURSOR", "DXTL_DOWNSCROLLCURSOR",
//   "DXTL_LEFTSCROLLCURSOR": the dot with one arrow head.
// - "DXTL_DRAGCOPY", "DXTL_MULTIDRAGCOPY": a pointer with one or two pages and a plus,
//   the hot spot at the pointer's tip.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "GenFiles.h"

namespace {

constexpr int Size = 32;

// '.' transparent, 'k' black, 'w' white.
struct Picture {
  char Pixels[Size][Size];
  int HotX = Size / 2;
  int HotY = Size / 2;
  Picture() {
    for (auto& Row : Pixels)
      for (char& C : Row) C = '.';
  }
  void Set(int X, int Y, char C = 'k') {
    if (X >= 0 && X < Size && Y >= 0 && Y < Size) Pixels[Y][X] = C;
  }
  // A white ring around every black shape.
  void Outline() {
    Picture Copy = *this;
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X) {
        if (Copy.Pixels[Y][X] != '.') continue;
        for (int DY = -1; DY <= 1; ++DY)
          for (int DX = -1; DX <= 1; ++DX) {
            const int NX = X + DX, NY = Y + DY;
            if (NX >= 0 && NX < Size && NY >= 0 && NY < Size && Copy.Pixels[NY][NX] == 'k')
              Pixels[Y][X] = 'w';
          }
      }
  }
};

// The middle dot.
void Dot(Picture& P) {
  for (int Y = 0; Y < Size; ++Y)
    for (int X = 0; X < Size; ++X) {
      const double DX = X - 15.5, DY = Y - 15.5;
      if (DX * DX + DY * DY <= 9.0) P.Set(X, Y);
    }
}

// An arrow head pointing away from the middle: 0 up, 1 right, 2 down, 3 left.
void Head(Picture& P, int Direction) {
  for (int I = 0; I < 6; ++I)
    for (int X = 15 - I; X <= 16 + I; ++X) {
      const int Y = 4 + I;
      switch (Direction) {
        case 0: P.Set(X, Y); break;
        case 1: P.Set(Size - 1 - Y, X); break;
        case 2: P.Set(Size - 1 - X, Size - 1 - Y); break;
        default: P.Set(Y, Size - 1 - X); break;
      }
    }
}

Picture Scroll(std::initializer_list<int> Directions) {
  Picture P;
  Dot(P);
  for (int D : Directions) Head(P, D);
  P.Outline();
  return P;
}

Picture Cross() {
  Picture P;
  for (int I = 6; I < 26; ++I)
    for (int T = 0; T < 3; ++T) {
      P.Set(I + T - 1, I);
      P.Set(Size - 1 - I - T + 1, I);
    }
  P.Outline();
  return P;
}

// A page with its corner at (Left, Top).
void Page(Picture& P, int Left, int Top) {
  for (int X = Left; X < Left + 10; ++X) {
    P.Set(X, Top);
    P.Set(X, Top + 12);
  }
  for (int Y = Top; Y <= Top + 12; ++Y) {
    P.Set(Left, Y);
    P.Set(Left + 9, Y);
  }
  for (int Y = Top + 1; Y < Top + 12; ++Y)
    for (int X = Left + 1; X < Left + 9; ++X) P.Set(X, Y, 'w');
}

Picture DragCopy(bool Multi) {
  Picture P;
  P.HotX = 1;
  P.HotY = 1;
  // The pointer: a wedge with a stem.
  for (int Y = 1; Y < 13; ++Y)
    for (int X = 1; X <= 1 + (Y - 1) * 2 / 3; ++X) P.Set(X, Y);
  for (int Y = 8; Y < 16; ++Y) {
    P.Set(3 + (Y - 8) / 2, Y);
    P.Set(4 + (Y - 8) / 2, Y);
  }
  if (Multi) Page(P, 14, 13);
  Page(P, 11, 16);
  // The plus.
  for (int I = 0; I < 7; ++I) {
    P.Set(22 + I, 26);
    P.Set(25, 23 + I);
  }
  P.Outline();
  return P;
}

// The .cur file.
bool WriteCursor(const std::string& Path, const Picture& P) {
  const auto Pixel = [&P](int X, int Y) { return P.Pixels[Y][X]; };
  return gen::WriteFile(Path, gen::MonoCursor(Size, P.HotX, P.HotY, Pixel));
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
    Picture Image;
  } Cursors[] = {{"DXTLDELETECURSOR", Cross()},
                 {"DXTL_FULLSCROLLCURSOR", Scroll({0, 1, 2, 3})},
                 {"DXTL_HORSCROLLCURSOR", Scroll({1, 3})},
                 {"DXTL_VERSCROLLCURSOR", Scroll({0, 2})},
                 {"DXTL_UPSCROLLCURSOR", Scroll({0})},
                 {"DXTL_RIGHTSCROLLCURSOR", Scroll({1})},
                 {"DXTL_DOWNSCROLLCURSOR", Scroll({2})},
                 {"DXTL_LEFTSCROLLCURSOR", Scroll({3})},
                 {"DXTL_DRAGCOPY", DragCopy(false)},
                 {"DXTL_MULTIDRAGCOPY", DragCopy(true)}};
  for (const auto& C : Cursors)
    if (!WriteCursor(Dir + C.Name + ".cur", C.Image)) return 1;
  return 0;
}
