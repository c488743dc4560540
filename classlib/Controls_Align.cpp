// Windowed controls: bounds, alignment and anchors of the children.
#include <vector>

#include "classlib/Controls.h"
#include "classlib/UpdateScope.h"

// ---------------------------------------------------------------------------------
// Bounds and layout

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool Resized = AWidth != FWidth || AHeight != FHeight;
  if (FHandle && !IsIconic(FHandle)) {
    // The window reports its new bounds (WM_WINDOWPOSCHANGED) and lays out its
    // children (WM_SIZE).
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle) {
      WINDOWPLACEMENT Placement{};
      Placement.length = sizeof(Placement);
      GetWindowPlacement(FHandle, &Placement);
      Placement.rcNormalPosition = BoundsRect();
      SetWindowPlacement(FHandle, &Placement);
    } else if (Resized) {
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::UpdateBounds() {
  RECT R;
  if (IsIconic(FHandle)) {
    WINDOWPLACEMENT Placement{};
    Placement.length = sizeof(Placement);
    GetWindowPlacement(FHandle, &Placement);
    R = Placement.rcNormalPosition;
  } else {
    GetWindowRect(FHandle, &R);
    if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) {
      HWND ParentWnd = GetParent(FHandle);
      if (ParentWnd) MapWindowPoints(HWND_DESKTOP, ParentWnd, reinterpret_cast<POINT*>(&R), 2);
    }
  }
  UpdateBoundsRect(R);
}

TRect TWinControl::GetClientRect() {
  if (!FHandle) return inherited::GetClientRect();
  RECT R;
  ::GetClientRect(FHandle, &R);
  return R;
}

TPoint TWinControl::ClientOrigin() {
  POINT P{0, 0};
  ::ClientToScreen(Handle(), &P);
  return P;
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  struct TEnable {
    TWinControl* Self;
    ~TEnable() {
      Self->FControlState.Exclude(csAlignmentNeeded);
      --Self->FAlignLevel;
    }
  } Enable{this};
  TRect R = GetClientRect();
  AlignControls(AControl, R);
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  bool Work = false;
  for (TControl* C : FControls) Work = Work || C->Align() != alNone || !(C->Anchors() == AnchorsDefault);
  for (TControl* C : FWinControls) Work = Work || C->Align() != alNone || !(C->Anchors() == AnchorsDefault);
  if (!Work) return;
  AdjustClientRect(Rect);

  auto InsertBefore = [](TControl* C1, TControl* C2, TAlign Align) {
    switch (Align) {
      case alTop: return C1->Top() < C2->Top();
      case alBottom: return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
      case alLeft: return C1->Left() < C2->Left();
      case alRight: return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
      default: return false;
    }
  };

  auto DoPosition = [&](TControl* Control, TAlign Align) {
    TAnchors Implied = Align == alTop      ? TAnchors{akLeft, akTop, akRight}
                       : Align == alBottom ? TAnchors{akLeft, akRight, akBottom}
                       : Align == alLeft   ? TAnchors{akLeft, akTop, akBottom}
                       : Align == alRight  ? TAnchors{akRight, akTop, akBottom}
                       : Align == alClient ? AnchorsAll
                                           : AnchorsDefault;
    if (Align == alNone || !(Control->Anchors() == Implied)) {
      if (Control->FOriginalParentSize.x != 0 && Control->FOriginalParentSize.y != 0) {
        int NewLeft = Control->Left(), NewTop = Control->Top();
        int NewWidth = Control->Width(), NewHeight = Control->Height();
        TRect Client = GetClientRect();
        TPoint ParentSize{Client.right, Client.bottom};
        TPoint Original = Control->FOriginalParentSize;
        TPoint Rules = Control->FAnchorRules;
        TAnchors A = Control->Anchors();
        if (A.Contains(akRight)) {
          if (A.Contains(akLeft))
            NewWidth = ParentSize.x - (Original.x - Rules.x);
          else
            NewLeft = ParentSize.x - (Original.x - Rules.x);
        } else if (!A.Contains(akLeft) && ParentSize.x != Original.x) {
          // Scaled only when the parent's size changed (MulDiv cannot give back every
          // coordinate unchanged: it answers -1 for the lowest).
          NewLeft = MulDiv(Rules.x, ParentSize.x, Original.x) - NewWidth / 2;
        }
        if (A.Contains(akBottom)) {
          if (A.Contains(akTop))
            NewHeight = ParentSize.y - (Original.y - Rules.y);
          else
            NewTop = ParentSize.y - (Original.y - Rules.y);
        } else if (!A.Contains(akTop) && ParentSize.y != Original.y) {
          NewTop = MulDiv(Rules.y, ParentSize.y, Original.y) - NewHeight / 2;
        }
        TFlagScope AnchorMove(Control->FAnchorMove);
        Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
      }
      if (Align == alNone) return;
    }
    int NewWidth = Rect.right - Rect.left;
    if (NewWidth < 0 || Align == alLeft || Align == alRight || Align == alCustom)
      NewWidth = Control->Width();
    int NewHeight = Rect.bottom - Rect.top;
    if (NewHeight < 0 || Align == alTop || Align == alBottom || Align == alCustom)
      NewHeight = Control->Height();
    int NewLeft = Rect.left;
    int NewTop = Rect.top;
    switch (Align) {
      case alTop: Rect.top += NewHeight; break;
      case alBottom:
        Rect.bottom -= NewHeight;
        NewTop = Rect.bottom;
        break;
      case alLeft: Rect.left += NewWidth; break;
      case alRight:
        Rect.right -= NewWidth;
        NewLeft = Rect.right;
        break;
      default: break;
    }
    {
      TFlagScope AnchorMove(Control->FAnchorMove);
      Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
    }
    // A control that kept another size (constraints) gives back or takes the rest.
    int DW = NewWidth - Control->Width(), DH = NewHeight - Control->Height();
    switch (Align) {
      case alTop: Rect.top -= DH; break;
      case alBottom: Rect.bottom += DH; break;
      case alLeft: Rect.left -= DW; break;
      case alRight: Rect.right += DW; break;
      case alClient:
        Rect.right += DW;
        Rect.bottom += DH;
        break;
      default: break;
    }
  };

  auto DoAlign = [&](TAlign Align) {
    std::vector<TControl*> List;
    if (AControl && (Align == alNone || AControl->Visible()) && AControl->Align() == Align &&
        AControl->Parent() == this)
      List.push_back(AControl);
    for (int I = 0; I < ControlCount(); ++I) {
      TControl* Control = Controls(I);
      if (Control->Align() != Align || Control == AControl) continue;
      if (Align != alNone && !Control->Visible()) continue;
      std::size_t J = 0;
      while (J < List.size() && !InsertBefore(Control, List[J], Align)) ++J;
      List.insert(List.begin() + static_cast<std::ptrdiff_t>(J), Control);
    }
    for (TControl* Control : List) DoPosition(Control, Align);
  };

  DoAlign(alTop);
  DoAlign(alBottom);
  DoAlign(alLeft);
  DoAlign(alRight);
  DoAlign(alClient);
  DoAlign(alCustom);
  DoAlign(alNone);  // the anchored controls
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  if (Message.WParam == SIZE_MINIMIZED) return;
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}
