// The popup list boxes as their editors drop them down: a detached tool window with
// the popups' frame, owner-drawn rows with pictures, and the window given back to
// the list when its frame changes.
#include <gtest/gtest.h>

#include <windows.h>

#include "editors/dxExEdtr_ImageEdit.h"
#include "editors/dxExEdtr_PickEdit.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

constexpr COLORREF Blue = RGB(0, 0, 255);

class PopupListTest : public EditTest {
 protected:
  template <class T>
  T* ShownEdit() {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<T>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 24);
    Pump();
    ::SetFocus(Edit->Handle());
    Pump();
    return Edit;
  }
  static RECT ClientInWindow(HWND Wnd) {
    RECT Window;
    RECT Client;
    GetWindowRect(Wnd, &Window);
    GetClientRect(Wnd, &Client);
    MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&Client), 2);
    return RECT{Client.left - Window.left, Client.top - Window.top, Window.right - Client.right,
                Window.bottom - Client.bottom};
  }
};

TEST_F(PopupListTest, TheListIsADetachedToolWindowFramedByItsBorderAndShadow) {
  auto* Edit = ShownEdit<TdxInplacePickEdit>();
  Edit->Items()->Add("one");
  Edit->Items()->Add("two");
  Edit->SetPopupBorder(pbFrame3D);
  Edit->Style()->SetShadow(true);
  Edit->DropDown();
  ASSERT_TRUE(Edit->DroppedDown());
  TdxPopupPickListBox* List = Edit->PickList();
  HWND Wnd = List->Handle();
  EXPECT_EQ(GetDesktopWindow(), GetAncestor(Wnd, GA_PARENT));
  const LONG ExStyle = GetWindowLongA(Wnd, GWL_EXSTYLE);
  EXPECT_TRUE(ExStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ExStyle & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongA(Wnd, GWL_STYLE) & WS_BORDER);
  EXPECT_TRUE(GetClassLongA(Wnd, GCL_STYLE) & CS_SAVEBITS);
  EXPECT_EQ(pbFrame3D, List->PopupBorder());
  EXPECT_TRUE(List->Shadow());
  const RECT Frame = ClientInWindow(Wnd);
  EXPECT_EQ(4, Frame.left);
  EXPECT_EQ(4, Frame.top);
  EXPECT_EQ(4 + List->ShadowSize(), Frame.right);
  EXPECT_EQ(4 + List->ShadowSize(), Frame.bottom);
  // The list keeps its items across the new window its frame asked for.
  EXPECT_EQ(2, static_cast<int>(SendMessageA(Wnd, LB_GETCOUNT, 0, 0)));
  // The editor keeps the focus, and the list answers no hint.
  EXPECT_EQ(Edit->Handle(), GetFocus());
  EXPECT_EQ(1, List->Perform(CM_HINTSHOW, 0, 0));
}

TEST_F(PopupListTest, ImageRowsShowTheirPictureAtTheLeftAndRowsWithoutOneShowNone) {
  TImageList* Images = Keep(NewObject<TImageList>(16, 16));
  TOwned<TBitmap> Picture(NewObject<TBitmap>(16, 16));
  Picture->Canvas()->Brush()->SetColor(static_cast<TColor>(Blue));
  Picture->Canvas()->FillRect(Rect(0, 0, 16, 16));
  Images->Add(Picture.get(), nullptr);
  auto* Edit = ShownEdit<TdxInplaceImageEdit>();
  Edit->SetImages(Images);
  Edit->SetDefaultImages(false);
  for (const char* Value : {"a", "b"}) Edit->Values()->Add(Value);
  Edit->ImageIndexes()->Add("0");
  Edit->ImageIndexes()->Add("x");
  Edit->DropDown();
  ASSERT_TRUE(Edit->DroppedDown());
  TdxPopupImageListBox* List = Edit->PopupList();
  EXPECT_EQ(Images->Height() + 2, List->MeasuredItemHeight());
  uitest::PaintNow(List);
  RECT First;
  RECT Second;
  SendMessageA(List->Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&First));
  SendMessageA(List->Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&Second));
  EXPECT_EQ(Blue, uitest::ScreenPixel(List->Handle(), First.left + 8, (First.top + First.bottom) / 2));
  EXPECT_NE(Blue, uitest::ScreenPixel(List->Handle(), Second.left + 8, (Second.top + Second.bottom) / 2));
}

}  // namespace
