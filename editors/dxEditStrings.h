// The string-table ids of the editors' own texts (resources/Editors.rc). Plain
// defines: the resource compiler reads this file too.
#pragma once

// The text editor's editing menu.
#define IDS_DXEDIT_UNDO 40100
#define IDS_DXEDIT_REDO 40101
#define IDS_DXEDIT_CUT 40102
#define IDS_DXEDIT_COPY 40103
#define IDS_DXEDIT_PASTE 40104
#define IDS_DXEDIT_DELETE 40105
#define IDS_DXEDIT_SELECTALL 40106

// The date popup's buttons.
#define IDS_DXEDIT_TODAY 40120
#define IDS_DXEDIT_CLEAR 40121

// The blob popup's buttons.
#define IDS_DXEDIT_BLOBOK 40130
#define IDS_DXEDIT_BLOBCANCEL 40131
#define IDS_DXEDIT_BLOBCLOSE 40132

// The popup toolbar's captions (also its menu's) and hints, in command order: cut,
// copy, paste, delete, load, save.
#define IDS_DXTOOL_CAPTION_FIRST 40200
#define IDS_DXTOOL_HINT_FIRST 40210
// The calculator's error display and the date editor's refusal.
#define IDS_DXEDIT_CALCERROR 40190
#define IDS_DXEDIT_INVALIDDATE 40191
