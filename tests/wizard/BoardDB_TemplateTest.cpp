// The board template held open while the PCB editor reads it: others may read it, no
// one may change, move or remove it.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/FileSupport.h"
#include "wizard/BoardDB_Template.h"

namespace {

class BoardTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = NewScratchFolder("tarvik-template-");
    ASSERT_FALSE(Folder.empty());
    Path = Folder + "Board.PcbDoc";
    WriteFileText(Path, "MerovanBoard 1\n");
  }
  void TearDown() override { RemoveScratchFolder(Folder); }

  std::string Folder, Path;
};

TEST_F(BoardTemplateTest, WhileHeldItCanBeReadButNotChangedMovedOrDeleted) {
  {
    TBoardTemplate Held(Path);
    EXPECT_EQ(FileText(Path), "MerovanBoard 1\n");
    HANDLE Writer = CreateFileA(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(Writer, INVALID_HANDLE_VALUE);
    if (Writer != INVALID_HANDLE_VALUE) CloseHandle(Writer);
    EXPECT_FALSE(DeleteFileA(Path.c_str()));
    EXPECT_FALSE(MoveFileA(Path.c_str(), (Folder + "Moved.PcbDoc").c_str()));
  }
  EXPECT_TRUE(DeleteFileA(Path.c_str()));
}

}  // namespace
