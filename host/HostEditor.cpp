#include "host/HostEditor.h"

#include "host/HostLoader.h"
#include "host/MerovanApi.h"

namespace {
const char EditorModuleName[] = "Merovan.dll";
}

bool THostEditor::Load(const std::string& Folder, std::string& Error) {
  if (!FModule) FModule = LoadHostModule(Folder, EditorModuleName, Error);
  return FModule != nullptr;
}

bool THostEditor::Unload() {
  if (!FModule) return true;
  bool Freed = FreeLibrary(FModule) != FALSE;
  FModule = nullptr;
  return Freed;
}

Integer THostEditor::OpenBoard(const std::string& Kind, const std::string& Name) {
  if (!FModule) return 0;
  auto Create = HostProcAddress<TMerovanCreateDocument>(FModule, "CreateDocument");
  return Create ? Create(Kind.c_str(), Name.c_str()) : 0;
}

void THostEditor::RenameBoard(Integer Board, const std::string& Name) {
  if (!FModule || !Board) return;
  if (auto Rename = HostProcAddress<TMerovanRenameDocument>(FModule, "RenameDocument"))
    Rename(Board, Name.c_str());
}

void THostEditor::CloseBoard(Integer Board) {
  if (!FModule || !Board) return;
  if (auto Close = HostProcAddress<TMerovanCloseDocument>(FModule, "CloseDocument"))
    Close(Board);
}

bool THostEditor::SaveBoard(Integer Board, const std::string& FileName) {
  if (!FModule || !Board) return false;
  auto Save = HostProcAddress<TMerovanSaveDocument>(FModule, "SaveDocument");
  return Save && Save(Board, FileName.c_str());
}

bool THostEditor::DrawBoard(Integer Board, const std::string& FileName, int Width,
                            int Height) {
  if (!FModule || !Board) return false;
  auto Draw = HostProcAddress<TMerovanDrawDocument>(FModule, "DrawDocument");
  return Draw && Draw(Board, FileName.c_str(), Width, Height);
}
