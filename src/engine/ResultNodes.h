#pragma once
// What each line of the results tree stands for: a search, a file, or a matching line.
// The tree stores only the node; the text it shows is asked from the node each time.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TextBuffer.h"
#include "outline/ChunkPool.h"

class TFileSearchObj;

class TBaseNode {
 public:
  virtual ~TBaseNode() = default;
  // The text shown in the tree, which follows the search's current options.
  std::string GetDisplayText() const {
    qrx::TTextBuffer text;
    AppendDisplayText(text);
    return text.Str();
  }
  // The same, appended to a buffer: exporting many lines then costs no allocation each.
  virtual void AppendDisplayText(qrx::TTextBuffer& out) const = 0;
  virtual std::string GetSaveText() const = 0;

  int32_t TreeIndex = 0;
};

class TSearchNode : public TBaseNode {
 public:
  // A loaded search: no request, everything empty. Joins SearchNodes either way.
  TSearchNode();
  explicit TSearchNode(const TFileSearchObj& request);
  ~TSearchNode() override;
  TSearchNode(const TSearchNode&) = delete;
  TSearchNode& operator=(const TSearchNode&) = delete;

  void AppendDisplayText(qrx::TTextBuffer& out) const override;
  std::string GetSaveText() const override;

  uint16_t Options = 0;
  uint8_t SearchKind = 0;
  uint8_t ExprKind = 0;
  uint8_t ResultCode = 0;
  std::string Masks;
  std::string SearchText;
  std::string EnteredText;
  std::string ReplaceText;
  std::string Directory;
  int32_t Matches = 0;
  int32_t FilesWithMatches = 0;
  int32_t FilesSearched = 0;
};

class TFileNode : public TBaseNode {
 public:
  TFileNode(TSearchNode* searchNode, std::string fileName)
      : SearchNode(searchNode), FileName(std::move(fileName)) {}
  void AppendDisplayText(qrx::TTextBuffer& out) const override;
  std::string GetSaveText() const override;

  TSearchNode* SearchNode;  // not owned
  std::string FileName;
  int32_t Matches = 0;
  double FileDate = 0;
  int32_t FileSize = 0;
};

// A file line of a form-file search: opened as a form file rather than as text.
class TDFMFileNode : public TFileNode {
 public:
  using TFileNode::TFileNode;
};

class TMatchNode : public TBaseNode {
 public:
  // A search can make hundreds of thousands of these: the node and its line's text come in
  // one block, carved from the pool of whoever makes many of them. A match under a file
  // line belongs to that file line's search.
  static std::unique_ptr<TMatchNode> Make(qrx::outline::TChunkPool& pool, TSearchNode* searchNode,
                                          int32_t matchStart, int32_t matchStop, int32_t lineNumber,
                                          std::string_view lineText, TFileNode* fileNode);
  // The same in a block of its own.
  static std::unique_ptr<TMatchNode> Make(TSearchNode* searchNode, int32_t matchStart, int32_t matchStop,
                                          int32_t lineNumber, std::string_view lineText, TFileNode* fileNode);
  // Frees the block Make took, text included.
  static void operator delete(void* p) noexcept { qrx::outline::TChunkPool::Free(p); }
  TMatchNode(const TMatchNode&) = delete;
  TMatchNode& operator=(const TMatchNode&) = delete;

  void AppendDisplayText(qrx::TTextBuffer& out) const override;
  std::string GetSaveText() const override;

  std::string_view LineText() const { return {TextStart(), FLineLength}; }
  // The file line it is under; none without file lines.
  TFileNode* FileNode() const { return FHasFile ? static_cast<TFileNode*>(FUp) : nullptr; }
  // Its search: the file line's, or the one it is under directly.
  TSearchNode* SearchNode() const { return FHasFile ? static_cast<TFileNode*>(FUp)->SearchNode : static_cast<TSearchNode*>(FUp); }

  // Laid out without padding (checked where nodes are made): the line number fills the
  // base's last four bytes, and the line's text follows the last field.
  int32_t LineNumber;
  int32_t MatchStart;
  int32_t MatchStop;

 private:
  static std::unique_ptr<TMatchNode> Build(void* block, TSearchNode* searchNode, int32_t matchStart,
                                           int32_t matchStop, int32_t lineNumber, std::string_view lineText,
                                           TFileNode* fileNode) noexcept;
  static std::size_t BlockSize(std::size_t textLength) {
    return textLength < sizeof FTextHead ? sizeof(TMatchNode) : sizeof(TMatchNode) - sizeof FTextHead + textLength;
  }
  TMatchNode(TBaseNode* up, bool hasFile, int32_t matchStart, int32_t matchStop, int32_t lineNumber,
             uint32_t lineLength)
      : LineNumber(lineNumber),
        MatchStart(matchStart),
        MatchStop(matchStop),
        FUp(up),
        FLineLength(lineLength & 0x7FFFFFFF),
        FHasFile(hasFile) {}
  const char* TextStart() const { return reinterpret_cast<const char*>(this) + sizeof(TMatchNode) - sizeof FTextHead; }

  TBaseNode* FUp;  // not owned: the file line, or the search without file lines
  uint32_t FLineLength : 31;
  uint32_t FHasFile : 1;
  char FTextHead[4];  // the text's first bytes, in what would be padding
};

// Every search node alive in the results tree, in creation order. A node joins when it is
// created and leaves when it is destroyed.
extern std::vector<TSearchNode*> SearchNodes;
