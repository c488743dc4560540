// The tree list's column kinds: the check kind's texts and toggles, drop-down buttons
// on painted rows, the stored values of the time, currency, spin, image, MRU, blob and
// graphic kinds through their own editors, the wrapper column's forwarding and its
// fall-backs, the button kind's edit styles, the hyperlink cell's font and cursor, a
// cell that is no picture, the paint of a long list, and every kind read back from a
// form file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Clipbrd.h"
#include "classlib/FormatFloat.h"
#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr.h"
#include "editors/dxWrapGuard.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/editors/LocaleSupport.h"
#include "tests/treelist/TreeListTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms.h"
#include "treelist/dxTL_MaskColumn.h"
#include "treelist/dxTL_Nodes.h"

using namespace uitest;

namespace {

using tltest::TEditableTreeList;

// A column whose editor load fails.
class TRaisingColumn : public TdxTreeListColumn {
 public:
  using TdxTreeListColumn::TdxTreeListColumn;
  void AssignNodeToEditor(TdxTreeListNode*, TdxInplaceEdit*, Variant&) override {
    SeenIndex = Index();
    throw EConvertError("load");
  }
  int SeenIndex = -1;
};

class THandlers : public TObject {
 public:
  std::vector<std::string> Toggles;
  std::vector<int> States;
  TdxTreeListColumn* Reference = nullptr;
  TdxTreeListNode* ForNode = nullptr;
  void Toggle(TObject*, const AnsiString& Text, TdxCheckBoxState State) {
    Toggles.push_back(Text.c_str());
    States.push_back(State);
  }
  TObject* ValidateSender = nullptr;
  void DateInput(TObject* Sender, const AnsiString&, TDateTime& Date, AnsiString&, bool& Error) {
    ValidateSender = Sender;
    Date = 45000;
    Error = false;
  }
  void GetReference(TObject*, TdxTreeListNode* Node, TdxTreeListColumn*& Column) {
    EXPECT_EQ(Column, nullptr);
    if (!ForNode || Node == ForNode) Column = Reference;
  }
};

AnsiString PictureBlob(int Width, int Height, TColor Color) {
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Bitmap()->SetSize(Width, Height);
  Picture->Bitmap()->Canvas()->Brush()->SetColor(Color);
  Picture->Bitmap()->Canvas()->FillRect(Rect(0, 0, Width, Height));
  AnsiString Blob;
  SavePictureToBlob(Picture.get(), Blob);
  return Blob;
}

class TreeListKindsTest : public UiTest {
 protected:
  // Drops Edit's memo popup down, replaces its text by typing Text and presses OK as
  // the mouse presses it.
  void TypeInPopup(TdxInplaceBlobEdit* Edit, const char* Text) {
    Edit->DropDown();
    Pump();
    TCustomdxBlobPopup* Popup = Edit->BlobPopup();
    ASSERT_TRUE(Popup && Popup->HandleAllocated() && IsWindowVisible(Popup->Handle()));
    SendMessageA(Popup->Handle(), EM_SETSEL, 0, -1);
    for (const char* C = Text; *C; ++C) SendMessageA(Popup->Handle(), WM_CHAR, *C, 1);
    Pump();
    const TRect R = Popup->ButtonRect(bpbOK);
    RECT W;
    GetWindowRect(Popup->Handle(), &W);
    POINT P{W.left + (R.left + R.right) / 2, W.top + (R.top + R.bottom) / 2};
    SendMessageA(Popup->Handle(), WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(P.x, P.y));
    ScreenToClient(Popup->Handle(), &P);
    SendMessageA(Popup->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(P.x, P.y));
    Pump();
  }
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(500, 400);
    Tree = NewObject<TEditableTreeList>(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->HandleNeeded();
    Handlers = Keep(NewObject<THandlers>());
  }
  void TearDown() override {
    Buffer.reset();
    FreeAndNil(Tree);
    UiTest::TearDown();
  }

  template <class C>
  C* Kind(int Width = 150) {
    auto* Column = static_cast<C*>(Tree->CreateColumn(&C::StaticClass()));
    Column->SetWidth(Width);
    return Column;
  }
  TdxTreeListNode* Node(const std::vector<const char*>& Texts) {
    TdxTreeListNode* Result = Tree->Add();
    for (std::size_t I = 0; I < Texts.size(); ++I) Result->SetStrings(static_cast<int>(I), Texts[I]);
    return Result;
  }
  // The column's view data for a painted cell of Node, as the list fills it.
  TdxEditViewData* Painted(TdxTreeListColumn* Column, TdxTreeListNode* Cell, bool Selected = false) {
    TValueScope<TdxTreeListNode*> Current(Column->CurrentNodeField(), Cell);
    TdxTreeListCellInfo Info;
    Info.Node = Cell;
    Info.Text = Cell->Strings(Column->Index());
    Info.Bounds = Rect(-2, -2, 102, 20);
    Info.Selected = Selected;
    TdxEditViewData* View = Column->GetViewData();
    Column->FillViewData(View, Info);
    return View;
  }
  // The column's editor set up for Node's cell, as the list sets it up: placed, its
  // settings and the cell loaded while the container flag is raised.
  template <class E>
  E* Open(TdxTreeListColumn* Column, TdxTreeListNode* Cell, Variant* Loaded = nullptr) {
    TdxInplaceEdit* Editor = Tree->GetColumnEditor(Column->Index());
    Editor->SetParent(Tree);
    Editor->SetBounds(2, 2, 140, 20);
    Editor->HandleNeeded();
    Variant Value;
    Tree->SetContainerFlag();
    Column->AssignEditorSettings(Editor);
    Column->AssignNodeToEditor(Cell, Editor, Value);
    Tree->ClearContainerFlag();
    Editor->SetModified(false);
    if (Loaded) *Loaded = Value;
    auto* Typed = ObjectAs<E>(Editor);
    EXPECT_NE(Typed, nullptr);
    return Typed;
  }
  Variant Store(TdxTreeListColumn* Column, TdxTreeListNode* Cell, TdxInplaceEdit* Editor) {
    Variant Value;
    Column->SetNodeValueFromEditor(Cell, Editor, Value);
    return Value;
  }
  void Paint() {
    Pump();
    const TRect R = Tree->ClientRect();
    Buffer = std::make_unique<TMemoryDC>(nullptr, R.right, R.bottom);
    SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Buffer->DC()), 0);
  }
  COLORREF At(int X, int Y) const { return GetPixel(Buffer->DC(), X, Y); }
  // Node's cell in the column of absolute index Column, from the layout record.
  TRect CellRect(TdxTreeListNode* Cell, int Column = 0) {
    TdxTreeListDrawInfo DI;
    Tree->CalcDrawInfo(DI);
    int Top = DI.CellsRect.top;
    for (const TdxTreeListRowInfo& Row : DI.Rows) {
      if (Row.Node == Cell) {
        for (const auto& Header : DI.Headers)
          if (Header.Column == Column)
            return Rect(Header.CellRect.left, Top, Header.CellRect.right, Top + Row.RowHeight);
      }
      Top += Row.RowHeight;
    }
    return Rect(0, 0, 0, 0);
  }
  void ShowButtonsAlways() {
    TdxTreeListOptionsEx Ex = Tree->OptionsEx();
    Ex.Include(aoShowButtonAlways);
    Tree->SetOptionsEx(Ex);
  }

  TForm* Form = nullptr;
  TEditableTreeList* Tree = nullptr;
  THandlers* Handlers = nullptr;
  std::unique_ptr<TMemoryDC> Buffer;
};

// ---------------------------------------------------------------------------------
// Check

TEST_F(TreeListKindsTest, CheckCellsReadTheirTextsInAnyCaseAndAnyOtherTextAsGrayed) {
  auto* C = Kind<TdxTreeListCheckColumn>();
  EXPECT_EQ(C->ValueChecked(), "True");
  EXPECT_EQ(C->ValueUnchecked(), "False");
  EXPECT_EQ(C->ValueGrayed(), "");
  TdxTreeListNode* Upper = Node({"TRUE"});
  TdxTreeListNode* Mixed = Node({"fAlSe"});
  TdxTreeListNode* Other = Node({"maybe"});
  auto State = [&](TdxTreeListNode* N) {
    auto* View = ObjectAs<TdxCheckEditViewData>(Painted(C, N));
    return View ? static_cast<int>(View->State) : -1;
  };
  EXPECT_EQ(State(Upper), cbsChecked);
  EXPECT_EQ(State(Mixed), cbsUnchecked);
  EXPECT_EQ(State(Other), cbsGrayed);
  EXPECT_EQ(C->GetViewData()->Alignment, taCenter);

  AnsiString Text = "maybe";
  C->GetDisplayFormatText(Other, Text);
  EXPECT_EQ(Text, "");
  C->SetValueGrayed("?");
  Text = "maybe";
  C->GetDisplayFormatText(Other, Text);
  EXPECT_EQ(Text, "?");
  Text = "TRUE";
  C->GetDisplayFormatText(Upper, Text);
  EXPECT_EQ(Text, "True");

  EXPECT_EQ(Open<TdxInplaceCheckEdit>(C, Upper)->State(), cbsChecked);
  EXPECT_EQ(Open<TdxInplaceCheckEdit>(C, Other)->State(), cbsGrayed);
  // Without a glyph the row needs the system check box and 2 pixels.
  EXPECT_EQ(C->GetMinRowHeight(), EditCheckBoxHeight + 2);
}

TEST_F(TreeListKindsTest, ATogglesWritesTheCheckTextsAndTellsTheHandlerWithTheSameText) {
  auto* C = Kind<TdxTreeListCheckColumn>();
  C->OnToggleClick = TdxToggleEvent::Bind<&THandlers::Toggle>(Handlers);
  TdxTreeListNode* N = Node({"False"});
  auto* Edit = Open<TdxInplaceCheckEdit>(C, N);
  EXPECT_TRUE(Handlers->Toggles.empty()) << "loading the editor is no toggle";
  EXPECT_EQ(Edit->Alignment(), taCenter);

  Edit->Toggle();
  ASSERT_EQ(Handlers->Toggles.size(), 1u);
  EXPECT_EQ(Handlers->Toggles[0], "True");
  EXPECT_EQ(Handlers->States[0], cbsChecked);
  Store(C, N, Edit);
  EXPECT_EQ(N->Strings(0), "True");

  // Configured texts are written and told the same way.
  C->SetValueChecked("Yes");
  C->SetValueUnchecked("No");
  Edit = Open<TdxInplaceCheckEdit>(C, Node({"yes"}));
  Edit->Toggle();
  EXPECT_EQ(Handlers->Toggles.back(), "No");
  TdxTreeListNode* Last = Tree->Items(Tree->Count() - 1);
  Store(C, Last, Edit);
  EXPECT_EQ(Last->Strings(0), "No");
}

// ---------------------------------------------------------------------------------
// Drop-down buttons of painted cells

TEST_F(TreeListKindsTest, PaintedDropDownButtonsNeedShowButtonAlwaysAndDefaultToTheFocusedRow) {
  auto* C = Kind<TdxTreeListPickColumn>();
  TdxTreeListNode* First = Node({"a"});
  TdxTreeListNode* Second = Node({"b"});
  Second->SetFocused(true);
  auto Hidden = [&](TdxTreeListNode* N) {
    return ObjectAs<TdxDropDownEditViewData>(Painted(C, N))->ButtonsHidden;
  };
  EXPECT_TRUE(Hidden(First));
  EXPECT_TRUE(Hidden(Second)) << "no aoShowButtonAlways, no painted button";
  ShowButtonsAlways();
  EXPECT_TRUE(Hidden(First));
  EXPECT_FALSE(Hidden(Second));
  C->SetShowButtonStyle(TdxShowButtonStyle::sbAlways);
  EXPECT_FALSE(Hidden(First));
  C->SetShowButtonStyle(TdxShowButtonStyle::sbNone);
  EXPECT_TRUE(Hidden(Second));

  // The editor's own question: the tree list's default unless the style decides.
  EXPECT_FALSE(C->IsShowButton(true));
  C->SetShowButtonStyle(TdxShowButtonStyle::sbDefault);
  EXPECT_TRUE(C->IsShowButton(true));
  EXPECT_FALSE(C->IsShowButton(false));
  C->SetDisableEditor(true);
  EXPECT_FALSE(C->IsShowButton(true));
  C->SetDisableEditor(false);

  // On the screen: a button face at the focused row's cell end only.
  Paint();
  const int ButtonWidth = GetSystemMetrics(SM_CXVSCROLL);
  const TRect Focused = CellRect(Second);
  const TRect Plain = CellRect(First);
  ASSERT_GT(Focused.right, ButtonWidth);
  const COLORREF Face = ColorToRGB(clBtnFace);
  EXPECT_EQ(At(Focused.right - ButtonWidth + 3, Focused.top + 3), Face);
  EXPECT_NE(At(Plain.right - ButtonWidth + 3, Plain.top + 3), Face);
  C->SetShowButtonStyle(TdxShowButtonStyle::sbAlways);
  Paint();
  EXPECT_EQ(At(Plain.right - ButtonWidth + 3, Plain.top + 3), Face);
}

// ---------------------------------------------------------------------------------
// Values stored by the kinds' editors

TEST_F(TreeListKindsTest, TimeAndCurrencyCellsEditedToZeroStoreAnEmptyText) {
  auto* Time = Kind<TdxTreeListTimeColumn>();
  auto* Money = Kind<TdxTreeListCurrencyColumn>();
  TdxTreeListNode* N = Node({"10:20:30", "12.5"});

  auto* TimeEdit = Open<TdxInplaceTimeEdit>(Time, N);
  EXPECT_EQ(TimeEdit->Text(), "10:20:30");
  TimeEdit->SetValue(0.5);
  Store(Time, N, TimeEdit);
  EXPECT_EQ(N->Strings(0), "12:00:00");
  TimeEdit->SetValue(0);
  Store(Time, N, TimeEdit);
  EXPECT_EQ(N->Strings(0), "");

  Variant Loaded;
  auto* MoneyEdit = Open<TdxInplaceCurrencyEdit>(Money, N, &Loaded);
  EXPECT_DOUBLE_EQ(Loaded.AsDouble(), 12.5);
  EXPECT_DOUBLE_EQ(MoneyEdit->GetValue(), 12.5);
  MoneyEdit->SetValue(0);
  Store(Money, N, MoneyEdit);
  EXPECT_EQ(N->Strings(1), "");
  // An empty cell opens an empty editor.
  MoneyEdit = Open<TdxInplaceCurrencyEdit>(Money, N, &Loaded);
  EXPECT_EQ(MoneyEdit->Text(), "");
  EXPECT_DOUBLE_EQ(Loaded.AsDouble(), 0);
}

TEST_F(TreeListKindsTest, CurrencyCellsPaintThroughTheDisplayFormat) {
  auto* Money = Kind<TdxTreeListCurrencyColumn>();
  EXPECT_EQ(Money->DisplayFormat(), CurrencyDisplayFormat());
  EXPECT_FALSE(Money->DisplayFormatAssigned());
  TdxTreeListNode* N = Node({"1234.5"});
  Money->SetDisplayFormat("0.00");
  EXPECT_TRUE(Money->DisplayFormatAssigned());
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Money, N))->Text, "1234.50");
  N->SetStrings(0, "");
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Money, N))->Text, "0.00");
  N->SetStrings(0, "n/a");
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Money, N))->Text, "n/a");
}

TEST_F(TreeListKindsTest, ALocaleChangeReachesOnlyTheCurrencyFormatsNobodySet) {
  auto* Money = Kind<TdxTreeListCurrencyColumn>();
  auto* Fixed = Kind<TdxTreeListCurrencyColumn>();
  Fixed->SetDisplayFormat("0.00");
  const TFormatSettings Saved = FormatSettings;
  auto Restore = ScopeExit([&] { FormatSettings = Saved; });
  FormatSettings.CurrencyString = "Q";
  // What the list hears when the system's settings change.
  Tree->Perform(CM_WININICHANGE, 0, 0);
  EXPECT_EQ(Money->DisplayFormat(), CurrencyDisplayFormat());
  EXPECT_NE(Money->DisplayFormat().find('Q'), std::string::npos);
  EXPECT_EQ(Fixed->DisplayFormat(), "0.00");
}

TEST_F(TreeListKindsTest, SpinCellsLoadTheirNumberAndStoreItAsTheEditorFormatsIt) {
  auto* Spin = Kind<TdxTreeListSpinColumn>();
  TdxTreeListNode* N = Node({"abc"});
  Variant Loaded;
  auto* Edit = Open<TdxInplaceSpinEdit>(Spin, N, &Loaded);
  EXPECT_DOUBLE_EQ(Edit->GetValue(), 0);
  EXPECT_DOUBLE_EQ(Loaded.AsDouble(), 0);
  EXPECT_EQ(Edit->Text(), "0");

  N->SetStrings(0, "7.6");
  Edit = Open<TdxInplaceSpinEdit>(Spin, N, &Loaded);
  EXPECT_EQ(Edit->Text(), "8");
  Store(Spin, N, Edit);
  EXPECT_EQ(N->Strings(0), "8");

  Spin->SetValueType(vtFloat);
  Spin->SetMaxValue(5);
  N->SetStrings(0, "7.25");
  Edit = Open<TdxInplaceSpinEdit>(Spin, N);
  EXPECT_EQ(Edit->Text(), "5") << "limited by the column's maximum";
  Edit->SetValue(2.25);
  Store(Spin, N, Edit);
  EXPECT_EQ(N->Strings(0), "2.25");
  EXPECT_TRUE(Spin->CanShowEditorOnClick(0, 0, true));
}

TEST_F(TreeListKindsTest, ImageCellsShowDescriptionsAndStoreValues) {
  auto* Image = Kind<TdxTreeListImageColumn>();
  Image->Values()->SetText("a\r\nb");
  Image->Descriptions()->SetText("Apple\r\nBanana");
  TdxTreeListNode* N = Node({"b"});
  EXPECT_EQ(Image->GetDisplayText(N), "Banana");
  EXPECT_EQ(Image->GetDisplayText(Node({"zz"})), "zz") << "a value without description";
  EXPECT_EQ(Image->MinWidth(), 16);

  auto* Edit = Open<TdxInplaceImageEdit>(Image, N);
  EXPECT_EQ(Edit->Values()->Count(), 2);
  Store(Image, N, Edit);
  EXPECT_EQ(N->Strings(0), "b") << "an unchanged edit keeps the value";
  Edit->ScrollValue(-1, false);
  Store(Image, N, Edit);
  EXPECT_EQ(N->Strings(0), "a") << "the value, not its description";
}

TEST_F(TreeListKindsTest, AnImageColumnFollowsItsImageListAndForgetsItWhenFreed) {
  auto* Image = Kind<TdxTreeListImageColumn>();
  TdxTreeListNode* N = Node({"a"});
  auto* Images = NewObject<TImageList>(Form);
  Images->SetSize(24, 20);
  Image->SetImages(Images);
  EXPECT_EQ(Image->GetMinRowHeight(), 20);
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  TMemoryDC DC(nullptr, 10, 10);
  Canvas->SetHandle(DC.DC());
  EXPECT_EQ(Image->GetTextWidth(Canvas.get(), N), Canvas->TextWidth("a") + 24);
  Canvas->SetHandle(nullptr);
  EXPECT_EQ(ObjectAs<TdxImageEditViewData>(Painted(Image, N))->Images, Images);
  // The rows grow to the images.
  Images->SetSize(24, 40);
  Pump();
  EXPECT_GE(Tree->DefaultRowHeight(), 40);
  Images->Free();
  EXPECT_EQ(Image->Images(), nullptr);
  EXPECT_EQ(Image->GetMinRowHeight(), 0);
}

TEST_F(TreeListKindsTest, OneListAsSmallAndLargeImagesIsForgottenInBothRolesWhenFreed) {
  for (bool Editor : {false, true}) {
    // Of another owner, so that only the free notifications tell of its end.
    auto* Images = NewObject<TImageList>(nullptr);
    auto* Column = Kind<TdxTreeListImageColumn>();
    auto* Edit = NewObject<TdxInplaceImageEdit>(Form);
    Column->SetImages(Images);
    Column->SetLargeImages(Images);
    Edit->SetImages(Images);
    Edit->SetLargeImages(Images);
    // Dropped in one role, the list is still followed in the other.
    if (Editor)
      Edit->SetImages(nullptr);
    else
      Column->SetImages(nullptr);
    Images->Free();
    EXPECT_EQ(Column->LargeImages(), nullptr);
    EXPECT_EQ(Edit->LargeImages(), nullptr);
    Edit->Free();
  }
}

TEST_F(TreeListKindsTest, MruItemsUsedInTheEditorStayWithTheColumn) {
  auto* Mru = Kind<TdxTreeListMRUColumn>();
  Mru->Items()->Add("old");
  TdxTreeListNode* N = Node({""});
  auto* Edit = Open<TdxInplaceMRUEdit>(Mru, N);
  Edit->SetTextIfModifiable("new");
  Edit->Validate();
  Store(Mru, N, Edit);
  EXPECT_EQ(N->Strings(0), "new");
  ASSERT_EQ(Mru->Items()->Count(), 2);
  EXPECT_EQ(Mru->Items()->Strings(0), "new");
  EXPECT_EQ(Mru->Items()->Strings(1), "old");
  // The next edit starts from them.
  Edit->Items()->Clear();
  Edit = Open<TdxInplaceMRUEdit>(Mru, N);
  EXPECT_EQ(Edit->Items()->Count(), 2);
}

TEST_F(TreeListKindsTest, AMemoBlobEditedInItsPopupReachesItsNode) {
  auto* Blob = Kind<TdxTreeListBlobColumn>();
  TdxTreeListNode* N = Node({"old"});
  auto* Edit = Open<TdxInplaceBlobEdit>(Blob, N);
  EXPECT_EQ(Edit->BlobData(), "old");
  ::SetFocus(Edit->Handle());
  Pump();
  ASSERT_NO_FATAL_FAILURE(TypeInPopup(Edit, "typed"));
  EXPECT_EQ(Edit->BlobData(), "typed");
  Store(Blob, N, Edit);
  EXPECT_EQ(N->Strings(0), "typed") << "the blob, not the editor's display text";
}

TEST_F(TreeListKindsTest, APastedPictureReachesItsNodeAsABlob) {
  auto* Graphic = Kind<TdxTreeListGraphicColumn>();
  TdxTreeListNode* N = Node({""});
  auto* Edit = Open<TdxInplaceGraphicEdit>(Graphic, N);
  TOwned<TBitmap> Pasted(NewObject<TBitmap>());
  Pasted->SetSize(12, 7);
  Clipboard()->Assign(Pasted.get());
  Edit->PasteFromClipboard();
  Store(Graphic, N, Edit);
  TOwned<TPicture> Read(NewObject<TPicture>());
  LoadPictureFromBlob(Read.get(), Variant(N->Strings(0)), nullptr);
  EXPECT_EQ(Read->Width(), 12);
  EXPECT_EQ(Read->Height(), 7);
  // Loading the cell into the editor again gives the same picture.
  Edit = Open<TdxInplaceGraphicEdit>(Graphic, N);
  EXPECT_EQ(Edit->Picture()->Width(), 12);
}

TEST_F(TreeListKindsTest, EditorsTakeTheirColumnsSettingsAndTellTheColumn) {
  auto* Date = Kind<TdxTreeListDateColumn>();
  Date->SetDateValidation(true);
  Date->SetSaveTime(false);
  Date->OnDateValidateInput = TdxDateValidateInputEvent::Bind<&THandlers::DateInput>(Handlers);
  auto* Calc = Kind<TdxTreeListCalcColumn>();
  Calc->SetPrecision(7);
  Calc->SetQuickClose(true);
  auto* Memo = Kind<TdxTreeListMemoColumn>();
  Memo->SetWordWrap(false);
  Memo->SetWantTabs(true);
  auto* Blob = Kind<TdxTreeListBlobColumn>();
  Blob->SetBlobPaintStyle(bpsText);
  Blob->SetMemoWantTabs(false);
  TdxTreeListNode* N = Node({"today", "1", "m", ""});

  auto* DateEdit = Open<TdxInplaceDateEdit>(Date, N);
  EXPECT_TRUE(DateEdit->DateValidation());
  EXPECT_FALSE(DateEdit->SaveTime());
  DateEdit->SetTextIfModifiable("whenever");
  DateEdit->Validate();
  EXPECT_EQ(Handlers->ValidateSender, Date) << "the column's event, with the column";
  EXPECT_DOUBLE_EQ(DateEdit->GetDate(), 45000);

  auto* CalcEdit = Open<TdxInplaceCalcEdit>(Calc, N);
  EXPECT_EQ(CalcEdit->Precision(), 7);
  EXPECT_TRUE(CalcEdit->QuickClose());
  auto* MemoEdit = Open<TdxInplaceMemoEdit>(Memo, N);
  EXPECT_FALSE(MemoEdit->WordWrap());
  EXPECT_TRUE(MemoEdit->WantTabs());
  EXPECT_TRUE(Memo->IsMultiLineCell());

  auto* BlobEdit = Open<TdxInplaceBlobEdit>(Blob, N);
  EXPECT_EQ(BlobEdit->BlobPaintStyle(), bpsText);
  EXPECT_FALSE(BlobEdit->MemoWantTabs);
  EXPECT_FALSE(BlobEdit->AlwaysSaveText());
  BlobEdit->PopupResized(321, 123);
  EXPECT_EQ(Blob->PopupWidth(), 321) << "the next popup opens at the size left";
  EXPECT_EQ(Blob->PopupHeight(), 123);
  auto* BlobView = ObjectAs<TdxBlobEditViewData>(Painted(Blob, N));
  EXPECT_TRUE(BlobView->IsEmpty);
  EXPECT_EQ(BlobView->BlobPaintStyle, bpsText);
}

TEST_F(TreeListKindsTest, GraphicCellsShadeOnlyWhenSelectedAndShadowSelectionIsSet) {
  auto* Graphic = Kind<TdxTreeListGraphicColumn>();
  TdxTreeListNode* N = Node({""});
  EXPECT_FALSE(ObjectAs<TdxGraphicEditViewData>(Painted(Graphic, N))->ShadowSelection);
  EXPECT_TRUE(ObjectAs<TdxGraphicEditViewData>(Painted(Graphic, N, true))->ShadowSelection);
  Graphic->SetShadowSelection(false);
  EXPECT_FALSE(ObjectAs<TdxGraphicEditViewData>(Painted(Graphic, N, true))->ShadowSelection);
  EXPECT_EQ(Graphic->ClipboardFormat(), CF_PICTURE);
  EXPECT_EQ(Open<TdxInplaceGraphicEdit>(Graphic, N)->ClipboardFormat(), CF_PICTURE);
}

// ---------------------------------------------------------------------------------
// The wrapper column

TEST_F(TreeListKindsTest, AWrapperWithoutAHandlerIsAPlainTextColumn) {
  auto* Wrapper = Kind<TdxTreeListWrapperColumn>();
  TdxTreeListNode* N = Node({"text"});
  N->SetFocused(true);
  EXPECT_EQ(Wrapper->GetEditorClass(), &TdxInplaceTreeListTextEdit::StaticClass());
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Wrapper, N))->Text, "text");
  auto* Edit = Open<TdxInplaceTextEdit>(Wrapper, N);
  EXPECT_EQ(Edit->Text(), "text");
  Edit->SetText("changed");
  Store(Wrapper, N, Edit);
  EXPECT_EQ(N->Strings(0), "changed");
}

TEST_F(TreeListKindsTest, AWrapperEditsAndPaintsItsOwnCellAsTheReferenceColumn) {
  auto* Check = Kind<TdxTreeListCheckColumn>();
  auto* Wrapper = Kind<TdxTreeListWrapperColumn>();
  TdxTreeListNode* Checked = Node({"False", "True"});
  TdxTreeListNode* Plain = Node({"False", "words"});
  Handlers->Reference = Check;
  Handlers->ForNode = Checked;
  Wrapper->OnGetReferenceColumn =
      TdxTLGetReferenceColumnEvent::Bind<&THandlers::GetReference>(Handlers);

  auto* View = ObjectAs<TdxCheckEditViewData>(Painted(Wrapper, Checked));
  ASSERT_NE(View, nullptr) << "the check kind's view data for this row";
  EXPECT_EQ(View->State, cbsChecked) << "the wrapper's own cell, not the check column's";
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Wrapper, Plain))->Text, "words");

  Checked->SetFocused(true);
  auto* Edit = Open<TdxInplaceCheckEdit>(Wrapper, Checked);
  EXPECT_EQ(Edit->State(), cbsChecked);
  EXPECT_EQ(Check->FixedIndex(), -1);
  Edit->Toggle();
  Store(Wrapper, Checked, Edit);
  EXPECT_EQ(Checked->Strings(1), "False");
  EXPECT_EQ(Checked->Strings(0), "False") << "the check column's own cell untouched";

  // A handler answering a wrapper falls back to the text column.
  Handlers->Reference = Wrapper;
  EXPECT_EQ(Wrapper->GetReferenceColumn(Checked), nullptr);
  EXPECT_EQ(Wrapper->GetEditorClass(), &TdxInplaceTreeListTextEdit::StaticClass());
}

TEST_F(TreeListKindsTest, TheReferenceColumnLetsGoOfTheWrappersIndexWhenItsLoadRaises) {
  auto* Failing = NewObject<TRaisingColumn>(Form);
  Failing->SetTreeList(Tree);
  auto* Wrapper = Kind<TdxTreeListWrapperColumn>();
  TdxTreeListNode* N = Node({"a", "b"});
  Handlers->Reference = Failing;
  Wrapper->OnGetReferenceColumn =
      TdxTLGetReferenceColumnEvent::Bind<&THandlers::GetReference>(Handlers);
  TdxInplaceEdit* Editor = Tree->GetColumnEditor(Wrapper->Index());
  Variant Value;
  EXPECT_THROW(Wrapper->AssignNodeToEditor(N, Editor, Value), EConvertError);
  EXPECT_EQ(Failing->SeenIndex, Wrapper->Index());
  EXPECT_EQ(Failing->FixedIndex(), -1);
  EXPECT_EQ(Failing->Index(), 0);
}

// ---------------------------------------------------------------------------------
// The button column's buttons

TEST_F(TreeListKindsTest, EditButtonStylesRemoveOrMakeTheButtonAndRestoringLeavesOne) {
  auto* Buttons = Kind<TdxTreeListButtonColumn>();
  ASSERT_EQ(Buttons->Buttons()->Count(), 1);
  EXPECT_EQ(Buttons->Buttons()->GetItem(0)->Kind(), bkEllipsis);
  Buttons->SetEditButtonStyle(ebsSimple);
  EXPECT_EQ(Buttons->Buttons()->Count(), 0);
  Buttons->SetEditButtonStyle(ebsDown);
  ASSERT_EQ(Buttons->Buttons()->Count(), 1);
  EXPECT_EQ(Buttons->Buttons()->GetItem(0)->Kind(), bkDown);

  Buttons->Buttons()->Add()->SetWidth(30);
  Buttons->Buttons()->Add();
  Buttons->SetButtonOnly(true);
  Buttons->RestoreDefaults();
  ASSERT_EQ(Buttons->Buttons()->Count(), 1);
  EXPECT_EQ(Buttons->Buttons()->GetItem(0)->Kind(), bkEllipsis);
  EXPECT_EQ(Buttons->EditButtonStyle(), ebsEllipsis);
  EXPECT_FALSE(Buttons->ButtonOnly());

  // The editor gets the column's buttons and view style.
  Buttons->Buttons()->Add()->SetKind(bkGlyph);
  Buttons->SetHideEditCursor(true);
  auto* Edit = Open<TdxInplaceButtonEdit>(Buttons, Node({"x"}));
  EXPECT_EQ(Edit->Buttons()->Count(), 2);
  EXPECT_EQ(Edit->ViewStyle(), bvsHideCursor);
}

// ---------------------------------------------------------------------------------
// Hyperlink cells

TEST_F(TreeListKindsTest, HyperlinkCellsAreUnderlinedAndSingleClickBringsTheColourAndTheHand) {
  auto* Link = Kind<TdxTreeListHyperLinkColumn>();
  TdxTreeListNode* N = Node({"http://example.invalid"});
  TdxTreeListNode* Empty = Node({""});
  TdxEditViewData* View = Painted(Link, N);
  LOGFONTA Font{};
  GetObjectA(View->Font, sizeof(Font), &Font);
  EXPECT_TRUE(Font.lfUnderline);
  EXPECT_EQ(Link->GetCellCursor(N), crDefault);

  Link->SetSingleClick(true);
  View = Painted(Link, N);
  EXPECT_EQ(View->TextColor, ColorToRGB(Link->EditFontColor()));
  View = Painted(Link, N, true);
  EXPECT_NE(View->TextColor, ColorToRGB(Link->EditFontColor())) << "a selected cell keeps its colour";
  EXPECT_EQ(Link->GetCellCursor(N), crdxHandPoint);
  EXPECT_EQ(Link->GetCellCursor(Empty), crDefault);

  // Hot tracking shows the hand over the link and the control's cursor elsewhere.
  TdxTreeListOptionsEx Ex = Tree->OptionsEx();
  Ex.Include(aoHotTrack);
  Tree->SetOptionsEx(Ex);
  Pump();
  auto MoveTo = [&](TdxTreeListNode* Cell) {
    const TRect R = CellRect(Cell);
    SendMessageA(Tree->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(R.left + 60, (R.top + R.bottom) / 2));
    Pump();
  };
  MoveTo(N);
  EXPECT_EQ(Tree->Cursor(), crdxHandPoint);
  MoveTo(Empty);
  EXPECT_EQ(Tree->Cursor(), crDefault);

  auto* Edit = Open<TdxInplaceHyperLinkEdit>(Link, N);
  EXPECT_EQ(Edit->LinkColor(), Link->EditFontColor());
  EXPECT_TRUE(Edit->SingleClick());
  EXPECT_FALSE(Edit->OnStartClick.Assigned()) << "the shell starts links without a handler";
}

// ---------------------------------------------------------------------------------
// Pictures

TEST_F(TreeListKindsTest, ATextThatIsNoPicturePaintsAnEmptyCellAndMeasuresNothing) {
  auto* Graphic = Kind<TdxTreeListGraphicColumn>();
  Graphic->SetStretch(false);
  Graphic->SetCenter(true);
  TdxTreeListNode* Broken = Node({"this is no picture at all"});
  TdxTreeListNode* Red = Node({""});
  // The blob holds zero bytes: a C string would cut it.
  Red->SetStrings(0, PictureBlob(8, 6, clRed));

  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  TMemoryDC DC(nullptr, 10, 10);
  Canvas->SetHandle(DC.DC());
  EXPECT_EQ(Graphic->GetTextWidth(Canvas.get(), Broken), 0);
  EXPECT_EQ(Graphic->GetTextWidth(Canvas.get(), Red), 8);
  Canvas->SetHandle(nullptr);
  EXPECT_NO_THROW(Tree->ApplyBestFit(Graphic));

  Paint();
  const TRect Empty = CellRect(Broken);
  const TRect Filled = CellRect(Red);
  // The middle line of each cell, past the tree's indent at its left.
  auto Colours = [&](const TRect& Cell) {
    std::set<COLORREF> Seen;
    for (int X = Cell.left + 30; X < Cell.right - 2; ++X) Seen.insert(At(X, (Cell.top + Cell.bottom) / 2));
    return Seen;
  };
  EXPECT_EQ(Colours(Empty), std::set<COLORREF>{ColorToRGB(Tree->Color())});
  EXPECT_EQ(Colours(Filled).count(ColorToRGB(clRed)), 1u);
}

TEST_F(TreeListKindsTest, APageOfAHundredThousandNodesReadsOnlyItsVisiblePictures) {
  auto* Graphic = Kind<TdxTreeListGraphicColumn>();
  {
    TUpdateScope Updating(Tree);
    for (int I = 0; I < 100000; ++I) Tree->Add()->SetStrings(0, "no picture " + IntToStr(I));
  }
  Pump();
  TdxTreeListDrawInfo DI;
  Tree->CalcDrawInfo(DI);
  const int Visible = static_cast<int>(DI.Rows.size());
  ASSERT_GT(Visible, 0);
  const int Before = Graphic->PictureLoads();
  Paint();
  const int Loads = Graphic->PictureLoads() - Before;
  EXPECT_GT(Loads, 0);
  EXPECT_LE(Loads, Visible) << "each visible cell once, nothing beyond the page";
}

TEST_F(TreeListKindsTest, EveryKindPaintsItsCellsWithoutAnEditor) {
  for (const TComponentMetaClass* Class : dxTLColumnKinds)
    Tree->CreateColumn(Class)->SetWidth(25);
  ShowButtonsAlways();
  TdxTreeListNode* First = Node({"x", "1/2/2020", "b", "True", "a", "3", "p", "4", "http://a.invalid",
                                 "10:00:00", "5", "no picture", "blob", "m", "w"});
  Node({"", "", "", "", "", "", "", "", "", "", "", "", "", "", ""});
  First->SetFocused(true);
  Paint();
  EXPECT_TRUE(Log->Messages.empty()) << (Log->Messages.empty() ? "" : Log->Messages[0]);
  // What a paint makes, it keeps for the next one or gives back.
  Buffer.reset();
  const int Handles = GdiHandleCount();
  Paint();
  Buffer.reset();
  EXPECT_EQ(GdiHandleCount(), Handles);
}

// ---------------------------------------------------------------------------------
// Form files

TEST_F(TreeListKindsTest, EveryKindReadsBackFromAFormFileWithItsProperties) {
  EXPECT_EQ(GetClass("TdxTreeListDropDownColumn"), nullptr) << "the base kind is not registered";
  auto* Memo = Kind<TdxTreeListMemoColumn>();
  Memo->SetWordWrap(false);
  Kind<TdxTreeListDateColumn>()->SetDateButtons(TDateButtons{btnClear});
  auto* Buttons = Kind<TdxTreeListButtonColumn>();
  Buttons->SetEditButtonStyle(ebsDown);
  Buttons->SetClickKey(scCtrl | VK_F2);
  Kind<TdxTreeListCheckColumn>()->SetValueChecked("Yes");
  auto* Image = Kind<TdxTreeListImageColumn>();
  Image->Values()->Add("v");
  Image->SetShowDescription(true);
  Kind<TdxTreeListSpinColumn>()->SetIncrement(2.5);
  auto* Pick = Kind<TdxTreeListPickColumn>();
  Pick->Items()->Add("p");
  Pick->SetImmediateDropDown(false);
  Kind<TdxTreeListCalcColumn>()->SetPrecision(9);
  Kind<TdxTreeListHyperLinkColumn>()->SetSingleClick(true);
  Kind<TdxTreeListTimeColumn>()->SetTimeEditFormat(tfHourMin);
  Kind<TdxTreeListCurrencyColumn>()->SetMaxValue(99);
  Kind<TdxTreeListGraphicColumn>()->SetShadowSelection(false);
  Kind<TdxTreeListBlobColumn>()->SetBlobEditKind(bekPict);
  Kind<TdxTreeListMRUColumn>()->SetMaxItemCount(3);
  Kind<TdxTreeListWrapperColumn>()->SetCaption("w");
  ASSERT_EQ(Tree->ColumnCount(), 15);
  for (int I = 0; I < 15; ++I) Tree->Columns(I)->SetName("k" + IntToStr(I));
  Tree->SetName("tl");

  const AnsiString Text = WriteComponentText(Form);
  EXPECT_EQ(Text.find("ImmediateDropDown = True"), AnsiString::npos) << "defaults are not written";
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TdxTreeList>(Copy->FindComponent("tl"));
  ASSERT_NE(Read, nullptr);
  ASSERT_EQ(Read->ColumnCount(), 15);
  for (int I = 0; I < 15; ++I)
    EXPECT_EQ(Read->Columns(I)->ClassType(), Tree->Columns(I)->ClassType()) << I;
  auto Col = [&](int I) { return Read->Columns(I); };
  EXPECT_FALSE(ObjectAs<TdxTreeListMemoColumn>(Col(0))->WordWrap());
  EXPECT_EQ(ObjectAs<TdxTreeListMemoColumn>(Col(0))->HeaderMaxLineCount(), 0);
  EXPECT_EQ(ObjectAs<TdxTreeListDateColumn>(Col(1))->DateButtons(), TDateButtons{btnClear});
  auto* ReadButtons = ObjectAs<TdxTreeListButtonColumn>(Col(2));
  EXPECT_EQ(ReadButtons->EditButtonStyle(), ebsDown);
  ASSERT_EQ(ReadButtons->Buttons()->Count(), 1);
  EXPECT_EQ(ReadButtons->Buttons()->GetItem(0)->Kind(), bkDown);
  EXPECT_EQ(ReadButtons->ClickKey(), scCtrl | VK_F2);
  EXPECT_EQ(ObjectAs<TdxTreeListCheckColumn>(Col(3))->ValueChecked(), "Yes");
  EXPECT_EQ(ObjectAs<TdxTreeListCheckColumn>(Col(3))->ValueUnchecked(), "False");
  EXPECT_EQ(ObjectAs<TdxTreeListImageColumn>(Col(4))->Values()->Strings(0), "v");
  EXPECT_TRUE(ObjectAs<TdxTreeListImageColumn>(Col(4))->ShowDescription());
  EXPECT_DOUBLE_EQ(ObjectAs<TdxTreeListSpinColumn>(Col(5))->Increment(), 2.5);
  EXPECT_EQ(ObjectAs<TdxTreeListPickColumn>(Col(6))->Items()->Strings(0), "p");
  EXPECT_FALSE(ObjectAs<TdxTreeListPickColumn>(Col(6))->ImmediateDropDown());
  EXPECT_EQ(ObjectAs<TdxTreeListCalcColumn>(Col(7))->Precision(), 9);
  EXPECT_TRUE(ObjectAs<TdxTreeListHyperLinkColumn>(Col(8))->SingleClick());
  EXPECT_EQ(ObjectAs<TdxTreeListTimeColumn>(Col(9))->TimeEditFormat(), tfHourMin);
  EXPECT_DOUBLE_EQ(ObjectAs<TdxTreeListCurrencyColumn>(Col(10))->MaxValue(), 99);
  EXPECT_FALSE(ObjectAs<TdxTreeListGraphicColumn>(Col(11))->ShadowSelection());
  EXPECT_EQ(ObjectAs<TdxTreeListBlobColumn>(Col(12))->BlobEditKind(), bekPict);
  EXPECT_EQ(ObjectAs<TdxTreeListMRUColumn>(Col(13))->MaxItemCount(), 3);
  EXPECT_FALSE(ObjectAs<TdxTreeListMRUColumn>(Col(13))->ImmediateDropDown());
  EXPECT_EQ(Col(14)->Caption(), "w");
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
}

TEST_F(TreeListKindsTest, AssignCopiesAKindsPropertiesAndRestoreDefaultsSetsThemBack) {
  auto* Source = Kind<TdxTreeListSpinColumn>();
  Source->SetMaxValue(10);
  Source->SetValueType(vtFloat);
  Source->SetShowButtonStyle(TdxShowButtonStyle::sbAlways);
  auto* Target = Kind<TdxTreeListSpinColumn>();
  Target->Assign(Source);
  EXPECT_DOUBLE_EQ(Target->MaxValue(), 10);
  EXPECT_EQ(Target->ValueType(), vtFloat);
  EXPECT_EQ(Target->ShowButtonStyle(), TdxShowButtonStyle::sbAlways);
  Target->RestoreDefaults();
  EXPECT_DOUBLE_EQ(Target->MaxValue(), 0);
  EXPECT_EQ(Target->ValueType(), vtInt);
  EXPECT_EQ(Target->ShowButtonStyle(), TdxShowButtonStyle::sbDefault);
  auto* Check = Kind<TdxTreeListCheckColumn>();
  Check->SetValueChecked("on");
  Check->SetMinWidth(40);
  Check->RestoreDefaults();
  EXPECT_EQ(Check->ValueChecked(), "True");
  EXPECT_EQ(Check->MinWidth(), 16);
}

// ---------------------------------------------------------------------------------
// Editing cells in place: the list opens the kind's editor on a cell, the edit runs in
// it, and ending the edit stores through the column.

class TreeListKindsEditingTest : public TreeListKindsTest {
 protected:
  void SetUp() override {
    TreeListKindsTest::SetUp();
    FreeAndNil(Tree);
    Tree = NewObject<TEditableTreeList>(Form);
    Tree->SetParent(Form);
    Tree->SetBorderStyle(bsNone);
    Tree->SetBounds(0, 0, 400, 300);
    Tree->SetOptions(TdxTreeListOptions{aoEditing, aoColumnSizing});
    Tree->HandleNeeded();
    SetForegroundWindow(Form->Handle());
  }
  // Opens the editor on Node's cell of Column (an absolute index that is also the
  // visible one here).
  template <class E>
  E* Edit(TdxTreeListNode* Cell, int Column) {
    Tree->SetFocusedNode(Cell, Column, true);
    Tree->SetFocus();
    Pump();
    Tree->ShowEditor();
    Pump();
    EXPECT_EQ(Tree->State(), tsEditing);
    EXPECT_EQ(Tree->EditNode(), Cell);
    auto* Editor = ObjectAs<E>(Tree->InplaceEditor());
    EXPECT_NE(Editor, nullptr);
    return Editor;
  }
  void Close() {
    Tree->EndEditing();
    Pump();
    EXPECT_NE(Tree->State(), tsEditing);
  }
};

TEST_F(TreeListKindsEditingTest, ACheckCellToggledInItsEditorStoresTheTextItTold) {
  auto* C = Kind<TdxTreeListCheckColumn>();
  C->OnToggleClick = TdxToggleEvent::Bind<&THandlers::Toggle>(Handlers);
  TdxTreeListNode* N = Node({"false"});
  auto* Editor = Edit<TdxInplaceCheckEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(Editor->State(), cbsUnchecked);
  EXPECT_TRUE(Handlers->Toggles.empty()) << "opening is no toggle";
  SendMessageA(Editor->Handle(), WM_CHAR, ' ', 1);
  Pump();
  ASSERT_EQ(Handlers->Toggles.size(), 1u);
  EXPECT_EQ(Handlers->Toggles[0], "True");
  Close();
  EXPECT_EQ(N->Strings(0), "True");
}

TEST_F(TreeListKindsEditingTest, TimeAndCurrencyEditedToZeroStoreEmptyCells) {
  Kind<TdxTreeListTimeColumn>();
  Kind<TdxTreeListCurrencyColumn>();
  TdxTreeListNode* N = Node({"10:20:30", "12.5"});
  auto* Time = Edit<TdxInplaceTimeEdit>(N, 0);
  ASSERT_NE(Time, nullptr);
  Tree->SetEditingText("00:00:00");
  Close();
  EXPECT_EQ(N->Strings(0), "");
  // A time pasted with sections of one digit reaches the cell as that time.
  Time = Edit<TdxInplaceTimeEdit>(N, 0);
  ASSERT_NE(Time, nullptr);
  Clipboard()->SetAsText("1:5:00");
  SendMessageA(Time->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(Time->Handle(), WM_PASTE, 0, 0);
  Close();
  EXPECT_EQ(N->Strings(0), "01:05:00");
  auto* Money = Edit<TdxInplaceCurrencyEdit>(N, 1);
  ASSERT_NE(Money, nullptr);
  EXPECT_EQ(Money->Text(), "12.5");
  Tree->SetEditingText("0");
  Close();
  EXPECT_EQ(N->Strings(1), "");
}

TEST_F(TreeListKindsEditingTest, AnEditedCurrencyCellShowsItsPlainTextAndTheOthersTheirFormat) {
  auto* Money = Kind<TdxTreeListCurrencyColumn>();
  TdxTreeListNode* Edited = Node({"1234.5"});
  TdxTreeListNode* Other = Node({"99"});
  auto* Editor = Edit<TdxInplaceCurrencyEdit>(Edited, 0);
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(Editor->Text(), "1234.5");
  EXPECT_EQ(Editor->DisplayFormat(), "");
  Variant Shown;
  Editor->GetDisplayValue(Shown);
  EXPECT_EQ(VarToStr(Shown), "1234.5");
  EXPECT_EQ(Tree->GetEditingText(), "1234.5");
  // A refresh of the editor's defaults, or of the locale, keeps it plain.
  Editor->Perform(CM_WININICHANGE, 0, 0);
  EXPECT_EQ(Editor->DisplayFormat(), "");
  // The cells not being edited are painted through the column's format.
  EXPECT_EQ(ObjectAs<TdxTextEditViewData>(Painted(Money, Other))->Text, FormatFloat(Money->DisplayFormat(), 99));
}

TEST_F(TreeListKindsEditingTest, SpinImageAndMruCellsThroughTheirEditors) {
  Kind<TdxTreeListSpinColumn>();
  auto* Image = Kind<TdxTreeListImageColumn>();
  Image->Values()->SetText("a\r\nb");
  Image->Descriptions()->SetText("Apple\r\nBanana");
  auto* Mru = Kind<TdxTreeListMRUColumn>();
  TdxTreeListNode* N = Node({"abc", "b", ""});

  auto* Spin = Edit<TdxInplaceSpinEdit>(N, 0);
  ASSERT_NE(Spin, nullptr);
  EXPECT_EQ(Spin->Text(), "0") << "a text that is no number loads 0";
  Close();

  auto* Pick = Edit<TdxInplaceImageEdit>(N, 1);
  ASSERT_NE(Pick, nullptr);
  Close();
  EXPECT_EQ(N->Strings(1), "b") << "an edited image cell keeps its value";
  Pick = Edit<TdxInplaceImageEdit>(N, 1);
  Pick->ScrollValue(-1, false);
  Close();
  EXPECT_EQ(N->Strings(1), "a");

  ASSERT_NE(Edit<TdxInplaceMRUEdit>(N, 2), nullptr);
  Tree->SetEditingText("recent");
  Close();
  EXPECT_EQ(N->Strings(2), "recent");
  ASSERT_EQ(Mru->Items()->Count(), 1);
  EXPECT_EQ(Mru->Items()->Strings(0), "recent");
}

TEST_F(TreeListKindsEditingTest, AMemoBlobEditedInItsPopupAndAPastedPictureReachTheirNodes) {
  Kind<TdxTreeListBlobColumn>();
  Kind<TdxTreeListGraphicColumn>();
  TdxTreeListNode* N = Node({"old", ""});
  auto* Blob = Edit<TdxInplaceBlobEdit>(N, 0);
  ASSERT_NE(Blob, nullptr);
  ASSERT_NO_FATAL_FAILURE(TypeInPopup(Blob, "typed"));
  Close();
  EXPECT_EQ(N->Strings(0), "typed");

  auto* Graphic = Edit<TdxInplaceGraphicEdit>(N, 1);
  ASSERT_NE(Graphic, nullptr);
  TOwned<TBitmap> Pasted(NewObject<TBitmap>());
  Pasted->SetSize(9, 5);
  Clipboard()->Assign(Pasted.get());
  Graphic->PasteFromClipboard();
  Close();
  TOwned<TPicture> Read(NewObject<TPicture>());
  LoadPictureFromBlob(Read.get(), Variant(N->Strings(1)), nullptr);
  EXPECT_EQ(Read->Width(), 9);
  EXPECT_EQ(Read->Height(), 5);
}

// The shell's open call, noted instead of made.
std::vector<std::string> OpenedLinks;
HINSTANCE WINAPI NoteOpenedLink(HWND, LPCSTR, LPCSTR File, LPCSTR, LPCSTR, INT) {
  OpenedLinks.push_back(File);
  return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(TreeListKindsEditingTest, EachClickOnASingleClickLinkCellOpensItsOwnLink) {
  Kind<TdxTreeListHyperLinkColumn>()->SetSingleClick(true);
  Tree->SetOptions(Tree->Options() + TdxTreeListOptions{aoImmediateEditor});
  const TShellExecuteProc Saved = ShellExecuteProc;
  ShellExecuteProc = NoteOpenedLink;
  OpenedLinks.clear();
  auto Restore = ScopeExit([&] { ShellExecuteProc = Saved; });
  std::vector<TdxTreeListNode*> Cells = {Node({"http://example.invalid/1"}), Node({"http://example.invalid/2"}),
                                         Node({"http://example.invalid/3"})};
  Tree->SetFocus();
  Pump();
  for (TdxTreeListNode* Cell : Cells) {
    const TRect R = CellRect(Cell);
    const LPARAM At = MAKELPARAM(R.left + 20, (R.top + R.bottom) / 2);
    SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
    SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At);
    Pump();
  }
  EXPECT_EQ(OpenedLinks, (std::vector<std::string>{"http://example.invalid/1", "http://example.invalid/2",
                                                    "http://example.invalid/3"}));
}

TEST_F(TreeListKindsEditingTest, AWrapperCellIsEditedByItsReferenceColumnsEditor) {
  auto* Check = Kind<TdxTreeListCheckColumn>();
  Kind<TdxTreeListWrapperColumn>()->OnGetReferenceColumn =
      TdxTLGetReferenceColumnEvent::Bind<&THandlers::GetReference>(Handlers);
  Handlers->Reference = Check;
  TdxTreeListNode* N = Node({"False", "True"});
  auto* Editor = Edit<TdxInplaceCheckEdit>(N, 1);
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(Editor->State(), cbsChecked);
  SendMessageA(Editor->Handle(), WM_CHAR, ' ', 1);
  Pump();
  Close();
  EXPECT_EQ(N->Strings(1), "False");
  EXPECT_EQ(N->Strings(0), "False");
  EXPECT_EQ(Check->FixedIndex(), -1);
}

// A memo cell holding a paragraph too long to wrap at the cell's width: its editor shows
// it wrapped wider than the cell, refuses a key that would lengthen it, and leaves the
// stored value as it was when the edit ends.
TEST_F(TreeListKindsEditingTest, AMemoOpenedOnAParagraphTooLongToWrapLeavesTheValueAsItWas) {
  Kind<TdxTreeListMemoColumn>();
  std::string Long;
  while (Long.size() < 48000) Long += "abc def ";
  TdxTreeListNode* N = Node({Long.c_str()});
  auto* Editor = Edit<TdxInplaceMemoEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  ASSERT_TRUE(Editor->WordWrap());
  EXPECT_TRUE(Editor->Text() == Long);
  Editor->SetSelStart(100);
  SendMessageA(Editor->Handle(), WM_CHAR, 'x', 1);
  Pump();
  EXPECT_TRUE(Editor->Text() == Long);
  Close();
  EXPECT_TRUE(N->Strings(0) == Long);
}

}  // namespace

namespace {

// The user's input into the focused cell's editor: every character of Text typed over
// the whole text, then Enter.
void TypeOverAndEnter(TdxInplaceEdit* Editor, const std::string& Text) {
  SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
  for (char C : Text) SendMessageA(Editor->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
  Pump();
  SendMessageA(Editor->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
}

// A spin cell stores the number typed, read, limited and formatted as the editor
// formats its value, whatever form it was typed in.
TEST_F(TreeListKindsEditingTest, ANumberTypedIntoASpinCellReachesItReadLimitedAndFormatted) {
  auto* Spin = Kind<TdxTreeListSpinColumn>();
  struct Case {
    TdxValueType Type;
    double Min, Max;
    const char* Typed;
    const char* Stored;
  };
  const Case Cases[] = {{vtInt, 0, 0, "0851", "851"},  {vtInt, 0, 0, "+140", "140"},
                        {vtInt, 0, 0, "-023", "-23"},  {vtFloat, 0, 0, "8.", "8"},
                        {vtFloat, 0, 0, ".54", "0.54"}, {vtFloat, 0, 0, "29.0", "29"},
                        {vtInt, 0, 500, "2211", "500"}, {vtInt, 0, 0, "28", "28"}};
  TdxTreeListNode* N = Node({"28"});
  for (const Case& C : Cases) {
    Spin->SetValueType(C.Type);
    Spin->SetMinValue(C.Min);
    Spin->SetMaxValue(C.Max);
    N->SetStrings(0, "28");
    auto* Editor = Edit<TdxInplaceSpinEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    TypeOverAndEnter(Editor, C.Typed);
    EXPECT_NE(Tree->State(), tsEditing) << C.Typed;
    EXPECT_EQ(N->Strings(0), C.Stored) << C.Typed;
  }
}

int Beeps = 0;
BOOL CountBeep(UINT /*Type*/) {
  ++Beeps;
  return TRUE;
}

// A key pressed in Window with Ctrl held, as the user presses it.
void CtrlKey(HWND Window, WPARAM Key) {
  uitest::HeldKeys = {VK_CONTROL};
  SendMessageA(Window, WM_KEYDOWN, Key, 1);
  uitest::HeldKeys.clear();
  Pump();
}

void Key(HWND Window, WPARAM Key) {
  SendMessageA(Window, WM_KEYDOWN, Key, 1);
  Pump();
}

// Delete at the end of the text, or Backspace over nothing but the end, removes nothing
// (the control marks its text modified all the same): the edit ends unchanged, and a
// cell whose editor shows its text in another form (line breaks, letter case, a number
// read, a text the editor cannot read) keeps its text as it was.
TEST_F(TreeListKindsEditingTest, ADeletionThatRemovesNothingLeavesTheCellAsItWas) {
  Kind<TdxTreeListMemoColumn>();
  Kind<TdxTreeListColumn>()->SetCharCase(ecUpperCase);
  Kind<TdxTreeListSpinColumn>();
  Kind<TdxTreeListCurrencyColumn>();
  const std::vector<const char*> Values{"a\nb", "abc", "12.0", "$1,234.50"};
  TdxTreeListNode* N = Node(Values);
  for (int Column = 0; Column < static_cast<int>(Values.size()); ++Column)
    for (bool ByEnter : {true, false}) {
      auto* Editor = Edit<TdxInplaceTextEdit>(N, Column);
      ASSERT_NE(Editor, nullptr) << Column;
      HWND Window = Editor->Handle();
      // Everything selected ends past the paragraph mark that closes the text.
      SendMessageA(Window, EM_SETSEL, 0, -1);
      CHARRANGE All{};
      SendMessageA(Window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&All));
      SendMessageA(Window, EM_SETSEL, All.cpMax - 1, All.cpMax - 1);
      Key(Window, VK_DELETE);
      SendMessageA(Window, EM_SETSEL, All.cpMax - 1, All.cpMax);
      Key(Window, VK_BACK);
      SendMessageA(Window, WM_CHAR, '\b', 1);
      EXPECT_FALSE(Editor->GetModified()) << Column;
      // Enter ends the edit but in the memo, where it types a line break.
      if (ByEnter && Column > 0) Key(Window, VK_RETURN);
      if (Tree->State() == tsEditing) Close();
      EXPECT_EQ(N->Strings(Column), Values[static_cast<std::size_t>(Column)]) << Column;
    }
}

// What the user changed reaches the cell even where the rich edit control forgets, or
// never notes, that its text was edited: digits typed before a paste the currency
// editor refuses and puts back, and a cut, a clear, an undo or a redo in the blob pane,
// which the control leaves unmarked, handed back by the pane's OK.
TEST_F(TreeListKindsEditingTest, AChangeTheUserMadeReachesTheCellThoughTheControlForgetsIt) {
  TValueScope<TMessageBeepProc> Beep(MessageBeepProc, CountBeep);
  Kind<TdxTreeListCurrencyColumn>();
  Kind<TdxTreeListBlobColumn>();
  TdxTreeListNode* N = Node({"12.5", "hello world"});
  for (const char* Pasted : {"x", "-", "3e400"})
    for (bool ByKey : {false, true}) {
      N->SetStrings(0, "12.5");
      auto* Money = Edit<TdxInplaceCurrencyEdit>(N, 0);
      ASSERT_NE(Money, nullptr);
      SendMessageA(Money->Handle(), WM_KEYDOWN, VK_END, 1);
      SendMessageA(Money->Handle(), WM_CHAR, '7', 1);
      ASSERT_EQ(Money->Text(), "12.57");
      Clipboard()->SetAsText(Pasted);
      const int Before = Beeps;
      if (ByKey)
        CtrlKey(Money->Handle(), 'V');
      else
        SendMessageA(Money->Handle(), WM_PASTE, 0, 0);
      EXPECT_EQ(Money->Text(), "12.57") << Pasted;
      EXPECT_EQ(Beeps, Before + 1) << Pasted << ": a refused paste is heard";
      Key(Money->Handle(), VK_RETURN);
      EXPECT_EQ(N->Strings(0), "12.57") << Pasted << (ByKey ? " by Ctrl+V" : " by WM_PASTE");
    }
  // The pane's own ways of cutting, each then handed back by OK (Ctrl+Enter) and the
  // cell ended by Enter; an undo and a redo after a cut leave the cut text.
  const struct {
    const char* Name;
    std::function<void(TCustomdxBlobPopup*)> Change;
  } Cuts[] = {
      {"Ctrl+X", [](TCustomdxBlobPopup* P) { CtrlKey(P->Handle(), 'X'); }},
      {"WM_CUT", [](TCustomdxBlobPopup* P) { SendMessageA(P->Handle(), WM_CUT, 0, 0); }},
      {"WM_CLEAR", [](TCustomdxBlobPopup* P) { SendMessageA(P->Handle(), WM_CLEAR, 0, 0); }},
      {"menu Cut", [](TCustomdxBlobPopup* P) { P->MenuCommand(-3); }},
      {"menu Delete", [](TCustomdxBlobPopup* P) { P->MenuCommand(-6); }},
      {"Ctrl+X, Ctrl+Z, Ctrl+Y",
       [](TCustomdxBlobPopup* P) {
         CtrlKey(P->Handle(), 'X');
         CtrlKey(P->Handle(), 'Z');
         CtrlKey(P->Handle(), 'Y');
       }},
  };
  for (const auto& Cut : Cuts) {
    N->SetStrings(1, "hello world");
    auto* Blob = Edit<TdxInplaceBlobEdit>(N, 1);
    ASSERT_NE(Blob, nullptr);
    Blob->DropDown();
    Pump();
    TCustomdxBlobPopup* Pane = Blob->BlobPopup();
    ASSERT_TRUE(Pane && IsWindowVisible(Pane->Handle()));
    SendMessageA(Pane->Handle(), EM_SETSEL, 6, 11);
    Cut.Change(Pane);
    EXPECT_EQ(Pane->MemoText(), "hello ") << Cut.Name;
    CtrlKey(Pane->Handle(), VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(Pane->Handle())) << Cut.Name;
    ASSERT_EQ(Tree->State(), tsEditing) << Cut.Name;
    Key(Blob->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(1), "hello ") << Cut.Name;
  }
}

// Escape on the cell gives back the value it held when the edit began, after any
// choice the user made in the editor's popup (the blob pane's OK, a day, a result of
// the keypad, an item of a list, a picture pasted) or a toggle: nothing is stored.
TEST_F(TreeListKindsEditingTest, EscapeOnTheCellAfterAPopupsChoiceGivesBackTheCellsValue) {
  Kind<TdxTreeListBlobColumn>();
  Kind<TdxTreeListDateColumn>();
  Kind<TdxTreeListCalcColumn>();
  Kind<TdxTreeListPickColumn>()->Items()->SetText("apple\r\nbanana\r\ncherry");
  Kind<TdxTreeListMRUColumn>()->Items()->SetText("recent\r\nolder");
  auto* Image = Kind<TdxTreeListImageColumn>();
  Image->Values()->SetText("a\r\nb\r\nc");
  Image->Descriptions()->SetText("Apple\r\nBanana\r\nCherry");
  Kind<TdxTreeListGraphicColumn>();
  Kind<TdxTreeListCheckColumn>();
  TdxTreeListNode* N = Node({"blob value 3", "", "12", "apple", "", "a", "", "False"});
  N->SetStrings(6, PictureBlob(4, 3, clRed));
  std::vector<AnsiString> Held;
  for (int I = 0; I < 8; ++I) Held.push_back(N->Strings(I));
  auto DropDown = [](TdxInplaceEdit* E) { Key(E->Handle(), VK_F4); };
  auto PickNext = [&](TdxInplaceEdit* E) {
    DropDown(E);
    Key(E->Handle(), VK_DOWN);
    Key(E->Handle(), VK_RETURN);
  };
  // A press on the editor's button, as the mouse presses it.
  auto PressButton = [](TdxInplaceEdit* E) {
    RECT W;
    GetWindowRect(E->Handle(), &W);
    const LPARAM At = MAKELPARAM(W.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, (W.top + W.bottom) / 2);
    SendMessageA(E->Handle(), WM_NCLBUTTONDOWN, SendMessageA(E->Handle(), WM_NCHITTEST, 0, At), At);
    SendMessageA(E->Handle(), WM_LBUTTONUP, 0, 0);
    Pump();
  };
  const std::function<void(TdxInplaceEdit*)> Choices[] = {
      [&](TdxInplaceEdit* E) {
        // The pane's OK, then the pane opened and closed again: the edit goes on.
        auto* Blob = ObjectAs<TdxInplaceBlobEdit>(E);
        PressButton(Blob);
        HWND Pane = Blob->BlobPopup()->Handle();
        SendMessageA(Pane, EM_SETSEL, 0, 0);
        SendMessageA(Pane, WM_CHAR, 'x', 1);
        CtrlKey(Pane, VK_RETURN);
        PressButton(Blob);
        CtrlKey(Pane, VK_RETURN);
      },
      [&](TdxInplaceEdit* E) {
        DropDown(E);
        TdxGridDatePopup* Popup = ObjectAs<TdxInplaceDateEdit>(E)->DatePopup();
        Popup->SetSelStart(Popup->GetSelStart() + 3);
        Key(Popup->Handle(), VK_RETURN);
      },
      [&](TdxInplaceEdit* E) {
        DropDown(E);
        HWND Calc = ObjectAs<TdxInplaceCalcEdit>(E)->Calculator()->Handle();
        for (char C : std::string("*2=")) SendMessageA(Calc, WM_CHAR, static_cast<unsigned char>(C), 1);
        Key(Calc, VK_RETURN);
      },
      PickNext,
      PickNext,
      PickNext,
      [](TdxInplaceEdit* E) {
        TOwned<TBitmap> Pasted(NewObject<TBitmap>());
        Pasted->SetSize(9, 5);
        Clipboard()->Assign(Pasted.get());
        ObjectAs<TdxInplaceGraphicEdit>(E)->PasteFromClipboard();
        Pump();
      },
      [](TdxInplaceEdit* E) {
        SendMessageA(E->Handle(), WM_CHAR, ' ', 1);
        Pump();
      },
  };
  for (int Column = 0; Column < 8; ++Column) {
    TdxInplaceEdit* Editor = Edit<TdxInplaceEdit>(N, Column);
    ASSERT_NE(Editor, nullptr);
    const std::string Name = Editor->ClassName();
    Choices[Column](Editor);
    ASSERT_EQ(Tree->State(), tsEditing) << Name << ": the choice ends no edit";
    EXPECT_TRUE(Editor->GetModified()) << Name << ": the choice is a change";
    Key(Editor->Handle(), VK_ESCAPE);
    EXPECT_NE(Tree->State(), tsEditing) << Name;
    EXPECT_TRUE(N->Strings(Column) == Held[Column]) << Name << ": now \"" << N->Strings(Column).c_str() << "\"";
  }
}

// A mask cell stores the editor's text as the mask reads it: blanks as spaces, the
// literals only where the mask saves them, and no spaces for the optional positions
// left blank at the end.
TEST_F(TreeListKindsEditingTest, AMaskCellStoresTheTextAsItsMaskReadsIt) {
  auto* Mask = Kind<TdxTreeListMaskColumn>();
  struct Case {
    const char* EditMask;
    const char* Cell;
    int First, Last;
    const char* Typed;
    const char* Stored;
  };
  const Case Cases[] = {{"00\\ 0;0;_", "123", 0, 1, "4", "423"},
                        {"00\\ 0;0;_", "123", 0, 1, "1", "123"},
                        {"#####;0;_", "42", 1, 2, "7", "47"},
                        {"#####;0;_", "42", 1, 2, "2", "42"},
                        {"00\\ 0;1;_", "12 3", 0, 1, "4", "42 3"},
                        {"99-99;0;*", "1234", 3, 4, "", "12 4"}};
  TdxTreeListNode* N = Node({""});
  for (const Case& C : Cases) {
    Mask->SetEditMask(C.EditMask);
    N->SetStrings(0, C.Cell);
    auto* Editor = Edit<TdxInplaceMaskEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    SendMessageA(Editor->Handle(), EM_SETSEL, C.First, C.Last);
    if (*C.Typed)
      SendMessageA(Editor->Handle(), WM_CHAR, static_cast<unsigned char>(*C.Typed), 1);
    else
      SendMessageA(Editor->Handle(), WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(Editor->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_NE(Tree->State(), tsEditing) << C.EditMask;
    EXPECT_EQ(N->Strings(0), C.Stored) << C.EditMask << " " << C.Typed;
  }
}

// A memo cell holding a value of some 100,000 tabs among blanks, a table of 10,000 tabs
// in rows, or a list of 4,000 rows of two columns, which the control would take minutes
// or seconds to set or clear, or one the control holds whole until the list's font grows
// so large that no width holds it: the editor opens on it, through that font, a refused
// key, Escape and F2 again, and holds it whole, its window showing what of it the
// control holds in good time; the cell keeps its value.
TEST_F(TreeListKindsEditingTest, AMemoCellTheControlCannotHoldOpensHeldAndKeepsItsValue) {
  TValueScope<TMessageBeepProc> Beep(MessageBeepProc, CountBeep);
  Kind<TdxTreeListMemoColumn>();
  std::string Tabs;
  for (unsigned Seed = 12345; Tabs.size() < 316656;) {
    Seed = Seed * 1103515245 + 12345;
    Tabs += (Seed >> 16) % 3 == 0 ? '\t' : ' ';
  }
  std::string Words;
  while (Words.size() < 100000) Words += "abc def ";
  // A table of 100 rows of 100 columns, as a spreadsheet copies it.
  std::string Table;
  for (int Row = 0; Row < 100; ++Row) {
    for (int Column = 0; Column < 100; ++Column) Table += (Column > 0 ? "\t" : "") + std::to_string(Row * Column % 997);
    Table += Row < 99 ? "\r\n" : "";
  }
  // Rows of two columns, as a spreadsheet copies them.
  std::string List;
  for (int Row = 0; Row < 4000; ++Row) List += std::to_string(Row) + "\t" + std::to_string(Row * 7 % 997) + "\r\n";
  auto Shown = [](TdxInplaceEdit* Editor) {
    std::string Text(static_cast<std::size_t>(GetWindowTextLengthA(Editor->Handle())) + 1, '\0');
    Text.resize(static_cast<std::size_t>(GetWindowTextA(Editor->Handle(), Text.data(), static_cast<int>(Text.size()))));
    return AnsiString(Text);
  };
  const int Height = Tree->Font()->Height();
  for (const std::string& Value : {Tabs, Words, Table, List}) {
    Tree->Font()->SetHeight(Height);
    TdxTreeListNode* N = Node({Value.c_str()});
    for (int Round = 0; Round < 2; ++Round) {
      const std::string Where = std::to_string(Value.size()) + " characters, round " + std::to_string(Round);
      TdxInplaceMemoEdit* Memo = nullptr;
      try {
        Memo = Edit<TdxInplaceMemoEdit>(N, 0);
      } catch (const Exception& E) {
        ADD_FAILURE() << Where << ": opening raised " << E.Message().c_str();
      }
      ASSERT_NE(Memo, nullptr) << Where;
      EXPECT_TRUE(Memo->Text() == Value.c_str()) << Where << ": the value held whole";
      // What a held value shows keeps within half the budget: opening it stays well
      // within the reference's time.
      EXPECT_LE(TdxWrapGuard::TabCost(Shown(Memo), TdxWrapGuard::Wraps(Memo->Handle())), TdxWrapGuard::TabBudget / 2)
          << Where;
      if (Value != Words) {
        EXPECT_LT(Shown(Memo).size(), Value.size()) << Where << ": shown in part";
      }
      if (Round == 0) {
        try {
          Tree->Font()->SetHeight(-2434);
        } catch (const Exception& E) {
          // A font the open editor cannot show its user's text in is refused.
          EXPECT_STREQ(E.Message().c_str(), SMemoTextTooLong) << Where;
        }
      }
      Pump();
      EXPECT_LE(TdxWrapGuard::TabCost(Shown(Memo), TdxWrapGuard::Wraps(Memo->Handle())), TdxWrapGuard::TabBudget) << Where;
      if (Value != Words) {
        EXPECT_LT(Shown(Memo).size(), Value.size()) << Where << ": shown in part";
      }
      Key(Memo->Handle(), VK_BACK);
      SendMessageA(Memo->Handle(), WM_CHAR, '\b', 1);
      Key(Memo->Handle(), VK_ESCAPE);
      EXPECT_NE(Tree->State(), tsEditing) << Where;
      EXPECT_TRUE(N->Strings(0) == Value.c_str()) << Where;
    }
    Tree->FocusedNode()->Free();
  }
}

// Text typed into a pick cell while its list is open (it opens at the first character)
// reaches the cell however the edit ends: the list follows the text, and selects
// nothing for a text no item begins with, so that closing it takes the text. Enter
// closes the list, a second ends the edit; Tab ends it with the list open; Escape gives
// back the cell's value. An item picked in a list (a pick's, an image's) is the value.
TEST_F(TreeListKindsEditingTest, WhatIsTypedWhileThePickListIsOpenReachesTheCellHoweverTheEditEnds) {
  TValueScope<TMessageBeepProc> Beep(MessageBeepProc, CountBeep);
  Tree->SetOptions(TdxTreeListOptions{aoEditing, aoColumnSizing, aoTabs});
  Kind<TdxTreeListPickColumn>()->Items()->SetText("apple\r\napricot\r\nbanana\r\ncherry");
  Kind<TdxTreeListColumn>();
  TProbe* Other = AddChild<TProbe>(Form);
  Other->SetBounds(420, 10, 40, 20);
  TdxTreeListNode* N = Node({"banana", "x"});
  TdxTreeListNode* Another = Node({"cherry", "y"});
  enum TEnd { Enter, Tab, Left, AnotherRow, Escape };
  for (const std::string Typed : {"k", "ks", "kx\b"})
    for (TEnd End : {Enter, Tab, Left, AnotherRow, Escape}) {
      N->SetStrings(0, "banana");
      const std::string Where = "typed \"" + Typed + "\", end " + std::to_string(End);
      auto* Editor = Edit<TdxInplacePickEdit>(N, 0);
      ASSERT_NE(Editor, nullptr) << Where;
      HWND Window = Editor->Handle();
      Key(Window, VK_END);
      for (char C : Typed) {
        if (C == '\b') Key(Window, VK_BACK);
        SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(C), 1);
        Pump();
      }
      const AnsiString Shown = Editor->Text();
      ASSERT_TRUE(Editor->DroppedDown()) << Where;
      ASSERT_EQ(Shown.substr(0, 7), "bananak") << Where;
      const int BeepsBefore = Beeps;
      switch (End) {
        case Enter:
          Key(Window, VK_RETURN);
          EXPECT_TRUE(Editor->Text() == Shown) << Where << ": the list took \"" << Editor->Text().c_str() << "\"";
          if (Tree->State() == tsEditing) Key(Window, VK_RETURN);
          break;
        case Tab: Key(Window, VK_TAB); break;
        case Left:
          Other->SetFocus();
          Pump();
          break;
        case AnotherRow: {
          const TRect R = CellRect(Another, 1);
          const LPARAM At = MAKELPARAM(R.left + 4, (R.top + R.bottom) / 2);
          SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
          SendMessageA(Tree->Handle(), WM_LBUTTONUP, 0, At);
          Pump();
          break;
        }
        case Escape:
          Key(Window, VK_ESCAPE);
          if (Tree->State() == tsEditing) Key(Window, VK_ESCAPE);
          break;
      }
      EXPECT_NE(Tree->State(), tsEditing) << Where;
      EXPECT_EQ(Beeps, BeepsBefore) << Where;
      EXPECT_TRUE(N->Strings(0) == (End == Escape ? AnsiString("banana") : Shown))
          << Where << ": the cell holds \"" << N->Strings(0).c_str() << "\"";
      if (Tree->State() == tsEditing) Tree->HideEditor(false);
    }
  // An item the user picks in the list is still the value, by Enter and by Tab.
  for (WPARAM End : {VK_RETURN, VK_TAB}) {
    N->SetStrings(0, "banana");
    auto* Editor = Edit<TdxInplacePickEdit>(N, 0);
    ASSERT_NE(Editor, nullptr);
    Key(Editor->Handle(), VK_END);
    SendMessageA(Editor->Handle(), WM_CHAR, 'k', 1);
    Key(Editor->Handle(), VK_DOWN);
    auto* List = ObjectAs<TCustomdxPopupListBox>(Editor->Popup());
    ASSERT_TRUE(List && List->ItemIndex() >= 0) << End;
    const AnsiString Picked = List->Items()->Strings(List->ItemIndex());
    Key(Editor->Handle(), End);
    if (Tree->State() == tsEditing) Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(0), Picked) << End;
  }
  // The image list alike: Tab takes the entry picked in it; the focus leaving closes it
  // and ends the edit with the value as it was.
  auto* Image = Kind<TdxTreeListImageColumn>();
  Image->Values()->SetText("a\r\nb\r\nc");
  Image->Descriptions()->SetText("Apple\r\nBanana\r\nCherry");
  for (bool ByTab : {true, false}) {
    N->SetStrings(2, "a");
    auto* Editor = Edit<TdxInplaceImageEdit>(N, 2);
    ASSERT_NE(Editor, nullptr);
    Key(Editor->Handle(), VK_F4);
    Key(Editor->Handle(), VK_DOWN);
    ASSERT_TRUE(Editor->DroppedDown());
    if (ByTab) {
      Key(Editor->Handle(), VK_TAB);
    } else {
      Other->SetFocus();
      Pump();
    }
    EXPECT_NE(Tree->State(), tsEditing) << ByTab;
    EXPECT_EQ(N->Strings(2), ByTab ? "b" : "a");
  }
}

// A date cell under the mask whose text a program or a file wrote in a short form opens
// in the mask's form and takes typing; untouched it keeps its text. A time cell whose
// sections have one digit opens in the editor's form too.
TEST_F(TreeListKindsEditingTest, ADateOrTimeCellInAShortFormOpensInTheMasksFormAndTakesTyping) {
  TValueScope<TMessageBeepProc> Beep(MessageBeepProc, CountBeep);
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  Kind<TdxTreeListTimeColumn>()->SetTimeEditFormat(tfHourMin);
  TdxTreeListNode* N = Node({"", ""});
  const TDateTime Day = EncodeDate(2028, 1, 5);
  for (const char* Stored : {"1/5/2028", "1/5/28", "01/5/2028", "1/05/2028", "1-5-2028", "2028-01-05"}) {
    N->SetStrings(0, Stored);
    auto* Editor = Edit<TdxInplaceDateEdit>(N, 0);
    ASSERT_NE(Editor, nullptr) << Stored;
    EXPECT_TRUE(Editor->Text() == FormatDateValue(true, Day)) << Stored << ": shows \"" << Editor->Text().c_str() << "\"";
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(0), Stored) << "untouched";
    Editor = Edit<TdxInplaceDateEdit>(N, 0);
    SendMessageA(Editor->Handle(), EM_SETSEL, 0, 0);
    const int BeepsBefore = Beeps;
    for (char C : std::string("0206")) SendMessageA(Editor->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    EXPECT_EQ(Beeps, BeepsBefore) << Stored;
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_TRUE(N->Strings(0) == FormatDateValue(true, EncodeDate(2028, 2, 6))) << Stored << ": " << N->Strings(0).c_str();
  }
  // A text that no longer reads as a date is refused aloud: never today's date in silence.
  N->SetStrings(0, "1/5/2028");
  auto* Editor = Edit<TdxInplaceDateEdit>(N, 0);
  ASSERT_NE(Editor, nullptr);
  SendMessageA(Editor->Handle(), EM_SETSEL, 0, 7);
  SendMessageA(Editor->Handle(), WM_CHAR, 'Z', 1);
  SendMessageA(Editor->Handle(), EM_SETSEL, 1, 1);
  Key(Editor->Handle(), VK_BACK);
  SendMessageA(Editor->Handle(), WM_CHAR, '\b', 1);
  SendMessageA(Editor->Handle(), EM_SETSEL, 4, 4);
  SendMessageA(Editor->Handle(), WM_CHAR, '1', 1);
  SendMessageA(Editor->Handle(), EM_SETSEL, 10, 10);
  SendMessageA(Editor->Handle(), WM_CHAR, '3', 1);
  const AnsiString Shown = Editor->Text();
  const int BeepsBefore = Beeps;
  const std::size_t MessagesBefore = Log->Messages.size();
  Key(Editor->Handle(), VK_RETURN);
  TDateTime Read = 0;
  if (N->Strings(0) == "1/5/2028") {
    EXPECT_TRUE(Beeps > BeepsBefore || Log->Messages.size() > MessagesBefore) << "kept in silence: " << Shown.c_str();
  } else {
    ASSERT_TRUE(TextToDate(TdxEditMask(DateEditMask()).Value(Shown), Read)) << Shown.c_str();
    EXPECT_TRUE(N->Strings(0) == FormatDateValue(true, Read)) << Shown.c_str() << " stored as " << N->Strings(0).c_str();
  }
  if (Tree->State() == tsEditing) Tree->HideEditor(false);
  // A cell that is no date shows its text as far as the mask takes it; a key that
  // changes nothing there (Delete on a blank) is no edit, and the cell keeps its text.
  N->SetStrings(0, "xyz");
  Editor = Edit<TdxInplaceDateEdit>(N, 0);
  SendMessageA(Editor->Handle(), EM_SETSEL, 0, 0);
  Key(Editor->Handle(), VK_DELETE);
  EXPECT_FALSE(Editor->GetModified());
  Key(Editor->Handle(), VK_RETURN);
  EXPECT_EQ(N->Strings(0), "xyz");
  // The time cell.
  N->SetStrings(1, "9:5");
  auto* Time = Edit<TdxInplaceTimeEdit>(N, 1);
  ASSERT_NE(Time, nullptr);
  EXPECT_EQ(Time->Text(), "09:05");
  Key(Time->Handle(), VK_RETURN);
  EXPECT_EQ(N->Strings(1), "9:5") << "untouched";
  Time = Edit<TdxInplaceTimeEdit>(N, 1);
  SendMessageA(Time->Handle(), EM_SETSEL, 3, 3);
  SendMessageA(Time->Handle(), WM_CHAR, '4', 1);
  Key(Time->Handle(), VK_RETURN);
  EXPECT_EQ(N->Strings(1), "09:45");
}

// A settings change broadcast while a date cell is edited (any program may send one)
// re-forms what it must and drops nothing: the date typed, a day picked in the calendar
// and an untouched cell each reach the cell as they were.
TEST_F(TreeListKindsEditingTest, ASettingsChangeWhileADateIsEditedKeepsWhatTheUserTyped) {
  // Column 0 without a mask, column 1 with one.
  Kind<TdxTreeListDateColumn>();
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  TdxTreeListNode* N = Node({"1/2/2020", "01/02/2020"});
  auto Broadcast = [&] {
    SendMessageA(Form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    Pump();
  };
  for (int Column : {0, 1}) {
    const std::string Typed = Column == 0 ? "3/4/2021" : "03042021";
    const AnsiString Expected = FormatDateValue(Column == 1, EncodeDate(2021, 3, 4));
    N->SetStrings(Column, Column == 0 ? "1/2/2020" : "01/02/2020");
    auto* Editor = Edit<TdxInplaceDateEdit>(N, Column);
    ASSERT_NE(Editor, nullptr);
    SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
    for (char C : Typed) SendMessageA(Editor->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
    const AnsiString Shown = Editor->Text();
    Broadcast();
    EXPECT_TRUE(Editor->Text() == Shown) << Column << ": \"" << Editor->Text().c_str() << "\"";
    EXPECT_TRUE(Editor->GetModified()) << Column;
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_TRUE(N->Strings(Column) == Expected) << Column << ": " << N->Strings(Column).c_str();
    // A day picked in the calendar, then the broadcast.
    Editor = Edit<TdxInplaceDateEdit>(N, Column);
    Key(Editor->Handle(), VK_F4);
    TdxGridDatePopup* Popup = Editor->DatePopup();
    ASSERT_NE(Popup, nullptr);
    Popup->SetSelStart(Popup->GetSelStart() + 1);
    Key(Popup->Handle(), VK_RETURN);
    Broadcast();
    EXPECT_TRUE(Editor->GetModified()) << Column;
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_TRUE(N->Strings(Column) == FormatDateValue(Column == 1, EncodeDate(2021, 3, 5)))
        << Column << ": " << N->Strings(Column).c_str();
    // Untouched.
    N->SetStrings(Column, "1/5/2028");
    Editor = Edit<TdxInplaceDateEdit>(N, Column);
    Broadcast();
    Key(Editor->Handle(), VK_RETURN);
    EXPECT_EQ(N->Strings(Column), "1/5/2028") << Column;
  }
}

// A Revertable pick cell's double click steps from the item the cell holds, whatever
// item the editor stepped to in another cell.
TEST_F(TreeListKindsEditingTest, ARevertableDoubleClickStepsFromTheCellsOwnItem) {
  auto* Pick = Kind<TdxTreeListPickColumn>();
  Pick->Items()->SetText("apple\r\napricot\r\nbanana\r\ncherry");
  Pick->SetRevertable(true);
  TdxTreeListNode* Cherry = Node({"cherry"});
  TdxTreeListNode* Banana = Node({"banana"});
  auto DoubleClick = [&](TdxTreeListNode* Cell) {
    auto* Editor = Edit<TdxInplacePickEdit>(Cell, 0);
    SendMessageA(Editor->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Editor->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Key(Editor->Handle(), VK_RETURN);
  };
  DoubleClick(Cherry);
  EXPECT_EQ(Cherry->Strings(0), "apple");
  DoubleClick(Banana);
  EXPECT_EQ(Banana->Strings(0), "cherry");
}

// A short date of two-digit years shows only some centuries. A date the user typed with
// four digits keeps its century through a change to such a format: its text stays as
// typed where the new form would read as another date (under the mask, the mask it was
// typed in stays until the value is stored). What a cell stores reads back as the date
// stored: a date the short form does not read back as is written with its four-digit
// year. A date untouched keeps its text.
TEST_F(TreeListKindsEditingTest, ADateOfAnotherCenturyKeepsItThroughAShortDateOfTwoDigitYears) {
  Kind<TdxTreeListDateColumn>();
  Kind<TdxTreeListDateColumn>()->SetUseEditMask(true);
  TdxTreeListNode* N = Node({"", ""});
  auto Broadcast = [&] {
    SendLocaleChanged(Form->Handle());
    Pump();
  };
  auto ReadsAs = [](const AnsiString& Text, TDateTime Expected) {
    TDateTime Read = 0;
    return TextToDate(Text, Read) && Read == Expected;
  };
  for (int Column : {0, 1}) {
    for (Word Year : {1921, 2095}) {
      const std::string Name = std::to_string(Column) + ", " + std::to_string(Year);
      const TDateTime Date = EncodeDate(Year, 3, 4);
      N->SetStrings(Column, Column == 0 ? "1/2/2020" : "01/02/2020");
      auto* Editor = Edit<TdxInplaceDateEdit>(N, Column);
      ASSERT_NE(Editor, nullptr);
      SendMessageA(Editor->Handle(), EM_SETSEL, 0, -1);
      const std::string Typed = (Column == 0 ? "3/4/" : "0304") + std::to_string(Year);
      for (char C : Typed) SendMessageA(Editor->Handle(), WM_CHAR, static_cast<unsigned char>(C), 1);
      const AnsiString Shown = Editor->Text();
      {
        TScopedLocaleInfo TwoDigits(LOCALE_SSHORTDATE, "M/d/yy");
        Broadcast();
        EXPECT_EQ(Shown, Editor->Text()) << Name;
        EXPECT_TRUE(Editor->GetModified()) << Name;
        Key(Editor->Handle(), VK_RETURN);
        const AnsiString Stored = N->Strings(Column);
        EXPECT_TRUE(ReadsAs(Stored, Date)) << Name << ": \"" << Stored.c_str() << "\"";
        // Opened again and left: untouched, the cell keeps its text.
        Editor = Edit<TdxInplaceDateEdit>(N, Column);
        Key(Editor->Handle(), VK_RETURN);
        EXPECT_EQ(Stored, N->Strings(Column)) << Name;
        // A day picked in the calendar keeps the century too.
        Editor = Edit<TdxInplaceDateEdit>(N, Column);
        Key(Editor->Handle(), VK_F4);
        TdxGridDatePopup* Popup = Editor->DatePopup();
        ASSERT_NE(Popup, nullptr);
        EXPECT_EQ(Date, Popup->GetSelStart()) << Name;
        Popup->SetSelStart(Date + 1);
        Key(Popup->Handle(), VK_RETURN);
        Key(Editor->Handle(), VK_RETURN);
        EXPECT_TRUE(ReadsAs(N->Strings(Column), Date + 1)) << Name << ": \"" << N->Strings(Column).c_str() << "\"";
      }
      Broadcast();
      EXPECT_TRUE(ReadsAs(N->Strings(Column), Date + 1)) << Name << ": \"" << N->Strings(Column).c_str() << "\"";
    }
  }
}

}  // namespace
