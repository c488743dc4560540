// Draws the two atlases of the kit's bitmap-atlas painter and writes them as whole
// 24-bit BMP files into the folder named on the command line. Runs on the build
// machine. RGB(255, 0, 255) is the key the painter makes transparent.
// - XP_MAIN (190 x 372), the active look: window frames, caption buttons, push-button
//   faces, check boxes, radio buttons, side-bar buttons, gripper dots, tool-bar
//   buttons and glyphs, MDI buttons, the combo button and the arrow button.
// - XP_MAIN1 (196 x 435), the inactive look of the frames and caption buttons, and the
//   track-bar thumbs, scroll-bar pieces and glyphs, and tab pieces.
// Every cell lies at the place the painter copies it from.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb {
  int R, G, B;
};
constexpr Rgb Key{255, 0, 255};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Black{0, 0, 0};

Rgb Mix(Rgb A, Rgb B, double T) {
  return {static_cast<int>(A.R + (B.R - A.R) * T + 0.5), static_cast<int>(A.G + (B.G - A.G) * T + 0.5),
          static_cast<int>(A.B + (B.B - A.B) * T + 0.5)};
}

class Atlas {
 public:
  Atlas(int W, int H) : Width(W), Height(H), Pixels(static_cast<std::size_t>(W * H), Key) {}

  void Set(int X, int Y, Rgb C) {
    if (X >= 0 && Y >= 0 && X < Width && Y < Height) Pixels[static_cast<std::size_t>(Y * Width + X)] = C;
  }
  // Half-open rectangles (right and bottom excluded), as the painter names them.
  void Fill(int L, int T, int R, int B, Rgb C) {
    for (int Y = T; Y < B; ++Y)
      for (int X = L; X < R; ++X) Set(X, Y, C);
  }
  void Frame(int L, int T, int R, int B, Rgb C) {
    Fill(L, T, R, T + 1, C);
    Fill(L, B - 1, R, B, C);
    Fill(L, T, L + 1, B, C);
    Fill(R - 1, T, R, B, C);
  }
  // Top to bottom from A to B.
  void Gradient(int L, int T, int R, int B, Rgb A, Rgb Z) {
    for (int Y = T; Y < B; ++Y) Fill(L, Y, R, Y + 1, Mix(A, Z, B - T > 1 ? double(Y - T) / (B - T - 1) : 0));
  }
  // A face with a one-pixel border and its corners cut (left transparent).
  void Face(int L, int T, int R, int B, Rgb Top, Rgb Bottom, Rgb Border) {
    Gradient(L, T, R, B, Top, Bottom);
    Frame(L, T, R, B, Border);
    for (int X : {L, R - 1})
      for (int Y : {T, B - 1}) Set(X, Y, Key);
  }
  void Line(int X1, int Y1, int X2, int Y2, Rgb C) {
    const int N = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1));
    for (int I = 0; I <= N; ++I)
      Set(X1 + (N ? (X2 - X1) * I / N : 0), Y1 + (N ? (Y2 - Y1) * I / N : 0), C);
  }

  bool Write(const std::string& Path) const {
    const std::uint32_t RowBytes = (static_cast<std::uint32_t>(Width) * 3 + 3) & ~3u;
    const std::uint32_t DataBytes = RowBytes * static_cast<std::uint32_t>(Height);
    std::vector<std::uint8_t> File;
    auto Put16 = [&File](std::uint32_t V) {
      File.push_back(V & 0xFF);
      File.push_back((V >> 8) & 0xFF);
    };
    auto Put32 = [&Put16](std::uint32_t V) {
      Put16(V & 0xFFFF);
      Put16(V >> 16);
    };
    Put16(0x4D42);
    Put32(14 + 40 + DataBytes);
    Put32(0);
    Put32(14 + 40);
    Put32(40);
    Put32(static_cast<std::uint32_t>(Width));
    Put32(static_cast<std::uint32_t>(Height));
    Put16(1);
    Put16(24);
    Put32(0);
    Put32(DataBytes);
    Put32(2835);
    Put32(2835);
    Put32(0);
    Put32(0);
    for (int Y = Height - 1; Y >= 0; --Y) {
      std::uint32_t Written = 0;
      for (int X = 0; X < Width; ++X) {
        const Rgb& C = Pixels[static_cast<std::size_t>(Y * Width + X)];
        File.push_back(static_cast<std::uint8_t>(C.B));
        File.push_back(static_cast<std::uint8_t>(C.G));
        File.push_back(static_cast<std::uint8_t>(C.R));
        Written += 3;
      }
      for (; Written < RowBytes; ++Written) File.push_back(0);
    }
    FILE* F = std::fopen(Path.c_str(), "wb");
    if (!F) return false;
    const bool Ok = std::fwrite(File.data(), 1, File.size(), F) == File.size();
    return std::fclose(F) == 0 && Ok;
  }

  int Width, Height;

 private:
  std::vector<Rgb> Pixels;
};

// The look of one atlas's window pieces: the active one is a deep blue, the inactive
// one a pale grey-blue.
struct Look {
  Rgb CaptionTop, CaptionBottom, Border, Button, ButtonHot, ButtonDown, Close, CloseHot, CloseDown, Glyph;
};
constexpr Look Active{{0, 88, 238}, {0, 66, 190}, {0, 72, 214}, {60, 130, 245}, {100, 160, 255},
                      {20, 80, 200}, {220, 80, 40}, {240, 120, 80}, {170, 50, 20}, {255, 255, 255}};
constexpr Look Inactive{{122, 150, 223}, {108, 134, 206}, {118, 144, 216}, {140, 165, 230},
                        {160, 185, 245}, {110, 135, 205}, {190, 140, 140}, {215, 160, 150},
                        {160, 110, 110}, {225, 230, 245}};

// The frame pieces: the standard one (x 0..65) and the tool-window one (x 66..131).
void DrawFrames(Atlas& A, const Look& L) {
  A.Gradient(0, 0, 66, 29, L.CaptionTop, L.CaptionBottom);
  A.Fill(0, 29, 3, 57, L.Border);
  A.Fill(63, 29, 66, 57, L.Border);
  A.Fill(0, 57, 66, 60, L.Border);
  A.Gradient(66, 0, 132, 19, L.CaptionTop, L.CaptionBottom);
  A.Fill(66, 19, 68, 49, L.Border);
  A.Fill(130, 19, 132, 49, L.Border);
  A.Fill(66, 49, 132, 51, L.Border);
}

// A caption-button glyph in a 21 x 21 cell at (X, Y).
void DrawGlyph(Atlas& A, int X, int Y, int Row, Rgb C) {
  switch (Row) {
    case 70:  // close: a cross
      for (int K = 0; K < 9; ++K) {
        A.Fill(X + 6 + K, Y + 6 + K, X + 8 + K, Y + 7 + K, C);
        A.Fill(X + 6 + K, Y + 14 - K, X + 8 + K, Y + 15 - K, C);
      }
      break;
    case 100:  // help: a question mark
      A.Fill(X + 8, Y + 5, X + 13, Y + 7, C);
      A.Fill(X + 12, Y + 6, X + 14, Y + 10, C);
      A.Fill(X + 10, Y + 10, X + 13, Y + 12, C);
      A.Fill(X + 10, Y + 14, X + 12, Y + 16, C);
      break;
    case 130:  // maximize: a window
      A.Frame(X + 5, Y + 5, X + 16, Y + 16, C);
      A.Fill(X + 5, Y + 5, X + 16, Y + 8, C);
      break;
    case 160:  // minimize: a bar
      A.Fill(X + 6, Y + 13, X + 13, Y + 16, C);
      break;
    case 190:  // restore: two windows
      A.Frame(X + 8, Y + 4, X + 17, Y + 12, C);
      A.Fill(X + 8, Y + 4, X + 17, Y + 6, C);
      A.Frame(X + 4, Y + 8, X + 13, Y + 17, C);
      A.Fill(X + 4, Y + 8, X + 13, Y + 10, C);
      break;
    case 220:  // roll down: a triangle pointing down
      for (int K = 0; K < 5; ++K) A.Fill(X + 6 + K, Y + 8 + K, X + 15 - K, Y + 9 + K, C);
      break;
    case 250:  // tray: a small bar at the bottom right
      A.Fill(X + 10, Y + 13, X + 16, Y + 16, C);
      break;
    case 280:  // roll up: a triangle pointing up
      for (int K = 0; K < 5; ++K) A.Fill(X + 6 + K, Y + 12 - K, X + 15 - K, Y + 13 - K, C);
      break;
  }
}

void DrawCaptionButtons(Atlas& A, const Look& L, bool Faded) {
  for (int Row : {70, 100, 130, 160, 190, 220, 250, 280}) {
    const bool Close = Row == 70;
    const Rgb Faces[] = {Close ? L.Close : L.Button, Close ? L.CloseHot : L.ButtonHot,
                         Close ? L.CloseDown : L.ButtonDown};
    for (int Column = 0; Column < 3; ++Column) {
      const int X = Column * 21;
      Rgb Face = Faces[Column];
      if (Faded && Column == 0) Face = Mix(Face, White, 0.35);
      // Copied without alpha onto the caption: the cut corners show the caption.
      A.Fill(X, Row, X + 21, Row + 21, Mix(L.CaptionTop, L.CaptionBottom, 0.4));
      A.Face(X, Row, X + 21, Row + 21, Mix(Face, White, 0.3), Face, White);
      DrawGlyph(A, X, Row, Row, L.Glyph);
    }
  }
  // The small close buttons of a tool window: 14 x 14 at x 66, 80 and 94.
  const Rgb Small[] = {L.Close, L.CloseHot, L.CloseDown};
  for (int Column = 0; Column < 3; ++Column) {
    const int X = 66 + Column * 14, Y = 70;
    A.Fill(X, Y, X + 14, Y + 14, Mix(L.CaptionTop, L.CaptionBottom, 0.4));
    A.Face(X, Y, X + 14, Y + 14, Mix(Small[Column], White, 0.3), Small[Column], White);
    for (int K = 0; K < 6; ++K) {
      A.Set(X + 4 + K, Y + 4 + K, L.Glyph);
      A.Set(X + 9 - K, Y + 4 + K, L.Glyph);
    }
  }
}

void DrawMain(Atlas& A) {
  DrawFrames(A, Active);
  DrawCaptionButtons(A, Active, false);
  // Push-button faces, (70, row)-(143, row + 21): normal 100, hot 130, pressed 160,
  // disabled 190, focused and default 220.
  const Rgb Border{0, 60, 116};
  A.Face(70, 100, 143, 121, {255, 255, 255}, {226, 223, 214}, Border);
  A.Face(70, 130, 143, 151, {255, 255, 255}, {226, 223, 214}, Border);
  A.Frame(71, 131, 142, 150, {248, 179, 48});
  A.Face(70, 160, 143, 181, {209, 204, 193}, {239, 238, 234}, Border);
  A.Face(70, 190, 143, 211, {245, 244, 234}, {245, 244, 234}, {201, 199, 186});
  A.Face(70, 220, 143, 241, {255, 255, 255}, {226, 223, 214}, Border);
  A.Frame(71, 221, 142, 240, {137, 173, 228});
  // Check boxes at x 171 and radio buttons at x 152, 16 x 16 (13 x 13 drawn): states
  // down the column (normal, hot, pressed, disabled every 16), checked 64 lower,
  // grayed 128 lower (check boxes).
  const Rgb BoxBorder{28, 81, 128};
  const Rgb Tops[] = {{220, 220, 215}, {255, 240, 207}, {176, 176, 167}, {245, 244, 234}};
  for (int Mark = 0; Mark < 3; ++Mark) {
    for (int State = 0; State < 4; ++State) {
      const int Y = 102 + 16 * State + 64 * Mark;
      const Rgb Edge = State == 3 ? Rgb{202, 200, 187} : BoxBorder;
      A.Gradient(171, Y, 184, Y + 13, Tops[State], White);
      A.Frame(171, Y, 184, Y + 13, Edge);
      const Rgb Ink = State == 3 ? Rgb{202, 200, 187} : Rgb{33, 161, 33};
      if (Mark == 1)
        for (int K = 0; K < 3; ++K) {
          A.Line(174, Y + 5 + K, 176, Y + 7 + K, Ink);
          A.Line(176, Y + 7 + K, 180, Y + 3 + K, Ink);
        }
      if (Mark == 2) A.Fill(174, Y + 4, 181, Y + 9, Ink);
      if (Mark < 2) {
        // The radio button of the same state beside it.
        const int CX = 152 + 6, CY = Y + 6;
        for (int DY = -6; DY <= 6; ++DY)
          for (int DX = -6; DX <= 6; ++DX) {
            const int D = DX * DX + DY * DY;
            if (D <= 30) A.Set(CX + DX, CY + DY, Mix(Tops[State], White, (DY + 6) / 12.0));
            if (D > 25 && D <= 40) A.Set(CX + DX, CY + DY, Edge);
            if (Mark == 1 && D <= 5) A.Set(CX + DX, CY + DY, Ink);
          }
      }
    }
  }
  // Side-bar buttons, 17 x 17 at x 134, 151, 168 (normal, hot, pressed), y 32: the
  // collapse chevron, 17 lower the expand chevron, 34 lower the close cross.
  for (int Column = 0; Column < 3; ++Column) {
    const int X = 134 + 17 * Column;
    const Rgb Face = Column == 0 ? White : Column == 1 ? Rgb{230, 238, 255} : Rgb{200, 215, 245};
    for (int Kind = 0; Kind < 3; ++Kind) {
      const int Y = 32 + 17 * Kind;
      A.Face(X, Y, X + 17, Y + 17, Face, Face, {150, 170, 220});
      const Rgb Ink{33, 93, 198};
      if (Kind == 2) {
        A.Line(X + 5, Y + 5, X + 11, Y + 11, Ink);
        A.Line(X + 11, Y + 5, X + 5, Y + 11, Ink);
      } else {
        const int Dir = Kind == 0 ? -1 : 1, Mid = Y + 8;
        for (int K = 0; K < 2; ++K) {
          A.Line(X + 5, Mid - Dir * 2 + K * 4 - 2, X + 8, Mid + Dir + K * 4 - 2, Ink);
          A.Line(X + 8, Mid + Dir + K * 4 - 2, X + 11, Mid - Dir * 2 + K * 4 - 2, Ink);
        }
      }
    }
  }
  // Gripper dots, (119, 58)-(129, 64).
  for (int X = 119; X < 129; X += 3)
    for (int Y = 58; Y < 64; Y += 3) {
      A.Set(X, Y, {128, 128, 128});
      A.Set(X + 1, Y + 1, White);
    }
  // Tool-bar buttons, (69, 278)-(89, 301) moved by (0 | 20 | 40, 0 | 23): hot, pressed
  // and checked faces.
  const Rgb ToolFaces[2][3] = {{{250, 250, 248}, {255, 255, 255}, {225, 225, 218}},
                               {{245, 244, 240}, {236, 233, 216}, {210, 208, 200}}};
  for (int Row = 0; Row < 2; ++Row)
    for (int Column = 0; Column < 3; ++Column) {
      const int X = 69 + 20 * Column, Y = 278 + 23 * Row;
      A.Face(X, Y, X + 20, Y + 23, White, ToolFaces[Row][Column], {140, 150, 170});
    }
  // Arrow buttons, (132, 278)-(146, 292) moved down 14 per state.
  for (int State = 0; State < 4; ++State) {
    const int Y = 278 + 14 * State;
    A.Face(132, Y, 146, Y + 14, {240, 244, 255}, State == 2 ? Rgb{170, 190, 240} : Rgb{200, 215, 250},
           {120, 150, 220});
  }
  // Drop-down arrows, (60, 311)-(66, 314) moved down 3 per state and 12 when checked.
  for (int I = 0; I < 8; ++I) {
    const int Y = 311 + 3 * I;
    A.Fill(60, Y, 66, Y + 1, Black);
    A.Fill(61, Y + 1, 65, Y + 2, Black);
    A.Fill(62, Y + 2, 64, Y + 3, Black);
  }
  // MDI buttons, 19 x 19 at x 0 (minimize), 19 (restore), 38 (close), y 310; raised
  // 19 lower, pressed 38 lower.
  for (int Row = 0; Row < 3; ++Row)
    for (int Column = 0; Column < 3; ++Column) {
      const int X = 19 * Column, Y = 310 + 19 * Row;
      const Rgb Face = Column == 2 ? Active.Close : Active.Button;
      A.Face(X, Y, X + 19, Y + 19, Mix(Face, White, Row == 1 ? 0.5 : 0.3), Row == 2 ? Mix(Face, Black, 0.2) : Face,
             White);
      if (Column == 0) A.Fill(X + 5, Y + 12, X + 12, Y + 14, White);
      if (Column == 1) A.Frame(X + 5, Y + 5, X + 14, Y + 14, White);
      if (Column == 2) {
        A.Line(X + 5, Y + 5, X + 13, Y + 13, White);
        A.Line(X + 13, Y + 5, X + 5, Y + 13, White);
      }
    }
  // Combo buttons, (151, 248)-(166, 262) moved down 14 per state, and their glyphs,
  // (155, 314)-(165, 321) moved down 7 per state.
  for (int State = 0; State < 4; ++State) {
    const int Y = 248 + 14 * State;
    A.Face(151, Y, 166, Y + 14, {220, 230, 255}, State == 2 ? Rgb{150, 175, 240} : Rgb{185, 205, 250},
           {160, 180, 230});
    const int G = 314 + 7 * State;
    const Rgb Ink = State == 3 ? Rgb{200, 200, 200} : Rgb{77, 97, 133};
    for (int K = 0; K < 4; ++K) A.Fill(156 + K, G + 1 + K, 164 - K, G + 2 + K, Ink);
  }
}

void DrawAlt(Atlas& A) {
  DrawFrames(A, Inactive);
  DrawCaptionButtons(A, Inactive, true);
  const Rgb Thumb{245, 245, 240}, ThumbEdge{28, 81, 128}, Green{33, 161, 33};
  // Track-bar thumbs: five states s, the horizontal bar's tall cells and the vertical
  // bar's wide ones (no pointer every 43 rows, pointers every 55).
  for (int S = 0; S < 5; ++S) {
    const Rgb Line = S == 1 ? Rgb{248, 179, 48} : S == 2 ? Green : Green;
    A.Face(80, 100 + 43 * S, 91, 123 + 43 * S, White, Thumb, ThumbEdge);
    A.Fill(81, 121 + 43 * S, 90, 122 + 43 * S, Line);
    A.Face(75, 128 + 43 * S, 97, 139 + 43 * S, White, Thumb, ThumbEdge);
    A.Fill(95, 129 + 43 * S, 96, 138 + 43 * S, Line);
    for (int Y0 : {67, 96}) {
      A.Face(129, Y0 + 55 * S, 140, Y0 + 22 + 55 * S, White, Thumb, ThumbEdge);
      A.Fill(130, Y0 + 55 * S + (Y0 == 67 ? 1 : 20), 139, Y0 + 55 * S + (Y0 == 67 ? 2 : 21), Line);
    }
    for (int X0 : {152, 153}) {
      const int Y0 = X0 == 152 ? 78 : 96;
      A.Face(X0, Y0 + 55 * S, X0 + 22, Y0 + 11 + 55 * S, White, Thumb, ThumbEdge);
    }
  }
  // Scroll bars: the tracks (19, 305)-(36, 322) across and (37, 305)-(54, 322) down;
  // the thumbs and buttons (1, 305)-(18, 322) normal, then hot, pressed, disabled.
  A.Gradient(19, 305, 36, 322, {243, 241, 236}, {254, 254, 251});
  for (int X = 37; X < 54; ++X) A.Fill(X, 305, X + 1, 322, Mix({243, 241, 236}, {254, 254, 251}, (X - 37) / 16.0));
  const Rgb Thumbs[] = {{200, 215, 250}, {220, 232, 255}, {160, 185, 245}, {235, 235, 230}};
  for (int S = 0; S < 4; ++S)
    A.Face(1, 305 + 17 * S, 18, 322 + 17 * S, Mix(Thumbs[S], White, 0.4), Thumbs[S], {150, 170, 220});
  // Scroll glyphs, 9 x 9 from (2, 375): up, left, down, right side by side, one row per
  // state.
  for (int S = 0; S < 4; ++S) {
    const Rgb Ink = S == 3 ? Rgb{190, 190, 190} : Rgb{77, 97, 133};
    const int Y = 375 + 9 * S;
    for (int K = 0; K < 4; ++K) {
      A.Fill(2 + 4 - K, Y + 2 + K, 2 + 5 + K, Y + 3 + K, Ink);       // up
      A.Fill(11 + 2 + K, Y + 4 - K, 11 + 3 + K, Y + 5 + K, Ink);     // left
      A.Fill(20 + 1 + K, Y + 3 + K, 20 + 8 - K, Y + 4 + K, Ink);     // down
      A.Fill(29 + 6 - K, Y + 4 - K, 29 + 7 - K, Y + 5 + K, Ink);     // right
    }
  }
  // Tabs: the pane (153, 344)-(168, 362); items (68, 365)-(89, 386) normal,
  // (68, 344)-(89, 365) hot, (69, 386)-(87, 407) selected, each repeated 21, 42 and 63
  // to the right for the other positions.
  A.Fill(153, 344, 168, 362, {252, 252, 254});
  A.Frame(153, 344, 168, 362, {145, 155, 156});
  for (int Offset : {0, 21, 42, 63}) {
    A.Face(68 + Offset, 365, 89 + Offset, 386, White, {236, 235, 230}, {145, 155, 156});
    A.Face(68 + Offset, 344, 89 + Offset, 365, White, {236, 235, 230}, {145, 155, 156});
    A.Fill(69 + Offset, 344, 88 + Offset, 347, {255, 200, 60});
    A.Face(69 + Offset, 386, 87 + Offset, 407, White, {252, 252, 254}, {145, 155, 156});
    A.Fill(70 + Offset, 386, 86 + Offset, 389, {255, 200, 60});
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: luna-atlases FOLDER\n");
    return 2;
  }
  const std::string Folder = Argv[1];
  Atlas Main(190, 372), Alt(196, 435);
  DrawMain(Main);
  DrawAlt(Alt);
  if (!Main.Write(Folder + "/XP_MAIN.bmp") || !Alt.Write(Folder + "/XP_MAIN1.bmp")) {
    std::fprintf(stderr, "luna-atlases: cannot write into %s\n", Folder.c_str());
    return 1;
  }
  return 0;
}
