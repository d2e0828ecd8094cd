// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "BatchResult.h"
#include "TsqlEngine.h"

namespace twk::embedded::test {

/// A database file in a temporary folder with a small membership schema
/// (Name; Log, whose SEQN is an identity; Big, 2,500 rows; two procedures in
/// twk_procedures), opened with the engine on it. @@spid is 4242.
class EngineConnection {
 public:
  EngineConnection();
  ~EngineConnection();
  EngineConnection(const EngineConnection&) = delete;
  EngineConnection& operator=(const EngineConnection&) = delete;

  /// The batch's outcome as text: "a|b;c|d" for rows (NULL as "NULL"),
  /// "(n rows)" for a count, "none" for no result, then " stopped" when an
  /// error cut the batch short; "error <n> line <l>" for a T-SQL error,
  /// "sqlite <n>: <description>" for another.
  QString Run(const QString& sBatch);
  BatchResult RunBatch(const QString& sBatch) { return engine_->Run(sBatch); }
  /// One value read with SQLite itself, past the engine.
  QString Raw(const char* sSql) const;

  static QString Describe(BatchResult& result);
  QString Path() const { return folder_.filePath(QStringLiteral("engine.db")); }
  sqlite3* Handle() const { return pDb_; }

 private:
  QTemporaryDir folder_;
  sqlite3* pDb_ = nullptr;
  std::unique_ptr<TsqlEngine> engine_;
};

}  // namespace twk::embedded::test
