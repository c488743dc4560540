// The text editor's cells: the class-level DrawContent that paints (or measures) a
// view data's text with the live control's rules: case, password, alignment, offsets.
#include "classlib/StrUtils.h"
#include "editors/dxDrawing.h"
#include "editors/dxEditor.h"

namespace {

UINT AlignmentFlags(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DXTR_RIGHT;
    case taCenter: return DXTR_CENTER;
    default: return DXTR_LEFT;
  }
}

UINT LayoutFlags(TdxVerticalLayout Layout) {
  switch (Layout) {
    case 1: return DXTR_VCENTER;
    case 2: return DXTR_BOTTOM;
    case 3: return DXTR_WORDBREAK;
    default: return DXTR_TOP;
  }
}

}  // namespace

bool TdxInplaceTextEdit::DrawContent(MetaType::TSelf /*Self*/, HDC DC, const TRect& Rect, bool IsWindow,
                                     TdxEditViewData* ViewData) {
  if (IsWindow && ViewData->NativeEdit) return true;
  auto* TextData = ObjectAs<TdxTextEditViewData>(ViewData);
  AnsiString Text;
  bool SelectionBar = false;
  bool EndEllipsis = false;
  if (TextData) {
    Text = TextData->Text;
    if (TextData->CharCase == ecUpperCase) Text = AnsiUpperCase(Text);
    if (TextData->CharCase == ecLowerCase) Text = AnsiLowerCase(Text);
    if (TextData->PasswordChar) Text.assign(Text.size(), TextData->PasswordChar);
    SelectionBar = TextData->SelectionBar;
    EndEllipsis = TextData->EndEllipsis;
  }

  TRect R = Rect;
  if (SelectionBar) R.left += dxSelectionBarWidth;
  const TRect& Off = ViewData->Offsets;
  if (ViewData->FocusRectMode) {
    InflateRect(&R, -2, -2);
  } else {
    InflateRect(&R, -1, -1);
    R.left += Off.left;
    R.top += Off.top;
    R.right -= Off.right;
    if (ViewData->Alignment == taRightJustify) R.right -= 1;
  }

  UINT Flags = AlignmentFlags(ViewData->Alignment) | LayoutFlags(ViewData->VerticalLayout);
  if (ViewData->FocusRectMode && ViewData->Focused) Flags |= DXTR_FOCUSRECT;
  if (ViewData->NoBackground) Flags |= DXTR_NOFILL;
  if (ViewData->KeepBackgroundMode) Flags |= DXTR_KEEPBKMODE;
  if (EndEllipsis) Flags |= DXTR_END_ELLIPSIS;

  const auto TextColor = static_cast<TColor>(ViewData->TextColor);
  const auto BackgroundColor = static_cast<TColor>(ViewData->BackgroundColor);
  const int Length = static_cast<int>(Text.size());
  if (!ViewData->MeasureOnly) {
    DrawTextInRect(DC, Text.c_str(), Length, nullptr, TextColor, BackgroundColor, ViewData->Font, ViewData->Brush,
                   Flags, R, Rect);
    return true;
  }
  ViewData->LineCount = 0;
  ViewData->NeededHeight = 0;
  int TextHeight = 0;
  const int Needed = DrawTextInRect(DC, Text.c_str(), Length, &TextHeight, TextColor, BackgroundColor,
                                    ViewData->Font, ViewData->Brush, Flags | DXTR_CALCRECT, R, Rect);
  if (Needed != 0) ViewData->NeededHeight = Needed - (ViewData->FocusRectMode ? 2 : Off.top + 2);
  ViewData->TextHeight = TextHeight;
  if (TextHeight != 0) ViewData->LineCount = ViewData->NeededHeight / TextHeight;
  return true;
}
