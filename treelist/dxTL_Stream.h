// The tree list's node stream: every node with its three image indexes, its Data
// value and its cell texts, depth first (a parent, its texts, then its children), as
// the "Data" property of form files keeps it. All integers are 32-bit little-endian.
//
//   stream: marker -1 (absent in the old format), top-level count, the top-level nodes
//   node:   record size (24 when written), ImageIndex, SelectedIndex, StateIndex, Data,
//           child count, text count; the texts, each a length and its bytes (the old
//           format: a one-byte length); the children
//
// Both directions walk without recursion, so a chain of any depth streams. A reader
// trusts no count: each must fit in the bytes left (a child takes at least 28, a text
// 4, or 1 in the old format), and a record shorter than its six fields is refused.
#pragma once

#include "classlib/Streams.h"

class TdxTreeList;
class TdxTreeListNode;

// The smallest node record: its size and the six fields.
inline constexpr int NodeRecordSize = 24;
inline constexpr int MinNodeBytes = 4 + NodeRecordSize;

// Writes the current format.
void WriteTreeListNodes(TdxTreeList* Tree, TStream* Stream);

// Reads either format into Tree, adding nodes after those it has, and returns the
// marker read (-1, or 0 for the old format). A stream that ends early or holds a
// count or size that cannot be raises EReadError; the nodes read so far stay. Inside
// an update the nodes are linked directly and only the first is announced to the
// list (NodeInserted); outside one each comes through Add or AddChild and the setters.
int ReadTreeListNodes(TdxTreeList* Tree, TStream* Stream);
