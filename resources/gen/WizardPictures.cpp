// Draws the wizard's page pictures and writes them into the pages' form files. Runs on
// the build machine:
//
//   wizard-pictures ext|int|err <template.form.in> <out.form>
//   wizard-pictures bmp <folder>
//
// The first copies the template, putting the picture's form-file data (the graphic's
// class name and a 24-bit BMP file, in hex) in place of the line "@PICTURE@"; the
// second writes the pictures of the pages' choices (outline shapes, via styles,
// component sides, tracks between pads, the three minimums) as NAME.bmp files, which
// resources/Wizard.rc compiles in as bitmap resources.
// - ext: 164 x 312, the left edge of the first and last pages: a circuit board on a
//   deep blue ground.
// - int: 48 x 48, the corner of the interior pages' white header band: a small board.
// - err: 16 x 16, the inner cut-out page's error mark: a white cross on a red disc, on a
//   fuchsia ground that the page's image leaves out (its transparent colour).
//
// The pictures are drawn as vector shapes (rounded rectangles, discs, thick lines),
// each pixel sampled 4 x 4 times for smooth edges.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Color {
  double R, G, B;
};

Color Rgb(int R, int G, int B) { return {R / 255.0, G / 255.0, B / 255.0}; }
Color Mix(Color A, Color B, double T) {
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

class Canvas {
 public:
  Canvas(int AWidth, int AHeight, Color Fill) : Width(AWidth), Height(AHeight), Pixels(AWidth * AHeight, Fill) {}

  // A vertical gradient over the whole canvas.
  void Gradient(Color Top, Color Bottom) {
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Pixels[Y * Width + X] = Mix(Top, Bottom, Y / double(Height - 1));
  }

  // Fills the shape whose inside test is Inside(x, y), within the box, with C at
  // opacity Alpha; each pixel takes the share of its 16 samples that are inside.
  template <class F>
  void Fill(double X0, double Y0, double X1, double Y1, Color C, double Alpha, F Inside) {
    const int XA = std::max(0, int(std::floor(X0))), XB = std::min(Width - 1, int(std::ceil(X1)));
    const int YA = std::max(0, int(std::floor(Y0))), YB = std::min(Height - 1, int(std::ceil(Y1)));
    for (int Y = YA; Y <= YB; ++Y)
      for (int X = XA; X <= XB; ++X) {
        int Hits = 0;
        for (int SY = 0; SY < 4; ++SY)
          for (int SX = 0; SX < 4; ++SX)
            if (Inside(X + (SX + 0.5) / 4.0, Y + (SY + 0.5) / 4.0)) ++Hits;
        if (Hits == 0) continue;
        Color& P = Pixels[Y * Width + X];
        P = Mix(P, C, Alpha * Hits / 16.0);
      }
  }

  void RoundRect(double X0, double Y0, double X1, double Y1, double Radius, Color C, double Alpha = 1) {
    Fill(X0, Y0, X1, Y1, C, Alpha, [=](double X, double Y) {
      if (X < X0 || X > X1 || Y < Y0 || Y > Y1) return false;
      const double CX = std::clamp(X, X0 + Radius, X1 - Radius);
      const double CY = std::clamp(Y, Y0 + Radius, Y1 - Radius);
      return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
    });
  }
  // A disc without smoothed edges: the pixels whose centre is inside, so that no pixel
  // mixes the disc with the ground.
  void SharpDisc(double CX, double CY, double Radius, Color C) {
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) {
        const double DX = X + 0.5 - CX, DY = Y + 0.5 - CY;
        if (DX * DX + DY * DY <= Radius * Radius) Pixels[Y * Width + X] = C;
      }
  }
  void Rect(double X0, double Y0, double X1, double Y1, Color C, double Alpha = 1) {
    RoundRect(X0, Y0, X1, Y1, 0, C, Alpha);
  }
  void Disc(double CX, double CY, double Radius, Color C, double Alpha = 1) {
    Fill(CX - Radius, CY - Radius, CX + Radius, CY + Radius, C, Alpha,
         [=](double X, double Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius; });
  }
  // A line of the given width with round ends.
  void Line(double X0, double Y0, double X1, double Y1, double LineWidth, Color C, double Alpha = 1) {
    const double H = LineWidth / 2;
    Fill(std::min(X0, X1) - H, std::min(Y0, Y1) - H, std::max(X0, X1) + H, std::max(Y0, Y1) + H, C, Alpha,
         [=](double X, double Y) {
           const double DX = X1 - X0, DY = Y1 - Y0;
           const double L2 = DX * DX + DY * DY;
           double T = L2 > 0 ? ((X - X0) * DX + (Y - Y0) * DY) / L2 : 0;
           T = std::clamp(T, 0.0, 1.0);
           const double PX = X0 + T * DX - X, PY = Y0 + T * DY - Y;
           return PX * PX + PY * PY <= H * H;
         });
  }
  // The polygon through the points (even-odd rule).
  void Polygon(const std::vector<std::pair<double, double>>& Points, Color C, double Alpha = 1) {
    double X0 = Width, Y0 = Height, X1 = 0, Y1 = 0;
    for (auto [X, Y] : Points) {
      X0 = std::min(X0, X), Y0 = std::min(Y0, Y), X1 = std::max(X1, X), Y1 = std::max(Y1, Y);
    }
    Fill(X0, Y0, X1, Y1, C, Alpha, [&Points](double X, double Y) {
      bool In = false;
      for (std::size_t I = 0, J = Points.size() - 1; I < Points.size(); J = I++) {
        const auto [XI, YI] = Points[I];
        const auto [XJ, YJ] = Points[J];
        if ((YI > Y) != (YJ > Y) && X < (XJ - XI) * (Y - YI) / (YJ - YI) + XI) In = !In;
      }
      return In;
    });
  }
  // A track through the points, with round joints.
  void Track(const std::vector<std::pair<double, double>>& Points, double LineWidth, Color C) {
    for (std::size_t I = 1; I < Points.size(); ++I)
      Line(Points[I - 1].first, Points[I - 1].second, Points[I].first, Points[I].second, LineWidth, C);
  }

  // A 24-bit BMP file, rows bottom-up, each padded to 4 bytes.
  std::vector<std::uint8_t> Bmp() const {
    std::vector<std::uint8_t> File;
    auto Put16 = [&File](std::uint32_t V) {
      File.push_back(V & 0xFF);
      File.push_back((V >> 8) & 0xFF);
    };
    auto Put32 = [&Put16](std::uint32_t V) {
      Put16(V & 0xFFFF);
      Put16(V >> 16);
    };
    const std::uint32_t RowBytes = (Width * 3 + 3) / 4 * 4;
    const std::uint32_t ImageBytes = RowBytes * Height;
    const std::uint32_t Offset = 14 + 40;
    File.push_back('B');
    File.push_back('M');
    Put32(Offset + ImageBytes);
    Put32(0);
    Put32(Offset);
    Put32(40);
    Put32(Width);
    Put32(Height);
    Put16(1);
    Put16(24);
    Put32(0);
    Put32(ImageBytes);
    Put32(2835);
    Put32(2835);
    Put32(0);
    Put32(0);
    auto Byte = [](double V) { return std::uint8_t(std::lround(std::clamp(V, 0.0, 1.0) * 255)); };
    for (int Y = Height - 1; Y >= 0; --Y) {
      for (int X = 0; X < Width; ++X) {
        const Color& P = Pixels[Y * Width + X];
        File.push_back(Byte(P.B));
        File.push_back(Byte(P.G));
        File.push_back(Byte(P.R));
      }
      for (std::uint32_t Pad = Width * 3; Pad < RowBytes; ++Pad) File.push_back(0);
    }
    return File;
  }

  const int Width, Height;

 private:
  std::vector<Color> Pixels;
};

// The board's colours.
const Color Solder = Rgb(26, 112, 66);
const Color SolderEdge = Rgb(16, 78, 46);
const Color Copper = Rgb(218, 172, 84);
const Color Hole = Rgb(14, 44, 30);
const Color Silk = Rgb(236, 240, 232);
const Color ChipBody = Rgb(34, 36, 42);
const Color Pin = Rgb(196, 200, 206);

// A plated hole: a copper ring around a dark drill.
void Via(Canvas& C, double X, double Y, double Radius) {
  C.Disc(X, Y, Radius, Copper);
  C.Disc(X, Y, Radius * 0.45, Hole);
}

// A chip with Pins legs on each of its left and right sides.
void Chip(Canvas& C, double X0, double Y0, double X1, double Y1, int Pins, double PinLength) {
  const double Pitch = (Y1 - Y0) / Pins;
  for (int I = 0; I < Pins; ++I) {
    const double Y = Y0 + Pitch * (I + 0.5);
    C.Rect(X0 - PinLength, Y - Pitch * 0.22, X0 + 1, Y + Pitch * 0.22, Pin);
    C.Rect(X1 - 1, Y - Pitch * 0.22, X1 + PinLength, Y + Pitch * 0.22, Pin);
  }
  C.RoundRect(X0, Y0, X1, Y1, 1.5, ChipBody);
  C.RoundRect(X0 + 1, Y0 + 1, X1 - 1, Y0 + 3, 1, Rgb(70, 72, 80), 0.6);
  C.Disc(X0 + 4, Y0 + 6, std::max(1.0, (X1 - X0) / 18), Rgb(90, 92, 100));
}

// The tall picture of the first and last pages.
Canvas ExternalPicture() {
  Canvas C(164, 312, Rgb(0, 0, 0));
  C.Gradient(Rgb(14, 34, 66), Rgb(18, 92, 104));
  // Soft light on the ground.
  C.Disc(30, 40, 46, Rgb(120, 190, 230), 0.06);
  C.Disc(140, 290, 70, Rgb(120, 220, 200), 0.07);
  C.Disc(120, 24, 20, Rgb(160, 210, 240), 0.05);

  // The board, with its shadow and edge.
  const double L = 18, T = 62, R = 146, B = 262;
  C.RoundRect(L + 4, T + 6, R + 4, B + 6, 9, Rgb(0, 0, 0), 0.35);
  C.RoundRect(L, T, R, B, 9, SolderEdge);
  C.RoundRect(L + 2, T + 2, R - 2, B - 2, 7, Solder);
  C.RoundRect(L + 2, T + 2, R - 2, T + 40, 7, Rgb(255, 255, 255), 0.05);

  // The edge connector's gold fingers.
  for (int I = 0; I < 9; ++I) C.RoundRect(34 + I * 11, B - 14, 41 + I * 11, B - 2, 1.5, Copper);

  // Tracks from the chip's pins down to the fingers: the upper a pin, the further out
  // its track runs, so that none crosses another.
  const double CL = 56, CT = 118, CR = 108, CB = 176;
  const int Pins = 5;
  const double Pitch = (CB - CT) / Pins;
  const double FingerTop = B - 14, Bend = FingerTop - 6;
  for (int I = 0; I < Pins; ++I) {
    const double Y = CT + Pitch * (I + 0.5);
    const double X = 30 + I * 4.0, FX = 37.5 + I * 11;
    C.Track({{CL - 6, Y}, {X, Y}, {X, Bend - (FX - X)}, {FX, Bend}, {FX, FingerTop}}, 2.2, Copper);
  }
  for (int I = 0; I < 4; ++I) {
    const double Y = CT + Pitch * (I + 0.5);
    const double X = 134 - I * 4.0, FX = 125.5 - I * 11;
    C.Track({{CR + 6, Y}, {X, Y}, {X, Bend - (X - FX)}, {FX, Bend}, {FX, FingerTop}}, 2.2, Copper);
  }
  const double Last = CT + Pitch * 4.5;
  C.Track({{CR + 6, Last}, {114, Last}, {114, 192}}, 2.2, Copper);
  Via(C, 114, 194, 3.4);

  // Parts above the chip: two resistors and a capacitor, with their tracks.
  C.Track({{48, 84}, {48, 100}, {62, 114}}, 2.2, Copper);
  C.Track({{72, 84}, {72, 100}, {76, 104}, {76, 112}}, 2.2, Copper);
  C.Track({{104, 84}, {104, 100}, {96, 108}, {96, 112}}, 2.2, Copper);
  C.Track({{128, 86}, {134, 92}, {134, 100}}, 2.2, Copper);
  Via(C, 134, 102, 3.2);
  for (double X : {48.0, 72.0}) {
    C.RoundRect(X - 4, 70, X + 4, 78, 1, Copper);
    C.RoundRect(X - 4, 84, X + 4, 92, 1, Copper);
    C.RoundRect(X - 3, 75, X + 3, 87, 1.2, Rgb(214, 196, 160));
    C.Rect(X - 3, 79.5, X + 3, 81.5, Rgb(150, 90, 60));
  }
  C.RoundRect(100, 70, 108, 78, 1, Copper);
  C.RoundRect(100, 84, 108, 92, 1, Copper);
  C.RoundRect(101, 75, 107, 87, 1.2, Rgb(70, 110, 170));
  C.Disc(128, 80, 7, Copper);
  C.Disc(128, 80, 5.4, Rgb(46, 52, 60));
  C.Disc(126.5, 78.5, 1.6, Rgb(150, 160, 170), 0.7);

  // Vias scattered over the board.
  for (auto [X, Y] : std::vector<std::pair<double, double>>{{30, 96}, {62, 196}, {92, 190}})
    Via(C, X, Y, 3.2);

  // The chip, with its outline in the silkscreen.
  C.RoundRect(CL - 9, CT - 5, CR + 9, CB + 5, 2, Silk, 0.85);
  C.RoundRect(CL - 8, CT - 4, CR + 8, CB + 4, 1.5, Solder);
  Chip(C, CL, CT, CR, CB, Pins, 6);

  // Mounting holes in the corners.
  for (auto [X, Y] : std::vector<std::pair<double, double>>{{L + 10, T + 10}, {R - 10, T + 10}})
    Via(C, X, Y, 5.5);
  return C;
}

// The small picture in the interior pages' header band.
Canvas InteriorPicture() {
  Canvas C(48, 48, Rgb(255, 255, 255));
  C.RoundRect(7, 9, 45, 45, 5, Rgb(0, 0, 0), 0.18);
  C.RoundRect(4, 6, 42, 42, 5, SolderEdge);
  C.RoundRect(5, 7, 41, 41, 4, Solder);
  for (int I = 0; I < 5; ++I) C.RoundRect(9 + I * 6, 35, 12.5 + I * 6, 41, 0.8, Copper);
  C.Track({{17, 19}, {12, 19}, {10.75, 24}, {10.75, 35}}, 1.4, Copper);
  C.Track({{17, 24}, {15, 24}, {16.75, 30}, {16.75, 35}}, 1.4, Copper);
  C.Track({{31, 19}, {36, 19}, {38.75, 26}, {38.75, 35}}, 1.4, Copper);
  C.Track({{31, 24}, {33, 24}, {32.75, 30}, {32.75, 35}}, 1.4, Copper);
  C.Track({{24, 29}, {24, 33}, {22.75, 35}}, 1.4, Copper);
  Via(C, 10, 12, 2.2);
  Via(C, 37, 12, 2.2);
  Chip(C, 18, 15, 30, 28, 3, 2.5);
  return C;
}

// The error mark of the inner cut-out page.
Canvas ErrorPicture() {
  Canvas C(16, 16, Rgb(255, 0, 255));
  C.SharpDisc(8, 8, 7.6, Rgb(178, 24, 24));
  C.Disc(8, 8, 6.4, Rgb(222, 48, 40));
  C.Line(5.2, 5.2, 10.8, 10.8, 2.2, Rgb(255, 255, 255));
  C.Line(10.8, 5.2, 5.2, 10.8, 2.2, Rgb(255, 255, 255));
  return C;
}


// The pictures of the choices on the wizard's pages, each on a white card with a grey
// edge. The one-pixel margin around the card is Key, the colour a transparent image
// leaves out (the bottom-left pixel's).
const Color Key = Rgb(255, 0, 255);
const Color Card = Rgb(255, 255, 255);
const Color CardEdge = Rgb(160, 160, 160);
const Color Core = Rgb(206, 184, 128);
const Color Measure = Rgb(30, 60, 160);

Canvas CardPicture(int Width, int Height) {
  Canvas C(Width, Height, Key);
  C.Rect(1, 1, Width - 1, Height - 1, CardEdge);
  C.Rect(2, 2, Width - 2, Height - 2, Card);
  return C;
}

// A measuring arrow from (X0, Y0) to (X1, Y1), with a head at each end.
void Arrow(Canvas& C, double X0, double Y0, double X1, double Y1) {
  const double DX = X1 - X0, DY = Y1 - Y0, L = std::sqrt(DX * DX + DY * DY);
  const double UX = DX / L, UY = DY / L, Head = 4.5, Half = 2.6;
  C.Line(X0 + UX * Head, Y0 + UY * Head, X1 - UX * Head, Y1 - UY * Head, 1.1, Measure);
  C.Polygon({{X0, Y0}, {X0 + UX * Head - UY * Half, Y0 + UY * Head + UX * Half},
             {X0 + UX * Head + UY * Half, Y0 + UY * Head - UX * Half}},
            Measure);
  C.Polygon({{X1, Y1}, {X1 - UX * Head - UY * Half, Y1 - UY * Head + UX * Half},
             {X1 - UX * Head + UY * Half, Y1 - UY * Head - UX * Half}},
            Measure);
}

// The parts on a board's face inside an outline: a chip, tracks and vias.
void BoardParts(Canvas& C, double CX, double CY) {
  C.Track({{CX - 22, CY + 10}, {CX - 14, CY + 10}, {CX - 10, CY + 4}}, 1.6, Copper);
  C.Track({{CX + 10, CY - 4}, {CX + 16, CY - 10}, {CX + 22, CY - 10}}, 1.6, Copper);
  C.Track({{CX + 10, CY + 4}, {CX + 18, CY + 12}}, 1.6, Copper);
  Via(C, CX - 22, CY + 10, 2.4);
  Via(C, CX + 22, CY - 10, 2.4);
  Via(C, CX + 18, CY + 12, 2.4);
  Chip(C, CX - 8, CY - 8, CX + 8, CY + 8, 3, 2.5);
}

// The board's outline shapes, 96 x 64.
Canvas RectOutline() {
  Canvas C = CardPicture(96, 64);
  C.Rect(14, 10, 82, 54, SolderEdge);
  C.Rect(15.5, 11.5, 80.5, 52.5, Solder);
  BoardParts(C, 48, 32);
  return C;
}

Canvas CircOutline() {
  Canvas C = CardPicture(96, 64);
  C.Disc(48, 32, 26, SolderEdge);
  C.Disc(48, 32, 24.5, Solder);
  BoardParts(C, 48, 32);
  return C;
}

Canvas CustomOutline() {
  Canvas C = CardPicture(96, 64);
  // A board with a rounded top edge and a notch in its lower right corner.
  std::vector<std::pair<double, double>> Edge;
  for (int I = 0; I <= 24; ++I) {
    const double A = 3.14159265358979 * I / 24;
    Edge.push_back({48 - 34 * std::cos(A), 20 - 10 * std::sin(A)});
  }
  Edge.insert(Edge.end(), {{82, 40}, {70, 40}, {70, 54}, {14, 54}});
  C.Polygon(Edge, SolderEdge);
  std::vector<std::pair<double, double>> Inner;
  for (auto [X, Y] : Edge) Inner.push_back({48 + (X - 48) * 0.955, 32 + (Y - 32) * 0.93});
  C.Polygon(Inner, Solder);
  BoardParts(C, 44, 32);
  return C;
}

// A board's cross-section, 180 x 112: copper layers on cores, top to bottom; each
// via given by its first and last layer.
Canvas CrossSection(const std::vector<std::pair<int, int>>& Vias) {
  Canvas C = CardPicture(180, 112);
  const int Layers = 4;
  const double Top = 24, Pitch = 22, Left = 12, Right = 168, Foil = 3;
  C.Rect(Left, Top, Right, Top + Pitch * (Layers - 1), Core);
  for (int L = 0; L < Layers - 1; ++L)
    C.Rect(Left, Top + Pitch * L + Pitch * 0.45, Right, Top + Pitch * L + Pitch * 0.55, Rgb(188, 164, 108));
  for (int L = 0; L < Layers; ++L) {
    const double Y = Top + Pitch * L;
    C.Rect(Left, Y - Foil / 2, Right, Y + Foil / 2, Copper);
  }
  double X = 40;
  const double Step = Vias.size() > 1 ? 100.0 / (Vias.size() - 1) : 0;
  if (Vias.size() == 1) X = 90;
  for (auto [First, Last] : Vias) {
    const double Y0 = Top + Pitch * First - 4, Y1 = Top + Pitch * Last + 4;
    C.Rect(X - 9, Y0, X + 9, Y1, Copper);
    C.Rect(X - 5, Y0, X + 5, Y1, Card);
    C.Rect(X - 12, Y0, X + 12, Y0 + 3, Copper);
    C.Rect(X - 12, Y1 - 3, X + 12, Y1, Copper);
    X += Step;
  }
  return C;
}

// A board seen from the side, 160 x 96, with components on its top and, when asked,
// on its bottom too.
Canvas Components(bool BothSides) {
  Canvas C = CardPicture(160, 96);
  const double Top = 44, Bottom = 52;
  C.Rect(10, Top, 150, Bottom, SolderEdge);
  C.Rect(10, Top + 1, 150, Bottom - 1, Solder);
  auto Part = [&C](double X, double Width, double Height, bool Below, Color Body) {
    const double Y0 = Below ? 52 : 44 - Height, Y1 = Below ? 52 + Height : 44;
    for (double LX : {X + 2, X + Width - 4}) C.Rect(LX, Below ? Y0 : Y1 - 3, LX + 2, Below ? Y0 + 3 : Y1, Pin);
    C.RoundRect(X, Below ? Y0 + 2 : Y0, X + Width, Below ? Y1 : Y1 - 2, 1.5, Body);
  };
  Part(20, 34, 12, false, ChipBody);
  Part(64, 14, 8, false, Rgb(214, 196, 160));
  Part(88, 44, 16, false, ChipBody);
  Part(138, 8, 6, false, Rgb(70, 110, 170));
  if (BothSides) {
    Part(26, 20, 8, true, ChipBody);
    Part(60, 12, 6, true, Rgb(214, 196, 160));
    Part(96, 30, 10, true, ChipBody);
  }
  return C;
}

// Two rows of component pads, 160 x 96, with Tracks tracks between two neighbours.
Canvas TracksBetweenPads(int Tracks) {
  Canvas C = CardPicture(160, 96);
  C.Rect(2, 2, 158, 94, Solder);
  const double PadRadius = 13, Gap = 100 - 2 * PadRadius;  // pads at x 30 and 130
  for (double Y : {22.0, 74.0})
    for (double X : {30.0, 130.0}) {
      C.Disc(X, Y, PadRadius, Copper);
      C.Disc(X, Y, PadRadius * 0.42, Hole);
    }
  // The tracks share the gap with the clearances on either side of each.
  const double Slot = Gap / (2 * Tracks + 1);
  for (int I = 0; I < Tracks; ++I) {
    const double X = 30 + PadRadius + Slot * (2 * I + 1.5);
    C.Line(X, 4, X, 92, Slot, Copper);
  }
  return C;
}

// The three minimums, 64 x 48: a track's width, a via's size and the clearance
// between two tracks.
Canvas TrackSize() {
  Canvas C = CardPicture(64, 48);
  C.Rect(2, 2, 62, 46, Solder);
  C.Rect(2, 16, 62, 32, Copper);
  Arrow(C, 32, 16, 32, 32);
  return C;
}

Canvas ViaSize() {
  Canvas C = CardPicture(64, 48);
  C.Rect(2, 2, 62, 46, Solder);
  C.Disc(32, 24, 18, Copper);
  C.Disc(32, 24, 8, Hole);
  Arrow(C, 14, 24, 50, 24);
  return C;
}

Canvas Clearance() {
  Canvas C = CardPicture(64, 48);
  C.Rect(2, 2, 62, 46, Solder);
  C.Line(14, 2, 14, 46, 14, Copper);
  C.Line(50, 2, 50, 46, 14, Copper);
  Arrow(C, 21, 24, 43, 24);
  return C;
}

struct NamedPicture {
  const char* Name;
  Canvas (*Draw)();
};

const NamedPicture ChoicePictures[] = {
    {"RECTOUTLINE", RectOutline},
    {"CIRCOUTLINE", CircOutline},
    {"CUSTOMOUTLINE", CustomOutline},
    {"THRU", [] { return CrossSection({{0, 3}, {0, 3}}); }},
    {"BLINDBURIED", [] { return CrossSection({{0, 1}, {1, 2}, {2, 3}}); }},
    {"COMPONONESIDE", [] { return Components(false); }},
    {"COMPONTWOSIDES", [] { return Components(true); }},
    {"ONETRACK", [] { return TracksBetweenPads(1); }},
    {"TWOTRACK", [] { return TracksBetweenPads(2); }},
    {"THREETRACK", [] { return TracksBetweenPads(3); }},
    {"TRACKSIZE", TrackSize},
    {"VIASIZE", ViaSize},
    {"CLEARANCE", Clearance},
};

// Writes every choice picture as NAME.bmp into Folder.
int WriteChoicePictures(const std::string& Folder) {
  for (const NamedPicture& Picture : ChoicePictures) {
    const std::vector<std::uint8_t> Bmp = Picture.Draw().Bmp();
    const std::string Path = Folder + "/" + Picture.Name + ".bmp";
    std::ofstream File(Path, std::ios::binary);
    File.write(reinterpret_cast<const char*>(Bmp.data()), static_cast<std::streamsize>(Bmp.size()));
    if (!File) {
      std::fprintf(stderr, "wizard-pictures: cannot write %s\n", Path.c_str());
      return 1;
    }
  }
  return 0;
}

std::string Hex(const std::vector<std::uint8_t>& Data, const std::string& Indent) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string Out;
  for (std::size_t I = 0; I < Data.size(); ++I) {
    if (I % 32 == 0) {
      if (I) Out += '\n';
      Out += Indent;
    }
    Out += Digits[Data[I] >> 4];
    Out += Digits[Data[I] & 15];
  }
  return Out;
}

}  // namespace

int main(int Count, char** Arguments) {
  if (Count == 3 && std::string(Arguments[1]) == "bmp") return WriteChoicePictures(Arguments[2]);
  if (Count != 4) {
    std::fprintf(stderr,
                 "usage: wizard-pictures ext|int|err <template.form.in> <out.form>\n"
                 "       wizard-pictures bmp <folder>\n");
    return 2;
  }
  const std::string Kind = Arguments[1];
  if (Kind != "ext" && Kind != "int" && Kind != "err") {
    std::fprintf(stderr, "wizard-pictures: unknown picture %s\n", Kind.c_str());
    return 2;
  }
  std::ifstream In(Arguments[2]);
  if (!In) {
    std::fprintf(stderr, "wizard-pictures: cannot read %s\n", Arguments[2]);
    return 1;
  }
  // The picture data: the graphic's class name (length first), then the BMP file.
  const Canvas Picture = Kind == "ext"   ? ExternalPicture()
                         : Kind == "int" ? InteriorPicture()
                                         : ErrorPicture();
  std::vector<std::uint8_t> Data{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
  const std::vector<std::uint8_t> Bmp = Picture.Bmp();
  Data.insert(Data.end(), Bmp.begin(), Bmp.end());

  std::ostringstream Out;
  std::string Line;
  bool Placed = false;
  while (std::getline(In, Line)) {
    if (Line == "@PICTURE@") {
      Out << Hex(Data, "      ") << '\n';
      Placed = true;
    } else {
      Out << Line << '\n';
    }
  }
  if (!Placed) {
    std::fprintf(stderr, "wizard-pictures: %s has no @PICTURE@ line\n", Arguments[2]);
    return 1;
  }
  std::ofstream File(Arguments[3], std::ios::binary);
  File << Out.str();
  return File ? 0 : 1;
}
