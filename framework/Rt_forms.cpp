#include "framework/Rt_forms.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/FileUtils.h"
#include "classlib/ModuleInit.h"
#include "classlib/StrUtils.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_Util.h"
#include "skin/KsTabs.h"

TCLASS_IMPL(TFormWithHelp)
TCLASS_IMPL(TServerDialog)

namespace {

BOOL DefaultWinHelp(HWND Owner, const char* HelpFile, UINT Command, ULONG_PTR Data) {
  return WinHelpA(Owner, HelpFile, Command, Data);
}

// The host's client for the length of a scope (counted), or nullptr.
class TClientRef {
 public:
  TClientRef() { GetClient(&FClient); }
  TClientRef(const TClientRef&) = delete;
  TClientRef& operator=(const TClientRef&) = delete;
  ~TClientRef() {
    if (FClient) FClient->Release();
  }
  IClient* operator->() const { return FClient; }
  explicit operator bool() const { return FClient != nullptr; }

 private:
  IClient* FClient = nullptr;
};

}  // namespace

TWinHelpProc WinHelpProc = DefaultWinHelp;
THelpLocation HelpLocation;

// ---------------------------------------------------------------------------------
// Help files

namespace {
AnsiString HelpModuleFileName() {
  return HelpLocation.ModuleFileName.empty() ? ExtractFileName(GetModuleFileNameStr(HInstance))
                                             : HelpLocation.ModuleFileName;
}
}  // namespace

AnsiString HelpFolder() {
  if (!HelpLocation.Folder.empty()) return IncludeTrailingPathDelimiter(HelpLocation.Folder);
  return ExtractFilePath(GetModuleFileNameStr(GetHostInstance())) + "Help\\";
}

AnsiString ModuleHelpFile() { return ModuleHelpFileOf(HelpModuleFileName()); }

AnsiString ControlHelpFile() { return ChangeFileExt(ModuleHelpFile(), "") + "wth.hlp"; }

AnsiString ModuleHelpFileOf(const AnsiString& ModuleFileName) {
  return HelpFolder() + ChangeFileExt(ExtractFileName(ModuleFileName), ".hlp");
}

AnsiString MasterHelpFile() { return HelpFolder() + "Velhub.hlp"; }

// The value of a key rides in the string's object slot.
int HelpIdValue(const TStringList* Ids, int Index) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(Ids->Objects(Index)));
}

void LoadHelpIdFile(const AnsiString& HelpFile, TStringList* Ids, TStrings* Topics) {
  AnsiString IdFile = ChangeFileExt(HelpFile, ".id");
  if (!FileExists(IdFile)) return;
  TOwned<TStringList> Lines(NewObject<TStringList>());
  Lines->LoadFromFile(IdFile);
  ReadHelpIdLines(Lines.get(), Ids, Topics);
}

void ReadHelpIdLines(const TStrings* Lines, TStringList* Ids, TStrings* Topics) {
  bool Added = false;
  for (int I = 0; I < Lines->Count(); ++I) {
    AnsiString Line = Lines->Strings(I);
    AnsiString::size_type Equals = Line.find('=');
    if (Equals == AnsiString::npos) continue;
    AnsiString Value = Line.substr(Equals + 1);
    int Number;
    AnsiString::size_type Comma = Value.find(',');
    if (Comma != AnsiString::npos) {
      Topics->Add(Trim(Value.substr(Comma + 1)));
      Number = -Topics->Count();
    } else {
      // Negative numbers would read as topic references: they count as no context.
      Number = std::max(0, StrToIntDef(Trim(Value), 0));
    }
    Ids->AddObject(Line.substr(0, Equals), reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Number)));
    Added = true;
  }
  if (Added) Ids->SetSorted(true);
}

namespace {

int LookupTopicAt(const AnsiString& Topic, AnsiString& HelpFile, int Depth);

// LookupHelpContext at a depth of topic references.
int LookupContextAt(const AnsiString& Key, const AnsiString& Qualifier, AnsiString& HelpFile,
                    TStrings* Topics, TStringList* Ids, int Depth) {
  if (Ids->Count() == 0) LoadHelpIdFile(HelpFile, Ids, Topics);
  AnsiString FullKey = Qualifier.empty() ? Key : "Dlg_" + Qualifier + "_" + Key;
  int Index;
  if (Ids->Count() == 0 || !Ids->Find(FullKey, Index)) return 0;
  int Value = HelpIdValue(Ids, Index);
  if (Value >= 0) return Value;
  int Topic = -Value - 1;
  if (Topic >= Topics->Count()) return 0;
  return LookupTopicAt(Topics->Strings(Topic), HelpFile, Depth + 1);
}

int LookupTopicAt(const AnsiString& Topic, AnsiString& HelpFile, int Depth) {
  // Maps that refer to each other in a ring end here.
  if (Depth > MaxHelpTopicDepth) return 0;
  TClientRef Client;
  if (!Client) return 0;
  const char* Module = Client->GetHelpModuleName(Topic.c_str());
  if (!Module) return 0;
  AnsiString File = ModuleHelpFileOf(Module);
  if (!FileExists(File)) return 0;
  TOwned<TStringList> Ids(NewObject<TStringList>());
  TOwned<TStringList> Topics(NewObject<TStringList>());
  int Context = LookupContextAt(StringReplaceAll(Topic, ":", "_"), AnsiString(), File, Topics.get(),
                                Ids.get(), Depth);
  if (Context != 0) HelpFile = File;
  return Context;
}

}  // namespace

int LookupHelpContext(const AnsiString& Key, const AnsiString& Qualifier, AnsiString& HelpFile,
                      TStrings* Topics, TStringList* Ids) {
  return LookupContextAt(Key, Qualifier, HelpFile, Topics, Ids, 0);
}

int LookupTopicInModuleHelp(const AnsiString& Topic, AnsiString& HelpFile) {
  return LookupTopicAt(Topic, HelpFile, 1);
}

// ---------------------------------------------------------------------------------
// Help containers

namespace {

struct THelpContainerClass {
  TClass Class;
  THelpActivePageFunc ActivePage;  // nullptr for plain containers
};
std::vector<THelpContainerClass> ContainerClasses;

const THelpContainerClass* FindContainerClass(const TControl* Control) {
  for (const THelpContainerClass& Entry : ContainerClasses)
    if (Control->InheritsFrom(Entry.Class)) return &Entry;
  return nullptr;
}

// The nearest form or frame among Control's parents.
TWinControl* ParentFormOrFrame(TControl* Control) {
  for (TWinControl* Parent = Control->Parent(); Parent; Parent = Parent->Parent())
    if (Parent->Is<TCustomForm>() || Parent->Is<TCustomFrame>()) return Parent;
  return nullptr;
}

// Lets the host make room for a popup help window.
void PrepareHostForPopupHelp() {
  TClientRef Client;
  if (!Client) return;
  IHelpPanel* Panel = nullptr;
  Client->GetHelpPanel(-1, "", &Panel);
  if (!Panel) return;
  Panel->PrepareForPopup();
  Panel->Release();
}

// Popup 1 of the master help file at Position.
void ShowMasterPopup(HWND Owner, DWORD Position) {
  AnsiString Master = MasterHelpFile();
  WinHelpProc(Owner, Master.c_str(), HELP_SETPOPUP_POS, Position);
  WinHelpProc(Owner, Master.c_str(), HELP_CONTEXTPOPUP, 1);
}

DWORD CursorPosition() {
  POINT P{0, 0};
  GetCursorPos(&P);
  return MAKELONG(static_cast<WORD>(P.x), static_cast<WORD>(P.y));
}

}  // namespace

void RegisterHelpContainerClass(TClass Class) { RegisterHelpTabControlClass(Class, nullptr); }

void RegisterHelpTabControlClass(TClass Class, THelpActivePageFunc ActivePage) {
  UnregisterHelpContainerClass(Class);
  ContainerClasses.push_back({Class, ActivePage});
}

void UnregisterHelpContainerClass(TClass Class) {
  for (auto It = ContainerClasses.begin(); It != ContainerClasses.end(); ++It)
    if (It->Class == Class) {
      ContainerClasses.erase(It);
      return;
    }
}

namespace {
TWinControl* KsTabControlActivePage(TWinControl* TabControl) {
  return static_cast<TKsCustomTabControl*>(TabControl)->ActivePage();
}
}  // namespace

bool IsHelpContainer(const TControl* Control) {
  if (!Control || !Control->Is<TWinControl>()) return false;
  return Control->Is<TCustomForm>() || Control->Is<TCustomFrame>() || FindContainerClass(Control);
}

// ---------------------------------------------------------------------------------
// TFormWithHelp

TFormWithHelp::TFormWithHelp(TComponent* AOwner) : TForm(AOwner) {}

TFormWithHelp::TFormWithHelp(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {}

TFormWithHelp::~TFormWithHelp() {
  FreeAndNil(FControlHelpTopics);
  FreeAndNil(FControlHelpIds);
  FreeAndNil(FDialogHelpTopics);
  FreeAndNil(FDialogHelpIds);
}

int TFormWithHelp::LookupControlHelp(TWinControl* Container, AnsiString& HelpFile) {
  if (!Container) return 0;
  AnsiString Key = "Dlg_" + Container->Name();
  if (Container->Is<TCustomForm>() || Container->Is<TCustomFrame>()) {
    HelpFile = ModuleHelpFile();
    return LookupHelpContext(Key, AnsiString(), HelpFile, FDialogHelpTopics, FDialogHelpIds);
  }
  HelpFile = ControlHelpFile();
  return LookupHelpContext(Key, AnsiString(), HelpFile, FControlHelpTopics, FControlHelpIds);
}

TWinControl* TFormWithHelp::FindHelpContainerChild(TWinControl* Parent) {
  if (!Parent) return nullptr;
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    TControl* Child = Parent->Controls(I);
    if (!IsHelpContainer(Child)) continue;
    auto* Container = static_cast<TWinControl*>(Child);
    AnsiString HelpFile;
    if (LookupControlHelp(Container, HelpFile) != 0) return Container;
    return FindHelpContainerChild(Container);
  }
  return nullptr;
}

void TFormWithHelp::ShowHelpForControl(TControl* Control) {
  TWinControl* Container = nullptr;
  for (TControl* C = Control; C && !Container; C = C->Parent())
    if (IsHelpContainer(C)) Container = static_cast<TWinControl*>(C);
  if (!Container || Container == this) Container = FindHelpContainerChild(this);
  if (Container) {
    const THelpContainerClass* Entry = FindContainerClass(Container);
    if (Entry && Entry->ActivePage) Container = Entry->ActivePage(Container);
  }
  AnsiString HelpFile;
  if (LookupControlHelp(Container, HelpFile) == 0) {
    Container = FindHelpContainerChild(Container);
    if (!Container) Container = this;
  }
  int Context = LookupControlHelp(Container, HelpFile);
  if (Context == 0 && Container != this) Context = LookupControlHelp(this, HelpFile);

  if (Context == 0) {
    ShowMasterPopup(Handle(), CursorPosition());
    return;
  }
  // The topic opens in the host's application window; without a host, in the dialog's.
  HWND Owner = nullptr;
  {
    TClientRef Client;
    if (Client) Owner = Client->GetApplicationHandle();
  }
  if (!Owner) Owner = Handle();
  WinHelpProc(Owner, HelpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(Context));
}

int TFormWithHelp::LookupPopupContext(const AnsiString& Key, TWinControl* Container,
                                      const AnsiString& ClassKey, AnsiString& HelpFile) {
  int Context =
      LookupHelpContext(Key, Container->Name(), HelpFile, FControlHelpTopics, FControlHelpIds);
  if (Context <= 0 && !SameText(Container->Name(), ClassKey))
    Context = LookupHelpContext(Key, ClassKey, HelpFile, FControlHelpTopics, FControlHelpIds);
  return Context > 0 ? Context : 0;
}

void TFormWithHelp::ShowPopupHelp(HWND ItemWindow, DWORD Position) {
  PrepareHostForPopupHelp();
  TWinControl* Control = FindControl(ItemWindow);
  if (!Control) return;
  AnsiString HelpFile = ControlHelpFile();
  TWinControl* Container = ParentFormOrFrame(Control);
  if (!Container) Container = this;
  AnsiString ClassKey = Container->ClassName().substr(1);
  int Context = LookupPopupContext(Control->Name(), Container, ClassKey, HelpFile);
  TWinControl* Parent = Control->Parent();
  if (Context == 0 && Parent && Parent != Container)
    Context = LookupPopupContext(Parent->Name(), Container, ClassKey, HelpFile);
  if (Context == 0) {
    ShowMasterPopup(Handle(), Position);
    return;
  }
  WinHelpProc(Handle(), HelpFile.c_str(), HELP_SETPOPUP_POS, Position);
  WinHelpProc(Handle(), HelpFile.c_str(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(Context));
}

void TFormWithHelp::CMChildKey(TMessage& Message) {
  if (Message.WParam != VK_F1 || !FHelpEnabled) {
    inherited::Dispatch(Message);
    return;
  }
  FF1Handled = true;
  Message.Result = 1;
  ShowHelpForControl(reinterpret_cast<TWinControl*>(Message.LParam));
}

void TFormWithHelp::WMHelp(TMessage& Message) {
  auto* Info = reinterpret_cast<HELPINFO*>(Message.LParam);
  if (!FHelpEnabled || !Info || Info->iContextType != HELPINFO_WINDOW) {
    inherited::Dispatch(Message);
    return;
  }
  // The help button's message that follows F1 shows nothing; the next one does.
  bool AfterF1 = FF1Handled;
  FF1Handled = false;
  Message.Result = 1;
  if (!AfterF1)
    ShowPopupHelp(static_cast<HWND>(Info->hItemHandle),
                  MAKELONG(static_cast<WORD>(Info->MousePos.x), static_cast<WORD>(Info->MousePos.y)));
}

void TFormWithHelp::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CHILDKEY: CMChildKey(Message); break;
    case WM_HELP: WMHelp(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TServerDialog

TServerDialog::TServerDialog(TComponent* AOwner) : TFormWithHelp(AOwner) {}

TServerDialog::TServerDialog(TComponent* AOwner, TCreateNew)
    : TFormWithHelp(AOwner, CreateNew), FCreateNew(true) {}

void TServerDialog::AfterConstruction() {
  inherited::AfterConstruction();
  // Once the form files gave the dialog its size.
  if (!FCreateNew) CentreOnActiveMonitor(this);
}

void TServerDialog::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_CONTEXTHELP;
  if (!Parent() && !ParentWindow())
    if (HWND MainWindow = GetClientMainWindow()) Params.WndParent = MainWindow;
}

void TServerDialog::ShowingChanged() {
  if (!Showing() || Position() == poDesigned) {
    inherited::ShowingChanged();
    return;
  }
  // Placed already: no positioning by Position.
  SetFormStateFlag(fsShowing, true);
  try {
    DoShow();
  } catch (...) {
    HandleWindowException(this);
  }
  ShowWindow(Handle(), ShowCommand());
  SetFormStateFlag(fsShowing, false);
}

// ---------------------------------------------------------------------------------
// Placement

TPoint CentredOnMonitor(const TRect& Monitor, int Width, int Height) {
  return Point((Monitor.left + Monitor.right - Width) / 2, (Monitor.top + Monitor.bottom - Height) / 2);
}

TPoint FileDialogPosition(const TRect& Monitor, int Width, int Height) {
  return Point((Monitor.left + Monitor.right - Width) / 2,
               Monitor.top + (Monitor.bottom - Monitor.top - Height) / 3);
}

namespace {
bool MonitorRect(HMONITOR Monitor, TRect& R) {
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (!Monitor || !GetMonitorInfoA(Monitor, &Info)) return false;
  R = Info.rcMonitor;
  return true;
}

int StateShowCommand(TWindowState State) {
  switch (State) {
    case wsMinimized: return SW_SHOWMINNOACTIVE;
    case wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

HMONITOR DialogMonitor = nullptr;
TMessageDialogShowingHook PreviousMessageDialogShowingHook = nullptr;
TFileDialogMessageHook PreviousFileDialogMessageHook = nullptr;
TBeforeOpenDialogHook PreviousBeforeOpenDialogHook = nullptr;
TControlInsertedHook PreviousControlInsertedHook = nullptr;
bool HooksInstalled = false;

// The dialogs' theming, then whatever hook was there before.
void ControlInserted(TControl* Control) {
  ThemedInsertControl(Control);
  if (PreviousControlInsertedHook) PreviousControlInsertedHook(Control);
}
}  // namespace

void CentreOnActiveMonitor(TCustomForm* Form) {
  HWND Active = GetActiveWindow();
  TRect Monitor;
  if (!Active || !MonitorRect(MonitorFromWindow(Active, MONITOR_DEFAULTTONULL), Monitor)) return;
  TPoint P = CentredOnMonitor(Monitor, Form->Width(), Form->Height());
  Form->SetBounds(P.x, P.y, Form->Width(), Form->Height());
}

void PlaceFileDialog(HWND Window, HMONITOR Monitor) {
  TRect R, M;
  if (!Window || !MonitorRect(Monitor, M) || !GetWindowRect(Window, &R)) return;
  TPoint P = FileDialogPosition(M, R.right - R.left, R.bottom - R.top);
  SetWindowPos(Window, nullptr, P.x, P.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MessageDialogShowing(TCustomForm* Form) {
  CentreOnActiveMonitor(Form);
  ShowWindow(Form->Handle(), StateShowCommand(Form->WindowState()));
  return true;
}

bool FileDialogHook(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR& Result) {
  if (Msg == WM_NOTIFY) {
    auto* Header = reinterpret_cast<NMHDR*>(LParam);
    if (Header && Header->code == static_cast<UINT>(CDN_INITDONE)) {
      PlaceFileDialog(GetParent(Dialog), DialogMonitor);
      Result = 0;
      return true;
    }
  }
  return PreviousFileDialogMessageHook &&
         PreviousFileDialogMessageHook(Dialog, Msg, WParam, LParam, Result);
}

void RememberDialogMonitor(HWND Owner) {
  HWND Active = GetActiveWindow();
  DialogMonitor = MonitorFromWindow(Active ? Active : Owner, MONITOR_DEFAULTTONEAREST);
  if (PreviousBeforeOpenDialogHook) PreviousBeforeOpenDialogHook(Owner);
}

HMONITOR RememberedDialogMonitor() { return DialogMonitor; }

void InitRtForms() {
  LoadClientApi();
  PreviousMessageDialogShowingHook = std::exchange(MessageDialogShowingHook, MessageDialogShowing);
  PreviousFileDialogMessageHook = std::exchange(FileDialogMessageHook, FileDialogHook);
  PreviousBeforeOpenDialogHook = std::exchange(BeforeOpenDialogHook, RememberDialogMonitor);
  PreviousControlInsertedHook = std::exchange(ControlInsertedHook, ControlInserted);
  HooksInstalled = true;
  RegisterHelpContainerClass(&TKsCustomTabSheet::StaticClass());
  RegisterHelpTabControlClass(&TKsCustomTabControl::StaticClass(), KsTabControlActivePage);
}

void DoneRtForms() {
  UnregisterHelpContainerClass(&TKsCustomTabControl::StaticClass());
  UnregisterHelpContainerClass(&TKsCustomTabSheet::StaticClass());
  if (!HooksInstalled) return;
  MessageDialogShowingHook = PreviousMessageDialogShowingHook;
  FileDialogMessageHook = PreviousFileDialogMessageHook;
  BeforeOpenDialogHook = PreviousBeforeOpenDialogHook;
  ControlInsertedHook = PreviousControlInsertedHook;
  HooksInstalled = false;
  DialogMonitor = nullptr;
}
