// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>
#include <QStringList>

#include "EvaluationObserver.h"

namespace twk::bench {

/// What each definition did in one evaluation, as the evaluation tells it:
/// which ran, which failed and why, and how many alerts each gave (rows of
/// the output table are told apart by the keyword their definition writes).
class AlertTally : public twk::EvaluationObserver {
 public:
  /// SEQN to ALERT_ID, and output-table keyword to ALERT_ID.
  AlertTally(QMap<qint32, QString> alertIds, QMap<QString, QString> tableKeywords)
      : alertIds_(std::move(alertIds)), tableKeywords_(std::move(tableKeywords)) {}

  QStringList failures;
  int iRun = 0;
  QMap<QString, int> alerts;  ///< ALERT_ID to the alerts it gave

  int Alerts() const;

  void RuleStarted(const AlertRule& rule, bool bRuns) override;
  void RuleFailed(const QString& sError) override;
  void ValueFailed(const QString& sColumn) override;
  void RowJudged(const AlertOutput& candidate, bool bAccepted) override;
  void RuleFinished() override {}
  void TableRowsStarted() override { sCurrent_ = QStringLiteral("the output table"); }

 private:
  QMap<qint32, QString> alertIds_;
  QMap<QString, QString> tableKeywords_;
  QString sCurrent_;
};

}  // namespace twk::bench
