// Shared by the tests of the dialog base: a fixture with a host, its client and the
// host's Help\ maps, WinHelp calls recorded instead of made, and small dialog and
// frame classes.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/StdCtrls.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_forms.h"
#include "host/HostCore.h"
#include "tests/classlib/UiTestSupport.h"

namespace dlgtest {

struct TWinHelpCall {
  HWND Owner;
  std::string File;
  UINT Command;
  ULONG_PTR Data;
  bool operator==(const TWinHelpCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& Out, const TWinHelpCall& Call) {
  return Out << "{" << Call.Owner << ", " << Call.File << ", " << Call.Command << ", " << Call.Data
             << "}";
}

inline std::vector<TWinHelpCall> WinHelpCalls;
inline BOOL RecordWinHelp(HWND Owner, const char* File, UINT Command, ULONG_PTR Data) {
  WinHelpCalls.push_back({Owner, File ? File : "", Command, Data});
  return TRUE;
}

// The host's install folder, as the build lays it out.
inline AnsiString HostRoot() {
  return ExpandFileName(ExtractFilePath(GetModuleFileNameStr(nullptr)) + "..\\host-root") + "\\";
}

inline void WriteText(const AnsiString& FileName, const AnsiString& Text) {
  ForceDirectories(ExtractFileDir(FileName));
  TOwned<TStringList> Lines(NewObject<TStringList>());
  Lines->SetText(Text);
  Lines->SaveToFile(FileName);
}

// A dialog of 400 x 300, made as the module's dialogs are (centred when made).
class TTestDialog : public TServerDialog {
  TCLASS_DECL(TTestDialog, TServerDialog)
 public:
  explicit TTestDialog(TComponent* AOwner) : TServerDialog(AOwner) { SetBounds(0, 0, 400, 300); }
};

// A frame class whose instances may be named otherwise.
class TfraDetails : public TFrame {
  TCLASS_DECL(TfraDetails, TFrame)
 public:
  explicit TfraDetails(TComponent* AOwner) : TFrame(AOwner) { SetBounds(0, 0, 300, 200); }
};

// A host with its client as the module's, the host's Help\ folder as the module's
// help folder under the module's own name, and WinHelp recorded.
class DialogTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Host = CreateHost();
    ASSERT_NE(Host, nullptr) << "no host (its main window could not be made)";
    SetClient(Host->Client());
    SavedWinHelp = WinHelpProc;
    WinHelpProc = RecordWinHelp;
    WinHelpCalls.clear();
    HelpLocation = {HostRoot() + "Help\\", "Tarvik.dll"};
  }
  void TearDown() override {
    UiTest::TearDown();
    HelpLocation = {};
    WinHelpProc = SavedWinHelp;
    SetClient(nullptr);
    DestroyHost(Host);
  }

  // A shown dialog named Name.
  TTestDialog* ShownDialog(const char* Name) {
    TTestDialog* Dialog = Keep(NewObject<TTestDialog>(nullptr));
    Dialog->SetName(Name);
    Dialog->SetPosition(poScreenCenter);
    Dialog->Show();
    uitest::Pump();
    return Dialog;
  }
  template <class T>
  T* Add(TWinControl* Parent, const char* Name, int Top = 0) {
    T* Control = NewObject<T>(GetParentForm(Parent) ? static_cast<TComponent*>(GetParentForm(Parent))
                                                     : Parent);
    Control->SetName(Name);
    Control->SetTop(Top);
    Control->SetParent(Parent);
    return Control;
  }
  // A key press as the message loop meets it.
  void PressKey(TWinControl* Control, WPARAM Key) {
    PostMessageA(Control->Handle(), WM_KEYDOWN, Key, 1);
    uitest::Pump();
  }
  // The help button clicked on Control at Point.
  void HelpClick(TCustomForm* Dialog, TWinControl* Control, POINT Point) {
    HELPINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.iContextType = HELPINFO_WINDOW;
    Info.hItemHandle = Control->Handle();
    Info.MousePos = Point;
    SendMessageA(Dialog->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&Info));
  }

  THost* Host = nullptr;
  TWinHelpProc SavedWinHelp = WinHelpProc;  // also after a SetUp that stopped early
};

}  // namespace dlgtest
