// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "AlertEvaluation.h"
#include "ModuleFixture.h"

namespace twk::testing {

/// An open shared connection on a fresh database, the user MANAGER, and one
/// alert table, for running definitions the test writes.
class EvaluationFixture : public ModuleFixture {
 protected:
  void SetUp() override;

  /// Writes a definition through SQLite itself; returns its SEQN.
  qint32 AddDefinition(const QString& sCriteria, const QString& sType = QStringLiteral("SQL"),
                       bool bEnabled = true);
  /// Reads and runs the enabled definitions for the record id.
  void Evaluate(const QString& sId = QStringLiteral("1001"));
  /// The keywords of the accepted alerts, in table order.
  QStringList Keywords() const;
  /// This connection's server process id.
  QString OwnSpid();

  AlertEvaluation evaluation;
};

}  // namespace twk::testing
