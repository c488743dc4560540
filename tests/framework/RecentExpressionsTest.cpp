#include <gtest/gtest.h>

#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/StrUtils.h"
#include "framework/ClientProcs.h"
#include "framework/Main.h"
#include "framework/Rt_RecentExpressions.h"
#include "tests/framework/DialogTestSupport.h"
#include "tests/support/FileSupport.h"
#include "tests/support/FuzzSupport.h"
#include "treenode/dcRecList.h"

using dlgtest::WriteText;

namespace {

const char* const Section = "Recent Tarvik Filter Expressions";
const char* const ShellFolders =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// "Expression=Description" of every entry after the fixed one.
std::vector<AnsiString> Contents() {
  std::vector<AnsiString> Result;
  for (int I = 1; I < RecentExpressionList->Count(); ++I) {
    TRecentExpression* Item = RecentExpressionList->GetExpressionItem(I);
    Result.push_back(Item->Expression() + "=" + Item->Description());
  }
  return Result;
}

// Runs the real server module: its creation loads the store, its release saves it.
// The application-data folder is a temporary one (through the shell's user folder
// setting); the registry section and the host's example file are removed around each test.
class RecentExpressionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Temp[MAX_PATH];
    GetTempPathA(MAX_PATH, Temp);
    AppData = AnsiString(Temp) + "RecentExpr" + IntToStr(GetCurrentProcessId());
    ASSERT_TRUE(ForceDirectories(AppData));
    TOwned<TRegistry> Reg(NewObject<TRegistry>());
    ASSERT_TRUE(Reg->OpenKey(ShellFolders, false));
    OldAppData = Reg->ReadString("AppData");
    if (Pos("\\RecentExpr", OldAppData) > 0)  // left by an interrupted run
      OldAppData = "%USERPROFILE%\\AppData\\Roaming";
    Reg->WriteString("AppData", AppData);
    UserFile = AppData + "\\Norvane\\TarvikRecentFilters.Txt";
    ExampleFile = ExtractFilePath(GetModuleFileNameStr(nullptr)) + "System\\ExampleTarvikFilters.Txt";
    CleanShared();
  }
  void TearDown() override {
    Stop();
    TOwned<TRegistry> Reg(NewObject<TRegistry>());
    if (!OldAppData.empty() && Reg->OpenKey(ShellFolders, false))
      Reg->WriteExpandString("AppData", OldAppData);
    CleanShared();
    DeleteFileName(UserFile);
    RemoveDir(AppData + "\\Norvane");
    RemoveDir(AppData);
  }
  void CleanShared() {
    TOwned<TRegistry>(NewObject<TRegistry>())
        ->DeleteKey(AnsiString("\\") + RecentExpressionsRegistryKey + "\\" + Section);
    DeleteFileName(ExampleFile);
    RemoveDir(ExtractFileDir(ExampleFile));
  }
  void Start() {
    IClient* Client = nullptr;  // the module-wide client stays what it was
    GetClient(&Client);
    ServerFactory(&Module, Client);
    if (Client) Client->Release();
    ASSERT_NE(RecentExpressionList, nullptr);
  }
  void Stop() {
    if (Module) Module->Release();
    Module = nullptr;
  }
  AnsiString Registry(const AnsiString& Name) {
    return TOwned<TRegIniFile>(NewObject<TRegIniFile>(RecentExpressionsRegistryKey))
        ->ReadString(Section, Name, "<none>");
  }

  AnsiString AppData, OldAppData, UserFile, ExampleFile;
  IServerModule* Module = nullptr;
};

TEST_F(RecentExpressionsTest, WithoutStoresOnlyTheFixedEntryIsKeptAndSaved) {
  Start();
  ASSERT_EQ(RecentExpressionList->Count(), 1);
  TRecentExpression* Fixed = RecentExpressionList->GetExpressionItem(0);
  EXPECT_EQ(Fixed->Expression() + "=" + Fixed->Description(), "=(All)");
  EXPECT_TRUE(Fixed->Fixed());
  Stop();
  EXPECT_EQ(FileText(UserFile), "[Recent Tarvik Filter Expressions]\r\nNewFileFormat=True\r\n"
                                "RecentExpressionCount=1\r\n\r\n");
  EXPECT_EQ(Registry("NewFileFormat") + Registry("RecentExpressionCount"), "True1");
  EXPECT_EQ(Registry("RecentExpression1"), "<none>");
}

TEST_F(RecentExpressionsTest, ExpressionsComeBackIdenticalAfterARestart) {
  Start();
  RecentExpressionList->AddExpression("Net = 'A|B' And\r\nIsPad", "two lines");
  RecentExpressionList->AddExpression("", "no expression: dropped");
  RecentExpressionList->AddExpression("IsVia", "");
  Stop();
  EXPECT_EQ(FileText(UserFile),
            "[Recent Tarvik Filter Expressions]\r\nNewFileFormat=True\r\nRecentExpressionCount=3\r\n"
            "RecentExpression2=Net = 'A||B' And|IsPad\r\nRecentDescription2=two lines\r\n"
            "RecentExpression3=IsVia\r\nRecentDescription3=\r\n\r\n");
  EXPECT_EQ(Registry("RecentExpression2"), "Net = 'A||B' And|IsPad");
  EXPECT_EQ(Registry("RecentDescription2"), "two lines");
  Start();
  EXPECT_EQ(Contents(), (std::vector<AnsiString>{"Net = 'A|B' And\r\nIsPad=two lines", "IsVia="}));
}

TEST_F(RecentExpressionsTest, AtMostAHundredEntriesAreKept) {
  AnsiString Text = "[Recent Tarvik Filter Expressions]\r\nnewfileformat=true\r\n"
                    "RecentExpressionCount=150\r\n";
  for (int I = 1; I <= 150; ++I) Text += "RecentExpression" + IntToStr(I) + "=E" + IntToStr(I) + "\r\n";
  WriteText(UserFile, Text);
  Start();
  ASSERT_EQ(RecentExpressionList->Count(), 100);
  RecentExpressionList->AddExpression("Late", "");
  EXPECT_EQ(RecentExpressionList->Count(), 100);
  EXPECT_EQ(RecentExpressionList->Strings(99), "E99");
}

TEST_F(RecentExpressionsTest, OldFormatTakesEveryRunOfLinesUpToTheEndOfTheFile) {
  WriteText(UserFile, "\r\nFirst\r\n\r\nSecond a\r\n Second b\r\n   \r\n\r\nLast 1\r\nLast 2");
  Start();
  EXPECT_EQ(Contents(),
            (std::vector<AnsiString>{"First=", "Second a\r\n Second b=", "Last 1\r\nLast 2="}));
}

TEST_F(RecentExpressionsTest, ExampleFileServesOnlyWhenTheUserHasNone) {
  WriteText(ExampleFile, "[Recent Tarvik Filter Expressions]\r\nNewFileFormat=True\r\n"
                           "RecentExpressionCount=2\r\nRecentExpression2=Ex\r\nRecentDescription2=host\r\n");
  Start();
  EXPECT_EQ(Contents(), std::vector<AnsiString>{"Ex=host"});
  Stop();
  WriteText(UserFile, "Mine\r\n");
  Start();
  EXPECT_EQ(Contents(), std::vector<AnsiString>{"Mine="});
}

struct TMoveRecorder {
  std::vector<TObject*> Senders;
  void Moved(TObject* Sender) { Senders.push_back(Sender); }
};

TEST_F(RecentExpressionsTest, MoveCarriesTheEntryAndTellsTheListeners) {
  Start();
  for (const char* E : {"A", "B", "C"}) RecentExpressionList->AddExpression(E, E);
  TMoveRecorder Recorder;
  TMethod Listener = TNotifyEvent::Bind<&TMoveRecorder::Moved>(&Recorder).Method();
  RecentExpressionList->Listeners()->Add(Listener);
  RecentExpressionList->Move(1, 3);
  EXPECT_THROW(RecentExpressionList->Move(1, 4), EStringListError);  // nothing is lost
  RecentExpressionList->Listeners()->Remove(Listener);
  EXPECT_EQ(Contents(), (std::vector<AnsiString>{"B=B", "C=C", "A=A"}));
  EXPECT_EQ(Recorder.Senders, std::vector<TObject*>{RecentExpressionList});
}

TEST_F(RecentExpressionsTest, AHugeCountReadsOnlyTheNumbersTheListCanHold) {
  WriteText(UserFile,
              "[Recent Tarvik Filter Expressions]\r\nNewFileFormat=True\r\n"
              "RecentExpressionCount=2147483647\r\n"
              "RecentExpression2=A\r\nRecentDescription2=a\r\n"
              "RecentExpression3=B\r\nRecentDescription3=b\r\n"
              "RecentExpression4=C\r\nRecentDescription4=c\r\n");
  Start();
  EXPECT_EQ(Contents(), (std::vector<AnsiString>{"A=a", "B=b", "C=c"}));
  Stop();
  EXPECT_EQ(Registry("RecentExpressionCount"), "4");
}

// Mutated stores of both formats: a read never raises, keeps the fixed entry first and
// at most a hundred entries, none of them empty, and clearing the list again leaves
// nothing allocated.
TEST_F(RecentExpressionsTest, MutatedStoresLoadSoundly) {
  Start();
  const std::string NewFormat =
      "[Recent Tarvik Filter Expressions]\r\n"
      "NewFileFormat=True\r\nRecentExpressionCount=4\r\n"
      "RecentExpression2=Net = 'A||B' And|IsPad\r\nRecentDescription2=two lines\r\n"
      "RecentExpression3=IsVia\r\nRecentDescription3=\r\n"
      "RecentExpression4=|||\r\nRecentDescription4=odd\r\n";
  fuzz::TMutator Mutator(
      {NewFormat, "[Other]\r\nNewFileFormat=True\r\n\r\n" + NewFormat,
       "\r\nFirst\r\n\r\nSecond a\r\n Second b\r\n   \r\n\r\nLast 1\r\nLast 2",
       "[Recent Tarvik Filter Expressions]\nnewfileformat=TRUE\nRecentExpressionCount=150\n"
       "RecentExpression1=E1\nRecentExpression100=E100\nRecentExpression101=E101\n"},
      0x52454345u,
      {"RecentExpressionCount=", "RecentExpression", "RecentDescription",
       "NewFileFormat=", "True", "||", "[Recent Tarvik Filter Expressions]"});
  const AnsiString Path = AppData + "\\Mutated.Txt";
  fuzz::TFindings Findings;
  fuzz::TLiveBlockCounter Counter;
  for (int Case = 0; Case < 2000; ++Case) {
    const std::string Text = Mutator.Next();
    // Most stores are read as ini files in memory, every thirty-second as a file of
    // either format.
    const bool FromFile = Case % 32 == 0;
    if (FromFile) WriteFileText(Path, Text);
    Findings.Check(Text, Counter, [&] {
      const char* Fault = nullptr;
      if (FromFile) {
        RecentExpressionList->LoadRecentExpressions(Path);
      } else {
        TStringList* Lines = NewObject<TStringList>();
        Lines->SetText(Text);
        TMemIniFile* Store = NewObject<TMemIniFile>("");
        Store->SetStrings(Lines);
        RecentExpressionList->ReadRecentExpressions(Store);
        Store->Free();
        Lines->Free();
      }
      TRecentExpression* First = RecentExpressionList->GetExpressionItem(0);
      if (!First || !First->Fixed() || RecentExpressionList->Count() > MaxRecentExpressions)
        Fault = "a list out of shape";
      for (int I = 1; I < RecentExpressionList->Count() && !Fault; ++I)
        if (RecentExpressionList->Strings(I).empty()) Fault = "an empty expression";
      while (RecentExpressionList->Count() > 1)
        RecentExpressionList->Delete(RecentExpressionList->Count() - 1);
      return Fault;
    });
    while (RecentExpressionList->Count() > 1)
      RecentExpressionList->Delete(RecentExpressionList->Count() - 1);
  }
  DeleteFileName(Path);
  EXPECT_EQ(Findings.Count(), 0) << Findings.Text();
}

}  // namespace
