// SPDX-License-Identifier: MIT
#include "FramedButton.h"

#include <QPainter>

namespace twk {

FramedButton::FramedButton(const QString& sCaption, QWidget* pParent)
    : QPushButton(sCaption, pParent) {
  setAttribute(Qt::WA_Hover);
  setAutoDefault(false);
}

void FramedButton::SetLook(Look look) {
  look_ = look;
  update();
}

void FramedButton::enterEvent(QEnterEvent* pEvent) {
  bHovered_ = true;
  update();
  QPushButton::enterEvent(pEvent);
}

void FramedButton::leaveEvent(QEvent* pEvent) {
  bHovered_ = false;
  update();
  QPushButton::leaveEvent(pEvent);
}

QColor FramedButton::FaceColour() const {
  const QColor face = palette().color(QPalette::Button);
  if (!isEnabled()) return face;
  if (isDown()) return face.darker(118);
  if (bHovered_) {
    // Towards the highlight colour: a white face cannot get lighter.
    const QColor tint = palette().color(QPalette::Highlight);
    return QColor((face.red() * 4 + tint.red()) / 5, (face.green() * 4 + tint.green()) / 5,
                  (face.blue() * 4 + tint.blue()) / 5);
  }
  return face;
}

void FramedButton::DrawBorder(QPainter& painter, const QRect& area, bool bSunken) const {
  const QPalette& colours = palette();
  const QColor dark = colours.color(QPalette::Dark);
  if (look_ == Look::Flat) {
    QColor edge = isEnabled() ? dark : colours.color(QPalette::Mid);
    if (isEnabled() && (bHovered_ || hasFocus())) edge = colours.color(QPalette::Highlight);
    painter.setPen(edge);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    return;
  }
  // Light from the top left; a pressed button turns the bevel round.
  const QColor light = colours.color(QPalette::Light);
  const QColor shadow = colours.color(QPalette::Shadow);
  const QColor topLeft = bSunken ? shadow : light;
  const QColor bottomRight = bSunken ? light : shadow;
  const QRect outer = area;  // lines end on right() and bottom(), inside
  painter.setPen(topLeft);
  painter.drawLine(outer.topLeft(), outer.topRight());
  painter.drawLine(outer.topLeft(), outer.bottomLeft());
  painter.setPen(bottomRight);
  painter.drawLine(outer.bottomLeft(), outer.bottomRight());
  painter.drawLine(outer.topRight(), outer.bottomRight());
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  painter.setPen(bSunken ? colours.color(QPalette::Mid) : dark);
  if (bSunken) {
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
  } else {
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
  }
  if (bHovered_ && isEnabled() && !bSunken) {
    painter.setPen(colours.color(QPalette::Highlight));
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
  }
}

void FramedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool bSunken = isDown() || isChecked();
  const QRect area = rect();
  painter.fillRect(area, FaceColour());
  DrawBorder(painter, area, bSunken);
  if (hasFocus()) {
    // Inside the border, and inside the bevel on a raised button.
    const int iInset = look_ == Look::ThreeD ? 3 : 2;
    QPen dotted(palette().color(QPalette::ButtonText));
    dotted.setStyle(Qt::DotLine);
    painter.setPen(dotted);
    painter.drawRect(area.adjusted(iInset, iInset, -iInset - 1, -iInset - 1));
  }
  const QRect textArea = bSunken ? area.translated(1, 1) : area;
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.setFont(font());
  painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace twk
