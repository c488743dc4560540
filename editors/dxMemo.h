// The memo editor: the text editor's rich edit window switched to several lines, with
// its own scroll bars, word wrap, Enter and Tab rules, and a string list over the lines
// of that window.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/StringLists.h"
#include "editors/dxEditor.h"
#include "editors/dxWrapGuard.h"

class TdxInplaceMemoEdit;

// A line of a text as a memo's control numbers them: the offset of its first character
// and its length without its line break.
struct TdxTextLine {
  std::size_t Start;
  std::size_t Length;
};

// The lines of a memo editor. The list keeps no strings: every call is an edit-control
// message on the editor's window, and line numbers are the control's; while the memo
// holds a value its window shows part of, every call answers from that value or changes
// it. An empty last line (a text ending in a line break) is not counted.
class TdxMemoStrings : public TStrings {
  TCLASS_DECL(TdxMemoStrings, TStrings)
 public:
  explicit TdxMemoStrings(TdxInplaceMemoEdit* AMemo) : FMemo(AMemo) {}

  TdxInplaceMemoEdit* Memo() const { return FMemo; }

  // A whole list is given at once, as the text it makes: the memo takes all of it or,
  // when it cannot hold it, raises and keeps its own.
  void Assign(TPersistent* Source) override;
  void AddStrings(const TStrings* Strings) override;

  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  int GetCount() const override;
  // At the line after the last one the text goes after that line's end; nothing
  // happens when that line is empty.
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;
  // While the memo holds a value, exchanged or moved at once, all or nothing.
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

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
  // Whether the memo holds a value its window shows part of: the lines are then the
  // value's own, every line break ending one, and each change is made to the whole
  // value (Edit, false when it does nothing), which the memo takes or refuses whole.
  bool Held() const;
  void SetHeldText(const std::function<bool(AnsiString&)>& Edit);
  // The lines of the value held, kept while the same value is held.
  const std::vector<TdxTextLine>& HeldLines() const;

  TdxInplaceMemoEdit* FMemo;
  mutable std::vector<TdxTextLine> FHeldLines;
  mutable unsigned FHeldLinesOf = 0;
};

class TdxInplaceMemoEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TdxInplaceMemoEdit, TdxInplaceTextEdit)
 public:
  explicit TdxInplaceMemoEdit(TComponent* AOwner);
  ~TdxInplaceMemoEdit() override;

  bool HideScrollBars() const { return FHideScrollBars; }
  void SetHideScrollBars(bool Value);
  TdxMemoStrings* Lines() const { return FLines; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  // See SetWordWrap.
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  // A change that leaves the control unable to hold the text (a tab it cannot place:
  // unwrapped, a tab lies along its whole line; or a text that no wrapping width holds)
  // fails with EInvalidOperation (SMemoTextTooLong), and the memo keeps its setting and
  // its text; so does a horizontal scroll bar, which keeps the control from wrapping.
  void SetWordWrap(bool Value);
  // The width, in pixels, the control wraps a text too long for its window at; 0 while
  // it wraps at its window.
  int WrapWidth() const { return FWrapGuard.Width(); }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }

  // A value is kept whole, or refused with EInvalidOperation (see WrapGuarded).
  void SetEditValue(const Variant& Value) override;
  // The selected part of Text, its line breaks CR LF as there: the control ends each
  // paragraph of its selection with a CR alone.
  void GetSelText(AnsiString& Text) override;
  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 protected:
  bool HasDataLink() override { return false; }
  bool MultiLine() const override { return true; }
  bool WantTabChar() override { return FWantTabs; }
  void AfterActivate() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The control, wrapping or not, holds Text in the memo's font: a text no wrapping
  // width holds, or a tab it cannot place, is refused without a window, as the window
  // would refuse it.
  bool WindowHolds(const AnsiString& Text) override;
  // Too many tabs to lay out in good time, or no wrapping width holds it (or a tab of
  // it too far along its line).
  const char* TextRefusal(const AnsiString& Text) const override;

 private:
  // True while the selection covers the whole text.
  bool WholeTextSelected();
  // With word wrap, the user's own typing or pasting, or a deletion of a line break,
  // that leaves a text word wrap could not draw within the wrap guard's budget at the
  // window's width is refused whole, with a beep: the old text stays and the message
  // answers 0. A deletion inside a paragraph, a line break typed, and a program's text
  // (Text, the Lines, a loaded value, the text the window is made with) are kept: the
  // control wraps them wider than the window where it must. A program's text that no
  // width can hold is refused: the message answers 0 and the call that gave it raises
  // EInvalidOperation (GuardRefusal). With word wrap or without, a text holding a tab
  // the control cannot place, or too many tabs, is refused the same way, the user's
  // with a beep.
  // False when the message is not handled here.
  bool WrapGuarded(TMessage& Message);
  // Holds Text, the window showing the longest start of it the control holds in Font.
  void ShowHeld(const AnsiString& Text, HFONT Font);
  // A new font while a value is held: the window shows the value whole in it, or, for a
  // host, as much of it as the control holds in it; a program's font in which the
  // control still cannot hold the value is refused with EInvalidOperation.
  void HeldFont(TMessage& Message);
  // Whether the control wraps its lines with these settings.
  static bool Wraps(bool WordWrap, TScrollStyle ScrollBars);
  // Raises EInvalidOperation (TextRefusal) when the control could not hold the text in
  // the memo's font with these settings: too many tabs, a tab it could not place, or,
  // wrapping, a text no wrapping width holds.
  void KeepTextHeld(bool WordWrap, TScrollStyle ScrollBars);
  // Whether the last text change was a program's that the wrap guard refused; cleared.
  bool TakeTextRefused() { return std::exchange(FTextRefused, false); }
  // The message of the last text change refused (SMemoTooManyTabs or SMemoTextTooLong).
  const char* GuardRefusal() const { return FWrapGuard.RefusedTabs() ? SMemoTooManyTabs : SMemoTextTooLong; }
  // A resize, a move of the window or a new font keeps the wrapping width the text
  // needs (see TdxWrapGuard::GuardMove).
  void WMSize(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetFont(TMessage& Message);

  bool FHideScrollBars = true;
  TdxMemoStrings* FLines = nullptr;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TdxWrapGuard FWrapGuard;
  bool FLoadingValue = false;
  bool FPasting = false;
  // Set by a program's text change refused, until the next message.
  bool FTextRefused = false;

  friend class TdxMemoStrings;
};
