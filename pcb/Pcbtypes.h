// Host coordinates, length units, the editor's length-prefixed strings and the two
// layer vocabularies (identifiers and display names).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "classlib/SysTypes.h"

// A host coordinate: signed 32-bit, one unit = 1/10000 mil.
using TCoord = Integer;

// The unit the wizard shows and stores lengths in.
enum TUnit : Byte { eMetric = 0, eImperial = 1 };

// A layer number 0..82; 0 means no layer or any layer.
using TLayer = Byte;
inline constexpr TLayer NoLayer = 0;
inline constexpr TLayer MaxLayer = 82;
inline constexpr int LayerCount = MaxLayer + 1;

// A set of layers in the editor's layout: 11 bytes, layer n is bit n mod 8 of byte
// n div 8. Layers past the last bit (87) are never members.
struct TLayerSet {
  static constexpr int ByteCount = 11;
  Byte Bits[ByteCount] = {};

  constexpr TLayerSet() = default;
  constexpr TLayerSet(std::initializer_list<TLayer> Layers) {
    for (TLayer L : Layers) Include(L);
  }

  constexpr bool Contains(TLayer L) const {
    return L < ByteCount * 8 && (Bits[L / 8] & (1u << (L % 8))) != 0;
  }
  constexpr void Include(TLayer L) {
    if (L < ByteCount * 8) Bits[L / 8] = Byte(Bits[L / 8] | (1u << (L % 8)));
  }
  constexpr void Exclude(TLayer L) {
    if (L < ByteCount * 8) Bits[L / 8] = Byte(Bits[L / 8] & ~(1u << (L % 8)));
  }

  friend constexpr bool operator==(const TLayerSet&, const TLayerSet&) = default;
};
static_assert(sizeof(TLayerSet) == 11, "TLayerSet must match the editor's 11-byte set");

// The union of two layer sets.
constexpr TLayerSet operator+(const TLayerSet& A, const TLayerSet& B) {
  TLayerSet Result;
  for (int I = 0; I < TLayerSet::ByteCount; ++I) Result.Bits[I] = Byte(A.Bits[I] | B.Bits[I]);
  return Result;
}

// The layers First..Last as a set.
constexpr TLayerSet LayerRange(TLayer First, TLayer Last) {
  TLayerSet Result;
  for (int L = First; L <= Last; ++L) Result.Include(TLayer(L));
  return Result;
}

// The editor's length-prefixed string: one length byte, then up to Capacity
// characters. Longer texts are cut at Capacity; bytes past the length are zero.
template <std::size_t Capacity>
struct PcbStringOf {
  static_assert(Capacity >= 1 && Capacity <= 255, "a length byte counts up to 255");

  Byte Length = 0;
  char Chars[Capacity] = {};

  constexpr PcbStringOf() = default;
  constexpr PcbStringOf(const char* S) { Assign(S, std::char_traits<char>::length(S)); }
  PcbStringOf(const AnsiString& S) { Assign(S.data(), S.size()); }
  template <std::size_t Other>
  constexpr PcbStringOf(const PcbStringOf<Other>& S) {
    Assign(S.Chars, S.Length);
  }

  constexpr void Assign(const char* S, std::size_t Count) {
    if (Count > Capacity) Count = Capacity;
    for (std::size_t I = 0; I < Capacity; ++I) Chars[I] = I < Count ? S[I] : '\0';
    Length = Byte(Count);
  }

  AnsiString ToString() const { return AnsiString(Chars, Length); }
  operator AnsiString() const { return ToString(); }

  // Equal texts, whatever lies past the length.
  friend constexpr bool operator==(const PcbStringOf& A, const PcbStringOf& B) {
    if (A.Length != B.Length) return false;
    for (std::size_t I = 0; I < A.Length; ++I)
      if (A.Chars[I] != B.Chars[I]) return false;
    return true;
  }
};

// The full-size string that every text exchanged with the editor uses (256 bytes).
using PcbString = PcbStringOf<255>;
static_assert(sizeof(PcbString) == 256 && sizeof(PcbStringOf<20>) == 21,
              "PcbString is a length byte followed by its characters");

// The identifier of each layer number ("NoLayer", "TopLayer", ..., "ViaHoleLayer").
extern const PcbStringOf<20> LayerIdentifiers[LayerCount];

// Degrees to radians.
double DegToRad(double Degrees);
// Mils and millimetres to host units, unrounded.
double MilToCoordF(double Mils);
double MmToCoordF(double Millimetres);
// The same, rounded to the nearest coordinate (ties to even). A value beyond the
// 32-bit range gives the nearest end of the range; NaN gives 0.
TCoord MilToCoord(double Mils);
TCoord MmToCoord(double Millimetres);

// Upper-cases Text (ASCII letters) and cuts it before a unit suffix: before the first
// "MM" (true: metric), else before the first "MIL" (false). Without a suffix the
// result is CurrentUnit == eMetric.
bool ParseUnitSuffix(PcbString& Text, TUnit CurrentUnit);

// Reads a typed length, a number with an optional "mm" or "mil" suffix, blanks
// anywhere. A text that is empty or starts with a letter gives Value 0 and leaves
// Unit; otherwise Unit becomes the unit the number was read in. The number is the
// longest leading decimal number (sign, digits, fraction, exponent), 0 when there
// is none. A length outside the coordinate range gives Value 0 and leaves Unit, as a
// text that starts with a letter does.
void StrToCoord(const PcbString& Text, TCoord& Value, TUnit& Unit);

// "Metric (mm)", "Imperial (mil)", or empty for any other value.
PcbString UnitName(TUnit Unit);

// The name a layer is shown with; empty past the last layer.
PcbString LayerToDisplayName(TLayer Layer);
// The layer whose display name equals Name, ignoring ASCII case, without trimming;
// 0 when none does ("Any Layer" is 0 as well).
TLayer DisplayNameToLayer(const PcbString& Name);
