#include "editors/dxWrapGuard.h"

#include <richedit.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/UpdateScope.h"
#include "editors/dxEditor.h"

namespace {

// The pixels a control with the selection bar keeps at the left of its text area.
constexpr int SelectionBarOffset = dxSelectionBarWidth;

// The default tab stop of the control, half an inch of a 96-pixel inch: a tab is taken
// as wide as a whole stop.
constexpr int TabWidth = 48;

// The widths of the characters of a font, and the rows the control's word wrap makes of
// a text with them: a word (the characters up to a blank or a tab, with the blanks after
// it) goes on the row when it fits with its blanks, and on a new row otherwise; a word
// wider than a whole row is broken between characters, a character at least on each row.
// A tab, taken as wide as a whole tab stop, ends the word it is in: unlike a blank, which
// stays on its row however far it reaches, a tab that does not fit goes on a new row
// with the word it ends, so that a run of tabs and blanks takes a row for every few tabs.
class TWrapMeasure {
 public:
  explicit TWrapMeasure(HFONT Font) {
    TScreenDC Screen;
    TSelection Selected(Screen.DC(), Font ? Font : GetStockObject(SYSTEM_FONT));
    if (!GetCharWidth32A(Screen.DC(), 0, 255, FWidths)) std::fill(std::begin(FWidths), std::end(FWidths), 16);
    TEXTMETRICA Metrics{};
    GetTextMetricsA(Screen.DC(), &Metrics);
    FWidest = std::max<int>(Metrics.tmMaxCharWidth, 1);
    for (int& Width : FWidths) {
      Width = std::max(Width, 0);
      FWidest = std::max(FWidest, Width);
    }
    FWidths[static_cast<unsigned char>('\t')] = std::max(FWidths[static_cast<unsigned char>('\t')], TabWidth);
    FNarrowest = FWidest;
    for (int Ch = 1; Ch < 256; ++Ch)
      if (FWidths[Ch] > 0 && Ch != '\r' && Ch != '\n') FNarrowest = std::min(FNarrowest, FWidths[Ch]);
  }

  // The widest wrapping width at which no row holds 65,536 characters.
  int WidestRow() const { return static_cast<int>(std::min<long long>(65535LL * FNarrowest, TdxWrapGuard::WidestWrap)); }

  // The characters times rows of Text wrapped Width pixels wide: the sum over its
  // paragraphs of their lengths times their rows.
  long long Cost(const AnsiString& Text, int Width) const {
    long long Sum = 0;
    ForEachParagraph(Text, [&](const char* Start, std::size_t Length) {
      Sum += static_cast<long long>(Length) * Rows(Start, Length, Width);
    });
    return Sum;
  }

  // The cost when every row holds a character: no wrapping width costs more.
  static long long MostCost(const AnsiString& Text) {
    long long Sum = 0;
    ForEachParagraph(Text, [&](const char*, std::size_t Length) {
      Sum += static_cast<long long>(Length) * static_cast<long long>(Length);
    });
    return Sum;
  }

  // How far from the start of its row the control places the farthest tab of Text, at
  // most: along its paragraph when Row is 0; else in rows no wider than Row. A wrapped
  // row ends before a word or a tab that does not fit, and keeps the blanks after its
  // last word however many: a tab lies no farther than the row, its widest character,
  // a tab before it and the blanks just before it.
  long long FarthestTab(const AnsiString& Text, int Row) const {
    long long Farthest = 0;
    ForEachParagraph(Text, [&](const char* Start, std::size_t Length) {
      long long X = 0;
      long long Blanks = 0;
      for (std::size_t I = 0; I < Length; ++I) {
        const auto Ch = static_cast<unsigned char>(Start[I]);
        if (Ch == '\t') {
          const long long Along = Row > 0 ? std::min<long long>(X, Row + FWidest + TabWidth + Blanks) : X;
          Farthest = std::max(Farthest, Along);
        }
        // To the control every character up to a space is a blank, but for a tab, which
        // goes on a new row when it does not fit.
        Blanks = Ch >= 1 && Ch <= ' ' && Ch != '\t' ? Blanks + FWidths[Ch] : 0;
        X += CharWidth(Start, Length, I);
      }
    });
    return Farthest;
  }

  // A width at which every paragraph of Text is one row.
  int OneRowWidth(const AnsiString& Text) const {
    long long Widest = 1;
    ForEachParagraph(Text, [&](const char* Start, std::size_t Length) {
      long long Width = 1;
      for (std::size_t I = 0; I < Length; ++I) Width += CharWidth(Start, Length, I);
      Widest = std::max(Widest, Width);
    });
    return static_cast<int>(std::min<long long>(Widest, 0x3FFFFFFF));
  }

 private:
  template <typename F>
  static void ForEachParagraph(const AnsiString& Text, F&& Each) {
    std::size_t Start = 0;
    while (Start <= Text.size()) {
      std::size_t End = Text.find_first_of("\r\n", Start);
      if (End == AnsiString::npos) End = Text.size();
      Each(Text.data() + Start, End - Start);
      if (End < Text.size() && Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n') ++End;
      Start = End + 1;
    }
  }

  static bool IsBlank(char Ch) { return Ch == ' '; }

  // The width of the character at I; a double-byte character is taken as the widest.
  int CharWidth(const char* Start, std::size_t Length, std::size_t& I) const {
    const auto Ch = static_cast<unsigned char>(Start[I]);
    if (IsDBCSLeadByte(Ch) && I + 1 < Length) {
      ++I;
      return FWidest;
    }
    return FWidths[Ch];
  }

  long long Rows(const char* Start, std::size_t Length, int Width) const {
    Width = std::max(Width, 1);
    long long Count = 1;
    long long X = 0;
    std::size_t I = 0;
    while (I < Length) {
      const std::size_t WordStart = I;
      long long Word = 0;
      // A tab ends its word: the control breaks a row before a tab, but not after a word
      // that runs into one.
      while (I < Length && !IsBlank(Start[I])) {
        const bool Tab = Start[I] == '\t';
        Word += CharWidth(Start, Length, I);
        ++I;
        if (Tab) break;
      }
      const std::size_t WordEnd = I;
      long long Blanks = 0;
      while (I < Length && IsBlank(Start[I])) Blanks += FWidths[static_cast<unsigned char>(Start[I++])];
      if (X > 0 && X + Word + Blanks > Width) {
        ++Count;
        X = 0;
      }
      if (X == 0 && Word > Width) {
        for (std::size_t C = WordStart; C < WordEnd; ++C) {
          const int Char = CharWidth(Start, Length, C);
          if (X > 0 && X + Char > Width) {
            ++Count;
            X = 0;
          }
          X += Char;
        }
      } else {
        X += Word;
      }
      X += Blanks;
    }
    return Count;
  }

  int FWidths[256];
  int FWidest = 1;
  int FNarrowest = 1;
};

// The measure of Font: the last one made is kept while the font it was made for is the
// same (a font handle may be deleted and its value given to another font). The
// reference holds until a measure of another font is asked for.
const TWrapMeasure& MeasureOf(HFONT Font) {
  struct TKept {
    bool Described;
    LOGFONTA Log;
    TWrapMeasure Measure;
  };
  static std::optional<TKept> Kept;
  LOGFONTA Log{};
  const bool Described = Font && GetObjectA(Font, sizeof(Log), &Log) == sizeof(Log);
  if (!Kept || Kept->Described != Described || std::memcmp(&Kept->Log, &Log, sizeof(Log)) != 0) {
    Kept.reset();
    Kept.emplace(TKept{Described, Log, TWrapMeasure(Font)});
  }
  return Kept->Measure;
}

// The characters the control counts in Text: a double-byte character and CR LF are one.
LONG CharCount(const AnsiString& Text) {
  LONG Count = 0;
  for (std::size_t At = 0; At < Text.size(); ++Count) {
    const char Ch = Text[At];
    const bool Pair = (Ch == '\r' && At + 1 < Text.size() && Text[At + 1] == '\n') ||
                      IsDBCSLeadByte(static_cast<BYTE>(Ch));
    At += Pair && At + 1 < Text.size() ? 2 : 1;
  }
  return Count;
}

LONG TextLength(HWND Window) {
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  return static_cast<LONG>(SendMessageA(Window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0));
}

// The start of the paragraph that holds the character At, read back in growing steps:
// only the paragraph is read, however long the text.
LONG ParagraphStart(HWND Window, LONG At) {
  for (LONG Step = 4096; At > 0; Step = std::min<LONG>(Step * 4, 1 << 22)) {
    const LONG From = std::max<LONG>(At - Step, 0);
    const AnsiString Part = RichEditRange(Window, From, At);
    const std::size_t Break = Part.find_last_of("\r\n");
    if (Break != AnsiString::npos) return From + CharCount(Part.substr(0, Break + 1));
    At = From;
  }
  return 0;
}

// The end (before its line break) of the paragraph that holds the character At, in a
// text of Length characters.
LONG ParagraphEnd(HWND Window, LONG At, LONG Length) {
  for (LONG Step = 4096; At < Length; Step = std::min<LONG>(Step * 4, 1 << 22)) {
    const LONG To = std::min<LONG>(At + Step, Length);
    const AnsiString Part = RichEditRange(Window, At, To);
    const std::size_t Break = Part.find_first_of("\r\n");
    if (Break != AnsiString::npos) return At + CharCount(Part.substr(0, Break));
    At = To;
  }
  return Length;
}

AnsiString WindowText(HWND Window) {
  const int Length = GetWindowTextLengthA(Window);
  if (Length <= 0) return AnsiString();
  std::vector<char> Buffer(static_cast<std::size_t>(Length) + 1, '\0');
  const int Copied = GetWindowTextA(Window, Buffer.data(), Length + 1);
  return AnsiString(Buffer.data(), static_cast<std::size_t>(std::clamp(Copied, 0, Length)));
}

}  // namespace

TdxWrapGuard::~TdxWrapGuard() {
  if (FTarget) DeleteDC(FTarget);
}

int TdxWrapGuard::WidestRow(HFONT Font) { return MeasureOf(Font).WidestRow(); }

long long TdxWrapGuard::Cost(HFONT Font, const AnsiString& Text, int Width) {
  return MeasureOf(Font).Cost(Text, Width);
}

bool TdxWrapGuard::Fits(HFONT Font, const AnsiString& Text, int Width) {
  if (TWrapMeasure::MostCost(Text) <= Budget) return true;
  return MeasureOf(Font).Cost(Text, Width) <= Budget;
}

namespace {

// The coefficients of TabCost, fitted to the set and clear times the control took, in
// units of the reference (one paragraph of 3,000 tabs between short numbers), over
// texts of 1 to 6,000 rows of 1 to 3,000 tabs, at the memo's widths, wrapping and not,
// over rows of other lengths and contents mixed in, and over tables of other kinds of
// cells (words, decimals, punctuation between letters, empty cells).
struct TTabCostModel {
  // The runs that tabs and their cells make and the paragraphs that hold them,
  // together: the cost grows as their count to the power Power, somewhat more when the
  // control wraps.
  double Wrapping = 1.371, Unwrapped = 1.005, RowWeight = 2.134, Power = 2.503;
  // What a tab, a cell holding something and a punctuation mark beside a letter or a
  // digit each add to the runs: a tab between empty cells makes TabShare of a run, and
  // each such mark splits its cell further (a decimal point, the stops and commas of a
  // list of words).
  double TabShare = 0.66, MarkRun = 0.35;
  // Within a paragraph: its cells squared, its tabs squared (empty cells cost little),
  // and its marks squared with its tabs (the control keeps numbers and the pieces that
  // punctuation splits a word into in runs of their own, where words and lone marks cost
  // nothing), the latter saturating past TabsHalfway tabs; a punctuation mark weighs
  // PunctuationMark digits.
  double RowCells = 0.1256, RowTabs = 0.034, RowMarks = 0.9502, TabsHalfway = 251, PunctuationMark = 1.37;
  // The paragraphs, squared; and each tab times each paragraph without tabs. Rows
  // without tabs add no more among rows with tabs than elsewhere.
  double Paragraphs = 2.185, TabsByPlain = 0.394;
  // What the text costs whatever its tabs: the marks of every paragraph squared, the
  // length, a constant.
  double Marks = 0.0833, Length = 0.1422, Base = 0.0214;
  // Tabs that add less than this to a text's cost are not what makes it costly: a tab
  // or a small table in a long text of rows without tabs.
  double Noticeable = 0.05;
};

// Letters, digits and the characters past ASCII (letters of the code page, mostly).
bool WordCharacter(char Ch) {
  const auto C = static_cast<unsigned char>(Ch);
  return C >= 0x80 || std::isalnum(C);
}

}  // namespace

double TdxWrapGuard::TabCost(const AnsiString& Text, bool Wrapped) {
  if (Text.find('\t') == AnsiString::npos) return 0;
  const TTabCostModel M;
  double Runs = 0, TabRows = 0, Paras = 0, Within = 0, MarksSquared = 0, AllTabs = 0;
  // The current paragraph's tabs, cells holding something, digits and punctuation
  // beside a letter or a digit.
  double Tabs = 0, Cells = 0, Digits = 0, Punctuation = 0;
  bool CellHolds = false;
  auto EndParagraph = [&] {
    ++Paras;
    if (CellHolds) ++Cells;
    const double Marks = (Digits + M.PunctuationMark * Punctuation) / 1e4;
    MarksSquared += Marks * Marks;
    if (Tabs > 0) {
      AllTabs += Tabs;
      Runs += M.TabShare * Tabs + (1 - M.TabShare) * Cells + M.MarkRun * Punctuation;
      ++TabRows;
      Within += M.RowCells * (Cells / 3e3) * (Cells / 3e3) + M.RowTabs * (Tabs / 3e3) * (Tabs / 3e3) +
                M.RowMarks * Marks * Marks * Tabs / (Tabs + M.TabsHalfway);
    }
    Tabs = Cells = Digits = Punctuation = 0;
    CellHolds = false;
  };
  const std::size_t Size = Text.size();
  for (std::size_t I = 0; I < Size; ++I) {
    const char Ch = Text[I];
    const auto C = static_cast<unsigned char>(Ch);
    if (Ch == '\t') {
      ++Tabs;
      if (CellHolds) ++Cells;
      CellHolds = false;
    } else if (Ch == '\r' || Ch == '\n') {
      if (Ch == '\r' && I + 1 < Size && Text[I + 1] == '\n') ++I;
      EndParagraph();
    } else {
      CellHolds = true;
      if (C >= '0' && C <= '9')
        ++Digits;
      else if (C > ' ' && C < 0x7F && !std::isalnum(C) &&
               ((I > 0 && WordCharacter(Text[I - 1])) || (I + 1 < Size && WordCharacter(Text[I + 1]))))
        ++Punctuation;
    }
  }
  EndParagraph();
  const double AllRuns = (Runs + M.RowWeight * TabRows) / 1e4;
  const double Rows = Paras / 1e4;
  // What the tabs add, and what the text would cost without them.
  const double TabsAdd = (Wrapped ? M.Wrapping : M.Unwrapped) * std::pow(AllRuns, M.Power) + Within +
                         M.TabsByPlain * AllTabs * (Paras - TabRows) / 1e7;
  if (TabsAdd < M.Noticeable) return TabsAdd;
  return TabsAdd + M.Paragraphs * Rows * Rows + M.Marks * MarksSquared +
         M.Length * static_cast<double>(Size) / 1e5 + M.Base;
}

bool TdxWrapGuard::PlacesTabs(HFONT Font, const AnsiString& Text, bool Wrapped) {
  if (Text.find('\t') == AnsiString::npos) return true;
  if (TabCost(Text, Wrapped) > TabBudget) return false;
  const TWrapMeasure& Measure = MeasureOf(Font);
  return Measure.FarthestTab(Text, Wrapped ? Measure.WidestRow() : 0) <= FarthestTab;
}

std::size_t TdxWrapGuard::LongestTaken(HFONT Font, const AnsiString& Text, bool Wrapped) {
  // Every start of a text the control takes is one it takes too. The tabs' cost, cheap
  // to count, bounds the start first; the control is measured only within it.
  auto Longest = [&](std::size_t High, const std::function<bool(const AnsiString&)>& Taken) {
    std::size_t Low = 0;
    while (High > Low) {
      const std::size_t Middle = Low + (High - Low + 1) / 2;
      if (Taken(Text.substr(0, Middle)))
        Low = Middle;
      else
        High = Middle - 1;
    }
    return Low;
  };
  const std::size_t Bound =
      Longest(Text.size(), [&](const AnsiString& Start) { return TabCost(Start, Wrapped) <= HeldTabBudget; });
  if (Takes(Font, Text.substr(0, Bound), Wrapped)) return Bound;
  return Longest(Bound, [&](const AnsiString& Start) { return Takes(Font, Start, Wrapped); });
}

bool TdxWrapGuard::Wraps(HWND Window) {
  const auto Style = static_cast<DWORD>(GetWindowLongA(Window, GWL_STYLE));
  return (Style & ES_MULTILINE) && !(Style & (ES_AUTOHSCROLL | WS_HSCROLL));
}

int TdxWrapGuard::NeededWidth(HFONT Font, const AnsiString& Text) { return NeededWidth(Font, Text, Budget); }

int TdxWrapGuard::NeededWidth(HFONT Font, const AnsiString& Text, long long Limit) {
  if (TWrapMeasure::MostCost(Text) <= Limit) return 0;
  const TWrapMeasure& Measure = MeasureOf(Font);
  // The rows fall as the width grows: the narrowest width within the limit, or the
  // widest when even that costs more.
  const int Widest = Measure.WidestRow();
  int High = std::min(Measure.OneRowWidth(Text), Widest);
  if (Measure.Cost(Text, High) > Limit) return Widest;
  int Low = 0;
  while (High - Low > 1) {
    const int Middle = Low + (High - Low) / 2;
    if (Measure.Cost(Text, Middle) <= Limit)
      High = Middle;
    else
      Low = Middle;
  }
  return High;
}

TdxWrapGuard::TCosts TdxWrapGuard::CostsOf(HFONT Font, const AnsiString& Text, int Area) const {
  const TWrapMeasure& Measure = MeasureOf(Font);
  TCosts Costs;
  Costs.Known = true;
  Costs.Width = FWidth ? FWidth : Area;
  Costs.Area = Area;
  Costs.Font = Font;
  Costs.AtArea = Measure.Cost(Text, Area);
  Costs.Wrapped = Costs.Width == Area ? Costs.AtArea : Measure.Cost(Text, Costs.Width);
  Costs.Widest = Measure.Cost(Text, Measure.WidestRow());
  return Costs;
}

int TdxWrapGuard::WrapWidth(HFONT Font, const AnsiString& Text, int Area) {
  if (Fits(Font, Text, Area)) return 0;
  return std::max(NeededWidth(Font, Text), Area + 1);
}

int TdxWrapGuard::AreaWidth(HWND Window) {
  RECT Area{0, 0, 0, 0};
  SendMessageA(Window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Area));
  return AreaWidth(Window, Area);
}

int TdxWrapGuard::AreaWidth(HWND Window, const RECT& Rect) {
  return std::max<int>(Rect.right - Rect.left - SelectionOffset(Window), 0);
}

int TdxWrapGuard::SelectionOffset(HWND Window) {
  return (SendMessageA(Window, EM_GETOPTIONS, 0, 0) & ECO_SELECTIONBAR) ? SelectionBarOffset : 0;
}

bool TdxWrapGuard::Decode(HWND Window, const TMessage& Message, TTextChange& Change) {
  const char* Inserted = nullptr;
  char Typed[2] = {0, 0};
  // A deletion with nothing selected takes the character before the caret (-1) or
  // after it (1): a line break there joins two paragraphs.
  int Deletes = 0;
  const bool ReadOnly = (GetWindowLongA(Window, GWL_STYLE) & ES_READONLY) != 0;
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* Value = reinterpret_cast<const char*>(Message.LParam);
      Change.Whole = true;
      Change.Text = Value ? Value : "";
      Change.Adds = true;
      return true;
    }
    case EM_REPLACESEL:
      Inserted = reinterpret_cast<const char*>(Message.LParam);
      break;
    case WM_CHAR:
      // A read-only control types nothing.
      if (ReadOnly) return false;
      if (Message.WParam == '\b') {
        Deletes = -1;
        break;
      }
      // Other control characters (a line break among them) make no paragraph longer.
      if (Message.WParam < 32 && Message.WParam != '\t') return false;
      Typed[0] = static_cast<char>(Message.WParam);
      Inserted = Typed;
      break;
    case WM_KEYDOWN:
      if (ReadOnly || (Message.WParam != VK_BACK && Message.WParam != VK_DELETE)) return false;
      Deletes = Message.WParam == VK_BACK ? -1 : 1;
      break;
    case WM_CUT:
    case WM_CLEAR:
      if (ReadOnly) return false;
      break;
    default: return false;
  }
  CHARRANGE Selection{0, 0};
  SendMessageA(Window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Selection));
  const LONG Length = TextLength(Window);
  Selection.cpMin = std::clamp<LONG>(Selection.cpMin, 0, Length);
  Selection.cpMax = std::clamp<LONG>(Selection.cpMax, Selection.cpMin, Length);
  if (Selection.cpMin == Selection.cpMax && Deletes != 0) {
    // Taken as one character: a word deletion (Ctrl) takes more, which shortens the
    // text further, and it crosses a line break only from beside it.
    if (Deletes < 0)
      Selection.cpMin = std::max<LONG>(Selection.cpMin - 1, 0);
    else
      Selection.cpMax = std::min<LONG>(Selection.cpMax + 1, Length);
  }
  Change.Start = Selection.cpMin;
  Change.End = Selection.cpMax;
  Change.Insert = Inserted ? Inserted : "";
  // The paragraphs the change touches, whole: the rest of the text stays as it is.
  Change.From = ParagraphStart(Window, Change.Start);
  Change.Old = RichEditRange(Window, Change.From, ParagraphEnd(Window, Change.End, Length));
  const std::size_t StartByte = CharacterOffset(Change.Old, Change.Start - Change.From);
  const std::size_t EndByte =
      std::max(StartByte, CharacterOffset(Change.Old, Change.End - Change.From));
  Change.Text = Change.Old.substr(0, StartByte) + Change.Insert + Change.Old.substr(EndByte);
  const std::size_t Break = Change.Old.find_first_of("\r\n", StartByte);
  Change.Adds = Change.Insert.find_first_not_of("\r\n") != AnsiString::npos || (Break != AnsiString::npos && Break < EndByte);
  Change.Length = Length - (Change.End - Change.Start) + CharCount(Change.Insert);
  return true;
}

bool TdxWrapGuard::ChangedText(HWND Window, const TMessage& Message, AnsiString& Text) {
  TTextChange Edit;
  if (!Decode(Window, Message, Edit)) return false;
  Text = std::move(Edit.Text);
  return true;
}

AnsiString TdxWrapGuard::Spliced(const AnsiString& Now, const TTextChange& Edit) {
  const std::size_t From = CharacterOffset(Now, Edit.From);
  const std::size_t To =
      std::min(Now.size(), From + CharacterOffset(Now.substr(From), CharCount(Edit.Old)));
  return Now.substr(0, From) + Edit.Text + Now.substr(To);
}

void TdxWrapGuard::WrapAt(HWND Window, int Width) {
  if (FKeptWidth > 0 && (Width == 0 || Width < FKeptWidth)) Width = FKeptWidth;
  if (Width == FWidth) return;
  // The control lays its text out again at once, and what that sets off (a scroll bar
  // shown or hidden, the layout that follows) reaches the guard again: it finds the
  // width taken already, and wraps no narrower.
  FWidth = Width;
  if (Width == 0) {
    SendMessageA(Window, EM_SETTARGETDEVICE, 0, 0);
    return;
  }
  if (!FTarget) FTarget = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!FTarget) {
    FWidth = 0;
    return;
  }
  const int PixelsPerInch = std::max(GetDeviceCaps(FTarget, LOGPIXELSX), 1);
  const LPARAM Twips = MulDiv(std::min(Width, WidestWrap) + SelectionOffset(Window), 1440, PixelsPerInch);
  TValueScope<int> Keep(FKeptWidth, Width);
  SendMessageA(Window, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(FTarget), Twips);
}

bool TdxWrapGuard::TabsPastBudget(HWND Window, const TTextChange& Edit) {
  if (Edit.Whole) return false;
  // A text holding tabs costs by all its paragraphs and characters: it is judged whole,
  // and a change that leaves it costing no more always goes through.
  const bool Adds = Edit.Text.find('\t') != AnsiString::npos;
  if (!Adds && FTabs.Known && !FTabs.Any && FTabs.Length == TextLength(Window)) return false;
  const AnsiString Now = WindowText(Window);
  FTabs = {true, TextLength(Window), Now.find('\t') != AnsiString::npos};
  if (!Adds && !FTabs.Any) return false;
  const bool Wrapped = Wraps(Window);
  const double After = TabCost(Spliced(Now, Edit), Wrapped);
  return After > TabBudget && After > TabCost(Now, Wrapped);
}

void TdxWrapGuard::NoteTabs(HWND Window, const TTextChange& Edit) {
  const bool Adds = Edit.Text.find('\t') != AnsiString::npos;
  // A deletion may leave the text without tabs: it is read again at the next change.
  FTabs.Any = Edit.Whole ? Adds : FTabs.Any || Adds;
  FTabs.Known = Edit.Whole || FTabs.Known;
  FTabs.Length = TextLength(Window);
  // A change the control made otherwise than foreseen is read again next time.
  if (!Edit.Whole && FTabs.Length != Edit.Length) FTabs.Known = false;
}

bool TdxWrapGuard::DeletesManyRows(HWND Window, const TTextChange& Edit) {
  const LONG Start = Edit.Whole ? 0 : Edit.Start;
  const LONG End = Edit.Whole ? TextLength(Window) : Edit.End;
  if (End - Start <= DeletedRows) return false;
  const LRESULT First = SendMessageA(Window, EM_EXLINEFROMCHAR, 0, Start);
  const LRESULT Last = SendMessageA(Window, EM_EXLINEFROMCHAR, 0, End);
  return Last - First > DeletedRows;
}

void TdxWrapGuard::Change(HWND Window, HFONT Font, int Needed,
                          const std::function<void()>& Handle, bool Deletes) {
  // The control wraps what it holds again at every new width: one that suits the text,
  // size or font it gets is taken only once it has them, and before that only a wider
  // one, which suits both.
  const int Area = AreaWidth(Window);
  if (Deletes)
    WrapAt(Window, WidestRow(Font));
  else if (Needed > 0)
    WrapAt(Window, std::max(Needed, FWidth ? FWidth : Area));
  {
    TValueScope<int> Keep(FKeptWidth, std::max(FKeptWidth, FWidth));
    Handle();
  }
  if (AreaWidth(Window) == Area)
    WrapAt(Window, Needed);
  else
    WrapAt(Window, WrapWidth(Font, WindowText(Window), AreaWidth(Window)));
}

bool TdxWrapGuard::Guard(HWND Window, HFONT Font, TMessage& Message, bool UserChange, bool WordWrap,
                         const std::function<void()>& Handle) {
  FRefused = false;
  FRefusedTabs = false;
  const bool BackChar = Message.Msg == WM_CHAR && Message.WParam == '\b';
  const TBackKey BackKey = BackChar ? std::exchange(FBackKey, TBackKey::None) : TBackKey::None;
  FBackKey = TBackKey::None;
  // The character of a Backspace key belongs to the deletion the key made, or was
  // refused: it is passed on without measuring, or refused without a second beep.
  if (BackKey == TBackKey::Passed) {
    FCosts.Known = false;
    FTabs.Known = false;
    return false;
  }
  if (BackKey == TBackKey::Refused) {
    FRefused = true;
    Message.Result = 0;
    return true;
  }
  TTextChange Edit;
  if (!Decode(Window, Message, Edit)) return false;
  const bool BackKeyDown = Message.Msg == WM_KEYDOWN && Message.WParam == VK_BACK;
  const int Area = AreaWidth(Window);
  const TWrapMeasure& Measure = MeasureOf(Font);
  const int Widest = Measure.WidestRow();
  // What the text costs after the change: a whole text measured whole; a change of a
  // few paragraphs as the costs known less its paragraphs' old costs plus their new.
  TCosts After;
  if (WordWrap && Edit.Whole) {
    After = CostsOf(Font, Edit.Text, Area);
  } else if (WordWrap) {
    const int Width = FWidth ? FWidth : Area;
    if (!FCosts.Known || FCosts.Length != TextLength(Window) || FCosts.Width != Width || FCosts.Area != Area ||
        FCosts.Font != Font) {
      FCosts = CostsOf(Font, WindowText(Window), Area);
      FCosts.Length = TextLength(Window);
    }
    After = FCosts;
    After.Wrapped += Measure.Cost(Edit.Text, Width) - Measure.Cost(Edit.Old, Width);
    After.AtArea += Measure.Cost(Edit.Text, Area) - Measure.Cost(Edit.Old, Area);
    After.Widest += Measure.Cost(Edit.Text, Widest) - Measure.Cost(Edit.Old, Widest);
  }
  const bool Fitting = !WordWrap || After.AtArea <= Budget;
  FRefusedTabs = TooManyTabs(Edit.Text, Wraps(Window)) || TabsPastBudget(Window, Edit);
  FRefused = FRefusedTabs || !PlacesTabs(Font, Edit.Text, Wraps(Window)) ||
             (!Fitting && ((UserChange && Edit.Adds) || After.Widest > Budget));
  if (BackKeyDown) FBackKey = FRefused ? TBackKey::Refused : TBackKey::Passed;
  if (FRefused) {
    if (UserChange) MessageBeepProc(0);
    Message.Result = 0;
    return true;
  }
  if (!WordWrap) {
    FCosts.Known = false;
    Handle();
    NoteTabs(Window, Edit);
    return true;
  }
  const bool Deletes = DeletesManyRows(Window, Edit);
  if (Fitting || (!Edit.Whole && FWidth && After.Wrapped <= Budget)) {
    // The text fits the window, or still the wider width the control wraps at.
    Change(Window, Font, Fitting ? 0 : FWidth, Handle, Deletes);
  } else if (Edit.Whole) {
    // A whole text is wrapped as wide as it needs.
    Change(Window, Font, std::max(NeededWidth(Font, Edit.Text), Area + 1), Handle, Deletes);
  } else {
    // A change of a few paragraphs that no longer fits the width the control wraps at:
    // the whole text moves to a width at which it costs at most half the budget where
    // one does, so that a text growing a paragraph at a time moves rarely.
    const AnsiString Text = Spliced(WindowText(Window), Edit);
    int Width = NeededWidth(Font, Text, Budget / 2);
    if (Width >= Widest) Width = NeededWidth(Font, Text);
    Change(Window, Font, std::max(Width, Area + 1), Handle, Deletes);
    After = CostsOf(Font, Text, Area);
  }
  FCosts = After;
  FCosts.Width = FWidth ? FWidth : Area;
  if (FCosts.Width == Area)
    FCosts.Wrapped = After.AtArea;
  else if (Edit.Whole && FCosts.Width != After.Width)
    FCosts.Wrapped = Measure.Cost(Edit.Text, FCosts.Width);
  else if (FCosts.Width != After.Width)
    FCosts.Known = false;
  // A change the control made otherwise than foreseen is measured again next time.
  FCosts.Length = TextLength(Window);
  if (!Edit.Whole && FCosts.Length != Edit.Length) FCosts.Known = false;
  NoteTabs(Window, Edit);
  return true;
}

bool TdxWrapGuard::GuardUndo(HWND Window, HFONT Font, const TMessage& Message,
                             const std::function<void()>& Handle) {
  if (Message.Msg != EM_UNDO && Message.Msg != WM_UNDO && Message.Msg != EM_REDO)
    return false;
  FCosts.Known = false;
  FTabs.Known = false;
  Change(Window, Font, WidestRow(Font), Handle);
  WrapAt(Window, WrapWidth(Font, WindowText(Window), AreaWidth(Window)));
  return true;
}

namespace {

int ClientWidth(HWND Window) {
  RECT Client{0, 0, 0, 0};
  ::GetClientRect(Window, &Client);
  return Client.right;
}

}  // namespace

void TdxWrapGuard::NoteClient(HWND Window) { FClientWidth = ClientWidth(Window); }

void TdxWrapGuard::GuardMove(HWND Window, HFONT Font, const std::function<void()>& Handle) {
  // Without a change of the frame noted the client area stays as it was.
  const int Before = std::exchange(FClientWidth, -1);
  const int After = ClientWidth(Window);
  if (Before < 0 || Before == After) {
    Handle();
    return;
  }
  // The control keeps its text area's margins as its client area changes.
  GuardLayout(Window, Font, AreaWidth(Window) + After - Before, Handle);
}

void TdxWrapGuard::GuardLayout(HWND Window, HFONT Font, int Area,
                               const std::function<void()>& Handle) {
  FCosts.Known = false;
  const AnsiString Text = WindowText(Window);
  const int Needed = WrapWidth(Font, Text, std::max(Area, 0));
  if (Needed > 0) WrapAt(Window, std::max(Needed, FWidth ? FWidth : AreaWidth(Window)));
  {
    TValueScope<int> Keep(FKeptWidth, std::max(FKeptWidth, FWidth));
    Handle();
  }
  WrapAt(Window, WrapWidth(Font, Text, AreaWidth(Window)));
}
