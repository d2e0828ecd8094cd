// SPDX-License-Identifier: MIT
#include "SqliteStatementRows.h"

#include <utility>

#include "TimeLimit.h"

namespace twk {

SqliteStatementRows::SqliteStatementRows(sqlite3* pDb, StatementHandle statement,
                                         std::weak_ptr<SqliteStatementCache> cache, QString sShape)
    : pDb_(pDb),
      statement_(std::move(statement)),
      cache_(std::move(cache)),
      sShape_(std::move(sShape)) {}

SqliteStatementRows::~SqliteStatementRows() {
  GiveBack();
  RunRemainder();
}

bool SqliteStatementRows::Next(std::vector<QVariant>& row) {
  if (!drained_.empty()) {
    row = std::move(drained_.front());
    drained_.pop_front();
    return true;
  }
  if (drainError_) {
    const TwkError error = *drainError_;
    drainError_.reset();
    throw error;
  }
  if (!statement_) return false;
  const int iResult = sqlite3_step(statement_.get());
  if (iResult == SQLITE_DONE) {
    GiveBack();  // gives the file's read lock back at once
    RunRemainder();
    return false;
  }
  if (iResult != SQLITE_ROW) {
    const TwkError error = StepError(iResult);
    statement_.reset();
    RunRemainder();
    throw error;
  }
  ReadRow(row);
  return true;
}

void SqliteStatementRows::Drain() noexcept {
  try {
    std::vector<QVariant> row;
    while (statement_) {
      const int iResult = sqlite3_step(statement_.get());
      if (iResult == SQLITE_DONE) break;
      if (iResult != SQLITE_ROW) {
        drainError_ = StepError(iResult);
        break;
      }
      ReadRow(row);
      drained_.push_back(std::move(row));
      row.clear();
    }
  } catch (...) {
    // What could be read stays; the rest of the batch still runs.
  }
  GiveBack();
  RunRemainder();
}

TwkError SqliteStatementRows::StepError(int iResult) const {
  if ((iResult & 0xff) == SQLITE_INTERRUPT) {
    return TwkError(QStringLiteral("The batch ran longer than the time limit of %1 seconds and "
                                   "was stopped.")
                        .arg(TimeLimit::BatchSeconds()),
                    QStringLiteral("SQLite"), SQLITE_ERROR);
  }
  return TwkError(QString::fromUtf8(sqlite3_errmsg(pDb_)), QStringLiteral("SQLite"), iResult);
}

void SqliteStatementRows::ReadRow(std::vector<QVariant>& row) const {
  const int iColumns = sqlite3_column_count(statement_.get());
  row.reserve(std::size_t(iColumns));
  for (int i = 0; i < iColumns; ++i) row.push_back(ColumnValue(statement_.get(), i));
}

void SqliteStatementRows::RunRemainder() noexcept {
  if (const std::shared_ptr<Remainder> remainder = std::move(remainder_)) remainder->Run();
}

void SqliteStatementRows::GiveBack() noexcept {
  if (!statement_) return;
  if (const std::shared_ptr<SqliteStatementCache> cache = cache_.lock()) {
    cache->Give(sShape_, std::move(statement_));
  }
  statement_.reset();
}

}  // namespace twk
