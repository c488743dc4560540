// Writes the host's sample board templates into its Templates folder. Each board is
// built in the PCB editor stand-in through its exports (a document, its outline, sheet,
// title block, scale bar, object classes and design rules) and saved as the editor's
// text; some templates get an .EMF preview beside them, recorded with GDI.
//
//   usage: MakeTemplates EDITOR_DLL OUTPUT_FOLDER
//
// Runs at build time, under Wine when cross-compiled. Exit code 0 on success, 1 with a
// message on stderr otherwise.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "host/MerovanApi.h"
#include "pcb/PcbApiAbi.h"

namespace {

// ---------------------------------------------------------------------------------
// The templates

struct TTemplate {
  const char* Name;      // the file's base name
  int WidthMm, HeightMm;  // the board outline
  bool Preview;           // with an .EMF preview of the same base name
  const char* AlsoAs;     // another file name for the same board, or nullptr
};

// Every size is in the name as "<width>x<height>mm"; the tests read it from there.
// The profile page skips a template named TEMPLATE.PCBDOC, so one board has that name
// too.
const TTemplate Templates[] = {
    {"Eurocard 160x100mm", 160, 100, true, nullptr},
    {"Half Eurocard 100x80mm", 100, 80, false, "TEMPLATE.PCBDOC"},
    {"Desktop Controller 200x150mm", 200, 150, true, nullptr},
};

// Host units: 10,000 per mil.
constexpr Integer Mil = 10000;
Integer FromMm(int Mm) { return static_cast<Integer>(std::lround(Mm * 10000000.0 / 25.4)); }

constexpr Word TitleBlockFlag = 0x10;
constexpr Byte TitleBlockLayer = 57;  // Mechanical 1
constexpr Byte ScaleLayer = 72;       // Mechanical 16
constexpr Integer TitleWidth = 3000 * Mil;
constexpr Integer TitleHeight = 800 * Mil;
constexpr Integer TitleGap = 500 * Mil;  // between the board and the title block

// Where a template's parts lie, in host units.
struct TLayout {
  Integer Left, Bottom, Right, Top;                           // the board outline
  Integer TitleLeft, TitleBottom, TitleRight, TitleTop;       // the title block
  Integer SheetLeft, SheetBottom, SheetRight, SheetTop;       // the sheet around it all
};

TLayout LayoutOf(const TTemplate& T) {
  TLayout L;
  L.Left = 2000 * Mil;
  L.Bottom = 3000 * Mil;
  L.Right = L.Left + FromMm(T.WidthMm);
  L.Top = L.Bottom + FromMm(T.HeightMm);
  L.TitleRight = L.Right;
  L.TitleLeft = L.Right - TitleWidth;
  L.TitleTop = L.Bottom - TitleGap;
  L.TitleBottom = L.TitleTop - TitleHeight;
  constexpr Integer Margin = 500 * Mil;
  L.SheetLeft = std::min(L.Left, L.TitleLeft) - Margin;
  L.SheetBottom = L.TitleBottom - Margin;
  L.SheetRight = L.Right + Margin;
  L.SheetTop = L.Top + 1000 * Mil;  // room for the scale bar above the board
  return L;
}

// ---------------------------------------------------------------------------------
// The editor

class TEditor {
 public:
  explicit TEditor(const std::string& Path) {
    FModule = LoadLibraryA(Path.c_str());
    if (!FModule) throw std::runtime_error("cannot load " + Path);
  }
  ~TEditor() { FreeLibrary(FModule); }
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  // The export Name, typed; an error when it is missing.
  template <class Function>
  Function* Get(const char* Name) const {
    auto* Found = reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(GetProcAddress(FModule, Name)));
    if (!Found) throw std::runtime_error(std::string("the editor lacks ") + Name);
    return Found;
  }

 private:
  HMODULE FModule = nullptr;
};

void Check(Integer Status, const char* What) {
  if (Status != 0) throw std::runtime_error(std::string(What) + " failed");
}

// Builds one board through the editor's exports.
class TBuilder {
 public:
  TBuilder(const TEditor& Editor, Integer Board) : E(Editor), FBoard(Board) {}

  void Outline(const TLayout& L) {
    E.Get<PcbAbi::CreateBoardOutline>("PcbApi_CreateBoardOutline")(FBoard);
    Integer Values[5] = {}, Outline = 0;
    PcbString Text;
    Byte Bytes[3] = {};
    Check(E.Get<PcbAbi::QueryBoard>("PcbApi_QueryBoard")(
              ExchangeRead, FBoard, Values[0], Text, Bytes[0], Values[1], Values[2],
              Values[3], Values[4], Bytes[1], Bytes[2], Outline),
          "reading the board");
    auto Query = E.Get<PcbAbi::QueryPolygon>("PcbApi_QueryPolygon");
    TPolygonRecord P;
    Check(P.Exchange(Query, ExchangeRead, Outline), "reading the outline");
    const Integer Corners[5][2] = {
        {L.Left, L.Bottom}, {L.Right, L.Bottom}, {L.Right, L.Top}, {L.Left, L.Top},
        {L.Left, L.Bottom}};
    P.SegmentCount = 4;
    for (int I = 0; I < 5; ++I) {
      P.Segments[I] = TPolySegment{};
      P.Segments[I].X = Corners[I][0];
      P.Segments[I].Y = Corners[I][1];
    }
    Check(P.Exchange(Query, ExchangeWrite, Outline), "writing the outline");
  }

  void Sheet(const TLayout& L) {
    auto Query = E.Get<PcbAbi::QuerySheet>("PcbApi_QuerySheet");
    Integer X = 0, Y = 0, Width = 0, Height = 0;
    Byte Flag1 = 0, Flag2 = 0;
    Check(Query(ExchangeRead, FBoard, X, Flag2, Flag1, Height, Width, Y), "reading the sheet");
    X = L.SheetLeft;
    Y = L.SheetBottom;
    Width = L.SheetRight - L.SheetLeft;
    Height = L.SheetTop - L.SheetBottom;
    Check(Query(ExchangeWrite, FBoard, X, Flag2, Flag1, Height, Width, Y), "writing the sheet");
  }

  void Track(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer Width, Byte Layer,
             Word Flags) {
    auto Query = E.Get<PcbAbi::QueryTrack>("PcbApi_QueryTrack");
    Integer Handle = New(eTrackObject);
    TPrefix P;
    Integer EndX = 0, EndY = 0, LineWidth = 0, Extra[3] = {};
    Check(Query(ExchangeRead, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, EndX, EndY, LineWidth, Extra[0],
                Extra[1], Extra[2]),
          "reading a track");
    P.Flags = Flags, P.Layer = Layer, P.X = X1, P.Y = Y1;
    EndX = X2, EndY = Y2, LineWidth = Width;
    Check(Query(ExchangeWrite, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, EndX, EndY, LineWidth, Extra[0],
                Extra[1], Extra[2]),
          "writing a track");
    Add(Handle);
  }

  void Arc(Integer X, Integer Y, Integer Radius, double StartAngle, double EndAngle,
           Integer Width, Byte Layer, Word Flags) {
    auto Query = E.Get<PcbAbi::QueryArc>("PcbApi_QueryArc");
    Integer Handle = New(eArcObject);
    TPrefix P;
    Integer ArcRadius = 0, LineWidth = 0, Extra = 0;
    double Start = 0, End = 0;
    Check(Query(ExchangeRead, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, ArcRadius, Start, End, LineWidth,
                Extra),
          "reading an arc");
    P.Flags = Flags, P.Layer = Layer, P.X = X, P.Y = Y;
    ArcRadius = Radius, Start = StartAngle, End = EndAngle, LineWidth = Width;
    Check(Query(ExchangeWrite, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, ArcRadius, Start, End, LineWidth,
                Extra),
          "writing an arc");
    Add(Handle);
  }

  void Text(Integer X, Integer Y, const char* String, Integer Size, Byte Layer, Word Flags) {
    auto Query = E.Get<PcbAbi::QueryText>("PcbApi_QueryText");
    Integer Handle = New(eTextObject);
    TPrefix P;
    Integer TextSize = 0, TextValue = 0, Width = 0, Extra2 = 0, Extra3 = 0;
    double Rotation = 0;
    Byte TextFlag = 0;
    PcbString Content;
    Check(Query(ExchangeRead, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, TextSize, TextValue, Rotation,
                TextFlag, Content, Width, Extra2, Extra3),
          "reading a text");
    P.Flags = Flags, P.Layer = Layer, P.X = X, P.Y = Y;
    TextSize = Size, Width = Size / 10, Content = String;
    Check(Query(ExchangeWrite, Handle, P.Flags, P.HeaderWord, P.Layer, P.HeaderValue1,
                P.HeaderByte, P.HeaderValue2, P.X, P.Y, TextSize, TextValue, Rotation,
                TextFlag, Content, Width, Extra2, Extra3),
          "writing a text");
    Add(Handle);
  }

  void Class(const char* Name, Byte Kind, std::initializer_list<const char*> Members) {
    auto Query = E.Get<PcbAbi::QueryClass>("PcbApi_QueryClass");
    Integer Handle = New(eClassObject);
    Word HeaderWord = 0;
    Byte Byte1 = 0, Byte2 = 0;
    PcbString ClassName;
    Check(Query(ExchangeRead, Handle, HeaderWord, Byte1, Byte2, ClassName), "reading a class");
    Byte1 = Kind, ClassName = Name;
    Check(Query(ExchangeWrite, Handle, HeaderWord, Byte1, Byte2, ClassName), "writing a class");
    auto AddMember = E.Get<PcbAbi::AddMemberToClass>("PcbApi_AddMemberToClass");
    for (const char* Member : Members) Check(AddMember(Handle, Member), "adding a member");
    Add(Handle);
  }

  // A rule of Kind named Name; Constrain (given the rule's handle) sets its values.
  template <class Constrain>
  void Rule(Byte Kind, const char* Name, Constrain&& SetValues) {
    Integer Handle = E.Get<PcbAbi::CreateRuleObject>("PcbApi_CreateRuleObject")(Kind);
    if (!Handle) throw std::runtime_error("cannot make a rule");
    PcbString RuleName = Name;
    Check(E.Get<PcbAbi::QueryRuleExtEx>("PcbApi_QueryRuleExtEx")(ExchangeWrite, Handle,
                                                                 RuleName),
          "naming a rule");
    SetValues(Handle);
    Add(Handle);
  }

  const TEditor& E;

 private:
  struct TPrefix {
    Word Flags = 0, HeaderWord = 0;
    Byte Layer = 0, HeaderByte = 0;
    Integer HeaderValue1 = 0, HeaderValue2 = 0, X = 0, Y = 0;
  };

  struct TPolygonRecord {
    Word Flags = 0, HeaderWord = 0;
    Byte Layer = 0, HeaderByte = 0, Bytes[6] = {};
    Integer HeaderValue1 = 0, Values[3] = {}, SegmentCount = 0;
    TPolySegments Segments = {};

    Integer Exchange(PcbAbi::QueryPolygon* Query, TExchangeMode Mode, Integer Handle) {
      return Query(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1, HeaderByte,
                   Bytes[1], Bytes[2], Bytes[3], Values[0], Values[1], Bytes[4], Bytes[5],
                   Values[2], Bytes[0], SegmentCount, Segments);
    }
  };

  Integer New(TObjectId Id) {
    Integer Handle = E.Get<PcbAbi::CreateObject>("PcbApi_CreateObject")(Id);
    if (!Handle) throw std::runtime_error("cannot make an object");
    return Handle;
  }
  void Add(Integer Handle) {
    Check(E.Get<PcbAbi::AddObjectToContainer>("PcbApi_AddObjectToContainer")(FBoard, Handle),
          "adding an object to the board");
  }

  Integer FBoard;
};

// A title block in the lower right: a frame with a logo cell and three rows, a round
// logo, and the board's name, size, sheet and revision.
void AddTitleBlock(TBuilder& B, const TTemplate& T, const TLayout& L) {
  constexpr Integer Line = 10 * Mil;
  const Integer Left = L.TitleLeft, Bottom = L.TitleBottom;
  const Integer Right = L.TitleRight, Top = L.TitleTop;
  const Integer LogoRight = Left + 800 * Mil;
  const Integer Row = TitleHeight / 4;
  auto Edge = [&](Integer X1, Integer Y1, Integer X2, Integer Y2) {
    B.Track(X1, Y1, X2, Y2, Line, TitleBlockLayer, TitleBlockFlag);
  };
  Edge(Left, Bottom, Right, Bottom);
  Edge(Right, Bottom, Right, Top);
  Edge(Right, Top, Left, Top);
  Edge(Left, Top, Left, Bottom);
  Edge(LogoRight, Bottom, LogoRight, Top);
  for (int I = 1; I < 4; ++I) Edge(LogoRight, Bottom + I * Row, Right, Bottom + I * Row);

  const Integer LogoX = (Left + LogoRight) / 2, LogoY = (Bottom + Top) / 2;
  B.Arc(LogoX, LogoY, 280 * Mil, 0, 360, Line, TitleBlockLayer, TitleBlockFlag);
  B.Arc(LogoX, LogoY, 150 * Mil, 30, 330, Line, TitleBlockLayer, TitleBlockFlag);

  const std::string Size =
      "Size " + std::to_string(T.WidthMm) + " x " + std::to_string(T.HeightMm) + " mm";
  const std::string Lines[4] = {T.Name, Size, "Sheet 1 of 1", "Rev A"};
  constexpr Integer TextSize = 70 * Mil;  // 28 characters fit beside the logo
  for (int I = 0; I < 4; ++I)
    B.Text(LogoRight + 60 * Mil, Top - (I + 1) * Row + (Row - TextSize) / 2,
           Lines[I].c_str(), TextSize, TitleBlockLayer, TitleBlockFlag);
}

// A 40 mm scale bar above the board's upper left corner, with a tick every 10 mm.
void AddScaleBar(TBuilder& B, const TLayout& L) {
  constexpr Integer Line = 8 * Mil;
  const Integer Y = L.Top + 400 * Mil;
  const Integer Tick = 60 * Mil;
  B.Track(L.Left, Y, L.Left + FromMm(40), Y, Line, ScaleLayer, 0);
  for (int Mm = 0; Mm <= 40; Mm += 10)
    B.Track(L.Left + FromMm(Mm), Y, L.Left + FromMm(Mm), Y + Tick, Line, ScaleLayer, 0);
  B.Text(L.Left, Y + Tick + 40 * Mil, "0", 60 * Mil, ScaleLayer, 0);
  B.Text(L.Left + FromMm(40), Y + Tick + 40 * Mil, "40 mm", 60 * Mil, ScaleLayer, 0);
}

// The seven rule kinds the board maker replaces, and one it keeps.
void AddRules(TBuilder& B) {
  const TEditor& E = B.E;
  B.Rule(eClearanceRule, "Clearance", [&](Integer Rule) {
    Integer Gap = 8 * Mil;
    Check(E.Get<PcbAbi::QueryRuleClearanceConstraint>("PcbApi_QueryRuleClearanceConstraint")(
              ExchangeWrite, Rule, Gap),
          "writing the clearance");
  });
  B.Rule(eWidthRule, "Width", [&](Integer Rule) {
    Integer Min = 8 * Mil, Max = 50 * Mil, Preferred = 12 * Mil;
    Check(E.Get<PcbAbi::QueryRuleMaxMinWidthConstraintExt>(
              "PcbApi_QueryRuleMaxMinWidthConstraintExt")(ExchangeWrite, Rule, Min, Max,
                                                          Preferred),
          "writing the widths");
  });
  B.Rule(ePlaneConnectStyleRule, "PlaneConnect", [&](Integer Rule) {
    Byte Style = 1;
    Integer Values[4] = {20 * Mil, 10 * Mil, 4, 12 * Mil};
    Check(E.Get<PcbAbi::QueryRulePowerPlaneConnectStyleRule>(
              "PcbApi_QueryRulePowerPlaneConnectStyleRule")(
              ExchangeWrite, Rule, Style, Values[0], Values[1], Values[2], Values[3]),
          "writing the plane connection");
  });
  B.Rule(eRoutingLayersRule, "RoutingLayers", [&](Integer Rule) {
    TRoutingLayersBlock Layers = {};
    Layers.Layers[0] = 1;
    Layers.Layers[31] = 2;
    Check(E.Get<PcbAbi::QueryRuleRoutingLayersRule>("PcbApi_QueryRuleRoutingLayersRule")(
              ExchangeWrite, Rule, Layers),
          "writing the routing layers");
  });
  B.Rule(eRoutingCornerStyleRule, "RoutingCorners", [&](Integer Rule) {
    Byte Style = 1;
    Integer Second = 100 * Mil, First = 100 * Mil;
    Check(E.Get<PcbAbi::QueryRuleRoutingCornerStyleRule>(
              "PcbApi_QueryRuleRoutingCornerStyleRule")(ExchangeWrite, Rule, Style, Second,
                                                        First),
          "writing the corner style");
  });
  B.Rule(eRoutingViaStyleRule, "RoutingVias", [&](Integer Rule) {
    Integer Hole = 28 * Mil, Style = 0, Width = 50 * Mil;
    Check(E.Get<PcbAbi::QueryRuleRoutingViaStyleRule>("PcbApi_QueryRuleRoutingViaStyleRule")(
              ExchangeWrite, Rule, Hole, Style, Width),
          "writing the via style");
  });
  B.Rule(eMaximumViaCountRule, "MaximumViaCount", [&](Integer Rule) {
    Integer Count = 500;
    Check(E.Get<PcbAbi::QueryRuleMaximumViaCountRule>("PcbApi_QueryRuleMaximumViaCountRule")(
              ExchangeWrite, Rule, Count),
          "writing the via count");
  });
  B.Rule(1, "ShortCircuit", [](Integer) {});
}

// ---------------------------------------------------------------------------------
// The preview

// An enhanced metafile of the board at 1 pixel per 10 mil of the reference device: the
// sheet white, the board green with a dark edge and four mounting holes, the title
// block's frame and the scale bar.
void WritePreview(const std::string& FileName, const TTemplate& T, const TLayout& L) {
  constexpr double PixelsPerUnit = 1.0 / (10 * Mil);
  const int Width = static_cast<int>(std::lround((L.SheetRight - L.SheetLeft) * PixelsPerUnit));
  const int Height = static_cast<int>(std::lround((L.SheetTop - L.SheetBottom) * PixelsPerUnit));
  auto At = [&](Integer X, Integer Y) {
    return POINT{static_cast<LONG>(std::lround((X - L.SheetLeft) * PixelsPerUnit)),
                 static_cast<LONG>(std::lround((L.SheetTop - Y) * PixelsPerUnit))};
  };

  // The frame is in hundredths of a millimetre of the reference device.
  HDC Info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!Info) throw std::runtime_error("no display information context");
  const double MmPerPixelX = double(GetDeviceCaps(Info, HORZSIZE)) / GetDeviceCaps(Info, HORZRES);
  const double MmPerPixelY = double(GetDeviceCaps(Info, VERTSIZE)) / GetDeviceCaps(Info, VERTRES);
  DeleteDC(Info);
  RECT Frame{0, 0, static_cast<LONG>(std::lround(Width * MmPerPixelX * 100)),
             static_cast<LONG>(std::lround(Height * MmPerPixelY * 100))};
  const std::string Description = std::string("MakeTemplates") + '\0' + T.Name + '\0' + '\0';
  HDC Dc = CreateEnhMetaFileA(nullptr, FileName.c_str(), &Frame, Description.c_str());
  if (!Dc) throw std::runtime_error("cannot create " + FileName);

  HPEN Edge = CreatePen(PS_SOLID, 2, RGB(20, 60, 30));
  HPEN Thin = CreatePen(PS_SOLID, 1, RGB(40, 40, 40));
  HBRUSH Sheet = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH Board = CreateSolidBrush(RGB(30, 130, 70));
  HBRUSH Hole = CreateSolidBrush(RGB(235, 235, 220));
  HGDIOBJ OldPen = SelectObject(Dc, Thin);
  HGDIOBJ OldBrush = SelectObject(Dc, Sheet);
  Rectangle(Dc, 0, 0, Width, Height);

  SelectObject(Dc, Edge);
  SelectObject(Dc, Board);
  const POINT BoardTopLeft = At(L.Left, L.Top), BoardBottomRight = At(L.Right, L.Bottom);
  Rectangle(Dc, BoardTopLeft.x, BoardTopLeft.y, BoardBottomRight.x, BoardBottomRight.y);
  SelectObject(Dc, Hole);
  const Integer Inset = FromMm(4), HoleRadius = FromMm(2);
  for (Integer X : {L.Left + Inset, L.Right - Inset}) {
    for (Integer Y : {L.Bottom + Inset, L.Top - Inset}) {
      const POINT A = At(X - HoleRadius, Y + HoleRadius), B = At(X + HoleRadius, Y - HoleRadius);
      Ellipse(Dc, A.x, A.y, B.x, B.y);
    }
  }

  SelectObject(Dc, Thin);
  SelectObject(Dc, GetStockObject(NULL_BRUSH));
  const POINT TitleTopLeft = At(L.TitleLeft, L.TitleTop);
  const POINT TitleBottomRight = At(L.TitleRight, L.TitleBottom);
  Rectangle(Dc, TitleTopLeft.x, TitleTopLeft.y, TitleBottomRight.x, TitleBottomRight.y);
  const POINT ScaleFrom = At(L.Left, L.Top + 400 * Mil);
  const POINT ScaleTo = At(L.Left + FromMm(40), L.Top + 400 * Mil);
  MoveToEx(Dc, ScaleFrom.x, ScaleFrom.y, nullptr);
  LineTo(Dc, ScaleTo.x, ScaleTo.y);

  SelectObject(Dc, OldPen);
  SelectObject(Dc, OldBrush);
  for (HGDIOBJ Object : {HGDIOBJ(Edge), HGDIOBJ(Thin), HGDIOBJ(Sheet), HGDIOBJ(Board),
                         HGDIOBJ(Hole)})
    DeleteObject(Object);
  HENHMETAFILE Metafile = CloseEnhMetaFile(Dc);
  if (!Metafile) throw std::runtime_error("cannot finish " + FileName);
  DeleteEnhMetaFile(Metafile);
}

// ---------------------------------------------------------------------------------

void MakeTemplate(const TEditor& Editor, const std::string& Folder, const TTemplate& T) {
  const TLayout L = LayoutOf(T);
  const std::string Base = Folder + "\\" + T.Name;
  const std::string FileName = Base + ".PcbDoc";
  DeleteFileA(FileName.c_str());  // CreateDocument would load an existing file
  auto Create = Editor.Get<std::remove_pointer_t<TMerovanCreateDocument>>("CreateDocument");
  auto Save = Editor.Get<std::remove_pointer_t<TMerovanSaveDocument>>("SaveDocument");
  auto Close = Editor.Get<std::remove_pointer_t<TMerovanCloseDocument>>("CloseDocument");
  const Integer Board = Create("PCB", FileName.c_str());
  if (!Board) throw std::runtime_error("cannot make a document for " + FileName);

  TBuilder B(Editor, Board);
  B.Outline(L);
  B.Sheet(L);
  AddTitleBlock(B, T, L);
  AddScaleBar(B, L);
  B.Class("Power Nets", 0, {"GND", "VCC", "+5V"});
  B.Class("Connectors", 1, {"J1", "J2"});
  AddRules(B);

  bool Saved = Save(Board, FileName.c_str());
  if (Saved && T.AlsoAs) Saved = Save(Board, (Folder + "\\" + T.AlsoAs).c_str());
  Close(Board);
  if (!Saved) throw std::runtime_error("cannot save " + FileName);
  const std::string Preview = Base + ".EMF";
  DeleteFileA(Preview.c_str());
  if (T.Preview) WritePreview(Preview, T, L);
}

}  // namespace

int main(int Count, char** Arguments) {
  if (Count != 3) {
    std::fprintf(stderr, "usage: MakeTemplates EDITOR_DLL OUTPUT_FOLDER\n");
    return 1;
  }
  try {
    TEditor Editor(Arguments[1]);
    CreateDirectoryA(Arguments[2], nullptr);
    for (const TTemplate& T : Templates) MakeTemplate(Editor, Arguments[2], T);
    return 0;
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "MakeTemplates: %s\n", Error.what());
    return 1;
  }
}
