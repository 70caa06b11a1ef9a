#pragma once
// Helpers shared by the outline tests: an outline that counts its window hooks, building
// a tree from its text form, reading its shape back, and a scratch folder.
#include <filesystem>
#include <string>
#include <vector>

#include "outline/GOutline.h"

class TestOutline : public TGREPOutline {
 public:
  using TGCustomOutline::Root;
  int rowCountCalls = 0;
  int invalidateCalls = 0;
  int columnWidthCalls = 0;
  int nodeWidthCalls = 0;
  int currentRowCalls = 0;

 protected:
  void RowCountChanged() override { ++rowCountCalls; }
  void Invalidate() override { ++invalidateCalls; }
  void ColumnWidthChanged() override { ++columnWidthCalls; }
  void NodeWidthChanged(TGOutlineNode*) override { ++nodeWidthCalls; }
  void CurrentRowChanged() override { ++currentRowCalls; }
};

// Every node but the root, in pre-order.
std::vector<TGOutlineNode*> Preorder(TestOutline& outline);
// One string per node: (level - 1) TABs and the stored text.
std::vector<std::string> Shape(TestOutline& outline);
// Adds the lines (leading TABs give the depth) through AddChild, each under the last
// node one level up.
void Build(TGCustomOutline& outline, const std::vector<std::string>& lines);
// The node whose stored text is `text`, or nullptr.
TGOutlineNode* Find(TestOutline& outline, const std::string& text);

// A fresh folder, removed with its content at the end of the test.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string File(const std::string& name) const;
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path FPath;
};

std::string ReadBytes(const std::string& fileName);

// Runs `action` and returns the EOutlineError text it raised ("" if none).
template <typename F>
std::string ErrorOf(F&& action) {
  try {
    action();
  } catch (const EOutlineError& e) {
    return e.what();
  }
  return "";
}
