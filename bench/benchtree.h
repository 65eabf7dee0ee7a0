#pragma once

class TTreeList;

// The benchmark document: 10 top-level items, each item above the sixth
// level with 10 children, 1,111,110 items in all. Names run "Item 1",
// "Item 2", ... in document order; every description is about 200 bytes in
// three CR LF separated lines. The same call always builds the same tree.
void BuildBenchTree(TTreeList& tree);
