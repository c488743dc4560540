// Brings up the prefix's desktop and holds it up while a run uses it.
//
//   wine wine-desktop.exe
//
// Wine starts a desktop's process (explorer.exe, which loads the display driver) for the
// first program that needs a window, and waits 10 s of real time for it to become idle;
// a program that is still waiting after that makes the desktop window itself and runs on
// without a display driver: its every window fails ("Class does not exist"), and the
// desktop's process, finding the window made, ends. Under emulation on a busy machine
// the desktop's start takes longer than that. And the desktop closes a second after its
// last program ends, so the next program starts it again.
//
// This program starts the desktop's process itself, as Wine would, before anything asks
// for the desktop window, and waits for it without a bound: until it is idle, then until
// the desktop window carries the display driver's mark and answers a message. It then
// prints "ready" and stays a user of the desktop, which keeps the desktop up, until its
// standard input ends (the run closes it or goes away).
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

// Whether a desktop's process (explorer.exe) runs among this prefix's programs.
static bool DesktopProcessRuns() {
  const HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (Snapshot == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32 Entry;
  Entry.dwSize = sizeof Entry;
  bool Found = false;
  for (BOOL More = Process32First(Snapshot, &Entry); More && !Found; More = Process32Next(Snapshot, &Entry))
    Found = _stricmp(Entry.szExeFile, "explorer.exe") == 0;
  CloseHandle(Snapshot);
  return Found;
}

// Starts the desktop's process and waits until it is idle, that is, until it has made the
// desktop window and loaded its driver and waits for messages. Nothing may ask for the
// desktop window before that, or Wine's own 10 s wait begins. Returns false when the
// process could not be started; the caller then lets Wine start it.
static bool StartDesktopProcess(DWORD Start) {
  wchar_t Path[MAX_PATH];
  const UINT Length = GetSystemDirectoryW(Path, MAX_PATH - 16);
  if (Length == 0 || Length >= MAX_PATH - 16) return false;
  std::wcscat(Path, L"\\explorer.exe");
  wchar_t CommandLine[MAX_PATH + 16];
  std::swprintf(CommandLine, sizeof CommandLine / sizeof *CommandLine, L"\"%ls\" /desktop", Path);
  STARTUPINFOW StartUp{};
  StartUp.cb = sizeof StartUp;
  PROCESS_INFORMATION Process{};
  if (!CreateProcessW(Path, CommandLine, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                      &StartUp, &Process))
    return false;
  CloseHandle(Process.hThread);
  // A desktop's process that ends instead (one already stood) ends the wait as well.
  while (WaitForInputIdle(Process.hProcess, 60000) == WAIT_TIMEOUT)
    std::fprintf(stderr, "wine-desktop: still waiting for the desktop's process after %lu s\n",
                 (GetTickCount() - Start) / 1000);
  CloseHandle(Process.hProcess);
  return true;
}

int main() {
  const DWORD Start = GetTickCount();
  if (!DesktopProcessRuns() && !StartDesktopProcess(Start))
    std::fprintf(stderr, "wine-desktop: could not start the desktop's process (error %lu)\n", GetLastError());
  // Wine marks the desktop window with the display device once its process has loaded
  // the driver; a program started after that finds the driver at once.
  const wchar_t* const DriverMark = L"__wine_display_device_guid";
  HWND Desktop = GetDesktopWindow();
  DWORD Reported = 0;
  // A program that gave up waiting for the desktop's process makes the desktop window
  // itself; a desktop's process that then starts finds the window made and ends. Nothing
  // starts another while that window stands: the desktop is lost until its Wine server
  // ends, which the caller sees from exit code 2.
  int Gone = 0;
  while (!Desktop || !GetPropW(Desktop, DriverMark)) {
    Gone = DesktopProcessRuns() ? 0 : Gone + 1;
    if (Gone == 2) {
      std::fprintf(stderr, "wine-desktop: the desktop window has no process to load its display driver\n");
      return 2;
    }
    Sleep(1000);
    Desktop = GetDesktopWindow();
    const DWORD Waited = (GetTickCount() - Start) / 1000;
    if (Waited >= Reported + 60) {
      Reported = Waited;
      std::fprintf(stderr, "wine-desktop: still waiting for the desktop (window %p) after %lu s\n",
                   static_cast<void*>(Desktop), Waited);
    }
  }
  // The desktop's process answers once it runs its message loop.
  DWORD_PTR Answer = 0;
  while (!SendMessageTimeoutW(Desktop, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &Answer)) {
    if (!IsWindow(Desktop)) {
      std::fprintf(stderr, "wine-desktop: the desktop window went away\n");
      return 1;
    }
  }
  std::printf("ready after %lu ms\n", GetTickCount() - Start);
  std::fflush(stdout);
  // Held until the standard input ends.
  char Buffer[64];
  DWORD Read = 0;
  const HANDLE Input = GetStdHandle(STD_INPUT_HANDLE);
  while (ReadFile(Input, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0) {
  }
  return 0;
}
