// The install folder's Template script played by PcbHost: the profile list takes a
// click and Down, Finish makes the board from the first template. The saved board holds
// the template's title block and scale bar but none of its object classes, and every
// template file is left as it was, byte for byte.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostProcessSupport.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/FileSupport.h"

namespace {

std::string ReadFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Result;
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    Result.push_back(Line);
  }
  return Result;
}

bool Has(const std::string& Line, const char* Part) { return Line.find(Part) != std::string::npos; }

// The object lines of one part of a board: the title block's (Mechanical 1, flag 16)
// or the scale bar's (Mechanical 16), each without its Id, which the board numbers
// anew.
std::vector<std::string> PartObjects(const std::string& Text, const char* Layer, const char* Flags) {
  std::vector<std::string> Result;
  for (std::string Line : Lines(Text)) {
    if (Line.compare(0, 7, "Object ") != 0 || !Has(Line, Layer) || !Has(Line, Flags)) continue;
    const std::size_t Id = Line.find(" Id=");
    const std::size_t End = Line.find(' ', Id + 1);
    if (Id != std::string::npos) Line.erase(Id, End - Id);
    Result.push_back(Line);
  }
  return Result;
}

// The text of each text object, in order.
std::vector<std::string> Texts(const std::vector<std::string>& Objects) {
  std::vector<std::string> Result;
  for (const std::string& Line : Objects)
    if (Has(Line, "Kind=\"Text\"")) {
      const std::size_t At = Line.find(" Text=\"");
      if (At != std::string::npos) Result.push_back(Line.substr(At, Line.find('"', At + 7) - At));
    }
  return Result;
}

class TemplateScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scratch = NewScratchFolder("template-");
    ASSERT_FALSE(Scratch.empty());
  }
  void TearDown() override {
    RemoveScratchFolder(Scratch + "run\\");
    RemoveScratchFolder(Scratch);
  }
  std::string Scratch;
};

TEST_F(TemplateScriptTest, TheBoardTakesTheTitleBlockAndScaleBarAndTheTemplateStays) {
  const std::string Templates = TestHostRoot() + "Templates\\";
  std::map<std::string, std::string> Before;
  for (const std::string& Name : FilesIn(Templates)) Before[Name] = ReadFile(Templates + Name);
  ASSERT_FALSE(Before.empty());

  TRunResult Run = RunProgram("\"" + TestHostRoot() + "PcbHost.exe\" --script \"" + TestHostRoot() +
                                  "Scripts\\Template.txt\" --out \"" + Scratch + "run\" --run RunWizard",
                              TestHostRoot());
  ASSERT_EQ(Run.ExitCode, 0u) << Run.Output;
  const std::string Out = Scratch + "run\\";
  std::vector<std::string> Saved;
  bool Failed = false;
  for (const std::string& Name : FilesIn(Out)) {
    if (Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".txt") == 0) Saved.push_back(Name);
    Failed = Failed || Name == "failed.png";
  }
  EXPECT_FALSE(Failed) << Run.Output;
  ASSERT_EQ(Saved.size(), 1u) << Run.Output;
  const std::string Board = ReadFile(Out + Saved[0]);

  // The template the board came from: the one whose title block it holds.
  const std::vector<std::string> Title = PartObjects(Board, " Layer=57 ", " Flags=16 ");
  const std::vector<std::string> Scale = PartObjects(Board, " Layer=72 ", " Flags=0 ");
  ASSERT_FALSE(Title.empty());
  ASSERT_FALSE(Scale.empty());
  ASSERT_FALSE(Texts(Title).empty());
  std::string Source;
  for (const auto& [Name, Text] : Before)
    if (Texts(PartObjects(Text, " Layer=57 ", " Flags=16 ")) == Texts(Title)) Source = Name;
  ASSERT_FALSE(Source.empty());
  EXPECT_EQ(Title.size(), PartObjects(Before[Source], " Layer=57 ", " Flags=16 ").size());
  EXPECT_EQ(Texts(Scale), Texts(PartObjects(Before[Source], " Layer=72 ", " Flags=0 ")));
  EXPECT_EQ(Scale.size(), PartObjects(Before[Source], " Layer=72 ", " Flags=0 ").size());

  // The template has object classes; the board has none.
  EXPECT_TRUE(Has(Before[Source], "Kind=\"Class\""));
  EXPECT_FALSE(Has(Board, "Kind=\"Class\""));

  // Every template file as it was.
  for (const auto& [Name, Text] : Before) EXPECT_EQ(ReadFile(Templates + Name), Text) << Name;
}

}  // namespace
