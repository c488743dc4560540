// Small helpers for the host's COM-shaped objects: reference counting, placeholder
// slots, interface answers, and the rule that no exception leaves an entry point.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

// A COM object implementing Interfaces. It starts with one reference, owned by its
// creator, and deletes itself when the last reference is released.
template <class... Interfaces>
class THostComObject : public Interfaces... {
 public:
  THostComObject() = default;
  THostComObject(const THostComObject&) = delete;
  THostComObject& operator=(const THostComObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG Count = --FRefCount;
    if (Count == 0) delete this;
    return Count;
  }

 protected:
  virtual ~THostComObject() = default;

 private:
  std::atomic<ULONG> FRefCount{1};
};

// Stores Object's Interface in *Result with a counted reference.
template <class Interface, class Object>
inline HRESULT HostAnswer(Object* Self, void** Result) {
  Interface* Answer = Self;
  Answer->AddRef();
  *Result = Answer;
  return S_OK;
}

// Stores a counted copy of Interface (which may be nullptr) in *Result.
template <class Interface>
inline void HostHandOut(Interface* Value, Interface** Result) {
  if (!Result) return;
  if (Value) Value->AddRef();
  *Result = Value;
}

// Case-insensitive equality of two 8-bit texts, the way the host compares names and
// paths (the system's comparison, independent of the C runtime's locale).
bool HostSameText(const std::string& A, const std::string& B);

// A text the host received, or "" for a null pointer.
inline std::string HostText(const char* Text) { return Text ? std::string(Text) : std::string(); }

// Every entry point runs its body through this: an exception never crosses the COM
// boundary or an export. Body returns the entry point's result; on an exception the
// entry point returns Failure.
template <class Result, class Body>
inline Result HostGuard(Result Failure, Body&& Run) noexcept {
  try {
    return Run();
  } catch (...) {
    return Failure;
  }
}

// The same for an entry point without a result.
template <class Body>
inline void HostGuardVoid(Body&& Run) noexcept {
  try {
    Run();
  } catch (...) {
  }
}
