#include "outline/OutlineTestSupport.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

std::vector<TGOutlineNode*> Preorder(TestOutline& outline) {
  std::vector<TGOutlineNode*> nodes;
  std::vector<TGOutlineNode*> stack{outline.Root()};
  while (!stack.empty()) {
    TGOutlineNode* n = stack.back();
    stack.pop_back();
    if (n != outline.Root()) nodes.push_back(n);
    for (int32_t i = n->ChildCount() - 1; i >= 0; --i) stack.push_back(n->Child(i));
  }
  return nodes;
}

std::vector<std::string> Shape(TestOutline& outline) {
  std::vector<std::string> lines;
  for (TGOutlineNode* n : Preorder(outline)) {
    lines.push_back(std::string(static_cast<std::size_t>(n->Level() - 1), '\t') + std::string(n->StoredText()));
  }
  return lines;
}

void Build(TGCustomOutline& outline, const std::vector<std::string>& lines) {
  std::vector<int32_t> lastAtLevel{0};
  for (const std::string& line : lines) {
    const std::size_t depth = line.find_first_not_of('\t');
    const int32_t index = outline.AddChild(lastAtLevel.at(depth), line.substr(depth));
    if (index <= 0) throw std::runtime_error("cannot build " + line);
    lastAtLevel.resize(depth + 1);
    lastAtLevel.push_back(index);
  }
}

TGOutlineNode* Find(TestOutline& outline, const std::string& text) {
  for (TGOutlineNode* n : Preorder(outline)) {
    if (n->StoredText() == text) return n;
  }
  return nullptr;
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  const std::string stamp = std::to_string(std::random_device{}());
  FPath = std::filesystem::temp_directory_path() / ("qrx_outline_" + stamp + "_" + std::to_string(++counter));
  std::filesystem::remove_all(FPath);
  std::filesystem::create_directories(FPath);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string ScratchDir::File(const std::string& name) const { return (FPath / name).string(); }

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(FPath / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + name);
  return File(name);
}

std::string ReadBytes(const std::string& fileName) {
  std::ifstream in(std::filesystem::path(fileName), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
