// No code of the module loads a library by the system's own search: the sources of every
// folder that goes into the module are read, and the one place that calls the loader is
// the class library's LoadSystemLibrary.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const SourceRoot = TARVIK_SOURCE_ROOT;
const char* const Folders[] = {"classlib", "treenode",  "editors", "treelist", "skin",
                               "pcb",      "framework", "wizard",  "module"};
const char* const HelperFile = "classlib/SystemLibrary.cpp";
const char* const Loaders[] = {"LoadLibraryA",   "LoadLibraryW",   "LoadLibrary",
                               "LoadLibraryExA", "LoadLibraryExW", "LoadLibraryEx"};

bool IsIdentChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_'; }

// The text without its line comments (a block comment never names a loader here).
std::string WithoutLineComments(const std::string& Text) {
  std::string Result;
  std::istringstream Lines(Text);
  for (std::string Line; std::getline(Lines, Line);) {
    const std::string::size_type Comment = Line.find("//");
    Result += Line.substr(0, Comment) + "\n";
  }
  return Result;
}

// The loaders the code names as whole words.
std::vector<std::string> LoadersNamed(const std::string& Code) {
  std::vector<std::string> Found;
  for (const char* Loader : Loaders) {
    const std::string Name = Loader;
    for (auto At = Code.find(Name); At != std::string::npos; At = Code.find(Name, At + 1)) {
      const auto After = At + Name.size();
      if ((At == 0 || !IsIdentChar(Code[At - 1])) &&
          (After >= Code.size() || !IsIdentChar(Code[After])))
        Found.push_back(Name);
    }
  }
  return Found;
}

TEST(SystemLibraryLoadsTest, OnlyTheClassLibrarysHelperCallsTheLoader) {
  EXPECT_EQ(LoadersNamed(WithoutLineComments("x = LoadLibraryA(\"a\"); // LoadLibraryW\n")),
            std::vector<std::string>{"LoadLibraryA"});
  EXPECT_TRUE(LoadersNamed(WithoutLineComments("y(); // LoadLibraryA(\"a\")\n")).empty());

  int Files = 0;
  bool HelperFound = false;
  for (const char* Folder : Folders) {
    for (const char* Pattern : {"*.cpp", "*.h"}) {
      WIN32_FIND_DATAA Found;
      const std::string Search = std::string(SourceRoot) + "/" + Folder + "/" + Pattern;
      HANDLE Find = FindFirstFileA(Search.c_str(), &Found);
      if (Find == INVALID_HANDLE_VALUE) continue;
      do {
        const std::string Name = std::string(Folder) + "/" + Found.cFileName;
        std::ifstream In(std::string(SourceRoot) + "/" + Name, std::ios::binary);
        std::stringstream Text;
        Text << In.rdbuf();
        ++Files;
        const std::vector<std::string> Named = LoadersNamed(WithoutLineComments(Text.str()));
        if (Name == HelperFile) {
          HelperFound = !Named.empty();
          continue;
        }
        for (const std::string& Loader : Named)
          ADD_FAILURE() << Name << " calls " << Loader << " instead of LoadSystemLibrary";
      } while (FindNextFileA(Find, &Found));
      FindClose(Find);
    }
  }
  EXPECT_GT(Files, 100) << "the sources were not found under " << SourceRoot;
  EXPECT_TRUE(HelperFound);
}

}  // namespace
