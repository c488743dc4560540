#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include "classlib/Graphics.h"
#include "tests/classlib/UiTestSupport.h"

using uitest::TChangeCounter;

namespace {

LOGFONTA LogFontOf(HFONT Font) {
  LOGFONTA Result{};
  GetObjectA(Font, sizeof(Result), &Result);
  return Result;
}

}  // namespace

TEST(ColorTest, SystemColorsResolveAndOtherValuesPass) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clHighlightText), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(ColorToRGB(clDefault), 0x20000000u);
}

TEST(FontTest, ChangesNotifyAndRemakeTheHandle) {
  const int Start = GdiHandleCount();
  HFONT Exposed[2] = {};
  {
    TOwned<TFont> Font(NewObject<TFont>());
    TChangeCounter Counter;
    Font->OnChange = Counter.Event();
    EXPECT_EQ(Font->Size(), 8);
    EXPECT_EQ(Font->Height(), -MulDiv(8, Font->PixelsPerInch(), 72));
    EXPECT_EQ(LogFontOf(Font->Handle()).lfWeight, FW_NORMAL);

    Font->SetSize(20);
    Font->SetStyle({fsBold, fsItalic});
    Font->SetName("Arial");
    EXPECT_EQ(Counter.Count, 3);
    LOGFONTA Made = LogFontOf(Font->Handle());
    EXPECT_EQ(Made.lfHeight, -MulDiv(20, Font->PixelsPerInch(), 72));
    EXPECT_EQ(Made.lfWeight, FW_BOLD);
    EXPECT_TRUE(Made.lfItalic);
    EXPECT_STREQ(Made.lfFaceName, "Arial");
    EXPECT_EQ(GdiHandleCount(), Start + 1) << "the old handles are deleted";

    Font->SetSize(20);  // no change
    EXPECT_EQ(Counter.Count, 3);
    HFONT Handle = Font->Handle();
    Font->SetColor(clRed);
    EXPECT_EQ(Counter.Count, 4) << "a colour change notifies";
    EXPECT_EQ(Font->Handle(), Handle) << "and keeps the handle";

    TOwned<TFont> Copy(NewObject<TFont>());
    TChangeCounter CopyCounter;
    Copy->OnChange = CopyCounter.Event();
    Copy->Assign(Font.get());
    EXPECT_EQ(CopyCounter.Count, 1);
    EXPECT_EQ(Copy->Size(), 20);
    EXPECT_EQ(Copy->Color(), clRed);
    EXPECT_EQ(Copy->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(LogFontOf(Copy->Handle()).lfWeight, FW_BOLD);
    Exposed[0] = Font->Handle();
    Exposed[1] = Copy->Handle();
  }
  EXPECT_EQ(GdiHandleCount(), Start);
  for (HFONT Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u) << "deleted, not only uncounted";
}

// A character tens of thousands of pixels high has a glyph image of more bytes than
// the system counts in 32 bits: drawing it faulted in the system's text drawing.
TEST(FontTest, AFontHigherThanTheSystemDrawsIsMadeAtTheLargestHeightItDraws) {
  TOwned<TFont> Font(NewObject<TFont>());
  Font->SetHeight(82404);
  EXPECT_EQ(Font->Height(), 82404) << "the property keeps what it was given";
  EXPECT_EQ(LogFontOf(Font->Handle()).lfHeight, MaxFontPixels);
  Font->SetHeight(-2147483647 - 1);
  EXPECT_EQ(LogFontOf(Font->Handle()).lfHeight, -MaxFontPixels);
  Font->SetHeight(-MaxFontPixels + 1);
  EXPECT_EQ(LogFontOf(Font->Handle()).lfHeight, -MaxFontPixels + 1);

  // Its text drawn across a bitmap, the glyphs' middle rows on it.
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  Bitmap->SetSize(330, 30);
  TCanvas* Canvas = Bitmap->Canvas();
  for (int Height : {82404, -82404, 2147483647}) {
    Canvas->Font()->SetHeight(Height);
    Canvas->TextOut(18, (30 - Canvas->TextHeight("Component1")) / 2, "Component1");
    Canvas->TextOut(0, -MaxFontPixels / 2, "mW@");
  }
}

// The shared cache behind fonts, pens and brushes: equal descriptions share one
// object, an unchanged Assign keeps it, and the last holder deletes it.
TEST(SharedGdiTest, AFontAssignedTenThousandTimesMakesOneHandle) {
  TOwned<TFont> Source(NewObject<TFont>());
  Source->SetName("Arial");
  Source->SetSize(37);  // a description no other test holds
  const int FontsBefore = GdiObjectsMade(OBJ_FONT);
  HFONT Handle = Source->Handle();
  TOwned<TFont> Copy(NewObject<TFont>());
  for (int I = 0; I < 10000; ++I) {
    Copy->Assign(Source.get());
    ASSERT_EQ(Copy->Handle(), Handle);
  }
  EXPECT_EQ(GdiObjectsMade(OBJ_FONT) - FontsBefore, 1);

  Source->SetColor(clRed);
  Copy->Assign(Source.get());  // only the colour differs
  EXPECT_EQ(Copy->Handle(), Handle);
  EXPECT_EQ(GdiObjectsMade(OBJ_FONT) - FontsBefore, 1);
  EXPECT_EQ(Copy->Color(), clRed);

  Source.reset();
  EXPECT_NE(GetObjectType(Handle), 0u) << "the copy still holds it";
  Copy.reset();
  EXPECT_EQ(GetObjectType(Handle), 0u) << "the last holder deletes it";
}

TEST(SharedGdiTest, EqualPensAndBrushesShareOneObjectUntilTheLastIsFreed) {
  const int Start = GdiHandleCount();
  const int Shared = SharedObjectCount();
  HPEN Pen;
  HBRUSH Brush;
  {
    TOwned<TPen> A(NewObject<TPen>()), B(NewObject<TPen>());
    A->SetColor(0x123456);
    B->SetColor(0x123456);
    A->SetWidth(3);
    B->Assign(A.get());
    Pen = A->Handle();
    EXPECT_EQ(B->Handle(), Pen);
    LOGPEN Made{};
    GetObjectA(Pen, sizeof(Made), &Made);
    EXPECT_EQ(Made.lopnWidth.x, 3);
    EXPECT_EQ(Made.lopnColor, 0x123456u);

    TOwned<TBrush> C(NewObject<TBrush>()), D(NewObject<TBrush>());
    C->SetColor(0x654321);
    D->SetColor(0x654321);
    Brush = C->Handle();
    EXPECT_EQ(D->Handle(), Brush);
    D->SetStyle(bsCross);  // D gets its own; C keeps the shared one
    EXPECT_NE(D->Handle(), Brush);
    EXPECT_EQ(C->Handle(), Brush);
    EXPECT_EQ(SharedObjectCount(), Shared + 3);
  }
  EXPECT_EQ(GetObjectType(Pen), 0u);
  EXPECT_EQ(GetObjectType(Brush), 0u);
  EXPECT_EQ(SharedObjectCount(), Shared);
  EXPECT_EQ(GdiHandleCount(), Start);
}

TEST(SharedGdiTest, ReleasingAnUnknownOrNullHandleDoesNothing) {
  const int Start = GdiHandleCount();
  HBRUSH Own = CreateSolidBrush(RGB(1, 2, 3));
  ReleaseSharedObject(Own);
  ReleaseSharedObject(nullptr);
  EXPECT_EQ(GetObjectType(Own), static_cast<DWORD>(OBJ_BRUSH)) << "not the cache's to delete";
  DeleteObject(Own);
  EXPECT_EQ(GdiHandleCount(), Start);
}

TEST(BrushTest, AColourMakesAClearBrushSolid) {
  TOwned<TBrush> Brush(NewObject<TBrush>());
  Brush->SetStyle(bsClear);
  Brush->SetColor(clWhite);  // the same colour still counts
  EXPECT_EQ(Brush->Style(), bsSolid);
  LOGBRUSH Made{};
  GetObjectA(Brush->Handle(), sizeof(Made), &Made);
  EXPECT_EQ(Made.lbStyle, UINT(BS_SOLID));
}

// A canvas on a memory DC of our own, whose own objects must be selected again
// whenever the canvas lets go of it.
class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartCount = GdiHandleCount();
    DC = CreateCompatibleDC(nullptr);
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
    Info.bmiHeader.biWidth = 64;
    Info.bmiHeader.biHeight = -64;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    Surface = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    OldSurface = SelectObject(DC, Surface);
    OwnPen = GetCurrentObject(DC, OBJ_PEN);
    OwnBrush = GetCurrentObject(DC, OBJ_BRUSH);
    OwnFont = GetCurrentObject(DC, OBJ_FONT);
  }
  void TearDown() override {
    SelectObject(DC, OldSurface);
    DeleteObject(Surface);
    DeleteDC(DC);
  }

  void ExpectOwnObjectsAndNoLeak() {
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), OwnPen);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), OwnBrush);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), OwnFont);
    EXPECT_EQ(GdiHandleCount(), StartCount);
  }

  void DrawEverything(TCanvas* Canvas) {
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->Brush()->SetColor(clBlue);
    Canvas->Font()->SetSize(12);
    Canvas->MoveTo(1, 1);
    Canvas->LineTo(20, 20);
    Canvas->Rectangle(2, 2, 30, 30);
    Canvas->Pen()->SetColor(clGreen);  // while selected
    Canvas->Ellipse(5, 5, 25, 25);
    Canvas->RoundRect(1, 1, 40, 40, 6, 6);
    Canvas->Polygon({{1, 1}, {10, 1}, {5, 8}});
    Canvas->Polyline({{1, 1}, {10, 1}, {5, 8}});
    Canvas->Arc(0, 0, 20, 20, 20, 10, 0, 10);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->TextOut(3, 3, "Text");
    Canvas->TextRect(Rect(0, 0, 20, 10), 0, 0, "Clipped");
    Canvas->FrameRect(Rect(0, 0, 10, 10));
    Canvas->FillRect(Rect(40, 40, 50, 50));
    Canvas->SetPixels(60, 60, clWhite);
  }

  int StartCount = 0;
  HDC DC = nullptr;
  HBITMAP Surface = nullptr;
  HGDIOBJ OldSurface = nullptr;
  HGDIOBJ OwnPen = nullptr, OwnBrush = nullptr, OwnFont = nullptr;
};

TEST_F(CanvasTest, LettingGoRestoresTheDCsObjectsAndLeaksNothing) {
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  ExpectRaises<EInvalidOperation>([&] { Canvas->LineTo(1, 1); }, "Canvas does not allow drawing");
  Canvas->SetHandle(DC);
  DrawEverything(Canvas.get());
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), Canvas->Pen()->Handle())
      << "the canvas draws with its own";
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), Canvas->Font()->Handle());
  EXPECT_EQ(Canvas->Pixels(60, 60), clWhite);
  EXPECT_EQ(Canvas->PenPos(), Point(3 + Canvas->TextWidth("Text"), 3));
  Canvas->SetHandle(nullptr);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), OwnPen);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), OwnBrush);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), OwnFont);
  // (The brush is clear now: GDI answers that with its stock hollow brush.)
  const HGDIOBJ Exposed[] = {Canvas->Pen()->Handle(), Canvas->Font()->Handle()};
  Canvas.reset();
  ExpectOwnObjectsAndNoLeak();
  for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
}

TEST_F(CanvasTest, AChangedObjectLeavesTheDCUntilTheNextDrawing) {
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  Canvas->SetHandle(DC);
  Canvas->Pen()->SetColor(clRed);
  Canvas->LineTo(5, 5);
  Canvas->Pen()->SetColor(clLime);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), OwnPen)
      << "the old pen is out before it is deleted";
  Canvas->LineTo(10, 10);
  LOGPEN Selected{};
  GetObjectA(GetCurrentObject(DC, OBJ_PEN), sizeof(Selected), &Selected);
  EXPECT_EQ(Selected.lopnColor, RGB(0, 255, 0));
  EXPECT_EQ(Canvas->Pixels(8, 8), clLime);

  // A bigger font measures bigger text at once.
  const int SmallHeight = Canvas->TextHeight("Xg");
  Canvas->Font()->SetSize(Canvas->Font()->Size() * 3);
  EXPECT_GT(Canvas->TextHeight("Xg"), SmallHeight * 2);
}

namespace {
// A graphic whose drawing selects the canvas's objects, then fails.
class TFailingGraphic : public TGraphic {
 public:
  bool Empty() const override { return false; }
  int Width() const override { return 10; }
  int Height() const override { return 10; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(TStream*) override {}
  void SaveToStream(TStream*) override {}

 protected:
  void Draw(TCanvas* ACanvas, const TRect&) override {
    ACanvas->Rectangle(0, 0, 5, 5);
    throw EInvalidGraphic("drawing failed");
  }
};

struct FailingListener {
  void Changed(TObject*) { throw EAbort("listener failed"); }
};
}  // namespace

TEST_F(CanvasTest, ADrawingCallThatRaisedStillLetsGoCleanly) {
  HGDIOBJ Pen = nullptr;
  {
    TOwned<TCanvas> Canvas(NewObject<TCanvas>());
    TOwned<TFailingGraphic> Graphic(NewObject<TFailingGraphic>());
    Canvas->SetHandle(DC);
    Canvas->Pen()->SetColor(clRed);
    Canvas->Font()->SetStyle({fsBold});
    ExpectRaises<EInvalidGraphic>([&] { Canvas->Draw(0, 0, Graphic.get()); },
                                  "drawing failed");
    FailingListener Listener;
    Canvas->OnChange = TNotifyEvent::Bind<&FailingListener::Changed>(&Listener);
    EXPECT_THROW(Canvas->Ellipse(0, 0, 9, 9), EAbort);
    Pen = GetCurrentObject(DC, OBJ_PEN);
    EXPECT_NE(Pen, OwnPen) << "still held by the canvas";
  }  // the canvas ends while its objects are selected
  ExpectOwnObjectsAndNoLeak();
  EXPECT_EQ(GetObjectType(Pen), 0u);
}
