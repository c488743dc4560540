// The object model against an editor that answers outside the usual range, through the
// stand-in's seeds: ids with extra high bits, list counts past the wrapper's arrays, and
// statuses other than 0 and 1.
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
  void SetUp() override {
    PcbEditorTest::SetUp();
    BindMerovanExport(Merovan().Module, "SetReportedIdBits", SetReportedIdBits);
    BindMerovanExport(Merovan().Module, "SetReportedCounts", SetReportedCounts);
    BindMerovanExport(Merovan().Module, "FailNextCalls", FailNextCalls);
    ASSERT_TRUE(SetReportedIdBits && SetReportedCounts && FailNextCalls);
  }
  void TearDown() override {
    if (FailNextCalls) FailNextCalls("PcbApi_GetMemberFromClassAt", 0, 0);
    PcbEditorTest::TearDown();
  }

  // The largest index of the calls to Name in Lines, or -1 without any.
  static Integer LargestIndex(const std::vector<std::string>& Lines, const std::string& Name) {
    Integer Largest = -1;
    for (const std::string& Line : CallsTo(Lines, Name))
      Largest = std::max(Largest, LastArgument(Line));
    return Largest;
  }

  TMerovanSetReportedIdBits SetReportedIdBits = nullptr;
  TMerovanSetReportedCounts SetReportedCounts = nullptr;
  TMerovanFailNextCalls FailNextCalls = nullptr;
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

}  // namespace
