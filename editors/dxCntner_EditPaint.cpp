// The editor's view data and its class-level painting: the draw information, the
// border styles, the content, the cursor and the height of an editor, and the shadow
// brush of editor borders.
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxDrawing.h"

TCLASS_IMPL(TdxEditViewData)

namespace {

// Both brushes come from the shared cache and are kept across paints: the shadow's for
// the unit's life, the border's until a border of another colour is painted.
HBRUSH ShadowBrush = nullptr;
HBRUSH LastBorderBrush = nullptr;
COLORREF LastBorderColor = 0;

HBRUSH SolidBrush(COLORREF Color) {
  const LOGBRUSH Brush{BS_SOLID, Color, 0};
  return AcquireSharedBrush(Brush);
}

HBRUSH BorderBrush(TColor Color) {
  const COLORREF Rgb = ColorToRGB(Color);
  if (!LastBorderBrush || LastBorderColor != Rgb) {
    HBRUSH Fresh = SolidBrush(Rgb);
    ReleaseSharedObject(LastBorderBrush);
    LastBorderBrush = Fresh;
    LastBorderColor = Rgb;
  }
  return LastBorderBrush;
}

bool IsEmptyRect(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }

}  // namespace

HBRUSH dxEditShadowBrush() { return ShadowBrush; }

TdxEditViewData* TdxInplaceEditMetaClass::NewViewData() const {
  TdxEditViewDataClass Class = GetViewDataClass();
  TObject* Instance = Class->NewInstance();
  if (auto* ViewData = ObjectAs<TdxEditViewData>(Instance)) return ViewData;
  Instance->Free();
  throw EInvalidOperation("%s is not a view data class", {Class->ClassName()});
}

// ---------------------------------------------------------------------------------
// Class operations

TdxEditViewDataClass TdxInplaceEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxEditViewData::StaticClass();
}

TdxEditStyleClass TdxInplaceEdit::GetStyleClass(MetaType::TSelf /*Self*/) {
  return &TdxEditStyle::StaticClass();
}

bool TdxInplaceEdit::IsInplace(MetaType::TSelf /*Self*/) { return true; }

TRect TdxInplaceEdit::GetButtonsRect(MetaType::TSelf /*Self*/, TdxEditViewData* /*ViewData*/) {
  return Rect(0, 0, 0, 0);
}

void TdxInplaceEdit::CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                                  TdxEditDrawInfo& DrawInfo) {
  DrawInfo = TdxEditDrawInfo();
  DrawInfo.ShadowSize = ViewData->Shadow ? 2 : 0;
  const int Shadow = DrawInfo.ShadowSize;
  TRect& Outer = DrawInfo.OuterRect;
  TRect& Content = DrawInfo.ContentRect;
  Outer = ViewData->Bounds;
  Content = Rect(Outer.left + 2, Outer.top + 2, Outer.right - 2 - Shadow, Outer.bottom - 2 - Shadow);
  switch (ViewData->BorderStyle) {
    case xbsNone: DrawInfo.BorderSize = 0; break;
    case xbsSingle: DrawInfo.BorderSize = 1; break;
    default: DrawInfo.BorderSize = 2; break;
  }
  if (AutoHeight) {
    TRect Buttons = Self->GetButtonsRect(ViewData);
    int Height;
    if (!IsEmptyRect(Buttons)) {
      int ButtonsWidth = Buttons.right - Buttons.left;
      Outer.right = Outer.left + ButtonsWidth + 4 + Shadow;
      Content.right = Outer.left + 2 + ButtonsWidth;
      Height = Buttons.bottom - Buttons.top;
    } else {
      Height = Self->GetEditHeight(ViewData);
    }
    Outer.bottom = Outer.top + Height + 4 + Shadow;
    Content.bottom = Outer.top + 2 + Height;
  }
  DrawInfo.LeftEdge = ViewData->Edges.Contains(edgLeft);
  DrawInfo.TopEdge = ViewData->Edges.Contains(edgTop);
  DrawInfo.RightEdge = ViewData->Edges.Contains(edgRight);
  DrawInfo.BottomEdge = ViewData->Edges.Contains(edgBottom);
  const int B = DrawInfo.BorderSize;
  DrawInfo.BorderRect = Rect(Content.left - (DrawInfo.LeftEdge ? B : 0), Content.top - (DrawInfo.TopEdge ? B : 0),
                             Content.right + (DrawInfo.RightEdge ? B : 0),
                             Content.bottom + (DrawInfo.BottomEdge ? B : 0));
  if (Shadow > 0) {
    DrawInfo.ShadowRect = DrawInfo.BorderRect;
    OffsetRect(&DrawInfo.ShadowRect, Shadow, Shadow);
  }
}

void TdxInplaceEdit::DrawBorder(MetaType::TSelf /*Self*/, HDC DC, const TdxEditDrawInfo& DrawInfo,
                                TdxEditViewData* ViewData) {
  if (ViewData->BorderStyle == xbsNone) return;
  UINT EdgeFlags = (DrawInfo.LeftEdge ? BF_LEFT : 0) | (DrawInfo.TopEdge ? BF_TOP : 0) |
                   (DrawInfo.RightEdge ? BF_RIGHT : 0) | (DrawInfo.BottomEdge ? BF_BOTTOM : 0);
  const bool AllEdges = DrawInfo.LeftEdge && DrawInfo.TopEdge && DrawInfo.RightEdge && DrawInfo.BottomEdge;
  switch (ViewData->BorderStyle) {
    case xbsSingle:
    case xbsThick: {
      const HBRUSH Brush = BorderBrush(ViewData->BorderColor);
      const int Size = DrawInfo.BorderSize;
      TRect R = DrawInfo.BorderRect;
      if (AllEdges) {
        for (int I = 0; I < Size; ++I) {
          FrameRect(DC, &R, Brush);
          InflateRect(&R, -1, -1);
        }
        break;
      }
      // Without a top edge the side strips reach above the rectangle, so that they
      // meet the cell above.
      int SideTop = DrawInfo.TopEdge ? R.top : R.top - Size;
      if (DrawInfo.LeftEdge) {
        RECT Strip{R.left, SideTop, R.left + Size, R.bottom};
        FillRect(DC, &Strip, Brush);
      }
      if (DrawInfo.TopEdge) {
        RECT Strip{R.left, R.top, R.right, R.top + Size};
        FillRect(DC, &Strip, Brush);
      }
      if (DrawInfo.RightEdge) {
        RECT Strip{R.right - Size, SideTop, R.right, R.bottom};
        FillRect(DC, &Strip, Brush);
      }
      if (DrawInfo.BottomEdge) {
        RECT Strip{R.left, R.bottom - Size, R.right, R.bottom};
        FillRect(DC, &Strip, Brush);
      }
      break;
    }
    case xbsFlat: {
      RECT R = DrawInfo.BorderRect;
      DrawEdge(DC, &R, BDR_SUNKENOUTER, EdgeFlags | BF_ADJUST);
      DrawEdge(DC, &R, BDR_SUNKENINNER, EdgeFlags | BF_FLAT);
      break;
    }
    case xbs3D: {
      RECT R = DrawInfo.BorderRect;
      DrawEdge(DC, &R, EDGE_SUNKEN, EdgeFlags);
      break;
    }
    default: break;
  }
  if (ViewData->Shadow && ShadowBrush)
    DrawShadow(DC, DrawInfo.ShadowRect, DrawInfo.ShadowSize, ShadowBrush);
}

bool TdxInplaceEdit::DrawContent(MetaType::TSelf /*Self*/, HDC DC, const TRect& R, bool /*IsWindow*/,
                                 TdxEditViewData* ViewData) {
  if (!ViewData->MeasureOnly && ViewData->Brush) FillRect(DC, &R, ViewData->Brush);
  return true;
}

void TdxInplaceEdit::Draw(MetaType::TSelf Self, HDC DC, const TRect& R, TdxEditViewData* ViewData,
                          HRGN Region) {
  // The view data is laid out over R for this paint.
  TRect SavedBounds = ViewData->Bounds;
  ViewData->Bounds = R;
  auto Restore = ScopeExit([&] { ViewData->Bounds = SavedBounds; });
  TdxEditDrawInfo DrawInfo;
  Self->CalcDrawInfo(ViewData, false, DrawInfo);
  Self->DrawBorder(DC, DrawInfo, ViewData);
  Self->DrawContent(DC, DrawInfo.ContentRect, false, ViewData);
  if (!Region) return;
  const bool NeedsRegion = DrawInfo.ShadowSize > 0 || DrawInfo.BorderSize < 2 || !DrawInfo.LeftEdge ||
                           !DrawInfo.TopEdge || !DrawInfo.RightEdge || !DrawInfo.BottomEdge;
  TOwnedRegion Painted(CountHandle(CreateRectRgnIndirect(&DrawInfo.BorderRect)));
  if (NeedsRegion && DrawInfo.ShadowSize > 0) {
    TOwnedRegion ShadowRegion(CountHandle(CreateRectRgnIndirect(&DrawInfo.ShadowRect)));
    CombineRgn(Painted.Handle(), Painted.Handle(), ShadowRegion.Handle(), RGN_OR);
  }
  CombineRgn(Region, Region, Painted.Handle(), RGN_DIFF);
}

TCursor TdxInplaceEdit::GetCursor(MetaType::TSelf /*Self*/, int /*X*/, int /*Y*/, TdxEditViewData* ViewData) {
  if (ViewData->Cursor != crDefault) return ViewData->Cursor;
  return ViewData->NativeEdit ? crDefault : crArrow;
}

int TdxInplaceEdit::GetEditHeight(MetaType::TSelf Self, TdxEditViewData* ViewData) {
  TEXTMETRICA Metrics{};
  {
    TScreenDC Screen;
    TSelection Font(Screen.DC(), ViewData->Font ? ViewData->Font : GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(Screen.DC(), &Metrics);
  }
  if (Self->IsInplace()) return Metrics.tmHeight + 3;
  return Metrics.tmHeight + 2 * (GetSystemMetrics(SM_CYBORDER) + 1);
}

// ---------------------------------------------------------------------------------
// View data of a live editor

TdxEditViewData* TdxInplaceEdit::CreateViewData(bool /*PaintCopy*/) {
  TOwned<TdxEditViewData> ViewData(EditClass()->NewViewData());
  ViewData->Enabled = Enabled();
  ViewData->Focused = EditFocused();
  ViewData->Hot = IsHot();
  ViewData->BorderColor = FStyle->BorderColor();
  ViewData->BorderStyle = FStyle->BorderStyle();
  ViewData->ButtonStyle = FStyle->ButtonStyle();
  TdxEditButtonTransparence Transparence = FStyle->ButtonTransparence();
  ViewData->ButtonTransparent =
      Transparence == ebtAlways || (Transparence == ebtInactive && !ViewData->Hot);
  ViewData->FocusRectMode = false;
  ViewData->Edges = FStyle->Edges();
  ViewData->Shadow = FStyle->Shadow();
  ViewData->KeepBackgroundMode = false;
  ViewData->NoBackground = !ViewData->Focused && TransparentWhenInactive;
  ViewData->Offsets = FOffsets;
  ViewData->Bounds = Rect(0, 0, Width(), Height());
  ViewData->Alignment = FAlignment;
  ViewData->VerticalLayout = 0;
  if (ViewData->Enabled) {
    ViewData->Brush = Brush()->Handle();
    ViewData->BackgroundColor = ColorToRGB(Color());
    ViewData->TextColor = ColorToRGB(Font()->Color());
  } else {
    ViewData->Brush = GetSysColorBrush(COLOR_BTNFACE);
    ViewData->BackgroundColor = GetSysColor(COLOR_BTNFACE);
    ViewData->TextColor = GetSysColor(COLOR_GRAYTEXT);
  }
  ViewData->Font = Font()->Handle();
  ViewData->NativeEdit = IsNativeEdit();
  ViewData->MeasureOnly = false;
  ViewData->Cursor = Cursor();
  if (ViewData->Hot && FStyle->HotTrack()) {
    switch (ViewData->BorderStyle) {
      case xbsNone: ViewData->BorderStyle = xbsFlat; break;
      case xbsSingle: ViewData->BorderColor = dxHotBorderColor; break;
      case xbsFlat: ViewData->BorderStyle = xbs3D; break;
      default: break;
    }
  }
  if (ViewData->ButtonStyle == btsDefault) {
    switch (ViewData->BorderStyle) {
      case xbsNone: ViewData->ButtonStyle = btsSimple; break;
      case xbsSingle: ViewData->ButtonStyle = btsHotFlat; break;
      case xbsFlat: ViewData->ButtonStyle = btsFlat; break;
      default: ViewData->ButtonStyle = bts3D; break;
    }
  }
  return ViewData.release();
}

void TdxInplaceEdit::Relayout() {
  if (!HandleAllocated() || FRelayingOut || !FStyle || ComponentState().Contains(csDestroying)) return;
  FRelayingOut = true;
  auto Done = ScopeExit([&] { FRelayingOut = false; });
  TOwned<TdxEditViewData> ViewData(CreateViewData(false));
  TdxEditDrawInfo DrawInfo;
  EditClass()->CalcDrawInfo(ViewData.get(), AutoSize() && !InPlace(), DrawInfo);
  const TRect& Outer = DrawInfo.OuterRect;
  SetBounds(Left(), Top(), Outer.right - Outer.left, Outer.bottom - Outer.top);
  const bool NeedsRegion = DrawInfo.ShadowSize > 0 || DrawInfo.BorderSize < 2 || !DrawInfo.LeftEdge ||
                           !DrawInfo.TopEdge || !DrawInfo.RightEdge || !DrawInfo.BottomEdge;
  TOwnedRegion Region;
  if (NeedsRegion) {
    Region.Reset(CountHandle(CreateRectRgnIndirect(&DrawInfo.BorderRect)));
    if (DrawInfo.ShadowSize > 0) {
      TOwnedRegion ShadowRegion(CountHandle(CreateRectRgnIndirect(&DrawInfo.ShadowRect)));
      CombineRgn(Region.Handle(), Region.Handle(), ShadowRegion.Handle(), RGN_OR);
    }
  }
  SetWindowRegion(Handle(), std::move(Region), true);
}

void TdxInplaceEdit::PaintWindow(HDC DC) {
  TRect Client = GetClientRect();
  if (Client.right > Client.left) {
    TOwned<TdxEditViewData> ViewData(CreateViewData(false));
    EditClass()->DrawContent(DC, Client, true, ViewData.get());
  }
  inherited::PaintWindow(DC);
}

// ---------------------------------------------------------------------------------
// Start and end

void InitdxCntner() {
  InitEditStyles();
  ShadowBrush = SolidBrush(ColorToRGB(clBtnShadow));
  // The height is written as a defined property, only when it does not follow the
  // font.
  TPublish<TdxInplaceEdit> P;
  P.Prop("Height", &TControl::Height, &TControl::SetHeight).Stored(false);
  // Reading a kept value keeps it again.
  P.Prop("Alignment", &TdxInplaceEdit::Alignment, &TdxInplaceEdit::SetAlignment)
      .Stored(dxValueKept<esvAlignment>)
      .NoDefault();
  P.Prop("ReadOnly", &TdxInplaceEdit::ReadOnly, &TdxInplaceEdit::SetReadOnly)
      .Stored(dxValueKept<esvReadOnly>)
      .NoDefault();
  // Each class chooses how its editors start (in place with neither parent flag and
  // no tab stop, outside a container with all three, a text editor without the
  // parent's colour): a form file says where a flag differs from that start.
  P.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
      .Stored([](TdxInplaceEdit* Edit) {
        return Edit->ParentColor() != dxStartFlags(Edit).ParentColor;
      })
      .NoDefault();
  P.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
      .Stored([](TdxInplaceEdit* Edit) {
        return Edit->TabStop() != dxStartFlags(Edit).TabStop;
      })
      .NoDefault();
  P.Prop("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D)
      .Stored([](TdxInplaceEdit* Edit) {
        return Edit->ParentCtl3D() != dxStartFlags(Edit).ParentCtl3D;
      })
      .NoDefault();
}

void DonedxCntner() {
  UnRegisterPublished(&TdxInplaceEdit::StaticClass());
  dxForgetStartFlags();
  ReleaseSharedObject(ShadowBrush);
  ShadowBrush = nullptr;
  ReleaseSharedObject(LastBorderBrush);
  LastBorderBrush = nullptr;
  DoneEditStyles();
}
