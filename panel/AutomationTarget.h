// SPDX-License-Identifier: MIT
#pragma once

#include "AlertOutput.h"

namespace twk {

/// What performs an alert's automatic actions: the panel's hidden sixth
/// detail item. The record is passed by reference and stays the caller's.
class AutomationTarget {
 public:
  virtual ~AutomationTarget() = default;
  virtual void SetAll(const AlertOutput& alert) = 0;
  virtual void PerformAutomation() = 0;
};

}  // namespace twk
