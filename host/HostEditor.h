// The host's side of the PCB editor module "Merovan.dll": loading it from the install
// folder and the private exports the host uses to keep one board per PCB document.
// Every call is harmless while the module is not loaded (it answers 0 or false).
#pragma once

#include <windows.h>

#include <string>

#include "classlib/SysTypes.h"

class THostEditor {
 public:
  THostEditor() = default;
  ~THostEditor() { Unload(); }
  THostEditor(const THostEditor&) = delete;
  THostEditor& operator=(const THostEditor&) = delete;

  // Loads Folder + "Merovan.dll" unless it is loaded. Returns false and fills Error
  // when it cannot be loaded.
  bool Load(const std::string& Folder, std::string& Error);
  // Unloads the module; every board it held is gone with it. False when FreeLibrary
  // failed (the module is let go of all the same).
  bool Unload();
  HMODULE Module() const { return FModule; }

  // A board for a new document named Name: blank, or the content of the file Name
  // when that is one (see CreateDocument in host/MerovanApi.h). 0 without a board.
  Integer OpenBoard(const std::string& Kind, const std::string& Name);
  void RenameBoard(Integer Board, const std::string& Name);
  void CloseBoard(Integer Board);
  // The board as text (SaveDocument) and as a PNG picture of Width x Height pixels
  // (DrawDocument); false when the module is not loaded or the file cannot be written.
  bool SaveBoard(Integer Board, const std::string& FileName);
  bool DrawBoard(Integer Board, const std::string& FileName, int Width, int Height);

 private:
  HMODULE FModule = nullptr;
};
