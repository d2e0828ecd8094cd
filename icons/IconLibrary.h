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
  /// Width and height of the shipped set's rendering for scaled screens.
  static constexpr int kLargeImageSize = 64;

  /// The shipped set, read from the library's compiled-in resources on
  /// first lookup of each number.
  IconLibrary();
  /// A set made of the given images, numbered from 1 in order; for callers
  /// that need another count than the shipped one.
  explicit IconLibrary(std::vector<QImage> images);

  qint16 Count() const noexcept { return iCount_; }

  /// Image n for 1 <= n <= Count(); a null image for any other number.
  QImage Image(qint16 iNumber) const;
  /// The same as a picture for a picture box, shown at its own size in
  /// logical pixels and drawn for the application's device pixel ratio; a
  /// null pixmap selects no picture. Needs a running QGuiApplication.
  QPixmap Picture(qint16 iNumber) const;
  /// The picture drawn for a screen of the given device pixel ratio: the
  /// shipped set has a rendering of twice the size, which a scaled screen
  /// shows shrunk to its own pixels rather than a 32-pixel image blown up.
  QPixmap Picture(qint16 iNumber, qreal dDevicePixelRatio) const;

 private:
  bool InRange(qint16 iNumber) const noexcept { return iNumber >= 1 && iNumber <= iCount_; }
  QImage LargeImage(qint16 iNumber) const;

  qint16 iCount_;
  bool bShipped_;
  // Loaded lazily: a panel shows five icons, so reading all 679 at start-up
  // would cost time for nothing.
  mutable std::vector<std::optional<QImage>> images_;
  mutable std::vector<std::optional<QImage>> largeImages_;
};

}  // namespace twk
