// SPDX-License-Identifier: MIT
#include "PanelIcons.h"

#include "IconLibrary.h"
#include "frmResources.h"

namespace twk::PanelIcons {

// The panel and the preview draw from the one set the hidden resource form
// holds, created the first time either needs it.
int Count() {
  return frmResources::ilstIcons().Count();
}

QPixmap Picture(qint16 iNumber) {
  return frmResources::ilstIcons().Picture(iNumber);
}

}  // namespace twk::PanelIcons
