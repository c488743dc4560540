// Standard controls over the system's own control classes, so that keyboard, focus
// and accessibility behave as users expect: the push button, check box and radio
// button over "BUTTON", the edit over "EDIT", the combo box over "COMBOBOX", the list
// box over "LISTBOX"; and the label, a graphic control whose mnemonic focuses another
// control.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StringLists.h"

// The base of the controls over "BUTTON".
class TButtonControl : public TWinControl {
  TCLASS_DECL(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  // While set, changes made by code do not fire Click.
  bool ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

 private:
  bool FClicksDisabled = false;
};

// A push button. Click gives the parent form ModalResult (when not mrNone) before
// OnClick. Enter clicks the default button unless another button has the focus (the
// focused button then); Escape clicks the cancel button; Alt and the caption's
// mnemonic (or the letter alone, without a control that wants characters) click it.
class TButton : public TButtonControl {
  TCLASS_DECL(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Draws the default-button frame or not.
  void SetButtonStyle(bool ADefault);

 private:
  void CMDialogKey(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  bool FDefault = false;
  bool FCancel = false;
  // The button takes Enter now: it has the focus, or it is the default button and no
  // other button has the focus.
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };
TENUM_INFO(TTextLayout, "tlTop", "tlCenter", "tlBottom")

// A label: text drawn by its parent, sized to the text while AutoSize is on. With
// FocusControl, its mnemonic (Alt and the letter after "&") focuses that control.
class TCustomLabel : public TGraphicControl {
  TCLASS_DECL(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // Transparent labels let the parent show through (not opaque).
  bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  void SetAutoSize(bool Value) override;

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void AdjustSize() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Draws (or with DT_CALCRECT measures) the caption in Rect with the font.
  void DoDrawText(TRect& TextRect, UINT Flags);

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  TCLASS_DECL(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------
// Check boxes and radio buttons

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
TENUM_INFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

// A check box. Setting State (or Checked) to another value runs Click (OnClick); a
// click of the user toggles it: unchecked, checked, then grayed when AllowGrayed.
// Alt and the caption's mnemonic focus and toggle it.
class TCustomCheckBox : public TButtonControl {
  TCLASS_DECL(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);

  // taRightJustify (the default) puts the text right of the box.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  virtual void Toggle();

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TAlignment FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  TCLASS_DECL(TCheckBox, TCustomCheckBox)
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// A radio button. Checking it unchecks the other radio buttons of its parent and runs
// Click (OnClick), only when it was not checked already; unchecking runs nothing. A
// checked radio button is the tab stop of its group. A click of the user, or Alt and
// the mnemonic, checks it.
class TRadioButton : public TButtonControl {
  TCLASS_DECL(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TAlignment FAlignment = taRightJustify;
  bool FChecked = false;
};

// ---------------------------------------------------------------------------------
// Edits

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
TENUM_INFO(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

// A single-line edit. OnChange runs for every change of the text, by the user or by
// code. BorderStyle bsSingle (sunken border) or bsNone. With AutoSize the height
// follows the font.
class TCustomEdit : public TWinControl {
  TCLASS_DECL(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);

  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // The user changed the text since Modified was last cleared.
  bool Modified();
  void SetModified(bool Value);

  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  AnsiString SelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  void Clear() { SetText(AnsiString()); }

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void AdjustSize() override;
  virtual void Change();

 private:
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  int FMaxLength = 0;
  char FPasswordChar = '\0';
  bool FReadOnly = false;
  bool FModified = false;
};

class TEdit : public TCustomEdit {
  TCLASS_DECL(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------------
// Lists: the combo box and the list box

namespace classlib_detail {
// The messages through which a list control's items reach its window.
struct TListMessages {
  UINT AddString, InsertString, DeleteString, ResetContent, GetCurSel, SetCurSel;
};
}  // namespace classlib_detail

// The items of a combo box or a list box. They are kept here and copied into the
// control's window while it has one, so they survive the window's recreation; a
// sorted control inserts each string in its order (AnsiCompareText).
class TListControlItems : public TStrings {
  TCLASS_DECL(TListControlItems, TStrings)
 public:
  TListControlItems(TWinControl* AControl, const classlib_detail::TListMessages& AMessages);

  AnsiString Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  int Add(const AnsiString& S) override;
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  // Copies the items into the control's new window.
  void FillWindow(HWND Window) const;

 private:
  struct TItem {
    AnsiString Text;
    TObject* Object;
  };
  HWND Window() const;
  std::vector<TItem> FItems;
  TWinControl* FControl;
  classlib_detail::TListMessages FMessages;
  bool FSorted = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
TENUM_INFO(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
           "csOwnerDrawVariable")

// A combo box. Style csDropDownList shows only the items; its Text is the selected
// item's. OnChange runs when the user selects an item or edits the text, not when
// code sets ItemIndex.
class TCustomComboBox : public TWinControl {
  TCLASS_DECL(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex();
  void SetItemIndex(int Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool DroppedDown();
  void SetDroppedDown(bool Value);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  AnsiString GetText() const override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  // The window's height with the list open.
  int DroppedHeight() const;

  TListControlItems* FItems;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
  TCLASS_DECL(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
TENUM_INFO(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable")

// The state of an owner-drawn item: the ODS_* bits in their order.
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent =
    TEvent<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

// A list box, owner-drawn (each item of ItemHeight, or of its own height with
// lbOwnerDrawVariable) or standard. OnClick runs when the user selects an item.
class TCustomListBox : public TWinControl {
  TCLASS_DECL(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex();
  void SetItemIndex(int Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int TopIndex();
  void SetTopIndex(int Value);
  // The item at a client position (-1 for none; with Existing false, the count for a
  // position below the last item).
  int ItemAtPos(const TPoint& Pos, bool Existing);
  TRect ItemRect(int Index);
  TCanvas* Canvas() const { return FCanvas; }

  void Dispatch(TMessage& Message) override;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Paints an owner-drawn item on Canvas: OnDrawItem, or the text on the selection
  // colours.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // The height of an item of lbOwnerDrawVariable: OnMeasureItem, or ItemHeight.
  virtual void MeasureItem(int Index, int& Height);

 private:
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

  TListControlItems* FItems;
  TControlCanvas* FCanvas;
  int FItemIndex = -1;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FIntegralHeight = false;
};

class TListBox : public TCustomListBox {
  TCLASS_DECL(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// The StdCtrls unit's start and end (in the module's unit table): registers the
// classes and their published properties.
void InitStdCtrls();
void DoneStdCtrls();
