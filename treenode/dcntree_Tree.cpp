#include "treenode/dcntree_Tree.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "classlib/FlatScrollBars.h"
#include "classlib/GdiScopes.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "treenode/FontMan.h"
#include "treenode/dcntree.h"

TCLASS_IMPL(TOwnerTree)

namespace {

// The rows of Node's expanded subtree (Node excluded), in display order.
std::vector<TDCTreeNode*> VisibleSubtree(TDCTreeNode* Node) {
  std::vector<TDCTreeNode*> Result;
  if (!Node->Expanded() && Node->Holder()) return Result;
  TDCTreeNode* Last = Node->LastVisibleDescendant();
  if (Last == Node && Node->Holder()) return Result;
  for (TDCTreeNode* N = Node->FirstChild(); N; N = N->GetNextVisible()) {
    Result.push_back(N);
    if (N == Last) break;
  }
  return Result;
}

// The visible index of Node among all rows, from the counters of its ancestors.
int VisibleIndexOf(TDCTreeNode* Node) {
  int Index = 0;
  for (TDCTreeNode* N = Node; N->Holder(); N = N->Holder()) {
    for (TDCTreeNode* S = N->PrevSibling(); S; S = S->PrevSibling())
      Index += 1 + (S->Expanded() ? S->VisibleCount() : 0);
    if (N->Holder()->Holder()) ++Index;  // the holder's own row
  }
  return Index;
}

// The row at Index below Holder, found by the counters.
TDCTreeNode* NodeAtVisibleIndex(TDCTreeNode* Holder, int Index) {
  TDCTreeNode* C = Holder->FirstChild();
  while (C) {
    if (Index == 0) return C;
    int Weight = 1 + (C->Expanded() ? C->VisibleCount() : 0);
    if (Index < Weight) {
      --Index;
      C = C->FirstChild();
    } else {
      Index -= Weight;
      C = C->NextSibling();
    }
  }
  return nullptr;
}

// Drawing kept inside a rectangle (a part of a row) for the length of a scope.
class TClipTo {
 public:
  TClipTo(HDC DC, const TRect& R) : FSaved(DC) {
    IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  }

 private:
  TSavedDC FSaved;
};

}  // namespace

int DefaultNodeCompare(TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data) {
  return Node1->Tree()->DefaultNodeCompare(Node1, Node2, Data);
}

bool IsNodeVisible(TDCTreeNode* Node) { return Node->IsVisible(); }

// ---------------------------------------------------------------------------------
// Life

TOwnerTree::TOwnerTree(TComponent* AOwner) : TCustomControl(AOwner) {
  FNodes = NewObject<TDCTreeNodes>(this);
  FRoot = NewObject<TDCTreeNode>(FNodes);
  FRoot->SetFlag(TDCTreeNode::nfExpanded | TDCTreeNode::nfHasChildren, true);
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  for (TChangeLink** Link : {&FImageLink, &FStateImageLink}) {
    *Link = NewObject<TChangeLink>();
    (*Link)->OnChange = TNotifyEvent::Bind<&TOwnerTree::ImageListChange>(this);
  }
}

TOwnerTree::~TOwnerTree() {
  FreeAndNil(FStateImageLink);
  FreeAndNil(FImageLink);
  FreeAndNil(FRoot);
  FreeAndNil(FNodes);
}

void TOwnerTree::BeforeDestruction() {
  Destroying();
  if (FEdit) DestroyWindow(FEdit);
  FEdit = nullptr;
  FEditNode = nullptr;
  FreeAndNil(FRoot);
  FreeAndNil(FNodes);
  inherited::BeforeDestruction();
}

void TOwnerTree::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_TABSTOP | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TOwnerTree::CreateWnd() {
  inherited::CreateWnd();
  INITCOMMONCONTROLSEX Controls{sizeof(Controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&Controls);
  if (FFlatScrollBars) FlatSBInitialize(Handle());
  FToolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                             HInstance, nullptr);
  FToolAdded = false;
  FTipNode = nullptr;
  FullRecalc();
}

void TOwnerTree::DestroyWnd() {
  if (FEdit) DestroyWindow(FEdit);
  FEdit = nullptr;
  FEditNode = nullptr;
  if (FToolTip) DestroyWindow(FToolTip);
  FToolTip = nullptr;
  FToolAdded = false;
  FTipNode = nullptr;
  FTimerFlags = 0;
  if (FFlatScrollBars) FlatSBUninitialize(Handle());
  inherited::DestroyWnd();
}

// ---------------------------------------------------------------------------------
// Options

void TOwnerTree::SetShowCheckBoxes(bool Value) {
  if (Value == FShowCheckBoxes) return;
  FShowCheckBoxes = Value;
  FullRecalc();
  Invalidate();
}

void TOwnerTree::SetSortedByText(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  if (!Value) return;
  FRoot->CustomSort(nullptr, nullptr);
  for (TDCTreeNode* N : SubtreeNodes(FRoot))
    if (N->Count() > 1) N->CustomSort(nullptr, nullptr);
}

void TOwnerTree::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TOwnerTree::SetVariableHeight(bool Value) {
  if (Value == FVariableHeight) return;
  FVariableHeight = Value;
  for (TDCTreeNode* N : SubtreeNodes(FRoot)) N->InvalidateSizes();
  FullRecalc();
}

void TOwnerTree::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  for (TDCTreeNode* N : SubtreeNodes(FRoot)) N->InvalidateSizes();
  FullRecalc();
}

void TOwnerTree::SetFlatScrollBars(bool Value) {
  if (Value == FFlatScrollBars) return;
  if (HandleAllocated()) {
    if (Value)
      FlatSBInitialize(Handle());
    else
      FlatSBUninitialize(Handle());
  }
  FFlatScrollBars = Value;
  UpdateScrollBars(false, false);
}

void TOwnerTree::SetShowHorzScrollBar(bool Value) {
  if (Value == FShowHorzScrollBar) return;
  FShowHorzScrollBar = Value;
  UpdateScrollBars(true, false);
}

void TOwnerTree::SetShowVertScrollBar(bool Value) {
  if (Value == FShowVertScrollBar) return;
  FShowVertScrollBar = Value;
  UpdateScrollBars(false, true);
}

void TOwnerTree::SetImages(TCustomImageList* Value) {
  ChangeImages(FImages, FImageLink, Value);
}

void TOwnerTree::SetStateImages(TCustomImageList* Value) {
  ChangeImages(FStateImages, FStateImageLink, Value);
}

void TOwnerTree::ChangeImages(TCustomImageList*& Field, TChangeLink* Link,
                              TCustomImageList* Value) {
  // The list may stay on in the other role.
  const bool InOtherRole = Field && Field == (&Field == &FImages ? FStateImages : FImages);
  if (ReplaceImageList(this, Field, Link, Value, InOtherRole)) ImageListChange(this);
}

void TOwnerTree::ImageListChange(TObject* /*Sender*/) {
  if (IsDestroying()) return;
  FullRecalc();
}

void TOwnerTree::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

void TOwnerTree::SetDropTarget(TDCTreeNode* Node) {
  if (Node == FDropTarget) return;
  if (FDropTarget) InvalidateRow(FDropTarget);
  FDropTarget = Node;
  if (Node) InvalidateRow(Node);
}

// ---------------------------------------------------------------------------------
// Comparing and measuring

int TOwnerTree::DefaultNodeCompare(TDCTreeNode* Node1, TDCTreeNode* Node2, void* Data) {
  if (OnCompare.Assigned()) {
    int Result = 0;
    OnCompare(this, Node1, Node2, Data, Result);
    return Result;
  }
  return CompareNodes(Node1, Node2);
}

int TOwnerTree::CompareNodes(TDCTreeNode* Node1, TDCTreeNode* Node2) {
  return AnsiCompareText(Node1->Text(), Node2->Text());
}

int TOwnerTree::MeasureNodeHeight(TDCTreeNode* Node) {
  if (FMeasureWindow) return CustomNodeHeight(Node, Node->Text(), 0);
  return NodeHeight(Node, Node->Text());
}

int TOwnerTree::MeasureNodeWidth(TDCTreeNode* Node) {
  AnsiString Text = Node->Text();
  return FontTextExtent(Node->GetFont()->Handle(), Text.c_str(), static_cast<int>(Text.size())) + 4;
}

int TOwnerTree::NodeHeight(TDCTreeNode* Node, const AnsiString& Text) {
  if (!FVariableHeight) return GetFontHeight(Font());
  int Width = std::max(1, ClientWidth() - TextLeft(Node));
  Canvas()->SetFont(Node->GetFont());
  return NodeTextHeight(Canvas(), Text, Width, FWordWrap);
}

int TOwnerTree::CustomNodeHeight(TDCTreeNode* Node, const AnsiString& Text, int /*Arg*/) {
  int Result = 0;
  int Left = TextLeft(Node);
  TNodeMeasureRecord Record{Text.c_str(), &Result, Left, std::max(1, ClientWidth() - Left),
                            static_cast<BYTE>(FWordWrap), 0};
  HWND Target = FMeasureWindow ? FMeasureWindow : Handle();
  if (SendMessageA(Target, CM_MEASURENODE, reinterpret_cast<WPARAM>(&Record), 0) != 0)
    return Result;
  return NodeHeight(Node, Text) + 2;
}

int TOwnerTree::NodeLeft(TDCTreeNode* Node) {
  return FLeftMargin - FHorzPos + Node->Level() * FIndent;
}

int TOwnerTree::CheckColumnWidth(TDCTreeNode* Node) const {
  return FShowCheckBoxes && Node->NodeType() != ntNone ? CheckBoxWidth() + 4 : 0;
}

int TOwnerTree::ColumnsWidth(TDCTreeNode* Node) {
  return (FShowRoot ? FIndent : 0) + CheckColumnWidth(Node) + Node->StateImageWidth() +
         Node->ImageColumnWidth();
}

int TOwnerTree::TextLeft(TDCTreeNode* Node) { return NodeLeft(Node) + ColumnsWidth(Node); }

TRect TOwnerTree::NodePartRect(TDCTreeNode* Node, TDCNodePart Part) {
  int Top = NodeTop(Node);
  int Bottom = Top == INT_MAX ? INT_MAX : Top + Node->Height();
  int Widths[6] = {0,
                   FShowRoot ? FIndent : 0,
                   CheckColumnWidth(Node),
                   Node->StateImageWidth(),
                   Node->ImageColumnWidth(),
                   Node->Width()};
  int X = NodeLeft(Node);
  TRect R{FLeftMargin - FHorzPos, Top, X, Bottom};
  for (int P = npButton; P <= Part; ++P) {
    R.left = X;
    X += Widths[P];
    R.right = X;
  }
  return R;
}

int TOwnerTree::NodeFullWidth(TDCTreeNode* Node) {
  if (Node == FRoot) return 0;
  int Width = FLeftMargin + Node->Level() * FIndent + ColumnsWidth(Node) + Node->Width();
  return std::max(0, Width);
}

int TOwnerTree::NodeTop(TDCTreeNode* Node) {
  if (!HandleAllocated() || !Node->IsVisible()) return INT_MAX;
  int ClientH = ClientHeight();
  int Y = 0;
  for (TDCTreeNode* N = FTopNode; N && Y < ClientH; N = N->GetNextVisible()) {
    if (N == Node) return Y;
    Y += N->Height();
  }
  return INT_MAX;
}

TDCTreeNode* TOwnerTree::NodeAt(int /*X*/, int Y) {
  if (Y < 0) return nullptr;
  int Top = 0;
  for (TDCTreeNode* N = FTopNode; N; N = N->GetNextVisible()) {
    int Bottom = Top + N->Height();
    if (Y < Bottom) return N;
    Top = Bottom;
    if (Top >= ClientHeight()) break;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------
// Layout

void TOwnerTree::CountVisible(TDCTreeNode* Node) {
  std::vector<TDCTreeNode*> Nodes = SubtreeNodes(Node);
  Nodes.insert(Nodes.begin(), Node);
  for (auto It = Nodes.rbegin(); It != Nodes.rend(); ++It) {
    int Count = 0;
    for (TDCTreeNode* C = (*It)->FirstChild(); C; C = C->NextSibling())
      Count += 1 + (C->Expanded() ? C->VisibleCount() : 0);
    (*It)->SetVisibleCount(Count);
  }
}

void TOwnerTree::TakeWidest(TDCTreeNode* Node) {
  Node->FWidest = Node;
  Node->FWidestWidth = NodeFullWidth(Node);
  if (!Node->Expanded() && Node != FRoot) return;
  for (TDCTreeNode* C = Node->FirstChild(); C; C = C->NextSibling())
    if (C->FWidestWidth > Node->FWidestWidth) {
      Node->FWidest = C->FWidest;
      Node->FWidestWidth = C->FWidestWidth;
    }
}

void TOwnerTree::RecomputeWidest(TDCTreeNode* Node) {
  std::vector<TDCTreeNode*> Rows = VisibleSubtree(Node);
  Rows.insert(Rows.begin(), Node);
  // Children come after their parents in display order, so a backward pass sees every
  // child's pair before its parent's.
  for (auto It = Rows.rbegin(); It != Rows.rend(); ++It) TakeWidest(*It);
}

void TOwnerTree::WidthGrew(TDCTreeNode* Node) {
  if (!HandleAllocated() || Updating()) return;
  int Width = NodeFullWidth(Node);
  if (Node->FWidest == Node || !Node->FWidest) {
    Node->FWidest = Node;
    Node->FWidestWidth = std::max(Width, Node->FWidestWidth);
  }
  for (TDCTreeNode* H = Node->Holder(); H && H->FWidestWidth < Width; H = H->Holder()) {
    H->FWidest = Node;
    H->FWidestWidth = Width;
    if (H->Holder() && !H->Expanded()) break;
  }
  FContentWidth = FRoot->FirstChild() ? FRoot->FWidestWidth : 0;
}

void TOwnerTree::WidthShrank(TDCTreeNode* Node, TDCTreeNode* From) {
  if (!HandleAllocated() || Updating()) return;
  for (TDCTreeNode* H = From; H && H->FWidest == Node; H = H->Holder()) TakeWidest(H);
  FContentWidth = FRoot->FirstChild() ? FRoot->FWidestWidth : 0;
}

void TOwnerTree::RowWidthChanged(TDCTreeNode* Node) {
  if (!HandleAllocated() || Updating()) return;
  const int Old = Node->FWidestWidth;
  // Unless a wider row below it still holds the node's pair, the pair is taken again.
  if (Node->FWidest && Node->FWidest != Node && NodeFullWidth(Node) <= Old) return;
  TakeWidest(Node);
  const int New = Node->FWidestWidth;
  if (New <= Old) {
    WidthShrank(Node, Node->Holder());
    return;
  }
  for (TDCTreeNode* H = Node->Holder(); H && H->FWidestWidth < New; H = H->Holder()) {
    H->FWidest = Node->FWidest;
    H->FWidestWidth = New;
  }
  FContentWidth = FRoot->FirstChild() ? FRoot->FWidestWidth : 0;
}

void TOwnerTree::FullRecalc() {
  if (IsDestroying() || !FRoot) return;
  CountVisible(FRoot);
  if (HandleAllocated() && !Updating()) {
    RecomputeWidest(FRoot);
    FContentWidth = FRoot->FirstChild() ? FRoot->FWidestWidth : 0;
  }
  if (!FTopNode) FTopNode = FRoot->FirstChild();
  UpdateScrollBars(true, true);
  if (HandleAllocated()) Invalidate();
}

void TOwnerTree::StructureChanged() {
  if (Updating() || IsDestroying()) return;
  if (!FTopNode) FTopNode = FRoot->FirstChild();
  UpdateScrollBars(false, false);
  if (HandleAllocated()) Invalidate();
}

int TOwnerTree::ItemsPerPage(int Size) {
  int Count = 0;
  TDCTreeNode* N = FTopNode ? FTopNode : FRoot->FirstChild();
  TDCTreeNode* Before = N ? N->GetPrevVisible() : nullptr;
  bool RanOut = true;
  for (; N; N = N->GetNextVisible()) {
    Size -= N->Height();
    if (Size < 0) {
      RanOut = false;
      break;
    }
    ++Count;
  }
  if (RanOut)
    for (; Before; Before = Before->GetPrevVisible()) {
      Size -= Before->Height();
      if (Size < 0) break;
      ++Count;
    }
  return std::max(1, Count);
}

int TOwnerTree::HeightBetween(TDCTreeNode* From, TDCTreeNode* To) {
  int Height = 0, Limit = ClientHeight();
  for (TDCTreeNode* N = From; N && N != To && Height < Limit; N = N->GetNextVisible())
    Height += N->Height();
  return Height;
}


bool TOwnerTree::ScrollBarAllowed(int Bar) const {
  return Bar == SB_HORZ ? FShowHorzScrollBar : FShowVertScrollBar;
}

void TOwnerTree::SetScrollInfoOf(int Bar, const SCROLLINFO& Info, bool Redraw) {
  // A range given to a window's bar shows it: a bar that may not show gets nothing.
  if (!ScrollBarAllowed(Bar)) return;
  if (FFlatScrollBars) {
    FlatSBSetScrollInfo(Handle(), Bar, Info, Redraw);
  } else {
    SCROLLINFO Copy = Info;
    SetScrollInfo(Handle(), Bar, &Copy, Redraw);
  }
}

void TOwnerTree::GetScrollInfoOf(int Bar, SCROLLINFO& Info) {
  if (FFlatScrollBars)
    FlatSBGetScrollInfo(Handle(), Bar, Info);
  else
    GetScrollInfo(Handle(), Bar, &Info);
}

void TOwnerTree::ShowScrollBarOf(int Bar, bool Show) {
  Show = Show && ScrollBarAllowed(Bar);
  if (FFlatScrollBars)
    FlatSBShowScrollBar(Handle(), Bar, Show);
  else
    ShowScrollBar(Handle(), Bar, Show);
}

void TOwnerTree::UpdateScrollBars(bool ReapplyHorizontal, bool ReapplyTop) {
  if (!HandleAllocated() || Updating() || IsDestroying()) return;
  RECT R;
  ::GetClientRect(Handle(), &R);
  int Width = R.right, Height = R.bottom;
  LONG Style = GetWindowLongA(Handle(), GWL_STYLE);
  if (Style & WS_VSCROLL) Width += GetSystemMetrics(SM_CXVSCROLL);
  if (Style & WS_HSCROLL) Height += GetSystemMetrics(SM_CYHSCROLL);
  FContentWidth = FRoot->FirstChild() ? FRoot->FWidestWidth : 0;
  // A bar that may not show is never needed: it takes no room from the other one.
  bool NeedH = FShowHorzScrollBar && Width < FContentWidth;
  int Rows = ItemsPerPage(NeedH ? Height - GetSystemMetrics(SM_CYHSCROLL) : Height);
  int Visible = FRoot->VisibleCount();
  bool RowsHidden = Visible > Rows;
  bool NeedV = FShowVertScrollBar && RowsHidden;
  if (NeedV) {
    Width -= GetSystemMetrics(SM_CXVSCROLL);
    if (!NeedH && FShowHorzScrollBar && Width < FContentWidth) {
      NeedH = true;
      Rows = ItemsPerPage(Height - GetSystemMetrics(SM_CYHSCROLL));
    }
  }
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_RANGE | SIF_PAGE;
  Info.nMax = std::max(0, FContentWidth - 1);
  Info.nPage = static_cast<UINT>(std::max(0, Width));
  SetScrollInfoOf(SB_HORZ, Info, true);
  ShowScrollBarOf(SB_HORZ, NeedH);
  int TopIndex = FTopNode && RowsHidden ? VisibleIndexOf(FTopNode) : 0;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Info.nMax = std::max(0, Visible - 1);
  Info.nPage = static_cast<UINT>(Rows);
  Info.nPos = TopIndex;
  SetScrollInfoOf(SB_VERT, Info, true);
  ShowScrollBarOf(SB_VERT, NeedV);
  FTopIndex = TopIndex;
  if (ReapplyHorizontal) SetHorizontalPosition(FHorzPos);
  if (ReapplyTop && FTopNode) SetTopNode(FTopNode);
}

void TOwnerTree::SetHorizontalPosition(int X) {
  if (!HandleAllocated()) return;
  int ClientW = ClientWidth();
  if (X + ClientW > FContentWidth) X = FContentWidth - ClientW;
  if (X < 0) X = 0;
  if (X == FHorzPos) return;
  int Old = FHorzPos;
  FHorzPos = X;
  ScrollWindowEx(Handle(), Old - X, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_POS;
  Info.nPos = X;
  SetScrollInfoOf(SB_HORZ, Info, true);
  UpdateWindow(Handle());
}

void TOwnerTree::SetTopNode(TDCTreeNode* Node) {
  if (!Node || !HandleAllocated()) return;
  if (!Node->IsVisible()) Node = FTopNode ? FTopNode : FRoot->FirstChild();
  if (!Node) return;
  // Keep the last page full: move up while the rows below leave room.
  int Room = ClientHeight();
  for (TDCTreeNode* N = Node; N && Room >= 0; N = N->GetNextVisible()) Room -= N->Height();
  while (Room > 0) {
    TDCTreeNode* Prev = Node->GetPrevVisible();
    if (!Prev || Prev->Height() > Room) break;
    Room -= Prev->Height();
    Node = Prev;
  }
  if (Node == FTopNode) return;
  EndEdit(false);
  TDCTreeNode* Old = FTopNode;
  FTopNode = Node;
  if (Old && Old->Holder()) {
    // The rows between the two tops move; what stays on screen is scrolled, not painted.
    if (VisibleIndexOf(Old) < VisibleIndexOf(Node))
      ScrollBy(0, -HeightBetween(Old, Node));
    else
      ScrollBy(0, HeightBetween(Node, Old));
  } else {
    HideNodeToolTip();
    Invalidate();
  }
  UpdateScrollBars(false, false);
  HotTrack(FLastMouse.x, FLastMouse.y);
}

int TOwnerTree::GetScrollPosition(int Bar, bool Tracking) {
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = Tracking ? SIF_TRACKPOS : SIF_POS;
  GetScrollInfoOf(Bar, Info);
  return Tracking ? Info.nTrackPos : Info.nPos;
}

void TOwnerTree::ScrollBy(int DX, int DY) {
  HideNodeToolTip();
  RECT R = ClientRect();
  if (std::abs(DX) > R.right || std::abs(DY) > R.bottom) {
    Invalidate();
  } else {
    ScrollWindowEx(Handle(), DX, DY, nullptr, &R, nullptr, nullptr, SW_INVALIDATE);
  }
  if (FEdit) {
    RECT E;
    GetWindowRect(FEdit, &E);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&E), 2);
    SetWindowPos(FEdit, nullptr, E.left + DX, E.top + DY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TOwnerTree::WMScroll(TMessage& Message, int Bar) {
  int Code = LOWORD(Message.WParam);
  if (Bar == SB_VERT) {
    if (!FTopNode) return;
    TDCTreeNode* Top = FTopNode;
    int Index = VisibleIndexOf(Top);
    int Page = ItemsPerPage(ClientHeight());
    switch (Code) {
      case SB_LINEDOWN: Index += 1; break;
      case SB_LINEUP: Index -= 1; break;
      case SB_PAGEDOWN: Index += Page; break;
      case SB_PAGEUP: Index -= Page; break;
      case SB_THUMBTRACK: Index = GetScrollPosition(SB_VERT, true); break;
      case SB_THUMBPOSITION: Index = GetScrollPosition(SB_VERT, false); break;
      case SB_TOP: Index = 0; break;
      case SB_BOTTOM: Index = FRoot->VisibleCount() - 1; break;
      default: return;
    }
    Index = std::clamp(Index, 0, std::max(0, FRoot->VisibleCount() - 1));
    if (TDCTreeNode* N = NodeAtVisibleIndex(FRoot, Index)) SetTopNode(N);
  } else {
    int X = FHorzPos;
    switch (Code) {
      case SB_LINERIGHT: X += 10; break;
      case SB_LINELEFT: X -= 10; break;
      case SB_PAGERIGHT: X += ClientWidth(); break;
      case SB_PAGELEFT: X -= ClientWidth(); break;
      case SB_THUMBTRACK: X = GetScrollPosition(SB_HORZ, true); break;
      case SB_THUMBPOSITION: X = GetScrollPosition(SB_HORZ, false); break;
      default: return;
    }
    SetHorizontalPosition(X);
  }
}

// ---------------------------------------------------------------------------------
// Painting

void TOwnerTree::InvalidateNode(TDCTreeNode* /*Node*/, const TRect& R) {
  if (!HandleAllocated() || IsDestroying()) return;
  RECT Client = ClientRect(), Clipped;
  if (IntersectRect(&Clipped, &R, &Client)) InvalidateRect(Handle(), &Clipped, FALSE);
}

void TOwnerTree::InvalidateRow(TDCTreeNode* Node) {
  if (!HandleAllocated() || IsDestroying() || Updating() || !Node->Holder()) return;
  int Top = NodeTop(Node);
  if (Top == INT_MAX) return;
  InvalidateNode(Node, TRect{0, Top, ClientWidth(), Top + Node->Height()});
}

void TOwnerTree::Paint() {
  TCanvas* C = Canvas();
  TRect Client = ClientRect();
  C->Brush()->SetColor(Color());
  C->FillRect(Client);
  int Y = 0;
  for (TDCTreeNode* N = FTopNode; N && Y < Client.bottom; N = N->GetNextVisible()) {
    int H = N->Height();
    if (FShowCheckBoxes && N->NodeType() != ntNone) {
      TRect Box = NodePartRect(N, npCheckBox);
      N->DrawCheckBox(C, Box);
    }
    if (N->StateImageWidth() > 0) {
      TRect State = NodePartRect(N, npStateImage);
      TClipTo Clip(C->Handle(), State);
      N->DrawStateImage(C, State);
    }
    if (FImages) DrawNodeImage(C, N, NodePartRect(N, npImage));
    TRect Text = NodePartRect(N, npText);
    C->Font()->Assign(N->GetFont());
    bool Marked = N->Selected() || N == FDropTarget;
    C->Brush()->SetColor(Marked ? clHighlight : N->Color());
    if (Marked) C->Font()->SetColor(clHighlightText);
    C->TextRect(Text, Text.left + 2, Y + (H - C->TextHeight("Wg")) / 2, N->Text());
    Y += H;
  }
}

void TOwnerTree::DrawNodeImage(TCanvas* Canvas, TDCTreeNode* Node, const TRect& R) {
  TRect Picture{0, 0, FImages->Width(), FImages->Height()};
  CenterRect(Picture, R);
  TClipTo Clip(Canvas->Handle(), R);
  FImages->DrawOverlay(Canvas, Picture.left, Picture.top, Node->ShownImageIndex(),
                       Node->OverlayIndex());
}

// ---------------------------------------------------------------------------------
// Editing

void TOwnerTree::EditNode(TDCTreeNode* Node) {
  EndEdit(false);
  if (!Node || Node->ReadOnly() || !HandleAllocated()) return;
  Node->MakeVisible();
  TRect R = NodePartRect(Node, npText);
  if (R.top == INT_MAX) return;
  // The edit ends at the tree's right edge (it scrolls a longer text itself), and is
  // never narrower than 40 pixels. A window as wide as a long text is of no use past
  // that edge, and the system's edit control takes about a minute to scroll one of 40,000
  // characters to its caret.
  R.right = std::max<LONG>(std::min<LONG>(R.right, ClientWidth()), R.left + 40);
  // The text is set once the window is made: the system makes no window with a caption
  // of 32,767 characters or more.
  FEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, R.left,
                          R.top, R.right - R.left, R.bottom - R.top, Handle(), nullptr, HInstance,
                          nullptr);
  SetWindowTextA(FEdit, Node->Text().c_str());
  SendMessageA(FEdit, WM_SETFONT, reinterpret_cast<WPARAM>(Node->GetFont()->Handle()), 0);
  SendMessageA(FEdit, EM_SETMODIFY, FALSE, 0);
  FEditNode = Node;
  ::SetFocus(FEdit);
}

void TOwnerTree::EndEdit(bool Cancel) {
  if (FEndingEdit || !FEditNode) return;
  TFlagScope EndingEdit(FEndingEdit);
  AnsiString Text;
  if (!Cancel && FEdit) {
    int Length = GetWindowTextLengthA(FEdit);
    Text.resize(Length + 1);
    Text.resize(GetWindowTextA(FEdit, Text.data(), Length + 1));
  }
  if (!Cancel && OnEdited.Assigned()) {
    AnsiString Answer = Text;
    TEditAction Action = eaAccept;
    OnEdited(this, FEditNode, Answer, Action);
    if (Action == eaCancel) {
      Cancel = true;
    } else if (Action == eaKeepEditing) {
      if (Answer != Text && FEdit) {
        // Setting the text clears the control's modified flag; the handler's text is
        // still a change to the node's.
        SetWindowTextA(FEdit, Answer.c_str());
        SendMessageA(FEdit, EM_SETMODIFY, TRUE, 0);
      }
      return;
    } else {
      Text = Answer;
    }
  }
  TDCTreeNode* Node = FEditNode;
  FEditNode = nullptr;
  bool Modified = !Cancel && FEdit && SendMessageA(FEdit, EM_GETMODIFY, 0, 0) != 0;
  if (FEdit) {
    HWND Edit = FEdit;
    FEdit = nullptr;
    DestroyWindow(Edit);
  }
  if (Modified)
    Node->SetText(Text);
  else if (OnEditCancelled.Assigned())
    OnEditCancelled(this, Node);
  InvalidateRow(Node);
}

// ---------------------------------------------------------------------------------
// Focus and selection

void TOwnerTree::SetFocusedNode(TDCTreeNode* Node) {
  EndEdit(false);
  if (Node == FFocused) {
    if (Node) InvalidateRow(Node);
    return;
  }
  if (!IsDestroying() && OnChanging.Assigned()) {
    bool Allow = true;
    OnChanging(this, Node, Allow);
    if (!Allow) return;
  }
  {
    TCountScope Changing(FChangeCount);
    ClearSelection(Node);
    if (Node) {
      Node->SetFocused(true);
      Node->SetSelected(true);
    } else if (TDCTreeNode* Old = FFocused) {
      Old->SetFocused(false);
      Old->SetSelected(false);
      FFocused = nullptr;
      StopTimer(DelayedActionTimerId);
      FDelayedNode = nullptr;
    }
  }
  FChangePending = true;
  ChangeBracketEnd();
}

void TOwnerTree::ChangeBracketEnd() {
  if (FChangeCount > 0 || !FChangePending) return;
  FChangePending = false;
  if (FChangeDelay > 0 && HandleAllocated()) {
    StopTimer(ChangeTimerId);
    StartTimer(ChangeTimerId, FChangeDelay);
  } else {
    FireChange();
  }
}

void TOwnerTree::FireChange() {
  if (OnChange.Assigned() && !IsDestroying()) OnChange(this, FFocused);
}

void TOwnerTree::ClearSelection(TDCTreeNode* Except) {
  std::vector<TDCTreeNode*> Others = FSelection;
  for (TDCTreeNode* N : Others)
    if (N != Except) N->SetSelected(false);
}

void TOwnerTree::SelectionChanged(TDCTreeNode* Node, bool Selected) {
  if (Selected) {
    FSelection.push_back(Node);
    if (!FMultiSelect && FFocused != Node) SetFocusedNode(Node);
  } else {
    auto It = std::find(FSelection.begin(), FSelection.end(), Node);
    if (It != FSelection.end()) FSelection.erase(It);
    if (FAnchor == Node) FAnchor = nullptr;
  }
  InvalidateRow(Node);
}

void TOwnerTree::FocusMarkChanged(TDCTreeNode* Node, bool Focused) {
  if (Focused) {
    TDCTreeNode* Old = FFocused;
    FFocused = Node;
    if (Old && Old != Node) Old->SetFocused(false);
  } else if (FFocused == Node) {
    FFocused = nullptr;
  }
  InvalidateRow(Node);
}

void TOwnerTree::HotMarkChanged(TDCTreeNode* Node, bool Hot) {
  if (Hot) {
    TDCTreeNode* Old = FHot;
    FHot = Node;
    if (Old && Old != Node) Old->SetHot(false);
  } else if (FHot == Node) {
    FHot = nullptr;
  }
  InvalidateRow(Node);
}

void TOwnerTree::StartDelayedAction(TDCTreeNode* Node, UINT Milliseconds) {
  StopTimer(DelayedActionTimerId);
  FDelayedNode = Node;
  if (Node) StartTimer(DelayedActionTimerId, Milliseconds);
}

void TOwnerTree::NodeRemoved(TDCTreeNode* Node) {
  if (IsDestroying()) {
    FTopNode = FFocused = FAnchor = FHot = FDropTarget = FEditNode = FDelayedNode = FTipNode =
        nullptr;
    FSelection.clear();
    return;
  }
  if (Node->Selected()) {
    auto It = std::find(FSelection.begin(), FSelection.end(), Node);
    if (It != FSelection.end()) FSelection.erase(It);
  }
  if (FAnchor == Node) {
    TDCTreeNode* Next = nullptr;
    if (FSelection.size() >= 2) {
      bool TowardsNext = FFocused && FFocused->Holder() == Node->Holder() &&
                         CompareNodePositions(Node, FFocused) < 0;
      Next = TowardsNext ? Node->LastVisibleDescendant()->GetNextVisible() : Node->GetPrevVisible();
    }
    FAnchor = Next;
  }
  if (FTopNode == Node) {
    TDCTreeNode* Next = Node->LastVisibleDescendant()->GetNextVisible();
    FTopNode = Next ? Next : Node->GetPrevVisible();
  }
  if (FFocused == Node) {
    FFocused = nullptr;
    FChangePending = true;
    ChangeBracketEnd();
  }
  if (FHot == Node) FHot = nullptr;
  if (FDropTarget == Node) FDropTarget = nullptr;
  if (FEditNode == Node) {
    FEditNode = nullptr;
    if (FEdit) DestroyWindow(FEdit);
    FEdit = nullptr;
  }
  if (FDelayedNode == Node) {
    FDelayedNode = nullptr;
    StopTimer(DelayedActionTimerId);
  }
  if (FTipNode == Node) HideNodeToolTip();
}

// ---------------------------------------------------------------------------------
// Tooltip and hot tracking

void TOwnerTree::HideNodeToolTip() {
  if (FToolTip) DeactivateToolTip(*this);
  FTipNode = nullptr;
}

void TOwnerTree::UpdateNodeToolTip(TDCTreeNode* Node) {
  if (Node == FTipNode || !ToolTipAllocated(*this)) return;
  DeactivateToolTip(*this);
  FTipNode = Node;
  if (!Node || Node == FEditNode) return;
  TRect TextRect = NodePartRect(Node, npText);
  TextRect.right = TextRect.left + Node->Width();
  TRect Client = ClientRect();
  if (TextRect.left >= Client.left && TextRect.right <= Client.right &&
      TextRect.top >= Client.top && TextRect.bottom <= Client.bottom) {
    FTipNode = nullptr;
    return;
  }
  AnsiString Text = Node->Text();
  TRect Tip = TextRect;
  InflateRect(&Tip, -2, -2);
  int Height = NodeHeight(Node, Text);
  Height += Height & 1;
  Tip.bottom = Tip.top + Height;
  CenterRectVertically(Tip, TextRect);
  InflateRect(&Tip, GetSystemMetrics(SM_CXBORDER) + 2, GetSystemMetrics(SM_CYBORDER));
  Tip.right = std::min(Tip.right, Client.right);
  Tip.bottom = std::min(Tip.bottom, Client.bottom);
  if (OnToolTip.Assigned()) OnToolTip(this, Node, Text, Tip);
  SetToolTipMaxWidth(*this, Tip.right - Tip.left + 2 * GetSystemMetrics(SM_CXBORDER));
  FTipText = Text;
  if (!FToolAdded) {
    AddToolTipTool(*this, 1, Handle(), true, FTipText.c_str(), Tip);
    FToolAdded = true;
  } else {
    SetToolTipToolInfo(*this, 1, Handle(), true, FTipText.c_str(), Tip);
  }
  FTipTextRect = TextRect;
  FTipRect = Tip;
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&FTipTextRect), 2);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&FTipRect), 2);
  SendMessageA(FToolTip, WM_SETFONT, reinterpret_cast<WPARAM>(Node->GetFont()->Handle()), 0);
  ActivateToolTip(*this);
}

void TOwnerTree::HotTrack(int X, int Y) {
  if (!FHotTrack || !HandleAllocated()) return;
  TDCTreeNode* Node = NodeAt(X, Y);
  if (Node == FHot) return;
  if (Node)
    Node->SetHot(true);
  else if (FHot)
    FHot->SetHot(false);
}

// ---------------------------------------------------------------------------------
// Timers

void TOwnerTree::StartTimer(UINT_PTR Id, UINT Interval) {
  if (TimerRunning(Id) || !HandleAllocated()) return;
  if (SetTimer(Handle(), Id, Interval, nullptr)) FTimerFlags |= 1u << Id;
}

void TOwnerTree::StopTimer(UINT_PTR Id) {
  if (!TimerRunning(Id)) return;
  if (HandleAllocated()) KillTimer(Handle(), Id);
  FTimerFlags &= ~(1u << Id);
}

bool TOwnerTree::TimerRunning(UINT_PTR Id) const { return (FTimerFlags & (1u << Id)) != 0; }

void TOwnerTree::WMTimer(TMessage& Message) {
  UINT_PTR Id = Message.WParam;
  if (Id == ChangeTimerId) {
    StopTimer(ChangeTimerId);
    FireChange();
  } else if (Id == DelayedActionTimerId) {
    StopTimer(DelayedActionTimerId);
    TDCTreeNode* Node = FDelayedNode;
    FDelayedNode = nullptr;
    if (Node && OnDelayedAction.Assigned()) OnDelayedAction(this, Node);
  }
}

// ---------------------------------------------------------------------------------
// Input and messages

void TOwnerTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus()) SetFocus();
  TDCTreeNode* Node = NodeAt(X, Y);
  if (!Node) return;
  TRect Check = NodePartRect(Node, npCheckBox);
  TRect Button_ = NodePartRect(Node, npButton);
  if (X >= Check.left && X < Check.right && Node->NodeType() != ntNone && FShowCheckBoxes) {
    TCheckBoxState Next = Node->State() == cbUnchecked ? cbChecked : cbUnchecked;
    if (Node->State() == cbChecked && Node->AllowGrayed()) Next = cbGrayed;
    Node->SetState(Next);
  } else if (X >= Button_.left && X < Button_.right && Node->HasChildren()) {
    Node->SetExpanded(!Node->Expanded());
  } else {
    SetFocusedNode(Node);
  }
}

void TOwnerTree::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  FLastMouse = POINT{X, Y};
  HotTrack(X, Y);
  UpdateNodeToolTip(NodeAt(X, Y));
}

void TOwnerTree::Dispatch(TMessage& Message) {
  if (!FRoot) {  // the nodes are gone: the window is being destroyed
    inherited::Dispatch(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_TIMER: WMTimer(Message); break;
    case WM_VSCROLL: WMScroll(Message, SB_VERT); break;
    case WM_HSCROLL: WMScroll(Message, SB_HORZ); break;
    case WM_SIZE:
      inherited::Dispatch(Message);
      UpdateScrollBars(false, false);
      break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      for (TDCTreeNode* N : SubtreeNodes(FRoot)) N->InvalidateSizes();
      FullRecalc();
      break;
    default: inherited::Dispatch(Message); break;
  }
}
