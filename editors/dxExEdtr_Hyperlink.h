// The hyperlink editor: a text editor whose text is a link target, shown underlined in
// the link colour with a hand cursor. A click (in a grid, or with SingleClick), a
// double click or the start key opens it: OnStartClick when assigned, else the shell,
// which is handed only web and mail addresses and existing documents that are not
// programs.
#pragma once

#include <windows.h>

#include "classlib/Menus.h"
#include "editors/dxEditor.h"

// The shell's open call, replaceable by tests (the real one may show a modal box).
using TShellExecuteProc = HINSTANCE(WINAPI*)(HWND Window, LPCSTR Operation, LPCSTR File, LPCSTR Parameters,
                                             LPCSTR Directory, INT ShowCommand);
extern TShellExecuteProc ShellExecuteProc;

// Whether a link's text may go to the shell: an http, https, ftp or mailto address, or
// an existing file of a type the shell neither runs nor installs (a fixed list of
// programs, scripts, shortcuts, packages and system settings, whatever PATHEXT says,
// and the types PATHEXT adds). Leading and trailing blanks are ignored.
bool IsOpenableLink(const AnsiString& Text);

class TdxHyperLinkEditViewData : public TdxTextEditViewData {
  TCLASS_DECL(TdxHyperLinkEditViewData, TdxTextEditViewData)
 public:
  bool HandCursor = false;
};

class TdxInplaceHyperLinkEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TdxInplaceHyperLinkEdit, TdxInplaceTextEdit)
 public:
  explicit TdxInplaceHyperLinkEdit(TComponent* AOwner);
  ~TdxInplaceHyperLinkEdit() override;

  // ----- Class operations.
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);
  // The hand over a link that a click opens.
  static TCursor GetCursor(MetaType::TSelf Self, int X, int Y, TdxEditViewData* ViewData);

  TColor LinkColor() const { return FLinkColor; }
  void SetLinkColor(TColor Value);
  // The editor's font, underlined, in the link colour (made on first use).
  TFont* LinkFont();
  bool SingleClick() const { return FSingleClick; }
  void SetSingleClick(bool Value) { FSingleClick = Value; }
  TShortCut StartKey() const { return FStartKey; }
  void SetStartKey(TShortCut Value) { FStartKey = Value; }

  // Opens the link: OnStartClick when assigned, else the shell (a blank text does
  // nothing, a text the shell may not be handed beeps).
  virtual void DoStart();

  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void HostMouseUp() override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnStartClick;

 protected:
  void AfterActivate() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  bool ClickStarts();
  // Starts the link unless this click or double click already has.
  void StartOnce();
  void UpdateLinkFont();
  void ApplyLinkFormat();

  TColor FLinkColor = static_cast<TColor>(0xFF0000);
  TFont* FLinkFont = nullptr;
  bool FSingleClick = false;
  TShortCut FStartKey = 0;
  // Set once a release, double click or forwarded release of the current press has
  // started the link; a new press on the editor, or a forwarded release, clears it.
  bool FStartedThisClick = false;
};

// The published parts of the hyperlink editor.
void InitdxHyperLinkEdit();
void DonedxHyperLinkEdit();
