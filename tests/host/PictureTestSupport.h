// Reading pictures back in the host's tests: a PNG file loaded through GDI+ into an
// array of RGB values, and scratch folders for the files the tests make.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <string>
#include <vector>

// A picture's pixels as COLORREF values (0x00BBGGRR), row by row from the top.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<COLORREF> Pixels;

  bool Loaded() const { return Width > 0 && Height > 0; }
  COLORREF At(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= Width || Y >= Height) return CLR_INVALID;
    return Pixels[static_cast<std::size_t>(Y) * Width + X];
  }
  COLORREF At(POINT P) const { return At(P.x, P.y); }
  // How many pixels inside [Left, Right) x [Top, Bottom) have the colour.
  int Count(COLORREF Colour, int Left, int Top, int Right, int Bottom) const {
    int Found = 0;
    for (int Y = Top; Y < Bottom; ++Y)
      for (int X = Left; X < Right; ++X) Found += At(X, Y) == Colour ? 1 : 0;
    return Found;
  }
  int Count(COLORREF Colour) const { return Count(Colour, 0, 0, Width, Height); }
};

// Loads an image file through GDI+; an empty picture when it cannot be read.
inline TPicture LoadPicture(const std::string& FileName) {
  TPicture Picture;
  Gdiplus::GdiplusStartupInput Input;
  ULONG_PTR Token = 0;
  if (Gdiplus::GdiplusStartup(&Token, &Input, nullptr) != Gdiplus::Ok) return Picture;
  std::wstring Wide(FileName.begin(), FileName.end());
  Gdiplus::GpBitmap* Bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(Wide.c_str(), &Bitmap) == Gdiplus::Ok) {
    UINT Width = 0, Height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(Bitmap, &Width);
    Gdiplus::DllExports::GdipGetImageHeight(Bitmap, &Height);
    Picture.Width = static_cast<int>(Width);
    Picture.Height = static_cast<int>(Height);
    Picture.Pixels.resize(static_cast<std::size_t>(Width) * Height);
    for (UINT Y = 0; Y < Height; ++Y) {
      for (UINT X = 0; X < Width; ++X) {
        Gdiplus::ARGB Argb = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(Bitmap, X, Y, &Argb);
        Picture.Pixels[Y * Width + X] =
            RGB((Argb >> 16) & 0xFF, (Argb >> 8) & 0xFF, Argb & 0xFF);
      }
    }
    Gdiplus::DllExports::GdipDisposeImage(Bitmap);
  }
  Gdiplus::GdiplusShutdown(Token);
  return Picture;
}

// A new empty folder under the temporary folder, named after Prefix.
inline std::string NewScratchFolder(const std::string& Prefix) {
  char Temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Temp);
  for (int Number = 1;; ++Number) {
    std::string Folder = std::string(Temp) + Prefix + std::to_string(GetCurrentProcessId()) +
                         "-" + std::to_string(Number);
    if (CreateDirectoryA(Folder.c_str(), nullptr)) return Folder + "\\";
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
  }
}

// The names of the files in Folder (with a trailing backslash) that match Pattern.
inline std::vector<std::string> FilesIn(const std::string& Folder, const char* Pattern = "*") {
  std::vector<std::string> Names;
  WIN32_FIND_DATAA Found;
  HANDLE Search = FindFirstFileA((Folder + Pattern).c_str(), &Found);
  if (Search == INVALID_HANDLE_VALUE) return Names;
  do {
    if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Names.push_back(Found.cFileName);
  } while (FindNextFileA(Search, &Found));
  FindClose(Search);
  return Names;
}

// Deletes the files in Folder (with a trailing backslash), then the folder.
inline void RemoveScratchFolder(const std::string& Folder) {
  if (Folder.empty()) return;
  for (const std::string& Name : FilesIn(Folder)) DeleteFileA((Folder + Name).c_str());
  RemoveDirectoryA(Folder.c_str());
}
