#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "tests/classlib/UiTestSupport.h"

namespace {

// The 32-bit pixel at (X, Y) read through the scan lines: 0xAARRGGBB.
DWORD PixelAt(TBitmap* Bitmap, int X, int Y) {
  return static_cast<const DWORD*>(Bitmap->ScanLine(Y))[X] & 0xFFFFFF;
}

// A BMP file with the given colour table and pixel data, in a stream at position 0.
TMemoryStream* BmpFile(int Width, int Height, int BitCount, DWORD Compression,
                       const std::vector<RGBQUAD>& Colors,
                       const std::vector<Byte>& Pixels) {
  BITMAPINFOHEADER Info{};
  Info.biSize = sizeof(Info);
  Info.biWidth = Width;
  Info.biHeight = Height;
  Info.biPlanes = 1;
  Info.biBitCount = static_cast<WORD>(BitCount);
  Info.biCompression = Compression;
  Info.biSizeImage = static_cast<DWORD>(Pixels.size());
  Info.biClrUsed = static_cast<DWORD>(Colors.size());
  BITMAPFILEHEADER File{};
  File.bfType = 0x4D42;
  File.bfOffBits = static_cast<DWORD>(sizeof(File) + sizeof(Info) + Colors.size() * 4);
  File.bfSize = static_cast<DWORD>(File.bfOffBits + Pixels.size());
  TMemoryStream* Stream = NewObject<TMemoryStream>();
  Stream->WriteBuffer(&File, sizeof(File));
  Stream->WriteBuffer(&Info, sizeof(Info));
  if (!Colors.empty())
    Stream->WriteBuffer(Colors.data(), static_cast<int>(Colors.size() * 4));
  Stream->WriteBuffer(Pixels.data(), static_cast<int>(Pixels.size()));
  Stream->SetPosition(0);
  return Stream;
}

std::vector<TColor> FourPixels(TBitmap* Bitmap) {
  TCanvas* Canvas = Bitmap->Canvas();
  return {Canvas->Pixels(0, 0), Canvas->Pixels(1, 0), Canvas->Pixels(0, 1),
          Canvas->Pixels(1, 1)};
}

std::vector<Byte> StreamBytes(TMemoryStream* Stream) {
  const Byte* Data = static_cast<const Byte*>(Stream->Memory());
  return std::vector<Byte>(Data, Data + Stream->Size());
}

}  // namespace

TEST(BitmapTest, ShapesDrawnOnTheCanvasReadBackByPixel) {
  const int Start = GdiHandleCount();
  std::vector<HGDIOBJ> Exposed;
  {
    TOwned<TBitmap> Bitmap(NewObject<TBitmap>(40, 30));
    TCanvas* Canvas = Bitmap->Canvas();
    EXPECT_EQ(Canvas->Pixels(39, 29), clWhite) << "a new bitmap is white";
    Canvas->Pen()->SetColor(clRed);
    Canvas->Brush()->SetColor(clBlue);
    Canvas->Rectangle(10, 10, 30, 20);
    EXPECT_EQ(Canvas->Pixels(10, 15), clRed);
    EXPECT_EQ(Canvas->Pixels(29, 19), clRed);
    EXPECT_EQ(Canvas->Pixels(20, 15), clBlue);
    EXPECT_EQ(Canvas->Pixels(30, 20), clWhite);
    EXPECT_EQ(PixelAt(Bitmap.get(), 20, 15), 0x0000FFu) << "B, G, R in memory";
    EXPECT_EQ(PixelAt(Bitmap.get(), 10, 15), 0xFF0000u);

    // Taking the handle out for other APIs leaves the canvas able to draw.
    EXPECT_NE(GetObjectType(Bitmap->Handle()), 0u);
    Canvas->SetPixels(0, 0, clLime);
    EXPECT_EQ(Canvas->Pixels(0, 0), clLime);
    Exposed = {Bitmap->Handle(), Canvas->Handle(), Canvas->Pen()->Handle(), Canvas->Brush()->Handle()};
  }
  EXPECT_EQ(GdiHandleCount(), Start);
  for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
}

TEST(BitmapTest, ScanLinesRunTopDown) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  Bitmap->SetPixelFormat(pf32bit);
  Bitmap->SetSize(8, 5);
  Bitmap->Canvas()->SetPixels(3, 0, clRed);
  Bitmap->Canvas()->SetPixels(3, 4, clLime);
  auto* Top = static_cast<Byte*>(Bitmap->ScanLine(0));
  auto* Next = static_cast<Byte*>(Bitmap->ScanLine(1));
  EXPECT_EQ(Next - Top, 8 * 4);
  EXPECT_EQ(PixelAt(Bitmap.get(), 3, 0), 0xFF0000u) << "row 0 is the top row";
  EXPECT_EQ(PixelAt(Bitmap.get(), 3, 4), 0x00FF00u);

  static_cast<DWORD*>(Bitmap->ScanLine(2))[5] = 0xFF0000FF;  // opaque blue
  EXPECT_EQ(Bitmap->Canvas()->Pixels(5, 2), clBlue);
  ExpectRaises<EInvalidGraphicOperation>([&] { Bitmap->ScanLine(5); },
                                         "Scan line index out of range");
  EXPECT_THROW(Bitmap->ScanLine(-1), EInvalidGraphicOperation);
}

TEST(BitmapTest, ResizingKeepsWhatFitsAndNotifies) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  uitest::TChangeCounter Changes;
  Bitmap->OnChange = Changes.Event();
  Bitmap->SetWidth(10);
  EXPECT_TRUE(Bitmap->Empty()) << "no height yet";
  Bitmap->SetHeight(10);
  ASSERT_FALSE(Bitmap->Empty());
  Bitmap->Canvas()->SetPixels(9, 9, clRed);
  EXPECT_EQ(Changes.Count, 3) << "two sizes and one drawing call";
  Bitmap->SetSize(20, 5);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(9, 4), clWhite);
  Bitmap->SetSize(20, 20);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(9, 9), clWhite) << "cut off by the smaller height";
  Bitmap->Canvas()->SetPixels(19, 19, clRed);
  Bitmap->SetSize(25, 25);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(19, 19), clRed);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(24, 24), clWhite);
}

TEST(BitmapTest, BmpFilesRoundTripAndLoadBottomUp) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(7, 3));
  Bitmap->Canvas()->SetPixels(0, 0, clRed);
  Bitmap->Canvas()->SetPixels(6, 2, clBlue);
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Bitmap->SaveToStream(Stream.get());
  const std::vector<Byte> Saved = StreamBytes(Stream.get());
  ASSERT_GT(Saved.size(), 54u);
  EXPECT_EQ(Saved[0], 'B');
  EXPECT_EQ(Saved[1], 'M');

  TOwned<TBitmap> Loaded(NewObject<TBitmap>());
  Stream->SetPosition(0);
  Loaded->LoadFromStream(Stream.get());
  EXPECT_EQ(Loaded->Width(), 7);
  EXPECT_EQ(Loaded->Height(), 3);
  EXPECT_EQ(Loaded->PixelFormat(), pf32bit);
  EXPECT_EQ(Loaded->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(Loaded->Canvas()->Pixels(6, 2), clBlue);

  // 2 x 2, 24 bits, bottom row first: red, lime over blue, white.
  TOwned<TMemoryStream> Hand(BmpFile(2, 2, 24, BI_RGB, {},
                                     {255, 0, 0, 255, 255, 255, 0, 0,  // blue, white
                                      0, 0, 255, 0, 255, 0, 0, 0}));   // red, lime
  Loaded->LoadFromStream(Hand.get());
  EXPECT_EQ(Loaded->PixelFormat(), pf24bit);
  EXPECT_EQ(FourPixels(Loaded.get()),
            (std::vector<TColor>{clRed, clLime, clBlue, clWhite}));
  EXPECT_EQ(static_cast<const Byte*>(Loaded->ScanLine(0))[2], 255) << "top row, red byte";

  // Run lengths of 8-bit indexes: the bottom row two blues, the top red then blue.
  TOwned<TMemoryStream> Runs(BmpFile(2, 2, 8, BI_RLE8, {{0, 0, 255, 0}, {255, 0, 0, 0}},
                                     {2, 1, 0, 0, 1, 0, 1, 1, 0, 1}));
  Loaded->LoadFromStream(Runs.get());
  EXPECT_EQ(Loaded->PixelFormat(), pf8bit);
  EXPECT_EQ(FourPixels(Loaded.get()), (std::vector<TColor>{clRed, clBlue, clBlue, clBlue}));

  Hand->SetPosition(0);
  Hand->WriteBuffer("XX", 2);
  Hand->SetPosition(0);
  ExpectRaises<EInvalidGraphic>([&] { Loaded->LoadFromStream(Hand.get()); },
                                "Bitmap image is not valid");
}

TEST(BitmapTest, PixelFormatsConvertThePixels) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(16, 4));
  Bitmap->Canvas()->Brush()->SetColor(clBlack);
  Bitmap->Canvas()->FillRect(Rect(0, 0, 8, 4));
  Bitmap->SetMonochrome(true);
  EXPECT_TRUE(Bitmap->Monochrome());
  EXPECT_EQ(Bitmap->BitCount(), 1);
  EXPECT_EQ(static_cast<const Byte*>(Bitmap->ScanLine(3))[0], 0x00) << "8 black pixels";
  EXPECT_EQ(static_cast<const Byte*>(Bitmap->ScanLine(3))[1], 0xFF) << "8 white pixels";

  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Bitmap->SaveToStream(Stream.get());
  Stream->SetPosition(0);
  TOwned<TBitmap> Loaded(NewObject<TBitmap>());
  Loaded->LoadFromStream(Stream.get());
  EXPECT_EQ(Loaded->PixelFormat(), pf1bit);

  Loaded->SetPixelFormat(pf24bit);
  EXPECT_EQ(Loaded->Canvas()->Pixels(7, 3), clBlack);
  EXPECT_EQ(Loaded->Canvas()->Pixels(8, 3), clWhite);
  ExpectRaises<EInvalidGraphicOperation>([&] { Loaded->SetPixelFormat(pf8bit); },
                                         "Invalid pixel format");
}

TEST(BitmapTest, ResourceBitmapsMatchTheSystemLoader) {
  // A bitmap of the system's own resources, read by us and by LoadBitmap.
  const int CloseButton = 32754;  // OBM_CLOSE
  HMODULE User = GetModuleHandleA("user32.dll");
  HBITMAP System = LoadBitmapA(nullptr, MAKEINTRESOURCEA(CloseButton));
  ASSERT_NE(System, nullptr);
  BITMAP Info{};
  GetObjectA(System, sizeof(Info), &Info);
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  Bitmap->LoadFromResourceID(User, CloseButton);
  EXPECT_EQ(Bitmap->Width(), Info.bmWidth);
  EXPECT_EQ(Bitmap->Height(), Info.bmHeight);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, System);
  int Different = 0;
  for (int Y = 0; Y < Info.bmHeight; ++Y)
    for (int X = 0; X < Info.bmWidth; ++X)
      if (static_cast<COLORREF>(Bitmap->Canvas()->Pixels(X, Y)) != GetPixel(DC, X, Y))
        ++Different;
  EXPECT_EQ(Different, 0);
  SelectObject(DC, Old);
  DeleteDC(DC);
  DeleteObject(System);

  ExpectRaises<EResNotFound>([&] { Bitmap->LoadFromResourceName(User, "NO_SUCH_BITMAP"); },
                             "Resource NO_SUCH_BITMAP not found");
}

TEST(BitmapTest, DrawsStretchedAndTransparent) {
  TOwned<TBitmap> Source(NewObject<TBitmap>(4, 4));
  Source->Canvas()->Brush()->SetColor(clFuchsia);
  Source->Canvas()->FillRect(Rect(0, 0, 4, 4));
  Source->Canvas()->Brush()->SetColor(clRed);
  Source->Canvas()->FillRect(Rect(2, 0, 4, 2));  // the top-right quarter

  TOwned<TBitmap> Target(NewObject<TBitmap>(20, 20));
  Target->Canvas()->StretchDraw(Rect(0, 0, 8, 8), Source.get());
  EXPECT_EQ(Target->Canvas()->Pixels(5, 1), clRed);
  EXPECT_EQ(Target->Canvas()->Pixels(3, 6), clFuchsia);
  EXPECT_EQ(Target->Canvas()->Pixels(9, 9), clWhite);

  Source->SetTransparent(true);
  EXPECT_EQ(Source->TransparentColor(), clFuchsia) << "the bottom-left pixel";
  Target->Canvas()->Draw(10, 10, Source.get());
  EXPECT_EQ(Target->Canvas()->Pixels(13, 10), clRed);
  EXPECT_EQ(Target->Canvas()->Pixels(10, 13), clWhite)
      << "the transparent colour is left out";
}
