#include "wizard/Units.h"

#include "classlib/Units.h"
#include "framework/Units.h"
#include "pcb/Units.h"
#include "skin/Units.h"
#include "treelist/Units.h"
#include "wizard/BoardDlg.h"
#include "wizard/Commands.h"
#include "wizard/EditCoord.h"
#include "wizard/fBasic.h"
#include "wizard/fComplete.h"
#include "wizard/fCornerCut.h"
#include "wizard/fDetails.h"
#include "wizard/fExtPage.h"
#include "wizard/fInnerCut.h"
#include "wizard/fIntPage.h"
#include "wizard/fLayerStack.h"
#include "wizard/fLayers.h"
#include "wizard/fMUnits.h"
#include "wizard/fManufact.h"
#include "wizard/fOutline.h"
#include "wizard/fProfiles.h"
#include "wizard/fTitleBlk.h"
#include "wizard/fTrackVia.h"
#include "wizard/fViaStyle.h"
#include "wizard/fWelcome.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits, &TreelistUnits, &SkinUnits, &PcbUnits,
                                  &FrameworkUnits};

const TUnitEntry Units[] = {
    // The classes and published parts of the coordinate edit, the pages and the dialog,
    // for their form files.
    {"EditCoord", InitEditCoord, DoneEditCoord},
    {"fBasic", InitfBasic, DonefBasic},
    {"fExtPage", InitfExtPage, DonefExtPage},
    {"fIntPage", InitfIntPage, DonefIntPage},
    {"fWelcome", InitfWelcome, DonefWelcome},
    {"fMUnits", InitfMUnits, DonefMUnits},
    {"fProfiles", InitfProfiles, DonefProfiles},
    {"fDetails", InitfDetails, DonefDetails},
    {"fOutline", InitfOutline, DonefOutline},
    {"fCornerCut", InitfCornerCut, DonefCornerCut},
    {"fInnerCut", InitfInnerCut, DonefInnerCut},
    {"fTitleBlk", InitfTitleBlk, DonefTitleBlk},
    {"fLayers", InitfLayers, DonefLayers},
    {"fLayerStack", InitfLayerStack, DonefLayerStack},
    {"fViaStyle", InitfViaStyle, DonefViaStyle},
    {"fManufact", InitfManufact, DonefManufact},
    {"fTrackVia", InitfTrackVia, DonefTrackVia},
    {"fComplete", InitfComplete, DonefComplete},
    {"BoardDlg", InitBoardDlg, DoneBoardDlg},
    // The run routines of the wizard commands (set before the host calls ServerFactory).
    {"Commands", InitCommands, DoneCommands},
};

}  // namespace

const TUnitTable WizardUnits = {"wizard", Uses, Units};
