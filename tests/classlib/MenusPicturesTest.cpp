// Pop-up menus: invisible items left out of the system menu, and the items' pictures
// (an image of the menu's list or the item's own bitmap) read back from the system
// menu's bitmaps.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/GdiScopes.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"

namespace {

TMenuItem* AddItem(TPopupMenu* Menu, const AnsiString& Caption) {
  auto* Item = NewObject<TMenuItem>(Menu);
  Item->SetCaption(Caption);
  Menu->Items()->Add(Item);
  return Item;
}

std::string MenuString(HMENU Menu, UINT Position) {
  char Buffer[128] = {};
  GetMenuStringA(Menu, Position, Buffer, sizeof(Buffer), MF_BYPOSITION);
  return Buffer;
}

HBITMAP ItemPicture(HMENU Menu, UINT Position) {
  MENUITEMINFOA Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = MIIM_BITMAP;
  GetMenuItemInfoA(Menu, Position, TRUE, &Info);
  return Info.hbmpItem;
}

COLORREF PicturePixel(HBITMAP Picture, int X, int Y) {
  TMemoryDC DC(nullptr);
  TSelection Selected(DC.DC(), Picture);
  return GetPixel(DC.DC(), X, Y);
}

SIZE PictureSize(HBITMAP Picture) {
  BITMAP Info{};
  GetObjectA(Picture, sizeof(Info), &Info);
  return SIZE{Info.bmWidth, Info.bmHeight};
}

TBitmap* RedSquareOnGreen(int Size) {
  TBitmap* Bitmap = NewObject<TBitmap>(Size, Size);
  Bitmap->Canvas()->Brush()->SetColor(clLime);
  Bitmap->Canvas()->FillRect(Rect(0, 0, Size, Size));
  Bitmap->Canvas()->Brush()->SetColor(clRed);
  Bitmap->Canvas()->FillRect(Rect(2, 2, Size - 2, Size - 2));
  return Bitmap;
}

TEST(MenuPicturesTest, InvisibleItemsAreLeftOutOfTheSystemMenu) {
  TOwned<TPopupMenu> Menu(NewObject<TPopupMenu>(nullptr));
  AddItem(Menu.get(), "One");
  TMenuItem* Two = AddItem(Menu.get(), "Two");
  AddItem(Menu.get(), "Three");
  Two->SetVisible(false);
  HMENU Handle = Menu->Handle();
  ASSERT_EQ(2, GetMenuItemCount(Handle));
  EXPECT_EQ("One", MenuString(Handle, 0));
  EXPECT_EQ("Three", MenuString(Handle, 1));
  EXPECT_NE(Two, Menu->FindItem(GetMenuItemID(Handle, 1)));
  Two->SetVisible(true);
  EXPECT_EQ(3, GetMenuItemCount(Menu->Handle()));
  EXPECT_EQ("Two", MenuString(Menu->Handle(), 1));
}

TEST(MenuPicturesTest, ItemsShowTheirImageOrTheirOwnBitmapOnTheMenuColour) {
  const int Before = GdiHandleCount();
  {
    TOwned<TImageList> Images(NewObject<TImageList>(nullptr));
    TOwned<TBitmap> Square(RedSquareOnGreen(16));
    Images->AddMasked(Square.get(), clLime);
    TOwned<TPopupMenu> Menu(NewObject<TPopupMenu>(nullptr));
    Menu->SetImages(Images.get());
    TMenuItem* Listed = AddItem(Menu.get(), "Listed");
    Listed->SetImageIndex(0);
    TMenuItem* Own = AddItem(Menu.get(), "Own");
    Own->SetImageIndex(0);
    TOwned<TBitmap> Glyph(RedSquareOnGreen(10));
    Own->SetBitmap(Glyph.get());
    AddItem(Menu.get(), "Plain");
    TMenuItem* OutOfRange = AddItem(Menu.get(), "Out");
    OutOfRange->SetImageIndex(5);
    EXPECT_EQ(Images.get(), Listed->GetImages());

    HMENU Handle = Menu->Handle();
    const COLORREF MenuColour = GetSysColor(COLOR_MENU);
    HBITMAP FromList = ItemPicture(Handle, 0);
    ASSERT_NE(nullptr, FromList);
    EXPECT_EQ(16, PictureSize(FromList).cx);
    EXPECT_EQ(RGB(255, 0, 0), PicturePixel(FromList, 8, 8));
    EXPECT_EQ(MenuColour, PicturePixel(FromList, 0, 0));
    // The item's own bitmap wins over the list; its transparent colour shows the menu.
    HBITMAP FromItem = ItemPicture(Handle, 1);
    ASSERT_NE(nullptr, FromItem);
    EXPECT_EQ(10, PictureSize(FromItem).cx);
    EXPECT_EQ(RGB(255, 0, 0), PicturePixel(FromItem, 5, 5));
    EXPECT_EQ(MenuColour, PicturePixel(FromItem, 0, 0));
    EXPECT_EQ(nullptr, ItemPicture(Handle, 2));
    EXPECT_EQ(nullptr, ItemPicture(Handle, 3));

    // A change of the bitmap builds the menu again; an emptied one leaves the list's.
    Own->SetBitmap(nullptr);
    EXPECT_FALSE(Own->HasBitmap());
    EXPECT_EQ(16, PictureSize(ItemPicture(Menu->Handle(), 1)).cx);
    // The list going away leaves the items without pictures.
    Images.reset();
    EXPECT_EQ(nullptr, Menu->Images());
    EXPECT_EQ(nullptr, ItemPicture(Menu->Handle(), 0));
  }
  EXPECT_EQ(Before, GdiHandleCount());
}

}  // namespace
