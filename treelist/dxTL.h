// The tree list: a grid whose rows are the nodes of a tree. This unit holds the nodes,
// the owner's node operations (adding, deleting, clearing, expanding, focus and the top
// node, with their events) and the visible-row index, in three layers:
// TCustomdxTreeList (nodes and rows), TCustomdxTreeListControl (text nodes that keep
// their cell texts) and TdxTreeList (the automatic re-sort check).
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Variants.h"
#include "editors/dxCntner.h"

class TdxTreeListNode;
class TCustomdxTreeList;

TCLASS_EXCEPTION(EInvaliddxTreeListOperation, Exception)

inline constexpr const char* SInvalidOwnerNode = "Invalid Owner TdxTreeListNode";

// ---------------------------------------------------------------------------------
// Options

enum TdxTreeListOption : Byte {
  aoColumnSizing, aoColumnMoving, aoEditing, aoTabs, aoTabThrough, aoRowSelect,
  aoMultiSelect, aoImmediateEditor, aoPreview, aoDrawEndEllipsis, aoAutoWidth,
  aoExtMultiSelect, aoExtCustomizing, aoHideFocusRect, aoAutoSort, aoCaseInsensitive,
  aoStoreToRegistry, aoStoreToIniFile
};
using TdxTreeListOptions = TSet<TdxTreeListOption>;

enum TdxTreeListOptionEx : Byte {
  aoInvertSelect, aoUseBitmap, aoBandHeaderWidth, aoAutoCalcPreviewLines, aoBandSizing,
  aoBandMoving, aoHorzThrough, aoVertThrough, aoCellMultiSelect, aoEnterThrough,
  aoEnterShowEditor, aoFullSizing, aoDragScroll, aoDragExpand, aoDragCollapse,
  aoRowAutoHeight, aoShowHourGlass, aoBandButtonClicking, aoBandPanelSizing,
  aoHeaderButtonClicking, aoHeaderPanelSizing, aoRowSizing, aoMultiSort,
  aoAutoSortRefresh, aoShowButtonAlways, aoAutoHeaderPanelHeight, aoKeepColumnWidth,
  aoAnsiSort, aoMouseScroll, aoAutoSearch, aoHotTrack, aoAutoCopySelectedToClipboard
};
using TdxTreeListOptionsEx = TSet<TdxTreeListOptionEx>;

inline constexpr TdxTreeListOptions DefaultTreeListOptions{
    aoColumnSizing, aoColumnMoving, aoEditing, aoTabThrough, aoRowSelect};
inline constexpr TdxTreeListOptionsEx DefaultTreeListOptionsEx{
    aoUseBitmap, aoBandHeaderWidth, aoAutoCalcPreviewLines, aoBandSizing, aoBandMoving,
    aoDragScroll, aoDragExpand};

// ---------------------------------------------------------------------------------
// Events

using TTLExpandedEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node)>;
using TTLExpandingEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, bool& Allow)>;
using TTLChangeNodeEvent =
    TEvent<void(TObject* Sender, TdxTreeListNode* OldNode, TdxTreeListNode* Node)>;
using TTLChangeColumnEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, int Column)>;
using TTLGetImageEvent = TEvent<void(TObject* Sender, TdxTreeListNode* Node, int& Index)>;

// ---------------------------------------------------------------------------------
// Nodes

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

 private:
  void Renumber(int From);

  std::vector<TdxTreeListNode*> FItems;
  std::size_t FStart = 0;  // the first live entry of FItems
  int FBase = 0;           // the stamp of position 0
};

// A row of the tree list. Deleting a node is freeing it (Free): its children go first,
// the owner fires OnDeletion for it and moves the focus and the top node past it.
class TdxTreeListNode : public TObject {
  TCLASS_DECL(TdxTreeListNode, TObject)
 public:
  // Raises EInvaliddxTreeListOperation without an owner. Links the node nowhere.
  explicit TdxTreeListNode(TCustomdxTreeList* AOwner);
  TdxTreeListNode(const TdxTreeListNode&) = delete;
  TdxTreeListNode& operator=(const TdxTreeListNode&) = delete;
  ~TdxTreeListNode() override;

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

  // The next node in walking order ignoring Expanded, past this node's subtree.
  TdxTreeListNode* NextPastSubtree() const;
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
  int FRow = -1;  // the row, while the owner's numbering says it is current
  int FRowHeight = 0;
  int FRowLineCount = 0;
  unsigned FRowHeightGeneration = 0;
};

// A node that keeps its image indexes and its cell texts.
class TdxTreeListTextNode : public TdxTreeListNode {
  TCLASS_DECL(TdxTreeListTextNode, TdxTreeListNode)
 public:
  explicit TdxTreeListTextNode(TCustomdxTreeList* AOwner) : TdxTreeListNode(AOwner) {}

 private:
  friend class TCustomdxTreeListControl;

  int FImageIndex = 0;
  int FSelectedIndex = -1;
  int FStateIndex = -1;
  // Indexed by column; may be shorter than the column count.
  std::vector<AnsiString> FTexts;
};

// ---------------------------------------------------------------------------------
// The tree list

class TCustomdxTreeList : public TCustomdxContainer {
  TCLASS_DECL(TCustomdxTreeList, TCustomdxContainer)
 public:
  explicit TCustomdxTreeList(TComponent* AOwner);
  ~TCustomdxTreeList() override;
  // Marks the control as being destroyed and frees every node (OnDeletion fires for
  // each), then the inherited destruction.
  void BeforeDestruction() override;

  // Nodes
  TdxTreeListNode* Add();
  void ClearNodes();
  int Count() const { return FNodes.Count(); }
  TdxTreeListNode* Items(int Index) const { return FNodes.Items(Index); }
  TdxTreeListNode* FocusedNode() const { return FFocusedNode; }
  TdxTreeListNode* TopVisibleNode() const { return FTopVisibleNode; }
  TdxTreeListNode* GetFirstNode() const { return FNodes.First(); }
  TdxTreeListNode* GetLastNode() const;
  int FocusedColumn() const;
  void SetFocusedColumn(int Value);
  bool Clearing() const { return FClearing; }
  bool Destroying() const { return ComponentState().Contains(csDestroying); }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Rows
  int GetVisibleNodeCount();
  int GetNodeRowIndex(const TdxTreeListNode* Node);
  TdxTreeListNode* GetNodeAtRow(int Index);
  int GetFocusedRowIndex();
  virtual void SetFocusedRowIndex(int Index);
  // The index answers row questions (else they walk the tree).
  bool RowIndexValid() const { return !FRowNodes.empty() && !Destroying(); }
  bool RowIndexBuilt() const { return FRowIndexBuilt; }

  virtual void SetFocusedNode(TdxTreeListNode* Node, int Column, bool MakeVisible);
  virtual void SetTopVisibleNode(TdxTreeListNode* Node);

  TdxTreeListOptions Options() const { return FOptions; }
  void SetOptions(TdxTreeListOptions Value);
  TdxTreeListOptionsEx OptionsEx() const { return FOptionsEx; }
  void SetOptionsEx(TdxTreeListOptionsEx Value);
  int MaxRowLineCount() const { return FMaxRowLineCount; }
  void SetMaxRowLineCount(int Value);
  bool IsRowAutoHeight() const {
    return FOptionsEx.Contains(aoRowAutoHeight) && FMaxRowLineCount != 0;
  }

  // The cell being edited (nullptr, -1 when none).
  TdxTreeListNode* EditNode() const { return FEditNode; }
  int EditColumn() const { return FEditColumn; }

  // Node events
  TTLExpandedEvent OnDeletion;
  TTLExpandedEvent OnExpanded;
  TTLExpandedEvent OnCollapsed;
  TTLExpandingEvent OnExpanding;
  TTLExpandingEvent OnCollapsing;
  TTLChangeNodeEvent OnChangeNode;
  TTLChangeColumnEvent OnChangeColumn;
  TNotifyEvent OnChangeTopVisibleNode;
  TTLGetImageEvent OnGetImageIndex;
  TTLGetImageEvent OnGetSelectedIndex;
  TTLGetImageEvent OnGetStateIndex;

 protected:
  friend class TdxTreeListNode;

  // Node hooks
  virtual void NodeInserted(TdxTreeListNode* Node);
  virtual void NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev, bool WasVisible,
                           bool WasLast, TdxTreeListNode* Next);
  virtual bool FocusNodeOnCollapse(TdxTreeListNode* Node);
  virtual void NodeChanged(TdxTreeListNode* Node, bool Relayout);
  virtual bool CanSetNodeData() { return true; }
  virtual bool NodeHasChildren(TdxTreeListNode* Node) { return Node->Count() > 0; }
  virtual TdxTreeListNode* CreateNode() = 0;
  virtual int GetNodeImageIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual int GetNodeSelectedIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual int GetNodeStateIndex(TdxTreeListNode* /*Node*/) { return -1; }
  virtual Variant GetNodeValue(TdxTreeListNode* Node, int Column);
  virtual AnsiString GetNodeString(TdxTreeListNode* Node, int Column) = 0;
  virtual void SetNodeImageIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeSelectedIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeStateIndex(TdxTreeListNode* /*Node*/, int /*Value*/) {}
  virtual void SetNodeString(TdxTreeListNode* /*Node*/, int /*Column*/,
                             const AnsiString& /*Text*/) {}
  virtual void SetNodeValue(TdxTreeListNode* Node, int Column, const Variant& Value) = 0;
  virtual bool IsNodeSelected(TdxTreeListNode* Node) { return Node == FFocusedNode; }
  virtual void SetNodeSelected(TdxTreeListNode* Node, bool Value);
  virtual int GetVisibleColumnCount() const { return 0; }

  // Events
  virtual void DoExpanding(TdxTreeListNode* Node, bool& Allow);
  virtual void DoCollapsing(TdxTreeListNode* Node, bool& Allow);
  virtual void DoExpanded(TdxTreeListNode* Node);
  virtual void DoCollapsed(TdxTreeListNode* Node);
  virtual void DoChangeNode(TdxTreeListNode* OldNode, TdxTreeListNode* Node);
  virtual void DoChangeColumn(TdxTreeListNode* Node, int Column);

  // Rows
  virtual void DropRowIndex();
  virtual void ResetRowHeightCache();
  virtual void UpdateLayout();
  virtual void UpdateRowIndex();
  // Runs in the layout pass after the row index is dropped and before it is rebuilt.
  virtual void AfterLayout() {}
  void NodeStructureChanged(TdxTreeListNode* Node, bool Deleted);
  void ClearNodeReferences();
  void InvalidateArea(const RECT& Rect);
  void InvalidateClient();

  // Editing. The base has no editor: EndEdit is where the in-place editing ends a
  // running edit, storing its value (after validating it) or not.
  virtual void EndEdit(bool /*StoreValue*/) {}
  // Forgets the edit cell and ends a running edit without validating or storing it:
  // what inserting and deleting nodes and every update do.
  void AbandonEdit();
  void SetEditCell(TdxTreeListNode* Node, int Column) {
    FEditNode = Node;
    FEditColumn = Column;
  }

  // Forgets Node wherever the control remembers it, when the node goes while others
  // remain; a reference that has to stay on a node moves to Replacement.
  virtual void ReleaseNodeReferences(TdxTreeListNode* Node, TdxTreeListNode* Replacement);
  TdxTreeListNode* SelectionAnchor() const { return FSelectionAnchor; }
  void SetSelectionAnchor(TdxTreeListNode* Node) { FSelectionAnchor = Node; }

  unsigned RowHeightGeneration() const { return FRowHeightGeneration; }

 private:
  void ChangeExpanded(TdxTreeListNode* Node, bool Value);
  // Patches the rows after Node was expanded or collapsed; false when the index
  // could not be patched.
  bool PatchExpanded(TdxTreeListNode* Node);
  void PatchInsertion(TdxTreeListNode* Node);
  void PatchDeletion(TdxTreeListNode* Node);
  void RebuildRowIndex();
  // The row of Node in the index, numbering rows as far as needed; -1 when absent.
  int FindRow(const TdxTreeListNode* Node);
  // Walking answers.
  int WalkRowCount() const;
  int WalkRowOf(const TdxTreeListNode* Node) const;
  TdxTreeListNode* WalkNodeAt(int Index) const;
  static TdxTreeListNode* WalkNext(const TdxTreeListNode* Node);

  TdxTreeListNodeList FNodes;
  TdxTreeListNode* FFocusedNode = nullptr;
  TdxTreeListNode* FTopVisibleNode = nullptr;
  TdxTreeListNode* FEditNode = nullptr;
  TdxTreeListNode* FSelectionAnchor = nullptr;
  int FEditColumn = -1;
  int FFocusedColumn = 0;
  int FFocusedAbsoluteIndex = -1;
  int FUpdateCount = 0;
  bool FClearing = false;
  TdxTreeListOptions FOptions = DefaultTreeListOptions;
  TdxTreeListOptionsEx FOptionsEx = DefaultTreeListOptionsEx;
  int FMaxRowLineCount = -1;

  // The visible-row index: the node of every row, and how far the rows' own numbers
  // (TdxTreeListNode::FRow) are current, from row 0. A change renumbers nothing: it
  // only lowers that mark, and a question numbers on from it as far as it needs.
  std::vector<TdxTreeListNode*> FRowNodes;
  int FRowsNumbered = 0;
  bool FRowIndexBuilt = false;
  bool FRowIndexFrozen = false;
  TdxTreeListNode* FChangedNode = nullptr;
  bool FChangedNodeVisible = false;
  bool FChangedNodeDeleted = false;
  // The visibility a deletion recorded before unlinking its node.
  bool FDeletedNodeVisible = false;
  unsigned FRowHeightGeneration = 1;
};

// The tree list that keeps cell texts and image indexes in its nodes.
class TCustomdxTreeListControl : public TCustomdxTreeList {
  TCLASS_DECL(TCustomdxTreeListControl, TCustomdxTreeList)
 public:
  using TCustomdxTreeList::TCustomdxTreeList;

 protected:
  TdxTreeListNode* CreateNode() override;
  int GetNodeImageIndex(TdxTreeListNode* Node) override;
  int GetNodeSelectedIndex(TdxTreeListNode* Node) override;
  int GetNodeStateIndex(TdxTreeListNode* Node) override;
  AnsiString GetNodeString(TdxTreeListNode* Node, int Column) override;
  void SetNodeImageIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeSelectedIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeStateIndex(TdxTreeListNode* Node, int Value) override;
  void SetNodeString(TdxTreeListNode* Node, int Column, const AnsiString& Text) override;
  void SetNodeValue(TdxTreeListNode* Node, int Column, const Variant& Value) override;
};

// The tree list of forms: re-sorts after node changes when aoAutoSortRefresh is set.
class TdxTreeList : public TCustomdxTreeListControl {
  TCLASS_DECL(TdxTreeList, TCustomdxTreeListControl)
 public:
  using TCustomdxTreeListControl::TCustomdxTreeListControl;

  bool ResortPending() const { return FResortPending; }

 protected:
  void NodeInserted(TdxTreeListNode* Node) override;
  void NodeDeleted(TdxTreeListNode* Node, TdxTreeListNode* Prev, bool WasVisible,
                   bool WasLast, TdxTreeListNode* Next) override;
  void SetNodeString(TdxTreeListNode* Node, int Column, const AnsiString& Text) override;
  void AfterLayout() override;
  // Re-sorts the nodes by the sort columns; nothing while no column sorts.
  virtual void ResortNodes() {}

 private:
  void AutoSortCheck();

  bool FResortPending = false;
};
