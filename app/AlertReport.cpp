#include "AlertReport.h"

#include <QRegularExpression>
#include <QStringList>

namespace twk {

namespace {

QString JsonText(const QString& sText) {
  QString sJson = QStringLiteral("\"");
  for (const QChar character : sText) {
    switch (character.unicode()) {
      case '"': sJson += QStringLiteral("\\\""); break;
      case '\\': sJson += QStringLiteral("\\\\"); break;
      case '\n': sJson += QStringLiteral("\\n"); break;
      case '\r': sJson += QStringLiteral("\\r"); break;
      case '\t': sJson += QStringLiteral("\\t"); break;
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

QString JsonFlag(qint16 bFlag) { return bFlag ? QStringLiteral("true") : QStringLiteral("false"); }

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
  QString sTable = QStringLiteral("Alerts for ID %1 as %2: %3\n")
                       .arg(sId, sUser)
                       .arg(alerts.size());
  if (!alerts.empty()) {
    sTable += QStringLiteral("%1 %2 %3  %4 %5 %6\n")
                  .arg(QStringLiteral("rank"), 6)
                  .arg(QStringLiteral("icon"), 4)
                  .arg(QStringLiteral("seqn"), 5)
                  .arg(QStringLiteral("keyword"), -20)
                  .arg(QStringLiteral("automation"), -22)
                  .arg(QStringLiteral("description"));
  }
  for (const AlertOutput& alert : alerts) {
    sTable += QStringLiteral("%1 %2 %3  %4 %5 %6\n")
                  .arg(alert.iRank, 6)
                  .arg(alert.iIcon, 4)
                  .arg(alert.lSeqn, 5)
                  .arg(alert.sKeyword, -20)
                  .arg(Automation(alert), -22)
                  .arg(FirstLine(alert.sDescription));
  }
  return sTable + QStringLiteral("Fixed text: %1\n").arg(sFixedText);
}

}  // namespace twk
