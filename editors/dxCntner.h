// The grid container: the base of every control that hosts in-place editors. It
// answers the questions a hosted editor asks its host, each with a neutral default
// that a grid overrides, and gives grids the look of their scroll bars (LookAndFeel,
// through the system's flat-scroll-bar functions) and scrolling by the mouse wheel.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/TypInfo.h"

// The style of a container's scroll bars.
enum TdxLookAndFeel : Byte { lfStandard, lfFlat, lfUltraFlat };
TENUM_INFO(TdxLookAndFeel, "lfStandard", "lfFlat", "lfUltraFlat")

// The flat-scroll-bar mode that a look selects (FSB_REGULAR_MODE, FSB_ENCARTA_MODE,
// FSB_FLAT_MODE).
int FlatScrollBarMode(TdxLookAndFeel Value);

class TdxEditStyle;
class TdxInplaceEdit;

class TCustomdxContainer : public TCustomControl {
  TCLASS_DECL(TCustomdxContainer, TCustomControl)
  // A hosted editor hands keys it does not keep to the container's own key and
  // double-click steps.
  friend class TdxInplaceEdit;

 public:
  using TCustomControl::TCustomControl;

  // The questions of a hosted editor. The base answers so that nothing can be edited:
  // no modification, no typed character, no tabs, no immediate editor.
  virtual bool CanEditModify() { return false; }
  virtual bool CanEditAcceptKey(char /*Key*/) { return false; }
  virtual bool DefaultTrueQuery() { return true; }
  // The style a new hosted editor owns: a TdxEditStyle of that editor.
  virtual TdxEditStyle* CreateEditStyle(TdxInplaceEdit* Edit);
  // Scrolls by one wheel notch: Lines times WM_VSCROLL with SB_LINEUP (Up) or
  // SB_LINEDOWN to the container's own window; with the system's one-screen-per-notch
  // setting (WHEEL_PAGESCROLL, read as -1) one SB_PAGEUP or SB_PAGEDOWN; 0 scrolls
  // nothing.
  virtual void MouseWheelScroll(bool Up, int Lines);
  virtual TColor GetEditColor() { return Color(); }
  virtual TFont* GetEditFont() { return Font(); }
  virtual bool IsEditReadOnly() { return false; }
  virtual bool HideFocusRect() { return false; }
  // Where an editor reports its keys: the container's OnKeyDown, with the container
  // as Sender.
  virtual void DoEditKeyDown(Word& Key, TShiftState Shift);
  virtual bool SkipEditKeyMessage() { return false; }
  // Column is -1 when the editor asks for itself.
  virtual bool ImmediateEditor(int /*Column*/) { return false; }
  virtual bool ShowButtonAlways() { return false; }
  virtual bool WantTabs() { return false; }
  virtual void MoveEditColumn(bool /*Backward*/) {}
  virtual void EditorFocusChanged() {}
  // Set while the grid prepares its editor.
  virtual void SetContainerFlag() { FContainerFlag = true; }
  virtual void ClearContainerFlag() { FContainerFlag = false; }
  // The border style of a drop-down editor's popup.
  virtual Byte GetPopupBorderStyle(Byte /*EditBorderStyle*/) { return 2; }

  bool ContainerFlag() const { return FContainerFlag; }

  // The scroll information of the container's window, read and written through the
  // flat-scroll-bar functions only, so that flat bars stay in step.
  bool GetScrollInfo(int Bar, SCROLLINFO& Info);
  int SetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw);

  TdxLookAndFeel LookAndFeel() const { return FLookAndFeel; }
  // A new value recreates the window, so that the scroll bars take the new style.
  void SetLookAndFeel(TdxLookAndFeel Value);

  void Dispatch(TMessage& Message) override;

 protected:
  // After the window is made: the flat-scroll-bar support (unless the system locale
  // reads right to left) and the style of both scroll bars.
  void CreateWnd() override;
  // A grid never resizes itself to its contents.
  void AdjustSize() override {}

 private:
  void WMMouseWheel(TMessage& Message);

  bool FContainerFlag = false;
  TdxLookAndFeel FLookAndFeel = lfStandard;
};
