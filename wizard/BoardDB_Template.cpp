#include "wizard/BoardDB_Template.h"

#include <algorithm>

#include "classlib/Exceptions.h"
#include "wizard/BoardDB_Maker.h"

namespace {

// How much of the file one read looks at for something other than zero bytes.
constexpr DWORD ContentChunk = 64 * 1024;

}  // namespace

void RefuseBoardTemplate(const AnsiString& FileName, const AnsiString& Cause) {
  throw EBoardBuildError("The board template \"" + FileName + "\" could not be opened: " +
                         Cause + ".");
}

TBoardTemplate::TBoardTemplate(const AnsiString& AFileName) : FFileName(AFileName) {
  const DWORD Attributes = GetFileAttributesA(FFileName.c_str());
  if (Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY))
    RefuseBoardTemplate(FFileName, "it is a folder, not a file");
  FFile.Value = CreateFileA(FFileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FFile.Value == INVALID_HANDLE_VALUE) RefuseForError(GetLastError());
  CheckContent();
}

void TBoardTemplate::RefuseForError(DWORD Error) const {
  switch (Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      RefuseBoardTemplate(FFileName, "the file was moved or deleted");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      RefuseBoardTemplate(FFileName, "the file is in use by another program");
    case ERROR_ACCESS_DENIED:
      RefuseBoardTemplate(FFileName, "access to the file is denied");
    default:
      RefuseBoardTemplate(FFileName, "the system reports \"" + SysErrorMessage(Error) + "\"");
  }
}

void TBoardTemplate::CheckContent() const {
  LARGE_INTEGER Size{};
  if (!GetFileSizeEx(FFile.Value, &Size)) RefuseForError(GetLastError());
  if (Size.QuadPart == 0) RefuseBoardTemplate(FFileName, "the file is empty");
  // Any other file is told by its first chunk; only one of zero bytes is read whole.
  std::string Chunk(ContentChunk, '\0');
  for (;;) {
    DWORD Read = 0;
    if (!ReadFile(FFile.Value, Chunk.data(), ContentChunk, &Read, nullptr))
      RefuseForError(GetLastError());
    if (Read == 0) break;
    if (std::any_of(Chunk.begin(), Chunk.begin() + Read, [](char C) { return C != '\0'; }))
      return;
  }
  RefuseBoardTemplate(FFileName, "the file holds nothing but zero bytes");
}
