// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// The product's version and licences, as --version and the About box show
/// them. The texts are compiled in, so that they travel with the libraries.
class ProductNotices {
 public:
  /// The product version from the build, such as "1.0.0".
  static QString ProductVersion();
  /// The project's licence (LICENSE at the root of the sources).
  static QString LicenceText();
  /// The notice of the third-party icons, with their licence.
  static QString IconsNotice();
  /// What `--version` prints: program, versions, both copyrights and
  /// licences, and where the full texts are installed.
  static QString VersionText(const QString& sProgram, const QString& sLibraryVersion);
};

}  // namespace twk
