// Extended controls: the timer, the panel (a windowed container with bevels and a
// caption), and the graphic controls that their parent paints: the bevel, the image
// and the splitter.
#pragma once

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"

inline constexpr const char* SNoTimers = "Not enough timers available";

// Runs OnTimer every Interval milliseconds while Enabled, from the message loop of the
// thread that made it. Its hidden window is made when the timer first runs.
class TTimer : public TComponent {
  TCLASS_DECL(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner) : TComponent(AOwner) {}
  // Starts the timer (Enabled with an Interval of 1000 by default).
  void AfterConstruction() override;
  // Stops the timer and releases its window.
  void BeforeDestruction() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);

  TNotifyEvent OnTimer;

 protected:
  // Runs OnTimer; an exception goes to Application->HandleException.
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  unsigned FInterval = 1000;
  HWND FWindowHandle = nullptr;
};

// ---------------------------------------------------------------------------------
// Panels

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
TENUM_INFO(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")

// Draws a 3D frame of Width lines inside Rect (top-left in TopColor, bottom-right in
// BottomColor) and shrinks Rect by it.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// A container with an outer bevel, a border, an inner bevel and a caption in the
// middle. Aligned children are laid out inside the bevels and the border.
class TCustomPanel : public TCustomControl {
  TCLASS_DECL(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;

 private:
  void Changed();

  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
  TCLASS_DECL(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---------------------------------------------------------------------------------
// Bevels

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
TENUM_INFO(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
           "bsRightLine", "bsSpacer")
enum TBevelStyle { bsLowered, bsRaised };
TENUM_INFO(TBevelStyle, "bsLowered", "bsRaised")

// A sunken or raised box, frame or line, drawn by the parent.
class TBevel : public TGraphicControl {
  TCLASS_DECL(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------------
// Images

// A picture drawn by the parent: at its size in the top-left corner, centred,
// stretched to the control, or (Proportional) scaled down to fit keeping its shape.
// Transparent draws a bitmap without its transparent colour. With AutoSize the
// control takes the picture's size. Canvas is the canvas of the picture's bitmap,
// made at the control's size when the picture is empty.
class TImage : public TGraphicControl {
  TCLASS_DECL(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // Raises EInvalidOperation "Can only modify an image if it contains a bitmap".
  TCanvas* Canvas();
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  void SetAutoSize(bool Value) override;
  // Where the picture is drawn, in client coordinates.
  TRect DestRect();

 protected:
  void Paint() override;
  void AdjustSize() override;
  void Loaded() override;

 private:
  void PictureChanged(TObject* Sender);

  TPicture* FPicture;
  bool FCenter = false;
  bool FStretch = false;
  bool FProportional = false;
  bool FTransparent = false;
  bool FDrawing = false;
};

inline constexpr const char* SImageCanvasNeedsBitmap = "Can only modify an image if it contains a bitmap";

// ---------------------------------------------------------------------------------
// Splitters

// A bar between an aligned control and the rest of its parent; dragging it resizes
// that control (the one aligned the same way just before it), never below MinSize.
// OnMoved runs after a drag that changed the size.
class TSplitter : public TGraphicControl {
  TCLASS_DECL(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* AOwner);

  int MinSize() const { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value < 1 ? 1 : Value; }
  bool Beveled() const { return FBeveled; }
  void SetBeveled(bool Value);
  // The control it resizes, or nullptr.
  TControl* ResizeControl();

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }

  int FMinSize = 30;
  bool FBeveled = false;
  TControl* FControl = nullptr;  // being resized
  TPoint FDownPos{0, 0};
  int FStartSize = 0;
};

// The ExtCtrls unit's start and end (in the module's unit table): registers the
// classes and their published properties.
void InitExtCtrls();
void DoneExtCtrls();
