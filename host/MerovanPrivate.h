// Inside the PCB editor stand-in: the call log that every PcbApi_ export writes to,
// and the helpers the exports share. The private exports themselves are typed in
// host/MerovanApi.h.
#pragma once

#include <string>
#include <utility>

#include "host/HostCom.h"
#include "host/MerovanExportList.h"
#include "host/MerovanModel.h"

#define MEROVAN_DECLARE_EXPORT(Name) PcbAbi::Name PcbApi_##Name;
extern "C" {
MEROVAN_PCBAPI_EXPORTS(MEROVAN_DECLARE_EXPORT)
}
#undef MEROVAN_DECLARE_EXPORT

namespace Merovan {

// ---------------------------------------------------------------------------------
// The call log

bool CallLogEnabled();
void AppendCallLog(std::string Line);

inline void LogArgument(std::string& Line, Integer Value) {
  Line += ' ';
  Line += std::to_string(Value);
}
inline void LogArgument(std::string& Line, Byte Value) {
  LogArgument(Line, Integer(Value));
}
// A text in double quotes, with " and \ escaped by a backslash.
void LogArgument(std::string& Line, const PcbString& Text);

// Every export starts with LogCall, which also notes the export's name (a literal) as
// the call in progress: Status looks it up among the seeded failures.
void BeginCall(const char* Name) noexcept;

// Records "Name Argument...": the call's by-value arguments in their logical order.
// A line that cannot be made (out of memory) is dropped.
template <class... Arguments>
void LogCall(const char* Name, const Arguments&... Values) noexcept {
  BeginCall(Name);
  if (!CallLogEnabled()) return;
  HostGuardVoid([&] {
    std::string Line = Name;
    (LogArgument(Line, Values), ...);
    AppendCallLog(std::move(Line));
  });
}

// ---------------------------------------------------------------------------------
// Exchanges

// Mode 1 reads, 0 and 2 write; any other mode is refused.
inline bool ValidMode(TExchangeMode Mode) {
  return Mode == ExchangeRead || Mode == ExchangeWrite || Mode == ExchangeWriteAlt;
}

// Moves one value between the editor's copy and the caller's variable, the way the
// exchange mode says.
class TSwap {
 public:
  explicit TSwap(TExchangeMode Mode) : FRead(Mode == ExchangeRead) {}
  bool Reading() const { return FRead; }

  template <class T>
  const TSwap& operator()(T& Stored, T& Caller) const {
    if (FRead)
      Caller = Stored;
    else
      Stored = Caller;
    return *this;
  }
  const TSwap& operator()(std::string& Stored, PcbString& Caller) const {
    if (FRead)
      Caller.Assign(Stored.data(), Stored.size());
    else
      Stored = Caller.ToString();
    return *this;
  }
  // A read-only value: reported on a read, left alone on a write.
  template <class T, class U>
  const TSwap& Out(const T& Value, U& Caller) const {
    if (FRead) Caller = static_cast<U>(Value);
    return *this;
  }

 private:
  bool FRead;
};

// ---------------------------------------------------------------------------------
// Seeded failures (FailNextCalls, FailNthCall)

// Whether the call in progress is seeded to fail; if so, one of its seeded calls is
// used up and Seeded receives the value to give. A seed that waits for a later call
// only counts this one down.
bool SeededFailure(Integer& Seeded) noexcept;

// The status functions' guard: a seeded failure gives its status without running the
// body; an exception inside gives status 1.
template <class Body>
Integer Status(Body&& Run) noexcept {
  Integer Seeded = 0;
  if (SeededFailure(Seeded)) return Seeded;
  return HostGuard<Integer>(1, std::forward<Body>(Run));
}

// The guard of the exports that answer a handle, an id or a count: a seeded failure
// gives its value without running the body; an exception inside gives Failure.
template <class T, class Body>
T Answer(T Failure, Body&& Run) noexcept {
  Integer Seeded = 0;
  if (SeededFailure(Seeded)) return static_cast<T>(Seeded);
  return HostGuard<T>(Failure, std::forward<Body>(Run));
}

}  // namespace Merovan
