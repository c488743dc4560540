// The tree list's node stream and the "Data" form property that carries it.
#include "treelist/dxTL_Stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/Memory.h"
#include "classlib/ScopeExit.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

// The list's own internals for a bulk read: nodes made and linked, and the texts of
// its plain text nodes set, without the per-node notifications that the update the
// read runs in would only repeat.
class TdxTreeListNodeLinker {
 public:
  // A new last node of Parent's children (the top level for nullptr); a child list
  // made here gets room for Expected nodes.
  static TdxTreeListNode* Append(TCustomdxTreeList* Tree, TdxTreeListNode* Parent,
                                 int Expected) {
    TdxTreeListNode* Node = Tree->CreateNode();
    if (!Parent) {
      Tree->FNodes.Add(Node);
    } else {
      Node->FParent = Parent;
      if (!Parent->FChildren) {
        Parent->FChildren = new TdxTreeListNodeList;
        Parent->FChildren->Reserve(Expected);
      }
      Parent->FChildren->Add(Node);
    }
    Tree->ShapeChanged();
    if (Parent) Parent->SetHasChildren(true);
    return Node;
  }
  static void ReserveTopLevel(TCustomdxTreeList* Tree, int More) {
    Tree->FNodes.Reserve(Tree->FNodes.Count() + More);
  }
  // What an insertion tells the list, for a node linked by Append.
  static void Inserted(TCustomdxTreeList* Tree, TdxTreeListNode* Node) {
    Tree->NodeInserted(Node);
  }
  // The cell texts of a node of the list's own text node class; nullptr for any other.
  static TdxTreeListTexts* Texts(TdxTreeListNode* Node) {
    if (Node->ClassType() != &TdxTreeListTextNode::StaticClass()) return nullptr;
    return &static_cast<TdxTreeListTextNode*>(Node)->FTexts;
  }
};

namespace {

// ---------------------------------------------------------------------------------
// Writing

// The bytes of a save, gathered in a buffer of a fixed size that goes to the stream
// each time it fills (the same memory over and over, not a growing block).
class TByteWriter {
 public:
  explicit TByteWriter(TStream* Stream) : FStream(Stream), FData(BufferSize) {}
  void Int(int Value) {
    char* P = Room(4);
    const auto U = static_cast<std::uint32_t>(Value);
    P[0] = static_cast<char>(U);
    P[1] = static_cast<char>(U >> 8);
    P[2] = static_cast<char>(U >> 16);
    P[3] = static_cast<char>(U >> 24);
  }
  void Bytes(const char* Data, std::size_t Count) {
    if (Count > BufferSize) {
      Flush();
      FStream->WriteBuffer(Data, static_cast<int>(Count));
    } else if (Count) {
      std::memcpy(Room(Count), Data, Count);
    }
  }
  void Flush() {
    if (FUsed) FStream->WriteBuffer(FData.data(), static_cast<int>(FUsed));
    FUsed = 0;
  }

 private:
  static constexpr std::size_t BufferSize = 1 << 16;
  // Count bytes (at most BufferSize) at the end, taken as used.
  char* Room(std::size_t Count) {
    if (BufferSize - FUsed < Count) Flush();
    char* P = FData.data() + FUsed;
    FUsed += Count;
    return P;
  }

  TStream* FStream;
  std::vector<char> FData;
  std::size_t FUsed = 0;
};

// Every node depth first (a parent before its children), without recursion.
template <class TVisit>
void VisitNodes(TdxTreeList* Tree, TVisit&& Visit) {
  // The path down to the node visited last: each node with its next child.
  struct TPlace {
    TdxTreeListNode* Node;
    int Next;
  };
  std::vector<TPlace> Path;
  for (int I = 0; I < Tree->Count(); ++I) {
    Path.push_back({Tree->Items(I), 0});
    Visit(Path.back().Node);
    while (!Path.empty()) {
      TPlace& Place = Path.back();
      if (Place.Next >= Place.Node->Count()) {
        Path.pop_back();
        continue;
      }
      TdxTreeListNode* Child = Place.Node->Items(Place.Next++);
      Visit(Child);
      Path.push_back({Child, 0});
    }
  }
}

int TextCountOf(TdxTreeListNode* Node) {
  if (Node->ClassType() == &TdxTreeListTextNode::StaticClass())
    return static_cast<TdxTreeListTextNode*>(Node)->TextCount();
  auto* Text = ObjectAs<TdxTreeListTextNode>(Node);
  return Text ? Text->TextCount() : 0;
}

// One node's record without its children. The indexes are read through the getters,
// so the image events decide what is written.
void PutNodeRecord(TByteWriter& Out, TdxTreeListNode* Node) {
  const int TextCount = TextCountOf(Node);
  Out.Int(NodeRecordSize);
  Out.Int(Node->ImageIndex());
  Out.Int(Node->SelectedIndex());
  Out.Int(Node->StateIndex());
  Out.Int(static_cast<int>(reinterpret_cast<std::uintptr_t>(Node->Data())));
  Out.Int(Node->Count());
  Out.Int(TextCount);
  for (int I = 0; I < TextCount; ++I) {
    const AnsiString S = Node->Strings(I);
    Out.Int(static_cast<int>(S.size()));
    Out.Bytes(S.data(), S.size());
  }
}

// ---------------------------------------------------------------------------------
// Reading

// Reads from the bytes left in the stream, taken in one piece (a memory stream's are
// read where they lie); Finish puts the stream's position after what was used.
class TNodeStreamReader {
 public:
  explicit TNodeStreamReader(TStream* Stream) : FStream(Stream), FStart(Stream->Position()) {
    const Int64 Left = Stream->Size() - FStart;
    Require(Left <= 0x7FFFFFFF);
    if (Left <= 0) return;
    FSize = static_cast<std::size_t>(Left);
    if (auto* Memory = ObjectAs<TCustomMemoryStream>(Stream)) {
      FData = static_cast<const char*>(Memory->Memory()) + FStart;
    } else {
      GrowOrRaise([&] { FCopy.resize(FSize); });
      Stream->ReadBuffer(FCopy.data(), static_cast<int>(Left));
      FData = FCopy.data();
    }
  }
  void Finish() { FStream->SetPosition(FStart + static_cast<Int64>(FPos)); }

  int ReadInt() {
    Require(BytesLeft() >= 4);
    const auto* B = reinterpret_cast<const unsigned char*>(FData + FPos);
    FPos += 4;
    return static_cast<int>(static_cast<std::uint32_t>(B[0]) | static_cast<std::uint32_t>(B[1]) << 8 |
                            static_cast<std::uint32_t>(B[2]) << 16 |
                            static_cast<std::uint32_t>(B[3]) << 24);
  }
  // A count of things each taking at least Each bytes of what is left.
  void CheckCount(int Count, int Each) {
    Require(Count >= 0 && static_cast<std::size_t>(Count) <= BytesLeft() / Each);
  }
  // Reads Node's record (not its children) and returns its child count. Texts, when
  // given, are the node's own texts, filled in place of its setter.
  int ReadNodeRecord(TdxTreeListNode* Node, bool OldFormat, TdxTreeListTexts* Texts) {
    const int Size = ReadInt();
    Require(Size >= NodeRecordSize && static_cast<std::size_t>(Size) <= BytesLeft());
    int Fields[6];
    for (int& Field : Fields) Field = ReadInt();
    FPos += static_cast<std::size_t>(Size - NodeRecordSize);
    Node->SetImageIndex(Fields[0]);
    Node->SetSelectedIndex(Fields[1]);
    Node->SetStateIndex(Fields[2]);
    Node->SetData(reinterpret_cast<void*>(static_cast<std::uintptr_t>(
        static_cast<std::uint32_t>(Fields[3]))));
    const int ChildCount = Fields[4];
    const int TextCount = Fields[5];
    CheckCount(TextCount, OldFormat ? 1 : 4);
    if (Texts) Texts->reserve(static_cast<std::size_t>(TextCount));
    AnsiString Text;
    for (int I = 0; I < TextCount; ++I) {
      int Length;
      if (OldFormat) {
        Require(BytesLeft() >= 1);
        Length = static_cast<unsigned char>(FData[FPos++]);
      } else {
        Length = ReadInt();
      }
      Require(Length >= 0 && static_cast<std::size_t>(Length) <= BytesLeft());
      if (Texts) {
        Texts->emplace_back(FData + FPos, static_cast<std::size_t>(Length));
      } else {
        Text.assign(FData + FPos, static_cast<std::size_t>(Length));
        Node->SetStrings(I, Text);
      }
      FPos += static_cast<std::size_t>(Length);
    }
    CheckCount(ChildCount, MinNodeBytes);
    return ChildCount;
  }

 private:
  std::size_t BytesLeft() const { return FSize - FPos; }
  // What the stream raises when it holds too little.
  static void Require(bool Condition) {
    if (!Condition) throw EReadError(SReadError);
  }

  TStream* FStream;
  Int64 FStart;
  AnsiString FCopy;  // the bytes of a stream that is not in memory
  const char* FData = nullptr;
  std::size_t FSize = 0;
  std::size_t FPos = 0;
};

// Makes the nodes a read fills. Inside an update they are linked in bulk and only the
// first is announced (it becomes top and focused when there is none; the auto-sort
// marks itself once): every further announcement would repeat what the update does
// at its end. Outside one, each node comes through Add or AddChild.
class TNodeMaker {
 public:
  explicit TNodeMaker(TdxTreeList* Tree) : FTree(Tree), FBulk(Tree->UpdateCount() > 0) {}

  void ExpectTopLevel(int Count) {
    if (FBulk) TdxTreeListNodeLinker::ReserveTopLevel(FTree, Count);
  }
  // Expected: how many children Parent gets in all.
  TdxTreeListNode* Make(TdxTreeListNode* Parent, int Expected) {
    if (!FBulk) return Parent ? Parent->AddChild() : FTree->Add();
    TdxTreeListNode* Node = TdxTreeListNodeLinker::Append(FTree, Parent, Expected);
    if (!FAnnounced) {
      FAnnounced = true;
      TdxTreeListNodeLinker::Inserted(FTree, Node);
    }
    return Node;
  }
  // Where the node's texts go directly; nullptr for its setter.
  TdxTreeListTexts* TextsOf(TdxTreeListNode* Node) const {
    return FBulk ? TdxTreeListNodeLinker::Texts(Node) : nullptr;
  }

 private:
  TdxTreeList* FTree;
  bool FBulk;
  bool FAnnounced = false;
};

}  // namespace

void WriteTreeListNodes(TdxTreeList* Tree, TStream* Stream) {
  // A memory stream gets its new size before the first byte, so that it grows once
  // instead of step by step. The size is foreseen from the texts the list's own text
  // nodes keep (a getter may answer otherwise), so the stream is cut back to where the
  // writing ended, however that went, on the way out.
  const Int64 OldSize = Stream->Size();
  bool Sized = false;
  auto CutBack = ScopeExit([&] {
    if (Sized) Stream->SetSize(std::max(OldSize, Stream->Position()));
  });
  if (ObjectAs<TMemoryStream>(Stream)) {
    Int64 End = Stream->Position() + 8;
    VisitNodes(Tree, [&](TdxTreeListNode* Node) {
      End += MinNodeBytes;
      if (const TdxTreeListTexts* Texts = TdxTreeListNodeLinker::Texts(Node)) {
        End += 4 * static_cast<Int64>(Texts->size());
        for (const AnsiString& Text : *Texts) End += static_cast<Int64>(Text.size());
      }
    });
    if (End > OldSize) {
      Sized = true;
      Stream->SetSize(End);
    }
  }
  TByteWriter Out(Stream);
  Out.Int(-1);
  Out.Int(Tree->Count());
  VisitNodes(Tree, [&](TdxTreeListNode* Node) { PutNodeRecord(Out, Node); });
  Out.Flush();
}

int ReadTreeListNodes(TdxTreeList* Tree, TStream* Stream) {
  TNodeStreamReader Reader(Stream);
  // The old format begins with the count itself.
  int Marker = Reader.ReadInt();
  int Count = Marker;
  if (Marker < 0)
    Count = Reader.ReadInt();
  else
    Marker = 0;
  Reader.CheckCount(Count, MinNodeBytes);
  const bool OldFormat = Marker == 0;
  TNodeMaker Maker(Tree);
  Maker.ExpectTopLevel(Count);
  // The nodes whose children are still to be read, with how many there are and how
  // many remain.
  struct TPlace {
    TdxTreeListNode* Node;
    int Total;
    int Left;
  };
  std::vector<TPlace> Path;
  auto ReadNode = [&](TdxTreeListNode* Node) {
    if (int Children = Reader.ReadNodeRecord(Node, OldFormat, Maker.TextsOf(Node)))
      Path.push_back({Node, Children, Children});
  };
  for (int I = 0; I < Count; ++I) {
    ReadNode(Maker.Make(nullptr, Count));
    while (!Path.empty()) {
      TPlace& Place = Path.back();
      if (Place.Left == 0) {
        Path.pop_back();
        continue;
      }
      --Place.Left;
      ReadNode(Maker.Make(Place.Node, Place.Total));
    }
  }
  Reader.Finish();
  return Marker;
}

// ---------------------------------------------------------------------------------
// The form property

void TdxTreeList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Data", TStreamProc::Bind<&TdxTreeList::ReadData>(this),
                              TStreamProc::Bind<&TdxTreeList::WriteData>(this), Count() > 0);
}

void TdxTreeList::WriteData(TStream* Stream) { WriteTreeListNodes(this, Stream); }

void TdxTreeList::ReadData(TStream* Stream) {
  // One update: the insertions only mark an automatic re-sort, which runs once at
  // its end; the first node read is still the top and the focused node.
  TUpdateScope Updating(this);
  ClearNodes();
  FStreamMarker = ReadTreeListNodes(this, Stream);
}
