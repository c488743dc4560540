#include "host/MerovanPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/HostPng.h"

namespace Merovan {

namespace {

constexpr double Pi = 3.14159265358979323846;

double NormalAngle(double Degrees) {
  double A = std::fmod(Degrees, 360.0);
  return A < 0 ? A + 360.0 : A;
}

// Deletes a GDI object at the end of a scope.
template <class Handle>
class TGdiHandle {
 public:
  explicit TGdiHandle(Handle Value) : FValue(Value) {}
  ~TGdiHandle() {
    if (FValue) DeleteObject(FValue);
  }
  TGdiHandle(const TGdiHandle&) = delete;
  TGdiHandle& operator=(const TGdiHandle&) = delete;
  Handle Get() const { return FValue; }

 private:
  Handle FValue;
};

// Selects an object into a device context for the length of a scope.
class TSelection {
 public:
  TSelection(HDC Dc, HGDIOBJ Object) : FDc(Dc), FOld(SelectObject(Dc, Object)) {}
  ~TSelection() { SelectObject(FDc, FOld); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDc;
  HGDIOBJ FOld;
};

// Where board coordinates land in the picture: the centre of the drawn extent at the
// picture's centre, one scale for both axes, Y up.
struct TView {
  double Scale = 1e-4;  // pixels per host unit; 1 pixel per mil without an extent
  double CX = 0, CY = 0;
  int Width = 0, Height = 0;

  POINT At(double X, double Y) const {
    return POINT{static_cast<LONG>(std::lround(Width / 2.0 + (X - CX) * Scale)),
                 static_cast<LONG>(std::lround(Height / 2.0 - (Y - CY) * Scale))};
  }
  // A length in whole pixels, at least one.
  int Pixels(double Length) const {
    return static_cast<int>(std::max<long>(1, std::lround(Length * Scale)));
  }
};

// The kinds a picture shows. Components and coordinates have no shape of their own,
// and the other kinds no place on the board.
bool IsDrawn(const TObject& Obj) {
  switch (Obj.Id) {
    case eArcObject:
    case ePadObject:
    case eViaObject:
    case eTrackObject:
    case eTextObject:
    case eFillObject:
    case ePolygonObject:
    case eDimensionObject:
    case eBoardOutlineObject:
      return true;
    default:
      return false;
  }
}

// The drawing order: the outline, the layers that are neither signal layers nor
// overlays, the signal layers from the bottom up, the multi-layer, then the bottom and
// the top overlay. Objects of one rank are drawn in container order.
constexpr int RankCount = 37;
int DrawingRank(const TObject& Obj) {
  if (Obj.Id == eBoardOutlineObject) return 0;
  int Layer = Obj.Header.Layer;
  if (IsSignalLayer(Layer)) return 2 + (32 - Layer);
  if (Layer == 74) return 34;
  if (Layer == 34) return 35;
  if (Layer == 33) return 36;
  return 1;
}

// Fits the extents of the drawn objects into the picture, inside a margin of a
// twentieth of its smaller side (at least 2 pixels).
TView FitView(TStore& Store, const std::vector<const TObject*>& Drawn, int Width,
              int Height) {
  TView View;
  View.Width = Width;
  View.Height = Height;
  bool Any = false;
  std::int64_t Left = 0, Bottom = 0, Right = 0, Top = 0;
  for (const TObject* Obj : Drawn) {
    TRect Rect;
    if (!Store.BoundingRect(*Obj, Rect)) continue;
    Left = Any ? std::min<std::int64_t>(Left, Rect.Left) : Rect.Left;
    Bottom = Any ? std::min<std::int64_t>(Bottom, Rect.Bottom) : Rect.Bottom;
    Right = Any ? std::max<std::int64_t>(Right, Rect.Right) : Rect.Right;
    Top = Any ? std::max<std::int64_t>(Top, Rect.Top) : Rect.Top;
    Any = true;
  }
  if (!Any) return View;
  const int Margin = std::max(2, std::min(Width, Height) / 20);
  const double RoomX = Width - 2.0 * Margin, RoomY = Height - 2.0 * Margin;
  const double ExtentX = double(Right - Left), ExtentY = double(Top - Bottom);
  if (ExtentX > 0 && ExtentY > 0)
    View.Scale = std::min(RoomX / ExtentX, RoomY / ExtentY);
  else if (ExtentX > 0)
    View.Scale = RoomX / ExtentX;
  else if (ExtentY > 0)
    View.Scale = RoomY / ExtentY;
  View.CX = (Left + Right) / 2.0;
  View.CY = (Bottom + Top) / 2.0;
  return View;
}

// Points along a counter-clockwise arc about (CX, CY), a few pixels apart. An arc
// whose end equals its start is a whole circle.
void AddArcPoints(std::vector<POINT>& Points, const TView& View, double CX, double CY,
                  double Radius, double StartAngle, double EndAngle) {
  const double From = NormalAngle(StartAngle);
  double Sweep = NormalAngle(EndAngle) - From;
  if (Sweep <= 0) Sweep += 360.0;
  const double Length = Sweep / 360.0 * 2 * Pi * Radius * View.Scale;
  const int Steps = std::clamp(static_cast<int>(std::ceil(Length / 3)), 8, 720);
  for (int I = 0; I <= Steps; ++I) {
    double Radians = (From + Sweep * I / Steps) * Pi / 180.0;
    Points.push_back(View.At(CX + Radius * std::cos(Radians), CY + Radius * std::sin(Radians)));
  }
}

class TPainter {
 public:
  TPainter(HDC Dc, TStore& Store, const TView& View) : FDc(Dc), FStore(Store), FView(View) {}

  void Draw(const TObject& Obj) {
    const THeader& H = Obj.Header;
    const COLORREF Colour =
        Obj.Id == eBoardOutlineObject ? OutlineColour : LayerColour(H.Layer);
    if (const auto* Track = std::get_if<TTrack>(&Obj.Data)) {
      Stroke({FView.At(H.X, H.Y), FView.At(Track->X2, Track->Y2)},
             FView.Pixels(Track->Width), Colour);
    } else if (const auto* Arc = std::get_if<TArc>(&Obj.Data)) {
      std::vector<POINT> Points;
      AddArcPoints(Points, FView, H.X, H.Y, Arc->Radius, Arc->StartAngle, Arc->EndAngle);
      Stroke(Points, FView.Pixels(Arc->LineWidth), Colour);
    } else if (const auto* Text = std::get_if<TText>(&Obj.Data)) {
      DrawText(H, *Text, Colour);
    } else if (const auto* Fill = std::get_if<TFill>(&Obj.Data)) {
      DrawFill(H, *Fill, Colour);
    } else if (const auto* Pad = std::get_if<TPad>(&Obj.Data)) {
      DrawPad(H, *Pad, Colour);
    } else if (const auto* Via = std::get_if<TVia>(&Obj.Data)) {
      Ellipse(FView.At(H.X, H.Y), FView.Pixels(Via->Size), FView.Pixels(Via->Size), Colour);
      Ellipse(FView.At(H.X, H.Y), FView.Pixels(Via->HoleSize), FView.Pixels(Via->HoleSize),
              PictureBackground);
    } else if (const auto* Polygon = std::get_if<TPolygon>(&Obj.Data)) {
      std::vector<POINT> Points;
      for (const TPolySegment& Segment : Polygon->Segments) {
        if (Segment.Kind == 1)
          AddArcPoints(Points, FView, Segment.CX, Segment.CY, Segment.Radius,
                       Segment.StartAngle, Segment.EndAngle);
        else
          Points.push_back(FView.At(Segment.X, Segment.Y));
      }
      Stroke(Points, Obj.Id == eBoardOutlineObject ? 2 : 1, Colour);
    } else if (const auto* Dimension = std::get_if<TDimension>(&Obj.Data)) {
      DrawDimension(*Dimension, Colour);
    }
  }

 private:
  // A line through Points with round ends and joins.
  void Stroke(const std::vector<POINT>& Points, int Width, COLORREF Colour) {
    if (Points.empty()) return;
    LOGBRUSH Brush{BS_SOLID, Colour, 0};
    TGdiHandle<HPEN> Pen(ExtCreatePen(
        PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, Width, &Brush, 0, nullptr));
    TSelection Selected(FDc, Pen.Get());
    if (Points.size() == 1) {
      POINT Dot[2] = {Points[0], Points[0]};
      Polyline(FDc, Dot, 2);
    } else {
      Polyline(FDc, Points.data(), static_cast<int>(Points.size()));
    }
  }

  void Ellipse(POINT Centre, int Width, int Height, COLORREF Colour) {
    TGdiHandle<HBRUSH> Brush(CreateSolidBrush(Colour));
    TSelection Pen(FDc, GetStockObject(NULL_PEN));
    TSelection Selected(FDc, Brush.Get());
    ::Ellipse(FDc, Centre.x - Width / 2, Centre.y - Height / 2, Centre.x - Width / 2 + Width + 1,
              Centre.y - Height / 2 + Height + 1);
  }

  void FillShape(const std::vector<POINT>& Points, COLORREF Colour) {
    TGdiHandle<HBRUSH> Brush(CreateSolidBrush(Colour));
    TSelection Pen(FDc, GetStockObject(NULL_PEN));
    TSelection Selected(FDc, Brush.Get());
    ::Polygon(FDc, Points.data(), static_cast<int>(Points.size()));
  }

  // A rectangle between the two corners, turned about its centre by the rotation.
  void DrawFill(const THeader& H, const TFill& Fill, COLORREF Colour) {
    const double CX = (double(H.X) + Fill.X2) / 2, CY = (double(H.Y) + Fill.Y2) / 2;
    const double HalfX = std::abs(double(Fill.X2) - H.X) / 2;
    const double HalfY = std::abs(double(Fill.Y2) - H.Y) / 2;
    const double Radians = Fill.Rotation * Pi / 180.0;
    const double C = std::cos(Radians), S = std::sin(Radians);
    std::vector<POINT> Corners;
    for (auto [DX, DY] : {std::pair{-HalfX, -HalfY}, std::pair{HalfX, -HalfY},
                          std::pair{HalfX, HalfY}, std::pair{-HalfX, HalfY}})
      Corners.push_back(FView.At(CX + DX * C - DY * S, CY + DX * S + DY * C));
    FillShape(Corners, Colour);
  }

  // A pad at its largest size over the layers: round when its top-layer shape is 1,
  // a rectangle otherwise; its hole in the background colour.
  void DrawPad(const THeader& H, const TPad& Pad, COLORREF Colour) {
    const Integer SizeX = *std::max_element(std::begin(Pad.XSizes), std::end(Pad.XSizes));
    const Integer SizeY = *std::max_element(std::begin(Pad.YSizes), std::end(Pad.YSizes));
    const POINT Centre = FView.At(H.X, H.Y);
    if (Pad.Shapes[1] == 1) {
      Ellipse(Centre, FView.Pixels(SizeX), FView.Pixels(SizeY), Colour);
    } else {
      FillShape({FView.At(H.X - SizeX / 2.0, H.Y - SizeY / 2.0),
                 FView.At(H.X + SizeX / 2.0, H.Y - SizeY / 2.0),
                 FView.At(H.X + SizeX / 2.0, H.Y + SizeY / 2.0),
                 FView.At(H.X - SizeX / 2.0, H.Y + SizeY / 2.0)},
                Colour);
    }
    if (Pad.HoleSize > 0)
      Ellipse(Centre, FView.Pixels(Pad.HoleSize), FView.Pixels(Pad.HoleSize),
              PictureBackground);
  }

  // The text from its baseline's left end, its height the text size, turned
  // counter-clockwise by its rotation.
  void DrawText(const THeader& H, const TText& Text, COLORREF Colour) {
    const long PixelHeight = std::lround(Text.Size * FView.Scale);
    if (PixelHeight < 1 || Text.Text.empty()) return;
    const int Escapement = static_cast<int>(std::lround(NormalAngle(Text.Rotation) * 10));
    TGdiHandle<HFONT> Font(CreateFontA(
        -static_cast<int>(std::min<long>(PixelHeight, 4 * FView.Height)), 0, Escapement,
        Escapement, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, nullptr));
    TSelection Selected(FDc, Font.Get());
    SetTextColor(FDc, Colour);
    SetBkMode(FDc, TRANSPARENT);
    SetTextAlign(FDc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    const POINT At = FView.At(H.X, H.Y);
    TextOutA(FDc, At.x, At.y, Text.Text.data(), static_cast<int>(Text.Text.size()));
  }

  // A baseline dimension (its angle in BaselineValue) as a drafting drawing: the
  // references' anchors measured along the angle from the first of them, one
  // measurement line for each further distinct position, placed through its text
  // location (the nearest first), with extension lines from the anchors and the
  // distance written at the text location. Any other kind: the line through the
  // anchors and a small cross at each text location.
  void DrawDimension(const TDimension& Dimension, COLORREF Colour) {
    std::vector<std::pair<double, double>> Anchors;
    for (const TReference& Reference : Dimension.References) {
      Integer X = 0, Y = 0;
      if (FStore.AnchorPoint(Reference.Values[0], Reference.Values[3], X, Y))
        Anchors.emplace_back(X, Y);
    }
    const int Width = FView.Pixels(Dimension.Values[5]);
    if (Dimension.Kind == eBaselineDimension && Anchors.size() >= 2 &&
        !Dimension.TextLocations.empty()) {
      DrawBaseline(Dimension, Anchors, Width, Colour);
      return;
    }
    std::vector<POINT> Points;
    for (auto [X, Y] : Anchors) Points.push_back(FView.At(X, Y));
    if (Points.size() >= 2) Stroke(Points, Width, Colour);
    constexpr int Arm = 4;
    for (const TTextLocation& Location : Dimension.TextLocations) {
      const POINT P = FView.At(Location.X, Location.Y);
      Stroke({POINT{P.x - Arm, P.y}, POINT{P.x + Arm, P.y}}, 1, Colour);
      Stroke({POINT{P.x, P.y - Arm}, POINT{P.x, P.y + Arm}}, 1, Colour);
    }
  }

  void DrawBaseline(const TDimension& Dimension,
                    const std::vector<std::pair<double, double>>& Anchors, int Width,
                    COLORREF Colour) {
    // Along: the measured direction; Across: its normal. A point is (T, S) in them.
    const double Radians = Dimension.BaselineValue * Pi / 180.0;
    const double AX = std::cos(Radians), AY = std::sin(Radians);
    const auto T = [&](double X, double Y) { return X * AX + Y * AY; };
    const auto S = [&](double X, double Y) { return -X * AY + Y * AX; };
    const auto At = [&](double TValue, double SValue) {
      return FView.At(TValue * AX - SValue * AY, TValue * AY + SValue * AX);
    };
    std::vector<double> Positions;
    for (auto [X, Y] : Anchors) Positions.push_back(T(X, Y));
    const double Base = Positions.front();
    std::sort(Positions.begin(), Positions.end(),
              [Base](double A, double B) { return std::abs(A - Base) < std::abs(B - Base); });
    Positions.erase(std::unique(Positions.begin(), Positions.end(),
                                [](double A, double B) { return std::abs(A - B) < 0.5; }),
                    Positions.end());
    const bool Metric = Dimension.Texts[2].find("mm") != std::string::npos;
    const std::size_t Lines = std::min(Positions.size() - 1, Dimension.TextLocations.size());
    for (std::size_t I = 0; I < Lines; ++I) {
      const TTextLocation& Location = Dimension.TextLocations[I];
      const double Line = S(Location.X, Location.Y);
      const double End = Positions[I + 1];
      // Extension lines from the anchors at both ends, and the measurement line.
      for (auto [X, Y] : Anchors) {
        const double At0 = T(X, Y);
        if (std::abs(At0 - Base) < 0.5 || std::abs(At0 - End) < 0.5)
          Stroke({At(At0, S(X, Y)), At(At0, Line)}, 1, Colour);
      }
      Stroke({At(Base, Line), At(End, Line)}, Width, Colour);
      for (double Tip : {Base, End}) {
        const POINT P = At(Tip, Line);
        Stroke({POINT{P.x - 2, P.y - 2}, POINT{P.x + 3, P.y + 3}}, 1, Colour);
      }
      const double Length = std::abs(End - Base) / 10000.0;  // mils
      char Text[32];
      if (Metric)
        std::snprintf(Text, sizeof(Text), "%.2f", Length * 0.0254);
      else
        std::snprintf(Text, sizeof(Text), "%.0f", Length);
      Label(At((Base + End) / 2, Line), Text, Colour);
    }
  }

  // A short text centred above a point, in a small sans-serif face.
  void Label(POINT P, const char* Text, COLORREF Colour) {
    TGdiHandle<HFONT> Font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                       nullptr));
    TSelection Selected(FDc, Font.Get());
    SetTextColor(FDc, Colour);
    SetBkMode(FDc, TRANSPARENT);
    SetTextAlign(FDc, TA_BOTTOM | TA_CENTER | TA_NOUPDATECP);
    TextOutA(FDc, P.x, P.y - 2, Text, static_cast<int>(std::strlen(Text)));
  }

  HDC FDc;
  TStore& FStore;
  const TView& FView;
};

}  // namespace

bool DrawBoardPicture(TStore& Store, const TBoard& Board, const std::string& FileName,
                      int Width, int Height) {
  std::vector<const TObject*> Drawn;
  for (Integer Handle : Board.Objects)
    if (const TObject* Obj = Store.Object(Handle); Obj && IsDrawn(*Obj)) Drawn.push_back(Obj);
  const TView View = FitView(Store, Drawn, Width, Height);

  // A top-down 24-bit DIB: GDI+ takes it over as an opaque picture.
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  TGdiHandle<HBITMAP> Bitmap(
      CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Bitmap.Get()) return false;
  {
    HDC Dc = CreateCompatibleDC(nullptr);
    if (!Dc) return false;
    struct TDcRelease {
      HDC Dc;
      ~TDcRelease() { DeleteDC(Dc); }
    } Release{Dc};
    TSelection Selected(Dc, Bitmap.Get());
    TGdiHandle<HBRUSH> Background(CreateSolidBrush(PictureBackground));
    RECT All{0, 0, Width, Height};
    FillRect(Dc, &All, Background.Get());
    TPainter Painter(Dc, Store, View);
    for (int Rank = 0; Rank < RankCount; ++Rank)
      for (const TObject* Obj : Drawn)
        if (DrawingRank(*Obj) == Rank) Painter.Draw(*Obj);
    GdiFlush();
  }
  return SaveBitmapAsPng(Bitmap.Get(), FileName);
}

}  // namespace Merovan
