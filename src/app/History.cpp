#include "app/History.h"

#include "winlib/Controls.h"

#include <algorithm>

namespace qrx {

bool UpdateHistory(std::vector<std::string>& list, const std::string& text, int32_t maxHistory) {
  if (text.empty()) return false;
  auto it = std::find(list.begin(), list.end(), text);
  if (it != list.end()) {
    std::rotate(list.begin(), it, it + 1);  // an old entry only moves to the top
    return true;
  }
  if (static_cast<int64_t>(list.size()) >= maxHistory && !list.empty()) list.pop_back();
  if (maxHistory > 0) list.insert(list.begin(), text);
  return true;
}

void UpdateComboHistory(TComboBox& box, int32_t maxHistory) {
  std::string text = box.Text();
  std::vector<std::string> items = box.Items();
  if (!UpdateHistory(items, text, maxHistory)) return;
  box.Clear();
  for (const auto& s : items) box.Add(s);
  if (!items.empty()) box.SetItemIndex(0);
  if (box.Text() != text) box.SetText(text);  // with no room kept, the typed text stays
}

}  // namespace qrx
