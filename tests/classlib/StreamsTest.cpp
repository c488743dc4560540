#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "classlib/Streams.h"

namespace {

AnsiString TempFileName(const char* Name) {
  char Dir[MAX_PATH];
  GetTempPathA(MAX_PATH, Dir);
  return AnsiString(Dir) + "StreamsTest_" + std::to_string(GetCurrentProcessId()) + "_" + Name;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Memory streams

TEST(MemoryStreamTest, GrowsAsItIsWritten) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  std::vector<Byte> Chunk(1000);
  for (int Round = 0; Round < 50; ++Round) {
    std::memset(Chunk.data(), Round, Chunk.size());
    M->WriteBuffer(Chunk.data(), 1000);
  }
  EXPECT_EQ(M->Size(), 50000);
  EXPECT_EQ(M->Position(), 50000);
  EXPECT_GE(M->Capacity(), 50000);
  const Byte* Data = static_cast<const Byte*>(M->Memory());
  EXPECT_EQ(Data[0], 0);
  EXPECT_EQ(Data[49999], 49);
  EXPECT_EQ(Data[12345], 12);
}

TEST(MemoryStreamTest, SeekAndReadPastTheEnd) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  M->WriteBuffer("0123456789", 10);
  EXPECT_EQ(M->Seek(-4, soEnd), 6);
  char Buf[20] = {};
  EXPECT_EQ(M->Read(Buf, 20), 4);
  EXPECT_STREQ(Buf, "6789");
  EXPECT_EQ(M->Read(Buf, 20), 0);
  EXPECT_EQ(M->Seek(-8, soCurrent), 2);
  EXPECT_EQ(M->Read(Buf, 3), 3);
  EXPECT_EQ(AnsiString(Buf, 3), "234");

  // A read beyond the end reads nothing; writing there fills the gap with zeros.
  M->SetPosition(15);
  EXPECT_EQ(M->Read(Buf, 1), 0);
  EXPECT_EQ(M->Size(), 10);
  M->WriteBuffer("X", 1);
  EXPECT_EQ(M->Size(), 16);
  const char* Data = static_cast<const char*>(M->Memory());
  EXPECT_EQ(AnsiString(Data + 9, 7), AnsiString("9\0\0\0\0\0X", 7));

  M->SetPosition(14);
  try {
    M->ReadBuffer(Buf, 3);
    FAIL() << "short read accepted";
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), "Stream read error");
  }
}

TEST(MemoryStreamTest, SetSizeClearAndLoad) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  M->WriteBuffer("abcdef", 6);
  M->SetSize(3);
  EXPECT_EQ(M->Position(), 3) << "the position follows a shorter end";
  EXPECT_EQ(AnsiString(static_cast<const char*>(M->Memory()), 3), "abc");
  M->SetSize(100000);
  EXPECT_EQ(M->Size(), 100000);
  EXPECT_EQ(AnsiString(static_cast<const char*>(M->Memory()), 3), "abc");

  TOwned<TStringStream> Source(NewObject<TStringStream>("loaded"));
  Source->SetPosition(4);
  M->LoadFromStream(Source.get());
  EXPECT_EQ(M->Size(), 6);
  EXPECT_EQ(M->Position(), 0);
  EXPECT_EQ(AnsiString(static_cast<const char*>(M->Memory()), 6), "loaded");

  M->Clear();
  EXPECT_EQ(M->Size(), 0);
  EXPECT_EQ(M->Memory(), nullptr);
}

TEST(MemoryStreamTest, CustomMemoryStreamIsReadOnly) {
  char Buffer[] = "fixed";
  TOwned<TCustomMemoryStream> M(NewObject<TCustomMemoryStream>());
  M->SetPointer(Buffer, 5);
  char Out[5];
  M->ReadBuffer(Out, 5);
  EXPECT_EQ(AnsiString(Out, 5), "fixed");
  try {
    M->Write("x", 1);
    FAIL() << "write accepted";
  } catch (const EStreamError& E) {
    EXPECT_EQ(E.Message(), "Can't write to a read-only memory stream");
  }
  EXPECT_THROW(M->SetSize(2), EStreamError);
}

TEST(MemoryStreamTest, CopyFromCopiesAllOrPart) {
  TOwned<TStringStream> Source(NewObject<TStringStream>("0123456789"));
  TOwned<TMemoryStream> Dest(NewObject<TMemoryStream>());
  Source->Seek(0, soEnd);
  EXPECT_EQ(Dest->CopyFrom(Source.get(), 0), 10) << "0 copies the whole source from its start";
  Source->SetPosition(2);
  EXPECT_EQ(Dest->CopyFrom(Source.get(), 3), 3);
  EXPECT_EQ(AnsiString(static_cast<const char*>(Dest->Memory()), 13), "0123456789234");
  EXPECT_THROW(Dest->CopyFrom(Source.get(), 100), EReadError);
}

// ---------------------------------------------------------------------------------
// File streams

class FileStreamTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteFileA(Name.c_str()); }
  AnsiString Name = TempFileName("data.bin");
};

TEST_F(FileStreamTest, CreateWriteReopenAndTruncate) {
  {
    TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmCreate));
    F->WriteBuffer("hello world", 11);
    EXPECT_EQ(F->Size(), 11);
    EXPECT_EQ(F->FileName(), Name);
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
    char Buf[16] = {};
    EXPECT_EQ(F->Read(Buf, 16), 8);
    EXPECT_EQ(AnsiString(Buf), "hello WO");
    // The file is shared for reading only: a writer is refused.
    EXPECT_THROW(NewObject<TFileStream>(Name, fmOpenWrite)->Free(), EFOpenError);
  }
  {
    TOwned<TFileStream> F(NewObject<TFileStream>(Name, fmCreate));
    EXPECT_EQ(F->Size(), 0) << "fmCreate empties an existing file";
  }
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
  AnsiString BadPath = TempFileName("no-such-dir\\x.bin");
  try {
    NewObject<TFileStream>(BadPath, fmCreate)->Free();
    FAIL() << "created in a missing folder";
  } catch (const EFCreateError& E) {
    EXPECT_EQ(E.Message(),
              "Cannot create file \"" + BadPath + "\". " + SysErrorMessage(ERROR_PATH_NOT_FOUND));
  }
}

TEST_F(FileStreamTest, MemoryStreamSavesAndLoadsFiles) {
  TOwned<TMemoryStream> M(NewObject<TMemoryStream>());
  M->WriteBuffer("saved\0bytes", 11);
  M->SaveToFile(Name);
  TOwned<TMemoryStream> Loaded(NewObject<TMemoryStream>());
  Loaded->LoadFromFile(Name);
  ASSERT_EQ(Loaded->Size(), 11);
  EXPECT_EQ(std::memcmp(Loaded->Memory(), "saved\0bytes", 11), 0);
}

// ---------------------------------------------------------------------------------
// Resource and string streams

TEST(ResourceStreamTest, MissingResourceRaisesResNotFound) {
  try {
    NewObject<TResourceStream>(GetModuleHandleA(nullptr), "NO_SUCH_RESOURCE", RT_RCDATA)->Free();
    FAIL() << "missing resource found";
  } catch (const EResNotFound& E) {
    EXPECT_EQ(E.Message(), "Resource NO_SUCH_RESOURCE not found");
  }
  EXPECT_THROW(NewObject<TResourceStream>(GetModuleHandleA(nullptr), 4711, RT_RCDATA)->Free(),
               EResNotFound);
}

TEST(StringStreamTest, RoundTrip) {
  TOwned<TStringStream> S(NewObject<TStringStream>());
  S->WriteString("alpha ");
  S->WriteString("beta");
  EXPECT_EQ(S->DataString(), "alpha beta");
  S->SetPosition(0);
  EXPECT_EQ(S->ReadString(5), "alpha");
  EXPECT_EQ(S->ReadString(100), " beta");
  EXPECT_EQ(S->ReadString(1), "");

  // Writing inside the string overwrites; seeking stays inside it.
  S->Seek(-4, soEnd);
  S->WriteString("BE");
  EXPECT_EQ(S->DataString(), "alpha BEta");
  EXPECT_EQ(S->Seek(50, soBeginning), 10);
  EXPECT_EQ(S->Seek(-50, soCurrent), 0);
  S->SetSize(5);
  EXPECT_EQ(S->DataString(), "alpha");

  TOwned<TStringStream> Copy(NewObject<TStringStream>(AnsiString("with\0nul", 8)));
  TOwned<TStringStream> Target(NewObject<TStringStream>());
  Target->CopyFrom(Copy.get(), 0);
  EXPECT_EQ(Target->DataString(), AnsiString("with\0nul", 8));
}
