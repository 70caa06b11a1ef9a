#include "outline/GOutline.h"
#include "outline/GOutlineScopes.h"

TGOutlineNode::~TGOutlineNode() = default;

std::string TGOutlineNode::Text() { return FOwner->ReadText(this); }

void TGOutlineNode::TextInto(std::string& text) { FOwner->ReadText(this, text); }

void TGOutlineNode::SetText(const std::string& s) { FOwner->StoreText(this, s); }

int32_t TGOutlineNode::Index() { return FOwner->IndexOf(this); }

void TGOutlineNode::SetExpanded(bool e) {
  if (e) {
    Expand();
  } else {
    Collapse();
  }
}

void TGOutlineNode::Expand() {
  TGCustomOutline::TOpScope scope(*FOwner);
  FOwner->ExpandNode(this);
}

void TGOutlineNode::Collapse() {
  TGCustomOutline::TOpScope scope(*FOwner);
  FOwner->CollapseNode(this);
}

void TGOutlineNode::FullExpand() {
  TGCustomOutline::TOpScope scope(*FOwner);
  if (FInTree) FOwner->FullExpandNode(this);
}

int32_t TGOutlineNode::GetFirstChild() {
  return Children().empty() ? -1 : FOwner->IndexOf(Children().front().get());
}

TGOutlineNode* TGOutlineNode::Child(int32_t i) const {
  if (i < 0 || i >= ChildCount()) return nullptr;
  return Children()[static_cast<std::size_t>(i)].get();
}

bool TGOutlineNode::IsLastChild() const {
  return FParent && static_cast<std::size_t>(FPosition) + 1 == FParent->Children().size();
}

bool TGOutlineNode::IsVisible() const {
  for (const TGOutlineNode* p = FParent; p; p = p->FParent) {
    if (!p->FExpanded) return false;
  }
  return FInTree;
}
