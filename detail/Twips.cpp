// SPDX-License-Identifier: MIT
#include "Twips.h"

#include <cmath>

namespace twk {

int Twips::ToPixels(int lTwips, int iDpi) {
  return static_cast<int>(std::lround(static_cast<double>(lTwips) * iDpi / kPerInch));
}

QRect Twips::ToPixels(int lLeft, int lTop, int lWidth, int lHeight, int iDpi) {
  return QRect(ToPixels(lLeft, iDpi), ToPixels(lTop, iDpi), ToPixels(lWidth, iDpi),
               ToPixels(lHeight, iDpi));
}

}  // namespace twk
