// SPDX-License-Identifier: MIT
#include "AlertTally.h"

#include <numeric>

#include "AlertEvaluation.h"
#include "AlertOutput.h"

namespace twk::bench {

int AlertTally::Alerts() const {
  return std::accumulate(alerts.begin(), alerts.end(), 0);
}

void AlertTally::RuleStarted(const AlertRule& rule, bool bRuns) {
  sCurrent_ = alertIds_.value(rule.SEQN, QStringLiteral("SEQN %1").arg(rule.SEQN));
  if (bRuns) ++iRun;
}

void AlertTally::RuleFailed(const QString& sError) {
  failures << sCurrent_ + QStringLiteral(": ") + sError;
}

void AlertTally::ValueFailed(const QString& sColumn) {
  failures << sCurrent_ + QStringLiteral(": the value of ") + sColumn + QStringLiteral(" failed");
}

void AlertTally::RowJudged(const AlertOutput& candidate, bool bAccepted) {
  if (!bAccepted) return;
  if (candidate.lSeqn >= 0) {
    ++alerts[sCurrent_];
  } else if (tableKeywords_.contains(candidate.sKeyword)) {
    ++alerts[tableKeywords_.value(candidate.sKeyword)];
  } else {
    failures << QStringLiteral("an output-table row of no definition: ") + candidate.sKeyword;
  }
}

}  // namespace twk::bench
