// The tree list's nodes: the ordered node lists, the node and the text node that
// keeps its cell texts. A node forwards what it cannot decide alone (cell data, focus,
// selection, repaints) to its owner, TCustomdxTreeList (treelist/dxTL.h), which is
// what users include. Implemented in dxTL_Nodes.cpp.
#pragma once

#include <cstddef>
#include <vector>

#include "classlib/Variants.h"
#include "treelist/dxTL_NodePool.h"
#include "treelist/dxTL_Types.h"

class TCustomdxTreeList;

// The children of a node, or the top-level nodes of a tree list, in order. Each node
// keeps a stamp from which its position is read in constant time: inserting or
// deleting renumbers the nodes behind the change, except at the front, where a moving
// base takes the shift (deleting children first to last stays linear).
class TdxTreeListNodeList {
 public:
  int Count() const { return static_cast<int>(FItems.size() - FStart); }
  // nullptr out of range.
  TdxTreeListNode* Items(int Index) const;
  TdxTreeListNode* First() const { return Count() > 0 ? FItems[FStart] : nullptr; }
  TdxTreeListNode* Last() const { return Count() > 0 ? FItems.back() : nullptr; }
  int IndexOf(const TdxTreeListNode* Node) const;
  void Insert(int Index, TdxTreeListNode* Node);
  void Add(TdxTreeListNode* Node) { Insert(Count(), Node); }
  void Delete(int Index);
  void Remove(TdxTreeListNode* Node) { Delete(IndexOf(Node)); }
  void Clear();
  // Room for Count entries in all, so that appending up to there moves nothing.
  void Reserve(int Count) { FItems.reserve(FStart + static_cast<std::size_t>(Count)); }
  // Puts the list's nodes in Order, which holds each of them once (a sort's result).
  void Rearrange(const std::vector<TdxTreeListNode*>& Order);

 private:
  void Renumber(int From);

  std::vector<TdxTreeListNode*> FItems;
  std::size_t FStart = 0;  // the first live entry of FItems
  int FBase = 0;           // the stamp of position 0
};

// A row of the tree list. Deleting a node is freeing it (Free): its children go first
// (without recursing, so a tree of any depth goes), the owner fires OnDeletion for it
// and moves the focus and the top node past it. Expand(True) walks without recursing too.
class TdxTreeListNode : public TObject {
  TCLASS_DECL(TdxTreeListNode, TObject)
 public:
  // Raises EInvaliddxTreeListOperation without an owner. Links the node nowhere.
  explicit TdxTreeListNode(TCustomdxTreeList* AOwner);
  TdxTreeListNode(const TdxTreeListNode&) = delete;
  TdxTreeListNode& operator=(const TdxTreeListNode&) = delete;
  ~TdxTreeListNode() override;
  // Nodes, of this class and any other, live in the node pool.
  static void* operator new(std::size_t Size) { return AllocateNodeMemory(Size); }
  static void operator delete(void* P, std::size_t Size) noexcept { FreeNodeMemory(P, Size); }

  // The deletion: children, unlinking, the owner's notification.
  void BeforeDestruction() override;

  // Structure
  TdxTreeListNode* AddChild() { return InsertChild(nullptr); }
  TdxTreeListNode* InsertChild(TdxTreeListNode* BeforeNode);
  void DeleteChildren();
  void Expand(bool Recurse);
  // Collapses or expands through the owner's events (see TCustomdxTreeList).
  void SetExpanded(bool Value);
  bool Expanded() const { return FExpanded; }
  bool HasChildren() const { return FHasChildren; }
  void SetHasChildren(bool Value);
  void* Data() const { return FData; }
  // Whether the owner accepted the data.
  bool SetData(void* Value);
  bool Deleting() const { return FDeleting; }

  // Navigation: nullptr where there is no such node.
  TCustomdxTreeList* Owner() const { return FOwner; }
  TdxTreeListNode* Parent() const { return FParent; }
  int Count() const { return FChildren ? FChildren->Count() : 0; }
  TdxTreeListNode* Items(int Index) const { return FChildren ? FChildren->Items(Index) : nullptr; }
  int Index() const;
  int IndexOf(const TdxTreeListNode* Child) const;
  int Level() const;
  TdxTreeListNode* GetFirstChild() const { return FChildren ? FChildren->First() : nullptr; }
  TdxTreeListNode* GetLastChild() const { return FChildren ? FChildren->Last() : nullptr; }
  TdxTreeListNode* GetNextSibling() const;
  TdxTreeListNode* GetPrevSibling() const;
  TdxTreeListNode* GetPrevSiblingOrParent() const;
  TdxTreeListNode* GetNext() const;
  TdxTreeListNode* GetPrev() const;
  TdxTreeListNode* GetNextVisible() const;
  TdxTreeListNode* GetPrevVisible() const;
  bool IsLast() const;
  bool IsVisible() const;
  bool HasAsParent(const TdxTreeListNode* Node) const;
  int GetVisibleIndex() const;
  void MakeVisible();

  // Focus and selection
  bool Focused() const;
  void SetFocused(bool Value);
  bool Selected() const;
  void SetSelected(bool Value);

  // Cell data, kept by the owner
  int ImageIndex() const;
  void SetImageIndex(int Value);
  int SelectedIndex() const;
  void SetSelectedIndex(int Value);
  int StateIndex() const;
  void SetStateIndex(int Value);
  AnsiString Strings(int Column) const;
  void SetStrings(int Column, const AnsiString& Text);
  Variant Values(int Column) const;
  void SetValues(int Column, const Variant& Value);

  // The row height and line count the layout computed last; 0 when not cached (also
  // after the owner dropped its row index).
  int CachedRowHeight() const;
  int CachedRowLineCount() const;
  void SetCachedRowHeight(int Height, int LineCount);
  void ResetCachedRowHeight() { FRowHeight = 0; }

 private:
  friend class TCustomdxTreeList;
  friend class TdxTreeListNodeList;
  friend class TdxTreeListNodeLinker;
  friend class TdxTreeListRowList;

  // The next node in walking order ignoring Expanded, past this node's subtree.
  TdxTreeListNode* NextPastSubtree() const;
  // GetNextVisible with this node's visibility and NextPastSubtree known.
  TdxTreeListNode* NextVisible(bool Visible, TdxTreeListNode* PastSubtree) const;
  // The two ways DeleteChildren frees the descendants: while the owner clears, each
  // list detached first; else one node at a time through the owner's notifications.
  void FreeDetachedDescendants();
  void FreeDescendantsOneByOne();
  // The list this node stands in (its parent's children or the owner's top level);
  // nullptr while that list is detached.
  TdxTreeListNodeList* Siblings() const;

  void* FData = nullptr;
  bool FDeleting = false;
  bool FExpanded = false;
  bool FHasChildren = false;
  TdxTreeListNodeList* FChildren = nullptr;
  TCustomdxTreeList* FOwner;
  TdxTreeListNode* FParent = nullptr;
  int FIndexStamp = 0;
  int FRowSlot = -1;  // where the owner's row list keeps it (TdxTreeListRowList)
  int FRowHeight = 0;
  int FRowLineCount = 0;
  unsigned FRowHeightGeneration = 0;
};

// The cell texts of a node, in the node pool like the node.
using TdxTreeListTexts = std::vector<AnsiString, TNodeAllocator<AnsiString>>;

// A node that keeps its image indexes and its cell texts.
class TdxTreeListTextNode : public TdxTreeListNode {
  TCLASS_DECL(TdxTreeListTextNode, TdxTreeListNode)
 public:
  explicit TdxTreeListTextNode(TCustomdxTreeList* AOwner) : TdxTreeListNode(AOwner) {}

  // The number of cell texts kept (a node may keep fewer than there are columns).
  int TextCount() const { return static_cast<int>(FTexts.size()); }

 private:
  friend class TCustomdxTreeListControl;
  friend class TdxTreeListNodeLinker;

  int FImageIndex = 0;
  int FSelectedIndex = -1;
  int FStateIndex = -1;
  // Indexed by column; may be shorter than the column count.
  TdxTreeListTexts FTexts;
};
