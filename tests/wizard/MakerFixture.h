// The board maker's tests run the maker in-process, without any window: a host core
// with its PCB server module (whose documents' boards live in the editor stand-in,
// loaded from the install folder when the first PCB document opens), the module's
// host client set to it, and a fresh wizard record.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/Objects.h"
#include "framework/ClientProcs.h"
#include "host/HostCore.h"
#include "host/HostDocuments.h"
#include "host/HostLoader.h"
#include "host/MerovanApi.h"
#include "tests/support/EditorStandIn.h"
#include "pcb/PCBProcs.h"
#include "pcb/Pcbclass.h"
#include "wizard/BoardDB.h"
#include "wizard/BoardDB_Maker.h"

// The install folder: build/host-root beside build/bin, where the test program runs.
inline std::string MakerHostRoot() { return HostFolder() + "..\\host-root\\"; }

class MakerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    THostOptions Options;
    Options.Folder = MakerHostRoot();
    Host = CreateHost(Options);
    ASSERT_NE(Host, nullptr);
    SetClient(Host->Client());
    Info = NewObject<TBoardInfoFromUser>();
  }

  void TearDown() override {
    FreeAndNil(Info);
    SetClient(nullptr);
    DestroyHost(Host);
    // The editor left with the host: no slot may keep its addresses.
    BindPcbApi();
  }

  // Runs a maker on the record with the given context view; returns the new
  // document's board handle (0 when no document was opened) and keeps the
  // document's name.
  Integer Build(IServerDocumentView* Context = nullptr) {
    TOwned<TTarvik> Maker(NewObject<TTarvik>(Info, Context));
    Maker->BuildBoard();
    if (!Maker->Document) return 0;
    DocumentName = Maker->Document->GetFileName();
    return PcbApi_GetBoardHandleFromFileName(PcbString(DocumentName));
  }

  // An export of the editor stand-in (loaded by the host), typed.
  template <class Function>
  Function EditorExport(const char* Name) {
    return ModuleExport<Function>(GetModuleHandleA("Merovan.dll"), Name);
  }

  static std::vector<Integer> Objects(Integer Board, Byte ObjectId = 0, Byte Layer = 0) {
    return BoardObjects(Board, ObjectId, Layer);
  }

  // The editor's call log while Action runs (see host/README.md for its lines).
  template <class Action>
  std::vector<std::string> Logged(Action&& Run) {
    const TEditorCallLog Log(GetModuleHandleA("Merovan.dll"));
    if (!Log.Available()) {
      ADD_FAILURE() << "the editor stand-in is not loaded";
      Run();
      return {};
    }
    return Log.While(Run);
  }

  // The lines of Lines that start with Prefix.
  static std::vector<std::string> Starting(const std::vector<std::string>& Lines,
                                           const std::string& Prefix) {
    std::vector<std::string> Result;
    for (const std::string& Line : Lines)
      if (Line.compare(0, Prefix.size(), Prefix) == 0) Result.push_back(Line);
    return Result;
  }

  THost* Host = nullptr;
  TBoardInfoFromUser* Info = nullptr;
  std::string DocumentName;
};
