#include "classlib/Exceptions.h"

#include <exception>
#include <new>

TCLASS_IMPL(Exception)
TCLASS_IMPL(EAbort)
TCLASS_IMPL(EListError)
TCLASS_IMPL(EStringListError)
TCLASS_IMPL(EConvertError)
TCLASS_IMPL(EInvalidOperation)
TCLASS_IMPL(EInvalidPointer)
TCLASS_IMPL(EOutOfMemory)
TCLASS_IMPL(EClassNotFound)
TCLASS_IMPL(EStreamError)
TCLASS_IMPL(EFCreateError)
TCLASS_IMPL(EFOpenError)
TCLASS_IMPL(EReadError)
TCLASS_IMPL(EWriteError)
TCLASS_IMPL(EResNotFound)
TCLASS_IMPL(ERegistryException)
TCLASS_IMPL(EIniFileException)
TCLASS_IMPL(EOSError)
TCLASS_IMPL(EDBEditError)
TCLASS_IMPL(EOleError)
TCLASS_IMPL(EOleSysError)

const char* Exception::what() const noexcept {
  try {
    FWhat = ClassName() + ": " + FMessage;
    return FWhat.c_str();
  } catch (...) {
    // No memory for the two together: the message alone.
    return FMessage.c_str();
  }
}

AnsiString SysErrorMessage(DWORD ErrorCode) {
  char Buffer[512];
  DWORD Length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                    FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                nullptr, ErrorCode, 0, Buffer, sizeof(Buffer), nullptr);
  while (Length > 0 && (Buffer[Length - 1] == '\r' || Buffer[Length - 1] == '\n' ||
                        Buffer[Length - 1] == ' ' || Buffer[Length - 1] == '.'))
    --Length;
  return AnsiString(Buffer, Length);
}

void Win32Check(bool Condition) {
  if (Condition) return;
  DWORD Error = GetLastError();
  if (Error == 0) throw EOSError("A call to an OS function failed");
  throw EOSError("System Error.  Code: %d.\r\n%s", {static_cast<int>(Error), SysErrorMessage(Error)});
}

void Abort() { throw EAbort(SOperationAborted); }

namespace {
void MessageBoxException(const AnsiString& Message) {
  MessageBoxA(GetActiveWindow(), Message.c_str(), "Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
}  // namespace

TShowExceptionProc ShowExceptionProc = MessageBoxException;

void ShowException(const Exception& E) {
  if (E.Is<EAbort>()) return;
  ShowExceptionProc(E.Message());
}

void ShowCurrentException() {
  if (!std::current_exception()) return;
  try {
    throw;
  } catch (const Exception& E) {
    ShowException(E);
  } catch (const std::bad_alloc&) {
    ShowExceptionProc(SOutOfMemory);
  } catch (const std::exception& E) {
    ShowExceptionProc(E.what());
  } catch (...) {
    ShowExceptionProc("Unknown error");
  }
}

void (*ApplicationHandleException)(TObject* Sender) = nullptr;

void HandleWindowException(TObject* Sender) {
  if (!std::current_exception()) return;
  try {
    if (ApplicationHandleException)
      ApplicationHandleException(Sender);
    else
      ShowCurrentException();
  } catch (...) {
    // The handler itself failed; nothing may leave a window procedure.
  }
}
