// The date editor's drop-down calendar.
//
// TCustomdxCalendar holds a selection as two dates (AnchorDate and SelectionEnd) and
// selects with the mouse; TdxGridDatePopup shows one month as a grid of 6 weeks under
// a header with the month's name and two arrows, with an optional row of Today and
// Clear buttons below. Holding the mouse on the month's name opens TAMonthListBox,
// seven months around it, which scrolls while the mouse is held beyond it; releasing
// over a row shows that month.
//
// Dates are day values (TDateTime); NullDate stands for no date. The week starts on
// StartOfWeek, read from the locale when the unit starts (tests may set it).
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/DateTime.h"
#include "editors/dxCntner_Popup.h"

// The date value that means no date.
inline constexpr TDateTime NullDate = -700000.0;

// The first day of the week: 0 Sunday .. 6 Saturday.
extern int StartOfWeek;

// The month before (after) Month, the year following.
void DecMonth(int& Year, int& Month);
void IncMonth(int& Year, int& Month);
// Moves by Delta months (either sign); returns the whole years in Delta.
int ChangeMonth(int& Year, int& Month, int Delta);
// Index 1 the year, 2 the month, 3 the day of Date; -1 for any other index.
int GetDateElement(TDateTime Date, int Index);
int DaysPerMonth(int Year, int Month);
// Day clamped into 1 .. DaysPerMonth.
int CheckDay(int Year, int Month, int Day);
// The whole day of Value, robust against values a hair below a whole day.
TDateTime DateOfValue(TDateTime Value);
// The time of day of Value, to the millisecond.
TDateTime TimeOfValue(TDateTime Value);
// The column of Date in a week that starts on StartOfWeek: 0..6.
int DayOfWeekIndex(TDateTime Date);
// The first of Date's month.
TDateTime FirstOfMonth(TDateTime Date);

// ---------------------------------------------------------------------------------

class TCustomdxCalendar : public TdxInplacePopupControl {
  TCLASS_DECL(TCustomdxCalendar, TdxInplacePopupControl)
 public:
  // The selection starts at today's date.
  explicit TCustomdxCalendar(TComponent* AOwner);

  // False draws the header with extra lines and grows some rectangles by a pixel.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TDateTime FirstDate() const { return FFirstDate; }
  TDateTime AnchorDate() const { return FAnchorDate; }
  TDateTime SelectionEnd() const { return FSelectionEnd; }
  TDateTime MouseDownDate() const { return FMouseDownDate; }

  virtual TDateTime GetFirstDate() { return FFirstDate; }
  virtual TDateTime GetLastVisibleDate() { return GetLastDate(); }
  virtual TDateTime GetLastDate() = 0;
  // The earlier and the later end of the selection.
  virtual TDateTime GetSelStart();
  virtual TDateTime GetSelFinish();
  // Stores a new first date; no repaint.
  virtual void SetFirstDate(TDateTime Value);
  // Selects Value alone.
  virtual void SetSelStart(TDateTime Value);
  // Moves the selection's end, keeping it in view, and repaints on a change.
  virtual void SetSelFinish(TDateTime Value);
  virtual void MakeSelectionVisible() = 0;
  // The date under a client point, or NullDate.
  virtual TDateTime GetDateAtPos(const TPoint& P) = 0;

  TNotifyEvent OnDateClick;

  void Dispatch(TMessage& Message) override;

 protected:
  // Fires OnDateClick.
  virtual void DateClick();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool InClient(int X, int Y);
  void SetAnchorDateField(TDateTime Value) { FAnchorDate = Value; }

  TDateTime FFirstDate;

 private:
  TDateTime FMouseDownDate = NullDate;
  bool FFlat = true;
  TDateTime FAnchorDate;
  TDateTime FSelectionEnd;
};

class TAMonthListBox;

// The month grid with its header, arrows, buttons and month list.
class TdxGridDatePopup : public TCustomdxCalendar {
  TCLASS_DECL(TdxGridDatePopup, TCustomdxCalendar)
 public:
  // Arrow timers: 1 left, 2 right.
  static constexpr UINT_PTR LeftArrowTimer = 1;
  static constexpr UINT_PTR RightArrowTimer = 2;
  static constexpr UINT ArrowInterval = 170;

  explicit TdxGridDatePopup(TComponent* AOwner);
  void BeforeDestruction() override;

  // Metrics from the font.
  int ColWidth() const { return FColWidth; }
  int SideWidth() const { return FSideWidth; }
  int RowHeight() const { return FRowHeight; }
  int HeaderHeight() const { return FHeaderHeight; }
  int DaysOfWeekHeight() const { return FDaysOfWeekHeight; }
  int TodayButtonWidth() const { return FTodayButtonWidth; }
  int ClearButtonWidth() const { return FClearButtonWidth; }
  int ButtonsOffset() const { return FButtonsOffset; }
  int ButtonHeight() const { return FButtonHeight; }
  int ButtonsRegionHeight() const { return FButtonsRegionHeight; }

  bool ShowToday() const { return FShowToday; }
  void SetShowToday(bool Value);
  bool ShowClear() const { return FShowClear; }
  void SetShowClear(bool Value);
  bool TodayPressed() const { return FTodayPressed; }
  bool TodayDown() const { return FTodayDown; }
  bool ClearPressed() const { return FClearPressed; }
  bool ClearDown() const { return FClearDown; }
  // The open month list, or nullptr.
  TAMonthListBox* MonthList() const { return FMonthList; }
  // The running arrow timer's id, 0 when none.
  UINT_PTR ArrowTimer() const { return FArrowTimer; }

  // Rectangles in client coordinates.
  TRect HeaderRect();
  TRect DaysRect();
  TRect CaptionRect();
  TRect LeftArrowRect();
  TRect RightArrowRect();
  TRect TodayButtonRect();
  TRect ClearButtonRect();
  bool HasButtons() const { return FShowToday || FShowClear; }

  TDateTime GetFirstDate() override;
  TDateTime GetLastVisibleDate() override;
  TDateTime GetLastDate() override;
  void SetFirstDate(TDateTime Value) override;
  void SetSelFinish(TDateTime Value) override;
  void MakeSelectionVisible() override;
  TDateTime GetDateAtPos(const TPoint& P) override;
  // The date in a cell of the grid (Row 0..5, Col 0..6): every cell shows one.
  TDateTime DateAtCell(int Row, int Col) { return GetFirstDate() + Row * 7 + Col; }

  // One month back or forward; the selection stays.
  void PrevMonth();
  void NextMonth();
  // One tick of the arrow timer: repeats the move while the cursor is over its arrow.
  void ArrowTimerTick();

  void ClosePopup() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Paint() override;

 private:
  void CMFontChanged(TMessage& Message);
  void WMSize(TMessage& Message);
  void UpdateSize();
  void StartArrowTimer(UINT_PTR Id);
  void StopArrowTimer();
  void OpenMonthList();
  void FreeMonthList();
  int ExtraPixel() const { return Flat() ? 0 : 1; }

  // Painting (dxGrDate_Paint.cpp).
  void PaintMonth(HDC DC, HRGN Region);
  void PaintArrow(HDC DC, HRGN Region, const TRect& Header, bool Left);
  void PaintDayNames(HDC DC, HRGN Region, const TRect& Days);
  void PaintDays(HDC DC, const TRect& Days);
  void PaintButton(HDC DC, HRGN Region, const TRect& R, const AnsiString& Caption, bool Pushed);
  void PaintButtons(HDC DC, HRGN Region);

  int FColWidth = 0;
  int FSideWidth = 0;
  int FRowHeight = 0;
  int FHeaderHeight = 0;
  int FDaysOfWeekHeight = 0;
  int FTodayButtonWidth = 0;
  int FClearButtonWidth = 0;
  int FButtonsOffset = 0;
  int FButtonHeight = 0;
  int FButtonsRegionHeight = 0;
  TAMonthListBox* FMonthList = nullptr;
  UINT_PTR FArrowTimer = 0;
  bool FTodayPressed = false;
  bool FTodayDown = false;
  bool FClearPressed = false;
  bool FClearDown = false;
  bool FShowToday = true;
  bool FShowClear = false;
  bool FReleasing = false;  // inside a left-button release
};

// Seven months from TopDate, one a row; the row under the mouse is selected.
class TAMonthListBox : public TCustomControl {
  TCLASS_DECL(TAMonthListBox, TCustomControl)
 public:
  explicit TAMonthListBox(TComponent* AOwner);
  ~TAMonthListBox() override;

  TDateTime TopDate() const { return FTopDate; }
  void SetTopDate(TDateTime Value);
  int ItemHeight() const { return FItemHeight; }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The running scroll timer's id: 1..4 back, 6..9 forward (faster further out); 0
  // when none.
  UINT_PTR ScrollTimerId() const { return FScrollTimer ? FScrollTimerId : 0; }
  // The first of the month in row ItemIndex, or NullDate.
  TDateTime GetDate();
  // One tick of the scroll timer: one month back or forward.
  void ScrollTimerTick();
  // The interval of a scroll timer id.
  static UINT ScrollInterval(UINT_PTR Id);

  void Dispatch(TMessage& Message) override;
  // The popup hands its mouse moves on while its button is held.
  void MouseMove(TShiftState Shift, int X, int Y) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void CMFontChanged(TMessage& Message);
  void StopTimer();
  TdxGridDatePopup* Popup();

  TDateTime FTopDate = NullDate;
  int FItemHeight = 0;
  int FItemIndex = 0;
  UINT_PTR FScrollTimer = 0;
  UINT_PTR FScrollTimerId = 0;
};

// Unit start: the button captions and the locale's first day of the week.
void InitdxGrDate();
void DonedxGrDate();
// The captions of the popup's buttons.
const AnsiString& dxTodayCaption();
const AnsiString& dxClearCaption();
