#include "outline/GOutline.h"

#include <algorithm>
#include <utility>

#include "outline/GOutlineFormat.h"
#include "outline/GOutlineScopes.h"

using namespace qrx::outline;

namespace {

std::string MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace

TGCustomOutline::TGCustomOutline() : FLines(std::make_unique<TOutlineStrings>(*this)) { ReplaceRoot(); }

TGCustomOutline::~TGCustomOutline() {
  FLines.reset();
  TOpScope scope(*this);
  // The old nodes go with a fresh empty root in place, so a handler that looks at the
  // outline while its nodes are destroyed still finds a whole one.
  std::unique_ptr<TGOutlineNode> old = std::move(FRoot);
  ReplaceRoot();
  FDestroyingRoot = true;
  if (std::exception_ptr error = DestroyDetached(std::move(old))) ShowError(MessageOf(error));
  FDestroyingRoot = false;
}

std::unique_ptr<TGOutlineNode> TGCustomOutline::NewNode() {
  static_assert(alignof(TGOutlineNode) <= TChunkPool::kAlign);
  return std::unique_ptr<TGOutlineNode>(new (FNodePool) TGOutlineNode(this));
}

void TGCustomOutline::ReplaceRoot() {
  FRoot = NewNode();
  FRoot->FExpanded = true;
  FRoot->FIndex = 0;
  FRoot->FInTree = true;
  FMark = FCache = FSelected = FRoot.get();
  FRowNode = nullptr;
  FTopRow = 0;
  FNodeCount = 0;
  FUpdateCount = 0;
  FUpdating = false;
}

void TGCustomOutline::ReleaseGraveyard() noexcept {
  std::vector<std::unique_ptr<TGOutlineNode>> dead;
  dead.swap(FGraveyard);
}

void TGCustomOutline::ShowError(const std::string& message) noexcept {
  try {
    if (OnShowError) OnShowError(message);
  } catch (...) {
    // The error display itself failed; there is nobody left to tell.
  }
}

// ---------------------------------------------------------------------------------------
// Attaching

int32_t TGCustomOutline::AddObject(int32_t index, const std::string& text, void* data) {
  return Attach(TAttachMode::Sibling, index, text, data);
}

int32_t TGCustomOutline::AddChildObject(int32_t index, const std::string& text, void* data) {
  return Attach(TAttachMode::Child, index, text, data);
}

int32_t TGCustomOutline::AddChild(int32_t index, const std::string& text) {
  return Attach(TAttachMode::Child, index, text, nullptr);
}

int32_t TGCustomOutline::InsertObject(int32_t index, const std::string& text, void* data) {
  return Attach(TAttachMode::Insert, index, text, data);
}

int32_t TGCustomOutline::Insert(int32_t index, const std::string& text) {
  return Attach(TAttachMode::Insert, index, text, nullptr);
}

int32_t TGCustomOutline::Attach(TAttachMode mode, int32_t index, const std::string& text, void* data) {
  TOpScope scope(*this);
  std::unique_ptr<TGOutlineNode> fresh = NewNode();
  TGOutlineNode* node = fresh.get();
  TGOutlineNode* parent = nullptr;
  try {
    StoreText(node, text);
    node->FData = data;
    if (index < 0) throw EOutlineError(kInvalidIndex);
    TGOutlineNode* anchor = index == 0 ? FRoot.get() : Lookup(index);
    int32_t position;
    if (mode == TAttachMode::Insert && index > 0) {
      parent = anchor->FParent;
      position = anchor->FPosition;
    } else {
      parent = mode == TAttachMode::Sibling && index > 0 ? anchor->FParent : anchor;
      if (parent->FLevel >= kMaxLevel) throw EOutlineError(kMaxDepthExceeded);
      position = parent->ChildCount();
    }
    Link(parent, position, fresh);
  } catch (...) {
    const std::exception_ptr error = std::current_exception();
    // Whatever the caller handed over comes back through OnNodeDestroy.
    node->FData = data;
    std::exception_ptr destroyError = fresh ? DestroyDetached(std::move(fresh)) : nullptr;
    ShowError(MessageOf(error));
    if (destroyError) ShowError(MessageOf(destroyError));
    return 0;
  }

  try {
    if (!FUpdating) IndexOf(node);
    if (parent->FExpanded) NotifyNodeWidth(node);
    if (!FUpdating) {
      Notify(hkRowCount);
      Notify(hkInvalidate);
    }
    if (TGOutlineNode* anchor = FindByIndex(index)) FCache = anchor;
    if (!node->FInTree) return 0;  // a hook took it away again
    return FUpdating ? -1 : IndexOf(node);
  } catch (...) {
    const std::exception_ptr error = std::current_exception();
    if (node->FInTree) {
      try {
        DeleteNode(node);
      } catch (...) {
        ShowError(MessageOf(std::current_exception()));
      }
    }
    ShowError(MessageOf(error));
    return 0;
  }
}

// Takes the node over only once nothing can fail any more, so a caller whose attach
// fails still owns it.
TGOutlineNode* TGCustomOutline::Link(TGOutlineNode* parent, int32_t position,
                                     std::unique_ptr<TGOutlineNode>& owned) {
  auto& siblings = parent->ChildrenToChange();
  if (siblings.size() == siblings.capacity()) siblings.reserve(2 * siblings.size() + 4);
  TGOutlineNode* node = owned.get();
  node->FParent = parent;
  node->FLevel = static_cast<int16_t>(parent->FLevel + 1);
  node->FInTree = true;
  if (static_cast<std::size_t>(position) == siblings.size())
    siblings.push_back(std::move(owned));
  else
    siblings.insert(siblings.begin() + position, std::move(owned));
  for (std::size_t k = static_cast<std::size_t>(position); k < siblings.size(); ++k) {
    siblings[k]->FPosition = static_cast<int32_t>(k);
  }
  ++FNodeCount;
  ChildRowsChanged(node, 1);
  // Every node after the new one now has a stale number.
  if (FMark != FRoot.get() && Compare(FMark, node) > 0) {
    FMark = position == 0 ? parent : LastDescendant(siblings[position - 1].get());
  }
  if (!FRowNode) FRowNode = FRoot->Children().front().get();
  return node;
}

// ---------------------------------------------------------------------------------------
// Removing

std::unique_ptr<TGOutlineNode> TGCustomOutline::Unlink(TGOutlineNode* node, bool& selectionFell) {
  TGOutlineNode* parent = node->FParent;
  const int32_t position = node->FPosition;
  // Numbers before the node stay right; everything from it on will be renumbered.
  if (Compare(FMark, node) >= 0) {
    FMark = position == 0 ? parent : LastDescendant(parent->Children()[position - 1].get());
  }
  selectionFell = false;
  int32_t removed = 0;
  for (TGOutlineNode* n = node; n; n = NextPreorder(n, node)) {
    n->FInTree = false;
    ++removed;
    if (n == FCache) FCache = FRoot.get();
    if (n == FSelected) {
      FSelected = FRoot.get();
      selectionFell = true;
    }
  }
  ChildRowsChanged(node, -(1 + node->FExpandCount));
  auto& siblings = parent->ChildrenToChange();
  std::unique_ptr<TGOutlineNode> owned = std::move(siblings[position]);
  siblings.erase(siblings.begin() + position);
  for (std::size_t k = static_cast<std::size_t>(position); k < siblings.size(); ++k) {
    siblings[k]->FPosition = static_cast<int32_t>(k);
  }
  FNodeCount -= removed;
  return owned;
}

void TGCustomOutline::Delete(int32_t index) {
  if (index <= 0) throw EOutlineError(kInvalidIndex);
  TOpScope scope(*this);
  DeleteNode(Lookup(index));
}

void TGCustomOutline::DeleteNode(TGOutlineNode* node) {
  TGOutlineNode* parent = node->FParent;
  const int32_t position = node->FPosition;
  const bool wasLast = node->IsLastChild();
  const bool rowInside = FRowNode && IsInSubtree(FRowNode, node);
  bool selectionFell = false;
  std::unique_ptr<TGOutlineNode> owned = Unlink(node, selectionFell);

  // A parent left without children cannot stay expanded; the root always is.
  const bool collapseParent = parent != FRoot.get() && parent->Children().empty() && parent->FExpanded;
  if (collapseParent) {
    parent->FExpanded = false;
    parent->ForgetRowStarts();
  }
  // The current row stays on its node; only when that node goes does it move: to the
  // parent when no sibling is left, to the new last sibling when the node was the last
  // one, else to the node that moves up into its row.
  if (rowInside) {
    if (parent->Children().empty()) {
      FRowNode = parent == FRoot.get() ? nullptr : parent;
    } else if (wasLast) {
      FRowNode = parent->Children().back().get();
    } else {
      FRowNode = parent->Children()[position].get();
    }
  }
  if (selectionFell && FNodeCount > 0) FSelected = FRowNode;
  SettleMark();

  std::exception_ptr error = DestroyDetached(std::move(owned));
  if (collapseParent && parent->FInTree && OnCollapse) {
    try {
      OnCollapse(this, IndexOf(parent));
    } catch (...) {
      if (!error) error = std::current_exception();
    }
  }
  Notify(hkRowCount);
  if (rowInside) Notify(hkCurrentRow);
  Notify(hkInvalidate);
  if (error) std::rethrow_exception(error);
}

// Fires OnNodeDestroy for every node of a subtree that is already out of the tree:
// children before their parent, in order. Each node has lost its children when its own
// event fires. A failing handler does not stop the others; its error is returned.
std::exception_ptr TGCustomOutline::DestroyDetached(std::unique_ptr<TGOutlineNode> top) {
  std::exception_ptr error;
  for (TGOutlineNode* n = top.get(); n; n = NextPreorder(n, top.get())) n->FInTree = false;
  std::vector<std::pair<TGOutlineNode*, std::size_t>> stack{{top.get(), 0}};
  while (!stack.empty()) {
    auto& [n, next] = stack.back();
    if (next < n->Children().size()) {
      TGOutlineNode* child = n->Children()[next++].get();
      stack.push_back({child, 0});
      continue;
    }
    TGOutlineNode* done = n;
    stack.pop_back();
    if (done->FKids) {
      for (auto& child : done->FKids->Nodes) FGraveyard.push_back(std::move(child));
      done->FKids.reset();
    }
    try {
      NodeDestroying(done);
      if (OnNodeDestroy) OnNodeDestroy(done);
    } catch (...) {
      if (!error) error = std::current_exception();
    }
  }
  FGraveyard.push_back(std::move(top));
  return error;
}

void TGCustomOutline::Clear() {
  TOpScope scope(*this);
  std::unique_ptr<TGOutlineNode> old = std::move(FRoot);
  ReplaceRoot();
  FDestroyingRoot = true;
  std::exception_ptr error = DestroyDetached(std::move(old));
  FDestroyingRoot = false;
  Notify(hkRowCount);
  Notify(hkCurrentRow);
  NotifyColumnWidth();
  Notify(hkInvalidate);
  if (error) std::rethrow_exception(error);
}

// ---------------------------------------------------------------------------------------
// Texts

void TGCustomOutline::StoreText(TGOutlineNode* node, const std::string& text) {
  TOpScope scope(*this);
  // A handler that throws leaves the text as it was given.
  node->FText.Assign(text);
  if (OnSetNodeText) {
    std::string stored = text;
    OnSetNodeText(node, stored);
    node->FText.Assign(stored);
  }
  NodeTextStored(node);
  if (node->FInTree && node->FParent && node->FParent->FExpanded) NotifyNodeWidth(node);
}

std::string TGCustomOutline::ReadText(TGOutlineNode* node) {
  std::string text;
  ReadText(node, text);
  return text;
}

void TGCustomOutline::ReadText(TGOutlineNode* node, std::string& text) {
  TOpScope scope(*this);
  const std::string_view stored = node->FText.View();
  text.assign(stored.data(), stored.size());
  if (OnGetNodeText) OnGetNodeText(node, text);
}

// ---------------------------------------------------------------------------------------
// Lookup, count, selection

TGOutlineNode* TGCustomOutline::Items(int32_t index) {
  if (index <= 0) throw EOutlineError(kInvalidIndex);
  return Lookup(index);
}

TGOutlineNode* TGCustomOutline::FirstNode() const {
  return FRoot->Children().empty() ? nullptr : FRoot->Children().front().get();
}

int32_t TGCustomOutline::ItemCount() { return FNodeCount; }

TGOutlineNode* TGCustomOutline::SelectedNode() {
  if (FSelected != FRoot.get() && !FSelected->IsVisible()) FSelected = VisibleAncestor(FSelected);
  if (FSelected == FRoot.get() && FNodeCount > 0) FSelected = FRowNode;
  return FSelected == FRoot.get() ? nullptr : FSelected;
}

int32_t TGCustomOutline::SelectedItem() {
  TGOutlineNode* node = SelectedNode();
  return node ? IndexOf(node) : 0;
}

void TGCustomOutline::SetSelectedItem(int32_t v) {
  if (FUpdating) return;
  if (v < 0 || (v == 0 && FNodeCount == 0)) throw EOutlineError(kInvalidSelection);
  if (v == 0) v = 1;
  TOpScope scope(*this);
  TGOutlineNode* node = FSelected != FRoot.get() && IndexOf(FSelected) == v ? FSelected : Lookup(v);
  SelectNode(node);
}

void TGCustomOutline::SelectNode(TGOutlineNode* node) {
  if (!node || node->FOwner != this || !node->FInTree || node == FRoot.get()) return;
  TOpScope scope(*this);
  FSelected = VisibleAncestor(node);
  SetRowNode(FSelected);
}

// ---------------------------------------------------------------------------------------
// Grid rows

int32_t TGCustomOutline::RowCount() const { return FRoot->FExpandCount; }

int32_t TGCustomOutline::Row() const { return FRowNode ? RowOf(FRowNode) : 0; }

void TGCustomOutline::SetRow(int32_t r) {
  if (RowCount() == 0) return;
  TOpScope scope(*this);
  SetRowNode(NodeAtRow(std::clamp(r, 0, RowCount() - 1)));
}

void TGCustomOutline::SetRowNode(TGOutlineNode* node) {
  if (node == FRowNode) return;
  FRowNode = node;
  Notify(hkCurrentRow);
}

void TGCustomOutline::SetTopRow(int32_t r) { FTopRow = std::clamp(r, 0, std::max(0, RowCount() - 1)); }

int32_t TGCustomOutline::RowOfNode(TGOutlineNode* node) { return RowOf(node); }

// ---------------------------------------------------------------------------------------
// Bulk update and hooks

void TGCustomOutline::BeginUpdate() {
  if (FUpdateCount++ == 0) FUpdating = true;
}

void TGCustomOutline::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  TOpScope scope(*this);
  FUpdating = false;
  Notify(hkRowCount);
  Notify(hkInvalidate);
  NotifyColumnWidth();
}

void TGCustomOutline::Notify(THook hook) {
  if (hook == hkRowCount) SetTopRow(FTopRow);
  if (FBatchDepth > 0) {
    FPendingHooks |= hook;
    return;
  }
  switch (hook) {
    case hkRowCount: RowCountChanged(); break;
    case hkColumnWidth: ColumnWidthChanged(); break;
    case hkCurrentRow: CurrentRowChanged(); break;
    case hkInvalidate: Invalidate(); break;
  }
}

void TGCustomOutline::NotifyColumnWidth() {
  if (FUpdating || FDestroyingRoot) return;
  Notify(hkColumnWidth);
}

void TGCustomOutline::NotifyNodeWidth(TGOutlineNode* node) {
  if (FUpdating || FDestroyingRoot) return;
  if (FBatchDepth > 0) {
    FPendingHooks |= hkColumnWidth;
    return;
  }
  NodeWidthChanged(node);
}

void TGCustomOutline::FlushHooks() {
  const unsigned pending = std::exchange(FPendingHooks, 0u);
  if (pending & hkRowCount) RowCountChanged();
  if (pending & hkColumnWidth) ColumnWidthChanged();
  if (pending & hkCurrentRow) CurrentRowChanged();
  if (pending & hkInvalidate) Invalidate();
}

// ---------------------------------------------------------------------------------------
// Properties

void TGCustomOutline::SetOutlineStyle(TOutlineStyle v) {
  FOutlineStyle = v;
  TOpScope scope(*this);
  NotifyColumnWidth();
  Notify(hkInvalidate);
}

void TGCustomOutline::SetOptions(TOutlineOptions v) {
  FOptions = v;
  TOpScope scope(*this);
  Notify(hkInvalidate);
}

void TGCustomOutline::SetStyle(TOutlineType v) {
  FStyle = v;
  TOpScope scope(*this);
  ItemSizeChanged();
}

void TGCustomOutline::SetItemHeight(int32_t v) {
  FItemHeight = v;
  TOpScope scope(*this);
  ItemSizeChanged();
}

void TGCustomOutline::SetScrollBars(TOutlineScrollBars v) {
  FScrollBars = v;
  TOpScope scope(*this);
  NotifyColumnWidth();
  Notify(hkInvalidate);
}

void TGCustomOutline::SetBorderStyle(TOutlineBorderStyle v) {
  FBorderStyle = v;
  TOpScope scope(*this);
  Notify(hkInvalidate);
}
