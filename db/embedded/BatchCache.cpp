// SPDX-License-Identifier: MIT
#include "BatchCache.h"

namespace twk::embedded {

std::unique_ptr<CompiledBatch> BatchCache::Take(const QString& sKey) {
  const auto found = byKey_.find(sKey);
  if (found == byKey_.end()) return nullptr;
  std::unique_ptr<CompiledBatch> batch = std::move(*found.value());
  order_.erase(found.value());
  byKey_.erase(found);
  return batch;
}

void BatchCache::Give(std::unique_ptr<CompiledBatch> batch) {
  if (!batch || !batch->IsBound() || !batch->HasKey() || iCapacity_ == 0) return;
  const auto found = byKey_.find(batch->Key());
  if (found != byKey_.end()) {
    order_.erase(found.value());
    byKey_.erase(found);
  }
  while (order_.size() >= iCapacity_) {
    byKey_.remove(order_.back()->Key());
    order_.pop_back();
  }
  order_.push_front(std::move(batch));
  byKey_.insert(order_.front()->Key(), order_.begin());
}

}  // namespace twk::embedded
