// The in-place editor base: every editor kind derives from TdxInplaceEdit.
//
// Hosted, an editor is owned by a grid container (TCustomdxContainer); one live editor
// window is moved over the focused cell (ShowAt, Hide), and every question of policy
// goes to the host through the container's virtual questions. Painted, no window
// exists: the host fills a view-data record (TdxEditViewData) and calls the class
// operations of the editor's metaclass (CalcDrawInfo, Draw, DrawBorder, DrawContent,
// GetCursor, GetEditHeight, ...), so that a cell looks like the editor that will open
// over it. The class operations take no editor: EditClass->Draw(DC, R, ViewData, Rgn).
//
// No data link is made in this program (CreateDataLink answers none); the steps that
// would ask one take the answers for "no link".
#pragma once

#include <windows.h>

#include <algorithm>
#include <type_traits>

#include "classlib/Controls.h"
#include "classlib/Exceptions.h"
#include "classlib/Variants.h"
#include "editors/dxCntner_Style.h"
#include "editors/dxEditHistory.h"

class TCustomdxContainer;
class TdxInplaceEdit;
class TReader;
class TWriter;

TCLASS_EXCEPTION(EdxEditInvalidInput, Exception)

inline constexpr const char* SdxInvalidInput = "Invalid input value. Use escape key to abandon changes";

// The border colour of a hot single border (RGB 10, 36, 106).
inline constexpr TColor dxHotBorderColor = static_cast<TColor>(0x6A240A);

// The properties an editor keeps explicitly (bit 7 carries nothing); a clear bit
// takes the host's default.
enum TdxEditStoredValue : Byte {
  esvAlignment,
  esvMaxLength,
  esvEditMask,
  esvValueType,
  esvMaxValue,
  esvMinValue,
  esvReadOnly,
  esvUnused7,
  esvDisplayFormat
};
using TdxEditStoredValues = TSet<TdxEditStoredValue>;

// 0 top, 1 centre, 2 bottom (single line), 3 word-wrapped.
using TdxVerticalLayout = Byte;

// Everything a paint of one editor needs, with or without an editor window. Each
// editor family has its own descendant (GetViewDataClass).
class TdxEditViewData : public TObject {
  TCLASS_DECL(TdxEditViewData, TObject)
 public:
  bool Enabled = true;
  bool Focused = false;
  bool Hot = false;
  TColor BorderColor = dxDefaultBorderColor;
  TdxEditBorderStyle BorderStyle = dxDefaultBorderStyle;
  TdxEditButtonViewStyle ButtonStyle = dxDefaultButtonStyle;
  bool ButtonTransparent = false;
  // The text is placed 2 pixels inside the content and a focus rectangle drawn while
  // Focused (set by descendants).
  bool FocusRectMode = false;
  TdxEditEdges Edges = dxAllEdges;
  bool Shadow = false;
  bool KeepBackgroundMode = false;
  bool NoBackground = false;
  TRect Offsets{0, 0, 0, 0};
  TRect Bounds{0, 0, 0, 0};
  TAlignment Alignment = taLeftJustify;
  TdxVerticalLayout VerticalLayout = 0;
  HBRUSH Brush = nullptr;
  COLORREF BackgroundColor = 0;
  HFONT Font = nullptr;
  COLORREF TextColor = 0;
  bool NativeEdit = false;
  // A host sets it to have DrawContent measure instead of paint.
  bool MeasureOnly = false;
  int LineCount = 0;
  int NeededHeight = 0;
  int TextHeight = 0;
  TCursor Cursor = crDefault;
};
using TdxEditViewDataClass = TClass;

// The layout of one paint, computed by CalcDrawInfo.
struct TdxEditDrawInfo {
  int BorderSize = 0;
  int ShadowSize = 0;
  TRect OuterRect{0, 0, 0, 0};
  TRect ContentRect{0, 0, 0, 0};
  bool LeftEdge = false;
  bool TopEdge = false;
  bool RightEdge = false;
  bool BottomEdge = false;
  TRect BorderRect{0, 0, 0, 0};
  TRect ShadowRect{0, 0, 0, 0};
};

// The metaclass of editors: the class operations, callable without an editor. Each
// takes the class it is called on (Self), so that what it calls in turn reaches the
// descendant's version.
class TdxInplaceEditMetaClass : public TComponentMetaClass {
 public:
  using TComponentMetaClass::TComponentMetaClass;
  using TSelf = const TdxInplaceEditMetaClass*;

  virtual void CalcDrawInfo(TdxEditViewData* ViewData, bool AutoHeight, TdxEditDrawInfo& DrawInfo) const = 0;
  virtual void Draw(HDC DC, const TRect& R, TdxEditViewData* ViewData, HRGN Region) const = 0;
  virtual void DrawBorder(HDC DC, const TdxEditDrawInfo& DrawInfo, TdxEditViewData* ViewData) const = 0;
  virtual bool DrawContent(HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData) const = 0;
  virtual TCursor GetCursor(int X, int Y, TdxEditViewData* ViewData) const = 0;
  virtual int GetEditHeight(TdxEditViewData* ViewData) const = 0;
  virtual TRect GetButtonsRect(TdxEditViewData* ViewData) const = 0;
  virtual TdxEditViewDataClass GetViewDataClass() const = 0;
  virtual TdxEditStyleClass GetStyleClass() const = 0;
  virtual bool IsInplace() const = 0;

  // A new, empty view data of the class GetViewDataClass names.
  TdxEditViewData* NewViewData() const;

  template <class T, class Base>
  struct Impl : TComponentMetaClass::Impl<T, Base> {
    using TComponentMetaClass::Impl<T, Base>::Impl;
    void CalcDrawInfo(TdxEditViewData* ViewData, bool AutoHeight, TdxEditDrawInfo& DrawInfo) const override {
      T::CalcDrawInfo(this, ViewData, AutoHeight, DrawInfo);
    }
    void Draw(HDC DC, const TRect& R, TdxEditViewData* ViewData, HRGN Region) const override {
      T::Draw(this, DC, R, ViewData, Region);
    }
    void DrawBorder(HDC DC, const TdxEditDrawInfo& DrawInfo, TdxEditViewData* ViewData) const override {
      T::DrawBorder(this, DC, DrawInfo, ViewData);
    }
    bool DrawContent(HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData) const override {
      return T::DrawContent(this, DC, R, IsWindow, ViewData);
    }
    TCursor GetCursor(int X, int Y, TdxEditViewData* ViewData) const override {
      return T::GetCursor(this, X, Y, ViewData);
    }
    int GetEditHeight(TdxEditViewData* ViewData) const override { return T::GetEditHeight(this, ViewData); }
    TRect GetButtonsRect(TdxEditViewData* ViewData) const override { return T::GetButtonsRect(this, ViewData); }
    TdxEditViewDataClass GetViewDataClass() const override { return T::GetViewDataClass(this); }
    TdxEditStyleClass GetStyleClass() const override { return T::GetStyleClass(this); }
    bool IsInplace() const override { return T::IsInplace(this); }
  };
};
using TdxInplaceEditClass = const TdxInplaceEditMetaClass*;

using TdxEditValidateEvent = TEvent<void(TObject* Sender, AnsiString& ErrorText, bool& Accept)>;

class TdxInplaceEdit : public TWinControl {
 public:
  using MetaType = TdxInplaceEditMetaClass;
  TCLASS_DECL(TdxInplaceEdit, TWinControl)
  // A drop-down window that loses the focus tells its editor (FocusLost).
  friend class TdxInplacePopupControl;

 public:
  explicit TdxInplaceEdit(TComponent* AOwner);
  ~TdxInplaceEdit() override;
  // The set-up that depends on the class: the style (from the host, or of the
  // class's style class), the look in place or outside a container.
  void AfterConstruction() override;
  // Leaves the style controller (unless that is being freed itself).
  void BeforeDestruction() override;

  TdxInplaceEditClass EditClass() const { return static_cast<TdxInplaceEditClass>(ClassType()); }
  // The host: the owner when the class works in place and the owner is a container.
  TCustomdxContainer* GetContainer() const;

  // An action looking for its target (the form routes it to its active control): the
  // class library's handling. An editor bound to data would ask its data link next;
  // no editor here has one, so that is the whole step.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;

  // ----- Class operations (call them on EditClass(), or on T::StaticClass()).
  static void CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                           TdxEditDrawInfo& DrawInfo);
  static void Draw(MetaType::TSelf Self, HDC DC, const TRect& R, TdxEditViewData* ViewData, HRGN Region);
  static void DrawBorder(MetaType::TSelf Self, HDC DC, const TdxEditDrawInfo& DrawInfo,
                         TdxEditViewData* ViewData);
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow,
                          TdxEditViewData* ViewData);
  static TCursor GetCursor(MetaType::TSelf Self, int X, int Y, TdxEditViewData* ViewData);
  static int GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData);
  static TRect GetButtonsRect(MetaType::TSelf Self, TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  static TdxEditStyleClass GetStyleClass(MetaType::TSelf Self);
  static bool IsInplace(MetaType::TSelf Self);
  // The class's own answer for this editor.
  bool InPlace() const { return EditClass()->IsInplace(); }

  // ----- What the host calls.
  // Places the editor over Rect grown by 2 pixels, shows and focuses it; AfterShow
  // runs for a first show outside a show lock. An empty Rect does nothing.
  void ShowAt(const TRect& Rect);
  virtual void Show();
  virtual void Hide();
  void BeginShowLock() { ++FShowLock; }
  void EndShowLock() { --FShowLock; }
  int ShowLock() const { return FShowLock; }
  bool Shown() const { return FShown; }

  // Null sets an empty text, any other value its string form.
  virtual void SetEditValue(const Variant& Value);
  // The text as a string value.
  virtual Variant GetEditValue();
  virtual void GetDisplayValue(Variant& Value);
  // The text as the user edits it, without any display formatting.
  virtual void GetEditText(AnsiString& Text) { Text = GetText(); }
  // Sets the text when the value may change; marks it modified in every case.
  virtual void SetTextIfModifiable(const AnsiString& Text);
  // Raises EdxEditInvalidInput with OnValidate's text when OnValidate refuses a
  // modified value; does nothing while a key is being handled.
  virtual void Validate();
  // Puts the text and Modified of the restore point back.
  virtual void RevertToSaved();
  // Enter (true) and exit (false) of editing: takes the restore point, except that in
  // place under a host a change of the user's still pending keeps the restore point of
  // the edit it belongs to (the focus going to the editor's own popup, or to the host,
  // and back is no new edit: Escape still gives back the value it began with).
  virtual void SetEditActive(bool Value);
  virtual void HostMouseMove(int /*X*/, int /*Y*/) {}
  virtual void HostMouseUp() {}
  virtual void RestoreDefaults();
  // Asked by a host before a press on it ends the edit: true keeps the editor open.
  bool KeepsEditOnHostPress() { return GetOptionByte(); }

  // ----- The editor's values.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ReadOnly() const { return FReadOnly; }
  // ReadOnly when set explicitly, else the link's answer (none: false).
  bool GetReadOnly();
  void SetReadOnly(bool Value);
  bool Modified() const { return FModified; }
  virtual bool GetModified() { return FModified; }
  virtual void SetModified(bool Value) { FModified = Value; }
  const TRect& Offsets() const { return FOffsets; }
  void SetOffsets(const TRect& Value);
  // Outside a container the height follows GetEditHeight.
  void SetAutoSize(bool Value) override;
  TdxEditStoredValues StoredValues() const { return FStoredValues; }
  void SetStoredValues(TdxEditStoredValues Value) { FStoredValues = Value; }
  TdxEditStyle* Style() const { return FStyle; }
  void SetStyle(TdxEditStyle* Value) { FStyle->Assign(Value); }
  TdxEditStyleController* StyleController() const { return FStyleController; }
  // Leaves the old controller and joins the new one (free-notified), which re-lays
  // the editor out; none re-lays it out with the default one.
  void SetStyleController(TdxEditStyleController* Value);
  bool MouseInside() const { return FMouseInside; }
  int KeyDownLevel() const { return FKeyDownLevel; }
  TAlignment DefaultAlignment() const { return FDefaultAlignment; }

  // Written by hosts and descendants (see the comments of the fields).
  bool RevertOnInvalid = false;
  bool OptionFlag = false;
  bool HostPressLock = false;
  bool InternalChange = false;
  bool ClientAreaIsButton = false;
  bool ValueLoading = false;
  bool TransparentWhenInactive = false;
  // The message time of the click that opened the editor (written by the host).
  DWORD ClickTime = 0;

  // A view data filled from this editor (owned by the caller).
  virtual TdxEditViewData* CreateViewData(bool PaintCopy);
  // Re-lays the editor out (Relayout) and repaints it: style, size and state changes.
  virtual void StyleLayoutChanged();
  // Re-lays out when hot tracking matters, and repaints a painted editor.
  virtual void StyleChanged();

  void DefineProperties(TFiler* Filer) override;
  // The stored values read are the file's: a file without them was written from an
  // editor that kept nothing, whatever its constructor or the values read marked.
  void ReadState(TReader* Reader) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;
  TdxEditValidateEvent OnValidate;

  // A step of the user's: the input one message brings to the editor's window or to one
  // of its popups (a key, a character, a paste, a press, a choice), which may change the
  // text in several edits. Steps nest: the outermost is the step. A null editor makes no
  // step.
  class TUserStep {
   public:
    explicit TUserStep(TdxInplaceEdit* Edit) : FEdit(Edit) {
      if (FEdit) FEdit->BeginUserStep();
    }
    TUserStep(const TUserStep&) = delete;
    TUserStep& operator=(const TUserStep&) = delete;
    ~TUserStep() {
      if (FEdit) FEdit->EndUserStep();
    }

   private:
    TdxInplaceEdit* FEdit;
  };
  // Whether a message to an editor's window, or to its popup's, is the user's input: a
  // key, a character, the clipboard's messages, a replacement of the selection, an undo
  // or a redo, a press or a wheel turn, a timer's repeat, a menu's command.
  static bool IsUserInput(UINT Msg);

 protected:
  // The steps of the user's (TUserStep); an editor that keeps them overrides both. Neither
  // raises: the step may end while an exception unwinds.
  virtual void BeginUserStep() {}
  virtual void EndUserStep() {}
  // The text of the restore point, and the value and modified state it stood for put
  // back (the window showing that text).
  const AnsiString& SavedText() const { return FSavedText; }
  void RestoreSavedValue();
  // The restore point's text stands for the value held now: its hidden part is recorded
  // again (the text and the modified state stay the restore point's).
  void SaveHiddenValue() { FSavedHidden = HiddenValue(); }
  // Refuses the user's input where they see it: the editor takes the focus when it
  // shows (not while designing), a beep sounds and EdxEditInvalidInput carries Message.
  [[noreturn]] void RefuseInput(const AnsiString& Message);
  // Records the restore point: the text, the part of the value it hides (HiddenValue)
  // and Modified. An editor whose value is not its text records its value too.
  virtual void SaveRestorePoint();
  // The part of the value that the text does not show (a time's seconds under a format
  // without them); none for an editor whose text says all of its value. A text put back
  // (the restore point, a refused change undone, an undo) brings it back with it.
  virtual TdxHiddenValueRef HiddenValue() { return nullptr; }
  // Text, which the editor showed while HiddenValue answered Hidden, is shown again:
  // while the window still shows it, the part it hides comes back.
  virtual void RestoreHiddenValue(const AnsiString& /*Text*/, const TdxHiddenValueRef& /*Hidden*/) {}
  // Runs Change, a change of the user's. One that leaves the text as it was (a text
  // pasted over itself, a character typed over a selection of itself) is no edit: the
  // part of the value the text hides and the modified state stay as they were.
  template <class TChange>
  void UserChange(TChange&& Change);
  // Modified as it was at the restore point.
  bool SavedModified() const { return FSavedModified; }
  virtual void RefreshDefaults();
  virtual void LoadFromLink() {}
  virtual void LinkEditingChanged(bool& Handled) { Handled = false; }
  virtual void ResetFromLink();
  virtual void PostToLink();
  virtual void ReservedHook() {}
  virtual bool IsValidChar(char Key);
  virtual void Change();
  virtual TObject* CreateDataLink() { return nullptr; }
  virtual bool CanModify();
  virtual bool GetOptionByte() { return OptionFlag; }
  virtual bool IsEditingKey(Word Key, TShiftState Shift);
  // The keys an editor in place validates its value on before they go anywhere.
  static bool IsValidatingKey(Word Key);
  virtual bool IsCtrlOnlyDown();
  virtual bool IsPainted() { return !IsNativeEdit(); }
  virtual bool HandlesWheel() { return false; }
  virtual bool WantTabChar() { return false; }
  virtual void MoveColumn(bool Backward);
  virtual void SetAlignmentValue(TAlignment Value);
  virtual void SetReadOnlyValue(bool Value) { FReadOnly = Value; }
  virtual void SetMouseInside(bool Value) { FMouseInside = Value; }
  // Runs once when a shown editor was not visible before and no show lock is held.
  virtual void AfterShow() {}
  virtual bool CanEditLinked() { return !GetReadOnly(); }
  virtual TAlignment GetDefaultAlignment() { return taLeftJustify; }
  virtual bool GetLinkReadOnly() { return false; }
  virtual bool GetLinkEditing() { return false; }
  virtual void EditKeyF2() {}
  virtual void FocusLost(TMessage& Message);
  virtual bool IsNativeEdit() { return false; }
  virtual bool ValidateOnEnter() { return false; }
  virtual bool EditFocused() { return Focused(); }
  virtual bool HasLink() { return false; }
  virtual bool IsHot() { return FMouseInside || (EditFocused() && Enabled()); }
  virtual bool GetShowButtonAlways();
  virtual bool CanRevertText() { return IsNativeEdit(); }
  virtual bool IsNativeEditQuery() { return IsNativeEdit(); }
  virtual void AfterActivate() {}

  // The class library's steps.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;
  void PaintWindow(HDC DC) override;

  // Sizes the editor to its computed outer rectangle and sets the window region to
  // the border region (none when the border needs none).
  void Relayout();
  // Marks a property as set explicitly on this editor (its setter then stores it).
  void StoreProperty(TdxEditStoredValue Bit) { FStoredValues.Include(Bit); }
  // A descendant's own key-down step brackets the key as the base step does.
  void BeginKeyDown() { ++FKeyDownLevel; }
  void EndKeyDown() { --FKeyDownLevel; }

 private:
  TdxEditStyle* CreateStyle();
  bool HotTrackMatters();
  bool HeightStored();
  void ReadHeight(TReader* Reader);
  void WriteHeight(TWriter* Writer);
  void ReadStoredValues(TReader* Reader);
  void WriteStoredValues(TWriter* Writer);
  void WMKeyDown(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMPaint(TMessage& Message);
  // Whether the window shows the display value, painted, instead of the text being
  // edited: a linked editor that is not edited (not active, nor focused in place).
  bool ShowsDisplayValue();
  void WMSetCursor(TMessage& Message);
  void CMMouseEnterLeave(TMessage& Message, bool Inside);

  bool FActive = false;
  TAlignment FAlignment = taLeftJustify;
  TAlignment FDefaultAlignment = taLeftJustify;
  int FShowLock = 0;
  bool FModified = false;
  TRect FOffsets{0, 0, 0, 0};
  bool FSavedModified = false;
  AnsiString FSavedText;
  TdxHiddenValueRef FSavedHidden;
  bool FReadOnly = false;
  bool FMouseInside = false;
  TdxEditStyle* FStyle = nullptr;
  TdxEditStyleController* FStyleController = nullptr;
  bool FShown = false;
  int FKeyDownLevel = 0;
  TdxEditStoredValues FStoredValues;
  bool FStoredValuesRead = false;
  bool FRelayingOut = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// Keeps the modified state of an editor, or of a pane that edits for one, across a text
// it writes itself: a re-format, a limit applied, a mask redrawn, the forced case, a
// refused change put back. The rich edit control forgets that its text was edited at
// every text set, and a write of the editor's own is no change of the user's either
// way: the state the scope found comes back when it ends.
//
//   TdxKeptModified Kept(*this);
//   SetText(Formatted);
//
// A scope opened before a change of the user's that the editor may refuse (a paste that
// leaves no value) is dismissed when the change stays: the state the change left stays.
template <class TEditor>
class TdxKeptModified {
 public:
  explicit TdxKeptModified(TEditor& Editor) : FEditor(Editor), FModified(Editor.GetModified()) {}
  TdxKeptModified(const TdxKeptModified&) = delete;
  TdxKeptModified& operator=(const TdxKeptModified&) = delete;
  ~TdxKeptModified() {
    if (!FDismissed) FEditor.SetModified(FModified);
  }
  void Dismiss() { FDismissed = true; }

 private:
  TEditor& FEditor;
  bool FModified;
  bool FDismissed = false;
};

// Runs Change, a change of the user's that the rich edit control makes but leaves
// unmarked (a cut, a clear, an undo, a redo; the control keeps its modification flag as
// it was), and marks Editor modified when the text Text reads changed.
template <class TEditor, class TText, class TChange>
void dxMarkedChange(TEditor& Editor, TText&& Text, TChange&& Change) {
  const AnsiString Before = Text();
  Change();
  if (Text() != Before) Editor.SetModified(true);
}

// Runs Deletion, a deletion key (DeletesText, dxEditor.h) that the rich edit control
// Window handles. The control marks its text modified for one that removes nothing too
// (Delete at the end of the text, over the paragraph mark that closes it and stays): a
// deletion that leaves the text as long as it was removed nothing, and Editor's modified
// state stays as it was.
template <class TEditor, class TDeletion>
void dxDeletion(TEditor& Editor, HWND Window, TDeletion&& Deletion) {
  TdxKeptModified Kept(Editor);
  const int Before = GetWindowTextLengthA(Window);
  Deletion();
  if (GetWindowTextLengthA(Window) != Before) Kept.Dismiss();
}

template <class TChange>
void TdxInplaceEdit::UserChange(TChange&& Change) {
  const AnsiString Before = GetText();
  const TdxHiddenValueRef Hidden = HiddenValue();
  TdxKeptModified Kept(*this);
  Change();
  if (GetText() != Before) {
    Kept.Dismiss();
    return;
  }
  RestoreHiddenValue(Before, Hidden);
}

// Whether Edit keeps the value of Bit: the store predicate of a published value that
// a stored-values bit marks, written whatever it is while the bit is set.
template <TdxEditStoredValue Bit>
bool dxValueKept(TdxInplaceEdit* Edit) {
  return Edit->StoredValues().Contains(Bit);
}

// The flags a new editor of Edit's class starts with (in place or not, each class its
// own): what a form file read into one finds before its values. Learnt once per class,
// from an editor made for it.
struct TdxEditStartFlags {
  bool ParentColor;
  bool ParentCtl3D;
  bool TabStop;
};
TdxEditStartFlags dxStartFlags(const TdxInplaceEdit* Edit);
// Forgets what dxStartFlags learnt (the unit's end).
void dxForgetStartFlags();

// Publishes an editor's MaxValue and MinValue (an editor with MinValue, MaxValue and
// SetMinMaxValues), kept together whatever order a form file gives them in: each is
// written while its stored-values bit is set.
template <class TEdit, class TPublisher>
void dxPublishLimits(TPublisher& P) {
  P.Prop("MaxValue", &TEdit::MaxValue,
         [](TEdit* Edit, double Value) { Edit->SetMinMaxValues(std::min(Edit->MinValue(), Value), Value); })
      .Stored(dxValueKept<esvMaxValue>)
      .NoDefault();
  P.Prop("MinValue", &TEdit::MinValue,
         [](TEdit* Edit, double Value) { Edit->SetMinMaxValues(Value, std::max(Edit->MaxValue(), Value)); })
      .Stored(dxValueKept<esvMinValue>)
      .NoDefault();
}

// The editors' shadow brush (the system button-shadow colour), made by the container
// unit's start.
HBRUSH dxEditShadowBrush();
// Where a context menu asked for from the keyboard opens: at the window's caret, kept
// within its client width, in screen coordinates.
TPoint dxCaretMenuPoint(HWND Wnd);
// The container unit's start and end: the default edit style controller, the shadow
// brush, and the published parts of the styles, controllers and editors.
void InitdxCntner();
void DonedxCntner();
