#include "host/HostScript.h"

#include <fstream>
#include <sstream>

#include "host/HostCom.h"

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

std::string Trimmed(const std::string& Text) {
  std::string::size_type First = 0, Last = Text.size();
  while (First < Last && IsBlank(Text[First])) ++First;
  while (Last > First && IsBlank(Text[Last - 1])) --Last;
  return Text.substr(First, Last - First);
}

// Splits "word rest of the line" at the first blank run.
void SplitFirstWord(const std::string& Line, std::string& Word, std::string& Rest) {
  std::string::size_type End = 0;
  while (End < Line.size() && !IsBlank(Line[End])) ++End;
  Word = Line.substr(0, End);
  Rest = Trimmed(Line.substr(End));
}

// Splits "rest of the line word" at the last blank run.
void SplitLastWord(const std::string& Line, std::string& Rest, std::string& Word) {
  std::string::size_type Start = Line.size();
  while (Start > 0 && !IsBlank(Line[Start - 1])) --Start;
  Word = Line.substr(Start);
  Rest = Trimmed(Line.substr(0, Start));
}

// A non-negative decimal number of at most five digits.
bool ParseCoordinate(const std::string& Text, LONG& Value) {
  if (Text.empty() || Text.size() > 5) return false;
  Value = 0;
  for (char C : Text) {
    if (C < '0' || C > '9') return false;
    Value = Value * 10 + (C - '0');
  }
  return true;
}

// "@X,Y"
bool ParseOffset(const std::string& Word, POINT& Offset) {
  const std::string::size_type Comma = Word.find(',');
  if (Word.size() < 4 || Word[0] != '@' || Comma == std::string::npos) return false;
  return ParseCoordinate(Word.substr(1, Comma - 1), Offset.x) &&
         ParseCoordinate(Word.substr(Comma + 1), Offset.y);
}

bool ParseTarget(const std::string& Words, TScriptTarget& Target, std::string& Reason) {
  if (Words.empty()) {
    Reason = "a target is missing";
    return false;
  }
  Target.ByClass = Words[0] == '#';
  Target.Text = Target.ByClass ? Trimmed(Words.substr(1)) : Words;
  if (Target.ByClass && Target.Text.empty()) {
    Reason = "\"#\" needs a window class name";
    return false;
  }
  return true;
}

// A name that makes a file NAME.png directly inside the output folder.
bool CheckShotName(const std::string& Name, std::string& Reason) {
  if (Name.empty()) {
    Reason = "shot needs a file name";
    return false;
  }
  if (Name.size() > 200) {
    Reason = "the shot's name is longer than 200 characters";
    return false;
  }
  if (Name.find_first_of("\\/:*?\"<>|") != std::string::npos) {
    Reason = "the shot's name \"" + Name + "\" holds a character that file names cannot hold";
    return false;
  }
  if (Name.front() == '.' || Name.back() == '.' || Name.back() == ' ') {
    Reason = "the shot's name \"" + Name + "\" starts with a dot or ends with a dot or blank";
    return false;
  }
  static const char* const Devices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2",
                                        "COM3", "COM4", "COM5", "COM6", "COM7", "COM8",
                                        "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",
                                        "LPT6", "LPT7", "LPT8", "LPT9"};
  for (const char* Device : Devices) {
    if (HostSameText(Name, Device)) {
      Reason = "the shot's name \"" + Name + "\" is a device name";
      return false;
    }
  }
  if (HostSameText(Name, "failed")) {
    Reason = "the shot's name \"failed\" is kept for the picture of a failed run";
    return false;
  }
  return true;
}

bool ParseStep(const std::string& Line, TScriptStep& Step, std::string& Reason) {
  std::string Word, Rest;
  SplitFirstWord(Line, Word, Rest);
  if (HostSameText(Word, "wait")) {
    Step.Action = TScriptAction::Wait;
    Step.Text = Rest;
    if (Rest.empty()) Reason = "wait needs a window caption";
  } else if (HostSameText(Word, "click")) {
    Step.Action = TScriptAction::Click;
    std::string Target = Rest, Last;
    SplitLastWord(Rest, Target, Last);
    if (!Last.empty() && Last[0] == '@') {
      if (!ParseOffset(Last, Step.Offset)) {
        Reason = "\"" + Last + "\" is not an offset @X,Y of two whole numbers from 0 to 99999";
        return false;
      }
      Step.HasOffset = true;
    } else {
      Target = Rest;
    }
    if (!ParseTarget(Target, Step.Target, Reason)) {
      if (Target.empty()) Reason = "click needs a target";
      return false;
    }
  } else if (HostSameText(Word, "key")) {
    Step.Action = TScriptAction::Key;
    if (Rest.empty()) {
      Reason = "key needs a key";
      return false;
    }
    return ParseKeyChord(Rest, Step.Chord, Reason);
  } else if (HostSameText(Word, "type")) {
    // Nothing, or "" alone, clears the field; any other text is typed as written.
    Step.Action = TScriptAction::Type;
    Step.Text = Rest == "\"\"" ? std::string() : Rest;
  } else if (HostSameText(Word, "expect")) {
    Step.Action = TScriptAction::Expect;
    std::string Target, State;
    SplitLastWord(Rest, Target, State);
    if (HostSameText(State, "enabled")) {
      Step.Enabled = true;
    } else if (HostSameText(State, "disabled")) {
      Step.Enabled = false;
    } else {
      Reason = "expect needs a target and then \"enabled\" or \"disabled\"";
      return false;
    }
    if (!ParseTarget(Target, Step.Target, Reason)) {
      if (Target.empty()) Reason = "expect needs a target before \"" + State + "\"";
      return false;
    }
  } else if (HostSameText(Word, "shot")) {
    Step.Action = TScriptAction::Shot;
    Step.Text = Rest;
    return CheckShotName(Rest, Reason);
  } else {
    Reason = "\"" + Word + "\" is not a step (wait, click, key, type, expect or shot)";
  }
  return Reason.empty();
}

struct TKeyName {
  const char* Name;
  WORD Key;
};

const TKeyName KeyNames[] = {
    {"Enter", VK_RETURN},      {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},
    {"Space", VK_SPACE},       {"Backspace", VK_BACK}, {"Delete", VK_DELETE},
    {"Insert", VK_INSERT},     {"Left", VK_LEFT},     {"Right", VK_RIGHT},
    {"Up", VK_UP},             {"Down", VK_DOWN},     {"Home", VK_HOME},
    {"End", VK_END},           {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT},
};

// "F1" to "F12" (any letter case).
bool ParseFunctionKey(const std::string& Name, WORD& Key) {
  if (Name.size() < 2 || Name.size() > 3 || (Name[0] != 'F' && Name[0] != 'f')) return false;
  int Number = 0;
  for (std::string::size_type I = 1; I < Name.size(); ++I) {
    if (Name[I] < '0' || Name[I] > '9') return false;
    Number = Number * 10 + (Name[I] - '0');
  }
  if (Name[1] == '0' || Number < 1 || Number > 12) return false;
  Key = static_cast<WORD>(VK_F1 + Number - 1);
  return true;
}

}  // namespace

std::string TScriptError::Message() const {
  return "script line " + std::to_string(Line) + ": " + Reason;
}

std::string WithoutAccelerators(const std::string& Text) {
  std::string Plain;
  for (std::string::size_type I = 0; I < Text.size(); ++I) {
    if (Text[I] != '&') {
      Plain += Text[I];
    } else if (I + 1 < Text.size() && Text[I + 1] == '&') {
      Plain += '&';
      ++I;
    }
  }
  return Plain;
}

bool ParseKeyChord(const std::string& Words, TKeyChord& Chord, std::string& Reason) {
  Chord = TKeyChord();
  std::string Rest = Words;
  for (;;) {
    const std::string::size_type Plus = Rest.find('+');
    // A lone "+" or one at the end is not a separator: there is no key after it.
    if (Plus == std::string::npos || Plus + 1 >= Rest.size()) break;
    const std::string Modifier = Rest.substr(0, Plus);
    bool* Flag = HostSameText(Modifier, "Shift")  ? &Chord.Shift
                 : HostSameText(Modifier, "Ctrl") ? &Chord.Ctrl
                 : HostSameText(Modifier, "Alt")  ? &Chord.Alt
                                                  : nullptr;
    if (!Flag) {
      Reason = "\"" + Modifier + "\" is not Shift, Ctrl or Alt";
      return false;
    }
    if (*Flag) {
      Reason = "\"" + Modifier + "\" is given twice";
      return false;
    }
    *Flag = true;
    Rest.erase(0, Plus + 1);
  }
  if (Rest.size() == 1) {
    const char C = Rest[0];
    if ((C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z')) {
      Chord.Key = static_cast<WORD>(C);
      return true;
    }
    if (C >= 'a' && C <= 'z') {
      Chord.Key = static_cast<WORD>(C - 'a' + 'A');
      return true;
    }
  }
  for (const TKeyName& Name : KeyNames) {
    if (HostSameText(Rest, Name.Name)) {
      Chord.Key = Name.Key;
      return true;
    }
  }
  if (ParseFunctionKey(Rest, Chord.Key)) return true;
  Reason = "\"" + Rest +
           "\" is not a key (Enter, Escape, Tab, Space, Backspace, Delete, Insert, Left, Right, "
           "Up, Down, Home, End, PageUp, PageDown, F1 to F12, a letter or a digit)";
  return false;
}

bool ParseScript(const std::string& Text, TScript& Script, TScriptError& Error) {
  Script = TScript();
  std::vector<TScriptStep> Steps;
  std::vector<std::pair<std::string, int>> Shots;  // names taken, with their lines
  int Number = 0;
  std::string::size_type Start = 0;
  while (Start < Text.size()) {
    std::string::size_type End = Text.find('\n', Start);
    if (End == std::string::npos) End = Text.size();
    std::string Line = Text.substr(Start, End - Start);
    Start = End + 1;
    ++Number;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    for (char C : Line) {
      if (static_cast<unsigned char>(C) < 0x20 && C != '\t') {
        Error = {Number, "the line holds a control character"};
        return false;
      }
    }
    Line = Trimmed(Line);
    if (Line.empty() || Line[0] == '#') continue;
    TScriptStep Step;
    Step.Line = Number;
    std::string Reason;
    if (!ParseStep(Line, Step, Reason)) {
      Error = {Number, Reason};
      return false;
    }
    if (Step.Action == TScriptAction::Shot) {
      for (const auto& [Name, At] : Shots) {
        if (HostSameText(Name, Step.Text)) {
          Error = {Number, "the shot \"" + Step.Text + "\" is already taken on line " +
                               std::to_string(At)};
          return false;
        }
      }
      Shots.emplace_back(Step.Text, Number);
    }
    Steps.push_back(Step);
  }
  Script.Steps = std::move(Steps);
  Script.LineCount = Number;
  return true;
}

bool LoadScript(const std::string& FileName, TScript& Script, TScriptError& Error) {
  std::ifstream File(FileName, std::ios::binary);
  if (!File) {
    Script = TScript();
    Error = {0, "cannot read the script " + FileName};
    return false;
  }
  std::ostringstream Content;
  Content << File.rdbuf();
  if (File.bad()) {
    Error = {0, "cannot read the script " + FileName};
    return false;
  }
  return ParseScript(Content.str(), Script, Error);
}
