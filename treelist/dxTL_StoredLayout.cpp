// The tree list's stored layout: the grid values, the bands (by their collection ID)
// and the columns (by their Name) under one root section, written to and read from
// the registry or an ini file through the registry and ini wrapper. The root P is a
// registry path or an ini section name; below it lie P\Band\Band<n> and
// P\Columns\<column name>, or, for a column without a Name, P\Columns\<its join
// order> (digits, which no Name can be). A layout is read once after the form was loaded and written
// once when the control goes, when the options ask for it; reading applies everything
// inside one layout update, so the nodes are sorted once, at its end.
#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/IniFiles.h"
#include "classlib/Lists.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "editors/dxRegIni.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

namespace {

AnsiString BandSection(const AnsiString& Root, int Band) {
  return Root + "\\Band\\Band" + IntToStr(Band);
}

AnsiString ColumnSection(const AnsiString& Root, const TdxTreeListColumn* Column) {
  const AnsiString& Name = Column->Name();
  return Root + "\\Columns\\" + (Name.empty() ? IntToStr(Column->JoinOrder()) : Name);
}

bool IsIniStorage(TCustomIniFile* IniObject) {
  return IniObject->Is<TIniFile>() || IniObject->Is<TMemIniFile>();
}

// Items placed by the positions read for them: the positions, right-aligned in eleven
// characters, are ordered as text (stable, by character codes).
template <class T>
class TPlacementList {
 public:
  void Add(int Position, T* Item) {
    AnsiString Key = IntToStr(Position);
    if (Key.size() < 11) Key.insert(0, 11 - Key.size(), ' ');
    FItems.emplace_back(std::move(Key), Item);
  }
  // The items in their new order, the list emptied.
  std::vector<T*> TakeOrder() {
    MergeSort(FItems, [](const auto& A, const auto& B) { return CompareStr(A.first, B.first); });
    std::vector<T*> Result;
    for (auto& Entry : FItems) Result.push_back(Entry.second);
    FItems.clear();
    return Result;
  }

 private:
  std::vector<std::pair<AnsiString, T*>> FItems;
};

}  // namespace

// ---------------------------------------------------------------------------------
// Where the layout is

AnsiString TCustomdxTreeListControl::NormalizeLayoutPath(const AnsiString& Path) {
  AnsiString Result = Path;
  if (!Result.empty() && Result[0] != '\\') Result.insert(0, "\\");
  while (!Result.empty() && Result.back() == '\\') Result.pop_back();
  return Result;
}

AnsiString TCustomdxTreeListControl::IniLayoutSection(bool Loading) {
  if (!FIniSectionName.empty()) return FIniSectionName;
  AnsiString Form = FormName();
  if (Loading) {
    TCustomForm* ParentForm = GetParentForm(this);
    Form = ParentForm ? ParentForm->Name() : AnsiString();
  }
  return Form + "_" + Name();
}

// ---------------------------------------------------------------------------------
// When it is read and written

void TCustomdxTreeListControl::RestoreLayout() {
  if (FLayoutRestored) return;
  FLayoutRestored = true;
  if (ComponentState().Contains(csDesigning)) return;
  if (Options().Contains(aoStoreToRegistry) && !FRegistryPath.empty())
    LoadLayoutFromRegistry(FRegistryPath);
  if (Options().Contains(aoStoreToIniFile) && !FIniFileName.empty())
    LoadLayoutFromIniFile(FIniFileName);
}

void TCustomdxTreeListControl::StoreLayout() {
  if (FLayoutStored) return;
  FLayoutStored = true;
  if (ComponentState().Contains(csDesigning)) return;
  if (Options().Contains(aoStoreToRegistry) && !FRegistryPath.empty())
    SaveLayoutToRegistry(FRegistryPath);
  if (Options().Contains(aoStoreToIniFile) && !FIniFileName.empty())
    SaveLayoutToIniFile(FIniFileName);
}

void TCustomdxTreeListControl::LoadLayoutFromRegistry(const AnsiString& Path) {
  TOwned<TRegIniFile> Registry(NewObject<TRegIniFile>(AnsiString()));
  if (!Registry->OpenKey(NormalizeLayoutPath(Path), false)) return;
  Registry->CloseKey();
  LoadLayout(Registry.get(), Path);
}

void TCustomdxTreeListControl::LoadLayoutFromIniFile(const AnsiString& FileName) {
  TOwned<TMemIniFile> IniFile(NewObject<TMemIniFile>(FileName));
  LoadLayout(IniFile.get(), IniLayoutSection(true));
}

void TCustomdxTreeListControl::SaveLayoutToRegistry(const AnsiString& Path) {
  TOwned<TRegIniFile> Registry(NewObject<TRegIniFile>(AnsiString()));
  SaveLayout(Registry.get(), Path);
}

void TCustomdxTreeListControl::SaveLayoutToIniFile(const AnsiString& FileName) {
  TOwned<TMemIniFile> IniFile(NewObject<TMemIniFile>(FileName));
  SaveLayout(IniFile.get(), IniLayoutSection(false));
  IniFile->UpdateFile();
}

// ---------------------------------------------------------------------------------
// Writing

void TCustomdxTreeListControl::SaveLayout(TCustomIniFile* IniObject, const AnsiString& Path) {
  const AnsiString Root = NormalizeLayoutPath(Path);
  TOwned<TdxRegIniWrapper> Wrapper(NewObject<TdxRegIniWrapper>());
  Wrapper->Storage = IniObject;
  // The layout's own sections go: the root and those below it, not a neighbour whose
  // name only begins like the root's ("\List10" beside "\List1"). The registry keeps
  // stale keys.
  if (IsIniStorage(IniObject)) {
    Wrapper->EraseSection(Root);
    Wrapper->EraseSectionsWithPrefix(Root + "\\");
  }
  SaveGridLayout(Wrapper.get(), Root);
  const std::vector<TdxTreeListColumn*> Columns = FColumns;
  for (TdxTreeListColumn* Column : Columns)
    SaveColumnLayout(Wrapper.get(), ColumnSection(Root, Column), Column);
}

void TCustomdxTreeListControl::SaveGridLayout(TdxRegIniWrapper* Wrapper,
                                              const AnsiString& Section) {
  Wrapper->WriteBool(Section, "ShowGrid", ShowGrid());
  Wrapper->WriteBool(Section, "ShowPreviewGrid", ShowPreviewGrid());
  Wrapper->WriteInteger(Section, "BandRowCount", BandRowCount());
  Wrapper->WriteInteger(Section, "DefaultRowHeight", DefaultRowHeight());
  Wrapper->WriteInteger(Section, "HeaderPanelRowCount",
                        IsAutoHeaderPanelHeight() ? -1 : HeaderPanelRowCount());
  for (int N = 0; N < FBands->Count(); ++N) {
    TdxTreeListBand* Band = FBands->Items(N);
    const AnsiString BandPath = BandSection(Section, N);
    Wrapper->WriteInteger(BandPath, "ID", Band->ID());
    Wrapper->WriteBool(BandPath, "Visible", Band->Visible());
    Wrapper->WriteInteger(BandPath, "Index", Band->Index());
    Wrapper->WriteInteger(BandPath, "Width", Band->Width());
  }
}

void TCustomdxTreeListControl::SaveColumnLayout(TdxRegIniWrapper* Wrapper,
                                                const AnsiString& Section,
                                                TdxTreeListColumn* Column) {
  const auto SortAt = std::find(FSortColumns.begin(), FSortColumns.end(), Column);
  const int SortedOrder =
      SortAt == FSortColumns.end() ? -1 : static_cast<int>(SortAt - FSortColumns.begin());
  Wrapper->WriteInteger(Section, "BandIndex", Column->BandIndex());
  Wrapper->WriteInteger(Section, "RowIndex", Column->RowIndex());
  Wrapper->WriteInteger(Section, "ColIndex", Column->ColIndex());
  Wrapper->WriteBool(Section, "Visible", Column->Visible());
  Wrapper->WriteInteger(Section, "Index", Column->Index());
  Wrapper->WriteInteger(Section, "Width", Column->Width());
  Wrapper->WriteInteger(Section, "Sorted", static_cast<int>(Column->Sorted()));
  Wrapper->WriteInteger(Section, "SortedOrder", SortedOrder);
  Wrapper->WriteInteger(Section, "StoredRowIndex", Column->StoredRowIndex());
}

// ---------------------------------------------------------------------------------
// Reading

void TCustomdxTreeListControl::BeginLayoutUpdate() {
  BeginUpdate();
  ++FLayoutUpdateCount;
}

void TCustomdxTreeListControl::EndLayoutUpdate() {
  auto Done = AtScopeEnd([this] { EndUpdate(); });
  if (FLayoutUpdateCount > 0 && --FLayoutUpdateCount == 0) ResortNodes();
}

void TCustomdxTreeListControl::LoadLayout(TCustomIniFile* IniObject, const AnsiString& Path) {
  const AnsiString Root = NormalizeLayoutPath(Path);
  TOwned<TdxRegIniWrapper> Wrapper(NewObject<TdxRegIniWrapper>());
  Wrapper->Storage = IniObject;
  BeginLayoutUpdate();
  auto Done = AtScopeEnd([this] { EndLayoutUpdate(); });

  LoadGridLayout(Wrapper.get(), Root);

  // Bands: found by their ID, then placed by the positions read.
  TPlacementList<TdxTreeListBand> Bands;
  for (int N = 0; N < FBands->Count(); ++N) {
    const AnsiString BandPath = BandSection(Root, N);
    const int ID = Wrapper->ReadInteger(BandPath, "ID", -1);
    if (ID == -1) continue;
    auto* Band = static_cast<TdxTreeListBand*>(FBands->FindItemID(ID));
    if (!Band) continue;
    Band->SetVisible(Wrapper->ReadBool(BandPath, "Visible", Band->Visible()));
    Band->SetWidth(Wrapper->ReadInteger(BandPath, "Width", Band->Width()));
    Bands.Add(Wrapper->ReadInteger(BandPath, "Index", Band->Index()), Band);
  }
  const std::vector<TdxTreeListBand*> BandOrder = Bands.TakeOrder();
  for (std::size_t I = 0; I < BandOrder.size(); ++I)
    BandOrder[I]->SetIndex(static_cast<int>(I));

  // Columns: their values, then their places (the cell texts move with them).
  const std::vector<TdxTreeListColumn*> Columns = FColumns;
  TPlacementList<TdxTreeListColumn> Places;
  for (TdxTreeListColumn* Column : Columns) {
    const AnsiString Section = ColumnSection(Root, Column);
    LoadColumnLayout(Wrapper.get(), Section, Column);
    Places.Add(Wrapper->ReadInteger(Section, "Index", Column->Index()), Column);
  }
  const std::vector<TdxTreeListColumn*> ColumnOrder = Places.TakeOrder();
  for (std::size_t I = 0; I < ColumnOrder.size(); ++I)
    ColumnOrder[I]->SetIndex(static_cast<int>(I));

  {
    // The header rows are packed once, after every column has its row.
    auto Pack = AtScopeEnd([this] { ColumnChanged(nullptr); });
    TFlagScope Applying(FApplyingLayout);
    for (TdxTreeListColumn* Column : Columns) {
      const AnsiString Section = ColumnSection(Root, Column);
      // -1 is a column outside every band, as the layout was written; a number below
      // it names no band and leaves the column where it is.
      const int Band = Wrapper->ReadInteger(Section, "BandIndex", Column->BandIndex());
      if (Band >= -1) Column->SetBandIndex(Band);
      Column->SetRowIndex(Wrapper->ReadInteger(Section, "RowIndex", Column->RowIndex()));
      Column->SetStoredRowIndex(
          Wrapper->ReadInteger(Section, "StoredRowIndex", Column->FStoredRowIndex));
    }
  }

  if (IsMultiSort()) RebuildSortColumns();
}

void TCustomdxTreeListControl::LoadGridLayout(TdxRegIniWrapper* Wrapper,
                                              const AnsiString& Section) {
  SetShowGrid(Wrapper->ReadBool(Section, "ShowGrid", ShowGrid()));
  SetShowPreviewGrid(Wrapper->ReadBool(Section, "ShowPreviewGrid", ShowPreviewGrid()));
  SetBandRowCount(Wrapper->ReadInteger(Section, "BandRowCount", BandRowCount()));
  // A height that is not read stays unassigned.
  const int RowHeight = Wrapper->ReadInteger(Section, "DefaultRowHeight", DefaultRowHeight());
  if (RowHeight != DefaultRowHeight()) SetDefaultRowHeight(RowHeight);
  const int HeaderRows = Wrapper->ReadInteger(Section, "HeaderPanelRowCount",
                                              IsAutoHeaderPanelHeight() ? -1 : HeaderPanelRowCount());
  if (HeaderRows == -1) return;
  if (OptionsEx().Contains(aoAutoHeaderPanelHeight)) {
    TdxTreeListOptionsEx Options = OptionsEx();
    Options.Exclude(aoAutoHeaderPanelHeight);
    TCustomdxTreeList::SetOptionsEx(Options);
  }
  SetHeaderPanelRowCount(HeaderRows);
}

void TCustomdxTreeListControl::LoadColumnLayout(TdxRegIniWrapper* Wrapper,
                                                const AnsiString& Section,
                                                TdxTreeListColumn* Column) {
  Column->SetVisible(Wrapper->ReadBool(Section, "Visible", Column->Visible()));
  Column->SetWidth(Wrapper->ReadInteger(Section, "Width", Column->Width()));
  const int Sorted = Wrapper->ReadInteger(Section, "Sorted", static_cast<int>(Column->Sorted()));
  if (Sorted >= csNone && Sorted <= csUp)
    Column->SetSorted(static_cast<TdxTreeListColumnSort>(Sorted));
  Column->FStoredSortOrder = Wrapper->ReadInteger(Section, "SortedOrder", -1);
}
