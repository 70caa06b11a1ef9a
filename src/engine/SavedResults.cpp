#include "engine/SavedResults.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "outline/GOutline.h"
#include "engine/DosTime.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"
#include "engine/SearchKinds.h"

namespace {

const char* const kInvalid = "Invalid file format.";

std::string TakeField(std::string& rest) {
  size_t cut = rest.find('\0');
  std::string field = rest.substr(0, cut);
  rest.erase(0, cut == std::string::npos ? rest.size() : cut + 1);
  return field;
}

}  // namespace

std::string TNodeCreator::GetStr() {
  if (Rest.empty()) throw EInvalidFormat(kInvalid);
  return TakeField(Rest);
}

int32_t TNodeCreator::GetInt() {
  if (Rest.empty()) throw EInvalidFormat(kInvalid);
  std::string text = TakeField(Rest).substr(0, 20);
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(begin, &end, 10);
  if (end == begin || *end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX)
    throw EInvalidFormat("'" + text + "' is not a valid integer value.");
  return static_cast<int32_t>(value);
}

TBaseNode* TNodeCreator::CreateNode(const std::string& record) {
  Rest = record;
  std::string tag = GetStr();
  size_t lead = tag.find_first_not_of("\t ");
  if (lead == std::string::npos) throw EInvalidFormat(kInvalid);
  tag.erase(0, lead);
  if (ExpectSignature) {
    if (tag != kSavedSignature) throw EInvalidFormat(kInvalid);
    ExpectSignature = false;
  }
  if (tag == kSavedSignature) return CreateSearchNode();
  if (tag == "F") return CreateFileNode();
  if (tag == "M") return CreateMatchNode();
  throw EInvalidFormat(kInvalid);
}

TBaseNode* TNodeCreator::CreateSearchNode() {
  auto node = std::make_unique<TSearchNode>();
  node->Options = static_cast<uint16_t>(GetInt() & 0xFFFF);
  node->SearchKind = static_cast<uint8_t>(GetInt());
  node->ExprKind = static_cast<uint8_t>(GetInt());
  node->Masks = GetStr();
  node->SearchText = GetStr();
  node->ReplaceText = GetStr();
  node->EnteredText = GetStr();
  node->Directory = GetStr();
  node->ResultCode = static_cast<uint8_t>(GetInt());
  node->Matches = GetInt();
  node->FilesWithMatches = GetInt();
  node->FilesSearched = GetInt();
  FLastSearchNode = node.get();
  FLastFileNode = nullptr;
  return node.release();
}

TBaseNode* TNodeCreator::CreateFileNode() {
  if (!FLastSearchNode) throw EInvalidFormat(kInvalid);
  std::string name = GetStr();
  std::unique_ptr<TFileNode> node = FLastSearchNode->SearchKind == skForm
                                        ? std::make_unique<TDFMFileNode>(FLastSearchNode, name)
                                        : std::make_unique<TFileNode>(FLastSearchNode, name);
  node->Matches = GetInt();
  node->FileDate = DosDateTimeToDateTime(static_cast<uint32_t>(GetInt()));
  node->FileSize = GetInt();
  FLastFileNode = node.get();
  return node.release();
}

TBaseNode* TNodeCreator::CreateMatchNode() {
  if (!FLastSearchNode) throw EInvalidFormat(kInvalid);
  std::string text = GetStr();
  const int32_t line = GetInt();
  const int32_t start = GetInt();
  const int32_t stop = GetInt();
  auto node = TMatchNode::Make(MatchPool, FLastSearchNode, start, stop, line, text, FLastFileNode);
  FLastMatchNode = node.get();
  return node.release();
}

bool SaveResults(TGCustomOutline& tree, const std::string& fileName, std::string& error) {
  auto saved = tree.OnGetNodeText;
  tree.OnGetNodeText = [](TGOutlineNode* line, std::string& text) {
    if (TBaseNode* node = ResultNodeOf(line)) text = node->GetSaveText();
  };
  bool ok = true;
  try {
    tree.SaveToFile(fileName);
  } catch (const std::exception& e) {
    error = e.what();
    ok = false;
  }
  tree.OnGetNodeText = saved;
  return ok;
}

bool LoadResults(TGCustomOutline& tree, const std::string& fileName, std::string& error) {
  auto saved = tree.OnSetNodeText;
  TNodeCreator creator;
  tree.OnSetNodeText = [&creator](TGOutlineNode* line, std::string& text) {
    line->SetData(creator.CreateNode(text));
    text = " ";  // the node answers for the text from now on
  };
  bool ok = true;
  try {
    tree.LoadFromFile(fileName);
  } catch (const std::exception& e) {
    error = e.what();
    ok = false;
  }
  tree.OnSetNodeText = saved;
  if (!ok) tree.Clear();
  return ok;
}
