#include "editors/Units.h"

#include "classlib/Units.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxDrawing.h"
#include "editors/dxEditor.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The checker brush of the drawing routines.
    {"dxDrawing", InitdxDrawing, DonedxDrawing},
    // The default edit style controller and the editors' shadow brush.
    {"dxCntner", InitdxCntner, DonedxCntner},
    // The rich edit library and the editing menu's captions.
    {"dxEditor", InitdxEditor, DonedxEditor},
};

}  // namespace

const TUnitTable EditorsUnits = {"editors", Uses, Units};
