#include "skin/KsTabs.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/TypInfo.h"
#include "classlib/UpdateScope.h"
#include "skin/KsBitmap.h"
#include "skin/KsUtils.h"

TCLASS_IMPL(TKsTabStringList)
TCLASS_IMPL(TKsCustomTabSheet)
TCLASS_IMPL(TKsCustomTabControl)

namespace {

TKsColor Ks(TColor C) { return ColorToKsColor(C, 255); }

}  // namespace

// --- TKsTabStringList -------------------------------------------------------------

void TKsTabStringList::CheckUnique(const AnsiString& S) const {
  if (IndexOf(S) >= 0) throw Exception("A tab named " + S + " already exists.");
}

void TKsTabStringList::CheckDistinct(const TStrings* Strings) const {
  std::vector<int> Order(static_cast<std::size_t>(Strings->Count()));
  for (std::size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<int>(I);
  std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) {
    return CompareStrings(Strings->Strings(A), Strings->Strings(B)) < 0;
  });
  for (std::size_t I = 1; I < Order.size(); ++I) {
    const AnsiString S = Strings->Strings(Order[I]);
    if (SameCaption(Strings->Strings(Order[I - 1]), S))
      throw Exception("A tab named " + S + " already exists.");
  }
}

TKsTabStringList::~TKsTabStringList() {
  // A list that owns its objects frees the items with them; otherwise they are freed
  // here, without the objects.
  if (OwnsObjects()) return;
  std::vector<TTabItem*> Items;
  for (int I = 0; I < Count(); ++I) Items.push_back(Item(I));
  FreeItems(Items, false);
}

TKsTabStringList::TTabItem* TKsTabStringList::Item(int Index) const {
  return static_cast<TTabItem*>(TStringList::GetObject(Index));
}

void TKsTabStringList::FreeItems(const std::vector<TTabItem*>& Items, bool Owned) {
  if (Owned) return;
  for (TTabItem* Each : Items) {
    Each->Data = nullptr;
    FreeObjectSafely(Each);
  }
}

int TKsTabStringList::InsertTab(int Index, const AnsiString& S, TObject* AObject,
                                TKsCustomTabSheet* Page) {
  TTabItem* New = NewObject<TTabItem>();
  New->Data = AObject;
  New->Page = Page;
  // Until the list holds the item, it is this call's; the object stays the caller's.
  auto Undo = ScopeExit([&] {
    for (int I = 0; I < Count(); ++I)
      if (Item(I) == New) return;
    New->Data = nullptr;
    FreeObjectSafely(New);
  });
  if (Sorted() || Index >= Count())
    Index = TStringList::AddObject(S, New);
  else
    TStringList::InsertObject(Index, S, New);
  Undo.Dismiss();
  return Index;
}

int TKsTabStringList::AddObject(const AnsiString& S, TObject* AObject) {
  CheckUnique(S);
  return InsertTab(Count(), S, AObject, nullptr);
}

void TKsTabStringList::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
  CheckUnique(S);
  // A sorted list refuses a place, an index out of the list is refused.
  if (Sorted()) throw EStringListError(SSortedListError);
  if (Index < 0 || Index > Count()) throw EStringListError(SListIndexError, {Index});
  InsertTab(Index, S, AObject, nullptr);
}

TObject* TKsTabStringList::GetObject(int Index) const { return Item(Index)->Data; }

void TKsTabStringList::PutObject(int Index, TObject* AObject) {
  TTabItem* Tab = Item(Index);
  Changing();
  Tab->Data = AObject;
  Changed();
}

void TKsTabStringList::Delete(int Index) {
  TTabItem* Gone = Item(Index);
  const bool Owned = OwnsObjects();
  const int Before = Count();
  // The item is freed once the list has let it go (a list that owns its objects frees
  // it itself), also when bringing the pages into step raises.
  auto Free = ScopeExit([&] {
    if (Count() < Before) FreeItems({Gone}, Owned);
  });
  TStringList::Delete(Index);
}

void TKsTabStringList::Clear() {
  std::vector<TTabItem*> Gone;
  for (int I = 0; I < Count(); ++I) Gone.push_back(Item(I));
  const bool Owned = OwnsObjects();
  auto Free = ScopeExit([&] {
    if (Count() == 0) FreeItems(Gone, Owned);
  });
  TStringList::Clear();
}

int TKsTabStringList::IndexOfPage(const TKsCustomTabSheet* Page) const {
  if (!Page) return -1;
  for (int I = 0; I < Count(); ++I)
    if (Item(I)->Page == Page) return I;
  return -1;
}

void TKsTabStringList::ForgetPage(const TKsCustomTabSheet* Page) {
  if (const int Index = IndexOfPage(Page); Index >= 0) SetPageOf(Index, nullptr);
}

void TKsTabStringList::Exchange(int Index1, int Index2) {
  if (Sorted()) throw EStringListError(SSortedListError);
  TStringList::Exchange(Index1, Index2);
}

void TKsTabStringList::Put(int Index, const AnsiString& S) {
  // Another tab's caption would name two pages; the tab's own, in another case, does not.
  if (const int Found = IndexOf(S); Found >= 0 && Found != Index) CheckUnique(S);
  // The item, and with it the page, stays; the page takes the caption at once, also
  // inside a batch.
  TStringList::Put(Index, S);
  if (FTabControl) FTabControl->RenamePage(PageOf(Index), S);
}

void TKsTabStringList::Rename(int Index, const AnsiString& S) {
  if (!Sorted()) {
    Put(Index, S);
    return;
  }
  // A sorted list takes no caption in place: the tab is renamed where it is and the
  // list sorted again, which carries the item to where the caption sorts.
  TUpdateScope Updating(this);
  SetSorted(false);
  auto Resort = AtScopeEnd([this] { SetSorted(true); });
  TStringList::Put(Index, S);
}

void TKsTabStringList::Assign(TPersistent* Source) {
  auto* Strings = ObjectAs<TStrings>(Source);
  if (!Strings) {
    inherited::Assign(Source);
    return;
  }
  if (Strings == this) return;
  CheckDistinct(Strings);
  // The captions kept keep their pages: the one of the same caption exactly, else the
  // one of the caption in another case.
  std::vector<std::pair<AnsiString, TKsCustomTabSheet*>> Kept;
  for (int I = 0; I < Count(); ++I)
    if (TKsCustomTabSheet* Page = PageOf(I)) Kept.emplace_back(Get(I), Page);
  auto Take = [&](const AnsiString& S) -> TKsCustomTabSheet* {
    auto It = std::find_if(Kept.begin(), Kept.end(),
                           [&](const auto& K) { return K.second && K.first == S; });
    if (It == Kept.end())
      It = std::find_if(Kept.begin(), Kept.end(),
                        [&](const auto& K) { return K.second && SameCaption(K.first, S); });
    return It == Kept.end() ? nullptr : std::exchange(It->second, nullptr);
  };
  TUpdateScope Updating(this);
  Clear();
  for (int I = 0; I < Strings->Count(); ++I) {
    const AnsiString S = Strings->Strings(I);
    InsertTab(Count(), S, Strings->Objects(I), Take(S));
  }
}

void TKsTabStringList::AddStrings(const TStrings* Strings) {
  CheckDistinct(Strings);
  for (int I = 0; I < Strings->Count(); ++I) CheckUnique(Strings->Strings(I));
  TUpdateScope Updating(this);
  for (int I = 0; I < Strings->Count(); ++I)
    InsertTab(Count(), Strings->Strings(I), Strings->Objects(I), nullptr);
}

void TKsTabStringList::SetTextStr(const AnsiString& Value) {
  TOwned<TStringList> Lines(NewObject<TStringList>());
  Lines->SetText(Value);
  Assign(Lines.get());
}

int TKsTabStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return AnsiCompareText(S1, S2);
}

void TKsTabStringList::Changed() {
  TStringList::Changed();
  if (!FTabControl) return;
  FTabControl->DropLayout();
  if (UpdateCount() == 0) FTabControl->SyncPages();
}

void TKsTabStringList::SetUpdateState(bool Updating) {
  TStringList::SetUpdateState(Updating);
  if (!FTabControl) return;
  FTabControl->SetUpdating(Updating);
  if (Updating) return;
  FTabControl->Invalidate();
  FTabControl->SyncPages();
}

// --- TKsCustomTabSheet ------------------------------------------------------------

TKsCustomTabSheet::TKsCustomTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  SetAlign(alClient);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csNoDesignVisible});
  SetVisible(false);
}

void TKsCustomTabSheet::BeforeDestruction() {
  if (TKsCustomTabControl* Control = FTabControl) {
    if (Control->ComponentState().Contains(csDestroying))
      Control->DetachPage(this);
    else
      Control->ReleasePage(this);
  }
  inherited::BeforeDestruction();
}

void TKsCustomTabSheet::SetTabControl(TKsCustomTabControl* Value) {
  if (FTabControl == Value) return;
  if (Value) {
    Value->InsertPage(Value->PageCount(), this);
    return;
  }
  FTabControl->ReleasePage(this);
  // Left in the control's window, it would cover the page shown and never be written.
  Hide();
  SetParent(nullptr);
}

void TKsCustomTabSheet::SetParent(TWinControl* AParent) {
  if (FTabControl && AParent != FTabControl && !ComponentState().Contains(csDestroying)) {
    if (auto* Control = ObjectAs<TKsCustomTabControl>(AParent)) {
      SetTabControl(Control);
      return;
    }
    // The page leaves its control with its tab once the new parent has the sheet: a
    // move refused (a font a control on the sheet cannot hold) leaves it a page, where
    // it was.
    TKsCustomTabControl* Control = FTabControl;
    inherited::SetParent(AParent);
    Control->ReleasePage(this);
    return;
  }
  inherited::SetParent(AParent);
}

int TKsCustomTabSheet::PageIndex() const {
  if (!FTabControl) return -1;
  const auto& Pages = FTabControl->FPages;
  const auto It = std::find(Pages.begin(), Pages.end(), this);
  return It == Pages.end() ? -1 : static_cast<int>(It - Pages.begin());
}

void TKsCustomTabSheet::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TKsCustomTabSheet::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  InflateRect(&Rect, -FBorderWidth, -FBorderWidth);
}

void TKsCustomTabSheet::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TKsCustomTabSheet::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* Control = ObjectAs<TKsCustomTabControl>(Parent())) SetTabControl(Control);
}

void TKsCustomTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (!FTabControl || FTabControl->ActivePage() != this) {
        ValidateRect(Handle(), nullptr);
        Message.Result = 0;
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (ComponentState().Contains(csDesigning)) inherited::Dispatch(Message);
      DrawParentImage(this, reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case CM_VISIBLECHANGED: {
      inherited::Dispatch(Message);
      TNotifyEvent& Event = Visible() ? OnShow : OnHide;
      if (Event.Assigned()) Event(this);
      return;
    }
    case CM_TEXTCHANGED: {
      inherited::Dispatch(Message);
      const AnsiString Old = std::exchange(FHeardCaption, Caption());
      if (FTabControl) FTabControl->PageRenamed(this, Old);
      return;
    }
  }
  inherited::Dispatch(Message);
}

// --- TKsCustomTabControl: life -------------------------------------------------------

TKsCustomTabControl::TKsCustomTabControl(TComponent* AOwner) : TKsCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csDoubleClicks});
  SetBounds(Left(), Top(), 289, 193);
  SetTabStop(true);
  FTabs = NewObject<TKsTabStringList>(this);
  Realign();
}

void TKsCustomTabControl::BeforeDestruction() {
  for (TKsCustomTabSheet* Page : FPages) Page->FTabControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
  inherited::BeforeDestruction();
}

TKsCustomTabControl::~TKsCustomTabControl() {
  // The list no longer reaches back into a control that is going.
  FTabs->Free();
  if (FArrowTimer) FArrowTimer->Free();
}

// --- Properties --------------------------------------------------------------------

void TKsCustomTabControl::SetTabIndex(int Value) {
  if (Value == FTabIndex || Value < 0 || Value > FTabs->Count() - 1) return;
  const int Old = FTabIndex;
  FTabIndex = Value;
  if (!CanChange()) {
    FTabIndex = Old;
    return;
  }
  const int ArrowLeft = Width() - 2 * GetArrowSize().cx;
  while (ArrowsShown() && FFirstVisibleTab < FTabIndex && GetTabRect(FTabIndex).right > ArrowLeft)
    ++FFirstVisibleTab;
  while (FFirstVisibleTab > FTabIndex) --FFirstVisibleTab;
  Invalidate();
  Realign();
  Change();
}

void TKsCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  if (!IsHorizontalSide(Value)) FMultiLine = true;
  DropLayout();
  Invalidate();
  Realign();
}

void TKsCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  if (!Value && !IsHorizontalSide(FTabPosition))
    throw Exception("MultiLine must be True when TabPosition is tpLeft or tpRight");
  FMultiLine = Value;
  DropLayout();
  Invalidate();
  Realign();
}

void TKsCustomTabControl::SetRaggedRight(bool Value) {
  if (FRaggedRight == Value) return;
  FRaggedRight = Value;
  DropLayout();
  Invalidate();
}

void TKsCustomTabControl::SetScrollOpposite(bool Value) {
  if (FScrollOpposite == Value) return;
  FScrollOpposite = Value;
  if (Value) FMultiLine = true;
  DropLayout();
  Invalidate();
  Realign();
}

void TKsCustomTabControl::SetHotTrack(bool Value) {
  FHotTrack = Value;
  Invalidate();
}

void TKsCustomTabControl::SetTabWidth(int Value) {
  if (FTabWidth == Value) return;
  FTabWidth = Value;
  DropLayout();
  Invalidate();
  Realign();
}

void TKsCustomTabControl::SetTabHeight(int Value) {
  if (FTabHeight == Value) return;
  FTabHeight = Value;
  DropLayout();
  Invalidate();
  Realign();
}

void TKsCustomTabControl::SetOwnerDraw(bool Value) {
  FOwnerDraw = Value;
  Invalidate();
}

void TKsCustomTabControl::SetUsePages(bool Value) {
  if (FUsePages == Value) return;
  if (Value && !ComponentState().Contains(csLoading))
    while (ControlCount() > 0) Controls(ControlCount() - 1)->Free();
  FUsePages = Value;
  SyncPages();
}

// --- Painting ---------------------------------------------------------------------------

std::vector<int> TKsCustomTabControl::RowsFarthestFirst() {
  std::vector<int> Order = RowsNearestFirst();
  std::reverse(Order.begin(), Order.end());
  return Order;
}

bool TKsCustomTabControl::TabCanShow(int Index) {
  TRect R = GetTabRect(Index);
  if (Index == FTabIndex) InflateRect(&R, 2, 2);  // the active tab stands out
  const TRect Client{0, 0, Width(), Height()};
  RECT Overlap;
  return IntersectRect(&Overlap, &R, &Client) != 0;
}

void TKsCustomTabControl::PaintBuffer() {
  inherited::PaintBuffer();
  if (!FMultiLine) {
    const int Last = LastShownTab();
    for (int I = std::max(FFirstVisibleTab, 0); I <= Last; ++I)
      if (I != FTabIndex) DrawTab(I);
  } else {
    const TLayout& L = Layout();
    for (int Row : RowsFarthestFirst())
      for (int I = FirstTabOfRow(Row); I <= L.Rows[static_cast<std::size_t>(Row)].LastTab; ++I)
        if (TabCanShow(I)) DrawTab(I);
  }
  PaintPane();
  if (FTabIndex >= 0 && TabCanShow(FTabIndex)) DrawTab(FTabIndex);
  if (ArrowsShown()) {
    DrawLeftArrow();
    DrawRightArrow();
  }
}

void TKsCustomTabControl::PaintPane() {
  TKsBitmap* B = Buffer();
  TRect P = PaneRect();
  B->FillRect(P, Ks(clBtnFace));
  B->DrawEdge(P, Ks(clBtnHighlight), Ks(cl3DDkShadow));
  InflateRect(&P, -1, -1);
  B->DrawEdge(P, Ks(clBtnFace), Ks(clBtnShadow));
}

void TKsCustomTabControl::DrawLeftArrow() {
  RECT R = LeftArrowRect();
  const bool Pushed = FLeftArrowDown && FLeftArrowHot;
  DrawFrameControl(Buffer()->DC(), &R, DFC_SCROLL, DFCS_SCROLLLEFT | (Pushed ? DFCS_PUSHED : 0));
  GdiFlush();
}

void TKsCustomTabControl::DrawRightArrow() {
  RECT R = RightArrowRect();
  const bool Pushed = FRightArrowDown && FRightArrowHot;
  DrawFrameControl(Buffer()->DC(), &R, DFC_SCROLL, DFCS_SCROLLRIGHT | (Pushed ? DFCS_PUSHED : 0));
  GdiFlush();
}

void TKsCustomTabControl::DrawTab(int Index) {
  TKsBitmap* B = Buffer();
  B->SetFont(Font());
  const bool Active = Index == FTabIndex;
  const int Row = RowOfTab(Index);
  const TTabPosition Side = IsOppositeRow(Row) ? OppositeSide(FTabPosition) : FTabPosition;
  TRect R = GetTabRect(Index);
  if (Active) {
    // Grows on every side but the page's.
    if (Side != tpBottom) R.top -= 2;
    if (Side != tpTop) R.bottom += 2;
    if (Side != tpRight) R.left -= 2;
    if (Side != tpLeft) R.right += 2;
  }
  const TKsColor Face = Ks(clBtnFace);
  B->FillRoundRect(R, 4, Face);
  switch (Side) {
    case tpTop: B->FillRect(TRect{R.left, (R.top + R.bottom) / 2, R.right, R.bottom}, Face); break;
    case tpBottom: B->FillRect(TRect{R.left, R.top, R.right, (R.top + R.bottom) / 2}, Face); break;
    case tpLeft: B->FillRect(TRect{(R.left + R.right) / 2, R.top, R.right, R.bottom}, Face); break;
    case tpRight: B->FillRect(TRect{R.left, R.top, (R.left + R.right) / 2, R.bottom}, Face); break;
  }
  if (Active && Focused()) {
    TRect F = R;
    InflateRect(&F, -3, -3);
    B->DrawFocusRect(F, Face);
  }
  if (FOwnerDraw) {
    DoDrawTab(Index, R, Active);
  } else {
    B->Font()->SetColor(FHotTrack && Index == FHotTab ? clHighlight : Font()->Color());
    TRect C = R;
    if (Active) InflateRect(&C, -1, -1);
    const int Deep = GetTabHeight();
    switch (Side) {
      case tpTop: C.bottom = C.top + Deep; break;
      case tpBottom: C.top = C.bottom - Deep; break;
      case tpLeft: C.right = C.left + Deep; break;
      case tpRight: C.left = C.right - Deep; break;
    }
    if (Side == tpTop && !Active) OffsetRect(&C, 0, 1);
    const AnsiString Text = FTabs->Strings(Index);
    if (IsHorizontalSide(Side))
      B->DrawText(Text, C, static_cast<UINT>(DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE)));
    else
      B->DrawVerticalText(Text, C, 0x25, Side == tpRight);
  }
  // Lit from the top left; the edge on the page's side stays open.
  const TKsColor Light = Ks(clBtnHighlight), Dark = Ks(cl3DDkShadow), Shadow = Ks(clBtnShadow);
  const int L = R.left, T = R.top, Rt = R.right - 1, Bt = R.bottom - 1;
  switch (Side) {
    case tpTop:
      B->MoveTo(L, Bt + 1);
      B->LineTo(L, T + 3, Light);
      B->LineTo(L + 3, T, Light);
      B->LineTo(Rt - 2, T, Light);
      B->LineTo(Rt + 1, T + 3, Dark);
      B->MoveTo(Rt, T + 2);
      B->LineTo(Rt, Bt + 1, Dark);
      B->MoveTo(Rt - 1, T + 2);
      B->LineTo(Rt - 1, Bt + 1, Shadow);
      break;
    case tpBottom:
      B->MoveTo(L, T);
      B->LineTo(L, Bt - 2, Light);
      B->LineTo(L + 3, Bt + 1, Dark);
      B->MoveTo(L + 3, Bt);
      B->LineTo(Rt - 2, Bt, Dark);
      B->LineTo(Rt, Bt - 2, Dark);
      B->LineTo(Rt, T - 1, Dark);
      B->MoveTo(L + 3, Bt - 1);
      B->LineTo(Rt - 2, Bt - 1, Shadow);
      B->MoveTo(Rt - 1, Bt - 2);
      B->LineTo(Rt - 1, T - 1, Shadow);
      break;
    case tpLeft:
      B->MoveTo(Rt + 1, T);
      B->LineTo(L + 3, T, Light);
      B->LineTo(L, T + 3, Light);
      B->LineTo(L, Bt - 2, Light);
      B->LineTo(L + 3, Bt + 1, Dark);
      B->MoveTo(L + 3, Bt);
      B->LineTo(Rt + 1, Bt, Dark);
      B->MoveTo(L + 3, Bt - 1);
      B->LineTo(Rt + 1, Bt - 1, Shadow);
      break;
    case tpRight:
      B->MoveTo(L - 1, T);
      B->LineTo(Rt - 2, T, Light);
      B->LineTo(Rt + 1, T + 3, Dark);
      B->MoveTo(Rt, T + 2);
      B->LineTo(Rt, Bt - 2, Dark);
      B->LineTo(Rt - 3, Bt + 1, Dark);
      B->MoveTo(Rt - 2, Bt);
      B->LineTo(L - 1, Bt, Dark);
      B->MoveTo(Rt - 1, T + 3);
      B->LineTo(Rt - 1, Bt - 2, Shadow);
      B->MoveTo(Rt - 3, Bt - 1);
      B->LineTo(L - 1, Bt - 1, Shadow);
      break;
  }
}

void TKsCustomTabControl::DoDrawTab(int Index, const TRect& Rect, bool Active) {
  if (OnDrawTab.Assigned()) OnDrawTab(this, Index, Rect, Active);
}

// --- Changes -----------------------------------------------------------------------------

bool TKsCustomTabControl::CanChange() {
  bool Allow = true;
  if (OnChanging.Assigned()) OnChanging(this, Allow);
  return Allow;
}

void TKsCustomTabControl::Change() {
  if (FUsePages) ShowPageAt(FTabIndex);
  if (OnChange.Assigned()) OnChange(this);
}

// --- Keys and mouse ------------------------------------------------------------------

void TKsCustomTabControl::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == VK_LEFT || Key == VK_UP) SetTabIndex(FTabIndex - 1);
  if (Key == VK_RIGHT || Key == VK_DOWN) SetTabIndex(FTabIndex + 1);
}

void TKsCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (ArrowsShown() && (InLeftArrow(X, Y) || InRightArrow(X, Y))) {
    FLeftArrowDown = InLeftArrow(X, Y);
    FRightArrowDown = !FLeftArrowDown;
    FLeftArrowHot = FLeftArrowDown;
    FRightArrowHot = FRightArrowDown;
    Invalidate();
    ScrollTabs(FLeftArrowDown ? -1 : 1);
    if (!FArrowTimer) {
      FArrowTimer = NewObject<TTimer>(nullptr);
      FArrowTimer->OnTimer = TNotifyEvent::Bind<&TKsCustomTabControl::ArrowTick>(this);
    }
    FArrowTimer->SetEnabled(false);
    FArrowTimer->SetInterval(300);
    FArrowTimer->SetEnabled(true);
    return;
  }
  const int Tab = TabAtPoint(X, Y);
  if (Tab < 0) return;
  if (!ComponentState().Contains(csDesigning) && CanFocus()) SetFocus();
  SetTabIndex(Tab);
}

void TKsCustomTabControl::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  bool Changed = false;
  if (ArrowsShown()) {
    const bool Left = InLeftArrow(X, Y), Right = InRightArrow(X, Y);
    Changed = Left != FLeftArrowHot || Right != FRightArrowHot;
    FLeftArrowHot = Left;
    FRightArrowHot = Right;
  }
  const int Hot = TabAtPoint(X, Y);
  Changed = Changed || Hot != FHotTab;
  FHotTab = Hot;
  if (Changed) Invalidate();
}

void TKsCustomTabControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopArrows();
  inherited::MouseUp(Button, Shift, X, Y);
}

void TKsCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case CM_FONTCHANGED:
      // The captions' widths and the tab height follow the font.
      DropLayout();
      inherited::Dispatch(Message);
      Invalidate();
      Realign();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // Losing the mouse ends an arrow's repeat.
      inherited::Dispatch(Message);
      StopArrows();
      return;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      if (FLeftArrowHot || FRightArrowHot || FHotTab != -1) Invalidate();
      FLeftArrowHot = FRightArrowHot = false;
      FHotTab = -1;
      return;
  }
  inherited::Dispatch(Message);
}

// --- Pages ----------------------------------------------------------------------------

TKsCustomTabSheet* TKsCustomTabControl::GetPage(int Index) const {
  if (Index < 0 || Index >= PageCount()) return nullptr;
  return FPages[static_cast<std::size_t>(Index)];
}

int TKsCustomTabControl::GetActivePageIndex() const {
  if (!FUsePages || !FActivePage) return -1;
  return FActivePage->PageIndex();
}

AnsiString TKsCustomTabControl::NextNewPageCaption() {
  // The count before the addition, less one; a number already taken after a deletion
  // gives way to the next free one.
  int Number = FTabs->Count() - 1;
  while (FTabs->IndexOf("New Page " + std::to_string(Number)) >= 0) ++Number;
  return "New Page " + std::to_string(Number);
}

void TKsCustomTabControl::InsertPage(int Index, TKsCustomTabSheet* Sheet) {
  if (!Sheet || Sheet->FTabControl == this) return;
  if (ComponentState().Contains(csLoading)) {
    FUsePages = true;
    JoinReadPage(Sheet);
    return;
  }
  Index = std::clamp(Index, 0, PageCount());
  const AnsiString Caption = Sheet->Caption().empty() ? NextNewPageCaption() : Sheet->Caption();
  FTabs->CheckUnique(Caption);
  // The move is judged before the sheet leaves anything: a sheet that this control's
  // owner cannot take by its name, that holds this control, or whose controls refuse
  // this control's font (the font is undone), stays where it was, as it was.
  if (!Sheet->Owner() && Owner())
    if (const TComponent* Found = Owner()->FindComponent(Sheet->Name()); Found && Found != Sheet)
      throw EComponentError(SDuplicateName, {Sheet->Name()});
  Sheet->PrepareParent(this);
  // Pages need UsePages: a sheet turns it on (keeping the control's other children,
  // which switching it on by hand frees).
  FUsePages = true;
  if (Sheet->FTabControl) Sheet->FTabControl->ReleasePage(Sheet);
  Sheet->SetCaption(Caption);
  FPages.insert(FPages.begin() + Index, Sheet);
  AdoptPage(Sheet);
  FTabs->InsertTab(Index, Caption, nullptr, Sheet);
  if (PageCount() == 1) ShowPage(Sheet);
  Invalidate();
}

void TKsCustomTabControl::JoinReadPage(TKsCustomTabSheet* Sheet) {
  const AnsiString Caption = Sheet->Caption();
  for (TKsCustomTabSheet* Page : FPages)
    if (FTabs->SameCaption(Page->Caption(), Caption)) FTabs->CheckUnique(Caption);
  if (const int Index = FTabs->IndexOf(Caption); Index >= 0)
    FTabs->SetPageOf(Index, Sheet);
  else
    FTabs->InsertTab(FPages.empty() ? 0 : FTabs->IndexOfPage(FPages.back()) + 1, Caption,
                     nullptr, Sheet);
  FPages.push_back(Sheet);
  AdoptPage(Sheet);
}

void TKsCustomTabControl::AdoptPage(TKsCustomTabSheet* Sheet) {
  Sheet->FTabControl = this;
  if (!ComponentState().Contains(csLoading)) {
    // A sheet nobody owns is the control's owner's, as the sheets the control makes are,
    // so that it is named and written with its controls.
    if (!Sheet->Owner() && Owner()) Owner()->InsertComponent(Sheet);
    NameSheet(Sheet);
  }
  Sheet->SetParent(this);
  Sheet->Hide();
}

int TKsCustomTabControl::NameSheet(TKsCustomTabSheet* Sheet, int From) {
  TComponent* Scope = Sheet->Owner();
  if (!Sheet->Name().empty() || !Scope) return From;
  const AnsiString Base = Sheet->ClassName();
  for (int Number = From;; ++Number) {
    const AnsiString Name = Base + std::to_string(Number);
    if (Scope->FindComponent(Name)) continue;
    // The caption is the tab's: it does not follow the name given here.
    TCountScope Renaming(FRenaming);
    const AnsiString Caption = Sheet->Caption();
    Sheet->SetName(Name);
    Sheet->SetCaption(Caption);
    return Number;
  }
}

void TKsCustomTabControl::DetachPage(TKsCustomTabSheet* Sheet) {
  std::erase(FPages, Sheet);
  FTabs->ForgetPage(Sheet);
  Sheet->FTabControl = nullptr;
  if (FActivePage == Sheet) FActivePage = nullptr;
}

void TKsCustomTabControl::ReleasePage(TKsCustomTabSheet* Sheet) {
  // Out of the pages first: the tab's deletion brings the pages into step, and must not
  // find this sheet there. Inside a batch its tab may be gone already.
  const int Index = FTabs->IndexOfPage(Sheet);
  DetachPage(Sheet);
  if (Index >= 0) FTabs->Delete(Index);
}

void TKsCustomTabControl::RenamePage(TKsCustomTabSheet* Page, const AnsiString& Caption) {
  if (!Page || Page->FTabControl != this || Page->Caption() == Caption) return;
  TCountScope Renaming(FRenaming);
  Page->SetCaption(Caption);
}

void TKsCustomTabControl::PageRenamed(TKsCustomTabSheet* Sheet, const AnsiString& Old) {
  if (FRenaming > 0 || ComponentState().Contains(csLoading)) return;
  // The sheet's own tab, wherever a batch of changes to the list has put it; none when
  // the batch deleted it, and the sheet goes at the batch's end.
  const int Index = FTabs->IndexOfPage(Sheet);
  const AnsiString Caption = Sheet->Caption();
  if (Index >= 0 && Caption == FTabs->Strings(Index)) return;
  TCountScope Renaming(FRenaming);
  if (const int Found = FTabs->IndexOf(Caption); Found >= 0 && Found != Index) {
    Sheet->SetCaption(Old);
    FTabs->CheckUnique(Caption);
  }
  if (Index >= 0) FTabs->Rename(Index, Caption);
}

void TKsCustomTabControl::RemovePage(TKsCustomTabSheet* Sheet) {
  if (!Sheet || Sheet->FTabControl != this) return;
  const bool WasActive = Sheet == FActivePage;
  ReleasePage(Sheet);
  Sheet->SetCaption("");
  if (WasActive) {
    if (!FPages.empty()) {
      ShowPage(FPages.front());
    } else if (FTabs->Count() == 0) {
      FTabIndex = -1;
    }
  }
  Sheet->Free();
  Invalidate();
}

void TKsCustomTabControl::ShowPage(TKsCustomTabSheet* Sheet) {
  if (!Sheet || Sheet->FTabControl != this) return;
  if (FActivePage && FActivePage != Sheet) FActivePage->Hide();
  FActivePage = Sheet;
  Sheet->Show();
  Sheet->BringToFront();
  FTabIndex = Sheet->PageIndex();
  Invalidate();
}

void TKsCustomTabControl::ShowPageAt(int Index) { ShowPage(GetPage(Index)); }

TKsCustomTabSheet* TKsCustomTabControl::MatchPages() {
  const int Count = FTabs->Count();
  bool InStep = PageCount() == Count;
  for (int I = 0; InStep && I < Count; ++I)
    InStep = FPages[static_cast<std::size_t>(I)] == FTabs->PageOf(I) &&
             FPages[static_cast<std::size_t>(I)]->Caption() == FTabs->Strings(I);
  if (InStep) return nullptr;
  // Each tab knows its page: the match is by the page itself, never by its caption or
  // place, which a batch of changes may have given to another tab.
  std::vector<TKsCustomTabSheet*> Left = FPages, Matched;
  Matched.reserve(static_cast<std::size_t>(Count));
  std::unordered_map<const TKsCustomTabSheet*, std::size_t> Place;
  for (std::size_t I = 0; I < Left.size(); ++I) Place.emplace(Left[I], I);
  std::vector<TKsCustomTabSheet*> Made;
  for (int I = 0; I < Count; ++I) {
    TKsCustomTabSheet* Page = nullptr;
    if (const auto Found = Place.find(FTabs->PageOf(I)); Found != Place.end())
      Page = std::exchange(Left[Found->second], nullptr);
    if (!Page) {
      Page = NewObject<TKsCustomTabSheet>(Owner());
      Made.push_back(Page);
      FTabs->SetPageOf(I, Page);
    }
    const AnsiString Caption = FTabs->Strings(I);
    if (Page->Caption() != Caption) {
      TCountScope Renaming(FRenaming);
      Page->SetCaption(Caption);
    }
    Matched.push_back(Page);
  }
  FPages = std::move(Matched);
  int Number = 1;
  for (TKsCustomTabSheet* Page : Made) {
    Number = NameSheet(Page, Number);
    AdoptPage(Page);
  }
  // The pages whose tabs are gone go with their controls.
  for (TKsCustomTabSheet* Page : Left) {
    if (!Page) continue;
    Page->FTabControl = nullptr;
    if (FActivePage == Page) FActivePage = nullptr;
    Page->Free();
  }
  return Made.empty() ? nullptr : Made.back();
}

void TKsCustomTabControl::SyncPages() {
  DropLayout();
  const int Count = FTabs->Count();
  if (FTabIndex > Count - 1) FTabIndex = Count - 1;
  const bool Loading = ComponentState().Contains(csLoading);
  if (FUsePages && !Loading) {
    // A page made is shown; otherwise the selected tab stays the active page's,
    // wherever a change left that page.
    if (TKsCustomTabSheet* Made = MatchPages())
      ShowPage(Made);
    else if (FActivePage)
      FTabIndex = FActivePage->PageIndex();
    else if (Count > 0)
      ShowPageAt(std::max(FTabIndex, 0));
  } else if (!Loading) {
    while (!FPages.empty()) {
      TKsCustomTabSheet* Sheet = FPages.back();
      DetachPage(Sheet);
      Sheet->Free();
    }
  }
  if (!FUpdating) {
    Invalidate();
    Realign();
  }
}

void TKsCustomTabControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (!FUsePages) {
    inherited::GetChildren(Proc, Root);
    return;
  }
  for (TKsCustomTabSheet* Page : FPages) Proc(Page);
  // The controls kept when a sheet turned the pages on follow, as the class library
  // lists them.
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* Control = Controls(I);
    if (Control->Owner() == Root && std::find(FPages.begin(), FPages.end(), Control) == FPages.end())
      Proc(Control);
  }
}

void TKsCustomTabControl::Loaded() {
  inherited::Loaded();
  if (!FUsePages) return;
  // A tab the file holds no sheet for gets its page; the page read as selected shows.
  const int Index = std::max(FTabIndex, 0);
  MatchPages();
  ShowPageAt(Index);
}

// --- The unit ----------------------------------------------------------------------------

void InitKsTabs() {
  RegisterClass(&TKsCustomTabSheet::StaticClass());
  RegisterClass(&TKsCustomTabControl::StaticClass());
  {
    // The standard properties (bounds, Font, Enabled, Visible, the hints, the popup
    // menu, the mouse and resize events) come from the control bases.
    TPublish<TKsCustomTabSheet> S;
    // A sheet starts filling its control, and hidden until its tab is chosen.
    S.Prop("Align", &TKsCustomTabSheet::Align, &TKsCustomTabSheet::SetAlign).Default(alClient);
    S.Prop("Visible", &TKsCustomTabSheet::Visible, &TKsCustomTabSheet::SetVisible).Default(false);
    S.Prop("BorderWidth", &TKsCustomTabSheet::BorderWidth, &TKsCustomTabSheet::SetBorderWidth);
    S.Prop("Caption", &TKsCustomTabSheet::Caption, &TKsCustomTabSheet::SetCaption);
    S.Prop("OnDragDrop", &TKsCustomTabSheet::OnDragDrop);
    S.Prop("OnDragOver", &TKsCustomTabSheet::OnDragOver);
    S.Prop("OnEndDrag", &TKsCustomTabSheet::OnEndDrag);
    S.Prop("OnStartDrag", &TKsCustomTabSheet::OnStartDrag);
    S.Prop("OnHide", &TKsCustomTabSheet::OnHide);
    S.Prop("OnShow", &TKsCustomTabSheet::OnShow);
  }
  TPublish<TKsCustomTabControl> P;
  P.Prop("TabStop", &TKsCustomTabControl::TabStop, &TKsCustomTabControl::SetTabStop).Default(true);
  P.Prop("HotTrack", &TKsCustomTabControl::HotTrack, &TKsCustomTabControl::SetHotTrack).Default(false);
  // The side before MultiLine: a side tab switches MultiLine on.
  P.Prop("TabPosition", &TKsCustomTabControl::TabPosition, &TKsCustomTabControl::SetTabPosition)
      .Default(tpTop);
  P.Prop("MultiLine", &TKsCustomTabControl::MultiLine, &TKsCustomTabControl::SetMultiLine).Default(false);
  P.Prop("OwnerDraw", &TKsCustomTabControl::OwnerDraw, &TKsCustomTabControl::SetOwnerDraw).Default(false);
  P.Prop("RaggedRight", &TKsCustomTabControl::RaggedRight, &TKsCustomTabControl::SetRaggedRight)
      .Default(false);
  P.Prop("ScrollOpposite", &TKsCustomTabControl::ScrollOpposite,
         &TKsCustomTabControl::SetScrollOpposite)
      .Default(false);
  P.Prop("TabHeight", &TKsCustomTabControl::TabHeight, &TKsCustomTabControl::SetTabHeight).Default(0);
  P.Prop("TabWidth", &TKsCustomTabControl::TabWidth, &TKsCustomTabControl::SetTabWidth).Default(0);
  P.Prop("UsePages", &TKsCustomTabControl::UsePages, &TKsCustomTabControl::SetUsePages).Default(false);
  // The captions before the selection that indexes them.
  P.Prop("Tabs", &TKsCustomTabControl::Tabs, &TKsCustomTabControl::SetTabs);
  P.Prop("TabIndex", &TKsCustomTabControl::TabIndex, &TKsCustomTabControl::SetTabIndex).Default(-1);
  P.Prop("OnChange", &TKsCustomTabControl::OnChange);
  P.Prop("OnChanging", &TKsCustomTabControl::OnChanging);
  P.Prop("OnDrawTab", &TKsCustomTabControl::OnDrawTab);
}

void DoneKsTabs() {
  UnRegisterPublished(&TKsCustomTabControl::StaticClass());
  UnRegisterPublished(&TKsCustomTabSheet::StaticClass());
  UnRegisterClass(&TKsCustomTabControl::StaticClass());
  UnRegisterClass(&TKsCustomTabSheet::StaticClass());
}
