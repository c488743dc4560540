// The drag's picture and the rest of the drag the controls build on: the image list
// shown over the desktop (read back from the screen), hidden and shown in nests and
// taken off at the end; a drag showing its control's picture; the keys of a drag
// handed to the dragged control; and automatic drag mode starting a drag from a press.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/DragImages.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

constexpr COLORREF Paint = RGB(12, 200, 34);

// A pixel of the screen.
COLORREF ScreenAt(int X, int Y) { return ScreenPixel(nullptr, X, Y) & 0xFFFFFF; }

// A 20 x 10 list holding one image of one colour.
TDragImageList* NewPicture() {
  auto* List = NewObject<TDragImageList>(20, 10);
  List->SetMasked(false);
  TOwned<TBitmap> Image(NewObject<TBitmap>());
  Image->SetSize(20, 10);
  Image->Canvas()->Brush()->SetColor(static_cast<TColor>(Paint));
  Image->Canvas()->FillRect(TRect{0, 0, 20, 10});
  List->Add(Image.get(), nullptr);
  List->SetDragImage(0, 10, 5);
  return List;
}

TEST(DragImageListTest, ThePictureIsOnTheScreenUntilHiddenOrEnded) {
  TOwned<TDragImageList> List(NewPicture());
  const int X = 700, Y = 600;
  const COLORREF Before = ScreenAt(X, Y);
  ASSERT_NE(Paint, Before);
  ASSERT_EQ(Before, ScreenAt(X + 100, Y)) << "a plain background under both places";
  ASSERT_TRUE(List->BeginDrag(nullptr, X, Y));
  EXPECT_EQ((TRect{690, 595, 710, 605}), List->DragRect()) << "the hot spot sits on the point";
  // The system may blend the picture with what is under it: it only has to show.
  const COLORREF Drawn = ScreenAt(X, Y);
  EXPECT_NE(Before, Drawn);
  TOwned<TDragImageList> Other(NewPicture());
  EXPECT_FALSE(Other->BeginDrag(nullptr, X, Y)) << "one image drag at a time";

  List->HideDragImage();
  List->HideDragImage();
  EXPECT_EQ(Before, ScreenAt(X, Y));
  List->ShowDragImage();
  EXPECT_FALSE(List->DragImageShown()) << "hides nest";
  List->ShowDragImage();
  EXPECT_EQ(Drawn, ScreenAt(X, Y));

  List->DragMove(X + 100, Y);
  EXPECT_EQ(Before, ScreenAt(X, Y));
  const COLORREF Under = Before;  // the same plain background further right
  EXPECT_NE(Under, ScreenAt(X + 100, Y));
  List->EndDrag();
  EXPECT_FALSE(List->Dragging());
  EXPECT_EQ(Under, ScreenAt(X + 100, Y));
  EXPECT_TRUE(Other->BeginDrag(nullptr, X, Y)) << "free again once ended";
  Other->EndDrag();
}

// A mouse message can carry any 16-bit point, and the system's move paints through a
// bitmap spanning the old and the new place: a point tens of thousands of pixels away
// stops just past the screen, where the picture shows the same, and the drag goes on.
TEST(DragImageListTest, AFarPointStopsJustPastTheScreen) {
  TOwned<TDragImageList> List(NewPicture());
  const int X = 700, Y = 600;
  const COLORREF Before = ScreenAt(X, Y);
  ASSERT_TRUE(List->BeginDrag(nullptr, X, Y));
  const int Left = GetSystemMetrics(SM_XVIRTUALSCREEN), Top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int Right = Left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int Bottom = Top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  List->DragMove(X, 32767);
  EXPECT_EQ(Bottom, List->DragRect().top) << "the picture touches the screen's edge";
  List->DragMove(X, -32768);
  EXPECT_EQ(Top, List->DragRect().bottom);
  List->DragMove(32767, Y);
  EXPECT_EQ(Right, List->DragRect().left);
  List->DragMove(-32768, Y);
  EXPECT_EQ(Left, List->DragRect().right);
  EXPECT_EQ(Before, ScreenAt(X, Y));
  List->DragMove(X, Y);
  EXPECT_EQ((TRect{690, 595, 710, 605}), List->DragRect());
  EXPECT_NE(Before, ScreenAt(X, Y)) << "back on the screen";
  List->EndDrag();
  EXPECT_EQ(Before, ScreenAt(X, Y));
}

// A control that shows a picture while it is dragged and logs the keys it hears.
class TPictured : public TProbe {
 public:
  explicit TPictured(TComponent* AOwner) : TProbe(AOwner), Picture(NewPicture()) {}
  ~TPictured() override { Picture->Free(); }
  TDragImageList* GetDragImages() override { return Picture; }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_KEYDOWN) Keys.push_back(static_cast<int>(Message.WParam));
    TProbe::Dispatch(Message);
  }
  TDragImageList* Picture;
  std::vector<int> Keys;
};

class TDropLog : public TObject {
 public:
  void DragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) {
    PictureShown = PictureShown || (Source && Source->GetDragImages() && Source->GetDragImages()->DragImageShown());
    Accept = true;
  }
  void DragDrop(TObject*, TObject*, int X, int Y) { Drops.push_back(std::to_string(X) + "," + std::to_string(Y)); }
  TControl* Source = nullptr;
  bool PictureShown = false;
  std::vector<std::string> Drops;
};

class DragImagesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(400, 300);
    Log = Keep(NewObject<TDropLog>());
    Source = NewObject<TPictured>(Form);
    Source->SetParent(Form);
    Source->SetBounds(10, 10, 80, 40);
    Log->Source = Source;
    Target = NewObject<TProbe>(Form);
    Target->SetParent(Form);
    Target->SetBounds(200, 100, 80, 40);
    Target->OnDragOver = TDragOverEvent::Bind<&TDropLog::DragOver>(Log);
    Target->OnDragDrop = TDragDropEvent::Bind<&TDropLog::DragDrop>(Log);
  }
  void Post(UINT Msg, int X, int Y) { PostMessageA(Form->Handle(), Msg, MK_LBUTTON, MAKELPARAM(X, Y)); }

  TForm* Form = nullptr;
  TDropLog* Log = nullptr;
  TPictured* Source = nullptr;
  TProbe* Target = nullptr;
};

TEST_F(DragImagesTest, ADragShowsItsControlsPictureAndHandsItTheKeys) {
  Post(WM_MOUSEMOVE, 220, 110);
  PostMessageA(Form->Handle(), WM_KEYDOWN, 'A', 1);
  Post(WM_LBUTTONUP, 230, 115);
  Source->BeginDrag(true);
  EXPECT_TRUE(Log->PictureShown);
  EXPECT_FALSE(Source->Picture->Dragging()) << "taken off at the end";
  EXPECT_EQ((std::vector<int>{'A'}), Source->Keys);
  EXPECT_EQ((std::vector<std::string>{"30,15"}), Log->Drops);
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(DragImagesTest, AutomaticDragModeDragsFromAPressPastTheDragDistance) {
  Source->SetDragMode(dmAutomatic);
  // The distance counts from where the mouse is; the target lies far from it.
  Post(WM_MOUSEMOVE, 220, 110);  // past the distance: the drag begins
  Post(WM_MOUSEMOVE, 225, 112);
  Post(WM_LBUTTONUP, 225, 112);
  SendMessageA(Source->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ((std::vector<std::string>{"25,12"}), Log->Drops);
  EXPECT_EQ(nullptr, GetCapture());

  // A press released before the mouse moved is no drag.
  Log->Drops.clear();
  PostMessageA(Source->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageA(Source->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(Log->Drops.empty());
  EXPECT_EQ(nullptr, GetCapture());
}

}  // namespace
