#include "engine/MaskList.h"

#include <algorithm>

#include "engine/LineMatcher.h"
#include "winlib/Win.h"

namespace {

// The platform's locale-aware comparison without regard to case.
int CompareNoCase(const std::string& a, const std::string& b) {
  int r = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                           b.data(), static_cast<int>(b.size()));
  return r - CSTR_EQUAL;
}

}  // namespace

void TMaskList::Add(const std::string& mask) {
  auto it = std::lower_bound(items_.begin(), items_.end(), mask,
                             [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  if (it != items_.end() && CompareNoCase(*it, mask) == 0) return;
  items_.insert(it, mask);
}

void TMaskList::Split(const std::string& masks) {
  Clear();
  if (masks.empty()) return;
  if (masks.find(';') == std::string::npos) {
    Add(qrx::TrimText(masks));
    return;
  }
  size_t from = 0;
  while (from < masks.size()) {
    size_t cut = masks.find(';', from);
    if (cut == std::string::npos) cut = masks.size();
    Add(qrx::TrimText(masks.substr(from, cut - from)));
    from = cut + 1;
  }
}
