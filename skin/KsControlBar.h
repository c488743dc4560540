// TKsCustomControlBar: a bar on which each child control sits in a band (a frame with
// a grabber at its left) and the bands lie in rows. The user drags a band by its
// grabber within the bar; bands in a row never overlap and are pushed, moved left,
// narrowed (never below their control's minimum width) or wrapped to a new row to stay
// inside the bar. With AutoDrag a band dragged out of the bar becomes an ordinary drag
// of its control, and a control dragged onto the bar (AutoDock) becomes its child and
// goes on being tracked. With AutoSize the bar's height follows its rows.
#pragma once

#include <vector>

#include "classlib/Graphics.h"
#include "skin/KsControls.h"

enum TBandPaintOption : Byte { bpoGrabber, bpoFrame };
using TBandPaintOptions = TSet<TBandPaintOption>;

using TBandDragEvent = TEvent<void(TObject* Sender, TControl* Control, bool& Drag)>;
using TBandInfoEvent =
    TEvent<void(TObject* Sender, TControl* Control, TRect& Insets, int& PreferredSize, int& RowCount)>;
using TBandMoveEvent = TEvent<void(TObject* Sender, TControl* Control, TRect& ARect)>;
using TBandPaintEvent =
    TEvent<void(TObject* Sender, TControl* Control, TCanvas* Canvas, TRect& ARect, TBandPaintOptions& Options)>;

// One band: its control, the space around the control (left is the grabber), and
// where the user put it (drag position and width) and where the layout put it.
struct TKsBand {
  TControl* Control = nullptr;
  TRect Insets{11, 2, 2, 2};
  bool Visible = true;
  bool Break = false;  // starts a row
  TPoint Pos{0, 0};
  int Width = 0;
  int Height = 0;
  int Lines = 1;
  bool OldBreak = false;
  TPoint DragPos{0, 0};
  int DragWidth = 0;
  // The width OnBandInfo asked for at the last layout: a band wrapped to a new row
  // takes it.
  int PreferredWidth = 0;
  // A band this one follows; nothing in the kit sets it, and it is cleared when that
  // band goes.
  TKsBand* Link = nullptr;

  TRect BoundsRect() const { return TRect{Pos.x, Pos.y, Pos.x + Width, Pos.y + Height}; }
};

class TKsCustomControlBar : public TKsCustomControl {
  TCLASS_DECL(TKsCustomControlBar, TKsCustomControl)
 public:
  // 100 x 50, AutoSize, AutoDrag, AutoDock, rows 26 high, a dock site.
  explicit TKsCustomControlBar(TComponent* AOwner);
  ~TKsCustomControlBar() override;

  bool AutoDrag() const { return FAutoDrag; }
  void SetAutoDrag(bool Value) { FAutoDrag = Value; }
  bool AutoDock() const { return FAutoDock; }
  void SetAutoDock(bool Value) { FAutoDock = Value; }
  int RowSize() const { return FRowSize; }
  void SetRowSize(int Value);
  bool RowSnap() const { return FRowSnap; }
  void SetRowSnap(bool Value);
  // While set the bar refuses docking.
  bool NoDock() const { return FNoDock; }
  void SetNoDock(bool Value) { FNoDock = Value; }
  // The control whose band the mouse moves, or nil.
  TControl* TrackControl() const { return FTrackControl; }

  int BandCount() const { return static_cast<int>(FBands.size()); }
  const TKsBand& Bands(int Index) const { return *FBands[static_cast<std::size_t>(Index)]; }
  // The band of a control, or nil.
  const TKsBand* BandOf(const TControl* Control) const;

  void Dispatch(TMessage& Message) override;

  TBandDragEvent OnBandDrag;
  TBandInfoEvent OnBandInfo;
  TBandMoveEvent OnBandMove;
  TBandPaintEvent OnBandPaint;
  TNotifyEvent OnPaint;

 protected:
  virtual void DoBandMove(TControl* Control, TRect& ARect);
  virtual void DoBandPaint(TControl* Control, TCanvas* Canvas, TRect& ARect, TBandPaintOptions& Options);
  // Starts dragging Control out of the bar unless OnBandDrag vetoes; true when it did.
  virtual bool DragControl(TControl* Control, int X, int Y, bool KeepCapture);
  virtual void DoBandInfo(TControl* Control, TRect& Insets, int& PreferredSize, int& RowCount);
  virtual void PaintControlFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect);
  virtual void PaintBackground();
  virtual int GetGrabberSize() { return 11; }
  // Each band's drag position and width := where its control is now.
  virtual void StickControls();

  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void PaintBuffer() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TKsBand* FindBand(const TControl* Control) const;
  TKsBand* BandAt(const TPoint& P) const;
  // New child controls get bands (in order of top, then left); removed ones lose theirs.
  void UpdateBands();
  void RemoveBand(TKsBand* Band);
  // A band goes into the row its top plus half a row lies in, in order of its left
  // edge; above the first row or below the last it starts a row of its own.
  void PlaceBand(TKsBand* Band);
  // The tracked band moves to the row its drag position now lies in.
  void PlaceTrackedBand();
  // The rows laid out from the bands' drag positions; true when a control moved.
  bool LayoutBands();
  // One row; returns its end (a band that had to wrap starts the next row).
  std::size_t LayoutRow(std::size_t First, std::size_t End, int Top, int ClientWidth);
  void ApplyBounds(bool& Moved);
  // A control dragged onto the bar: taken as a child and tracked on.
  bool Dock(TMessage& Message);

  bool FAligning = false;
  bool FAutoDrag = true;
  bool FAutoDock = true;
  TControl* FLastMoved = nullptr;
  TControl* FTrackControl = nullptr;
  TPoint FTrackOffset{0, 0};
  bool FNoDock = false;
  std::vector<TKsBand*> FBands;
  int FRowSize = 26;
  bool FRowSnap = false;
};

// The unit's start (class and published properties) and end.
void InitKsControlBar();
void DoneKsControlBar();
