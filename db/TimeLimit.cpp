// SPDX-License-Identifier: MIT
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

bool TimeLimit::SetFromText(const QString& sSeconds) {
  bool bOk = false;
  const int iSeconds = sSeconds.trimmed().toInt(&bOk);
  if (!bOk || iSeconds < 0) return false;
  SetBatchSeconds(iSeconds);
  return true;
}

const char* TimeLimit::OptionDescription() noexcept {
  return "Stop a definition or query that runs longer than SECONDS (0: never); it counts as "
         "failing.";
}

}  // namespace twk
