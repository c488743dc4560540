// The tree list's sort keys and the comparers over them. A sort of one node list takes
// every node's values once into a chain of keys (the primary key first), sorts the
// chain heads with the shared merge sort (stable, and safe with a comparer that is not
// a strict weak order) and only then rewrites the list. The entry points are members
// of TCustomdxTreeList (treelist/dxTL.h), implemented in dxTL_Sort.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/Variants.h"
#include "skin/KsUtils.h"
#include "treelist/dxTL_Types.h"

class TCustomdxTreeList;

// One sort key of one node; the keys of a node form a chain through Next. A text value
// is kept once, in its natural key; any other value in a Variant of its own.
struct TNodeVariant {
  TdxTreeListNode* Node = nullptr;
  TNodeVariant* Next = nullptr;
  bool Descending = false;
  // An 8-bit string value, cut once for the natural order (its Text is the value).
  bool IsText = false;
  TNaturalKey Natural;
  // The text's sort prefix among the keys of its column in one sort (see
  // TNaturalPrefixPlan): 0 and not exact until a plan gives it.
  std::uint32_t Prefix = 0;
  bool PrefixExact = false;
  // The value when it is not an 8-bit string; empty for a text.
  std::unique_ptr<Variant> Other;

  void SetValue(const Variant& AValue);
  // The value as the Variant it was given as.
  Variant Value() const;
};

// Whether two keys hold equal values by the Variant comparison (values it cannot
// order are unequal); two 8-bit strings are equal only with the same characters.
bool SameSortValue(const TNodeVariant& A, const TNodeVariant& B);

// The natural comparer over two chains of the same length: the first keys whose values
// differ and whose texts CompareNatural does not find equal decide, negated for a
// descending key; 0 when none does.
int NaturalSortCompare(const TNodeVariant* A, const TNodeVariant* B);

// The locale comparer's steps for the keys after the first: the first differing pair
// decides, by AnsiCompareStr with AnsiSort and a string value (its result as it
// comes), else by the Variant comparison (+1 or -1); negated for a descending key.
int CompareNodeVariantAnsi(const TNodeVariant* A, const TNodeVariant* B, bool AnsiSort);

// The key chains of one node list for one sort: a chain per node, in list order, each
// of KeyCount keys. They go, values and all, with the object. A walk over many lists
// resets one set of chains for each list, so the keys are made once, not per list.
class TNodeKeyChains {
 public:
  TNodeKeyChains() = default;
  TNodeKeyChains(int NodeCount, int KeyCount) { Reset(NodeCount, KeyCount); }
  TNodeKeyChains(const TNodeKeyChains&) = delete;
  TNodeKeyChains& operator=(const TNodeKeyChains&) = delete;

  // NodeCount chains of KeyCount keys, linked; a key kept from before keeps its value
  // until it is given a new one.
  void Reset(int NodeCount, int KeyCount);
  int Count() const { return FCount; }
  int KeyCount() const { return FKeyCount; }
  // Key K of chain I.
  TNodeVariant& Key(int I, int K) { return FKeys[static_cast<std::size_t>(I) * FKeyCount + K]; }
  TNodeVariant* Head(int I) { return &Key(I, 0); }
  std::vector<TNodeVariant*> Heads();
  // Gives the texts of key K of every chain their sort prefixes, when the chains all
  // hold texts there and a plan suits them.
  void SetPrefixes(int K);

 private:
  int FCount = 0;
  int FKeyCount = 0;
  std::vector<TNodeVariant> FKeys;
};
