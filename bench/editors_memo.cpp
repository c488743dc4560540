// Times the memo's lines growing: 4,000 lines of 1,000 characters added one by one to a
// shown default memo with word wrap, against the same replacements sent to a bare
// plain-text rich edit control of the memo's size, style, notifications and font that
// wraps at the width the memo ends at, so that both lay out the same rows; and a whole list of 1,000 and 4,000
// such lines assigned to the memo's lines, against the same text set as the memo's Text.
// Then a table of 100 tab-separated columns of short numbers, as a spreadsheet copies
// one, in 100, 300 and 1,000 rows: given as the memo's lines' text (a program's, which
// the memo refuses past what the control sets in good time), and loaded by a host as a
// cell's value (held, the window showing what of it the control sets in good time),
// against the same text set in a bare rich edit control (at 1,000 rows only the memo:
// the bare control takes minutes).
// Each line gives the two times and their ratio.
// Last (or alone, given "grid"), the grid of tables the memo's budget of tabs is built
// on: rows of 1 to 6,000, tabs per row of 1 to 3,000, between short numbers; the shapes
// around the budget with decimals, punctuation between letters, words and empty cells
// between the tabs; and 2,000 and 5,000 rows without tabs, and with a tab after the
// first and the last; one paragraph of 50,000 digits and one of 200,000 characters of
// prose, each with a tab in its middle and without (alone, given "long"); in a memo of
// 195 x 85 pixels with word wrap and without. Each shape gives its TabCost, the memo's time to take it as its
// lines' text and clear it again (or to refuse it), its time to hold it as a host's
// value, and the bare control's time to set and clear it, with that time as a part of
// the reference's (one row of 3,000 tabs, the bare control wrapping): the bare control
// is left out where TabCost is past 2, which it takes seconds to minutes over.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "classlib/Exceptions.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/StringLists.h"
#include "editors/Units.h"
#include "editors/dxCntner.h"
#include "editors/dxMemo.h"
#include "editors/dxWrapGuard.h"

namespace {

using bench::Fixed;
using bench::Milliseconds;
using bench::PumpAll;

constexpr int Checkpoints[] = {1000, 4000};

std::string Line() {
  std::string Text;
  while (Text.size() < 1000) Text += "abc def ";
  return Text.substr(0, 1000);
}

// Rows of 100 tab-separated short numbers.
std::string Table(int Rows) {
  std::string Text;
  for (int Row = 0; Row < Rows; ++Row) {
    for (int Column = 0; Column < 100; ++Column) Text += (Column > 0 ? "\t" : "") + std::to_string(Row * Column % 997);
    Text += "\r\n";
  }
  return Text;
}

// What the cells of the budget's grid hold.
enum class TCells { Numbers, Decimals, Punctuation, Words, Empty };
constexpr std::pair<TCells, const char*> CellKinds[] = {{TCells::Numbers, "numbers"},
                                                        {TCells::Decimals, "decimals"},
                                                        {TCells::Punctuation, "punctuation"},
                                                        {TCells::Words, "words"},
                                                        {TCells::Empty, "empty"}};

std::string Cell(TCells Kind, int Row, int Column) {
  const long Number = ((Row * 131L + Column) * 7919L + 13) % 1000;
  switch (Kind) {
    case TCells::Numbers: return std::to_string(Number);
    case TCells::Decimals: return std::to_string(Number) + "." + std::to_string((Row + Column) % 10);
    case TCells::Punctuation: return "a.b,c;d";
    case TCells::Words: return "abc";
    case TCells::Empty: return "";
  }
  return "";
}

// Rows of Tabs tabs between cells of Kind, as the budget's grid has them.
std::string Grid(int Rows, int Tabs, TCells Kind = TCells::Numbers) {
  std::string Text;
  for (int Row = 0; Row < Rows; ++Row) {
    if (Row > 0) Text += "\r\n";
    for (int Column = 0; Column <= Tabs; ++Column) {
      if (Column > 0) Text += '\t';
      Text += Cell(Kind, Row, Column);
    }
  }
  return Text;
}

// Rows short numbers a row, with a tab and a number after the first and the last row
// (Tabbed) or none.
std::string PlainRows(int Rows, bool Tabbed) {
  std::string Text;
  for (int Row = 0; Row < Rows; ++Row) {
    if (Row > 0) Text += "\r\n";
    Text += Cell(TCells::Numbers, Row, 0);
    if (Tabbed && (Row == 0 || Row == Rows - 1)) Text += "\t" + Cell(TCells::Numbers, Row, 1);
  }
  return Text;
}

// One paragraph of Length characters, the digits of a number or prose with its
// punctuation, with a tab and a short number in its middle (Tabbed) or none.
std::string LongParagraph(bool Prose, int Length, bool Tabbed) {
  static const std::string Words =
      "The committee met on Tuesday, as planned; its report (long awaited) was read aloud. Members asked "
      "questions, took notes and, at last, voted: the motion carried. ";
  std::string Text;
  Text.reserve(static_cast<std::size_t>(Length) + 8);
  for (int I = 0; static_cast<int>(Text.size()) < Length; ++I)
    Text += Prose ? Words : std::string(1, static_cast<char>('0' + I * 7 % 10));
  Text.resize(static_cast<std::size_t>(Length));
  if (Tabbed) Text.insert(Text.size() / 2, "\t42");
  return Text;
}

// A host whose editors may change their values.
class TBenchHost : public TCustomdxContainer {
 public:
  using TCustomdxContainer::TCustomdxContainer;
  bool CanEditModify() override { return true; }
};

void Ratio(const char* What, double Ms, double PeerMs) {
  std::printf("%-34s %12s ms %12s ms %8s\n", What, Fixed(Ms, 1, 0).c_str(), Fixed(PeerMs, 1, 0).c_str(),
              Fixed(Ms / PeerMs, 2, 0).c_str());
  std::fflush(stdout);
}

// The bare control: a memo's window style (Memo's), plain text, its font and limit, in
// the memo's place; the caller destroys it.
HWND BareLike(TdxInplaceMemoEdit* Memo, HWND Parent) {
  RECT Bounds;
  GetWindowRect(Memo->Handle(), &Bounds);
  MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&Bounds), 2);
  const auto Style = static_cast<DWORD>(GetWindowLongA(Memo->Handle(), GWL_STYLE));
  HWND Bare = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(Memo->Handle(), GWL_EXSTYLE)), "RichEdit20A", "",
                              (Style & ~WS_CLIPSIBLINGS) | WS_CHILD | WS_VISIBLE, Bounds.left, Bounds.top,
                              Bounds.right - Bounds.left, Bounds.bottom - Bounds.top, Parent, nullptr, HInstance,
                              nullptr);
  SendMessageA(Bare, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Bare, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageA(Bare, WM_SETFONT, reinterpret_cast<WPARAM>(Memo->Font()->Handle()), FALSE);
  SendMessageA(Bare, EM_SETEVENTMASK, 0, SendMessageA(Memo->Handle(), EM_GETEVENTMASK, 0, 0));
  PumpAll();
  return Bare;
}

// The bare control's time to set Text and clear it again, painted after each, in a
// fresh control like Memo's: the best of two when under two seconds.
double BareSetAndClear(TdxInplaceMemoEdit* Memo, HWND Parent, const std::string& Text) {
  double Best = 0;
  for (int Run = 0; Run < 2; ++Run) {
    HWND Bare = BareLike(Memo, Parent);
    const double Ms = Milliseconds([&] {
      SendMessageA(Bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
      UpdateWindow(Parent);
      SendMessageA(Bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
      UpdateWindow(Parent);
    });
    DestroyWindow(Bare);
    PumpAll();
    Best = Run == 0 ? Ms : std::min(Best, Ms);
    if (Ms >= 2000) break;
  }
  return Best;
}

void TabGrid(TForm* Form, TCustomdxContainer* Host, bool LongOnly) {
  // Past this TabCost the bare control is left out.
  constexpr double Slow = 2;
  auto* Memo = NewObject<TdxInplaceMemoEdit>(Form);
  Memo->SetParent(Form);
  Memo->SetBounds(10, 10, 195, 85);
  Memo->SetWantTabs(true);
  Memo->HandleNeeded();
  auto* Cell = NewObject<TdxInplaceMemoEdit>(Host);
  Cell->SetParent(Host);
  Cell->SetBounds(250, 10, 195, 85);
  Cell->HandleNeeded();
  PumpAll();
  const double Reference = BareSetAndClear(Memo, Form->Handle(), Grid(1, 3000));
  std::printf("\nthe budget's grid: set and clear, in a memo of 195 x 85 px; the reference (1 row of 3,000 tabs, "
              "the bare control wrapping) %s ms\n",
              Fixed(Reference, 1, 0).c_str());
  std::printf("%-12s %-6s %5s %6s %8s %12s %9s %12s %12s %7s\n", "cells", "rows", "tabs", "wrap", "TabCost", "memo ms",
              "", "host ms", "bare ms", "bare/ref");
  // The texts: the grid of numbers whole; the other kinds of cells over the shapes
  // around the budget; rows without tabs, with two tabs and without.
  struct TShape {
    const char* Cells;
    int Rows, Tabs;
    std::string Text;
  };
  std::vector<TShape> Shapes;
  // One long paragraph, with one tab and without.
  for (const bool Tabbed : {false, true}) {
    Shapes.push_back({Tabbed ? "digits+tab" : "digits", 1, Tabbed ? 1 : 0, LongParagraph(false, 50000, Tabbed)});
    Shapes.push_back({Tabbed ? "prose+tab" : "prose", 1, Tabbed ? 1 : 0, LongParagraph(true, 200000, Tabbed)});
  }
  for (int Rows : {1, 3, 10, 30, 61, 100, 300, 1000, 2000, 3000, 4000, 5000, 6000})
    for (int Tabs : {1, 3, 10, 30, 100, 300, 1000, 3000})
      if (static_cast<long>(Rows) * Tabs <= 300000) Shapes.push_back({"numbers", Rows, Tabs, Grid(Rows, Tabs)});
  for (const auto& [Rows, Tabs] : {std::pair{60, 100}, std::pair{30, 200}, std::pair{3000, 2}, std::pair{5900, 1}})
    Shapes.push_back({"numbers", Rows, Tabs, Grid(Rows, Tabs)});
  for (const auto& [Kind, Name] : CellKinds) {
    if (Kind == TCells::Numbers) continue;
    for (const auto& [Rows, Tabs] : {std::pair{1, 1000}, std::pair{1, 2000}, std::pair{1, 3000}, std::pair{1, 6000},
                                     std::pair{10, 300}, std::pair{30, 200}, std::pair{60, 100}, std::pair{100, 100},
                                     std::pair{1000, 2}, std::pair{3000, 1}})
      Shapes.push_back({Name, Rows, Tabs, Grid(Rows, Tabs, Kind)});
  }
  for (const int Rows : {2000, 5000})
    for (const bool Tabbed : {false, true})
      Shapes.push_back({Tabbed ? "plain+2 tabs" : "plain", Rows, Tabbed ? 2 : 0, PlainRows(Rows, Tabbed)});
  if (LongOnly) Shapes.resize(4);
  for (const bool Wrap : {true, false}) {
    Memo->SetWordWrap(Wrap);
    Cell->SetWordWrap(Wrap);
    for (const TShape& Shape : Shapes) {
      const std::string& Text = Shape.Text;
      const double Cost = TdxWrapGuard::TabCost(Text, Wrap);
      bool Refused = false;
      const double MemoMs = Milliseconds([&] {
        try {
          Memo->Lines()->SetText(Text);
          UpdateWindow(Form->Handle());
          Memo->Lines()->SetText("");
          UpdateWindow(Form->Handle());
        } catch (const EInvalidOperation&) {
          Refused = true;
        }
      });
      const double HostMs = Milliseconds([&] {
        Host->SetContainerFlag();
        Cell->SetEditValue(Variant(Text));
        UpdateWindow(Form->Handle());
        Cell->SetEditValue(Variant(""));
        UpdateWindow(Form->Handle());
        Host->ClearContainerFlag();
      });
      PumpAll();
      std::printf("%-12s %-6d %5d %6s %8s %12s %9s %12s", Shape.Cells, Shape.Rows, Shape.Tabs, Wrap ? "yes" : "no",
                  Fixed(Cost, 3, 0).c_str(), Fixed(MemoMs, 1, 0).c_str(), Refused ? "refused" : "taken",
                  Fixed(HostMs, 1, 0).c_str());
      // A long paragraph's bare time is the one that says whether its TabCost is right.
      if (Cost <= Slow || (Shape.Rows == 1 && Shape.Tabs <= 1)) {
        const double Bare = BareSetAndClear(Memo, Form->Handle(), Text);
        std::printf(" %12s %7s\n", Fixed(Bare, 1, 0).c_str(), Fixed(Bare / Reference, 3, 0).c_str());
      } else {
        std::printf(" %12s %7s\n", "-", "-");
      }
      std::fflush(stdout);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(EditorsUnits);
  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(0, 0, 500, 300);
  Form->Show();
  // "grid": the budget's grid alone; "long": its long paragraphs alone.
  const std::string Only = argc > 1 ? argv[1] : "";
  if (Only == "grid" || Only == "long") {
    auto* Host = NewObject<TBenchHost>(Form);
    Host->SetParent(Form);
    Host->SetBounds(0, 0, 480, 260);
    TabGrid(Form, Host, Only == "long");
    Form->Free();
    FinalizeUnits();
    return 0;
  }
  auto* Memo = NewObject<TdxInplaceMemoEdit>(Form);
  Memo->SetParent(Form);
  Memo->SetLeft(10);
  Memo->SetTop(10);
  Memo->HandleNeeded();
  PumpAll();
  const std::string Text = Line();
  std::printf("%-34s %15s %15s %8s\n", "", "memo", "peer", "ratio");

  // The memo's lines, one by one.
  double MemoAt[2] = {0, 0};
  {
    double Ms = 0;
    int Added = 0;
    for (int I = 0; I < 2; ++I) {
      Ms += Milliseconds([&] {
        for (; Added < Checkpoints[I]; ++Added) Memo->Lines()->Add(Text);
      });
      PumpAll();
      MemoAt[I] = Ms;
    }
  }
  const int Width = Memo->WrapWidth();
  const LRESULT MemoRows = SendMessageA(Memo->Handle(), EM_GETLINECOUNT, 0, 0);

  // The bare control: the memo's window style, selection bar, notifications and font,
  // the same replacements at the end, wrapping where the memo ends.
  const auto Style = static_cast<DWORD>(GetWindowLongA(Memo->Handle(), GWL_STYLE));
  HWND Bare = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(Memo->Handle(), GWL_EXSTYLE)), "RichEdit20A", "",
                              (Style & ~WS_CLIPSIBLINGS) | WS_CHILD | WS_VISIBLE, 250, 10, Memo->Width(),
                              Memo->Height(), Form->Handle(), nullptr, HInstance, nullptr);
  SendMessageA(Bare, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Bare, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageA(Bare, EM_SETEVENTMASK, 0, SendMessageA(Memo->Handle(), EM_GETEVENTMASK, 0, 0));
  SendMessageA(Bare, WM_SETFONT, reinterpret_cast<WPARAM>(Memo->Font()->Handle()), FALSE);
  SendMessageA(Bare, EM_SETOPTIONS, ECOOP_OR, ECO_SELECTIONBAR);
  HDC Target = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (Width > 0)
    SendMessageA(Bare, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(Target),
                 MulDiv(Width + dxSelectionBarWidth, 1440, GetDeviceCaps(Target, LOGPIXELSX)));
  const std::string Added = Text + "\r";
  double BareAt[2] = {0, 0};
  {
    double Ms = 0;
    int Count = 0;
    for (int I = 0; I < 2; ++I) {
      Ms += Milliseconds([&] {
        for (; Count < Checkpoints[I]; ++Count) {
          GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
          const auto End = static_cast<LONG>(SendMessageA(Bare, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0));
          CHARRANGE Range{End, End};
          SendMessageA(Bare, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
          SendMessageA(Bare, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Added.c_str()));
        }
      });
      PumpAll();
      BareAt[I] = Ms;
    }
  }
  std::printf("(the memo wraps at %d px, %ld rows; the bare control %ld rows)\n", Width, static_cast<long>(MemoRows),
              static_cast<long>(SendMessageA(Bare, EM_GETLINECOUNT, 0, 0)));
  for (int I = 0; I < 2; ++I)
    Ratio((std::to_string(Checkpoints[I]) + " lines added, against the bare").c_str(), MemoAt[I], BareAt[I]);
  DestroyWindow(Bare);
  DeleteDC(Target);

  // A whole list at once, against the same text as the memo's Text.
  for (int Lines : Checkpoints) {
    TStringList* List = NewObject<TStringList>();
    for (int I = 0; I < Lines; ++I) List->Add(Text);
    const AnsiString Whole = List->Text();
    Memo->SetText("");
    PumpAll();
    const double Assigned = Milliseconds([&] { Memo->Lines()->Assign(List); });
    const bool Same = Memo->Text() == Whole;
    Memo->SetText("");
    PumpAll();
    const double Set = Milliseconds([&] { Memo->SetText(Whole); });
    if (!Same || Memo->Text() != Whole) std::printf("(the memo does not hold the %d lines)\n", Lines);
    Ratio((std::to_string(Lines) + " lines assigned, against Text").c_str(), Assigned, Set);
    List->Free();
  }

  // The table: the memo's lines' text and a host's value, against a bare control.
  auto* Host = NewObject<TBenchHost>(Form);
  Host->SetParent(Form);
  Host->SetBounds(0, 0, 480, 260);
  auto* Cell = NewObject<TdxInplaceMemoEdit>(Host);
  Cell->SetParent(Host);
  Cell->SetBounds(10, 10, 375, 195);
  Cell->HandleNeeded();
  HWND Peer = CreateWindowExA(0, "RichEdit20A", "", (Style & ~WS_CLIPSIBLINGS) | WS_CHILD | WS_VISIBLE, 10, 10, 375,
                              195, Form->Handle(), nullptr, HInstance, nullptr);
  SendMessageA(Peer, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Peer, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageA(Peer, WM_SETFONT, reinterpret_cast<WPARAM>(Memo->Font()->Handle()), FALSE);
  for (int Rows : {100, 300, 1000}) {
    const std::string Text = Table(Rows);
    Memo->SetText("");
    PumpAll();
    bool Refused = false;
    const double Lines = Milliseconds([&] {
      try {
        Memo->Lines()->SetText(Text);
      } catch (const EInvalidOperation&) {
        Refused = true;
      }
    });
    const double Held = Milliseconds([&] {
      Host->SetContainerFlag();
      Cell->SetEditValue(Variant(Text));
      Host->ClearContainerFlag();
    });
    const auto Shown = static_cast<std::size_t>(GetWindowTextLengthA(Cell->Handle()));
    Cell->SetEditValue(Variant(""));
    PumpAll();
    double Bare = 0;
    if (Rows <= 300) {
      Bare = Milliseconds([&] { SendMessageA(Peer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str())); });
      SendMessageA(Peer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
      PumpAll();
    }
    std::printf("(the table of %d rows, %zu characters: %s as the lines' text; as a host's value, the window shows "
                "%zu)\n",
                Rows, Text.size(), Refused ? "refused" : "taken", Shown);
    if (Rows <= 300) {
      Ratio(("table " + std::to_string(Rows) + " rows, the lines' text").c_str(), Lines, Bare);
      Ratio(("table " + std::to_string(Rows) + " rows, a host's value").c_str(), Held, Bare);
    } else {
      std::printf("%-34s %12s ms %15s\n", ("table " + std::to_string(Rows) + " rows, the lines' text").c_str(),
                  Fixed(Lines, 1, 0).c_str(), "-");
      std::printf("%-34s %12s ms %15s\n", ("table " + std::to_string(Rows) + " rows, a host's value").c_str(),
                  Fixed(Held, 1, 0).c_str(), "-");
    }
  }
  DestroyWindow(Peer);
  TabGrid(Form, Host, false);
  Form->Free();
  FinalizeUnits();
  return 0;
}
