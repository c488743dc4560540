// The kit's control bar: band bookkeeping, the row layout, painting the band frames
// and grabbers, tracking a band with the mouse, and docking a dragged control.
#include "skin/KsControlBar.h"

#include <algorithm>

#include "classlib/Exceptions.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"

TCLASS_IMPL(TKsCustomControlBar)

namespace {

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

int Right(const TKsBand* B) { return static_cast<int>(B->Pos.x) + B->Width; }

// Moves the bands from First to Last (inclusive) left by Distance.
void ShiftLeft(std::vector<TKsBand*>& Row, std::size_t First, std::size_t Last, int Distance) {
  for (std::size_t K = First; K <= Last && K < Row.size(); ++K) Row[K]->Pos.x -= Distance;
}

// The room before band J of a row: the gap to the band before it, or to the left edge.
int RoomBefore(const std::vector<TKsBand*>& Row, std::size_t J) {
  return std::max<int>(0, Row[J]->Pos.x - (J > 0 ? Right(Row[J - 1]) : 0));
}

// Takes up to Need pixels of room before the bands from Last down to the first,
// moving each band and those after it up to Last; what could not be taken.
int TakeRoom(std::vector<TKsBand*>& Row, std::size_t Last, int Need) {
  for (std::size_t J = Last + 1; J-- > 0 && Need > 0;) {
    const int Move = std::min<int>(RoomBefore(Row, J), Need);
    ShiftLeft(Row, J, Last, Move);
    Need -= Move;
  }
  return Need;
}

}  // namespace

TKsCustomControlBar::TKsCustomControlBar(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetBounds(Left(), Top(), 100, 50);
  SetAutoSize(true);
  SetDockSite(true);
}

TKsCustomControlBar::~TKsCustomControlBar() {
  for (TKsBand* Band : FBands) delete Band;
}

void TKsCustomControlBar::SetRowSize(int Value) {
  if (Value == FRowSize) return;
  FRowSize = Value;
  Realign();
}

void TKsCustomControlBar::SetRowSnap(bool Value) {
  if (Value == FRowSnap) return;
  FRowSnap = Value;
  Realign();
}

void TKsCustomControlBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// ---------------------------------------------------------------------------------
// Bands

TKsBand* TKsCustomControlBar::FindBand(const TControl* Control) const {
  for (TKsBand* Band : FBands)
    if (Band->Control == Control) return Band;
  return nullptr;
}

const TKsBand* TKsCustomControlBar::BandOf(const TControl* Control) const { return FindBand(Control); }

TKsBand* TKsCustomControlBar::BandAt(const TPoint& P) const {
  for (TKsBand* Band : FBands) {
    if (!Band->Visible || Band->Link) continue;
    const TRect R = Band->BoundsRect();
    if (PtInRect(&R, P)) return Band;
  }
  return nullptr;
}

void TKsCustomControlBar::RemoveBand(TKsBand* Band) {
  auto It = std::find(FBands.begin(), FBands.end(), Band);
  if (It == FBands.end()) return;
  // The row it started goes on from the band after it.
  if (Band->Break && It + 1 != FBands.end() && !(*(It + 1))->Break) (*(It + 1))->Break = true;
  FBands.erase(It);
  for (TKsBand* Other : FBands)
    if (Other->Link == Band) Other->Link = nullptr;
}

void TKsCustomControlBar::UpdateBands() {
  for (std::size_t I = FBands.size(); I-- > 0;) {
    TKsBand* Band = FBands[I];
    if (Band->Control->Parent() == this) continue;
    RemoveBand(Band);
    delete Band;
  }
  std::vector<TControl*> New;
  for (int I = 0; I < ControlCount(); ++I)
    if (!FindBand(Controls(I))) New.push_back(Controls(I));
  std::stable_sort(New.begin(), New.end(), [](TControl* A, TControl* B) {
    return A->Top() != B->Top() ? A->Top() < B->Top() : A->Left() < B->Left();
  });
  for (TControl* Control : New) {
    auto* Band = new TKsBand;
    Band->Control = Control;
    Band->Insets = TRect{GetGrabberSize(), 2, 2, 2};
    Band->Visible = Control->Visible();
    Band->DragPos = TPoint{Control->Left() - Band->Insets.left, Control->Top() - Band->Insets.top};
    Band->Pos = Band->DragPos;
    Band->DragWidth = Band->Width = Control->Width() + Band->Insets.left + Band->Insets.right;
    Band->Height = Control->Height() + Band->Insets.top + Band->Insets.bottom;
    PlaceBand(Band);
  }
  for (TKsBand* Band : FBands) Band->Visible = Band->Control->Visible();
}

void TKsCustomControlBar::PlaceBand(TKsBand* Band) {
  RemoveBand(Band);
  const int Middle = Band->DragPos.y + FRowSize / 2;
  Band->Break = false;
  std::size_t First = 0;
  while (First < FBands.size()) {
    std::size_t End = First + 1;
    while (End < FBands.size() && !FBands[End]->Break) ++End;
    int Top = FBands[First]->Pos.y, Bottom = Top;
    for (std::size_t K = First; K < End; ++K) {
      Top = std::min<int>(Top, FBands[K]->Pos.y);
      Bottom = std::max<int>(Bottom, FBands[K]->Pos.y + FBands[K]->Height);
    }
    if (Middle < Top) {  // a row of its own above this one
      FBands[First]->Break = true;
      Band->Break = First > 0;
      FBands.insert(FBands.begin() + static_cast<std::ptrdiff_t>(First), Band);
      return;
    }
    if (Middle < Bottom) {
      std::size_t At = First;
      while (At < End && FBands[At]->Pos.x <= Band->DragPos.x) ++At;
      if (At == First) {
        Band->Break = FBands[First]->Break;
        FBands[First]->Break = false;
      }
      FBands.insert(FBands.begin() + static_cast<std::ptrdiff_t>(At), Band);
      return;
    }
    First = End;
  }
  Band->Break = !FBands.empty();
  FBands.push_back(Band);
}

void TKsCustomControlBar::PlaceTrackedBand() {
  if (TKsBand* Band = FindBand(FTrackControl)) PlaceBand(Band);
}

void TKsCustomControlBar::StickControls() {
  for (TKsBand* Band : FBands) {
    TControl* C = Band->Control;
    Band->DragPos = TPoint{C->Left() - Band->Insets.left, C->Top() - Band->Insets.top};
    Band->DragWidth = C->Width() + Band->Insets.left + Band->Insets.right;
    Band->OldBreak = false;
  }
}

void TKsCustomControlBar::DoBandInfo(TControl* Control, TRect& Insets, int& PreferredSize, int& RowCount) {
  if (RowCount == 0) RowCount = 1;
  if (OnBandInfo.Assigned()) OnBandInfo(this, Control, Insets, PreferredSize, RowCount);
}

void TKsCustomControlBar::DoBandMove(TControl* Control, TRect& ARect) {
  if (OnBandMove.Assigned()) OnBandMove(this, Control, ARect);
}

// ---------------------------------------------------------------------------------
// Layout

void TKsCustomControlBar::AlignControls(TControl* /*AControl*/, TRect& /*Rect*/) {
  if (!LayoutBands()) return;
  Invalidate();
  if (AutoSize()) AdjustSize();
}

bool TKsCustomControlBar::LayoutBands() {
  if (FAligning) return false;
  TFlagScope Aligning(FAligning);
  UpdateBands();
  if (FBands.empty()) return false;
  const int ClientWidth = HandleAllocated() ? ClientRect().right : Width();
  for (TKsBand* Band : FBands) {
    TControl* C = Band->Control;
    TRect Insets{GetGrabberSize(), 2, 2, 2};
    int Preferred = Band->DragWidth;
    int Rows = 1;
    DoBandInfo(C, Insets, Preferred, Rows);
    Band->Insets = Insets;
    Band->PreferredWidth = Preferred;
    Band->Lines = Rows;
    Band->Height = C->Height() + Insets.top + Insets.bottom;
    if (FRowSnap && FRowSize > 0) Band->Height = std::max<int>(1, (Band->Height + FRowSize - 1) / FRowSize) * FRowSize;
  }
  int Top = 0;
  for (std::size_t First = 0; First < FBands.size();) {
    std::size_t End = First + 1;
    while (End < FBands.size() && !FBands[End]->Break) ++End;
    End = LayoutRow(First, End, Top, ClientWidth);
    int RowHeight = 0;
    for (std::size_t K = First; K < End; ++K)
      if (FBands[K]->Visible) RowHeight = std::max<int>(RowHeight, FBands[K]->Height);
    Top += RowHeight;
    First = End;
  }
  bool Moved = false;
  ApplyBounds(Moved);
  return Moved;
}

std::size_t TKsCustomControlBar::LayoutRow(std::size_t First, std::size_t End, int Top, int ClientWidth) {
  std::vector<TKsBand*> Row;
  for (std::size_t K = First; K < End; ++K) {
    TKsBand* Band = FBands[K];
    if (!Band->Visible || Band->Link) continue;
    Band->Pos = TPoint{std::max<int>(0, Band->DragPos.x), Top};
    Band->Width = Band->DragWidth;
    Row.push_back(Band);
  }
  if (Row.empty()) return End;
  // 1. In order at their drag positions; an overlap takes room before the earlier
  // bands, and what is left pushes the band right.
  for (std::size_t K = 1; K < Row.size(); ++K) {
    const int Overlap = Right(Row[K - 1]) - Row[K]->Pos.x;
    if (Overlap <= 0) continue;
    TakeRoom(Row, K - 1, Overlap);
    Row[K]->Pos.x = std::max<int>(Row[K]->Pos.x, Right(Row[K - 1]));
  }
  // 2. Past the client width: moved left, from the last band.
  int Excess = TakeRoom(Row, Row.size() - 1, Right(Row.back()) - ClientWidth);
  // 3. Still too long: narrowed from the last band, never below the minimum width.
  for (std::size_t J = Row.size(); J-- > 0 && Excess > 0;) {
    TKsBand* Band = Row[J];
    const int Least = std::max<int>(0, Band->Control->Constraints()->MinWidth()) + Band->Insets.left + Band->Insets.right;
    const int Take = std::clamp(Band->Width - Least, 0, Excess);
    Band->Width -= Take;
    if (J + 1 < Row.size()) ShiftLeft(Row, J + 1, Row.size() - 1, Take);
    Excess -= Take;
  }
  if (Excess > 0 && Row.size() > 1) {
    // 4. The last band starts a new row; this row is laid out again without it.
    TKsBand* Last = Row.back();
    Last->Break = true;
    Last->DragPos.x = 0;
    if (Last->PreferredWidth > 0) Last->DragWidth = Last->PreferredWidth;
    const auto Index = static_cast<std::size_t>(std::find(FBands.begin(), FBands.end(), Last) - FBands.begin());
    return LayoutRow(First, Index, Top, ClientWidth);
  }
  if (Excess > 0) Row.back()->Pos.x = std::max<int>(0, ClientWidth - Row.back()->Width);
  return End;
}

void TKsCustomControlBar::ApplyBounds(bool& Moved) {
  for (TKsBand* Band : FBands) {
    if (!Band->Visible || Band->Link) continue;
    const TRect& I = Band->Insets;
    TRect R{Band->Pos.x + I.left, Band->Pos.y + I.top, Band->Pos.x + Band->Width - I.right,
            Band->Pos.y + Band->Height - I.bottom};
    for (TKsBand* Linked : FBands)
      if (Linked->Link == Band) R.bottom += Linked->Height;
    DoBandMove(Band->Control, R);
    if (Band->Control->BoundsRect() == R) continue;
    Band->Control->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
    Moved = true;
  }
}

bool TKsCustomControlBar::CanAutoSize(int& NewWidth, int& NewHeight) {
  if (!HandleAllocated()) return false;
  if (Designing(this) && ControlCount() == 0) return false;
  const bool Sideways = Align() == alLeft || Align() == alRight;
  int Extent = 0;
  for (TKsBand* Band : FBands) {
    if (!Band->Visible || Band->Link) continue;
    const TControl* C = Band->Control;
    Extent = std::max<int>(Extent, Sideways ? Band->Pos.x + C->Width() + Band->Insets.left + Band->Insets.right
                                       : Band->Pos.y + C->Height() + Band->Insets.top + Band->Insets.bottom);
  }
  const TRect Client = ClientRect();
  if (Sideways)
    NewWidth = Extent + Width() - Client.right;
  else
    NewHeight = Extent + Height() - Client.bottom;
  return true;
}

// ---------------------------------------------------------------------------------
// Painting

void TKsCustomControlBar::PaintBackground() { Buffer()->Fill(ColorToKsColor(Color(), 255)); }

void TKsCustomControlBar::PaintBuffer() {
  if (Buffer()->Empty()) return;
  PaintBackground();
  if (OnPaint.Assigned()) OnPaint(this);
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  Canvas->SetHandle(Buffer()->DC());
  TScopeExit Release([&] { Canvas->SetHandle(nullptr); });
  for (TKsBand* Band : FBands) {
    if (!Band->Visible || Band->Link) continue;
    TRect R = Band->Control->BoundsRect();
    R = TRect{R.left - Band->Insets.left, R.top - Band->Insets.top, R.right + Band->Insets.right,
              R.bottom + Band->Insets.bottom};
    PaintControlFrame(Canvas.get(), Band->Control, R);
  }
}

void TKsCustomControlBar::DoBandPaint(TControl* Control, TCanvas* Canvas, TRect& ARect, TBandPaintOptions& Options) {
  if (OnBandPaint.Assigned()) OnBandPaint(this, Control, Canvas, ARect, Options);
}

// A raised frame round the band and two ridges of the grabber at its left.
void TKsCustomControlBar::PaintControlFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect) {
  TBandPaintOptions Options{bpoFrame, bpoGrabber};
  TRect R = ARect;
  DoBandPaint(Control, Canvas, R, Options);
  if (Options.Contains(bpoFrame)) {
    RECT Edge = R;
    DrawEdge(Canvas->Handle(), &Edge, BDR_RAISEDINNER, BF_RECT);
    GdiFlush();
  }
  if (Options.Contains(bpoGrabber)) {
    const TKsColor Highlight = ColorToKsColor(clBtnHighlight, 255);
    const TKsColor Shadow = ColorToKsColor(clBtnShadow, 255);
    for (int Ridge = 0; Ridge < 2; ++Ridge) {
      const int X = R.left + 3 + 3 * Ridge;
      Buffer()->DrawEdge(TRect{X, R.top + 2, X + 3, R.bottom - 3}, Highlight, Shadow);
    }
  }
}

// ---------------------------------------------------------------------------------
// Mouse and docking

bool TKsCustomControlBar::DragControl(TControl* Control, int /*X*/, int /*Y*/, bool KeepCapture) {
  bool Allow = true;
  if (OnBandDrag.Assigned()) OnBandDrag(this, Control, Allow);
  if (!Allow) return false;
  FTrackControl = nullptr;
  if (!KeepCapture) SetMouseCapture(false);
  Control->BeginDrag(true);
  return true;
}

void TKsCustomControlBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  LayoutBands();
  TKsBand* Band = FTrackControl ? FindBand(FTrackControl) : BandAt(TPoint{X, Y});
  if (!Band) return;
  if (Shift.Contains(ssDouble) && !Designing(this) && DragControl(Band->Control, X, Y, false)) return;
  FTrackControl = Band->Control;
  if (FTrackControl != FLastMoved)
    StickControls();
  else
    FLastMoved = nullptr;
  FTrackOffset = TPoint{Band->DragPos.x - X, Band->DragPos.y - Y};
}

void TKsCustomControlBar::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  TKsBand* Band = FTrackControl ? FindBand(FTrackControl) : nullptr;
  if (!Band) return;
  TControl* C = Band->Control;
  Band->DragPos = Band->Pos = TPoint{X + FTrackOffset.x, Y + FTrackOffset.y};
  Band->DragWidth = C->Width() + Band->Insets.left + Band->Insets.right;
  if (!Designing(this) && FAutoDrag) {
    if (Shift.Contains(ssCtrl) && DragControl(C, X, Y, true)) return;
    TRect Zone = ClientRect();
    InflateRect(&Zone, C->Height(), C->Height());
    if (!PtInRect(&Zone, Band->DragPos) && DragControl(C, X, Y, true)) return;
  }
  PlaceTrackedBand();
  FLastMoved = C;
  if (LayoutBands()) {
    Invalidate();
    if (AutoSize()) AdjustSize();
  }
}

void TKsCustomControlBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FTrackControl) {
    TControl* Tracked = FTrackControl;
    FTrackControl = nullptr;
    if (Tracked != FLastMoved) StickControls();
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

bool TKsCustomControlBar::Dock(TMessage& Message) {
  auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
  if (Message.WParam != dmDragEnter && Message.WParam != dmDragMove) return false;
  if (!FAutoDrag || !FAutoDock || FNoDock || !DockSite() || !Rec || !Rec->Source) return false;
  TControl* C = Rec->Source->Control();
  if (!C || C == this) return false;
  if (auto* Window = ObjectAs<TWinControl>(C); Window && Window->ContainsControl(this)) return false;
  const TPoint P = ScreenToClient(Rec->Pos);
  C->EndDrag(false);
  if (C->Parent() != this) {
    // A control that refuses the bar (its font, its window there) stays where it was:
    // the drag ends with nothing docked, and the user hears a beep, not an error.
    try {
      C->SetParent(this);
    } catch (const Exception&) {
      MessageBeepProc(0);
      Message.Result = 0;
      return true;
    }
    C->SetBounds(P.x, std::max<int>(0, P.y - C->Height() / 2), C->Width(), C->Height());
  }
  // Tracking goes on inside the bar from a press where the mouse is.
  FTrackControl = C;
  if (HandleAllocated()) PostMessageA(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.x, P.y));
  Message.Result = 1;
  return true;
}

void TKsCustomControlBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DRAG:
      if (Dock(Message)) return;
      break;
    case CM_CONTROLLISTCHANGE:
      if (!Message.LParam) {  // a control leaves
        auto* C = reinterpret_cast<TControl*>(Message.WParam);
        if (C == FTrackControl) FTrackControl = nullptr;
        if (C == FLastMoved) FLastMoved = nullptr;
        if (TKsBand* Band = FindBand(C)) {
          RemoveBand(Band);
          delete Band;
        }
        if (AutoSize()) AdjustSize();
        Invalidate();
      }
      break;
    case CN_KEYDOWN:
      // Key messages reach the control holding the mouse first: Ctrl pressed while a
      // band is tracked drags its control out at once, with no move needed.
      if (Message.WParam == VK_CONTROL && FTrackControl && !Designing(this) && FAutoDrag) {
        POINT P;
        GetCursorPos(&P);
        const TPoint At = ScreenToClient(TPoint{P.x, P.y});
        if (DragControl(FTrackControl, At.x, At.y, true)) {
          Message.Result = 1;
          return;
        }
      }
      break;
    case CM_DESIGNHITTEST:
      Message.Result = FTrackControl || BandAt(TPoint{Message.XPos(), Message.YPos()}) ? 1 : 0;
      return;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------------
// The unit

void InitKsControlBar() {
  RegisterClass(&TKsCustomControlBar::StaticClass());
  using B = TKsCustomControlBar;
  TPublish<B> P;
  P.Prop("AutoDrag", &B::AutoDrag, &B::SetAutoDrag).Default(true);
  P.Prop("AutoDock", &B::AutoDock, &B::SetAutoDock).Default(true);
  P.Prop("RowSize", &B::RowSize, &B::SetRowSize).Default(26);
  P.Prop("RowSnap", &B::RowSnap, &B::SetRowSnap);
  P.Prop("OnBandDrag", &B::OnBandDrag);
  P.Prop("OnBandInfo", &B::OnBandInfo);
  P.Prop("OnBandMove", &B::OnBandMove);
  P.Prop("OnBandPaint", &B::OnBandPaint);
  P.Prop("OnPaint", &B::OnPaint);
}

void DoneKsControlBar() {
  UnRegisterPublished(&TKsCustomControlBar::StaticClass());
  UnRegisterClass(&TKsCustomControlBar::StaticClass());
}
