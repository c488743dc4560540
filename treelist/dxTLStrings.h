// The string-table ids of the tree list's own texts (resources/TreeList.rc). Plain
// defines: the resource compiler reads this file too.
#pragma once

// The check column's default checked and unchecked texts.
#define IDS_DXTL_CHECKTRUE 40400
#define IDS_DXTL_CHECKFALSE 40401
