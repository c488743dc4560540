// The wizard's window tests: a host in-process (its client the module's, its
// workspace module loaded), exceptions recorded instead of shown, and the wizard run
// through its command routine with a script. Each step of the script runs when the
// dialog's modal loop has handled everything queued (the application's idle turn);
// steps act as a user would, through window messages, and the next step sees their
// effect. A dialog still open after the last step is cancelled, and the test fails; so
// is the dialog at once when a step fails fatally.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/FileUtils.h"
#include "framework/RT_ServerImplementation.h"
#include "framework/ClientProcs.h"
#include "host/HostCore.h"
#include "host/HostDocuments.h"
#include "host/HostLoader.h"
#include "pcb/PCBProcs.h"
#include "tests/classlib/UiTestSupport.h"
#include "wizard/BoardDlg.h"
#include "wizard/Commands.h"
#include "wizard/EditCoord.h"
#include "wizard/fBasic.h"
#include "wizard/fProfiles.h"

namespace wiztest {

using TStep = std::function<void(TForm_BoardWizard* Dialog)>;

// Runs the steps from the application's idle turns while a wizard dialog is open.
class TScript : public TObject {
 public:
  explicit TScript(std::vector<TStep> ASteps) : Steps(std::move(ASteps)) {}

  void Idle(TObject*, bool& Done) {
    Done = false;
    TForm_BoardWizard* Dialog = Form_BoardWizard;
    if (!Dialog || !Dialog->Showing() || Dialog->ModalResult() != mrNone) return;
    if (Next < Steps.size()) {
      const bool FailedBefore = ::testing::Test::HasFatalFailure();
      Steps[Next++](Dialog);
      // The next steps would act on a dialog the failed one left astray: it is
      // cancelled, and the failure reported at once.
      if (!FailedBefore && ::testing::Test::HasFatalFailure()) {
        StoppedByFailure = true;
        Dialog->SetModalResult(mrCancel);
      }
      return;
    }
    LeftOpen = true;
    Dialog->SetModalResult(mrCancel);
  }

  std::vector<TStep> Steps;
  std::size_t Next = 0;
  bool LeftOpen = false;
  bool StoppedByFailure = false;
};

// The install folder: build/host-root beside build/bin, where the test program runs.
inline std::string WizardHostRoot() { return HostFolder() + "..\\host-root\\"; }

class WizardTest : public uitest::UiTest {
 protected:
  static void SetUpTestSuite() {
    // The workspace module stays loaded for the whole program: the module finds it
    // once and keeps its entry point.
    static HMODULE Workspace = LoadLibraryA((WizardHostRoot() + "Halvorn.dll").c_str());
    (void)Workspace;
  }

  void SetUp() override {
    UiTest::SetUp();
    THostOptions Options;
    Options.Folder = WizardHostRoot();
    // The profile page lists the install folder's sample templates.
    TemplatesHostFolder = WizardHostRoot();
    Host = CreateHost(Options);
    ASSERT_NE(Host, nullptr);
    SetClient(Host->Client());
    std::string Error;
    ASSERT_TRUE(Host->LoadWorkspace(Error)) << Error;
    ClearWorkspace();
  }

  void TearDown() override {
    Application->OnIdle = nullptr;
    UiTest::TearDown();
    ClearWorkspace();
    SetClient(nullptr);
    DestroyHost(Host);
    // The editor left with the host: no slot may keep its addresses.
    BindPcbApi();
  }

  static void ClearWorkspace() {
    using TClear = void(WINAPI*)();
    if (auto Clear = HostProcAddress<TClear>(GetModuleHandleA("Halvorn.dll"), "ClearWorkspaceFiles"))
      Clear();
  }

  // Runs the routine with the script; its result. Throws what the routine throws.
  int Run(std::vector<TStep> Steps, TCommandRunRoutine Routine = Commands::RunWizardCommand) {
    TOwned<TScript> Script(NewObject<TScript>(std::move(Steps)));
    Application->OnIdle = TIdleEvent::Bind<&TScript::Idle>(Script.get());
    struct TIdleScope {
      ~TIdleScope() { Application->OnIdle = nullptr; }
    } IdleScope;
    int Result = Routine(nullptr, "");
    EXPECT_FALSE(Script->LeftOpen) << "the dialog was still open after the script";
    if (!Script->StoppedByFailure) {
      EXPECT_EQ(Script->Next, Script->Steps.size()) << "the dialog closed before the script ended";
    }
    return Result;
  }

  // A click of the left mouse button in the middle of a control.
  static void Click(TWinControl* Control) {
    const LPARAM Middle = MAKELPARAM(Control->Width() / 2, Control->Height() / 2);
    SendMessageA(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Middle);
    SendMessageA(Control->Handle(), WM_LBUTTONUP, 0, Middle);
  }
  // A key pressed and released on the focused window, as the keyboard queues it.
  static void PressKey(WPARAM Key) {
    HWND Focus = GetFocus();
    PostMessageA(Focus, WM_KEYDOWN, Key, 1);
    PostMessageA(Focus, WM_KEYUP, Key, 0xC0000001);
  }
  // Text typed into the focused window: its characters, as the keyboard queues them.
  static void Type(const std::string& Text) {
    HWND Focus = GetFocus();
    for (char C : Text) PostMessageA(Focus, WM_CHAR, static_cast<unsigned char>(C), 1);
  }

  // On the profile page: focuses the first template of the list, as the user's choice
  // does (the install folder's sample templates).
  static void ChooseFirstTemplate(TForm_BoardWizard* Dialog) {
    TdxTreeList* List = Dialog->fraProfiles->treProfiles;
    ASSERT_GE(List->Count(), 2);
    List->SetFocusedNode(List->Items(1), 0, true);
  }

  static int ShownTag(TForm_BoardWizard* Dialog) {
    TfraBasic* Page = Dialog->ActivePage();
    return Page ? Page->Tag() : -1;
  }

  THost* Host = nullptr;
};

}  // namespace wiztest
