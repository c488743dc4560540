// The text editor: the grid's single-line editor and the base of the mask, memo,
// drop-down and hyperlink editors.
//
// Its window is a "RichEdit20A" control (the unit loads RICHED20.DLL when it starts)
// in plain-text mode, so the control types, selects, cuts, pastes and undoes itself;
// the editor adds the forced letter case, the length limit, the selection operations
// and an editing menu. A descendant that is not a native edit gets a plain window of
// its own class ("...NoEdit") and paints through its view data. Cells are painted by
// the class's DrawContent with the same text rules as the live control.
//
// The control places a tab by walking every tab stop from the start of its line, in
// twips held in 32 bits times the screen's resolution: past about 1.49 million pixels
// that walk never ends. A one-line editor keeps every tab the control can place (along
// the whole line, in the editor's font, as TdxWrapGuard::PlacesTabs measures it) and
// refuses a text or a font that puts one too far: a program's with EInvalidOperation
// (SdxEditTabTooFar), the user's typing or pasting with a beep, and the old text and
// font stay. A text the editor already holds is never refused: a host's value loaded
// into it (the container's flag raised), or the text its window is made with, that the
// control cannot place is shown without its tabs in a read-only window, and the editor
// keeps it whole as its text. The memo wraps its lines and keeps its tabs its own way.
#pragma once

#include <windows.h>

#include <richedit.h>
#include <richole.h>

#include "classlib/StdCtrls.h"
#include "editors/dxCntner_Edit.h"

class TPopupMenu;

// The message of a program's text, or font, that would put a tab of a one-line
// editor's text farther along its line than the control can place it.
inline constexpr const char* SdxEditTabTooFar = "Text holds a tab too far along its line to be shown";
// The message of a program's text whose tabs the control would take too long to lay out
// (TdxWrapGuard::TabCost past TdxWrapGuard::TabBudget).
inline constexpr const char* SdxEditTooManyTabs = "Text has too many tabs for the editor to lay out";

// The room a rich edit control's selection bar takes on the left.
inline constexpr int dxSelectionBarWidth = 8;

// The view data of the text editors: the display text and how it is shown.
class TdxTextEditViewData : public TdxEditViewData {
  TCLASS_DECL(TdxTextEditViewData, TdxEditViewData)
 public:
  AnsiString Text;
  // The display text's length, cached when the text is set.
  int TextLength = 0;
  TEditCharCase CharCase = ecNormal;
  bool EndEllipsis = false;
  char PasswordChar = '\0';
  bool SelectionBar = false;

  void SetText(const AnsiString& Value) {
    Text = Value;
    TextLength = static_cast<int>(Value.size());
  }
};

class TdxInplaceTextEdit;

// The rich edit control's OLE callback: every request is refused (E_NOTIMPL, out
// parameters cleared) but the drop-effect query, which allows no drop. Registered with
// the control only when the editor has a data link.
class TdxTextEditOleCallback : public IRichEditOleCallback {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* Storage) override;
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Doc,
                                              LPOLEINPLACEFRAMEINFO FrameInfo) override;
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL Show) override;
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID Clsid, LPSTORAGE Storage, LONG Cp) override;
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT Object) override;
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT Data, CLIPFORMAT* Format, DWORD Reco, BOOL Really,
                                            HGLOBAL Metafile) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL EnterMode) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE* Range, DWORD Reco, LPDATAOBJECT* Data) override;
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL Drag, DWORD KeyState, LPDWORD Effect) override;
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD SelType, LPOLEOBJECT Object, CHARRANGE* Range,
                                           HMENU* Menu) override;

  ULONG RefCount() const { return FRefCount; }

 private:
  ULONG FRefCount = 0;
};

class TdxInplaceTextEdit : public TdxInplaceEdit {
  TCLASS_DECL(TdxInplaceTextEdit, TdxInplaceEdit)
 public:
  explicit TdxInplaceTextEdit(TComponent* AOwner);
  ~TdxInplaceTextEdit() override;

  // ----- Class operations.
  // Paints the text of the view data (nothing for a native edit's own window), or
  // measures it with MeasureOnly: NeededHeight, TextHeight and LineCount.
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);

  // ----- Values.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  int MaxLength() const { return FMaxLength; }
  // Kept explicitly (stored value); negative values are 0, no limit.
  void SetMaxLength(int Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool SelectionBar() const { return FSelectionBar; }
  void SetSelectionBar(bool Value);

  // ----- Selection, in characters.
  virtual int GetSelLength();
  virtual int GetSelStart();
  virtual void GetSelText(AnsiString& Text);
  virtual void SetSelLength(int Value);
  virtual void SetSelStart(int Value);
  // Copies at most Size - 1 characters of the selected text and a terminator into
  // Buffer; answers the characters copied.
  virtual int GetSelTextBuf(char* Buffer, int Size);
  AnsiString SelText() {
    AnsiString Text;
    GetSelText(Text);
    return Text;
  }

  // ----- Plain operations on the window.
  void ClearText();
  void DeleteSelectedText();
  void CopyToClipboard();
  void CutToClipboard();
  void ClearUndo();

  // The editing menu (made on first use), or nullptr.
  TPopupMenu* EditingMenu() const { return FPopupMenu; }
  TdxTextEditOleCallback* OleCallback() { return &FOleCallback; }

  void SetEditValue(const Variant& Value) override;
  // The text saved when the edit began comes back as the host's value it was: kept
  // whole, held where the control cannot hold it.
  void RevertToSaved() override;
  bool GetModified() override;
  void SetModified(bool Value) override;
  void RestoreDefaults() override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  // A paste reaches the control only here, past the editor's checks: the editor puts
  // the clipboard's text in itself. So do a text, a replaced selection and a typed
  // character, which a one-line window refuses when they put a tab too far along.
  void DefaultHandler(TMessage& Message) override;
  // The text held: while the window shows it without its tabs, the text itself.
  AnsiString GetText() const override;
  // Each message of the user's input is a step of the user's (TUserStep).
  void WndProc(TMessage& Message) override;

  TNotifyEvent OnSelectionChange;

 protected:
  virtual void ApplyCharCase();
  virtual void SetWindowMaxLength(int Value);
  virtual bool HasDataLink() { return HasLink(); }
  virtual void SelectionChanged();
  virtual void SetMaxLengthValue(int Value);
  virtual int GetDefaultMaxLength() { return 0; }

  bool IsNativeEdit() override { return true; }
  void AfterActivate() override;
  void EditKeyF2() override;
  void SetReadOnlyValue(bool Value) override;
  void RefreshDefaults() override;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateHandle() override;
  void DestroyWnd() override;
  void DoEnter() override;
  // After the editor base's steps, an editing key left over (see EditKeyMessage: the
  // clipboard's keys, undo and redo) goes to the window as its message, where a text
  // held judges it; with Ctrl and Alt the control never sees those keys.
  void KeyDown(Word& Key, TShiftState Shift) override;

  // The text area the window is given at its size: the client area less a pixel on each
  // side, the selection bar, the caret's room for right alignment, and the offsets.
  RECT TextRect();

  bool SettingValue() const { return FSettingValue; }
  bool ApplyingCase() const { return FApplyingCase; }
  bool CreatingWindow() const { return FCreatingWindow; }
  // Whether the editor's window has several lines (the memo's).
  virtual bool MultiLine() const { return false; }
  // Whether a window made now could hold Text, in the editor's font and settings: a
  // one-line window places every tab of it. A text given, or a font set, without a
  // window that it could not hold is refused with EInvalidOperation (TextRefusal).
  virtual bool WindowHolds(const AnsiString& Text);
  // Why the window refuses Text: too many tabs to lay out in good time, or a tab too
  // far along its line.
  virtual const char* TextRefusal(const AnsiString& Text) const;
  // Keeps Text as the editor's text while the window, read-only, shows what of it the
  // control can show: a host's value, or the text a window is made with, that the
  // control cannot hold as it is. Every read answers from the text held (GetText,
  // GetSelText, a copy); every change is made to it whole or refused (HeldChange). A
  // text the control holds, given by a program or a host, ends the hold (EndHolding).
  void HoldText(const AnsiString& Text);
  void EndHolding();
  bool Holding() const { return FHolding; }
  // The text held, and a number that changes whenever a text is held.
  const AnsiString& HeldText() const { return FHeldText; }
  unsigned HeldVersion() const { return FHeldVersion; }
  // A message that would change the text held: the user's typing, pasting, cutting,
  // clearing, undoing or redoing is refused with a beep; a program's replacement of the
  // selection (EM_REPLACESEL) is made to the text held, and the whole text it leaves is
  // then set as the program's (shown whole, or held again for a host) or, when the
  // control cannot hold it, refused (answering 0). A copy copies from the text held.
  // False, and nothing done, for any other message or when nothing is held.
  bool HeldChange(TMessage& Message);
  // Whether the text that comes is one the editor holds already and never refuses: a
  // host's value loaded, or the text the window is made with.
  bool KeepsText();
  // Shows Text in the window as no change of the editor's own: no change event, the
  // modified state kept and the undo buffer emptied.
  void ShowQuietly(const AnsiString& Text);

  // A one-line editor keeps the steps of the user's changes itself (TdxEditHistory): an
  // undo gives back the state before the user's last change whole (its text, the part of
  // the value it hides, whether it was edited, its selection) and a redo the change. A
  // step that leaves the text as it was is none. The memo's control keeps its own steps.
  // A text a program sets (outside a step of the user's), the undo buffer emptied and a
  // new restore point forget the steps.
  //
  // Whenever a step, an undo or a redo leaves the window showing the text the edit began
  // with (the restore point's), the editor holds the value it began with and is edited
  // as it was then: an edit that ends with the text it began with stores nothing.
  void BeginUserStep() override;
  void EndUserStep() override;
  void SaveRestorePoint() override;
  bool KeepsHistory();
  TdxEditState CaptureState();
  bool InUserStep() const { return FStepLevel > 0; }
  // A program's value that leaves the text shown as it was (no WM_SETTEXT comes; a time
  // whose seconds the format hides): the user's steps are of another value, as after a
  // program's text. Where the window shows the restore point's text, the restore point
  // stands for this value from now on; elsewhere it no longer holds.
  void ValueSetBehindText();
  // The step of the user's under way ended, leaving the text another than it found
  // (TextChanged; always true for an editor that keeps no steps of its own) or not.
  virtual void UserStepEnded(bool /*TextChanged*/) {}

 private:
  void Changed();
  // A cut, a clear, an undo or a redo: the control leaves its modification flag as it
  // was when one of these changes its text, so a change it made is marked here.
  void MarkedChange(TMessage& Message);
  void SetBackgroundColor();
  void SetWindowRect();
  // Pastes the clipboard's text over the selection (PasteRichEditPlainText) while the
  // editor can be edited.
  void PasteText();
  void WMSetFont(TMessage& Message);
  // Whether the editor is a native edit on one line, whose control places tabs along
  // the whole line; the memo has several.
  bool OneLine();
  // Whether the control can place every tab of Text in Font, along the line, in the
  // forced case.
  bool PlacesTabs(HFONT Font, const AnsiString& Text) const;
  // A text change of a one-line window (WM_SETTEXT, EM_REPLACESEL, a typed character)
  // that would leave a tab the control cannot place: refused (the user's with a beep),
  // or for a text the editor holds already shown without its tabs (ShowWithoutTabs).
  // False when the message goes on to the control as it is.
  bool GuardTabs(TMessage& Message);
  // Shows Text in the window without its tabs, read-only, and keeps it as the text.
  void ShowWithoutTabs(const AnsiString& Text);
  // The window shows the text held again as it is, editable as the editor is.
  void ShowHeldText();
  // Without a window, a program's text that the window could not hold (WindowHolds) is
  // refused, and the editor keeps the text it held (FWindowlessText).
  void KeepWindowlessText();
  void WMContextMenu(TMessage& Message);
  void WMMouseDown(TMessage& Message);
  void ShowEditingMenu(TPoint Pos);
  void EditingMenuClick(TObject* Sender);
  CHARRANGE GetSel();
  void SetSel(const CHARRANGE& Range);
  // An undo (Redo false) or a redo of the steps kept: the state it goes to comes back.
  void MoveInHistory(bool Redo, TMessage& Message);
  void ForgetHistory();
  // The window shows the restore point's text: the value it stood for comes back.
  void KeepRestorePoint();

  bool FSettingValue = false;
  bool FAutoSelect = true;
  TEditCharCase FCharCase = ecNormal;
  bool FApplyingCase = false;
  bool FCreatingWindow = false;
  bool FReverting = false;
  TPopupMenu* FPopupMenu = nullptr;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FSavedModified = false;
  bool FOEMConvert = false;
  char FPasswordChar = '\0';
  TdxTextEditOleCallback FOleCallback;
  bool FSelectionBar = false;
  // Set by a program's text refused, until the next text or CM_TEXTCHANGED: Text's
  // setter follows its WM_SETTEXT with CM_TEXTCHANGED, which raises.
  bool FTextRefused = false;
  // Why, when it was.
  const char* FTextRefusal = SdxEditTabTooFar;
  bool FPasting = false;
  // True while the window shows FHeldText without its tabs.
  bool FHolding = false;
  AnsiString FHeldText;
  unsigned FHeldVersion = 0;
  // The text last kept while the editor has no window.
  AnsiString FWindowlessText;
  // The steps of the user's: how deep the one under way is, whether what it began from
  // no longer counts (the steps forgotten, a new edit begun, an undo or a redo made), and
  // the state it began from.
  int FStepLevel = 0;
  bool FStepVoid = false;
  TdxEditState FStepBefore;
  TdxEditHistory FHistory;
  bool FMovingInHistory = false;
  // The restore point's text stands for the value the edit began with: no program's text
  // came since it was taken.
  bool FRestorePointHolds = false;
};

// The unit's start: loads the rich edit library and the editing menu's captions. Its
// end frees the library.
void InitdxEditor();
void DonedxEditor();
// The rich edit library, or null when it could not be loaded.
HMODULE RichEditLibrary();
// Starts OLE on this thread, once: a rich edit's clipboard needs it. Called before the
// first rich edit window is made, never from a unit's start (the DLL's runs under the
// loader lock).
void StartRichEditOle();
// The length limit that leaves a rich edit's text free: the control takes a limit of 0
// for its own default (32K or 64K characters).
inline constexpr LPARAM LargestTextLimit = 0x7FFFFFFF;
// The message an editing key stands for in a text window, or 0: Ctrl+V and
// Shift+Insert paste, Ctrl+C and Ctrl+Insert copy, Ctrl+X and Shift+Delete cut, Ctrl+Z
// undoes and Ctrl+Y redoes (the letters with Shift too). The rich edit control acts on
// these keys itself, past the editor's checks of the messages (a paste replacing its
// whole text, a cut or an undo of a text held taken without a beep): the editors send
// it the message instead.
UINT EditKeyMessage(Word Key, TShiftState Shift);
// Whether the control must not see the key at all: Ctrl and Alt together (AltGr on
// many keyboards, whose character still comes) with one of those letters, or with
// Insert, on which the control would act as on Ctrl alone.
bool ControlKeyWithheld(Word Key, TShiftState Shift);
// Replaces a plain-text rich edit's selection with the clipboard's text, as one step
// that can be undone: its first line in a single-line window, cut to the room the
// length limit leaves. The control's own paste in plain-text mode replaces the whole
// text wherever the caret is.
void PasteRichEditPlainText(HWND Handle);
// The control lets a selection run past its text over the paragraph mark that closes it
// (Shift+Right at the end, a drag past it). What is typed or put over such a selection
// counts the mark as replaced, though the mark stays, so the text grows past its limit.
// The selection is made to end at the text's end instead.
void EndSelectionAtText(HWND Handle);
// Whether Message puts text over a rich edit's selection: a character typed (not
// Backspace's) or a replacement of the selection.
bool InsertsText(const TMessage& Message);
// Whether Message is a key a rich edit deletes on: Delete or Backspace going down (with
// Ctrl, a word), or a character that Backspace types.
bool DeletesText(const TMessage& Message);
// Puts a rich edit just made into plain-text mode, holding Text.
void SetRichEditPlainText(HWND Handle, const AnsiString& Text);
// Gives a rich edit's text Color (the automatic colour for the window text colour and
// clDefault); Scope is the EM_SETCHARFORMAT range (SCF_DEFAULT, SCF_ALL, ...).
void SetRichEditTextColor(HWND Handle, TColor Color, WPARAM Scope);
// A rich edit's characters From to To (EM_GETTEXTRANGE); a paragraph's end is one CR.
AnsiString RichEditRange(HWND Handle, LONG From, LONG To);
// The offset in Text of the character a rich edit holding Text counts as Index: it
// counts a double-byte character, and CR LF, as one.
std::size_t CharacterOffset(const AnsiString& Text, LONG Index);
// A part of a text: its offsets From to To.
struct TTextSpan {
  std::size_t From;
  std::size_t To;
};
// The part of Text, held whole by a rich edit Handle that shows a start of it character
// for character, that the control's selection covers: a selection that reaches the end
// of what the control shows reaches the end of Text, which it stands for.
TTextSpan HeldSelection(HWND Handle, const AnsiString& Text);
// Whether Message asks a rich edit to change its text as the user does: a character
// typed (a line break only where Returns, a tab only where Tabs), a paste, a cut, a
// clear, an undo or a redo. A text held is kept from all of them, with a beep.
bool UserTextChange(const TMessage& Message, bool Returns, bool Tabs);
