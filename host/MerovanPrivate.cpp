// The PCB editor stand-in's own exports (typed in host/MerovanApi.h), its test seeds,
// its call log and its entry point.
#include "host/MerovanPrivate.h"

#include <algorithm>
#include <charconv>
#include <type_traits>
#include <vector>

#include "framework/ModuleRuntime.h"
#include "host/MerovanApi.h"
#include "host/MerovanPicture.h"
#include "host/MerovanText.h"

namespace Merovan {

namespace {

bool LogEnabled = false;
std::vector<std::string>* Log = nullptr;

// Where the handle counter is kept between two loads of the module in one process,
// so that no handle is ever given out twice.
const char NextHandleVariable[] = "MEROVAN_NEXT_HANDLE";

// Copies Text into Buffer the way the exports promise: cut to BufferSize - 1
// characters, zero-terminated; the result is the full length.
int CopyOut(const std::string& Text, char* Buffer, int BufferSize) {
  if (Buffer && BufferSize > 0) {
    std::string::size_type Copied = Text.copy(Buffer, BufferSize - 1);
    Buffer[Copied] = '\0';
  }
  return static_cast<int>(Text.size());
}

// The exports that answer a handle, an id or a count: FailNextCalls refuses them, and
// FailNthCall makes them give the seeded value.
const char* const ExportsWithAnswer[] = {
    "PcbApi_CreateIterator",         "PcbApi_GetFirstObject",
    "PcbApi_GetNextObject",          "PcbApi_GetObjectIdFromObjectHandle",
    "PcbApi_CreateObject",           "PcbApi_CreateDimensionObject",
    "PcbApi_CreateRuleObject",       "PcbApi_GetBoardHandleFromFileName",
    "PcbApi_GetState_SubScopesCount"};

// The exports that give nothing: no seed reaches them.
const char* const ExportsWithoutResult[] = {
    "PcbApi_GetObjectBitField2",          "PcbApi_GetObjectBitField3",
    "PcbApi_CreateBoardOutline",          "PcbApi_UpdateBoardOutline",
    "PcbApi_SetState_DeleteAllSubScopes", "PcbApi_SetState_AddSubscope",
    "PcbApi_GetState_SubscopeAt"};

#define MEROVAN_EXPORT_NAME(Name) "PcbApi_" #Name,
const char* const ExportNames[] = {MEROVAN_PCBAPI_EXPORTS(MEROVAN_EXPORT_NAME)};
#undef MEROVAN_EXPORT_NAME

template <std::size_t N>
bool Lists(const char* const (&Names)[N], const std::string& Name) {
  return std::any_of(std::begin(Names), std::end(Names),
                     [&](const char* Candidate) { return Name == Candidate; });
}

// An export whose result tells its caller whether it worked: a status or an answer.
bool IsSeedableExport(const std::string& Name) {
  return Lists(ExportNames, Name) && !Lists(ExportsWithoutResult, Name);
}

bool IsStatusExport(const std::string& Name) {
  return IsSeedableExport(Name) && !Lists(ExportsWithAnswer, Name);
}

// A seeded failure: after Skip calls that run as usual, the next Calls calls of the
// export give Status.
struct TFailure {
  std::string Export;
  int Skip = 0;
  int Calls = 0;
  Integer Status = 0;
};

const char* CurrentCall = nullptr;
std::vector<TFailure>* Failures = nullptr;

// Replaces the export's seed: Calls failing calls after Skip good ones (Calls 0: none).
void SeedFailure(const std::string& Name, int Skip, int Calls, Integer Status) {
  if (!Failures) Failures = new std::vector<TFailure>;
  std::erase_if(*Failures, [&](const TFailure& F) { return F.Export == Name; });
  if (Calls > 0) Failures->push_back(TFailure{Name, Skip, Calls, Status});
}

bool IsExistingFile(const char* Path) {
  DWORD Attributes = GetFileAttributesA(Path);
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CallLogEnabled() { return LogEnabled; }

void AppendCallLog(std::string Line) {
  if (!Log) Log = new std::vector<std::string>;
  if (Log->size() < static_cast<std::size_t>(CallLogCapacity))
    Log->push_back(std::move(Line));
}

void BeginCall(const char* Name) noexcept { CurrentCall = Name; }

bool SeededFailure(Integer& Seeded) noexcept {
  if (!Failures || !CurrentCall) return false;
  for (auto It = Failures->begin(); It != Failures->end(); ++It) {
    if (It->Export != CurrentCall) continue;
    if (It->Skip > 0) {
      --It->Skip;
      return false;
    }
    Seeded = It->Status;
    if (--It->Calls <= 0) Failures->erase(It);
    return true;
  }
  return false;
}

void LogArgument(std::string& Line, const PcbString& Text) {
  Line += " \"";
  for (char C : Text.ToString()) {
    if (C == '"' || C == '\\') Line += '\\';
    Line += C;
  }
  Line += '"';
}

}  // namespace Merovan

using namespace Merovan;

extern "C" {

// ---------------------------------------------------------------------------------
// Documents

Integer WINAPI CreateDocument(const char* Kind, const char* Name) {
  return HostGuard<Integer>(0, [&]() -> Integer {
    if (!HostSameText(HostText(Kind), "PCB")) return 0;
    std::string DocumentName = HostText(Name);
    if (!DocumentName.empty() && IsExistingFile(Name))
      return LoadBoardFile(Store(), DocumentName, DocumentName);
    return Store().CreateBoard(DocumentName);
  });
}

BOOL WINAPI RenameDocument(Integer Board, const char* Name) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TBoard* Renamed = Store().Board(Board);
    if (!Renamed) return FALSE;
    Renamed->Name = HostText(Name);
    return TRUE;
  });
}

BOOL WINAPI CloseDocument(Integer Board) {
  return HostGuard<BOOL>(FALSE, [&] { return Store().CloseBoard(Board) ? TRUE : FALSE; });
}

Integer WINAPI FindDocument(const char* Name) {
  return HostGuard<Integer>(0, [&] { return Store().FindBoard(HostText(Name)); });
}

int WINAPI GetDocumentName(Integer Board, char* Buffer, int BufferSize) {
  return HostGuard<int>(-1, [&]() -> int {
    TBoard* Named = Store().Board(Board);
    return Named ? CopyOut(Named->Name, Buffer, BufferSize) : -1;
  });
}

BOOL WINAPI SaveDocument(Integer Board, const char* FileName) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TBoard* Saved = Store().Board(Board);
    if (!Saved || !FileName || !*FileName) return FALSE;
    return SaveBoardFile(Store(), *Saved, FileName) ? TRUE : FALSE;
  });
}

BOOL WINAPI DrawDocument(Integer Board, const char* FileName, int Width, int Height) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TBoard* Drawn = Store().Board(Board);
    bool SizeFits = Width >= MinPictureSide && Width <= MaxPictureSide &&
                    Height >= MinPictureSide && Height <= MaxPictureSide;
    if (!Drawn || !FileName || !*FileName || !SizeFits) return FALSE;
    return DrawBoardPicture(Store(), *Drawn, FileName, Width, Height) ? TRUE : FALSE;
  });
}

// ---------------------------------------------------------------------------------
// The call log

BOOL WINAPI EnableCallLog(BOOL Enable) {
  BOOL Was = LogEnabled ? TRUE : FALSE;
  LogEnabled = Enable != FALSE;
  return Was;
}

int WINAPI GetCallLogCount() { return Log ? static_cast<int>(Log->size()) : 0; }

int WINAPI GetCallLogEntry(int Index, char* Buffer, int BufferSize) {
  return HostGuard<int>(-1, [&]() -> int {
    if (Index < 0 || Index >= GetCallLogCount()) return -1;
    return CopyOut((*Log)[Index], Buffer, BufferSize);
  });
}

void WINAPI ClearCallLog() {
  if (Log) Log->clear();
}

// ---------------------------------------------------------------------------------
// Seeds

int WINAPI AddLayerPair(Integer Board, Byte Layer1, Byte Layer2) {
  return HostGuard<int>(-1, [&]() -> int {
    TBoard* Paired = Store().Board(Board);
    bool Valid = Layer1 >= 1 && Layer1 <= MaxLayer && Layer2 >= 1 && Layer2 <= MaxLayer;
    if (!Paired || !Valid) return -1;
    Paired->Pairs.push_back(TLayerPair{Layer1, Layer2, 0, 0});
    return static_cast<int>(Paired->Pairs.size()) - 1;
  });
}

BOOL WINAPI SetLayerState(Integer Board, Byte Layer, Byte InUse, Byte State2, Byte State3) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TBoard* Set = Store().Board(Board);
    if (!Set || Layer < 1 || Layer > MaxLayer) return FALSE;
    Set->Layers[Layer].InUse = InUse ? 1 : 0;
    Set->Layers[Layer].State2 = State2;
    Set->Layers[Layer].State3 = State3;
    return TRUE;
  });
}

BOOL WINAPI SetReportedIdBits(Integer Object, Byte Bits) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TObject* Seeded = Store().Object(Object);
    if (!Seeded) return FALSE;
    Seeded->ReportedIdBits = Bits;
    return TRUE;
  });
}

BOOL WINAPI SetReportedCounts(Integer Dimension, Integer ReferenceCount,
                              Integer TextLocationCount) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    TDimension* Seeded = Store().ObjectAs<TDimension>(Dimension);
    if (!Seeded) return FALSE;
    Seeded->ReportedReferenceCount = ReferenceCount < 0 ? -1 : ReferenceCount;
    Seeded->ReportedTextLocationCount = TextLocationCount < 0 ? -1 : TextLocationCount;
    return TRUE;
  });
}

BOOL WINAPI FailNextCalls(const char* ExportName, int Calls, Integer Status) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    std::string Name = HostText(ExportName);
    if (!IsStatusExport(Name) || Calls < 0) return FALSE;
    SeedFailure(Name, 0, Calls, Status);
    return TRUE;
  });
}

BOOL WINAPI FailNthCall(const char* ExportName, int N, Integer Value) {
  return HostGuard<BOOL>(FALSE, [&]() -> BOOL {
    std::string Name = HostText(ExportName);
    if (!IsSeedableExport(Name) || N < 0) return FALSE;
    SeedFailure(Name, N > 0 ? N - 1 : 0, N > 0 ? 1 : 0, Value);
    return TRUE;
  });
}

int WINAPI GetObjectCount() {
  return HostGuard<int>(-1, [] { return static_cast<int>(Store().ObjectCount()); });
}

// Nothing may leave the entry (the loader cannot unwind it): a failing start makes
// the library fail to load, a failing end is written for a debugger.
BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(Instance);
    try {
      char Text[16] = "";
      DWORD Length = GetEnvironmentVariableA(NextHandleVariable, Text, sizeof(Text));
      Integer Next = 0;
      if (Length > 0 && Length < sizeof(Text)) std::from_chars(Text, Text + Length, Next);
      if (Next > 1) Store().SetNextHandle(Next);
    } catch (...) {
      OutputDebugStringA("Merovan: failed to start\n");
      return FALSE;
    }
  }
  if (Reason == DLL_PROCESS_DETACH) {
    try {
      SetEnvironmentVariableA(NextHandleVariable,
                              std::to_string(Store().NextHandle()).c_str());
      FreeStore();
      delete Log;
      Log = nullptr;
      delete Failures;
      Failures = nullptr;
    } catch (...) {
      OutputDebugStringA("Merovan: failed to end\n");
    }
    ReleaseModuleRuntime();
  }
  return TRUE;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&CreateDocument), TMerovanCreateDocument>);
static_assert(std::is_same_v<decltype(&RenameDocument), TMerovanRenameDocument>);
static_assert(std::is_same_v<decltype(&CloseDocument), TMerovanCloseDocument>);
static_assert(std::is_same_v<decltype(&FindDocument), TMerovanFindDocument>);
static_assert(std::is_same_v<decltype(&GetDocumentName), TMerovanGetDocumentName>);
static_assert(std::is_same_v<decltype(&SaveDocument), TMerovanSaveDocument>);
static_assert(std::is_same_v<decltype(&EnableCallLog), TMerovanEnableCallLog>);
static_assert(std::is_same_v<decltype(&GetCallLogCount), TMerovanGetCallLogCount>);
static_assert(std::is_same_v<decltype(&GetCallLogEntry), TMerovanGetCallLogEntry>);
static_assert(std::is_same_v<decltype(&ClearCallLog), TMerovanClearCallLog>);
static_assert(std::is_same_v<decltype(&AddLayerPair), TMerovanAddLayerPair>);
static_assert(std::is_same_v<decltype(&SetLayerState), TMerovanSetLayerState>);
static_assert(std::is_same_v<decltype(&SetReportedIdBits), TMerovanSetReportedIdBits>);
static_assert(std::is_same_v<decltype(&SetReportedCounts), TMerovanSetReportedCounts>);
static_assert(std::is_same_v<decltype(&FailNextCalls), TMerovanFailNextCalls>);
static_assert(std::is_same_v<decltype(&FailNthCall), TMerovanFailNthCall>);
static_assert(std::is_same_v<decltype(&GetObjectCount), TMerovanGetObjectCount>);
static_assert(std::is_same_v<decltype(&DrawDocument), TMerovanDrawDocument>);
