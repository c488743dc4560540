// The graphic editor's cells: the class-level layout questions and DrawContent, which
// paints the picture natural-size (centred or at the top-left) or stretched with its
// aspect ratio, transparent graphics over the background through the buffer bitmap,
// and the selection shading over the whole cell.
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr_Graphic.h"

namespace {

int RectWidth(const TRect& R) { return R.right - R.left; }
int RectHeight(const TRect& R) { return R.bottom - R.top; }

// Where the graphic goes inside Content.
TRect GraphicRect(const TdxGraphicEditViewData* Data, const TGraphic* Graphic, const TRect& Content) {
  const int Width = Graphic->Width();
  const int Height = Graphic->Height();
  const int ContentWidth = RectWidth(Content);
  const int ContentHeight = RectHeight(Content);
  if (!Data->Stretch) {
    TRect R = Rect(Content.left, Content.top, Content.left + Width, Content.top + Height);
    // Half the free room, rounded towards zero (negative when the graphic is larger).
    if (Data->Center) OffsetRect(&R, (ContentWidth - Width) / 2, (ContentHeight - Height) / 2);
    return R;
  }
  if (Width <= 0 || Height <= 0) return Rect(Content.left, Content.top, Content.left, Content.top);
  // The largest rectangle of the graphic's shape at the top-left: as wide as the
  // content when the content is relatively taller, else as high.
  if (static_cast<long long>(ContentHeight) * Width > static_cast<long long>(ContentWidth) * Height)
    return Rect(Content.left, Content.top, Content.left + ContentWidth,
                Content.top + static_cast<int>(static_cast<long long>(Height) * ContentWidth / Width));
  return Rect(Content.left, Content.top,
              Content.left + static_cast<int>(static_cast<long long>(Width) * ContentHeight / Height),
              Content.top + ContentHeight);
}

void FillBackground(HDC DC, const TRect& R, const TdxEditViewData* ViewData) {
  if (!ViewData->NoBackground && ViewData->Brush) FillRect(DC, &R, ViewData->Brush);
}

// A canvas over a DC for drawing a graphic; the DC gets its own objects back after.
class TDrawCanvas {
 public:
  explicit TDrawCanvas(HDC DC) : FCanvas(NewObject<TCanvas>()) { FCanvas->SetHandle(DC); }
  TDrawCanvas(const TDrawCanvas&) = delete;
  TDrawCanvas& operator=(const TDrawCanvas&) = delete;
  ~TDrawCanvas() { FCanvas->SetHandle(nullptr); }
  TCanvas* operator->() const { return FCanvas.get(); }

 private:
  TOwned<TCanvas> FCanvas;
};

void PaintPicture(HDC DC, const TRect& R, TdxGraphicEditViewData* Data) {
  TGraphic* Graphic = Data->Picture->Graphic();
  TSavedDC SavedClip(DC);
  TRect Cell = R;
  if (Data->DrawFrame) {
    FrameRect(DC, &Cell, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&Cell, -1, -1);
    IntersectClipRect(DC, Cell.left, Cell.top, Cell.right, Cell.bottom);
  }
  const TRect& Off = Data->Offsets;
  const TRect Content = Rect(Cell.left + Off.left, Cell.top + Off.top, Cell.right - Off.right, Cell.bottom - Off.bottom);
  const TRect Target = GraphicRect(Data, Graphic, Content);
  if (!Graphic->Transparent()) {
    TDrawCanvas(DC)->StretchDraw(Target, Graphic);
    ExcludeClipRect(DC, Target.left, Target.top, Target.right, Target.bottom);
    FillBackground(DC, Cell, Data);
    return;
  }
  if (!Data->Buffer) {
    FillBackground(DC, Cell, Data);
    TDrawCanvas(DC)->StretchDraw(Target, Graphic);
    return;
  }
  // Background and graphic meet in the buffer, which reaches the screen in one copy.
  TBitmap* Buffer = Data->Buffer;
  EnsureBitmapSize(Buffer, RectWidth(Cell), RectHeight(Cell));
  TCanvas* Canvas = Buffer->Canvas();
  const TRect Local = Rect(0, 0, RectWidth(Cell), RectHeight(Cell));
  if (Data->Brush) FillRect(Canvas->Handle(), &Local, Data->Brush);
  TRect Shifted = Target;
  OffsetRect(&Shifted, -Cell.left, -Cell.top);
  Canvas->StretchDraw(Shifted, Graphic);
  BitBlt(DC, Cell.left, Cell.top, RectWidth(Cell), RectHeight(Cell), Canvas->Handle(), 0, 0, SRCCOPY);
}

void PaintCell(HDC DC, const TRect& R, TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData);
  if (Data && !IsPictureEmpty(Data->Picture)) {
    PaintPicture(DC, R, Data);
    return;
  }
  FillBackground(DC, R, ViewData);
  if (Data && !Data->Text.empty()) {
    TRect TextRect = R;
    InflateRect(&TextRect, -1, -1);
    DrawTextInRect(DC, Data->Text.c_str(), -1, nullptr, static_cast<TColor>(ViewData->TextColor),
                   static_cast<TColor>(ViewData->BackgroundColor), ViewData->Font, ViewData->Brush,
                   DXTR_LEFT | DXTR_NOFILL, TextRect, R);
  }
}

}  // namespace

TdxEditViewDataClass TdxInplaceGraphicEdit::GetViewDataClass(MetaType::TSelf /*Self*/) {
  return &TdxGraphicEditViewData::StaticClass();
}

TRect TdxInplaceGraphicEdit::GetButtonsRect(MetaType::TSelf Self, TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData);
  if (Data && !IsPictureEmpty(Data->Picture)) return Rect(0, 0, Data->Picture->Width(), Data->Picture->Height());
  return inherited::GetButtonsRect(Self, ViewData);
}

void TdxInplaceGraphicEdit::CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                                         TdxEditDrawInfo& DrawInfo) {
  auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData);
  if (!Data || IsPictureEmpty(Data->Picture)) AutoHeight = false;
  inherited::CalcDrawInfo(Self, ViewData, AutoHeight, DrawInfo);
}

bool TdxInplaceGraphicEdit::DrawContent(MetaType::TSelf /*Self*/, HDC DC, const TRect& R, bool /*IsWindow*/,
                                        TdxEditViewData* ViewData) {
  auto* Data = ObjectAs<TdxGraphicEditViewData>(ViewData);
  if (ViewData->MeasureOnly) {
    const bool Natural = Data && !Data->Stretch && !IsPictureEmpty(Data->Picture);
    ViewData->NeededHeight = Natural ? Data->Picture->Height() : 0;
    return true;
  }
  if (!Data || !Data->ShadowSelection) {
    PaintCell(DC, R, ViewData);
    return true;
  }
  // The shading goes over the finished cell, which reaches the screen in one copy; the
  // buffer holds the part of the cell the DC shows.
  const TRect Shown = ShownPart(DC, R);
  const int Width = RectWidth(Shown);
  const int Height = RectHeight(Shown);
  if (Width <= 0 || Height <= 0) return true;
  TMemoryDC Buffer(DC, Width, Height);
  SetWindowOrgEx(Buffer.DC(), Shown.left, Shown.top, nullptr);
  PaintCell(Buffer.DC(), R, ViewData);
  DrawCheckerOverlay(Buffer.DC(), R, Data->ShadowSelectionColor);
  BitBlt(DC, Shown.left, Shown.top, Width, Height, Buffer.DC(), Shown.left, Shown.top, SRCCOPY);
  return true;
}
