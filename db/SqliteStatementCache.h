// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "SqliteHandles.h"

namespace twk {

/// The prepared statements of one connection, kept between batches by their
/// shape: the statement's text with its string literals turned into
/// parameters, so that a definition run for another record finds the
/// statement it ran for the last one. A statement is taken out while it
/// runs and given back once it is done, so no two runs ever share one.
class SqliteStatementCache {
 public:
  /// Keeps at most iCapacity statements.
  explicit SqliteStatementCache(sqlite3* pDb, std::size_t iCapacity = 512) noexcept
      : pDb_(pDb), iCapacity_(iCapacity) {}
  ~SqliteStatementCache() = default;
  SqliteStatementCache(const SqliteStatementCache&) = delete;
  SqliteStatementCache& operator=(const SqliteStatementCache&) = delete;

  /// The shape of a select, insert, update or delete between iStart and
  /// iEnd, and the values of its literals in order. False when the text is
  /// not to be shaped: it has parameters of its own, or a literal that is
  /// unterminated.
  static bool Shape(const QString& sText, qsizetype iStart, qsizetype iEnd, QString& sShape,
                    QStringList& literals);

  /// Whether a parameter is the one Shape made for a literal; its position
  /// among them then goes to iLiteral.
  static bool IsLiteralParameter(const char* sName, int& iLiteral) noexcept;

  /// Prepares a shape; null with SQLite's result when it is refused, or
  /// when a literal turned into a parameter would show as a column's name
  /// and bCaptions says the names are read (the shape is then remembered
  /// as one that needs its literals).
  StatementHandle Prepare(const QString& sShape, int& iResult, bool bCaptions = true);

  /// A kept statement of that shape, or null.
  StatementHandle Take(const QString& sShape);

  /// Keeps a statement for the next Take of its shape, reset so that it
  /// holds no lock on the file.
  void Give(const QString& sShape, StatementHandle statement) noexcept;

  /// Forgets every kept statement.
  void Clear() noexcept {
    kept_.clear();
    order_.clear();
  }

  /// Whether the shape is known to need its literals as they are written
  /// (a literal used as a name, in a view or as a column's caption).
  bool NeedsLiterals(const QString& sShape) const { return needsLiterals_.count(sShape) > 0; }
  void RememberNeedsLiterals(const QString& sShape);

 private:
  struct Kept {
    StatementHandle statement;
    std::list<QString>::iterator age;
  };

  sqlite3* pDb_;
  std::size_t iCapacity_;
  // When full, the statement given back longest ago goes: a cycle through
  // more definitions than fit then costs one preparation each, not all.
  std::unordered_map<QString, Kept> kept_;
  std::list<QString> order_;  // kept shapes, the one given back last at the end
  std::unordered_set<QString> needsLiterals_;
};

}  // namespace twk
