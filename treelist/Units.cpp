#include "treelist/Units.h"

#include "editors/Units.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_CellPaint.h"
#include "treelist/dxTL_NodePool.h"
#include "treelist/dxTL_Resources.h"
#include "treelist/dxTLClms.h"

namespace {

const TUnitTable* const Uses[] = {&EditorsUnits};

const TUnitEntry Units[] = {
    // The nodes' memory: its kept blocks go last.
    {"dxTL_NodePool", nullptr, DonedxTLNodePool},
    // The tree list's class and published properties for form files.
    {"dxTL", InitdxTL, DonedxTL},
    // The row indicator's glyphs.
    {"dxTL_Paint", InitdxTLPaint, DonedxTLPaint},
    // The cursors, the customizing box's captions and the 1 x 1 image list.
    {"dxTL_Resources", InitdxTLResources, DonedxTLResources},
    // The column kinds for form files, and the check kind's "True" and "False".
    {"dxTLClms", InitdxTLClms, DonedxTLClms},
};

}  // namespace

const TUnitTable TreelistUnits = {"treelist", Uses, Units};
