// The theme engine: the painter it owns, the deltas, the painter registry, the
// "ThemeClass" stream property and form files, and the refresh of themed windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/StrUtils.h"
#include "tests/support/ExpectRaises.h"
#include "ThemeTestPainter.h"
#include "classlib/Forms.h"
#include "skin/KsThemeLuna.h"

using namespace themetest;

namespace {

// Stands in for a themed window: the refresher below takes it as one of its engine's.
class TThemedMarker : public TComponent {
  TCLASS_DECL(TThemedMarker, TComponent)
 public:
  explicit TThemedMarker(TComponent* AOwner) : TComponent(AOwner) {}
  TTeThemeEngine* Engine = nullptr;
  int Refreshes = 0;
};
TCLASS_IMPL(TThemedMarker)

// Every component the refresher was asked about, in order.
std::vector<TComponent*> AskedComponents;

bool RefreshMarker(TComponent* Component, TTeThemeEngine* Engine) {
  AskedComponents.push_back(Component);
  auto* Marker = ObjectAs<TThemedMarker>(Component);
  if (!Marker || Marker->Engine != Engine) return false;
  ++Marker->Refreshes;
  return true;
}

std::vector<Byte> StreamBytes(TMemoryStream* Stream) {
  auto* Data = static_cast<const Byte*>(Stream->Memory());
  return std::vector<Byte>(Data, Data + Stream->Size());
}

// An engine's form file: its painter named "Recorder", after the lines given.
AnsiString EngineText(const AnsiString& Lines) {
  return "form TeThemeEngine1: TTeThemeEngine\n" + Lines +
         "  ThemeClass = hex 08000000 5265636F72646572\nend\n";
}

TOwned<TMemoryStream> StreamOf(const std::vector<Byte>& Bytes) {
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<int>(Bytes.size()));
  Stream->SetPosition(0);
  return Stream;
}

// A form on the screen with a marker bound to an engine it owns.
class ThemeEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    AskedComponents.clear();
    ThemeFormRefresher = RefreshMarker;
    Form.reset(NewObject<TForm>(nullptr, CreateNew));
    Engine = NewObject<TTeThemeEngine>(Form.get());
    Marker = NewObject<TThemedMarker>(Form.get());
    Marker->Engine = Engine;
  }

  // An engine whose painter is a recorder that is available or not.
  void UseRecorder(bool Available) {
    TRecordingPainter::Available = Available;
    Engine->SetThemeClass(RecorderClass());
    Recorder = static_cast<TRecordingPainter*>(Engine->Theme());
    ASSERT_EQ(Recorder->ClassType(), RecorderClass());
    Marker->Refreshes = 0;
  }

  TThemeRegistryScope Scope;
  TOwned<TForm> Form;
  TTeThemeEngine* Engine = nullptr;
  TThemedMarker* Marker = nullptr;
  TRecordingPainter* Recorder = nullptr;
};

}  // namespace

TEST_F(ThemeEngine, StartsWithTheAtlasPainterUntilAnotherDefaultIsNamed) {
  EXPECT_EQ(Engine->Theme()->ClassType(), &TTeThemeLuna::StaticClass());
  EXPECT_TRUE(Engine->ThemeAvailable());
  EXPECT_EQ(GetStrProp(Engine, "Version"), "2.7.9");
  SetStrProp(Engine, "Version", "1.0");
  EXPECT_EQ(Engine->Version(), "2.7.9");

  DefaultThemeClass = RecorderClass();
  TOwned<TTeThemeEngine> Other(NewObject<TTeThemeEngine>(nullptr));
  EXPECT_EQ(Other->Theme()->ClassType(), RecorderClass());
  EXPECT_TRUE(IsPublishedProp(Other.get(), "Theme"));
}

// ---------------------------------------------------------------------------------
// The painter

TEST_F(ThemeEngine, ANewPainterReplacesAndFreesTheOldOneWithoutTheDeltasAndTheEngineFreesTheLast) {
  UseRecorder(true);
  const int FreedBefore = TRecordingPainter::Freed;
  // Setting the current painter again changes nothing; it still answers.
  Engine->SetTheme(Recorder);
  ASSERT_EQ(TRecordingPainter::Freed, FreedBefore);
  EXPECT_EQ(Engine->Theme(), Recorder);
  EXPECT_EQ(Marker->Refreshes, 0);
  EXPECT_EQ(Engine->Theme()->GetSize(2), 102);

  Engine->SetDeltaHue(30);
  Marker->Refreshes = 0;
  auto* Fresh = NewObject<TRecordingPainter>();
  Engine->SetTheme(Fresh);
  EXPECT_EQ(TRecordingPainter::Freed, FreedBefore + 1);
  EXPECT_EQ(Engine->Theme(), Fresh);
  EXPECT_EQ(Fresh->DeltaHue(), 0);
  EXPECT_EQ(Marker->Refreshes, 1);

  SetObjectProp(Engine, "Theme", NewObject<TOtherPainter>());
  EXPECT_EQ(TRecordingPainter::Freed, FreedBefore + 2);
  EXPECT_EQ(Engine->Theme()->ClassType(), OtherClass());

  // Freeing the engine frees its painter.
  Engine->SetTheme(NewObject<TRecordingPainter>());
  Form.reset();
  EXPECT_EQ(TRecordingPainter::Freed, FreedBefore + 3);
}

TEST_F(ThemeEngine, SetThemeClassMakesANewPainterOnlyForARegisteredClass) {
  UseRecorder(true);
  Engine->SetThemeClass(RecorderClass());
  EXPECT_NE(Engine->Theme(), Recorder);  // a new one, even of the same class
  EXPECT_EQ(Engine->Theme()->ClassType(), RecorderClass());
  EXPECT_EQ(Marker->Refreshes, 1);

  UnregisterTheme(OtherClass());
  TTeTheme* Kept = Engine->Theme();
  Engine->SetThemeClass(OtherClass());
  EXPECT_EQ(Engine->Theme(), Kept);
  EXPECT_EQ(Marker->Refreshes, 2);
}

// ---------------------------------------------------------------------------------
// Deltas

TEST_F(ThemeEngine, AvailablePainterTakesAChangedDeltaAndTheWindowsRefresh) {
  UseRecorder(true);
  TRecordingPainter::Log.clear();
  Engine->SetDeltaHue(0);  // equal: nothing
  Engine->SetDeltaBrightness(0);
  EXPECT_TRUE(TRecordingPainter::Log.empty());
  EXPECT_EQ(Marker->Refreshes, 0);

  Engine->SetDeltaHue(25);
  Engine->SetDeltaBrightness(-10);
  Engine->SetDeltaHue(25);
  EXPECT_EQ(Recorder->DeltaHue(), 25);
  EXPECT_EQ(Recorder->DeltaBrightness(), -10);
  EXPECT_EQ(Recorder->ColorUpdates.size(), 2u);
  EXPECT_EQ(Marker->Refreshes, 2);

  // While loading the painter still follows, but the windows are left alone.
  Engine->SetComponentStateFlag(csLoading, true);
  Engine->SetDeltaHue(26);
  Engine->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(Recorder->DeltaHue(), 26);
  EXPECT_EQ(Marker->Refreshes, 2);
}

TEST_F(ThemeEngine, UnavailablePainterDeltasWaitForTheNextPainterClass) {
  UseRecorder(false);
  Engine->SetDeltaHue(25);
  Engine->SetDeltaBrightness(-10);
  EXPECT_EQ(Engine->DeltaHue(), 25);
  EXPECT_EQ(Recorder->DeltaHue(), 0);
  EXPECT_TRUE(Recorder->ColorUpdates.empty());
  EXPECT_EQ(Marker->Refreshes, 0);

  TRecordingPainter::Available = true;
  Engine->SetThemeClass(RecorderClass());
  auto* Next = static_cast<TRecordingPainter*>(Engine->Theme());
  ASSERT_EQ(Next->ColorUpdates.size(), 2u);
  EXPECT_EQ(Next->ColorUpdates[0], std::make_pair(25, 0));  // hue first
  EXPECT_EQ(Next->ColorUpdates[1], std::make_pair(25, -10));
}

// ---------------------------------------------------------------------------------
// Registry

TEST_F(ThemeEngine, RegistryFindsTheFirstClassOfAnExactName) {
  EXPECT_EQ(Themes(0), &TTeTheme::StaticClass());
  EXPECT_EQ(FindTheme("No Theme"), &TTeTheme::StaticClass());
  EXPECT_EQ(FindTheme("Recorder"), RecorderClass());
  EXPECT_EQ(FindTheme("recorder"), nullptr);
  EXPECT_EQ(FindTheme("Recorder "), nullptr);
  ExpectRaises<EListError>([] { Themes(ThemeCount()); },
                           "List index out of bounds (" + IntToStr(ThemeCount()) + ")");

  // No duplicate test: a second entry is appended, and removing the class removes both.
  const int Count = ThemeCount();
  RegisterTheme(RecorderClass());
  EXPECT_EQ(ThemeCount(), Count + 1);
  EXPECT_EQ(Themes(Count), RecorderClass());
  UnregisterTheme(RecorderClass());
  EXPECT_EQ(ThemeCount(), Count - 1);
  EXPECT_EQ(FindTheme("Recorder"), nullptr);
}

// Unregistering the class of the painter in use leaves that painter working and
// streamed; only finding the class by its name or class reference stops.
TEST_F(ThemeEngine, UnregisteringThePainterInUseKeepsItWorking) {
  UseRecorder(true);
  UnregisterTheme(RecorderClass());
  EXPECT_EQ(Engine->Theme(), Recorder);
  EXPECT_TRUE(Engine->ThemeAvailable());
  Engine->SetDeltaHue(5);
  EXPECT_EQ(Recorder->DeltaHue(), 5);

  TOwned<TMemoryStream> Written(NewObject<TMemoryStream>());
  Engine->WriteThemeClass(Written.get());
  EXPECT_EQ(Written->Size(), 12);

  Written->SetPosition(0);
  Engine->ReadThemeClass(Written.get());
  EXPECT_EQ(Engine->Theme(), Recorder);
  Engine->SetThemeClass(RecorderClass());
  EXPECT_EQ(Engine->Theme(), Recorder);
}

// ---------------------------------------------------------------------------------
// "ThemeClass"

TEST_F(ThemeEngine, ThemeClassStreamIsTheNameLengthAndTheName) {
  TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
  Engine->WriteThemeClass(Stream.get());
  EXPECT_EQ(StreamBytes(Stream.get()), (std::vector<Byte>{4, 0, 0, 0, 'L', 'u', 'n', 'a'}));

  Engine->SetTheme(NewObject<TTeTheme>());
  Stream->Clear();
  Engine->WriteThemeClass(Stream.get());
  EXPECT_EQ(StreamBytes(Stream.get()),
            (std::vector<Byte>{8, 0, 0, 0, 'N', 'o', ' ', 'T', 'h', 'e', 'm', 'e'}));

  Engine->SetTheme(NewObject<TOtherPainter>());
  Stream->Clear();
  Engine->WriteThemeClass(Stream.get());
  EXPECT_EQ(StreamBytes(Stream.get()),
            (std::vector<Byte>{5, 0, 0, 0, 'O', 't', 'h', 'e', 'r'}));

  // Read back by an engine holding another painter.
  UseRecorder(true);
  Stream->SetPosition(0);
  Engine->ReadThemeClass(Stream.get());
  EXPECT_EQ(Engine->Theme()->ClassType(), OtherClass());
}

TEST_F(ThemeEngine, AnUnknownOrDamagedNameKeepsThePainter) {
  UseRecorder(true);
  const std::vector<std::vector<Byte>> Damaged = {
      {5, 0, 0, 0, 'O', 't', 'h', 'e', 'x'},  // no painter of that name
      {5, 0, 0, 0, 'o', 't', 'h', 'e', 'r'},  // names are case-sensitive
      {6, 0, 0, 0, 'O', 't', 'h', 'e', 'r'},  // longer than the data: not cut to "Other"
      {0xFF, 0xFF, 0xFF, 0xFF, 'O', 't', 'h', 'e', 'r'},  // negative
      {0xFF, 0xFF, 0xFF, 0x7F, 'O', 't', 'h', 'e', 'r'},  // far beyond the data
      {5, 0, 0},                                          // no whole length
      {},
  };
  for (const auto& Bytes : Damaged) {
    auto Stream = StreamOf(Bytes);
    Engine->ReadThemeClass(Stream.get());
    EXPECT_EQ(Engine->Theme(), Recorder) << Bytes.size();
  }

  AnsiString Name = "kept";
  auto Stream = StreamOf({6, 0, 0, 0, 'O', 't', 'h', 'e', 'r'});
  EXPECT_FALSE(TTeThemeEngine::ReadThemeName(Stream.get(), Name));
  EXPECT_EQ(Name, "kept");
  Stream = StreamOf({0, 0, 0, 0});
  EXPECT_TRUE(TTeThemeEngine::ReadThemeName(Stream.get(), Name));
  EXPECT_EQ(Name, "");
}

TEST_F(ThemeEngine, FormFileKeepsThePainterByName) {
  Engine->SetName("TeThemeEngine1");
  Engine->SetDeltaHue(12);
  Engine->SetTheme(NewObject<TOtherPainter>());
  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_NE(Text.find("ThemeClass = hex 050000004F74686572"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Version = \"2.7.9\""), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("DeltaHue = 12"), AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("Theme."), AnsiString::npos) << Text;

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "copy");
  auto* Read = ObjectAs<TTeThemeEngine>(Copy->FindComponent("TeThemeEngine1"));
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->Theme()->ClassType(), OtherClass());
  EXPECT_EQ(Read->DeltaHue(), 12);
  EXPECT_EQ(WriteComponentText(Copy.get()), Text);
}

// Deltas are streamed before the painter's name: the streamed painter gets them too,
// unless a native painter replaces it when loaded.
TEST_F(ThemeEngine, StreamedPainterGetsTheStreamedDeltasAndANativeOneReplacesIt) {
  TOwned<TTeThemeEngine> Read(NewObject<TTeThemeEngine>(nullptr));
  ReadComponentText(Read.get(), EngineText("  DeltaBrightness = -7\n  DeltaHue = 40\n"), "engine");
  auto* Painter = ObjectAs<TRecordingPainter>(Read->Theme());
  ASSERT_NE(Painter, nullptr);
  EXPECT_EQ(Painter->DeltaHue(), 40);
  EXPECT_EQ(Painter->DeltaBrightness(), -7);

  NativeThemeClass = OtherClass();
  TOwned<TTeThemeEngine> Native(NewObject<TTeThemeEngine>(nullptr));
  ReadComponentText(Native.get(), EngineText("  UseNativeXPTheme = True\n"), "engine");
  EXPECT_EQ(Native->Theme()->ClassType(), OtherClass());

  // Without a native painter the streamed one stays.
  NativeThemeClass = nullptr;
  TOwned<TTeThemeEngine> Plain(NewObject<TTeThemeEngine>(nullptr));
  ReadComponentText(Plain.get(), EngineText("  UseNativeXPTheme = True\n"), "engine");
  EXPECT_EQ(Plain->Theme()->ClassType(), RecorderClass());
}

// ---------------------------------------------------------------------------------
// Refreshing themed windows

TEST_F(ThemeEngine, RefreshColoursTheFormsOfItsThemedWindows) {
  UseRecorder(true);
  // A second form whose marker belongs to another engine.
  TOwned<TForm> OtherForm(NewObject<TForm>(nullptr, CreateNew));
  auto* OtherEngine = NewObject<TTeThemeEngine>(OtherForm.get());
  auto* OtherMarker = NewObject<TThemedMarker>(OtherForm.get());
  OtherMarker->Engine = OtherEngine;
  OtherForm->SetColor(clWindow);

  AskedComponents.clear();
  Engine->RefreshThemeForms();
  EXPECT_EQ(Marker->Refreshes, 1);
  EXPECT_EQ(OtherMarker->Refreshes, 0);
  EXPECT_EQ(Form->Color(), RecorderFormColor);
  EXPECT_EQ(OtherForm->Color(), clWindow);
  // Each component of each form is asked, in component order.
  const std::vector<TComponent*> Own = {Engine, Marker};
  EXPECT_TRUE(std::search(AskedComponents.begin(), AskedComponents.end(), Own.begin(),
                          Own.end()) != AskedComponents.end());

  // An unavailable painter gives the form the button face.
  Engine->SetTheme(NewObject<TTeTheme>());
  EXPECT_EQ(Form->Color(), clBtnFace);
}
