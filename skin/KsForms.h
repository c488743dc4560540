// Process-wide objects of the skinned window frame: the caption fonts, the caption-
// button images, and SharedBitmap, the screen-sized off-screen bitmap that every
// skinned window without a buffer of its own paints its frame into.
//
// A plug-in borrows its host's shared bitmap: when the module is a library and the
// process's executable exports GetGlobalBuffer, SharedBitmap takes over that
// executable's handles (never deleting them). The module exports the same function,
// so a caller can obtain the handles of its shared bitmap.
#pragma once

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "skin/KsBitmap.h"

// The frame a skinned window draws: none, a standard window's or a tool window's.
enum TKsBorderStyle : Byte { kbsNone, kbsStandard, kbsToolWindow };

// From the caption font and the small caption font of the system's non-client metrics.
extern TFont* CaptionFont;
extern TFont* SmallCaptionFont;
// 16 x 16 images drawn masked: close, minimize, maximize, restore, roll up, to tray.
extern TImageList* CaptionButtonImages;
enum TKsCaptionImage { ciClose, ciMinimize, ciMaximize, ciRestore, ciRollup, ciTray };
extern TKsBitmap* SharedBitmap;

// The register calling convention shared with the host: the record's address in EAX.
#define KS_REGISTER_CALL __attribute__((regparm(3), stdcall))
using TGetGlobalBufferProc = void(KS_REGISTER_CALL*)(TGlobalBufferInfo* Info);

// Fills Info from SharedBitmap (all zero before the unit has started). The handles
// stay the module's; the caller must not delete them.
extern "C" void KS_REGISTER_CALL GetGlobalBuffer(TGlobalBufferInfo* Info);

// The unit's start and end, counted: only the first start and the last end work.
void InitKsForms();
void DoneKsForms();
