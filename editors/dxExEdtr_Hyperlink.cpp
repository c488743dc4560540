#include "editors/dxExEdtr_Hyperlink.h"

#include <shellapi.h>

#include "classlib/FileUtils.h"
#include "classlib/Forms.h"
#include "classlib/Messages.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "editors/dxExEdtr.h"

TCLASS_IMPL(TdxHyperLinkEditViewData)
TCLASS_IMPL(TdxInplaceHyperLinkEdit)

TShellExecuteProc ShellExecuteProc = ShellExecuteA;

namespace {

bool StartsWithText(const AnsiString& Text, const char* Prefix) {
  AnsiString P = Prefix;
  return Text.size() > P.size() && SameText(Text.substr(0, P.size()), P);
}

// Every type the shell runs, or hands to something that runs or installs what the
// file holds, whatever the environment's PATHEXT lists: programs and scripts,
// shortcuts and shell commands, packages and installers, and the settings files that
// change the system.
const char* const ProgramTypes[] = {
    // Programs and scripts.
    ".EXE", ".COM", ".BAT", ".CMD", ".PIF", ".SCR", ".CPL", ".MSC", ".HTA", ".JS", ".JSE", ".VBS", ".VBE", ".VB",
    ".WSF", ".WSH", ".WSC", ".WS", ".SCT", ".PS1", ".PS1XML", ".PS2", ".PS2XML", ".PSC1", ".PSC2", ".PSD1",
    ".PSM1", ".MSH", ".MSH1", ".MSH2", ".MSHXML", ".MSH1XML", ".MSH2XML", ".PY", ".PYC", ".PYO", ".PYW", ".PYZ",
    ".PYZW", ".PL", ".RB", ".TCL", ".SH", ".BASH", ".KSH", ".CSH", ".ZSH", ".COMMAND", ".DESKTOP", ".JAR",
    ".JNLP",
    // Shortcuts and shell commands.
    ".LNK", ".URL", ".WEBSITE", ".SCF", ".SHB", ".SHS", ".XNK", ".LIBRARY-MS", ".SEARCH-MS",
    ".SEARCHCONNECTOR-MS", ".SETTINGCONTENT-MS", ".CHM", ".HLP",
    // Packages and installers.
    ".MSI", ".MSP", ".MST", ".MSU", ".APPX", ".APPXBUNDLE", ".MSIX", ".MSIXBUNDLE", ".APPINSTALLER",
    ".APPLICATION", ".APPREF-MS", ".XBAP", ".GADGET", ".PPKG", ".WSB", ".VSIX", ".VSTO",
    // Add-ins, libraries and controls.
    ".XLL", ".XLA", ".XLAM", ".WLL", ".PPA", ".PPAM", ".DLL", ".OCX",
    // Databases and projects whose code runs, their add-ins and workgroups, and the
    // shortcuts to their objects.
    ".MDB", ".MDE", ".ADE", ".ADP", ".ACCDB", ".ACCDE", ".ACCDR", ".ACCDA", ".MDA", ".MDW", ".MAF", ".MAM",
    ".MAQ", ".MAR", ".MAT",
    // Spreadsheet files that fetch or run what they name.
    ".IQY", ".SLK",
    // Disk images and virtual disks, which the shell mounts, and scheduled jobs.
    ".ISO", ".IMG", ".VHD", ".VHDX", ".JOB",
    // Certificates, their bundles and the stores and lists the system installs.
    ".CER", ".CRT", ".DER", ".PFX", ".P12", ".P7B", ".P7C", ".P7R", ".SPC", ".SST", ".STL", ".CRL",
    // Settings that change the system: internet and remote-session settings among them.
    ".INF", ".REG", ".DIAGCAB", ".DIAGCFG", ".DIAGPKG", ".THEME", ".THEMEPACK", ".DESKTHEMEPACK", ".INS", ".ISP",
    ".RDP"};

// ";"-separated extensions, each with its dot; Ext in upper case.
bool ListHasExtension(const AnsiString& List, const AnsiString& Ext) {
  AnsiString Upper = UpperCase(List) + ";";
  std::size_t Start = 0;
  for (std::size_t End; (End = Upper.find(';', Start)) != AnsiString::npos; Start = End + 1)
    if (Trim(Upper.substr(Start, End - Start)) == Ext) return true;
  return false;
}

// The fixed list, and whatever the environment adds to the types it runs.
bool IsProgramType(const AnsiString& Ext) {
  if (Ext.size() < 2) return true;
  const AnsiString Upper = UpperCase(Ext);
  for (const char* Type : ProgramTypes)
    if (Upper == Type) return true;
  char PathExt[1024] = {};
  const DWORD Length = GetEnvironmentVariableA("PATHEXT", PathExt, sizeof(PathExt));
  return Length > 0 && Length < sizeof(PathExt) && ListHasExtension(PathExt, Upper);
}

}  // namespace

bool IsOpenableLink(const AnsiString& Text) {
  // The shell would take the text up to a NUL, and the tests below the whole of it.
  if (Text.find('\0') != AnsiString::npos) return false;
  AnsiString Link = Trim(Text);
  if (Link.empty()) return false;
  for (const char* Scheme : {"http://", "https://", "ftp://", "mailto:"})
    if (StartsWithText(Link, Scheme)) return true;
  // Any other scheme, or a stream name after a file name, is refused; a drive's colon
  // is the only one a document's path has.
  std::size_t Colon = Link.find(':');
  if (Colon != AnsiString::npos && Colon != 1) return false;
  if (Colon == 1 && Link.find(':', 2) != AnsiString::npos) return false;
  // The system drops trailing dots and blanks of a name: "run.exe." is a program.
  AnsiString Name = Link;
  while (!Name.empty() && (Name.back() == '.' || Name.back() == ' ')) Name.pop_back();
  if (Name != Link) return false;
  DWORD Attributes = GetFileAttributesA(Link.c_str());
  if (Attributes == INVALID_FILE_ATTRIBUTES || (Attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return !IsProgramType(ExtractFileExt(Link));
}

TdxInplaceHyperLinkEdit::TdxInplaceHyperLinkEdit(TComponent* AOwner) : TdxInplaceTextEdit(AOwner) {
  FStartKey = ShortCut(VK_RETURN, TShiftState{ssCtrl});
  SetAutoSelect(false);
}

TdxInplaceHyperLinkEdit::~TdxInplaceHyperLinkEdit() { FreeAndNil(FLinkFont); }

// ---------------------------------------------------------------------------------
// Class operations and the look

TdxEditViewDataClass TdxInplaceHyperLinkEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxHyperLinkEditViewData::StaticClass();
}

TCursor TdxInplaceHyperLinkEdit::GetCursor(MetaType::TSelf Self, int X, int Y, TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxHyperLinkEditViewData>(ViewData);
  if (Data && Data->HandCursor) return crdxHandPoint;
  return inherited::GetCursor(Self, X, Y, ViewData);
}

TFont* TdxInplaceHyperLinkEdit::LinkFont() {
  if (!FLinkFont) {
    FLinkFont = NewObject<TFont>();
    UpdateLinkFont();
  }
  return FLinkFont;
}

void TdxInplaceHyperLinkEdit::UpdateLinkFont() {
  TFont* Link = FLinkFont ? FLinkFont : LinkFont();
  Link->Assign(Font());
  TFontStyles Style = Link->Style();
  Style.Include(fsUnderline);
  Link->SetStyle(Style);
  Link->SetColor(FLinkColor);
}

void TdxInplaceHyperLinkEdit::SetLinkColor(TColor Value) {
  if (FLinkColor == Value) return;
  FLinkColor = Value;
  Perform(CM_FONTCHANGED, 0, 0);
  Invalidate();
}

TdxEditViewData* TdxInplaceHyperLinkEdit::CreateViewData(bool PaintCopy) {
  TOwned<TdxEditViewData> ViewData(inherited::CreateViewData(PaintCopy));
  ViewData->Font = LinkFont()->Handle();
  ViewData->TextColor = ColorToRGB(LinkFont()->Color());
  if (auto* Data = ObjectAs<TdxHyperLinkEditViewData>(ViewData.get()))
    Data->HandCursor = !ComponentState().Contains(csDesigning) && ClickStarts();
  return ViewData.release();
}

// The rich edit control shows the text underlined in the link colour.
void TdxInplaceHyperLinkEdit::ApplyLinkFormat() {
  if (!HandleAllocated()) return;
  CHARFORMAT2A Format{};
  static_assert(sizeof(Format) == 84);
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_COLOR | CFM_UNDERLINETYPE;
  Format.bUnderlineType = CFU_UNDERLINE;
  if (FLinkColor == clWindowText || FLinkColor == clDefault)
    Format.dwEffects = CFE_AUTOCOLOR;
  else
    Format.crTextColor = ColorToRGB(FLinkColor);
  SendMessageA(Handle(), EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&Format));
}

// ---------------------------------------------------------------------------------
// Starting the link

bool TdxInplaceHyperLinkEdit::ClickStarts() { return FSingleClick || InPlace() || !CanEditLinked(); }

void TdxInplaceHyperLinkEdit::DoStart() {
  if (OnStartClick.Assigned()) {
    OnStartClick(this);
    return;
  }
  AnsiString Link = Trim(GetText());
  if (Link.empty()) return;
  if (!IsOpenableLink(Link)) {
    MessageBeepProc(0);
    return;
  }
  TCustomForm* Form = GetParentForm(this);
  HWND Owner = Form && Form->HandleAllocated() ? Form->Handle() : nullptr;
  ShellExecuteProc(Owner, "OPEN", Link.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void TdxInplaceHyperLinkEdit::StartOnce() {
  if (FStartedThisClick) return;
  FStartedThisClick = true;
  DoStart();
}

// The press went to the grid, not to this window: the release ends a click of its own.
// A second press that the editor turns into a double click belongs to it still.
void TdxInplaceHyperLinkEdit::HostMouseUp() {
  if (!FSingleClick) return;
  if (HandleAllocated()) UpdateWindow(Handle());
  FStartedThisClick = false;
  StartOnce();
}

void TdxInplaceHyperLinkEdit::AfterActivate() {
  if (!InPlace()) inherited::AfterActivate();
}

void TdxInplaceHyperLinkEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (ShortCut(Key, Shift) == FStartKey) {
    MSG Removed;
    if (HandleAllocated() && PeekMessageA(&Removed, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE) &&
        Removed.message == WM_QUIT)
      PostQuitMessage(static_cast<int>(Removed.wParam));
    DoStart();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TdxInplaceHyperLinkEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TRect Client = GetClientRect();
  POINT P{X, Y};
  if (PtInRect(&Client, P) && ClickStarts()) StartOnce();
}

void TdxInplaceHyperLinkEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      FStartedThisClick = false;
      inherited::Dispatch(Message);
      break;
    case WM_LBUTTONDBLCLK:
      if (!FSingleClick && CanEditLinked())
        StartOnce();
      else
        inherited::Dispatch(Message);
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      UpdateLinkFont();
      break;
    case WM_SETFONT:
      inherited::Dispatch(Message);
      ApplyLinkFormat();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxHyperLinkEdit() {
  TPublish<TdxInplaceHyperLinkEdit> P;
  P.Prop("LinkColor", &TdxInplaceHyperLinkEdit::LinkColor, &TdxInplaceHyperLinkEdit::SetLinkColor)
      .Default(static_cast<TColor>(0xFF0000));
  P.Prop("SingleClick", &TdxInplaceHyperLinkEdit::SingleClick, &TdxInplaceHyperLinkEdit::SetSingleClick)
      .Default(false);
  P.Prop("StartKey", &TdxInplaceHyperLinkEdit::StartKey, &TdxInplaceHyperLinkEdit::SetStartKey).Default(0x400D);
  P.Prop("OnStartClick", &TdxInplaceHyperLinkEdit::OnStartClick);
}

void DonedxHyperLinkEdit() { UnRegisterPublished(&TdxInplaceHyperLinkEdit::StaticClass()); }
