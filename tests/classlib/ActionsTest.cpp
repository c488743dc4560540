// Actions looking for their target: an action without a handler of its own goes through
// the application to the active form, which asks its active control, then itself, then
// its visible controls; the main form comes after the active form.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ActnList.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/UiTestSupport.h"

using uitest::Pump;
using uitest::TProbe;

namespace {

// An action that works on the targets of one class and notes where it executed and
// updated.
template <class Target>
class TTargetAction : public TAction {
 public:
  using TAction::TAction;
  bool HandlesTarget(TObject* Object) override { return ObjectAs<Target>(Object) != nullptr; }
  void ExecuteTarget(TObject* Object) override { Executed.push_back(Object); }
  void UpdateTarget(TObject* Object) override { Updated.push_back(Object); }
  std::vector<TObject*> Executed;
  std::vector<TObject*> Updated;
};

// A control that handles every action offered to it itself.
class TGreedyProbe : public TProbe {
 public:
  using TProbe::TProbe;
  bool ExecuteAction(TBasicAction* /*Action*/) override { return ++Offers, true; }
  bool UpdateAction(TBasicAction* /*Action*/) override { return ++Offers, true; }
  int Offers = 0;
};

class ActionsTest : public uitest::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SavedMainForm = Application->MainForm();
  }
  void TearDown() override {
    Application->SetMainForm(SavedMainForm);
    UiTest::TearDown();
  }
  // A shown, active form with a focused probe and an edit.
  TForm* ActiveForm() {
    TForm* Form = ShownForm();
    Probe = uitest::AddChild<TProbe>(Form);
    Edit = uitest::AddChild<TEdit>(Form);
    Edit->SetBounds(10, 60, 80, 20);
    SetForegroundWindow(Form->Handle());
    Probe->SetFocus();
    Pump();
    return Form;
  }
  TProbe* Probe = nullptr;
  TEdit* Edit = nullptr;
  TCustomForm* SavedMainForm = nullptr;
};

TEST_F(ActionsTest, TheActiveControlComesFirstThenTheFormThenItsControls) {
  TForm* Form = ActiveForm();
  ASSERT_EQ(Screen->ActiveCustomForm(), Form);
  ASSERT_EQ(Form->ActiveControl(), Probe);
  auto* OnProbe = Keep(NewObject<TTargetAction<TProbe>>(nullptr));
  EXPECT_TRUE(OnProbe->Execute());
  EXPECT_TRUE(OnProbe->Update());
  EXPECT_EQ(OnProbe->Executed, std::vector<TObject*>{Probe});
  EXPECT_EQ(OnProbe->Updated, std::vector<TObject*>{Probe});

  auto* OnForm = Keep(NewObject<TTargetAction<TForm>>(nullptr));
  EXPECT_TRUE(OnForm->Execute());
  EXPECT_EQ(OnForm->Executed, std::vector<TObject*>{Form});

  // The edit is neither active nor the form: found among the visible controls.
  auto* OnEdit = Keep(NewObject<TTargetAction<TEdit>>(nullptr));
  EXPECT_TRUE(OnEdit->Execute());
  EXPECT_EQ(OnEdit->Executed, std::vector<TObject*>{Edit});
  Edit->SetVisible(false);
  EXPECT_FALSE(OnEdit->Execute());
  EXPECT_FALSE(OnEdit->Update());
  EXPECT_EQ(OnEdit->Executed.size(), 1u);
}

TEST_F(ActionsTest, AnActionsOwnHandlerRunsInsteadOfTheSearch) {
  ActiveForm();
  auto* Action = Keep(NewObject<TTargetAction<TProbe>>(nullptr));
  int Runs = 0;
  auto* Handler = Keep(NewObject<uitest::TNotifyHandler>([&](TObject*) { ++Runs; }));
  Action->OnExecute = Handler->Event();
  Action->OnUpdate = Handler->Event();
  EXPECT_TRUE(Action->Execute());
  EXPECT_TRUE(Action->Update());
  EXPECT_EQ(Runs, 2);
  EXPECT_TRUE(Action->Executed.empty());
  EXPECT_TRUE(Action->Updated.empty());
}

// An action for one object.
class TOneTargetAction : public TTargetAction<TObject> {
 public:
  using TTargetAction::TTargetAction;
  bool HandlesTarget(TObject* Object) override { return Object == Target; }
  TObject* Target = nullptr;
};

// A control that takes the action itself ends the search; the main form is asked when
// the active form has no target, and only a form on the screen updates an action.
TEST_F(ActionsTest, TheMainFormIsAskedAfterTheActiveFormAndOnlyAShownFormUpdates) {
  TForm* Active = ActiveForm();
  auto* Greedy = uitest::AddChild<TGreedyProbe>(Active);
  Greedy->SetTop(100);
  auto* OnEdit = Keep(NewObject<TTargetAction<TEdit>>(nullptr));
  Edit->SetVisible(false);
  EXPECT_TRUE(OnEdit->Execute());
  EXPECT_EQ(Greedy->Offers, 1);
  EXPECT_TRUE(OnEdit->Executed.empty());
  Greedy->SetVisible(false);

  TForm* Main = Keep(NewObject<TForm>(nullptr));
  Application->SetMainForm(Main);
  auto* OnMain = Keep(NewObject<TOneTargetAction>(nullptr));
  OnMain->Target = Main;
  EXPECT_TRUE(OnMain->Execute());
  EXPECT_EQ(OnMain->Executed, std::vector<TObject*>{Main});
  EXPECT_FALSE(OnMain->Update());
  EXPECT_TRUE(OnMain->Updated.empty());
  Main->Show();
  Pump();
  EXPECT_TRUE(OnMain->Update());
  EXPECT_EQ(OnMain->Updated, std::vector<TObject*>{Main});
}

}  // namespace
