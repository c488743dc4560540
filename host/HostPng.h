// Saving a bitmap as a PNG file through GDI+'s PNG encoder: the editor stand-in's board
// pictures and the scripted run's screenshots are written by this one routine.
#pragma once

#include <windows.h>

#include <string>

// Writes Bitmap (a device-independent or compatible bitmap, not selected into a device
// context) to FileName as PNG, replacing a file of that name. False when GDI+ cannot
// start, has no PNG encoder, or cannot write the file.
bool SaveBitmapAsPng(HBITMAP Bitmap, const std::string& FileName);
