// Form files: reading the test forms from their resources, writing and reading back,
// bad files, and the look-up of published properties.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/ModuleInit.h"
#include "classlib/Lists.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "tests/classlib/FormTestClasses.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "tests/support/FuzzSupport.h"
#include "tests/support/MemorySupport.h"

using namespace formtest;
using namespace uitest;

namespace {

// Runs Check on the component and every component it owns, recursively.
void ForEachComponent(TComponent* Root, const std::function<void(TComponent*)>& Check) {
  Check(Root);
  for (int I = 0; I < Root->ComponentCount(); ++I) ForEachComponent(Root->Components(I), Check);
}

class FormFileTest : public UiTest {
 protected:
  static void SetUpTestSuite() { RegisterFormTestClasses(); }
  static void TearDownTestSuite() { UnregisterFormTestClasses(); }
  void SetUp() override {
    UiTest::SetUp();
    FormLog.clear();
    LiveWidgets = TTestWidget::Live;
    Forms = Screen->CustomFormCount();
  }
  void TearDown() override {
    UiTest::TearDown();
    EXPECT_EQ(TTestWidget::Live, LiveWidgets);
    EXPECT_EQ(Screen->CustomFormCount(), Forms);
  }

  // Reads Text into a new form made without its own file; the message of the error,
  // or "" when it read.
  std::string ReadError(const AnsiString& Text) {
    TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr, CreateNew));
    try {
      ReadComponentText(Form.get(), Text, "Bad");
    } catch (const EFormFileError& E) {
      EXPECT_EQ(Form->ComponentCount(), 0) << "components left after: " << E.Message();
      EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
      return E.Message();
    }
    return "";
  }

  int LiveWidgets = 0;
  int Forms = 0;
};

// ---------------------------------------------------------------------------------

TEST_F(FormFileTest, AFormReadsItsResourceWithEveryKindOfComponentAndProperty) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  EXPECT_EQ(Form->Name(), "frmTest");
  EXPECT_EQ(Form->Caption(), "Form file test");
  EXPECT_EQ(Form->Left(), 100);
  EXPECT_EQ(Form->Width(), 420);
  EXPECT_EQ(Form->Font()->Charset(), 1);
  EXPECT_EQ(Form->Font()->Height(), -11);

  // The fields hold the components of their names, in the tree of the file.
  ASSERT_TRUE(Form->pnlTop && Form->lblName && Form->edtName && Form->pnlBody && Form->rbnA &&
              Form->rbnB && Form->chkX && Form->chkY && Form->cbxLayer && Form->sedCount &&
              Form->imgPicture && Form->fraInner && Form->wgtMain);
  EXPECT_EQ(Form->lblName->Parent(), Form->pnlTop);
  EXPECT_EQ(Form->sedCount->Parent(), Form->pnlBody);
  EXPECT_EQ(Form->pnlTop->Align(), alTop);
  EXPECT_EQ(Form->pnlTop->BevelOuter(), bvNone);
  EXPECT_EQ(Form->pnlBody->BorderWidth(), 4);
  EXPECT_EQ(Form->lblName->FocusControl(), Form->edtName);
  EXPECT_EQ(Form->ActiveControl(), Form->edtName);

  EXPECT_EQ(Form->edtName->Text(), "first");
  EXPECT_TRUE(Form->rbnB->Checked());
  EXPECT_FALSE(Form->rbnA->Checked());
  EXPECT_TRUE(Form->chkX->Checked());
  EXPECT_FALSE(Form->chkY->Enabled());
  ASSERT_EQ(Form->cbxLayer->Items()->Count(), 3);
  EXPECT_EQ(Form->cbxLayer->Items()->Strings(2), "Mechanical \"2\"");
  EXPECT_EQ(Form->cbxLayer->ItemIndex(), 1);
  EXPECT_EQ(Form->cbxLayer->Text(), "Mechanical 1");
  EXPECT_EQ(Form->sedCount->MinValue(), 2);
  EXPECT_EQ(Form->sedCount->MaxValue(), 32);
  EXPECT_EQ(Form->sedCount->Increment(), 2);
  EXPECT_EQ(Form->sedCount->Value(), 4);
  // The picture came from binary data and sized the image (AutoSize after Loaded).
  ASSERT_NE(Form->imgPicture->Picture()->Bitmap(), nullptr);
  EXPECT_EQ(Form->imgPicture->Width(), 3);
  EXPECT_EQ(Form->imgPicture->Height(), 2);
  EXPECT_EQ(Form->imgPicture->Picture()->Bitmap()->Canvas()->Pixels(0, 1), clRed);
  EXPECT_EQ(Form->imgPicture->Picture()->Bitmap()->Canvas()->Pixels(2, 0), clGray);

  // Tab orders were put in place after the siblings were read.
  EXPECT_EQ(Form->pnlBody->TabOrder(), 0);
  EXPECT_EQ(Form->pnlTop->TabOrder(), 1);
  EXPECT_EQ(Form->rbnB->TabOrder(), 0);
  EXPECT_EQ(Form->rbnA->TabOrder(), 1);
  EXPECT_EQ(Form->fraInner->TabOrder(), 6);

  // The frame read its own file; the form's file changed one of its components.
  TTestFrame* Frame = Form->fraInner;
  EXPECT_EQ(Frame->Owner(), Form.get());
  EXPECT_EQ(Frame->Parent(), Form->pnlBody);
  ASSERT_TRUE(Frame->lblFrame && Frame->edtFrame);
  EXPECT_EQ(Frame->lblFrame->Owner(), Frame);
  EXPECT_EQ(Frame->lblFrame->Caption(), "&Inner label");
  EXPECT_EQ(Frame->lblFrame->FocusControl(), Frame->edtFrame);
  EXPECT_EQ(Frame->edtFrame->Text(), "frame text");

  TTestWidget* Widget = Form->wgtMain;
  EXPECT_EQ(Widget->Count(), 7);
  EXPECT_EQ(Widget->Ratio(), 0.25);
  EXPECT_EQ(Widget->Title(), "Tab\there \\ A");
  EXPECT_EQ(Widget->Options(), (TWidgetOptions{woFast, woLoud}));
  EXPECT_EQ(Widget->Mode(), wmBusy);
  EXPECT_EQ(Widget->Color(), clHighlight);
  EXPECT_EQ(Widget->Target(), Form->edtName);
  EXPECT_EQ(Widget->Lines()->Text(), "one\r\ntwo\r\n");
  ASSERT_EQ(Widget->Items()->Count(), 2);
  EXPECT_EQ(static_cast<TWidgetItem*>(Widget->Items()->Items(0))->Width(), 80);
  EXPECT_EQ(static_cast<TWidgetItem*>(Widget->Items()->Items(1))->Caption(), "second");
  EXPECT_EQ(static_cast<TWidgetItem*>(Widget->Items()->Items(1))->Width(), 50);
  EXPECT_EQ(Widget->Blob, (std::vector<Byte>{0xDE, 0xAD, 0xBE, 0xEF}));
  EXPECT_EQ(Widget->Note, "defined text");
}

TEST_F(FormFileTest, LoadedRunsOnceAfterTheWholeTreeAndReferencesAreResolvedBeforeIt) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  // The root first, then in the order of reading; the frame with the form.
  EXPECT_EQ(FormLog, (std::vector<std::string>{"loaded frmTest", "loaded fraInner", "loaded wgtMain"}));
  EXPECT_TRUE(Form->wgtMain->LoadingWhileRead);
  EXPECT_TRUE(Form->wgtMain->TargetAtLoaded);
  EXPECT_EQ(Form->wgtMain->LoadedCalls, 1);
  ForEachComponent(Form.get(), [](TComponent* C) {
    EXPECT_FALSE(C->ComponentState().Contains(csLoading)) << C->Name();
    EXPECT_FALSE(C->ComponentState().Contains(csReading)) << C->Name();
  });
  // Values set while reading ran no handler: the events were read after them.
  for (const char* Handled : {"click rbnB", "change cbxLayer"})
    EXPECT_EQ(std::count(FormLog.begin(), FormLog.end(), Handled), 0) << Handled;
}

// A root that tells one of its components that loading is done in its own Loaded.
class TLeadingRoot : public TComponent {
  TCLASS_DECL(TLeadingRoot, TComponent)
 public:
  using TComponent::TComponent;
  void Loaded() override {
    TComponent::Loaded();
    static_cast<TComponent*>(ObjectAs<TTestWidget>(FindComponent("wgtLed")))->Loaded();
  }
};
TCLASS_IMPL(TLeadingRoot)

TEST_F(FormFileTest, AComponentWhoseLoadingItsRootEndedIsNotToldAgain) {
  TOwned<TLeadingRoot> Root(NewObject<TLeadingRoot>(nullptr));
  ReadComponentText(Root.get(), R"(form Root: TLeadingRoot
  component wgtLed: TTestWidget
  end
  component wgtOther: TTestWidget
  end
end
)", "leading");
  EXPECT_EQ(ObjectAs<TTestWidget>(Root->FindComponent("wgtLed"))->LoadedCalls, 1);
  EXPECT_EQ(ObjectAs<TTestWidget>(Root->FindComponent("wgtOther"))->LoadedCalls, 1);
}

TEST_F(FormFileTest, AFormIsSetUpAfterItsFileIsReadAndLoadedAndItsFrameBeforeIt) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  EXPECT_EQ(Form->NameAtSetUp, "first");
  EXPECT_TRUE(Form->LoadedAtSetUp);
  EXPECT_TRUE(Form->FrameSetUpFirst);
  TOwned<TTestForm> Bare(NewObject<TTestForm>(nullptr, CreateNew));
  EXPECT_EQ(Bare->NameAtSetUp, "");

  // The frame is set up once its own file is read, and loaded after the whole form.
  TTestFrame* Frame = Form->fraInner;
  EXPECT_EQ(Frame->SetUps, 1);
  // The frame's own file was read; the form's value for its label came afterwards.
  EXPECT_EQ(Frame->CaptionAtSetUp, "&Frame label");
  EXPECT_FALSE(Frame->LoadedAtSetUp);
  EXPECT_TRUE(Frame->IsLoaded);
  EXPECT_EQ(Frame->lblFrame->Caption(), "&Inner label");

  // Made on its own, the frame's read is the whole read: Loaded comes first.
  TOwned<TTestFrame> Alone(NewObject<TTestFrame>(nullptr));
  EXPECT_EQ(Alone->SetUps, 1);
  EXPECT_EQ(Alone->CaptionAtSetUp, "&Frame label");
  EXPECT_TRUE(Alone->LoadedAtSetUp);
}

TEST_F(FormFileTest, HandlersAreBoundByNameToTheRootsMethods) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  FormLog.clear();
  Form->edtName->SetText("second");
  Form->rbnA->SetChecked(true);
  Form->wgtMain->OnPing(Form->wgtMain);
  Form->fraInner->edtFrame->SetText("changed");
  Form->Show();
  Pump();
  EXPECT_EQ(FormLog, (std::vector<std::string>{"change edtName", "click rbnA", "ping", "change edtFrame", "show"}));
  // The frame's handler belongs to the frame, the form's to the form.
  EXPECT_EQ(Form->fraInner->edtFrame->OnChange.Method().Data, static_cast<void*>(Form->fraInner));
  EXPECT_EQ(PublishedMethodName(Form.get(), Form->rbnB->OnClick.Method()), "rbnClick");
}

TEST_F(FormFileTest, WritingAndReadingBackGivesTheSameTree) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  AnsiString Text = WriteComponentText(Form.get());
  // Only what differs from the defaults is written.
  EXPECT_EQ(Text.find("Enabled = True"), AnsiString::npos);
  EXPECT_NE(Text.find("Enabled = False"), AnsiString::npos);
  EXPECT_EQ(Text.find("Checked = False"), AnsiString::npos);
  EXPECT_NE(Text.find("OnChange = edtNameChange"), AnsiString::npos);

  TOwned<TTestForm> Copy(NewObject<TTestForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
  ASSERT_TRUE(Copy->fraInner && Copy->wgtMain && Copy->sedCount && Copy->imgPicture);
  EXPECT_EQ(Copy->fraInner->lblFrame->Caption(), "&Inner label");
  EXPECT_EQ(Copy->fraInner->lblFrame->FocusControl(), Copy->fraInner->edtFrame);
  EXPECT_EQ(Copy->wgtMain->Target(), Copy->edtName);
  EXPECT_EQ(Copy->wgtMain->Blob, Form->wgtMain->Blob);
  EXPECT_EQ(Copy->wgtMain->Title(), Form->wgtMain->Title());
  EXPECT_EQ(Copy->sedCount->Value(), 4);
  EXPECT_EQ(Copy->cbxLayer->ItemIndex(), 1);
  EXPECT_EQ(Copy->rbnA->TabOrder(), 1);
  EXPECT_EQ(Copy->imgPicture->Picture()->Bitmap()->Canvas()->Pixels(0, 1), clRed);
  EXPECT_EQ(Copy->rbnB->OnClick.Method().Data, static_cast<void*>(Copy.get()));
}

TEST_F(FormFileTest, ValuesReadBackExactly) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr, CreateNew));
  auto* Widget = NewObject<TTestWidget>(Form.get());
  Widget->SetName("wgtValues");
  Widget->SetRatio(0.1);
  Widget->SetCount(-2147483647 - 1);
  Widget->SetColor(static_cast<TColor>(0x00123456));
  Widget->SetTitle(AnsiString("quote \" back \\ \x01\xE9 end"));
  Widget->Lines()->Add("");
  Widget->Blob.assign(100, 0x5A);
  AnsiString Text = WriteComponentText(Form.get());
  EXPECT_NE(Text.find("Color = 0x00123456"), AnsiString::npos) << Text;

  TOwned<TTestForm> Copy(NewObject<TTestForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TTestWidget>(Copy->FindComponent("wgtValues"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->Ratio(), 0.1);
  EXPECT_EQ(Read->Count(), Widget->Count());
  EXPECT_EQ(Read->Color(), Widget->Color());
  EXPECT_EQ(Read->Title(), Widget->Title());
  EXPECT_EQ(Read->Lines()->Count(), 1);
  EXPECT_EQ(Read->Blob, Widget->Blob);
}

// ---------------------------------------------------------------------------------
// Bad files

TEST_F(FormFileTest, ABadFileNamesFormComponentAndLineAndLeavesNothing) {
  const AnsiString Head =
      "form frmBad: TTestForm\n"    // 1
      "  component wgtA: TTestWidget\n"  // 2
      "    Count = 1\n"                   // 3
      "  end\n"                           // 4
      "  component pnlA: TPanel\n"        // 5
      "    component wgtB: TTestWidget\n" // 6
      "    end\n"                         // 7
      "    component lblA: TLabel\n";     // 8
  const AnsiString Tail = "    end\n  end\nend\n";
  EXPECT_EQ(ReadError(Head + "      Captoin = \"x\"\n" + Tail),
            "Form Bad, component lblA, line 9: Property Captoin does not exist");
  EXPECT_EQ(ReadError(Head + "      Font.Nmae = \"x\"\n" + Tail),
            "Form Bad, component lblA, line 9: Property Font.Nmae does not exist");
  EXPECT_EQ(ReadError(Head + "      Align = alSideways\n" + Tail),
            "Form Bad, component lblA, line 9: Invalid value alSideways for property Align");
  EXPECT_EQ(ReadError(Head + "      Width = \"wide\"\n" + Tail),
            "Form Bad, component lblA, line 9: Invalid value \"wide\" for property Width");
  EXPECT_EQ(ReadError(Head + "      Anchors = [akLeft, akMiddle]\n" + Tail),
            "Form Bad, component lblA, line 9: Invalid set element akMiddle for property Anchors");
  EXPECT_EQ(ReadError(Head + "      Tag = 99999999999\n" + Tail),
            "Form Bad, component lblA, line 9: Invalid value 99999999999 for property Tag "
            "(Property value out of range)");
  EXPECT_EQ(ReadError(Head + "      FocusControl = edtMissing\n" + Tail),
            "Form Bad, component lblA, line 9: Component edtMissing not found");
  EXPECT_EQ(ReadError(Head + "      FocusControl = wgtA\n" + Tail),
            "Form Bad, component lblA, line 9: wgtA is a TTestWidget, not a TWinControl");
  EXPECT_EQ(ReadError(Head + "      OnClick = NoSuchHandler\n" + Tail),
            "Form Bad, component lblA, line 9: Method NoSuchHandler not found in TTestForm");
  EXPECT_EQ(ReadError(Head + "      OnMouseDown = rbnClick\n" + Tail),
            "Form Bad, component lblA, line 9: Method rbnClick does not fit the event OnMouseDown");
  EXPECT_EQ(ReadError(Head + "      Caption = \"unterminated\n" + Tail),
            "Form Bad, component lblA, line 9: Unterminated string");
  EXPECT_EQ(ReadError(Head + "    end\n    component xyz: TNoSuchClass\n" + Tail),
            "Form Bad, component xyz, line 10: Class TNoSuchClass not found");
  EXPECT_EQ(ReadError(Head + "    end\n    component wgtA: TTestWidget\n" + Tail),
            "Form Bad, component wgtA, line 10: A component named wgtA already exists");
  EXPECT_EQ(ReadError(Head + "    end\n    existing lblNone\n" + Tail),
            "Form Bad, component lblNone, line 10: Component lblNone not found");
  // Truncated: the end of the file comes inside lblA.
  EXPECT_EQ(ReadError(Head + "      Caption = \"x\"\n"),
            "Form Bad, component lblA, line 10: Unexpected end of file (\"end\" missing)");
  EXPECT_EQ(ReadError("form frmBad: TBadForm\nend\n"),
            "Form Bad, component frmBad, line 1: The form file is for class TBadForm, not TTestForm");
  EXPECT_EQ(ReadError("object frmBad: TTestForm\nend\n"),
            "Form Bad, component (root), line 1: A form file starts with \"form Name: Class\"");
  EXPECT_EQ(ReadError(""), "Form Bad, component (root), line 1: The form file is empty");
  // A form whose own resource is bad raises from its construction.
  ExpectRaises<EFormFileError>([] { NewObject<TBadForm>(nullptr); },
                               "Form TBadForm, component wgtTwo, line 17: Property Colour does not exist");
  // Failing inside a frame frees the frame too.
  EXPECT_EQ(ReadError("form frmBad: TTestForm\n  component wgtA: TTestWidget\n  end\n"
                      "  component fraX: TTestFrame\n    existing lblFrame\n      Caption = 12\n"
                      "    end\n  end\nend\n"),
            "Form Bad, component lblFrame, line 6: Invalid value 12 for property Caption");
}

// A component that publishes the sizes of what it holds: its strings' capacity, its
// pointer list's count, and a buffer of its own that its setter sizes.
class TSizedWidget : public TComponent {
  TCLASS_DECL(TSizedWidget, TComponent)
 public:
  using TComponent::TComponent;
  int Capacity() const { return FStrings->Capacity(); }
  void SetCapacity(int Value) { FStrings->SetCapacity(Value); }
  int Slots() const { return FSlots->Count(); }
  void SetSlots(int Value) { FSlots->SetCount(Value); }
  int Buffer() const { return static_cast<int>(FBuffer.size()); }
  void SetBuffer(int Value) {
    FBuffer.assign(static_cast<std::size_t>(std::max(Value, 0)), 'x');
  }

 private:
  TOwned<TStringList> FStrings{NewObject<TStringList>()};
  TOwned<TList> FSlots{NewObject<TList>()};
  std::vector<char> FBuffer;
};
TCLASS_IMPL(TSizedWidget)

// Little-endian fields (value, bytes) as the hexadecimal digits of a form file.
std::string HexOf(std::initializer_list<std::pair<unsigned, int>> Fields) {
  std::string Result;
  for (auto [Value, Bytes] : Fields)
    for (int I = 0; I < Bytes; ++I, Value >>= 8) {
      Result += "0123456789ABCDEF"[(Value >> 4) & 15];
      Result += "0123456789ABCDEF"[Value & 15];
    }
  return Result;
}

// Numbers a damaged file holds, sizing a list, a buffer or a picture past what the
// component can hold or the memory can give, raise the form-file error at their line
// with the class library's own words, never the standard library's. The memory is
// limited to 1 MB blocks, as in a process with little left.
TEST_F(FormFileTest, ADamagedSizeRaisesTheFormFileErrorAtItsLine) {
  RegisterClass(&TSizedWidget::StaticClass());
  TPublish<TSizedWidget> P;
  P.Prop("Capacity", &TSizedWidget::Capacity, &TSizedWidget::SetCapacity);
  P.Prop("Slots", &TSizedWidget::Slots, &TSizedWidget::SetSlots);
  P.Prop("Buffer", &TSizedWidget::Buffer, &TSizedWidget::SetBuffer);
  auto Unregister = ScopeExit([] {
    UnRegisterPublished(&TSizedWidget::StaticClass());
    UnRegisterClass(&TSizedWidget::StaticClass());
  });
  // Picture data: the graphic's class name, then its file.
  auto Picture = [](const std::string& Class, const std::string& Bytes) {
    std::string Data = HexOf({{static_cast<unsigned>(Class.size()), 1}});
    for (char C : Class) Data += HexOf({{static_cast<unsigned char>(C), 1}});
    return "Picture.Data = hex " + Data + Bytes;
  };
  // A metafile header (type, size, bounds, frame, signature, version) claiming 256 MB.
  const std::string Metafile = HexOf({{1, 4}, {88, 4}, {0, 32}}) +
                               HexOf({{0x464D4520, 4}, {0x10000, 4}, {0x0FFFFFFF, 4}});
  // An icon directory of one image that claims 16 MB at offset 22.
  const std::string Icon = HexOf({{0, 2}, {1, 2}, {1, 2}, {32, 1}, {32, 1}, {0, 2}}) +
                           HexOf({{1, 2}, {32, 2}, {0xFFFFFF, 4}, {22, 4}});
  // A bitmap's file and info headers: 32768 x 32768 pixels of 32 bits, and no pixels.
  const std::string Bitmap = HexOf({{0x4D42, 2}, {54, 4}, {0, 4}, {54, 4}, {40, 4}}) +
                             HexOf({{0x8000, 4}, {0x8000, 4}, {1, 2}, {32, 2}, {0, 24}});
  struct TCase {
    std::string Component, Line, Detail;
  };
  const AnsiString Widget = "wgtA: TSizedWidget", Image = "imgA: TImage";
  const AnsiString Data = "Invalid value for property Picture.Data ";
  const std::vector<TCase> Cases = {
      {Widget, "Capacity = 2147483647",
       "Invalid value 2147483647 for property Capacity (List capacity out of bounds "
       "(2147483647))"},
      {Widget, "Slots = 1000000",
       "Invalid value 1000000 for property Slots (Out of memory)"},
      {Widget, "Buffer = 2000000", "Out of memory"},
      {Image, Picture("TMetafile", Metafile), Data + "(Metafile is not valid)"},
      {Image, Picture("TIcon", Icon), Data + "(Icon image is not valid)"},
      {Image, Picture("TBitmap", Bitmap), Data + "(Bitmap image is not valid)"},
  };
  // Binary data of 1.28 MB, which fails while the file is parsed.
  std::string Block =
      "form frmBad: TTestForm\n  component wgtA: TTestWidget\n    Blob = hex\n";
  for (int Line = 0; Line < 10000; ++Line) Block += "      " + std::string(256, 'A') + "\n";
  Block += "    end\n  end\nend\n";
  TBlockLimit Limit(1 << 20);
  for (const TCase& Case : Cases) {
    const std::string Text = "form frmBad: TTestForm\n  component " + Case.Component +
                             "\n    " + Case.Line + "\n  end\nend\n";
    const std::string Name = Case.Component.substr(0, 4);
    EXPECT_EQ(ReadError(Text), "Form Bad, component " + Name + ", line 3: " + Case.Detail);
  }
  // The parse fails at the line that was being read.
  const std::string Message = ReadError(Block);
  EXPECT_EQ(Message.rfind("Form Bad, component wgtA, line ", 0), 0u) << Message;
  EXPECT_EQ(Message.substr(Message.size() - 15), ": Out of memory") << Message;
}

// ---------------------------------------------------------------------------------
// Published properties by name

TEST_F(FormFileTest, PublishedPropertiesAreFoundByNameOnTheClassAndItsAncestors) {
  EXPECT_TRUE(IsPublishedProp(&TLabel::StaticClass(), "FocusControl"));
  EXPECT_TRUE(IsPublishedProp(&TLabel::StaticClass(), "caption"));
  EXPECT_TRUE(IsPublishedProp(&TSpinEdit::StaticClass(), "OnChange"));
  EXPECT_FALSE(IsPublishedProp(&TLabel::StaticClass(), "ThemeEngine"));
  EXPECT_FALSE(IsPublishedProp(&TButton::StaticClass(), "FocusControl"));

  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  EXPECT_EQ(GetEnumProp(Form->pnlTop, "Align"), "alTop");
  SetEnumProp(Form->pnlTop, "align", "alBottom");
  EXPECT_EQ(Form->pnlTop->Align(), alBottom);
  SetObjectProp(Form->wgtMain, "Target", Form->chkX);
  EXPECT_EQ(Form->wgtMain->Target(), Form->chkX);
  SetStrProp(Form->lblName, "Caption", "&Label");
  EXPECT_EQ(GetStrProp(Form->lblName, "Caption"), "&Label");
  ExpectRaises<EPropertyError>([&] { GetOrdProp(Form->lblName, "ThemeEngine"); },
                               "Property ThemeEngine does not exist");
  ExpectRaises<EPropertyConvertError>([&] { SetOrdProp(Form->pnlTop, "Align", 42); },
                                      "Property value out of range");
  ExpectRaises<EPropertyConvertError>([&] { SetObjectProp(Form->lblName, "FocusControl", Form->lblName); },
                                      "Invalid property value");

  // The class's own properties after its ancestors', the events after everything.
  std::vector<const TPropInfo*> List = GetPropList(&TCheckBox::StaticClass());
  ASSERT_FALSE(List.empty());
  EXPECT_EQ(List.front()->Name, "Tag");
  EXPECT_EQ(List.back()->Kind, tkMethod);
  bool SeenEvent = false;
  for (const TPropInfo* Info : List) {
    if (Info->Kind == tkMethod) SeenEvent = true;
    EXPECT_TRUE(!SeenEvent || Info->Kind == tkMethod) << Info->Name << " after an event";
  }
}

// A check box whose caption, registered again and moved, follows a value of its own.
class TMovedCaptionBox : public TCheckBox {
  TCLASS_DECL(TMovedCaptionBox, TCheckBox)
 public:
  using TCheckBox::TCheckBox;
  int Extra() const { return FExtra; }
  void SetExtra(int Value) { FExtra = Value; }

 private:
  int FExtra = 0;
};
TCLASS_IMPL(TMovedCaptionBox)

TEST_F(FormFileTest, AMovedPropertyFollowsTheClassesOwnAndOnlyThere) {
  auto Names = [](TClass Class) {
    std::vector<AnsiString> Result;
    for (const TPropInfo* Info : GetPropList(Class)) Result.push_back(Info->Name);
    return Result;
  };
  const std::vector<AnsiString> Before = Names(&TCheckBox::StaticClass());
  TPublish<TMovedCaptionBox> P;
  P.Prop("Extra", &TMovedCaptionBox::Extra, &TMovedCaptionBox::SetExtra);
  P.Prop("Caption", &TCustomCheckBox::Caption, &TCustomCheckBox::SetCaption).Moved();
  auto Unregister =
      ScopeExit([] { UnRegisterPublished(&TMovedCaptionBox::StaticClass()); });
  const std::vector<AnsiString> After = Names(&TMovedCaptionBox::StaticClass());
  ASSERT_EQ(Before.size() + 1, After.size());
  auto Extra = std::find(After.begin(), After.end(), "Extra");
  ASSERT_NE(After.end(), Extra);
  ASSERT_NE(After.end(), Extra + 1);
  EXPECT_EQ("Caption", *(Extra + 1));
  EXPECT_EQ(1, std::count(After.begin(), After.end(), "Caption"));
  // The ancestor keeps its order.
  EXPECT_EQ(Before, Names(&TCheckBox::StaticClass()));
}

// A widget that starts with one item.
class TStockedWidget : public TTestWidget {
  TCLASS_DECL(TStockedWidget, TTestWidget)
 public:
  explicit TStockedWidget(TComponent* AOwner) : TTestWidget(AOwner) { Items()->Add(); }
};
TCLASS_IMPL(TStockedWidget)

// What a read starts from (the anchors an alignment sets, the items a component makes)
// does not stand in for what the file was written from, and a control far off keeps
// its place.
TEST_F(FormFileTest, AFileReadAndWrittenAgainHoldsWhatItsComponentsHeld) {
  RegisterClass(&TStockedWidget::StaticClass());
  auto Unregister = ScopeExit([] { UnRegisterClass(&TStockedWidget::StaticClass()); });
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("HeldForm");
  auto* Aligned = NewObject<TPanel>(Form.get());
  Aligned->SetName("pnlAligned");
  Aligned->SetParent(Form.get());
  Aligned->SetAlign(alBottom);
  Aligned->SetAnchors(AnchorsDefault);
  auto* Far = NewObject<TPanel>(Form.get());
  Far->SetName("pnlFar");
  Far->SetParent(Form.get());
  Far->SetAnchors({akLeft});
  Far->SetBounds(0, -2147483647 - 1, 185, 1);
  auto* Widget = NewObject<TStockedWidget>(Form.get());
  Widget->SetName("wgtEmpty");
  Widget->Items()->Clear();

  const AnsiString Text = WriteComponentText(Form.get());
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "HeldForm");
  // Its window made, the form places its children by their anchors.
  Copy->HandleNeeded();
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
  EXPECT_EQ(AnchorsDefault, ObjectAs<TPanel>(Copy->FindComponent("pnlAligned"))->Anchors())
      << Text.c_str();
  EXPECT_EQ(-2147483647 - 1, ObjectAs<TPanel>(Copy->FindComponent("pnlFar"))->Top())
      << Text.c_str();
  EXPECT_EQ(0, ObjectAs<TStockedWidget>(Copy->FindComponent("wgtEmpty"))->Items()->Count())
      << Text.c_str();
}

// A hand-edited file may give a property before another whose setter implies it, or
// before the one it needs: the value read first stands. Align written alone still
// brings the anchors it implies.
TEST_F(FormFileTest, AValueAHandEditedFileGivesOutOfTheWrittenOrderStands) {
  const char* Source =
      "form frmOrder: TForm\n"
      "  component pnlHand: TPanel\n"
      "    Anchors = [akRight, akBottom]\n"
      "    Align = alClient\n"
      "    component lblHand: TLabel\n"
      "      Anchors = [akTop]\n"
      "      Align = alBottom\n"
      "    end\n"
      "    component btnWritten: TButton\n"
      "      Align = alTop\n"
      "      Anchors = [akLeft]\n"
      "    end\n"
      "    component btnAligned: TButton\n"
      "      Align = alRight\n"
      "    end\n"
      "    component cbxEarly: TComboBox\n"
      "      Style = csDropDownList\n"
      "      ItemIndex = 1\n"
      "      Items = lines\n"
      "        \"Top\"\n"
      "        \"Bottom\"\n"
      "      end\n"
      "    end\n"
      "    component lstEarly: TListBox\n"
      "      ItemIndex = 2\n"
      "      Items = lines\n"
      "        \"One\"\n"
      "        \"Two\"\n"
      "        \"Three\"\n"
      "      end\n"
      "    end\n"
      "  end\n"
      "end\n";
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Form.get(), Source, "Order");
  const auto AnchorsOf = [&](const char* Name) {
    auto* Control = ObjectAs<TControl>(Form->FindComponent(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control ? Control->Anchors() : TAnchors{};
  };
  EXPECT_EQ(AnchorsOf("pnlHand"), (TAnchors{akRight, akBottom}));
  EXPECT_EQ(AnchorsOf("lblHand"), (TAnchors{akTop}));
  EXPECT_EQ(AnchorsOf("btnWritten"), (TAnchors{akLeft}));
  EXPECT_EQ(AnchorsOf("btnAligned"), AnchorAlign(alRight));
  auto* Combo = ObjectAs<TComboBox>(Form->FindComponent("cbxEarly"));
  auto* List = ObjectAs<TListBox>(Form->FindComponent("lstEarly"));
  ASSERT_TRUE(Combo && List);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Combo->Text(), "Bottom");
  EXPECT_EQ(List->ItemIndex(), 2);
  Combo->HandleNeeded();
  List->HandleNeeded();
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(List->ItemIndex(), 2);
  // Written again, each reads back the same.
  const AnsiString Text = WriteComponentText(Form.get());
  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "Order");
  for (const char* Name : {"pnlHand", "lblHand", "btnWritten", "btnAligned"})
    EXPECT_EQ(ObjectAs<TControl>(Copy->FindComponent(Name))->Anchors(), AnchorsOf(Name)) << Name << Text.c_str();
  EXPECT_EQ(ObjectAs<TComboBox>(Copy->FindComponent("cbxEarly"))->ItemIndex(), 1) << Text.c_str();
  EXPECT_EQ(ObjectAs<TListBox>(Copy->FindComponent("lstEarly"))->ItemIndex(), 2) << Text.c_str();
  // In code Align still sets the anchors it implies.
  auto* Panel = ObjectAs<TControl>(Form->FindComponent("pnlHand"));
  Panel->SetAlign(alLeft);
  EXPECT_EQ(Panel->Anchors(), AnchorAlign(alLeft));
}

TEST_F(FormFileTest, FieldsFollowTheNamesAndLivesOfTheirComponents) {
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr));
  TEdit* Old = Form->edtName;
  Old->SetName("edtOld");
  EXPECT_EQ(Form->edtName, nullptr);
  auto* Replacement = NewObject<TEdit>(Form.get());
  Replacement->SetName("edtName");
  EXPECT_EQ(Form->edtName, Replacement);
  // A component of another class leaves the field empty.
  Replacement->SetName("edtOther");
  NewObject<TLabel>(Form.get())->SetName("edtName");
  EXPECT_EQ(Form->edtName, nullptr);
  Form->chkX->Free();
  EXPECT_EQ(Form->chkX, nullptr);
}

TEST_F(FormFileTest, AComponentMadeByClassNameReadsItsFormFile) {
  TOwned<TComponent> Frame(CreateComponentByClassName("TTestFrame", nullptr));
  auto* Typed = ObjectAs<TTestFrame>(Frame.get());
  ASSERT_NE(Typed, nullptr);
  ASSERT_NE(Typed->edtFrame, nullptr);
  EXPECT_EQ(Typed->edtFrame->Text(), "frame text");
  EXPECT_EQ(FormLog, (std::vector<std::string>{"loaded fraTest"}));
  EXPECT_TRUE(FormResourceExists(&TTestFrame::StaticClass()));
  EXPECT_FALSE(FormResourceExists(&TForm::StaticClass()));
  ExpectRaises<EClassNotFound>([] { CreateComponentByClassName("TNoSuchFrame", nullptr); },
                               "Class TNoSuchFrame not found");
}

// Nested components: Depth levels of widgets below the root, each "end" on its own line.
AnsiString NestedWidgets(int Depth) {
  AnsiString Text = "form frmTest: TTestForm\n";
  for (int I = 1; I <= Depth; ++I)
    Text += "component wgt" + IntToStr(I) + ": TTestWidget\n";
  for (int I = 0; I <= Depth; ++I) Text += "end\n";
  return Text;
}

TEST_F(FormFileTest, ComponentsNestedPastAThousandLevelsAreRefusedAtTheirLine) {
  EXPECT_EQ(ReadError(NestedWidgets(5000)),
            "Form Bad, component wgt1000, line 1002: Components and items nested more than "
            "1000 deep");
  TOwned<TTestForm> Form(NewObject<TTestForm>(nullptr, CreateNew));
  ReadComponentText(Form.get(), NestedWidgets(1000), "Deep");
  EXPECT_EQ(Form->ComponentCount(), 1000);

  // Collection items count as levels too.
  AnsiString Items = "form frmTest: TTestForm\ncomponent wgt: TTestWidget\n";
  for (int I = 0; I < 1000; ++I) Items += "Items = items\nitem\n";
  EXPECT_EQ(ReadError(Items),
            "Form Bad, component wgt, line 2002: Components and items nested more than "
            "1000 deep");
}

// Mutated form files, read into a widget or into the test form: a read either works or
// raises EFormFileError, and freeing the root leaves no component and no block behind.
TEST_F(FormFileTest, MutatedFilesReadOrRaiseEFormFileErrorAndLeaveNothing) {
  TOwned<TResourceStream> Resource(
      NewObject<TResourceStream>(HInstance, "TTESTFORM", RT_RCDATA));
  std::string FormText(static_cast<std::size_t>(Resource->Size()), '\0');
  Resource->ReadBuffer(FormText.data(), static_cast<int>(FormText.size()));
  const std::string WidgetText =
      "form wgtRoot: TTestWidget\n"
      "  Count = 7\n  Ratio = 0.25\n  Title = \"Tab\\there \\\\ \\x41\"\n"
      "  Options = [woFast, woLoud]\n  Mode = wmBusy\n  Color = clHighlight\n"
      "  Target = null\n"
      "  Lines = lines\n    \"one\"\n    \"two\"\n  end\n"
      "  Items = items\n    item\n      Caption = \"first\"\n      Width = 80\n    end\n"
      "    item\n      Caption = \"second\"\n    end\n  end\n"
      "  Blob = hex\n    DEADBEEF 0102\n  end\n  Note = \"defined text\"\n  OnPing = null\n"
      "  component wgtChild: TTestWidget\n    Count = -12\n    Ratio = 2E-3\n"
      "    Color = 0x80000005\n    Blob = hex DEADBEEF\n"
      "    component wgtGrandChild: TTestWidget\n      Mode = wmDone\n    end\n  end\n"
      "  # a comment\n"
      "end\n";
  const std::vector<std::string> Extra = {"component ",    "existing ", "end", "lines",
                                          "items",         "item",      "hex", "form ",
                                          ": TTestWidget", ": TPanel",  "null"};
  fuzz::TMutator Widgets({WidgetText}, 0x464F524Du, Extra);
  fuzz::TMutator Forms({FormText}, 0x5446524Du, Extra);

  // What a first read makes once (class data, shared caches) is made before counting.
  FormLog.reserve(64);
  auto Read = [&](const std::string& Text, bool IntoForm) {
    struct TClearLog {
      ~TClearLog() { FormLog.clear(); }  // after the root is freed
    } ClearLog;
    TOwned<TComponent> Root(IntoForm ? static_cast<TComponent*>(NewObject<TTestForm>(nullptr, CreateNew))
                                     : NewObject<TTestWidget>(nullptr));
    ReadComponentText(Root.get(), Text, "Mutated");
  };
  Read(WidgetText, false);
  Read(FormText, true);

  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  for (int Case = 0; Case < 2000; ++Case) {
    // Every eighth file is the test form's, with controls and a frame.
    const bool IntoForm = Case % 8 == 0;
    const std::string Text = IntoForm ? Forms.Next() : Widgets.Next();
    const int Before = Counter.Live();
    const int WidgetsBefore = TTestWidget::Live;
    const char* Fault = nullptr;
    try {
      Read(Text, IntoForm);
    } catch (const EFormFileError&) {
    } catch (...) {
      Fault = "an exception other than EFormFileError";
    }
    if (!Fault && TTestWidget::Live != WidgetsBefore) Fault = "widgets left alive";
    if (!Fault && Counter.Live() != Before) Fault = "blocks left allocated";
    if (Fault) Findings.Add(Fault, Text);
  }
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
  EXPECT_EQ(Log->Messages, std::vector<std::string>{}) << "errors while freeing a root";
}

}  // namespace
