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
