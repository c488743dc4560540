// The editor stand-in's board text under mutation, read in-process: a text either makes
// a board or nothing, a board that was made writes a text that reads back to the same
// text, and no block is left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/MerovanText.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/FileSupport.h"
#include "tests/support/FuzzSupport.h"

namespace {

// Lines of a board text without the long ones that every board has (the 82 layers and
// the output options): a line left out keeps the blank board's value, and shorter texts
// make faster cases.
std::string WithoutLongLines(const std::string& Text) {
  std::istringstream Lines(Text);
  std::string Line, Result;
  while (std::getline(Lines, Line)) {
    bool Layer = Line.rfind("Layer Number=", 0) == 0;
    if ((Layer && Line.rfind("Layer Number=1 ", 0) != 0) || Line.rfind("Output ", 0) == 0)
      continue;
    Result += Line + '\n';
  }
  return Result;
}

// A board with one object of every kind, each with the records it may carry.
std::string EveryKindBoardText() {
  Merovan::TStore Store;
  Integer Board = Store.CreateBoard("Seed");
  Integer Text = 0;
  for (int Id = 1; Id <= eBoardOutlineObject; ++Id) {
    Integer Handle = Id == eDimensionObject ? Store.CreateDimension(1)
                     : Id == eRuleObject    ? Store.CreateRule(2)
                                            : Store.CreateObject(Id);
    if (!Handle) continue;
    Store.AddToBoard(Board, Handle);
    Merovan::TObject* Object = Store.Object(Handle);
    if (Id == eTextObject) Text = Handle;
    if (auto* Polygon = std::get_if<Merovan::TPolygon>(&Object->Data)) {
      Polygon->SegmentCount = 2;
      Polygon->Segments.resize(3);
      Polygon->Segments[1].X = 100000;
      Polygon->Segments[2].Y = -5;
    }
    if (auto* Dimension = std::get_if<Merovan::TDimension>(&Object->Data)) {
      Dimension->References.push_back({{Text, 2, 3, 4}});
      Dimension->TextLocations.push_back({7, -8});
      Dimension->Texts[0] = "mm \"quoted\"";
    }
    if (auto* Class = std::get_if<Merovan::TClass>(&Object->Data)) {
      Class->Name = "Nets";
      Class->Members = {"GND", "VCC"};
    }
    if (auto* Rule = std::get_if<Merovan::TRule>(&Object->Data)) {
      Rule->Name = "Width";
      Rule->Scopes[1].push_back({3, "Scope\x01", 1, 2, {4, 5, 6, 7}});
    }
    if (auto* Component = std::get_if<Merovan::TComponent>(&Object->Data)) {
      Component->NameHandle = Text;
      Component->Rotation = 22.5;
    }
  }
  return Store.Board(Board) ? Merovan::BoardToText(Store, *Store.Board(Board))
                            : std::string();
}

TEST(MerovanTextFuzz, MutatedBoardTextsMakeABoardThatWritesBackOrNothing) {
  const std::string Template =
      FileText(TestHostRoot() + "Templates\\Eurocard 160x100mm.PcbDoc");
  ASSERT_EQ(Template.rfind("MerovanBoard 1\n", 0), 0u);
  const std::vector<std::string> Seeds = {WithoutLongLines(EveryKindBoardText()),
                                          WithoutLongLines(Template),
                                          "MerovanBoard 1\r\nSheet Width=5\r\n"};
  const std::vector<std::string> Extra = {"Object Kind=\"Polygon\" Id=99 SegmentCount=1",
                                          "  Segment X=1",
                                          "  Member Name=\"x\"",
                                          "  SubScope Scope=1",
                                          "  Reference",
                                          "  TextLocation X=1 Y=2",
                                          "Stack Layers=1,2,32",
                                          "Pair",
                                          "\\x",
                                          "\\x4",
                                          "\\x41",
                                          "Id=",
                                          "Kind=",
                                          "NameHandle=",
                                          "Values=",
                                          "9223372036854775807",
                                          "1e999",
                                          "-0",
                                          "0x10",
                                          "inf"};
  fuzz::TMutator Mutator(Seeds, 0x4D45524Fu, Extra);
  {
    Merovan::TStore Store;
    for (const std::string& Seed : Seeds)
      ASSERT_NE(Merovan::BoardFromText(Store, Seed, "Seed"), 0);
  }

  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  int Made = 0;
  for (int Case = 0; Case < 2000; ++Case) {
    const std::string Text = Mutator.Next();
    Findings.Check(Text, Counter, [&]() -> const char* {
      Merovan::TStore Store;
      const Integer Board = Merovan::BoardFromText(Store, Text, "Mutated");
      if (!Board) return nullptr;
      ++Made;
      const std::string Written = Merovan::BoardToText(Store, *Store.Board(Board));
      const Integer Again = Merovan::BoardFromText(Store, Written, "Again");
      if (!Again) return "a written text that does not read";
      if (Merovan::BoardToText(Store, *Store.Board(Again)) != Written)
        return "a written text that reads back different";
      return nullptr;
    });
  }
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
  EXPECT_GT(Made, 0);
}

}  // namespace
