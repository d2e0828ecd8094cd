// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

#include "EvaluationObserver.h"

namespace twk {

class AlertEvaluation;
struct AlertRule;

/// Why an evaluation gave the alerts it gave: for each definition in run
/// order whether it ran, the database's error, every row and the verdict on
/// it, and its time; then the rows of the output table. A tool for the
/// person writing definitions; the panel itself stays silent.
class AlertExplanation : public EvaluationObserver {
 public:
  struct Row {
    bool bAccepted = false;
    QString sKeyword;
    /// Why a row was dropped, one reason each; empty for an accepted row.
    QStringList reasons;
  };
  struct Definition {
    qint32 lSeqn = 0;
    QString sName;
    QString sType;
    bool bRuns = false;
    QString sError;
    /// Where in the definition's own text the error points; 0 where the
    /// database's message does not tell.
    int iErrorLine = 0;
    int iErrorColumn = 0;
    double dMilliseconds = 0;
    QList<Row> rows;
  };

  /// Runs the rules for the record as the panel does, and explains it.
  static AlertExplanation Explain(AlertEvaluation& evaluation, const std::vector<AlertRule>& rules,
                                  const QString& sId);

  const std::vector<Definition>& Definitions() const noexcept { return definitions_; }
  const QList<Row>& TableRows() const noexcept { return tableRows_; }

  QString ToText() const;
  QJsonObject ToJson() const;

  /// The stored definitions' names (ALERT_ID) by SEQN; those that cannot
  /// be read are left out, as names only label a report.
  static QMap<qint32, QString> DefinitionNames();

  void RuleStarted(const AlertRule& rule, bool bRuns) override;
  void RuleFailed(const QString& sError) override;
  void ValueFailed(const QString& sColumn) override;
  void RowJudged(const AlertOutput& candidate, bool bAccepted) override;
  void RuleFinished() override;
  void TableRowsStarted() override;
  void RowLeftOver(const AlertOutput& candidate) override;

 private:
  void ReadNames();

  QString sId_;
  QString sCriteria_;
  std::vector<Definition> definitions_;
  QList<Row> tableRows_;
  bool bInTable_ = false;
  QStringList pendingFailures_;
  QElapsedTimer timer_;
};

}  // namespace twk
