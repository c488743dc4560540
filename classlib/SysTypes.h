// Basic types shared by the whole class library and the module.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// 8-bit strings inside the module; zero-terminated char* only at the host boundary.
using AnsiString = std::string;

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Integer = std::int32_t;
using Int64 = std::int64_t;

// Days since 1899-12-30, the time of day as the fraction.
using TDateTime = double;

// A set of up to 32 values of an enumeration, kept as a bit mask:
// TFontStyles{fsBold, fsItalic}, Style.Contains(fsBold), A + B (union), A - B
// (difference), A * B (intersection).
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E Item : Items) Include(Item);
  }

  constexpr bool Contains(E Item) const { return (FBits & Bit(Item)) != 0; }
  constexpr TSet& Include(E Item) {
    FBits |= Bit(Item);
    return *this;
  }
  constexpr TSet& Exclude(E Item) {
    FBits &= ~Bit(Item);
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }

  constexpr Cardinal Bits() const { return FBits; }
  static constexpr TSet FromBits(Cardinal Bits) {
    TSet Result;
    Result.FBits = Bits;
    return Result;
  }

  friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
  friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
  friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Cardinal Bit(E Item) {
    return Cardinal(1) << static_cast<unsigned>(Item);
  }

  Cardinal FBits = 0;
};
