// Files the tests make and read: a whole file's bytes, and scratch folders under the
// temporary folder.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The bytes of a file; empty when it cannot be read.
inline std::string FileText(const std::string& Path) {
  std::ifstream File(Path, std::ios::binary);
  std::ostringstream Text;
  Text << File.rdbuf();
  return Text.str();
}

inline void WriteFileText(const std::string& Path, const std::string& Text) {
  std::ofstream(Path, std::ios::binary | std::ios::trunc) << Text;
}

// A new empty folder under the temporary folder, named after Prefix.
inline std::string NewScratchFolder(const std::string& Prefix) {
  char Temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Temp);
  for (int Number = 1;; ++Number) {
    std::string Folder = std::string(Temp) + Prefix + std::to_string(GetCurrentProcessId()) +
                         "-" + std::to_string(Number);
    if (CreateDirectoryA(Folder.c_str(), nullptr)) return Folder + "\\";
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
  }
}

// The names of the files in Folder (with a trailing backslash) that match Pattern.
inline std::vector<std::string> FilesIn(const std::string& Folder, const char* Pattern = "*") {
  std::vector<std::string> Names;
  WIN32_FIND_DATAA Found;
  HANDLE Search = FindFirstFileA((Folder + Pattern).c_str(), &Found);
  if (Search == INVALID_HANDLE_VALUE) return Names;
  do {
    if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Names.push_back(Found.cFileName);
  } while (FindNextFileA(Search, &Found));
  FindClose(Search);
  return Names;
}

// Deletes the files in Folder (with a trailing backslash), then the folder.
inline void RemoveScratchFolder(const std::string& Folder) {
  if (Folder.empty()) return;
  for (const std::string& Name : FilesIn(Folder)) DeleteFileA((Folder + Name).c_str());
  RemoveDirectoryA(Folder.c_str());
}
