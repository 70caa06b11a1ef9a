#pragma once
// The saved-results file: one record per tree line, fields separated by NUL bytes; the
// tree adds the TABs of each line's depth and the CR LF.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "outline/ChunkPool.h"

class TBaseNode;
class TSearchNode;
class TFileNode;
class TMatchNode;
class TGCustomOutline;

// Raised for every structural fault of a loaded file, and for malformed numbers.
class EInvalidFormat : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Rebuilds result nodes from the records of one load, in file order.
class TNodeCreator {
 public:
  // Returns a new node for the record (the caller owns it) or raises EInvalidFormat.
  TBaseNode* CreateNode(const std::string& record);

  std::string GetStr();
  int32_t GetInt();

  TSearchNode* FLastSearchNode = nullptr;
  TFileNode* FLastFileNode = nullptr;
  TMatchNode* FLastMatchNode = nullptr;
  bool ExpectSignature = true;
  std::string Rest;

 private:
  qrx::outline::TChunkPool MatchPool;  // a loaded file may hold many match lines
  TBaseNode* CreateSearchNode();
  TBaseNode* CreateFileNode();
  TBaseNode* CreateMatchNode();
};

constexpr const char* kSavedSignature = "QRXF300";

// Saves the whole tree in the saved-results format; false with a message on failure.
bool SaveResults(TGCustomOutline& tree, const std::string& fileName, std::string& error);
// Replaces the tree's content with a saved file; false with a message on failure (the
// tree is then left empty, never half-built with dangling nodes).
bool LoadResults(TGCustomOutline& tree, const std::string& fileName, std::string& error);
