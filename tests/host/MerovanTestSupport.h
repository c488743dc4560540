// Shared helpers of the PCB editor stand-in's tests: a fixture that loads Merovan.dll
// from the install folder, binds the module's wrappers to it (so every call goes
// through the exports as the module makes it) and opens one blank board; and small
// records for the object queries the tests use.
#pragma once

#include "tests/host/HostTestSupport.h"

#include <string>
#include <vector>

#include "host/MerovanApi.h"
#include "tests/support/EditorStandIn.h"
#include "pcb/PCBProcs.h"

struct TTrackFields {
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 0, HeaderByte = 0;
  Integer HeaderValue1 = 0, HeaderValue2 = 0, X = 0, Y = 0, X2 = 0, Y2 = 0, Width = 0;
  Integer Extra1 = 0, Extra2 = 0, Extra3 = 0;
};

struct TArcFields {
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 0, HeaderByte = 0;
  Integer HeaderValue1 = 0, HeaderValue2 = 0, X = 0, Y = 0, Radius = 0;
  double StartAngle = 0, EndAngle = 0;
  Integer LineWidth = 0, Extra1 = 0;
};

struct TTextFields {
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 0, HeaderByte = 0, TextFlag = 0;
  Integer HeaderValue1 = 0, HeaderValue2 = 0, X = 0, Y = 0, Size = 0, TextValue = 0;
  double Rotation = 0;
  PcbStringOf<254> Text;
  Integer Width = 0, Extra2 = 0, Extra3 = 0;
};

struct TPolygonFields {
  Word Flags = 0, HeaderWord = 0;
  Byte Layer = 0, HeaderByte = 0, Bytes[6] = {};
  Integer HeaderValue1 = 0, Values[3] = {}, SegmentCount = 0;
  TPolySegments Segments = {};
};

inline Integer QueryTrack(TExchangeMode Mode, Integer Handle, TTrackFields& F) {
  return PcbApi_QueryTrack(Mode, Handle, F.Flags, F.HeaderWord, F.Layer, F.HeaderValue1,
                           F.HeaderByte, F.HeaderValue2, F.X, F.Y, F.X2, F.Y2, F.Width,
                           F.Extra1, F.Extra2, F.Extra3);
}

inline Integer QueryArc(TExchangeMode Mode, Integer Handle, TArcFields& F) {
  return PcbApi_QueryArc(Mode, Handle, F.Flags, F.HeaderWord, F.Layer, F.HeaderValue1,
                         F.HeaderByte, F.HeaderValue2, F.X, F.Y, F.Radius, F.StartAngle,
                         F.EndAngle, F.LineWidth, F.Extra1);
}

inline Integer QueryText(TExchangeMode Mode, Integer Handle, TTextFields& F) {
  return PcbApi_QueryText(Mode, Handle, F.Flags, F.HeaderWord, F.Layer, F.HeaderValue1,
                          F.HeaderByte, F.HeaderValue2, F.X, F.Y, F.Size, F.TextValue,
                          F.Rotation, F.TextFlag, F.Text, F.Width, F.Extra2, F.Extra3);
}

inline Integer QueryPolygon(TExchangeMode Mode, Integer Handle, TPolygonFields& F) {
  return PcbApi_QueryPolygon(Mode, Handle, F.Flags, F.HeaderWord, F.Layer, F.HeaderValue1,
                             F.HeaderByte, F.Bytes[1], F.Bytes[2], F.Bytes[3], F.Values[0],
                             F.Values[1], F.Bytes[4], F.Bytes[5], F.Values[2], F.Bytes[0],
                             F.SegmentCount, F.Segments);
}

struct TBounds {
  Integer Left = 0, Bottom = 0, Right = 0, Top = 0;
  bool operator==(const TBounds&) const = default;
};

inline std::ostream& operator<<(std::ostream& Out, const TBounds& B) {
  return Out << "(" << B.Left << ", " << B.Bottom << ", " << B.Right << ", " << B.Top
             << ")";
}

// The editor's private exports the tests call, each TMerovan<Name>.
#define MEROVAN_TEST_EXPORTS(X)                                                         \
  X(CreateDocument) X(RenameDocument) X(CloseDocument) X(FindDocument) X(GetDocumentName) \
  X(SaveDocument) X(EnableCallLog) X(GetCallLogCount) X(GetCallLogEntry) X(ClearCallLog) \
  X(AddLayerPair) X(SetLayerState) X(DrawDocument) X(SetReportedIdBits)                   \
  X(SetReportedCounts) X(FailNextCalls) X(FailNthCall) X(GetObjectCount)

class MerovanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Editor = LoadLibraryA((TestHostRoot() + "Merovan.dll").c_str());
    ASSERT_NE(Editor, nullptr);
    BindPcbApi();
#define MEROVAN_TEST_BIND(Name)          \
  Name = Private<TMerovan##Name>(#Name); \
  ASSERT_NE(Name, nullptr) << #Name;
    MEROVAN_TEST_EXPORTS(MEROVAN_TEST_BIND)
#undef MEROVAN_TEST_BIND
    Board = CreateDocument("PCB", "Test.PcbDoc");
    ASSERT_NE(Board, 0);
  }

  void TearDown() override {
    // A SetUp that stopped early may have left exports unbound.
    if (Editor) {
      if (CloseDocument) CloseDocument(Board);
      if (EnableCallLog) EnableCallLog(FALSE);
      if (ClearCallLog) ClearCallLog();
      FreeLibrary(Editor);
    }
    BindPcbApi();
  }

  template <class Function>
  Function Private(const char* Name) {
    return HostProcAddress<Function>(Editor, Name);
  }

  std::vector<std::string> CallLog() { return TEditorCallLog(Editor).Lines(); }

  // A new object of the id, read, changed by Change, written and added to the board.
  template <class Fields, class Query, class Change>
  Integer Add(TObjectId Id, Query Exchange, Change Edit, Integer Into = -1) {
    Integer Handle = PcbApi_CreateObject(Id);
    Fields F;
    EXPECT_EQ(Exchange(ExchangeRead, Handle, F), 0);
    Edit(F);
    EXPECT_EQ(Exchange(ExchangeWrite, Handle, F), 0);
    EXPECT_EQ(PcbApi_AddObjectToContainer(Into < 0 ? Board : Into, Handle), 0);
    return Handle;
  }

  Integer AddTrack(Integer X1, Integer Y1, Integer X2, Integer Y2, Byte Layer = 1,
                   Integer Width = 100000) {
    return Add<TTrackFields>(eTrackObject, QueryTrack, [&](TTrackFields& F) {
      F.X = X1, F.Y = Y1, F.X2 = X2, F.Y2 = Y2, F.Layer = Layer, F.Width = Width;
    });
  }

  Integer AddArc(Integer X, Integer Y, Integer Radius, Integer Width, Byte Layer = 1) {
    return Add<TArcFields>(eArcObject, QueryArc, [&](TArcFields& F) {
      F.X = X, F.Y = Y, F.Radius = Radius, F.LineWidth = Width, F.Layer = Layer;
      F.StartAngle = 0, F.EndAngle = 360;
    });
  }

  TBounds Bounds(Integer Handle, Integer* Status = nullptr) {
    TBounds B;
    Integer Result =
        PcbApi_QueryObjectBoundingRectangle(Handle, B.Left, B.Bottom, B.Right, B.Top);
    if (Status) *Status = Result;
    return B;
  }

  // Every object the board's iterator yields for ObjectId and Layer.
  std::vector<Integer> Walk(Byte ObjectId = 0, Byte Layer = 0, Integer Of = -1) {
    return BoardObjects(Of < 0 ? Board : Of, ObjectId, Layer);
  }

  HMODULE Editor = nullptr;
  Integer Board = 0;
#define MEROVAN_TEST_MEMBER(Name) TMerovan##Name Name = nullptr;
  MEROVAN_TEST_EXPORTS(MEROVAN_TEST_MEMBER)
#undef MEROVAN_TEST_MEMBER
};
