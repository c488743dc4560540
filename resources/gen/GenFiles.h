// The file formats the build-time image generators write: 24-bit bitmaps and
// monochrome cursors, each from a function that answers a pixel. Header-only, built
// with each generator for the build machine.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace gen {

struct Rgb {
  std::uint8_t R, G, B;
};

// Little-endian bytes of a file being put together.
class ByteWriter {
 public:
  void Put8(std::uint32_t V) { Bytes.push_back(V & 0xFF); }
  void Put16(std::uint32_t V) {
    Put8(V);
    Put8(V >> 8);
  }
  void Put32(std::uint32_t V) {
    Put16(V & 0xFFFF);
    Put16(V >> 16);
  }
  std::vector<std::uint8_t> Bytes;
};

inline bool WriteFile(const std::string& Path, const std::vector<std::uint8_t>& Bytes) {
  FILE* Out = std::fopen(Path.c_str(), "wb");
  if (!Out) return false;
  const bool Ok = std::fwrite(Bytes.data(), 1, Bytes.size(), Out) == Bytes.size();
  return std::fclose(Out) == 0 && Ok;
}

// A bottom-up 24-bit BI_RGB bitmap file, rows padded to four bytes; Pixel(X, Y) counts
// Y from the top.
template <typename PixelAt>
std::vector<std::uint8_t> Bitmap24(int Width, int Height, PixelAt Pixel) {
  const std::uint32_t Stride = (Width * 3 + 3) / 4 * 4;
  const std::uint32_t ImageBytes = Stride * Height;
  const std::uint32_t Offset = 14 + 40;
  ByteWriter W;
  W.Put8('B');
  W.Put8('M');
  W.Put32(Offset + ImageBytes);
  W.Put32(0);
  W.Put32(Offset);
  W.Put32(40);
  W.Put32(Width);
  W.Put32(Height);  // bottom-up
  W.Put16(1);
  W.Put16(24);
  W.Put32(0);  // BI_RGB
  W.Put32(ImageBytes);
  W.Put32(2835);
  W.Put32(2835);
  W.Put32(0);
  W.Put32(0);
  for (int Y = Height - 1; Y >= 0; --Y) {
    for (int X = 0; X < Width; ++X) {
      const Rgb P = Pixel(X, Y);
      W.Put8(P.B);
      W.Put8(P.G);
      W.Put8(P.R);
    }
    for (std::uint32_t Pad = Width * 3; Pad < Stride; ++Pad) W.Put8(0);
  }
  return W.Bytes;
}

// A .cur file holding one Size x Size monochrome cursor (Size a multiple of 8, at most
// 255). Pixel(X, Y) answers 'k' black, 'w' white or '.' transparent, Y from the top.
template <typename PixelAt>
std::vector<std::uint8_t> MonoCursor(int Size, int HotX, int HotY, PixelAt Pixel) {
  const std::uint32_t MaskBytes = Size * Size / 8;
  const std::uint32_t ImageBytes = 40 + 2 * 4 + 2 * MaskBytes;
  ByteWriter W;
  W.Put16(0);
  W.Put16(2);  // a cursor
  W.Put16(1);
  W.Put8(Size);
  W.Put8(Size);
  W.Put8(2);
  W.Put8(0);
  W.Put16(HotX);
  W.Put16(HotY);
  W.Put32(ImageBytes);
  W.Put32(6 + 16);
  W.Put32(40);
  W.Put32(Size);
  W.Put32(2 * Size);  // the colour bits, then the mask
  W.Put16(1);
  W.Put16(1);
  W.Put32(0);
  W.Put32(2 * MaskBytes);
  W.Put32(0);
  W.Put32(0);
  W.Put32(2);
  W.Put32(0);
  W.Put32(0x000000);  // black
  W.Put32(0xFFFFFF);  // white
  // Black is mask 0 colour 0, white mask 0 colour 1, transparent mask 1 colour 0.
  for (int Pass = 0; Pass < 2; ++Pass)
    for (int Y = Size - 1; Y >= 0; --Y)
      for (int Byte = 0; Byte < Size / 8; ++Byte) {
        std::uint8_t Bits = 0;
        for (int Bit = 0; Bit < 8; ++Bit) {
          const char C = Pixel(Byte * 8 + Bit, Y);
          if (Pass == 0 ? C == 'w' : C == '.') Bits |= static_cast<std::uint8_t>(0x80 >> Bit);
        }
        W.Put8(Bits);
      }
  return W.Bytes;
}

}  // namespace gen
