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
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Exceptions.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/StringLists.h"
#include "editors/Units.h"
#include "editors/dxCntner.h"
#include "editors/dxMemo.h"

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

}  // namespace

int main() {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(EditorsUnits);
  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(0, 0, 500, 300);
  Form->Show();
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
  Form->Free();
  FinalizeUnits();
  return 0;
}
