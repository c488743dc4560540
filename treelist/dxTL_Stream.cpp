// The tree list's node stream and the "Data" form property that carries it.
#include "treelist/dxTL_Stream.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/UpdateScope.h"
#include "treelist/dxTL.h"

namespace {

// ---------------------------------------------------------------------------------
// Writing

void PutInt(AnsiString& Buffer, int Value) {
  const auto U = static_cast<std::uint32_t>(Value);
  const char Bytes[4] = {static_cast<char>(U), static_cast<char>(U >> 8),
                         static_cast<char>(U >> 16), static_cast<char>(U >> 24)};
  Buffer.append(Bytes, 4);
}

// One node's record without its children. The indexes are read through the getters,
// so the image events decide what is written.
void PutNodeRecord(AnsiString& Buffer, TdxTreeListNode* Node) {
  auto* Text = ObjectAs<TdxTreeListTextNode>(Node);
  const int TextCount = Text ? Text->TextCount() : 0;
  PutInt(Buffer, NodeRecordSize);
  PutInt(Buffer, Node->ImageIndex());
  PutInt(Buffer, Node->SelectedIndex());
  PutInt(Buffer, Node->StateIndex());
  PutInt(Buffer, static_cast<int>(reinterpret_cast<std::uintptr_t>(Node->Data())));
  PutInt(Buffer, Node->Count());
  PutInt(Buffer, TextCount);
  for (int I = 0; I < TextCount; ++I) {
    const AnsiString S = Node->Strings(I);
    PutInt(Buffer, static_cast<int>(S.size()));
    Buffer += S;
  }
}

// The bytes go to the stream in pieces of about this size.
constexpr std::size_t FlushSize = 1 << 16;

void Flush(AnsiString& Buffer, TStream* Stream) {
  if (!Buffer.empty()) Stream->WriteBuffer(Buffer.data(), static_cast<int>(Buffer.size()));
  Buffer.clear();
}

// ---------------------------------------------------------------------------------
// Reading

// Reads from the bytes left in the stream, taken in one piece; Finish puts the
// stream's position after what was used.
class TNodeStreamReader {
 public:
  explicit TNodeStreamReader(TStream* Stream) : FStream(Stream), FStart(Stream->Position()) {
    const Int64 Left = Stream->Size() - FStart;
    Require(Left <= 0x7FFFFFFF);
    if (Left > 0) {
      FData.resize(static_cast<std::size_t>(Left));
      Stream->ReadBuffer(FData.data(), static_cast<int>(Left));
    }
  }
  void Finish() { FStream->SetPosition(FStart + static_cast<Int64>(FPos)); }

  int ReadInt() {
    Require(BytesLeft() >= 4);
    const auto* B = reinterpret_cast<const unsigned char*>(FData.data() + FPos);
    FPos += 4;
    return static_cast<int>(static_cast<std::uint32_t>(B[0]) | static_cast<std::uint32_t>(B[1]) << 8 |
                            static_cast<std::uint32_t>(B[2]) << 16 |
                            static_cast<std::uint32_t>(B[3]) << 24);
  }
  // A count of things each taking at least Each bytes of what is left.
  void CheckCount(int Count, int Each) {
    Require(Count >= 0 && static_cast<std::size_t>(Count) <= BytesLeft() / Each);
  }
  // Reads Node's record (not its children) and returns its child count.
  int ReadNodeRecord(TdxTreeListNode* Node, bool OldFormat) {
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
      Text.assign(FData, FPos, static_cast<std::size_t>(Length));
      FPos += static_cast<std::size_t>(Length);
      Node->SetStrings(I, Text);
    }
    CheckCount(ChildCount, MinNodeBytes);
    return ChildCount;
  }

 private:
  std::size_t BytesLeft() const { return FData.size() - FPos; }
  // What the stream raises when it holds too little.
  static void Require(bool Condition) {
    if (!Condition) throw EReadError(SReadError);
  }

  TStream* FStream;
  Int64 FStart;
  AnsiString FData;
  std::size_t FPos = 0;
};

}  // namespace

void WriteTreeListNodes(TdxTreeList* Tree, TStream* Stream) {
  AnsiString Buffer;
  PutInt(Buffer, -1);
  PutInt(Buffer, Tree->Count());
  // The path down to the node being written: each node with its next child.
  struct TPlace {
    TdxTreeListNode* Node;
    int Next;
  };
  std::vector<TPlace> Path;
  for (int I = 0; I < Tree->Count(); ++I) {
    Path.push_back({Tree->Items(I), 0});
    PutNodeRecord(Buffer, Path.back().Node);
    while (!Path.empty()) {
      TPlace& Place = Path.back();
      if (Place.Next >= Place.Node->Count()) {
        Path.pop_back();
        continue;
      }
      TdxTreeListNode* Child = Place.Node->Items(Place.Next++);
      PutNodeRecord(Buffer, Child);
      Path.push_back({Child, 0});
      if (Buffer.size() >= FlushSize) Flush(Buffer, Stream);
    }
    if (Buffer.size() >= FlushSize) Flush(Buffer, Stream);
  }
  Flush(Buffer, Stream);
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
  // The nodes whose children are still to be read, with how many remain.
  struct TPlace {
    TdxTreeListNode* Node;
    int Left;
  };
  std::vector<TPlace> Path;
  for (int I = 0; I < Count; ++I) {
    TdxTreeListNode* Node = Tree->Add();
    if (int Children = Reader.ReadNodeRecord(Node, OldFormat)) Path.push_back({Node, Children});
    while (!Path.empty()) {
      TPlace& Place = Path.back();
      if (Place.Left == 0) {
        Path.pop_back();
        continue;
      }
      --Place.Left;
      TdxTreeListNode* Child = Place.Node->AddChild();
      if (int Children = Reader.ReadNodeRecord(Child, OldFormat))
        Path.push_back({Child, Children});
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
