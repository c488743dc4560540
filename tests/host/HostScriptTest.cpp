// Reading scripts: every step with its parts, comments and blank lines, and every kind
// of line that is rejected, with its line number.
#include <gtest/gtest.h>

#include "host/HostScript.h"
#include "tests/support/FileSupport.h"

namespace {

TScript Parsed(const std::string& Text) {
  TScript Script;
  TScriptError Error;
  EXPECT_TRUE(ParseScript(Text, Script, Error)) << Error.Message();
  return Script;
}

// The error for a script whose last line is Line (after two good lines).
TScriptError Rejected(const std::string& Line) {
  TScript Script;
  TScriptError Error;
  EXPECT_FALSE(ParseScript("wait PCB Board Wizard\n# a comment\n" + Line + "\nshot after\n",
                           Script, Error))
      << Line;
  EXPECT_TRUE(Script.Steps.empty());
  EXPECT_EQ(Error.Line, 3) << Line;
  return Error;
}

TEST(HostScriptTest, CommentsAndBlankLinesAreSkippedAndLinesCounted) {
  TScript Script = Parsed("# first\n\n   \n\t# indented comment\r\nwait Main\r\n\n  shot  one  \n");
  ASSERT_EQ(Script.Steps.size(), 2u);
  EXPECT_EQ(Script.Steps[0].Line, 5);
  EXPECT_EQ(Script.Steps[0].Text, "Main");
  EXPECT_EQ(Script.Steps[1].Line, 7);
  EXPECT_EQ(Script.Steps[1].Action, TScriptAction::Shot);
  EXPECT_EQ(Script.Steps[1].Text, "one");
  EXPECT_EQ(Script.LineCount, 7);
  EXPECT_TRUE(Parsed("").Steps.empty());
  EXPECT_TRUE(Parsed("# only a comment").Steps.empty());
}

// Wait and shot take the whole rest of the line, type keeps its inner blanks, expect a
// target and its state.
TEST(HostScriptTest, WaitTypeExpectAndShotTakeTheirParts) {
  TScript Script = Parsed("wait   PCB Board  Wizard \ntype 12.5  mm\ntype #1 & more\n"
                          "expect Next > enabled\nexpect #Button DISABLED\n"
                          "shot 01-Welcome\nshot Track Via\n");
  ASSERT_EQ(Script.Steps.size(), 7u);
  const std::vector<TScriptStep>& S = Script.Steps;
  EXPECT_EQ(S[0].Action, TScriptAction::Wait);
  EXPECT_EQ(S[0].Text, "PCB Board  Wizard");
  EXPECT_EQ(S[1].Action, TScriptAction::Type);
  EXPECT_EQ(S[1].Text, "12.5  mm");
  EXPECT_EQ(S[2].Text, "#1 & more");
  EXPECT_EQ(S[3].Action, TScriptAction::Expect);
  EXPECT_EQ(S[3].Target.Text, "Next >");
  EXPECT_FALSE(S[3].Target.ByClass);
  EXPECT_TRUE(S[3].Enabled);
  EXPECT_TRUE(S[4].Target.ByClass);
  EXPECT_EQ(S[4].Target.Text, "Button");
  EXPECT_FALSE(S[4].Enabled);
  EXPECT_EQ(S[5].Action, TScriptAction::Shot);
  EXPECT_EQ(S[5].Text, "01-Welcome");
  EXPECT_EQ(S[6].Text, "Track Via");
}

// Type with nothing, or with "" alone, clears the field (an empty text); any other
// text is typed as written, its quotes too.
TEST(HostScriptTest, TypeWithNothingOrEmptyQuotesClearsAndOtherQuotesAreTyped) {
  TScript Script = Parsed("type\ntype   \ntype \"\"\ntype \"a b\"\ntype \"\"\"\ntype x \"\"\n");
  ASSERT_EQ(Script.Steps.size(), 6u);
  for (const TScriptStep& Step : Script.Steps) EXPECT_EQ(Step.Action, TScriptAction::Type);
  EXPECT_EQ(Script.Steps[0].Text, "");
  EXPECT_EQ(Script.Steps[1].Text, "");
  EXPECT_EQ(Script.Steps[2].Text, "");
  EXPECT_EQ(Script.Steps[3].Text, "\"a b\"");
  EXPECT_EQ(Script.Steps[4].Text, "\"\"\"");
  EXPECT_EQ(Script.Steps[5].Text, "x \"\"");
}

TEST(HostScriptTest, ClickTakesWordsAClassAndAnOffset) {
  TScript Script = Parsed("click Next >\nclick #Edit\nclick < Back @3,40\nCLICK #Button @0,0\n");
  ASSERT_EQ(Script.Steps.size(), 4u);
  for (const TScriptStep& Step : Script.Steps) EXPECT_EQ(Step.Action, TScriptAction::Click);
  EXPECT_EQ(Script.Steps[0].Target.Text, "Next >");
  EXPECT_FALSE(Script.Steps[0].Target.ByClass);
  EXPECT_FALSE(Script.Steps[0].HasOffset);
  EXPECT_EQ(Script.Steps[1].Target.Text, "Edit");
  EXPECT_TRUE(Script.Steps[1].Target.ByClass);
  EXPECT_EQ(Script.Steps[2].Target.Text, "< Back");
  EXPECT_TRUE(Script.Steps[2].HasOffset);
  EXPECT_EQ(Script.Steps[2].Offset.x, 3);
  EXPECT_EQ(Script.Steps[2].Offset.y, 40);
  EXPECT_EQ(Script.Steps[3].Target.Text, "Button");
  EXPECT_TRUE(Script.Steps[3].Target.ByClass);
  EXPECT_TRUE(Script.Steps[3].HasOffset);
}

TEST(HostScriptTest, KeyTakesNamedKeysLettersDigitsAndModifiers) {
  struct TCase {
    const char* Words;
    WORD Key;
    bool Shift, Ctrl, Alt;
  };
  const TCase Cases[] = {
      {"Enter", VK_RETURN, false, false, false}, {"escape", VK_ESCAPE, false, false, false},
      {"Tab", VK_TAB, false, false, false},      {"Space", VK_SPACE, false, false, false},
      {"Left", VK_LEFT, false, false, false},    {"Right", VK_RIGHT, false, false, false},
      {"Up", VK_UP, false, false, false},        {"Down", VK_DOWN, false, false, false},
      {"Home", VK_HOME, false, false, false},    {"End", VK_END, false, false, false},
      {"F1", VK_F1, false, false, false},        {"a", 'A', false, false, false},
      {"Z", 'Z', false, false, false},           {"7", '7', false, false, false},
      {"Shift+Tab", VK_TAB, true, false, false}, {"Ctrl+a", 'A', false, true, false},
      {"Alt+F1", VK_F1, false, false, true},     {"Ctrl+Alt+Shift+End", VK_END, true, true, true},
      {"Backspace", VK_BACK, false, false, false}, {"delete", VK_DELETE, false, false, false},
      {"Insert", VK_INSERT, false, false, false}, {"PageUp", VK_PRIOR, false, false, false},
      {"pagedown", VK_NEXT, false, false, false}, {"F2", VK_F2, false, false, false},
      {"f10", VK_F10, false, false, false},       {"Shift+F12", VK_F12, true, false, false},
      {"Ctrl+Delete", VK_DELETE, false, true, false},
  };
  for (const TCase& Case : Cases) {
    TScript Script = Parsed(std::string("key ") + Case.Words);
    ASSERT_EQ(Script.Steps.size(), 1u) << Case.Words;
    const TScriptStep& Step = Script.Steps[0];
    EXPECT_EQ(Step.Action, TScriptAction::Key);
    EXPECT_EQ(Step.Chord.Key, Case.Key) << Case.Words;
    EXPECT_EQ(Step.Chord.Shift, Case.Shift) << Case.Words;
    EXPECT_EQ(Step.Chord.Ctrl, Case.Ctrl) << Case.Words;
    EXPECT_EQ(Step.Chord.Alt, Case.Alt) << Case.Words;
  }
}

// Unknown steps, missing parts, bad targets, offsets and chords, shot names that leave
// the folder or clash, and control characters.
TEST(HostScriptTest, BadLinesAreRejectedWithTheirLineNumber) {
  const std::string Lines[] = {
      "press Enter", "wait", "click", "click @3,4", "key", "expect",
      "expect Next >", "expect enabled", "expect Next > maybe", "shot",
      // targets and offsets
      "click #", "click # @1,2", "click Next @", "click Next @1", "click Next @1,",
      "click Next @,2", "click Next @-1,2", "click Next @1,2,3", "click Next @a,b",
      "click Next @100000,1", "expect # enabled",
      // chords
      "key Return", "key F0", "key F13", "key F01", "key F1a", "key Del", "key Shift", "key Ctrl+", "key Shift+Shift+A", "key Win+A",
      "key Ctrl+Alt", "key +", "key A B", "key ab", "key é",
      // shot names
      "shot ..\\outside", "shot sub/name", "shot C:name", "shot a*b", "shot what?",
      "shot \"quoted\"", "shot a<b", "shot a|b", "shot ..", "shot .hidden", "shot name.",
      "shot CON", "shot lpt1", "shot failed", "shot " + std::string(201, 'x'),
      // control characters
      std::string("type a\x01" "b"), "wait Main\rWindow"};
  for (const std::string& Line : Lines) EXPECT_FALSE(Rejected(Line).Reason.empty()) << Line;
  EXPECT_EQ(Rejected("press Enter").Message(),
            "script line 3: \"press\" is not a step (wait, click, key, type, expect or shot)");

  TScript Script;
  TScriptError Error;
  EXPECT_FALSE(ParseScript("shot one\nwait Main\nshot ONE\n", Script, Error));
  EXPECT_EQ(Error.Line, 3);
  EXPECT_EQ(Error.Reason, "the shot \"ONE\" is already taken on line 1");
}

TEST(HostScriptTest, AcceleratorMarkersAreLeftOut) {
  EXPECT_EQ(WithoutAccelerators("&Next >"), "Next >");
  EXPECT_EQ(WithoutAccelerators("Save && E&xit"), "Save & Exit");
  EXPECT_EQ(WithoutAccelerators("End&"), "End");
}

TEST(HostScriptTest, LoadScriptReadsAFileAndNamesOneItCannotRead) {
  const std::string Folder = NewScratchFolder("script-load-");
  ASSERT_FALSE(Folder.empty());
  const std::string File = Folder + "steps.txt";
  WriteFileText(File, "wait Main\r\nkey Enter\r\n");
  TScript Script;
  TScriptError Error;
  EXPECT_TRUE(LoadScript(File, Script, Error));
  EXPECT_EQ(Script.Steps.size(), 2u);
  EXPECT_FALSE(LoadScript(Folder + "missing.txt", Script, Error));
  EXPECT_EQ(Error.Line, 0);
  EXPECT_NE(Error.Reason.find("missing.txt"), std::string::npos);
  RemoveScratchFolder(Folder);
}

}  // namespace
