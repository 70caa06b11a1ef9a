#pragma once
// A results tree bound to its result nodes, and a search request over a temporary folder.
#include <memory>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "outline/GOutline.h"
#include "engine/FileSearch.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"

using qrx::test::ReadFileBytes;
using qrx::test::TempDir;

struct ResultTree {
  ResultTree() { BindResultTree(tree); }
  ~ResultTree() { tree.Clear(); }

  // The tree as exported: (level - 1) TABs and the text, one string per line.
  std::vector<std::string> Lines() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= tree.ItemCount(); ++i) {
      TGOutlineNode* n = tree.Items(i);
      out.push_back(std::string(static_cast<size_t>(n->Level() - 1), '\t') + n->Text());
    }
    return out;
  }
  template <typename T>
  T* Node(int32_t index) {
    return dynamic_cast<T*>(ResultNodeOf(tree.Items(index)));
  }

  TGREPOutline tree;
};

inline std::unique_ptr<TFileSearchObj> NewSearch(TGCustomOutline& tree, const std::string& dir,
                                                 const std::string& masks, const std::string& text,
                                                 uint16_t options = 0x001F, uint8_t exprKind = 0) {
  auto s = std::make_unique<TFileSearchObj>(tree);
  s->Directory = dir;
  s->Masks = masks;
  s->SearchText = text;
  s->Options = options;
  s->ExprKind = exprKind;
  return s;
}
