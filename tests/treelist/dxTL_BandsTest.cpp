// The tree list's bands and header rows: pinning a band to an edge and what it does
// to the columns, moves, deletion renumbering, the default layout, the header-row
// clamps, the option steps that reset the sort, and the band answers with and
// without the layout caches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

namespace {

class TreeListBandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(NewObject<TForm>(nullptr, CreateNew));
    Tree = NewObject<TdxTreeList>(Form.get());
    Tree->SetName("tl");
  }

  // Bands 1..Count-1 are added to the first one.
  void Bands(int Count) {
    while (Tree->Bands()->Count() < Count) Tree->Bands()->Add();
  }
  TdxTreeListBand* Band(int Index) { return Tree->Bands()->Items(Index); }
  TdxTreeListColumn* Column(int BandIndex, int Row = 0) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetBandIndex(BandIndex);
    C->SetRowIndex(Row);
    return C;
  }
  std::vector<int> BandIndexes() {
    std::vector<int> Result;
    for (int I = 0; I < Tree->ColumnCount(); ++I)
      Result.push_back(Tree->Columns(I)->BandIndex());
    return Result;
  }

  TOwned<TForm> Form;
  TdxTreeList* Tree = nullptr;
};

TEST_F(TreeListBandsTest, ANewTreeListHasOneBandAndTheDefaultLayout) {
  EXPECT_EQ(Tree->Bands()->Count(), 1);
  EXPECT_TRUE(Tree->DefaultLayout());
  EXPECT_EQ(Tree->ColumnCount(), 0);
  EXPECT_EQ(Tree->Bands()->TreeList(), Tree);
  TdxTreeListBand* B = Band(0);
  EXPECT_EQ(B->Width(), 250);
  EXPECT_EQ(B->MinWidth(), 30);
  EXPECT_EQ(B->Alignment(), taCenter);
  EXPECT_EQ(B->TreeList(), Tree);
  EXPECT_EQ(Tree->BandRowCount(), 1);
  EXPECT_EQ(Tree->BandMaxRowCount(), 5);
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 1);
  EXPECT_EQ(Tree->HeaderPanelMaxRowCount(), 5);
  EXPECT_EQ(Tree->HeaderMinRowCount(), 1);
}

TEST_F(TreeListBandsTest, PinningMovesTheBandToItsEdgeAndTheColumnsFollow) {
  Bands(3);
  Column(0);
  Column(1);
  Column(2);
  TdxTreeListBand* First = Band(0);
  First->SetFixed(bfRight);
  EXPECT_EQ(First->Index(), 2);
  EXPECT_EQ(First->Fixed(), bfRight);
  // The columns of bands 1 and 2 now name 0 and 1; band 0's column went with it.
  EXPECT_EQ(BandIndexes(), (std::vector<int>{2, 0, 1}));
  // Index 0 on a right-pinned band does nothing.
  First->SetIndex(0);
  EXPECT_EQ(First->Index(), 2);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{2, 0, 1}));

  // A second band pinned left clears the first one pinned left.
  TdxTreeListBand* X = Band(0);
  TdxTreeListBand* Y = Band(1);
  X->SetFixed(bfLeft);
  EXPECT_EQ(X->Fixed(), bfLeft);
  Y->SetFixed(bfLeft);
  EXPECT_EQ(X->Fixed(), bfNone);
  EXPECT_EQ(Y->Fixed(), bfLeft);
  EXPECT_EQ(Y->Index(), 0);
  EXPECT_EQ(X->Index(), 1);
  EXPECT_EQ(First->Fixed(), bfRight);
}

TEST_F(TreeListBandsTest, AHiddenBandMovesToItsEdgeButStaysUnpinned) {
  Bands(3);
  TdxTreeListBand* First = Band(0);
  First->SetVisible(false);
  First->SetFixed(bfRight);
  EXPECT_EQ(First->Index(), 2);
  EXPECT_EQ(First->Fixed(), bfNone);
  // Hiding a pinned band unpins it.
  Band(0)->SetFixed(bfLeft);
  Band(0)->SetVisible(false);
  EXPECT_EQ(Band(0)->Fixed(), bfNone);
}

TEST_F(TreeListBandsTest, MovingABandCarriesItsColumnsAndShiftsTheOthers) {
  Bands(4);
  for (int I = 0; I < 4; ++I) Column(I);
  Band(0)->SetIndex(2);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{2, 0, 1, 3}));
  Band(2)->SetIndex(0);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 1, 2, 3}));
  Band(3)->SetIndex(-5);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(TreeListBandsTest, DeletingABandRenumbersTheColumns) {
  Bands(2);
  Column(0);
  Column(1);
  Column(1);
  Tree->Bands()->Delete(0);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{-1, 0, 0}));
}

TEST_F(TreeListBandsTest, BandsDeletedInsideAnUpdateKeepTheOtherColumnsInTheirBands) {
  Bands(4);
  for (int I = 0; I < 4; ++I) Column(I);
  Column(3);
  // The band a column names, or nil when it names none that exists.
  auto Holder = [this](int ColumnIndex) -> TdxTreeListBand* {
    const int Index = Tree->Columns(ColumnIndex)->BandIndex();
    return Index >= 0 && Index < Tree->Bands()->Count() ? Band(Index) : nullptr;
  };
  std::vector<TdxTreeListBand*> Holders;
  for (int I = 0; I < Tree->ColumnCount(); ++I) Holders.push_back(Holder(I));

  // A middle band by the collection, the last one freed directly, both in one update.
  Tree->BeginUpdate();
  Tree->Bands()->Delete(1);
  Band(2)->Free();
  Tree->EndUpdate();

  ASSERT_EQ(Tree->Bands()->Count(), 2);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{0, -1, 1, -1, -1}));
  EXPECT_EQ(Holder(0), Holders[0]);
  EXPECT_EQ(Holder(2), Holders[2]);
  // The band's answers agree: the moved-up band holds exactly its own column.
  EXPECT_EQ(Band(1)->RowColumnCount(0), 1);
  EXPECT_EQ(Band(1)->RowColumns(0, 0), Tree->Columns(2));

  // Nested updates: the renumbering does not wait for the outer one to end.
  Tree->BeginUpdate();
  Tree->BeginUpdate();
  Tree->Bands()->Delete(0);
  Tree->EndUpdate();
  EXPECT_EQ(BandIndexes(), (std::vector<int>{-1, -1, 0, -1, -1}));
  Tree->EndUpdate();
  EXPECT_EQ(Holder(2), Holders[2]);
}

TEST_F(TreeListBandsTest, ABandTakenOutOfTheCollectionRenumbersTheColumnsAsADeletedOne) {
  Bands(4);
  for (int I = 0; I < 4; ++I) Column(I);
  TdxTreeListBand* Last = Band(3);

  TdxTreeListBand* Out = Band(1);
  Out->SetCollection(nullptr);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{0, -1, 1, 2}));
  Out->Free();

  // Moved to another tree list: there it comes last and names none of its columns.
  auto* Other = NewObject<TdxTreeList>(Form.get());
  auto* OtherColumn = Other->CreateColumn(&TdxTreeListColumn::StaticClass());
  Band(0)->SetCollection(Other->Bands());
  EXPECT_EQ(BandIndexes(), (std::vector<int>{-1, -1, 0, 1}));
  EXPECT_EQ(Band(1), Last);
  EXPECT_EQ(Other->Bands()->Count(), 2);
  EXPECT_EQ(OtherColumn->BandIndex(), 0);
}

TEST_F(TreeListBandsTest, WidthStaysAboveTheMinimumAndNegativeMinimumsAreZero) {
  TdxTreeListBand* B = Band(0);
  B->SetWidth(10);
  EXPECT_EQ(B->Width(), 30);
  B->SetMinWidth(-4);
  EXPECT_EQ(B->MinWidth(), 0);
  B->SetWidth(10);
  EXPECT_EQ(B->Width(), 10);
  B->SetMinWidth(40);
  EXPECT_EQ(B->Width(), 40);
}

TEST_F(TreeListBandsTest, AssigningABandCopiesAllButTheDisableFlags) {
  Bands(2);
  TdxTreeListBand* From = Band(0);
  From->SetCaption("From");
  From->SetAlignment(taRightJustify);
  From->SetWidth(90);
  From->SetDisableDragging(true);
  From->SetDisableCustomizing(true);
  From->SetOnlyOwnColumns(true);
  Band(1)->Assign(From);
  EXPECT_EQ(Band(1)->Caption(), "From");
  EXPECT_EQ(Band(1)->Alignment(), taRightJustify);
  EXPECT_EQ(Band(1)->Width(), 90);
  EXPECT_TRUE(Band(1)->OnlyOwnColumns());
  EXPECT_FALSE(Band(1)->DisableDragging());
  EXPECT_FALSE(Band(1)->DisableCustomizing());
}

TEST_F(TreeListBandsTest, ASecondBandEndsTheDefaultLayoutAndTheDefaultLayoutComesBack) {
  Bands(2);
  EXPECT_FALSE(Tree->DefaultLayout());
  Bands(3);
  Column(0);
  Column(1);
  Column(2);
  Band(2)->SetVisible(false);
  Tree->SetShowBands(true);
  Tree->SetDefaultLayout(true);
  EXPECT_TRUE(Tree->DefaultLayout());
  EXPECT_EQ(Tree->Bands()->Count(), 1);
  EXPECT_TRUE(Band(0)->Visible());
  EXPECT_FALSE(Tree->ShowBands());
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 1);
  EXPECT_EQ(BandIndexes(), (std::vector<int>{0, 0, 0}));
  for (int I = 0; I < 3; ++I) EXPECT_TRUE(Tree->IsColumnShown(I)) << I;
}

TEST_F(TreeListBandsTest, HeaderPanelRowCountIsClamped) {
  Tree->SetHeaderPanelRowCount(7);
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 5);
  EXPECT_FALSE(Tree->DefaultLayout());
  Tree->SetHeaderPanelRowCount(0);
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 1);
  Tree->SetHeaderPanelRowCount(4);
  Tree->SetHeaderPanelMaxRowCount(2);
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 2);
  Tree->SetBandRowCount(9);
  EXPECT_EQ(Tree->BandRowCount(), 5);
  Tree->SetBandMaxRowCount(0);
  EXPECT_EQ(Tree->BandMaxRowCount(), 1);
  EXPECT_EQ(Tree->BandRowCount(), 1);
  Tree->SetHeaderMinRowCount(-2);
  EXPECT_EQ(Tree->HeaderMinRowCount(), 1);
}

TEST_F(TreeListBandsTest, AutoHeaderPanelHeightFollowsTheColumnsUntilRowsAreSet) {
  Tree->SetHeaderPanelRowCount(4);
  Column(0, 0);
  Column(0, 1);
  Column(0, 2);
  Tree->SetHeaderPanelRowCount(1);
  TdxTreeListOptionsEx Options = Tree->OptionsEx();
  Options.Include(aoAutoHeaderPanelHeight);
  Tree->SetOptionsEx(Options);
  // The asked rows are kept while the header has fewer.
  EXPECT_EQ(Tree->HeaderPanelRowCount(), 3);
  EXPECT_TRUE(Tree->OptionsEx().Contains(aoAutoHeaderPanelHeight));
  EXPECT_EQ(Tree->Columns(2)->RowIndex(), 2);
  Tree->SetHeaderPanelRowCount(2);
  EXPECT_FALSE(Tree->OptionsEx().Contains(aoAutoHeaderPanelHeight));
}

TEST_F(TreeListBandsTest, OptionsThatChangeTheSortResetEveryColumn) {
  TdxTreeListColumn* A = Column(0);
  TdxTreeListColumn* B = Column(0);
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoMultiSort);
  Tree->SetOptionsEx(Ex);
  A->SetSorted(csUp);
  B->SetSorted(csDown);
  ASSERT_EQ(Tree->SortColumnCount(), 2);
  EXPECT_TRUE(Tree->IsSortColumnDescending(1));
  EXPECT_EQ(Tree->SortColumnIndex(1), 1);

  // aoAnsiSort changing resets.
  Ex.Include(aoAnsiSort);
  Tree->SetOptionsEx(Ex);
  EXPECT_EQ(A->Sorted(), csNone);
  EXPECT_EQ(Tree->SortColumnCount(), 0);

  // aoMultiSort switched off resets.
  A->SetSorted(csUp);
  Ex.Exclude(aoMultiSort);
  Tree->SetOptionsEx(Ex);
  EXPECT_EQ(A->Sorted(), csNone);

  // aoAutoSort newly set resets; with it a column sorted alone clears the others.
  A->SetSorted(csUp);
  TdxTreeListOptions Options = Tree->Options();
  Options.Include(aoAutoSort);
  Tree->SetOptions(Options);
  EXPECT_EQ(A->Sorted(), csNone);
  A->SetSorted(csUp);
  B->SetSorted(csUp);
  EXPECT_EQ(A->Sorted(), csNone);
  EXPECT_EQ(Tree->SortColumnCount(), 1);
}

TEST_F(TreeListBandsTest, BandAnswersReadTheCachesAsTheyReadTheBands) {
  Bands(4);
  Band(1)->SetVisible(false);
  Band(3)->SetFixed(bfRight);
  Band(0)->SetFixed(bfLeft);
  Tree->SetHeaderPanelRowCount(3);
  Column(0, 0);
  Column(0, 2);
  Column(2, 0);
  Column(1, 0);
  auto Answers = [this] {
    std::vector<int> Result = {Tree->GetVisibleBandCount(), Tree->GetBandFixedLeft(),
                               Tree->GetBandFixedRight()};
    for (int V = -1; V <= 3; ++V) {
      Result.push_back(Tree->GetAbsoluteBandIndex(V));
      Result.push_back(Tree->GetHeaderRowCount(V));
      for (int R = 0; R < 3; ++R) {
        Result.push_back(Tree->GetHeaderColumnCount(V, R));
        Result.push_back(Tree->GetHeaderAbsoluteColumnIndex(V, R, 0));
      }
    }
    for (int A = -1; A <= 4; ++A) Result.push_back(Tree->GetVisibleBandIndex(A));
    return Result;
  };
  // Every layout pass fills the caches; inside an update they are read only until a
  // change drops them.
  ASSERT_TRUE(Tree->LayoutCachesFilled());
  Tree->BeginUpdate();
  Tree->DropLayoutCaches();
  const std::vector<int> Scanned = Answers();
  Tree->EndUpdate();
  ASSERT_TRUE(Tree->LayoutCachesFilled());
  EXPECT_EQ(Answers(), Scanned);
  EXPECT_EQ(Tree->GetVisibleBandCount(), 3);
  EXPECT_EQ(Tree->GetBandFixedLeft(), 0);
  EXPECT_EQ(Tree->GetBandFixedRight(), 2);
  // Band 0 keeps two rows: its empty middle row was packed away.
  EXPECT_EQ(Tree->GetHeaderRowCount(0), 2);
  EXPECT_EQ(Tree->Columns(1)->RowIndex(), 1);
  // A change drops the caches; the layout at the end of the update fills them again.
  Tree->BeginUpdate();
  Band(2)->SetVisible(false);
  EXPECT_FALSE(Tree->LayoutCachesFilled());
  EXPECT_EQ(Tree->GetVisibleBandCount(), 2);
  Tree->EndUpdate();
  EXPECT_TRUE(Tree->LayoutCachesFilled());
  EXPECT_EQ(Tree->GetVisibleBandCount(), 2);
}

TEST_F(TreeListBandsTest, ShowingAndHidingBandsFireTheirEvents) {
  Bands(3);
  struct Handler : TObject {
    std::vector<std::string> Log;
    void Show(TObject*, TdxTreeListBand* B, int At) {
      Log.push_back("show " + std::to_string(B->Index()) + " at " + std::to_string(At));
    }
    void Hide(TObject*, TdxTreeListBand* B) {
      Log.push_back("hide " + std::to_string(B->Index()) +
                    (B->Visible() ? " shown" : " hidden"));
    }
  } H;
  Tree->OnShowBand = TdxTLShowBandEvent::Bind<&Handler::Show>(&H);
  Tree->OnHideBand = TdxTLBandEvent::Bind<&Handler::Hide>(&H);
  TdxTreeListBand* Middle = Band(1);
  Tree->HideBand(1);
  // Shown past the last visible band, it goes to the end.
  Tree->ShowBand(1, 7);
  EXPECT_EQ(Middle->Index(), 2);
  EXPECT_TRUE(Middle->Visible());
  Tree->ShowBand(2, 0);
  EXPECT_EQ(Middle->Index(), 0);
  EXPECT_EQ(H.Log,
            (std::vector<std::string>{"hide 1 hidden", "show 2 at 7", "show 0 at 0"}));
  Tree->MoveBand(0, 2);
  EXPECT_EQ(Middle->Index(), 2);
}

TEST_F(TreeListBandsTest, BandSizingAndDraggingAskTheBandAndTheEvent) {
  Bands(2);
  EXPECT_TRUE(Tree->CanBandSizing(1));
  Band(1)->SetSizing(false);
  EXPECT_FALSE(Tree->CanBandSizing(1));
  EXPECT_FALSE(Tree->CanBandSizing(5));
  EXPECT_TRUE(Tree->CanBandDragging(0));
  Band(0)->SetDisableDragging(true);
  EXPECT_FALSE(Tree->CanBandDragging(0));
  Band(1)->SetFixed(bfRight);
  EXPECT_FALSE(Tree->CanBandDragging(1));
  Band(1)->SetFixed(bfNone);
  struct Handler : TObject {
    void Can(TObject*, TdxTreeListBand*, bool& Allow) { Allow = false; }
  } H;
  Tree->OnCanBandDragging = TdxTLCanBandDraggingEvent::Bind<&Handler::Can>(&H);
  EXPECT_FALSE(Tree->CanBandDragging(1));
  EXPECT_FALSE(Tree->IsBandOnlyOwnColumns(9));
}

}  // namespace
