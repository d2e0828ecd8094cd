// SPDX-License-Identifier: MIT
#pragma once

#include <QScrollArea>

namespace twk {

/// Holds a docked control at no less than its designed size: a dock smaller
/// than the design scrolls the control instead of squeezing or cutting it.
class ControlScrollArea : public QScrollArea {
  Q_OBJECT

 public:
  /// Takes the control; bKeepWidth makes the whole design the least this
  /// area may be given (a panel beside the records), otherwise only the
  /// designed height (a control below them scrolls sideways).
  ControlScrollArea(QWidget* pControl, bool bKeepWidth, QWidget* pParent = nullptr);

  /// The control's designed size and nothing more: scroll bars are not
  /// needed when the dock gets this much.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  QWidget* Control() const { return widget(); }
  /// Whether every pixel of the control's designed area is on view.
  bool ShowsWholeControl() const;

 private:
  QSize DesignedSize() const;

  bool bKeepWidth_;
};

}  // namespace twk
