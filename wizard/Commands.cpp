#include "wizard/Commands.h"

#include <oleauto.h>

#include <utility>

#include "framework/ClientProcs.h"
#include "framework/RT_Workspace.h"
#include "framework/WizardCommands.h"
#include "wizard/BoardDB_Maker.h"
#include "wizard/BoardDlg.h"

namespace Commands {

bool WizardRunning = false;

namespace {

// A 16-bit system string of an 8-bit text, freed at the end of the scope.
class TSystemString {
 public:
  explicit TSystemString(const AnsiString& Text) {
    const int Length = MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()),
                                           nullptr, 0);
    FValue = SysAllocStringLen(nullptr, static_cast<UINT>(Length));
    if (!FValue) throw EOutOfMemory("Out of memory");
    if (Length > 0)
      MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), FValue, Length);
  }
  TSystemString(const TSystemString&) = delete;
  TSystemString& operator=(const TSystemString&) = delete;
  ~TSystemString() { SysFreeString(FValue); }
  BSTR Get() const { return FValue; }

 private:
  BSTR FValue = nullptr;
};

// The new document goes to the host: shown, and its name handed to the workspace
// (when the workspace module is there).
void HandOverDocument(IServerDocument* Document) {
  {
    TInterfaceRef<IClient> Client;
    GetClient(&Client);
    if (Client) Client->ShowDocument(Document);
  }
  const AnsiString Name = HostText(Document->GetFileName());
  TInterfaceRef<IWorkspace> Workspace;
  GetWorkspaceInterface(&Workspace);
  if (!Workspace) return;
  TSystemString FileName(Name);
  OleCheck(Workspace->AddDocumentFile(FileName.Get()));
}

}  // namespace

int RunWizardCommand(IServerDocumentView* Context, const char*) {
  if (WizardRunning) return 0;
  WizardRunning = true;
  struct TRunningScope {
    ~TRunningScope() { WizardRunning = false; }
  } Running;
  RunBoardWizard(Context);
  return 0;
}

int RunDocumentWizardCommand(IServerDocumentView* Context, const char* Parameters) {
  return RunWizardCommand(Context, Parameters);
}

void RunBoardWizard(IServerDocumentView* Context) {
  TOwned<TBoardInfoFromUser> Info(NewObject<TBoardInfoFromUser>());
  bool Accepted = false;
  {
    // The dialog is freed, and the variable cleared, however the dialog ends.
    struct TDialogScope {
      ~TDialogScope() { FreeAndNil(Form_BoardWizard); }
    } Dialog;
    Form_BoardWizard = NewObject<TForm_BoardWizard>(Info.get());
    Accepted = Form_BoardWizard->ShowModal() == mrOk;
  }
  if (!Accepted) return;

  TOwned<TTarvik> Maker(NewObject<TTarvik>(Info.get(), Context));
  Maker->BuildBoard();
  // A maker that could not open a document has nothing to hand over.
  if (Maker->Document) HandOverDocument(Maker->Document);
}

}  // namespace Commands

namespace {

TCommandRunRoutine PreviousRunWizard = nullptr;
TCommandRunRoutine PreviousRunDocumentWizard = nullptr;
bool Started = false;

}  // namespace

void InitCommands() {
  PreviousRunWizard = std::exchange(::RunWizardCommand, Commands::RunWizardCommand);
  PreviousRunDocumentWizard =
      std::exchange(::RunDocumentWizardCommand, Commands::RunDocumentWizardCommand);
  Started = true;
}

void DoneCommands() {
  if (!Started) return;
  ::RunWizardCommand = PreviousRunWizard;
  ::RunDocumentWizardCommand = PreviousRunDocumentWizard;
  Started = false;
}
