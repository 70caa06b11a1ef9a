#include "engine/ResultNodes.h"

#include <algorithm>
#include <cstdio>

#include "engine/DosTime.h"
#include "engine/FileSearch.h"
#include "engine/LineMatcher.h"

std::vector<TSearchNode*> SearchNodes;

namespace {

std::string Int(int32_t value) { return std::to_string(value); }

// Right-aligns a number in a field; wider numbers take the room they need.
std::string PadNumber(int32_t value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*d", width, static_cast<int>(value));
  return buf;
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

std::string TSearchNode::GetDisplayText() const {
  std::string text;
  switch (SearchKind) {
    case 0:
      text = " Search for \"" + EnteredText + "\" in " + Masks;
      break;
    case 1:
      text = " Search/Replace for \"" + EnteredText + "\" replaced with " + ReplaceText + " in " +
             Masks;
      break;
    case 2:
      text = " DFM Search for \"" + EnteredText + "\"";
      break;
    case 3:
      text = " Binary Search";
      break;
    default:
      break;
  }
  if (Matches > 0 && (Options & 0x0008) && !(Options & 0x0002))
    text += " Matches - " + Int(Matches);
  return text;
}

std::string TSearchNode::GetSaveText() const {
  uint32_t word = Options | (uint32_t(SearchKind) << 16) | (uint32_t(ExprKind) << 24);
  return JoinFields({"QRXF300", Int(static_cast<int32_t>(word)), Int(SearchKind), Int(ExprKind),
                     SaveField(Masks, kMaxSearchField), SaveField(SearchText, kMaxSearchField),
                     SaveField(ReplaceText, kMaxSearchField), SaveField(EnteredText, kMaxSearchField),
                     SaveField(Directory, kMaxSearchField), Int(ResultCode),
                     Int(Matches), Int(FilesWithMatches), Int(FilesSearched)});
}

std::string TFileNode::GetDisplayText() const {
  const uint16_t options = SearchNode ? SearchNode->Options : 0;
  std::string_view name = (options & 0x0002) ? std::string_view(FileName) : DirectoryPart(FileName);
  std::string_view shown = (options & 0x0004) ? name : NamePart(name);
  if (options & 0x0008) return PadNumber(Matches, 4) + " : " + std::string(shown);
  return "  " + std::string(shown);
}

std::string TFileNode::GetSaveText() const {
  return JoinFields({"F", SaveField(FileName, kMaxFileName), Int(Matches), Int(static_cast<int32_t>(DateTimeToDosDateTime(FileDate))),
                     Int(FileSize)});
}

std::string TMatchNode::GetDisplayText() const {
  const uint16_t options = SearchNode ? SearchNode->Options : 0;
  if (options & 0x0001) return " " + PadNumber(LineNumber, 5) + " : " + qrx::TrimText(LineText);
  return "  " + qrx::TrimText(LineText);
}

std::string TMatchNode::GetSaveText() const {
  return JoinFields({"M", SaveField(LineText, kMaxLineText), Int(LineNumber), Int(MatchStart), Int(MatchStop)});
}
