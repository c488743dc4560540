#include "classlib/Dialogs.h"

#include <algorithm>
#include <vector>

#include "classlib/ModuleInit.h"
#include "classlib/StdCtrls.h"
#include "classlib/ScopeExit.h"

TMessageDialogShowingHook MessageDialogShowingHook = nullptr;
TFileDialogMessageHook FileDialogMessageHook = nullptr;
TBeforeOpenDialogHook BeforeOpenDialogHook = nullptr;

TCLASS_IMPL(TMessageForm)
TCLASS_IMPL(TCommonDialog)
TCLASS_IMPL(TOpenDialog)
TCLASS_IMPL(TSaveDialog)
TCLASS_IMPL(TOpenPictureDialog)
TCLASS_IMPL(TSavePictureDialog)

const char* const MsgDlgBtnNames[11] = {
    "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help",
};
const char* const MsgDlgBtnCaptions[11] = {
    "&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All", "Yes to &All",
    "&Help",
};

namespace {

TModalResult DefaultRunMessageDialog(TCustomForm* Form) { return Form->ShowModal(); }

const TModalResult ButtonResults[11] = {
    mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone,
};

const char* const DlgTypeCaptions[] = {"Warning", "Error", "Information", "Confirmation"};

LPCSTR DlgTypeIcon(TMsgDlgType DlgType) {
  switch (DlgType) {
    case mtWarning: return IDI_WARNING;
    case mtError: return IDI_ERROR;
    case mtInformation: return IDI_INFORMATION;
    case mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}

// Dialog units of a font: a quarter of its average character width and an eighth of
// its height, in pixels.
struct TDialogUnits {
  int X = 2;
  int Y = 2;
  int Horz(int Units) const { return MulDiv(Units, X, 4); }
  int Vert(int Units) const { return MulDiv(Units, Y, 8); }
};

}  // namespace

TMessageDialogRunProc MessageDialogRunProc = DefaultRunMessageDialog;

// ---------------------------------------------------------------------------------
// TMessageForm

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {}

void TMessageForm::ShowingChanged() {
  if (Showing() && MessageDialogShowingHook && MessageDialogShowingHook(this)) return;
  inherited::ShowingChanged();
}

void TMessageForm::Paint() {
  inherited::Paint();
  if (FIcon) DrawIconEx(Canvas()->Handle(), FIconPos.x, FIconPos.y, FIcon, 32, 32, 0, nullptr, DI_NORMAL);
}

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  TOwned<TMessageForm> Form(NewObject<TMessageForm>(nullptr));
  Form->FDlgType = DlgType;
  Form->SetBorderStyle(bsDialog);
  Form->SetPosition(poScreenCenter);
  Form->SetCaption(DlgType == mtCustom ? (Application ? Application->Title() : AnsiString())
                                       : AnsiString(DlgTypeCaptions[DlgType]));

  // Measures with the form's font on the screen.
  TDialogUnits Units;
  TRect TextRect = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0);
  if (TScreenDC Screen; HDC DC = Screen.DC()) {
    TSelection Font(DC, Form->Font()->Handle());
    TEXTMETRICA Metrics{};
    GetTextMetricsA(DC, &Metrics);
    const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE Extent{};
    GetTextExtentPoint32A(DC, Alphabet, 52, &Extent);
    Units.X = std::max<int>(1, (Extent.cx / 26 + 1) / 2);
    Units.Y = std::max<int>(1, Metrics.tmHeight);
    DrawTextA(DC, Msg.c_str(), static_cast<int>(Msg.size()), &TextRect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  }
  const int HorzMargin = Units.Horz(8), VertMargin = Units.Vert(8);
  const int HorzSpacing = Units.Horz(10), VertSpacing = Units.Vert(10);
  const int ButtonWidth = Units.Horz(50), ButtonHeight = Units.Vert(14);
  const int ButtonSpacing = Units.Horz(4);

  if (LPCSTR IconId = DlgTypeIcon(DlgType)) Form->FIcon = LoadIconA(nullptr, IconId);
  int IconWidth = Form->FIcon ? 32 + HorzSpacing : 0;
  int TextWidth = TextRect.right - TextRect.left, TextHeight = TextRect.bottom - TextRect.top;
  int IconTextWidth = IconWidth + TextWidth;
  int IconTextHeight = std::max(Form->FIcon ? 32 : 0, TextHeight);

  std::vector<TMsgDlgBtn> Kinds;
  for (int B = mbYes; B <= mbHelp; ++B)
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(B))) Kinds.push_back(static_cast<TMsgDlgBtn>(B));
  int Count = static_cast<int>(Kinds.size());
  int GroupWidth = Count > 0 ? Count * ButtonWidth + (Count - 1) * ButtonSpacing : 0;

  int ClientWidth = std::max(IconTextWidth, GroupWidth) + 2 * HorzMargin;
  int ClientHeight = IconTextHeight + VertSpacing + ButtonHeight + 2 * VertMargin;
  Form->SetClientWidth(ClientWidth);
  Form->SetClientHeight(ClientHeight);

  Form->FIconPos = Point(HorzMargin, VertMargin);
  auto* Label = NewObject<TLabel>(Form.get());
  Label->SetName("Message");
  Label->SetAutoSize(false);
  Label->SetWordWrap(true);
  Label->SetShowAccelChar(false);
  Label->SetCaption(Msg);
  Label->SetBounds(HorzMargin + IconWidth, VertMargin, TextWidth, TextHeight);
  Label->SetParent(Form.get());
  Form->FMessage = Label;

  TMsgDlgBtn DefaultKind = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes
                                                          : Count > 0 ? Kinds[0] : mbOK;
  TMsgDlgBtn CancelKind = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
  int X = (ClientWidth - GroupWidth) / 2;
  int Y = IconTextHeight + VertMargin + VertSpacing;
  for (TMsgDlgBtn Kind : Kinds) {
    auto* Button = NewObject<TButton>(Form.get());
    Button->SetName(MsgDlgBtnNames[Kind]);
    Button->SetCaption(MsgDlgBtnCaptions[Kind]);
    Button->SetModalResult(ButtonResults[Kind]);
    if (Kind == DefaultKind) Button->SetDefault(true);
    if (Kind == CancelKind) Button->SetCancel(true);
    Button->SetBounds(X, Y, ButtonWidth, ButtonHeight);
    Button->SetParent(Form.get());
    X += ButtonWidth + ButtonSpacing;
  }
  return Form.release();
}

TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx) {
  TOwned<TForm> Form(CreateMessageDialog(Msg, DlgType, Buttons));
  Form->SetHelpContext(HelpCtx);
  return MessageDialogRunProc(Form.get());
}

// ---------------------------------------------------------------------------------
// File dialogs

TFileNameFunc GetOpenFileNameProc = GetOpenFileNameA;
TFileNameFunc GetSaveFileNameProc = GetSaveFileNameA;

namespace {

// The option flags that map one to one on the system's.
const struct {
  TOpenOption Option;
  DWORD Flag;
} OptionFlags[] = {
    {ofReadOnly, OFN_READONLY},
    {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
    {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {ofPathMustExist, OFN_PATHMUSTEXIST},
    {ofFileMustExist, OFN_FILEMUSTEXIST},
    {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
    {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableSizing, OFN_ENABLESIZING},
    {ofDontAddToRecent, OFN_DONTADDTORECENT},
    {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
};

// The filter text with "|" turned into the system's zero separators and the double
// zero at the end.
std::vector<char> SystemFilter(const AnsiString& Filter) {
  std::vector<char> Result(Filter.begin(), Filter.end());
  std::replace(Result.begin(), Result.end(), '|', '\0');
  Result.push_back('\0');
  Result.push_back('\0');
  return Result;
}

// Moves the file dialog's window to the middle of the work area of the monitor
// nearest to its owner.
void CentreFileDialog(HWND Window) {
  HWND Owner = GetWindow(Window, GW_OWNER);
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (!GetMonitorInfoA(MonitorFromWindow(Owner ? Owner : Window, MONITOR_DEFAULTTONEAREST), &Info))
    return;
  RECT R;
  if (!GetWindowRect(Window, &R)) return;
  int Width = R.right - R.left, Height = R.bottom - R.top;
  const RECT& Area = Info.rcWork;
  SetWindowPos(Window, nullptr, (Area.left + Area.right - Width) / 2,
               (Area.top + Area.bottom - Height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

UINT_PTR CALLBACK FileDialogHookProc(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam) {
  try {
    if (FileDialogMessageHook) {
      UINT_PTR Result = 0;
      if (FileDialogMessageHook(Dialog, Msg, WParam, LParam, Result)) return Result;
    }
    switch (Msg) {
      case WM_INITDIALOG: {
        // The record's custom data is the dialog object: it learns its window here.
        auto* Info = reinterpret_cast<OPENFILENAMEA*>(LParam);
        if (Info && Info->lCustData)
          reinterpret_cast<TOpenDialog*>(Info->lCustData)->FHandle = GetParent(Dialog);
        break;
      }
      case WM_NOTIFY: {
        auto* Header = reinterpret_cast<NMHDR*>(LParam);
        if (Header && Header->code == static_cast<UINT>(CDN_INITDONE)) CentreFileDialog(GetParent(Dialog));
        break;
      }
    }
  } catch (...) {
    HandleWindowException(nullptr);
  }
  return 0;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {
  FFiles = NewObject<TStringList>();
}

TOpenDialog::~TOpenDialog() { FreeAndNil(FFiles); }

bool TOpenDialog::Execute() { return DoExecute(GetOpenFileNameProc); }

bool TSaveDialog::Execute() { return DoExecute(GetSaveFileNameProc); }

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  SetFilter(GraphicFilter(&TGraphic::StaticClass()));
}

bool TSavePictureDialog::Execute() { return DoExecute(GetSaveFileNameProc); }

bool TOpenDialog::DoExecute(TFileNameFunc Func) {
  HWND Owner = GetActiveWindow();
  if (!Owner && Application) Owner = Application->Handle();
  if (BeforeOpenDialogHook) BeforeOpenDialogHook(Owner);

  // Several chosen names need room; one name needs MAX_PATH.
  std::vector<char> Buffer(FOptions.Contains(ofAllowMultiSelect) ? 0x10000 : MAX_PATH, '\0');
  std::copy_n(FFileName.begin(), std::min(FFileName.size(), Buffer.size() - 1), Buffer.begin());
  std::vector<char> Filter = SystemFilter(FFilter);

  OPENFILENAMEA Info{};
  Info.lStructSize = sizeof(Info);
  Info.hwndOwner = Owner;
  Info.hInstance = HInstance;
  Info.lpstrFilter = FFilter.empty() ? nullptr : Filter.data();
  Info.nFilterIndex = static_cast<DWORD>(FFilterIndex);
  Info.lpstrFile = Buffer.data();
  Info.nMaxFile = static_cast<DWORD>(Buffer.size());
  Info.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
  Info.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
  Info.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
  Info.Flags = OFN_ENABLEHOOK | OFN_EXPLORER;
  for (const auto& Entry : OptionFlags)
    if (FOptions.Contains(Entry.Option)) Info.Flags |= Entry.Flag;
  Info.lpfnHook = FileDialogHookProc;
  Info.lCustData = reinterpret_cast<LPARAM>(this);

  bool Result;
  {
    auto Closed = ScopeExit([&] { FHandle = nullptr; });
    Result = Func(&Info) != FALSE;
  }
  if (!Result) return false;

  FFilterIndex = static_cast<int>(Info.nFilterIndex);
  if (Info.Flags & OFN_READONLY)
    FOptions.Include(ofReadOnly);
  else
    FOptions.Exclude(ofReadOnly);
  if (Info.Flags & OFN_EXTENSIONDIFFERENT)
    FOptions.Include(ofExtensionDifferent);
  else
    FOptions.Exclude(ofExtensionDifferent);

  // One name, or (explorer style, several files) the folder and then each name, every
  // part ended by a zero and the whole by a second one.
  FFiles->Clear();
  Buffer.back() = '\0';
  AnsiString First(Buffer.data());
  const char* Next = Buffer.data() + First.size() + 1;
  if (!FOptions.Contains(ofAllowMultiSelect) || *Next == '\0') {
    FFiles->Add(First);
  } else {
    AnsiString Folder = First;
    if (!Folder.empty() && Folder.back() != '\\') Folder += '\\';
    const char* End = Buffer.data() + Buffer.size();
    while (Next < End && *Next) {
      AnsiString Name(Next);
      FFiles->Add(Folder + Name);
      Next += Name.size() + 1;
    }
  }
  FFileName = FFiles->Count() > 0 ? FFiles->Strings(0) : AnsiString();
  return true;
}
