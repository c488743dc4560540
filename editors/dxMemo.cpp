// The memo editor and the string list over its window's lines.
#include "editors/dxMemo.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Messages.h"
#include "classlib/UpdateScope.h"
#include "editors/dxCntner.h"

TCLASS_IMPL(TdxMemoStrings)
TCLASS_IMPL(TdxInplaceMemoEdit)

namespace {

// Every line break (CR, LF or CR LF) as CR LF.
AnsiString CrLfLineBreaks(const AnsiString& Text) {
  AnsiString Result;
  Result.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    if (C == '\r' || C == '\n') {
      Result += "\r\n";
      if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
    } else {
      Result += C;
    }
  }
  return Result;
}

// The lines of a text as the control numbers them: each line break (CR LF, CR or LF)
// ends one, and a text ending in one has an empty last line.
std::vector<TdxTextLine> TextLines(const AnsiString& Text) {
  std::vector<TdxTextLine> Lines;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t End = Text.find_first_of("\r\n", Start);
    if (End == AnsiString::npos) {
      Lines.push_back({Start, Text.size() - Start});
      return Lines;
    }
    Lines.push_back({Start, End - Start});
    Start = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
  }
}

bool ValidLine(const std::vector<TdxTextLine>& Lines, int Index) {
  return Index >= 0 && static_cast<std::size_t>(Index) < Lines.size();
}

// What the lines' operations do to the control's lines, done to Text; false when they
// do nothing.
bool PutLine(AnsiString& Text, int Index, const AnsiString& S) {
  const std::vector<TdxTextLine> Lines = TextLines(Text);
  if (!ValidLine(Lines, Index)) return false;
  Text.replace(Lines[Index].Start, Lines[Index].Length, S);
  return true;
}

bool InsertLine(AnsiString& Text, int Index, const AnsiString& S) {
  const std::vector<TdxTextLine> Lines = TextLines(Text);
  if (ValidLine(Lines, Index)) {
    Text.insert(Lines[Index].Start, S + "\r\n");
    return true;
  }
  // After the last line, unless that is empty.
  if (!ValidLine(Lines, Index - 1) || Lines[Index - 1].Length == 0) return false;
  Text.insert(Lines[Index - 1].Start + Lines[Index - 1].Length, "\r\n" + S);
  return true;
}

bool DeleteLine(AnsiString& Text, int Index) {
  const std::vector<TdxTextLine> Lines = TextLines(Text);
  if (!ValidLine(Lines, Index)) return false;
  const std::size_t End = ValidLine(Lines, Index + 1)
                              ? Lines[Index + 1].Start
                              : Lines[Index].Start + Lines[Index].Length;
  Text.erase(Lines[Index].Start, End - Lines[Index].Start);
  return true;
}

AnsiString LineOf(const AnsiString& Text, const std::vector<TdxTextLine>& Lines,
                  int Index) {
  return ValidLine(Lines, Index) ? Text.substr(Lines[Index].Start, Lines[Index].Length)
                                 : AnsiString();
}

AnsiString LineOf(const AnsiString& Text, int Index) {
  return LineOf(Text, TextLines(Text), Index);
}

bool SameFont(HFONT A, HFONT B) {
  LOGFONTA LogA{}, LogB{};
  return A == B || (GetObjectA(A, sizeof(LogA), &LogA) == sizeof(LogA) &&
                    GetObjectA(B, sizeof(LogB), &LogB) == sizeof(LogB) &&
                    std::memcmp(&LogA, &LogB, sizeof(LogA)) == 0);
}

bool AnyShiftKey(TShiftState Shift) {
  return Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt);
}

}  // namespace

// ---------------------------------------------------------------------------------
// The lines

HWND TdxMemoStrings::Window() const { return FMemo->Handle(); }

LRESULT TdxMemoStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return SendMessageA(Window(), Msg, WParam, LParam);
}

void TdxMemoStrings::ReplaceRange(int Start, int End, const AnsiString& S) const {
  CHARRANGE Range{Start, End};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (FMemo->TakeTextRefused()) throw EInvalidOperation(FMemo->GuardRefusal());
}

void TdxMemoStrings::Assign(TPersistent* Source) {
  const auto* Strings = ObjectAs<TStrings>(Source);
  if (!Strings || Strings == this) {
    inherited::Assign(Source);
    return;
  }
  SetTextStr(Strings->Text());
  SetDelimiter(Strings->Delimiter());
  SetQuoteChar(Strings->QuoteChar());
  SetNameValueSeparator(Strings->NameValueSeparator());
  SetStrictDelimiter(Strings->StrictDelimiter());
}

void TdxMemoStrings::AddStrings(const TStrings* Strings) {
  const AnsiString Added = Strings->Text();
  if (Added.empty()) return;
  // Each line added after a last line of its own goes after a line break, and the text
  // then ends without one; after an empty last line each comes with its line break.
  const AnsiString Now = GetTextStr();
  if (Now.empty() || Now.back() == '\n' || Now.back() == '\r')
    SetTextStr(Now + Added);
  else
    SetTextStr(Now + "\r\n" + Added.substr(0, Added.size() - 2));
}

bool TdxMemoStrings::Held() const { return FMemo->HandleAllocated() && FMemo->Holding(); }

const std::vector<TdxTextLine>& TdxMemoStrings::HeldLines() const {
  if (FHeldLinesOf != FMemo->HeldVersion()) {
    FHeldLines = TextLines(FMemo->HeldText());
    FHeldLinesOf = FMemo->HeldVersion();
  }
  return FHeldLines;
}

void TdxMemoStrings::SetHeldText(const std::function<bool(AnsiString&)>& Edit) {
  AnsiString Text = FMemo->GetText();
  if (Edit(Text)) SetTextStr(Text);
}

void TdxMemoStrings::Exchange(int Index1, int Index2) {
  if (!Held()) {
    inherited::Exchange(Index1, Index2);
    return;
  }
  SetHeldText([&](AnsiString& Text) {
    const AnsiString First = LineOf(Text, Index1);
    return PutLine(Text, Index1, LineOf(Text, Index2)) && PutLine(Text, Index2, First);
  });
}

void TdxMemoStrings::Move(int CurIndex, int NewIndex) {
  if (!Held()) {
    inherited::Move(CurIndex, NewIndex);
    return;
  }
  if (CurIndex == NewIndex) return;
  SetHeldText([&](AnsiString& Text) {
    const AnsiString Line = LineOf(Text, CurIndex);
    return DeleteLine(Text, CurIndex) && InsertLine(Text, NewIndex, Line);
  });
}

int TdxMemoStrings::GetCount() const {
  if (!FMemo->HandleAllocated()) return 0;
  if (Held()) {
    const std::vector<TdxTextLine>& Lines = HeldLines();
    return static_cast<int>(Lines.size()) - (Lines.back().Length == 0 ? 1 : 0);
  }
  int Count = static_cast<int>(Send(EM_GETLINECOUNT));
  const LRESULT LastStart = Send(EM_LINEINDEX, Count - 1);
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const LRESULT TextLength = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length));
  if (Send(EM_LINELENGTH, LastStart) == 0 || LastStart == TextLength) --Count;
  return Count;
}

// The whole line, however long: a line cut to a buffer's length would lose the rest
// wherever it is put back (Exchange, Move, a copy of the list).
AnsiString TdxMemoStrings::Get(int Index) const {
  if (Held()) return LineOf(FMemo->HeldText(), HeldLines(), Index);
  if (Index < 0) return AnsiString();
  const LRESULT Start = Send(EM_LINEINDEX, Index);
  if (Start < 0) return AnsiString();
  const LRESULT Length = Send(EM_LINELENGTH, Start);
  return RichEditRange(Window(), static_cast<LONG>(Start),
                       static_cast<LONG>(Start + Length));
}

void TdxMemoStrings::Put(int Index, const AnsiString& S) {
  if (Held()) return SetHeldText([&](AnsiString& Text) { return PutLine(Text, Index, S); });
  if (Index < 0) return;
  const LRESULT Start = Send(EM_LINEINDEX, Index);
  if (Start == -1) return;
  const LRESULT Length = Send(EM_LINELENGTH, Start);
  ReplaceRange(static_cast<int>(Start), static_cast<int>(Start + Length), S);
}

void TdxMemoStrings::Insert(int Index, const AnsiString& S) {
  if (Held())
    return SetHeldText([&](AnsiString& Text) { return InsertLine(Text, Index, S); });
  if (Index < 0) return;
  LRESULT Start = Send(EM_LINEINDEX, Index);
  AnsiString Line;
  if (Start == -1) {
    Start = Send(EM_LINEINDEX, Index - 1);
    if (Start == -1) return;
    const LRESULT Length = Send(EM_LINELENGTH, Start);
    if (Length == 0) return;
    Start += Length;
    Line = "\r" + S;
  } else {
    Line = S + "\r";
  }
  ReplaceRange(static_cast<int>(Start), static_cast<int>(Start), Line);
}

void TdxMemoStrings::Delete(int Index) {
  if (Held()) return SetHeldText([&](AnsiString& Text) { return DeleteLine(Text, Index); });
  if (Index < 0) return;
  const LRESULT Start = Send(EM_LINEINDEX, Index);
  if (Start == -1) return;
  LRESULT End = Send(EM_LINEINDEX, Index + 1);
  if (End == -1) End = Start + Send(EM_LINELENGTH, Start);
  ReplaceRange(static_cast<int>(Start), static_cast<int>(End), "");
}

void TdxMemoStrings::Clear() { FMemo->ClearText(); }

AnsiString TdxMemoStrings::GetTextStr() const { return FMemo->Text(); }

// A program's text: the window forgets any edit with it, as for every text set.
void TdxMemoStrings::SetTextStr(const AnsiString& Value) {
  const AnsiString Text = CrLfLineBreaks(Value);
  const LRESULT Mask = Send(EM_GETEVENTMASK);
  Send(EM_SETEVENTMASK, 0, Mask & ~ENM_CHANGE);
  const LRESULT Restored = Mask | ENM_CHANGE;
  struct TRestoreMask {
    const TdxMemoStrings* Lines;
    LRESULT Mask;
    ~TRestoreMask() {
      if (Lines->FMemo->HandleAllocated()) Lines->Send(EM_SETEVENTMASK, 0, Mask);
    }
  } Restore{this, Restored};
  if (FMemo->Text() == Text) return;
  const bool Set = Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str())) != 0;
  if (FMemo->TakeTextRefused() || !Set) throw EInvalidOperation(FMemo->GuardRefusal());
  FMemo->Perform(CM_TEXTCHANGED, 0, 0);
}

void TdxMemoStrings::SetUpdateState(bool Updating) {
  if (FMemo->Showing()) Send(WM_SETREDRAW, !Updating);
  if (!Updating) {
    FMemo->Refresh();
    FMemo->Perform(CM_TEXTCHANGED, 0, 0);
  }
}

// ---------------------------------------------------------------------------------
// The memo editor

TdxInplaceMemoEdit::TdxInplaceMemoEdit(TComponent* AOwner) : TdxInplaceTextEdit(AOwner) {
  FLines = new TdxMemoStrings(this);
  SetWidth(185);
  SetHeight(89);
  SetSelectionBar(true);
}

TdxInplaceMemoEdit::~TdxInplaceMemoEdit() { delete FLines; }

void TdxInplaceMemoEdit::SetHideScrollBars(bool Value) {
  if (FHideScrollBars == Value) return;
  FHideScrollBars = Value;
  RecreateWnd();
}

void TdxInplaceMemoEdit::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  KeepTextHeld(FWordWrap, Value);
  FScrollBars = Value;
  RecreateWnd();
}

void TdxInplaceMemoEdit::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  KeepTextHeld(Value, FScrollBars);
  FWordWrap = Value;
  RecreateWnd();
}

bool TdxInplaceMemoEdit::Wraps(bool WordWrap, TScrollStyle ScrollBars) {
  return WordWrap && ScrollBars != ssHorizontal && ScrollBars != ssBoth;
}

void TdxInplaceMemoEdit::KeepTextHeld(bool WordWrap, TScrollStyle ScrollBars) {
  const bool Wrapped = Wraps(WordWrap, ScrollBars);
  if (TdxWrapGuard::Takes(Font()->Handle(), GetText(), Wrapped)) return;
  throw EInvalidOperation(TdxWrapGuard::MemoRefusal(GetText(), Wrapped));
}

const char* TdxInplaceMemoEdit::TextRefusal(const AnsiString& Text) const {
  return TdxWrapGuard::MemoRefusal(Text, Wraps(FWordWrap, FScrollBars));
}

void TdxInplaceMemoEdit::Loaded() {
  inherited::Loaded();
  SetModified(false);
}

void TdxInplaceMemoEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FWordWrap) Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (!FHideScrollBars) Params.Style |= ES_DISABLENOSCROLL;
  Params.Style |= ES_MULTILINE;
}

// The bounds are kept across the window's creation, which may size it to one line.
void TdxInplaceMemoEdit::CreateWnd() {
  const TRect Bounds = BoundsRect();
  FWrapGuard.WindowCreated();
  inherited::CreateWnd();
  if (HandleAllocated()) SetBoundsRect(Bounds);
}

bool TdxInplaceMemoEdit::WindowHolds(const AnsiString& Text) {
  return TdxWrapGuard::Takes(Font()->Handle(), Text, Wraps(FWordWrap, FScrollBars));
}

void TdxInplaceMemoEdit::SetEditValue(const Variant& Value) {
  TFlagScope Loading(FLoadingValue);
  inherited::SetEditValue(Value);
}

void TdxInplaceMemoEdit::GetSelText(AnsiString& Text) {
  if (!HandleAllocated() || Holding()) {
    inherited::GetSelText(Text);
    return;
  }
  Text.clear();
  const int Length = GetSelLength();
  if (Length <= 0) return;
  // Two bytes a character at most: a double-byte character, or CR LF.
  std::vector<char> Buffer(static_cast<std::size_t>(Length) * 2 + 1, '\0');
  GETTEXTEX Get{static_cast<DWORD>(Buffer.size()), GT_SELECTION | GT_USECRLF, CP_ACP, nullptr, nullptr};
  const LRESULT Copied =
      SendMessageA(FHandle, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&Get), reinterpret_cast<LPARAM>(Buffer.data()));
  Text.assign(Buffer.data(), static_cast<std::size_t>(std::clamp<LRESULT>(Copied, 0, static_cast<LRESULT>(Buffer.size() - 1))));
}

bool TdxInplaceMemoEdit::WrapGuarded(TMessage& Message) {
  if (!HandleAllocated()) return false;
  // A host loads a cell's value with its container flag raised.
  const bool Keeps = KeepsText();
  const bool Loading = Keeps || FLoadingValue;
  // A text replacing the selection is a program's, but for the clipboard's pasted.
  const bool UserChange = !Loading && (Message.Msg == EM_REPLACESEL ? FPasting : Message.Msg != WM_SETTEXT);
  // A text held is replaced only by one the control takes.
  const auto Handle = [&] {
    if (Message.Msg == WM_SETTEXT) EndHolding();
    inherited::Dispatch(Message);
  };
  const bool Wrapping = Wraps(FWordWrap, FScrollBars);
  if (Wrapping && FWrapGuard.GuardUndo(FHandle, Font()->Handle(), Message, Handle))
    return true;
  if (!FWrapGuard.Guard(FHandle, Font()->Handle(), Message, UserChange, Wrapping, Handle)) return false;
  FTextRefused = FWrapGuard.Refused() && !UserChange;
  // A host's value, or the text the window is made with, is never refused: the memo
  // keeps it whole and shows, read-only, as much of it as the control holds.
  if (FTextRefused && Message.Msg == WM_SETTEXT && Keeps) {
    FTextRefused = false;
    ShowHeld(reinterpret_cast<const char*>(Message.LParam), Font()->Handle());
    Message.Result = TRUE;
  }
  return true;
}

void TdxInplaceMemoEdit::ShowHeld(const AnsiString& Text, HFONT Font) {
  ShowQuietly(Text.substr(
      0, TdxWrapGuard::LongestTaken(Font, Text, Wraps(FWordWrap, FScrollBars))));
  HoldText(Text);
}

void TdxInplaceMemoEdit::WMSize(TMessage& Message) {
  if (!Wraps(FWordWrap, FScrollBars) || !HandleAllocated()) {
    inherited::Dispatch(Message);
    return;
  }
  FWrapGuard.GuardLayout(FHandle, Font()->Handle(),
                         TdxWrapGuard::AreaWidth(FHandle, TextRect()),
                         [&] { inherited::Dispatch(Message); });
}

void TdxInplaceMemoEdit::WMWindowPosChanged(TMessage& Message) {
  if (!Wraps(FWordWrap, FScrollBars) || !HandleAllocated()) {
    inherited::Dispatch(Message);
    return;
  }
  FWrapGuard.GuardMove(FHandle, Font()->Handle(), [&] { inherited::Dispatch(Message); });
}

void TdxInplaceMemoEdit::WMSetFont(TMessage& Message) {
  const auto NewFont = reinterpret_cast<HFONT>(Message.WParam);
  // The part of a value held that the window shows fits any font like the one it has.
  const bool Held = HandleAllocated() && Holding();
  if (Held && !SameFont(NewFont,
                        reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0)))) {
    HeldFont(Message);
    return;
  }
  if (HandleAllocated() && !Held && !TdxWrapGuard::TakesFont(FHandle, NewFont, GetText())) {
    // A host setting the editor up keeps the text it holds, shown as far as the control
    // holds it in the new font, as it keeps a value held.
    if (!KeepsText()) throw EInvalidOperation(TextRefusal(GetText()));
    HeldFont(Message);
    return;
  }
  if (!Wraps(FWordWrap, FScrollBars) || !HandleAllocated()) {
    inherited::Dispatch(Message);
    return;
  }
  FWrapGuard.GuardLayout(FHandle, reinterpret_cast<HFONT>(Message.WParam),
                         TdxWrapGuard::AreaWidth(FHandle),
                         [&] { inherited::Dispatch(Message); });
}

void TdxInplaceMemoEdit::HeldFont(TMessage& Message) {
  const auto NewFont = reinterpret_cast<HFONT>(Message.WParam);
  const AnsiString Value = GetText();
  const bool Whole = TdxWrapGuard::TakesFont(FHandle, NewFont, Value);
  if (!Whole && !KeepsText()) throw EInvalidOperation(TextRefusal(Value));
  // The part shown may be too long for the new font: the font comes to an empty window,
  // which then shows the whole value, or as much of it as the control holds in the font.
  ShowQuietly(AnsiString());
  WMSetFont(Message);
  if (Whole)
    ShowQuietly(Value);
  else
    ShowHeld(Value, NewFont);
}

void TdxInplaceMemoEdit::AfterActivate() {
  inherited::AfterActivate();
  if (!InPlace()) return;
  SendMessageA(Handle(), EM_LINESCROLL, 0, -268435455);
  SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

TdxEditViewData* TdxInplaceMemoEdit::CreateViewData(bool PaintCopy) {
  TdxEditViewData* ViewData = inherited::CreateViewData(PaintCopy);
  ViewData->VerticalLayout = 3;
  return ViewData;
}

bool TdxInplaceMemoEdit::WholeTextSelected() {
  GETTEXTLENGTHEX Length{GTL_NUMCHARS, CP_ACP};
  const LRESULT TextLength =
      SendMessageA(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Length), 0);
  return GetSelStart() == 0 && GetSelLength() >= TextLength;
}

void TdxInplaceMemoEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_RETURN && CanEditLinked() && !Shift.Contains(ssCtrl)) {
    if (CanModify()) SendMessageA(Handle(), WM_CHAR, '\r', 0);
    Key = 0;
    return;
  }
  bool Stays = false;
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      Stays = !WholeTextSelected() || AnyShiftKey(Shift);
      break;
    case VK_TAB:
      Stays = FWantTabs;
      break;
  }
  if (Stays) {
    // The rich edit moves the caret itself; the host only hears of the key.
    if (TCustomdxContainer* Host = GetContainer()) Host->DoEditKeyDown(Key, Shift);
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TdxInplaceMemoEdit::Dispatch(TMessage& Message) {
  // A text change refused is told to the call that made it, which sends no other
  // message first: Text's setter follows it with CM_TEXTCHANGED.
  const bool TextRefused = std::exchange(FTextRefused, false);
  if (HeldChange(Message)) return;
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      if (TextRefused) throw EInvalidOperation(GuardRefusal());
      inherited::Dispatch(Message);
      break;
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case WM_CHAR:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
      if (!WrapGuarded(Message)) inherited::Dispatch(Message);
      break;
    case WM_SIZE: WMSize(Message); break;
    case WM_NCCALCSIZE:
      if (HandleAllocated()) FWrapGuard.NoteClient(FHandle);
      inherited::Dispatch(Message);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      break;
    case WM_SETFONT: WMSetFont(Message); break;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      if (FWantTabs) Message.Result |= DLGC_WANTTAB;
      if (!FWantReturns) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      break;
    case WM_KEYDOWN:
      if (WrapGuarded(Message)) break;
      if (!FWantReturns && Message.WParam == VK_RETURN && !IsCtrlOnlyDown() && Parent() &&
          Parent()->HandleAllocated()) {
        Message.Result =
            SendMessageA(Parent()->Handle(), WM_KEYDOWN, Message.WParam, Message.LParam);
        break;
      }
      inherited::Dispatch(Message);
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}

// A carriage return that came through the key-press steps starts a new line here: not
// every rich edit control types one for a WM_CHAR, only for its own Enter key.
void TdxInplaceMemoEdit::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_PASTE) {
    TFlagScope Pasting(FPasting);
    inherited::DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_CHAR && Message.WParam == '\r' && HandleAllocated()) {
    if (CanEditLinked() && CanModify())
      SendMessageA(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r"));
    Message.Result = 0;
    return;
  }
  inherited::DefaultHandler(Message);
}
