// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "Backend.h"
#include "OdbcHandles.h"
#include "OdbcResultStream.h"

namespace twk {

/// An open ODBC connection: runs batches and hands back their first result.
class OdbcConnection : public Backend {
 public:
  /// Takes a connected connection handle and the environment it lives in.
  OdbcConnection(OdbcEnvironmentHandle environment, OdbcConnectionHandle connection) noexcept;
  /// A record set still reading keeps its rows: they are read in first.
  ~OdbcConnection() override;

  /// Runs the whole batch through to its last result; the first result
  /// that is a set of rows or a count of changed rows is what comes back.
  /// Rows are fetched as the record set walks them, and the batch finishes
  /// once they end or the record set is closed. A record set still reading
  /// when the next batch starts is read whole first.
  Recordset Execute(const QString& sSql) override;

  QString SourceName() const override;

 private:
  OdbcStatementHandle AllocateStatement();
  void FinishOpenResult() noexcept;

  // Declared in this order so that the connection is freed before its environment.
  OdbcEnvironmentHandle environment_;
  OdbcConnectionHandle connection_;
  std::weak_ptr<OdbcResultStream> open_;
};

}  // namespace twk
