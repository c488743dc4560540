// The workspace stand-in, Halvorn.dll: one workspace that remembers the file names
// handed to it. Its exports are listed in host/HalvornApi.h.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <type_traits>
#include <vector>

#include "framework/ModuleRuntime.h"
#include "framework/RT_ClientServerInterface.h"
#include "host/HalvornApi.h"
#include "host/HostCom.h"

namespace {

class THalvornWorkspace final : public THostComObject<IWorkspace> {
 public:
  std::vector<std::string> FileNames;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override {
    return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
      if (!Result) return E_POINTER;
      *Result = nullptr;
      if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
      return E_NOINTERFACE;
    });
  }


  // 45: remembers the name (converted to the system code page). The BSTR stays the
  // caller's. An empty name is refused.
  HRESULT STDMETHODCALLTYPE AddDocumentFile(BSTR FileName) override {
    return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
      int Length = FileName ? static_cast<int>(SysStringLen(FileName)) : 0;
      if (Length == 0) return E_INVALIDARG;
      int Size = WideCharToMultiByte(CP_ACP, 0, FileName, Length, nullptr, 0, nullptr, nullptr);
      std::string Name(Size, '\0');
      WideCharToMultiByte(CP_ACP, 0, FileName, Length, Name.data(), Size, nullptr, nullptr);
      FileNames.push_back(Name);
      return S_OK;
    });
  }
};

// The module's workspace, made on first use; the module holds one reference to it
// until it is unloaded.
THalvornWorkspace* Workspace = nullptr;

}  // namespace

extern "C" {

HRESULT WINAPI GetWorkspace(IWorkspace** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (!Workspace) Workspace = new THalvornWorkspace;
    HostHandOut<IWorkspace>(Workspace, Result);
    return S_OK;
  });
}

int WINAPI GetWorkspaceFileCount() {
  return Workspace ? static_cast<int>(Workspace->FileNames.size()) : 0;
}

int WINAPI GetWorkspaceFileName(int Index, char* Buffer, int BufferSize) {
  return HostGuard<int>(-1, [&]() -> int {
    if (Index < 0 || Index >= GetWorkspaceFileCount()) return -1;
    const std::string& Name = Workspace->FileNames[Index];
    if (Buffer && BufferSize > 0) {
      std::string::size_type Copied = Name.copy(Buffer, BufferSize - 1);
      Buffer[Copied] = '\0';
    }
    return static_cast<int>(Name.size());
  });
}

void WINAPI ClearWorkspaceFiles() {
  if (Workspace) Workspace->FileNames.clear();
}

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(Instance);
  if (Reason == DLL_PROCESS_DETACH) {
    if (Workspace) Workspace->Release();
    Workspace = nullptr;
    ReleaseModuleRuntime();
  }
  return TRUE;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&GetWorkspace), TGetWorkspace>);
static_assert(std::is_same_v<decltype(&GetWorkspaceFileCount), TGetWorkspaceFileCount>);
static_assert(std::is_same_v<decltype(&GetWorkspaceFileName), TGetWorkspaceFileName>);
static_assert(std::is_same_v<decltype(&ClearWorkspaceFiles), TClearWorkspaceFiles>);
