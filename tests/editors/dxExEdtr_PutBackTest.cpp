// A seeded walk over editors whose value holds more than their text shows: a time under
// a format without seconds or minutes (whole days before it), the same under a kept mask
// whose empty positions are gaps, a date under the mask with a time of day, a date whose
// long time format has no seconds, a spin and a currency value with more decimals than
// typing takes, and a pick editor whose list the typing drops down. Each step is the
// user's: a paste (by its message, Ctrl+V or Shift+Insert) of a text the editor may
// refuse, characters typed over a selection, a cut or a clear, the text copied and pasted back, or a settings broadcast. A step that
// leaves the text as it was changes nothing: the value, the text and the modified state
// are as loaded. A step that changed the text is put back: by Escape to the restore
// point, by undos, or by a validation its host makes revert a text with a gap; then the
// text and the value are as loaded again, to the second and to the last decimal.
// After every step the walk undoes (Ctrl+Z, WM_UNDO) and redoes (Ctrl+Y, EM_REDO) a few
// of the changes it made, against its own model of them: a change that left the text
// another is one step; a refused one, or one that left the text as it was, is none; an
// undo gives back the text before the last change with the value it stood for and its
// modified state, a redo the change; a text a program set (a settings change, a
// validation) leaves nothing to undo.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/FloatConv.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/support/FuzzSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

// One editor set-up of the walk: how it is made, a value it is loaded with (one whose
// text hides a part of it), how its value reads, and the characters and pastes the
// user tries on it.
struct TPutBackKind {
  std::string Name;
  std::function<TdxInplaceMaskEdit*(TCustomdxContainer*)> Make;
  std::function<void(TdxInplaceMaskEdit*, fuzz::TRandom&)> Load;
  std::function<double(TdxInplaceMaskEdit*)> Value;
  std::string Alphabet;
  std::vector<std::string> Pastes;
};

using edittest::Hosted;

double Between(fuzz::TRandom& Random, int Low, int High) {
  return Low + static_cast<double>(Random.Below(static_cast<std::size_t>(High - Low + 1)));
}

// A time of day whose seconds are not 0.
TDateTime TimeOfDay(fuzz::TRandom& Random) {
  return EncodeTime(static_cast<Word>(Random.Below(24)), static_cast<Word>(Random.Below(60)),
                    static_cast<Word>(1 + Random.Below(59)), 0);
}

// A time of day with seconds, on a day from -2 to 3.
double TimeWithSeconds(fuzz::TRandom& Random) {
  const double Day = Between(Random, -2, 3);
  const TDateTime Time = TimeOfDay(Random);
  return Day < 0 ? Day - Time : Day + Time;
}

TPutBackKind TimeKind(TdxTimeEditFormat Format, const char* KeptMask) {
  return {std::string("time ") + (Format == tfHourMin ? "hh:nn" : "hh") + (KeptMask ? " kept mask" : ""),
          [=](TCustomdxContainer* Host) {
            auto* Edit = Hosted<TdxInplaceTimeEdit>(Host);
            Edit->SetTimeEditFormat(Format);
            if (KeptMask) Edit->SetEditMask(KeptMask);
            return Edit;
          },
          [](TdxInplaceMaskEdit* Edit, fuzz::TRandom& Random) { Edit->SetEditValue(Variant(TimeWithSeconds(Random))); },
          [](TdxInplaceMaskEdit* Edit) { return Edit->GetEditValue().AsDouble(); },
          "0123456789:x ",
          {"nan", "12:60:00", "7x", "25", "1", "99:99", "1:30 PM", "3", "00:00", "23:59"}};
}

TPutBackKind DateKind(bool Masked) {
  return {Masked ? "masked date with a time" : "date, time without seconds",
          [=](TCustomdxContainer* Host) {
            auto* Edit = Hosted<TdxInplaceDateEdit>(Host);
            Edit->SetUseEditMask(Masked);
            return Edit;
          },
          [](TdxInplaceMaskEdit* Edit, fuzz::TRandom& Random) {
            const TDateTime Day = EncodeDate(static_cast<Word>(1990 + Random.Below(60)),
                                             static_cast<Word>(1 + Random.Below(12)),
                                             static_cast<Word>(1 + Random.Below(28)));
            static_cast<TdxInplaceDateEdit*>(Edit)->SetDate(Day + TimeOfDay(Random));
          },
          [](TdxInplaceMaskEdit* Edit) { return static_cast<double>(static_cast<TdxInplaceDateEdit*>(Edit)->GetDate()); },
          "0123456789/x ",
          {"x", "99/99/9999", "13/45/2020", "1", "0", "12/31/1999", "2/30/2020"}};
}

TPutBackKind NumberKind(bool Currency) {
  return {Currency ? "currency of 2 decimals" : "float spin",
          [=](TCustomdxContainer* Host) -> TdxInplaceMaskEdit* {
            if (Currency) return Hosted<TdxInplaceCurrencyEdit>(Host);
            auto* Spin = Hosted<TdxInplaceSpinEdit>(Host);
            Spin->SetValueType(vtFloat);
            return Spin;
          },
          [](TdxInplaceMaskEdit* Edit, fuzz::TRandom& Random) {
            const double Values[] = {1.23456789, -0.000123456, 98765.4321, 0.30000000000000004, 1E-7};
            Edit->SetEditValue(Variant(Values[Random.Below(std::size(Values))]));
          },
          [](TdxInplaceMaskEdit* Edit) {
            double Read = 0;
            return TryStrToFloat(Edit->Text(), Read) ? Read : -1E300;
          },
          "0123456789.-Ex",
          {"x", "1-2", "3e400", "1.2.3", "5", "-", "12.345"}};
}

// A pick editor whose list drops down as the user types: an undo, a redo and Escape
// then come while the list is open. Its value is its text (compared by its hash).
TPutBackKind PickKind() {
  return {"pick, the list opened by typing",
          [](TCustomdxContainer* Host) -> TdxInplaceMaskEdit* {
            auto* Pick = Hosted<TdxInplacePickEdit>(Host);
            for (const char* Item : {"apple", "Apple", "apricot", "app", "banana", "cherry"}) Pick->Items()->Add(Item);
            return Pick;
          },
          [](TdxInplaceMaskEdit* Edit, fuzz::TRandom& Random) {
            const char* Texts[] = {"Apple", "app", "banana", "zz", "cherry"};
            Edit->SetEditValue(Variant(AnsiString(Texts[Random.Below(std::size(Texts))])));
          },
          [](TdxInplaceMaskEdit* Edit) {
            return static_cast<double>(std::hash<std::string>{}(VarToStr(Edit->GetEditValue())));
          },
          "aepcz",
          {"aapp-99a", "apple", "APP", "ban", "x"}};
}

class PutBackWalkTest : public EditTest {
 protected:
  // The seeds First to Last, each stepping through every kind.
  void Walk(std::uint64_t First, std::uint64_t Last);
};

void PutBackWalkTest::Walk(std::uint64_t First, std::uint64_t Last) {
  // A long time format without seconds: a date's text hides them.
  TScopedLocaleInfo NoSeconds(LOCALE_STIMEFORMAT, "h:mm tt");
  InitFormatSettings();
  const std::vector<TPutBackKind> Kinds = {TimeKind(tfHourMin, nullptr), TimeKind(tfHour, nullptr),
                                           TimeKind(tfHourMin, "00:00;1;_"), DateKind(true),
                                           DateKind(false), NumberKind(false), NumberKind(true),
                                           PickKind()};
  TCustomdxContainer* Host = ShownContainer();
  int PutBack = 0, Unchanged = 0, MovedWithListOpen = 0;
  for (std::uint64_t Seed = First; Seed <= Last; ++Seed) {
    fuzz::TRandom Random(Seed * 104729);
    for (const TPutBackKind& Kind : Kinds) {
      TdxInplaceMaskEdit* Edit = Kind.Make(Host);
      Edit->ShowAt(Rect(5, 5, 200, 25));
      Pump();
      HWND Window = Edit->Handle();
      for (int Load = 0; Load < 3; ++Load) {
        Kind.Load(Edit, Random);
        Edit->SetModified(false);
        Edit->SetEditActive(true);
        const AnsiString Loaded = Edit->Text();
        const double Value = Kind.Value(Edit);
        std::string Where = "seed " + std::to_string(Seed) + ", " + Kind.Name + ", \"" + Loaded.c_str() + "\"";
        auto Expect = [&](const std::string& At, bool Modified) {
          EXPECT_EQ(Loaded, Edit->Text()) << At;
          if (!Modified) {
            EXPECT_FALSE(Edit->GetModified()) << At;
          }
          // The value is compared to the bit: to the second, to the last decimal.
          EXPECT_EQ(Value, Kind.Value(Edit)) << At;
        };
        // The walk's model of the steps an undo and a redo move through.
        struct TSeen {
          AnsiString Text;
          double Value;
          bool Modified;
        };
        auto Now = [&] { return TSeen{Edit->Text(), Kind.Value(Edit), Edit->GetModified()}; };
        std::vector<TSeen> Undos, Redos;
        auto ExpectSeen = [&](const TSeen& Seen, const std::string& At) {
          EXPECT_EQ(Seen.Text, Edit->Text()) << At;
          EXPECT_EQ(Seen.Value, Kind.Value(Edit)) << At;
          EXPECT_EQ(Seen.Modified, Edit->GetModified()) << At;
        };
        // An undo or a redo by a key or a message, checked against the model.
        auto Move = [&](bool Redo, std::string& At) {
          const TSeen Before = Now();
          if (auto* DropDown = dynamic_cast<TdxInplaceDropDownEdit*>(Edit); DropDown && DropDown->DroppedDown())
            ++MovedWithListOpen;
          if (Redo) {
            if (Random.OneIn(2))
              edittest::SendCtrlKey(Window, 'Y');
            else
              SendMessageA(Window, EM_REDO, 0, 0);
          } else if (Random.OneIn(2)) {
            edittest::SendCtrlKey(Window, 'Z');
          } else {
            SendMessageA(Window, WM_UNDO, 0, 0);
          }
          Pump();
          At += Redo ? ", redo" : ", undo";
          std::vector<TSeen>& From = Redo ? Redos : Undos;
          std::vector<TSeen>& To = Redo ? Undos : Redos;
          if (From.empty()) {
            ExpectSeen(Before, At + " (nothing to move through)");
            return;
          }
          ExpectSeen(From.back(), At);
          From.pop_back();
          To.push_back(Before);
        };
        for (int Step = 0; Step < 8; ++Step) {
          const TSeen BeforeStep = Now();
          bool ProgramsText = false;
          // The step's changes are in the model already.
          bool Counted = false;
          const int Length = GetWindowTextLengthA(Window);
          const int A = static_cast<int>(Random.Below(static_cast<std::size_t>(Length) + 1));
          const int B = A + static_cast<int>(Random.Below(static_cast<std::size_t>(Length - A) + 1));
          SendMessageA(Window, EM_SETSEL, A, B);
          Where += ", select " + std::to_string(A) + ".." + std::to_string(B);
          switch (Random.Below(6)) {
            case 0:
            case 1: {
              const std::string Clip = Kind.Pastes[Random.Below(Kind.Pastes.size())];
              Clipboard()->SetAsText(Clip);
              const auto By = static_cast<edittest::TPasteBy>(Random.Below(3));
              edittest::SendPaste(Window, By);
              Where += ", paste \"" + Clip + "\"";
              break;
            }
            case 2:
              // Each character is a change of its own.
              for (std::size_t N = 1 + Random.Below(3); N > 0; --N) {
                const char C = Kind.Alphabet[Random.Below(Kind.Alphabet.size())];
                const TSeen BeforeChar = Now();
                SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(C), 1);
                Where += std::string(", '") + C + "'";
                if (Edit->Text() != BeforeChar.Text) Undos.push_back(BeforeChar), Redos.clear();
              }
              Counted = true;
              break;
            case 3:
              SendMessageA(Window, Random.OneIn(2) ? WM_CUT : WM_CLEAR, 0, 0);
              Where += ", cut or clear";
              break;
            case 4:
              SendMessageA(Window, EM_SETSEL, 0, -1);
              SendMessageA(Window, WM_COPY, 0, 0);
              SendMessageA(Window, WM_PASTE, 0, 0);
              Where += ", copied and pasted back";
              break;
            default:
              SendLocaleChanged(Window);
              Where += ", settings";
              ProgramsText = true;
              break;
          }
          Pump();
          if (!Counted && Edit->Text() != BeforeStep.Text) {
            if (ProgramsText) {
              Undos.clear();
            } else {
              Undos.push_back(BeforeStep);
            }
            Redos.clear();
          }
          for (std::size_t Moves = Random.Below(4); Moves > 0; --Moves) Move(Random.OneIn(3), Where);
          if (Edit->Text() == Loaded) {
            // A refusal, or a change that changed nothing.
            ++Unchanged;
            Expect(Where, false);
            continue;
          }
          ++PutBack;
          const std::size_t Way = Random.Below(3);
          if (Way == 0 && !Undos.empty()) {
            // Undone step by step: each step back is a text the walk saw, and the first
            // the text loaded.
            while (!Undos.empty()) Move(false, Where);
            Expect(Where, false);
          } else if (Way == 1) {
            // A host that abandons an invalid edit validates: a text that is no value
            // puts the restore point's value back (a date editor's text is then empty:
            // its host hides it); a value is stored, and the walk loads anew.
            Edit->RevertOnInvalid = true;
            bool Refused = false;
            const AnsiString Validated = Edit->Text();
            try {
              Edit->Validate();
            } catch (const Exception&) {
              // Refused aloud (a spin's text that is no number): Escape puts it back.
              Refused = true;
            }
            Edit->RevertOnInvalid = false;
            if (Edit->Text() != Validated) Undos.clear(), Redos.clear();
            if (Refused) {
              Where += ", refused by the validation, Escape";
              const TSeen Escaped = Now();
              SendMessageA(Window, WM_KEYDOWN, VK_ESCAPE, 1);
              if (Edit->Text() != Escaped.Text) Undos.push_back(Escaped), Redos.clear();
              Expect(Where, false);
              continue;
            }
            if (Edit->GetModified()) break;
            Where += ", reverted by the validation";
            EXPECT_EQ(Value, Kind.Value(Edit)) << Where;
            break;
          }
          const TSeen Escaped = Now();
          SendMessageA(Window, WM_KEYDOWN, VK_ESCAPE, 1);
          if (Edit->Text() != Escaped.Text) Undos.push_back(Escaped), Redos.clear();
          Where += ", Escape";
          Expect(Where, false);
        }
      }
      Edit->Free();
    }
  }
  // The walk meets both kinds of step.
  EXPECT_GT(PutBack, 20);
  EXPECT_GT(Unchanged, 20);
  EXPECT_GT(MovedWithListOpen, 5);
}

TEST_F(PutBackWalkTest, AChangePutBackGivesBackTheValueItsTextHidesSeeds1To4) { Walk(1, 4); }

}  // namespace
