// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

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

  /// The translation of a batch. One that differs from a batch translated
  /// before only in the text of its string literals (a definition run for
  /// another record) reuses that work: the rewrite never looks into a
  /// literal, so it is the same with the new literals put back.
  Translation Translate(const QString& sBatch);

  /// Whether "set <option> on|off" starts at iPos; iEnd receives its end.
  static bool IsSetOption(const QString& sText, qsizetype iPos, qsizetype* pEnd = nullptr,
                          QString* pOption = nullptr, bool* pOn = nullptr);

 private:
  // A translation made with every literal replaced by a numbered marker,
  // and where the markers stand in it.
  struct Template {
    Translation translation;
    struct Slot {
      qsizetype iStart;
      qsizetype iEnd;
      int iLiteral;
    };
    std::vector<Slot> places;
    bool bUsable = false;
  };

  Translation TranslateAfresh(const QString& sBatch) const;
  Template MakeTemplate(const QString& sMasked, std::size_t iLiterals) const;

  SpidSource spidSource_;
  QHash<QString, Template> templates_;
};

}  // namespace twk
