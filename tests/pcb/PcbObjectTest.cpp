// The object base: the common exchange, the state bits, the per-layer defaults, the
// factory and the corner geometry.
#include <gtest/gtest.h>

#include <vector>

#include "pcb/Pcbclass.h"
#include "tests/pcb/PcbEditorFixture.h"

// The header fields every object class exchanges (a field list for PCB_SEED and
// PCB_SAME).
#define HEADER_FIELDS(F) F(Flags) F(HeaderWord) F(Layer) F(HeaderByte) F(HeaderValue1) F(HeaderValue2)

using PcbObjectExchange = PcbEditorTest;

TEST_F(PcbObjectExchange, BaseHeaderMeetsTheClassPrefixInTheEditor) {
  // Written through the track's prefix order, read through QueryPrimitive's, and the
  // other way round: both orders must name the same editor fields.
  const Integer H = NewObjectHandle(eTrackObject);
  TOwned<TPcbTrack> Track(NewObject<TPcbTrack>(H));
  TSeed Seed;
  {
    TPcbTrack* Writer = Track.get();
    HEADER_FIELDS(PCB_SEED)
  }
  Track->BitField2 = 0x5A;
  Track->BitField3 = 0xA5;
  ASSERT_EQ(Track->Exchange(ExchangeWrite), 0);

  TOwned<TPCBObject> Plain(NewObject<TPCBObject>(H));
  StartLog();
  ASSERT_EQ(Plain->Exchange(ExchangeRead), 0);
  EXPECT_EQ(StopLog(), (std::vector<std::string>{Call("PcbApi_GetObjectBitField2", 1, H),
                                                  Call("PcbApi_GetObjectBitField3", 1, H),
                                                  Call("PcbApi_QueryPrimitive", 1, H)}));
  {
    TPCBObject *Writer = Track.get(), *Reader = Plain.get();
    HEADER_FIELDS(PCB_SAME)
  }
  EXPECT_EQ(Plain->BitField2, 0x5A);
  EXPECT_EQ(Plain->BitField3, 0xA5);

  Plain->HeaderValue1 = 7;
  Plain->HeaderValue2 = 8;
  Plain->HeaderByte = 9;
  ASSERT_EQ(Plain->Exchange(ExchangeWrite), 0);
  TOwned<TPcbTrack> Again(NewObject<TPcbTrack>(H));
  StartLog();
  ASSERT_EQ(Again->Exchange(ExchangeRead), 0);
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                      "PcbApi_QueryTrack"}));
  TPCBObject *Writer = Plain.get(), *Reader = Again.get();
  HEADER_FIELDS(PCB_SAME)
}

using PcbObjectFlags = PcbEditorTest;

TEST_F(PcbObjectFlags, OnlyBit3AndBit8SettersWriteAtOnce) {
  const Integer H = NewObjectHandle(eFillObject);
  TOwned<TPcbFill> Fill(NewObject<TPcbFill>(H));
  Fill->Exchange(ExchangeRead);
  Fill->Flags = 0;
  Fill->BitField3 = 0;
  Fill->Exchange(ExchangeWrite);
  TOwned<TPcbFill> Reader(NewObject<TPcbFill>(H));

  Fill->SetFlagsBit4(true);
  Fill->SetFlagsBit11(true);
  Fill->SetFlagsBit12(true);
  Fill->SetFlagsBit13(true);
  Fill->SetFlagsBit14(true);
  Fill->SetFlagsBit15(true);
  Fill->SetBitField3Both(true);
  EXPECT_EQ(Fill->Flags, 0xF810);
  EXPECT_EQ(Fill->BitField3, 0x06);
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Flags, 0);  // nothing written yet
  EXPECT_FALSE(Reader->GetBitField3Any());

  Fill->SetFlagsBit3(true);  // writes the whole copy
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Flags, 0xF818);
  EXPECT_TRUE(Reader->GetFlagsBit3() && Reader->GetFlagsBit4() && Reader->GetFlagsBit15());
  EXPECT_TRUE(Reader->GetBitField3Bit1() && Reader->GetBitField3Bit2());
  EXPECT_TRUE(Reader->GetFlagsBit8Clear());

  Fill->SetFlagsBit8Clear(false);  // sets bit 8 and writes
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Flags, 0xF918);
  EXPECT_FALSE(Reader->GetFlagsBit8Clear());
  Fill->SetFlagsBit8Clear(true);
  Reader->Exchange(ExchangeRead);
  EXPECT_EQ(Reader->Flags, 0xF818);

  Fill->SetBitField3Bit1(false);
  EXPECT_TRUE(Fill->GetBitField3Any());
  Fill->SetBitField3Bit2(false);
  EXPECT_FALSE(Fill->GetBitField3Any());
  EXPECT_EQ(Fill->BitField3, 0);
}

TEST(PcbObjectDefaults, PerLayerGettersAnswerOnlyOnTheObjectsLayer) {
  TOwned<TPcbTrack> Track(NewObject<TPcbTrack>());
  Track->Layer = 1;
  Track->X = 10;
  Track->Y = 20;
  Track->X2 = 30;
  Track->Y2 = 40;
  Track->Width = 6;
  EXPECT_EQ(Track->GetXOnLayer(2), 0);
  EXPECT_EQ(Track->GetY2OnLayer(2), 0);
  EXPECT_EQ(Track->GetWidthOnLayer(2), 0);
  EXPECT_EQ(Track->GetXOnLayer(1), 10);
  EXPECT_EQ(Track->GetY2OnLayer(1), 40);
  EXPECT_EQ(Track->GetWidthOnLayer(1), 6);
  EXPECT_EQ(Track->GetCorner4XOnLayer(1, 0), 30);
  EXPECT_EQ(Track->GetCorner4XOnLayer(3, 0), 0);
}

// --- The factory ---

using PcbObjectFactory = PcbEditorTest;

TEST_F(PcbObjectFactory, MakesTheClassOfEveryKnownIdAlreadyRead) {
  struct Case {
    TObjectId Id;
    const char* ClassName;
  };
  const Case Cases[] = {
      {eArcObject, "TPcbArc"},           {ePadObject, "TPcbPad"},
      {eViaObject, "TPcbVia"},           {eTrackObject, "TPcbTrack"},
      {eTextObject, "TPcbText"},         {eFillObject, "TPcbFill"},
      {eFromToObject, "TPcbFromTo"},     {eNetObject, "TPcbNet"},
      {eComponentObject, "TPcbComponent"}, {ePolygonObject, "TPcbPolygon"},
      {eDimensionObject, "TPcbDimension"}, {eCoordinateObject, "TPcbCoordinate"},
      {eClassObject, "TPCBObjectClass"}, {eRuleObject, "TPcbRule"},
      {eManualFromToObject, "TPcbManualFromTo"}, {eBoardOutlineObject, "TPcbBoardOutline"},
  };
  for (const Case& C : Cases) {
    const Integer H = NewObjectHandle(C.Id);
    TOwned<TPCBObject> Writer(NewObject<TPCBObject>(H));
    Writer->Exchange(ExchangeRead);
    Writer->HeaderWord = Word(0x4000 + C.Id);  // every kind exchanges HeaderWord
    Writer->Exchange(ExchangeWrite);

    TOwned<TPCBObject> Made(CreatePcbObjectFromHandle(H));
    ASSERT_TRUE(Made) << int(C.Id);
    EXPECT_EQ(Made->ClassName(), C.ClassName);
    EXPECT_EQ(Made->GetObjectId(), C.Id);
    EXPECT_EQ(Made->GetHandle(), H);
    if (C.Id != eRuleObject) {  // the rule record carries no header
      EXPECT_EQ(Made->HeaderWord, 0x4000 + C.Id) << C.ClassName;
    }
  }
}

TEST_F(PcbObjectFactory, GivesNothingForAHandleWithoutAKnownId) {
  StartLog();
  EXPECT_EQ(CreatePcbObjectFromHandle(Board), nullptr);  // id 0
  EXPECT_EQ(CreatePcbObjectFromHandle(0), nullptr);
  // Nothing was exchanged with the editor for them.
  EXPECT_EQ(CallNames(StopLog()),
            (std::vector<std::string>{"PcbApi_GetObjectIdFromObjectHandle",
                                      "PcbApi_GetObjectIdFromObjectHandle"}));
}

TEST_F(PcbObjectFactory, ObjectTextComesFromTheFactorysWrapper) {
  const Integer TextHandle = NewObjectHandle(eTextObject);
  TOwned<TPcbText> Text(NewObject<TPcbText>(TextHandle));
  Text->Exchange(ExchangeRead);
  Text->SetText("U17");
  Text->Exchange(ExchangeWrite);

  PcbString Result = "stale";
  GetObjectTextFromHandle(TextHandle, Result);
  EXPECT_EQ(Result.ToString(), "U17");
  GetObjectTextFromHandle(NewObjectHandle(eTrackObject), Result);
  EXPECT_EQ(Result.ToString(), "");
  Result = "stale";
  GetObjectTextFromHandle(0, Result);
  EXPECT_EQ(Result.ToString(), "");
  Result = "stale";
  GetObjectTextFromHandle(Board, Result);
  EXPECT_EQ(Result.ToString(), "");

  // A component is named by its name text object.
  const Integer ComponentHandle = NewObjectHandle(eComponentObject);
  TOwned<TPcbComponent> Component(NewObject<TPcbComponent>(ComponentHandle));
  Component->Exchange(ExchangeRead);
  Component->NameHandle = TextHandle;
  EXPECT_EQ(Component->GetName().ToString(), "U17");
}

// --- Corner geometry; the expected corners are worked out by hand ---

TEST(PcbCornerGeometry, BoxesTurnAboutTheirCentreAndFlatOnesGiveTheirEnds) {
  struct Case {
    const char* What;
    TCoord X1, Y1, X2, Y2;
    double Rotation;
    TCoord Expansion;
    std::vector<TCoord> X, Y;  // corners 1 to 4
  };
  const Case Cases[] = {
      // Centre (300, 500); 420 x 620 after 10 on every side.
      {"unturned", 100, 200, 500, 800, 0, 10, {90, 510, 90, 510}, {190, 190, 810, 810}},
      // The ends are halved with truncation before the sum: the centre of 3..5 is 1 + 2.
      {"truncated centre", 3, 3, 5, 5, 0, 0, {2, 4, 2, 4}, {2, 2, 4, 4}},
      // A quarter turn of the 420 x 620 box gives a 620 x 420 box.
      {"quarter turn", 100, 200, 500, 800, 90, 10, {610, 610, -10, -10}, {290, 710, 290, 710}},
      // 400 x 200 about (200, 100) by 30 degrees: corner (dx, dy) goes to
      // (dx cos 30 - dy sin 30, dx sin 30 + dy cos 30), (-200, -100) to (-123.2, -186.6).
      {"30 degrees", 0, 0, 400, 200, 30, 0, {77, 423, -23, 323}, {-87, 113, 87, 287}},
      // Height 0: the X corners are the ends, unturned; the Y corners the centre's Y.
      {"flat", 0, 50, 300, 50, 45, 0, {0, 300, 0, 300}, {50, 50, 50, 50}},
      // Width 3 about X 1 (0 + 1): -0.5 and 2.5 round to the even neighbour.
      {"flat, odd width", 0, 50, 3, 50, 0, 0, {0, 2, 0, 2}, {50, 50, 50, 50}},
      // A point without expansion: every corner is the centre.
      {"point", 40, 60, 40, 60, 10, 0, {40, 40, 40, 40}, {60, 60, 60, 60}},
  };
  for (const Case& C : Cases) {
    TOwned<TPcbFill> F(NewObject<TPcbFill>());
    F->X = C.X1, F->Y = C.Y1, F->X2 = C.X2, F->Y2 = C.Y2, F->Rotation = C.Rotation;
    const TCoord E = C.Expansion;
    EXPECT_EQ((std::vector<TCoord>{F->GetCorner1X(E), F->GetCorner2X(E), F->GetCorner3X(E),
                                   F->GetCorner4X(E)}),
              C.X)
        << C.What;
    EXPECT_EQ((std::vector<TCoord>{F->GetCorner1Y(E), F->GetCorner2Y(E), F->GetCorner3Y(E),
                                   F->GetCorner4Y(E)}),
              C.Y)
        << C.What;
  }
}
