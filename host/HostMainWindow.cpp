#include "host/HostMainWindow.h"

#include <cstdio>
#include <exception>

#include "host/HostCore.h"
#include "host/HostDocuments.h"

namespace {

const char MainWindowClass[] = "PcbHostMainWindow";

// What the window keeps: its host (nullptr once the window is being destroyed) and
// the line it shows under the document list after a menu command ran.
struct TMainWindowData {
  THost* Host = nullptr;
  std::string Status;
};

TMainWindowData* WindowData(HWND Window) {
  return reinterpret_cast<TMainWindowData*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
}

void PaintDocuments(HWND Window, const THost& Host, const std::string& Status) {
  PAINTSTRUCT Paint;
  HDC DC = BeginPaint(Window, &Paint);
  SetBkMode(DC, TRANSPARENT);
  HGDIOBJ OldFont = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA Metrics;
  GetTextMetricsA(DC, &Metrics);
  int LineHeight = Metrics.tmHeight + Metrics.tmExternalLeading;
  int Y = 8;
  auto Line = [&](const std::string& Text) {
    TextOutA(DC, 8, Y, Text.c_str(), static_cast<int>(Text.size()));
    Y += LineHeight;
  };
  Line(Host.DocumentCount() ? "Open documents:" : "No open documents.");
  for (int I = 0; I < Host.DocumentCount(); ++I) {
    THostDocument* Document = Host.Document(I);
    Line((Document == Host.CurrentDocument() ? "* " : "  ") + Document->FileName());
  }
  if (!Status.empty()) {
    Y += LineHeight;
    Line(Status);
  }
  SelectObject(DC, OldFont);
  EndPaint(Window, &Paint);
}

void RunMenuCommand(HWND Window, TMainWindowData& Data, const char* Name) {
  int Result = 0;
  std::string Error;
  if (Data.Host->LaunchCommand(Name, "", Result, Error))
    Data.Status = std::string(Name) + " -> " + std::to_string(Result);
  else
    Data.Status = Error;
  UpdateHostMainWindow(Window);
}

// The main window's procedure cannot raise: what it catches goes to standard error.
void ReportFailure(UINT Message, const char* What) {
  std::fprintf(stderr, "PcbHost: the main window failed on message 0x%04X: %s\n", Message, What);
  std::fflush(stderr);
}

LRESULT CALLBACK MainWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  try {
    if (Message == WM_NCCREATE) {
      auto* Create = reinterpret_cast<CREATESTRUCTA*>(LParam);
      auto* Data = new TMainWindowData;
      Data->Host = static_cast<THost*>(Create->lpCreateParams);
      SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Data));
    }
    TMainWindowData* Data = WindowData(Window);
    if (Message == WM_NCDESTROY) {
      SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
      delete Data;
      Data = nullptr;
    }
    if (Data && Data->Host) {
      switch (Message) {
        case WM_PAINT:
          PaintDocuments(Window, *Data->Host, Data->Status);
          return 0;
        case WM_COMMAND:
          if (LOWORD(WParam) == IDM_HOST_BOARD_WIZARD) {
            RunMenuCommand(Window, *Data, "RunWizard");
            return 0;
          }
          if (LOWORD(WParam) == IDM_HOST_EXIT) {
            DestroyWindow(Window);
            return 0;
          }
          break;
        case WM_DESTROY: {
          THost* Host = Data->Host;
          Data->Host = nullptr;
          Host->MainWindowDestroyed();
          return 0;
        }
      }
    }
  } catch (const std::exception& E) {
    // Nothing may unwind into the system's dispatcher; the failure is reported and
    // the message counts as handled.
    ReportFailure(Message, E.what());
    return 0;
  } catch (...) {
    ReportFailure(Message, "unknown error");
    return 0;
  }
  return DefWindowProcA(Window, Message, WParam, LParam);
}

bool RegisterMainWindowClass(HINSTANCE Instance) {
  WNDCLASSA Class{};
  if (GetClassInfoA(Instance, MainWindowClass, &Class)) return true;
  Class.lpfnWndProc = MainWindowProc;
  Class.hInstance = Instance;
  Class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Class.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  Class.lpszClassName = MainWindowClass;
  return RegisterClassA(&Class) != 0;
}

HMENU CreateMainMenu() {
  HMENU File = CreatePopupMenu();
  AppendMenuA(File, MF_STRING, IDM_HOST_BOARD_WIZARD, "&Board Wizard...");
  AppendMenuA(File, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(File, MF_STRING, IDM_HOST_EXIT, "E&xit");
  HMENU Menu = CreateMenu();
  AppendMenuA(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(File), "&File");
  return Menu;
}

}  // namespace

std::string HostMainWindowCaption(const THost& Host) {
  std::string Caption = "PcbHost";
  if (Host.CurrentDocument()) Caption += " - " + Host.CurrentDocument()->FileName();
  return Caption;
}

HWND CreateHostMainWindow(THost* Host, bool Show) {
  HINSTANCE Instance = GetModuleHandleA(nullptr);
  if (!RegisterMainWindowClass(Instance)) return nullptr;
  HWND Window = CreateWindowExA(0, MainWindowClass, HostMainWindowCaption(*Host).c_str(),
                                WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                nullptr, CreateMainMenu(), Instance, Host);
  if (Window && Show) {
    ShowWindow(Window, SW_SHOWNORMAL);
    UpdateWindow(Window);
  }
  return Window;
}

void UpdateHostMainWindow(HWND Window) {
  if (!Window) return;
  TMainWindowData* Data = WindowData(Window);
  if (Data && Data->Host) SetWindowTextA(Window, HostMainWindowCaption(*Data->Host).c_str());
  InvalidateRect(Window, nullptr, TRUE);
}
