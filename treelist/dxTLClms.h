// The tree list's column kinds: memo, drop-down, date, button, check, image, spin,
// pick, calc, hyperlink, time, currency, graphic, most-recently-used and blob columns,
// and the wrapper column. The unit's start registers them for form files.
#pragma once

#include "treelist/dxTLClms_DropDown.h"
#include "treelist/dxTLClms_Picture.h"
#include "treelist/dxTLClms_Text.h"
#include "treelist/dxTLClms_Wrapper.h"

// The kinds a form file can name, in the order they are registered (the drop-down
// base is not one of them).
extern const TComponentMetaClass* const dxTLColumnKinds[15];

// Loads the check kind's "True" and "False" and registers the kinds with their
// published properties; counted, so that only the first start and the last end work.
void InitdxTLClms();
void DonedxTLClms();
