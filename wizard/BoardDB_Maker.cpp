#include "wizard/BoardDB_Maker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

#include "classlib/StrUtils.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_Param.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Rule.h"
#include "wizard/BoardDB_Template.h"
#include "wizard/Rules.h"

TCLASS_IMPL(TTarvik)
TCLASS_IMPL(EBoardBuildError)

namespace {

// The host's PCB server, its document kind and its editor view kind.
constexpr const char* PcbServerName = "PCB";
constexpr const char* PcbDocumentKind = "PCB";
constexpr const char* PcbEditorViewName = "PCBEditor";

// The layers whose flag the build sets before the custom steps, in the order set:
// top and bottom, the pastes and solders, keep-out, the 16 mechanical layers, drill
// drawing, multi-layer and the two hole layers.
constexpr TLayer FixedFlagLayers[27] = {1,  32, 35, 36, 37, 38, 56, 57, 58, 59, 60, 61, 62, 63,
                                        64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 81, 82};

// The layer that carries a template's scale (Mechanical16).
constexpr TLayer ScaleLayer = 72;
// Objects whose Flags have this bit belong to the title block.
constexpr Word TitleBlockFlag = 0x0010;

// The room the sheet leaves around the board's objects.
constexpr double SheetMarginMils = 500;

// The parameter buffer handed to the zoom process, terminating zero included.
constexpr int ZoomParameterLength = 255;

// What the user is told when the editor has no board for the new document.
constexpr const char* NoBoardMessage =
    "The new board could not be created in the PCB editor.";

// Why a template's board is refused when the board the editor read from it has no
// usable outline.
constexpr const char* NoOutlineCause = "the PCB editor read no board outline from it";
constexpr const char* NoSegmentsCause =
    "the board outline the PCB editor read from it has no segments";
constexpr const char* NoAreaCause =
    "the board outline the PCB editor read from it encloses no area";

// The least area a usable outline encloses: one square mil, in square host units.
constexpr double LeastOutlineArea = 1e8;

// The steps of the build, as its errors name them.
constexpr const char* OutlineCheckStep = "The template's board outline could not be checked";
constexpr const char* UnitsStep = "The board's units could not be set";
constexpr const char* ClassesStep = "The template's object classes could not be removed";
constexpr const char* GridStep = "The board's grid could not be set";
constexpr const char* TitleBlockStep =
    "The title block could not be moved to the dimension layer";
constexpr const char* BoardWriteStep = "The board's settings could not be written";
constexpr const char* SheetStep = "The sheet could not be fitted to the board";

// The board whose object classes RemoveObjectClass takes out; set around the walk.
TPcbBoard* ClassRemovalBoard = nullptr;
// Set by RemoveObjectClass when the board kept a class object it was asked to give up.
bool ClassRemovalRefused = false;

// Destroys an editor iterator at the end of its scope.
class TIteratorScope {
 public:
  explicit TIteratorScope(Integer AIterator) : FIterator(AIterator) {}
  TIteratorScope(const TIteratorScope&) = delete;
  TIteratorScope& operator=(const TIteratorScope&) = delete;
  ~TIteratorScope() {
    if (FIterator != 0) PcbApi_DestroyIterator(FIterator);
  }
  Integer Get() const { return FIterator; }

 private:
  Integer FIterator;
};

// A 64-bit intermediate brought back into the coordinate range.
Integer ClampCoord(Int64 Value) {
  return static_cast<Integer>(std::clamp<Int64>(Value, INT_MIN, INT_MAX));
}

void* HandleItem(Integer Handle) { return reinterpret_cast<void*>(static_cast<intptr_t>(Handle)); }
Integer ItemHandle(void* Item) { return static_cast<Integer>(reinterpret_cast<intptr_t>(Item)); }

// Twice the signed area the outline's records 0..SegmentCount enclose, in square host
// units (positive when they run counter-clockwise); not finite when one of their values
// is not. A straight record is a point of the shape; an arc record (Kind 1) is the
// point where its arc starts, followed by its counter-clockwise arc about (CX, CY)
// from StartAngle to EndAngle (a whole turn when the two are equal). Points are taken
// relative to the first record's, so that coordinates near the ends of their range
// keep their precision.
double OutlineDoubleArea(const TPcbBoardOutline& Outline) {
  constexpr double Radian = 3.14159265358979323846 / 180.0;
  const int Last = std::min<Integer>(Outline.SegmentCount, PolySegmentCapacity - 1);
  const double X0 = Outline.Segments[0].X, Y0 = Outline.Segments[0].Y;
  double Sum = 0, X = 0, Y = 0;
  const auto LineTo = [&](double ToX, double ToY) {
    Sum += X * ToY - ToX * Y;
    X = ToX;
    Y = ToY;
  };
  for (int I = 0; I <= Last; ++I) {
    const TPolySegment& Segment = Outline.Segments[I];
    LineTo(Segment.X - X0, Segment.Y - Y0);
    if (Segment.Kind != 1) continue;
    double Start = Segment.StartAngle, End = Segment.EndAngle;
    NormalizeAngle(Start);
    NormalizeAngle(End);
    const double Sweep = End > Start ? End - Start : End - Start + 360.0;
    const double A = Start * Radian, B = (Start + Sweep) * Radian;
    const double CX = Segment.CX - X0, CY = Segment.CY - Y0, R = Segment.Radius;
    LineTo(CX + R * std::cos(A), CY + R * std::sin(A));
    // The arc's own part: the integral of x dy - y dx along it.
    Sum += R * R * (B - A) + CX * R * (std::sin(B) - std::sin(A)) -
           CY * R * (std::cos(B) - std::cos(A));
    X = CX + R * std::cos(B);
    Y = CY + R * std::sin(B);
  }
  LineTo(0, 0);
  return Sum;
}

// The walk's callback: takes a class object out of the board and destroys it. An
// object the board would not give up stays as it is, and the walk goes on; the step
// raises once the walk is over (an error must not leave the walk's iterator behind).
void RemoveObjectClass(Integer ObjectHandle) {
  if (!ClassRemovalBoard) return;
  if ((PcbApi_GetObjectIdFromObjectHandle(ObjectHandle) & 0x7F) != eClassObject) return;
  if (ClassRemovalBoard->RemoveObject(ObjectHandle) == 0)
    PcbApi_DestroyObject(ObjectHandle);
  else
    ClassRemovalRefused = true;
}

// Sets the unit-level board for a walk's callback and clears it again afterwards.
class TCallbackBoardScope {
 public:
  TCallbackBoardScope(TPcbBoard*& ASlot, TPcbBoard* Board) : FSlot(ASlot) { FSlot = Board; }
  TCallbackBoardScope(const TCallbackBoardScope&) = delete;
  TCallbackBoardScope& operator=(const TCallbackBoardScope&) = delete;
  ~TCallbackBoardScope() { FSlot = nullptr; }

 private:
  TPcbBoard*& FSlot;
};

}  // namespace

// --- Editor failures ---

void RaiseEditorRefusal(const char* Step, const char* Refused) {
  throw EBoardBuildError(AnsiString(Step) + ": the PCB editor refused to " + Refused + ".");
}

void CheckEditorStatus(Integer Status, const char* Step, const char* Refused) {
  if (Status != 0) RaiseEditorRefusal(Step, Refused);
}

void ExchangeBoard(TPcbBoard* Board, TExchangeMode Mode, const char* Step) {
  const Integer Status = Board->Exchange(Mode);
  CheckEditorStatus(Status != 0 ? Status : Board->ExchangeFailure, Step,
                    Mode == ExchangeRead ? "read the board" : "write the board");
}

TNewEditorObject::TNewEditorObject(Integer AHandle, const char* Step, const char* Refused)
    : FHandle(AHandle) {
  if (FHandle == 0) RaiseEditorRefusal(Step, Refused);
}

TNewEditorObject::~TNewEditorObject() {
  if (!FOnBoard) PcbApi_DestroyObject(FHandle);
}

void TNewEditorObject::AddTo(TPcbBoard* Board, const char* Step, const char* Refused) {
  CheckEditorStatus(Board->AddObject(FHandle), Step, Refused);
  FOnBoard = true;
}

void TNewEditorObject::TakeOff(TPcbBoard* Board, const char* Step, const char* Refused) {
  CheckEditorStatus(Board->RemoveObject(FHandle), Step, Refused);
  FOnBoard = false;
}

// --- Life ---

TTarvik::TTarvik(TBoardInfoFromUser* ABoardInfo, IServerDocumentView* AContext)
    : BoardInfo(ABoardInfo),
      HorzKeepOuts(NewObject<TList>()),
      VertKeepOuts(NewObject<TList>()),
      Context(AContext) {
  if (Context) Context->AddRef();
}

TTarvik::~TTarvik() {
  // The lists hold handles of the document's objects, which stay the document's.
  FreeAndNil(HorzKeepOuts);
  FreeAndNil(VertKeepOuts);
  FreeAndNil(Board);
  if (Document) Document->Release();
  Document = nullptr;
  if (Context) Context->Release();
  Context = nullptr;
}

// --- The build ---

void TTarvik::BuildBoard() {
  // A record that makes no board is refused before anything is opened.
  const TBoardFault Fault = CheckBoard(*BoardInfo);
  if (!Fault.Ok()) throw EBoardBuildError(Fault.Message);

  BoardInfo->MarkUsedLayers();
  // OpenBoardDocument gives a blank document's record the free name.
  const AnsiString Template = BoardInfo->TemplateFileName;
  if (!OpenBoardDocument()) return;

  // The editor is loaded by now; its entry points are bound afresh.
  BindPcbApi();
  const Integer BoardHandle =
      PcbApi_GetBoardHandleFromFileName(PcbString(HostText(Document->GetFileName())));
  // No board behind the document (a template the editor could not read, or no editor
  // at all): an empty document is no result, so the build closes it again.
  if (BoardHandle == 0) {
    CloseBoardDocument();
    if (!Template.empty()) RefuseBoardTemplate(Template, TemplateUnreadableCause);
    throw EBoardBuildError(NoBoardMessage);
  }

  // Board lives for the rest of the build; it is freed and cleared however the build
  // ends.
  struct TBoardScope {
    TPcbBoard*& Slot;
    ~TBoardScope() { FreeAndNil(Slot); }
  } BoardScope{Board};
  FreeAndNil(Board);
  Board = NewObject<TPcbBoard>(BoardHandle);

  {
    // Until the board has been read and a template's outline accepted, the document
    // holds nothing of the build: a failure lets it go again.
    TUnbuiltDocumentScope Unbuilt(*this);
    ExchangeBoard(Board, ExchangeRead, UnitsStep);
    // A template board keeps the outline it came with. One the editor read without a
    // usable outline makes no board: it is refused before anything is written to it.
    if (!BoardInfo->IsCustom && !Template.empty()) {
      if (const char* Cause = TemplateOutlineFault()) RefuseBoardTemplate(Template, Cause);
    }
    Unbuilt.Keep();
  }
  Board->BoardByte2 = BoardInfo->Units;
  ExchangeBoard(Board, ExchangeWrite, UnitsStep);

  RemoveObjectClasses();

  // The grid is written at once: a custom board's outline step reads the board before
  // anything else writes it, which would otherwise put the old grid back.
  Board->GridSize = static_cast<double>(BoardInfo->GetGridValue());
  ExchangeBoard(Board, ExchangeWrite, GridStep);

  for (TLayer L : FixedFlagLayers) Board->SetLayerFlag(L, 1);

  if (BoardInfo->IsCustom) {
    const TPoint Origin = BoardOrigin(*BoardInfo);
    OriginX = Origin.x;
    OriginY = Origin.y;
    MoveTitleBlockObjects();
    if (BoardInfo->LegendString) AddLegendStrings();
    MakeBoardOutline();
    if (BoardInfo->DimensionLines) AddDimensionLines();
    Board->BoardByte3 = 1;
  }

  MakeLayerStack();
  AddDesignRules();
  ExchangeBoard(Board, ExchangeWrite, BoardWriteStep);

  FitSheet();
  ZoomToSheet();
}

bool TTarvik::OpenBoardDocument() {
  // A template that cannot make a board is refused before the host is asked for
  // anything; one that can is held, safe from change, until the editor has read it.
  std::optional<TBoardTemplate> Template;
  if (!BoardInfo->TemplateFileName.empty()) Template.emplace(BoardInfo->TemplateFileName);

  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  if (!Client) return false;

  Client->StartServer(PcbServerName);
  TInterfaceRef<IServerModule> Module;
  Client->GetServerModuleByName(PcbServerName, &Module);
  if (!Module) return false;

  const AnsiString FreeName = GetFreeDocumentName(PcbDocumentKind);
  if (BoardInfo->TemplateFileName.empty()) BoardInfo->TemplateFileName = FreeName;

  TInterfaceRef<IServerDocument> Opened;
  Module->CreateDocument(PcbDocumentKind, BoardInfo->TemplateFileName.c_str(), &Opened);
  if (!Opened) {
    if (Template) RefuseBoardTemplate(Template->FileName(), TemplateNotOpenedCause);
    return false;
  }

  if (Document) Document->Release();
  Document = Opened.Detach();
  // A template becomes a new, unsaved document under the free name: the template file
  // is never written.
  Document->DoFileLoad();
  Document->SetFileName(FreeName.c_str());
  Client->ShowDocument(Document);
  return true;
}

void TTarvik::CloseBoardDocument() {
  if (!Document) return;
  TInterfaceRef<IClient> Client;
  GetClient(&Client);
  TInterfaceRef<IServerModule> Module;
  if (Client) Client->GetServerModuleByName(PcbServerName, &Module);
  if (Module) Module->RemoveDocument(Document);
  Document->Release();
  Document = nullptr;
}

const char* TTarvik::TemplateOutlineFault() {
  if (Board->OutlineHandle == 0) return NoOutlineCause;
  TOwned<TPcbBoardOutline> Outline(NewObject<TPcbBoardOutline>(Board->OutlineHandle));
  CheckEditorStatus(Outline->Exchange(ExchangeRead), OutlineCheckStep,
                    "read the board outline");
  if (Outline->SegmentCount <= 0) return NoSegmentsCause;
  // Not finite counts as no area: such an outline has no shape.
  if (!(std::fabs(OutlineDoubleArea(*Outline)) >= 2 * LeastOutlineArea)) return NoAreaCause;
  return nullptr;
}

void TTarvik::RemoveObjectClasses() {
  ClassRemovalRefused = false;
  bool Complete = false;
  {
    TCallbackBoardScope Scope(ClassRemovalBoard, Board);
    Complete = Board->IterateObjects(RemoveObjectClass, TObjectSet{eClassObject},
                                     TLayerSet{NoLayer}, 0);
  }
  if (!Complete) RaiseEditorRefusal(ClassesStep, "make an iterator");
  if (ClassRemovalRefused)
    RaiseEditorRefusal(ClassesStep, "take an object class off the board");
}

void TTarvik::MoveTitleBlockObjects() {
  const TLayer DimensionLayer = BoardInfo->DimensionLayer;
  if (DimensionLayer == 0) return;

  // Every arc, then every track, then every text, layer by layer. They are collected
  // before any of them is touched, so that no walk sees an object twice.
  TOwned<TList> Handles(NewObject<TList>());
  for (TObjectId Id : {eArcObject, eTrackObject, eTextObject}) {
    for (int L = 1; L <= MaxLayer; ++L) {
      TIteratorScope Iterator(PcbApi_CreateIterator(Board->BoardHandle, Id, 1, TLayer(L)));
      if (Iterator.Get() == 0) RaiseEditorRefusal(TitleBlockStep, "make an iterator");
      for (Integer H = PcbApi_GetFirstObject(Iterator.Get()); H != 0;
           H = PcbApi_GetNextObject(Iterator.Get()))
        Handles->Add(HandleItem(H));
    }
  }

  // Each object leaves the board, is moved when it is selected, and comes back.
  TOwned<TPCBObject> Object(NewObject<TPCBObject>(0));
  for (int I = 0; I < Handles->Count(); ++I) {
    const Integer H = ItemHandle(Handles->Get(I));
    CheckEditorStatus(Board->RemoveObject(H), TitleBlockStep,
                      "take an object off the board");
    Object->Handle = H;
    CheckEditorStatus(Object->Exchange(ExchangeRead), TitleBlockStep, "read an object");
    const bool IsTitle = (Object->Flags & TitleBlockFlag) != 0;
    const bool OnScaleLayer = Object->Layer == ScaleLayer;
    const bool Selected = (IsTitle && BoardInfo->TitleBlock) ||
                          (!IsTitle && OnScaleLayer && BoardInfo->Scale);
    if (Selected) Object->Layer = DimensionLayer;
    CheckEditorStatus(Object->Exchange(ExchangeWrite), TitleBlockStep, "write an object");
    CheckEditorStatus(Board->AddObject(H), TitleBlockStep,
                      "put an object back on the board");
  }
  Object.reset();
  ExchangeBoard(Board, ExchangeWrite, TitleBlockStep);
}

void TTarvik::AddDesignRules() { ::AddDesignRules(Board, BoardInfo); }

// --- The sheet and the view ---

void TTarvik::FitSheet() {
  const Integer BoardHandle = Board->BoardHandle;
  Integer SheetX = 0, SheetY = 0, SheetWidth = 0, SheetHeight = 0;
  Byte Flag1 = 0, Flag2 = 0;
  CheckEditorStatus(PcbApi_QuerySheet(ExchangeRead, BoardHandle, SheetX, SheetY, SheetWidth,
                                      SheetHeight, Flag1, Flag2),
                    SheetStep, "read the sheet");

  // The extent of every object whose bounds the editor reports; an object without
  // bounds (a dimension or polygon without a point) adds nothing.
  bool Found = false;
  Integer MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  {
    TIteratorScope Iterator(PcbApi_CreateIterator(BoardHandle, 0, 0, 0));
    if (Iterator.Get() == 0) RaiseEditorRefusal(SheetStep, "make an iterator");
    for (Integer H = PcbApi_GetFirstObject(Iterator.Get()); H != 0;
         H = PcbApi_GetNextObject(Iterator.Get())) {
      Integer Left = 0, Bottom = 0, Right = 0, Top = 0;
      if (PcbApi_QueryObjectBoundingRectangle(H, Left, Bottom, Right, Top) != 0) continue;
      if (!Found) {
        MinX = Left;
        MinY = Bottom;
        MaxX = Right;
        MaxY = Top;
        Found = true;
        continue;
      }
      MinX = std::min(MinX, Left);
      MinY = std::min(MinY, Bottom);
      MaxX = std::max(MaxX, Right);
      MaxY = std::max(MaxY, Top);
    }
  }
  // A board without objects keeps its sheet.
  if (!Found) return;

  const Int64 Margin = MilToCoord(SheetMarginMils);
  SheetX = ClampCoord(Int64(MinX) - Margin);
  SheetY = ClampCoord(Int64(MinY) - Margin);
  SheetWidth = ClampCoord(Int64(MaxX) - MinX + 2 * Margin);
  SheetHeight = ClampCoord(Int64(MaxY) - MinY + 2 * Margin);
  Flag1 = 1;
  CheckEditorStatus(PcbApi_QuerySheet(ExchangeWrite, BoardHandle, SheetX, SheetY,
                                      SheetWidth, SheetHeight, Flag1, Flag2),
                    SheetStep, "write the sheet");
}

void TTarvik::ZoomToSheet() { ZoomDocumentToSheet(Document); }

IServerDocumentView* FindPcbEditorView(IServerDocument* Document) {
  if (!Document) return nullptr;
  const int Count = Document->GetCount();
  for (int I = 0; I < Count; ++I) {
    TInterfaceRef<IServerDocumentView> View;
    Document->GetView(I, &View);
    if (View && SameText(HostText(View->GetViewName()), PcbEditorViewName)) return View.Detach();
  }
  return nullptr;
}

void ZoomDocumentToSheet(IServerDocument* Document) {
  TInterfaceRef<IServerDocumentView> View;
  *&View = FindPcbEditorView(Document);
  char Parameters[ZoomParameterLength] = {};
  SetParameterInString(Parameters, ZoomParameterLength, "Action", "Sheet");
  RunClientProcess("PCB:Zoom", Parameters, ZoomParameterLength, View.Get());
}
