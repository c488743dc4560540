// The theme engine: the non-visual component that owns the current painter, keeps
// the hue and brightness deltas, streams the painter's name with its form (the binary
// property "ThemeClass") and tells the themed windows bound to it to repaint when the
// painter or a delta changes.
//
// Whoever draws through the engine tests ThemeAvailable() first and otherwise draws
// unthemed: a painter that cannot draw on this system stays installed.
#pragma once

#include "classlib/Classes.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/Streams.h"
#include "skin/KsThemeThemes.h"

class TTeThemeEngine;

// The version string that themed components publish (writes are ignored).
using TTeThemeVersion = AnsiString;
inline constexpr const char* TeThemeVersionText = "2.7.9";

// The painter class a new engine starts with; nullptr gives the base painter.
extern TTeThemeClass DefaultThemeClass;
// The painter that Loaded installs when UseNativeXPTheme is on: the visual-styles
// painter, set by its unit. While it is nullptr, Loaded only re-applies the deltas.
extern TTeThemeClass NativeThemeClass;

// The themed-window part of RefreshThemeForms: when Component is a themed window
// bound to Engine, it re-lays out its frame, re-applies the painter, invalidates its
// controls and answers true; for any other component it answers false. Set by the
// themed-window unit; nullptr while there is none.
using TThemeFormRefresher = bool (*)(TComponent* Component, TTeThemeEngine* Engine);
extern TThemeFormRefresher ThemeFormRefresher;

class TTeThemeEngine : public TComponent {
  TCLASS_DECL(TTeThemeEngine, TComponent)
 public:
  // Installs a painter of DefaultThemeClass.
  explicit TTeThemeEngine(TComponent* AOwner);
  // Frees the painter (after the component's notifications, which may still ask).
  ~TTeThemeEngine() override;

  // The current painter, owned. Do not keep it across SetTheme or SetThemeClass.
  TTeTheme* Theme() const { return FTheme; }
  // Frees the current painter, takes ownership of Value and refreshes the themed
  // windows; the deltas are not applied to it. The current painter again changes
  // nothing.
  void SetTheme(TTeTheme* Value);
  // A painter is installed and its class can draw on this system.
  bool ThemeAvailable() const;

  int DeltaHue() const { return FDeltaHue; }
  int DeltaBrightness() const { return FDeltaBrightness; }
  // A changed value is stored; when the painter is available it gets the value and,
  // unless loading, the themed windows are refreshed. An equal value does nothing.
  void SetDeltaHue(int Value);
  void SetDeltaBrightness(int Value);
  bool UseNativeXPTheme() const { return FUseNativeXPTheme; }
  // Only stored; it acts in Loaded.
  void SetUseNativeXPTheme(bool Value) { FUseNativeXPTheme = Value; }
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}

  // Replaces the painter by a new one of AClass when AClass is registered (the
  // registered class stays the one that decides), then gives an available painter
  // both deltas and refreshes the themed windows.
  void SetThemeClass(TTeThemeClass AClass);
  // For each form of Screen and each of its components that ThemeFormRefresher takes
  // as a themed window of this engine: the window refreshes itself, the form's colour
  // becomes the painter's colour 6 (the button face when the painter is unavailable)
  // and the client window of an MDI parent form is repainted.
  void RefreshThemeForms();

  // Installs NativeThemeClass when UseNativeXPTheme is on.
  void Loaded() override;
  // The binary property "ThemeClass", always written.
  void DefineProperties(TFiler* Filer) override;

  // "ThemeClass": a signed 32-bit little-endian length N, then N characters of the
  // painter's name. Reading installs the first registered class of that name; an
  // unknown name leaves the painter as it is.
  void ReadThemeClass(TStream* Stream);
  void WriteThemeClass(TStream* Stream);
  // False, with Name untouched, when the stream holds no whole name: the length is
  // missing, negative or larger than the bytes left.
  static bool ReadThemeName(TStream* Stream, AnsiString& Name);
  static void WriteThemeName(TStream* Stream, const AnsiString& Name);

 private:
  TTeTheme* FTheme = nullptr;
  int FDeltaHue = 0;
  bool FUseNativeXPTheme = false;
  int FDeltaBrightness = 0;
};

// The unit's start (the engine's class and published properties, for form files)
// and end.
void InitKsThemeEngine();
void DoneKsThemeEngine();
