// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "AlertOutput.h"

class QLabel;
class QWidget;

namespace twk {

/// The words a screen reader gives the panel's pictures and items, so that
/// what the icons say by their look (the alert's kind and how serious it
/// is) is heard as well as seen.
namespace PanelAccessibility {

/// "Do not contact: Cross, red": the keyword, then what the icon shows.
QString IconName(const QString& sKeyword, qint16 iIcon);
/// Names an icon picture after its alert; the alert's own tooltip, when it
/// has one, follows on the tooltip's second line.
void NameIcon(QLabel* pIcon, const AlertOutput& alert);
/// "Alert 6 of 12: Do not contact" on the item in a display slot.
void NameItem(QWidget* pItem, const AlertOutput& alert, int iPosition, int iCount);
/// Takes the names off a slot that shows nothing.
void Unname(QWidget* pItem, QLabel* pIcon);

}  // namespace PanelAccessibility

}  // namespace twk
