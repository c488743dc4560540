#include "editors/Units.h"

#include "classlib/Units.h"
#include "editors/dxCalc.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxDrawing.h"
#include "editors/dxEditor.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_BlobPopup.h"
#include "editors/dxExEdtr_ButtonEdit.h"
#include "editors/dxExEdtr_Check.h"
#include "editors/dxExEdtr_CurrencyEdit.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_Graphic.h"
#include "editors/dxExEdtr_Hyperlink.h"
#include "editors/dxExEdtr_PopupToolBar.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxGrDate.h"

namespace {

const TUnitTable* const Uses[] = {&ClasslibUnits};

const TUnitEntry Units[] = {
    // The checker brush of the drawing routines.
    {"dxDrawing", InitdxDrawing, DonedxDrawing},
    // The default edit style controller and the editors' shadow brush.
    {"dxCntner", InitdxCntner, DonedxCntner},
    // The rich edit library, the editing menu's captions, and the published parts of
    // the text and mask editors.
    {"dxEditor", InitdxEditor, DonedxEditor},
    // The date popup's button captions and the locale's first day of the week.
    {"dxGrDate", InitdxGrDate, DonedxGrDate},
    // The shared image lists, captions, time constants and the hand cursor.
    {"dxExEdtr", InitdxExEdtr, DonedxExEdtr},
    // The published parts of the edit buttons and the button editor.
    {"dxButtonEdit", InitdxButtonEdit, DonedxButtonEdit},
    // The shared check controller and the check editor's published parts.
    {"dxCheckEdit", InitdxCheckEdit, DonedxCheckEdit},
    // The published parts of the spin and time editors.
    {"dxSpinEdit", InitdxSpinEdit, DonedxSpinEdit},
    // The published parts of the hyperlink editor.
    {"dxHyperLinkEdit", InitdxHyperLinkEdit, DonedxHyperLinkEdit},
    // The published parts of the date and currency editors.
    {"dxDateEdit", InitdxDateEdit, DonedxDateEdit},
    {"dxCurrencyEdit", InitdxCurrencyEdit, DonedxCurrencyEdit},
    // The popup toolbar's captions and hints, and its published settings.
    {"dxPopupToolBar", InitdxPopupToolBar, DonedxPopupToolBar},
    // The published parts of the graphic editor.
    {"dxGraphicEdit", InitdxGraphicEdit, DonedxGraphicEdit},
    // The calculator's error text, the bitmap its buttons are drawn in, and its
    // published parts.
    {"dxCalc", InitdxCalc, DonedxCalc},
    // The blob popup's published parts.
    {"dxBlobPopup", InitdxBlobPopup, DonedxBlobPopup},
};

}  // namespace

const TUnitTable EditorsUnits = {"editors", Uses, Units};
