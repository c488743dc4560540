// The editor stand-in's test seeds: extra bits on a reported id, list counts that differ
// from the lists, and calls that fail with a chosen status or answer; and its count of
// live objects.
#include "tests/host/MerovanTestSupport.h"

namespace {

using MerovanSeedsTest = MerovanTest;

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
  EXPECT_FALSE(FailNextCalls("PcbApi_CreateObject", 1, 2));        // gives a handle
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

TEST_F(MerovanSeedsTest, OnlyTheNthCallFailsAndIsRecorded) {
  const Integer Track = AddTrack(0, 0, 1000, 0);
  ASSERT_TRUE(FailNthCall("PcbApi_QueryTrack", 3, 6));
  TTrackFields F;
  EnableCallLog(TRUE);
  EXPECT_EQ(QueryTrack(ExchangeRead, Track, F), 0);
  F.Width = 777;
  EXPECT_EQ(QueryTrack(ExchangeWrite, Track, F), 0);
  F.Width = 888;
  EXPECT_EQ(QueryTrack(ExchangeWrite, Track, F), 6);
  EXPECT_EQ(QueryTrack(ExchangeRead, Track, F), 0);
  EXPECT_EQ(F.Width, 777);  // the failed write changed nothing
  EXPECT_EQ(CallLog().size(), 4u);
  EnableCallLog(FALSE);
}

TEST_F(MerovanSeedsTest, NthCallGivesTheSeededAnswerOfHandleAndCountExports) {
  ASSERT_TRUE(FailNthCall("PcbApi_CreateObject", 2, 0));
  EXPECT_NE(PcbApi_CreateObject(eTrackObject), 0);
  const int Before = GetObjectCount();
  EXPECT_EQ(PcbApi_CreateObject(eTrackObject), 0);
  EXPECT_EQ(GetObjectCount(), Before);  // nothing was made
  EXPECT_NE(PcbApi_CreateObject(eTrackObject), 0);

  // An iteration that the editor ends early.
  const std::vector<Integer> Tracks = {AddTrack(0, 0, 1, 1), AddTrack(0, 0, 2, 2),
                                       AddTrack(0, 0, 3, 3)};
  ASSERT_TRUE(FailNthCall("PcbApi_GetNextObject", 2, 0));
  EXPECT_EQ(Walk(eTrackObject), (std::vector<Integer>{Tracks[0], Tracks[1]}));
  EXPECT_EQ(Walk(eTrackObject), Tracks);

  ASSERT_TRUE(FailNthCall("PcbApi_GetBoardHandleFromFileName", 1, 0));
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString("Test.PcbDoc")), 0);
  EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(PcbString("Test.PcbDoc")), Board);

  // Any answer can be seeded.
  ASSERT_TRUE(FailNthCall("PcbApi_GetObjectIdFromObjectHandle", 1, 0x55));
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Tracks[0]), 0x55);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(Tracks[0]), eTrackObject);
}

TEST_F(MerovanSeedsTest, NthCallSeedsReplaceOthersAndAreRefusedForVoidExports) {
  const Integer First = PcbApi_CreateObject(eArcObject);
  const Integer Second = PcbApi_CreateObject(eArcObject);
  ASSERT_TRUE(FailNextCalls("PcbApi_DestroyObject", 5, 3));
  ASSERT_TRUE(FailNthCall("PcbApi_DestroyObject", 2, 4));  // replaces the five
  EXPECT_EQ(PcbApi_DestroyObject(First), 0);
  EXPECT_EQ(PcbApi_DestroyObject(Second), 4);
  EXPECT_EQ(PcbApi_DestroyObject(Second), 0);

  ASSERT_TRUE(FailNthCall("PcbApi_CreateObject", 1, 0));
  ASSERT_TRUE(FailNthCall("PcbApi_CreateObject", 0, 0));  // cancelled
  EXPECT_NE(PcbApi_CreateObject(eArcObject), 0);

  ASSERT_TRUE(FailNthCall("PcbApi_QueryArc", 1, 2));
  ASSERT_TRUE(FailNextCalls("PcbApi_QueryArc", 0, 0));  // cancels it too
  TArcFields F;
  EXPECT_EQ(QueryArc(ExchangeRead, PcbApi_CreateObject(eArcObject), F), 0);

  EXPECT_FALSE(FailNthCall("PcbApi_GetObjectBitField2", 1, 2));  // gives nothing
  EXPECT_FALSE(FailNthCall("PcbApi_SetState_AddSubscope", 1, 2));
  EXPECT_FALSE(FailNthCall("PcbApi_NoSuchExport", 1, 2));
  EXPECT_FALSE(FailNthCall("FailNthCall", 1, 2));
  EXPECT_FALSE(FailNthCall(nullptr, 1, 2));
  EXPECT_FALSE(FailNthCall("PcbApi_QueryArc", -1, 2));
}

TEST_F(MerovanSeedsTest, ObjectCountFollowsMakingDestroyingAndClosing) {
  const int Start = GetObjectCount();
  const Integer Loose = PcbApi_CreateObject(eTrackObject);
  AddTrack(0, 0, 10, 10);
  const Integer Other = CreateDocument("PCB", "Other.PcbDoc");
  ASSERT_NE(Other, 0);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Other, PcbApi_CreateRuleObject(eClearanceRule)), 0);
  ASSERT_EQ(PcbApi_AddObjectToContainer(Other, PcbApi_CreateObject(eArcObject)), 0);
  EXPECT_EQ(GetObjectCount(), Start + 4);

  // Taken off a board, an object lives on until it is destroyed.
  const Integer OnBoard = Walk(eTrackObject).at(0);
  ASSERT_EQ(PcbApi_DeleteObjectFromContainer(Board, OnBoard), 0);
  EXPECT_EQ(GetObjectCount(), Start + 4);
  ASSERT_EQ(PcbApi_DestroyObject(OnBoard), 0);
  ASSERT_EQ(PcbApi_DestroyObject(Loose), 0);
  EXPECT_EQ(GetObjectCount(), Start + 2);
  // A closed board's objects go with it.
  ASSERT_TRUE(CloseDocument(Other));
  EXPECT_EQ(GetObjectCount(), Start);
}

}  // namespace
