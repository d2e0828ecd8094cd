// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QToolButton;

namespace twk {

/// Two arrow buttons over a position between a minimum and a maximum. The
/// buttons only report clicks; the panel moves the position itself, one
/// alert a click.
class UpDownScroller : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownScroller(QWidget* pParent = nullptr);

  int Position() const noexcept { return iPosition_; }
  void SetPosition(int iPosition) { iPosition_ = iPosition; }
  int Minimum() const noexcept { return iMinimum_; }
  void SetMinimum(int iMinimum) { iMinimum_ = iMinimum; }
  int Maximum() const noexcept { return iMaximum_; }
  void SetMaximum(int iMaximum) { iMaximum_ = iMaximum; }

  QToolButton* UpButton() const noexcept { return pUp_; }
  QToolButton* DownButton() const noexcept { return pDown_; }

 signals:
  void UpClick();
  void DownClick();

 protected:
  void resizeEvent(QResizeEvent* pEvent) override;

 private:
  QToolButton* pUp_;
  QToolButton* pDown_;
  int iPosition_ = 1;
  int iMinimum_ = 1;
  int iMaximum_ = 1;
};

}  // namespace twk
