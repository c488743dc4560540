// Every GDI object of the class library and the kit goes through the counted factory:
// the sources are read and each call of a GDI creator is checked. Fonts, pens and
// brushes are made only by the shared cache; bitmaps, device contexts, regions,
// palettes, metafile recorders and image lists are counted in the statement that
// makes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const SourceRoot = TARVIK_SOURCE_ROOT;

// The one file that may make fonts, pens and brushes.
const char* const CacheFile = "classlib/Graphics_Cache.cpp";

const char* const LogicalObjectMakers[] = {
    "CreateFontA",         "CreateFontW",           "CreateFont",
    "CreateFontIndirectA", "CreateFontIndirectW",   "CreateFontIndirect",
    "CreateFontIndirectExA", "CreateFontIndirectExW", "CreatePen",
    "CreatePenIndirect",   "ExtCreatePen",          "CreateSolidBrush",
    "CreateBrushIndirect", "CreateHatchBrush",      "CreatePatternBrush",
    "CreateDIBPatternBrush", "CreateDIBPatternBrushPt",
};

const char* const CountedMakers[] = {
    "CreateCompatibleDC",  "CreateDCA",        "CreateDCW",        "CreateICA",
    "CreateDIBSection",    "CreateCompatibleBitmap", "CreateBitmap", "CreateBitmapIndirect",
    "CreateDIBitmap",      "CreateDiscardableBitmap", "CreateEnhMetaFileA",
    "CreateRectRgn",       "CreateRectRgnIndirect", "CreateRoundRectRgn", "CreateEllipticRgn",
    "CreateEllipticRgnIndirect", "CreatePolygonRgn", "CreatePolyPolygonRgn", "ExtCreateRegion",
    "CreatePalette",       "CreateHalftonePalette", "ImageList_Create",
};

struct TSourceFile {
  std::string Name;  // relative to the source root, with "/"
  std::string Code;  // comments and literals blanked
};

// The text with comments, string literals and character literals replaced by spaces
// (newlines kept), so that only code is searched.
std::string CodeOnly(const std::string& Text) {
  std::string Result = Text;
  enum { Code, Line, Block, String, Char } State = Code;
  for (std::size_t I = 0; I < Result.size(); ++I) {
    char C = Text[I];
    char Next = I + 1 < Text.size() ? Text[I + 1] : '\0';
    switch (State) {
      case Code:
        if (C == '/' && Next == '/') State = Line;
        else if (C == '/' && Next == '*') State = Block;
        else if (C == '"') State = String;
        else if (C == '\'') State = Char;
        else continue;
        Result[I] = ' ';
        break;
      case Line:
        if (C == '\n') State = Code;
        else Result[I] = ' ';
        break;
      case Block:
        if (C == '*' && Next == '/') {
          Result[I] = Result[I + 1] = ' ';
          ++I;
          State = Code;
        } else if (C != '\n') {
          Result[I] = ' ';
        }
        break;
      case String:
      case Char:
        if (C == '\\') {
          Result[I] = ' ';
          if (I + 1 < Result.size() && Next != '\n') Result[++I] = ' ';
        } else {
          if ((State == String && C == '"') || (State == Char && C == '\'')) State = Code;
          if (C != '\n') Result[I] = ' ';
        }
        break;
    }
  }
  return Result;
}

void ReadFolder(const std::string& Folder, std::vector<TSourceFile>& Files) {
  for (const char* Pattern : {"*.cpp", "*.h"}) {
    WIN32_FIND_DATAA Found;
    std::string Search = std::string(SourceRoot) + "/" + Folder + "/" + Pattern;
    HANDLE Find = FindFirstFileA(Search.c_str(), &Found);
    if (Find == INVALID_HANDLE_VALUE) continue;
    do {
      std::string Name = Folder + "/" + Found.cFileName;
      std::ifstream In(std::string(SourceRoot) + "/" + Name, std::ios::binary);
      std::stringstream Text;
      Text << In.rdbuf();
      Files.push_back(TSourceFile{Name, CodeOnly(Text.str())});
    } while (FindNextFileA(Find, &Found));
    FindClose(Find);
  }
}

std::vector<TSourceFile> KitAndLibrarySources() {
  std::vector<TSourceFile> Files;
  ReadFolder("classlib", Files);
  ReadFolder("skin", Files);
  return Files;
}

bool IsIdentChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_'; }

// The positions where Name is called (the name as a whole word, then "(").
std::vector<std::size_t> CallsOf(const std::string& Code, const std::string& Name) {
  std::vector<std::size_t> Result;
  for (std::size_t At = Code.find(Name); At != std::string::npos; At = Code.find(Name, At + 1)) {
    if (At > 0 && IsIdentChar(Code[At - 1])) continue;
    std::size_t After = At + Name.size();
    if (After < Code.size() && IsIdentChar(Code[After])) continue;
    while (After < Code.size() && std::isspace(static_cast<unsigned char>(Code[After]))) ++After;
    if (After < Code.size() && Code[After] == '(') Result.push_back(At);
  }
  return Result;
}

// The statement around a position: from after the last ";", "{" or "}" before it to
// the next ";".
std::string StatementAt(const std::string& Code, std::size_t At) {
  std::size_t Start = Code.find_last_of(";{}", At);
  Start = Start == std::string::npos ? 0 : Start + 1;
  std::size_t End = Code.find(';', At);
  return Code.substr(Start, (End == std::string::npos ? Code.size() : End) - Start);
}

int LineOf(const std::string& Code, std::size_t At) {
  return 1 + static_cast<int>(std::count(Code.begin(), Code.begin() + static_cast<std::ptrdiff_t>(At), '\n'));
}

TEST(GdiFactoryTest, CommentsAndLiteralsAreNotCode) {
  const std::string Code = CodeOnly("a(); // CreatePen(x)\n/* CreatePen(y) */ b(\"CreatePen(\", 'x');");
  EXPECT_TRUE(CallsOf(Code, "CreatePen").empty());
  EXPECT_EQ(CallsOf(CodeOnly("HPEN P = ::CreatePen (PS_SOLID, 1, 0);"), "CreatePen").size(), 1u);
  EXPECT_TRUE(CallsOf("AcquireSharedPen(L); CreatePenIndirect(&L);", "CreatePen").empty());
}

TEST(GdiFactoryTest, OnlyTheSharedCacheMakesFontsPensAndBrushes) {
  const std::vector<TSourceFile> Files = KitAndLibrarySources();
  ASSERT_GT(Files.size(), 40u) << "the sources were not found under " << SourceRoot;
  bool CacheFound = false;
  for (const TSourceFile& File : Files) {
    if (File.Name == CacheFile) {
      CacheFound = true;
      continue;
    }
    for (const char* Maker : LogicalObjectMakers)
      for (std::size_t At : CallsOf(File.Code, Maker))
        ADD_FAILURE() << File.Name << ":" << LineOf(File.Code, At) << " calls " << Maker
                      << " instead of taking a shared object (AcquireSharedFont, ...)";
  }
  EXPECT_TRUE(CacheFound);
}

TEST(GdiFactoryTest, OtherGdiObjectsAreCountedWhereTheyAreMade) {
  const std::vector<TSourceFile> Files = KitAndLibrarySources();
  ASSERT_GT(Files.size(), 40u) << "the sources were not found under " << SourceRoot;
  int Calls = 0;
  for (const TSourceFile& File : Files) {
    for (const char* Maker : CountedMakers) {
      for (std::size_t At : CallsOf(File.Code, Maker)) {
        ++Calls;
        if (StatementAt(File.Code, At).find("CountHandle(") == std::string::npos)
          ADD_FAILURE() << File.Name << ":" << LineOf(File.Code, At) << " calls " << Maker
                        << " outside CountHandle(...)";
      }
    }
  }
  EXPECT_GT(Calls, 5) << "the search finds the calls that are there";
}

}  // namespace
