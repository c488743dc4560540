// TKsCustomForm with multiple-document forms: the parent's MDI client window painted
// through the form, the maximized child's caption in the parent's, and restoring the
// maximized children.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/UpdateScope.h"
#include "skin/KsControls.h"
#include "skin/KsForms.h"
#include "skin/KsMenuBar.h"

namespace {

// The message that asks an MDI client to compute its scroll range again (posted by the
// system after a child's size changes, and by a child form after any change of place).
constexpr UINT MdiCalcChildScroll = 0x3F;

// The form whose MDI client holds an MDI child's window; for an MDI parent the form
// itself; otherwise nullptr.
TCustomForm* MDIParentOf(TCustomForm* Form) {
  if (!Form) return nullptr;
  if (Form->FormStyle() == fsMDIChild) return Form->MDIParent();
  return Form->FormStyle() == fsMDIForm ? Form : nullptr;
}

// The parent's caption without the " - [Child]" that a maximized child added, and
// with the one of Child when it is given. The added part is the end of the caption
// from its first " - [": brackets of the parent's own caption stay.
void SetParentCaption(TCustomForm* Parent, const AnsiString* Child) {
  AnsiString Caption = Parent->Caption();
  const std::size_t Added = Caption.find(" - [");
  if (Added != AnsiString::npos && !Caption.empty() && Caption.back() == ']') Caption.erase(Added);
  if (Caption != Parent->Caption()) Parent->SetCaption(Caption);
  // The child's name goes on the window's text only: the parent's own caption is the
  // one the system keeps for its MDI frame, to which it adds the name of a child it
  // maximizes itself (a plain child's) in place of the kit child's.
  if (Child) {
    const AnsiString Named = Caption + " - [" + *Child + "]";
    if (Parent->HandleAllocated())
      DefWindowProcA(Parent->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Named.c_str()));
    else
      Parent->SetCaption(Named);
  }
  // The parent's frame paints the caption it now has.
  if (Parent->HandleAllocated()) PostMessageA(Parent->Handle(), KM_RESTORECAPTION, 0, 0);
}

}  // namespace

TKsCustomForm* ActiveKsForm(TCustomForm* Form) {
  if (!Form) return nullptr;
  for (int I = 0; I < Form->ComponentCount(); ++I)
    if (auto* Kit = ObjectAs<TKsCustomForm>(Form->Components(I)); Kit && Kit->Active()) return Kit;
  return nullptr;
}

bool TKsCustomForm::IsMDIChildMaximized() const {
  TCustomForm* Form = GetHookedForm();
  TCustomForm* Parent = MDIParentOf(Form);
  if (!Parent) return false;
  const bool Child = Form != Parent;
  for (int I = 0; TCustomForm* Each = Parent->MDIChildren(I); ++I) {
    // A hidden child counts for nothing (a plain one keeps its window state hidden).
    if (!Each->HandleAllocated() || !(GetWindowLongA(Each->Handle(), GWL_STYLE) & WS_VISIBLE)) continue;
    if (Child && Each->WindowState() == wsMaximized) return true;
    const TKsCustomForm* Kit = ActiveKsForm(Each);
    if (Kit && Kit->WindowState() == kwsMaximized) return true;
  }
  return false;
}

void TKsCustomForm::UpdateMDICaption() {
  TCustomForm* Form = GetHookedForm();
  TCustomForm* Parent = MDIParentOf(Form);
  if (!Parent || Parent == Form) return;
  // Only a maximized child names itself: a child maximized by the system (a plain one)
  // is named by the system.
  if (FWindowState == kwsMaximized) {
    const AnsiString Child = Form->Caption();
    SetParentCaption(Parent, &Child);
  } else {
    SetParentCaption(Parent, nullptr);
  }
}

void TKsCustomForm::RestoreMDIChildren() {
  TCustomForm* Form = GetHookedForm();
  TCustomForm* Parent = MDIParentOf(Form);
  if (!Parent) return;
  std::vector<TCustomForm*> Children;
  for (int I = 0; TCustomForm* Each = Parent->MDIChildren(I); ++I) Children.push_back(Each);
  // Restoring one child may restore the others: each is asked when its turn comes.
  for (TCustomForm* Child : Children)
    if (TKsCustomForm* Kit = ActiveKsForm(Child); Kit && Kit->WindowState() == kwsMaximized) Kit->Restore();
  if (Parent == Form)
    SetParentCaption(Parent, nullptr);
  else
    UpdateMDICaption();
}

bool TKsCustomForm::MaximizedMDIChild() const {
  return FWindowState == kwsMaximized && HookedFormOf(fsMDIChild);
}

TKsCustomMenuBar* TKsCustomForm::ParentMenuBar() const {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (!Form) return nullptr;
  TKsCustomForm* ParentFrame = ActiveKsForm(Form->MDIParent());
  return ParentFrame ? ObjectAs<TKsCustomMenuBar>(ParentFrame->MenuBar()) : nullptr;
}

// ---------------------------------------------------------------------------------
// The MDI client window

namespace {

// The window properties of a subclassed client: its frame and the procedure below ours.
const char* OwnerProperty() { return "TarvikKsMDIClientFrame"; }
const char* PreviousProperty() { return "TarvikKsMDIClientPrevious"; }

}  // namespace

void TKsCustomForm::HookMDIClient() {
  TCustomForm* Form = HookedFormOf(fsMDIForm);
  const HWND Client = Form ? Form->ClientHandle() : nullptr;
  if (Client == FMDIClient) return;
  UnhookMDIClient();
  if (!Client || GetPropA(Client, OwnerProperty())) return;
  FMDIClient = Client;
  SetPropA(Client, OwnerProperty(), this);
  // The previous procedure is kept with the window: ours stays correct even when the
  // frame goes while another procedure sits over ours.
  if (!GetPropA(Client, PreviousProperty()))
    SetPropA(Client, PreviousProperty(),
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(Client, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(&TKsCustomForm::MDIClientEntry))));
  // A client made with its window (with both bars) has its bars sized once it is ours:
  // its children may have asked before.
  PostMessageA(Client, MdiCalcChildScroll, 0, 0);
}

void TKsCustomForm::UnhookMDIClient() {
  const HWND Client = FMDIClient;
  FMDIClient = nullptr;
  if (!Client || !IsWindow(Client) || GetPropA(Client, OwnerProperty()) != this) return;
  RemovePropA(Client, OwnerProperty());
  // The previous procedure goes back when ours is still the window's; otherwise ours
  // passes every message on.
  const auto Ours = reinterpret_cast<LONG_PTR>(&TKsCustomForm::MDIClientEntry);
  if (GetWindowLongPtrA(Client, GWLP_WNDPROC) == Ours) {
    SetWindowLongPtrA(Client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(Client, PreviousProperty())));
    RemovePropA(Client, PreviousProperty());
  }
}

LRESULT CALLBACK TKsCustomForm::MDIClientEntry(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const auto Previous = reinterpret_cast<WNDPROC>(GetPropA(Window, PreviousProperty()));
  auto* Frame = static_cast<TKsCustomForm*>(GetPropA(Window, OwnerProperty()));
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Window, OwnerProperty());
    RemovePropA(Window, PreviousProperty());
    if (Frame && Frame->FMDIClient == Window) Frame->FMDIClient = nullptr;
    Frame = nullptr;
  }
  if (Frame) {
    TMessage Message{Msg, WParam, LParam, 0};
    try {
      if (Frame->MDIClientWndProc(Message)) return Message.Result;
    } catch (...) {
      HandleWindowException(Frame->GetHookedControl());
    }
  }
  return Previous ? CallWindowProcA(Previous, Window, Msg, WParam, LParam) : DefWindowProcA(Window, Msg, WParam, LParam);
}

bool TKsCustomForm::MDIClientWndProc(TMessage& Message) {
  TCustomForm* Form = GetHookedForm();
  if (!Form || !Form->HandleAllocated() || !Active()) return false;
  const HWND Client = FMDIClient;
  switch (Message.Msg) {
    case WM_PAINT: {
      // The form paints the client in its own coordinates.
      TPaintDC Painting(Client, Message.WParam);
      const HDC DC = Painting.DC();
      TSavedDC Saved(DC);
      POINT Origin{0, 0};
      MapWindowPoints(Client, Form->Handle(), &Origin, 1);
      OffsetWindowOrgEx(DC, Origin.x, Origin.y, nullptr);
      Form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
      Message.Result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      if (!IsMDIChildMaximized()) SendMessageA(Form->Handle(), WM_ERASEBKGND, Message.WParam, KsEraseIntoDC);
      Message.Result = 0;
      return true;
    case MdiCalcChildScroll:
      // The client's sunken edge goes, and its scroll bars are sized to the children.
      if (const LONG ExStyle = GetWindowLongA(Client, GWL_EXSTYLE); ExStyle & WS_EX_CLIENTEDGE) {
        SetWindowLongA(Client, GWL_EXSTYLE, ExStyle & ~WS_EX_CLIENTEDGE);
        SetWindowPos(Client, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
      SizeMDIClientScrollBars();
      Message.Result = 0;
      return true;
    case WM_NCHITTEST: {
      const auto Previous = reinterpret_cast<WNDPROC>(GetPropA(Client, PreviousProperty()));
      Message.Result = Previous ? CallWindowProcA(Previous, Client, Message.Msg, Message.WParam, Message.LParam)
                                : HTCLIENT;
      if (Message.Result == HTCLIENT) Message.Result = HTTRANSPARENT;
      return true;
    }
    case WM_SIZE: {
      // The client changes size with the parent, and when a scroll bar comes or goes.
      const auto Previous = reinterpret_cast<WNDPROC>(GetPropA(Client, PreviousProperty()));
      if (Previous) Message.Result = CallWindowProcA(Previous, Client, Message.Msg, Message.WParam, Message.LParam);
      AfterMDIParentSize();
      // The system's request for the scroll range waits for its last one, which the
      // client never passes on: the client asks itself, unless the change is the one
      // its own bars made (their sizing has taken the new size into account already).
      if (!FSizingMDIScrollBars) PostMessageA(Client, MdiCalcChildScroll, 0, 0);
      return true;
    }
    case WM_MDIDESTROY: {
      auto* Child = ObjectAs<TCustomForm>(FindControl(reinterpret_cast<HWND>(Message.WParam)));
      const bool Freed = Child && Child->ComponentState().Contains(csDestroying);
      const auto Previous = reinterpret_cast<WNDPROC>(GetPropA(Client, PreviousProperty()));
      if (Previous) Message.Result = CallWindowProcA(Previous, Client, Message.Msg, Message.WParam, Message.LParam);
      // The child's window went before it could tell that it no longer lies anywhere;
      // a child freed (not made again) while maximized no longer names itself.
      PostMessageA(Client, MdiCalcChildScroll, 0, 0);
      if (Freed) MDIChildFreed();
      return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollMDIClient(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam));
      Message.Result = 0;
      return true;
  }
  return false;
}

void TKsCustomForm::SizeMDIClientScrollBars() {
  const HWND Client = FMDIClient;
  if (!Client) return;
  // The bars shown or hidden here change the client's size: that change asks for no
  // other sizing.
  TFlagScope Sizing(FSizingMDIScrollBars);
  const LONG Style = GetWindowLongA(Client, GWL_STYLE);
  const int BarWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int BarHeight = GetSystemMetrics(SM_CYHSCROLL);
  // The client's area without any bar, and what the visible children cover.
  RECT Full;
  GetClientRect(Client, &Full);
  if (Style & WS_VSCROLL) Full.right += BarWidth;
  if (Style & WS_HSCROLL) Full.bottom += BarHeight;
  RECT Children{0, 0, 0, 0};
  bool Maximized = IsMDIChildMaximized();
  for (HWND Child = GetWindow(Client, GW_CHILD); Child && !Maximized; Child = GetWindow(Child, GW_HWNDNEXT)) {
    const LONG ChildStyle = GetWindowLongA(Child, GWL_STYLE);
    if (!(ChildStyle & WS_VISIBLE)) continue;
    Maximized = ChildStyle & WS_MAXIMIZE;
    RECT R;
    GetWindowRect(Child, &R);
    MapWindowPoints(HWND_DESKTOP, Client, reinterpret_cast<POINT*>(&R), 2);
    UnionRect(&Children, &Children, &R);
  }
  // A maximized child covers the client: no bar.
  if (Maximized) {
    ShowScrollBar(Client, SB_BOTH, FALSE);
    return;
  }
  // The fewest bars that leave no visible child outside the area they leave: a bar
  // comes only for a child outside, which the other bar may have put outside. Worked
  // out from the area without bars, the answer is the same whichever bars show now,
  // so the change of size it makes asks for no other.
  const bool Any = !IsRectEmpty(&Children);
  bool Horizontal = false, Vertical = false;
  for (int Pass = 0; Pass < 2 && Any; ++Pass) {
    Horizontal = Children.left < Full.left || Children.right > Full.right - (Vertical ? BarWidth : 0);
    Vertical = Children.top < Full.top || Children.bottom > Full.bottom - (Horizontal ? BarHeight : 0);
  }
  RECT Area = Full;
  if (Vertical) Area.right -= BarWidth;
  if (Horizontal) Area.bottom -= BarHeight;
  RECT Covered = Area;
  if (Any) UnionRect(&Covered, &Covered, &Children);
  // A bar's range spans what the children cover with the client's area, at position 0
  // (scrolling moves the children, not the client); its page is one more than the
  // area's extent, so that a range without anything outside shows no bar. The bars
  // are shown or hidden here: setting an unchanged range would leave a bar as it is.
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_POS | SIF_RANGE | SIF_PAGE;
  Info.nMin = Covered.left;
  Info.nMax = Covered.right;
  Info.nPage = static_cast<UINT>(Area.right - Area.left + 1);
  SetScrollInfo(Client, SB_HORZ, &Info, Horizontal);
  Info.nMin = Covered.top;
  Info.nMax = Covered.bottom;
  Info.nPage = static_cast<UINT>(Area.bottom - Area.top + 1);
  SetScrollInfo(Client, SB_VERT, &Info, Vertical);
  ShowScrollBar(Client, SB_HORZ, Horizontal);
  ShowScrollBar(Client, SB_VERT, Vertical);
}

void TKsCustomForm::ScrollMDIClient(int Bar, WORD Code) {
  const HWND Client = FMDIClient;
  if (!Client) return;
  // The range as the children lie now (a child's move may not have been asked about).
  SizeMDIClientScrollBars();
  if (!(GetWindowLongA(Client, GWL_STYLE) & (Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return;
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  GetScrollInfo(Client, Bar, &Info);
  // The last position shows the range's end at the client's edge: no arrow goes past.
  const int Last = Info.nMax - std::max<int>(static_cast<int>(Info.nPage) - 1, 0);
  RECT Area;
  GetClientRect(Client, &Area);
  const int Line = GetSystemMetrics(Bar == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL);
  const int Page = (Bar == SB_HORZ ? Area.right - Area.left : Area.bottom - Area.top) / 2;
  int Position = Info.nPos;
  switch (Code) {
    case SB_LINEUP: Position -= Line; break;
    case SB_LINEDOWN: Position += Line; break;
    case SB_PAGEUP: Position -= Page; break;
    case SB_PAGEDOWN: Position += Page; break;
    case SB_THUMBPOSITION: Position = Info.nTrackPos; break;
    case SB_TOP: Position = Info.nMin; break;
    case SB_BOTTOM: Position = Last; break;
    default: return;  // the thumb on its way, the end of a scroll
  }
  Position = std::max<int>(Info.nMin, std::min(Position, Last));
  const int Shift = Info.nPos - Position;
  if (Shift == 0) return;
  // The children move; the client, painted through the form, is painted whole again.
  ScrollWindowEx(Client, Bar == SB_HORZ ? Shift : 0, Bar == SB_VERT ? Shift : 0, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN);
  InvalidateRect(Client, nullptr, TRUE);
  SizeMDIClientScrollBars();
}

// ---------------------------------------------------------------------------------
// The MDI child's states and activation

void TKsCustomForm::MDIChildMaximized() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (!Form) return;
  UpdateFrame();
  if (TKsCustomMenuBar* Bar = ParentMenuBar()) Bar->ShowMDIButtons(Form);
  UpdateMDICaption();
}

void TKsCustomForm::MDIChildNotMaximized() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (!Form) return;
  UpdateFrame();
  if (Form->HandleAllocated()) PostMessageA(Form->Handle(), WM_SIZE, 0, 0);
  if (TKsCustomMenuBar* Bar = ParentMenuBar()) Bar->HideMDIButtons();
  RestoreMDIChildren();
}

void TKsCustomForm::LeaveMDIParent() {
  if (TKsCustomMenuBar* Bar = ParentMenuBar()) Bar->HideMDIButtons();
  RestoreMDIChildren();
}

void TKsCustomForm::MDIChildHidden() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  // A window destroyed (the form freed, or its window made again) is hidden on its way:
  // the child stays as it is.
  if (!Form || FWindowState != kwsMaximized || Form->ControlState().Contains(csDestroyingHandle)) return;
  LeaveMDIParent();
}

void TKsCustomForm::WMMDIActivate(TMessage& Message) {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (!Form || !IsMDIChildMaximized()) return;
  UpdateMDICaption();
  const HWND Window = GetHookedHandle();
  if (!Window) return;
  // The child being deactivated comes first, the activated one last: a child still
  // maximized from before takes the bar's buttons back, any other is maximized.
  if (reinterpret_cast<HWND>(Message.WParam) == Window || FWindowState == kwsMaximized) {
    if (TKsCustomMenuBar* Bar = ParentMenuBar()) Bar->ShowMDIButtons(Form);
  } else {
    PostMessageA(Window, KM_MAXIMIZECHILD, 0, 0);
  }
}

void TKsCustomForm::KMMaximizeChild() {
  // Posted: the child may be maximized already, or no longer the active one, or the
  // maximized child it followed gone (freed) meanwhile.
  if (FWindowState == kwsMaximized || !IsMDIChildMaximized()) return;
  TCustomForm* Form = GetHookedForm();
  TCustomForm* Parent = Form ? Form->MDIParent() : nullptr;
  if (Parent && Parent->ActiveMDIChild() == Form) Maximize();
}

void TKsCustomForm::MDIChildFreed() {
  TCustomForm* Form = HookedFormOf(fsMDIForm);
  if (!Form) return;
  // The active child names itself when it is maximized; otherwise, with no maximized
  // child left, the parent has its own caption back.
  TCustomForm* Active = Form->ActiveMDIChild();
  TKsCustomForm* Kit = Active ? ActiveKsForm(Active) : nullptr;
  if (Kit && Kit->WindowState() == kwsMaximized)
    Kit->UpdateMDICaption();
  else if (!IsMDIChildMaximized())
    SetParentCaption(Form, nullptr);
}

void TKsCustomForm::AfterMDIParentSize() {
  TCustomForm* Form = HookedFormOf(fsMDIForm);
  if (!Form || !Form->HandleAllocated() || !IsMDIChildMaximized()) return;
  RECT R;
  GetClientRect(Form->ClientHandle() ? Form->ClientHandle() : Form->Handle(), &R);
  // Every maximized child, the active one and those behind it, fills the client.
  std::vector<TCustomForm*> Maximized;
  for (int I = 0; TCustomForm* Child = Form->MDIChildren(I); ++I)
    if (const TKsCustomForm* Kit = ActiveKsForm(Child); Kit && Kit->WindowState() == kwsMaximized)
      Maximized.push_back(Child);
  for (TCustomForm* Child : Maximized) Child->SetBoundsRect(R);
}

bool TKsCustomForm::IsActiveMDIChild() const {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  TCustomForm* Parent = Form ? Form->MDIParent() : nullptr;
  return Parent && Parent->ActiveMDIChild() == Form;
}

void TKsCustomForm::ShowHiddenMDIChild() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (Form && !Form->Visible() && Form->HandleAllocated() && !Form->ComponentState().Contains(csLoading))
    Form->Show();
}

void TKsCustomForm::ActivateMDIChild() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  TCustomForm* Parent = Form ? Form->MDIParent() : nullptr;
  if (Parent && Parent->ActiveMDIChild() != Form && IsWindowVisible(Form->Handle()))
    SendMessageA(Parent->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Form->Handle()), 0);
}

void TKsCustomForm::MDISysCommand(WPARAM Command) {
  switch (Command) {
    case SC_MAXIMIZE:
      if (FWindowState != kwsMaximized) Maximize();
      break;
    case SC_MINIMIZE:
      if (FWindowState != kwsMinimized) Minimize();
      break;
    default:
      if (FWindowState != kwsNormal) Restore();
      break;
  }
}

void TKsCustomForm::AfterMDIChildSystemSized() {
  TCustomForm* Form = HookedFormOf(fsMDIChild);
  if (!Form || !Form->HandleAllocated()) return;
  const HWND Window = Form->Handle();
  const bool Zoomed = IsZoomed(Window);
  if (!Zoomed && !IsIconic(Window)) return;
  // The system maximized or minimized the child (the form's own window state): its
  // window goes back to where it was, which takes the system's " - [Child]" off the
  // parent's caption, and the frame changes the state itself (or, in that state
  // already, shows it so again).
  ShowWindow(Window, SW_SHOWNOACTIVATE);
  if (Zoomed && FWindowState == kwsMaximized)
    MDIChildMaximized();
  else if (Zoomed)
    Maximize();
  else if (FWindowState != kwsMinimized)
    Minimize();
}
