#include "treelist/dxTL_Resources.h"

#include <cstring>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"

const TdxTLCursorResource dxTLCursorResources[10] = {
    {crdxTLDelete, "DXTLDELETECURSOR"},
    {crdxTLFullScroll, "DXTL_FULLSCROLLCURSOR"},
    {crdxTLHorScroll, "DXTL_HORSCROLLCURSOR"},
    {crdxTLVerScroll, "DXTL_VERSCROLLCURSOR"},
    {crdxTLUpScroll, "DXTL_UPSCROLLCURSOR"},
    {crdxTLRightScroll, "DXTL_RIGHTSCROLLCURSOR"},
    {crdxTLDownScroll, "DXTL_DOWNSCROLLCURSOR"},
    {crdxTLLeftScroll, "DXTL_LEFTSCROLLCURSOR"},
    {crdxTLDragCopy, "DXTL_DRAGCOPY"},
    {crdxTLMultiDragCopy, "DXTL_MULTIDRAGCOPY"},
};

AnsiString dxTLCustomizeCaption;
AnsiString dxTLBandsCaption;
AnsiString dxTLHeadersCaption;

namespace {

int StartCount = 0;
HIMAGELIST DummyImages = nullptr;

// A cursor from the .cur file kept as raw data under the number -Index: its one
// image, with the hot spot in front as a cursor resource has it. Null when the data is
// missing or bad.
HCURSOR LoadCursorData(TCursor Index) {
  HRSRC Info = FindResourceA(HInstance, MAKEINTRESOURCEA(-Index), MAKEINTRESOURCEA(10));  // RCDATA
  if (!Info) return nullptr;
  HGLOBAL Data = LoadResource(HInstance, Info);
  const auto* Bytes = Data ? static_cast<const BYTE*>(LockResource(Data)) : nullptr;
  const DWORD Size = SizeofResource(HInstance, Info);
  if (!Bytes || Size < 22) return nullptr;
  auto Word = [&](DWORD At) { return static_cast<DWORD>(Bytes[At] | Bytes[At + 1] << 8); };
  auto DWord = [&](DWORD At) { return Word(At) | Word(At + 2) << 16; };
  const DWORD ImageSize = DWord(14);
  const DWORD ImageOffset = DWord(18);
  if (Word(2) != 2 || Word(4) < 1 || ImageOffset > Size || ImageSize > Size - ImageOffset)
    return nullptr;
  std::vector<BYTE> Resource(4 + ImageSize);
  Resource[0] = Bytes[10];  // the hot spot
  Resource[1] = Bytes[11];
  Resource[2] = Bytes[12];
  Resource[3] = Bytes[13];
  std::memcpy(Resource.data() + 4, Bytes + ImageOffset, ImageSize);
  return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      Resource.data(), static_cast<DWORD>(Resource.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

HIMAGELIST dxTLDummyImageList() { return DummyImages; }

void InitdxTLResources() {
  if (StartCount++ > 0) return;
  dxTLCustomizeCaption = "Customize";
  dxTLBandsCaption = "    Bands    ";
  dxTLHeadersCaption = "   Headers   ";
  DummyImages = ImageList_Create(1, 1, ILC_COLOR, 0, 1);
  if (Screen)
    for (const TdxTLCursorResource& C : dxTLCursorResources)
      Screen->SetCursors(C.Index, LoadCursorData(C.Index));
}

void DonedxTLResources() {
  if (StartCount == 0 || --StartCount > 0) return;
  // The screen's table destroys each cursor it lets go.
  if (Screen)
    for (const TdxTLCursorResource& C : dxTLCursorResources) Screen->SetCursors(C.Index, nullptr);
  if (DummyImages) ImageList_Destroy(DummyImages);
  DummyImages = nullptr;
  dxTLCustomizeCaption.clear();
  dxTLBandsCaption.clear();
  dxTLHeadersCaption.clear();
}
