// The main of every test program. It starts the unit table of the library under test
// (with the tables below it) as the DLL entry starts the module's, with the test
// program as the module whose resources are used, and ends them after the tests.
#include <gtest/gtest.h>

#include <cstdio>

#include "classlib/Exceptions.h"
#include "classlib/ModuleInit.h"
#include "tests/support/CursorSupport.h"

// Named by the build for each test program.
extern const TUnitTable TARVIK_TESTED_UNITS;

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  HInstance = GetModuleHandleA(nullptr);
  // Every program starts with the pointer in the screen's bottom-right corner, away from
  // the windows the tests show, wherever an earlier program on the display left it: a
  // window that opens under the pointer gets its moves.
  PlaceCursor(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  try {
    InitializeUnits(TARVIK_TESTED_UNITS);
  } catch (const Exception& E) {
    std::fprintf(stderr, "The units of %s failed to start: %s\n", TARVIK_TESTED_UNITS.Name,
                 E.Message().c_str());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "The units of %s failed to start.\n", TARVIK_TESTED_UNITS.Name);
    return 1;
  }
  int Result = RUN_ALL_TESTS();
  FinalizeUnits();
  return Result;
}
