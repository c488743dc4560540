#include "skin/XPEdits2.h"

#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TXPEditColors)
TCLASS_IMPL(TCustomXPEdit)

namespace {

// Every live edit, in creation order, and the hook that repaints the transparent ones.
std::vector<TCustomXPEdit*> TransparentEditList;
HHOOK EditHook = nullptr;

void RemoveHook() {
  if (EditHook) UnhookWindowsHookEx(EditHook);
  EditHook = nullptr;
}

bool IsSpace(char C) { return C == ' '; }

// The containers that scroll their contents (forms and frames): they erase the
// background under a transparent edit, which draws none of its own.
bool IsScrollingContainer(const TWinControl* Control) {
  return Control->Is<TCustomForm>() || Control->Is<TCustomFrame>();
}

TRect WindowRectOf(HWND Wnd) {
  TRect R{};
  GetWindowRect(Wnd, &R);
  return R;
}

bool Intersect(const TRect& A, const TRect& B) {
  TRect Dummy{};
  return IntersectRect(&Dummy, &A, &B) != 0;
}

// Invalidates, without erasing, the part of Control's client area (and its showing
// windowed children's) under the screen rectangle Area, skipping Skip.
void InvalidateUnder(TWinControl* Control, const TRect& Area, TWinControl* Skip) {
  if (Control == Skip || !Control->HandleAllocated()) return;
  TRect Local = Area;
  MapWindowPoints(nullptr, Control->Handle(), reinterpret_cast<POINT*>(&Local), 2);
  InvalidateRect(Control->Handle(), &Local, FALSE);
  for (int I = 0; I < Control->ControlCount(); ++I)
    if (auto* Child = ObjectAs<TWinControl>(Control->Controls(I)); Child && Child->Showing())
      InvalidateUnder(Child, Area, Skip);
}

}  // namespace

LRESULT CALLBACK XPEditHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  const LRESULT Result = CallNextHookEx(EditHook, Code, WParam, LParam);
  if (Code < 0) return Result;
  const auto* Msg = reinterpret_cast<const CWPSTRUCT*>(LParam);
  const bool Watched = (Msg->message >= 0xBC01 && Msg->message <= 0xBDF3) ||
                       Msg->message == WM_PAINT || Msg->message == WM_SIZE;
  if (!Watched) return Result;
  try {
    TWinControl* Target = FindControl(Msg->hwnd);
    if (!Target) return Result;
    const TRect TargetRect = WindowRectOf(Msg->hwnd);
    // A copy: invalidating may run code that creates or frees edits.
    const std::vector<TCustomXPEdit*> Edits = TransparentEditList;
    for (TCustomXPEdit* Edit : Edits) {
      if (!Edit->HandleAllocated() || !Edit->Transparent() || Edit == Target) continue;
      const bool Related = Target == Edit->Owner() ||
                           (!Target->Is<TCustomXPEdit>() && Target->Owner() == Edit->Owner());
      if (Related && Intersect(TargetRect, WindowRectOf(Edit->Handle()))) Edit->Invalidate();
    }
  } catch (...) {
    // A hook must not let an exception into the system's code.
  }
  return Result;
}

// --- TXPEditColors ---------------------------------------------------------------

void TXPEditColors::Assign(TPersistent* Source) {
  if (auto* Other = ObjectAs<TXPEditColors>(Source)) {
    SetColor(Other->FColor);
    SetFrameColor(Other->FFrameColor);
    SetDisabledDarkColor(Other->FDisabledDarkColor);
    SetDisabledLightColor(Other->FDisabledLightColor);
    return;
  }
  inherited::Assign(Source);
}

void TXPEditColors::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (FOwner) FOwner->SetColor(Value);
}

void TXPEditColors::SetFrameColor(TColor Value) {
  if (FFrameColor == Value) return;
  FFrameColor = Value;
  Changed();
}

void TXPEditColors::SetDisabledDarkColor(TColor Value) {
  if (FDisabledDarkColor == Value) return;
  FDisabledDarkColor = Value;
  Changed();
}

void TXPEditColors::SetDisabledLightColor(TColor Value) {
  if (FDisabledLightColor == Value) return;
  FDisabledLightColor = Value;
  Changed();
}

void TXPEditColors::Changed() {
  if (FOwner) FOwner->Invalidate();
}

// --- TCustomXPEdit: life ------------------------------------------------------------

TCustomXPEdit::TCustomXPEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle((ControlStyle() + TControlStyle{csClickEvents, csDoubleClicks}) - TControlStyle{csOpaque});
  SetBounds(Left(), Top(), 121, 21);
  SetParentColor(false);
  SetCursor(crDefault);
  SetTabStop(true);
  FColors = NewObject<TXPEditColors>(this);
  SetParentFont(true);
  Font()->SetColor(clHotLight);
  TransparentEditList.push_back(this);
  if (!EditHook)
    EditHook = SetWindowsHookExA(WH_CALLWNDPROC, XPEditHookProc, nullptr, GetCurrentThreadId());
  SetTransparent(true);
}

TCustomXPEdit::~TCustomXPEdit() {
  std::erase(TransparentEditList, this);
  if (TransparentEditList.empty()) RemoveHook();
  FColors->Free();
}

void TCustomXPEdit::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  RecreateWnd();
}

void TCustomXPEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  RefreshDisplayText();
  Invalidate();
}

void TCustomXPEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomXPEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TCustomXPEdit::CreateWnd() {
  inherited::CreateWnd();
  SetCaretIndex(FCaretIndex);
  SetFirstVisible(FFirstVisible);
  UpdateCaretPos();
  Perform(CM_FONTCHANGED, 0, 0);
}

// --- Selection and caret -------------------------------------------------------------

bool TCustomXPEdit::ShiftHeld() const { return GetKeyStateProc(VK_SHIFT) < 0; }

void TCustomXPEdit::SetSelStart(int Value) {
  Value = std::clamp(Value, 0, TextLength());
  if (Value == SelStart() && SelLength() == 0) return;
  SetCaretIndex(Value);
  FSelAnchor = Value;
  FSelEnd = Value;
  Invalidate();
}

void TCustomXPEdit::SetSelLength(int Value) {
  Value = std::max(Value, 0);
  if (SelStart() + Value > TextLength()) Value = TextLength() - SelStart();
  if (Value == SelLength()) return;
  if (FSelEnd < FSelAnchor) FSelAnchor = FCaretIndex;
  FSelEnd = FSelAnchor + Value;
  Invalidate();
}

AnsiString TCustomXPEdit::SelText() const {
  const AnsiString T = Text();
  const int Start = std::min(SelStart(), static_cast<int>(T.size()));
  return T.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(SelLength()));
}

void TCustomXPEdit::MoveCaret(int Index) {
  const bool Extending = ShiftHeld() || FMouseSelecting;
  if (!Extending && SelLength() != 0) Invalidate();
  if (!Extending) FSelAnchor = FSelEnd = std::clamp(Index, 0, TextLength());
  Index = std::clamp(Index, 0, TextLength());
  if (Index == FCaretIndex) return;
  if (Extending) {
    FSelEnd = Index;
    Invalidate();
  }
  SetCaretIndex(Index);
}

void TCustomXPEdit::SetCaretIndex(int Index) {
  FCaretIndex = Index;
  if (!HandleAllocated()) return;
  if (Index < FFirstVisible)
    SetFirstVisible(Index);
  else if (Index > FFirstVisible + FFullVisibleCount)
    SetFirstVisible(FirstFittingIndex(Index));
  UpdateCaretPos();
}

void TCustomXPEdit::SetFirstVisible(int Index) {
  FFirstVisible = Index;
  if (!HandleAllocated()) return;
  UpdateVisibleCounts();
  Invalidate();
}

void TCustomXPEdit::UpdateCaretPos() {
  if (!HandleAllocated() || !Focused()) return;
  SetCaretPos(TextWidthOf(FFirstVisible, FCaretIndex) + 3, 3);
}

void TCustomXPEdit::CreateEditCaret() {
  CreateCaret(Handle(), nullptr, 1, FTextHeight);
  UpdateCaretPos();
  ShowCaret(Handle());
}

void TCustomXPEdit::DestroyEditCaret() {
  HideCaret(Handle());
  DestroyCaret();
}

void TCustomXPEdit::SetHotUnderline(bool On) {
  TFontStyles Style = Font()->Style();
  if (On)
    Style.Include(fsUnderline);
  else
    Style.Exclude(fsUnderline);
  Font()->SetStyle(Style);
}

void TCustomXPEdit::GetTextRect(TRect& Rect) {
  Rect = ClientRect();
  InflateRect(&Rect, -2, -2);
}

// --- Measuring ----------------------------------------------------------------------

HDC TCustomXPEdit::TextDC() {
  // The canvas selects its font only when asked for text work; the bare handle may
  // still hold the DC's default font.
  Canvas()->TextExtent(AnsiString());
  return Canvas()->Handle();
}

void TCustomXPEdit::RefreshDisplayText() {
  FDisplayText = Text();
  if (FPasswordChar != '\0') FDisplayText.assign(FDisplayText.size(), FPasswordChar);
}

int TCustomXPEdit::TextWidthOf(int From, int To) {
  From = std::clamp(From, 0, static_cast<int>(FDisplayText.size()));
  To = std::clamp(To, From, static_cast<int>(FDisplayText.size()));
  if (To == From) return 0;
  SIZE Size{};
  GetTextExtentPoint32A(TextDC(), FDisplayText.data() + From, To - From, &Size);
  return Size.cx;
}

int TCustomXPEdit::AvailableWidth() {
  TRect R;
  GetTextRect(R);
  return R.right - R.left - 2;
}

int TCustomXPEdit::Overhang() {
  TEXTMETRICA Metrics{};
  GetTextMetricsA(TextDC(), &Metrics);
  return Metrics.tmOverhang;
}

int TCustomXPEdit::FirstFittingIndex(int Index) {
  const int Width = AvailableWidth() - Overhang();
  Index = std::clamp(Index, 0, static_cast<int>(FDisplayText.size()));
  int First = Index;
  // Whole runs of up to 32 characters while they fit, then single characters.
  while (First > 0) {
    const int Run = std::min(32, First);
    if (TextWidthOf(First - Run, Index) > Width) break;
    First -= Run;
  }
  while (First > 0 && TextWidthOf(First - 1, Index) <= Width) --First;
  return First;
}

void TCustomXPEdit::UpdateVisibleCounts() {
  const int Count = static_cast<int>(FDisplayText.size()) - FFirstVisible;
  FVisibleCount = FFullVisibleCount = 0;
  if (Count <= 0) return;
  const int Width = AvailableWidth();
  std::vector<int> Extents(static_cast<std::size_t>(Count));
  SIZE Size{};
  GetTextExtentExPointA(TextDC(), FDisplayText.data() + FFirstVisible, Count, 0, nullptr,
                        Extents.data(), &Size);
  const int Full = Width - Overhang();
  while (FFullVisibleCount < Count && Extents[static_cast<std::size_t>(FFullVisibleCount)] <= Full)
    ++FFullVisibleCount;
  // The one that crosses the edge counts as visible.
  while (FVisibleCount < Count) {
    const int Start = FVisibleCount == 0 ? 0 : Extents[static_cast<std::size_t>(FVisibleCount - 1)];
    ++FVisibleCount;
    if (Start >= Width || Extents[static_cast<std::size_t>(FVisibleCount - 1)] >= Width) break;
  }
}

int TCustomXPEdit::CharIndexAt(int X) {
  const int Length = static_cast<int>(FDisplayText.size());
  int Index = FFirstVisible;
  if (X >= 0) {
    int Remaining = X;
    while (Index < Length) {
      const int W = TextWidthOf(Index, Index + 1);
      if (Remaining * 2 <= W) break;
      Remaining -= W;
      ++Index;
    }
  } else {
    int Remaining = -X;
    while (Index > 0) {
      const int W = TextWidthOf(Index - 1, Index);
      if (Remaining * 2 <= W) break;
      Remaining -= W;
      --Index;
    }
  }
  return Index;
}

int TCustomXPEdit::PreviousWordStart() const {
  const AnsiString T = Text();
  int I = std::min(FCaretIndex, static_cast<int>(T.size()));
  while (I > 0 && IsSpace(T[static_cast<std::size_t>(I - 1)])) --I;
  while (I > 0 && !IsSpace(T[static_cast<std::size_t>(I - 1)])) --I;
  return I;
}

int TCustomXPEdit::NextWordStart() const {
  const AnsiString T = Text();
  const int Length = static_cast<int>(T.size());
  int I = std::min(FCaretIndex, Length);
  while (I < Length && !IsSpace(T[static_cast<std::size_t>(I)])) ++I;
  while (I < Length && IsSpace(T[static_cast<std::size_t>(I)])) ++I;
  return I;
}

// --- Editing ------------------------------------------------------------------------

void TCustomXPEdit::SetWindowTextInside(const AnsiString& Value) {
  TFlagScope Inside(FUpdating);
  SetText(Value);
}

void TCustomXPEdit::RefreshScrollAfterEdit() {
  if (!HandleAllocated()) return;
  // A caret left alone at the end scrolls back to show what fits before it; anywhere
  // else the counts are measured again over the changed text.
  if (FCaretIndex == FFirstVisible && FCaretIndex == TextLength())
    SetFirstVisible(FirstFittingIndex(FCaretIndex));
  else
    SetFirstVisible(FFirstVisible);
}

void TCustomXPEdit::InsertText(const AnsiString& Source) {
  if (FReadOnly) return;
  AnsiString S = Source;
  AnsiString T = Text();
  const int Start = SelStart();
  T.erase(static_cast<std::size_t>(Start), static_cast<std::size_t>(SelLength()));
  FCaretIndex = Start;
  if (FMaxLength > 0 && static_cast<int>(T.size() + S.size()) > FMaxLength)
    S.resize(static_cast<std::size_t>(std::max(FMaxLength - static_cast<int>(T.size()), 0)));
  for (char& C : S) {
    if (FCharCase == 1 && C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    if (FCharCase == 2 && C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  }
  T.insert(static_cast<std::size_t>(FCaretIndex), S);
  SetWindowTextInside(T);
  RefreshScrollAfterEdit();
  SetCaretIndex(FCaretIndex + static_cast<int>(S.size()));
  // The change ends with the selection collapsed at the caret.
  FSelAnchor = FSelEnd = FCaretIndex;
  Invalidate();
  Change();
}

void TCustomXPEdit::DeleteBackward(int N) {
  if (FReadOnly || FCaretIndex == 0) return;
  N = std::min(N, FCaretIndex);
  // The caret moves without extending a selection, Shift or not: the characters go
  // and the selection is collapsed at the caret.
  FSelAnchor = FSelEnd = FCaretIndex - N;
  SetCaretIndex(FCaretIndex - N);
  AnsiString T = Text();
  T.erase(static_cast<std::size_t>(FCaretIndex), static_cast<std::size_t>(N));
  SetWindowTextInside(T);
  if (HandleAllocated()) {
    if (FCaretIndex == FFirstVisible)
      SetFirstVisible(FirstFittingIndex(FCaretIndex));
    else
      SetFirstVisible(FFirstVisible);
  }
  Invalidate();
  Change();
}

void TCustomXPEdit::DeleteForward(int N) {
  if (FReadOnly) return;
  AnsiString T = Text();
  const int Index = std::min(FCaretIndex, static_cast<int>(T.size()));
  T.erase(static_cast<std::size_t>(Index), static_cast<std::size_t>(std::max(N, 0)));
  SetWindowTextInside(T);
  FSelAnchor = FSelEnd = FCaretIndex = Index;
  RefreshScrollAfterEdit();
  UpdateCaretPos();
  Change();
}

void TCustomXPEdit::DeleteSelection() {
  if (FReadOnly) return;
  const int Start = SelStart();
  const int Length = SelLength();
  FSelAnchor = FSelEnd = Start;
  SetCaretIndex(Start);
  DeleteForward(Length);
}

void TCustomXPEdit::CopyToClipboard() { Clipboard()->SetAsText(SelText()); }

void TCustomXPEdit::CutToClipboard() {
  CopyToClipboard();
  DeleteSelection();
}

void TCustomXPEdit::PasteFromClipboard() { InsertText(Clipboard()->AsText()); }

void TCustomXPEdit::SelectAll() {
  SetSelStart(0);
  SetSelLength(TextLength());
  SetCaretIndex(SelLength());
}

void TCustomXPEdit::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

// --- Keys and mouse -----------------------------------------------------------------

void TCustomXPEdit::KeyDown(Word& Key, TShiftState Shift) {
  const TShiftState Modifiers = Shift * TShiftState{ssShift, ssAlt, ssCtrl};
  switch (Key) {
    case VK_END: MoveCaret(TextLength()); return;
    case VK_HOME: MoveCaret(0); return;
    case VK_LEFT:
      MoveCaret(Shift.Contains(ssCtrl) ? PreviousWordStart() : FCaretIndex - 1);
      return;
    case VK_RIGHT:
      MoveCaret(Shift.Contains(ssCtrl) ? NextWordStart() : FCaretIndex + 1);
      return;
    case VK_INSERT:
      if (Modifiers == TShiftState{ssShift}) PasteFromClipboard();
      if (Modifiers == TShiftState{ssCtrl}) CopyToClipboard();
      return;
    case VK_DELETE:
      if (Modifiers.Empty()) {
        if (SelLength() > 0)
          DeleteSelection();
        else
          DeleteForward(1);
      } else if (Modifiers == TShiftState{ssShift}) {
        CutToClipboard();
      }
      return;
  }
  inherited::KeyDown(Key, Shift);
}

void TCustomXPEdit::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  const auto Code = static_cast<unsigned char>(Key);
  if (Code >= 32) {
    InsertText(AnsiString(1, Key));
    return;
  }
  switch (Code) {
    case 3: CopyToClipboard(); break;
    case 8:
      if (SelLength() > 0)
        DeleteSelection();
      else
        DeleteBackward(1);
      break;
    case 22: PasteFromClipboard(); break;
    case 24: CutToClipboard(); break;
  }
}

void TCustomXPEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  TRect R;
  GetTextRect(R);
  if (Button != mbLeft || Shift.Contains(ssDouble) || !PtInRect(&R, POINT{X, Y})) return;
  MoveCaret(CharIndexAt(X));
  if (CanFocus()) SetFocus();
  SetCapture(Handle());
  FMouseSelecting = true;
}

void TCustomXPEdit::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FMouseSelecting) MoveCaret(CharIndexAt(X));
}

void TCustomXPEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (GetCapture() == Handle()) ReleaseCapture();
  FMouseSelecting = false;
  inherited::MouseUp(Button, Shift, X, Y);
}

void TCustomXPEdit::DblClick() {
  inherited::DblClick();
  POINT P{};
  GetCursorPos(&P);
  ::ScreenToClient(Handle(), &P);
  TRect R;
  GetTextRect(R);
  if (!PtInRect(&R, P)) return;
  const AnsiString T = Text();
  const int Length = static_cast<int>(T.size());
  int I = CharIndexAt(P.x);
  auto SpaceAt = [&](int K) { return IsSpace(T[static_cast<std::size_t>(K)]); };
  if (I >= Length || SpaceAt(I)) {
    int Before = std::min(I, Length);
    while (Before > 0 && SpaceAt(Before - 1)) --Before;
    if (Before > 0) {
      I = Before - 1;  // the nearest word before
    } else {
      while (I < Length && SpaceAt(I)) ++I;  // only spaces before: the next word
      if (I >= Length) return;
    }
  }
  int Start = I;
  int End = I;
  while (Start > 0 && !SpaceAt(Start - 1)) --Start;
  while (End < Length && !SpaceAt(End)) ++End;
  FSelAnchor = Start;
  FSelEnd = End;
  SetCaretIndex(End);
  Invalidate();
}

// --- Painting -----------------------------------------------------------------------

void TCustomXPEdit::Paint() {
  const bool Enabled = IsEnabledChain(this);
  const bool ShowSelection = Focused() || !FHideSelection;
  TColor Back, Frame, TextColor, SelBack, SelText;
  if (Enabled) {
    Back = FColors->Color();
    Frame = FColors->FrameColor();
    TextColor = Font()->Color();
    SelBack = ShowSelection ? clHighlight : Back;
    SelText = ShowSelection ? clHighlightText : TextColor;
  } else {
    Back = FColors->DisabledLightColor();
    Frame = TextColor = FColors->DisabledDarkColor();
    SelBack = ShowSelection ? TextColor : Back;
    SelText = ShowSelection ? Back : TextColor;
  }
  TCanvas* C = Canvas();
  if (!FTransparent) {
    TRect R = ClientRect();
    C->Brush()->SetColor(Frame);
    C->FillRect(R);
    InflateRect(&R, -1, -1);
    C->Brush()->SetColor(Back);
    C->FillRect(R);
  }
  TRect R;
  GetTextRect(R);
  InflateRect(&R, -1, -1);
  if (IsRectEmpty(&R)) return;
  PaintText(R, Back, TextColor, SelBack, SelText, Frame, Back);
}

void TCustomXPEdit::PaintText(const TRect& Rect, TColor Back, TColor TextColor, TColor SelBack,
                              TColor SelTextColor, TColor /*Frame*/, TColor Ring) {
  TCanvas* C = Canvas();
  C->SetFont(Font());
  HDC DC = TextDC();
  TSavedTextState Saved(DC);
  TRect Line = Rect;
  Line.bottom = std::min(Rect.top + FTextHeight, Rect.bottom);
  if (!FTransparent) {
    C->Brush()->SetColor(Ring);
    TRect Outer = Rect;
    InflateRect(&Outer, 1, 1);
    C->FrameRect(Outer);
    C->FillRect(TRect{Rect.left, Line.bottom, Rect.right, Rect.bottom});
    DC = TextDC();
  }
  int X = Line.left;
  auto Run = [&](int From, int To, TColor Fore, TColor Bk, bool Clear) {
    if (To <= From) return;
    SetTextColor(DC, ColorToRGB(Fore));
    SetBkColor(DC, ColorToRGB(Bk));
    SetBkMode(DC, Clear ? TRANSPARENT : OPAQUE);
    TRect Part{X, Line.top, std::min<int>(X + TextWidthOf(From, To), Line.right), Line.bottom};
    ExtTextOutA(DC, X, Line.top, ETO_CLIPPED | (Clear ? 0 : ETO_OPAQUE), &Part,
                FDisplayText.data() + From, static_cast<UINT>(To - From), nullptr);
    X = Part.right;
  };
  const int First = FFirstVisible;
  const int Last = std::min(FFirstVisible + FVisibleCount, static_cast<int>(FDisplayText.size()));
  const int S0 = SelStart();
  const int S1 = SelStart() + SelLength();
  const bool SelClear = FTransparent && FHideSelection && !Focused();
  if (SelLength() > 0 && S0 < Last && S1 > First) {
    if (S0 >= First) Run(First, S0, TextColor, Back, FTransparent);
    Run(std::max(S0, First), std::min(S1, Last), SelTextColor, SelBack, SelClear);
    if (S1 < Last) Run(S1, Last, TextColor, Back, FTransparent);
  } else {
    Run(First, Last, TextColor, Back, FTransparent);
  }
  if (X < Line.right && !FTransparent) {
    SetBkColor(DC, ColorToRGB(Back));
    TRect Rest{X, Line.top, Line.right, Line.bottom};
    ExtTextOutA(DC, X, Line.top, ETO_OPAQUE | ETO_CLIPPED, &Rest, "", 0, nullptr);
  }
}

// --- Transparency -------------------------------------------------------------------

void TCustomXPEdit::Invalidate() {
  if (FTransparent && HandleAllocated()) InvalidateUnderneath();
  inherited::Invalidate();
}

void TCustomXPEdit::InvalidateUnderneath() {
  TWinControl* P = Parent();
  if (!P || !P->HandleAllocated()) return;
  const TRect Area = WindowRectOf(Handle());
  if (IsScrollingContainer(P)) {
    TClientDC DC(P->Handle());
    TSavedDC Clip(DC.DC());
    const TRect Local = BoundsRect();
    IntersectClipRect(DC.DC(), Local.left, Local.top, Local.right, Local.bottom);
    SendMessageA(P->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC.DC()), 0);
  }
  InvalidateUnder(P, Area, this);
}

// --- Messages -----------------------------------------------------------------------

void TCustomXPEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      Invalidate();
      CreateEditCaret();
      return;
    case WM_KILLFOCUS:
      DestroyEditCaret();
      inherited::Dispatch(Message);
      Invalidate();
      return;
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SETTEXT: {
      AnsiString Converted;
      if (FOEMConvert && Message.LParam) {
        Converted = reinterpret_cast<const char*>(Message.LParam);
        CharToOemA(Converted.c_str(), Converted.data());
        Message.LParam = reinterpret_cast<LPARAM>(Converted.c_str());
      }
      inherited::Dispatch(Message);
      RefreshDisplayText();
      return;
    }
    case WM_GETTEXT:
      inherited::Dispatch(Message);
      if (FOEMConvert && Message.LParam && Message.Result > 0) {
        auto* Buffer = reinterpret_cast<char*>(Message.LParam);
        OemToCharA(Buffer, Buffer);
      }
      return;
    case WM_CANCELMODE:
      inherited::Dispatch(Message);
      EndMouseSelect();
      return;
    case WM_SETCURSOR: {
      inherited::Dispatch(Message);
      POINT P{};
      GetCursorPos(&P);
      ::ScreenToClient(Handle(), &P);
      TRect R;
      GetTextRect(R);
      ::SetCursor(LoadCursorA(nullptr, PtInRect(&R, P) ? IDC_IBEAM : IDC_ARROW));
      Message.Result = 1;
      return;
    }
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      SetHotUnderline(true);
      return;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      SetHotUnderline(false);
      return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      RefreshDisplayText();
      if (!FUpdating) {
        SetFirstVisible(0);
        FSelAnchor = FSelEnd = std::min(FSelAnchor, TextLength());
        MoveCaret(TextLength());
        Change();
      }
      return;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      Canvas()->SetFont(Font());
      if (HandleAllocated()) {
        TEXTMETRICA Metrics{};
        GetTextMetricsA(TextDC(), &Metrics);
        FTextHeight = Metrics.tmHeight;
        if (FAutoSize || FTextHeight + 6 > Height()) SetHeight(FTextHeight + 6);
        UpdateVisibleCounts();
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    case CM_PARENTCOLORCHANGED:
      inherited::Dispatch(Message);
      if (ParentColor()) {
        FColors->SetColor(Color());
        Invalidate();
      }
      return;
    case CM_ENTER:
      if (FAutoSelect && GetKeyStateProc(VK_LBUTTON) >= 0) SelectAll();
      inherited::Dispatch(Message);
      return;
  }
  inherited::Dispatch(Message);
}

// --- The unit -----------------------------------------------------------------------

int XPEditCount() { return static_cast<int>(TransparentEditList.size()); }
bool XPEditHookInstalled() { return EditHook != nullptr; }

void InitXPEdits2() {
  RegisterClass(&TCustomXPEdit::StaticClass());
  {
    TPublish<TXPEditColors> C;
    C.Prop("Color", &TXPEditColors::Color, &TXPEditColors::SetColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(clWindow);
    C.Prop("FrameColor", &TXPEditColors::FrameColor, &TXPEditColors::SetFrameColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(static_cast<TColor>(RGB(127, 157, 185)));
    C.Prop("DisabledDarkColor", &TXPEditColors::DisabledDarkColor,
           &TXPEditColors::SetDisabledDarkColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(static_cast<TColor>(RGB(172, 168, 153)));
    C.Prop("DisabledLightColor", &TXPEditColors::DisabledLightColor,
           &TXPEditColors::SetDisabledLightColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(static_cast<TColor>(RGB(236, 233, 216)));
  }
  TPublish<TCustomXPEdit> P;
  P.Prop("AutoSelect", &TCustomXPEdit::AutoSelect, &TCustomXPEdit::SetAutoSelect).Default(true);
  P.Prop("AutoSize", &TCustomXPEdit::EditAutoSize, &TCustomXPEdit::SetEditAutoSize).Default(true);
  P.Prop("CharCase", &TCustomXPEdit::CharCase, &TCustomXPEdit::SetCharCase).Default(0);
  // The colours after the control's Color, which Colors.Color sets again.
  P.Prop("Colors", &TCustomXPEdit::Colors, &TCustomXPEdit::SetColors);
  P.Prop("HideSelection", &TCustomXPEdit::HideSelection, &TCustomXPEdit::SetHideSelection)
      .Default(true);
  P.Prop("MaxLength", &TCustomXPEdit::MaxLength, &TCustomXPEdit::SetMaxLength).Default(0);
  P.Prop("OEMConvert", &TCustomXPEdit::OEMConvert, &TCustomXPEdit::SetOEMConvert).Default(false);
  P.Prop("ParentColor", &TCustomXPEdit::ParentColor, &TCustomXPEdit::SetParentColor).Default(false);
  // The font's own colour leaves the parent's font.
  P.Prop("ParentFont", &TCustomXPEdit::ParentFont, &TCustomXPEdit::SetParentFont).Default(false);
  P.Prop("PasswordChar", &TCustomXPEdit::PasswordChar, &TCustomXPEdit::SetPasswordChar).Default('\0');
  P.Prop("ReadOnly", &TCustomXPEdit::ReadOnly, &TCustomXPEdit::SetReadOnly).Default(false);
  P.Prop("TabStop", &TCustomXPEdit::TabStop, &TCustomXPEdit::SetTabStop).Default(true);
  P.Prop("Transparent", &TCustomXPEdit::Transparent, &TCustomXPEdit::SetTransparent).Default(true);
  // The text after OEMConvert, which converts it on its way in.
  P.Prop("Text", &TCustomXPEdit::Text, &TCustomXPEdit::SetText);
  P.Prop("OnChange", &TCustomXPEdit::OnChange);
}

void DoneXPEdits2() {
  RemoveHook();
  UnRegisterPublished(&TCustomXPEdit::StaticClass());
  UnRegisterPublished(&TXPEditColors::StaticClass());
  UnRegisterClass(&TCustomXPEdit::StaticClass());
}
