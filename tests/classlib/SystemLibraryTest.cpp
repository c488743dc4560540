// System libraries come from the system folder only: through the flag that restricts
// the search to it, or by their full path there where the system refuses the flag;
// never by the bare name, which the search would look up in the program's folder first.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/StrUtils.h"
#include "classlib/SystemLibrary.h"

namespace {

std::string SystemFolder() {
  char Folder[MAX_PATH] = "";
  GetSystemDirectoryA(Folder, MAX_PATH);
  return Folder;
}

std::string ModuleFolder(HMODULE Module) {
  char Path[MAX_PATH] = "";
  GetModuleFileNameA(Module, Path, MAX_PATH);
  std::string Name = Path;
  return Name.substr(0, Name.find_last_of('\\'));
}

// A loader that records its calls and answers as an older system or a missing file.
struct TRecordedLoad {
  std::string FileName;
  DWORD Flags;
};
std::vector<TRecordedLoad> Loads;
DWORD RefusalError = ERROR_INVALID_PARAMETER;

HMODULE WINAPI RefusingLoader(LPCSTR FileName, HANDLE File, DWORD Flags) {
  Loads.push_back({FileName, Flags});
  if (Flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
    SetLastError(RefusalError);
    return nullptr;
  }
  return LoadLibraryExA(FileName, File, Flags);
}

class SystemLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Loads.clear();
    RefusalError = ERROR_INVALID_PARAMETER;
  }
  void TearDown() override { LoadLibraryExProc = LoadLibraryExA; }
};

TEST_F(SystemLibraryTest, LoadsTheLibraryOfTheSystemFolder) {
  HMODULE Library = LoadSystemLibrary("msimg32.dll");
  ASSERT_NE(Library, nullptr);
  EXPECT_TRUE(SameText(ModuleFolder(Library), SystemFolder())) << ModuleFolder(Library);
  EXPECT_NE(GetProcAddress(Library, "GradientFill"), nullptr);
  FreeLibrary(Library);
}

TEST_F(SystemLibraryTest, AMissingLibraryOrANameWithAFolderLoadsNothing) {
  EXPECT_EQ(LoadSystemLibrary("no-such-library.dll"), nullptr);
  for (const char* Name : {"", "..\\msimg32.dll", "C:msimg32.dll", "sub/msimg32.dll"}) {
    EXPECT_EQ(LoadSystemLibrary(Name), nullptr) << Name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << Name;
  }
  EXPECT_EQ(LoadSystemLibrary(nullptr), nullptr);
}

// Where the flag is refused the full path in the system folder is loaded, and the bare
// name is never tried.
TEST_F(SystemLibraryTest, WhereTheFlagIsRefusedTheFullPathIsLoaded) {
  LoadLibraryExProc = RefusingLoader;
  HMODULE Library = LoadSystemLibrary("msimg32.dll");
  ASSERT_NE(Library, nullptr);
  FreeLibrary(Library);
  ASSERT_EQ(Loads.size(), 2u);
  EXPECT_EQ(Loads[0].FileName, "msimg32.dll");
  EXPECT_EQ(Loads[0].Flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
  EXPECT_TRUE(SameText(Loads[1].FileName, SystemFolder() + "\\msimg32.dll")) << Loads[1].FileName;
}

TEST_F(SystemLibraryTest, AMissingLibraryUnderTheFlagIsNotLookedForElsewhere) {
  LoadLibraryExProc = RefusingLoader;
  RefusalError = ERROR_MOD_NOT_FOUND;
  EXPECT_EQ(LoadSystemLibrary("msimg32.dll"), nullptr);
  EXPECT_EQ(Loads.size(), 1u);
}

}  // namespace
