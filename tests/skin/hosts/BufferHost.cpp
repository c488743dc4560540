// A host that lends the module its own shared bitmap through an exported
// GetGlobalBuffer: a 37 x 23 DIB section, so that it cannot be mistaken for a bitmap
// of the screen's size.
#include "tests/skin/hosts/HostReport.h"

namespace {
TGlobalBufferInfo HostBuffer;
}

extern "C" void KS_REGISTER_CALL GetGlobalBuffer(TGlobalBufferInfo* Info) { *Info = HostBuffer; }

int main(int argc, char** argv) {
  std::memset(&HostBuffer, 0, sizeof(HostBuffer));
  BITMAPINFOHEADER& Header = HostBuffer.BitmapInfo.bmiHeader;
  Header.biSize = sizeof(BITMAPINFOHEADER);
  Header.biWidth = 37;
  Header.biHeight = -23;
  Header.biPlanes = 1;
  Header.biBitCount = 32;
  Header.biCompression = BI_RGB;
  void* Bits = nullptr;
  HostBuffer.Handle = CreateDIBSection(nullptr, &HostBuffer.BitmapInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HostBuffer.DC = CreateCompatibleDC(nullptr);
  SelectObject(HostBuffer.DC, HostBuffer.Handle);
  HostBuffer.Bits = static_cast<TKsColor*>(Bits);
  HostBuffer.Width = 37;
  HostBuffer.Height = 23;
  PrintRecord("host", HostBuffer);

  const int Result = ReportModuleBuffer(argc, argv);
  // The module must have left the lent handles alone.
  std::printf("after.dc=%s\n", GetObjectType(HostBuffer.DC) == OBJ_MEMDC ? "alive" : "gone");
  std::printf("after.bitmap=%s\n", GetObjectType(HostBuffer.Handle) == OBJ_BITMAP ? "alive" : "gone");
  std::fflush(stdout);
  return Result;
}
