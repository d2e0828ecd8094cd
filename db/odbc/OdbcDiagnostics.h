// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>

#include <QString>
#include <vector>

#include "Backend.h"
#include "TwkError.h"

namespace twk {

/// Reads what ODBC reported about a handle, and checks the return code of
/// every ODBC call the backend makes.
class OdbcDiagnostics {
 public:
  /// The source named in every error the ODBC backend raises.
  static QString Source() { return QStringLiteral("ODBC"); }

  /// Every diagnostic record of the handle, in order, numbered by Number.
  static std::vector<Diagnostic> Read(SQLSMALLINT iHandleType, SQLHANDLE handle);

  /// The number a record gets in a diagnostics list. Informational records
  /// (SQLSTATE classes 00 and 01) get zero or less: minus a positive native
  /// error, else the native error itself or 0. Every other record gets a
  /// number above zero: its native error when positive, else 1.
  static long Number(const QString& sSqlState, long lNativeError);

  /// Passes the return code through unless it is SQL_ERROR or
  /// SQL_INVALID_HANDLE; then throws the error built from the handle's
  /// records. SQL_SUCCESS_WITH_INFO and SQL_NO_DATA are for the caller.
  static SQLRETURN Check(SQLRETURN iReturn, SQLSMALLINT iHandleType, SQLHANDLE handle);

  /// The error the records describe: all their messages, one to a line, and
  /// the number of the first error record (1 when there is none). sFallback
  /// is the description when there are no records at all.
  static TwkError ErrorFrom(const std::vector<Diagnostic>& records, const QString& sFallback);
};

}  // namespace twk
