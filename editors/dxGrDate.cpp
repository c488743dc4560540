#include "editors/dxGrDate.h"

#include <algorithm>
#include <cmath>

#include "classlib/Forms.h"
#include "classlib/Messages.h"
#include "classlib/ScopeExit.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"

TCLASS_IMPL(TCustomdxCalendar)
TCLASS_IMPL(TdxGridDatePopup)

int StartOfWeek = 0;

namespace {

AnsiString TodayCaption;
AnsiString ClearCaption;

bool PointIn(const TRect& R, int X, int Y) { return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom; }

// The timer callback: the popup is found from its window.
void CALLBACK ArrowTimerProc(HWND Wnd, UINT /*Msg*/, UINT_PTR /*Id*/, DWORD /*Time*/) {
  auto* Popup = dynamic_cast<TdxGridDatePopup*>(FindControl(Wnd));
  if (!Popup) return;
  try {
    Popup->ArrowTimerTick();
  } catch (...) {
    Application->HandleException(Popup);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------
// Date routines

void DecMonth(int& Year, int& Month) {
  if (Month == 1) {
    Month = 12;
    --Year;
  } else {
    --Month;
  }
}

void IncMonth(int& Year, int& Month) {
  if (Month == 12) {
    Month = 1;
    ++Year;
  } else {
    ++Month;
  }
}

int ChangeMonth(int& Year, int& Month, int Delta) {
  Year += Delta / 12;
  int M = Month + Delta % 12;
  if (M < 1) {
    --Year;
    M += 12;
  } else if (M > 12) {
    ++Year;
    M -= 12;
  }
  Month = M;
  return Delta / 12;
}

int GetDateElement(TDateTime Date, int Index) {
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(Date, Year, Month, Day);
  switch (Index) {
    case 1: return Year;
    case 2: return Month;
    case 3: return Day;
    default: return -1;
  }
}

int DaysPerMonth(int Year, int Month) { return DaysInAMonth(Year, Month); }

int CheckDay(int Year, int Month, int Day) {
  if (Day < 1) return 1;
  const int Days = DaysPerMonth(Year, Month);
  return Day > Days ? Days : Day;
}

TDateTime DateOfValue(TDateTime Value) {
  return static_cast<double>(static_cast<long long>(Value < 0 ? Value - 1e-11 : Value + 1e-11));
}

TDateTime TimeOfValue(TDateTime Value) {
  int Hour = 0, Min = 0, Sec = 0, MSec = 0;
  DecodeTime(Value, Hour, Min, Sec, MSec);
  return EncodeTime(Hour, Min, Sec, MSec);
}

int DayOfWeekIndex(TDateTime Date) { return ((DayOfWeek(Date) - StartOfWeek - 1) % 7 + 7) % 7; }

TDateTime FirstOfMonth(TDateTime Date) {
  const TDateTime Day = DateOfValue(Date);
  return Day - (GetDateElement(Day, 3) - 1);
}

// ---------------------------------------------------------------------------------
// Calendar

TCustomdxCalendar::TCustomdxCalendar(TComponent* AOwner)
    : TdxInplacePopupControl(AOwner), FFirstDate(Date()), FAnchorDate(Date()), FSelectionEnd(Date()) {}

void TCustomdxCalendar::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  if (HandleAllocated()) Perform(CM_FONTCHANGED, 0, 0);
  Invalidate();
}

TDateTime TCustomdxCalendar::GetSelStart() {
  return FSelectionEnd != NullDate && FAnchorDate >= FSelectionEnd ? FSelectionEnd : FAnchorDate;
}

TDateTime TCustomdxCalendar::GetSelFinish() { return FAnchorDate < FSelectionEnd ? FSelectionEnd : FAnchorDate; }

void TCustomdxCalendar::SetFirstDate(TDateTime Value) {
  if (FFirstDate != Value) FFirstDate = Value;
}

void TCustomdxCalendar::SetSelStart(TDateTime Value) {
  FAnchorDate = Value;
  FSelectionEnd = NullDate;
  SetSelFinish(Value);
}

void TCustomdxCalendar::SetSelFinish(TDateTime Value) {
  if (FSelectionEnd == Value) return;
  MakeSelectionVisible();
  const TDateTime Old = FSelectionEnd;
  FSelectionEnd = Value;
  if (FSelectionEnd != Old) {
    MakeSelectionVisible();
    Invalidate();
  }
}

void TCustomdxCalendar::DateClick() {
  if (OnDateClick.Assigned()) OnDateClick(this);
}

void TCustomdxCalendar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TCustomdxCalendar::CreateWnd() {
  inherited::CreateWnd();
  Perform(CM_FONTCHANGED, 0, 0);
}

void TCustomdxCalendar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

bool TCustomdxCalendar::InClient(int X, int Y) { return PointIn(GetClientRect(), X, Y); }

void TCustomdxCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssDouble)) return;
  inherited::MouseDown(Button, Shift, X, Y);
  const TDateTime D = GetDateAtPos(TPoint{X, Y});
  if (Button != mbLeft) return;
  FMouseDownDate = GetSelStart();
  if (D != NullDate) SetSelStart(D);
}

void TCustomdxCalendar::MouseMove(TShiftState Shift, int X, int Y) {
  const bool Left = Shift.Contains(ssLeft);
  const TDateTime D = Left ? GetDateAtPos(TPoint{X, Y}) : NullDate;
  inherited::MouseMove(Shift, X, Y);
  if (Left) {
    if (D != NullDate) {
      SetSelFinish(D);
    } else if (!InClient(X, Y) && FMouseDownDate != GetSelFinish() && FMouseDownDate != NullDate) {
      // Dragged out of the calendar: back to the date selected at the press.
      const TDateTime Old = FSelectionEnd;
      SetSelFinish(FMouseDownDate);
      if (FSelectionEnd == Old) Invalidate();
    }
  }
  if (HandleAllocated()) UpdateWindow(FHandle);
}

void TCustomdxCalendar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!Shift.Contains(ssDouble) && InClient(X, Y)) DateClick();
}

// ---------------------------------------------------------------------------------
// Date popup: metrics, rectangles and the visible range

TdxGridDatePopup::TdxGridDatePopup(TComponent* AOwner) : TCustomdxCalendar(AOwner) {
  SetIsPopup(true);
  FFirstDate = FirstOfMonth(Date());
  SetBounds(Left(), Top(), 20, 20);
}

void TdxGridDatePopup::BeforeDestruction() {
  StopArrowTimer();
  FreeMonthList();
  inherited::BeforeDestruction();
}

void TdxGridDatePopup::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxGridDatePopup::SetShowToday(bool Value) {
  if (FShowToday == Value) return;
  FShowToday = Value;
  UpdateSize();
  Invalidate();
}

void TdxGridDatePopup::SetShowClear(bool Value) {
  if (FShowClear == Value) return;
  FShowClear = Value;
  UpdateSize();
  Invalidate();
}

void TdxGridDatePopup::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  // Measured on the window's own DC: the window's creation sends this again.
  if (!HandleAllocated()) return;
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  const int Zero = C->TextWidth("0");
  FColWidth = 3 * Zero;
  FSideWidth = 2 * Zero;
  FRowHeight = C->TextHeight("0") + 2;
  FHeaderHeight = FRowHeight + 2 + (Flat() ? 1 : 0);
  FDaysOfWeekHeight = FRowHeight + 1;
  FTodayButtonWidth = C->TextWidth(dxTodayCaption()) + FColWidth;
  FClearButtonWidth = C->TextWidth(dxClearCaption()) + FColWidth;
  FButtonsOffset = Font()->Size() / 2;
  FButtonHeight = MulDiv(C->TextHeight("Wg"), 20, 13);
  FButtonsRegionHeight = Font()->Size() * 3 / 4 + FButtonsOffset + FButtonHeight;
  SendMessageA(FHandle, WM_SIZE, 0, 0);
}

void TdxGridDatePopup::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  UpdateSize();
}

void TdxGridDatePopup::UpdateSize() {
  if (!HandleAllocated() || FColWidth == 0) return;
  RECT W, C;
  GetWindowRect(FHandle, &W);
  ::GetClientRect(FHandle, &C);
  const int NonClientWidth = (W.right - W.left) - C.right;
  const int NonClientHeight = (W.bottom - W.top) - C.bottom;
  const int Width = NonClientWidth + 2 * FSideWidth + 7 * FColWidth;
  int Height = NonClientHeight + ExtraPixel() + FHeaderHeight + FDaysOfWeekHeight + 6 * FRowHeight + 1;
  if (HasButtons()) Height += FButtonsRegionHeight;
  if (Width != this->Width() || Height != this->Height()) SetBounds(Left(), Top(), Width, Height);
}

TRect TdxGridDatePopup::HeaderRect() { return TRect{0, 0, ClientWidth(), FHeaderHeight}; }

TRect TdxGridDatePopup::DaysRect() {
  const int Top = ExtraPixel() + FHeaderHeight;
  return TRect{0, Top, ClientWidth(), Top + FDaysOfWeekHeight + 6 * FRowHeight + 1};
}

TRect TdxGridDatePopup::CaptionRect() {
  TRect R = DaysRect();
  R.left += FColWidth;
  R.right -= ExtraPixel() + FColWidth;
  R.bottom = R.top - ExtraPixel() - 1;
  R.top = R.bottom - (FHeaderHeight - 2);
  return R;
}

TRect TdxGridDatePopup::LeftArrowRect() { return TRect{1, 1, FColWidth - 1, FHeaderHeight - 1}; }

TRect TdxGridDatePopup::RightArrowRect() {
  const int W = ClientWidth();
  return TRect{W - FColWidth, 1, W - 1 - ExtraPixel(), FHeaderHeight - 1};
}

TRect TdxGridDatePopup::TodayButtonRect() {
  const int W = ClientWidth();
  const int Top = ClientHeight() - FButtonsRegionHeight + FButtonsOffset;
  const int Left = (W - FTodayButtonWidth - (FShowClear ? FClearButtonWidth : 0)) / (FShowClear ? 3 : 2);
  return TRect{Left, Top, Left + FTodayButtonWidth, Top + FButtonHeight};
}

TRect TdxGridDatePopup::ClearButtonRect() {
  const int W = ClientWidth();
  const int Top = ClientHeight() - FButtonsRegionHeight + FButtonsOffset;
  const int Gap = (W - (FShowToday ? FTodayButtonWidth : 0) - FClearButtonWidth) / (FShowToday ? 3 : 2);
  const int Left = W - FClearButtonWidth - Gap;
  return TRect{Left, Top, Left + FClearButtonWidth, Top + FButtonHeight};
}

// The grid always starts with at least one day of the month before.
TDateTime TdxGridDatePopup::GetFirstDate() {
  const int Index = DayOfWeekIndex(FFirstDate);
  return FFirstDate - (Index == 0 ? 7 : Index);
}

TDateTime TdxGridDatePopup::GetLastVisibleDate() { return GetFirstDate() + 41; }

TDateTime TdxGridDatePopup::GetLastDate() {
  return FFirstDate + DaysPerMonth(GetDateElement(FFirstDate, 1), GetDateElement(FFirstDate, 2)) - 1;
}

void TdxGridDatePopup::SetFirstDate(TDateTime Value) {
  inherited::SetFirstDate(Value == NullDate ? Value : FirstOfMonth(Value));
}

// The popup's selection is always one day.
void TdxGridDatePopup::SetSelFinish(TDateTime Value) {
  if (SelectionEnd() != Value) SetAnchorDateField(Value);
  inherited::SetSelFinish(Value);
}

void TdxGridDatePopup::MakeSelectionVisible() {
  const TDateTime Anchor = AnchorDate();
  if (Anchor == NullDate) return;
  if (Anchor < GetFirstDate()) {
    int Year = 0, Month = 0, Day = 0;
    DecodeDate(Anchor, Year, Month, Day);
    ChangeMonth(Year, Month, -1);
    TDateTime Value = 0;
    if (TryEncodeDate(Year, Month, CheckDay(Year, Month, Day), Value)) SetFirstDate(Value);
  }
  if (GetLastVisibleDate() < Anchor) SetFirstDate(DateOfValue(Anchor));
}

TDateTime TdxGridDatePopup::GetDateAtPos(const TPoint& P) {
  if (!InClient(P.x, P.y) || FColWidth == 0) return NullDate;
  TRect Area = DaysRect();
  Area.top += FDaysOfWeekHeight;
  Area.left += FSideWidth;
  Area.right -= FSideWidth;
  Area.bottom = Area.top + 6 * FRowHeight;
  if (!PointIn(Area, P.x, P.y)) return NullDate;
  return DateAtCell((P.y - Area.top) / FRowHeight, (P.x - Area.left) / FColWidth);
}

void TdxGridDatePopup::PrevMonth() {
  int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  DecMonth(Year, Month);
  SetFirstDate(EncodeDate(Year, Month, 1));
  Invalidate();
}

void TdxGridDatePopup::NextMonth() {
  int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  IncMonth(Year, Month);
  SetFirstDate(EncodeDate(Year, Month, 1));
  Invalidate();
}

// ---------------------------------------------------------------------------------
// Date popup: timers, mouse, keys and closing

void TdxGridDatePopup::StartArrowTimer(UINT_PTR Id) {
  if (FArrowTimer || !HandleAllocated()) return;
  if (SetTimer(FHandle, Id, ArrowInterval, ArrowTimerProc)) FArrowTimer = Id;
}

void TdxGridDatePopup::StopArrowTimer() {
  if (!FArrowTimer) return;
  if (HandleAllocated()) KillTimer(FHandle, FArrowTimer);
  FArrowTimer = 0;
}

void TdxGridDatePopup::ArrowTimerTick() {
  if (!FArrowTimer || !HandleAllocated()) return;
  POINT P;
  GetCursorPos(&P);
  ::ScreenToClient(FHandle, &P);
  if (FArrowTimer == LeftArrowTimer && PointIn(LeftArrowRect(), P.x, P.y))
    PrevMonth();
  else if (FArrowTimer == RightArrowTimer && PointIn(RightArrowRect(), P.x, P.y))
    NextMonth();
}

// The shown month is the fourth of the list's seven.
void TdxGridDatePopup::OpenMonthList() {
  FreeMonthList();
  int Year = GetDateElement(FFirstDate, 1), Month = GetDateElement(FFirstDate, 2);
  ChangeMonth(Year, Month, -3);
  const TRect Caption = CaptionRect();
  POINT Corners[2] = {{Caption.left, Caption.top}, {Caption.right, Caption.bottom}};
  MapWindowPoints(FHandle, nullptr, Corners, 2);
  FMonthList = NewObject<TAMonthListBox>(this);
  FMonthList->Font()->Assign(Font());
  FMonthList->Perform(CM_FONTCHANGED, 0, 0);
  FMonthList->SetTopDate(EncodeDate(Year, Month, 1));
  // Centred on the caption, inside the work area of the caption's monitor.
  RECT Screen{Corners[0].x, Corners[0].y, Corners[1].x, Corners[1].y};
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  GetMonitorInfoA(MonitorFromRect(&Screen, MONITOR_DEFAULTTONEAREST), &Info);
  const int W = FMonthList->Width(), H = FMonthList->Height();
  int X = (Corners[0].x + Corners[1].x - W) / 2;
  int Y = (Corners[0].y + Corners[1].y) / 2 - H / 2;
  X = std::max<int>(Info.rcWork.left, std::min<int>(X, Info.rcWork.right - W));
  Y = std::max<int>(Info.rcWork.top, std::min<int>(Y, Info.rcWork.bottom - H));
  FMonthList->SetBounds(X, Y, W, H);
  ShowWindow(FMonthList->Handle(), SW_SHOWNOACTIVATE);
}

void TdxGridDatePopup::FreeMonthList() {
  TAMonthListBox* List = FMonthList;
  FMonthList = nullptr;
  if (List) List->Free();
}

void TdxGridDatePopup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (HasButtons() && Y >= ClientHeight() - FButtonsRegionHeight) {
    // The button row: only a press on a button counts.
    if (Button != mbLeft) return;
    const TRect Today = TodayButtonRect(), Clear = ClearButtonRect();
    if (FShowToday && PointIn(Today, X, Y)) {
      FTodayPressed = FTodayDown = true;
      InvalidateRect(FHandle, &Today, FALSE);
    } else if (FShowClear && PointIn(Clear, X, Y)) {
      FClearPressed = FClearDown = true;
      InvalidateRect(FHandle, &Clear, FALSE);
    }
    return;
  }
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (PointIn(LeftArrowRect(), X, Y)) {
    PrevMonth();
    StartArrowTimer(LeftArrowTimer);
  } else if (PointIn(RightArrowRect(), X, Y)) {
    NextMonth();
    StartArrowTimer(RightArrowTimer);
  } else if (!Shift.Contains(ssDouble) && PointIn(CaptionRect(), X, Y)) {
    OpenMonthList();
  }
}

void TdxGridDatePopup::MouseMove(TShiftState Shift, int X, int Y) {
  if (FMonthList) {
    if (!FArrowTimer) {
      POINT P{X, Y};
      MapWindowPoints(FHandle, FMonthList->Handle(), &P, 1);
      FMonthList->MouseMove(Shift, P.x, P.y);
    }
    return;
  }
  if (FTodayPressed || FClearPressed) {
    bool& Down = FTodayPressed ? FTodayDown : FClearDown;
    const TRect R = FTodayPressed ? TodayButtonRect() : ClearButtonRect();
    if (PointIn(R, X, Y) != Down) {
      Down = !Down;
      InvalidateRect(FHandle, &R, FALSE);
    }
    return;
  }
  if (FArrowTimer) return;
  inherited::MouseMove(Shift, X, Y);
}

void TdxGridDatePopup::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FArrowTimer) {
    StopArrowTimer();
    return;
  }
  if (FMonthList) {
    // The month list ends with the release; the popup stays open on its month.
    const TDateTime D = FMonthList->GetDate();
    FreeMonthList();
    if (D != NullDate) {
      SetFirstDate(D);
      Invalidate();
    }
    return;
  }
  if (FTodayPressed) {
    FTodayPressed = false;
    if (!FTodayDown) return;
    SetSelStart(Date());
  }
  if (FClearPressed) {
    FClearPressed = false;
    if (!FClearDown) return;
    SetSelStart(NullDate);
  }
  if (HandleAllocated() && InClient(X, Y)) ClosePopup();
  inherited::MouseUp(Button, Shift, X, Y);
}

void TdxGridDatePopup::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const TShiftState Modifiers = Shift * TShiftState{ssShift, ssAlt, ssCtrl};
  const bool AltOnly = Modifiers == TShiftState{ssAlt};
  const bool CtrlOnly = Modifiers == TShiftState{ssCtrl};
  TDateTime Start = GetSelStart();
  if (Start == NullDate) Start = Date();
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(Start, Year, Month, Day);
  switch (Key) {
    case VK_LEFT: SetSelStart(Start - 1); break;
    case VK_RIGHT: SetSelStart(Start + 1); break;
    case VK_UP:
    case VK_DOWN:
      if (AltOnly)
        ClosePopup();
      else
        SetSelStart(Start + (Key == VK_UP ? -7 : 7));
      break;
    case VK_HOME:
      SetSelStart(CtrlOnly ? Start - (Day - 1) : Start - DayOfWeekIndex(Start));
      break;
    case VK_END:
      SetSelStart(CtrlOnly ? Start + (DaysPerMonth(Year, Month) - Day) : Start + (6 - DayOfWeekIndex(Start)));
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (Key == VK_PRIOR)
        DecMonth(Year, Month);
      else
        IncMonth(Year, Month);
      SetSelStart(EncodeDate(Year, Month, CheckDay(Year, Month, Day)));
      break;
    case VK_RETURN:
      if (FMonthList) break;
      ClosePopup();
      if (Key != 0) DateClick();
      break;
    case VK_ESCAPE:
    case VK_F4: ClosePopup(); break;
    default: break;
  }
}

void TdxGridDatePopup::ClosePopup() {
  if (HandleAllocated() && IsWindowVisible(FHandle)) {
    if (MouseCapture())
      SetMouseCapture(false);
    else if (GetCapture() == FHandle)
      ReleaseCapture();
    StopArrowTimer();
    FreeMonthList();
    FTodayPressed = false;
    FClearPressed = false;
  }
  inherited::ClosePopup();
}

void TdxGridDatePopup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_LBUTTONUP: {
      // The release lets the capture go before the release's own handling runs.
      FReleasing = true;
      auto Done = ScopeExit([&] { FReleasing = false; });
      inherited::Dispatch(Message);
      break;
    }
    case WM_CAPTURECHANGED:
      // The mouse was taken away: nothing held stays behind.
      inherited::Dispatch(Message);
      if (!FReleasing && reinterpret_cast<HWND>(Message.LParam) != FHandle) {
        StopArrowTimer();
        FreeMonthList();
        if (FTodayPressed || FClearPressed) Invalidate();
        FTodayPressed = FClearPressed = false;
      }
      break;
    case WM_DESTROY:
      StopArrowTimer();
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxGrDate() {
  TodayCaption = dxEditText(IDS_DXEDIT_TODAY);
  ClearCaption = dxEditText(IDS_DXEDIT_CLEAR);
  char Buffer[8];
  int First = 0;
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, Buffer, sizeof(Buffer)) > 1 && Buffer[0] >= '0' &&
      Buffer[0] <= '6')
    First = Buffer[0] - '0';
  // The locale counts from Monday (0); our weeks from Sunday.
  StartOfWeek = (First + 1) % 7;
}

void DonedxGrDate() {
  TodayCaption.clear();
  ClearCaption.clear();
}

const AnsiString& dxTodayCaption() { return TodayCaption; }
const AnsiString& dxClearCaption() { return ClearCaption; }
