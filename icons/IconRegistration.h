// SPDX-License-Identifier: MIT
#pragma once

namespace twk {

/// Registers "TWK.ctlPreviewImages" with the control registry. The library
/// does this itself when it is loaded; calling it again is harmless.
void RegisterIconControls();

}  // namespace twk
