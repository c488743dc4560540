#include "skin/KsThemeGroupBoxs.h"

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/TypInfo.h"

TCLASS_IMPL(TTeThemeGroupBox)
TCLASS_IMPL(TTeThemeGroupButton)
TCLASS_IMPL(TTeThemeRadioGroup)

namespace {

// One deferred window-position batch, ended whatever happens to the loop that fills
// it.
class TDeferredPositions {
 public:
  explicit TDeferredPositions(int Count) : FInfo(BeginDeferWindowPos(Count)) {}
  TDeferredPositions(const TDeferredPositions&) = delete;
  TDeferredPositions& operator=(const TDeferredPositions&) = delete;
  ~TDeferredPositions() {
    if (FInfo) EndDeferWindowPos(FInfo);
  }
  void Move(HWND Window, int X, int Y, int W, int H) {
    if (FInfo) FInfo = DeferWindowPos(FInfo, Window, nullptr, X, Y, W, H, SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  HDWP FInfo;
};

// The character height of Font on the screen.
int ScreenCharHeight(TFont* Font) {
  TScreenDC Screen;
  TSelection Selected(Screen.DC(), Font->Handle());
  TEXTMETRICA Metrics{};
  GetTextMetricsA(Screen.DC(), &Metrics);
  return Metrics.tmHeight;
}

}  // namespace

// ---------------------------------------------------------------------------------
// TTeThemeGroupBox

void TTeThemeGroupBox::SetThemeEngine(TTeThemeEngine* Value) {
  FLink.Set(Value);
  EngineChanged();
  Invalidate();
}

void TTeThemeGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (FLink.Removed(AComponent, Operation) && !ComponentState().Contains(csDestroying))
    Invalidate();
}

void TTeThemeGroupBox::PaintBuffer() {
  if (!IsThemed()) {
    inherited::PaintBuffer();
    return;
  }
  TTeTheme* Theme = FLink.Theme();
  if (!Transparent()) Buffer()->Fill(ColorToKsColor(Theme->GetColor(11), 255));
  const TRect F = GetFrameRect();
  Theme->DrawGroupBox(Buffer(), F, CaptionRect(), Caption());
}

// ---------------------------------------------------------------------------------
// TTeThemeGroupButton

TTeThemeGroupButton::TTeThemeGroupButton(TComponent* AOwner)
    : TTeThemeRadioButton(AOwner), FGroup(dynamic_cast<TTeThemeRadioGroup*>(AOwner)) {
  if (!FGroup) return;
  SetTabStop(FGroup->ItemTabStop());
  SetItemTabStop(FGroup->ItemTabStop());
  FGroup->FButtons.push_back(this);
  SetVisible(false);
  SetEnabled(FGroup->Enabled());
  SetParentShowHint(false);
  OnClick = TNotifyEvent::Bind<&TTeThemeRadioGroup::ButtonClick>(FGroup);
  SetParent(FGroup);
}

void TTeThemeGroupButton::BeforeDestruction() {
  if (FGroup) {
    auto& List = FGroup->FButtons;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
  }
  inherited::BeforeDestruction();
}

void TTeThemeGroupButton::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (FGroup) FGroup->KeyDown(Key, Shift);
}

void TTeThemeGroupButton::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (!FGroup) return;
  FGroup->KeyPress(Key);
  if ((Key == '\b' || Key == ' ') && !FGroup->CanModify()) Key = 0;
}

void TTeThemeGroupButton::Dispatch(TMessage& Message) {
  if (Message.Msg != CN_COMMAND || FInClick) {
    inherited::Dispatch(Message);
    return;
  }
  FInClick = true;
  auto Done = ScopeExit([this] { FInClick = false; });
  const Word Code = HIWORD(Message.WParam);
  if ((Code != BN_CLICKED && Code != BN_DOUBLECLICKED) || !FGroup || FGroup->CanModify())
    inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// TTeThemeRadioGroup

TTeThemeRadioGroup::TTeThemeRadioGroup(TComponent* AOwner) : TTeThemeGroupBox(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csSetCaption, csDoubleClicks});
  FItems = NewObject<TStringList>();
  FItems->OnChange = TNotifyEvent::Bind<&TTeThemeRadioGroup::ItemsChange>(this);
}

void TTeThemeRadioGroup::BeforeDestruction() {
  while (!FButtons.empty()) FButtons.back()->Free();
  FItems->OnChange = nullptr;
  inherited::BeforeDestruction();
}

TTeThemeRadioGroup::~TTeThemeRadioGroup() { FreeAndNil(FItems); }

void TTeThemeRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (Value == FColumns) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TTeThemeRadioGroup::SetItemIndex(int Value) {
  if (FReading) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, ButtonCount() - 1);
  if (Value == FItemIndex) return;
  if (FItemIndex >= 0 && FItemIndex < ButtonCount()) Buttons(FItemIndex)->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) Buttons(FItemIndex)->SetChecked(true);
}

void TTeThemeRadioGroup::SetItemTabStop(bool Value) {
  if (Value == FItemTabStop) return;
  FItemTabStop = Value;
  // Each button gives up its tab stop when it is turned off (buttons start as tab
  // stops when made under ItemTabStop), and a checked one takes it again when on.
  for (TTeThemeGroupButton* Button : FButtons) Button->SetItemTabStop(Value);
}

void TTeThemeRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  const auto Found = std::find(FButtons.begin(), FButtons.end(), Sender);
  FItemIndex = Found == FButtons.end() ? -1 : static_cast<int>(Found - FButtons.begin());
  Perform(CM_CHANGED, 0, 0);
  Click();
}

void TTeThemeRadioGroup::ItemsChange(TObject* /*Sender*/) {
  if (FReading) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TTeThemeRadioGroup::Loaded() {
  inherited::Loaded();
  ArrangeButtons();
  UpdateButtons();
}

void TTeThemeRadioGroup::ReadState(TReader* Reader) {
  {
    FReading = true;
    auto Done = ScopeExit([this] { FReading = false; });
    inherited::ReadState(Reader);
  }
  // An index read past the items read would check a button that does not exist.
  FItemIndex = std::clamp(FItemIndex, -1, FItems->Count() - 1);
  UpdateButtons();
}

void TTeThemeRadioGroup::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Control = Controls(I);
    const bool Button = std::find(FButtons.begin(), FButtons.end(), Control) != FButtons.end();
    if (!Button && Control->Owner() == Root) Proc(Control);
  }
}

void TTeThemeRadioGroup::ArrangeButtons() {
  const int Count = ButtonCount();
  if (Count == 0 || FReading) return;
  const int CharHeight = ScreenCharHeight(Font());
  const int PerColumn = (Count + FColumns - 1) / FColumns;
  const int ButtonWidth = (Width() - 10) / FColumns;
  const int Room = Height() - CharHeight - 5;
  const int ButtonHeight = Room / PerColumn;
  const int TopMargin = CharHeight + 1 + (Room % PerColumn) / 2;
  const bool Batch = HandleAllocated();
  TDeferredPositions Positions(Batch ? Count : 0);
  for (int I = 0; I < Count; ++I) {
    TTeThemeGroupButton* Button = Buttons(I);
    Button->SetBiDiMode(BiDiMode());
    int Left = (I / PerColumn) * ButtonWidth + 8;
    if (Button->UseRightToLeftAlignment()) Left = ClientWidth() - Left - ButtonWidth;
    const int Top = (I % PerColumn) * ButtonHeight + TopMargin;
    if (Batch)
      Positions.Move(Button->Handle(), Left, Top, ButtonWidth, ButtonHeight);
    else
      Button->SetBounds(Left, Top, ButtonWidth, ButtonHeight);
    Button->SetVisible(true);
  }
}

void TTeThemeRadioGroup::UpdateButtons() {
  while (ButtonCount() < FItems->Count()) NewObject<TTeThemeGroupButton>(this);
  while (ButtonCount() > FItems->Count()) FButtons.back()->Free();
  for (int I = 0; I < ButtonCount(); ++I) {
    Buttons(I)->SetCaption(FItems->Strings(I));
    Buttons(I)->SetThemeEngine(ThemeEngine());
  }
  if (FItemIndex >= 0 && FItemIndex < ButtonCount()) {
    FUpdating = true;
    auto Done = ScopeExit([this] { FUpdating = false; });
    Buttons(FItemIndex)->SetChecked(true);
  }
  ArrangeButtons();
  Invalidate();
}

void TTeThemeRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      for (TTeThemeGroupButton* Button : FButtons) Button->SetEnabled(Enabled());
      return;
    case CM_FONTCHANGED:
    case WM_SIZE:
      inherited::Dispatch(Message);
      ArrangeButtons();
      return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsThemeGroupBoxs() {
  RegisterClass(&TTeThemeGroupBox::StaticClass());
  RegisterClass(&TTeThemeRadioGroup::StaticClass());
  {
    TPublish<TTeThemeGroupBox> P;
    P.Prop("ThemeEngine", &TTeThemeGroupBox::ThemeEngine, &TTeThemeGroupBox::SetThemeEngine);
    P.Prop("Version", &TTeThemeGroupBox::Version, &TTeThemeGroupBox::SetVersion).Stored(false);
  }
  {
    TPublish<TTeThemeRadioGroup> P;
    P.Prop("Columns", &TTeThemeRadioGroup::Columns, &TTeThemeRadioGroup::SetColumns).Default(1);
    P.Prop("ItemIndex", &TTeThemeRadioGroup::ItemIndex, &TTeThemeRadioGroup::SetItemIndex)
        .Default(-1);
    P.Prop("Items", &TTeThemeRadioGroup::Items, &TTeThemeRadioGroup::SetItems);
    P.Prop("ItemTabStop", &TTeThemeRadioGroup::ItemTabStop,
           &TTeThemeRadioGroup::SetItemTabStop)
        .Default(true);
  }
}

void DoneKsThemeGroupBoxs() {
  UnRegisterPublished(&TTeThemeRadioGroup::StaticClass());
  UnRegisterPublished(&TTeThemeGroupBox::StaticClass());
  UnRegisterClass(&TTeThemeRadioGroup::StaticClass());
  UnRegisterClass(&TTeThemeGroupBox::StaticClass());
}
