// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <deque>
#include <optional>

#include "OdbcHandles.h"
#include "OdbcResultReader.h"
#include "Recordset.h"
#include "TwkError.h"

namespace twk {

/// One batch on its own statement, from its first result of rows to its
/// end. The rows are fetched from the driver as the record set walks them,
/// so memory stays flat however many there are; the rest of the batch is
/// walked through (never cancelled, so every later statement runs) as soon
/// as the rows end, the record set lets go of them, or the connection needs
/// to run something else. The time limit of the batch covers all of it.
class OdbcResultStream : public RowSource {
 public:
  using Clock = std::chrono::steady_clock;

  /// statement belongs to connection, which outlives the walk through the
  /// batch; iSeconds is the batch's time limit, counted from now (0: none).
  OdbcResultStream(SQLHDBC connection, OdbcStatementHandle statement, int iSeconds);
  ~OdbcResultStream() override;
  OdbcResultStream(const OdbcResultStream&) = delete;
  OdbcResultStream& operator=(const OdbcResultStream&) = delete;

  SQLHSTMT Statement() const noexcept { return statement_.get(); }

  /// Takes the statement's current result, of iColumnCount columns, as the
  /// rows to hand out; returns their column names.
  QStringList BeginRows(SQLSMALLINT iColumnCount);

  bool Next(Recordset::Row& row) override;

  /// Frees the connection for another statement: the rows still to come are
  /// read into memory for the record set, then the batch is walked to its end.
  void Detach() noexcept;

  /// Drops the rows still to come and walks the batch to its end. Past the
  /// time limit the rest of the batch is cancelled instead.
  void Finish() noexcept;

 private:
  bool ConnectionLost() const noexcept;
  bool PastDeadline() const noexcept;
  TwkError TimeLimitError() const;
  bool FetchWithinLimit(Recordset::Row& row);

  SQLHDBC connection_;
  OdbcStatementHandle statement_;
  OdbcResultReader reader_;
  int iSeconds_;
  std::optional<Clock::time_point> deadline_;
  bool bInRows_ = false;
  // Filled by Detach: what the record set has yet to see.
  std::deque<Recordset::Row> held_;
  std::optional<TwkError> heldFailure_;
};

}  // namespace twk
