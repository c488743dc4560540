// The text editor: the grid's single-line editor and the base of the mask, memo,
// drop-down and hyperlink editors.
//
// Its window is a "RichEdit20A" control (the unit loads RICHED20.DLL when it starts)
// in plain-text mode, so the control types, selects, cuts, pastes and undoes itself;
// the editor adds the forced letter case, the length limit, the selection operations
// and an editing menu. A descendant that is not a native edit gets a plain window of
// its own class ("...NoEdit") and paints through its view data. Cells are painted by
// the class's DrawContent with the same text rules as the live control. A one-line
// window shows a tab as a space, set, pasted or typed: the control would walk every
// tab stop before it, without end past about 1.49 million pixels.
#pragma once

#include <windows.h>

#include <richedit.h>
#include <richole.h>

#include "classlib/StdCtrls.h"
#include "editors/dxCntner_Edit.h"

class TPopupMenu;

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
  bool GetModified() override;
  void SetModified(bool Value) override;
  void RestoreDefaults() override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  // A paste reaches the control only here, past the editor's checks: the editor puts
  // the clipboard's text in itself.
  void DefaultHandler(TMessage& Message) override;

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
  // After the editor base's steps, a clipboard key left over (Ctrl+V and Shift+Insert
  // paste, Ctrl+Insert copies, Shift+Delete cuts) goes to the window as its message.
  void KeyDown(Word& Key, TShiftState Shift) override;

  bool SettingValue() const { return FSettingValue; }
  bool ApplyingCase() const { return FApplyingCase; }
  bool CreatingWindow() const { return FCreatingWindow; }

 private:
  void Changed();
  void SetBackgroundColor();
  void SetWindowRect();
  // Pastes the clipboard's text over the selection (PasteRichEditPlainText) while the
  // editor can be edited.
  void PasteText();
  void WMSetFont(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMMouseDown(TMessage& Message);
  void ShowEditingMenu(TPoint Pos);
  void EditingMenuClick(TObject* Sender);
  CHARRANGE GetSel();
  void SetSel(const CHARRANGE& Range);

  bool FSettingValue = false;
  bool FAutoSelect = true;
  TEditCharCase FCharCase = ecNormal;
  bool FApplyingCase = false;
  bool FCreatingWindow = false;
  TPopupMenu* FPopupMenu = nullptr;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FSavedModified = false;
  bool FOEMConvert = false;
  char FPasswordChar = '\0';
  TdxTextEditOleCallback FOleCallback;
  bool FSelectionBar = false;
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
// The message a clipboard key stands for in a text window, or 0: Ctrl+V and
// Shift+Insert paste, Ctrl+Insert copies, Shift+Delete cuts.
UINT ClipboardKeyMessage(Word Key, TShiftState Shift);
// Replaces a plain-text rich edit's selection with the clipboard's text, as one step
// that can be undone: its first line in a single-line window, cut to the room the
// length limit leaves. The control's own paste in plain-text mode replaces the whole
// text wherever the caret is.
void PasteRichEditPlainText(HWND Handle);
// Puts a rich edit just made into plain-text mode, holding Text.
void SetRichEditPlainText(HWND Handle, const AnsiString& Text);
// Gives a rich edit's text Color (the automatic colour for the window text colour and
// clDefault); Scope is the EM_SETCHARFORMAT range (SCF_DEFAULT, SCF_ALL, ...).
void SetRichEditTextColor(HWND Handle, TColor Color, WPARAM Scope);
