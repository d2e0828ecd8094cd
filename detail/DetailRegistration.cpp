// SPDX-License-Identifier: MIT
#include "DetailRegistration.h"

#include "ControlRegistry.h"
#include "ctlAlertDetail.h"

namespace twk {

void RegisterDetailControls() {
  ControlRegistry::Instance().Register(
      QStringLiteral("TWKDetail.ctlAlertDetail"),
      [](QWidget* pParent) -> QWidget* { return new ctlAlertDetail(pParent); });
}

namespace {
// The panel creates items by class name only, so loading the library must
// be enough to make the name known.
[[maybe_unused]] const bool bRegisteredAtLoad = (RegisterDetailControls(), true);
}  // namespace

}  // namespace twk
