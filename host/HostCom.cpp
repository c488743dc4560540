#include "host/HostCom.h"

bool HostSameText(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  if (A.empty()) return true;
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, A.data(), static_cast<int>(A.size()),
                        B.data(), static_cast<int>(B.size())) == CSTR_EQUAL;
}
