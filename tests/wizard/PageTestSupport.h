// Checks shared by the tests of the wizard's pages.
#pragma once

#include <cstring>

#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"

namespace wiztest {

// Whether the image shows exactly the pixels of Bitmap.
inline bool ShowsBitmap(TImage* Image, TBitmap* Bitmap) {
  auto* Shown = ObjectAs<TBitmap>(Image->Picture()->Graphic());
  if (!Shown || !Bitmap || Shown->Width() != Bitmap->Width() || Shown->Height() != Bitmap->Height() ||
      Shown->BitCount() != Bitmap->BitCount())
    return false;
  for (int Row = 0; Row < Bitmap->Height(); ++Row)
    if (std::memcmp(Shown->ScanLine(Row), Bitmap->ScanLine(Row), Bitmap->RowStride()) != 0) return false;
  return true;
}

}  // namespace wiztest
