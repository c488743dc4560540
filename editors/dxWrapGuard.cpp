#include "editors/dxWrapGuard.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "classlib/GdiScopes.h"

namespace {

// A paragraph no longer than this keeps within the budget at any width: it cannot
// make more rows than it has characters.
constexpr std::size_t ShortParagraph = 2828;  // the square root of the budget

// The offset in Text of the character the control counts as Index: a double-byte
// character whole, and CR LF as the one line break it is.
std::size_t ByteOffset(const AnsiString& Text, LONG Index) {
  std::size_t At = 0;
  for (; Index > 0 && At < Text.size(); --Index) {
    const char Ch = Text[At];
    const bool Pair = (Ch == '\r' && At + 1 < Text.size() && Text[At + 1] == '\n') ||
                      IsDBCSLeadByte(static_cast<BYTE>(Ch));
    At += Pair && At + 1 < Text.size() ? 2 : 1;
  }
  return At;
}

AnsiString WindowText(HWND Window) {
  const int Length = GetWindowTextLengthA(Window);
  if (Length <= 0) return AnsiString();
  std::vector<char> Buffer(static_cast<std::size_t>(Length) + 1, '\0');
  const int Copied = GetWindowTextA(Window, Buffer.data(), Length + 1);
  return AnsiString(Buffer.data(), static_cast<std::size_t>(std::clamp(Copied, 0, Length)));
}

}  // namespace

TdxWrapGuard::~TdxWrapGuard() {
  if (FTarget) DeleteDC(FTarget);
}

int TdxWrapGuard::NeededWidth(HFONT Font, const AnsiString& Text) {
  if (Text.size() <= ShortParagraph) return 0;
  TScreenDC Screen;
  TSelection Selected(Screen.DC(), Font ? Font : GetStockObject(SYSTEM_FONT));
  long long Needed = 0;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    std::size_t End = Text.find_first_of("\r\n", Start);
    if (End == AnsiString::npos) End = Text.size();
    const std::size_t Length = End - Start;
    if (Length > ShortParagraph) {
      // Rows are the paragraph's extent over the width: the width that keeps length
      // times rows within the budget.
      SIZE Extent{0, 0};
      GetTextExtentPoint32A(Screen.DC(), Text.data() + Start, static_cast<int>(Length), &Extent);
      const long long Product = static_cast<long long>(Length) * Extent.cx;
      Needed = std::max(Needed, (Product + Budget - 1) / Budget);
    }
    Start = End + 1;
  }
  return static_cast<int>(std::min<long long>(Needed, 0x3FFFFFFF));
}

int TdxWrapGuard::AreaWidth(HWND Window) {
  RECT Area{0, 0, 0, 0};
  SendMessageA(Window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Area));
  return std::max<int>(Area.right - Area.left, 0);
}

bool TdxWrapGuard::ResultingText(HWND Window, const TMessage& Message, AnsiString& Text) {
  const char* Inserted = nullptr;
  char Typed[2] = {0, 0};
  // A deletion with nothing selected takes the character before the caret (-1) or
  // after it (1): a line break there joins two paragraphs.
  int Deletes = 0;
  const bool ReadOnly = (GetWindowLongA(Window, GWL_STYLE) & ES_READONLY) != 0;
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* Value = reinterpret_cast<const char*>(Message.LParam);
      Text = Value ? Value : "";
      return true;
    }
    case EM_REPLACESEL:
      Inserted = reinterpret_cast<const char*>(Message.LParam);
      break;
    case WM_CHAR:
      // A read-only control types nothing.
      if (ReadOnly) return false;
      if (Message.WParam == '\b') {
        Deletes = -1;
        break;
      }
      // Other control characters (a line break among them) make no paragraph longer.
      if (Message.WParam < 32 && Message.WParam != '\t') return false;
      Typed[0] = static_cast<char>(Message.WParam);
      Inserted = Typed;
      break;
    case WM_KEYDOWN:
      if (ReadOnly || (Message.WParam != VK_BACK && Message.WParam != VK_DELETE)) return false;
      Deletes = Message.WParam == VK_BACK ? -1 : 1;
      break;
    case WM_CUT:
    case WM_CLEAR:
      if (ReadOnly) return false;
      break;
    default: return false;
  }
  const AnsiString Current = WindowText(Window);
  CHARRANGE Selection{0, 0};
  SendMessageA(Window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Selection));
  if (Selection.cpMin == Selection.cpMax && Deletes != 0) {
    // Taken as one character: a word deletion (Ctrl) takes more, which shortens the
    // text further, and it crosses a line break only from beside it.
    if (Deletes < 0)
      Selection.cpMin = std::max<LONG>(Selection.cpMin - 1, 0);
    else
      ++Selection.cpMax;
  }
  const std::size_t Start = ByteOffset(Current, Selection.cpMin);
  const std::size_t End = std::max(Start, ByteOffset(Current, Selection.cpMax));
  Text = Current.substr(0, Start) + (Inserted ? Inserted : "") + Current.substr(End);
  return true;
}

void TdxWrapGuard::BeforeWrap(HWND Window, int Needed, int Area) {
  if (Needed <= Area) return;
  if (!FTarget) FTarget = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!FTarget) return;
  const int PixelsPerInch = std::max(GetDeviceCaps(FTarget, LOGPIXELSX), 1);
  const LPARAM Twips = MulDiv(Needed, 1440, PixelsPerInch);
  SendMessageA(Window, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(FTarget), Twips);
  FWidened = true;
}

void TdxWrapGuard::AfterWrap(HWND Window, int Needed, int Area) {
  if (!FWidened || Needed > Area) return;
  SendMessageA(Window, EM_SETTARGETDEVICE, 0, 0);
  FWidened = false;
}

bool TdxWrapGuard::Guard(HWND Window, HFONT Font, TMessage& Message, bool MayRefuse,
                         const std::function<void()>& Handle) {
  AnsiString Text;
  if (!ResultingText(Window, Message, Text)) return false;
  const int Needed = NeededWidth(Font, Text);
  const int Area = AreaWidth(Window);
  // The character a refused Backspace key sends after it is refused without a second
  // beep.
  const bool BackChar = Message.Msg == WM_CHAR && Message.WParam == '\b';
  const bool BackKeyRefused = FBackKeyRefused;
  FBackKeyRefused = false;
  if (Needed > Area && MayRefuse) {
    if (!(BackChar && BackKeyRefused)) MessageBeepProc(0);
    FBackKeyRefused = Message.Msg == WM_KEYDOWN && Message.WParam == VK_BACK;
    Message.Result = 0;
    return true;
  }
  BeforeWrap(Window, Needed, Area);
  Handle();
  AfterWrap(Window, Needed, AreaWidth(Window));
  return true;
}

bool TdxWrapGuard::GuardUndo(HWND Window, HFONT Font, const TMessage& Message,
                             const std::function<void()>& Handle) {
  const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool Undo = Message.Msg == EM_UNDO || Message.Msg == WM_UNDO || Message.Msg == EM_REDO ||
                    (Message.Msg == WM_KEYDOWN && Ctrl && (Message.WParam == 'Z' || Message.WParam == 'Y'));
  if (!Undo) return false;
  // A width at which a paragraph of any length the control can hold makes few rows.
  constexpr int Unbounded = 1 << 20;
  const int Area = AreaWidth(Window);
  BeforeWrap(Window, Unbounded, Area);
  Handle();
  const int Needed = NeededWidth(Font, WindowText(Window));
  if (Needed > Area)
    BeforeWrap(Window, Needed, Area);
  else
    AfterWrap(Window, Needed, Area);
  return true;
}

void TdxWrapGuard::GuardResize(HWND Window, HFONT Font, const AnsiString& Text, int ClientWidth,
                               const std::function<void()>& Handle) {
  // The text area keeps its margins: it changes as the client area does.
  RECT Client;
  ::GetClientRect(Window, &Client);
  const int Margins = Client.right - AreaWidth(Window);
  const int Needed = NeededWidth(Font, Text);
  BeforeWrap(Window, Needed, ClientWidth - Margins);
  Handle();
  AfterWrap(Window, Needed, AreaWidth(Window));
}
