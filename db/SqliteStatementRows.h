// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "Recordset.h"
#include "SqliteHandles.h"
#include "SqliteStatementCache.h"
#include "TwkError.h"

namespace twk {

/// The statements of a batch that come after its first result.
class Remainder {
 public:
  virtual ~Remainder() = default;
  virtual void Run() noexcept = 0;
};

/// The rows after the first of a result, read from the statement as the
/// caller walks them. The statements after it in the batch run once the
/// result is read to its end or put away, as a server runs them once the
/// client has read on; they never see the result's table half read. The
/// statement goes back to the connection's cache once read, if the
/// connection still exists.
class SqliteStatementRows : public RowSource {
 public:
  SqliteStatementRows(sqlite3* pDb, StatementHandle statement,
                      std::weak_ptr<SqliteStatementCache> cache, QString sShape);
  ~SqliteStatementRows() override;
  SqliteStatementRows(const SqliteStatementRows&) = delete;
  SqliteStatementRows& operator=(const SqliteStatementRows&) = delete;

  void SetRemainder(std::shared_ptr<Remainder> remainder) { remainder_ = std::move(remainder); }

  bool Next(std::vector<QVariant>& row) override;

  /// Another batch is about to run: what the caller has not read yet is
  /// read now, so that the rest of this batch runs before it, as on a server.
  void Drain() noexcept;

 private:
  TwkError StepError(int iResult) const;
  void ReadRow(std::vector<QVariant>& row) const;
  void RunRemainder() noexcept;
  void GiveBack() noexcept;

  sqlite3* pDb_;
  StatementHandle statement_;
  std::weak_ptr<SqliteStatementCache> cache_;
  QString sShape_;
  std::shared_ptr<Remainder> remainder_;
  std::deque<std::vector<QVariant>> drained_;
  std::optional<TwkError> drainError_;
};

}  // namespace twk
