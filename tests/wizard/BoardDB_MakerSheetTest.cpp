// The board maker's last steps: the sheet fitted round the board's objects and the
// editor view zoomed to it.
#include "tests/wizard/MakerTemplates.h"

namespace {

// X, Y, width, height, flag 1, flag 2.
using TSheet = std::vector<Integer>;

TSheet ReadSheet(Integer Board) {
  Integer X = 0, Y = 0, W = 0, H = 0;
  Byte Flag1 = 0, Flag2 = 0;
  EXPECT_EQ(PcbApi_QuerySheet(ExchangeRead, Board, X, Y, W, H, Flag1, Flag2), 0);
  return {X, Y, W, H, Flag1, Flag2};
}

class MakerSheetTest : public MakerTemplateTest {
 protected:
  // Builds a template board seeded by SeedBoard and reads its sheet.
  TSheet BuildSheet(const std::function<void(Integer)>& SeedBoard) {
    Info->IsCustom = false;
    Info->TemplateFileName = WriteTemplate("Sheet.PcbDoc", SeedBoard);
    const Integer Board = Build();
    EXPECT_NE(Board, 0);
    return ReadSheet(Board);
  }
};

TEST_F(MakerSheetTest, SheetLeavesHalfAnInchRoundTheObjects) {
  // Two fills that together span (0, 0) to (5000 mil, 4000 mil), with the outline
  // inside them; the template's second sheet flag, 0, is kept.
  const TSheet Sheet = BuildSheet([](Integer B) {
    Seed(B, eFillObject, 1, 0, WholeMils(1000), WholeMils(2000), WholeMils(4000));
    Seed(B, eFillObject, 1, WholeMils(1000), 0, WholeMils(5000), WholeMils(2000));
    SeedOutline(B, WholeMils(1000), WholeMils(1000), WholeMils(4000), WholeMils(3000));
    Integer X = 0, Y = 0, W = 0, H = 0;
    Byte Flag1 = 0, Flag2 = 0;
    PcbApi_QuerySheet(ExchangeRead, B, X, Y, W, H, Flag1, Flag2);
    Flag2 = 0;
    PcbApi_QuerySheet(ExchangeWrite, B, X, Y, W, H, Flag1, Flag2);
  });
  EXPECT_EQ(Sheet, (TSheet{-5000000, -5000000, 60000000, 50000000, 1, 0}));
}

TEST_F(MakerSheetTest, ObjectWithoutBoundsIsSkipped) {
  // The first object, a dimension without any point, reports no bounds.
  const TSheet Sheet = BuildSheet([](Integer B) {
    EXPECT_EQ(PcbApi_AddObjectToContainer(B, PcbApi_CreateDimensionObject(6)), 0);
    Seed(B, eFillObject, 1, WholeMils(1000), WholeMils(1000), WholeMils(5000), WholeMils(4000));
    SeedOutline(B, WholeMils(2000), WholeMils(2000), WholeMils(4000), WholeMils(3000));
  });
  EXPECT_EQ(Sheet, (TSheet{5000000, 5000000, 50000000, 40000000, 1, 1}));
}

// A custom board's arc sides bulge out to the edges of its outer box and no further,
// so its sheet is that of a rectangular board of the box's size.
TEST_F(MakerSheetTest, AnArcSidedBoardsSheetIsThatOfItsOuterBox) {
  const auto SheetOf = [&](Byte Shape, const std::vector<TBoardSide>& ArcSides) {
    FreeAndNil(Info);
    Info = NewObject<TBoardInfoFromUser>();
    Info->OutlineShape = Shape;
    Info->BoardWidth = WholeMils(5000);
    Info->BoardHeight = WholeMils(4000);
    for (TBoardSide Side : ArcSides) {
      Info->ArcSide[Side] = true;
      Info->ArcHeight[Side] = WholeMils(Side == bsTop || Side == bsBottom ? 600 : 400);
    }
    const Integer Board = Build();
    EXPECT_NE(Board, 0);
    return ReadSheet(Board);
  };
  const TSheet Box = SheetOf(osRectangular, {});
  const std::vector<TBoardSide> Cases[] = {
      {bsTop, bsRight}, {bsLeft}, {bsTop}, {bsRight}, {bsBottom},
      {bsLeft, bsTop, bsRight, bsBottom}};
  for (const auto& ArcSides : Cases) {
    const TSheet Sheet = SheetOf(osCustom, ArcSides);
    SCOPED_TRACE(testing::PrintToString(ArcSides));
    ASSERT_EQ(Sheet.size(), Box.size());
    // An arc's top lands on the box's edge to within the rounding of its centre.
    for (std::size_t I = 0; I < Box.size(); ++I) EXPECT_NEAR(Sheet[I], Box[I], 4) << I;
  }
}

TEST_F(MakerSheetTest, BoardWithoutObjectsKeepsItsSheet) {
  Info->IsCustom = false;
  LoadEditor();
  Integer Board = 0;
  const std::vector<std::string> Log = Logged([&] { Board = Build(); });
  ASSERT_NE(Board, 0);
  // The blank board's sheet, read and never written.
  EXPECT_EQ(ReadSheet(Board), (TSheet{10000000, 10000000, 100000000, 80000000, 0, 1}));
  EXPECT_EQ(Starting(Log, "PcbApi_QuerySheet 1 ").size(), 1u);
  EXPECT_TRUE(Starting(Log, "PcbApi_QuerySheet 0 ").empty());
}

// --- The zoom ---

using MakerZoomTest = MakerTest;

TEST_F(MakerZoomTest, ZoomRunsOnTheDocumentsEditorView) {
  Info->IsCustom = false;
  ASSERT_NE(Build(), 0);
  THostDocument* Document = Host->FindDocument(DocumentName);
  ASSERT_NE(Document, nullptr);
  ASSERT_EQ(Host->Processes().size(), 1u);
  const THostProcessRecord& Zoom = Host->Processes()[0];
  EXPECT_EQ(Zoom.Process, "PCB:Zoom");
  EXPECT_EQ(Zoom.Parameters, "Action=Sheet");
  EXPECT_EQ(Zoom.BufferLength, 255);
  EXPECT_EQ(Zoom.View, static_cast<IServerDocumentView*>(Document->View(0)));
  EXPECT_TRUE(Zoom.Accepted);
}

// A view of a given kind that counts its references, and a document of such views.
class TFakeView : public IServerDocumentView {
 public:
  explicit TFakeView(const char* AName) : Name(AName) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Result) override {
    *Result = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --Refs; }
  const char* STDMETHODCALLTYPE GetViewName() override { return Name; }
  const char* Name;
  ULONG Refs = 1;
};

class TFakeDocument : public IServerDocument {
 public:
  explicit TFakeDocument(std::vector<TFakeView*> AViews) : Views(std::move(AViews)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Result) override {
    *Result = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE DoFileLoad() override {}
  int STDMETHODCALLTYPE GetCount() override { return static_cast<int>(Views.size()); }
  const char* STDMETHODCALLTYPE GetFileName() override { return "Other.Doc"; }
  void STDMETHODCALLTYPE SetFileName(const char*) override {}
  void STDMETHODCALLTYPE GetView(int Index, IServerDocumentView** View) override {
    *View = Views[Index];
    Views[Index]->AddRef();
  }
  std::vector<TFakeView*> Views;
};

TEST_F(MakerZoomTest, FirstEditorViewInAnyLetterCaseOrNoView) {
  TFakeView Other("SCHEditor"), Lower("pcbeditor"), Upper("PCBEditor");
  TFakeDocument WithEditor({&Other, &Lower, &Upper});
  TFakeDocument WithoutEditor({&Other});
  ZoomDocumentToSheet(&WithEditor);
  ZoomDocumentToSheet(&WithoutEditor);
  ASSERT_EQ(Host->Processes().size(), 2u);
  EXPECT_EQ(Host->Processes()[0].View, &Lower);
  EXPECT_EQ(Host->Processes()[1].View, nullptr);
  EXPECT_EQ(Host->Processes()[1].Process, "PCB:Zoom");
  EXPECT_EQ(Host->Processes()[1].Parameters, "Action=Sheet");
  // Every reference taken was given back.
  EXPECT_EQ(Other.Refs + Lower.Refs + Upper.Refs, 3u);
}

}  // namespace
