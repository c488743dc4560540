// Fast single-line text measuring: the character widths and a few text metrics of the
// 32 most recently used fonts, kept so that a width is a sum of table entries instead of
// a font selection and a system call per text.
#pragma once

#include <windows.h>

#include "classlib/GdiScopes.h"
#include "classlib/Objects.h"

// One cached font. Handle 0 marks an empty slot.
struct TFontCacheEntry {
  HFONT Handle = nullptr;
  // tmOverhang, tmAscent, tmDescent, twice tmAveCharWidth, tmHeight.
  int Metrics[5] = {};
  // Indexed by character code.
  int Widths[256] = {};
  // The font's description when it was loaded. GDI hands a deleted font's handle to a
  // later font, so a cache hit is only trusted while the handle still describes this
  // font.
  LOGFONTA Description = {};
};

inline constexpr int FontCacheSize = 32;

class TFontManager : public TObject {
  TCLASS_DECL(TFontManager, TObject)
 public:
  TFontManager();
  TFontManager(const TFontManager&) = delete;
  TFontManager& operator=(const TFontManager&) = delete;
  ~TFontManager() override;

  // The width of at most Count characters of Text in Font (stopping at a character 0);
  // Widths, when given, receives each character's width. Raises when the font cannot
  // be measured (a handle that is no longer a font, for one).
  int TextExtent(HFONT Font, const char* Text, int* Widths, int Count);
  // The entry of Font, loaded when it is not cached (or no longer matches its handle),
  // moved to the front of the recency order.
  TFontCacheEntry* GetFontEntry(HFONT Font);
  // Moves the entry at Index of the recency order to the front; returns it.
  TFontCacheEntry* MoveToFront(int Index);
  // Loads Font into the least recently used entry. On a failure the entry is left
  // empty and the error raised.
  void LoadIntoLastSlot(HFONT Font);
  // Measures the 256 character widths of Font and, when Metrics is given, its text
  // metrics (see TFontCacheEntry::Metrics); a failure of a call raises when Metrics is
  // given. The answer is whether the calls succeeded. The screen DC keeps its font.
  bool LoadFontWidths(HFONT Font, int* Widths, int* Metrics);

  // The entry at Index of the recency order (0 = most recently used).
  TFontCacheEntry* OrderEntry(int Index) const { return FOrder[Index]; }
  // Whether Font has an entry (without touching the order).
  bool IsCached(HFONT Font) const;

  // The sum of the widths of at most Count characters of Text, stopping at a
  // character 0; Widths, when given, receives each one.
  static int SumWidths(const char* Text, int Count, int* Widths, const int* CharWidths);

 private:
  TFontCacheEntry FCache[FontCacheSize];
  TFontCacheEntry* FOrder[FontCacheSize];
  TScreenDC FScreen;  // the fonts are measured on the screen
  HDC FDC = FScreen.DC();
  char FChars[256];
};

// The instance made when the unit starts.
extern TFontManager* FontManager;

// The width of Text in Font, measured by the global font manager.
int FontTextExtent(HFONT Font, const char* Text, int Count, int* Widths = nullptr);

// Raises Exception with the system's text for GetLastError.
[[noreturn]] void RaiseLastFontError();

// Whether the system measures character widths with GetCharWidth32 (the NT family).
// Tests replace it to reach the cumulative-extent path.
extern bool (*FontManIsWinNT)();

void InitFontMan();
void DoneFontMan();
