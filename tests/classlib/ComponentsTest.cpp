#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"

namespace {

std::vector<std::string> Events;

// Logs its notifications and its end.
class TLogged : public TComponent {
 public:
  explicit TLogged(TComponent* AOwner, const char* AName = "") : TComponent(AOwner) {
    if (*AName) SetName(AName);
  }
  // Notes whether the component was marked as being destroyed before its own turn.
  void BeforeDestruction() override {
    Events.push_back("free " + Name() + (ComponentState().Contains(csDestroying) ? " (marked)" : ""));
    Destroying();
    TComponent::BeforeDestruction();
  }
  void Loaded() override {
    TComponent::Loaded();
    Events.push_back("loaded " + Name());
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (AComponent != this)
      Events.push_back(Name() + (Operation == opInsert ? " +" : " -") + AComponent->Name());
  }
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { Events.clear(); }
};

TEST_F(ComponentTest, AnOwnerKeepsItsComponentsInOrderAndFreesThemLastFirst) {
  TLogged* Owner = NewObject<TLogged>(nullptr, "Owner");
  TLogged* A = NewObject<TLogged>(Owner, "A");
  TLogged* B = NewObject<TLogged>(Owner, "B");
  TLogged* C = NewObject<TLogged>(Owner, "C");
  ASSERT_EQ(Owner->ComponentCount(), 3);
  EXPECT_EQ(Owner->Components(0), A);
  EXPECT_EQ(Owner->Components(2), C);
  EXPECT_EQ(B->ComponentIndex(), 1);
  EXPECT_EQ(Owner->FindComponent("b"), B);
  EXPECT_EQ(B->Owner(), Owner);
  ExpectRaises<EListError>([&] { Owner->Components(3); }, "List index out of bounds (3)");

  // The owned components hear of an insertion (last first), then the owner; only
  // once the new component is complete.
  EXPECT_EQ(Events, (std::vector<std::string>{"Owner +A", "A +B", "Owner +B", "B +C", "A +C", "Owner +C"}));
  Events.clear();
  B->Free();
  EXPECT_EQ(Owner->ComponentCount(), 2);
  EXPECT_EQ(Events, (std::vector<std::string>{"free B", "C -B", "A -B", "Owner -B"}));
  Events.clear();
  Owner->Free();
  EXPECT_EQ(Events, (std::vector<std::string>{"free Owner", "free C (marked)", "free A (marked)"}));
}

// Its end fails after the inherited step.
int FailingAlive = 0;
class TFailsToEnd : public TLogged {
 public:
  explicit TFailsToEnd(TComponent* AOwner, const char* AName) : TLogged(AOwner, AName) { ++FailingAlive; }
  ~TFailsToEnd() override { --FailingAlive; }
  void BeforeDestruction() override {
    TLogged::BeforeDestruction();
    throw EInvalidOperation("cannot end " + Name());
  }
};

TEST_F(ComponentTest, AnOwnerFreesEveryComponentEvenWhenSomeFailToGo) {
  uitest::TShownExceptions Display;
  FailingAlive = 0;
  TLogged* Owner = NewObject<TLogged>(nullptr, "Owner");
  NewObject<TFailsToEnd>(Owner, "A");
  NewObject<TLogged>(Owner, "B");
  NewObject<TFailsToEnd>(Owner, "C");
  Events.clear();
  EXPECT_NO_THROW(Owner->Free());
  EXPECT_EQ(FailingAlive, 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"free Owner", "free C (marked)", "free B (marked)", "free A (marked)"}));
  EXPECT_EQ(uitest::ShownMessages, (std::vector<std::string>{"cannot end C", "cannot end A"}));
}

TEST_F(ComponentTest, NamesAreUniqueAmongTheOwnersComponentsAndIndexesMove) {
  TOwned<TComponent> Owner(NewObject<TComponent>(nullptr));
  TComponent* A = NewObject<TComponent>(Owner.get());
  TComponent* B = NewObject<TComponent>(Owner.get());
  A->SetName("btnNext");
  ExpectRaises<EComponentError>([&] { B->SetName("BTNNEXT"); }, "A component named BTNNEXT already exists");
  ExpectRaises<EComponentError>([&] { B->SetName("2nd"); }, "''2nd'' is not a valid component name");
  EXPECT_EQ(B->Name(), "");
  A->SetName("BtnNext");  // the same component may change the case of its name
  EXPECT_EQ(Owner->FindComponent("btnnext"), A);
  A->SetName("");
  B->SetName("btnNext");  // the name is free again
  EXPECT_EQ(Owner->FindComponent("btnNext"), B);
  // Components without owners never clash.
  TOwned<TComponent> Loose1(NewObject<TComponent>(nullptr));
  TOwned<TComponent> Loose2(NewObject<TComponent>(nullptr));
  Loose1->SetName("Same");
  Loose2->SetName("Same");

  // The component index moves a component within its owner: now A, B.
  TComponent* C = NewObject<TComponent>(Owner.get());
  C->SetComponentIndex(0);
  EXPECT_EQ(Owner->Components(0), C);
  EXPECT_EQ(Owner->Components(1), A);
  A->SetComponentIndex(99);
  EXPECT_EQ(Owner->Components(2), A);
  EXPECT_EQ(Owner->Components(1), B);
}

TEST_F(ComponentTest, FreeNotificationWorksInBothDirections) {
  TLogged* OwnerX = NewObject<TLogged>(nullptr, "X");
  TLogged* OwnerY = NewObject<TLogged>(nullptr, "Y");
  TLogged* Label = NewObject<TLogged>(OwnerX, "Label");
  TLogged* Edit = NewObject<TLogged>(OwnerY, "Edit");
  TLogged* Loose = NewObject<TLogged>(nullptr, "Loose");
  Label->FreeNotification(Edit);
  Loose->FreeNotification(Label);
  EXPECT_TRUE(Label->ComponentState().Contains(csFreeNotification));
  Events.clear();

  Edit->Free();  // Label hears of it although another owner held Edit
  EXPECT_EQ(Events, (std::vector<std::string>{"free Edit", "Label -Edit", "Y -Edit"}));
  Events.clear();
  Label->Free();  // and the other way round
  EXPECT_EQ(Events, (std::vector<std::string>{"free Label", "Loose -Label", "X -Label"}));
  Events.clear();

  // Once unlinked, nothing more arrives.
  TLogged* Other = NewObject<TLogged>(OwnerY, "Other");
  Loose->FreeNotification(Other);
  Loose->RemoveFreeNotification(Other);
  Events.clear();
  Other->Free();
  EXPECT_EQ(Events, (std::vector<std::string>{"free Other", "Y -Other"}));
  Loose->Free();
  OwnerX->Free();
  OwnerY->Free();
}

TEST(IsValidIdentTest, LettersDigitsAndUnderscores) {
  EXPECT_TRUE(IsValidIdent("_a1"));
  EXPECT_TRUE(IsValidIdent("Form_BoardWizard"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_FALSE(IsValidIdent("1a"));
  EXPECT_FALSE(IsValidIdent("a b"));
}

}  // namespace
