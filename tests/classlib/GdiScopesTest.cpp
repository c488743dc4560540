// The owners of GDI objects and of a DC's changes: each frees or restores exactly once,
// however its scope ends, and the class library's handle count stays balanced.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <utility>

#include "classlib/GdiScopes.h"

namespace {

HRGN CountedRegion() { return CountHandle(CreateRectRgn(0, 0, 10, 10)); }

bool Exists(HGDIOBJ Object) { return GetObjectType(Object) != 0; }

TEST(GdiScopesTest, AnOwnerFreesItsHandleOnceAndMovesHandTheOwnershipOn) {
  const int Start = GdiHandleCount();
  HRGN First = nullptr;
  {
    TOwnedRegion Owner(CountedRegion());
    First = Owner.Handle();
    ASSERT_TRUE(Owner);
    EXPECT_EQ(GdiHandleCount(), Start + 1);
    TOwnedRegion Taker(std::move(Owner));
    EXPECT_FALSE(Owner);
    EXPECT_EQ(Taker.Handle(), First);
    Owner = std::move(Taker);  // and back: still one object, still owned once
    EXPECT_EQ(Owner.Handle(), First);
    EXPECT_EQ(GdiHandleCount(), Start + 1);
    Owner.Reset(CountedRegion());  // the first one goes
    EXPECT_FALSE(Exists(First));
    EXPECT_EQ(GdiHandleCount(), Start + 1);
    First = Owner.Handle();
  }
  EXPECT_FALSE(Exists(First));
  EXPECT_EQ(GdiHandleCount(), Start);

  TOwnedRegion Giver(CountedRegion());
  HRGN Given = Giver.Release();
  EXPECT_FALSE(Giver);
  EXPECT_TRUE(Exists(Given)) << "a released handle is not freed";
  DeleteCountedObject(Given);
  EXPECT_EQ(GdiHandleCount(), Start);
}

TEST(GdiScopesTest, ASharedReferenceGoesBackToTheCache) {
  const int Objects = SharedObjectCount();
  const LOGBRUSH Brush{BS_SOLID, RGB(12, 34, 56), 0};
  {
    TSharedObject<HBRUSH> Held(AcquireSharedBrush(Brush));
    EXPECT_TRUE(Exists(Held.Handle()));
    EXPECT_EQ(SharedObjectCount(), Objects + 1);
  }
  EXPECT_EQ(SharedObjectCount(), Objects);
}

TEST(GdiScopesTest, ASelectionPutsBackTheObjectTheDCHadBefore) {
  const int Start = GdiHandleCount();
  TMemoryDC Memory(nullptr);
  const HDC DC = Memory.DC();
  const HGDIOBJ Original = GetCurrentObject(DC, OBJ_BRUSH);
  {
    TSelection Brush(DC, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(Brush.Previous(), Original);
    Brush.Select(GetStockObject(GRAY_BRUSH));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(GRAY_BRUSH));
    EXPECT_EQ(Brush.Previous(), Original) << "the first predecessor is the one put back";
    TSelection Nothing(DC, nullptr);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(GRAY_BRUSH));
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), Original);
  EXPECT_THROW(
      {
        TSelection Pen(DC, GetStockObject(WHITE_PEN));
        throw std::runtime_error("paint");
      },
      std::runtime_error);
  EXPECT_NE(GetCurrentObject(DC, OBJ_PEN), GetStockObject(WHITE_PEN));
  EXPECT_EQ(GdiHandleCount(), Start + 1);  // the memory DC itself
}

TEST(GdiScopesTest, AMemoryDCHoldsItsBitmapForTheScopeAndFreesBoth) {
  const int Start = GdiHandleCount();
  const int DCsMade = GdiObjectsMade(OBJ_MEMDC);
  HBITMAP Bitmap = nullptr;
  {
    TScreenDC Screen;
    TMemoryDC Memory(Screen.DC(), 5, 3);
    Bitmap = Memory.Bitmap();
    EXPECT_EQ(GetCurrentObject(Memory.DC(), OBJ_BITMAP), Bitmap);
    BITMAP Info{};
    GetObjectA(Bitmap, sizeof(Info), &Info);
    EXPECT_EQ(Info.bmWidth, 5);
    EXPECT_EQ(Info.bmHeight, 3);
    EXPECT_EQ(GdiHandleCount(), Start + 2);
    TMemoryDC Mask(Screen.DC(), 0, 0, true);
    GetObjectA(Mask.Bitmap(), sizeof(Info), &Info);
    EXPECT_EQ(Info.bmBitsPixel, 1);
    EXPECT_EQ(Info.bmWidth, 1) << "a size below 1 counts as 1";
  }
  EXPECT_FALSE(Exists(Bitmap));
  EXPECT_EQ(GdiHandleCount(), Start);
  EXPECT_EQ(GdiObjectsMade(OBJ_MEMDC) - DCsMade, 2);
  EXPECT_THROW(
      {
        TMemoryDC Memory(nullptr, 4, 4, true);
        throw std::runtime_error("paint");
      },
      std::runtime_error);
  EXPECT_EQ(GdiHandleCount(), Start);
}

TEST(GdiScopesTest, TheTextStateAndASavedDCComeBack) {
  TMemoryDC Memory(nullptr, 4, 4);
  const HDC DC = Memory.DC();
  SetTextColor(DC, RGB(1, 2, 3));
  SetBkColor(DC, RGB(4, 5, 6));
  SetBkMode(DC, OPAQUE);
  const HGDIOBJ Font = GetCurrentObject(DC, OBJ_FONT);
  {
    TSavedTextState Saved(DC);
    Saved.SelectFont(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT)));
    Saved.SelectFont(nullptr);  // keeps the current one
    SetTextColor(DC, RGB(9, 9, 9));
    SetBkColor(DC, RGB(8, 8, 8));
    SetBkMode(DC, TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), GetStockObject(ANSI_FIXED_FONT));
  }
  EXPECT_EQ(GetTextColor(DC), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(DC), RGB(4, 5, 6));
  EXPECT_EQ(GetBkMode(DC), OPAQUE);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), Font);
  {
    TSavedDC Saved(DC);
    SetWindowOrgEx(DC, 3, 4, nullptr);
    SelectObject(DC, GetStockObject(WHITE_PEN));
  }
  POINT Origin{};
  GetWindowOrgEx(DC, &Origin);
  EXPECT_EQ(Origin.x, 0);
  EXPECT_EQ(Origin.y, 0);
  EXPECT_NE(GetCurrentObject(DC, OBJ_PEN), GetStockObject(WHITE_PEN));
}

TEST(GdiScopesTest, AWindowTakesItsRegionOutOfTheCount) {
  HWND Window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(Window, nullptr);
  const int Start = GdiHandleCount();
  EXPECT_TRUE(SetWindowRegion(Window, TOwnedRegion(CountedRegion()), false));
  EXPECT_EQ(GdiHandleCount(), Start);
  HRGN Copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Window, Copy), SIMPLEREGION);
  EXPECT_TRUE(SetWindowRegion(Window, TOwnedRegion(), false));
  EXPECT_EQ(GetWindowRgn(Window, Copy), ERROR) << "a null region takes the window's away";
  DeleteObject(Copy);
  {
    TClientDC Client(Window);
    TWindowDC Whole(Window);
    EXPECT_NE(Client.DC(), nullptr);
    EXPECT_NE(Whole.DC(), nullptr);
  }
  DestroyWindow(Window);
}

}  // namespace
