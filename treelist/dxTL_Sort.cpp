// The tree list's sort: the key chains, the event, natural and locale comparers, the
// sort of one node list, the walk over the levels, and the re-sort by the sort columns.
#include "treelist/dxTL_Sort.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "classlib/Forms.h"
#include "classlib/Lists.h"
#include "classlib/Memory.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

// ---------------------------------------------------------------------------------
// Keys and comparers

void TNodeVariant::SetValue(const Variant& AValue) {
  IsText = AValue.VarType() == varString;
  Prefix = 0;
  PrefixExact = false;
  if (IsText) {
    Natural.Assign(AValue.StringValue());
    if (Other) Other.reset();
  } else if (Other) {
    *Other = AValue;
  } else {
    Other = std::make_unique<Variant>(AValue);
  }
}

Variant TNodeVariant::Value() const {
  if (IsText) return Variant(Natural.Text());
  return Other ? *Other : Variant();
}

namespace {

// The key's value for the Variant comparison: a text is made a Variant only here.
const Variant& ValueOf(const TNodeVariant& Key, Variant& Scratch) {
  if (!Key.IsText && Key.Other) return *Key.Other;
  Scratch = Key.Value();
  return Scratch;
}

bool SameBytes(const AnsiString& A, const AnsiString& B) {
  return A.size() == B.size() && std::memcmp(A.data(), B.data(), A.size()) == 0;
}

}  // namespace

bool SameSortValue(const TNodeVariant& A, const TNodeVariant& B) {
  // Two 8-bit strings that the locale finds equal are still ordered by their
  // characters, so only the same characters are equal.
  if (A.IsText && B.IsText) return SameBytes(A.Natural.Text(), B.Natural.Text());
  Variant ScratchA, ScratchB;
  return ValueOf(A, ScratchA) == ValueOf(B, ScratchB);
}

namespace {

const AnsiString& TextOf(const TNodeVariant& Key, AnsiString& Converted) {
  if (Key.IsText) return Key.Natural.Text();
  Converted = Key.Other ? Key.Other->AsString() : Variant().AsString();
  return Converted;
}

// Two keys whose values differ, by the locale comparer's rule.
int CompareKeyAnsi(const TNodeVariant& A, const TNodeVariant& B, bool AnsiSort) {
  int Result;
  if (AnsiSort && A.IsText) {
    AnsiString Converted;
    Result = AnsiCompareStr(A.Natural.Text(), TextOf(B, Converted));
  } else {
    Variant ScratchA, ScratchB;
    Result = Variant::Compare(ValueOf(A, ScratchA), ValueOf(B, ScratchB)) > 0 ? 1 : -1;
  }
  return A.Descending ? -Result : Result;
}

}  // namespace

int NaturalSortCompare(const TNodeVariant* A, const TNodeVariant* B) {
  for (; A && B; A = A->Next, B = B->Next) {
    int Result;
    if (A->IsText && B->IsText) {
      // The same characters compare as 0 here too, and pass on to the next key.
      if (A->Prefix != B->Prefix)
        Result = A->Prefix < B->Prefix ? -1 : 1;
      else
        Result = A->PrefixExact ? 0 : CompareNatural(A->Natural, B->Natural);
    } else {
      if (SameSortValue(*A, *B)) continue;
      AnsiString TextA, TextB;
      Result = CompareNatural(TextOf(*A, TextA), TextOf(*B, TextB));
    }
    if (Result != 0) return A->Descending ? -Result : Result;
  }
  return 0;
}

int CompareNodeVariantAnsi(const TNodeVariant* A, const TNodeVariant* B, bool AnsiSort) {
  for (; A && B; A = A->Next, B = B->Next)
    if (!SameSortValue(*A, *B)) return CompareKeyAnsi(*A, *B, AnsiSort);
  return 0;
}

void TNodeKeyChains::Reset(int NodeCount, int KeyCount) {
  // Nodes times sort columns: past what a vector of keys holds (or past 32 bits, where
  // the product wrapped) no memory gives it.
  const unsigned long long Size = static_cast<unsigned long long>(NodeCount) * KeyCount;
  if (Size > FKeys.max_size()) throw EOutOfMemory(SOutOfMemory);
  if (FKeys.size() < Size)
    GrowOrRaise([&] { FKeys.resize(static_cast<std::size_t>(Size)); });
  FCount = NodeCount;
  FKeyCount = KeyCount;
  for (int I = 0; I < NodeCount; ++I)
    for (int K = 0; K < KeyCount; ++K) Key(I, K).Next = K + 1 < KeyCount ? &Key(I, K + 1) : nullptr;
}

std::vector<TNodeVariant*> TNodeKeyChains::Heads() {
  std::vector<TNodeVariant*> Result(FCount);
  for (int I = 0; I < FCount; ++I) Result[I] = Head(I);
  return Result;
}

void TNodeKeyChains::SetPrefixes(int K) {
  std::vector<const TNaturalKey*> Texts(FCount);
  for (int I = 0; I < FCount; ++I) {
    const TNodeVariant& Item = Key(I, K);
    if (!Item.IsText) return;
    Texts[I] = &Item.Natural;
  }
  const TNaturalPrefixPlan Plan = TNaturalPrefixPlan::For(Texts.data(), Texts.size());
  if (!Plan.Usable) return;
  for (int I = 0; I < FCount; ++I) {
    TNodeVariant& Item = Key(I, K);
    Item.Prefix = Plan.Prefix(Item.Natural);
    Item.PrefixExact = Plan.Exact;
  }
}

// ---------------------------------------------------------------------------------
// The core's answers

int TCustomdxTreeList::CompareNodes(TdxTreeListNode* Node1, TdxTreeListNode* Node2) {
  // Unsigned: a difference of two addresses 2 GB apart would overflow.
  const auto A = reinterpret_cast<std::uintptr_t>(Node1);
  const auto B = reinterpret_cast<std::uintptr_t>(Node2);
  return A < B ? -1 : (A > B ? 1 : 0);
}

Variant TCustomdxTreeList::GetNodeSortValue(TdxTreeListNode* /*Node*/, int /*Column*/) {
  return Variant(AnsiString());
}

Variant TdxTreeList::GetNodeSortValue(TdxTreeListNode* Node, int Column) {
  AnsiString Text = Node->Strings(Column);
  if (IsCaseInsensitive()) Text = AnsiUpperCase(Text);
  return Variant(std::move(Text));
}

// ---------------------------------------------------------------------------------
// Sorting one list

void TCustomdxTreeList::SortNodes(TdxTreeListNodeList* List, int Column, bool Descending) {
  TNodeKeyChains Chains;
  SortNodes(List, Column, Descending, Chains);
}

void TCustomdxTreeList::SortNodes(TdxTreeListNodeList* List, int Column, bool Descending,
                                  TNodeKeyChains& Chains) {
  if (!List || List->Count() < 2) return;
  const int Count = List->Count();
  const bool Multi = IsMultiSort() && SortColumnCount() >= 2;
  const int KeyCount = Multi ? SortColumnCount() : 1;
  std::vector<int> Columns(KeyCount);
  std::vector<bool> Directions(KeyCount);
  for (int K = 0; K < KeyCount; ++K) {
    Columns[K] = Multi ? SortColumnIndex(K) : Column;
    Directions[K] = Multi ? IsSortColumnDescending(K) : Descending;
  }

  // The values are taken once per node and key; the event comparer looks at none.
  const bool ByEvent = OnCompare.Assigned();
  Chains.Reset(Count, KeyCount);
  for (int I = 0; I < Count; ++I) {
    TdxTreeListNode* Node = List->Items(I);
    for (int K = 0; K < KeyCount; ++K) {
      TNodeVariant& Key = Chains.Key(I, K);
      Key.Node = Node;
      Key.Descending = Directions[K];
      if (!ByEvent) Key.SetValue(GetNodeSortValue(Node, Columns[K]));
    }
  }

  std::vector<TNodeVariant*> Heads = Chains.Heads();
  if (ByEvent) {
    MergeSort(Heads, [this](const TNodeVariant* A, const TNodeVariant* B) {
      int Compare = 0;
      OnCompare(this, A->Node, B->Node, Compare);
      return Compare;
    });
  } else if (IsAnsiSort()) {
    MergeSort(Heads, [this](const TNodeVariant* A, const TNodeVariant* B) {
      const int Result = CompareNodeVariantAnsi(A, B, true);
      return Result != 0 ? Result : CompareNodes(A->Node, B->Node);
    });
  } else {
    for (int K = 0; K < KeyCount; ++K) Chains.SetPrefixes(K);
    MergeSort(Heads, [](const TNodeVariant* A, const TNodeVariant* B) {
      return NaturalSortCompare(A, B);
    });
  }

  std::vector<TdxTreeListNode*> Order(Count);
  for (int I = 0; I < Count; ++I) Order[I] = Heads[I]->Node;
  List->Rearrange(Order);
  ShapeChanged();
}

// ---------------------------------------------------------------------------------
// The walk over the levels

void TCustomdxTreeList::SortNodesByColumn(int Level, int Column, bool Descending) {
  if (Level < -1) return;
  const TCursor SavedCursor = Screen ? Screen->Cursor() : crDefault;
  auto RestoreCursor = ScopeExit([SavedCursor] {
    if (Screen) Screen->SetCursor(SavedCursor);
  });
  if (Screen && IsShowHourGlass()) Screen->SetCursor(crHourGlass);
  TUpdateScope Updating(this);

  TNodeKeyChains Chains;
  if (Level == 0 || Level == -1) SortNodes(&FNodes, Column, Descending, Chains);
  if (Level == 0) return;
  // Depth first without recursion: a node's children are sorted before the lists
  // below them and before its next sibling's children.
  struct TPlace {
    TdxTreeListNode* Node;
    int Depth;  // 0 for a top-level node
  };
  std::vector<TPlace> Stack;
  for (int I = FNodes.Count() - 1; I >= 0; --I) Stack.push_back({FNodes.Items(I), 0});
  while (!Stack.empty()) {
    const TPlace Place = Stack.back();
    Stack.pop_back();
    TdxTreeListNodeList* Children = Place.Node->FChildren;
    if (!Children) continue;
    if (Level == -1 || Place.Depth + 1 == Level) SortNodes(Children, Column, Descending, Chains);
    // Lists deeper than the level asked for are not visited.
    if (Level != -1 && Place.Depth + 1 >= Level) continue;
    for (int I = Children->Count() - 1; I >= 0; --I)
      Stack.push_back({Children->Items(I), Place.Depth + 1});
  }
}

// ---------------------------------------------------------------------------------
// The re-sort by the sort columns

void TCustomdxTreeListControl::ResortNodes() {
  if (FLayoutUpdateCount > 0 || SortColumnCount() == 0) return;
  SortNodesByColumn(-1, SortColumnIndex(0), IsSortColumnDescending(0));
}
