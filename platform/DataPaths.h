// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// Finds the files the programs ship with (product page, scripts, notices).
/// An installed program finds them under its own prefix (bin/../share/...),
/// wherever that prefix is; a program run from its build tree finds the copy
/// the build put there. The source tree is never consulted.
class DataPaths {
 public:
  /// The path of sRelative (below share/, such as "doc/tellwick/index.html")
  /// for the running program.
  static QString Find(const QString& sRelative);

  /// The same rule for a program in sProgramDir built in sBuildShareDir: the
  /// installed copy if it exists, else the build tree's, else the place the
  /// installed copy belongs (so that an error names where it was looked for).
  static QString Find(const QString& sRelative, const QString& sProgramDir,
                      const QString& sBuildShareDir);
};

}  // namespace twk
