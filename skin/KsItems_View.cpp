// TKsItemView: the layout of one level of items, its hot item and the tracking loop.
#include <algorithm>

#include "classlib/UpdateScope.h"
#include "skin/KsItems.h"
#include "skin/KsUtils.h"

namespace {

// The last mouse point seen by a tracking loop.
TPoint LastMousePoint{-1, -1};

bool Selectable(TKsCustomItem* Item) { return Item->Visible() && !Item->IsSeparator(); }

// The close, restore and minimize buttons of a child window.
bool AtRightEnd(TKsCustomItem* Item) { return Item->MDIButtonKind() >= 1 && Item->MDIButtonKind() <= 3; }

bool Contains(const TRect& R, const TPoint& P) {
  return P.x >= R.left && P.x < R.right && P.y >= R.top && P.y < R.bottom;
}

}  // namespace

TKsItemView::TKsItemView(TComponent* AOwner, TOrientation AOrientation, bool AMenuBarStyle)
    : TComponent(AOwner), FMenuBarStyle(AMenuBarStyle), FOrientation(AOrientation) {}

// ---------------------------------------------------------------------------------
// Layout

TSize TKsItemView::ItemSize(TKsCustomItem* Item) {
  int W = 0, H = 0;
  Item->Measure(FCanvas, this, W, H);
  return TSize{W, H};
}

int TKsItemView::ColumnWidth() {
  int Widest = 0;
  if (!FItems) return 0;
  for (int I = 0; I < FItems->Count(); ++I)
    if (FItems->Items(I)->Visible()) Widest = std::max(Widest, static_cast<int>(ItemSize(FItems->Items(I)).cx));
  return Widest;
}

void TKsItemView::UpdateSize() {
  TPoint Extent{0, 0};
  if (FItems)
    for (int I = 0; I < FItems->Count(); ++I) {
      TKsCustomItem* Item = FItems->Items(I);
      if (!Item->Visible()) continue;
      const TSize S = ItemSize(Item);
      if (FOrientation == voColumn) {
        Extent.y += S.cy;
        Extent.x = std::max<int>(Extent.x, S.cx);
      } else {
        Extent.x += S.cx;
        Extent.y = std::max<int>(Extent.y, S.cy);
      }
    }
  SetSize(Extent);
}

TRect TKsItemView::GetItemRect(TKsCustomItem* Item) {
  if (!Item || !Item->Visible() || !FItems) return TRect{0, 0, 0, 0};
  const TSize Size = ItemSize(Item);
  if (Item->MDIButtonKind() != 0) {
    const int W = FHostControl ? FHostControl->Width() : 0;
    const int H = FHostControl ? FHostControl->Height() : 0;
    const int w = Size.cx;
    switch (Item->MDIButtonKind()) {
      case 1: return TRect{W - w, 0, W, H};
      case 2: return TRect{W - 2 * w, 0, W - w, H};
      case 3: return TRect{W - 3 * w, 0, W - 2 * w, H};
      default: return TRect{0, 0, w, Size.cy};
    }
  }
  // Every visible item before this one takes its place in the row, a child window's
  // icon included; the child's other buttons sit at the host's right end instead.
  TPoint At = FOrigin;
  for (int I = 0; I < FItems->Count(); ++I) {
    TKsCustomItem* Before = FItems->Items(I);
    if (Before == Item) break;
    if (!Before->Visible() || AtRightEnd(Before)) continue;
    const TSize S = ItemSize(Before);
    if (FOrientation == voColumn)
      At.y += S.cy;
    else
      At.x += S.cx;
  }
  if (FOrientation == voColumn) return TRect{At.x, At.y, At.x + ColumnWidth(), At.y + Size.cy};
  return TRect{At.x, At.y, At.x + Size.cx, At.y + Size.cy};
}

void TKsItemView::Paint(TKsBitmap* ACanvas) {
  if (!FItems) return;
  for (int I = 0; I < FItems->Count(); ++I) {
    TKsCustomItem* Item = FItems->Items(I);
    if (Item->Visible()) Item->Paint(ACanvas, this, GetItemRect(Item), Item == FHotItem, !FTracking);
  }
}

void TKsItemView::HitTest(const TPoint& ScreenPoint) {
  if (!FControl || !FItems) return;
  const TPoint P = FControl->ScreenToClient(ScreenPoint);
  if (!FTracking) FHotItem = nullptr;
  for (int I = 0; I < FItems->Count(); ++I) {
    TKsCustomItem* Item = FItems->Items(I);
    if (Item->Visible() && Contains(GetItemRect(Item), P)) {
      FHotItem = Item;
      break;
    }
  }
  Invalidate();
}

bool TKsItemView::OnHotItem(const TPoint& ScreenPoint) {
  if (!FHotItem || !FControl) return false;
  return Contains(GetItemRect(FHotItem), FControl->ScreenToClient(ScreenPoint));
}

// ---------------------------------------------------------------------------------
// Selection

void TKsItemView::Select(int Step) {
  if (!FItems || FItems->Count() == 0) return;
  const int Count = FItems->Count();
  int Index = FHotItem ? FItems->IndexOf(FHotItem) : -1;
  if (Index < 0) Index = Step > 0 ? Count - 1 : 0;
  // One pass over the level at most: a level without a selectable item ends with no
  // item hot instead of going round for ever.
  TKsCustomItem* Found = nullptr;
  for (int Tried = 0; Tried < Count; ++Tried) {
    Index = (Index + Step + Count) % Count;
    if (Selectable(FItems->Items(Index))) {
      Found = FItems->Items(Index);
      break;
    }
  }
  FHotItem = Found;
  Invalidate();
  if (FDropped && FHotItem) OpenHotItem();
}

void TKsItemView::SelectNext() { Select(1); }
void TKsItemView::SelectPrevious() { Select(-1); }

bool TKsItemView::OpenHotItem() {
  if (!FHotItem || !FHotItem->Enabled() || FHotItem->Count() == 0 || !FControl) return false;
  const TRect R = GetItemRect(FHotItem);
  const TPoint Anchor = FControl->ClientToScreen(FMenuBarStyle ? TPoint{R.left, R.bottom} : TPoint{R.right, R.top});
  const TPoint TopLeft = FControl->ClientToScreen(TPoint{R.left, R.top});
  const TRect ScreenRect{TopLeft.x, TopLeft.y, TopLeft.x + (R.right - R.left), TopLeft.y + (R.bottom - R.top)};
  FDropped = true;
  return PopupItem(FHotItem, this, Anchor, ScreenRect);
}

void TKsItemView::CloseAll() {
  for (TKsItemView* View = this; View; View = View->FParentView) {
    View->FHotItem = nullptr;
    View->FDropped = false;
    View->FTracking = false;
    View->Invalidate();
  }
}

TKsItemView* TKsItemView::Outermost() {
  TKsItemView* View = this;
  while (View->FParentView) View = View->FParentView;
  return View;
}

// ---------------------------------------------------------------------------------
// Tracking

void TKsItemView::PostKey(TWinControl* Target, WPARAM Key) {
  if (Target && Target->HandleAllocated()) PostMessageA(Target->Handle(), WM_KEYDOWN, Key, 0);
}

bool TKsItemView::Track() {
  if (!FControl) return false;
  FTracking = true;
  if (FItems && FItems->Count() > 0) {
    FHotItem = FItems->Items(FItems->Count() - 1);
    SelectNext();
  }
  POINT Cursor;
  if (GetCursorPos(&Cursor)) HitTest(TPoint{Cursor.x, Cursor.y});
  Invalidate();
  const HWND Window = FControl->Handle();
  BeginNestedCapture(Window);
  const HWND Captured = GetCapture();
  {
    auto EndTracking = AtScopeEnd([this] {
      FTracking = false;
      EndNestedCapture();
    });
    while (FTracking && Captured && GetCapture() == Captured) {
      MSG Msg;
      if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_NOREMOVE)) {
        WaitMessage();
        continue;
      }
      if (!TrackPeeked(Msg) || !FTracking) break;
      if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) continue;
      if (!TrackRemoved(Msg)) break;
    }
  }
  return true;
}

bool TKsItemView::TrackPeeked(const MSG& Msg) {
  switch (Msg.message) {
    case WM_QUIT:
      CloseAll();  // stays queued for the loop outside
      return false;
    case WM_WINDOWPOSCHANGING:
      CloseAll();
      return false;
    case WM_LBUTTONDOWN: {
      POINT P = PointFromLParam(Msg.lParam);
      ClientToScreen(Msg.hwnd, &P);
      const TPoint Screen{P.x, P.y};
      if (OnHotItem(Screen)) {
        PostKey(FControl, VK_RETURN);
        return true;
      }
      for (TKsItemView* View = FParentView; View; View = View->FParentView)
        if (View->OnHotItem(Screen)) return true;
      CloseAll();  // the press stays queued for the window under the mouse
      return false;
    }
    default:
      if (Msg.message >= WM_NCLBUTTONDOWN && Msg.message <= WM_NCMBUTTONDBLCLK) {
        CloseAll();
        return false;
      }
      return true;
  }
}

bool TKsItemView::TrackRemoved(MSG& Msg) {
  switch (Msg.message) {
    case WM_CONTEXTMENU: return true;
    case WM_MOUSEMOVE: return TrackMouseMove(Msg);
    case WM_LBUTTONUP: {
      POINT P = PointFromLParam(Msg.lParam);
      ClientToScreen(Msg.hwnd, &P);
      const TPoint Screen{P.x, P.y};
      if (OnHotItem(Screen)) {
        PostKey(FControl, VK_RETURN);
        return true;
      }
      for (TKsItemView* View = FParentView; View; View = View->FParentView)
        if (View->OnHotItem(Screen)) return true;
      CloseAll();
      return false;
    }
    case KM_OPENITEM:
      OpenHotItem();
      return FTracking;
  }
  if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) {
    if (GetKeyStateProc(VK_LBUTTON) & 0x8000) return true;
    return TrackKey(Msg);
  }
  if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) return true;
  DispatchMessageA(&Msg);
  return FTracking;
}

bool TKsItemView::TrackKey(MSG& Msg) {
  if (Msg.message == WM_CHAR || Msg.message == WM_SYSCHAR) {
    if (FItems)
      if (TKsCustomItem* Item = FItems->FindAccelerator(static_cast<char>(Msg.wParam))) {
        FHotItem = Item;
        Invalidate();
        PostKey(FControl, VK_RETURN);
      }
    return true;
  }
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return true;
  switch (Msg.wParam) {
    case VK_LEFT:
    case VK_RIGHT:
      if (FMenuBarStyle) {
        Msg.wParam == VK_LEFT ? SelectPrevious() : SelectNext();
        return FTracking;
      }
      if (!FParentView) return true;
      if (FParentView->FMenuBarStyle) {
        PostKey(FParentView->FControl, Msg.wParam);
        return false;
      }
      PostKey(FControl, VK_ESCAPE);
      return true;
    case VK_UP:
      if (!FMenuBarStyle) SelectPrevious();
      return FTracking;
    case VK_DOWN:
      FMenuBarStyle ? static_cast<void>(OpenHotItem()) : SelectNext();
      return FTracking;
    case VK_RETURN: {
      TKsCustomItem* Item = FHotItem;
      if (!Item) return true;
      const DWORD Serial = Item->Serial();
      Item->Click();
      const bool Opened = TKsCustomItem::FindLiving(Serial) && OpenHotItem();
      Item = TKsCustomItem::FindLiving(Serial);
      if (!Opened && Item && Item->Enabled() && !Item->IsSeparator()) CloseAll();
      return FTracking;
    }
    case VK_ESCAPE:
      if (FParentView) FParentView->FDropped = false;
      FHotItem = nullptr;
      Invalidate();
      return false;
    case VK_MENU:
    case VK_F10:
      CloseAll();
      return false;
    case VK_TAB:
    case VK_SPACE:
      return true;
    default:
      TranslateMessage(&Msg);
      return true;
  }
}

bool TKsItemView::TrackMouseMove(const MSG& Msg) {
  POINT P = PointFromLParam(Msg.lParam);
  ClientToScreen(Msg.hwnd, &P);
  const TPoint Screen{P.x, P.y};
  if (Screen.x == LastMousePoint.x && Screen.y == LastMousePoint.y) return true;
  for (TKsItemView* View = Outermost(); View; View = View->FChildView) {
    TKsCustomItem* Before = View->FHotItem;
    View->HitTest(Screen);
    if (View != this && View->FHotItem != Before) {
      // Another menu's item is hot now: close the menus below it and let that
      // menu's loop open the item.
      for (TKsItemView* Closing = this; Closing && Closing != View; Closing = Closing->FParentView)
        PostKey(Closing->FControl, VK_ESCAPE);
      if (View->FControl && View->FControl->HandleAllocated())
        PostMessageA(View->FControl->Handle(), KM_OPENITEM, 0, 0);
      LastMousePoint = Screen;
      return false;
    }
    if (View == this) break;
  }
  if (!FMenuBarStyle) OpenHotItem();
  LastMousePoint = Screen;
  return true;
}
