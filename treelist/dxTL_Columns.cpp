// Columns: assigned values and their defaults, placement among bands and header rows,
// moves and deletions that carry the cell texts, sorting, best fit, the editor
// settings and the view data of painted cells.
#include "treelist/dxTL_Columns.h"

#include <algorithm>

#include "classlib/Classes_Streaming.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_MaskColumn.h"

TCLASS_IMPL(TdxInplaceTreeListTextEdit)
TCLASS_IMPL(TdxTreeListColumn)

// ---------------------------------------------------------------------------------
// Life

TdxTreeListColumn::TdxTreeListColumn(TComponent* AOwner) : TComponent(AOwner) {}

TdxTreeListColumn::~TdxTreeListColumn() {
  FreeAndNil(FViewData);
  FreeAndNil(FHeaderGlyph);
  FreeAndNil(FFont);
}

void TdxTreeListColumn::AfterConstruction() {
  inherited::AfterConstruction();
  FAlignment = GetDefaultAlignment();
  FCaption = GetDefaultCaption();
  FMaxLength = GetDefaultMaxLength();
  FReadOnly = GetDefaultReadOnly();
  FWidth = GetDefaultWidth();
  FViewData = GetEditorClass()->NewViewData();
}

void TdxTreeListColumn::BeforeDestruction() {
  if (FTreeList) {
    if (!FTreeList->Destroying()) FTreeList->DeleteColumnTexts(Index());
    FTreeList->RemoveColumn(this);
  }
  inherited::BeforeDestruction();
}

void TdxTreeListColumn::SetTreeList(TCustomdxTreeListControl* Value) {
  if (Value == FTreeList || ComponentState().Contains(csLoading)) return;
  if (FTreeList) FTreeList->RemoveColumn(this);
  if (Value) Value->AddColumn(this);
}

TComponent* TdxTreeListColumn::GetParentComponent() const { return FTreeList; }

void TdxTreeListColumn::SetParentComponent(TComponent* Value) {
  auto* Tree = Value ? ObjectAs<TCustomdxTreeListControl>(Value) : nullptr;
  // A parent that takes no columns would leave the column in no tree list.
  if (Value && !Tree) throw EInvalidOperation(SColumnParentUnknown, {Value->ClassName()});
  if (Tree == FTreeList) return;
  if (FTreeList) FTreeList->RemoveColumn(this);
  if (Tree) Tree->AddColumn(this);
}

void TdxTreeListColumn::SetName(const AnsiString& NewName) {
  inherited::SetName(NewName);
  if (OnNameChanged.Assigned()) OnNameChanged(this);
}

void TdxTreeListColumn::Changed(bool AllColumns) {
  if (FTreeList) FTreeList->ColumnChanged(AllColumns ? nullptr : this);
}

void TdxTreeListColumn::Assign(TPersistent* Source) {
  auto* Other = ObjectAs<TdxTreeListColumn>(Source);
  if (!Other) {
    inherited::Assign(Source);
    return;
  }
  TCustomdxTreeListControl* Tree = FTreeList;
  if (Tree) Tree->BeginUpdate();
  auto Done = ScopeExit([Tree] {
    if (Tree) Tree->EndUpdate();
  });
  RestoreDefaults();
  const TdxTreeListColumnValues Values = Other->FAssignedValues;
  if (Values.Contains(cvAlignment)) SetAlignment(Other->FAlignment);
  if (Values.Contains(cvCaption)) SetCaption(Other->FCaption);
  if (Values.Contains(cvReadOnly)) SetReadOnly(Other->FReadOnly);
  if (Values.Contains(cvWidth)) SetWidth(Other->FWidth);
  if (Values.Contains(cvColor)) SetColor(Other->FColor);
  if (Values.Contains(cvFont)) SetFont(Other->Font());
  if (Values.Contains(cvMaxLength)) SetMaxLength(Other->FMaxLength);
  SetDisableCaption(Other->FDisableCaption);
  SetDisableCustomizing(Other->FDisableCustomizing);
  SetDisableEditor(Other->FDisableEditor);
  SetSortingFlag(Other->FSortingFlag);
  SetHeaderAlignment(Other->FHeaderAlignment);
  if (Other->HasHeaderGlyph()) SetHeaderGlyph(Other->FHeaderGlyph);
  SetMinWidth(Other->FMinWidth);
  SetSizing(Other->FSizing);
  SetSorted(Other->FSorted);
  SetVertAlignment(Other->FVertAlignment);
  SetVisible(Other->FVisible);
  SetTabStop(Other->FTabStop);
  SetBandIndex(Other->FBandIndex);
  SetRowIndex(Other->RowIndex());
  SetColIndex(Other->ColIndex());
  SetHeaderMaxLineCount(Other->FHeaderMaxLineCount);
}

void TdxTreeListColumn::RestoreDefaults() {
  FAssignedValues = TdxTreeListColumnValues();
  CopyTreeListFont();
  FDisableCaption = false;
  FDisableCustomizing = false;
  FDisableEditor = false;
  FHeaderAlignment = taLeftJustify;
  FMinWidth = 20;
  FSizing = true;
  SetSorted(csNone);
  FTabStop = true;
  FVertAlignment = tlTop;
  Changed(true);
}

// ---------------------------------------------------------------------------------
// Form values

bool TdxTreeListColumn::SortedOrderStored() const {
  return FTreeList && FTreeList->IsMultiSort() && FTreeList->SortColumnCount() > 1 &&
         FSorted != csNone;
}

void TdxTreeListColumn::ReadSortedOrder(TReader* Reader) {
  FStoredSortOrder = static_cast<int>(Reader->ReadInteger());
}

void TdxTreeListColumn::WriteSortedOrder(TWriter* Writer) {
  const auto& List = FTreeList->FSortColumns;
  Writer->WriteInteger(std::find(List.begin(), List.end(), this) - List.begin());
}

void TdxTreeListColumn::ReadStoredRowIndex(TReader* Reader) {
  SetStoredRowIndex(static_cast<int>(Reader->ReadInteger()));
}

void TdxTreeListColumn::WriteStoredRowIndex(TWriter* Writer) {
  Writer->WriteInteger(FStoredRowIndex);
}

void TdxTreeListColumn::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "SortedOrder", TReaderProc::Bind<&TdxTreeListColumn::ReadSortedOrder>(this),
      TWriterProc::Bind<&TdxTreeListColumn::WriteSortedOrder>(this), SortedOrderStored());
  Filer->DefineProperty("StoredRowIndex",
                        TReaderProc::Bind<&TdxTreeListColumn::ReadStoredRowIndex>(this),
                        TWriterProc::Bind<&TdxTreeListColumn::WriteStoredRowIndex>(this),
                        FStoredRowIndex != 0);
}

// ---------------------------------------------------------------------------------
// Assigned values

template <class T>
void TdxTreeListColumn::SetAssigned(TdxTreeListColumnValue Bit, T& Field, T Value) {
  if (FAssignedValues.Contains(Bit) && Field == Value) return;
  Field = Value;
  FAssignedValues.Include(Bit);
  Changed(false);
}

TAlignment TdxTreeListColumn::Alignment() const {
  return FAssignedValues.Contains(cvAlignment) ? FAlignment : GetDefaultAlignment();
}
void TdxTreeListColumn::SetAlignment(TAlignment Value) {
  SetAssigned(cvAlignment, FAlignment, Value);
}

AnsiString TdxTreeListColumn::Caption() const {
  return FAssignedValues.Contains(cvCaption) ? FCaption : GetDefaultCaption();
}
void TdxTreeListColumn::SetCaption(const AnsiString& Value) {
  SetAssigned(cvCaption, FCaption, Value);
}

TColor TdxTreeListColumn::Color() const {
  if (FAssignedValues.Contains(cvColor)) return FColor;
  return FTreeList ? FTreeList->Color() : clWindow;
}
void TdxTreeListColumn::SetColor(TColor Value) { SetAssigned(cvColor, FColor, Value); }

int TdxTreeListColumn::MaxLength() const {
  return FAssignedValues.Contains(cvMaxLength) ? FMaxLength : GetDefaultMaxLength();
}
void TdxTreeListColumn::SetMaxLength(int Value) {
  SetAssigned(cvMaxLength, FMaxLength, Value);
}

bool TdxTreeListColumn::ReadOnly() const {
  return FAssignedValues.Contains(cvReadOnly) ? FReadOnly : GetDefaultReadOnly();
}
void TdxTreeListColumn::SetReadOnly(bool Value) {
  SetAssigned(cvReadOnly, FReadOnly, Value);
}

int TdxTreeListColumn::Width() const {
  return FAssignedValues.Contains(cvWidth) ? FWidth : GetDefaultWidth();
}

void TdxTreeListColumn::SetWidth(int Value) {
  Value = std::clamp(Value, FMinWidth, dxTLMaxWidth);
  if (!FAssignedValues.Contains(cvWidth) && Value == GetDefaultWidth()) return;
  SetAssigned(cvWidth, FWidth, Value);
}

void TdxTreeListColumn::SetMinWidth(int Value) {
  FMinWidth = std::clamp(Value, 0, dxTLMaxWidth);
  SetWidth(Width());
}

void TdxTreeListColumn::CopyTreeListFont() {
  if (!FFont) return;
  FFontChanging = true;
  auto Done = ScopeExit([this] { FFontChanging = false; });
  if (FTreeList) FFont->Assign(FTreeList->Font());
}

TFont* TdxTreeListColumn::Font() {
  if (!FFont) {
    FFont = NewObject<TFont>();
    FFont->OnChange = TNotifyEvent::Bind<&TdxTreeListColumn::FontChanged>(this);
  }
  if (!FAssignedValues.Contains(cvFont)) CopyTreeListFont();
  return FFont;
}

TFont* TdxTreeListColumn::AssignedFont() {
  TFont* Result = Font();
  FAssignedValues.Include(cvFont);
  return Result;
}

void TdxTreeListColumn::SetFont(TFont* Value) { Font()->Assign(Value); }

void TdxTreeListColumn::FontChanged(TObject* /*Sender*/) {
  if (FFontChanging) return;
  FAssignedValues.Include(cvFont);
  Changed(true);
}

// ---------------------------------------------------------------------------------
// Plain values

void TdxTreeListColumn::SetCharCase(TEditCharCase Value) {
  if (Value == FCharCase) return;
  FCharCase = Value;
  Changed(true);
}

void TdxTreeListColumn::SetDisableCaption(bool Value) {
  if (Value == FDisableCaption) return;
  FDisableCaption = Value;
  Changed(true);
}

void TdxTreeListColumn::SetDisableCustomizing(bool Value) {
  if (Value == FDisableCustomizing) return;
  FDisableCustomizing = Value;
  Changed(true);
}

void TdxTreeListColumn::SetHeaderAlignment(TAlignment Value) {
  if (Value == FHeaderAlignment) return;
  FHeaderAlignment = Value;
  Changed(true);
}

TBitmap* TdxTreeListColumn::HeaderGlyph() {
  if (!FHeaderGlyph) FHeaderGlyph = NewObject<TBitmap>();
  return FHeaderGlyph;
}

void TdxTreeListColumn::SetHeaderGlyph(TBitmap* Value) {
  HeaderGlyph()->Assign(Value);
  Changed(true);
}

void TdxTreeListColumn::SetHeaderMaxLineCount(int Value) {
  Value = std::max(Value, 0);
  if (Value == FHeaderMaxLineCount) return;
  FHeaderMaxLineCount = Value;
  Changed(true);
}

void TdxTreeListColumn::SetOEMConvert(bool Value) {
  if (Value == FOEMConvert) return;
  FOEMConvert = Value;
  Changed(false);
}

void TdxTreeListColumn::SetPasswordChar(char Value) {
  if (Value == FPasswordChar) return;
  FPasswordChar = Value;
  Changed(false);
}

void TdxTreeListColumn::SetSizing(bool Value) {
  if (Value == FSizing) return;
  FSizing = Value;
  Changed(false);
}

void TdxTreeListColumn::SetVertAlignment(TTextLayout Value) {
  if (Value == FVertAlignment) return;
  FVertAlignment = Value;
  Changed(false);
}

void TdxTreeListColumn::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(false);
}

void TdxTreeListColumn::SetSortingFlag(bool Value) {
  if (Value == FSortingFlag) return;
  FSortingFlag = Value;
  Changed(true);
}

// ---------------------------------------------------------------------------------
// Placement

int TdxTreeListColumn::GetIndex() const {
  if (FFixedIndex != -1) return FFixedIndex;
  return FTreeList ? FTreeList->IndexOfColumn(this) : -1;
}

void TdxTreeListColumn::SetIndex(int Value) {
  if (!FTreeList) return;
  const int Current = FTreeList->IndexOfColumn(this);
  if (Current < 0) return;
  Value = std::clamp(Value, 0, FTreeList->ColumnCount() - 1);
  if (Value == Current) return;
  FTreeList->ColumnMoved(Current, Value);
  auto& List = FTreeList->FColumns;
  List.erase(List.begin() + Current);
  List.insert(List.begin() + Value, this);
  Changed(true);
}

void TdxTreeListColumn::SetBandIndex(int Value) {
  Value = std::max(Value, -1);
  if (FTreeList) Value = std::min(Value, FTreeList->Bands()->Count() - 1);
  if (Value == FBandIndex) return;
  FBandIndex = Value;
  Changed(false);
}

int TdxTreeListColumn::RowIndex() const {
  if (!FTreeList) return FRowIndex;
  return std::min(FStoredRowIndex, FTreeList->HeaderPanelRowCount() - 1);
}

void TdxTreeListColumn::SetRowIndex(int Value) {
  Value = std::max(Value, 0);
  if (FTreeList) Value = std::min(Value, FTreeList->HeaderPanelRowCount() - 1);
  if (Value == FRowIndex && Value == FStoredRowIndex) return;
  FRowIndex = Value;
  FStoredRowIndex = Value;
  Changed(false);
}

void TdxTreeListColumn::SetStoredRowIndex(int Value) {
  const int Rows =
      FTreeList ? FTreeList->HeaderPanelMaxRowCount() : TCustomdxTreeListControl::RowCountLimit;
  FStoredRowIndex = std::clamp(Value, 0, Rows - 1);
}

int TdxTreeListColumn::ColIndex() const {
  if (!FTreeList) return -1;
  const int Row = RowIndex();
  int Result = 0;
  for (TdxTreeListColumn* Column : FTreeList->FColumns) {
    if (Column == this) return Result;
    if (Column->FVisible && Column->FBandIndex == FBandIndex && Column->RowIndex() == Row)
      ++Result;
  }
  return Result;
}

void TdxTreeListColumn::SetColIndex(int Value) {
  if (!FTreeList || FBandIndex == -1) return;
  const int Row = RowIndex();
  std::vector<TdxTreeListColumn*> Places;
  for (TdxTreeListColumn* Column : FTreeList->FColumns)
    if ((Column == this || Column->FVisible) && Column->FBandIndex == FBandIndex &&
        Column->RowIndex() == Row)
      Places.push_back(Column);
  if (Places.empty()) return;
  Value = std::clamp(Value, 0, static_cast<int>(Places.size()) - 1);
  int NewIndex = Places[Value]->Index();
  if (Value == static_cast<int>(Places.size()) - 1 && Places[Value] != this) ++NewIndex;
  SetIndex(NewIndex);
}

// ---------------------------------------------------------------------------------
// Sorting

bool TdxTreeListColumn::CanSort() {
  return !FSortingFlag && !ComponentState().Contains(csDesigning);
}

void TdxTreeListColumn::SetSorted(TdxTreeListColumnSort Value) {
  if (Value == FSorted) return;
  if (!FTreeList || ComponentState().Contains(csLoading) ||
      FTreeList->ComponentState().Contains(csLoading)) {
    FSorted = Value;
    return;
  }
  // The end of the layout update re-sorts, unless an outer one (a stored layout being
  // read) waits to sort once at its own end.
  TCustomdxTreeListControl* Tree = FTreeList;
  const bool InLayoutUpdate = Tree->LayoutUpdateCount() > 0;
  Tree->BeginLayoutUpdate();
  auto Done = AtScopeEnd([Tree] { Tree->EndLayoutUpdate(); });
  if (Value == csNone) {
    FSorted = csNone;
    Tree->RemoveSortColumn(this);
    Changed(false);
  } else {
    if (Tree->IsAutoSort() && !InLayoutUpdate && !Tree->ExtendingSort()) {
      for (TdxTreeListColumn* Column : Tree->FColumns)
        if (Column != this && Column->FSorted != csNone) {
          Column->FSorted = csNone;
          Tree->RemoveSortColumn(Column);
        }
    }
    FSorted = Value;
    Tree->AddSortColumn(this);
  }
}

// ---------------------------------------------------------------------------------
// Editing

TdxInplaceEditClass TdxTreeListColumn::GetEditorClass() {
  return &TdxInplaceTreeListTextEdit::StaticClass();
}

AnsiString TdxTreeListColumn::GetDisplayText(TdxTreeListNode* Node) {
  return Node->Strings(Index());
}

void TdxTreeListColumn::SetNodeValueFromEditor(TdxTreeListNode* Node,
                                               TdxInplaceEdit* Editor, Variant& Value) {
  // A masked editor's text is stored as its mask reads it: no blanks, and the literals
  // only where the mask keeps them.
  if (auto* Masked = ObjectAs<TdxInplaceMaskEdit>(Editor))
    Node->SetStrings(Index(), Masked->StoredText());
  else if (Editor->Is<TdxInplaceTextEdit>())
    Node->SetStrings(Index(), Editor->Text());
  Value = Node->Values(Index());
}

void TdxTreeListColumn::AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                           Variant& Value) {
  Editor->SetText(Node->Strings(Index()));
  Value = Variant(Editor->Text());
}

void TdxTreeListColumn::AssignEditorSettings(TdxInplaceEdit* Editor) {
  Editor->SetReadOnly(ReadOnly());
  Editor->OnChange = TNotifyEvent::Bind<&TdxTreeListColumn::EditChange>(this);
  Editor->OnValidate = TdxEditValidateEvent::Bind<&TdxTreeListColumn::EditValidate>(this);
  if (auto* Text = ObjectAs<TdxInplaceTextEdit>(Editor)) {
    Text->SetCharCase(FCharCase);
    Text->SetMaxLength(MaxLength());
    Text->SetOEMConvert(FOEMConvert);
    Text->SetPasswordChar(FPasswordChar);
    if (Text->HandleAllocated()) Text->StyleChanged();
  }
}

void TdxTreeListColumn::ReleaseEditor(TdxInplaceEdit* Editor) {
  Unbind(Editor->OnChange);
  Unbind(Editor->OnValidate);
}

void TdxTreeListColumn::EditChange(TObject* /*Sender*/) {
  if (!FTreeList || FTreeList->ContainerFlag()) return;
  FTreeList->DoEditChange(this);
  if (OnChange.Assigned()) OnChange(this);
}

void TdxTreeListColumn::EditValidate(TObject* /*Sender*/, AnsiString& ErrorText,
                                     bool& Accept) {
  if (!FTreeList || FTreeList->ContainerFlag()) return;
  FTreeList->DoEditValidate(this, ErrorText, Accept);
  if (OnValidate.Assigned()) OnValidate(this, ErrorText, Accept);
}

void TdxTreeListColumn::DoCustomDrawCell(TdxTLCellDrawArgs& A) {
  if (OnCustomDrawCell.Assigned())
    OnCustomDrawCell(this, A.Canvas, A.Rect, A.Node, A.Column, A.Selected, A.Focused,
                     A.NewItemRow, A.Text, A.Color, A.Font, A.Alignment, A.Done);
}

// ---------------------------------------------------------------------------------
// Painting and measuring

void TdxTreeListColumn::FillViewData(TdxEditViewData* ViewData,
                                     const TdxTreeListCellInfo& CellInfo) {
  ViewData->Enabled = true;
  ViewData->Focused = false;
  ViewData->Bounds = CellInfo.Bounds;
  ViewData->BackgroundColor = ColorToRGB(CellInfo.Color);
  ViewData->Brush = CellInfo.Brush;
  ViewData->TextColor = ColorToRGB(CellInfo.TextColor);
  ViewData->Font = CellInfo.Font ? CellInfo.Font->Handle() : CellInfo.FontHandle;
  ViewData->Alignment = CellInfo.Alignment;
  ViewData->VerticalLayout = static_cast<TdxVerticalLayout>(FVertAlignment);
  ViewData->BorderStyle = xbsNone;
  ViewData->Edges = dxAllEdges;
  if (FTreeList) ViewData->ButtonStyle = TreeListButtonStyle(FTreeList->LookAndFeel());
  if (auto* Text = ObjectAs<TdxTextEditViewData>(ViewData)) {
    Text->SetText(CellInfo.Text);
    Text->CharCase = FCharCase;
    Text->PasswordChar = FPasswordChar;
  }
}

void TdxTreeListColumn::FillCellFrame(HDC DC, TRect& Rect, bool LeftEdge, bool RightEdge,
                                      HBRUSH Brush) {
  RECT Line = {Rect.left, Rect.top, Rect.right, Rect.top + 1};
  FillRect(DC, &Line, Brush);
  Line = {Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom};
  FillRect(DC, &Line, Brush);
  ++Rect.top;
  --Rect.bottom;
  if (LeftEdge) {
    Line = {Rect.left, Rect.top, Rect.left + 1, Rect.bottom};
    FillRect(DC, &Line, Brush);
    ++Rect.left;
  }
  if (RightEdge) {
    Line = {Rect.right - 1, Rect.top, Rect.right, Rect.bottom};
    FillRect(DC, &Line, Brush);
    --Rect.right;
  }
}

int TdxTreeListColumn::GetTextWidth(TCanvas* Canvas, TdxTreeListNode* Node) {
  return Canvas->TextWidth(GetDisplayText(Node));
}

namespace {
// The room of one indent level and the sort mark beside a caption.
constexpr int LevelIndent = 16;
constexpr int SortMarkRoom = 15;

// A canvas on a screen-compatible memory DC for the length of a measurement.
class TMeasureCanvas {
 public:
  TMeasureCanvas() : FCanvas(NewObject<TCanvas>()) { FCanvas->SetHandle(FDC.DC()); }
  TMeasureCanvas(const TMeasureCanvas&) = delete;
  TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;
  ~TMeasureCanvas() { FCanvas->SetHandle(nullptr); }
  TCanvas* operator->() const { return FCanvas.get(); }
  TCanvas* Get() const { return FCanvas.get(); }

 private:
  TMemoryDC FDC{nullptr};
  TOwned<TCanvas> FCanvas;
};
}  // namespace

void TdxTreeListColumn::ApplyBestFit() {
  if (!FTreeList) return;
  TMeasureCanvas Canvas;
  Canvas->Font()->Assign(FAssignedValues.Contains(cvFont) ? FFont : FTreeList->Font());
  const bool First = Index() == 0;
  const bool Indented = FTreeList->ShowRoot() && FTreeList->PaintStyle() == psStandard;
  TCustomImageList* Images = FTreeList->Images();
  TCustomImageList* StateImages = FTreeList->StateImages();
  int Result = 0;
  // Every node, expanded or not, depth first.
  for (TdxTreeListNode* Node = FTreeList->GetFirstNode(); Node; Node = Node->GetNext()) {
    int Width = GetTextWidth(Canvas.Get(), Node);
    if (First) {
      Width += (Node->Level() + (Indented ? 1 : 0)) * LevelIndent;
      if (StateImages && Node->StateIndex() != -1) Width += StateImages->Width();
      if (Images && (Node->ImageIndex() != -1 || Node->SelectedIndex() != -1))
        Width += Images->Width();
    }
    Result = std::max(Result, Width);
  }
  Canvas->Font()->Assign(FTreeList->HeaderFont());
  int Header = Canvas->TextWidth(Caption());
  if (!FSortingFlag) Header += SortMarkRoom;
  Result = std::max(Result, Header);
  if (FSizing) SetWidth(Result + 2 * (Canvas->TextWidth("0") / 2 + 1));
}

// ---------------------------------------------------------------------------------
// Published properties

namespace {

using C = TdxTreeListColumn;

bool AssignedStored(TdxTreeListColumn* Column, TdxTreeListColumnValue Bit) {
  return Column->AssignedValues().Contains(Bit);
}

}  // namespace

void RegisterTreeListColumnPublished() {
  TPublish<C> P;
  P.Prop("Alignment", &C::Alignment, &C::SetAlignment).NoDefault().Stored([](C* Column) {
    return AssignedStored(Column, cvAlignment);
  });
  P.Prop("Caption", &C::Caption, &C::SetCaption).NoDefault().Stored([](C* Column) {
    return AssignedStored(Column, cvCaption) &&
           Column->Caption() != Column->GetDefaultCaption();
  });
  P.Prop("CharCase", &C::CharCase, &C::SetCharCase).Default(ecNormal);
  P.Prop("Color", &C::Color, &C::SetColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .NoDefault()
      .Stored([](C* Column) {
        const TColor Default = Column->TreeList() ? Column->TreeList()->Color() : clWindow;
        return AssignedStored(Column, cvColor) && Column->Color() != Default;
      });
  P.Prop("DisableCaption", &C::DisableCaption, &C::SetDisableCaption).Default(false);
  P.Prop("DisableCustomizing", &C::DisableCustomizing, &C::SetDisableCustomizing)
      .Default(false);
  P.Prop("DisableDragging", &C::DisableDragging, &C::SetDisableDragging).Default(false);
  P.Prop("DisableEditor", &C::DisableEditor, &C::SetDisableEditor).Default(false);
  // A font read from a form file is the column's own.
  P.Prop(
       "Font",
       [](C* Column) {
         return Column->ComponentState().Contains(csReading) ? Column->AssignedFont()
                                                             : Column->Font();
       },
       &C::SetFont)
      .Stored([](C* Column) { return AssignedStored(Column, cvFont); });
  P.Prop("HeaderAlignment", &C::HeaderAlignment, &C::SetHeaderAlignment)
      .Default(taLeftJustify);
  P.Prop("HeaderGlyph", &C::HeaderGlyph, &C::SetHeaderGlyph).Stored([](C* Column) {
    return Column->HasHeaderGlyph();
  });
  P.Prop("MaxLength", &C::MaxLength, &C::SetMaxLength).NoDefault().Stored([](C* Column) {
    return AssignedStored(Column, cvMaxLength) &&
           Column->MaxLength() != Column->GetDefaultMaxLength();
  });
  P.Prop("MinWidth", &C::MinWidth, &C::SetMinWidth).Default(20);
  P.Prop("OEMConvert", &C::OEMConvert, &C::SetOEMConvert).Default(false);
  P.Prop("PasswordChar", &C::PasswordChar, &C::SetPasswordChar).Default('\0');
  P.Prop("ReadOnly", &C::ReadOnly, &C::SetReadOnly).NoDefault().Stored([](C* Column) {
    return AssignedStored(Column, cvReadOnly) &&
           Column->ReadOnly() != Column->GetDefaultReadOnly();
  });
  P.Prop("Sizing", &C::Sizing, &C::SetSizing).Default(true);
  P.Prop("Sorted", &C::Sorted, &C::SetSorted).Default(csNone);
  P.Prop("TabStop", &C::TabStop, &C::SetTabStop).Default(true);
  P.Prop("VertAlignment", &C::VertAlignment, &C::SetVertAlignment).Default(tlTop);
  P.Prop("Visible", &C::Visible, &C::SetVisible).Default(true);
  P.Prop("Width", &C::Width, &C::SetWidth).NoDefault().Stored([](C* Column) {
    return AssignedStored(Column, cvWidth);
  });
  P.Prop("BandIndex", &C::BandIndex, &C::SetBandIndex).NoDefault();
  P.Prop("RowIndex", &C::RowIndex, &C::SetRowIndex).NoDefault();
  P.Prop("ColIndex", &C::ColIndex, &C::SetColIndex).Stored(false);
  P.Prop("HeaderMaxLineCount", &C::HeaderMaxLineCount, &C::SetHeaderMaxLineCount)
      .Default(1);
  P.Prop("OnChange", &C::OnChange);
  P.Prop("OnCustomDrawCell", &C::OnCustomDrawCell);
  P.Prop("OnCustomDrawColumnHeader", &C::OnCustomDrawColumnHeader);
  P.Prop("OnValidate", &C::OnValidate);
}
