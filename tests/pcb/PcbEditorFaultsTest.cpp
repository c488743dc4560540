// The object model against an editor that answers outside the usual range, through the
// stand-in's seeds: ids with extra high bits, list counts past the wrapper's arrays,
// statuses other than 0 and 1, and refused calls inside a board exchange or a walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pcb/Pcbclass.h"
#include "tests/pcb/PcbEditorFixture.h"

namespace {

// The last number of a log line ("PcbApi_References_At 1 17 199" gives 199).
Integer LastArgument(const std::string& Line) {
  return std::stoi(Line.substr(Line.find_last_of(' ') + 1));
}

class PcbEditorFaults : public PcbEditorTest {
 protected:
  void TearDown() override {
    if (Merovan().Complete()) Merovan().FailNextCalls("PcbApi_GetMemberFromClassAt", 0, 0);
    PcbEditorTest::TearDown();
  }

  // The largest index of the calls to Name in Lines, or -1 without any.
  static Integer LargestIndex(const std::vector<std::string>& Lines, const std::string& Name) {
    Integer Largest = -1;
    for (const std::string& Line : CallsTo(Lines, Name))
      Largest = std::max(Largest, LastArgument(Line));
    return Largest;
  }

  const TMerovanSetReportedIdBits SetReportedIdBits = Merovan().SetReportedIdBits;
  const TMerovanSetReportedCounts SetReportedCounts = Merovan().SetReportedCounts;
  const TMerovanFailNextCalls FailNextCalls = Merovan().FailNextCalls;
  const TMerovanFailNthCall FailNthCall = Merovan().FailNthCall;
};

TEST_F(PcbEditorFaults, FactoryIgnoresBit7OfTheReportedId) {
  const Integer Track = NewObjectHandle(eTrackObject);
  {
    TOwned<TPcbTrack> Writer(NewObject<TPcbTrack>(Track));
    Writer->Exchange(ExchangeRead);
    Writer->Width = 123456;
    ASSERT_EQ(Writer->Exchange(ExchangeWrite), 0);
  }
  ASSERT_TRUE(SetReportedIdBits(Track, 0x80));
  ASSERT_EQ(PcbApi_GetObjectIdFromObjectHandle(Track), 0x84);
  TOwned<TPCBObject> Made(CreatePcbObjectFromHandle(Track));
  ASSERT_TRUE(Made);
  EXPECT_EQ(Made->ClassName(), "TPcbTrack");
  EXPECT_EQ(Made->GetObjectId(), eTrackObject);
  // Made by the factory means read as well.
  EXPECT_EQ(Made->GetWidth(), 123456);

  const Integer FromTo = NewObjectHandle(eManualFromToObject);
  ASSERT_TRUE(SetReportedIdBits(FromTo, 0x80));
  ASSERT_EQ(PcbApi_GetObjectIdFromObjectHandle(FromTo), 0x8F);
  TOwned<TPCBObject> Manual(CreatePcbObjectFromHandle(FromTo));
  ASSERT_TRUE(Manual);
  EXPECT_EQ(Manual->ClassName(), "TPcbManualFromTo");
  EXPECT_EQ(Manual->GetObjectId(), eManualFromToObject);
}

TEST_F(PcbEditorFaults, DimensionReadsAndWritesNoMoreListEntriesThanItsArraysHold) {
  const Integer Dimension = NewDimensionHandle(eBaselineDimension);
  for (Integer I = 1; I <= 3; ++I) {
    ASSERT_EQ(PcbApi_References_Add(Dimension, 1000 * I, I, 2 * I, 3 * I), 0);
    ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 111 * I, 222 * I), 0);
  }
  ASSERT_TRUE(SetReportedCounts(Dimension, 250, 1000));

  TOwned<TPCBBaselineDimension> Wrapper(NewObject<TPCBBaselineDimension>(Dimension));
  for (TExchangeMode Mode : {ExchangeRead, ExchangeWrite}) {
    StartLog();
    Wrapper->Exchange(Mode);
    const std::vector<std::string> Lines = StopLog();
    for (const char* List : {"PcbApi_References_At", "PcbApi_TextLocations_At"}) {
      EXPECT_EQ(CallsTo(Lines, List).size(), 200u) << List << " " << int(Mode);
      EXPECT_EQ(LargestIndex(Lines, List), 199) << List << " " << int(Mode);
    }
    EXPECT_EQ(Wrapper->ReferenceCount, DimListCapacity);
    EXPECT_EQ(Wrapper->TextLocationCount, DimListCapacity);
  }
  EXPECT_EQ(Wrapper->References[2].RefValue1, 3000);
  EXPECT_EQ(Wrapper->References[2].RefValue4, 9);
  EXPECT_EQ(Wrapper->TextLocations[1].X, 222);
  EXPECT_EQ(Wrapper->TextLocations[1].Y, 444);
}

TEST_F(PcbEditorFaults, ClassReadStopsAtAFailureStatus) {
  const Integer Class = NewObjectHandle(eClassObject);
  for (const char* Member : {"GND", "VCC", "+5V"})
    ASSERT_EQ(PcbApi_AddMemberToClass(Class, PcbString(Member)), 0);
  // More failures are seeded than the loop would need to pass the members if it went
  // on after one: it must stop at the first.
  ASSERT_TRUE(FailNextCalls("PcbApi_GetMemberFromClassAt", 50, 2));

  TOwned<TPCBObjectClass> Wrapper(NewObject<TPCBObjectClass>(Class));
  Wrapper->Members->Add("stale");
  StartLog();
  EXPECT_EQ(Wrapper->Exchange(ExchangeRead), 2);
  const std::vector<std::string> Lines = StopLog();
  EXPECT_EQ(CallsTo(Lines, "PcbApi_GetMemberFromClassAt"),
            (std::vector<std::string>{Call("PcbApi_GetMemberFromClassAt", Class, 0)}));
  EXPECT_EQ(Wrapper->Members->Count(), 0);

  // Without the seed the same wrapper reads every member.
  ASSERT_TRUE(FailNextCalls("PcbApi_GetMemberFromClassAt", 0, 0));
  EXPECT_EQ(Wrapper->Exchange(ExchangeRead), 1);
  EXPECT_EQ(Wrapper->Members->Count(), 3);
}

// A board exchange goes through every block whatever one of them gave, and reports the
// first refusal of any block besides the board record's own status.
TEST_F(PcbEditorFaults, BoardExchangeReportsARefusedBlock) {
  TOwned<TPcbBoard> Wrapper(NewObject<TPcbBoard>(Board));
  EXPECT_EQ(Wrapper->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Wrapper->ExchangeFailure, 0);

  // Each of these refused once, in a write and in a read: the grids, one layer value,
  // one layer's dielectric, one plane, one pen, the only layer pair.
  const char* const Blocks[] = {
      "PcbApi_QueryBoardGridsEx",  "PcbApi_QueryBoardLayerInfo",
      "PcbApi_QueryLayerDielectric", "PcbApi_QueryInternalPlane",
      "PcbApi_QueryBoardPrinterOptionsPlotterPen", "PcbApi_QueryBoardLayerPairAt"};
  for (const char* Block : Blocks) {
    for (TExchangeMode Mode : {ExchangeWrite, ExchangeRead}) {
      ASSERT_TRUE(FailNthCall(Block, 1, 3));
      StartLog();
      EXPECT_EQ(Wrapper->Exchange(Mode), 0) << Block;
      const std::vector<std::string> Lines = StopLog();
      EXPECT_EQ(Wrapper->ExchangeFailure, 3) << Block << " " << int(Mode);
      // The blocks after it were still exchanged.
      EXPECT_EQ(CallNames(Lines).back(), "PcbApi_QueryBoardExternalDielectrics") << Block;
    }
  }

  // The board record's own refusal is the result, and noted as well.
  ASSERT_TRUE(FailNthCall("PcbApi_QueryBoard", 1, 2));
  EXPECT_EQ(Wrapper->Exchange(ExchangeWrite), 2);
  EXPECT_EQ(Wrapper->ExchangeFailure, 2);
  // A clean exchange clears the report.
  EXPECT_EQ(Wrapper->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Wrapper->ExchangeFailure, 0);

  // A board without layer pairs is no failure.
  ASSERT_TRUE(FailNthCall("PcbApi_QueryBoardLayerPairsCount", 1, 1));
  EXPECT_EQ(Wrapper->Exchange(ExchangeRead), 0);
  EXPECT_EQ(Wrapper->ExchangeFailure, 0);
  EXPECT_EQ(Wrapper->LayerPairs->Count(), 0);
}

TEST_F(PcbEditorFaults, LayerExchangeReportsItsDielectricsRefusal) {
  TOwned<TLayerObject> Layer(NewObject<TLayerObject>(Board, TLayer(5)));
  ASSERT_TRUE(FailNthCall("PcbApi_QueryLayerDielectric", 1, 4));
  EXPECT_EQ(Layer->Exchange(ExchangeRead), 4);
  EXPECT_EQ(Layer->Exchange(ExchangeRead), 0);
  // The record's own refusal comes first.
  ASSERT_TRUE(FailNthCall("PcbApi_QueryLayer", 1, 5));
  ASSERT_TRUE(FailNthCall("PcbApi_QueryLayerDielectric", 1, 4));
  EXPECT_EQ(Layer->Exchange(ExchangeWrite), 5);
}

TEST_F(PcbEditorFaults, WalkWithoutAnIteratorSaysSoAndTheOtherWalksRun) {
  const Integer Rule = NewRuleHandle(eClearanceRule);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Board, Rule), 0);
  TOwned<TPcbBoard> Wrapper(NewObject<TPcbBoard>(Board));
  static std::vector<Integer> Visited;
  Visited.clear();
  const auto Collect = [](Integer Handle) { Visited.push_back(Handle); };

  EXPECT_TRUE(Wrapper->IterateObjects(Collect, {eRuleObject}, {NoLayer}, 0));
  EXPECT_EQ(Visited, std::vector<Integer>{Rule});

  // Of two walks (classes, then rules) the rules' gets no iterator: nothing is visited.
  Visited.clear();
  ASSERT_TRUE(FailNthCall("PcbApi_CreateIterator", 2, 0));
  StartLog();
  EXPECT_FALSE(Wrapper->IterateObjects(Collect, {eClassObject, eRuleObject}, {NoLayer}, 0));
  const std::vector<std::string> Lines = StopLog();
  EXPECT_TRUE(Visited.empty());
  EXPECT_EQ(CallsTo(Lines, "PcbApi_CreateIterator").size(), 2u);

  // The classes' walk gets none: the rules' walk still runs.
  ASSERT_TRUE(FailNthCall("PcbApi_CreateIterator", 1, 0));
  EXPECT_FALSE(Wrapper->IterateObjects(Collect, {eClassObject, eRuleObject}, {NoLayer}, 0));
  EXPECT_EQ(Visited, std::vector<Integer>{Rule});
}

// A refusal of any of a dimension's queries is the exchange's result, in both modes,
// and the queries after it still run.
TEST_F(PcbEditorFaults, DimensionExchangeReportsAnyRefusedQuery) {
  const Integer Dimension = NewDimensionHandle(eBaselineDimension);
  ASSERT_EQ(PcbApi_References_Add(Dimension, 1, 2, 3, 4), 0);
  ASSERT_EQ(PcbApi_References_Add(Dimension, 5, 6, 7, 8), 0);
  ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 9, 10), 0);
  TOwned<TPCBBaselineDimension> Wrapper(NewObject<TPCBBaselineDimension>(Dimension));
  ASSERT_EQ(Wrapper->Exchange(ExchangeRead), 0);

  for (const char* Query :
       {"PcbApi_QueryDimension", "PcbApi_QueryExtDimension", "PcbApi_References_Count",
        "PcbApi_References_At", "PcbApi_QueryBaselineDimension", "PcbApi_TextLocations_At"}) {
    for (TExchangeMode Mode : {ExchangeWrite, ExchangeRead}) {
      ASSERT_TRUE(FailNthCall(Query, 1, 6));
      StartLog();
      EXPECT_EQ(Wrapper->Exchange(Mode), 6) << Query << " " << int(Mode);
      EXPECT_EQ(CallNames(StopLog()).back(), "PcbApi_TextLocations_At") << Query;
    }
  }
  EXPECT_EQ(Wrapper->Exchange(ExchangeWrite), 0);

  // A linear dimension reports its dimension queries as well as its own.
  TOwned<TPCBLinearDimension> Linear(
      NewObject<TPCBLinearDimension>(NewDimensionHandle(eLinearDimension)));
  ASSERT_TRUE(FailNthCall("PcbApi_QueryDimension", 1, 7));
  EXPECT_EQ(Linear->Exchange(ExchangeWrite), 7);
  EXPECT_EQ(Linear->Exchange(ExchangeWrite), 0);
}

}  // namespace
