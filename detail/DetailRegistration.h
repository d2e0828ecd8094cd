// SPDX-License-Identifier: MIT
#pragma once

namespace twk {

/// Registers "TWKDetail.ctlAlertDetail" with the control registry. The
/// library does this itself when it is loaded; calling it again is harmless.
void RegisterDetailControls();

}  // namespace twk
