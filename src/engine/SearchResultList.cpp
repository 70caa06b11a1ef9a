#include "engine/SearchResultList.h"

#include <memory>

#include "outline/GOutline.h"
#include "engine/FileSearch.h"
#include "engine/ResultNodes.h"

// A line the tree refused has been destroyed by it, and with it the node it carried (the
// tree's destroy handler frees attached nodes), so a failed attach must not free it again.

void TSearchResultList::BeginSearch() {
  ExpandPending = true;
  auto node = std::make_unique<TSearchNode>(Request);
  int32_t index;
  try {
    index = Tree.ItemCount() == 0 ? Tree.AddObject(0, " ", node.get()) : Tree.InsertObject(1, " ", node.get());
  } catch (const std::exception&) {
    index = 0;
  }
  if (index == 0) {
    node.release();
    throw EStopSearch("Error adding search to results tree.", rcTreeError);
  }
  CurrentSearchNode = node.release();
  CurrentSearchNode->TreeIndex = index;
  CurrentFileNode = nullptr;
  CurrentMatchNode = nullptr;
}

void TSearchResultList::AddFile() {
  const char* failure = "Error adding file to results tree.";
  if (!CurrentSearchNode || Tree.ItemCount() < CurrentSearchNode->TreeIndex) throw EStopSearch(failure, rcTreeError);
  const std::string& name = CurrentSearchNode->SearchKind == skForm ? Request.FormSourceName : Request.CurrentFile;
  std::unique_ptr<TFileNode> node = CurrentSearchNode->SearchKind == skForm
                                        ? std::make_unique<TDFMFileNode>(CurrentSearchNode, name)
                                        : std::make_unique<TFileNode>(CurrentSearchNode, name);
  node->FileDate = Request.FileDate;
  node->FileSize = Request.FileSize;
  int32_t index;
  try {
    index = Tree.AddChildObject(CurrentSearchNode->TreeIndex, " ", node.get());
  } catch (const std::exception&) {
    index = 0;
  }
  if (index == 0) {
    node.release();
    throw EStopSearch(failure, rcTreeError);
  }
  CurrentFileNode = node.release();
  CurrentFileNode->TreeIndex = index;
  try {
    ExpandOnce();
  } catch (const std::exception&) {
    throw EStopSearch(failure, rcTreeError);
  }
}

void TSearchResultList::AddMatch(std::string_view lineText, int32_t lineNumber, int32_t matchStart,
                                 int32_t matchStop) {
  const char* failure = "Error adding match to results tree.";
  if (!CurrentSearchNode) throw EStopSearch(failure, rcTreeError);
  auto node = TMatchNode::Make(MatchPool, CurrentSearchNode, matchStart, matchStop, lineNumber, lineText,
                               CurrentFileNode);
  int32_t index;
  try {
    const int32_t parent = CurrentFileNode ? CurrentFileNode->TreeIndex : CurrentSearchNode->TreeIndex;
    index = Tree.AddChildObject(parent, " ", node.get());
    if (index != 0 && !CurrentFileNode) ExpandOnce();
  } catch (const std::exception&) {
    index = 0;
  }
  if (index == 0) {
    node.release();
    throw EStopSearch(failure, rcTreeError);
  }
  CurrentMatchNode = node.release();
  CurrentMatchNode->TreeIndex = index;
}

void TSearchResultList::UpdateFileCount() {
  if (CurrentFileNode) CurrentFileNode->Matches = Request.MatchesInFile;
}

void TSearchResultList::EndSearch(uint8_t code) {
  if (!CurrentSearchNode) return;
  CurrentSearchNode->Matches = Request.Matches;
  CurrentSearchNode->FilesWithMatches = Request.FilesWithMatches;
  CurrentSearchNode->FilesSearched = Request.FilesSearched;
  CurrentSearchNode->ResultCode = code;
}

void TSearchResultList::ExpandOnce() {
  if (!ExpandPending) return;
  ExpandPending = false;
  Tree.Items(1)->Expand();
}
