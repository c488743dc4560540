// The skinned frame's process-wide objects and the shared frame bitmap.
#include "skin/KsForms.h"

#include <cstddef>
#include <cstring>

#include "classlib/ModuleInit.h"
#include "classlib/TypInfo.h"

TFont* CaptionFont = nullptr;
TFont* SmallCaptionFont = nullptr;
TImageList* CaptionButtonImages = nullptr;
TKsBitmap* SharedBitmap = nullptr;

namespace {

int StartCount = 0;

// The record size the kit asks for: the metrics without the padded border width.
constexpr UINT NonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(NonClientMetricsSize == 340);

void MakeCaptionFonts() {
  CaptionFont = NewObject<TFont>();
  SmallCaptionFont = NewObject<TFont>();
  NONCLIENTMETRICSA Metrics;
  std::memset(&Metrics, 0, sizeof(Metrics));
  Metrics.cbSize = NonClientMetricsSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &Metrics, 0)) {
    CaptionFont->SetLogFont(Metrics.lfCaptionFont);
    SmallCaptionFont->SetLogFont(Metrics.lfSmCaptionFont);
  }
}

void MakeCaptionButtonImages() {
  static const char* const Names[] = {"KSE_CLOSE",   "KSE_MINIMIZE", "KSE_MAXIMIZE",
                                      "KSE_RESTORE", "KSE_ROLLUP",   "KSE_TRAY"};
  CaptionButtonImages = NewObject<TImageList>(16, 16);
  CaptionButtonImages->SetDrawingStyle(dsTransparent);
  CaptionButtonImages->SetMasked(true);
  for (const char* Name : Names) {
    TOwned<TBitmap> Image(NewObject<TBitmap>());
    Image->LoadFromResourceName(HInstance, Name);
    CaptionButtonImages->AddMasked(Image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  }
}

// The host executable's shared bitmap, when this module is a library and the
// executable offers one.
bool BorrowHostBuffer() {
  const HMODULE Executable = GetModuleHandleA(nullptr);
  if (HInstance == Executable) return false;
  const auto HostGetGlobalBuffer = reinterpret_cast<TGetGlobalBufferProc>(
      reinterpret_cast<void*>(GetProcAddress(Executable, "GetGlobalBuffer")));
  if (!HostGetGlobalBuffer) return false;
  TGlobalBufferInfo Info;
  std::memset(&Info, 0, sizeof(Info));
  HostGetGlobalBuffer(&Info);
  // A host whose own buffer is not made yet has nothing to lend.
  if (!Info.DC || !Info.Bits || Info.Width <= 0 || Info.Height <= 0) return false;
  SharedBitmap->AdoptBufferInfo(Info);
  return true;
}

void FreeAll() {
  FreeAndNil(SharedBitmap);
  FreeAndNil(CaptionButtonImages);
  FreeAndNil(SmallCaptionFont);
  FreeAndNil(CaptionFont);
}

// What the frame started from, as its constructor chose by its form's style: a form
// file holds each of these values that differs from it, so that it reads back as set.
TKsFrameStart StartOf(const TKsCustomForm* Frame) {
  const auto* Form = ObjectAs<TCustomForm>(Frame->Owner());
  return KsFrameStart(Form && Form->FormStyle() == fsMDIChild);
}
bool BorderIconsStored(const TKsCustomForm* Frame) { return Frame->BorderIcons() != StartOf(Frame).BorderIcons; }
bool MagneticValueStored(const TKsCustomForm* Frame) {
  return Frame->MagneticValue() != StartOf(Frame).MagneticValue;
}
bool MinimizeApplicationStored(const TKsCustomForm* Frame) {
  return Frame->MinimizeApplication() != StartOf(Frame).MinimizeApplication;
}

void RegisterFormProperties() {
  RegisterClass(&TKsCustomForm::StaticClass());
  using F = TKsCustomForm;
  TPublish<F> P;
  P.Prop("BorderStyle", &F::BorderStyle, &F::SetBorderStyle).Default(kbsStandard);
  P.Prop("BorderIcons", &F::BorderIcons, &F::SetBorderIcons).Stored(BorderIconsStored).NoDefault();
  P.Prop("CanResize", &F::CanResize, &F::SetCanResize).Default(true);
  P.Prop("CanMove", &F::CanMove, &F::SetCanMove).Default(true);
  P.Prop("Blend", &F::Blend, &F::SetBlend);
  P.Prop("BlendValue", &F::BlendValue, &F::SetBlendValue).Default(150);
  P.Prop("DropShadow", &F::DropShadow, &F::SetDropShadow);
  P.Prop("ShadowWidth", &F::ShadowWidth, &F::SetShadowWidth).Default(4);
  P.Prop("Magnetic", &F::Magnetic, &F::SetMagnetic).Default(true);
  P.Prop("MagneticValue", &F::MagneticValue, &F::SetMagneticValue).Stored(MagneticValueStored).NoDefault();
  P.Prop("MenuBar", &F::MenuBar, &F::SetMenuBar);
  P.Prop("MinimizeApplication", &F::MinimizeApplication, &F::SetMinimizeApplication)
      .Stored(MinimizeApplicationStored)
      .NoDefault();
  P.Prop("SimpleDrag", &F::SimpleDrag, &F::SetSimpleDrag);
  P.Prop("ShowAnimation", &F::ShowAnimation, &F::SetShowAnimation).Default(kaNone);
  P.Prop("ShowAnimationTime", &F::ShowAnimationTime, &F::SetShowAnimationTime).Default(400);
  P.Prop("StayOnTop", &F::StayOnTop, &F::SetStayOnTop);
  P.Prop("SysMenuBlend", &F::SysMenuBlend, &F::SetSysMenuBlend);
  P.Prop("SysMenuBlendValue", &F::SysMenuBlendValue, &F::SetSysMenuBlendValue).Default(150);
  P.Prop("SysMenuDropShadow", &F::SysMenuDropShadow, &F::SetSysMenuDropShadow);
  P.Prop("SysMenuShadowWidth", &F::SysMenuShadowWidth, &F::SetSysMenuShadowWidth).Default(4);
  P.Prop("SysMenuShowAnimation", &F::SysMenuShowAnimation, &F::SetSysMenuShowAnimation).Default(kaNone);
  P.Prop("SysMenuShowAnimationTime", &F::SysMenuShowAnimationTime, &F::SetSysMenuShowAnimationTime)
      .Default(300);
  P.Prop("TrayMenu", &F::TrayMenu, &F::SetTrayMenu);
  P.Prop("OnPaint", &F::OnPaint);
}

}  // namespace

void InitKsForms() {
  if (StartCount++ > 0) return;
  RegisterFormProperties();
  try {
    MakeCaptionFonts();
    MakeCaptionButtonImages();
    const int ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    SharedBitmap = NewObject<TKsBitmap>();
    if (!BorrowHostBuffer()) SharedBitmap->SetSize(ScreenWidth, ScreenHeight);
  } catch (...) {
    FreeAll();
    StartCount = 0;
    throw;
  }
}

void DoneKsForms() {
  if (StartCount == 0 || --StartCount > 0) return;
  FreeAll();
  UnRegisterPublished(&TKsCustomForm::StaticClass());
  UnRegisterClass(&TKsCustomForm::StaticClass());
}

extern "C" void KS_REGISTER_CALL GetGlobalBuffer(TGlobalBufferInfo* Info) {
  if (!Info) return;
  if (SharedBitmap)
    *Info = SharedBitmap->ExportBufferInfo();
  else
    std::memset(Info, 0, sizeof(*Info));
}
