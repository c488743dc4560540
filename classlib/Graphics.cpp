#include "classlib/Graphics.h"

#include "classlib/Classes_Streaming.h"
#include "classlib/FileUtils.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"

// ---------------------------------------------------------------------------------
// Handle bookkeeping

namespace {
int GHandleCount = 0;
// Objects made, by GetObjectType's answer (OBJ_COLORSPACE is the last type).
int GMadeByType[OBJ_COLORSPACE + 1] = {};
}  // namespace

int GdiHandleCount() { return GHandleCount; }

void CountHandleMade(DWORD ObjectType) {
  ++GHandleCount;
  ++GMadeByType[ObjectType <= OBJ_COLORSPACE ? ObjectType : 0];
}

void CountHandleFreed() { --GHandleCount; }

int GdiObjectsMade(DWORD ObjectType) {
  return ObjectType <= OBJ_COLORSPACE ? GMadeByType[ObjectType] : 0;
}

void DeleteCountedObject(HGDIOBJ Object) {
  if (!Object) return;
  DeleteObject(Object);
  CountHandleFreed();
}

void DeleteCountedDC(HDC DC) {
  if (!DC) return;
  DeleteDC(DC);
  CountHandleFreed();
}

// ---------------------------------------------------------------------------------
// Colours

namespace {
const struct {
  TColor Color;
  const char* Name;
} ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};
}  // namespace

bool ColorToIdent(int Color, AnsiString& Ident) {
  for (const auto& Entry : ColorNames)
    if (Entry.Color == Color) {
      Ident = Entry.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const AnsiString& Ident, int& Color) {
  for (const auto& Entry : ColorNames)
    if (SameText(Entry.Name, Ident)) {
      Color = Entry.Color;
      return true;
    }
  // The other names of two colours.
  if (SameText(Ident, "clLtGray")) return Color = clLtGray, true;
  if (SameText(Ident, "clDkGray")) return Color = clDkGray, true;
  return false;
}

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

int ScreenLogPixels() {
  static int Value = 0;
  if (Value == 0) {
    TScreenDC Screen;
    Value = GetDeviceCaps(Screen.DC(), LOGPIXELSY);
    if (Value <= 0) Value = 96;
  }
  return Value;
}

TCLASS_IMPL(EOutOfResources)
TCLASS_IMPL(EInvalidGraphic)
TCLASS_IMPL(EInvalidGraphicOperation)

// ---------------------------------------------------------------------------------
// TGraphicsObject

TCLASS_IMPL(TGraphicsObject)

TGraphicsObject::~TGraphicsObject() { ReleaseSharedObject(FHandle); }

HGDIOBJ TGraphicsObject::GetHandle() {
  if (!FHandle) FHandle = CreateHandle();
  return FHandle;
}

void TGraphicsObject::Changed() {
  if (OnChange.Assigned()) OnChange(this);
}

void TGraphicsObject::HandleChanged() {
  // The listeners let go of the old object (a canvas takes it out of its DC) before
  // it is deleted.
  TSharedObject<HGDIOBJ> Old(std::exchange(FHandle, nullptr));
  Changed();
}

// ---------------------------------------------------------------------------------
// TFont

TCLASS_IMPL(TFont)

TFont::TFont() : FPixelsPerInch(ScreenLogPixels()) {
  FData.Name = "MS Sans Serif";
  FData.Height = -MulDiv(8, FPixelsPerInch, 72);
}

bool TFont::TDescription::OtherObject(const TDescription& Other) const {
  return Name != Other.Name || Height != Other.Height || Charset != Other.Charset || Style != Other.Style ||
         Pitch != Other.Pitch;
}

void TFont::Change(const TDescription& Value) {
  const TDescription Old = std::exchange(FData, Value);
  const bool NewObject = FData.OtherObject(Old);
  // The listeners hear of the old description again when one of them refuses the new
  // one; they held it before, so they take it, and nothing may raise out of an undo.
  auto Undo = ScopeExit([&] {
    FData = Old;
    TFlagScope Undoing(FUndoing);
    try {
      if (NewObject) HandleChanged(); else Changed();
    } catch (...) {
    }
  });
  if (NewObject)
    HandleChanged();
  else
    Changed();
  Undo.Dismiss();
}

TFont::TDescription TFont::Taken(const TFont* Font) const {
  TDescription Value = Font->FData;
  if (FPixelsPerInch != Font->FPixelsPerInch)  // the same size in points
    Value.Height = -MulDiv(Font->Size(), FPixelsPerInch, 72);
  return Value;
}

bool TFont::SameAs(const TFont* Font) const {
  const TDescription Value = Taken(Font);
  return !Value.OtherObject(FData) && Value.Color == FData.Color;
}

void TFont::Assign(TPersistent* Source) {
  TFont* Font = ObjectAs<TFont>(Source);
  if (!Font) {
    inherited::Assign(Source);
    return;
  }
  Change(Taken(Font));
}

void TFont::SetName(const AnsiString& Value) {
  if (Value.empty() || Value == FData.Name) return;
  TDescription New = FData;
  New.Name = Value;
  Change(New);
}

int TFont::Size() const { return -MulDiv(FData.Height, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetHeight(int Value) {
  if (Value == FData.Height) return;
  TDescription New = FData;
  New.Height = Value;
  Change(New);
}

void TFont::SetColor(TColor Value) {
  if (Value == FData.Color) return;
  TDescription New = FData;
  New.Color = Value;
  Change(New);
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FData.Charset) return;
  TDescription New = FData;
  New.Charset = Value;
  Change(New);
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FData.Style) return;
  TDescription New = FData;
  New.Style = Value;
  Change(New);
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FData.Pitch) return;
  TDescription New = FData;
  New.Pitch = Value;
  Change(New);
}

void TFont::SetLogFont(const LOGFONTA& Log) {
  TDescription New = FData;
  New.Name = Log.lfFaceName[0] ? AnsiString(Log.lfFaceName) : FData.Name;
  New.Height = Log.lfHeight;
  New.Charset = Log.lfCharSet;
  New.Style = TFontStyles();
  if (Log.lfWeight >= FW_BOLD) New.Style.Include(fsBold);
  if (Log.lfItalic) New.Style.Include(fsItalic);
  if (Log.lfUnderline) New.Style.Include(fsUnderline);
  if (Log.lfStrikeOut) New.Style.Include(fsStrikeOut);
  switch (Log.lfPitchAndFamily & 0x0F) {
    case VARIABLE_PITCH: New.Pitch = fpVariable; break;
    case FIXED_PITCH: New.Pitch = fpFixed; break;
    default: New.Pitch = fpDefault; break;
  }
  if (New.OtherObject(FData)) Change(New);
}

HGDIOBJ TFont::CreateHandle() {
  LOGFONTA Font{};
  Font.lfHeight = FData.Height;
  Font.lfWeight = FData.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  Font.lfItalic = FData.Style.Contains(fsItalic);
  Font.lfUnderline = FData.Style.Contains(fsUnderline);
  Font.lfStrikeOut = FData.Style.Contains(fsStrikeOut);
  Font.lfCharSet = FData.Charset;
  Font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  Font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Font.lfQuality = DEFAULT_QUALITY;
  Font.lfPitchAndFamily = FData.Pitch == fpVariable ? VARIABLE_PITCH
                          : FData.Pitch == fpFixed  ? FIXED_PITCH
                                                    : DEFAULT_PITCH;
  lstrcpynA(Font.lfFaceName, FData.Name.c_str(), LF_FACESIZE);
  return AcquireSharedFont(Font);
}

// ---------------------------------------------------------------------------------
// TPen

TCLASS_IMPL(TPen)

void TPen::Assign(TPersistent* Source) {
  TPen* Pen = ObjectAs<TPen>(Source);
  if (!Pen) {
    inherited::Assign(Source);
    return;
  }
  const bool SameObject = FColor == Pen->FColor && FStyle == Pen->FStyle && FWidth == Pen->FWidth;
  FColor = Pen->FColor;
  FStyle = Pen->FStyle;
  FWidth = Pen->FWidth;
  FMode = Pen->FMode;
  if (SameObject)
    Changed();
  else
    HandleChanged();
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  HandleChanged();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  HandleChanged();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  HandleChanged();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

HGDIOBJ TPen::CreateHandle() {
  // The styles are declared in the order of the PS_* values.
  LOGPEN Pen{};
  Pen.lopnStyle = static_cast<UINT>(FStyle);
  Pen.lopnWidth.x = FWidth;
  Pen.lopnColor = ColorToRGB(FColor);
  return AcquireSharedPen(Pen);
}

// ---------------------------------------------------------------------------------
// TBrush

TCLASS_IMPL(TBrush)

void TBrush::Assign(TPersistent* Source) {
  TBrush* Brush = ObjectAs<TBrush>(Source);
  if (!Brush) {
    inherited::Assign(Source);
    return;
  }
  const bool SameObject = FColor == Brush->FColor && FStyle == Brush->FStyle;
  FColor = Brush->FColor;
  FStyle = Brush->FStyle;
  if (SameObject)
    Changed();
  else
    HandleChanged();
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  HandleChanged();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  HandleChanged();
}

HGDIOBJ TBrush::CreateHandle() {
  LOGBRUSH Brush{};
  Brush.lbColor = ColorToRGB(FColor);
  if (FStyle == bsSolid) {
    Brush.lbStyle = BS_SOLID;
  } else if (FStyle == bsClear) {
    Brush.lbStyle = BS_HOLLOW;
  } else {
    Brush.lbStyle = BS_HATCHED;
    Brush.lbHatch = FStyle - bsHorizontal;  // HS_HORIZONTAL onwards, in the same order
  }
  return AcquireSharedBrush(Brush);
}

// ---------------------------------------------------------------------------------
// TCanvas

TCLASS_IMPL(TCanvas)

namespace {
const int PenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                        R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                        R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                        R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
}  // namespace

TCanvas::TCanvas()
    : FFont(NewObject<TFont>()), FPen(NewObject<TPen>()), FBrush(NewObject<TBrush>()) {
  FFont->OnChange = TNotifyEvent::Bind<&TCanvas::FontChanged>(this);
  FPen->OnChange = TNotifyEvent::Bind<&TCanvas::PenChanged>(this);
  FBrush->OnChange = TNotifyEvent::Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  FBrush->Free();
  FPen->Free();
  FFont->Free();
}

HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  if (FHandle) {
    DeselectFont();
    DeselectPen();
    DeselectBrush();
    GetCurrentPositionEx(FHandle, &FPenPos);
    FHandle = nullptr;
    FState = {};
  }
  if (Value) {
    FHandle = Value;
    FState.Include(csHandleValid);
    MoveToEx(FHandle, FPenPos.x, FPenPos.y, nullptr);
  }
}

void TCanvas::RequiredState(TCanvasState State) {
  TCanvasState Needed = State - FState;
  if (Needed.Empty()) return;
  if (Needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(SNoCanvasHandle);
  }
  if (Needed.Contains(csFontValid)) SelectFont();
  if (Needed.Contains(csPenValid)) SelectPen();
  if (Needed.Contains(csBrushValid)) SelectBrush();
}

// Each Select keeps the object it displaces, the DC's own, for the matching Deselect.
void TCanvas::SelectFont() {
  FOldFont = SelectObject(FHandle, FFont->Handle());
  SetTextColor(FHandle, ColorToRGB(FFont->Color()));
  FState.Include(csFontValid);
}

void TCanvas::SelectPen() {
  FOldPen = SelectObject(FHandle, FPen->Handle());
  SetROP2(FHandle, PenModes[FPen->Mode()]);
  FState.Include(csPenValid);
}

void TCanvas::SelectBrush() {
  FOldBrush = SelectObject(FHandle, FBrush->Handle());
  COLORREF Color = ColorToRGB(FBrush->Color());
  if (FBrush->Style() == bsSolid) {
    SetBkColor(FHandle, Color);
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~Color & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState.Include(csBrushValid);
}

void TCanvas::DeselectFont() {
  if (FOldFont) SelectObject(FHandle, FOldFont);
  FOldFont = nullptr;
  FState.Exclude(csFontValid);
}

void TCanvas::DeselectPen() {
  if (FOldPen) SelectObject(FHandle, FOldPen);
  FOldPen = nullptr;
  FState.Exclude(csPenValid);
}

void TCanvas::DeselectBrush() {
  if (FOldBrush) SelectObject(FHandle, FOldBrush);
  FOldBrush = nullptr;
  FState.Exclude(csBrushValid);
}

void TCanvas::FontChanged(TObject*) { DeselectFont(); }
void TCanvas::PenChanged(TObject*) { DeselectPen(); }
void TCanvas::BrushChanged(TObject*) { DeselectBrush(); }

void TCanvas::Refresh() {
  if (!FHandle) return;
  DeselectFont();
  DeselectPen();
  DeselectBrush();
}

void TCanvas::Changing() {
  if (OnChanging.Assigned()) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange.Assigned()) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  TPoint Result;
  GetCurrentPositionEx(FHandle, &Result);
  return Result;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  TRect Result;
  GetClipBox(FHandle, &Result);
  return Result;
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &R, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &R, FBrush->Handle());
  Changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutA(FHandle, X, Y, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()),
              nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT Options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOutA(FHandle, X, Y, Options, &R, Text.data(), static_cast<UINT>(Text.size()),
              nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
  RequiredState({csHandleValid, csFontValid});
  TSize Result{0, 0};
  GetTextExtentPoint32A(FHandle, Text.data(), static_cast<int>(Text.size()), &Result);
  return Result;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC SourceDC = Canvas->Handle();
  StretchBlt(FHandle, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top,
             SourceDC, Source.left, Source.top, Source.right - Source.left,
             Source.bottom - Source.top, FCopyMode);
  Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

// ---------------------------------------------------------------------------------
// TGraphic

TCLASS_IMPL(TGraphic)

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TOwned<TFileStream> Stream(
      NewObject<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TOwned<TFileStream> Stream(NewObject<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get());
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE) {
  throw EInvalidGraphic(SUnknownClipboardFormat);
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&) {
  throw EInvalidGraphic(SUnknownClipboardFormat);
}

void TGraphic::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Data", TStreamProc::Bind<&TGraphic::ReadData>(this),
                              TStreamProc::Bind<&TGraphic::WriteData>(this), !Empty());
}

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }
void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange.Assigned()) OnChange(this);
}

// ---------------------------------------------------------------------------------
// TPicture

TCLASS_IMPL(TPicture)

namespace {

struct TFileFormat {
  AnsiString Extension;  // lower case, without the dot
  AnsiString Description;
  TClass GraphicClass;
};

struct TClipboardFormat {
  UINT Format;
  TClass GraphicClass;
};

struct TGraphicFormats {
  std::vector<TFileFormat> Files;
  std::vector<TClipboardFormat> Clipboard;
};

// The registry, with the class library's own formats from its first use.
TGraphicFormats& GraphicFormats() {
  static TGraphicFormats Formats{
      {{"bmp", "Bitmaps", &TBitmap::StaticClass()},
       {"emf", "Enhanced Metafiles", &TMetafile::StaticClass()},
       {"ico", "Icons", &TIcon::StaticClass()}},
      {{CF_BITMAP, &TBitmap::StaticClass()}, {CF_ENHMETAFILE, &TMetafile::StaticClass()}}};
  return Formats;
}

TClass ClassOfClipboardFormat(UINT Format) {
  const auto& List = GraphicFormats().Clipboard;
  for (auto It = List.rbegin(); It != List.rend(); ++It)
    if (It->Format == Format) return It->GraphicClass;
  return nullptr;
}

TGraphic* NewGraphic(TClass GraphicClass) {
  TOwned<TObject> Object(GraphicClass->NewInstance());
  TGraphic* Graphic = ObjectAs<TGraphic>(Object.get());
  if (!Graphic)
    throw EInvalidGraphic("%s is no graphic class", {GraphicClass->ClassName()});
  Object.release();
  return Graphic;
}

}  // namespace

TPicture::~TPicture() { FreeObject(FGraphic); }

void TPicture::Replace(TGraphic* Value) {
  TGraphic* Old = FGraphic;
  FGraphic = Value;
  if (Value) Value->OnChange = TNotifyEvent::Bind<&TPicture::Changed>(this);
  FreeObject(Old);
  Changed(this);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source)
    SetGraphic(nullptr);
  else if (TPicture* Picture = ObjectAs<TPicture>(Source))
    SetGraphic(Picture->FGraphic);
  else if (TGraphic* Graphic = ObjectAs<TGraphic>(Source))
    SetGraphic(Graphic);
  else
    inherited::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  TGraphic* Graphic = ObjectAs<TGraphic>(Dest);
  if (Graphic && FGraphic && FGraphic->ClassType() == Graphic->ClassType())
    Graphic->Assign(FGraphic);
  else
    inherited::AssignTo(Dest);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    Replace(nullptr);
    return;
  }
  TOwned<TGraphic> Copy(NewGraphic(Value->ClassType()));
  Copy->Assign(Value);
  Replace(Copy.release());
}

template <class T>
T* TPicture::GraphicAs() {
  if (T* Graphic = ObjectAs<T>(FGraphic)) return Graphic;
  T* Graphic = NewObject<T>();
  Replace(Graphic);
  return Graphic;
}

TBitmap* TPicture::Bitmap() { return GraphicAs<TBitmap>(); }
TMetafile* TPicture::Metafile() { return GraphicAs<TMetafile>(); }
TIcon* TPicture::Icon() { return GraphicAs<TIcon>(); }

void TPicture::LoadFromFile(const AnsiString& FileName) {
  AnsiString Extension = ExtractFileExt(FileName);
  if (!Extension.empty() && Extension[0] == '.') Extension.erase(0, 1);
  TClass GraphicClass = GraphicClassOfExtension(Extension);
  if (!GraphicClass) throw EInvalidGraphic(SUnknownExtension, {Extension});
  TOwned<TGraphic> Graphic(NewGraphic(GraphicClass));
  Graphic->LoadFromFile(FileName);
  Replace(Graphic.release());
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromClipboardFormat(UINT Format, HANDLE Data) {
  TClass GraphicClass = ClassOfClipboardFormat(Format);
  if (!GraphicClass) throw EInvalidGraphic(SUnknownClipboardFormat);
  TOwned<TGraphic> Graphic(NewGraphic(GraphicClass));
  Graphic->LoadFromClipboardFormat(Format, Data);
  Replace(Graphic.release());
}

void TPicture::SaveToClipboardFormat(UINT& Format, HANDLE& Data) {
  if (!FGraphic) throw EInvalidGraphic(SUnknownClipboardFormat);
  FGraphic->SaveToClipboardFormat(Format, Data);
}

bool TPicture::SupportsClipboardFormat(UINT Format) {
  return ClassOfClipboardFormat(Format) != nullptr;
}

void TPicture::RegisterFileFormat(const AnsiString& Extension,
                                  const AnsiString& Description, TClass GraphicClass) {
  AnsiString Ext = LowerCase(Extension);
  if (!Ext.empty() && Ext[0] == '.') Ext.erase(0, 1);
  GraphicFormats().Files.push_back({Ext, Description, GraphicClass});
}

void TPicture::RegisterClipboardFormat(UINT Format, TClass GraphicClass) {
  GraphicFormats().Clipboard.push_back({Format, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TClass GraphicClass) {
  auto& Formats = GraphicFormats();
  std::erase_if(Formats.Files, [&](const TFileFormat& F) {
    return F.GraphicClass->InheritsFrom(GraphicClass);
  });
  std::erase_if(Formats.Clipboard, [&](const TClipboardFormat& F) {
    return F.GraphicClass->InheritsFrom(GraphicClass);
  });
}

TClass TPicture::GraphicClassOfExtension(const AnsiString& Extension) {
  const auto& List = GraphicFormats().Files;
  for (auto It = List.rbegin(); It != List.rend(); ++It)
    if (SameText(It->Extension, Extension)) return It->GraphicClass;
  return nullptr;
}

std::vector<UINT> TPicture::ClipboardFormats() {
  std::vector<UINT> Result;
  for (const TClipboardFormat& Format : GraphicFormats().Clipboard) Result.push_back(Format.Format);
  return Result;
}

AnsiString GraphicFilter(TClass GraphicClass) {
  AnsiString Masks;
  AnsiString Entries;
  for (const TFileFormat& Format : GraphicFormats().Files) {
    if (!Format.GraphicClass->InheritsFrom(GraphicClass)) continue;
    const AnsiString Mask = "*." + Format.Extension;
    if (!Masks.empty()) Masks += ';';
    Masks += Mask;
    Entries += '|' + Format.Description + " (" + Mask + ")|" + Mask;
  }
  if (Masks.empty()) return AnsiString();
  return "All (" + Masks + ")|" + Masks + Entries;
}

AnsiString GraphicExtension(TClass GraphicClass) {
  for (const TFileFormat& Format : GraphicFormats().Files)
    if (Format.GraphicClass->InheritsFrom(GraphicClass)) return Format.Extension;
  return AnsiString();
}

void TPicture::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Data", TStreamProc::Bind<&TPicture::ReadData>(this),
                              TStreamProc::Bind<&TPicture::WriteData>(this), FGraphic != nullptr);
}

void TPicture::ReadData(TStream* Stream) {
  Byte Length = 0;
  Stream->ReadBuffer(&Length, 1);
  AnsiString Name(Length, '\0');
  if (Length) Stream->ReadBuffer(Name.data(), Length);
  TClass GraphicClass = nullptr;
  for (const TFileFormat& Format : GraphicFormats().Files)
    if (SameText(Format.GraphicClass->ClassName(), Name)) GraphicClass = Format.GraphicClass;
  if (!GraphicClass) GraphicClass = GetClass(Name);
  if (!GraphicClass) throw EInvalidGraphic("Unknown graphic class %s", {Name});
  TOwned<TGraphic> Graphic(NewGraphic(GraphicClass));
  if (Stream->Position() < Stream->Size()) Graphic->LoadFromStream(Stream);
  Replace(Graphic.release());
}

void TPicture::WriteData(TStream* Stream) {
  AnsiString Name = FGraphic->ClassName();
  auto Length = static_cast<Byte>(Name.size());
  Stream->WriteBuffer(&Length, 1);
  Stream->WriteBuffer(Name.data(), Length);
  if (!FGraphic->Empty()) FGraphic->SaveToStream(Stream);
}

void TPicture::Changed(TObject*) {
  if (OnChange.Assigned()) OnChange(this);
}
