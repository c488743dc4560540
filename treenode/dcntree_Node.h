// The node of an owner-drawn tree: its own text, font, colour, image indexes, an
// optional check box or radio button, cached pixel sizes, and counters of its subtree
// kept current on every ancestor; and the collection that makes the nodes of a tree.
#pragma once

#include <vector>

#include "classlib/Graphics.h"
#include "classlib/StdCtrls.h"  // TCheckBoxState
#include "classlib/TypInfo.h"

class TOwnerTree;
class TDCTreeNode;
class TDCTreeNodes;

enum TDCNodeType { ntNone, ntCheckBox, ntRadioButton };
TENUM_INFO(TDCNodeType, "ntNone", "ntCheckBox", "ntRadioButton")

// The six parts of a row, left to right; a repaint mask has bit i for part i.
enum TDCNodePart { npIndent, npButton, npCheckBox, npStateImage, npImage, npText };
inline constexpr unsigned PartMask(TDCNodePart Part) { return 1u << Part; }

// MoveTo modes.
enum : Byte {
  naAdd = 0,           // last in Destination's list
  naAddFirst = 1,      // first in Destination's list
  naAddChild = 2,      // last child of Destination
  naAddChildFirst = 3, // first child of Destination
  naInsert = 4         // before Destination
};

// Negative when Node1 sorts before Node2.
using TDCNodeCompare = int (*)(TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data);

inline constexpr const char* SMoveToChild = "Trying move to child";
inline constexpr const char* SInvalidOperation = "Invalid operation";
inline constexpr const char* SInvalidNode = "Invalid Node";

class TDCTreeNode : public TPersistent {
  TCLASS_DECL(TDCTreeNode, TPersistent)
 public:
  // A node of AOwner's tree (none: a free-standing node, as streaming makes).
  explicit TDCTreeNode(TDCTreeNodes* AOwner = nullptr);
  TDCTreeNode(const TDCTreeNode&) = delete;
  TDCTreeNode& operator=(const TDCTreeNode&) = delete;
  ~TDCTreeNode() override;
  // Frees the children, clears every reference the tree holds to the node, and takes
  // it out of its list.
  void BeforeDestruction() override;
  void Assign(TPersistent* Source) override;

  // Structure.
  TOwnerTree* Tree() const { return FTree; }
  TDCTreeNodes* Owner() const { return FOwner; }
  TDCTreeNode* Parent() const { return FParent; }       // nil at the top level
  TDCTreeNode* Holder() const { return FHolder; }       // the hidden root at the top level
  TDCTreeNode* FirstChild() const { return FFirstChild; }
  TDCTreeNode* LastChild() const { return FLastChild; }
  TDCTreeNode* NextSibling() const { return FNext; }
  TDCTreeNode* PrevSibling() const { return FPrev; }
  TDCTreeNode* CheckedRadioChild() const { return FRadioChild; }
  int Count() const { return FChildCount; }
  int DescendantCount() const { return FDescendantCount; }
  int VisibleCount() const { return FVisibleCount; }
  void SetVisibleCount(int Value) { FVisibleCount = Value; }
  int Level() const;
  // Whether Node lies in this node's subtree (the node itself excluded).
  bool HasAsDescendant(const TDCTreeNode* Node) const;

  // Published properties.
  bool AllowGrayed() const { return Flag(nfAllowGrayed); }
  void SetAllowGrayed(bool Value);
  // The tree's colour while ParentColor is set.
  TColor Color() const;
  void SetColor(TColor Value);
  bool Expanded() const { return Flag(nfExpanded); }
  void SetExpanded(bool Value);
  TFont* Font();
  void SetFont(TFont* Value);
  bool HasChildren() const { return Flag(nfHasChildren); }
  void SetHasChildren(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TDCNodeType NodeType() const { return FNodeType; }
  void SetNodeType(TDCNodeType Value);
  // The number of the tree's overlay image drawn over the node's image
  // (TCustomImageList::Overlay); -1: none.
  int OverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int Value);
  bool ReadOnly() const { return Flag(nfReadOnly); }
  void SetReadOnly(bool Value) { SetFlag(nfReadOnly, Value); }
  bool ParentColor() const { return Flag(nfParentColor); }
  void SetParentColor(bool Value);
  bool ParentFont() const { return Flag(nfParentFont); }
  void SetParentFont(bool Value);
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  int StateIndex() const { return FStateIndex; }
  void SetStateIndex(int Value);
  AnsiString Text() const { return GetText(); }
  void SetText(const AnsiString& Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }

  // Marks kept in step with the tree.
  bool Selected() const { return Flag(nfSelected); }
  void SetSelected(bool Value);
  bool Focused() const { return Flag(nfFocused); }
  void SetFocused(bool Value);
  bool Hot() const { return Flag(nfHot); }
  void SetHot(bool Value);

  // The font the node is drawn in: its own, or the tree's.
  virtual TFont* GetFont();
  virtual AnsiString GetText() const { return FText; }
  // Pixel sizes, measured by the tree and cached; 0 while the tree has no window.
  virtual int Height();
  virtual int Width();
  // Drops the cached sizes.
  void InvalidateSizes();
  // Drops the sizes and measures again, with the tree's layout upkeep.
  void Remeasure();

  virtual TDCTreeNode* GetNextVisible() const;
  virtual TDCTreeNode* GetPrevVisible() const;
  // The last visible node of the subtree (the node itself when collapsed).
  TDCTreeNode* LastVisibleDescendant() const;
  // True when every ancestor is expanded.
  bool IsVisible() const;
  void MakeVisible();

  void Expand(bool Recursive);
  void Collapse(bool Recursive);

  // Sorts the children, stably; nil Compare is the tree's comparison. Always true.
  virtual bool CustomSort(TDCNodeCompare Compare, void* Data);
  // Moves the node (with its subtree) by Mode (naAdd ...) relative to Destination.
  virtual void MoveTo(TDCTreeNode* Destination, Byte Mode, bool Select);
  // Moves the node within its list to keep a sorted tree's order.
  virtual void Reposition();

  // The rectangle of a part of the node's row, in client coordinates.
  virtual TRect GetPartRect(TDCNodePart Part);
  // Invalidates the selected parts of the row (bit i = part i).
  void RepaintParts(unsigned Mask);
  virtual void DrawCheckBox(TCanvas* Canvas, const TRect& R);
  // Draws the state image in R (the state-image part), centred.
  virtual void DrawStateImage(TCanvas* Canvas, const TRect& R);
  // The state-image column: the width of the tree's state images while StateIndex
  // names one of them, else 0.
  virtual int StateImageWidth();
  // The image column: the width of the tree's images + 3 while it has an image list,
  // else 0.
  virtual int ImageColumnWidth();
  // The image shown: SelectedIndex while the node is selected, else ImageIndex.
  int ShownImageIndex() const { return Selected() ? FSelectedIndex : FImageIndex; }

  // Streaming predicates.
  bool ColorStored() const { return !ParentColor(); }
  bool FontStored() const { return !ParentFont(); }

  // The widest node of the expanded subtree and its width (see TOwnerTree).
  TDCTreeNode* WidestNode() const { return FWidest; }
  int WidestWidth() const { return FWidestWidth; }

 private:
  friend class TOwnerTree;
  friend class TDCTreeNodes;
  friend void AppendNode(TDCTreeNode*, TDCTreeNode*);
  friend void PrependNode(TDCTreeNode*, TDCTreeNode*);
  friend void InsertNodeBefore(TDCTreeNode*, TDCTreeNode*);
  friend void UnlinkNode(TDCTreeNode*);
  friend int CompareNodePositions(TDCTreeNode*, TDCTreeNode*);

  enum TFlag : Word {
    nfAllowGrayed = 1 << 0,
    nfDestroying = 1 << 2,
    nfHot = 1 << 3,
    nfExpanded = 1 << 4,
    nfFocused = 1 << 5,
    nfHasChildren = 1 << 6,
    nfReadOnly = 1 << 7,
    nfSelected = 1 << 8,
    nfWidthValid = 1 << 9,
    nfHeightValid = 1 << 10,
    nfParentColor = 1 << 11,
    nfParentFont = 1 << 12,
  };
  bool Flag(Word F) const { return (FFlags & F) != 0; }
  void SetFlag(Word F, bool On) { FFlags = On ? (FFlags | F) : (FFlags & ~F); }

  // What a node adds to its holder's visible count: its row and, when expanded, its
  // visible rows.
  int VisibleWeight() const { return 1 + (Expanded() ? FVisibleCount : 0); }
  // Takes the node out of its list, keeping the counters of the holders.
  void Detach();
  // Links the node by Mode and adds it to the counters of its new holders.
  void Attach(TDCTreeNode* Destination, Byte Mode);
  // Adds Visible and Descendants to the counters of Holder and its ancestors; the
  // visible rows stop rising at a collapsed ancestor.
  static void AddToCounters(TDCTreeNode* Holder, int Visible, int Descendants);
  void TakeRadioPlace();
  void AfterChildRemoved();
  void FontChanged(TObject* Sender);
  // The setter's steps: the state-changing event and the change itself (false when
  // nothing changed), and the repaint and state-changed event that end it.
  bool TakeState(TCheckBoxState Value);
  void StateTaken();
  // The auto-check passes from a node whose state changed: its descendants take it,
  // its ancestors take their check-box children's common state.
  void PushStateDown();
  void PushStateUp();

  int FHeight = 0;
  int FWidth = 0;
  TDCTreeNode* FWidest = nullptr;
  int FWidestWidth = 0;
  int FVisibleCount = 0;
  TDCTreeNode* FFirstChild = nullptr;
  TDCTreeNode* FLastChild = nullptr;
  int FDescendantCount = 0;
  int FChildCount = 0;
  TColor FColor = clWindow;
  void* FData = nullptr;
  TFont* FFont = nullptr;
  int FImageIndex = 0;
  TDCTreeNode* FNext = nullptr;
  TDCTreeNode* FPrev = nullptr;
  int FOverlayIndex = -1;
  TDCTreeNodes* FOwner;
  TDCTreeNode* FParent = nullptr;
  TDCTreeNode* FRadioChild = nullptr;
  int FSelectedIndex = 0;
  int FStateIndex = -1;
  TOwnerTree* FTree = nullptr;
  Word FFlags = nfParentColor | nfParentFont;
  TDCNodeType FNodeType = ntNone;
  TCheckBoxState FState = cbUnchecked;
  TDCTreeNode* FHolder = nullptr;
  AnsiString FText;
};

// The nodes of one tree: it makes them and tells the tree of changes; the nodes live in
// the tree's hidden root.
class TDCTreeNodes : public TObject {
  TCLASS_DECL(TDCTreeNodes, TObject)
 public:
  explicit TDCTreeNodes(TOwnerTree* ATree) : FTree(ATree) {}
  TDCTreeNodes(const TDCTreeNodes&) = delete;
  TDCTreeNodes& operator=(const TDCTreeNodes&) = delete;

  TOwnerTree* Tree() const { return FTree; }
  // A new node with Text, last in Parent's children (nil: at the top level).
  TDCTreeNode* AddChild(TDCTreeNode* Parent, const AnsiString& Text);
  // A new node with Text, before Sibling.
  TDCTreeNode* Insert(TDCTreeNode* Sibling, const AnsiString& Text);
  // Frees every node.
  void Clear();
  // The number of nodes.
  int Count() const;

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }
  // A node or the structure changed.
  void Changed();
  int ChangeCount() const { return FChangeCount; }

 private:
  TOwnerTree* FTree;
  int FUpdateCount = 0;
  int FChangeCount = 0;
};

// The nodes of Node's subtree (Node excluded), parents before their children; found
// without recursion.
std::vector<TDCTreeNode*> SubtreeNodes(TDCTreeNode* Node);

void RegisterDCTreeNodeProperties();
void UnRegisterDCTreeNodeProperties();
