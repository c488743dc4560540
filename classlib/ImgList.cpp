#include "classlib/ImgList.h"

#include "classlib/Classes_Streaming.h"
#include "classlib/GdiScopes.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------
// TChangeLink

TCLASS_IMPL(TChangeLink)

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange.Assigned()) OnChange(FSender);
}

// ---------------------------------------------------------------------------------
// TCustomImageList

TCLASS_IMPL(TCustomImageList)
TCLASS_IMPL(TImageList)

namespace {

COLORREF ImageListColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return ColorToRGB(Color);
}

// The raster operation that paints the brush where the source is white and keeps
// the destination where it is black.
constexpr DWORD RopBrushOnWhite = 0x00E20746;

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight)
    : TComponent(nullptr), FWidth(AWidth), FHeight(AHeight) {
  if (AWidth < 1 || AHeight < 1) throw EInvalidOperation(SInvalidImageSize);
}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* Link : FLinks) Link->SetSender(nullptr);
  FreeHandle();
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) CreateList();
  return FHandle;
}

void TCustomImageList::CreateList() {
  static const UINT DepthFlags[] = {ILC_COLORDDB, ILC_COLOR4,  ILC_COLOR8,
                                    ILC_COLOR16,  ILC_COLOR24, ILC_COLOR32};
  const UINT Flags = DepthFlags[FColorDepth] | (FMasked ? ILC_MASK : 0);
  FHandle = CountHandle(ImageList_Create(FWidth, FHeight, Flags, 4, 4));
  if (!FHandle) throw EOutOfResources(SOutOfResources);
  ImageList_SetBkColor(FHandle, ImageListColor(FBkColor));
}

void TCustomImageList::FreeHandle() {
  if (!FHandle) return;
  ImageList_Destroy(FHandle);
  CountHandleFreed();
  FHandle = nullptr;
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  if (AWidth < 1 || AHeight < 1) throw EInvalidOperation(SInvalidImageSize);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FreeHandle();
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth Value) {
  if (Value == FColorDepth) return;
  FColorDepth = Value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, ImageListColor(Value));
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

int TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) return -1;
  HIMAGELIST List = Handle();
  // Handle takes each DIB out of its bitmap's DC, so the list can select it.
  int Result = ImageList_Add(List, Image->Handle(), Mask ? Mask->Handle() : nullptr);
  if (Result < 0) throw EInvalidOperation(SInsertImage);
  Change();
  return Result;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) return -1;
  const TColor Key = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
  // The system blackens the masked pixels of the bitmap it gets: give it a copy.
  TOwned<TBitmap> Copy(NewObject<TBitmap>());
  Copy->Assign(Image);
  HIMAGELIST List = Handle();
  int Result = ImageList_AddMasked(List, Copy->Handle(), ColorToRGB(Key) & 0xFFFFFF);
  if (Result < 0) throw EInvalidOperation(SInsertImage);
  Change();
  return Result;
}

void TCustomImageList::CheckIndex(int Index) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(SImageIndexError);
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index,
                            TDrawingStyle ADrawingStyle, TImageType AImageType,
                            bool Enabled) {
  DrawWithFlags(Canvas, X, Y, Index, ADrawingStyle, AImageType, Enabled, 0);
}

void TCustomImageList::DrawWithFlags(TCanvas* Canvas, int X, int Y, int Index,
                                     TDrawingStyle ADrawingStyle, TImageType AImageType,
                                     bool Enabled, UINT Flags) {
  if (!FHandle || Index < 0 || Index >= Count()) return;
  HDC DC = Canvas->Handle();
  if (!Enabled) {
    DrawDisabled(DC, X, Y, Index);
    return;
  }
  static const UINT Styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  UINT Style = Styles[ADrawingStyle] | Flags;
  if (AImageType == itMask) Style |= ILD_MASK;
  ImageList_DrawEx(FHandle, Index, DC, X, Y, 0, 0, ImageListColor(FBkColor),
                   ImageListColor(FBlendColor), Style);
}

void TCustomImageList::DrawDisabled(HDC DC, int X, int Y, int Index) {
  // The image over white, then its silhouette as a monochrome bitmap: 1 where the
  // image has a pixel that is not white.
  TOwned<TBitmap> Image(NewObject<TBitmap>(FWidth, FHeight));
  ImageList_DrawEx(FHandle, Index, Image->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE,
                   CLR_NONE, ILD_NORMAL);
  TOwned<TBitmap> Shape(NewObject<TBitmap>());
  Shape->SetPixelFormat(pf1bit);
  Shape->SetSize(FWidth, FHeight);
  for (int Row = 0; Row < FHeight; ++Row) {
    const DWORD* In = static_cast<const DWORD*>(Image->ScanLine(Row));
    Byte* Out = static_cast<Byte*>(Shape->ScanLine(Row));
    std::memset(Out, 0, Shape->RowStride());
    for (int Col = 0; Col < FWidth; ++Col)
      if ((In[Col] & 0xFFFFFF) != 0xFFFFFF) Out[Col / 8] |= Byte(0x80 >> (Col % 8));
  }
  // Embossed: the highlight one pixel down and right, the shadow over it.
  TOwned<TBrush> Highlight(NewObject<TBrush>());
  Highlight->SetColor(clBtnHighlight);
  TOwned<TBrush> Shadow(NewObject<TBrush>());
  Shadow->SetColor(clBtnShadow);
  HDC ShapeDC = Shape->Canvas()->Handle();
  TSavedTextState Saved(DC);
  SetTextColor(DC, RGB(0, 0, 0));
  ::SetBkColor(DC, RGB(255, 255, 255));
  TSelection Brush(DC, Highlight->Handle());
  BitBlt(DC, X + 1, Y + 1, FWidth, FHeight, ShapeDC, 0, 0, RopBrushOnWhite);
  Brush.Select(Shadow->Handle());
  BitBlt(DC, X, Y, FWidth, FHeight, ShapeDC, 0, 0, RopBrushOnWhite);
}

// ---------------------------------------------------------------------------------
// Overlays

namespace {

constexpr TOverlay MaxOverlay = 14;  // the system keeps overlays 1 .. 15

}  // namespace

bool TCustomImageList::Overlay(int ImageIndex, TOverlay AOverlay) {
  if (AOverlay < 0 || AOverlay > MaxOverlay || ImageIndex < 0 || ImageIndex >= Count())
    return false;
  return ImageList_SetOverlayImage(FHandle, ImageIndex, AOverlay + 1) != FALSE;
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, int X, int Y, int Index, TOverlay AOverlay,
                                   bool Enabled) {
  const UINT Flags =
      AOverlay >= 0 && AOverlay <= MaxOverlay ? INDEXTOOVERLAYMASK(AOverlay + 1) : 0;
  DrawWithFlags(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled, Flags);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  Value->SetSender(this);
  if (std::find(FLinks.begin(), FLinks.end(), Value) == FLinks.end())
    FLinks.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto It = std::find(FLinks.begin(), FLinks.end(), Value);
  if (It == FLinks.end()) return;
  FLinks.erase(It);
  Value->SetSender(nullptr);
}

void TCustomImageList::Change() {
  const std::vector<TChangeLink*> Links = FLinks;  // a link may unregister itself
  for (TChangeLink* Link : Links) Link->Change();
  if (OnChange.Assigned()) OnChange(this);
}

// ---------------------------------------------------------------------------------
// Form files

void TCustomImageList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Bitmap", TStreamProc::Bind<&TCustomImageList::ReadData>(this),
                              TStreamProc::Bind<&TCustomImageList::WriteData>(this), Count() > 0);
}

void TCustomImageList::ReadData(TStream* Stream) {
  std::int32_t Images = 0;
  Stream->ReadBuffer(&Images, sizeof(Images));
  Clear();
  if (Images <= 0) return;
  TOwned<TBitmap> Image(NewObject<TBitmap>());
  Image->LoadFromStream(Stream);
  TOwned<TBitmap> Mask;
  if (Stream->Position() < Stream->Size()) {
    Mask.reset(NewObject<TBitmap>());
    Mask->LoadFromStream(Stream);
  }
  if (Image->Width() != static_cast<Int64>(Images) * FWidth || Image->Height() != FHeight)
    throw EInvalidGraphic(SInvalidBitmap);
  Add(Image.get(), Mask.get());
}

void TCustomImageList::WriteData(TStream* Stream) {
  std::int32_t Images = Count();
  Stream->WriteBuffer(&Images, sizeof(Images));
  if (Images == 0) return;
  // Drawn as they are, the masked parts black, without the background colour.
  COLORREF Background = ImageList_SetBkColor(Handle(), CLR_NONE);
  TOwned<TBitmap> Image(NewObject<TBitmap>(Images * FWidth, FHeight));
  Image->SetPixelFormat(pf32bit);
  Image->Canvas()->Brush()->SetColor(clBlack);
  Image->Canvas()->FillRect(Rect(0, 0, Images * FWidth, FHeight));
  for (int I = 0; I < Images; ++I)
    ImageList_Draw(FHandle, I, Image->Canvas()->Handle(), I * FWidth, 0, ILD_NORMAL);
  TOwned<TBitmap> Mask;
  if (FMasked) {
    Mask.reset(NewObject<TBitmap>(Images * FWidth, FHeight));
    Mask->Canvas()->Brush()->SetColor(clWhite);
    Mask->Canvas()->FillRect(Rect(0, 0, Images * FWidth, FHeight));
    for (int I = 0; I < Images; ++I)
      ImageList_Draw(FHandle, I, Mask->Canvas()->Handle(), I * FWidth, 0, ILD_MASK);
    Mask->SetMonochrome(true);
  }
  ImageList_SetBkColor(FHandle, Background);
  GdiFlush();
  Image->SaveToStream(Stream);
  if (Mask) Mask->SaveToStream(Stream);
}

void InitImgList() {
  RegisterClass(&TImageList::StaticClass());
  TPublish<TCustomImageList> P;
  P.Prop("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .Default(clNone);
  P.Prop("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .Default(clNone);
  P.Prop("ColorDepth", &TCustomImageList::ColorDepth, &TCustomImageList::SetColorDepth);
  P.Prop("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle).Default(dsNormal);
  P.Prop("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType);
  P.Prop("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
  // The size before the images, which a change of size would clear.
  P.Prop("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
  P.Prop("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
  P.Prop("OnChange", &TCustomImageList::OnChange);
}

void DoneImgList() {
  UnRegisterPublished(&TCustomImageList::StaticClass());
  UnRegisterClass(&TImageList::StaticClass());
}

bool ReplaceImageList(TComponent* Holder, TCustomImageList*& Field, TChangeLink* Link,
                      TCustomImageList* Value, bool KeepOldNotification) {
  if (Field == Value) return false;
  if (Field) {
    Field->UnRegisterChanges(Link);
    if (!KeepOldNotification) Field->RemoveFreeNotification(Holder);
  }
  Field = Value;
  if (Value) {
    Value->RegisterChanges(Link);
    Value->FreeNotification(Holder);
  }
  return true;
}
