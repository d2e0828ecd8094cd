// SPDX-License-Identifier: MIT
#pragma once

#include <QVariant>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Ast.h"
#include "BatchResult.h"
#include "BatchVariables.h"
#include "CompiledBatch.h"
#include "EmittedSql.h"
#include "EngineSession.h"

namespace twk {
class SqliteStatementRows;
}

namespace twk::embedded {

class EmittedStatement;

/// Runs the statements of a batch that SQLite runs (select, insert, update,
/// delete, truncate, create and drop table) and the expressions of its
/// control flow, each emitted once per batch and kept prepared by the
/// connection. It applies the first-result rule: the first statement that
/// gives rows, or a count of changed rows, decides the batch's result;
/// later rows are read and dropped.
class QueryRunner {
 public:
  QueryRunner(EngineSession& session, BatchVariables& variables, CompiledBatch& compiled,
              BatchResult& result);
  ~QueryRunner();

  /// Runs a statement. bMayStream: a statement of the batch the caller sent
  /// whose rows may be read as the caller walks them; bLast: none follows.
  /// True when the first result's rows are left to the caller that way.
  bool Run(tsql::Statement& statement, bool bMayStream, bool bLast);
  /// The value of an expression, of the expression's type.
  QVariant Evaluate(const tsql::Expr& expr, int iLine);
  /// Whether a search condition holds (not for unknown).
  bool Holds(const tsql::Expr& condition, int iLine);
  /// Runs emitted statements to their end (the table of a table variable).
  void Execute(const std::vector<EmittedSql>& emitted, int iLine);

  /// The reader of a streamed first result, once Run returned true.
  SqliteStatementRows* Streaming() const noexcept { return pStreaming_; }

 private:
  const std::vector<EmittedSql>& Emitted(tsql::Statement& statement);
  const EmittedSql& Expression(const tsql::Expr& expr, bool bCondition);
  QVariant ValueOf(const EmittedParameter& parameter) const;
  QVariant SystemValue(const QString& sName) const;
  bool Rows(EmittedStatement& run, const EmittedSql& emitted, bool bMayStream, bool bLast);
  void Assign(EmittedStatement& run, const EmittedSql& emitted, int iLine);
  QVariant StepValue(const EmittedSql& step, const Recordset::Row& row, int iLine);
  void MakeCompoundsPlain(tsql::Statement& statement);
  void Changed(const tsql::Statement& statement, const EmittedSql& emitted);
  void NoteIdentity();

  EngineSession& session_;
  BatchVariables& variables_;
  CompiledBatch& compiled_;
  BatchResult& result_;
  // What each statement and expression of the batch emitted, by its node.
  CompiledBatch::EmittedMap& emitted_;
  SqliteStatementRows* pStreaming_ = nullptr;
};

}  // namespace twk::embedded
