// SPDX-License-Identifier: MIT
#pragma once

#include <QScrollArea>

namespace twk {

/// Holds a docked control at no less than its designed size: a dock smaller
/// than the design scrolls the control instead of squeezing or cutting it.
class ControlScrollArea : public QScrollArea {
  Q_OBJECT

 public:
  /// Takes the control, which is never given less than its design.
  explicit ControlScrollArea(QWidget* pControl, QWidget* pParent = nullptr);

  /// The control's designed size and nothing more: scroll bars are not
  /// needed when the dock gets this much.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  QWidget* Control() const { return widget(); }
  /// Whether every pixel of the control's designed area is on view.
  bool ShowsWholeControl() const;

 private:
  QSize DesignedSize() const;
};

}  // namespace twk
