#include "classlib/Units.h"

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/Classes.h"
#include "classlib/Clipbrd.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormatSettings.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/Spin.h"
#include "classlib/StdCtrls.h"

namespace {

const TUnitEntry Units[] = {
    {"FormatSettings", InitFormatSettings, nullptr},
    // Ends after every unit that may use the clipboard.
    {"Clipbrd", InitClipbrd, DoneClipbrd},
    // Controls and forms; Application and Screen exist from here on, their windows
    // are made when first needed.
    {"Classes", InitClasses, DoneClasses},
    {"Controls", InitControls, DoneControls},
    {"Forms", InitForms, DoneForms},
    // Pop-up menus; the window that owns a menu while it is shown goes at the end.
    {"Menus", InitMenus, DoneMenus},
    // The standard controls: their classes and published properties, for form files.
    {"StdCtrls", InitStdCtrls, DoneStdCtrls},
    {"ExtCtrls", InitExtCtrls, DoneExtCtrls},
    {"Buttons", InitButtons, DoneButtons},
    {"Spin", InitSpin, DoneSpin},
    {"ImgList", InitImgList, DoneImgList},
    // Actions and action lists, for form files.
    {"ActnList", InitActnList, DoneActnList},
};

}  // namespace

const TUnitTable ClasslibUnits = {"classlib", {}, Units};
