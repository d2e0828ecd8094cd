// SPDX-License-Identifier: MIT
#include "ControlScrollArea.h"

#include <QScrollBar>
#include <QStyle>

namespace twk {

ControlScrollArea::ControlScrollArea(QWidget* pControl, bool bKeepWidth, QWidget* pParent)
    : QScrollArea(pParent), bKeepWidth_(bKeepWidth) {
  setFrameShape(QFrame::NoFrame);
  // The panel stretches its items across whatever width it gets; the design
  // is the least it is given, never a squeeze below it.
  pControl->setMinimumSize(pControl->sizeHint());
  setWidgetResizable(true);
  setWidget(pControl);
  setFocusPolicy(Qt::NoFocus);
}

QSize ControlScrollArea::DesignedSize() const {
  return widget() ? widget()->sizeHint() : QSize();
}

QSize ControlScrollArea::sizeHint() const {
  const int iFrame = 2 * frameWidth();
  return DesignedSize() + QSize(iFrame, iFrame);
}

QSize ControlScrollArea::minimumSizeHint() const {
  // A panel beside the records keeps its whole design, band and fixed text
  // included, however many panels share the side. A control below them
  // keeps its height; along the records a scroll bar takes over when the
  // window is too narrow, and needs room of its own.
  const int iBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const QSize designed = sizeHint();
  if (bKeepWidth_) return designed;
  return {qMin(designed.width(), 8 * iBar), designed.height() + iBar};
}

bool ControlScrollArea::ShowsWholeControl() const {
  if (!widget()) return false;
  const QRect designed(widget()->mapTo(viewport(), QPoint(0, 0)), widget()->size());
  return viewport()->rect().contains(designed);
}

}  // namespace twk
