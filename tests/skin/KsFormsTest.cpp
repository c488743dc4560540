// The skinned frame's process-wide objects: the caption fonts and images, and the
// shared frame bitmap with its GetGlobalBuffer export, in this program and in the
// module loaded by a host that lends its buffer and by one that does not.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "classlib/FileUtils.h"
#include "skin/KsForms.h"
#include "tests/host/HostProcessSupport.h"
#include "tests/skin/BitmapTestSupport.h"

using namespace skintest;

namespace {

TEST(KsSharedBitmapTest, InAnExecutableItIsItsOwnScreenSizedBitmapDescribedAlike) {
  ASSERT_NE(SharedBitmap, nullptr);
  EXPECT_FALSE(SharedBitmap->Shared());
  EXPECT_EQ(SharedBitmap->Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(SharedBitmap->Height(), GetSystemMetrics(SM_CYSCREEN));
  TGlobalBufferInfo First, Second;
  std::memset(&First, 0xCC, sizeof(First));
  std::memset(&Second, 0x33, sizeof(Second));
  GetGlobalBuffer(&First);
  GetGlobalBuffer(&Second);
  EXPECT_EQ(std::memcmp(&First, &Second, sizeof(First)), 0);
  const TGlobalBufferInfo Own = SharedBitmap->ExportBufferInfo();
  EXPECT_EQ(std::memcmp(&First, &Own, sizeof(First)), 0);
  GetGlobalBuffer(nullptr);  // ignored
  // A second start only counts; the matching end leaves the bitmap to the last one.
  InitKsForms();
  DoneKsForms();
  EXPECT_EQ(GetObjectType(SharedBitmap->DC()), static_cast<DWORD>(OBJ_MEMDC));
}

TEST(KsCaptionTest, FontsComeFromTheNonClientMetrics) {
  NONCLIENTMETRICSA Metrics{};
  Metrics.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &Metrics, 0));
  ASSERT_NE(CaptionFont, nullptr);
  EXPECT_EQ(CaptionFont->Name(), Metrics.lfCaptionFont.lfFaceName);
  EXPECT_EQ(CaptionFont->Height(), Metrics.lfCaptionFont.lfHeight);
  EXPECT_EQ(CaptionFont->Style().Contains(fsBold), Metrics.lfCaptionFont.lfWeight >= FW_BOLD);
  ASSERT_NE(SmallCaptionFont, nullptr);
  EXPECT_EQ(SmallCaptionFont->Name(), Metrics.lfSmCaptionFont.lfFaceName);
  EXPECT_EQ(SmallCaptionFont->Height(), Metrics.lfSmCaptionFont.lfHeight);
}

// Draws image Index of the caption images on a bitmap of one colour.
TOwned<TKsBitmap> DrawCaptionImage(int Index, TKsColor Ground) {
  TOwned<TKsBitmap> B = MakeBitmap(16, 16, Ground);
  TOwned<TCanvas> Canvas(NewObject<TCanvas>());
  Canvas->SetHandle(B->DC());
  CaptionButtonImages->Draw(Canvas.get(), 0, 0, Index);
  Canvas->SetHandle(nullptr);
  return B;
}

TEST(KsCaptionTest, SixMaskedGlyphsInTheirOrder) {
  ASSERT_NE(CaptionButtonImages, nullptr);
  EXPECT_EQ(CaptionButtonImages->Count(), 6);
  EXPECT_EQ(CaptionButtonImages->Width(), 16);
  EXPECT_EQ(CaptionButtonImages->Height(), 16);
  std::vector<TKsColor> Glyphs[6];
  for (int Index = ciClose; Index <= ciTray; ++Index) {
    TOwned<TKsBitmap> OnWhite = DrawCaptionImage(Index, 0xFFFFFFFF);
    TOwned<TKsBitmap> OnGreen = DrawCaptionImage(Index, 0xFF00FF00);
    int Ink = 0;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) {
        const TKsColor W = OnWhite->GetPixel(X, Y) & 0xFFFFFF, G = OnGreen->GetPixel(X, Y) & 0xFFFFFF;
        // The magenta ground is masked out; the glyph is black on either ground.
        EXPECT_TRUE((W == 0xFFFFFF && G == 0x00FF00) || (W == 0 && G == 0))
            << "image " << Index << " at " << X << "," << Y << std::hex << ": " << W << ", " << G;
        Ink += W == 0;
        Glyphs[Index].push_back(W);
      }
    EXPECT_GT(Ink, 10) << Index;
    EXPECT_EQ(OnWhite->GetPixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << Index;
  }
  for (int A = 0; A < 6; ++A)
    for (int B = A + 1; B < 6; ++B) EXPECT_NE(Glyphs[A], Glyphs[B]) << A << " and " << B;
  // The close glyph crosses its square; the minimize glyph is a bar at the bottom.
  EXPECT_EQ(Glyphs[ciClose][4 * 16 + 4], 0u);
  EXPECT_EQ(Glyphs[ciClose][11 * 16 + 11], 0u);
  EXPECT_EQ(Glyphs[ciMinimize][12 * 16 + 6], 0u);
  EXPECT_EQ(Glyphs[ciMinimize][4 * 16 + 6], 0xFFFFFFu);
}

// A test host's run with the built module, and its "key=value" lines.
struct THostReport {
  TRunResult Run;
  std::map<std::string, std::string> Fields;
  std::string& operator[](const std::string& Key) { return Fields[Key]; }
};

THostReport RunHost(const char* Host) {
  const AnsiString Folder = ExtractFilePath(GetModuleFileNameStr(nullptr));
  THostReport Report;
  Report.Run = RunProgram(
      "\"" + Folder + Host + "\" \"" + Folder + "..\\host-root\\Tarvik.dll\"", Folder);
  EXPECT_EQ(Report.Run.ExitCode, 0u) << Report.Run;
  std::istringstream Lines(Report.Run.Output);
  for (std::string Line; std::getline(Lines, Line);) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const std::size_t Equals = Line.find('=');
    if (Equals != std::string::npos)
      Report[Line.substr(0, Equals)] = Line.substr(Equals + 1);
  }
  return Report;
}

TEST(KsGlobalBufferExportTest, AModuleInAHostWithoutTheExportHasAScreenSizedBufferOfItsOwn) {
  auto Report = RunHost("skin_plain_host.exe");
  SCOPED_TRACE(::testing::Message() << Report.Run);
  ASSERT_FALSE(Report.Fields.empty());
  EXPECT_EQ(Report["module.width"] + "x" + Report["module.height"], Report["screen"]);
  EXPECT_NE(Report["module.dc"], "00000000");
  EXPECT_NE(Report["module.bits"], "00000000");
  EXPECT_EQ(Report["module.bitcount"], "32");
  EXPECT_EQ(Report["twice"], "same");
  EXPECT_EQ(Report["unload"], "ok");
}

TEST(KsGlobalBufferExportTest, AModuleInAHostWithTheExportHandsOutTheHostsBuffer) {
  auto Report = RunHost("skin_buffer_host.exe");
  SCOPED_TRACE(::testing::Message() << Report.Run);
  ASSERT_FALSE(Report.Fields.empty());
  EXPECT_EQ(Report["host.width"], "37");
  for (const char* Field : {"handle", "dc", "bits", "width", "height", "bitcount"})
    EXPECT_EQ(Report[std::string("module.") + Field], Report[std::string("host.") + Field]) << Field;
  EXPECT_EQ(Report["twice"], "same");
  EXPECT_EQ(Report["unload"], "ok");
  // Unloading the module left the lent handles alone.
  EXPECT_EQ(Report["after.dc"], "alive");
  EXPECT_EQ(Report["after.bitmap"], "alive");
}

}  // namespace
