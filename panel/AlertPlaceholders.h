// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

namespace twk {

/// One placeholder that was replaced: where it stood in the definition and
/// where its value stands in the result.
struct PlaceholderEdit {
  qsizetype iSourcePos = 0;
  qsizetype iSourceLength = 0;
  qsizetype iResultPos = 0;
  qsizetype iResultLength = 0;
};

struct ReplacedCriteria {
  QString sSql;
  std::vector<PlaceholderEdit> edits;
};

/// The SQL that an alert definition runs: its CRITERIA with "{id}", "{user}",
/// "@psId", "@id" and "@sUserName" (tried in that order, letter case
/// ignored) each replaced by the record id or user name, in a form that
/// depends on where the placeholder stands:
///
/// - in code, the value between apostrophes, its own apostrophes doubled;
/// - inside a string literal, the value with its apostrophes doubled and no
///   quotes added, so that like '%{id}%' looks for the id;
/// - inside a double-quoted name (a string under QUOTED_IDENTIFIER OFF), the
///   value with its double quotes doubled;
/// - inside a comment, a bracketed or backticked name, or wherever the
///   server's T-SQL and the embedded engine's SQLite would read the text
///   differently (nested block comments, for one), the placeholder stays as
///   written.
///
/// No value can therefore end the literal, name or comment it stands in, or
/// turn into code. A literal that the batch itself runs as SQL (exec,
/// sp_executesql) is still a literal here: a value put into it becomes part
/// of that SQL, so its author quotes it there (''{id}'').
///
/// The three @-names are replaced only as whole names: not after another
/// at-sign (@@IDENTITY, @@spid stay) and not when a letter, digit or
/// underscore follows (@idx stays). The braced names are replaced wherever
/// they stand. The text is scanned once, so an inserted value is never
/// searched for placeholders itself.
QString ReplacePlaceholders(const QString& sCriteria, const QString& sId, const QString& sAuthID);

/// The same, telling where each value went, for checks of the rule above.
ReplacedCriteria ReplacePlaceholdersTraced(const QString& sCriteria, const QString& sId,
                                           const QString& sAuthID);

}  // namespace twk
