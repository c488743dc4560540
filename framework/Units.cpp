// The module's units, in the order they start. Finalizations run in reverse.
#include "classlib/Buttons.h"
#include "classlib/Classes.h"
#include "classlib/Clipbrd.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/FormatSettings.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/ModuleInit.h"
#include "classlib/Spin.h"
#include "classlib/StdCtrls.h"
#include "framework/ClientProcs.h"
#include "framework/Rt_Util.h"
#include "framework/Rt_forms.h"
#include "framework/VFSAPI.h"
#include "pcb/PCBProcs.h"
#include "skin/KsBitmap.h"
#include "skin/KsButtons.h"
#include "skin/KsControls.h"
#include "skin/KsEffects.h"
#include "skin/KsForms.h"
#include "skin/KsHooks.h"
#include "skin/KsThemeButtons.h"
#include "skin/KsThemeEngine.h"
#include "skin/KsThemeThemes.h"
#include "skin/KsUtils.h"
#include "wizard/Commands.h"

const TUnitEntry ModuleUnits[] = {
    {"FormatSettings", InitFormatSettings, nullptr},
    // Ends after every unit that may use the clipboard.
    {"Clipbrd", nullptr, DoneClipbrd},
    // Controls and forms; Application and Screen exist from here on, their windows
    // are made when first needed.
    {"Classes", InitClasses, DoneClasses},
    {"Controls", InitControls, DoneControls},
    {"Forms", InitForms, DoneForms},
    // The standard controls: their classes and published properties, for form files.
    {"StdCtrls", InitStdCtrls, DoneStdCtrls},
    {"ExtCtrls", InitExtCtrls, DoneExtCtrls},
    {"Buttons", InitButtons, DoneButtons},
    {"Spin", InitSpin, DoneSpin},
    {"ImgList", InitImgList, DoneImgList},
    // The control kit: its colours, the gradient and optional system functions, then
    // the frame's fonts, images and shared bitmap (borrowed from the host when it
    // offers one).
    {"KsBitmap", InitKsBitmap, nullptr},
    {"KsUtils", InitKsUtils, DoneKsUtils},
    {"KsEffects", InitKsEffects, DoneKsEffects},
    {"KsForms", InitKsForms, DoneKsForms},
    // The kit's window hooks (their list ends before the class library frees the
    // window-procedure thunks), the buffered control bases and the push button with
    // the glyphs of its kinds.
    {"KsHooks", InitKsHooks, DoneKsHooks},
    {"KsControls", InitKsControls, DoneKsControls},
    {"KsButtons", InitKsButtons, DoneKsButtons},
    // The theme engine: the painter registry (with the base painter "No Theme"), the
    // engine's class and properties for form files, then the themed controls.
    {"KsThemeThemes", InitKsThemeThemes, DoneKsThemeThemes},
    {"KsThemeEngine", InitKsThemeEngine, DoneKsThemeEngine},
    {"KsThemeButtons", InitKsThemeButtons, DoneKsThemeButtons},
    // The PCB editor's functions, when the editor is loaded already.
    {"PCBProcs", InitPcbProcs, nullptr},
    // The host's client functions are bound and the host's client kept, then the
    // virtual-file-system table is bound, then the framework's utilities start.
    {"ClientProcs", InitClientProcs, nullptr},
    {"VFSAPI", InitVfsApi, DoneVfsApi},
    {"Rt_Util", InitRtUtil, DoneRtUtil},
    // The dialog base: hooks the class library's message and file dialogs so that they
    // open on the active monitor.
    {"Rt_forms", InitRtForms, DoneRtForms},

    // The board wizard: its coordinate edit, pages and dialog, and the run routines of
    // the wizard commands (set before the host calls ServerFactory).
    {"Commands", InitCommands, DoneCommands},
};

const std::size_t ModuleUnitCount = sizeof(ModuleUnits) / sizeof(ModuleUnits[0]);
