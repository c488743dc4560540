// The PCB editor stand-in's model: boards (one per document) with their settings,
// layers and layer stack, the objects of every kind, and the one handle table that
// boards, objects and iterators share. Everything runs on the caller's thread; the
// editor keeps no locks.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "pcb/PcbApiAbi.h"

namespace Merovan {

// The identifier a layer is named by on a blank board ("TopLayer", ...); "" past 82.
std::string LayerIdentifier(int Layer);
bool IsSignalLayer(int Layer);
bool IsInternalPlane(int Layer);
// A layer that may be in the layer stack: a signal layer or an internal plane.
bool IsStackLayer(int Layer);

// ---------------------------------------------------------------------------------
// Objects

// The fields every object exchanges: the common header, the two state bytes and the
// reference point (unused by the kinds without one).
struct THeader {
  Word Flags = 0;
  Word HeaderWord = 0;
  Byte Layer = 0;
  Byte HeaderByte = 0;
  Integer HeaderValue1 = 0;
  Integer HeaderValue2 = 0;
  Byte BitField2 = 0;
  Byte BitField3 = 0;
  Integer X = 0;
  Integer Y = 0;
};

struct TArc {
  Integer Radius = 0;
  double StartAngle = 0;
  double EndAngle = 0;
  Integer LineWidth = 0;
  Integer ExtraValue1 = 0;
};

struct TPad {
  Integer Sizes[6] = {};  // PadSize1..PadSize6
  Integer HoleSize = 0;
  Byte Bytes[5] = {};  // PadByte1..PadByte5
  std::string Name;
  double Rotation = 0;
  Byte StackMode = 0;
  Byte Shapes[LayerCount] = {};
  Integer XSizes[LayerCount] = {};
  Integer YSizes[LayerCount] = {};
};

struct TVia {
  Integer Size = 0;
  Integer HoleSize = 0;
  Byte Bytes[2] = {};  // ViaByte1, ViaByte2
};

struct TTrack {
  Integer X2 = 0;
  Integer Y2 = 0;
  Integer Width = 0;
  Integer Extra[3] = {};  // ExtraValue1..ExtraValue3
};

struct TText {
  Integer Size = 0;
  Integer TextValue = 0;
  double Rotation = 0;
  Byte TextFlag = 0;
  std::string Text;
  Integer Width = 0;
  Integer Extra2 = 0;
  Integer Extra3 = 0;
};

struct TFill {
  Integer X2 = 0;
  Integer Y2 = 0;
  Integer Extra1 = 0;
  double Rotation = 0;
};

struct TFromTo {
  Byte Byte1 = 0;
  Integer X2 = 0;
  Integer Y2 = 0;
  Byte Byte2 = 0;
};

struct TManualFromTo {
  std::string Texts[3];
  Integer Value = 0;
};

struct TNet {
  std::string Name;
  Byte NetByte = 0;
  Integer NetValue = 0;
};

struct TComponent {
  Integer NameHandle = 0;  // a text object of the same board, or 0
  Integer Value0 = 0;
  std::string Text;
  Byte Bytes[5] = {};  // ComponentByte1..ComponentByte5
  Integer Value1 = 0;
  double Rotation = 0;
  Integer Value2 = 0;
  Integer Value3 = 0;
  std::string SourceLinks[7];
  Integer ChannelOffset = 0;
  Byte Kind = 0;
};

// A polygon or a board outline. SegmentCount n > 0 uses the records 0..n (the last
// closes the shape, as the caller writes it); 0 means no vertex.
struct TPolygon {
  Byte Bytes[6] = {};      // PolygonByte1..PolygonByte6
  Integer Values[3] = {};  // PolygonValue1..PolygonValue3
  Integer SegmentCount = 0;
  std::vector<TPolySegment> Segments;
};

// One reference of a dimension: RefValue1 is the referenced object's handle, RefValue4
// the anchor on it.
struct TReference {
  Integer Values[4] = {};
};

struct TTextLocation {
  Integer X = 0;
  Integer Y = 0;
};

inline constexpr int DimensionListCapacity = 200;

struct TDimension {
  Byte Kind = 0;            // read-only after creation
  Integer Values[19] = {};  // DimValue1..DimValue19
  Byte Bytes[3] = {};       // DimByte1..DimByte3
  std::string Texts[3];     // DimText1..DimText3
  TPcbWide Wide = 0;
  double LinearValue = 0;
  double BaselineValue = 0;
  std::vector<TReference> References;
  std::vector<TTextLocation> TextLocations;
  // Seeded (SetReportedCounts): what References_Count and TextLocations_Count report
  // instead of the list sizes; negative reports the size. Never saved.
  Integer ReportedReferenceCount = -1;
  Integer ReportedTextLocationCount = -1;
};

struct TCoordinate {
  Integer Values[6] = {};
};

struct TClass {
  Byte Byte1 = 0;
  Byte Byte2 = 0;
  std::string Name;
  std::vector<std::string> Members;
};

struct TSubScope {
  Byte Kind = 0;
  std::string Name;
  Byte Byte1 = 0;
  Byte Byte2 = 0;
  Integer Values[4] = {};
};

inline constexpr int SubScopeCapacity = 200;

// The constraint values of a rule. Each constraint query serves the rules of one kind.
struct TRuleConstraints {
  Integer Gap = 0;
  Integer MinWidth = 0, MaxWidth = 0, PreferredWidth = 0;
  Byte CornerStyle = 0;
  Integer CornerSecondSize = 0, CornerFirstSize = 0;
  Integer ViaHoleSize = 0, ViaStyle = 0, ViaWidth = 0;
  TRoutingLayersBlock RoutingLayers = {};
  Byte PlaneStyle = 0;
  Integer PlaneValues[4] = {};
  Integer MaxViaCount = 0;
};

struct TRule {
  Byte Kind = 0;           // read-only after creation
  Byte Bytes[8] = {};      // RuleByte1..RuleByte8
  std::string Texts[10];   // RuleText1..RuleText10
  Integer Values[4] = {};  // RuleValue1..RuleValue4
  Byte ExtBytes[2] = {};   // RuleExtByte1, RuleExtByte2
  std::string Name;
  std::vector<TSubScope> Scopes[2];
  TRuleConstraints Constraints;
};

using TObjectData =
    std::variant<TArc, TPad, TVia, TTrack, TText, TFill, TFromTo, TNet, TComponent,
                 TPolygon, TDimension, TCoordinate, TClass, TRule, TManualFromTo>;

struct TObject {
  Integer Handle = 0;
  TObjectId Id = eNoObject;
  Integer Board = 0;  // the board holding it, 0 for none
  THeader Header;
  TObjectData Data;
  // Seeded (SetReportedIdBits): or-ed into the id GetObjectIdFromObjectHandle reports.
  // Never saved.
  Byte ReportedIdBits = 0;
};

// The kinds an object id makes (1..15 and 21); nothing for another id.
bool IsKnownObjectId(int Id);
// Arcs, pads, vias, tracks, texts, fills, components, polygons, dimensions, coordinates
// and board outlines: what an iterator for object id 0 visits.
bool IsGeometricId(int Id);
// The name of an object id in the text format ("Track", "BoardOutline", ...).
const char* ObjectKindName(int Id);
int ObjectIdFromKindName(const std::string& Name);

// Dimension kinds 1..10 and rule kinds 0..49 are known.
bool IsKnownDimensionKind(int Kind);
bool IsKnownRuleKind(int Kind);

// ---------------------------------------------------------------------------------
// Boards

struct TBoardLayer {
  std::string Name;
  Integer CopperThickness = 0;
  Byte InUse = 0;  // seeded: keeps LayerState1 at 1 without objects
  Byte State2 = 0;
  Byte State3 = 0;
  std::string Material;
  Byte DielectricType = 0;
  double DielectricConstant = 0;
  Integer DielectricHeight = 0;
  std::string NetName;  // internal planes only
  Byte Info1 = 0, Info2 = 0;
  Integer Info = 0;
  Integer Composite1 = 0, Composite2 = 0;
  Byte CompositeByte = 0;
  Integer Composite3 = 0;
};

struct TBoardRecord {
  Integer Values[5] = {};  // BoardValue1..BoardValue5
  std::string Text;
  Byte Bytes[3] = {};  // BoardByte1..BoardByte3
};

struct TSheet {
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  Byte Flag1 = 0, Flag2 = 0;
};

struct TGrids {
  Byte Bytes[5] = {};     // GridByte1..GridByte5
  double Values[7] = {};  // GridValue1..GridValue7
  Integer Value8 = 0;
  double Size = 0;
};

inline constexpr int OutputLayerCount = 109;
inline constexpr int PenCount = 8;

struct TOutputOptions {
  Integer Values[2] = {};
  Byte Bytes[22] = {};
  Byte PlotLayers[OutputLayerCount] = {};  // index N - 1 for layer N
  Byte FlipLayers[OutputLayerCount] = {};
};

struct TGerberOptions {
  Byte Bytes[9] = {};      // GerberByte1..GerberByte9
  Integer Values[8] = {};  // GerberValue1..GerberValue8
  std::string Text;
};

struct TPrinterOptions {
  std::string Texts[3];
  Byte Bytes[13] = {};
  Integer Values[3] = {};
  TPcbWide Wides[6] = {};
  Byte Block[sizeof(TPrinterBlock)] = {};
  Integer Pens[PenCount * 2] = {};  // PenValue1, PenValue2 of pen 1, then pen 2, ...
};

struct TPlacerOptions {
  std::string Texts[2];
  Byte Bytes[4] = {};
};

struct TEcoOptions {
  Byte Byte1 = 0;
  std::string Text;
};

struct TDielectric {
  std::string Material;
  Byte Type = 0;
  double Constant = 0;
  Integer Height = 0;
};

struct TLayerPair {
  Byte Layer1 = 0, Layer2 = 0, Byte1 = 0, Byte2 = 0;
};

struct TBoard {
  Integer Handle = 0;
  std::string Name;
  TBoardRecord Record;
  TSheet Sheet;
  TGrids Grids;
  TBoardLayer Layers[LayerCount];  // 1..82; 0 unused
  std::vector<Byte> Stack;         // top first: always starts with 1 and ends with 32
  std::vector<TLayerPair> Pairs;
  TOutputOptions Output;
  TGerberOptions Gerber;
  TPrinterOptions Printer;
  TPlacerOptions Placer;
  TEcoOptions Eco;
  TDielectric TopDielectric, BottomDielectric;
  std::vector<Integer> Objects;  // the container, in the order added
};

// A blank board's settings (no handle, no name, no objects).
void ResetBoard(TBoard& Board);

// ---------------------------------------------------------------------------------
// The handle table

struct TIterator {
  Integer Board = 0;
  std::vector<Integer> Snapshot;
  std::size_t Next = 0;
};

struct TRect {
  Integer Left = 0, Bottom = 0, Right = 0, Top = 0;
};

class TStore {
 public:
  TStore();

  // A fresh non-zero handle.
  Integer NewHandle();

  TBoard* Board(Integer Handle);
  TObject* Object(Integer Handle);
  // The object when it is of one of the ids of T's kind, else nullptr.
  template <class T>
  T* ObjectAs(Integer Handle, TObject** Found = nullptr) {
    TObject* Obj = Object(Handle);
    T* Data = Obj ? std::get_if<T>(&Obj->Data) : nullptr;
    if (Found) *Found = Data ? Obj : nullptr;
    return Data;
  }

  // Boards. A new board is blank and named Name; AdoptBoard takes a board made
  // elsewhere (a loaded template) and gives it a handle.
  Integer CreateBoard(const std::string& Name);
  Integer AdoptBoard(std::unique_ptr<TBoard> Board);
  bool CloseBoard(Integer Handle);
  // The first board (in creation order) named Name, ignoring letter case; 0 for none.
  Integer FindBoard(const std::string& Name) const;

  // Objects, made in no board. 0 for an id or kind the editor does not know.
  Integer CreateObject(int Id);
  Integer CreateDimension(int Kind);
  Integer CreateRule(int Kind);
  // Takes a fully made object (Handle set by the store); used by the text loader.
  Integer AdoptObject(std::unique_ptr<TObject> Object);
  // Removes the object from its board and forgets the handle. False when unknown.
  bool DestroyObject(Integer Handle);
  // Statuses: 0 success, 1 unknown board or object, or (adding) already in a board,
  // or (deleting) not in that board.
  Integer AddToBoard(Integer Board, Integer Object);
  Integer DeleteFromBoard(Integer Board, Integer Object);

  // The board's first board outline object, or 0.
  Integer OutlineOf(const TBoard& Board);
  // Whether the board holds an object on Layer (or the layer is seeded as in use).
  bool LayerInUse(const TBoard& Board, int Layer);
  // Gives the board an outline object unless it has one.
  void EnsureOutline(TBoard& Board);

  // Iterators: a snapshot of the board's objects of ObjectId (0: every geometric
  // object) on Layer (0: any layer). 0 for an unknown board.
  Integer CreateIterator(Integer Board, int ObjectId, int Layer);
  // The next object of the snapshot still in the board (First restarts), or 0.
  Integer IteratorNext(Integer Iterator, bool First);
  bool DestroyIterator(Integer Iterator);

  // Layer stack edits; statuses as the exports give them.
  Integer InsertLayer(TBoard& Board, int Layer, int Reference);
  Integer RemoveLayer(TBoard& Board, int Layer);

  // The object's extent (Left, Bottom, Right, Top); false for an object without
  // geometry.
  bool BoundingRect(const TObject& Object, TRect& Rect);

  // The point an anchor names on a referenced object; false when there is none.
  bool AnchorPoint(Integer Handle, Integer Anchor, Integer& X, Integer& Y);

  // For the private exports and the text format.
  const std::map<Integer, std::unique_ptr<TBoard>>& Boards() const { return FBoards; }
  // The objects alive, in a board or in none.
  std::size_t ObjectCount() const { return FObjects.size(); }

  // Where the handle counter continues after the editor module was loaded again.
  void SetNextHandle(Integer Next) { FNextHandle = Next; }
  Integer NextHandle() const { return FNextHandle; }

 private:
  Integer NewObject(int Id, TObjectData Data, const THeader& Header);

  Integer FNextHandle = 1;
  std::map<Integer, std::unique_ptr<TBoard>> FBoards;
  std::map<Integer, std::unique_ptr<TObject>> FObjects;
  std::map<Integer, TIterator> FIterators;
};

// The editor's one store, made on first use and freed when the module is unloaded.
TStore& Store();
void FreeStore();

// A new object's defaults, by id (the kinds' zero values with the editor's sizes).
TObjectData DefaultObjectData(int Id, THeader& Header);

}  // namespace Merovan
