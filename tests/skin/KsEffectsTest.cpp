// The stopwatch and the show animations on a clock of the test's own, and the optional
// system functions.
#include <gtest/gtest.h>

#include <functional>

#include "skin/KsBitmap.h"
#include "skin/KsEffects.h"
#include "tests/skin/BitmapTestSupport.h"

using namespace skintest;

namespace {

// A clock of 1000 ticks a second on which every frame takes FrameTicks: a counter
// read that stops a measurement (every second one) first runs OnStop, when the frame
// has just been copied to the screen.
struct TFakeClock {
  static inline Int64 Now = 0;
  static inline Int64 FrameTicks = 20;
  static inline int Reads = 0;
  static inline std::function<void()> OnStop;

  static BOOL WINAPI Frequency(LARGE_INTEGER* Value) {
    Value->QuadPart = 1000;
    return TRUE;
  }
  static BOOL WINAPI NoFrequency(LARGE_INTEGER* Value) {
    Value->QuadPart = 0;
    return FALSE;
  }
  static BOOL WINAPI Counter(LARGE_INTEGER* Value) {
    if (++Reads % 2 == 0) {
      if (OnStop) OnStop();
      Now += FrameTicks;
    }
    Value->QuadPart = Now;
    return TRUE;
  }
};

class KsClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TFakeClock::Now = 1000;
    TFakeClock::FrameTicks = 20;
    TFakeClock::Reads = 0;
    TFakeClock::OnStop = nullptr;
    KsQueryPerformanceCounter = TFakeClock::Counter;
    KsQueryPerformanceFrequency = TFakeClock::Frequency;
  }
  void TearDown() override {
    KsQueryPerformanceCounter = QueryPerformanceCounter;
    KsQueryPerformanceFrequency = QueryPerformanceFrequency;
    TFakeClock::OnStop = nullptr;
  }
};

TEST_F(KsClockTest, TheStopwatchMeasuresSecondsBetweenStartAndStop) {
  TFakeClock::FrameTicks = 250;
  TOwned<TKsCounter> Counter(NewObject<TKsCounter>());
  EXPECT_EQ(Counter->Frequency(), 1000);
  EXPECT_FALSE(Counter->Running());
  EXPECT_EQ(Counter->Elapsed(), 0.0f);
  Counter->Start();
  EXPECT_TRUE(Counter->Running());
  EXPECT_FLOAT_EQ(Counter->Stop(), 0.25f);
  EXPECT_FALSE(Counter->Running());
  EXPECT_FLOAT_EQ(Counter->Elapsed(), 0.25f);

  TKsCounter* Held = nullptr;
  EXPECT_EQ(StopCounter(Held), 0.0f);
  StartCounter(Held);
  ASSERT_NE(Held, nullptr);
  EXPECT_TRUE(Held->Running());
  EXPECT_FLOAT_EQ(StopCounter(Held), 0.25f);
  EXPECT_EQ(Held, nullptr);

  KsQueryPerformanceFrequency = TFakeClock::NoFrequency;
  TOwned<TKsCounter> Blind(NewObject<TKsCounter>());
  Blind->Start();
  EXPECT_EQ(Blind->Stop(), 0.0f);
}

// The scene: a 20 x 20 background of which (5, 4)-(13, 10) lies under an 8 x 6 window
// shown at (10, 12) of a 30 x 30 screen.
class KsAnimationTest : public KsClockTest {
 protected:
  static constexpr int W = 8, H = 6;
  static constexpr TKsColor Window = 0xFF2060A0;
  static TKsColor Back(int X, int Y) { return 0xFF000000u | (X * 9 << 16) | (Y * 11 << 8) | 0x40; }

  void SetUp() override {
    KsClockTest::SetUp();
    Paint(Background.get(), Back);
    TFakeClock::OnStop = [this] { Frames.push_back(PixelsOf(Screen.get())); };
  }
  // The screen pixel of window point (X, Y) in a frame.
  TKsColor Shown(size_t Frame, int X, int Y) { return Frames[Frame][(12 + Y) * 30 + 10 + X]; }
  // The background under window point (X, Y).
  static TKsColor Under(int X, int Y) { return Back(5 + X, 4 + Y); }
  void ExpectFrames(int Start, const std::function<bool(float, int, int)>& Covered);
  // Only the window's rectangle of the screen ever changes.
  void ExpectOnlyTheWindowsRectangleDrawn() {
    for (const std::vector<TKsColor>& Frame : Frames)
      for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 30; ++X)
          if (X < 10 || X >= 18 || Y < 12 || Y >= 18) {
            ASSERT_EQ(Frame[Y * 30 + X], 0x11111111u);
          }
  }

  const TRect UnderWindow{5, 4, 13, 10};
  const TRect OnScreen{10, 12, 18, 18};
  TOwned<TKsBitmap> Background = MakeBitmap(20, 20);
  TOwned<TKsBitmap> Foreground = MakeBitmap(W, H, Window);
  TOwned<TKsBitmap> Screen = MakeBitmap(30, 30, 0x11111111);
  std::vector<std::vector<TKsColor>> Frames;
};

TEST_F(KsAnimationTest, AFadeOf400msIn20msFramesShows20FramesRisingFrom15) {
  // The left two columns are the transparent key colour.
  Foreground->FillRect(TRect{0, 0, 2, H}, 0xFF7F007F);
  FadeAnimation(Screen->DC(), Background.get(), UnderWindow, 400, OnScreen, Foreground.get());
  ASSERT_EQ(Frames.size(), 20u);  // elapsed 0, 21, 42, ..., 399
  for (size_t K = 0; K < Frames.size(); ++K) {
    const float T = static_cast<float>(21 * K) / 400.0f;
    const TKsColor Alpha = static_cast<TKsColor>(KsRound(T * 240.0f) + 15) << 24;
    if (K < 3) {
      const TKsColor Rising[] = {15, 28, 40};  // 15 + 12.6 per frame, rounded
      EXPECT_EQ(Alpha, Rising[K] << 24);
    }
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        // Where the window is transparent its frame holds the background, so the fade
        // leaves the background (up to rounding) in every frame, the first included.
        const TKsColor Top = X < 2 ? Under(X, Y) : Window;
        ASSERT_EQ(Shown(K, X, Y), BlendPixel(Alpha | (Top & 0xFFFFFF), Under(X, Y)))
            << "frame " << K << " at " << X << "," << Y;
      }
  }
  ExpectOnlyTheWindowsRectangleDrawn();
  // Afterwards the window's key pixels are transparent and it copies again.
  EXPECT_EQ(Foreground->GetPixel(0, 0), KsColorTransparent);
  EXPECT_EQ(Foreground->GetPixel(2, 0), Window);
  EXPECT_FALSE(Foreground->AlphaBlend());
}

TEST_F(KsAnimationTest, ZeroTimeDrawsNothing) {
  FadeAnimation(Screen->DC(), Background.get(), UnderWindow, 0, OnScreen, Foreground.get());
  SlideAnimation(Screen->DC(), Background.get(), UnderWindow, 0, 3, OnScreen, Foreground.get());
  RectAnimation(Screen->DC(), Background.get(), UnderWindow, 0, 0, OnScreen, Foreground.get());
  EXPECT_EQ(TFakeClock::Reads, 0);
  EXPECT_EQ(PixelsOf(Screen.get()), std::vector<TKsColor>(900, 0x11111111));
}

TEST_F(KsAnimationTest, AWindowNoFrameCanBeHadForDrawsNothing) {
  const TRect Huge{0, 0, 100000, 100000};  // a frame of it would take 40 GB
  FadeAnimation(Screen->DC(), Background.get(), Huge, 100, OnScreen, Foreground.get());
  SlideAnimation(Screen->DC(), Background.get(), Huge, 100, 3, OnScreen, Foreground.get());
  EXPECT_EQ(PixelsOf(Screen.get()), std::vector<TKsColor>(900, 0x11111111));
}

// Every frame shows the window where Covered(t, x, y) holds and the background
// elsewhere; the frames are those of elapsed Start, Start + 21, ... for 100 ms.
void KsAnimationTest::ExpectFrames(int Start, const std::function<bool(float, int, int)>& Covered) {
  ASSERT_EQ(Frames.size(), 5u);
  for (size_t K = 0; K < Frames.size(); ++K) {
    const float T = static_cast<float>(Start + 21 * K) / 100.0f;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X)
        ASSERT_EQ(Shown(K, X, Y), Covered(T, X, Y) ? Window : Under(X, Y)) << "frame " << K << " at " << X << "," << Y;
  }
  ExpectOnlyTheWindowsRectangleDrawn();
  Frames.clear();
}

TEST_F(KsAnimationTest, SlidesEnterFromTheirSide) {
  // Per direction the side entered from: -1 left or top, 1 right or bottom, 0 neither.
  const TPoint Sides[8] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int Direction = 0; Direction < 8; ++Direction) {
    SCOPED_TRACE(Direction);
    SlideAnimation(Screen->DC(), Background.get(), UnderWindow, 100, Direction, OnScreen, Foreground.get());
    const TPoint S = Sides[Direction];
    ExpectFrames(0, [S](float T, int X, int Y) {
      const int Wt = KsRound(W * T), Ht = KsRound(H * T);
      return (S.x == 0 || (S.x < 0 ? X < Wt : X >= W - Wt)) && (S.y == 0 || (S.y < 0 ? Y < Ht : Y >= H - Ht));
    });
  }
}

TEST_F(KsAnimationTest, RectanglesGrowFromTheCentreOrACornerStartingAt5ms) {
  RectAnimation(Screen->DC(), Background.get(), UnderWindow, 100, 0, OnScreen, Foreground.get());
  ExpectFrames(5, [](float T, int X, int Y) {
    const int HalfW = KsRound(W / 2 * T), HalfH = KsRound(H / 2 * T);
    return X >= W / 2 - HalfW && X < W / 2 + HalfW && Y >= H / 2 - HalfH && Y < H / 2 + HalfH;
  });
  const TPoint Corners[4] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int Variant = 1; Variant <= 4; ++Variant) {
    SCOPED_TRACE(Variant);
    RectAnimation(Screen->DC(), Background.get(), UnderWindow, 100, Variant, OnScreen, Foreground.get());
    const TPoint C = Corners[Variant - 1];
    ExpectFrames(5, [C](float T, int X, int Y) {
      const int Wt = KsRound(W * T), Ht = KsRound(H * T);
      return (C.x < 0 ? X < Wt : X >= W - Wt) && (C.y < 0 ? Y < Ht : Y >= H - Ht);
    });
  }
}

TEST_F(KsAnimationTest, FramesArePacedByMeasuredTime) {
  TFakeClock::FrameTicks = 99;  // each frame adds 100 ms
  FadeAnimation(Screen->DC(), Background.get(), UnderWindow, 400, OnScreen, Foreground.get());
  EXPECT_EQ(Frames.size(), 4u);
  Frames.clear();
  TFakeClock::FrameTicks = 0;  // an instant frame still adds 1 ms
  SlideAnimation(Screen->DC(), Background.get(), UnderWindow, 7, 0, OnScreen, Foreground.get());
  EXPECT_EQ(Frames.size(), 7u);
}

class KsBindingTest : public ::testing::Test {
 protected:
  void TearDown() override { BindLayeredWindows("user32.dll"); }
};

TEST_F(KsBindingTest, PresentFunctionsAreBoundAndMissingOnesTurnTheirFeatureOff) {
  EXPECT_TRUE(IsLayeredWindowsAvailable());
  EXPECT_NE(KsUpdateLayeredWindow, nullptr);

  BindLayeredWindows("kernel32.dll");  // a library without the functions
  EXPECT_FALSE(IsLayeredWindowsAvailable());
  EXPECT_EQ(KsUpdateLayeredWindow, nullptr);
  BindLayeredWindows(nullptr);
  EXPECT_EQ(KsSetLayeredWindowAttributes, nullptr);
}

}  // namespace
