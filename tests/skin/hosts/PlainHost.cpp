// A host that exports no GetGlobalBuffer: the module keeps a shared bitmap of its own.
#include "tests/skin/hosts/HostReport.h"

int main(int argc, char** argv) {
  const int Result = ReportModuleBuffer(argc, argv);
  std::fflush(stdout);
  return Result;
}
