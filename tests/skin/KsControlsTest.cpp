// The buffered control bases on real windows: buffer sizes in grain steps, blending
// over the parent's background, transparency, the erase request, painting children
// into the buffer, the owner's blending, and the mouse and focus state.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "classlib/Classes_Streaming.h"
#include "skin/KsButtons.h"
#include "skin/KsCheckBoxs.h"
#include "skin/KsControls.h"
#include "skin/KsGroupBoxs.h"
#include "skin/KsThemeButtons.h"
#include "tests/skin/BitmapTestSupport.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

constexpr TKsColor OpaqueRed = 0xFFFF0000;

TKsColor RgbOf(TColor C) { return Rgb(ColorToKsColor(C, 255)); }

// A windowed or graphic kit control that paints one colour (or the base fill) and
// counts its paints.
template <class Base>
class TSolid : public Base {
 public:
  explicit TSolid(TComponent* AOwner) : Base(AOwner) {}
  std::optional<TKsColor> Solid;
  std::optional<int> BlackRow;  // a row drawn black over the fill
  int Paints = 0;

 protected:
  void PaintBuffer() override {
    ++Paints;
    if (Solid)
      this->Buffer()->FillRect(TRect{0, 0, this->Width(), this->Height()}, *Solid);
    else
      Base::PaintBuffer();
    if (BlackRow) this->Buffer()->FillRect(TRect{0, *BlackRow, this->Width(), *BlackRow + 1}, KsColorBlack);
  }
};
using TSolidControl = TSolid<TKsCustomControl>;
using TSolidGraphic = TSolid<TKsGraphicControl>;

// A plain windowed control that paints itself blue, with or without WS_EX_TRANSPARENT.
class TBlueWindow : public TCustomControl {
 public:
  TBlueWindow(TComponent* AOwner, bool ATransparent) : TCustomControl(AOwner), FTransparent(ATransparent) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    if (FTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(ClientRect());
  }

 private:
  bool FTransparent;
};

// A white box that scrolls its children as a scroll box does: the windows move with the
// client area's pixels, the graphic children by their bounds.
class TScrollingBox : public TCustomControl {
 public:
  explicit TScrollingBox(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clWhite); }
  void ScrollBy(int DY) {
    ScrollWindowEx(Handle(), 0, DY, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
    for (int I = 0; I < ControlCount(); ++I)
      if (TControl* C = Controls(I); !ObjectAs<TWinControl>(C)) C->SetBounds(C->Left(), C->Top() + DY, C->Width(), C->Height());
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
};

// A form that composes its children's painting itself, as the skinned form does.
class TBlendingForm : public TForm {
 public:
  explicit TBlendingForm(TComponent* AOwner) : TForm(AOwner, CreateNew) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == KM_ISFORMBLENDED) {
      Message.Result = 1;
      return;
    }
    TForm::Dispatch(Message);
  }
};

class KsBufferTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(300, 200);
    Form->SetColor(clWhite);
  }
  template <class T>
  T* Add(int Left, int Top, int Width, int Height, TWinControl* Parent = nullptr) {
    T* Control = NewObject<T>(Form);
    Control->SetParent(Parent ? Parent : Form);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
  }

  TForm* Form = nullptr;
};

TEST(KsBufferGrainTest, BuffersGrowInWholeGrainsAndShrinkOnlyPastOneStep) {
  TOwned<TKsCustomControl> Windowed(NewObject<TKsCustomControl>(nullptr));
  TOwned<TKsGraphicControl> Graphic(NewObject<TKsGraphicControl>(nullptr));
  auto Size = [](TKsBitmap* B) { return std::make_pair(B->Width(), B->Height()); };
  EXPECT_EQ(Size(Windowed->Buffer()), std::make_pair(120, 60));  // made at 100 x 30
  EXPECT_EQ(Size(Graphic->Buffer()), std::make_pair(120, 60));
  Windowed->SetBounds(0, 0, 119, 30);
  Graphic->SetBounds(0, 0, 119, 30);
  EXPECT_EQ(Size(Windowed->Buffer()), std::make_pair(120, 60));
  EXPECT_EQ(Size(Graphic->Buffer()), std::make_pair(120, 60));
  Windowed->SetBounds(0, 0, 89, 29);
  Graphic->SetBounds(0, 0, 89, 29);
  EXPECT_EQ(Size(Windowed->Buffer()), std::make_pair(90, 30));
  EXPECT_EQ(Size(Graphic->Buffer()), std::make_pair(90, 30));
  Windowed->SetBounds(0, 0, 95, 29);  // wider than the buffer: one step up
  EXPECT_EQ(Size(Windowed->Buffer()), std::make_pair(120, 30));
  // The blend buffer follows the buffer while blending.
  EXPECT_TRUE(Windowed->BlendBuffer()->Empty());
  Windowed->SetBlend(true);
  Windowed->SetBounds(0, 0, 200, 40);
  EXPECT_EQ(Size(Windowed->BlendBuffer()), Size(Windowed->Buffer()));
  EXPECT_EQ(Size(Windowed->Buffer()), std::make_pair(210, 60));
  // A length gets the next whole grain above it.
  EXPECT_EQ(BufferGrainSize(30, 30), 60);
  EXPECT_EQ(BufferGrainSize(29, 30), 30);
  EXPECT_EQ(BufferGrainSize(0, 30), 30);
  EXPECT_EQ(BufferGrainSize(100, 30), 120);
  EXPECT_EQ(BufferGrainSize(2147483647, 30), 2147483647);
}

TEST(KsBufferGrainTest, AControlLargerThanTheScreenHasABufferForWhatTheScreenShows) {
  const int ScreenW = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int ScreenH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  TOwned<TKsCustomControl> Windowed(NewObject<TKsCustomControl>(nullptr));
  TOwned<TKsGraphicControl> Graphic(NewObject<TKsGraphicControl>(nullptr));
  Windowed->SetBlend(true);
  for (TControl* C : std::initializer_list<TControl*>{Windowed.get(), Graphic.get()}) {
    C->SetBounds(0, 0, 100, 2147483647);
    EXPECT_EQ(C->Height(), 2147483647);
    C->SetBounds(0, 0, ScreenW + 500, 42680);
  }
  for (TKsBitmap* B : {Windowed->Buffer(), Windowed->BlendBuffer(), Graphic->Buffer()}) {
    EXPECT_EQ(B->Width(), BufferGrainSize(ScreenW, 30));
    EXPECT_EQ(B->Height(), BufferGrainSize(ScreenH, 30));
  }
  EXPECT_EQ(ShownBufferExtent(ScreenW + 500, 42680), (TPoint{ScreenW, ScreenH}));
  EXPECT_EQ(ShownBufferExtent(100, 30), (TPoint{100, 30}));
  // Back within the screen, the grain steps hold again.
  Windowed->SetBounds(0, 0, 100, 30);
  EXPECT_EQ(Windowed->Buffer()->Width(), 120);
  EXPECT_EQ(Windowed->Buffer()->Height(), 60);
}

TEST_F(KsBufferTest, AWindowResizedFromOutsideResizesTheBuffer) {
  auto* C = Add<TSolidControl>(10, 10, 100, 30);
  MoveWindow(C->Handle(), 10, 10, 200, 40, TRUE);
  EXPECT_EQ(C->ControlWidth(), 200);
  EXPECT_EQ(C->ControlHeight(), 40);
  EXPECT_EQ(C->Buffer()->Width(), 210);
  EXPECT_EQ(C->Buffer()->Height(), 60);
  EXPECT_EQ(C->Width(), 200);
}

TEST_F(KsBufferTest, BlendingComposesThePaintingOverTheParentsBackground) {
  auto* C = Add<TSolidControl>(10, 10, 60, 30);
  auto* G = Add<TSolidGraphic>(100, 10, 60, 30);
  C->Solid = OpaqueRed;
  G->Solid = OpaqueRed;
  C->SetBlend(true);
  G->SetBlend(true);
  EXPECT_EQ(C->BlendValue(), 150);
  PaintNow(C);
  PaintNow(Form);
  // Red at 150 over white, as the kit's pixel blend composes them.
  EXPECT_EQ(C->Buffer()->GetPixel(5, 5), 0xC1FE6969u);
  EXPECT_EQ(G->Buffer()->GetPixel(5, 5), 0xC1FE6969u);
  EXPECT_EQ(ScreenPixel(C->Handle(), 5, 5), RGB(0xFE, 0x69, 0x69));
  EXPECT_EQ(ScreenPixel(Form->Handle(), 105, 15), RGB(0xFE, 0x69, 0x69));

  C->SetBlendValue(255);
  PaintNow(C);
  EXPECT_EQ(Rgb(C->Buffer()->GetPixel(5, 5)), Rgb(OpaqueRed));
}

TEST_F(KsBufferTest, AnOpaqueControlFillsWithItsColourATransparentOneShowsTheParent) {
  auto* C = Add<TSolidControl>(10, 10, 60, 30);
  auto* G = Add<TSolidGraphic>(100, 10, 60, 30);
  C->SetColor(clBlue);
  G->SetColor(clBlue);
  PaintNow(Form);
  PaintNow(C);
  EXPECT_EQ(C->Buffer()->GetPixel(5, 5), ColorToKsColor(clBlue, 255));
  EXPECT_EQ(G->Buffer()->GetPixel(5, 5), ColorToKsColor(clBlue, 255));

  Form->SetColor(clYellow);
  C->SetTransparent(true);
  G->SetTransparent(true);
  PaintNow(Form);
  PaintNow(C);
  EXPECT_EQ(Rgb(C->Buffer()->GetPixel(5, 5)), RgbOf(clYellow));
  EXPECT_EQ(Rgb(G->Buffer()->GetPixel(5, 5)), RgbOf(clYellow));
  EXPECT_EQ(ScreenPixel(C->Handle(), 5, 5), static_cast<COLORREF>(clYellow));
}

TEST_F(KsBufferTest, AnEraseWithoutTheKitsFlagLeavesTheDCAloneWithItTheBufferIsPainted) {
  auto* C = Add<TSolidControl>(10, 10, 60, 30);
  C->Solid = OpaqueRed;
  PaintNow(C);
  const int Paints = C->Paints;
  C->Invalidate();
  auto Target = skintest::MakeBitmap(40, 20, 0xFF00FF00);
  EXPECT_EQ(SendMessageA(C->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Target->DC()), 0), 1);
  EXPECT_EQ(skintest::PixelsOf(Target.get()), std::vector<TKsColor>(40 * 20, 0xFF00FF00));
  EXPECT_EQ(C->Paints, Paints);  // erasing cost nothing

  for (LPARAM Flags : {LPARAM(KsParentBackgroundRequest), KsEraseIntoDC}) {
    Target->Fill(0xFF00FF00);
    C->Invalidate();
    EXPECT_EQ(SendMessageA(C->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Target->DC()), Flags), 1);
    EXPECT_EQ(Rgb(Target->GetPixel(5, 5)), Rgb(OpaqueRed));
  }
}

TEST_F(KsBufferTest, APaintMessageRepaintsAnUnchangedControl) {
  auto* C = Add<TSolidControl>(10, 10, 60, 30);
  PaintNow(C);
  int Paints = C->Paints;
  EXPECT_FALSE(C->NeedsRepaint());
  C->UpdateBuffer();  // nothing changed, nothing to do
  EXPECT_EQ(C->Paints, Paints);
  PaintNow(C);
  EXPECT_EQ(C->Paints, Paints + 1);
}

TEST_F(KsBufferTest, AnOwnerThatBlendsMakesEveryUpdateRepaint) {
  auto* Blending = Keep(NewObject<TBlendingForm>(nullptr));
  Blending->SetBounds(40, 300, 200, 100);
  Blending->Show();
  auto* Mine = AddChild<TSolidControl>(Blending);
  auto* Plain = Add<TSolidControl>(10, 10, 60, 30);
  Pump();
  PaintNow(Mine);
  PaintNow(Plain);
  EXPECT_TRUE(Mine->IsOwnerBlended());
  EXPECT_FALSE(Plain->IsOwnerBlended());
  const int MinePaints = Mine->Paints, PlainPaints = Plain->Paints;
  Mine->UpdateBuffer();
  Plain->UpdateBuffer();
  EXPECT_EQ(Mine->Paints, MinePaints + 1);
  EXPECT_EQ(Plain->Paints, PlainPaints);
}

TEST_F(KsBufferTest, TheWindowedBasePaintsItsGraphicAndTransparentChildrenIntoItsBuffer) {
  auto* Parent = Add<TSolidControl>(0, 0, 260, 60);
  Parent->Solid = 0xFFFFFFFF;
  auto* Through = NewObject<TBlueWindow>(Form, true);
  Through->SetParent(Parent);
  Through->SetBounds(10, 10, 30, 20);
  auto* Ordinary = NewObject<TBlueWindow>(Form, false);
  Ordinary->SetParent(Parent);
  Ordinary->SetBounds(60, 10, 30, 20);
  auto* Kit = Add<TSolidGraphic>(110, 10, 30, 20, Parent);
  Kit->Solid = OpaqueRed;
  auto* Clear = Add<TSolidGraphic>(160, 10, 30, 20, Parent);
  Clear->SetTransparent(true);  // paints nothing of its own
  auto* Hidden = Add<TSolidGraphic>(210, 10, 30, 20, Parent);
  Hidden->Solid = OpaqueRed;
  Hidden->SetVisible(false);
  Pump();
  PaintNow(Parent);

  TKsBitmap* B = Parent->Buffer();
  EXPECT_EQ(Rgb(B->GetPixel(15, 15)), RgbOf(clBlue));
  EXPECT_EQ(Rgb(B->GetPixel(65, 15)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(B->GetPixel(115, 15)), Rgb(OpaqueRed));
  EXPECT_EQ(Rgb(B->GetPixel(165, 15)), 0xFFFFFFu);
  EXPECT_EQ(Rgb(B->GetPixel(215, 15)), 0xFFFFFFu);
  EXPECT_FALSE(Kit->PaintingFromParent());
  // On the screen the kit child is the parent's painting.
  EXPECT_EQ(ScreenPixel(Parent->Handle(), 115, 15), RGB(255, 0, 0));
}

TEST_F(KsBufferTest, MouseAndFocusStateFollowTheirMessages) {
  auto* C = Add<TSolidControl>(10, 10, 60, 30);
  C->SetTabStop(true);
  int Enters = 0, Leaves = 0;
  TNotifyHandler OnEnter([&](TObject*) { ++Enters; });
  TNotifyHandler OnLeave([&](TObject*) { ++Leaves; });
  C->OnMouseEnter = OnEnter.Event();
  C->OnMouseLeave = OnLeave.Event();
  C->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(C->MouseInControl());
  C->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(C->MouseInControl());
  EXPECT_EQ(Enters, 1);
  EXPECT_EQ(Leaves, 1);

  auto* Other = Add<TSolidControl>(100, 10, 60, 30);
  Other->SetTabStop(true);
  C->SetFocus();
  Pump();
  EXPECT_TRUE(C->HasFocus());
  Other->SetFocus();
  Pump();
  EXPECT_FALSE(C->HasFocus());
  EXPECT_TRUE(Other->HasFocus());
}

// Controls given a height far beyond the screen by code, or one the system could not
// give a bitmap for: the library writes them, reads them back, shows and paints them.
TEST_F(KsBufferTest, KitControlsOfAnyHeightReadBackAndPaintTheirTopPart) {
  const std::pair<const char*, std::function<TKsCustomControl*(TComponent*)>> Kinds[] = {
      {"TTeThemeButton", [](TComponent* O) { return NewObject<TTeThemeButton>(O); }},
      {"TKsCustomButton", [](TComponent* O) { return NewObject<TKsCustomButton>(O); }},
      {"TKsCustomCheckBox", [](TComponent* O) { return NewObject<TKsCustomCheckBox>(O); }},
      {"TKsCustomRadioButton", [](TComponent* O) { return NewObject<TKsCustomRadioButton>(O); }},
      {"TKsCustomGroupBox", [](TComponent* O) { return NewObject<TKsCustomGroupBox>(O); }},
  };
  const int ScreenH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  for (const auto& [Kind, Make] : Kinds) {
    for (int Height : {42680, 100000000, 2147483647}) {
      SCOPED_TRACE(std::string(Kind) + " " + std::to_string(Height));
      TOwned<TForm> Root(NewObject<TForm>(nullptr, CreateNew));
      Root->SetBorderStyle(bsNone);
      Root->SetBounds(40, 40, 400, 300);
      TKsCustomControl* C = Make(Root.get());
      C->SetName("Tall");
      C->SetParent(Root.get());
      C->SetTransparent(false);
      C->SetColor(clRed);
      C->SetBounds(0, 0, 312, Height);
      const AnsiString Text = WriteComponentText(Root.get());

      TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
      ReadComponentText(Copy.get(), Text, "copy");
      auto* Read = ObjectAs<TKsCustomControl>(Copy->FindComponent("Tall"));
      ASSERT_NE(Read, nullptr);
      EXPECT_EQ(Read->Height(), Height);
      Copy->Show();
      Pump();
      Read->Invalidate();
      Read->UpdateBuffer();
      EXPECT_FALSE(Read->NeedsRepaint());
      EXPECT_EQ(Read->Buffer()->Height(), BufferGrainSize(std::min(Read->ControlHeight(), ScreenH), 30));
      EXPECT_EQ(Rgb(Read->Buffer()->GetPixel(300, 290)), RgbOf(clRed));
      // A window whose bottom lies past the largest screen coordinate has no area on the
      // system's screen, and is never painted there.
      if (40LL + Height > 2147483647LL) continue;
      PaintNow(Read);
      EXPECT_EQ(ScreenPixel(Read->Handle(), 300, 50), RGB(255, 0, 0));
      EXPECT_EQ(ScreenPixel(Read->Handle(), 300, 290), RGB(255, 0, 0));
    }
  }
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
}

// Kit controls taller than the screen, of each base, blended or not, scrolled so that
// only their last rows show: in the form (each 150 rows down from its top, with a black
// row 50 above its end) and in a box scrolled half way, then to its end (200 rows show,
// the black row 100 above its end). The windowed one ends at x 200, some also scrolled
// left. A buffer holds the whole control while a buffer may be that large, past that
// the part that shows; either way that part is painted. (The system keeps a window's
// position within 16 bits: a window cannot be scrolled further up than 32768 pixels.)
TEST_F(KsBufferTest, TallControlsPaintThePartThatShowsWhereverTheyAreScrolled) {
  // The form's pixel, child windows included.
  auto OnScreen = [&](int X, int Y) {
    HDC DC = GetDCEx(Form->Handle(), nullptr, DCX_CACHE);
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Form->Handle(), DC);
    return C;
  };
  const std::pair<int, int> Sizes[] = {{700, 200},  {1000, 200},   {1500, 200},  {3000, 200},
                                       {20000, 200}, {3000, 10000}, {20000, 1000}, {100000, 200}};
  for (bool Blended : {false, true}) {
    // A colour painted over white, as the screen shows it.
    auto Seen = [&](TColor C) {
      const TKsColor K = BlendPixel(ColorToKsColor(C, Blended ? KsDefaultBlendValue : 255), KsColorWhite);
      return RGB(KsRed(K), KsGreen(K), KsBlue(K));
    };
    for (const auto& [H, W] : Sizes) {
      SCOPED_TRACE(std::string(Blended ? "blended " : "") + std::to_string(W) + " x " + std::to_string(H));
      auto Expect = [&](int Shown, int Black) {
        for (int Y : {0, Black - 1, Black, Black + 1, Shown - 1}) {
          SCOPED_TRACE("row " + std::to_string(Y));
          if (H <= 32768) {
            EXPECT_EQ(OnScreen(100, Y), Seen(Y == Black ? clBlack : clRed));
          }
          EXPECT_EQ(OnScreen(250, Y), Seen(Y == Black ? clBlack : clBlue));
        }
      };
      auto Make = [&](int Top, int Black, TWinControl* Parent) {
        auto* C = Add<TSolidControl>(200 - W, Top, W, H, Parent);
        auto* G = Add<TSolidGraphic>(210, Top, 80, H, Parent);
        C->SetColor(clRed);
        G->SetColor(clBlue);
        C->SetBlend(Blended);
        G->SetBlend(Blended);
        C->BlackRow = G->BlackRow = H - Black;
        return C;
      };
      TSolidControl* C = Make(-(H - 150), 50, nullptr);
      PaintNow(Form);
      PaintNow(C);
      Expect(150, 100);
      while (Form->ControlCount() > 0) Form->Controls(0)->Free();

      auto* Box = Add<TScrollingBox>(0, 0, 300, 200);
      Make(0, 100, Box);
      Pump();
      Box->ScrollBy(-(H - 200) / 2);
      Pump();
      Box->ScrollBy((H - 200) / 2 - (H - 200));
      Pump();
      Expect(200, 100);
      Box->Free();
    }
  }
  EXPECT_TRUE(Log->Messages.empty()) << Log->Messages.front();
}

}  // namespace
