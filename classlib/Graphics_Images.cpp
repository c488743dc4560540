// The graphic formats of the Graphics unit: bitmaps, metafiles and icons.
#include "classlib/Graphics.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "classlib/GdiScopes.h"
#include "classlib/Memory.h"
#include "classlib/StrUtils.h"

// ---------------------------------------------------------------------------------
// TBitmap

// The bitmap's canvas draws in the bitmap's memory DC and reports every drawing call
// as a change of the bitmap.
class TBitmapCanvas : public TCanvas {
  TCLASS_DECL(TBitmapCanvas, TCanvas)
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}

 protected:
  void CreateHandle() override { SetHandle(FBitmap->SelectedDC()); }
  void Changed() override {
    inherited::Changed();
    FBitmap->Changed(FBitmap);
  }

 private:
  TBitmap* FBitmap;
};

TCLASS_IMPL(TBitmapCanvas)
TCLASS_IMPL(TBitmap)

namespace {

int StrideOf(int Width, int BitCount) { return ((Width * BitCount + 31) / 32) * 4; }

TPixelFormat FormatOfBitCount(int BitCount) {
  switch (BitCount) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 24:
      return pf24bit;
    default:
      return pf32bit;
  }
}

std::vector<RGBQUAD> MonochromeColors() { return {{0, 0, 0, 0}, {255, 255, 255, 0}}; }

// A BITMAPINFO for a top-down image with its colour table.
std::vector<Byte> DibInfo(int Width, int Height, int BitCount,
                          const std::vector<RGBQUAD>& Colors) {
  std::vector<Byte> Info(sizeof(BITMAPINFOHEADER) + Colors.size() * sizeof(RGBQUAD));
  auto* Header = reinterpret_cast<BITMAPINFOHEADER*>(Info.data());
  Header->biSize = sizeof(BITMAPINFOHEADER);
  Header->biWidth = Width;
  Header->biHeight = -Height;
  Header->biPlanes = 1;
  Header->biBitCount = static_cast<WORD>(BitCount);
  Header->biCompression = BI_RGB;
  Header->biClrUsed = static_cast<DWORD>(Colors.size());
  if (!Colors.empty())
    std::memcpy(Info.data() + sizeof(BITMAPINFOHEADER), Colors.data(),
                Colors.size() * sizeof(RGBQUAD));
  return Info;
}

}  // namespace

// A new, counted DIB section.
struct TBitmap::TDib {
  HBITMAP Handle;
  Byte* Bits;
};

TBitmap::TDib TBitmap::MakeDib(int AWidth, int AHeight, int ABitCount,
                               const std::vector<RGBQUAD>& Colors) {
  std::vector<Byte> Info = DibInfo(AWidth, AHeight, ABitCount, Colors);
  void* Bits = nullptr;
  HBITMAP Handle = CountHandle(CreateDIBSection(
      nullptr, reinterpret_cast<BITMAPINFO*>(Info.data()), DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Handle || !Bits) {
    DeleteCountedObject(Handle);
    throw EOutOfResources(SOutOfResources);
  }
  return TDib{Handle, static_cast<Byte*>(Bits)};
}

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  FreeObject(FCanvas);
  FreeImage();
  DeleteCountedDC(FDC);
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FOldBitmap) SelectObject(FDC, FOldBitmap);
  FOldBitmap = nullptr;
}

HDC TBitmap::SelectedDC() {
  if (!FDC) FDC = CountHandle(GdiCheck(CreateCompatibleDC(nullptr)));
  if (FDib && !FOldBitmap) FOldBitmap = SelectObject(FDC, FDib);
  return FDC;
}

void TBitmap::FreeImage() {
  FreeContext();
  DeleteCountedObject(FDib);
  FDib = nullptr;
  FBits = nullptr;
}

void TBitmap::Install(const TDib& Dib, int AWidth, int AHeight, int ABitCount,
                      TPixelFormat AFormat, const std::vector<RGBQUAD>& Colors) {
  std::vector<RGBQUAD> NewColors = Colors;
  FreeImage();
  FDib = Dib.Handle;
  FBits = Dib.Bits;
  FWidth = AWidth;
  FHeight = AHeight;
  FBitCount = ABitCount;
  FPixelFormat = AFormat;
  FColors = std::move(NewColors);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = NewObject<TBitmapCanvas>(this);
  return FCanvas;
}

HBITMAP TBitmap::Handle() {
  FreeContext();
  return FDib;
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    FreeImage();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  TBitmap* Bitmap = ObjectAs<TBitmap>(Source);
  if (!Bitmap) {
    inherited::Assign(Source);
    return;
  }
  if (Bitmap == this) return;
  if (Bitmap->Empty()) {
    FreeImage();
    FWidth = Bitmap->FWidth;
    FHeight = Bitmap->FHeight;
    FBitCount = Bitmap->FBitCount;
    FPixelFormat = Bitmap->FPixelFormat;
    FColors = Bitmap->FColors;
  } else {
    GdiFlush();
    TDib Dib = MakeDib(Bitmap->FWidth, Bitmap->FHeight, Bitmap->FBitCount, Bitmap->FColors);
    std::memcpy(Dib.Bits, Bitmap->FBits,
                static_cast<std::size_t>(Bitmap->RowStride()) * Bitmap->FHeight);
    Install(Dib, Bitmap->FWidth, Bitmap->FHeight, Bitmap->FBitCount, Bitmap->FPixelFormat,
            Bitmap->FColors);
  }
  FTransparentColor = Bitmap->FTransparentColor;
  FTransparentMode = Bitmap->FTransparentMode;
  if (Transparent() != Bitmap->Transparent()) SetTransparent(Bitmap->Transparent());
  Changed(this);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  if (AWidth == 0 || AHeight == 0) {
    FreeImage();
  } else {
    TDib Dib = MakeDib(AWidth, AHeight, FBitCount, FColors);
    const int Stride = StrideOf(AWidth, FBitCount);
    // White: all bits set, except the alpha byte of 32-bit pixels, which GDI
    // drawing leaves at 0 as well.
    if (FBitCount == 32)
      std::fill_n(reinterpret_cast<DWORD*>(Dib.Bits),
                  static_cast<std::size_t>(AWidth) * AHeight, DWORD(0x00FFFFFF));
    else
      std::memset(Dib.Bits, 0xFF, static_cast<std::size_t>(Stride) * AHeight);
    if (FDib) {
      GdiFlush();
      const int Rows = std::min(AHeight, FHeight);
      const int Bytes = (std::min(AWidth, FWidth) * FBitCount + 7) / 8;
      for (int Row = 0; Row < Rows; ++Row)
        std::memcpy(Dib.Bits + Row * Stride, FBits + Row * RowStride(), Bytes);
    }
    Install(Dib, AWidth, AHeight, FBitCount, FPixelFormat, FColors);
  }
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  switch (Value) {
    case pfDevice:
    case pf32bit:
      ConvertTo(32, Value, {});
      break;
    case pf24bit:
      ConvertTo(24, Value, {});
      break;
    case pf1bit:
      ConvertTo(1, Value, MonochromeColors());
      break;
    default:
      throw EInvalidGraphicOperation(SInvalidPixelFormat);
  }
}

void TBitmap::ConvertTo(int ABitCount, TPixelFormat AFormat,
                        const std::vector<RGBQUAD>& Colors) {
  if (AFormat == FPixelFormat && ABitCount == FBitCount) return;
  if (Empty() || (ABitCount == FBitCount && ABitCount > 8)) {
    // Nothing to convert: pfDevice and pf32bit share their layout.
    FBitCount = ABitCount;
    FPixelFormat = AFormat;
    FColors = Colors;
  } else {
    TDib Dib = MakeDib(FWidth, FHeight, ABitCount, Colors);
    GdiFlush();
    std::vector<Byte> Info = DibInfo(FWidth, FHeight, FBitCount, FColors);
    TScreenDC Screen;
    SetDIBits(Screen.DC(), Dib.Handle, 0, FHeight, FBits,
              reinterpret_cast<BITMAPINFO*>(Info.data()), DIB_RGB_COLORS);
    Install(Dib, FWidth, FHeight, ABitCount, AFormat, Colors);
  }
  Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value)
    SetPixelFormat(pf1bit);
  else if (Monochrome())
    SetPixelFormat(pfDevice);
}

void* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= FHeight || !FBits) throw EInvalidGraphicOperation(SScanLine);
  GdiFlush();
  return FBits + static_cast<std::size_t>(Row) * RowStride();
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return Canvas()->Pixels(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  if (Value == tmAuto) FTransparentColor = clDefault;
  Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
  if (Empty()) return;
  HDC Dest = ACanvas->Handle();
  HDC Source = SelectedDC();
  const int W = R.right - R.left, H = R.bottom - R.top;
  if (Transparent()) {
    COLORREF Key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
    TransparentBlt(Dest, R.left, R.top, W, H, Source, 0, 0, FWidth, FHeight, Key);
  } else {
    int OldMode = SetStretchBltMode(Dest, COLORONCOLOR);
    StretchBlt(Dest, R.left, R.top, W, H, Source, 0, 0, FWidth, FHeight,
               ACanvas->CopyMode());
    SetStretchBltMode(Dest, OldMode);
  }
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const Int64 Left = Stream->Size() - Stream->Position();
  if (Left <= 0) {
    Assign(nullptr);
    return;
  }
  BITMAPFILEHEADER File;
  Stream->ReadBuffer(&File, sizeof(File));
  if (File.bfType != 0x4D42) throw EInvalidGraphic(SInvalidBitmap);
  // The file's own size, or what the stream holds when the field is not usable.
  Int64 Count = Left - static_cast<Int64>(sizeof(File));
  if (File.bfSize > sizeof(File) &&
      File.bfSize - sizeof(File) <= static_cast<std::uint64_t>(Count))
    Count = File.bfSize - sizeof(File);
  if (File.bfOffBits < sizeof(File) ||
      File.bfOffBits - sizeof(File) > static_cast<std::uint64_t>(Count))
    throw EInvalidGraphic(SInvalidBitmap);
  // A file past 2 GB - 1 (a stream of 4 GB and more) cannot be held.
  if (Count > INT_MAX) throw EOutOfMemory(SOutOfMemory);
  std::vector<Byte> Data =
      GrowOrRaise([&] { return std::vector<Byte>(static_cast<std::size_t>(Count)); });
  Stream->ReadBuffer(Data.data(), static_cast<int>(Count));
  LoadDib(Data.data(), Data.size(), File.bfOffBits - sizeof(File));
}

void TBitmap::LoadDib(const Byte* Data, std::size_t Size, std::size_t BitsOffset) {
  BITMAPINFOHEADER Header;
  if (Size < sizeof(Header)) throw EInvalidGraphic(SInvalidBitmap);
  std::memcpy(&Header, Data, sizeof(Header));
  const int W = Header.biWidth;
  const int H = std::abs(Header.biHeight);
  const int BitCount = Header.biBitCount;
  const DWORD Compression = Header.biCompression;
  const bool TopDown = Header.biHeight < 0;
  const bool FormatValid =
      (Compression == BI_RGB && (BitCount == 1 || BitCount == 4 || BitCount == 8 ||
                                 BitCount == 16 || BitCount == 24 || BitCount == 32)) ||
      (Compression == BI_RLE8 && BitCount == 8 && !TopDown) ||
      (Compression == BI_RLE4 && BitCount == 4 && !TopDown) ||
      (Compression == BI_BITFIELDS && (BitCount == 16 || BitCount == 32));
  if (Header.biSize < sizeof(Header) || Header.biSize > Size || W <= 0 || H <= 0 ||
      W > 0x8000 || H > 0x8000 || !FormatValid)
    throw EInvalidGraphic(SInvalidBitmap);

  // The three colour masks follow the header, or sit at the same place inside a
  // larger one; then comes the colour table.
  const std::size_t MasksEnd = sizeof(Header) + (Compression == BI_BITFIELDS ? 12 : 0);
  const std::size_t TableOffset = std::max<std::size_t>(Header.biSize, MasksEnd);
  std::size_t ColorCount = Header.biClrUsed;
  if (BitCount <= 8) {
    if (ColorCount == 0) ColorCount = std::size_t(1) << BitCount;
    if (ColorCount > (std::size_t(1) << BitCount)) throw EInvalidGraphic(SInvalidBitmap);
  }
  const std::size_t TableEnd = TableOffset + ColorCount * sizeof(RGBQUAD);
  if (BitsOffset == std::size_t(-1)) BitsOffset = TableEnd;
  if (TableEnd > Size || BitsOffset > Size) throw EInvalidGraphic(SInvalidBitmap);
  std::vector<RGBQUAD> Colors;
  if (BitCount <= 8) {
    Colors.resize(ColorCount);
    std::memcpy(Colors.data(), Data + TableOffset, ColorCount * sizeof(RGBQUAD));
  }
  const Byte* Bits = Data + BitsOffset;
  const std::size_t BitsSize = Size - BitsOffset;
  const std::size_t SourceStride = StrideOf(W, BitCount);
  const bool Compressed = Compression == BI_RLE8 || Compression == BI_RLE4;
  // In 64 bits: the largest image's rows come to 4 GB, which a 32-bit size wraps to 0.
  if (Compressed ? (Header.biSizeImage == 0 || Header.biSizeImage > BitsSize)
                 : static_cast<std::uint64_t>(SourceStride) * H > BitsSize)
    throw EInvalidGraphic(SInvalidBitmap);

  if (Compression == BI_RGB && BitCount != 16) {
    // Stored as it is, rows turned top-down.
    TDib Dib = MakeDib(W, H, BitCount, Colors);
    for (int Row = 0; Row < H; ++Row)
      std::memcpy(Dib.Bits + Row * SourceStride,
                  Bits + (TopDown ? Row : H - 1 - Row) * SourceStride, SourceStride);
    Install(Dib, W, H, BitCount, FormatOfBitCount(BitCount), Colors);
  } else {
    // GDI converts run lengths, bit fields and 16-bit pixels.
    const int Target = BitCount <= 8 ? BitCount : BitCount == 32 ? 32 : 24;
    // The 40-byte header with the masks and the table right after it.
    std::vector<Byte> Info(Data, Data + MasksEnd);
    reinterpret_cast<BITMAPINFOHEADER*>(Info.data())->biSize = sizeof(BITMAPINFOHEADER);
    Info.insert(Info.end(), Data + TableOffset, Data + TableEnd);
    TDib Dib = MakeDib(W, H, Target, Colors);
    TScreenDC Screen;
    if (SetDIBits(Screen.DC(), Dib.Handle, 0, H, Bits,
                  reinterpret_cast<BITMAPINFO*>(Info.data()), DIB_RGB_COLORS) == 0) {
      DeleteCountedObject(Dib.Handle);
      throw EInvalidGraphic(SInvalidBitmap);
    }
    Install(Dib, W, H, Target, FormatOfBitCount(Target), Colors);
  }
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  GdiFlush();
  const DWORD TableSize = static_cast<DWORD>(FColors.size() * sizeof(RGBQUAD));
  const DWORD ImageSize = static_cast<DWORD>(RowStride()) * FHeight;
  BITMAPFILEHEADER File{};
  File.bfType = 0x4D42;
  File.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + TableSize;
  File.bfSize = File.bfOffBits + ImageSize;
  BITMAPINFOHEADER Header{};
  Header.biSize = sizeof(Header);
  Header.biWidth = FWidth;
  Header.biHeight = FHeight;  // files keep the bottom row first
  Header.biPlanes = 1;
  Header.biBitCount = static_cast<WORD>(FBitCount);
  Header.biCompression = BI_RGB;
  Header.biSizeImage = ImageSize;
  Header.biClrUsed = static_cast<DWORD>(FColors.size());
  Stream->WriteBuffer(&File, sizeof(File));
  Stream->WriteBuffer(&Header, sizeof(Header));
  if (TableSize) Stream->WriteBuffer(FColors.data(), static_cast<int>(TableSize));
  for (int Row = FHeight - 1; Row >= 0; --Row)
    Stream->WriteBuffer(FBits + static_cast<std::size_t>(Row) * RowStride(), RowStride());
}

void TBitmap::LoadFromResource(HINSTANCE Instance, const char* Name,
                               const AnsiString& Shown) {
  HRSRC Resource = FindResourceA(Instance, Name, reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL Global = Resource ? LoadResource(Instance, Resource) : nullptr;
  const void* Data = Global ? LockResource(Global) : nullptr;
  if (!Data) throw EResNotFound(SResNotFound, {Shown});
  LoadDib(static_cast<const Byte*>(Data), SizeofResource(Instance, Resource),
          std::size_t(-1));
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName) {
  LoadFromResource(Instance, ResName.c_str(), ResName);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  LoadFromResource(Instance, MAKEINTRESOURCEA(ResID), IntToStr(ResID));
}

void TBitmap::LoadFromClipboardFormat(UINT Format, HANDLE Data) {
  if (Format != CF_BITMAP || !Data) throw EInvalidGraphic(SUnknownClipboardFormat);
  HBITMAP Source = static_cast<HBITMAP>(Data);
  BITMAP Info;
  if (!GetObjectA(Source, sizeof(Info), &Info) || Info.bmWidth <= 0 || Info.bmHeight <= 0)
    throw EInvalidGraphic(SInvalidBitmap);
  const bool Mono = Info.bmBitsPixel == 1;
  const int BitCount = Mono ? 1 : 32;
  const std::vector<RGBQUAD> Colors = Mono ? MonochromeColors() : std::vector<RGBQUAD>();
  TDib Dib = MakeDib(Info.bmWidth, Info.bmHeight, BitCount, Colors);
  std::vector<Byte> Header = DibInfo(Info.bmWidth, Info.bmHeight, BitCount, Colors);
  TScreenDC Screen;
  if (GetDIBits(Screen.DC(), Source, 0, Info.bmHeight, Dib.Bits,
                reinterpret_cast<BITMAPINFO*>(Header.data()), DIB_RGB_COLORS) == 0) {
    DeleteCountedObject(Dib.Handle);
    throw EInvalidGraphic(SInvalidBitmap);
  }
  Install(Dib, Info.bmWidth, Info.bmHeight, BitCount, Mono ? pf1bit : pfDevice, Colors);
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(UINT& Format, HANDLE& Data) {
  if (Empty()) throw EInvalidGraphic(SInvalidBitmap);
  // A device-dependent copy, which the clipboard takes over: counted until it is
  // given away.
  TScreenDC Screen;
  TOwnedBitmap Copy(GdiCheck(Monochrome() ? CountHandle(CreateBitmap(FWidth, FHeight, 1, 1, nullptr))
                                          : CountHandle(CreateCompatibleBitmap(Screen.DC(), FWidth, FHeight))));
  {
    TMemoryDC CopyDC(Screen.DC());
    TSelection Selected(CopyDC.DC(), Copy.Handle());
    BitBlt(CopyDC.DC(), 0, 0, FWidth, FHeight, SelectedDC(), 0, 0, SRCCOPY);
  }
  Format = CF_BITMAP;
  Data = Copy.Release();
  CountHandleFreed();  // the bitmap goes to the clipboard
}

// ---------------------------------------------------------------------------------
// TMetafile

TCLASS_IMPL(TMetafile)

namespace {
void DeleteCountedMetafile(HENHMETAFILE Handle) {
  if (!Handle) return;
  DeleteEnhMetaFile(Handle);
  CountHandleFreed();
}
}  // namespace

TMetafile::~TMetafile() { DeleteCountedMetafile(FHandle); }

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  TMetafile* Metafile = ObjectAs<TMetafile>(Source);
  if (!Metafile) {
    inherited::Assign(Source);
    return;
  }
  if (Metafile == this) return;
  HENHMETAFILE Copy = nullptr;
  if (Metafile->FHandle) Copy = GdiCheck(CopyEnhMetaFileA(Metafile->FHandle, nullptr));
  DeleteCountedMetafile(FHandle);
  FHandle = CountHandle(Copy);
  FWidth = Metafile->FWidth;
  FHeight = Metafile->FHeight;
  Changed(this);
}

void TMetafile::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  Changed(this);
}

void TMetafile::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == FHandle) return;
  DeleteCountedMetafile(FHandle);
  FHandle = CountHandle(Value);
  FWidth = FHeight = 0;
  ENHMETAHEADER Header;
  if (Value && GetEnhMetaFileHeader(Value, sizeof(Header), &Header)) {
    // The frame is in 0.01 mm; the recording device tells how many pixels that is.
    const int Width100 = Header.rclFrame.right - Header.rclFrame.left;
    const int Height100 = Header.rclFrame.bottom - Header.rclFrame.top;
    if (Header.szlMillimeters.cx > 0 && Header.szlMillimeters.cy > 0) {
      FWidth = MulDiv(Width100, Header.szlDevice.cx, Header.szlMillimeters.cx * 100);
      FHeight = MulDiv(Height100, Header.szlDevice.cy, Header.szlMillimeters.cy * 100);
    } else {
      FWidth = MulDiv(Width100, ScreenLogPixels(), 2540);
      FHeight = MulDiv(Height100, ScreenLogPixels(), 2540);
    }
  }
  Changed(this);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  // The header's first fields: type, size, bounds, frame, signature, version, bytes.
  struct {
    DWORD Type, Size;
    RECTL Bounds, Frame;
    DWORD Signature, Version, Bytes;
  } Start;
  Stream->ReadBuffer(&Start, sizeof(Start));
  // The size the header claims must be in the stream before a byte of it is kept.
  if (Start.Type != EMR_HEADER || Start.Signature != ENHMETA_SIGNATURE ||
      Start.Bytes < sizeof(Start) || Start.Bytes > 0x10000000 ||
      Start.Bytes - sizeof(Start) > static_cast<std::uint64_t>(std::max<Int64>(
                                        Stream->Size() - Stream->Position(), 0)))
    throw EInvalidGraphic(SInvalidMetafile);
  std::vector<Byte> Data(Start.Bytes);
  std::memcpy(Data.data(), &Start, sizeof(Start));
  Stream->ReadBuffer(Data.data() + sizeof(Start),
                     static_cast<int>(Start.Bytes - sizeof(Start)));
  HENHMETAFILE Handle = SetEnhMetaFileBits(Start.Bytes, Data.data());
  if (!Handle) throw EInvalidGraphic(SInvalidMetafile);
  SetHandle(Handle);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  UINT Size = GetEnhMetaFileBits(FHandle, 0, nullptr);
  std::vector<Byte> Data(Size);
  GetEnhMetaFileBits(FHandle, Size, Data.data());
  Stream->WriteBuffer(Data.data(), static_cast<int>(Size));
}

void TMetafile::LoadFromClipboardFormat(UINT Format, HANDLE Data) {
  if (Format != CF_ENHMETAFILE || !Data) throw EInvalidGraphic(SUnknownClipboardFormat);
  SetHandle(GdiCheck(CopyEnhMetaFileA(static_cast<HENHMETAFILE>(Data), nullptr)));
}

void TMetafile::SaveToClipboardFormat(UINT& Format, HANDLE& Data) {
  if (!FHandle) throw EInvalidGraphic(SInvalidMetafile);
  Data = GdiCheck(CopyEnhMetaFileA(FHandle, nullptr));  // the clipboard takes it over
  Format = CF_ENHMETAFILE;
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& R) {
  if (FHandle) PlayEnhMetaFile(ACanvas->Handle(), FHandle, &R);
}

// ---------------------------------------------------------------------------------
// TMetafileCanvas

TCLASS_IMPL(TMetafileCanvas)

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice)
    : FMetafile(AMetafile), FRecorder(nullptr) {
  TScreenDC Screen;
  HDC Reference = ReferenceDevice ? ReferenceDevice : Screen.DC();
  RECT Frame;
  RECT* FramePtr = nullptr;
  if (AMetafile->Width() > 0 && AMetafile->Height() > 0) {
    // Pixels of the reference device in 0.01 mm.
    Frame.left = Frame.top = 0;
    Frame.right = MulDiv(AMetafile->Width(), GetDeviceCaps(Reference, HORZSIZE) * 100,
                         GetDeviceCaps(Reference, HORZRES));
    Frame.bottom = MulDiv(AMetafile->Height(), GetDeviceCaps(Reference, VERTSIZE) * 100,
                          GetDeviceCaps(Reference, VERTRES));
    FramePtr = &Frame;
  }
  FRecorder =
      CountHandle(GdiCheck(CreateEnhMetaFileA(Reference, nullptr, FramePtr, nullptr)));
  SetHandle(FRecorder);
}

void TMetafileCanvas::BeforeDestruction() {
  if (!FRecorder) return;
  const int Width = FMetafile->Width(), Height = FMetafile->Height();
  SetHandle(nullptr);
  HENHMETAFILE Recording = CloseEnhMetaFile(FRecorder);
  FRecorder = nullptr;
  CountHandleFreed();
  FMetafile->SetHandle(Recording);
  // The size asked for stays, whatever rounding the frame went through.
  if (Width > 0 && Height > 0) {
    FMetafile->SetWidth(Width);
    FMetafile->SetHeight(Height);
  }
}

TMetafileCanvas::~TMetafileCanvas() {
  if (!FRecorder) return;
  SetHandle(nullptr);
  DeleteEnhMetaFile(CloseEnhMetaFile(FRecorder));
  CountHandleFreed();
}

// ---------------------------------------------------------------------------------
// TIcon

TCLASS_IMPL(TIcon)

TIcon::~TIcon() { Reset(nullptr); }

void TIcon::Reset(HICON Value) {
  if (FHandle) {
    DestroyIcon(FHandle);
    CountHandleFreed();
  }
  FHandle = CountHandle(Value);
  FWidth = FHeight = 0;
  ICONINFO Info;
  if (Value && GetIconInfo(Value, &Info)) {
    BITMAP Bits;
    if (Info.hbmColor && GetObjectA(Info.hbmColor, sizeof(Bits), &Bits)) {
      FWidth = Bits.bmWidth;
      FHeight = Bits.bmHeight;
    } else if (Info.hbmMask && GetObjectA(Info.hbmMask, sizeof(Bits), &Bits)) {
      FWidth = Bits.bmWidth;
      FHeight = Bits.bmHeight / 2;  // the AND and XOR masks one above the other
    }
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  TIcon* Icon = ObjectAs<TIcon>(Source);
  if (!Icon) {
    inherited::Assign(Source);
    return;
  }
  if (Icon == this) return;
  Reset(Icon->FHandle ? GdiCheck(CopyIcon(Icon->FHandle)) : nullptr);
  FData = Icon->FData;
  Changed(this);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(SChangeIconSize); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(SChangeIconSize); }

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  FData.clear();
  Reset(Value);
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON Result = FHandle;
  if (Result) CountHandleFreed();
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
  Changed(this);
  return Result;
}

void TIcon::LoadFromStream(TStream* Stream) {
  // The directory: reserved 0, type 1, the image count; then 16 bytes per image with
  // width, height, colour count, reserved, planes, bit count, size and offset.
  WORD Dir[3];
  Stream->ReadBuffer(Dir, sizeof(Dir));
  // What the directory and its images claim must be in the stream before it is kept.
  const std::uint64_t Left = std::max<Int64>(Stream->Size() - Stream->Position(), 0);
  const std::size_t DirSize = 6 + 16 * std::size_t(Dir[2]);
  if (Dir[0] != 0 || Dir[1] != 1 || Dir[2] == 0 || DirSize - 6 > Left)
    throw EInvalidGraphic(SInvalidIcon);
  std::vector<Byte> Data(DirSize);
  std::memcpy(Data.data(), Dir, sizeof(Dir));
  Stream->ReadBuffer(Data.data() + 6, static_cast<int>(DirSize - 6));
  auto Entry = [&Data](int Index) { return Data.data() + 6 + 16 * Index; };
  auto DWordAt = [](const Byte* P) {
    DWORD Value;
    std::memcpy(&Value, P, sizeof(Value));
    return Value;
  };
  std::size_t End = DirSize;
  int Chosen = 0, ChosenBits = -1;
  const int Wanted = GetSystemMetrics(SM_CXICON);
  for (int I = 0; I < Dir[2]; ++I) {
    const std::size_t Bytes = DWordAt(Entry(I) + 8), Offset = DWordAt(Entry(I) + 12);
    if (Offset < DirSize || Bytes == 0 || Bytes > 0x1000000 || Offset > 0x1000000)
      throw EInvalidGraphic(SInvalidIcon);
    End = std::max(End, Offset + Bytes);
    const int Width = Entry(I)[0] ? Entry(I)[0] : 256;
    const int BitCount = Entry(I)[6] | (Entry(I)[7] << 8);
    if (Width == Wanted && BitCount > ChosenBits) {
      Chosen = I;
      ChosenBits = BitCount;
    }
  }
  if (End - DirSize > Left - (DirSize - 6)) throw EInvalidGraphic(SInvalidIcon);
  Data.resize(End);
  Stream->ReadBuffer(Data.data() + DirSize, static_cast<int>(End - DirSize));
  HICON Handle = CreateIconFromResourceEx(Data.data() + DWordAt(Entry(Chosen) + 12),
                                          DWordAt(Entry(Chosen) + 8), TRUE, 0x00030000, 0,
                                          0, LR_DEFAULTCOLOR);
  if (!Handle) throw EInvalidGraphic(SInvalidIcon);
  Reset(Handle);
  FData = std::move(Data);
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (FData.empty()) {
    if (!FHandle) return;
    throw EInvalidGraphicOperation(SCannotSaveIcon);
  }
  Stream->WriteBuffer(FData.data(), static_cast<int>(FData.size()));
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName) {
  HICON Handle = static_cast<HICON>(
      LoadImageA(Instance, ResName.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (!Handle) throw EResNotFound(SResNotFound, {ResName});
  FData.clear();
  Reset(Handle);
  Changed(this);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R) {
  if (FHandle)
    DrawIconEx(ACanvas->Handle(), R.left, R.top, FHandle, R.right - R.left,
               R.bottom - R.top, 0, nullptr, DI_NORMAL);
}
