// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <list>
#include <memory>

#include "CompiledBatch.h"

namespace twk::embedded {

/// The compiled batches of one connection by their key, the least recently
/// used dropped first once it holds its capacity. A batch is taken out
/// while it runs and given back once it is done, so no two runs share one.
class BatchCache {
 public:
  explicit BatchCache(size_t iCapacity = 4096) : iCapacity_(iCapacity) {}

  /// The batch kept under that key, or null.
  std::unique_ptr<CompiledBatch> Take(const QString& sKey);
  /// Keeps a bound batch for the next Take of its key.
  void Give(std::unique_ptr<CompiledBatch> batch);
  size_t Size() const noexcept { return order_.size(); }

 private:
  using Order = std::list<std::unique_ptr<CompiledBatch>>;
  size_t iCapacity_;
  Order order_;  // most recently given first
  QHash<QString, Order::iterator> byKey_;
};

}  // namespace twk::embedded
