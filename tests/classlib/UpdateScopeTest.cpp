// The update brackets: each closes however its scope ends, and a closing call that
// raises is reported only when nothing else is unwinding.
#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/StringLists.h"
#include "classlib/UpdateScope.h"
#include "classlib/SysTypes.h"

namespace {

struct TBracketed {
  int Depth = 0;
  int Ended = 0;
  bool RaiseOnEnd = false;
  void BeginUpdate() { ++Depth; }
  void EndUpdate() {
    --Depth;
    ++Ended;
    if (RaiseOnEnd) throw std::runtime_error("end");
  }
};

enum TTestState { tsIdle, tsBusy };

struct TChangeCounter {
  int Changes = 0;
  void Change(TObject*) { ++Changes; }
};

TEST(UpdateScopeTest, EndsTheUpdateHoweverTheBodyEnds) {
  TBracketed Object;
  {
    TUpdateScope Updating(Object);
    EXPECT_EQ(Object.Depth, 1);
  }
  EXPECT_EQ(Object.Depth, 0);
  EXPECT_THROW(
      {
        TUpdateScope Updating(&Object);
        TUpdateScope Nested(&Object);
        EXPECT_EQ(Object.Depth, 2);
        throw std::runtime_error("body");
      },
      std::runtime_error);
  EXPECT_EQ(Object.Depth, 0);
  EXPECT_EQ(Object.Ended, 3);

  TBracketed* Nobody = nullptr;
  { TUpdateScope Updating(Nobody); }  // a null object brackets nothing
}

TEST(UpdateScopeTest, AClosingFailureLeavesOnlyWhenNothingElseUnwinds) {
  TBracketed Object;
  Object.RaiseOnEnd = true;
  try {
    TUpdateScope Updating(Object);
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "end");
  }
  EXPECT_EQ(Object.Ended, 1);
  try {
    TUpdateScope Updating(Object);
    throw std::logic_error("body");
  } catch (const std::logic_error& E) {
    EXPECT_STREQ(E.what(), "body") << "the body's exception goes on";
  }
  EXPECT_EQ(Object.Ended, 2);
  EXPECT_EQ(Object.Depth, 0);
  int Enabled = 0;
  EXPECT_THROW(
      {
        auto Enable = AtScopeEnd([&] {
          ++Enabled;
          throw std::runtime_error("end");
        });
      },
      std::runtime_error);
  EXPECT_EQ(Enabled, 1);
}

TEST(UpdateScopeTest, AStringListNotifiesOnceAfterItsBracketEvenWhenTheBodyRaises) {
  TOwned<TStringList> List(NewObject<TStringList>());
  TChangeCounter Counter;
  List->OnChange = TNotifyEvent::Bind<&TChangeCounter::Change>(&Counter);
  EXPECT_THROW(
      {
        TUpdateScope Updating(List.get());
        List->Add("a");
        List->Add("b");
        List->Delete(5);  // raises
      },
      EListError);
  EXPECT_EQ(Counter.Changes, 1) << "the batch ends and reports once";
  List->Add("c");
  EXPECT_EQ(Counter.Changes, 2) << "no update is left open";
}

TEST(UpdateScopeTest, FlagsStatesCountsAndValuesComeBackWhenTheBodyRaises) {
  bool Busy = false;
  TSet<TTestState> States;
  int Nesting = 3;
  int Value = 7;
  EXPECT_THROW(
      {
        TFlagScope Flag(Busy);
        TStateScope State(States, tsBusy);
        TCountScope Count(Nesting);
        TValueScope<int> Temporary(Value, 42);
        EXPECT_TRUE(Busy);
        EXPECT_TRUE(States.Contains(tsBusy));
        EXPECT_EQ(Nesting, 4);
        EXPECT_EQ(Value, 42);
        throw std::runtime_error("body");
      },
      std::runtime_error);
  EXPECT_FALSE(Busy);
  EXPECT_FALSE(States.Contains(tsBusy));
  EXPECT_EQ(Nesting, 3);
  EXPECT_EQ(Value, 7);
}

}  // namespace
