// The base of the editors' drop-down windows (calculator, calendar, blob popup, ...).
//
// As a popup (IsPopup, set by the drop-down descendants) it is a border-less pop-up
// window owned by its editor's form: it draws its own border and an optional drop
// shadow in the non-client area, the shadow band being part of the window's region so
// that clicks on it reach the popup. A click never activates it, and the editor's form
// keeps its active caption while the popup is open. ClosePopup hides it and posts
// WM_DXPOPUPCLOSED to the editor, also when it was hidden already.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"

class TdxInplaceEdit;

// Posted by a closing popup to its editor.
inline constexpr UINT WM_DXPOPUPCLOSED = 0x8065;

// The frame drawn in the popup's non-client area.
enum TdxPopupBorder : Byte { pbDefault, pbSingle, pbFrame3D, pbFlat };
TENUM_INFO(TdxPopupBorder, "pbDefault", "pbSingle", "pbFrame3D", "pbFlat")

class TdxInplacePopupControl : public TCustomControl {
  TCLASS_DECL(TdxInplacePopupControl, TCustomControl)
 public:
  explicit TdxInplacePopupControl(TComponent* AOwner);

  // A new border or shadow recreates the window.
  TdxPopupBorder PopupBorder() const { return FPopupBorder; }
  void SetPopupBorder(TdxPopupBorder Value);
  bool Shadow() const { return FShadow; }
  void SetShadow(bool Value);
  int ShadowSize() const { return FShadowSize; }
  bool IsPopup() const { return FIsPopup; }
  bool DrawFrame() const { return FDrawFrame; }
  void SetDrawFrame(bool Value) { FDrawFrame = Value; }
  TdxInplaceEdit* Editor() const { return FEditor; }
  void SetEditor(TdxInplaceEdit* Value) { FEditor = Value; }

  // The border's width on each side: pbSingle 1, pbFrame3D 4, pbFlat 2, pbDefault 0.
  static int BorderWidth(TdxPopupBorder Border);

  // Hides the popup (giving the focus back to the editor while the application is
  // active) and posts WM_DXPOPUPCLOSED to the editor.
  virtual void ClosePopup();
  // Shows the popup; the editor's form keeps its active caption.
  virtual void ShowPopup();

  // The user's input to the popup is a step of its editor's (TdxInplaceEdit::TUserStep):
  // a choice made in it is one change of the editor's.
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  // Drop-down descendants set it when they are made.
  void SetIsPopup(bool Value) { FIsPopup = Value; }
  void CreateParams(TCreateParams& Params) override;

 private:
  HWND EditorFormHandle();
  void WMActivate(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMSize(TMessage& Message);

  TdxPopupBorder FPopupBorder = pbDefault;
  bool FShadow = false;
  int FShadowSize = 2;
  bool FIsPopup = false;
  bool FDrawFrame = true;
  TdxInplaceEdit* FEditor = nullptr;
  bool FClosing = false;
};

// The frame every popup draws in its non-client area, shared by the popup control and
// the popup list boxes. The client rectangle within the window: less the border on
// each side and, with a shadow, ShadowSize on the right and bottom.
void ShrinkByPopupFrame(RECT& R, TdxPopupBorder Border, bool Shadow, int ShadowSize);
// The window's region: none without a shadow, else the window less the band joined
// with the same rectangle moved by it, so that clicks on the band reach the popup.
void SetPopupShadowRegion(HWND Wnd, bool Shadow, int ShadowSize);
// The border and the shadow band in the window's DC, and the corner box between two
// scroll bars in the button face.
void DrawPopupFrame(HWND Wnd, HDC DC, TdxPopupBorder Border, bool Shadow, int ShadowSize);
