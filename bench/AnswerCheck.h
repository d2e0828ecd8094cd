// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "RawSql.h"

namespace twk::bench {

/// One definition in T-SQL beside its hand-written SQLite equivalent.
struct DefinitionPair {
  const char* sTsql;
  const char* sSqlite;
  /// True when both write their alerts into the output table rather than
  /// returning them: the rows written are then the answer.
  bool bWritesTable = false;
};

/// Runs both texts of a pair for one record, the T-SQL on the engine's
/// shared connection and the SQLite on a raw connection, and tells where
/// their answers differ: columns (by name, letter case ignored) and rows,
/// in order when the T-SQL orders them, else as sets.
class AnswerCheck {
 public:
  explicit AnswerCheck(const RawSql& raw) : raw_(raw) {}

  /// Empty when both gave the same answer, else what differed. piRows, when
  /// given, learns how many rows the T-SQL gave.
  QString Compare(const DefinitionPair& pair, const QString& sId, int* piRows = nullptr) const;

 private:
  TextResult EngineAnswer(const DefinitionPair& pair, const QString& sId) const;
  TextResult RawAnswer(const DefinitionPair& pair) const;

  const RawSql& raw_;
};

}  // namespace twk::bench
