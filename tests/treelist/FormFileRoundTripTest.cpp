// Form files of every editor, style-controller and tree-list class: random published
// values and stored-values bits (a fixed seed), written, read and written again. The
// second file is the first, and every value the file holds reads back as it was set.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Forms.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "editors/dxCntner_Style.h"
#include "editors/dxExEdtr_BlobPopup.h"
#include "editors/dxExEdtr_CalcEdit.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTLClms.h"
#include "treelist/dxTLClms_DropDown.h"
#include "treelist/dxTLClms_Picture.h"
#include "treelist/dxTLClms_Text.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_MaskColumn.h"

namespace {

// Values drawn from a fixed seed: edge values more often than their share.
class TValueSource {
 public:
  explicit TValueSource(unsigned Seed) : FEngine(Seed) {}
  int Below(int Count) {
    return static_cast<int>(FEngine() % static_cast<unsigned>(Count));
  }
  bool Chance(int Percent) { return Below(100) < Percent; }
  Int64 Ordinal(Int64 Min, Int64 Max) {
    static const Int64 Edges[] = {0,   1,    -1,   2,     7,          100,
                                  255, -100, 1000, 65535, 0x7FFFFFFF, -0x7FFFFFFF - 1};
    Int64 Value = Chance(60) ? Edges[Below(static_cast<int>(std::size(Edges)))]
                             : Below(20001) - 10000;
    return std::clamp(Value, Min, Max);
  }
  double Float() {
    static const double Values[] = {0,    1,    -1,       0.5,     2.5,
                                    1e-7, 1e10, -123.456, 1.0 / 3, 45000.75};
    return Values[Below(static_cast<int>(std::size(Values)))];
  }
  AnsiString Text() {
    static const char* const Texts[] = {
        "",          "a",           "Text", "x\"y\\z", "\xC4\xD6 high", " lead",
        "99:99;1;_", "!999-99;0;*", "0.00", "hh:nn",   "line\r\nbreak", "Tab\there"};
    if (Chance(70)) return Texts[Below(static_cast<int>(std::size(Texts)))];
    AnsiString Result;
    for (int I = Below(9); I > 0; --I) Result += static_cast<char>('!' + Below(94));
    return Result;
  }

 private:
  std::mt19937 FEngine;
};

bool IsSkipped(const TPropInfo& Info) {
  return Info.Name == "Name" || Info.Kind == tkMethod ||
         (Info.Kind == tkClass && Info.IsReference);
}

void RandomizeValues(TObject* Instance, TValueSource& Source);

// Sets one property to a random value; a value the setter refuses is left.
void RandomizeValue(TObject* Instance, const TPropInfo& Info, TValueSource& Source) {
  try {
    switch (Info.Kind) {
      case tkEnumeration:
        Info.SetOrd(Instance, Source.Below(static_cast<int>(Info.MaxValue) + 1));
        break;
      case tkSet:
        Info.SetOrd(Instance, Source.Ordinal(0, 0x7FFFFFFF) & Info.MaxValue);
        break;
      case tkInteger:
        Info.SetOrd(Instance, Source.Ordinal(Info.MinValue, Info.MaxValue));
        break;
      case tkFloat:
        Info.SetFloat(Instance, Source.Float());
        break;
      case tkString:
        Info.SetStr(Instance, Source.Text());
        break;
      case tkClass: {
        TObject* Sub = Info.GetObj(Instance);
        if (auto* Strings = ObjectAs<TStrings>(Sub)) {
          Strings->Clear();
          for (int I = Source.Below(4); I > 0; --I) Strings->Add(Source.Text());
        } else if (auto* Collection = ObjectAs<TCollection>(Sub)) {
          Collection->Clear();
          for (int I = Source.Below(4); I > 0; --I)
            RandomizeValues(Collection->Add(), Source);
        } else if (Sub) {
          RandomizeValues(Sub, Source);
        }
        break;
      }
      case tkMethod:
        break;
    }
  } catch (const Exception&) {
  }
}

// About half of the published values of Instance set at random, sub-objects within.
void RandomizeValues(TObject* Instance, TValueSource& Source) {
  for (const TPropInfo* Info : GetPropList(Instance->ClassType()))
    if (!IsSkipped(*Info) && (Info->Kind == tkClass || !Info->ReadOnly()) &&
        Source.Chance(50))
      RandomizeValue(Instance, *Info, Source);
}

AnsiString ValueText(TObject* Instance, const TPropInfo& Info) {
  switch (Info.Kind) {
    case tkFloat:
      return FormFileFloat(Info.GetFloat(Instance));
    case tkString:
      return FormFileString(Info.GetStr(Instance));
    default:
      return IntToStr(Info.GetOrd(Instance));
  }
}

// Every value of Instance a form file holds, as "path = value": the stored properties,
// sub-objects by path, string lists by their lines, collection items by index.
void CollectValues(TObject* Instance, const AnsiString& Prefix,
                   std::vector<std::string>& Values) {
  for (const TPropInfo* Info : GetPropList(Instance->ClassType())) {
    if (IsSkipped(*Info) || !Info->IsStored(Instance)) continue;
    const AnsiString Path = Prefix + Info->Name;
    if (Info->Kind != tkClass) {
      if (!Info->ReadOnly()) Values.push_back(Path + " = " + ValueText(Instance, *Info));
      continue;
    }
    TObject* Sub = Info->GetObj(Instance);
    if (auto* Strings = ObjectAs<TStrings>(Sub)) {
      for (int I = 0; I < Strings->Count(); ++I)
        Values.push_back(Path + " line " + FormFileString(Strings->Strings(I)));
    } else if (auto* Collection = ObjectAs<TCollection>(Sub)) {
      for (int I = 0; I < Collection->Count(); ++I)
        CollectValues(Collection->Items(I), Path + "[" + IntToStr(I) + "].", Values);
    } else if (Sub) {
      CollectValues(Sub, Path + ".", Values);
    }
  }
}

std::vector<std::string> ValuesOf(TComponent* Root) {
  std::vector<std::string> Values;
  for (int I = 0; I < Root->ComponentCount(); ++I) {
    TComponent* Component = Root->Components(I);
    CollectValues(Component, Component->Name() + ".", Values);
  }
  return Values;
}

// The lines of one text that the other lacks, marked.
std::string LinesOnlyIn(const AnsiString& Text, const AnsiString& Other, const char* Mark) {
  auto Lines = [](const AnsiString& T) {
    std::multiset<std::string> Result;
    std::size_t Start = 0;
    for (std::size_t End; (End = T.find("\r\n", Start)) != AnsiString::npos;
         Start = End + 2)
      Result.insert(T.substr(Start, End - Start));
    return Result;
  };
  std::multiset<std::string> Theirs = Lines(Other);
  std::string Result;
  for (const std::string& Line : Lines(Text)) {
    auto Found = Theirs.find(Line);
    if (Found != Theirs.end())
      Theirs.erase(Found);
    else
      Result += std::string(Mark) + Line + "\n";
  }
  return Result;
}

std::string Differences(const std::vector<std::string>& Set,
                        const std::vector<std::string>& Read) {
  std::string Result;
  for (const std::string& Value : Set)
    if (std::find(Read.begin(), Read.end(), Value) == Read.end())
      Result += "  set:  " + Value + "\n";
  for (const std::string& Value : Read)
    if (std::find(Set.begin(), Set.end(), Value) == Set.end())
      Result += "  read: " + Value + "\n";
  return Result;
}

class FormFileRoundTripTest : public uitest::UiTest {
 protected:
  // A new form holding one component of Class with random values, or, for a column
  // class, a tree list with random values holding two columns of it.
  TForm* RandomForm(TClass Class, TValueSource& Source) {
    TForm* Form = NewObject<TForm>(nullptr, CreateNew);
    Form->SetName("RoundTripForm");
    TComponentClass Made = AsComponentClass(Class);
    const bool IsColumn = Class->InheritsFrom(&TdxTreeListColumn::StaticClass());
    TComponent* Component = IsColumn ? NewObject<TdxTreeList>(Form) : Made->Create(Form);
    Component->SetName(IsColumn ? "Tree1" : "Component1");
    if (auto* Control = ObjectAs<TControl>(Component)) Control->SetParent(Form);
    // The bits first or last: values set after them mark their own.
    auto* Edit = ObjectAs<TdxInplaceEdit>(Component);
    const bool BitsFirst = Source.Chance(50);
    auto RandomBits = [&] {
      if (Edit)
        Edit->SetStoredValues(TdxEditStoredValues::FromBits(
            static_cast<Cardinal>(Source.Below(0x200)) & 0x17F));
    };
    if (BitsFirst) RandomBits();
    RandomizeValues(Component, Source);
    if (!BitsFirst) RandomBits();
    if (IsColumn) {
      auto* Tree = static_cast<TdxTreeList*>(Component);
      // No layout kept outside the file: one read back would be another case's.
      Tree->SetOptions(Tree->Options() -
                       TdxTreeListOptions{aoStoreToRegistry, aoStoreToIniFile});
      for (int I = 1; I <= 2; ++I) {
        TdxTreeListColumn* Column = Tree->CreateColumn(Made);
        Column->SetName("Column" + IntToStr(I));
        RandomizeValues(Column, Source);
      }
      // Automatic header rows follow the columns when switched on, not as columns
      // come: a file (which does not hold them) reads back the rows the columns need.
      const TdxTreeListOptionsEx Options = Tree->OptionsEx();
      if (Options.Contains(aoAutoHeaderPanelHeight)) {
        Tree->SetOptionsEx(Options - TdxTreeListOptionsEx{aoAutoHeaderPanelHeight});
        Tree->SetOptionsEx(Options);
      }
    }
    return Form;
  }

  // One case: the form written, read into a new form and written again.
  bool RoundTrip(TClass Class, unsigned Seed) {
    TValueSource Source(Seed);
    TOwned<TForm> Form(RandomForm(Class, Source));
    const AnsiString First = WriteComponentText(Form.get());
    TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
    try {
      ReadComponentText(Copy.get(), First, "RoundTripForm");
    } catch (const Exception& E) {
      ADD_FAILURE() << Class->ClassName() << " seed " << Seed << ": " << E.Message() << "\n"
                    << First;
      return false;
    }
    const AnsiString Second = WriteComponentText(Copy.get());
    const std::string Lost = Differences(ValuesOf(Form.get()), ValuesOf(Copy.get()));
    EXPECT_TRUE(Lost.empty()) << Class->ClassName() << " seed " << Seed << ", values:\n"
                              << Lost << First;
    EXPECT_EQ(First, Second) << Class->ClassName() << " seed " << Seed
                             << ", the second file:\n"
                             << LinesOnlyIn(First, Second, "  lacks ")
                             << LinesOnlyIn(Second, First, "  gains ");
    return Lost.empty() && First == Second;
  }
};

// Values equal to what a read starts from, or to a kind's empty value, read back as
// set: the cases the random round trip found, each on its own.
TEST_F(FormFileRoundTripTest, ValuesEqualToWhereAReadStartsReadBackAsSet) {
  // Form written, read and written again: the form read, checked against the first.
  auto ReadBack = [](TForm* Form) {
    const AnsiString First = WriteComponentText(Form);
    TForm* Copy = NewObject<TForm>(nullptr, CreateNew);
    ReadComponentText(Copy, First, Form->Name());
    EXPECT_EQ(First, WriteComponentText(Copy));
    return Copy;
  };
  auto NewForm = [] {
    TForm* Form = NewObject<TForm>(nullptr, CreateNew);
    Form->SetName("HeldForm");
    return Form;
  };
  auto NewTree = [](TForm* Form) {
    auto* Tree = NewObject<TdxTreeList>(Form);
    Tree->SetName("Tree1");
    Tree->SetParent(Form);
    return Tree;
  };
  auto AddColumn = [](TdxTreeList* Tree, TClass Kind, const char* Name) {
    TdxTreeListColumn* Column = Tree->CreateColumn(AsComponentClass(Kind));
    Column->SetName(Name);
    return Column;
  };

  // A column's own font equal to the tree list's; the checked texts and the display
  // format empty; a column in a list without bands; a button column without buttons.
  TOwned<TForm> Form(NewForm());
  TdxTreeList* Tree = NewTree(Form.get());
  Tree->Font()->SetStyle({fsItalic});
  auto* Fonted = AddColumn(Tree, &TdxTreeListColumn::StaticClass(), "colFont");
  Fonted->Font()->SetStyle({fsBold});
  Fonted->Font()->SetStyle({fsItalic});
  auto* Check = static_cast<TdxTreeListCheckColumn*>(
      AddColumn(Tree, &TdxTreeListCheckColumn::StaticClass(), "colCheck"));
  Check->SetValueChecked("");
  Check->SetValueUnchecked("");
  auto* Currency = static_cast<TdxTreeListCurrencyColumn*>(
      AddColumn(Tree, &TdxTreeListCurrencyColumn::StaticClass(), "colCurrency"));
  Currency->SetDisplayFormat("");
  auto* Buttons = static_cast<TdxTreeListButtonColumn*>(
      AddColumn(Tree, &TdxTreeListButtonColumn::StaticClass(), "colButtons"));
  Buttons->Buttons()->Clear();
  TOwned<TForm> Copy(ReadBack(Form.get()));
  auto* ReadFonted = ObjectAs<TdxTreeListColumn>(Copy->FindComponent("colFont"));
  ASSERT_NE(nullptr, ReadFonted);
  EXPECT_TRUE(ReadFonted->AssignedValues().Contains(cvFont));
  auto* ReadCheck = ObjectAs<TdxTreeListCheckColumn>(Copy->FindComponent("colCheck"));
  ASSERT_NE(nullptr, ReadCheck);
  EXPECT_EQ("", ReadCheck->ValueChecked());
  EXPECT_EQ("", ReadCheck->ValueUnchecked());
  auto* ReadCurrency =
      ObjectAs<TdxTreeListCurrencyColumn>(Copy->FindComponent("colCurrency"));
  ASSERT_NE(nullptr, ReadCurrency);
  EXPECT_TRUE(ReadCurrency->DisplayFormatAssigned());
  auto* ReadButtons = ObjectAs<TdxTreeListButtonColumn>(Copy->FindComponent("colButtons"));
  ASSERT_NE(nullptr, ReadButtons);
  EXPECT_EQ(0, ReadButtons->Buttons()->Count());

  Form.reset(NewForm());
  Tree = NewTree(Form.get());
  Tree->Bands()->Clear();
  AddColumn(Tree, &TdxTreeListColumn::StaticClass(), "colNoBand");
  Copy.reset(ReadBack(Form.get()));
  auto* ReadTree = ObjectAs<TdxTreeList>(Copy->FindComponent("Tree1"));
  ASSERT_NE(nullptr, ReadTree);
  EXPECT_EQ(0, ReadTree->Bands()->Count());
  EXPECT_EQ(-1, ObjectAs<TdxTreeListColumn>(Copy->FindComponent("colNoBand"))->BandIndex());

  // Automatic header rows switched on while no shown column needs a row, or before the
  // columns came: the header keeps the rows it had, and so does its file.
  for (const bool ColumnsFirst : {true, false}) {
    Form.reset(NewForm());
    Tree = NewTree(Form.get());
    Tree->SetHeaderPanelMaxRowCount(7);
    Tree->SetHeaderPanelRowCount(3);
    auto* Hidden = AddColumn(Tree, &TdxTreeListColumn::StaticClass(), "colHidden");
    Hidden->SetVisible(false);
    if (ColumnsFirst) Hidden->SetRowIndex(2);
    Tree->SetOptionsEx(Tree->OptionsEx() + TdxTreeListOptionsEx{aoAutoHeaderPanelHeight});
    if (!ColumnsFirst) AddColumn(Tree, &TdxTreeListColumn::StaticClass(), "colShown");
    ASSERT_EQ(3, Tree->HeaderPanelRowCount());
    Copy.reset(ReadBack(Form.get()));
    ReadTree = ObjectAs<TdxTreeList>(Copy->FindComponent("Tree1"));
    ASSERT_NE(nullptr, ReadTree);
    EXPECT_EQ(3, ReadTree->HeaderPanelRowCount()) << ColumnsFirst;
    EXPECT_TRUE(ReadTree->OptionsEx().Contains(aoAutoHeaderPanelHeight)) << ColumnsFirst;
  }

  // An editor keeping only the bit the file does not hold; the popups' start values.
  const TClass Editors[] = {&TdxInplaceTextEdit::StaticClass(),
                            &TdxPopupCalculator::StaticClass(),
                            &TCustomdxBlobPopup::StaticClass()};
  for (TClass Class : Editors) RegisterClass(Class);
  auto Unregister = ScopeExit([&] {
    for (TClass Class : Editors) UnRegisterClass(Class);
  });
  Form.reset(NewForm());
  auto* Edit = NewObject<TdxInplaceTextEdit>(Form.get());
  Edit->SetName("edtKept");
  Edit->SetParent(Form.get());
  Edit->SetStoredValues({esvDisplayFormat});
  auto* Calculator = NewObject<TdxPopupCalculator>(Form.get());
  Calculator->SetName("calNoTab");
  Calculator->SetParent(Form.get());
  Calculator->SetTabStop(false);
  auto* Blob = NewObject<TCustomdxBlobPopup>(Form.get());
  Blob->SetName("blbShown");
  Blob->SetParent(Form.get());
  Blob->SetVisible(true);
  Copy.reset(ReadBack(Form.get()));
  EXPECT_FALSE(ObjectAs<TdxPopupCalculator>(Copy->FindComponent("calNoTab"))->TabStop());
  EXPECT_TRUE(ObjectAs<TCustomdxBlobPopup>(Copy->FindComponent("blbShown"))->Visible());
}

TEST_F(FormFileRoundTripTest, EveryClassReadsBackWhatItWroteAndWritesItAgain) {
  const TClass Classes[] = {
      // Editors, and the tree list's editor kinds.
      &TdxInplaceTextEdit::StaticClass(), &TdxInplaceMaskEdit::StaticClass(),
      &TdxInplaceSpinEdit::StaticClass(), &TdxInplaceTimeEdit::StaticClass(),
      &TdxInplaceCurrencyEdit::StaticClass(), &TdxInplaceDropDownEdit::StaticClass(),
      &TdxInplaceDateEdit::StaticClass(), &TdxInplaceButtonEdit::StaticClass(),
      &TdxInplaceImageEdit::StaticClass(), &TdxInplacePickEdit::StaticClass(),
      &TdxInplaceMRUEdit::StaticClass(), &TdxInplaceCalcEdit::StaticClass(),
      &TdxInplaceBlobEdit::StaticClass(), &TdxInplaceMemoEdit::StaticClass(),
      &TdxInplaceHyperLinkEdit::StaticClass(), &TdxInplaceCheckEdit::StaticClass(),
      &TdxInplaceGraphicEdit::StaticClass(), &TdxPopupCalculator::StaticClass(),
      &TCustomdxBlobPopup::StaticClass(), &TdxInplaceTreeListTextEdit::StaticClass(),
      &TdxInplaceTreeListMaskEdit::StaticClass(),
      &TdxInplaceTreeListDropDownEdit::StaticClass(),
      &TdxInplaceTreeListDateEdit::StaticClass(),
      &TdxInplaceTreeListButtonEdit::StaticClass(),
      &TdxInplaceTreeListImageEdit::StaticClass(),
      &TdxInplaceTreeListPickEdit::StaticClass(),
      &TdxInplaceTreeListCalcEdit::StaticClass(), &TdxInplaceTreeListMRUEdit::StaticClass(),
      &TdxInplaceTreeListGraphicEdit::StaticClass(),
      &TdxInplaceTreeListBlobEdit::StaticClass(),
      &TdxInplaceTreeListMemoEdit::StaticClass(),
      &TdxInplaceTreeListCheckEdit::StaticClass(),
      &TdxInplaceTreeListSpinEdit::StaticClass(),
      &TdxInplaceTreeListHyperLinkEdit::StaticClass(),
      &TdxInplaceTreeListTimeEdit::StaticClass(),
      &TdxInplaceTreeListCurrencyEdit::StaticClass(),
      // Style controllers.
      &TdxEditStyleController::StaticClass(), &TdxCheckEditStyleController::StaticClass()};
  std::vector<TClass> All(std::begin(Classes), std::end(Classes));
  // The tree list, and each column kind in one.
  for (const TComponentMetaClass* Kind : dxTLColumnKinds) All.push_back(Kind);

  constexpr int CasesPerClass = 60;
  for (TClass Class : All) {
    const bool Registered = GetClass(Class->ClassName()) != nullptr;
    if (!Registered) RegisterClass(Class);
    auto Unregister = ScopeExit([&] {
      if (!Registered) UnRegisterClass(Class);
    });
    // One failing case tells the class's fault; the next classes still run.
    for (int Case = 0; Case < CasesPerClass; ++Case)
      if (!RoundTrip(Class, static_cast<unsigned>(Case) * 7919u + 17u)) break;
  }
}

}  // namespace
