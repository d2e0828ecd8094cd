// SPDX-License-Identifier: MIT
#include "IconRegistration.h"

#include "ControlRegistry.h"
#include "ctlPreviewImages.h"

namespace twk {

void RegisterIconControls() {
  ControlRegistry::Instance().Register(
      QStringLiteral("TWK.ctlPreviewImages"),
      [](QWidget* pParent) -> QWidget* { return new ctlPreviewImages(pParent); });
}

namespace {
// The host creates controls by class name only; loading the library must be
// enough to make the name known.
[[maybe_unused]] const bool bRegisteredAtLoad = (RegisterIconControls(), true);
}  // namespace

}  // namespace twk
