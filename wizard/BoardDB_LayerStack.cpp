// The board maker's layer stack: unused middle layers and planes leave the stack, every
// used layer is made known to the editor and flagged, and the signal layers and planes
// go into the stack in a fixed order. A change the editor refuses ends the build.
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB_Maker.h"

namespace {

constexpr TLayer TopLayer = 1;
constexpr TLayer BottomLayer = 32;
constexpr TLayer FirstPlane = 39;

bool IsMiddleLayerOrPlane(int L) { return (L >= 2 && L <= 31) || (L >= 39 && L <= 54); }
bool IsSignalOrMechanicalLayer(int L) { return (L >= 1 && L <= 32) || (L >= 57 && L <= 72); }

// The dummy track's ends: 1 mil and 3 mil from the sheet origin.
constexpr TCoord DummyStart = 10000;
constexpr TCoord DummyEnd = 30000;

constexpr const char* LayerStackStep = "The board's layer stack could not be built";

// Puts a tiny track on the layer and takes it off again at once, so that the editor
// knows the layer; the track never stays on the board, and is destroyed once it is off.
void TouchLayer(TPcbBoard* Board, TLayer Layer) {
  TNewEditorObject Dummy(PcbApi_CreateObject(eTrackObject), LayerStackStep,
                         "create a track");
  TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(Dummy.Handle()));
  CheckEditorStatus(Track->Exchange(ExchangeRead), LayerStackStep, "read a track");
  Track->X = DummyStart;
  Track->Y = DummyStart;
  Track->X2 = DummyEnd;
  Track->Y2 = DummyEnd;
  Track->Layer = Layer;
  CheckEditorStatus(Track->Exchange(ExchangeWrite), LayerStackStep, "write a track");
  Dummy.AddTo(Board, LayerStackStep, "add a track to the board");
  Dummy.TakeOff(Board, LayerStackStep, "take a track off the board");
}

}  // namespace

void TTarvik::MakeLayerStack() {
  const Integer BoardHandle = Board->BoardHandle;

  // Every flag is cleared; a middle layer or plane without objects leaves the stack.
  for (int L = 1; L <= MaxLayer; ++L) {
    Board->SetLayerFlag(L, 0);
    if (IsMiddleLayerOrPlane(L) && Board->LayerObject(L)->LayerState1 == 0)
      CheckEditorStatus(PcbApi_RemoveLayerFromStack(BoardHandle, TLayer(L)), LayerStackStep,
                        "remove a layer");
  }

  for (int L = 1; L <= MaxLayer; ++L) {
    if (!BoardInfo->GetLayerUsed(TLayer(L))) continue;
    if (IsSignalOrMechanicalLayer(L)) TouchLayer(Board, TLayer(L));
    Board->SetLayerFlag(L, 1);
  }

  // Top and bottom, the upper half of the middle layers below the top (nearest the top
  // last), the planes below them in number order, then the lower half above the bottom.
  const int SignalCount = BoardInfo->SignalLayers;
  const int PlaneCount = BoardInfo->PowerPlanes;
  const int Half = SignalCount / 2;
  const auto Insert = [BoardHandle](TLayer Layer, TLayer Reference) {
    CheckEditorStatus(PcbApi_InsertLayerInStack(BoardHandle, Layer, Reference),
                      LayerStackStep, "insert a layer");
  };
  Insert(TopLayer, TopLayer);
  Insert(BottomLayer, TopLayer);
  for (int L = Half; L >= 2; --L) Insert(TLayer(L), TopLayer);
  if (PlaneCount > 0) {
    Insert(FirstPlane, TLayer(Half));
    for (int L = FirstPlane + 1; L <= FirstPlane - 1 + PlaneCount; ++L)
      Insert(TLayer(L), TLayer(L - 1));
  }
  for (int L = Half + 1; L <= SignalCount - 1; ++L) Insert(TLayer(L), BottomLayer);
}
