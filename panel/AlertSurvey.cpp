// SPDX-License-Identifier: MIT
#include "AlertSurvey.h"

#include <QJsonArray>
#include <QMap>
#include <algorithm>
#include <cmath>

#include "AlertEvaluation.h"
#include "AlertExplanation.h"
#include "Conversions.h"
#include "DefinitionWorkbench.h"
#include "TextRules.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk {

namespace {

QString Milliseconds(double dMilliseconds) {
  return QString::number(dMilliseconds, 'f', 2);
}

}  // namespace

double AlertSurvey::Definition::TotalMilliseconds() const {
  double dTotal = 0;
  for (const double dTime : milliseconds) dTotal += dTime;
  return dTotal;
}

double AlertSurvey::Definition::Percentile(double dPercent) const {
  if (milliseconds.empty()) return 0;
  std::vector<double> sorted = milliseconds;
  std::sort(sorted.begin(), sorted.end());
  const auto iRank = std::size_t(std::ceil(dPercent / 100.0 * double(sorted.size())));
  return sorted[std::clamp<std::size_t>(iRank, 1, sorted.size()) - 1];
}

double AlertSurvey::Definition::MaximumMilliseconds() const {
  return milliseconds.empty() ? 0 : *std::max_element(milliseconds.begin(), milliseconds.end());
}

AlertSurvey AlertSurvey::Survey(AlertEvaluation& evaluation, const std::vector<AlertRule>& rules,
                                const QStringList& ids, const Progress& progress) {
  AlertSurvey survey;
  for (const AlertRule& rule : rules) {
    Definition definition;
    definition.lSeqn = rule.SEQN;
    definition.sType = rule.ALERT_TYPE;
    survey.definitions_.push_back(definition);
  }
  survey.recordAlerts_.assign(rules.size(), 0);
  survey.recordFailed_.assign(rules.size(), false);
  evaluation.SetObserver(&survey);
  for (const QString& sId : ids) {
    survey.StartRecord(sId);
    evaluation.RunAlertRules(rules, sId);
    survey.FinishRecord();
    if (progress && !progress(survey.iRecords_, int(ids.size()))) {
      survey.bStopped_ = survey.iRecords_ < int(ids.size());
      break;
    }
  }
  evaluation.SetObserver(nullptr);
  survey.pRule_ = nullptr;
  survey.ReadNames();
  survey.SortSlowestFirst();
  return survey;
}

std::vector<AlertRule> AlertSurvey::Surveyed(std::vector<AlertRule> rules) {
  if (rules.size() == 1 && rules.front().SEQN == 0 && rules.front().ALERT_TYPE.isEmpty()) {
    rules.clear();
  }
  return rules;
}

void AlertSurvey::StartRecord(const QString& sId) {
  sId_ = sId;
  iCurrent_ = std::size_t(-1);
  bInRule_ = false;
  bInTable_ = false;
  std::fill(recordAlerts_.begin(), recordAlerts_.end(), 0);
  std::fill(recordFailed_.begin(), recordFailed_.end(), false);
}

void AlertSurvey::FinishRecord() {
  for (std::size_t i = 0; i < definitions_.size(); ++i) {
    Definition& definition = definitions_[i];
    if (recordAlerts_[i] > 0) ++definition.iRecordsWithAlerts;
    definition.iAlerts += recordAlerts_[i];
  }
  ++iRecords_;
}

void AlertSurvey::RuleStarted(const AlertRule& rule, bool bRuns) {
  pRule_ = &rule;
  ++iCurrent_;
  bInRule_ = iCurrent_ < definitions_.size();
  if (!bInRule_) return;
  definitions_[iCurrent_].bRuns = bRuns;
  timer_.start();
}

void AlertSurvey::RuleFailed(const QString& sError) {
  if (!bInRule_) return;
  Definition& definition = definitions_[iCurrent_];
  // A definition that fails part-way loses the alerts it had given.
  recordAlerts_[iCurrent_] = 0;
  if (recordFailed_[iCurrent_]) return;
  recordFailed_[iCurrent_] = true;
  if (definition.iFailures++ == 0) {
    // Where in the author's text, as the explanation tells it.
    definition.sFirstError =
        pRule_
            ? DefinitionCheck{sError, DefinitionWorkbench::PlaceOf(sError, pRule_->CRITERIA)}.Text()
            : sError;
    definition.sFirstFailingId = sId_;
  }
}

void AlertSurvey::ValueFailed(const QString& sColumn) {
  // A value that cannot be taken drops its row, which RowJudged reports.
  static_cast<void>(sColumn);
}

void AlertSurvey::RowJudged(const AlertOutput& candidate, bool bAccepted) {
  if (!bAccepted) return;
  if (!bInTable_) {
    if (bInRule_) ++recordAlerts_[iCurrent_];
    return;
  }
  // The output table names no writer; its SEQN column is the only trace.
  for (std::size_t i = 0; i < definitions_.size(); ++i) {
    if (definitions_[i].lSeqn == candidate.lSeqn) {
      ++recordAlerts_[i];
      return;
    }
  }
  ++iUnattributed_;
}

void AlertSurvey::RuleFinished() {
  if (!bInRule_) return;
  Definition& definition = definitions_[iCurrent_];
  const double dTime = double(timer_.nsecsElapsed()) / 1e6;
  if (definition.milliseconds.empty() || dTime > definition.MaximumMilliseconds()) {
    definition.sSlowestId = sId_;
  }
  definition.milliseconds.push_back(dTime);
  bInRule_ = false;
}

void AlertSurvey::TableRowsStarted() {
  bInRule_ = false;
  bInTable_ = true;
}

void AlertSurvey::ReadNames() {
  if (definitions_.empty()) return;
  const QMap<qint32, QString> byNumber = AlertExplanation::DefinitionNames();
  for (Definition& definition : definitions_) definition.sName = byNumber.value(definition.lSeqn);
}

void AlertSurvey::SortSlowestFirst() {
  std::stable_sort(definitions_.begin(), definitions_.end(),
                   [](const Definition& left, const Definition& right) {
                     return left.TotalMilliseconds() > right.TotalMilliseconds();
                   });
}

QJsonObject AlertSurvey::ToJson() const {
  QJsonArray definitions;
  for (const Definition& definition : definitions_) {
    definitions.append(QJsonObject{
        {QStringLiteral("seqn"), definition.lSeqn},
        {QStringLiteral("name"), definition.sName},
        {QStringLiteral("type"), definition.sType},
        {QStringLiteral("ran"), definition.bRuns},
        {QStringLiteral("records_with_alerts"), definition.iRecordsWithAlerts},
        {QStringLiteral("alerts"), definition.iAlerts},
        {QStringLiteral("failures"), definition.iFailures},
        {QStringLiteral("first_error"), definition.sFirstError},
        {QStringLiteral("first_failing_id"), definition.sFirstFailingId},
        {QStringLiteral("total_ms"), definition.TotalMilliseconds()},
        {QStringLiteral("median_ms"), definition.Percentile(50)},
        {QStringLiteral("p95_ms"), definition.Percentile(95)},
        {QStringLiteral("max_ms"), definition.MaximumMilliseconds()},
        {QStringLiteral("slowest_id"), definition.sSlowestId},
    });
  }
  return QJsonObject{{QStringLiteral("records"), iRecords_},
                     {QStringLiteral("stopped"), bStopped_},
                     {QStringLiteral("unattributed_table_alerts"), iUnattributed_},
                     {QStringLiteral("definitions"), definitions}};
}

// Every text from the database is escaped for the terminal and appended,
// never passed through arg(), where a "%1" inside it would be replaced.
QString AlertSurvey::ToText() const {
  QString sText = QStringLiteral("Surveyed %1 records%2 with %3 definitions, slowest first:\n")
                      .arg(iRecords_)
                      .arg(bStopped_ ? QStringLiteral(" (stopped before the rest)") : QString())
                      .arg(definitions_.size());
  const auto Row = [](const QStringList& cells) {
    QString sRow = cells[0].rightJustified(6) + QStringLiteral("  ") + cells[1].leftJustified(20);
    for (int i = 2; i < cells.size() - 1; ++i)
      sRow += QLatin1Char(' ') + cells[i].rightJustified(9);
    return sRow + QStringLiteral("  ") + cells.back() + QLatin1Char('\n');
  };
  sText += Row({QStringLiteral("seqn"), QStringLiteral("name"), QStringLiteral("records"),
                QStringLiteral("alerts"), QStringLiteral("failures"), QStringLiteral("total ms"),
                QStringLiteral("median"), QStringLiteral("p95"), QStringLiteral("max"),
                QStringLiteral("slowest id")});
  QString sFailures;
  for (const Definition& definition : definitions_) {
    const QString sName = TerminalText(definition.sName);
    if (!definition.bRuns) {
      sText += QString::number(definition.lSeqn).rightJustified(6) + QStringLiteral("  ") +
               sName.leftJustified(20) + QStringLiteral("  not run: its type \"") +
               TerminalText(definition.sType) + QStringLiteral("\" is never run\n");
      continue;
    }
    sText +=
        Row({QString::number(definition.lSeqn), sName,
             QString::number(definition.iRecordsWithAlerts), QString::number(definition.iAlerts),
             QString::number(definition.iFailures), Milliseconds(definition.TotalMilliseconds()),
             Milliseconds(definition.Percentile(50)), Milliseconds(definition.Percentile(95)),
             Milliseconds(definition.MaximumMilliseconds()), TerminalText(definition.sSlowestId)});
    if (definition.iFailures > 0) {
      sFailures += QStringLiteral("  SEQN ") + QString::number(definition.lSeqn) +
                   QStringLiteral(" \"") + sName + QStringLiteral("\" failed for ") +
                   QString::number(definition.iFailures) + QStringLiteral(" of ") +
                   QString::number(iRecords_) + QStringLiteral(" records, first for ID ") +
                   TerminalText(definition.sFirstFailingId) + QStringLiteral(": ") +
                   TerminalText(definition.sFirstError) + QLatin1Char('\n');
    }
  }
  if (iUnattributed_ > 0) {
    sText += QStringLiteral("Alerts of the output table without a surveyed SEQN: ") +
             QString::number(iUnattributed_) + QLatin1Char('\n');
  }
  if (!sFailures.isEmpty()) sText += QStringLiteral("Failures:\n") + sFailures;
  return sText;
}

}  // namespace twk
