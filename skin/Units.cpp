#include "skin/Units.h"

#include "classlib/Units.h"
#include "skin/KsBitmap.h"
#include "skin/KsButtons.h"
#include "skin/KsCheckBoxs.h"
#include "skin/KsControlBar.h"
#include "skin/KsControls.h"
#include "skin/KsEffects.h"
#include "skin/KsForms.h"
#include "skin/KsGroupBoxs.h"
#include "skin/KsHooks.h"
#include "skin/KsItems.h"
#include "skin/KsMenuBar.h"
#include "skin/KsPopup.h"
#include "skin/KsPopupMenu.h"
#include "skin/KsScrollBar.h"
#include "skin/KsSpeedContainers.h"
#include "skin/KsTabs.h"
#include "skin/KsThemeButtons.h"
#include "skin/KsThemeCheckBoxs.h"
#include "skin/KsThemeGroupBoxs.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeForms.h"
#include "skin/KsThemeLuna.h"
#include "skin/KsThemeMenus.h"
#include "skin/KsThemeXP.h"
#include "skin/KsThemeThemes.h"
#include "skin/KsUtils.h"
#include "skin/TeThemeHighlight.h"
#include "skin/TeThemeLines.h"
#include "skin/TeThemeXPImpl.h"
#include "skin/XPEdits2.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The kit's colours, the gradient and optional system functions, then the frame's
    // fonts, images and shared bitmap (borrowed from the host when it offers one).
    {"KsBitmap", InitKsBitmap, DoneKsBitmap},
    {"KsUtils", InitKsUtils, DoneKsUtils},
    {"KsEffects", InitKsEffects, DoneKsEffects},
    // The visual-styles binding's handle cache (its tracker window comes on first use).
    {"TeThemeXPImpl", InitTeThemeXPImpl, DoneTeThemeXPImpl},
    {"KsForms", InitKsForms, DoneKsForms},
    // The kit's window hooks (their list ends before the class library frees the
    // window-procedure thunks), the buffered control bases and the push button with
    // the glyphs of its kinds.
    {"KsHooks", InitKsHooks, DoneKsHooks},
    {"KsControls", InitKsControls, DoneKsControls},
    {"KsButtons", InitKsButtons, DoneKsButtons},
    {"KsCheckBoxs", InitKsCheckBoxs, DoneKsCheckBoxs},
    {"KsGroupBoxs", InitKsGroupBoxs, DoneKsGroupBoxs},
    {"KsScrollBar", InitKsScrollBar, DoneKsScrollBar},
    // The containers: speed divider and container, the band bar.
    {"KsSpeedContainers", InitKsSpeedContainers, DoneKsSpeedContainers},
    {"KsControlBar", InitKsControlBar, DoneKsControlBar},
    // Menu items and their views; the click handler's window is made on the first click.
    {"KsItems", InitKsItems, DoneKsItems},
    // The popup windows that show a level of items, and the kit's popup menu.
    {"KsPopup", InitKsPopup, DoneKsPopup},
    {"KsPopupMenu", InitKsPopupMenu, DoneKsPopupMenu},
    {"KsMenuBar", InitKsMenuBar, DoneKsMenuBar},
    // The theme engine: the painter registry (with the base painter "No Theme"), the
    // engine's class and properties for form files, then the themed controls.
    {"KsThemeThemes", InitKsThemeThemes, DoneKsThemeThemes},
    {"KsThemeEngine", InitKsThemeEngine, DoneKsThemeEngine},
    // The visual-styles painter: loads the visual-styles library, registered when the
    // system draws visual styles, and unloads it at the end.
    {"KsThemeXP", InitKsThemeXP, DoneKsThemeXP},
    // The bitmap-atlas painter: new engines start with it, and it draws what the
    // visual style cannot.
    {"KsThemeLuna", InitKsThemeLuna, DoneKsThemeLuna},
    // The two palette painters any themed window or control can be switched to.
    {"TeThemeHighlight", InitTeThemeHighlight, DoneTeThemeHighlight},
    {"TeThemeLines", InitTeThemeLines, DoneTeThemeLines},
    {"KsThemeButtons", InitKsThemeButtons, DoneKsThemeButtons},
    {"KsThemeCheckBoxs", InitKsThemeCheckBoxs, DoneKsThemeCheckBoxs},
    {"KsThemeGroupBoxs", InitKsThemeGroupBoxs, DoneKsThemeGroupBoxs},
    // The themed window, which the engine's refresh reaches, and the themed menus.
    {"KsThemeForms", InitKsThemeForms, DoneKsThemeForms},
    {"KsThemeMenus", InitKsThemeMenus, DoneKsThemeMenus},
    // The self-drawn edit and its repaint hook.
    {"XPEdits2", InitXPEdits2, DoneXPEdits2},
    // The tab control and its sheets.
    {"KsTabs", InitKsTabs, DoneKsTabs},
};

}  // namespace

const TUnitTable SkinUnits = {"skin", Uses, Units};
