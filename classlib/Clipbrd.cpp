#include "classlib/Clipbrd.h"

#include <cstring>

#include "classlib/ModuleInit.h"
#include "classlib/ScopeExit.h"

TCLASS_IMPL(TClipboard)

UINT CF_PICTURE = 0;

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
  auto Closer = ScopeExit([&] { Close(); });
  EmptyClipboard();
  FEmptied = true;
}

void TClipboard::Adding() {
  if (FOpenCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) const {
  if (IsClipboardFormatAvailable(Format)) return true;
  if (Format == 0 || Format != CF_PICTURE) return false;
  for (UINT PictureFormat : TPicture::ClipboardFormats())
    if (IsClipboardFormatAvailable(PictureFormat)) return true;
  return false;
}

void TClipboard::SetBuffer(UINT Format, HANDLE Data) {
  Open();
  auto Closer = ScopeExit([&] { Close(); });
  Adding();
  if (!SetClipboardData(Format, Data)) throw Exception(SCannotOpenClipboard);
}

AnsiString TClipboard::AsText() {
  Open();
  auto Closer = ScopeExit([&] { Close(); });
  AnsiString Result;
  HANDLE Data = GetClipboardData(CF_TEXT);
  if (const char* Text = Data ? static_cast<const char*>(GlobalLock(Data)) : nullptr) {
    auto Unlock = ScopeExit([&] { GlobalUnlock(Data); });
    Result.assign(Text, strnlen(Text, GlobalSize(Data)));
  }
  return Result;
}

void TClipboard::SetAsText(const AnsiString& Value) {
  HGLOBAL Data = GlobalAlloc(GMEM_MOVEABLE, Value.size() + 1);
  if (!Data) throw EOutOfMemory(SOutOfMemory);
  std::memcpy(GlobalLock(Data), Value.c_str(), Value.size() + 1);
  GlobalUnlock(Data);
  auto Undo = ScopeExit([&] { GlobalFree(Data); });
  SetBuffer(CF_TEXT, Data);
  Undo.Dismiss();  // the clipboard owns the text now
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  auto Closer = ScopeExit([&] { Close(); });
  return GetClipboardData(Format);
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) { SetBuffer(Format, Value); }

void TClipboard::AssignGraphic(TGraphic* Graphic) {
  UINT Format = 0;
  HANDLE Data = nullptr;
  Graphic->SaveToClipboardFormat(Format, Data);
  // A metafile is freed as one; bitmaps and palettes are GDI objects.
  auto Undo = ScopeExit([&] {
    if (Format == CF_ENHMETAFILE)
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(Data));
    else
      DeleteObject(Data);
  });
  SetBuffer(Format, Data);
  Undo.Dismiss();  // the clipboard owns the data now
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
  auto Closer = ScopeExit([&] { Close(); });
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

void InitClipbrd() { CF_PICTURE = RegisterClipboardFormatA(SPictureClipboardFormat); }

void DoneClipbrd() {
  TClipboard* Old = SetClipboard(nullptr);
  FreeObject(Old);
}
