// SPDX-License-Identifier: MIT
#include "DefinitionWorkbench.h"

#include <QRegularExpression>
#include <vector>

#include "AlertEvaluation.h"
#include "AlertPlaceholders.h"
#include "Connection.h"
#include "ModuleState.h"
#include "TwkError.h"

namespace twk {

QString DefinitionCheck::Text() const {
  if (place.iLine == 0) return sMessage;
  // The engine's own "Line N: " would say the line twice.
  static const QRegularExpression lineNote(QStringLiteral("^Line \\d+: "));
  QString sBare = sMessage;
  sBare.remove(lineNote);
  if (place.iColumn == 0) return QStringLiteral("Line %1: %2").arg(place.iLine).arg(sBare);
  return QStringLiteral("Line %1, column %2: %3").arg(place.iLine).arg(place.iColumn).arg(sBare);
}

namespace DefinitionWorkbench {

namespace {

// Columns count from 1 in the author's line, as an editor shows them.
int ColumnIn(const QString& sLine, const QString& sNear) {
  const qsizetype iAt = sLine.indexOf(sNear, 0, Qt::CaseInsensitive);
  return iAt < 0 ? 0 : int(iAt) + 1;
}

}  // namespace

TextPlace PlaceOf(const QString& sMessage, const QString& sText) {
  static const QRegularExpression lineNote(QStringLiteral("^Line (\\d+): "));
  static const QRegularExpression nearNote(QStringLiteral("near '((?:[^']|'')*)'"));
  const QStringList lines = sText.split(u'\n');
  TextPlace place;
  const QRegularExpressionMatch line = lineNote.match(sMessage);
  if (line.hasMatch()) place.iLine = line.captured(1).toInt();
  const QRegularExpressionMatch near = nearNote.match(sMessage);
  const QString sNear = near.hasMatch() ? near.captured(1).replace(u"''"_qs, u"'"_qs) : QString();
  if (place.iLine > 0 && place.iLine <= lines.size()) {
    if (!sNear.isEmpty()) place.iColumn = ColumnIn(lines[place.iLine - 1], sNear);
    return place;
  }
  if (sNear.isEmpty()) return place;
  // A driver that keeps the server's line to itself: the quoted text tells
  // the place only when it stands once.
  TextPlace found;
  for (int i = 0; i < lines.size(); ++i) {
    const int iColumn = ColumnIn(lines[i], sNear);
    if (iColumn == 0) continue;
    if (found.iLine != 0 || lines[i].indexOf(sNear, iColumn, Qt::CaseInsensitive) >= 0) return {};
    found = {i + 1, iColumn};
  }
  return found;
}

DefinitionCheck Check(const QString& sCriteria, const QString& sId) {
  Connection& connection = ModuleState::ForThisThread().SharedConnection();
  // On the first line and ended on a line of its own, so that every line
  // of the text keeps its number in the database's messages.
  const QString sBatch = QStringLiteral("set noexec on; ") +
                         ReplacePlaceholders(sCriteria, sId, ModuleState::ForThisThread().AuthID) +
                         QStringLiteral("\nset noexec off");
  DefinitionCheck check;
  try {
    connection.Execute(sBatch);
  } catch (const TwkError& error) {
    check.sMessage = error.Description();
    if (check.sMessage.isEmpty()) check.sMessage = QStringLiteral("The database refused the text.");
    check.place = PlaceOf(check.sMessage, sCriteria);
  }
  // A batch the server compiled but stopped may leave the option on, and
  // the panel's next run would then do nothing.
  try {
    connection.Execute(QStringLiteral("set noexec off"));
  } catch (const TwkError& error) {
    if (check.Passed()) check.sMessage = error.Description();
  }
  return check;
}

AlertExplanation Try(const AlertRule& rule, const QString& sId, std::vector<AlertOutput>& alerts) {
  AlertEvaluation evaluation;
  AlertExplanation explanation =
      AlertExplanation::Explain(evaluation, std::vector<AlertRule>{rule}, sId);
  evaluation.SortAlerts();
  alerts.assign(evaluation.aoAlerts.begin(), evaluation.aoAlerts.begin() + evaluation.iAlertCount);
  return explanation;
}

}  // namespace DefinitionWorkbench

}  // namespace twk
