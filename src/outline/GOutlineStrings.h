#pragma once
// The outline seen as a list of strings: string i is node i+1 in the text form
// ((level - 1) TABs and its text), object i that node's Data.
#include <cstdint>
#include <string>
#include <vector>

class TGCustomOutline;

class TOutlineStrings {
 public:
  explicit TOutlineStrings(TGCustomOutline& outline) : FOutline(outline) {}
  TOutlineStrings(const TOutlineStrings&) = delete;
  TOutlineStrings& operator=(const TOutlineStrings&) = delete;

  int32_t Count() const;
  std::string Strings(int32_t i) const;
  void* Objects(int32_t i) const;
  void SetObject(int32_t i, void* data);
  // Places the string by its leading TABs or blanks after the last node, as a file line
  // is placed; returns its position in the list.
  int32_t Add(const std::string& s);
  int32_t AddObject(const std::string& s, void* data);
  // Inserts a node with the raw text before node i+1 (a failure goes to OnShowError).
  void Insert(int32_t i, const std::string& s);
  void Delete(int32_t i);
  void Clear();
  // Replaces the whole content with lines of the text form; the old content stays when
  // the lines do not form an outline.
  void Assign(const std::vector<std::string>& lines);
  std::vector<std::string> ToVector() const;

 private:
  TGCustomOutline& FOutline;
};
