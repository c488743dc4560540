// The mask editor: the mask's fields and state, the text it shows and answers, and the
// typing, pasting, deleting, caret and validation steps that keep the text on the mask.
// The mask routines: dxMaskEdit_Mask.cpp.
#include "editors/dxMaskEdit.h"

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/Exceptions.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TdxInplaceMaskEdit)

namespace {

constexpr char CtrlC = 3;
constexpr char CtrlV = 22;
constexpr char CtrlX = 24;

}  // namespace

TdxInplaceMaskEdit::TdxInplaceMaskEdit(TComponent* AOwner) : TdxInplaceTextEdit(AOwner) {}

// ---------------------------------------------------------------------------------
// The mask

void TdxInplaceMaskEdit::SetEditMask(const AnsiString& Value) {
  StoreProperty(esvEditMask);
  SetEditMaskValue(Value);
}

void TdxInplaceMaskEdit::SetEditMaskValue(const AnsiString& Value) {
  if (FEditMask == Value) return;
  LayMask(Value);
}

void TdxInplaceMaskEdit::RelayMask() {
  if (IsMasked()) LayMask(FEditMask);
}

void TdxInplaceMaskEdit::LayMask(const AnsiString& Value) {
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  const AnsiString Old = WindowText();
  // The characters of the old mask's positions go on the new one's one for one.
  const bool WasStripped = IsMasked() && static_cast<int>(Old.size()) == FMask.Length();
  const AnsiString Stripped = WasStripped ? FMask.Carried(Old) : Old;
  FEditMask = Value;
  FMask = TdxEditMask(Value);
  ForgetSkipped();
  FMaxChars = FMask.Length();
  if (FMask.Empty())
    FMaskState.Exclude(msMasked);
  else
    FMaskState.Include(msMasked);
  const AnsiString Formatted =
      !IsMasked() ? Stripped
                  : (WasStripped ? FMask.FormatPositions(Stripped) : FMask.Format(Stripped));
  if (Formatted != Old) {
    // The text on the new mask is the editor's: what the user typed stays edited.
    TFlagScope Formatting(FFormatting);
    TdxKeptModified Kept(*this);
    SetText(Formatted);
  }
  SetMaxLengthValue(FUnmaskedMaxLength);
  if (HandleAllocated()) Select(Start, Stop);
}

void TdxInplaceMaskEdit::RefreshDefaults() {
  inherited::RefreshDefaults();
  if (StoredValues().Contains(esvEditMask)) return;
  AnsiString Mask;
  GetDefaultEditMask(Mask);
  SetEditMaskValue(Mask);
}

// The limit asked for is kept for when the mask goes.
void TdxInplaceMaskEdit::SetMaxLengthValue(int Value) {
  FUnmaskedMaxLength = Value;
  inherited::SetMaxLengthValue(IsMasked() ? FMaxChars : Value);
}

// A text set before the window was made is fitted to the mask with it.
void TdxInplaceMaskEdit::CreateWnd() {
  inherited::CreateWnd();
  if (!IsMasked()) return;
  const AnsiString Text = WindowText();
  const AnsiString Formatted = FMask.Format(Text);
  if (Formatted == Text) return;
  TdxKeptModified Kept(*this);
  SetText(Formatted);
}

// ---------------------------------------------------------------------------------
// The text

AnsiString TdxInplaceMaskEdit::WindowText() { return GetText(); }

void TdxInplaceMaskEdit::GetEditText(AnsiString& Text) {
  if (RawText)
    Text = WindowText();
  else if (IsMasked())
    Text = FMask.Value(WindowText());
  else
    inherited::GetEditText(Text);
}

void TdxInplaceMaskEdit::SetEditValue(const Variant& Value) {
  if (!IsMasked() || VarIsNull(Value)) {
    inherited::SetEditValue(Value);
    return;
  }
  inherited::SetEditValue(Variant(FMask.Format(VarToStr(Value))));
}

Variant TdxInplaceMaskEdit::GetEditValue() {
  if (!IsMasked()) return inherited::GetEditValue();
  return Variant(StoredText());
}

AnsiString TdxInplaceMaskEdit::StoredText() {
  if (RawText) return WindowText();
  if (IsMasked()) return FMask.StoredValue(WindowText());
  AnsiString Text;
  GetEditText(Text);
  return Text;
}

// ---------------------------------------------------------------------------------
// Selection and writing

void TdxInplaceMaskEdit::GetSel(int& SelStart, int& SelStop) {
  SelStart = 0;
  SelStop = 0;
  if (!HandleAllocated() || !IsNativeEdit()) return;
  CHARRANGE Range{0, 0};
  SendMessageA(FHandle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Range));
  SelStart = Range.cpMin;
  SelStop = Range.cpMax;
}

void TdxInplaceMaskEdit::Select(int Start, int Stop) {
  CHARRANGE Range{Start, Stop};
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&Range));
}

void TdxInplaceMaskEdit::ReplaceChars(int Start, const AnsiString& Text) {
  if (Text.empty()) return;
  // The characters there already are no change; the control would mark one.
  const AnsiString Now = WindowText();
  if (Start >= 0 && static_cast<std::size_t>(Start) <= Now.size() &&
      Now.compare(static_cast<std::size_t>(Start), Text.size(), Text) == 0)
    return;
  FFormatting = true;
  auto Done = ScopeExit([&] { FFormatting = false; });
  Select(Start, Start + static_cast<int>(Text.size()));
  SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

void TdxInplaceMaskEdit::ClearPositions(int Start, int Stop) {
  const AnsiString Text = WindowText();
  const int Length = std::min(static_cast<int>(Text.size()), FMask.Length());
  Start = std::clamp(Start, 0, Length);
  Stop = std::clamp(Stop, Start, Length);
  // A double-byte character goes whole: its lead byte before Start, its second byte
  // at Stop.
  for (int I = 0; I < Start; ++I) {
    if (IsDBCSLeadByte(static_cast<BYTE>(Text[static_cast<std::size_t>(I)]))) {
      if (I + 1 == Start) Start = I;
      ++I;
    }
  }
  if (Stop > 0 && Stop < Length) {
    bool Lead = false;
    for (int I = 0; I < Stop; ++I)
      Lead = !Lead && IsDBCSLeadByte(static_cast<BYTE>(Text[static_cast<std::size_t>(I)]));
    if (Lead) ++Stop;
  }
  if (Start >= Stop) return;
  AnsiString Cleared =
      Text.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(Stop - Start));
  for (int I = Start; I < Stop; ++I)
    if (FMask.Char(I).IsPosition())
      Cleared[static_cast<std::size_t>(I - Start)] = FMask.BlankChar();
  ReplaceChars(Start, Cleared);
}

// ---------------------------------------------------------------------------------
// Typing

void TdxInplaceMaskEdit::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (!IsMasked() || Key == '\0' || Key == CtrlC || Key == CtrlV || Key == CtrlX) return;
  bool Taken = true;
  UserChange([&] { Taken = InputChar(Key); });
  if (!Taken) MessageBeepProc(0);
  Key = '\0';
}

bool TdxInplaceMaskEdit::InputChar(char Ch, bool Pasted) {
  // Control characters (Backspace, Enter, Tab) have their own steps.
  if (static_cast<unsigned char>(Ch) < 32) return true;
  if (!FLeadByte && IsDBCSLeadByte(static_cast<BYTE>(Ch))) {
    FLeadByte = Ch;
    return true;
  }
  const char Lead = FLeadByte;
  FLeadByte = '\0';
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  if (Stop <= Start && !Lead && Start == FSkipTo && FSkipFrom < FSkipTo &&
      FMask.Char(FSkipFrom).Literal == Ch) {
    ++FSkipFrom;
    return true;
  }
  // The character is judged where it lands, before the selection's positions are
  // emptied: one that nothing takes leaves them as they were.
  const int At = FMask.NextPosition(Start);
  char Accepted = Ch;
  const bool Lands =
      Lead ? FMask.AcceptsDoubleByte(At) : At >= 0 && FMask.Accepts(At, Accepted);
  // A refused character may be a literal that follows: the caret goes past it. A pasted
  // blank is taken so only when it is the next literal; elsewhere it leaves its position
  // empty, so that a text the editor showed pastes back as it was.
  const bool PastedBlank = Pasted && (Ch == FMask.BlankChar() || Ch == ' ');
  int Passed = -1;
  for (int I = std::max(Start, 0); !Lands && !Lead && I < FMask.Length(); ++I) {
    if (FMask.Char(I).IsPosition()) continue;
    if (FMask.Char(I).Literal == Ch) {
      Passed = I;
      break;
    }
    if (PastedBlank) break;
  }
  if (!Lands && Passed < 0 && !(PastedBlank && At >= 0)) return false;
  if (Stop > Start) ClearPositions(Start, Stop);
  ForgetSkipped();
  if (Lands) {
    ReplaceChars(At, Lead ? AnsiString{Lead, Ch} : AnsiString(1, Accepted));
    CaretAfter(Lead ? At + 1 : At);
  } else if (Passed >= 0) {
    // A pasted one closes the field it cuts short.
    if (Pasted) AlignPastedField(Passed, Start);
    CaretAfter(Passed);
  } else {
    ReplaceChars(At, AnsiString(1, FMask.BlankChar()));
    CaretAfter(At);
  }
  return true;
}

bool TdxInplaceMaskEdit::TypedText(char Ch, AnsiString& Text) {
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  Text = WindowText();
  const auto Length = static_cast<int>(Text.size());
  Start = std::clamp(Start, 0, Length);
  Stop = std::clamp(Stop, Start, Length);
  if (!IsMasked()) {
    Text.replace(static_cast<std::size_t>(Start), static_cast<std::size_t>(Stop - Start), 1,
                 Ch);
    return true;
  }
  // As the input step does: the separator just passed, or a character no position takes.
  if (Stop == Start && Start == FSkipTo && FSkipFrom < FSkipTo &&
      FMask.Char(FSkipFrom).Literal == Ch)
    return false;
  const int At = FMask.NextPosition(Start);
  if (At < 0 || At >= Length || !FMask.Accepts(At, Ch)) return false;
  for (int I = Start; I < std::min(Stop, FMask.Length()); ++I)
    if (FMask.Char(I).IsPosition()) Text[static_cast<std::size_t>(I)] = FMask.BlankChar();
  Text[static_cast<std::size_t>(At)] = Ch;
  return true;
}

bool TdxInplaceMaskEdit::AlignPastedField(int End, int Caret) {
  if (FPasteFrom < 0 || Caret >= End || End > FMask.Length()) return false;
  int First = End;
  while (First > 0 && FMask.Char(First - 1).IsPosition()) --First;
  // The whole field is the paste's, and it holds some of its digits but not all.
  if (First < FPasteFrom || Caret <= First) return false;
  for (int I = First; I < End; ++I)
    if (FMask.Char(I).Kind != mkDigit || !FMask.Char(I).Required) return false;
  const AnsiString Text = WindowText();
  if (static_cast<int>(Text.size()) < End) return false;
  const AnsiString Digits =
      Text.substr(static_cast<std::size_t>(First), static_cast<std::size_t>(Caret - First));
  if (Digits.find_first_not_of("0123456789") != AnsiString::npos) return false;
  ReplaceChars(First, AnsiString(static_cast<std::size_t>(End - Caret), '0') + Digits);
  return true;
}

void TdxInplaceMaskEdit::CaretAfter(int Index) {
  const int Next = FMask.NextPosition(Index + 1);
  const int Caret = Next < 0 ? Index + 1 : Next;
  Select(Caret, Caret);
  FSelectionAnchor = Caret;
  FSkipFrom = Index + 1;
  FSkipTo = Caret;
}

int TdxInplaceMaskEdit::PasteChars(const AnsiString& Text) {
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  if (Stop > Start) {
    ClearPositions(Start, Stop);
    Select(Start, Start);
    ForgetSkipped();
  }
  AnsiString Laid;
  if (FMask.LayFrom(Text, Start, Laid, true) &&
      static_cast<int>(WindowText().size()) == FMask.Length())
    return PasteInPlace(Laid, Start);
  TValueScope<int> From(FPasteFrom, Start);
  int Refused = 0;
  for (char Ch : Text)
    if (!InputChar(Ch, true)) ++Refused;
  // The end of the selection replaced closes the field the paste stopped in.
  Stop = std::min(Stop, FMask.Length());
  if (Stop > Start && (Stop == FMask.Length() || !FMask.Char(Stop).IsPosition())) {
    int Caret = 0;
    int CaretStop = 0;
    GetSel(Caret, CaretStop);
    if (Caret == CaretStop && AlignPastedField(Stop, Caret)) CaretAfter(Stop - 1);
  }
  return Refused;
}

int TdxInplaceMaskEdit::PasteInPlace(const AnsiString& Laid, int Start) {
  FLeadByte = '\0';
  ForgetSkipped();
  const AnsiString Old = WindowText();
  AnsiString New = Old;
  int Refused = 0;
  for (int I = Start; I < FMask.Length(); ++I) {
    char Ch = Laid[static_cast<std::size_t>(I - Start)];
    const auto At = static_cast<std::size_t>(I);
    if (!FMask.Char(I).IsPosition()) continue;
    if (IsDBCSLeadByte(static_cast<BYTE>(Ch))) {
      // Both bytes, on the two positions LayFrom found for them.
      if (FMask.AcceptsDoubleByte(I)) {
        New[At] = Ch;
        New[At + 1] = Laid[At + 1 - static_cast<std::size_t>(Start)];
      } else {
        ++Refused;
      }
      ++I;
    } else if (FMask.Accepts(I, Ch)) {
      New[At] = Ch;
    } else if (FMask.IsBlank(Ch)) {
      New[At] = FMask.BlankChar();
    } else {
      ++Refused;
    }
  }
  if (New != Old) ReplaceChars(Start, New.substr(static_cast<std::size_t>(Start)));
  CaretAfter(FMask.Length() - 1);
  return Refused;
}

void TdxInplaceMaskEdit::ReplaceSelection(const char* Text) {
  if (!Text || !*Text) return;
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  const AnsiString Before = WindowText();
  TdxKeptModified Kept(*this);
  if (PasteChars(Text) == 0) {
    Kept.Dismiss();
    return;
  }
  {
    TFlagScope Formatting(FFormatting);
    SetText(Before);
  }
  Select(Start, Stop);
}

void TdxInplaceMaskEdit::Paste() {
  if (!CanEditLinked() || !CanModify()) return;
  // The characters a position takes stay; those none takes are one refusal, heard once.
  int Refused = 0;
  UserChange([&] { Refused = PasteChars(Clipboard()->AsText()); });
  if (Refused > 0) MessageBeepProc(0);
}

// ---------------------------------------------------------------------------------
// Keys

void TdxInplaceMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    RevertToSaved();
    FValidationFailed = false;
  }
  if (InPlace() && IsValidatingKey(Key)) Validate();
  BeginKeyDown();
  auto Leave = ScopeExit([&] { EndKeyDown(); });
  // The paste and cut keys as the text editor reads them: with Alt too (AltGr, which
  // types a character on many layouts) they are none.
  const UINT Command = EditKeyMessage(Key, Shift);
  if (!FValidationFailed && Command == WM_PASTE) {
    SendMessageA(Handle(), WM_PASTE, 0, 0);
    Key = 0;
  }
  // The control's own cut would take the literals with the characters: the masked
  // cut blanks the positions instead.
  if (IsMasked() && Command == WM_CUT) {
    SendMessageA(Handle(), WM_CUT, 0, 0);
    Key = 0;
  }
  inherited::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt)) return;
  const bool ShiftOrCtrl = Shift.Contains(ssShift) || Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
      // With Ctrl the control moves by words; the key up puts the caret on a position.
      if (Shift.Contains(ssCtrl)) return;
      MoveCaret(Key, Shift);
      Key = 0;
      break;
    case VK_UP:
    case VK_DOWN:
      Key = 0;
      break;
    case VK_HOME:
    case VK_END:
      MoveCaret(Key, Shift);
      Key = 0;
      break;
    case VK_BACK:
      if (CanModify()) DeleteChars(true);
      Key = 0;
      break;
    case VK_DELETE:
      // With Ctrl the control would delete a word, literals and all: nothing happens.
      if (!ShiftOrCtrl && CanModify()) DeleteChars(false);
      Key = 0;
      break;
    default:
      CheckCaret();
      break;
  }
}

void TdxInplaceMaskEdit::KeyUp(Word& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (IsMasked() && (Key == VK_LEFT || Key == VK_RIGHT) && Shift.Contains(ssCtrl))
    CheckCaret();
}

void TdxInplaceMaskEdit::MoveCaret(Word Key, TShiftState Shift) {
  ForgetSkipped();
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  const int Length = FMask.Length();
  const bool Extend = Shift.Contains(ssShift);
  // The end that moves: away from the anchor while extending.
  int From =
      Extend ? (Start == FSelectionAnchor ? Stop : Start) : (Key == VK_LEFT ? Start : Stop);
  int To = From;
  switch (Key) {
    case VK_LEFT: {
      const int Prior = FMask.PriorPosition(From);
      To = Prior < 0 ? From : Prior;
      // Without Shift a selection collapses to its start first.
      if (!Extend && Start != Stop) To = Start;
      break;
    }
    case VK_RIGHT: {
      if (!Extend && Start != Stop) {
        To = Stop;
      } else {
        const int Next = FMask.NextPosition(From + 1);
        To = Next < 0 ? Length : Next;
      }
      break;
    }
    case VK_HOME:
      To = std::max(FMask.NextPosition(0), 0);
      break;
    case VK_END: {
      const int Last = FMask.PriorPosition(Length);
      To = Last < 0 ? Length : Last;
      break;
    }
  }
  if (Extend) {
    Select(std::min(FSelectionAnchor, To), std::max(FSelectionAnchor, To));
  } else {
    Select(To, To);
    FSelectionAnchor = To;
    CheckCaret();
  }
}

void TdxInplaceMaskEdit::DeleteChars(bool Backward) {
  ForgetSkipped();
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  if (Stop - Start >= 2) {
    ClearPositions(Start, Stop);
  } else if (Stop > Start) {
    ClearPositions(Start, Stop);
  } else if (Backward) {
    const int Prior = FMask.PriorPosition(Start);
    if (Prior < 0) return;
    ClearPositions(Prior, Prior + 1);
    Start = Prior;
  } else {
    const int Next = FMask.NextPosition(Start);
    if (Next < 0) return;
    ClearPositions(Next, Next + 1);
    Start = Next;
  }
  Select(Start, Start);
  FSelectionAnchor = Start;
  CheckCaret();
}

void TdxInplaceMaskEdit::CheckCaret() {
  if (!IsMasked() || !HandleAllocated()) return;
  int Start = 0;
  int Stop = 0;
  GetSel(Start, Stop);
  if (Start != Stop || Start >= FMask.Length() || FMask.Char(Start).IsPosition()) return;
  const int Next = FMask.NextPosition(Start);
  const int Caret = Next < 0 ? FMask.Length() : Next;
  Select(Caret, Caret);
  FSelectionAnchor = Caret;
}

// ---------------------------------------------------------------------------------
// Validation

void TdxInplaceMaskEdit::Validate() {
  if (IsMasked() && KeyDownLevel() == 0 && GetModified()) {
    const int Gap = FMask.FirstGap(WindowText(), RawText);
    if (Gap >= 0) {
      if (RevertOnInvalid) {
        RevertToSaved();
        return;
      }
      if (!ComponentState().Contains(csDesigning)) {
        FMaskState.Include(msReEnter);
        if (HandleAllocated() && IsWindowVisible(FHandle)) ::SetFocus(FHandle);
        if (HandleAllocated()) Select(Gap, Gap);
        FSelectionAnchor = Gap;
        MessageBeepProc(0);
        FValidationFailed = true;
        throw EDBEditError(SdxMaskEditInvalid);
      }
    }
  }
  CheckCaret();
  inherited::Validate();
  FValidationFailed = false;
  FMaskState.Exclude(msReEnter);
}

// ---------------------------------------------------------------------------------
// Messages

void TdxInplaceMaskEdit::Dispatch(TMessage& Message) {
  if (!IsMasked()) {
    inherited::Dispatch(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_SETTEXT: {
      // Every text set from outside is fitted to the mask.
      if (FFormatting || CreatingWindow()) {
        inherited::Dispatch(Message);
        break;
      }
      ForgetSkipped();
      const char* Given = reinterpret_cast<const char*>(Message.LParam);
      const AnsiString Formatted = FMask.Format(Given ? AnsiString(Given) : AnsiString());
      const LPARAM Saved = Message.LParam;
      Message.LParam = reinterpret_cast<LPARAM>(Formatted.c_str());
      inherited::Dispatch(Message);
      Message.LParam = Saved;
      break;
    }
    case WM_PASTE:
      Paste();
      Message.Result = 0;
      break;
    case EM_REPLACESEL:
      if (FFormatting) {
        inherited::Dispatch(Message);
      } else {
        ForgetSkipped();
        ReplaceSelection(reinterpret_cast<const char*>(Message.LParam));
        Message.Result = 0;
      }
      break;
    case WM_CUT:
      SendMessageA(FHandle, WM_COPY, 0, 0);
      [[fallthrough]];
    case WM_CLEAR: {
      if (CanEditLinked() && CanModify()) {
        int Start = 0;
        int Stop = 0;
        GetSel(Start, Stop);
        ClearPositions(Start, Stop);
        Select(Start, Start);
      }
      Message.Result = 0;
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_KILLFOCUS:
      ForgetSkipped();
      inherited::Dispatch(Message);
      break;
    case WM_LBUTTONUP:
      inherited::Dispatch(Message);
      CheckCaret();
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}
