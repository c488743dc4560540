#include "host/HostPng.h"

#include <gdiplus.h>

#include <cstdint>
#include <vector>

namespace {

// GDI+ for the length of a scope.
class TGdiPlus {
 public:
  TGdiPlus() {
    Gdiplus::GdiplusStartupInput Input;
    FStarted = Gdiplus::GdiplusStartup(&FToken, &Input, nullptr) == Gdiplus::Ok;
  }
  ~TGdiPlus() {
    if (FStarted) Gdiplus::GdiplusShutdown(FToken);
  }
  TGdiPlus(const TGdiPlus&) = delete;
  TGdiPlus& operator=(const TGdiPlus&) = delete;
  bool Started() const { return FStarted; }

 private:
  ULONG_PTR FToken = 0;
  bool FStarted = false;
};

// The class id of GDI+'s PNG encoder, looked up by its MIME type.
bool FindPngEncoder(CLSID& Encoder) {
  UINT Count = 0, Size = 0;
  if (Gdiplus::DllExports::GdipGetImageEncodersSize(&Count, &Size) != Gdiplus::Ok || !Size)
    return false;
  std::vector<std::uint64_t> Buffer((Size + 7) / 8);  // aligned for the records
  auto* Codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(Buffer.data());
  if (Gdiplus::DllExports::GdipGetImageEncoders(Count, Size, Codecs) != Gdiplus::Ok)
    return false;
  for (UINT I = 0; I < Count; ++I) {
    if (Codecs[I].MimeType && lstrcmpiW(Codecs[I].MimeType, L"image/png") == 0) {
      Encoder = Codecs[I].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool SaveBitmapAsPng(HBITMAP Bitmap, const std::string& FileName) {
  TGdiPlus GdiPlus;
  CLSID Encoder;
  if (!GdiPlus.Started() || !FindPngEncoder(Encoder)) return false;
  const int Length = MultiByteToWideChar(CP_ACP, 0, FileName.c_str(), -1, nullptr, 0);
  if (Length <= 0) return false;
  std::wstring WideName(Length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, FileName.c_str(), -1, WideName.data(), Length);
  Gdiplus::GpBitmap* Image = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(Bitmap, nullptr, &Image) != Gdiplus::Ok)
    return false;
  const bool Saved =
      Gdiplus::DllExports::GdipSaveImageToFile(Image, WideName.c_str(), &Encoder, nullptr) ==
      Gdiplus::Ok;
  Gdiplus::DllExports::GdipDisposeImage(Image);
  return Saved;
}
