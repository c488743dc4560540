// The tree control that owns tree nodes: its node collection and hidden root, a
// tooltip window for clipped node texts, an EDIT control for in-place text, and the
// operations the nodes call (scrolling, the top node, rows per page, visible counts,
// ending an edit, the selection change with its delay timer, hot tracking). It paints
// row texts, check boxes, state images and images.
#pragma once

#include <vector>

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "treenode/DCToolTip.h"
#include "treenode/dcntree_Node.h"

// Timer ids of the tree.
inline constexpr UINT_PTR ChangeTimerId = 1;
inline constexpr UINT_PTR DelayedActionTimerId = 4;

// The message that asks a window to measure a node's text: wParam is a
// TNodeMeasureRecord*; a non-zero answer means the height was written to *Result.
inline constexpr UINT CM_MEASURENODE = WM_USER + 2;

#pragma pack(push, 1)
struct TNodeMeasureRecord {
  const char* Text;
  int* Result;
  int TextLeft;   // the left of the node's text part
  int TextWidth;  // the width its text may take
  BYTE WordWrap;
  BYTE Reserved;
};
#pragma pack(pop)

// Answers of the edited event.
enum TEditAction { eaAccept = 0, eaCancel = 1, eaKeepEditing = 2 };

using TDCCompareEvent =
    TEvent<void(TObject* Sender, TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data, int& Result)>;
using TDCNodeEvent = TEvent<void(TObject* Sender, TDCTreeNode* Node)>;
using TDCNodeAllowEvent = TEvent<void(TObject* Sender, TDCTreeNode* Node, bool& Allow)>;
using TDCStateChangingEvent =
    TEvent<void(TObject* Sender, TDCTreeNode* Node, TCheckBoxState& State)>;
using TDCEditedEvent =
    TEvent<void(TObject* Sender, TDCTreeNode* Node, AnsiString& Text, TEditAction& Action)>;
using TDCToolTipEvent =
    TEvent<void(TObject* Sender, TDCTreeNode* Node, const AnsiString& Text, TRect& Rect)>;

// The comparison of two nodes of one tree: its OnCompare when assigned, else its
// CompareNodes.
int DefaultNodeCompare(TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data);
// True when the node's tree suppresses the test or every ancestor is expanded.
bool IsNodeVisible(TDCTreeNode* Node);

class TOwnerTree : public TCustomControl, public TToolTipHolder {
  TCLASS_DECL(TOwnerTree, TCustomControl)
 public:
  explicit TOwnerTree(TComponent* AOwner);
  ~TOwnerTree() override;
  void BeforeDestruction() override;

  TDCTreeNodes* Items() const { return FNodes; }
  TDCTreeNode* Root() const { return FRoot; }
  HWND ToolTipHandle() const override { return FToolTip; }
  HWND EditHandle() const { return FEdit; }

  // Options.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool ShowCheckBoxes() const { return FShowCheckBoxes; }
  void SetShowCheckBoxes(bool Value);
  bool SortedByText() const { return FSorted; }
  void SetSortedByText(bool Value);
  bool SortDescending() const { return FDescending; }
  void SetSortDescending(bool Value) { FDescending = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool VariableHeight() const { return FVariableHeight; }
  void SetVariableHeight(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool HotTrackEnabled() const { return FHotTrack; }
  void SetHotTrackEnabled(bool Value) { FHotTrack = Value; }
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { FMultiSelect = Value; }
  // A multi-selection keeps to the level of its first node.
  bool SelectSameLevel() const { return FSelectSameLevel; }
  void SetSelectSameLevel(bool Value) { FSelectSameLevel = Value; }
  bool ShowRoot() const { return FShowRoot; }
  int Indent() const { return FIndent; }
  bool FlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool Value);
  // Whether each scroll bar may show (on by default): with its option off a bar never
  // shows, takes no room, and gets no scroll information.
  bool ShowHorzScrollBar() const { return FShowHorzScrollBar; }
  void SetShowHorzScrollBar(bool Value);
  bool ShowVertScrollBar() const { return FShowVertScrollBar; }
  void SetShowVertScrollBar(bool Value);

  // The images of the rows: each row shows Images[ImageIndex] (SelectedIndex while it
  // is selected) with its overlay, and StateImages[StateIndex] before it.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  // Milliseconds between a focus change and OnChange (0: at once).
  int ChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(int Value) { FChangeDelay = Value; }
  // Skips the visibility test of ancestors (and the radio buttons' custom drawing).
  bool Suppressed() const { return FSuppress; }
  void SetSuppressed(bool Value) { FSuppress = Value; }
  // The window asked to measure node texts first (CM_MEASURENODE); 0: none.
  HWND MeasureWindow() const { return FMeasureWindow; }
  void SetMeasureWindow(HWND Value) { FMeasureWindow = Value; }

  // References to nodes.
  TDCTreeNode* FocusedNode() const { return FFocused; }
  TDCTreeNode* TopNode() const { return FTopNode; }
  TDCTreeNode* HotNode() const { return FHot; }
  TDCTreeNode* AnchorNode() const { return FAnchor; }
  void SetAnchorNode(TDCTreeNode* Node) { FAnchor = Node; }
  TDCTreeNode* DropTarget() const { return FDropTarget; }
  void SetDropTarget(TDCTreeNode* Node);
  TDCTreeNode* EditedNode() const { return FEditNode; }
  TDCTreeNode* DelayedNode() const { return FDelayedNode; }
  TDCTreeNode* TipNode() const { return FTipNode; }
  const std::vector<TDCTreeNode*>& Selection() const { return FSelection; }

  // Whether the tree is being destroyed.
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool Updating() const { return FNodes && FNodes->Updating(); }

  // The comparison of two nodes: OnCompare when assigned, else CompareNodes.
  int DefaultNodeCompare(TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data);
  virtual int CompareNodes(TDCTreeNode* Node1, TDCTreeNode* Node2);

  // Measuring.
  virtual int MeasureNodeHeight(TDCTreeNode* Node);
  virtual int MeasureNodeWidth(TDCTreeNode* Node);
  // The font height of the tree's font, or with variable heights the node text's
  // height in its text width.
  int NodeHeight(TDCTreeNode* Node, const AnsiString& Text);
  // Lets the measure window measure the text first; NodeHeight + 2 when it does not.
  int CustomNodeHeight(TDCTreeNode* Node, const AnsiString& Text, int Arg);
  // The left of the node's row (x of its indent part), client coordinates.
  int NodeLeft(TDCTreeNode* Node);
  // The whole width of the node's row.
  int NodeFullWidth(TDCTreeNode* Node);
  // The left of the node's text part, measured without the node's own sizes.
  int TextLeft(TDCTreeNode* Node);
  // The check-box column of the node's row: the glyph + 4, or 0.
  int CheckColumnWidth(TDCTreeNode* Node) const;
  // The columns between the node's indent and its text: expand button, check box,
  // state image and image.
  int ColumnsWidth(TDCTreeNode* Node);
  TRect NodePartRect(TDCTreeNode* Node, TDCNodePart Part);
  // The top of the node's row (client), or INT_MAX when it is not on screen.
  int NodeTop(TDCTreeNode* Node);
  TDCTreeNode* NodeAt(int X, int Y);

  // Layout.
  void CountVisible(TDCTreeNode* Node);
  void RecomputeWidest(TDCTreeNode* Node);
  // After Node's width grew or shrank (or it left the tree).
  void WidthGrew(TDCTreeNode* Node);
  void WidthShrank(TDCTreeNode* Node, TDCTreeNode* From);
  // After the width of Node's own row changed, either way: its widest pair and its
  // holders' follow.
  void RowWidthChanged(TDCTreeNode* Node);
  void FullRecalc();
  void UpdateScrollBars(bool ReapplyHorizontal, bool ReapplyTop);
  int ItemsPerPage(int Size);
  int HeightBetween(TDCTreeNode* From, TDCTreeNode* To);
  int ContentWidth() const { return FContentWidth; }
  int HorizontalPosition() const { return FHorzPos; }
  void SetHorizontalPosition(int X);
  void SetTopNode(TDCTreeNode* Node);
  int GetScrollPosition(int Bar, bool Tracking);
  void ScrollBy(int DX, int DY);
  // The tree's node changed its structure: re-lay out and repaint.
  void StructureChanged();

  // Painting and hit areas.
  void InvalidateNode(TDCTreeNode* Node, const TRect& R);
  void InvalidateRow(TDCTreeNode* Node);

  // Editing.
  void EditNode(TDCTreeNode* Node);
  void EndEdit(bool Cancel);
  bool Editing() const { return FEditNode != nullptr; }

  // Focus and selection.
  void SetFocusedNode(TDCTreeNode* Node);
  void ClearSelection(TDCTreeNode* Except);
  void StartDelayedAction(TDCTreeNode* Node, UINT Milliseconds);

  // Tooltip and hot tracking, run when the mouse moves over Node.
  void UpdateNodeToolTip(TDCTreeNode* Node);
  void HideNodeToolTip();
  void HotTrack(int X, int Y);

  // Timer helpers.
  void StartTimer(UINT_PTR Id, UINT Interval);
  void StopTimer(UINT_PTR Id);
  bool TimerRunning(UINT_PTR Id) const;

  // The node forgets itself in the tree: every reference is cleared.
  void NodeRemoved(TDCTreeNode* Node);
  // A child of the hidden root or a node was added to the selection or left it.
  void SelectionChanged(TDCTreeNode* Node, bool Selected);
  void FocusMarkChanged(TDCTreeNode* Node, bool Focused);
  void HotMarkChanged(TDCTreeNode* Node, bool Hot);

  // Events.
  TDCCompareEvent OnCompare;
  TDCStateChangingEvent OnStateChanging;
  TDCNodeEvent OnStateChanged;
  TDCNodeAllowEvent OnChanging;
  TDCNodeEvent OnChange;
  TDCNodeAllowEvent OnExpanding;
  TDCNodeAllowEvent OnCollapsing;
  TDCNodeEvent OnExpanded;
  TDCNodeEvent OnCollapsed;
  TDCEditedEvent OnEdited;
  TDCNodeEvent OnEditCancelled;
  TDCNodeEvent OnDelayedAction;
  TDCToolTipEvent OnToolTip;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  void ChangeBracketEnd();
  void FireChange();
  void WMTimer(TMessage& Message);
  void WMScroll(TMessage& Message, int Bar);
  void SetScrollInfoOf(int Bar, const SCROLLINFO& Info, bool Redraw);
  void GetScrollInfoOf(int Bar, SCROLLINFO& Info);
  void ShowScrollBarOf(int Bar, bool Show);
  bool ScrollBarAllowed(int Bar) const;
  // Node's widest pair: its own row or, when expanded, the widest of its children's.
  void TakeWidest(TDCTreeNode* Node);
  void ChangeImages(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
  // An image list changed: the image columns of every row are measured again.
  void ImageListChange(TObject* Sender);
  // Draws the node's image, with its overlay, in its image part R.
  void DrawNodeImage(TCanvas* Canvas, TDCTreeNode* Node, const TRect& R);

  TDCTreeNodes* FNodes;
  TDCTreeNode* FRoot;
  TDCTreeNode* FTopNode = nullptr;
  int FTopIndex = 0;
  TDCTreeNode* FFocused = nullptr;
  TDCTreeNode* FAnchor = nullptr;
  TDCTreeNode* FHot = nullptr;
  TDCTreeNode* FDropTarget = nullptr;
  TDCTreeNode* FEditNode = nullptr;
  TDCTreeNode* FDelayedNode = nullptr;
  std::vector<TDCTreeNode*> FSelection;
  HWND FEdit = nullptr;
  HWND FToolTip = nullptr;
  TDCTreeNode* FTipNode = nullptr;
  TRect FTipTextRect{};
  TRect FTipRect{};
  bool FToolAdded = false;
  AnsiString FTipText;
  HWND FMeasureWindow = nullptr;
  int FHorzPos = 0;
  int FContentWidth = 0;
  int FIndent = 19;
  int FLeftMargin = 2;
  POINT FLastMouse{-1, -1};
  bool FAutoCheck = false;
  friend class TDCTreeNode;  // the auto-check passes
  // Auto-check passes running: a node set by the downward pass starts no upward pass,
  // one set by the upward pass no downward pass.
  int FDownwardPasses = 0;
  int FUpwardPasses = 0;
  bool FShowCheckBoxes = true;
  bool FSorted = false;
  bool FDescending = false;
  bool FFlat = false;
  bool FVariableHeight = false;
  bool FWordWrap = false;
  bool FHotTrack = false;
  bool FMultiSelect = false;
  bool FSelectSameLevel = false;
  bool FShowRoot = true;
  bool FFlatScrollBars = false;
  bool FShowHorzScrollBar = true;
  bool FShowVertScrollBar = true;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  TChangeLink* FImageLink = nullptr;
  TChangeLink* FStateImageLink = nullptr;
  bool FSuppress = false;
  bool FEndingEdit = false;
  int FChangeCount = 0;
  bool FChangePending = false;
  int FChangeDelay = 0;
  unsigned FTimerFlags = 0;
};
