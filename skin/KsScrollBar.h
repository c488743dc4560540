// The kit's self-drawn scroll bar: arrows, track and thumb painted into the control's
// buffer, the mouse tracked by the bar itself (hot parts, pressed parts, the thumb
// dragged), arrow and page steps repeated with the keyboard's repeat timing, and every
// step reported through OnScroll (before it is applied) and OnChange (after).
//
// Geometry along the bar's axis: BorderWidth inset, two arrow buttons of the system's
// thumb size (or half the room when it is short), the track between them. The thumb
// is PageSize's share of the track (a fixed size when PageSize is 0); a track not
// longer than the thumb shows none, and clicks there only page.
//
// Losing the mouse capture ends a drag or a repeat as a release does.
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/ExtCtrls.h"
#include "skin/KsControls.h"

// A position coming from the user, before it is applied; the handler may change it.
using TKsScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TKsCustomScrollBar : public TKsGraphicControl {
  TCLASS_DECL(TKsCustomScrollBar, TKsGraphicControl)
 public:
  // Horizontal, 121 wide and the system's thumb size (plus the border) high, range
  // 0..100, steps of 1.
  explicit TKsCustomScrollBar(TComponent* AOwner);

  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // 0 gives a fixed-size thumb; otherwise the part of the range one page shows.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  TScrollBarInc LargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc Value) { FLargeChange = Value; }
  TScrollBarInc SmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc Value) { FSmallChange = Value; }

  // Line steps repeated while the owner holds a key: switching one on switches the
  // other off and starts the repeat (first step after the keyboard delay); switching
  // either off stops it.
  bool DecRepeat() const { return FDecRepeat; }
  void SetDecRepeat(bool Value);
  bool IncRepeat() const { return FIncRepeat; }
  void SetIncRepeat(bool Value);

  // One step as a key gives it: Page Up/Down, Left/Up, Right/Down, Home, End.
  void Step(Word Key);

  // Made on the first repeat; nil before.
  TTimer* RepeatTimer() const { return FRepeatTimer; }
  // The press point's distance from the thumb's leading edge while it is dragged;
  // -1 otherwise.
  int DragOffset() const { return FDragOffset; }
  bool Dragging() const { return FDragOffset >= 0; }

  virtual int GetButtonSize();
  // The thumb's length along the axis; 0 when the track has no room for it.
  virtual int GetThumbSize();
  virtual TRect GetDecButtonRect();
  virtual TRect GetIncButtonRect();
  virtual TRect GetThumbRect();
  virtual TRect GetTrackRect();
  virtual TRect GetPageDecRect();
  virtual TRect GetPageIncRect();
  virtual bool IsInDecButton(const TPoint& P);
  virtual bool IsInIncButton(const TPoint& P);
  virtual bool IsInThumb(const TPoint& P);
  virtual bool IsInPageDec(const TPoint& P);
  virtual bool IsInPageInc(const TPoint& P);

  void Dispatch(TMessage& Message) override;
  // The values read from a form file, brought into range together.
  void Loaded() override;

  TNotifyEvent OnChange;
  TKsScrollEvent OnScroll;

 protected:
  void PaintBuffer() override;
  virtual void DrawDecButton();
  virtual void DrawIncButton();
  virtual void DrawThumb();
  virtual void DrawTrack();
  virtual void DrawBorder();
  // Fires OnChange.
  virtual void Change();
  // Fires OnScroll.
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;

 private:
  bool Loading() const;
  bool Vertical() const { return FKind == sbVertical; }
  int AxisLength() const { return Vertical() ? Height() : Width(); }
  // The track along the axis: its start and length.
  int TrackStart();
  int TrackLength();
  // The thumb length before the room test.
  int ThumbLength();
  int ThumbStart();
  // Positions per pixel: the positions the thumb travels and the pixels it travels.
  // Ranges and positions are worked in 64 bits: Max - Min may pass 2^31.
  std::int64_t ThumbRange() const;
  // The position a thumb whose leading edge is at Coord shows, kept to the drag's
  // bounds.
  int PositionFromCoord(int Coord);
  void DrawArrow(const TRect& R, bool Decrement, bool Pressed);
  // Recomputes the hot flags at MousePos; true when any changed.
  bool UpdateHot();
  // The end of a press: a dragged thumb reports its position, the repeat stops, the
  // end of scrolling is reported.
  void EndTracking();
  void StartRepeat(bool First);
  void StopRepeat();
  void RepeatStep(TObject* Sender);

  TPoint FMousePos{-1, -1};
  TTimer* FRepeatTimer = nullptr;
  int FDragOffset = -1;
  bool FThumbHot = false;
  bool FDecButtonHot = false;
  bool FIncButtonHot = false;
  bool FPageDecHot = false;
  bool FPageIncHot = false;
  bool FDecButtonPressed = false;
  bool FIncButtonPressed = false;
  bool FPageDecPressed = false;
  bool FPageIncPressed = false;
  int FPosition = 0;
  int FMin = 0;
  int FBorderWidth = 1;
  int FMax = 100;
  int FPageSize = 0;
  TScrollBarKind FKind = sbHorizontal;
  bool FShowButtons = true;
  TScrollBarInc FLargeChange = 1;
  TScrollBarInc FSmallChange = 1;
  bool FDecRepeat = false;
  bool FIncRepeat = false;
};

// The unit's start and end: the bar's published properties.
void InitKsScrollBar();
void DoneKsScrollBar();
