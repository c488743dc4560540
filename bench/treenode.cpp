// Times the tree node's work on 100,000 children of one node: CustomSort with 10
// distinct keys against the system tree view's TVM_SORTCHILDRENCB with the same
// comparison (the ratio is ours / system), and expanding, collapsing and moving the
// parent. Each sort starts from the same shuffled order; each time is the best of
// several runs.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "bench/BenchSupport.h"
#include "classlib/FloatConv.h"
#include "classlib/ModuleInit.h"
#include "treenode/Units.h"
#include "treenode/dcntree_Tree.h"

namespace {

using bench::Fixed;
using bench::Milliseconds;

constexpr int Children = 100000;
constexpr int Keys = 10;
constexpr int Runs = 7;

// The best time of Work over Runs runs, with Reset (untimed) before each.
double BestOf(const std::function<void()>& Reset, const std::function<void()>& Work) {
  return bench::BestOf(Runs, Reset, Work);
}

// The key of the child made I-th: 10 values, spread so that equal keys are far apart.
int KeyOf(int I) { return static_cast<int>((static_cast<unsigned>(I) * 2654435761u) >> 7) % Keys; }

int Index(TDCTreeNode* Node) { return static_cast<int>(reinterpret_cast<INT_PTR>(Node->Data())); }

int ByKey(TDCTreeNode* A, TDCTreeNode* B, void*) { return KeyOf(Index(A)) - KeyOf(Index(B)); }
int ByIndex(TDCTreeNode* A, TDCTreeNode* B, void*) { return Index(A) - Index(B); }

int CALLBACK SystemByKey(LPARAM A, LPARAM B, LPARAM) {
  return KeyOf(static_cast<int>(A)) - KeyOf(static_cast<int>(B));
}
int CALLBACK SystemByIndex(LPARAM A, LPARAM B, LPARAM) { return static_cast<int>(A - B); }

}  // namespace

int main() {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(TreenodeUnits);
  INITCOMMONCONTROLSEX Controls{sizeof(Controls), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&Controls);
  HWND Host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 400, 300, nullptr, nullptr,
                              HInstance, nullptr);

  // Ours.
  TOwnerTree* Tree = NewObject<TOwnerTree>(nullptr);
  Tree->SetParentWindow(Host);
  Tree->HandleNeeded();
  Tree->Items()->BeginUpdate();
  TDCTreeNode* Parent = Tree->Items()->AddChild(nullptr, "parent");
  TDCTreeNode* Other = Tree->Items()->AddChild(nullptr, "other");
  for (int I = 0; I < Children; ++I) {
    TDCTreeNode* Node = Tree->Items()->AddChild(Parent, "child");
    Node->SetData(reinterpret_cast<void*>(static_cast<INT_PTR>((I * 7919) % Children)));
  }
  Tree->Items()->EndUpdate();
  const double OurSort = BestOf([&] { Parent->CustomSort(ByIndex, nullptr); },
                                [&] { Parent->CustomSort(ByKey, nullptr); });
  const double Expand = BestOf([&] { Parent->Collapse(false); }, [&] { Parent->Expand(false); });
  const double Collapse = BestOf([&] { Parent->Expand(false); }, [&] { Parent->Collapse(false); });
  Parent->Expand(false);
  bool Under = false;
  const double Move = BestOf([&] {}, [&] {
    Parent->MoveTo(Under ? Other : nullptr, Under ? naAddChild : naAdd, false);
    Under = !Under;
  });

  // The system tree view, with the same children in the same order.
  HWND View = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 400, 300, Host, nullptr,
                              HInstance, nullptr);
  SendMessageA(View, WM_SETREDRAW, FALSE, 0);
  TVINSERTSTRUCTA Insert{};
  Insert.hParent = TVI_ROOT;
  Insert.hInsertAfter = TVI_LAST;
  Insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  Insert.item.pszText = const_cast<char*>("parent");
  HTREEITEM Root = reinterpret_cast<HTREEITEM>(
      SendMessageA(View, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Insert)));
  Insert.hParent = Root;
  Insert.item.pszText = const_cast<char*>("child");
  for (int I = 0; I < Children; ++I) {
    Insert.item.lParam = (I * 7919) % Children;
    SendMessageA(View, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Insert));
  }
  TVSORTCB ByKeyCB{Root, SystemByKey, 0}, ByIndexCB{Root, SystemByIndex, 0};
  const double SystemSort = BestOf(
      [&] { SendMessageA(View, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&ByIndexCB)); },
      [&] { SendMessageA(View, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&ByKeyCB)); });

  std::printf("%d children, %d distinct keys; best of %d runs\n", Children, Keys, Runs);
  std::printf("sort      CustomSort %s ms   TVM_SORTCHILDRENCB %s ms   ours/system %s\n",
              Fixed(OurSort, 2).c_str(), Fixed(SystemSort, 2).c_str(),
              Fixed(OurSort / SystemSort, 2).c_str());
  std::printf("expand %s ms   collapse %s ms   move %s ms\n", Fixed(Expand, 2).c_str(),
              Fixed(Collapse, 2).c_str(), Fixed(Move, 2).c_str());

  DestroyWindow(View);
  Tree->Free();
  DestroyWindow(Host);
  FinalizeUnits();
  return 0;
}
