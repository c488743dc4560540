#include "classlib/FileUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "classlib/StrUtils.h"

TEST(FileUtilsNames, PartsExtensionsAndDelimiters) {
  EXPECT_EQ(ExtractFilePath("C:file.txt"), "C:");
  EXPECT_EQ(ExtractFilePath("a/b\\c/d.txt"), "a/b\\c/");
  EXPECT_EQ(ExtractFileDir("C:\\file.txt"), "C:\\");
  EXPECT_EQ(ExtractFileDir("\\file.txt"), "\\");
  EXPECT_EQ(ExtractFileDir("a/b"), "a");
  EXPECT_EQ(ExtractFileName("C:file"), "file");
  EXPECT_EQ(ExtractFileName("dir/"), "");
  EXPECT_EQ(ExtractFileExt("C:\\dir.x\\file"), "");
  EXPECT_EQ(ExtractFileExt("C:\\dir.x/file"), "");
  EXPECT_EQ(ExtractFileExt("a.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("C:\\dir.x\\file", ".txt"), "C:\\dir.x\\file.txt");
  EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
  EXPECT_EQ(IncludeTrailingPathDelimiter("a/"), "a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\"), "C:");
}

TEST(FileUtilsSystem, CurrentDirModuleAndExpansion) {
  EXPECT_EQ(ExpandFileName("x.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + "x.txt");
  EXPECT_EQ(ExpandFileName("C:\\a\\..\\b\\.\\c"), "C:\\b\\c");
  EXPECT_EQ(ExpandFileName(""), "");
  EXPECT_TRUE(SameText(ExtractFileName(GetModuleFileNameStr(nullptr)), "classlib_tests.exe"));
}

// Each test works in its own new folder under the system's temporary folder.
class FileUtilsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char Temp[MAX_PATH + 1];
    ASSERT_NE(GetTempPathA(sizeof(Temp), Temp), 0u);
    static int Counter = 0;
    Root = AnsiString(Temp) + "FileUtilsTest" + IntToStr(GetCurrentProcessId()) + "_" +
           IntToStr(++Counter) + "\\";
    ASSERT_TRUE(CreateDirectoryA(Root.c_str(), nullptr)) << Root;
  }
  void TearDown() override {
    if (!Root.empty()) RemoveTree(Root);  // never the current folder
  }

  static void RemoveTree(const AnsiString& Dir) {
    WIN32_FIND_DATAA Data;
    HANDLE H = FindFirstFileA((Dir + "*").c_str(), &Data);
    if (H != INVALID_HANDLE_VALUE) {
      do {
        const AnsiString Name = Data.cFileName;
        if (Name == "." || Name == "..") continue;
        const AnsiString Full = Dir + Name;
        SetFileAttributesA(Full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(Full + "\\");
        else
          DeleteFileA(Full.c_str());
      } while (FindNextFileA(H, &Data));
      ::FindClose(H);
    }
    RemoveDirectoryA(Dir.c_str());
  }

  void MakeFile(const AnsiString& Name, const AnsiString& Content = "") {
    HANDLE H = CreateFileA((Root + Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(H, INVALID_HANDLE_VALUE) << Name;
    DWORD Written = 0;
    if (!Content.empty()) WriteFile(H, Content.data(), static_cast<DWORD>(Content.size()), &Written, nullptr);
    CloseHandle(H);
  }

  // Name and size of every entry FindFirst/FindNext report for Mask and Attr.
  std::map<AnsiString, Int64> Find(const AnsiString& Mask, int Attr) {
    std::map<AnsiString, Int64> Found;
    TSearchRec F;
    int Result = FindFirst(Root + Mask, Attr, F);
    while (Result == 0) {
      Found[F.Name] = F.Size;
      Result = FindNext(F);
    }
    EXPECT_EQ(Result, ERROR_NO_MORE_FILES);
    FindClose(F);
    EXPECT_EQ(F.FindHandle, INVALID_HANDLE_VALUE);
    return Found;
  }

  AnsiString Root;  // with a trailing delimiter
};

TEST_F(FileUtilsFiles, ExistenceCreationRenameAndDeletion) {
  MakeFile("f.txt");
  EXPECT_FALSE(DirectoryExists(Root + "f.txt"));
  EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(Root)));
  EXPECT_FALSE(FileExists(ExcludeTrailingPathDelimiter(Root)));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(ForceDirectories(Root + "a\\b/c\\"));
  EXPECT_TRUE(DirectoryExists(Root + "a\\b\\c"));
  EXPECT_TRUE(ForceDirectories(Root + "a\\b/c\\"));  // already there
  EXPECT_FALSE(ForceDirectories(Root + "f.txt\\sub"));
  EXPECT_FALSE(CreateDir(Root + "x\\y"));  // one level only
  EXPECT_FALSE(RemoveDir(Root + "a\\b"));  // not empty
  EXPECT_TRUE(RemoveDir(Root + "a\\b\\c"));
  EXPECT_TRUE(DeleteFileName(Root + "f.txt"));
  EXPECT_FALSE(DeleteFileName(Root + "f.txt"));
  MakeFile("old", "abc");
  MakeFile("taken");
  EXPECT_FALSE(RenameFile(Root + "old", Root + "taken"));
  EXPECT_TRUE(RenameFile(Root + "old", Root + "new"));
  EXPECT_TRUE(FileExists(Root + "new"));
}

TEST_F(FileUtilsFiles, FindFirstFiltersByAttribute) {
  MakeFile("a.txt", "abc");
  MakeFile("b.dat");
  MakeFile(".h.txt", "hh");
  ASSERT_TRUE(SetFileAttributesA((Root + ".h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(CreateDir(Root + "sub"));

  using Entries = std::map<AnsiString, Int64>;
  EXPECT_EQ(Find("*", 0), (Entries{{"a.txt", 3}, {"b.dat", 0}}));
  EXPECT_EQ(Find("*", faDirectory),
            (Entries{{".", 0}, {"..", 0}, {"a.txt", 3}, {"b.dat", 0}, {"sub", 0}}));
  EXPECT_EQ(Find("*", faHidden), (Entries{{".h.txt", 2}, {"a.txt", 3}, {"b.dat", 0}}));
  EXPECT_EQ(Find("*.txt", faAnyFile), (Entries{{".h.txt", 2}, {"a.txt", 3}}));
  EXPECT_EQ(Find("sub\\*", 0), Entries{});  // only "." and "..", both excluded
}

TEST_F(FileUtilsFiles, FindFirstReportsErrorsAndTimes) {
  TSearchRec F;
  EXPECT_EQ(FindFirst(Root + "none*", faAnyFile, F), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(F.FindHandle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirst(Root + "nofolder\\*", faAnyFile, F), ERROR_PATH_NOT_FOUND);

  // 2001-02-03 04:05:06 UTC is day 36925 plus 0.1702...; local time differs by whole
  // quarter hours, less than 15 hours.
  MakeFile("t.txt");
  SYSTEMTIME St{2001, 2, 6, 3, 4, 5, 6, 0};
  FILETIME Ft;
  ASSERT_TRUE(SystemTimeToFileTime(&St, &Ft));
  HANDLE H = CreateFileA((Root + "t.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(H, nullptr, nullptr, &Ft));
  CloseHandle(H);
  ASSERT_EQ(FindFirst(Root + "t.txt", 0, F), 0);
  const double Offset = F.Time - (36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0);
  EXPECT_LT(std::fabs(Offset), 15 / 24.0);
  EXPECT_NEAR(Offset * 96, std::round(Offset * 96), 1e-4);  // whole quarter hours
  FindClose(F);
}
