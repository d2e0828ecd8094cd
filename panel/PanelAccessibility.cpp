// SPDX-License-Identifier: MIT
#include "PanelAccessibility.h"

#include <QLabel>

#include "IconMeanings.h"

namespace twk::PanelAccessibility {

QString IconName(const QString& sKeyword, qint16 iIcon) {
  const QString sMeaning = IconMeanings::Meaning(iIcon);
  if (sMeaning.isEmpty()) return sKeyword;
  return sKeyword + QStringLiteral(": ") + sMeaning;
}

void NameIcon(QLabel* pIcon, const AlertOutput& alert) {
  const QString sName = IconName(alert.sKeyword, alert.iIcon);
  pIcon->setAccessibleName(sName);
  // The picture lies over the item's icon area and so takes the pointer
  // from it: the alert's own tooltip must show here too.
  pIcon->setToolTip(alert.sTooltipText.isEmpty() ? sName
                                                 : sName + QLatin1Char('\n') + alert.sTooltipText);
}

void NameItem(QWidget* pItem, const AlertOutput& alert, int iPosition, int iCount) {
  pItem->setAccessibleName(
      QStringLiteral("Alert %1 of %2: %3").arg(iPosition).arg(iCount).arg(alert.sKeyword));
}

void Unname(QWidget* pItem, QLabel* pIcon) {
  pItem->setAccessibleName(QString());
  pItem->setToolTip(QString());
  pIcon->setAccessibleName(QString());
  pIcon->setToolTip(QString());
}

}  // namespace twk::PanelAccessibility
