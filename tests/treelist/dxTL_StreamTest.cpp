// The tree list's node stream: the bytes of one node, a round trip through a form
// file, the old format, damaged streams (cut short, a huge length or count, a short
// record) refused with the nodes read so far kept, reading inside one update, and a
// chain a hundred thousand levels deep both ways.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/ExpectRaises.h"
#include "tests/support/MemorySupport.h"
#include "tests/treelist/DeepStack.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "treelist/dxTL_Stream.h"

using namespace uitest;

namespace {

class TStreamTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  int Sorts = 0;
  void SortNodesByColumn(int Level, int Column, bool Descending) override {
    ++Sorts;
    TdxTreeList::SortNodesByColumn(Level, Column, Descending);
  }
};

// Answers for column 0 a text other than the one kept: longer, or empty.
class TAnsweringTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  bool Longer = true;
  AnsiString GetNodeString(TdxTreeListNode* Node, int Column) override {
    const AnsiString Kept = TdxTreeList::GetNodeString(Node, Column);
    if (Column != 0) return Kept;
    return Longer ? Kept + "-and-more" : AnsiString();
  }
};

// Little-endian integers and bytes, as a stream holds them.
class TBytes {
 public:
  TBytes& Int(int Value) {
    for (int I = 0; I < 4; ++I) Data.push_back(static_cast<char>((Value >> (8 * I)) & 0xFF));
    return *this;
  }
  TBytes& Byte(int Value) {
    Data.push_back(static_cast<char>(Value));
    return *this;
  }
  TBytes& Text(const std::string& S) {
    Data += S;
    return *this;
  }
  // A node record of the current format, without children's records.
  TBytes& Node(int Children, const std::vector<std::string>& Texts, int Size = 24) {
    Int(Size).Int(1).Int(2).Int(3).Int(0x1234).Int(Children).Int(static_cast<int>(Texts.size()));
    for (int I = 24; I < Size; ++I) Byte(0xEE);
    for (const std::string& S : Texts) Int(static_cast<int>(S.size())).Text(S);
    return *this;
  }
  std::string Data;
};

// An image index getter that raises at one node.
class TRaisingImages : public TObject {
 public:
  TdxTreeListNode* At = nullptr;
  void Get(TObject*, TdxTreeListNode* Node, int& Index) {
    if (Node == At) throw Exception("no image");
    Index = 4;
  }
};

class TreeListStreamTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Tree = AddChild<TStreamTreeList>(ShownForm());
    Tree->SetName("tl");
    Tree->SetBounds(0, 0, 200, 150);
    Tree->HandleNeeded();
  }
  void TearDown() override {
    FreeAndNil(Tree);
    UiTest::TearDown();
  }
  std::string Written() {
    TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
    Tree->WriteData(Stream.get());
    return std::string(static_cast<const char*>(Stream->Memory()),
                       static_cast<std::size_t>(Stream->Size()));
  }
  void Read(const std::string& Bytes) {
    TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
    if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
    Stream->SetPosition(0);
    Tree->ReadData(Stream.get());
  }
  // Every node depth first as "text(children)".
  std::string Shape() {
    std::string Result;
    for (TdxTreeListNode* Node = Tree->GetFirstNode(); Node; Node = Node->GetNext())
      Result += std::string(Node->Strings(0).c_str()) + "(" + std::to_string(Node->Count()) + ")";
    return Result;
  }

  TStreamTreeList* Tree = nullptr;
};

TEST_F(TreeListStreamTest, OneNodeWritesItsFieldsAndTexts) {
  TdxTreeListNode* Node = Tree->Add();
  Node->SetImageIndex(1);
  Node->SetSelectedIndex(2);
  Node->SetStateIndex(3);
  Node->SetData(reinterpret_cast<void*>(0x1234));
  Node->SetStrings(0, "a");
  Node->SetStrings(1, "");
  EXPECT_EQ(Written(), TBytes().Int(-1).Int(1).Node(0, {"a", ""}).Data);
}

TEST_F(TreeListStreamTest, AFormFileCarriesTheNodesAndAnEmptyListWritesNone) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("frmData");
  auto* List = NewObject<TdxTreeList>(Form.get());
  List->SetName("treData");
  List->SetParent(Form.get());
  EXPECT_EQ(WriteComponentText(Form.get()).find("Data ="), AnsiString::npos);

  TdxTreeListNode* Top = List->Add();
  Top->SetStrings(0, "top");
  Top->SetImageIndex(4);
  TdxTreeListNode* Child = Top->AddChild();
  Child->SetStrings(0, "child");
  Child->SetStrings(1, std::string(40, 'x'));
  Child->SetData(reinterpret_cast<void*>(0xC0DE));
  List->Add()->SetStrings(0, "second");
  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_NE(Text.find("Data = hex"), AnsiString::npos);

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TdxTreeList>(Copy->FindComponent("treData"));
  ASSERT_NE(Read, nullptr);
  ASSERT_EQ(Read->Count(), 2);
  TdxTreeListNode* ReadTop = Read->Items(0);
  EXPECT_EQ(ReadTop->Strings(0), "top");
  EXPECT_EQ(ReadTop->ImageIndex(), 4);
  ASSERT_EQ(ReadTop->Count(), 1);
  EXPECT_EQ(ReadTop->Items(0)->Strings(1), std::string(40, 'x'));
  EXPECT_EQ(ReadTop->Items(0)->Data(), reinterpret_cast<void*>(0xC0DE));
  EXPECT_EQ(Read->Items(1)->Strings(0), "second");
  EXPECT_EQ(Read->FocusedNode(), ReadTop);
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
}

TEST_F(TreeListStreamTest, TheOldFormatReadsIntoTheSameTree) {
  TBytes Old;
  Old.Int(1);  // the count, no marker
  Old.Int(24).Int(1).Int(2).Int(3).Int(0x1234).Int(1).Int(2).Byte(3).Text("top").Byte(0);
  Old.Int(24).Int(5).Int(6).Int(7).Int(0).Int(0).Int(1).Byte(5).Text("child");
  Read(Old.Data);
  EXPECT_EQ(Tree->StreamMarker(), 0);
  EXPECT_EQ(Shape(), "top(1)child(0)");
  EXPECT_EQ(Tree->Items(0)->StateIndex(), 3);
  EXPECT_EQ(Tree->Items(0)->Items(0)->SelectedIndex(), 6);
  EXPECT_EQ(Written(), TBytes()
                           .Int(-1)
                           .Int(1)
                           .Node(1, {"top", ""})
                           .Int(24).Int(5).Int(6).Int(7).Int(0).Int(0).Int(1).Int(5).Text("child")
                           .Data);
}

TEST_F(TreeListStreamTest, ReadingReplacesTheNodesInsideOneUpdate) {
  Tree->Add()->SetStrings(0, "old");
  TdxTreeListColumn* Column = Tree->CreateColumn(&TdxTreeListColumn::StaticClass());
  Column->SetSorted(csUp);
  TdxTreeListOptionsEx Options = Tree->OptionsEx();
  Options.Include(aoAutoSortRefresh);
  Tree->SetOptionsEx(Options);
  Tree->Sorts = 0;
  Read(TBytes().Int(-1).Int(3).Node(0, {"c"}).Node(0, {"a"}).Node(0, {"b"}).Data);
  EXPECT_EQ(Tree->StreamMarker(), -1);
  EXPECT_EQ(Shape(), "a(0)b(0)c(0)");
  EXPECT_EQ(Tree->Sorts, 1);
  // The first node read became top and focused before the sort moved it.
  EXPECT_EQ(Tree->FocusedNode()->Strings(0), "c");
  EXPECT_EQ(Tree->UpdateCount(), 0);
}

TEST_F(TreeListStreamTest, DamagedStreamsRaiseAndKeepWhatWasRead) {
  const std::string Good = TBytes().Int(-1).Int(2).Node(1, {"a"}).Node(0, {"b"}).Node(0, {"c"}).Data;
  Read(Good);
  EXPECT_EQ(Shape(), "a(1)b(0)c(0)");

  // Cut short inside the last node's text: that node has its fields, not its text.
  ExpectRaises<EReadError>([&] { Read(Good.substr(0, Good.size() - 3)); }, "Stream read error");
  EXPECT_EQ(Shape(), "a(1)b(0)(0)");
  EXPECT_EQ(Tree->Items(1)->ImageIndex(), 1);
  EXPECT_EQ(Tree->UpdateCount(), 0);

  // A text length of 2^31-1, a text count and a child count past the bytes left, a
  // top-level count past them, and a record shorter than its fields.
  const std::vector<std::string> Damaged = {
      TBytes().Int(-1).Int(1).Int(24).Int(0).Int(0).Int(0).Int(0).Int(0).Int(1).Int(0x7FFFFFFF).Data,
      TBytes().Int(-1).Int(1).Int(24).Int(0).Int(0).Int(0).Int(0).Int(0).Int(1000000).Data,
      TBytes().Int(-1).Int(1).Int(24).Int(0).Int(0).Int(0).Int(0).Int(0x7FFFFFF0).Int(0).Data,
      TBytes().Int(-1).Int(0x40000000).Node(0, {}).Data,
      TBytes().Int(7).Node(0, {}).Data,
      TBytes().Int(-1).Int(1).Node(0, {}, 20).Data,
      TBytes().Int(-1).Int(1).Int(-5).Data,
  };
  for (std::size_t I = 0; I < Damaged.size(); ++I)
    EXPECT_THROW(Read(Damaged[I]), EReadError) << "case " << I;

  // A stream not in memory is taken in one piece: 2 GB - 1 bytes that memory cannot
  // give raise the class library's error.
  struct THugeStream : TStream {
    int Read(void*, int) override { return 0; }
    int Write(const void*, int) override { return 0; }
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override {
      return Origin == soEnd ? 0x7FFFFFFF + Offset : Offset;
    }
    void SetSize(Int64) override {}
  } Huge;
  {
    TBlockLimit Limit(1 << 20);
    ExpectRaises<EOutOfMemory>([&] { Tree->ReadData(&Huge); }, "Out of memory");
  }

  // A longer record is read whole; what lies past the six fields is passed over.
  Read(TBytes().Int(-1).Int(1).Node(0, {"long"}, 32).Data);
  EXPECT_EQ(Shape(), "long(0)");
}

TEST_F(TreeListStreamTest, AReadInsideAnUpdateLinksLikeAddAndAppendsAfterTheNodesThere) {
  const std::string Bytes =
      TBytes().Int(-1).Int(2).Node(2, {"a", "x"}).Node(0, {"b"}).Node(1, {"c"}).Node(0, {"d"}).Node(0, {"e"}).Data;
  // Outside an update each node comes through Add and AddChild: the reference.
  Tree->Add()->SetStrings(0, "old");
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Stream->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
  Stream->SetPosition(0);
  ReadTreeListNodes(Tree, Stream.get());
  const std::string Reference = Shape();
  const std::string ReferenceBytes = Written();
  ASSERT_EQ(Reference, "old(0)a(2)b(0)c(1)d(0)e(0)");

  Tree->ClearNodes();
  Tree->Add()->SetStrings(0, "old");
  Stream->SetPosition(0);
  Tree->BeginUpdate();
  ReadTreeListNodes(Tree, Stream.get());
  Tree->EndUpdate();
  EXPECT_EQ(Stream->Position(), Stream->Size());
  EXPECT_EQ(Shape(), Reference);
  EXPECT_EQ(Written(), ReferenceBytes);
  TdxTreeListNode* A = Tree->Items(1);
  ASSERT_EQ(A->Count(), 2);
  EXPECT_TRUE(A->HasChildren());
  EXPECT_EQ(A->Items(1)->Parent(), A);
  EXPECT_EQ(A->Items(1)->Index(), 1);
  EXPECT_EQ(A->Items(1)->GetPrevSibling(), A->Items(0));
  EXPECT_EQ(Tree->Items(2)->Index(), 2);
  EXPECT_EQ(A->Strings(1), "x");
  EXPECT_EQ(A->Items(1)->Items(0)->StateIndex(), 3);
  // The node that was there is still top and focused.
  EXPECT_EQ(Tree->FocusedNode(), Tree->Items(0));
  EXPECT_EQ(Tree->TopVisibleNode(), Tree->Items(0));
}

TEST_F(TreeListStreamTest, AMemoryStreamKeepsItsBytesPastTheWriteAndNoneAreAddedOnARaise) {
  Tree->Add()->SetStrings(0, "a");
  Tree->Add()->SetStrings(0, "b");
  const std::string Bytes = Written();
  // Written over the start of a longer stream: the bytes past it stay.
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  const std::string Old(200, 'x');
  Stream->WriteBuffer(Old.data(), static_cast<int>(Old.size()));
  Stream->SetPosition(4);
  Tree->WriteData(Stream.get());
  EXPECT_EQ(Stream->Position(), 4 + static_cast<Int64>(Bytes.size()));
  ASSERT_EQ(Stream->Size(), 200);
  const std::string After(static_cast<const char*>(Stream->Memory()), 200);
  EXPECT_EQ(After, Old.substr(0, 4) + Bytes + Old.substr(4 + Bytes.size()));

  // A getter that raises leaves the stream no longer than it was and what was there.
  TRaisingImages Images;
  Images.At = Tree->Items(1);
  Tree->OnGetImageIndex = TTLGetImageEvent::Bind<&TRaisingImages::Get>(&Images);
  Stream->SetPosition(190);
  EXPECT_THROW(Tree->WriteData(Stream.get()), Exception);
  EXPECT_EQ(Stream->Size(), 200);
  Stream->Clear();
  EXPECT_THROW(Tree->WriteData(Stream.get()), Exception);
  EXPECT_EQ(Stream->Size(), 0);
  Tree->OnGetImageIndex = nullptr;
}

TEST_F(TreeListStreamTest, TheWrittenTextsAreTheGettersAndTheStreamEndsWithThem) {
  // A memory stream sized ahead from the kept texts still ends where the getter's
  // texts end, longer or shorter; a string stream is read from a copy of its bytes.
  auto* List = AddChild<TAnsweringTreeList>(ShownForm());
  TdxTreeListNode* Top = List->Add();
  Top->SetStrings(0, "top");
  Top->SetStrings(1, "one");
  Top->AddChild()->SetStrings(0, "child");
  const std::string Expected = TBytes()
                                   .Int(-1).Int(1)
                                   .Int(24).Int(0).Int(-1).Int(-1).Int(0).Int(1).Int(2)
                                   .Int(12).Text("top-and-more").Int(3).Text("one")
                                   .Int(24).Int(0).Int(-1).Int(-1).Int(0).Int(0).Int(1)
                                   .Int(14).Text("child-and-more")
                                   .Data;
  for (bool Longer : {true, false}) {
    List->Longer = Longer;
    TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
    List->WriteData(Stream.get());
    std::string Bytes(static_cast<const char*>(Stream->Memory()), static_cast<std::size_t>(Stream->Size()));
    EXPECT_EQ(Stream->Position(), Stream->Size());
    if (Longer) {
      EXPECT_EQ(Bytes, Expected);
    } else {
      EXPECT_EQ(Bytes.size(), Expected.size() - 2 * 9 - 3 - 5);
    }
  }
  List->Longer = true;
  TOwned<TStringStream> Text(NewObject<TStringStream>(AnsiString("ab") + Expected));
  Text->SetPosition(2);
  Tree->ReadData(Text.get());
  EXPECT_EQ(Text->Position(), Text->Size());
  EXPECT_EQ(Shape(), "top-and-more(1)child-and-more(0)");
  EXPECT_EQ(Tree->Items(0)->Strings(1), "one");
  FreeAndNil(List);
}

TEST_F(TreeListStreamTest, AHundredThousandLevelChainStreamsBothWays) {
  deepstack::RunOnSmallStack([&] {
    constexpr int Depth = 100000;
    Tree->BeginUpdate();
    TdxTreeListNode* Node = Tree->Add();
    for (int Level = 1; Level < Depth; ++Level) {
      Node->SetStrings(0, "n");
      Node = Node->AddChild();
    }
    Node->SetStrings(0, "deepest");
    Tree->EndUpdate();
    const std::string Bytes = Written();
    EXPECT_EQ(Bytes.size(), 8u + (28u + 4u + 1u) * (Depth - 1) + 28u + 4u + 7u);
    Read(Bytes);
    TdxTreeListNode* Walk = Tree->Items(0);
    int Levels = 1;
    while (Walk->Count() == 1) {
      Walk = Walk->Items(0);
      ++Levels;
    }
    EXPECT_EQ(Levels, Depth);
    EXPECT_EQ(Walk->Strings(0), "deepest");
    Tree->ClearNodes();
  });
}

}  // namespace
