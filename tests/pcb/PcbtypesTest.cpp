#include "pcb/Pcbtypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

#include "classlib/StrUtils.h"
#include "tests/support/FuzzSupport.h"

TEST(PcbtypesConversion, RoundsTiesToEvenWithTheDocumentedFactors) {
  // These mils give exact halves once multiplied out as doubles.
  ASSERT_EQ(MilToCoordF(0.00025), 2.5);
  ASSERT_EQ(MilToCoordF(0.00035), 3.5);
  EXPECT_EQ(MilToCoord(0.00025), 2);
  EXPECT_EQ(MilToCoord(0.00035), 4);
  EXPECT_EQ(MilToCoord(-0.00025), -2);
  EXPECT_EQ(MilToCoord(-0.00026), -3);
  EXPECT_EQ(MilToCoord(0.5), 5000);
  // The metric factor, 10000 / 0.0254.
  EXPECT_NEAR(MmToCoordF(1), 393700.78740157480315, 1e-9);
  EXPECT_EQ(MmToCoord(1), 393701);
  EXPECT_EQ(MmToCoord(0.0254), 10000);
  EXPECT_EQ(MmToCoord(-25.4), -10000000);
  EXPECT_DOUBLE_EQ(DegToRad(-180), -3.14159265358979323846);
}

TEST(PcbtypesConversion, LengthsBeyondTheCoordinateRangeSaturate) {
  EXPECT_EQ(MilToCoord(214748.3646), 2147483646);
  EXPECT_EQ(MilToCoord(214748.36475), INT32_MAX);  // would round up past the range
  EXPECT_EQ(MmToCoord(6000), INT32_MAX);
  EXPECT_EQ(MmToCoord(-std::numeric_limits<double>::infinity()), INT32_MIN);
  EXPECT_EQ(MilToCoord(std::numeric_limits<double>::quiet_NaN()), 0);
}

struct ParseCase {
  const char* Text;
  TUnit Start;
  TCoord Value;
  TUnit Unit;
};

TEST(PcbtypesParse, ReadsNumberAndUnit) {
  const ParseCase Cases[] = {
      {"10mil", eMetric, 100000, eImperial},
      {"0.254 mm", eImperial, 100000, eMetric},
      {"-5mil", eMetric, -50000, eImperial},
      {"1 0 m i l", eMetric, 100000, eImperial},
      {"5MMIL", eImperial, 1968504, eMetric},  // "MM" is looked for first
      {"2mil 3mm", eImperial, 787402, eMetric},
      {"1e3MiL", eMetric, 10000000, eImperial},
      {"25", eImperial, 250000, eImperial},  // no suffix: the current unit
      {"25", eMetric, 9842520, eMetric},
      // Empty or starting with a letter: 0 and the unit untouched.
      {"", eMetric, 0, eMetric},
      {"mm5", eImperial, 0, eImperial},
      // No number or trailing rubbish: the leading number, else 0.
      {"-mm", eImperial, 0, eMetric},
      {"#5mil", eMetric, 0, eImperial},
      {"1.2.3mil", eMetric, 12000, eImperial},
      {"4e+mil", eMetric, 40000, eImperial},
      // Out of the coordinate range either way: 0 and the unit untouched.
      {"99999999mil", eMetric, 0, eMetric},
      {"1e999", eImperial, 0, eImperial},
      {"-1e99999999999999999999mm", eImperial, 0, eImperial},
      {"214748.3647mil", eMetric, INT32_MAX, eImperial},
      {"1e-400mil", eMetric, 0, eImperial},
      {"0.000000000000000000000000000000000000001e38mil", eMetric, 1000, eImperial},
  };
  for (const ParseCase& C : Cases) {
    TCoord Value = 12345;
    TUnit Unit = C.Start;
    StrToCoord(C.Text, Value, Unit);
    EXPECT_EQ(Value, C.Value) << '"' << C.Text << '"';
    EXPECT_EQ(Unit, C.Unit) << '"' << C.Text << '"';
  }
  TCoord Value;
  TUnit Unit = eMetric;
  StrToCoord("1" + AnsiString(250, '0') + "mil", Value, Unit);
  EXPECT_EQ(Value, 0);
  EXPECT_EQ(Unit, eMetric);
}

// Mutated lengths: reading never raises and leaves nothing allocated, the unit is one
// of the two, and neither blanks nor the letter case of the text change the result.
TEST(PcbtypesParse, MutatedLengthsReadSoundly) {
  fuzz::TMutator Mutator(
      {"10mil", "0.254 mm", "-5mil", "1 0 m i l", "5MMIL", "2mil 3mm", "1e3MiL", "25",
       "-mm", "1.2.3mil", "4e+mil", "99999999mil", "-1e99999999999999999999mm",
       "214748.3647mil", "1e-400mil", "+.5E-2 mm", "0.000000000000000000001e20",
       "1" + std::string(240, '0') + "mil"},
      0x434F4F52u, {"mm", "MIL", "e", "E-", "+", "-", ".", "00000000"}, 300);
  auto Read = [](const AnsiString& Text, TUnit Start, TCoord& Value, TUnit& Unit) {
    Value = 12345;
    Unit = Start;
    StrToCoord(Text, Value, Unit);
  };
  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  for (int Case = 0; Case < 4000; ++Case) {
    const std::string Text = Mutator.Next();
    const TUnit Start = Case % 2 ? eMetric : eImperial;
    Findings.Check(Text, Counter, [&]() -> const char* {
      TCoord Value, Other;
      TUnit Unit, OtherUnit;
      Read(Text, Start, Value, Unit);
      if (Unit != eMetric && Unit != eImperial) return "an unknown unit";
      if (Text.size() > 255) return nullptr;
      // The same text without blanks, and in upper case (as far as it is kept).
      AnsiString Packed = Text, Upper = Text;
      std::erase(Packed, ' ');
      for (char& C : Upper)
        if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
      Read(Packed, Start, Other, OtherUnit);
      if (Other != Value || OtherUnit != Unit) return "blanks changing the result";
      Read(Upper, Start, Other, OtherUnit);
      if (Other != Value || OtherUnit != Unit) return "letter case changing the result";
      return nullptr;
    });
  }
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
}

TEST(PcbtypesParse, SuffixParserCutsAndUpperCasesInPlace) {
  PcbString Text = "12.5 mm and more";
  EXPECT_TRUE(ParseUnitSuffix(Text, eImperial));
  EXPECT_EQ(Text.ToString(), "12.5 ");
  Text = "7 units";
  EXPECT_FALSE(ParseUnitSuffix(Text, eImperial));
  EXPECT_EQ(Text.ToString(), "7 UNITS");
}

TEST(PcbtypesNames, EveryLayerRoundTripsThroughItsDisplayName) {
  std::set<AnsiString> Identifiers, Names;
  for (int L = 0; L < LayerCount; ++L) {
    AnsiString Identifier = LayerIdentifiers[L], Name = LayerToDisplayName(TLayer(L));
    Identifiers.insert(Identifier);
    Names.insert(Name);
    EXPECT_EQ(DisplayNameToLayer(Name), L) << Name;
    EXPECT_EQ(DisplayNameToLayer(LowerCase(Name)), L) << Name;
    EXPECT_EQ(DisplayNameToLayer(Identifier), 0) << Identifier;
  }
  EXPECT_EQ(Identifiers.size(), size_t(LayerCount));
  EXPECT_EQ(Names.size(), size_t(LayerCount));
  EXPECT_EQ(LayerIdentifiers[MaxLayer].ToString(), "ViaHoleLayer");
}

TEST(PcbtypesNames, LookUpIsWholeAndExact) {
  EXPECT_EQ(LayerToDisplayName(76).ToString(), "BackGround");
  EXPECT_EQ(DisplayNameToLayer("Top Solder"), 0);
  EXPECT_EQ(DisplayNameToLayer(" Top Layer"), 0);
  EXPECT_EQ(LayerToDisplayName(83).Length, 0);
  EXPECT_EQ(UnitName(eMetric).ToString(), "Metric (mm)");
  EXPECT_EQ(UnitName(eImperial).ToString(), "Imperial (mil)");
  EXPECT_EQ(UnitName(static_cast<TUnit>(2)).Length, 0);
}

TEST(PcbtypesLayerSet, BitNIsInByteNDiv8) {
  TLayerSet Set{0, 9, 82, 87};
  const Byte Expected[11] = {0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0x84};
  for (int I = 0; I < 11; ++I) EXPECT_EQ(Set.Bits[I], Expected[I]) << I;
  EXPECT_TRUE(Set.Contains(82));
  Set.Exclude(82);
  EXPECT_EQ(Set, (TLayerSet{0, 9, 87}));
  // Layers past the last bit are never members and never touch memory.
  TLayerSet Empty;
  Empty.Include(88);
  Empty.Include(255);
  EXPECT_EQ(Empty, TLayerSet());
  EXPECT_FALSE(Empty.Contains(255));
}

TEST(PcbtypesString, LengthPrefixedAndCutAtCapacity) {
  PcbStringOf<20> Short = AnsiString("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(reinterpret_cast<const Byte*>(&Short)[0], 20);
  EXPECT_EQ(Short.ToString(), "abcdefghijklmnopqrst");
  PcbString Full = AnsiString(300, 'x');
  EXPECT_EQ(Full.ToString(), AnsiString(255, 'x'));
  Full = "ab";  // bytes past the length are cleared
  EXPECT_EQ(Full.Length, 2);
  for (int I = 2; I < 255; ++I) ASSERT_EQ(Full.Chars[I], '\0') << I;
  PcbStringOf<3> Tiny = PcbString(AnsiString("a\0bc", 4));
  EXPECT_EQ(Tiny.ToString(), AnsiString("a\0b", 3));
}
