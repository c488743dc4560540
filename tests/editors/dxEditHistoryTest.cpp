// Undo and redo across the editors: every kind of change the user makes (a character at
// the caret or over a selection, a paste, a cut, Delete and Backspace, a spin step, a
// list's choice) is one step, and each undo gives back a text the user saw before it,
// each redo the one after; the memo's control, and the blob's memo pane's, keep their
// own steps, whose undos also give back only texts the user saw.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "editors/dxEditHistory.h"
#include "editors/dxExEdtr_Blob.h"
#include "editors/dxExEdtr_BlobPopup.h"
#include "editors/dxExEdtr_CalcEdit.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_Hyperlink.h"
#include "editors/dxExEdtr_MRUEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxMemo.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

std::string TextOf(HWND Window) {
  const int Length = GetWindowTextLengthA(Window);
  std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextA(Window, Text.data(), Length + 1)));
  return Text;
}

// One editor of the sweep: how it is made and loaded, the characters it takes, and
// whether it keeps its own steps (a one-line editor) or its control does (the memo).
struct TSweepKind {
  std::string Name;
  std::function<TdxInplaceTextEdit*(TCustomdxContainer*)> Make;
  std::string Loaded;
  std::string Chars;
  bool OwnSteps = true;
  // A blob's memo pane, where the changes are made.
  bool Pane = false;
};

using edittest::Hosted;

class EditHistoryTest : public EditTest {};

TEST_F(EditHistoryTest, EveryChangeIsOneStepAndAnUndoGivesBackATextTheUserSaw) {
  edittest::TTestContainer* Host = ShownContainer();
  const std::vector<TSweepKind> Kinds = {
      {"text", Hosted<TdxInplaceTextEdit>, "abcdef", "xyz"},
      {"mask", [](TCustomdxContainer* H) {
         auto* Edit = static_cast<TdxInplaceMaskEdit*>(Hosted<TdxInplaceMaskEdit>(H));
         Edit->SetEditMask("00-00;1;_");
         return Edit;
       },
       "12-34", "567"},
      {"spin", Hosted<TdxInplaceSpinEdit>, "1234", "567"},
      {"currency", Hosted<TdxInplaceCurrencyEdit>, "1234.5", "678"},
      {"calc", Hosted<TdxInplaceCalcEdit>, "1234", "567"},
      {"hyperlink", Hosted<TdxInplaceHyperLinkEdit>, "www.abc.de", "xyz"},
      {"pick", [](TCustomdxContainer* H) {
         auto* Edit = static_cast<TdxInplacePickEdit*>(Hosted<TdxInplacePickEdit>(H));
         Edit->Items()->SetText("apple\r\nbanana\r\ncherry");
         return Edit;
       },
       "banana", "xyz"},
      {"mru", [](TCustomdxContainer* H) {
         auto* Edit = static_cast<TdxInplaceMRUEdit*>(Hosted<TdxInplaceMRUEdit>(H));
         Edit->Items()->SetText("recent\r\nolder");
         return Edit;
       },
       "older", "xyz"},
      {"memo", Hosted<TdxInplaceMemoEdit>, "ab\r\ncd", "xyz", false},
      {"blob pane", [](TCustomdxContainer* H) {
         auto* Edit = static_cast<TdxInplaceBlobEdit*>(Hosted<TdxInplaceBlobEdit>(H));
         Edit->SetBlobEditKind(bekMemo);
         return Edit;
       },
       "ab\r\ncd", "xyz", false, true},
  };
  for (const TSweepKind& Kind : Kinds) {
    TdxInplaceTextEdit* Edit = Kind.Make(Host);
    Edit->ShowAt(Rect(5, 5, 200, Kind.OwnSteps ? 25 : 80));
    Pump();
    HWND Window = Edit->Handle();
    Edit->SetEditValue(Variant(AnsiString(Kind.Loaded)));
    Edit->SetModified(false);
    Edit->SetEditActive(true);
    if (Kind.Pane) {
      auto* Blob = static_cast<TdxInplaceBlobEdit*>(Edit);
      Blob->DropDown();
      Pump();
      ASSERT_TRUE(Blob->BlobPopup() && Blob->BlobPopup()->HandleAllocated()) << Kind.Name;
      Window = Blob->BlobPopup()->Handle();
    }
    std::vector<std::string> Seen{TextOf(Window)};
    std::string Where = Kind.Name;
    auto Select = [&](int From, int To) { SendMessageA(Window, EM_SETSEL, From, To); };
    auto Step = [&](const std::string& What, const std::function<void()>& Change) {
      Change();
      Pump();
      Where += ", " + What;
      if (TextOf(Window) != Seen.back()) Seen.push_back(TextOf(Window));
    };
    const int End = static_cast<int>(Seen[0].size());
    Step("a character at the end", [&] {
      Select(End, End);
      SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Kind.Chars[0]), 1);
    });
    Step("a character over [0,1)", [&] {
      Select(0, 1);
      SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Kind.Chars[1]), 1);
    });
    Step("a paste over [1,3)", [&] {
      Clipboard()->SetAsText(Kind.Chars.substr(1));
      Select(1, 3);
      SendMessageA(Window, WM_PASTE, 0, 0);
    });
    Step("a cut of [0,1)", [&] {
      Select(0, 1);
      SendMessageA(Window, WM_CUT, 0, 0);
    });
    Step("Delete at 0", [&] {
      Select(0, 0);
      SendMessageA(Window, WM_KEYDOWN, VK_DELETE, 1);
    });
    Step("Backspace at the end", [&] {
      const auto Length = static_cast<int>(TextOf(Window).size());
      Select(Length, Length);
      SendMessageA(Window, WM_KEYDOWN, VK_BACK, 1);
      SendMessageA(Window, WM_CHAR, '\b', 1);
    });
    if (ObjectAs<TdxInplaceSpinEdit>(Edit))
      Step("a wheel step", [&] { SendMessageA(Window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); });
    if (auto* Pick = ObjectAs<TdxInplacePickEdit>(Edit)) {
      Step("a list's choice", [&] {
        Pick->DropDown();
        Pump();
        SendMessageA(Window, WM_KEYDOWN, VK_DOWN, 1);
        SendMessageA(Window, WM_KEYDOWN, VK_RETURN, 1);
      });
    }
    ASSERT_GT(Seen.size(), 4u) << Where;
    if (!Kind.OwnSteps) {
      // The control's own steps: every undo gives back a text the user saw.
      for (std::size_t Undo = 0; Undo < Seen.size() + 2; ++Undo) {
        SendMessageA(Window, Undo % 2 ? EM_UNDO : WM_UNDO, 0, 0);
        const std::string Now = TextOf(Window);
        EXPECT_NE(std::find(Seen.begin(), Seen.end(), Now), Seen.end()) << Where << ": an undo gave \"" << Now << "\"";
      }
      Edit->Free();
      continue;
    }
    // Back step by step to the text loaded, unedited again; then forward to the last.
    for (std::size_t Back = Seen.size() - 1; Back > 0; --Back) {
      if (Back % 2)
        edittest::SendCtrlKey(Window, 'Z');
      else
        SendMessageA(Window, WM_UNDO, 0, 0);
      EXPECT_EQ(Seen[Back - 1], TextOf(Window)) << Where << ", undo " << Seen.size() - Back;
    }
    EXPECT_FALSE(Edit->GetModified()) << Where;
    EXPECT_EQ(0, SendMessageA(Window, EM_CANUNDO, 0, 0)) << Where;
    SendMessageA(Window, EM_UNDO, 0, 0);
    EXPECT_EQ(Seen[0], TextOf(Window)) << Where << ": nothing left to undo";
    for (std::size_t Forward = 1; Forward < Seen.size(); ++Forward) {
      if (Forward % 2)
        edittest::SendCtrlKey(Window, 'Y');
      else
        SendMessageA(Window, EM_REDO, 0, 0);
      EXPECT_EQ(Seen[Forward], TextOf(Window)) << Where << ", redo " << Forward;
    }
    EXPECT_TRUE(Edit->GetModified()) << Where;
    EXPECT_EQ(0, SendMessageA(Window, EM_CANREDO, 0, 0)) << Where;
    // A new change forgets what was undone.
    edittest::SendCtrlKey(Window, 'Z');
    Select(0, 0);
    SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Kind.Chars[2]), 1);
    EXPECT_EQ(0, SendMessageA(Window, EM_CANREDO, 0, 0)) << Where;
    Edit->Free();
  }
}

// A key typed into a long line is a step of one character, not of the line; an undo and a
// redo move through such steps as through any.
TEST_F(EditHistoryTest, StepsInALongLineKeepWhatChangedNotTheLine) {
  edittest::TTestContainer* Host = ShownContainer();
  auto* Edit = edittest::Hosted<TdxInplaceTextEdit>(Host);
  Edit->ShowAt(Rect(5, 5, 200, 25));
  Pump();
  HWND Window = Edit->Handle();
  std::string Loaded(32 * 1024, '0');
  for (std::size_t I = 0; I < Loaded.size(); ++I) Loaded[I] = static_cast<char>('0' + I * 7 % 10);
  Edit->SetEditValue(Variant(AnsiString(Loaded)));
  Edit->SetModified(false);
  Edit->SetEditActive(true);
  constexpr int Keys = 30;
  const std::size_t Middle = Loaded.size() / 2;
  std::string Letters;
  for (int I = 0; I < Keys; ++I) {
    const int At = static_cast<int>(Middle) + I;
    SendMessageA(Window, EM_SETSEL, At, At);
    Letters += static_cast<char>('a' + I % 26);
    SendMessageA(Window, WM_CHAR, static_cast<WPARAM>(Letters.back()), 1);
  }
  const std::string Typed = Loaded.substr(0, Middle) + Letters + Loaded.substr(Middle);
  ASSERT_EQ(Typed, TextOf(Window));
  for (int I = 0; I < 3; ++I) SendMessageA(Window, I % 2 ? EM_UNDO : WM_UNDO, 0, 0);
  EXPECT_EQ(Loaded.substr(0, Middle) + Letters.substr(0, Keys - 3) + Loaded.substr(Middle), TextOf(Window));
  for (int I = 0; I < 3; ++I) SendMessageA(Window, EM_REDO, 0, 0);
  EXPECT_EQ(Typed, TextOf(Window));
  EXPECT_TRUE(Edit->GetModified());
}

// The steps kept are the latest, and an undo past the oldest kept does nothing.
TEST_F(EditHistoryTest, TheOldestStepsGoFirst) {
  TdxEditHistory History;
  const int Steps = static_cast<int>(TdxEditHistory::Limit) + 5;
  for (int I = 0; I < Steps; ++I)
    History.Changed(TdxEditState{std::to_string(I), nullptr, I > 0, I, I}, std::to_string(I + 1));
  TdxEditState Back;
  std::string Now = std::to_string(Steps);
  int Undone = 0;
  while (History.Undo(TdxEditState{Now, nullptr, true, 0, 0}, Back)) {
    Now = Back.Text;
    ++Undone;
  }
  EXPECT_EQ(static_cast<int>(TdxEditHistory::Limit), Undone);
  EXPECT_EQ("5", Now);
  EXPECT_TRUE(History.CanRedo());
  EXPECT_FALSE(History.CanUndo());
  TdxEditState Forward;
  ASSERT_TRUE(History.Redo(TdxEditState{Now, nullptr, false, 0, 0}, Forward));
  EXPECT_EQ("6", Forward.Text);
}

// The steps kept hold at most ByteLimit bytes together: the oldest go first, and a step
// past the bound alone is not kept (nor the steps before it).
TEST_F(EditHistoryTest, TheStepsKeptAreBoundedInBytes) {
  TdxEditHistory History;
  // A character typed into a long line keeps that character.
  const std::string Line(128 * 1024, '7');
  for (int I = 0; I < static_cast<int>(TdxEditHistory::Limit); ++I)
    History.Changed(TdxEditState{Line + std::string(static_cast<std::size_t>(I), 'k'), nullptr, I > 0, 0, 0},
                    Line + std::string(static_cast<std::size_t>(I) + 1, 'k'));
  EXPECT_LT(History.Bytes(), TdxEditHistory::Limit * 256);
  History.Clear();
  constexpr std::size_t Long = std::size_t{1} << 20;
  // Each change replaces a whole text of Long characters with another.
  auto Text = [](int I) { return std::string(Long, static_cast<char>('a' + I)); };
  const int Steps = 10;
  for (int I = 0; I < Steps; ++I) {
    History.Changed(TdxEditState{Text(I), nullptr, I > 0, 0, 0}, Text(I + 1));
    EXPECT_LE(History.Bytes(), TdxEditHistory::ByteLimit) << I;
  }
  int Undone = 0;
  std::string Now = Text(Steps);
  TdxEditState Back;
  while (History.Undo(TdxEditState{Now, nullptr, true, 0, 0}, Back)) {
    EXPECT_EQ(Text(Steps - 1 - Undone), Back.Text);
    Now = Back.Text;
    ++Undone;
    EXPECT_LE(History.Bytes(), TdxEditHistory::ByteLimit) << Undone;
  }
  EXPECT_EQ(static_cast<int>(TdxEditHistory::ByteLimit / Long) - 1, Undone);
  TdxEditState Forward;
  ASSERT_TRUE(History.Redo(TdxEditState{Now, nullptr, false, 0, 0}, Forward));
  EXPECT_EQ(Text(Steps - Undone + 1), Forward.Text);

  // A change that takes away more than the bound: no step is left to undo, and the next
  // is kept.
  const std::string Big(TdxEditHistory::ByteLimit + 1, 'x');
  History.Changed(TdxEditState{Big, nullptr, false, 0, 0}, "short");
  EXPECT_FALSE(History.CanUndo());
  EXPECT_FALSE(History.CanRedo());
  EXPECT_EQ(0u, History.Bytes());
  History.Changed(TdxEditState{Big, nullptr, false, 0, 0}, Big + "y");
  ASSERT_TRUE(History.Undo(TdxEditState{Big + "y", nullptr, true, 0, 0}, Back));
  EXPECT_EQ(Big, Back.Text);
}

}  // namespace
