#include "editors/dxEditTexts.h"

#include "classlib/ModuleInit.h"

AnsiString dxEditText(UINT Id) {
  char Buffer[256];
  const int Length = LoadStringA(HInstance, Id, Buffer, sizeof(Buffer));
  return Length > 0 ? AnsiString(Buffer, static_cast<std::size_t>(Length)) : AnsiString();
}
