#include "TimeLimit.h"

#include <atomic>

namespace twk {

namespace {
std::atomic<int> iBatchSeconds{TimeLimit::iDefaultSeconds};
}  // namespace

int TimeLimit::BatchSeconds() noexcept {
  return iBatchSeconds.load(std::memory_order_relaxed);
}

void TimeLimit::SetBatchSeconds(int iSeconds) noexcept {
  iBatchSeconds.store(iSeconds < 0 ? 0 : iSeconds, std::memory_order_relaxed);
}

}  // namespace twk
