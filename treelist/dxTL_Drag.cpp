// Dragging over the tree list, the part every tree list shares: node drags (their
// start and end around the class library's drag, the answer while a drag is over the
// control, the node that expands after a wait, the focus following the mouse and the
// drag scroll), the drag object of a drag over the control, the insertion arrows drawn
// on the screen, and the bracket that takes every mark off the screen around a paint.
// The header drags themselves are the column layer's (dxTL_HeaderDrag.cpp).
#include <algorithm>

#include "classlib/DragImages.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Pan.h"
#include "treelist/dxTL_Resources.h"

namespace {

constexpr UINT_PTR DragScrollTimerId = 1;
constexpr UINT_PTR ClickEditTimerId = 2;
constexpr UINT_PTR DragExpandTimerId = 101;
constexpr UINT DragScrollInterval = 100;
constexpr int DragScrollStep = 32;

// The drag scroll of the process: the window whose timer runs and its direction
// (1 left, 2 up, 3 right, 4 down; 0 none).
struct TDragScroll {
  HWND Window = nullptr;
  int Kind = 0;
};
TDragScroll GDragScroll;

// What the arrows covered on the screen, kept for their erasing.
struct TArrowBackground {
  TOwnedBitmap Bitmap;
  int Width = 0;
  int Height = 0;
};
TArrowBackground GArrowBackground;

constexpr int ArrowWidth = 11;

// The point of the drag that runs, on the screen.
TPoint DragScreenPoint() {
  if (TDragObject* Drag = CurrentDrag()) return Drag->DragPos;
  POINT P{0, 0};
  GetCursorPos(&P);
  return P;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Automatic drag mode and the node drag

void TCustomdxTreeList::WndProc(TMessage& Message) {
  // The press stays an ordinary press: the mouse-move handler starts the node drag
  // once the mouse leaves the press point in the selecting state.
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && DragMode() == dmAutomatic) {
    SetDragMode(dmManual);
    auto Back = ScopeExit([this] { SetDragMode(dmAutomatic); });
    inherited::WndProc(Message);
    return;
  }
  inherited::WndProc(Message);
}

void TCustomdxTreeList::StartNodeDrag() {
  // However the drag ends (a handler may raise), nothing of it stays behind.
  auto Clean = ScopeExit([this] {
    if (FState == tsNodeDragging) FState = tsNormal;
    StopDragScroll();
    if (HandleAllocated()) KillTimer(Handle(), DragExpandTimerId);
    FDragState.ExpandNode = nullptr;
    FreeDragImages();
  });
  BeginDrag(true);
}

void TCustomdxTreeList::DoStartDrag(TDragObject*& DragObject) {
  EndEdit(true);
  if (HandleAllocated()) KillTimer(Handle(), ClickEditTimerId);
  SetDragObject(nullptr);
  inherited::DoStartDrag(DragObject);
  if (!FDragNode && HandleAllocated()) {
    POINT P{0, 0};
    GetCursorPos(&P);
    ::ScreenToClient(Handle(), &P);
    FDragNode = GetHitInfo(P).Node;
  }
  if (!FDragNode) return;
  DoBeginDragNode(FDragNode);
  if (FDragNode) MakeNodeDragImages(FDragNode);
  FState = tsNodeDragging;
}

void TCustomdxTreeList::DoEndDrag(TObject* Target, int X, int Y) {
  auto Clean = ScopeExit([this] {
    FDragNode = nullptr;
    StopDragScroll();
    if (HandleAllocated()) KillTimer(Handle(), DragExpandTimerId);
    if (FState == tsNodeDragging) FState = tsNormal;
    FreeDragImages();
  });
  inherited::DoEndDrag(Target, X, Y);
  SetDragObject(nullptr);
}

void TCustomdxTreeList::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  inherited::DragOver(Source, X, Y, State, Accept);
  StopDragScroll();
  if (State == dsDragLeave || !HandleAllocated()) {
    KillTimer(Handle(), DragExpandTimerId);
    FDragState.ExpandNode = nullptr;
    return;
  }
  const TdxTreeListHitInfo Hit = GetHitInfo(TPoint{X, Y});
  if (IsDragExpand() && Hit.Node) {
    FDragState.ExpandNode = Hit.Node;
    SetTimer(Handle(), DragExpandTimerId, WaitForExpandNodeTime(), nullptr);
  }
  if (!IsDragScroll()) return;
  StartDragScroll(SideDragScrollKind(X, GetGridArea()));
  if (Hit.Node) {
    int Column = FocusedColumn();
    const int Shown = Hit.Column >= 0 ? FindVisibleColumn(Hit.Column) : -1;
    if (Shown >= 0) Column = Shown;
    if (Hit.Node != FFocusedNode || (!IsRowSelect() && Column != FocusedColumn()))
      SetFocusedNode(Hit.Node, Column, false);
  }
  Update();
  if (!Hit.Node) return;
  const int Row = GetNodeRowIndex(Hit.Node);
  const int Top = GetTopIndex();
  if (Row == Top && Row > 0)
    StartDragScroll(2);
  else if (Row == Top + GetVisibleRowCount() - 1 && Row + 1 < GetVisibleNodeCount())
    StartDragScroll(4);
}

// ---------------------------------------------------------------------------------
// The drag scroll and the drag expand

void TCustomdxTreeList::StartDragScroll(int Kind) {
  if (!HandleAllocated() || Kind == 0) return;
  if (GDragScroll.Window == Handle() && GDragScroll.Kind == Kind) return;
  StopDragScroll();
  if (SetTimer(Handle(), DragScrollTimerId, DragScrollInterval, nullptr)) GDragScroll = TDragScroll{Handle(), Kind};
}

void TCustomdxTreeList::CancelDragAndPan() {
  StopDragScroll();
  if (Dragging()) TControl::EndDrag(false);
  // Panning runs while the control holds the mouse.
  if (HandleAllocated() && dxTLActivePanWindow() == Handle() && GetCapture() == Handle()) ReleaseCapture();
}

void TCustomdxTreeList::StopDragScroll() {
  if (!HandleAllocated() || GDragScroll.Window != Handle()) return;
  KillTimer(GDragScroll.Window, DragScrollTimerId);
  GDragScroll = TDragScroll{};
}

void TCustomdxTreeList::DragScrollTick() {
  const bool HeaderDrag = FState == tsColumnDragging || FState == tsBandDragging;
  const bool NodeDrag = FState == tsNodeDragging || FDragState.Object;
  const int Kind = GDragScroll.Kind;
  if (Kind == 1 || Kind == 3) {
    const int Before = LeftCoord();
    if (HeaderDrag || NodeDrag) SetLeftCoord(Kind == 1 ? Before - DragScrollStep : Before + DragScrollStep);
    if (!(HeaderDrag || NodeDrag) || LeftCoord() == Before) StopDragScroll();
  } else {
    POINT P = DragScreenPoint();
    if (!NodeDrag || WindowFromPoint(P) != Handle()) {
      StopDragScroll();
    } else {
      const int Row = GetFocusedRowIndex();
      SetFocusedRowIndex(Kind == 2 ? Row - 1 : Row + 1);
    }
  }
  Update();
}

void TCustomdxTreeList::DragExpandTick() {
  KillTimer(Handle(), DragExpandTimerId);
  TdxTreeListNode* Node = FDragState.ExpandNode;
  if (!Node) return;
  POINT P = DragScreenPoint();
  ::ScreenToClient(Handle(), &P);
  if (GetHitInfo(P).Node != Node) return;
  if (IsDragCollapse()) {
    Node->SetExpanded(!Node->Expanded());
    SetTimer(Handle(), DragExpandTimerId, 2 * WaitForExpandNodeTime(), nullptr);
  } else {
    Node->SetExpanded(true);
  }
}

// ---------------------------------------------------------------------------------
// The drag object of a drag over the control

void TCustomdxTreeList::SetDragObject(TDragObject* Value) {
  TDragObject* const Old = FDragState.Object;
  if (Value == Old) return;
  FDragState.Object = Value;
  const bool Hid = !Value && Old;
  if (Hid) Old->HideDragImage();
  if (FFocusedNode) NodeChanged(FFocusedNode, false);
  if (HandleAllocated()) UpdateWindow(Handle());
  if (Hid) Old->ShowDragImage();
  if (!Value) {
    FDragState.ExpandNode = nullptr;
    if (HandleAllocated()) KillTimer(Handle(), DragExpandTimerId);
  }
}

bool TCustomdxTreeList::DispatchDragMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DRAG: {
      auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
      const bool Copy = GetKeyStateProc(VK_CONTROL) < 0 && IsDragCopy();
      if (SelectedCount() < 2)
        SetDragCursor(Copy ? crdxTLDragCopy : crDrag);
      else
        SetDragCursor(Copy ? crdxTLMultiDragCopy : crMultiDrag);
      inherited::Dispatch(Message);
      if (FState == tsNodeDragging || Dragging() || !Rec) return true;
      switch (static_cast<TDragMessage>(Message.WParam)) {
        case dmDragEnter:
          if (OnDragOver.Assigned()) SetDragObject(Rec->Source);
          break;
        case dmDragLeave:
        case dmDragDrop:
          SetDragObject(nullptr);
          break;
        default: break;
      }
      return true;
    }
    case WM_TIMER:
      if (Message.WParam == DragExpandTimerId) {
        inherited::Dispatch(Message);
        DragExpandTick();
        return true;
      }
      if (Message.WParam == DragScrollTimerId && GDragScroll.Window == Handle()) {
        inherited::Dispatch(Message);
        DragScrollTick();
        return true;
      }
      return false;
    case WM_KEYDOWN:
      // The keys a node drag hands on: "+" and "-" open and close the node under it.
      if (!Dragging() || DragMode() != dmAutomatic) return false;
      if (Message.WParam == VK_ADD || Message.WParam == VK_SUBTRACT) {
        POINT P = DragScreenPoint();
        ::ScreenToClient(Handle(), &P);
        TdxTreeListNode* Node = GetHitInfo(P).Node;
        if (Node && (Node->Count() > 0 || Node->HasChildren())) Node->SetExpanded(Message.WParam == VK_ADD);
        Update();
      }
      return true;
    case WM_DESTROY:
      StopDragScroll();
      KillTimer(Handle(), DragExpandTimerId);
      return false;
    default: return false;
  }
}

// ---------------------------------------------------------------------------------
// The drag pictures

TDragImageList* TCustomdxTreeList::GetDragImages() { return FDragState.Images; }

void TCustomdxTreeList::FreeDragImages() {
  TDragImageList* Images = std::exchange(FDragState.Images, nullptr);
  if (Images) Images->Free();
  FDragState.MarksImage = false;
}

AnsiString TCustomdxTreeList::GetNodeDragCaption(TdxTreeListNode* Node) {
  const int Column = GetAbsoluteColumnIndex(std::max(FocusedColumn(), 0));
  return GetNodeString(Node, Column >= 0 ? Column : 0);
}

void TCustomdxTreeList::MakeNodeDragImages(TdxTreeListNode* Node) {
  FreeDragImages();
  const AnsiString Text = GetNodeDragCaption(Node);
  TCustomImageList* NodeImages = Images();
  const int ImageIndex = NodeImages ? GetNodeImageIndex(Node) : -1;
  const int ImageWidth = ImageIndex >= 0 ? NodeImages->Width() + 2 : 0;
  TBitmap* Picture = NewObject<TBitmap>();
  auto FreePicture = ScopeExit([Picture] { Picture->Free(); });
  TCanvas* Canvas = Picture->Canvas();
  Canvas->Font()->Assign(Font());
  const int TextWidth = std::max(Canvas->TextWidth(Text), 1);
  const int TextHeight = Canvas->TextHeight("Wg");
  // No larger than the screen it follows the mouse on, whatever the font: the text is
  // cut at the picture's edges.
  const int Height = std::min(std::max(TextHeight, ImageIndex >= 0 ? NodeImages->Height() : 0) + 4,
                              GetSystemMetrics(SM_CYSCREEN));
  const int Width = std::min(ImageWidth + TextWidth + 6, GetSystemMetrics(SM_CXSCREEN));
  Picture->SetSize(Width, Height);
  // The key colour leaves the background out of the picture.
  const TColor Key = clFuchsia;
  Canvas->Brush()->SetColor(Key);
  Canvas->FillRect(TRect{0, 0, Width, Height});
  if (ImageIndex >= 0) NodeImages->Draw(Canvas, 0, (Height - NodeImages->Height()) / 2, ImageIndex);
  {
    HDC DC = Canvas->Handle();
    TSavedTextState Saved(DC);
    Saved.SelectFont(Canvas->Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    TRect R{ImageWidth + 3, 2, Width - 3, Height - 2};
    DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    TRect Frame{ImageWidth, 0, Width, Height};
    DrawFocusRect(DC, &Frame);
  }
  auto* List = NewObject<TDragImageList>(Width, Height);
  FDragState.Images = List;
  List->AddMasked(Picture, Key);
  List->SetDragImage(0, 0, 0);
}

// ---------------------------------------------------------------------------------
// The marks around painting

void TCustomdxTreeList::HideDragMarks() {
  if (FDragState.MarksHidden++ > 0) return;
  HideSizingLine();
  if ((FState == tsColumnDragging || FState == tsBandDragging) && FDragState.ArrowsShown) {
    DrawDragArrows(false);
    FDragState.MarksArrows = true;
  }
  if (FDragState.Images && FDragState.Images->DragImageShown()) {
    FDragState.Images->HideDragImage();
    FDragState.MarksImage = true;
  }
  if (FDragState.Object) {
    FDragState.Object->HideDragImage();
    FDragState.MarksObject = FDragState.Object;
  }
}

void TCustomdxTreeList::ShowDragMarks() {
  if (FDragState.MarksHidden == 0 || --FDragState.MarksHidden > 0) return;
  ShowSizingLine();
  if (std::exchange(FDragState.MarksArrows, false) &&
      (FState == tsColumnDragging || FState == tsBandDragging) && !FDragState.ArrowsShown)
    DrawDragArrows(false);
  if (std::exchange(FDragState.MarksImage, false) && FDragState.Images) FDragState.Images->ShowDragImage();
  if (TDragObject* Object = std::exchange(FDragState.MarksObject, nullptr); Object && Object == FDragState.Object)
    Object->ShowDragImage();
}

// ---------------------------------------------------------------------------------
// The insertion arrows

void TCustomdxTreeList::DrawDragArrows(bool HideImage) {
  const int X = FDragState.ArrowPos.x, Y = FDragState.ArrowPos.y;
  const int H = FDragState.ArrowHeight + 18;
  if (X == -100 && Y == -100 && !FDragState.ArrowsShown) return;
  TDragImageList* Images = FDragState.Images;
  bool ImageHidden = false;
  if (HideImage && Images && Images->DragImageShown()) {
    const TRect Area{X, Y, X + ArrowWidth, Y + H};
    const TRect ImageRect = Images->DragRect();
    TRect Common;
    if (IntersectRect(&Common, &Area, &ImageRect)) {
      Images->HideDragImage();
      ImageHidden = true;
    }
  }
  auto ShowImage = ScopeExit([&] {
    if (ImageHidden) Images->ShowDragImage();
  });
  TScreenDC Screen;
  if (!Screen.DC()) return;
  if (FDragState.ArrowsShown) {
    if (GArrowBackground.Bitmap) {
      TMemoryDC Saved(Screen.DC());
      TSelection Bitmap(Saved.DC(), GArrowBackground.Bitmap.Handle());
      BitBlt(Screen.DC(), X, Y, ArrowWidth, H, Saved.DC(), 0, 0, SRCCOPY);
    }
    FDragState.ArrowsShown = false;
    return;
  }
  if (GArrowBackground.Width < ArrowWidth || GArrowBackground.Height < H || !GArrowBackground.Bitmap) {
    GArrowBackground.Bitmap.Reset(CountHandle(CreateCompatibleBitmap(Screen.DC(), ArrowWidth, H)));
    GArrowBackground.Width = ArrowWidth;
    GArrowBackground.Height = H;
  }
  {
    TMemoryDC Saved(Screen.DC());
    TSelection Bitmap(Saved.DC(), GArrowBackground.Bitmap.Handle());
    BitBlt(Saved.DC(), 0, 0, ArrowWidth, H, Screen.DC(), X, Y, SRCCOPY);
  }
  const int B = Y + H;
  const POINT Upper[7] = {{X + 5, Y + 8}, {X, Y + 3},     {X + 3, Y + 3}, {X + 3, Y},
                          {X + 7, Y},     {X + 7, Y + 3}, {X + 10, Y + 3}};
  const POINT Lower[7] = {{X + 5, B - 9},  {X + 10, B - 4}, {X + 7, B - 4}, {X + 7, B - 1},
                          {X + 3, B - 1},  {X + 3, B - 4},  {X, B - 4}};
  LOGBRUSH Fill{BS_SOLID, ColorToRGB(ArrowsColor()), 0};
  TSharedObject<HBRUSH> Brush(AcquireSharedBrush(Fill));
  {
    TSelection Pen(Screen.DC(), GetStockObject(BLACK_PEN));
    TSelection Paint(Screen.DC(), Brush.Handle());
    Polygon(Screen.DC(), Upper, 7);
    Polygon(Screen.DC(), Lower, 7);
  }
  FDragState.ArrowsShown = true;
  ++FDragState.ArrowDraws;
}

void ReleaseDragArrowBackground() {
  GArrowBackground.Bitmap.Reset();
  GArrowBackground.Width = GArrowBackground.Height = 0;
}
