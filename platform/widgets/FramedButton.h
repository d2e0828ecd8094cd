// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace twk {

/// A push button that shows its background colour (the palette's Button
/// role) and still reads as a button under any style: a border, a lighter
/// or tinted face under the mouse, a sunken face while pressed, and a
/// dotted frame while it has the focus. Styles draw a flat button without
/// any of these, and some ignore the colour of a raised one.
class FramedButton : public QPushButton {
  Q_OBJECT

 public:
  /// How the face is drawn: a raised three-dimensional bevel, or a flat
  /// face with a one-pixel border.
  enum class Look { Flat, ThreeD };

  explicit FramedButton(const QString& sCaption, QWidget* pParent = nullptr);

  void SetLook(Look look);
  Look CurrentLook() const noexcept { return look_; }
  /// Whether the mouse is over the button, as the face shows it.
  bool IsHovered() const noexcept { return bHovered_; }

 protected:
  void paintEvent(QPaintEvent* pEvent) override;
  void enterEvent(QEnterEvent* pEvent) override;
  void leaveEvent(QEvent* pEvent) override;

 private:
  QColor FaceColour() const;
  void DrawBorder(QPainter& painter, const QRect& area, bool bSunken) const;

  Look look_ = Look::Flat;
  bool bHovered_ = false;
};

}  // namespace twk
