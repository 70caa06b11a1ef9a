#include "engine/ResultNodes.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/DosTime.h"
#include "engine/SearchKinds.h"
#include "engine/FileSearch.h"

std::vector<TSearchNode*> SearchNodes;

namespace {

std::string Int(int32_t value) { return std::to_string(value); }

// Right-aligns a number in a field at `out` (room for width + 11 bytes); wider numbers take
// the room they need. Gives the end of what it wrote.
char* PadInto(char* out, int32_t value, int width) {
  char digits[12];
  const char* last = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const int count = static_cast<int>(last - digits);
  if (count < width) out = std::fill_n(out, width - count, ' ');
  return std::copy(static_cast<const char*>(digits), last, out);
}

void AppendPadded(qrx::TTextBuffer& out, int32_t value, int width) {
  char buf[24];
  out.Append(buf, static_cast<size_t>(PadInto(buf, value, width) - buf));
}

// Without leading and trailing blanks and control characters.
std::string_view Trimmed(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

// The part of a path after its last "\" or ":".
std::string_view NamePart(std::string_view path) {
  size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The part of a path up to and including its last "\" or ":".
std::string_view DirectoryPart(std::string_view path) {
  size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string JoinFields(std::initializer_list<std::string> fields) {
  std::string out;
  bool first = true;
  for (const std::string& f : fields) {
    if (!first) out += '\0';
    out += f;
    first = false;
  }
  return out;
}

// A saved record must load back as it was shown: a NUL would split the field and CR, LF or
// Ctrl-Z would end the line, so they are stored as blanks; and the whole line must fit the
// tree's 4096-byte line buffer, so long texts are cut.
std::string SaveField(std::string_view text, size_t maxLength) {
  std::string out(text.substr(0, maxLength));
  for (char& c : out)
    if (c == '\0' || c == '\r' || c == '\n' || c == 26) c = ' ';
  return out;
}

constexpr size_t kMaxSearchField = 600;    // five of them and the numbers fit one line
constexpr size_t kMaxFileName = 1024;
constexpr size_t kMaxLineText = 4000;      // with "M", three numbers, TABs and CR LF < 4096

}  // namespace

TSearchNode::TSearchNode() { SearchNodes.push_back(this); }

TSearchNode::TSearchNode(const TFileSearchObj& request)
    : Options(request.Options),
      SearchKind(request.SearchKind),
      ExprKind(request.ExprKind),
      Masks(request.Masks),
      SearchText(request.SearchText),
      EnteredText(request.EnteredText),
      ReplaceText(request.ReplaceText),
      Directory(request.Directory) {
  SearchNodes.push_back(this);
}

TSearchNode::~TSearchNode() {
  auto it = std::find(SearchNodes.begin(), SearchNodes.end(), this);
  if (it != SearchNodes.end()) SearchNodes.erase(it);
}

void TSearchNode::AppendDisplayText(qrx::TTextBuffer& text) const {
  switch (SearchKind) {
    case 0:
      text.Append(" Search for \"");
      text.Append(EnteredText);
      text.Append("\" in ");
      text.Append(Masks);
      break;
    case 1:
      text.Append(" Search/Replace for \"");
      text.Append(EnteredText);
      text.Append("\" replaced with ");
      text.Append(ReplaceText);
      text.Append(" in ");
      text.Append(Masks);
      break;
    case 2:
      text.Append(" DFM Search for \"");
      text.Append(EnteredText);
      text.Append('"');
      break;
    case 3:
      text.Append(" Binary Search");
      break;
    default:
      break;
  }
  if (Matches > 0 && (Options & optMatchCounts) && !(Options & optFileLines)) {
    text.Append(" Matches - ");
    text.Append(Int(Matches));
  }
}

std::string TSearchNode::GetSaveText() const {
  uint32_t word = Options | (uint32_t(SearchKind) << 16) | (uint32_t(ExprKind) << 24);
  return JoinFields({"QRXF300", Int(static_cast<int32_t>(word)), Int(SearchKind), Int(ExprKind),
                     SaveField(Masks, kMaxSearchField), SaveField(SearchText, kMaxSearchField),
                     SaveField(ReplaceText, kMaxSearchField), SaveField(EnteredText, kMaxSearchField),
                     SaveField(Directory, kMaxSearchField), Int(ResultCode),
                     Int(Matches), Int(FilesWithMatches), Int(FilesSearched)});
}

void TFileNode::AppendDisplayText(qrx::TTextBuffer& out) const {
  const uint16_t options = SearchNode ? SearchNode->Options : 0;
  std::string_view name = (options & optFileLines) ? std::string_view(FileName) : DirectoryPart(FileName);
  std::string_view shown = (options & optFullPaths) ? name : NamePart(name);
  if (options & optMatchCounts) {
    AppendPadded(out, Matches, 4);
    out.Append(" : ");
  } else {
    out.Append("  ");
  }
  out.Append(shown);
}

std::string TFileNode::GetSaveText() const {
  return JoinFields({"F", SaveField(FileName, kMaxFileName), Int(Matches), Int(static_cast<int32_t>(DateTimeToDosDateTime(FileDate))),
                     Int(FileSize)});
}

std::unique_ptr<TMatchNode> TMatchNode::Build(void* block, TSearchNode* searchNode, int32_t matchStart,
                                              int32_t matchStop, int32_t lineNumber, std::string_view lineText,
                                              TFileNode* fileNode) noexcept {
  static_assert(alignof(TMatchNode) <= qrx::outline::TChunkPool::kAlign);
  // A row's every byte is memory first touched: the fields fill the node without a gap, so
  // the text starts right after the last of them.
  static_assert(sizeof(TMatchNode) == 2 * sizeof(void*) + 5 * sizeof(int32_t) + sizeof FTextHead);
  auto* node = new (block) TMatchNode(fileNode ? static_cast<TBaseNode*>(fileNode) : searchNode, fileNode != nullptr,
                                      matchStart, matchStop, lineNumber, static_cast<uint32_t>(lineText.size()));
  qrx::CopyBytes(const_cast<char*>(node->TextStart()), lineText.data(), lineText.size());
  return std::unique_ptr<TMatchNode>(node);
}

std::unique_ptr<TMatchNode> TMatchNode::Make(qrx::outline::TChunkPool& pool, TSearchNode* searchNode,
                                             int32_t matchStart, int32_t matchStop, int32_t lineNumber,
                                             std::string_view lineText, TFileNode* fileNode) {
  return Build(pool.Allocate(BlockSize(lineText.size())), searchNode, matchStart, matchStop, lineNumber, lineText,
               fileNode);
}

std::unique_ptr<TMatchNode> TMatchNode::Make(TSearchNode* searchNode, int32_t matchStart, int32_t matchStop,
                                             int32_t lineNumber, std::string_view lineText, TFileNode* fileNode) {
  return Build(qrx::outline::TChunkPool::AllocateAlone(BlockSize(lineText.size())), searchNode, matchStart,
               matchStop, lineNumber, lineText, fileNode);
}

void TMatchNode::AppendDisplayText(qrx::TTextBuffer& out) const {
  const TSearchNode* search = SearchNode();
  const uint16_t options = search ? search->Options : 0;
  // The front is put together here and added at once: this runs for every row written.
  char front[24] = "  ";
  char* end = front + 2;
  if (options & optLineNumbers) end = std::copy_n(" : ", 3, PadInto(front + 1, LineNumber, 5));
  out.Append(front, static_cast<size_t>(end - front));
  out.Append(Trimmed(LineText()));
}

std::string TMatchNode::GetSaveText() const {
  return JoinFields({"M", SaveField(LineText(), kMaxLineText), Int(LineNumber), Int(MatchStart), Int(MatchStop)});
}
