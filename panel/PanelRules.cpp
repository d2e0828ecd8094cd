// SPDX-License-Identifier: MIT
#include "PanelRules.h"

namespace twk {

namespace {

constexpr int iFixedTextLeft = 30;
constexpr int iFixedTextTop = 3600;
constexpr int iItemLeft = 0;

}  // namespace

PageView ComputePageView(int iAlertCount, int iPosition) {
  PageView view;
  view.iPosition = iPosition;
  if (iAlertCount - 4 < view.iPosition) {
    view.iPosition = 1;
    view.bBackToFirst = true;
  }
  view.iFirst = view.iPosition;
  if (iAlertCount <= 5) {
    view.iMaximum = 1;
    view.bScrollerEnabled = false;
    view.sMoreCaption = QStringLiteral("%1-%2").arg(view.iFirst).arg(iAlertCount);
    view.iLast = iAlertCount;
  } else {
    view.iMaximum = iAlertCount - 4;
    view.bScrollerEnabled = true;
    view.sMoreCaption =
        QStringLiteral("%1-%2 (%3)").arg(view.iFirst).arg(view.iFirst + 4).arg(iAlertCount);
    view.iLast = view.iFirst + 4;
  }
  return view;
}

VisualMode ChooseVisualMode(const QString& sMasterVersion) {
  VisualMode mode;
  const QString sFive = sMasterVersion.left(5);
  if (sFive == QStringLiteral("4.41.")) {
    mode.sMode = QStringLiteral("4");
  } else if (sMasterVersion.left(2) == QStringLiteral("4.")) {
    mode.sMode = QStringLiteral("4");
    mode.bWarnUnknown = true;
  } else {
    mode.sMode = QStringLiteral("10");
    // Compared as text, as the host's versions were compared when this rule
    // was made: "10.10.1" sorts before "10.4." and keeps the guard.
    mode.bAllowManyPanels =
        sFive.compare(QStringLiteral("10.4.")) >= 0 && sFive.compare(QStringLiteral("10.99")) <= 0;
  }
  return mode;
}

PanelLayout ComputePanelLayout(int iInnerWidth, int iInnerHeight) {
  int iWidth = iInnerWidth;
  int iHeight = iInnerHeight;
  if (iFixedTextLeft + 5 > iWidth) iWidth = iFixedTextLeft + 5;
  if (iFixedTextTop + 5 > iHeight) iHeight = iFixedTextTop + 5;
  return {iWidth - iFixedTextLeft - 4, iHeight - iFixedTextTop - 4, iWidth - iItemLeft - 4};
}

}  // namespace twk
