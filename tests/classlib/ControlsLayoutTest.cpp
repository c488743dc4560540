#include <gtest/gtest.h>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

// A plain container.
class TBox : public TCustomControl {
 public:
  explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  }
};

TWinControl* Child(TWinControl* Parent, TAlign Align, int L, int T, int W, int H) {
  auto* C = NewObject<TBox>(Parent);
  C->SetBounds(L, T, W, H);
  C->SetAlign(Align);
  C->SetParent(Parent);
  return C;
}

void ExpectBounds(TControl* C, int L, int T, int W, int H) {
  EXPECT_EQ(C->Left(), L);
  EXPECT_EQ(C->Top(), T);
  EXPECT_EQ(C->Width(), W);
  EXPECT_EQ(C->Height(), H);
}

using LayoutTest = UiTest;

TEST_F(LayoutTest, AlignedChildrenShareTheClientAreaInAlignmentOrder) {
  TOwned<TBox> Box(NewObject<TBox>(nullptr));
  Box->SetBounds(0, 0, 200, 100);
  TControl* Client = Child(Box.get(), alClient, 0, 0, 10, 10);
  TControl* Right = Child(Box.get(), alRight, 0, 0, 40, 10);
  TControl* Top = Child(Box.get(), alTop, 0, 0, 10, 20);
  TControl* Bottom = Child(Box.get(), alBottom, 0, 0, 10, 15);
  TControl* Top2 = Child(Box.get(), alTop, 0, 50, 10, 5);  // below the first top one

  ExpectBounds(Top, 0, 0, 200, 20);
  ExpectBounds(Top2, 0, 20, 200, 5);
  ExpectBounds(Bottom, 0, 85, 200, 15);
  ExpectBounds(Right, 160, 25, 40, 60);
  ExpectBounds(Client, 0, 25, 160, 60);

  Box->SetBounds(0, 0, 300, 200);
  ExpectBounds(Bottom, 0, 185, 300, 15);
  ExpectBounds(Client, 0, 25, 260, 160);
  Top->Hide();  // hidden controls take no room
  ExpectBounds(Top2, 0, 0, 300, 5);
  ExpectBounds(Client, 0, 5, 260, 180);
}

TEST_F(LayoutTest, AnchorsKeepTheDistancesToTheirSides) {
  TOwned<TBox> Box(NewObject<TBox>(nullptr));
  Box->SetBounds(0, 0, 200, 100);
  TControl* Corner = Child(Box.get(), alNone, 150, 60, 40, 20);
  Corner->SetAnchors({akRight, akBottom});
  TControl* Stretch = Child(Box.get(), alNone, 10, 10, 100, 20);
  Stretch->SetAnchors({akLeft, akTop, akRight});
  TControl* Centred = Child(Box.get(), alNone, 80, 40, 40, 20);
  Centred->SetAnchors({});
  TControl* Plain = Child(Box.get(), alNone, 5, 70, 10, 10);

  Box->SetBounds(0, 0, 300, 200);
  ExpectBounds(Corner, 250, 160, 40, 20);
  ExpectBounds(Stretch, 10, 10, 200, 20);
  ExpectBounds(Centred, 130, 90, 40, 20);
  ExpectBounds(Plain, 5, 70, 10, 10);
  // A move by code sets new distances.
  Corner->SetLeft(200);
  Box->SetBounds(0, 0, 250, 200);
  EXPECT_EQ(Corner->Left(), 150);
}

TEST_F(LayoutTest, AFormLaysOutTheSameBeforeAndAfterItsWindowExists) {
  TForm* Form = Keep(NewObject<TForm>(nullptr));
  Form->SetBounds(50, 50, 400, 300);
  TControl* Bottom = Child(Form, alBottom, 0, 0, 10, 30);
  TWinControl* Corner = Child(Form, alNone, 300, 200, 50, 20);
  Corner->SetAnchors({akRight, akBottom});
  int ClientWidth = Form->ClientWidth(), ClientHeight = Form->ClientHeight();
  TPoint Before{Corner->Left(), Corner->Top()};
  Form->Show();
  Pump();
  RECT R;
  GetClientRect(Form->Handle(), &R);
  EXPECT_EQ(R.right, ClientWidth);
  EXPECT_EQ(R.bottom, ClientHeight);
  EXPECT_EQ(Corner->Left(), Before.x);
  EXPECT_EQ(Corner->Top(), Before.y);
  ExpectBounds(Bottom, 0, ClientHeight - 30, ClientWidth, 30);

  // Resizing the window moves the children with it.
  SetWindowPos(Form->Handle(), nullptr, 0, 0, 450, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(Form->Width(), 450);
  EXPECT_EQ(Corner->Left(), Before.x + 50);
  EXPECT_EQ(Corner->Top(), Before.y + 20);
  EXPECT_EQ(Bottom->Width(), ClientWidth + 50);
  EXPECT_EQ(Bottom->Top(), ClientHeight - 30 + 20);
  RECT W;
  GetWindowRect(Corner->Handle(), &W);
  MapWindowPoints(HWND_DESKTOP, Form->Handle(), reinterpret_cast<POINT*>(&W), 2);
  EXPECT_EQ(W.left, Corner->Left());
}

TEST_F(LayoutTest, ConstraintsLimitTheSize) {
  TOwned<TBox> Box(NewObject<TBox>(nullptr));
  Box->Constraints()->SetMinWidth(50);
  Box->Constraints()->SetMaxHeight(30);
  Box->SetBounds(0, 0, 10, 100);
  EXPECT_EQ(Box->Width(), 50);
  EXPECT_EQ(Box->Height(), 30);
  // A constrained aligned child gives the rest of the room back.
  TControl* Top = Child(Box.get(), alTop, 0, 0, 10, 10);
  Top->Constraints()->SetMaxWidth(20);
  TControl* Client = Child(Box.get(), alClient, 0, 0, 10, 10);
  EXPECT_EQ(Top->Width(), 20);
  EXPECT_EQ(Client->Top(), 10);
}

TEST_F(LayoutTest, ClientCoordinatesFollowTheParents) {
  TForm* Form = ShownForm();
  TWinControl* Box = Child(Form, alNone, 30, 20, 100, 50);
  auto* Inner = NewObject<TLabel>(Form);
  Inner->SetParent(Box);
  Inner->SetBounds(5, 6, 10, 10);
  POINT Origin{0, 0};
  ClientToScreen(Form->Handle(), &Origin);
  TPoint P = Inner->ClientToScreen(Point(1, 2));
  EXPECT_EQ(P.x, Origin.x + 30 + 5 + 1);
  EXPECT_EQ(P.y, Origin.y + 20 + 6 + 2);
  EXPECT_EQ(Inner->ScreenToClient(P).x, 1);
}

TEST_F(LayoutTest, ControlsListGraphicChildrenFirstAndZOrderMoves) {
  TOwned<TBox> Box(NewObject<TBox>(nullptr));
  TControl* W1 = Child(Box.get(), alNone, 0, 0, 10, 10);
  auto* G1 = AddChild<TLabel>(Box.get());
  auto* G2 = AddChild<TLabel>(Box.get());
  ASSERT_EQ(Box->ControlCount(), 3);
  EXPECT_EQ(Box->Controls(0), G1);
  EXPECT_EQ(Box->Controls(2), W1);
  G1->BringToFront();
  EXPECT_EQ(Box->Controls(0), G2);
  EXPECT_EQ(Box->Controls(1), G1);
  G1->SetParent(nullptr);
  EXPECT_EQ(Box->ControlCount(), 2);
  G1->Free();
}

}  // namespace
