// The hyperlink editor on real windows: what starts the link, how often, with which
// text, and which texts the shell is never handed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/ScopeExit.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Hyperlink.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

std::vector<std::string> Opened;
HINSTANCE WINAPI NoteOpen(HWND /*Window*/, LPCSTR /*Operation*/, LPCSTR File, LPCSTR /*Parameters*/,
                          LPCSTR /*Directory*/, INT /*ShowCommand*/) {
  Opened.push_back(File);
  return reinterpret_cast<HINSTANCE>(33);
}

// The editor's class as a form places it, outside a grid.
class TOutsideHyperLinkEdit : public TdxInplaceHyperLinkEdit {
  TCLASS_DECL(TOutsideHyperLinkEdit, TdxInplaceHyperLinkEdit)
 public:
  using TdxInplaceHyperLinkEdit::TdxInplaceHyperLinkEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsideHyperLinkEdit)

class HyperLinkEditTest : public EditTest {
 public:
  void NoteStart(TObject* /*Sender*/) { ++Starts; }

 protected:
  void SetUp() override {
    EditTest::SetUp();
    Saved = ShellExecuteProc;
    ShellExecuteProc = NoteOpen;
    Opened.clear();
  }
  void TearDown() override {
    ShellExecuteProc = Saved;
    EditTest::TearDown();
  }
  TdxInplaceHyperLinkEdit* ShownEdit(const char* Text) {
    auto* Host = ShownContainer();
    auto* Edit = HostedEdit<TdxInplaceHyperLinkEdit>(Host);
    Edit->ShowAt(Rect(5, 5, 150, 25));
    Edit->SetText(Text);
    Pump();
    return Edit;
  }
  TShellExecuteProc Saved = nullptr;
  int Starts = 0;
};

TEST_F(HyperLinkEditTest, InPlaceDoubleClickStartsTheLinkOnce) {
  auto* Edit = ShownEdit("http://example.invalid/a");
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(1u, Opened.size());
  EXPECT_EQ("http://example.invalid/a", Opened[0]);
  // The next click is a click of its own.
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(2u, Opened.size());
}

TEST_F(HyperLinkEditTest, EachReleaseTheGridForwardsOpensItsLinkAndAQuickSecondPressNoMore) {
  auto* Edit = ShownEdit("http://example.invalid/1");
  Edit->SetSingleClick(true);
  Edit->HostMouseUp();
  Edit->SetText("http://example.invalid/2");
  Edit->HostMouseUp();
  // The second press of a double click reaches the editor shown over the cell.
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Edit->SetText("http://example.invalid/3");
  Edit->HostMouseUp();
  EXPECT_EQ((std::vector<std::string>{"http://example.invalid/1", "http://example.invalid/2",
                                      "http://example.invalid/3"}),
            Opened);
}

TEST_F(HyperLinkEditTest, StartKeyOpensAndLeavesNoCharacter) {
  auto* Edit = ShownEdit("https://example.invalid/");
  auto* Host = static_cast<edittest::TTestContainer*>(Edit->GetContainer());
  uitest::HeldKeys = {VK_CONTROL};
  PostMessageA(Edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  EXPECT_EQ(1u, Opened.size());
  EXPECT_TRUE(Host->HostChars.empty());
  EXPECT_EQ(AnsiString("https://example.invalid/"), Edit->Text()) << "no line break typed";
  MSG Left;
  EXPECT_FALSE(PeekMessageA(&Left, Edit->Handle(), WM_CHAR, WM_CHAR, PM_NOREMOVE));
}

TEST_F(HyperLinkEditTest, TheStartEventReplacesTheShellAndBlanksStartNothing) {
  auto* Edit = ShownEdit("   ");
  Edit->DoStart();
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(0, edittest::Beeps);
  Edit->SetText("mailto:someone@example.invalid");
  Edit->OnStartClick = TNotifyEvent::Bind<&HyperLinkEditTest::NoteStart>(this);
  Edit->DoStart();
  EXPECT_EQ(1, Starts);
  EXPECT_TRUE(Opened.empty());
}

TEST_F(HyperLinkEditTest, ProgramsAndUnknownSchemesAreRefused) {
  AnsiString Document = uitest::TempPath("link-note.txt");
  AnsiString Program = uitest::TempPath("link-tool.exe");
  AnsiString Shortcut = uitest::TempPath("link-short.lnk");
  for (const AnsiString& Name : {Document, Program, Shortcut}) {
    HANDLE File = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, File);
    CloseHandle(File);
  }
  auto Remove = ScopeExit([&] {
    for (const AnsiString& Name : {Document, Program, Shortcut}) DeleteFileA(Name.c_str());
  });
  EXPECT_TRUE(IsOpenableLink(Document));
  EXPECT_TRUE(IsOpenableLink(" HTTP://example.invalid "));
  EXPECT_TRUE(IsOpenableLink("ftp://example.invalid/f"));
  EXPECT_FALSE(IsOpenableLink(Program));
  EXPECT_FALSE(IsOpenableLink(Shortcut));
  EXPECT_FALSE(IsOpenableLink(Program + "."));
  EXPECT_FALSE(IsOpenableLink(Document + ":x.exe"));
  EXPECT_FALSE(IsOpenableLink(uitest::TempPath("missing.txt")));
  EXPECT_FALSE(IsOpenableLink("javascript:alert(1)"));
  EXPECT_FALSE(IsOpenableLink("file:///c:/windows/notepad.exe"));
  EXPECT_FALSE(IsOpenableLink("cmd.exe"));

  auto* Edit = ShownEdit("");
  Edit->SetText(Program);
  Edit->DoStart();
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(1, edittest::Beeps);
  Edit->SetText(Document);
  Edit->DoStart();
  EXPECT_EQ(1u, Opened.size());
}

// Whether an existing file named with each extension may be opened, under the
// environment's PATHEXT as it is.
std::vector<std::string> OpenableTypes(const std::vector<std::string>& Extensions) {
  std::vector<std::string> Openable;
  for (const std::string& Ext : Extensions) {
    AnsiString Name = uitest::TempPath("link-type" + Ext);
    HANDLE File = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, File) << Ext;
    CloseHandle(File);
    if (IsOpenableLink(Name)) Openable.push_back(Ext);
    DeleteFileA(Name.c_str());
  }
  return Openable;
}

TEST_F(HyperLinkEditTest, TypesTheShellRunsOrInstallsAreRefusedWhateverPathExtSays) {
  char Saved[4096] = {};
  const DWORD SavedLength = GetEnvironmentVariableA("PATHEXT", Saved, sizeof(Saved));
  auto Restore = ScopeExit([&] { SetEnvironmentVariableA("PATHEXT", SavedLength ? Saved : nullptr); });
  const std::vector<std::string> Programs = {
      ".bat", ".cmd", ".vbs", ".js", ".wsf", ".msc", ".py", ".vb", ".website", ".xbap", ".diagcab",
      ".theme", ".appx", ".library-ms", ".sh", ".desktop", ".exe", ".com", ".lnk", ".msi", ".ps1", ".jar"};
  const std::vector<std::string> Documents = {".txt", ".png", ".jpg", ".pdf", ".docx", ".xlsx", ".odt", ".csv"};
  // A short list, the system's own, an empty one.
  for (const char* PathExt : {".COM;.EXE", static_cast<const char*>(Saved), ""}) {
    SetEnvironmentVariableA("PATHEXT", PathExt);
    EXPECT_EQ(std::vector<std::string>{}, OpenableTypes(Programs)) << "PATHEXT " << PathExt;
    EXPECT_EQ(Documents, OpenableTypes(Documents)) << "PATHEXT " << PathExt;
  }
  // A type the environment adds is refused too.
  SetEnvironmentVariableA("PATHEXT", ".COM;.EXE;.TXT");
  EXPECT_TRUE(OpenableTypes({".txt"}).empty());
}

// Add-ins, databases and projects, certificates, internet settings and queries, remote
// sessions, scheduled jobs, disk images and libraries all run or install something.
// A text with a NUL inside would be judged by its tail and handed to the shell up to
// the NUL.
TEST_F(HyperLinkEditTest, AddInsDatabasesCertificatesImagesAndLibrariesAreRefusedAsIsATextWithANul) {
  const std::vector<std::string> Runnable = {".xll", ".mdb", ".mde", ".ade", ".adp", ".cer",
                                             ".crt", ".ins", ".isp", ".iqy", ".slk", ".rdp",
                                             ".job", ".iso", ".vhd", ".dll", ".ocx"};
  EXPECT_EQ(std::vector<std::string>{}, OpenableTypes(Runnable));

  AnsiString Program = uitest::TempPath("link-nul.exe");
  AnsiString Document = uitest::TempPath("link-nul.txt");
  for (const AnsiString& Name : {Program, Document}) {
    HANDLE File = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, File);
    CloseHandle(File);
  }
  auto Remove = ScopeExit([&] {
    for (const AnsiString& Name : {Program, Document}) DeleteFileA(Name.c_str());
  });
  const AnsiString Nul(1, '\0');
  EXPECT_TRUE(IsOpenableLink(Document));
  EXPECT_FALSE(IsOpenableLink(Program + Nul + ".txt"));
  EXPECT_FALSE(IsOpenableLink(Document + Nul));
  EXPECT_FALSE(IsOpenableLink("https://example.invalid/" + Nul + "x"));
}

// Close relatives of the refused types: disk images, databases and their add-ins and
// shortcuts, office add-ins, certificates and their stores, and installer packages.
TEST_F(HyperLinkEditTest, RelativesOfTheRefusedTypesAreRefusedToo) {
  const std::vector<std::string> Relatives = {
      ".vhdx", ".img",  ".accdb", ".accde", ".accdr", ".xla",  ".xlam", ".wll", ".ppam", ".pfx",
      ".p12",  ".der",  ".p7b",   ".vsix",  ".accda", ".mda",  ".mdw",  ".maf", ".mam",  ".maq",
      ".mar",  ".mat",  ".ppa",   ".vsto",  ".p7c",   ".p7r",  ".spc",  ".sst", ".stl",  ".crl"};
  EXPECT_EQ(std::vector<std::string>{}, OpenableTypes(Relatives));
  const std::vector<std::string> Documents = {".xlsx", ".pptx", ".docx", ".txt"};
  EXPECT_EQ(Documents, OpenableTypes(Documents));
}

TEST_F(HyperLinkEditTest, LinkLookAndHand) {
  auto* Edit = ShownEdit("http://example.invalid/");
  EXPECT_TRUE(Edit->LinkFont()->Style().Contains(fsUnderline));
  EXPECT_EQ(static_cast<TColor>(0xFF0000), Edit->LinkFont()->Color());
  Edit->SetLinkColor(clRed);
  EXPECT_EQ(clRed, Edit->LinkFont()->Color());
  TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
  EXPECT_EQ(ColorToRGB(clRed), Data->TextColor);
  EXPECT_EQ(crdxHandPoint, Edit->EditClass()->GetCursor(0, 0, Data.get())) << "in place a click opens the link";
}

TEST_F(HyperLinkEditTest, TheControlShowsTheTextUnderlinedInTheLinkColour) {
  auto* Edit = ShownEdit("http://example.invalid/");
  Edit->SetLinkColor(clRed);
  SendMessageA(Edit->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Edit->Font()->Handle()), 0);
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  SendMessageA(Edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&Format));
  EXPECT_EQ(CFU_UNDERLINE, Format.bUnderlineType);
  EXPECT_EQ(0u, Format.dwEffects & CFE_AUTOCOLOR);
  EXPECT_EQ(ColorToRGB(clRed), Format.crTextColor);
  Edit->SetLinkColor(clWindowText);
  SendMessageA(Edit->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Edit->Font()->Handle()), 0);
  SendMessageA(Edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&Format));
  EXPECT_NE(0u, Format.dwEffects & CFE_AUTOCOLOR) << "the system's window-text colour";
}

TEST_F(HyperLinkEditTest, OutsideAGridAClickPlacesTheCaret) {
  TForm* Form = ShownForm(300, 200);
  auto* Edit = NewObject<TOutsideHyperLinkEdit>(Form);
  Edit->SetParent(Form);
  Edit->SetText("http://example.invalid/");
  Edit->HandleNeeded();
  Pump();
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Opened.empty());
  TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
  EXPECT_NE(crdxHandPoint, Edit->EditClass()->GetCursor(0, 0, Data.get()));
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(1u, Opened.size());
  Edit->SetSingleClick(true);
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(2u, Opened.size());
}

}  // namespace
