#include <gtest/gtest.h>

#include "classlib/Classes_Streaming.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

// Counts the three-dimensional-look notifications that reach it.
class TCtl3DProbe : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_CTL3DCHANGED) ++Changes;
    TWinControl::Dispatch(Message);
  }
  int Changes = 0;
};

TEST(Ctl3D, StartsOnAndFollowingTheParent) {
  TOwned<TWinControl> Control(NewObject<TWinControl>(nullptr));
  EXPECT_TRUE(Control->Ctl3D());
  EXPECT_TRUE(Control->ParentCtl3D());
}

TEST(Ctl3D, ChildrenFollowTheParentUntilTheirOwnValueIsSet) {
  TOwned<TWinControl> Parent(NewObject<TWinControl>(nullptr));
  auto* Child = NewObject<TCtl3DProbe>(Parent.get());
  auto* GrandChild = NewObject<TCtl3DProbe>(Parent.get());
  Child->SetParent(Parent.get());
  GrandChild->SetParent(Child);

  Parent->SetCtl3D(false);
  EXPECT_FALSE(Child->Ctl3D());
  EXPECT_FALSE(GrandChild->Ctl3D());
  EXPECT_TRUE(Child->ParentCtl3D());
  EXPECT_EQ(1, Child->Changes);
  EXPECT_EQ(1, GrandChild->Changes);

  // An own value ends the following; the parent's next change passes it by.
  Child->SetCtl3D(true);
  EXPECT_FALSE(Child->ParentCtl3D());
  EXPECT_TRUE(GrandChild->Ctl3D());
  Parent->SetCtl3D(true);
  Parent->SetCtl3D(false);
  EXPECT_TRUE(Child->Ctl3D());

  // Following again takes the parent's value at once.
  Child->SetParentCtl3D(true);
  EXPECT_FALSE(Child->Ctl3D());
  EXPECT_FALSE(GrandChild->Ctl3D());
}

TEST(Ctl3D, AnEqualValueChangesNothing) {
  TOwned<TCtl3DProbe> Control(NewObject<TCtl3DProbe>(nullptr));
  Control->SetCtl3D(true);
  EXPECT_EQ(0, Control->Changes);
  EXPECT_TRUE(Control->ParentCtl3D());
}

TEST(Ctl3D, AnInsertedChildTakesTheParentsValue) {
  TOwned<TWinControl> Parent(NewObject<TWinControl>(nullptr));
  Parent->SetCtl3D(false);
  auto* Child = NewObject<TWinControl>(Parent.get());
  auto* Own = NewObject<TWinControl>(Parent.get());
  Own->SetCtl3D(true);
  Own->SetCtl3D(false);
  Own->SetCtl3D(true);
  Child->SetParent(Parent.get());
  Own->SetParent(Parent.get());
  EXPECT_FALSE(Child->Ctl3D());
  EXPECT_TRUE(Own->Ctl3D());
}

TEST(Ctl3D, AnOwnValueIsWrittenToTheFormFile) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("Form1");
  auto* Child = NewObject<TWinControl>(Form.get());
  Child->SetName("Child");
  Child->SetParent(Form.get());
  auto* Own = NewObject<TWinControl>(Form.get());
  Own->SetName("Own");
  Own->SetParent(Form.get());
  Own->SetCtl3D(false);

  AnsiString Text = WriteComponentText(Form.get());
  std::size_t OwnAt = Text.find("component Own");
  ASSERT_NE(AnsiString::npos, OwnAt);
  EXPECT_EQ(AnsiString::npos, Text.substr(0, OwnAt).find("Ctl3D"));
  EXPECT_NE(AnsiString::npos, Text.find("Ctl3D = False", OwnAt));
  EXPECT_NE(AnsiString::npos, Text.find("ParentCtl3D = False", OwnAt));
}

}  // namespace
