#include "treenode/FontMan.h"

#include <cstring>

#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"

TCLASS_IMPL(TFontManager)

TFontManager* FontManager = nullptr;

namespace {

bool SystemIsWinNT() {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof(Info);
  return !GetVersionExA(&Info) || Info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The description of Font, or false when the handle is not a font (any more).
bool DescribeFont(HFONT Font, LOGFONTA& Description) {
  if (!Font || GetObjectType(Font) != OBJ_FONT) return false;
  std::memset(&Description, 0, sizeof(Description));
  return GetObjectA(Font, sizeof(Description), &Description) != 0;
}

bool SameDescription(const LOGFONTA& A, const LOGFONTA& B) {
  return std::memcmp(&A, &B, offsetof(LOGFONTA, lfFaceName)) == 0 &&
         std::strncmp(A.lfFaceName, B.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

bool (*FontManIsWinNT)() = SystemIsWinNT;

void RaiseLastFontError() {
  DWORD Code = GetLastError();
  throw Exception(Code ? SysErrorMessage(Code) : AnsiString("The font cannot be measured"));
}

TFontManager::TFontManager() {
  for (int I = 0; I < FontCacheSize; ++I) FOrder[I] = &FCache[I];
  for (int I = 0; I < 256; ++I) FChars[I] = static_cast<char>(I);
}

TFontManager::~TFontManager() = default;

int TFontManager::TextExtent(HFONT Font, const char* Text, int* Widths, int Count) {
  return SumWidths(Text, Count, Widths, GetFontEntry(Font)->Widths);
}

int TFontManager::SumWidths(const char* Text, int Count, int* Widths, const int* CharWidths) {
  int Total = 0;
  for (int I = 0; I < Count && Text[I] != '\0'; ++I) {
    int W = CharWidths[static_cast<unsigned char>(Text[I])];
    if (Widths) Widths[I] = W;
    Total += W;
  }
  return Total;
}

bool TFontManager::IsCached(HFONT Font) const {
  for (int I = 0; I < FontCacheSize && FOrder[I]->Handle; ++I)
    if (FOrder[I]->Handle == Font) return true;
  return false;
}

TFontCacheEntry* TFontManager::GetFontEntry(HFONT Font) {
  for (int I = 0; I < FontCacheSize && FOrder[I]->Handle; ++I) {
    if (FOrder[I]->Handle != Font) continue;
    LOGFONTA Now;
    if (DescribeFont(Font, Now) && SameDescription(Now, FOrder[I]->Description))
      return MoveToFront(I);
    // The handle was freed (and perhaps given to another font): the entry is stale.
    // It goes to the back and is loaded again there.
    FOrder[I]->Handle = nullptr;
    TFontCacheEntry* Stale = FOrder[I];
    for (int J = I; J < FontCacheSize - 1; ++J) FOrder[J] = FOrder[J + 1];
    FOrder[FontCacheSize - 1] = Stale;
    break;
  }
  LoadIntoLastSlot(Font);
  return MoveToFront(FontCacheSize - 1);
}

TFontCacheEntry* TFontManager::MoveToFront(int Index) {
  if (Index > 0) {
    TFontCacheEntry* Entry = FOrder[Index];
    for (int I = Index; I > 0; --I) FOrder[I] = FOrder[I - 1];
    FOrder[0] = Entry;
  }
  return FOrder[0];
}

void TFontManager::LoadIntoLastSlot(HFONT Font) {
  TFontCacheEntry* Entry = FOrder[FontCacheSize - 1];
  Entry->Handle = nullptr;
  if (!DescribeFont(Font, Entry->Description)) {
    SetLastError(ERROR_INVALID_HANDLE);
    RaiseLastFontError();
  }
  LoadFontWidths(Font, Entry->Widths, Entry->Metrics);  // raises on a failure
  Entry->Handle = Font;
}

bool TFontManager::LoadFontWidths(HFONT Font, int* Widths, int* Metrics) {
  TSelection Selected(FDC, Font);
  bool Ok;
  if (FontManIsWinNT()) {
    Ok = GetCharWidth32A(FDC, 0, 255, Widths) != 0;
  } else {
    SIZE Size;
    Ok = GetTextExtentExPointA(FDC, FChars, 256, 0, nullptr, Widths, &Size) != 0;
    if (!Ok) RaiseLastFontError();
    for (int I = 255; I >= 1; --I) Widths[I] -= Widths[I - 1];
  }
  if (Metrics) {
    if (!Ok) RaiseLastFontError();
    TEXTMETRICA TM;
    if (!GetTextMetricsA(FDC, &TM)) RaiseLastFontError();
    Metrics[0] = TM.tmOverhang;
    Metrics[1] = TM.tmAscent;
    Metrics[2] = TM.tmDescent;
    Metrics[3] = TM.tmAveCharWidth * 2;
    Metrics[4] = TM.tmHeight;
  }
  return Ok;
}

int FontTextExtent(HFONT Font, const char* Text, int Count, int* Widths) {
  return FontManager->TextExtent(Font, Text, Widths, Count);
}

void InitFontMan() { FontManager = NewObject<TFontManager>(); }

void DoneFontMan() { FreeAndNil(FontManager); }
