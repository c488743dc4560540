// The install folder's Template script played by PcbHost: the profile list takes a
// click and Down, Finish makes the board from the first template. The saved board holds
// the template's title block and scale bar but none of its object classes, and every
// template file is left as it was, byte for byte.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostProcessSupport.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/FileSupport.h"

namespace {

std::string ReadFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Result;
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    Result.push_back(Line);
  }
  return Result;
}

bool Has(const std::string& Line, const char* Part) { return Line.find(Part) != std::string::npos; }

// The object lines of one part of a board: the title block's (Mechanical 1, flag 16)
// or the scale bar's (Mechanical 16), each without its Id, which the board numbers
// anew.
std::vector<std::string> PartObjects(const std::string& Text, const char* Layer, const char* Flags) {
  std::vector<std::string> Result;
  for (std::string Line : Lines(Text)) {
    if (Line.compare(0, 7, "Object ") != 0 || !Has(Line, Layer) || !Has(Line, Flags)) continue;
    const std::size_t Id = Line.find(" Id=");
    const std::size_t End = Line.find(' ', Id + 1);
    if (Id != std::string::npos) Line.erase(Id, End - Id);
    Result.push_back(Line);
  }
  return Result;
}

// The text of each text object, in order.
std::vector<std::string> Texts(const std::vector<std::string>& Objects) {
  std::vector<std::string> Result;
  for (const std::string& Line : Objects)
    if (Has(Line, "Kind=\"Text\"")) {
      const std::size_t At = Line.find(" Text=\"");
      if (At != std::string::npos) Result.push_back(Line.substr(At, Line.find('"', At + 7) - At));
    }
  return Result;
}

class TemplateScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scratch = NewScratchFolder("template-");
    ASSERT_FALSE(Scratch.empty());
  }
  void TearDown() override {
    if (Scratch.empty()) return;  // SetUp stopped early
    RemoveScratchFolder(Scratch + "run\\");
    RemoveScratchFolder(Scratch);
  }
  std::string Scratch;
};

TEST_F(TemplateScriptTest, TheBoardTakesTheTitleBlockAndScaleBarAndTheTemplateStays) {
  const std::string Templates = TestHostRoot() + "Templates\\";
  std::map<std::string, std::string> Before;
  for (const std::string& Name : FilesIn(Templates)) Before[Name] = ReadFile(Templates + Name);
  ASSERT_FALSE(Before.empty());

  TRunResult Run = RunProgram("\"" + TestHostRoot() + "PcbHost.exe\" --script \"" + TestHostRoot() +
                                  "Scripts\\Template.txt\"" + ScriptBoundArguments() + "--out \"" +
                                  Scratch + "run\" --run RunWizard",
                              TestHostRoot());
  ASSERT_EQ(Run.ExitCode, 0u) << Run;
  const std::string Out = Scratch + "run\\";
  std::vector<std::string> Saved;
  bool Failed = false;
  for (const std::string& Name : FilesIn(Out)) {
    if (Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".txt") == 0) Saved.push_back(Name);
    Failed = Failed || Name == "failed.png";
  }
  EXPECT_FALSE(Failed) << Run;
  ASSERT_EQ(Saved.size(), 1u) << Run;
  const std::string Board = ReadFile(Out + Saved[0]);

  // The template the board came from: the one whose title block it holds.
  const std::vector<std::string> Title = PartObjects(Board, " Layer=57 ", " Flags=16 ");
  const std::vector<std::string> Scale = PartObjects(Board, " Layer=72 ", " Flags=0 ");
  ASSERT_FALSE(Title.empty());
  ASSERT_FALSE(Scale.empty());
  ASSERT_FALSE(Texts(Title).empty());
  std::string Source;
  for (const auto& [Name, Text] : Before)
    if (Texts(PartObjects(Text, " Layer=57 ", " Flags=16 ")) == Texts(Title)) Source = Name;
  ASSERT_FALSE(Source.empty());
  EXPECT_EQ(Title.size(), PartObjects(Before[Source], " Layer=57 ", " Flags=16 ").size());
  EXPECT_EQ(Texts(Scale), Texts(PartObjects(Before[Source], " Layer=72 ", " Flags=0 ")));
  EXPECT_EQ(Scale.size(), PartObjects(Before[Source], " Layer=72 ", " Flags=0 ").size());

  // The template has object classes; the board has none.
  EXPECT_TRUE(Has(Before[Source], "Kind=\"Class\""));
  EXPECT_FALSE(Has(Board, "Kind=\"Class\""));

  // Every template file as it was.
  for (const auto& [Name, Text] : Before) EXPECT_EQ(ReadFile(Templates + Name), Text) << Name;
}

// --- Templates that make no board ---

// A process's message box captioned "Error", the text of its message, and the caption
// of the host's main window (which names the current document, when there is one).
struct TErrorBox {
  DWORD ProcessId;
  HWND Box = nullptr;
  std::string Text;
  std::string HostCaption;
};

BOOL CALLBACK FindErrorBox(HWND Window, LPARAM Data) {
  auto* Find = reinterpret_cast<TErrorBox*>(Data);
  DWORD Owner = 0;
  GetWindowThreadProcessId(Window, &Owner);
  if (Owner != Find->ProcessId) return TRUE;
  char Class[64] = "", Caption[MAX_PATH] = "";
  GetClassNameA(Window, Class, sizeof(Class));
  GetWindowTextA(Window, Caption, sizeof(Caption));
  if (std::string(Class) == "PcbHostMainWindow") Find->HostCaption = Caption;
  if (IsWindowVisible(Window) && std::string(Caption) == "Error") Find->Box = Window;
  return TRUE;
}

BOOL CALLBACK ReadErrorText(HWND Child, LPARAM Data) {
  char Text[1024] = "";
  GetWindowTextA(Child, Text, sizeof(Text));
  if (std::string(Text).find("could not") != std::string::npos)
    reinterpret_cast<TErrorBox*>(Data)->Text = Text;
  return TRUE;
}

// A host install folder of the test's own: the binaries of the build's, and a
// Templates folder that the test fills.
class DamagedTemplateScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = NewScratchFolder("damaged-template-");
    ASSERT_FALSE(Root.empty());
    Templates = Root + "Templates\\";
    ASSERT_TRUE(CreateDirectoryA(Templates.c_str(), nullptr));
    for (const char* Binary : {"PcbHost.exe", "Tarvik.dll", "Merovan.dll", "Halvorn.dll"}) {
      const std::string From = TestHostRoot() + Binary, To = Root + Binary;
      ASSERT_TRUE(CreateHardLinkA(To.c_str(), From.c_str(), nullptr) ||
                  CopyFileA(From.c_str(), To.c_str(), TRUE))
          << Binary;
    }
  }
  void TearDown() override {
    if (Root.empty()) return;  // SetUp stopped early
    for (const std::string& Name : Folders) RemoveDirectoryA((Templates + Name).c_str());
    RemoveScratchFolder(Templates);
    RemoveScratchFolder(Root + "run\\");
    RemoveScratchFolder(Root);
  }

  // Plays the script that takes the first template of the list and finishes; the
  // message the run ends in (read from its message box, which the test then closes),
  // the host's caption while the message showed, and the run's result.
  TRunResult Play(std::string& Message, std::string* HostCaption = nullptr) {
    const std::string Script = Root + "first-template.txt";
    WriteFileText(Script,
                  "wait PCB Board Wizard\nclick Next >\nkey Enter\n"
                  "click #TdxTreeList\nkey Down\nexpect Finish enabled\nclick Finish\n"
                  "wait Error\nshot refused\n");
    return RunProgram("\"" + Root + "PcbHost.exe\" --script \"" + Script + "\"" +
                          ScriptBoundArguments() + "--out \"" + Root + "run\" --run RunWizard",
                      Root, [&](const PROCESS_INFORMATION& Process) {
                        const TErrorBox Box = TakeErrorMessage(Process);
                        Message = Box.Text;
                        if (HostCaption) *HostCaption = Box.HostCaption;
                      });
  }

  // The process's "Error" message box once it shows and the script has shot it (while
  // the process runs, within the run's bound), after which the box is closed as its OK
  // button does; its text is empty when none showed.
  TErrorBox TakeErrorMessage(const PROCESS_INFORMATION& Process) {
    const std::string Shot = Root + "run\\refused.png";
    const DWORD Start = GetTickCount();
    while (GetTickCount() - Start < ProgramRunBound) {
      TErrorBox Find{Process.dwProcessId, nullptr, {}, {}};
      EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&Find));
      if (Find.Box && GetFileAttributesA(Shot.c_str()) != INVALID_FILE_ATTRIBUTES) {
        EnumChildWindows(Find.Box, ReadErrorText, reinterpret_cast<LPARAM>(&Find));
        PostMessageA(Find.Box, WM_COMMAND, IDOK, 0);
        return Find;
      }
      if (WaitForSingleObject(Process.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    return TErrorBox{Process.dwProcessId, nullptr, {}, {}};
  }

  // The run left no board and the screenshot of its message.
  void ExpectNoBoard(const TRunResult& Run) {
    const std::vector<std::string> Files = FilesIn(Root + "run\\");
    EXPECT_EQ(Files, std::vector<std::string>{"refused.png"}) << Run;
  }

  std::string Expected(const std::string& Name, const std::string& Cause) {
    std::string Folder = Templates;
    for (char& C : Folder) C = static_cast<char>(toupper(static_cast<unsigned char>(C)));
    return "The board template \"" + Folder + Name + "\" could not be opened: " + Cause + ".";
  }

  std::string Root, Templates;
  std::vector<std::string> Folders;  // made in Templates, removed at the end
};

TEST_F(DamagedTemplateScriptTest, AFolderIsNotListedAndAnEmptyTemplateEndsInOneMessage) {
  Folders.push_back("Folder.PcbDoc");
  ASSERT_TRUE(CreateDirectoryA((Templates + Folders.back()).c_str(), nullptr));
  WriteFileText(Templates + "Empty.PcbDoc", "");
  std::string Message;
  const TRunResult Run = Play(Message);
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  EXPECT_EQ(Message, Expected("Empty.PcbDoc", "the file is empty"));
  ExpectNoBoard(Run);
}

TEST_F(DamagedTemplateScriptTest, ATemplateOfAnotherKindEndsInOneMessage) {
  WriteFileText(Templates + "Foreign.PcbDoc", "Some other program's board\r\n");
  std::string Message;
  const TRunResult Run = Play(Message);
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  EXPECT_EQ(Message,
            Expected("Foreign.PcbDoc",
                     "the PCB editor could not read a board from it (the file is damaged or "
                     "of another kind)"));
  ExpectNoBoard(Run);
}

// The sample template's text with each outline segment line changed by Change.
std::string WithSegments(std::string Text, const std::function<void(std::string&)>& Change) {
  std::string Result;
  for (std::string Line : Lines(Text)) {
    if (Line.compare(0, 10, "  Segment ") == 0) Change(Line);
    Result += Line + "\n";
  }
  return Result;
}

// Line with the value of its field Key (" Key=") replaced by Value.
void SetField(std::string& Line, const char* Key, const std::string& Value) {
  const std::string Field = std::string(" ") + Key + "=";
  const std::size_t At = Line.find(Field);
  if (At == std::string::npos) return;
  const std::size_t From = At + Field.size();
  Line.replace(From, Line.find(' ', From) - From, Value);
}

TEST_F(DamagedTemplateScriptTest, ATemplateRefusedForItsOutlineLeavesNoDocumentAndNothingSaved) {
  const std::string Sample =
      ReadFile(TestHostRoot() + "Templates\\Half Eurocard 100x80mm.PcbDoc");
  ASSERT_NE(Sample.find("Kind=\"BoardOutline\""), std::string::npos);
  // The sample without its outline object, or with the outline's segment lines dropped.
  std::string NoOutline, NoSegments;
  bool InOutline = false;
  for (std::string Line : Lines(Sample)) {
    if (Line.compare(0, 7, "Object ") == 0) InOutline = Has(Line, "Kind=\"BoardOutline\"");
    if (InOutline && Line.compare(0, 7, "Object ") == 0) {
      SetField(Line, "SegmentCount", "0");
      NoSegments += Line + "\n";
      continue;
    }
    if (InOutline) continue;
    NoOutline += Line + "\n";
    NoSegments += Line + "\n";
  }
  const char* const NoOutlineCause = "the PCB editor read no board outline from it";
  const char* const NoAreaCause = "the board outline the PCB editor read from it encloses no area";
  const struct {
    const char* Name;
    std::string Text;
    const char* Cause;
  } Cases[] = {
      {"HeaderOnly.PcbDoc", "MerovanBoard 1\n", NoOutlineCause},
      {"NoOutline.PcbDoc", NoOutline, NoOutlineCause},
      {"NoSegments.PcbDoc", NoSegments,
       "the board outline the PCB editor read from it has no segments"},
      // Every corner on one line.
      {"NoArea.PcbDoc",
       WithSegments(Sample, [](std::string& Line) { SetField(Line, "Y", "30000000"); }),
       NoAreaCause},
      // Every corner at the largest coordinate.
      {"HugeCoordinates.PcbDoc",
       WithSegments(Sample, [](std::string& Line) { SetField(Line, "X", "2147483647"); }),
       NoAreaCause},
      // Every record an arc of no radius.
      {"ArcSegments.PcbDoc",
       WithSegments(Sample, [](std::string& Line) { SetField(Line, "Kind", "1"); }),
       NoAreaCause},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    RemoveScratchFolder(Root + "run\\");
    for (const std::string& Name : FilesIn(Templates)) DeleteFileA((Templates + Name).c_str());
    WriteFileText(Templates + Case.Name, Case.Text);
    std::string Message, HostCaption;
    const TRunResult Run = Play(Message, &HostCaption);
    EXPECT_EQ(Run.ExitCode, 0u) << Run;
    EXPECT_EQ(Message, Expected(Case.Name, Case.Cause));
    // No document while the message shows, and none saved at the end.
    EXPECT_EQ(HostCaption, "PcbHost");
    ExpectNoBoard(Run);
  }
}

TEST_F(DamagedTemplateScriptTest, ATemplateLockedByAnotherProgramEndsInOneMessage) {
  const std::string Path = Templates + "Locked.PcbDoc";
  ASSERT_TRUE(CopyFileA((TestHostRoot() + "Templates\\Half Eurocard 100x80mm.PcbDoc").c_str(),
                        Path.c_str(), TRUE));
  HANDLE Held = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(Held, INVALID_HANDLE_VALUE);
  std::string Message;
  const TRunResult Run = Play(Message);
  CloseHandle(Held);
  EXPECT_EQ(Run.ExitCode, 0u) << Run;
  EXPECT_EQ(Message, Expected("Locked.PcbDoc", "the file is in use by another program"));
  ExpectNoBoard(Run);
}

}  // namespace
