// Times the memo's lines growing: 4,000 lines of 1,000 characters added one by one to a
// shown default memo with word wrap, against the same replacements sent to a bare
// plain-text rich edit control of the memo's size, style, notifications and font that
// wraps at the width the memo ends at, so that both lay out the same rows; and a whole list of 1,000 and 4,000
// such lines assigned to the memo's lines, against the same text set as the memo's Text.
// Each line gives the two times and their ratio.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/StringLists.h"
#include "editors/Units.h"
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
  Form->Free();
  FinalizeUnits();
  return 0;
}
