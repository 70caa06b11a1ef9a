#pragma once
// File masks kept sorted without regard to case, each once.
#include <string>
#include <vector>

class TMaskList {
 public:
  void Clear() { items_.clear(); }
  // Adds a mask unless one equal to it apart from case is present.
  void Add(const std::string& mask);
  // Splits "a; b;;c" at each ";" (trimmed pieces, empty ones too; a trailing ";" adds none).
  void Split(const std::string& masks);
  const std::vector<std::string>& Items() const { return items_; }
  size_t Count() const { return items_.size(); }

 private:
  std::vector<std::string> items_;
};
