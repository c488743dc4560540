// The date popup's month list: seven months over the popup's caption while the mouse
// is held; beyond its top or bottom it scrolls on a timer, faster further out.
#include <windows.h>

#include <string>

#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "editors/dxGrDate.h"

TCLASS_IMPL(TAMonthListBox)

namespace {

constexpr int RowCount = 7;
// Ids below this scroll back, above it forward.
constexpr UINT_PTR ScrollTimerMiddle = 5;

void CALLBACK ScrollTimerProc(HWND Wnd, UINT /*Msg*/, UINT_PTR /*Id*/, DWORD /*Time*/) {
  auto* List = dynamic_cast<TAMonthListBox*>(FindControl(Wnd));
  if (!List) return;
  try {
    List->ScrollTimerTick();
  } catch (...) {
    Application->HandleException(List);
  }
}

}  // namespace

TAMonthListBox::TAMonthListBox(TComponent* AOwner) : TCustomControl(AOwner) {}

TAMonthListBox::~TAMonthListBox() { StopTimer(); }

TdxGridDatePopup* TAMonthListBox::Popup() { return dynamic_cast<TdxGridDatePopup*>(Owner()); }

void TAMonthListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  TdxGridDatePopup* Owner = Popup();
  Params.WndParent = Owner && Owner->HandleAllocated() ? Owner->Handle() : nullptr;
}

void TAMonthListBox::SetTopDate(TDateTime Value) {
  if (FTopDate == Value) return;
  FTopDate = Value;
  Invalidate();
}

void TAMonthListBox::SetItemIndex(int Value) {
  if (FItemIndex == Value) return;
  if (HandleAllocated()) {
    const int Width = ClientWidth();
    for (int Row : {FItemIndex, Value}) {
      if (Row < 0) continue;
      const RECT R{0, Row * FItemHeight, Width, (Row + 1) * FItemHeight};
      InvalidateRect(FHandle, &R, FALSE);
    }
  }
  FItemIndex = Value;
}

TDateTime TAMonthListBox::GetDate() {
  if (FItemIndex == -1 || FTopDate == NullDate) return NullDate;
  int Year = GetDateElement(FTopDate, 1), Month = GetDateElement(FTopDate, 2);
  ChangeMonth(Year, Month, FItemIndex);
  return EncodeDate(Year, Month, 1);
}

UINT TAMonthListBox::ScrollInterval(UINT_PTR Id) {
  const int Step = static_cast<int>(Id) - static_cast<int>(ScrollTimerMiddle);
  switch (Step < 0 ? -Step : Step) {
    case 1: return 500;
    case 2: return 250;
    case 3: return 100;
    default: return 50;
  }
}

void TAMonthListBox::StopTimer() {
  if (!FScrollTimer) return;
  if (HandleAllocated()) KillTimer(FHandle, FScrollTimerId);
  FScrollTimer = 0;
  FScrollTimerId = 0;
}

void TAMonthListBox::ScrollTimerTick() {
  if (!FScrollTimer || FTopDate == NullDate) return;
  int Year = GetDateElement(FTopDate, 1), Month = GetDateElement(FTopDate, 2);
  if (FScrollTimerId < ScrollTimerMiddle)
    DecMonth(Year, Month);
  else
    IncMonth(Year, Month);
  SetTopDate(EncodeDate(Year, Month, 1));
}

void TAMonthListBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  const int Height = ClientHeight();
  if (X >= 0 && X < ClientWidth() && Y >= 0 && Y < Height) {
    StopTimer();
    SetItemIndex(FItemHeight > 0 ? Y / FItemHeight : 0);
    return;
  }
  SetItemIndex(-1);
  // Beside the list: no scrolling.
  if (Y >= 0 && Y < Height) return;
  const int Distance = Y < 0 ? Y : Y + 1 - Height;
  int Step = (Distance < 0 ? -1 : 1) + Distance / 12;
  if (Step > 4) Step = 4;
  if (Step < -4) Step = -4;
  const UINT_PTR Id = static_cast<UINT_PTR>(Step + static_cast<int>(ScrollTimerMiddle));
  if (FScrollTimer && FScrollTimerId == Id) return;
  StopTimer();
  if (!HandleAllocated()) return;
  FScrollTimer = SetTimer(FHandle, Id, ScrollInterval(Id), ScrollTimerProc);
  if (FScrollTimer) FScrollTimerId = Id;
}

void TAMonthListBox::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Canvas()->Font()->Assign(Font());
  TdxGridDatePopup* Owner = Popup();
  if (!Owner) return;
  FItemHeight = Owner->HeaderHeight() - 2;
  SetBounds(Left(), Top(), 2 * GetSystemMetrics(SM_CXBORDER) + 6 * Owner->ColWidth(),
            2 * GetSystemMetrics(SM_CYBORDER) + RowCount * FItemHeight);
}

void TAMonthListBox::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  const int Width = ClientWidth();
  int Year = FTopDate == NullDate ? 0 : GetDateElement(FTopDate, 1);
  int Month = FTopDate == NullDate ? 0 : GetDateElement(FTopDate, 2);
  for (int Row = 0; Row < RowCount; ++Row) {
    RECT R{0, Row * FItemHeight, Width, (Row + 1) * FItemHeight};
    const bool Selected = Row == FItemIndex;
    C->Brush()->SetColor(Selected ? clWindowText : clWindow);
    C->Font()->SetColor(Selected ? clWindow : clWindowText);
    AnsiString Text;
    if (Month != 0) {
      Text = FormatSettings.LongMonthNames[Month - 1] + " " + std::to_string(Year);
      IncMonth(Year, Month);
    }
    // The row's background with its text, centred.
    const TSize Size = C->TextExtent(Text);
    C->TextRect(R, (Width - Size.cx) / 2, R.top + (FItemHeight - Size.cy) / 2, Text);
  }
}

void TAMonthListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_DESTROY:
      StopTimer();
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}
