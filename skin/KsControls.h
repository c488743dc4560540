// The buffered bases of the kit's self-drawn controls. A control paints into its own
// off-screen TKsBitmap (PaintBuffer, the one operation descendants override) and
// copies the result to the screen in one transfer, which removes flicker.
//
// Transparent: the parent's background is painted into the buffer first. Blend: the
// control's painting is composed over that background at the opacity BlendValue.
// Buffers grow and shrink in steps of BufferGrain pixels, so that resizing does not
// make a new bitmap at every pixel.
//
// A buffer holds the whole control while it needs no more than KsWholeBufferPixels and
// the system gives it. A larger control has a buffer of the part of it that shows
// (ShownControlPart), no larger than the screen, placed at that part (the buffer's
// origin, which every drawing into it honours): it moves with the part as the control
// or its parents move or scroll, before every paint.
//
// A plain background-erase message does nothing (and counts as done); one whose lParam
// has KsEraseIntoDC set asks a windowed kit control to paint its buffer into the given
// DC, which is how a parent's background reaches transparent children (the kit sends
// KsParentBackgroundRequest, an MDI client the flag alone).
//
// The windowed base paints its non-windowed children into its buffer: kit graphic
// controls through their own buffers, other graphic controls (and windowed children
// with WS_EX_TRANSPARENT) with WM_PAINT on the buffer's DC.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "skin/KsBitmap.h"

// Sent to a kit control's owner window: non-zero while the owner composes its
// children's painting itself (the skinned form answers 1 while it blends).
inline constexpr UINT KM_ISFORMBLENDED = 0x637;

// WM_ERASEBKGND's lParam flag: paint into the DC in wParam.
inline constexpr LPARAM KsEraseIntoDC = 4;
// What the kit sends when it wants a parent's background under a control.
inline constexpr LPARAM KsParentBackgroundRequest = 12;

inline constexpr int KsDefaultBufferGrain = 30;

class TKsCustomScrollBar;
inline constexpr int KsDefaultBlendValue = 150;

// The buffer length for a control length: the next whole multiple of Grain above it
// (30 gives 60, 29 gives 30, 0 gives 30); the largest int when that lies beyond it.
int BufferGrainSize(int Length, int Grain);

// The size of the part of a control that a screen can show: each side no longer than
// the virtual screen's.
TPoint ShownBufferExtent(int ControlWidth, int ControlHeight);

// The most pixels a buffer of a whole control may have (32 MB); a control that needs
// more has a buffer of the part of it that shows.
inline constexpr long long KsWholeBufferPixels = 1LL << 23;

// The part of a control that shows, in its own coordinates: its rectangle cut by the
// client area of every parent up the chain and, once its windows exist, by the virtual
// screen; from that part's top-left, no larger than the virtual screen each way.
// Empty when nothing of it shows.
TRect ShownControlPart(TControl* Control);

// ---------------------------------------------------------------------------------

// What both buffered bases keep and do alike: the buffers, the copy of the font they
// paint with, the control's size as last seen, transparency and blending, and the
// repaint flag. Each base holds one and owns it.
class TKsBufferState {
 public:
  TKsBufferState();
  TKsBufferState(const TKsBufferState&) = delete;
  TKsBufferState& operator=(const TKsBufferState&) = delete;
  ~TKsBufferState();

  TKsBitmap* Buffer() const { return FBuffer; }
  TKsBitmap* BlendBuffer() const { return FBlendBuffer; }
  TFont* Font() const { return FFont; }
  int Grain() const { return FGrain; }

  // The setters answer whether the value changed (the control then invalidates).
  bool SetTransparent(bool Value);
  bool SetBlend(bool Value);
  bool SetBlendValue(int Value);

  // Sizes the buffers in grain steps for the whole control when that needs no more
  // than KsWholeBufferPixels and the system gives it; otherwise for the part a screen
  // can show (ShownBufferExtent), placed at the control's top-left until Place moves
  // it. True (and NeedsRepaint) when they changed. While designing they are always
  // sized anew. A size the system cannot give leaves the buffer empty.
  bool Resize(bool Design);
  // Whether the buffer holds only a part of the control.
  bool Partial() const { return FPartial; }
  // A partial buffer moved, when it does not hold all of Shown (in the control's
  // coordinates), so that it does: its origin at Shown's top-left, or less where the
  // control ends. True (and NeedsRepaint) when it moved.
  bool Place(const TRect& Shown);
  // A buffer to paint and a control of some size.
  bool CanPaint() const;
  // The part of the control that the buffer holds, in the control's coordinates.
  TRect PaintedRect() const;
  // Paints the buffer again: the control's font copied, then for a blended control
  // Background into the blend buffer, PaintBuffer and the composition at BlendValue;
  // otherwise (or when the blend buffer cannot be had) Background into the buffer
  // (transparent controls only, and only when WithBackground) and PaintBuffer.
  // NeedsRepaint is cleared.
  template <class TBackground, class TPaint>
  void Paint(TFont* ControlFont, bool WithBackground, TBackground Background, TPaint PaintBuffer);

  bool Transparent = false;
  bool Blend = false;
  int BlendValue = KsDefaultBlendValue;
  bool NeedsRepaint = false;
  bool MouseInControl = false;
  int ControlWidth = 0;
  int ControlHeight = 0;

 private:
  // The blend buffer takes the buffer's size and origin (Blend may have been turned on
  // since the last resize); false when it cannot have it.
  bool MatchBlendBuffer();
  // Before PaintBuffer, with the background in the blend buffer: the background made
  // opaque and, for a transparent control, laid into the buffer to paint over.
  void BeginBlend();
  // After PaintBuffer: the painting at BlendValue's opacity over the background.
  void EndBlend();

  TKsBitmap* FBuffer;
  TKsBitmap* FBlendBuffer;
  TFont* FFont;
  int FGrain = KsDefaultBufferGrain;
  bool FPartial = false;
};

template <class TBackground, class TPaint>
void TKsBufferState::Paint(TFont* ControlFont, bool WithBackground, TBackground Background,
                           TPaint PaintBuffer) {
  FFont->Assign(ControlFont);  // an unchanged font keeps its handle
  if (Blend && MatchBlendBuffer()) {
    Background(FBlendBuffer->DC());
    BeginBlend();
    PaintBuffer();
    EndBlend();
  } else {
    if (Transparent && WithBackground) Background(FBuffer->DC());
    PaintBuffer();
  }
  NeedsRepaint = false;
}

// ---------------------------------------------------------------------------------

class TKsCustomControl : public TWinControl {
  TCLASS_DECL(TKsCustomControl, TWinControl)
 public:
  // Opaque, button-face colour, 100 x 30.
  explicit TKsCustomControl(TComponent* AOwner);

  TKsBitmap* Buffer() const { return FBuffering.Buffer(); }
  TKsBitmap* BlendBuffer() const { return FBuffering.BlendBuffer(); }
  int BufferGrain() const { return FBuffering.Grain(); }
  // A copy of Font, taken at each repaint.
  TFont* BufferFont() const { return FBuffering.Font(); }
  // The size last given to SetBounds or seen in WM_WINDOWPOSCHANGING.
  int ControlWidth() const { return FBuffering.ControlWidth; }
  int ControlHeight() const { return FBuffering.ControlHeight; }

  bool HasFocus() const { return FHasFocus; }
  bool MouseInControl() const { return FBuffering.MouseInControl; }
  bool NeedsRepaint() const { return FBuffering.NeedsRepaint; }
  void SetNeedsRepaint(bool Value) { FBuffering.NeedsRepaint = Value; }

  bool Transparent() const { return FBuffering.Transparent; }
  void SetTransparent(bool Value);
  bool Blend() const { return FBuffering.Blend; }
  void SetBlend(bool Value);
  // Opacity 0..255 of the control's painting while blending.
  int BlendValue() const { return FBuffering.BlendValue; }
  void SetBlendValue(int Value);

  // Whether the owner window answers KM_ISFORMBLENDED with non-zero (false while
  // designing, without an owner, or with an owner that has no window).
  bool IsOwnerBlended();
  // Paints the buffer again when it needs it (or the owner blends).
  void UpdateBuffer();
  // Sizes the buffers for ControlWidth x ControlHeight in grain steps; a change
  // repaints.
  void ResizeBuffer();
  // A buffer that holds only part of the control moved to the part that shows; true
  // when it moved (it then needs repainting).
  bool PlaceBuffer();

  // The built-in scroll bars: 0 none, 1 horizontal, 2 vertical, 3 both; made with the
  // window (a change takes effect when the window is made again).
  Byte ScrollBars() const { return FScrollBars; }
  void SetScrollBars(Byte Value) { FScrollBars = Value; }
  TKsCustomScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
  TKsCustomScrollBar* VertScrollBar() const { return FVertScrollBar; }
  // While true the bars' steps are not passed on as WM_HSCROLL and WM_VSCROLL.
  bool ScrollUpdating() const { return FScrollUpdating; }
  void SetScrollUpdating(bool Value) { FScrollUpdating = Value; }

  void Invalidate() override;
  void Repaint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  // Without WS_HSCROLL and WS_VSCROLL: scrolling is drawn by the kit.
  void CreateParams(TCreateParams& Params) override;
  // Then the built-in scroll bars are made anew.
  void CreateWnd() override;
  // A built-in bar freed from outside is forgotten.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A new scroll bar owned by this control.
  virtual TKsCustomScrollBar* CreateScrollBar();
  // Draws the control into Buffer; the base fills it with Color unless Transparent.
  virtual void PaintBuffer();
  // The breadth of a built-in scroll bar.
  virtual int GetScrollBarSize();

  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void FocusGained();
  virtual void FocusLost();

  // The parent's background under the control, painted into DC (whose origin is the
  // control's client origin): the parent's erase request, then its graphic children.
  void PaintParentBackground(HDC DC);
  // The graphic children (and windowed ones with WS_EX_TRANSPARENT) into the buffer.
  void PaintChildrenToBuffer();

  bool FHasFocus = false;

 private:
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  // The bars along the bottom and right edges, leaving each other room.
  void LayoutScrollBars();
  void FreeScrollBars();
  // With both bars, the square between them in the control's colour.
  void PaintScrollCorner();
  // A bar's step as this control's WM_HSCROLL or WM_VSCROLL (wParam the code, lParam
  // the position); the bar then keeps the position it has.
  void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);

  TKsBufferState FBuffering;
  TKsCustomScrollBar* FHorzScrollBar = nullptr;
  TKsCustomScrollBar* FVertScrollBar = nullptr;
  Byte FScrollBars = 0;
  bool FScrollUpdating = false;
};

// ---------------------------------------------------------------------------------

class TKsGraphicControl : public TGraphicControl {
  TCLASS_DECL(TKsGraphicControl, TGraphicControl)
 public:
  // Opaque, button-face colour, 100 x 30.
  explicit TKsGraphicControl(TComponent* AOwner);

  TKsBitmap* Buffer() const { return FBuffering.Buffer(); }
  TKsBitmap* BlendBuffer() const { return FBuffering.BlendBuffer(); }
  int BufferGrain() const { return FBuffering.Grain(); }
  TFont* BufferFont() const { return FBuffering.Font(); }
  int ControlWidth() const { return FBuffering.ControlWidth; }
  int ControlHeight() const { return FBuffering.ControlHeight; }

  bool MouseInControl() const { return FBuffering.MouseInControl; }
  bool NeedsRepaint() const { return FBuffering.NeedsRepaint; }
  void SetNeedsRepaint(bool Value) { FBuffering.NeedsRepaint = Value; }
  // True while the windowed parent paints this control into its own buffer (the
  // parent has put its background into this buffer already).
  bool PaintingFromParent() const { return FPaintingFromParent; }
  void SetPaintingFromParent(bool Value) { FPaintingFromParent = Value; }

  bool Transparent() const { return FBuffering.Transparent; }
  void SetTransparent(bool Value);
  bool Blend() const { return FBuffering.Blend; }
  void SetBlend(bool Value);
  int BlendValue() const { return FBuffering.BlendValue; }
  void SetBlendValue(int Value);

  bool IsOwnerBlended();
  // Paints the buffer again when NeedsRepaint is set.
  void UpdateBuffer();
  void ResizeBuffer();
  bool PlaceBuffer();

  void Invalidate() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  // Repaints the buffer and copies it to the canvas.
  void Paint() override;
  virtual void PaintBuffer();

  virtual void MouseEnter();
  virtual void MouseLeave();

 private:
  TKsBufferState FBuffering;
  bool FPaintingFromParent = false;
};

// The unit's start and end: the published properties of both bases.
void InitKsControls();
void DoneKsControls();
