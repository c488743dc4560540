// Plain drag and drop on real windows: the events of source and target in order, the
// drop at the target's client point, refusal without a handler, Escape and a lost
// capture cancelling, a target ending the drag itself, and AutoSize asking
// CanAutoSize.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/classlib/UiTestSupport.h"

using namespace uitest;

namespace {

constexpr UINT WM_STEAL = WM_APP + 7;

// Notes the drag events of every control it is bound to.
class TDragLog : public TObject {
 public:
  void StartDrag(TObject* Sender, TDragObject*& Object) {
    Log.push_back(NameOf(Sender) + ":start");
    Started = Object;
  }
  void DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    static const char* const States[] = {"enter", "leave", "move"};
    Log.push_back(NameOf(Sender) + ":" + States[State] + " " + NameOf(Source));
    Last = TPoint{X, Y};
    Accept = Accepting;
    if (EndOnEnter && State == dsDragEnter) static_cast<TControl*>(Source)->EndDrag(false);
  }
  void DragDrop(TObject* Sender, TObject* Source, int X, int Y) {
    Log.push_back(NameOf(Sender) + ":drop " + NameOf(Source) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void EndDrag(TObject* Sender, TObject* Target, int X, int Y) {
    Log.push_back(NameOf(Sender) + ":end " + (Target ? NameOf(Target) : "nil") + " " + std::to_string(X) + "," +
                  std::to_string(Y));
  }
  static std::string NameOf(TObject* O) {
    auto* C = ObjectAs<TComponent>(O);
    return C ? C->Name() : "?";
  }
  std::vector<std::string> Log;
  TDragObject* Started = nullptr;
  TPoint Last{0, 0};
  bool Accepting = true;
  bool EndOnEnter = false;
};

// A window that takes the mouse capture when asked.
class TThief : public TCustomControl {
 public:
  explicit TThief(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_STEAL) {
      SetCapture(Handle());
      return;
    }
    TCustomControl::Dispatch(Message);
  }
};

class DragTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(400, 300);
    Events = Keep(NewObject<TDragLog>());
    Source = Add("Source", 10, 10);
    Target = Add("Target", 200, 100);
    Source->OnStartDrag = TStartDragEvent::Bind<&TDragLog::StartDrag>(Events);
    Source->OnEndDrag = TEndDragEvent::Bind<&TDragLog::EndDrag>(Events);
    Target->OnDragOver = TDragOverEvent::Bind<&TDragLog::DragOver>(Events);
    Target->OnDragDrop = TDragDropEvent::Bind<&TDragLog::DragDrop>(Events);
  }
  TProbe* Add(const char* Name, int Left, int Top) {
    auto* P = NewObject<TProbe>(Form);
    P->SetName(Name);
    P->SetParent(Form);
    P->SetBounds(Left, Top, 80, 40);
    return P;
  }
  // Input queued before the drag's loop runs, at a point of the form's client area.
  void Post(UINT Msg, int X, int Y) { PostMessageA(Form->Handle(), Msg, 0, MAKELPARAM(X, Y)); }

  TForm* Form = nullptr;
  TDragLog* Events = nullptr;
  TProbe* Source = nullptr;
  TProbe* Target = nullptr;
};

TEST_F(DragTest, ADropReachesTheTargetAtItsClientPointAndEndsAtTheSource) {
  Post(WM_MOUSEMOVE, 50, 200);  // over the form only
  Post(WM_MOUSEMOVE, 220, 110);
  Post(WM_MOUSEMOVE, 230, 115);
  Post(WM_LBUTTONUP, 230, 115);
  Source->BeginDrag(true);
  EXPECT_EQ(Events->Log, (std::vector<std::string>{"Source:start", "Target:enter Source", "Target:move Source",
                                                  "Target:move Source", "Target:move Source",
                                                  "Target:drop Source 30,15", "Source:end Target 30,15"}));
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(CurrentDrag(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragTest, ARefusingTargetOrEscapeEndsWithoutADrop) {
  Events->Accepting = false;
  Post(WM_MOUSEMOVE, 220, 110);
  Post(WM_LBUTTONUP, 220, 110);
  Source->BeginDrag(true);
  EXPECT_EQ(Events->Log.back(), "Source:end nil 210,100");
  EXPECT_EQ(std::count(Events->Log.begin(), Events->Log.end(), "Target:leave Source"), 1);

  Events->Log.clear();
  Events->Accepting = true;
  Post(WM_MOUSEMOVE, 220, 110);
  PostMessageA(Form->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
  Post(WM_LBUTTONUP, 220, 110);  // after the drag: an ordinary release
  Source->BeginDrag(true);
  ASSERT_GE(Events->Log.size(), 2u);
  EXPECT_EQ(Events->Log[Events->Log.size() - 2], "Target:leave Source");
  EXPECT_EQ(Events->Log.back().substr(0, 15), "Source:end nil ");

  // A control without a drag-over handler refuses.
  Events->Log.clear();
  Target->OnDragOver = nullptr;
  Post(WM_MOUSEMOVE, 220, 110);
  Post(WM_LBUTTONUP, 220, 110);
  Source->BeginDrag(true);
  EXPECT_EQ(Events->Log, (std::vector<std::string>{"Source:start", "Source:end nil 210,100"}));
}

TEST_F(DragTest, ALostCaptureCancelsAndATargetMayEndTheDragItself) {
  auto* Thief = NewObject<TThief>(Form);
  Thief->SetParent(Form);
  Thief->SetBounds(300, 10, 20, 20);
  Post(WM_MOUSEMOVE, 220, 110);
  PostMessageA(Thief->Handle(), WM_STEAL, 0, 0);
  Post(WM_MOUSEMOVE, 230, 110);
  Source->BeginDrag(true);
  EXPECT_EQ(Events->Log.back().substr(0, 15), "Source:end nil ");
  EXPECT_EQ(std::count(Events->Log.begin(), Events->Log.end(), "Target:move Source"), 1);
  ReleaseCapture();
  Pump();

  Events->Log.clear();
  Events->EndOnEnter = true;
  Post(WM_MOUSEMOVE, 220, 110);
  Post(WM_MOUSEMOVE, 225, 110);
  Source->BeginDrag(true);
  EXPECT_EQ(Events->Log, (std::vector<std::string>{"Source:start", "Target:enter Source", "Target:leave Source",
                                                  "Source:end nil 210,100"}));
  Pump();  // the second move is an ordinary one again
}

// A control whose content asks for 70 x 25.
class TSizedByContent : public TCustomControl {
 public:
  explicit TSizedByContent(TComponent* AOwner) : TCustomControl(AOwner) {}

 protected:
  bool CanAutoSize(int& NewWidth, int& NewHeight) override {
    NewWidth = 70;
    NewHeight = 25;
    return true;
  }
};

TEST_F(DragTest, AutoSizeTakesTheSizeCanAutoSizeProposes) {
  auto* C = NewObject<TSizedByContent>(Form);
  C->SetParent(Form);
  C->SetBounds(5, 5, 200, 100);
  EXPECT_EQ(C->Width(), 200);
  C->SetAutoSize(true);
  EXPECT_EQ(C->BoundsRect(), (TRect{5, 5, 75, 30}));
  // A plain control proposes nothing and keeps its size.
  Target->SetAutoSize(true);
  EXPECT_EQ(Target->Width(), 80);
}

}  // namespace
