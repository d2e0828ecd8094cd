// SPDX-License-Identifier: MIT
#include "frmResources.h"

#include "IconLibrary.h"

namespace twk {

const IconLibrary& frmResources::ilstIcons() {
  // The set holds images, not pixmaps, so destroying it after the
  // application object is gone is safe.
  static const IconLibrary library;
  return library;
}

}  // namespace twk
