// The tree list's columns: one cell of every row, with its header look, its width and
// place among the bands, its sort state, and how its cells are edited and painted.
// A column is a component of the form, streamed as a child of its tree list; the tree
// list keeps the columns in a list whose order is the column Index, and every text
// node's cell texts follow that order.
#pragma once

#include <windows.h>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/StdCtrls.h"
#include "classlib/Variants.h"
#include "editors/dxEditor.h"
#include "treelist/dxTL_Events.h"

class TCustomdxTreeListControl;
class TdxTreeListNode;

// The message of a parent given to a column that is not a tree list.
inline constexpr const char* SColumnParentUnknown = "A column cannot have a %s as its parent";

// The text editor of plain columns.
class TdxInplaceTreeListTextEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TdxInplaceTreeListTextEdit, TdxInplaceTextEdit)
 public:
  explicit TdxInplaceTreeListTextEdit(TComponent* AOwner) : TdxInplaceTextEdit(AOwner) {}
};

// The values a column puts into the view data of one painted cell.
struct TdxTreeListCellInfo {
  TRect Bounds{0, 0, 0, 0};
  TdxTreeListNode* Node = nullptr;
  TColor Color = clWindow;
  TColor TextColor = clWindowText;
  HBRUSH Brush = nullptr;
  TFont* Font = nullptr;
  // The font to paint with when Font is none.
  HFONT FontHandle = nullptr;
  AnsiString Text;
  TAlignment Alignment = taLeftJustify;
  bool Selected = false;
  bool Focused = false;
};

// The properties that follow a default until they are assigned.
enum TdxTreeListColumnValue : Byte {
  cvAlignment,
  cvCaption,
  cvReadOnly,
  cvWidth,
  cvColor,
  cvFont,
  cvMaxLength
};
using TdxTreeListColumnValues = TSet<TdxTreeListColumnValue>;

class TdxTreeListColumn : public TComponent {
  TCLASS_DECL(TdxTreeListColumn, TComponent)
 public:
  explicit TdxTreeListColumn(TComponent* AOwner);
  ~TdxTreeListColumn() override;
  // Makes the view data of the editor class.
  void AfterConstruction() override;
  // Unless the tree list is being destroyed, every node loses this column's cell text
  // (later columns keep theirs under their new indices); then the column leaves the
  // tree list.
  void BeforeDestruction() override;

  // From another column, inside one update of the tree list.
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void SetName(const AnsiString& NewName) override;

  // Leaves the old tree list and joins the new one (nothing while loading: reading
  // the form links the column to the tree list it is read in).
  TCustomdxTreeListControl* TreeList() const { return FTreeList; }
  void SetTreeList(TCustomdxTreeListControl* Value);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  // A tree list, or none; any other component is refused with EInvalidOperation.
  void SetParentComponent(TComponent* Value) override;

  // ----- The column's hooks, in the order a kind overrides them.
  virtual void SetNodeValueFromEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                      Variant& Value);
  virtual bool HasCustomDrawCell() { return OnCustomDrawCell.Assigned(); }
  virtual void EditChange(TObject* Sender);
  virtual void DoCustomDrawCell(TdxTLCellDrawArgs& Args);
  virtual void EditValidate(TObject* Sender, AnsiString& ErrorText, bool& Accept);
  virtual void FontChanged(TObject* Sender);
  virtual TdxInplaceEditClass GetEditorClass();
  virtual AnsiString GetDisplayText(TdxTreeListNode* Node);
  virtual bool CanShowEditor() { return !FDisableEditor; }
  // Whether a press at (X, Y) on a cell of this column opens its editor at once when
  // buttons are shown always (a kind with edit buttons says yes over them).
  virtual bool CanShowEditorOnClick(int /*X*/, int /*Y*/, bool /*WasFocused*/) { return false; }
  virtual int GetIndex() const;
  virtual TdxEditViewData* GetViewData() { return FViewData; }
  virtual void AssignEditorSettings(TdxInplaceEdit* Editor);
  // Unbinds from Editor every hook AssignEditorSettings bound to this column (the
  // column is leaving its tree list); a hook another column bound since stays.
  virtual void ReleaseEditor(TdxInplaceEdit* Editor);
  virtual void AssignNodeToEditor(TdxTreeListNode* Node, TdxInplaceEdit* Editor,
                                  Variant& Value);
  virtual bool CanSort();
  virtual void FillViewData(TdxEditViewData* ViewData, const TdxTreeListCellInfo& CellInfo);
  virtual void SetIndex(int Value);
  virtual int GetTextWidth(TCanvas* Canvas, TdxTreeListNode* Node);
  virtual void GetDisplayFormatText(TdxTreeListNode* /*Node*/, AnsiString& /*Text*/) {}
  virtual void RestoreDefaults();
  // The hooks of the column kinds: whether the editor of the cells shows its edit
  // button given the tree list's default, the smallest row height the cells need, the
  // cursor over a cell, and whether the cells hold several lines.
  virtual bool IsShowButton(bool Default) { return Default; }
  virtual int GetMinRowHeight() { return 0; }
  virtual TCursor GetCellCursor(TdxTreeListNode* /*Node*/) { return crDefault; }
  virtual bool IsMultiLineCell() { return false; }
  // The locale's settings changed (the tree list passes the system's notice on).
  virtual void LocaleChanged() {}

  // ----- Properties.
  int Index() const { return GetIndex(); }
  void SetIndexValue(int Value) { SetIndex(Value); }
  TdxTreeListColumnValues AssignedValues() const { return FAssignedValues; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // The tree list's colour until assigned (clWindow without a tree list).
  TColor Color() const;
  void SetColor(TColor Value);
  bool DisableCaption() const { return FDisableCaption; }
  void SetDisableCaption(bool Value);
  bool DisableCustomizing() const { return FDisableCustomizing; }
  void SetDisableCustomizing(bool Value);
  bool DisableDragging() const { return FDisableDragging; }
  void SetDisableDragging(bool Value) { FDisableDragging = Value; }
  bool DisableEditor() const { return FDisableEditor; }
  void SetDisableEditor(bool Value) { FDisableEditor = Value; }
  // A copy of the tree list's font until assigned; made on first use.
  TFont* Font();
  // The font assigned: what a form file naming the font reads into, so that a font
  // equal to the tree list's stays the column's own.
  TFont* AssignedFont();
  void SetFont(TFont* Value);
  TAlignment HeaderAlignment() const { return FHeaderAlignment; }
  void SetHeaderAlignment(TAlignment Value);
  // Made on first use.
  TBitmap* HeaderGlyph();
  void SetHeaderGlyph(TBitmap* Value);
  bool HasHeaderGlyph() const { return FHeaderGlyph && !FHeaderGlyph->Empty(); }
  int HeaderMaxLineCount() const { return FHeaderMaxLineCount; }
  // While not -1, Index answers it: a column reading or writing another column's cells
  // (a wrapper column's reference column) is pinned to that column's index.
  int FixedIndex() const { return FFixedIndex; }
  void SetFixedIndex(int Value) { FFixedIndex = Value; }
  // The node whose cell the tree list is measuring through this column; nil outside.
  TdxTreeListNode* CurrentNode() const { return FCurrentNode; }
  TdxTreeListNode*& CurrentNodeField() { return FCurrentNode; }
  void SetHeaderMaxLineCount(int Value);
  int MaxLength() const;
  void SetMaxLength(int Value);
  // 0 .. dxTLMaxWidth; re-applies Width.
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool ReadOnly() const;
  void SetReadOnly(bool Value);
  bool Sizing() const { return FSizing; }
  void SetSizing(bool Value);
  TdxTreeListColumnSort Sorted() const { return FSorted; }
  void SetSorted(TdxTreeListColumnSort Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  TTextLayout VertAlignment() const { return FVertAlignment; }
  void SetVertAlignment(TTextLayout Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // MinWidth .. dxTLMaxWidth.
  int Width() const;
  void SetWidth(int Value);
  // -1 (none) .. the last band.
  int BandIndex() const { return FBandIndex; }
  void SetBandIndex(int Value);
  // Inside the tree list's header rows.
  int RowIndex() const;
  void SetRowIndex(int Value);
  // The row asked for, kept while the header has fewer rows.
  int StoredRowIndex() const { return FStoredRowIndex; }
  // A stored row read from outside (a form file, a stored layout) made one the header
  // may have: 0 .. its most rows - 1.
  void SetStoredRowIndex(int Value);
  // The position among the visible columns of the same band row.
  int ColIndex() const;
  void SetColIndex(int Value);
  // Set by nothing in this system: it narrows the best fit and stops sorting.
  bool SortingFlag() const { return FSortingFlag; }
  void SetSortingFlag(bool Value);
  // The position read from "SortedOrder" (-1 when none was read).
  int StoredSortOrder() const { return FStoredSortOrder; }
  // The column's place in the order the columns joined its tree list (-1 outside
  // one): a list built by the same code again gives it the same place, so the stored
  // layout keys a column without a Name by it.
  int JoinOrder() const { return FJoinOrder; }

  // The frame of a cell under inverted selection: the top and bottom lines, and the
  // left and right ones at the row's edges, filled with Brush; Rect shrinks by them.
  static void FillCellFrame(HDC DC, TRect& Rect, bool LeftEdge, bool RightEdge,
                            HBRUSH Brush);
  // Fits Width to the widest cell text and the caption (when the column may be sized).
  void ApplyBestFit();

  TNotifyEvent OnChange;
  TdxTLCustomDrawCellEvent OnCustomDrawCell;
  TdxTLCustomDrawHeaderEvent OnCustomDrawColumnHeader;
  TdxEditValidateEvent OnValidate;
  // Told of a new name (for a list that shows the columns).
  TNotifyEvent OnNameChanged;

 protected:
  // Default hooks of the assigned values.
  virtual TAlignment GetDefaultAlignment() const { return taLeftJustify; }
  virtual AnsiString GetDefaultCaption() const { return AnsiString(); }
  virtual int GetDefaultMaxLength() const { return 0; }
  virtual bool GetDefaultReadOnly() const { return false; }
  virtual int GetDefaultWidth() const { return 100; }

  // The tree list's change notification: for this column alone, or (nullptr) for the
  // whole layout.
  void Changed(bool AllColumns);
  // Clears Event when it calls into this column.
  template <class TEventType>
  void Unbind(TEventType& Event) const {
    if (Event.Method().Data == static_cast<const void*>(this)) Event = TEventType();
  }

 private:
  friend class TCustomdxTreeListControl;
  friend class TdxTreeListBand;
  friend class TdxTreeListBands;
  friend void RegisterTreeListColumnPublished();

  template <class T>
  void SetAssigned(TdxTreeListColumnValue Bit, T& Field, T Value);
  void CopyTreeListFont();
  bool SortedOrderStored() const;
  void ReadSortedOrder(TReader* Reader);
  void WriteSortedOrder(TWriter* Writer);
  void ReadStoredRowIndex(TReader* Reader);
  void WriteStoredRowIndex(TWriter* Writer);

  TCustomdxTreeListControl* FTreeList = nullptr;
  TAlignment FAlignment = taLeftJustify;
  AnsiString FCaption;
  TEditCharCase FCharCase = ecNormal;
  TColor FColor = clWindow;
  bool FDisableCaption = false;
  bool FDisableCustomizing = false;
  bool FDisableEditor = false;
  bool FDisableDragging = false;
  TFont* FFont = nullptr;
  TAlignment FHeaderAlignment = taLeftJustify;
  TBitmap* FHeaderGlyph = nullptr;
  int FMaxLength = 0;
  int FMinWidth = 20;
  bool FOEMConvert = false;
  char FPasswordChar = '\0';
  bool FReadOnly = false;
  int FStoredSortOrder = -1;
  bool FSizing = true;
  bool FTabStop = true;
  TTextLayout FVertAlignment = tlTop;
  bool FVisible = true;
  int FWidth = 100;
  TdxTreeListColumnValues FAssignedValues;
  int FBandIndex = 0;
  int FRowIndex = 0;
  int FHeaderMaxLineCount = 1;
  TdxTreeListNode* FCurrentNode = nullptr;
  int FStoredRowIndex = 0;
  int FJoinOrder = -1;
  TdxEditViewData* FViewData = nullptr;
  bool FSortingFlag = false;
  TdxTreeListColumnSort FSorted = csNone;
  int FFixedIndex = -1;
  bool FFontChanging = false;
};

using TdxTreeListColumnClass = const TComponentMetaClass*;

// Registers the column's published properties (the class itself is registered by the
// tree list's unit).
void RegisterTreeListColumnPublished();
