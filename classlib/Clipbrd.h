// The clipboard: text, and pictures through the graphic classes' clipboard formats.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"

inline constexpr const char* SCannotOpenClipboard = "Cannot open clipboard";

// The registered clipboard format that stands for any picture format the graphic
// classes read (HasFormat of it answers for them all); 0 before the unit starts.
extern UINT CF_PICTURE;
// The name it is registered under.
inline constexpr const char* SPictureClipboardFormat = "Tarvik Picture";

// Every operation opens the clipboard for its own length unless an Open bracket
// holds it open already; the first data set inside a bracket empties the clipboard.
// The clipboard is owned by a hidden window of the object, made on first use.
class TClipboard : public TPersistent {
  TCLASS_DECL(TClipboard, TPersistent)
 public:
  TClipboard() = default;
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;
  ~TClipboard() override;

  // Nested; raises Exception "Cannot open clipboard".
  void Open();
  void Close();
  void Clear();

  // CF_PICTURE: whether any picture format is on the clipboard.
  bool HasFormat(UINT Format) const;
  // CF_TEXT; empty when the clipboard holds no text.
  AnsiString AsText();
  void SetAsText(const AnsiString& Value);
  // The clipboard's handle (still the clipboard's), or null.
  HANDLE GetAsHandle(UINT Format);
  // The clipboard takes the handle over.
  void SetAsHandle(UINT Format, HANDLE Value);

  // Puts a TGraphic or the graphic of a TPicture on the clipboard.
  void Assign(TPersistent* Source) override;

 protected:
  // Fills a TPicture with the first supported picture on the clipboard, or a
  // TBitmap or TMetafile with the bitmap or metafile on it.
  void AssignTo(TPersistent* Dest) override;

 private:
  // Inside Open: empties the clipboard before the first data of the bracket.
  void Adding();
  void SetBuffer(UINT Format, HANDLE Data);
  void AssignGraphic(TGraphic* Graphic);

  HWND FWindow = nullptr;
  int FOpenCount = 0;
  bool FEmptied = false;
};

// The process's clipboard object, made on first use.
TClipboard* Clipboard();
// Replaces it (null frees the current one); returns the old one, which the caller
// now owns.
TClipboard* SetClipboard(TClipboard* NewClipboard);

// The unit's start registers CF_PICTURE; its end frees the clipboard object.
void InitClipbrd();
void DoneClipbrd();
