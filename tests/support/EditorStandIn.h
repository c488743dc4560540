// Shared by the tests that drive the PCB editor stand-in: the test program's folder
// (the install folder and the partial editor lie beside it), typed exports of a loaded
// module, a board's objects through the bound wrappers, and the editor's call log read
// through its private exports.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/MerovanApi.h"
#include "pcb/PCBProcs.h"

// The folder of the running test program, with a trailing backslash.
inline std::string TestProgramFolder() {
  char Path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Folder(Path);
  return Folder.substr(0, Folder.find_last_of("\\/") + 1);
}

// An export of Module as the given function type, or nullptr.
template <class Function>
Function ModuleExport(HMODULE Module, const char* Name) {
  return Module ? reinterpret_cast<Function>(
                      reinterpret_cast<void (*)()>(GetProcAddress(Module, Name)))
                : nullptr;
}

// Every object the board's iterator yields for ObjectId (0: every geometric object) on
// Layer (0: any layer).
inline std::vector<Integer> BoardObjects(Integer Board, Byte ObjectId = 0, Byte Layer = 0) {
  std::vector<Integer> Found;
  const Integer Iterator = PcbApi_CreateIterator(Board, ObjectId, 0, Layer);
  for (Integer H = PcbApi_GetFirstObject(Iterator); H; H = PcbApi_GetNextObject(Iterator))
    Found.push_back(H);
  PcbApi_DestroyIterator(Iterator);
  return Found;
}

// The editor's call log: recording switched on and off, the lines read back.
class TEditorCallLog {
 public:
  explicit TEditorCallLog(HMODULE Editor)
      : FEnable(ModuleExport<TMerovanEnableCallLog>(Editor, "EnableCallLog")),
        FClear(ModuleExport<TMerovanClearCallLog>(Editor, "ClearCallLog")),
        FCount(ModuleExport<TMerovanGetCallLogCount>(Editor, "GetCallLogCount")),
        FEntry(ModuleExport<TMerovanGetCallLogEntry>(Editor, "GetCallLogEntry")) {}

  bool Available() const { return FEnable && FClear && FCount && FEntry; }

  // Forgets the earlier lines and records from now on.
  void Start() const {
    FClear();
    FEnable(TRUE);
  }
  // The lines recorded so far ("PcbApi_Name argument ..."); recording goes on.
  std::vector<std::string> Lines() const {
    std::vector<std::string> Lines;
    for (int I = 0; I < FCount(); ++I) {
      const int Length = FEntry(I, nullptr, 0);
      std::string Line(Length > 0 ? Length : 0, '\0');
      FEntry(I, Line.data(), Length + 1);
      Lines.push_back(Line);
    }
    return Lines;
  }
  // Stops recording; the lines recorded.
  std::vector<std::string> Stop() const {
    FEnable(FALSE);
    return Lines();
  }
  // The lines logged while Run runs; the log is left empty and off.
  template <class Action>
  std::vector<std::string> While(Action&& Run) const {
    Start();
    Run();
    std::vector<std::string> Lines = Stop();
    FClear();
    return Lines;
  }
  void Reset() const {
    FEnable(FALSE);
    FClear();
  }

 private:
  TMerovanEnableCallLog FEnable;
  TMerovanClearCallLog FClear;
  TMerovanGetCallLogCount FCount;
  TMerovanGetCallLogEntry FEntry;
};
