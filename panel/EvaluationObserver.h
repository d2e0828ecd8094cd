// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

struct AlertOutput;
struct AlertRule;

/// Told what an evaluation does, step by step, for a person who wants to
/// know why a definition gave the alerts it gave. The panel runs without
/// one; nothing it is told changes the evaluation.
class EvaluationObserver {
 public:
  virtual ~EvaluationObserver() = default;

  /// A definition comes up in run order; bRuns is false when its type is
  /// one that is never run.
  virtual void RuleStarted(const AlertRule& rule, bool bRuns) = 0;
  /// The database refused the definition's SQL.
  virtual void RuleFailed(const QString& sError) = 0;
  /// A value of the row being read could not be taken (column sColumn).
  virtual void ValueFailed(const QString& sColumn) = 0;
  /// A row was read into a candidate alert, complete or not.
  virtual void RowJudged(const AlertOutput& candidate, bool bAccepted) = 0;
  virtual void RuleFinished() = 0;
  /// The rows of the output table are read next.
  virtual void TableRowsStarted() = 0;
  /// A row of the output table read after every slot was taken: the panel
  /// has no place for it and keeps nothing of it.
  virtual void RowLeftOver(const AlertOutput& candidate) { static_cast<void>(candidate); }
};

}  // namespace twk
