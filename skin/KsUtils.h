// Small utilities shared by the whole kit: rectangle helpers, nested mouse capture,
// painting a parent's background under a control, keyboard-repeat timing, the natural
// string order, the enabled test along a parent chain, and the two-colour gradient
// painted into a device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/SysTypes.h"
#include "classlib/Types.h"

class TControl;

// ---------------------------------------------------------------------------------
// Rectangles

inline int RectWidth(const TRect& R) { return R.right - R.left; }
inline int RectHeight(const TRect& R) { return R.bottom - R.top; }
// R moved so that it is centred in Bounds (halves truncate toward zero).
TRect CenterRect(const TRect& R, const TRect& Bounds);
// R moved to Bounds' left edge and centred vertically in it.
TRect CenterRectVert(const TRect& R, const TRect& Bounds);
// Every side moved outwards by Amount.
inline TRect GrowRect(const TRect& R, int Amount) {
  return TRect{R.left - Amount, R.top - Amount, R.right + Amount, R.bottom + Amount};
}
inline bool IsEmptyRect(const TRect& R) { return RectWidth(R) < 1 || RectHeight(R) < 1; }
inline bool SameRect(const TRect& A, const TRect& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// ---------------------------------------------------------------------------------
// Nested mouse capture: the outermost Begin captures the mouse for Window; the
// matching End releases it, but only while Window still holds it.

void BeginNestedCapture(HWND Window);
void EndNestedCapture();
int NestedCaptureDepth();

// ---------------------------------------------------------------------------------
// The parent's background under Control, painted into DC (whose origin is the
// control's client origin): the parent receives WM_ERASEBKGND with lParam 12, the
// kit's request to paint into a given DC. Nothing without a parent; DrawParentImage
// also does nothing while the parent has no window, DrawParentImageAlways makes it.

void DrawParentImage(TControl* Control, HDC DC);
void DrawParentImageAlways(TControl* Control, HDC DC);

// ---------------------------------------------------------------------------------
// Keyboard repeat, from the system's settings, in milliseconds.

int KeyRepeatDelay();
int KeyRepeatInterval();

// ---------------------------------------------------------------------------------
// The natural order: runs of digits compare by their value, so "Item2" comes before
// "Item10"; letters compare without case, spaces count only between strings that
// both hold a digit. -1, 0 or 1.
//
// It is not a strict weak ordering (equality is not transitive, and strings with and
// without digits are compared by different rules), so it must never be handed to
// std::sort; sort with a merge sort (MergeSort of classlib/Lists.h, or SortNatural).
int CompareNatural(const AnsiString& S1, const AnsiString& S2);
// A stable merge sort of the strings by CompareNatural.
void SortNatural(std::vector<AnsiString>& Strings);

// A string cut into its runs once, for a sort that compares it many times: comparing
// two keys answers what CompareNatural answers for their two strings. A key of a short
// string takes no memory of its own beyond the string.
class TNaturalKey {
 public:
  TNaturalKey() = default;
  explicit TNaturalKey(AnsiString S);
  // Cuts S in place of the key held, keeping the memory it has.
  void Assign(const char* S, std::size_t Size);
  void Assign(const AnsiString& S) { Assign(S.data(), S.size()); }

  const AnsiString& Text() const { return FText; }
  bool HasDigit() const { return FHasDigit; }
  friend int CompareNatural(const TNaturalKey& A, const TNaturalKey& B);
  friend struct TNaturalPrefixPlan;

 private:
  // A run of the text without blanks: of digits (only its significant ones, from the
  // first digit that is not 0) or of other characters; Start counts in Runs().
  struct TRun {
    std::uint32_t Start;
    std::uint32_t Length;
    bool Digits;
  };
  const TRun& Run(std::size_t I) const { return I < InlineRuns ? FInline[I] : FMore[I - InlineRuns]; }
  // The characters the runs lie in.
  const char* Runs() const { return FPacked.empty() ? FText.data() : FPacked.data(); }
  // The runs of FText, which is set and whose runs are not cut yet.
  void Cut();
  // False when a blank falls inside a run of P.
  bool CutRuns(const char* P, std::size_t Size);
  static int CompareRuns(const TNaturalKey& A, const TRun& RA, const TNaturalKey& B,
                         const TRun& RB);

  static constexpr std::size_t InlineRuns = 4;
  AnsiString FText;
  AnsiString FPacked;  // the text without blanks, when a blank falls inside a run
  bool FHasDigit = false;
  std::size_t FRunCount = 0;
  TRun FInline[InlineRuns];
  std::vector<TRun> FMore;
};

// A sort prefix for a set of keys: a number per key such that, for any two keys of the
// set whose prefixes differ, CompareNatural answers as the prefixes compare. The plan
// looks at the whole set: every key must hold a digit (so that every pair is compared
// by runs), the keys must share their first Run runs byte for byte, and run Run must be
// of one kind in every key that has it: numbers of at most nine significant digits, or
// runs of other characters (of which the first four count, without case). A key without
// run Run gets 0, which orders first, as CompareNatural orders a string used up. Equal
// prefixes decide nothing, unless the plan is Exact: numbers, and no key with a run
// after run Run.
struct TNaturalPrefixPlan {
  bool Usable = false;
  bool Exact = false;
  std::size_t Run = 0;

  // The plan for Count keys (each given by its address).
  static TNaturalPrefixPlan For(const TNaturalKey* const* Keys, std::size_t Count);
  // Key's prefix under a usable plan made for a set that holds it.
  std::uint32_t Prefix(const TNaturalKey& Key) const;

 private:
  // How many of the first Limit runs of A B has alike: of one kind, length and bytes.
  static std::size_t CommonRuns(const TNaturalKey& A, const TNaturalKey& B, std::size_t Limit);
};

// False for null; otherwise whether the control and every parent up to the top are
// enabled.
bool IsEnabledChain(TControl* Control);

// ---------------------------------------------------------------------------------
// Two-colour linear gradient in a DC: left to right when Horizontal, else top to
// bottom; system colours are resolved. FillGradient is the system's GradientFill when
// msimg32 offers it (chosen when the unit starts), else the pixel-by-pixel fallback.

using TFillGradientProc = void (*)(HDC DC, const TRect& R, TColor FromColor, TColor ToColor,
                                   bool Horizontal);
extern TFillGradientProc FillGradient;
// Through msimg32's GradientFill; the fallback when that is not bound.
void FillGradientSystem(HDC DC, const TRect& R, TColor FromColor, TColor ToColor,
                        bool Horizontal);
// SetPixel along the first row (column), which is then copied over the rest. A
// rectangle one pixel wide (high) takes the start colour.
void FillGradientFallback(HDC DC, const TRect& R, TColor FromColor, TColor ToColor,
                          bool Horizontal);

// The unit's start (binds GradientFill) and end (frees msimg32).
void InitKsUtils();
void DoneKsUtils();
