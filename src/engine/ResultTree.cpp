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
    // Into the string the caller gave: one it keeps for many rows then takes no allocation.
    if (TBaseNode* node = ResultNodeOf(line)) {
      qrx::TTextBuffer shown;
      node->AppendDisplayText(shown);
      text.assign(shown.Data(), shown.Size());
    }
  };
  tree.OnNodeDestroy = [](TGOutlineNode* line) { FreeResultNode(line); };
}
