// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <functional>
#include <memory>

#include "BatchResult.h"

namespace twk::embedded {

struct EngineSession;

/// Runs T-SQL batches on one SQLite connection as the server runs them: the
/// batch is parsed and bound whole (a syntax error anywhere runs nothing),
/// each query is emitted as SQLite SQL from the tree and kept prepared, the
/// control flow is interpreted, and the first result is the batch's. Rows of
/// a first result of more than 1,000 rows are read as the caller walks them,
/// and the statements after it run once they are read or put away, or when
/// the next batch starts.
///
/// SqliteConnection runs every batch of the embedded database here.
class TsqlEngine {
 public:
  /// @@spid of the connection, asked for when a batch reads it.
  using SpidSource = std::function<long()>;

  TsqlEngine(sqlite3* pDb, SpidSource spidSource);
  ~TsqlEngine();
  TsqlEngine(const TsqlEngine&) = delete;
  TsqlEngine& operator=(const TsqlEngine&) = delete;

  /// Gives a connection what emitted SQL relies on: the TSQL collation,
  /// the tsql_ functions, and the private in-memory database twk_temp for
  /// #tables and table variables (attached unless it is already).
  static void PrepareConnection(sqlite3* pDb);

  /// Runs a batch. A failure before any result throws (tsql::TsqlError with
  /// the server's number and line, or TwkError with SQLite's text); one
  /// after the first result stops the batch and returns that result.
  BatchResult Run(const QString& sBatch);
  /// Ends the transaction in which a batch checks the schema, before its
  /// first statement would have ended it.
  void EndSchemaCheck() noexcept;

  /// "set nocount on" of an earlier batch, kept as the session option is.
  bool NoCount() const noexcept;

 private:
  struct Rest;

  void FinishPending() noexcept;
  void RegisterSessionFunctions();
  static void OnUpdate(void* pSession, int iOperation, const char* sDatabase, const char* sTable,
                       long long lRowId);

  sqlite3* pDb_;
  std::unique_ptr<EngineSession> session_;
  // The rest of the last batch, while its first result is still being read.
  std::weak_ptr<Rest> pending_;
};

}  // namespace twk::embedded
