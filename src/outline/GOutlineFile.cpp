// The outline's text file: SaveToFile writes every node in pre-order in the text form,
// LoadFromFile replaces the content with a file in that form.
#include <cstdio>
#include <memory>

#include "outline/GOutline.h"
#include "outline/GOutlineFormat.h"
#include "outline/GOutlineScopes.h"

using namespace qrx::outline;

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using UniqueStdFile = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kWriteChunk = 64 * 1024;

// The whole file, or "File load error" when it cannot be opened or read.
std::string ReadWholeFile(const std::string& fileName) {
  UniqueStdFile file(std::fopen(fileName.c_str(), "rb"));
  if (!file) throw EOutlineError(kFileLoadError);
  std::string data;
  char block[kLineBufferSize * 16];
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    data.append(block, got);
    if (got < sizeof block) break;
  }
  if (std::ferror(file.get())) throw EOutlineError(kFileLoadError);
  return data;
}

void WriteAll(std::FILE* file, const std::string& bytes, const std::string& fileName) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw EOutlineError("Cannot write to file " + fileName);
  }
}

}  // namespace

void TGCustomOutline::SaveToFile(const std::string& fileName) {
  TOpScope scope(*this);
  // The order is fixed before any text is asked for, so a text handler that changes the
  // tree cannot send the walk astray.
  std::vector<TGOutlineNode*> nodes;
  nodes.reserve(static_cast<std::size_t>(FNodeCount));
  for (TGOutlineNode* n = NextPreorder(FRoot.get(), FRoot.get()); n; n = NextPreorder(n, FRoot.get())) {
    nodes.push_back(n);
  }
  UniqueStdFile file(std::fopen(fileName.c_str(), "wb"));
  if (!file) throw EOutlineError("Cannot create file " + fileName);
  std::string out;
  out.reserve(kWriteChunk + kLineBufferSize);
  for (TGOutlineNode* n : nodes) {
    AppendLine(out, n->FLevel, ReadText(n));
    if (out.size() >= kWriteChunk) {
      WriteAll(file.get(), out, fileName);
      out.clear();
    }
  }
  WriteAll(file.get(), out, fileName);
  if (std::fclose(file.release()) != 0) throw EOutlineError("Cannot write to file " + fileName);
}

void TGCustomOutline::LoadFromFile(const std::string& fileName) {
  TOpScope scope(*this);
  // Everything that can be wrong with the file is found before the old content goes.
  const std::string data = ReadWholeFile(fileName);
  Rebuild(PlaceLines(SplitLines(data)));
}

void TGCustomOutline::Rebuild(const std::vector<PlacedLine>& lines) {
  TOpScope scope(*this);
  TBatchScope batch(*this);
  Clear();
  std::exception_ptr error;
  std::vector<TGOutlineNode*> path{FRoot.get()};  // path[level]: last node at that level
  for (const PlacedLine& line : lines) {
    std::unique_ptr<TGOutlineNode> fresh = NewNode();
    TGOutlineNode* node = fresh.get();
    try {
      StoreText(node, std::string(line.Text));
      TGOutlineNode* parent = path[static_cast<std::size_t>(line.Level - 1)];
      // A text handler that cleared or cut the tree leaves nothing to load into.
      if (!parent->FInTree || path.front() != FRoot.get()) throw EOutlineError(kFileLoadError);
      Link(parent, parent->ChildCount(), fresh);
    } catch (...) {
      error = std::current_exception();
      // Its handler's own failure, if any, would only hide the first one.
      if (fresh) DestroyDetached(std::move(fresh));
      break;
    }
    path.resize(static_cast<std::size_t>(line.Level));
    path.push_back(node);
  }
  // The loaded outline starts closed, on its first line.
  FMark = FRoot.get();
  SettleMark();
  FCache = FRoot.get();
  TGOutlineNode* first = FRoot->Children().empty() ? nullptr : FRoot->Children().front().get();
  FSelected = first ? first : FRoot.get();
  FRowNode = first;
  FTopRow = 0;
  Notify(hkRowCount);
  Notify(hkCurrentRow);
  NotifyColumnWidth();
  Notify(hkInvalidate);
  if (error) std::rethrow_exception(error);
}
