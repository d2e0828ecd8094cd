// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "EvaluationObserver.h"

namespace twk {

class AlertEvaluation;
struct AlertRule;

/// Runs the definitions for many records as the panel evaluates them
/// (without automatic actions) and tells, per definition, for how many
/// records it alerts, where it fails and how long it takes. For the
/// administrator who looks for definitions that break, stay silent
/// everywhere or slow the panel down.
class AlertSurvey : public EvaluationObserver {
 public:
  struct Definition {
    qint32 lSeqn = 0;
    QString sName;
    QString sType;
    bool bRuns = false;
    int iRecordsWithAlerts = 0;
    int iAlerts = 0;
    int iFailures = 0;
    QString sFirstError;
    QString sFirstFailingId;
    /// One entry per record it ran for, in survey order.
    std::vector<double> milliseconds;
    QString sSlowestId;

    double TotalMilliseconds() const;
    /// The nearest-rank percentile (0 to 100) of the times; 0 without any.
    double Percentile(double dPercent) const;
    double MaximumMilliseconds() const;
  };

  /// Told after each record: how many are done of how many; false stops
  /// the survey there, with the records done so far reported.
  using Progress = std::function<bool(int iDone, int iTotal)>;

  /// Evaluates the rules for every id; the rules are read once by the
  /// caller, so that a survey costs what the panel's runs of them cost.
  static AlertSurvey Survey(AlertEvaluation& evaluation, const std::vector<AlertRule>& rules,
                            const QStringList& ids, const Progress& progress = {});

  /// Slowest first (by total time); equal times keep run order.
  const std::vector<Definition>& Definitions() const noexcept { return definitions_; }
  int RecordCount() const noexcept { return iRecords_; }
  /// Whether the progress callback stopped it before the last record.
  bool Stopped() const noexcept { return bStopped_; }
  /// The rules a survey runs: all that were read, but none for the blank
  /// rule that stands for "no definitions".
  static std::vector<AlertRule> Surveyed(std::vector<AlertRule> rules);
  /// Alerts of the output table that carry no SEQN of a surveyed definition.
  int UnattributedAlerts() const noexcept { return iUnattributed_; }

  QString ToText() const;
  QJsonObject ToJson() const;

  void RuleStarted(const AlertRule& rule, bool bRuns) override;
  void RuleFailed(const QString& sError) override;
  void ValueFailed(const QString& sColumn) override;
  void RowJudged(const AlertOutput& candidate, bool bAccepted) override;
  void RuleFinished() override;
  void TableRowsStarted() override;

 private:
  void StartRecord(const QString& sId);
  void FinishRecord();
  void ReadNames();
  void SortSlowestFirst();
  Definition* Find(qint32 lSeqn);

  std::vector<Definition> definitions_;
  /// Per definition, in run order: the current record's alerts and failure.
  std::vector<int> recordAlerts_;
  std::vector<bool> recordFailed_;
  std::size_t iCurrent_ = 0;
  bool bInRule_ = false;
  bool bInTable_ = false;
  QString sId_;
  int iRecords_ = 0;
  int iUnattributed_ = 0;
  bool bStopped_ = false;
  // The rule being run, for the duration of its RuleStarted to RuleFinished.
  const AlertRule* pRule_ = nullptr;
  QElapsedTimer timer_;
};

}  // namespace twk
