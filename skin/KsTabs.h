// The kit's self-painted tab control: tabs on any side, one scrolling line with arrow
// buttons or several rows that rotate so that the active row touches the page, hot
// tracking, owner drawing, and optional pages kept in step with the captions.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/StringLists.h"
#include "classlib/TypInfo.h"
#include "skin/KsControls.h"

class TKsCustomTabControl;
class TKsCustomTabSheet;

// The captions: no duplicates (in the list's comparison, the one reading a form file
// uses); every change brings the pages into step, a batch of changes once at its end.
// Each caption's item holds its page besides the object put with it, so that a page
// follows its own tab through every edit, reordering and batch, whatever caption or
// index the tab has by then.
class TKsTabStringList : public TStringList {
  TCLASS_DECL(TKsTabStringList, TStringList)
 public:
  explicit TKsTabStringList(TKsCustomTabControl* ATabControl = nullptr) : FTabControl(ATabControl) {}
  ~TKsTabStringList() override;
  TKsCustomTabControl* TabControl() const { return FTabControl; }

  // A caption already present raises "A tab named ... already exists.".
  int AddObject(const AnsiString& S, TObject* AObject) override;
  void InsertObject(int Index, const AnsiString& S, TObject* AObject) override;
  void Insert(int Index, const AnsiString& S) override { InsertObject(Index, S, nullptr); }
  int Add(const AnsiString& S) override { return AddObject(S, nullptr); }
  // The object put with a caption; the list frees it as it owns its objects.
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  // A deleted tab's page goes when the pages are brought into step.
  void Delete(int Index) override;
  void Clear() override;
  // A sorted list keeps its order, by which it finds a caption: refused there, as Move is.
  void Exchange(int Index1, int Index2) override;
  // Another tab's caption is refused; the renamed tab keeps its page, which takes the
  // new caption at once.
  void Put(int Index, const AnsiString& S) override;
  // Every string of another list, in one batch; a list with a caption twice is
  // refused whole. The pages of the captions kept stay, moved with their tabs.
  void Assign(TPersistent* Source) override;
  // Appended in one batch; a caption twice among them or one a tab has already refuses
  // them all.
  void AddStrings(const TStrings* Strings) override;

  // Raises the duplicate error when a tab has the caption S already.
  void CheckUnique(const AnsiString& S) const;
  // Whether two captions name one tab.
  bool SameCaption(const AnsiString& S1, const AnsiString& S2) const {
    return CompareStrings(S1, S2) == 0;
  }

 protected:
  // The lines of a text (Text, a file, a stream), as Assign takes a list (CommaText and
  // DelimitedText reach Assign through the class library).
  void SetTextStr(const AnsiString& Value) override;
  // Without case, whatever CaseSensitive says: the comparison a form file's reading
  // makes, so that the captions a file holds always read back.
  int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  void SetUpdateState(bool Updating) override;
  // Any change (an edit, a sort, an exchange) drops the control's measured layout and,
  // outside a batch, brings its pages into step.
  void Changed() override;

 private:
  friend class TKsCustomTabControl;
  // What a caption's item holds in the list's object slot, which every reordering of
  // the list carries with the caption.
  class TTabItem : public TObject {
   public:
    // The list frees an item as it frees an object it owns: with the object.
    ~TTabItem() override { FreeObjectSafely(Data); }
    TObject* Data = nullptr;
    TKsCustomTabSheet* Page = nullptr;
  };
  TTabItem* Item(int Index) const;
  // Frees items the list has let go of; one it owns objects of has freed them already.
  void FreeItems(const std::vector<TTabItem*>& Items, bool Owned);
  // Raises the duplicate error for the first caption that Strings holds twice.
  void CheckDistinct(const TStrings* Strings) const;
  // A caption with its object and page, without the duplicate test; a sorted list puts
  // it in its place. Answers its index.
  int InsertTab(int Index, const AnsiString& S, TObject* AObject, TKsCustomTabSheet* Page);
  // The page of the tab at Index: nullptr until the pages are brought into step.
  TKsCustomTabSheet* PageOf(int Index) const { return Item(Index)->Page; }
  void SetPageOf(int Index, TKsCustomTabSheet* Page) { Item(Index)->Page = Page; }
  // The tab of a page, -1 when none has it (its tab deleted inside a batch).
  int IndexOfPage(const TKsCustomTabSheet* Page) const;
  // A page that leaves its control leaves its tab as well.
  void ForgetPage(const TKsCustomTabSheet* Page);
  // Renames the tab at Index, checked by the caller, keeping its page; a sorted list
  // moves the tab to where the new caption sorts.
  void Rename(int Index, const AnsiString& S);

  TKsCustomTabControl* FTabControl;
};

// A page of a tab control; it paints only while it is its control's active page.
class TKsCustomTabSheet : public TCustomControl {
  TCLASS_DECL(TKsCustomTabSheet, TCustomControl)
 public:
  explicit TKsCustomTabSheet(TComponent* AOwner);
  // Leaves the control and takes its tab with it (only leaves a control that is going
  // too); the control never frees a sheet being destroyed.
  void BeforeDestruction() override;

  TKsCustomTabControl* TabControl() const { return FTabControl; }
  // Appended to the new control with its tab (a caption the new control has already,
  // or a font a control on the sheet cannot hold, is refused, and the sheet stays where
  // it was), after leaving the old one.
  void SetTabControl(TKsCustomTabControl* Value);
  // Another tab control as parent moves the sheet there as SetTabControl does; any other
  // parent takes it out of its control with its tab.
  void SetParent(TWinControl* AParent) override;
  // The position in the control's pages, -1 without control.
  int PageIndex() const;
  // The blank kept inside the sheet's edges, round its child controls.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);

  void Dispatch(TMessage& Message) override;
  void ReadState(TReader* Reader) override;

  TNotifyEvent OnHide;
  TNotifyEvent OnShow;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;

 private:
  friend class TKsCustomTabControl;
  TKsCustomTabControl* FTabControl = nullptr;
  int FBorderWidth = 0;
  // The caption as of its last change: inside a batch of changes to the list, the one
  // its tab still holds.
  AnsiString FHeardCaption;
};

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
TENUM_INFO(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight")

inline bool IsHorizontalSide(TTabPosition P) { return P == tpTop || P == tpBottom; }
inline TTabPosition OppositeSide(TTabPosition P) {
  switch (P) {
    case tpTop: return tpBottom;
    case tpBottom: return tpTop;
    case tpLeft: return tpRight;
    case tpRight: return tpLeft;
  }
  return tpTop;
}

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = TEvent<void(TKsCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

class TKsCustomTabControl : public TKsCustomControl {
  TCLASS_DECL(TKsCustomTabControl, TKsCustomControl)
 public:
  // The most rows; past them the last row takes every remaining tab.
  static constexpr int MaxRows = 100;

  // 289 x 193, tab stop, accepting child controls.
  explicit TKsCustomTabControl(TComponent* AOwner);
  ~TKsCustomTabControl() override;
  void BeforeDestruction() override;

  TKsTabStringList* Tabs() const { return FTabs; }
  void SetTabs(TStrings* Value) { FTabs->Assign(Value); }
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value);
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool RaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool Value);
  bool ScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  bool UsePages() const { return FUsePages; }
  void SetUsePages(bool Value);
  int FirstVisibleTab() const { return FFirstVisibleTab; }
  int HotTab() const { return FHotTab; }

  // Pages, one to one with the tabs while UsePages is on (a sheet inserted turns it on).
  // A sheet inserted gets its tab at its page index (an empty caption becomes "New
  // Page n"; a caption a tab has already is refused, as is a move the sheet refuses,
  // with nothing changed); a sheet read from a form file joins the tab of its caption.
  void InsertPage(int Index, TKsCustomTabSheet* Sheet);
  // Deletes the sheet's caption and frees the sheet.
  void RemovePage(TKsCustomTabSheet* Sheet);
  void ShowPage(TKsCustomTabSheet* Sheet);
  void ShowPageAt(int Index);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TKsCustomTabSheet* GetPage(int Index) const;
  TKsCustomTabSheet* ActivePage() const { return FActivePage; }
  int GetActivePageIndex() const;

  // Geometry.
  int RowCount();
  int RowOfTab(int Index);
  TRect GetTabRect(int Index);
  TRect PaneRect();
  bool ArrowsShown();
  TRect LeftArrowRect();
  TRect RightArrowRect();
  int TabAtPoint(int X, int Y);
  // Scrolls the single line by Delta tabs.
  void ScrollTabs(int Delta);
  TTimer* ArrowTimer() const { return FArrowTimer; }

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

  virtual int LeftMargin() { return 2; }
  virtual int TopMargin() { return 2; }
  virtual int RightMargin() { return 2; }
  virtual int BottomMargin() { return 2; }
  virtual int GetTabWidth(int Index);
  virtual int GetTabHeight();
  virtual TSize GetArrowSize();

 protected:
  virtual void DrawTab(int Index);
  virtual void PaintPane();
  virtual void DrawLeftArrow();
  virtual void DrawRightArrow();
  virtual bool InLeftArrow(int X, int Y);
  virtual bool InRightArrow(int X, int Y);
  virtual void SyncPages();
  virtual void Change();
  virtual bool CanChange();
  virtual void DoDrawTab(int Index, const TRect& Rect, bool Active);

  void Loaded() override;
  void PaintBuffer() override;
  void AdjustClientRect(TRect& Rect) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  friend class TKsTabStringList;
  friend class TKsCustomTabSheet;
  struct TRow {
    int LastTab = 0;
    int ExtraWidth = 0;
    int Remainder = 0;
  };
  // What the geometry asks of the tabs, measured in one pass and kept until the
  // captions, the font, the size or a setting that moves tabs changes.
  struct TLayout {
    bool Valid = false;
    int Available = 0;               // the length the rows were laid in
    std::vector<int> Widths;         // GetTabWidth of every tab
    std::vector<int> Prefix;         // sum of the widths before each tab (Count + 1)
    std::vector<TRow> Rows;          // the rows of the multi-line layout
    std::vector<int> RowOf;          // the row of every tab
    std::vector<int> RowOffset;      // the justified offset of every tab in its row
  };

  // The layout, measured again only when it was dropped or the size changed.
  const TLayout& Layout();
  void DropLayout() { FLayout.Valid = false; }
  void BuildRows();
  int MeasureTab(HDC DC, int Index);
  int FirstTabOfRow(int Row);
  // The rows in the order a hit test tries them: the nearest to the page first.
  std::vector<int> RowsNearestFirst();
  // The rows in the order they are painted: the farthest from the page first.
  std::vector<int> RowsFarthestFirst();
  int AvailableLength();
  int SideMargin(TTabPosition Side);
  int ActiveRow();
  int JustifiedWidth(int Index);
  int RowDistance(int Row);
  bool IsOppositeRow(int Row);
  int TabBand();
  int OppositeBand();
  // The single line's last tab that fits from the first visible one, plus one partly
  // shown; and the last one drawn and hit, which neither passes the right edge nor
  // reaches under an arrow.
  int LastVisibleTab();
  int LastShownTab();
  // Whether any of the tab lies on the control.
  bool TabCanShow(int Index);
  void ArrowTick(TObject* Sender);
  void StopArrows();
  // Takes the sheet out of the pages and clears its link (no caption change, no free).
  void DetachPage(TKsCustomTabSheet* Sheet);
  // Detaches the sheet and deletes its tab.
  void ReleasePage(TKsCustomTabSheet* Sheet);
  // Links a sheet that is (or is about to be) in the pages: named, parented, hidden.
  void AdoptPage(TKsCustomTabSheet* Sheet);
  // A sheet read from a form file joins its tab, or gets one after the tab of the
  // sheet read before it; a second sheet of one caption is refused.
  void JoinReadPage(TKsCustomTabSheet* Sheet);
  // Brings the pages into the tabs' order: a tab keeps its own page, which takes its
  // caption, a tab without one gets a new sheet, a page whose tab is gone is freed with
  // its controls. Answers the last sheet made, or nullptr.
  TKsCustomTabSheet* MatchPages();
  // The page of a renamed tab takes its caption.
  void RenamePage(TKsCustomTabSheet* Page, const AnsiString& Caption);
  // A sheet's own caption changed from Old: its tab takes it (a sorted list puts it in
  // its place), or it gets Old back and the change is refused as a duplicate, also for
  // a page whose tab a batch has deleted.
  void PageRenamed(TKsCustomTabSheet* Sheet, const AnsiString& Old);
  void SetUpdating(bool Value) { FUpdating = Value; }
  AnsiString NextNewPageCaption();
  // A sheet without a name gets its class name and the smallest number from From
  // upwards that no component of its owner has, so that form files keep it; answers
  // the number taken (From when none).
  int NameSheet(TKsCustomTabSheet* Sheet, int From = 1);

  TTimer* FArrowTimer = nullptr;
  TKsTabStringList* FTabs;
  std::vector<TKsCustomTabSheet*> FPages;
  TKsCustomTabSheet* FActivePage = nullptr;
  TLayout FLayout;
  // The screen DC with the font selected while a layout pass measures.
  HDC FMeasureDC = nullptr;
  bool FLeftArrowHot = false;
  bool FRightArrowHot = false;
  int FHotTab = -1;
  bool FLeftArrowDown = false;
  bool FRightArrowDown = false;
  bool FUpdating = false;
  // The control is setting a page's caption itself, from its tab.
  int FRenaming = 0;
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
  int FFirstVisibleTab = 0;
  int FTabIndex = -1;
  bool FRaggedRight = false;
  bool FScrollOpposite = false;
  bool FHotTrack = false;
  int FTabWidth = 0;
  int FTabHeight = 0;
  bool FOwnerDraw = false;
  bool FUsePages = false;
};

// The unit's start (the sheet registered for streaming) and end.
void InitKsTabs();
void DoneKsTabs();
