// libFuzzer entry: any bytes go through the form converter. Besides the sanitizers'
// own checks, an accepted text must keep the notation's shape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/FormConvert.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = "stale";
  if (!ConvertFormStream(data, size, text)) return 0;
  Check(text.size() >= 5 && text.compare(text.size() - 5, 5, "end\r\n") == 0);
  const size_t ratioLimit = size > qrx::kFormMaxOutput / qrx::kFormMaxExpansion ? qrx::kFormMaxOutput : size * qrx::kFormMaxExpansion;
  Check(text.size() <= std::min(qrx::kFormMaxOutput, std::max(qrx::kFormMinOutputLimit, ratioLimit)));
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') Check(i + 1 < text.size() && text[i + 1] == '\n');
    if (text[i] == '\n') Check(i > 0 && text[i - 1] == '\r');
  }
  return 0;
}
