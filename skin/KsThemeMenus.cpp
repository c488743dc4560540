#include "skin/KsThemeMenus.h"

#include <windows.h>

#include "classlib/ModuleInit.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(TTeThemeItem)
TCLASS_IMPL(TTeThemePopupWindow)
TCLASS_IMPL(TTeThemePopupForm)

namespace {

// The MDI button that shows the child window's icon.
constexpr Byte IconButton = 4;

// The icon at the small-icon size, centred in a 16 x 16 square centred in R.
void DrawChildIcon(TKsBitmap* Canvas, const TRect& R, HICON Icon) {
  const int W = GetSystemMetrics(SM_CXSMICON), H = GetSystemMetrics(SM_CYSMICON);
  const int SquareLeft = R.left + (R.right - R.left - 16) / 2;
  const int SquareTop = R.top + (R.bottom - R.top - 16) / 2;
  DrawIconEx(Canvas->DC(), SquareLeft + (16 - W) / 2, SquareTop + (16 - H) / 2, Icon, W, H, 0, nullptr, DI_NORMAL);
  GdiFlush();
}

}  // namespace

// ---------------------------------------------------------------------------------
// TTeThemeItem

TTeThemeItem::TTeThemeItem(TComponent* AOwner) : TKsCustomItem(AOwner) {}

void TTeThemeItem::SetThemeEngine(TTeThemeEngine* Value) {
  // Another painter measures the items otherwise: whoever shows them hears of it once.
  if (SetTreeThemeEngine(Value)) Changed();
}

bool TTeThemeItem::SetTreeThemeEngine(TTeThemeEngine* Value) {
  bool Result = false;
  if (FThemeEngine != Value) {
    if (FThemeEngine) FThemeEngine->RemoveFreeNotification(this);
    FThemeEngine = Value;
    if (FThemeEngine) FThemeEngine->FreeNotification(this);
    Result = true;
  }
  for (int I = 0; I < Count(); ++I)
    if (auto* Child = ObjectAs<TTeThemeItem>(Items(I))) Result = Child->SetTreeThemeEngine(Value) || Result;
  return Result;
}

void TTeThemeItem::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FThemeEngine) FThemeEngine = nullptr;
}

bool TTeThemeItem::IsThemed() const { return FThemeEngine && FThemeEngine->ThemeAvailable(); }

TClass TTeThemeItem::GetPopupWindowClass() const { return &TTeThemePopupWindow::StaticClass(); }

void TTeThemeItem::Measure(TKsBitmap* Canvas, TKsItemView* View, int& Width, int& Height) {
  if (!IsThemed() || !Canvas) return inherited::Measure(Canvas, View, Width, Height);
  TTeTheme* T = FThemeEngine->Theme();
  if (View && View->MenuBarStyle())
    T->MeasureMenuBarItem(Canvas, this, Width, Height);
  else
    T->MeasurePopupItem(Canvas, this, Width, Height);
  if (MDIButtonKind() != 0) Width = Height;
}

void TTeThemeItem::Paint(TKsBitmap* Canvas, TKsItemView* View, const TRect& R, bool Selected, bool Raised) {
  if (!IsThemed() || !Canvas) return inherited::Paint(Canvas, View, R, Selected, Raised);
  TTeTheme* T = FThemeEngine->Theme();
  if (MDIButtonKind() != 0) {
    T->DrawMenuBarMDIButton(Canvas, this, R, Selected, Raised);
    if (MDIButtonKind() == IconButton) DrawChildIcon(Canvas, R, WindowIcon(MDIChild()));
    return;
  }
  if (View && View->MenuBarStyle())
    T->DrawMenuBarItem(Canvas, this, R, Selected, Raised);
  else
    T->DrawPopupItem(Canvas, this, R, Selected, Raised);
}

// ---------------------------------------------------------------------------------
// TTeThemePopupWindow

TTeThemePopupWindow::TTeThemePopupWindow(TComponent* AOwner, TKsCustomItem* AItem, TKsItemView* AParentView)
    : TKsPopupWindow(AOwner, AItem, AParentView) {}

void TTeThemePopupWindow::AfterConstruction() {
  inherited::AfterConstruction();
  if (auto* Themed = ObjectAs<TTeThemeItem>(Item())) SetThemeEngine(Themed->ThemeEngine());
}

void TTeThemePopupWindow::SetThemeEngine(TTeThemeEngine* Value) {
  if (FThemeEngine == Value) return;
  if (FThemeEngine) FThemeEngine->RemoveFreeNotification(this);
  FThemeEngine = Value;
  if (FThemeEngine) FThemeEngine->FreeNotification(this);
}

void TTeThemePopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FThemeEngine) FThemeEngine = nullptr;
}

TComponentClass TTeThemePopupWindow::GetFormClass() const { return &TTeThemePopupForm::StaticClass(); }

// ---------------------------------------------------------------------------------
// TTeThemePopupForm

void TTeThemePopupForm::PaintFrame(TKsBitmap* Bitmap) {
  auto* Window = ObjectAs<TTeThemePopupWindow>(PopupWindow());
  TTeThemeEngine* Engine = Window ? Window->ThemeEngine() : nullptr;
  if (!PaintedView() || !Engine || !Engine->ThemeAvailable()) return inherited::PaintFrame(Bitmap);
  Engine->Theme()->DrawPopupBackground(Bitmap, FrameWidth(), FrameHeight());
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsThemeMenus() {
  RegisterClass(&TTeThemeItem::StaticClass());
  TPublish<TTeThemeItem> P;
  P.Prop("ThemeEngine", &TTeThemeItem::ThemeEngine, &TTeThemeItem::SetThemeEngine);
}

void DoneKsThemeMenus() {
  UnRegisterPublished(&TTeThemeItem::StaticClass());
  UnRegisterClass(&TTeThemeItem::StaticClass());
}
