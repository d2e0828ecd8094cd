// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPixmap>
#include <optional>
#include <vector>

namespace twk {

/// The numbered icon set (`ilstIcons`): images 1 to Count(), looked up by
/// number only. Immutable once built.
class IconLibrary {
 public:
  /// Number of images in the set that ships with the library.
  static constexpr qint16 kShippedCount = 679;
  /// Width and height of every image of the shipped set.
  static constexpr int kImageSize = 32;

  /// The shipped set, read from the library's compiled-in resources on
  /// first lookup of each number.
  IconLibrary();
  /// A set made of the given images, numbered from 1 in order; for callers
  /// that need another count than the shipped one.
  explicit IconLibrary(std::vector<QImage> images);

  qint16 Count() const noexcept { return iCount_; }

  /// Image n for 1 <= n <= Count(); a null image for any other number.
  QImage Image(qint16 iNumber) const;
  /// The same as a picture for a picture box, shown at its own size; a null
  /// pixmap selects no picture. Needs a running QGuiApplication.
  QPixmap Picture(qint16 iNumber) const;

 private:
  bool InRange(qint16 iNumber) const noexcept { return iNumber >= 1 && iNumber <= iCount_; }

  qint16 iCount_;
  // Loaded lazily: a panel shows five icons, so reading all 679 at start-up
  // would cost time for nothing.
  mutable std::vector<std::optional<QImage>> images_;
};

}  // namespace twk
