#include "host/MerovanModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "host/HostCom.h"

namespace Merovan {

// ---------------------------------------------------------------------------------
// Layers and kinds

std::string LayerIdentifier(int Layer) {
  static const char* const Fixed[] = {"BottomLayer", "TopOverlay",  "BottomOverlay",
                                      "TopPaste",    "BottomPaste", "TopSolder",
                                      "BottomSolder"};  // 32..38
  static const char* const Tail[] = {"DrillDrawing",    "MultiLayer",    "ConnectLayer",
                                     "BackGroundLayer", "DRCErrorLayer", "HighlightLayer",
                                     "GridColor1",      "GridColor10",   "PadHoleLayer",
                                     "ViaHoleLayer"};  // 73..82
  if (Layer == 1) return "TopLayer";
  if (Layer >= 2 && Layer <= 31) return "MidLayer" + std::to_string(Layer - 1);
  if (Layer >= 32 && Layer <= 38) return Fixed[Layer - 32];
  if (Layer >= 39 && Layer <= 54) return "InternalPlane" + std::to_string(Layer - 38);
  if (Layer == 55) return "DrillGuide";
  if (Layer == 56) return "KeepOutLayer";
  if (Layer >= 57 && Layer <= 72) return "Mechanical" + std::to_string(Layer - 56);
  if (Layer >= 73 && Layer <= 82) return Tail[Layer - 73];
  return "";
}

bool IsSignalLayer(int Layer) { return Layer >= 1 && Layer <= 32; }
bool IsInternalPlane(int Layer) { return Layer >= 39 && Layer <= 54; }
bool IsStackLayer(int Layer) { return IsSignalLayer(Layer) || IsInternalPlane(Layer); }

namespace {

struct TKindName {
  int Id;
  const char* Name;
};

constexpr TKindName KindNames[] = {
    {eArcObject, "Arc"},
    {ePadObject, "Pad"},
    {eViaObject, "Via"},
    {eTrackObject, "Track"},
    {eTextObject, "Text"},
    {eFillObject, "Fill"},
    {eFromToObject, "FromTo"},
    {eNetObject, "Net"},
    {eComponentObject, "Component"},
    {ePolygonObject, "Polygon"},
    {eDimensionObject, "Dimension"},
    {eCoordinateObject, "Coordinate"},
    {eClassObject, "Class"},
    {eRuleObject, "Rule"},
    {eManualFromToObject, "ManualFromTo"},
    {eBoardOutlineObject, "BoardOutline"},
};

}  // namespace

bool IsKnownObjectId(int Id) { return (Id >= 1 && Id <= 15) || Id == eBoardOutlineObject; }

bool IsGeometricId(int Id) {
  switch (Id) {
    case eArcObject:
    case ePadObject:
    case eViaObject:
    case eTrackObject:
    case eTextObject:
    case eFillObject:
    case eComponentObject:
    case ePolygonObject:
    case eDimensionObject:
    case eCoordinateObject:
    case eBoardOutlineObject:
      return true;
    default:
      return false;
  }
}

const char* ObjectKindName(int Id) {
  for (const TKindName& Kind : KindNames)
    if (Kind.Id == Id) return Kind.Name;
  return "";
}

int ObjectIdFromKindName(const std::string& Name) {
  for (const TKindName& Kind : KindNames)
    if (Name == Kind.Name) return Kind.Id;
  return eNoObject;
}

bool IsKnownDimensionKind(int Kind) { return Kind >= 1 && Kind <= 10; }
bool IsKnownRuleKind(int Kind) { return Kind >= 0 && Kind <= 49; }

// ---------------------------------------------------------------------------------
// Defaults

void ResetBoard(TBoard& Board) {
  Board.Record = TBoardRecord();
  Board.Record.Bytes[1] = 1;  // the unit byte: imperial
  Board.Sheet = {10000000, 10000000, 100000000, 80000000, 0, 1};
  Board.Grids = TGrids();
  Board.Grids.Bytes[0] = 1;
  Board.Grids.Bytes[1] = 1;
  const double Grid[7] = {200000, 200000, 50000, 200000, 1000000, 50000, 10000000};
  std::copy(std::begin(Grid), std::end(Grid), Board.Grids.Values);
  Board.Grids.Value8 = 5;
  Board.Grids.Size = 200000;
  for (int L = 1; L < LayerCount; ++L) {
    TBoardLayer& Layer = Board.Layers[L];
    Layer = TBoardLayer();
    Layer.Name = LayerIdentifier(L);
    Layer.CopperThickness = 14000;
    Layer.Material = "FR-4";
    Layer.DielectricType = 1;
    Layer.DielectricConstant = 4.8;
    Layer.DielectricHeight = 126000;
    if (IsInternalPlane(L)) Layer.NetName = "(No Net)";
  }
  Board.Stack = {1, 32};
  Board.Pairs = {TLayerPair{1, 32, 0, 0}};
  Board.Output = TOutputOptions();
  Board.Gerber = TGerberOptions();
  Board.Printer = TPrinterOptions();
  Board.Placer = TPlacerOptions();
  Board.Eco = TEcoOptions();
  Board.TopDielectric = {"Solder Resist", 2, 3.5, 4000};
  Board.BottomDielectric = Board.TopDielectric;
  Board.Objects.clear();
}

TObjectData DefaultObjectData(int Id, THeader& Header) {
  Header = THeader();
  switch (Id) {
    case eArcObject: {
      Header.Layer = 1;
      TArc Arc;
      Arc.Radius = 500000;
      Arc.EndAngle = 360;
      Arc.LineWidth = 100000;
      return Arc;
    }
    case ePadObject: {
      Header.Layer = 74;
      TPad Pad;
      std::fill(std::begin(Pad.Sizes), std::end(Pad.Sizes), 600000);
      Pad.HoleSize = 300000;
      for (int L = 1; L <= 32; ++L) {
        Pad.Shapes[L] = 1;
        Pad.XSizes[L] = Pad.YSizes[L] = 600000;
      }
      return Pad;
    }
    case eViaObject:
      Header.Layer = 74;
      return TVia{500000, 280000, {}};
    case eTrackObject: {
      Header.Layer = 1;
      TTrack Track;
      Track.Width = 100000;
      return Track;
    }
    case eTextObject: {
      Header.Layer = 1;
      TText Text;
      Text.Size = 600000;
      Text.Width = 60000;
      return Text;
    }
    case eFillObject:
      Header.Layer = 1;
      return TFill();
    case eFromToObject:
      return TFromTo();
    case eNetObject:
      return TNet();
    case eComponentObject:
      Header.Layer = 1;
      return TComponent();
    case ePolygonObject:
      Header.Layer = 1;
      return TPolygon();
    case eBoardOutlineObject:
      return TPolygon();
    case eDimensionObject: {
      Header.Layer = 57;
      TDimension Dimension;
      Dimension.Kind = eDefaultDimension;
      Dimension.Values[5] = 100000;  // DimValue6, the line width
      return Dimension;
    }
    case eCoordinateObject:
      Header.Layer = 33;
      return TCoordinate();
    case eClassObject:
      return TClass();
    case eRuleObject: {
      TRule Rule;
      TRuleConstraints& C = Rule.Constraints;
      C.Gap = 100000;
      C.MinWidth = C.MaxWidth = C.PreferredWidth = 100000;
      C.CornerStyle = 1;
      C.CornerSecondSize = C.CornerFirstSize = 1000000;
      C.ViaHoleSize = 280000;
      C.ViaStyle = 0;
      C.ViaWidth = 500000;
      C.RoutingLayers.Layers[0] = 1;
      C.RoutingLayers.Layers[31] = 2;
      C.PlaneStyle = 1;
      C.PlaneValues[0] = 200000;
      C.PlaneValues[1] = 100000;
      C.PlaneValues[2] = 4;
      C.PlaneValues[3] = 100000;
      C.MaxViaCount = 1000;
      return Rule;
    }
    case eManualFromToObject:
      return TManualFromTo();
    default:
      return TArc();
  }
}

// ---------------------------------------------------------------------------------
// The store

TStore::TStore() = default;

Integer TStore::NewHandle() { return FNextHandle++; }

TBoard* TStore::Board(Integer Handle) {
  auto It = FBoards.find(Handle);
  return It == FBoards.end() ? nullptr : It->second.get();
}

TObject* TStore::Object(Integer Handle) {
  auto It = FObjects.find(Handle);
  return It == FObjects.end() ? nullptr : It->second.get();
}

Integer TStore::CreateBoard(const std::string& Name) {
  auto Board = std::make_unique<TBoard>();
  ResetBoard(*Board);
  Board->Name = Name;
  return AdoptBoard(std::move(Board));
}

Integer TStore::AdoptBoard(std::unique_ptr<TBoard> Board) {
  Integer Handle = NewHandle();
  Board->Handle = Handle;
  FBoards[Handle] = std::move(Board);
  return Handle;
}

bool TStore::CloseBoard(Integer Handle) {
  TBoard* Closed = Board(Handle);
  if (!Closed) return false;
  for (Integer Object : Closed->Objects) FObjects.erase(Object);
  FBoards.erase(Handle);
  return true;
}

Integer TStore::FindBoard(const std::string& Name) const {
  for (const auto& [Handle, Board] : FBoards)
    if (HostSameText(Board->Name, Name)) return Handle;
  return 0;
}

Integer TStore::NewObject(int Id, TObjectData Data, const THeader& Header) {
  auto Object = std::make_unique<TObject>();
  Object->Id = static_cast<TObjectId>(Id);
  Object->Header = Header;
  Object->Data = std::move(Data);
  return AdoptObject(std::move(Object));
}

Integer TStore::AdoptObject(std::unique_ptr<TObject> Object) {
  Integer Handle = NewHandle();
  Object->Handle = Handle;
  FObjects[Handle] = std::move(Object);
  return Handle;
}

Integer TStore::CreateObject(int Id) {
  if (!IsKnownObjectId(Id)) return 0;
  THeader Header;
  TObjectData Data = DefaultObjectData(Id, Header);
  return NewObject(Id, std::move(Data), Header);
}

Integer TStore::CreateDimension(int Kind) {
  if (!IsKnownDimensionKind(Kind)) return 0;
  THeader Header;
  TObjectData Data = DefaultObjectData(eDimensionObject, Header);
  TDimension& Dimension = std::get<TDimension>(Data);
  Dimension.Kind = static_cast<Byte>(Kind);
  // A diameter dimension measures between two points from the start.
  if (Kind == eLinearDiameterDimension) Dimension.References.resize(2);
  return NewObject(eDimensionObject, std::move(Data), Header);
}

Integer TStore::CreateRule(int Kind) {
  if (!IsKnownRuleKind(Kind)) return 0;
  THeader Header;
  TObjectData Data = DefaultObjectData(eRuleObject, Header);
  std::get<TRule>(Data).Kind = static_cast<Byte>(Kind);
  return NewObject(eRuleObject, std::move(Data), Header);
}

bool TStore::DestroyObject(Integer Handle) {
  TObject* Destroyed = Object(Handle);
  if (!Destroyed) return false;
  if (TBoard* Holder = Board(Destroyed->Board)) DeleteFromBoard(Holder->Handle, Handle);
  FObjects.erase(Handle);
  return true;
}

Integer TStore::AddToBoard(Integer BoardHandle, Integer ObjectHandle) {
  TBoard* Holder = Board(BoardHandle);
  TObject* Added = Object(ObjectHandle);
  if (!Holder || !Added || Added->Board != 0) return 1;
  Added->Board = BoardHandle;
  Holder->Objects.push_back(ObjectHandle);
  return 0;
}

Integer TStore::DeleteFromBoard(Integer BoardHandle, Integer ObjectHandle) {
  TBoard* Holder = Board(BoardHandle);
  TObject* Deleted = Object(ObjectHandle);
  if (!Holder || !Deleted || Deleted->Board != BoardHandle) return 1;
  Deleted->Board = 0;
  auto& Objects = Holder->Objects;
  Objects.erase(std::find(Objects.begin(), Objects.end(), ObjectHandle));
  return 0;
}

Integer TStore::OutlineOf(const TBoard& Board) {
  for (Integer Handle : Board.Objects)
    if (Object(Handle)->Id == eBoardOutlineObject) return Handle;
  return 0;
}

bool TStore::LayerInUse(const TBoard& Board, int Layer) {
  if (Layer >= 1 && Layer < LayerCount && Board.Layers[Layer].InUse) return true;
  for (Integer Handle : Board.Objects)
    if (Object(Handle)->Header.Layer == Layer) return true;
  return false;
}

void TStore::EnsureOutline(TBoard& Board) {
  if (OutlineOf(Board)) return;
  AddToBoard(Board.Handle, CreateObject(eBoardOutlineObject));
}

// ---------------------------------------------------------------------------------
// Iterators

Integer TStore::CreateIterator(Integer BoardHandle, int ObjectId, int Layer) {
  TBoard* Walked = Board(BoardHandle);
  if (!Walked) return 0;
  TIterator Iterator;
  Iterator.Board = BoardHandle;
  for (Integer Handle : Walked->Objects) {
    const TObject& Obj = *Object(Handle);
    bool IdFits = ObjectId == 0 ? IsGeometricId(Obj.Id) : Obj.Id == ObjectId;
    bool LayerFits = Layer == 0 || Obj.Header.Layer == Layer;
    if (IdFits && LayerFits) Iterator.Snapshot.push_back(Handle);
  }
  Integer Handle = NewHandle();
  FIterators[Handle] = std::move(Iterator);
  return Handle;
}

Integer TStore::IteratorNext(Integer IteratorHandle, bool First) {
  auto It = FIterators.find(IteratorHandle);
  if (It == FIterators.end()) return 0;
  TIterator& Iterator = It->second;
  if (First) Iterator.Next = 0;
  while (Iterator.Next < Iterator.Snapshot.size()) {
    Integer Handle = Iterator.Snapshot[Iterator.Next++];
    // Objects destroyed or taken out of the board since the snapshot are skipped.
    TObject* Obj = Object(Handle);
    if (Obj && Obj->Board == Iterator.Board) return Handle;
  }
  return 0;
}

bool TStore::DestroyIterator(Integer Iterator) { return FIterators.erase(Iterator) > 0; }

// ---------------------------------------------------------------------------------
// The layer stack

Integer TStore::InsertLayer(TBoard& Board, int Layer, int Reference) {
  if (!IsStackLayer(Layer) || !IsStackLayer(Reference)) return 1;
  if (Layer == Reference) return 0;
  auto& Stack = Board.Stack;
  if (std::find(Stack.begin(), Stack.end(), Reference) == Stack.end()) return 1;
  // The top and the bottom layer are the fixed ends of the stack.
  if (Layer == 1 || Layer == 32) return 0;
  Stack.erase(std::remove(Stack.begin(), Stack.end(), Layer), Stack.end());
  auto At = std::find(Stack.begin(), Stack.end(), Reference);
  if (Reference != 32) ++At;  // below the reference; above it when it is the bottom
  Stack.insert(At, static_cast<Byte>(Layer));
  return 0;
}

Integer TStore::RemoveLayer(TBoard& Board, int Layer) {
  if (Layer < 1 || Layer > MaxLayer || Layer == 1 || Layer == 32) return 1;
  auto& Stack = Board.Stack;
  Stack.erase(std::remove(Stack.begin(), Stack.end(), Layer), Stack.end());
  return 0;
}

// ---------------------------------------------------------------------------------
// Extents

namespace {

// A growing rectangle in 64-bit arithmetic, cut to the coordinate range at the end.
struct TExtent {
  bool Any = false;
  std::int64_t Left = 0, Bottom = 0, Right = 0, Top = 0;

  void Add(std::int64_t X, std::int64_t Y) {
    if (!Any) {
      Left = Right = X;
      Bottom = Top = Y;
      Any = true;
      return;
    }
    Left = std::min(Left, X);
    Right = std::max(Right, X);
    Bottom = std::min(Bottom, Y);
    Top = std::max(Top, Y);
  }
  void AddBox(std::int64_t X1, std::int64_t Y1, std::int64_t X2, std::int64_t Y2) {
    Add(X1, Y1);
    Add(X2, Y2);
  }
  void Widen(std::int64_t By) {
    Left -= By;
    Bottom -= By;
    Right += By;
    Top += By;
  }
  static Integer Cut(std::int64_t V) {
    constexpr std::int64_t Low = std::numeric_limits<Integer>::min();
    constexpr std::int64_t High = std::numeric_limits<Integer>::max();
    return static_cast<Integer>(std::clamp(V, Low, High));
  }
  bool Give(TRect& Rect) const {
    if (!Any) return false;
    Rect = {Cut(std::min(Left, Right)), Cut(std::min(Bottom, Top)),
            Cut(std::max(Left, Right)), Cut(std::max(Bottom, Top))};
    return true;
  }
};

constexpr double Pi = 3.14159265358979323846;

std::int64_t RoundToInt(double V) { return static_cast<std::int64_t>(std::llround(V)); }

double NormalAngle(double Degrees) {
  double A = std::fmod(Degrees, 360.0);
  return A < 0 ? A + 360.0 : A;
}

// The counter-clockwise sweep from Start to End in degrees, in (0, 360]: an end equal
// to the start (0 to 360 among them) is a whole turn. NaN when an angle is not finite.
double ArcSweep(double Start, double End) {
  double Sweep = NormalAngle(End) - NormalAngle(Start);
  if (Sweep <= 0) Sweep += 360.0;
  return Sweep;
}

// The points where a counter-clockwise arc about (CX, CY) reaches furthest along an axis
// (0, 90, 180 and 270 degrees), when its sweep passes them; all four for an arc whose
// angles are not finite.
void AddArcBulges(TExtent& Extent, std::int64_t CX, std::int64_t CY, double Radius,
                  double StartAngle, double EndAngle) {
  const double Start = NormalAngle(StartAngle);
  const double Sweep = ArcSweep(StartAngle, EndAngle);
  for (int Quarter = 0; Quarter < 4; ++Quarter) {
    double Angle = Quarter * 90.0;
    if (NormalAngle(Angle - Start) > Sweep) continue;
    double Radians = Angle * Pi / 180.0;
    Extent.Add(CX + RoundToInt(Radius * std::cos(Radians)),
               CY + RoundToInt(Radius * std::sin(Radians)));
  }
}

// The extent of a counter-clockwise arc: its two end points and the axis points its
// sweep passes. An arc whose angles are not finite has no end points: its whole circle.
void AddArc(TExtent& Extent, std::int64_t CX, std::int64_t CY, double Radius,
            double StartAngle, double EndAngle) {
  AddArcBulges(Extent, CX, CY, Radius, StartAngle, EndAngle);
  if (!std::isfinite(StartAngle) || !std::isfinite(EndAngle)) return;
  for (double Angle : {StartAngle, EndAngle}) {
    const double Radians = NormalAngle(Angle) * Pi / 180.0;
    Extent.Add(CX + RoundToInt(Radius * std::cos(Radians)),
               CY + RoundToInt(Radius * std::sin(Radians)));
  }
}

}  // namespace

bool TStore::AnchorPoint(Integer Handle, Integer Anchor, Integer& X, Integer& Y) {
  TObject* Obj = Object(Handle);
  if (!Obj) return false;
  X = Obj->Header.X;
  Y = Obj->Header.Y;
  if (const auto* Track = std::get_if<TTrack>(&Obj->Data)) {
    if (Anchor == 2) X = Track->X2, Y = Track->Y2;
  } else if (const auto* Fill = std::get_if<TFill>(&Obj->Data)) {
    if (Anchor == 2) X = Fill->X2, Y = Fill->Y2;
  } else if (const auto* Arc = std::get_if<TArc>(&Obj->Data)) {
    // Anchors 1..8 go round the circle in steps of 45 degrees from 0; others: the centre.
    if (Anchor >= 1 && Anchor <= 8) {
      double Radians = (Anchor - 1) * 45.0 * Pi / 180.0;
      X = static_cast<Integer>(Obj->Header.X + RoundToInt(Arc->Radius * std::cos(Radians)));
      Y = static_cast<Integer>(Obj->Header.Y + RoundToInt(Arc->Radius * std::sin(Radians)));
    }
  }
  return true;
}

bool TStore::BoundingRect(const TObject& Obj, TRect& Rect) {
  TExtent Extent;
  const THeader& H = Obj.Header;
  if (const auto* Track = std::get_if<TTrack>(&Obj.Data)) {
    Extent.AddBox(H.X, H.Y, Track->X2, Track->Y2);
    Extent.Widen(Track->Width / 2);
  } else if (const auto* Arc = std::get_if<TArc>(&Obj.Data)) {
    AddArc(Extent, H.X, H.Y, Arc->Radius, Arc->StartAngle, Arc->EndAngle);
    Extent.Widen(Arc->LineWidth / 2);
  } else if (const auto* Text = std::get_if<TText>(&Obj.Data)) {
    Extent.AddBox(H.X, H.Y,
                  H.X + std::int64_t(Text->Size) * std::int64_t(Text->Text.size()),
                  std::int64_t(H.Y) + Text->Size);
  } else if (const auto* Fill = std::get_if<TFill>(&Obj.Data)) {
    Extent.AddBox(H.X, H.Y, Fill->X2, Fill->Y2);
  } else if (const auto* Pad = std::get_if<TPad>(&Obj.Data)) {
    Integer HalfX = *std::max_element(std::begin(Pad->XSizes), std::end(Pad->XSizes)) / 2;
    Integer HalfY = *std::max_element(std::begin(Pad->YSizes), std::end(Pad->YSizes)) / 2;
    Extent.AddBox(std::int64_t(H.X) - HalfX, std::int64_t(H.Y) - HalfY,
                  std::int64_t(H.X) + HalfX, std::int64_t(H.Y) + HalfY);
  } else if (const auto* Via = std::get_if<TVia>(&Obj.Data)) {
    Extent.Add(H.X, H.Y);
    Extent.Widen(Via->Size / 2);
  } else if (const auto* Polygon = std::get_if<TPolygon>(&Obj.Data)) {
    for (const TPolySegment& Segment : Polygon->Segments) {
      Extent.Add(Segment.X, Segment.Y);
      if (Segment.Kind == 1)
        AddArcBulges(Extent, Segment.CX, Segment.CY, Segment.Radius, Segment.StartAngle,
                     Segment.EndAngle);
    }
  } else if (const auto* Dimension = std::get_if<TDimension>(&Obj.Data)) {
    for (const TTextLocation& Location : Dimension->TextLocations)
      Extent.Add(Location.X, Location.Y);
    for (const TReference& Reference : Dimension->References) {
      Integer X = 0, Y = 0;
      if (AnchorPoint(Reference.Values[0], Reference.Values[3], X, Y)) Extent.Add(X, Y);
    }
  } else if (std::holds_alternative<TComponent>(Obj.Data) ||
             std::holds_alternative<TCoordinate>(Obj.Data)) {
    Extent.Add(H.X, H.Y);
  }
  return Extent.Give(Rect);
}

// ---------------------------------------------------------------------------------

namespace {
TStore* GStore = nullptr;
}

TStore& Store() {
  if (!GStore) GStore = new TStore;
  return *GStore;
}

void FreeStore() {
  delete GStore;
  GStore = nullptr;
}

}  // namespace Merovan
