// SPDX-License-Identifier: MIT
#pragma once

#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "EmittedSql.h"
#include "EngineSession.h"
#include "SqliteHandles.h"
#include "SqliteStatementCache.h"

namespace twk::embedded {

/// One emitted statement while it runs: prepared from the connection's kept
/// statements by its text (literals are parameters, so the text is the same
/// for every record), given back to them once done. Every failure leaves as
/// the error of the author's statement: "TSQL <n>: <m>" from a function of
/// the engine as TsqlError(n, m, line), anything else of SQLite with its
/// text and the line.
class EmittedStatement {
 public:
  /// The value bound to one "?" of the statement.
  using ValueOf = std::function<QVariant(const EmittedParameter&)>;

  EmittedStatement(EngineSession& session, const EmittedSql& emitted, int iLine);
  ~EmittedStatement();
  EmittedStatement(const EmittedStatement&) = delete;
  EmittedStatement& operator=(const EmittedStatement&) = delete;

  void Bind(const ValueOf& valueOf);
  /// True when a row is there to read.
  bool Step();
  /// Steps to the end, dropping what rows remain.
  void Finish();
  QVariant Column(int iColumn) const { return ColumnValue(statement_.get(), iColumn); }
  int ColumnCount() const { return sqlite3_column_count(statement_.get()); }
  bool IsReadOnly() const { return sqlite3_stmt_readonly(statement_.get()) != 0; }
  /// Hands the statement over to a reader of its rows; not given back here then.
  StatementHandle Release() { return std::move(statement_); }
  const QString& Shape() const { return emitted_.sSql; }

  /// The error for a SQLite failure of a statement on that line; sVerb
  /// (INSERT, UPDATE) names the statement in the server's constraint errors.
  [[noreturn]] static void Fail(sqlite3* pDb, int iResult, int iLine,
                                const QString& sVerb = QStringLiteral("INSERT"));

 private:
  QString Verb() const;
  bool ReadsNoTable() const;
  bool Stepped(int iResult) const;

  sqlite3* pDb_;
  const EngineCatalog& catalog_;
  std::shared_ptr<SqliteStatementCache> cache_;
  const EmittedSql& emitted_;
  int iLine_;
  StatementHandle statement_;
};

}  // namespace twk::embedded
