// Kit utilities: rectangles, nested capture, the parent's background, the natural
// order, the enabled chain and the two gradient fills.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/StrUtils.h"
#include "skin/KsBitmap.h"
#include "skin/KsUtils.h"
#include "tests/skin/BitmapTestSupport.h"
#include "tests/support/FuzzSupport.h"

using namespace skintest;

namespace {

TEST(KsRectTest, CentringTruncatesTowardZero) {
  EXPECT_EQ(CenterRect(TRect{0, 0, 3, 4}, TRect{10, 20, 20, 31}), (TRect{13, 23, 16, 27}));
  // A rectangle larger than its bounds: (10 - 15) / 2 is -2, not -3.
  EXPECT_EQ(CenterRect(TRect{0, 0, 15, 15}, TRect{0, 0, 10, 10}), (TRect{-2, -2, 13, 13}));
  EXPECT_EQ(CenterRectVert(TRect{5, 5, 8, 9}, TRect{10, 20, 20, 31}), (TRect{10, 23, 13, 27}));
  EXPECT_EQ(GrowRect(TRect{5, 6, 7, 8}, 2), (TRect{3, 4, 9, 10}));
  EXPECT_EQ(GrowRect(TRect{5, 6, 7, 8}, -1), (TRect{6, 7, 6, 7}));
  EXPECT_EQ(RectWidth(TRect{5, 6, 2, 9}), -3);
  EXPECT_EQ(RectHeight(TRect{5, 6, 2, 9}), 3);
  EXPECT_TRUE(IsEmptyRect(TRect{0, 0, 0, 5}));
  EXPECT_TRUE(IsEmptyRect(TRect{0, 5, 5, 4}));
  EXPECT_FALSE(IsEmptyRect(TRect{0, 0, 1, 1}));
  EXPECT_TRUE(SameRect(TRect{1, 2, 3, 4}, TRect{1, 2, 3, 4}));
  EXPECT_FALSE(SameRect(TRect{1, 2, 3, 4}, TRect{1, 2, 3, 5}));
}

TEST(KsCaptureTest, OnlyTheOutermostLevelCapturesAndItReleasesOnlyItsOwnCapture) {
  HWND Windows[2];
  for (HWND& W : Windows) W = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  BeginNestedCapture(Windows[0]);
  BeginNestedCapture(Windows[1]);  // nested: the first window keeps the capture
  EXPECT_EQ(GetCapture(), Windows[0]);
  EndNestedCapture();
  EXPECT_EQ(GetCapture(), Windows[0]);
  EndNestedCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EndNestedCapture();  // unmatched: nothing happens
  EXPECT_EQ(NestedCaptureDepth(), 0);
  BeginNestedCapture(Windows[0]);
  SetCapture(Windows[1]);  // another window takes the capture meanwhile
  EndNestedCapture();
  EXPECT_EQ(GetCapture(), Windows[1]);
  ReleaseCapture();
  for (HWND W : Windows) DestroyWindow(W);
}

// A form that answers the kit's paint request by drawing a red square at (12, 23) of
// its client area and remembers the requests.
class TPaintingForm : public TForm {
 public:
  using TForm::TForm;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND && Message.LParam == 12) {
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      HBRUSH Brush = CreateSolidBrush(RGB(255, 0, 0));
      RECT Square{12, 23, 14, 25};
      ::FillRect(DC, &Square, Brush);
      DeleteObject(Brush);
      ++Requests;
      Message.Result = 1;
      return;
    }
    TForm::WndProc(Message);
  }
  int Requests = 0;
};

class KsParentImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = NewObject<TPaintingForm>(nullptr);
    Form->SetBounds(50, 60, 200, 150);
    Child = NewObject<TWinControl>(Form);
    Child->SetParent(Form);
    Child->SetBounds(12, 23, 30, 20);
  }
  void TearDown() override { FreeObject(Form); }
  TPaintingForm* Form = nullptr;
  TWinControl* Child = nullptr;
  TOwned<TKsBitmap> Buffer = MakeBitmap(30, 20, 0);
};

TEST_F(KsParentImageTest, TheParentPaintsUnderTheControlOnceItHasAWindow) {
  DrawParentImage(Child, Buffer->DC());  // no parent window yet: nothing
  EXPECT_EQ(Form->Requests, 0);
  EXPECT_FALSE(Form->HandleAllocated());
  DrawParentImageAlways(Child, Buffer->DC());  // makes it
  Form->Requests = 0;
  Buffer->Fill(0);
  DrawParentImage(Child, Buffer->DC());
  EXPECT_EQ(Form->Requests, 1);
  // The parent's (12, 23) is the control's (0, 0).
  EXPECT_EQ(Buffer->GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(Buffer->GetPixel(1, 1) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(Buffer->GetPixel(2, 0) | Buffer->GetPixel(0, 2), 0u);
  POINT Origin{-1, -1};
  GetWindowOrgEx(Buffer->DC(), &Origin);
  EXPECT_EQ(Origin.x * 1000 + Origin.y, 0);  // the DC is restored
  TOwned<TWinControl> Orphan(NewObject<TWinControl>(nullptr));
  DrawParentImageAlways(Orphan.get(), Buffer->DC());
  DrawParentImage(nullptr, Buffer->DC());
  EXPECT_EQ(Form->Requests, 1);
}

TEST(KsNaturalTest, TheTableOfWorkedComparisonsAndRunsLongerThanEightDigits) {
  const struct {
    const char* A;
    const char* B;
    int Result;
  } Cases[] = {
      {"Item2", "Item10", -1}, {"item10", "ITEM10", 0}, {"Item 10", "Item10", 0},
      {"abc", "abd", -1},      {"a", "ab", -1},         {"x007", "x7", 0},
      {"a1x", "A1y", 0},       {"9a", "10", -1},        {"", "a1", -1},
      {"a b", "ab", -1},       {"a 1", "a1", 0},        {"Item10", "Item9", 1},
      {"same", "same", 0},     {"1x", "x1", -1},        {"a1b2", "a1b10", -1},
      {"a01", "a1b", -1},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(CompareNatural(C.A, C.B), C.Result) << "'" << C.A << "' vs '" << C.B << "'";
    EXPECT_EQ(CompareNatural(C.B, C.A), -C.Result) << "'" << C.B << "' vs '" << C.A << "'";
  }
  // Runs longer than eight digits compare by their whole value.
  EXPECT_EQ(CompareNatural("v1000000001", "v2000000001"), -1);
  EXPECT_EQ(CompareNatural("v123456789", "v23456789"), 1);
  EXPECT_EQ(CompareNatural("v0000000000012", "v12"), 0);
  EXPECT_EQ(CompareNatural("v000000000", "v0"), 0);
  EXPECT_EQ(CompareNatural("v123456789x", "v123456789y"), -1);
}

TEST(KsNaturalTest, IsNoStrictOrderingSoSortingUsesTheMergeSort) {
  // Equal is not transitive: 'a b1' = 'ab1' and 'ab1' > 'ab', yet 'a b1' < 'ab'.
  EXPECT_EQ(CompareNatural("a b1", "ab1"), 0);
  EXPECT_EQ(CompareNatural("ab1", "ab"), 1);
  EXPECT_EQ(CompareNatural("a b1", "ab"), -1);
  // Chunks that differ only in case end the comparison as equal: 'item2' = 'Item10'.
  EXPECT_EQ(CompareNatural("item2", "Item10"), 0);
  std::vector<AnsiString> Names = {"ab", "a b1", "Item10", "ab1", "Item2", "x7", "Item1", "x007", "", "a1x", "A1y"};
  std::vector<AnsiString> Sorted = Names;
  SortNatural(Sorted);
  // Every string once, and the consistent part in order: equal ones keep their order.
  std::vector<AnsiString> A = Names, B = Sorted;
  MergeSort(A, [](const AnsiString& X, const AnsiString& Y) { return CompareStr(X, Y); });
  MergeSort(B, [](const AnsiString& X, const AnsiString& Y) { return CompareStr(X, Y); });
  EXPECT_EQ(A, B);
  auto Position = [&](const char* S) { return std::find(Sorted.begin(), Sorted.end(), S) - Sorted.begin(); };
  EXPECT_LT(Position("Item1"), Position("Item2"));
  EXPECT_LT(Position("Item2"), Position("Item10"));
  EXPECT_LT(Position("x7"), Position("x007"));
  EXPECT_EQ(Sorted.front(), "");
  // A large shuffled input of consistent strings sorts fully.
  std::vector<AnsiString> Items;
  for (int I = 0; I < 500; ++I) Items.push_back("row " + std::to_string((I * 7919) % 500));
  SortNatural(Items);
  for (int I = 0; I < 500; ++I) ASSERT_EQ(Items[I], "row " + std::to_string(I));
}

TEST(KsNaturalTest, PreparedKeysAnswerAsTheirStrings) {
  // Blanks, case, leading zeros, long runs, strings with and without digits, and
  // prefixes, every pair both ways.
  const std::vector<AnsiString> Corpus = {
      "", " ", "a", "A", "ab", "a b", "a b1", "ab1", "AB1", "Item2", "item10", "Item 10",
      "x007", "x7", "x7y", "9a", "10", "1x", "x1", "a1b2", "a1b10", "a01", "a1b",
      "v123456789", "v23456789", "v0000000000012", "v12", "v000000000", "v0", "1 2", "12",
      "-3", "3-", "z", "Z9", "9"};
  for (const AnsiString& A : Corpus)
    for (const AnsiString& B : Corpus)
      EXPECT_EQ(CompareNatural(TNaturalKey(A), TNaturalKey(B)), CompareNatural(A, B))
          << "'" << A << "' vs '" << B << "'";
  EXPECT_EQ(TNaturalKey("Item 10").Text(), "Item 10");

  // Random strings of blanks, digits (zeros often) and letters of both cases, and
  // strings of more runs than a key keeps in place.
  fuzz::TRandom Random(41);
  const char Alphabet[] = " 0001239aAbBzZ-";
  std::vector<AnsiString> Strings = {"a1b2c3d4e5f6", "a1b2c3d4e5f7", "A1B2C3D4E5F6g"};
  for (int I = 0; I < 400; ++I) {
    AnsiString S;
    for (std::size_t N = Random.Below(14); N > 0; --N) S += Alphabet[Random.Below(sizeof(Alphabet) - 1)];
    Strings.push_back(S);
  }
  for (std::size_t I = 0; I + 1 < Strings.size(); ++I)
    for (std::size_t J : {I + 1, Strings.size() - 1 - I, I / 2})
      ASSERT_EQ(CompareNatural(TNaturalKey(Strings[I]), TNaturalKey(Strings[J])),
                CompareNatural(Strings[I], Strings[J]))
          << "'" << Strings[I] << "' vs '" << Strings[J] << "'";
}

TEST(KsNaturalTest, ReusedKeysAnswerAsTheirStringsAfterACommonStart) {
  // Strings that share a long start and part where a run ends or goes on (a digit, a
  // blank, a zero, a letter after the start), compared by two keys that are cut again
  // for every pair: a key keeps nothing of the string it held before.
  fuzz::TRandom Random(97);
  const char Alphabet[] = " 0019aAzZ";
  std::vector<AnsiString> Strings;
  for (int I = 0; I < 60; ++I) {
    AnsiString Start;
    for (std::size_t N = Random.Below(16); N > 0; --N) Start += Alphabet[Random.Below(sizeof(Alphabet) - 1)];
    for (const char* Tail : {"", "1", "0", "9", " 1", " a", "a", "A", "a1b2c3d4e5", " ", "10"})
      Strings.push_back(Start + Tail);
  }
  TNaturalKey A, B;
  for (std::size_t I = 0; I < Strings.size(); ++I)
    for (std::size_t J = I / 11 * 11; J < I / 11 * 11 + 11; ++J) {
      A.Assign(Strings[I]);
      B.Assign(Strings[J]);
      ASSERT_EQ(CompareNatural(A, B), CompareNatural(Strings[I], Strings[J]))
          << "'" << Strings[I] << "' vs '" << Strings[J] << "'";
      ASSERT_EQ(A.Text(), Strings[I]);
    }
}

// The plan for a set of strings, with the keys it was made from.
struct TPlannedKeys {
  std::vector<TNaturalKey> Keys;
  TNaturalPrefixPlan Plan;
  explicit TPlannedKeys(const std::vector<AnsiString>& Strings) {
    for (const AnsiString& S : Strings) Keys.emplace_back(S);
    std::vector<const TNaturalKey*> Addresses;
    for (const TNaturalKey& Key : Keys) Addresses.push_back(&Key);
    Plan = TNaturalPrefixPlan::For(Addresses.data(), Addresses.size());
  }
  // Every pair: differing prefixes order as CompareNatural does; with an exact plan
  // equal prefixes mean equal keys.
  void ExpectPrefixesAgree() const {
    for (const TNaturalKey& A : Keys)
      for (const TNaturalKey& B : Keys) {
        const std::uint32_t PA = Plan.Prefix(A), PB = Plan.Prefix(B);
        const int Expected = CompareNatural(A.Text(), B.Text());
        if (PA != PB) {
          ASSERT_EQ(PA < PB ? -1 : 1, Expected) << "'" << A.Text() << "' vs '" << B.Text() << "'";
        } else if (Plan.Exact) {
          ASSERT_EQ(Expected, 0) << "'" << A.Text() << "' vs '" << B.Text() << "'";
        }
      }
  }
};

TEST(KsNaturalTest, APrefixPlanNeedsDigitsEverywhereAndOneKindOfRunAfterTheSharedOnes) {
  TPlannedKeys Items({"Item 10", "Item 9", "Item 010", "item 7", "Item 0"});
  // "item" differs from "Item" in its bytes: no run is shared.
  EXPECT_TRUE(Items.Plan.Usable);
  EXPECT_EQ(Items.Plan.Run, 0u);
  EXPECT_FALSE(Items.Plan.Exact);
  Items.ExpectPrefixesAgree();

  TPlannedKeys Numbers({"Item 10", "Item 9", "Item 010", "Item 0", "Item", "Item 999999999"});
  EXPECT_FALSE(Numbers.Plan.Usable);  // "Item" holds no digit
  TPlannedKeys Same({"Item 10", "Item 9", "Item 010", "Item 0", "Item 999999999", "Item 00"});
  EXPECT_TRUE(Same.Plan.Usable);
  EXPECT_EQ(Same.Plan.Run, 1u);
  EXPECT_TRUE(Same.Plan.Exact);
  EXPECT_EQ(Same.Plan.Prefix(Same.Keys[0]), Same.Plan.Prefix(Same.Keys[2]));
  EXPECT_EQ(Same.Plan.Prefix(Same.Keys[3]), 1u);  // the number 0, above a used-up key
  Same.ExpectPrefixesAgree();

  // Ten significant digits do not fit; mixed kinds after the shared runs decide by
  // other rules; a key used up before the others orders first.
  EXPECT_FALSE(TPlannedKeys({"v1234567890", "v1"}).Plan.Usable);
  EXPECT_FALSE(TPlannedKeys({"v0001234567890", "v123456789"}).Plan.Usable);
  EXPECT_FALSE(TPlannedKeys({"a1b", "a12", "1a"}).Plan.Usable);
  EXPECT_TRUE(TPlannedKeys({"a1b", "a12"}).Plan.Usable);
  TPlannedKeys Short({"a1", "a1b2", "a1c", "a1B"});
  EXPECT_TRUE(Short.Plan.Usable);
  EXPECT_EQ(Short.Plan.Prefix(Short.Keys[0]), 0u);
  Short.ExpectPrefixesAgree();
  EXPECT_FALSE(TPlannedKeys({"x1"}).Plan.Usable);
}

TEST(KsNaturalTest, PrefixesOfRandomSetsOrderAsTheFullComparison) {
  // Sets whose strings share a start and go on with blanks, zeros, numbers, letters
  // of both cases and characters below the digits.
  fuzz::TRandom Random(7);
  const char Alphabet[] = " 00129aAbBzZ-!";
  int Usable = 0;
  for (int Set = 0; Set < 300; ++Set) {
    AnsiString Start;
    for (std::size_t N = Random.Below(6); N > 0; --N) Start += Alphabet[Random.Below(sizeof(Alphabet) - 1)];
    std::vector<AnsiString> Strings;
    for (std::size_t N = 2 + Random.Below(12); N > 0; --N) {
      AnsiString S = Start;
      for (std::size_t L = Random.Below(8); L > 0; --L) S += Alphabet[Random.Below(sizeof(Alphabet) - 1)];
      if (Random.Below(4) != 0) S += std::to_string(Random.Below(1000));
      Strings.push_back(S);
    }
    TPlannedKeys Planned(Strings);
    if (Planned.Plan.Usable) ++Usable;
    Planned.ExpectPrefixesAgree();
  }
  EXPECT_GT(Usable, 30);
}

TEST(KsEnabledChainTest, EveryParentUpToTheTopMustBeEnabled) {
  EXPECT_FALSE(IsEnabledChain(nullptr));
  TOwned<TWinControl> Panel(NewObject<TWinControl>(nullptr));
  TWinControl* Inner = NewObject<TWinControl>(Panel.get());
  Inner->SetParent(Panel.get());
  TWinControl* Button = NewObject<TWinControl>(Panel.get());
  Button->SetParent(Inner);
  EXPECT_TRUE(IsEnabledChain(Button));
  Panel->SetEnabled(false);
  EXPECT_FALSE(IsEnabledChain(Button));
  EXPECT_TRUE(Button->Enabled());
  Panel->SetEnabled(true);
  Button->SetEnabled(false);
  EXPECT_FALSE(IsEnabledChain(Button));
  EXPECT_TRUE(IsEnabledChain(Inner));
}

class KsFillGradientTest : public ::testing::Test {
 protected:
  TKsColor At(int X, int Y) { return Target->GetPixel(X, Y) & 0xFFFFFF; }
  TOwned<TKsBitmap> Target = MakeBitmap(16, 16, 0xFF123456);
};

TEST_F(KsFillGradientTest, TheFallbackSetsTheFirstRowAndCopiesItDown) {
  FillGradientFallback(Target->DC(), TRect{2, 3, 13, 7}, clBlack, clWhite, true);
  const int Expected[] = {0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 255};  // 255 * x / 10
  for (int Y = 3; Y < 7; ++Y)
    for (int X = 0; X < 11; ++X)
      EXPECT_EQ(At(2 + X, Y), static_cast<TKsColor>(Expected[X] * 0x010101)) << X << "," << Y;
  EXPECT_EQ(At(1, 3), 0x123456u);
  EXPECT_EQ(At(13, 3), 0x123456u);
  EXPECT_EQ(At(2, 7), 0x123456u);
  EXPECT_EQ(At(2, 2), 0x123456u);
  // Down the rectangle: the left column copied to the right; red to blue.
  FillGradientFallback(Target->DC(), TRect{0, 0, 3, 5}, clRed, clBlue, false);
  for (int X = 0; X < 3; ++X) {
    EXPECT_EQ(At(X, 0), 0xFF0000u);
    EXPECT_EQ(At(X, 2), 0x7F0080u);  // -127.5 and 127.5 round to even
    EXPECT_EQ(At(X, 4), 0x0000FFu);
  }
  // One pixel wide: the start colour.
  FillGradientFallback(Target->DC(), TRect{15, 0, 16, 4}, clLime, clRed, true);
  EXPECT_EQ(At(15, 3), 0x00FF00u);
}

TEST_F(KsFillGradientTest, TheSystemRoutineIsChosenAndRunsFromTheStartToTheEndColour) {
  EXPECT_EQ(FillGradient, &FillGradientSystem);  // msimg32 offers GradientFill
  FillGradientSystem(Target->DC(), TRect{0, 0, 16, 4}, clBlack, clWhite, true);
  for (int X = 1; X < 16; ++X) {
    EXPECT_EQ(At(X, 3), At(X, 0));
    EXPECT_GE(At(X, 0) & 0xFF, At(X - 1, 0) & 0xFF);
  }
  EXPECT_LE(At(0, 0) & 0xFF, 16u);
  EXPECT_GE(At(15, 0) & 0xFF, 224u);
  EXPECT_EQ(At(0, 4), 0x123456u);
}

}  // namespace
