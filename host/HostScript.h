// The scripts that PcbHost --script plays: one step a line, read into steps before
// anything runs. Lines starting with "#" (after blanks) and blank lines are skipped.
//
//   wait TEXT                     a top-level window captioned TEXT is in the foreground
//   click TARGET [@X,Y]           a left click at TARGET's centre, or at X,Y from its
//                                 top-left corner (window pixels, frame included)
//   key CHORD                     a key with Shift+, Ctrl+ and Alt+ before it
//   type TEXT                     Home, Shift+End, then TEXT's characters as keystrokes;
//                                 with nothing (or "" alone) Home, Shift+End, Delete
//   expect TARGET enabled|disabled
//   shot NAME                     the foreground window saved as NAME.png
//
// TARGET is a window's text (its "&" markers left out, any letter case) or "#Class" for
// its window class. Keys: Enter, Escape, Tab, Space, Backspace, Delete, Insert, Left,
// Right, Up, Down, Home, End, PageUp, PageDown, F1 to F12, a letter or a digit. Step
// words and key names may be written in any letter case.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class TScriptAction { Wait, Click, Key, Type, Expect, Shot };

// A window below the foreground window, by its text or by its class.
struct TScriptTarget {
  std::string Text;  // the words, or the class name when ByClass
  bool ByClass = false;
};

// A key with its modifiers, as a virtual-key code.
struct TKeyChord {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
  WORD Key = 0;
};

struct TScriptStep {
  TScriptAction Action = TScriptAction::Wait;
  int Line = 0;              // 1-based line in the script's text
  std::string Text;          // wait: the caption; type: the text (empty clears); shot: the name
  TScriptTarget Target;      // click, expect
  bool HasOffset = false;    // click: X,Y given
  POINT Offset{0, 0};        // click: from the target's top-left corner
  TKeyChord Chord;           // key
  bool Enabled = false;      // expect: the state looked for
};

struct TScript {
  std::vector<TScriptStep> Steps;
  int LineCount = 0;         // the lines of the text, steps or not
};

// Why a line was rejected.
struct TScriptError {
  int Line = 0;
  std::string Reason;
  // "script line N: reason"
  std::string Message() const;
};

// Reads Text (line ends \n or \r\n) into Script. False, with the first rejected line in
// Error, when a line is not a step; Script is then left empty.
bool ParseScript(const std::string& Text, TScript& Script, TScriptError& Error);

// Reads the file FileName and parses it. A file that cannot be read is reported with
// line 0.
bool LoadScript(const std::string& FileName, TScript& Script, TScriptError& Error);

// The words of a key chord ("Shift+Tab"), or false when they name no chord.
bool ParseKeyChord(const std::string& Words, TKeyChord& Chord, std::string& Reason);

// The text without its "&" markers: "&&" stands for "&", a single "&" is dropped.
std::string WithoutAccelerators(const std::string& Text);
