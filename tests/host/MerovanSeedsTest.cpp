// The editor stand-in's test seeds: extra bits on a reported id, list counts that differ
// from the lists, and calls that fail with a chosen status.
#include "tests/host/MerovanTestSupport.h"

namespace {

class MerovanSeedsTest : public MerovanTest {
 protected:
  void SetUp() override {
    MerovanTest::SetUp();
    SetReportedIdBits = Private<TMerovanSetReportedIdBits>("SetReportedIdBits");
    SetReportedCounts = Private<TMerovanSetReportedCounts>("SetReportedCounts");
    FailNextCalls = Private<TMerovanFailNextCalls>("FailNextCalls");
    ASSERT_TRUE(SetReportedIdBits && SetReportedCounts && FailNextCalls);
  }

  TMerovanSetReportedIdBits SetReportedIdBits = nullptr;
  TMerovanSetReportedCounts SetReportedCounts = nullptr;
  TMerovanFailNextCalls FailNextCalls = nullptr;
};

TEST_F(MerovanSeedsTest, IdBitsChangeOnlyTheReportedId) {
  const Integer Track = AddTrack(0, 0, 1000, 0);
  ASSERT_TRUE(SetReportedIdBits(Track, 0x80));
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Track), 0x84);
  // The object is still a track to everything else.
  TTrackFields F;
  EXPECT_EQ(QueryTrack(ExchangeRead, Track, F), 0);
  EXPECT_EQ(Walk(eTrackObject), std::vector<Integer>{Track});
  ASSERT_TRUE(SetReportedIdBits(Track, 0));
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Track), eTrackObject);
  EXPECT_FALSE(SetReportedIdBits(Board, 0x80));  // a board is no object
}

TEST_F(MerovanSeedsTest, ReportedCountsLeaveTheListsAlone) {
  const Integer Dimension = PcbApi_CreateDimensionObject(eBaselineDimension);
  ASSERT_EQ(PcbApi_References_Add(Dimension, 1, 2, 3, 4), 0);
  ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, 5, 6), 0);
  ASSERT_TRUE(SetReportedCounts(Dimension, 300, 250));
  Integer References = 0, Locations = 0;
  EXPECT_EQ(PcbApi_References_Count(Dimension, References), 0);
  EXPECT_EQ(PcbApi_TextLocations_Count(Dimension, Locations), 0);
  EXPECT_EQ(References, 300);
  EXPECT_EQ(Locations, 250);
  Integer V[4] = {};
  EXPECT_EQ(PcbApi_References_At(ExchangeRead, Dimension, 0, V[0], V[1], V[2], V[3]), 0);
  EXPECT_EQ(V[3], 4);
  EXPECT_EQ(PcbApi_References_At(ExchangeRead, Dimension, 1, V[0], V[1], V[2], V[3]), 1);
  EXPECT_EQ(PcbApi_TextLocations_At(ExchangeRead, Dimension, 1, V[0], V[1]), 1);
  // Adding still stops at the real capacity, not at the reported count.
  for (int I = 1; I < 200; ++I) ASSERT_EQ(PcbApi_TextLocations_Add(Dimension, I, I), 0);
  EXPECT_EQ(PcbApi_TextLocations_Add(Dimension, 0, 0), 1);

  ASSERT_TRUE(SetReportedCounts(Dimension, -1, -5));
  EXPECT_EQ(PcbApi_References_Count(Dimension, References), 0);
  EXPECT_EQ(PcbApi_TextLocations_Count(Dimension, Locations), 0);
  EXPECT_EQ(References, 1);
  EXPECT_EQ(Locations, 200);
  EXPECT_FALSE(SetReportedCounts(AddTrack(0, 0, 1, 1), 5, 5));
  PcbApi_DestroyObject(Dimension);
}

TEST_F(MerovanSeedsTest, FailingCallsGiveTheStatusWithoutEffectThenRecover) {
  const Integer Track = AddTrack(0, 0, 1000, 0);
  ASSERT_TRUE(FailNextCalls("PcbApi_QueryTrack", 2, 7));
  TTrackFields F;
  F.Width = 555;
  EnableCallLog(TRUE);
  EXPECT_EQ(QueryTrack(ExchangeWrite, Track, F), 7);
  EXPECT_EQ(QueryTrack(ExchangeRead, Track, F), 7);
  EXPECT_EQ(F.Width, 555);  // the read did not fill it either
  // Other exports are not affected, and the failed calls were recorded.
  Integer Left = 0, Bottom = 0, Right = 0, Top = 0;
  EXPECT_EQ(PcbApi_QueryObjectBoundingRectangle(Track, Left, Bottom, Right, Top), 0);
  EXPECT_EQ(CallLog().size(), 3u);
  EnableCallLog(FALSE);
  EXPECT_EQ(QueryTrack(ExchangeRead, Track, F), 0);
  EXPECT_EQ(F.Width, 100000);  // the write had changed nothing

  ASSERT_TRUE(FailNextCalls("PcbApi_DestroyObject", 5, 3));
  ASSERT_TRUE(FailNextCalls("PcbApi_DestroyObject", 0, 0));  // cancelled
  EXPECT_EQ(PcbApi_DestroyObject(Track), 0);
}

TEST_F(MerovanSeedsTest, FailuresAreSeededForStatusExportsOnly) {
  EXPECT_FALSE(FailNextCalls("PcbApi_CreateObject", 1, 2));      // gives a handle
  EXPECT_FALSE(FailNextCalls("PcbApi_GetObjectBitField2", 1, 2));  // gives nothing
  EXPECT_FALSE(FailNextCalls("PcbApi_NoSuchExport", 1, 2));
  EXPECT_FALSE(FailNextCalls("CreateDocument", 1, 2));
  EXPECT_FALSE(FailNextCalls(nullptr, 1, 2));
  EXPECT_FALSE(FailNextCalls("PcbApi_QueryArc", -1, 2));
  EXPECT_NE(PcbApi_CreateObject(eArcObject), 0);
  // Any status can be seeded, also for an export that always gives the same one.
  ASSERT_TRUE(FailNextCalls("PcbApi_QueryObjectImport_FromUser", 1, 0));
  EXPECT_EQ(PcbApi_QueryObjectImport_FromUser(1), 0);
  EXPECT_EQ(PcbApi_QueryObjectImport_FromUser(1), 1);
}

}  // namespace
