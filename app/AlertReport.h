// SPDX-License-Identifier: MIT
#pragma once

#include "AlertOutput.h"

#include <QString>

#include <vector>

namespace twk {

/// The alerts of one record as tellwick-alerts prints them.
struct AlertReport {
  QString sId;
  QString sUser;
  std::vector<AlertOutput> alerts;  ///< accepted alerts in rank order
  QString sFixedText;

  /// One JSON object: id, user, count, alerts (one object per alert with
  /// every field of the record), fixedText.
  QString ToJson() const;
  /// A table for a person at a terminal.
  QString ToTable() const;
  /// Asks the database for the fixed text of sId and sUser, as the panel
  /// shows it under its alerts.
  void ReadFixedText();
};

}  // namespace twk
