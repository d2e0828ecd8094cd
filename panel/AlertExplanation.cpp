// SPDX-License-Identifier: MIT
#include "AlertExplanation.h"

#include <QJsonArray>

#include "AlertEvaluation.h"
#include "Conversions.h"
#include "DefinitionWorkbench.h"
#include "TextRules.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk {

namespace {

QJsonArray RowsToJson(const QList<AlertExplanation::Row>& rows) {
  QJsonArray array;
  for (const AlertExplanation::Row& row : rows) {
    array.append(
        QJsonObject{{QStringLiteral("accepted"), row.bAccepted},
                    {QStringLiteral("keyword"), row.sKeyword},
                    {QStringLiteral("dropped_because"), QJsonArray::fromStringList(row.reasons)}});
  }
  return array;
}

// Every text from the database or the command line is escaped for the
// terminal, line breaks too (a report line is the unit), and appended rather
// than passed through arg(), where a "%1" inside it would be replaced.
QString RowsToText(const QList<AlertExplanation::Row>& rows) {
  QString sText;
  for (int i = 0; i < rows.size(); ++i) {
    const AlertExplanation::Row& row = rows[i];
    sText += QStringLiteral("  row %1: ").arg(i + 1);
    sText +=
        row.bAccepted
            ? QStringLiteral("accepted, keyword \"") + TerminalText(row.sKeyword) + QLatin1Char('"')
            : QStringLiteral("dropped: ") + TerminalText(row.reasons.join(QStringLiteral("; ")));
    sText += u'\n';
  }
  return sText;
}

}  // namespace

AlertExplanation AlertExplanation::Explain(AlertEvaluation& evaluation,
                                           const std::vector<AlertRule>& rules,
                                           const QString& sId) {
  AlertExplanation explanation;
  explanation.sId_ = sId;
  evaluation.SetObserver(&explanation);
  evaluation.RunAlertRules(rules, sId);
  evaluation.SetObserver(nullptr);
  explanation.ReadNames();
  return explanation;
}

QMap<qint32, QString> AlertExplanation::DefinitionNames() {
  QMap<qint32, QString> byNumber;
  std::optional<Recordset> names = modSubroutines::OpenRecordset(
      QStringLiteral("select SEQN, ALERT_ID from ttwk_AlertDefinitions"));
  if (!names || !names->IsOpen()) return byNumber;
  try {
    for (; !names->IsEof(); names->MoveNext()) {
      byNumber.insert(Conversions::ToLong(names->Field(0)),
                      Conversions::ToTextLenient(names->Field(1)));
    }
  } catch (const TwkError&) {
    // Names only label the report; one that cannot be read is left out.
  }
  return byNumber;
}

void AlertExplanation::ReadNames() {
  if (definitions_.empty()) return;
  const QMap<qint32, QString> byNumber = DefinitionNames();
  for (Definition& definition : definitions_) definition.sName = byNumber.value(definition.lSeqn);
}

void AlertExplanation::RuleStarted(const AlertRule& rule, bool bRuns) {
  Definition definition;
  definition.lSeqn = rule.SEQN;
  definition.sType = rule.ALERT_TYPE;
  definition.bRuns = bRuns;
  definitions_.push_back(definition);
  sCriteria_ = rule.CRITERIA;
  pendingFailures_.clear();
  timer_.start();
}

void AlertExplanation::RuleFailed(const QString& sError) {
  if (definitions_.empty()) return;
  Definition& definition = definitions_.back();
  definition.sError = sError;
  // The author's text, not the one run: placeholders change the columns.
  const TextPlace place = DefinitionWorkbench::PlaceOf(sError, sCriteria_);
  definition.iErrorLine = place.iLine;
  definition.iErrorColumn = place.iColumn;
}

void AlertExplanation::ValueFailed(const QString& sColumn) {
  pendingFailures_ << QStringLiteral("the value of %1 could not be converted").arg(sColumn);
}

void AlertExplanation::RowJudged(const AlertOutput& candidate, bool bAccepted) {
  Row row;
  row.bAccepted = bAccepted;
  row.sKeyword = candidate.sKeyword;
  if (!bAccepted) {
    if (candidate.sKeyword.isEmpty()) row.reasons << QStringLiteral("empty KEYWORD");
    if (candidate.sDescription.isEmpty()) row.reasons << QStringLiteral("empty DESCRIPTION");
    if (candidate.sEventType.isEmpty()) row.reasons << QStringLiteral("empty event type");
    if (candidate.sKeyValue.isEmpty()) row.reasons << QStringLiteral("empty key value");
    row.reasons << pendingFailures_;
  }
  pendingFailures_.clear();
  if (bInTable_) {
    tableRows_ << row;
  } else if (!definitions_.empty()) {
    definitions_.back().rows << row;
  }
}

void AlertExplanation::RuleFinished() {
  if (!definitions_.empty()) definitions_.back().dMilliseconds = timer_.nsecsElapsed() / 1e6;
}

void AlertExplanation::TableRowsStarted() {
  bInTable_ = true;
}

void AlertExplanation::RowLeftOver(const AlertOutput& candidate) {
  Row row;
  row.sKeyword = candidate.sKeyword;
  row.reasons << pendingFailures_
              << QStringLiteral("no slot left: all %1 are taken").arg(AlertEvaluation::iSlotCount);
  pendingFailures_.clear();
  tableRows_ << row;
}

QString AlertExplanation::ToText() const {
  QString sText = QStringLiteral("Definitions run for record ") + TerminalText(sId_) +
                  QStringLiteral(", in run order:\n");
  if (definitions_.empty()) sText += QStringLiteral("  (no definition)\n");
  for (const Definition& definition : definitions_) {
    sText += QStringLiteral("SEQN ") + QString::number(definition.lSeqn) + QStringLiteral(" \"") +
             TerminalText(definition.sName) + QStringLiteral("\", type \"") +
             TerminalText(definition.sType) + QStringLiteral("\": ");
    const QString sMilliseconds = QString::number(definition.dMilliseconds, 'f', 1);
    if (!definition.bRuns) {
      sText += QStringLiteral("not run (only types SQL and SQLSilent run)\n");
      continue;
    }
    if (!definition.sError.isEmpty()) {
      sText += QStringLiteral("failed in ") + sMilliseconds + QStringLiteral(" ms: ") +
               TerminalText(DefinitionCheck{definition.sError,
                                            {definition.iErrorLine, definition.iErrorColumn}}
                                .Text()) +
               u'\n';
      continue;
    }
    sText += QStringLiteral("ran in %1 ms, %2 row(s) returned\n")
                 .arg(sMilliseconds)
                 .arg(definition.rows.size());
    sText += RowsToText(definition.rows);
  }
  sText +=
      QStringLiteral("Rows of ttwk_AlertOutput for this connection: %1\n").arg(tableRows_.size());
  sText += RowsToText(tableRows_);
  return sText;
}

QJsonObject AlertExplanation::ToJson() const {
  QJsonArray definitions;
  for (const Definition& definition : definitions_) {
    definitions.append(
        QJsonObject{{QStringLiteral("seqn"), definition.lSeqn},
                    {QStringLiteral("name"), definition.sName},
                    {QStringLiteral("type"), definition.sType},
                    {QStringLiteral("ran"), definition.bRuns && definition.sError.isEmpty()},
                    {QStringLiteral("error"), definition.sError},
                    {QStringLiteral("error_line"), definition.iErrorLine},
                    {QStringLiteral("error_column"), definition.iErrorColumn},
                    {QStringLiteral("milliseconds"), definition.dMilliseconds},
                    {QStringLiteral("rows_returned"), int(definition.rows.size())},
                    {QStringLiteral("rows"), RowsToJson(definition.rows)}});
  }
  return QJsonObject{{QStringLiteral("id"), sId_},
                     {QStringLiteral("definitions"), definitions},
                     {QStringLiteral("output_table_rows"), RowsToJson(tableRows_)}};
}

}  // namespace twk
