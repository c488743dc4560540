// The visual-styles binding: uxtheme.dll loaded at run time from the system folder,
// its entry points looked up by name, and every visual-styles call of the kit made
// through the pointers in ThemeApi (tests replace them). On top of it, a cache of the
// theme handles opened without a window, one per class name, and the hidden window
// (TThemeTracker) that closes and forgets them all when the visual style changes.
#pragma once

#include <windows.h>

#include "classlib/Messages.h"
#include "classlib/Objects.h"
#include "classlib/Types.h"

using HTHEME_T = HANDLE;

using TOpenThemeDataProc = HTHEME_T(WINAPI*)(HWND, LPCWSTR);
using TCloseThemeDataProc = HRESULT(WINAPI*)(HTHEME_T);
using TDrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME_T, HDC, int, int, const RECT*,
                                                  const RECT*);
using TDrawThemeTextProc = HRESULT(WINAPI*)(HTHEME_T, HDC, int, int, LPCWSTR, int, DWORD,
                                            DWORD, const RECT*);
using TGetThemePartSizeProc = HRESULT(WINAPI*)(HTHEME_T, HDC, int, int, const RECT*, int,
                                               SIZE*);
using TGetThemeBackgroundRegionProc = HRESULT(WINAPI*)(HTHEME_T, HDC, int, int, const RECT*,
                                                       HRGN*);
using TIsThemePartDefinedProc = BOOL(WINAPI*)(HTHEME_T, int, int);
using TIsAppThemedProc = BOOL(WINAPI*)();

// The looked-up entry points in lookup order: nil until the library is loaded, and
// nil for a name the library lacks. The typed ones are the ones the kit calls.
struct TThemeApi {
  TOpenThemeDataProc OpenThemeData;
  TCloseThemeDataProc CloseThemeData;
  TDrawThemeBackgroundProc DrawThemeBackground;
  TDrawThemeTextProc DrawThemeText;
  TGetThemePartSizeProc GetThemePartSize;
  FARPROC GetThemeTextExtent;
  FARPROC GetThemeTextMetrics;
  TGetThemeBackgroundRegionProc GetThemeBackgroundRegion;
  FARPROC HitTestThemeBackground;
  FARPROC DrawThemeEdge;
  FARPROC DrawThemeIcon;
  FARPROC DrawThemeParentBackground;
  TIsThemePartDefinedProc IsThemePartDefined;
  FARPROC IsThemeBackgroundPartiallyTransparent;
  FARPROC GetThemeColor;
  FARPROC GetThemeMetric;
  FARPROC GetThemeString;
  FARPROC GetThemeBool;
  FARPROC GetThemeInt;
  FARPROC GetThemeEnumValue;
  FARPROC GetThemePosition;
  FARPROC GetThemeFont;
  FARPROC GetThemeRect;
  FARPROC GetThemeMargins;
  FARPROC GetThemeIntList;
  FARPROC GetThemePropertyOrigin;
  FARPROC SetWindowTheme;
  FARPROC GetThemeFilename;
  FARPROC GetThemeSysColor;
  FARPROC GetThemeSysColorBrush;
  FARPROC GetThemeSysBool;
  FARPROC GetThemeSysSize;
  FARPROC GetThemeSysFont;
  FARPROC GetThemeSysString;
  FARPROC GetThemeSysInt;
  FARPROC IsThemeActive;
  TIsAppThemedProc IsAppThemed;
  FARPROC GetWindowTheme;
  FARPROC GetThemeAppProperties;
  FARPROC SetThemeAppProperties;
  FARPROC GetCurrentThemeName;
  FARPROC GetThemeDocumentationProperty;
};
inline constexpr int ThemeApiNameCount = 42;
static_assert(sizeof(TThemeApi) == ThemeApiNameCount * sizeof(void*));
extern TThemeApi ThemeApi;
// The names of ThemeApi's fields, in the same order.
extern const char* const ThemeApiNames[ThemeApiNameCount];

// The module handle of the loaded library (nullptr while none).
HMODULE ThemeLibrary();
// Loads LibraryName (uxtheme.dll unless a test names another) from the system folder
// and looks up every name; a missing library leaves every pointer nil. A library
// already loaded is unloaded first.
void LoadThemeLibrary(const char* LibraryName = "uxtheme.dll");
// Closes the cached handles while the library is still there, then frees the library
// and clears every pointer.
void UnloadThemeLibrary();
// The library is loaded and IsAppThemed answers non-zero.
bool IsVisualStyleAvailable();

// A theme handle for ClassName (nullptr when the style has no such class). With no
// window the cache answers: the first request opens the handle and remembers it (0
// included) until the next WM_THEMECHANGED or ClearThemeCache. A window handle always
// opens afresh and caches nothing. The tracker window is made on the first request.
HTHEME_T OpenThemeHandle(HWND Window, const char* ClassName);
// Leaves a cached handle open (answer 0); closes any other with CloseThemeData.
HRESULT CloseThemeHandle(HTHEME_T Theme);
// Closes every cached handle (when CloseThemeData is bound), in list order, and empties
// the cache.
void ClearThemeCache();
// How many class names the cache holds.
int ThemeCacheCount();

// The hidden window that hears of visual-style changes (WM_THEMECHANGED reaches top-
// level windows only, which the class library's hidden windows are).
class TThemeTracker : public TObject {
  TCLASS_DECL(TThemeTracker, TObject)
 public:
  TThemeTracker();
  ~TThemeTracker() override;
  HWND Handle() const { return FHandle; }
  // WM_THEMECHANGED clears the cache; every message is answered by DefWindowProc.
  void WndProc(TMessage& Message);

 private:
  HWND FHandle = nullptr;
};
// The tracker, nullptr until the first handle request.
TThemeTracker* ThemeTracker();

// The unit's start (the empty cache) and end (tracker freed, cache cleared and freed).
void InitTeThemeXPImpl();
void DoneTeThemeXPImpl();
