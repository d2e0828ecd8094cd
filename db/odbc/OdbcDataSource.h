// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>

#include <QString>

namespace twk {

/// What the driver manager knows of a data source name before connecting:
/// whether it is defined, and the driver behind it.
struct OdbcDataSource {
  bool bDefined = false;
  /// The driver's library file when the definitions name it, else the
  /// driver's name as given.
  QString sDriver;

  /// Looks the name up among the data sources the environment can see.
  static OdbcDataSource Find(SQLHENV environment, const QString& sName);

  /// Whether the driver is FreeTDS's, which reads a braced value up to the
  /// first "};" and does not undouble "}}".
  bool IsFreeTds() const;
};

}  // namespace twk
