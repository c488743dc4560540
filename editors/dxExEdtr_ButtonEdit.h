// The button editor: the drop-down editor whose buttons come from a collection of up
// to eight edit buttons instead of the single arrow. A click on a button, or the click
// key on the default one, fires OnButtonClick with the button's collection index. The
// text part can be a normal editor (view style 0), keep no edit cursor (1), or give
// way to the buttons altogether (2).
#pragma once

#include <windows.h>

#include "classlib/Menus.h"
#include "editors/dxExEdtr_DropDown.h"

class TdxInplaceButtonEdit;

using TdxButtonEditViewStyle = Byte;
inline constexpr TdxButtonEditViewStyle bvsNormal = 0;
inline constexpr TdxButtonEditViewStyle bvsHideCursor = 1;
inline constexpr TdxButtonEditViewStyle bvsButtonsOnly = 2;

class TdxButtonEditViewData : public TdxDropDownEditViewData {
  TCLASS_DECL(TdxButtonEditViewData, TdxDropDownEditViewData)
 public:
  // View style 2 with at least one button: the buttons fill the editor.
  bool ButtonsOnly = false;
  TdxEditButtons* EditButtons = nullptr;
  bool HideEditCursor = false;
};

// The button editor's own collection: a change re-lays the editor out.
class TdxInplaceEditButtons : public TdxEditButtons {
  TCLASS_DECL(TdxInplaceEditButtons, TdxEditButtons)
 public:
  using TdxEditButtons::TdxEditButtons;

 protected:
  void Update(TCollectionItem* Item) override;
};

using TdxEditButtonClickEvent = TEvent<void(TObject* Sender, int AbsoluteIndex)>;

class TdxInplaceButtonEdit : public TdxInplaceDropDownEdit {
  TCLASS_DECL(TdxInplaceButtonEdit, TdxInplaceDropDownEdit)
 public:
  explicit TdxInplaceButtonEdit(TComponent* AOwner);
  ~TdxInplaceButtonEdit() override;

  // ----- Class operations.
  // With ButtonsOnly the last button takes what the others leave of the content, and
  // no text is shown.
  static void CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                           TdxEditDrawInfo& DrawInfo);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  // With HideEditCursor the text is painted here, also under a live editor window.
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);

  TdxEditButtons* Buttons() const { return FButtons; }
  void SetButtons(TdxEditButtons* Value) { FButtons->Assign(Value); }
  TShortCut ClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value) { FClickKey = Value; }
  // Set when a form file said the editor has buttons; without it the buttons the
  // constructor made are dropped at the end of loading.
  bool ExistButtons() const { return FExistButtons; }
  TdxButtonEditViewStyle ViewStyle() const { return FViewStyle; }
  // A new view style recreates the window.
  void SetViewStyle(TdxButtonEditViewStyle Value);

  // Clicks the first visible button that is the default.
  virtual void ClickDefaultButton();
  // Fires OnButtonClick for a visible position in range, then the edit-button click.
  void ButtonClick(int VisibleIndex) override;
  // The click key and the arrows have no drop-down meaning here.
  void DropDownKeyDown(Word& /*Key*/, TShiftState /*Shift*/) override {}
  void FillButtons(TdxDropDownEditViewData* ViewData) override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TdxEditButtonClickEvent OnButtonClick;

 protected:
  bool IsNativeEdit() override { return FViewStyle == bvsNormal; }
  bool CanRevertText() override { return true; }
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  void ReadExistButtons(TReader* Reader);
  void WriteExistButtons(TWriter* Writer);

  TdxEditButtons* FButtons = nullptr;
  TShortCut FClickKey = 0;
  bool FExistButtons = false;
  TdxButtonEditViewStyle FViewStyle = bvsNormal;
};

// The published parts of the edit buttons and the button editor.
void InitdxButtonEdit();
void DonedxButtonEdit();
