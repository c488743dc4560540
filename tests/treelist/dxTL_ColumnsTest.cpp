// The tree list's columns: cell texts that travel with moves and deletions, the
// width, row and band clamps, assigned values and their defaults, naming, placement by
// position, the visible column order and the column answers with their events, the
// inverted-selection cell frame by pixel, the edit style, the mask column, and bands
// and columns read back from a form file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Forms.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_MaskColumn.h"

namespace {

class TreeListColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(NewObject<TForm>(nullptr, CreateNew));
    Form->SetName("frmColumns");
    Tree = NewObject<TdxTreeList>(Form.get());
    Tree->SetName("tl");
  }

  TdxTreeListColumn* Column(const char* Caption = "", int BandIndex = 0, int Row = 0) {
    auto* C = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
    C->SetCaption(Caption);
    C->SetBandIndex(BandIndex);
    C->SetRowIndex(Row);
    return C;
  }
  // Top-level nodes with one text per column.
  void Rows(const std::vector<std::vector<const char*>>& Texts) {
    for (const auto& Row : Texts) {
      TdxTreeListNode* Node = Tree->Add();
      for (std::size_t I = 0; I < Row.size(); ++I)
        Node->SetStrings(static_cast<int>(I), Row[I]);
    }
  }
  std::string Texts(int Node, int Count) {
    std::string Result;
    for (int I = 0; I < Count; ++I) Result += Tree->Items(Node)->Strings(I).c_str();
    return Result;
  }
  std::vector<std::string> VisibleOrder() {
    std::vector<std::string> Result;
    for (int V = 0; V < Tree->GetVisibleColumnCount(); ++V)
      Result.push_back(Tree->Columns(Tree->GetAbsoluteColumnIndex(V))->Caption().c_str());
    return Result;
  }

  TOwned<TForm> Form;
  TdxTreeList* Tree = nullptr;
};

TEST_F(TreeListColumnsTest, CellTextsTravelWithTheirColumn) {
  TdxTreeListColumn* A = Column("a");
  Column("b");
  Column("c");
  Rows({{"a", "b", "c"}, {"1", "2", "3"}});
  Tree->Items(0)->AddChild()->SetStrings(0, "x");
  A->SetIndexValue(2);
  EXPECT_EQ(A->Index(), 2);
  EXPECT_EQ(Texts(0, 3), "bca");
  EXPECT_EQ(Texts(1, 3), "231");
  // The child had only its first text: the others are empty and travel too.
  EXPECT_EQ(Tree->Items(0)->Items(0)->Strings(2), "x");
  A->SetIndexValue(0);
  EXPECT_EQ(Texts(0, 3), "abc");
  EXPECT_EQ(Texts(1, 3), "123");
  // Out of range is clamped.
  A->SetIndexValue(9);
  EXPECT_EQ(Texts(0, 3), "bca");
}

TEST_F(TreeListColumnsTest, DeletingAColumnDropsItsTextsOnly) {
  Column("a");
  TdxTreeListColumn* B = Column("b");
  Column("c");
  Rows({{"a", "b", "c"}, {"1"}});
  // A parent that is not a tree list is refused: the column stays, with its texts.
  EXPECT_THROW(B->SetParentComponent(Form.get()), EInvalidOperation);
  EXPECT_EQ(Tree->Columns(1), B);
  EXPECT_EQ(Texts(0, 3), "abc");
  B->Free();
  EXPECT_EQ(Tree->ColumnCount(), 2);
  EXPECT_EQ(Texts(0, 2), "ac");
  EXPECT_EQ(Texts(1, 2), "1");
  EXPECT_EQ(Tree->Columns(1)->Caption(), "c");
  EXPECT_EQ(Tree->Columns(1)->Index(), 1);
}

TEST_F(TreeListColumnsTest, WidthRowAndBandAreClamped) {
  TdxTreeListColumn* A = Column("a");
  EXPECT_EQ(A->Width(), 100);
  A->SetWidth(5);
  EXPECT_EQ(A->Width(), 20);
  A->SetMinWidth(-3);
  EXPECT_EQ(A->MinWidth(), 0);
  A->SetWidth(5);
  EXPECT_EQ(A->Width(), 5);

  Tree->SetHeaderPanelRowCount(2);
  TdxTreeListColumn* B = Column("b");
  B->SetRowIndex(4);
  EXPECT_EQ(B->RowIndex(), 1);
  EXPECT_EQ(B->StoredRowIndex(), 1);
  B->SetRowIndex(-2);
  EXPECT_EQ(B->RowIndex(), 0);

  Tree->Bands()->Add();
  A->SetBandIndex(-7);
  EXPECT_EQ(A->BandIndex(), -1);
  A->SetBandIndex(9);
  EXPECT_EQ(A->BandIndex(), 1);
}

TEST_F(TreeListColumnsTest, AnUnassignedColorFollowsTheTreeList) {
  TdxTreeListColumn* A = Column("a");
  EXPECT_EQ(A->Color(), clWindow);
  Tree->SetColor(clInfoBk);
  EXPECT_EQ(A->Color(), clInfoBk);
  A->SetColor(clRed);
  Tree->SetColor(clBtnFace);
  EXPECT_EQ(A->Color(), clRed);
  EXPECT_TRUE(A->AssignedValues().Contains(cvColor));
  A->RestoreDefaults();
  EXPECT_EQ(A->Color(), clBtnFace);
  // The font: a copy of the tree list's until assigned.
  Tree->Font()->SetSize(14);
  EXPECT_EQ(A->Font()->Size(), 14);
  A->Font()->SetSize(9);
  EXPECT_TRUE(A->AssignedValues().Contains(cvFont));
  Tree->Font()->SetSize(11);
  EXPECT_EQ(A->Font()->Size(), 9);
}

TEST_F(TreeListColumnsTest, NewColumnsAreNamedAfterTheTreeListAndTheNextFreeNumber) {
  Column("a");
  Column("b");
  EXPECT_EQ(Tree->Columns(0)->Name(), "tlColumn1");
  TdxTreeListColumn* C =
      Tree->CreateColumnEx(&TdxTreeListColumn::StaticClass(), Form.get());
  EXPECT_EQ(C->Name(), "tlColumn3");
  EXPECT_EQ(C->TreeList(), Tree);
  C->Free();
  auto* Taken = NewObject<TComponent>(Form.get());
  Taken->SetName("tlColumn3");
  EXPECT_EQ(Tree->CreateColumnEx(&TdxTreeListColumn::StaticClass(), Form.get())->Name(),
            "tlColumn4");
}

TEST_F(TreeListColumnsTest, ColIndexPlacesTheColumnAmongItsBandRow) {
  Tree->Bands()->Add();
  TdxTreeListColumn* A = Column("A");
  Column("X", 1);
  TdxTreeListColumn* B = Column("B");
  TdxTreeListColumn* C = Column("C");
  EXPECT_EQ(A->ColIndex(), 0);
  EXPECT_EQ(C->ColIndex(), 2);
  A->SetColIndex(5);
  EXPECT_EQ(A->ColIndex(), 2);
  EXPECT_EQ(B->ColIndex(), 0);
  C->SetColIndex(0);
  EXPECT_EQ(C->ColIndex(), 0);
  EXPECT_EQ(B->ColIndex(), 1);
  EXPECT_EQ(A->ColIndex(), 2);
}

TEST_F(TreeListColumnsTest, VisibleOrderGoesRowByRowAcrossTheBands) {
  Tree->Bands()->Add();
  Tree->SetHeaderPanelRowCount(2);
  Column("A", 0, 0);
  Column("B", 0, 0);
  Column("C", 0, 1);
  Column("D", 1, 0);
  TdxTreeListColumn* E = Column("E", 1, 0);
  E->SetVisible(false);
  EXPECT_EQ(VisibleOrder(), (std::vector<std::string>{"A", "B", "D", "C"}));
  EXPECT_EQ(Tree->GetVisibleColumnIndex(2), 3);
  EXPECT_EQ(Tree->GetVisibleColumnIndex(4), 0);
  EXPECT_EQ(Tree->GetAbsoluteColumnIndex(4), -1);
  Tree->BuildLayoutCaches();
  EXPECT_EQ(VisibleOrder(), (std::vector<std::string>{"A", "B", "D", "C"}));
  EXPECT_EQ(Tree->GetHeaderLineText(), "A\tB\tD\tC\r\n");

  // A column in a hidden band is not shown, though it is visible itself.
  Tree->Bands()->Items(1)->SetVisible(false);
  EXPECT_FALSE(Tree->IsColumnShown(3));
  EXPECT_TRUE(Tree->Columns(3)->Visible());
  EXPECT_EQ(VisibleOrder(), (std::vector<std::string>{"A", "B", "C"}));
  // Without a band a column is not shown either.
  Tree->Columns(0)->SetBandIndex(-1);
  EXPECT_FALSE(Tree->IsColumnShown(0));
}

TEST_F(TreeListColumnsTest, AColumnThatMayNotBeSizedKeepsItsWidth) {
  TdxTreeListColumn* A = Column("A");
  A->SetWidth(60);
  EXPECT_EQ(Tree->GetColumnMinWidth(0), 20);
  Tree->SetColumnWidth(0, 10);
  EXPECT_EQ(A->Width(), 20);
  A->SetSizing(false);
  EXPECT_EQ(Tree->GetColumnMinWidth(0), 20);
  A->SetWidth(70);
  EXPECT_EQ(Tree->GetColumnMinWidth(0), 70);
  Tree->SetColumnWidth(0, 200);
  EXPECT_EQ(A->Width(), 70);
}

TEST_F(TreeListColumnsTest, ColumnActionsFireTheirEventsAfterTheChange) {
  TdxTreeListColumn* A = Column("A");
  Column("B");
  struct Handler : TObject {
    std::vector<std::string> Log;
    void Hide(TObject*, TdxTreeListColumn* C) {
      Log.push_back("hide " + std::string(C->Caption().c_str()) +
                    (C->Visible() ? " shown" : " hidden"));
    }
    void Show(TObject*, TdxTreeListColumn* C, int Band, int Row, int Col) {
      Log.push_back("show " + std::string(C->Caption().c_str()) + " " +
                    std::to_string(Band) + std::to_string(Row) + std::to_string(Col) +
                    (C->Visible() ? " shown" : ""));
    }
    void Click(TObject*, TdxTreeListColumn* C) {
      Log.push_back("click " + std::string(C->Caption().c_str()));
    }
    void Sorting(TObject*, TdxTreeListColumn* C, bool&) {
      Log.push_back("sorting " + std::to_string(C->Sorted()));
    }
    void Sorted(TObject*, TdxTreeListColumn*, TdxTreeListColumnSort& S) { S = csDown; }
    void Footer(TObject*, TdxTreeListColumn* C, bool& Exist) {
      Exist = C->Caption() == "B";
    }
  } H;
  Tree->OnHideHeader = TdxTLColumnEvent::Bind<&Handler::Hide>(&H);
  Tree->OnShowHeader = TdxTLShowHeaderEvent::Bind<&Handler::Show>(&H);
  Tree->OnColumnClick = TdxTLColumnEvent::Bind<&Handler::Click>(&H);
  Tree->OnColumnSorting = TdxTLColumnSortingEvent::Bind<&Handler::Sorting>(&H);
  Tree->HideColumn(0);
  Tree->ShowColumn(0, 0, 0, 1);
  EXPECT_EQ(A->ColIndex(), 1);
  ASSERT_EQ(A->Index(), 1);
  // Without aoAutoSort a click does not sort.
  Tree->ColumnClick(1);
  EXPECT_EQ(A->Sorted(), csNone);
  TdxTreeListOptions Options = Tree->Options();
  Options.Include(aoAutoSort);
  Tree->SetOptions(Options);
  Tree->ColumnClick(1);
  EXPECT_EQ(A->Sorted(), csUp);
  Tree->ColumnClick(1);
  EXPECT_EQ(A->Sorted(), csDown);
  Tree->ColumnClick(1, false, true);
  EXPECT_EQ(A->Sorted(), csNone);
  Tree->ColumnClick(1);
  EXPECT_EQ(H.Log,
            (std::vector<std::string>{"hide A hidden", "show A 001 shown", "click A",
                                      "click A", "sorting 0", "click A", "sorting 2",
                                      "click A", "sorting 1", "click A", "sorting 0"}));
  EXPECT_EQ(Tree->GetColumnSorted(1), csUp);
  Tree->OnColumnSorted = TdxTLColumnSortedEvent::Bind<&Handler::Sorted>(&H);
  EXPECT_EQ(Tree->GetColumnSorted(1), csDown);
  EXPECT_EQ(A->Sorted(), csUp);

  EXPECT_FALSE(Tree->IsExistFooterCell(0));
  Tree->OnIsExistFooterCell = TdxTLIsExistFooterCellEvent::Bind<&Handler::Footer>(&H);
  EXPECT_TRUE(Tree->IsExistFooterCell(0));
  EXPECT_FALSE(Tree->IsExistFooterCell(1));
}

TEST_F(TreeListColumnsTest, CustomDrawingStopsAtTheFirstHandlerThatIsDone) {
  TdxTreeListColumn* A = Column("A");
  struct Handler : TObject {
    std::vector<std::string> Log;
    bool DoneAt = false;
    void Draw(TObject*, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*,
              const AnsiString&, TFont*, TColor&, bool, bool, bool&) {
      Log.push_back("draw");
    }
    void Cell(TObject* Sender, TCanvas*, TRect, TdxTreeListNode*, TdxTreeListColumn*, bool,
              bool, bool, AnsiString& Text, TColor&, TFont*, TAlignment&, bool& Done) {
      Log.push_back(std::string(Sender->ClassName()) + " " + Text.c_str());
      Text += "+";
      Done = DoneAt;
    }
  } H;
  EXPECT_FALSE(Tree->IsCellCustomDraw(0));
  A->OnCustomDrawCell = TdxTLCustomDrawCellEvent::Bind<&Handler::Cell>(&H);
  EXPECT_TRUE(Tree->IsCellCustomDraw(0));
  Tree->OnCustomDraw = TdxTLCustomDrawEvent::Bind<&Handler::Draw>(&H);
  Tree->OnCustomDrawCell = TdxTLCustomDrawCellEvent::Bind<&Handler::Cell>(&H);
  TdxTLCellDrawArgs Args{nullptr,  {0, 0, 10, 10}, nullptr,       A,
                         false,    false,          false,         "t",
                         clWindow, nullptr,        taLeftJustify, false};
  Tree->CustomDrawCell(Args);
  EXPECT_EQ(H.Log,
            (std::vector<std::string>{"draw", "TdxTreeList t", "TdxTreeListColumn t+"}));
  H.Log.clear();
  H.DoneAt = true;
  Args.Done = false;
  Tree->CustomDrawCell(Args);
  EXPECT_EQ(H.Log, (std::vector<std::string>{"draw", "TdxTreeList t++"}));
}

TEST_F(TreeListColumnsTest, TheCellFrameFillsItsLinesAndShrinksTheRectangle) {
  HDC Screen = GetDC(nullptr);
  HDC DC = CreateCompatibleDC(Screen);
  HBITMAP Bitmap = CreateCompatibleBitmap(Screen, 12, 8);
  ReleaseDC(nullptr, Screen);
  HGDIOBJ Old = SelectObject(DC, Bitmap);
  HBRUSH White = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  auto Frame = [&](bool Left, bool Right) {
    RECT All = {0, 0, 12, 8};
    FillRect(DC, &All, White);
    TRect R = {2, 1, 10, 7};
    TdxTreeListColumn::FillCellFrame(DC, R, Left, Right, Red);
    std::string Picture;
    for (int Y = 0; Y < 8; ++Y) {
      for (int X = 0; X < 12; ++X)
        Picture += GetPixel(DC, X, Y) == RGB(255, 0, 0) ? '#' : '.';
      Picture += '\n';
    }
    return std::make_pair(R, Picture);
  };
  auto [Inner, InnerPicture] = Frame(false, false);
  EXPECT_EQ(InnerPicture,
            "............\n"
            "..########..\n"
            "............\n"
            "............\n"
            "............\n"
            "............\n"
            "..########..\n"
            "............\n");
  EXPECT_EQ(Inner.left, 2);
  EXPECT_EQ(Inner.top, 2);
  EXPECT_EQ(Inner.right, 10);
  EXPECT_EQ(Inner.bottom, 6);
  auto [Edges, EdgesPicture] = Frame(true, true);
  EXPECT_EQ(EdgesPicture,
            "............\n"
            "..########..\n"
            "..#......#..\n"
            "..#......#..\n"
            "..#......#..\n"
            "..#......#..\n"
            "..########..\n"
            "............\n");
  EXPECT_EQ(Edges.left, 3);
  EXPECT_EQ(Edges.right, 9);
  SelectObject(DC, Old);
  DeleteObject(Bitmap);
  DeleteObject(White);
  DeleteObject(Red);
  DeleteDC(DC);
}

TEST_F(TreeListColumnsTest, EditorsTakeTheirLookFromTheTreeList) {
  Column("A");
  Tree->SetShowGrid(true);
  Tree->SetLookAndFeel(lfFlat);
  TdxInplaceEdit* Editor = Tree->GetColumnEditor(0);
  ASSERT_TRUE(Editor->Is<TdxInplaceTreeListTextEdit>());
  EXPECT_EQ(Tree->GetColumnEditor(0), Editor);
  EXPECT_EQ(Tree->EditorCacheCount(), 1);
  ASSERT_TRUE(Editor->Style()->Is<TdxTreeListEditStyle>());
  EXPECT_EQ(Editor->Style()->BorderStyle(), xbsNone);
  EXPECT_EQ(Editor->Style()->ButtonStyle(), btsFlat);
  EXPECT_EQ(Editor->Style()->Edges(), dxAllEdges);
  EXPECT_FALSE(Editor->Style()->HotTrack());
  Tree->SetShowGrid(false);
  Tree->SetLookAndFeel(lfUltraFlat);
  EXPECT_EQ(Editor->Style()->BorderStyle(), xbsSingle);
  EXPECT_EQ(Editor->Style()->ButtonStyle(), btsHotFlat);
  // A value of the style's own wins.
  Editor->Style()->SetButtonStyle(btsSimple);
  EXPECT_EQ(Editor->Style()->ButtonStyle(), btsSimple);

  // A mask column has an editor of its own class in the cache.
  auto* Mask = static_cast<TdxTreeListMaskColumn*>(
      Tree->CreateColumn(&TdxTreeListMaskColumn::StaticClass()));
  Mask->SetEditMask("000;1;_");
  Mask->SetIgnoreMaskBlank(true);
  TdxInplaceEdit* MaskEditor = Tree->GetColumnEditor(1);
  ASSERT_TRUE(MaskEditor->Is<TdxInplaceTreeListMaskEdit>());
  EXPECT_EQ(Tree->EditorCacheCount(), 2);
  Mask->AssignEditorSettings(MaskEditor);
  EXPECT_EQ(static_cast<TdxInplaceMaskEdit*>(MaskEditor)->EditMask(), "000;1;_");
  EXPECT_TRUE(static_cast<TdxInplaceMaskEdit*>(MaskEditor)->IgnoreMaskBlank());
}

TEST_F(TreeListColumnsTest, AColumnHandsItsSettingsToItsEditor) {
  TdxTreeListColumn* A = Column("A");
  A->SetCharCase(ecUpperCase);
  A->SetMaxLength(4);
  A->SetReadOnly(true);
  Rows({{"text"}});
  auto* Editor = static_cast<TdxInplaceTextEdit*>(Tree->GetColumnEditor(0));
  A->AssignEditorSettings(Editor);
  EXPECT_EQ(Editor->CharCase(), ecUpperCase);
  EXPECT_EQ(Editor->MaxLength(), 4);
  EXPECT_TRUE(Editor->ReadOnly());
  Variant Value;
  Tree->AssignNodeToEditor(Tree->Items(0), Editor, Value);
  EXPECT_EQ(Editor->Text(), "text");
  Editor->SetText("new");
  A->SetNodeValueFromEditor(Tree->Items(0), Editor, Value);
  EXPECT_EQ(Tree->Items(0)->Strings(0), "new");

  // A column that disables its editor refuses editing.
  bool Allow = true;
  A->SetDisableEditor(true);
  struct Access : TdxTreeList {
    static void Editing(TdxTreeList* T, TdxTreeListNode* N, bool& Allow) {
      (T->*(&Access::DoEditing))(N, Allow);
    }
  };
  Access::Editing(Tree, Tree->Items(0), Allow);
  EXPECT_FALSE(Allow);
}

TEST_F(TreeListColumnsTest, AMaskColumnCopiesTheMaskButNotTheBlankFlag) {
  auto* A = static_cast<TdxTreeListMaskColumn*>(
      Tree->CreateColumn(&TdxTreeListMaskColumn::StaticClass()));
  auto* B = static_cast<TdxTreeListMaskColumn*>(
      Tree->CreateColumn(&TdxTreeListMaskColumn::StaticClass()));
  A->SetEditMask("!99/99/00;1;_");
  A->SetIgnoreMaskBlank(true);
  A->SetCaption("Date");
  A->SetWidth(77);
  B->Assign(A);
  EXPECT_EQ(B->EditMask(), "!99/99/00;1;_");
  EXPECT_FALSE(B->IgnoreMaskBlank());
  EXPECT_EQ(B->Caption(), "Date");
  EXPECT_EQ(B->Width(), 77);
  B->RestoreDefaults();
  EXPECT_EQ(B->EditMask(), "");
  EXPECT_EQ(B->Width(), 100);
}

TEST_F(TreeListColumnsTest, BandsAndColumnsReadBackFromAFormFileUnchanged) {
  Tree->SetParent(Form.get());
  Tree->Bands()->Add()->SetCaption("Second");
  Tree->Bands()->Items(0)->SetWidth(120);
  Tree->Bands()->Items(1)->SetFixed(bfRight);
  Tree->SetHeaderPanelRowCount(2);
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoMultiSort);
  Tree->SetOptionsEx(Ex);
  TdxTreeListColumn* A = Column("Name", 0, 0);
  A->SetWidth(80);
  A->SetColor(clYellow);
  TdxTreeListColumn* B = Column("Size", 0, 1);
  B->SetAlignment(taRightJustify);
  auto* M = static_cast<TdxTreeListMaskColumn*>(
      Tree->CreateColumn(&TdxTreeListMaskColumn::StaticClass()));
  M->SetBandIndex(1);
  M->SetEditMask("000");
  M->SetVisible(false);
  B->SetSorted(csDown);
  A->SetSorted(csUp);
  ASSERT_EQ(Tree->SortColumnIndex(0), 1);

  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_NE(Text.find("SortedOrder = 1"), AnsiString::npos);
  EXPECT_NE(Text.find("StoredRowIndex = 1"), AnsiString::npos);
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TdxTreeList>(Copy->FindComponent("tl"));
  ASSERT_NE(Read, nullptr);
  ASSERT_EQ(Read->ColumnCount(), 3);
  ASSERT_EQ(Read->Bands()->Count(), 2);
  EXPECT_EQ(Read->Bands()->Items(1)->Caption(), "Second");
  EXPECT_EQ(Read->Bands()->Items(1)->Fixed(), bfRight);
  EXPECT_EQ(Read->Bands()->Items(0)->Width(), 120);
  EXPECT_FALSE(Read->DefaultLayout());
  EXPECT_EQ(Read->HeaderPanelRowCount(), 2);
  EXPECT_EQ(Read->Columns(0)->Caption(), "Name");
  EXPECT_EQ(Read->Columns(0)->Width(), 80);
  EXPECT_EQ(Read->Columns(0)->Color(), clYellow);
  EXPECT_EQ(Read->Columns(1)->RowIndex(), 1);
  EXPECT_EQ(Read->Columns(1)->Alignment(), taRightJustify);
  auto* ReadMask = ObjectAs<TdxTreeListMaskColumn>(Read->Columns(2));
  ASSERT_NE(ReadMask, nullptr);
  EXPECT_EQ(ReadMask->EditMask(), "000");
  EXPECT_EQ(ReadMask->BandIndex(), 1);
  EXPECT_FALSE(ReadMask->Visible());
  ASSERT_EQ(Read->SortColumnCount(), 2);
  EXPECT_EQ(Read->SortColumnIndex(0), 1);
  EXPECT_EQ(Read->SortColumnIndex(1), 0);
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
}

TEST_F(TreeListColumnsTest, AssignColumnsCopiesClassesValuesAndNames) {
  Column("A")->SetWidth(50);
  Tree->CreateColumn(&TdxTreeListMaskColumn::StaticClass())->SetCaption("M");
  TOwned<TForm> Other(NewObject<TForm>(nullptr, CreateNew));
  auto* Target = NewObject<TdxTreeList>(Other.get());
  Target->CreateColumn(&TdxTreeListColumn::StaticClass());
  Target->AssignColumns(Tree);
  ASSERT_EQ(Target->ColumnCount(), 2);
  EXPECT_EQ(Target->Columns(0)->Width(), 50);
  EXPECT_EQ(Target->Columns(0)->Name(), "tlColumn1");
  EXPECT_TRUE(Target->Columns(1)->Is<TdxTreeListMaskColumn>());
  EXPECT_EQ(Target->Columns(1)->Caption(), "M");
  EXPECT_EQ(Target->Columns(1)->Owner(), Other.get());
}

}  // namespace

namespace {

TEST_F(TreeListColumnsTest, AutomaticHeaderRowsAreNotStoredAndFollowTheColumnsOnLoading) {
  Tree->SetParent(Form.get());
  Tree->SetHeaderPanelRowCount(3);
  Column("A", 0, 0);
  Column("B", 0, 1);
  Column("C", 0, 2);
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoAutoHeaderPanelHeight);
  Tree->SetOptionsEx(Ex);
  ASSERT_EQ(Tree->HeaderPanelRowCount(), 3);
  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_EQ(Text.find("HeaderPanelRowCount"), AnsiString::npos);
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TdxTreeList>(Copy->FindComponent("tl"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->HeaderPanelRowCount(), 3);
  EXPECT_TRUE(Read->OptionsEx().Contains(aoAutoHeaderPanelHeight));
  EXPECT_EQ(Read->Columns(2)->RowIndex(), 2);
}

TEST_F(TreeListColumnsTest, FreeingTheTreeListFreesItsColumnsBeforeItsNodes) {
  Column("A");
  Column("B");
  Rows({{"a", "b"}});
  struct Handler : TObject {
    TdxTreeList* Tree = nullptr;
    int ColumnsSeen = -1;
    void Deletion(TObject*, TdxTreeListNode*) { ColumnsSeen = Tree->ColumnCount(); }
  } H;
  H.Tree = Tree;
  Tree->OnDeletion = TTLExpandedEvent::Bind<&Handler::Deletion>(&H);
  const int Before = Form->ComponentCount();
  Tree->Free();
  EXPECT_EQ(H.ColumnsSeen, 0);
  EXPECT_EQ(Form->ComponentCount(), Before - 3);
}

}  // namespace

namespace {

// The width of Text in Font on a memory DC.
int MeasuredWidth(TFont* Font, const char* Text) {
  HDC DC = CreateCompatibleDC(nullptr);
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  Canvas->SetHandle(DC);
  Canvas->Font()->Assign(Font);
  const int Result = Canvas->TextWidth(Text);
  Canvas->SetHandle(nullptr);
  DeleteDC(DC);
  return Result;
}

TEST_F(TreeListColumnsTest, BestFitTakesTheWidestTextTheIndentAndTheCaption) {
  TdxTreeListColumn* A = Column("A");
  TdxTreeListColumn* B = Column("B");
  Rows({{"W", "WWWWWWWW"}, {"WWW", "W"}});
  Tree->Items(1)->AddChild()->SetStrings(0, "WWWWWWWWWWWW");
  TFont* Font = Tree->Font();
  const int Pad = 2 * (MeasuredWidth(Font, "0") / 2 + 1);
  const int Indent = 16;
  Tree->ApplyBestFit(nullptr);
  // The collapsed child counts too, with the indent of its level (the root is shown).
  EXPECT_EQ(A->Width(), MeasuredWidth(Font, "WWWWWWWWWWWW") + 2 * Indent + Pad);
  EXPECT_EQ(B->Width(), MeasuredWidth(Font, "WWWWWWWW") + Pad);
  // A long caption wins, with room for the sort mark.
  B->SetCaption("A caption longer than any text of its cells");
  Tree->FitColumn(1);
  EXPECT_EQ(B->Width(), MeasuredWidth(Tree->HeaderFont(),
                                      "A caption longer than any text of its cells") +
                            15 + Pad);
  // A column that may not be sized keeps its width.
  B->SetSizing(false);
  B->SetWidth(40);
  Tree->FitColumn(1);
  EXPECT_EQ(B->Width(), 40);
}

}  // namespace
