// Tabs and pages kept one to one on every path that changes either of them: the
// caption list's edits, reorderings and assignment, a sheet's own caption, sheets
// attached, moved and freed by code, and form files. A page goes only with its tab, and
// the controls on a page go only with their page.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "classlib/Classes_Streaming.h"
#include "classlib/Exceptions.h"
#include "classlib/ScopeExit.h"
#include "classlib/StdCtrls.h"
#include "classlib/Streams.h"
#include "classlib/StrUtils.h"
#include "classlib/UpdateScope.h"
#include "skin/KsTabs.h"
#include "tests/skin/KitUiSupport.h"

using namespace kittest;

namespace {

// Hears of every component its owner gains and loses, that is, of every one made and
// freed. A component is known by a number it gets when it comes, which no later one
// takes: one made where a freed one was never reads as freed.
class TFreeLog : public TComponent {
 public:
  using TComponent::TComponent;
  using TId = unsigned long long;
  // The number of a live component.
  TId Id(const TComponent* C) {
    const auto [It, Added] = Live.try_emplace(C, Next);
    if (Added) ++Next;
    return It->second;
  }
  bool WasFreed(TId Which) const { return Gone.count(Which) > 0; }
  // Whether the component last heard of at C's address was freed.
  bool WasFreed(const TComponent* C) const { return FreedAt.count(C) > 0; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opInsert) {
      Live[AComponent] = Next++;
      FreedAt.erase(AComponent);
    } else {
      Gone.insert(Id(AComponent));
      Live.erase(AComponent);
      FreedAt.insert(AComponent);
    }
  }

 private:
  std::map<const TComponent*, TId> Live;
  std::set<TId> Gone;
  std::set<const TComponent*> FreedAt;
  TId Next = 1;
};

AnsiString TabsText(const TKsCustomTabControl* T) {
  AnsiString Result;
  for (int I = 0; I < T->Tabs()->Count(); ++I)
    Result += (I ? "," : "") + T->Tabs()->Strings(I);
  return Result;
}

AnsiString PagesText(const TKsCustomTabControl* T) {
  AnsiString Result;
  for (int I = 0; I < T->PageCount(); ++I)
    Result += (I ? "," : "") + T->GetPage(I)->Caption();
  return Result;
}

// Tabs and pages one to one, each page captioned as its tab and a page of this control,
// the selected tab's page the one shown.
::testing::AssertionResult InStep(const TKsCustomTabControl* T) {
  const int Count = T->Tabs()->Count();
  if (T->PageCount() != Count)
    return ::testing::AssertionFailure()
           << "tabs [" << TabsText(T) << "], pages [" << PagesText(T) << "]";
  for (int I = 0; I < Count; ++I) {
    TKsCustomTabSheet* Page = T->GetPage(I);
    if (Page->Caption() != T->Tabs()->Strings(I) || Page->TabControl() != T ||
        Page->PageIndex() != I || Page->Parent() != T)
      return ::testing::AssertionFailure() << "page " << I << " of tabs [" << TabsText(T)
                                           << "], pages [" << PagesText(T) << "]";
    if (Page->Visible() != (Page == T->ActivePage()))
      return ::testing::AssertionFailure() << "page " << I << " shown: " << Page->Visible();
  }
  if (Count == 0 ? T->TabIndex() != -1 || T->ActivePage()
                 : T->TabIndex() < 0 || T->ActivePage() != T->GetPage(T->TabIndex()))
    return ::testing::AssertionFailure()
           << "tab " << T->TabIndex() << " selected over [" << PagesText(T) << "]";
  return ::testing::AssertionSuccess();
}

class KsTabsPagesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Form = ShownForm(640, 400);
    Form->SetName("frmPages");
    Freed = NewObject<TFreeLog>(Form);
  }
  TKsCustomTabControl* NewTabs(std::initializer_list<const char*> Captions, int Left = 8) {
    auto* T = NewObject<TKsCustomTabControl>(Form);
    T->SetName("tabs" + std::to_string(++Made));
    T->SetParent(Form);
    T->SetBounds(Left, 8, 300, 180);
    T->SetUsePages(true);
    for (const char* Caption : Captions) T->Tabs()->Add(Caption);
    return T;
  }
  TKsCustomTabSheet* NewSheet(const AnsiString& Caption, TComponent* Owner = nullptr) {
    auto* Sheet = NewObject<TKsCustomTabSheet>(Owner ? Owner : Form);
    Sheet->SetCaption(Caption);
    return Sheet;
  }
  // A named check box on the page, so that form files keep it.
  TCheckBox* PutBox(TWinControl* Page) {
    auto* Box = NewObject<TCheckBox>(Form);
    Box->SetName("chk" + std::to_string(++Made));
    Box->SetParent(Page);
    return Box;
  }
  // Nothing reported while the control paints.
  ::testing::AssertionResult PaintsCleanly(TKsCustomTabControl* T) {
    T->Invalidate();
    PaintNow(T);
    if (Log->Messages.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Log->Messages.front();
  }
  TForm* Form = nullptr;
  TFreeLog* Freed = nullptr;
  int Made = 0;
};

TEST_F(KsTabsPagesTest, TabsAndPagesStayOneToOneOnEveryPathAndAPageGoesOnlyWithItsTab) {
  {
    SCOPED_TRACE("an empty caption gets a page of its own, and no second tab");
    TKsCustomTabControl* T = NewTabs({"A"});
    T->Tabs()->Add("");
    EXPECT_EQ(TabsText(T), "A,");
    EXPECT_TRUE(InStep(T));
    EXPECT_THROW(T->Tabs()->Add(""), Exception);
    EXPECT_EQ(T->PageCount(), 2);
  }
  {
    SCOPED_TRACE("captioned sheets attached by code get their tabs at their page index");
    TKsCustomTabControl* T = NewTabs({"A", "B"});
    TKsCustomTabSheet* Options = NewSheet("Options");
    TCheckBox* OnOptions = PutBox(Options);
    T->InsertPage(1, Options);
    EXPECT_EQ(TabsText(T), "A,Options,B");
    EXPECT_TRUE(InStep(T));
    TKsCustomTabSheet* More = NewSheet("More");
    More->SetTabControl(T);
    EXPECT_EQ(TabsText(T), "A,Options,B,More");
    EXPECT_TRUE(InStep(T));
    T->Tabs()->Add("C");
    ASSERT_TRUE(InStep(T));
    TKsCustomTabSheet* C = T->ActivePage();
    EXPECT_EQ(C->Caption(), "C");
    T->Tabs()->Delete(4);
    EXPECT_TRUE(Freed->WasFreed(C));
    EXPECT_FALSE(Freed->WasFreed(Options));
    EXPECT_FALSE(Freed->WasFreed(OnOptions));
    EXPECT_EQ(OnOptions->Parent(), Options);
    EXPECT_TRUE(InStep(T));
    // A caption a tab holds already (in any case) is refused, and the sheet stays out.
    TKsCustomTabSheet* Twin = NewSheet("a");
    EXPECT_THROW(T->InsertPage(0, Twin), Exception);
    EXPECT_THROW(Twin->SetTabControl(T), Exception);
    EXPECT_EQ(Twin->TabControl(), nullptr);
    EXPECT_EQ(TabsText(T), "A,Options,B,More");
    EXPECT_TRUE(InStep(T));
    // A sheet makes a control of pages: its tabs get theirs, its other children stay.
    auto* Plain = NewObject<TKsCustomTabControl>(Form);
    Plain->SetParent(Form);
    Plain->Tabs()->Add("X");
    TCheckBox* OnPlain = PutBox(Plain);
    Plain->InsertPage(0, NewSheet("S"));
    EXPECT_TRUE(Plain->UsePages());
    EXPECT_EQ(TabsText(Plain), "S,X");
    EXPECT_TRUE(InStep(Plain));
    EXPECT_FALSE(Freed->WasFreed(OnPlain));
  }
  {
    SCOPED_TRACE("a sheet's own caption renames its tab");
    TKsCustomTabControl* T = NewTabs({"A", "B", "C"});
    TKsCustomTabSheet* B = T->GetPage(1);
    TCheckBox* OnB = PutBox(B);
    B->SetCaption("Renamed");
    EXPECT_EQ(TabsText(T), "A,Renamed,C");
    T->Tabs()->Delete(2);
    EXPECT_EQ(PagesText(T), "A,Renamed");
    EXPECT_FALSE(Freed->WasFreed(B));
    EXPECT_FALSE(Freed->WasFreed(OnB));
    EXPECT_TRUE(InStep(T));
    // Another tab's caption is refused as the list refuses it; its own in another case is
    // not.
    EXPECT_THROW(B->SetCaption("a"), Exception);
    EXPECT_EQ(B->Caption(), "Renamed");
    B->SetCaption("RENAMED");
    EXPECT_EQ(TabsText(T), "A,RENAMED");
    EXPECT_TRUE(InStep(T));
    // Inside a batch of changes to the list, the sheet's own tab takes the caption.
    TKsCustomTabSheet* A = T->GetPage(0);
    T->Tabs()->BeginUpdate();
    T->Tabs()->Insert(0, "Z");
    A->SetCaption("Q");
    T->Tabs()->EndUpdate();
    EXPECT_EQ(TabsText(T), "Z,Q,RENAMED");
    EXPECT_TRUE(InStep(T));
    EXPECT_FALSE(Freed->WasFreed(A));
    // A sorted list puts the new caption where it sorts, and the page goes with it.
    T->Tabs()->SetSorted(true);
    A->SetCaption("Zz");
    EXPECT_EQ(TabsText(T), "RENAMED,Z,Zz");
    EXPECT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(2), A);
    T->Tabs()->Delete(0);
    EXPECT_FALSE(Freed->WasFreed(A));
    EXPECT_TRUE(InStep(T));
    // A sorted list keeps its order, by which it finds a caption: an exchange is refused
    // as a move is, and a sheet freed takes its tab.
    EXPECT_THROW(T->Tabs()->Exchange(0, 1), Exception);
    EXPECT_EQ(TabsText(T), "Z,Zz");
    A->Free();
    EXPECT_EQ(TabsText(T), "Z");
    EXPECT_TRUE(InStep(T));
  }
  {
    SCOPED_TRACE("a sheet moved to another control takes its tab with it");
    TKsCustomTabControl* Source = NewTabs({"A", "B"});
    TKsCustomTabControl* Empty = NewTabs({}, 320);
    TKsCustomTabSheet* A = Source->GetPage(0);
    TCheckBox* OnA = PutBox(A);
    A->SetTabControl(Empty);
    EXPECT_EQ(TabsText(Source), "B");
    EXPECT_TRUE(InStep(Source));
    EXPECT_EQ(TabsText(Empty), "A");
    EXPECT_TRUE(InStep(Empty));
    EXPECT_EQ(OnA->Parent(), A);
    EXPECT_TRUE(PaintsCleanly(Empty));

    TKsCustomTabControl* Other = NewTabs({"X"}, 320);
    TKsCustomTabSheet* B = Source->GetPage(0);
    B->SetTabControl(Other);
    EXPECT_EQ(TabsText(Other), "X,B");
    Other->Tabs()->Add("Y");
    Other->Tabs()->Delete(2);
    EXPECT_FALSE(Freed->WasFreed(B));
    EXPECT_EQ(TabsText(Other), "X,B");
    EXPECT_TRUE(InStep(Other));
    EXPECT_TRUE(InStep(Source));
    // A target that has the caption already (in any case) refuses the sheet, which
    // stays where it was.
    B->SetCaption("a");
    EXPECT_THROW(B->SetTabControl(Empty), Exception);
    EXPECT_EQ(B->TabControl(), Other);
    EXPECT_EQ(TabsText(Other), "X,a");
    EXPECT_EQ(TabsText(Empty), "A");
    EXPECT_TRUE(InStep(Other));
    EXPECT_TRUE(InStep(Empty));
    // Put on another tab control as parent, the sheet moves there with its tab; put on
    // any other parent, it leaves its control with its tab.
    B->SetCaption("Bee");
    B->SetParent(Empty);
    EXPECT_EQ(TabsText(Other), "X");
    EXPECT_EQ(TabsText(Empty), "A,Bee");
    EXPECT_TRUE(InStep(Empty));
    B->SetParent(Form);
    EXPECT_EQ(TabsText(Empty), "A");
    EXPECT_TRUE(InStep(Empty));
    EXPECT_EQ(B->TabControl(), nullptr);
    B->SetTabControl(Other);
    EXPECT_EQ(TabsText(Other), "X,Bee");
    EXPECT_EQ(B->Parent(), Other);
    // Taken out of every control, the sheet leaves the window of its last one.
    B->SetTabControl(nullptr);
    EXPECT_EQ(B->Parent(), nullptr);
    EXPECT_FALSE(B->Visible());
    EXPECT_EQ(TabsText(Other), "X");
    EXPECT_TRUE(InStep(Other));
  }
  {
    SCOPED_TRACE("a move refused leaves the sheets, the pages and their windows as they were");
    TKsCustomTabControl* T = NewTabs({"A", "B", "C"});
    TKsCustomTabControl* Other = NewTabs({"X"}, 320);
    TKsCustomTabSheet* B = T->GetPage(1);
    T->SetTabIndex(1);
    auto* Large = NewObject<TPanel>(Form);
    Large->SetParent(Form);
    for (TControl* Target : std::initializer_list<TControl*>{Large, Other}) Target->Font()->SetHeight(2000);
    auto* Refuser = NewObject<TFontRefuser>(Form);  // on B and on Loose: neither takes a 2000 px font
    Refuser->SetParent(B);
    TKsCustomTabSheet* Loose = NewSheet("L");
    Loose->SetParent(Form);
    NewObject<TFontRefuser>(Form)->SetParent(Loose);
    auto* Inside = NewObject<TKsCustomTabControl>(Form);  // no sheet goes inside itself
    Inside->SetParent(B);
    TOwned<TKsCustomTabSheet> Named(NewObject<TKsCustomTabSheet>(nullptr));  // T's owner has its name
    Named->SetName(T->Name());
    auto State = [&] {
      int Place = 0;
      while (T->Controls(Place) != B) ++Place;
      return std::make_tuple(TabsText(T) + "|" + PagesText(T) + "|" + TabsText(Other) + "|" + PagesText(Other),
                             T->ActivePage(), Place, B->Handle(), Refuser->Handle(), B->Font()->Height(),
                             Loose->Parent(), Loose->Name(), Loose->Handle(), Inside->PageCount(),
                             Named->TabControl());
    };
    const auto Before = State();
    const std::vector<std::function<void()>> Moves = {
        [&] { B->SetParent(Large); },           [&] { B->SetParent(Other); },
        [&] { B->SetTabControl(Other); },       [&] { Other->InsertPage(0, B); },
        [&] { Other->InsertPage(0, Loose); },   [&] { Inside->InsertPage(0, B); },
        [&] { T->InsertPage(0, Named.get()); }};
    for (std::size_t Way = 0; Way < Moves.size(); ++Way) {
      EXPECT_THROW(Moves[Way](), Exception) << Way;
      EXPECT_TRUE(State() == Before) << Way;
    }
    // Once the font is one it holds, the sheet goes and comes back to its place.
    Other->SetParentFont(true);
    B->SetParent(Other);
    EXPECT_EQ(TabsText(Other), "X,B");
    EXPECT_TRUE(InStep(Other));
    T->InsertPage(1, B);
    EXPECT_EQ(TabsText(T), "A,B,C");
    EXPECT_TRUE(InStep(T));
    EXPECT_EQ(Refuser->Parent(), B);
  }
  {
    SCOPED_TRACE("sorting, exchanging and moving tabs carry their pages");
    TKsCustomTabControl* T = NewTabs({"C", "A", "B"});
    std::map<AnsiString, TKsCustomTabSheet*> Sheets;
    for (int I = 0; I < 3; ++I) Sheets[T->GetPage(I)->Caption()] = T->GetPage(I);
    TCheckBox* OnC = PutBox(Sheets["C"]);
    T->Tabs()->Sort();
    EXPECT_EQ(PagesText(T), "A,B,C");
    EXPECT_TRUE(InStep(T));
    T->Tabs()->Exchange(0, 2);
    EXPECT_EQ(PagesText(T), "C,B,A");
    EXPECT_TRUE(InStep(T));
    T->Tabs()->Move(0, 2);
    EXPECT_EQ(PagesText(T), "B,A,C");
    EXPECT_TRUE(InStep(T));
    for (const auto& [Caption, Sheet] : Sheets)
      EXPECT_FALSE(Freed->WasFreed(Sheet)) << Caption;
    EXPECT_EQ(OnC->Parent(), Sheets["C"]);
  }
  {
    SCOPED_TRACE("an assigned list keeps the pages of the captions it keeps");
    TKsCustomTabControl* T = NewTabs({"A", "B", "C"});
    TKsCustomTabSheet *A = T->GetPage(0), *B = T->GetPage(1), *C = T->GetPage(2);
    TCheckBox* OnB = PutBox(B);
    TCheckBox* OnC = PutBox(C);
    TOwned<TStringList> Twins(NewObject<TStringList>());
    Twins->Add("A");
    Twins->Add("a");
    EXPECT_THROW(T->Tabs()->Assign(Twins.get()), Exception);
    EXPECT_THROW(T->Tabs()->SetText("C\r\nX\r\nx\r\n"), Exception);
    // A form file's reading compares without case: so does the list, whatever it is told.
    T->Tabs()->SetCaseSensitive(true);
    EXPECT_THROW(T->Tabs()->Add("b"), Exception);
    EXPECT_EQ(TabsText(T), "A,B,C");
    EXPECT_TRUE(InStep(T));
    EXPECT_FALSE(Freed->WasFreed(OnB));
    TOwned<TStringList> Other(NewObject<TStringList>());
    for (const char* S : {"B", "X", "A"}) Other->Add(S);
    T->Tabs()->Assign(Other.get());
    EXPECT_EQ(TabsText(T), "B,X,A");
    EXPECT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(0), B);
    EXPECT_EQ(T->GetPage(2), A);
    EXPECT_EQ(OnB->Parent(), B);
    EXPECT_TRUE(Freed->WasFreed(C));
    EXPECT_TRUE(Freed->WasFreed(OnC));
    EXPECT_FALSE(Freed->WasFreed(OnB));
  }
}

// Inside a batch of changes to the captions the pages keep their places until the
// batch ends; each then stays with its own tab, whatever its caption or index became.
TEST_F(KsTabsPagesTest, ABatchOfTabChangesKeepsEachPageWithItsOwnTab) {
  // After the batch: B's page and box stand first under Tabs; A's are freed.
  const auto KeptBFreedA = [&](TKsCustomTabControl* T, const char* Tabs, TKsCustomTabSheet* A,
                               TKsCustomTabSheet* B, TCheckBox* OnA, TCheckBox* OnB) {
    EXPECT_EQ(TabsText(T), Tabs);
    ASSERT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(0), B);
    EXPECT_EQ(OnB->Parent(), B);
    EXPECT_FALSE(Freed->WasFreed(OnB));
    EXPECT_TRUE(Freed->WasFreed(A));
    EXPECT_TRUE(Freed->WasFreed(OnA));
  };
  {
    SCOPED_TRACE("a tab deleted and the next one renamed to its caption");
    TKsCustomTabControl* T = NewTabs({"A", "B", "C"});
    TKsCustomTabSheet *A = T->GetPage(0), *B = T->GetPage(1);
    TCheckBox* OnA = PutBox(A);
    TCheckBox* OnB = PutBox(B);
    {
      const TUpdateScope Batch(T->Tabs());
      T->Tabs()->Delete(0);
      T->Tabs()->Put(0, "A");
      EXPECT_EQ(B->Caption(), "A");
    }
    KeptBFreedA(T, "A,C", A, B, OnA, OnB);
  }
  {
    SCOPED_TRACE("the page of a tab deleted in the batch renamed to another tab's caption");
    TKsCustomTabControl* T = NewTabs({"A", "B", "C"}, 320);
    TKsCustomTabSheet *A = T->GetPage(0), *B = T->GetPage(1);
    TCheckBox* OnA = PutBox(A);
    TCheckBox* OnB = PutBox(B);
    {
      const TUpdateScope Batch(T->Tabs());
      T->Tabs()->Delete(0);
      ASSERT_EQ(T->GetPage(0), A);
      EXPECT_THROW(A->SetCaption("B"), Exception);
      EXPECT_EQ(A->Caption(), "A");
    }
    KeptBFreedA(T, "B,C", A, B, OnA, OnB);
  }
  {
    SCOPED_TRACE("objects put with the captions stay theirs, freed once by an owning list");
    TKsCustomTabControl* T = NewTabs({});
    auto* X = NewObject<TComponent>(Form);
    auto* Y = NewObject<TComponent>(Form);
    T->Tabs()->AddObject("X", X);
    T->Tabs()->AddObject("Y", Y);
    {
      const TUpdateScope Batch(T->Tabs());
      T->Tabs()->Exchange(0, 1);
      T->Tabs()->Sort();
    }
    EXPECT_EQ(T->Tabs()->Objects(0), X);
    EXPECT_EQ(T->Tabs()->IndexOfObject(Y), 1);
    ASSERT_TRUE(InStep(T));
    T->Tabs()->SetOwnsObjects(true);
    T->Tabs()->Delete(0);
    EXPECT_TRUE(Freed->WasFreed(X));
    EXPECT_FALSE(Freed->WasFreed(Y));
    T->Free();
    EXPECT_TRUE(Freed->WasFreed(Y));
  }
}

TEST_F(KsTabsPagesTest, EveryWholeReplacementOfTheCaptionsIsRefusedWholeOrCarriesThePages) {
  TKsCustomTabControl* T = NewTabs({"A", "B", "C"});
  TKsCustomTabSheet *A = T->GetPage(0), *B = T->GetPage(1), *C = T->GetPage(2);
  TCheckBox* OnA = PutBox(A);
  TCheckBox* OnB = PutBox(B);
  TCheckBox* OnC = PutBox(C);
  // Every refusal leaves the captions, the pages and the controls on them as they were.
  auto Unchanged = [&]() -> ::testing::AssertionResult {
    if (TabsText(T) != "A,B,C") return ::testing::AssertionFailure() << "tabs [" << TabsText(T) << "]";
    if (T->GetPage(0) != A || T->GetPage(1) != B || T->GetPage(2) != C)
      return ::testing::AssertionFailure() << "pages [" << PagesText(T) << "]";
    for (const TComponent* Each : {static_cast<TComponent*>(OnA), static_cast<TComponent*>(OnB),
                                   static_cast<TComponent*>(OnC)})
      if (Freed->WasFreed(Each)) return ::testing::AssertionFailure() << "a control was freed";
    return InStep(T);
  };
  {
    SCOPED_TRACE("a caption twice, part-way through, refuses the whole replacement");
    EXPECT_THROW(T->Tabs()->SetCommaText("X,B,x"), Exception);
    EXPECT_TRUE(Unchanged());
    T->Tabs()->SetDelimiter(';');
    T->Tabs()->SetStrictDelimiter(true);
    EXPECT_THROW(T->Tabs()->SetDelimitedText("C;Y Z;c"), Exception);
    EXPECT_TRUE(Unchanged());
    TStringStream Stream("B\r\nQ\r\nq\r\n");
    EXPECT_THROW(T->Tabs()->LoadFromStream(&Stream), Exception);
    EXPECT_TRUE(Unchanged());
    // Added strings: a caption twice among them, or one a tab has already.
    TOwned<TStringList> More(NewObject<TStringList>());
    for (const char* S : {"D", "E", "d"}) More->Add(S);
    EXPECT_THROW(T->Tabs()->AddStrings(More.get()), Exception);
    EXPECT_TRUE(Unchanged());
    More->Delete(2);
    More->Add("b");
    EXPECT_THROW(T->Tabs()->AddStrings(More.get()), Exception);
    EXPECT_TRUE(Unchanged());
  }
  {
    SCOPED_TRACE("a good replacement keeps the pages of the captions it keeps");
    T->Tabs()->SetDelimitedText("C;Y Z;A");
    EXPECT_EQ(TabsText(T), "C,Y Z,A");
    ASSERT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(0), C);
    EXPECT_EQ(T->GetPage(2), A);
    EXPECT_TRUE(Freed->WasFreed(B));
    EXPECT_TRUE(Freed->WasFreed(OnB));
    T->Tabs()->SetCommaText("A,\"New, one\",C");
    EXPECT_EQ(TabsText(T), "A,New, one,C");
    ASSERT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(0), A);
    EXPECT_EQ(T->GetPage(2), C);
    TStringStream Stream("C\r\nA\r\n");
    T->Tabs()->LoadFromStream(&Stream);
    EXPECT_EQ(TabsText(T), "C,A");
    ASSERT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(0), C);
    TOwned<TStringList> More(NewObject<TStringList>());
    for (const char* S : {"D", "E"}) More->Add(S);
    T->Tabs()->AddStrings(More.get());
    EXPECT_EQ(TabsText(T), "C,A,D,E");
    ASSERT_TRUE(InStep(T));
    EXPECT_EQ(T->GetPage(1), A);
    EXPECT_FALSE(Freed->WasFreed(OnA));
    EXPECT_FALSE(Freed->WasFreed(OnC));
    EXPECT_EQ(OnA->Parent(), A);
    EXPECT_EQ(OnC->Parent(), C);
  }
}

TEST_F(KsTabsPagesTest, AFormFileHoldsEveryPageAndTheControlsOnIt) {
  TKsCustomTabControl* T = NewTabs({"A", "B", ""});
  TCheckBox* OnB = PutBox(T->GetPage(1));
  PutBox(T->GetPage(2));
  TKsCustomTabSheet* Attached = NewSheet("");
  T->InsertPage(3, Attached);
  PutBox(Attached);
  // A sheet nobody owned is written with its controls as well.
  TOwned<TKsCustomTabSheet> Loose(NewObject<TKsCustomTabSheet>(nullptr));
  Loose->SetCaption("Loose");
  T->InsertPage(4, Loose.get());
  PutBox(Loose.release());
  T->SetTabIndex(1);
  // A control kept on the tab control when a sheet turned its pages on.
  auto* Plain = NewObject<TKsCustomTabControl>(Form);
  Plain->SetName("tabPlain");
  Plain->SetParent(Form);
  TCheckBox* OnPlain = PutBox(Plain);
  Plain->InsertPage(0, NewSheet("S"));
  const AnsiString Text = WriteComponentText(Form);
  EXPECT_NE(Text.find(OnB->Name()), AnsiString::npos) << Text;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Again = ObjectAs<TKsCustomTabControl>(Copy->FindComponent(T->Name()));
  ASSERT_NE(Again, nullptr);
  EXPECT_EQ(TabsText(Again), TabsText(T));
  ASSERT_TRUE(InStep(Again));
  EXPECT_EQ(Again->TabIndex(), 1);
  for (int I = 0; I < T->PageCount(); ++I)
    EXPECT_EQ(Again->GetPage(I)->ControlCount(), T->GetPage(I)->ControlCount()) << I;
  auto* BoxAgain = ObjectAs<TCheckBox>(Copy->FindComponent(OnB->Name()));
  ASSERT_NE(BoxAgain, nullptr);
  EXPECT_EQ(BoxAgain->Parent(), Again->GetPage(1));
  auto* PlainAgain = ObjectAs<TKsCustomTabControl>(Copy->FindComponent("tabPlain"));
  ASSERT_NE(PlainAgain, nullptr);
  EXPECT_TRUE(InStep(PlainAgain));
  auto* OnPlainAgain = ObjectAs<TCheckBox>(Copy->FindComponent(OnPlain->Name()));
  ASSERT_NE(OnPlainAgain, nullptr) << Text;
  EXPECT_EQ(OnPlainAgain->Parent(), PlainAgain);

  // A file with tabs and fewer sheets: every tab gets its page, a sheet whose caption no
  // tab has gets its tab after the sheet read before it, and a second sheet of one
  // caption is refused.
  TOwned<TForm> Sparse(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Sparse.get(),
                    "form frmSparse: TForm\n"
                    "  component tabSparse: TKsCustomTabControl\n"
                    "    UsePages = True\n"
                    "    Tabs = lines\n"
                    "      \"One\"\n"
                    "      \"Two\"\n"
                    "    end\n"
                    "    TabIndex = 1\n"
                    "    component shtTwo: TKsCustomTabSheet\n"
                    "      Caption = \"Two\"\n"
                    "    end\n"
                    "    component shtExtra: TKsCustomTabSheet\n"
                    "      Caption = \"Extra\"\n"
                    "    end\n"
                    "  end\n"
                    "end\n",
                    "sparse");
  auto* Read = ObjectAs<TKsCustomTabControl>(Sparse->FindComponent("tabSparse"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(TabsText(Read), "One,Two,Extra");
  EXPECT_TRUE(InStep(Read));
  EXPECT_EQ(Read->ActivePage(), Sparse->FindComponent("shtTwo"));
  TOwned<TForm> Twins(NewObject<TForm>(nullptr, CreateNew));
  EXPECT_THROW(ReadComponentText(Twins.get(),
                                 "form frmTwins: TForm\n"
                                 "  component tabTwins: TKsCustomTabControl\n"
                                 "    UsePages = True\n"
                                 "    component shtOne: TKsCustomTabSheet\n"
                                 "      Caption = \"One\"\n"
                                 "    end\n"
                                 "    component shtAgain: TKsCustomTabSheet\n"
                                 "      Caption = \"ONE\"\n"
                                 "    end\n"
                                 "  end\n"
                                 "end\n",
                                 "twins"),
               EFormFileError);
}

// A seeded run of random edits on two controls with pages. After every step the tabs
// and pages of both are one to one, the sheets freed are exactly those the step frees
// (a deleted tab's, an assignment's dropped captions', a sheet freed by code), a refused
// edit changes no caption, and a control goes only with the page it was put on.
TEST_F(KsTabsPagesTest, ARandomRunOfEditsKeepsTabsAndPagesOneToOne) {
  std::mt19937 Random(20261207);
  auto Pick = [&](int N) {
    return N <= 0 ? 0 : static_cast<int>(Random() % static_cast<unsigned>(N));
  };
  const char* const Pool[] = {"", "A", "a", "B", "b", "Cc", "CC", "D", "Ee", "F", "G"};
  auto Caption = [&] { return AnsiString(Pool[Pick(static_cast<int>(std::size(Pool)))]); };
  TKsCustomTabControl* const Both[2] = {NewTabs({"A", "B"}), NewTabs({}, 320)};
  auto* Large = NewObject<TPanel>(Form);
  Large->SetName("pnlLarge");
  Large->SetParent(Form);
  Large->Font()->SetHeight(2000);
  // Every live box, by its number, with the page it is on and the page's number.
  struct TBoxOn {
    TCheckBox* Box;
    TKsCustomTabSheet* Page;
    TFreeLog::TId PageId;
  };
  std::map<TFreeLog::TId, TBoxOn> Boxes;
  auto BoxOn = [&](TKsCustomTabSheet* Page) {
    TCheckBox* Box = PutBox(Page);
    Boxes[Freed->Id(Box)] = {Box, Page, Freed->Id(Page)};
  };

  TKsCustomTabControl* T = nullptr;      // the control a step edits
  TKsCustomTabControl* Other = nullptr;  // the other one
  std::set<const TComponent*> Goes;      // the sheets the step frees
  auto Count = [&] { return T->Tabs()->Count(); };
  auto AnyIndex = [&] { return Pick(Count()); };
  auto RoundTrip = [&] {
    TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
    ReadComponentText(Copy.get(), WriteComponentText(Form), "copy");
    for (TKsCustomTabControl* Original : Both) {
      auto* Again = ObjectAs<TKsCustomTabControl>(Copy->FindComponent(Original->Name()));
      ASSERT_NE(Again, nullptr);
      EXPECT_EQ(TabsText(Again), TabsText(Original));
      EXPECT_TRUE(InStep(Again));
      EXPECT_EQ(Again->TabIndex(), Original->TabIndex());
      for (int I = 0; I < Original->PageCount() && I < Again->PageCount(); ++I)
        EXPECT_EQ(Again->GetPage(I)->ControlCount(), Original->GetPage(I)->ControlCount());
    }
  };
  // Replaces the captions with up to four random ones; the pages of the captions that
  // go are expected to go with them (a refused list frees nothing and changes nothing).
  auto ReplaceAll = [&](const std::function<void(TStringList*)>& Replace) {
    TOwned<TStringList> List(NewObject<TStringList>());
    for (int N = Pick(5); N > 0; --N) List->Add(Caption());
    std::set<const TComponent*> Dropped;
    for (int I = 0; I < Count(); ++I)
      if (List->IndexOf(T->Tabs()->Strings(I)) < 0) Dropped.insert(T->GetPage(I));
    Replace(List.get());
    Goes = Dropped;
  };
  // What the captions of T are expected to be, by caption without case: the caption and
  // its page (none for a tab that gets a new one when the pages come into step).
  struct TExpected {
    AnsiString Caption;
    TFreeLog::TId Page;  // 0 for none
  };
  std::map<AnsiString, TExpected> Model;
  auto Key = [](const AnsiString& S) { return AnsiUpperCase(S); };
  auto Added = [&](const AnsiString& S) { Model[Key(S)] = {S, 0}; };
  auto Replaced = [&](const TStringList* List) {
    std::map<AnsiString, TExpected> Now;
    for (int I = 0; I < List->Count(); ++I) {
      const auto Kept = Model.find(Key(List->Strings(I)));
      Now[Key(List->Strings(I))] = {List->Strings(I),
                                    Kept == Model.end() ? 0 : Kept->second.Page};
    }
    Model = std::move(Now);
  };
  auto RandomList = [&](int Most) {
    auto* List = NewObject<TStringList>();
    for (int N = Pick(Most + 1); N > 0; --N) List->Add(Caption());
    return TOwned<TStringList>(List);
  };
  TOwned<TObject> Marker(NewObject<TObject>());
  // Every change the caption list offers, and pages renamed by code, each kept in the
  // model when it is not refused (a refused one changes no caption).
  const std::vector<std::function<void()>> ListChanges = {
      [&] {
        const AnsiString S = Caption();
        Pick(2) ? void(T->Tabs()->Add(S)) : void(T->Tabs()->AddObject(S, Marker.get()));
        Added(S);
      },
      [&] {
        const AnsiString S = Caption();
        T->Tabs()->Insert(Pick(Count() + 1), S);
        Added(S);
      },
      [&] {
        if (Count() == 0) return;
        const int I = AnyIndex();
        const AnsiString S = T->Tabs()->Strings(I);
        T->Tabs()->Delete(I);
        Model.erase(Key(S));
      },
      [&] {
        if (Count() == 0) return;
        const int I = AnyIndex();
        const AnsiString Old = T->Tabs()->Strings(I), S = Caption();
        T->Tabs()->Put(I, S);
        const TExpected Was = Model[Key(Old)];
        Model.erase(Key(Old));
        Model[Key(S)] = {S, Was.Page};
      },
      [&] {
        if (Count()) T->Tabs()->PutObject(AnyIndex(), Pick(2) ? Marker.get() : nullptr);
      },
      [&] {
        if (Count()) T->Tabs()->Move(AnyIndex(), AnyIndex());
      },
      [&] {
        if (Count()) T->Tabs()->Exchange(AnyIndex(), AnyIndex());
      },
      [&] { T->Tabs()->Sort(); },
      [&] { T->Tabs()->SetSorted(!T->Tabs()->Sorted()); },
      [&] {
        if (Pick(4)) return;  // seldom
        T->Tabs()->Clear();
        Model.clear();
      },
      [&] {
        const auto List = RandomList(4);
        T->Tabs()->Assign(List.get());
        Replaced(List.get());
      },
      [&] {
        const auto List = RandomList(4);
        T->Tabs()->SetText(List->Text());
        Replaced(List.get());
      },
      [&] {
        const auto List = RandomList(4);
        T->Tabs()->SetCommaText(List->CommaText());
        Replaced(List.get());
      },
      [&] {
        const auto List = RandomList(2);
        T->Tabs()->AddStrings(List.get());
        for (int I = 0; I < List->Count(); ++I) Added(List->Strings(I));
      },
      [&] {
        // Inside a batch a page keeps its place, and perhaps its caption, until the end.
        if (T->PageCount() == 0) return;
        TKsCustomTabSheet* Page = T->GetPage(Pick(T->PageCount()));
        const AnsiString Was = Page->Caption(), S = Caption();
        if (S == Was) return;
        const TFreeLog::TId Id = Freed->Id(Page);
        const auto Own = std::find_if(Model.begin(), Model.end(),
                                      [&](const auto& E) { return E.second.Page == Id; });
        if (Model.count(Key(S)) && (Own == Model.end() || Own->first != Key(S))) {
          EXPECT_THROW(Page->SetCaption(S), Exception) << S << " on " << Was;
          EXPECT_EQ(Page->Caption(), Was);
          return;
        }
        Page->SetCaption(S);
        if (Own == Model.end()) return;  // its tab is gone: so is the page at the end
        Model.erase(Own);
        Model[Key(S)] = {S, Id};
      },
  };
  // T's tabs are the model's, each with the page expected of it or a new one.
  auto AsModelled = [&](const std::set<TFreeLog::TId>& Old) -> ::testing::AssertionResult {
    if (static_cast<std::size_t>(Count()) != Model.size())
      return ::testing::AssertionFailure()
             << Model.size() << " tabs expected: [" << TabsText(T) << "]";
    for (int I = 0; I < Count(); ++I) {
      const auto It = Model.find(Key(T->Tabs()->Strings(I)));
      if (It == Model.end() || It->second.Caption != T->Tabs()->Strings(I))
        return ::testing::AssertionFailure()
               << "tab " << I << " of [" << TabsText(T) << "]";
      const TFreeLog::TId Page = Freed->Id(T->GetPage(I));
      if (It->second.Page ? Page != It->second.Page : Old.count(Page) > 0)
        return ::testing::AssertionFailure()
               << "page of tab " << I << " of [" << TabsText(T) << "]";
    }
    return InStep(T);
  };
  // A run of changes inside one batch, or each on its own; the pages follow their tabs
  // at the batch's end, and until then none goes.
  auto ListRun = [&] {
    Model.clear();
    std::map<TFreeLog::TId, TKsCustomTabSheet*> Pages;  // T's pages before the run
    std::set<TFreeLog::TId> Old;
    for (int I = 0; I < Count(); ++I) {
      const TFreeLog::TId Id = Freed->Id(T->GetPage(I));
      Pages[Id] = T->GetPage(I);
      Old.insert(Id);
      Model[Key(T->Tabs()->Strings(I))] = {T->Tabs()->Strings(I), Id};
    }
    const bool Batched = Pick(4) != 0;
    AnsiString Ran = Batched ? "batch of" : "one by one";
    {
      TUpdateScope Batch(Batched ? T->Tabs() : nullptr);
      for (int N = 1 + Pick(8); N > 0; --N) {
        const AnsiString Was = TabsText(T);
        const int Which = Pick(static_cast<int>(ListChanges.size()));
        Ran += " " + std::to_string(Which) + ":[" + Was + "]";
        try {
          ListChanges[static_cast<std::size_t>(Which)]();
        } catch (const Exception&) {
          EXPECT_EQ(TabsText(T), Was) << "refused, yet changed" << Ran;
        }
        if (Batched) {
          EXPECT_EQ(T->PageCount(), static_cast<int>(Old.size()))
              << "pages changed inside a batch";
          continue;
        }
        ASSERT_TRUE(AsModelled(Old)) << Ran;
        // The pages made are the tabs' own from now on.
        for (int I = 0; I < Count(); ++I) {
          const TFreeLog::TId Id = Freed->Id(T->GetPage(I));
          Model[Key(T->Tabs()->Strings(I))].Page = Id;
          Old.insert(Id);
        }
      }
    }
    EXPECT_TRUE(AsModelled(Old)) << Ran;
    for (const auto& [Id, Page] : Pages)
      if (std::none_of(Model.begin(), Model.end(),
                       [&](const auto& E) { return E.second.Page == Id; }))
        Goes.insert(Page);
  };
  const std::vector<std::pair<const char*, std::function<void()>>> Edits = {
      {"add", [&] { T->Tabs()->Add(Caption()); }},
      {"insert", [&] { T->Tabs()->Insert(Pick(Count() + 1), Caption()); }},
      {"delete",
       [&] {
         if (Count() == 0) return;
         const int I = AnyIndex();
         Goes.insert(T->GetPage(I));
         T->Tabs()->Delete(I);
       }},
      {"clear",
       [&] {
         if (Pick(4)) return;  // seldom
         for (int I = 0; I < Count(); ++I) Goes.insert(T->GetPage(I));
         T->Tabs()->Clear();
       }},
      {"rename the tab",
       [&] {
         if (Count()) T->Tabs()->Put(AnyIndex(), Caption());
       }},
      {"rename the sheet",
       [&] {
         if (Count()) T->GetPage(AnyIndex())->SetCaption(Caption());
       }},
      {"attach",
       [&] {
         TOwned<TKsCustomTabSheet> Sheet(NewObject<TKsCustomTabSheet>(Pick(2) ? Form : nullptr));
         Sheet->SetCaption(Caption());
         if (Pick(2))
           T->InsertPage(Pick(Count() + 1), Sheet.get());
         else
           Sheet->SetTabControl(T);
         BoxOn(Sheet.release());
       }},
      {"move to the other control",
       [&] {
         if (Count() == 0) return;
         TKsCustomTabSheet* Sheet = T->GetPage(AnyIndex());
         Pick(2) ? Sheet->SetTabControl(Other) : Sheet->SetParent(Other);
       }},
      {"move where a control on the sheet refuses the new parent's font",
       [&] {
         if (Count() == 0) return;
         TKsCustomTabSheet* Sheet = T->GetPage(AnyIndex());
         TOwned<TFontRefuser> Refuser(NewObject<TFontRefuser>(nullptr));
         Refuser->SetParent(Sheet);
         // The other control's own font for the step: nothing on its pages refuses it.
         auto Back = ScopeExit([&] { Other->SetParentFont(true); });
         Other->Font()->SetHeight(2000);
         const int Way = Pick(4);
         Way == 0   ? Sheet->SetParent(Large)
         : Way == 1 ? Sheet->SetParent(Other)
         : Way == 2 ? Sheet->SetTabControl(Other)
                    : Other->InsertPage(Pick(Other->PageCount() + 1), Sheet);
       }},
      {"take a sheet out",
       [&] {
         if (Count() == 0) return;
         TKsCustomTabSheet* Sheet = T->GetPage(AnyIndex());
         Pick(2) ? Sheet->SetTabControl(nullptr) : Sheet->SetParent(Form);
       }},
      {"free a sheet",
       [&] {
         if (Count() == 0) return;
         TKsCustomTabSheet* Sheet = T->GetPage(AnyIndex());
         Goes.insert(Sheet);
         Sheet->Free();
       }},
      {"sort", [&] { T->Tabs()->Sort(); }},
      {"sorted or not", [&] { T->Tabs()->SetSorted(!T->Tabs()->Sorted()); }},
      {"rename the sheet in a batch",
       [&] {
         if (Count() == 0) return;
         TKsCustomTabSheet* Sheet = T->GetPage(AnyIndex());
         const TUpdateScope Batch(T->Tabs());
         // A tab before the sheet's moves its index on; a refused caption changes nothing.
         T->Tabs()->Sorted() ? void(T->Tabs()->Add(Caption())) : T->Tabs()->Insert(0, Caption());
         try {
           Sheet->SetCaption(Caption());
         } catch (const Exception&) {
         }
       }},
      {"exchange",
       [&] {
         if (Count()) T->Tabs()->Exchange(AnyIndex(), AnyIndex());
       }},
      {"move",
       [&] {
         if (Count()) T->Tabs()->Move(AnyIndex(), AnyIndex());
       }},
      {"assign", [&] { ReplaceAll([&](TStringList* List) { T->Tabs()->Assign(List); }); }},
      {"set the text",
       [&] { ReplaceAll([&](TStringList* List) { T->Tabs()->SetText(List->Text()); }); }},
      {"set the comma text",
       [&] {
         ReplaceAll([&](TStringList* List) { T->Tabs()->SetCommaText(List->CommaText()); });
       }},
      {"add strings",
       [&] {
         TOwned<TStringList> List(NewObject<TStringList>());
         for (int N = Pick(3); N > 0; --N) List->Add(Caption());
         T->Tabs()->AddStrings(List.get());
       }},
      {"select", [&] { T->SetTabIndex(AnyIndex()); }},
      {"put a box",
       [&] {
         if (Count() == 0) return;
         BoxOn(T->GetPage(AnyIndex()));
       }},
      {"round trip", RoundTrip},
      {"list changes, in a batch or not", ListRun},
      {"list changes, in a batch or not, again", ListRun},
  };

  for (int Step = 0; Step < 1000; ++Step) {
    T = Both[Pick(2)];
    Other = T == Both[0] ? Both[1] : Both[0];
    std::vector<std::pair<TKsCustomTabSheet*, TFreeLog::TId>> Before;
    for (TKsCustomTabControl* Control : {T, Other})
      for (int I = 0; I < Control->PageCount(); ++I)
        Before.emplace_back(Control->GetPage(I), Freed->Id(Control->GetPage(I)));
    const AnsiString Captions = TabsText(T) + "|" + TabsText(Other);
    // What a refused step leaves as it was besides: the pages, the page shown, the tab
    // selected and the pages' windows.
    auto Shown = [&] {
      std::vector<std::tuple<const void*, HWND, int>> Now;
      for (TKsCustomTabControl* Control : {T, Other}) {
        Now.emplace_back(Control->ActivePage(), nullptr, Control->TabIndex());
        for (int I = 0; I < Control->PageCount(); ++I) {
          TKsCustomTabSheet* Page = Control->GetPage(I);
          Now.emplace_back(Page, Page->HandleAllocated() ? Page->Handle() : nullptr, I);
        }
      }
      return Now;
    };
    const auto ShownBefore = Shown();
    const auto& [What, Edit] =
        Edits[static_cast<std::size_t>(Pick(static_cast<int>(Edits.size())))];
    const AnsiString Where =
        "step " + std::to_string(Step) + ": " + What + " on [" + Captions + "]";
    Goes.clear();
    try {
      Edit();
    } catch (const EFormFileError& E) {
      ADD_FAILURE() << Where << ": " << E.Message();
    } catch (const Exception&) {
      EXPECT_EQ(TabsText(T) + "|" + TabsText(Other), Captions)
          << Where << ": refused, yet changed";
      EXPECT_TRUE(Shown() == ShownBefore) << Where << ": refused, yet pages changed";
    }
    ASSERT_TRUE(InStep(T)) << Where;
    ASSERT_TRUE(InStep(Other)) << Where;
    for (std::size_t I = 0; I < Before.size(); ++I)
      ASSERT_EQ(Freed->WasFreed(Before[I].second), Goes.count(Before[I].first) > 0)
          << Where << ", page " << I;
    for (auto It = Boxes.begin(); It != Boxes.end();) {
      if (Freed->WasFreed(It->first)) {
        ASSERT_TRUE(Freed->WasFreed(It->second.PageId))
            << Where << ": a box freed without its page";
        It = Boxes.erase(It);
      } else {
        ASSERT_EQ(It->second.Box->Parent(), It->second.Page) << Where;
        ++It;
      }
    }
    ASSERT_NO_THROW(T->UpdateBuffer()) << Where;
  }
  RoundTrip();
}

}  // namespace




