// What a word-wrapping rich edit control can hold safely.
//
// For every row the control wraps it measures the rest of that row's paragraph, and
// the system's text measuring leaves memory behind that stays while the text is shown:
// a paragraph costs about its length times its rows, some 10 to 25 bytes each, and the
// paragraphs of a text add up. Past what the process can still give it the control
// fails with an access violation, and in a process that has held long texts before,
// a text costing 8 million in all was seen to: every paragraph needs only to be short
// enough for its width, so a text of many such paragraphs gets there as well. The rows
// are the control's own: a word goes on a new row when it does not fit with its blanks,
// and a narrow window makes a row of each short word and breaks every longer one, which
// gives many more rows than the text's width over the window's.
//
// The guard keeps the whole text within a budget of characters times rows, well below
// that: it refuses a text that would cost more at the control's width, and keeps the
// control wrapping no narrower than the text it holds needs where its owner refuses
// nothing (a window made with its text, a loaded value, a window made narrower, a
// larger font): the control then wraps wider than its window instead.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Controls.h"

class TdxWrapGuard {
 public:
  // The characters times rows, summed over the paragraphs, that a text may cost: half
  // of the least seen to fail.
  static constexpr long long Budget = 4000000;

  TdxWrapGuard() = default;
  TdxWrapGuard(const TdxWrapGuard&) = delete;
  TdxWrapGuard& operator=(const TdxWrapGuard&) = delete;
  ~TdxWrapGuard();

  // Whether Text, drawn in Font and wrapped Width pixels wide, keeps within the budget.
  static bool Fits(HFONT Font, const AnsiString& Text, int Width);
  // The narrowest wrapping width, in pixels, at which Text keeps within the budget when
  // drawn in Font; 0 when any width does.
  static int NeededWidth(HFONT Font, const AnsiString& Text);
  // The width the rich edit control Window wraps its text at: its text area less what
  // the selection bar keeps.
  static int AreaWidth(HWND Window);
  // The text that Message would leave in the control Window: WM_SETTEXT's, or the
  // control's with the selection replaced by EM_REPLACESEL's text or a typed
  // character, or deleted by a cut, a clear, Backspace or Delete (none of these in a
  // read-only control). False for every other message.
  static bool ResultingText(HWND Window, const TMessage& Message, AnsiString& Text);

  // A message that changes the text of the word-wrapping control Window, which draws
  // in Font (ResultingText's): a text that needs a wider wrapping width than the text
  // area is refused with a beep when MayRefuse (the message answers 0); otherwise
  // Handle, the control's handling, runs inside the wrapping width the text needs.
  // False, and nothing done, for any other message.
  bool Guard(HWND Window, HFONT Font, TMessage& Message, bool MayRefuse, const std::function<void()>& Handle);
  // An undo or a redo (EM_UNDO, WM_UNDO, EM_REDO, or Ctrl+Z or Ctrl+Y held down) of
  // Window, made by Handle: what it brings back is known only after it, so the control
  // wraps it at a width no text needs to be refused for, then as wide as the text
  // needs. It brings back a text the control held before, and refuses nothing. False,
  // and nothing done, for any other message.
  bool GuardUndo(HWND Window, HFONT Font, const TMessage& Message, const std::function<void()>& Handle);
  // A resize of Window, holding Text, to a client area ClientWidth pixels wide, made
  // by Handle: the control never wraps Text narrower than it needs.
  void GuardResize(HWND Window, HFONT Font, const AnsiString& Text, int ClientWidth,
                   const std::function<void()>& Handle);
  // A new window wraps at its own width.
  void WindowCreated() { FWidened = false; }

 private:
  // 0 when Text keeps within the budget wrapped Area pixels wide; else the wider width
  // it needs.
  static int WrapWidth(HFONT Font, const AnsiString& Text, int Area);
  // The pixels the selection bar of Window keeps at the left of its text area.
  static int SelectionOffset(HWND Window);
  // Around a change that has Window wrap a text needing Needed pixels in a text area
  // of Area pixels: a wider wrapping width is taken before the control wraps, the
  // window's own width again after it, once the text fits the area.
  void BeforeWrap(HWND Window, int Needed, int Area);
  void AfterWrap(HWND Window, int Needed, int Area);

  // The device the control measures for while it wraps wider than its window.
  HDC FTarget = nullptr;
  bool FWidened = false;
  bool FBackKeyRefused = false;
};
