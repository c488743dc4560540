// The board template a board is made from, held open while the PCB editor reads it.
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"

// Raises EBoardBuildError "The board template "<FileName>" could not be opened: <Cause>.".
[[noreturn]] void RefuseBoardTemplate(const AnsiString& FileName, const AnsiString& Cause);

// The causes the host gives: it opened no document from the template, or its PCB editor
// read no board from it.
inline constexpr const char* TemplateNotOpenedCause = "the host opened no document from it";
inline constexpr const char* TemplateUnreadableCause =
    "the PCB editor could not read a board from it (the file is damaged or of another kind)";

// Opens the template for reading and keeps it open until freed: others may read it
// meanwhile, but none may change, move or delete it, so the editor reads the file
// that was checked. A template that cannot make a board is refused at once with
// EBoardBuildError naming the file and the cause: a folder, a file that was moved or
// deleted, one in use by another program, one that is empty or holds nothing but zero
// bytes. What the file holds beyond that is the editor's to judge.
class TBoardTemplate {
 public:
  explicit TBoardTemplate(const AnsiString& AFileName);
  TBoardTemplate(const TBoardTemplate&) = delete;
  TBoardTemplate& operator=(const TBoardTemplate&) = delete;

  const AnsiString& FileName() const { return FFileName; }

 private:
  // Refuses with the cause that the system's error code names.
  [[noreturn]] void RefuseForError(DWORD Error) const;
  // Refuses a file that is empty or holds nothing but zero bytes.
  void CheckContent() const;

  // The open file, closed with the object, and also when the constructor refuses it.
  struct TFileHandle {
    HANDLE Value = INVALID_HANDLE_VALUE;
    ~TFileHandle() {
      if (Value != INVALID_HANDLE_VALUE) CloseHandle(Value);
    }
  };

  AnsiString FFileName;
  TFileHandle FFile;
};
