// SPDX-License-Identifier: MIT
#include "LayoutReport.h"

#include <QMainWindow>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

#include "ControlScrollArea.h"

namespace twk {

namespace {

QString Rect(const QRect& rect) {
  return QStringLiteral("%1 %2 %3 %4")
      .arg(rect.x())
      .arg(rect.y())
      .arg(rect.width())
      .arg(rect.height());
}

QRect OnScreen(const QWidget& widget) {
  return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
}

}  // namespace

QStringList LayoutReport::Lines(const QMainWindow& window) {
  QStringList lines;
  if (window.screen()) lines << QStringLiteral("screen ") + Rect(window.screen()->geometry());
  lines << QStringLiteral("window ") + Rect(window.frameGeometry());
  if (window.statusBar()->isVisible()) {
    lines << QStringLiteral("statusbar ") + Rect(OnScreen(*window.statusBar()));
  }
  for (const ControlScrollArea* pArea : window.findChildren<ControlScrollArea*>()) {
    if (!pArea->isVisible() || !pArea->Control()) continue;
    const QString sName = QString::fromLatin1(pArea->Control()->metaObject()->className());
    const QSize design = pArea->Control()->sizeHint();
    const QScrollBar* pAcross = pArea->horizontalScrollBar();
    const QScrollBar* pDown = pArea->verticalScrollBar();
    lines << QStringLiteral("control %1 %2 %3 %4 %5 %6")
                 .arg(sName, Rect(OnScreen(*pArea->viewport())))
                 .arg(design.width())
                 .arg(design.height())
                 .arg(int(pAcross->isVisible()))
                 .arg(int(pDown->isVisible()));
    for (const QScrollBar* pBar : {pAcross, pDown}) {
      if (pBar->isVisible())
        lines << QStringLiteral("scrollbar %1 ").arg(sName) + Rect(OnScreen(*pBar));
    }
  }
  return lines;
}

}  // namespace twk
