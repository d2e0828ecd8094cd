// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "ControlFrame.h"

class QFrame;
class QLabel;
class QSlider;

namespace twk {

class IconLibrary;

/// The icon preview: pages through the icon set fifteen images at a time,
/// each shown unscaled above its number, so that alert authors can look up
/// the number of a picture.
class ctlPreviewImages : public ControlFrame {
  Q_OBJECT

 public:
  static constexpr int kSlotCount = 15;

  /// A preview of the shipped icon set.
  explicit ctlPreviewImages(QWidget* pParent = nullptr);
  /// A preview of another set, which must outlive the control.
  explicit ctlPreviewImages(const IconLibrary& icons, QWidget* pParent = nullptr);

  /// Runs Shared_Initialize, which has nothing to prepare for this control.
  void XtenderInit() override;

  QSlider* sldPictureNum() const noexcept { return sldPictureNum_; }
  QFrame* Frame1() const noexcept { return Frame1_; }
  QLabel* picThis(int iIndex) const { return picThis_.at(std::size_t(iIndex)); }
  QLabel* lblNum(int iIndex) const { return lblNum_.at(std::size_t(iIndex)); }

  QSize sizeHint() const override;

 private:
  void CreateWidgets();
  void RegisterTabIndexes();
  void PlaceWidgets();
  void UserControl_Initialize();
  void sldPictureNum_Change();
  void Shared_Initialize();

  const IconLibrary& icons_;
  QSlider* sldPictureNum_ = nullptr;
  QFrame* Frame1_ = nullptr;
  std::array<QLabel*, kSlotCount> picThis_{};
  std::array<QLabel*, kSlotCount> lblNum_{};
};

}  // namespace twk
