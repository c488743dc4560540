// What a word-wrapping rich edit control can hold safely.
//
// The control wraps a paragraph by measuring, for every row it makes, the whole rest of
// that paragraph: one long paragraph costs its length times its rows, in time and in
// the system's text-measuring memory. About 40,000 characters in one paragraph of a
// memo of the default width exhaust the process's address space inside those calls,
// and a narrower control reaches that with a shorter paragraph. The guard keeps every
// paragraph within a budget of characters times rows: its owner refuses a text that
// would need a wider wrapping width than the control's text area, and the guard keeps
// the control wrapping no narrower than the text it holds needs where nothing can be
// refused (a window made with its text, a window made narrower): the control then wraps
// wider than its window instead of measuring past the budget.
#pragma once

#include <windows.h>

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
  // character. False for every other message.
  static bool ResultingText(HWND Window, const TMessage& Message, AnsiString& Text);

  // Around a change that has Window wrap a text needing Needed pixels in a text area
  // of Area pixels: a wider wrapping width is taken before the control wraps, the
  // window's own width again after it, once the text fits the area.
  void BeforeWrap(HWND Window, int Needed, int Area);
  void AfterWrap(HWND Window, int Needed, int Area);
  // A new window wraps at its own width.
  void WindowCreated();

 private:
  // The device the control measures for while it wraps wider than its window.
  HDC FTarget = nullptr;
  bool FWidened = false;
};
