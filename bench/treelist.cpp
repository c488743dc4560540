// Times the tree list's node work against the system tree-view control, in one shown
// form: 1,000 top-level nodes with 99 children each (100,000 nodes with texts) added
// inside an update (the tree view's redraw off), then each top-level node expanded,
// then 500 pages scrolled down from the top (each page painted at once), then each
// collapsed, then everything cleared (with an OnDeletion handler; the tree
// view notifies its parent of every deleted item). Each step is run several times and
// its best time kept; a line per step gives both times and the ratio tree list / tree
// view. The "best fit" line times the column's best fit over the 100,000 nodes against
// GetTextExtentPoint32A over the same texts in the same font, as a ratio. The
// "collapse 1M" line times the tree list's collapse again on ten times the nodes
// (10,000 top-level nodes with 99 children each, expanded and scrolled as before) and
// ends with the ratio to the 100,000-node collapse: the collapse costs the rows it
// removes, so ten times the nodes should take about ten times as long.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "classlib/FloatConv.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "treelist/Units.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"

namespace {

using bench::Milliseconds;
using bench::PumpAll;

// Numbers in the report's columns.
AnsiString Fixed(double Value, int Decimals) { return bench::Fixed(Value, Decimals, 8); }

constexpr int TopCount = 1000, ChildCount = 99;
constexpr int Runs = 3;
constexpr int Pages = 500;

// Counts the deleted nodes, as a program freeing its node data would visit them.
class TDeletionCounter : public TObject {
 public:
  void Deletion(TObject*, TdxTreeListNode*) { ++Count; }
  int Count = 0;
};

struct TStep {
  const char* Name;
  double TreeList = 1e30;
  double TreeView = 1e30;
};

}  // namespace

int main() {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(TreelistUnits);
  INITCOMMONCONTROLSEX Init = {sizeof(Init), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&Init);

  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(20, 20, 640, 480);
  Form->Show();
  auto* Tree = NewObject<TdxTreeList>(Form);
  Tree->SetParent(Form);
  Tree->SetBounds(0, 0, 320, 440);
  // One column, so that a page paints its texts as the tree view does.
  Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(300);
  Tree->HandleNeeded();
  HWND View = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT,
                              320, 0, 300, 440, Form->Handle(), nullptr, HInstance, nullptr);
  TDeletionCounter Counter;
  Tree->OnDeletion = TTLExpandedEvent::Bind<&TDeletionCounter::Deletion>(&Counter);
  PumpAll();

  std::vector<std::string> Texts;
  Texts.reserve(TopCount * (ChildCount + 1));
  for (int T = 0; T < TopCount; ++T)
    for (int C = 0; C <= ChildCount; ++C)
      Texts.push_back("Node " + std::to_string(T) + (C ? "." + std::to_string(C) : ""));

  TStep Steps[] = {{"add"}, {"expand"}, {"scroll"}, {"collapse"}, {"clear"}, {"best fit"}};
  // The peer of the best fit: every text measured in the tree list's font, the widest
  // kept.
  HDC Measure = CreateCompatibleDC(nullptr);
  auto MeasureTexts = [&] {
    HGDIOBJ Old = SelectObject(Measure, Tree->Font()->Handle());
    int Widest = 0;
    for (const std::string& Text : Texts) {
      SIZE Size;
      GetTextExtentPoint32A(Measure, Text.c_str(), static_cast<int>(Text.size()), &Size);
      Widest = std::max(Widest, static_cast<int>(Size.cx));
    }
    SelectObject(Measure, Old);
    return Widest;
  };
  // From the top (the tree view ends its expansions near the bottom), a page down and
  // its paint, Pages times.
  auto Scroll = [](HWND Window) {
    SendMessageA(Window, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(Window);
    return Milliseconds([&] {
      for (int I = 0; I < Pages; ++I) {
        SendMessageA(Window, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(Window);
      }
    });
  };
  std::vector<HTREEITEM> Tops(TopCount);
  for (int Run = 0; Run < Runs; ++Run) {
    // add
    double T = Milliseconds([&] {
      Tree->BeginUpdate();
      std::size_t K = 0;
      for (int I = 0; I < TopCount; ++I) {
        TdxTreeListNode* Node = Tree->Add();
        Node->SetStrings(0, Texts[K++]);
        for (int C = 0; C < ChildCount; ++C) Node->AddChild()->SetStrings(0, Texts[K++]);
      }
      Tree->EndUpdate();
    });
    double V = Milliseconds([&] {
      SendMessageA(View, WM_SETREDRAW, FALSE, 0);
      std::size_t K = 0;
      TVINSERTSTRUCTA Insert = {};
      Insert.hInsertAfter = TVI_LAST;
      Insert.item.mask = TVIF_TEXT;
      for (int I = 0; I < TopCount; ++I) {
        Insert.hParent = TVI_ROOT;
        Insert.item.pszText = const_cast<char*>(Texts[K++].c_str());
        Tops[I] = reinterpret_cast<HTREEITEM>(
            SendMessageA(View, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Insert)));
        Insert.hParent = Tops[I];
        for (int C = 0; C < ChildCount; ++C) {
          Insert.item.pszText = const_cast<char*>(Texts[K++].c_str());
          SendMessageA(View, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&Insert));
        }
      }
      SendMessageA(View, WM_SETREDRAW, TRUE, 0);
    });
    PumpAll();
    Steps[0].TreeList = std::min(Steps[0].TreeList, T);
    Steps[0].TreeView = std::min(Steps[0].TreeView, V);

    // best fit
    int Widest = 0;
    T = Milliseconds([&] { Tree->ColumnBestFit(0); });
    V = Milliseconds([&] { Widest = MeasureTexts(); });
    PumpAll();
    Steps[5].TreeList = std::min(Steps[5].TreeList, T);
    Steps[5].TreeView = std::min(Steps[5].TreeView, V);
    if (Tree->Columns(0)->Width() <= Widest)
      std::printf("the best fit left the column narrower than its widest text\n");

    // expand, collapse
    for (int Step = 1; Step <= 2; ++Step) {
      const bool Expanding = Step == 1;
      T = Milliseconds([&] {
        for (int I = 0; I < TopCount; ++I) Tree->Items(I)->SetExpanded(Expanding);
      });
      V = Milliseconds([&] {
        for (int I = 0; I < TopCount; ++I)
          SendMessageA(View, TVM_EXPAND, Expanding ? TVE_EXPAND : TVE_COLLAPSE,
                       reinterpret_cast<LPARAM>(Tops[I]));
      });
      PumpAll();
      const int Line = Expanding ? 1 : 3;
      Steps[Line].TreeList = std::min(Steps[Line].TreeList, T);
      Steps[Line].TreeView = std::min(Steps[Line].TreeView, V);
      if (!Expanding) continue;
      T = Scroll(Tree->Handle());
      V = Scroll(View);
      PumpAll();
      Steps[2].TreeList = std::min(Steps[2].TreeList, T);
      Steps[2].TreeView = std::min(Steps[2].TreeView, V);
    }

    // clear
    Counter.Count = 0;
    T = Milliseconds([&] { Tree->ClearNodes(); });
    V = Milliseconds([&] {
      SendMessageA(View, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    });
    PumpAll();
    Steps[4].TreeList = std::min(Steps[4].TreeList, T);
    Steps[4].TreeView = std::min(Steps[4].TreeView, V);
    if (Counter.Count != TopCount * (ChildCount + 1))
      std::printf("OnDeletion fired %d times\n", Counter.Count);
  }

  // The collapse on ten times the nodes, the tree list alone.
  constexpr int BigTopCount = 10 * TopCount;
  double BigCollapse = 1e30;
  for (int Run = 0; Run < Runs; ++Run) {
    Tree->BeginUpdate();
    for (int I = 0; I < BigTopCount; ++I) {
      TdxTreeListNode* Node = Tree->Add();
      const std::string Text = "Node " + std::to_string(I);
      Node->SetStrings(0, Text);
      for (int C = 1; C <= ChildCount; ++C)
        Node->AddChild()->SetStrings(0, Text + "." + std::to_string(C));
    }
    Tree->EndUpdate();
    for (int I = 0; I < BigTopCount; ++I) Tree->Items(I)->SetExpanded(true);
    PumpAll();
    Scroll(Tree->Handle());
    PumpAll();
    BigCollapse = std::min(BigCollapse, Milliseconds([&] {
      for (int I = 0; I < BigTopCount; ++I) Tree->Items(I)->SetExpanded(false);
    }));
    PumpAll();
    Tree->ClearNodes();
    PumpAll();
  }

  for (const TStep& S : Steps) {
    const bool Fit = &S == &Steps[5];
    std::printf("%-9s tree list %s ms   %s %s ms   tree list / %s %s\n", S.Name,
                Fixed(S.TreeList, 2).c_str(), Fit ? "text extents" : "tree view",
                Fixed(S.TreeView, 2).c_str(), Fit ? "text extents" : "tree view",
                Fixed(S.TreeList / S.TreeView, 3).c_str());
  }
  std::printf("collapse 1M tree list %s ms   1,000,000 / 100,000 nodes %s\n",
              Fixed(BigCollapse, 2).c_str(), Fixed(BigCollapse / Steps[3].TreeList, 3).c_str());
  DeleteDC(Measure);

  DestroyWindow(View);
  Form->Free();
  FinalizeUnits();
  return 0;
}
