// Brackets that a scope closes, however it ends: an object's BeginUpdate/EndUpdate, a
// guard flag, a state flag of a set, a nesting counter, a variable's temporary value.
//
//   TUpdateScope Updating(Strings);     // Strings->BeginUpdate() now, EndUpdate() at the end
//   TFlagScope Busy(FUpdatingFrame);  // true now, false at the end
//
// The closing call of an update may run handlers that raise (an EndUpdate reports the
// batch of changes). On a normal exit its exception leaves the scope, as it would from
// a statement after the body; while another exception unwinds the scope, the first
// exception goes on and the closing call's own is dropped.
#pragma once

#include <exception>
#include <utility>

namespace classlib_detail {

// Runs End at the end of a scope that began with Uncaught exceptions in flight.
template <class TEnd>
void EndScope(int Uncaught, TEnd&& End) noexcept(false) {
  if (std::uncaught_exceptions() <= Uncaught) {
    End();
    return;
  }
  try {
    End();
  } catch (...) {
    // The exception that unwinds the scope is the one to report.
  }
}

}  // namespace classlib_detail

// BeginUpdate on construction, EndUpdate on destruction, for any object with that pair
// (string lists, collections, styles, trees). A null object brackets nothing.
template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T& Object) : TUpdateScope(&Object) {}
  explicit TUpdateScope(T* Object) : FObject(Object) {
    if (FObject) FObject->BeginUpdate();
  }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;
  ~TUpdateScope() noexcept(false) {
    if (FObject) classlib_detail::EndScope(FUncaught, [this] { FObject->EndUpdate(); });
  }

 private:
  T* FObject;
  int FUncaught = std::uncaught_exceptions();
};

template <class T>
TUpdateScope(T*) -> TUpdateScope<T>;
template <class T>
TUpdateScope(T&) -> TUpdateScope<T>;

// Any closing call at the end of a scope, for pairs without an owner of their own
// (DisableAlign / EnableAlign, ...); unlike ScopeExit, the call may raise:
//
//   DisableAlign();
//   auto Enable = AtScopeEnd([this] { EnableAlign(); });
template <class TEnd>
class TEndScope {
 public:
  explicit TEndScope(TEnd End) : FEnd(std::move(End)) {}
  TEndScope(const TEndScope&) = delete;
  TEndScope& operator=(const TEndScope&) = delete;
  ~TEndScope() noexcept(false) { classlib_detail::EndScope(FUncaught, FEnd); }

 private:
  TEnd FEnd;
  int FUncaught = std::uncaught_exceptions();
};

template <class TEnd>
[[nodiscard]] TEndScope<TEnd> AtScopeEnd(TEnd End) {
  return TEndScope<TEnd>(std::move(End));
}

// A guard flag: true for the length of a scope, false after it.
class TFlagScope {
 public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  ~TFlagScope() { FFlag = false; }

 private:
  bool& FFlag;
};

// One element of a set (a control's state, ...) included for the length of a scope and
// excluded after it.
template <class TSet, class TElement>
class TStateScope {
 public:
  TStateScope(TSet& Set, TElement Element) : FSet(Set), FElement(Element) { FSet.Include(FElement); }
  TStateScope(const TStateScope&) = delete;
  TStateScope& operator=(const TStateScope&) = delete;
  ~TStateScope() { FSet.Exclude(FElement); }

 private:
  TSet& FSet;
  TElement FElement;
};

// A nesting counter, one higher for the length of a scope.
template <class TCounter>
class TCountScope {
 public:
  explicit TCountScope(TCounter& Count) : FCount(Count) { ++FCount; }
  TCountScope(const TCountScope&) = delete;
  TCountScope& operator=(const TCountScope&) = delete;
  ~TCountScope() { --FCount; }

 private:
  TCounter& FCount;
};

// A variable set to a value for the length of a scope; the value it had comes back
// after it.
template <class T>
class TValueScope {
 public:
  TValueScope(T& Variable, T Value) : FVariable(Variable), FSaved(std::exchange(Variable, std::move(Value))) {}
  TValueScope(const TValueScope&) = delete;
  TValueScope& operator=(const TValueScope&) = delete;
  ~TValueScope() { FVariable = std::move(FSaved); }

 private:
  T& FVariable;
  T FSaved;
};
