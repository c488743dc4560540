// The exception hierarchy. Exceptions are thrown by value and caught by reference;
// each carries an English message.
#pragma once

#include <exception>
#include <initializer_list>

#include "classlib/Format.h"
#include "classlib/Objects.h"

// Also a standard exception, so that code which knows only those (a test runner, a
// program's main) can name it: what() is "ClassName: Message". TObject stays the first
// base, at the start of the object, and every handler in this library catches
// Exception before std::exception.
class Exception : public TObject, public std::exception {
  TCLASS_DECL(Exception, TObject)
 public:
  explicit Exception(const AnsiString& Msg) : FMessage(Msg) {}
  // The CreateFmt constructor: the message is Format(Fmt, Args).
  Exception(const AnsiString& Fmt, std::initializer_list<TVarRec> Args)
      : FMessage(FormatArgs(Fmt, Args)) {}

  const AnsiString& Message() const { return FMessage; }
  void SetMessage(const AnsiString& Value) { FMessage = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  // The class name and the message, made when asked (the class is the thrown one,
  // and the message may have changed since the construction).
  const char* what() const noexcept override;

 private:
  AnsiString FMessage;
  int FHelpContext = 0;
  mutable AnsiString FWhat;
};

#define TCLASS_EXCEPTION(Name, Parent) \
  class Name : public Parent {         \
    TCLASS_DECL(Name, Parent)          \
   public:                             \
    using Parent::Parent;              \
  };

TCLASS_EXCEPTION(EAbort, Exception)
TCLASS_EXCEPTION(EListError, Exception)
TCLASS_EXCEPTION(EStringListError, EListError)
TCLASS_EXCEPTION(EConvertError, Exception)
TCLASS_EXCEPTION(EInvalidOperation, Exception)
TCLASS_EXCEPTION(EInvalidPointer, Exception)
TCLASS_EXCEPTION(EOutOfMemory, Exception)
TCLASS_EXCEPTION(EClassNotFound, Exception)
TCLASS_EXCEPTION(EStreamError, Exception)
TCLASS_EXCEPTION(EFCreateError, EStreamError)
TCLASS_EXCEPTION(EFOpenError, EStreamError)
TCLASS_EXCEPTION(EReadError, EStreamError)
TCLASS_EXCEPTION(EWriteError, EStreamError)
TCLASS_EXCEPTION(EResNotFound, Exception)
TCLASS_EXCEPTION(ERegistryException, Exception)
TCLASS_EXCEPTION(EIniFileException, Exception)
TCLASS_EXCEPTION(EOSError, Exception)
TCLASS_EXCEPTION(EOleError, Exception)
// A value refused by an edit control's mask.
TCLASS_EXCEPTION(EDBEditError, Exception)

// A failing HRESULT, with the system's text for it.
class EOleSysError : public EOleError {
  TCLASS_DECL(EOleSysError, EOleError)
 public:
  EOleSysError(const AnsiString& Msg, HRESULT Code) : EOleError(Msg), FErrorCode(Code) {}
  HRESULT ErrorCode() const { return FErrorCode; }

 private:
  HRESULT FErrorCode;
};

// Messages raised by the class library.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SOutOfMemory = "Out of memory";
inline constexpr const char* SOperationAborted = "Operation aborted";

// The system's text for an error code, without the trailing line break.
AnsiString SysErrorMessage(DWORD ErrorCode);
// Raises EOSError for GetLastError() when Condition is false.
void Win32Check(bool Condition);
// Raises EAbort, the silent exception that ends an operation without a message box.
[[noreturn]] void Abort();

// How an error reaches the user. By default a message box owned by the active window;
// tests replace the procedure to see the message instead of a box.
using TShowExceptionProc = void (*)(const AnsiString& Message);
extern TShowExceptionProc ShowExceptionProc;
// Shows the exception's message; EAbort shows nothing.
void ShowException(const Exception& E);
// Inside a catch block: shows whatever is being handled (class-library exceptions,
// standard exceptions, or anything else as an unknown error). Outside one it does
// nothing.
void ShowCurrentException();

// Where code that must not raise hands the exception it caught: window procedures,
// timer and hook callbacks at a Windows boundary, and the freeing of objects in
// destructors, scope ends and Release. Set by the Forms unit to
// Application->HandleException; without it the exception is shown through
// ShowCurrentException.
extern void (*ApplicationHandleException)(TObject* Sender);
// Inside a catch block: calls ApplicationHandleException (or the fallback). Never
// raises; outside a catch block it does nothing.
void HandleWindowException(TObject* Sender);
