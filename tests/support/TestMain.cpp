// The main of every test program. It starts and ends the module's units as the DLL
// entry does, with the test program as the module whose resources are used.
#include <gtest/gtest.h>

#include "classlib/ModuleInit.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(ModuleUnits, ModuleUnitCount);
  int Result = RUN_ALL_TESTS();
  FinalizeUnits();
  return Result;
}
