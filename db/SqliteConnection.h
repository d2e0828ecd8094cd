// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "Backend.h"
#include "SqliteHandles.h"

namespace twk {

namespace embedded {
class TsqlEngine;
}

/// An open embedded database: the Backend that SqliteBackend::Open returns.
/// Owns the SQLite handle, the connection's @@spid and the T-SQL engine that
/// runs its batches, and keeps every batch within the time limit.
class SqliteConnection : public Backend {
 public:
  /// Takes over a handle that is open, checked and has its functions.
  explicit SqliteConnection(SqliteHandle db);
  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  Recordset Execute(const QString& sSql) override;
  QString SourceName() const override { return QStringLiteral("SQLite"); }

  /// How long a statement waits for another process's lock at most.
  static constexpr std::chrono::milliseconds BusyTimeout{30000};

 private:
  using Clock = std::chrono::steady_clock;

  long Spid();
  void RemoveRowsOfClosedConnections() noexcept;
  bool WaitForLock(int iAttempt);
  bool PastDeadline() const noexcept;
  static int OnBusy(void* pConnection, int iAttempt);
  static int OnProgress(void* pConnection);

  SqliteHandle db_;
  long lSpid_ = 0;
  std::optional<Clock::time_point> deadline_;
  Clock::time_point waitStart_{};
  // After a wait for another process's lock ran out, later statements do not
  // wait again until this time: one held lock costs one wait, not one per
  // statement.
  Clock::time_point heldUntil_{};
  std::unique_ptr<embedded::TsqlEngine> tsqlEngine_;
};

}  // namespace twk
