// The drop-down editor: the mask editor with buttons in its own window frame and a
// popup it can drop below itself. The buttons are laid out and painted in the
// non-client area (WM_NCCALCSIZE, WM_NCPAINT) and hit-tested there (WM_NCHITTEST
// answers HTBORDER over a button), so the text area never sees their clicks. This
// class shows one arrow button and owns no popup: a descendant makes its popup, shows
// it in DropDown and takes the value back in CloseUp.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "editors/dxCntner_Popup.h"
#include "editors/dxExEdtr_Buttons.h"
#include "editors/dxMaskEdit.h"

class TCustomdxPopupListBox;

// Posted by the editor to itself to drop down (a closing popup posts WM_DXPOPUPCLOSED).
inline constexpr UINT WM_DXDROPDOWN = 0x8066;

class TdxDropDownEditViewData : public TdxTextEditViewData {
  TCLASS_DECL(TdxDropDownEditViewData, TdxTextEditViewData)
 public:
  TBitmap* ButtonGlyph = nullptr;
  // ebtHideInactive while the editor is neither hot nor focused: no buttons.
  bool ButtonsHidden = false;
  int HotButton = -1;
  int PressedButton = -1;
  int ButtonCount = 0;
  TdxEditButtonDrawData Buttons[dxMaxEditButtonCount];
};

using TdxCloseUpEvent = TEvent<void(TObject* Sender, Variant& Value, bool& Accept)>;

class TdxInplaceDropDownEdit : public TdxInplaceMaskEdit {
  TCLASS_DECL(TdxInplaceDropDownEdit, TdxInplaceMaskEdit)
 public:
  explicit TdxInplaceDropDownEdit(TComponent* AOwner);
  ~TdxInplaceDropDownEdit() override;

  // ----- Class operations.
  // The inherited layout, then each button's width off the content's left or right.
  static void CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                           TdxEditDrawInfo& DrawInfo);
  // The inherited border, then every button in its rectangle.
  static void DrawBorder(MetaType::TSelf Self, HDC DC, const TdxEditDrawInfo& DrawInfo,
                         TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  // The window rectangles of the view data's buttons, as DrawBorder cuts them.
  static void GetButtonRects(const TdxEditDrawInfo& DrawInfo, const TdxDropDownEditViewData* ViewData,
                             TRect* Rects);

  // ----- Values.
  TBitmap* ButtonGlyph();
  // None or an empty picture frees the glyph; otherwise the picture is copied.
  void SetButtonGlyph(TBitmap* Value);
  bool HasButtonGlyph() const { return FButtonGlyph && !FButtonGlyph->Empty(); }
  int DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value) { FDropDownRows = Value; }
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value) { FDropDownWidth = Value; }
  bool ImmediateDropDown() const { return FImmediateDropDown; }
  void SetImmediateDropDown(bool Value) { FImmediateDropDown = Value; }
  bool ImmediatePopup() const { return FImmediatePopup; }
  void SetImmediatePopup(bool Value) { FImmediatePopup = Value; }
  TAlignment PopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TAlignment Value) { FPopupAlignment = Value; }
  TdxPopupBorder PopupBorder() const { return FPopupBorder; }
  void SetPopupBorder(TdxPopupBorder Value) { FPopupBorder = Value; }
  // PopupBorder, or for pbDefault the host's answer, or one by the border style.
  TdxPopupBorder ResolvedPopupBorder();
  bool PopupKeepsEditorFocus() const { return FPopupKeepsEditorFocus; }
  void SetPopupKeepsEditorFocus(bool Value) { FPopupKeepsEditorFocus = Value; }
  bool ForwardNavigationKeysOnly() const { return FForwardNavigationKeysOnly; }
  void SetForwardNavigationKeysOnly(bool Value) { FForwardNavigationKeysOnly = Value; }

  int HotButton() const { return FHotButton; }
  int PressedButton() const { return FPressedButton; }
  TWinControl* Popup() const { return FPopup; }
  bool DroppedDown() const { return FDroppedDown; }
  // The popup has a visible window and holds the focus, or never needs it.
  bool IsPopupVisible();
  // True posts the drop-down message; false closes without accepting.
  void SetDroppedDown(bool Value);
  void ReleasePressedButton();
  // For a popup's OnMouseUp: a left release inside it accepts, outside cancels.
  void PopupMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Show() override;
  void Hide() override;
  void HostMouseMove(int X, int Y) override;
  void HostMouseUp() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TdxCloseUpEvent OnCloseUpHook;
  TNotifyEvent OnEditButtonClick;
  TNotifyEvent OnEditButtonClickHook;

  // ----- The drop-down operations, in slot order.
  // Sizes (AdjustWidth: at least the editor's width) and places the popup under the
  // editor, inside the work area.
  virtual void PositionPopup(TWinControl* APopup, bool AdjustWidth);
  virtual void CloseUp(bool /*Accept*/) {}
  virtual void ButtonDown(bool IsClientClick, int Index);
  virtual void ButtonClick(int /*Index*/) {}
  virtual void DoCloseUp(Variant& Value, bool& Accept);
  virtual void DropDownKeyDown(Word& Key, TShiftState Shift);
  virtual void ScrollValue(int /*Delta*/, bool /*Wrap*/) {}
  virtual void DropDown() {}
  virtual void DoEditButtonClick();
  virtual void DropDownTextChanged(const AnsiString& /*Text*/) {}
  virtual void FillButtons(TdxDropDownEditViewData* ViewData);
  virtual int DefaultButtonWidth(TdxDropDownEditViewData* ViewData, const TdxEditButtonDrawData& Button);

 protected:
  void SetPopup(TWinControl* Value) { FPopup = Value; }
  void SetDroppedDownValue(bool Value) { FDroppedDown = Value; }
  void SetHotButton(int Index);
  // Removes the character a handled key left in the queue.
  void RemovePendingChar();
  // The steps every list drop-down shares. PrepareList gives the list the editor's
  // colour, font, border and shadow, and its window made under the editor; ShowList
  // places it under the editor, at least as wide, and shows it without activation;
  // HideList cancels a mouse capture, gives the focus back to the editor (while the
  // application is active) and hides the list.
  void PrepareList(TCustomdxPopupListBox* List);
  void ShowList(TCustomdxPopupListBox* List);
  void HideList(TCustomdxPopupListBox* List);

  void AfterShow() override;
  bool EditFocused() override;
  void SetMouseInside(bool Value) override;
  bool HandlesWheel() override { return true; }
  void KeyDown(Word& Key, TShiftState Shift) override;
  // A list that leaves the typing to the editor (ForwardNavigationKeysOnly) follows
  // every change of the text while it is open (DropDownTextChanged): a program's at once,
  // the user's once their step is done, and only when it left another text (a paste
  // refused and put back moves nothing in the list).
  void Change() override;
  void UserStepEnded(bool TextChanged) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  bool RouteKey(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  bool ForwardToPopup(int X, int Y);

  int FHotButton = -1;
  TBitmap* FButtonGlyph = nullptr;
  int FDropDownRows = 7;
  int FDropDownWidth = 0;
  bool FImmediateDropDown = true;
  bool FImmediatePopup = false;
  TAlignment FPopupAlignment = taLeftJustify;
  TdxPopupBorder FPopupBorder = pbDefault;
  int FPressedButton = -1;
  TWinControl* FPopup = nullptr;
  bool FDroppedDown = false;
  bool FPopupKeepsEditorFocus = true;
  // A key typed while the list is open is being handled: the list follows the text once
  // the key is done.
  bool FTypingInList = false;
  // The text changed during the user's step under way while the list was open.
  bool FListBehind = false;
  // The popup closes because the editor lost the focus, which stays where it went.
  bool FLosingFocus = false;
  bool FForwardNavigationKeysOnly = false;
};
