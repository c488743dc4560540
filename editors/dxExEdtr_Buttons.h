// Edit buttons: the buttons an editor draws inside its own frame. TdxEditButton
// describes one, TdxEditButtons holds up to eight for one owner, and DrawEditButton
// paints one face in any button style, for the drop-down, button and spin editors
// alike (with a window on WM_NCPAINT, or without one in a cell).
#pragma once

#include <windows.h>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "editors/dxCntner_Style.h"

enum TdxEditButtonKind : Byte { bkEllipsis, bkDown, bkGlyph };
TENUM_INFO(TdxEditButtonKind, "bkEllipsis", "bkDown", "bkGlyph")

// A collection holds at most this many buttons.
inline constexpr int dxMaxEditButtonCount = 8;
inline constexpr const char* SdxTooManyButtons = "Too many buttons ( >= %d)";

// One button as a paint sees it: the glyph is borrowed, Index is the visible position.
struct TdxEditButtonDrawData {
  TBitmap* Glyph = nullptr;
  int Index = 0;
  TdxEditButtonKind Kind = bkDown;
  bool LeftAlignment = false;
  int Width = 0;
  // 1 or 2: the spin editor's up or down arrow in place of the kind's mark.
  Byte SpinArrow = 0;
};

// What a button face needs of its editor: the resolved button style (btsDefault
// draws as bts3D), the editor's background brush and whether it is enabled.
struct TdxEditButtonLook {
  TdxEditButtonViewStyle Style = bts3D;
  HBRUSH BackgroundBrush = nullptr;
  bool Enabled = true;
};

// Paints Button's face over Rect. A transparent button keeps the editor's background
// as its face; a pressed one moves its content down and right (not in btsHotFlat).
void DrawEditButton(HDC DC, const TRect& Rect, const TdxEditButtonDrawData& Button,
                    const TdxEditButtonLook& Look, bool Pressed, bool Transparent, bool Hot);
// The width of a button that names none: a glyph's width plus its edges, else the
// width of a vertical scroll bar (1 less for the flat styles).
int DefaultEditButtonWidth(TdxEditButtonViewStyle Style, const TdxEditButtonDrawData& Button);

class TdxEditButtons;

class TdxEditButton : public TCollectionItem {
  TCLASS_DECL(TdxEditButton, TCollectionItem)
 public:
  // Raises "Too many buttons ( >= 8)" when the collection is full; it keeps its items.
  explicit TdxEditButton(TCollection* ACollection);
  ~TdxEditButton() override;

  // From another button, inside one update of the own collection.
  void Assign(TPersistent* Source) override;
  // Glyph gone, bkEllipsis, right-aligned, visible, width 0; Default stays; no notice.
  virtual void RestoreDefaults();

  bool Default() const { return FDefault; }
  // True clears Default on every other button of the collection first.
  void SetDefault(bool Value);
  // Made on first read.
  TBitmap* Glyph();
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }
  void SetGlyph(TBitmap* Value);
  TdxEditButtonKind Kind() const { return FKind; }
  void SetKind(TdxEditButtonKind Value);
  bool LeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);

 private:
  friend class TdxEditButtons;
  static TCollection* CheckRoom(TCollection* ACollection);

  bool FDefault = false;
  TBitmap* FGlyph = nullptr;
  TdxEditButtonKind FKind = bkEllipsis;
  bool FLeftAlignment = false;
  bool FVisible = true;
  int FWidth = 0;
};

class TdxEditButtons : public TOwnedCollection {
  TCLASS_DECL(TdxEditButtons, TOwnedCollection)
 public:
  TdxEditButtons(TPersistent* AOwner, TCollectionItemClass AItemClass)
      : TOwnedCollection(AOwner, AItemClass) {}

  TdxEditButton* Add() { return static_cast<TdxEditButton*>(TCollection::Add()); }
  TdxEditButton* GetItem(int Index) const { return static_cast<TdxEditButton*>(Items(Index)); }
  void RestoreDefaults();
  int VisibleCount() const;
  // The collection index of the button at a visible position, -1 when there is none.
  int VisibleIndexToIndex(int VisibleIndex) const;
  TdxEditButton* GetVisibleItem(int VisibleIndex) const;

 protected:
  // Unless the owner is loading, a lone button becomes the default.
  void Update(TCollectionItem* Item) override;
};
