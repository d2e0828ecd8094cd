// SPDX-License-Identifier: MIT
#include "ControlScrollArea.h"

#include <QScrollBar>
#include <QStyle>

namespace twk {

ControlScrollArea::ControlScrollArea(QWidget* pControl, QWidget* pParent) : QScrollArea(pParent) {
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
  // The design is what the area asks for, not what it insists on: on a
  // screen too small for every control the area scrolls, so the window
  // never needs more than the screen. It keeps room for both scroll bars
  // and a strip of the control between them.
  const int iBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return sizeHint().boundedTo(QSize(8 * iBar, 4 * iBar));
}

bool ControlScrollArea::ShowsWholeControl() const {
  if (!widget()) return false;
  const QRect designed(widget()->mapTo(viewport(), QPoint(0, 0)), widget()->size());
  return viewport()->rect().contains(designed);
}

}  // namespace twk
