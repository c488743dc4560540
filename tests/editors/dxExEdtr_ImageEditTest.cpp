// The image editor on real windows: its entries and their pictures, the keys that
// step through the values, typed first letters, the list it drops down and the cell
// it paints.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "classlib/GdiScopes.h"
#include "editors/dxExEdtr_ImageEdit.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

class TOutsideImageEdit : public TdxInplaceImageEdit {
  TCLASS_DECL(TOutsideImageEdit, TdxInplaceImageEdit)
 public:
  using TdxInplaceImageEdit::TdxInplaceImageEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsideImageEdit)

constexpr COLORREF Red = RGB(255, 0, 0);

class ImageEditTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Images = Keep(NewObject<TImageList>(16, 16));
    TOwned<TBitmap> Picture(NewObject<TBitmap>(16, 16));
    Picture->Canvas()->Brush()->SetColor(static_cast<TColor>(Red));
    Picture->Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images->Add(Picture.get(), nullptr);
  }

  template <class T = TOutsideImageEdit>
  T* ShownEdit(int Count, std::initializer_list<const char*> Descriptions = {}) {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<T>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 24);
    for (int I = 0; I < Count; ++I) Edit->Values()->Add(AnsiString("v") + AnsiString(std::to_string(I).c_str()));
    for (const char* Text : Descriptions) Edit->Descriptions()->Add(Text);
    Pump();
    ::SetFocus(Edit->Handle());
    Pump();
    return Edit;
  }
  static void Key(TWinControl* Control, WPARAM Key) { SendMessageA(Control->Handle(), WM_KEYDOWN, Key, 1); }
  static void Type(TWinControl* Control, char Ch) {
    SendMessageA(Control->Handle(), WM_CHAR, static_cast<unsigned char>(Ch), 1);
  }
  // Whether the editor paints a red pixel into a 100 x 20 cell.
  static bool CellShowsPicture(TdxInplaceImageEdit* Edit) {
    TOwned<TdxEditViewData> Data(Edit->CreateViewData(false));
    TMemoryDC Memory(nullptr, 100, 20);
    const TRect R = Rect(0, 0, 100, 20);
    FillRect(Memory.DC(), &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Edit->EditClass()->DrawContent(Memory.DC(), R, false, Data.get());
    for (int X = 0; X < 100; ++X)
      if (GetPixel(Memory.DC(), X, 10) == Red) return true;
    return false;
  }

  TImageList* Images = nullptr;
};

// ---------------------------------------------------------------------------------
// Entries

TEST_F(ImageEditTest, AnImageIndexThatIsNotANumberShowsNoPictureInTheCell) {
  auto* Edit = ShownEdit(2, {"zero", "one"});
  Edit->SetImages(Images);
  Edit->SetDefaultImages(false);
  Edit->ImageIndexes()->Add("0");
  Edit->ImageIndexes()->Add("x");
  Edit->SetEditValue(Variant(AnsiString("v0")));
  EXPECT_TRUE(CellShowsPicture(Edit));
  Edit->SetEditValue(Variant(AnsiString("v1")));
  EXPECT_FALSE(CellShowsPicture(Edit));
  uitest::PaintNow(Edit);
  EXPECT_TRUE(Log->Messages.empty());
}

TEST_F(ImageEditTest, AValueOutsideTheListIsDrawnAsItsOwnTextWithoutAPicture) {
  auto* Edit = ShownEdit(1, {"zero"});
  Edit->SetImages(Images);
  Edit->SetEditValue(Variant(AnsiString("v0")));
  EXPECT_TRUE(CellShowsPicture(Edit));
  Edit->SetEditValue(Variant(AnsiString("other")));
  EXPECT_FALSE(CellShowsPicture(Edit));
  // The image list going away leaves the editor without pictures.
  Images->Free();
  Owned.erase(std::find(Owned.begin(), Owned.end(), Images));
  EXPECT_EQ(nullptr, Edit->Images());
}

// ---------------------------------------------------------------------------------
// Keys

TEST_F(ImageEditTest, PageDownMovesSixAndStopsAtTheLast) {
  auto* Edit = ShownEdit(10);
  Edit->SetEditValue(Variant(AnsiString("v0")));
  Key(Edit, VK_NEXT);
  EXPECT_EQ("v6", Edit->Text());
  Key(Edit, VK_NEXT);
  EXPECT_EQ("v9", Edit->Text());
  Key(Edit, VK_HOME);
  EXPECT_EQ("v0", Edit->Text());
  Key(Edit, VK_RIGHT);
  EXPECT_EQ("v1", Edit->Text());
  Key(Edit, VK_END);
  EXPECT_EQ("v9", Edit->Text());
  EXPECT_TRUE(Edit->GetModified());
}

TEST_F(ImageEditTest, InAGridTheArrowsMoveTheRowUnlessIncremental) {
  auto* Host = ShownContainer();
  auto* Edit = HostedEdit<TdxInplaceImageEdit>(Host);
  Edit->Values()->Add("a");
  Edit->Values()->Add("b");
  Edit->ShowAt(Rect(5, 5, 150, 25));
  Edit->SetEditValue(Variant(AnsiString("a")));
  Key(Edit, VK_DOWN);
  EXPECT_EQ("a", Edit->Text());
  ASSERT_EQ(1u, Host->HostKeys.size());
  Edit->SetIncremental(true);
  Key(Edit, VK_DOWN);
  EXPECT_EQ("b", Edit->Text());
  EXPECT_EQ(1u, Host->HostKeys.size());
}

TEST_F(ImageEditTest, RepeatedFirstLettersCycleThroughTheDescriptions) {
  auto* Edit = ShownEdit(4, {"Apple", "Avocado", "Banana", "apricot", "Cherry"});
  Edit->SetEditValue(Variant(AnsiString("v0")));
  Type(Edit, 'a');
  EXPECT_EQ("v1", Edit->Text());
  Type(Edit, 'A');
  EXPECT_EQ("v3", Edit->Text());
  Type(Edit, 'a');
  EXPECT_EQ("v0", Edit->Text());
  // A description without a value is never chosen.
  Type(Edit, 'c');
  EXPECT_EQ("v0", Edit->Text());
  EXPECT_TRUE(Log->Messages.empty());
}

// ---------------------------------------------------------------------------------
// The list

TEST_F(ImageEditTest, APressWithoutValuesTellsTheButtonClickButOpensNothing) {
  auto* Edit = ShownEdit(0);
  uitest::TChangeCounter Clicks;
  Edit->OnEditButtonClick = Clicks.Event();
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_EQ(1, Clicks.Count);
  EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(ImageEditTest, APressOpensTheListAndAClickInItChoosesTheValue) {
  auto* Edit = ShownEdit(5, {"a", "b", "c", "d", "e"});
  Edit->SetDropDownRows(3);
  Edit->SetEditValue(Variant(AnsiString("v1")));
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  TdxPopupImageListBox* List = Edit->PopupList();
  EXPECT_EQ(1, List->ItemIndex());
  EXPECT_EQ(3 * List->MeasuredItemHeight(), List->ClientHeight());
  RECT Item;
  SendMessageA(List->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&Item));
  const LPARAM At = MAKELPARAM(Item.left + 5, (Item.top + Item.bottom) / 2);
  PostMessageA(List->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
  PostMessageA(List->Handle(), WM_LBUTTONUP, 0, At);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ("v2", Edit->Text());
  EXPECT_EQ(Edit->Handle(), GetFocus());
}

TEST_F(ImageEditTest, TheListFollowsTheMouseAndEscapeClosesWithoutChoosing) {
  auto* Edit = ShownEdit(3, {"a", "b", "c"});
  Edit->SetEditValue(Variant(AnsiString("v0")));
  Edit->DropDown();
  TdxPopupImageListBox* List = Edit->PopupList();
  RECT Item;
  SendMessageA(List->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&Item));
  SendMessageA(List->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Item.left + 3, Item.top + 2));
  EXPECT_EQ(2, List->ItemIndex());
  Key(Edit, VK_ESCAPE);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ("v0", Edit->Text());
  Edit->DropDown();
  Key(Edit, VK_DOWN);
  Key(Edit, VK_RETURN);
  EXPECT_EQ("v1", Edit->Text());
}

}  // namespace
