// The tree list's bands: vertical strips that group columns side by side, each with an
// optional caption row; a band may be pinned to the left or right edge. The tree list
// owns one collection of them; a column names its band by index.
#pragma once

#include "classlib/Classes.h"
#include "treelist/dxTL_Events.h"

class TCustomdxTreeListControl;
class TdxTreeListBands;

class TdxTreeListBand : public TCollectionItem {
  TCLASS_DECL(TdxTreeListBand, TCollectionItem)
 public:
  explicit TdxTreeListBand(TCollection* ACollection) : TCollectionItem(ACollection) {}
  // Leaves the collection while still whole: the collection's notification of a band
  // leaving renumbers the columns and may lay out the remaining bands.
  void BeforeDestruction() override;

  // Alignment, Fixed, MinWidth, OnlyOwnColumns, Sizing and Width back to their
  // defaults (Caption, Visible and the two Disable flags stay).
  virtual void RestoreDefaults();
  // From another band, inside one collection update; the Disable flags are not copied.
  void Assign(TPersistent* Source) override;
  // Clamped to the collection; a pinned band does not move. The columns follow their
  // bands.
  void SetIndex(int Value) override;

  // The collection's tree list (nullptr outside a tree list's band collection).
  TCustomdxTreeListControl* TreeList() const;
  TdxTreeListBands* Bands() const;
  int VisibleIndex() const;
  // The tree list's header rows of this band, the columns in a row, and the column at
  // a place (nullptr when there is none).
  int RowCount() const;
  int RowColumnCount(int Row) const;
  TdxTreeListColumn* RowColumns(int Row, int Col) const;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool DisableCustomizing() const { return FDisableCustomizing; }
  void SetDisableCustomizing(bool Value);
  bool DisableDragging() const { return FDisableDragging; }
  void SetDisableDragging(bool Value) { FDisableDragging = Value; }
  // bfLeft moves the band to the front, bfRight to the end, clearing the edge on any
  // other band; a hidden band moves but stays bfNone.
  TdxGridBandFixed Fixed() const { return FFixed; }
  void SetFixed(TdxGridBandFixed Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  bool OnlyOwnColumns() const { return FOnlyOwnColumns; }
  void SetOnlyOwnColumns(bool Value) { FOnlyOwnColumns = Value; }
  bool Sizing() const { return FSizing; }
  void SetSizing(bool Value);
  bool Visible() const { return FVisible; }
  // Hiding unpins the band.
  void SetVisible(bool Value);
  int Width() const { return FWidth; }
  // MinWidth .. dxTLMaxWidth.
  void SetWidth(int Value);

 private:
  friend class TdxTreeListBands;

  TAlignment FAlignment = taCenter;
  AnsiString FCaption;
  bool FDisableCustomizing = false;
  bool FDisableDragging = false;
  TdxGridBandFixed FFixed = bfNone;
  int FMinWidth = 30;
  bool FOnlyOwnColumns = false;
  bool FSizing = true;
  bool FVisible = true;
  int FWidth = 250;
};

class TdxTreeListBands : public TCollection {
  TCLASS_DECL(TdxTreeListBands, TCollection)
 public:
  TdxTreeListBands(TCustomdxTreeListControl* ATreeList, TCollectionItemClass AItemClass)
      : TCollection(AItemClass), FTreeList(ATreeList) {}

  TdxTreeListBand* Add() { return static_cast<TdxTreeListBand*>(TCollection::Add()); }
  TdxTreeListBand* Items(int Index) const {
    return static_cast<TdxTreeListBand*>(TCollection::Items(Index));
  }

  // Nullptr while the tree list's first band is added; set right after.
  TCustomdxTreeListControl* TreeList() const { return FTreeList; }
  void SetTreeList(TCustomdxTreeListControl* Value) { FTreeList = Value; }

  int VisibleCount() const;
  // Nullptr out of range.
  TdxTreeListBand* VisibleItems(int VisibleIndex) const;
  // The collection index of the n-th visible band; -1 out of range.
  int GetAbsoluteIndex(int VisibleIndex) const;
  // The position among the visible bands; -1 for a hidden band or out of range.
  int GetVisibleIndex(int AbsoluteIndex) const;

  // Unpins every band and pins again only the first bfLeft and bfRight bands, when a
  // pinned band is not at its edge or an edge has two.
  void NormalizeFixed();

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

 private:
  // The band at Index leaves the collection, by any path: the columns of the tree list
  // are renumbered (those of the band name none, those of later bands the band before).
  void BandLeaving(int Index);

  TCustomdxTreeListControl* FTreeList;
};
