// Absolute indices: each node caches its pre-order number, and the control keeps a mark,
// the last node in pre-order whose number is known to be right. Attaching and deleting
// only move the mark back; a number past the mark is worked out when asked for, from the
// mark onwards. Appending at the end therefore numbers one node, not the tree.
#include <algorithm>

#include "outline/GOutline.h"
#include "outline/GOutlineScopes.h"

using namespace qrx::outline;

int TGCustomOutline::Compare(const TGOutlineNode* a, const TGOutlineNode* b) {
  if (a == b) return 0;
  // A node comes after its ancestors.
  while (a->FLevel > b->FLevel) {
    a = a->FParent;
    if (a == b) return 1;
  }
  while (b->FLevel > a->FLevel) {
    b = b->FParent;
    if (a == b) return -1;
  }
  while (a->FParent != b->FParent) {
    a = a->FParent;
    b = b->FParent;
  }
  return a->FPosition < b->FPosition ? -1 : 1;
}

// The node after `node` in pre-order, staying inside the subtree of `top`.
TGOutlineNode* TGCustomOutline::NextPreorder(TGOutlineNode* node, const TGOutlineNode* top) {
  if (!node->Children().empty()) return node->Children().front().get();
  while (node != top && node->FParent) {
    TGOutlineNode* parent = node->FParent;
    const std::size_t next = static_cast<std::size_t>(node->FPosition) + 1;
    if (next < parent->Children().size()) return parent->Children()[next].get();
    node = parent;
  }
  return nullptr;
}

TGOutlineNode* TGCustomOutline::LastDescendant(TGOutlineNode* node) {
  while (!node->Children().empty()) node = node->Children().back().get();
  return node;
}

bool TGCustomOutline::IsInSubtree(const TGOutlineNode* node, const TGOutlineNode* top) {
  while (node && node->FLevel > top->FLevel) node = node->FParent;
  return node == top;
}

int32_t TGCustomOutline::IndexOf(TGOutlineNode* node) {
  if (node == FRoot.get()) return 0;
  if (node == FMark) return node->FIndex;  // what appending asks most
  if (!node->FInTree) return -1;
  if (Compare(node, FMark) <= 0) return node->FIndex;
  TGOutlineNode* current = FMark;
  int32_t index = current->FIndex;
  while (current != node) {
    current = NextPreorder(current, FRoot.get());
    current->FIndex = ++index;
  }
  FMark = node;
  return index;
}

// A mark that fell back to the root moves on to the first top-level node, which is 1.
void TGCustomOutline::SettleMark() {
  if (FMark != FRoot.get() || FRoot->Children().empty()) return;
  FMark = FRoot->Children().front().get();
  FMark->FIndex = 1;
}

TGOutlineNode* TGCustomOutline::FindByIndex(int32_t index) {
  if (index == 0) return FRoot.get();
  if (index < 0 || index > FNodeCount) return nullptr;
  const int32_t cached = IndexOf(FCache);
  if (cached == index) return FCache;
  // Walking the lines in order asks for the node right after the last one.
  if (cached == index - 1) {
    if (TGOutlineNode* next = NextPreorder(FCache, FRoot.get()); next && IndexOf(next) == index) return next;
  }
  // Appending asks for the node numbered last, the mark, and a search for it would touch
  // nodes all over the tree.
  if (FMark != FRoot.get() && FMark->FIndex == index) return FMark;
  // Binary search among the children of each level by their numbers, descending into
  // the child whose subtree holds the index.
  TGOutlineNode* node = FRoot.get();
  for (;;) {
    if (IndexOf(node) == index) return node;
    const auto& children = node->Children();
    int32_t lower = 0;
    int32_t upper = static_cast<int32_t>(children.size()) - 1;
    TGOutlineNode* into = nullptr;
    while (lower <= upper) {
      const int32_t middle = (lower + upper) / 2;
      TGOutlineNode* child = children[middle].get();
      if (lower == upper) {
        into = child;
        break;
      }
      const int32_t at = IndexOf(child);
      if (at > index) {
        upper = middle - 1;
      } else if (at < index && IndexOf(children[middle + 1].get()) <= index) {
        lower = middle + 1;
      } else {
        into = child;
        break;
      }
    }
    if (!into) return nullptr;
    node = into;
  }
}

TGOutlineNode* TGCustomOutline::Lookup(int32_t index) {
  TGOutlineNode* node = FindByIndex(index);
  if (!node) throw EOutlineError(kIndexNotFound);
  FCache = node;
  return node;
}
