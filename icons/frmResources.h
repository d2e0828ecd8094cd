// SPDX-License-Identifier: MIT
#pragma once

namespace twk {

class IconLibrary;

/// The library's hidden resource holder. Never shown; it exists to give the
/// panel and the preview the one shipped icon set.
class frmResources {
 public:
  /// The shipped icon set, created the first time it is asked for and kept
  /// until the library is unloaded.
  static const IconLibrary& ilstIcons();
};

}  // namespace twk
