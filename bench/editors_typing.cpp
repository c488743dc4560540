// Times typing into a long text: the text, spin and pick editors, hosted by a container
// that lets them modify and placed on a form outside any container, against a bare
// plain-text rich edit control on the same parent, with the same font and limit. Each
// holds a text of 1,000, 4,000 and 16,000 characters, the digits of a fraction, with the
// caret at its end (as after a paste) and in its middle; a key is its key-down and key-up
// posted to the window and handled before the next. A line per length gives the time of
// a key in each window and the ratio editor / bare control. Last, a line of 1,000,000
// characters (the editors keep the steps of the user's changes, which must not cost a
// key its line): the text editor against the bare control, with fewer keys.
// `editors_typing_bench long` times that line alone.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/FormatSettings.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "editors/dxCntner.h"
#include "editors/dxEditor.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/Units.h"

namespace {

using bench::PumpAll;

AnsiString Fixed(double Value, int Decimals) { return bench::Fixed(Value, Decimals, 9); }

constexpr int Keys = 50;
constexpr int Runs = 2;
constexpr int Lengths[] = {1000, 4000, 16000};
constexpr int LongLength = 1000000;
constexpr int LongKeys = 10;

// A grid-like host: its editor may modify its text and take every character.
class TTypingHost : public TCustomdxContainer {
 public:
  using TCustomdxContainer::TCustomdxContainer;
  bool CanEditModify() override { return true; }
  bool CanEditAcceptKey(char /*Key*/) override { return true; }
};

// The editors as a form holds them, outside a container.
class TOutsideTextEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TOutsideTextEdit, TdxInplaceTextEdit)
 public:
  using TdxInplaceTextEdit::TdxInplaceTextEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
class TOutsideSpinEdit : public TdxInplaceSpinEdit {
  TCLASS_DECL(TOutsideSpinEdit, TdxInplaceSpinEdit)
 public:
  using TdxInplaceSpinEdit::TdxInplaceSpinEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
class TOutsidePickEdit : public TdxInplacePickEdit {
  TCLASS_DECL(TOutsidePickEdit, TdxInplacePickEdit)
 public:
  using TdxInplacePickEdit::TdxInplacePickEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};

// A number of Length characters: 0, the decimal separator and digits. A whole number of
// a thousand digits is past the largest floating value, which the spin editors refuse to
// lengthen; a fraction of any length is one they read.
std::string Digits(int Length) {
  std::string Text(static_cast<std::size_t>(Length), '0');
  for (int I = 0; I < Length; ++I) Text[static_cast<std::size_t>(I)] = static_cast<char>('0' + I * 7 % 10);
  Text[1] = FormatSettings.DecimalSeparator;
  return Text;
}

// Where the keys go: the middle of the text, or its end (as after a paste).
enum TCaret { cMiddle, cEnd };

// The focus first: an editor that takes it selects its whole text.
void Load(HWND Window, const std::string& Text, TCaret At) {
  SetFocus(Window);
  PumpAll();
  SendMessageA(Window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  const auto Position = static_cast<LONG>(At == cMiddle ? Text.size() / 2 : Text.size());
  CHARRANGE Caret{Position, Position};
  SendMessageA(Window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Caret));
  PumpAll();
}

void TypeKeys(HWND Window, int Count) {
  for (int I = 0; I < Count; ++I) {
    const char Ch = static_cast<char>('0' + I % 10);
    const UINT Scan = MapVirtualKeyA(static_cast<UINT>(Ch), MAPVK_VK_TO_VSC);
    // The pump's TranslateMessage makes the key's character.
    PostMessageA(Window, WM_KEYDOWN, static_cast<WPARAM>(Ch), 1 | (Scan << 16));
    PostMessageA(Window, WM_KEYUP, static_cast<WPARAM>(Ch), 1 | (Scan << 16) | 0xC0000000u);
    PumpAll();
  }
}

// The best time of one key in Window over the runs, in milliseconds; a window that did
// not take every key makes the report say so.
double KeyTime(HWND Window, const std::string& Text, TCaret At, int Count = Keys, int Times = Runs) {
  auto Check = [&] {
    const int Length = GetWindowTextLengthA(Window);
    if (Length != static_cast<int>(Text.size()) + Count)
      std::printf("(a window holds %d characters, not %d)\n", Length, static_cast<int>(Text.size()) + Count);
  };
  bool Typed = false;
  const double Ms = bench::BestOf(
      Times,
      [&] {
        if (Typed) Check();
        Load(Window, Text, At);
      },
      [&] {
        TypeKeys(Window, Count);
        Typed = true;
      });
  Check();
  return Ms / Count;
}

// A plain-text rich edit control on Parent at Left, as the editors make theirs: one line, no
// length limit, the change and selection notifications on.
HWND NewBareControl(HWND Parent, int Left, HFONT Font) {
  HWND Bare = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT, Left, 200,
                              300, 24, Parent, nullptr, HInstance, nullptr);
  SendMessageA(Bare, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Bare, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageA(Bare, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  SendMessageA(Bare, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
  return Bare;
}

// The three editors' keys against the bare control's, a line per caret place and length.
void Report(const char* Title, TdxInplaceEdit* const (&Editors)[3], HWND Bare, bool Hosted) {
  std::printf("%s: ms a key (ratio to the bare control)\n", Title);
  std::printf("%6s %8s %9s %9s %9s %9s %9s %9s %9s\n", "caret", "digits", "bare", "text", "ratio", "spin", "ratio",
              "pick", "ratio");
  for (TCaret At : {cEnd, cMiddle}) {
    for (int Length : Lengths) {
      const std::string Content = Digits(Length);
      const double BareMs = KeyTime(Bare, Content, At);
      double Ms[3];
      for (int I = 0; I < 3; ++I) {
        if (Hosted) Editors[I]->ShowAt(Rect(10, 10 + I * 60, 310, 30 + I * 60));
        Ms[I] = KeyTime(Editors[I]->Handle(), Content, At);
        if (Hosted) Editors[I]->Hide();
      }
      std::printf("%6s %8d %s %s %s %s %s %s %s\n", At == cEnd ? "end" : "middle", Length,
                  Fixed(BareMs, 3).c_str(), Fixed(Ms[0], 3).c_str(), Fixed(Ms[0] / BareMs, 2).c_str(),
                  Fixed(Ms[1], 3).c_str(), Fixed(Ms[1] / BareMs, 2).c_str(), Fixed(Ms[2], 3).c_str(),
                  Fixed(Ms[2] / BareMs, 2).c_str());
      std::fflush(stdout);
    }
  }
}

// The hosted text editor's key in a line of LongLength characters, at its end and in its
// middle, against the bare control's.
void ReportLong(TdxInplaceEdit* Text, HWND Bare) {
  std::printf("A line of %d characters, %d keys: ms a key (ratio to the bare control)\n", LongLength, LongKeys);
  std::printf("%6s %9s %9s %9s\n", "caret", "bare", "text", "ratio");
  const std::string Content = Digits(LongLength);
  for (TCaret At : {cEnd, cMiddle}) {
    const double BareMs = KeyTime(Bare, Content, At, LongKeys, 1);
    SendMessageA(Bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Text->ShowAt(Rect(10, 10, 310, 30));
    const double Ms = KeyTime(Text->Handle(), Content, At, LongKeys, 1);
    SendMessageA(Text->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Text->Hide();
    std::printf("%6s %s %s %s\n", At == cEnd ? "end" : "middle", Fixed(BareMs, 3).c_str(), Fixed(Ms, 3).c_str(),
                Fixed(Ms / BareMs, 2).c_str());
    std::fflush(stdout);
  }
}

}  // namespace

TCLASS_IMPL(TOutsideTextEdit)
TCLASS_IMPL(TOutsideSpinEdit)
TCLASS_IMPL(TOutsidePickEdit)

int main(int argc, char** argv) {
  const bool LongOnly = argc > 1 && std::string(argv[1]) == "long";
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(EditorsUnits);

  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(0, 0, 700, 300);
  Form->Show();
  auto* Host = NewObject<TTypingHost>(Form);
  Host->SetParent(Form);
  Host->SetBounds(0, 0, 340, 260);
  Host->HandleNeeded();

  auto* Text = NewObject<TdxInplaceTextEdit>(Host);
  auto* Spin = NewObject<TdxInplaceSpinEdit>(Host);
  auto* Pick = NewObject<TdxInplacePickEdit>(Host);
  TdxInplaceEdit* const Hosted[] = {Text, Spin, Pick};
  auto* OutsideSpin = NewObject<TOutsideSpinEdit>(Form);
  TdxInplaceEdit* const Outside[] = {NewObject<TOutsideTextEdit>(Form), OutsideSpin, NewObject<TOutsidePickEdit>(Form)};
  for (int I = 0; I < 3; ++I) {
    Hosted[I]->SetParent(Host);
    Hosted[I]->HandleNeeded();
    Outside[I]->SetParent(Form);
    Outside[I]->SetBounds(360, 10 + I * 60, 300, 24);
  }
  // The spin editors take the fraction as their text.
  Spin->SetValueType(vtFloat);
  OutsideSpin->SetValueType(vtFloat);

  // A bare control beside each group of editors, on the same parent.
  HWND HostedBare = NewBareControl(Host->Handle(), 10, Text->Font()->Handle());
  HWND FormBare = NewBareControl(Form->Handle(), 360, Text->Font()->Handle());
  PumpAll();

  if (!LongOnly) {
    std::printf("Typing %d keys into a text of digits\n", Keys);
    Report("Hosted by a container", Hosted, HostedBare, true);
    Report("On a form, outside a container", Outside, FormBare, false);
  }
  ReportLong(Text, HostedBare);

  DestroyWindow(HostedBare);
  DestroyWindow(FormBare);
  Form->Free();
  FinalizeUnits();
  return 0;
}
