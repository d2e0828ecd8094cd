// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// The scroller and the "which alerts are on view" line for one page.
struct PageView {
  int iPosition = 1;  ///< the scroller's position after the display
  int iMaximum = 1;
  bool bScrollerEnabled = false;
  QString sMoreCaption;
  int iFirst = 1;  ///< 1-based position of the first alert shown
  int iLast = 0;   ///< 1-based position of the last alert shown
  bool bBackToFirst = false;  ///< the view was brought back to the first alert
};

/// Which page to show for iAlertCount alerts with the scroller at iPosition.
PageView ComputePageView(int iAlertCount, int iPosition);

/// The panel's look, chosen once from the host's version.
struct VisualMode {
  QString sMode;               ///< "4" or "10"
  bool bWarnUnknown = false;   ///< show "Unknown iMIS version"
  bool bAllowManyPanels = false;  ///< the host runs any number of panels
};

VisualMode ChooseVisualMode(const QString& sMasterVersion);

/// The sizes a resize gives, in twips.
struct PanelLayout {
  int iFixedTextWidth = 0;
  int iFixedTextHeight = 0;
  int iItemWidth = 0;
};

/// Only the fixed text and the items follow the panel's inner size; the
/// rest keeps its designed place.
PanelLayout ComputePanelLayout(int iInnerWidth, int iInnerHeight);

}  // namespace twk
