// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QVariantMap>
#include <vector>

#include "EmittedSql.h"

namespace twk::embedded::test {

/// An in-memory connection with the engine's functions, its private
/// twk_temp database and a small membership schema (Name, Activity), that
/// runs T-SQL through the parser, binder and emitter. Control flow is not
/// run: a declare of a table variable makes its table, other declares and
/// sets are skipped, and variables take the values given to Run.
class EmitterRunner {
 public:
  EmitterRunner();
  ~EmitterRunner();
  EmitterRunner(const EmitterRunner&) = delete;
  EmitterRunner& operator=(const EmitterRunner&) = delete;

  /// The rows of the batch's last select as "a|b;c|d" (NULL as "NULL"), or
  /// "error <number>" for the first error, or "sqlite: <message>".
  QString Run(const QString& sBatch, const QVariantMap& variables = {});
  /// What the emitter writes for the batch's last statement.
  std::vector<EmittedSql> Emit(const QString& sBatch);

  sqlite3* Handle() const { return pDb_; }

 private:
  QString Execute(const EmittedSql& emitted, const QVariantMap& variables);
  QString ErrorText() const;

  sqlite3* pDb_ = nullptr;
};

}  // namespace twk::embedded::test
