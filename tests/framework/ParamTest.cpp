#include <gtest/gtest.h>

#include <cstring>

#include "classlib/StrUtils.h"
#include "framework/Rt_Param.h"
#include "tests/support/FuzzSupport.h"

namespace {

AnsiString Reparsed(const AnsiString& Text) {
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), Text);
  return BuildParameterString(List.get());
}

TEST(ParameterList, ParsingTrimsNamesKeepsValuesAndDropsEntriesWithoutName) {
  EXPECT_EQ(Reparsed("A=1|B=x=y| C =2"), "A=1|B=x=y|C=2");
  EXPECT_EQ(Reparsed("flag|A= v | =5||a=2|"), "A= v |a=2");
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), "Zoom=1|action=Board|ACTION=Other");
  ASSERT_NE(FindParameter(List.get(), " Action "), nullptr);
  EXPECT_EQ(FindParameter(List.get(), " Action ")->Value(), "Board");
  EXPECT_EQ(FindParameter(List.get(), "Act"), nullptr);
}

AnsiString SetIn(const AnsiString& Text, const AnsiString& Name, const AnsiString& Value) {
  char Buffer[256] = {};
  std::strcpy(Buffer, Text.c_str());
  EXPECT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), Name, Value));
  return Buffer;
}

TEST(ParameterList, SetParameterInStringAddsOrReplaces) {
  EXPECT_EQ(SetIn("", "Action", "Sheet"), "Action=Sheet");
  EXPECT_EQ(SetIn("Action=Board|Zoom=2", "Action", "Sheet"), "Action=Sheet|Zoom=2");
  EXPECT_EQ(SetIn("a=1", "A", "2"), "a=2");
  EXPECT_EQ(SetIn("B= kept ", "A", "  Sheet  "), "B= kept |A=Sheet");
}

// The result is bounded by the buffer's capacity, terminating zero included.
TEST(ParameterList, ResultThatDoesNotFitLeavesTheBufferUnchanged) {
  char Buffer[256];
  AnsiString Long = "Path=" + AnsiString(240, 'p');  // 245 characters
  std::strcpy(Buffer, Long.c_str());
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "Action", "Sheet"));
  EXPECT_EQ(AnsiString(Buffer), Long);
  // 255 characters and the zero fill it exactly.
  EXPECT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), "A", "1234567"));
  EXPECT_EQ(AnsiString(Buffer), Long + "|A=1234567");
  EXPECT_FALSE(SetParameterInString(Buffer, 0, "A", "1"));
}

TEST(ParameterList, TextIsNotReadPastTheBuffer) {
  struct {
    char Buffer[8];
    char After[8];
  } Memory;
  std::memcpy(Memory.Buffer, "ABCDEFGH", 8);  // no zero inside the buffer
  std::memcpy(Memory.After, "|Z=9\0\0\0", 8);
  EXPECT_TRUE(SetParameterInString(Memory.Buffer, sizeof(Memory.Buffer), "X", "1"));
  EXPECT_STREQ(Memory.Buffer, "X=1");
}

TEST(ParameterList, ANameLongerThanAParameterKeepsIsFoundAndSetInPlace) {
  const AnsiString Long(300, 'n');
  char Buffer[1024] = "Zoom=2";
  ASSERT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), Long, "1"));
  ASSERT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), Long, "2"));
  EXPECT_EQ(AnsiString(Buffer), "Zoom=2|" + AnsiString(255, 'n') + "=2");
  TOwned<TParameterList> List(NewObject<TParameterList>());
  ParseParameterString(List.get(), Buffer);
  ASSERT_EQ(List->Count(), 2);
  ASSERT_NE(FindParameter(List.get(), Long), nullptr);
  EXPECT_EQ(FindParameter(List.get(), Long)->Value(), "2");
  EXPECT_EQ(FindParameter(List.get(), AnsiString(256, 'N') + " more"), List->Items(1));
}

// The text has no escapes: what it cannot hold is refused rather than written as
// other parameters.
TEST(ParameterList, ANameOrValueTheTextCannotHoldIsRefused) {
  char Buffer[64] = "Action=Board";
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "Zoom", "2|Action=Sheet"));
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "Zoom=2", "1"));
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "A|B", "1"));
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), AnsiString("A\0B", 3), "1"));
  EXPECT_FALSE(SetParameterInString(Buffer, sizeof(Buffer), "A", AnsiString("1\0|B=2", 6)));
  EXPECT_STREQ(Buffer, "Action=Board");
  // A value may hold "=", and blanks around a name or a value do not count.
  EXPECT_TRUE(SetParameterInString(Buffer, sizeof(Buffer), " Zoom ", " a=b "));
  EXPECT_STREQ(Buffer, "Action=Board|Zoom=a=b");
}

TEST(ParameterList, ANameCutBeforeABlankReadsBackTheSame) {
  // Cut at 255 characters, the name would end in the blank before "x".
  const AnsiString Text = AnsiString(254, 'n') + " x=1";
  const AnsiString Built = Reparsed(Text);
  EXPECT_EQ(Built, AnsiString(254, 'n') + "=1");
  EXPECT_EQ(Reparsed(Built), Built);
  EXPECT_EQ(TOwned<TParameter>(NewObject<TParameter>("  A  ", ""))->Name(), "A");
}

// Mutated parameter texts: parsing, building and setting never raise and leave nothing
// allocated; a built text parses back to itself; every parsed name is found.
TEST(ParameterList, MutatedTextsParseBuildAndSetSoundly) {
  fuzz::TMutator Mutator({"Action=Sheet|Zoom=2", "A=1|B=x=y| C =2", "flag|A= v | =5||a=2|",
                          " Action = Board |Zoom=|=|Path=C:\\Boards\\A.PcbDoc",
                          AnsiString(254, 'n') + " x=1|" + AnsiString(300, 'm') + "=2", ""},
                         0x5041524Du);
  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  for (int Case = 0; Case < 4000; ++Case) {
    const std::string Text = Mutator.Next();
    // Every other name is a piece of the text, which may hold what a name cannot.
    const AnsiString Name =
        Case % 2 ? AnsiString("Action") : AnsiString(Text.substr(0, Case % 7));
    const bool Writable =
        Trim(Name).find_first_of(AnsiString("=|\0", 3)) == AnsiString::npos;
    Findings.Check(Text, Counter, [&] {
      const char* Fault = nullptr;
      TParameterList* List = NewObject<TParameterList>();
      ParseParameterString(List, Text);
      AnsiString Built = BuildParameterString(List);
      for (int I = 0; I < List->Count() && !Fault; ++I) {
        TParameter* Found = FindParameter(List, List->Items(I)->Name());
        if (!Found || !SameText(Found->Name(), List->Items(I)->Name()))
          Fault = "a parsed name not found";
      }
      ParseParameterString(List, Built);
      if (!Fault && BuildParameterString(List) != Built)
        Fault = "a built text that does not read back";
      List->Free();

      char Buffer[256] = {};
      Text.copy(Buffer, sizeof(Buffer) - 1);
      const AnsiString Old = Buffer;
      if (SetParameterInString(Buffer, sizeof(Buffer), Name, " set ")) {
        List = NewObject<TParameterList>();
        ParseParameterString(List, Buffer);
        TParameter* Set = FindParameter(List, Name);
        if (!Fault && !Writable) Fault = "a name that cannot be written set";
        if (!Fault && !Trim(Name).empty() && (!Set || Set->Value() != "set"))
          Fault = "a set parameter that does not read back";
        List->Free();
      } else if (!Fault && AnsiString(Buffer) != Old) {
        Fault = "a buffer changed by a set that failed";
      }
      return Fault;
    });
  }
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
}

}  // namespace
