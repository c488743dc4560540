// What a word-wrapping rich edit control can hold safely.
//
// For every row the control wraps it shapes the rest of that row's paragraph, and each
// row keeps the buffers it was shaped with while the text is shown: a paragraph costs
// about its length times its rows, some 15 to 50 bytes each, and the paragraphs of a
// text add up. When an allocation fails on the way the control writes through a null
// pointer. The rows are the control's own: a word goes on a new row when it does not fit
// with its blanks, and a narrow window makes a row of each short word and breaks every
// longer one, which gives many more rows than the text's width over the window's.
//
// The guard keeps the whole text within a budget of characters times rows. The control
// wraps what it holds again whenever its wrapping width changes, so a width is never
// taken before a change that suits only the text after it: while a text, a size or a
// font changes, the control wraps no narrower than it does now nor than the new state
// needs, and only once the change is made as wide as that state needs (the width of the
// window when it fits there). A text the user types or pastes, or a line break the user
// deletes, that the window's width cannot hold is refused with a beep; a deletion inside
// a paragraph or a line break typed always goes through. Any other text (a program's,
// a loaded value, the text a window is made with) is wrapped wider than the window
// where it must, and refused only when no width can hold it.
//
// The control places a tab by walking every tab stop from the start of its row, in
// twips held in 32 bits times the screen's resolution: past INT_MAX / 1440 pixels (about
// 1.49 million) that walk never ends. And it keeps every tab as a run of its own, and
// finds runs by walking the runs before them: a text holding tabs takes the control
// longer to set and to clear the more runs and paragraphs it has, much faster than they
// grow (a table of 100 rows of 100 columns, seconds; 5,000 rows of one tab, ten; a
// paragraph of 100,000 tabs, minutes), as TabCost measures. A text holding a tab that
// far along its row, or costing past TabBudget, is refused the same way, the user's with
// a beep, whether the control wraps or not.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Controls.h"

// The message of a program's text that no wrapping width can hold.
inline constexpr const char* SMemoTextTooLong = "Text exceeds memo capacity";
// The message of a program's text whose tabs the control would take too long to lay
// out (TabCost past TabBudget).
inline constexpr const char* SMemoTooManyTabs = "Text has too many tabs for the memo to lay out";

class TdxWrapGuard {
 public:
  // The characters times rows, summed over the paragraphs, that a text may cost: some
  // 200 MB of the control's buffers at most.
  static constexpr long long Budget = 4000000;
  // The most rows of its wrapping a change may have the control delete. The control
  // deletes a text a run at a time from its end, finding each run by a walk from the
  // text's start, and every row it wraps splits a run: a deletion costs about its rows
  // times the rows before its end. A change that would delete more rows than this is
  // made while the control wraps at WidestRow, where a paragraph takes few rows.
  static constexpr int DeletedRows = 1000;
  // The widest wrapping width, in pixels, the control is ever asked for: its measures
  // in twips overflow past about 1.4 million.
  static constexpr int WidestWrap = 1 << 20;
  // The widest wrapping width at which the control wraps as measured, for Font: no row
  // can hold 65,536 characters. The control numbers a row's glyphs in 16 bits, and
  // breaks a longer row at the wrong places, into more rows than measured.
  static int WidestRow(HFONT Font);

  TdxWrapGuard() = default;
  TdxWrapGuard(const TdxWrapGuard&) = delete;
  TdxWrapGuard& operator=(const TdxWrapGuard&) = delete;
  ~TdxWrapGuard();

  // The characters times rows, summed over the paragraphs, of Text drawn in Font and
  // wrapped Width pixels wide.
  static long long Cost(HFONT Font, const AnsiString& Text, int Width);
  // Whether Text, drawn in Font and wrapped Width pixels wide, keeps within the budget.
  static bool Fits(HFONT Font, const AnsiString& Text, int Width);
  // The farthest, in pixels, the guard lets a tab lie from the start of its row: well
  // short of where the control's placing of it never ends.
  static constexpr int FarthestTab = 1000000;
  // What the control takes to set Text and to clear it again, in a control that wraps
  // its lines (Wrapped) or not, as a part of what it takes for the reference: one
  // paragraph of 3,000 tabs between short numbers (about 1.4 s on an 8-core machine).
  // Measured over texts of 1 to 6,000 rows of 1 to 3,000 tabs at the memo's widths, over
  // rows of other lengths and contents mixed in, and over tables of numbers, decimals,
  // words, punctuation between letters and empty cells (bench/editors_memo.cpp holds the
  // grid), within a factor of two: the runs that tabs and their cells make and the
  // paragraphs holding them, to the power 2.5 (a tab between empty cells makes less of
  // a run, a punctuation mark beside a letter or a digit more); each paragraph's cells
  // and tabs squared, and the digits and such marks of a paragraph squared (the control
  // keeps numbers, and the pieces punctuation splits words into, in runs of their own);
  // each tab times each paragraph without tabs; the length. A text whose tabs add less
  // than a twentieth of the reference to it costs that (a tab in a long text of rows is
  // not what makes it slow: rows without tabs cost the same among rows with tabs as
  // without them); 0 for a text without tabs.
  static double TabCost(const AnsiString& Text, bool Wrapped);
  // The most TabCost a text may have: every text measured that the control set and
  // cleared in half the reference's time is within it, and none that took longer than
  // the reference.
  static constexpr double TabBudget = 0.66;
  // The most TabCost of the part of a value shown while the control cannot hold it
  // whole (LongestTaken): what the control takes over an odd start of a text, cut inside
  // a row, strays from TabCost more than over whole rows, and opening such a value
  // stays well within the reference's time.
  static constexpr double HeldTabBudget = TabBudget / 2;
  // Whether the control can place every tab of Text drawn in Font, and in good time: its
  // tabs keep within TabBudget, and none lies past FarthestTab along whole lines, or
  // when it wraps (Wrapped) in rows up to WidestRow wide. A wrapped row breaks before a
  // word or a tab that does not fit, but keeps every blank after its last word: a tab
  // after a long run of blanks lies far along its row.
  static bool PlacesTabs(HFONT Font, const AnsiString& Text, bool Wrapped);
  // Whether the rich edit control Window wraps its lines: several lines, neither
  // scrolling sideways as the caret moves nor with a horizontal scroll bar.
  static bool Wraps(HWND Window);
  // Whether a control that wraps its lines (Wrapped) or not can hold Text drawn in
  // Font: it places every tab, and, wrapping, some width up to WidestRow keeps the text
  // within the budget. Unwrapped, a text costs a row a paragraph whatever its length.
  // Counting its tabs is cheap, measuring its rows is not: a text of too many tabs is
  // refused before it is measured.
  static bool Takes(HFONT Font, const AnsiString& Text, bool Wrapped) {
    return !TooManyTabs(Text, Wrapped) && (!Wrapped || Fits(Font, Text, WidestRow(Font))) &&
           PlacesTabs(Font, Text, Wrapped);
  }
  // Whether Text costs a control that wraps (Wrapped) or not past TabBudget.
  static bool TooManyTabs(const AnsiString& Text, bool Wrapped) { return TabCost(Text, Wrapped) > TabBudget; }
  // The message a memo refuses a program's Text with, in a control that wraps (Wrapped)
  // or not: too many tabs, or a text no width holds (or with a tab out of reach).
  static const char* MemoRefusal(const AnsiString& Text, bool Wrapped) {
    return TooManyTabs(Text, Wrapped) ? SMemoTooManyTabs : SMemoTextTooLong;
  }
  // Whether the last text change guarded was refused for its tabs' cost.
  bool RefusedTabs() const { return FRefusedTabs; }
  // Whether the rich edit control Window, holding Text, can take Font. A font that puts
  // a tab too far along would hang it, and one in which no width keeps the text within
  // the budget would wrap it past it.
  static bool TakesFont(HWND Window, HFONT Font, const AnsiString& Text) { return Takes(Font, Text, Wraps(Window)); }
  // The length of the longest start of Text a control that wraps its lines (Wrapped) or
  // not takes in Font, within HeldTabBudget: a value it cannot hold is shown that far.
  static std::size_t LongestTaken(HFONT Font, const AnsiString& Text, bool Wrapped);
  // Whether some wrapping width up to WidestRow keeps Text within the budget, with
  // every tab placed.
  static bool Holds(HFONT Font, const AnsiString& Text) { return Takes(Font, Text, true); }
  // The narrowest wrapping width, in pixels, at which Text keeps within the budget when
  // drawn in Font; 0 when any width does, WidestRow when none does.
  static int NeededWidth(HFONT Font, const AnsiString& Text);
  // The width the rich edit control Window wraps its text at: its text area less what
  // the selection bar keeps; or, given Rect, the width it would wrap at in that text area.
  static int AreaWidth(HWND Window);
  static int AreaWidth(HWND Window, const RECT& Rect);
  // What Message would leave of the text of the control Window: WM_SETTEXT's whole
  // text, or the paragraphs that the selection replaced by EM_REPLACESEL's text or a
  // typed character, or deleted by a cut, a clear, Backspace or Delete (none of these
  // in a read-only control), touches, as the change leaves them; the other paragraphs
  // stay as they are. False for every other message.
  static bool ChangedText(HWND Window, const TMessage& Message, AnsiString& Text);
  // A message that changes the text of the control Window, which draws in Font: a
  // WM_SETTEXT, an EM_REPLACESEL, a typed character, or a cut, a clear, Backspace or
  // Delete (none of these in a read-only control), made by Handle, the control's
  // handling. Any change that leaves a tab the control cannot place is refused, with a
  // beep when it is the user's (UserChange). When the control word-wraps within the
  // budget (WordWrap), the user's own change that adds to the text is refused with a
  // beep when the text area cannot hold the text it leaves, and any change when no
  // width can hold it; otherwise a whole text is wrapped as wide as it needs, and a
  // change of a few paragraphs keeps the width the control wraps at while the text fits
  // there, or moves it to one at which the text costs at most half the budget where one
  // does. Only the paragraphs a change touches are measured. A refused message answers
  // 0 and Refused() tells so until the next message guarded. False, and nothing done,
  // for any other message.
  bool Guard(HWND Window, HFONT Font, TMessage& Message, bool UserChange, bool WordWrap,
             const std::function<void()>& Handle);
  // An undo or a redo (EM_UNDO, WM_UNDO or EM_REDO: the editors send their undo and
  // redo keys to the control as these, see EditKeyMessage) of Window, made by Handle:
  // what it brings back is known only after it, so the control wraps it at WidestRow,
  // then as wide as the text needs. It brings back a text the control held before, and
  // refuses nothing. False, and nothing done, for any other message.
  bool GuardUndo(HWND Window, HFONT Font, const TMessage& Message, const std::function<void()>& Handle);
  // The control wraps its text again whenever its text area changes, and as soon as it
  // does: a window moved to a new size moves the text area by as much as its client area
  // changed (at WM_WINDOWPOSCHANGED, before WM_SIZE comes), and a scroll bar shown or
  // hidden does the same to it. So the guard notes the client area before every change of
  // the frame (NoteClient, at WM_NCCALCSIZE), and at WM_WINDOWPOSCHANGED (GuardMove)
  // foresees the text area from it; a narrow client area with a scroll bar kept shown may
  // leave no width at all, at which every character is a row.
  void NoteClient(HWND Window);
  void GuardMove(HWND Window, HFONT Font, const std::function<void()>& Handle);
  // A change of the control Window made by Handle after which it wraps its text in Font
  // in a text area Area pixels wide (a new font, or the editor's text area laid out at
  // WM_SIZE): while it changes, the control wraps no narrower than now nor than the text
  // needs in Area, and once it has, as wide as the text needs in the area it has.
  void GuardLayout(HWND Window, HFONT Font, int Area, const std::function<void()>& Handle);
  // Whether the last text change guarded was refused.
  bool Refused() const { return FRefused; }
  // The width the control wraps at while wider than its window; 0 while it wraps at it.
  int Width() const { return FWidth; }
  // A new window wraps at its own width.
  void WindowCreated() {
    FWidth = 0;
    FCosts.Known = false;
    FTabs.Known = false;
    FClientWidth = -1;
  }

 private:
  // A change Message asks of the control: the whole text (Whole), or the characters
  // Start to End replaced by Insert. Old is the text of the paragraphs the change
  // touches, from the control's character From, and Text what they become; Length is
  // the control's length after the change. Adds tells whether it inserts anything but
  // line breaks or deletes a line break, joining two paragraphs.
  struct TTextChange {
    bool Whole = false;
    LONG Start = 0;
    LONG End = 0;
    LONG From = 0;
    LONG Length = 0;
    AnsiString Insert;
    AnsiString Old;
    AnsiString Text;
    bool Adds = false;
  };
  // The characters times rows of the text the control holds, at the width it wraps at
  // (Wrapped), at its text area (Area) and at WidestRow (Widest), known while the
  // control's length, widths and font are those they were measured for: a change then
  // measures only the paragraphs it touches.
  struct TCosts {
    bool Known = false;
    LONG Length = 0;
    int Width = 0;
    int Area = 0;
    HFONT Font = nullptr;
    long long Wrapped = 0;
    long long AtArea = 0;
    long long Widest = 0;
  };
  // Decodes Message, a change of the text of the control Window; false for any other.
  static bool Decode(HWND Window, const TMessage& Message, TTextChange& Change);
  // The text Now becomes with Edit, a change of a few of its paragraphs.
  static AnsiString Spliced(const AnsiString& Now, const TTextChange& Edit);
  // The costs of Text in Font at the width the control wraps at, its Area and WidestRow.
  TCosts CostsOf(HFONT Font, const AnsiString& Text, int Area) const;
  // The narrowest wrapping width at which Text costs at most Limit in Font; 0 when any
  // width does, WidestRow when none does.
  static int NeededWidth(HFONT Font, const AnsiString& Text, long long Limit);
  // 0 when Text keeps within the budget wrapped Area pixels wide; else the wider width
  // it needs.
  static int WrapWidth(HFONT Font, const AnsiString& Text, int Area);
  // The pixels the selection bar of Window keeps at the left of its text area.
  static int SelectionOffset(HWND Window);
  // Has Window wrap Width pixels wide, or at its text area when Width is 0.
  void WrapAt(HWND Window, int Width);
  // Whether Edit, a change of a few paragraphs of the control Window, would take the
  // cost of its text's tabs past TabBudget, and higher than it is (a whole text is
  // judged by PlacesTabs). A text without tabs is read only when the change adds some.
  bool TabsPastBudget(HWND Window, const TTextChange& Edit);
  // Notes whether the control Window holds tabs after Edit went through.
  void NoteTabs(HWND Window, const TTextChange& Edit);
  // Whether Edit deletes more than DeletedRows rows of the control Window's wrapping.
  static bool DeletesManyRows(HWND Window, const TTextChange& Edit);
  // Around Handle, a change after which Window holds a text needing Needed pixels (0:
  // its text area then suffices): the control wraps no narrower than now nor than
  // Needed while it changes (at WidestRow for Font when the change deletes many rows,
  // Deletes), and as wide as Needed once it has; or, when the change moved the text
  // area (a scroll bar shown or hidden on the way), as wide as the text it holds then
  // needs, in Font, in the area it has.
  void Change(HWND Window, HFONT Font, int Needed, const std::function<void()>& Handle, bool Deletes = false);

  TCosts FCosts;
  // Whether the text the control holds has tabs (Any), known while its length is
  // Length: a change to a text without them that adds none needs no reading of it.
  struct TTabsSeen {
    bool Known = false;
    LONG Length = 0;
    bool Any = false;
  } FTabs;
  // The device the control measures for while it wraps wider than its window.
  HDC FTarget = nullptr;
  // The width the control wraps at while wider than its window; 0 while it wraps at it.
  int FWidth = 0;
  // While a change is under way, the narrowest width the control may wrap at (0: any):
  // a layout that what the control does on the way sets off (a scroll bar shown or
  // hidden moves its text area) never narrows the width the change asked for.
  int FKeptWidth = 0;
  // The width of the client area before the change of the frame under way; -1 when not
  // known.
  int FClientWidth = -1;
  bool FRefused = false;
  bool FRefusedTabs = false;
  // The Backspace key that came last, whose character follows it: refused, or passed
  // on to the control. The key and its character make one deletion, judged once.
  enum class TBackKey { None, Refused, Passed } FBackKey = TBackKey::None;
};
