// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

namespace twk {

/// A batch rewritten for SQLite, and what the executor must prepare for it.
struct Translation {
  QString sSql;
  /// The batch names the sysobjects catalogue view.
  bool bUsesSysobjects = false;
};

/// Rewrites the T-SQL that the libraries and alert definitions send into
/// SQLite's SQL. Only text outside string literals, comments and quoted
/// identifiers changes; keywords match in any case:
/// - @@spid becomes the connection's number, @@identity last_insert_rowid(),
///   @@rowcount changes();
/// - "insert T ..." gains "into", "delete T ..." gains "from";
/// - isnull(a, b) becomes ifnull(a, b) (SQLite reads ISNULL as an operator);
/// - the N of N'text' is dropped;
/// - a ';' goes before an exec statement that starts a line and before
///   "set <option> on|off", so that T-SQL batches without semicolons still
///   split where the server would split them.
class TsqlTranslator {
 public:
  /// Called only when a batch uses @@spid, so that a connection that never
  /// asks for its number never writes one.
  using SpidSource = std::function<long()>;

  explicit TsqlTranslator(SpidSource spidSource);

  Translation Translate(const QString& sBatch) const;

  /// Whether "set <option> on|off" starts at iPos; iEnd receives its end.
  static bool IsSetOption(const QString& sText, qsizetype iPos, qsizetype* pEnd = nullptr,
                          QString* pOption = nullptr, bool* pOn = nullptr);

 private:
  SpidSource spidSource_;
};

}  // namespace twk
