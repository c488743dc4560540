// The node memory pool: slots of each size apart and aligned, a freed slot used again,
// blocks given back when their slots are free, sizes past the slots from the memory
// manager, and a tree list's nodes and texts all returned when they go.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "tests/classlib/UiTestSupport.h"
#include "tests/support/FuzzSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_NodePool.h"

using namespace uitest;

namespace {

TEST(NodePoolTest, SlotsAreApartAlignedAndGoBackWithTheirBlocks) {
  const TNodeMemoryUse Before = NodeMemoryUse();
  struct TSlot {
    char* P;
    std::size_t Size;
  };
  std::vector<TSlot> Slots;
  // Enough of every size for several blocks each, each filled with its own byte.
  for (int I = 0; I < 30000; ++I) {
    const std::size_t Size = 1 + static_cast<std::size_t>(I % 128);
    auto* P = static_cast<char*>(AllocateNodeMemory(Size));
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(P) % 8, 0u);
    std::memset(P, I & 0xFF, Size);
    Slots.push_back({P, Size});
  }
  EXPECT_EQ(NodeMemoryUse().Slots, Before.Slots + 30000);
  EXPECT_GT(NodeMemoryUse().Blocks, Before.Blocks + 16);
  for (std::size_t I = 0; I < Slots.size(); ++I)
    for (std::size_t B = 0; B < Slots[I].Size; ++B)
      ASSERT_EQ(static_cast<unsigned char>(Slots[I].P[B]), I & 0xFF) << "slot " << I;

  // A freed slot is the next one of its size.
  FreeNodeMemory(Slots[500].P, Slots[500].Size);
  EXPECT_EQ(AllocateNodeMemory(Slots[500].Size), Slots[500].P);

  // Freed in a shuffled order, every block but the few kept goes back.
  fuzz::TRandom Random(3);
  for (std::size_t I = Slots.size() - 1; I > 0; --I) std::swap(Slots[I], Slots[Random.Below(I + 1)]);
  for (const TSlot& Slot : Slots) FreeNodeMemory(Slot.P, Slot.Size);
  EXPECT_EQ(NodeMemoryUse().Slots, Before.Slots);
  EXPECT_LE(NodeMemoryUse().Blocks, Before.Blocks + 4);
  FreeNodeMemory(nullptr, 8);

  // Past the largest slot the memory manager serves.
  void* Large = AllocateNodeMemory(129);
  EXPECT_EQ(NodeMemoryUse().Slots, Before.Slots);
  FreeNodeMemory(Large, 129);
}

// Nodes of a class larger than any slot.
class TLargeNode : public TdxTreeListTextNode {
  TCLASS_DECL(TLargeNode, TdxTreeListTextNode)
 public:
  using TdxTreeListTextNode::TdxTreeListTextNode;
  char Extra[200] = {};
};
TCLASS_IMPL(TLargeNode)

class TLargeNodeTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  bool Large = false;

 protected:
  TdxTreeListNode* CreateNode() override {
    return Large ? NewObject<TLargeNode>(this) : TdxTreeList::CreateNode();
  }
};

class NodePoolTreeTest : public UiTest {};

TEST_F(NodePoolTreeTest, NodesAndTheirTextsGiveTheirSlotsBack) {
  const TNodeMemoryUse Before = NodeMemoryUse();
  auto* Tree = AddChild<TLargeNodeTreeList>(ShownForm());
  Tree->SetBounds(0, 0, 200, 150);
  Tree->BeginUpdate();
  for (int T = 0; T < 200; ++T) {
    Tree->Large = T % 7 == 0;
    TdxTreeListNode* Top = Tree->Add();
    Top->SetStrings(3, "top");
    for (int C = 0; C < 20; ++C) {
      TdxTreeListNode* Child = Top->AddChild();
      Child->SetStrings(C % 6, std::string(C * 3, 'x'));
    }
  }
  Tree->EndUpdate();
  EXPECT_GT(NodeMemoryUse().Slots, Before.Slots + 4000);
  EXPECT_EQ(Tree->Items(7)->Items(19)->Strings(1), std::string(57, 'x'));
  EXPECT_NE(ObjectAs<TLargeNode>(Tree->Items(7)), nullptr);

  // Deleted one by one, a subtree, then the rest at once.
  Tree->Items(3)->Items(5)->Free();
  Tree->Items(7)->Free();
  Tree->Items(0)->DeleteChildren();
  EXPECT_EQ(Tree->Count(), 199);
  EXPECT_EQ(Tree->Items(0)->Count(), 0);
  Tree->ClearNodes();
  EXPECT_EQ(NodeMemoryUse().Slots, Before.Slots);
  EXPECT_LE(NodeMemoryUse().Blocks, Before.Blocks + 4);
  FreeAndNil(Tree);
}

}  // namespace
