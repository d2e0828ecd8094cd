// SPDX-License-Identifier: MIT
#include "UpDownScroller.h"

#include <QToolButton>

namespace twk {

UpDownScroller::UpDownScroller(QWidget* pParent)
    : QWidget(pParent), pUp_(new QToolButton(this)), pDown_(new QToolButton(this)) {
  pUp_->setArrowType(Qt::UpArrow);
  pDown_->setArrowType(Qt::DownArrow);
  pUp_->setToolTip(QStringLiteral("Earlier alert"));
  pDown_->setToolTip(QStringLiteral("Later alert"));
  // Arrow buttons have no text for a screen reader to say.
  setAccessibleName(QStringLiteral("Page through the alerts"));
  pUp_->setAccessibleName(pUp_->toolTip());
  pDown_->setAccessibleName(pDown_->toolTip());
  for (QToolButton* pButton : {pUp_, pDown_}) pButton->setFocusPolicy(Qt::NoFocus);
  connect(pUp_, &QToolButton::clicked, this, &UpDownScroller::UpClick);
  connect(pDown_, &QToolButton::clicked, this, &UpDownScroller::DownClick);
}

void UpDownScroller::resizeEvent(QResizeEvent*) {
  const int iHalf = height() / 2;
  pUp_->setGeometry(0, 0, width(), iHalf);
  pDown_->setGeometry(0, iHalf, width(), height() - iHalf);
}

}  // namespace twk
