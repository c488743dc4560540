// The tree list's published surface: the defaults of a new control, a form file that
// writes only what differs and one that holds the profile page's tree list with its
// handlers, the option sets' exclusions, the clamps, the option questions, the focus
// and top-node events, the data questions without their events, and the drag events
// bound from a form file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/StrUtils.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

using namespace uitest;

namespace {

// The page of the form file test: the tree list and the three handlers it binds.
class TTreeListTestForm : public TForm {
  TCLASS_DECL(TTreeListTestForm, TForm)
 public:
  explicit TTreeListTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TTreeListTestForm(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {}

  TdxTreeList* treProfiles = nullptr;
  std::vector<std::string> Log;

  void treProfilesDblClick(TObject*) { Log.push_back("dblclick"); }
  void treProfilesChangeNode(TObject*, TdxTreeListNode*, TdxTreeListNode* Node) {
    Log.push_back("change " + std::string(Node->Strings(0).c_str()));
  }
  void treProfilesDeletion(TObject*, TdxTreeListNode* Node) {
    Log.push_back("delete " + std::string(Node->Strings(0).c_str()));
  }
  void treProfilesContextPopup(TObject*, TPoint MousePos, bool& Handled) {
    Log.push_back("popup " + std::to_string(MousePos.x) + "," + std::to_string(MousePos.y));
    Handled = true;
  }
  void treDragStart(TObject*, TDragObject*&) { Log.push_back("start"); }
  void treDragOver(TObject*, TObject*, int X, int Y, TDragState, bool& Accept) {
    Log.push_back("over " + std::to_string(X) + "," + std::to_string(Y));
    Accept = true;
  }
  void treDragDrop(TObject*, TObject*, int X, int Y) {
    Log.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
  }
  void treDragEnd(TObject*, TObject*, int X, int Y) {
    Log.push_back("end " + std::to_string(X) + "," + std::to_string(Y));
  }
};
TCLASS_IMPL(TTreeListTestForm)

// A tree list with three visible columns, shown in the order 2, 0, 1.
class TColumnsTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;

 protected:
  int GetVisibleColumnCount() const override { return 3; }
  int GetAbsoluteColumnIndex(int VisibleIndex) const override {
    return (VisibleIndex + 2) % 3;
  }
  AnsiString GetHeaderColumnText(int AbsoluteIndex) const override {
    return "H" + IntToStr(AbsoluteIndex);
  }
};

class TreeListPublishedTest : public UiTest {
 protected:
  static void SetUpTestSuite() {
    RegisterClass(&TTreeListTestForm::StaticClass());
    TPublish<TTreeListTestForm> P;
    P.Field("treProfiles", &TTreeListTestForm::treProfiles);
    P.Method<&TTreeListTestForm::treProfilesDblClick>("treProfilesDblClick");
    P.Method<&TTreeListTestForm::treProfilesChangeNode>("treProfilesChangeNode");
    P.Method<&TTreeListTestForm::treProfilesDeletion>("treProfilesDeletion");
    P.Method<&TTreeListTestForm::treProfilesContextPopup>("treProfilesContextPopup");
    P.Method<&TTreeListTestForm::treDragStart>("treDragStart");
    P.Method<&TTreeListTestForm::treDragOver>("treDragOver");
    P.Method<&TTreeListTestForm::treDragDrop>("treDragDrop");
    P.Method<&TTreeListTestForm::treDragEnd>("treDragEnd");
  }
  static void TearDownTestSuite() {
    UnRegisterPublished(&TTreeListTestForm::StaticClass());
    UnRegisterClass(&TTreeListTestForm::StaticClass());
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  TdxTreeList* NewTree() {
    Tree = AddChild<TColumnsTreeList>(ShownForm());
    Tree->SetBounds(0, 0, 200, 200);
    return Tree;
  }
  TdxTreeListNode* AddNode(const char* Text) {
    TdxTreeListNode* Node = Tree->Add();
    Node->SetStrings(0, Text);
    return Node;
  }

  TdxTreeList* Tree = nullptr;

 public:
  std::vector<std::string> Log;
  void ChangeNode(TObject*, TdxTreeListNode*, TdxTreeListNode*) { Log.push_back("node"); }
  void ChangeColumn(TObject*, TdxTreeListNode*, int Column) {
    Log.push_back("column " + std::to_string(Column));
  }
  void ChangeTop(TObject*) { Log.push_back("top"); }
};

TEST_F(TreeListPublishedTest, ANewTreeListHoldsEveryDefault) {
  NewTree();
  struct Row {
    const char* Name;
    Int64 Value;
  };
  const Row Defaults[] = {
      {"BorderStyle", bsSingle}, {"Color", clWindow}, {"TabStop", 1}, {"ParentColor", 0},
      {"ArrowsColor", clLime}, {"AutoExpandOnSearch", 1}, {"AutoSearchColor", clNone},
      {"AutoSearchTextColor", clNone}, {"DblClkExpanding", 1}, {"GroupNodeColor", clBtnFace},
      {"GroupNodeTextColor", clNone}, {"RowFooterColor", cl3DLight},
      {"RowFooterTextColor", clWindowText}, {"HeaderColor", clBtnFace},
      {"BandColor", clBtnFace}, {"HideFocusRect", 1}, {"HideSelection", 1},
      {"IndentDesc", 20}, {"FixedBandLineColor", clWindowFrame}, {"FixedBandLineWidth", 2},
      {"LookAndFeel", lfStandard}, {"MaxRowLineCount", -1},
      {"Options", DefaultTreeListOptions.Bits()}, {"OptionsEx", DefaultTreeListOptionsEx.Bits()},
      {"PaintStyle", psStandard}, {"DefaultRowHeight", 18}, {"RowSeparatorLineWidth", 1},
      {"PreviewLines", 2}, {"HighlightColor", clHighlight},
      {"HighlightTextColor", clHighlightText}, {"TreeLineColor", clBtnShadow},
      {"TreeLineStyle", tlDot}, {"HideSelectionColor", clBtnFace},
      {"HideSelectionTextColor", clBtnText}, {"WaitForExpandNodeTime", 500},
      {"ScrollBars", ssBoth}, {"CustomizingRowCount", 11}, {"ShowBands", 0},
      {"ShowButtons", 1}, {"ShowGrid", 0}, {"ShowPreviewGrid", 1}, {"ShowHeader", 1},
      {"ShowLines", 1}, {"ShowRoot", 1}, {"ShowRowFooter", 0}, {"SimpleCustomizeBox", 0},
      {"ShowHiddenInCustomizeBox", 0}, {"ShowIndicator", 0}, {"ShowFooter", 0},
      {"GridLineColor", clNone}};
  for (const Row& R : Defaults) EXPECT_EQ(GetOrdProp(Tree, R.Name), R.Value) << R.Name;
  for (const char* Name : {"IniFileName", "IniSectionName", "RegistryPath"})
    EXPECT_EQ(GetStrProp(Tree, Name), "") << Name;
  EXPECT_EQ(Tree->Images(), nullptr);
  EXPECT_EQ(Tree->StateImages(), nullptr);
  EXPECT_EQ(Tree->HeaderFont()->Height(), Tree->Font()->Height());
}

TEST_F(TreeListPublishedTest, AFormFileKeepsOnlyWhatDiffersFromTheDefaults) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("frmCopy");
  auto* List = NewObject<TdxTreeList>(Form.get());
  List->SetName("treList");
  List->SetParent(Form.get());
  EXPECT_EQ(List->FormName(), "frmCopy");
  List->SetShowGrid(true);
  List->SetIndentDesc(12);
  AnsiString Text = WriteComponentText(Form.get());
  const std::string Own = std::string(Text.c_str()).substr(Text.find("treList"));
  EXPECT_NE(Own.find("ShowGrid = True"), std::string::npos);
  EXPECT_NE(Own.find("IndentDesc = 12"), std::string::npos);
  for (const char* Default : {"ShowHeader", "ArrowsColor", "Options", "BorderStyle",
                              "DefaultRowHeight", "HeaderFont", "ScrollBars", "Color ="})
    EXPECT_EQ(Own.find(Default), std::string::npos) << Default;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TdxTreeList>(Copy->FindComponent("treList"));
  ASSERT_NE(Read, nullptr);
  EXPECT_TRUE(Read->ShowGrid());
  EXPECT_EQ(Read->IndentDesc(), 12);
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
}

TEST_F(TreeListPublishedTest, TheProfilePageFormLoadsItsTreeListAndBindsItsHandlers) {
  TOwned<TTreeListTestForm> Form(NewObject<TTreeListTestForm>(nullptr));
  TdxTreeList* List = Form->treProfiles;
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(List->Align(), alClient);
  EXPECT_FALSE(List->HideSelection());
  EXPECT_EQ(List->LookAndFeel(), lfFlat);
  EXPECT_TRUE(List->Options().Contains(aoAutoWidth));
  EXPECT_EQ(List->TreeLineColor(), clGrayText);
  EXPECT_FALSE(List->ShowRoot());
  EXPECT_EQ(List->FormName(), "frmTreeList");
  EXPECT_TRUE(List->DefaultLayout());
  EXPECT_EQ(List->Bands()->Count(), 1);
  ASSERT_EQ(List->ColumnCount(), 1);
  EXPECT_EQ(List->Columns(0)->Name(), "MainColumn");
  EXPECT_EQ(List->GetAbsoluteColumnIndex(0), 0);

  TdxTreeListNode* A = List->Add();
  A->SetStrings(0, "A");
  TdxTreeListNode* B = List->Add();
  B->SetStrings(0, "B");
  B->SetFocused(true);
  List->OnDblClick(List);
  // The menu key's request reaches the bound OnContextPopup, which takes it.
  EXPECT_EQ(SendMessageA(List->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List->Handle()),
                         MAKELPARAM(-1, -1)),
            1);
  // Destroying the form frees every node through OnDeletion.
  std::vector<std::string>& Log = Form->Log;
  Log.push_back("free");
  EXPECT_EQ(Log, (std::vector<std::string>{"change B", "dblclick", "popup -1,-1", "free"}));
  FreeAndNil(List);
  EXPECT_EQ(Log, (std::vector<std::string>{"change B", "dblclick", "popup -1,-1", "free",
                                           "delete A", "delete B"}));
}

// A tree list read from a form file binds its drag-and-drop handlers by name, and
// writes them back.
TEST_F(TreeListPublishedTest, AFormFileBindsTheDragEvents) {
  const AnsiString Text =
      "form frmDrag: TTreeListTestForm\n"
      "  component treDrag: TdxTreeList\n"
      "    OnDragDrop = treDragDrop\n"
      "    OnDragOver = treDragOver\n"
      "    OnEndDrag = treDragEnd\n"
      "    OnStartDrag = treDragStart\n"
      "  end\n"
      "end\n";
  TOwned<TTreeListTestForm> Form(NewObject<TTreeListTestForm>(nullptr, CreateNew));
  ReadComponentText(Form.get(), Text, "drag");
  auto* List = ObjectAs<TdxTreeList>(Form->FindComponent("treDrag"));
  ASSERT_NE(List, nullptr);
  ASSERT_TRUE(List->OnStartDrag.Assigned());
  ASSERT_TRUE(List->OnDragOver.Assigned());
  ASSERT_TRUE(List->OnDragDrop.Assigned());
  ASSERT_TRUE(List->OnEndDrag.Assigned());
  TDragObject* Drag = nullptr;
  List->OnStartDrag(List, Drag);
  bool Accept = false;
  List->OnDragOver(List, List, 1, 2, dsDragMove, Accept);
  EXPECT_TRUE(Accept);
  List->OnDragDrop(List, List, 3, 4);
  List->OnEndDrag(List, nullptr, 5, 6);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"start", "over 1,2", "drop 3,4", "end 5,6"}));
  const std::string Written = WriteComponentText(Form.get()).c_str();
  for (const char* Line : {"OnDragDrop = treDragDrop", "OnDragOver = treDragOver",
                           "OnEndDrag = treDragEnd", "OnStartDrag = treDragStart"})
    EXPECT_NE(Written.find(Line), std::string::npos) << Line;
}

TEST_F(TreeListPublishedTest, RowSelectAndInvertSelectExcludeEachOther) {
  NewTree();
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoInvertSelect);
  Tree->SetOptionsEx(Ex);
  EXPECT_FALSE(Tree->Options().Contains(aoRowSelect));
  TdxTreeListOptions Options = Tree->Options();
  Options.Include(aoRowSelect);
  Tree->SetOptions(Options);
  EXPECT_FALSE(Tree->OptionsEx().Contains(aoInvertSelect));
  EXPECT_TRUE(Tree->Options().Contains(aoRowSelect));
}

TEST_F(TreeListPublishedTest, SettersClampAndOutlookShowsTheRoot) {
  NewTree();
  Tree->SetMaxRowLineCount(-5);
  Tree->SetIndentDesc(-1);
  Tree->SetFixedBandLineWidth(0);
  Tree->SetRowSeparatorLineWidth(0);
  Tree->SetPreviewLines(-3);
  Tree->SetCustomizingRowCount(1);
  EXPECT_EQ(Tree->MaxRowLineCount(), -1);
  EXPECT_EQ(Tree->IndentDesc(), 0);
  EXPECT_EQ(Tree->FixedBandLineWidth(), 1);
  EXPECT_EQ(Tree->RowSeparatorLineWidth(), 1);
  EXPECT_EQ(Tree->PreviewLines(), -1);
  EXPECT_EQ(Tree->CustomizingRowCount(), 2);

  Tree->SetShowRoot(false);
  Tree->SetPaintStyle(psOutlook);
  EXPECT_TRUE(Tree->ShowRoot());
  Tree->SetPaintStyle(psStandard);
  EXPECT_FALSE(Tree->ShowRoot());
}

TEST_F(TreeListPublishedTest, OptionQuestionsCombineOptions) {
  NewTree();
  Tree->SetOptions({aoEditing});
  Tree->SetOptionsEx({aoMouseScroll, aoEnterThrough, aoRowAutoHeight});
  EXPECT_FALSE(Tree->IsMouseScroll());
  EXPECT_FALSE(Tree->IsEnterThrough());
  Tree->SetOptions({aoEditing, aoRowSelect});
  Tree->SetOptionsEx({aoMouseScroll, aoEnterThrough, aoEnterShowEditor, aoRowAutoHeight});
  EXPECT_TRUE(Tree->IsMouseScroll());
  EXPECT_TRUE(Tree->IsEnterThrough());
  EXPECT_TRUE(Tree->IsRowAutoHeight());
  Tree->SetMaxRowLineCount(0);
  EXPECT_FALSE(Tree->IsRowAutoHeight());
}

TEST_F(TreeListPublishedTest, FocusAndTopNodeEventsFireInOrder) {
  NewTree();
  TdxTreeListNode* A = AddNode("A");
  TdxTreeListNode* B = AddNode("B");
  Tree->OnChangeNode = TTLChangeNodeEvent::Bind<&TreeListPublishedTest::ChangeNode>(this);
  Tree->OnChangeColumn = TTLChangeColumnEvent::Bind<&TreeListPublishedTest::ChangeColumn>(this);
  Tree->OnChangeTopVisibleNode = TNotifyEvent::Bind<&TreeListPublishedTest::ChangeTop>(this);

  Tree->SetTopVisibleNode(Tree->TopVisibleNode());
  EXPECT_EQ(Log, (std::vector<std::string>{"top"}));
  Log.clear();
  // Under aoRowSelect the row is focused as a whole: another column changes nothing.
  Tree->SetFocusedNode(A, 2, false);
  EXPECT_TRUE(Log.empty());
  TdxTreeListOptions Options = Tree->Options();
  Options.Exclude(aoRowSelect);
  Tree->SetOptions(Options);
  Log.clear();
  Tree->SetFocusedNode(B, 2, false);
  EXPECT_EQ(Log, (std::vector<std::string>{"node", "column 2"}));
}

TEST_F(TreeListPublishedTest, DataQuestionsWithoutEventsAnswerEmpty) {
  NewTree();
  TdxTreeListNode* A = AddNode("A");
  Tree->SetShowRowFooter(true);
  EXPECT_FALSE(Tree->IsLevelFooter(0));
  EXPECT_FALSE(Tree->IsExistRowFooterCell(A, 0, 0));

  std::vector<std::string> Received;
  auto Record = [&Received](AnsiString& Text) {
    Received.push_back(Text.c_str());
    Text = "set";
  };
  struct Handler : TObject {
    std::function<void(AnsiString&)> Fn;
    void Preview(TObject*, TdxTreeListNode*, AnsiString& Text) { Fn(Text); }
    void Footer(TObject*, TdxTreeListNode*, TdxTreeListColumn*, int, AnsiString& Text) {
      Fn(Text);
    }
  } H;
  H.Fn = Record;
  Tree->OnGetPreviewText = TdxTLGetPreviewTextEvent::Bind<&Handler::Preview>(&H);
  Tree->OnGetFooterCellText = TdxTLGetFooterCellTextEvent::Bind<&Handler::Footer>(&H);
  AnsiString Text = "stale";
  Tree->GetPreviewText(A, Text);
  EXPECT_EQ(Text, "set");
  Text = "stale";
  Tree->GetFooterCellText(A, 0, 0, Text);
  EXPECT_EQ(Text, "set");
  EXPECT_EQ(Received, (std::vector<std::string>{"", ""}));
}

TEST_F(TreeListPublishedTest, RowTextsFollowTheVisibleColumnOrder) {
  NewTree();
  TdxTreeListNode* A = AddNode("a0");
  A->SetStrings(2, "a2");
  EXPECT_EQ(Tree->GetHeaderLineText(), "H2\tH0\tH1\r\n");
  EXPECT_EQ(Tree->GetNodeLineText(A), "a2\ta0\t");
}

TEST_F(TreeListPublishedTest, BorderFollowsCtl3DAndBorderStyleInANewWindow) {
  NewTree();
  HWND Before = Tree->Handle();
  EXPECT_TRUE(GetWindowLongA(Before, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  Tree->SetCtl3D(false);
  HWND Flat = Tree->Handle();
  EXPECT_FALSE(GetWindowLongA(Flat, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetWindowLongA(Flat, GWL_STYLE) & WS_BORDER);
  Tree->SetBorderStyle(bsNone);
  EXPECT_FALSE(GetWindowLongA(Tree->Handle(), GWL_STYLE) & WS_BORDER);
}

TEST_F(TreeListPublishedTest, AFreedImageListIsForgotten) {
  NewTree();
  TImageList* Images = NewObject<TImageList>(nullptr);
  Tree->SetImages(Images);
  Tree->SetStateImages(Images);
  Images->Free();
  EXPECT_EQ(Tree->Images(), nullptr);
  EXPECT_EQ(Tree->StateImages(), nullptr);
}

// A tree list whose selection starts at a given node.
class TReferenceTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  TdxTreeListNode* Reference = nullptr;

 protected:
  TdxTreeListNode* GetSelectionReferenceNode() override { return Reference; }
};

TEST_F(TreeListPublishedTest, OnlyNodesOfTheReferenceParentJoinWithoutExtMultiSelect) {
  auto* List = AddChild<TReferenceTreeList>(ShownForm());
  Tree = List;
  TdxTreeListNode* A = List->Add();
  TdxTreeListNode* B = List->Add();
  TdxTreeListNode* Child = A->AddChild();
  EXPECT_TRUE(List->CanNodeSelected(Child));  // nothing selected yet
  List->Reference = A;
  EXPECT_TRUE(List->CanNodeSelected(B));
  EXPECT_FALSE(List->CanNodeSelected(Child));
  TdxTreeListOptions Options = List->Options();
  Options.Include(aoExtMultiSelect);
  List->SetOptions(Options);
  EXPECT_TRUE(List->CanNodeSelected(Child));
}

}  // namespace
