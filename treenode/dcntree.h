// Plain routines that the tree node and its owning tree control share: a small cache
// of font heights, word wrapping and the height of wrapped text, the check-box glyph
// size, sibling-chain linking, the order of two siblings, rectangle centring and
// vertical overlap tests, and class registration for streaming.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "classlib/Types.h"

class TDCTreeNode;

// ---------------------------------------------------------------------------------
// Font heights.

inline constexpr int FontHeightCacheSize = 20;

// Fonts with equal handles and colours; both must be assigned.
bool SameFont(TFont* A, TFont* B);

// The heights of the last fonts asked for, at most 20, each with a private copy of its
// font and a use count. Made when the unit starts.
class TFontHeightCache : public TObject {
  TCLASS_DECL(TFontHeightCache, TObject)
 public:
  TFontHeightCache() = default;
  TFontHeightCache(const TFontHeightCache&) = delete;
  TFontHeightCache& operator=(const TFontHeightCache&) = delete;
  ~TFontHeightCache() override;

  // The cached height of a font equal to Font (its use count goes up), or -1.
  int FindCachedFontHeight(TFont* Font);
  // The index of the entry with the smallest use count (the first one on ties), or -1.
  int LeastUsedFontEntry() const;
  // The height of Font: cached, or measured on the screen (tmHeight rounded up to
  // even) into a new entry, or into the least used one when 20 are kept.
  int GetFontHeight(TFont* Font);

  int Count() const { return FCount; }
  int UseCount(int Index) const { return FEntries[Index].UseCount; }
  TFont* EntryFont(int Index) const { return FEntries[Index].Font; }

 private:
  struct TEntry {
    int UseCount = 0;
    TFont* Font = nullptr;
    int Height = 0;
  };
  TEntry FEntries[FontHeightCacheSize];
  int FCount = 0;
};

extern TFontHeightCache* FontHeights;
int GetFontHeight(TFont* Font);

// ---------------------------------------------------------------------------------
// Text.

// Finds the end of the line of Text that fits in Width on the canvas's font. A leading
// blank is skipped: the answer is where the line starts, EndPos where it ends (on a
// character 0, LF or CR, on the blank where it wraps, after the last blank of the line,
// or inside a word longer than the line). A line takes at least one character.
const char* FindWrapPos(TCanvas* Canvas, const char* Text, const char*& EndPos, int Overhang,
                        int Width);
// The height of Text word-wrapped to Width: tmHeight per line. LF, CR LF and a lone CR
// each end one line.
int WrappedTextHeight(TCanvas* Canvas, const char* Text, int Width);
// tmHeight for no text; with WordWrap the wrapped height, else what DrawText measures.
int NodeTextHeight(TCanvas* Canvas, const AnsiString& Text, int Width, bool WordWrap);

// ---------------------------------------------------------------------------------
// Check-box glyphs: a quarter of the width and a third of the height of the system's
// check-box bitmap, measured on first use.

int CheckBoxWidth();
int CheckBoxHeight();

// ---------------------------------------------------------------------------------
// Geometry.

// (A + B) div 2, truncated toward zero.
int MidValue(int A, int B);
void CenterRectHorizontally(TRect& R, const TRect& Outer);
void CenterRectVertically(TRect& R, const TRect& Outer);
void CenterRect(TRect& R, const TRect& Outer);
// A.top within [B.top, B.bottom).
bool RectTopInside(const TRect& A, const TRect& B);
// Either top within the other.
bool RectsOverlapVertically(const TRect& A, const TRect& B);
// A.top within [B.top, B.bottom) and A.bottom <= B.bottom.
bool RectInsideVertically(const TRect& A, const TRect& B);

// ---------------------------------------------------------------------------------
// Sibling chains.

void AppendNode(TDCTreeNode* Holder, TDCTreeNode* Node);
void PrependNode(TDCTreeNode* Holder, TDCTreeNode* Node);
void InsertNodeBefore(TDCTreeNode* Target, TDCTreeNode* Node);
void UnlinkNode(TDCTreeNode* Node);
// -1 when A comes before B in their sibling chain, 1 after, 0 for the same node.
int CompareNodePositions(TDCTreeNode* A, TDCTreeNode* B);

[[noreturn]] void RaiseInvalidOperation(const AnsiString& Message);

// Registers the class for streaming unless a class of that name is registered; true
// when it did.
bool RegisterClassOnce(TClass AClass);

void InitDcntree();
void DoneDcntree();
