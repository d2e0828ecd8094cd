#pragma once

#include <QString>
#include <optional>

#include "ProcedureCall.h"
#include "Recordset.h"
#include "StoredProcedureRunner.h"
#include "SysobjectsView.h"
#include "TsqlTranslator.h"

struct sqlite3;
struct sqlite3_stmt;

namespace twk {

/// What a batch gave back: its first result, if any, and whether a failure
/// after that result cut the batch short.
struct BatchResult {
  std::optional<Recordset> first;
  bool bStopped = false;
};

/// Runs a T-SQL batch on one SQLite connection, statement by statement, the
/// way a server client sees it: every statement runs in order, the first
/// result is kept (rows fully fetched, or a count of changed rows), later
/// rows are stepped through and dropped. exec and "set nocount" are handled
/// here; everything else goes to SQLite after translation.
class BatchExecutor {
 public:
  BatchExecutor(sqlite3* pDb, TsqlTranslator::SpidSource spidSource);
  BatchExecutor(const BatchExecutor&) = delete;
  BatchExecutor& operator=(const BatchExecutor&) = delete;

  /// Runs a batch. A failure before any result throws TwkError; a failure
  /// after the first result stops the batch and returns that result.
  /// bindings are the parameters of the procedure whose body this is; iDepth
  /// its nesting level (0 for a batch the caller sent).
  BatchResult Run(const QString& sBatch, const ParameterBindings& bindings = {}, int iDepth = 0);

  /// "set nocount on": statements that change rows yield no result. Kept
  /// for the connection's lifetime, like the server's session option.
  bool NoCount() const noexcept { return bNoCount_; }
  void SetNoCount(bool bNoCount) noexcept { bNoCount_ = bNoCount; }

 private:
  struct Pass;

  qsizetype RunStatement(Pass& pass, qsizetype iPos);
  qsizetype RunSqlStatement(Pass& pass, qsizetype iPos);
  void BindParameters(sqlite3_stmt* pStatement, const ParameterBindings& bindings) const;
  Recordset FetchRows(sqlite3_stmt* pStatement) const;
  void StepToEnd(sqlite3_stmt* pStatement) const;
  static void Offer(Pass& pass, Recordset result);

  sqlite3* pDb_;
  TsqlTranslator translator_;
  SysobjectsView sysobjects_;
  StoredProcedureRunner procedures_;
  bool bNoCount_ = false;
};

}  // namespace twk
