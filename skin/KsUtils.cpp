// Kit utilities.
#include "skin/KsUtils.h"

#include <utility>

#include "classlib/Controls.h"
#include "classlib/GdiScopes.h"
#include "classlib/Lists.h"
#include "classlib/StrUtils.h"
#include "classlib/SystemLibrary.h"
#include "skin/KsBitmap.h"

// ---------------------------------------------------------------------------------
// Rectangles

TRect CenterRect(const TRect& R, const TRect& Bounds) {
  const int Left = Bounds.left + (RectWidth(Bounds) - RectWidth(R)) / 2;
  const int Top = Bounds.top + (RectHeight(Bounds) - RectHeight(R)) / 2;
  return TRect{Left, Top, Left + RectWidth(R), Top + RectHeight(R)};
}

TRect CenterRectVert(const TRect& R, const TRect& Bounds) {
  const int Top = Bounds.top + (RectHeight(Bounds) - RectHeight(R)) / 2;
  return TRect{Bounds.left, Top, Bounds.left + RectWidth(R), Top + RectHeight(R)};
}

// ---------------------------------------------------------------------------------
// Nested capture

namespace {
HWND CaptureWindow = nullptr;
int CaptureDepth = 0;
}  // namespace

void BeginNestedCapture(HWND Window) {
  if (CaptureDepth == 0) {
    CaptureWindow = Window;
    SetCapture(Window);
  }
  ++CaptureDepth;
}

void EndNestedCapture() {
  if (CaptureDepth == 0) return;  // an unmatched end
  if (--CaptureDepth > 0) return;
  if (GetCapture() == CaptureWindow) ReleaseCapture();
  CaptureWindow = nullptr;
}

int NestedCaptureDepth() { return CaptureDepth; }

// ---------------------------------------------------------------------------------
// Parent background

namespace {
void PaintParentBackground(TControl* Control, HDC DC, bool NeedParentHandle) {
  if (!Control) return;
  TWinControl* Parent = Control->Parent();
  if (!Parent) return;
  if (NeedParentHandle && !Parent->HandleAllocated()) return;
  TSavedDC Saved(DC);
  // The parent paints in its own client coordinates: its point under the control's
  // client origin must land on the DC's (0, 0).
  const TPoint Origin = Parent->ScreenToClient(Control->ClientOrigin());
  OffsetWindowOrgEx(DC, Origin.x, Origin.y, nullptr);
  SendMessageA(Parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 12);
}
}  // namespace

void DrawParentImage(TControl* Control, HDC DC) { PaintParentBackground(Control, DC, true); }

void DrawParentImageAlways(TControl* Control, HDC DC) {
  PaintParentBackground(Control, DC, false);
}

// ---------------------------------------------------------------------------------
// Keyboard repeat

int KeyRepeatDelay() {
  int Value = 0;
  SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &Value, 0);
  return (Value + 1) * 200;
}

int KeyRepeatInterval() {
  DWORD Value = 0;
  SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &Value, 0);
  return KsRound(1000.0 / ((static_cast<double>(Value) + 1.0) * 2.3));
}

// ---------------------------------------------------------------------------------
// Natural order

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

bool HasDigit(const AnsiString& S) {
  for (char C : S)
    if (IsDigit(C)) return true;
  return false;
}

int Sign(int V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

char AsciiUpperCase(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

struct TChunk {
  AnsiString Key;
  bool Digits = false;
};

// The key of a digit run: the run with "00000000" in front, of which the last eight
// characters count. A run of more than eight digits is kept whole (without its leading
// zeros, and at least eight long), so that large numbers still compare by value.
AnsiString DigitKey(const AnsiString& Run) {
  if (Run.size() <= 8) return ("00000000" + Run).substr(Run.size());
  const std::size_t FirstSignificant = Run.find_first_not_of('0');
  const AnsiString Value =
      FirstSignificant == AnsiString::npos ? AnsiString() : Run.substr(FirstSignificant);
  return Value.size() <= 8 ? ("00000000" + Value).substr(Value.size()) : Value;
}

// The longest leading run of digits or of non-digits, taken off S at Pos.
TChunk TakeChunk(const AnsiString& S, std::size_t& Pos) {
  TChunk Chunk;
  if (Pos >= S.size()) return Chunk;
  Chunk.Digits = IsDigit(S[Pos]);
  const std::size_t Start = Pos;
  while (Pos < S.size() && IsDigit(S[Pos]) == Chunk.Digits) ++Pos;
  Chunk.Key = S.substr(Start, Pos - Start);
  if (Chunk.Digits) Chunk.Key = DigitKey(Chunk.Key);
  return Chunk;
}

int CompareChunks(const TChunk& A, const TChunk& B) {
  // Two numbers: a longer key (only past eight digits) is the larger number.
  if (A.Digits && B.Digits && A.Key.size() != B.Key.size())
    return A.Key.size() < B.Key.size() ? -1 : 1;
  return Sign(CompareText(A.Key, B.Key));
}

AnsiString WithoutSpaces(const AnsiString& S) {
  AnsiString Result;
  Result.reserve(S.size());
  for (char C : S)
    if (C != ' ') Result += C;
  return Result;
}

}  // namespace

int CompareNatural(const AnsiString& S1, const AnsiString& S2) {
  if (S1 == S2) return 0;
  if (!HasDigit(S1) || !HasDigit(S2)) return Sign(CompareText(S1, S2));
  const AnsiString A = WithoutSpaces(S1);
  const AnsiString B = WithoutSpaces(S2);
  std::size_t PosA = 0, PosB = 0;
  for (;;) {
    const TChunk ChunkA = TakeChunk(A, PosA);
    const TChunk ChunkB = TakeChunk(B, PosB);
    if (ChunkA.Key != ChunkB.Key) return CompareChunks(ChunkA, ChunkB);
    if (ChunkA.Key.empty()) return 0;  // both strings used up
  }
}

TNaturalKey::TNaturalKey(AnsiString S) : FText(std::move(S)) { Cut(); }

void TNaturalKey::Assign(const char* S, std::size_t Size) {
  FText.assign(S, Size);
  FPacked.clear();
  FHasDigit = false;
  FRunCount = 0;
  FMore.clear();
  Cut();
}

void TNaturalKey::Cut() {
  FHasDigit = ::HasDigit(FText);
  if (!FHasDigit) return;
  // The runs lie in the text itself while no blank falls inside a run; blanks between
  // runs (as in "Item 10") are only passed over.
  if (!CutRuns(FText.data(), FText.size())) {
    FPacked = WithoutSpaces(FText);
    FRunCount = 0;
    FMore.clear();
    CutRuns(FPacked.data(), FPacked.size());
  }
}

bool TNaturalKey::CutRuns(const char* P, std::size_t Size) {
  std::size_t Pos = 0;
  while (Pos < Size && P[Pos] == ' ') ++Pos;
  while (Pos < Size) {
    TRun Run{static_cast<std::uint32_t>(Pos), 0, IsDigit(P[Pos])};
    std::size_t End = Pos;
    while (Pos < Size && P[Pos] != ' ' && IsDigit(P[Pos]) == Run.Digits) End = ++Pos;
    // Blanks that follow: the next run must be of the other kind.
    while (Pos < Size && P[Pos] == ' ') ++Pos;
    if (Pos > End && Pos < Size && IsDigit(P[Pos]) == Run.Digits) return false;
    if (Run.Digits)
      while (Run.Start < End && P[Run.Start] == '0') ++Run.Start;
    Run.Length = static_cast<std::uint32_t>(End - Run.Start);
    if (FRunCount < InlineRuns)
      FInline[FRunCount] = Run;
    else
      FMore.push_back(Run);
    ++FRunCount;
  }
  return true;
}

// Two runs whose keys differ, as CompareChunks compares them: a digit run's key is its
// significant digits with "0" in front up to eight characters.
int TNaturalKey::CompareRuns(const TNaturalKey& A, const TRun& RA, const TNaturalKey& B,
                             const TRun& RB) {
  const char* TA = A.Runs() + RA.Start;
  const char* TB = B.Runs() + RB.Start;
  if (RA.Digits && RB.Digits) {
    // A longer number is the larger; numbers of one length compare by their digits.
    if (RA.Length != RB.Length) return RA.Length < RB.Length ? -1 : 1;
    for (std::uint32_t I = 0; I < RA.Length; ++I)
      if (TA[I] != TB[I]) return static_cast<unsigned char>(TA[I]) < static_cast<unsigned char>(TB[I]) ? -1 : 1;
    return 0;
  }
  // Otherwise the sign of the keys' comparison without case (which may be 0).
  const std::size_t PadA = RA.Digits && RA.Length < 8 ? 8 - RA.Length : 0;
  const std::size_t PadB = RB.Digits && RB.Length < 8 ? 8 - RB.Length : 0;
  const std::size_t LengthA = PadA + RA.Length, LengthB = PadB + RB.Length;
  for (std::size_t I = 0; I < LengthA && I < LengthB; ++I) {
    const int CA = static_cast<unsigned char>(AsciiUpperCase(I < PadA ? '0' : TA[I - PadA]));
    const int CB = static_cast<unsigned char>(AsciiUpperCase(I < PadB ? '0' : TB[I - PadB]));
    if (CA != CB) return CA < CB ? -1 : 1;
  }
  return LengthA == LengthB ? 0 : (LengthA < LengthB ? -1 : 1);
}

namespace {

// The same bytes; short runs are compared in place.
bool SameBytes(const char* A, const char* B, std::size_t Count) {
  for (std::size_t I = 0; I < Count; ++I)
    if (A[I] != B[I]) return false;
  return true;
}

// The first place where A and B differ, or their common length when one starts the
// other (Count when both are Count long and the same).
std::size_t FirstDifference(const char* A, std::size_t SizeA, const char* B, std::size_t SizeB) {
  const std::size_t Common = SizeA < SizeB ? SizeA : SizeB;
  std::size_t I = 0;
  while (I < Common && A[I] == B[I]) ++I;
  return I;
}

}  // namespace

int CompareNatural(const TNaturalKey& A, const TNaturalKey& B) {
  const std::size_t SizeA = A.FText.size(), SizeB = B.FText.size();
  const std::size_t Differ = FirstDifference(A.FText.data(), SizeA, B.FText.data(), SizeB);
  if (SizeA == SizeB && Differ == SizeA) return 0;
  if (!A.FHasDigit || !B.FHasDigit) return Sign(CompareText(A.FText, B.FText));
  std::size_t I = 0;
  // With both runs cut from the texts themselves, a run that ends before the first
  // difference was cut alike from the common start, so it is the same in both: the
  // cut decides a run's end by the character at that end, which is common too.
  if (A.FPacked.empty() && B.FPacked.empty())
    while (I < A.FRunCount && I < B.FRunCount) {
      const TNaturalKey::TRun& RA = A.Run(I);
      if (RA.Start + RA.Length >= Differ) break;
      ++I;
    }
  for (;; ++I) {
    const bool HasA = I < A.FRunCount, HasB = I < B.FRunCount;
    // A string used up reads as an empty run, which comes first.
    if (!HasA || !HasB) return HasA == HasB ? 0 : (HasA ? 1 : -1);
    const TNaturalKey::TRun& RA = A.Run(I);
    const TNaturalKey::TRun& RB = B.Run(I);
    const bool SameKey = RA.Digits == RB.Digits && RA.Length == RB.Length &&
                         SameBytes(A.Runs() + RA.Start, B.Runs() + RB.Start, RA.Length);
    if (!SameKey) return TNaturalKey::CompareRuns(A, RA, B, RB);
  }
}

TNaturalPrefixPlan TNaturalPrefixPlan::For(const TNaturalKey* const* Keys, std::size_t Count) {
  TNaturalPrefixPlan Plan;
  if (Count < 2) return Plan;
  for (std::size_t I = 0; I < Count; ++I)
    if (!Keys[I]->FHasDigit) return Plan;
  // The runs every key shares with the first, and so with each other.
  const TNaturalKey& First = *Keys[0];
  std::size_t Shared = First.FRunCount;
  for (std::size_t I = 1; I < Count && Shared > 0; ++I)
    Shared = CommonRuns(First, *Keys[I], Shared);
  // Run Shared: one kind wherever it is; a number short enough for 32 bits with 0 kept
  // for a key without it; other characters without a zero byte among the first four.
  bool SeenDigits = false, SeenOther = false, Longer = false;
  for (std::size_t I = 0; I < Count; ++I) {
    const TNaturalKey& Key = *Keys[I];
    if (Key.FRunCount <= Shared) continue;
    if (Key.FRunCount > Shared + 1) Longer = true;
    const TNaturalKey::TRun& Run = Key.Run(Shared);
    if (Run.Digits) {
      SeenDigits = true;
      if (Run.Length > 9) return Plan;
    } else {
      SeenOther = true;
      const char* P = Key.Runs() + Run.Start;
      for (std::uint32_t C = 0; C < Run.Length && C < 4; ++C)
        if (P[C] == 0) return Plan;
    }
  }
  if (SeenDigits && SeenOther) return Plan;
  Plan.Usable = true;
  Plan.Run = Shared;
  Plan.Exact = !SeenOther && !Longer;
  return Plan;
}

std::uint32_t TNaturalPrefixPlan::Prefix(const TNaturalKey& Key) const {
  if (!Usable || Key.FRunCount <= Run) return 0;
  const TNaturalKey::TRun& R = Key.Run(Run);
  const char* P = Key.Runs() + R.Start;
  std::uint32_t Result = 0;
  if (R.Digits) {
    // At most nine significant digits: the value, one up from the used-up key's 0.
    for (std::uint32_t C = 0; C < R.Length; ++C) Result = Result * 10 + static_cast<std::uint32_t>(P[C] - '0');
    return Result + 1;
  }
  // The first four characters without case, a shorter run padded with 0 (it orders
  // first, as the longer run's key then continues); the first is never 0.
  for (std::uint32_t C = 0; C < 4; ++C)
    Result = Result << 8 | (C < R.Length ? static_cast<unsigned char>(AsciiUpperCase(P[C])) : 0u);
  return Result;
}

std::size_t TNaturalPrefixPlan::CommonRuns(const TNaturalKey& A, const TNaturalKey& B,
                                           std::size_t Limit) {
  std::size_t I = 0;
  for (; I < Limit && I < B.FRunCount; ++I) {
    const TNaturalKey::TRun& RA = A.Run(I);
    const TNaturalKey::TRun& RB = B.Run(I);
    if (RA.Digits != RB.Digits || RA.Length != RB.Length ||
        !SameBytes(A.Runs() + RA.Start, B.Runs() + RB.Start, RA.Length))
      break;
  }
  return I;
}

void SortNatural(std::vector<AnsiString>& Strings) {
  MergeSort(Strings, [](const AnsiString& A, const AnsiString& B) { return CompareNatural(A, B); });
}

bool IsEnabledChain(TControl* Control) {
  if (!Control) return false;
  for (TControl* C = Control; C; C = C->Parent())
    if (!C->Enabled()) return false;
  return true;
}

// ---------------------------------------------------------------------------------
// Gradient fill

namespace {
using TGradientFillFunc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
HMODULE GradientLibrary = nullptr;
TGradientFillFunc GradientFillFunc = nullptr;
}  // namespace

TFillGradientProc FillGradient = FillGradientFallback;

void FillGradientSystem(HDC DC, const TRect& R, TColor FromColor, TColor ToColor,
                        bool Horizontal) {
  if (!GradientFillFunc) {
    FillGradientFallback(DC, R, FromColor, ToColor, Horizontal);
    return;
  }
  const COLORREF From = ColorToRGB(FromColor);
  const COLORREF To = ColorToRGB(ToColor);
  TRIVERTEX Vertices[2] = {
      {R.left, R.top, static_cast<COLOR16>(GetRValue(From) << 8),
       static_cast<COLOR16>(GetGValue(From) << 8), static_cast<COLOR16>(GetBValue(From) << 8), 0},
      {R.right, R.bottom, static_cast<COLOR16>(GetRValue(To) << 8),
       static_cast<COLOR16>(GetGValue(To) << 8), static_cast<COLOR16>(GetBValue(To) << 8), 0}};
  GRADIENT_RECT Mesh{0, 1};
  GradientFillFunc(DC, Vertices, 2, &Mesh, 1,
                   Horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void FillGradientFallback(HDC DC, const TRect& R, TColor FromColor, TColor ToColor,
                          bool Horizontal) {
  const int Width = RectWidth(R), Height = RectHeight(R);
  if (Width < 1 || Height < 1) return;
  const COLORREF From = ColorToRGB(FromColor);
  const COLORREF To = ColorToRGB(ToColor);
  const int N = (Horizontal ? Width : Height) - 1;
  auto Channel = [N](int A, int B, int I) {
    return N == 0 ? A : (A + KsRound(static_cast<double>(B - A) * I / N)) & 0xFF;
  };
  for (int I = 0; I <= N; ++I) {
    const COLORREF Color = RGB(Channel(GetRValue(From), GetRValue(To), I),
                               Channel(GetGValue(From), GetGValue(To), I),
                               Channel(GetBValue(From), GetBValue(To), I));
    if (Horizontal)
      SetPixel(DC, R.left + I, R.top, Color);
    else
      SetPixel(DC, R.left, R.top + I, Color);
  }
  if (Horizontal) {
    for (int Y = R.top + 1; Y < R.bottom; ++Y) BitBlt(DC, R.left, Y, Width, 1, DC, R.left, R.top, SRCCOPY);
  } else {
    for (int X = R.left + 1; X < R.right; ++X) BitBlt(DC, X, R.top, 1, Height, DC, R.left, R.top, SRCCOPY);
  }
}

void InitKsUtils() {
  FillGradient = FillGradientFallback;
  GradientLibrary = LoadSystemLibrary("msimg32.dll");
  if (GradientLibrary) {
    GradientFillFunc = reinterpret_cast<TGradientFillFunc>(
        reinterpret_cast<void*>(GetProcAddress(GradientLibrary, "GradientFill")));
    if (GradientFillFunc) FillGradient = FillGradientSystem;
  }
}

void DoneKsUtils() {
  FillGradient = FillGradientFallback;
  GradientFillFunc = nullptr;
  if (GradientLibrary) FreeLibrary(GradientLibrary);
  GradientLibrary = nullptr;
}
