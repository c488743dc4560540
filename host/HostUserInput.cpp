#include "host/HostUserInput.h"

#include <vector>

namespace {

bool Send(std::vector<INPUT>& Events) {
  if (Events.empty()) return true;
  return SendInput(static_cast<UINT>(Events.size()), Events.data(), sizeof(INPUT)) ==
         Events.size();
}

// Keys whose scan code carries the extended prefix on a standard keyboard.
bool IsExtendedKey(WORD Key) {
  switch (Key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE:
      return true;
    default:
      return false;
  }
}

INPUT KeyEvent(WORD Key, bool Up) {
  INPUT Event{};
  Event.type = INPUT_KEYBOARD;
  Event.ki.wVk = Key;
  Event.ki.wScan = static_cast<WORD>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
  Event.ki.dwFlags = (Up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(Key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return Event;
}

INPUT UnicodeEvent(wchar_t Character, bool Up) {
  INPUT Event{};
  Event.type = INPUT_KEYBOARD;
  Event.ki.wScan = Character;
  Event.ki.dwFlags = KEYEVENTF_UNICODE | (Up ? KEYEVENTF_KEYUP : 0);
  return Event;
}

// The absolute coordinate (0..65535) that the system maps to pixel Pixel of Extent.
LONG Normalized(LONG Pixel, int Extent) {
  if (Extent <= 0) return 0;
  const long long Value = (static_cast<long long>(Pixel) * 65536 + Extent - 1) / Extent;
  return static_cast<LONG>(Value < 0 ? 0 : Value > 65535 ? 65535 : Value);
}

// A mouse event at Point (screen pixels) with the flags.
INPUT PointerEvent(POINT Point, DWORD Flags) {
  INPUT Event{};
  Event.type = INPUT_MOUSE;
  Event.mi.dx = Normalized(Point.x, GetSystemMetrics(SM_CXSCREEN));
  Event.mi.dy = Normalized(Point.y, GetSystemMetrics(SM_CYSCREEN));
  Event.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | Flags;
  return Event;
}

}  // namespace

bool SendPointerMove(POINT Point) {
  std::vector<INPUT> Events{PointerEvent(Point, 0)};
  return Send(Events);
}

bool SendLeftButton(bool Down, POINT Point) {
  std::vector<INPUT> Events{PointerEvent(Point, Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)};
  return Send(Events);
}

void TakeInPointerReports(DWORD Timeout) {
  for (int Round = 0; Round < 2; ++Round) {
    DWORD_PTR Result = 0;
    SendMessageTimeoutA(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, Timeout, &Result);
  }
}

bool SendKeyChord(const TKeyChord& Chord) {
  std::vector<WORD> Modifiers;
  if (Chord.Ctrl) Modifiers.push_back(VK_CONTROL);
  if (Chord.Alt) Modifiers.push_back(VK_MENU);
  if (Chord.Shift) Modifiers.push_back(VK_SHIFT);
  std::vector<INPUT> Events;
  for (WORD Modifier : Modifiers) Events.push_back(KeyEvent(Modifier, false));
  Events.push_back(KeyEvent(Chord.Key, false));
  Events.push_back(KeyEvent(Chord.Key, true));
  for (auto It = Modifiers.rbegin(); It != Modifiers.rend(); ++It)
    Events.push_back(KeyEvent(*It, true));
  return Send(Events);
}

bool SendCharacter(char Character) {
  const SHORT Scan = VkKeyScanA(Character);
  if (Scan != -1) {
    TKeyChord Chord;
    Chord.Key = LOBYTE(Scan);
    Chord.Shift = (HIBYTE(Scan) & 1) != 0;
    Chord.Ctrl = (HIBYTE(Scan) & 2) != 0;
    Chord.Alt = (HIBYTE(Scan) & 4) != 0;
    return SendKeyChord(Chord);
  }
  wchar_t Wide = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &Character, 1, &Wide, 1) != 1) return false;
  std::vector<INPUT> Events{UnicodeEvent(Wide, false), UnicodeEvent(Wide, true)};
  return Send(Events);
}
