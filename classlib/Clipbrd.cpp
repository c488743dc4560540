#include "classlib/Clipbrd.h"

#include <cstring>

#include "classlib/ModuleInit.h"

TCLASS_IMPL(TClipboard)

TClipboard::~TClipboard() {
  if (FOpenCount > 0) CloseClipboard();
  if (FWindow) DestroyWindow(FWindow);
}

void TClipboard::Open() {
  if (FOpenCount == 0) {
    if (!FWindow) {
      FWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                HInstance, nullptr);
      if (!FWindow) throw Exception(SCannotOpenClipboard);
    }
    if (!OpenClipboard(FWindow)) throw Exception(SCannotOpenClipboard);
    FEmptied = false;
  }
  ++FOpenCount;
}

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

void TClipboard::Adding() {
  if (FOpenCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) const {
  return IsClipboardFormatAvailable(Format) != 0;
}

void TClipboard::SetBuffer(UINT Format, HANDLE Data) {
  Open();
  try {
    Adding();
    if (!SetClipboardData(Format, Data)) throw Exception(SCannotOpenClipboard);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

AnsiString TClipboard::AsText() {
  Open();
  AnsiString Result;
  HANDLE Data = GetClipboardData(CF_TEXT);
  if (const char* Text = Data ? static_cast<const char*>(GlobalLock(Data)) : nullptr) {
    Result.assign(Text, strnlen(Text, GlobalSize(Data)));
    GlobalUnlock(Data);
  }
  Close();
  return Result;
}

void TClipboard::SetAsText(const AnsiString& Value) {
  HGLOBAL Data = GlobalAlloc(GMEM_MOVEABLE, Value.size() + 1);
  if (!Data) throw EOutOfMemory(SOutOfMemory);
  std::memcpy(GlobalLock(Data), Value.c_str(), Value.size() + 1);
  GlobalUnlock(Data);
  try {
    SetBuffer(CF_TEXT, Data);
  } catch (...) {
    GlobalFree(Data);
    throw;
  }
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE Result = GetClipboardData(Format);
  Close();
  return Result;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) { SetBuffer(Format, Value); }

void TClipboard::AssignGraphic(TGraphic* Graphic) {
  UINT Format = 0;
  HANDLE Data = nullptr;
  Graphic->SaveToClipboardFormat(Format, Data);
  try {
    SetBuffer(Format, Data);
  } catch (...) {
    DeleteObject(Data);
    throw;
  }
}

void TClipboard::Assign(TPersistent* Source) {
  if (TPicture* Picture = ObjectAs<TPicture>(Source)) {
    if (!Picture->Graphic()) throw EInvalidGraphic(SUnknownClipboardFormat);
    AssignGraphic(Picture->Graphic());
  } else if (TGraphic* Graphic = ObjectAs<TGraphic>(Source)) {
    AssignGraphic(Graphic);
  } else {
    inherited::Assign(Source);
  }
}

void TClipboard::AssignTo(TPersistent* Dest) {
  Open();
  try {
    if (TPicture* Picture = ObjectAs<TPicture>(Dest)) {
      // The clipboard's formats in the order it offers them.
      UINT Format = 0;
      while ((Format = EnumClipboardFormats(Format)) != 0)
        if (TPicture::SupportsClipboardFormat(Format)) break;
      if (Format == 0) throw EInvalidGraphic(SUnknownClipboardFormat);
      Picture->LoadFromClipboardFormat(Format, GetClipboardData(Format));
    } else if (ObjectAs<TBitmap>(Dest) && HasFormat(CF_BITMAP)) {
      static_cast<TBitmap*>(Dest)->LoadFromClipboardFormat(CF_BITMAP,
                                                           GetClipboardData(CF_BITMAP));
    } else if (ObjectAs<TMetafile>(Dest) && HasFormat(CF_ENHMETAFILE)) {
      static_cast<TMetafile*>(Dest)->LoadFromClipboardFormat(
          CF_ENHMETAFILE, GetClipboardData(CF_ENHMETAFILE));
    } else {
      inherited::AssignTo(Dest);
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

namespace {
TClipboard* GClipboard = nullptr;
}  // namespace

TClipboard* Clipboard() {
  if (!GClipboard) GClipboard = NewObject<TClipboard>();
  return GClipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* Old = GClipboard;
  GClipboard = NewClipboard;
  return Old;
}

void DoneClipbrd() {
  TClipboard* Old = SetClipboard(nullptr);
  FreeObject(Old);
}
