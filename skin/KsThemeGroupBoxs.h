// The themed group box and the themed radio group.
//
// TTeThemeGroupBox: while the engine's painter can draw, it fills the background with
// the painter's colour 11 and draws frame and caption through DrawGroupBox; otherwise
// it is the kit group box exactly.
//
// TTeThemeRadioGroup: one TTeThemeGroupButton per line of Items, laid out in Columns
// columns (items fill a column top to bottom, then the next) through one deferred
// window-position batch, and ItemIndex kept in step with the checked button. The
// buttons are made from Items and are never streamed. While the group reads its own
// stream state, item and index changes wait for the end of reading, which clamps
// ItemIndex to the items read.
#pragma once

#include <vector>

#include "classlib/StringLists.h"
#include "skin/KsGroupBoxs.h"
#include "skin/KsThemeCheckBoxs.h"
#include "skin/KsThemeEngineLink.h"

class TTeThemeGroupBox : public TKsCustomGroupBox {
  TCLASS_DECL(TTeThemeGroupBox, TKsCustomGroupBox)
 public:
  explicit TTeThemeGroupBox(TComponent* AOwner) : TKsCustomGroupBox(AOwner) {}

  TTeThemeEngine* ThemeEngine() const { return FLink.Engine(); }
  // Stores the engine (not owned, free-notified), runs EngineChanged, invalidates.
  void SetThemeEngine(TTeThemeEngine* Value);
  TTeThemeVersion Version() const { return TeThemeVersionText; }
  void SetVersion(const TTeThemeVersion& /*Value*/) {}
  bool IsThemed() const { return FLink.Themed(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintBuffer() override;
  // After a new engine is stored (the radio group passes it on to its buttons).
  virtual void EngineChanged() {}

 private:
  TTeThemeEngineLink FLink{this};
};

class TTeThemeRadioGroup;

// A radio group's item button: owned and parented by its group, listed in its button
// list, hidden until the group places it. Its clicks reach the group.
class TTeThemeGroupButton : public TTeThemeRadioButton {
  TCLASS_DECL(TTeThemeGroupButton, TTeThemeRadioButton)
 public:
  // AOwner must be a TTeThemeRadioGroup (any other owner gives a free button).
  explicit TTeThemeGroupButton(TComponent* AOwner);
  void BeforeDestruction() override;

  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  TTeThemeRadioGroup* FGroup = nullptr;
  bool FInClick = false;
};

class TTeThemeRadioGroup : public TTeThemeGroupBox {
  TCLASS_DECL(TTeThemeRadioGroup, TTeThemeGroupBox)
  friend class TTeThemeGroupButton;

 public:
  explicit TTeThemeRadioGroup(TComponent* AOwner);
  void BeforeDestruction() override;
  ~TTeThemeRadioGroup() override;

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // 1..16; a change re-arranges the buttons.
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  // -1 (none) .. item count - 1; a change checks that button, which raises OnClick.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // Whether the checked button is a tab stop.
  bool ItemTabStop() const { return FItemTabStop; }
  void SetItemTabStop(bool Value);

  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TTeThemeGroupButton* Buttons(int Index) const { return FButtons[static_cast<std::size_t>(Index)]; }

  // Whether the user may change the checked item (always here).
  virtual bool CanModify() { return true; }

  void Dispatch(TMessage& Message) override;
  // The controls put on the group that the root owns; never the buttons, which are
  // made from Items.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void EngineChanged() override { UpdateButtons(); }

  // Places the buttons in columns (not while reading, nor without buttons).
  void ArrangeButtons();
  // As many buttons as items, captions and engine from the group, the button at
  // ItemIndex checked, then arranged.
  void UpdateButtons();

 private:
  void ButtonClick(TObject* Sender);
  void ItemsChange(TObject* Sender);

  std::vector<TTeThemeGroupButton*> FButtons;
  TStringList* FItems;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FReading = false;
  bool FUpdating = false;
  bool FItemTabStop = true;
};

// The unit's start (classes and published properties) and end.
void InitKsThemeGroupBoxs();
void DoneKsThemeGroupBoxs();
