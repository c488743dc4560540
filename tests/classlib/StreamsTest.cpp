#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "classlib/Graphics.h"
#include "classlib/Streams.h"
#include "classlib/StringLists.h"
#include "tests/classlib/UiTestSupport.h"
#include "tests/support/MemorySupport.h"

using uitest::TempPath;

namespace {

AnsiString Text(TCustomMemoryStream* M) {
  return AnsiString(static_cast<const char*>(M->Memory()), static_cast<std::size_t>(M->Size()));
}

}  // namespace

TEST(MemoryStreamTest, GrowsAsItIsWritten) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  for (int Round = 0; Round < 50; ++Round)
    M->WriteBuffer(AnsiString(1000, char(Round)).data(), 1000);
  const AnsiString Data = Text(M.get());
  EXPECT_EQ(Data.size(), 50000u);
  EXPECT_EQ((AnsiString{Data[0], Data[12345], Data[49999]}), (AnsiString{0, 12, 49}));
}

TEST(MemoryStreamTest, SeekReadAndWritePastTheEnd) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  M->WriteBuffer("0123456789", 10);
  EXPECT_EQ(M->Seek(-4, soEnd), 6);
  char Buf[20] = {};
  EXPECT_EQ(M->Read(Buf, 20), 4);
  EXPECT_STREQ(Buf, "6789");
  EXPECT_EQ(M->Seek(-8, soCurrent), 2);
  // A read beyond the end reads nothing; writing there fills the gap with zeros.
  M->SetPosition(15);
  EXPECT_EQ(M->Read(Buf, 1), 0);
  M->WriteBuffer("X", 1);
  EXPECT_EQ(Text(M.get()).substr(9), AnsiString("9\0\0\0\0\0X", 7));
  M->SetPosition(14);
  ExpectRaises<EReadError>([&] { M->ReadBuffer(Buf, 3); }, "Stream read error");
  M->SetSize(3);
  EXPECT_EQ(M->Position(), 3) << "the position follows a shorter end";
  EXPECT_EQ(Text(M.get()), "012");
}

TEST(MemoryStreamTest, LoadAndCopyFromTakeAllOrPart) {
  TOwned<TStringStream> Source(NewObject<TStringStream>("0123456789"));
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  Source->SetPosition(4);
  M->LoadFromStream(Source.get());
  EXPECT_EQ(M->Position(), 0);
  EXPECT_EQ(Text(M.get()), "0123456789");
  M->Clear();
  Source->Seek(0, soEnd);
  EXPECT_EQ(M->CopyFrom(Source.get(), 0), 10) << "0 copies the whole source from its start";
  Source->SetPosition(2);
  EXPECT_EQ(M->CopyFrom(Source.get(), 3), 3);
  EXPECT_EQ(Text(M.get()), "0123456789234");
  EXPECT_THROW(M->CopyFrom(Source.get(), 100), EReadError);
}

TEST(MemoryStreamTest, CustomMemoryStreamIsReadOnly) {
  char Buffer[] = "fixed";
  TOwned<TCustomMemoryStream> M(NewObject<TCustomMemoryStream>());
  M->SetPointer(Buffer, 5);
  EXPECT_EQ(Text(M.get()), "fixed");
  ExpectRaises<EStreamError>([&] { M->Write("x", 1); }, "Can't write to a read-only memory stream");
  EXPECT_THROW(M->SetSize(2), EStreamError);
}

class FileStreamTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteFileA(Name.c_str()); }
  AnsiString Name = TempPath("StreamsTest_data.bin");
};

TEST_F(FileStreamTest, CreateWriteReopenAndTruncate) {
  {
    TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmCreate));
    F->WriteBuffer("hello\0world", 11);
  }
  {
    TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmOpenReadWrite));
    EXPECT_EQ(F->Size(), 11);
    F->Seek(6, soBeginning);
    F->WriteBuffer("WORLD", 5);
    F->SetSize(8);
  }
  {
    TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmOpenRead | fmShareDenyWrite));
    // The file is shared for reading only: a writer is refused.
    EXPECT_THROW(NewObject<TFileStream>(Name, fmOpenWrite)->Free(), EFOpenError);
  }
  TOwned<TMemoryStream> Loaded(NewObject<TMemoryStream>());
  Loaded->LoadFromFile(Name);
  EXPECT_EQ(Text(Loaded.get()), AnsiString("hello\0WO", 8));
  TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmCreate));
  EXPECT_EQ(F->Size(), 0) << "fmCreate empties an existing file";
}

TEST_F(FileStreamTest, MissingFileRaisesWithTheSystemMessage) {
  try {
    NewObject<TFileStream>(Name, fmOpenRead)->Free();
    FAIL() << "missing file opened";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(E.Message(),
              "Cannot open file \"" + Name + "\". " + SysErrorMessage(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SysErrorMessage(ERROR_FILE_NOT_FOUND).empty());
  }
  EXPECT_THROW(NewObject<TFileStream>(TempPath("StreamsTest_no-such-dir\\x.bin"), fmCreate)->Free(),
               EFCreateError);
}

TEST(ResourceStreamTest, MissingResourceRaisesResNotFound) {
  ExpectRaises<EResNotFound>(
      [] { NewObject<TResourceStream>(GetModuleHandleA(nullptr), "NO_SUCH", RT_RCDATA)->Free(); },
      "Resource NO_SUCH not found");
}

TEST(StringStreamTest, ReadsWritesAndSeeksInsideTheString) {
  TOwned<TStringStream> S(NewObject<TStringStream>());
  S->WriteString("alpha beta");
  S->SetPosition(0);
  EXPECT_EQ(S->ReadString(5), "alpha");
  EXPECT_EQ(S->ReadString(100), " beta");
  S->Seek(-4, soEnd);
  S->WriteString("BE");
  EXPECT_EQ(S->DataString(), "alpha BEta");
  EXPECT_EQ(S->Seek(50, soBeginning), 10);
  EXPECT_EQ(S->Seek(-50, soCurrent), 0);
  S->SetSize(5);
  EXPECT_EQ(S->DataString(), "alpha");
}

// A stream that says it holds 5,000,000,000 bytes (a file past 4 GB): Head, then "a".
class THugeStream : public TStream {
 public:
  explicit THugeStream(std::string AHead = std::string()) : FHead(std::move(AHead)) {}
  int Read(void* Buffer, int Count) override {
    auto* Out = static_cast<char*>(Buffer);
    for (int I = 0; I < Count; ++I, ++FPosition)
      Out[I] = FPosition < static_cast<Int64>(FHead.size()) ? FHead[FPosition] : 'a';
    return Count;
  }
  int Write(const void*, int) override { return 0; }
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override {
    FPosition = Origin == soBeginning ? Offset
                : Origin == soCurrent ? FPosition + Offset
                                      : 5000000000LL + Offset;
    return FPosition;
  }
  void SetSize(Int64) override {}

 private:
  std::string FHead;
  Int64 FPosition = 0;
};

// Sizes and counts past what a stream, a list of lines or a bitmap can hold raise the
// class library's own errors, and the string stream keeps what it held; a negative
// count to copy reads nothing, as a read of it would.
TEST(StringStreamTest, SizesPastWhatItHoldsRaiseTheClassLibrarysErrors) {
  const std::string Big(2 << 20, 'x');
  TOwned<TStringStream> S(NewObject<TStringStream>("abc"));
  TOwned<TStringList> Lines(NewObject<TStringList>());
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>());
  THugeStream Huge;
  // A bitmap file header without a size of its own: the rest of the stream is its.
  THugeStream HugeBitmap(std::string("BM\0\0\0\0\0\0\0\0\x36\0\0\0", 14));
  TBlockLimit Limit(1 << 20);
  ExpectRaises<EStreamError>([&] { S->SetSize(5000000000LL); }, SMemoryStreamError);
  ExpectRaises<EStreamError>([&] { S->SetSize(2000000); }, SMemoryStreamError);
  S->SetPosition(3);
  ExpectRaises<EStreamError>([&] { S->Write(Big.data(), static_cast<int>(Big.size())); },
                             SMemoryStreamError);
  EXPECT_EQ(S->DataString(), "abc");
  EXPECT_EQ(S->Position(), 3);
  ExpectRaises<EReadError>([&] { S->CopyFrom(&Huge, -1); }, SReadError);
  ExpectRaises<EOutOfMemory>([&] { Lines->LoadFromStream(&Huge); }, "Out of memory");
  EXPECT_EQ(Lines->Count(), 0);
  ExpectRaises<EOutOfMemory>([&] { Bitmap->LoadFromStream(&HugeBitmap); }, "Out of memory");
}
