#include "pcb/PCBProcs.h"

HMODULE PcbModuleHandle = nullptr;
const char PcbModuleName[] = "Merovan.dll";

const char* const PcbApiEntryNames[PcbApiEntryCount] = {
#define PCBAPI_ENTRY_STRING(Name) #Name,
    PCBAPI_ENTRY_NAMES(PCBAPI_ENTRY_STRING)
#undef PCBAPI_ENTRY_STRING
};

namespace {

FARPROC Slots[PcbApiEntryCount] = {};

// The slot typed as the editor function it holds.
template <class Function>
Function* BoundSlot(TPcbApiEntry Entry) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(Slots[Entry]));
}

}  // namespace

void BindPcbApiProc(TPcbApiEntry Entry) {
  Slots[Entry] =
      PcbModuleHandle ? GetProcAddress(PcbModuleHandle, PcbApiEntryNames[Entry]) : nullptr;
}

void BindPcbApi() {
  PcbModuleHandle = GetModuleHandleA(PcbModuleName);
  for (int Entry = 0; Entry < PcbApiEntryCount; ++Entry)
    BindPcbApiProc(static_cast<TPcbApiEntry>(Entry));
}

void InitPcbProcs() {
  PcbModuleHandle = nullptr;
  BindPcbApi();
}

FARPROC PcbApiEntryPoint(TPcbApiEntry Entry) {
  return Entry >= 0 && Entry < PcbApiEntryCount ? Slots[Entry] : nullptr;
}

Integer PcbApi_QuerySheet(TExchangeMode Mode, Integer BoardHandle, Integer& SheetX,
                          Integer& SheetY, Integer& SheetWidth, Integer& SheetHeight,
                          Byte& Flag1, Byte& Flag2) {
  // The editor's register convention: the stack arguments go in reverse order.
  auto* Slot = BoundSlot<PcbAbi::QuerySheet>(ePcbApi_QuerySheet);
  return Slot ? Slot(Mode, BoardHandle, SheetX, Flag2, Flag1, SheetHeight, SheetWidth,
                     SheetY)
              : 0;
}

void PcbApi_CreateBoardOutline(Integer BoardHandle) {
  auto* Slot = BoundSlot<PcbAbi::CreateBoardOutline>(ePcbApi_CreateBoardOutline);
  if (Slot) Slot(BoardHandle);
}

void PcbApi_UpdateBoardOutline(Integer BoardHandle) {
  auto* Slot = BoundSlot<PcbAbi::UpdateBoardOutline>(ePcbApi_UpdateBoardOutline);
  if (Slot) Slot(BoardHandle);
}
