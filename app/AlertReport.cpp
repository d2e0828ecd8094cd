// SPDX-License-Identifier: MIT
#include "AlertReport.h"

#include <QRegularExpression>
#include <QStringList>

#include "Conversions.h"
#include "TextRules.h"
#include "modSubroutines.h"

namespace twk {

namespace {

QString JsonText(const QString& sText) {
  QString sJson = QStringLiteral("\"");
  for (const QChar character : sText) {
    switch (character.unicode()) {
      case '"':
        sJson += QStringLiteral("\\\"");
        break;
      case '\\':
        sJson += QStringLiteral("\\\\");
        break;
      case '\n':
        sJson += QStringLiteral("\\n");
        break;
      case '\r':
        sJson += QStringLiteral("\\r");
        break;
      case '\t':
        sJson += QStringLiteral("\\t");
        break;
      default:
        if (character.unicode() < 0x20) {
          sJson += QStringLiteral("\\u%1").arg(character.unicode(), 4, 16, QLatin1Char('0'));
        } else {
          sJson += character;
        }
    }
  }
  return sJson + QLatin1Char('"');
}

QString JsonFlag(qint16 bFlag) {
  return bFlag ? QStringLiteral("true") : QStringLiteral("false");
}

QString AlertJson(const AlertOutput& alert) {
  const QStringList fields = {
      QStringLiteral("\"seqn\": ") + QString::number(alert.lSeqn),
      QStringLiteral("\"eventType\": ") + JsonText(alert.sEventType),
      QStringLiteral("\"keyValue\": ") + JsonText(alert.sKeyValue),
      QStringLiteral("\"rank\": ") + QString::number(alert.iRank),
      QStringLiteral("\"icon\": ") + QString::number(alert.iIcon),
      QStringLiteral("\"keyword\": ") + JsonText(alert.sKeyword),
      QStringLiteral("\"description\": ") + JsonText(alert.sDescription),
      QStringLiteral("\"tooltipText\": ") + JsonText(alert.sTooltipText),
      QStringLiteral("\"titleText\": ") + JsonText(alert.sTitleText),
      QStringLiteral("\"clipboardText\": ") + JsonText(alert.sClipboardText),
      QStringLiteral("\"clipboardDescription\": ") + JsonText(alert.sClipboardDescription),
      QStringLiteral("\"actionText\": ") + JsonText(alert.sActionText),
      QStringLiteral("\"actionDescription\": ") + JsonText(alert.sActionDescription),
      QStringLiteral("\"logText\": ") + JsonText(alert.sLogText),
      QStringLiteral("\"playSound\": ") + JsonFlag(alert.bPlaySound),
      QStringLiteral("\"autoPopup\": ") + JsonFlag(alert.bAutoPopup),
      QStringLiteral("\"autoClipboard\": ") + JsonFlag(alert.bAutoClipboard),
      QStringLiteral("\"autoAction\": ") + JsonFlag(alert.bAutoAction),
  };
  return QLatin1Char('{') + fields.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QString FirstLine(const QString& sText) {
  const qsizetype iBreak = sText.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  return iBreak < 0 ? sText : sText.left(iBreak) + QStringLiteral(" ...");
}

QString Automation(const AlertOutput& alert) {
  QStringList flags;
  if (alert.bAutoAction == -1) flags << QStringLiteral("auto");
  if (alert.bAutoPopup == -1) flags << QStringLiteral("popup");
  if (alert.bAutoClipboard == -1) flags << QStringLiteral("clipboard");
  return flags.join(QLatin1Char(','));
}

}  // namespace

QString AlertReport::ToJson() const {
  QStringList entries;
  for (const AlertOutput& alert : alerts) entries.append(AlertJson(alert));
  return QStringLiteral("{\"id\": ") + JsonText(sId) + QStringLiteral(", \"user\": ") +
         JsonText(sUser) + QStringLiteral(", \"count\": ") + QString::number(alerts.size()) +
         QStringLiteral(", \"alerts\": [") + entries.join(QStringLiteral(", ")) +
         QStringLiteral("], \"fixedText\": ") + JsonText(sFixedText) + QStringLiteral("}\n");
}

QString AlertReport::ToTable() const {
  // Every text is escaped for the terminal and appended, never passed
  // through arg() a second time, where a "%1" inside it would be replaced.
  QString sTable = QStringLiteral("Alerts for ID ") + TerminalText(sId) + QStringLiteral(" as ") +
                   TerminalText(sUser) + QStringLiteral(": ") + QString::number(alerts.size()) +
                   QLatin1Char('\n');
  const auto Row = [](const QString& sRank, const QString& sIcon, const QString& sSeqn,
                      const QString& sKeyword, const QString& sAutomation,
                      const QString& sDescription) {
    return sRank.rightJustified(6) + QLatin1Char(' ') + sIcon.rightJustified(4) + QLatin1Char(' ') +
           sSeqn.rightJustified(5) + QStringLiteral("  ") + sKeyword.leftJustified(20) +
           QLatin1Char(' ') + sAutomation.leftJustified(22) + QLatin1Char(' ') + sDescription +
           QLatin1Char('\n');
  };
  if (!alerts.empty()) {
    sTable +=
        Row(QStringLiteral("rank"), QStringLiteral("icon"), QStringLiteral("seqn"),
            QStringLiteral("keyword"), QStringLiteral("automation"), QStringLiteral("description"));
  }
  for (const AlertOutput& alert : alerts) {
    sTable += Row(QString::number(alert.iRank), QString::number(alert.iIcon),
                  QString::number(alert.lSeqn), TerminalText(alert.sKeyword), Automation(alert),
                  TerminalText(FirstLine(alert.sDescription)));
  }
  // One line: a line break in the text must not start a forged table line.
  return sTable + QStringLiteral("Fixed text: ") + TerminalText(sFixedText) + QLatin1Char('\n');
}

void AlertReport::ReadFixedText() {
  sFixedText = modSubroutines::Exec_SQL_SP_String(
      QStringLiteral("exec ptwk_calculate_fixed_text '") + Conversions::QuoteApostrophes(sId) +
      QStringLiteral("', '") + Conversions::QuoteApostrophes(sUser) + QStringLiteral("'"));
}

}  // namespace twk
