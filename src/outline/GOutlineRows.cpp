// Rows of the grid: the visible nodes in pre-order. Each node keeps ExpandCount, the rows
// its descendants take while it is expanded, and a prefix of row offsets over its
// children, so finding the node of a row or the row of a node is a binary search per
// level rather than a walk over every row before it.
#include <algorithm>

#include "outline/GOutline.h"
#include "outline/GOutlineScopes.h"

using namespace qrx::outline;

TGOutlineNode* TGCustomOutline::VisibleAncestor(TGOutlineNode* node) {
  TGOutlineNode* visible = node;
  for (TGOutlineNode* p = node->FParent; p; p = p->FParent) {
    if (!p->FExpanded) visible = p;
  }
  return visible;
}

int32_t TGCustomOutline::RowStart(const TGOutlineNode* parent, int32_t position) {
  auto& starts = parent->RowStarts();
  if (starts.empty()) starts.push_back(0);
  while (static_cast<int32_t>(starts.size()) <= position) {
    const std::size_t k = starts.size() - 1;
    starts.push_back(starts[k] + 1 + parent->Children()[k]->FExpandCount);
  }
  return starts[position];
}

// The rows of `child` (itself and its ExpandCount) changed by delta: offsets after it are
// stale, and the count goes up the chain of expanded ancestors.
void TGCustomOutline::ChildRowsChanged(TGOutlineNode* child, int32_t delta) {
  for (TGOutlineNode* c = child; TGOutlineNode* p = c->FParent; c = p) {
    const std::size_t keep = static_cast<std::size_t>(c->FPosition) + 1;
    if (p->FKids && p->FKids->RowStarts.size() > keep) p->FKids->RowStarts.resize(keep);
    if (!p->FExpanded) break;
    p->FExpandCount += delta;
  }
}

int32_t TGCustomOutline::RowOf(const TGOutlineNode* node) const {
  if (!node || node->FOwner != this || !node->FInTree || node == FRoot.get()) return -1;
  int32_t row = -1;
  for (const TGOutlineNode* c = node; c != FRoot.get(); c = c->FParent) {
    const TGOutlineNode* p = c->FParent;
    if (!p->FExpanded) return -1;
    row += 1 + RowStart(p, c->FPosition);
  }
  return row;
}

TGOutlineNode* TGCustomOutline::NodeAtRow(int32_t row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  TGOutlineNode* parent = FRoot.get();
  for (;;) {
    auto& starts = parent->RowStarts();
    const std::size_t count = parent->Children().size();
    if (starts.empty()) starts.push_back(0);
    // Extend the offsets only as far as this row needs.
    while (starts.size() <= count && starts.back() <= row) {
      const std::size_t k = starts.size() - 1;
      if (k == count) break;
      starts.push_back(starts[k] + 1 + parent->Children()[k]->FExpandCount);
    }
    const auto above = std::upper_bound(starts.begin(), starts.end(), row);
    const std::size_t k = static_cast<std::size_t>(above - starts.begin()) - 1;
    if (k >= count) return nullptr;  // counts out of step; never expected
    TGOutlineNode* child = parent->Children()[k].get();
    const int32_t offset = row - starts[k];
    if (offset == 0) return child;
    row = offset - 1;
    parent = child;
  }
}

// ---------------------------------------------------------------------------------------
// Expand and collapse

void TGCustomOutline::ExpandNode(TGOutlineNode* node) {
  auto ancestorsExpanded = [node] {
    for (TGOutlineNode* p = node->FParent; p; p = p->FParent) {
      if (!p->FExpanded) return false;
    }
    return true;
  };
  if (!node->FInTree || node->FExpanded) return;
  if (!ancestorsExpanded()) throw EOutlineError(kParentNotExpanded);
  if (OnExpand) {
    OnExpand(this, IndexOf(node));
    // The handler may have changed the tree.
    if (!node->FInTree || node->FExpanded) return;
    if (!ancestorsExpanded()) throw EOutlineError(kParentNotExpanded);
  }
  node->FExpanded = true;
  const int32_t rows = node->ChildCount();
  node->FExpandCount += rows;
  ChildRowsChanged(node, rows);
  NotifyColumnWidth();
  Notify(hkRowCount);
  Notify(hkInvalidate);
}

void TGCustomOutline::CollapseNode(TGOutlineNode* node) {
  if (!node->FInTree || !node->FExpanded || node == FRoot.get()) return;
  const int32_t rows = node->FExpandCount;
  // Close the subtree. Only expanded nodes can have expanded children or rows of their
  // own, so the walk stays among the rows the subtree shows.
  std::vector<TGOutlineNode*> open{node};
  while (!open.empty()) {
    TGOutlineNode* n = open.back();
    open.pop_back();
    for (auto& child : n->Children()) {
      if (child->FExpanded) open.push_back(child.get());
    }
    n->FExpanded = false;
    n->FExpandCount = 0;
    n->ForgetRowStarts();
  }
  ChildRowsChanged(node, -rows);
  if (FRowNode && FRowNode != node && IsInSubtree(FRowNode, node)) SetRowNode(node);
  const int32_t topRow = FTopRow;
  Notify(hkRowCount);
  if (FTopRow != topRow) Notify(hkInvalidate);
  if (OnCollapse && node->FInTree) OnCollapse(this, IndexOf(node));
  if (node->FParent && node->FParent->FExpanded) NotifyColumnWidth();
  Notify(hkInvalidate);
}

void TGCustomOutline::FullExpandNode(TGOutlineNode* top) {
  TBatchScope batch(*this);
  for (TGOutlineNode* n = top; n; n = NextPreorder(n, top)) {
    if (!n->Children().empty()) {
      ExpandNode(n);
      if (!n->FInTree) break;
    }
  }
}

void TGCustomOutline::FullExpand() {
  TOpScope scope(*this);
  TBatchScope batch(*this);
  for (std::size_t k = 0; k < FRoot->Children().size(); ++k) FullExpandNode(FRoot->Children()[k].get());
}

void TGCustomOutline::FullCollapse() {
  TOpScope scope(*this);
  TBatchScope batch(*this);
  for (std::size_t k = 0; k < FRoot->Children().size(); ++k) CollapseNode(FRoot->Children()[k].get());
}
