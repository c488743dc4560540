// Standard dialogs: the message-dialog form (MessageDlg) and the open and save
// dialogs over comdlg32, with the points where a program hooks into them.
//
// Hook points. Each hook is null until a program sets it; a program that sets one
// keeps the previous value to call on and to restore. The fourth hook point, after
// any control is inserted into a parent, is ControlInsertedHook in Controls.h.
//
// Seams. Running a message dialog and running the system's file dialogs go through
// function pointers, so that tests replace them and nothing waits for a user.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "classlib/Forms.h"
#include "classlib/StringLists.h"

// ---------------------------------------------------------------------------------
// Hook points

// Before a message-dialog form of the library is shown (from its showing-changed
// step). Answering true means the hook placed and showed the form itself, and the
// library's own step does not run.
using TMessageDialogShowingHook = bool (*)(TCustomForm* Form);
extern TMessageDialogShowingHook MessageDialogShowingHook;

// Every message that reaches the hook procedure of a file dialog goes here first
// (the initialisation-done notification, WM_NOTIFY with CDN_INITDONE, among them).
// Dialog is the hook's child dialog; the file dialog's own window is its parent.
// Answering true means the message is handled, with Result as the hook procedure's
// answer, and the library's own handling does not run.
using TFileDialogMessageHook = bool (*)(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam,
                                        UINT_PTR& Result);
extern TFileDialogMessageHook FileDialogMessageHook;

// Just before a file dialog runs (open and save alike: the save dialog is an open
// dialog that saves); Owner is the window that will own it.
using TBeforeOpenDialogHook = void (*)(HWND Owner);
extern TBeforeOpenDialogHook BeforeOpenDialogHook;

// ---------------------------------------------------------------------------------
// Message dialogs

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel = {mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel = {mbOK, mbCancel};

// The form of a message dialog: an icon for its type, the message, and a centred row
// of buttons. The buttons are named after their kind ("OK", "Cancel", ...) and give
// the form their modal result; the help button gives none and leaves the form open.
class TMessageForm : public TForm {
  TCLASS_DECL(TMessageForm, TForm)
 public:
  explicit TMessageForm(TComponent* AOwner);

  TMsgDlgType DlgType() const { return FDlgType; }
  // The label that shows the message.
  TControl* MessageLabel() const { return FMessage; }

 protected:
  // A showing form goes to MessageDialogShowingHook first.
  void ShowingChanged() override;
  void Paint() override;

 private:
  friend TForm* CreateMessageDialog(const AnsiString&, TMsgDlgType, TMsgDlgButtons);
  TMsgDlgType FDlgType = mtCustom;
  HICON FIcon = nullptr;  // a shared system icon: never destroyed
  TPoint FIconPos{0, 0};
  TControl* FMessage = nullptr;
};

// A message dialog, not shown yet: bsDialog, centred on the screen (poScreenCenter),
// captioned after its type ("Warning", "Error", "Information", "Confirmation"; the
// application's title for mtCustom). The default button is OK, else Yes, else the
// first; the cancel button is Cancel, else No, else OK. The caller frees it.
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// Runs a message dialog (a modal loop by default); tests replace it.
using TMessageDialogRunProc = TModalResult (*)(TCustomForm* Form);
extern TMessageDialogRunProc MessageDialogRunProc;

// Makes a message dialog, runs it through MessageDialogRunProc, frees it and returns
// its modal result (mrYes, mrOk, ...; mrCancel when closed with the close box).
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx);

// The buttons' names and captions, in the order of TMsgDlgBtn.
extern const char* const MsgDlgBtnNames[11];
extern const char* const MsgDlgBtnCaptions[11];

// ---------------------------------------------------------------------------------
// File dialogs

enum TOpenOption {
  ofReadOnly,            // in and out: the read-only box
  ofOverwritePrompt,     // save: asks before replacing a file
  ofHideReadOnly,        // no read-only box
  ofNoChangeDir,         // the current folder is restored afterwards
  ofAllowMultiSelect,    // several files; Files lists them all
  ofExtensionDifferent,  // out: the chosen name's extension differs from DefaultExt
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoDereferenceLinks,
  ofEnableSizing,
  ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

// The system's open or save function (GetOpenFileNameA / GetSaveFileNameA).
using TFileNameFunc = BOOL(WINAPI*)(OPENFILENAMEA* Info);
// The functions the dialogs call; tests replace them.
extern TFileNameFunc GetOpenFileNameProc;
extern TFileNameFunc GetSaveFileNameProc;

// The hook procedure the file dialogs install (public for tests that drive a dialog
// record by hand). Messages go to FileDialogMessageHook first. The library's own
// handling: at WM_INITDIALOG the dialog object (the record's custom data) learns its
// window, and at CDN_INITDONE the file dialog's window is centred on the work area of
// the monitor nearest to its owner.
UINT_PTR CALLBACK FileDialogHookProc(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam);

// The base of the standard dialogs.
class TCommonDialog : public TComponent {
  TCLASS_DECL(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // Shows the dialog; true when the user confirmed it.
  virtual bool Execute() = 0;
  // The running dialog's window, 0 when it is not running.
  HWND Handle() const { return FHandle; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

 protected:
  HWND FHandle = nullptr;

 private:
  friend UINT_PTR CALLBACK FileDialogHookProc(HWND, UINT, WPARAM, LPARAM);
  int FHelpContext = 0;
};

// The system's file-open dialog (explorer style, with the library's hook procedure).
// Filter is "Text|*.txt|All|*.*"; FilterIndex counts from 1. After a confirmed run
// FileName is the chosen file (the first one with ofAllowMultiSelect) and Files lists
// every chosen file with its folder. The owner is the active window of the thread, or
// the application's window.
class TOpenDialog : public TCommonDialog {
  TCLASS_DECL(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;

  bool Execute() override;

  const AnsiString& FileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  TStrings* Files() const { return FFiles; }
  const AnsiString& Filter() const { return FFilter; }
  void SetFilter(const AnsiString& Value) { FFilter = Value; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const AnsiString& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
  const AnsiString& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

 protected:
  // Fills the system's record, tells BeforeOpenDialogHook, calls Func and reads the
  // answer back.
  bool DoExecute(TFileNameFunc Func);

 private:
  AnsiString FFileName;
  TStringList* FFiles;
  AnsiString FFilter;
  int FFilterIndex = 1;
  AnsiString FInitialDir;
  AnsiString FDefaultExt;
  AnsiString FTitle;
  TOpenOptions FOptions = {ofHideReadOnly, ofEnableSizing};
};

// The system's file-save dialog: the open dialog with the save function.
class TSaveDialog : public TOpenDialog {
  TCLASS_DECL(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  bool Execute() override;
};

// The file dialogs for pictures: the filter starts as every registered picture format
// ("All (*.bmp;*.emf;*.ico)|..." and one entry per format, GraphicFilter).
class TOpenPictureDialog : public TOpenDialog {
  TCLASS_DECL(TOpenPictureDialog, TOpenDialog)
 public:
  explicit TOpenPictureDialog(TComponent* AOwner);
};

class TSavePictureDialog : public TOpenPictureDialog {
  TCLASS_DECL(TSavePictureDialog, TOpenPictureDialog)
 public:
  explicit TSavePictureDialog(TComponent* AOwner) : TOpenPictureDialog(AOwner) {}
  bool Execute() override;
};
