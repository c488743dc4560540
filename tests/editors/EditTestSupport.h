// Shared by the tests of edit styles and in-place editors: a container that answers
// as a grid would and notes what its editor hands it, editors that note their own
// steps, and a counter behind the beep seam.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner.h"
#include "editors/dxCntner_Edit.h"
#include "tests/classlib/UiTestSupport.h"

namespace edittest {

// A grid-like host: it lets its editor modify and accept characters (unless told
// otherwise), and notes the keys, key presses and focus changes that reach it.
class TTestContainer : public TCustomdxContainer {
 public:
  using TCustomdxContainer::TCustomdxContainer;

  bool CanEditModify() override { return AllowModify; }
  bool CanEditAcceptKey(char /*Key*/) override { return AcceptKeys; }
  bool WantTabs() override { return TabsWanted; }
  void EditorFocusChanged() override { ++FocusChanges; }

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_MOUSEWHEEL || Message.Msg == CM_CANCELMODE) HostMessages.push_back(Message.Msg);
    TCustomdxContainer::Dispatch(Message);
  }

  bool AllowModify = true;
  bool AcceptKeys = true;
  bool TabsWanted = false;
  bool Immediate = false;
  int FocusChanges = 0;
  int DoubleClicks = 0;
  std::vector<Word> HostKeys;
  std::vector<Word> HostKeysUp;
  std::vector<char> HostChars;
  std::vector<UINT> HostMessages;

  bool ImmediateEditor(int /*Column*/) override { return Immediate; }

 protected:
  void KeyUp(Word& Key, TShiftState Shift) override {
    HostKeysUp.push_back(Key);
    TCustomdxContainer::KeyUp(Key, Shift);
  }
  void DblClick() override {
    ++DoubleClicks;
    TCustomdxContainer::DblClick();
  }
  void KeyDown(Word& Key, TShiftState Shift) override {
    HostKeys.push_back(Key);
    TCustomdxContainer::KeyDown(Key, Shift);
  }
  void KeyPress(char& Key) override {
    HostChars.push_back(Key);
    TCustomdxContainer::KeyPress(Key);
  }
};

// An editor that notes its after-show steps and the keys its own key event sees, and
// reverts its text on Escape as a text editor does.
class TTestEdit : public TdxInplaceEdit {
  TCLASS_DECL(TTestEdit, TdxInplaceEdit)
 public:
  explicit TTestEdit(TComponent* AOwner) : TdxInplaceEdit(AOwner) {
    OnKeyDown = TKeyEvent::Bind<&TTestEdit::NoteKey>(this);
    OnKeyPress = TKeyPressEvent::Bind<&TTestEdit::NoteChar>(this);
    OnKeyUp = TKeyEvent::Bind<&TTestEdit::NoteKeyUp>(this);
  }
  void DefaultHandler(TMessage& Message) override {
    if (Message.Msg == WM_PASTE || Message.Msg == WM_CUT || Message.Msg == WM_CLEAR)
      ClipboardMessages.push_back(Message.Msg);
    TdxInplaceEdit::DefaultHandler(Message);
  }

  int AfterShows = 0;
  int F2Edits = 0;
  std::vector<UINT> ClipboardMessages;
  std::vector<Word> OwnKeys;
  std::vector<char> OwnChars;
  std::vector<Word> OwnKeysUp;

  using TdxInplaceEdit::SetMouseInside;

 protected:
  void AfterShow() override { ++AfterShows; }
  void EditKeyF2() override { ++F2Edits; }
  bool CanRevertText() override { return true; }

 private:
  void NoteKey(TObject* /*Sender*/, Word& Key, TShiftState /*Shift*/) { OwnKeys.push_back(Key); }
  void NoteChar(TObject* /*Sender*/, char& Key) { OwnChars.push_back(Key); }
  void NoteKeyUp(TObject* /*Sender*/, Word& Key, TShiftState /*Shift*/) { OwnKeysUp.push_back(Key); }
};

// An editor class that works outside a container.
class TOutsideEdit : public TTestEdit {
  TCLASS_DECL(TOutsideEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};

// How a test pastes into a text window: by its message, or by Ctrl+V or Shift+Insert
// sent with the modifier held.
enum class TPasteBy { Message, CtrlV, ShiftInsert };
inline void SendPaste(HWND Window, TPasteBy By) {
  if (By == TPasteBy::Message) {
    SendMessageA(Window, WM_PASTE, 0, 0);
    return;
  }
  uitest::HeldKeys = {By == TPasteBy::CtrlV ? VK_CONTROL : VK_SHIFT};
  SendMessageA(Window, WM_KEYDOWN, By == TPasteBy::CtrlV ? 'V' : VK_INSERT, 1);
  uitest::HeldKeys.clear();
}

// Keys held while the user's input arrives, for as long as the scope lives: in the
// thread's key state, which the rich edit control reads, and in the library's key-state
// seam, which the editors read.
class THeldKeys {
 public:
  explicit THeldKeys(std::vector<int> Keys) {
    GetKeyboardState(FSaved);
    BYTE State[256];
    std::copy(std::begin(FSaved), std::end(FSaved), State);
    for (int Key : Keys) {
      State[Key] = 0x80;
      // The left key of each pair, which the control may read instead.
      if (Key == VK_CONTROL) State[VK_LCONTROL] = 0x80;
      if (Key == VK_SHIFT) State[VK_LSHIFT] = 0x80;
      if (Key == VK_MENU) State[VK_LMENU] = 0x80;
    }
    SetKeyboardState(State);
    uitest::HeldKeys = std::move(Keys);
  }
  THeldKeys(const THeldKeys&) = delete;
  THeldKeys& operator=(const THeldKeys&) = delete;
  ~THeldKeys() {
    uitest::HeldKeys.clear();
    SetKeyboardState(FSaved);
  }

 private:
  BYTE FSaved[256];
};

// An AltGr chord's key data: the Alt context bit set, as the system sends it.
constexpr LPARAM AltContext = 0x20000001;

// A letter key pressed with Ctrl held, and the keys Also (VK_SHIFT, VK_MENU), as the
// user's input arrives at a text window. With Alt (AltGr is Ctrl and Alt) the key data
// has its context bit set. Its character follows.
inline void SendCtrlKey(HWND Window, char Letter, std::vector<int> Also = {}) {
  const bool Alt = std::find(Also.begin(), Also.end(), VK_MENU) != Also.end();
  const LPARAM KeyData = Alt ? AltContext : 1;
  Also.push_back(VK_CONTROL);
  THeldKeys Held(std::move(Also));
  SendMessageA(Window, WM_KEYDOWN, static_cast<WPARAM>(Letter), KeyData);
  // AltGr with a letter types the layout's character, if any; Ctrl alone its control code.
  if (!Alt) SendMessageA(Window, WM_CHAR, static_cast<WPARAM>(Letter - 'A' + 1), KeyData);
}

// Counts the beeps of refused input.
inline int Beeps = 0;
inline BOOL CountBeep(UINT /*Type*/) {
  ++Beeps;
  return TRUE;
}

// An editor hosted by Host and placed on it.
template <class T>
T* Hosted(TCustomdxContainer* Host) {
  auto* Edit = NewObject<T>(Host);
  Edit->SetParent(Host);
  Edit->HandleNeeded();
  return Edit;
}

class EditTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedBeep = MessageBeepProc;
    MessageBeepProc = CountBeep;
    Beeps = 0;
  }
  void TearDown() override {
    UiTest::TearDown();
    MessageBeepProc = SavedBeep;
    // The default controller is shared by every test: its values go back.
    if (TdxEditStyleController* Default = DefaultEditStyleController()) {
      Default->OnStyleChanged = nullptr;
      Default->RestoreDefaults();
    }
  }

  // A shown form with a shown test container.
  TTestContainer* ShownContainer() {
    TForm* Form = ShownForm(300, 200);
    auto* Container = NewObject<TTestContainer>(Form);
    Container->SetParent(Form);
    Container->SetBounds(10, 10, 200, 120);
    Container->HandleNeeded();
    uitest::Pump();
    return Container;
  }

  // An editor hosted by Host and placed on it.
  template <class T = TTestEdit>
  T* HostedEdit(TCustomdxContainer* Host) {
    return Hosted<T>(Host);
  }

  // An editor named "Edit1" on a new form "EditForm", as a form file holds one.
  template <class T>
  T* FormEdit() {
    TForm* Form = Keep(NewObject<TForm>(nullptr, CreateNew));
    Form->SetName("EditForm");
    auto* Edit = NewObject<T>(Form);
    Edit->SetName("Edit1");
    Edit->SetParent(Form);
    return Edit;
  }

  // Edit's form written to a form file (into Text when given) and read into a new
  // form; the editor of Edit's name there.
  template <class T>
  T* ReadBack(T* Edit, AnsiString* Text = nullptr) {
    const bool Registered = GetClass(T::StaticClass().ClassName()) != nullptr;
    if (!Registered) RegisterClass(&T::StaticClass());
    auto Unregister = ScopeExit([&] {
      if (!Registered) UnRegisterClass(&T::StaticClass());
    });
    TComponent* Root = Edit->Owner();
    const AnsiString Written = WriteComponentText(Root);
    if (Text) *Text = Written;
    TForm* Copy = Keep(NewObject<TForm>(nullptr, CreateNew));
    ReadComponentText(Copy, Written, Root->Name());
    auto* Read = ObjectAs<T>(Copy->FindComponent(Edit->Name()));
    EXPECT_NE(nullptr, Read) << Written.c_str();
    return Read;
  }

  TMessageBeepProc SavedBeep = nullptr;
};

}  // namespace edittest
