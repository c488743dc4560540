// Actions reach the in-place editor that has the focus: an action without a handler of
// its own goes from the application to the form, which asks its active control (the
// editor's container, while the editor holds the focus), then itself, then its controls,
// the editor among them, whose handling (the class library's) executes or updates it.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ActnList.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::Pump;

namespace {

// An action that works on the in-place editor with the focus, as an editing command
// does, and notes where it executed and updated.
class TFocusedEditorAction : public TAction {
 public:
  using TAction::TAction;
  bool HandlesTarget(TObject* Target) override {
    auto* Edit = ObjectAs<TdxInplaceEdit>(Target);
    return Edit && Edit->Focused();
  }
  void ExecuteTarget(TObject* Target) override { Executed.push_back(Target); }
  void UpdateTarget(TObject* Target) override { Updated.push_back(Target); }
  std::vector<TObject*> Executed;
  std::vector<TObject*> Updated;
};

class EditActionsTest : public EditTest {};

TEST_F(EditActionsTest, AnActionsExecuteAndUpdateReachTheFocusedEditor) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  TCustomForm* Form = GetParentForm(Host);
  SetForegroundWindow(Form->Handle());
  Edit->ShowAt(Rect(5, 5, 80, 20));
  Pump();
  ASSERT_TRUE(Edit->Focused());
  ASSERT_EQ(Form->ActiveControl(), Host);
  auto* Action = Keep(NewObject<TFocusedEditorAction>(nullptr));
  EXPECT_TRUE(Action->Execute());
  EXPECT_TRUE(Action->Update());
  EXPECT_EQ(Action->Executed, std::vector<TObject*>{Edit});
  EXPECT_EQ(Action->Updated, std::vector<TObject*>{Edit});

  // Hidden, with the focus back on its container, the editor is no target: the action
  // finds none.
  Edit->Hide();
  SetFocus(Host->Handle());
  Pump();
  ASSERT_FALSE(Edit->Focused());
  EXPECT_FALSE(Action->Execute());
  EXPECT_FALSE(Action->Update());
  EXPECT_EQ(Action->Executed.size(), 1u);
  EXPECT_EQ(Action->Updated.size(), 1u);
}

}  // namespace
