#include "skin/KsPopup.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/ModuleInit.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TKsPopupWindow)
TCLASS_IMPL(TKsPopupForm)
TCLASS_IMPL(TKsPopupView)

namespace {

// Shown or hidden without activation, keeping place, size and z-order.
constexpr UINT ShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
constexpr UINT HideFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;
static_assert(ShowFlags == 0x57 && HideFlags == 0x97);
// The popup frame's edge on every side of the items.
constexpr int PopupEdge = 3;

// The popup windows that exist now, in the order they were made.
std::vector<TKsPopupWindow*>& LiveWindows() {
  static std::vector<TKsPopupWindow*> Windows;
  return Windows;
}

TKsColor Ks(TColor C) { return ColorToKsColor(C, 255); }

// The skinned frame among the components of Control, or nullptr.
TKsCustomForm* FrameOf(TWinControl* Control) {
  if (!Control) return nullptr;
  for (int I = 0; I < Control->ComponentCount(); ++I)
    if (auto* Frame = ObjectAs<TKsCustomForm>(Control->Components(I))) return Frame;
  return nullptr;
}

// The owner's frame does not paint while the popup comes up (it would paint itself
// inactive for a moment); its painting is on again when the scope ends.
class TFramePaintPause {
 public:
  explicit TFramePaintPause(TKsCustomForm* AFrame) : FFrame(AFrame) {
    if (FFrame) FFrame->DisableFramePaint();
  }
  ~TFramePaintPause() {
    if (FFrame) FFrame->EnableFramePaint();
  }
  TFramePaintPause(const TFramePaintPause&) = delete;
  TFramePaintPause& operator=(const TFramePaintPause&) = delete;

 private:
  TKsCustomForm* FFrame;
};

// A parent view's child view while the child's loop runs.
class TChildViewScope {
 public:
  TChildViewScope(TKsItemView* AParent, TKsItemView* Child) : FParent(AParent) {
    if (FParent) FParent->SetChildView(Child);
  }
  ~TChildViewScope() {
    if (FParent) FParent->SetChildView(nullptr);
  }
  TChildViewScope(const TChildViewScope&) = delete;
  TChildViewScope& operator=(const TChildViewScope&) = delete;

 private:
  TKsItemView* FParent;
};

}  // namespace

// ---------------------------------------------------------------------------------
// Placement and showing

TPoint PlacePopup(const TRect& Screen, const TPoint& At, const TRect& ItemRect, int Width, int Height,
                  bool MenuBarStyle) {
  TPoint P;
  if (ItemRect.right - ItemRect.left <= 0) {
    P = At;
    if (P.x + Width > Screen.right) P.x = At.x - Width;
    if (P.y + Height > Screen.bottom) P.y = At.y - Height;
    return P;
  }
  if (MenuBarStyle) {
    P = TPoint{ItemRect.left, ItemRect.bottom};
    if (P.x + Width > Screen.right) P.x = ItemRect.right - Width;
    if (P.y + Height > Screen.bottom) P.y = ItemRect.top - Height;
  } else {
    P = TPoint{ItemRect.right, ItemRect.top};
    if (P.x + Width > Screen.right) P.x = ItemRect.left - Width;
    if (P.y + Height > Screen.bottom) P.y = ItemRect.bottom - Height;
  }
  if (P.x + Width > Screen.right) P.x = Screen.right - Width;
  if (P.y + Height > Screen.bottom) P.y = Screen.bottom - Height;
  return P;
}

bool ShowPopupItem(TKsCustomItem* Item, TKsItemView* ParentView, const TPoint& At, const TRect& ItemRect) {
  if (!Item || Item->Count() == 0) return false;
  const TClass Class = Item->GetPopupWindowClass();
  if (!Class || !Class->InheritsFrom(&TKsPopupWindow::StaticClass())) return false;
  TOwned<TKsPopupWindow> Window(
      static_cast<TKsPopupWindowClass>(Class)->CreateNew(Item->Owner(), Item, ParentView));
  Window->SetBounds(At.x, At.y, 0, 0);
  Window->View()->UpdateSize();
  const TRect ScreenRect{0, 0, Screen->Width(), Screen->Height()};
  const TPoint P = PlacePopup(ScreenRect, At, ItemRect, Window->Width(), Window->Height(),
                              ParentView && ParentView->MenuBarStyle());
  Window->SetBounds(P.x, P.y, Window->Width(), Window->Height());
  {
    TFramePaintPause Pause(FrameOf(Item->OwnerControl()));
    Window->SetVisible(true);
    if (Item->SetForeground() && Window->HandleAllocated()) SetForegroundWindow(Window->Handle());
  }
  TChildViewScope Child(ParentView, Window->View());
  Window->View()->Track();
  return true;
}

int PopupWindowCount() { return static_cast<int>(LiveWindows().size()); }

TKsPopupWindow* PopupWindows(int Index) { return LiveWindows().at(static_cast<std::size_t>(Index)); }

void ClosePopups(TKsCustomItem* Root) {
  if (!Root) return;
  for (TKsPopupWindow* Window : LiveWindows()) {
    if (!Window->Item() || Window->Item()->Root() != Root) continue;
    if (Window->View()) Window->View()->CloseAll();
    Window->SetVisible(false);
  }
}

// ---------------------------------------------------------------------------------
// TKsPopupWindow

TKsPopupWindow::TKsPopupWindow(TComponent* AOwner, TKsCustomItem* AItem, TKsItemView* AParentView)
    : TForm(AOwner, CreateNew), FItem(AItem), FParentView(AParentView) {
  SetBorderStyle(bsNone);
  LiveWindows().push_back(this);
}

TKsPopupWindow::~TKsPopupWindow() {
  auto& Windows = LiveWindows();
  Windows.erase(std::remove(Windows.begin(), Windows.end(), this), Windows.end());
}

TComponentClass TKsPopupWindow::GetFormClass() const { return &TKsPopupForm::StaticClass(); }

void TKsPopupWindow::AfterConstruction() {
  inherited::AfterConstruction();
  FForm = static_cast<TKsPopupForm*>(GetFormClass()->Create(this));
  FForm->Load();
  FForm->SetPopupWindow(this);
  FForm->SetStayOnTop(true);
  if (FItem) {
    FForm->SetBlend(FItem->PopupBlend());
    FForm->SetBlendValue(FItem->PopupBlendValue());
    FForm->SetDropShadow(FItem->DropShadow());
    FForm->SetShadowWidth(FItem->ShadowWidth());
  }
  TWinControl* OwnerControl = ObjectAs<TWinControl>(Owner());
  TWinControl* OwnersOwner = Owner() ? ObjectAs<TWinControl>(Owner()->Owner()) : nullptr;
  FForm->SetOwnerWindow(OwnersOwner ? OwnersOwner : OwnerControl);
  // A menu animates its first popup only; a free popup animates each time.
  if (FItem && (!FItem->FromMenu() || FItem->AnimateNext())) {
    FForm->SetShowAnimation(FItem->ShowAnimation());
    FForm->SetShowAnimationTime(FItem->ShowAnimationTime());
    (FItem->Parent() ? FItem->Parent() : FItem)->SetAnimateNext(false);
  }
  FView = NewObject<TKsPopupView>(this);
  FView->SetCanvas(FForm->GetFrameBuffer());
  FView->SetHostControl(this);
  FView->SetControl(this);
  FView->SetItems(FItem);
  FView->SetParentView(FParentView);
}

void TKsPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

void TKsPopupWindow::ShowingChanged() {
  if (!HandleAllocated()) return;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, Showing() ? ShowFlags : HideFlags);
}

// ---------------------------------------------------------------------------------
// TKsPopupForm

TKsPopupForm::TKsPopupForm(TComponent* AOwner) : TKsCustomForm(AOwner) {
  // The popup's window keeps its own borderless style under the kit's frame.
  if (auto* Form = ObjectAs<TCustomForm>(AOwner)) Form->SetBorderStyle(bsNone);
  SetBorderIcons(TKsBorderIcons{});
  SetBorderStyle(kbsNone);
  SetCanMove(false);
  SetCanResize(false);
  // A menu does not take part in minimizing the application.
  SetMinimizeApplication(false);
  SetActive(true);
}

void TKsPopupForm::GetClientArea(TRect& R) {
  R = TRect{PopupEdge, PopupEdge, FrameWidth() - PopupEdge, FrameHeight() - PopupEdge};
}

void TKsPopupForm::GetMinTrackSize(TPoint& P) { P = TPoint{10, 10}; }

TKsPopupView* TKsPopupForm::PaintedView() const {
  if (!FPopupWindow || !FPopupWindow->View() || !FPopupWindow->View()->Items()) return nullptr;
  return FPopupWindow->View();
}

void TKsPopupForm::PaintFrame(TKsBitmap* Bitmap) {
  if (!PaintedView()) return;
  TRect R{0, 0, FrameWidth(), FrameHeight()};
  const bool Blend = Bitmap->AlphaBlend();
  Bitmap->SetAlphaBlend(false);
  Bitmap->DrawEdge(R, Ks(clBtnFace), KsColorBlack);
  InflateRect(&R, -1, -1);
  Bitmap->DrawEdge(R, Ks(clBtnHighlight), Ks(clBtnShadow));
  InflateRect(&R, -1, -1);
  Bitmap->DrawEdge(R, Ks(clMenu), Ks(clMenu));
  Bitmap->SetAlphaBlend(Blend);
}

void TKsPopupForm::PaintBackground(TKsBitmap* Bitmap) {
  inherited::PaintBackground(Bitmap);
  TKsPopupView* View = PaintedView();
  if (!View) return;
  TRect C;
  GetClientArea(C);
  View->SetOrigin(TPoint{C.left, C.top});
  View->Paint(Bitmap);
  View->SetOrigin(TPoint{0, 0});
}

void TKsPopupForm::Dispatch(TMessage& Message) {
  if ((Message.Msg == WM_ACTIVATE || Message.Msg == WM_MOUSEACTIVATE) && FOwnerWindow &&
      FOwnerWindow->HandleAllocated())
    SendMessageA(FOwnerWindow->Handle(), WM_NCACTIVATE, 1, 0);
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TKsPopupView

TKsPopupView::TKsPopupView(TKsPopupWindow* AWindow)
    : TKsItemView(AWindow, voColumn, false), FPopupWindow(AWindow) {}

void TKsPopupView::SetSize(const TPoint& Extent) {
  TKsPopupForm* Form = FPopupWindow->PopupForm();
  if (!Form) return;
  const int Left = FPopupWindow->Left(), Top = FPopupWindow->Top();
  // A large window first, to read the frame's insets around its client area.
  FPopupWindow->SetBounds(Left, Top, 1000, 1000);
  TRect C;
  Form->GetClientArea(C);
  const int Shadow = Form->DropShadow() ? Form->ShadowWidth() : 0;
  FPopupWindow->SetBounds(Left, Top, Extent.x + C.left + (Form->FrameWidth() - C.right) + Shadow,
                          Extent.y + C.top + (Form->FrameHeight() - C.bottom) + Shadow);
}

void TKsPopupView::MoveTo(const TPoint& Point) {
  TKsPopupForm* Form = FPopupWindow->PopupForm();
  TRect C{0, 0, 0, 0};
  if (Form) Form->GetClientArea(C);
  FPopupWindow->SetBounds(Point.x - C.left, Point.y - C.top, FPopupWindow->Width(), FPopupWindow->Height());
}

void TKsPopupView::Invalidate() {
  if (FPopupWindow->HandleAllocated()) InvalidateRect(FPopupWindow->Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsPopup() {
  KsPopupWindowClass = &TKsPopupWindow::StaticClass();
  KsPopupItemProc = ShowPopupItem;
}

void DoneKsPopup() {
  if (KsPopupItemProc == ShowPopupItem) KsPopupItemProc = nullptr;
  KsPopupWindowClass = nullptr;
}
