// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "BatchResult.h"
#include "ProcedureCall.h"
#include "Recordset.h"
#include "SqliteStatementCache.h"
#include "StoredProcedureRunner.h"
#include "SysobjectsView.h"
#include "TsqlTranslator.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;

namespace twk {

/// Runs a T-SQL batch on one SQLite connection the way a server does: the
/// whole batch is read and checked first, so that a syntax error anywhere
/// runs nothing; then every statement runs in order and the first result is
/// kept (a count of changed rows, or rows), later rows are stepped through
/// and dropped. Rows the batch itself returns first are read as the caller
/// walks them; statements after more than a buffer's worth of them run once
/// they are read or put away. exec, "set nocount", declare, set, if/else and begin/end blocks are
/// handled here; everything else goes to SQLite after translation.
class BatchExecutor {
 public:
  BatchExecutor(sqlite3* pDb, TsqlTranslator::SpidSource spidSource);
  ~BatchExecutor();
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
  struct Node;
  struct Pass;
  class Parser;

  int PrepareNode(Node& node, const QString& sText, qsizetype* pTail);
  void KeepUnused(Pass& pass) noexcept;
  void RunList(Pass& pass, const std::vector<int>& nodes, bool bOuter);
  struct Rest;

  void RunNode(Pass& pass, Node& node, bool bOuter, bool bLast);
  void RunSql(Pass& pass, Node& node, bool bOuter, bool bLast);
  void RunRest(Pass& pass, bool bStartedInAutocommit) noexcept;
  void FinishPending() noexcept;
  void RunExec(Pass& pass, const Node& node);
  void RunDeclare(Pass& pass, const Node& node);
  void RunAssign(Pass& pass, const Node& node);
  bool Condition(Pass& pass, const Node& node);
  QVariant Evaluate(Pass& pass, const QString& sExpression);
  void BindParameters(sqlite3_stmt* pStatement, const ParameterBindings& bindings,
                      const QStringList& literals = {}) const;
  void StepToEnd(sqlite3_stmt* pStatement) const;
  void NoteIdentity();
  static void Offer(Pass& pass, Recordset result);
  static void OnUpdate(void* pExecutor, int iOperation, const char* sDatabase, const char* sTable,
                       long long lRowId);
  static void IdentityFunction(sqlite3_context* pContext, int, sqlite3_value**);
  static void VariableFunction(sqlite3_context* pContext, int, sqlite3_value** ppArguments);

  sqlite3* pDb_;
  TsqlTranslator translator_;
  // Shared with results still being read, which give their statement back.
  std::shared_ptr<SqliteStatementCache> statements_;
  SysobjectsView sysobjects_;
  StoredProcedureRunner procedures_;
  bool bNoCount_ = false;
  // The rest of the last batch, while its first result is still being read.
  std::weak_ptr<Rest> pending_;
  // The variables of the assignment select being stepped, for twk_variable.
  ParameterBindings* pLiveVariables_ = nullptr;
  // @@identity: the last row id this connection inserted into a table with
  // an identity (autoincrement) column; rows going elsewhere leave it.
  std::optional<qint64> identity_;
  std::vector<std::pair<QByteArray, qint64>> inserts_;
};

}  // namespace twk
