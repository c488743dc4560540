// Times the tree list's sort and node stream on 100,000 nodes (1,000 top-level nodes
// with 99 children each, two texts a node: a group of ten values and a numbered item):
//
// - sort: every level sorted by both columns (the group ascending, the item
//   descending, in the natural order) against the system tree view's
//   TVM_SORTCHILDRENCB sent for the root and for every parent, whose callback makes
//   the same comparison; both start from the same shuffled order;
// - stream: the tree saved to a memory stream and loaded back from it, against
//   building the same tree with Add and Strings inside an update.
//
// Each time is the best of several runs; each line ends with its ratio.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "classlib/FloatConv.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "skin/KsUtils.h"
#include "treelist/Units.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

namespace {

using bench::Fixed;
using bench::Milliseconds;

constexpr int TopCount = 1000, ChildCount = 99;
constexpr int Runs = 5;

double BestOf(const std::function<void()>& Reset, const std::function<void()>& Work) {
  return bench::BestOf(Runs, Reset, Work);
}

// A node's two texts and its place in the shuffled order.
struct TRow {
  AnsiString Group;
  AnsiString Item;
  int Shuffle;
};
std::vector<TRow> Rows;

// The comparison both sides make: the group ascending, then the item descending;
// values with the same characters pass on to the next column.
int SameComparison(const TRow& A, const TRow& B) {
  if (A.Group != B.Group)
    if (int Result = CompareNatural(A.Group, B.Group)) return Result;
  if (A.Item != B.Item)
    if (int Result = CompareNatural(A.Item, B.Item)) return -Result;
  return 0;
}

int CALLBACK ViewCompare(LPARAM A, LPARAM B, LPARAM) { return SameComparison(Rows[A], Rows[B]); }
int CALLBACK ViewShuffle(LPARAM A, LPARAM B, LPARAM) {
  return Rows[A].Shuffle - Rows[B].Shuffle;
}

class TShuffle : public TObject {
 public:
  void Compare(TObject*, TdxTreeListNode* A, TdxTreeListNode* B, int& Result) {
    Result = Rows[reinterpret_cast<INT_PTR>(A->Data())].Shuffle -
             Rows[reinterpret_cast<INT_PTR>(B->Data())].Shuffle;
  }
};

void Build(TdxTreeList* Tree) {
  Tree->BeginUpdate();
  int K = 0;
  for (int T = 0; T < TopCount; ++T) {
    TdxTreeListNode* Top = Tree->Add();
    for (int C = 0; C <= ChildCount; ++C, ++K) {
      TdxTreeListNode* Node = C == 0 ? Top : Top->AddChild();
      Node->SetData(reinterpret_cast<void*>(static_cast<INT_PTR>(K)));
      Node->SetStrings(0, Rows[K].Group);
      Node->SetStrings(1, Rows[K].Item);
    }
  }
  Tree->EndUpdate();
}

}  // namespace

int main() {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(TreelistUnits);
  INITCOMMONCONTROLSEX Init = {sizeof(Init), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&Init);

  const int Count = TopCount * (ChildCount + 1);
  for (int K = 0; K < Count; ++K) {
    const unsigned Mixed = static_cast<unsigned>(K) * 2654435761u;
    Rows.push_back({"Group " + std::to_string((Mixed >> 11) % 10),
                    "Item " + std::to_string(K), static_cast<int>((Mixed >> 3) % Count)});
  }

  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(20, 20, 640, 480);
  Form->Show();
  auto* Tree = NewObject<TdxTreeList>(Form);
  Tree->SetParent(Form);
  Tree->SetBounds(0, 0, 320, 440);
  TdxTreeListColumn* Group = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  TdxTreeListColumn* Item = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Tree->HandleNeeded();
  HWND View = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                              320, 0, 300, 440, Form->Handle(), nullptr, HInstance, nullptr);

  // The tree list: sorted by both columns in their directions, reset by the shuffle.
  Build(Tree);
  TdxTreeListOptionsEx Options = Tree->OptionsEx();
  Options.Include(aoMultiSort);
  Tree->SetOptionsEx(Options);
  TShuffle Shuffle;
  auto ResetTree = [&] {
    Tree->OnCompare = TdxTLCompareEvent::Bind<&TShuffle::Compare>(&Shuffle);
    Tree->SortNodesByColumn(-1, 0, false);
    Tree->OnCompare = nullptr;
  };
  ResetTree();
  Tree->BeginUpdate();
  Group->SetSorted(csUp);
  Item->SetSorted(csDown);
  Tree->EndUpdate();
  const double TreeSort = BestOf(ResetTree, [&] { Tree->SortNodesByColumn(-1, 0, false); });

  // The tree view, the same nodes in the same order.
  SendMessageA(View, WM_SETREDRAW, FALSE, 0);
  std::vector<HTREEITEM> Parents;
  TVINSERTSTRUCTA Insert = {};
  Insert.hInsertAfter = TVI_LAST;
  Insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  for (int T = 0, K = 0; T < TopCount; ++T) {
    for (int C = 0; C <= ChildCount; ++C, ++K) {
      Insert.hParent = C == 0 ? TVI_ROOT : Parents.back();
      Insert.item.pszText = const_cast<char*>(Rows[K].Group.c_str());
      Insert.item.lParam = K;
      auto* Made = reinterpret_cast<HTREEITEM>(
          SendMessageA(View, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Insert)));
      if (C == 0) Parents.push_back(Made);
    }
  }
  auto SortView = [&](PFNTVCOMPARE Compare) {
    TVSORTCB Sort = {TVI_ROOT, Compare, 0};
    SendMessageA(View, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&Sort));
    for (HTREEITEM Parent : Parents) {
      Sort.hParent = Parent;
      SendMessageA(View, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&Sort));
    }
  };
  const double ViewSort = BestOf([&] { SortView(ViewShuffle); }, [&] { SortView(ViewCompare); });

  // The stream: save and load against building.
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Tree->BeginUpdate();
  Group->SetSorted(csNone);
  Item->SetSorted(csNone);
  Tree->EndUpdate();
  const double Save = BestOf([&] { Stream->Clear(); }, [&] { Tree->WriteData(Stream.get()); });
  const double Load = BestOf(
      [&] {
        Tree->ClearNodes();
        Stream->SetPosition(0);
      },
      [&] { Tree->ReadData(Stream.get()); });
  const double Building = BestOf([&] { Tree->ClearNodes(); }, [&] { Build(Tree); });
  if (Tree->Count() != TopCount) std::printf("the tree holds %d top-level nodes\n", Tree->Count());

  std::printf("%d nodes, two columns; best of %d runs\n", Count, Runs);
  std::printf("sort      tree list %s ms   TVM_SORTCHILDRENCB %s ms   tree list / tree view %s\n",
              Fixed(TreeSort, 2).c_str(), Fixed(ViewSort, 2).c_str(),
              Fixed(TreeSort / ViewSort, 3).c_str());
  std::printf("stream    save %s ms + load %s ms   Add and Strings %s ms   stream / build %s\n",
              Fixed(Save, 2).c_str(), Fixed(Load, 2).c_str(), Fixed(Building, 2).c_str(),
              Fixed((Save + Load) / Building, 3).c_str());

  DestroyWindow(View);
  Form->Free();
  FinalizeUnits();
  return 0;
}
