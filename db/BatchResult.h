// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "Recordset.h"

namespace twk {

/// What a batch gave back: its first result, if any, and whether a failure
/// after that result cut the batch short.
struct BatchResult {
  std::optional<Recordset> first;
  bool bStopped = false;
};

}  // namespace twk
