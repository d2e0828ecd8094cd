// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>

namespace twk::embedded {

/// SQLite's failures that the server reports with errors of its own: a NULL
/// into a column that allows none (515), a duplicate key (2627, 2601) and an
/// object made a second time (2714).
class ServerErrors {
 public:
  /// Throws the server's error for the failure SQLite just reported, if it
  /// has one. sVerb: INSERT or UPDATE, as the statement that failed.
  static void ThrowIfKnown(sqlite3* pDb, int iResult, const QString& sMessage, const QString& sVerb,
                           int iLine);
};

}  // namespace twk::embedded
