// The base of every dialog of the module, with context help and placement.
//
// TFormWithHelp gives context help. F1 opens the help topic of the area around the
// focused control; the title bar's help button (WM_HELP) opens a popup for the control
// clicked. Topics come from ".id" maps beside the help files in the host's "Help\"
// folder, and a map may send a key on to another module's help file. TServerDialog
// makes the host's main window the dialog's owner and centres the dialog on the
// active monitor.
//
// The unit also places the class library's message dialogs and file dialogs on the
// active monitor, through the library's hook points (installed at start, removed at
// the end).
#pragma once

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/StringLists.h"
#include "skin/KsForms.h"

class TTeThemeEngine;
class TTeThemeForm;

// ---------------------------------------------------------------------------------
// Help files

// Every WinHelp call of the module goes through here (the system's WinHelpA by
// default); tests replace it.
using TWinHelpProc = BOOL (*)(HWND Owner, const char* HelpFile, UINT Command, ULONG_PTR Data);
extern TWinHelpProc WinHelpProc;

// Where the help files are. An empty field takes its default: the host executable's
// folder + "Help\", and this module's file name (the DLL's, or a test program's).
struct THelpLocation {
  AnsiString Folder;
  AnsiString ModuleFileName;
};
extern THelpLocation HelpLocation;

// The help folder, with a trailing backslash.
AnsiString HelpFolder();
// The module help file: the module's file name with the extension ".hlp".
AnsiString ModuleHelpFile();
// The control help file: the module help file with "wth" before ".hlp".
AnsiString ControlHelpFile();
// Another module's help file: its file name with the extension ".hlp".
AnsiString ModuleHelpFileOf(const AnsiString& ModuleFileName);
// The master help file, "Velhub.hlp".
AnsiString MasterHelpFile();

// Reads the ".id" map beside HelpFile into Ids (key, and the value as the string's
// object) and Topics. A line is "Key=Number" (a value that is not a number, or a
// negative one, counts as 0) or "Key=Text,Topic": the text after the first "," is a
// topic key, appended to Topics, and Key maps to -(its index + 1). Lines without "="
// are skipped. After a load that added a key, Ids is sorted (lookups ignore letter
// case). A missing file adds nothing.
void LoadHelpIdFile(const AnsiString& HelpFile, TStringList* Ids, TStrings* Topics);
// The same for the lines of a map already read.
void ReadHelpIdLines(const TStrings* Lines, TStringList* Ids, TStrings* Topics);
// The value Ids holds for a key, as LoadHelpIdFile stored it.
int HelpIdValue(const TStringList* Ids, int Index);

// How many topic references a lookup follows from module to module before it gives
// up (a cycle between ".id" maps ends there).
inline constexpr int MaxHelpTopicDepth = 8;

// The context of Key ("Dlg_" + Qualifier + "_" + Key with a qualifier) in Ids,
// loading Ids and Topics from HelpFile's map first while Ids is empty. A topic
// reference is looked up in the module help that the host names for it; HelpFile then
// becomes that module's help file. 0 when nothing is found.
int LookupHelpContext(const AnsiString& Key, const AnsiString& Qualifier, AnsiString& HelpFile,
                      TStrings* Topics, TStringList* Ids);
// A topic key "Prefix:Name" in the help of the module that the host's
// GetHelpModuleName gives for it: its ".id" map is read afresh and searched for the
// topic with every ":" made "_". On success HelpFile becomes that module's help file.
// 0 when the host knows no module, its help file is missing, or nothing is found.
int LookupTopicInModuleHelp(const AnsiString& Topic, AnsiString& HelpFile);

// ---------------------------------------------------------------------------------
// Help containers

// Forms and frames are help containers. Other classes join them here: tab sheets,
// and tab controls, whose help is that of their active page.
using THelpActivePageFunc = TWinControl* (*)(TWinControl* TabControl);
void RegisterHelpContainerClass(TClass Class);
void RegisterHelpTabControlClass(TClass Class, THelpActivePageFunc ActivePage);
void UnregisterHelpContainerClass(TClass Class);
bool IsHelpContainer(const TControl* Control);

// ---------------------------------------------------------------------------------
// Dialogs

class TFormWithHelp : public TForm {
  TCLASS_DECL(TFormWithHelp, TForm)
 public:
  explicit TFormWithHelp(TComponent* AOwner);
  TFormWithHelp(TComponent* AOwner, TCreateNew);
  ~TFormWithHelp() override;

  // The help maps, loaded on first use: the module help's for forms and frames, the
  // control help's for other containers and popups.
  TStringList* DialogHelpIds() const { return FDialogHelpIds; }
  TStringList* DialogHelpTopics() const { return FDialogHelpTopics; }
  TStringList* ControlHelpIds() const { return FControlHelpIds; }
  TStringList* ControlHelpTopics() const { return FControlHelpTopics; }
  // Set by F1; the next WM_HELP then shows no popup and clears it.
  bool F1Handled() const { return FF1Handled; }
  void SetF1Handled(bool Value) { FF1Handled = Value; }
  bool HelpEnabled() const { return FHelpEnabled; }
  void SetHelpEnabled(bool Value) { FHelpEnabled = Value; }

  // F1 on Control: the help topic of the nearest container that has one (the
  // dialog's own at last) in the host's application window; popup 1 of the master
  // help file at the cursor when there is none.
  virtual void ShowHelpForControl(TControl* Control);
  // The help button on ItemWindow at Position (x in the low word, y in the high
  // word): the popup of the control from the control help's map, or popup 1 of the
  // master help file when it has none.
  void ShowPopupHelp(HWND ItemWindow, DWORD Position);
  // The first container child of Parent (depth first through first container
  // children) that has a help context; nullptr when Parent has no container child.
  TWinControl* FindHelpContainerChild(TWinControl* Parent);
  // The help context of a container ("Dlg_" + its name); HelpFile is the file the
  // context belongs to.
  int LookupControlHelp(TWinControl* Container, AnsiString& HelpFile);

  void Dispatch(TMessage& Message) override;

 private:
  void CMChildKey(TMessage& Message);
  void WMHelp(TMessage& Message);
  int LookupPopupContext(const AnsiString& Key, TWinControl* Container, const AnsiString& ClassKey,
                         AnsiString& HelpFile);

  TStringList* FDialogHelpIds = NewObject<TStringList>();
  TStringList* FDialogHelpTopics = NewObject<TStringList>();
  TStringList* FControlHelpIds = NewObject<TStringList>();
  TStringList* FControlHelpTopics = NewObject<TStringList>();
  bool FF1Handled = false;
  bool FHelpEnabled = true;
};

// Every dialog of the module. Made with its form files, it is centred on the active
// monitor. Its window has the context-help button style and is owned by the host's
// main window (the application's window when there is no host client). When it is
// shown with a Position other than poDesigned, it stays where it is and is shown with
// the command of its window state (OnShow first: an exception there is handled and
// the window is shown all the same).
//
// The dialog is themed by the kit (Rt_forms_Theme.cpp): at Loaded it finds or makes a
// theme engine and a themed frame among its components, gives the engine the visual-
// styles painter (the atlas painter on systems before visual styles), and hands the
// engine to every control with a "ThemeEngine" property, also to controls inserted
// later. The dialog keeps its client size.
class TServerDialog : public TFormWithHelp {
  TCLASS_DECL(TServerDialog, TFormWithHelp)
 public:
  explicit TServerDialog(TComponent* AOwner);
  TServerDialog(TComponent* AOwner, TCreateNew);
  void AfterConstruction() override;

  // Found or made at Loaded; nullptr before.
  TTeThemeEngine* ThemeEngine() const { return FThemeEngine; }
  TTeThemeForm* ThemeForm() const { return FThemeForm; }
  // The themed frame's caption buttons: close and help.
  virtual TKsBorderIcons ThemeBorderIcons();
  // Component and everything below it (child controls, owned components): the
  // dialog's engine into a published "ThemeEngine" property; a label in gray text
  // becomes dark shadow in "Arial".
  void ApplyDialogTheme(TComponent* Component);

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void ShowingChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetupDialogTheme();

  bool FCreateNew = false;
  TTeThemeEngine* FThemeEngine = nullptr;
  TTeThemeForm* FThemeForm = nullptr;
};

// After a control is inserted anywhere below a dialog (the class library's insertion
// hook): a frame takes the painter's colour 11, then the dialog themes the control.
void ThemedInsertControl(TControl* Control);

// ---------------------------------------------------------------------------------
// Placement

// The top-left corner that centres a Width x Height window on Monitor.
TPoint CentredOnMonitor(const TRect& Monitor, int Width, int Height);
// The top-left corner of a file dialog on Monitor: centred across, a third of the
// free height from the top.
TPoint FileDialogPosition(const TRect& Monitor, int Width, int Height);

// Moves Form to the middle of the monitor of the active window, keeping its size;
// no move when there is no active window.
void CentreOnActiveMonitor(TCustomForm* Form);
// Moves Window to FileDialogPosition on Monitor; size, z-order and activation stay.
void PlaceFileDialog(HWND Window, HMONITOR Monitor);

// The hooks this unit installs in the class library (public for tests):
// a message dialog is centred on the active monitor and shown with its state's
// command; a file dialog is placed on the remembered monitor when its initialisation
// is done; the monitor nearest to the active window is remembered before a file
// dialog runs.
bool MessageDialogShowing(TCustomForm* Form);
bool FileDialogHook(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR& Result);
void RememberDialogMonitor(HWND Owner);
// The monitor remembered for the next file dialog (nullptr before any).
HMONITOR RememberedDialogMonitor();

// Unit start and end: installs the hooks (keeping what was there), the insertion hook
// included, and makes the kit's tab sheets and tab controls help containers; the end
// undoes both.
void InitRtForms();
void DoneRtForms();
