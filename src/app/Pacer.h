#pragma once
// Lets work through at most once per interval. A search reports progress before every
// file and asks for the window to breathe every 100 lines: tens of thousands of times a
// second, each a round trip to the window system when honoured, while a person sees no
// more than a few changes a second.
#include <cstdint>
#include <functional>

namespace qrx {

class TPacer {
 public:
  using TClock = std::function<uint32_t()>;  // milliseconds, wrapping
  explicit TPacer(uint32_t intervalMs, TClock clock = nullptr);

  // True on the first call after a Reset, then whenever the interval has passed since
  // the last true answer.
  bool Due();
  void Reset() { primed_ = false; }

 private:
  uint32_t interval_;
  TClock clock_;
  uint32_t last_ = 0;
  bool primed_ = false;
};

}  // namespace qrx
