#include "pcb/Pcbclass_Object.h"
#include "pcb/Pcbclass_Primitives.h"
#include "pcb/Pcbclass_Rules.h"
#include "pcb/PCBProcs.h"

namespace {

// A new wrapper of the class that stands for Id, or nullptr.
TPCBObject* NewWrapperForId(TObjectId Id, Integer Handle) {
  switch (Id) {
    case eArcObject: return NewObject<TPcbArc>(Handle);
    case ePadObject: return NewObject<TPcbPad>(Handle);
    case eViaObject: return NewObject<TPcbVia>(Handle);
    case eTrackObject: return NewObject<TPcbTrack>(Handle);
    case eTextObject: return NewObject<TPcbText>(Handle);
    case eFillObject: return NewObject<TPcbFill>(Handle);
    case eFromToObject: return NewObject<TPcbFromTo>(Handle);
    case eNetObject: return NewObject<TPcbNet>(Handle);
    case eComponentObject: return NewObject<TPcbComponent>(Handle);
    case ePolygonObject: return NewObject<TPcbPolygon>(Handle);
    case eDimensionObject: return NewObject<TPcbDimension>(Handle);
    case eCoordinateObject: return NewObject<TPcbCoordinate>(Handle);
    case eClassObject: return NewObject<TPCBObjectClass>(Handle);
    case eRuleObject: return NewObject<TPcbRule>(Handle);
    case eManualFromToObject: return NewObject<TPcbManualFromTo>(Handle);
    case eBoardOutlineObject: return NewObject<TPcbBoardOutline>(Handle);
    default: return nullptr;
  }
}

}  // namespace

TPCBObject* CreatePcbObjectFromHandle(Integer Handle) {
  // Bit 7 of the reported id is not part of the kind.
  const TObjectId Id = TObjectId(PcbApi_GetObjectIdFromObjectHandle(Handle) & 0x7F);
  TPCBObject* Wrapper = NewWrapperForId(Id, Handle);
  if (Wrapper) Wrapper->Exchange(ExchangeRead);
  return Wrapper;
}

void GetObjectTextFromHandle(Integer Handle, PcbString& Text) {
  Text = PcbString();
  if (Handle == 0) return;
  TOwned<TPCBObject> Wrapper(CreatePcbObjectFromHandle(Handle));
  if (Wrapper) Text = Wrapper->GetText();
}
