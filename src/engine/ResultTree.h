#pragma once
// Binds a results tree to the result nodes its lines carry: the text of a line is asked
// from its node, and a destroyed line frees its node.
class TGCustomOutline;
class TGOutlineNode;
class TBaseNode;

void BindResultTree(TGCustomOutline& tree);
TBaseNode* ResultNodeOf(TGOutlineNode* line);
// Frees the result node a destroyed line carried (the tree never frees its Data).
void FreeResultNode(TGOutlineNode* line);
