// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "Ast.h"
#include "BatchResult.h"
#include "BatchVariables.h"
#include "Binder.h"
#include "CompiledBatch.h"
#include "EngineSession.h"
#include "QueryRunner.h"

namespace twk::embedded {

/// One batch while it runs: read whole first (a syntax error anywhere runs
/// nothing), bound, then its statements run in order with the control flow
/// interpreted here: declare, set, if/else, while with break and continue,
/// begin/end, try/catch, return, print, raiserror and throw, set options,
/// transactions and exec. The first result decides the batch's result; an
/// error after it stops the batch and keeps it.
class BatchRun {
 public:
  /// A parameter of a procedure, declared before its body and given a value.
  struct Argument {
    QString sName;
    QVariant value;
    tsql::SqlType type;  // the value's
  };

  /// Reads the batch; throws the server's error for a batch it refuses.
  /// iDepth is 0 for a batch the caller sent, the nesting level of a
  /// procedure otherwise.
  BatchRun(EngineSession& session, const QString& sBatch, int iDepth,
           std::vector<Argument> arguments = {});
  /// The same for a text whose key the caller has read already.
  BatchRun(EngineSession& session, const QString& sBatch, BatchKey key, int iDepth,
           std::vector<Argument> arguments);
  ~BatchRun();
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  /// Binds and runs the batch up to its end, or up to a first result whose
  /// rows are left to the caller; the rest then waits for Resume.
  BatchResult Start();
  /// Whether statements wait behind a streamed first result.
  bool HasRest() const noexcept { return iResume_ > 0; }
  SqliteStatementRows* Streaming() const noexcept { return queries_.Streaming(); }
  /// Runs the statements after a streamed first result; true when an
  /// error stopped them.
  bool Resume() noexcept;
  /// The value of the batch's return statement, if one ran with a value.
  const QVariant& ReturnValue() const noexcept { return returnValue_; }

 private:
  enum class Flow { Next, Break, Continue, Return };

  void RunTop(size_t iFrom);
  Flow RunList(std::vector<tsql::StatementPtr>& statements);
  Flow Run(tsql::Statement& statement);
  Flow Dispatch(tsql::Statement& statement);
  void RunSimple(tsql::Statement& statement);
  Flow While(tsql::Statement& statement);
  Flow TryCatch(tsql::Statement& statement);
  Flow Return(tsql::Statement& statement);
  void Query(tsql::Statement& statement);
  void Declare(tsql::Statement& statement);
  void SetVariable(tsql::Statement& statement);
  void SetOption(const tsql::Statement& statement);
  void Transaction(const tsql::Statement& statement);
  void Raise(const tsql::Statement& statement);
  void Exec(tsql::Statement& statement);
  void DropTableVariables() noexcept;

  static std::unique_ptr<CompiledBatch> Compiled(EngineSession& session, const QString& sBatch,
                                                 BatchKey key);

  EngineSession& session_;
  std::unique_ptr<CompiledBatch> compiled_;
  tsql::Batch& batch_;
  int iDepth_;
  std::vector<Argument> arguments_;
  BatchVariables variables_;
  tsql::Binder& binder_;
  BatchResult result_;
  QueryRunner queries_;
  const tsql::Statement* pTopStatement_ = nullptr;  // a statement of the batch itself, running
  bool bLastTop_ = false;
  bool bSuspended_ = false;
  size_t iResume_ = 0;
  QVariant returnValue_;
  std::vector<QString> tableVariables_;
};

}  // namespace twk::embedded
