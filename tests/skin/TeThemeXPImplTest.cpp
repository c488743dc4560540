// The visual-styles binding: the library and its names, the handle cache, the tracker
// window, and unloading with handles in the cache.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "skin/TeThemeXPImpl.h"

namespace {

// Fake entry points: each open gives a new handle and is noted, each close is noted
// with whether the library was still loaded then.
struct TFakeApi {
  inline static std::vector<std::wstring> Opened;
  inline static std::vector<HTHEME_T> Closed;
  inline static bool ClosedWhileLoaded = true;
  inline static UINT_PTR Next = 0x1000;

  static HTHEME_T WINAPI Open(HWND, LPCWSTR ClassName) {
    Opened.push_back(ClassName);
    if (std::wstring(ClassName) == L"Missing") return nullptr;
    return reinterpret_cast<HTHEME_T>(Next += 4);
  }
  static HRESULT WINAPI Close(HTHEME_T Theme) {
    Closed.push_back(Theme);
    if (!ThemeLibrary()) ClosedWhileLoaded = false;
    return S_OK;
  }
};

class TeThemeXPImplTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearThemeCache();
    Saved = ThemeApi;
    TFakeApi::Opened.clear();
    TFakeApi::Closed.clear();
    TFakeApi::ClosedWhileLoaded = true;
    ThemeApi.OpenThemeData = TFakeApi::Open;
    ThemeApi.CloseThemeData = TFakeApi::Close;
  }
  void TearDown() override {
    ClearThemeCache();  // the fake handles go to the fake close
    ThemeApi = Saved;
  }
  TThemeApi Saved{};
};

TEST(TeThemeXPImplBindingTest, EveryNameIsLookedUpAndAMissingLibraryBindsNothing) {
  ASSERT_NE(ThemeLibrary(), nullptr) << "the painter's unit loads the library at start";
  // Every entry point of Wine's library is there, in the field of its own name.
  for (int I = 0; I < ThemeApiNameCount; ++I) {
    void* Slot = reinterpret_cast<void* const*>(&ThemeApi)[I];
    EXPECT_EQ(Slot, reinterpret_cast<void*>(GetProcAddress(ThemeLibrary(), ThemeApiNames[I])))
        << ThemeApiNames[I];
  }
  EXPECT_NE(ThemeApi.IsAppThemed, nullptr);
  EXPECT_EQ(IsVisualStyleAvailable(), ThemeApi.IsAppThemed() != FALSE);

  LoadThemeLibrary("no-such-library.dll");
  EXPECT_EQ(ThemeLibrary(), nullptr);
  EXPECT_EQ(ThemeApi.OpenThemeData, nullptr);
  EXPECT_EQ(ThemeApi.IsAppThemed, nullptr);
  EXPECT_FALSE(IsVisualStyleAvailable());
  EXPECT_EQ(OpenThemeHandle(nullptr, "Button"), nullptr) << "no library: no handle, no fault";
  ClearThemeCache();
  LoadThemeLibrary();
  EXPECT_NE(ThemeApi.DrawThemeBackground, nullptr);
}

TEST_F(TeThemeXPImplTest, WithoutAWindowOneClassIsOpenedOnceAndStaysOpen) {
  HTHEME_T First = OpenThemeHandle(nullptr, "Button");
  EXPECT_EQ(OpenThemeHandle(nullptr, "Button"), First);
  EXPECT_EQ(OpenThemeHandle(nullptr, "BUTTON"), First) << "class names ignore case";
  ASSERT_EQ(TFakeApi::Opened.size(), 1u);
  EXPECT_EQ(TFakeApi::Opened[0], L"Button");

  EXPECT_EQ(CloseThemeHandle(First), S_OK);
  EXPECT_TRUE(TFakeApi::Closed.empty()) << "a cached handle is left open";
  EXPECT_EQ(OpenThemeHandle(nullptr, "Button"), First);

  // A class the style lacks answers 0 from the cache too, without a second attempt.
  EXPECT_EQ(OpenThemeHandle(nullptr, "Missing"), nullptr);
  EXPECT_EQ(OpenThemeHandle(nullptr, "Missing"), nullptr);
  EXPECT_EQ(TFakeApi::Opened.size(), 2u);
  EXPECT_EQ(ThemeCacheCount(), 2);
}

TEST_F(TeThemeXPImplTest, AWindowHandleOpensAfreshAndItsHandleIsClosed) {
  const HWND Desktop = GetDesktopWindow();
  HTHEME_T A = OpenThemeHandle(Desktop, "Button");
  HTHEME_T B = OpenThemeHandle(Desktop, "Button");
  EXPECT_NE(A, B);
  EXPECT_EQ(TFakeApi::Opened.size(), 2u);
  EXPECT_EQ(ThemeCacheCount(), 0);
  CloseThemeHandle(A);
  EXPECT_EQ(TFakeApi::Closed, std::vector<HTHEME_T>{A});
}

TEST_F(TeThemeXPImplTest, AThemeChangeClosesEveryCachedHandleAndTheNextRequestOpensAgain) {
  HTHEME_T Button = OpenThemeHandle(nullptr, "Button");
  HTHEME_T Window = OpenThemeHandle(nullptr, "Window");
  OpenThemeHandle(nullptr, "Missing");
  ASSERT_NE(ThemeTracker(), nullptr) << "the first request made the tracker";
  const HWND Tracker = ThemeTracker()->Handle();
  ASSERT_TRUE(IsWindow(Tracker));
  EXPECT_EQ(GetParent(Tracker), nullptr) << "a top-level window hears of style changes";

  EXPECT_EQ(SendMessageA(Tracker, WM_THEMECHANGED, 0, 0), 0);
  EXPECT_EQ(ThemeCacheCount(), 0);
  ASSERT_EQ(TFakeApi::Closed.size(), 2u) << "the cached 0 is not closed";
  EXPECT_EQ(TFakeApi::Closed[0], Button);  // list order: sorted by name
  EXPECT_EQ(TFakeApi::Closed[1], Window);
  EXPECT_NE(OpenThemeHandle(nullptr, "Button"), Button);

  // Every message is answered by the default procedure: it keeps the window's text.
  EXPECT_TRUE(SendMessageA(Tracker, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tracker")));
  EXPECT_EQ(GetWindowTextLengthA(Tracker), 7);
}

TEST_F(TeThemeXPImplTest, UnloadingClosesTheCachedHandlesBeforeTheLibraryGoes) {
  OpenThemeHandle(nullptr, "Button");
  OpenThemeHandle(nullptr, "Window");
  UnloadThemeLibrary();
  EXPECT_EQ(TFakeApi::Closed.size(), 2u);
  EXPECT_TRUE(TFakeApi::ClosedWhileLoaded);
  EXPECT_EQ(ThemeLibrary(), nullptr);
  EXPECT_EQ(ThemeApi.CloseThemeData, nullptr) << "no pointer into the freed library is left";
  EXPECT_EQ(ThemeCacheCount(), 0);
  ClearThemeCache();  // a later clear (the unit's end) finds nothing to close

  // And with the real library: real handles in the cache, unloaded, loaded again.
  LoadThemeLibrary();
  ASSERT_NE(OpenThemeHandle(nullptr, "Button"), nullptr);
  UnloadThemeLibrary();
  LoadThemeLibrary();
  EXPECT_NE(OpenThemeHandle(nullptr, "Button"), nullptr);
  Saved = ThemeApi;
}

}  // namespace
