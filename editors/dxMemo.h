// The memo editor: the text editor's rich edit window switched to several lines, with
// its own scroll bars, word wrap, Enter and Tab rules, and a string list over the lines
// of that window.
#pragma once

#include <windows.h>

#include "classlib/Controls.h"
#include "classlib/StringLists.h"
#include "editors/dxEditor.h"
#include "editors/dxWrapGuard.h"

class TdxInplaceMemoEdit;

// The lines of a memo editor. The list keeps no strings: every call is an edit-control
// message on the editor's window, and line numbers are the control's. An empty last
// line (a text ending in a line break) is not counted.
class TdxMemoStrings : public TStrings {
  TCLASS_DECL(TdxMemoStrings, TStrings)
 public:
  explicit TdxMemoStrings(TdxInplaceMemoEdit* AMemo) : FMemo(AMemo) {}

  TdxInplaceMemoEdit* Memo() const { return FMemo; }

  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  int GetCount() const override;
  // At the line after the last one the text goes after that line's end; nothing
  // happens when that line is empty.
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;

 protected:
  AnsiString GetTextStr() const override;
  // Line breaks become CR LF; a text equal to the window's is not set again, so the
  // modified state stays.
  void SetTextStr(const AnsiString& Value) override;
  void SetUpdateState(bool Updating) override;

 private:
  HWND Window() const;
  LRESULT Send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const;
  void ReplaceRange(int Start, int End, const AnsiString& S) const;

  TdxInplaceMemoEdit* FMemo;
};

inline constexpr const char* SMemoTextTooLong = "Text exceeds memo capacity";

class TdxInplaceMemoEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TdxInplaceMemoEdit, TdxInplaceTextEdit)
 public:
  explicit TdxInplaceMemoEdit(TComponent* AOwner);
  ~TdxInplaceMemoEdit() override;

  bool HideScrollBars() const { return FHideScrollBars; }
  void SetHideScrollBars(bool Value);
  TdxMemoStrings* Lines() const { return FLines; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }

  // A value is never refused (see WrapGuarded).
  void SetEditValue(const Variant& Value) override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 protected:
  bool HasDataLink() override { return false; }
  bool WantTabChar() override { return FWantTabs; }
  void AfterActivate() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  // True while the selection covers the whole text.
  bool WholeTextSelected();
  // A text set, pasted or typed that word wrap could not draw within the wrap guard's
  // budget at the window's width is refused whole, with a beep: the old text stays and
  // the message answers 0 (a set text: false). The text the window is made with and a
  // value loaded (SetEditValue, or a text set while the host's container flag is
  // raised) are never refused: the control wraps them wider than the window instead,
  // and what would lengthen them is refused. False when the message is not handled
  // here.
  bool WrapGuarded(TMessage& Message);
  // A resize or a new font keeps the wrapping width the text needs.
  void WMSize(TMessage& Message);
  void WMSetFont(TMessage& Message);

  bool FHideScrollBars = true;
  TdxMemoStrings* FLines = nullptr;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TdxWrapGuard FWrapGuard;
  bool FCreatingWindow = false;
  bool FLoadingValue = false;
};
