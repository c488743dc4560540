// The tree-node library: its lists come first.
