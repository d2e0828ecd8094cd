// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// How long one batch (an alert definition, a query of the libraries) may
/// run before it is interrupted and fails. One setting for the process, read
/// by every backend when a batch starts, so that a runaway definition can
/// never freeze the host whichever database it runs on.
class TimeLimit {
 public:
  static constexpr int iDefaultSeconds = 30;

  /// Seconds a batch may run; 0 means no limit.
  static int BatchSeconds() noexcept;
  /// Negative values are taken as 0 (no limit).
  static void SetBatchSeconds(int iSeconds) noexcept;
  /// Takes the value of a --timeout option: whole seconds, 0 for none.
  /// False (and nothing changed) for anything else.
  static bool SetFromText(const QString& sSeconds);
  /// What --help says about --timeout.
  static const char* OptionDescription() noexcept;
};

}  // namespace twk
