// The PCB editor stand-in for the object model's tests: Merovan.dll loaded once from
// the install folder (host-root beside the test program's bin folder) and bound the
// way the module binds it, a fresh board per test, and the stand-in's call log.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "host/MerovanApi.h"
#include "tests/support/EditorStandIn.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"

// The stand-in's private exports.
struct TMerovanModule {
  HMODULE Module = nullptr;
  TMerovanCreateDocument CreateDocument = nullptr;
  TMerovanCloseDocument CloseDocument = nullptr;
  TMerovanAddLayerPair AddLayerPair = nullptr;
  TMerovanSetLayerState SetLayerState = nullptr;
  TMerovanSetReportedIdBits SetReportedIdBits = nullptr;
  TMerovanSetReportedCounts SetReportedCounts = nullptr;
  TMerovanFailNextCalls FailNextCalls = nullptr;
  TMerovanFailNthCall FailNthCall = nullptr;

  TEditorCallLog Log() const { return TEditorCallLog(Module); }
  bool Complete() const {
    return Module && CreateDocument && CloseDocument && AddLayerPair && SetLayerState &&
           SetReportedIdBits && SetReportedCounts && FailNextCalls && FailNthCall &&
           Log().Available();
  }
};

template <class Function>
void BindMerovanExport(HMODULE Module, const char* Name, Function& Slot) {
  Slot = ModuleExport<Function>(Module, Name);
}

// Loads the stand-in on first use and keeps it for the whole test program.
inline const TMerovanModule& Merovan() {
  static const TMerovanModule Loaded = [] {
    TMerovanModule M;
    M.Module = LoadLibraryA((TestProgramFolder() + "..\\host-root\\Merovan.dll").c_str());
    if (!M.Module) return M;
    BindMerovanExport(M.Module, "CreateDocument", M.CreateDocument);
    BindMerovanExport(M.Module, "CloseDocument", M.CloseDocument);
    BindMerovanExport(M.Module, "AddLayerPair", M.AddLayerPair);
    BindMerovanExport(M.Module, "SetLayerState", M.SetLayerState);
    BindMerovanExport(M.Module, "SetReportedIdBits", M.SetReportedIdBits);
    BindMerovanExport(M.Module, "SetReportedCounts", M.SetReportedCounts);
    BindMerovanExport(M.Module, "FailNextCalls", M.FailNextCalls);
    BindMerovanExport(M.Module, "FailNthCall", M.FailNthCall);
    return M;
  }();
  return Loaded;
}

// A test with the editor bound and a blank board of its own.
class PcbEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Merovan().Complete()) << "Merovan.dll or one of its exports is missing";
    BindPcbApi();
    ASSERT_NE(PcbModuleHandle, nullptr);
    static int DocumentNumber = 0;
    const std::string Name = "PcbclassTest" + std::to_string(++DocumentNumber) + ".PcbDoc";
    Board = Merovan().CreateDocument("PCB", Name.c_str());
    ASSERT_NE(Board, 0);
    Merovan().Log().Reset();
  }

  void TearDown() override {
    if (!Merovan().Complete()) return;
    Merovan().Log().Reset();
    for (Integer Handle : Made) PcbApi_DestroyObject(Handle);
    if (Board) Merovan().CloseDocument(Board);
  }

  // A new editor object, destroyed after the test.
  Integer NewObjectHandle(TObjectId Id) { return Keep(PcbApi_CreateObject(Id)); }
  Integer NewDimensionHandle(Byte Kind) { return Keep(PcbApi_CreateDimensionObject(Kind)); }
  Integer NewRuleHandle(Byte Kind) { return Keep(PcbApi_CreateRuleObject(Kind)); }
  Integer Keep(Integer Handle) {
    EXPECT_NE(Handle, 0);
    Made.push_back(Handle);
    return Handle;
  }

  // Records every editor call from now on, forgetting the earlier ones.
  void StartLog() { Merovan().Log().Start(); }
  // The calls recorded since StartLog ("PcbApi_Name argument ..."); recording stops.
  std::vector<std::string> StopLog() { return Merovan().Log().Stop(); }

  Integer Board = 0;
  std::vector<Integer> Made;
};

// The function names of log lines, in order.
inline std::vector<std::string> CallNames(const std::vector<std::string>& Lines) {
  std::vector<std::string> Names;
  for (const std::string& Line : Lines) Names.push_back(Line.substr(0, Line.find(' ')));
  return Names;
}

// The lines that call Name.
inline std::vector<std::string> CallsTo(const std::vector<std::string>& Lines,
                                        const std::string& Name) {
  std::vector<std::string> Found;
  for (const std::string& Line : Lines)
    if (Line.compare(0, Name.size() + 1, Name + " ") == 0 || Line == Name)
      Found.push_back(Line);
  return Found;
}

// "Name a b c" from the function name and its logged arguments.
template <class... Arguments>
std::string Call(const std::string& Name, const Arguments&... Values) {
  std::string Line = Name;
  ((Line += ' ', Line += std::to_string(Values)), ...);
  return Line;
}

// Gives every field it is handed a value of its own, different from its neighbours'
// and from the defaults.
struct TSeed {
  int N = 1;
  void operator()(Integer& V) { V = 100003 * N++ - 7; }
  void operator()(Word& V) { V = Word(0x0101 * N++ + 2); }
  void operator()(Byte& V) { V = Byte(N++ * 5 + 1); }
  void operator()(double& V) { V = N++ + 0.375; }
  void operator()(TPcbWide& V) { V = (TPcbWide(N++) << 37) + 11; }
  template <std::size_t Capacity>
  void operator()(PcbStringOf<Capacity>& V) {
    V = "text " + std::to_string(N++);
  }
  void operator()(TPrinterBlock& V) {
    for (Byte& B : V.Bytes) (*this)(B);
  }
  void operator()(TDielectric& V) {
    (*this)(V.Material);
    (*this)(V.Type);
    (*this)(V.Constant);
    (*this)(V.Height);
  }
  void operator()(TPlotterPen& V) {
    (*this)(V.PenValue1);
    (*this)(V.PenValue2);
  }
  template <class T, int Low, int High>
  void operator()(TRangeArray<T, Low, High>& V) {
    for (int I = Low; I <= High; ++I) (*this)(V[I]);
  }
};

// Field lists are X-macros F(Field); these seed a field of Writer or compare it with
// Reader's.
#define PCB_SEED(Field) Seed(Writer->Field);
#define PCB_SAME(Field) EXPECT_TRUE(Writer->Field == Reader->Field) << #Field;

// Seeds the fields in a wrapper, writes them, reads them through a second wrapper on
// the same object and compares every field. ReadStatus is what the read returns.
#define EXPECT_ROUND_TRIP(Class, Handle, FIELDS, ReadStatus)         \
  do {                                                               \
    const Integer Object = (Handle);                                 \
    TOwned<Class> Writer(NewObject<Class>(Object));                  \
    TOwned<Class> Reader(NewObject<Class>(Object));                  \
    TSeed Seed;                                                      \
    FIELDS(PCB_SEED)                                                 \
    EXPECT_EQ(Writer->Exchange(ExchangeWrite), 0) << #Class;         \
    EXPECT_EQ(Reader->Exchange(ExchangeRead), ReadStatus) << #Class; \
    FIELDS(PCB_SAME)                                                 \
  } while (0)
