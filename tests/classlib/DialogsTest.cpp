// The message-dialog form and the file dialogs: layout and results, the record handed
// to the system, the answer read back, and the hook points.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"

using uitest::Pump;

namespace {

// A text with the zero characters of its literal, the last one excepted.
template <std::size_t N>
std::string Bytes(const char (&Text)[N]) {
  return std::string(Text, N - 1);
}

// The module's start installs hooks of its own: these tests see the library alone.
class DialogsTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedShowing = std::exchange(MessageDialogShowingHook, nullptr);
    SavedMessage = std::exchange(FileDialogMessageHook, nullptr);
    SavedBefore = std::exchange(BeforeOpenDialogHook, nullptr);
    SavedRun = MessageDialogRunProc;
    SavedOpen = GetOpenFileNameProc;
    SavedSave = GetSaveFileNameProc;
  }
  void TearDown() override {
    MessageDialogShowingHook = SavedShowing;
    FileDialogMessageHook = SavedMessage;
    BeforeOpenDialogHook = SavedBefore;
    MessageDialogRunProc = SavedRun;
    GetOpenFileNameProc = SavedOpen;
    GetSaveFileNameProc = SavedSave;
    UiTest::TearDown();
  }
  TButton* ButtonOf(TComponent* Form, const char* Name) {
    return ObjectAs<TButton>(Form->FindComponent(Name));
  }

  TMessageDialogShowingHook SavedShowing = nullptr;
  TFileDialogMessageHook SavedMessage = nullptr;
  TBeforeOpenDialogHook SavedBefore = nullptr;
  TMessageDialogRunProc SavedRun = nullptr;
  TFileNameFunc SavedOpen = nullptr;
  TFileNameFunc SavedSave = nullptr;
};

TEST_F(DialogsTest, AMessageDialogCentresItsButtonRowUnderTheMessage) {
  TForm* Form = Keep(CreateMessageDialog("Delete the layer?", mtWarning, mbYesNoCancel));
  EXPECT_EQ(Form->Caption(), "Warning");
  EXPECT_EQ(Form->BorderStyle(), bsDialog);
  EXPECT_EQ(Form->Position(), poScreenCenter);
  TControl* Label = static_cast<TMessageForm*>(Form)->MessageLabel();
  EXPECT_EQ(Label->Caption(), "Delete the layer?");
  EXPECT_GE(Label->Left(), 32);  // right of the icon

  TButton* Yes = ButtonOf(Form, "Yes");
  TButton* No = ButtonOf(Form, "No");
  TButton* Cancel = ButtonOf(Form, "Cancel");
  ASSERT_TRUE(Yes && No && Cancel);
  EXPECT_EQ(ButtonOf(Form, "OK"), nullptr);
  EXPECT_LT(Yes->Left(), No->Left());
  EXPECT_LT(No->Left(), Cancel->Left());
  EXPECT_EQ(Yes->Top(), Cancel->Top());
  EXPECT_GE(Yes->Top(), Label->Top() + Label->Height());
  int LeftMargin = Yes->Left(), RightMargin = Form->ClientWidth() - (Cancel->Left() + Cancel->Width());
  EXPECT_LE(std::abs(LeftMargin - RightMargin), 1);
  EXPECT_LE(Cancel->Top() + Cancel->Height(), Form->ClientHeight());

  EXPECT_EQ(Yes->ModalResult(), mrYes);
  EXPECT_EQ(No->ModalResult(), mrNo);
  EXPECT_EQ(Cancel->ModalResult(), mrCancel);
  EXPECT_TRUE(Yes->Default());  // no OK button: Yes
  EXPECT_TRUE(Cancel->Cancel());

  // OK alone is default and cancel; help gives no result.
  Form = Keep(CreateMessageDialog("Done.", mtError, {mbOK, mbHelp}));
  EXPECT_EQ(Form->Caption(), "Error");
  TButton* OK = ButtonOf(Form, "OK");
  ASSERT_NE(OK, nullptr);
  EXPECT_TRUE(OK->Default() && OK->Cancel());
  EXPECT_EQ(ButtonOf(Form, "Help")->ModalResult(), mrNone);
}

// Clicks "No" as soon as the modal loop runs.
TModalResult ClickNo(TCustomForm* Form) {
  PostMessageA(ObjectAs<TWinControl>(Form->FindComponent("No"))->Handle(), BM_CLICK, 0, 0);
  return Form->ShowModal();
}

TEST_F(DialogsTest, MessageDlgGivesTheClickedButtonAndFreesItsForm) {
  MessageDialogRunProc = ClickNo;
  int Forms = Screen->CustomFormCount();
  EXPECT_EQ(MessageDlg("Keep the changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_EQ(Screen->CustomFormCount(), Forms);
}

std::vector<TCustomForm*> HookedForms;
bool HookAnswer = false;
bool RecordShowing(TCustomForm* Form) {
  HookedForms.push_back(Form);
  return HookAnswer;
}

TEST_F(DialogsTest, TheShowingHookMayTakeOverTheShowingOfMessageDialogsOnly) {
  MessageDialogShowingHook = RecordShowing;
  HookedForms.clear();
  HookAnswer = true;
  TForm* Form = Keep(CreateMessageDialog("x", mtInformation, {mbOK}));
  Form->Show();
  Pump();
  EXPECT_EQ(HookedForms, std::vector<TCustomForm*>{Form});
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));  // the hook did not show it
  Form->Hide();
  EXPECT_EQ(HookedForms.size(), 1u);  // hiding is the library's

  HookAnswer = false;
  Form->Show();
  Pump();
  EXPECT_EQ(HookedForms.size(), 2u);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  ShownForm();  // other forms never reach it
  EXPECT_EQ(HookedForms.size(), 2u);
}

// ---------------------------------------------------------------------------------
// File dialogs

// What the fake system function saw, and what it answers.
OPENFILENAMEA Seen{};
std::string SeenFilter, SeenFile;
std::vector<char> Answer;  // copied into the file buffer; empty: cancelled
DWORD AnswerFilterIndex = 0;
DWORD AnswerFlags = 0;
int Calls = 0;
HWND OwnerBeforeRun = nullptr;
int CallsBeforeHook = -1;

BOOL WINAPI FakeSystemDialog(OPENFILENAMEA* Info) {
  ++Calls;
  Seen = *Info;
  SeenFilter.clear();
  if (Info->lpstrFilter) {
    const char* P = Info->lpstrFilter;
    while (*P) P += std::strlen(P) + 1;
    SeenFilter.assign(Info->lpstrFilter, P + 1);
  }
  SeenFile = Info->lpstrFile;
  if (Answer.empty()) return FALSE;
  std::memcpy(Info->lpstrFile, Answer.data(), Answer.size());
  Info->nFilterIndex = AnswerFilterIndex;
  Info->Flags |= AnswerFlags;
  return TRUE;
}

void NoteOwner(HWND Owner) {
  OwnerBeforeRun = Owner;
  CallsBeforeHook = Calls;
}

class FileDialogsTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    GetOpenFileNameProc = FakeSystemDialog;
    GetSaveFileNameProc = FakeSystemDialog;
    Calls = 0;
    Answer.clear();
    AnswerFilterIndex = 0;
    AnswerFlags = 0;
  }
  void AnswerWith(const std::string& Text, DWORD FilterIndex = 1) {
    Answer.assign(Text.begin(), Text.end());
    Answer.push_back('\0');
    Answer.push_back('\0');
    AnswerFilterIndex = FilterIndex;
  }
};

TEST_F(FileDialogsTest, TheRecordCarriesTheSettingsAndTheHook) {
  TOpenDialog* Dialog = Keep(NewObject<TOpenDialog>(nullptr));
  Dialog->SetFilter("Boards|*.PcbDoc|All files|*.*");
  Dialog->SetFilterIndex(2);
  Dialog->SetFileName("old.PcbDoc");
  Dialog->SetInitialDir("C:\\boards");
  Dialog->SetTitle("Open a board");
  Dialog->SetDefaultExt("PcbDoc");
  Dialog->SetOptions(Dialog->Options() + TOpenOptions{ofFileMustExist});
  AnswerWith("C:\\boards\\new.PcbDoc", 1);
  AnswerFlags = OFN_EXTENSIONDIFFERENT;
  ASSERT_TRUE(Dialog->Execute());

  EXPECT_EQ(SeenFilter, Bytes("Boards\0*.PcbDoc\0All files\0*.*\0\0"));
  EXPECT_EQ(Seen.nFilterIndex, 2u);
  EXPECT_EQ(SeenFile, "old.PcbDoc");
  EXPECT_EQ(Seen.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_STREQ(Seen.lpstrInitialDir, "C:\\boards");
  EXPECT_STREQ(Seen.lpstrTitle, "Open a board");
  EXPECT_STREQ(Seen.lpstrDefExt, "PcbDoc");
  EXPECT_EQ(Seen.Flags, static_cast<DWORD>(OFN_ENABLEHOOK | OFN_EXPLORER | OFN_HIDEREADONLY |
                                           OFN_ENABLESIZING | OFN_FILEMUSTEXIST));
  EXPECT_EQ(Seen.lpfnHook, &FileDialogHookProc);
  EXPECT_EQ(Seen.lCustData, reinterpret_cast<LPARAM>(Dialog));

  EXPECT_EQ(Dialog->FileName(), "C:\\boards\\new.PcbDoc");
  EXPECT_EQ(Dialog->FilterIndex(), 1);
  EXPECT_EQ(Dialog->Files()->Text(), "C:\\boards\\new.PcbDoc\r\n");
  EXPECT_TRUE(Dialog->Options().Contains(ofExtensionDifferent));
}

TEST_F(FileDialogsTest, SeveralFilesComeWithTheirFolder) {
  TOpenDialog* Dialog = Keep(NewObject<TOpenDialog>(nullptr));
  Dialog->SetOptions({ofAllowMultiSelect});
  AnswerWith(Bytes("C:\\boards\0a.PcbDoc\0b.PcbDoc"));
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Seen.nMaxFile, 0x10000u);
  EXPECT_EQ(Dialog->Files()->Text(), "C:\\boards\\a.PcbDoc\r\nC:\\boards\\b.PcbDoc\r\n");
  EXPECT_EQ(Dialog->FileName(), "C:\\boards\\a.PcbDoc");
  // One file chosen in a multi-select dialog is a plain name.
  AnswerWith("C:\\boards\\c.PcbDoc");
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->Files()->Text(), "C:\\boards\\c.PcbDoc\r\n");
}

TEST_F(FileDialogsTest, ACancelledDialogKeepsItsNameAndTheStartHookRunsFirst) {
  BeforeOpenDialogHook = NoteOwner;
  TForm* Active = ShownForm();
  SetActiveWindow(Active->Handle());
  TSaveDialog* Dialog = Keep(NewObject<TSaveDialog>(nullptr));
  Dialog->SetFileName("keep.PcbDoc");
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_EQ(Dialog->FileName(), "keep.PcbDoc");
  EXPECT_EQ(CallsBeforeHook, 0);
  EXPECT_EQ(OwnerBeforeRun, Active->Handle());
  EXPECT_EQ(Seen.hwndOwner, Active->Handle());
}

// Drives the hook procedure as the system would, with a window of 300 x 200.
RECT Placed{};
HWND HandleDuringRun = nullptr;
BOOL WINAPI HookDrivingDialog(OPENFILENAMEA* Info) {
  HWND Window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 1, 2, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND Child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, Window, nullptr, nullptr, nullptr);
  Info->lpfnHook(Child, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(Info));
  HandleDuringRun = reinterpret_cast<TOpenDialog*>(Info->lCustData)->Handle();
  NMHDR Header{Child, 0, static_cast<UINT>(CDN_INITDONE)};
  Info->lpfnHook(Child, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Header));
  GetWindowRect(Window, &Placed);
  DestroyWindow(Window);
  return FALSE;
}

std::vector<UINT> HookedMessages;
bool TakeInitDone(HWND, UINT Msg, WPARAM, LPARAM LParam, UINT_PTR& Result) {
  HookedMessages.push_back(Msg);
  Result = 5;
  return Msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(LParam)->code == static_cast<UINT>(CDN_INITDONE);
}

TEST_F(FileDialogsTest, TheHookProcedureCentresUnlessTheHookTakesTheMessage) {
  GetOpenFileNameProc = HookDrivingDialog;
  TOpenDialog* Dialog = Keep(NewObject<TOpenDialog>(nullptr));
  Dialog->Execute();
  RECT Area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Area, 0);
  EXPECT_EQ(Placed, Bounds((Area.left + Area.right - 300) / 2, (Area.top + Area.bottom - 200) / 2, 300, 200));
  EXPECT_NE(HandleDuringRun, nullptr);
  EXPECT_EQ(Dialog->Handle(), nullptr);

  FileDialogMessageHook = TakeInitDone;
  HookedMessages.clear();
  Dialog->Execute();
  EXPECT_EQ(HookedMessages, (std::vector<UINT>{WM_INITDIALOG, WM_NOTIFY}));
  EXPECT_EQ(Placed, Bounds(1, 2, 300, 200));
  EXPECT_NE(HandleDuringRun, nullptr);  // the first message went on to the library
}

}  // namespace
