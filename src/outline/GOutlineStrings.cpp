#include "outline/GOutlineStrings.h"

#include "outline/GOutline.h"
#include "outline/GOutlineFormat.h"
#include "outline/GOutlineScopes.h"

using namespace qrx::outline;

int32_t TOutlineStrings::Count() const { return FOutline.ItemCount(); }

std::string TOutlineStrings::Strings(int32_t i) const {
  TGOutlineNode* node = FOutline.Items(i + 1);
  std::string line(static_cast<std::size_t>(node->Level() - 1), '\t');
  return line + node->Text();
}

void* TOutlineStrings::Objects(int32_t i) const { return FOutline.Items(i + 1)->Data(); }

void TOutlineStrings::SetObject(int32_t i, void* data) { FOutline.Items(i + 1)->SetData(data); }

int32_t TOutlineStrings::Add(const std::string& s) { return FOutline.AddLine(s, nullptr); }

int32_t TOutlineStrings::AddObject(const std::string& s, void* data) { return FOutline.AddLine(s, data); }

void TOutlineStrings::Insert(int32_t i, const std::string& s) { FOutline.Insert(i + 1, s); }

void TOutlineStrings::Delete(int32_t i) { FOutline.Delete(i + 1); }

void TOutlineStrings::Clear() { FOutline.Clear(); }

void TOutlineStrings::Assign(const std::vector<std::string>& lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  FOutline.Rebuild(PlaceLines(views));
}

std::vector<std::string> TOutlineStrings::ToVector() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(Count()));
  for (int32_t i = 0; i < Count(); ++i) lines.push_back(Strings(i));
  return lines;
}

// A string added to the list is placed after the last node the way a file line is,
// its depth compared with the depth that node's own line has.
int32_t TGCustomOutline::AddLine(const std::string& line, void* data) {
  TOpScope scope(*this);
  TGOutlineNode* last = LastDescendant(FRoot.get());
  const std::size_t depth = LeadingDepth(line);
  const std::size_t lastDepth = last == FRoot.get() ? 0 : static_cast<std::size_t>(last->FLevel - 1);
  const int32_t level = LevelAfter(depth, lastDepth, last->FLevel);
  TGOutlineNode* parent = last;
  while (parent->FLevel >= level) parent = parent->FParent;

  std::unique_ptr<TGOutlineNode> fresh = NewNode();
  TGOutlineNode* node = fresh.get();
  try {
    StoreText(node, line.substr(depth));
    node->FData = data;
    if (!parent->FInTree) throw EOutlineError(kFileLoadError);  // a text handler cut the tree
    Link(parent, parent->ChildCount(), fresh);
  } catch (...) {
    node->FData = data;
    if (fresh) DestroyDetached(std::move(fresh));
    throw;
  }
  if (!FUpdating) {
    if (parent->FExpanded) NotifyNodeWidth(node);
    Notify(hkRowCount);
    Notify(hkInvalidate);
  }
  return IndexOf(node) - 1;
}
