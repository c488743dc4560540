// Small services the framework shares: the system version test, the host's instance,
// special folders, the maker's application-data folder, and the two message-box
// button tables.
//
// Case-insensitive equality of texts is SameText of classlib/StrUtils.h.
#pragma once

#include <windows.h>

#include "classlib/Objects.h"

// True for system version 5.1 and later (major >= 6, or major 5 and minor >= 1).
bool IsWindowsXPOrLater(DWORD MajorVersion, DWORD MinorVersion);
// The same test for the running system.
bool IsWindowsXPOrLater();

// The instance handle of the host executable.
HINSTANCE GetHostInstance();

// The shell's path of a special folder (a CSIDL_ value); empty on failure.
AnsiString GetSpecialFolderPath(int Folder);

// The user's application-data folder (CSIDL_APPDATA = 26).
inline constexpr int AppDataFolder = 26;
// The maker's folder inside the application-data folder, "<AppData>\Norvane", created
// when it does not exist. Empty when the system has no application-data folder.
AnsiString GetMakerAppDataFolder();

// A file mask with its companion fields. One instance lives from load to unload.
class TWildCard : public TObject {
  TCLASS_DECL(TWildCard, TObject)
 public:
  AnsiString Mask = "*";
  AnsiString Text;
  bool Flag = false;
  int Value = 0;
};
extern TWildCard* WildCard;

// The message-box buttons by name and by caption, in the same order.
inline constexpr int MsgDlgButtonCount = 11;
extern const char* const MsgDlgButtonNames[MsgDlgButtonCount];
extern const char* const MsgDlgButtonCaptions[MsgDlgButtonCount];

// Unit start and end: binds the host's client functions and makes the WildCard.
void InitRtUtil();
void DoneRtUtil();
