// Windowed controls: tab order, focus, and the keys (key events, dialog keys).
#include <algorithm>

#include "classlib/Controls.h"
#include "classlib/Forms.h"

// ---------------------------------------------------------------------------------
// Tab order and focus

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& List = FParent->FTabList;
  auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ComponentState().Contains(csReading) && FParent) {
    FReadTabOrder = Value;
    return;
  }
  if (!FParent) return;
  auto& List = FParent->FTabList;
  auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  List.erase(It);
  Value = std::clamp(Value, 0, static_cast<int>(List.size()));
  List.insert(List.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG Style = GetWindowLongA(FHandle, GWL_STYLE);
    SetWindowLongA(FHandle, GWL_STYLE, Value ? (Style | WS_TABSTOP) : (Style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* Control : FTabList) {
    List.push_back(Control);
    Control->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  int Count = static_cast<int>(List.size());
  auto Found = std::find(List.begin(), List.end(), CurControl);
  int StartIndex = Found == List.end() ? (GoForward ? Count - 1 : 0)
                                       : static_cast<int>(Found - List.begin());
  int I = StartIndex;
  do {
    if (GoForward) {
      if (++I == Count) I = 0;
    } else {
      if (I == 0) I = Count;
      --I;
    }
    TWinControl* Candidate = List[I];
    if (Candidate->CanFocus() && (!CheckTabStop || Candidate->TabStop()) &&
        (!CheckParent || Candidate->Parent() == this))
      return Candidate;
  } while (I != StartIndex);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (Next) Next->SetFocus();
}

bool TWinControl::CanFocus() {
  TCustomForm* Form = GetParentForm(this);
  if (!Form) return false;
  for (TWinControl* Control = this; Control != Form; Control = Control->FParent)
    if (!(Control->FVisible && Control->FEnabled)) return false;
  return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  TCustomForm* Form = GetParentForm(this);
  if (Form)
    Form->FocusControl(this);
  else if (FParentWindow)
    ::SetFocus(Handle());
  else
    ValidParentForm(this);
}

void TWinControl::RemoveFocus(bool Removing) {
  TCustomForm* Form = GetParentForm(this);
  if (Form) Form->DefocusControl(this, Removing);
}

void TWinControl::DoEnter() {
  if (OnEnter.Assigned()) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit.Assigned()) OnExit(this);
}

void TWinControl::CMEnter(TMessage& /*Message*/) { DoEnter(); }
void TWinControl::CMExit(TMessage& /*Message*/) { DoExit(); }

// ---------------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown.Assigned()) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp.Assigned()) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress.Assigned()) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && static_cast<TWinControl*>(Form)->DoKeyDown(Message))
    return true;
  if (!ControlStyle().Contains(csNoStdEvents)) {
    Word Key = static_cast<Word>(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    if (Key == 0) return true;
    Message.WParam = Key;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && static_cast<TWinControl*>(Form)->DoKeyUp(Message))
    return true;
  if (!ControlStyle().Contains(csNoStdEvents)) {
    Word Key = static_cast<Word>(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    if (Key == 0) return true;
    Message.WParam = Key;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() &&
      static_cast<TWinControl*>(Form)->DoKeyPress(Message))
    return true;
  if (!ControlStyle().Contains(csNoStdEvents)) {
    char Key = static_cast<char>(Message.WParam);
    KeyPress(Key);
    if (Key == '\0') return true;
    Message.WParam = static_cast<unsigned char>(Key);
  }
  return false;
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form->IsShortCut(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT Mask = 0;
  switch (Message.WParam) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 &&
      (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0) {
    Form = GetParentForm(this);
    if (Form && Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) {
  Message.Result = 0;
  switch (Message.WParam) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: Message.Result = Perform(CM_WANTSPECIALKEY, Message.WParam, 0); break;
  }
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    TCustomForm* Form = GetParentForm(this);
    if (Form && Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  if (Message.WParam == VK_SPACE) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form) Message.Result = Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinControl::CMChildKey(TMessage& Message) {
  if (FParent) FParent->WindowProc(Message);
}
