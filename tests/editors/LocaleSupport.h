// A setting of the user's locale changed for the length of a test, as a user changes
// it in the system's settings; its end puts it back and reads the locale again.
#pragma once

#include <windows.h>

#include "classlib/FormatSettings.h"

class TScopedLocaleInfo {
 public:
  TScopedLocaleInfo(LCTYPE Type, const char* Value) : FType(Type) {
    char Buffer[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, Type, Buffer, sizeof(Buffer));
    FSaved = Buffer;
    SetLocaleInfoA(LOCALE_USER_DEFAULT, Type, Value);
  }
  TScopedLocaleInfo(const TScopedLocaleInfo&) = delete;
  TScopedLocaleInfo& operator=(const TScopedLocaleInfo&) = delete;
  ~TScopedLocaleInfo() {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, FType, FSaved.c_str());
    InitFormatSettings();
  }

 private:
  LCTYPE FType;
  AnsiString FSaved;
};

// What the system sends every window when a locale setting changed.
inline void SendLocaleChanged(HWND Window) {
  SendMessageA(Window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
}
