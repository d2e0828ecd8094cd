// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <list>
#include <unordered_map>

#include "SqliteHandles.h"

namespace twk {

/// The prepared statements of one connection, kept between batches by the
/// SQL the engine emitted for them: literals reach a statement as
/// parameters, so a definition run for another record finds the statement
/// it ran for the last one. A statement is taken out while it runs and
/// given back once it is done, so no two runs ever share one.
class SqliteStatementCache {
 public:
  /// Keeps at most iCapacity statements.
  explicit SqliteStatementCache(sqlite3* pDb, std::size_t iCapacity = 512) noexcept
      : pDb_(pDb), iCapacity_(iCapacity) {}
  ~SqliteStatementCache() = default;
  SqliteStatementCache(const SqliteStatementCache&) = delete;
  SqliteStatementCache& operator=(const SqliteStatementCache&) = delete;

  /// Prepares one statement; null with SQLite's result when it is refused
  /// or the text holds more than one statement.
  StatementHandle Prepare(const QString& sSql, int& iResult);

  /// A kept statement of that text, or null.
  StatementHandle Take(const QString& sSql);

  /// Keeps a statement for the next Take of its text, reset so that it
  /// holds no lock on the file.
  void Give(const QString& sSql, StatementHandle statement) noexcept;

  /// Forgets every kept statement.
  void Clear() noexcept {
    kept_.clear();
    order_.clear();
  }

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
  std::list<QString> order_;  // kept texts, the one given back last at the end
};

}  // namespace twk
