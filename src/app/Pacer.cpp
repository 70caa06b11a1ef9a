#include "app/Pacer.h"

#include <windows.h>

namespace qrx {

TPacer::TPacer(uint32_t intervalMs, TClock clock)
    : interval_(intervalMs), clock_(clock ? std::move(clock) : TClock([] { return ::GetTickCount(); })) {}

bool TPacer::Due() {
  const uint32_t now = clock_();
  // Unsigned difference: right across the tick count's wrap after 49 days.
  if (primed_ && now - last_ < interval_) return false;
  primed_ = true;
  last_ = now;
  return true;
}

}  // namespace qrx
