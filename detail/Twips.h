// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

namespace twk {

/// Geometry in twips (1/1440 inch), converted to device-independent pixels
/// only where a widget is placed: 15 twips make a pixel at 96 dpi.
class Twips {
 public:
  static constexpr int kPerInch = 1440;

  /// Pixels for a length in twips at the given logical resolution, rounded
  /// to the nearest pixel.
  static int ToPixels(int lTwips, int iDpi = 96);

  /// A rectangle given as left, top, width and height in twips.
  static QRect ToPixels(int lLeft, int lTop, int lWidth, int lHeight, int iDpi = 96);
};

}  // namespace twk
