#include "framework/Rt_Util.h"

#include <shlobj.h>

#include "classlib/FileUtils.h"
#include "framework/ClientProcs.h"

TCLASS_IMPL(TWildCard)

TWildCard* WildCard = nullptr;

const char* const MsgDlgButtonNames[MsgDlgButtonCount] = {
    "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help",
};
const char* const MsgDlgButtonCaptions[MsgDlgButtonCount] = {
    "&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "All", "NoToAll", "YesToAll",
    "&Help",
};

bool IsWindowsXPOrLater(DWORD MajorVersion, DWORD MinorVersion) {
  return MajorVersion >= 6 || (MajorVersion == 5 && MinorVersion >= 1);
}

bool IsWindowsXPOrLater() {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof(Info);
  if (!GetVersionExA(&Info)) return false;
  return IsWindowsXPOrLater(Info.dwMajorVersion, Info.dwMinorVersion);
}

HINSTANCE GetHostInstance() { return GetModuleHandleA(nullptr); }

AnsiString GetSpecialFolderPath(int Folder) {
  char Path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, Path, Folder, FALSE)) return AnsiString();
  return AnsiString(Path);
}

AnsiString GetMakerAppDataFolder() {
  AnsiString AppData = GetSpecialFolderPath(AppDataFolder);
  // Without an application-data folder the name would point at the drive's root.
  if (AppData.empty()) return AnsiString();
  AnsiString Folder = ExcludeTrailingPathDelimiter(AppData) + "\\Norvane";
  if (!DirectoryExists(Folder)) ForceDirectories(Folder);
  return Folder;
}

void InitRtUtil() {
  LoadClientApi();
  WildCard = NewObject<TWildCard>();
}

void DoneRtUtil() { FreeAndNil(WildCard); }
