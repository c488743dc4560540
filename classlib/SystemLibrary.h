// Loading the system's own libraries from the system folder only. A library loaded by
// its bare name is looked for in the host's folder and along the search path first, so
// that a file of that name planted there would run inside the host; every system
// library the module loads at run time goes through LoadSystemLibrary instead.
#pragma once

#include <windows.h>

// Loads the system library Name (a file name without a folder, such as "msimg32.dll")
// from the system folder: with LOAD_LIBRARY_SEARCH_SYSTEM32, or, where the system
// refuses that flag, by the full path in the folder GetSystemDirectoryA names. Never by
// the bare name. nullptr when the library is not there (GetLastError tells why), and
// for a null or empty name or one with a folder or drive in it (ERROR_INVALID_PARAMETER).
// The caller frees the library with FreeLibrary.
HMODULE LoadSystemLibrary(const char* Name);

// The loader LoadSystemLibrary calls (LoadLibraryExA); tests replace it.
using TLoadLibraryExProc = HMODULE(WINAPI*)(LPCSTR FileName, HANDLE File, DWORD Flags);
extern TLoadLibraryExProc LoadLibraryExProc;
