#include "framework/Units.h"

#include "classlib/Units.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_Util.h"
#include "framework/Rt_forms.h"
#include "framework/VFSAPI.h"
#include "skin/Units.h"
#include "treenode/Units.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits, &TreenodeUnits, &SkinUnits};

const TUnitEntry Units[] = {
    // The host's client functions are bound and the host's client kept, then the
    // virtual-file-system table is bound, then the framework's utilities start.
    {"ClientProcs", InitClientProcs, nullptr},
    {"VFSAPI", InitVfsApi, DoneVfsApi},
    {"Rt_Util", InitRtUtil, DoneRtUtil},
    // The dialog base: hooks the class library's message and file dialogs so that they
    // open on the active monitor.
    {"Rt_forms", InitRtForms, DoneRtForms},
};

}  // namespace

const TUnitTable FrameworkUnits = {"framework", Uses, Units};
