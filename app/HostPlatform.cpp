// SPDX-License-Identifier: MIT
#include "HostPlatform.h"

namespace twk {

bool HostPlatform::OpenWebAddress(const QString& sAddress) {
  const bool bOpened = desktop_.OpenWebAddress(sAddress);
  if (!bOpened && report_) {
    report_(QStringLiteral("The product page could not be opened: no web browser took ") +
            sAddress);
  }
  return bOpened;
}

}  // namespace twk
