#include "pcb/Pcbtypes.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "classlib/FloatConv.h"
#include "classlib/StrUtils.h"

constexpr PcbStringOf<20> LayerIdentifiers[LayerCount] = {
    "NoLayer",        "TopLayer",        "MidLayer1",       "MidLayer2",
    "MidLayer3",      "MidLayer4",       "MidLayer5",       "MidLayer6",
    "MidLayer7",      "MidLayer8",       "MidLayer9",       "MidLayer10",
    "MidLayer11",     "MidLayer12",      "MidLayer13",      "MidLayer14",
    "MidLayer15",     "MidLayer16",      "MidLayer17",      "MidLayer18",
    "MidLayer19",     "MidLayer20",      "MidLayer21",      "MidLayer22",
    "MidLayer23",     "MidLayer24",      "MidLayer25",      "MidLayer26",
    "MidLayer27",     "MidLayer28",      "MidLayer29",      "MidLayer30",
    "BottomLayer",    "TopOverlay",      "BottomOverlay",   "TopPaste",
    "BottomPaste",    "TopSolder",       "BottomSolder",    "InternalPlane1",
    "InternalPlane2", "InternalPlane3",  "InternalPlane4",  "InternalPlane5",
    "InternalPlane6", "InternalPlane7",  "InternalPlane8",  "InternalPlane9",
    "InternalPlane10", "InternalPlane11", "InternalPlane12", "InternalPlane13",
    "InternalPlane14", "InternalPlane15", "InternalPlane16", "DrillGuide",
    "KeepOutLayer",   "Mechanical1",     "Mechanical2",     "Mechanical3",
    "Mechanical4",    "Mechanical5",     "Mechanical6",     "Mechanical7",
    "Mechanical8",    "Mechanical9",     "Mechanical10",    "Mechanical11",
    "Mechanical12",   "Mechanical13",    "Mechanical14",    "Mechanical15",
    "Mechanical16",   "DrillDrawing",    "MultiLayer",      "ConnectLayer",
    "BackGroundLayer", "DRCErrorLayer",  "HighlightLayer",  "GridColor1",
    "GridColor10",    "PadHoleLayer",    "ViaHoleLayer",
};

// No identifier fills its 20-character slot, so a full slot would mean one was cut.
consteval bool IdentifiersFit() {
  for (const PcbStringOf<20>& S : LayerIdentifiers)
    if (S.Length >= 20) return false;
  return true;
}
static_assert(IdentifiersFit());

namespace {

constexpr const char* DisplayNames[LayerCount] = {
    "Any Layer",          "Top Layer",          "Mid Layer 1",        "Mid Layer 2",
    "Mid Layer 3",        "Mid Layer 4",        "Mid Layer 5",        "Mid Layer 6",
    "Mid Layer 7",        "Mid Layer 8",        "Mid Layer 9",        "Mid Layer 10",
    "Mid Layer 11",       "Mid Layer 12",       "Mid Layer 13",       "Mid Layer 14",
    "Mid Layer 15",       "Mid Layer 16",       "Mid Layer 17",       "Mid Layer 18",
    "Mid Layer 19",       "Mid Layer 20",       "Mid Layer 21",       "Mid Layer 22",
    "Mid Layer 23",       "Mid Layer 24",       "Mid Layer 25",       "Mid Layer 26",
    "Mid Layer 27",       "Mid Layer 28",       "Mid Layer 29",       "Mid Layer 30",
    "Bottom Layer",       "Top Overlay",        "Bottom Overlay",     "Top Paste",
    "Bottom Paste",       "Top Solder Mask",    "Bottom Solder Mask", "Internal Plane 1",
    "Internal Plane 2",   "Internal Plane 3",   "Internal Plane 4",   "Internal Plane 5",
    "Internal Plane 6",   "Internal Plane 7",   "Internal Plane 8",   "Internal Plane 9",
    "Internal Plane 10",  "Internal Plane 11",  "Internal Plane 12",  "Internal Plane 13",
    "Internal Plane 14",  "Internal Plane 15",  "Internal Plane 16",  "Drill Guide",
    "Keep Out Layer",     "Mechanical Layer 1", "Mechanical Layer 2", "Mechanical Layer 3",
    "Mechanical Layer 4", "Mechanical Layer 5", "Mechanical Layer 6", "Mechanical Layer 7",
    "Mechanical Layer 8", "Mechanical Layer 9", "Mechanical Layer 10", "Mechanical Layer 11",
    "Mechanical Layer 12", "Mechanical Layer 13", "Mechanical Layer 14",
    "Mechanical Layer 15", "Mechanical Layer 16", "Drill Drawing", "Multi Layer",
    "Connect Layer",      "BackGround",         "DRC Errors",         "Highlight Layer",
    "Grid Color 1",       "Grid Color 10",      "Pad Hole Layer",     "Via Hole Layer",
};

// x87 code may keep a value in an 80-bit register; a store to a double in memory
// rounds it once to a true double, so results do not depend on inlining.
double StoreDouble(long double X) {
  volatile double D = static_cast<double>(X);
  return D;
}

// Rounds to the nearest integer, ties to even, and keeps the result in range.
TCoord RoundToCoord(double X) {
  if (std::isnan(X)) return 0;
  if (X >= 2147483647.0) return INT32_MAX;
  if (X <= -2147483648.0) return INT32_MIN;
  double Floor = std::floor(X);
  double Fraction = X - Floor;  // exact for values of this size
  Int64 N = static_cast<Int64>(Floor);
  if (Fraction > 0.5 || (Fraction == 0.5 && (N & 1) != 0)) ++N;
  return static_cast<TCoord>(N);
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// The longest leading decimal number of S (optional sign, digits, optional "." and
// fraction, optional exponent); 0 when S does not start with one. A number far past
// the coordinate range reads as infinity, one far below a unit as 0, so that the
// float conversion never runs out of range.
double ReadLeadingNumber(const AnsiString& S) {
  std::size_t I = 0, N = S.size();
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';

  // The magnitude: the power of ten just above the first nonzero digit.
  int IntDigits = 0, LeadingFractionZeros = 0;
  bool NonZero = false, Digits = false;
  while (I < N && IsDigit(S[I])) {
    Digits = true;
    if (S[I] != '0') NonZero = true;
    if (NonZero) ++IntDigits;
    ++I;
  }
  if (I < N && S[I] == '.') {
    ++I;
    while (I < N && IsDigit(S[I])) {
      Digits = true;
      if (S[I] != '0') NonZero = true;
      if (!NonZero) ++LeadingFractionZeros;
      ++I;
    }
  }
  if (!Digits) return 0;

  long Exponent = 0;
  if (I < N && (S[I] == 'E' || S[I] == 'e')) {
    std::size_t J = I + 1;
    bool NegativeExponent = false;
    if (J < N && (S[J] == '+' || S[J] == '-')) NegativeExponent = S[J++] == '-';
    if (J < N && IsDigit(S[J])) {
      while (J < N && IsDigit(S[J])) {
        if (Exponent < 100000) Exponent = Exponent * 10 + (S[J] - '0');
        ++J;
      }
      if (NegativeExponent) Exponent = -Exponent;
      I = J;
    }
  }
  if (!NonZero) return 0;

  long Magnitude = (IntDigits > 0 ? IntDigits : -LeadingFractionZeros) + Exponent;
  if (Magnitude > 30) return Negative ? -HUGE_VAL : HUGE_VAL;
  if (Magnitude < -30) return 0;

  TFormatSettings Point;
  Point.DecimalSeparator = '.';
  AnsiString Number = S.substr(0, I);
  double Value = 0;
  if (!TryStrToFloat(Number, Value, Point)) Value = 0;
  return Value;
}

}  // namespace

double DegToRad(double Degrees) {
  return StoreDouble(Degrees * 0.017453292519943295769236907684886L);
}

double MilToCoordF(double Mils) { return StoreDouble(Mils * 10000.0L); }

// 1 mm = 10000 / 0.0254 host units.
double MmToCoordF(double Millimetres) { return StoreDouble(Millimetres * 10000.0L / 0.0254L); }

TCoord MilToCoord(double Mils) { return RoundToCoord(MilToCoordF(Mils)); }

TCoord MmToCoord(double Millimetres) { return RoundToCoord(MmToCoordF(Millimetres)); }

bool ParseUnitSuffix(PcbString& Text, TUnit CurrentUnit) {
  AnsiString S = UpperCase(Text.ToString());
  bool Metric;
  if (int P = Pos("MM", S); P > 0) {
    S.resize(P - 1);
    Metric = true;
  } else if (int P = Pos("MIL", S); P > 0) {
    S.resize(P - 1);
    Metric = false;
  } else {
    Metric = CurrentUnit == eMetric;
  }
  Text = S;
  return Metric;
}

void StrToCoord(const PcbString& Text, TCoord& Value, TUnit& Unit) {
  Value = 0;
  AnsiString S = Text.ToString();
  std::erase(S, ' ');
  if (S.empty() || (S[0] >= 'A' && S[0] <= 'Z') || (S[0] >= 'a' && S[0] <= 'z')) return;

  PcbString Number = S;
  bool Metric = ParseUnitSuffix(Number, Unit);
  double Length = ReadLeadingNumber(Number.ToString());
  double Coord = Metric ? MmToCoordF(Length) : MilToCoordF(Length);
  // A length that no coordinate can hold is refused like a text that is no length.
  if (!(Coord > -2147483648.5 && Coord < 2147483647.5)) return;
  Value = RoundToCoord(Coord);
  Unit = Metric ? eMetric : eImperial;
}

PcbString UnitName(TUnit Unit) {
  switch (Unit) {
    case eMetric: return "Metric (mm)";
    case eImperial: return "Imperial (mil)";
  }
  return PcbString();
}

PcbString LayerToDisplayName(TLayer Layer) {
  return Layer < LayerCount ? PcbString(DisplayNames[Layer]) : PcbString();
}

TLayer DisplayNameToLayer(const PcbString& Name) {
  AnsiString Upper = UpperCase(Name.ToString());
  for (TLayer L = 1; L <= MaxLayer; ++L)
    if (Upper == UpperCase(DisplayNames[L])) return L;
  return NoLayer;
}
