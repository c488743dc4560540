// Times the kit's tab control against the system tab control in one shown form, both
// multi-line with the same 1,000 captions at the top: a paint of the whole control
// (invalidated, then painted at once), and a hit test inside every tab. Each
// step is run several times and its best time kept; a line per step gives both times
// and the ratio kit / system.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "classlib/FloatConv.h"
#include "classlib/Forms.h"
#include "classlib/ModuleInit.h"
#include "classlib/UpdateScope.h"
#include "skin/KsTabs.h"
#include "skin/Units.h"

namespace {

using bench::Milliseconds;
using bench::PumpAll;

// Numbers in the report's columns.
AnsiString Fixed(double Value, int Decimals) { return bench::Fixed(Value, Decimals, 8); }

constexpr int TabCount = 1000;
constexpr int Runs = 3;
constexpr int Paints = 10;

struct TStep {
  const char* Name;
  double Kit = 1e30;
  double System = 1e30;
};

}  // namespace

int main() {
  HInstance = GetModuleHandleA(nullptr);
  InitializeUnits(SkinUnits);
  INITCOMMONCONTROLSEX Init = {sizeof(Init), ICC_TAB_CLASSES};
  InitCommonControlsEx(&Init);

  TForm* Form = NewObject<TForm>(nullptr);
  Form->SetBounds(0, 0, 1000, 740);
  Form->Show();
  auto* Tabs = NewObject<TKsCustomTabControl>(Form);
  Tabs->SetParent(Form);
  Tabs->SetBounds(0, 0, 490, 700);
  Tabs->SetMultiLine(true);
  HWND System = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | TCS_MULTILINE, 500, 0,
                                490, 700, Form->Handle(), nullptr, HInstance, nullptr);
  SendMessageA(System, WM_SETFONT, reinterpret_cast<WPARAM>(Tabs->Font()->Handle()), FALSE);

  {
    TUpdateScope Updating(Tabs->Tabs());
    TCITEMA Item = {};
    Item.mask = TCIF_TEXT;
    for (int I = 0; I < TabCount; ++I) {
      std::string Caption = "Tab " + std::to_string(I);
      Tabs->Tabs()->Add(Caption);
      Item.pszText = Caption.data();
      SendMessageA(System, TCM_INSERTITEMA, I, reinterpret_cast<LPARAM>(&Item));
    }
  }
  Tabs->SetTabIndex(TabCount / 2);
  SendMessageA(System, TCM_SETCURSEL, TabCount / 2, 0);
  PumpAll();

  // A point inside every tab, as each control places it (the kit's tab rectangles
  // reach down to the page under the nearer rows: a point near their outer edge).
  std::vector<POINT> KitPoints, SystemPoints;
  for (int I = 0; I < TabCount; ++I) {
    const TRect R = Tabs->GetTabRect(I);
    KitPoints.push_back({(R.left + R.right) / 2, R.top + 3});
    RECT S{};
    SendMessageA(System, TCM_GETITEMRECT, I, reinterpret_cast<LPARAM>(&S));
    SystemPoints.push_back({(S.left + S.right) / 2, (S.top + S.bottom) / 2});
  }

  TStep Steps[] = {{"paint"}, {"hit test"}};
  int Misses = 0;
  for (int Run = 0; Run < Runs; ++Run) {
    Steps[0].Kit = std::min(Steps[0].Kit, Milliseconds([&] {
      for (int I = 0; I < Paints; ++I)
        RedrawWindow(Tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }));
    Steps[0].System = std::min(Steps[0].System, Milliseconds([&] {
      for (int I = 0; I < Paints; ++I)
        RedrawWindow(System, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }));
    PumpAll();
    Steps[1].Kit = std::min(Steps[1].Kit, Milliseconds([&] {
      for (int I = 0; I < TabCount; ++I)
        if (Tabs->TabAtPoint(KitPoints[I].x, KitPoints[I].y) != I) ++Misses;
    }));
    Steps[1].System = std::min(Steps[1].System, Milliseconds([&] {
      TCHITTESTINFO Hit = {};
      for (int I = 0; I < TabCount; ++I) {
        Hit.pt = SystemPoints[I];
        SendMessageA(System, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
      }
    }));
  }

  std::printf("%d tabs in %d rows (kit) and %d rows (system); paint is %d paints, hit test one "
              "per tab\n",
              TabCount, Tabs->RowCount(), static_cast<int>(SendMessageA(System, TCM_GETROWCOUNT, 0, 0)),
              Paints);
  for (const TStep& S : Steps)
    std::printf("%-9s kit %s ms   system %s ms   kit / system %s\n", S.Name, Fixed(S.Kit, 2).c_str(),
                Fixed(S.System, 2).c_str(), Fixed(S.Kit / S.System, 3).c_str());
  if (Misses) std::printf("%d hit tests missed their tab\n", Misses);

  DestroyWindow(System);
  Form->Free();
  FinalizeUnits();
  return 0;
}
