// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "OdbcHandles.h"

namespace twk {

/// An open ODBC connection: runs batches and hands back their first result.
class OdbcConnection : public Backend {
 public:
  /// Takes a connected connection handle and the environment it lives in.
  OdbcConnection(OdbcEnvironmentHandle environment, OdbcConnectionHandle connection) noexcept;

  /// Runs the whole batch through to its last result; the first result
  /// that is a set of rows or a count of changed rows is what comes back.
  Recordset Execute(const QString& sSql) override;

  QString SourceName() const override;

 private:
  OdbcStatementHandle AllocateStatement();

  // Declared in this order so that the connection is freed before its environment.
  OdbcEnvironmentHandle environment_;
  OdbcConnectionHandle connection_;
};

}  // namespace twk
