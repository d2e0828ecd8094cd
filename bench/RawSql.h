// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace twk::bench {

/// Columns and rows of a result, every value as canonical text (numbers as
/// numbers, NULL as "<null>"), for comparing answers of two engines.
struct TextResult {
  QStringList columns;
  std::vector<QStringList> rows;
};

/// The values hand-written statements bind by name.
struct RawBindings {
  QByteArray sId;       ///< :id, the record's id
  QByteArray sUser;     ///< :user, the user name
  qint64 lSpid = 9999;  ///< :spid, this connection's rows of the output table
};

/// Hand-written SQLite run as an application runs it on the C API: each
/// statement prepared, bound by name, stepped to the end with every column
/// read as text, finalized.
class RawSql {
 public:
  RawSql(sqlite3* pDb, RawBindings bindings) : pDb_(pDb), bindings_(std::move(bindings)) {}

  /// Runs every statement of sSql; empty when all ran, else what failed.
  QString Run(const char* sSql) const { return Run(sSql, nullptr); }
  /// The same, keeping the last result that had columns.
  QString Run(const char* sSql, TextResult* pResult) const;

  /// A value as TextResult holds it.
  static QString ValueText(sqlite3_stmt* pStatement, int iColumn);

 private:
  void Bind(sqlite3_stmt* pStatement) const;
  QString StepAll(sqlite3_stmt* pStatement, TextResult* pResult) const;

  sqlite3* pDb_;
  RawBindings bindings_;
};

}  // namespace twk::bench
