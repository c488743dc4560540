#include "skin/KsThemeEngine.h"

#include "classlib/Forms.h"
#include "classlib/TypInfo.h"

TTeThemeClass DefaultThemeClass = nullptr;
TTeThemeClass NativeThemeClass = nullptr;
TThemeFormRefresher ThemeFormRefresher = nullptr;

TCLASS_IMPL(TTeThemeEngine)

TTeThemeEngine::TTeThemeEngine(TComponent* AOwner) : TComponent(AOwner) {
  FTheme = DefaultThemeClass ? DefaultThemeClass->Create() : NewObject<TTeTheme>();
}

TTeThemeEngine::~TTeThemeEngine() { FreeAndNil(FTheme); }

void TTeThemeEngine::SetTheme(TTeTheme* Value) {
  // Freeing the painter the engine is handed would leave it holding a freed one.
  if (Value == FTheme) return;
  FreeAndNil(FTheme);
  FTheme = Value;
  RefreshThemeForms();
}

bool TTeThemeEngine::ThemeAvailable() const {
  return FTheme && FTheme->ThemeClass()->IsAvailable();
}

void TTeThemeEngine::SetDeltaHue(int Value) {
  if (Value == FDeltaHue) return;
  FDeltaHue = Value;
  if (!ThemeAvailable()) return;
  FTheme->SetDeltaHue(Value);
  if (!ComponentState().Contains(csLoading)) RefreshThemeForms();
}

void TTeThemeEngine::SetDeltaBrightness(int Value) {
  if (Value == FDeltaBrightness) return;
  FDeltaBrightness = Value;
  if (!ThemeAvailable()) return;
  FTheme->SetDeltaBrightness(Value);
  if (!ComponentState().Contains(csLoading)) RefreshThemeForms();
}

void TTeThemeEngine::SetThemeClass(TTeThemeClass AClass) {
  for (int I = 0; I < ThemeCount(); ++I) {
    if (Themes(I) != AClass) continue;
    // Made before the old one goes, so a failing constructor leaves a painter in place.
    TTeTheme* NewTheme = AClass->Create();
    FreeAndNil(FTheme);
    FTheme = NewTheme;
    break;
  }
  if (ThemeAvailable()) {
    FTheme->SetDeltaHue(FDeltaHue);
    FTheme->SetDeltaBrightness(FDeltaBrightness);
  }
  RefreshThemeForms();
}

void TTeThemeEngine::RefreshThemeForms() {
  if (!Screen || !ThemeFormRefresher) return;
  for (int F = 0; F < Screen->FormCount(); ++F) {
    TForm* Form = Screen->Forms(F);
    for (int C = 0; C < Form->ComponentCount(); ++C) {
      if (!ThemeFormRefresher(Form->Components(C), this)) continue;
      const bool Themed = ThemeAvailable() && !ComponentState().Contains(csDesigning);
      Form->SetColor(Themed ? FTheme->GetColor(6) : clBtnFace);
      if (Form->FormStyle() == fsMDIForm && Form->HandleAllocated()) {
        if (HWND Client = FindWindowExA(Form->Handle(), nullptr, "MDIClient", nullptr)) {
          const RECT Whole{0, 0, Screen->Width(), Screen->Height()};
          InvalidateRect(Client, &Whole, TRUE);
        }
      }
    }
  }
}

void TTeThemeEngine::Loaded() {
  inherited::Loaded();
  if (FUseNativeXPTheme) SetThemeClass(NativeThemeClass);
}

void TTeThemeEngine::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "ThemeClass", TStreamProc::Bind<&TTeThemeEngine::ReadThemeClass>(this),
      TStreamProc::Bind<&TTeThemeEngine::WriteThemeClass>(this), true);
}

void TTeThemeEngine::ReadThemeClass(TStream* Stream) {
  AnsiString Name;
  if (!ReadThemeName(Stream, Name)) return;
  if (TTeThemeClass Found = FindTheme(Name)) SetThemeClass(Found);
}

void TTeThemeEngine::WriteThemeClass(TStream* Stream) {
  if (FTheme) WriteThemeName(Stream, FTheme->ThemeClass()->Name());
}

bool TTeThemeEngine::ReadThemeName(TStream* Stream, AnsiString& Name) {
  Byte Length[4];
  if (Stream->Read(Length, sizeof(Length)) != static_cast<int>(sizeof(Length)))
    return false;
  const Integer N = static_cast<Integer>(
      static_cast<Cardinal>(Length[0]) | static_cast<Cardinal>(Length[1]) << 8 |
      static_cast<Cardinal>(Length[2]) << 16 | static_cast<Cardinal>(Length[3]) << 24);
  // A length the stream cannot hold is damaged data: no name rather than part of one.
  if (N < 0 || N > Stream->Size() - Stream->Position()) return false;
  AnsiString Text(static_cast<std::size_t>(N), '\0');
  if (N > 0 && Stream->Read(Text.data(), N) != N) return false;
  Name = std::move(Text);
  return true;
}

void TTeThemeEngine::WriteThemeName(TStream* Stream, const AnsiString& Name) {
  const Cardinal N = static_cast<Cardinal>(Name.size());
  const Byte Length[4] = {static_cast<Byte>(N), static_cast<Byte>(N >> 8),
                          static_cast<Byte>(N >> 16), static_cast<Byte>(N >> 24)};
  Stream->WriteBuffer(Length, sizeof(Length));
  if (!Name.empty()) Stream->WriteBuffer(Name.data(), static_cast<int>(Name.size()));
}

// ---------------------------------------------------------------------------------

void InitKsThemeEngine() {
  RegisterClass(&TTeThemeEngine::StaticClass());
  TPublish<TTeThemeEngine> P;
  P.Prop("DeltaBrightness", &TTeThemeEngine::DeltaBrightness,
         &TTeThemeEngine::SetDeltaBrightness);
  P.Prop("DeltaHue", &TTeThemeEngine::DeltaHue, &TTeThemeEngine::SetDeltaHue);
  // The painter is named by "ThemeClass"; the object itself is never stored.
  P.Prop("Theme", &TTeThemeEngine::Theme, &TTeThemeEngine::SetTheme).Stored(false);
  P.Prop("UseNativeXPTheme", &TTeThemeEngine::UseNativeXPTheme,
         &TTeThemeEngine::SetUseNativeXPTheme);
  P.Prop("Version", &TTeThemeEngine::Version, &TTeThemeEngine::SetVersion).NoDefault();
}

void DoneKsThemeEngine() {
  UnRegisterPublished(&TTeThemeEngine::StaticClass());
  UnRegisterClass(&TTeThemeEngine::StaticClass());
}
