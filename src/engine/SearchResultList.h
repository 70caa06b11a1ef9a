#pragma once
// The search run's writer of result lines: creates the nodes and adds them to the tree,
// the newest search on top.
#include <cstdint>
#include <string>
#include <string_view>

#include "outline/ChunkPool.h"

class TFileSearchObj;
class TGCustomOutline;
class TSearchNode;
class TFileNode;
class TMatchNode;

class TSearchResultList {
 public:
  TSearchResultList(TGCustomOutline& tree, TFileSearchObj& request) : Tree(tree), Request(request) {}

  void BeginSearch();
  void AddFile();
  void AddMatch(std::string_view lineText, int32_t lineNumber, int32_t matchStart, int32_t matchStop);
  void UpdateFileCount();
  void EndSearch(uint8_t code);

  TGCustomOutline& Tree;
  TFileSearchObj& Request;
  TSearchNode* CurrentSearchNode = nullptr;  // owned by the tree's line
  TFileNode* CurrentFileNode = nullptr;
  TMatchNode* CurrentMatchNode = nullptr;
  bool ExpandPending = false;

 private:
  // The match nodes' blocks: they outlive the list in the tree, each freed with its line.
  qrx::outline::TChunkPool MatchPool;

  void ExpandOnce();
};
