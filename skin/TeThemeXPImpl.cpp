#include "skin/TeThemeXPImpl.h"

#include <string>

#include "classlib/Classes.h"
#include "classlib/StringLists.h"
#include "classlib/SystemLibrary.h"

TThemeApi ThemeApi{};

const char* const ThemeApiNames[ThemeApiNameCount] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemePartSize", "GetThemeTextExtent", "GetThemeTextMetrics",
    "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "DrawThemeParentBackground", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent",
    "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool", "GetThemeInt",
    "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
    "GetThemeIntList", "GetThemePropertyOrigin", "SetWindowTheme", "GetThemeFilename",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize",
    "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed",
    "GetWindowTheme", "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
    "GetThemeDocumentationProperty"};

TCLASS_IMPL(TThemeTracker)

namespace {

HMODULE Library = nullptr;
TStringList* Cache = nullptr;
TThemeTracker* Tracker = nullptr;

// The fields of ThemeApi as one array of untyped slots, in lookup order.
void** Slots() { return reinterpret_cast<void**>(&ThemeApi); }

std::wstring Wide(const char* Text) {
  const int N = MultiByteToWideChar(CP_ACP, 0, Text, -1, nullptr, 0);
  std::wstring Result(N > 0 ? static_cast<std::size_t>(N) : 1u, L'\0');
  if (N > 0) MultiByteToWideChar(CP_ACP, 0, Text, -1, Result.data(), N);
  return Result;
}

}  // namespace

HMODULE ThemeLibrary() { return Library; }

void LoadThemeLibrary(const char* LibraryName) {
  if (Library) UnloadThemeLibrary();
  Library = LoadSystemLibrary(LibraryName);
  if (!Library) return;
  for (int I = 0; I < ThemeApiNameCount; ++I)
    Slots()[I] = reinterpret_cast<void*>(GetProcAddress(Library, ThemeApiNames[I]));
}

void UnloadThemeLibrary() {
  // The cached handles are closed through the library, so they go before it does.
  ClearThemeCache();
  if (Library) FreeLibrary(Library);
  Library = nullptr;
  ThemeApi = TThemeApi{};
}

bool IsVisualStyleAvailable() {
  return Library && ThemeApi.IsAppThemed && ThemeApi.IsAppThemed() != FALSE;
}

HTHEME_T OpenThemeHandle(HWND Window, const char* ClassName) {
  if (!Window && !Tracker) Tracker = NewObject<TThemeTracker>();
  int Index = 0;
  if (!Window && Cache && Cache->Find(ClassName, Index))
    return reinterpret_cast<HTHEME_T>(Cache->Objects(Index));
  HTHEME_T Theme = nullptr;
  if (ThemeApi.OpenThemeData) Theme = ThemeApi.OpenThemeData(Window, Wide(ClassName).c_str());
  if (!Window && Cache) Cache->AddObject(ClassName, reinterpret_cast<TObject*>(Theme));
  return Theme;
}

HRESULT CloseThemeHandle(HTHEME_T Theme) {
  if (Cache)
    for (int I = 0; I < Cache->Count(); ++I)
      if (reinterpret_cast<HTHEME_T>(Cache->Objects(I)) == Theme) return 0;
  return ThemeApi.CloseThemeData ? ThemeApi.CloseThemeData(Theme) : 0;
}

void ClearThemeCache() {
  if (!Cache) return;
  if (ThemeApi.CloseThemeData)
    for (int I = 0; I < Cache->Count(); ++I)
      if (HTHEME_T Theme = reinterpret_cast<HTHEME_T>(Cache->Objects(I)))
        ThemeApi.CloseThemeData(Theme);
  Cache->Clear();
}

int ThemeCacheCount() { return Cache ? Cache->Count() : 0; }

TThemeTracker::TThemeTracker() {
  FHandle = AllocateHWnd(TWndMethod::Bind<&TThemeTracker::WndProc>(this));
}

TThemeTracker::~TThemeTracker() {
  if (FHandle) DeallocateHWnd(FHandle);
}

void TThemeTracker::WndProc(TMessage& Message) {
  if (Message.Msg == WM_THEMECHANGED) ClearThemeCache();
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

TThemeTracker* ThemeTracker() { return Tracker; }

void InitTeThemeXPImpl() {
  Cache = NewObject<TStringList>();
  Cache->SetCaseSensitive(false);
  Cache->SetSorted(true);
}

void DoneTeThemeXPImpl() {
  FreeAndNil(Tracker);
  ClearThemeCache();
  FreeAndNil(Cache);
}
