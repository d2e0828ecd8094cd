// SPDX-License-Identifier: MIT
#include "SqliteConnection.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <bitset>
#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>

#include "TimeLimit.h"
#include "TsqlEngine.h"
#include "TwkError.h"

namespace twk {

namespace {

// A connection's number is its process id times the slot count plus a slot
// of that process, so that it is unique among the processes sharing the file
// without writing anything, and so never waits on another process's lock.
// Every number is at least 64, above where a server's user sessions start.
constexpr long lSlotsPerProcess = 64;

std::mutex slotMutex;
std::bitset<lSlotsPerProcess> usedSlots;
std::size_t iNextSlot = 0;

// Slots go round, so that a connection opened right after one closed gets
// a number of its own, as a reconnect does on a server.
long TakeSlot() {
  const std::lock_guard<std::mutex> lock(slotMutex);
  for (std::size_t n = 0; n < usedSlots.size(); ++n) {
    const std::size_t i = (iNextSlot + n) % usedSlots.size();
    if (!usedSlots.test(i)) {
      usedSlots.set(i);
      iNextSlot = i + 1;
      return long(i);
    }
  }
  throw TwkError(QStringLiteral("Too many embedded connections are open in this process (at most "
                                "%1).")
                     .arg(lSlotsPerProcess),
                 QStringLiteral("SQLite"), SQLITE_FULL);
}

void ReleaseSlot(long lSlot) noexcept {
  const std::lock_guard<std::mutex> lock(slotMutex);
  usedSlots.reset(std::size_t(lSlot));
}

// Whether the connection with that number may still be open. Another
// process's number stays live while a process of that id runs.
bool IsLive(qint64 lSpid) {
  const qint64 lProcess = lSpid / lSlotsPerProcess;
  if (lSpid < lSlotsPerProcess || lProcess > std::numeric_limits<pid_t>::max()) return false;
  if (lProcess == qint64(getpid())) {
    const std::lock_guard<std::mutex> lock(slotMutex);
    return usedSlots.test(std::size_t(lSpid % lSlotsPerProcess));
  }
  return kill(pid_t(lProcess), 0) == 0 || errno == EPERM;
}

// Progress callbacks come every this many virtual machine steps.
constexpr int iProgressSteps = 1000;

}  // namespace

SqliteConnection::SqliteConnection(SqliteHandle db) : db_(std::move(db)) {
  sqlite3_busy_handler(db_.get(), &SqliteConnection::OnBusy, this);
  sqlite3_progress_handler(db_.get(), iProgressSteps, &SqliteConnection::OnProgress, this);
  embedded::TsqlEngine::PrepareConnection(db_.get());
  tsqlEngine_ = std::make_unique<embedded::TsqlEngine>(db_.get(), [this] { return Spid(); });
}

SqliteConnection::~SqliteConnection() {
  // A result still being read keeps the handle alive after this object is
  // gone; its steps must not call back into it.
  sqlite3_progress_handler(db_.get(), 0, nullptr, nullptr);
  sqlite3_busy_handler(db_.get(), nullptr, nullptr);
  if (lSpid_ != 0) ReleaseSlot(lSpid_ % lSlotsPerProcess);
}

Recordset SqliteConnection::Execute(const QString& sSql) {
  const int iSeconds = TimeLimit::BatchSeconds();
  if (iSeconds > 0) {
    deadline_ = Clock::now() + std::chrono::seconds(iSeconds);
  } else {
    deadline_.reset();
  }
  const bool bWasAutocommit = sqlite3_get_autocommit(db_.get()) != 0;
  try {
    BatchResult result = tsqlEngine_->Run(sSql);
    if (result.bStopped) RollBackLeftover(db_.get(), bWasAutocommit);
    // The deadline stays: rows of the result that are still to be read
    // come under it too.
    return result.first ? std::move(*result.first) : Recordset::Closed(-1);
  } catch (const TwkError& error) {
    const bool bInterrupted = (error.Number() & 0xff) == SQLITE_INTERRUPT && PastDeadline();
    RollBackLeftover(db_.get(), bWasAutocommit);
    if (bInterrupted) {
      throw TwkError(QStringLiteral("The batch ran longer than the time limit of %1 seconds and "
                                    "was stopped.")
                         .arg(iSeconds),
                     QStringLiteral("SQLite"), SQLITE_INTERRUPT);
    }
    throw;
  }
}

long SqliteConnection::Spid() {
  if (lSpid_ == 0) {
    // The clean-up below runs only outside a transaction, and the engine's
    // check of the schema is none the batch asked for.
    tsqlEngine_->EndSchemaCheck();
    lSpid_ = long(getpid()) * lSlotsPerProcess + TakeSlot();
    RemoveRowsOfClosedConnections();
  }
  return lSpid_;
}

void SqliteConnection::RemoveRowsOfClosedConnections() noexcept {
  sqlite3* pDb = db_.get();
  // Only as its own transaction: inside the caller's, a rollback of theirs
  // would bring the rows back, and a savepoint could not be told apart.
  if (!sqlite3_get_autocommit(pDb)) return;
  try {
    if (!MainObjectExists(pDb, "ttwk_AlertOutput")) return;
    QStringList closed;
    {
      StatementHandle owners =
          PrepareFixed(pDb, "select distinct OWNER_SPID from main.ttwk_AlertOutput");
      while (CheckSqlite(pDb, sqlite3_step(owners.get())) == SQLITE_ROW) {
        if (sqlite3_column_type(owners.get(), 0) != SQLITE_INTEGER) continue;
        const qint64 lOwner = sqlite3_column_int64(owners.get(), 0);
        if (!IsLive(lOwner)) closed.append(QString::number(lOwner));
      }
    }
    if (closed.isEmpty()) return;
    // Never waits for the lock: another chance comes with the next number.
    heldUntil_ = std::max(heldUntil_, Clock::now() + std::chrono::hours(1));
    const QByteArray sDelete =
        QStringLiteral("delete from main.ttwk_AlertOutput where OWNER_SPID in (%1)")
            .arg(closed.join(u','))
            .toUtf8();
    RunFixedQuietly(pDb, sDelete.constData());
    heldUntil_ = {};
  } catch (...) {
    heldUntil_ = {};
    // Left-over rows are only clutter; the caller's batch goes on.
  }
}

bool SqliteConnection::PastDeadline() const noexcept {
  return deadline_ && Clock::now() >= *deadline_;
}

bool SqliteConnection::WaitForLock(int iAttempt) {
  const Clock::time_point now = Clock::now();
  if (iAttempt == 0) {
    if (now < heldUntil_) return false;
    waitStart_ = now;
  }
  Clock::time_point limit = waitStart_ + BusyTimeout;
  if (deadline_ && *deadline_ < limit) limit = *deadline_;
  if (now >= limit) {
    heldUntil_ = now + (limit - waitStart_);
    return false;
  }
  const auto pause =
      std::min<Clock::duration>(std::chrono::milliseconds(std::min(iAttempt + 1, 20)), limit - now);
  std::this_thread::sleep_for(pause);
  return true;
}

int SqliteConnection::OnBusy(void* pConnection, int iAttempt) {
  return static_cast<SqliteConnection*>(pConnection)->WaitForLock(iAttempt) ? 1 : 0;
}

int SqliteConnection::OnProgress(void* pConnection) {
  return static_cast<SqliteConnection*>(pConnection)->PastDeadline() ? 1 : 0;
}

}  // namespace twk
