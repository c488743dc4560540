// What a word-wrapping rich edit control can hold safely.
//
// The control wraps a paragraph by measuring, for every row it makes, the whole rest of
// that paragraph: one long paragraph costs its length times its rows, in time and in
// the system's text-measuring memory. About 40,000 characters in one paragraph of a
// memo of the default width exhaust the process's address space inside those calls,
// and a narrower control reaches that with a shorter paragraph. The guard keeps every
// paragraph within a budget of characters times rows: it refuses a text that would
// need a wider wrapping width than the control's text area, and keeps the control
// wrapping no narrower than the text it holds needs where its owner refuses nothing (a
// window made with its text, a loaded value, a window made narrower, a larger font):
// the control then wraps wider than its window instead of measuring past the budget.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Controls.h"

class TdxWrapGuard {
 public:
  // The characters times rows one paragraph may cost.
  static constexpr long long Budget = 8000000;

  TdxWrapGuard() = default;
  TdxWrapGuard(const TdxWrapGuard&) = delete;
  TdxWrapGuard& operator=(const TdxWrapGuard&) = delete;
  ~TdxWrapGuard();

  // The narrowest wrapping width, in pixels, at which every paragraph of Text keeps
  // within the budget when drawn in Font; 0 when any width does.
  static int NeededWidth(HFONT Font, const AnsiString& Text);
  // The width of the text area of the rich edit control Window.
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
