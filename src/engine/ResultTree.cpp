#include "engine/ResultTree.h"

#include "outline/GOutline.h"
#include "engine/ResultNodes.h"

TBaseNode* ResultNodeOf(TGOutlineNode* line) { return line ? static_cast<TBaseNode*>(line->Data()) : nullptr; }

void FreeResultNode(TGOutlineNode* line) {
  if (!line) return;
  delete ResultNodeOf(line);
  line->SetData(nullptr);
}

void BindResultTree(TGCustomOutline& tree) {
  tree.OnGetNodeText = [](TGOutlineNode* line, std::string& text) {
    if (TBaseNode* node = ResultNodeOf(line)) text = node->GetDisplayText();
  };
  tree.OnNodeDestroy = [](TGOutlineNode* line) { FreeResultNode(line); };
}
