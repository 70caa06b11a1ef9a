#pragma once
// Input-box histories: the most recent entry first, no duplicates, at most
// "MaxHistory" entries.
#include <cstdint>
#include <string>
#include <vector>

namespace qrx {

class TComboBox;

// Pushes text to the top of the list; true when the list changed.
bool UpdateHistory(std::vector<std::string>& list, const std::string& text, int32_t maxHistory);
// The same on a combo box's list; the box then shows its top entry.
void UpdateComboHistory(TComboBox& box, int32_t maxHistory);

}  // namespace qrx
